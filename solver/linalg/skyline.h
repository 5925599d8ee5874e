// Skyline solver and skyline matrix kernels.
//
// Profile storage: the upper triangle of a symmetric matrix column by
// column; column c holds rows top(c)..c contiguously, its diagonal at
// MSKY(c), MSKY(1) = 1 and MSKY(c) - MSKY(c-1) = c - top(c) + 1. A diagonal
// matrix is a plain array of its diagonal entries.
//
// Conventions as in solver/linalg/dense.h: arrays by pointer to entry 1,
// column-major, 32-bit integers, scalar outputs by reference.
#pragma once

#include <cstdint>
#include <vector>

namespace solvika {

// LDL^T factorisation and/or substitution of a skyline matrix A with the
// NRHS columns of B (NEQ rows), equations 1..NEQ1 eliminated and the rest
// only reduced. IFLAG 1 factorise; 2 and forward-reduce; 3 and
// back-substitute; 4 forward-reduce and back-substitute with existing
// factors; 5 forward-reduce only; 6 back-substitute only. INEG: after a
// factorisation the number of negative pivots, on failure the equation.
// IERR -1 bad arguments, -2 bad MSKY, -3 zero pivot, -4 stability test
// |D(i)| < EPS |A(i,i)| failed. Writes its lines when LUNIT >= 0.
void SKYSOL(double* A, double* B, const std::int32_t* MSKY, double EPS, std::int32_t NEQ,
            std::int32_t NEQ1, std::int32_t NRHS, std::int32_t LUNIT, std::int32_t IFLAG,
            std::int32_t& INEG, std::int32_t& IERR);

// Cholesky factorisation A = U^T U in place. IEQ: the failing equation.
// IERR -1 N < 1, -2 not positive definite, -3 reduced diagonal <= EPS times
// the assembled one, -4 bad MSKY.
void FACSKY(double* A, const std::int32_t* MSKY, double EPS, std::int32_t N, std::int32_t LUNIT,
            std::int32_t& IEQ, std::int32_t& IERR);

// B (M x N) := U^-T B with the FACSKY factor U.
void FWDCHL(const double* A, double* B, const std::int32_t* MSKY, std::int32_t M, std::int32_t N);

// Y (N x NCOL) := U^-1 Y with the FACSKY factor U (back substitution).
void SKYBSU(const double* U, double* Y, const std::int32_t* MSKY, std::int32_t N, std::int32_t NCOL);

// Per column j: W = A B(:,j) (full symmetric skyline A, or diagonal A when
// KSA < 1), then IFLAG 1: C(:,j) = W; -1: C(:,j) = -W; 2: C(:,j) += W;
// -2: C(:,j) -= W; other values leave the product in W only.
void PRESKY(const double* A, const double* B, double* C, double* W, const std::int32_t* MSKY,
            std::int32_t M, std::int32_t N, std::int32_t KSA, std::int32_t IFLAG,
            std::int32_t LUNIT, std::int32_t& IERR);

// Per column j: W = U B(:,j) (IFLAG 1, 11) or U^T B(:,j) (IFLAG 2, 22), U the
// upper triangle of A with its diagonal (or the diagonal A when KSA < 1);
// W is copied to C(:,j) except for IFLAG 11 and 22 with N = 1.
void TSKYMB(const double* A, const double* B, double* C, double* W, const std::int32_t* MSKY,
            std::int32_t M, std::int32_t N, std::int32_t KSA, std::int32_t IFLAG,
            std::int32_t LUNIT, std::int32_t& IERR);

// The eigensolver operators on vectors of N entries. KSA 2: A holds a
// SKYSOL factorisation; KSA 3: a FACSKY factor. |KSB| = 2: B diagonal,
// otherwise skyline with the profile MSKY.
// IFLAG 1: X := A^-1 U_B^T X            (KSA 2, KSB <= 0; Z work)
//       2: Y := A^-1 U_B^T X
//       3: Z := A^-1 U_B^T X, X := U_B Z
//       4: Z := A^-1 U_B^T X, Y := U_B Z
//       5: X := U_A^-T B U_A^-1 X        (KSA 3, KSB >= 0; Z work)
//       6: Z := U_A^-1 X, Y := U_A^-T B Z
// Any other IFLAG does nothing.
void SPSMM(const double* A, const double* B, double* X, double* Y, double* Z,
           const std::int32_t* MSKY, std::int32_t N, std::int32_t KSA, std::int32_t KSB,
           std::int32_t IFLAG, std::int32_t LUNIT, std::int32_t& IERR);

namespace detail {

// The nonzero entries of a symmetric skyline matrix, column by column: the
// entries above the diagonal with their rows (0-based), then the diagonal
// (kept even when zero). A matrix with the sparsity of an assembled one
// (the geometric stiffness of a buckling run) has a small part of the
// entries of the profile it shares with the factor.
struct SkylineNonzeros {
    std::vector<std::int32_t> start; // entries of column i (0-based): start[i] .. start[i + 1] - 1
    std::vector<std::int32_t> row;
    std::vector<double> value;
    std::vector<double> diagonal;
};

SkylineNonzeros skylineNonzeros(const double* A, const std::int32_t* MSKY, std::int32_t N);

// SPSMM, with the products by B over `nonzeros` when given (B skyline,
// KSB 1) in place of its profile.
void skylineOperator(const double* A, const double* B, double* X, double* Y, double* Z, const std::int32_t* MSKY,
                     std::int32_t N, std::int32_t KSA, std::int32_t KSB, std::int32_t IFLAG, std::int32_t LUNIT,
                     std::int32_t& IERR, const SkylineNonzeros* nonzeros);

} // namespace detail

} // namespace solvika

// Dense symmetric eigenproblems: the generalised problem A x = lambda B x
// (B positive definite) by Cholesky reduction, Householder tridiagonal form
// and implicit QL, the tridiagonal QL routines themselves, the sort helpers
// and the pseudo-random vector generator of the iterative eigensolvers.
//
// Conventions as in solver/linalg/dense.h: arrays by pointer to entry 1,
// column-major with the row count as leading dimension, 32-bit integers,
// scalar inputs by value, scalar outputs (and in/out scalars) by reference.
#pragma once

#include <cstdint>

namespace solvika {

// All N eigenvalues of A x = lambda B x (A symmetric, B symmetric positive
// definite, both N x N; A destroyed, B left holding its Cholesky factor in
// the upper triangle), sorted by the IXEXTR code ISORT (1-4; other codes
// leave them unsorted), and, when NEVEC = N, the eigenvectors with
// x^T B x = 1 in the columns of EVEC. W: work of 2N reals. TOL: singularity
// limit of FACHOL (see there). IERR -1 N < 1; -2 B not positive definite;
// -3 B singular or near-singular; -4 the QL iteration did not converge.
void GENHQL(double* A, double* B, double* EVL, double* EVEC, double* W, double& TOL, std::int32_t N,
            std::int32_t NEVEC, std::int32_t ISORT, std::int32_t LUNIT, std::int32_t& IERR);

// Cholesky factorisation A = U^T U of the upper triangle, row by row.
// TOL < 0 is replaced by 1.0e-10 (written back); TOL = 0 accepts any
// positive pivot; otherwise a reduced diagonal below TOL times the stored
// one is singular. IERR -1 N < 1; -2 not positive definite; -3 singular.
void FACHOL(double* A, double& TOL, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR);

// Householder reduction of the symmetric C (both triangles) to tridiagonal
// form: diagonal D, couplings E (E(1) = 0, E(i) couples rows i-1 and i).
// The reflectors are left below the diagonal of C, its diagonal restored.
// W: work of N reals.
void HHTRID(double* C, double* D, double* E, double* W, std::int32_t N);

// Eigenvalues (QLS3DG) and, with QLS3DV, orthonormal eigenvectors in the
// columns of Z (N x N) of the tridiagonal matrix (D, E) as HHTRID leaves it;
// eigenvalues in D, unsorted; E destroyed. IERR -l: eigenvalue l did not
// converge in 30 iterations (D(1..l-1) are eigenvalues).
void QLS3DG(double* D, double* E, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR);
void QLS3DV(double* D, double* E, double* Z, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR);

// Triangular solves with the upper triangular U (N x N):
// TRIFWD code >= 0: X := U^-T X for the M columns of X (N rows);
//        code < 0 (M = N): X := X U^-1, then made symmetric.
// TRIBCK code >= 0: X := U^-1 X for the M columns of X.
void TRIFWD(const double* U, double* X, std::int32_t N, std::int32_t M, std::int32_t code);
void TRIBCK(const double* U, double* X, std::int32_t N, std::int32_t M, std::int32_t code);

// Index in I..N of the extreme value of V by code: 1 smallest, 2 smallest
// absolute, 3 largest, 4 largest absolute value; the first index wins
// ties. 0 when N < I or for any other code; I when N = I.
std::int32_t IXEXTR(const double* V, std::int32_t I, std::int32_t N, std::int32_t code);

// Selection sort of the N values by the IXEXTR code (nothing when N < 2 or
// the code is outside 1-4).
void EIGSR1(double* V, std::int32_t N, std::int32_t code);

// Selection sort of the M values with their vector columns (ROWS entries
// each, leading dimension ROWS); only the first NPLACE places are filled.
// Nothing when M < 2, ROWS < M or the code is outside 1-4.
void EIGSRT(double* V, double* X, std::int32_t ROWS, std::int32_t M, std::int32_t NPLACE,
            std::int32_t code);

// Fills X(1..N) with pseudo-random values in (-0.5, 0.5] and advances SEED.
// A seed of 0, or one that gives no usable value (too small, not finite),
// restarts the sequence from 0.3141592653589793.
void RANVEC(double* X, double& SEED, std::int32_t N);

// The seed the iterative eigensolvers start their random vectors from.
inline constexpr double kEigenSeed = 0.1234567891234567;

} // namespace solvika

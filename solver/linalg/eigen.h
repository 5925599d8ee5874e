// Eigensolvers of the generalised symmetric problem A x = lambda B x for the
// eigenvalues nearest a shift (the smallest |lambda - SHIFT|): subspace
// iteration (SPRSIT on sparse supernodal storage, MSSIT on skyline storage)
// and truncated shift-and-invert Lanczos (SPRLAN sparse, LANCZ2 skyline).
// B is stored like A or as its N diagonal entries. The eigenvalues returned
// are lambda itself.
//
// Conventions as in solver/linalg/dense.h: arrays by pointer to entry 1,
// column-major, 32-bit integers; scalar inputs by value, scalar outputs and
// in/out scalars by reference. IERR: 0 success, 1 warning, < 0 error; the
// routines write their parameter, iteration and summary prints and their
// error lines to LUNIT by IPRINT (< 0: nothing at all).
//
// TOL (2 reals, in/out): relative eigenvalue change for acceptance, and the
// diagonal decay limit of every factorisation; entries <= 0 come back as
// 1.0e-10.
//
// Work arrays come with their lengths (LRWA reals, LIWA integers); a
// shortage is an input error (IERR = -1), checked before any of them is used.
//   MSSIT   RWA: N NIV + 3 NIV^2 + NIV + max(2 NIV, N), and 126 when N <= 6
//   SPRSIT  RWA: as MSSIT + MSPAR(13) + MSPAR(14) + MSPAR(17);
//           IWA: N + MSPAR(14)
//   LANCZ2  RWA: MAXLAN (MAXLAN + 7); IWA: 2 MAXLAN
//   SPRLAN  RWA: max(MAXLAN (MAXLAN + 7), MSPAR(14) + MSPAR(17));
//           IWA: max(N, MSPAR(13) + 2 MAXLAN)
#pragma once

#include <cstdint>
#include <vector>

namespace solvika {

// Subspace iteration. MOP (6): KSA (1 shift and factorise A, -1 A holds
// its factor), KSB (1 B like A, 2 diagonal), start-vector code (1 random,
// 2 standard, other: EVEC holds them), MAXIT (<= 0: 20), positive-definite
// indicator (2: B, other: A - SHIFT B), exclusion of converged vectors (1).
// MINF (4): accepted, eigenvalues below SHIFT, zero diagonal entries of B,
// iterations. EVL, RERR: NIV reals; EVEC: N x NIV. NIV may be lowered to N
// when N <= 6.
void MSSIT(double* A, double* B, double* TOL, const std::int32_t* MSKY, const std::int32_t* MOP,
           std::int32_t* MINF, double* EVL, double* RERR, double* EVEC, double* RWA,
           std::int64_t LRWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL, std::int32_t& NIV,
           std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR);

void SPRSIT(double* A, double* B, double* TOL, std::int32_t* MSPAR, const std::int32_t* MTREES,
            const std::int32_t* MSIFA, const std::int32_t* MOP, std::int32_t* MINF, double* EVL,
            double* RERR, double* EVEC, double* RWA, std::int64_t LRWA, std::int32_t* IWA,
            std::int64_t LIWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL, std::int32_t& NIV,
            std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR);

// Truncated Lanczos. MOP (6): KSA (1 factorise A, 2 A holds its LDL^T
// factor, 3 its Cholesky factor), KSB (+-1 like A, +-2 diagonal; negative:
// B holds its factor), start code, reorthogonalisation code (2, 1, 0, -1
// partial, -2 in pairs of steps), KEX (1-5 steps between tridiagonal
// solutions), KPD (1: A - SHIFT B positive definite, 2: B). MINF (10): good,
// acceptable, steps, below SHIFT, vectors returned, zero diagonal entries
// of B, tridiagonal solutions, reorthogonalised vectors, dot products,
// restarts. EVL, RERR: MAXLAN reals; EVEC: N x MAXLAN; V: 2N reals.
void LANCZ2(double* A, double* B, double* TOL, const std::int32_t* MSKY, const std::int32_t* MOP,
            std::int32_t* MINF, double* EVL, double* RERR, double* EVEC, double* V, double* RWA,
            std::int64_t LRWA, std::int32_t* IWA, std::int64_t LIWA, double& SHIFT, std::int32_t N,
            std::int32_t NEVAL, std::int32_t NEVEC, std::int32_t MAXLAN, std::int32_t LUNIT,
            std::int32_t IPRINT, std::int32_t& IERR);

void SPRLAN(double* A, double* B, double* TOL, std::int32_t* MSPAR, const std::int32_t* MTREES,
            const std::int32_t* MSIFA, const std::int32_t* MOP, std::int32_t* MINF, double* EVL,
            double* RERR, double* EVEC, double* V, double* RWA, std::int64_t LRWA, std::int32_t* IWA,
            std::int64_t LIWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL, std::int32_t NEVEC,
            std::int32_t MAXLAN, std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR);

// Eigenvalues, relative errors and vectors of a Lanczos run that may go on
// past its first MAXLAN: MAXLAN, MAXLAN and N x MAXLAN reals.
struct LanczosPairs {
    std::vector<double> EVL, RERR, EVEC;
};

// The Lanczos run of the buckling analysis: LANCZ2 (skyline) or SPRLAN
// (sparse) with the same arguments and work arrays for the first MAXLAN,
// EVL, RERR and EVEC held in `pairs`. A pass that ends with fewer than NEVAL
// pairs whose eigenvalues are "good" and whose Ritz vectors have small
// residuals writes warning 1, and the recurrence goes on from where it
// stands with MAXLAN half as large again (at most N), until NEVAL pairs
// pass, MAXLAN is N or the missing pairs are infinite eigenvalues. Before
// it stops, a few steps that leave no trace look for a second vector of a
// multiple eigenvalue that the recurrence has not produced yet; the run
// goes on when they find one. The last pass ends as LANCZ2 and SPRLAN end;
// a run of more than one pass then logs its steps in all. MAXLAN comes
// back as the length the run ended with.
void lanczosRun(double* A, double* B, double* TOL, const std::int32_t* MSKY, const std::int32_t* MOP,
                std::int32_t* MINF, LanczosPairs& pairs, double* V, double* RWA, std::int64_t LRWA,
                std::int32_t* IWA, std::int64_t LIWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL,
                std::int32_t NEVEC, std::int32_t& MAXLAN, std::int32_t LUNIT, std::int32_t IPRINT,
                std::int32_t& IERR);

void lanczosRun(double* A, double* B, double* TOL, std::int32_t* MSPAR, const std::int32_t* MTREES,
                const std::int32_t* MSIFA, const std::int32_t* MOP, std::int32_t* MINF, LanczosPairs& pairs,
                double* V, double* RWA, std::int64_t LRWA, std::int32_t* IWA, std::int64_t LIWA, double& SHIFT,
                std::int32_t N, std::int32_t NEVAL, std::int32_t NEVEC, std::int32_t& MAXLAN, std::int32_t LUNIT,
                std::int32_t IPRINT, std::int32_t& IERR);

// Dense N x N copy of a skyline matrix (both triangles), or of a diagonal
// one (KSB = 2).
void SKYDNS(const double* A, const std::int32_t* MSKY, double* D, std::int32_t N, std::int32_t KSB);

} // namespace solvika

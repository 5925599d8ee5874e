// Sparse supernodal solver: symbolic phase, element addition, multifrontal
// LDL^T and Cholesky factorisation, substitutions and matrix products.
//
// Conventions as in the rest of the library: arrays by pointer to entry 1,
// column-major, 32-bit integers, 64-bit reals; scalar inputs by value,
// scalar outputs by reference; LUNIT and IERR last. Every routine checks
// MSPAR(1) on entry and refuses (IERR -1, library error 30) after a failure
// of an earlier sparse routine.
//
// Call order of one analysis (array lengths in brackets):
//   SPSPRP  [IWORK 3*NDOF]                 equation numbers, sizes
//   SPRSAS  [IWORK MSPAR(35), 2*NDOF]      MSICA (copy MSPAR(2) entries)
//   SPRRNM  [IWORK MSPAR(37)]              optional minimum-degree order
//   SPRTRS  [IWORK MSPAR(36), MSPAR(38)]   MTREES (copy MSPAR(4) entries),
//                                          MDOFEQ rewritten in factor order
//   SPRSMB  [IWORK MSPAR(3), 2*NEQ+3*NNOD+1] MSIFA (copy MSPAR(3) entries)
//   SPRFIN  [MEQMAP 2*NEQ]                 sub-array starts, work sizes
//   SPRADM per element, SPRDG1 for springs (SM of NEQ + MSPAR(16) reals)
//   SPRFC1 / SPRFC2 [IWORK max(MSPAR(13), MSPAR(14)+1),
//                    RWORK max(MSPAR(14), MSPAR(17))]
//   SPRFS1 + SPRBS1 (or SPRFS2 / SPRBS2) with the same work arrays.
#pragma once

#include <cstdint>

namespace solvika {

// Equation numbering and sizes. MPAR(1), (2), (3), (7) in; the counts
// MPAR(4)-(6), (8)-(11), (15), (16) out. MDOFEQ(NDOF) out: status-1 DOFs
// numbered first, then status-2 DOFs, 0 for specified DOFs, -i for the slave
// of constraint i. Zeroes MSPAR and fills MSPAR(5)-(8), (35), (36).
// IERR: minus the number of errors found (each reported).
void SPSPRP(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, const std::int32_t* MSC, const std::int32_t* MPMCEQ,
            const std::int32_t* MCQDOF, std::int32_t* MPAR, std::int32_t* MSPAR,
            std::int32_t* MDOFEQ, std::int32_t* IWORK, std::int32_t LUNIT, std::int32_t& IERR);

// Graph nodes and element incidence lists: builds MSICA in IWORK
// (MSPAR(35) entries); IWORK2 has 2*NDOF entries.
void SPRSAS(const std::int32_t* MPAR, const std::int32_t* MNDPTR, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, const std::int32_t* MSC, const std::int32_t* MPMCEQ,
            const std::int32_t* MCQDOF, const std::int32_t* MDOFEQ, std::int32_t* MSPAR,
            std::int32_t* IWORK, std::int32_t* IWORK2, std::int32_t LUNIT, std::int32_t& IERR);

// Multiple minimum degree order of the graph nodes, written as the node
// order of MSICA. IWORK of MSPAR(37) integers.
void SPRRNM(std::int32_t* MSPAR, std::int32_t* MSICA, std::int32_t* IWORK, std::int32_t LUNIT,
            std::int32_t& IERR);

// Elimination tree, post-order, supernodes, child order and sizes. Builds
// MTREES in IWORK (MSPAR(36) entries); IWORK2 of MSPAR(38) entries. STATS
// out: the original and generated assembly operation counts, the
// factorisation and the substitution operation counts. Rewrites MDOFEQ
// (NDOF entries) in factor order.
void SPRTRS(std::int32_t* MSPAR, std::int32_t* MSICA, std::int32_t* IWORK, std::int32_t* MDOFEQ,
            std::int32_t NDOF, std::int32_t* IWORK2, float* STATS, std::int32_t LUNIT,
            std::int32_t& IERR);

// Row structure of the factor: builds MSIFA in IWORK (MSPAR(3) entries);
// IWORK2 of 2*NEQ + 3*NNOD + 1 entries.
void SPRSMB(std::int32_t* MSPAR, const std::int32_t* MSICA, const std::int32_t* MTREES,
            std::int32_t* IWORK, const std::int32_t* MDOFEQ, std::int32_t* IWORK2,
            std::int32_t LUNIT, std::int32_t& IERR);

// Sub-array starts MSPAR(41)-(48), the work length MSPAR(39) and the
// equation maps: MEQMAP(e) = graph node of equation e, MEQMAP(NEQ+e) =
// supernode of equation e.
void SPRFIN(const std::int32_t* MSICA, const std::int32_t* MTREES, const std::int32_t* MDOFEQ,
            const std::int32_t* MPAR, std::int32_t* MSPAR, std::int32_t* MEQMAP);

// Adds the element matrix EK (NEDOF x NEDOF, upper triangle read) of
// element IEL into SM through the constraints: the congruence T^T EK T.
// NSV as for the skyline assembly: 0 the matrix only, 1 the matrix and the
// loads -EK*u0 of all constant terms into SYSR, -1 those loads only,
// +-MPAR(9) one right-hand-side column (NEQ rows) per prescribed DOF.
// IWORK of MSPAR(39) integers.
void SPRADM(const double* EK, const double* CQCOEF, const std::int32_t* MPAR,
            const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, const std::int32_t* MPMCEQ, const std::int32_t* MCQDOF,
            const std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
            const std::int32_t* MEQMAP, std::int32_t IEL, std::int32_t NEDOF, std::int32_t NSV,
            double* SM, double* SYSR, std::int32_t* IWORK, std::int32_t LUNIT, std::int32_t& IERR);

// Position in SM of the diagonal entry of every equation (MDIAG, NEQ).
void SPRDG1(std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
            std::int32_t* MDIAG, std::int32_t LUNIT, std::int32_t& IERR);

// Multifrontal LDL^T (SPRFC1) and Cholesky (SPRFC2) factorisation of SM in
// place. TOL(1) in: relative pivot threshold; TOL(2), TOL(3) out: diagonal
// decay and condition estimate. MSPAR(26): negative pivots; MSPAR(27): the
// failing equation.
void SPRFC1(std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA, double* SM,
            double* TOL, std::int32_t* IWORK, double* RWORK, std::int32_t LUNIT,
            std::int32_t& IERR);
void SPRFC2(std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA, double* SM,
            double* TOL, std::int32_t* IWORK, double* RWORK, std::int32_t LUNIT,
            std::int32_t& IERR);

// Substitutions on the NRHS columns of B (leading dimension LDB):
// SPRFS1 B := D^-1 L^-1 B, SPRBS1 B := L^-T B (SPRFC1 factor);
// SPRFS2 B := L^-1 B, SPRBS2 B := L^-T B (SPRFC2 factor).
void SPRFS1(std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
            const double* SM, double* B, std::int32_t LDB, std::int32_t NRHS, std::int32_t* IWORK,
            double* RWORK, std::int32_t LUNIT, std::int32_t& IERR);
void SPRBS1(std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
            const double* SM, double* B, std::int32_t LDB, std::int32_t NRHS, std::int32_t* IWORK,
            double* RWORK, std::int32_t LUNIT, std::int32_t& IERR);
void SPRFS2(std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
            const double* SM, double* B, std::int32_t LDB, std::int32_t NRHS, std::int32_t* IWORK,
            double* RWORK, std::int32_t LUNIT, std::int32_t& IERR);
void SPRBS2(std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
            const double* SM, double* B, std::int32_t LDB, std::int32_t NRHS, std::int32_t* IWORK,
            double* RWORK, std::int32_t LUNIT, std::int32_t& IERR);

// Symmetric product with A in SPX storage (its packed trapezoids, KSTOR > 0)
// or diagonal storage (NEQ values, KSTOR <= 0), per vector (columns LDB
// apart), computed in W (NEQ): IOPT 1 Y := A X, -1 Y := -A X, 2 Y := W + A X,
// -2 Y := W - A X, 88 (one vector) W := A X left in W.
void SPRPRM(const double* A, const double* X, double* Y, double* W, std::int32_t* MSPAR,
            const std::int32_t* MTREES, const std::int32_t* MSIFA, std::int32_t LDB,
            std::int32_t NVEC, std::int32_t KSTOR, std::int32_t IOPT, std::int32_t LUNIT,
            std::int32_t& IERR);

// Triangular product, diagonal included, computed in W (NEQ): IOPT 1, 11
// W := upper(A) X; 2, 22 W := lower(A) X; copied to Y except for 11 and 22
// with one vector.
void SPRTMM(const double* A, const double* X, double* Y, double* W, std::int32_t* MSPAR,
            const std::int32_t* MTREES, const std::int32_t* MSIFA, std::int32_t LDB,
            std::int32_t NVEC, std::int32_t KSTOR, std::int32_t IOPT, std::int32_t LUNIT,
            std::int32_t& IERR);

// Operators of the eigensolvers on one vector. KSA 2: SM holds an SPRFC1
// factor A = L D L^T; KSA 3: an SPRFC2 factor A = L L^T. |KSB| = 2: B
// diagonal (NEQ values), otherwise B laid out like SM (packed part after
// its first LDB values). W: work of NEQ reals.
// IFLAG 1: X := A^-1 lower(B) X          (KSA 2, KSB <= 0)
//       2: Y := A^-1 lower(B) X
//       3: X := upper(B) A^-1 lower(B) X
//       4: Y := upper(B) A^-1 lower(B) X
//       5: X := L^-1 B L^-T X             (KSA 3, KSB >= 0)
//       6: Y := L^-1 B L^-T X
// Any other IFLAG does nothing.
void SPRSMM(const double* SM, const double* B, double* X, double* Y, double* W,
            std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
            std::int32_t* IWORK, std::int32_t LDB, std::int32_t KSA, std::int32_t KSB,
            std::int32_t IFLAG, std::int32_t LUNIT, std::int32_t& IERR);

// Expands a matrix into a full N x N array AF: IOPT 1 the packed trapezoids
// (both triangles written), IOPT 2 a diagonal of NEQ values.
void SPRCNV(const double* A, double* AF, std::int32_t* MSPAR, const std::int32_t* MTREES,
            const std::int32_t* MSIFA, std::int32_t N, std::int32_t IOPT, std::int32_t LUNIT,
            std::int32_t& IERR);

} // namespace solvika

// Small routines shared by the analysis steps: gathering one element's
// coordinates, thicknesses and elasticity matrix; turning element matrices,
// element vectors and nodal values between global axes and node axes;
// storing the nodal solution in the caller's nodal data; the helpers of the
// membrane loads (edge-load rows, nodal pairs, body load, initial strains);
// a list search and the CPU clock.
//
// Conventions as in the rest of the library: arrays by pointer to entry 1,
// 1-based in meaning and column-major; integers 32-bit, reals 64-bit.
// Scalar inputs by value, scalar outputs by reference. Node and element
// tables are those of the topology check (solver/analysis/tables.h):
//   MNDPTR  nodes + 1: DOFs of node n are MNDPTR(n)..MNDPTR(n+1)-1
//   MPELND  elements + 1 / MELNOD: nodes of element e are
//           MELNOD(MPELND(e))..MELNOD(MPELND(e+1)-1)
// The nodal data has 4 rows per node (x, y, node-axis angle, value); an
// element-data column begins with the material-axis angle, then the corner
// thicknesses (rows 2..5), then the element's loads.
//
// Angles whose absolute value is at most 1.0e-8 count as zero. An angle
// whose sine or cosine cannot be formed (not finite) counts as c = 1, s = 0.
#pragma once

#include <cstdint>

namespace solvika {

// ---- Element gather -------------------------------------------------------

// X(k), Y(k) the coordinates of element e's nodes 1..n, T(k) row k + 1 of
// its element-data column (ELROWS rows per column). With NCODE = 8 also
// X(5..8), Y(5..8) of its nodes n + 1 .. n + 4 (no thickness).
void ELMXYT(std::int32_t e, std::int32_t n, std::int32_t NCODE, std::int32_t ELROWS,
            const double* elementData, const double* nodal, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, double* X, double* Y, double* T);

// ELMXYT, then D (3 x 3) of material m = topology row 1 of element e
// (TOPROWS rows per column; NMAT materials of 7 reals each):
//  - plane strain (PSTRAIN = 1): isotropic from E = E1 and nu; needs
//    E1 > 0, E2 equal to E1 (relative difference at most 1e-6) and
//    -1 < nu < 0.5;
//  - otherwise plane stress, orthotropic in the material axes (E1, E2, nu,
//    G) turned by the element's material-axis angle; needs E1, E2, G > 0
//    and E1 - E2 nu^2 > 0.
// IERR -9 for a material that breaks these rules or a material number
// outside 1..NMAT, after the line "Invalid material" with the element and
// the four values is written to LUNIT; D is then zero.
void ELMDAT(std::int32_t e, std::int32_t PSTRAIN, std::int32_t n, std::int32_t NCODE,
            std::int32_t TOPROWS, std::int32_t ELROWS, std::int32_t NMAT, const std::int32_t* topology,
            const double* elementData, const double* material, const double* nodal,
            const std::int32_t* MPELND, const std::int32_t* MELNOD, double* D, double* X, double* Y,
            double* T, std::int32_t LUNIT, std::int32_t& IERR);

// ---- Node axes ------------------------------------------------------------

// Element e's matrix EK (N x N) from global axes to node axes: EK := T^T EK T
// for every node with an angle. Codes 75 and 85 turn their corner nodes
// only. Membrane codes (below 61) turn (u, v) and, on 6-DOF nodes, the four
// gradients; bending codes turn the two rotations and, on 6-DOF nodes, the
// three curvature DOFs. Bending nodes with fewer than 3 DOFs carry scalars
// and are left alone. Zeroes the status block; a failure of the kernel
// gives -13 with S(2) = e and its message.
void TRNSK(std::int32_t e, std::int32_t code, const double* nodal, double* EK, std::int32_t N,
           const std::int32_t* MNDPTR, const std::int32_t* MPELND, const std::int32_t* MELNOD,
           std::int32_t LUNIT, std::int32_t* status);

// As TRNSK for element e's vector EV (N), with the kernel's direction code
// IDIR (1: V := T V, from node axes to global; 2: V := T^T V, from global
// to node axes). A failure gives -18 with S(2) = e.
void TRNSS(std::int32_t e, std::int32_t code, const double* nodal, double* EV, std::int32_t N,
           std::int32_t IDIR, const std::int32_t* MNDPTR, const std::int32_t* MPELND,
           const std::int32_t* MELNOD, std::int32_t LUNIT, std::int32_t* status);

// One node's NDOF values V turned by ANGLE: direction 1 from node axes to
// global axes, 2 back. Membrane codes (below 60): (u, v) and on 6-DOF nodes
// the four gradients. Bending codes: DOFs 2 and 3 and on 6-DOF nodes DOFs
// 4..6; nodes with fewer than 3 DOFs are left alone. IERR: the kernel's
// flag (negative on failure); nothing is written of its own.
void TRNSV(double* V, std::int32_t NDOF, double ANGLE, std::int32_t code, std::int32_t IDIR,
           std::int32_t LUNIT, std::int32_t& IERR);

// Writes the nodal solution (SV, one value per DOF) into rows 1..3 of the
// nodal data by the element code KEY(10):
//  - membrane (below 60): rows 1 and 2 the node's first two DOFs;
//  - 61: the six nodes of each element in order, corner nodes (1, 2, 3)
//    (value, 0, 0), side nodes (0, value, 0);
//  - 62 and above by the node's DOF count: 6 or 3 DOFs 1..3; 2 (DOF 1,
//    DOF 2, 0); 1 on code 85 (0, DOF 1, 0); other counts untouched; code 66
//    then turns rows 2 and 3 into (-row 3, row 2).
// Row 4, and row 3 of a membrane node, are never written.
void STORSL(double* nodal, const double* SV, const std::int32_t* key, const std::int32_t* MNDPTR,
            const std::int32_t* MPELND, const std::int32_t* MELNOD);

// ---- Membrane load helpers ------------------------------------------------

// Decodes an edge-load row of NROW entries (element, start node, load pairs)
// for an element with NCORN corners (3 or 4) among NEL elements: ISTART the
// start node's position k among the element's nodes, INEXT the next corner
// (k + 1, or 1 after the last), ISIGN -k when row entry 2 is 0 or positive
// (pairs in side axes) and +k when negative (global axes); P (2 x 3) the
// pairs of entries 3-4, 5-6 and, with more than 6 entries, 7-8 (0 beyond
// the row). IEL the element. IERR -1 when the element is outside 1..NEL
// or the node is not one of its first NCORN nodes.
void ELDROW(const double* row, std::int32_t NROW, std::int32_t NCORN, std::int32_t NEL,
            const std::int32_t* MPELND, const std::int32_t* MELNOD, std::int32_t& ISTART,
            std::int32_t& INEXT, std::int32_t& ISIGN, double* P, std::int32_t& IEL, std::int32_t& IERR);

// Adds element e's nodal pairs V into the work array W (2 x nodes): node k
// of the element takes V(1 + s(k - 1)), V(2 + s(k - 1)), s = 6 for code 33
// (six values per node) and 2 otherwise.
void ADDNPR(std::int32_t e, std::int32_t code, const double* V, double* W, const std::int32_t* MPELND,
            const std::int32_t* MELNOD);

// Body force per unit volume F (2) from the record R (8: base values,
// gradients, reference point, gravity factors) at the mean point of the n
// nodes (X, Y): F(i) = R(i) + R(i+2) (mean - R(i+4)) + R(i+6) RHO 9.81.
// No nodes: F = 0.
void BODYLD(const double* R, double RHO, const double* X, const double* Y, std::int32_t n, double* F);

// -1 when the body-load record R (8) holds a load (entries 1-4, 7 or 8 above
// 1.0e-8 in absolute value; the reference point alone is none), 0 otherwise.
std::int32_t LODCHK(const double* R);

// Initial strains S (3 x n) at the n nodes from an element-data column R:
// the linear field eps_x = R(6) + R(8) dx + R(9) dy, eps_y = R(7) + R(10) dx
// + R(11) dy about the nodes' mean point, in the material axes at angle R(1)
// and turned to global axes. IFLAG 1 with S filled when any of R(6..11) is
// above 1.0e-8 in absolute value, 0 (S untouched) otherwise.
void ELMEPS(const double* R, const double* X, const double* Y, std::int32_t n, double* S,
            std::int32_t& IFLAG);

// Equivalent nodal values F (8) of the initial-strain field of element-data
// column R on a Q6 element (corners X, Y, thicknesses H, elasticity D 3 x 3):
// the corner displacements of the dominant field component (Q6_Int), turned
// from the material axes to global axes when R(1) is an angle, taken as
// U0 - u in MODE 2 (U0 the given 8 values), then F = K u with the Q6
// stiffness. NEDOF is the element's DOF count (8). IERR: 0, or the negative
// flag of Q6_Int, TRNSV or Q6_Sm.
void Q6EPS(const double* R, const double* D, const double* X, const double* Y, const double* H,
           std::int32_t NEDOF, std::int32_t MODE, const double* U0, std::int32_t LUNIT, double* F,
           std::int32_t& IERR);

// ---- Utilities ------------------------------------------------------------

// 1-based position of the first entry of LIST (N entries) equal to IVAL;
// 0 when absent or N <= 0.
std::int32_t IFIND(std::int32_t IVAL, const std::int32_t* LIST, std::int32_t N);

// The process CPU time in seconds minus REF (pass 0 for an absolute time).
float CPUSEC(float REF);

// Test hook: replaces the clock that CPUSEC reads (seconds); null restores
// the process clock. Returns the clock it replaced (null for the process
// clock).
using CpuClock = float (*)();
CpuClock setCpuClock(CpuClock clock);

} // namespace solvika

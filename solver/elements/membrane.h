// Membrane (plane stress / plane strain) element routines of the solver.
//
// Element codes: 31 CST, 32 LST, 33 QST (triangles), 41 Q4, 42 Q6, 44 Q8,
// 46 Q9 (quadrilaterals). Arrays are column-major and 1-based in the text
// below (entry (i, j) of an m-row array is element i + (j - 1) m); integers
// are 32-bit. The routines keep no state, never allocate and never throw.
//
// Degrees of freedom: node by node, u then v, so node k carries 2k-1 and 2k.
// The QST carries six per corner: u, v, du/dx, dv/dx, du/dy, dv/dy.
// Triangles take the three corner coordinates (LST side nodes sit at the side
// mid-points); quadrilaterals take corners 1-4 counter-clockwise, then (Q8,
// Q9) side nodes 5-8, node 5 on side 1-2 ... node 8 on side 4-1.
//
// Elasticity matrix C relates (sigma_x, sigma_y, tau_xy) to (eps_x, eps_y,
// gamma_xy). The triangles take it as a full 3 x 3 array and read its upper
// triangle; the quadrilaterals take it packed: C11, C22, C33, C12, C13, C23.
//
// Node flags F(1..9) of the quadrilaterals: 0 absent, non-zero present; F(9)
// = -1 is a centre node condensed out (Q9). Q4/Q6 (1,1,1,1,0,0,0,0,0), Q8
// (1,1,1,1,1,1,1,1,0), Q9 (1,1,1,1,1,1,1,1,-1). Present nodes take their DOF
// in node order. Condensation data of the Q9: 18 pairs (a 2 x 18 array);
// pairs 1-16 the coupling of each external DOF to the two centre DOF, pairs
// 17-18 the inverse of the centre block.
//
// Side codes of the load routines: 0 area load; +s an edge load on side s
// with the pairs in side axes (along the side from its start corner, then
// turned +90 degrees); -s the same with the pairs in global axes. Side s runs
// from corner s to the next corner.
#pragma once

#include <cstdint>

namespace solvika {

// ---- Kernels -------------------------------------------------------------

// Gauss-Legendre product rule on the square for n = 1, 4 or 9 points; any
// other n leaves xi, eta and w untouched.
void GAUSSQ(std::int32_t n, double* xi, double* eta, double* w);

// Shape functions of the variable-node quadrilateral at (xi, eta). S is
// 3 x 9: per node (dN/dxi, dN/deta, N). mode < 0: shape functions only;
// mode 0: also det of the Jacobian; mode >= 1: rows 1-2 become dN/dx, dN/dy
// (divided by 1.0 in place of det when det <= 0; the caller tests det).
void SHAPQ(double xi, double eta, const double* X, const double* Y, const std::int32_t* F,
           std::int32_t mode, double& det, double* S);

// The four bilinear corner functions and the two internal modes 1 - xi^2,
// 1 - eta^2 (S is 3 x 6); mode as for SHAPQ, det from the corners.
void SHAPQ6(double xi, double eta, const double* X, const double* Y, std::int32_t mode,
            double& det, double* S);

// ---- Triangles -----------------------------------------------------------

// CST stiffness (6 x 6) of thickness t. ierr -1: longest side L with
// L^2 >= 100 A (no matrix); +1: 8 A < L^2 < 100 A (shape warning, matrix
// formed). Clockwise corners are accepted.
void PCST31(double* EK, const double* C, const double* X, const double* Y, double t,
            std::int32_t iel, std::int32_t lunit, std::int32_t ipsw, std::int32_t& ierr);

// LST stiffness (12 x 12) with linear thickness H(3). ierr -1 clockwise,
// -2 zero area.
void LST31(double* EK, const double* C, const double* X, const double* Y, const double* H,
           std::int32_t iel, std::int32_t lunit, std::int32_t ipsw, std::int32_t& ierr);

// QST stiffness (18 x 18), condensed from the complete cubic field of 20 DOF.
// Basis: per corner the value and both first derivatives of u and of v, plus
// one internal DOF for u and one for v: the centroid value of the field. The
// corner functions vanish at the centroid; the internal function is the
// bubble 27 L1 L2 L3. Outputs: G (18 x 2) = Kec Kcc^-1 (the transpose of
// Kcc^-1 Kce), CKI (2 x 2) = Kcc^-1. W1 (6 x 10 x 2) receives the x and y
// derivatives of the ten scalar basis functions (quadratics in area
// coordinates), W2 (20 x 20) the uncondensed matrix. ierr -1 clockwise,
// -2 zero area, -3 singular internal block.
void PQST31(double* EK, double* G, double* CKI, double* W1, const double* C, const double* X,
            const double* Y, const double* H, double* W2, std::int32_t iel, std::int32_t lunit,
            std::int32_t ipsw, std::int32_t& ierr);

// CST edge and area load (6). Area load (side 0): each corner A/3 times P1
// (a force per unit volume already multiplied by the thickness). Edge load:
// P1 at the start corner, P2 at the end corner (forces per unit length),
// varying linearly; with a positive side code both pairs are turned to global
// axes and written back.
void CST_Ld(double* RE, const double* X, const double* Y, double* P1, double* P2,
            std::int32_t iside);

// LST edge and area load (12), thickness H(3) for the area load.
void LST_Ld(double* RE, const double* X, const double* Y, const double* H, const double* P1,
            const double* P2, std::int32_t iside);

// QST edge and area load (18, condensed with G) and the load on the internal
// DOF RI (2; zero for an edge load). P3 is the edge load at the side's
// mid-point (quadratic variation).
void QST_Ld(double* RE, double* RI, const double* G, const double* X, const double* Y,
            const double* H, const double* P1, const double* P2, const double* P3,
            std::int32_t iside);

// Equivalent loads of an initial strain field: the integral of t B^T C eps0.
// CST: one strain (3) and one thickness; LST/QST: corner strains EPS (3 x 3,
// one column per corner) and thicknesses varying linearly. QST_Le condenses
// with G and returns the internal share in RI.
void CST_Le(double* RE, const double* C, const double* X, const double* Y, const double* EPS,
            double t);
void LST_Le(double* RE, const double* C, const double* X, const double* Y, const double* H,
            const double* EPS);
void QST_Le(double* RE, double* RI, const double* G, const double* C, const double* X,
            const double* Y, const double* H, const double* EPS);

// Stress matrices (3 x DOF): the stresses at a point are S times the element
// DOF values. AL are the area coordinates of the point. QST_Str returns the
// external columns corrected by the condensation and, in SC (3 x 2), the
// columns to multiply by the stored internal load.
void CST_Str(double* S, const double* C, const double* X, const double* Y);
void LST_Str(double* S, const double* C, const double* X, const double* Y, const double* AL);
void QST_Str(double* S, double* SC, const double* G, const double* CKI, const double* C,
             const double* X, const double* Y, const double* AL);

// ---- Quadrilaterals --------------------------------------------------------

// Stiffness of Q4, Q8 and Q9 (ndof x ndof) with n Gauss points (1, 4 or 9;
// other values become 9 with a centre node, else 4). mode < 0 forms only the
// condensation data CD (needs F(9) < 0). ierr -1 det <= 0 at a Gauss point,
// -2 singular centre block, -3 mode < 0 without a condensed centre node.
void QUAD_Sm(const double* C, const double* X, const double* Y, const double* H,
             const std::int32_t* F, std::int32_t ndof, std::int32_t n, std::int32_t mode,
             double* EK, double* CD, std::int32_t& ierr);

// Q6 stiffness (8 x 8): the Q4 with the internal modes 1 - xi^2, 1 - eta^2
// (their mean strains removed) condensed out. ierr -1 det <= 0, -2 the
// internal block cannot be factorised, -3 non-positive volume.
void Q6_Sm(const double* C, const double* X, const double* Y, const double* H, double* EK,
           std::int32_t& ierr);

// Edge and area load of Q4, Q6, Q8 and Q9 (ndof). Area load: P1 is a force
// per unit volume; with F(9) < 0 the centre share is condensed with CD and
// returned in P1. Edge load: P1 at the start corner, P2 at the end corner.
// ierr -1 det <= 0 at a Gauss point (area load).
void QUAD_Ld(double* RE, const double* X, const double* Y, const double* H,
             const std::int32_t* F, std::int32_t ndof, std::int32_t n, std::int32_t iside,
             double* P1, const double* P2, const double* CD, std::int32_t& ierr);

// Initial-strain load of Q4, Q8 and Q9 from the corner strains EPS (3 x 4),
// interpolated bilinearly; RI receives the centre share (F(9) < 0).
void QUAD_Le(double* RE, double* RI, const double* C, const double* X, const double* Y,
             const double* H, const std::int32_t* F, std::int32_t ndof, std::int32_t n,
             const double* EPS, const double* CD, std::int32_t& ierr);

// Stress matrix (3 x ndof) of Q4, Q8 and Q9 at (xi, eta); SC (3 x 2) the
// centre columns (F(9) < 0) to multiply by the stored internal load.
void QUAD_Str(double* S, double* SC, const double* C, const double* X, const double* Y,
              double xi, double eta, const std::int32_t* F, std::int32_t ndof, const double* CD,
              std::int32_t& ierr);

// Q6 stresses at npt points (XI, ETA) from the element nodal forces
// FN = K (u - u0): the self-equilibrated linear field of seven parameters
// whose work-equivalent forces on the eight corner DOF and the four internal
// modes best match (FN, 0) in the least-squares sense. SIG receives
// (sigma_x, sigma_y, tau_xy) per point. ierr -1 det <= 0, -2 the fit cannot
// be solved, -3 non-positive volume.
void Q6_Str(const double* FN, const double* X, const double* Y, const double* H,
            const double* XI, const double* ETA, std::int32_t npt, double* SIG,
            std::int32_t& ierr);

// Corner displacements U (u1, v1, ..., u4, v4), measured from the centroid,
// of the field with strains G phi, J phi and no shear, phi the linear
// least-squares fit of the corner values f(4); GJ = (G, J).
void Q6_Int(const double* f, const double* GJ, const double* X, const double* Y, double* U,
            std::int32_t& ierr);

} // namespace solvika

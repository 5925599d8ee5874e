// Plate-bending triangles of higher order: T15 (code 75, complete quartic,
// 15 DOF), T18 (code 81) and T21 (code 85, complete quintic, 18 and 21 DOF).
//
// Conventions (as for the other plate triangles, plate_bending.h):
// - arrays are column-major with 1-based numbering in the comments;
// - X, Y: corner coordinates (3 each); T: corner thicknesses (3), linear
//   over the element; C: 3 x 3 plane-stress elasticity matrix, the bending
//   rigidity is C t^3/12 relating (Mx, My, Mxy) to minus the curvatures
//   (w,xx, w,yy, 2 w,xy); P: corner pressures (3), linear over the element;
// - edges: 1 from corner 1 to 2, 2 from 2 to 3, 3 from 3 to 1; the midside
//   nodes are their midpoints in that order;
// - either corner order is accepted by every routine;
// - nothing allocates storage or keeps state between calls.
//
// Edge normals. The normal slope DOF of an edge refers to a normal that
// depends only on the edge's two end points, so that two elements sharing
// the edge agree on it: with L the length and dx, dy the differences of the
// end points, the edge direction (c, s) is the unit vector along the edge
// with c > 0; an edge with |dx| < 1.0e-10 L counts as vertical and gets
// (c, s) = (0, -1). The normal is n = (-s, c): it points towards increasing
// y, and is (1, 0) for a vertical edge.
//
// DOF order:
// - T15: per corner w, w,x, w,y (DOFs 1-9), then per edge midpoint w and
//   the normal slope w,n (DOFs 10-15: edge 1, edge 2, edge 3);
// - T18 and T21: per corner w, w,x, w,y, w,xx, w,xy, w,yy (DOFs 1-18, plain
//   derivatives, no factor 2), T21 then the normal slopes w,n at the
//   midpoints of edges 1, 2, 3 (DOFs 19-21). T18 has no midside DOFs: its
//   normal slope varies cubically along every edge, so two T18 elements
//   sharing an edge agree on w and on its gradient along the whole edge.
//
// The deflection is w = sum over k of a(k) m(k), with m(k) monomials in the
// area coordinates:
// - quartic basis (T15): L1^4, L2^4, L3^4, L1^3 L2, L1^3 L3, L2^3 L3,
//   L1 L2^3, L1 L3^3, L2 L3^3, L1^2 L2^2, L1^2 L3^2, L2^2 L3^2,
//   L1^2 L2 L3, L1 L2^2 L3, L1 L2 L3^2;
// - quintic basis (T18, T21): L1^5, L2^5, L3^5, L1^4 L2, L1^4 L3, L2^4 L3,
//   L1 L2^4, L1 L3^4, L2 L3^4, L1^3 L2^2, L1^3 L3^2, L2^3 L3^2, L1^2 L2^3,
//   L1^2 L3^3, L2^2 L3^3, L1^3 L2 L3, L1 L2^3 L3, L1 L2 L3^3,
//   L1^2 L2^2 L3, L1 L2^2 L3^2, L1^2 L2 L3^2.
//
// The element number and the log unit serve only the messages; nothing is
// written when the unit is not positive.
#pragma once

#include <cstdint>

namespace solvika {

// T15 coefficient matrix H (15 x 15): a = H v for the DOF values v.
void T15_Aux(const double* X, const double* Y, double* H);

// T15 stiffness EK (15 x 15, exactly symmetric) by the seven-point rule
// (exact for a constant thickness). Refuses (IERR = -1, one message, EK
// untouched) a triangle whose longest edge squared exceeds 100 times its
// area, or that has no area.
void T15_k(double* EK, const double* C, const double* X, const double* Y, const double* T,
           std::int32_t NEL, std::int32_t LUNIT, std::int32_t& IERR);

// T15 consistent load vector F (15) of the linearly varying pressure P.
void T15_Lv(double* F, const double* X, const double* Y, const double* P);

// T15 corner results for the DOF values V (15): column i of R (5 x 3) is
// (Mx, My, Mxy, Qx, Qy) at corner i, with that corner's own thickness and
// Q = (Mx,x + Mxy,y, Mxy,x + My,y).
void T15_Mom(const double* V, const double* C, const double* X, const double* Y, const double* T,
             double* R);

// T18/T21 coefficient matrix H (21 x 21): a = H(:, 1..NDOF) v. With NDOF 18
// the midside slopes are eliminated into the first 18 columns (columns
// 19-21 then hold no meaning for the caller); any other NDOF builds T21.
void HTB_Aux(const double* X, const double* Y, std::int32_t NDOF, double* H);

// T18/T21 stiffness EK (NDOF x NDOF, exactly symmetric), NDOF 18 or 21.
// HTBA31 integrates exactly; a thickness whose corner values all lie within
// a thousandth of their mean counts as constant (the mean is used).
// HTBN31 uses the seven-point rule. IERR = -1 for a triangle whose longest
// edge squared exceeds 100 times its area, or that has no area, or for an
// NDOF other than 18 and 21: the two error writes follow whatever the print
// switch, EK is untouched and the leaving line is not written.
// KPRINT >= 2 prints the input on entry and the leaving line, >= 3 also the
// element matrix.
void HTBA31(double* EK, const double* C, const double* X, const double* Y, const double* T,
            std::int32_t NDOF, std::int32_t NEL, std::int32_t LUNIT, std::int32_t KPRINT,
            std::int32_t& IERR);
void HTBN31(double* EK, const double* C, const double* X, const double* Y, const double* T,
            std::int32_t NDOF, std::int32_t NEL, std::int32_t LUNIT, std::int32_t KPRINT,
            std::int32_t& IERR);

// T18/T21 consistent load vector F (NDOF) of the linearly varying pressure
// P. Nothing is written for an NDOF other than 18 and 21.
void HTB_Lv(double* F, const double* X, const double* Y, const double* P, std::int32_t NDOF);

// T18/T21 corner shear forces for the DOF values V (NDOF): column i of R
// (2 x 3) is (Qx, Qy) at corner i, with that corner's own thickness and
// Q = (Mx,x + Mxy,y, Mxy,x + My,y). Nothing is written for an NDOF other
// than 18 and 21.
void HTB_Mom(const double* V, const double* C, const double* X, const double* Y, const double* T,
             std::int32_t NDOF, double* R);

} // namespace solvika

// Geometric (initial-stress) stiffness of the plate-bending triangles under
// a given in-plane stress state (sigma_x, sigma_y, tau_xy): the quadratic
// form -integral of t (Sx w,x^2 + Sy w,y^2 + 2 Sxy w,x w,y) dA in the
// element's DOFs, in the DOF order of the element's bending stiffness. It is
// the negative of the usual initial-stress matrix, so compression (negative
// stresses) gives a positive semi-definite matrix and the buckling problem
// reads K x = lambda KG x.
//
// Arguments: KG out (column-major, leading dimension the DOF count); X, Y,
// T the corner coordinates and thicknesses (3 each); S the stresses, 3
// values (per element) or 3 x 3 column-major (column i the three values at
// corner i, per node). No routine checks its input, writes to a log or
// allocates storage.
#pragma once

#include <cstdint>

namespace solvika
{

// DKT and TEBA (9 x 9): the deflection interpolated linearly between the
// corners, forces t_m S with the mean thickness t_m; only the entries
// between deflection DOFs (1, 4, 7) are non-zero. A triangle whose corners
// do not run anticlockwise gives the zero matrix.
void DKT_KG(double* KG, const double* X, const double* Y, const double* T, const double* S);

// T15 (15 x 15) by the seven-point rule: T15_KG with the mean thickness and
// constant stresses, T15_KGN with thickness and stresses linear between the
// corner values. Either corner order.
void T15_KG(double* KG, const double* X, const double* Y, const double* T, const double* S);
void T15_KGN(double* KG, const double* X, const double* Y, const double* T, const double* S);

// T18 and T21 (NDOF x NDOF, NDOF 18 or 21) as T15_KG and T15_KGN; W is a
// work matrix of 21 x 21 reals.
void HTB_KG(double* KG, const double* X, const double* Y, const double* T, const double* S,
            std::int32_t NDOF, double* W);
void HTB_KGN(double* KG, const double* X, const double* Y, const double* T, const double* S,
             std::int32_t NDOF, double* W);

} // namespace solvika

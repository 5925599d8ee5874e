// Plate-bending triangles with three corner nodes: T6 (code 61, 6 DOF),
// DKT (code 65, 9 DOF) and TEBA (code 66, 9 DOF).
//
// Conventions shared by all routines here:
// - arrays are column-major with 1-based numbering in the comments
//   (entry (i, j) of an m-row array is element (i - 1) + (j - 1) * m);
// - X, Y: corner coordinates (3 each); T: corner thicknesses (3);
//   C: 3 x 3 plane-stress elasticity matrix; P: corner pressures (3);
// - DOF order: DKT per corner (w, dw/dx, dw/dy); TEBA per corner
//   (w, dw/dy, -dw/dx); T6 the three corner deflections, then the normal
//   slopes at the midpoints of edges 1-2, 2-3 and 3-1;
// - curvatures kappa = (w,xx, w,yy, 2 w,xy), moments M = -(t^3/12) C kappa;
// - the log unit serves only the messages; nothing is written when it is
//   not positive;
// - error flag: 0 on success, negative when the element matrix is not valid.
// No routine allocates storage or throws.
#pragma once

#include <cstdint>

namespace solvika {

// Seven-point symmetric triangle rule, exact to degree 5: area coordinates
// (L1, L2, L3) and weights (the weights sum to 1; multiply by the area).
inline constexpr double kTri7L[7][3] = {
    {0.333333333333333, 0.333333333333333, 0.333333333333333},
    {0.059715871789770, 0.470142064105115, 0.470142064105115},
    {0.470142064105115, 0.059715871789770, 0.470142064105115},
    {0.470142064105115, 0.470142064105115, 0.059715871789770},
    {0.797426985353087, 0.101286507323456, 0.101286507323456},
    {0.101286507323456, 0.797426985353087, 0.101286507323456},
    {0.101286507323456, 0.101286507323456, 0.797426985353087},
};
inline constexpr double kTri7W[7] = {
    0.225,
    0.132394152788506, 0.132394152788506, 0.132394152788506,
    0.125939180544827, 0.125939180544827, 0.125939180544827,
};

// Lateral pressure loads: the linearly varying corner pressures P lumped to
// the corner deflections by the linear corner functions,
// (A/12)(2 P(i) + P(j) + P(k)); the rotation entries are 0.
// DKT_Lv and TEBA_Lv return zeros unless the corners run anticlockwise;
// T6_Lv takes the area whatever the orientation (T6_Sm accepts both).
void T6_Lv(double* EL /*6*/, const double* X, const double* Y, const double* P);
void DKT_Lv(double* EL /*9*/, const double* X, const double* Y, const double* P);
void TEBA_Lv(double* EL /*9*/, const double* X, const double* Y, const double* P);

// DKT: Kirchhoff matrix TK (12 x 9), beta = TK v, with beta the slopes
// (beta_x at the corners and edge midpoints 4 (1-2), 5 (2-3), 6 (3-1), then
// beta_y at the same six points).
void DKT_Aux(double* TK /*12x9*/, const double* X, const double* Y);

// DKT stiffness (9 x 9). Refuses (IERR = -1, one message) a triangle whose
// longest edge squared exceeds 50 times its signed doubled area; EK is then
// left untouched.
void DKT_Sm(double* EK, const double* C, const double* X, const double* Y,
            const double* T, std::int32_t NEL, std::int32_t LUNIT, std::int32_t& IERR);

// DKT corner moments: column n of RM (3 x 3) is (Mx, My, Mxy) at corner n
// for the DOF values V (9), with that corner's own thickness.
void DKT_Mom(const double* V, const double* C, const double* X, const double* Y,
             const double* T, double* RM);

// TEBA stiffness EK (9 x 9) and moment-recovery matrix RR (9 x 9): the
// corner moments (Mx at corners 1-3, My at 1-3, Mxy at 1-3) are RR v.
// IERR: -1 clockwise corners, -2 zero area or too slender, -3 elasticity
// matrix or -4 flexibility matrix not invertible. KPRINT >= 2 prints the
// input and the leaving line, >= 3 also the element matrix.
void TEBA31(double* EK, double* RR, const double* C, const double* X, const double* Y,
            const double* T, std::int32_t NEL, std::int32_t LUNIT, std::int32_t KPRINT,
            std::int32_t& IERR);

// TEBA point matrix PM (3 x 9) at the area coordinates (AL1, AL2, AL3):
// (Mx, My, Mxy) there are PM v.
void TEBA_Mom(double* PM, const double* RR, double AL1, double AL2, double AL3);

// T6: Z (6 x 6) maps the six DOF values to the coefficients q of
// w = q1 L1^2 + q2 L2^2 + q3 L3^2 + q4 L1 L2 + q5 L2 L3 + q6 L3 L1.
// The slope DOF of an edge refers to a normal that depends only on the
// edge's end points, so neighbours agree on its sign: the tangent runs from
// the end with the smaller x to the one with the larger x (upwards, (0, 1),
// when the x difference is below 1.0e-15 of the length), and the normal is
// the tangent turned a quarter anticlockwise: (0, 1) for a horizontal edge,
// (-1, 0) for a vertical one.
void T6_Aux(double* Z, const double* X, const double* Y);

// T6 stiffness (6 x 6) with the mean thickness. Refuses (IERR = -1, one
// message) a triangle whose longest edge squared exceeds 100 times its
// area; EK is then left untouched. Either orientation is accepted.
void T6_Sm(double* EK, const double* C, const double* X, const double* Y,
           const double* T, std::int32_t NEL, std::int32_t LUNIT, std::int32_t& IERR);

// T6 constant moments RM (3) = -(tm^3/12) C kappa for the DOF values V (6).
void T6_Mom(const double* V, const double* C, const double* X, const double* Y,
            const double* T, double* RM);

} // namespace solvika

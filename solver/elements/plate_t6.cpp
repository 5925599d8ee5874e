// T6: constant-curvature plate-bending triangle, 6 DOF (corner deflections
// and the normal slopes at the edge midpoints). w is the complete quadratic
// w = q1 L1^2 + q2 L2^2 + q3 L3^2 + q4 L1 L2 + q5 L2 L3 + q6 L3 L1.
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_geom.h"

#include <cmath>

namespace solvika {

namespace {

// Unit normal of the edge from (xa, ya) to (xb, yb), depending only on the
// two points, not on the direction of travel: the tangent runs towards the
// larger x (upwards, (0, 1), for a vertical edge) and the normal is that
// tangent turned a quarter anticlockwise. Neighbouring elements thus agree
// on the sign of the edge's slope DOF.
void t6EdgeNormal(double xa, double ya, double xb, double yb, double& nx, double& ny)
{
    double dx = xb - xa;
    double dy = yb - ya;
    const double len = std::sqrt(dx * dx + dy * dy);
    double r, s;
    if (std::fabs(dx) < 1.0e-15 * len) {
        r = 0.0;
        s = 1.0;
    } else {
        if (dx < 0.0) {
            dx = -dx;
            dy = -dy;
        }
        r = dx / len;
        s = dy / len;
    }
    nx = -s;
    ny = r;
}

// B (3 x 6): kappa = (w,xx, w,yy, 2 w,xy) = B v.
void t6Curvature(double* B, const double* X, const double* Y)
{
    double Z[36];
    T6_Aux(Z, X, Y);
    const plate::AreaDerivs d = plate::areaDerivs(X, Y, plate::twiceArea(X, Y));
    // Second derivatives with respect to (L1, L2) in terms of q:
    // w,11 = 2q1 + 2q3 - 2q6, w,22 = 2q2 + 2q3 - 2q5, w,12 = 2q3 + q4 - q5 - q6.
    constexpr double E[3][6] = {
        {2.0, 0.0, 2.0, 0.0, 0.0, -2.0},
        {0.0, 2.0, 2.0, 0.0, -2.0, 0.0},
        {0.0, 0.0, 2.0, 1.0, -1.0, -1.0},
    };
    // kappa from (w,11, w,22, w,12).
    const double D2[3][3] = {
        {d.l1x * d.l1x, d.l2x * d.l2x, 2.0 * d.l1x * d.l2x},
        {d.l1y * d.l1y, d.l2y * d.l2y, 2.0 * d.l1y * d.l2y},
        {2.0 * d.l1x * d.l1y, 2.0 * d.l2x * d.l2y, 2.0 * (d.l1x * d.l2y + d.l2x * d.l1y)},
    };
    double DE[3][6];
    for (int r = 0; r < 3; ++r)
        for (int q = 0; q < 6; ++q)
            DE[r][q] = D2[r][0] * E[0][q] + D2[r][1] * E[1][q] + D2[r][2] * E[2][q];
    for (int col = 0; col < 6; ++col)
        for (int r = 0; r < 3; ++r) {
            double s = 0.0;
            for (int q = 0; q < 6; ++q)
                s += DE[r][q] * Z[q + 6 * col];
            B[r + 3 * col] = s;
        }
}

} // namespace

void T6_Aux(double* Z, const double* X, const double* Y)
{
    for (int i = 0; i < 36; ++i)
        Z[i] = 0.0;
    for (int i = 0; i < 3; ++i)
        Z[i + 6 * i] = 1.0;

    const plate::AreaDerivs d = plate::areaDerivs(X, Y, plate::twiceArea(X, Y));
    // Normal derivatives a_e = dL1/dn_e, b_e = dL2/dn_e of edges 1-2, 2-3, 3-1.
    double a[3], b[3];
    for (int e = 0; e < 3; ++e) {
        const int i = e;
        const int j = (e + 1) % 3;
        double nx, ny;
        t6EdgeNormal(X[i], Y[i], X[j], Y[j], nx, ny);
        a[e] = d.l1x * nx + d.l1y * ny;
        b[e] = d.l2x * nx + d.l2y * ny;
    }
    // q4..q6 from the corner deflections and the midpoint slopes. a_2, b_3
    // and a_1 + b_1 are never zero: L1 is constant along edge 2-3, L2 along
    // 3-1 and L3 along 1-2, so their gradients are normal to those edges.
    const double h = a[2] / b[2];
    const double l = b[1] / a[1];
    const double o = a[0] + b[0];
    auto z = [Z](int row, int col) -> double& { return Z[row + 6 * col]; };
    z(3, 0) = -h;
    z(3, 1) = -l;
    z(3, 2) = h + l + 2.0;
    z(3, 4) = 1.0 / a[1];
    z(3, 5) = 1.0 / b[2];
    z(4, 0) = a[0] / o - h;
    z(4, 1) = b[0] / o;
    z(4, 2) = h + 1.0;
    z(4, 3) = -1.0 / o;
    z(4, 5) = 1.0 / b[2];
    z(5, 0) = a[0] / o;
    z(5, 1) = b[0] / o - l;
    z(5, 2) = l + 1.0;
    z(5, 3) = -1.0 / o;
    z(5, 4) = 1.0 / a[1];
}

void T6_Sm(double* EK, const double* C, const double* X, const double* Y,
           const double* T, std::int32_t NEL, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    const double area = 0.5 * std::fabs(plate::twiceArea(X, Y));
    // Coinciding corners (0 <= 0 in the edge test) are refused as well.
    if (!(area > 0.0 && plate::maxEdgeSquared(X, Y) <= 100.0 * area)) {
        IERR = -1;
        plate::writeDegenerated(LUNIT, "T6_Sm", NEL);
        return;
    }
    const double tm = (T[0] + T[1] + T[2]) / 3.0;
    const double f = tm * tm * tm / 12.0 * area;

    double B[18];
    t6Curvature(B, X, Y);
    double CB[18];
    for (int col = 0; col < 6; ++col)
        for (int r = 0; r < 3; ++r)
            CB[r + 3 * col] =
                C[r] * B[3 * col] + C[r + 3] * B[1 + 3 * col] + C[r + 6] * B[2 + 3 * col];
    for (int col = 0; col < 6; ++col)
        for (int r = 0; r <= col; ++r) {
            const double s = f * (B[3 * r] * CB[3 * col] + B[1 + 3 * r] * CB[1 + 3 * col] +
                                  B[2 + 3 * r] * CB[2 + 3 * col]);
            EK[r + 6 * col] = s;
            EK[col + 6 * r] = s;
        }
}

void T6_Mom(const double* V, const double* C, const double* X, const double* Y,
            const double* T, double* RM)
{
    double B[18];
    t6Curvature(B, X, Y);
    double kappa[3] = {0.0, 0.0, 0.0};
    for (int m = 0; m < 6; ++m)
        for (int r = 0; r < 3; ++r)
            kappa[r] += B[r + 3 * m] * V[m];
    const double tm = (T[0] + T[1] + T[2]) / 3.0;
    const double f = -(tm * tm * tm) / 12.0;
    for (int r = 0; r < 3; ++r)
        RM[r] = f * (C[r] * kappa[0] + C[r + 3] * kappa[1] + C[r + 6] * kappa[2]);
}

} // namespace solvika

// DKT: discrete-Kirchhoff plate-bending triangle, 9 DOF (w, dw/dx, dw/dy per
// corner). The slopes are interpolated quadratically over the corners and
// edge midpoints; the Kirchhoff constraints along the edges tie the midpoint
// slopes to the corner DOFs.
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_geom.h"

#include <cmath>
#include <initializer_list>

namespace solvika {

namespace {

// Corner pairs of the edges whose midpoints are interpolation points 4, 5, 6.
constexpr int kEdgeI[3] = {0, 1, 2};
constexpr int kEdgeJ[3] = {1, 2, 0};

// Curvature operator B (3 x 12, column-major) on the 12 slope values at the
// area coordinates (l1, l2, l3): kappa_x from beta_x, kappa_y from beta_y,
// kappa_xy from both.
void curvatureOperator(double* B, const plate::AreaDerivs& d, double l1, double l2, double l3)
{
    const double l3x = -(d.l1x + d.l2x);
    const double l3y = -(d.l1y + d.l2y);
    const double dx[6] = {
        (4.0 * l1 - 1.0) * d.l1x,
        (4.0 * l2 - 1.0) * d.l2x,
        (4.0 * l3 - 1.0) * l3x,
        4.0 * (d.l1x * l2 + d.l2x * l1),
        4.0 * (d.l2x * l3 + l2 * l3x),
        4.0 * (d.l1x * l3 + l1 * l3x),
    };
    const double dy[6] = {
        (4.0 * l1 - 1.0) * d.l1y,
        (4.0 * l2 - 1.0) * d.l2y,
        (4.0 * l3 - 1.0) * l3y,
        4.0 * (d.l1y * l2 + d.l2y * l1),
        4.0 * (d.l2y * l3 + l2 * l3y),
        4.0 * (d.l1y * l3 + l1 * l3y),
    };
    for (int k = 0; k < 6; ++k) {
        double* bx = B + 3 * k;       // column of beta_x(k)
        double* by = B + 3 * (6 + k); // column of beta_y(k)
        bx[0] = dx[k];
        bx[1] = 0.0;
        bx[2] = dy[k];
        by[0] = 0.0;
        by[1] = dy[k];
        by[2] = dx[k];
    }
}

} // namespace

void DKT_Aux(double* TK, const double* X, const double* Y)
{
    for (int i = 0; i < 12 * 9; ++i)
        TK[i] = 0.0;
    auto t = [TK](int row, int col) -> double& { return TK[row + 12 * col]; };

    // Corners: the slopes are the slope DOFs.
    for (int n = 0; n < 3; ++n) {
        t(n, 3 * n + 1) = 1.0;
        t(6 + n, 3 * n + 2) = 1.0;
    }
    // Midpoints: cubic deflection along the edge gives the tangential slope
    // 1.5 (wj - wi)/L - 0.25 (tangential slopes at i and j); the normal slope
    // is the mean of the corner normal slopes.
    for (int e = 0; e < 3; ++e) {
        const int i = kEdgeI[e];
        const int j = kEdgeJ[e];
        const int k = 3 + e;
        const double dxe = X[j] - X[i];
        const double dye = Y[j] - Y[i];
        const double len = std::sqrt(dxe * dxe + dye * dye);
        const double c = dxe / len;
        const double s = dye / len;
        const double wx = 3.0 * c / (2.0 * len);
        const double wy = 3.0 * s / (2.0 * len);
        const double xx = 0.5 * s * s - 0.25 * c * c;
        const double xy = -0.75 * c * s;
        const double yy = 0.5 * c * c - 0.25 * s * s;
        for (int m : {i, j}) {
            t(k, 3 * m + 1) = xx;
            t(k, 3 * m + 2) = xy;
            t(6 + k, 3 * m + 1) = xy;
            t(6 + k, 3 * m + 2) = yy;
        }
        t(k, 3 * i) = -wx;
        t(k, 3 * j) = wx;
        t(6 + k, 3 * i) = -wy;
        t(6 + k, 3 * j) = wy;
    }
}

void DKT_Sm(double* EK, const double* C, const double* X, const double* Y,
            const double* T, std::int32_t NEL, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    const double a2 = plate::twiceArea(X, Y);
    // A triangle whose corners coincide passes the edge test with 0 <= 0;
    // it is refused too, as it has no area to divide by.
    if (!(a2 > 0.0 && plate::maxEdgeSquared(X, Y) <= 50.0 * a2)) {
        IERR = -1;
        plate::writeDegenerated(LUNIT, "DKT_Sm", NEL);
        return;
    }
    const plate::AreaDerivs d = plate::areaDerivs(X, Y, a2);

    // Four-point rule of degree 3: exact for B^T C B with constant thickness.
    constexpr double kL[4][3] = {
        {1.0 / 3.0, 1.0 / 3.0, 1.0 / 3.0}, {0.6, 0.2, 0.2}, {0.2, 0.6, 0.2}, {0.2, 0.2, 0.6}};
    constexpr double kW[4] = {-0.5625, 0.5208333333333334, 0.5208333333333334,
                              0.5208333333333334};

    double k12[12 * 12] = {};
    double B[3 * 12];
    double CB[3 * 12];
    for (int p = 0; p < 4; ++p) {
        const double l1 = kL[p][0], l2 = kL[p][1], l3 = kL[p][2];
        const double t = l1 * T[0] + l2 * T[1] + l3 * T[2];
        const double f = t * t * t * kW[p] * a2 / 24.0;
        curvatureOperator(B, d, l1, l2, l3);
        for (int col = 0; col < 12; ++col)
            for (int r = 0; r < 3; ++r)
                CB[r + 3 * col] = C[r] * B[3 * col] + C[r + 3] * B[1 + 3 * col] +
                                  C[r + 6] * B[2 + 3 * col];
        for (int col = 0; col < 12; ++col)
            for (int r = 0; r <= col; ++r)
                k12[r + 12 * col] += f * (B[3 * r] * CB[3 * col] + B[1 + 3 * r] * CB[1 + 3 * col] +
                                          B[2 + 3 * r] * CB[2 + 3 * col]);
    }
    for (int col = 0; col < 12; ++col)
        for (int r = col + 1; r < 12; ++r)
            k12[r + 12 * col] = k12[col + 12 * r];

    // EK = TK^T K12 TK.
    double TK[12 * 9];
    DKT_Aux(TK, X, Y);
    double KT[12 * 9];
    for (int col = 0; col < 9; ++col)
        for (int r = 0; r < 12; ++r) {
            double s = 0.0;
            for (int m = 0; m < 12; ++m)
                s += k12[r + 12 * m] * TK[m + 12 * col];
            KT[r + 12 * col] = s;
        }
    for (int col = 0; col < 9; ++col)
        for (int r = 0; r <= col; ++r) {
            double s = 0.0;
            for (int m = 0; m < 12; ++m)
                s += TK[m + 12 * r] * KT[m + 12 * col];
            EK[r + 9 * col] = s;
            EK[col + 9 * r] = s;
        }
}

void DKT_Mom(const double* V, const double* C, const double* X, const double* Y,
             const double* T, double* RM)
{
    double TK[12 * 9];
    DKT_Aux(TK, X, Y);
    double beta[12];
    for (int r = 0; r < 12; ++r) {
        double s = 0.0;
        for (int m = 0; m < 9; ++m)
            s += TK[r + 12 * m] * V[m];
        beta[r] = s;
    }
    const plate::AreaDerivs d = plate::areaDerivs(X, Y, plate::twiceArea(X, Y));
    double B[3 * 12];
    for (int n = 0; n < 3; ++n) {
        curvatureOperator(B, d, n == 0 ? 1.0 : 0.0, n == 1 ? 1.0 : 0.0, n == 2 ? 1.0 : 0.0);
        double kappa[3] = {0.0, 0.0, 0.0};
        for (int m = 0; m < 12; ++m)
            for (int r = 0; r < 3; ++r)
                kappa[r] += B[r + 3 * m] * beta[m];
        const double f = -(T[n] * T[n] * T[n]) / 12.0;
        for (int r = 0; r < 3; ++r)
            RM[r + 3 * n] = f * (C[r] * kappa[0] + C[r + 3] * kappa[1] + C[r + 6] * kappa[2]);
    }
}

} // namespace solvika

// TEBA: assumed-moment (hybrid) plate-bending triangle, 9 DOF per corner
// (w, dw/dy, -dw/dx). The moment field is linear, given by its corner values
// beta (Mx at corners 1-3, My at 1-3, Mxy at 1-3). With the flexibility
// H = integral of N N (12/t^3) C^-1 dA and the coupling G (below), the
// corner moments are beta = H^-1 G v and the stiffness is K = G^T H^-1 G.
//
// The coupling G is defined by beta^T G v = -integral of M(beta) . kappa(w) dA
// with kappa = (w,xx, w,yy, 2 w,xy). Integrating by parts twice, with the
// outward normal n of an edge, its tangent s = (-ny, nx) (anticlockwise
// travel, from corner i to corner j), Mn = n.M.n, Mns = s.M.n,
// Q = (Mx,x + Mxy,y, Mxy,x + My,y) and, since the linear field has
// Mab,ab = 0,
//   integral of M.kappa dA = sum over edges of integral of
//                            (Mn w,n + Mns w,s - (Q.n) w) ds.
// Integrating Mns w,s by parts along each edge leaves the end values
// [Mns w] (from i to j) and the effective shear Vn = Q.n + dMns/ds, which
// is constant along an edge. Collecting the end values by corner:
//   beta^T G v = sum over corners c of (Mns of the edge leaving c
//                                       - Mns of the edge arriving at c) w_c
//              + sum over edges of (integral of Vn w ds - integral of Mn w,n ds).
// Along an edge of length L the deflection is the cubic through the end
// deflections and the end tangential slopes, and w,n is linear between the
// end normal slopes, so with Mn linear between its end values Mn_i, Mn_j:
//   integral of w ds      = L/2 (w_i + w_j) + L^2/12 (w,s_i - w,s_j)
//   integral of Mn w,n ds = L/3 (Mn_i w,n_i + Mn_j w,n_j)
//                         + L/6 (Mn_i w,n_j + Mn_j w,n_i).
// Per edge there are four boundary quantities in terms of beta (the corner
// term at its first corner, Vn, Mn at either end) and four matching
// integrals in terms of v; G = A^T I with A (12 x 9) the quantities and
// I (12 x 9) the integrals. The integrals are built for the slope pair
// (dw/dx, dw/dy) and then turned to this element's (dw/dy, -dw/dx).
// Every state that is quadratic in w has exact boundary values, so for
// constant thickness such a state gives beta = -(t^3/12) C kappa exactly.
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_geom.h"
#include "solver/linalg/fwrite.h"
#include "solver/elements/matprt.h"
#include "solver/elements/tri_print.h"
#include "solver/linalg/dense.h"

#include <cmath>

namespace solvika {

namespace {

void writeEntry(std::int32_t lunit, std::int32_t nel, const double* C, const double* X,
                const double* Y, const double* T)
{
    static const Layout kHead("/ / / ' ENTERING TEBA31 FOR ELEMENT ' I5 ' :'");
    static const Layout kCRow("1P E18.7 1P 2E15.7");
    fwrite(lunit, kHead, {nel});
    printTriangleInput(lunit, C, X, Y, T, 0.0, kCRow);
}

// Flexibility matrix H (9 x 9): entry (3a + i, 3b + j) = Cinv(a, b) Q(i, j)
// with Q(i, j) = integral of L_i L_j 12/t^3 dA by the seven-point rule.
void flexibility(double* H, const double* Cinv, const double* T, double area)
{
    double Q[3][3] = {};
    for (int p = 0; p < 7; ++p) {
        const double* L = kTri7L[p];
        const double t = L[0] * T[0] + L[1] * T[1] + L[2] * T[2];
        const double f = 12.0 * area * kTri7W[p] / (t * t * t);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                Q[i][j] += f * L[i] * L[j];
    }
    for (int b = 0; b < 3; ++b)
        for (int j = 0; j < 3; ++j)
            for (int a = 0; a < 3; ++a)
                for (int i = 0; i < 3; ++i)
                    H[(3 * a + i) + 9 * (3 * b + j)] = Cinv[a + 3 * b] * Q[i][j];
}

// Coupling matrix G (9 x 9) of the comment at the top of this file.
void coupling(double* G, const double* X, const double* Y, double a2)
{
    const plate::AreaDerivs d = plate::areaDerivs(X, Y, a2);
    const double lx[3] = {d.l1x, d.l2x, -(d.l1x + d.l2x)};
    const double ly[3] = {d.l1y, d.l2y, -(d.l1y + d.l2y)};

    double nx[3], ny[3], len[3];
    for (int e = 0; e < 3; ++e) {
        const int i = e;
        const int j = (e + 1) % 3;
        len[e] = std::sqrt((X[j] - X[i]) * (X[j] - X[i]) + (Y[j] - Y[i]) * (Y[j] - Y[i]));
        nx[e] = (Y[j] - Y[i]) / len[e];
        ny[e] = (X[i] - X[j]) / len[e];
    }
    // Coefficients of Mn and Mns of edge e at corner m in terms of beta.
    auto addMn = [&](double* row, int e, int m, double f) {
        row[m] += f * nx[e] * nx[e];
        row[3 + m] += f * ny[e] * ny[e];
        row[6 + m] += f * 2.0 * nx[e] * ny[e];
    };
    auto addMns = [&](double* row, int e, int m, double f) {
        row[m] -= f * nx[e] * ny[e];
        row[3 + m] += f * nx[e] * ny[e];
        row[6 + m] += f * (nx[e] * nx[e] - ny[e] * ny[e]);
    };

    double A[12][9] = {};  // boundary quantities in terms of beta
    double Is[12][9] = {}; // matching integrals in terms of (w, dw/dx, dw/dy)
    for (int e = 0; e < 3; ++e) {
        const int i = e;
        const int j = (e + 1) % 3;
        const int prev = (e + 2) % 3; // the edge arriving at corner i
        const double L = len[e];
        const double sx = -ny[e];
        const double sy = nx[e];
        double* corner = A[4 * e];
        double* vn = A[4 * e + 1];
        double* mni = A[4 * e + 2];
        double* mnj = A[4 * e + 3];

        addMns(corner, e, i, 1.0);
        addMns(corner, prev, i, -1.0);

        for (int k = 0; k < 3; ++k) {
            vn[k] += nx[e] * lx[k];
            vn[3 + k] += ny[e] * ly[k];
            vn[6 + k] += nx[e] * ly[k] + ny[e] * lx[k];
        }
        addMns(vn, e, j, 1.0 / L);
        addMns(vn, e, i, -1.0 / L);

        addMn(mni, e, i, 1.0);
        addMn(mnj, e, j, 1.0);

        Is[4 * e][3 * i] = 1.0;

        double* iw = Is[4 * e + 1];
        const double c12 = L * L / 12.0;
        iw[3 * i] += 0.5 * L;
        iw[3 * j] += 0.5 * L;
        iw[3 * i + 1] += c12 * sx;
        iw[3 * i + 2] += c12 * sy;
        iw[3 * j + 1] -= c12 * sx;
        iw[3 * j + 2] -= c12 * sy;

        const double l3 = L / 3.0;
        const double l6 = L / 6.0;
        double* ii = Is[4 * e + 2];
        double* ij = Is[4 * e + 3];
        ii[3 * i + 1] -= l3 * nx[e];
        ii[3 * i + 2] -= l3 * ny[e];
        ii[3 * j + 1] -= l6 * nx[e];
        ii[3 * j + 2] -= l6 * ny[e];
        ij[3 * i + 1] -= l6 * nx[e];
        ij[3 * i + 2] -= l6 * ny[e];
        ij[3 * j + 1] -= l3 * nx[e];
        ij[3 * j + 2] -= l3 * ny[e];
    }
    // Turn the slope columns to the element's rotations: dw/dx = -(third
    // entry), dw/dy = second entry.
    for (auto& row : Is)
        for (int m = 0; m < 3; ++m) {
            const double gx = row[3 * m + 1];
            const double gy = row[3 * m + 2];
            row[3 * m + 1] = gy;
            row[3 * m + 2] = -gx;
        }
    for (int col = 0; col < 9; ++col)
        for (int r = 0; r < 9; ++r) {
            double s = 0.0;
            for (int q = 0; q < 12; ++q)
                s += A[q][r] * Is[q][col];
            G[r + 9 * col] = s;
        }
}

} // namespace

void TEBA31(double* EK, double* RR, const double* C, const double* X, const double* Y,
            const double* T, std::int32_t NEL, std::int32_t LUNIT, std::int32_t KPRINT,
            std::int32_t& IERR)
{
    static const Layout kErr("/ / / ' *** ERROR RETURN FROM TEBA31 ***'");
    static const Layout kMatHead("/ '     ELEMENT STIFFNESS MATRIX :'");
    static const Layout kLeave("/ / / ' LEAVING TEBA31 FOR ELEMENT ' I5");

    IERR = 0;
    const bool print = LUNIT > 0;
    if (print && KPRINT >= 2)
        writeEntry(LUNIT, NEL, C, X, Y, T);

    const double a2 = plate::twiceArea(X, Y);
    const double area = 0.5 * a2;
    if (area < 0.0)
        IERR = -1;
    else if (area == 0.0 || !(plate::maxEdgeSquared(X, Y) <= 50.0 * area))
        IERR = -2;

    if (IERR == 0) {
        double Cinv[9];
        for (int i = 0; i < 9; ++i)
            Cinv[i] = C[i];
        std::int32_t ierr = 0;
        SYMINV(Cinv, 1.0e-8, 3, LUNIT, ierr);
        if (ierr < 0)
            IERR = -3;

        double H[81];
        if (IERR == 0) {
            flexibility(H, Cinv, T, area);
            SYMINV(H, 1.0e-8, 9, LUNIT, ierr);
            if (ierr < 0)
                IERR = -4;
        }
        if (IERR == 0) {
            double G[81];
            coupling(G, X, Y, a2);
            // RR = H^-1 G, EK = G^T RR.
            for (int col = 0; col < 9; ++col)
                for (int r = 0; r < 9; ++r) {
                    double s = 0.0;
                    for (int m = 0; m < 9; ++m)
                        s += H[r + 9 * m] * G[m + 9 * col];
                    RR[r + 9 * col] = s;
                }
            for (int col = 0; col < 9; ++col)
                for (int r = 0; r <= col; ++r) {
                    double s = 0.0;
                    for (int m = 0; m < 9; ++m)
                        s += G[m + 9 * r] * RR[m + 9 * col];
                    EK[r + 9 * col] = s;
                    EK[col + 9 * r] = s;
                }
        }
    }

    if (!print)
        return;
    if (IERR < 0) {
        fwrite(LUNIT, kErr);
        printErrorFlag(LUNIT, IERR, NEL);
    }
    if (KPRINT >= 3) {
        fwrite(LUNIT, kMatHead);
        MATPRT(EK, 9, 9, LUNIT);
    }
    if (KPRINT >= 2)
        fwrite(LUNIT, kLeave, {NEL});
}

void TEBA_Mom(double* PM, const double* RR, double AL1, double AL2, double AL3)
{
    for (int m = 0; m < 9; ++m)
        for (int c = 0; c < 3; ++c)
            PM[c + 3 * m] = AL1 * RR[3 * c + 9 * m] + AL2 * RR[3 * c + 1 + 9 * m] +
                            AL3 * RR[3 * c + 2 + 9 * m];
}

} // namespace solvika

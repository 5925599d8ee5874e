// T15: plate-bending triangle with a complete quartic deflection field,
// corner values and slopes, and the deflections and normal slopes at the
// edge midpoints (15 DOF).
#include "solver/elements/plate_higher.h"
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_higher_util.h"

#include <cmath>

namespace solvika {

namespace {

constexpr int kN = 15;

// Exponents of L1, L2, L3 of the quartic basis, in basis order.
constexpr int kExp[kN][3] = {
    {4, 0, 0}, {0, 4, 0}, {0, 0, 4}, {3, 1, 0}, {3, 0, 1}, {0, 3, 1}, {1, 3, 0}, {1, 0, 3},
    {0, 1, 3}, {2, 2, 0}, {2, 0, 2}, {0, 2, 2}, {2, 1, 1}, {1, 2, 1}, {1, 1, 2},
};

// Coefficients of monomials 1-12 in terms of the DOFs in the provisional
// column layout: corner k (0-based) w, w,L1, w,L2 in columns 3k..3k+2 (natural
// slopes), midpoint deflections of edges 1-3 in columns 9-11 (the normal
// slopes follow in 12-14). Every other entry of these rows is 0.
constexpr plate::Entry kCornerRows[] = {
    {0, 0, 1.0},
    {1, 3, 1.0},
    {2, 6, 1.0},
    {3, 0, 4.0}, {3, 1, -1.0}, {3, 2, 1.0},
    {4, 0, 4.0}, {4, 1, -1.0},
    {5, 3, 4.0}, {5, 5, -1.0},
    {6, 3, 4.0}, {6, 4, 1.0}, {6, 5, -1.0},
    {7, 6, 4.0}, {7, 7, 1.0},
    {8, 6, 4.0}, {8, 8, 1.0},
    {9, 0, -5.0}, {9, 1, 1.0}, {9, 2, -1.0}, {9, 3, -5.0}, {9, 4, -1.0}, {9, 5, 1.0}, {9, 9, 16.0},
    {10, 0, -5.0}, {10, 1, 1.0}, {10, 6, -5.0}, {10, 7, -1.0}, {10, 11, 16.0},
    {11, 3, -5.0}, {11, 5, 1.0}, {11, 6, -5.0}, {11, 8, -1.0}, {11, 10, 16.0},
};

// Natural second derivatives (w,11, w,22, w,12) of the basis at the points
// of the seven-point rule: column k of each 3 x 15 block is monomial k.
struct PointCurvatures {
    double B[7][3 * kN];
};

const PointCurvatures& pointCurvatures()
{
    static const PointCurvatures table = [] {
        PointCurvatures t{};
        for (int p = 0; p < 7; ++p)
            for (int k = 0; k < kN; ++k) {
                const int a = kExp[k][0], b = kExp[k][1], c = kExp[k][2];
                t.B[p][3 * k] = plate::natDeriv(a, b, c, 2, 0, kTri7L[p]);
                t.B[p][3 * k + 1] = plate::natDeriv(a, b, c, 0, 2, kTri7L[p]);
                t.B[p][3 * k + 2] = plate::natDeriv(a, b, c, 1, 1, kTri7L[p]);
            }
        return t;
    }();
    return table;
}

} // namespace

void T15_Aux(const double* X, const double* Y, double* H)
{
    double Hp[kN * kN] = {};
    for (const plate::Entry& e : kCornerRows)
        Hp[e.row + kN * e.col] = e.v;

    const double a2 = plate::twiceArea(X, Y);
    double al[3], be[3];
    for (int e = 0; e < 3; ++e)
        plate::normalDerivs(X, Y, a2, e, al[e], be[e]);

    // Normal slopes of monomials 1-12 at the three midpoints.
    double S[3 * 12];
    for (int e = 0; e < 3; ++e) {
        double L[3];
        plate::edgeMidpoint(e, L);
        const double g[3] = {al[e], be[e], -(al[e] + be[e])};
        for (int k = 0; k < 12; ++k)
            S[e + 3 * k] = plate::dirDeriv(kExp[k][0], kExp[k][1], kExp[k][2], L, g);
    }
    // Of the bubbles 13-15, only 13 and 14 have a normal slope at the
    // midpoint of edge 1, (1/8) dL3/dn; 14 and 15 at edge 2, (1/8) dL1/dn;
    // 13 and 15 at edge 3, (1/8) dL2/dn. M is the inverse of that 3 x 3.
    const double g1 = 4.0 / -(al[0] + be[0]);
    const double g2 = 4.0 / al[1];
    const double g3 = 4.0 / be[2];
    const double M[9] = {g1, g1, -g1, -g2, g2, g2, g3, -g3, g3};
    plate::bubbleRows(Hp, kN, 12, S, M);

    for (int k = 0; k < 3; ++k)
        plate::cartesianSlopeColumns(Hp, kN, 3 * k + 1, X, Y);

    // Midside columns from (w1, w2, w3, n1, n2, n3) to (w1, n1, w2, n2, w3, n3).
    static constexpr int kTo[kN] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 13, 10, 12, 14};
    for (int col = 0; col < kN; ++col)
        for (int r = 0; r < kN; ++r)
            H[r + kN * kTo[col]] = Hp[r + kN * col];
}

void T15_k(double* EK, const double* C, const double* X, const double* Y, const double* T,
           std::int32_t NEL, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    const double a2 = plate::twiceArea(X, Y);
    const double area = 0.5 * std::fabs(a2);
    // Coinciding corners (0 <= 0 in the edge test) are refused as well.
    if (!(area > 0.0 && plate::maxEdgeSquared(X, Y) <= 100.0 * area)) {
        IERR = -1;
        plate::writeDegenerated(LUNIT, "T15_k", NEL);
        return;
    }
    double G[9], Ct[9];
    plate::curvatureMap(X, Y, a2, G);
    plate::transformedElasticity(C, G, Ct);

    const PointCurvatures& pc = pointCurvatures();
    double Kh[kN * kN] = {};
    for (int p = 0; p < 7; ++p) {
        const double* L = kTri7L[p];
        const double t = L[0] * T[0] + L[1] * T[1] + L[2] * T[2];
        plate::addBtCB(pc.B[p], Ct, t * t * t * kTri7W[p] * area / 12.0, kN, Kh);
    }
    plate::mirrorUpper(Kh, kN);

    double H[kN * kN], KH[kN * kN];
    T15_Aux(X, Y, H);
    plate::congruence(Kh, H, kN, kN, KH, EK);
}

void T15_Lv(double* F, const double* X, const double* Y, const double* P)
{
    double g[kN];
    plate::pressureIntegrals(kExp, kN, 4, std::fabs(plate::twiceArea(X, Y)), P, g);
    double H[kN * kN];
    T15_Aux(X, Y, H);
    for (int i = 0; i < kN; ++i) {
        double s = 0.0;
        for (int k = 0; k < kN; ++k)
            s += H[k + kN * i] * g[k];
        F[i] = s;
    }
}

void T15_Mom(const double* V, const double* C, const double* X, const double* Y, const double* T,
             double* R)
{
    double H[kN * kN];
    T15_Aux(X, Y, H);
    double a[kN] = {};
    for (int j = 0; j < kN; ++j)
        for (int k = 0; k < kN; ++k)
            a[k] += H[k + kN * j] * V[j];

    // The signed area: the derivatives are right for either corner order.
    const double a2 = plate::twiceArea(X, Y);
    double G[9];
    plate::curvatureMap(X, Y, a2, G);
    const plate::AreaDerivs d = plate::areaDerivs(X, Y, a2);

    for (int i = 0; i < 3; ++i) {
        double L[3] = {0.0, 0.0, 0.0};
        L[i] = 1.0;
        double kn[3] = {}, d3n[4] = {};
        for (int k = 0; k < kN; ++k) {
            const int ea = kExp[k][0], eb = kExp[k][1], ec = kExp[k][2];
            kn[0] += a[k] * plate::natDeriv(ea, eb, ec, 2, 0, L);
            kn[1] += a[k] * plate::natDeriv(ea, eb, ec, 0, 2, L);
            kn[2] += a[k] * plate::natDeriv(ea, eb, ec, 1, 1, L);
            for (int q = 0; q < 4; ++q)
                d3n[q] += a[k] * plate::natDeriv(ea, eb, ec, 3 - q, q, L);
        }
        double kappa[3];
        for (int r = 0; r < 3; ++r)
            kappa[r] = G[r] * kn[0] + G[r + 3] * kn[1] + G[r + 6] * kn[2];
        const double f = -(T[i] * T[i] * T[i]) / 12.0;
        double* out = R + 5 * i;
        for (int r = 0; r < 3; ++r)
            out[r] = f * (C[r] * kappa[0] + C[r + 3] * kappa[1] + C[r + 6] * kappa[2]);
        double d3[4];
        plate::cartesianThird(d, d3n, d3);
        plate::shearForces(C, T[i], d3, out[3], out[4]);
    }
}

} // namespace solvika

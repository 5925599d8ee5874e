// T18 and T21: plate-bending triangles with a complete quintic deflection
// field. Per corner w and its first and second derivatives; T21 adds the
// normal slopes at the edge midpoints, T18 ties each of them to the corner
// values so that the normal slope varies cubically along the edge.
#include "solver/elements/plate_higher.h"
#include "solver/elements/plate_geometric.h"
#include "solver/elements/matprt.h"
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_higher_util.h"
#include "solver/elements/tri_poly.h"
#include "solver/elements/tri_print.h"
#include "solver/linalg/fwrite.h"

#include <cmath>

namespace solvika {

namespace {

constexpr int kN = 21;
constexpr int kCorner = 18;

// Exponents of L1, L2, L3 of the quintic basis, in basis order.
constexpr int kExp[kN][3] = {
    {5, 0, 0}, {0, 5, 0}, {0, 0, 5}, {4, 1, 0}, {4, 0, 1}, {0, 4, 1}, {1, 4, 0},
    {1, 0, 4}, {0, 1, 4}, {3, 2, 0}, {3, 0, 2}, {0, 3, 2}, {2, 3, 0}, {2, 0, 3},
    {0, 2, 3}, {3, 1, 1}, {1, 3, 1}, {1, 1, 3}, {2, 2, 1}, {1, 2, 2}, {2, 1, 2},
};

// Coefficients of monomials 1-18 in terms of the corner DOFs in the
// provisional column layout: corner k (0-based) in columns 6k..6k+5 with
// w, w,L1, w,L2, w,L1L1, w,L1L2, w,L2L2 (natural derivatives). Every other
// entry of these rows is 0.
constexpr plate::Entry kCornerRows[] = {
    // corner 1
    {0, 0, 1.0},
    {3, 0, 5.0}, {3, 1, -1.0}, {3, 2, 1.0},
    {4, 0, 5.0}, {4, 1, -1.0},
    {9, 0, 10.0}, {9, 1, -4.0}, {9, 2, 4.0}, {9, 3, 0.5}, {9, 4, -1.0}, {9, 5, 0.5},
    {10, 0, 10.0}, {10, 1, -4.0}, {10, 3, 0.5},
    {15, 0, 20.0}, {15, 1, -8.0}, {15, 2, 4.0}, {15, 3, 1.0}, {15, 4, -1.0},
    // corner 2
    {1, 6, 1.0},
    {5, 6, 5.0}, {5, 8, -1.0},
    {6, 6, 5.0}, {6, 7, 1.0}, {6, 8, -1.0},
    {11, 6, 10.0}, {11, 8, -4.0}, {11, 11, 0.5},
    {12, 6, 10.0}, {12, 7, 4.0}, {12, 8, -4.0}, {12, 9, 0.5}, {12, 10, -1.0}, {12, 11, 0.5},
    {16, 6, 20.0}, {16, 7, 4.0}, {16, 8, -8.0}, {16, 10, -1.0}, {16, 11, 1.0},
    // corner 3
    {2, 12, 1.0},
    {7, 12, 5.0}, {7, 13, 1.0},
    {8, 12, 5.0}, {8, 14, 1.0},
    {13, 12, 10.0}, {13, 13, 4.0}, {13, 15, 0.5},
    {14, 12, 10.0}, {14, 14, 4.0}, {14, 17, 0.5},
    {17, 12, 20.0}, {17, 13, 4.0}, {17, 14, 4.0}, {17, 16, 1.0},
};

constexpr int kCubic = tri::nmono(3); // 10 cubic monomials
constexpr int kSextic = tri::nmono(6); // 28 monomials of degree 6

// Geometry-independent tables of the natural second derivatives
// (w,11, w,22, w,12) of the basis: their values at the points of the
// seven-point rule, and the same derivatives as cubic polynomials.
struct BasisCurvatures {
    struct Term {
        int alpha;   // cubic monomial
        double coef;
    };
    double B[7][3 * kN];   // column k of each 3 x 21 block: monomial k
    Term bp[3][kN][4];     // derivative r of monomial k: at most four terms
    int nbp[3][kN];
    int sum6[kCubic][kCubic];  // the degree-6 monomial alpha + beta
    int e3[kCubic][3];         // exponents of the cubic monomials
    int e6[kSextic][3];        // exponents of the degree-6 monomials
};

const BasisCurvatures& basisCurvatures()
{
    static const BasisCurvatures table = [] {
        BasisCurvatures t{};
        static constexpr int kOrder[3][2] = {{2, 0}, {0, 2}, {1, 1}};
        for (int k = 0; k < kN; ++k) {
            const int a = kExp[k][0], b = kExp[k][1], c = kExp[k][2];
            for (int r = 0; r < 3; ++r) {
                const int n1 = kOrder[r][0], n2 = kOrder[r][1];
                for (int p = 0; p < 7; ++p)
                    t.B[p][r + 3 * k] = plate::natDeriv(a, b, c, n1, n2, kTri7L[p]);
                plate::forNatDerivTerms(a, b, c, n1, n2, [&](double coef, int p, int q, int s) {
                    const int alpha = tri::mono(p, q, s);
                    for (int m = 0; m < t.nbp[r][k]; ++m)
                        if (t.bp[r][k][m].alpha == alpha) {
                            t.bp[r][k][m].coef += coef;
                            return;
                        }
                    t.bp[r][k][t.nbp[r][k]++] = {alpha, coef};
                });
            }
        }
        for (int i = 0; i < kCubic; ++i)
            tri::expo(3, i, t.e3[i][0], t.e3[i][1], t.e3[i][2]);
        for (int i = 0; i < kSextic; ++i)
            tri::expo(6, i, t.e6[i][0], t.e6[i][1], t.e6[i][2]);
        for (int i = 0; i < kCubic; ++i)
            for (int j = 0; j < kCubic; ++j)
                t.sum6[i][j] = tri::mono(t.e3[i][0] + t.e3[j][0], t.e3[i][1] + t.e3[j][1],
                                         t.e3[i][2] + t.e3[j][2]);
        return t;
    }();
    return table;
}

// Kh = integral of (t^3/12) B^T Ct B dA in closed form. With t^3 written as
// a cubic in the area coordinates (or the constant mean cubed), the weighted
// integrals of the 28 degree-6 monomials are tabulated once, and every
// entry is assembled from them through the cubic second derivatives.
void exactCurvatureIntegral(const double* Ct, const double* T, double a2abs, double* Kh)
{
    const BasisCurvatures& bc = basisCurvatures();
    double W6[kSextic];
    const double tm = (T[0] + T[1] + T[2]) / 3.0;
    const bool constant = std::fabs(T[0] - tm) <= tm / 1000.0 &&
                          std::fabs(T[1] - tm) <= tm / 1000.0 &&
                          std::fabs(T[2] - tm) <= tm / 1000.0;
    if (constant) {
        const double f = tm * tm * tm / 12.0 * a2abs / plate::fact(8);
        for (int g = 0; g < kSextic; ++g)
            W6[g] = f * plate::fact(bc.e6[g][0]) * plate::fact(bc.e6[g][1]) *
                    plate::fact(bc.e6[g][2]);
    } else {
        // (T1 L1 + T2 L2 + T3 L3)^3 = sum over the cubic monomials L^e of
        // 3!/(e1! e2! e3!) T1^e1 T2^e2 T3^e3 L^e.
        double cw[kCubic];
        for (int e = 0; e < kCubic; ++e) {
            const int* x = bc.e3[e];
            cw[e] = 6.0 / (plate::fact(x[0]) * plate::fact(x[1]) * plate::fact(x[2])) *
                    plate::power(T[0], x[0]) * plate::power(T[1], x[1]) * plate::power(T[2], x[2]);
        }
        const double f = a2abs / 12.0 / plate::fact(11);
        for (int g = 0; g < kSextic; ++g) {
            const int* y = bc.e6[g];
            double s = 0.0;
            for (int e = 0; e < kCubic; ++e) {
                const int* x = bc.e3[e];
                s += cw[e] * plate::fact(x[0] + y[0]) * plate::fact(x[1] + y[1]) *
                     plate::fact(x[2] + y[2]);
            }
            W6[g] = f * s;
        }
    }

    // P_s = Mw B_s with Mw(alpha, beta) = W6(alpha + beta); Q_r = sum over s
    // of Ct(r, s) P_s; Kh = sum over r of B_r^T Q_r. B_r has at most four
    // terms per column.
    double P[3][kN][kCubic];
    for (int s = 0; s < 3; ++s)
        for (int k = 0; k < kN; ++k) {
            double* out = P[s][k];
            for (int al = 0; al < kCubic; ++al)
                out[al] = 0.0;
            for (int m = 0; m < bc.nbp[s][k]; ++m) {
                const auto& term = bc.bp[s][k][m];
                for (int al = 0; al < kCubic; ++al)
                    out[al] += W6[bc.sum6[al][term.alpha]] * term.coef;
            }
        }
    double Q[3][kN][kCubic];
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < kN; ++k)
            for (int al = 0; al < kCubic; ++al)
                Q[r][k][al] = Ct[r] * P[0][k][al] + Ct[r + 3] * P[1][k][al] + Ct[r + 6] * P[2][k][al];
    for (int l = 0; l < kN; ++l)
        for (int k = 0; k <= l; ++k) {
            double v = 0.0;
            for (int r = 0; r < 3; ++r)
                for (int m = 0; m < bc.nbp[r][k]; ++m) {
                    const auto& term = bc.bp[r][k][m];
                    v += term.coef * Q[r][l][term.alpha];
                }
            Kh[k + kN * l] = v;
        }
    plate::mirrorUpper(Kh, kN);
}

// The same integral by the seven-point rule, thickness interpolated.
void pointCurvatureIntegral(const double* Ct, const double* T, double area, double* Kh)
{
    const BasisCurvatures& bc = basisCurvatures();
    for (int i = 0; i < kN * kN; ++i)
        Kh[i] = 0.0;
    for (int p = 0; p < 7; ++p) {
        const double* L = kTri7L[p];
        const double t = L[0] * T[0] + L[1] * T[1] + L[2] * T[2];
        plate::addBtCB(bc.B[p], Ct, t * t * t * kTri7W[p] * area / 12.0, kN, Kh);
    }
    plate::mirrorUpper(Kh, kN);
}

void writeEntry(std::int32_t lunit, const char* name, std::int32_t nel, std::int32_t ndof,
                const double* C, const double* X, const double* Y, const double* T)
{
    static const Layout kHead("/ / / ' ENTERING ' A ' FOR ELEMENT ' I5 ' :'");
    static const Layout kDof("/ 5X 'DEGREES OF FREEDOM :' I3");
    static const Layout kCRow("1P E18.7 1P 2E15.7");
    fwrite(lunit, kHead, {name, nel});
    fwrite(lunit, kDof, {ndof});
    printTriangleInput(lunit, C, X, Y, T, 0.0, kCRow);
}

void htbStiffness(bool exact, const char* name, double* EK, const double* C, const double* X,
                  const double* Y, const double* T, std::int32_t NDOF, std::int32_t NEL,
                  std::int32_t LUNIT, std::int32_t KPRINT, std::int32_t& IERR)
{
    IERR = 0;
    const bool log = LUNIT > 0;
    if (log && KPRINT >= 2)
        writeEntry(LUNIT, name, NEL, NDOF, C, X, Y, T);

    const double a2 = plate::twiceArea(X, Y);
    const double area = 0.5 * std::fabs(a2);
    // Coinciding corners (0 <= 0 in the edge test) are refused as well.
    if (!(area > 0.0 && plate::maxEdgeSquared(X, Y) <= 100.0 * area) ||
        (NDOF != kCorner && NDOF != kN)) {
        IERR = -1;
        if (log) {
            static const Layout kErr("/ / / ' *** ERROR RETURN FROM ' A ' ***'");
            static const Layout kElem("/ 5X 'ELEMENT ' I5 '   IN ERROR'");
            fwrite(LUNIT, kErr, {name});
            fwrite(LUNIT, kElem, {NEL});
        }
        return;
    }

    double G[9], Ct[9];
    plate::curvatureMap(X, Y, a2, G);
    plate::transformedElasticity(C, G, Ct);
    double Kh[kN * kN];
    if (exact)
        exactCurvatureIntegral(Ct, T, 2.0 * area, Kh);
    else
        pointCurvatureIntegral(Ct, T, area, Kh);

    double H[kN * kN], KH[kN * kN];
    HTB_Aux(X, Y, NDOF, H);
    plate::congruence(Kh, H, kN, NDOF, KH, EK);

    if (log && KPRINT >= 3) {
        static const Layout kMatHead("/ 5X 'ELEMENT STIFFNESS MATRIX :'");
        fwrite(LUNIT, kMatHead);
        MATPRT(EK, NDOF, NDOF, LUNIT);
    }
    if (log && KPRINT >= 2) {
        static const Layout kLeave("/ / / ' LEAVING ' A ' FOR ELEMENT ' I5 ' :'");
        fwrite(LUNIT, kLeave, {name, NEL});
    }
}

const plate::PointPartials<kN>& pointPartials()
{
    static const plate::PointPartials<kN> table = plate::pointPartials<kN>(kExp);
    return table;
}

// Geometric stiffness in polynomial coefficients (in W), then KG =
// H^T W H over the first NDOF columns of H.
void geometric(double* KG, const double* X, const double* Y, const double* T, const double* S,
               std::int32_t NDOF, double* W, bool perNode)
{
    if (NDOF != kCorner && NDOF != kN)
        return;
    double H[kN * kN], KH[kN * kN];
    plate::initialStress(&pointPartials().D[0][0], kN, X, Y, T, S, perNode, W);
    HTB_Aux(X, Y, NDOF, H);
    plate::congruence(W, H, kN, NDOF, KH, KG);
}

} // namespace

void HTB_Aux(const double* X, const double* Y, std::int32_t NDOF, double* H)
{
    for (int i = 0; i < kN * kN; ++i)
        H[i] = 0.0;
    for (const plate::Entry& e : kCornerRows)
        H[e.row + kN * e.col] = e.v;

    const double a2 = plate::twiceArea(X, Y);
    double al[3], be[3];
    for (int e = 0; e < 3; ++e)
        plate::normalDerivs(X, Y, a2, e, al[e], be[e]);

    // Normal slopes of monomials 1-18 at the three midpoints. Of the bubbles
    // 19-21 only one has a normal slope at each midpoint: 19 at edge 1,
    // (1/16) dL3/dn; 20 at edge 2, (1/16) dL1/dn; 21 at edge 3, (1/16) dL2/dn.
    double S[3 * kCorner];
    for (int e = 0; e < 3; ++e) {
        double L[3];
        plate::edgeMidpoint(e, L);
        const double g[3] = {al[e], be[e], -(al[e] + be[e])};
        for (int k = 0; k < kCorner; ++k)
            S[e + 3 * k] = plate::dirDeriv(kExp[k][0], kExp[k][1], kExp[k][2], L, g);
    }
    const double M[9] = {16.0 / -(al[0] + be[0]), 0.0, 0.0, 0.0, 16.0 / al[1], 0.0,
                         0.0, 0.0, 16.0 / be[2]};
    plate::bubbleRows(H, kN, kCorner, S, M);

    // Natural corner derivatives to Cartesian ones.
    const double dx1 = X[0] - X[2], dx2 = X[1] - X[2];
    const double dy1 = Y[0] - Y[2], dy2 = Y[1] - Y[2];
    const double txx[3] = {dx1 * dx1, dx1 * dx2, dx2 * dx2};
    const double txy[3] = {2.0 * dx1 * dy1, dx1 * dy2 + dx2 * dy1, 2.0 * dx2 * dy2};
    const double tyy[3] = {dy1 * dy1, dy1 * dy2, dy2 * dy2};
    for (int k = 0; k < 3; ++k) {
        const int b = 6 * k;
        plate::cartesianSlopeColumns(H, kN, b + 1, X, Y);
        double* c11 = H + kN * (b + 3);
        double* c12 = H + kN * (b + 4);
        double* c22 = H + kN * (b + 5);
        for (int r = 0; r < kN; ++r) {
            const double u = c11[r], v = c12[r], w = c22[r];
            c11[r] = txx[0] * u + txx[1] * v + txx[2] * w;
            c12[r] = txy[0] * u + txy[1] * v + txy[2] * w;
            c22[r] = tyy[0] * u + tyy[1] * v + tyy[2] * w;
        }
    }

    if (NDOF != kCorner)
        return;
    // T18: the normal slope at the midpoint of edge k (corners i -> j) is
    // that of the cubic along the edge through the corner normal slopes
    // theta = -s w,x + c w,y and their derivatives along (c, s),
    // tau = -s c w,xx + (c^2 - s^2) w,xy + s c w,yy:
    // (theta_i + theta_j)/2 + sigma (L/8) (tau_i - tau_j).
    double E[3][kCorner] = {};
    for (int e = 0; e < 3; ++e) {
        const int i = e;
        const int j = (e + 1) % 3;
        const plate::EdgeFrame f = plate::edgeFrame(X[i], Y[i], X[j], Y[j]);
        const double h = f.sigma * f.len / 8.0;
        const double sc = f.s * f.c;
        const double cs2 = f.c * f.c - f.s * f.s;
        for (int q : {i, j}) {
            E[e][6 * q + 1] += -0.5 * f.s;
            E[e][6 * q + 2] += 0.5 * f.c;
        }
        E[e][6 * i + 3] += -h * sc;
        E[e][6 * i + 4] += h * cs2;
        E[e][6 * i + 5] += h * sc;
        E[e][6 * j + 3] -= -h * sc;
        E[e][6 * j + 4] -= h * cs2;
        E[e][6 * j + 5] -= h * sc;
    }
    for (int col = 0; col < kCorner; ++col)
        for (int e = 0; e < 3; ++e) {
            const double f = E[e][col];
            if (f == 0.0)
                continue;
            const double* src = H + kN * (kCorner + e);
            double* dst = H + kN * col;
            for (int r = 0; r < kN; ++r)
                dst[r] += src[r] * f;
        }
}

void HTBA31(double* EK, const double* C, const double* X, const double* Y, const double* T,
            std::int32_t NDOF, std::int32_t NEL, std::int32_t LUNIT, std::int32_t KPRINT,
            std::int32_t& IERR)
{
    htbStiffness(true, "HTBA31", EK, C, X, Y, T, NDOF, NEL, LUNIT, KPRINT, IERR);
}

void HTBN31(double* EK, const double* C, const double* X, const double* Y, const double* T,
            std::int32_t NDOF, std::int32_t NEL, std::int32_t LUNIT, std::int32_t KPRINT,
            std::int32_t& IERR)
{
    htbStiffness(false, "HTBN31", EK, C, X, Y, T, NDOF, NEL, LUNIT, KPRINT, IERR);
}

void HTB_KG(double* KG, const double* X, const double* Y, const double* T, const double* S,
            std::int32_t NDOF, double* W)
{
    geometric(KG, X, Y, T, S, NDOF, W, false);
}

void HTB_KGN(double* KG, const double* X, const double* Y, const double* T, const double* S,
             std::int32_t NDOF, double* W)
{
    geometric(KG, X, Y, T, S, NDOF, W, true);
}

void HTB_Lv(double* F, const double* X, const double* Y, const double* P, std::int32_t NDOF)
{
    if (NDOF != kCorner && NDOF != kN)
        return;
    double g[kN];
    plate::pressureIntegrals(kExp, kN, 5, std::fabs(plate::twiceArea(X, Y)), P, g);
    double H[kN * kN];
    HTB_Aux(X, Y, NDOF, H);
    for (int i = 0; i < NDOF; ++i) {
        double s = 0.0;
        for (int k = 0; k < kN; ++k)
            s += H[k + kN * i] * g[k];
        F[i] = s;
    }
}

void HTB_Mom(const double* V, const double* C, const double* X, const double* Y, const double* T,
             std::int32_t NDOF, double* R)
{
    if (NDOF != kCorner && NDOF != kN)
        return;
    double H[kN * kN];
    HTB_Aux(X, Y, NDOF, H);
    double a[kN] = {};
    for (int j = 0; j < NDOF; ++j)
        for (int k = 0; k < kN; ++k)
            a[k] += H[k + kN * j] * V[j];

    // The signed area: the derivatives are right for either corner order.
    const plate::AreaDerivs d = plate::areaDerivs(X, Y, plate::twiceArea(X, Y));
    for (int i = 0; i < 3; ++i) {
        double L[3] = {0.0, 0.0, 0.0};
        L[i] = 1.0;
        double d3n[4] = {};
        for (int k = 0; k < kN; ++k)
            for (int q = 0; q < 4; ++q)
                d3n[q] += a[k] * plate::natDeriv(kExp[k][0], kExp[k][1], kExp[k][2], 3 - q, q, L);
        double d3[4];
        plate::cartesianThird(d, d3n, d3);
        plate::shearForces(C, T[i], d3, R[2 * i], R[2 * i + 1]);
    }
}

} // namespace solvika

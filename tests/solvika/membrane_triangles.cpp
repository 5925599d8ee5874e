// Membrane triangles CST, LST and QST: shape checks, rank, exact energy,
// consistent loads and stress matrices against independent quadrature.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "membrane_support.h"
#include "solver/solvika.h"

using namespace solvika;
using namespace membrane_test;

namespace {

// A general counter-clockwise triangle and linearly varying thickness.
constexpr double kX[3] = {1.0, 7.0, 3.0};
constexpr double kY[3] = {0.5, 2.0, 6.5};
constexpr double kH[3] = {2.0, 3.0, 1.5};

double thicknessAt(const double* X, const double* Y, const double* H, double x, double y) {
    const double twoA = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
    const double L2 = ((X[1] - X[0]) * (y - Y[0]) - (Y[1] - Y[0]) * (x - X[0])) / twoA;
    const double L1 = ((x - X[0]) * (Y[2] - Y[0]) - (y - Y[0]) * (X[2] - X[0])) / twoA;
    return H[0] * (1.0 - L1 - L2) + H[1] * L1 + H[2] * L2;
}

// Strain energy (times 2) of a field: integral of t eps^T C eps.
double exactEnergy(const Field& f, const std::array<double, 9>& C, const double* X,
                   const double* Y, const double* H) {
    return triIntegral(X, Y, [&](double x, double y) {
        double o[6];
        f.eval(x, y, o);
        const double e[3] = {o[2], o[5], o[3] + o[4]};
        const auto s = applyC(C, e);
        return thicknessAt(X, Y, H, x, y) * (e[0] * s[0] + e[1] * s[1] + e[2] * s[2]);
    });
}

// Nodal values of a field: LST (corners, then mid-sides 1-2, 2-3, 3-1).
std::array<double, 12> lstValues(const Field& f, const double* X, const double* Y) {
    std::array<double, 12> u{};
    for (int i = 0; i < 6; ++i) {
        const int a = i < 3 ? i : i - 3, b = i < 3 ? i : (i - 2) % 3;
        double o[6];
        f.eval(0.5 * (X[a] + X[b]), 0.5 * (Y[a] + Y[b]), o);
        u[2 * i] = o[0];
        u[2 * i + 1] = o[1];
    }
    return u;
}

// QST values: per corner u, v, ux, vx, uy, vy; then the centroid u, v.
std::array<double, 20> qstValues(const Field& f, const double* X, const double* Y) {
    std::array<double, 20> u{};
    for (int i = 0; i < 3; ++i) {
        double o[6];
        f.eval(X[i], Y[i], o);
        const double vals[6] = {o[0], o[1], o[2], o[4], o[3], o[5]};
        for (int k = 0; k < 6; ++k) u[6 * i + k] = vals[k];
    }
    double o[6];
    f.eval((X[0] + X[1] + X[2]) / 3.0, (Y[0] + Y[1] + Y[2]) / 3.0, o);
    u[18] = o[0];
    u[19] = o[1];
    return u;
}

struct Qst {
    double EK[324], G[36], CKI[4], W1[120], W2[400];
    int ierr = 99;
    Qst(const std::array<double, 9>& C, const double* X, const double* Y, const double* H) {
        PQST31(EK, G, CKI, W1, C.data(), X, Y, H, W2, 7, 0, 0, ierr);
    }
};

} // namespace

TEST(MembraneCst, ShapeChecksWarningsAndErrors) {
    const auto C = isoFull(210000.0, 0.3);
    struct Case {
        std::array<double, 3> X, Y;
        int ierr;
    };
    const double h = std::sqrt(3.0) / 2.0;
    const Case cases[] = {
        {{0, 1, 0.5}, {0, 0, h}, 0},     // equilateral
        {{0, 3, 0}, {0, 0, 1}, 0},       // legs 1 and 3
        {{0, 10, 0}, {0, 0, 1}, 1},      // legs 1 and 10: warning, matrix formed
        {{0, 200, 0}, {0, 0, 1}, -1},    // legs 1 and 200: refused
        {{0, 1, 2}, {0, 1, 2}, -1},      // zero area
        {{0, 0, 3}, {0, 1, 0}, 0},       // clockwise legs 1 and 3: accepted
    };
    for (const Case& c : cases) {
        double EK[36];
        for (double& v : EK) v = -7.0;
        int ierr = 99;
        PCST31(EK, C.data(), c.X.data(), c.Y.data(), 2.0, 3, 0, 0, ierr);
        EXPECT_EQ(ierr, c.ierr) << c.X[1];
        if (ierr < 0) {
            EXPECT_EQ(EK[0], -7.0); // no matrix
            continue;
        }
        EXPECT_EQ(rankSym(EK, 6), 3);
        EXPECT_LT(maxAsym(EK, 6), 1e-9 * EK[0]);
        // K u of a uniform strain field = t A B^T C eps: energy t A eps C eps.
        const Field f = uniformStrain(1e-3, -4e-4, 6e-4);
        double u[6];
        for (int i = 0; i < 3; ++i) {
            double o[6];
            f.eval(c.X[i], c.Y[i], o);
            u[2 * i] = o[0];
            u[2 * i + 1] = o[1];
        }
        const double twoA = std::fabs((c.X[1] - c.X[0]) * (c.Y[2] - c.Y[0]) -
                                      (c.X[2] - c.X[0]) * (c.Y[1] - c.Y[0]));
        const double e[3] = {1e-3, -4e-4, 6e-4};
        const auto s = applyC(C, e);
        EXPECT_NEAR(quadForm(EK, 6, u), 2.0 * twoA / 2.0 * (e[0] * s[0] + e[1] * s[1] + e[2] * s[2]),
                    1e-9 * twoA * 210000.0 * 1e-6);
    }
}

TEST(MembraneCst, LoadsStrainLoadAndStress) {
    const auto C = anisoFull();
    // Area load: A/3 of the pair per corner; clockwise the same.
    for (int cw = 0; cw < 2; ++cw) {
        const double X[3] = {kX[0], cw ? kX[2] : kX[1], cw ? kX[1] : kX[2]};
        const double Y[3] = {kY[0], cw ? kY[2] : kY[1], cw ? kY[1] : kY[2]};
        double RE[6], P1[2] = {3.0, -6.0}, P2[2] = {0.0, 0.0};
        CST_Ld(RE, X, Y, P1, P2, 0);
        const double A = 16.5; // |2A| = 33 for kX, kY
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(RE[2 * i], A, 1e-12);
            EXPECT_NEAR(RE[2 * i + 1], -2.0 * A, 1e-12);
        }
    }
    // Edge loads: linear variation split consistently (total and moment).
    {
        const double X[3] = {0, 4, 0}, Y[3] = {0, 0, 3};
        double RE[6], P1[2] = {0.0, 0.0}, P2[2] = {0.0, 6.0};
        CST_Ld(RE, X, Y, P1, P2, -1); // triangular load along side 1 (length 4)
        EXPECT_NEAR(RE[1], 4.0 * 6.0 / 6.0, 1e-12);
        EXPECT_NEAR(RE[3], 4.0 * 6.0 / 3.0, 1e-12);
        double P3[2] = {2.0, 2.0}, P4[2] = {2.0, 2.0};
        CST_Ld(RE, X, Y, P3, P4, -2); // uniform on side 2 (length 5): L p / 2 each end
        EXPECT_NEAR(RE[2], 5.0, 1e-12);
        EXPECT_NEAR(RE[4], 5.0, 1e-12);
        EXPECT_EQ(RE[0], 0.0);
        // Side axes: a normal pressure on side 2 (3-4-5 triangle), turned back.
        double Q1[2] = {0.0, 1.0}, Q2[2] = {0.0, 1.0};
        CST_Ld(RE, X, Y, Q1, Q2, 2);
        EXPECT_NEAR(Q1[0], -0.6, 1e-12); // normal (-sin, cos) of the side (-0.8, 0.6)
        EXPECT_NEAR(Q1[1], -0.8, 1e-12);
        EXPECT_NEAR(RE[2], -0.6 * 2.5, 1e-12);
        EXPECT_NEAR(RE[5], -0.8 * 2.5, 1e-12);
    }
    // Initial strain: K u0 with u0 the field of eps0; zero area gives zero.
    const double eps[3] = {2e-3, -1e-3, 5e-4};
    const Field f = uniformStrain(eps[0], eps[1], eps[2]);
    double EK[36], RE[6], u[6];
    int ierr = 0;
    PCST31(EK, C.data(), kX, kY, 1.7, 1, 0, 0, ierr);
    ASSERT_EQ(ierr, 0);
    CST_Le(RE, C.data(), kX, kY, eps, 1.7);
    for (int i = 0; i < 3; ++i) {
        double o[6];
        f.eval(kX[i], kY[i], o);
        u[2 * i] = o[0];
        u[2 * i + 1] = o[1];
    }
    const Vec Ku = matVec(EK, 6, 6, u);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(RE[k], Ku[k], 1e-12 * 300);
    const double Z[3] = {0, 1, 2};
    CST_Le(RE, C.data(), Z, Z, eps, 1.0);
    for (double r : RE) EXPECT_EQ(r, 0.0);
    // Stress matrix: S u = C eps; zero area gives zeros.
    double S[18];
    CST_Str(S, C.data(), kX, kY);
    const Vec s = matVec(S, 3, 6, u);
    const auto se = applyC(C, eps);
    for (int r = 0; r < 3; ++r) EXPECT_NEAR(s[r], se[r], 1e-12);
    CST_Str(S, C.data(), Z, Z);
    for (double v : S) EXPECT_EQ(v, 0.0);
}

TEST(MembraneLst, ErrorsRankAndExactEnergy) {
    const auto C = anisoFull();
    double EK[144];
    int ierr = 0;
    const double Xcw[3] = {kX[0], kX[2], kX[1]}, Ycw[3] = {kY[0], kY[2], kY[1]};
    LST31(EK, C.data(), Xcw, Ycw, kH, 4, 0, 0, ierr);
    EXPECT_EQ(ierr, -1);
    const double Z[3] = {0, 1, 2};
    LST31(EK, C.data(), Z, Z, kH, 4, 0, 0, ierr);
    EXPECT_EQ(ierr, -2);

    LST31(EK, C.data(), kX, kY, kH, 4, 0, 0, ierr);
    ASSERT_EQ(ierr, 0);
    EXPECT_EQ(rankSym(EK, 12), 9);
    EXPECT_LT(maxAsym(EK, 12), 1e-12 * EK[0]);
    for (int deg = 1; deg <= 2; ++deg) {
        const Field f = polyField(deg);
        const auto u = lstValues(f, kX, kY);
        const double exact = exactEnergy(f, C, kX, kY, kH);
        EXPECT_NEAR(quadForm(EK, 12, u.data()), exact, 1e-11 * std::fabs(exact)) << deg;
    }
}

TEST(MembraneLst, ConsistentLoadsStrainLoadAndStress) {
    const auto C = anisoFull();
    const double A = 16.5;
    // Constant thickness: corners 0, side nodes A H / 3.
    const double Hc[3] = {2.0, 2.0, 2.0};
    double RE[12], P1[2] = {1.0, -3.0}, P2[2] = {0.0, 0.0};
    LST_Ld(RE, kX, kY, Hc, P1, P2, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(RE[2 * i], 0.0, 1e-12);
        EXPECT_NEAR(RE[6 + 2 * i], A * 2.0 / 3.0, 1e-12);
        EXPECT_NEAR(RE[7 + 2 * i], -A * 2.0, 1e-12);
    }
    // Linear thickness: work-equivalent to the integral of t p u for quadratics.
    const Field f = polyField(2);
    const auto u = lstValues(f, kX, kY);
    LST_Ld(RE, kX, kY, kH, P1, P2, 0);
    const double work = triIntegral(kX, kY, [&](double x, double y) {
        double o[6];
        f.eval(x, y, o);
        return thicknessAt(kX, kY, kH, x, y) * (P1[0] * o[0] + P1[1] * o[1]);
    });
    double w = 0.0;
    for (int k = 0; k < 12; ++k) w += RE[k] * u[k];
    EXPECT_NEAR(w, work, 1e-12 * 100);
    // Equal pairs on an edge: L p/6, L p/6, 2 L p/3.
    const double L = std::hypot(kX[2] - kX[1], kY[2] - kY[1]);
    double E1[2] = {0.0, 3.0}, E2[2] = {0.0, 3.0};
    LST_Ld(RE, kX, kY, kH, E1, E2, -2);
    EXPECT_NEAR(RE[3], L * 0.5, 1e-12);
    EXPECT_NEAR(RE[5], L * 0.5, 1e-12);
    EXPECT_NEAR(RE[9], 2.0 * L, 1e-12);
    EXPECT_EQ(RE[1], 0.0);
    // Linear edge load in side axes: work-equivalent.
    double S1[2] = {1.0, -2.0}, S2[2] = {4.0, 0.5};
    LST_Ld(RE, kX, kY, kH, S1, S2, 3);
    const double cs = (kX[0] - kX[2]) / std::hypot(kX[0] - kX[2], kY[0] - kY[2]);
    const double sn = (kY[0] - kY[2]) / std::hypot(kX[0] - kX[2], kY[0] - kY[2]);
    const double ew = segIntegral(kX[2], kY[2], kX[0], kY[0], [&](double s, double x, double y) {
        const double p1 = (1 - s) * S1[0] + s * S2[0], p2 = (1 - s) * S1[1] + s * S2[1];
        double o[6];
        f.eval(x, y, o);
        return (cs * p1 - sn * p2) * o[0] + (sn * p1 + cs * p2) * o[1];
    });
    w = 0.0;
    for (int k = 0; k < 12; ++k) w += RE[k] * u[k];
    EXPECT_NEAR(w, ew, 1e-12 * 100);

    // Initial strain uniform: K u0.
    double EK[144];
    int ierr = 0;
    LST31(EK, C.data(), kX, kY, kH, 1, 0, 0, ierr);
    ASSERT_EQ(ierr, 0);
    const double eps[3] = {2e-3, -1e-3, 5e-4};
    const double EPS[9] = {eps[0], eps[1], eps[2], eps[0], eps[1], eps[2], eps[0], eps[1], eps[2]};
    const auto u0 = lstValues(uniformStrain(eps[0], eps[1], eps[2]), kX, kY);
    LST_Le(RE, C.data(), kX, kY, kH, EPS);
    const Vec Ku = matVec(EK, 12, 12, u0.data());
    for (int k = 0; k < 12; ++k) EXPECT_NEAR(RE[k], Ku[k], 1e-12 * 1000);
    // Linearly varying initial strain: work-equivalent to t eps0 C eps(u).
    const double EPSL[9] = {1e-3, 0.0, 2e-4, -5e-4, 1e-3, 0.0, 3e-4, 3e-4, -1e-3};
    LST_Le(RE, C.data(), kX, kY, kH, EPSL);
    const double ework = triIntegral(kX, kY, [&](double x, double y) {
        double o[6];
        f.eval(x, y, o);
        const double twoA = 33.0;
        const double L2 = ((kX[1] - kX[0]) * (y - kY[0]) - (kY[1] - kY[0]) * (x - kX[0])) / twoA;
        const double L1 = ((x - kX[0]) * (kY[2] - kY[0]) - (y - kY[0]) * (kX[2] - kX[0])) / twoA;
        const double Ls[3] = {1 - L1 - L2, L1, L2};
        double e0[3] = {0, 0, 0};
        for (int h = 0; h < 3; ++h)
            for (int r = 0; r < 3; ++r) e0[r] += Ls[h] * EPSL[r + 3 * h];
        const auto s = applyC(C, e0);
        return thicknessAt(kX, kY, kH, x, y) * (s[0] * o[2] + s[1] * o[5] + s[2] * (o[3] + o[4]));
    });
    w = 0.0;
    for (int k = 0; k < 12; ++k) w += RE[k] * u[k];
    EXPECT_NEAR(w, ework, 1e-12 * 100);

    // Stress of a quadratic field at any point.
    double S[36];
    const double pts[3][3] = {{1, 0, 0}, {0.2, 0.3, 0.5}, {1.0 / 3, 1.0 / 3, 1.0 / 3}};
    for (const auto& L3 : pts) {
        LST_Str(S, C.data(), kX, kY, L3);
        const Vec s = matVec(S, 3, 12, u.data());
        double o[6];
        f.eval(L3[0] * kX[0] + L3[1] * kX[1] + L3[2] * kX[2],
               L3[0] * kY[0] + L3[1] * kY[1] + L3[2] * kY[2], o);
        const double e[3] = {o[2], o[5], o[3] + o[4]};
        const auto se = applyC(C, e);
        for (int r = 0; r < 3; ++r) EXPECT_NEAR(s[r], se[r], 1e-12) << r;
    }
}

TEST(MembraneQst, ErrorsRankAndExactEnergy) {
    const auto C = anisoFull();
    const double Xcw[3] = {kX[0], kX[2], kX[1]}, Ycw[3] = {kY[0], kY[2], kY[1]};
    EXPECT_EQ(Qst(C, Xcw, Ycw, kH).ierr, -1);
    const double Z[3] = {0, 1, 2};
    EXPECT_EQ(Qst(C, Z, Z, kH).ierr, -2);
    const std::array<double, 9> zero{};
    EXPECT_EQ(Qst(zero, kX, kY, kH).ierr, -3);

    Qst q(C, kX, kY, kH);
    ASSERT_EQ(q.ierr, 0);
    EXPECT_EQ(rankSym(q.EK, 18), 15);
    EXPECT_LT(maxAsym(q.EK, 18), 1e-10 * q.EK[0]);
    // Uncondensed energy of the complete cubic, rebuilt from EK, G and Kcc:
    // E = ue^T EK ue + (uc + G^T ue)^T Kcc (uc + G^T ue).
    const double det = q.CKI[0] * q.CKI[3] - q.CKI[1] * q.CKI[2];
    const double Kcc[4] = {q.CKI[3] / det, -q.CKI[1] / det, -q.CKI[2] / det, q.CKI[0] / det};
    for (int deg = 1; deg <= 3; ++deg) {
        const Field f = polyField(deg);
        const auto u = qstValues(f, kX, kY);
        double r[2] = {u[18], u[19]};
        for (int i = 0; i < 18; ++i) {
            r[0] += q.G[i] * u[i];
            r[1] += q.G[i + 18] * u[i];
        }
        const double e = quadForm(q.EK, 18, u.data()) +
                         r[0] * (Kcc[0] * r[0] + Kcc[2] * r[1]) + r[1] * (Kcc[1] * r[0] + Kcc[3] * r[1]);
        const double exact = exactEnergy(f, C, kX, kY, kH);
        EXPECT_NEAR(e, exact, 1e-10 * std::fabs(exact)) << deg;
    }
}

TEST(MembraneQst, LoadsStressAndCondensation) {
    const auto C = anisoFull();
    Qst q(C, kX, kY, kH);
    ASSERT_EQ(q.ierr, 0);
    const double A = 16.5;
    const double noG[36] = {};
    const double P1[2] = {2.0, -1.0}, P0[2] = {0.0, 0.0};
    double RE[18], RI[2];
    // Area load before condensation (G = 0): stated corner entries and internal load.
    QST_Ld(RE, RI, noG, kX, kY, kH, P1, P0, P0, 0);
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3, k = (i + 2) % 3;
        const double c = A / 180.0 * (23 * kH[i] + 5 * kH[j] + 5 * kH[k]);
        EXPECT_NEAR(RE[6 * i], c * P1[0], 1e-12);
        EXPECT_NEAR(RE[6 * i + 1], c * P1[1], 1e-12);
    }
    const double ci = 27.0 * A / 180.0 * (kH[0] + kH[1] + kH[2]);
    EXPECT_NEAR(RI[0], ci * P1[0], 1e-12);
    EXPECT_NEAR(RI[1], ci * P1[1], 1e-12);
    // Work-equivalent for any cubic field (derivative entries included).
    const Field f = polyField(3);
    const auto u = qstValues(f, kX, kY);
    const double work = triIntegral(kX, kY, [&](double x, double y) {
        double o[6];
        f.eval(x, y, o);
        return thicknessAt(kX, kY, kH, x, y) * (P1[0] * o[0] + P1[1] * o[1]);
    });
    double w = RI[0] * u[18] + RI[1] * u[19];
    for (int k = 0; k < 18; ++k) w += RE[k] * u[k];
    EXPECT_NEAR(w, work, 1e-11 * std::fabs(work));
    // Condensed: each external entry minus its row of G times the internal load.
    double REc[18], RIc[2];
    QST_Ld(REc, RIc, q.G, kX, kY, kH, P1, P0, P0, 0);
    for (int k = 0; k < 18; ++k)
        EXPECT_NEAR(REc[k], RE[k] - q.G[k] * RI[0] - q.G[k + 18] * RI[1], 1e-11);
    EXPECT_EQ(RIc[0], RI[0]);

    // Edge load, quadratic through start, end and mid-point values.
    const double E1[2] = {1.0, 2.0}, E2[2] = {-3.0, 0.5}, E3[2] = {2.0, -1.0};
    QST_Ld(RE, RI, q.G, kX, kY, kH, E1, E2, E3, -1);
    EXPECT_EQ(RI[0], 0.0);
    const double L = std::hypot(kX[1] - kX[0], kY[1] - kY[0]);
    const double dx = kX[1] - kX[0], dy = kY[1] - kY[0];
    EXPECT_NEAR(RE[0], L * (11 * E1[0] + 20 * E3[0] - E2[0]) / 60, 1e-12);
    EXPECT_NEAR(RE[3], dx * L * (E1[1] + 4 * E3[1]) / 60, 1e-12);
    EXPECT_NEAR(RE[4], dy * L * (E1[0] + 4 * E3[0]) / 60, 1e-12);
    EXPECT_NEAR(RE[6 + 1], L * (11 * E2[1] + 20 * E3[1] - E1[1]) / 60, 1e-12);
    EXPECT_NEAR(RE[6 + 2], -dx * L * (E2[0] + 4 * E3[0]) / 60, 1e-12);
    const double ew = segIntegral(kX[0], kY[0], kX[1], kY[1], [&](double s, double x, double y) {
        const double n1 = (1 - s) * (1 - 2 * s), n2 = s * (2 * s - 1), n3 = 4 * s * (1 - s);
        double o[6];
        f.eval(x, y, o);
        return (n1 * E1[0] + n2 * E2[0] + n3 * E3[0]) * o[0] +
               (n1 * E1[1] + n2 * E2[1] + n3 * E3[1]) * o[1];
    });
    w = 0.0;
    for (int k = 0; k < 18; ++k) w += RE[k] * u[k];
    EXPECT_NEAR(w, ew, 1e-11 * std::fabs(ew));

    // Initial strain of a uniform eps0: EK u0, internal share Kce u0 + Kcc uc0.
    const double eps[3] = {2e-3, -1e-3, 5e-4};
    const double EPS[9] = {eps[0], eps[1], eps[2], eps[0], eps[1], eps[2], eps[0], eps[1], eps[2]};
    const auto u0 = qstValues(uniformStrain(eps[0], eps[1], eps[2]), kX, kY);
    QST_Le(RE, RI, q.G, C.data(), kX, kY, kH, EPS);
    const Vec Ku = matVec(q.EK, 18, 18, u0.data());
    for (int k = 0; k < 18; ++k) EXPECT_NEAR(RE[k], Ku[k], 1e-12 * 1000) << k;
    const Vec Kfull = matVec(q.W2, 20, 20, u0.data());
    EXPECT_NEAR(RI[0], Kfull[18], 1e-12 * 1000);
    EXPECT_NEAR(RI[1], Kfull[19], 1e-12 * 1000);

    // Stress of a cubic field with its internal DOF: S ue + SC (internal load),
    // the internal load being the force that holds the internal DOF there.
    const Vec Kf = matVec(q.W2, 20, 20, u.data());
    const double t[2] = {Kf[18], Kf[19]};
    const double pts[4][3] = {{1, 0, 0}, {0, 1, 0}, {0.1, 0.2, 0.7}, {1.0 / 3, 1.0 / 3, 1.0 / 3}};
    for (const auto& L3 : pts) {
        double S[54], SC[6];
        QST_Str(S, SC, q.G, q.CKI, C.data(), kX, kY, L3);
        const Vec s = matVec(S, 3, 18, u.data());
        double o[6];
        f.eval(L3[0] * kX[0] + L3[1] * kX[1] + L3[2] * kX[2],
               L3[0] * kY[0] + L3[1] * kY[1] + L3[2] * kY[2], o);
        const double e[3] = {o[2], o[5], o[3] + o[4]};
        const auto se = applyC(C, e);
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(s[r] + SC[r] * t[0] + SC[r + 3] * t[1], se[r], 1e-11) << r;
    }
}

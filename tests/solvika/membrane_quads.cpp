// Membrane quadrilaterals Q4, Q6, Q8, Q9 and their kernels: Gauss rule,
// shape functions, ranks, patch tests, loads, initial strains and stresses.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "membrane_support.h"
#include "solver/solvika.h"

using namespace solvika;
using namespace membrane_test;

namespace {

constexpr std::int32_t kQ4[9] = {1, 1, 1, 1, 0, 0, 0, 0, 0};
constexpr std::int32_t kQ8[9] = {1, 1, 1, 1, 1, 1, 1, 1, 0};
constexpr std::int32_t kQ9[9] = {1, 1, 1, 1, 1, 1, 1, 1, -1};
constexpr std::int32_t kQ9own[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};

// A distorted quadrilateral (corners, then curved side nodes).
struct Quad {
    double X[9], Y[9];
};
Quad distorted() {
    Quad q{{0.0, 5.0, 6.0, 0.5, 2.6, 5.7, 3.1, 0.1, 0.0}, {0.0, 1.0, 5.0, 4.0, 0.3, 3.0, 4.7, 2.1, 0.0}};
    return q;
}
// Straight sides with exact mid-points.
Quad straight(const double* X, const double* Y) {
    Quad q{};
    for (int i = 0; i < 4; ++i) {
        q.X[i] = X[i];
        q.Y[i] = Y[i];
        q.X[4 + i] = 0.5 * (X[i] + X[(i + 1) % 4]);
        q.Y[4 + i] = 0.5 * (Y[i] + Y[(i + 1) % 4]);
        q.X[8] += 0.25 * X[i];
        q.Y[8] += 0.25 * Y[i];
    }
    return q;
}

// Nodal values (u, v per node) of a field at the first nn nodes.
std::vector<double> nodalValues(const Field& f, const Quad& q, int nn) {
    std::vector<double> u(2 * nn);
    for (int k = 0; k < nn; ++k) {
        double o[6];
        f.eval(q.X[k], q.Y[k], o);
        u[2 * k] = o[0];
        u[2 * k + 1] = o[1];
    }
    return u;
}

const double kH[4] = {1.0, 1.4, 1.2, 0.8};

// Q9 (condensed) stiffness and condensation data.
struct QuadK {
    std::vector<double> EK;
    double CD[36];
    int ierr = 99;
    QuadK(const double* C, const Quad& q, const std::int32_t* F, int ndof, int n, int mode = 0,
          const double* H = kH)
        : EK(ndof * ndof, -1.0) {
        QUAD_Sm(C, q.X, q.Y, H, F, ndof, n, mode, EK.data(), CD, ierr);
    }
};

} // namespace

TEST(MembraneKernels, GaussRule) {
    double xi[9], eta[9], w[9];
    for (int k = 0; k < 9; ++k) xi[k] = eta[k] = w[k] = 42.0;
    GAUSSQ(2, xi, eta, w);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(xi[k] + eta[k] + w[k], 126.0);
    GAUSSQ(1, xi, eta, w);
    EXPECT_EQ(xi[0], 0.0);
    EXPECT_EQ(w[0], 4.0);
    const double a = 0.5773502691896258, b = 0.7745966692414834;
    GAUSSQ(4, xi, eta, w);
    const double x4[4] = {-a, a, a, -a}, e4[4] = {-a, -a, a, a};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(xi[k], x4[k]);
        EXPECT_EQ(eta[k], e4[k]);
        EXPECT_EQ(w[k], 1.0);
    }
    GAUSSQ(9, xi, eta, w);
    const double x9[9] = {-b, b, b, -b, 0, b, 0, -b, 0}, e9[9] = {-b, -b, b, b, -b, 0, b, 0, 0};
    const double w9[9] = {25. / 81, 25. / 81, 25. / 81, 25. / 81, 40. / 81, 40. / 81, 40. / 81, 40. / 81, 64. / 81};
    double s = 0.0;
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(xi[k], x9[k]);
        EXPECT_EQ(eta[k], e9[k]);
        EXPECT_DOUBLE_EQ(w[k], w9[k]);
        s += w[k] * std::pow(xi[k], 4) * std::pow(eta[k], 4);
    }
    EXPECT_NEAR(s, 4.0 / 25.0, 1e-14); // degree 5 per direction is exact
}

TEST(MembraneKernels, ShapeFunctionsReproduceAffineMaps) {
    // An affine map x = 1 + 2 xi + 0.5 eta, y = -1 + 0.3 xi + 1.5 eta.
    Quad q{};
    const double xn[9] = {-1, 1, 1, -1, 0, 1, 0, -1, 0}, en[9] = {-1, -1, 1, 1, -1, 0, 1, 0, 0};
    for (int k = 0; k < 9; ++k) {
        q.X[k] = 1 + 2 * xn[k] + 0.5 * en[k];
        q.Y[k] = -1 + 0.3 * xn[k] + 1.5 * en[k];
    }
    const double detExact = 2 * 1.5 - 0.3 * 0.5;
    const std::int32_t* sets[] = {kQ4, kQ8, kQ9, kQ9own};
    const int nodes[] = {4, 8, 9, 9};
    for (int s = 0; s < 4; ++s) {
        const std::int32_t* F = sets[s];
        for (const auto& pt : {std::array<double, 2>{0.3, -0.7}, std::array<double, 2>{-1, 1}}) {
            double S[27], det = 0.0;
            SHAPQ(pt[0], pt[1], q.X, q.Y, F, 1, det, S);
            EXPECT_NEAR(det, detExact, 1e-13) << s;
            double sum = 0.0, x = 0.0, gx = 0.0, gy = 0.0;
            for (int k = 0; k < nodes[s]; ++k) {
                if (k == 8 && F[8] < 0) continue; // hierarchical centre: no nodal value
                sum += S[2 + 3 * k];
                x += S[2 + 3 * k] * q.X[k];
                const double f = 3.0 - 2.0 * q.X[k] + 5.0 * q.Y[k]; // linear in x, y
                gx += S[3 * k] * f;
                gy += S[1 + 3 * k] * f;
            }
            EXPECT_NEAR(sum, 1.0, 1e-14) << s;
            EXPECT_NEAR(x, 1 + 2 * pt[0] + 0.5 * pt[1], 1e-13) << s;
            EXPECT_NEAR(gx, -2.0, 1e-12) << s;
            EXPECT_NEAR(gy, 5.0, 1e-12) << s;
        }
        // Interpolating: N_k = 1 at node k (Q4, Q8, Lagrange Q9).
        if (F[8] >= 0)
            for (int k = 0; k < nodes[s]; ++k) {
                double S[27], det = 0.0;
                SHAPQ(xn[k], en[k], q.X, q.Y, F, -1, det, S);
                for (int m = 0; m < nodes[s]; ++m) EXPECT_NEAR(S[2 + 3 * m], m == k ? 1.0 : 0.0, 1e-14);
            }
    }
    // SHAPQ6: corners as SHAPQ, modes 1 - xi^2, 1 - eta^2 with global derivatives.
    double S6[18], det6 = 0.0;
    SHAPQ6(0.4, -0.2, q.X, q.Y, 1, det6, S6);
    EXPECT_NEAR(det6, detExact, 1e-13);
    EXPECT_NEAR(S6[14], 1 - 0.16, 1e-15);
    EXPECT_NEAR(S6[17], 1 - 0.04, 1e-15);
    // d(1 - xi^2)/dx: xi = (1.5 (x - 1) - 0.5 (y + 1)) / det.
    EXPECT_NEAR(S6[12], -2 * 0.4 * 1.5 / detExact, 1e-13);
    EXPECT_NEAR(S6[13], -2 * 0.4 * -0.5 / detExact, 1e-13);

    // det <= 0 (clockwise corners): det returned, derivatives divided by 1.0.
    const double Xc[4] = {0, 0, 2, 2}, Yc[4] = {0, 2, 2, 0};
    double S[27], det = 0.0;
    SHAPQ(0.0, 0.0, Xc, Yc, kQ4, 1, det, S);
    EXPECT_NEAR(det, -1.0, 1e-15);
    // Natural derivatives of N1 at the centre are (-1/4, -1/4); J = [0 1; 1 0].
    EXPECT_NEAR(S[0], (0.0 * -0.25 - 1.0 * -0.25), 1e-15);
    EXPECT_NEAR(S[1], (0.0 * -0.25 - 1.0 * -0.25), 1e-15);
    SHAPQ6(0.0, 0.0, Xc, Yc, 1, det, S);
    EXPECT_NEAR(det, -1.0, 1e-15);
    EXPECT_NEAR(S[0], 0.25, 1e-15);
}

TEST(MembraneQuad, RanksAndIntegrationChoice) {
    const auto C = packed(isoFull(1000.0, 0.25));
    const Quad d = distorted();
    struct Case {
        const std::int32_t* F;
        int ndof, n, rank;
    };
    const Case cases[] = {
        {kQ4, 8, 4, 5}, {kQ4, 8, 1, 3}, {kQ8, 16, 9, 13}, {kQ8, 16, 4, 12}, {kQ8, 16, 0, 12},
        {kQ9, 16, 9, 13}, {kQ9, 16, 7, 13}, {kQ9own, 18, 9, 15},
    };
    for (const Case& c : cases) {
        const Quad q = c.F == kQ4 ? d : straight(d.X, d.Y);
        QuadK k(C.data(), c.F == kQ9own ? straight(d.X, d.Y) : q, c.F, c.ndof, c.n);
        ASSERT_EQ(k.ierr, 0) << c.ndof << " " << c.n;
        EXPECT_EQ(rankSym(k.EK.data(), c.ndof), c.rank) << c.ndof << " n=" << c.n;
        EXPECT_LT(maxAsym(k.EK.data(), c.ndof), 1e-12 * k.EK[0]);
    }
    // n = 2 becomes 4 without a centre node and 9 with one.
    QuadK a(C.data(), d, kQ4, 8, 2), b(C.data(), d, kQ4, 8, 4);
    EXPECT_EQ(a.EK, b.EK);
    const Quad s = straight(d.X, d.Y);
    QuadK c9(C.data(), s, kQ9, 16, 2), d9(C.data(), s, kQ9, 16, 9);
    EXPECT_EQ(c9.EK, d9.EK);
    // Mode -1 forms the same condensation data only; without a centre: -3.
    QuadK e9(C.data(), s, kQ9, 16, 9, -1);
    EXPECT_EQ(e9.ierr, 0);
    for (int k = 0; k < 36; ++k) EXPECT_EQ(e9.CD[k], d9.CD[k]);
    EXPECT_EQ(e9.EK[0], -1.0);
    EXPECT_EQ(QuadK(C.data(), s, kQ8, 16, 9, -1).ierr, -3);
    // A singular centre block: -2.
    const std::array<double, 6> zero{};
    EXPECT_EQ(QuadK(zero.data(), s, kQ9, 16, 9).ierr, -2);
}

TEST(MembraneQuad, ReentrantCornerRefusedEverywhere) {
    const auto C = packed(isoFull(1000.0, 0.25));
    const Quad r = straight(std::array<double, 4>{0, 4, 1, 0}.data(), std::array<double, 4>{0, 0, 1, 4}.data());
    for (const std::int32_t* F : {kQ4, kQ8, kQ9}) {
        const int ndof = F == kQ4 ? 8 : 16;
        std::vector<double> EK(ndof * ndof), RE(ndof), S(3 * ndof);
        double CD[36] = {}, RI[2], SC[6], P1[2] = {1, 1}, P2[2] = {1, 1};
        int ierr = 0;
        QUAD_Sm(C.data(), r.X, r.Y, kH, F, ndof, 4, 0, EK.data(), CD, ierr);
        EXPECT_EQ(ierr, -1);
        QUAD_Ld(RE.data(), r.X, r.Y, kH, F, ndof, 4, 0, P1, P2, CD, ierr);
        EXPECT_EQ(ierr, -1);
        const double EPS[12] = {1e-3, 0, 0, 1e-3, 0, 0, 1e-3, 0, 0, 1e-3, 0, 0};
        QUAD_Le(RE.data(), RI, C.data(), r.X, r.Y, kH, F, ndof, 4, EPS, CD, ierr);
        EXPECT_EQ(ierr, -1);
        QUAD_Str(S.data(), SC, C.data(), r.X, r.Y, 0.57, 0.57, F, ndof, CD, ierr);
        EXPECT_EQ(ierr, -1);
    }
    double EK[64];
    int ierr = 0;
    Q6_Sm(C.data(), r.X, r.Y, kH, EK, ierr);
    EXPECT_EQ(ierr, -1);
    const double F8[8] = {}, pt[1] = {0.0};
    double sig[3];
    Q6_Str(F8, r.X, r.Y, kH, pt, pt, 1, sig, ierr);
    EXPECT_EQ(ierr, -1);
}

// Patch of 2 x 2 distorted elements on a 5 x 5 node grid (corners at even
// grid positions): boundary nodes follow a linear field, the inner nodes
// must come out exactly on it and the stresses be uniform.
TEST(MembraneQuad, PatchTestOnDistortedElements) {
    const auto Cf = anisoFull();
    const auto C = packed(Cf);
    double gx[25], gy[25];
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            const bool inner = i > 0 && i < 4 && j > 0 && j < 4;
            gx[i + 5 * j] = 2.5 * i + (inner ? 0.37 * std::sin(1.3 * i + 2.1 * j) : 0.0);
            gy[i + 5 * j] = 2.0 * j + (inner ? 0.29 * std::cos(0.7 * i + 1.9 * j) : 0.0);
        }
    const double eps[3] = {1e-3, -4e-4, 7e-4};
    const Field f = uniformStrain(eps[0], eps[1], eps[2]);
    const auto sig = applyC(Cf, eps);
    constexpr std::int32_t kQ6[9] = {1, 1, 1, 1, 0, 0, 0, 0, 0};
    for (const std::int32_t* F : {kQ4, kQ6, kQ8, kQ9}) {
        const bool q4 = F == kQ4 || F == kQ6;
        const int ndof = q4 ? 8 : 16;
        // Q4: a 4 x 4 patch on every grid node; Q8, Q9: 2 x 2 on the 5 x 5 grid.
        const int ne = q4 ? 4 : 2, step = q4 ? 1 : 2;
        std::vector<double> K(50 * 50, 0.0);
        std::vector<bool> used(25, false);
        for (int ej = 0; ej < ne; ++ej)
            for (int ei = 0; ei < ne; ++ei) {
                const int i0 = ei * step, j0 = ej * step, h = step / 2;
                int nodes[8] = {i0 + 5 * j0, i0 + step + 5 * j0, i0 + step + 5 * (j0 + step),
                                i0 + 5 * (j0 + step), 0, 0, 0, 0};
                if (!q4) {
                    nodes[4] = i0 + h + 5 * j0;
                    nodes[5] = i0 + step + 5 * (j0 + h);
                    nodes[6] = i0 + h + 5 * (j0 + step);
                    nodes[7] = i0 + 5 * (j0 + h);
                }
                Quad q{};
                for (int k = 0; k < ndof / 2; ++k) {
                    q.X[k] = gx[nodes[k]];
                    q.Y[k] = gy[nodes[k]];
                    used[nodes[k]] = true;
                }
                const double H[4] = {1.3, 1.3, 1.3, 1.3}; // continuous across elements
                QuadK k(C.data(), q, F, ndof, 0, 0, H);
                if (F == kQ6) Q6_Sm(C.data(), q.X, q.Y, H, k.EK.data(), k.ierr);
                ASSERT_EQ(k.ierr, 0);
                for (int a = 0; a < ndof; ++a)
                    for (int b = 0; b < ndof; ++b)
                        K[(2 * nodes[a / 2] + a % 2) + 50 * (2 * nodes[b / 2] + b % 2)] += k.EK[a + ndof * b];
                // Stresses of the exact nodal values are uniform.
                Quad qq = q;
                const auto ue = nodalValues(f, qq, ndof / 2);
                std::vector<double> S(3 * ndof);
                double SC[6];
                int ierr = 0;
                QUAD_Str(S.data(), SC, C.data(), q.X, q.Y, 0.3, -0.8, F, ndof, k.CD, ierr);
                ASSERT_EQ(ierr, 0);
                Vec s = matVec(S.data(), 3, ndof, ue.data());
                if (F == kQ6) {
                    const Vec Fn = matVec(k.EK.data(), 8, 8, ue.data());
                    const double xi = 0.3, eta = -0.8;
                    Q6_Str(Fn.data(), q.X, q.Y, H, &xi, &eta, 1, s.data(), ierr);
                    ASSERT_EQ(ierr, 0);
                }
                for (int r = 0; r < 3; ++r) EXPECT_NEAR(s[r], sig[r], 1e-10);
            }
        // Solve for the free inner nodes with the boundary on the field.
        std::vector<int> freeDof, fixedDof;
        for (int n = 0; n < 25; ++n) {
            if (!used[n]) continue;
            const int i = n % 5, j = n / 5;
            const bool inner = i > 0 && i < 4 && j > 0 && j < 4;
            for (int c = 0; c < 2; ++c) (inner ? freeDof : fixedDof).push_back(2 * n + c);
        }
        std::vector<double> ufix(50, 0.0);
        for (int n = 0; n < 25; ++n) {
            double o[6];
            f.eval(gx[n], gy[n], o);
            ufix[2 * n] = o[0];
            ufix[2 * n + 1] = o[1];
        }
        const int nf = static_cast<int>(freeDof.size());
        Vec A(nf * nf), rhs(nf, 0.0);
        for (int a = 0; a < nf; ++a) {
            for (int b = 0; b < nf; ++b) A[a + nf * b] = K[freeDof[a] + 50 * freeDof[b]];
            for (int d : fixedDof) rhs[a] -= K[freeDof[a] + 50 * d] * ufix[d];
        }
        const Vec u = solve(A, rhs, nf);
        for (int a = 0; a < nf; ++a) EXPECT_NEAR(u[a], ufix[freeDof[a]], 1e-12) << a << " ndof " << ndof << " F9 " << F[8];
    }
}

TEST(MembraneQuad, EdgeAndAreaLoads) {
    const Quad d = distorted();
    const Quad s = straight(d.X, d.Y);
    double CD[36] = {};
    int ierr = 0;
    // Uniform edge load: Q4 L p / 2 at each end; Q8 L p/6, L p/6, 2 L p/3.
    const double L1 = std::hypot(d.X[1] - d.X[0], d.Y[1] - d.Y[0]);
    double p[2] = {0.0, 3.0}, q[2] = {0.0, 3.0};
    double RE[16];
    QUAD_Ld(RE, d.X, d.Y, kH, kQ4, 8, 4, -1, p, q, CD, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_NEAR(RE[1], 1.5 * L1, 1e-12);
    EXPECT_NEAR(RE[3], 1.5 * L1, 1e-12);
    QUAD_Ld(RE, s.X, s.Y, kH, kQ8, 16, 4, -1, p, q, CD, ierr);
    EXPECT_NEAR(RE[1], 0.5 * L1, 1e-12);
    EXPECT_NEAR(RE[3], 0.5 * L1, 1e-12);
    EXPECT_NEAR(RE[9], 2.0 * L1, 1e-12);
    // A triangular load on a side without a mid node: 1/6 and 1/3 of L p,
    // so that its resultant sits at two thirds of the side.
    const double L3 = std::hypot(d.X[3] - d.X[2], d.Y[3] - d.Y[2]);
    double z[2] = {0.0, 0.0}, t[2] = {6.0, 0.0};
    QUAD_Ld(RE, d.X, d.Y, kH, kQ4, 8, 4, -3, z, t, CD, ierr);
    EXPECT_NEAR(RE[4], L3, 1e-12);
    EXPECT_NEAR(RE[6], 2.0 * L3, 1e-12);
    // Side axes on side 4 (from corner 4 to corner 1): turned to global axes.
    double n1[2] = {0.0, 1.0}, n2[2] = {0.0, 1.0};
    QUAD_Ld(RE, d.X, d.Y, kH, kQ4, 8, 4, 4, n1, n2, CD, ierr);
    const double L4 = std::hypot(d.X[0] - d.X[3], d.Y[0] - d.Y[3]);
    const double cs = (d.X[0] - d.X[3]) / L4, sn = (d.Y[0] - d.Y[3]) / L4;
    EXPECT_NEAR(RE[6], -sn * L4 / 2, 1e-12);
    EXPECT_NEAR(RE[7], cs * L4 / 2, 1e-12);
    EXPECT_NEAR(RE[0], -sn * L4 / 2, 1e-12);

    // Area load: work-equivalent to the integral of t p u for fields the element holds.
    const auto C = packed(isoFull(1000.0, 0.25));
    for (const std::int32_t* F : {kQ4, kQ8, kQ9}) {
        const int ndof = F == kQ4 ? 8 : 16;
        const Quad& g = F == kQ4 ? d : s;
        QuadK k(C.data(), g, F, ndof, 9);
        ASSERT_EQ(k.ierr, 0);
        double P1[2] = {2.0, -1.0}, P2[2] = {0, 0};
        std::vector<double> R(ndof);
        QUAD_Ld(R.data(), g.X, g.Y, kH, F, ndof, 9, 0, P1, P2, k.CD, ierr);
        ASSERT_EQ(ierr, 0);
        // Uncondensed external load R + Kec Kcc^-1 RI: a partition of unity,
        // so its sums are the total force (t integrated over the area).
        double RI[2] = {0.0, 0.0};
        if (F == kQ9) {
            RI[0] = P1[0];
            RI[1] = P1[1];
            const double z0 = k.CD[32] * RI[0] + k.CD[34] * RI[1];
            const double z1 = k.CD[33] * RI[0] + k.CD[35] * RI[1];
            for (int i = 0; i < ndof; ++i) R[i] += k.CD[2 * i] * z0 + k.CD[2 * i + 1] * z1;
            EXPECT_GT(std::fabs(RI[0]), 1.0);
        }
        double sx = 0.0, sy = 0.0, vol = 0.0;
        for (int i = 0; i < ndof / 2; ++i) {
            sx += R[2 * i];
            sy += R[2 * i + 1];
        }
        double gxi[9], geta[9], gw[9];
        GAUSSQ(9, gxi, geta, gw);
        for (int pnt = 0; pnt < 9; ++pnt) {
            double S[27], det = 0.0;
            SHAPQ(gxi[pnt], geta[pnt], g.X, g.Y, F, 0, det, S);
            double th = 0.0;
            for (int i = 0; i < 4; ++i)
                th += kH[i] * 0.25 * (1 + (i == 1 || i == 2 ? 1 : -1) * gxi[pnt]) *
                      (1 + (i >= 2 ? 1 : -1) * geta[pnt]);
            vol += gw[pnt] * det * th;
        }
        EXPECT_NEAR(sx, 2.0 * vol, 1e-11);
        EXPECT_NEAR(sy, -1.0 * vol, 1e-11);
    }
}

TEST(MembraneQuad, InitialStrainAndStressWithCentreNode) {
    const auto Cf = anisoFull();
    const auto C = packed(Cf);
    const Quad d = distorted();
    const double eps[3] = {2e-3, -1e-3, 5e-4};
    const double EPS[12] = {eps[0], eps[1], eps[2], eps[0], eps[1], eps[2],
                            eps[0], eps[1], eps[2], eps[0], eps[1], eps[2]};
    const Field f0 = uniformStrain(eps[0], eps[1], eps[2]);
    for (const std::int32_t* F : {kQ4, kQ8, kQ9}) {
        for (int n : {1, 4, 9}) {
            if (F == kQ9 && n == 1) continue; // the centre block vanishes at the centre
            const int ndof = F == kQ4 ? 8 : 16;
            QuadK k(C.data(), d, F, ndof, n);
            ASSERT_EQ(k.ierr, 0);
            std::vector<double> RE(ndof);
            double RI[2] = {7, 7};
            int ierr = 0;
            QUAD_Le(RE.data(), RI, C.data(), d.X, d.Y, kH, F, ndof, n, EPS, k.CD, ierr);
            ASSERT_EQ(ierr, 0);
            const auto u0 = nodalValues(f0, d, ndof / 2);
            const Vec Ku = matVec(k.EK.data(), ndof, ndof, u0.data());
            for (int i = 0; i < ndof; ++i) EXPECT_NEAR(RE[i], Ku[i], 1e-12 * 1000) << i;
            // The centre share comes back: Kce u0 (the linear field has no bubble).
            double kce[2] = {0.0, 0.0};
            if (F == kQ9)
                for (int i = 0; i < ndof; ++i) {
                    kce[0] += k.CD[2 * i] * u0[i];
                    kce[1] += k.CD[2 * i + 1] * u0[i];
                }
            EXPECT_NEAR(RI[0], kce[0], 1e-12 * 1000);
            EXPECT_NEAR(RI[1], kce[1], 1e-12 * 1000);
        }
    }
    // Q9 stress of a field with a centre bubble: S ue + SC (stored internal
    // load), the internal load being Kce ue + Kcc uc.
    const Quad s = straight(d.X, d.Y);
    QuadK k(C.data(), s, kQ9, 16, 9);
    ASSERT_EQ(k.ierr, 0);
    const Field lin = uniformStrain(1e-3, 2e-4, -3e-4);
    const auto ue = nodalValues(lin, s, 8);
    const double uc[2] = {4e-3, -2e-3};
    const double det = k.CD[32] * k.CD[35] - k.CD[33] * k.CD[34];
    const double Kcc[4] = {k.CD[35] / det, -k.CD[33] / det, -k.CD[34] / det, k.CD[32] / det};
    double t[2] = {Kcc[0] * uc[0] + Kcc[2] * uc[1], Kcc[1] * uc[0] + Kcc[3] * uc[1]};
    for (int i = 0; i < 16; ++i) {
        t[0] += k.CD[2 * i] * ue[i];
        t[1] += k.CD[2 * i + 1] * ue[i];
    }
    for (const auto& pt : {std::array<double, 2>{0.2, -0.6}, std::array<double, 2>{-1.0, 1.0}}) {
        double S[48], SC[6], SH[27], dj = 0.0;
        int ierr = 0;
        QUAD_Str(S, SC, C.data(), s.X, s.Y, pt[0], pt[1], kQ9, 16, k.CD, ierr);
        ASSERT_EQ(ierr, 0);
        const Vec sg = matVec(S, 3, 16, ue.data());
        // Exact: C (eps of the linear field + eps of the bubble uc N9).
        SHAPQ(pt[0], pt[1], s.X, s.Y, kQ9, 1, dj, SH);
        const double e[3] = {1e-3 + uc[0] * SH[24], 2e-4 + uc[1] * SH[25],
                             -3e-4 + uc[0] * SH[25] + uc[1] * SH[24]};
        const auto se = applyC(Cf, e);
        for (int r = 0; r < 3; ++r) EXPECT_NEAR(sg[r] + SC[r] * t[0] + SC[r + 3] * t[1], se[r], 1e-11);
    }
}

TEST(MembraneQ6, RankPatchAndPureBending) {
    const auto Cf = isoFull(1000.0, 0.3);
    const auto C = packed(Cf);
    const Quad d = distorted();
    double EK[64];
    int ierr = 0;
    Q6_Sm(C.data(), d.X, d.Y, kH, EK, ierr);
    ASSERT_EQ(ierr, 0);
    EXPECT_EQ(rankSym(EK, 8), 5);
    EXPECT_LT(maxAsym(EK, 8), 1e-12 * EK[0]);
    const double H0[4] = {0.0, 0.0, 0.0, 0.0};
    Q6_Sm(C.data(), d.X, d.Y, H0, EK, ierr);
    EXPECT_EQ(ierr, -3); // no volume
    const std::array<double, 6> zero{};
    Q6_Sm(zero.data(), d.X, d.Y, kH, EK, ierr);
    EXPECT_EQ(ierr, -2); // the internal block cannot be factorised
    Q6_Sm(C.data(), d.X, d.Y, kH, EK, ierr);

    // Constant strain on a distorted element: K u equals the nodal forces of
    // the uniform stress, so Q6_Str gives it back at any point (the patch
    // test of the Q6 runs with the other quadrilaterals).
    const double eps[3] = {1e-3, -4e-4, 7e-4};
    const Field f = uniformStrain(eps[0], eps[1], eps[2]);
    const auto sig = applyC(Cf, eps);
    const auto u = nodalValues(f, d, 4);
    const Vec Fn = matVec(EK, 8, 8, u.data());
    const double xi[3] = {-0.577, 0.9, 0.0}, eta[3] = {-0.577, 0.1, 0.0};
    double s[9];
    Q6_Str(Fn.data(), d.X, d.Y, kH, xi, eta, 3, s, ierr);
    ASSERT_EQ(ierr, 0);
    for (int p = 0; p < 3; ++p)
        for (int r = 0; r < 3; ++r) EXPECT_NEAR(s[r + 3 * p], sig[r], 1e-9) << p;
    // Pure bending of a rectangle, one element through the depth: the field
    // u = k x y, v = -k (x^2 + nu y^2)/2 is held exactly, so K u equals the
    // consistent end forces of sigma_x = E k y and Q6_Str returns that stress.
    const double a = 8.0, h = 2.0, kap = 1e-4, E = 1000.0, nu = 0.3;
    const double X[4] = {0, a, a, 0}, Y[4] = {-h / 2, -h / 2, h / 2, h / 2};
    const double H[4] = {1.5, 1.5, 1.5, 1.5};
    Q6_Sm(C.data(), X, Y, H, EK, ierr);
    ASSERT_EQ(ierr, 0);
    double ub[8];
    for (int k = 0; k < 4; ++k) {
        ub[2 * k] = kap * X[k] * Y[k];
        ub[2 * k + 1] = -kap * (X[k] * X[k] + nu * Y[k] * Y[k]) / 2;
    }
    const Vec Fb = matVec(EK, 8, 8, ub);
    const double m = 1.5 * E * kap * h * h / 12.0;
    const double expect[8] = {m, 0, -m, 0, m, 0, -m, 0};
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(Fb[k], expect[k], 1e-12) << k;
    const double bx[2] = {0.3, -1.0}, by[2] = {0.5, 1.0};
    Q6_Str(Fb.data(), X, Y, H, bx, by, 2, s, ierr);
    ASSERT_EQ(ierr, 0);
    for (int p = 0; p < 2; ++p) {
        EXPECT_NEAR(s[3 * p], E * kap * by[p] * h / 2, 1e-12);
        EXPECT_NEAR(s[3 * p + 1], 0.0, 1e-12);
        EXPECT_NEAR(s[3 * p + 2], 0.0, 1e-12);
    }
}

TEST(MembraneQ6, CompatibleFieldOfAScalarFunction) {
    const Quad d = distorted();
    const double GJ[2] = {2e-5, -7e-6};
    const double xm = 0.25 * (d.X[0] + d.X[1] + d.X[2] + d.X[3]);
    const double ym = 0.25 * (d.Y[0] + d.Y[1] + d.Y[2] + d.Y[3]);
    // phi = a + b dx + c dy; the field u, v below has eps_x = G phi,
    // eps_y = J phi and gamma = 0 (checked by central differences).
    for (const auto& abc : {std::array<double, 3>{3, 0, 0}, std::array<double, 3>{0, 1.5, 0},
                            std::array<double, 3>{1, -0.5, 2}}) {
        double fv[4], U[8];
        for (int i = 0; i < 4; ++i) fv[i] = abc[0] + abc[1] * (d.X[i] - xm) + abc[2] * (d.Y[i] - ym);
        int ierr = 7;
        Q6_Int(fv, GJ, d.X, d.Y, U, ierr);
        ASSERT_EQ(ierr, 0);
        // Reconstruct the quadratic field from u at the corners' own formula
        // and check its strains numerically at an inner point.
        const auto field = [&](double x, double y, double& u, double& v) {
            const double dx = x - xm, dy = y - ym, G = GJ[0], J = GJ[1];
            u = G * dx * (abc[0] + abc[2] * dy) + 0.5 * abc[1] * (G * dx * dx - J * dy * dy);
            v = J * dy * (abc[0] + abc[1] * dx) + 0.5 * abc[2] * (J * dy * dy - G * dx * dx);
        };
        for (int i = 0; i < 4; ++i) {
            double u, v;
            field(d.X[i], d.Y[i], u, v);
            EXPECT_NEAR(U[2 * i], u, 1e-15);
            EXPECT_NEAR(U[2 * i + 1], v, 1e-15);
        }
        const double x = 2.2, y = 1.7, e = 1e-3;
        double up, vp, um, vm, uq, vq, un, vn;
        field(x + e, y, up, vp);
        field(x - e, y, um, vm);
        field(x, y + e, uq, vq);
        field(x, y - e, un, vn);
        const double phi = abc[0] + abc[1] * (x - xm) + abc[2] * (y - ym);
        EXPECT_NEAR((up - um) / (2 * e), GJ[0] * phi, 1e-12);
        EXPECT_NEAR((vq - vn) / (2 * e), GJ[1] * phi, 1e-12);
        EXPECT_NEAR((uq - un) / (2 * e) + (vp - vm) / (2 * e), 0.0, 1e-12);
    }
    // Corners on one line: the fit cannot be solved.
    const double X[4] = {0, 1, 2, 3}, Y[4] = {0, 1, 2, 3}, fv[4] = {1, 2, 3, 4};
    double U[8];
    int ierr = 0;
    Q6_Int(fv, GJ, X, Y, U, ierr);
    EXPECT_LT(ierr, 0);
}

// Geometric stiffness of the plate-bending triangles: DKT/TEBA (9 DOF) and
// the higher-order triangles T15, T18 and T21, per element and per node.
#include "solver/solvika.h"
#include "tests/solvika/plate_higher_oracle.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace
{

using higher_test::Kind;
using higher_test::Poly;
using higher_test::Tri;
using solvika::test::Dense;

double maxAbs(const std::vector<double>& a)
{
    double m = 0.0;
    for (double v : a)
        m = std::max(m, std::fabs(v));
    return m;
}

double quadraticForm(const std::vector<double>& K, const std::vector<double>& v)
{
    const int n = static_cast<int>(v.size());
    double s = 0.0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            s += v[i] * K[i + n * j] * v[j];
    return s;
}

// ---- DKT / TEBA -----------------------------------------------------------

TEST(DktKg, DeflectionBlockIsMinusThicknessAreaGradientsStressGradients)
{
    const Tri tri{{0.3, 4.1, 1.2}, {-0.2, 0.9, 3.4}};
    const double T[3] = {2.0, 3.0, 7.0};
    const double S[3] = {-1.5, 0.7, 0.4};
    std::vector<double> KG(81, 99.0);
    solvika::DKT_KG(KG.data(), tri.x, tri.y, T, S);

    const double tm = 4.0, A = tri.area();
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j) {
            double ref = 0.0;
            if (i % 3 == 0 && j % 3 == 0) {
                const Poly Li = higher_test::areaCoordinate(tri, i / 3);
                const Poly Lj = higher_test::areaCoordinate(tri, j / 3);
                const double gix = Li.c[1][0], giy = Li.c[0][1];
                const double gjx = Lj.c[1][0], gjy = Lj.c[0][1];
                ref = -tm * A * (gix * (S[0] * gjx + S[2] * gjy) + giy * (S[2] * gjx + S[1] * gjy));
            }
            EXPECT_NEAR(KG[i + 9 * j], ref, 1e-13) << i << "," << j;
        }
}

TEST(DktKg, RigidTranslationAndHorizontalEdge)
{
    // Edge 1-2 horizontal: with Sx alone, corner 3 (b3 = 0) takes nothing.
    const double X[3] = {0.0, 5.0, 1.5}, Y[3] = {1.0, 1.0, 4.0};
    const double T[3] = {1.0, 1.0, 1.0};
    const double S[3] = {-3.0, 0.0, 0.0};
    std::vector<double> KG(81);
    solvika::DKT_KG(KG.data(), X, Y, T, S);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(KG[6 + 9 * k], 0.0);
        EXPECT_EQ(KG[k + 9 * 6], 0.0);
    }
    EXPECT_GT(KG[0], 0.0);

    const double S2[3] = {-1.0, 2.0, 0.8};
    solvika::DKT_KG(KG.data(), X, Y, T, S2);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(KG[i] + KG[i + 27] + KG[i + 54], 0.0, 1e-13);
}

TEST(DktKg, CompressionPositiveSemiDefiniteClockwiseZero)
{
    const double X[3] = {0.0, 3.0, 0.5}, Y[3] = {0.0, 0.4, 2.0};
    const double T[3] = {0.5, 1.0, 1.5};
    const double S[3] = {-2.0, -1.0, 0.5}; // both principal stresses compressive
    std::vector<double> KG(81);
    solvika::DKT_KG(KG.data(), X, Y, T, S);
    const auto ev = plate_test::symEigenvalues(KG, 9);
    EXPECT_GT(ev.back(), 0.0);
    EXPECT_GT(ev.front(), -1e-12 * ev.back());

    const double Xc[3] = {0.0, 0.5, 3.0}, Yc[3] = {0.0, 2.0, 0.4};
    std::fill(KG.begin(), KG.end(), 5.0);
    solvika::DKT_KG(KG.data(), Xc, Yc, T, S);
    EXPECT_EQ(maxAbs(KG), 0.0);
}

// ---- T15, T18, T21 ----------------------------------------------------------

struct HigherCase {
    Kind kind;
    const char* name;
};

class HigherKg : public ::testing::TestWithParam<HigherCase>
{
protected:
    int n() const { return higher_test::dofCount(GetParam().kind); }

    std::vector<double> kg(const Tri& t, const double* T, const double* S, bool perNode) const
    {
        std::vector<double> K(std::size_t(n() * n()), 77.0);
        std::vector<double> W(441, 0.0);
        const double* x = t.x;
        const double* y = t.y;
        switch (GetParam().kind) {
        case Kind::T15:
            perNode ? solvika::T15_KGN(K.data(), x, y, T, S)
                    : solvika::T15_KG(K.data(), x, y, T, S);
            break;
        default:
            perNode ? solvika::HTB_KGN(K.data(), x, y, T, S, n(), W.data())
                    : solvika::HTB_KG(K.data(), x, y, T, S, n(), W.data());
        }
        return K;
    }

    // -integral of t (Sx w,x^2 + Sy w,y^2 + 2 Sxy w,x w,y) for the fields u
    // and w (bilinear), t and S linear between the corner values, by a rule.
    static double form(const Tri& t, const Poly& u, const Poly& w, const double* T, const double* S,
                       const higher_test::Rule& rule)
    {
        const Poly ux = u.dx(), uy = u.dy(), wx = w.dx(), wy = w.dy();
        double s = 0.0;
        for (std::size_t p = 0; p < rule.w.size(); ++p) {
            const auto& L = rule.L[p];
            double x, y;
            higher_test::pointAt(t, L, x, y);
            const double th = L[0] * T[0] + L[1] * T[1] + L[2] * T[2];
            double sp[3];
            for (int c = 0; c < 3; ++c)
                sp[c] = L[0] * S[c] + L[1] * S[c + 3] + L[2] * S[c + 6];
            const double a = ux(x, y), b = uy(x, y), c = wx(x, y), d = wy(x, y);
            s -= rule.w[p] * t.area() * th *
                 (sp[0] * a * c + sp[1] * b * d + sp[2] * (a * d + b * c));
        }
        return s;
    }

    std::vector<double> dofs(const Tri& t, const Poly& w) const
    {
        auto v = higher_test::dofs(t, GetParam().kind, w);
        v.resize(std::size_t(n()));
        return v;
    }
};

const Tri kTri{{0.2, 3.7, 1.1}, {0.1, 0.8, 2.9}};

TEST_P(HigherKg, MatchesSevenPointIntegrationOfTheShapeFunctions)
{
    const double T[3] = {1.0, 1.6, 0.7};
    const double Sn[9] = {-1.0, 0.3, 0.2, -0.4, -0.9, 0.5, 0.6, -1.2, -0.1};
    const auto Knode = kg(kTri, T, Sn, true);
    const double Se[3] = {-1.3, 0.4, 0.25};
    const auto Kel = kg(kTri, T, Se, false);

    // Reference: the same quadratic form over the shape functions (the
    // columns of the inverted DOF evaluation) with the same rule.
    const Dense H = higher_test::coefficients(kTri, GetParam().kind);
    const auto m = higher_test::basis(kTri, GetParam().kind);
    const auto rule = higher_test::sevenPointRule();
    const double tm = (T[0] + T[1] + T[2]) / 3.0;
    const double Tm[3] = {tm, tm, tm};
    const double Sc[9] = {Se[0], Se[1], Se[2], Se[0], Se[1], Se[2], Se[0], Se[1], Se[2]};
    std::vector<Poly> N;
    for (int i = 1; i <= n(); ++i) {
        Poly s = m[0] * 0.0;
        for (std::size_t k = 0; k < m.size(); ++k)
            s = s + m[k] * H(int(k) + 1, i);
        N.push_back(s);
    }
    double scale = 0.0;
    for (double v : Knode)
        scale = std::max(scale, std::fabs(v));
    for (int i = 0; i < n(); ++i)
        for (int j = 0; j < n(); ++j) {
            EXPECT_NEAR(Knode[i + n() * j], form(kTri, N[i], N[j], T, Sn, rule), 1e-9 * scale)
                << i << "," << j;
            EXPECT_NEAR(Kel[i + n() * j], form(kTri, N[i], N[j], Tm, Sc, rule), 1e-9 * scale)
                << i << "," << j;
            EXPECT_EQ(Knode[i + n() * j], Knode[j + n() * i]);
            EXPECT_EQ(Kel[i + n() * j], Kel[j + n() * i]);
        }
}

TEST_P(HigherKg, QuadraticFieldGivesTheExactIntegral)
{
    std::mt19937 rng(7);
    const Poly w = higher_test::randomPoly(kTri, 2, rng);
    const double T[3] = {0.8, 1.4, 2.0};
    const double Sn[9] = {-1.0, 0.3, 0.2, -0.4, -0.9, 0.5, 0.6, -1.2, -0.1};
    const auto v = dofs(kTri, w);
    const auto exact = higher_test::gaussRule(6);
    const double ref = form(kTri, w, w, T, Sn, exact);
    EXPECT_NEAR(quadraticForm(kg(kTri, T, Sn, true), v), ref, 1e-10 * std::fabs(ref));

    // A rigid translation: all deflections 1, every derivative 0.
    Poly one = w.origin();
    one.c[0][0] = 1.0;
    const auto r = dofs(kTri, one);
    for (bool perNode : {false, true}) {
        const auto K = kg(kTri, T, Sn, perNode);
        for (int i = 0; i < n(); ++i) {
            double s = 0.0;
            for (int j = 0; j < n(); ++j)
                s += K[i + n() * j] * r[j];
            EXPECT_NEAR(s, 0.0, 1e-11 * maxAbs(K)) << i;
        }
    }
}

TEST_P(HigherKg, PerNodeEqualsPerElementOnlyForEqualThicknesses)
{
    const double S[3] = {-1.0, -0.5, 0.3};
    const double Sn[9] = {S[0], S[1], S[2], S[0], S[1], S[2], S[0], S[1], S[2]};
    const double T[3] = {1.2, 1.2, 1.2};
    const auto Ke = kg(kTri, T, S, false), Kn = kg(kTri, T, Sn, true);
    for (std::size_t i = 0; i < Ke.size(); ++i)
        EXPECT_NEAR(Ke[i], Kn[i], 1e-12 * maxAbs(Ke));

    const double Tu[3] = {0.6, 1.2, 1.8}; // same mean
    const auto Keu = kg(kTri, Tu, S, false), Knu = kg(kTri, Tu, Sn, true);
    for (std::size_t i = 0; i < Ke.size(); ++i)
        EXPECT_NEAR(Keu[i], Ke[i], 1e-12 * maxAbs(Ke));
    double diff = 0.0;
    for (std::size_t i = 0; i < Ke.size(); ++i)
        diff = std::max(diff, std::fabs(Knu[i] - Keu[i]));
    EXPECT_GT(diff, 1e-3 * maxAbs(Ke));

    // Uniform compression: positive semi-definite.
    const auto ev = plate_test::symEigenvalues(Knu, n());
    EXPECT_GT(ev.front(), -1e-10 * ev.back());
}

TEST_P(HigherKg, OtherCornerOrderPermutesRowsAndColumns)
{
    const double T[3] = {1.0, 1.6, 0.7};
    const double Sn[9] = {-1.0, 0.3, 0.2, -0.4, -0.9, 0.5, 0.6, -1.2, -0.1};
    const auto K = kg(kTri, T, Sn, true);
    const int perDof = GetParam().kind == Kind::T15 ? 3 : 6;
    const int perEdge = GetParam().kind == Kind::T15 ? 2 : GetParam().kind == Kind::T21 ? 1 : 0;
    for (const auto& perm : {std::array<int, 3>{0, 2, 1}, std::array<int, 3>{1, 2, 0}}) {
        Tri t;
        double Tp[3], Sp[9];
        for (int i = 0; i < 3; ++i) {
            t.x[i] = kTri.x[perm[i]];
            t.y[i] = kTri.y[perm[i]];
            Tp[i] = T[perm[i]];
            for (int c = 0; c < 3; ++c)
                Sp[c + 3 * i] = Sn[c + 3 * perm[i]];
        }
        // Old DOF of every new DOF.
        std::vector<int> from;
        for (int i = 0; i < 3; ++i)
            for (int d = 0; d < perDof; ++d)
                from.push_back(perDof * perm[i] + d);
        for (int e = 0; e < 3; ++e) {
            const int a = perm[e], b = perm[(e + 1) % 3];
            const int old = (a + 1) % 3 == b ? a : b;
            for (int d = 0; d < perEdge; ++d)
                from.push_back(3 * perDof + perEdge * old + d);
        }
        ASSERT_EQ(int(from.size()), n());
        const auto Kp = kg(t, Tp, Sp, true);
        for (int i = 0; i < n(); ++i)
            for (int j = 0; j < n(); ++j)
                EXPECT_NEAR(Kp[i + n() * j], K[from[i] + n() * from[j]], 1e-10 * maxAbs(K));
    }
}

INSTANTIATE_TEST_SUITE_P(Triangles, HigherKg,
                         ::testing::Values(HigherCase{Kind::T15, "T15"},
                                           HigherCase{Kind::T18, "T18"},
                                           HigherCase{Kind::T21, "T21"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

// TEBA assumed-moment plate triangle: stiffness, moment recovery and flags.
#include "solver/solvika.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

using namespace plate_test;

namespace {

const Tri kTris[] = {
    {{0.0, 4.0, 1.0}, {0.0, 0.5, 3.0}},
    {{2.0, 2.0, -1.5}, {1.0, 5.0, 2.0}},
    {{10.0, 13.0, 11.2}, {-3.0, -3.0, 0.4}},
    {{-1.0, -3.0, 1.0}, {2.0, -1.0, -2.5}},
    {{0.0, 1.0, 0.5}, {0.0, 0.0, std::sqrt(0.75)}},
};

// Element DOFs (w, dw/dy, -dw/dx per corner) of a quadratic field.
void tebaDofs(const Quadratic& q, double x, double y, double* v)
{
    v[0] = q.w(x, y);
    v[1] = q.wy(x, y);
    v[2] = -q.wx(x, y);
}

struct Teba {
    std::vector<double> ek = std::vector<double>(81, 0.0);
    std::vector<double> rr = std::vector<double>(81, 0.0);
    std::int32_t ierr = 99;
};

Teba teba(const Tri& t, const double* T, const std::vector<double>& C, std::int32_t lunit = 0,
          std::int32_t kprint = 0, std::int32_t nel = 1)
{
    Teba r;
    solvika::TEBA31(r.ek.data(), r.rr.data(), C.data(), t.x, t.y, T, nel, lunit, kprint, r.ierr);
    return r;
}

} // namespace

// The shared seven-point rule integrates every monomial of degree <= 5
// exactly: integral of L1^a L2^b L3^c dA / A = 2 a! b! c! / (a + b + c + 2)!.
// In particular Q(i, j) = (12/t^3) A (1 + delta_ij)/12 for constant t.
TEST(PlateTeba, SevenPointRuleExactToDegreeFive)
{
    auto fact = [](int n) {
        double f = 1.0;
        for (int k = 2; k <= n; ++k)
            f *= k;
        return f;
    };
    double wsum = 0.0;
    for (double w : solvika::kTri7W)
        wsum += w;
    EXPECT_NEAR(wsum, 1.0, 1e-14);
    for (int a = 0; a <= 5; ++a)
        for (int b = 0; a + b <= 5; ++b)
            for (int c = 0; a + b + c <= 5; ++c) {
                double s = 0.0;
                for (int p = 0; p < 7; ++p)
                    s += solvika::kTri7W[p] * std::pow(solvika::kTri7L[p][0], a) *
                         std::pow(solvika::kTri7L[p][1], b) * std::pow(solvika::kTri7L[p][2], c);
                EXPECT_NEAR(s, 2.0 * fact(a) * fact(b) * fact(c) / fact(a + b + c + 2), 1e-14)
                    << a << b << c;
            }
}

TEST(PlateTeba, SymmetricRankSixAndQuadraticMomentsExact)
{
    const auto C = elasticity();
    const double T[3] = {1.3, 1.3, 1.3};
    const Quadratic quads[] = {
        {{0.4, -0.2, 0.3, 1.5, -0.7, 0.9}},
        {{0.0, 0.0, 0.0, 1.0, 0.0, 0.0}},
        {{0.0, 0.0, 0.0, 0.0, 1.0, 0.0}},
        {{0.0, 0.0, 0.0, 0.0, 0.0, 1.0}},
    };
    for (const Tri& t : kTris) {
        const Teba e = teba(t, T, C);
        ASSERT_EQ(e.ierr, 0);
        for (int j = 0; j < 9; ++j)
            for (int i = 0; i < 9; ++i)
                EXPECT_EQ(e.ek[i + 9 * j], e.ek[j + 9 * i]);
        EXPECT_EQ(psdRank(e.ek, 9), 6);
        EXPECT_GT(symEigenvalues(e.ek, 9).front(), -1e-9 * maxAbs(e.ek));

        for (const Quadratic& q : quads) {
            double v[9];
            for (int k = 0; k < 3; ++k)
                tebaDofs(q, t.x[k], t.y[k], v + 3 * k);
            double m[3];
            exactMoments(q, C, T[0], m);
            const auto beta = matVec(e.rr.data(), 9, 9, v);
            for (int n = 0; n < 3; ++n) {
                double pm[27];
                solvika::TEBA_Mom(pm, e.rr.data(), n == 0, n == 1, n == 2);
                const auto mn = matVec(pm, 3, 9, v);
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(beta[3 * c + n], m[c], 1e-9 * C[0]) << "corner " << n;
                    EXPECT_NEAR(mn[c], beta[3 * c + n], 1e-12 * C[0]);
                }
            }
            // Energy of the state: vT K v = integral of kappaT D kappa.
            double k[3];
            q.kappa(k);
            const double energy = -(m[0] * k[0] + m[1] * k[1] + m[2] * k[2]) * 0.5 * twiceArea(t);
            const auto kv = matVec(e.ek.data(), 9, 9, v);
            double vkv = 0.0;
            for (int i = 0; i < 9; ++i)
                vkv += v[i] * kv[i];
            EXPECT_NEAR(vkv, energy, 1e-9 * std::fabs(energy));
        }
        // Rigid translation and tilts: no moments, no forces.
        for (const Quadratic& q : {Quadratic{{1, 0, 0, 0, 0, 0}}, Quadratic{{0.2, 0.7, -0.4, 0, 0, 0}}}) {
            double v[9];
            for (int k = 0; k < 3; ++k)
                tebaDofs(q, t.x[k], t.y[k], v + 3 * k);
            EXPECT_LT(maxAbs(matVec(e.rr.data(), 9, 9, v)), 1e-9 * C[0]);
            EXPECT_LT(maxAbs(matVec(e.ek.data(), 9, 9, v)), 1e-9 * maxAbs(e.ek));
        }
    }
}

TEST(PlateTeba, MidpointMomentIsTheLinearField)
{
    const auto C = elasticity();
    const double T[3] = {1.0, 1.5, 0.8};
    const Teba e = teba(kTris[0], T, C);
    ASSERT_EQ(e.ierr, 0);
    double pm[27];
    solvika::TEBA_Mom(pm, e.rr.data(), 0.2, 0.5, 0.3);
    for (int m = 0; m < 9; ++m)
        for (int c = 0; c < 3; ++c)
            EXPECT_DOUBLE_EQ(pm[c + 3 * m], 0.2 * e.rr[3 * c + 9 * m] + 0.5 * e.rr[3 * c + 1 + 9 * m] +
                                                0.3 * e.rr[3 * c + 2 + 9 * m]);
}

TEST(PlateTeba, ConstantMomentPatch)
{
    const auto C = elasticity();
    const double T[3] = {0.9, 0.9, 0.9};
    const Quadratic q{{0.2, 0.05, -0.1, 0.013, -0.021, 0.008}};
    const Patch p = irregularPatch();
    auto dofs = [&](double x, double y, double* d) { tebaDofs(q, x, y, d); };
    const auto u = solvePatch(
        p,
        [&](const double* X, const double* Y, double* EK) {
            double rr[81];
            std::int32_t ierr = 0;
            solvika::TEBA31(EK, rr, C.data(), X, Y, T, 1, 0, 0, ierr);
            return ierr == 0;
        },
        dofs);
    ASSERT_FALSE(u.empty());
    for (std::size_t k = 0; k < p.x.size(); ++k) {
        double d[3];
        dofs(p.x[k], p.y[k], d);
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(u[3 * k + r], d[r], 1e-10) << "node " << k << " dof " << r;
    }
}

TEST(PlateTeba, ErrorFlags)
{
    const auto C = elasticity();
    const double T[3] = {1.0, 1.0, 1.0};
    // Nearly singular elasticity: passes the 3 x 3 inversion (relative
    // pivot 1.2e-8) but gives the 9 x 9 flexibility a pivot below 1.0e-8.
    const std::vector<double> Cnear = {1.0, 1.0, 0.0, 1.0, 1.0 + 1.2e-8, 0.0, 0.0, 0.0, 1.0};
    const std::vector<double> Csing = {1.0, 1.0, 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    const Tri equilateral = kTris[4];
    struct Case {
        Tri t;
        const std::vector<double>* c;
        std::int32_t ierr;
    } cases[] = {
        {equilateral, &C, 0},
        {flipped(equilateral), &C, -1},
        {{{0.0, 5.0, 10.0}, {0.0, 0.0, 0.0}}, &C, -2},    // zero area
        {{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.4}}, &C, 0},     // Lmax^2 = 50 A
        {{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.399}}, &C, -2},  // 25 2A < Lmax^2 <= 50 2A
        {equilateral, &Csing, -3},
        {equilateral, &Cnear, -4},
    };
    for (const auto& c : cases) {
        const Teba e = teba(c.t, T, *c.c);
        EXPECT_EQ(e.ierr, c.ierr) << c.t.y[2];
    }
    // The needle refused here is one DKT accepts.
    std::vector<double> ek(81);
    std::int32_t ierr = 1;
    const Tri needle{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.399}};
    solvika::DKT_Sm(ek.data(), C.data(), needle.x, needle.y, T, 1, 0, ierr);
    EXPECT_EQ(ierr, 0);
}

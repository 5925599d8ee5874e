// DKT plate-bending triangle: stiffness, Kirchhoff matrix and moments.
#include "solver/solvika.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

using namespace plate_test;

namespace {

const Tri kTris[] = {
    {{0.0, 4.0, 1.0}, {0.0, 0.5, 3.0}},     // irregular
    {{2.0, 2.0, -1.5}, {1.0, 5.0, 2.0}},    // vertical edge
    {{10.0, 13.0, 11.2}, {-3.0, -3.0, 0.4}}, // horizontal edge, off origin
    {{0.0, 1.0, 0.5}, {0.0, 0.0, std::sqrt(0.75)}},
};

std::vector<double> dktStiffness(const Tri& t, const double* T, const std::vector<double>& C)
{
    std::vector<double> ek(81, 0.0);
    std::int32_t ierr = 7;
    solvika::DKT_Sm(ek.data(), C.data(), t.x, t.y, T, 1, 0, ierr);
    EXPECT_EQ(ierr, 0);
    return ek;
}

// Element DOFs (w, dw/dx, dw/dy per corner) of a quadratic field.
void dktDofs(const Quadratic& q, const Tri& t, double* v)
{
    for (int k = 0; k < 3; ++k) {
        v[3 * k] = q.w(t.x[k], t.y[k]);
        v[3 * k + 1] = q.wx(t.x[k], t.y[k]);
        v[3 * k + 2] = q.wy(t.x[k], t.y[k]);
    }
}

// Corner curvatures kappa_n of DOF values v, read back through DKT_Mom with
// C = I and unit thickness (M = -kappa/12).
void cornerCurvatures(const Tri& t, const double* v, double kap[3][3])
{
    const double I[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double one[3] = {1.0, 1.0, 1.0};
    double rm[9];
    solvika::DKT_Mom(v, I, t.x, t.y, one, rm);
    for (int n = 0; n < 3; ++n)
        for (int r = 0; r < 3; ++r)
            kap[n][r] = -12.0 * rm[r + 3 * n];
}

double quadForm(const std::vector<double>& k, const double* v, int n)
{
    const auto kv = matVec(k.data(), n, n, v);
    double s = 0.0;
    for (int i = 0; i < n; ++i)
        s += v[i] * kv[i];
    return s;
}

double cdot(const std::vector<double>& C, const double* a, const double* b)
{
    double s = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            s += a[i] * C[i + 3 * j] * b[j];
    return s;
}

} // namespace

TEST(PlateDkt, SymmetricRankSixWithRigidAndTiltModesFree)
{
    const auto C = elasticity();
    const double T[3] = {1.2, 0.9, 1.5};
    for (const Tri& t : kTris) {
        const auto ek = dktStiffness(t, T, C);
        for (int j = 0; j < 9; ++j)
            for (int i = 0; i < 9; ++i)
                EXPECT_EQ(ek[i + 9 * j], ek[j + 9 * i]);
        EXPECT_EQ(psdRank(ek, 9), 6);
        EXPECT_GT(symEigenvalues(ek, 9).front(), -1e-9 * maxAbs(ek));

        // Rigid translation and the tilts w = a x + b y.
        for (const Quadratic q : {Quadratic{{1, 0, 0, 0, 0, 0}}, Quadratic{{0, 1, 0, 0, 0, 0}},
                                  Quadratic{{0.5, -0.3, 0.8, 0, 0, 0}}}) {
            double v[9];
            dktDofs(q, t, v);
            const auto f = matVec(ek.data(), 9, 9, v);
            EXPECT_LT(maxAbs(f), 1e-9 * maxAbs(ek));
            double rm[9];
            solvika::DKT_Mom(v, C.data(), t.x, t.y, T, rm);
            for (double m : rm)
                EXPECT_NEAR(m, 0.0, 1e-9 * C[0]);
        }
    }
}

TEST(PlateDkt, KirchhoffMatrixMidpointSlopes)
{
    const Tri t = kTris[0];
    double tk[108];
    solvika::DKT_Aux(tk, t.x, t.y);
    const double v[9] = {0.3, -1.2, 0.7, 1.1, 0.4, -0.9, -0.6, 2.0, 0.25};
    const auto beta = matVec(tk, 12, 9, v);
    for (int n = 0; n < 3; ++n) {
        EXPECT_DOUBLE_EQ(beta[n], v[3 * n + 1]);
        EXPECT_DOUBLE_EQ(beta[6 + n], v[3 * n + 2]);
    }
    const int ends[3][2] = {{0, 1}, {1, 2}, {2, 0}};
    for (int e = 0; e < 3; ++e) {
        const int i = ends[e][0], j = ends[e][1];
        const double dx = t.x[j] - t.x[i], dy = t.y[j] - t.y[i];
        const double L = std::hypot(dx, dy);
        const double c = dx / L, s = dy / L;
        auto tangential = [&](double gx, double gy) { return c * gx + s * gy; };
        auto normal = [&](double gx, double gy) { return -s * gx + c * gy; };
        const double bx = beta[3 + e], by = beta[9 + e];
        EXPECT_NEAR(tangential(bx, by),
                    1.5 * (v[3 * j] - v[3 * i]) / L -
                        0.25 * (tangential(v[3 * i + 1], v[3 * i + 2]) +
                                tangential(v[3 * j + 1], v[3 * j + 2])),
                    1e-13);
        EXPECT_NEAR(normal(bx, by),
                    0.5 * (normal(v[3 * i + 1], v[3 * i + 2]) + normal(v[3 * j + 1], v[3 * j + 2])),
                    1e-13);
    }
}

// The curvature field is linear, so vT K v is the integral of
// (t^3/12) kappaT C kappa with kappa interpolated from the corner curvatures.
TEST(PlateDkt, FourPointRuleExactForConstantThickness)
{
    const auto C = elasticity();
    const double v[9] = {0.3, -1.2, 0.7, 1.1, 0.4, -0.9, -0.6, 2.0, 0.25};
    for (const Tri& t : kTris) {
        double kap[3][3];
        cornerCurvatures(t, v, kap);
        const double area = 0.5 * twiceArea(t);

        // Constant thickness: exact integral with the linear-field mass
        // matrix (1 + delta_ij) A / 12.
        const double T0[3] = {1.4, 1.4, 1.4};
        double exact = 0.0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                exact += (i == j ? 2.0 : 1.0) / 12.0 * area * cdot(C, kap[i], kap[j]);
        exact *= 1.4 * 1.4 * 1.4 / 12.0;
        EXPECT_NEAR(quadForm(dktStiffness(t, T0, C), v, 9), exact, 1e-11 * exact);

        // Tapered: the four-point value of the cubic thickness term, which
        // differs from the exact (seven-point) integral.
        const double T1[3] = {0.5, 1.0, 2.0};
        const double pts[4][3] = {{1. / 3, 1. / 3, 1. / 3}, {.6, .2, .2}, {.2, .6, .2}, {.2, .2, .6}};
        const double wts[4] = {-27.0 / 48, 25.0 / 48, 25.0 / 48, 25.0 / 48};
        auto energyAt = [&](const double* L) {
            double k[3] = {};
            for (int n = 0; n < 3; ++n)
                for (int r = 0; r < 3; ++r)
                    k[r] += L[n] * kap[n][r];
            const double th = L[0] * T1[0] + L[1] * T1[1] + L[2] * T1[2];
            return th * th * th / 12.0 * cdot(C, k, k) * area;
        };
        double four = 0.0, seven = 0.0;
        for (int p = 0; p < 4; ++p)
            four += wts[p] * energyAt(pts[p]);
        for (int p = 0; p < 7; ++p)
            seven += solvika::kTri7W[p] * energyAt(solvika::kTri7L[p]);
        const double got = quadForm(dktStiffness(t, T1, C), v, 9);
        EXPECT_NEAR(got, four, 1e-11 * four);
        EXPECT_GT(std::fabs(got - seven), 1e-6 * four);
    }
}

TEST(PlateDkt, QuadraticFieldGivesExactCornerMoments)
{
    const auto C = elasticity();
    const double T[3] = {0.8, 1.3, 2.0};
    const Quadratic q{{0.4, -0.2, 0.3, 1.5, -0.7, 0.9}};
    for (const Tri& t : kTris) {
        double v[9], rm[9];
        dktDofs(q, t, v);
        solvika::DKT_Mom(v, C.data(), t.x, t.y, T, rm);
        for (int n = 0; n < 3; ++n) {
            double m[3];
            exactMoments(q, C, T[n], m);
            for (int r = 0; r < 3; ++r)
                EXPECT_NEAR(rm[r + 3 * n], m[r], 1e-10 * std::fabs(C[0]));
        }
    }
}

TEST(PlateDkt, ConstantCurvaturePatch)
{
    const auto C = elasticity();
    const double T[3] = {1.1, 1.1, 1.1};
    const Quadratic q{{0.2, 0.05, -0.1, 0.013, -0.021, 0.008}};
    const Patch p = irregularPatch();
    auto dofs = [&](double x, double y, double* d) {
        d[0] = q.w(x, y);
        d[1] = q.wx(x, y);
        d[2] = q.wy(x, y);
    };
    const auto u = solvePatch(
        p,
        [&](const double* X, const double* Y, double* EK) {
            std::int32_t ierr = 0;
            solvika::DKT_Sm(EK, C.data(), X, Y, T, 1, 0, ierr);
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

TEST(PlateDkt, ShapeTestUsesSignedDoubleArea)
{
    const auto C = elasticity();
    const double T[3] = {1.0, 1.0, 1.0};
    // Needle with base 10 and height h: Lmax^2 = 100 + (small), 2A = 10 h.
    struct Case {
        Tri t;
        std::int32_t ierr;
    } cases[] = {
        {{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.2}}, 0},    // 2A = 2: Lmax^2 = 100 <= 100
        {{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.199}}, -1}, // just too slender
        {{{0.0, 5.0, 10.0}, {0.0, 3.0, 0.0}}, -1},   // clockwise
        {{{0.0, 5.0, 10.0}, {0.0, 0.0, 0.0}}, -1},   // flat
        {{{2.0, 2.0, 2.0}, {1.0, 1.0, 1.0}}, -1},    // one point: no area
    };
    for (const auto& c : cases) {
        std::vector<double> ek(81, -3.0);
        std::int32_t ierr = 5;
        solvika::DKT_Sm(ek.data(), C.data(), c.t.x, c.t.y, T, 1, 0, ierr);
        EXPECT_EQ(ierr, c.ierr);
        if (ierr != 0) {
            EXPECT_EQ(ek, std::vector<double>(81, -3.0));
        }
    }
}

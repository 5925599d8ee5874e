// T6 constant-curvature plate triangle: interpolation, stiffness, moments.
#include "solver/solvika.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

using namespace plate_test;

namespace {

// The edge normal the T6 DOFs refer to: the tangent runs towards the larger
// x (upwards when the edge is vertical within 1e-15 of its length), and the
// normal is that tangent turned a quarter anticlockwise.
void edgeNormal(double xa, double ya, double xb, double yb, double& nx, double& ny)
{
    double dx = xb - xa, dy = yb - ya;
    const double L = std::hypot(dx, dy);
    if (std::fabs(dx) < 1e-15 * L) {
        dx = 0.0;
        dy = L;
    } else if (dx < 0.0) {
        dx = -dx;
        dy = -dy;
    }
    nx = -dy / L;
    ny = dx / L;
}

void t6Dofs(const Quadratic& q, const Tri& t, double* v)
{
    for (int k = 0; k < 3; ++k)
        v[k] = q.w(t.x[k], t.y[k]);
    for (int e = 0; e < 3; ++e) {
        const int i = e, j = (e + 1) % 3;
        double nx, ny;
        edgeNormal(t.x[i], t.y[i], t.x[j], t.y[j], nx, ny);
        const double xm = 0.5 * (t.x[i] + t.x[j]), ym = 0.5 * (t.y[i] + t.y[j]);
        v[3 + e] = nx * q.wx(xm, ym) + ny * q.wy(xm, ym);
    }
}

// Curvatures read back through T6_Mom with C = I and unit mean thickness.
void curvature(const Tri& t, const double* v, double* k)
{
    const double I[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double T[3] = {0.5, 1.0, 1.5};
    double m[3];
    solvika::T6_Mom(v, I, t.x, t.y, T, m);
    for (int r = 0; r < 3; ++r)
        k[r] = -12.0 * m[r];
}

const Tri kTris[] = {
    {{0.0, 4.0, 1.0}, {0.0, 0.5, 3.0}},             // irregular
    {{2.0, 2.0, -1.5}, {1.0, 5.0, 2.0}},            // vertical edge 1-2, upwards
    {{2.0, 2.0, 5.5}, {5.0, 1.0, 2.0}},             // vertical edge 1-2, downwards
    {{10.0, 13.0, 11.2}, {-3.0, -3.0, 0.4}},        // horizontal edge
    {{0.0, 1.0, 0.5}, {0.0, 0.0, std::sqrt(0.75)}}, // equilateral
    {{1.0, 1.0 - 4.4e-16, -1.0}, {0.0, 2.0, 1.0}},  // edge leaning by less than 1e-15 L
    {{0.0, 1.0, 4.0}, {0.0, 3.0, 0.5}},             // clockwise
    {{-2.0, -6.0, -3.0}, {7.0, 4.0, 1.0}},          // clockwise, rotated
};

const Quadratic kQuads[] = {
    {{0.4, -0.2, 0.3, 1.5, -0.7, 0.9}},
    {{0.0, 0.0, 0.0, 0.0, 1.0, 0.0}},
    {{1.0, 2.0, -3.0, 0.0, 0.0, -0.5}},
};

} // namespace

TEST(PlateT6, AuxInterpolatesEveryQuadratic)
{
    for (const Tri& t : kTris)
        for (const Quadratic& q : kQuads) {
            double v[6], z[36];
            t6Dofs(q, t, v);
            solvika::T6_Aux(z, t.x, t.y);
            const auto c = matVec(z, 6, 6, v);
            // Compare w at interior and edge points.
            for (const auto& L : {std::array<double, 3>{0.2, 0.3, 0.5}, std::array<double, 3>{0.6, 0.4, 0.0},
                                  std::array<double, 3>{0.1, 0.1, 0.8}}) {
                const double x = L[0] * t.x[0] + L[1] * t.x[1] + L[2] * t.x[2];
                const double y = L[0] * t.y[0] + L[1] * t.y[1] + L[2] * t.y[2];
                const double w = c[0] * L[0] * L[0] + c[1] * L[1] * L[1] + c[2] * L[2] * L[2] +
                                 c[3] * L[0] * L[1] + c[4] * L[1] * L[2] + c[5] * L[2] * L[0];
                EXPECT_NEAR(w, q.w(x, y), 1e-11 * (1.0 + std::fabs(q.w(x, y))));
            }
        }
}

TEST(PlateT6, QuadraticCurvatureReproduced)
{
    for (const Tri& t : kTris)
        for (const Quadratic& q : kQuads) {
            double v[6], k[3], exact[3];
            t6Dofs(q, t, v);
            curvature(t, v, k);
            q.kappa(exact);
            for (int r = 0; r < 3; ++r)
                EXPECT_NEAR(k[r], exact[r], 1e-10) << t.x[0] << "," << t.y[0] << " r " << r;
        }
}

// Two elements sharing an edge, each given the shared slope value: both
// must reproduce the field, whatever the direction of travel along the edge.
TEST(PlateT6, SharedEdgeSlopeHasOneSign)
{
    const Quadratic q = kQuads[0];
    struct Pair {
        Tri a, b;
    } pairs[] = {
        // vertical edge (0,0)-(0,3): a sees it as edge 1-2 upwards, b as 3-1
        {{{0.0, 0.0, -2.0}, {0.0, 3.0, 1.0}}, {{0.0, 2.5, 0.0}, {0.0, 1.5, 3.0}}},
        // horizontal edge (1,1)-(4,1)
        {{{1.0, 4.0, 2.0}, {1.0, 1.0, 3.0}}, {{4.0, 1.0, 3.0}, {1.0, 1.0, -1.0}}},
        // sloping edge (0,0)-(3,-2)
        {{{0.0, 3.0, 2.5}, {0.0, -2.0, 1.0}}, {{3.0, 0.0, 0.5}, {-2.0, 0.0, -3.0}}},
    };
    for (const auto& p : pairs) {
        for (const Tri* t : {&p.a, &p.b}) {
            double v[6], k[3], exact[3];
            t6Dofs(q, *t, v);
            curvature(*t, v, k);
            q.kappa(exact);
            for (int r = 0; r < 3; ++r)
                EXPECT_NEAR(k[r], exact[r], 1e-10);
        }
    }
}

TEST(PlateT6, StiffnessRankThreeAndOrientationFree)
{
    const auto C = elasticity();
    const double T[3] = {1.0, 1.6, 2.2};
    const double Tmean[3] = {1.6, 1.6, 1.6};
    for (const Tri& t : kTris) {
        std::vector<double> ek(36), ekm(36), ekf(36);
        std::int32_t ierr = 9;
        solvika::T6_Sm(ek.data(), C.data(), t.x, t.y, T, 1, 0, ierr);
        ASSERT_EQ(ierr, 0);
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(ek[i + 6 * j], ek[j + 6 * i]);
        EXPECT_EQ(psdRank(ek, 6), 3);

        // Tapered thickness enters only through its mean.
        solvika::T6_Sm(ekm.data(), C.data(), t.x, t.y, Tmean, 1, 0, ierr);
        for (int i = 0; i < 36; ++i)
            EXPECT_NEAR(ek[i], ekm[i], 1e-12 * maxAbs(ek));

        // Energy of a quadratic state: A (t^3/12) kappaT C kappa.
        double v[6], kap[3], m[3];
        t6Dofs(kQuads[0], t, v);
        kQuads[0].kappa(kap);
        exactMoments(kQuads[0], C, 1.6, m);
        const double energy = -0.5 * std::fabs(twiceArea(t)) * (m[0] * kap[0] + m[1] * kap[1] + m[2] * kap[2]);
        const auto kv = matVec(ek.data(), 6, 6, v);
        double vkv = 0.0;
        for (int i = 0; i < 6; ++i)
            vkv += v[i] * kv[i];
        EXPECT_NEAR(vkv, energy, 1e-9 * energy);
        double rm[3];
        solvika::T6_Mom(v, C.data(), t.x, t.y, T, rm);
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(rm[r], m[r], 1e-9 * C[0]);

        // Linear fields: no forces and no moments.
        for (const Quadratic& q : {Quadratic{{1, 0, 0, 0, 0, 0}}, Quadratic{{0.3, -0.8, 0.6, 0, 0, 0}}}) {
            t6Dofs(q, t, v);
            EXPECT_LT(maxAbs(matVec(ek.data(), 6, 6, v)), 1e-9 * maxAbs(ek));
            solvika::T6_Mom(v, C.data(), t.x, t.y, T, rm);
            for (double x : rm)
                EXPECT_NEAR(x, 0.0, 1e-9 * C[0]);
        }

        // The opposite orientation: corners 2 and 3 swap, so do the slopes
        // of edges 1-2 and 3-1.
        const Tri f = flipped(t);
        solvika::T6_Sm(ekf.data(), C.data(), f.x, f.y, T, 1, 0, ierr);
        ASSERT_EQ(ierr, 0);
        const int perm[6] = {0, 2, 1, 5, 4, 3};
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 6; ++i)
                EXPECT_NEAR(ekf[i + 6 * j], ek[perm[i] + 6 * perm[j]], 1e-11 * maxAbs(ek));
    }
}

TEST(PlateT6, ShapeTestOnAbsoluteArea)
{
    const auto C = elasticity();
    const double T[3] = {1.0, 1.0, 1.0};
    struct Case {
        Tri t;
        std::int32_t ierr;
    } cases[] = {
        {{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.2}}, 0},    // Lmax^2 = 100 A
        {{{0.0, 5.0, 10.0}, {0.0, 0.2, 0.0}}, 0},    // the same, clockwise
        {{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.199}}, -1}, // accepted by DKT, not here
        {{{0.0, 5.0, 10.0}, {0.0, 0.0, 0.0}}, -1},   // flat
        {{{2.0, 2.0, 2.0}, {1.0, 1.0, 1.0}}, -1},    // one point: no area
    };
    for (const auto& c : cases) {
        std::vector<double> ek(36, -3.0);
        std::int32_t ierr = 5;
        solvika::T6_Sm(ek.data(), C.data(), c.t.x, c.t.y, T, 1, 0, ierr);
        EXPECT_EQ(ierr, c.ierr);
        if (ierr != 0) {
            EXPECT_EQ(ek, std::vector<double>(36, -3.0));
        }
    }
}

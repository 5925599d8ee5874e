// T15 quartic plate triangle: coefficient matrix and edge normals,
// stiffness, loads, corner moments and shear forces.
#include "solver/solvika.h"
#include "solver/linalg/fwrite.h"
#include "tests/solvika/plate_higher_oracle.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace higher_test;

namespace {

const Tri kTris[] = {
    {{0.0, 4.0, 1.0}, {0.0, 0.5, 3.0}},              // irregular
    {{0.0, 1.0, 4.0}, {0.0, 3.0, 0.5}},              // clockwise
    {{2.0, 2.0, -1.5}, {1.0, 5.0, 2.0}},             // vertical edge 1-2, upwards
    {{2.0, 2.0, 5.5}, {5.0, 1.0, 2.0}},              // vertical edge 1-2, downwards
    {{110.0, 113.0, 111.2}, {-53.0, -53.0, -49.6}},  // horizontal edge, far from the origin
    {{0.0, 0.3, 0.1}, {0.0, 0.05, 0.25}},            // small
};

std::vector<double> aux(const Tri& t)
{
    std::vector<double> h(225);
    solvika::T15_Aux(t.x, t.y, h.data());
    return h;
}

// The element's field for the DOF values v.
Poly elementField(const Tri& t, const std::vector<double>& v)
{
    const auto h = aux(t);
    return field(t, Kind::T15, plate_test::matVec(h.data(), 15, 15, v.data()));
}

} // namespace

TEST(T15Aux, InvertsTheDofEvaluation)
{
    for (const Tri& t : kTris) {
        const Dense D = dofMatrix(t, Kind::T15);
        const auto h = aux(t);
        const Dense HD = solvika::test::multiply(asDense(h.data(), 15), D);
        EXPECT_LT(solvika::test::maxAbsDiff(HD, solvika::test::identity(15)), 1e-9) << t.x[0];
    }
}

// The slope DOF of edge 1 alone: w vanishes along the edge, so the gradient
// at its midpoint is the normal the DOF refers to.
TEST(T15Aux, EdgeNormalDependsOnlyOnTheEndPoints)
{
    struct Case {
        double x2, y2; // corner 2; corner 1 is the origin
        double nx, ny; // expected normal
    } cases[] = {
        {0.0, 2.0, 1.0, 0.0},      // vertical
        {1.0e-10, 2.0, 1.0, 0.0},  // |dx| < 1e-10 L: vertical
        {3.0e-10, 2.0, -1.0, 0.0}, // just above the bound, tangent upwards
        {3.0e-10, -2.0, 1.0, 0.0}, // just above the bound, tangent downwards
        {2.0, 0.0, 0.0, 1.0},      // horizontal
        {-2.0, 0.0, 0.0, 1.0},     // horizontal, listed from the right
        {3.0, -4.0, 0.8, 0.6},     // oblique
    };
    std::vector<double> v(15, 0.0);
    v[10] = 1.0;
    for (const auto& c : cases) {
        for (const double side : {1.0, -1.0}) {
            const Tri third{{0.0, c.x2, 0.5 * c.x2 + side * 1.5}, {0.0, c.y2, 0.5 * c.y2 + 0.7}};
            // The same edge with its end corners listed the other way round.
            const Tri swapped{{c.x2, 0.0, third.x[2]}, {c.y2, 0.0, third.y[2]}};
            for (const Tri& t : {third, swapped}) {
                const Poly w = elementField(t, v);
                const double xm = 0.5 * c.x2, ym = 0.5 * c.y2;
                EXPECT_NEAR(w.dx()(xm, ym), c.nx, 1e-9) << c.x2 << " " << c.y2;
                EXPECT_NEAR(w.dy()(xm, ym), c.ny, 1e-9) << c.x2 << " " << c.y2;
            }
        }
    }
}

// Two elements listing a shared edge in opposite orders, with the same
// values at the shared nodes, have the same deflection along the edge and
// the same gradient at its midpoint.
TEST(T15Aux, NeighboursAgreeOnTheSharedEdge)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    struct Edge {
        double x1, y1, x2, y2;
    } edges[] = {{0.0, 0.0, 3.0, 1.0}, {1.0, 0.0, 1.0, 3.0}, {1.0, 3.0, 1.0, 0.0}};
    for (const auto& e : edges) {
        const double mx = 0.5 * (e.x1 + e.x2), my = 0.5 * (e.y1 + e.y2);
        const double px = -(e.y2 - e.y1), py = e.x2 - e.x1; // left of the edge
        const Tri a{{e.x1, e.x2, mx + px}, {e.y1, e.y2, my + py}};
        const Tri b{{e.x2, e.x1, mx - 0.8 * px + 0.3}, {e.y2, e.y1, my - 0.8 * py}};
        std::vector<double> va(15), vb(15);
        for (double& x : va)
            x = u(rng);
        for (double& x : vb)
            x = u(rng);
        for (int k = 0; k < 3; ++k) {
            vb[k] = va[3 + k]; // corner 2 of a is corner 1 of b
            vb[3 + k] = va[k];
        }
        vb[9] = va[9];
        vb[10] = va[10];
        const Poly wa = elementField(a, va), wb = elementField(b, vb);
        for (const double s : {0.0, 0.2, 0.5, 0.7, 1.0}) {
            const double x = e.x1 + s * (e.x2 - e.x1), y = e.y1 + s * (e.y2 - e.y1);
            EXPECT_NEAR(wa(x, y), wb(x, y), 1e-10);
        }
        EXPECT_NEAR(wa.dx()(mx, my), wb.dx()(mx, my), 1e-9);
        EXPECT_NEAR(wa.dy()(mx, my), wb.dy()(mx, my), 1e-9);
    }
}

TEST(T15k, MatchesIntegrationOfTheQuarticField)
{
    const auto C = rotatedOrthotropic(0.6);
    const double constant[3] = {2.0, 2.0, 2.0};
    const double linear[3] = {1.0, 1.4, 0.8};
    for (const Tri& t : kTris) {
        for (const double* T : {constant, linear}) {
            double ek[225];
            std::int32_t ierr = 5;
            solvika::T15_k(ek, C.data(), t.x, t.y, T, 1, 0, ierr);
            ASSERT_EQ(ierr, 0);
            for (int j = 0; j < 15; ++j)
                for (int i = 0; i < 15; ++i)
                    ASSERT_EQ(ek[i + 15 * j], ek[j + 15 * i]);
            const Dense K = asDense(ek, 15);
            // Constant thickness: the seven-point rule is exact. Linear
            // thickness: the element uses that rule all the same.
            const Rule rule = T == constant ? gaussRule(6) : sevenPointRule();
            EXPECT_LT(relDiff(K, stiffness(t, Kind::T15, C.data(), T, rule)), 1e-10) << t.x[0];
            if (T == constant) {
                EXPECT_EQ(plate_test::psdRank(K.v, 15), 12);
            }
        }
    }
}

TEST(T15k, RefusesDegenerateTriangles)
{
    const auto C = rotatedOrthotropic(0.0);
    const double T[3] = {1.0, 1.0, 1.0};
    struct Case {
        Tri t;
        bool ok;
    } cases[] = {
        {{{0.0, 1.0, 0.0}, {0.0, 0.0, 49.9}}, true},  // right triangle, legs 1 and 49.9
        {{{0.0, 1.0, 0.0}, {0.0, 0.0, 50.0}}, false}, // legs 1 and 50
        {{{0.0, 50.0, 25.0}, {0.0, 0.0, 1.0}}, true},  // longest edge squared exactly 100 A
        {{{0.0, 50.0, 25.0}, {0.0, 0.0, 0.999}}, false},
        {{{0.0, 25.0, 50.0}, {0.0, 1.0, 0.0}}, true},  // clockwise, exactly 100 A
        {{{1.0, 1.0, 1.0}, {2.0, 2.0, 2.0}}, false},   // coinciding corners
        {{{0.0, 1.0, 2.0}, {0.0, 1.0, 2.0}}, false},   // collinear
    };
    std::string text;
    solvika::attachSink(10, &text);
    for (const auto& c : cases)
        for (const double scale : {1.0 / 1024.0, 1.0, 4096.0}) {
            Tri t = c.t;
            for (int k = 0; k < 3; ++k) {
                t.x[k] *= scale;
                t.y[k] *= scale;
            }
            double ek[225];
            std::fill(ek, ek + 225, 7.0);
            std::int32_t ierr = 5;
            text.clear();
            solvika::T15_k(ek, C.data(), t.x, t.y, T, 321, 10, ierr);
            EXPECT_EQ(ierr, c.ok ? 0 : -1) << c.t.y[2] << " at scale " << scale;
            if (c.ok) {
                EXPECT_EQ(text, "");
                EXPECT_NE(ek[0], 7.0);
            } else {
                EXPECT_EQ(text, "\n\n\n *** ERROR RETURN FROM SUBROUTINE T15_k ***\n"
                                "     Element    321  is degenerated\n");
                EXPECT_EQ(std::count(ek, ek + 225, 7.0), 225);
            }
        }
    solvika::detachSink(10);
}

TEST(T15Lv, MatchesIntegrationOfThePressure)
{
    const double P[3] = {1.5, -0.4, 2.2};
    const double uniform[3] = {0.7, 0.7, 0.7};
    for (const Tri& t : kTris) {
        double f[15];
        solvika::T15_Lv(f, t.x, t.y, P);
        const auto ref = loads(t, Kind::T15, P);
        EXPECT_LT(solvika::test::maxAbsDiff(std::vector<double>(f, f + 15), ref),
                  1e-11 * t.area() * 3.0)
            << t.x[0];

        // A unit rigid deflection picks up the whole load.
        solvika::T15_Lv(f, t.x, t.y, uniform);
        const double rigid = f[0] + f[3] + f[6] + f[9] + f[11] + f[13];
        EXPECT_NEAR(rigid, 0.7 * t.area(), 1e-12 * t.area());
    }
}

// Moments and shear forces at the corners are those of the quartic field,
// each corner with its own thickness, for either corner order and a
// material turned to an angle (coupling terms in C).
TEST(T15Mom, ExactForAQuarticField)
{
    std::mt19937 rng(11);
    const auto C = rotatedOrthotropic(0.45);
    const double T[3] = {1.2, 0.9, 1.5};
    for (const Tri& t : kTris) {
        for (const int degree : {4, 1}) {
            const Poly w = randomPoly(t, degree, rng);
            const auto v = dofs(t, Kind::T15, w);
            double r[15];
            solvika::T15_Mom(v.data(), C.data(), t.x, t.y, T, r);
            for (int i = 0; i < 3; ++i) {
                double m[3], q[2];
                exactResults(w, C.data(), T[i], t.x[i], t.y[i], m, q);
                const double tol = 1e-10 * resultScale(t, C[0], T[i], v);
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(r[k + 5 * i], m[k], tol) << t.x[0] << " corner " << i;
                EXPECT_NEAR(r[3 + 5 * i], q[0], tol) << t.x[0] << " corner " << i;
                EXPECT_NEAR(r[4 + 5 * i], q[1], tol) << t.x[0] << " corner " << i;
            }
        }
    }
}

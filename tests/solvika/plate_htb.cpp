// T18 and T21 quintic plate triangles: coefficient matrix and the T18 edge
// constraint, stiffness on both integration roads, loads, shear forces and
// the log lines of the stiffness routines.
#include "solver/solvika.h"
#include "solver/linalg/fwrite.h"
#include "tests/solvika/plate_higher_oracle.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

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

const Kind kKinds[] = {Kind::T18, Kind::T21};

std::vector<double> aux(const Tri& t, int ndof)
{
    std::vector<double> h(441);
    solvika::HTB_Aux(t.x, t.y, ndof, h.data());
    return h;
}

// The element's field for the DOF values v (ndof of them).
Poly elementField(const Tri& t, const std::vector<double>& v)
{
    const int ndof = static_cast<int>(v.size());
    const auto h = aux(t, ndof);
    return field(t, Kind::T21, plate_test::matVec(h.data(), 21, ndof, v.data()));
}

using Stiffness = void (*)(double*, const double*, const double*, const double*, const double*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t&);

Dense stiff(Stiffness routine, const Tri& t, const std::vector<double>& C, const double* T,
            int ndof)
{
    std::vector<double> ek(ndof * ndof);
    std::int32_t ierr = 5;
    routine(ek.data(), C.data(), t.x, t.y, T, ndof, 1, 0, 0, ierr);
    EXPECT_EQ(ierr, 0);
    return asDense(ek.data(), ndof);
}

} // namespace

// T21: H is the inverse of the DOF evaluation. T18: its columns are the
// quintics with the given corner values whose normal slope is cubic along
// every edge.
TEST(HTBAux, InvertsTheDofEvaluation)
{
    for (const Tri& t : kTris) {
        const auto h21 = aux(t, 21);
        const Dense HD = solvika::test::multiply(asDense(h21.data(), 21), dofMatrix(t, Kind::T21));
        EXPECT_LT(solvika::test::maxAbsDiff(HD, solvika::test::identity(21)), 1e-9) << t.x[0];

        const auto h18 = aux(t, 18);
        const Dense ref = coefficients(t, Kind::T18);
        double diff = 0.0, top = 0.0;
        for (int j = 1; j <= 18; ++j)
            for (int i = 1; i <= 21; ++i) {
                diff = std::max(diff, std::fabs(h18[(i - 1) + 21 * (j - 1)] - ref(i, j)));
                top = std::max(top, std::fabs(ref(i, j)));
            }
        EXPECT_LT(diff, 1e-10 * top) << t.x[0];
    }
}

TEST(HTBAux, T18ReproducesQuartics)
{
    std::mt19937 rng(3);
    for (const Tri& t : kTris) {
        const Poly w = randomPoly(t, 4, rng);
        auto v = dofs(t, Kind::T21, w);
        v.resize(18);
        const Poly e = elementField(t, v);
        for (const auto& L : gaussRule(3).L) {
            double x, y;
            pointAt(t, L, x, y);
            EXPECT_NEAR(e(x, y), w(x, y), 1e-10) << t.x[0];
        }
    }
}

// Two elements listing a shared edge in opposite orders, with the same
// values at the shared nodes, have the same deflection and gradient along
// the whole edge (T18 through its edge constraint and the edge sense).
TEST(HTBAux, NeighboursAgreeAlongTheSharedEdge)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    struct Edge {
        double x1, y1, x2, y2;
    } edges[] = {{0.0, 0.0, 3.0, 1.0}, {0.0, 0.0, 3.0, -2.0}, {1.0, 0.0, 1.0, 3.0},
                 {1.0, 3.0, 1.0, 0.0}, {0.0, 1.0, 4.0, 1.0}};
    for (const Kind k : kKinds) {
        const int n = dofCount(k);
        for (const auto& e : edges) {
            const double mx = 0.5 * (e.x1 + e.x2), my = 0.5 * (e.y1 + e.y2);
            const double px = -(e.y2 - e.y1), py = e.x2 - e.x1; // left of the edge
            const Tri a{{e.x1, e.x2, mx + px}, {e.y1, e.y2, my + py}};
            const Tri b{{e.x2, e.x1, mx - 0.8 * px + 0.3}, {e.y2, e.y1, my - 0.8 * py}};
            std::vector<double> va(n), vb(n);
            for (double& x : va)
                x = u(rng);
            for (double& x : vb)
                x = u(rng);
            for (int d = 0; d < 6; ++d) {
                vb[d] = va[6 + d]; // corner 2 of a is corner 1 of b
                vb[6 + d] = va[d];
            }
            if (k == Kind::T21)
                vb[18] = va[18];
            const Poly wa = elementField(a, va), wb = elementField(b, vb);
            for (const double s : {0.0, 0.15, 0.5, 0.8, 1.0}) {
                const double x = e.x1 + s * (e.x2 - e.x1), y = e.y1 + s * (e.y2 - e.y1);
                EXPECT_NEAR(wa(x, y), wb(x, y), 1e-10) << n << " " << e.x2 << " " << e.y2;
                EXPECT_NEAR(wa.dx()(x, y), wb.dx()(x, y), 1e-9) << n << " " << e.x2 << " " << e.y2;
                EXPECT_NEAR(wa.dy()(x, y), wb.dy()(x, y), 1e-9) << n << " " << e.x2 << " " << e.y2;
            }
        }
    }
}

// HTBA31 integrates exactly; HTBN31 by the seven-point rule, which is not
// exact for the quintic field even at constant thickness.
TEST(HTBStiffness, BothRoadsMatchTheirIntegration)
{
    const auto C = rotatedOrthotropic(0.6);
    const double constant[3] = {2.0, 2.0, 2.0};
    const double linear[3] = {1.0, 1.4, 0.8};
    const Rule exact = gaussRule(8), seven = sevenPointRule();
    for (const Kind k : kKinds) {
        const int n = dofCount(k);
        for (const Tri& t : kTris) {
            for (const double* T : {constant, linear}) {
                const Dense ka = stiff(solvika::HTBA31, t, C, T, n);
                const Dense kn = stiff(solvika::HTBN31, t, C, T, n);
                const Dense ref = stiffness(t, k, C.data(), T, exact);
                EXPECT_LT(relDiff(ka, ref), 1e-10) << n << " " << t.x[0];
                EXPECT_LT(relDiff(kn, stiffness(t, k, C.data(), T, seven)), 1e-10) << n << " " << t.x[0];
                EXPECT_GT(relDiff(kn, ref), 1e-5) << n << " " << t.x[0];
                for (int j = 1; j <= n; ++j)
                    for (int i = 1; i <= n; ++i) {
                        ASSERT_EQ(ka(i, j), ka(j, i));
                        ASSERT_EQ(kn(i, j), kn(j, i));
                    }
                if (T == constant) {
                    EXPECT_EQ(plate_test::psdRank(ka.v, n), n - 3) << n << " " << t.x[0];
                    EXPECT_EQ(plate_test::psdRank(kn.v, n), n - 3) << n << " " << t.x[0];
                }
            }
        }
    }
}

// Corner thicknesses within a thousandth of their mean count as constant,
// and then the mean is used, whichever corner comes first.
TEST(HTBStiffness, ConstantThicknessRoad)
{
    const auto C = rotatedOrthotropic(0.3);
    const Tri t = kTris[0];
    const Rule exact = gaussRule(8);
    const double mean = 1.0005;
    const double meanT[3] = {mean, mean, mean};
    const Tri turned{{t.x[2], t.x[0], t.x[1]}, {t.y[2], t.y[0], t.y[1]}};
    for (const Kind k : kKinds) {
        const int n = dofCount(k);
        // 1.003 lies 0.002 from the mean 1.001: the varying road.
        const double far[3] = {1.0, 1.0, 1.003};
        const Dense kf = stiff(solvika::HTBA31, t, C, far, n);
        EXPECT_LT(relDiff(kf, stiffness(t, k, C.data(), far, exact)), 1e-10);

        // 1.0015 lies 0.001 from the mean 1.0005: the constant road.
        const double near[3] = {1.0, 1.0, 1.0015};
        const Dense kc = stiff(solvika::HTBA31, t, C, near, n);
        EXPECT_LT(relDiff(kc, stiffness(t, k, C.data(), meanT, exact)), 1e-10);
        EXPECT_GT(relDiff(kc, stiffness(t, k, C.data(), near, exact)), 1e-6);

        // The same element with its corners listed from the third one.
        const double nearTurned[3] = {1.0015, 1.0, 1.0};
        const Dense kt = stiff(solvika::HTBA31, turned, C, nearTurned, n);
        EXPECT_LT(relDiff(kt, stiffness(turned, k, C.data(), meanT, exact)), 1e-10);
    }
}

TEST(HTBLv, MatchesIntegrationOfThePressure)
{
    const double P[3] = {1.5, -0.4, 2.2};
    const double uniform[3] = {0.7, 0.7, 0.7};
    for (const Kind k : kKinds) {
        const int n = dofCount(k);
        for (const Tri& t : kTris) {
            std::vector<double> f(n);
            solvika::HTB_Lv(f.data(), t.x, t.y, P, n);
            EXPECT_LT(solvika::test::maxAbsDiff(f, loads(t, k, P)), 1e-11 * t.area() * 3.0)
                << n << " " << t.x[0];

            // A unit rigid deflection picks up the whole load.
            solvika::HTB_Lv(f.data(), t.x, t.y, uniform, n);
            EXPECT_NEAR(f[0] + f[6] + f[12], 0.7 * t.area(), 1e-12 * t.area());
        }
    }
}

// Corner shear forces of a field the element reproduces (a quintic for
// T21, a quartic for T18), each corner with its own thickness, for either
// corner order and a material turned to an angle.
TEST(HTBMom, ExactShearForces)
{
    std::mt19937 rng(13);
    const auto C = rotatedOrthotropic(-0.7);
    const double T[3] = {1.2, 0.9, 1.5};
    for (const Kind k : kKinds) {
        const int n = dofCount(k);
        for (const Tri& t : kTris) {
            const Poly w = randomPoly(t, k == Kind::T21 ? 5 : 4, rng);
            auto v = dofs(t, k, w);
            v.resize(n);
            double r[6];
            solvika::HTB_Mom(v.data(), C.data(), t.x, t.y, T, n, r);
            for (int i = 0; i < 3; ++i) {
                double m[3], q[2];
                exactResults(w, C.data(), T[i], t.x[i], t.y[i], m, q);
                const double tol = 1e-10 * resultScale(t, C[0], T[i], v);
                EXPECT_NEAR(r[2 * i], q[0], tol) << n << " " << t.x[0] << " corner " << i;
                EXPECT_NEAR(r[2 * i + 1], q[1], tol) << n << " " << t.x[0] << " corner " << i;
            }
        }
    }
}

namespace {

constexpr int kUnit = 10;

class HTBLog : public ::testing::Test {
protected:
    void SetUp() override { solvika::attachSink(kUnit, &text); }
    void TearDown() override { solvika::detachSink(kUnit); }
    std::string text;
};

const std::vector<double> kC = {2.1e5, 0.63e5, 0.0, 0.63e5, 2.1e5, 0.0, 0.0, 0.0, 0.735e5};
const double kT[3] = {12.5, 10.0, 8.0};

std::string entryLines(const std::string& name, int ndof)
{
    return "\n\n\n ENTERING " + name + " FOR ELEMENT    42 :\n"
           "\n     DEGREES OF FREEDOM :" + (ndof == 18 ? " 18" : " 21") + "\n"
           "\n     CORNER THICKNESSES :\n"
           "     H1 = 1.2500E+01    H2 = 1.0000E+01    H3 = 8.0000E+00\n"
           "\n     CORNER COORDINATES :\n"
           "     X1 = 0.0000E+00    X2 = 4.0000E+00    X3 = 1.0000E+00\n"
           "     Y1 = 0.0000E+00    Y2 = 5.0000E-01    Y3 = 3.0000E+00\n"
           "\n     ELASTICITY MATRIX  :\n"
           "     2.1000000E+05  6.3000000E+04  0.0000000E+00\n"
           "     6.3000000E+04  2.1000000E+05  0.0000000E+00\n"
           "     0.0000000E+00  0.0000000E+00  7.3500000E+04\n";
}

} // namespace

TEST_F(HTBLog, PrintSwitches)
{
    const Tri t = kTris[0];
    struct Routine {
        Stiffness f;
        std::string name;
    } routines[] = {{solvika::HTBA31, "HTBA31"}, {solvika::HTBN31, "HTBN31"}};
    for (const auto& r : routines)
        for (const int n : {18, 21}) {
            std::vector<double> ek(n * n);
            std::int32_t ierr = 5;
            text.clear();
            r.f(ek.data(), kC.data(), t.x, t.y, kT, n, 42, kUnit, 1, ierr);
            EXPECT_EQ(ierr, 0);
            EXPECT_EQ(text, "");

            const std::string leave = "\n\n\n LEAVING " + r.name + " FOR ELEMENT    42 :\n";
            r.f(ek.data(), kC.data(), t.x, t.y, kT, n, 42, kUnit, 2, ierr);
            EXPECT_EQ(text, entryLines(r.name, n) + leave);

            std::string matrix;
            solvika::attachSink(kUnit + 1, &matrix);
            solvika::MATPRT(ek.data(), n, n, kUnit + 1);
            solvika::detachSink(kUnit + 1);
            text.clear();
            r.f(ek.data(), kC.data(), t.x, t.y, kT, n, 42, kUnit, 3, ierr);
            EXPECT_EQ(text, entryLines(r.name, n) + "\n     ELEMENT STIFFNESS MATRIX :\n" + matrix +
                                leave);
        }
}

// A degenerate element (or a DOF count other than 18 and 21) is refused
// with the two error writes whatever the print switch, EK untouched and no
// leaving line; the shape test does not depend on the element's size.
TEST_F(HTBLog, RefusedElements)
{
    const double T[3] = {1.0, 1.0, 1.0};
    struct Case {
        Tri t;
        int ndof;
        bool ok;
    } cases[] = {
        {{{0.0, 1.0, 0.0}, {0.0, 0.0, 49.9}}, 18, true},
        {{{0.0, 1.0, 0.0}, {0.0, 0.0, 50.0}}, 21, false},
        {{{0.0, 50.0, 25.0}, {0.0, 0.0, 1.0}}, 21, true}, // exactly 100 A
        {{{0.0, 25.0, 50.0}, {0.0, 1.0, 0.0}}, 18, true}, // the same, clockwise
        {{{0.0, 50.0, 25.0}, {0.0, 0.0, 0.999}}, 18, false},
        {{{1.0, 1.0, 1.0}, {2.0, 2.0, 2.0}}, 21, false}, // coinciding corners
        {{{0.0, 4.0, 1.0}, {0.0, 0.5, 3.0}}, 20, false},  // no such element
    };
    struct Routine {
        Stiffness f;
        std::string name;
    } routines[] = {{solvika::HTBA31, "HTBA31"}, {solvika::HTBN31, "HTBN31"}};
    for (const auto& r : routines)
        for (const auto& c : cases)
            for (const double scale : {1.0 / 1024.0, 1.0, 4096.0})
                for (const int print : {0, 3}) {
                    Tri t = c.t;
                    for (int k = 0; k < 3; ++k) {
                        t.x[k] *= scale;
                        t.y[k] *= scale;
                    }
                    std::vector<double> ek(441, 7.0);
                    std::int32_t ierr = 5;
                    text.clear();
                    r.f(ek.data(), kC.data(), t.x, t.y, T, c.ndof, 7, kUnit, print, ierr);
                    EXPECT_EQ(ierr, c.ok ? 0 : -1) << r.name << " " << c.t.y[2] << " " << c.ndof;
                    if (c.ok)
                        continue;
                    EXPECT_EQ(std::count(ek.begin(), ek.end(), 7.0), 441);
                    const std::string err = "\n\n\n *** ERROR RETURN FROM " + r.name +
                                            " ***\n\n     ELEMENT     7   IN ERROR\n";
                    if (print == 0) {
                        EXPECT_EQ(text, err);
                    } else {
                        ASSERT_GE(text.size(), err.size());
                        EXPECT_EQ(text.substr(text.size() - err.size()), err);
                        EXPECT_EQ(text.find(" ENTERING " + r.name), 3u);
                        EXPECT_EQ(text.find("LEAVING"), std::string::npos);
                    }
                }
}

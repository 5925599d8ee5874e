// Plate-bending results: corner moments and shears of exact polynomial
// deflections, moment axes, reactions against the applied load, spring
// forces and statuses.
#include "asm_support.h"

#include <cmath>
#include <set>
#include <string>

using namespace solvika;
using namespace solvika::test;

namespace {

constexpr double kPi = 3.14159265358979323846;

// w = sum of c x^i y^j.
struct Poly {
    struct Term {
        double c;
        int i, j;
    };
    std::vector<Term> terms;
    // The (a, b)-th partial derivative, d^a/dx^a d^b/dy^b, at (x, y).
    double d(int a, int b, double x, double y) const {
        double sum = 0.0;
        for (const Term& t : terms) {
            if (t.i < a || t.j < b) continue;
            double f = t.c;
            for (int k = 0; k < a; ++k) f *= t.i - k;
            for (int k = 0; k < b; ++k) f *= t.j - k;
            sum += f * std::pow(x, t.i - a) * std::pow(y, t.j - b);
        }
        return sum;
    }
};

// The normal of an edge that two elements agree on: the T6 convention
// (tangent towards larger x, upwards when vertical, turned a quarter
// anticlockwise) or that of the higher triangles (tangent with c > 0,
// (0, -1) when vertical; normal (-s, c)).
void edgeNormal(i32 code, double xa, double ya, double xb, double yb, double& nx, double& ny) {
    double dx = xb - xa, dy = yb - ya;
    const double L = std::hypot(dx, dy);
    if (std::fabs(dx) < 1e-10 * L) {
        dx = 0.0;
        dy = code == 61 ? L : -L;
    } else if (dx < 0) {
        dx = -dx;
        dy = -dy;
    }
    nx = -dy / L;
    ny = dx / L;
}

// The DOF vector of the deflection w for the grid's code.
std::vector<double> dofsOf(const Poly& w, System& sys) {
    Grid& g = sys.g;
    std::vector<double> U(std::size_t(sys.ndof()), 0.0);
    for (i32 e = 1; e <= g.key[0]; ++e)
        for (i32 k = 1; k <= 6 && k < g.key[18]; ++k) {
            const i32 n = g.elemNode(e, k);
            const double x = g.x(n), y = g.y(n);
            double* u = U.data() + sys.dof(n, 1) - 1;
            if (k <= 3) {
                switch (g.code) {
                case 61: u[0] = w.d(0, 0, x, y); break;
                case 66:
                    u[0] = w.d(0, 0, x, y);
                    u[1] = w.d(0, 1, x, y);
                    u[2] = -w.d(1, 0, x, y);
                    break;
                case 81:
                case 85:
                    u[3] = w.d(2, 0, x, y);
                    u[4] = w.d(1, 1, x, y);
                    u[5] = w.d(0, 2, x, y);
                    [[fallthrough]];
                default:
                    u[0] = w.d(0, 0, x, y);
                    u[1] = w.d(1, 0, x, y);
                    u[2] = w.d(0, 1, x, y);
                    break;
                }
                continue;
            }
            const i32 a = g.elemNode(e, k - 3), b = g.elemNode(e, k % 3 + 1);
            double nx, ny;
            edgeNormal(g.code, g.x(a), g.y(a), g.x(b), g.y(b), nx, ny);
            const double slope = nx * w.d(1, 0, x, y) + ny * w.d(0, 1, x, y);
            if (g.code == 75) {
                u[0] = w.d(0, 0, x, y);
                u[1] = slope;
            } else {
                u[0] = slope;
            }
        }
    return U;
}

// Corner results of w at (x, y): Mx, My, Mxy, Qx, Qy for thickness t.
void exact(const Poly& w, const double* D, double t, double x, double y, double* r) {
    const double f = -t * t * t / 12.0;
    auto M = [&](int row, int a, int b) {  // d^(a,b) of moment `row`
        return f * (D[row] * w.d(2 + a, b, x, y) + D[row + 3] * w.d(a, 2 + b, x, y) +
                    D[row + 6] * 2.0 * w.d(1 + a, 1 + b, x, y));
    };
    for (int row = 0; row < 3; ++row) r[row] = M(row, 0, 0);
    r[3] = M(0, 1, 0) + M(2, 0, 1);
    r[4] = M(2, 1, 0) + M(1, 0, 1);
}

void isotropic(double* D, double E = 1000.0, double nu = 0.25) {
    const double f = E / (1 - nu * nu);
    const double v[9] = {f, f * nu, 0, f * nu, f, 0, 0, 0, f * (1 - nu) / 2};
    std::copy(v, v + 9, D);
}

} // namespace

TEST(RecoveryBending, CornerResultsOfExactDeflections) {
    const Poly quadratic{{{0.3, 2, 0}, {-0.2, 1, 1}, {0.5, 0, 2}, {0.1, 1, 0}}};
    const Poly quartic{{{1.0, 4, 0}, {-2.0, 2, 2}, {0.5, 1, 3}, {0.7, 0, 4}, {0.3, 2, 1}, {0.2, 2, 0}}};
    struct Case {
        i32 code;
        const Poly* w;
    };
    const Case cases[] = {{61, &quadratic}, {65, &quadratic}, {66, &quadratic},
                          {75, &quartic},   {81, &quartic},   {85, &quartic}};
    double D[9];
    isotropic(D);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.code);
        Grid g(k.code, 2, 1);
        System sys(g);
        const std::vector<double> U = dofsOf(*k.w, sys);
        sys.bndres(U);
        ASSERT_EQ(sys.status[0], 0);
        const bool five = k.code >= 75;
        for (i32 e = 1; e <= g.key[0]; ++e)
            for (i32 i = 0; i < 3; ++i) {
                const i32 n = g.elemNode(e, i + 1);
                double r[5];
                exact(*k.w, D, 0.1, g.x(n), g.y(n), r);
                for (i32 c = 0; c < (five ? 5 : 3); ++c)
                    EXPECT_NEAR(g.eldata(e, (five ? 5 : 3) * i + c + 1), r[c], 1e-9 * (1 + std::fabs(r[c])))
                        << "element " << e << " corner " << i + 1 << " value " << c + 1;
            }
    }
}

TEST(RecoveryBending, MomentsTurnedToTheNodeAxes) {
    // At a corner whose node is turned by 90 degrees Mx and My swap and Mxy
    // changes sign; the shears turn as a vector.
    const Poly w{{{0.3, 2, 0}, {-0.2, 1, 1}, {0.5, 0, 2}, {0.4, 3, 0}}};
    for (i32 code : {61, 65, 75}) {
        SCOPED_TRACE(code);
        Grid g(code, 1, 1);
        System sys(g);
        const std::vector<double> U = dofsOf(w, sys);
        std::vector<double> plain[2];
        for (i32 key23 : {0, 1}) {
            Grid h = g;
            h.key[22] = key23;
            h.angle(h.elemNode(1, 1)) = kPi / 2;
            System s2(h);
            s2.bndres(U);
            ASSERT_EQ(s2.status[0], 0);
            plain[key23].assign(h.elementData.begin(), h.elementData.begin() + h.key[19]);
        }
        const i32 stride = code == 75 ? 5 : 3;
        const auto& a = plain[0];
        const auto& b = plain[1];
        // Code 61 turns its one triple by the first node's angle for every
        // corner; the others turn corner 1 only.
        for (i32 i = 0; i < 3; ++i) {
            const i32 o = stride * i;
            if (code == 61 || i == 0) {
                EXPECT_NEAR(b[o], a[o + 1], 1e-12);
                EXPECT_NEAR(b[o + 1], a[o], 1e-12);
                EXPECT_NEAR(b[o + 2], -a[o + 2], 1e-12);
                if (stride == 5) {
                    EXPECT_NEAR(b[o + 3], a[o + 4], 1e-12);
                    EXPECT_NEAR(b[o + 4], -a[o + 3], 1e-12);
                }
            } else {
                for (i32 c = 0; c < stride; ++c) EXPECT_EQ(b[o + c], a[o + c]);
            }
        }
    }
}

TEST(RecoveryBending, ReactionsBalanceTheAppliedLoad) {
    for (i32 code : {61, 65, 66, 75, 81, 85}) {
        SCOPED_TRACE(code);
        Grid g(code, 2, 2);
        // Simply supported: the deflection held at every boundary node that
        // carries one.
        std::set<i32> carriers;
        for (i32 e = 1; e <= g.key[0]; ++e)
            for (i32 k = 1; k <= (code == 75 ? 6 : 3); ++k) carriers.insert(g.elemNode(e, k));
        for (i32 n : carriers)
            if (g.x(n) < 1e-12 || g.x(n) > 2 - 1e-12 || g.y(n) < 1e-12 || g.y(n) > 1 - 1e-12) g.fix(n, 1);
        for (i32 e = 1; e <= g.key[0]; ++e)
            for (i32 r = 6; r <= 8; ++r) g.eldata(e, r) = 0.01 * r;
        g.value(g.node(2, 2)) = 0.5;
        g.edgeLoad({1.0, double(g.elemNode(1, 1)), 0.2, 0.4, 0.1});
        System sys(g, code % 2 == 0 ? 2 : 1);
        sys.assemble();
        ASSERT_EQ(sys.status[0], 0);
        sys.bndlod();
        ASSERT_EQ(sys.status[0], 0);
        const std::vector<double> U = sys.solve();
        sys.bndres(U);
        ASSERT_EQ(sys.status[0], 0);
        // Pressure (linear, mean 0.07 over the area 2), point load, edge load
        // piecewise linear over length 1: (0.2 + 2 * 0.1 + 0.4) / 4.
        const double applied = 0.07 * 2.0 + 0.5 + (0.2 + 0.2 + 0.4) / 4.0;
        EXPECT_NEAR(sys.sums.load[0], applied, 1e-12);
        EXPECT_NEAR(sys.sums.reaction[0], -applied, 1e-9);
        EXPECT_NEAR(g.value(g.node(2, 2)), 0.0, 1e-9);  // a free node
    }
}

TEST(RecoveryBending, SpringForcesInTheNodeAxes) {
    Grid g(65, 1, 1);
    g.angle(2) = kPi / 2;
    g.spring(2.0, 2.0, 10.0);
    g.spring(2.0, 3.0, 10.0);
    g.spring(2.0, 1.0, 10.0);
    System sys(g);
    std::vector<double> U(std::size_t(sys.ndof()), 0.0);
    U[std::size_t(sys.dof(2, 1) - 1)] = 0.3;
    U[std::size_t(sys.dof(2, 2) - 1)] = 1.0;  // w,x in global axes
    sys.bndres(U);
    ASSERT_EQ(sys.status[0], 0);
    EXPECT_NEAR(g.springs[2], 0.0, 1e-15);
    EXPECT_NEAR(g.springs[5], -10.0, 1e-15);
    EXPECT_NEAR(g.springs[8], 3.0, 1e-15);
}

TEST(RecoveryBending, Statuses) {
    {
        Grid g(65, 1, 1);
        System sys(g);
        g.key[9] = 31;
        std::string log;
        attachSink(7, &log);
        sys.bndres(std::vector<double>(std::size_t(sys.ndof()), 0.0), 7);
        detachSink(7);
        EXPECT_EQ(sys.status[0], -14);
        EXPECT_EQ(sys.status[1], 31);
        EXPECT_NE(log.find("unknown element kind =  31"), std::string::npos) << log;
    }
    {
        Grid g(66, 2, 1);
        g.x(g.node(4, 0)) = 1.5;  // element 3 collinear
        g.y(g.node(4, 0)) = 0.5;
        System sys(g);
        sys.bndres(std::vector<double>(std::size_t(sys.ndof()), 0.0));
        EXPECT_EQ(sys.status[0], -15);
        EXPECT_EQ(sys.status[1], 3);
        EXPECT_EQ(sys.status[2], 66);
    }
}

// Membrane stress recovery: exact stresses of constant-stress fields at
// every stress point of every code, stress axes, initial strains,
// extrapolation, reactions, spring forces and statuses.
#include "asm_support.h"

#include <cmath>
#include <string>

using namespace solvika;
using namespace solvika::test;

namespace {

const i32 kMembraneCodes[] = {31, 32, 33, 41, 42, 44, 46};
constexpr double kPi = 3.14159265358979323846;

i32 points(i32 code) { return code < 33 ? 3 : code == 33 ? 4 : 5; }

// Nodes on the line x = x0 (every node there, corners and side nodes).
std::vector<i32> nodesAtX(Grid& g, double x0) {
    std::vector<i32> out;
    for (i32 n = 1; n <= g.key[1]; ++n)
        if (std::fabs(g.x(n) - x0) < 1e-12) out.push_back(n);
    return out;
}

// Edge loads q (global x) on every element side on the right edge x = lx.
void loadRightEdge(Grid& g, double lx, double q) {
    const i32 corners = g.code >= 41 ? 4 : 3;
    g.key[20] = 8;
    for (i32 e = 1; e <= g.key[0]; ++e)
        for (i32 k = 1; k <= corners; ++k) {
            const i32 a = g.elemNode(e, k), b = g.elemNode(e, k % corners + 1);
            if (std::fabs(g.x(a) - lx) < 1e-12 && std::fabs(g.x(b) - lx) < 1e-12)
                g.edgeLoad({double(e), double(a), q, 0.0, q, 0.0, q, 0.0});
        }
}

// Runs loads, solution and recovery of the grid.
std::vector<double> run(System& sys) {
    sys.assemble();
    EXPECT_EQ(sys.status[0], 0);
    sys.memlod();
    EXPECT_EQ(sys.status[0], 0);
    std::vector<double> U = sys.solve();
    sys.memstr(U);
    EXPECT_EQ(sys.status[0], 0);
    return U;
}

// The tension model: left edge held in x (and node 1 in y), right edge
// pulled by q = 0.5 per unit length: sigma_x = q / t = 5. A QST edge is
// held in x only when du/dy is held along it too.
Grid tension(i32 code, i32 nx = 2, i32 ny = 2) {
    Grid g(code, nx, ny);
    for (i32 n : nodesAtX(g, 0.0)) {
        g.fix(n, 1);
        if (code == 33) g.fix(n, 5);
    }
    g.fix(1, 2);
    loadRightEdge(g, 2.0, 0.5);
    return g;
}

void turned(const double* in, double a, double* out) {
    const double c = std::cos(a), s = std::sin(a);
    out[0] = c * c * in[0] + s * s * in[1] + 2 * s * c * in[2];
    out[1] = s * s * in[0] + c * c * in[1] - 2 * s * c * in[2];
    out[2] = (c * c - s * s) * in[2] + s * c * (in[1] - in[0]);
}

} // namespace

TEST(RecoveryMembrane, UniformTensionIsExactAtEveryStressPoint) {
    for (i32 code : kMembraneCodes)
        for (i32 key28 : {0, 1}) {
            SCOPED_TRACE("code " + std::to_string(code) + " KEY(28) " + std::to_string(key28));
            Grid g = tension(code);
            g.key[27] = key28;
            System sys(g, code % 2 == 0 ? 2 : 1);
            run(sys);
            for (i32 e = 1; e <= g.key[0]; ++e)
                for (i32 p = 0; p < points(code); ++p) {
                    EXPECT_NEAR(g.eldata(e, 3 * p + 1), 5.0, 1e-9) << "element " << e << " point " << p + 1;
                    EXPECT_NEAR(g.eldata(e, 3 * p + 2), 0.0, 1e-9);
                    EXPECT_NEAR(g.eldata(e, 3 * p + 3), 0.0, 1e-9);
                }
            EXPECT_NEAR(sys.sums.load[0], 0.5, 1e-12);
            EXPECT_NEAR(sys.sums.reaction[0], -0.5, 1e-10);
            EXPECT_NEAR(sys.sums.reaction[1], 0.0, 1e-10);
            // Reactions only where the plate is held.
            for (i32 n = 1; n <= g.key[1]; ++n)
                if (g.x(n) > 1e-12) {
                    EXPECT_NEAR(g.nodal[4 * (n - 1) + 2], 0.0, 1e-10) << n;
                }
        }
}

TEST(RecoveryMembrane, StressesTurnedToTheElementAxes) {
    for (const double angle : {kPi / 6.0, 1.0e-9})
        for (i32 code : {31, 41}) {
            Grid g = tension(code);
            g.key[22] = 2;
            for (i32 e = 1; e <= g.key[0]; ++e) g.eldata(e, 1) = angle;  // isotropic: same D
            System sys(g);
            run(sys);
            const double in[3] = {5.0, 0.0, 0.0};
            double out[3];
            turned(in, angle, out);
            for (i32 p = 0; p < points(code); ++p)
                for (i32 r = 0; r < 3; ++r)
                    EXPECT_NEAR(g.eldata(1, 3 * p + r + 1), angle < 1e-8 ? in[r] : out[r], 1e-9);
        }
}

TEST(RecoveryMembrane, NodeAxesWithTheCircularMeanAtTheCentre) {
    // One Q4 (nodes 1, 2 at the bottom, 3, 4 at the top): the left nodes at
    // +-pi keep the supports equivalent; the right corners near +-pi.
    Grid g(41, 1, 1);
    const double angles[4] = {kPi, kPi - 0.5, -kPi, -kPi + 0.3};
    for (i32 n = 1; n <= 4; ++n) g.angle(n) = angles[n - 1];
    g.fix(1, 1);
    g.fix(1, 2);
    g.fix(3, 1);
    loadRightEdge(g, 2.0, 0.5);
    g.key[22] = 1;
    System sys(g);
    run(sys);
    const double in[3] = {5.0, 0.0, 0.0};
    const i32 order[4] = {1, 2, 4, 3};  // the element's corners
    double sn = 0.0, cs = 0.0;
    for (double a : angles) {
        sn += std::sin(a);
        cs += std::cos(a);
    }
    for (i32 p = 0; p < 5; ++p) {
        double out[3];
        turned(in, p < 4 ? angles[order[p] - 1] : std::atan2(sn, cs), out);
        for (i32 r = 0; r < 3; ++r) EXPECT_NEAR(g.eldata(1, 3 * p + r + 1), out[r], 1e-9) << "point " << p + 1;
    }
}

TEST(RecoveryMembrane, InitialStrainsFreeAndClamped) {
    const double E = 1000.0, nu = 0.25, e1 = 1.0e-3, e2 = 2.0e-3;
    const double f = E / (1 - nu * nu);
    const double clamped[3] = {-f * (e1 + nu * e2), -f * (e2 + nu * e1), 0.0};
    for (i32 code : kMembraneCodes)
        for (int clamp = 0; clamp < 2; ++clamp) {
            SCOPED_TRACE("code " + std::to_string(code) + (clamp ? " clamped" : " free"));
            Grid g(code, 2, 2);
            for (i32 e = 1; e <= g.key[0]; ++e) {
                g.eldata(e, 6) = e1;
                g.eldata(e, 7) = e2;
            }
            if (clamp) {
                for (i32 n = 1; n <= g.key[1]; ++n)
                    if (g.x(n) < 1e-12 || g.x(n) > 2 - 1e-12 || g.y(n) < 1e-12 || g.y(n) > 1 - 1e-12)
                        for (i32 d = 1; d <= (code == 33 ? 6 : 2); ++d) g.fix(n, d);
            } else {
                g.fix(g.node(0, 0), 1);
                g.fix(g.node(0, 0), 2);
                g.fix(g.node(4, 0), 2);
            }
            System sys(g);
            run(sys);
            for (i32 e = 1; e <= g.key[0]; ++e)
                for (i32 p = 0; p < points(code); ++p)
                    for (i32 r = 0; r < 3; ++r)
                        EXPECT_NEAR(g.eldata(e, 3 * p + r + 1), clamp ? clamped[r] : 0.0, 1e-9)
                            << "element " << e << " point " << p + 1;
            if (!clamp)
                for (i32 n = 1; n <= g.key[1]; ++n) {
                    EXPECT_NEAR(g.nodal[4 * (n - 1) + 2], 0.0, 1e-12) << n;
                    EXPECT_NEAR(g.nodal[4 * (n - 1) + 3], 0.0, 1e-12) << n;
                }
        }
}

TEST(RecoveryMembrane, GaussPointsExtrapolatedToTheCorners) {
    // u = x y is bilinear: its stresses are bilinear too, so corner values
    // extrapolated from the Gauss points equal those at the corners.
    std::vector<double> s[2];
    for (i32 key28 : {0, 1}) {
        Grid g(41, 1, 1);
        g.key[27] = key28;
        System sys(g);
        std::vector<double> U(std::size_t(sys.ndof()), 0.0);
        for (i32 n = 1; n <= g.key[1]; ++n) U[std::size_t(sys.dof(n, 1) - 1)] = g.x(n) * g.y(n);
        sys.W.assign(2 * std::size_t(g.key[1]), 0.0);
        sys.memstr(U);
        ASSERT_EQ(sys.status[0], 0);
        s[key28].assign(g.elementData.begin(), g.elementData.begin() + 15);
    }
    // The extrapolation factors carry nine decimals.
    for (i32 i = 0; i < 15; ++i) EXPECT_NEAR(s[1][i], s[0][i], 1e-6) << i;
    EXPECT_NE(s[0][0], s[0][6]);  // the field does vary
}

TEST(RecoveryMembrane, ReactionSumsBalanceTheLoads) {
    for (i32 code : {31, 33, 46}) {
        SCOPED_TRACE(code);
        Grid g(code, 2, 2);
        for (i32 n : nodesAtX(g, 0.0)) {
            g.fix(n, 1);
            g.fix(n, 2);
        }
        g.body = {0.2, -0.1, 0.05, 0.0, 0.0, 0.0, 1.0, -2.0};
        g.pointLoad(double(g.node(4, 4)), 0.3, -0.7);
        g.angle(g.node(4, 2)) = 0.6;
        g.pointLoad(-double(g.node(4, 2)), 1.0, 0.0);
        loadRightEdge(g, 2.0, 0.25);
        System sys(g);
        run(sys);
        EXPECT_NEAR(sys.sums.reaction[0], -sys.sums.load[0], 1e-10);
        EXPECT_NEAR(sys.sums.reaction[1], -sys.sums.load[1], 1e-10);
        EXPECT_GT(std::fabs(sys.sums.load[1]), 0.1);
    }
}

TEST(RecoveryMembrane, WithoutLoadsTheReactionsAreKu) {
    Grid g(41, 2, 1);
    for (i32 n : nodesAtX(g, 0.0)) g.fix(n, 1);
    g.fix(1, 2);
    for (i32 n : nodesAtX(g, 2.0)) g.prescribe(n, 1, 0.004);  // strain 0.002
    System sys(g);
    run(sys);
    // sigma_x = E eps = 2 over the section t ly = 0.1.
    double right = 0.0, left = 0.0;
    for (i32 n = 1; n <= g.key[1]; ++n) {
        const double rx = g.nodal[4 * (n - 1) + 2];
        if (g.x(n) > 2 - 1e-12) right += rx;
        else if (g.x(n) < 1e-12) left += rx;
        else EXPECT_NEAR(rx, 0.0, 1e-12);
    }
    EXPECT_NEAR(right, 0.2, 1e-10);
    EXPECT_NEAR(left, -0.2, 1e-10);
    EXPECT_NEAR(g.eldata(1, 1), 2.0, 1e-10);
    EXPECT_EQ(sys.sums.load[0], 0.0);
}

TEST(RecoveryMembrane, SpringForcesInTheNodeAxes) {
    Grid g(31, 2, 1);
    const double a = 0.5;
    g.angle(3) = a;
    g.spring(3.0000001, 0.9999999, 10.0);
    g.spring(3.0, 2.0, 10.0);
    g.spring(2.0, 3.0, 10.0);  // no such DOF
    System sys(g);
    std::vector<double> U(std::size_t(sys.ndof()), 0.0);
    U[std::size_t(sys.dof(3, 1) - 1)] = 0.2;
    U[std::size_t(sys.dof(3, 2) - 1)] = -0.1;
    sys.W.assign(2 * std::size_t(g.key[1]), 0.0);
    sys.memstr(U);
    ASSERT_EQ(sys.status[0], 0);
    const double c = std::cos(a), s = std::sin(a);
    EXPECT_NEAR(g.springs[2], 10.0 * (c * 0.2 + s * -0.1), 1e-14);
    EXPECT_NEAR(g.springs[5], 10.0 * (-s * 0.2 + c * -0.1), 1e-14);
    EXPECT_EQ(g.springs[8], 0.0);
}

TEST(RecoveryMembrane, Statuses) {
    {
        Grid g(31, 1, 1);
        System sys(g);
        g.key[9] = 65;
        std::string log;
        attachSink(7, &log);
        sys.W.assign(2 * std::size_t(g.key[1]), 0.0);
        sys.memstr(std::vector<double>(std::size_t(sys.ndof()), 0.0), 7);
        detachSink(7);
        EXPECT_EQ(sys.status[0], -27);
        EXPECT_EQ(sys.status[1], 65);
        EXPECT_NE(log.find("unknown element kind =  65"), std::string::npos) << log;
    }
    {
        Grid g(41, 2, 1);
        g.material[0] = -1.0;
        System sys(g);
        sys.W.assign(2 * std::size_t(g.key[1]), 0.0);
        sys.memstr(std::vector<double>(std::size_t(sys.ndof()), 0.0));
        EXPECT_EQ(sys.status[0], -15);
        EXPECT_EQ(sys.status[1], 1);
        EXPECT_EQ(sys.status[2], 41);
    }
}

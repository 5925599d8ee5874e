// Membrane loads: body-load totals, point loads in node axes, edge loads in
// side or global axes, loads on coupled DOFs, the internal-load store and
// the checks of the load rows.
#include "asm_support.h"

#include <cmath>
#include <string>

using namespace solvika;
using namespace solvika::test;

namespace {

const i32 kMembraneCodes[] = {31, 32, 33, 41, 42, 44, 46};

// Sum of the system vector over DOF d of every node (all DOFs free).
double systemSum(const System& sys, i32 d) {
    double sum = 0.0;
    for (i32 n = 1; n <= sys.g.key[1]; ++n) sum += sys.R[std::size_t(sys.equation(n, d) - 1)];
    return sum;
}

} // namespace

TEST(LoadsMembrane, BodyLoadTotalsWithGradientsAndGravity) {
    const double rho = 7.85e-6, g981 = rho * 9.81, t = 0.1, A = 2.0;
    // Intensities, gradients about the reference point (0.5, 0.25), gravity.
    const std::vector<double> B = {0.3, -0.2, 0.05, 0.1, 0.5, 0.25, 2.0, -1.0};
    const double Fx = t * A * (0.3 + 0.05 * (1.0 - 0.5) + 2.0 * g981);
    const double Fy = t * A * (-0.2 + 0.1 * (0.5 - 0.25) - g981);
    for (i32 code : kMembraneCodes) {
        SCOPED_TRACE(code);
        Grid g(code, 2, 2);
        g.body = B;
        System sys(g);
        sys.memlod();
        ASSERT_EQ(sys.status[0], 0);
        double wx = 0.0, wy = 0.0;
        for (i32 n = 0; n < g.key[1]; ++n) {
            wx += sys.W[2 * n];
            wy += sys.W[2 * n + 1];
        }
        EXPECT_NEAR(wx, Fx, 1e-12);
        EXPECT_NEAR(wy, Fy, 1e-12);
        EXPECT_NEAR(systemSum(sys, 1), Fx, 1e-12);
        EXPECT_NEAR(systemSum(sys, 2), Fy, 1e-12);
        ASSERT_EQ(sys.internal.size(), 2 * std::size_t(g.key[0]));
        double internal = 0.0;
        for (double v : sys.internal) internal += std::fabs(v);
        if (code == 33 || code == 46)
            EXPECT_GT(internal, 0.0);
        else
            EXPECT_EQ(internal, 0.0);
    }
}

TEST(LoadsMembrane, ReferencePointAloneIsNoLoad) {
    Grid g(41, 2, 1);
    g.body = {0.0, 0.0, 0.0, 0.0, 3.0, 4.0, 0.0, 0.0};
    System sys(g);
    sys.memlod();
    EXPECT_EQ(sys.status[0], 0);
    for (double v : sys.R) EXPECT_EQ(v, 0.0);
    for (double v : sys.W) EXPECT_EQ(v, 0.0);  // cleared, then nothing added
}

TEST(LoadsMembrane, PointLoadsInNodeAxesOrGlobalAxes) {
    const double a = 0.5, c = std::cos(a), s = std::sin(a);
    for (const double node : {-7.0, 7.0}) {
        Grid g(31, 3, 1);
        g.angle(7) = a;
        g.pointLoad(node, 3.0, 4.0);
        System sys(g);
        sys.memlod();
        ASSERT_EQ(sys.status[0], 0);
        const double rx = sys.R[std::size_t(sys.equation(7, 1) - 1)], ry = sys.R[std::size_t(sys.equation(7, 2) - 1)];
        if (node < 0) {  // given in node axes: into the system unchanged
            EXPECT_DOUBLE_EQ(rx, 3.0);
            EXPECT_DOUBLE_EQ(ry, 4.0);
            EXPECT_DOUBLE_EQ(sys.W[12], c * 3.0 - s * 4.0);
            EXPECT_DOUBLE_EQ(sys.W[13], s * 3.0 + c * 4.0);
        } else {
            EXPECT_DOUBLE_EQ(rx, c * 3.0 + s * 4.0);
            EXPECT_DOUBLE_EQ(ry, -s * 3.0 + c * 4.0);
            EXPECT_DOUBLE_EQ(sys.W[12], 3.0);
            EXPECT_DOUBLE_EQ(sys.W[13], 4.0);
        }
    }
}

TEST(LoadsMembrane, LoadOnARigidSlaveEqualsTheLoadOnItsMaster) {
    std::vector<double> R[2];
    for (int onSlave = 0; onSlave < 2; ++onSlave) {
        Grid g(41, 2, 1);
        const i32 slave = g.node(4, 2), master = g.node(4, 0);
        g.couple(slave, 1, master, 1, 1.0);
        g.pointLoad(onSlave ? slave : master, 5.0, 0.0);
        System sys(g);
        sys.memlod();
        ASSERT_EQ(sys.status[0], 0);
        R[onSlave] = sys.R;
        EXPECT_DOUBLE_EQ(sys.R[std::size_t(sys.equation(master, 1) - 1)], 5.0);
    }
    EXPECT_EQ(R[0], R[1]);
}

TEST(LoadsMembrane, EdgeLoadsInGlobalAndSideAxes) {
    // Element 2 is (0,0), (2,2), (0,2); its side 3 runs down the left edge
    // (length 1) from node (0,2) to node (0,0): side axes (0,-1) and (1,0).
    struct Case {
        double start;        // signed start node
        double p[4];         // start pair, end pair
        double fa[2], fb[2]; // expected forces at the start and end nodes
    };
    Grid probe(31, 2, 1);
    const double a = probe.node(0, 2), b = probe.node(0, 0);
    const Case cases[] = {
        {a, {1.0, 2.0, 1.0, 2.0}, {0.5, 1.0}, {0.5, 1.0}},     // global, constant
        {-a, {1.0, 2.0, 1.0, 2.0}, {1.0, -0.5}, {1.0, -0.5}},  // side axes
        {a, {1.0, 0.0, 0.0, 0.0}, {1.0 / 3.0, 0.0}, {1.0 / 6.0, 0.0}},  // linear: consistent split
    };
    for (const Case& k : cases) {
        Grid g(31, 2, 1);
        g.edgeLoad({2.0, k.start, k.p[0], k.p[1], k.p[2], k.p[3]});
        System sys(g);
        sys.memlod();
        ASSERT_EQ(sys.status[0], 0);
        const std::size_t ia = 2 * std::size_t(a - 1), ib = 2 * std::size_t(b - 1);
        EXPECT_NEAR(sys.W[ia], k.fa[0], 1e-15);
        EXPECT_NEAR(sys.W[ia + 1], k.fa[1], 1e-15);
        EXPECT_NEAR(sys.W[ib], k.fb[0], 1e-15);
        EXPECT_NEAR(sys.W[ib + 1], k.fb[1], 1e-15);
    }
}

TEST(LoadsMembrane, QuadraticTriangleWithoutMidPairTakesTheLinearLoad) {
    std::vector<double> R[2];
    for (int withMid = 0; withMid < 2; ++withMid) {
        Grid g(33, 2, 1);
        std::vector<double> row = {1.0, double(g.node(0, 0)), 1.0, -2.0, 3.0, 4.0};
        if (withMid) row.insert(row.end(), {2.0, 1.0});
        g.edgeLoad(row);
        System sys(g);
        sys.memlod();
        ASSERT_EQ(sys.status[0], 0);
        R[withMid] = sys.R;
    }
    for (std::size_t i = 0; i < R[0].size(); ++i) EXPECT_NEAR(R[0][i], R[1][i], 1e-14);
}

TEST(LoadsMembrane, NineNodeQuadGaussPoints) {
    std::vector<double> R[3];
    const i32 points[3] = {0, 9, 4};
    for (int k = 0; k < 3; ++k) {
        Grid g(46, 2, 1);
        g.key[26] = points[k];
        g.body = {1.0, 2.0, 0, 0, 0, 0, 0, 0};
        System sys(g);
        sys.memlod();
        ASSERT_EQ(sys.status[0], 0);
        R[k] = sys.R;
    }
    EXPECT_EQ(R[0], R[1]);
    EXPECT_NE(R[0], R[2]);
}

TEST(LoadsMembrane, FaultyRowsStopBeforeAnyLoadIsAdded) {
    struct Case {
        i32 code;
        std::vector<double> edge;   // one edge-load row (empty: none)
        double pointNode;           // 0: no point load
        i32 status, s2, s3;
    };
    Grid q8(44, 2, 1);
    const Case cases[] = {
        {44, {1.0, double(q8.node(1, 0)), 1, 1, 1, 1}, 0.0, -23, 1, q8.node(1, 0)},  // a side node
        {31, {9.0, 1.0, 1, 1, 1, 1}, 0.0, -23, 9, 1},                                // no element 9
        {31, {}, 99.0, -25, 99, 0},
        {31, {}, -99.0, -25, 99, 0},
        {61, {}, 0.0, -14, 61, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.status);
        Grid g(k.code == 61 ? 31 : k.code, 2, 1);
        g.body = {1.0, 1.0, 0, 0, 0, 0, 0, 0};
        g.pointLoad(1.0, 1.0, 1.0);  // a valid row first
        if (!k.edge.empty()) g.edgeLoad(k.edge);
        if (k.pointNode != 0.0) g.pointLoad(k.pointNode, 1.0, 1.0);
        System sys(g);
        g.key[9] = k.code;
        std::string log;
        attachSink(7, &log);
        sys.memlod(7);
        detachSink(7);
        EXPECT_EQ(sys.status[0], k.status);
        EXPECT_EQ(sys.status[1], k.s2);
        EXPECT_EQ(sys.status[2], k.s3);
        EXPECT_NE(log.find("ERROR detected"), std::string::npos);
        for (double v : sys.R) EXPECT_EQ(v, 0.0);
        for (double v : sys.W) EXPECT_EQ(v, 0.0);
    }
}

TEST(LoadsMembrane, StrainGradientsAloneAreAnInitialStrain) {
    // Only the y-gradient of eps_y (row 11): a self-equilibrated load that
    // reaches the system and the nodal loads.
    Grid g(41, 2, 1);
    for (i32 e = 1; e <= g.key[0]; ++e) g.eldata(e, 11) = 1.0e-3;
    System sys(g);
    sys.memlod();
    ASSERT_EQ(sys.status[0], 0);
    double largest = 0.0, sumY = 0.0;
    for (double v : sys.R) largest = std::max(largest, std::fabs(v));
    for (i32 n = 0; n < g.key[1]; ++n) sumY += sys.W[2 * n + 1];
    EXPECT_GT(largest, 0.0);
    EXPECT_NEAR(sumY, 0.0, 1e-15);
}

TEST(LoadsMembrane, EdgeRecordsTooShortToNameTheirElement) {
    Grid g(31, 1, 1);
    g.key[20] = 1;
    g.edgeLoad({1.0});
    System sys(g);
    sys.memlod();
    EXPECT_EQ(sys.status[0], -23);
    EXPECT_EQ(sys.status[1], 0);
}

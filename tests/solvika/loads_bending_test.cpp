// Plate-bending loads: lateral pressure totals, edge-load shares in the
// nodal data, loads on coupled deflections and the checks of the rows.
#include "asm_support.h"

#include <cmath>
#include <set>
#include <string>

using namespace solvika;
using namespace solvika::test;

namespace {

const i32 kBendingCodes[] = {61, 65, 66, 75, 81, 85};

} // namespace

TEST(LoadsBending, UniformPressureTotalOnTheDeflections) {
    for (i32 code : kBendingCodes) {
        SCOPED_TRACE(code);
        Grid g(code, 2, 2);
        for (i32 e = 1; e <= g.key[0]; ++e)
            for (i32 r = 6; r <= 8; ++r) g.eldata(e, r) = 0.3;
        g.angle(g.node(2, 2)) = 0.4;  // turns rotations only
        System sys(g);
        sys.bndlod();
        ASSERT_EQ(sys.status[0], 0);
        // Nodes that carry a deflection: corners, and the side nodes of 75.
        std::set<i32> carriers;
        for (i32 e = 1; e <= g.key[0]; ++e)
            for (i32 k = 1; k <= (code == 75 ? 6 : 3); ++k) carriers.insert(g.elemNode(e, k));
        double total = 0.0;
        for (i32 n : carriers) total += sys.R[std::size_t(sys.equation(n, 1) - 1)];
        EXPECT_NEAR(total, 0.3 * 2.0, 1e-12);
    }
}

TEST(LoadsBending, EdgeLoadSharesGoToTheNodalData) {
    struct Case {
        double qs, qe, qm;
        i32 rows;
        double fa, fb;  // per unit length
    };
    const Case cases[] = {
        {2.0, 2.0, 2.0, 5, 1.0, 1.0},                // constant: q L / 2
        {1.0, 0.0, 0.0, 5, 5.0 / 24.0, 1.0 / 24.0},  // start value alone
        {1.0, 3.0, 0.0, 4, 5.0 / 6.0, 7.0 / 6.0},    // no mid value: linear
    };
    for (const Case& k : cases) {
        Grid g(65, 2, 1);
        // Element 1 is (0,0), (2,0), (2,2); its first edge has length 1.
        const i32 a = g.node(0, 0), b = g.node(2, 0);
        g.value(a) = 0.7;
        std::vector<double> row = {1.0, double(a), k.qs, k.qe, k.qm};
        row.resize(std::size_t(k.rows));
        g.edgeLoad(row);
        System sys(g);
        sys.bndlod();
        ASSERT_EQ(sys.status[0], 0);
        EXPECT_NEAR(g.value(a), 0.7 + k.fa, 1e-15);
        EXPECT_NEAR(g.value(b), k.fb, 1e-15);
        EXPECT_NEAR(sys.R[std::size_t(sys.equation(a, 1) - 1)], 0.7 + k.fa, 1e-15);
        EXPECT_NEAR(sys.R[std::size_t(sys.equation(b, 1) - 1)], k.fb, 1e-15);
    }
}

TEST(LoadsBending, LoadOnARigidSlaveEqualsTheLoadOnItsMaster) {
    std::vector<double> R[2];
    for (int onSlave = 0; onSlave < 2; ++onSlave) {
        Grid g(65, 2, 1);
        const i32 slave = g.node(4, 2), master = g.node(4, 0);
        g.couple(slave, 1, master, 1, 1.0);
        g.value(onSlave ? slave : master) = 5.0;
        System sys(g);
        sys.bndlod();
        ASSERT_EQ(sys.status[0], 0);
        R[onSlave] = sys.R;
        EXPECT_DOUBLE_EQ(sys.R[std::size_t(sys.equation(master, 1) - 1)], 5.0);
    }
    EXPECT_EQ(R[0], R[1]);
}

TEST(LoadsBending, FaultyRowsAndCodes) {
    struct Case {
        i32 code;
        double element, node;
        i32 status, s2, s3;
    };
    Grid probe(65, 2, 1);
    const double notCorner = probe.node(0, 2);  // not a node of element 1
    const Case cases[] = {
        {65, 1.0, notCorner, -23, 1, i32(notCorner)},
        {65, 0.0, 1.0, -23, 0, 1},
        {65, 7.0, 1.0, -23, 7, 1},
        {41, 1.0, 1.0, -14, 41, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.status);
        Grid g(65, 2, 1);
        for (i32 e = 1; e <= g.key[0]; ++e) g.eldata(e, 6) = 1.0;
        g.edgeLoad({1.0, 1.0, 1.0, 1.0, 1.0});  // a valid row first
        g.edgeLoad({k.element, k.node, 1.0, 1.0, 1.0});
        System sys(g);
        g.key[9] = k.code;
        std::string log;
        attachSink(7, &log);
        sys.bndlod(7);
        detachSink(7);
        EXPECT_EQ(sys.status[0], k.status);
        EXPECT_EQ(sys.status[1], k.s2);
        EXPECT_EQ(sys.status[2], k.s3);
        EXPECT_NE(log.find("ERROR detected"), std::string::npos);
        for (double v : sys.R) EXPECT_EQ(v, 0.0);
        for (i32 n = 1; n <= g.key[1]; ++n) EXPECT_EQ(g.value(n), 0.0);
    }
}

// DOF status and constraint tables from the boundary-condition rows.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace solvika;

namespace {

constexpr int kUnit = 42;
const std::string kError = "\n\n\n *** ERROR detected during execution of Brantel ***\n\n";
using Status = std::array<std::int32_t, 5>;

// Tables of a model whose node n has dofs[n - 1] DOFs.
ModelTables modelWith(const std::vector<int>& dofs) {
    ModelTables t;
    t.MNDPTR.push_back(1);
    for (int d : dofs) t.MNDPTR.push_back(t.MNDPTR.back() + d);
    t.MPAR[0] = int(dofs.size());
    t.MPAR[2] = t.MNDPTR.back() - 1;
    return t;
}

struct Rows {
    std::vector<std::int32_t> fixed;
    std::vector<double> prescribed, couplings;
};

Status bcdata(ModelTables& t, const Rows& rows, std::string* log = nullptr) {
    std::array<std::int32_t, 30> key{};
    key[1] = t.MPAR[0];
    key[3] = int(rows.fixed.size() / 2);
    key[4] = int(rows.prescribed.size() / 3);
    key[5] = int(rows.couplings.size() / 8);
    Status status{3, 3, 3, 3, 3};
    std::string sink;
    attachSink(kUnit, &sink);
    BCDATA(key.data(), rows.fixed.data(), rows.prescribed.data(), rows.couplings.data(), kUnit, status.data(), t);
    detachSink(kUnit);
    if (log) *log = sink;
    return status;
}

} // namespace

TEST(ConstraintTables, PrescribedRowsThenCouplings) {
    ModelTables t = modelWith({2, 2, 2, 2});
    const Rows rows{{1, 1, 1, 2}, {2, 1, 0.25, 3, 2, -0.5}, {4, 2, 2, 2, 0.75, 3, 1, -1.5}};
    EXPECT_EQ(bcdata(t, rows), (Status{0, 0, 0, 0, 0}));
    EXPECT_EQ(t.MPMCEQ, (std::vector<std::int32_t>{1, 2, 3, 6}));
    EXPECT_EQ(t.MCQDOF, (std::vector<std::int32_t>{3, 6, 8, 4, 5}));
    EXPECT_EQ(t.CQCOEF, (std::vector<double>{0.25, -0.5, 0.0, 0.75, -1.5}));
    EXPECT_EQ(t.MSC, (std::vector<std::int32_t>{0, 0, 0, 1, 1, 0, 1, 0}));
    // MPAR(4) 8 - 5, (6) 5, (7) 3, (8) 2, (9) 2, (10) 1, (11) 3, (16) 5.
    const std::array<std::pair<int, int>, 8> mpar{
        {{4, 3}, {6, 5}, {7, 3}, {8, 2}, {9, 2}, {10, 1}, {11, 3}, {16, 5}}};
    for (auto [entry, value] : mpar) EXPECT_EQ(t.MPAR[std::size_t(entry - 1)], value) << "MPAR(" << entry << ")";
}

TEST(ConstraintTables, OneMasterCouplingHasTwoEntries) {
    ModelTables t = modelWith({1, 1, 1});
    const Rows rows{{}, {}, {1, 1, 2, 1, 2.0, 0, 5, 9.0, 3, 1, 1, 1, 0.4, -1, 1, 1.0}};
    EXPECT_EQ(bcdata(t, rows)[0], 0);
    EXPECT_EQ(t.MPMCEQ, (std::vector<std::int32_t>{1, 3, 5}));
    EXPECT_EQ(t.MCQDOF, (std::vector<std::int32_t>{1, 2, 3, 1}));
    EXPECT_EQ(t.CQCOEF, (std::vector<double>{0.0, 2.0, 0.0, 0.4}));
    EXPECT_EQ(t.MPAR[15], 4);
}

TEST(ConstraintTables, NoEquationsGiveEmptyTables) {
    ModelTables t = modelWith({3, 3});
    EXPECT_EQ(bcdata(t, {{2, 3}, {}, {}}), (Status{0, 0, 0, 0, 0}));
    EXPECT_TRUE(t.MPMCEQ.empty());
    EXPECT_TRUE(t.MCQDOF.empty());
    EXPECT_TRUE(t.CQCOEF.empty());
    EXPECT_EQ(t.MPAR[6], 0);
    EXPECT_EQ(t.MPAR[15], 0);
    EXPECT_EQ(t.MPAR[3], 5);
    EXPECT_EQ(t.MSC, (std::vector<std::int32_t>{1, 1, 1, 1, 1, 0}));
}

TEST(ConstraintTables, NodeAndDofNumbersRoundToTheNearestInteger) {
    ModelTables t = modelWith({2, 2, 2});
    EXPECT_EQ(bcdata(t, {{}, {3.0000001, 1.9999999, 4.0}, {}})[0], 0);
    EXPECT_EQ(t.MCQDOF, (std::vector<std::int32_t>{6}));

    EXPECT_EQ(nearestInt(2.5), 3);
    EXPECT_EQ(nearestInt(-2.5), -3);
    EXPECT_EQ(nearestInt(2.4999), 2);
    EXPECT_EQ(nearestInt(std::nan("")), 0);
    EXPECT_EQ(nearestInt(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(nearestInt(-1e300), std::numeric_limits<std::int32_t>::min());
}

// More prescribed rows than the model has DOFs (one DOF prescribed over and
// over): the tables hold every equation.
TEST(ConstraintTables, MoreEquationsThanDofs) {
    ModelTables t = modelWith({1, 1});
    Rows rows;
    for (int i = 0; i < 6; ++i) rows.prescribed.insert(rows.prescribed.end(), {1, 1, double(i)});
    for (int i = 0; i < 3; ++i) rows.couplings.insert(rows.couplings.end(), {2, 1, 1, 1, 1.0, 1, 1, 2.0});
    EXPECT_EQ(bcdata(t, rows)[0], 0);
    EXPECT_EQ(t.MPMCEQ.size(), 10u);
    EXPECT_EQ(t.MPMCEQ.back(), 16);
    EXPECT_EQ(t.MCQDOF.size(), 15u);
    EXPECT_EQ(t.MPAR[6], 9);
}

TEST(ConstraintTables, DofsThatTheNodeDoesNotHave) {
    struct Case {
        const char* what;
        Rows rows;
        Status status;
    };
    // Node 1: T15 corner (3 DOFs), node 2: side (2 DOFs), node 3: 1 DOF.
    const Case cases[] = {
        {"fixed DOF 3 of a 2-DOF node", {{1, 3, 2, 3}, {}, {}}, {-25, 2, 0, 0, 0}},
        {"fixed DOF 4 of a corner", {{1, 4}, {}, {}}, {-25, 1, 0, 0, 0}},
        {"prescribed DOF 2 of a 1-DOF node", {{}, {3, 2, 0}, {}}, {-25, 3, 0, 0, 0}},
        {"slave DOF 3", {{}, {}, {2, 3, 1, 1, 1, 0, 0, 0}}, {-25, 2, 0, 0, 0}},
        {"master-1 DOF 3 of a 2-DOF node", {{}, {}, {1, 1, 2, 3, 1, 0, 0, 0}}, {-26, 2, 0, 0, 0}},
        {"master-2 DOF 2 of a 1-DOF node", {{}, {}, {1, 1, 2, 1, 1, 3, 2, 1}}, {-26, 3, 0, 0, 0}},
        {"node outside the model", {{4, 1}, {}, {}}, {-25, 4, 0, 0, 0}},
        {"DOF 0", {{}, {1, 0, 0}, {}}, {-25, 1, 0, 0, 0}},
        {"master node 0", {{}, {}, {1, 1, 0, 1, 1, 0, 0, 0}}, {-26, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ModelTables t = modelWith({3, 2, 1});
        EXPECT_EQ(bcdata(t, c.rows), c.status) << c.what;
        EXPECT_TRUE(t.MCQDOF.empty() && t.CQCOEF.empty()) << c.what;
    }
    ModelTables t = modelWith({3, 2, 1});
    std::string log;
    bcdata(t, {{}, {}, {1, 1, 2, 3, 1, 0, 0, 0}}, &log);
    EXPECT_EQ(log, kError + "     Attempt to couple a d o f to a non-existent d o f at node     2\n");
    bcdata(t, {{2, 3}, {}, {}}, &log);
    EXPECT_EQ(log, kError + "     Attempt to specify a non-existent d o f at node     2\n");
}

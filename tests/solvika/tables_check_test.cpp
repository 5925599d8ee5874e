// Input checks and the topology check that builds the node and element
// tables.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace solvika;

namespace {

constexpr int kUnit = 41;
const std::string kError = "\n\n\n *** ERROR detected during execution of Brantel ***\n\n";

using Status = std::array<std::int32_t, 5>;

struct TopologyRun {
    Status status{7, 7, 7, 7, 7};
    ModelTables tables;
    std::string log;
};

// Topology columns: material, then the nodes; rows = 1 + nodes per column.
TopologyRun checkTopology(const std::vector<std::vector<int>>& elements, int nanod, int code, int rows = 0) {
    if (rows == 0) rows = 1 + int(elements.empty() ? 0 : elements[0].size());
    std::vector<std::int32_t> topology;
    for (const auto& e : elements) {
        topology.push_back(1);
        for (int r = 1; r < rows; ++r) topology.push_back(r - 1 < int(e.size()) ? e[std::size_t(r - 1)] : 0);
    }
    TopologyRun run;
    run.tables.MPAR.fill(-9);
    run.tables.MSPAR.fill(-9);
    attachSink(kUnit, &run.log);
    CHKTOP(topology.data(), int(elements.size()), nanod, code, rows, kUnit, run.status.data(), run.tables);
    detachSink(kUnit);
    return run;
}

std::vector<std::int32_t> dofCounts(const ModelTables& t) {
    std::vector<std::int32_t> counts;
    for (std::size_t n = 0; n + 1 < t.MNDPTR.size(); ++n) counts.push_back(t.MNDPTR[n + 1] - t.MNDPTR[n]);
    return counts;
}

} // namespace

TEST(TopologyCheck, TwoMembraneTrianglesBuildTheTables) {
    const TopologyRun run = checkTopology({{1, 2, 3}, {2, 4, 3}}, 4, 31);
    EXPECT_EQ(run.status, (Status{0, 0, 0, 0, 0}));
    EXPECT_EQ(run.log, "");
    const ModelTables& t = run.tables;
    EXPECT_EQ(t.MNDPTR, (std::vector<std::int32_t>{1, 3, 5, 7, 9}));
    EXPECT_EQ(t.MEXNOD, (std::vector<std::int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(t.MPELND, (std::vector<std::int32_t>{1, 4, 7}));
    EXPECT_EQ(t.MELNOD, (std::vector<std::int32_t>{1, 2, 3, 2, 4, 3}));
    EXPECT_EQ(t.MPAR[0], 4);
    EXPECT_EQ(t.MPAR[1], 2);
    EXPECT_EQ(t.MPAR[2], 8);
    EXPECT_EQ(t.MPAR[14], 6);
    for (int i : {3, 4, 5, 6, 10, 15, 19, 49}) EXPECT_EQ(t.MPAR[std::size_t(i)], 0) << "MPAR(" << i + 1 << ")";
    for (std::int32_t v : t.MSPAR) EXPECT_EQ(v, 0);
}

// DOFs per node by code; for 75 and 85 corners first, then side nodes.
TEST(TopologyCheck, DofsPerNodeOfEveryCode) {
    struct Case {
        int code;
        std::vector<int> nodes;
        std::vector<std::int32_t> dofs;
    };
    const Case cases[] = {
        {31, {1, 2, 3}, {2, 2, 2}},
        {32, {1, 2, 3, 4, 5, 6}, {2, 2, 2, 2, 2, 2}},
        {33, {1, 2, 3}, {6, 6, 6}},
        {35, {1, 2, 3}, {3, 3, 3}},
        {41, {1, 2, 3, 4}, {2, 2, 2, 2}},
        {42, {1, 2, 3, 4}, {2, 2, 2, 2}},
        {44, {1, 2, 3, 4, 5, 6, 7, 8}, {2, 2, 2, 2, 2, 2, 2, 2}},
        {46, {1, 2, 3, 4, 5, 6, 7, 8}, {2, 2, 2, 2, 2, 2, 2, 2}},
        {61, {1, 2, 3, 4, 5, 6}, {1, 1, 1, 1, 1, 1}},
        {65, {1, 2, 3}, {3, 3, 3}},
        {66, {1, 2, 3}, {3, 3, 3}},
        {75, {4, 6, 2, 1, 3, 5}, {2, 3, 2, 3, 2, 3}},
        {81, {1, 2, 3}, {6, 6, 6}},
        {85, {4, 6, 2, 1, 3, 5}, {1, 6, 1, 6, 1, 6}},
        {91, {1, 2, 3, 4}, {3, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        const TopologyRun run = checkTopology({c.nodes}, int(c.nodes.size()), c.code);
        EXPECT_EQ(run.status[0], 0) << c.code;
        EXPECT_EQ(dofCounts(run.tables), c.dofs) << c.code;
        EXPECT_EQ(run.tables.MPAR[14], int(c.nodes.size())) << c.code;
    }
}

TEST(TopologyCheck, ErrorsStopWithTheirValuesAndMessage) {
    struct Case {
        const char* what;
        std::vector<std::vector<int>> elements;
        int nanod, code;
        Status status;
        std::string message;
    };
    std::vector<std::vector<int>> seven(7, {1, 2, 3});
    seven[6] = {1, 0, 3};
    const Case cases[] = {
        {"side node of 1, corner of 2", {{1, 2, 3, 4, 5, 6}, {5, 7, 8, 9, 10, 11}}, 11, 85, {-2, 5, 2, 0, 0},
         "     Corner node appears to be connected to a side node\n     Check node     5 and element     2\n"},
        {"corner node of 1, side of 2", {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 2, 10, 11}}, 11, 75, {-3, 2, 2, 0, 0},
         "     Side node appears to be connected to a corner node\n     Check node     2 and element     2\n"},
        {"node 0 at position 2 of element 7", seven, 3, 31, {-1, 0, 7, 2, 0},
         "     Illegal node number       0\n     associated with node  2 of element     7\n"},
        {"node above the count", {{1, 2, 4}}, 3, 31, {-1, 4, 1, 3, 0},
         "     Illegal node number       4\n     associated with node  3 of element     1\n"},
        {"node 10 unused", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, 10, 31, {-5, 10, 0, 0, 0},
         "     Node    10 is not connected\n"},
        {"unknown membrane code", {{1, 2, 3}}, 3, 37, {-4, 1, 0, 0, 0}, "     Element     1 is of unknown kind\n"},
        {"unknown bending code", {{1, 2, 3}}, 3, 70, {-4, 1, 0, 0, 0}, "     Element     1 is of unknown kind\n"},
    };
    for (const Case& c : cases) {
        const TopologyRun run = checkTopology(c.elements, c.nanod, c.code);
        EXPECT_EQ(run.status, c.status) << c.what;
        EXPECT_EQ(run.log, kError + c.message) << c.what;
    }
}

TEST(TopologyCheck, ElementsWithoutATopologyArrayStopWithMinusThirty) {
    for (const int nel : {1, 1000}) {
        TopologyRun run;
        attachSink(kUnit, &run.log);
        CHKTOP(nullptr, nel, 3, 31, 4, kUnit, run.status.data(), run.tables);
        detachSink(kUnit);
        EXPECT_EQ(run.status[0], -30) << nel;
        EXPECT_NE(run.log.find("Storage could not be allocated"), std::string::npos) << run.log;
    }
    // No elements need no array.
    TopologyRun empty;
    CHKTOP(nullptr, 0, 0, 31, 4, kUnit, empty.status.data(), empty.tables);
    EXPECT_EQ(empty.status[0], 0);
}

TEST(TopologyCheck, TooFewRowsStopBeforeReadingBeyondTheColumn) {
    const TopologyRun run = checkTopology({{1, 2, 3, 4}, {5, 6, 7, 8}}, 8, 41, 3);
    EXPECT_EQ(run.status, (Status{-1, 0, 1, 3, 0}));
    EXPECT_EQ(run.log, "\n     Too few rows in the topology array:   3 given,   5 needed\n" + kError +
                           "     Illegal node number       0\n     associated with node  3 of element     1\n");
}

TEST(TopologyCheck, NoElementsAndNoNodesIsAnEmptyModel) {
    const TopologyRun run = checkTopology({}, 0, 31, 4);
    EXPECT_EQ(run.status[0], 0);
    EXPECT_EQ(run.tables.MNDPTR, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(run.tables.MPAR[2], 0);
}

namespace {

struct InputCase {
    const char* what;
    std::array<std::int32_t, 30> key;
    std::vector<std::int32_t> fixed;
    std::vector<double> prescribed, couplings, springs;
    bool buckling;
    Status status;
};

std::array<std::int32_t, 30> key(int nel, int nanod, int code, int rows19, int rows20, int nfix = 0, int npre = 0,
                                  int ncpl = 0, int nspr = 0) {
    std::array<std::int32_t, 30> k{};
    k[0] = nel;
    k[1] = nanod;
    k[3] = nfix;
    k[4] = npre;
    k[5] = ncpl;
    k[6] = nspr;
    k[9] = code;
    k[18] = rows19;
    k[19] = rows20;
    return k;
}

Status checkInput(const InputCase& c, std::string* log = nullptr) {
    Status status{5, 5, 5, 5, 5};
    std::string sink;
    attachSink(kUnit, &sink);
    CHKINP(c.key.data(), c.buckling, c.fixed.empty() ? nullptr : c.fixed.data(),
           c.prescribed.empty() ? nullptr : c.prescribed.data(), c.couplings.empty() ? nullptr : c.couplings.data(),
           c.springs.empty() ? nullptr : c.springs.data(), kUnit, status.data());
    detachSink(kUnit);
    if (log) *log = sink;
    return status;
}

} // namespace

TEST(InputCheck, RowsAndShapesAgainstTheKeyData) {
    const std::vector<double> coupling{2, 1, 3, 1, 0.5, 0, 0, 0};
    const InputCase cases[] = {
        {"all in range", key(2, 4, 31, 4, 11, 1, 1, 1, 1), {1, 2}, {4, 1, 0.5}, coupling, {3, 2, 1e3}, false,
         {0, 0, 0, 0, 0}},
        {"fixed node 0", key(2, 4, 31, 4, 11, 1), {0, 1}, {}, {}, {}, false, {-25, 0, 0, 0, 0}},
        {"fixed node above the count", key(2, 4, 31, 4, 11, 1), {5, 1}, {}, {}, {}, false, {-25, 5, 0, 0, 0}},
        {"fixed DOF 0", key(2, 4, 31, 4, 11, 1), {3, 0}, {}, {}, {}, false, {-25, 3, 0, 0, 0}},
        {"prescribed node rounds above", key(2, 4, 31, 4, 11, 0, 1), {}, {4.5, 1, 0}, {}, {}, false,
         {-25, 5, 0, 0, 0}},
        {"prescribed DOF rounds to 0", key(2, 4, 31, 4, 11, 0, 1), {}, {2, 0.4, 0}, {}, {}, false,
         {-25, 2, 0, 0, 0}},
        {"slave node", key(2, 4, 31, 4, 11, 0, 0, 1), {}, {}, {7, 1, 3, 1, 1, 0, 0, 0}, {}, false,
         {-25, 7, 0, 0, 0}},
        {"master-1 node", key(2, 4, 31, 4, 11, 0, 0, 1), {}, {}, {2, 1, -3, 1, 1, 0, 0, 0}, {}, false,
         {-26, -3, 0, 0, 0}},
        {"master-1 DOF", key(2, 4, 31, 4, 11, 0, 0, 1), {}, {}, {2, 1, 3, 0, 1, 0, 0, 0}, {}, false,
         {-26, 3, 0, 0, 0}},
        {"master-2 node -1 is none", key(2, 4, 31, 4, 11, 0, 0, 1), {}, {}, {2, 1, 3, 1, 1, -1, 0, 0}, {}, false,
         {0, 0, 0, 0, 0}},
        {"master-2 node", key(2, 4, 31, 4, 11, 0, 0, 1), {}, {}, {2, 1, 3, 1, 1, 9, 1, 1}, {}, false,
         {-26, 9, 0, 0, 0}},
        {"master-2 DOF", key(2, 4, 31, 4, 11, 0, 0, 1), {}, {}, {2, 1, 3, 1, 1, 4, 0, 1}, {}, false,
         {-26, 4, 0, 0, 0}},
        {"spring node", key(2, 4, 31, 4, 11, 0, 0, 0, 1), {}, {}, {}, {-1, 1, 5}, false, {-25, -1, 0, 0, 0}},
        {"fixed before prescribed", key(2, 4, 31, 4, 11, 1, 1), {6, 1}, {8, 1, 0}, {}, {}, false,
         {-25, 6, 0, 0, 0}},
        {"quadrilateral data rows", key(2, 4, 41, 5, 14), {}, {}, {}, {}, false, {-4, 1, 0, 0, 0}},
        {"code 33 data rows", key(2, 4, 33, 4, 11), {}, {}, {}, {}, false, {-4, 1, 0, 0, 0}},
        {"T21 data rows", key(2, 4, 85, 7, 14), {}, {}, {}, {}, false, {-4, 1, 0, 0, 0}},
        {"DKT data rows", key(2, 4, 65, 4, 9), {}, {}, {}, {}, false, {0, 0, 0, 0, 0}},
        {"buckling data rows", key(2, 4, 81, 4, 4), {}, {}, {}, {}, true, {0, 0, 0, 0, 0}},
        {"buckling too few", key(2, 4, 81, 4, 3), {}, {}, {}, {}, true, {-4, 1, 0, 0, 0}},
        {"topology rows", key(2, 4, 32, 6, 11), {}, {}, {}, {}, false, {-1, 0, 1, 6, 0}},
        {"no elements, no shape", key(0, 0, 32, 0, 0), {}, {}, {}, {}, false, {0, 0, 0, 0, 0}},
    };
    for (const InputCase& c : cases) EXPECT_EQ(checkInput(c), c.status) << c.what;
}

TEST(InputCheck, MessagesOfShapeAndRowErrors) {
    std::string log;
    checkInput({"", key(3, 4, 41, 5, 12), {}, {}, {}, {}, false, {}}, &log);
    EXPECT_EQ(log, "\n     Too few rows in the element-data array:  12 given,  15 needed\n" + kError +
                       "     Element     1 is of unknown kind\n");
    checkInput({"", key(2, 4, 31, 4, 11, 0, 0, 1), {}, {}, {2, 1, 3, 1, 1, 9, 1, 1}, {}, false, {}}, &log);
    EXPECT_EQ(log, kError + "     Attempt to couple a d o f to a non-existent d o f at node     9\n");
}

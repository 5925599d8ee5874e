// Equation-system set-up: skyline and sparse roads, storage estimates,
// renumbering and reordering codes, and the failure statuses.
#include "solver/solvika.h"
#include "solver/analysis/setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

using namespace solvika;

namespace {

using i32 = std::int32_t;
using i64 = std::int64_t;

constexpr int kUnit = 43;

// A membrane model checked and tabled as a run does before the set-up.
struct Model {
    std::array<i32, 30> key{};
    std::vector<i32> topology;
    std::vector<i32> fixed;
    ModelTables tables;
    EquationTables eq;
    RunStatistics rstat{};
    std::array<i32, 5> status{};

    // Elements of `nodesPer` nodes each, code `code`.
    Model(i32 code, i32 nodesPer, i32 nanod, const std::vector<i32>& elementNodes, std::vector<i32> fixedRows) {
        const i32 nel = i32(elementNodes.size()) / nodesPer;
        for (i32 e = 0; e < nel; ++e) {
            topology.push_back(1);
            topology.insert(topology.end(), elementNodes.begin() + e * nodesPer,
                            elementNodes.begin() + (e + 1) * nodesPer);
        }
        fixed = std::move(fixedRows);
        key[0] = nel;
        key[1] = nanod;
        key[2] = 1;
        key[3] = i32(fixed.size()) / 2;
        key[9] = code;
        key[10] = 1;
        key[18] = nodesPer + 1;
        key[19] = 15;
        CHKTOP(topology.data(), nel, nanod, code, key[18], 0, status.data(), tables);
        EXPECT_EQ(status[0], 0);
        BCDATA(key.data(), fixed.data(), nullptr, nullptr, 0, status.data(), tables);
        EXPECT_EQ(status[0], 0);
    }

    i32 mpar(int k) const { return tables.MPAR[k - 1]; }
    i32 mspar(int k) const { return tables.MSPAR[k - 1]; }

    i32 prepeq(i32 storage, i32 renumbering, i32 lunit = 0) {
        key[10] = storage;
        key[11] = renumbering;
        PREPEQ(key.data(), rstat.data(), lunit, status.data(), tables, eq);
        return status[0];
    }

    // The storage estimates before the set-up tables are added.
    i64 integerEstimate() const {
        return i64(key[18]) * mpar(2) + 2 * (mpar(1) + mpar(2) + mpar(3)) + mpar(15) + mpar(7) + mpar(16) + 130;
    }
    i64 realEstimate() const {
        return 4 * mpar(1) + i64(key[19]) * mpar(2) + 8 * mpar(10) + 3 * (mpar(8) + mpar(9) + key[6]) +
               7 * key[2] + mpar(16);
    }
};

// An nx x ny grid of Q4 elements whose nodes are numbered in a scattered
// order (node i of the regular numbering is node perm(i)), fixed along one
// edge.
Model grid(i32 nx, i32 ny, bool scattered) {
    const i32 nanod = (nx + 1) * (ny + 1);
    std::vector<i32> number(nanod);
    std::iota(number.begin(), number.end(), 1);
    if (scattered)
        for (i32 i = 0; i < nanod; ++i) number[i] = i32((i64(i) * 37) % nanod) + 1;  // 37 prime to nanod
    auto node = [&](i32 i, i32 j) { return number[j * (nx + 1) + i]; };
    std::vector<i32> nodes;
    for (i32 j = 0; j < ny; ++j)
        for (i32 i = 0; i < nx; ++i) nodes.insert(nodes.end(), {node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)});
    std::vector<i32> fixed;
    for (i32 j = 0; j <= ny; ++j) fixed.insert(fixed.end(), {node(0, j), 1, node(0, j), 2});
    return Model(41, 4, nanod, nodes, fixed);
}

// Records the routines the set-up calls and fails the one named.
struct Probe {
    static inline std::vector<std::string> calls;
    static inline std::string failing;
    static bool probe(const char* routine) {
        calls.emplace_back(routine);
        return failing == routine;
    }
    explicit Probe(std::string fail = "") {
        calls.clear();
        failing = std::move(fail);
        setSetupProbe(&Probe::probe);
    }
    ~Probe() { setSetupProbe(nullptr); }
    i64 position(const std::string& routine) const {
        return std::find(calls.begin(), calls.end(), routine) - calls.begin();
    }
};

} // namespace

TEST(EquationSetup, SkylineRenumberingMethods) {
    static const char* const kNames[] = {"SWSNUM", "PFMREN", "ELWREN"};
    for (i32 method = 1; method <= 3; ++method) {
        Model m = grid(12, 5, true);
        Probe probe;
        ASSERT_EQ(m.prepeq(1, method), 0) << method;
        EXPECT_EQ(probe.calls, (std::vector<std::string>{kNames[method - 1], "PRASSX"}));
        const i32 neq = m.mpar(11);
        ASSERT_EQ(m.eq.MSKY.size(), size_t(neq));
        EXPECT_EQ(m.mpar(12), m.eq.MSKY[neq - 1]);
        EXPECT_EQ(m.mpar(20), 8);
        // Q4 elements: 4 nodes each, renumbering scratch nel (1 + 12) + 4 nanod + 2.
        const i64 scratch = i64(m.mpar(2)) * (1 + 4 * 3) + 4 * m.mpar(1) + 2;
        EXPECT_EQ(m.rstat[0], float(m.integerEstimate() + neq + m.mpar(1) + scratch)) << method;
        EXPECT_EQ(m.rstat[1], float(m.realEstimate() + m.mpar(12)));
        EXPECT_GT(m.rstat[2], 0.0f);
        EXPECT_LT(m.rstat[2], 100.0f) << "the scattered numbering has a far longer profile";
        EXPECT_GE(m.rstat[3], 1.0f);
        EXPECT_LE(m.rstat[3], float(m.mpar(1)));
    }
}

TEST(EquationSetup, SkylineInInputOrder) {
    for (i32 code : {0, 4, -1}) {
        Model m = grid(4, 3, true);
        m.rstat.fill(-5.0f);
        Probe probe;
        ASSERT_EQ(m.prepeq(1, code), 0);
        EXPECT_EQ(probe.calls, (std::vector<std::string>{"PRASSX"}));
        // Equations follow the node numbers: free DOFs numbered in DOF order.
        i32 last = 0;
        for (i32 d : m.eq.MDOFEQ)
            if (d > 0) {
                EXPECT_EQ(d, last + 1);
                last = d;
            }
        EXPECT_EQ(last, m.mpar(11));
        EXPECT_EQ(m.rstat[2], 0.0f);
        EXPECT_EQ(m.rstat[3], 0.0f);
        const i64 scratch = std::max(m.mpar(1), m.mpar(20));
        EXPECT_EQ(m.rstat[0], float(m.integerEstimate() + m.mpar(11) + m.mpar(1) + scratch));
    }
}

TEST(EquationSetup, SingleElementRenumbersByTheGraphMethod) {
    Model m(31, 3, 3, {1, 2, 3}, {1, 1, 1, 2, 2, 2});
    ASSERT_EQ(m.prepeq(1, 1), 0);
    EXPECT_EQ(m.mpar(11), 3);
    EXPECT_EQ(m.rstat[0], float(m.integerEstimate() + 3 + 3 + (1 * (1 + 6) + 4 * 3 + 2)));
}

TEST(EquationSetup, SparseReordersForEveryNonZeroCode) {
    Model plain = grid(14, 9, false);
    Probe probe;
    ASSERT_EQ(plain.prepeq(2, 0), 0);
    EXPECT_EQ(probe.position("SPRRNM"), i64(probe.calls.size())) << "no reordering for code 0";
    const i32 unordered = plain.mspar(16);

    for (i32 code : {1, 2, 3, 4, -1}) {
        Model m = grid(14, 9, false);
        Probe p;
        ASSERT_EQ(m.prepeq(2, code), 0) << code;
        EXPECT_EQ(p.calls, (std::vector<std::string>{"SPSPRP", "SPRSAS", "SPRRNM", "SPRTRS", "SPRSMB"}));
        EXPECT_LT(m.mspar(16), unordered) << code;
        if (code != 1) {
            Model one = grid(14, 9, false);
            ASSERT_EQ(one.prepeq(2, 1), 0);
            EXPECT_EQ(m.mspar(16), one.mspar(16)) << code;
        }
        EXPECT_EQ(m.eq.MSICA.size(), size_t(m.mspar(2)));
        EXPECT_EQ(m.eq.MTREES.size(), size_t(m.mspar(4)));
        EXPECT_EQ(m.eq.MSIFA.size(), size_t(m.mspar(3)));
        EXPECT_EQ(m.eq.MEQMAP.size(), size_t(2 * m.mspar(8)));
        EXPECT_TRUE(m.eq.MSKY.empty());
        for (int k = 10; k < 14; ++k) EXPECT_GT(m.rstat[k], 0.0f) << "RSTAT(" << k + 1 << ")";
        EXPECT_EQ(m.rstat[0], float(m.integerEstimate() + m.mspar(2) + m.mspar(3) + m.mspar(4) + 2 * m.mspar(8)));
        EXPECT_EQ(m.rstat[1], float(m.realEstimate() + m.mspar(8) + m.mspar(16)));
    }
}

TEST(EquationSetup, FailuresGiveTheirStatusAndMessage) {
    struct Case {
        const char* routine;
        i32 storage, renumbering, code, value;
        const char* message;
    };
    const Case cases[] = {
        {"SWSNUM", 1, 1, -6, 1, "Error during node renumbering (skyline / SWS)"},
        {"PFMREN", 1, 2, -6, 2, "Error during node renumbering (skyline / PFM)"},
        {"ELWREN", 1, 3, -6, 3, "Error during node renumbering (skyline / ELW)"},
        {"PRASSX", 1, 1, -7, 0, "Error during pre-assembly (PRASSX)"},
        {"SPSPRP", 2, 1, -8, 0, "Error during sparse storage preparation"},
        {"SPRSAS", 2, 1, -9, 0, "Error during symbolic assembly (Sparse / SPRSAS)"},
        {"SPRRNM", 2, 1, -10, 0, "Error during reordering/tree search (SPRRNM / SPRTRS)"},
        {"SPRTRS", 2, 0, -10, 0, "Error during reordering/tree search (SPRRNM / SPRTRS)"},
        {"SPRSMB", 2, 1, -11, 0, "Error during symbolic factorisation (Sparse / SPRSMB)"},
    };
    for (const Case& c : cases) {
        Model m = grid(3, 2, false);
        std::string log;
        attachSink(kUnit, &log);
        {
            Probe probe(c.routine);
            m.prepeq(c.storage, c.renumbering, kUnit);
            EXPECT_EQ(probe.calls.back(), c.routine) << "nothing runs after a failure";
        }
        detachSink(kUnit);
        EXPECT_EQ(m.status, (std::array<i32, 5>{c.code, c.value, 0, 0, 0})) << c.routine;
        EXPECT_NE(log.find(c.message), std::string::npos) << c.routine << ":\n" << log;
        EXPECT_EQ(m.eq.MDOFEQ.size(), size_t(m.mpar(3))) << "tables made so far stay";
    }

    // After the elimination tree, a failing symbolic factorisation leaves
    // the tables made so far for the caller to free.
    Model m = grid(3, 2, false);
    {
        Probe probe("SPRSMB");
        m.prepeq(2, 1);
    }
    EXPECT_FALSE(m.eq.MSICA.empty());
    EXPECT_FALSE(m.eq.MTREES.empty());
    EXPECT_TRUE(m.eq.MSIFA.empty());
}

TEST(EquationSetup, UnknownStorageFormatRunsNothing) {
    Model m = grid(3, 2, false);
    std::string log;
    attachSink(kUnit, &log);
    Probe probe;
    EXPECT_EQ(m.prepeq(3, 1, kUnit), -12);
    detachSink(kUnit);
    EXPECT_TRUE(probe.calls.empty());
    EXPECT_EQ(log, "\n\n\n *** ERROR detected during execution of Brantel ***\n\n     Unknown storage format\n");
    EXPECT_EQ(m.mpar(12), 0);
    EXPECT_TRUE(m.eq.MSKY.empty());
    EXPECT_EQ(m.mpar(20), 8);
}

TEST(EquationSetup, ProfileOrFactorBeyond32BitPositionsIsAStorageFailure) {
    // A fan of triangles around node 1 (numbered first): every equation
    // couples to the first ones, so the skyline profile and the unordered
    // sparse factor hold about neq^2 / 2 = 2.6e9 entries.
    const i32 nanod = 36002;
    std::vector<i32> nodes;
    for (i32 i = 2; i < nanod; ++i) nodes.insert(nodes.end(), {1, i, i + 1});
    for (i32 storage : {1, 2}) {
        Model m(31, 3, nanod, nodes, {2, 1, 2, 2, 3, 2});
        std::string log;
        attachSink(kUnit, &log);
        EXPECT_EQ(m.prepeq(storage, 0, kUnit), -30) << storage;
        detachSink(kUnit);
        EXPECT_NE(log.find("Storage could not be allocated for stiffness"), std::string::npos) << log;
    }
}

TEST(EquationSetup, ModelWithoutFreeEquations) {
    for (i32 storage : {1, 2}) {
        Model m(31, 3, 3, {1, 2, 3}, {1, 1, 1, 2, 2, 1, 2, 2, 3, 1, 3, 2});
        EXPECT_EQ(m.prepeq(storage, 1), 0) << storage;
        EXPECT_EQ(m.mpar(11), 0);
        for (i32 d : m.eq.MDOFEQ) EXPECT_EQ(d, 0);
    }
}

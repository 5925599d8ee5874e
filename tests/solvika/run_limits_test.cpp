// Model arrays that pass the shape checks but name impossible counts or
// constraints: every one gets an error status with its message, on both
// storage roads alike, before any work array is sized from it.
#include "run_support.h"

#include <sys/mman.h>
#include <sys/resource.h>

using namespace solvika;
using namespace solvika::test;

namespace {

class RunLimits : public RunFolder {};

// Peak resident memory of this process so far, in megabytes.
long peakMegabytes() {
    rusage use{};
    ::getrusage(RUSAGE_SELF, &use);
    return use.ru_maxrss / 1024;
}

// A 2 x 1 strip of quadrilaterals held along its left edge and pulled at
// its right.
Grid strip() {
    Grid g(41, 2, 1, 2.0, 1.0);
    g.fix(g.node(0, 0), 1), g.fix(g.node(0, 0), 2), g.fix(g.node(0, 2), 1);
    g.pointLoad(g.node(4, 0), 3.0, 0.0);
    g.pointLoad(g.node(4, 2), 3.0, 0.0);
    return g;
}

const char kNoDof[] = "     Attempt to specify a non-existent d o f at node";

} // namespace

// Negative counts stop the run at its input check, before anything is
// copied for them (a node print list made the run copy 4 x KEY(2) values).
TEST_F(RunLimits, NegativeCountsStopAtTheInputCheck) {
    const struct {
        int key;  // 0-based entry of the key data
        i32 value;
    } cases[] = {{1, -6}, {0, -1}, {3, -2}, {4, -1}, {5, -3}, {6, -4}};
    for (const auto& c : cases)
        for (i32 code : {41, 61})
            for (i32 storage : {1, 2}) {
                SCOPED_TRACE(testing::Message() << "KEY(" << c.key + 1 << ") " << c.value << " code " << code
                                                << " storage " << storage);
                Grid g(code, 1, 1);
                if (c.key <= 1) {
                    // No elements at all; the count under test is negative.
                    g.key[0] = 0;
                    g.key[1] = 0;
                }
                g.key[c.key] = c.value;
                g.key[10] = storage;
                const std::vector<double> nodal = g.nodal;
                const RunResult r = runGrid(g, {}, {1, 2});
                EXPECT_EQ(r.status, (std::array<i32, 5>{-25, c.value, 0, 0, 0}));
                EXPECT_NE(r.log.find(kNoDof), std::string::npos) << r.log;
                EXPECT_EQ(g.nodal, nodal);
            }
}

// A model without elements and nodes has nothing to solve: the same
// success on both roads (the skyline road answered -20).
TEST_F(RunLimits, EmptyModelSucceedsOnBothRoads) {
    for (i32 code : {41, 61})
        for (i32 storage : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "code " << code << " storage " << storage);
            Grid g(code, 1, 1);
            g.key[0] = 0;
            g.key[1] = 0;
            g.key[10] = storage;
            const RunResult r = runGrid(g);
            EXPECT_EQ(r.status, (std::array<i32, 5>{0, 0, 0, 0, 0})) << r.log;
        }
}

// One DOF named in two constraint rows: fixing it twice means fixing it
// once; fixed and prescribed, fixed and a coupling slave, prescribed twice
// or slave twice is refused with the status of a singular DOF, at that node
// and DOF, on both roads (skyline storage wrote past its profile table).
TEST_F(RunLimits, DofNamedInTwoConstraintRows) {
    for (i32 storage : {1, 2}) {
        SCOPED_TRACE(storage);
        Grid once = strip();
        once.key[10] = storage;
        ASSERT_EQ(runGrid(once).status[0], 0);
        Grid twice = strip();
        twice.fix(twice.node(0, 0), 2);
        twice.key[10] = storage;
        const RunResult r = runGrid(twice);
        ASSERT_EQ(r.status[0], 0) << r.log;
        EXPECT_EQ(twice.nodal, once.nodal);
    }

    const struct {
        const char* what;
        void (*add)(Grid&);
    } cases[] = {
        {"fixed and prescribed", [](Grid& g) { g.prescribe(g.node(0, 2), 1, 0.5); }},
        {"fixed and slave", [](Grid& g) { g.couple(g.node(0, 2), 1, g.node(2, 2), 1, 1.0); }},
        {"prescribed twice",
         [](Grid& g) {
             g.prescribe(g.node(2, 2), 1, 0.5);
             g.prescribe(g.node(2, 2), 1, 0.5);
         }},
        {"prescribed and slave",
         [](Grid& g) {
             g.prescribe(g.node(2, 2), 1, 0.5);
             g.couple(g.node(2, 2), 1, g.node(4, 2), 1, 1.0);
         }},
    };
    for (const auto& c : cases)
        for (i32 storage : {1, 2}) {
            SCOPED_TRACE(testing::Message() << c.what << " storage " << storage);
            Grid g = strip();
            c.add(g);
            g.key[10] = storage;
            const std::vector<double> nodal = g.nodal;
            const RunResult r = runGrid(g);
            const i32 node = std::string(c.what).starts_with("fixed") ? g.node(0, 2) : g.node(2, 2);
            EXPECT_EQ(r.status, (std::array<i32, 5>{-21, node, 1, 0, 0})) << r.log;
            EXPECT_NE(r.log.find("     at the equation corresponding to d o f  1 at node     " +
                                 std::to_string(node) + "\n"),
                      std::string::npos)
                << r.log;
            EXPECT_EQ(g.nodal, nodal);
        }
}

// Counts far beyond what the topology names are refused before any table
// is sized from them: an all-zero topology of 10^8 elements stops at its
// first node, and 2^31 - 1 nodes on one element at the first node that no
// element uses.
TEST_F(RunLimits, CountsAreCheckedBeforeTablesAreSized) {
    const long before = peakMegabytes();
    {
        Grid g = strip();
        const i32 rows = g.key[18];
        const i32 nel = 100000000;
        const std::size_t bytes = std::size_t(nel) * std::size_t(rows) * sizeof(i32);
        // Zero pages of the system, never touched by the run beyond its
        // first element.
        void* zeros = ::mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        ASSERT_NE(zeros, MAP_FAILED);
        g.key[0] = nel;
        std::array<i32, 5> status{};
        std::vector<double> elementData(std::size_t(g.key[19]), 0.1);
        PLANE_STR(g.key.data(), static_cast<i32*>(zeros), elementData.data(), g.material.data(), g.nodal.data(),
                  g.body.data(), ptr(g.pointLoads), nullptr, ptr(g.fixed), nullptr, nullptr, nullptr, nullptr, nullptr,
                  status.data());
        ::munmap(zeros, bytes);
        EXPECT_EQ(status, (std::array<i32, 5>{-1, 0, 1, 1, 0})) << readLog();
    }
    {
        Grid g = strip();
        g.key[1] = 2147483647;
        const RunResult r = runGrid(g);
        EXPECT_EQ(r.status, (std::array<i32, 5>{-5, 7, 0, 0, 0})) << r.log;
    }
    EXPECT_LT(peakMegabytes() - before, 256);
}

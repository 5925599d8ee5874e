// Whole membrane and plate-bending runs: every element code on both storage
// roads and every renumbering, whole logs against golden files, the abort
// paths and the back rotation of inclined nodes.
#include "run_support.h"

#include <cstdlib>

using namespace solvika;
using namespace solvika::test;

namespace {

const i32 kMembraneCodes[] = {31, 32, 33, 41, 42, 44, 46};
const i32 kBendingCodes[] = {61, 65, 66, 75, 81, 85};

// Storage and renumbering codes: skyline with each algorithm and none,
// sparse with and without reordering.
const std::pair<i32, i32> kRoads[] = {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0}, {2, 1}, {2, 2}};

// A 4 x 2 membrane strip: left edge held, a prescribed pull at the lower
// right corner, a load at the upper right corner, a spring and an inclined
// free node, a body load and an initial strain field.
Grid membraneModel(i32 code) {
    Grid g(code, 4, 2, 2.0, 1.0);
    for (i32 j = 0; j <= 4; ++j)
        if (g.nodeAt.count({j, 0})) g.fix(g.node(0, j), 1), g.fix(g.node(0, j), 2);
    g.prescribe(g.node(8, 0), 1, 1.0e-3);
    g.pointLoad(g.node(8, 4), 0.5, -2.0);
    g.spring(g.node(8, 0), 2, 50.0);
    g.angle(g.node(4, 2)) = 0.3;
    g.body[1] = -0.01;
    for (i32 e = 1; e <= g.key[0]; ++e) g.eldata(e, 6) = 1.0e-4;
    return g;
}

// A 4 x 4 plate on point supports at the corner nodes of its boundary, with
// a pressure, a point load, an edge load and a spring.
Grid bendingModel(i32 code) {
    Grid g(code, 4, 4, 1.0, 1.0, 1000.0, 0.3, 0.1);
    for (i32 i = 0; i <= 8; i += 2)
        for (i32 j = 0; j <= 8; j += 2)
            if (i == 0 || j == 0 || i == 8 || j == 8) g.fix(g.node(i, j), 1);
    for (i32 e = 1; e <= g.key[0]; ++e)
        for (i32 r = 6; r <= 8; ++r) g.eldata(e, r) = 1.0 + 0.1 * r;
    g.value(g.node(4, 4)) = 2.0;
    g.value(g.node(6, 2)) = -1.0;
    g.spring(g.node(2, 6), 1, 400.0);
    g.edgeLoad({1.0, double(g.elemNode(1, 1)), 3.0, 1.0, 2.0});
    return g;
}

Grid model(i32 code) { return code < 61 ? membraneModel(code) : bendingModel(code); }

struct Results {
    std::vector<double> nodal, elementData, springs;
};

Results results(const Grid& g) { return {g.nodal, g.elementData, g.springs}; }

class StaticRun : public RunFolder {};

} // namespace

// Every code on every road gives the results of the skyline road in input
// order, and they land where the caller reads them.
TEST_F(StaticRun, RoadsAndRenumberingsAgree) {
    std::vector<i32> codes(std::begin(kMembraneCodes), std::end(kMembraneCodes));
    codes.insert(codes.end(), std::begin(kBendingCodes), std::end(kBendingCodes));
    for (i32 code : codes) {
        Results reference;
        for (const auto& [storage, renum] : kRoads) {
            SCOPED_TRACE(testing::Message() << "code " << code << " storage " << storage << " renumbering " << renum);
            Grid g = model(code);
            g.key[10] = storage;
            g.key[11] = renum;
            const RunResult r = runGrid(g);
            ASSERT_EQ(r.status[0], 0) << r.log;
            // The spring force in row 3: its stiffness times its DOF value.
            const i32 springNode = code < 61 ? g.node(8, 0) : g.node(2, 6);
            const double value = code < 61 ? g.y(springNode) : g.x(springNode);
            const double force = (code < 61 ? 50.0 : 400.0) * value;
            EXPECT_NE(force, 0.0);
            EXPECT_NEAR(g.springs[2], force, 1e-12 * std::abs(force));
            if (reference.nodal.empty()) {
                reference = results(g);
                continue;
            }
            EXPECT_LT(relDiff(reference.nodal, g.nodal), 1e-10);
            EXPECT_LT(relDiff(reference.elementData, g.elementData), 1e-10);
            EXPECT_LT(relDiff(reference.springs, g.springs), 1e-10);
        }
    }
}

// Where the results land: membrane rows 1-2 u, v and rows 3-4 the
// reactions, which balance the loads; element stresses from row 1; the
// spring force in row 3.
TEST_F(StaticRun, MembraneResultsLandInTheCallersArrays) {
    Grid g(41, 2, 1, 2.0, 1.0);
    g.fix(g.node(0, 0), 1), g.fix(g.node(0, 0), 2), g.fix(g.node(0, 2), 1);
    g.pointLoad(g.node(4, 0), 3.0, 0.0);
    g.pointLoad(g.node(4, 2), 3.0, 0.0);
    const RunResult r = runGrid(g);
    ASSERT_EQ(r.status[0], 0) << r.log;
    double rx = 0.0;
    for (i32 n = 1; n <= g.key[1]; ++n) rx += g.nodal[4 * std::size_t(n - 1) + 2];
    EXPECT_NEAR(rx, -6.0, 1e-10);
    EXPECT_GT(g.x(g.node(4, 0)), 0.0);  // u, no longer x
    EXPECT_DOUBLE_EQ(g.x(g.node(0, 0)), 0.0);
    // Uniform tension 6 / (1 x 0.1) in both elements, at all five points.
    for (i32 e = 1; e <= 2; ++e)
        for (i32 p = 0; p < 5; ++p) {
            EXPECT_NEAR(g.eldata(e, 3 * p + 1), 60.0, 1e-9);
            EXPECT_NEAR(g.eldata(e, 3 * p + 2), 0.0, 1e-9);
        }
    EXPECT_NE(r.log.find("     Sum loading in x-dir  [N] :   6.000000E+00\n"), std::string::npos);
    EXPECT_NE(r.log.find("     Sum reaction in x-dir [N] :  -6.000000E+00\n"), std::string::npos);
}

namespace {

// The small models of the golden logs: two Q8 elements in membrane, eight
// DKT elements in bending, each with a selective print. The printed nodes
// have no free DOF: the reaction of a free DOF is rounding noise, which
// differs between builds.
Grid goldenMembrane() {
    Grid g(44, 2, 1, 2.0, 1.0);
    for (i32 j = 0; j <= 2; ++j) g.fix(g.node(0, j), 1);
    g.fix(g.node(0, 0), 2);
    g.fix(g.node(4, 0), 1);
    g.prescribe(g.node(4, 0), 2, -1.0e-3);
    g.pointLoad(g.node(4, 2), 4.0, -1.0);
    g.spring(g.node(4, 1), 1, 25.0);
    return g;
}

Grid goldenBending() {
    Grid g(65, 2, 2, 1.0, 1.0, 1000.0, 0.3, 0.1);
    for (i32 i = 0; i <= 4; i += 2)
        for (i32 j = 0; j <= 4; j += 2)
            if (i == 0 || j == 0 || i == 4 || j == 4) g.fix(g.node(i, j), 1);
    for (i32 e = 1; e <= g.key[0]; ++e)
        for (i32 r = 6; r <= 8; ++r) g.eldata(e, r) = 1.0;
    g.value(g.node(2, 2)) = 0.5;
    g.prescribe(g.node(2, 2), 1, 0.01);
    g.angle(g.node(4, 2)) = 0.5;
    g.edgeLoad({1.0, double(g.elemNode(1, 1)), 2.0, 2.0, 2.0});
    return g;
}

std::filesystem::path goldenFolder() { return goldenLogFolder("run_logs"); }

} // namespace

// Whole logs, byte for byte, of a small membrane and a small bending model
// on both roads at print levels 0, 1 and 2. BRANTEL_WRITE_GOLDEN=1 writes
// the files instead of comparing (review every change before committing).
TEST_F(StaticRun, GoldenLogs) {
    const bool write = std::getenv("BRANTEL_WRITE_GOLDEN") != nullptr;
    for (const char* kind : {"membrane", "bending"})
        for (const auto& [storage, road] : {std::pair{1, "skyline"}, std::pair{2, "sparse"}})
            for (i32 level : {0, 1, 2}) {
                const std::string name = std::string(kind) + "_" + road + "_" + std::to_string(level) + ".log";
                SCOPED_TRACE(name);
                Grid g = kind == std::string("membrane") ? goldenMembrane() : goldenBending();
                g.key[10] = storage;
                g.key[11] = 1;
                g.key[12] = 64;
                g.key[29] = level;
                resetClock();
                const RunResult r = runGrid(g, {2, 0, 9}, {1, 5});
                EXPECT_EQ(r.status[0], 0);
                const std::filesystem::path file = goldenFolder() / name;
                if (write) {
                    std::ofstream(file, std::ios::binary) << r.log;
                    continue;
                }
                std::ifstream in(file, std::ios::binary);
                ASSERT_TRUE(in) << file;
                std::ostringstream golden;
                golden << in.rdbuf();
                EXPECT_EQ(r.log, golden.str());
            }
}

namespace {

const std::string kNoStorage =
    "\n\n\n *** ERROR detected during execution of Brantel ***\n\n"
    "     Storage could not be allocated for stiffness\n     and/or load matrix\n\n     Computations aborted\n";

const char* g_failing = nullptr;
bool failNamed(const char* array) { return std::string(array) == g_failing; }

} // namespace

// A work array that cannot be had ends the run with -30, its message and
// the abort line, in a closed log; the nodal data is as it was passed in.
TEST_F(StaticRun, AllocationFailureAbortsWithMinus30) {
    const struct {
        i32 code, storage;
        const char* array;
    } cases[] = {
        {44, 1, "system matrix"}, {44, 2, "load vector"},        {44, 1, "nodal work array"},
        {65, 2, "sparse work arrays"}, {65, 1, "DOF vector"}, {65, 2, "nodal copy"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.array);
        Grid g = c.code < 61 ? goldenMembrane() : goldenBending();
        g.key[10] = c.storage;
        g.key[29] = 1;
        const std::vector<double> nodal = g.nodal;
        g_failing = c.array;
        const AllocProbe old = setAllocProbe(failNamed);
        const RunResult r = runGrid(g, {1}, {1});
        setAllocProbe(old);
        EXPECT_EQ(r.status, (std::array<i32, 5>{-30, 0, 0, 0, 0}));
        EXPECT_TRUE(r.log.ends_with(kNoStorage)) << r.log;
        EXPECT_EQ(g.nodal, nodal);
    }
}

// A membrane strip held only in x has a free rigid motion in y: its last
// equation, node 12 DOF 2 in input order, has the zero pivot on both roads.
TEST_F(StaticRun, SingularModelIsLocatedAtItsNodeAndDof) {
    for (i32 storage : {1, 2}) {
        SCOPED_TRACE(storage);
        Grid g(41, 3, 2, 3.0, 2.0);
        ASSERT_EQ(g.key[1], 12);
        for (i32 j : {0, 2, 4}) g.fix(g.node(0, j), 1);
        g.pointLoad(g.node(6, 4), 1.0, 0.0);
        g.key[10] = storage;
        const std::vector<double> nodal = g.nodal;
        const RunResult r = runGrid(g);
        EXPECT_EQ(r.status, (std::array<i32, 5>{-21, 12, 2, 0, 0}));
        EXPECT_NE(r.log.find("     Singular or near-singular stiffness matrix detected\n"
                             "     at the equation corresponding to d o f  2 at node    12\n\n"
                             "     Computations aborted\n"),
                  std::string::npos)
            << r.log;
        EXPECT_EQ(g.nodal, nodal);
    }
}

// The edge loads of a plate add their shares to the caller's nodal loads;
// a run that then fails leaves the nodal data as it was passed in.
TEST_F(StaticRun, AbortAfterTheLoadsLeavesTheNodalDataUntouched) {
    for (i32 storage : {1, 2}) {
        Grid g = goldenBending();
        g.fixed.resize(4);  // w held at two nodes only: the plate can turn
        g.key[3] = 2;
        g.prescribed.clear();
        g.key[4] = 0;
        g.key[10] = storage;
        const std::vector<double> nodal = g.nodal;
        const RunResult r = runGrid(g);
        EXPECT_TRUE(r.status[0] == -21 || r.status[0] == -20) << r.log;
        EXPECT_EQ(g.nodal, nodal);
    }
}

// The failing equation is located through the equation numbers; one that
// belongs to no DOF, or a flag that does not tell a singular matrix, stays
// -20.
TEST(SingularStatus, LocatesTheEquationOrStaysMinus20) {
    ModelTables t;
    EquationTables eq;
    t.MPAR[0] = 3, t.MPAR[2] = 6;
    t.MNDPTR = {1, 3, 5, 7};
    t.MEXNOD = {1, 2, 3};
    eq.MDOFEQ = {0, 1, 2, 0, 3, 4};
    const struct {
        i32 ierr, equation;
        std::array<i32, 5> status;
    } cases[] = {
        {-3, 3, {-21, 3, 1, 0, 0}}, {-4, 2, {-21, 2, 1, 0, 0}}, {-4, 1, {-21, 1, 2, 0, 0}},
        {-3, 5, {-20, 0, 0, 0, 0}}, {-3, 0, {-20, 0, 0, 0, 0}}, {-3, -1, {-20, 0, 0, 0, 0}},
        {-2, 3, {-20, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        std::array<i32, 5> status{9, 9, 9, 9, 9};
        SNGSTS(c.ierr, c.equation, t, eq, 0, status.data());
        EXPECT_EQ(status, c.status) << c.ierr << " " << c.equation;
    }
}

// Node axes within 1.0e-8 of zero count as none; beyond, the solution is
// turned back to global axes, and a T6 model, whose DOFs are scalars,
// runs with inclined supports as without.
TEST_F(StaticRun, BackRotationOfInclinedNodes) {
    const auto run = [](i32 code, double angle, bool supports) {
        Grid g = model(code);
        for (i32 n = 1; n <= g.key[1]; ++n)
            if (supports ? g.x(n) == 0.0 : n == g.node(8, 2)) g.angle(n) = angle;
        const RunResult r = runGrid(g);
        EXPECT_EQ(r.status[0], 0) << r.log;
        return results(g);
    };
    for (i32 code : {41, 65}) {
        SCOPED_TRACE(code);
        const Results plain = run(code, 0.0, false);
        const Results tiny = run(code, 1.0e-9, false);
        EXPECT_EQ(tiny.elementData, plain.elementData);
        for (std::size_t k = 0; k < plain.nodal.size(); ++k) {
            if (k % 4 != 2) {
                EXPECT_EQ(tiny.nodal[k], plain.nodal[k]) << k;
            }
        }
        const Results turned = run(code, -1.0e-7, false);
        EXPECT_LT(relDiff(plain.elementData, turned.elementData), 1e-10);
        for (std::size_t k = 0; k < plain.nodal.size(); ++k) {
            if (k % 4 < 2) {
                EXPECT_NEAR(turned.nodal[k], plain.nodal[k], 1e-10 * std::abs(plain.nodal[k]) + 1e-300);
            }
        }
    }
    const Results plain = run(61, 0.0, true);
    const Results inclined = run(61, 0.7, true);
    EXPECT_LT(relDiff(plain.elementData, inclined.elementData), 1e-12);
}

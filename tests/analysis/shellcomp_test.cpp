// The buckling component against the recording solver: mesh-kind
// alignment, the choice of entry point and its key data, the preliminary
// membrane analysis, the eigenvalue lines, the mode scaling, the failures,
// the archive and the copy.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"
#include "tests/analysis/fake_solver.h"
#include "tests/analysis/work_dir.h"
#include "tests/support/temp_files.h"
#include "tests/analysis/log_lines.h"
#include "tests/analysis/plate_fixture.h"

namespace {

using analysistest::Lines;
using analysistest::Contains;
using platetest::Counters;

using analysistest::FakeSolver;

// The extremes of the composite, open to the tests.
class ProbeShell : public CShellComp {
public:
    using CSectComp::m_MaxVals;
    using CSectComp::m_MinVals;

    // Makes the membrane (load case 0) or the plate (1) input build fail
    // with the given code.
    int BuildSolverData(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology, CMatrix& nodes,
                        CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings, CMatrix& springs,
                        int loadCase) override
    {
        if (loadCase >= 0 && loadCase < 2 && buildResult[loadCase] != 1)
            return buildResult[loadCase];
        return CShellComp::BuildSolverData(materials, elementData, topology, nodes, suppressed, prescribed,
                                           couplings, springs, loadCase);
    }
    int buildResult[2] = {1, 1};
};

// A 2 x 1 rectangle of one region, membrane code 31, divided nx x ny and
// meshed by the structured mesher. Corner 0 is fixed for the membrane
// (condition 0) and the plate (condition 1).
struct ShellModel {
    explicit ShellModel(int nx = 2, int ny = 1, bool mesh = true, int membraneCode = 31)
    {
        comp = std::make_unique<ProbeShell>();
        comp->AddMaterial(&steel);
        comp->SetElementType(membraneCode);
        corner[0] = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
        corner[1] = new CBoundNode(2.0, 0.0, 0.0, nullptr, 0);
        corner[2] = new CBoundNode(2.0, 1.0, 0.0, nullptr, 0);
        corner[3] = new CBoundNode(0.0, 1.0, 0.0, nullptr, 0);
        region = new CSectPlate(corner[0], corner[1], corner[2], corner[3], &steel);
        comp->AddTail(region);
        corner[0]->SetStandBC(2, 0);
        corner[0]->SetStandBC(2, 1);
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;) {
            auto* e = static_cast<CEdge*>(edges.GetNext(p));
            e->SubDivideLin(1.0, (e->GetNode1()->y == e->GetNode2()->y ? nx : ny) - 1);
        }
        if (mesh)
            meshed = comp->GenerateRegionMesh(nullptr, nullptr, 1, 1);
    }
    ~ShellModel() { comp.reset(); }
    ShellModel(const ShellModel&) = delete;
    ShellModel& operator=(const ShellModel&) = delete;

    int Nodes() { return comp->GetNodeCount(true); }
    int Elements() { return comp->GetElementCount(true); }
    bool HasMesh() { return region->GetMesh() && Elements() > 0; }

    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    std::unique_ptr<ProbeShell> comp;
    CBoundNode* corner[4];
    CSectPlate* region;
    bool meshed = false;
};

// Runs in a temporary folder: the runs with a high print level write their
// dumps into the working folder.
class ShellTest : public analysistest::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        CGraph::m_pNodeList = &m_nodes;
        CSectMeshArea::StopCalc(false);
        CMGenerator::Stop(false);
    }
    void TearDown() override
    {
        CGraph::m_pNodeList = nullptr;
        CGraph::lIDGraph = m_saved.graph;
        CSNode::lIDnode = m_saved.node;
        CEdge::lIDedge = m_saved.edge;
        WorkDirTest::TearDown();
    }
    // Membrane stresses for the fake to answer: every element-data entry 1.
    void MembraneAnswer() { m_fake.elementResults.assign(4096, 1.0); }

    NODELIST m_nodes;
    Counters m_saved;
    FakeSolver m_fake;
};

TEST_F(ShellTest, Defaults)
{
    CShellComp comp;
    EXPECT_EQ(comp.m_BucklingCtrl.GetRows(), 4);
    EXPECT_EQ(comp.m_BucklingCtrl.GetColumns(), 1);
    EXPECT_EQ(comp.GetBucklingCtrl(0), 2);
    EXPECT_EQ(comp.GetBucklingCtrl(1), 85);
    EXPECT_EQ(comp.GetBucklingCtrl(2), 2);
    EXPECT_EQ(comp.GetBucklingCtrl(3), 0);
    EXPECT_EQ(comp.m_iResultState, 0);
}

TEST_F(ShellTest, AlignMeshKind)
{
    struct Case {
        int membraneCode; // sets the mesh kind before meshing
        bool buckling;
        int ctrlOrCode;   // buckling code, or the membrane code to align to
        int kind;         // expected mesh kind
        bool kept;        // the mesh survives
    } cases[] = {
        {31, true, 85, 103, true},  {31, true, 75, 103, true}, {31, true, 81, 101, true},
        {32, true, 65, 101, true},  {33, true, 66, 101, true}, {31, true, 99, 101, true},
        {32, false, 31, 101, true}, {31, false, 32, 103, true}, {31, false, 33, 102, true},
        {41, true, 81, 101, false}, {44, false, 31, 101, false}, {41, false, 41, 104, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.membraneCode << " " << c.buckling << " " << c.ctrlOrCode);
        ShellModel m(2, 1, true, c.membraneCode);
        ASSERT_TRUE(m.meshed);
        const int elements = m.Elements();
        if (c.buckling)
            m.comp->SetBucklingCtrl(1, c.ctrlOrCode);
        else
            m.comp->m_iElemType = c.ctrlOrCode;
        const Counters before;
        m.comp->AlignMeshKind(c.buckling);
        EXPECT_EQ(Counters{}, before);
        EXPECT_EQ(m.comp->m_iMeshKind, c.kind);
        EXPECT_EQ(m.HasMesh(), c.kept);
        if (c.kept) {
            EXPECT_EQ(m.Elements(), elements);
        }
    }
}

TEST_F(ShellTest, ConversionKeepsMembraneResults)
{
    ShellModel m;
    MembraneAnswer();
    ASSERT_TRUE(m.comp->RunMembraneAnalysis(nullptr, nullptr));
    EXPECT_EQ(m.comp->m_iResultState, 1);
    const unsigned count = m.comp->GetResCount();
    ASSERT_GT(count, 0u);
    m.comp->SetBucklingCtrl(1, 85);
    m.comp->AlignMeshKind(true);
    EXPECT_EQ(m.comp->m_iMeshKind, 103);
    CMatrix forces;
    forces.Allocate(m.Elements(), 3, true, 0.0);
    m.comp->RetAddMeanStress(forces, 0, 2, 0);
    EXPECT_EQ(forces[0][0], 1.0);
}

// Entry 3 picks the entry point and the basis of the in-plane forces; the
// key data follow the buckling settings, not the membrane ones.
TEST_F(ShellTest, EntryPointAndKeyData)
{
    for (int basis : {0, 1}) {
        SCOPED_TRACE(basis);
        ShellModel m(3, 2);
        ASSERT_TRUE(m.meshed);
        MembraneAnswer();
        m_fake.calls.clear();
        m.comp->SetBucklingCtrl(0, 1);
        m.comp->SetBucklingCtrl(1, 81);
        m.comp->SetBucklingCtrl(2, 3);
        m.comp->SetBucklingCtrl(3, basis);
        m.comp->m_iStorage = 2;
        m.comp->m_iRenumbering = 3;
        m.comp->m_iIntegrationRule = 2;
        m.comp->m_iPrintLevel = 1002;
        CStringArray log, errors;
        ASSERT_TRUE(m.comp->Calculate(&log, &errors)) << Lines(&errors).size();
        EXPECT_FALSE(m.comp->m_bBusy);
        EXPECT_EQ(m.comp->m_iElemType, 31);
        ASSERT_EQ(m_fake.calls.size(), 2u);
        EXPECT_EQ(m_fake.calls[0].entry, "PLANE_STR");
        const auto& call = m_fake.last();
        EXPECT_EQ(call.entry, basis == 0 ? "PLATE_KNEKKING" : "PLATE_BUCKLING");
        const int nodes = m.Nodes(), elements = m.Elements();
        EXPECT_EQ(call.Key(1), elements);
        EXPECT_EQ(call.Key(2), nodes);
        EXPECT_EQ(call.inPlaneForces.size(), static_cast<std::size_t>(3 * (basis == 0 ? nodes : elements)));
        EXPECT_EQ(call.Key(5), 0);
        EXPECT_EQ(call.Key(10), 81);
        EXPECT_EQ(call.Key(11), 2);
        EXPECT_EQ(call.Key(12), 1);
        EXPECT_EQ(call.Key(14), 1);
        EXPECT_EQ(call.Key(15), 3);
        EXPECT_EQ(call.Key(17), 0);
        EXPECT_EQ(call.Key(27), 2);
        EXPECT_EQ(call.Key(30), 2);
        EXPECT_EQ(m.comp->m_iPrintLevel, 1002);
        EXPECT_TRUE(Exists("Topology.log")) << "input dumps of print level 1000 and more";
        EXPECT_GT(call.Key(4), 0);
        // The in-plane forces are the membrane stresses.
        for (double f : call.inPlaneForces)
            EXPECT_EQ(f, 1.0);
    }
}

TEST_F(ShellTest, ExistingMembraneResultsAreUsed)
{
    ShellModel m;
    MembraneAnswer();
    ASSERT_TRUE(m.comp->RunMembraneAnalysis(nullptr, nullptr));
    m_fake.calls.clear();
    m_fake.eigenvalues = {2.0, 3.0};
    CStringArray log, errors;
    ASSERT_TRUE(m.comp->Calculate(&log, &errors));
    ASSERT_EQ(m_fake.calls.size(), 1u);
    EXPECT_EQ(m_fake.last().entry, "PLATE_KNEKKING");
    const auto lines = Lines(&log);
    EXPECT_FALSE(Contains(lines, "Perfoming membrane analysis\r\n"));
    // The eigenvalue block closes the log.
    ASSERT_GE(lines.size(), 5u);
    const std::vector<std::string> tail(lines.end() - 5, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Eigenvalues:\r\n", "=======================\r\n",
                                                "  1    2.00000e+00\r\n", "  2    3.00000e+00\r\n",
                                                "=======================\r\n"}));
    EXPECT_EQ(m.comp->m_iResultState, 3);
    EXPECT_EQ(m.comp->GetResCount(), 7u) << "three stresses, two node values, two modes";
}

TEST_F(ShellTest, PreliminaryMembraneAnalysis)
{
    {
        // Fresh model: the membrane analysis runs first.
        ShellModel m;
        MembraneAnswer();
        CStringArray log, errors;
        ASSERT_TRUE(m.comp->Calculate(&log, &errors));
        EXPECT_TRUE(Contains(Lines(&log), "Perfoming membrane analysis\r\n"));
        ASSERT_EQ(m_fake.calls.size(), 2u);
    }
    m_fake.calls.clear();
    {
        // The membrane solve gives no stresses.
        ShellModel m;
        m_fake.elementResults.clear();
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->Calculate(&log, &errors));
        EXPECT_FALSE(m.comp->m_bBusy);
        EXPECT_EQ(Lines(&log).back(), "*** Preliminary membrane analysis returned with no in-plane stresses "
                                       "***\r\n\tBuckling analysis is rendered irrelevant\r\n");
        EXPECT_TRUE(Lines(&errors).empty());
        EXPECT_EQ(m_fake.calls.size(), 1u);
    }
    m_fake.calls.clear();
    {
        // The membrane solver fails.
        ShellModel m;
        m_fake.status = {5, 1};
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->Calculate(&log, &errors));
        EXPECT_EQ(Lines(&log).back(), "*** Preliminary membrane analysis returned with error ***\r\n");
        ASSERT_EQ(Lines(&errors).size(), 1u);
        EXPECT_NE(Lines(&errors)[0].find("Error-code: 1"), std::string::npos);
        EXPECT_EQ(m.comp->m_iResultState, 0);
        EXPECT_FALSE(m.comp->m_bBusy);
        m_fake.status = {};
    }
}

// A membrane input that cannot be built stops the run: the solver is never
// called on empty arrays.
TEST_F(ShellTest, MembraneInputFailureStopsTheRun)
{
    ShellModel m;
    m.comp->buildResult[0] = -3;
    m_fake.calls.clear();
    CStringArray log, errors;
    EXPECT_FALSE(m.comp->Calculate(&log, &errors));
    EXPECT_TRUE(m_fake.calls.empty());
    EXPECT_EQ(Lines(&log).back(), "*** Preliminary membrane analysis returned with error ***\r\n");
    EXPECT_TRUE(Contains(Lines(&errors), "Error while generating boundary conditions\r\n"));
    EXPECT_FALSE(m.comp->m_bBusy);
}

TEST_F(ShellTest, RefusedCodes)
{
    struct Case {
        int membraneCode;
        int bucklingCode;
        std::string error;
    } cases[] = {
        {31, 61, "Buckling analysis cannot use element type 61; choose 65, 66, 75, 81 or 85\r\n"},
        {41, 81, "Buckling analysis needs the membrane element type 31, 32 or 33, not 41\r\n"},
        {46, 85, "Buckling analysis needs the membrane element type 31, 32 or 33, not 46\r\n"},
    };
    for (const Case& c : cases) {
        ShellModel m(2, 1, true, c.membraneCode);
        ASSERT_TRUE(m.meshed);
        const int kind = m.comp->m_iMeshKind;
        m.comp->SetBucklingCtrl(1, c.bucklingCode);
        m_fake.calls.clear();
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->Calculate(&log, &errors));
        EXPECT_EQ(Lines(&errors), std::vector<std::string>{c.error});
        EXPECT_TRUE(Lines(&log).empty());
        EXPECT_TRUE(m_fake.calls.empty());
        EXPECT_EQ(m.comp->m_iMeshKind, kind);
        EXPECT_TRUE(m.HasMesh());
        EXPECT_FALSE(m.comp->m_bBusy);
    }
}

TEST_F(ShellTest, StopPendingAndNoMesh)
{
    {
        ShellModel m;
        m.comp->StopCalculation(true);
        CStringArray log;
        EXPECT_TRUE(m.comp->Calculate(&log, nullptr));
        EXPECT_EQ(Lines(&log), std::vector<std::string>{"*** Execution cancelled by user ***\r\n"});
        EXPECT_TRUE(m_fake.calls.empty());
        EXPECT_FALSE(m.comp->m_bBusy);
        m.comp->StopCalculation(false);
    }
    {
        ProbeShell comp;
        comp.SetElementType(31);
        CStringArray log, errors;
        EXPECT_FALSE(comp.Calculate(&log, &errors));
        const auto lines = Lines(&log);
        EXPECT_TRUE(Contains(lines, "Unable to generate mesh\r\n"));
        EXPECT_EQ(lines.back(), "*** Not able to generate mesh ***\r\n");
        EXPECT_EQ(Lines(&errors), std::vector<std::string>{"No model is defined\r\n"});
        EXPECT_FALSE(comp.m_bBusy);
    }
}

// Each mode's extreme entry (the last one on ties) becomes exactly its
// eigenvalue; a zero mode stays zero.
TEST_F(ShellTest, ModeScaling)
{
    ShellModel m(1, 1); // four nodes
    MembraneAnswer();
    ASSERT_TRUE(m.comp->RunMembraneAnalysis(nullptr, nullptr));
    ASSERT_EQ(m.Nodes(), 4);
    m.comp->SetBucklingCtrl(1, 81);
    m.comp->SetBucklingCtrl(2, 3);
    m_fake.eigenvalues = {2.0, 3.0, 5.0};
    m_fake.modeShapes = {0.5, -1.0, 0.25, 1.0,  // tie: the last +1 wins
                         0.1, -4.0, 2.0, 0.0,   // negative extreme flips the sign
                         0.0, 0.0, 0.0, 0.0};
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    EXPECT_EQ(m.comp->m_iResultState, 3);
    ASSERT_EQ(m.comp->GetResCount(), 8u);
    const double expected[3][4] = {{1.0, -2.0, 0.5, 2.0}, {-0.075, 3.0, -1.5, 0.0}, {0.0, 0.0, 0.0, 0.0}};
    CMatrix table;
    table.Allocate(4, 5, true, 0.0);
    m.comp->GetNodeValues(table, 0, 4, 0);
    // Node order of the table follows the mesh numbering: compare the sets
    // of values per mode through their extremes.
    for (int mode = 0; mode < 3; ++mode) {
        double lo = expected[mode][0], hi = expected[mode][0];
        for (double v : expected[mode]) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        EXPECT_DOUBLE_EQ(m.comp->m_MinVals[5 + mode], lo) << mode;
        EXPECT_DOUBLE_EQ(m.comp->m_MaxVals[5 + mode], hi) << mode;
        for (int i = 0; i < 4; ++i)
            EXPECT_DOUBLE_EQ(table[i][2 + mode], expected[mode][i]) << mode << " " << i;
    }
}

TEST_F(ShellTest, BucklingFailureKeepsTheMembraneResults)
{
    ShellModel m;
    MembraneAnswer();
    m.comp->SetBucklingCtrl(2, 3); // a buckling result would count 8
    CStringArray log, errors;
    // The membrane call succeeds; the buckling call fails.
    struct FailSecond {
        static void Entry(std::int32_t* key, std::int32_t* topology, double* elementData, double* material,
                          double* nodal, std::int32_t* fixed, double* couplings, double* springs, double* stresses,
                          double* eigenvalues, double* modeShapes, std::int32_t* status)
        {
            (void)key, (void)topology, (void)elementData, (void)material, (void)nodal, (void)fixed;
            (void)couplings, (void)springs, (void)stresses, (void)eigenvalues, (void)modeShapes;
            status[0] = 7;
            status[1] = 12;
        }
    };
    SolverEntryTable t = GetSolverEntries();
    t.plateKnekking = &FailSecond::Entry;
    const SolverEntryTable previous = SetSolverEntries(t);
    const bool ok = m.comp->Calculate(&log, &errors);
    SetSolverEntries(previous);
    EXPECT_FALSE(ok);
    EXPECT_EQ(m.comp->m_iResultState, 1);
    EXPECT_EQ(m.comp->GetResCount(), 7u) << "membrane results stay";
    EXPECT_EQ(Lines(&log).back(), "*** Buckling analysis returned with error ***\r\n");
    ASSERT_EQ(Lines(&errors).size(), 1u);
    EXPECT_NE(Lines(&errors)[0].find("\tError in node: 12\r\n"), std::string::npos);
    EXPECT_FALSE(m.comp->m_bBusy);
}

// The plate input cannot be built: no conditions of the plate set, or a
// number of modes (from a damaged setting) that leaves no room for them.
TEST_F(ShellTest, BucklingInputFailure)
{
    struct Case {
        int buildResult;
        int modes;
        std::string line;
    } cases[] = {
        {-3, 2, "Error while generating boundary conditions\r\n"},
        {1, 2000000000, "Unable to generate data\r\n"},
    };
    for (const Case& c : cases) {
        ShellModel m;
        MembraneAnswer();
        ASSERT_TRUE(m.comp->RunMembraneAnalysis(nullptr, nullptr));
        m.comp->buildResult[1] = c.buildResult;
        m.comp->SetBucklingCtrl(2, c.modes);
        m_fake.calls.clear();
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->Calculate(&log, &errors));
        EXPECT_TRUE(m_fake.calls.empty());
        const auto e = Lines(&errors);
        ASSERT_EQ(e.size(), 2u);
        EXPECT_EQ(e[0].rfind("number of nodes: ", 0), 0u);
        EXPECT_EQ(e[1], c.line);
        EXPECT_EQ(m.comp->m_iElemType, 31);
        EXPECT_EQ(m.comp->m_iResultState, 1);
        EXPECT_FALSE(m.comp->m_bBusy);
    }
}

TEST_F(ShellTest, SolverWarnings)
{
    struct Case {
        std::array<std::int32_t, 5> status;
        unsigned resultCount;
        int loggedModes;
    } cases[] = {
        {{1, 1, 2}, 6u, 1},
        {{2, 2, 30, 100}, 7u, 2},
    };
    for (const Case& c : cases) {
        ShellModel m;
        MembraneAnswer();
        ASSERT_TRUE(m.comp->RunMembraneAnalysis(nullptr, nullptr));
        m_fake.eigenvalues = {2.0, 3.0};
        m_fake.status = c.status;
        CStringArray log, errors;
        EXPECT_TRUE(m.comp->Calculate(&log, &errors));
        m_fake.status = {};
        const auto lines = Lines(&log);
        EXPECT_TRUE(Contains(lines, SolverWarningText(c.status.data()).GetString()));
        EXPECT_TRUE(Contains(lines, "  1    2.00000e+00\r\n"));
        EXPECT_EQ(Contains(lines, "  2    3.00000e+00\r\n"), c.loggedModes == 2);
        EXPECT_EQ(m.comp->GetResCount(), c.resultCount);
        EXPECT_EQ(m.comp->m_iResultState, 3);
        EXPECT_TRUE(Lines(&errors).empty());
    }
}

using Bytes = std::vector<BYTE>;

Bytes LongBytes(std::initializer_list<LONG> values)
{
    return afxtest::storeBytes([&](CArchive& ar) {
        for (LONG v : values)
            ar << v;
    });
}

TEST_F(ShellTest, ArchiveAndCopy)
{
    CShellComp comp;
    comp.SetBucklingCtrl(0, 1);
    comp.SetBucklingCtrl(1, 66);
    comp.SetBucklingCtrl(2, 5);
    comp.SetBucklingCtrl(3, 1);
    comp.m_iResultState = 3;
    comp.SetActVal(4);
    const Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { comp.Serialize(ar); });
    const Bytes tail = LongBytes({2, 4, 1, 1, 66, 5, 1});
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);

    CShellComp loaded;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(loaded.GetBucklingCtrl(i), comp.GetBucklingCtrl(i)) << i;
    EXPECT_EQ(loaded.GetActVal(), 0);
    EXPECT_EQ(loaded.m_iResultState, 0);

    // Version 1: code, modes, eigensolver.
    Bytes v1(bytes.begin(), bytes.end() - static_cast<long>(tail.size()));
    const Bytes old = LongBytes({1, 75, 4, 1});
    v1.insert(v1.end(), old.begin(), old.end());
    CShellComp fromV1;
    afxtest::loadBytes(v1, [&](CArchive& ar) { fromV1.Serialize(ar); });
    EXPECT_EQ(fromV1.GetBucklingCtrl(1), 75);
    EXPECT_EQ(fromV1.GetBucklingCtrl(2), 4);
    EXPECT_EQ(fromV1.GetBucklingCtrl(0), 1);
    EXPECT_EQ(fromV1.GetBucklingCtrl(3), 0);

    // A larger stored matrix gives its overlapping entries only.
    Bytes big(bytes.begin(), bytes.end() - static_cast<long>(tail.size()));
    const Bytes wide = LongBytes({2, 2, 2, 1, 9, 65, 9});
    big.insert(big.end(), wide.begin(), wide.end());
    CShellComp fromBig;
    afxtest::loadBytes(big, [&](CArchive& ar) { fromBig.Serialize(ar); });
    EXPECT_EQ(fromBig.GetBucklingCtrl(0), 1);
    EXPECT_EQ(fromBig.GetBucklingCtrl(1), 65);
    EXPECT_EQ(fromBig.GetBucklingCtrl(2), 2);
    EXPECT_EQ(fromBig.GetBucklingCtrl(3), 0);

    CSectComp* copy = nullptr;
    comp.Copy(copy, false);
    ASSERT_TRUE(copy->IsKindOf(RUNTIME_CLASS(CShellComp)));
    auto* shell = static_cast<CShellComp*>(copy);
    EXPECT_EQ(shell->m_iResultState, 3);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(shell->GetBucklingCtrl(i), comp.GetBucklingCtrl(i));
    delete copy;
}

} // namespace

// The analysis run of the plate component against the recording solver:
// input build, key data, the sparse-storage question, the volume force,
// the run's log and error texts and the result return.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/analysis/fake_solver.h"
#include "tests/analysis/plate_model.h"
#include "tests/support/message_recorder.h"
#include "tests/analysis/log_lines.h"

namespace {

using analysistest::Lines;

using analysistest::FakeSolver;
using analysistest::PlateModel;

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// A meshed 2 x 1 rectangle of the code, divided nx x ny, fixed at corner 0.
struct Meshed : PlateModel {
    explicit Meshed(int code, int nx = 1, int ny = 1, double w = 2.0, double h = 1.0) : PlateModel(code, w, h)
    {
        Support(0, 2);
        Divide(nx, ny);
        meshed = Mesh();
    }
    bool meshed = false;
};

TEST(BuildSolverData, NumbersNodesFromOneAndRestoresTheCounter)
{
    Meshed m(31, 3, 2);
    ASSERT_TRUE(m.meshed);
    CSNode::lIDnode = 777;
    CMatrix mat, data, nodes, pre, cpl, spr;
    CLongMatrix topo, sup;
    ASSERT_EQ(m.comp->BuildSolverData(mat, data, topo, nodes, sup, pre, cpl, spr, 0), 1);
    EXPECT_EQ(CSNode::lIDnode, 777u);
    EXPECT_EQ(m.comp->m_nNodes, 12);
    EXPECT_EQ(m.comp->m_nElements, 12);
    EXPECT_EQ(m.comp->m_nMaterials, 1);
    ASSERT_EQ(topo.GetRows(), 12);
    ASSERT_EQ(topo.GetColumns(), 4);
    ASSERT_EQ(data.GetColumns(), 12);
    std::vector<int> used(13, 0);
    for (int e = 0; e < 12; ++e) {
        EXPECT_EQ(topo[e][0], 1);
        for (int c = 1; c < 4; ++c) {
            ASSERT_GE(topo[e][c], 1);
            ASSERT_LE(topo[e][c], 12);
            ++used[topo[e][c]];
        }
        EXPECT_DOUBLE_EQ(data[e][1], 1.0); // thickness
    }
    for (int n = 1; n <= 12; ++n)
        EXPECT_GT(used[n], 0) << n;
    // Every node row holds the coordinates of a grid point; the fixed corner
    // (0, 0) is suppressed in both directions.
    int origin = -1;
    for (int n = 0; n < 12; ++n) {
        const double gx = nodes[n][0] * 1.5, gy = nodes[n][1] * 2.0;
        EXPECT_NEAR(gx, std::round(gx), 1e-9);
        EXPECT_NEAR(gy, std::round(gy), 1e-9);
        if (nodes[n][0] == 0.0 && nodes[n][1] == 0.0)
            origin = n + 1;
    }
    ASSERT_EQ(sup.GetRows(), 2);
    EXPECT_EQ(sup[0][0], origin);
    EXPECT_EQ(sup[1][0], origin);
}

TEST(BuildSolverData, ResultCodes)
{
    CMatrix mat, data, nodes, pre, cpl, spr;
    CLongMatrix topo, sup;
    {
        PlateModel m(31); // not meshed
        m.Support(0, 2);
        EXPECT_EQ(m.comp->BuildSolverData(mat, data, topo, nodes, sup, pre, cpl, spr, 0), -1);
    }
    {
        PlateModel m(31); // no condition
        ASSERT_TRUE(m.Mesh());
        EXPECT_EQ(m.comp->BuildSolverData(mat, data, topo, nodes, sup, pre, cpl, spr, 0), -3);
    }
    {
        PlateModel m(31); // only a clear condition
        m.Support(1, 0);
        ASSERT_TRUE(m.Mesh());
        EXPECT_EQ(m.comp->BuildSolverData(mat, data, topo, nodes, sup, pre, cpl, spr, 0), -3);
    }
    {
        PlateModel m(31); // no material offered
        m.Support(0, 2);
        ASSERT_TRUE(m.Mesh());
        m.comp->GetMaterialList().RemoveAll();
        EXPECT_EQ(m.comp->BuildSolverData(mat, data, topo, nodes, sup, pre, cpl, spr, 0), 0);
    }
}

TEST(Calculate, InputFailuresGiveTheirTexts)
{
    struct Case {
        int code;
        const char* text;
    } cases[] = {{0, "Unable to generate data\r\n"},
                 {-1, "No mesh detected\r\n"},
                 {-2, "No mesh-nodes detected\r\n"},
                 {-3, "Error while generating boundary conditions\r\n"}};
    FakeSolver fake;
    for (const Case& c : cases) {
        Meshed m(31);
        m.comp->forcedBuildResult = c.code;
        m.comp->m_nNodes = 4;
        m.comp->m_nElements = 2;
        m.comp->m_nMaterials = 1;
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->Calculate(&log, &errors));
        EXPECT_EQ(Lines(log), std::vector<std::string>{"number of nodes: 4\tnumber of elements: 2\tnumber of "
                                                       "materials: 1\r\n"});
        EXPECT_EQ(Lines(errors), std::vector<std::string>{c.text});
        EXPECT_FALSE(m.comp->m_bBusy);
    }
    EXPECT_TRUE(fake.calls.empty());
}

TEST(Calculate, StopUnknownCodeAndSuccess)
{
    FakeSolver fake;
    {
        Meshed m(31);
        m.comp->StopCalculation(true);
        CStringArray log, errors;
        EXPECT_TRUE(m.comp->Calculate(&log, &errors));
        EXPECT_EQ(Lines(log), std::vector<std::string>{"*** Execution cancelled by user ***\r\n"});
        EXPECT_TRUE(Lines(errors).empty());
        EXPECT_FALSE(m.comp->m_bBusy);
        EXPECT_TRUE(fake.calls.empty());
    }
    {
        Meshed m(31);
        m.comp->SetElementType(99);
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->Calculate(&log, &errors));
        EXPECT_TRUE(Lines(log).empty());
        EXPECT_TRUE(Lines(errors).empty());
        EXPECT_FALSE(m.comp->m_bBusy);
    }
    {
        Meshed m(31);
        CStringArray log, errors;
        EXPECT_TRUE(m.comp->Calculate(&log, &errors));
        const auto lines = Lines(log);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_TRUE(StartsWith(lines[0], "Used time Calculating:    ")) << lines[0];
        EXPECT_EQ(lines[1], "number of nodes: 4\tnumber of elements: 2\tnumber of materials: 1\r\n");
        EXPECT_TRUE(StartsWith(lines[2], "Used time Setting stresses:    ")) << lines[2];
        EXPECT_TRUE(Lines(errors).empty());
        EXPECT_FALSE(m.comp->m_bBusy);
        ASSERT_EQ(fake.calls.size(), 1u);
        EXPECT_EQ(fake.last().entry, "PLANE_STR");
    }
}

TEST(Calculate, SolverStatusTexts)
{
    const std::string header = "Brantel returned an error while solving:\r\n";
    const std::string closing = "If the problem perists, please contact your vendor.\r\n";
    struct Case {
        std::array<std::int32_t, 5> status;
        std::string detail;
    } cases[] = {
        {{5, 2}, "\tAttempt to divide by zero\tError occured in subroutine  EMCR4 \r\n"
                 "\tError while establishing system stiffness matrix Error-code: 2\r\n"},
        {{5, 1}, "\tError while establishing system stiffness matrix Error-code: 1\r\n"},
        {{7, 0}, " "},
        {{7, 12}, "\tError in node: 12\r\n"},
        {{-25, 3}, "\tSolver status -25 (detail 3), see the solver run log\r\n"},
        {{99, 13}, "\tSolver status 99 (detail 13), see the solver run log\r\n"},
    };
    FakeSolver fake;
    for (const Case& c : cases) {
        Meshed m(31);
        fake.status = c.status;
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->Calculate(&log, &errors));
        EXPECT_EQ(Lines(errors), std::vector<std::string>{header + c.detail + closing});
        ASSERT_FALSE(Lines(log).empty());
        EXPECT_EQ(Lines(log).back(), "*** Calculation returned with error ***\r\n");
        EXPECT_EQ(m.comp->resets, 1);
        EXPECT_FALSE(m.comp->m_bBusy);
        EXPECT_EQ(m.comp->GetResCount(), 0u) << "results of a failed run are not taken";
        // Without an error array the run still fails and logs.
        CStringArray log2;
        EXPECT_FALSE(m.comp->Calculate(&log2, nullptr));
        EXPECT_EQ(Lines(log2).back(), "*** Calculation returned with error ***\r\n");
    }
}

TEST(Calculate, WarningsTakeTheResults)
{
    struct Case {
        std::array<std::int32_t, 5> status;
        std::string line;
    } cases[] = {
        {{1, 3, 5}, "*** Warning: only 3 of 5 buckling modes passed the eigenvalue error test ***\r\n"},
        {{2, 4, 30, 100},
         "*** Warning: 4 buckling modes of 100 unknowns need 30 iteration vectors; a finer mesh is advised ***\r\n"},
    };
    FakeSolver fake;
    for (const Case& c : cases) {
        Meshed m(31);
        fake.status = c.status;
        CStringArray log, errors;
        EXPECT_TRUE(m.comp->Calculate(&log, &errors));
        const auto lines = Lines(log);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[2], c.line);
        EXPECT_TRUE(Lines(errors).empty());
        EXPECT_EQ(m.comp->GetResCount(), 7u);
        EXPECT_FALSE(m.comp->m_bBusy);
    }
}

TEST(SolverCall, KeyDataAndArraysOfAMembraneModel)
{
    FakeSolver fake;
    PlateModel m(31);
    m.Support(0, 2);
    m.User(1, {{1, 0.0}, {2, 0.5}, {-1, 1000.0}});
    m.Divide(2, 1);
    m.comp->m_iStorage = 2;
    m.comp->m_iRenumbering = 3;
    m.comp->m_iPrintLevel = 2;
    CLongVector printElems, printNodes;
    printElems.Allocate(2, true, 0);
    printElems[0] = 1;
    printElems[1] = 3;
    m.comp->m_pPrintElems = &printElems;
    ASSERT_TRUE(m.Mesh());
    CStringArray log, errors;
    ASSERT_TRUE(m.comp->Calculate(&log, &errors));
    const auto& call = fake.last();
    EXPECT_EQ(call.Key(1), 4);
    EXPECT_EQ(call.Key(2), 6);
    EXPECT_EQ(call.Key(3), 1);
    EXPECT_EQ(call.Key(4), 3); // corner 0 fixed, corner 1 DOF 1
    EXPECT_EQ(call.Key(5), 1);
    EXPECT_EQ(call.Key(6), 0);
    EXPECT_EQ(call.Key(7), 1);
    EXPECT_EQ(call.Key(10), 31);
    EXPECT_EQ(call.Key(11), 2);
    EXPECT_EQ(call.Key(12), 1);
    EXPECT_EQ(call.Key(19), 4);
    EXPECT_EQ(call.Key(20), 12);
    EXPECT_EQ(call.Key(21), 6);
    EXPECT_EQ(call.Key(25), 2);
    EXPECT_EQ(call.Key(26), 0);
    EXPECT_EQ(call.Key(30), 2);
    EXPECT_EQ(call.printElements, (std::vector<std::int32_t>{1, 3}));
    EXPECT_TRUE(call.printNodesNull);
    ASSERT_EQ(call.prescribed.size(), 3u);
    EXPECT_EQ(call.prescribed[1], 2.0);
    EXPECT_EQ(call.prescribed[2], 0.5);
    ASSERT_EQ(call.springs.size(), 3u);
    EXPECT_EQ(call.springs[0], call.prescribed[0]);
    EXPECT_EQ(call.springs[1], 1.0);
    EXPECT_EQ(call.springs[2], 1000.0);
    m.comp->m_pPrintElems = nullptr;
}

// A node link of the mesh couples both DOFs of its nodes; the link stays
// with the model for the next run.
TEST(SolverCall, MeshLinksBecomeCouplings)
{
    FakeSolver fake;
    Meshed m(31);
    CObList meshes;
    m.region->InsertMeshes(meshes);
    ASSERT_EQ(meshes.GetCount(), 1);
    auto* first = static_cast<CMeshOrganizer*>(meshes.GetHead())->GetHeadElem();
    CSNode* a = first->GetNode(0);
    CSNode* b = first->GetNode(2);
    new CNodeLink(a, b);
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
        const double ia = a->GetID(), ib = b->GetID();
        EXPECT_EQ(fake.last().Key(6), 2);
        EXPECT_EQ(fake.last().couplings,
                  (std::vector<double>{ia, 1, ib, 1, 1, 0, 0, 0, ia, 2, ib, 2, 1, 0, 0, 0}));
    }
}

// A constant edge load on the right edge of a membrane strip reaches the
// solver as one row per mesh edge along it.
TEST(SolverCall, MembraneEdgeLoadRows)
{
    FakeSolver fake;
    PlateModel m(31);
    m.Support(0, 2);
    CObList edges;
    m.region->GetEdges(edges);
    int loaded = 0;
    for (POSITION p = edges.GetHeadPosition(); p;) {
        auto* e = static_cast<CBoundary*>(edges.GetNext(p));
        if (e->GetNode1()->x == 2.0 && e->GetNode2()->x == 2.0) {
            auto* load = new CEdgeLoad;
            load->Allocate(6, true, 0.0);
            (*load)[0] = (*load)[2] = (*load)[4] = 10.0;
            e->SetLoad(load);
            ++loaded;
        }
    }
    ASSERT_EQ(loaded, 1);
    m.comp->m_nMinElements = 1;
    m.comp->m_iSubdivisions = 4;
    ASSERT_TRUE(m.comp->PreCalc(nullptr, nullptr, 0));
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    const auto& call = fake.last();
    const int rows = call.Key(17);
    ASSERT_GT(rows, 0);
    EXPECT_EQ(call.Key(21), 6);
    ASSERT_EQ(call.edgeLoads.size(), static_cast<std::size_t>(6 * rows));
    for (int r = 0; r < rows; ++r) {
        const double* row = &call.edgeLoads[static_cast<std::size_t>(6 * r)];
        EXPECT_GE(row[0], 1.0);
        EXPECT_LE(row[0], call.Key(1));
        EXPECT_GE(row[1], 1.0);
        EXPECT_LE(row[1], call.Key(2));
        EXPECT_EQ(row[2], 10.0);
        EXPECT_EQ(row[3], 0.0);
        EXPECT_EQ(row[4], 10.0);
        EXPECT_EQ(row[5], 0.0);
    }
}

TEST(SolverCall, PlateModelWithoutEdgeLoads)
{
    FakeSolver fake;
    for (int code : {65, 81}) {
        Meshed m(code);
        m.comp->m_iIntegrationRule = 2;
        ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
        const auto& call = fake.last();
        EXPECT_EQ(call.entry, "PLATE_BENDING");
        EXPECT_EQ(call.Key(16), 0);
        EXPECT_EQ(call.Key(17), 0);
        EXPECT_EQ(call.Key(18), 0);
        EXPECT_EQ(call.Key(21), 0);
        EXPECT_EQ(call.Key(27), code == 81 ? 2 : 0);
        EXPECT_TRUE(call.edgeLoads.empty());
    }
}

TEST(SolverCall, PlateNodeLoadTravelsInTheNodeArray)
{
    FakeSolver fake;
    Meshed m(81);
    auto* load = new CNodeLoad;
    load->Allocate(1, true, -7.5);
    m.corner[2]->SetNodeLoad(load);
    m.Divide(1, 1);
    ASSERT_TRUE(m.Mesh());
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    const auto& nodal = fake.last().nodal;
    ASSERT_EQ(nodal.size(), 16u);
    int loaded = 0;
    for (int n = 0; n < 4; ++n) {
        if (nodal[4 * n + 3] != 0.0) {
            ++loaded;
            EXPECT_EQ(nodal[4 * n + 3], -7.5);
            EXPECT_EQ(nodal[4 * n + 0], 2.0);
            EXPECT_EQ(nodal[4 * n + 1], 1.0);
        }
    }
    EXPECT_EQ(loaded, 1);
}

TEST(SolverCall, SparseStorageQuestion)
{
    const std::string question =
        "The problem size is such that it is recommended to use sparse storage format.\nDo you want to change to "
        "sparse storage?";
    struct Case {
        int nx, ny;
        int answer; // 0: no question expected
        int storage, renumbering;
    } cases[] = {
        {24, 39, 0, 1, 3},
        {76, 12, IDYES, 2, 1},
        {76, 12, IDNO, 1, 3},
    };
    FakeSolver fake;
    for (const Case& c : cases) {
        brantel::test::MessageRecorder messages;
        if (c.answer)
            messages.answer(c.answer);
        Meshed m(31, c.nx, c.ny, c.nx, c.ny);
        m.comp->m_iStorage = 1;
        m.comp->m_iRenumbering = 3;
        ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
        if (c.answer) {
            ASSERT_EQ(messages.texts(), std::vector<std::string>{question});
            EXPECT_EQ(messages.messages()[0].type & MB_TYPEMASK, MB_YESNO);
        } else {
            EXPECT_TRUE(messages.texts().empty());
        }
        EXPECT_EQ(m.comp->m_iStorage, c.storage);
        EXPECT_EQ(m.comp->m_iRenumbering, c.renumbering);
        EXPECT_EQ(fake.last().Key(11), c.storage);
        EXPECT_EQ(fake.last().Key(12), c.renumbering);
    }
}

TEST(SolverCall, VolumeForce)
{
    FakeSolver fake;
    Meshed m(31);
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    EXPECT_EQ(fake.last().volumeForce, std::vector<double>(9, 0.0));
    ASSERT_EQ(m.comp->m_VolumeForce.GetSize(), 9);
    const double* v = m.comp->m_VolumeForce.GetVector();
    EXPECT_EQ(std::vector<double>(v, v + 9), (std::vector<double>{0, 0, 0, 0, 0, 0, -90.0, 1.0, 0.0}));

    m.comp->m_VolumeForce[0][0] = 0.25;
    m.comp->m_VolumeForce[0][6] = 30.0;
    m.comp->m_VolumeForce[0][7] = 2.0;
    m.comp->m_VolumeForce[0][8] = 1.0;
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    const auto& sent = fake.last().volumeForce;
    EXPECT_EQ(sent[0], 0.25);
    EXPECT_NEAR(sent[6], std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(sent[7], 1.0, 1e-12);
    EXPECT_EQ(sent[8], 1.0);
    EXPECT_EQ(m.comp->m_VolumeForce[0][6], 30.0);
    EXPECT_EQ(m.comp->m_VolumeForce[0][7], 2.0);
}

TEST(StressReturn, StaticsPerCode)
{
    struct Case {
        int code, nodeVal, vectors;
        unsigned count;
        int derived;
    } cases[] = {
        {31, 3, 3, 7, 4}, {32, 3, 3, 7, 4}, {33, 3, 3, 7, 4}, {41, 3, 5, 7, 4}, {42, 3, 5, 7, 4},
        {44, 3, 5, 7, 4}, {46, 3, 5, 7, 4}, {61, 3, 3, 7, 2}, {65, 3, 3, 7, 2}, {66, 3, 3, 7, 2},
        {75, 5, 3, 9, 2}, {81, 5, 3, 9, 2}, {85, 5, 3, 9, 2},
    };
    FakeSolver fake;
    for (const Case& c : cases) {
        Meshed m(c.code);
        ASSERT_TRUE(m.meshed) << c.code;
        EXPECT_FALSE(m.comp->Smooth(false)) << "no results yet, " << c.code;
        ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr)) << c.code;
        EXPECT_EQ(CElement::m_nNodeVal, c.nodeVal) << c.code;
        EXPECT_EQ(CElement::m_nVectors, c.vectors) << c.code;
        EXPECT_EQ(m.comp->GetResCount(), c.count) << c.code;
        EXPECT_EQ(m.comp->m_MaxVals.GetSize(), static_cast<int>(c.count)) << c.code;
        EXPECT_EQ(m.comp->m_MaxValsExt.GetSize(), c.derived) << c.code;
        EXPECT_EQ(m.comp->m_MinValsExt.GetSize(), c.derived) << c.code;
        EXPECT_TRUE(m.comp->Smooth(false)) << c.code;
    }
}

// The solver's fourth row of every constant-strain triangle is no result:
// it takes no part in the extremes.
TEST(StressReturn, TriangleFourthRowsAreDropped)
{
    FakeSolver fake;
    Meshed m(31);
    // Two elements, four rows of three each; rows 3 and 7 hold junk.
    fake.elementResults = {10, 0, 0, 20, 0, 0, 30, 0, 0, 1e6, -1e6, 5e5,
                           40, 0, 0, 50, 0, 0, 60, 0, 0, 1e6, -1e6, 5e5};
    fake.nodeResults = {0, 0, 0, 0, 3, 4, 0, 0, 0, 0, 0, 0, 6, 8, 0, 0};
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    EXPECT_DOUBLE_EQ(m.comp->m_MaxValsExt[0], 60.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MinValsExt[0], 10.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MaxValsExt[1], 0.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MinValsExt[1], 0.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MaxValsExt[3], 10.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MinValsExt[3], 0.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MaxVals[0], 60.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MinVals[0], 10.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MaxVals[1], 0.0);
}

// A plate in tension throughout: the extremes of the derived stresses are
// seeded from the first value, so none of them reads 0, after the stress
// return and after smoothing alike (the smoothed values lie inside the
// element range).
TEST(StressReturn, DerivedExtremesStartFromTheFirstValue)
{
    FakeSolver fake;
    Meshed m(31);
    fake.elementResults = {10, 0, 0, 20, 0, 0, 30, 0, 0, 0, 0, 0,
                           40, 0, 0, 50, 0, 0, 60, 0, 0, 0, 0, 0};
    fake.nodeResults = {0, 0, 0, 0, 3, 4, 0, 0, 0, 0, 0, 0, 6, 8, 0, 0};
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    EXPECT_DOUBLE_EQ(m.comp->m_MinValsExt[0], 10.0) << "Sigma_1";
    EXPECT_DOUBLE_EQ(m.comp->m_MaxValsExt[2], 60.0) << "Eff. stress";
    EXPECT_DOUBLE_EQ(m.comp->m_MinValsExt[2], 10.0) << "Eff. stress";
    ASSERT_TRUE(m.comp->Smooth(false));
    for (int k : {0, 2}) {
        SCOPED_TRACE(k);
        EXPECT_GE(m.comp->m_MinValsExt[k], 10.0);
        EXPECT_LE(m.comp->m_MinValsExt[k], m.comp->m_MaxValsExt[k]);
        EXPECT_LE(m.comp->m_MaxValsExt[k], 60.0);
    }
    // The second principal stress is 0 everywhere.
    EXPECT_DOUBLE_EQ(m.comp->m_MinValsExt[1], 0.0);
    EXPECT_DOUBLE_EQ(m.comp->m_MaxValsExt[1], 0.0);
}

TEST(StressReturn, ResultUnits)
{
    struct Case {
        int code;
        std::vector<int> units; // components 0 .. 10
    } cases[] = {
        {31, {13, 13, 13, 3, 3, 1, 1, 13, 13, 13, 3}},
        // Moments and shear forces of plates are per unit width.
        {65, {-14, -14, -14, 3, 0, 0, 1, -14, -14, 0, 0}},
        {85, {-14, -14, -14, -1, -1, 3, 0, 0, 1, -14, -14}},
        {99, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        CPlateComp comp;
        comp.SetElementType(c.code);
        std::vector<int> got;
        for (int i = 0; i <= 10; ++i)
            got.push_back(comp.GetResultUnit(i));
        EXPECT_EQ(got, c.units) << c.code;
        EXPECT_EQ(comp.GetResultUnit(11), 0);
        EXPECT_EQ(comp.GetResultUnit(-1), 0);
    }
}

} // namespace

// The boundary-condition page on nodes, edges, links and lists of them.
#include <cmath>

#include "platform/dimvor/units.h"
#include "tests/shell/pages_fixture.h"

namespace
{

using namespace shelltest;

constexpr double kPi = 3.14159265358979323846;
// Check boxes and edits of rows A to F.
constexpr int kCheck[] = {16234, 16159, 16160, 50081, 50082, 50083};
constexpr int kEdit[] = {16230, 16231, 16232, 16233, 16235, 16236};
constexpr int kUser = 1032, kFixed = 1102, kSimple = 1101, kFree = 1100;

using BCPage = UnitsTest;

TEST_F(BCPage, RowsFollowTheElementType)
{
    struct Case {
        int code;
        std::vector<std::pair<int, const char*>> labels;
        std::vector<int> hiddenChecks;
    } cases[] = {
        {31, {{16177, "u"}, {50098, "v"}}, {16234, 16160, 50081, 50083}},
        {33, {{16176, "u"}, {16177, "u,x"}, {50097, "v"}, {50099, "v,y"}}, {}},
        {65, {{16176, "w"}, {50097, "w,x"}, {50098, "w,y"}}, {16159, 16160, 50083}},
        {66, {{16176, "w"}, {50097, "-w,x"}, {50098, " w,y"}}, {16159, 16160, 50083}},
        {81, {{16177, "w,x"}, {50096, "w,y"}, {50097, "w,xx"}, {50099, "w,yy"}}, {}},
        {99, {{16176, ""}, {50099, ""}}, {}},
    };
    for (const Case& c : cases) {
        SmallModel model;
        CPrPageBC page;
        page.m_iElemType = c.code;
        page.m_pNode = model.Node(0, 0);
        RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
            for (const auto& [nID, text] : c.labels)
                EXPECT_EQ(d.Text(nID), text) << c.code << " " << nID;
            for (int nID : c.hiddenChecks)
                EXPECT_FALSE(d.Visible(nID)) << c.code << " " << nID;
            int shown = 0;
            for (int nID : kCheck)
                shown += d.Visible(nID) ? 1 : 0;
            EXPECT_EQ(shown, 6 - static_cast<int>(c.hiddenChecks.size())) << c.code;
            d.PressCancel();
        });
    }
}

TEST_F(BCPage, UserConditionOpensAndIsWrittenBackUnchanged)
{
    SmallModel model;
    CBoundNode* node = model.Node(0, 0);
    SetUserCondition(*node, {1, -2, 0.5, 100});
    CPrPageBC page;
    page.m_iElemType = 31;
    page.m_pNode = node;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Check(kUser), 1);
        EXPECT_EQ(d.Check(kCheck[1]), 1);
        EXPECT_DOUBLE_EQ(Number(d.Text(kEdit[1])), 0.5 * page.m_dLenFactor);
        EXPECT_EQ(d.Check(kCheck[4]), 2);
        EXPECT_DOUBLE_EQ(Number(d.Text(kEdit[4])), 100 * page.m_dStiffFactor);
        EXPECT_TRUE(d.Visible(1205)); // the spring picture of row E
        EXPECT_FALSE(d.Visible(1200));
        d.Type(16238, "0"); // any change
        d.PressOK();
    });
    ASSERT_NE(node->GetBC(0), nullptr);
    EXPECT_EQ(node->GetBC(0)->GetBCType(), 0x10u);
    const std::vector<double> expected = {1, -2, 0.5, 100};
    const std::vector<double> stored = DofVector(node->GetBC(0));
    ASSERT_EQ(stored.size(), expected.size());
    for (std::size_t i = 0; i < stored.size(); ++i)
        EXPECT_NEAR(stored[i], expected[i], 1e-9 * std::fabs(expected[i]) + 1e-12) << i;
}

TEST_F(BCPage, SignedAndCurvatureRowsConvert)
{
    // Code 66 shows DOF 3 with inverted sign; typing a value alone is a change.
    SmallModel model;
    CBoundNode* node = model.Node(0, 0);
    SetUserCondition(*node, {3, 0.01});
    CPrPageBC page;
    page.m_iElemType = 66;
    page.m_pNode = node;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(50097), "-w,x");
        EXPECT_DOUBLE_EQ(Number(d.Text(kEdit[3])), -0.01);
        d.Type(kEdit[3], "-0.02");
        d.PressOK();
    });
    EXPECT_EQ(DofVector(node->GetBC(0)), (std::vector<double>{3, 0.02}));

    // Curvatures of codes 81 and 85 are shown per display length.
    iStandard = 1;
    for (int code : {81, 85}) {
        CBoundNode* curved = model.Node(1, 0);
        SetUserCondition(*curved, {4, 0.001});
        CPrPageBC inches;
        inches.m_iElemType = code;
        inches.m_pNode = curved;
        RunPages({&inches}, [&](DialogDriver& d, ModalScript&) {
            EXPECT_NE(inches.m_dLenFactor, 1.0);
            EXPECT_NEAR(Number(d.Text(kEdit[3])), 0.001 / inches.m_dLenFactor, 1e-9);
            EXPECT_EQ(d.Text(1174), "1/in");
            d.PressCancel();
        });
    }
}

TEST_F(BCPage, EdgeCheckBoxesNeverBecomeSprings)
{
    SmallModel model;
    CBoundary* edge = model.Edge(model.Node(0, 0), model.Node(10, 0));
    CPrPageBC page;
    page.m_iElemType = 31;
    page.m_pEdge = edge;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        d.Click(kUser);
        const int expected[] = {1, 0, 1};
        for (int state : expected) {
            d.Click(kCheck[1]);
            EXPECT_EQ(d.Check(kCheck[1]), state);
        }
        d.PressCancel();
    });
    // A node's displacement row may be a spring.
    CPrPageBC nodePage;
    nodePage.m_iElemType = 31;
    nodePage.m_pNode = model.Node(5, 5);
    RunPages({&nodePage}, [&](DialogDriver& d, ModalScript&) {
        d.Click(kUser);
        d.Click(kCheck[1]);
        d.Click(kCheck[1]);
        EXPECT_EQ(d.Check(kCheck[1]), 2);
        EXPECT_EQ(d.Text(1172), nodePage.m_strStiffUnit);
        d.PressCancel();
    });
}

TEST_F(BCPage, UserDefinedWithoutRowsClearsTheCondition)
{
    SmallModel model;
    CBoundary* edge = model.Edge(model.Node(0, 0), model.Node(10, 0));
    edge->SetBC(2, 0);
    CPrPageBC page;
    page.m_iElemType = 81;
    page.m_pEdge = edge;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Check(kFixed), 1);
        d.Click(kUser);
        d.PressOK();
    });
    EXPECT_TRUE(edge->GetBC(0) == nullptr || edge->GetBC(0)->GetBCType() == 0);
}

TEST_F(BCPage, LeavingUserDefinedWritesNothingUntilApplied)
{
    SmallModel model;
    CBoundNode* node = model.Node(0, 0);
    SetUserCondition(*node, {1, 0.5});
    CPrPageBC page;
    page.m_iElemType = 31;
    page.m_pNode = node;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        d.Type(kEdit[1], "0.7");
        d.Click(kFixed);
        d.Click(kUser); // the typed rows come back
        EXPECT_DOUBLE_EQ(Number(d.Text(kEdit[1])), 0.7);
        d.Click(kFixed);
        d.PressCancel();
    });
    EXPECT_EQ(node->GetBC(0)->GetBCType(), 0x10u);
    EXPECT_EQ(DofVector(node->GetBC(0)), (std::vector<double>{1, 0.5}));
}

TEST_F(BCPage, LabelsFollowTargetUnitsAndFamily)
{
    SmallModel model;
    CBoundNode* a = model.Node(0, 0);
    CBoundNode* b = model.Node(10, 0);
    CBoundary* edge = model.Edge(a, b);
    iConv[iStandard][7][0] = 1; // radians
    CPrPageBC page;
    page.m_iElemType = 31;
    page.m_pEdge = edge;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(CPrPageBC::kAngleUnit), "rad");
        EXPECT_EQ(d.Text(kSimple), "Roller 1");
        EXPECT_EQ(d.Text(1140), "Roller 2");
        CString applyI;
        applyI.Format("Apply to node i (%u)", unsigned(a->GetID()));
        EXPECT_EQ(d.Text(1197), applyI);
        EXPECT_FALSE(d.Visible(16143));
        d.PressCancel();
    });
    iConv[iStandard][7][0] = 0;
    CObList list;
    list.AddTail(edge);
    list.AddTail(a); // not an edge: dropped from the list
    CPrPageBC listPage;
    listPage.m_iElemType = 81;
    listPage.m_pEdgeList = &list;
    RunPages({&listPage}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(CPrPageBC::kAngleUnit), "deg");
        EXPECT_EQ(d.Text(kSimple), "Simply supported");
        EXPECT_EQ(d.Text(1197), "Apply to nodes");
        EXPECT_EQ(d.Check(16143), 0);
        EXPECT_FALSE(d.Enabled(kFixed));
        d.PressCancel();
    });
    EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(BCPage, EdgeListAppliedToNodesSetsTheirAngles)
{
    struct Case {
        std::vector<std::pair<double, double>> points; // a chain of listed edges
        int node;                                       // the node looked at
        double angle;
    } cases[] = {
        {{{0, 10}, {0, 0}}, 0, kPi / 2},                  // one edge: its direction
        {{{0, 0}, {10, 0}, {20, 0}}, 1, 0.0},             // collinear: nothing set
        {{{0, 0}, {10, 10}, {20, 20}}, 1, kPi / 4},       // collinear slanted
        {{{0, 0}, {10, 10}, {20, 20}}, 2, kPi / 4},
    };
    for (const Case& c : cases) {
        SmallModel model;
        std::vector<CBoundNode*> nodes;
        for (const auto& [x, y] : c.points)
            nodes.push_back(model.Node(x, y));
        nodes[c.node]->SetAngle(0.3, 0); // replaced by the new condition
        CObList list;
        for (std::size_t i = 0; i + 1 < nodes.size(); ++i)
            list.AddTail(model.Edge(nodes[i], nodes[i + 1]));
        CPrPageBC page;
        page.m_iElemType = 81;
        page.m_pEdgeList = &list;
        RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
            d.Click(16143);
            d.Click(kFixed);
            d.Click(1197);
            d.PressOK();
        });
        for (POSITION pos = list.GetHeadPosition(); pos;)
            EXPECT_EQ(static_cast<CBoundary*>(list.GetNext(pos))->GetBC(0)->GetBCType(), 2u);
        CBoundCond* bc = nodes[c.node]->GetBC(0);
        ASSERT_NE(bc, nullptr);
        EXPECT_EQ(bc->GetBCType(), 2u);
        EXPECT_NEAR(nodes[c.node]->GetAngle(0), c.angle, 1e-12) << c.node;
    }
}

TEST_F(BCPage, EdgeListUserRowsReachEdgesAndNodes)
{
    SmallModel model;
    CBoundNode* a = model.Node(0, 0);
    CBoundNode* b = model.Node(10, 0);
    CObList list;
    list.AddTail(model.Edge(a, b));
    CPrPageBC page;
    page.m_iElemType = 31;
    page.m_pEdgeList = &list;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        d.Click(16143);
        d.Click(kUser);
        d.Click(kCheck[1]);
        d.Type(kEdit[1], "0.25");
        d.Click(1197);
        d.PressOK();
    });
    const std::vector<double> expected = {1, 0.25};
    EXPECT_EQ(DofVector(static_cast<CBoundary*>(list.GetHead())->GetBC(0)), expected);
    EXPECT_EQ(DofVector(a->GetBC(0)), expected);
    EXPECT_EQ(DofVector(b->GetBC(0)), expected);
}

TEST_F(BCPage, EdgeEndsThatArePlainNodesBecomeBoundaryNodes)
{
    SmallModel model;
    CSNode* a = model.PlainNode(0, 0);
    CSNode* b = model.PlainNode(10, 0);
    const DWORD idA = a->GetID(), idB = b->GetID();
    CBoundary* edge = model.Edge(a, b);
    model.nodes.clear(); // the edge's nodes are collected again below
    CPrPageBC page;
    page.m_iElemType = 81;
    page.m_pEdge = edge;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        d.Click(kFixed);
        d.Click(1197);
        d.Click(1198);
        d.PressOK();
    });
    model.nodes = {edge->GetNode1(), edge->GetNode2()};
    for (CSNode* node : model.nodes) {
        ASSERT_TRUE(node->IsKindOf(RUNTIME_CLASS(CBoundNode)));
        ASSERT_NE(node->GetBC(0), nullptr);
        EXPECT_EQ(node->GetBC(0)->GetBCType(), 2u);
    }
    EXPECT_EQ(edge->GetNode1()->GetID(), idA);
    EXPECT_EQ(edge->GetNode2()->GetID(), idB);
}

TEST_F(BCPage, NodeListChangesOnlyAnglesWithoutChange)
{
    SmallModel model;
    CObList list;
    for (int i = 0; i < 2; ++i) {
        CBoundNode* node = model.Node(i, 0);
        node->SetStandBC(2, 0);
        list.AddTail(node);
    }
    CPrPageBC page;
    page.m_iElemType = 81;
    page.m_pNodeList = &list;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Check(kFree) + d.Check(kFixed), 0); // no choice preselected
        d.Click(7129);
        d.Type(16238, "30");
        d.PressOK();
    });
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* node = static_cast<CBoundNode*>(list.GetNext(pos));
        EXPECT_EQ(node->GetBC(0)->GetBCType(), 2u);
        EXPECT_NEAR(node->GetAngle(0), 30 / 57.29577951308232, 1e-12);
    }
}

// The length of an edge is shown in the length unit and cannot be typed
// into: the field is read only, and OK takes nothing back from it.
TEST_F(BCPage, EdgeLengthIsShownReadOnly)
{
    SmallModel model;
    CBoundary* edge = model.Edge(model.Node(0, 0), model.Node(3, 4));
    CPrPageBC page;
    page.m_iElemType = 31;
    page.m_pEdge = edge;
    const INT_PTR result = RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(16239), "5");
        EXPECT_TRUE(d.ReadOnly(16239));
        d.Click(kFixed);
        d.PressOK();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(page.m_dLength, 5.0);
}

// A prescribed value has the finite range of every physical field; the
// refusal names the row by its label.
TEST_F(BCPage, UserValuesHaveAFiniteRangeNamedByTheirRow)
{
    SmallModel model;
    CBoundNode* node = model.Node(0, 0);
    CPrPageBC page;
    page.m_iElemType = 31;
    page.m_pNode = node;
    const INT_PTR result = RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        d.Click(kUser);
        d.Click(kCheck[1]);
        const CString unit = d.Text(CPrPageBC::kRows[1].unit);
        d.Type(kEdit[1], "1e300");
        Boxes().Expect(AfxFormat("u = 1e+300 %s is out of range.\nEnter a value between -1e+15 %s and 1e+15 %s.",
                                 unit.GetString(), unit.GetString(), unit.GetString()));
        d.PressOK();
        d.Type(kEdit[1], "?");
        Boxes().Expect("Please enter a number for u.");
        d.PressOK();
        d.PressCancel();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(node->GetBC(0), nullptr);
}

TEST_F(BCPage, AngleOutsideItsRangeKeepsThePageOpen)
{
    SmallModel model;
    CBoundNode* node = model.Node(0, 0);
    CPrPageBC page;
    page.m_iElemType = 81;
    page.m_pNode = node;
    const INT_PTR result = RunPages({&page}, [&](DialogDriver& d, ModalScript& script) {
        script.MessageBox("Please enter a number between -360 and 360.");
        d.Type(16238, "400");
        d.PressOK();
        d.Type(16238, "-360");
        d.PressOK();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_NEAR(node->GetAngle(0), -2 * kPi, 1e-12);
}

} // namespace

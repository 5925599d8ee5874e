// The edge-load page and the node geometry and load page.
#include "platform/dimvor/units.h"
#include "tests/shell/pages_fixture.h"

namespace
{

using namespace shelltest;

// Edits in the order T1 N1 T2 N2 T3 N3.
constexpr int kLoadEdits[] = {1151, 1154, 1152, 1155, 1153, 1156};

void SetEdgeLoad(CBoundary& edge, std::vector<double> values, bool local)
{
    auto* load = new CEdgeLoad;
    load->Allocate(6, true, 0.0);
    for (int i = 0; i < 6; ++i)
        load->SetValue(i, values[static_cast<std::size_t>(i)]);
    load->SetLocal(local);
    edge.SetLoad(load);
}

std::vector<double> EdgeLoadValues(CBoundary& edge)
{
    std::vector<double> out;
    if (CLoad* load = edge.GetLoad())
        for (int i = 0; i < load->GetSize(); ++i)
            out.push_back(load->GetValue(i));
    return out;
}

using EdgeLoadPage = UnitsTest;

TEST_F(EdgeLoadPage, ShowsLoadsFromTheLowerEndAndWritesThemBack)
{
    struct Case {
        std::pair<double, double> from, to;
        bool local;
        std::vector<double> shown; // T1 N1 T2 N2 T3 N3
    } cases[] = {
        {{0, 10}, {0, 0}, true, {-3, -4, -5, -6, -1, -2}},
        {{0, 10}, {0, 0}, false, {3, 4, 5, 6, 1, 2}},
        {{10, 0}, {0, 0}, true, {-3, -4, -5, -6, -1, -2}},
        {{0, 0}, {0, 10}, true, {1, 2, 5, 6, 3, 4}},
    };
    for (const Case& c : cases) {
        SmallModel model;
        CBoundary* edge = model.Edge(model.Node(c.from.first, c.from.second),
                                     model.Node(c.to.first, c.to.second));
        SetEdgeLoad(*edge, {1, 2, 3, 4, 5, 6}, c.local);
        CPPEdgeLoad page;
        page.m_pEdge = edge;
        page.m_iElemType = 31;
        RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
            for (int i = 0; i < 6; ++i)
                EXPECT_NEAR(Number(d.Text(kLoadEdits[i])),
                            c.shown[static_cast<std::size_t>(i)] * page.m_dLoadFactor, 1e-9)
                    << i;
            EXPECT_EQ(d.Check(c.local ? 1150 : 1149), 1);
            EXPECT_FALSE(d.Visible(16143));
            d.PressOK();
        });
        const std::vector<double> stored = EdgeLoadValues(*edge);
        ASSERT_EQ(stored.size(), 6u);
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(stored[static_cast<std::size_t>(i)], i + 1, 1e-9);
        EXPECT_EQ(edge->GetLoad()->IsLocal(), c.local);
    }
}

TEST_F(EdgeLoadPage, SixZerosDeleteTheLoad)
{
    SmallModel model;
    CBoundary* edge = model.Edge(model.Node(0, 0), model.Node(10, 0));
    SetEdgeLoad(*edge, {1, 2, 3, 4, 5, 6}, false);
    CPPEdgeLoad page;
    page.m_pEdge = edge;
    page.m_iElemType = 44;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        for (int nID : kLoadEdits)
            d.Type(nID, "0");
        d.PressOK();
    });
    EXPECT_EQ(edge->GetLoad(), nullptr);
}

// Loads and coordinates have a finite range: a refusal names the field,
// the value and the range in the unit the page shows, a text that is no
// number names its field, the page stays open and the model keeps its
// values.
TEST_F(EdgeLoadPage, LoadsAndCoordinatesRefuseNamingTheField)
{
    SmallModel model;
    CBoundNode* node = model.Node(2, 3);
    SetNodeLoad(*node, {5.0, 6.0});
    CBoundary* edge = model.Edge(model.Node(0, 0), model.Node(10, 0));
    SetEdgeLoad(*edge, {1, 2, 3, 4, 5, 6}, false);
    struct Case {
        bool edgePage;
        int nID, unitID;
        const char* field;
        const char* text;
        const char* shown; // null: not a number
    } cases[] = {
        {true, 1151, 1172, "T1", "1e300", "1e+300"},
        {true, 1155, 16111, "N2", "-1e16", "-1e+16"},
        {true, 1153, 1174, "T3", "2,5", nullptr},
        {false, 549, 511, "Node load X", "1e300", "1e+300"},
        {false, 550, 512, "Node load Y", "x", nullptr},
        {false, 379, 508, "X-coord", "-2e15", "-2e+15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        CPPEdgeLoad edgePage;
        edgePage.m_pEdge = edge;
        edgePage.m_iElemType = 44;
        CPrPageBNodeGeom nodePage;
        nodePage.m_pNode = node;
        nodePage.m_iLoadMode = CPrPageBNodeGeom::loadTwo;
        CPropertyPage* page = c.edgePage ? static_cast<CPropertyPage*>(&edgePage) : &nodePage;
        const INT_PTR result = RunPages({page}, [&](DialogDriver& d, ModalScript&) {
            const CString unit = d.Text(c.unitID);
            EXPECT_FALSE(unit.IsEmpty());
            d.Type(c.nID, c.text);
            if (c.shown)
                Boxes().Expect(AfxFormat("%s = %s %s is out of range.\nEnter a value between -1e+15 %s and 1e+15 %s.",
                                         c.field, c.shown, unit.GetString(), unit.GetString(), unit.GetString()));
            else
                Boxes().Expect(AfxFormat("Please enter a number for %s.", c.field));
            d.PressOK();
            d.PressCancel();
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(EdgeLoadValues(*edge), (std::vector<double>{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(node->GetLoad()->GetValue(0), 5.0);
        EXPECT_EQ(node->x, 2.0);
    }
}

TEST_F(EdgeLoadPage, PlateCodesTakeOnlyTransverseLocalLoads)
{
    SmallModel model;
    CBoundary* edge = model.Edge(model.Node(0, 0), model.Node(10, 0));
    SetEdgeLoad(*edge, {0, 2, 0, 2, 0, 2}, false);
    CPPEdgeLoad page;
    page.m_pEdge = edge;
    page.m_iElemType = 81;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        for (int nID : {1151, 1152, 1153, 1149, 1150})
            EXPECT_FALSE(d.Enabled(nID)) << nID;
        for (int nID : {1154, 1155, 1156})
            EXPECT_TRUE(d.Enabled(nID)) << nID;
        EXPECT_EQ(page.m_pEdge->GetLoad()->IsLocal(), false);
        d.Type(1155, "0");
        d.PressOK();
    });
    EXPECT_TRUE(edge->GetLoad()->IsLocal());
    EXPECT_EQ(EdgeLoadValues(*edge), (std::vector<double>{0, 2, 0, 2, 0, 0}));
}

TEST_F(EdgeLoadPage, AListChangesOnlyWithChangeTicked)
{
    SmallModel model;
    CBoundNode* a = model.Node(0, 0);
    CBoundNode* b = model.Node(10, 0);
    CBoundNode* c = model.Node(10, 10);
    CObList list;
    list.AddTail(model.Edge(a, b));
    list.AddTail(model.Edge(c, b)); // runs downwards: reversed
    SetEdgeLoad(*static_cast<CBoundary*>(list.GetHead()), {1, 1, 1, 1, 1, 1}, true);
    for (bool change : {false, true}) {
        CPPEdgeLoad page;
        page.m_pEdgeList = &list;
        page.m_iElemType = 31;
        RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
            EXPECT_FALSE(d.Enabled(1154));
            if (change)
                d.Click(16143);
            if (change) {
                d.Type(1151, "7");
                d.Click(1150);
            }
            d.PressOK();
        });
        auto* first = static_cast<CBoundary*>(list.GetHead());
        auto* second = static_cast<CBoundary*>(list.GetTail());
        if (!change) {
            EXPECT_EQ(EdgeLoadValues(*first), (std::vector<double>(6, 1.0)));
            EXPECT_EQ(second->GetLoad(), nullptr);
        } else {
            EXPECT_NEAR(EdgeLoadValues(*first)[0], 7 / page.m_dLoadFactor, 1e-9);
            // The reversed edge stores point 1 at its second node, negated.
            EXPECT_NEAR(EdgeLoadValues(*second)[2], -7 / page.m_dLoadFactor, 1e-9);
        }
    }
}

// ---- node geometry

using NodeGeometryPage = UnitsTest;

TEST_F(NodeGeometryPage, ZeroLoadsRemoveALoadAndCreateNone)
{
    SmallModel model;
    CBoundNode* loaded = model.Node(0, 0);
    SetNodeLoad(*loaded, {5.0, 6.0});
    CBoundNode* bare = model.Node(1, 0);
    for (CBoundNode* node : {loaded, bare}) {
        CPrPageBNodeGeom page;
        page.m_pNode = node;
        page.m_iLoadMode = CPrPageBNodeGeom::loadTwo;
        RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
            d.Type(549, "0");
            d.Type(550, "0");
            d.PressOK();
        });
        EXPECT_EQ(node->GetLoad(), nullptr);
        EXPECT_EQ(page.m_bChanged, node == loaded);
    }
}

TEST_F(NodeGeometryPage, LocalAxesAloneRewritesTheFlag)
{
    SmallModel model;
    CBoundNode* node = model.Node(0, 0);
    SetNodeLoad(*node, {5.0, 6.0});
    CPrPageBNodeGeom page;
    page.m_pNode = node;
    page.m_iLoadMode = CPrPageBNodeGeom::loadTwo;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(513), "X");
        d.Click(1150);
        d.PressOK();
    });
    ASSERT_NE(node->GetLoad(), nullptr);
    EXPECT_TRUE(node->GetLoad()->IsLocal());
    EXPECT_DOUBLE_EQ(node->GetLoad()->GetValue(0), 5.0);
    EXPECT_DOUBLE_EQ(node->GetLoad()->GetValue(1), 6.0);
}

TEST_F(NodeGeometryPage, AOneValueLoadKeepsASecondValueTyped)
{
    SmallModel model;
    CBoundNode* node = model.Node(0, 0);
    SetNodeLoad(*node, {5.0});
    CPrPageBNodeGeom page;
    page.m_pNode = node;
    page.m_iLoadMode = CPrPageBNodeGeom::loadTwo;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        d.Type(550, "3");
        d.PressOK();
    });
    ASSERT_EQ(node->GetLoad()->GetSize(), 2);
    EXPECT_DOUBLE_EQ(node->GetLoad()->GetValue(0), 5.0);
    EXPECT_DOUBLE_EQ(node->GetLoad()->GetValue(1), 3.0 / page.m_dForceFactor);
}

TEST_F(NodeGeometryPage, ShowsIdentifierRegionsAndSpacingModes)
{
    SmallModel model;
    CBoundNode* node = model.Node(2, 3);
    node->SetSNodSpace(7.0, true);
    struct Case {
        int mode;
        bool spacingEnabled, disconnectEnabled;
        double spacing;
    } cases[] = {{0, true, true, 7.0}, {1, false, true, 7.0}, {2, false, false, 0.0}};
    for (const Case& c : cases) {
        CPrPageBNodeGeom page;
        page.m_pNode = node;
        page.m_iSpacingMode = c.mode;
        RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
            CString id;
            id.Format("%lu", static_cast<unsigned long>(node->GetID()));
            EXPECT_EQ(d.Text(16003), id);
            EXPECT_EQ(d.Text(16035), "0");
            EXPECT_EQ(d.Enabled(367), c.spacingEnabled) << c.mode;
            EXPECT_EQ(d.Enabled(529), c.disconnectEnabled) << c.mode;
            EXPECT_NEAR(Number(d.Text(367)), c.spacing * page.m_dLenFactor, 1e-9) << c.mode;
            EXPECT_FALSE(d.Visible(550)); // one component by default
            EXPECT_EQ(d.Text(513), "Z");
            d.PressCancel();
        });
    }
    CPrPageBNodeGeom offset;
    RunPages({&offset}, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(16176), "Offset");
        d.PressCancel();
    });
}

TEST_F(NodeGeometryPage, SpacingIsNeverNegative)
{
    // A negative spacing is refused with the field's message, focus on the
    // field and the node unchanged; 0 (no change) and a size are stored.
    SmallModel model;
    CBoundNode* node = model.Node(2, 3);
    node->SetSNodSpace(7.0, true);
    const CString unit = UnitString(iStandard, 3, iConv[iStandard][0][0]);
    const CString refusal = "Node-spacing (Mesh-control) = -1 " + unit +
                            " is out of range.\nEnter a value between 0 " + unit + " and 1e+15 " + unit + ".";
    struct Case {
        const char* text;
        bool refused;
    } cases[] = {{"-1", true}, {"0", false}, {"25", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        node->SetSNodSpace(7.0, true);
        CPrPageBNodeGeom page;
        page.m_pNode = node;
        const INT_PTR result = RunPages({&page}, [&](DialogDriver& d, ModalScript& script) {
            d.Type(367, c.text);
            if (!c.refused) {
                d.PressOK();
                return;
            }
            script.MessageBox(refusal.GetString());
            d.PressOK();
            EXPECT_FALSE(static_cast<CPropertySheet*>(page.GetParent())->IsEnded());
            EXPECT_EQ(CWnd::GetFocus(), page.GetDlgItem(367));
            d.PressCancel();
        });
        EXPECT_EQ(result, c.refused ? IDCANCEL : IDOK);
        EXPECT_DOUBLE_EQ(node->GetSNodSpace(),
                         c.refused ? 7.0 : Number(c.text) / page.m_dLenFactor);
    }
}

TEST_F(NodeGeometryPage, TheScratchNodeTakesNoIdentifier)
{
    const DWORD before = CSNode::lIDnode;
    {
        CPrPageBNodeGeom page;
        EXPECT_EQ(CSNode::lIDnode, before);
    }
    EXPECT_EQ(CSNode::lIDnode, before);
}

TEST_F(NodeGeometryPage, AMoveThatCrossesAnEdgeIsUndone)
{
    CBrantelDoc doc;
    doc.UpdateStatics(true);
    CSectPlate* left = AddSquare(doc, 0.0, 0.0, 100.0);
    AddSquare(doc, 200.0, 0.0, 100.0);
    CSNode* corner = Corners(*left)[1]; // (100, 0)
    ASSERT_TRUE(corner->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    auto* node = static_cast<CBoundNode*>(corner);
    const double spacing = node->GetSNodSpace();
    CPrPageBNodeGeom page;
    page.m_pNode = node;
    page.m_pComp = doc.GetPlateComp();
    const INT_PTR result = RunPages({&page}, [&](DialogDriver& d, ModalScript& script) {
        script.MessageBox("Edges cannot intersect");
        d.Type(379, "350");
        d.Type(549, "9");
        d.Type(367, "4");
        d.PressOK();
        EXPECT_NEAR(Number(d.Text(379)), 100 * page.m_dLenFactor, 1e-9); // open, restored
        d.PressCancel();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_DOUBLE_EQ(node->x, 100.0);
    EXPECT_DOUBLE_EQ(node->y, 0.0);
    EXPECT_EQ(node->GetLoad(), nullptr);
    EXPECT_EQ(node->GetSNodSpace(), spacing);
    doc.UpdateStatics(false);
}

} // namespace

// The element view in the real program: a plate document opened through
// the start wizard, a square region meshed, the child frame switched to the
// element mode and the view hosted on an OSMesa surface, driven with clicks
// in pixels (real picking). Selection by click and rectangle, Delete, the
// dialogs of a double click and of EditObject, selection by identifier, the
// context menus and the element commands.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "app/shell/brantelmodview.h"
#include "app/shell/elemmodview.h"
#include "femodel/strelna.h"
#include "framework/geomhlpr.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/shell/modview_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using Helper = KorBasisGeomHlpr;

// A plate document of the running program with a 50 x 50 region meshed,
// its element view on a 400 x 300 surface at five pixels a model unit with
// the model point (25, 25) at the centre (pixel x = 75 + 5 X, y = 275 - 5 Y).
class ElemView : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        filter = Kor2DModView::m_uiSelectFilter;
        ASSERT_TRUE(Start());
        main = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        ASSERT_NE(main, nullptr);
        child = dynamic_cast<CChildFrame*>(main->MDIGetActive());
        ASSERT_NE(child, nullptr);
        doc = dynamic_cast<CBrantelDoc*>(child->GetActiveDocument());
        ASSERT_NE(doc, nullptr);
        AddSquare(*doc, 0.0, 0.0, 50.0);
        CStringArray log, errors;
        ASSERT_TRUE(doc->GetPlateComp()->PreCalc(&log, &errors, 0));
        main->SwitchViewMode(ID_MODE_ELEMENTS);
        view = dynamic_cast<CElemModView*>(child->GetActiveView());
        ASSERT_NE(view, nullptr);
        if (Driven())
            driver = DriveModelView(*view, -25.0, -25.0, 10.0);
        else
            FrameModelView(*view, -25.0, -25.0, 10.0);
        view->m_iTool = VIEWTOOL_POINT;
        Kor2DModView::m_uiSelectFilter = 7;
    }
    void TearDown() override
    {
        driver.reset();
        Kor2DModView::m_uiSelectFilter = filter;
        AppTest::TearDown();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
    }
    // The pixel of a model point at the view's centre and scale.
    CPoint Pixel(double x, double y) const
    {
        const double s = view->m_dScale / 2.0;
        return CPoint(static_cast<int>(std::lround(200 + (x + view->m_dCentX) * s)),
                      static_cast<int>(std::lround(150 - (y + view->m_dCentY) * s)));
    }
    // Fifteen pixels a model unit around the model point (25, 25).
    void ZoomIn() { view->m_dScale = 30.0; }
    void Drag(CPoint from, CPoint to, UINT flags = 0)
    {
        driver->Down(from.x, from.y, flags);
        driver->Move(to.x, to.y, flags);
        driver->Up(to.x, to.y, flags);
    }
    void Click(CPoint at, UINT flags = 0) { Drag(at, at, flags); }
    std::vector<CElement*> Elements()
    {
        std::vector<CElement*> all;
        doc->GetPlateComp()->ForEachMeshElement([&all](CElement* e) { all.push_back(e); });
        return all;
    }
    std::vector<CObject*> Selected(UINT type)
    {
        std::vector<CObject*> out;
        if (CObList* list = view->m_pGeomHlpr->GetSelList(static_cast<int>(type)))
            for (POSITION pos = list->GetHeadPosition(); pos;)
                out.push_back(list->GetNext(pos));
        return out;
    }
    CPoint Centre(CElement& e) const
    {
        double x = 0.0, y = 0.0;
        e.GetCentroid(x, y);
        return Pixel(x, y);
    }
    // The mesh node nearest to (x, y).
    CSNode* NodeNear(double x, double y)
    {
        CSNode* best = nullptr;
        double distance = 1e300;
        for (CElement* e : Elements())
            for (POSITION pos = e->GetHeadPosition(); pos;) {
                CSNode* node = e->GetNextNode(pos);
                const double d = std::hypot(node->x - x, node->y - y);
                if (d < distance) {
                    distance = d;
                    best = node;
                }
            }
        return best;
    }
    static int GraphCount(CSNode* node)
    {
        return node->GetGraphList() ? static_cast<int>(node->GetGraphList()->GetCount()) : 0;
    }
    void Send(UINT id) { view->SendMessage(WM_COMMAND, id); }
    // Whether the view is driven by the test's mouse on a surface of the
    // test (which then destroys it): a test that lets the frame replace
    // the view leaves it on the fixture's own surface.
    virtual bool Driven() const { return true; }

    UINT filter = 0;
    CMainFrame* main = nullptr;
    CChildFrame* child = nullptr;
    CBrantelDoc* doc = nullptr;
    CElemModView* view = nullptr;
    std::unique_ptr<ViewDriver> driver;
};

// Within 5 pixels of travel a release is a click at the midpoint: one
// element; from 6 pixels on it is a rectangle around the midpoint that
// reaches both elements beside the crossed edge.
TEST_F(ElemView, AReleaseWithinFivePixelsIsAClickAndFromSixARectangle)
{
    Kor2DModView::m_uiSelectFilter = Helper::kAreas;
    ZoomIn();
    // An inner edge near the centre: two nodes of an element that another
    // element shares.
    CSNode* a = NodeNear(25.0, 25.0);
    CSNode* b = nullptr;
    for (POSITION pos = a->GetGraphList()->GetHeadPosition(); pos && !b;) {
        auto* e = static_cast<CElement*>(a->GetGraphList()->GetNext(pos));
        for (POSITION np = e->GetHeadPosition(); np && !b;) {
            CSNode* n = e->GetNextNode(np);
            if (n != a && std::fabs(n->x - a->x) > 1e-9 && GraphCount(n) > 1)
                b = n;
        }
    }
    ASSERT_NE(b, nullptr);
    const bool vertical = std::fabs(a->x - b->x) < std::fabs(a->y - b->y);
    const CPoint mid = Pixel((a->x + b->x) / 2, (a->y + b->y) / 2);
    const struct {
        int travel;
        std::size_t selected;
    } cases[] = {{5, 1}, {6, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.travel);
        // Across the edge, the midpoint of press and release just beside it.
        const CPoint from = vertical ? CPoint(mid.x - 3, mid.y) : CPoint(mid.x, mid.y - 3);
        const CPoint to = vertical ? CPoint(from.x + c.travel, mid.y) : CPoint(mid.x, from.y + c.travel);
        Drag(from, to);
        EXPECT_EQ(Selected(Helper::kAreas).size(), c.selected);
        EXPECT_FALSE(view->IsPressHeld());
    }
}

TEST_F(ElemView, AClickPicksTheKindAlreadySelectedAndShiftAdds)
{
    ZoomIn();
    CSNode* corner = NodeNear(25.0, 25.0);
    auto* element = static_cast<CElement*>(corner->GetGraphList()->GetHead());
    auto* other = static_cast<CElement*>(corner->GetGraphList()->GetTail());
    ASSERT_NE(element, other);
    // Nothing selected, the filter all: the node first.
    Click(Pixel(corner->x, corner->y));
    ASSERT_EQ(Selected(Helper::kNodes), std::vector<CObject*>{corner});
    // With a node selected a Shift click in an element (no node within
    // the tolerance) adds nothing.
    const CPoint centre = Centre(*element);
    for (POSITION pos = element->GetHeadPosition(); pos;) {
        CSNode* node = element->GetNextNode(pos);
        ASSERT_GT(std::hypot(Pixel(node->x, node->y).x - centre.x, Pixel(node->x, node->y).y - centre.y), 10.5)
            << "the mesh is too fine for this view";
    }
    Click(centre, MK_SHIFT);
    EXPECT_EQ(Selected(Helper::kNodes).size(), 1u);
    EXPECT_TRUE(Selected(Helper::kAreas).empty());
    // Without Shift the selection starts again: now the element.
    Click(centre);
    EXPECT_TRUE(Selected(Helper::kNodes).empty());
    ASSERT_EQ(Selected(Helper::kAreas), std::vector<CObject*>{element});
    // Shift adds another element.
    Click(Centre(*other), MK_SHIFT);
    EXPECT_EQ(Selected(Helper::kAreas).size(), 2u);
}

TEST_F(ElemView, ARectangleSelectsNodesBeforeElementsAndEveryElementWhateverTheBuffer)
{
    const std::size_t all = Elements().size();
    // Filter all: nodes and elements are inside, only the nodes count.
    Drag(Pixel(-5, 55), Pixel(55, -5));
    const std::vector<CObject*> nodes = Selected(Helper::kNodes);
    EXPECT_GT(nodes.size(), all / 2);
    EXPECT_TRUE(Selected(Helper::kAreas).empty());
    for (CObject* ob : nodes)
        EXPECT_TRUE(ob->IsKindOf(RUNTIME_CLASS(CSNode)));
    // Elements only, through a selection buffer of room for four objects,
    // from a press at column 0 over the whole view.
    Kor2DModView::m_uiSelectFilter = Helper::kAreas;
    COGLRenderer::iSelBufSize = 16;
    Drag(CPoint(0, 0), CPoint(399, 299));
    EXPECT_EQ(Selected(Helper::kAreas).size(), all);
    EXPECT_EQ(COGLRenderer::iSelBufSize, 16u) << "the setting stays as it was";
    // A rectangle over the left half only.
    Drag(Pixel(-5, 55), Pixel(24, -5));
    const std::size_t left = Selected(Helper::kAreas).size();
    EXPECT_GT(left, 0u);
    EXPECT_LT(left, all);
}

// The elements taken by Delete, each once: the selected ones, those
// around a selected node, those around both ends of selected edges.
TEST_F(ElemView, DeleteRemovesTheElementsAroundTheSelectionEachOnce)
{
    auto around = [](std::initializer_list<CSNode*> nodes) {
        std::set<CObject*> graphs;
        for (CSNode* n : nodes)
            for (POSITION pos = n->GetGraphList()->GetHeadPosition(); pos;)
                graphs.insert(n->GetGraphList()->GetNext(pos));
        return graphs.size();
    };
    // A neighbour of the node through its first element.
    auto neighbour = [](CSNode* node, int k) {
        auto* e = static_cast<CElement*>(node->GetGraphList()->GetHead());
        std::vector<CSNode*> others;
        for (POSITION pos = e->GetHeadPosition(); pos;)
            if (CSNode* n = e->GetNextNode(pos); n != node)
                others.push_back(n);
        return others[static_cast<std::size_t>(k)];
    };
    struct Case {
        const char* what;
        std::function<std::size_t()> select; // the number of elements to go
        bool key;
    };
    const Case cases[] = {
        {"two elements, the Delete key",
         [&] {
             const std::vector<CElement*> e = Elements();
             view->AddSelect(e[0], Helper::kAreas, false);
             view->AddSelect(e[1], Helper::kAreas, false);
             return std::size_t{2};
         },
         true},
        {"a node",
         [&] {
             CSNode* c = NodeNear(25.0, 25.0);
             view->AddSelect(c, Helper::kNodes, false);
             return around({c});
         },
         false},
        {"two edges sharing a node",
         [&] {
             CSNode* c = NodeNear(25.0, 25.0);
             CSNode* n0 = neighbour(c, 0);
             CSNode* n1 = neighbour(c, 1);
             // Edges of the mesh: their nodes own them.
             view->AddSelect(new CBoundary(c, n0), Helper::kEdges, false);
             view->AddSelect(new CBoundary(c, n1), Helper::kEdges, false);
             return around({c, n0, n1});
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStringArray log, errors;
        ASSERT_TRUE(doc->GetPlateComp()->PreCalc(&log, &errors, 0));
        const std::size_t before = Elements().size();
        const std::size_t expected = c.select();
        ASSERT_GT(expected, 1u);
        if (c.key)
            driver->Key(VK_DELETE);
        else
            Send(ID_DELETE_SELECTION);
        EXPECT_EQ(before - Elements().size(), expected);
        for (UINT type : {Helper::kAreas, Helper::kNodes, Helper::kEdges})
            EXPECT_TRUE(Selected(type).empty()) << type;
        driver->Draw(); // the list is compiled again from what is left
    }
}

// Mesh nodes are numbered apart from the region's nodes, so a number may
// name both: the element view always means the mesh's node. Deleting
// around such a node takes its elements and never the region.
TEST_F(ElemView, TheViewsNodesAreTheMeshsEvenWhereARegionNodeHasTheirNumber)
{
    CSectPlate* region = nullptr;
    for (POSITION pos = doc->GetPlateComp()->GetHeadPosition(); pos;)
        region = dynamic_cast<CSectPlate*>(doc->GetPlateComp()->GetNext(pos));
    ASSERT_NE(region, nullptr);
    // A mesh node whose number a region corner carries too.
    CSNode* mesh = nullptr;
    for (CSNode* corner : Corners(*region))
        for (CElement* e : Elements())
            for (POSITION pos = e->GetHeadPosition(); pos && !mesh;)
                if (CSNode* n = e->GetNextNode(pos); n->GetID() == corner->GetID())
                    mesh = n;
    ASSERT_NE(mesh, nullptr) << "no shared number in this mesh";
    const int regions = doc->GetPlateComp()->GetCount();
    const std::size_t before = Elements().size();
    const int around = GraphCount(mesh);

    Kor2DModView::m_uiSelectFilter = Helper::kNodes;
    ZoomIn();
    view->m_dCentX = -mesh->x;
    view->m_dCentY = -mesh->y;
    Click(Pixel(mesh->x, mesh->y));
    EXPECT_EQ(Selected(Helper::kNodes), std::vector<CObject*>{mesh});
    view->m_pGeomHlpr->RemoveSelected(nullptr);
    view->SelectByIdentifiers({static_cast<long>(mesh->GetID())}, Helper::kNodes);
    EXPECT_EQ(Selected(Helper::kNodes), std::vector<CObject*>{mesh});
    Send(ID_DELETE_SELECTION);
    EXPECT_EQ(doc->GetPlateComp()->GetCount(), regions);
    EXPECT_EQ(before - Elements().size(), static_cast<std::size_t>(around));
}

// A double click opens the dialog of what it selected: the element's
// properties, the node's sheet, the edge's sheet.
TEST_F(ElemView, ADoubleClickOpensTheDialogOfTheObject)
{
    CSNode* node = NodeNear(25.0, 25.0);
    CSNode* other = NodeNear(50.0, 50.0);
    auto* second = static_cast<CElement*>(other->GetGraphList()->GetHead());
    CSNode* end = second->GetNode(0) == other ? second->GetNode(1) : second->GetNode(0);
    auto* edge = new CBoundary(other, end); // owned by its nodes
    CElement* element = Elements()[Elements().size() / 2];
    struct Case {
        UINT filter;
        CPoint at;
        UINT dialog; // 0: a property sheet
        const char* caption;
    };
    const Case cases[] = {
        {Helper::kAreas, Centre(*element), CDlgElemProp::IDD, "Element properties"},
        {7, Pixel(node->x, node->y), 0, "Node information"},
        {Helper::kEdges, Pixel((other->x + end->x) / 2, (other->y + end->y) / 2), 0, "Edge information"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Kor2DModView::m_uiSelectFilter = c.filter;
        ModalScript script;
        const auto step = [&c](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Caption(), c.caption);
            if (c.dialog)
                d.PressOK(); // the properties are shown only
            else
                d.PressCancel();
        };
        if (c.dialog)
            script.Dialog(c.dialog, step);
        else
            script.Dialog(RUNTIME_CLASS(CPropertySheet), step);
        driver->DblClk(c.at.x, c.at.y);
        script.Verify();
    }
    EXPECT_EQ(Selected(Helper::kEdges), std::vector<CObject*>{edge});
}

// Several selected nodes are edited together as boundary nodes: each
// plain node is replaced in the mesh and in the selection first.
TEST_F(ElemView, EditingSeveralNodesConvertsThemAndEditsThemTogether)
{
    CSNode* a = NodeNear(25.0, 25.0);
    CSNode* b = NodeNear(10.0, 10.0);
    ASSERT_FALSE(a->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    const DWORD ids[] = {a->GetID(), b->GetID()};
    const double xs[] = {a->x, b->x};
    const int graphs = GraphCount(a);
    view->AddSelect(a, Helper::kNodes, false);
    view->AddSelect(b, Helper::kNodes, false);
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Node information");
        d.PressCancel();
    });
    Send(ID_EDIT_OBJECT);
    script.Verify();
    const std::vector<CObject*> held = Selected(Helper::kNodes);
    ASSERT_EQ(held.size(), 2u);
    for (CObject* ob : held) {
        ASSERT_TRUE(ob->IsKindOf(RUNTIME_CLASS(CBoundNode)));
        auto* node = static_cast<CSNode*>(ob);
        const std::size_t k = node->GetID() == ids[0] ? 0 : 1;
        EXPECT_EQ(node->GetID(), ids[k]);
        EXPECT_EQ(node->x, xs[k]);
    }
    CSNode* replaced = NodeNear(25.0, 25.0);
    EXPECT_TRUE(replaced->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    EXPECT_EQ(GraphCount(replaced), graphs);

    // One plain node opens its own sheet; the selection then holds its
    // replacement, which the view draws.
    view->m_pGeomHlpr->RemoveSelected(nullptr);
    CSNode* single = NodeNear(40.0, 10.0);
    ASSERT_FALSE(single->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    view->AddSelect(single, Helper::kNodes, false);
    ModalScript one;
    one.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Node information");
        d.PressCancel();
    });
    Send(ID_EDIT_OBJECT);
    one.Verify();
    EXPECT_EQ(Selected(Helper::kNodes), std::vector<CObject*>{NodeNear(40.0, 10.0)});
    EXPECT_TRUE(Selected(Helper::kNodes)[0]->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    driver->Draw();
}

TEST_F(ElemView, SelectObjectsAddsNodesAndElementsByIdentifier)
{
    constexpr int kNodesRadio = 16144, kElementsRadio = 16145, kIds = 16230;
    CSNode* node = NodeNear(25.0, 25.0);
    const std::vector<CElement*> elements = Elements();
    struct Case {
        int radio;
        CString typed;
        UINT type;
        std::vector<CObject*> selected;
    };
    const Case cases[] = {
        {kElementsRadio,
         AfxFormat("%lu 99999 %lu", elements[0]->GetID() - 4000000000ul, elements[2]->GetID() - 4000000000ul),
         Helper::kAreas, {elements[2], elements[0]}},
        {kNodesRadio, AfxFormat("%u", static_cast<unsigned>(node->GetID())), Helper::kNodes, {node}},
        {kNodesRadio, "99999", Helper::kNodes, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.GetString());
        view->m_pGeomHlpr->RemoveSelected(nullptr);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&c](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Text(kNodesRadio), "Nodes");
            EXPECT_EQ(d.Text(kElementsRadio), "Elements");
            EXPECT_FALSE(d.Visible(16153));
            d.Click(c.radio);
            d.Type(kIds, c.typed);
            d.PressOK();
        });
        Send(ID_SELECT_OBJECTS);
        script.Verify();
        EXPECT_EQ(Selected(c.type), c.selected);
    }
}

// The context menu follows the selection, at the cursor moved (-30, -10).
TEST_F(ElemView, TheContextMenuFollowsTheSelection)
{
    CSNode* node = NodeNear(25.0, 25.0);
    CElement* element = Elements().front();
    struct Case {
        std::function<void()> select;
        const char* first; // null: no menu
    };
    const Case cases[] = {
        {[&] { view->AddSelect(node, Helper::kNodes, false); }, "Edit"},
        {[&] { view->AddSelect(new CBoundary(node, NodeNear(50.0, 50.0)), Helper::kEdges, false); }, "Edit"},
        {[&] { view->AddSelect(element, Helper::kAreas, false); }, "Information"},
        {[] {}, nullptr},
    };
    std::size_t shown = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first ? c.first : "none");
        view->m_pGeomHlpr->RemoveSelected(nullptr);
        c.select();
        if (c.first)
            PopupMenus().Dismiss();
        driver->RightDown(120, 90);
        driver->RightUp(120, 90);
        if (!c.first) {
            EXPECT_EQ(PopupMenus().Menus().size(), shown);
            continue;
        }
        ASSERT_EQ(PopupMenus().Menus().size(), ++shown);
        const auto& menu = PopupMenus().Menus().back();
        CPoint screen(90, 80); // popups take screen points
        view->ClientToScreen(&screen);
        EXPECT_EQ(menu.point, screen);
        ASSERT_FALSE(menu.menu.empty());
        EXPECT_EQ(menu.menu[0].item.strText, c.first);
        EXPECT_EQ(menu.menu[0].item.nResourceID, ID_EDIT_OBJECT);
    }
    PopupMenus().Verify();
}

class ElemCommands : public ElemView
{
protected:
    bool Driven() const override { return false; }
};

TEST_F(ElemCommands, DeleteResultsTakesOnlyTheSelectedElementsResultsAndMTurnsToModelling)
{
    const std::vector<CElement*> elements = Elements();
    for (CElement* e : {elements[0], elements[1]})
        e->AllocateRes(3);
    view->AddSelect(elements[0], Helper::kAreas, false);
    Send(ID_DELETE_RESULTS);
    EXPECT_FALSE(elements[0]->HasResults());
    EXPECT_TRUE(elements[1]->HasResults());

    Send(ID_MODE_MODELLING);
    EXPECT_EQ(child->m_nViewID, ID_MODE_MODELLING);
    EXPECT_TRUE(child->GetActiveView()->IsKindOf(RUNTIME_CLASS(CBrantelModView)));
}

// Solid: the elements in the material colour inside their outlines;
// otherwise the outlines alone on the background.
TEST_F(ElemView, SolidFillsTheElementsAndOtherwiseOnlyTheirOutlinesShow)
{
    const CPoint centre = Centre(*Elements()[Elements().size() / 2]);
    const auto background = [this] { return driver->Pixel(395, 295); };
    view->m_bSolid = true;
    view->InvalidateList();
    driver->Draw();
    EXPECT_NE(driver->Pixel(centre.x, centre.y), background());
    view->m_bSolid = false;
    view->InvalidateList();
    driver->Draw();
    EXPECT_EQ(driver->Pixel(centre.x, centre.y), background());
}

} // namespace

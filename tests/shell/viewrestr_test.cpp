// The constrained-mesh view in the running program: a constrained plate
// document, its view hosted on an OSMesa surface and driven with clicks in
// pixels (real picking). Click against band, Ctrl keeping the selection,
// the band's preference for nodes, a press at the window's edge, the double
// click and the edit command.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/viewrestr.h"
#include "framework/geomhlpr.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/shell/modview_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

// A constrained plate document with the square (0, 0) - (50, 50), its view
// on a 400 x 300 surface with three pixels a model unit and the model point
// (40, 25) at the centre (pixel x = 80 + 3 X, y = 225 - 3 Y).
class RestrView : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        filter = Kor2DModView::m_uiSelectFilter;
        Kor2DModView::m_uiSelectFilter = 7;
        ASSERT_TRUE(Start());
        doc = dynamic_cast<CDocRestr*>(m_app->m_pTemplates[1]->OpenDocumentFile(nullptr));
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        view = dynamic_cast<CViewRestr*>(doc->GetNextView(pos));
        ASSERT_NE(view, nullptr);
        region = AddSquare(*doc, 0.0, 0.0, 50.0);
        corners = Corners(*region);
        driver = DriveModelView(*view, -40.0, -25.0, 6.0);
    }
    void TearDown() override
    {
        driver.reset();
        CBrantelView::ClearTmpSlots();
        Kor2DModView::m_uiSelectFilter = filter;
        AppTest::TearDown();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
    }
    static CPoint Pixel(double x, double y)
    {
        return CPoint(static_cast<int>(80 + 3 * x), static_cast<int>(225 - 3 * y));
    }
    // Press at the point, release dx pixels to the right of it.
    void Drag(CPoint at, int dx, int dy = 0, UINT flags = 0)
    {
        driver->Down(at.x, at.y, flags);
        driver->Move(at.x + dx, at.y + dy, flags);
        driver->Up(at.x + dx, at.y + dy, flags);
    }
    void Click(double x, double y, UINT flags = 0) { Drag(Pixel(x, y), 0, 0, flags); }
    std::vector<CObject*> Selected(UINT type)
    {
        std::vector<CObject*> out;
        if (CObList* list = view->m_pGeomHlpr->GetSelList(static_cast<int>(type)))
            for (POSITION p = list->GetHeadPosition(); p;)
                out.push_back(list->GetNext(p));
        return out;
    }
    CEdge* Edge(int i, int j) { return CGraph::GetComEdge(corners[i], corners[j]); }

    UINT filter = 0;
    CDocRestr* doc = nullptr;
    CViewRestr* view = nullptr;
    CSectPlate* region = nullptr;
    std::vector<CSNode*> corners; // (0, 0), (50, 0), (50, 50), (0, 50)
    std::unique_ptr<ViewDriver> driver;
};

TEST_F(RestrView, AReleaseWithinFivePixelsIsAClickAndAtSixABand)
{
    // Four pixels inside the bottom edge: a click reaches the edge (its
    // pick box is 10 pixels wide), a flat band there holds only the region.
    const CPoint near(Pixel(25, 0).x, Pixel(25, 0).y - 4);
    const struct {
        int dx;
        UINT type;
        CObject* object;
    } cases[] = {{5, KorBasisGeomHlpr::kEdges, Edge(0, 1)}, {6, KorBasisGeomHlpr::kAreas, region}};
    for (const auto& c : cases) {
        Drag(near, c.dx);
        EXPECT_EQ(Selected(c.type), std::vector<CObject*>{c.object}) << c.dx;
        const UINT other = c.type == KorBasisGeomHlpr::kEdges ? KorBasisGeomHlpr::kAreas
                                                              : KorBasisGeomHlpr::kEdges;
        EXPECT_TRUE(Selected(other).empty()) << c.dx;
    }
}

TEST_F(RestrView, CtrlNotShiftKeepsTheSelection)
{
    Click(0, 0);
    EXPECT_EQ(Selected(KorBasisGeomHlpr::kNodes), std::vector<CObject*>{corners[0]});
    Click(50, 0, MK_SHIFT);
    EXPECT_EQ(Selected(KorBasisGeomHlpr::kNodes), std::vector<CObject*>{corners[1]});
    Click(50, 50, MK_CONTROL);
    std::vector<CObject*> kept = Selected(KorBasisGeomHlpr::kNodes);
    std::sort(kept.begin(), kept.end());
    std::vector<CObject*> both = {corners[1], corners[2]};
    std::sort(both.begin(), both.end());
    EXPECT_EQ(kept, both);
    // With nodes held a click picks only nodes: the region's middle adds nothing.
    Click(25, 25, MK_CONTROL);
    EXPECT_EQ(Selected(KorBasisGeomHlpr::kNodes).size(), 2u);
    EXPECT_TRUE(Selected(KorBasisGeomHlpr::kAreas).empty());
}

TEST_F(RestrView, ABandOverNodesEdgesAndTheRegionSelectsOnlyTheNodes)
{
    // The whole square.
    Drag(Pixel(-5, -5), 180, -180);
    EXPECT_EQ(Selected(KorBasisGeomHlpr::kNodes).size(), 4u);
    EXPECT_TRUE(Selected(KorBasisGeomHlpr::kEdges).empty());
    EXPECT_TRUE(Selected(KorBasisGeomHlpr::kAreas).empty());
    // With nodes kept (Ctrl) and the filter "all", a band over the bottom
    // edge's middle only looks for nodes: nothing is added.
    Drag(Pixel(20, 5), 30, 30, MK_CONTROL);
    EXPECT_EQ(Selected(KorBasisGeomHlpr::kNodes).size(), 4u);
    EXPECT_TRUE(Selected(KorBasisGeomHlpr::kEdges).empty());
}

TEST_F(RestrView, APressAtTheWindowsCornerSelects)
{
    // The corner (0, 0) at pixel (0, 0).
    view->m_dCentX = -200.0 / 3.0;
    view->m_dCentY = 50.0;
    driver->Down(0, 0);
    driver->Up(0, 0);
    EXPECT_EQ(Selected(KorBasisGeomHlpr::kNodes), std::vector<CObject*>{corners[0]});
}

TEST_F(RestrView, DoubleClickAndEditOpenTheObjectsDialogs)
{
    const auto sheet = [](ModalScript& script, const char* caption) {
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [caption](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Caption(), caption);
            d.PressCancel();
        });
    };
    {
        // A double click on a node: the document's node sheet.
        ModalScript script;
        sheet(script, "Node information");
        const CPoint p = Pixel(50, 0);
        driver->DblClk(p.x, p.y);
        script.Verify();
    }
    view->m_pGeomHlpr->RemoveSelected(nullptr);
    const struct {
        std::vector<std::pair<CObject*, UINT>> selection;
        const char* caption; // null: nothing opens
    } cases[] = {
        {{{corners[0], KorBasisGeomHlpr::kNodes}}, "Node information"},
        {{{corners[0], KorBasisGeomHlpr::kNodes}, {corners[1], KorBasisGeomHlpr::kNodes}}, nullptr},
        {{{Edge(0, 1), KorBasisGeomHlpr::kEdges}}, "Edge information"},
        {{{Edge(0, 1), KorBasisGeomHlpr::kEdges}, {Edge(1, 2), KorBasisGeomHlpr::kEdges}},
         "Edge information"},
    };
    for (const auto& c : cases) {
        view->m_pGeomHlpr->RemoveSelected(nullptr);
        for (const auto& [object, type] : c.selection)
            view->m_pGeomHlpr->AddSelect(object, type, false);
        ModalScript script;
        if (c.caption)
            sheet(script, c.caption);
        view->SendMessage(WM_COMMAND, ID_EDIT_OBJECT);
        script.Verify();
        EXPECT_EQ(script.Taken(), c.caption ? 1 : 0) << c.selection.size();
    }
}

TEST_F(RestrView, TheResultComponentComboIsDisabled)
{
    EXPECT_FALSE(QueryUI(*view, ID_RESULT_COMPONENT).enabled);
}

} // namespace

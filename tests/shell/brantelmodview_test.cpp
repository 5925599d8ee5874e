// The modelling view in the real program: a plate document opened through
// the start wizard, its view hosted on an OSMesa surface and driven with
// clicks in pixels (real picking). The Shift constraint shared by the model
// views, the pointer press, the command table and its update rules, the
// context menus, point input and the region tools.
#include <memory>
#include <string>
#include <vector>

#include "app/shell/brantelmodview.h"
#include "app/shell/elemmodview.h"
#include "app/shell/viewrestr.h"
#include "framework/geomhlpr.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/ui_lists.h"

namespace
{

using namespace shelltest;

TEST(ShiftConstraint, PullsThePointOntoTheNearestOfThreeLinesThroughTheReference)
{
    struct Case {
        double ref[2];
        double in[2];
        bool diagonal;
        double out[2];
    };
    const Case cases[] = {
        {{0, 0}, {10, 3}, false, {10, 0}},    // horizontal
        {{0, 0}, {3, 10}, false, {0, 10}},    // vertical
        {{0, 0}, {10, 8}, false, {10, 10}},   // 45 degrees, y follows |dx|
        {{0, 0}, {10, -8}, false, {10, -10}}, // 45 degrees downwards
        {{0, 0}, {-10, 8}, false, {-10, 10}},
        {{0, 0}, {10, 4}, false, {10, 0}},    // 10 < 2.5 * 4 fails: horizontal
        {{0, 0}, {4, 10}, false, {0, 10}},
        {{0, 0}, {10, 0}, false, {10, 0}},
        {{0, 0}, {0, 0}, false, {0, 0}},      // on the reference: stays
        {{0, 0}, {10, 3}, true, {10, 10}},    // the rectangle: always the diagonal
        {{0, 0}, {3, 10}, true, {3, 3}},
        {{0, 0}, {-10, -3}, true, {-10, -10}},
        {{2, 1}, {12, 4}, false, {12, 1}},    // relative to the reference
        {{2, 1}, {12, 10}, false, {12, 11}},
        {{2, 1}, {3, 20}, false, {2, 20}},
    };
    for (const Case& c : cases) {
        double x = c.in[0], y = c.in[1];
        ConstrainToReference(c.ref, x, y, c.diagonal);
        EXPECT_DOUBLE_EQ(x, c.out[0]) << c.in[0] << ", " << c.in[1] << " diagonal " << c.diagonal;
        EXPECT_DOUBLE_EQ(y, c.out[1]) << c.in[0] << ", " << c.in[1] << " diagonal " << c.diagonal;
    }
}

// A plate document of the running program, its modelling view on a 400 x
// 300 surface with three pixels a model unit and the model point (40, 25)
// at the centre (pixel x = 80 + 3 X, y = 225 - 3 Y).
class ModView : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        lastTool = Kor2DModView::m_uiLastGeomTool;
        filter = Kor2DModView::m_uiSelectFilter;
        ASSERT_TRUE(Start());
        main = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        ASSERT_NE(main, nullptr);
        child = dynamic_cast<CChildFrame*>(main->MDIGetActive());
        ASSERT_NE(child, nullptr);
        view = dynamic_cast<CBrantelModView*>(child->GetActiveView());
        ASSERT_NE(view, nullptr);
        doc = view->GetBrantelDoc();
        ASSERT_NE(doc, nullptr);
        driver = std::make_unique<ViewDriver>(*view, 400, 300);
        driver->Size(400, 300);
        // The view takes the driver's surface in place of the fixture's.
        static_cast<CView*>(view)->OnInitialUpdate();
        view->m_bShowGrid = false;
        view->m_bShowAxis = false;
        view->m_dCentX = -40.0;
        view->m_dCentY = -25.0;
        view->m_dScale = 6.0;
    }
    void TearDown() override
    {
        driver.reset();
        CBrantelView::ClearTmpSlots();
        CBrantelModView::FreeCopyLists();
        Kor2DModView::m_uiLastGeomTool = lastTool;
        Kor2DModView::m_uiSelectFilter = filter;
        AppTest::TearDown();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
    }
    static CPoint Pixel(double x, double y)
    {
        return CPoint(static_cast<int>(80 + 3 * x), static_cast<int>(225 - 3 * y));
    }
    void Click(double x, double y, UINT flags = 0)
    {
        const CPoint p = Pixel(x, y);
        driver->Down(p.x, p.y, flags);
        driver->Up(p.x, p.y, flags);
    }
    void Send(UINT id) { view->SendMessage(WM_COMMAND, id); }
    int Regions() { return doc->GetPlateComp()->GetCount(); }

    UINT lastTool = 0;
    UINT filter = 0;
    CMainFrame* main = nullptr;
    CChildFrame* child = nullptr;
    CBrantelModView* view = nullptr;
    CBrantelDoc* doc = nullptr;
    std::unique_ptr<ViewDriver> driver;
};

TEST_F(ModView, TheProgramsViewsAreTheModelViewsOnOpenGl)
{
    EXPECT_TRUE(view->m_bInitialized) << "the view got an OpenGL context";
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CBrantelView)));
    // The element and constrained-mesh views are model views too, with
    // the geometry input of their kind.
    CElemModView elements;
    CViewRestr constrained;
    EXPECT_NE(dynamic_cast<KorElmGeomHlpr*>(elements.m_pGeomHlpr), nullptr);
    EXPECT_NE(dynamic_cast<KorAreaGeomHlpr*>(constrained.m_pGeomHlpr), nullptr);
    EXPECT_NE(dynamic_cast<KorAreaGeomHlpr*>(view->m_pGeomHlpr), nullptr);
    for (KorBasisGeomHlpr* helper : {elements.m_pGeomHlpr, constrained.m_pGeomHlpr, view->m_pGeomHlpr})
        EXPECT_EQ(helper->m_pEdgeClass, RUNTIME_CLASS(CBoundary));
}

TEST_F(ModView, ShiftConstrainsClicksAndMovesOnlyWhileAToolMoveOrPasteWantsPoints)
{
    // Reference (10, 10); the cursor goes to (20, 13), which the
    // constraint pulls onto the horizontal line (20, 10).
    struct Case {
        UINT flags;
        UINT tool;
        UINT edit;
        double y;
    };
    const Case cases[] = {
        {0, kToolPolygon, 0, 13.0},
        {MK_SHIFT, 0, 0, 13.0},
        {MK_SHIFT, 0, kEditCopy, 13.0},
        {MK_SHIFT, kToolPolygon, 0, 10.0},
        {MK_SHIFT, 0, kEditMove, 10.0},
        {MK_SHIFT, 0, kEditPaste, 10.0},
        {MK_SHIFT, kToolRectangle, 0, 20.0}, // the diagonal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool * 100 + c.edit + c.flags * 10000);
        view->m_dRefPoint[0] = view->m_dRefPoint[1] = 10.0;
        view->m_uiGeomTool = c.tool;
        view->m_uiEditMode = c.edit;
        view->m_iTool = VIEWTOOL_NORMAL;
        double x = 20.0, y = 13.0;
        view->ApplyShiftConstraint(c.flags, x, y);
        EXPECT_DOUBLE_EQ(x, 20.0);
        EXPECT_DOUBLE_EQ(y, c.y);
        // The mouse move constrains the cursor by the same rule.
        const CPoint p = Pixel(20.0, 13.0);
        driver->Move(p.x + 1, p.y, c.flags);
        driver->Move(p.x, p.y, c.flags);
        EXPECT_NEAR(view->m_dCursY, c.y, 1e-9);
    }
    view->m_uiGeomTool = 0;
    view->m_uiEditMode = 0;
}

TEST_F(ModView, APressIsMarkedAtAnyColumnUntilItsRelease)
{
    ASSERT_EQ(view->m_iTool, VIEWTOOL_POINT);
    for (int column : {0, 1, 200}) {
        SCOPED_TRACE(column);
        driver->Down(column, 150);
        EXPECT_TRUE(view->IsPressHeld());
        EXPECT_EQ(view->GetPressPoint(), CPoint(column, 150));
        driver->Up(column + 2, 151);
        EXPECT_FALSE(view->IsPressHeld());
        EXPECT_EQ(view->GetPressPoint(), CPoint(column + 2, 151));
    }
}

} // namespace

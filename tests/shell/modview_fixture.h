// A plate document of the running program (opened through the start wizard)
// with its modelling view hosted on a 400 x 300 OSMesa surface and driven
// with clicks in pixels: three pixels a model unit and the model point
// (40, 25) at the centre, so pixel x = 80 + 3 X and y = 225 - 3 Y.
#pragma once

#include <memory>
#include <string>

#include "app/shell/brantelmodview.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/shell/shell_fixture.h"

namespace shelltest
{

// Frames a model view without grid and axis cross, with the model point
// (-centX, -centY) at the centre and scale pixels a model unit;
// DriveModelView also hosts it on a 400 x 300 OSMesa surface (the view
// takes the driver's surface in place of the fixture's).
inline void FrameModelView(CBrantelView& view, double centX, double centY, double scale)
{
    view.m_bShowGrid = false;
    view.m_bShowAxis = false;
    view.m_dCentX = centX;
    view.m_dCentY = centY;
    view.m_dScale = scale;
}

inline std::unique_ptr<ViewDriver> DriveModelView(CBrantelView& view, double centX, double centY,
                                                  double scale)
{
    auto driver = std::make_unique<ViewDriver>(view, 400, 300);
    driver->Size(400, 300);
    static_cast<CView&>(view).OnInitialUpdate();
    FrameModelView(view, centX, centY, scale);
    return driver;
}

class ModViewTest : public AppTest
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
        Host(dynamic_cast<CBrantelModView*>(child->GetActiveView()));
    }
    // Drives this view on the surface from now on.
    void Host(CBrantelModView* modelling)
    {
        ASSERT_NE(modelling, nullptr);
        driver.reset();
        view = modelling;
        doc = view->GetBrantelDoc();
        ASSERT_NE(doc, nullptr);
        driver = DriveModelView(*view, -40.0, -25.0, 6.0);
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
    int Regions() { return doc->GetPlateComp()->GetCount(); }
    std::string Log()
    {
        CString text;
        RunLogWindow()->GetLogEdit().GetWindowText(text);
        return std::string(static_cast<LPCTSTR>(text));
    }

    UINT lastTool = 0;
    UINT filter = 0;
    CMainFrame* main = nullptr;
    CChildFrame* child = nullptr;
    CBrantelModView* view = nullptr;
    CBrantelDoc* doc = nullptr;
    std::unique_ptr<ViewDriver> driver;
};

} // namespace shelltest

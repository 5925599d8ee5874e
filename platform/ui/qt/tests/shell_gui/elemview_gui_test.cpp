// The element view on the display: with the plate sample meshed and the
// frame in element mode, a rectangle dragged with the mouse over the whole
// mesh selects every element; a picture of the selection is saved.
#include <QOpenGLWidget>
#include <QTest>

#include "app/analysis/platecomp.h"
#include "app/shell/elemmodview.h"
#include "femodel/strelna.h"
#include "framework/geomhlpr.h"
#include "platform/ui/qt/qtglhost.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;

TEST_F(ShellOnQt, ARectangleDraggedInTheElementViewSelectsTheElements)
{
    auto app = std::make_unique<CBrantelApp>();
    app->SetCommandLine({Example("plate.plb").c_str()});
    ASSERT_TRUE(app->InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    frame->MoveWindow(CRect(0, 0, 1100, 800));
    frame->ShowWindow(SW_SHOW);
    auto* child = dynamic_cast<CChildFrame*>(frame->MDIGetActive());
    ASSERT_NE(child, nullptr);
    auto* doc = dynamic_cast<CBrantelDoc*>(child->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    CStringArray log, errors;
    ASSERT_TRUE(doc->GetPlateComp()->PreCalc(&log, &errors, 0));
    long elements = 0;
    doc->GetPlateComp()->ForEachMeshElement([&elements](CElement*) { ++elements; });
    ASSERT_GT(elements, 10);

    frame->SwitchViewMode(ID_MODE_ELEMENTS);
    auto* view = dynamic_cast<CElemModView*>(child->GetActiveView());
    ASSERT_NE(view, nullptr);
    CQtGLHost* host = CQtGLHost::Of(view->GetSafeHwnd());
    QOpenGLWidget* gl = host ? host->GLWidget() : nullptr;
    ASSERT_NE(gl, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(gl->window()));
    ASSERT_TRUE(afxui::qt::testing::WaitUntil([&] { return view->m_iWidth > 200; }));
    view->ZoomToFit();
    const UINT filter = Kor2DModView::m_uiSelectFilter;
    Kor2DModView::m_uiSelectFilter = KorBasisGeomHlpr::kAreas;

    // Corner to corner of the view, as the user drags.
    QWindow* window = gl->window()->windowHandle();
    const QPoint from = gl->mapTo(gl->window(), QPoint(3, 3));
    const QPoint to = gl->mapTo(gl->window(), QPoint(gl->width() - 4, gl->height() - 4));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, (from + to) / 2);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(afxui::qt::testing::WaitUntil(
        [&] { return view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kAreas) != nullptr; }));
    EXPECT_EQ(view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kAreas)->GetCount(), elements);
    EXPECT_EQ(view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kNodes), nullptr);

    view->Invalidate(FALSE);
    QCoreApplication::processEvents();
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(AfxQtWidgetOf(frame), "element_view_selection.png", &why))
        << why.toStdString();
    Kor2DModView::m_uiSelectFilter = filter;
    EndApp(app);
}

} // namespace

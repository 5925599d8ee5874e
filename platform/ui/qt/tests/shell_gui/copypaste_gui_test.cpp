// Copy and paste of a region in the program's real window: Ctrl+C, a click
// for the base point, Ctrl+V and a click for the target; Ctrl+C in the log
// window copies its text instead.
#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QOpenGLWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <cmath>

#include "app/analysis/analysis.h"
#include "app/shell/calcrun.h"
#include "framework/geomhlpr.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;

TEST_F(ShellOnQt, CtrlCAndCtrlVWithTwoClicksCopyASelectedRegion)
{
    auto app = std::make_unique<CBrantelApp>();
    const ShownExample shown = ShowExample(*app, "plate.plb");
    ASSERT_NE(shown.view, nullptr);
    QMainWindow* window = shown.window;
    CBrantelModView* view = shown.view;
    QOpenGLWidget* gl = shown.gl;
    CBrantelDoc* doc = view->GetBrantelDoc();

    CPlateComp* comp = doc->GetPlateComp();
    const int regions = comp->GetCount();
    ASSERT_GT(regions, 0);
    auto* region = dynamic_cast<CSectPlate*>(comp->GetHead());
    ASSERT_NE(region, nullptr);
    double rxmax = 0, rymax = 0, rxmin = 0, rymin = 0;
    region->GetMaxMin(rxmax, rymax, rxmin, rymin);
    double xmax = 0, ymax = 0, xmin = 0, ymin = 0;
    doc->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double span = std::max(xmax - xmin, ymax - ymin);
    view->AddSelect(region, KorBasisGeomHlpr::kAreas, true);

    gl->setFocus();
    QTest::keyClick(gl, 'C', Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(view->m_uiEditMode, UINT(kEditCopy));
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier, PixelOf(*view, rxmin, rymin));
    QCoreApplication::processEvents();
    EXPECT_EQ(view->m_uiEditMode, 0u);
    ASSERT_NE(view->GetCopyList(), nullptr);
    ASSERT_NE(view->GetTmpNode(2), nullptr);

    // The target right of the model, in empty space and in sight.
    const double tx = xmax + 0.1 * span + (view->GetTmpNode(2)->x - rxmin);
    const double ty = view->GetTmpNode(2)->y;
    const QPoint target = PixelOf(*view, tx, ty);
    ASSERT_TRUE(gl->rect().contains(target));
    QTest::keyClick(gl, 'V', Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(view->m_uiEditMode, UINT(kEditPaste));
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier, target);
    QCoreApplication::processEvents();
    EXPECT_EQ(comp->GetCount(), regions + 1);
    EXPECT_EQ(view->m_uiEditMode, 0u);
    gl->update();
    QTest::qWait(50);
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(window, "brantel-modelling-paste.png", &why))
        << why.toStdString();

    CString text;
    RunLogWindow()->GetLogEdit().GetWindowText(text);
    EXPECT_NE(std::string(text).find("Section is pasted\r\n"), std::string::npos);

    // Ctrl+C with the focus in the log window copies the selected log text
    // to the clipboard and leaves the regions alone.
    auto* log = qobject_cast<QPlainTextEdit*>(AfxQtWidgetOf(&RunLogWindow()->GetLogEdit()));
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(log->isVisible());
    view->AddSelect(region, KorBasisGeomHlpr::kAreas, true);
    QGuiApplication::clipboard()->setText("before");
    QTest::mouseClick(log->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCoreApplication::processEvents();
    EXPECT_TRUE(log->hasFocus());
    log->selectAll();
    const CObList* copied = view->GetCopyList();
    QTest::keyClick(log, 'C', Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->m_uiEditMode, 0u);
    EXPECT_EQ(view->GetCopyList(), copied);
    EXPECT_NE(QGuiApplication::clipboard()->text().toStdString().find("Section is pasted"),
              std::string::npos);

    EndApp(app);
}

} // namespace

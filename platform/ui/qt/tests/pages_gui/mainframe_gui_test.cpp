// The framework's main frame on a real display: six toolbars along the top,
// the status bar and the log dock; a document window maximised in a tab,
// the switch between tabs and sub-windows, and a spacing typed into the
// real grid combo.
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <memory>

#include "framework/framira.h"
#include "platform/dimvor/units.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

constexpr UINT kMainRes = 9801, kTemplate = 9802;

const CResourceModule s_resources("gui-mainframe", CResourceModule::program,
                                  [](CResourceModule& m) {
                                      m.AddStrings({{kMainRes, "Brantel"},
                                                    {kTemplate, "\nPlate\nPlate\nPlate File "
                                                                "(*.plb)\n.plb\nBrantel.Plate\nPlate"}});
                                  });

class GuiDoc : public CDocument
{
    DECLARE_DYNCREATE(GuiDoc)
};
IMPLEMENT_DYNCREATE(GuiDoc, CDocument)

class GuiView : public CView
{
    DECLARE_DYNCREATE(GuiView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(GuiView, CView)

class GuiChild : public KorChildFrm
{
    DECLARE_DYNCREATE(GuiChild)
public:
    void ChildFramesLeft(int) override {}
    CView* GetViewForID(UINT) override { return nullptr; }
};
IMPLEMENT_DYNCREATE(GuiChild, KorChildFrm)

using MainFrameOnDisplay = afxui::qt::testing::OnDisplay;

// A new main frame, set up without settings and shown; its window once
// exposed, or null.
QMainWindow* ShowNewFrame(KorMainFrm*& frame)
{
    frame = new KorMainFrm; // deletes itself with its window
    if (!frame->LoadFrame(kMainRes))
        return nullptr;
    frame->InitFrame();
    frame->MoveWindow(CRect(0, 0, 1000, 700));
    frame->ShowWindow(SW_SHOW);
    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(frame));
    if (!window || !QTest::qWaitForWindowExposed(window))
        return nullptr;
    AfxQtUpdateToolBars(window);
    return window;
}

TEST_F(MainFrameOnDisplay, ShowsItsBarsAndDocumentTabs)
{
    auto app = std::make_unique<CWinApp>();
    app->AddDocTemplate(new CMultiDocTemplate(kTemplate, RUNTIME_CLASS(GuiDoc),
                                              RUNTIME_CLASS(GuiChild), RUNTIME_CLASS(GuiView)));
    KorMainFrm* frame = nullptr;
    QMainWindow* window = ShowNewFrame(frame);
    ASSERT_NE(window, nullptr);
    app->m_pMainWnd = frame;

    const QList<QToolBar*> bars = window->findChildren<QToolBar*>();
    EXPECT_EQ(bars.size(), 6);
    for (QToolBar* bar : bars)
        EXPECT_EQ(window->toolBarArea(bar), Qt::TopToolBarArea) << bar->objectName().toStdString();
    auto* dock = window->findChild<QDockWidget*>();
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(window->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(window->statusBar()->isVisible());

    // A document window opens maximised in a tab; 50000 switches the view.
    ASSERT_NE(app->m_pDocManager->GetTemplates()[0]->OpenDocumentFile(nullptr), nullptr);
    auto* area = window->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    ASSERT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->viewMode(), QMdiArea::TabbedView);
    EXPECT_EQ(area->tabPosition(), QTabWidget::South);
    EXPECT_TRUE(area->subWindowList().at(0)->isMaximized());
    frame->SendCommand(ID_KOR_WORKBOOK);
    QCoreApplication::processEvents();
    EXPECT_EQ(area->viewMode(), QMdiArea::SubWindowView);
    frame->SendCommand(ID_KOR_WORKBOOK);
    QCoreApplication::processEvents();
    EXPECT_EQ(area->viewMode(), QMdiArea::TabbedView);

    frame->DestroyWindow();
    app.reset();
}

// "25" and Return typed into the real grid combo of a new main window, with
// millimetres or inches shown.
TEST_F(MainFrameOnDisplay, ASpacingTypedIntoTheGridComboIsShownAndKept)
{
    const int savedStandard = iStandard;
    const int savedUnits[2] = {iConv[0][0][0], iConv[1][0][0]};
    for (int standard : {0, 1}) {
        iStandard = standard;
        iConv[standard][0][0] = 0;
        KorMainFrm* frame = nullptr;
        QMainWindow* window = ShowNewFrame(frame);
        ASSERT_NE(window, nullptr);
        auto* drawTools = window->findChild<QToolBar*>(QString("bar%1").arg(0xE807));
        ASSERT_NE(drawTools, nullptr);
        auto* grid = drawTools->findChild<QComboBox*>();
        ASSERT_NE(grid, nullptr);
        ASSERT_NE(grid->lineEdit(), nullptr);
        // Typed twice: the second time into the list the first one refreshed.
        for (int round = 0; round < 2; ++round) {
            grid->lineEdit()->clear();
            QTest::keyClicks(grid->lineEdit(), "25");
            EXPECT_EQ(grid->lineEdit()->text().toStdString(), "25") << standard << round;
            QTest::keyClick(grid->lineEdit(), Qt::Key_Return);
            QCoreApplication::processEvents();
            // The default unit settings show millimetres without decimals
            // and inches with three.
            EXPECT_EQ(grid->currentText().toStdString(), standard == 0 ? "25" : "25.000")
                << standard << round;
            EXPECT_EQ(grid->count(), 2) << standard << round;
        }
        EXPECT_DOUBLE_EQ(frame->m_dCurGridSpacing, 25.0 / MetricToX(standard, kUnitLength, 0))
            << standard;
        frame->DestroyWindow();
    }
    iStandard = savedStandard;
    iConv[0][0][0] = savedUnits[0];
    iConv[1][0][0] = savedUnits[1];
}

} // namespace

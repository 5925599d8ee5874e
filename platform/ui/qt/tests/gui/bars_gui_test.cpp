// A main frame with its bars on a real display, saved as a picture: a menu,
// two toolbars (buttons and a combo), the status bar and the log dock with
// its tabs along the bottom edge.
#include <gtest/gtest.h>

#include <QDockWidget>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>

#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

constexpr UINT kFrame = 9701, kFileBar = 9702, kGridBar = 9703;
constexpr UINT kNew = 9710, kOpen = 9711, kSave = 9712, kGridCombo = 50002;

const CResourceModule s_resources("gui-bars", CResourceModule::program, [](CResourceModule& m) {
    m.AddStrings({{kFrame, "Brantel"},
                  {kNew, "Creates a document\nNew"},
                  {kOpen, "Opens a document\nOpen"},
                  {kSave, "Saves the document\nSave"}});
    m.Add(kFrame, AfxMenu{AfxMenuPopup("&File", {AfxMenuItem(kNew, "&New\tCtrl+N")})});
    m.Add(kFileBar, AfxToolBar{16, 15, {kNew, kOpen, ID_SEPARATOR, kSave}});
    m.Add(kGridBar, AfxToolBar{16, 15, {kGridCombo}});
});

class CBarsFrame : public CMDIFrameWnd
{
public:
    void OnNew() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarsFrame, CMDIFrameWnd)
ON_COMMAND(kNew, OnNew)
ON_COMMAND(kOpen, OnNew)
END_MESSAGE_MAP()

using BarsOnDisplay = afxui::qt::testing::OnDisplay;

TEST_F(BarsOnDisplay, TheFrameShowsItsToolbarsStatusBarAndLogDock)
{
    auto* frame = new CBarsFrame; // deletes itself with its window
    ASSERT_TRUE(frame->LoadFrame(kFrame));
    CStatusBar status;
    const UINT panes[] = {ID_SEPARATOR, 50033, 50035};
    ASSERT_TRUE(status.Create(frame));
    ASSERT_TRUE(status.SetIndicators(panes, 3));
    CToolBarManager manager(frame);
    manager.DefineDefaultToolBar(0xE804, "File", kFileBar, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0,
                                 TRUE, TRUE);
    manager.DefineDefaultToolBar(0xE805, "Grid", kGridBar, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP,
                                 0xE804, TRUE, TRUE);
    manager.SetButtonMap({{kGridCombo, CBS_DROPDOWN, 0x00280050}});
    manager.CreateControls();
    manager.InformBtns(kGridCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("100.0"));
    manager.InformBtns(kGridCombo, CB_SETCURSEL, 0);

    CControlBar log;
    ASSERT_TRUE(log.CreateBar(frame, "Log Window", WS_VISIBLE, 0xE900));
    log.EnableDocking(CBRS_ALIGN_ANY);
    log.Dock(AFX_IDW_DOCKBAR_BOTTOM, CSize(0, 100));
    CTabWnd tabs;
    ASSERT_TRUE(tabs.Create(&log, WS_VISIBLE, AFX_IDW_PANE_FIRST));
    CEdit logEdit, errorEdit;
    ASSERT_TRUE(logEdit.Create(nullptr, "Meshing ...\r\nDone.", WS_CHILD | WS_VISIBLE |
                               ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL, CRect(), &tabs, 3094));
    ASSERT_TRUE(errorEdit.Create(nullptr, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(), &tabs,
                                 3095));
    tabs.AddTab(&logEdit, "Log");
    tabs.AddTab(&errorEdit, "Error");
    frame->MoveWindow(CRect(0, 0, 640, 480));
    frame->ShowWindow(SW_SHOW);

    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(frame));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    AfxQtUpdateToolBars(window);
    auto* file = window->findChild<QToolBar*>("bar59396");
    auto* grid = window->findChild<QToolBar*>("bar59397");
    auto* dock = window->findChild<QDockWidget*>();
    ASSERT_TRUE(file && grid && dock);
    // Both toolbars in the top row, in the order they were added; the dock below.
    EXPECT_EQ(file->y(), grid->y());
    EXPECT_LT(file->x(), grid->x());
    EXPECT_GT(dock->y(), file->y() + file->height());
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(window, "frame-toolbars-log.png", &why))
        << why.toStdString();

    tabs.DestroyWindow();
    log.DestroyWindow();
    frame->DestroyWindow();
}

} // namespace

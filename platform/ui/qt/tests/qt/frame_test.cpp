// Frames on Qt: a QMainWindow whose menus come from the tables with update
// UI run when a menu opens, whose status bar shows the panes, and whose
// close from the title bar goes through the frame's OnClose.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTest>

#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

constexpr UINT kFrame = 9501;
constexpr UINT kOn = 9502, kOff = 9503, kNoHandler = 9504, kChecked = 9505;

const CResourceModule s_resources("qtframe", CResourceModule::program, [](CResourceModule& m) {
    m.AddStrings({{kFrame, "Frame"}});
    m.Add(kFrame, AfxMenu{AfxMenuPopup("&Tools", {AfxMenuItem(kOn, "&On\tCtrl+O"),
                                                  AfxMenuItem(kOff, "O&ff"), AfxMenuSeparator(),
                                                  AfxMenuItem(kNoHandler, "&Nothing"),
                                                  AfxMenuItem(kChecked, "&Checked")})});
    m.Add(kFrame, AfxAccelTable{{FVIRTKEY | FCONTROL, 'O', WORD(kOn)},
                                {FVIRTKEY, 'R', WORD(kChecked)},
                                {FVIRTKEY | FCONTROL, 'F', WORD(kOff)}});
    m.AddStrings({{kOn, "Turns it on\nOn"}});
});

class CTestFrame : public CMDIFrameWnd
{
public:
    CStatusBar m_bar;
    std::vector<UINT> chosen;
    bool allowClose = false;
    int closeRequests = 0;

protected:
    void OnOn() { chosen.push_back(kOn); }
    void OnOff() { chosen.push_back(kOff); }
    void OnChecked() { chosen.push_back(kChecked); }
    void OnUpdateOff(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnClose()
    {
        ++closeRequests;
        if (allowClose)
            CMDIFrameWnd::OnClose();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CMDIFrameWnd)
ON_COMMAND(kOn, OnOn)
ON_COMMAND(kOff, OnOff)
ON_COMMAND(kChecked, OnChecked)
ON_UPDATE_COMMAND_UI(kOff, OnUpdateOff)
ON_UPDATE_COMMAND_UI(kChecked, OnUpdateChecked)
ON_WM_CLOSE()
END_MESSAGE_MAP()

class QtFrame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_frame = new CTestFrame; // deletes itself with its window
        ASSERT_TRUE(m_frame->LoadFrame(kFrame));
        const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
        ASSERT_TRUE(m_frame->m_bar.Create(m_frame));
        ASSERT_TRUE(m_frame->m_bar.SetIndicators(panes, 2));
        m_frame->ShowWindow(SW_SHOW);
        m_window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(m_frame));
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override
    {
        if (m_frame && m_frame->GetSafeHwnd()) {
            m_frame->allowClose = true;
            m_frame->DestroyWindow();
        }
    }

    QApplication& m_app = afxui::qt::testing::TestApplication();
    afxui::qt::testing::BackendScope m_backend;
    CTestFrame* m_frame = nullptr;
    QMainWindow* m_window = nullptr;
};

TEST_F(QtFrame, MenusShowTheTablesAfterUpdateUiAndDispatchTheChoice)
{
    EXPECT_NE(qobject_cast<QMdiArea*>(m_window->centralWidget()), nullptr);
    EXPECT_EQ(m_window->windowTitle(), "Frame");
    const QList<QAction*> bar = m_window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 1);
    EXPECT_EQ(bar[0]->text(), "&Tools");
    QMenu* menu = bar[0]->menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();

    // The Qt menu shows what the layer's snapshot says, item by item.
    const AfxMenu snapshot = m_frame->MenuSnapshot(kFrame);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(snapshot[0].popup.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const AfxMenuEntry& entry = snapshot[0].popup[static_cast<std::size_t>(i)];
        SCOPED_TRACE(std::string(entry.item.strText));
        EXPECT_EQ(items[i]->isSeparator(), bool(entry.bSeparator));
        EXPECT_EQ(items[i]->text(), AfxToQString(entry.item.strText));
        EXPECT_EQ(items[i]->isEnabled(), bool(entry.item.bEnabled));
        EXPECT_EQ(items[i]->isChecked(), entry.item.nCheck != 0);
    }
    EXPECT_EQ(items[0]->text(), "&On\tCtrl+O"); // the shortcut column
    EXPECT_FALSE(items[1]->isEnabled());        // disabled by its update handler
    EXPECT_FALSE(items[3]->isEnabled());        // no handler
    EXPECT_TRUE(items[4]->isChecked());

    items[0]->trigger();
    items[4]->trigger();
    // A chosen item's command runs once the menu is done with it.
    QCoreApplication::processEvents();
    EXPECT_EQ(m_frame->chosen, (std::vector<UINT>{kOn, kChecked}));
}

TEST_F(QtFrame, TheStatusBarShowsOneLabelPerPane)
{
    QList<QLabel*> labels = m_window->statusBar()->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0]->text(), "Ready");
    EXPECT_EQ(labels[1]->text(), "");
    m_frame->m_bar.SetPaneText(0, "Meshing");
    EXPECT_EQ(labels[0]->text(), "Meshing");
}

TEST_F(QtFrame, AQtCloseGoesThroughOnClose)
{
    EXPECT_FALSE(m_window->close()); // the frame decides, from the event loop
    QCoreApplication::processEvents();
    EXPECT_EQ(m_frame->closeRequests, 1);
    EXPECT_TRUE(m_frame->GetSafeHwnd() != nullptr);
    m_frame->allowClose = true;
    QPointer<QMainWindow> window = m_window;
    m_frame = nullptr; // deleted with its window
    window->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isNull());
}

TEST_F(QtFrame, AcceleratorsSendEnabledCommandsAndAFocusedEditKeepsItsKeys)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                            CRect(10, 10, 200, 30), m_frame, 4001));
    QApplication::setActiveWindow(m_window); // window shortcuts need an active window
    auto* line = qobject_cast<QLineEdit*>(AfxQtWidgetOf(&edit));
    ASSERT_NE(line, nullptr);
    QTest::keyClick(m_window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier); // disabled by update UI
    QTest::keyClick(m_window, Qt::Key_R);
    EXPECT_EQ(m_frame->chosen, (std::vector<UINT>{kOn, kChecked}));
    // "R" typed into a focused edit stays there; Ctrl+O still works.
    m_frame->chosen.clear();
    line->setFocus();
    QTest::keyClicks(line, "Rr");
    QTest::keyClick(line, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(line->text(), "Rr");
    EXPECT_EQ(m_frame->chosen, std::vector<UINT>{kOn});
    edit.DestroyWindow();
}

TEST_F(QtFrame, AHoveredItemShowsItsPromptUntilTheMenuCloses)
{
    QMenu* menu = m_window->menuBar()->actions()[0]->menu();
    emit menu->aboutToShow();
    QLabel* pane = m_window->statusBar()->findChildren<QLabel*>()[0];
    emit menu->actions()[0]->hovered();
    EXPECT_EQ(pane->text(), "Turns it on");
    emit menu->aboutToHide();
    EXPECT_EQ(pane->text(), "Ready");
}

TEST_F(QtFrame, ChildFramesAreMaximisedSubWindowsClosedThroughOnClose)
{
    auto* area = qobject_cast<QMdiArea*>(m_window->centralWidget());
    ASSERT_NE(area, nullptr);
    auto* first = new CMDIChildWnd; // deletes itself with its window
    auto* second = new CMDIChildWnd;
    ASSERT_TRUE(first->LoadFrame(kFrame, WS_OVERLAPPEDWINDOW, m_frame));
    ASSERT_TRUE(second->LoadFrame(kFrame, WS_OVERLAPPEDWINDOW, m_frame));
    first->ShowWindow(SW_SHOW);
    second->ShowWindow(SW_SHOW);
    ASSERT_EQ(area->subWindowList().size(), 2);
    auto* sub = qobject_cast<QMdiSubWindow*>(AfxQtWidgetOf(first));
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->windowTitle(), "Frame");

    // An activation the area makes of its own accord leaves the layer's
    // choice; a click on a sub-window activates its child frame in the
    // layer (the offscreen platform activates no sub-window by itself).
    second->MDIActivate();
    QTest::keyRelease(m_window, Qt::Key_Control); // no key held from an earlier test
    emit area->subWindowActivated(sub);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_frame->MDIGetActive(), second);
    QTest::mousePress(sub, Qt::LeftButton, {}, QPoint(sub->width() / 2, 10));
    emit area->subWindowActivated(sub);
    QTest::mouseRelease(sub, Qt::LeftButton, {}, QPoint(sub->width() / 2, 10));
    EXPECT_EQ(m_frame->MDIGetActive(), first);

    QPointer<QMdiSubWindow> gone = sub;
    sub->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(area->subWindowList().size(), 1);
    second->DestroyWindow();
    EXPECT_TRUE(area->subWindowList().isEmpty());
}

TEST_F(QtFrame, MovesResizesAndMaximisingReachTheLayersPlacement)
{
    // The layer's placement reaches the window ...
    m_frame->MoveWindow(CRect(30, 40, 30 + 500, 40 + 380));
    EXPECT_EQ(m_window->pos(), QPoint(30, 40));
    EXPECT_EQ(m_window->size(), QSize(500, 380));

    // ... and the user's or window manager's comes back to it.
    m_window->move(120, 90);
    m_window->resize(640, 470);
    QCoreApplication::processEvents();
    CRect rect;
    m_frame->GetWindowRect(rect);
    EXPECT_EQ(rect, CRect(120, 90, 120 + 640, 90 + 470));
    EXPECT_EQ(m_frame->GetStyle() & WS_MAXIMIZE, 0u);

    // Maximised, the rectangle stays the restored one.
    m_window->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(m_window->isMaximized());
    EXPECT_NE(m_frame->GetStyle() & WS_MAXIMIZE, 0u);
    m_frame->GetWindowRect(rect);
    EXPECT_EQ(rect.Width(), 640);
    EXPECT_EQ(rect.Height(), 470);

    m_window->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_frame->GetStyle() & WS_MAXIMIZE, 0u);
    m_frame->GetWindowRect(rect);
    EXPECT_EQ(rect.Width(), 640);
    EXPECT_EQ(rect.Height(), 470);
}

TEST_F(QtFrame, ShowWindowMaximisesAndRestoresTheWindowKeepingItsPlacement)
{
    m_frame->ShowWindow(SW_HIDE);
    m_frame->MoveWindow(CRect(50, 60, 50 + 520, 60 + 400));
    struct Step {
        int nCmdShow;
        bool maximised;
    };
    // Maximised stays across a plain show and a hide; normal and restore
    // give the placement's rectangle back.
    const Step steps[] = {{SW_SHOWMAXIMIZED, true}, {SW_SHOW, true}, {SW_HIDE, true},
                          {SW_SHOW, true},          {SW_SHOWNORMAL, false},
                          {SW_SHOWMAXIMIZED, true}, {SW_RESTORE, false}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.nCmdShow);
        m_frame->ShowWindow(step.nCmdShow);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_window->isVisible(), step.nCmdShow != SW_HIDE);
        EXPECT_EQ(m_frame->GetStyle() & WS_MAXIMIZE ? 1 : 0, step.maximised ? 1 : 0);
        if (step.nCmdShow != SW_HIDE) {
            EXPECT_EQ(m_window->isMaximized(), step.maximised);
        }
        CRect rect;
        m_frame->GetWindowRect(rect);
        EXPECT_EQ(rect, CRect(50, 60, 50 + 520, 60 + 400));
    }
    EXPECT_EQ(m_window->pos(), QPoint(50, 60));
    EXPECT_EQ(m_window->size(), QSize(520, 400));
}

} // namespace

// Control bars on Qt: toolbars with buttons and combos, the bar layout
// through the profile, the log dock with its tabs, workbook mode and files
// dropped on the main window.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>
#include <QWidgetAction>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

constexpr UINT kFrame = 9601;
constexpr UINT kDrawBar = 9602, kFilterBar = 9603, kLeftBar = 9604;
constexpr UINT kOn = 9610, kOff = 9611, kChecked = 9612;
constexpr UINT kGridCombo = 50002, kFilterCombo = 50008, kViewLog = 50001;
constexpr UINT kDrawID = 0xE804, kFilterID = 0xE805, kLeftID = 0xE806, kLogID = 0xE900;

const CResourceModule s_resources("qtbars", CResourceModule::program, [](CResourceModule& m) {
    m.AddStrings({{kFrame, "Frame"}, {kOn, "Turns it on\nOn"}, {kChecked, "Checks\nChecked"}});
    m.Add(kFrame, AfxMenu{AfxMenuPopup("&Tools", {AfxMenuItem(kOn, "&On")})});
    m.Add(kDrawBar, AfxToolBar{16, 15, {kOn, ID_SEPARATOR, kChecked, kOff, kGridCombo}});
    m.Add(kFilterBar, AfxToolBar{16, 15, {kFilterCombo}});
    m.Add(kLeftBar, AfxToolBar{16, 15, {kOn}});
});

class CBarFrame : public CMDIFrameWnd
{
public:
    CStatusBar m_bar;
    CControlBar m_log;
    std::vector<std::string> log;
    std::function<void(UINT code, CComboBox& combo)> onNotify; // the frame's answer

protected:
    LRESULT OnToolBarWndNotify(WPARAM wParam, LPARAM lParam)
    {
        CString text;
        if (CWnd* combo = CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))
            combo->GetWindowText(text);
        if (auto* combo = dynamic_cast<CComboBox*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
            combo && onNotify)
            onNotify(static_cast<UINT>(wParam), *combo);
        log.push_back(
            AfxFormat("notify %u 0x%x '%s'", LOWORD(wParam), HIWORD(wParam), text.GetString()));
        return 0;
    }
    void OnSelFilter()
    {
        auto* combo = dynamic_cast<CComboBox*>(GetNotifySender());
        log.push_back(AfxFormat("selchange %d", combo ? combo->GetCurSel() : -2));
    }
    void OnOn() { log.push_back("on"); }
    void OnChecked() { log.push_back("checked"); }
    void OnUpdateOff(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnViewLog() { ShowControlBar(&m_log, !(m_log.GetStyle() & WS_VISIBLE), FALSE); }
    void OnUpdateViewLog(CCmdUI* pCmdUI) { pCmdUI->SetCheck((m_log.GetStyle() & WS_VISIBLE) != 0); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CMDIFrameWnd)
ON_MESSAGE(WM_TOOLBARWNDNOTIFY, OnToolBarWndNotify)
ON_CBN_SELCHANGE(kFilterCombo, OnSelFilter)
ON_COMMAND(kOn, OnOn)
ON_COMMAND(kChecked, OnChecked)
ON_UPDATE_COMMAND_UI(kOff, OnUpdateOff)
ON_UPDATE_COMMAND_UI(kChecked, OnUpdateChecked)
ON_COMMAND(kViewLog, OnViewLog)
ON_UPDATE_COMMAND_UI(kViewLog, OnUpdateViewLog)
END_MESSAGE_MAP()

class QtBars : public ::testing::Test
{
protected:
    void SetUp() override { MakeFrame(); }
    void TearDown() override
    {
        m_manager.reset();
        if (m_frame && m_frame->GetSafeHwnd())
            m_frame->DestroyWindow();
    }

    void MakeFrame()
    {
        m_frame = new CBarFrame; // deletes itself with its window
        ASSERT_TRUE(m_frame->LoadFrame(kFrame));
        const UINT panes[] = {ID_SEPARATOR};
        ASSERT_TRUE(m_frame->m_bar.Create(m_frame));
        ASSERT_TRUE(m_frame->m_bar.SetIndicators(panes, 1));
        m_manager = std::make_unique<CToolBarManager>(m_frame);
        m_manager->DefineDefaultToolBar(kDrawID, "Draw", kDrawBar, CBRS_ALIGN_ANY,
                                        AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
        m_manager->DefineDefaultToolBar(kFilterID, "Filter", kFilterBar,
                                        CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM,
                                        0, TRUE, TRUE);
        m_manager->DefineDefaultToolBar(kLeftID, "Left", kLeftBar, CBRS_ALIGN_ANY,
                                        AFX_IDW_DOCKBAR_LEFT, 0, TRUE, TRUE);
        m_manager->SetButtonMap(
            {{kFilterCombo, CBS_DROPDOWNLIST, 0x00280096}, {kGridCombo, CBS_DROPDOWN, 0x00280064}});
        m_manager->CreateControls();
        ASSERT_TRUE(m_frame->m_log.CreateBar(m_frame, "Log Window", WS_VISIBLE, kLogID));
        m_frame->m_log.EnableDocking(CBRS_ALIGN_ANY);
        m_frame->m_log.Dock(AFX_IDW_DOCKBAR_BOTTOM, CSize(0, 100));
        m_frame->ShowWindow(SW_SHOW);
        m_window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(m_frame));
        ASSERT_NE(m_window, nullptr);
    }

    QToolBar* Bar(UINT nBarID) const
    {
        return m_window->findChild<QToolBar*>(QStringLiteral("bar%1").arg(nBarID));
    }

    QApplication& m_app = afxui::qt::testing::TestApplication();
    afxui::qt::testing::BackendScope m_backend;
    CBarFrame* m_frame = nullptr;
    std::unique_ptr<CToolBarManager> m_manager;
    QMainWindow* m_window = nullptr;
};

TEST_F(QtBars, ToolbarsSitInTheirAreasMovableAndFloatable)
{
    struct Case {
        UINT nBarID;
        Qt::ToolBarArea area;
        Qt::ToolBarAreas allowed;
    };
    const Case cases[] = {
        {kDrawID, Qt::TopToolBarArea, Qt::AllToolBarAreas},
        {kFilterID, Qt::BottomToolBarArea, Qt::TopToolBarArea | Qt::BottomToolBarArea},
        {kLeftID, Qt::LeftToolBarArea, Qt::AllToolBarAreas},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nBarID);
        QToolBar* bar = Bar(c.nBarID);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(m_window->toolBarArea(bar), c.area);
        EXPECT_EQ(bar->allowedAreas(), c.allowed);
        EXPECT_TRUE(bar->isMovable());
        EXPECT_TRUE(bar->isFloatable());
    }
    EXPECT_EQ(Bar(kDrawID)->windowTitle(), "Draw");
}

TEST_F(QtBars, ButtonsFollowUpdateUiAndSendTheirCommands)
{
    QToolBar* bar = Bar(kDrawID);
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), "On");
    EXPECT_FALSE(actions[0]->icon().isNull()); // a labelled square without a picture
    EXPECT_TRUE(actions[1]->isSeparator());
    AfxQtUpdateToolBars(m_window);
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_TRUE(actions[2]->isChecked()); // SetCheck(1): pressed
    EXPECT_FALSE(actions[3]->isEnabled()); // disabled by its update handler
    actions[0]->trigger();
    actions[2]->trigger();
    EXPECT_TRUE(actions[2]->isChecked()); // the layer's check, not Qt's toggle
    EXPECT_EQ(m_frame->log.back(), "checked");
    EXPECT_NE(std::find(m_frame->log.begin(), m_frame->log.end(), "on"), m_frame->log.end());

    QLabel* pane = m_window->statusBar()->findChildren<QLabel*>()[0];
    emit actions[0]->hovered();
    EXPECT_EQ(pane->text(), "Turns it on");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    EXPECT_EQ(pane->text(), "Ready");
}

TEST_F(QtBars, LargeButtonsAreThirtyPixelsSquareAndTooltipsCanBeOff)
{
    QToolBar* bar = Bar(kDrawID);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    m_manager->SetLargeButtons(TRUE);
    EXPECT_EQ(bar->iconSize(), QSize(30, 30));
    EXPECT_EQ(Bar(kLeftID)->iconSize(), QSize(30, 30));
    EXPECT_EQ(bar->actions()[0]->icon().availableSizes().value(0), QSize(30, 30));
    m_manager->SetLargeButtons(FALSE);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));

    // A tip shows the button's text; while tooltips are off a button shows none.
    const auto tipAt = [&](int nAction) {
        QWidget* button = bar->widgetForAction(bar->actions()[nAction]);
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
        return QToolTip::text();
    };
    EXPECT_EQ(tipAt(0), "On");
    m_manager->EnableToolTips(FALSE);
    EXPECT_EQ(tipAt(2), "On"); // still the last one shown
    m_manager->EnableToolTips(TRUE);
    EXPECT_EQ(tipAt(2), "Checked");
    QToolTip::hideText();
}

TEST_F(QtBars, CombosSitInWidgetActionsAndNotifyTheFrame)
{
    // Each combo announced itself once, when it was made.
    EXPECT_EQ(m_frame->log,
              (std::vector<std::string>{"notify 50002 0x101 ''", "notify 50008 0x101 ''"}));
    auto* action = qobject_cast<QWidgetAction*>(Bar(kDrawID)->actions()[4]);
    ASSERT_NE(action, nullptr);
    auto* grid = qobject_cast<QComboBox*>(action->defaultWidget());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid, AfxQtWidgetOf(m_manager->GetCombo(kGridCombo)));
    EXPECT_TRUE(grid->isEditable());
    EXPECT_EQ(grid->insertPolicy(), QComboBox::NoInsert);
    EXPECT_EQ(grid->minimumWidth(), 100);

    m_frame->log.clear();
    grid->lineEdit()->setFocus();
    QTest::keyClicks(grid->lineEdit(), "2.5");
    QTest::keyClick(grid->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(m_frame->log, std::vector<std::string>{"notify 50002 0x201 '2.5'"});
    EXPECT_EQ(grid->count(), 0); // Return never inserts

    m_manager->InformBtns(kFilterCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("All"));
    m_manager->InformBtns(kFilterCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Nodes"));
    auto* filter = qobject_cast<QComboBox*>(AfxQtWidgetOf(m_manager->GetCombo(kFilterCombo)));
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->parentWidget(), Bar(kFilterID));
    ASSERT_EQ(filter->count(), 2);
    m_frame->log.clear();
    emit filter->activated(1); // the user's choice
    EXPECT_EQ(m_frame->log, std::vector<std::string>{"selchange 1"});
}

TEST_F(QtBars, TypingAgainIntoARefilledEditableComboKeepsTheCaret)
{
    CComboBox* combo = m_manager->GetCombo(kGridCombo);
    auto* grid = qobject_cast<QComboBox*>(AfxQtWidgetOf(combo));
    ASSERT_NE(grid, nullptr);
    // Like the grid spacing: an entered value joins the list (once) and is
    // chosen, and the combo keeps the focus.
    m_frame->onNotify = [](UINT code, CComboBox& box) {
        if (HIWORD(code) != 0x201)
            return;
        CString text;
        box.GetWindowText(text);
        int index = box.FindStringExact(-1, text);
        if (index < 0)
            index = box.AddString(text);
        box.SetCurSel(index);
        box.SetFocus();
    };
    grid->lineEdit()->setFocus();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        QTest::keyClicks(grid->lineEdit(), "25");
        EXPECT_EQ(grid->lineEdit()->text(), "25");
        CString text;
        combo->GetWindowText(text);
        EXPECT_EQ(text, "25");
        QTest::keyClick(grid->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(grid->count(), 1);
    }

    // Typed over a whole text that ends (or starts) like the keys: the caret
    // stays after what was typed, wherever the old text matched it.
    for (const char* shown : {"12", "2", "0.52", "25.000000", "5"}) {
        SCOPED_TRACE(shown);
        combo->ResetContent();
        combo->AddString(shown);
        combo->SetCurSel(0);
        for (bool cleared : {false, true}) {
            combo->SetCurSel(0);
            if (cleared)
                grid->lineEdit()->clear(); // the layer still holds the old text
            else
                grid->lineEdit()->selectAll();
            QTest::keyClicks(grid->lineEdit(), "25");
            EXPECT_EQ(grid->lineEdit()->text(), "25") << cleared;
            CString text;
            combo->GetWindowText(text);
            EXPECT_EQ(text, "25") << cleared;
        }
    }
}

// A box refilled while the focus is elsewhere (a document comes to the
// front and its thickness is put in) shows its value plainly; the whole
// value is selected once the box takes the focus, ready to be typed over.
TEST_F(QtBars, ARefilledComboShowsItsSelectionOnlyWithTheFocus)
{
    CComboBox* combo = m_manager->GetCombo(kGridCombo);
    auto* grid = qobject_cast<QComboBox*>(AfxQtWidgetOf(combo));
    ASSERT_NE(grid, nullptr);
    combo->AddString("10");
    combo->AddString("100");
    combo->SetCurSel(1);
    EXPECT_EQ(grid->lineEdit()->text(), "100");
    EXPECT_FALSE(grid->lineEdit()->hasSelectedText());
    combo->SetFocus();
    EXPECT_EQ(grid->lineEdit()->selectedText(), "100");
    combo->SetCurSel(0);
    EXPECT_EQ(grid->lineEdit()->selectedText(), "10");
}

TEST_F(QtBars, TheLayoutComesBackOnANewFrameThroughTheProfile)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.path() + "/Vornetic Applications/brantel.ini";
    {
        CQtProfile profile(path);
        CProfileService* old = AfxSetProfileService(&profile);
        // The user moves one toolbar and hides another.
        m_window->addToolBar(Qt::RightToolBarArea, Bar(kDrawID));
        Bar(kLeftID)->hide();
        EXPECT_FALSE(m_manager->GetToolBar(kLeftID)->GetStyle() & WS_VISIBLE);
        m_frame->SaveBarState("brantel");
        profile.Flush();
        AfxSetProfileService(old);
    }
    TearDown();
    MakeFrame();
    ASSERT_EQ(m_window->toolBarArea(Bar(kDrawID)), Qt::TopToolBarArea);
    CQtProfile profile(path);
    CProfileService* old = AfxSetProfileService(&profile);
    m_frame->LoadBarState("brantel");
    AfxSetProfileService(old);
    EXPECT_EQ(m_window->toolBarArea(Bar(kDrawID)), Qt::RightToolBarArea);
    EXPECT_TRUE(Bar(kLeftID)->isHidden());
    EXPECT_FALSE(m_manager->GetToolBar(kLeftID)->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(Bar(kFilterID)->isHidden());
}

TEST_F(QtBars, TheLogDockHoldsBottomTabsAndItsCommandFollowsItsVisibility)
{
    CTabWnd tabs;
    ASSERT_TRUE(tabs.Create(&m_frame->m_log, WS_VISIBLE, AFX_IDW_PANE_FIRST));
    CEdit log, error;
    ASSERT_TRUE(log.Create(nullptr, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY,
                           CRect(), &tabs, 3094));
    ASSERT_TRUE(error.Create(nullptr, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(), &tabs,
                             3095));
    tabs.AddTab(&log, "Log");
    tabs.AddTab(&error, "Error");

    auto* dock = m_window->findChild<QDockWidget*>();
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->windowTitle(), "Log Window");
    EXPECT_EQ(m_window->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    EXPECT_EQ(dock->allowedAreas(), Qt::AllDockWidgetAreas);
    auto* tabWidget = qobject_cast<QTabWidget*>(dock->widget());
    ASSERT_NE(tabWidget, nullptr);
    EXPECT_EQ(tabWidget->tabPosition(), QTabWidget::South);
    ASSERT_EQ(tabWidget->count(), 2);
    EXPECT_EQ(tabWidget->tabText(0), "Log");
    EXPECT_EQ(tabWidget->tabText(1), "Error");
    auto* logEdit = qobject_cast<QPlainTextEdit*>(tabWidget->widget(0));
    ASSERT_NE(logEdit, nullptr);
    EXPECT_TRUE(logEdit->isReadOnly());
    EXPECT_EQ(tabWidget->currentIndex(), 0);
    m_window->resize(800, 600);
    QCoreApplication::processEvents();
    // Height 100, unless its content needs more.
    EXPECT_EQ(dock->height(), std::max(100, dock->minimumSizeHint().height()));

    tabWidget->setCurrentIndex(1); // the user picks "Error"
    EXPECT_EQ(tabs.GetActiveTab(), 1);
    tabs.ActivateTab(0);
    EXPECT_EQ(tabWidget->currentIndex(), 0);

    // 50001 toggles the dock; its check follows, also after the user closes it.
    m_frame->SendCommand(kViewLog);
    EXPECT_TRUE(dock->isHidden());
    EXPECT_EQ(m_frame->QueryCommandUI(kViewLog).nCheck, 0);
    m_frame->SendCommand(kViewLog);
    EXPECT_FALSE(dock->isHidden());
    EXPECT_EQ(m_frame->QueryCommandUI(kViewLog).nCheck, 1);
    dock->close();
    EXPECT_EQ(m_frame->QueryCommandUI(kViewLog).nCheck, 0);
    tabs.DestroyWindow();
}

TEST_F(QtBars, WorkbookModeSwitchesBetweenBottomTabsAndMaximisedWindows)
{
    auto* area = qobject_cast<QMdiArea*>(m_window->centralWidget());
    ASSERT_NE(area, nullptr);
    auto* child = new CMDIChildWnd; // deletes itself with its window
    ASSERT_TRUE(child->LoadFrame(kFrame, WS_OVERLAPPEDWINDOW, m_frame));
    child->ShowWindow(SW_SHOW);
    EXPECT_EQ(area->viewMode(), QMdiArea::SubWindowView);
    m_frame->SetWorkbookMode(TRUE);
    EXPECT_TRUE(m_frame->IsWorkbookMode());
    EXPECT_EQ(area->viewMode(), QMdiArea::TabbedView);
    EXPECT_EQ(area->tabPosition(), QTabWidget::South);
    EXPECT_FALSE(area->tabsClosable());
    m_frame->SetWorkbookMode(FALSE);
    EXPECT_EQ(area->viewMode(), QMdiArea::SubWindowView);
    EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(AfxQtWidgetOf(child))->isMaximized());
    child->DestroyWindow();
}

class CPlainView : public CView
{
    DECLARE_DYNCREATE(CPlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

TEST_F(QtBars, TabsAndTheMainTitleNameTheDocument)
{
    auto* area = qobject_cast<QMdiArea*>(m_window->centralWidget());
    ASSERT_NE(area, nullptr);
    m_frame->SetWorkbookMode(TRUE);
    CDocument doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetTitle("Plate1");
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CPlainView);
    context.m_pCurrentDoc = &doc;
    CMDIChildWnd* frames[2] = {new CMDIChildWnd, new CMDIChildWnd}; // delete themselves
    for (CMDIChildWnd* child : frames) {
        ASSERT_TRUE(child->LoadFrame(kFrame, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, m_frame,
                                     &context));
        child->InitialUpdateFrame(&doc, TRUE);
    }
    EXPECT_EQ(m_window->windowTitle(), "Frame - Plate1");
    ASSERT_EQ(area->subWindowList().size(), 2);
    EXPECT_EQ(area->subWindowList()[0]->windowTitle(), "Plate1:1");
    EXPECT_EQ(area->subWindowList()[1]->windowTitle(), "Plate1:2");
    frames[1]->DestroyWindow();
    EXPECT_EQ(area->subWindowList()[0]->windowTitle(), "Plate1");
    frames[0]->DestroyWindow();
    EXPECT_EQ(m_window->windowTitle(), "Frame");
}

class CDropApp : public CWinApp
{
public:
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override
    {
        opened.push_back(lpszFileName);
        return nullptr;
    }
    std::vector<std::string> opened;
};

TEST_F(QtBars, FilesDroppedOnTheMainWindowOpenInTurn)
{
    CDropApp app;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/data/a.plb"), QUrl("https://example.org/x.plb"),
                  QUrl::fromLocalFile("/data/Platte \xC3\xA4.mem")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window, &drop);
    EXPECT_EQ(app.opened, (std::vector<std::string>{"/data/a.plb", "/data/Platte \xC3\xA4.mem"}));

    QMimeData text;
    text.setText("not a file");
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(m_window, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

} // namespace

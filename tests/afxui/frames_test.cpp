// The frame's parts: splitter, status bar, toolbar model, popup menus, the
// log bar's tab window and the recording device context.
#include <string>
#include <vector>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"

using afxui::headless::HeadlessApp;
using afxui::headless::ToolbarCombo;

namespace
{

constexpr UINT kFrameRes = 7128;
constexpr UINT kToolBar = 27004, kFilterBar = 27006;
constexpr UINT kFilterCombo = 50008, kGridCombo = 50002;
constexpr UINT kViewLog = 50001, kDelete = 34080;

void AddResources(CResourceModule& m)
{
    m.AddStrings({{kViewLog, "Shows or hides the log window\nLog window"}});
    m.Add(kToolBar, AfxToolBar{16, 15, {kViewLog, ID_SEPARATOR, kGridCombo}});
    m.Add(kFilterBar, AfxToolBar{16, 15, {kFilterCombo}});
    m.Add(781u,
          AfxMenu{AfxMenuPopup("Context", {AfxMenuItem(kDelete, "&Delete"), AfxMenuSeparator(),
                                           AfxMenuItem(kViewLog, "&Log window")})});
}

class CPaneView : public CView
{
    DECLARE_DYNCREATE(CPaneView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

// A frame that splits its client area 1 x 2, logs commands and toolbar
// notifications.
class CSplitFrame : public CFrameWnd
{
public:
    CSplitterWnd m_wndSplitter;
    CStatusBar m_wndStatusBar;
    std::vector<std::string> log;
    std::vector<std::string>* destroyLog = nullptr; // outlives the frame (not owned)

    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        if (!m_wndSplitter.CreateStatic(this, 1, 2))
            return FALSE;
        if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(0, 0), pContext) ||
            !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CPaneView), CSize(0, 0), pContext))
            return FALSE;
        m_wndSplitter.SetActivePane(0, 1);
        static const UINT indicators[] = {ID_SEPARATOR,      50033,           50035, 50035, 50034,
                                          ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
        return m_wndStatusBar.Create(this) && m_wndStatusBar.SetIndicators(indicators, 7);
    }

protected:
    LRESULT OnToolBarWndNotify(WPARAM wParam, LPARAM lParam)
    {
        CString text;
        if (CWnd* combo = CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))
            combo->GetWindowText(text);
        log.push_back(
            AfxFormat("notify %u 0x%x '%s'", LOWORD(wParam), HIWORD(wParam), text.GetString()));
        return 0;
    }
    void OnSelFilter()
    {
        log.push_back(
            AfxFormat("selchange %d", static_cast<CComboBox*>(GetNotifySender())->GetCurSel()));
    }
    void OnFilterCommand() { log.push_back("command 50008"); }
    void OnDelete() { log.push_back("delete"); }
    void OnUpdateDelete(CCmdUI* pCmdUI) { pCmdUI->SetText("Delete Rectangle"); }
    void OnDestroy()
    {
        // The children still exist while the frame hears of its destruction.
        if (destroyLog)
            destroyLog->push_back(m_wndStatusBar.GetSafeHwnd() && m_wndSplitter.GetPane(0, 0)
                                      ? "children alive"
                                      : "children gone");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSplitFrame, CFrameWnd)
ON_MESSAGE(WM_TOOLBARWNDNOTIFY, OnToolBarWndNotify)
ON_CBN_SELCHANGE(kFilterCombo, OnSelFilter)
ON_COMMAND(kFilterCombo, OnFilterCommand)
ON_COMMAND(kDelete, OnDelete)
ON_UPDATE_COMMAND_UI(kDelete, OnUpdateDelete)
ON_WM_DESTROY()
END_MESSAGE_MAP()

class FramesTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        resources = std::make_unique<CResourceModule>("frames_test", CResourceModule::program,
                                                      AddResources);
        frame = new CSplitFrame;
        CCreateContext context;
        ASSERT_TRUE(frame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW, nullptr, &context));
    }
    void TearDown() override
    {
        if (frame && frame->GetSafeHwnd())
            frame->DestroyWindow();
        resources.reset();
        HeadlessApp::TearDown();
    }
    std::unique_ptr<CResourceModule> resources;
    CSplitFrame* frame = nullptr; // deletes itself
};

TEST_F(FramesTest, HidingTheFirstColumnMovesTheIdsAndTheActivePane)
{
    CSplitterWnd& split = frame->m_wndSplitter;
    CWnd* left = split.GetPane(0, 0);
    CWnd* right = split.GetPane(0, 1);
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->GetDlgCtrlID(), 59648);
    EXPECT_EQ(right->GetDlgCtrlID(), 59649);
    EXPECT_EQ(split.IdFromRowCol(1, 2), 59648 + 16 + 2);
    EXPECT_EQ(frame->GetActiveView(), right);
    split.SetActivePane(0, 0);
    split.HideColumn(0);
    EXPECT_EQ(split.GetColumnCount(), 1);
    EXPECT_EQ(right->GetDlgCtrlID(), 59648); // the visible pane carries column 0's id
    EXPECT_EQ(left->GetDlgCtrlID(), 59649);  // the hidden one column 1's
    EXPECT_FALSE(left->IsWindowVisible());
    EXPECT_EQ(frame->GetActiveView(), right);
    EXPECT_EQ(split.GetPane(0, 0), right);
}

TEST_F(FramesTest, StatusPanesByIndexWithReadyAndPrompts)
{
    CStatusBar& bar = frame->m_wndStatusBar;
    EXPECT_EQ(frame->GetStatusBar(), &bar);
    ASSERT_EQ(bar.GetCount(), 7);
    EXPECT_EQ(bar.GetPaneText(0), "Ready");
    EXPECT_EQ(bar.CommandToIndex(50035), 2);
    EXPECT_TRUE(bar.SetPaneText(3, "x = 1.5", TRUE));
    EXPECT_TRUE(bar.SetPaneText(1, "T18", FALSE));
    EXPECT_EQ(bar.GetPaneText(3), "x = 1.5");
    EXPECT_EQ(bar.GetPaneText(2), "");
    EXPECT_EQ(bar.GetPaneText(1), "T18");
    bar.SetPaneText(5, "CAP");
    EXPECT_EQ(bar.GetPaneText(5), ""); // CAPS and NUM stay blank
    frame->ShowCommandPrompt(kViewLog);
    EXPECT_EQ(bar.GetPaneText(0), "Shows or hides the log window");
    frame->ShowCommandPrompt(0);
    EXPECT_EQ(bar.GetPaneText(0), "Ready");
}

TEST_F(FramesTest, ToolbarModelKeepsDefinitionsAndCombosNotify)
{
    CToolBarManager manager(frame);
    manager.DefineDefaultToolBar(0xE804, "Draw tools", kToolBar, CBRS_ALIGN_ANY,
                                 AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE, TRUE);
    manager.DefineDefaultToolBar(0xE805, "Filter", kFilterBar, 0xA000, AFX_IDW_DOCKBAR_BOTTOM,
                                 0xE804, TRUE, FALSE, TRUE);
    const AfxToolBarDef* filter = manager.FindToolBar(0xE805);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->strTitle, "Filter");
    EXPECT_EQ(filter->dwAlignStyle, 0xA000u);
    EXPECT_EQ(filter->nDockBarID, 0xE81Eu);
    EXPECT_EQ(filter->nNextTo, 0xE804u);
    EXPECT_FALSE(filter->bVisible);
    EXPECT_EQ(manager.FindToolBar(0xE804)->buttons,
              (std::vector<UINT>{kViewLog, ID_SEPARATOR, kGridCombo}));
    EXPECT_THROW(manager.DefineDefaultToolBar(0xE806, "None", 1, 0, 0, 0, TRUE, TRUE),
                 std::logic_error);

    manager.SetButtonMap(
        {{kFilterCombo, CBS_DROPDOWNLIST, 0x00280096}, {kGridCombo, CBS_DROPDOWN, 0x00280064}});
    manager.CreateControls();
    manager.CreateControls(); // made once
    EXPECT_EQ(frame->log,
              (std::vector<std::string>{"notify 50002 0x101 ''", "notify 50008 0x101 ''"}));
    CComboBox* list = manager.GetCombo(kFilterCombo);
    ASSERT_NE(list, nullptr);
    CRect rect;
    list->GetWindowRect(rect);
    EXPECT_EQ(rect.Width(), 150);
    // "Notify all buttons of an id" reaches the combo.
    manager.InformBtns(kFilterCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("All"));
    manager.InformBtns(kFilterCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Nodes"));
    EXPECT_EQ(list->GetCount(), 2);

    frame->log.clear();
    ToolbarCombo(manager, kFilterCombo).UserSelect(1);
    ToolbarCombo(manager, kGridCombo).UserEnter("2.5");
    EXPECT_EQ(frame->log, (std::vector<std::string>{"selchange 1", "notify 50002 0x201 '2.5'"}));
    EXPECT_EQ(manager.GetCombo(kGridCombo)->GetCount(), 0); // typing never inserts
    EXPECT_NONFATAL_FAILURE(ToolbarCombo(manager, kFilterCombo).UserEnter("x"), "takes no typed");
}

TEST_F(FramesTest, DefinedToolbarsAreBarWindowsOfTheFrame)
{
    CToolBarManager manager(frame);
    manager.DefineDefaultToolBar(0xE804, "Draw tools", kToolBar, CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT,
                                 AFX_IDW_DOCKBAR_LEFT, 0, TRUE, TRUE);
    manager.DefineDefaultToolBar(0xE805, "Filter", kFilterBar, CBRS_ALIGN_ANY,
                                 AFX_IDW_DOCKBAR_BOTTOM, 0xE804, TRUE, FALSE);
    CToolBar* draw = manager.GetToolBar(0xE804);
    CToolBar* filter = manager.GetToolBar(0xE805);
    ASSERT_NE(draw, nullptr);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(draw->GetParent(), frame);
    EXPECT_EQ(frame->GetDlgItem(0xE805), filter);
    EXPECT_TRUE(draw->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(filter->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(draw->m_nDockBarID, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(draw->m_dwDockStyle, CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
    CString title;
    draw->GetWindowText(title);
    EXPECT_EQ(title, "Draw tools");
    // A combo button stands for itself once the manager made the combo.
    EXPECT_EQ(filter->GetButtonCombo(kFilterCombo), nullptr);
    manager.SetButtonMap({{kFilterCombo, CBS_DROPDOWNLIST, 0x00280096}});
    manager.CreateControls();
    EXPECT_EQ(filter->GetButtonCombo(kFilterCombo), manager.GetCombo(kFilterCombo));
    EXPECT_EQ(draw->GetButtonCombo(kViewLog), nullptr);
    EXPECT_EQ(manager.GetToolBar(0xE806), nullptr);
}

TEST(BarVisibilityTest, ParsingKeepsTheWellFormedParts)
{
    struct Case {
        const char* text;
        std::vector<AfxBarVisibility> bars;
    };
    const Case cases[] = {
        {"", {}},
        {"59396=1;59397=0", {{59396, TRUE}, {59397, FALSE}}},
        {"59396=1;;x=1;=0;12=2;13=1x;-4=1;99999999999=1;7=0", {{59396, TRUE}, {7, FALSE}}},
        {"59400=0;", {{59400, FALSE}}},
        {"1=1=1;2 =1; 3=1", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AfxParseBarVisibility(c.text), c.bars);
    }
    const std::vector<AfxBarVisibility> list = {{59396, TRUE}, {59648, FALSE}};
    EXPECT_EQ(AfxFormatBarVisibility(list), "59396=1;59648=0");
    EXPECT_EQ(AfxParseBarVisibility(AfxFormatBarVisibility(list)), list);
}

TEST_F(FramesTest, BarStateKeepsVisibilityUnderItsNameWithVizBarStateAsFallback)
{
    CControlBar log, tools;
    ASSERT_TRUE(log.CreateBar(frame, "Log Window", WS_VISIBLE, 0xE900));
    ASSERT_TRUE(tools.CreateBar(frame, "Tools", WS_VISIBLE, 0xE804));
    tools.ShowWindow(SW_HIDE);
    frame->SaveBarState("brantel");
    EXPECT_EQ(Profile().GetEntries().at({"brantel", "Visible"}).text,
              "59393=1;59648=1;59396=0"); // the status bar is a control bar too

    const auto visible = [](const CWnd& bar) { return (bar.GetStyle() & WS_VISIBLE) != 0; };
    tools.ShowWindow(SW_SHOW);
    Profile().WriteString("VizBarState", "Visible", "59648=0;59396=1");
    frame->LoadBarState("brantel"); // its own section wins over the fallback
    EXPECT_TRUE(visible(log));
    EXPECT_FALSE(visible(tools));
    frame->LoadBarState("never-saved");
    EXPECT_FALSE(visible(log));
    EXPECT_TRUE(visible(tools));
    // A damaged list changes only what it names well.
    Profile().WriteString("brantel", "Visible", "59648=1;garbage;59396");
    frame->LoadBarState("brantel");
    EXPECT_TRUE(visible(log));
    EXPECT_TRUE(visible(tools));
}

TEST_F(FramesTest, PopupMenusUpdateThroughTheOwnerAndSendTheChoice)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(781));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 3u);
    EXPECT_EQ(popup->GetMenuItemID(1), 0u);
    PopupMenus().Pick(kDelete);
    EXPECT_EQ(popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 10, 20, frame), kDelete);
    EXPECT_EQ(frame->log, std::vector<std::string>{"delete"});
    const AfxMenu& shown = PopupMenus().Menus().at(0).menu;
    EXPECT_EQ(shown[0].item.strText, "Delete Rectangle");
    EXPECT_FALSE(shown[2].item.bEnabled); // no handler anywhere
    PopupMenus().Dismiss();
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 0, 0, frame), 0u);
    EXPECT_EQ(frame->log.size(), 1u);
}

TEST_F(FramesTest, ClientPointsAddUpTheWindowPlacesToTheScreen)
{
    // Without a peer that knows the screen, each window's place in its
    // parent's client area counts, up to the top-level window's own place.
    CWnd top, child, grandchild;
    ASSERT_TRUE(top.Create(nullptr, "top", WS_OVERLAPPEDWINDOW, CRect(100, 50, 600, 450), nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 20, 310, 220), &top, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(3, 4, 103, 104), &child, 2));
    const struct {
        CWnd* wnd;
        CPoint screen;
    } cases[] = {{&top, CPoint(105, 56)}, {&child, CPoint(115, 76)}, {&grandchild, CPoint(118, 80)}};
    for (const auto& c : cases) {
        CPoint point(5, 6);
        c.wnd->ClientToScreen(&point);
        EXPECT_EQ(point, c.screen) << c.wnd->GetDlgCtrlID();
    }
    CRect rect(0, 0, 30, 40);
    grandchild.ClientToScreen(&rect);
    EXPECT_EQ(rect, CRect(113, 74, 143, 114));
}

TEST_F(FramesTest, DestroyingTheFrameTellsItWhileItsChildrenExist)
{
    std::vector<std::string> seen;
    frame->destroyLog = &seen;
    CView* pane = frame->GetActiveView();
    pane->DestroyWindow(); // a view of the splitter goes on its own: the frame lets go of it
    EXPECT_EQ(frame->GetActiveView(), nullptr);
    frame->DestroyWindow(); // deletes the frame
    frame = nullptr;
    EXPECT_EQ(seen, std::vector<std::string>{"children alive"});
}

TEST_F(FramesTest, TabWindowShowsOneTabAndOffersItsScrollBar)
{
    CControlBar bar;
    ASSERT_TRUE(bar.CreateBar(frame, "Log Window", WS_VISIBLE, 0xE810));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    bar.Dock(AFX_IDW_DOCKBAR_BOTTOM, CSize(0, 100));
    CTabWnd tabs;
    ASSERT_TRUE(tabs.Create(&bar, WS_VISIBLE, AFX_IDW_PANE_FIRST));
    CEdit log, error;
    log.Create(nullptr, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, CRect(), &tabs,
               3094);
    error.Create(nullptr, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(), &tabs, 3095);
    tabs.AddTab(&log, "Log");
    tabs.AddTab(&error, "Error");
    CWnd* active = nullptr;
    EXPECT_EQ(tabs.GetActiveTab(&active), 0);
    EXPECT_EQ(active, &log);
    EXPECT_FALSE(error.IsWindowVisible());
    tabs.ScrollToTab(1);
    EXPECT_EQ(tabs.GetActiveTab(&active), 1);
    EXPECT_TRUE(error.IsWindowVisible());
    EXPECT_FALSE(log.IsWindowVisible());
    CScrollBar* scroll = tabs.GetScrollBar(SB_VERT);
    ASSERT_NE(scroll, nullptr);
    scroll->SetScrollRange(0, 12);
    int lo = 0, hi = 0;
    scroll->GetScrollRange(&lo, &hi);
    EXPECT_EQ(hi, 12);
    EXPECT_EQ(tabs.GetScrollBar(SB_HORZ), nullptr);
}

TEST(RecordingDCTest, RecordsDrawingWithArgumentsAndFixedMetrics)
{
    RecordingDC dc;
    dc.SetDeviceCaps(LOGPIXELSX, 600);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 800);
    CPen pen(PS_SOLID, 2, RGB(255, 0, 0));
    CBrush brush(RGB(0, 0, 255));
    LOGFONT lf{};
    lf.lfHeight = -13;
    lf.lfWeight = 700;
    std::strcpy(lf.lfFaceName, "DejaVu Sans");
    CFont font;
    font.CreateFontIndirect(&lf);
    EXPECT_EQ(dc.SelectObject(&pen), nullptr);
    CPen other(PS_DASH, 1, 0);
    EXPECT_EQ(dc.SelectObject(&other), &pen); // the one selected before
    dc.SelectObject(&brush);
    dc.SelectObject(&font);
    dc.TextOut(5, 6, CString("kN/m\xB2"));
    dc.MoveTo(0, 0);
    dc.LineTo(10, 20);
    dc.RoundRect(1, 2, 30, 40, 5, 5);
    dc.BitBlt(0, 0, 8, 8, nullptr, 1, 1, SRCCOPY);
    BITMAPINFO info{};
    info.bmiHeader.biBitCount = 24;
    dc.SetDIBitsToDevice(0, 0, 4, 3, 0, 0, 0, 3, nullptr, &info, DIB_RGB_COLORS);
    dc.StretchDIBits(0, 0, 8, 6, 0, 0, 4, 3, nullptr, &info, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dc.Calls(), (std::vector<std::string>{
                              "SelectObject pen 0 2 0x0000FF",
                              "SelectObject pen 1 1 0x000000",
                              "SelectObject brush 0xFF0000",
                              "SelectObject font -13 700 'DejaVu Sans'",
                              "TextOut 5 6 'kN/m\xB2'",
                              "MoveTo 0 0",
                              "LineTo 10 20",
                              "RoundRect 1 2 30 40 5 5",
                              "BitBlt 0 0 8 8 1 1 0x00CC0020",
                              "SetDIBitsToDevice 0 0 4 3 0 0 0 3 bits 24 0",
                              "StretchDIBits 0 0 8 6 0 0 4 3 bits 24 0 0x00CC0020",
                          }));
    EXPECT_EQ(AfxGetTextExtent(dc, "abcd"), CSize(24, 13));
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 13);
}

} // namespace

// Windows' message side: commands and notifications, sent and posted
// messages, window-message unpacking, destruction and timers.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"

using afxui::headless::HeadlessApp;

namespace
{

const CRect kNoRect;

// A window that writes what reaches it into a shared log.
class CLogWnd : public CWnd
{
public:
    CLogWnd(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log)
    {
    }

    void Make(CWnd* pParent = nullptr, UINT nID = 0)
    {
        ASSERT_TRUE(CWnd::Create(nullptr, m_name.c_str(), 0, kNoRect, pParent, nID));
    }

    CWnd* m_pSender = nullptr;      // GetNotifySender() in the last handler
    CLogWnd* m_pCoordDlg = nullptr; // the "coordinate dialog" (not owned)
    double m_dX = 0.0;
    bool m_bRepost = false;
    bool m_bDeleteOnNcDestroy = false;

    void Log(const std::string& what) { m_log.push_back(m_name + " " + what); }

protected:
    void OnFilterCommand()
    {
        m_pSender = GetNotifySender();
        Log("command 50008");
    }
    void OnFilterSelChange()
    {
        m_pSender = GetNotifySender();
        Log("selchange 50008");
    }
    void OnTool(UINT nID)
    {
        m_pSender = GetNotifySender();
        Log("tool " + std::to_string(nID));
    }
    void OnTabChange(NMHDR* pHeader, LRESULT* pResult)
    {
        m_pSender = GetNotifySender();
        Log("tab " + std::to_string(pHeader->idFrom));
        *pResult = 7;
    }
    LRESULT OnEnterCoord(WPARAM wParam, LPARAM lParam)
    {
        Log(AfxFormat("0x405 %lu %ld", static_cast<unsigned long>(wParam),
                      static_cast<long>(lParam)));
        if (wParam == 50006 && m_pCoordDlg)
            m_pCoordDlg->m_dX = 12.5; // the absolute point, written back
        if (m_bRepost) {
            m_bRepost = false;
            PostMessage(0x406, 1, 0);
        }
        return 77;
    }
    LRESULT OnEnterCoord3D(WPARAM wParam, LPARAM)
    {
        Log("0x406 " + std::to_string(wParam));
        return 0;
    }
    int OnCreate(LPCREATESTRUCT cs)
    {
        Log(std::string("create ") + cs->lpszName);
        return m_name == "refuses" ? -1 : 0;
    }
    void OnDestroy()
    {
        // Children still exist while their parent hears WM_DESTROY.
        if (!m_pCoordDlg)
            Log("destroy");
        else
            Log(m_pCoordDlg->GetSafeHwnd() ? "destroy (child alive)" : "destroy (child gone)");
    }
    void OnTimer(UINT_PTR nIDEvent)
    {
        Log("timer " + std::to_string(nIDEvent));
        if (nIDEvent == 26)
            KillTimer(26);
    }
    void OnMouseMove(UINT nFlags, CPoint pt)
    {
        Log(AfxFormat("move %u %d,%d", nFlags, int(pt.x), int(pt.y)));
    }
    void OnLButtonDown(UINT nFlags, CPoint pt)
    {
        Log(AfxFormat("ldown %u %d,%d", nFlags, int(pt.x), int(pt.y)));
    }
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        Log(AfxFormat("wheel %u %d %d,%d", nFlags, zDelta, int(pt.x), int(pt.y)));
        return TRUE;
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        Log(AfxFormat("key %u %u %u", nChar, nRepCnt, nFlags));
    }
    void OnSize(UINT nType, int cx, int cy) { Log(AfxFormat("size %u %d %d", nType, cx, cy)); }
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar)
    {
        Log(AfxFormat("vscroll %u %u %s", nSBCode, nPos, pBar ? "bar" : "own"));
    }
    void OnSetFocus(CWnd* pOld)
    {
        Log(std::string("setfocus from ") + (pOld ? "a window" : "none"));
    }
    BOOL OnSetCursor(CWnd*, UINT nHitTest, UINT message)
    {
        Log(AfxFormat("cursor %u 0x%x", nHitTest, message));
        return TRUE;
    }
    void OnShowWindow(BOOL bShow, UINT nStatus) { Log(AfxFormat("show %d %u", bShow, nStatus)); }
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
    {
        Log(AfxFormat("setting %u %s", uFlags, lpszSection ? lpszSection : "-"));
    }
    void PostNcDestroy() override
    {
        Log("ncdestroy");
        if (m_bDeleteOnNcDestroy)
            delete this;
    }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

BEGIN_MESSAGE_MAP(CLogWnd, CWnd)
ON_COMMAND(50008, OnFilterCommand)
ON_CBN_SELCHANGE(50008, OnFilterSelChange)
ON_COMMAND_RANGE(32772, 32777, OnTool)
ON_NOTIFY(TCN_SELCHANGE, 300, OnTabChange)
ON_MESSAGE(0x405, OnEnterCoord)
ON_MESSAGE(0x406, OnEnterCoord3D)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_SIZE()
ON_WM_VSCROLL()
ON_WM_SETFOCUS()
ON_WM_SETCURSOR()
ON_WM_SHOWWINDOW()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

class MessagesTest : public HeadlessApp
{
protected:
    std::vector<std::string> log;
    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }
};

TEST_F(MessagesTest, CommandsAndNotificationsReachTheirOwnEntries)
{
    CLogWnd frame("frame", log), combo("combo", log), tab("tab", log);
    frame.Make();
    combo.Make(&frame, 50008);
    tab.Make(&frame, 300);
    Take();

    // Selection change of combo 50008 (code 1): only the notification entry.
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(50008, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
    EXPECT_EQ(Take(), std::vector<std::string>{"frame selchange 50008"});
    EXPECT_EQ(frame.m_pSender, &combo);
    EXPECT_EQ(CCmdTarget::GetNotifySender(), nullptr);

    // A menu command, and an accelerator (code 1 without a control): commands.
    for (WORD code : {WORD(0), WORD(1)}) {
        frame.SendMessage(WM_COMMAND, MAKEWPARAM(50008, code), 0);
        EXPECT_EQ(Take(), std::vector<std::string>{"frame command 50008"});
        EXPECT_EQ(frame.m_pSender, nullptr);
    }

    // A range handler receives the id.
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(32775, 0), 0);
    EXPECT_EQ(Take(), std::vector<std::string>{"frame tool 32775"});

    // WM_NOTIFY by code and id, with the result written back.
    NMHDR header{tab.GetSafeHwnd(), 300, TCN_SELCHANGE};
    EXPECT_EQ(frame.SendMessage(WM_NOTIFY, 300, reinterpret_cast<LPARAM>(&header)), 7);
    EXPECT_EQ(Take(), std::vector<std::string>{"frame tab 300"});
    EXPECT_EQ(frame.m_pSender, &tab);
    header.code = TCN_SELCHANGING;
    EXPECT_EQ(frame.SendMessage(WM_NOTIFY, 300, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_TRUE(Take().empty());
}

TEST_F(MessagesTest, SendMessageRunsTheHandlerBeforeItReturns)
{
    CLogWnd frame("frame", log), dialog("dialog", log);
    frame.Make();
    dialog.Make(&frame);
    frame.m_pCoordDlg = &dialog;
    Take();

    // "Enter Offset": the parent writes the absolute point back at once.
    EXPECT_EQ(dialog.GetParent()->SendMessage(0x405, 50006, 0), 77);
    EXPECT_EQ(dialog.m_dX, 12.5);

    // wParam and lParam arrive unchanged, whole words.
    const LPARAM big = -0x123456789AB;
    frame.SendMessage(0x405, 50007, big);
    EXPECT_EQ(Take(), (std::vector<std::string>{"frame 0x405 50006 0",
                                                "frame 0x405 50007 " + std::to_string(big)}));
}

TEST_F(MessagesTest, PostedMessagesKeepTheirOrderAndSkipDeadWindows)
{
    CLogWnd a("a", log), b("b", log);
    a.Make();
    b.Make();
    CLogWnd* dead = new CLogWnd("dead", log);
    dead->Make();
    CLogWnd* gone = new CLogWnd("gone", log);
    gone->Make();
    gone->m_bDeleteOnNcDestroy = true;
    Take();

    a.m_bRepost = true; // its first 0x405 posts 0x406 to itself
    EXPECT_TRUE(a.PostMessage(0x405, 1, 0));
    EXPECT_TRUE(dead->PostMessage(0x405, 9, 0));
    EXPECT_TRUE(b.PostMessage(0x405, 2, 0));
    EXPECT_TRUE(gone->PostMessage(0x405, 9, 0));
    EXPECT_TRUE(a.PostMessage(0x405, 3, 0));
    delete dead;           // destroyed with a message pending
    gone->DestroyWindow(); // deletes itself
    Take();
    EXPECT_TRUE(log.empty()); // nothing is delivered before the pump

    PumpPosted();
    EXPECT_EQ(Take(),
              (std::vector<std::string>{"a 0x405 1 0", "b 0x405 2 0", "a 0x405 3 0", "a 0x406 1"}));
    PumpPosted();
    EXPECT_TRUE(log.empty());

    // A window that no longer exists takes no messages.
    CLogWnd never("never", log);
    EXPECT_FALSE(never.PostMessage(0x405, 1, 0));
    EXPECT_EQ(never.SendMessage(0x405, 1, 0), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(MessagesTest, WindowMessagesAreUnpackedAsTheHandlersTakeThem)
{
    CLogWnd wnd("w", log), other("other", log);
    wnd.Make();
    other.Make();
    Take();
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* logged;
    };
    const Case cases[] = {
        {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(WORD(-5), 7), "w move 5 -5,7"},
        {WM_LBUTTONDOWN, MK_CONTROL, MAKELPARAM(640, WORD(-1)), "w ldown 8 640,-1"},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_RBUTTON, WORD(-240)), MAKELPARAM(100, 200),
         "w wheel 2 -240 100,200"},
        {WM_KEYDOWN, VK_DELETE, MAKELPARAM(3, 0x153), "w key 46 3 339"},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600), "w size 0 800 600"},
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 345), 0, "w vscroll 5 345 own"},
        {WM_SETFOCUS, reinterpret_cast<WPARAM>(other.GetSafeHwnd()), 0, "w setfocus from a window"},
        {WM_SETFOCUS, 0, 0, "w setfocus from none"},
        {WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.GetSafeHwnd()),
         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), "w cursor 1 0x200"},
        {WM_SHOWWINDOW, TRUE, 0, "w show 1 0"},
        {WM_SETTINGCHANGE, 0, 0, "w setting 0 -"},
        {WM_TIMER, 26, 0, "w timer 26"},
    };
    for (const Case& c : cases) {
        wnd.SendMessage(c.message, c.wParam, c.lParam);
        EXPECT_EQ(Take(), std::vector<std::string>{c.logged}) << c.message;
    }
    // Messages without a handler do nothing.
    EXPECT_EQ(wnd.SendMessage(WM_PAINT), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(MessagesTest, DestroyWindowTellsTheParentFirstThenItsChildren)
{
    CLogWnd parent("parent", log);
    CLogWnd* child = new CLogWnd("child", log);
    parent.Make();
    child->Make(&parent, 7);
    child->m_bDeleteOnNcDestroy = true;
    parent.m_pCoordDlg = child;
    EXPECT_EQ(child->GetParent(), &parent);
    EXPECT_EQ(child->GetDlgCtrlID(), 7);
    const HWND hChild = child->GetSafeHwnd();

    EXPECT_TRUE(parent.DestroyWindow());
    parent.m_pCoordDlg = nullptr; // the child deleted itself
    EXPECT_EQ(Take(), (std::vector<std::string>{"parent create parent", "child create child",
                                                "parent destroy (child alive)", "child destroy",
                                                "child ncdestroy", "parent ncdestroy"}));
    EXPECT_EQ(CWnd::FromHandle(hChild), nullptr);
    EXPECT_EQ(parent.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(parent.DestroyWindow());

    // An OnCreate that refuses undoes the creation.
    CLogWnd refuses("refuses", log);
    EXPECT_FALSE(refuses.Create(nullptr, "refuses", 0, kNoRect, nullptr, 0));
    EXPECT_EQ(refuses.GetSafeHwnd(), nullptr);
}

TEST_F(MessagesTest, TimersFireFromThePumpOnTheManualClock)
{
    CLogWnd view("view", log);
    view.Make();
    Take();

    // 0 ms: on the next pump pass; the handler kills it, so it fires once.
    EXPECT_EQ(view.SetTimer(26, 0, nullptr), 26u);
    EXPECT_TRUE(log.empty());
    PumpPosted();
    PumpPosted();
    FireTimers(1000);
    EXPECT_EQ(Take(), std::vector<std::string>{"view timer 26"});

    // 100 ms: only once the clock has passed 100 ms, then every 100 ms.
    view.SetTimer(7, 100);
    FireTimers(99);
    EXPECT_TRUE(log.empty());
    FireTimers(1);
    EXPECT_EQ(Take(), std::vector<std::string>{"view timer 7"});
    EXPECT_EQ(AfxNextTimerDue(), 100);
    FireTimers(250); // late: fires once, not once per period missed
    EXPECT_EQ(Take(), std::vector<std::string>{"view timer 7"});

    // Setting an id again restarts it; KillTimer stops it.
    view.SetTimer(7, 100);
    FireTimers(60);
    view.SetTimer(7, 100);
    FireTimers(60);
    EXPECT_TRUE(log.empty());
    FireTimers(40);
    EXPECT_EQ(Take(), std::vector<std::string>{"view timer 7"});
    EXPECT_TRUE(view.KillTimer(7));
    EXPECT_FALSE(view.KillTimer(7));
    FireTimers(1000);
    EXPECT_TRUE(log.empty());

    // A 0 ms timer that is not killed fires once per pass; a destroyed
    // window's timers are gone.
    view.SetTimer(3, 0);
    PumpPosted();
    PumpPosted();
    EXPECT_EQ(Take(), (std::vector<std::string>{"view timer 3", "view timer 3"}));
    view.DestroyWindow();
    Take();
    PumpPosted();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(AfxNextTimerDue(), -1);
}

TEST(NoBackendTest, CreatingAWindowFailsClearlyAndBoxesStillReachStandardError)
{
    ASSERT_EQ(AfxGetWndBackend(), nullptr);
    CWnd wnd;
    try {
        wnd.Create(nullptr, "view", 0, kNoRect, nullptr, 0);
        ADD_FAILURE() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("without a window backend"), std::string::npos);
    }
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(wnd.MessageBox("Device busy drawing", "Brantel", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Brantel: Device busy drawing\n");
}

} // namespace

// CWnd: a window as the program sees it. Its state (id, parent, style,
// text, enabled, visible, geometry and a control's own values) lives in one
// record per window handle, as a system window's would; a CWnd object is a
// wrapper that names the record by its handle. The object that created the
// window receives its messages; another object may be bound to the same
// control (SubclassDlgItem, used by DDX_Control): it then sees the same
// state and receives the messages, while GetDlgItem still gives the first.
//
// A window's pixels and input belong to a peer that the backend makes for
// it. The layer tells the peer what changed (CWndPeer::Update); the peer
// reports what the user did through AfxInput (platform/ui/core/input.h).
// The layer decides every notification: peers never send one.
//
// A backend is installed explicitly: the program installs the Qt backend in
// main(), tests install the headless one (HeadlessApp). Without one, creating
// a window fails with a clear error, while message boxes still reach the
// message service (standard error by default).
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/afx/cstring.h"
#include "platform/afx/gdi.h"
#include "platform/afx/message.h"
#include "platform/ui/core/cmdtarget.h"
#include "platform/ui/core/uitypes.h"

class CWnd;
class CWndPeer;
struct CWndState;
class CFont;

typedef CBitmap* HBITMAP;
typedef int* LPINT;
typedef std::uintptr_t DWORD_PTR;

// Called for a timer set with a callback instead of WM_TIMER.
typedef void (*TIMERPROC)(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);

// What kind of window a record holds; it decides the messages the window
// answers by itself and what its peer shows.
enum class AfxWndKind : BYTE {
    window,
    edit,
    button,
    staticText,
    comboBox,
    listBox,
    spin,
    tab,
    scrollBar,
    colorButton,
    listEdit,
    pictureButton,
};

// The part of a window's state that changed, for its peer.
enum AfxPeerChange : UINT {
    PEER_TEXT = 0x0001,
    PEER_ENABLED = 0x0002,
    PEER_VISIBLE = 0x0004,
    PEER_GEOMETRY = 0x0008,
    PEER_CHECK = 0x0010,
    PEER_ITEMS = 0x0020,
    PEER_SELECTION = 0x0040,
    PEER_RANGE = 0x0080,
    PEER_BITMAP = 0x0100,
    PEER_FOCUS = 0x0200,
    PEER_STYLE = 0x0400,
    PEER_COLOR = 0x0800,
    PEER_TOOLTIP = 0x1000,
    PEER_ALL = 0x1FFF,
};

// A window's pixels and input, made by the backend. Update shows the
// record's new state; the User* calls act as a user would on the real
// widget, so one test drives either peer family (the headless peer passes
// them straight to AfxInput, the Qt peer through real widget events).
class CWndPeer
{
public:
    virtual ~CWndPeer() = default;
    virtual void Update(const CWndState& state, UINT nChanges) = 0;

    virtual void UserFocus() = 0;
    virtual void UserClick() = 0;
    // Types text over the selection (an edit or an editable combo).
    virtual void UserType(const CString& text) = 0;
    virtual void UserSelect(int nIndex) = 0; // combo, list box, tab, list editor
    virtual void UserSpin(int nDelta) = 0;   // spin: arrow steps, up positive
    virtual void UserScroll(UINT nSBCode, int nPos) = 0;
    // The window's pixels are stale: the peer repaints them through its own
    // paint event (which sends WM_PAINT with a paint context attached),
    // later for Invalidate or at once for UpdateWindow, and returns true.
    // False (the default) leaves WM_PAINT to the layer's queue.
    virtual bool Repaint(bool /*bNow*/) { return false; }
    // Moves a point of the window's client area (the window's own pixels)
    // to the screen and returns true; false (the default) leaves it to the
    // layer, which adds up the window rectangles.
    virtual bool ClientToScreen(CPoint& /*point*/) const { return false; }
};

// The event-loop side of a backend and its peer factory.
class CWndBackend
{
public:
    virtual ~CWndBackend() = default;
    // A short name for messages ("headless", "qt").
    virtual LPCTSTR GetName() const = 0;
    // A monotonic clock in milliseconds; timers fall due against it.
    virtual ULONGLONG GetTickCount() = 0;
    // A message was posted or a timer changed: the backend arranges for
    // AfxPumpMessages to run from its loop soon (the headless backend leaves
    // that to the test).
    virtual void WakeUp() = 0;
    // The peer of a new window (null: a window without pixels).
    virtual std::unique_ptr<CWndPeer> CreatePeer(const CWndState& state) = 0;
    // The dialog font's metrics in pixels: the width of "A"-"Z" and "a"-"z"
    // together, and the height.
    virtual void GetDialogFontMetrics(int& nLettersWidth, int& nHeight) = 0;
    // The size of the screen in pixels (headless: 800 x 600, as the
    // recording DC's device).
    virtual CSize GetScreenSize() { return CSize(800, 600); }
    // Runs a modal dialog that is up until it is ended (see CDialog::DoModal,
    // which asks the modal hook first). The base has no loop and throws
    // std::logic_error naming the dialog.
    virtual void RunModalLoop(CWnd& dialog, UINT nIDTemplate, const CString& strCaption);
    // The dialog's EndDialog ran: a running modal loop for it returns.
    virtual void EndModalLoop(CWnd& /*dialog*/) {}
    // Where a frame's control bars sit (areas, order, floating places), as
    // bytes only this backend reads back; empty when it keeps no layout.
    // RestoreBarLayout ignores bytes it cannot read.
    virtual std::vector<BYTE> SaveBarLayout(CWnd& /*frame*/) { return {}; }
    virtual void RestoreBarLayout(CWnd& /*frame*/, const std::vector<BYTE>& /*layout*/) {}
    // Lays out an MDI frame's child windows (not in workbook mode):
    // ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ or ID_WINDOW_ARRANGE. A backend
    // without windows leaves them.
    virtual void ArrangeChildFrames(CWnd& /*frame*/, UINT /*nCommand*/) {}
};

// Installs a backend (not owned; null uninstalls) and returns the previous one.
CWndBackend* AfxSetWndBackend(CWndBackend* pBackend);
// The installed backend, or null.
CWndBackend* AfxGetWndBackend();

struct AfxListItem {
    CString strText;
    DWORD_PTR dwData = 0;
};

// One live window's state (owned by the layer from Create to DestroyWindow).
struct CWndState {
    HWND hWnd = nullptr;
    CWnd* pOwner = nullptr; // created it; GetDlgItem gives it (not owned)
    CWnd* pBound = nullptr; // a second object bound to it (not owned)
    HWND hWndParent = nullptr;
    UINT nID = 0;
    DWORD dwStyle = 0;
    AfxWndKind kind = AfxWndKind::window;
    CString strText;
    BOOL bEnabled = TRUE;
    BOOL bVisible = TRUE;
    CRect rect; // in the parent's client pixels

    int nCheck = 0;                 // buttons
    int nSelStart = 0, nSelEnd = 0; // edits, in bytes ("\r\n" counts 2)
    int nLimit = 30000;             // edits
    std::vector<AfxListItem> items; // combos, lists, tabs, list editors
    std::vector<int> tabStops;      // LBS_USETABSTOPS lists, in dialog units
    int nCurSel = -1;
    int nLower = 0, nUpper = 100, nPos = 0; // spins and scroll bars
    HWND hWndBuddy = nullptr;               // spins
    HBITMAP hBitmap = nullptr;              // pictures (not owned)
    UINT nBitmapID = 0;                     // pictures and picture buttons
    COLORREF color = 0;                     // colour buttons
    // The window's own font (SetFont); its peer shows it from PEER_STYLE on.
    std::optional<LOGFONT> font;
    CString strToolTip;                     // shown while the mouse rests on it

    // The window's own scroll bars (WS_HSCROLL, WS_VSCROLL): SB_HORZ, SB_VERT.
    struct ScrollBar {
        int nMin = 0, nMax = 100, nPos = 0;
    } scrollBars[2];

    std::unique_ptr<CWndPeer> peer;
    bool bDestroying = false;

    // Tells the peer (if any) what changed.
    void Changed(UINT nChanges) const;
    // The object that receives the window's messages: the bound one, which
    // took the window over, else the one that created it.
    CWnd* Target() const { return pBound ? pBound : pOwner; }
};

class CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    // A window this object created and that is still alive is destroyed
    // first; a bound object only lets go of it.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr; // null before Create and after DestroyWindow

    // Creates the window as a child of pParentWnd (may be null) with the
    // control or pane id nID, makes its peer, then sends WM_CREATE; an
    // OnCreate returning -1 destroys it again and gives FALSE. Throws
    // std::logic_error when no backend is installed or the window exists.
    // WS_VISIBLE and WS_DISABLED give the first state.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Sends WM_DESTROY (children still exist then), destroys the children,
    // drops the window's timers, focus, peer and handle (messages posted to
    // it are then dropped), and calls PostNcDestroy. FALSE without a window.
    virtual BOOL DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The window object of a live handle, or null.
    static CWnd* FromHandle(HWND hWnd);
    // The state of this window, or null when it does not exist.
    CWndState* GetState() const;
    CWndPeer* GetPeer() const;

    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    DWORD GetStyle() const;
    void ModifyStyle(DWORD dwRemove, DWORD dwAdd);
    // Gives the window its own font (a copy of the font's LOGFONT).
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    // The parent while both windows live, else null.
    CWnd* GetParent() const;

    // Texts are kept exactly as given ("&", "\r\n" ...).
    void SetWindowText(LPCTSTR lpszString);
    // The tooltip of the window (what a tooltip control adds for it); an
    // empty text removes it.
    void SetToolTipText(LPCTSTR lpszText);
    CString GetToolTipText() const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    BOOL EnableWindow(BOOL bEnable = TRUE); // TRUE when it was disabled
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow); // TRUE when it was visible
    BOOL IsWindowVisible() const;
    void MoveWindow(const RECT& rect, BOOL bRepaint = TRUE);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    // Client pixels to screen pixels, where popup menus are placed: the
    // peer's place on the screen, else the window's rectangle and those of
    // its parents added up (a top-level window's rectangle is on the screen).
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;

    // Focus: the old window gets WM_KILLFOCUS (an edit then notifies
    // EN_KILLFOCUS) before the new one gets WM_SETFOCUS.
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // Controls by id: the object that made the control (the same one for
    // the window's whole life), or null. IDC_STATIC is never found.
    CWnd* GetDlgItem(int nID) const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    UINT GetDlgItemText(int nID, CString& rString) const;
    // Binds this object to the parent's control nID, as DDX_Control does;
    // a control takes one bound object only (std::logic_error otherwise).
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Dialog units to pixels (see AfxGetDialogBaseUnits).
    void MapDialogRect(LPRECT lpRect) const;

    // Runs the window's handler now and returns its result (0 when the
    // window does not exist).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message; it is delivered in order from the next pump pass,
    // and dropped if the window is destroyed before. FALSE without a window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A timer sends WM_TIMER (or calls lpfnTimer) each time nElapse ms have
    // passed; 0 ms means on every pump pass. Setting an id again restarts it.
    // Returns nIDEvent, or 0 without a window.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // The window's own scroll bars (nBar SB_HORZ or SB_VERT); the position
    // stays within the range. SetScrollPos returns the old position.
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    // Repaints: WM_PAINT now (UpdateWindow) or at the next pump (Invalidate).
    void Invalidate(BOOL bErase = TRUE);
    // The mouse capture: the window hosts grab the mouse by themselves
    // while a button is held, so taking it does nothing (no previous one).
    CWnd* SetCapture() { return nullptr; }
    void UpdateWindow();

    // A message box through the message service, with this caption.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // The controls this window made from a template (it owns them).
    void AdoptControl(std::unique_ptr<CWnd> pControl);

protected:
    // Dispatch: the message map first, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: the id in wParam's low word, the code in its high word and
    // the sending control's handle in lParam (0 for menus and accelerators).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: lParam points at the NMHDR.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // What a message without a handler does: a control answers its own
    // messages and notifies its parent of focus changes.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc for the message being handled, for handlers that add to
    // what the window does by itself.
    LRESULT Default();
    // Called last in DestroyWindow; windows that own themselves delete
    // themselves here.
    virtual void PostNcDestroy() {}
    // The kind of window Create makes (controls override it).
    virtual AfxWndKind GetWndKind() const { return AfxWndKind::window; }

private:
    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CurrentMessage m_current;                      // the message being dispatched to this object
    std::vector<std::unique_ptr<CWnd>> m_controls; // made from a template (owned)
};

// The main window: the parent of dialogs given none, and the owner of
// commands from popup menus: the application's m_pMainWnd, or the window
// set here when there is no application object (null: none).
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* pWnd);

// The child windows of a window, in creation (template) order.
std::vector<CWndState*> AfxGetChildStates(HWND hWndParent);
// The state of a live handle, or null.
CWndState* AfxGetWndState(HWND hWnd);
// Destroys every window still alive, the newest top-level window first with
// its children. The program calls it before its toolkit goes, so that no
// peer outlives the toolkit (a start that failed leaves its main window).
void AfxDestroyAllWindows();

// Sends a control's notification (WM_COMMAND with the code, the control's id
// and handle) to its parent.
void AfxNotifyParent(const CWndState& state, UINT nCode);
// Answers the messages a control handles by itself (focus notifications,
// raw list and combo messages); FALSE when the message is not one of them.
BOOL AfxControlWindowProc(CWndState& state, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& lResult);

// The pixel size of one dialog unit times 4 (x) and 8 (y): the dialog
// font's average letter width and its height.
CSize AfxGetDialogBaseUnits();
int AfxMulDiv(int nNumber, int nNumerator, int nDenominator);

// One pass of the message loop: delivers the posted messages in order,
// including those posted meanwhile, then fires every timer that is due on
// the backend's clock, each at most once.
void AfxPumpMessages();
// Milliseconds until the next timer falls due (0: due now), or -1 for none.
LONGLONG AfxNextTimerDue();

// CWnd, the message side of a window: its handle, id and parent, sent and
// posted messages, timers and its destruction. A window's pixels and input
// belong to a peer that a backend makes for it; peers attach in Create (the
// marked place in wnd.cpp) and are released in DestroyWindow.
//
// A backend is installed explicitly: the program installs the Qt backend in
// main(), tests install the headless one (HeadlessApp). Without one, creating
// a window fails with a clear error, while message boxes still reach the
// message service (standard error by default).
#pragma once

#include "platform/afx/cstring.h"
#include "platform/afx/message.h"
#include "platform/ui/core/cmdtarget.h"

// Called for a timer set with a callback instead of WM_TIMER.
typedef void (*TIMERPROC)(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);

// The event-loop side of a backend.
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
};

// Installs a backend (not owned; null uninstalls) and returns the previous one.
CWndBackend* AfxSetWndBackend(CWndBackend* pBackend);
// The installed backend, or null.
CWndBackend* AfxGetWndBackend();

class CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    // A window still alive is destroyed first.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr; // null before Create and after DestroyWindow

    // Creates the window as a child of pParentWnd (may be null) with the
    // control or pane id nID, then sends WM_CREATE; an OnCreate returning -1
    // destroys it again and gives FALSE. Throws std::logic_error when no
    // backend is installed or the window exists already.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Sends WM_DESTROY (children still exist then), destroys the children,
    // drops the window's timers and handle (messages posted to it are then
    // dropped), and calls PostNcDestroy. FALSE when there is no window.
    virtual BOOL DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The live window of a handle, or null for a destroyed or unknown one.
    static CWnd* FromHandle(HWND hWnd);

    int GetDlgCtrlID() const { return static_cast<int>(m_nID); }
    int SetDlgCtrlID(int nID);
    DWORD GetStyle() const { return m_dwStyle; }
    // The parent while both windows live, else null.
    CWnd* GetParent() const;

    // Runs the window's handler now and returns its result (0 when the
    // window does not exist).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message; it is delivered in order from the next pump pass,
    // and dropped if the window is destroyed before. FALSE without a window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A timer sends WM_TIMER (or calls lpfnTimer) each time nElapse ms have
    // passed; 0 ms means on every pump pass. Setting an id again restarts it.
    // Returns nIDEvent, or 0 without a window.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // A message box through the message service, with this caption.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

protected:
    // Dispatch: the message map first, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: the id in wParam's low word, the code in its high word and
    // the sending control's handle in lParam (0 for menus and accelerators).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: lParam points at the NMHDR.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // What a message without a handler does (nothing yet: peers add to it).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called last in DestroyWindow; windows that own themselves delete
    // themselves here.
    virtual void PostNcDestroy() {}

private:
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
    HWND m_hWndParent = nullptr;
    bool m_bDestroying = false;
};

// One pass of the message loop: delivers the posted messages in order,
// including those posted meanwhile, then fires every timer that is due on
// the backend's clock, each at most once.
void AfxPumpMessages();
// Milliseconds until the next timer falls due (0: due now), or -1 for none.
LONGLONG AfxNextTimerDue();

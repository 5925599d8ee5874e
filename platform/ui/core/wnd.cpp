#include "platform/ui/core/wnd.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace
{

// The UI state of the process (one UI thread): the backend, the live
// windows by handle, the posted messages and the timers.
struct PostedMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct Timer {
    HWND hWnd;
    UINT_PTR nIDEvent;
    UINT nElapse;
    TIMERPROC lpfn;
    ULONGLONG due;
    ULONGLONG serial; // tells a timer from a later one set with the same id
};

struct UiState {
    CWndBackend* backend = nullptr; // not owned; set and reset by AfxSetWndBackend
    std::uintptr_t lastHandle = 0;  // handles count up and are never reused
    std::map<std::uintptr_t, CWnd*> windows; // not owned; in creation order
    std::deque<PostedMessage> posted;
    std::vector<Timer> timers;
    ULONGLONG lastSerial = 0;
};

UiState& State()
{
    static UiState state;
    return state;
}

std::uintptr_t Key(HWND h)
{
    return reinterpret_cast<std::uintptr_t>(h);
}

ULONGLONG Now()
{
    CWndBackend* backend = State().backend;
    return backend ? backend->GetTickCount() : 0;
}

void WakeUp()
{
    if (CWndBackend* backend = State().backend)
        backend->WakeUp();
}

void RemoveTimers(HWND hWnd, bool (*match)(const Timer&, HWND, UINT_PTR), UINT_PTR nIDEvent)
{
    auto& timers = State().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const Timer& t) { return match(t, hWnd, nIDEvent); }),
                 timers.end());
}

bool SameWindow(const Timer& t, HWND hWnd, UINT_PTR)
{
    return t.hWnd == hWnd;
}

bool SameTimer(const Timer& t, HWND hWnd, UINT_PTR nIDEvent)
{
    return t.hWnd == hWnd && t.nIDEvent == nIDEvent;
}

} // namespace

CWndBackend* AfxSetWndBackend(CWndBackend* pBackend)
{
    CWndBackend* old = State().backend;
    State().backend = pBackend;
    return old;
}

CWndBackend* AfxGetWndBackend()
{
    return State().backend;
}

CWnd* AfxWndFromHandle(HWND hWnd)
{
    return CWnd::FromHandle(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    const auto& windows = State().windows;
    auto it = windows.find(Key(hWnd));
    return it == windows.end() ? nullptr : it->second;
}

CWnd::~CWnd()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    UiState& state = State();
    if (!state.backend)
        throw std::logic_error(
            "a window cannot be created without a window backend: the program installs the Qt "
            "backend in main(), tests derive from HeadlessApp");
    if (m_hWnd)
        throw std::logic_error("CWnd::Create: the window exists already");

    m_hWnd = reinterpret_cast<HWND>(++state.lastHandle);
    state.windows[Key(m_hWnd)] = this;
    m_nID = nID;
    m_dwStyle = dwStyle;
    m_hWndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    // The backend's peer for this window is made here, before WM_CREATE.

    CREATESTRUCT cs{nullptr, m_hWndParent, nID, rect.bottom - rect.top, rect.right - rect.left,
                    rect.top, rect.left, dwStyle, lpszWindowName, lpszClassName, 0};
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd || m_bDestroying)
        return FALSE;
    m_bDestroying = true;
    const HWND hWnd = m_hWnd;
    SendMessage(WM_DESTROY);

    // Children go after their parent's WM_DESTROY, in creation order.
    std::vector<HWND> children;
    for (const auto& [key, wnd] : State().windows)
        if (wnd->m_hWndParent == hWnd)
            children.push_back(wnd->m_hWnd);
    for (HWND child : children)
        if (CWnd* wnd = FromHandle(child))
            wnd->DestroyWindow();

    RemoveTimers(hWnd, SameWindow, 0);
    State().windows.erase(Key(hWnd));
    // The peer is released here.
    m_hWnd = nullptr;
    m_bDestroying = false;
    PostNcDestroy(); // may delete this
    return TRUE;
}

int CWnd::SetDlgCtrlID(int nID)
{
    const int old = static_cast<int>(m_nID);
    m_nID = static_cast<UINT>(nID);
    return old;
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(m_hWndParent);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return FALSE;
    State().posted.push_back({m_hWnd, message, wParam, lParam});
    WakeUp();
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    if (!m_hWnd)
        return 0;
    UiState& state = State();
    RemoveTimers(m_hWnd, SameTimer, nIDEvent);
    state.timers.push_back({m_hWnd, nIDEvent, nElapse, lpfnTimer, Now() + nElapse, ++state.lastSerial});
    WakeUp();
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    const std::size_t before = State().timers.size();
    RemoveTimers(m_hWnd, SameTimer, nIDEvent);
    return State().timers.size() != before;
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return AfxGetMessageService()->MessageBox(lpszText, lpszCaption, nType);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        *pResult = 0;
        return OnCommand(wParam, lParam);
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (!entry)
        return FALSE;
    *pResult = entry->pfn(this, AFX_MSGCALL{0, wParam, lParam, nullptr, nullptr});
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    const UINT nID = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (!hWndCtrl)
        return OnCmdMsg(nID, static_cast<int>(CN_COMMAND), nullptr, nullptr);
    CNotifySenderScope scope(hWndCtrl);
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (!pHeader)
        return FALSE;
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(WM_NOTIFY, pHeader->code, static_cast<UINT>(pHeader->idFrom));
    if (!entry)
        return FALSE;
    *pResult = 0;
    CNotifySenderScope scope(pHeader->hwndFrom);
    entry->pfn(this, AFX_MSGCALL{static_cast<UINT>(pHeader->idFrom), 0, lParam, pHeader, pResult});
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM)
{
    return 0;
}

void AfxPumpMessages()
{
    UiState& state = State();
    // Posted messages, including those posted while this loop runs.
    while (!state.posted.empty()) {
        const PostedMessage msg = state.posted.front();
        state.posted.pop_front();
        if (CWnd* wnd = CWnd::FromHandle(msg.hWnd))
            wnd->SendMessage(msg.message, msg.wParam, msg.lParam);
    }

    // Timers due now, in order of due time, each at most once: a handler may
    // kill or set timers, so each is looked up again before it fires.
    const ULONGLONG now = Now();
    std::vector<Timer> due;
    for (const Timer& t : state.timers)
        if (t.due <= now)
            due.push_back(t);
    std::stable_sort(due.begin(), due.end(),
                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
    for (const Timer& d : due) {
        auto it = std::find_if(state.timers.begin(), state.timers.end(),
                               [&](const Timer& t) { return t.serial == d.serial; });
        if (it == state.timers.end())
            continue;
        it->due = now + it->nElapse;
        if (d.lpfn)
            d.lpfn(d.hWnd, WM_TIMER, d.nIDEvent, static_cast<DWORD>(now));
        else if (CWnd* wnd = CWnd::FromHandle(d.hWnd))
            wnd->SendMessage(WM_TIMER, d.nIDEvent, 0);
    }
}

LONGLONG AfxNextTimerDue()
{
    const auto& timers = State().timers;
    if (timers.empty())
        return -1;
    const ULONGLONG now = Now();
    ULONGLONG next = timers.front().due;
    for (const Timer& t : timers)
        next = std::min(next, t.due);
    return next <= now ? 0 : static_cast<LONGLONG>(next - now);
}

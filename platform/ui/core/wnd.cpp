#include "platform/ui/core/wnd.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/afx/numconv.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/gdi.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace
{

// The UI state of the process (one UI thread): the backend, the live
// windows by handle, the focus, the posted messages and the timers.
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
    std::map<std::uintptr_t, std::unique_ptr<CWndState>> windows; // in creation order
    HWND hWndFocus = nullptr;
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

CWndState* StateOf(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto& windows = State().windows;
    auto it = windows.find(Key(hWnd));
    return it == windows.end() ? nullptr : it->second.get();
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

template <class Match> void RemoveTimers(Match match)
{
    auto& timers = State().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), match), timers.end());
}

} // namespace

void CWndState::Changed(UINT nChanges) const
{
    if (peer)
        peer->Update(*this, nChanges);
}

CWndBackend* AfxSetWndBackend(CWndBackend* pBackend)
{
    CWndBackend* old = State().backend;
    State().backend = pBackend;
    return old;
}

void CWndBackend::RunModalLoop(CWnd&, UINT nIDTemplate, const CString& strCaption)
{
    throw std::logic_error(AfxFormat("unexpected modal dialog %u '%s': this backend has no modal "
                                     "loop; install a modal hook",
                                     nIDTemplate, strCaption.GetString()));
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
    const CWndState* state = StateOf(hWnd);
    return state ? state->Target() : nullptr;
}

CWndState* CWnd::GetState() const
{
    return StateOf(m_hWnd);
}

CWndPeer* CWnd::GetPeer() const
{
    const CWndState* state = GetState();
    return state ? state->peer.get() : nullptr;
}

CWnd::~CWnd()
{
    CWndState* state = GetState();
    if (state && state->pOwner == this)
        DestroyWindow();
    else if (state && state->pBound == this)
        state->pBound = nullptr;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID)
{
    UiState& ui = State();
    if (!ui.backend)
        throw std::logic_error(
            "a window cannot be created without a window backend: the program installs the Qt "
            "backend in main(), tests derive from HeadlessApp");
    if (m_hWnd)
        throw std::logic_error("CWnd::Create: the window exists already");

    auto owned = std::make_unique<CWndState>();
    CWndState& state = *owned;
    m_hWnd = reinterpret_cast<HWND>(++ui.lastHandle);
    state.hWnd = m_hWnd;
    state.pOwner = this;
    state.hWndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    state.nID = nID;
    state.dwStyle = dwStyle;
    state.kind = GetWndKind();
    state.strText = lpszWindowName;
    state.bEnabled = (dwStyle & WS_DISABLED) ? FALSE : TRUE;
    state.bVisible = (dwStyle & WS_VISIBLE) ? TRUE : FALSE;
    state.rect = rect;
    ui.windows[Key(m_hWnd)] = std::move(owned);
    state.peer = ui.backend->CreatePeer(state);
    state.Changed(PEER_ALL);

    CREATESTRUCT cs{
        nullptr,  state.hWndParent, nID,     rect.bottom - rect.top, rect.right - rect.left,
        rect.top, rect.left,        dwStyle, lpszWindowName,         lpszClassName,
        0};
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    CWndState* state = GetState();
    if (!state || state->bDestroying)
        return FALSE;
    if (state->pOwner != this)
        return state->pOwner->DestroyWindow();
    state->bDestroying = true;
    const HWND hWnd = m_hWnd;
    SendMessage(WM_DESTROY);

    // Children go after their parent's WM_DESTROY, in creation order.
    std::vector<HWND> children;
    for (const CWndState* child : AfxGetChildStates(hWnd))
        children.push_back(child->hWnd);
    for (HWND child : children)
        if (CWnd* wnd = FromHandle(child))
            wnd->DestroyWindow();

    RemoveTimers([&](const Timer& t) { return t.hWnd == hWnd; });
    UiState& ui = State();
    if (ui.hWndFocus == hWnd)
        ui.hWndFocus = nullptr;
    state = StateOf(hWnd);
    if (state->pBound)
        state->pBound->m_hWnd = nullptr;
    m_hWnd = nullptr;
    ui.windows.erase(Key(hWnd)); // releases the peer
    PostNcDestroy();             // may delete this
    return TRUE;
}

int CWnd::GetDlgCtrlID() const
{
    const CWndState* state = GetState();
    return state ? static_cast<int>(state->nID) : 0;
}

int CWnd::SetDlgCtrlID(int nID)
{
    CWndState* state = GetState();
    if (!state)
        return 0;
    const int old = static_cast<int>(state->nID);
    state->nID = static_cast<UINT>(nID);
    return old;
}

DWORD CWnd::GetStyle() const
{
    const CWndState* state = GetState();
    return state ? state->dwStyle : 0;
}

void CWnd::SetFont(CFont* pFont, BOOL)
{
    CWndState* state = GetState();
    if (!state || !pFont)
        return;
    LOGFONT lf{};
    pFont->GetLogFont(&lf);
    state->font = lf;
    state->Changed(PEER_STYLE);
}

void CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd)
{
    CWndState* state = GetState();
    if (!state)
        return;
    const DWORD style = (state->dwStyle & ~dwRemove) | dwAdd;
    state->dwStyle = style;
    state->Changed(PEER_STYLE);
    // The visible and disabled flags are states as well.
    if (((dwRemove | dwAdd) & WS_DISABLED) != 0)
        EnableWindow((style & WS_DISABLED) == 0);
    if (((dwRemove | dwAdd) & WS_VISIBLE) != 0)
        ShowWindow((style & WS_VISIBLE) != 0);
}

CWnd* CWnd::GetParent() const
{
    const CWndState* state = GetState();
    return state ? FromHandle(state->hWndParent) : nullptr;
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString));
}

void CWnd::SetToolTipText(LPCTSTR lpszText)
{
    if (CWndState* state = GetState()) {
        state->strToolTip = lpszText ? lpszText : "";
        state->Changed(PEER_TOOLTIP);
    }
}

CString CWnd::GetToolTipText() const
{
    const CWndState* state = GetState();
    return state ? state->strToolTip : CString();
}

void CWnd::GetWindowText(CString& rString) const
{
    const CWndState* state = GetState();
    rString.Empty();
    if (!state)
        return;
    const int n = static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH));
    std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
    const_cast<CWnd*>(this)->SendMessage(WM_GETTEXT, buffer.size(),
                                         reinterpret_cast<LPARAM>(buffer.data()));
    rString = CString(buffer.data(), n);
}

int CWnd::GetWindowTextLength() const
{
    return static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH));
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    CWndState* state = GetState();
    if (!state)
        return FALSE;
    const BOOL wasDisabled = !state->bEnabled;
    state->bEnabled = bEnable ? TRUE : FALSE;
    state->dwStyle = bEnable ? (state->dwStyle & ~WS_DISABLED) : (state->dwStyle | WS_DISABLED);
    state->Changed(PEER_ENABLED);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    const CWndState* state = GetState();
    return state && state->bEnabled;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    CWndState* state = GetState();
    if (!state)
        return FALSE;
    const BOOL wasVisible = state->bVisible;
    state->bVisible = nCmdShow != 0;
    state->dwStyle =
        state->bVisible ? (state->dwStyle | WS_VISIBLE) : (state->dwStyle & ~WS_VISIBLE);
    // Maximised and restored are part of the window's state: the peer shows
    // a top-level window as WS_MAXIMIZE says; the other commands keep it.
    if (nCmdShow == SW_SHOWMAXIMIZED)
        state->dwStyle |= WS_MAXIMIZE;
    else if (nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_RESTORE)
        state->dwStyle &= ~WS_MAXIMIZE;
    state->Changed(PEER_VISIBLE);
    if (wasVisible != state->bVisible)
        SendMessage(WM_SHOWWINDOW, state->bVisible, 0);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    const CWndState* state = GetState();
    return state && state->bVisible;
}

void CWnd::MoveWindow(const RECT& rect, BOOL)
{
    if (CWndState* state = GetState()) {
        state->rect = rect;
        state->Changed(PEER_GEOMETRY);
        SendMessage(WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(WORD(rect.right - rect.left), WORD(rect.bottom - rect.top)));
    }
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    const CWndState* state = GetState();
    *lpRect = state ? state->rect : CRect();
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    const CWndState* state = GetState();
    *lpRect = state ? CRect(0, 0, state->rect.Width(), state->rect.Height()) : CRect();
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    CPoint point(*lpPoint);
    const CWndPeer* peer = GetPeer();
    if (!peer || !peer->ClientToScreen(point)) {
        for (const CWndState* state = GetState(); state; state = AfxGetWndState(state->hWndParent))
            point.Offset(state->rect.left, state->rect.top);
    }
    *lpPoint = point;
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    CPoint topLeft(lpRect->left, lpRect->top);
    CPoint bottomRight(lpRect->right, lpRect->bottom);
    ClientToScreen(&topLeft);
    ClientToScreen(&bottomRight);
    *lpRect = CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
}

CWnd* CWnd::SetFocus()
{
    UiState& ui = State();
    const HWND hOld = ui.hWndFocus;
    CWnd* pOld = FromHandle(hOld);
    if (!m_hWnd || hOld == m_hWnd)
        return pOld;
    const HWND hNew = m_hWnd;
    ui.hWndFocus = hNew;
    if (CWndState* old = StateOf(hOld)) {
        old->Changed(PEER_FOCUS);
        old->pOwner->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(hNew), 0);
    }
    // The old window's handler may have moved the focus on or destroyed this.
    if (ui.hWndFocus == hNew)
        if (CWndState* now = StateOf(hNew)) {
            now->Changed(PEER_FOCUS);
            now->pOwner->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
        }
    return pOld;
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(State().hWndFocus);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    if (!m_hWnd || nID == IDC_STATIC)
        return nullptr;
    for (const CWndState* child : AfxGetChildStates(m_hWnd))
        if (child->nID == static_cast<UINT>(nID))
            return child->pOwner;
    return nullptr;
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    if (CWnd* item = GetDlgItem(nID))
        item->SetWindowText(lpszString);
}

UINT CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (CWnd* item = GetDlgItem(nID))
        item->GetWindowText(rString);
    return static_cast<UINT>(rString.GetLength());
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    CWnd* item = pParent ? pParent->GetDlgItem(static_cast<int>(nID)) : nullptr;
    if (!item)
        throw std::logic_error(
            AfxFormat("SubclassDlgItem: the window has no control %d", int(nID)));
    CWndState* state = item->GetState();
    if (state->pOwner == this || state->pBound == this)
        return TRUE;
    if (state->pBound)
        throw std::logic_error(
            AfxFormat("control %d is bound to another object already; bind it once", int(nID)));
    if (GetWndKind() != AfxWndKind::window && GetWndKind() != state->kind)
        throw std::logic_error(
            AfxFormat("control %d is of another kind than the object bound to it", int(nID)));
    if (m_hWnd)
        throw std::logic_error("SubclassDlgItem: the object names a window already");
    state->pBound = this;
    m_hWnd = state->hWnd;
    return TRUE;
}

void CWnd::MapDialogRect(LPRECT lpRect) const
{
    const CSize base = AfxGetDialogBaseUnits();
    lpRect->left = AfxMulDiv(lpRect->left, base.cx, 4);
    lpRect->right = AfxMulDiv(lpRect->right, base.cx, 4);
    lpRect->top = AfxMulDiv(lpRect->top, base.cy, 8);
    lpRect->bottom = AfxMulDiv(lpRect->bottom, base.cy, 8);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWndState* state = GetState();
    if (!state)
        return 0;
    // The handler may destroy the window (and its object): only a window
    // still alive, with the same object, gets its outer message back.
    const HWND hWnd = state->hWnd;
    CWnd* target = state->Target();
    const CurrentMessage saved = target->m_current;
    target->m_current = {message, wParam, lParam};
    const LRESULT lResult = target->WindowProc(message, wParam, lParam);
    if (const CWndState* still = StateOf(hWnd); still && still->Target() == target)
        target->m_current = saved;
    return lResult;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!GetState())
        return FALSE;
    State().posted.push_back({m_hWnd, message, wParam, lParam});
    WakeUp();
    return TRUE;
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* item = GetDlgItem(nID);
    return item ? item->SendMessage(message, wParam, lParam) : 0;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    if (!GetState())
        return 0;
    UiState& ui = State();
    const HWND hWnd = m_hWnd;
    RemoveTimers([&](const Timer& t) { return t.hWnd == hWnd && t.nIDEvent == nIDEvent; });
    ui.timers.push_back({hWnd, nIDEvent, nElapse, lpfnTimer, Now() + nElapse, ++ui.lastSerial});
    WakeUp();
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    const std::size_t before = State().timers.size();
    const HWND hWnd = m_hWnd;
    RemoveTimers([&](const Timer& t) { return hWnd && t.hWnd == hWnd && t.nIDEvent == nIDEvent; });
    return State().timers.size() != before;
}

namespace
{

CWndState::ScrollBar* BarOf(const CWnd& wnd, int nBar)
{
    CWndState* state = wnd.GetState();
    return state && (nBar == SB_HORZ || nBar == SB_VERT) ? &state->scrollBars[nBar] : nullptr;
}

} // namespace

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL)
{
    if (CWndState::ScrollBar* bar = BarOf(*this, nBar)) {
        bar->nMin = nMinPos;
        bar->nMax = nMaxPos;
        bar->nPos = std::clamp(bar->nPos, std::min(nMinPos, nMaxPos), std::max(nMinPos, nMaxPos));
        GetState()->Changed(PEER_RANGE);
    }
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    const CWndState::ScrollBar* bar = BarOf(*this, nBar);
    *lpMinPos = bar ? bar->nMin : 0;
    *lpMaxPos = bar ? bar->nMax : 0;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL)
{
    CWndState::ScrollBar* bar = BarOf(*this, nBar);
    if (!bar)
        return 0;
    const int old = bar->nPos;
    bar->nPos = std::clamp(nPos, std::min(bar->nMin, bar->nMax), std::max(bar->nMin, bar->nMax));
    GetState()->Changed(PEER_RANGE);
    return old;
}

int CWnd::GetScrollPos(int nBar) const
{
    const CWndState::ScrollBar* bar = BarOf(*this, nBar);
    return bar ? bar->nPos : 0;
}

void CWnd::Invalidate(BOOL)
{
    if (CWndPeer* peer = GetPeer(); peer && peer->Repaint(false))
        return;
    if (m_hWnd)
        PostMessage(WM_PAINT);
}

void CWnd::UpdateWindow()
{
    if (CWndPeer* peer = GetPeer(); peer && peer->Repaint(true))
        return;
    SendMessage(WM_PAINT);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return AfxGetMessageService()->MessageBox(lpszText, lpszCaption, nType);
}

void CWnd::AdoptControl(std::unique_ptr<CWnd> pControl)
{
    m_controls.push_back(std::move(pControl));
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

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWndState* state = GetState();
    LRESULT lResult = 0;
    if (state && AfxControlWindowProc(*state, message, wParam, lParam, lResult))
        return lResult;
    return 0;
}

std::vector<CWndState*> AfxGetChildStates(HWND hWndParent)
{
    std::vector<CWndState*> children;
    if (hWndParent)
        for (const auto& [key, child] : State().windows)
            if (child->hWndParent == hWndParent)
                children.push_back(child.get());
    return children;
}

CWndState* AfxGetWndState(HWND hWnd)
{
    return StateOf(hWnd);
}

void AfxDestroyAllWindows()
{
    auto& windows = State().windows;
    while (!windows.empty()) {
        // The newest window whose parent is gone or was never there.
        auto it = std::prev(windows.end());
        while (it != windows.begin() && StateOf(it->second->hWndParent))
            --it;
        CWndState& state = *it->second;
        if (state.bDestroying || !state.pOwner || !state.pOwner->DestroyWindow())
            windows.erase(it); // a window half-way through its destruction
    }
}

void AfxNotifyParent(const CWndState& state, UINT nCode)
{
    if (CWnd* parent = CWnd::FromHandle(state.hWndParent))
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(state.nID), WORD(nCode)),
                            reinterpret_cast<LPARAM>(state.hWnd));
}

int AfxMulDiv(int nNumber, int nNumerator, int nDenominator)
{
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    const long long half = nDenominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / nDenominator
                                         : (product - half) / nDenominator);
}

CSize AfxGetDialogBaseUnits()
{
    int letters = 52 * 6, height = 13;
    if (CWndBackend* backend = State().backend)
        backend->GetDialogFontMetrics(letters, height);
    return CSize(AfxMulDiv(letters, 1, 52), height);
}

void AfxPumpMessages()
{
    UiState& ui = State();
    // Posted messages, including those posted while this loop runs.
    while (!ui.posted.empty()) {
        const PostedMessage msg = ui.posted.front();
        ui.posted.pop_front();
        if (CWnd* wnd = CWnd::FromHandle(msg.hWnd))
            wnd->SendMessage(msg.message, msg.wParam, msg.lParam);
    }

    // Timers due now, in order of due time, each at most once: a handler may
    // kill or set timers, so each is looked up again before it fires.
    const ULONGLONG now = Now();
    std::vector<Timer> due;
    for (const Timer& t : ui.timers)
        if (t.due <= now)
            due.push_back(t);
    std::stable_sort(due.begin(), due.end(),
                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
    for (const Timer& d : due) {
        auto it = std::find_if(ui.timers.begin(), ui.timers.end(),
                               [&](const Timer& t) { return t.serial == d.serial; });
        if (it == ui.timers.end())
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

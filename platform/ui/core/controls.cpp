#include "platform/ui/core/controls.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/afx/numconv.h"
#include "platform/ui/core/dialog.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CColorButton, CWnd)
IMPLEMENT_DYNAMIC(CListEditCtrl, CWnd)
IMPLEMENT_DYNAMIC(CPictureButton, CButton)

namespace
{

constexpr int kLargestLimit = 0x7FFFFFFE;

// Calls f on the window's state when the window exists; else gives fallback.
template <class F, class R> R WithState(const CWnd* wnd, R fallback, F f)
{
    CWndState* state = wnd->GetState();
    return state ? f(*state) : fallback;
}

bool IsItemIndex(const CWndState& state, int nIndex)
{
    return nIndex >= 0 && nIndex < static_cast<int>(state.items.size());
}

bool SortedList(const CWndState& state)
{
    switch (state.kind) {
    case AfxWndKind::comboBox:
        return (state.dwStyle & CBS_SORT) != 0;
    case AfxWndKind::listBox:
        return (state.dwStyle & LBS_SORT) != 0;
    default:
        return false;
    }
}

// Keeps the selection on its item after an insertion at index; a tab
// control always has a tab selected once it has one.
void AfterInsert(CWndState& state, int index)
{
    if (state.nCurSel >= index)
        ++state.nCurSel;
    if (state.kind == AfxWndKind::tab && state.nCurSel < 0)
        state.nCurSel = 0;
}

// Offsets of the line starts of a text whose lines end at "\r\n".
std::vector<int> LineStarts(const CString& text)
{
    std::vector<int> starts{0};
    for (int i = 0; i + 1 < text.GetLength(); ++i)
        if (text[i] == '\r' && text[i + 1] == '\n')
            starts.push_back(i + 2);
    return starts;
}

// The edit's selection as ordered offsets inside the text.
void OrderedSel(const CWndState& state, int& a, int& b)
{
    const int n = state.strText.GetLength();
    a = std::clamp(std::min(state.nSelStart, state.nSelEnd), 0, n);
    b = std::clamp(std::max(state.nSelStart, state.nSelEnd), 0, n);
}

LRESULT CopyText(const CString& text, WPARAM nMax, LPARAM lParam)
{
    char* buffer = reinterpret_cast<char*>(lParam);
    if (!buffer || nMax == 0)
        return 0;
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(text.GetLength()), nMax - 1);
    std::memcpy(buffer, text.GetString(), n);
    buffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

} // namespace

// ---- Text replacement (edits and editable combos) -------------------------------

// Replaces the selection with text, cut so that the whole stays within the
// limit; the caret goes after it. True when the text changed.
bool AfxReplaceSelection(CWndState& state, const CString& text)
{
    int a, b;
    OrderedSel(state, a, b);
    const int room = state.nLimit - (state.strText.GetLength() - (b - a));
    const CString inserted = text.Left(std::max(0, room));
    const CString before = state.strText;
    state.strText = state.strText.Left(a) + inserted + state.strText.Mid(b);
    state.nSelStart = state.nSelEnd = a + inserted.GetLength();
    state.Changed(PEER_TEXT | PEER_SELECTION);
    return state.strText != before;
}

// ---- CEdit ---------------------------------------------------------------------

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL)
{
    if (CWndState* state = GetState()) {
        const int n = state->strText.GetLength();
        if (nStartChar < 0) {
            state->nSelStart = state->nSelEnd = std::clamp(state->nSelEnd, 0, n);
        } else {
            state->nSelStart = std::min(nStartChar, n);
            state->nSelEnd = nEndChar < 0 ? n : std::min(nEndChar, n);
        }
        state->Changed(PEER_SELECTION);
    }
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    nStartChar = nEndChar = 0;
    if (const CWndState* state = GetState())
        OrderedSel(*state, nStartChar, nEndChar);
}

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL)
{
    if (CWndState* state = GetState())
        if (AfxReplaceSelection(*state, lpszNewText))
            AfxNotifyParent(*state, EN_CHANGE);
}

void CEdit::LimitText(int nChars)
{
    if (CWndState* state = GetState())
        state->nLimit = nChars <= 0 ? kLargestLimit : nChars;
}

UINT CEdit::GetLimitText() const
{
    return WithState(this, 0u, [](CWndState& s) { return static_cast<UINT>(s.nLimit); });
}

int CEdit::GetLineCount() const
{
    return WithState(this, 1,
                     [](CWndState& s) { return static_cast<int>(LineStarts(s.strText).size()); });
}

int CEdit::LineIndex(int nLine) const
{
    if (nLine < 0)
        nLine = LineFromChar(-1);
    return WithState(this, -1, [nLine](CWndState& s) {
        const std::vector<int> starts = LineStarts(s.strText);
        return nLine < static_cast<int>(starts.size()) ? starts[static_cast<std::size_t>(nLine)]
                                                       : -1;
    });
}

int CEdit::LineFromChar(int nIndex) const
{
    return WithState(this, 0, [nIndex](CWndState& s) {
        const int at = nIndex < 0 ? s.nSelEnd : nIndex;
        const std::vector<int> starts = LineStarts(s.strText);
        return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), at) -
                                starts.begin()) -
               1;
    });
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly)
{
    if (bReadOnly)
        ModifyStyle(0, ES_READONLY);
    else
        ModifyStyle(ES_READONLY, 0);
    return GetState() != nullptr;
}

// ---- CButton, CStatic, CPictureButton, CColorButton ------------------------------

void CButton::SetCheck(int nCheck)
{
    if (CWndState* state = GetState()) {
        state->nCheck = nCheck;
        state->Changed(PEER_CHECK);
    }
}

int CButton::GetCheck() const
{
    return WithState(this, 0, [](CWndState& s) { return s.nCheck; });
}

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap)
{
    CWndState* state = GetState();
    if (!state)
        return nullptr;
    const HBITMAP previous = state->hBitmap;
    state->hBitmap = hBitmap;
    state->nBitmapID = hBitmap ? hBitmap->GetResourceID() : 0;
    state->Changed(PEER_BITMAP);
    return previous;
}

HBITMAP CStatic::GetBitmap() const
{
    return WithState(this, HBITMAP(nullptr), [](CWndState& s) { return s.hBitmap; });
}

void CPictureButton::SetBitmapID(UINT nIDBitmap)
{
    if (CWndState* state = GetState()) {
        state->nBitmapID = nIDBitmap;
        state->Changed(PEER_BITMAP);
    }
}

UINT CPictureButton::GetBitmapID() const
{
    return WithState(this, 0u, [](CWndState& s) { return s.nBitmapID; });
}

void CColorButton::SetColor(COLORREF clr)
{
    if (CWndState* state = GetState()) {
        state->color = clr;
        state->Changed(PEER_COLOR);
    }
}

COLORREF CColorButton::GetColor() const
{
    return WithState(this, COLORREF(0), [](CWndState& s) { return s.color; });
}

// ---- Item lists ------------------------------------------------------------------

int CListCore::Compare(const CString& a, const CString& b)
{
    const int n = std::min(a.GetLength(), b.GetLength());
    for (int i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(a[i]);
        const unsigned char cb = static_cast<unsigned char>(b[i]);
        const int la = ca < 0x80 ? std::tolower(ca) : ca;
        const int lb = cb < 0x80 ? std::tolower(cb) : cb;
        if (la != lb)
            return la < lb ? -1 : 1;
    }
    return a.GetLength() == b.GetLength() ? 0 : (a.GetLength() < b.GetLength() ? -1 : 1);
}

int CListCore::Add(CWndState& state, LPCTSTR lpszItem)
{
    const CString text(lpszItem);
    auto at = state.items.end();
    if (SortedList(state))
        at = std::find_if(state.items.begin(), state.items.end(),
                          [&](const AfxListItem& item) { return Compare(text, item.strText) < 0; });
    const int index = static_cast<int>(at - state.items.begin());
    state.items.insert(at, AfxListItem{text, 0});
    AfterInsert(state, index);
    state.Changed(PEER_ITEMS | PEER_SELECTION);
    return index;
}

int CListCore::Insert(CWndState& state, int nIndex, LPCTSTR lpszItem)
{
    const int count = static_cast<int>(state.items.size());
    if (nIndex > count)
        return -1;
    const int index = nIndex < 0 ? count : nIndex;
    state.items.insert(state.items.begin() + index, AfxListItem{CString(lpszItem), 0});
    AfterInsert(state, index);
    state.Changed(PEER_ITEMS | PEER_SELECTION);
    return index;
}

int CListCore::Delete(CWndState& state, int nIndex)
{
    if (!IsItemIndex(state, nIndex))
        return -1;
    state.items.erase(state.items.begin() + nIndex);
    if (state.nCurSel == nIndex)
        state.nCurSel = -1;
    else if (state.nCurSel > nIndex)
        --state.nCurSel;
    state.Changed(PEER_ITEMS | PEER_SELECTION);
    return static_cast<int>(state.items.size());
}

void CListCore::Reset(CWndState& state)
{
    state.items.clear();
    state.nCurSel = -1;
    if (state.kind == AfxWndKind::comboBox)
        state.strText.Empty();
    state.Changed(PEER_ITEMS | PEER_SELECTION | PEER_TEXT);
}

int CListCore::Find(const CWndState& state, int nStartAfter, LPCTSTR lpszItem, bool bExact)
{
    const int count = static_cast<int>(state.items.size());
    const CString wanted(lpszItem);
    const int first = (nStartAfter < 0 || nStartAfter >= count) ? 0 : nStartAfter + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (first + k) % count;
        const CString& item = state.items[static_cast<std::size_t>(i)].strText;
        const CString part = bExact ? item : item.Left(wanted.GetLength());
        if (Compare(part, wanted) == 0)
            return i;
    }
    return -1;
}

int CListCore::SetCurSel(CWndState& state, int nSelect)
{
    state.nCurSel = IsItemIndex(state, nSelect) ? nSelect : -1;
    if (state.kind == AfxWndKind::comboBox) {
        state.strText =
            state.nCurSel < 0 ? CString() : state.items[static_cast<std::size_t>(nSelect)].strText;
        state.nSelStart = 0;
        state.nSelEnd = state.strText.GetLength();
    }
    state.Changed(PEER_SELECTION | PEER_TEXT);
    return state.nCurSel == nSelect ? nSelect : -1;
}

int CListCore::GetText(const CWndState& state, int nIndex, CString& rString)
{
    rString.Empty();
    if (!IsItemIndex(state, nIndex))
        return -1;
    rString = state.items[static_cast<std::size_t>(nIndex)].strText;
    return rString.GetLength();
}

namespace
{

DWORD_PTR ItemData(const CWnd* wnd, int nIndex)
{
    return WithState(wnd, DWORD_PTR(-1), [nIndex](CWndState& s) {
        return IsItemIndex(s, nIndex) ? s.items[static_cast<std::size_t>(nIndex)].dwData
                                      : DWORD_PTR(-1);
    });
}

int SetItemDataOf(const CWnd* wnd, int nIndex, DWORD_PTR dwData)
{
    return WithState(wnd, -1, [nIndex, dwData](CWndState& s) {
        if (!IsItemIndex(s, nIndex))
            return -1;
        s.items[static_cast<std::size_t>(nIndex)].dwData = dwData;
        return 0;
    });
}

int SelectStringOf(const CWnd* wnd, int nStartAfter, LPCTSTR lpszItem)
{
    return WithState(wnd, -1, [&](CWndState& s) {
        const int found = CListCore::Find(s, nStartAfter, lpszItem, false);
        return found < 0 ? -1 : CListCore::SetCurSel(s, found);
    });
}

} // namespace

// The list and combo classes share every item operation.
#define AFX_LIST_METHODS(Class, TextName)                                                          \
    int Class::AddString(LPCTSTR lpsz)                                                             \
    {                                                                                              \
        return WithState(this, -1, [&](CWndState& s) { return CListCore::Add(s, lpsz); });         \
    }                                                                                              \
    int Class::InsertString(int nIndex, LPCTSTR lpsz)                                              \
    {                                                                                              \
        return WithState(this, -1,                                                                 \
                         [&](CWndState& s) { return CListCore::Insert(s, nIndex, lpsz); });        \
    }                                                                                              \
    int Class::DeleteString(UINT nIndex)                                                           \
    {                                                                                              \
        return WithState(this, -1, [&](CWndState& s) {                                             \
            return CListCore::Delete(s, static_cast<int>(nIndex));                                 \
        });                                                                                        \
    }                                                                                              \
    void Class::ResetContent()                                                                     \
    {                                                                                              \
        if (CWndState* s = GetState())                                                             \
            CListCore::Reset(*s);                                                                  \
    }                                                                                              \
    int Class::GetCount() const                                                                    \
    {                                                                                              \
        return WithState(this, 0, [](CWndState& s) { return static_cast<int>(s.items.size()); });  \
    }                                                                                              \
    int Class::GetCurSel() const                                                                   \
    {                                                                                              \
        return WithState(this, -1, [](CWndState& s) { return s.nCurSel; });                        \
    }                                                                                              \
    int Class::SetCurSel(int nSelect)                                                              \
    {                                                                                              \
        return WithState(this, -1,                                                                 \
                         [&](CWndState& s) { return CListCore::SetCurSel(s, nSelect); });          \
    }                                                                                              \
    int Class::TextName##Len(int nIndex) const                                                     \
    {                                                                                              \
        CString text;                                                                              \
        return WithState(this, -1,                                                                 \
                         [&](CWndState& s) { return CListCore::GetText(s, nIndex, text); });       \
    }                                                                                              \
    DWORD_PTR Class::GetItemData(int nIndex) const                                                 \
    {                                                                                              \
        return ItemData(this, nIndex);                                                             \
    }                                                                                              \
    int Class::SetItemData(int nIndex, DWORD_PTR dwItemData)                                       \
    {                                                                                              \
        return SetItemDataOf(this, nIndex, dwItemData);                                            \
    }                                                                                              \
    int Class::FindString(int nStartAfter, LPCTSTR lpsz) const                                     \
    {                                                                                              \
        return WithState(                                                                          \
            this, -1, [&](CWndState& s) { return CListCore::Find(s, nStartAfter, lpsz, false); }); \
    }                                                                                              \
    int Class::FindStringExact(int nIndexStart, LPCTSTR lpsz) const                                \
    {                                                                                              \
        return WithState(                                                                          \
            this, -1, [&](CWndState& s) { return CListCore::Find(s, nIndexStart, lpsz, true); });  \
    }                                                                                              \
    int Class::SelectString(int nStartAfter, LPCTSTR lpsz)                                         \
    {                                                                                              \
        return SelectStringOf(this, nStartAfter, lpsz);                                            \
    }

AFX_LIST_METHODS(CListBox, GetText)
AFX_LIST_METHODS(CComboBox, GetLBText)
#undef AFX_LIST_METHODS

int CListBox::GetText(int nIndex, CString& rString) const
{
    rString.Empty();
    return WithState(this, -1,
                     [&](CWndState& s) { return CListCore::GetText(s, nIndex, rString); });
}

void CListBox::SetTabStops()
{
    SetTabStops(0, nullptr);
}

BOOL CListBox::SetTabStops(const int& cxEachStop)
{
    return SetTabStops(1, const_cast<LPINT>(&cxEachStop));
}

BOOL CListBox::SetTabStops(int nTabStops, LPINT rgTabStops)
{
    return WithState(this, FALSE, [&](CWndState& s) {
        if (!(s.dwStyle & LBS_USETABSTOPS) || nTabStops < 0 || (nTabStops > 0 && !rgTabStops))
            return FALSE;
        s.tabStops.assign(rgTabStops, rgTabStops + nTabStops);
        s.Changed(PEER_ITEMS);
        return TRUE;
    });
}

std::vector<int> CListBox::GetTabStops() const
{
    return WithState(this, std::vector<int>(), [](CWndState& s) { return s.tabStops; });
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    rString.Empty();
    if (const CWndState* s = GetState())
        CListCore::GetText(*s, nIndex, rString);
}

// ---- CSpinButtonCtrl ----------------------------------------------------------------

namespace
{

// The spin's position, as the buddy shows it when it holds a whole number.
int SpinPos(const CWndState& state)
{
    const CWnd* buddy = CWnd::FromHandle(state.hWndBuddy);
    const CWndState* shown = buddy ? buddy->GetState() : nullptr;
    if (shown && (state.dwStyle & UDS_SETBUDDYINT)) {
        const char* text = shown->strText.GetString();
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && value >= INT_MIN && value <= INT_MAX)
            return static_cast<int>(value);
    }
    return state.nPos;
}

} // namespace

int AfxSpinPos(const CWndState& state)
{
    return SpinPos(state);
}

// Sets a spin's position (clamped to its range) and writes it into the buddy.
void AfxSetSpinPos(CWndState& state, int nPos)
{
    const int lo = std::min(state.nLower, state.nUpper), hi = std::max(state.nLower, state.nUpper);
    state.nPos = std::clamp(nPos, lo, hi);
    state.Changed(PEER_RANGE);
    if (state.dwStyle & UDS_SETBUDDYINT)
        if (CWnd* buddy = CWnd::FromHandle(state.hWndBuddy))
            buddy->SetWindowText(AfxFormat("%d", state.nPos).c_str());
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper)
{
    if (CWndState* state = GetState()) {
        state->nLower = nLower;
        state->nUpper = nUpper;
        state->Changed(PEER_RANGE);
    }
}

void CSpinButtonCtrl::GetRange32(int& nLower, int& nUpper) const
{
    nLower = nUpper = 0;
    if (const CWndState* state = GetState()) {
        nLower = state->nLower;
        nUpper = state->nUpper;
    }
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    CWndState* state = GetState();
    if (!state)
        return 0;
    const int previous = SpinPos(*state);
    AfxSetSpinPos(*state, nPos);
    return previous;
}

int CSpinButtonCtrl::GetPos() const
{
    return WithState(this, 0, [](CWndState& s) { return SpinPos(s); });
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    CWndState* state = GetState();
    if (!state)
        return nullptr;
    CWnd* previous = FromHandle(state->hWndBuddy);
    state->hWndBuddy = pWndBuddy ? pWndBuddy->GetSafeHwnd() : nullptr;
    return previous;
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return WithState(this, static_cast<CWnd*>(nullptr),
                     [](CWndState& s) { return FromHandle(s.hWndBuddy); });
}

// ---- CTabCtrl, CScrollBar -----------------------------------------------------------

int CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    return WithState(this, -1, [&](CWndState& s) {
        const int count = static_cast<int>(s.items.size());
        return CListCore::Insert(s, std::clamp(nItem, 0, count), lpszItem);
    });
}

BOOL CTabCtrl::DeleteAllItems()
{
    CWndState* state = GetState();
    if (state)
        CListCore::Reset(*state);
    return state != nullptr;
}

int CTabCtrl::GetItemCount() const
{
    return WithState(this, 0, [](CWndState& s) { return static_cast<int>(s.items.size()); });
}

int CTabCtrl::GetCurSel() const
{
    return WithState(this, -1, [](CWndState& s) { return s.nCurSel; });
}

int CTabCtrl::SetCurSel(int nItem)
{
    return WithState(this, -1, [nItem](CWndState& s) {
        if (!IsItemIndex(s, nItem))
            return -1;
        const int previous = s.nCurSel;
        CListCore::SetCurSel(s, nItem);
        return previous;
    });
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL)
{
    if (CWndState* state = GetState()) {
        state->nLower = nMinPos;
        state->nUpper = nMaxPos;
        state->nPos =
            std::clamp(state->nPos, std::min(nMinPos, nMaxPos), std::max(nMinPos, nMaxPos));
        state->Changed(PEER_RANGE);
    }
}

void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const
{
    *lpMinPos = *lpMaxPos = 0;
    if (const CWndState* state = GetState()) {
        *lpMinPos = state->nLower;
        *lpMaxPos = state->nUpper;
    }
}

int CScrollBar::SetScrollPos(int nPos, BOOL)
{
    return WithState(this, 0, [nPos](CWndState& s) {
        const int previous = s.nPos;
        s.nPos = std::clamp(nPos, std::min(s.nLower, s.nUpper), std::max(s.nLower, s.nUpper));
        s.Changed(PEER_RANGE);
        return previous;
    });
}

int CScrollBar::GetScrollPos() const
{
    return WithState(this, 0, [](CWndState& s) { return s.nPos; });
}

CScrollBar* AfxScrollBarFromHandle(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CWndState* state = wnd ? wnd->GetState() : nullptr;
    if (!state || state->kind != AfxWndKind::scrollBar)
        return nullptr;
    if (state->pBound)
        return static_cast<CScrollBar*>(state->pBound);
    return static_cast<CScrollBar*>(wnd);
}

// ---- CListEditCtrl ---------------------------------------------------------------------

int CListEditCtrl::GetItemCount() const
{
    return WithState(this, 0, [](CWndState& s) { return static_cast<int>(s.items.size()); });
}

CString CListEditCtrl::GetItemText(int nIndex) const
{
    CString text;
    if (const CWndState* s = GetState())
        CListCore::GetText(*s, nIndex, text);
    return text;
}

int CListEditCtrl::InsertItem(int nIndex, LPCTSTR lpszItem)
{
    return WithState(this, -1,
                     [&](CWndState& s) { return CListCore::Insert(s, nIndex, lpszItem); });
}

BOOL CListEditCtrl::RemoveItem(int nIndex)
{
    return WithState(this, FALSE,
                     [nIndex](CWndState& s) { return CListCore::Delete(s, nIndex) >= 0; });
}

BOOL CListEditCtrl::SetItemText(int nIndex, LPCTSTR lpszItem)
{
    return WithState(this, FALSE, [&](CWndState& s) {
        if (!IsItemIndex(s, nIndex))
            return FALSE;
        s.items[static_cast<std::size_t>(nIndex)].strText = lpszItem;
        s.Changed(PEER_ITEMS);
        return TRUE;
    });
}

int CListEditCtrl::GetCurSel() const
{
    return WithState(this, -1, [](CWndState& s) { return s.nCurSel; });
}

int CListEditCtrl::SetCurSel(int nIndex)
{
    return WithState(this, -1, [nIndex](CWndState& s) { return CListCore::SetCurSel(s, nIndex); });
}

void CListEditCtrl::NewItem()
{
    const int at = GetCurSel() < 0 ? GetItemCount() : GetCurSel() + 1;
    SetCurSel(InsertItem(at, ""));
}

void CListEditCtrl::DeleteItem()
{
    const int sel = GetCurSel();
    if (RemoveItem(sel))
        SetCurSel(std::min(sel, GetItemCount() - 1));
}

void CListEditCtrl::MoveUp()
{
    CWndState* s = GetState();
    if (!s || s->nCurSel <= 0)
        return;
    std::swap(s->items[static_cast<std::size_t>(s->nCurSel)],
              s->items[static_cast<std::size_t>(s->nCurSel - 1)]);
    --s->nCurSel;
    s->Changed(PEER_ITEMS | PEER_SELECTION);
}

void CListEditCtrl::MoveDown()
{
    CWndState* s = GetState();
    if (!s || s->nCurSel < 0 || s->nCurSel + 1 >= static_cast<int>(s->items.size()))
        return;
    std::swap(s->items[static_cast<std::size_t>(s->nCurSel)],
              s->items[static_cast<std::size_t>(s->nCurSel + 1)]);
    ++s->nCurSel;
    s->Changed(PEER_ITEMS | PEER_SELECTION);
}

// ---- Messages a control answers by itself ------------------------------------------------

namespace
{

// The focus notifications of each kind (0: none).
UINT FocusCode(const CWndState& state, bool bGained)
{
    switch (state.kind) {
    case AfxWndKind::edit:
        return bGained ? EN_SETFOCUS : EN_KILLFOCUS;
    case AfxWndKind::comboBox:
        return bGained ? CBN_SETFOCUS : CBN_KILLFOCUS;
    case AfxWndKind::listBox:
        return bGained ? LBN_SETFOCUS : LBN_KILLFOCUS;
    default:
        return 0;
    }
}

// True while the control's dialog runs a data exchange.
bool ParentExchanging(const CWndState& state)
{
    const auto* dialog = dynamic_cast<const CDialog*>(CWnd::FromHandle(state.hWndParent));
    return dialog && dialog->IsExchanging();
}

BOOL ComboMessage(CWndState& state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    const LPCTSTR text = reinterpret_cast<LPCTSTR>(lParam);
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    CString item;
    switch (message) {
    case CB_ADDSTRING:
        lResult = CListCore::Add(state, text);
        return TRUE;
    case CB_INSERTSTRING:
        lResult = CListCore::Insert(state, index, text);
        return TRUE;
    case CB_DELETESTRING:
        lResult = CListCore::Delete(state, index);
        return TRUE;
    case CB_RESETCONTENT:
        CListCore::Reset(state);
        lResult = 0;
        return TRUE;
    case CB_GETCOUNT:
        lResult = static_cast<LRESULT>(state.items.size());
        return TRUE;
    case CB_GETCURSEL:
        lResult = state.nCurSel;
        return TRUE;
    case CB_SETCURSEL:
        lResult = CListCore::SetCurSel(state, index);
        return TRUE;
    case CB_GETLBTEXT:
        lResult = CListCore::GetText(state, index, item);
        if (lResult >= 0 && lParam)
            std::memcpy(reinterpret_cast<char*>(lParam), item.GetString(),
                        static_cast<std::size_t>(item.GetLength()) + 1);
        return TRUE;
    case CB_GETLBTEXTLEN:
        lResult = CListCore::GetText(state, index, item);
        return TRUE;
    case CB_FINDSTRING:
        lResult = CListCore::Find(state, index, text, false);
        return TRUE;
    case CB_FINDSTRINGEXACT:
        lResult = CListCore::Find(state, index, text, true);
        return TRUE;
    case CB_SELECTSTRING: {
        const int found = CListCore::Find(state, index, text, false);
        lResult = found < 0 ? CB_ERR : CListCore::SetCurSel(state, found);
        return TRUE;
    }
    case CB_GETITEMDATA:
        lResult = IsItemIndex(state, index)
                      ? static_cast<LRESULT>(state.items[static_cast<std::size_t>(index)].dwData)
                      : CB_ERR;
        return TRUE;
    case CB_SETITEMDATA:
        if (!IsItemIndex(state, index)) {
            lResult = CB_ERR;
            return TRUE;
        }
        state.items[static_cast<std::size_t>(index)].dwData = static_cast<DWORD_PTR>(lParam);
        lResult = 0;
        return TRUE;
    default:
        if (message >= CB_MSGMIN && message <= CB_MSGMAX)
            throw std::logic_error(
                AfxFormat("combo box %u: raw message 0x%x is not supported; call its methods",
                          state.nID, message));
        return FALSE;
    }
}

} // namespace

BOOL AfxControlWindowProc(CWndState& state, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& lResult)
{
    switch (message) {
    case WM_SETTEXT:
        state.strText = reinterpret_cast<LPCTSTR>(lParam);
        state.nSelStart = state.nSelEnd = 0;
        state.Changed(PEER_TEXT | PEER_SELECTION);
        if (state.kind == AfxWndKind::edit)
            AfxNotifyParent(state, EN_CHANGE);
        lResult = TRUE;
        return TRUE;
    case WM_GETTEXT:
        lResult = CopyText(state.strText, wParam, lParam);
        return TRUE;
    case WM_GETTEXTLENGTH:
        lResult = state.strText.GetLength();
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // A focus move made by the parent's own exchange (a refused control
        // takes the focus) is not the user's: its handlers would exchange
        // again from inside.
        if (const UINT code = FocusCode(state, message == WM_SETFOCUS);
            code && !ParentExchanging(state))
            AfxNotifyParent(state, code);
        return FALSE;
    default:
        return state.kind == AfxWndKind::comboBox &&
               ComboMessage(state, message, wParam, lParam, lResult);
    }
}

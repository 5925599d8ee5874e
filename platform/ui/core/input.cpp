#include "platform/ui/core/input.h"

#include "platform/ui/core/busy.h"
#include "platform/ui/core/frame.h"

#include <cctype>

#include "platform/ui/core/dialog.h"
#include "platform/ui/core/services.h"

namespace
{

CWnd* Owner(const CWndState& state)
{
    return state.pOwner;
}

// Clears the other radios of the group that holds state: the siblings from
// the nearest WS_GROUP control at or before it up to the next WS_GROUP one.
void ClearRadioGroup(const CWndState& state)
{
    const std::vector<CWndState*> siblings = AfxGetChildStates(state.hWndParent);
    std::size_t at = 0;
    while (siblings[at] != &state)
        ++at;
    std::size_t first = at;
    while (first > 0 && !(siblings[first]->dwStyle & WS_GROUP))
        --first;
    for (std::size_t i = first; i < siblings.size(); ++i) {
        if (i > first && (siblings[i]->dwStyle & WS_GROUP))
            break;
        CWndState* other = siblings[i];
        if (other != &state && AfxIsRadio(*other) && other->nCheck != 0) {
            other->nCheck = 0;
            other->Changed(PEER_CHECK);
        }
    }
}

// The state a click gives a button of this style.
void ClickButton(CWndState& state)
{
    switch (state.dwStyle & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
        state.nCheck = state.nCheck == 1 ? 0 : 1;
        break;
    case BS_AUTO3STATE:
        state.nCheck = (state.nCheck + 1) % 3;
        break;
    case BS_AUTORADIOBUTTON:
        state.nCheck = 1;
        ClearRadioGroup(state);
        break;
    case BS_GROUPBOX:
        return; // a frame: nothing to click
    default:
        break;
    }
    state.Changed(PEER_CHECK);
    AfxNotifyParent(state, BN_CLICKED);
}

bool HasOnlyDigits(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

// The letter after a single "&" in a text, or 0.
TCHAR MnemonicOf(const CString& text)
{
    for (int i = 0; i + 1 < text.GetLength(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(text[i + 1])));
        ++i; // "&&" is a plain "&"
    }
    return 0;
}

bool Usable(const CWndState& state)
{
    return state.bVisible && state.bEnabled;
}

} // namespace

bool AfxIsRadio(const CWndState& state)
{
    const DWORD type = state.dwStyle & BS_TYPEMASK;
    return state.kind == AfxWndKind::button &&
           (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

bool AfxTakesFocus(const CWndState& state)
{
    switch (state.kind) {
    case AfxWndKind::edit:
    case AfxWndKind::comboBox:
    case AfxWndKind::listBox:
    case AfxWndKind::tab:
    case AfxWndKind::colorButton:
    case AfxWndKind::listEdit:
    case AfxWndKind::pictureButton:
        return true;
    case AfxWndKind::button:
        return (state.dwStyle & BS_TYPEMASK) != BS_GROUPBOX;
    default:
        return false;
    }
}

bool AfxUserFocus(HWND hWnd)
{
    CWndState* state = AfxGetWndState(hWnd);
    if (!state || !Usable(*state) || !AfxTakesFocus(*state))
        return false;
    Owner(*state)->SetFocus();
    return true;
}

bool AfxUserClick(HWND hWnd)
{
    CWndState* state = AfxGetWndState(hWnd);
    if (!state || !Usable(*state))
        return false;
    if (AfxTakesFocus(*state)) {
        Owner(*state)->SetFocus();
        state = AfxGetWndState(hWnd); // the focus handlers may have destroyed it
        if (!state)
            return true;
    }
    switch (state->kind) {
    case AfxWndKind::button:
    case AfxWndKind::pictureButton:
        ClickButton(*state);
        return true;
    case AfxWndKind::colorButton: {
        COLORREF clr = state->color;
        if (AfxGetColorDialogService()->ChooseColor(clr, Owner(*state))) {
            state = AfxGetWndState(hWnd);
            if (!state)
                return true;
            state->color = clr;
            state->Changed(PEER_COLOR);
            if (CWnd* parent = CWnd::FromHandle(state->hWndParent))
                parent->SendMessage(WM_COLORBUTTON_CHANGED, state->nID, static_cast<LPARAM>(clr));
        }
        return true;
    }
    default:
        return true;
    }
}

bool AfxUserType(HWND hWnd, const CString& text)
{
    CWndState* state = AfxGetWndState(hWnd);
    if (!state || !Usable(*state))
        return false;
    switch (state->kind) {
    case AfxWndKind::edit:
        if ((state->dwStyle & ES_READONLY) ||
            ((state->dwStyle & ES_NUMBER) && !HasOnlyDigits(text)))
            return false;
        if (AfxReplaceSelection(*state, text))
            AfxNotifyParent(*state, EN_CHANGE);
        return true;
    case AfxWndKind::comboBox:
        if ((state->dwStyle & 0x3) == CBS_DROPDOWNLIST)
            return false;
        // The typed text stays in the edit field: the list is never changed.
        if (AfxReplaceSelection(*state, text))
            AfxNotifyParent(*state, CBN_EDITCHANGE);
        return true;
    case AfxWndKind::listEdit:
        if (state->nCurSel < 0)
            return false;
        state->items[static_cast<std::size_t>(state->nCurSel)].strText = text;
        state->Changed(PEER_ITEMS);
        return true;
    default:
        return false;
    }
}

bool AfxUserSelect(HWND hWnd, int nIndex)
{
    CWndState* state = AfxGetWndState(hWnd);
    if (!state || !Usable(*state) || nIndex < 0 || nIndex >= static_cast<int>(state->items.size()))
        return false;
    if (AfxTakesFocus(*state)) {
        Owner(*state)->SetFocus();
        state = AfxGetWndState(hWnd);
        if (!state)
            return true;
    }
    switch (state->kind) {
    case AfxWndKind::comboBox:
        CListCore::SetCurSel(*state, nIndex);
        AfxNotifyParent(*state, CBN_SELCHANGE);
        return true;
    case AfxWndKind::listBox:
        CListCore::SetCurSel(*state, nIndex);
        AfxNotifyParent(*state, LBN_SELCHANGE);
        return true;
    case AfxWndKind::tab: {
        if (state->nCurSel == nIndex)
            return true;
        CListCore::SetCurSel(*state, nIndex);
        NMHDR header{hWnd, state->nID, TCN_SELCHANGE};
        if (CWnd* parent = CWnd::FromHandle(state->hWndParent))
            parent->SendMessage(WM_NOTIFY, state->nID, reinterpret_cast<LPARAM>(&header));
        return true;
    }
    case AfxWndKind::listEdit:
        CListCore::SetCurSel(*state, nIndex);
        return true;
    default:
        return false;
    }
}

bool AfxUserSpin(HWND hWnd, int nDelta)
{
    CWndState* state = AfxGetWndState(hWnd);
    if (!state || !Usable(*state) || state->kind != AfxWndKind::spin)
        return false;
    // "Up" moves towards the upper end of the range, whichever way it runs.
    const int step = state->nUpper >= state->nLower ? nDelta : -nDelta;
    AfxSetSpinPos(*state, AfxSpinPos(*state) + step);
    return true;
}

bool AfxUserScroll(HWND hWnd, UINT nSBCode, int nPos)
{
    CWndState* state = AfxGetWndState(hWnd);
    if (!state || !Usable(*state) || state->kind != AfxWndKind::scrollBar)
        return false;
    const UINT message = (state->dwStyle & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    if (CWnd* parent = CWnd::FromHandle(state->hWndParent))
        parent->SendMessage(message, MAKEWPARAM(WORD(nSBCode), WORD(nPos)),
                            reinterpret_cast<LPARAM>(hWnd));
    return true;
}

bool AfxUserMnemonic(HWND hWndParent, TCHAR chLetter)
{
    const TCHAR wanted = static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(chLetter)));
    const std::vector<CWndState*> children = AfxGetChildStates(hWndParent);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const CWndState& child = *children[i];
        if (!Usable(child) || MnemonicOf(child.strText) != wanted)
            continue;
        if (AfxTakesFocus(child))
            return AfxUserClick(child.hWnd);
        // A label or frame: the next control that takes the focus.
        for (std::size_t j = i + 1; j < children.size(); ++j)
            if (Usable(*children[j]) && AfxTakesFocus(*children[j]))
                return AfxUserFocus(children[j]->hWnd);
        return false;
    }
    return false;
}

bool AfxUserDialogKey(HWND hWnd, UINT nVirtKey)
{
    CWndState* focus = AfxGetWndState(hWnd);
    if (!focus)
        return false;
    // A window that takes the key itself (a toolbar combo) answers non-zero.
    if (focus->Target()->SendMessage(WM_KEYDOWN, nVirtKey, 0) != 0)
        return true;
    if (!(focus = AfxGetWndState(hWnd)))
        return true;
    if (nVirtKey == VK_RETURN && focus->kind == AfxWndKind::edit &&
        (focus->dwStyle & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN))
        return AfxUserType(hWnd, "\r\n");
    if (nVirtKey != VK_RETURN && nVirtKey != VK_ESCAPE)
        return false;
    CWnd* dialog = AfxGetDialogOf(hWnd);
    if (!dialog)
        return false;
    UINT nID = IDCANCEL;
    if (nVirtKey == VK_RETURN) {
        auto* dlg = dynamic_cast<CDialog*>(dialog);
        nID = dlg ? dlg->GetDefID() : IDOK;
    }
    CWnd* button = dialog->GetDlgItem(static_cast<int>(nID));
    const CWndState* state = button ? button->GetState() : nullptr;
    if (state && !Usable(*state))
        return false;
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(nID), WORD(BN_CLICKED)),
                        reinterpret_cast<LPARAM>(state ? state->hWnd : nullptr));
    return true;
}

bool AfxUserClose(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return false;
    // A frame closed while a run works asks first; its document and views
    // must outlive the run.
    if (AfxIsBusy() && dynamic_cast<CFrameWnd*>(wnd))
        return AfxBusyCloseRequest(hWnd);
    wnd->SendMessage(WM_CLOSE);
    return true;
}

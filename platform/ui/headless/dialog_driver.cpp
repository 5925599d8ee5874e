#include "platform/ui/headless/dialog_driver.h"

#include <string>

#include "platform/afx/numconv.h"
#include "platform/ui/core/services.h"
#include "platform/ui/headless/scripted_services.h"

namespace afxui::headless
{

namespace
{

// Focuses the control, selects its whole text and types text over it, as a
// user does.
void TypeOver(HWND hWnd, const CString& text)
{
    CWndState* state = AfxGetWndState(hWnd);
    state->peer->UserFocus();
    if ((state = AfxGetWndState(hWnd)) == nullptr)
        return;
    state->nSelStart = 0;
    state->nSelEnd = state->strText.GetLength();
    state->Changed(PEER_SELECTION);
    state->peer->UserType(text);
}

CWnd* FindIn(const CWnd& window, int nID)
{
    if (CWnd* item = window.GetDlgItem(nID))
        return item;
    for (const CWndState* child : AfxGetChildStates(window.GetSafeHwnd()))
        if (child->bVisible)
            if (CWnd* item = FindIn(*child->pOwner, nID))
                return item;
    return nullptr;
}

} // namespace

CWnd* DialogDriver::Find(int nID) const
{
    return nID == IDC_STATIC ? nullptr : FindIn(m_window, nID);
}

HWND DialogDriver::KeyTarget() const
{
    const HWND hWindow = m_window.GetSafeHwnd();
    CWnd* focus = CWnd::GetFocus();
    for (const CWndState* s = focus ? focus->GetState() : nullptr; s;
         s = AfxGetWndState(s->hWndParent))
        if (s->hWnd == hWindow)
            return focus->GetSafeHwnd();
    return hWindow;
}

void DialogDriver::PressApply()
{
    Click(ID_APPLY_NOW);
}

void DialogDriver::ActivatePage(int nIndex)
{
    Select(AFX_IDC_TAB_CONTROL, nIndex);
}

void DialogDriver::PressEnter()
{
    AfxUserDialogKey(KeyTarget(), VK_RETURN);
}

void DialogDriver::PressEscape()
{
    AfxUserDialogKey(KeyTarget(), VK_ESCAPE);
}

void DialogDriver::Close()
{
    AfxUserClose(m_window.GetSafeHwnd());
}

CWndState* DialogDriver::Control(int nID, const char* action) const
{
    CWnd* item = Find(nID);
    if (!item) {
        ReportFailure(AfxFormat("%s: the window has no control %d", action, nID));
        return nullptr;
    }
    return item->GetState();
}

CWndState* DialogDriver::Usable(int nID, const char* action) const
{
    CWndState* state = Control(nID, action);
    if (!state)
        return nullptr;
    if (!state->bVisible || !state->bEnabled || !state->peer) {
        ReportFailure(AfxFormat("%s: control %d is %s; a user cannot reach it", action, nID,
                                !state->bVisible   ? "hidden"
                                : !state->bEnabled ? "disabled"
                                                   : "without a peer"));
        return nullptr;
    }
    return state;
}

void DialogDriver::Type(int nID, const CString& text)
{
    CWndState* state = Usable(nID, "Type");
    if (!state)
        return;
    if (state->kind == AfxWndKind::edit && (state->dwStyle & ES_READONLY)) {
        ReportFailure(AfxFormat("Type: control %d is read-only; a user cannot type into it", nID));
        return;
    }
    const bool takesText =
        state->kind == AfxWndKind::edit || state->kind == AfxWndKind::listEdit ||
        (state->kind == AfxWndKind::comboBox && (state->dwStyle & 0x3) != CBS_DROPDOWNLIST);
    if (!takesText) {
        ReportFailure(AfxFormat("Type: control %d takes no typed text", nID));
        return;
    }
    TypeOver(state->hWnd, text);
}

void DialogDriver::Focus(int nID)
{
    if (CWndState* state = Usable(nID, "Focus"))
        state->peer->UserFocus();
}

void DialogDriver::Click(int nID)
{
    if (CWndState* state = Usable(nID, "Click"))
        state->peer->UserClick();
}

void DialogDriver::Select(int nID, int nIndex)
{
    CWndState* state = Usable(nID, "Select");
    if (!state)
        return;
    if (nIndex < 0 || nIndex >= static_cast<int>(state->items.size())) {
        ReportFailure(AfxFormat("Select: control %d has no item %d", nID, nIndex));
        return;
    }
    state->peer->UserSelect(nIndex);
}

void DialogDriver::SelectString(int nID, const CString& text)
{
    CWndState* state = Usable(nID, "SelectString");
    if (!state)
        return;
    const int index = CListCore::Find(*state, -1, text, true);
    if (index < 0) {
        ReportFailure(
            AfxFormat("SelectString: control %d has no item \"%s\"", nID, text.GetString()));
        return;
    }
    state->peer->UserSelect(index);
}

void DialogDriver::Spin(int nID, int nDelta)
{
    if (CWndState* state = Usable(nID, "Spin"))
        state->peer->UserSpin(nDelta);
}

void DialogDriver::Tab(int nID, int nIndex)
{
    Select(nID, nIndex);
}

void DialogDriver::ChooseColor(int nID, COLORREF rgb)
{
    if (auto* dialogs = dynamic_cast<ScriptedColorDialogs*>(AfxGetColorDialogService()))
        dialogs->Choose(rgb);
    else
        ReportFailure("ChooseColor: no scripted colour dialog is installed");
    Click(nID);
}

void DialogDriver::Mnemonic(TCHAR chLetter)
{
    AfxUserMnemonic(m_window.GetSafeHwnd(), chLetter);
}

CString DialogDriver::Text(int nID) const
{
    CString text;
    if (Control(nID, "Text"))
        Find(nID)->GetWindowText(text);
    return text;
}

int DialogDriver::Check(int nID) const
{
    const CWndState* state = Control(nID, "Check");
    return state ? state->nCheck : 0;
}

bool DialogDriver::Enabled(int nID) const
{
    const CWndState* state = Control(nID, "Enabled");
    return state && state->bEnabled;
}

bool DialogDriver::Visible(int nID) const
{
    const CWndState* state = Control(nID, "Visible");
    return state && state->bVisible;
}

bool DialogDriver::ReadOnly(int nID) const
{
    const CWndState* state = Control(nID, "ReadOnly");
    return state && (state->dwStyle & ES_READONLY);
}

std::vector<CString> DialogDriver::Items(int nID) const
{
    std::vector<CString> items;
    if (const CWndState* state = Control(nID, "Items"))
        for (const AfxListItem& item : state->items)
            items.push_back(item.strText);
    return items;
}

int DialogDriver::CurSel(int nID) const
{
    const CWndState* state = Control(nID, "CurSel");
    return state ? state->nCurSel : -1;
}

CString DialogDriver::Caption() const
{
    CString caption;
    m_window.GetWindowText(caption);
    return caption;
}

CWndState* ToolbarCombo::Usable(const char* action) const
{
    CComboBox* combo = m_manager.GetCombo(m_nID);
    CWndState* state = combo ? combo->GetState() : nullptr;
    if (!state || !state->bVisible || !state->bEnabled || !state->peer) {
        ReportFailure(AfxFormat("%s: toolbar combo %u cannot be reached", action, m_nID));
        return nullptr;
    }
    return state;
}

void ToolbarCombo::UserEnter(const CString& text)
{
    CWndState* state = Usable("UserEnter");
    if (!state)
        return;
    if ((state->dwStyle & 0x3) != CBS_DROPDOWN) {
        ReportFailure(AfxFormat("UserEnter: toolbar combo %u takes no typed text", m_nID));
        return;
    }
    const HWND hWnd = state->hWnd;
    TypeOver(hWnd, text);
    if (AfxGetWndState(hWnd))
        AfxUserDialogKey(hWnd, VK_RETURN);
}

void ToolbarCombo::UserSelect(int nIndex)
{
    if (CWndState* state = Usable("UserSelect"))
        state->peer->UserSelect(nIndex);
}

} // namespace afxui::headless

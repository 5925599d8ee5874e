#include "platform/ui/core/dialog.h"

#include <stdexcept>

#include "platform/afx/numconv.h"
#include "platform/ui/core/ddx.h"
#include "platform/ui/core/dlgtemplate.h"
#include "platform/ui/core/input.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/winapp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace
{

CModalHook* s_pModalHook = nullptr; // not owned; set and reset by AfxSetModalHook

} // namespace

CModalHook* AfxSetModalHook(CModalHook* pHook)
{
    CModalHook* old = s_pModalHook;
    s_pModalHook = pHook;
    return old;
}

CModalHook* AfxGetModalHook()
{
    return s_pModalHook;
}

CWnd* AfxGetDialogOf(HWND hWnd)
{
    for (CWndState* state = AfxGetWndState(hWnd); state; state = AfxGetWndState(state->hWndParent))
        if (!(state->dwStyle & WS_CHILD))
            return state->Target();
    return nullptr;
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

BOOL CDialog::CreateDialogWindow(CWnd* pParentWnd)
{
    const DialogTemplate* tmpl =
        AfxFindResource<DialogTemplate>(m_nIDTemplate, m_lpszTemplateModule);
    if (!tmpl)
        throw std::logic_error(AfxFormat("no module registers dialog template %u", m_nIDTemplate));
    CRect rect(0, 0, tmpl->size.cx, tmpl->size.cy);
    MapDialogRect(rect);
    if (!CWnd::Create(nullptr, tmpl->strCaption, WS_POPUP, rect, pParentWnd, 0))
        return FALSE;
    AfxCreateDlgControls(*this, *tmpl);
    return TRUE;
}

BOOL CDialog::CreateAndInit(CWnd* pParentWnd)
{
    if (!CreateDialogWindow(pParentWnd))
        return FALSE;
    const HWND hWnd = m_hWnd;
    if (SendMessage(WM_INITDIALOG) && AfxGetWndState(hWnd)) {
        // The first control that takes the focus gets it, as on a real desktop.
        for (CWndState* child : AfxGetChildStates(hWnd))
            if ((child->dwStyle & WS_TABSTOP) && child->bVisible && child->bEnabled &&
                AfxTakesFocus(*child)) {
                child->pOwner->SetFocus();
                break;
            }
    }
    return AfxGetWndState(hWnd) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    m_bModal = TRUE;
    m_bEnded = FALSE;
    m_nModalResult = -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (!CreateAndInit(parent)) {
        m_bModal = FALSE;
        return -1;
    }
    if (!m_bEnded) {
        ShowWindow(SW_SHOW);
        CModalHook* hook = AfxGetModalHook();
        if (!hook || !hook->RunModal(*this)) {
            CWndBackend* backend = AfxGetWndBackend();
            CString caption;
            GetWindowText(caption);
            backend->RunModalLoop(*this, m_nIDTemplate, caption);
        }
    }
    if (!m_bEnded) // whoever ran it left it open: it counts as cancelled
        m_nModalResult = IDCANCEL;
    DestroyWindow();
    m_bModal = FALSE;
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd ? pParentWnd : AfxGetMainWnd();
    m_bModal = FALSE;
    m_bEnded = FALSE;
    if (!CreateAndInit(m_pParentWnd))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    if (!m_bModal) {
        ShowWindow(SW_HIDE);
        return;
    }
    m_bEnded = TRUE;
    m_nModalResult = nResult;
    if (CWndBackend* backend = AfxGetWndBackend())
        backend->EndModalLoop(*this);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // A command nothing in the dialog handles goes to the application.
    CWinApp* app = AfxGetApp();
    return app && nCode == static_cast<int>(CN_COMMAND) &&
           app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_hWnd)
        throw std::logic_error("UpdateData: the dialog has no window yet; call it from "
                               "OnInitDialog or later");
    if (m_bInUpdateData)
        throw std::logic_error("UpdateData: called again while an exchange runs");
    m_bInUpdateData = TRUE;
    CDataExchange dx(this, bSaveAndValidate);
    dx.m_bQuiet = bSaveAndValidate && m_nQuiet > 0;
    try {
        DoDataExchange(&dx);
    } catch (...) {
        m_bInUpdateData = FALSE;
        throw;
    }
    m_bInUpdateData = FALSE;
    return dx.HasFailed() ? FALSE : TRUE;
}

BOOL CDialog::TakeQuietly()
{
    CQuietExchange quiet(*this);
    return UpdateData(TRUE);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_CLOSE:
        // Closing the window is the Cancel button.
        SendMessage(WM_COMMAND, MAKEWPARAM(WORD(IDCANCEL), WORD(BN_CLICKED)), 0);
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(nIDButton)))
        button->SetCheck(static_cast<int>(nCheck));
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    const CWnd* item = GetDlgItem(nIDButton);
    const CWndState* state = item ? item->GetState() : nullptr;
    return state ? static_cast<UINT>(state->nCheck) : 0;
}

void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (CWnd* item = GetDlgItem(id))
            if (CWndState* state = item->GetState(); state && AfxIsRadio(*state)) {
                state->nCheck = id == nIDCheckButton ? 1 : 0;
                state->Changed(PEER_CHECK);
            }
}

int CDialog::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (IsDlgButtonChecked(id))
            return id;
    return 0;
}

void CDialog::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    SetDlgItemText(nID, bSigned ? CString(AfxFormat("%d", static_cast<int>(nValue)).c_str())
                                : CString(AfxFormat("%u", nValue).c_str()));
}

UINT CDialog::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    CString text;
    GetDlgItemText(nID, text);
    long long value = 0;
    const bool ok = bSigned ? AfxParseInt(text, INT32_MIN, INT32_MAX, value)
                            : AfxParseInt(text, 0, UINT32_MAX, value);
    if (lpTrans)
        *lpTrans = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(value) : 0;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    const CWndState* state = pWndCtrl ? pWndCtrl->GetState() : nullptr;
    if (state)
        AfxGotoControl(pWndCtrl, state->kind == AfxWndKind::edit);
}

void AfxGotoControl(CWnd* pWndCtrl, bool bSelectAll)
{
    const HWND hWnd = pWndCtrl->GetSafeHwnd();
    if (!hWnd)
        return;
    pWndCtrl->SetFocus();
    CWndState* state = AfxGetWndState(hWnd); // focus handlers may have destroyed it
    if (state && bSelectAll) {
        state->nSelStart = 0;
        state->nSelEnd = state->strText.GetLength();
        state->Changed(PEER_SELECTION);
    }
}

UINT CDialog::GetDefID() const
{
    for (const CWndState* child : AfxGetChildStates(m_hWnd))
        if (child->kind == AfxWndKind::button && (child->dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return child->nID;
    return IDOK;
}

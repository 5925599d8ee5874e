// CDialog: a window built from a dialog template, modal (DoModal) or
// modeless (Create). Its controls live as long as its window; the C++
// object outlives the window and may create it again.
//
// A modal dialog runs without a nested loop of the layer's own: DoModal
// builds the window, runs OnInitDialog, then hands the dialog to the modal
// hook (tests script it, see ModalScript) or, without a hook, to the
// backend's modal loop. Whoever runs it ends it with EndDialog; DoModal then
// destroys the window and returns the EndDialog code, any value.
//
// OnOK is UpdateData(TRUE) and then EndDialog(IDOK): a failed exchange keeps
// the dialog open. Closing the window counts as IDCANCEL.
#pragma once

#include "platform/ui/core/controls.h"

class CDataExchange;
class CDialog;

// Runs modal dialogs in place of the backend's loop (tests and the GUI
// smoke runs answer the dialogs with it). RunModal is called with the
// dialog up and initialised; it drives the dialog and ends it. False leaves
// the dialog to the backend.
class CModalHook
{
public:
    virtual ~CModalHook() = default;
    virtual bool RunModal(CDialog& dialog) = 0;
};

// Installs a hook (not owned; null: none) and returns the one it replaces.
CModalHook* AfxSetModalHook(CModalHook* pHook);
CModalHook* AfxGetModalHook();

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Shows the dialog modally and returns the code given to EndDialog
    // (IDCANCEL when it was closed), or -1 when the window cannot be made.
    virtual INT_PTR DoModal();
    using CWnd::Create;
    // Creates the modeless window (a null parent means the main window):
    // OnInitDialog runs, then the window is shown (WM_SHOWWINDOW).
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Ends a modal dialog with nResult; a modeless one is hidden.
    void EndDialog(int nResult);

    // Members to controls (FALSE) or controls to members (TRUE, validated).
    // FALSE when the exchange failed; the failing control then has the
    // focus and its text selected.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // True while an exchange runs. The focus moves an exchange makes (a
    // refused control takes the focus) notify no focus handler then, so an
    // exchange never starts another from inside.
    BOOL IsExchanging() const { return m_bInUpdateData; }
    // UpdateData(TRUE) under a CQuietExchange: takes every valid value
    // without a word. For handlers of clicks and focus changes, which must
    // not validate: that is for OK, Apply and a change of page.
    BOOL TakeQuietly();

    UINT GetTemplateID() const { return m_nIDTemplate; }
    BOOL IsModal() const { return m_bModal; }
    // True once EndDialog ran for the current modal run.
    BOOL IsEnded() const { return m_bEnded; }
    INT_PTR GetModalResult() const { return m_nModalResult; }

    // Helpers on controls by id.
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    // Checks nIDCheckButton and clears the other radios of the id range.
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    // The checked radio of the id range, or 0.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    // Moves the focus to the control; an edit gets its whole text selected.
    void GotoDlgCtrl(CWnd* pWndCtrl);
    // The default button (the BS_DEFPUSHBUTTON one), IDOK when none is marked.
    UINT GetDefID() const;

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // The dialog's own map, then (commands only) the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Makes the dialog's window (hidden, controls included); pages and
    // sheets make theirs their own way.
    virtual BOOL CreateDialogWindow(CWnd* pParentWnd);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate = 0;
    // The resource module the template is looked up in first (null: the
    // chain's first); set by a dialog whose library shares the template id
    // with another library.
    LPCTSTR m_lpszTemplateModule = nullptr;
    CWnd* m_pParentWnd = nullptr; // not owned

    // The modal run's state, for dialogs that run without a window of their
    // own (the common dialogs).
    BOOL m_bModal = FALSE;
    BOOL m_bEnded = FALSE;
    INT_PTR m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()

private:
    friend class CQuietExchange;
    // Creates the window and runs WM_INITDIALOG.
    BOOL CreateAndInit(CWnd* pParentWnd);

    BOOL m_bInUpdateData = FALSE;
    int m_nQuiet = 0; // live CQuietExchange scopes
};

// While one lives, the dialog's saving exchanges neither show a message nor
// move the focus: a refused value is not taken and only fails the exchange,
// every valid one is taken. For handlers of clicks and focus changes, which
// take what is typed and leave the telling to OK, Apply and a change of
// page.
class CQuietExchange
{
public:
    explicit CQuietExchange(CDialog& dialog) : m_dialog(dialog) { ++m_dialog.m_nQuiet; }
    ~CQuietExchange() { --m_dialog.m_nQuiet; }
    CQuietExchange(const CQuietExchange&) = delete;
    CQuietExchange& operator=(const CQuietExchange&) = delete;

private:
    CDialog& m_dialog;
};

// The dialog a window belongs to for the dialog keys: the window itself or
// its nearest ancestor that is not a child window (a page's controls belong
// to its sheet). Null when there is none.
CWnd* AfxGetDialogOf(HWND hWnd);
// Gives a control the focus, with its whole text selected if bSelectAll.
void AfxGotoControl(CWnd* pWndCtrl, bool bSelectAll);

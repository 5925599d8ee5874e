// Property pages and sheets. A sheet shows one page at a time behind a tab
// row, with OK, Cancel and Apply (ID_APPLY_NOW) buttons.
//
// - A page's window is made the first time the page is shown: the
//   OnInitDialog of a page never shown never runs.
// - Leaving a page runs its OnKillActive (UpdateData(TRUE)); a failure
//   keeps the page and refuses the tab switch.
// - OK runs OnKillActive of the active page, then OnApply of every page
//   whose window exists, in order; a page returning FALSE keeps the sheet
//   open and becomes the active page. Pages never shown are not applied, so
//   their construction defaults never overwrite the caller's data.
// - Cancel calls OnReset (OnCancel) of the created pages and applies
//   nothing. Apply applies the created pages and disables itself again;
//   SetModified(TRUE) of a page enables it.
// - The sheet never deletes its pages: the caller does, and a page may be
//   shown by one sheet after another.
#pragma once

#include <vector>

#include "platform/ui/core/dialog.h"

class CPropertySheet;

// The title flag of a page's own settings: with it, pszTitle names the tab.
constexpr DWORD PSP_USETITLE = 0x00000008;
// The control ids of a sheet's own controls.
constexpr UINT AFX_IDC_TAB_CONTROL = 0x3020;

struct AfxPropSheetPage {
    DWORD dwFlags = 0;
    LPCTSTR pszTitle = nullptr; // the caller keeps the text alive
};

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // The tab title is the string nIDCaption, else the template's caption;
    // m_psp.pszTitle with PSP_USETITLE overrides both.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    AfxPropSheetPage m_psp;

    // Enables the sheet's Apply button (TRUE) or clears this page's mark.
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bModified; }
    // The tab title.
    CString GetTitle() const;
    // The sheet showing the page, or null.
    CPropertySheet* GetSheet() const { return m_pSheet; }

    virtual BOOL OnSetActive();
    // UpdateData(TRUE): FALSE keeps the page.
    virtual BOOL OnKillActive();
    // By default OnOK; FALSE keeps the sheet open on this page.
    virtual BOOL OnApply();
    // A page's OK and Cancel end nothing: the sheet does.
    void OnOK() override;
    void OnCancel() override;
    // By default OnCancel.
    virtual void OnReset();

protected:
    BOOL CreateDialogWindow(CWnd* pParentWnd) override;

private:
    friend class CPropertySheet;
    // Makes the page's window in the sheet and runs OnInitDialog.
    BOOL CreatePage(CPropertySheet* pSheet);

    UINT m_nIDCaption = 0;
    BOOL m_bModified = FALSE;
    CPropertySheet* m_pSheet = nullptr; // the sheet that made the window (not owned)
};

class CPropertySheet : public CDialog
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(LPCTSTR pszCaption = nullptr, CWnd* pParentWnd = nullptr,
                            UINT iSelectPage = 0);
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Adds a page (not owned) at the end.
    void AddPage(CPropertyPage* pPage);
    // Takes a page out (its window, if any, goes; the page object stays).
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(const CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_nActive; }
    // Before DoModal: the page to start on. While up: switches to it, unless
    // the active page refuses to be left.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCTSTR lpszText);
    CString GetTitle() const { return m_strCaption; }

    INT_PTR DoModal() override;

    BOOL OnInitDialog() override;
    // OK: kill-active, then apply every created page; the sheet ends with
    // IDOK when all of them accept.
    void OnOK() override;
    void OnCancel() override;
    // Apply: as OK, without ending; Apply disables itself again.
    void OnApplyNow();

protected:
    BOOL CreateDialogWindow(CWnd* pParentWnd) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    DECLARE_MESSAGE_MAP()

private:
    friend class CPropertyPage;
    // Shows page nPage (made on first show) and hides the one before.
    void ShowPage(int nPage);
    // Kill-active of the active page, then OnApply of the created pages.
    bool ApplyPages();
    void PageModified();

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages; // not owned
    int m_nActive = -1;
    int m_nStartPage = 0;
    CButton m_btnOK, m_btnCancel, m_btnApply;
    CTabCtrl m_tab;
};

#include "platform/ui/core/propsheet.h"

#include <algorithm>
#include <stdexcept>

#include "platform/afx/numconv.h"
#include "platform/ui/core/dlgtemplate.h"
#include "platform/ui/core/resources.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

namespace
{

const DialogTemplate& PageTemplate(UINT nIDTemplate)
{
    const DialogTemplate* tmpl = AfxFindResource<DialogTemplate>(nIDTemplate);
    if (!tmpl)
        throw std::logic_error(AfxFormat("no module registers page template %u", nIDTemplate));
    return *tmpl;
}

// The sheet's frame around its pages, in dialog units: the tab row above,
// the button row below, a margin on each side.
constexpr int kMargin = 7;
constexpr int kTabHeight = 14;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

} // namespace

// ---- CPropertyPage ---------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_nIDCaption(nIDCaption)
{
}

CString CPropertyPage::GetTitle() const
{
    if ((m_psp.dwFlags & PSP_USETITLE) && m_psp.pszTitle)
        return m_psp.pszTitle;
    CString title;
    if (m_nIDCaption && AfxLoadString(m_nIDCaption, title))
        return title;
    return PageTemplate(m_nIDTemplate).strCaption;
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bModified = bChanged;
    if (m_hWnd && m_pSheet)
        m_pSheet->PageModified();
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::CreateDialogWindow(CWnd* pParentWnd)
{
    const DialogTemplate& tmpl = PageTemplate(m_nIDTemplate);
    CRect rect(kMargin, kMargin + kTabHeight, kMargin + tmpl.size.cx,
               kMargin + kTabHeight + tmpl.size.cy);
    pParentWnd->MapDialogRect(rect);
    if (!CWnd::Create(nullptr, GetTitle(), WS_CHILD | WS_TABSTOP, rect, pParentWnd, 0))
        return FALSE;
    AfxCreateDlgControls(*this, tmpl);
    return TRUE;
}

BOOL CPropertyPage::CreatePage(CPropertySheet* pSheet)
{
    m_pSheet = pSheet;
    m_bModified = FALSE;
    if (!CreateDialogWindow(pSheet))
        return FALSE;
    const HWND hWnd = m_hWnd;
    SendMessage(WM_INITDIALOG);
    return AfxGetWndState(hWnd) != nullptr;
}

// ---- CPropertySheet --------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPropertySheet, CDialog)
ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CDialog(0, pParentWnd), m_strCaption(pszCaption ? pszCaption : ""),
      m_nStartPage(static_cast<int>(iSelectPage))
{
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nullptr, pParentWnd, iSelectPage)
{
    AfxLoadString(nIDCaption, m_strCaption);
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    m_pages.push_back(pPage);
    if (m_hWnd)
        m_tab.InsertItem(GetPageCount() - 1, pPage->GetTitle());
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    CPropertyPage* page = m_pages[static_cast<std::size_t>(nPage)];
    if (page->m_hWnd && page->m_pSheet == this)
        page->DestroyWindow();
    m_pages.erase(m_pages.begin() + nPage);
    if (!m_hWnd)
        return;
    m_tab.DeleteAllItems();
    for (int i = 0; i < GetPageCount(); ++i)
        m_tab.InsertItem(i, m_pages[static_cast<std::size_t>(i)]->GetTitle());
    if (nPage == m_nActive) {
        m_nActive = -1;
        if (GetPageCount() > 0)
            ShowPage(std::min(nPage, GetPageCount() - 1));
    } else if (nPage < m_nActive) {
        --m_nActive;
        m_tab.SetCurSel(m_nActive);
    }
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<std::size_t>(nPage)]
                                                : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const
{
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return m_hWnd ? GetPage(m_nActive) : GetPage(m_nStartPage);
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        m_nStartPage = nPage;
        return TRUE;
    }
    if (nPage == m_nActive)
        return TRUE;
    if (CPropertyPage* active = GetPage(m_nActive); active && !active->OnKillActive()) {
        m_tab.SetCurSel(m_nActive);
        return FALSE;
    }
    ShowPage(nPage);
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    return SetActivePage(GetPageIndex(pPage));
}

void CPropertySheet::SetTitle(LPCTSTR lpszText)
{
    m_strCaption = lpszText;
    if (m_hWnd)
        SetWindowText(m_strCaption);
}

INT_PTR CPropertySheet::DoModal()
{
    m_nActive = -1;
    return CDialog::DoModal();
}

BOOL CPropertySheet::CreateDialogWindow(CWnd* pParentWnd)
{
    if (m_pages.empty())
        throw std::logic_error("a property sheet needs a page before it is shown");
    // As large as the largest page.
    CSize pages(0, 0);
    for (const CPropertyPage* page : m_pages) {
        const DialogTemplate& tmpl = PageTemplate(page->GetTemplateID());
        pages.cx = std::max(pages.cx, tmpl.size.cx);
        pages.cy = std::max(pages.cy, tmpl.size.cy);
    }
    // The tabs side by side need their titles' room: a sheet with more tabs
    // than its pages are wide is made wider rather than its titles cut. A
    // title's width is estimated from its length (4 dialog units an average
    // letter, a sixth more for wide letters) and the tab's own margins.
    int tabs = 0;
    for (const CPropertyPage* page : m_pages) {
        CString title = page->GetTitle();
        title.Remove('&');
        tabs += (title.GetLength() * 14 + 2) / 3 + 16;
    }
    const int width = std::max<int>({pages.cx + 2 * kMargin, 4 * (kButtonWidth + 4) + kMargin,
                                     tabs + 2 * kMargin + 4});
    const int buttonsTop = kMargin + kTabHeight + pages.cy + kMargin;
    CRect rect(0, 0, width, buttonsTop + kButtonHeight + kMargin);
    MapDialogRect(rect);
    if (!CWnd::Create(nullptr, m_strCaption, WS_POPUP, rect, pParentWnd, 0))
        return FALSE;

    CRect tabRect(kMargin, kMargin, width - kMargin, kMargin + kTabHeight);
    MapDialogRect(tabRect);
    m_tab.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, tabRect, this,
                 AFX_IDC_TAB_CONTROL);
    for (int i = 0; i < GetPageCount(); ++i)
        m_tab.InsertItem(i, m_pages[static_cast<std::size_t>(i)]->GetTitle());

    struct Button {
        CButton& button;
        UINT nID;
        LPCTSTR text;
        DWORD style;
    };
    const Button buttons[] = {
        {m_btnOK, IDOK, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP},
        {m_btnCancel, IDCANCEL, "Cancel", BS_PUSHBUTTON | WS_TABSTOP},
        {m_btnApply, ID_APPLY_NOW, "&Apply", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED},
    };
    int right = width - kMargin;
    for (int i = 2; i >= 0; --i) {
        CRect r(right - kButtonWidth, buttonsTop, right, buttonsTop + kButtonHeight);
        MapDialogRect(r);
        buttons[i].button.Create(nullptr, buttons[i].text, WS_CHILD | WS_VISIBLE | buttons[i].style,
                                 r, this, buttons[i].nID);
        right -= kButtonWidth + 4;
    }
    return TRUE;
}

BOOL CPropertySheet::OnInitDialog()
{
    ShowPage(std::clamp(m_nStartPage, 0, GetPageCount() - 1));
    return TRUE;
}

void CPropertySheet::ShowPage(int nPage)
{
    CPropertyPage* page = GetPage(nPage);
    if (!page)
        return;
    if (!page->m_hWnd || page->m_pSheet != this)
        if (!page->CreatePage(this))
            return;
    if (CPropertyPage* old = GetPage(m_nActive); old && old != page && old->m_hWnd)
        old->ShowWindow(SW_HIDE);
    m_nActive = nPage;
    m_tab.SetCurSel(nPage);
    page->OnSetActive();
    page->ShowWindow(SW_SHOW);
}

bool CPropertySheet::ApplyPages()
{
    if (CPropertyPage* active = GetPage(m_nActive); active && !active->OnKillActive())
        return false;
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* page = m_pages[static_cast<std::size_t>(i)];
        if (!page->m_hWnd || page->m_pSheet != this)
            continue; // never shown: nothing of it is applied
        if (!page->OnApply()) {
            if (i != m_nActive)
                ShowPage(i);
            return false;
        }
        page->m_bModified = FALSE;
    }
    m_btnApply.EnableWindow(FALSE);
    return true;
}

void CPropertySheet::OnOK()
{
    if (ApplyPages())
        EndDialog(IDOK);
}

void CPropertySheet::OnCancel()
{
    for (CPropertyPage* page : m_pages)
        if (page->m_hWnd && page->m_pSheet == this)
            page->OnReset();
    EndDialog(IDCANCEL);
}

void CPropertySheet::OnApplyNow()
{
    ApplyPages();
}

void CPropertySheet::PageModified()
{
    // Apply is there while any shown page holds a change.
    BOOL bAny = FALSE;
    for (CPropertyPage* page : m_pages)
        if (page->m_hWnd && page->m_pSheet == this && page->m_bModified)
            bAny = TRUE;
    m_btnApply.EnableWindow(bAny);
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == AFX_IDC_TAB_CONTROL && header->code == TCN_SELCHANGE) {
        SetActivePage(m_tab.GetCurSel());
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

#include "platform/ui/core/bars.h"

#include "platform/ui/core/resources.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CTabWnd, CWnd)

BOOL CControlBar::CreateBar(CWnd* pParentWnd, LPCTSTR lpszTitle, DWORD dwStyle, UINT nID)
{
    return CWnd::Create(nullptr, lpszTitle, dwStyle | WS_CHILD, CRect(), pParentWnd, nID);
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (CWndState* state = GetState())
        state->Changed(PEER_STYLE);
}

void CControlBar::Dock(UINT nDockBarID, CSize size)
{
    m_nDockBarID = nDockBarID;
    m_size = size;
    if (CWndState* state = GetState())
        state->Changed(PEER_STYLE);
}

// ---- CStatusBar ---------------------------------------------------------------------

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateBar(pParentWnd, "", dwStyle, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    for (int i = 0; i < nIDCount; ++i)
        m_panes.push_back({lpIDArray[i], CString()});
    if (!m_panes.empty() && m_panes[0].nID == ID_SEPARATOR)
        AfxLoadString(AFX_IDS_IDLEMESSAGE, m_panes[0].strText);
    if (CWndState* state = GetState()) {
        state->items.clear();
        for (const Pane& pane : m_panes)
            state->items.push_back({pane.strText, pane.nID});
        state->Changed(PEER_ITEMS);
    }
    return TRUE;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<std::size_t>(nIndex)].nID : 0;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[static_cast<std::size_t>(i)].nID == nIDFind)
            return i;
    return -1;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane& pane = m_panes[static_cast<std::size_t>(nIndex)];
    // The lock-state panes stay blank: there is no portable way to read them.
    if (pane.nID == ID_INDICATOR_CAPS || pane.nID == ID_INDICATOR_NUM)
        return TRUE;
    pane.strText = lpszNewText ? lpszNewText : "";
    if (CWndState* state = GetState(); state && nIndex < static_cast<int>(state->items.size())) {
        state->items[static_cast<std::size_t>(nIndex)].strText = pane.strText;
        state->Changed(PEER_ITEMS);
    }
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<std::size_t>(nIndex)].strText
                                              : CString();
}

// ---- CTabWnd ------------------------------------------------------------------------

BOOL CTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!CWnd::Create(nullptr, "", dwStyle | WS_CHILD, CRect(), pParentWnd, nID))
        return FALSE;
    return m_vertBar.Create(nullptr, "", WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(), this, 1);
}

void CTabWnd::AddTab(CWnd* pWnd, LPCTSTR lpszLabel)
{
    m_tabs.push_back({pWnd, lpszLabel});
    if (CWndState* state = GetState()) {
        state->items.push_back({lpszLabel, 0});
        state->Changed(PEER_ITEMS);
    }
    if (m_nActive < 0)
        ActivateTab(0);
    else if (pWnd)
        pWnd->ShowWindow(SW_HIDE);
}

CString CTabWnd::GetTabLabel(int nTab) const
{
    return nTab >= 0 && nTab < GetTabCount() ? m_tabs[static_cast<std::size_t>(nTab)].strLabel
                                             : CString();
}

void CTabWnd::ActivateTab(int nTab)
{
    if (nTab < 0 || nTab >= GetTabCount())
        return;
    m_nActive = nTab;
    for (int i = 0; i < GetTabCount(); ++i)
        if (CWnd* wnd = m_tabs[static_cast<std::size_t>(i)].pWnd; wnd && wnd->GetSafeHwnd())
            wnd->ShowWindow(i == nTab ? SW_SHOW : SW_HIDE);
    if (CWndState* state = GetState()) {
        state->nCurSel = nTab;
        state->Changed(PEER_SELECTION);
    }
}

int CTabWnd::GetActiveTab(CWnd** ppWnd) const
{
    if (ppWnd)
        *ppWnd = m_nActive >= 0 ? m_tabs[static_cast<std::size_t>(m_nActive)].pWnd : nullptr;
    return m_nActive;
}

CScrollBar* CTabWnd::GetScrollBar(int nBar)
{
    return nBar == SB_VERT && m_vertBar.GetSafeHwnd() ? &m_vertBar : nullptr;
}

// Control bars: the status bar, a docking bar host and the small tab window
// a docking bar holds (the log bar's "Log" and "Error" tabs).
//
// The status bar's panes are numbered from 0 and keyed by their indicator
// ids. Pane 0 is the message pane: "Ready" at idle, a command's prompt while
// its item or button is under the mouse. The CAPS and NUM panes exist so
// that indices stay right, but stay blank.
#pragma once

#include <vector>

#include "platform/ui/core/controls.h"

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    // Creates the bar as a child of the frame with the bar id nID.
    BOOL CreateBar(CWnd* pParentWnd, LPCTSTR lpszTitle, DWORD dwStyle, UINT nID);
    // Where the bar may dock (CBRS_ALIGN_*) and the dock bar it is in
    // (AFX_IDW_DOCKBAR_*; 0 while floating).
    DWORD m_dwDockStyle = 0;
    UINT m_nDockBarID = 0;
    CSize m_size;
    // Both tell the bar's peer (PEER_STYLE) when the window exists.
    void EnableDocking(DWORD dwDockStyle);
    void Dock(UINT nDockBarID, CSize size);
};

// The "Visible" entry of a frame's bar state: "<bar id>=<0|1>" joined by
// ";". Parsing keeps the well-formed parts (decimal id, then "=0" or "=1")
// in order and skips the rest.
struct AfxBarVisibility {
    UINT nBarID = 0;
    BOOL bVisible = FALSE;
    bool operator==(const AfxBarVisibility&) const = default;
};
CString AfxFormatBarVisibility(const std::vector<AfxBarVisibility>& bars);
std::vector<AfxBarVisibility> AfxParseBarVisibility(const CString& text);

class CStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CStatusBar)
public:
    using CControlBar::Create;
    // The bar of the frame, child AFX_IDW_STATUS_BAR.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per indicator; pane 0 (ID_SEPARATOR) starts with "Ready".
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int nIndex) const;
    // The first pane with the id, or -1.
    int CommandToIndex(UINT nIDFind) const;
    // bUpdate shows the text at once (the peer is told either way here).
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;

private:
    struct Pane {
        UINT nID;
        CString strText;
    };
    std::vector<Pane> m_panes;
};

// Tabs, each showing one child window; the active one is visible.
class CTabWnd : public CWnd
{
    DECLARE_DYNAMIC(CTabWnd)
public:
    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // Adds a tab for pWnd (a child of this window; not owned).
    void AddTab(CWnd* pWnd, LPCTSTR lpszLabel);
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    CString GetTabLabel(int nTab) const;
    // The window the tab shows, or null.
    CWnd* GetTabWnd(int nTab) const
    {
        return nTab >= 0 && nTab < GetTabCount() ? m_tabs[static_cast<std::size_t>(nTab)].pWnd
                                                 : nullptr;
    }
    void ActivateTab(int nTab);
    // The active tab and its window (-1 and null without tabs).
    int GetActiveTab(CWnd** ppWnd = nullptr) const;
    // Brings the tab into the tab row (all tabs fit here: it only activates).
    void ScrollToTab(int nTab) { ActivateTab(nTab); }
    // The vertical scroll bar the tab window shows for its active tab.
    CScrollBar* GetScrollBar(int nBar);

private:
    struct Tab {
        CWnd* pWnd;
        CString strLabel;
    };
    std::vector<Tab> m_tabs;
    int m_nActive = -1;
    CScrollBar m_vertBar;
};

#include "platform/ui/core/menu.h"

#include "platform/ui/core/services.h"

void AfxUpdateMenu(CCmdTarget* pTarget, AfxMenu& menu)
{
    UINT index = 0;
    for (AfxMenuEntry& entry : menu) {
        if (!entry.popup.empty())
            AfxUpdateMenu(pTarget, entry.popup);
        else if (!entry.bSeparator && entry.item.nResourceID != 0)
            AfxUpdateCmdItem(pTarget, entry.item, index, static_cast<UINT>(menu.size()));
        ++index;
    }
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    const AfxMenu* table = AfxFindResource<AfxMenu>(nIDResource);
    if (!table)
        return FALSE;
    m_entries = *table;
    m_subMenus.clear();
    return TRUE;
}

BOOL CMenu::DestroyMenu()
{
    m_entries.clear();
    m_subMenus.clear();
    return TRUE;
}

CMenu* CMenu::GetSubMenu(int nPos)
{
    if (nPos < 0 || nPos >= static_cast<int>(m_entries.size()) ||
        m_entries[static_cast<std::size_t>(nPos)].popup.empty())
        return nullptr;
    m_subMenus.push_back(std::make_unique<CMenu>(m_entries[static_cast<std::size_t>(nPos)].popup));
    return m_subMenus.back().get();
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    if (nPos < 0 || nPos >= static_cast<int>(m_entries.size()))
        return 0;
    const AfxMenuEntry& entry = m_entries[static_cast<std::size_t>(nPos)];
    if (!entry.popup.empty())
        return static_cast<UINT>(-1);
    return entry.bSeparator ? 0 : entry.item.nCurrentID;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    rString.Empty();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const AfxMenuEntry& entry = m_entries[i];
        const bool match = (nFlags & MF_BYPOSITION) ? i == nIDItem
                                                    : !entry.bSeparator && entry.popup.empty() &&
                                                          entry.item.nCurrentID == nIDItem;
        if (match) {
            rString = entry.item.strText;
            return rString.GetLength();
        }
    }
    return 0;
}

UINT CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT)
{
    AfxMenu shown = m_entries;
    AfxUpdateMenu(pWnd, shown);
    const UINT nID = AfxGetPopupMenuService()->TrackPopupMenu(shown, CPoint(x, y), pWnd);
    if (nID != 0 && !(nFlags & TPM_RETURNCMD) && pWnd)
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(nID), 0), 0);
    return nID;
}

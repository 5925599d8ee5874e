// CMenu: a menu from the resource tables. TrackPopupMenu runs update UI
// through the owner's routing, shows the menu through the popup-menu
// service and sends the choice to the owner as a command.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/core/resources.h"
#include "platform/ui/core/wnd.h"

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;

class CMenu
{
public:
    CMenu() = default;
    explicit CMenu(AfxMenu entries) : m_entries(std::move(entries)) {}

    // A copy of menu nIDResource; FALSE when no module registers it.
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();
    // The popup at nPos (owned by this menu), or null.
    CMenu* GetSubMenu(int nPos);
    UINT GetMenuItemCount() const { return static_cast<UINT>(m_entries.size()); }
    // The item's current id; 0 for a separator, -1 for a popup.
    UINT GetMenuItemID(int nPos) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;

    // Updates the items through pWnd's routing, shows the menu at the screen
    // point and, unless TPM_RETURNCMD, sends the chosen id to pWnd as
    // WM_COMMAND. Returns the chosen id (0: dismissed).
    UINT TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

    AfxMenu m_entries;

private:
    std::vector<std::unique_ptr<CMenu>> m_subMenus; // made by GetSubMenu
};

// One update-UI pass over every item of a menu through pTarget's routing.
void AfxUpdateMenu(CCmdTarget* pTarget, AfxMenu& menu);

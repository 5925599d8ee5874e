// Update UI: before a menu shows, and at idle for toolbar buttons, every item
// asks the routing chain for its state through a CCmdUI. An item has two ids:
// its resource id (from the menu or toolbar table), whose update handlers
// run, and its current id, which choosing the item dispatches. An update
// handler may re-target the item (SetID); each update pass starts again from
// the resource id, so an item that was re-targeted once follows its handler
// on every later pass instead of staying on its first new id.
#pragma once

#include <vector>

#include "platform/afx/cstring.h"
#include "platform/ui/core/cmdtarget.h"

class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;       // the id whose update handlers are asked (resource id)
    UINT m_nIndex = 0;    // the item's place in its menu or toolbar
    UINT m_nIndexMax = 0; // the number of items there
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    // A radio mark: checked without a check box.
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    // Re-targets the item: choosing it then dispatches nID.
    virtual void SetID(UINT nID);
    // Lets the next target in the chain update the item as well.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // The id that choosing the item dispatches (m_nID unless re-targeted).
    UINT GetCurrentID() const { return m_nCurrentID; }

    // Routes the update request to pTarget. When no update handler set the
    // enabled state and bDisableIfNoHndler is set, the item is enabled exactly
    // when a command handler exists for its current id.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

private:
    UINT m_nCurrentID = 0;
};

// The state of one command item (a menu item, a toolbar button) as update UI
// leaves it. A menu item's text starts as its table text.
struct CCmdItemState {
    UINT nResourceID = 0; // from the table; its update handlers run
    UINT nCurrentID = 0;  // what choosing the item dispatches
    BOOL bEnabled = TRUE;
    int nCheck = 0; // 0, 1 or 2
    BOOL bRadio = FALSE;
    CString strText;
};

// Runs one update pass for an item: the current id goes back to the resource
// id, then the item's handlers run through pTarget's chain.
void AfxUpdateCmdItem(CCmdTarget* pTarget, CCmdItemState& item, UINT nIndex = 0, UINT nIndexMax = 0,
                      BOOL bDisableIfNoHndler = TRUE);

// Chooses an item: dispatches its current id through pTarget's chain. A
// disabled item does nothing. True when a handler ran.
BOOL AfxChooseCmdItem(CCmdTarget* pTarget, const CCmdItemState& item);

// The state a command id would show now: one update pass of a fresh item
// (enabled, unchecked, no text) with resource id nID.
CCmdItemState AfxQueryCommandUI(CCmdTarget* pTarget, UINT nID);

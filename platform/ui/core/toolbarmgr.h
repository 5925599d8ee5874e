// The toolbar model of the main frame: toolbar definitions and combo-box
// buttons, kept as data. The backend builds real toolbars from it.
//
// A definition holds the control-bar id, the title, the buttons of a
// toolbar table (ID_SEPARATOR for a gap), the alignments it may dock to
// (CBRS_ALIGN_*), its dock bar (AFX_IDW_DOCKBAR_*), the bar it is docked
// next to, and whether it starts docked and visible on the first run.
//
// Combo buttons are keyed by command id: combo style CBS_DROPDOWNLIST (3)
// or CBS_DROPDOWN (2, editable); the low half of the size word is the
// minimum width. The frame hears of them through WM_TOOLBARWNDNOTIFY
// (wParam = command id | code << 16, lParam the combo's handle): code
// TBN_WNDCREATED once after the combo is made, TBN_ENTERPRESSED when Return
// is pressed in an editable combo. A selection change is a command with
// code CBN_SELCHANGE, routed like any other.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/core/bars.h"
#include "platform/ui/core/controls.h"

class CFrameWnd;

constexpr UINT TBN_WNDCREATED = 0x101;
constexpr UINT TBN_ENTERPRESSED = 0x201;

struct AfxToolBarDef {
    UINT nBarID = 0;
    CString strTitle;
    UINT nIDResource = 0;
    std::vector<UINT> buttons; // from the toolbar table; ID_SEPARATOR = gap
    DWORD dwAlignStyle = CBRS_ALIGN_ANY;
    UINT nDockBarID = AFX_IDW_DOCKBAR_TOP;
    UINT nNextTo = 0; // the bar it docks next to (0: none)
    BOOL bDocked = TRUE;
    BOOL bVisible = TRUE;
    BOOL bFirstRun = FALSE;
};

struct AfxComboButton {
    UINT nID = 0;
    UINT nComboStyle = CBS_DROPDOWNLIST; // or CBS_DROPDOWN
    DWORD dwSize = 0;                    // low word: minimum width
    int GetMinWidth() const { return LOWORD(dwSize); }
};

// A combo box on a toolbar: Return in an editable one notifies the frame.
class CToolBarCombo : public CComboBox
{
    DECLARE_DYNAMIC(CToolBarCombo)
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CToolBarManager;

// A toolbar of the frame, made from its definition: a control bar whose
// window id is the definition's bar id. The backend shows its buttons, and
// in place of a combo button the combo the manager made for it.
class CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar(const AfxToolBarDef& def, const CToolBarManager& manager)
        : m_def(def), m_manager(manager)
    {
    }
    const AfxToolBarDef& GetDefinition() const { return m_def; }
    // The combo standing for button nID, or null for a plain button.
    CComboBox* GetButtonCombo(UINT nID) const;
    // The manager's button size and tooltips switch.
    BOOL IsLargeButtons() const;
    BOOL ToolTipsEnabled() const;

private:
    AfxToolBarDef m_def;
    const CToolBarManager& m_manager;
};

class CToolBarManager
{
public:
    explicit CToolBarManager(CFrameWnd* pFrame) : m_pFrame(pFrame) {} // not owned
    virtual ~CToolBarManager() = default;

    // Defines a toolbar; its buttons come from toolbar table nIDResource.
    // Throws std::logic_error when no module registers the table. When the
    // frame has its window, the toolbar's window (a CToolBar, child nBarID
    // of the frame, shown when bVisible) is made at once.
    void DefineDefaultToolBar(UINT nBarID, LPCTSTR lpszTitle, UINT nIDResource, DWORD dwAlignStyle,
                              UINT nDockBarID, UINT nNextTo, BOOL bDocked, BOOL bVisible,
                              BOOL bFirstRun = FALSE);
    const std::vector<AfxToolBarDef>& GetToolBars() const { return m_bars; }
    const AfxToolBarDef* FindToolBar(UINT nBarID) const;
    // The window of a defined toolbar, or null.
    CToolBar* GetToolBar(UINT nBarID) const;
    // The combo buttons, by command id.
    void SetButtonMap(const std::vector<AfxComboButton>& map) { m_map = map; }

    // Makes the combo of each combo button on a defined toolbar (once per
    // command id); each new combo sends TBN_WNDCREATED to the frame.
    void CreateControls();
    CComboBox* GetCombo(UINT nID) const;
    // Sends a message to every button window of the command id.
    void InformBtns(UINT nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Button size (16 x 15, or 30 x 30 when large) and tooltips of every
    // toolbar; the toolbars show a change at once.
    void SetLargeButtons(BOOL bLarge);
    BOOL IsLargeButtons() const { return m_bLargeButtons; }
    void EnableToolTips(BOOL bEnable);
    BOOL ToolTipsEnabled() const { return m_bToolTips; }
    CFrameWnd* GetFrame() const { return m_pFrame; }
    // The button size and tooltips in the profile section (entries
    // "LargeButtons" and "ToolTips"); loading keeps what the section lacks.
    void SaveState(LPCTSTR lpszProfileName) const;
    void LoadState(LPCTSTR lpszProfileName);

private:
    CFrameWnd* m_pFrame;
    std::vector<AfxToolBarDef> m_bars;
    std::vector<AfxComboButton> m_map;
    std::vector<std::unique_ptr<CToolBarCombo>> m_combos;
    std::vector<std::unique_ptr<CToolBar>> m_toolbars;
    BOOL m_bLargeButtons = FALSE;
    BOOL m_bToolTips = TRUE;
    void ToolBarsChanged(UINT nChanges) const;
};

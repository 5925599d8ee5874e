// KorMainFrm: the main frame of the framework's programs, an MDI frame. It
// defines the toolbars from a list of named button groups, makes the status
// bar and the docking log window, runs the selection-filter and grid-spacing
// combo boxes of the toolbars, the coordinate-entry dialog, the font and
// OpenGL-acceleration commands and the tabbed (workbook) mode, and keeps its
// own part of the settings archive.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/korlogwnd.h"
#include "platform/ui/core/afxui.h"

class KorDlgCoordInputEx;
class KorToolBarCmdPage;

// Toolbar and combo commands of the frame.
constexpr UINT ID_KOR_WORKBOOK = 50000;
constexpr UINT ID_KOR_LOGWINDOW = 50001;
constexpr UINT ID_KOR_GRIDSPACE = 50002;
constexpr UINT ID_KOR_ENTERCOORD = 50007;
constexpr UINT ID_KOR_SELFILTER = 50008;
constexpr UINT ID_KOR_DISABLEOPENGL = 50013;
constexpr UINT ID_KOR_CUSTOMIZE = 50032;
constexpr UINT ID_KOR_INDICATOR_ELEMENT = 50033;
constexpr UINT ID_KOR_INDICATOR_TIME = 50034;
constexpr UINT ID_KOR_INDICATOR_COORD = 50035;
constexpr UINT ID_KOR_FONTS = 50047;
// The next-to value that means "beside the group defined before".
constexpr UINT KOR_NEXT_TO_PREVIOUS = 0xFFFFFFFF;

// A named toolbar: its buttons come from toolbar table m_nResID. The groups
// form a list whose head the frame embeds; each owns the next one.
class KorButtonGroup : public CObject
{
public:
    // The control-bar ids 0xE801-0xE803 (the status bar's and the layer's
    // own) become 0xE804.
    KorButtonGroup(LPCTSTR name, UINT resID, UINT nextTo, DWORD style, UINT dockBarID, UINT barID);
    ~KorButtonGroup() override;
    KorButtonGroup(const KorButtonGroup&) = delete;
    KorButtonGroup& operator=(const KorButtonGroup&) = delete;

    // Adds a group at the end of the list (control-bar id: the last one's
    // + 1) and returns true; a group of the same name takes the new values
    // instead (its next-to id only when nextTo is not
    // KOR_NEXT_TO_PREVIOUS) and false comes back. A next-to equal to the
    // resource id of a group passed on the way becomes that group's bar id;
    // KOR_NEXT_TO_PREVIOUS becomes the last group's bar id.
    bool New(LPCTSTR name, UINT resID, UINT nextTo, DWORD style, UINT dockBarID);
    // The group of toolbar table resID, or null.
    KorButtonGroup* Find(UINT resID);
    UINT GetID() const { return m_nBarID; }
    // Defines one toolbar per group, in list order; first-run toolbars dock
    // next to the bars the groups name. Returns the number of groups.
    int DefineToolbars(CToolBarManager* manager, bool firstRun);
    // Gives the command page each group's name and buttons.
    void DefineBtnGroup(KorToolBarCmdPage& page);

    UINT m_nCount = 0; // buttons, filled when the toolbars are defined
    UINT m_nBarID;
    UINT m_nResID;
    UINT m_nDockBarID;
    UINT m_nNextTo;
    std::vector<UINT> m_pBtnIDs; // filled when the toolbars are defined
    DWORD m_dwStyle;
    CString m_strName;
    std::unique_ptr<KorButtonGroup> m_pNext;
};

class KorMainFrm : public CMDIFrameWnd
{
    DECLARE_DYNAMIC(KorMainFrm)
public:
    // The length of the grid-spacing list and of a derived frame's lists.
    static constexpr int kMaxListValues = 10;

    KorMainFrm();
    ~KorMainFrm() override;

    // Refills the toolbar combo of command id with items and selects sel;
    // without items a negative sel becomes 0 and the box shows "NONE".
    virtual void UpdateListButton(UINT id, CStringArray* items, int sel);
    // Selects entry index of the selection-filter box.
    virtual void SetCurSelSelectFilter(int index);
    // Reads or writes the frame's part of the settings archive.
    virtual void InitFrame(CArchive& ar);
    // The groups of that part, in their stored order (see KorApp::SettingsGroups).
    virtual std::vector<std::string> FrameSettingsGroups() const;
    // Sets the frame up when no settings archive could be read.
    virtual void InitFrame();
    // Notifications of the toolbar combos (wParam of WM_TOOLBARWNDNOTIFY).
    virtual void ToolBarWndNotify(UINT code, CWnd* control);
    // Puts the button groups on the customise sheet's command page.
    virtual void DefineBtnGroup(KorToolBarCmdPage& page);
    // One toolbar per button group; the next free control-bar id.
    virtual int DefineToolbars(CToolBarManager* manager, bool firstRun);
    // The first run of a profile (no "I1.1" in "Info") marks it and places
    // the toolbars next to one another.
    virtual void DefineToolbars(CToolBarManager* manager);
    // Registers the toolbar bitmaps (the layer takes them from the toolbar
    // tables: nothing to do here).
    virtual void AddToolBarResource(CToolBarManager* manager);
    // Creates the status bar with its seven panes.
    virtual int SetStatBarIndic();
    // The combo-box buttons of the toolbars.
    virtual void SetButtonMap();

    KorLogWnd* GetLogWindow() { return &m_wndLog; }
    CToolBarManager* GetToolBarManager() const { return m_pToolBarManager.get(); }
    CStatusBar& GetStatusBarWnd() { return m_wndStatusBar; }
    // Fills the selection-filter box from m_pFilterNames ("NONE" without).
    void UpdateSelFilter();
    // Fills the grid box with the spacings in the display unit and selects
    // the current one.
    void UpdateGridList();
    // -1 toggles the coordinate dialog, 0 closes it, anything else opens it.
    void ShowEnterCoord(int mode);
    // Enables or disables the offset controls of the coordinate dialog.
    void EnableOffset(bool enable);
    // Selects entry sel of the combo of command id.
    void UpdateListButton(UINT id, int sel);

    // The combo of command id on the toolbars, or null.
    CComboBox* GetToolbarCombo(UINT id) const;
    // Whether the window is maximised.
    virtual bool IsFrameZoomed() const;

    KorLogWnd m_wndLog;
    CStringArray* m_pFilterNames = nullptr; // owned
    // The active document's result names: the derived frame points it at
    // them and the frame never deletes it.
    CStringArray* m_pListNames = nullptr;
    CStatusBar m_wndStatusBar;
    int m_bWorkbookMode = 1;
    double m_dGridSpacing[10];
    double m_dCurGridSpacing;
    KorDlgCoordInputEx* m_pCoordDlg = nullptr; // owned
    KorButtonGroup m_BtnGroups;
    UINT m_nDrawToolsBarID = 0xE807;

protected:
    // Applies m_bWorkbookMode to the MDI area (tabs or sub-windows).
    virtual void ApplyWorkbookMode();
    // Gives the spacing to the active 2D view; nothing without one.
    virtual void ApplySnapSpace(double spacing, bool redraw);
    // Enters a typed point in the active 2D view (relative: added to the
    // cursor); x and y receive the resulting point. False without one.
    virtual bool EnterCoord2D(double& x, double& y, bool relative);
    // The same for the active 3D view.
    virtual bool EnterCoord3D(double& x, double& y, double& z, bool relative);
    // The factor from millimetres to the length unit shown.
    static double LengthFactor();
    // A length (in the unit shown) as the combos show it: in the number
    // format and digits the unit settings give lengths, with up to six
    // digits where fewer would round the value.
    static CString SpacingText(double value);

    // The lists of ten values (grid spacings, thicknesses; millimetres, the
    // first non-positive entry ends the list) with their current value.
    // Refills the combo of command id with the list in the display unit and
    // selects the (last) entry equal to current, else entry 0.
    void FillValueCombo(UINT id, const double* values, double current);
    // Takes the text typed into the combo of a list: nothing for an empty
    // text; a message and the current entry selected again for one that is
    // not a positive number; else the entry of that text is selected, or
    // the value appended (the oldest dropped from a full list), and current
    // becomes the value. True when current was set.
    bool EnterComboValue(CComboBox& combo, double* values, double& current);
    // A list in the settings archive: the positive values from the start,
    // then minus the index of the current one (0.0 when it is none of them).
    static void StoreValueList(CArchive& ar, const double* values, double current);
    // Reads such a list into values (at most ten kept; entries past those
    // read stay) and returns the current value: the entry the terminator
    // names among those read, else entry 0.
    static double LoadValueList(CArchive& ar, double* values);
    // The profile section of the bar state: the executable's base name.
    static CString BarStateSection();

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    LRESULT OnToolBarWndNotify(WPARAM wParam, LPARAM lParam);
    void OnToolsWorkbook();
    void OnUpdateToolsWorkbook(CCmdUI* pCmdUI);
    void OnViewLogwindow();
    void OnUpdateViewLogwindow(CCmdUI* pCmdUI);
    void OnButtonEntercoord();
    void OnUpdateButtonEntercoord(CCmdUI* pCmdUI);
    void OnGridSpace();
    void OnFonts();
    void OnDisableopengl();
    void OnUpdateDisableopengl(CCmdUI* pCmdUI);
    void OnToolsCustomize();
    LRESULT OnEnterCoord(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnterCoord3D(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Docks the log window at the bottom, 100 pixels high.
    void DockLogWindow();
    std::unique_ptr<CToolBarManager> m_pToolBarManager;
};

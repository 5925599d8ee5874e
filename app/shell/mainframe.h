// CMainFrame: the program's main window on the framework's main frame. It
// adds the eight toolbars of plate analysis with their button groups, the
// view-mode, material, result-component and thickness combos, the list of
// active thicknesses (the one current thickness is what new regions get),
// the result-component names of the three element families, its own part
// of the settings archive (the thickness list after the framework's part),
// and the commands for the automatic zoom and result scaling, the grid and
// thickness lists, the user manual and help.
#pragma once

#include <vector>

#include "framework/framira.h"

class CMaterial;

// The result-component names of the element families, filled once by the
// main frame's InitFrame: thick plates (75, 81, 85), thin plates (61, 65,
// 66) and membranes (31-46, and the shell document).
extern CStringArray g_arThickPlateResults;
extern CStringArray g_arThinPlateResults;
extern CStringArray g_arMembraneResults;

// Fills the three lists that are still empty.
void FillResultLists();

// The family list of an element-type code; null for an unknown code.
CStringArray* ResultNamesForElementType(int code);

// Command ids of the main frame.
constexpr UINT ID_VIEW_MODE = 32853;
constexpr UINT ID_ACTIVE_MATERIAL = 32797;
constexpr UINT ID_RESULT_COMPONENT = 50114;
constexpr UINT ID_ACTIVE_THICKNESS = 32799;
constexpr UINT ID_AUTO_ZOOM = 34069;
constexpr UINT ID_AUTO_SCALE_RESULTS = 34070;
constexpr UINT ID_GRID_THICKNESS = 34071;
constexpr UINT ID_USER_MANUAL = 32794;
constexpr UINT ID_UNITS_FORMATS = 34019;
constexpr UINT ID_COLOR_OPTIONS = 32856;

class CMainFrame : public KorMainFrm
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    static constexpr int kToolbars = 8;
    // Child-frame setting bits of the automatic zoom and result scaling.
    static constexpr UINT kAutoZoomBit = 1;
    static constexpr UINT kAutoScaleBit = 2;

    CMainFrame();
    ~CMainFrame() override;

    void InitFrame(CArchive& ar) override;
    void InitFrame() override;
    std::vector<std::string> FrameSettingsGroups() const override;
    void ToolBarWndNotify(UINT code, CWnd* control) override;
    void DefineBtnGroup(KorToolBarCmdPage& page) override;
    // The framework's toolbars, then the eight of the program from the
    // first free id b on; returns b + 8.
    int DefineToolbars(CToolBarManager* manager, bool firstRun) override;
    using KorMainFrm::DefineToolbars;
    void SetButtonMap() override;

    // 32804 modelling, 50055 results, 32854 mesh: selects the view-mode
    // entry (0 for any other id) and has the active child frame switch.
    virtual void SwitchViewMode(UINT id);
    // Refills the material combo with the names of materials (a list of
    // CMaterial; "NONE" when missing or empty) and selects active (entry 0
    // when it is not listed).
    virtual void UpdateMaterialList(CObList* materials, CMaterial* active);
    // Refills the thickness combo from m_dThickness and selects the current
    // thickness.
    void UpdateThicknessList();
    // The thickness and grid boxes show the values in force, not a number
    // left typed in them: a region drawn next takes what the box shows.
    void ShowValuesInForce();
    // Refills the result combo from m_pListNames ("NONE" without names)
    // and selects entry index.
    void UpdateResultList(int index);
    void SetViewModeSel(int index);

    // The title names the active document: "Brantel - plate.plb".
    void UpdateTitle();
    // The result-component and view-mode combos act on a document: they are
    // disabled while none is open.
    void UpdateDocumentCombos();
    // Each activation (and the last document's closing) also updates the
    // document combos.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    double m_dThickness[kMaxListValues];
    double m_dActThickness;
    std::vector<UINT> m_pBtnIDs[kToolbars]; // filled when the toolbars are defined
    UINT m_nBtnCount[kToolbars] = {};
    UINT m_nThicknessBarID = 0;

protected:
    // The active 2D view of the active child frame takes the spacing.
    void ApplySnapSpace(double spacing, bool redraw) override;
    // The program's folder, ending in "/".
    CString ProgramFolder() const;
    // The profile section of the toolbar state: the executable's name.
    static CString BarStateSection();

    int OnCreate(LPCREATESTRUCT lpcs);
    // Saves the toolbar state while the bars exist.
    void OnDestroy();
    void OnSelChangeThickness();
    void OnAutoZoom();
    void OnUpdateAutoZoom(CCmdUI* pCmdUI);
    void OnAutoScaleResults();
    void OnUpdateAutoScaleResults(CCmdUI* pCmdUI);
    void OnGridThickness();
    // The "Units" dialog on a copy of the unit settings; OK puts them in
    // force and shows every length in the new unit.
    void OnUnitsFormats();
    // The "View Options" sheet: screen options, lights and colour scale;
    // the pages apply their own changes.
    void OnColorOptions();
    void OnUserManual();
    void OnHelpFinder();
    DECLARE_MESSAGE_MAP()

private:
    // Fills the view-mode combo and the result lists (when empty), refills
    // the thickness and result combos and clears the material combo.
    void FillCombos();
    // Refills the combo of command id with entries ("NONE" when there are
    // none) and selects sel.
    void RefillCombo(UINT id, const std::vector<CString>& entries, int sel);
};

#include "app/shell/mainframe.h"

#include <algorithm>
#include <filesystem>

#include "app/shell/brantelapp.h"
#include "app/shell/branteldoc.h"
#include "app/shell/coloroptpage.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "app/shell/unitsdlg.h"
#include "graphview/ogl2dview.h"
#include "platform/dimvor/units.h"
#include "platform/ferrand/material.h"

IMPLEMENT_DYNCREATE(CMainFrame, KorMainFrm)

CStringArray g_arThickPlateResults;
CStringArray g_arThinPlateResults;
CStringArray g_arMembraneResults;

namespace
{

constexpr UINT kZoomAndPositioningBar = 59397;
// The program's toolbars in the order of their ids.
const char* const kBarTitles[CMainFrame::kToolbars] = {
    "Calculations",      "Geometric objects",         "Active material",  "Active thickness",
    "Result view tools", "Object modification-tools", "Clip-plane tools", "Extrude-tools"};
constexpr DWORD kTopBottom = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;

// The combo buttons' size word: minimum width (low) and height (high).
constexpr DWORD ComboSize(WORD width, WORD height)
{
    return static_cast<DWORD>(width) | (static_cast<DWORD>(height) << 16);
}

void FillWhenEmpty(CStringArray& list, std::initializer_list<const char*> names)
{
    if (list.GetSize() > 0)
        return;
    for (const char* name : names)
        list.Add(name);
}

} // namespace

void FillResultLists()
{
    FillWhenEmpty(g_arThickPlateResults,
                  {"Mx", "My", "Mxy", "Vx", "Vy", "w", "w,x", "w,y", "Rz", "M_1", "M_2"});
    FillWhenEmpty(g_arThinPlateResults, {"Mx", "My", "Mxy", "w", "w,x", "w,y", "Rz", "M_1", "M_2"});
    FillWhenEmpty(g_arMembraneResults,
                  {"Sigma x", "Sigma y", "Tau xy", "u", "v", "R_x", "R_y", "Sigma_1", "Sigma_2",
                   "Eff. stress", "Distorted model"});
}

namespace
{

// The number of positive values at the start of a list of ten.
int ListCount(const double* values)
{
    int count = 0;
    while (count < KorMainFrm::kMaxListValues && values[count] > 0.0)
        ++count;
    return count;
}

// A number-list page that remembers whether its values were written back.
class ListPage : public KorPPNumListEdit
{
public:
    ListPage(const char* title, double* values, double factor)
        : KorPPNumListEdit(title, values, ListCount(values), KorMainFrm::kMaxListValues, factor, 1)
    {
    }
    BOOL OnApply() override
    {
        const BOOL applied = KorPPNumListEdit::OnApply();
        m_bApplied = m_bApplied || applied;
        return applied;
    }
    // Ends the list after the entries written back; false when the page
    // wrote nothing (cancelled) or, impossibly, no entry.
    bool TakeOver(double* values) const
    {
        const int count = GetEntries();
        if (!m_bApplied || count < 1)
            return false;
        for (int i = count; i < KorMainFrm::kMaxListValues; ++i)
            values[i] = -1.0;
        return true;
    }

private:
    bool m_bApplied = false;
};

} // namespace

CStringArray* ResultNamesForElementType(int code)
{
    switch (code) {
    case 31: case 32: case 33: case 41: case 42: case 44: case 46:
        return &g_arMembraneResults;
    case 61: case 65: case 66:
        return &g_arThinPlateResults;
    case 75: case 81: case 85:
        return &g_arThickPlateResults;
    default:
        return nullptr;
    }
}

BEGIN_MESSAGE_MAP(CMainFrame, KorMainFrm)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_CBN_SELCHANGE(ID_ACTIVE_THICKNESS, OnSelChangeThickness)
ON_COMMAND(ID_AUTO_ZOOM, OnAutoZoom)
ON_UPDATE_COMMAND_UI(ID_AUTO_ZOOM, OnUpdateAutoZoom)
ON_COMMAND(ID_AUTO_SCALE_RESULTS, OnAutoScaleResults)
ON_UPDATE_COMMAND_UI(ID_AUTO_SCALE_RESULTS, OnUpdateAutoScaleResults)
ON_COMMAND(ID_GRID_THICKNESS, OnGridThickness)
ON_COMMAND(ID_UNITS_FORMATS, OnUnitsFormats)
ON_COMMAND(ID_COLOR_OPTIONS, OnColorOptions)
ON_COMMAND(ID_USER_MANUAL, OnUserManual)
ON_COMMAND(ID_HELP_FINDER, OnHelpFinder)
ON_COMMAND(ID_HELP, OnHelpFinder)
ON_COMMAND(ID_DEFAULT_HELP, OnHelpFinder)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    m_pCoordDlg = new KorDlgCoordInputEx(
        UnitString(iStandard, kUnitLength, iConv[iStandard == 1 ? 1 : 0][0][0]), 0, this);
    m_dThickness[0] = iStandard == 1 ? 5.08 : 100.0;
    for (int i = 1; i < kMaxListValues; ++i)
        m_dThickness[i] = -1.0;
    m_dActThickness = m_dThickness[0];
    m_pFilterNames = new CStringArray;
    for (const char* name : {"Nodes", "Edges", "Regions", "All"})
        m_pFilterNames->Add(name);
}

CMainFrame::~CMainFrame()
{
    // The result names belong to the application, not to the frame.
    m_pListNames = nullptr;
}

CString CMainFrame::BarStateSection()
{
    const CWinApp* app = AfxGetApp();
    return app && app->m_pszExeName ? CString(app->m_pszExeName) : CString("brantel");
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (KorMainFrm::OnCreate(lpcs) < 0)
        return -1;
    // The toolbars as they were left: placed and shown by the saved state.
    const CString section = BarStateSection();
    LoadBarState(section);
    SaveBarState(section);
    return 0;
}

void CMainFrame::OnDestroy()
{
    // The bars still exist here: their state goes to the profile.
    SaveBarState(BarStateSection());
    KorMainFrm::OnDestroy();
}

CString CMainFrame::ProgramFolder() const
{
    if (auto* app = dynamic_cast<KorApp*>(AfxGetApp()); app && !app->m_strAppDir.IsEmpty())
        return app->m_strAppDir;
    return "./";
}

// ---- Toolbars ---------------------------------------------------------------------

int CMainFrame::DefineToolbars(CToolBarManager* manager, bool firstRun)
{
    const UINT b = static_cast<UINT>(KorMainFrm::DefineToolbars(manager, firstRun));
    struct Bar {
        UINT resource;
        DWORD align;
        UINT dockBar;
        UINT nextTo; // on the first run
        bool shown;  // docked and visible on the first run
    };
    const Bar bars[kToolbars] = {
        {27002, kTopBottom, AFX_IDW_DOCKBAR_TOP, 0, true},
        {600, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_RIGHT, b, true},
        {609, kTopBottom, AFX_IDW_DOCKBAR_TOP, b - 1, true},
        {613, kTopBottom, AFX_IDW_DOCKBAR_TOP, b + 2, true},
        {611, kTopBottom, AFX_IDW_DOCKBAR_TOP, kZoomAndPositioningBar, true},
        {620, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_RIGHT, b + 1, true},
        {27016, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, false},
        {27018, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, false},
    };
    for (int i = 0; i < kToolbars; ++i) {
        const Bar& bar = bars[i];
        const UINT id = b + static_cast<UINT>(i);
        // Later starts define every bar hidden and loose: the saved bar
        // state places and shows them.
        DWORD align = bar.align;
        UINT dockBar = bar.dockBar;
        if (!firstRun && i == 0) {
            align = CBRS_ALIGN_ANY;
            dockBar = AFX_IDW_DOCKBAR_RIGHT;
        }
        const BOOL shown = firstRun && bar.shown;
        manager->DefineDefaultToolBar(id, kBarTitles[i], bar.resource, align, dockBar,
                                      firstRun ? bar.nextTo : 0, shown, shown, firstRun);
        m_pBtnIDs[i].clear();
        if (const AfxToolBarDef* def = manager->FindToolBar(id))
            m_pBtnIDs[i] = def->buttons;
        m_nBtnCount[i] = static_cast<UINT>(m_pBtnIDs[i].size());
    }
    m_nThicknessBarID = b + 3;
    return static_cast<int>(b) + kToolbars;
}

void CMainFrame::DefineBtnGroup(KorToolBarCmdPage& page)
{
    m_BtnGroups.DefineBtnGroup(page);
    // By toolbar index; the material and thickness bars hold only combos.
    for (int i : {0, 1, 5, 6, 7, 4})
        page.DefineBtnGroup(kBarTitles[i], m_nBtnCount[i], m_pBtnIDs[i].data());
    page.DefineMenuGroup();
}

void CMainFrame::SetButtonMap()
{
    GetToolBarManager()->SetButtonMap({
        {ID_VIEW_MODE, CBS_DROPDOWNLIST, ComboSize(90, 20)},
        {ID_KOR_SELFILTER, CBS_DROPDOWNLIST, ComboSize(150, 40)},
        {ID_ACTIVE_MATERIAL, CBS_DROPDOWNLIST, ComboSize(150, 40)},
        {ID_RESULT_COMPONENT, CBS_DROPDOWNLIST, ComboSize(180, 40)},
        {ID_ACTIVE_THICKNESS, CBS_DROPDOWN, ComboSize(100, 40)},
        {ID_KOR_GRIDSPACE, CBS_DROPDOWN, ComboSize(100, 40)},
    });
}

// ---- Combos -----------------------------------------------------------------------

void CMainFrame::RefillCombo(UINT id, const std::vector<CString>& entries, int sel)
{
    CComboBox* combo = GetToolbarCombo(id);
    if (!combo)
        return;
    combo->ResetContent();
    if (entries.empty()) {
        combo->InsertString(0, "NONE");
        sel = 0;
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        combo->InsertString(static_cast<int>(i), entries[i]);
    combo->SetCurSel(sel);
}

void CMainFrame::UpdateThicknessList()
{
    FillValueCombo(ID_ACTIVE_THICKNESS, m_dThickness, m_dActThickness);
}

void CMainFrame::ShowValuesInForce()
{
    UpdateThicknessList();
    UpdateGridList();
}

void CMainFrame::UpdateResultList(int index)
{
    std::vector<CString> names;
    for (int i = 0; m_pListNames && i < m_pListNames->GetSize(); ++i)
        names.push_back(m_pListNames->GetAt(i));
    RefillCombo(ID_RESULT_COMPONENT, names, index);
}

void CMainFrame::UpdateMaterialList(CObList* materials, CMaterial* active)
{
    std::vector<CString> names;
    int sel = 0;
    for (POSITION pos = materials ? materials->GetHeadPosition() : nullptr; pos;) {
        auto* material = static_cast<CMaterial*>(materials->GetNext(pos));
        if (material == active)
            sel = static_cast<int>(names.size());
        names.push_back(material ? material->GetName() : CString());
    }
    RefillCombo(ID_ACTIVE_MATERIAL, names, sel);
}

void CMainFrame::SetViewModeSel(int index)
{
    UpdateListButton(ID_VIEW_MODE, index);
}

void CMainFrame::FillCombos()
{
    FillResultLists();
    UpdateThicknessList();
    UpdateResultList(0);
    UpdateMaterialList(nullptr, nullptr);
    RefillCombo(ID_VIEW_MODE, {"Model", "Results", "Mesh"}, 0);
}

void CMainFrame::SwitchViewMode(UINT id)
{
    int index = 0;
    if (id == ID_MODE_RESULTS)
        index = 1;
    else if (id == ID_MODE_ELEMENTS)
        index = 2;
    SetViewModeSel(index);
    if (auto* child = dynamic_cast<CChildFrame*>(MDIGetActive()))
        child->SwitchMode(id);
    else if (auto* other = dynamic_cast<KorChildFrm*>(MDIGetActive()))
        other->SwitchView(id);
}

void CMainFrame::ToolBarWndNotify(UINT code, CWnd* control)
{
    if (LOWORD(code) != ID_ACTIVE_THICKNESS) {
        KorMainFrm::ToolBarWndNotify(code, control);
        return;
    }
    auto* combo = dynamic_cast<CComboBox*>(control);
    if (!combo)
        combo = GetToolbarCombo(ID_ACTIVE_THICKNESS);
    if (!combo)
        return;
    const UINT what = HIWORD(code);
    if (what == TBN_WNDCREATED) {
        combo->AddString(SpacingText(m_dActThickness * LengthFactor()));
        combo->SetCurSel(0);
    } else if (what == TBN_ENTERPRESSED) {
        EnterComboValue(*combo, m_dThickness, m_dActThickness);
    }
    UpdateWindow();
}

void CMainFrame::OnSelChangeThickness()
{
    CComboBox* combo = GetToolbarCombo(ID_ACTIVE_THICKNESS);
    const int sel = combo ? combo->GetCurSel() : -1;
    // No selection keeps the current thickness.
    if (sel >= 0 && sel < kMaxListValues && m_dThickness[sel] > 0.0)
        m_dActThickness = m_dThickness[sel];
}

// ---- Settings archive -------------------------------------------------------------

namespace
{
const char* const kThicknessGroup = "Thicknesses";
}

std::vector<std::string> CMainFrame::FrameSettingsGroups() const
{
    std::vector<std::string> groups = KorMainFrm::FrameSettingsGroups();
    groups.push_back(kThicknessGroup);
    return groups;
}

void CMainFrame::InitFrame(CArchive& ar)
{
    KorMainFrm::InitFrame(ar);
    KorApp::BeginSettingsGroup(ar, kThicknessGroup);
    if (ar.IsStoring()) {
        StoreValueList(ar, m_dThickness, m_dActThickness);
        return;
    }
    m_dActThickness = LoadValueList(ar, m_dThickness);
    FillCombos();
}

void CMainFrame::InitFrame()
{
    FillCombos();
    KorMainFrm::InitFrame();
}

// ---- Commands ---------------------------------------------------------------------

void CMainFrame::ApplySnapSpace(double spacing, bool redraw)
{
    CMDIChildWnd* child = MDIGetActive();
    if (auto* view = child ? dynamic_cast<COGL2DView*>(child->GetActiveView()) : nullptr)
        view->SetSnapSpace(spacing, redraw);
}

void CMainFrame::OnAutoZoom()
{
    KorChildFrm::m_uiStChldFrmSett ^= kAutoZoomBit;
}

void CMainFrame::OnUpdateAutoZoom(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((KorChildFrm::m_uiStChldFrmSett & kAutoZoomBit) ? 1 : 0);
}

void CMainFrame::OnAutoScaleResults()
{
    KorChildFrm::m_uiStChldFrmSett ^= kAutoScaleBit;
}

void CMainFrame::OnUpdateAutoScaleResults(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((KorChildFrm::m_uiStChldFrmSett & kAutoScaleBit) ? 1 : 0);
}

void CMainFrame::OnGridThickness()
{
    const double factor = LengthFactor();
    ListPage grid("Grid Spacing", m_dGridSpacing, factor);
    ListPage thickness("Section Thickness", m_dThickness, factor);
    CPropertySheet sheet("Grid & Active thickness", this);
    sheet.AddPage(&grid);
    sheet.AddPage(&thickness);
    sheet.DoModal();
    // A page that was cancelled wrote nothing, and its list stays as it was.
    if (grid.TakeOver(m_dGridSpacing)) {
        m_dCurGridSpacing = m_dGridSpacing[0];
        UpdateGridList();
    }
    if (thickness.TakeOver(m_dThickness)) {
        m_dActThickness = m_dThickness[0];
        UpdateThicknessList();
    }
    ApplySnapSpace(m_dCurGridSpacing, true);
}

void CMainFrame::OnUnitsFormats()
{
    CPPSettings2 dlg(nullptr);
    std::copy(&iConv[0][0][0], &iConv[0][0][0] + sizeof iConv / sizeof(int), &dlg.m_iConv[0][0][0]);
    dlg.m_iSystem = iStandard;
    if (dlg.DoModal() != IDOK)
        return;
    iStandard = dlg.m_iSystem;
    std::copy(&dlg.m_iConv[0][0][0], &dlg.m_iConv[0][0][0] + sizeof iConv / sizeof(int), &iConv[0][0][0]);
    // The combos show their lists in the new length unit, the selection kept.
    UpdateGridList();
    UpdateThicknessList();
    // Every open document's view draws its legend, probe and lists again
    // in the new units.
    for (CMDIChildWnd* frame : GetChildFrames())
        if (auto* child = dynamic_cast<KorChildFrm*>(frame))
            child->RedrawWindow();
    if (m_pCoordDlg)
        m_pCoordDlg->SetFormat(UnitString(iStandard, kUnitLength, iConv[iStandard & 1][0][0]));
    // An open clip-plane dialog reads its levels and distances again in the
    // new units, bound to the active plate document's frame.
    auto* child = dynamic_cast<KorChildFrm*>(MDIGetActive());
    if (auto* clip = dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg); clip && child) {
        CView* view = child->GetActiveView();
        if (auto* doc = view ? dynamic_cast<CBrantelDoc*>(view->GetDocument()) : nullptr)
            clip->SetParent(child, doc->GetValScale(), 13, 8, 3, 0);
    }
    if (m_pCoordDlg && m_pCoordDlg->GetSafeHwnd())
        m_pCoordDlg->Invalidate();
    Invalidate();
}

void CMainFrame::OnColorOptions()
{
    CDlgColorOpt screen;
    screen.m_pDrawSelNum = &Kor3DView::m_iDrawSelNum;
    KorPPLight light;
    KorPPColorScale scale;
    // Palettes are saved where the user may write: the program's folder,
    // or the user's data folder when the program's is not writable (an
    // installed program); the dialogs offer both folders.
    const KorPaletteFolders palettes = KorGetPaletteFolders(ProgramFolder());
    scale.m_strDirectory = palettes.writable.IsEmpty() ? palettes.program : palettes.writable;
    scale.m_places = {palettes.program, palettes.user};
    CPropertySheet sheet("View Options", this);
    sheet.AddPage(&screen);
    sheet.AddPage(&light);
    sheet.AddPage(&scale);
    sheet.DoModal();
}

void CMainFrame::OnUserManual()
{
    OpenFileInDefApp(ProgramFolder(), "Brantel_U_man.pdf");
}

void CMainFrame::OnHelpFinder()
{
    // The help pages: <prefix>/share/doc/brantel when installed, the
    // program folder's doc/ in the build tree.
    OpenFileInDefApp(KorHelpFolder(ProgramFolder()), "index.html");
}

// ---- Title ------------------------------------------------------------------------

namespace
{

void SetTextIfChanged(CWnd& wnd, const CString& text)
{
    CString shown;
    wnd.GetWindowText(shown);
    if (shown != text)
        wnd.SetWindowText(text);
}

} // namespace

void CMainFrame::UpdateTitle()
{
    CString title;
    AfxLoadString(IDR_MAINFRAME, title);
    if (CDocument* doc = GetActiveDocument())
        title += " - " + doc->GetTitle();
    SetTextIfChanged(*this, title);
    // Each child frame shows its document's title.
    for (CMDIChildWnd* child : GetChildFrames())
        if (CDocument* doc = child->GetActiveDocument(); doc && child->GetSafeHwnd())
            SetTextIfChanged(*child, doc->GetTitle());
}

void CMainFrame::UpdateDocumentCombos()
{
    const bool document = GetActiveDocument() != nullptr;
    for (UINT id : {ID_RESULT_COMPONENT, ID_VIEW_MODE})
        if (CComboBox* combo = GetToolbarCombo(id);
            combo && combo->GetSafeHwnd() && (combo->IsWindowEnabled() != FALSE) != document)
            combo->EnableWindow(document);
}

void CMainFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    KorMainFrm::OnUpdateFrameTitle(bAddToTitle);
    UpdateDocumentCombos();
}

#include "framework/kormainfrm.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "framework/customizesheet.h"
#include "framework/inputdialogs.h"
#include "framework/korapp.h"
#include "graphview/vistrel.h"
#include "glview/oglrenderer.h"
#include "glview/oglview.h"
#include "platform/afx/numconv.h"
#include "platform/dimvor/units.h"

IMPLEMENT_DYNAMIC(KorMainFrm, CMDIFrameWnd)

namespace
{

constexpr UINT kFirstFreeBarBase = 59395;
constexpr UINT kDrawToolsResource = 27004;
constexpr int kLogHeight = 100;

const char* const kDisableAccelQuestion =
    "It is not reccomended to turn off hardware acceleration unless you are experiencing "
    "difficulties\r\nwith the graphic display.\r\nThis action will only affect how this "
    "application, and not any other programs, will handle OpenGL\r\n\r\n\t\tDo you wish to "
    "continue?";

UINT CheckedBarID(UINT barID)
{
    return barID >= 0xE801 && barID <= 0xE803 ? 0xE804 : barID;
}

// Calls f for every OpenGL view of every document of every template.
void ForEachOGLViewOfApp(const std::function<void(COGLView&)>& f)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (POSITION tpos = app->GetFirstDocTemplatePosition(); tpos;) {
        CDocTemplate* tmpl = app->GetNextDocTemplate(tpos);
        for (POSITION dpos = tmpl->GetFirstDocPosition(); dpos;)
            ForEachOGLView(*tmpl->GetNextDoc(dpos), f);
    }
}

COGLView* FirstOGLViewOfApp()
{
    COGLView* first = nullptr;
    ForEachOGLViewOfApp([&first](COGLView& view) {
        if (!first)
            first = &view;
    });
    return first;
}

// The active child frame's active view when it is a 2D (or 3D) graph view.
COGL2DView* ActiveView2D(const CMDIFrameWnd& frame)
{
    CMDIChildWnd* child = frame.MDIGetActive();
    return child ? dynamic_cast<COGL2DView*>(child->GetActiveView()) : nullptr;
}

} // namespace

CString KorMainFrm::SpacingText(double value)
{
    // The unit's number format; more digits (up to six) where its own
    // would show two different values alike.
    const int* row = iConv[iStandard & 1][0];
    const char* layout = row[1] == 0 ? "%.*e" : row[1] == 1 ? "%.*f" : "%.*g";
    std::string text;
    for (int digits = std::clamp(row[2], 0, 6); digits <= 6; ++digits) {
        text = AfxFormat(layout, digits, value);
        if (std::abs(std::atof(text.c_str()) - value) <= 1e-9 * std::abs(value))
            break;
    }
    return text.c_str();
}

// ---- KorButtonGroup -----------------------------------------------------------------

KorButtonGroup::KorButtonGroup(LPCTSTR name, UINT resID, UINT nextTo, DWORD style, UINT dockBarID,
                               UINT barID)
    : m_nBarID(CheckedBarID(barID)), m_nResID(resID), m_nDockBarID(dockBarID), m_nNextTo(nextTo),
      m_dwStyle(style), m_strName(name)
{
}

KorButtonGroup::~KorButtonGroup()
{
    // The list is taken apart iteratively, so a long one cannot exhaust the stack.
    std::unique_ptr<KorButtonGroup> next = std::move(m_pNext);
    while (next)
        next = std::move(next->m_pNext);
}

bool KorButtonGroup::New(LPCTSTR name, UINT resID, UINT nextTo, DWORD style, UINT dockBarID)
{
    KorButtonGroup* group = this;
    for (;;) {
        if (group->m_strName == name) {
            group->m_nResID = resID;
            group->m_dwStyle = style;
            group->m_nDockBarID = dockBarID;
            if (nextTo != KOR_NEXT_TO_PREVIOUS)
                group->m_nNextTo = nextTo;
            return false;
        }
        if (nextTo == group->m_nResID)
            nextTo = group->m_nBarID;
        if (!group->m_pNext)
            break;
        group = group->m_pNext.get();
    }
    if (nextTo == KOR_NEXT_TO_PREVIOUS)
        nextTo = group->m_nBarID;
    group->m_pNext = std::make_unique<KorButtonGroup>(name, resID, nextTo, style, dockBarID,
                                                      group->m_nBarID + 1);
    return true;
}

KorButtonGroup* KorButtonGroup::Find(UINT resID)
{
    for (KorButtonGroup* group = this; group; group = group->m_pNext.get())
        if (group->m_nResID == resID)
            return group;
    return nullptr;
}

int KorButtonGroup::DefineToolbars(CToolBarManager* manager, bool firstRun)
{
    int count = 0;
    for (KorButtonGroup* group = this; group; group = group->m_pNext.get(), ++count) {
        manager->DefineDefaultToolBar(group->m_nBarID, group->m_strName, group->m_nResID,
                                      group->m_dwStyle, group->m_nDockBarID,
                                      firstRun ? group->m_nNextTo : 0, TRUE, TRUE, firstRun);
        if (const AfxToolBarDef* def = manager->FindToolBar(group->m_nBarID)) {
            group->m_pBtnIDs = def->buttons;
            group->m_nCount = static_cast<UINT>(def->buttons.size());
        }
    }
    return count;
}

void KorButtonGroup::DefineBtnGroup(KorToolBarCmdPage& page)
{
    for (KorButtonGroup* group = this; group; group = group->m_pNext.get())
        page.DefineBtnGroup(group->m_strName, group->m_nCount, group->m_pBtnIDs.data());
}

// ---- KorMainFrm ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorMainFrm, CMDIFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_MESSAGE(WM_TOOLBARWNDNOTIFY, OnToolBarWndNotify)
ON_COMMAND(ID_KOR_WORKBOOK, OnToolsWorkbook)
ON_UPDATE_COMMAND_UI(ID_KOR_WORKBOOK, OnUpdateToolsWorkbook)
ON_COMMAND(ID_KOR_LOGWINDOW, OnViewLogwindow)
ON_UPDATE_COMMAND_UI(ID_KOR_LOGWINDOW, OnUpdateViewLogwindow)
ON_COMMAND(ID_KOR_ENTERCOORD, OnButtonEntercoord)
ON_UPDATE_COMMAND_UI(ID_KOR_ENTERCOORD, OnUpdateButtonEntercoord)
ON_CBN_SELCHANGE(ID_KOR_GRIDSPACE, OnGridSpace)
ON_COMMAND(ID_KOR_FONTS, OnFonts)
ON_COMMAND(ID_KOR_DISABLEOPENGL, OnDisableopengl)
ON_UPDATE_COMMAND_UI(ID_KOR_DISABLEOPENGL, OnUpdateDisableopengl)
ON_COMMAND(ID_KOR_CUSTOMIZE, OnToolsCustomize)
ON_MESSAGE(WM_KOR_ENTER_COORD, OnEnterCoord)
ON_MESSAGE(WM_KOR_ENTER_COORD3D, OnEnterCoord3D)
END_MESSAGE_MAP()

KorMainFrm::KorMainFrm()
    : m_BtnGroups("File", 128, 0, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, AFX_IDW_TOOLBAR),
      m_pToolBarManager(std::make_unique<CToolBarManager>(this))
{
    const double first = iStandard == 1 ? 12.7 : 100.0;
    m_dGridSpacing[0] = first;
    for (int i = 1; i < kMaxListValues; ++i)
        m_dGridSpacing[i] = -1.0;
    m_dCurGridSpacing = first;

    constexpr DWORD kTopBottom = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
    m_BtnGroups.New("Zoom and positioning", 27008, KOR_NEXT_TO_PREVIOUS, CBRS_ALIGN_ANY,
                    AFX_IDW_DOCKBAR_TOP);
    m_BtnGroups.New("Color and light", 27012, KOR_NEXT_TO_PREVIOUS, CBRS_ALIGN_ANY,
                    AFX_IDW_DOCKBAR_TOP);
    m_BtnGroups.New("Edit", 27006, 0, kTopBottom, AFX_IDW_DOCKBAR_TOP);
    m_BtnGroups.New("Draw tools", kDrawToolsResource, KOR_NEXT_TO_PREVIOUS, kTopBottom,
                    AFX_IDW_DOCKBAR_TOP);
    m_BtnGroups.New("Imaging-tools", 27010, KOR_NEXT_TO_PREVIOUS, CBRS_ALIGN_ANY,
                    AFX_IDW_DOCKBAR_TOP);
}

KorMainFrm::~KorMainFrm()
{
    delete m_pFilterNames;
    delete m_pCoordDlg;
}

double KorMainFrm::LengthFactor()
{
    return MetricToX(iStandard, kUnitLength, iConv[iStandard == 1 ? 1 : 0][0][0]);
}

CComboBox* KorMainFrm::GetToolbarCombo(UINT id) const
{
    return m_pToolBarManager->GetCombo(id);
}

bool KorMainFrm::IsFrameZoomed() const
{
    return (GetStyle() & WS_MAXIMIZE) != 0;
}

void KorMainFrm::UpdateListButton(UINT id, CStringArray* items, int sel)
{
    CComboBox* combo = GetToolbarCombo(id);
    if (!combo)
        return;
    combo->ResetContent();
    const int count = items ? items->GetSize() : 0;
    for (int i = 0; i < count; ++i)
        combo->InsertString(i, items->GetAt(i));
    if (count == 0 && sel < 0) {
        sel = 0;
        combo->AddString("NONE");
    }
    combo->SetCurSel(sel);
}

void KorMainFrm::UpdateListButton(UINT id, int sel)
{
    if (CComboBox* combo = GetToolbarCombo(id))
        combo->SetCurSel(sel);
}

void KorMainFrm::SetCurSelSelectFilter(int index)
{
    UpdateListButton(ID_KOR_SELFILTER, index);
}

void KorMainFrm::UpdateSelFilter()
{
    CComboBox* combo = GetToolbarCombo(ID_KOR_SELFILTER);
    if (!combo)
        return;
    combo->ResetContent();
    if (m_pFilterNames && m_pFilterNames->GetSize() > 0) {
        for (int i = 0; i < m_pFilterNames->GetSize(); ++i)
            combo->InsertString(i, m_pFilterNames->GetAt(i));
    } else {
        combo->AddString("NONE");
    }
    combo->SetCurSel(0);
}

void KorMainFrm::UpdateGridList()
{
    FillValueCombo(ID_KOR_GRIDSPACE, m_dGridSpacing, m_dCurGridSpacing);
}

void KorMainFrm::FillValueCombo(UINT id, const double* values, double current)
{
    CComboBox* combo = GetToolbarCombo(id);
    if (!combo)
        return;
    combo->ResetContent();
    const double factor = LengthFactor();
    int selected = 0;
    for (int i = 0; i < kMaxListValues && values[i] > 0.0; ++i) {
        combo->InsertString(i, SpacingText(values[i] * factor));
        if (values[i] == current)
            selected = i;
    }
    combo->SetCurSel(selected);
}

bool KorMainFrm::EnterComboValue(CComboBox& combo, double* values, double& current)
{
    CString text;
    combo.GetWindowText(text);
    if (text.IsEmpty())
        return false;
    const double factor = LengthFactor();
    const double value = std::atof(text);
    // An overflowing number ("1e999") is refused like a negative one.
    if (!(value > 0.0) || !std::isfinite(value)) {
        AfxMessageBox("You must enter a positive number", MB_OK);
        combo.SetCurSel(combo.FindStringExact(-1, SpacingText(current * factor)));
        return false;
    }
    const CString typed = SpacingText(value);
    int index = combo.FindStringExact(-1, typed);
    const double stored = value / factor;
    if (index < 0) {
        if (combo.GetCount() >= kMaxListValues) {
            combo.DeleteString(0);
            for (int i = 0; i + 1 < kMaxListValues; ++i)
                values[i] = values[i + 1];
            values[kMaxListValues - 1] = -1.0;
        }
        index = combo.AddString(typed);
        combo.SetCurSel(index);
        if (index >= 0 && index < kMaxListValues)
            values[index] = stored;
    } else {
        combo.SetCurSel(index);
    }
    current = stored;
    return true;
}

void KorMainFrm::StoreValueList(CArchive& ar, const double* values, double current)
{
    int count = 0;
    while (count < kMaxListValues && values[count] > 0.0)
        ar << values[count++];
    double terminator = 0.0; // also for index 0: +0.0, never -0.0
    for (int i = 1; i < count && values[0] != current; ++i)
        if (values[i] == current) {
            terminator = -static_cast<double>(i);
            break;
        }
    ar << terminator;
}

double KorMainFrm::LoadValueList(CArchive& ar, double* values)
{
    // The values run while they are positive; at most ten are kept, and a
    // longer run (only a damaged file has one) is read to its end and
    // dropped so that the archive stays in step. They are taken over only
    // once the terminator was read: a short archive changes nothing.
    double read[kMaxListValues];
    int count = 0;
    double value = 0.0;
    for (;;) {
        ar >> value;
        if (!(value > 0.0))
            break;
        if (count < kMaxListValues)
            read[count++] = value;
    }
    std::copy(read, read + count, values);
    // The terminator is minus the current value's index; one that names no
    // value read counts as 0.
    const double index = std::trunc(-value);
    const int current = index >= 0.0 && index < count ? static_cast<int>(index) : 0;
    return values[current];
}

void KorMainFrm::ToolBarWndNotify(UINT code, CWnd* control)
{
    if (LOWORD(code) != ID_KOR_GRIDSPACE)
        return;
    auto* combo = dynamic_cast<CComboBox*>(control);
    if (!combo)
        combo = GetToolbarCombo(ID_KOR_GRIDSPACE);
    if (!combo)
        return;
    const UINT what = HIWORD(code);
    if (what == TBN_WNDCREATED) {
        combo->AddString(SpacingText(m_dCurGridSpacing * LengthFactor()));
        combo->SetCurSel(0);
    } else if (what == TBN_ENTERPRESSED && EnterComboValue(*combo, m_dGridSpacing, m_dCurGridSpacing)) {
        combo->SetFocus();
        ApplySnapSpace(m_dCurGridSpacing, true);
    }
    UpdateWindow();
}

LRESULT KorMainFrm::OnToolBarWndNotify(WPARAM wParam, LPARAM lParam)
{
    ToolBarWndNotify(static_cast<UINT>(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
    return 0;
}

void KorMainFrm::OnGridSpace()
{
    CComboBox* combo = GetToolbarCombo(ID_KOR_GRIDSPACE);
    const int sel = combo ? combo->GetCurSel() : -1;
    if (sel < 0 || sel >= kMaxListValues || !(m_dGridSpacing[sel] > 0.0))
        return;
    m_dCurGridSpacing = m_dGridSpacing[sel];
    ApplySnapSpace(m_dCurGridSpacing, true);
}

namespace
{
const char* const kFrameGroup = "Workbook mode and grid spacings";
}

std::vector<std::string> KorMainFrm::FrameSettingsGroups() const
{
    return {kFrameGroup};
}

void KorMainFrm::InitFrame(CArchive& ar)
{
    KorApp::BeginSettingsGroup(ar, kFrameGroup);
    DWORD unused = 0;
    if (ar.IsStoring()) {
        if (CWinApp* app = AfxGetApp())
            app->m_nCmdShow = IsFrameZoomed() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        ar << unused;
        ar << static_cast<DWORD>(m_bWorkbookMode);
        StoreValueList(ar, m_dGridSpacing, m_dCurGridSpacing);
        SaveBarState(BarStateSection());
        if (m_pToolBarManager)
            m_pToolBarManager->SaveState(BarStateSection());
        return;
    }
    DWORD mode = 0;
    ar >> unused >> mode;
    m_bWorkbookMode = static_cast<int>(mode);
    ApplyWorkbookMode();
    // The bars as they were left (the "VizBarState" section when the
    // program's own holds none).
    LoadBarState(BarStateSection());
    if (m_pToolBarManager)
        m_pToolBarManager->LoadState(BarStateSection());
    UpdateSelFilter();
    m_dCurGridSpacing = LoadValueList(ar, m_dGridSpacing);
    UpdateGridList();
    ApplySnapSpace(m_dCurGridSpacing, false);
}

void KorMainFrm::InitFrame()
{
    if (m_pToolBarManager)
        m_pToolBarManager->LoadState(BarStateSection());
    ApplyWorkbookMode();
    UpdateSelFilter();
    UpdateGridList();
    ApplySnapSpace(m_dCurGridSpacing, false);
}

void KorMainFrm::DefineBtnGroup(KorToolBarCmdPage& page)
{
    m_BtnGroups.DefineBtnGroup(page);
    page.DefineMenuGroup();
}

int KorMainFrm::DefineToolbars(CToolBarManager* manager, bool firstRun)
{
    const int result =
        m_BtnGroups.DefineToolbars(manager, firstRun) + static_cast<int>(kFirstFreeBarBase);
    if (KorButtonGroup* draw = m_BtnGroups.Find(kDrawToolsResource))
        m_nDrawToolsBarID = draw->GetID();
    return result;
}

void KorMainFrm::DefineToolbars(CToolBarManager* manager)
{
    bool firstRun = false;
    if (AfxGetProfileInt("Info", "I1.1", 0) == 0) {
        AfxWriteProfileInt("Info", "I1.1", 1);
        firstRun = true;
    }
    DefineToolbars(manager, firstRun);
}

void KorMainFrm::AddToolBarResource(CToolBarManager*)
{
}

int KorMainFrm::SetStatBarIndic()
{
    static const UINT indicators[] = {ID_SEPARATOR,          ID_KOR_INDICATOR_ELEMENT,
                                      ID_KOR_INDICATOR_COORD, ID_KOR_INDICATOR_COORD,
                                      ID_KOR_INDICATOR_TIME,  ID_INDICATOR_CAPS,
                                      ID_INDICATOR_NUM};
    if (!m_wndStatusBar.Create(this, 0x50008200, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(indicators, 7))
        return FALSE;
    m_wndStatusBar.SetPaneText(4, "Drawing time:      0 ms (    0.0 fps)     ");
    return TRUE;
}

void KorMainFrm::SetButtonMap()
{
    m_pToolBarManager->SetButtonMap({
        {ID_KOR_SELFILTER, CBS_DROPDOWNLIST, 0x00280096},
        {ID_KOR_GRIDSPACE, CBS_DROPDOWN, 0x00280064},
    });
}

void KorMainFrm::DockLogWindow()
{
    CRect client;
    GetClientRect(client);
    m_wndLog.Dock(AFX_IDW_DOCKBAR_BOTTOM, CSize(client.Width(), kLogHeight));
}

int KorMainFrm::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CFrameWnd::OnCreate(lpcs) < 0)
        return -1;
    CToolBarManager* manager = m_pToolBarManager.get();
    AddToolBarResource(manager);
    SetButtonMap();
    DefineToolbars(manager);
    manager->CreateControls();
    if (!SetStatBarIndic())
        return -1;
    if (!m_wndLog.Create(this, "Log Window", 0x50001414))
        return -1;
    m_wndLog.EnableDocking(CBRS_ALIGN_ANY);
    DockLogWindow();
    return 0;
}

void KorMainFrm::OnDestroy()
{
    if (auto* app = dynamic_cast<KorApp*>(AfxGetApp()))
        app->CloseApp();
    CRect rect;
    GetWindowRect(rect);
    const bool zoomed = IsFrameZoomed();
    AfxWriteProfileInt("Window", "Left", rect.left);
    AfxWriteProfileInt("Window", "Top", rect.top);
    AfxWriteProfileInt("Window", "Width", rect.Width());
    AfxWriteProfileInt("Window", "Height", rect.Height());
    AfxWriteProfileInt("Window", "Zoomed", zoomed ? 1 : 0);
    AfxWriteProfileInt("Window", "ShowCmd", zoomed ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    Default();
}

void KorMainFrm::ApplyWorkbookMode()
{
    SetWorkbookMode(m_bWorkbookMode ? TRUE : FALSE);
}

CString KorMainFrm::BarStateSection()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pszExeName ? app->m_pszExeName : "brantel";
}

void KorMainFrm::ApplySnapSpace(double spacing, bool redraw)
{
    if (COGL2DView* view = ActiveView2D(*this))
        view->SetSnapSpace(spacing, redraw);
}

bool KorMainFrm::EnterCoord2D(double& x, double& y, bool relative)
{
    COGL2DView* view = ActiveView2D(*this);
    if (!view)
        return false;
    view->EnterCoord(x, y, relative);
    view->Invalidate();
    return true;
}

bool KorMainFrm::EnterCoord3D(double& x, double& y, double& z, bool relative)
{
    auto* view = dynamic_cast<COGL3DView*>(ActiveView2D(*this));
    if (!view)
        return false;
    view->EnterCoord3D(x, y, z, relative);
    view->Invalidate();
    return true;
}

void KorMainFrm::OnToolsWorkbook()
{
    m_bWorkbookMode = m_bWorkbookMode ? 0 : 1;
    ApplyWorkbookMode();
}

void KorMainFrm::OnUpdateToolsWorkbook(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bWorkbookMode ? 1 : 0);
}

void KorMainFrm::OnViewLogwindow()
{
    DockLogWindow();
    ShowControlBar(&m_wndLog, !m_wndLog.IsWindowVisible(), FALSE);
}

void KorMainFrm::OnUpdateViewLogwindow(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndLog.IsWindowVisible() ? 1 : 0);
}

void KorMainFrm::ShowEnterCoord(int mode)
{
    if (!m_pCoordDlg)
        return;
    const bool open = m_pCoordDlg->GetSafeHwnd() != nullptr;
    if (mode == -1)
        mode = open ? 0 : 1;
    if (mode == 0) {
        if (open)
            m_pCoordDlg->DestroyWindow();
    } else if (!open) {
        m_pCoordDlg->Create();
        m_pCoordDlg->SetFormat(
            UnitString(iStandard, kUnitLength, iConv[iStandard == 1 ? 1 : 0][0][0]));
    }
}

void KorMainFrm::EnableOffset(bool enable)
{
    if (!m_pCoordDlg || !m_pCoordDlg->GetSafeHwnd())
        return;
    for (int id : {50116, 50003, 50006})
        if (CWnd* control = m_pCoordDlg->GetDlgItem(id))
            control->EnableWindow(enable);
}

void KorMainFrm::OnButtonEntercoord()
{
    ShowEnterCoord(-1);
}

void KorMainFrm::OnUpdateButtonEntercoord(CCmdUI* pCmdUI)
{
    if (m_pCoordDlg)
        pCmdUI->SetCheck(m_pCoordDlg->GetSafeHwnd() ? 1 : 0);
}

LRESULT KorMainFrm::OnEnterCoord(WPARAM wParam, LPARAM)
{
    if (wParam == IDCANCEL) {
        ShowEnterCoord(0);
        return 0;
    }
    KorDlgCoordInputEx* dlg = m_pCoordDlg;
    if (!dlg)
        return 0;
    const double f = LengthFactor();
    if (wParam == KorDlgCoordInput::IDC_OFFSET) {
        double x = dlg->m_dOffX / f, y = dlg->m_dOffY / f;
        if (EnterCoord2D(x, y, true)) {
            dlg->m_dX = x * f;
            dlg->m_dY = y * f;
            if (dlg->GetSafeHwnd())
                dlg->UpdateData(FALSE);
        }
    } else if (wParam == KorDlgCoordInput::IDC_ENTER) {
        double x = dlg->m_dX / f, y = dlg->m_dY / f;
        EnterCoord2D(x, y, false);
    }
    return 0;
}

LRESULT KorMainFrm::OnEnterCoord3D(WPARAM wParam, LPARAM)
{
    if (wParam == IDCANCEL) {
        ShowEnterCoord(0);
        return 0;
    }
    auto* dlg = dynamic_cast<KorDlgCoordInputEx3D*>(m_pCoordDlg);
    if (!dlg)
        return 0;
    const double f = LengthFactor();
    if (wParam == KorDlgCoordInput::IDC_OFFSET) {
        double x = dlg->m_dOffX / f, y = dlg->m_dOffY / f, z = dlg->m_dOffZ / f;
        if (EnterCoord3D(x, y, z, true)) {
            dlg->m_dX = x * f;
            dlg->m_dY = y * f;
            dlg->m_dZ = z * f;
            if (dlg->GetSafeHwnd())
                dlg->UpdateData(FALSE);
        }
    } else if (wParam == KorDlgCoordInput::IDC_ENTER) {
        double x = dlg->m_dX / f, y = dlg->m_dY / f, z = dlg->m_dZ / f;
        EnterCoord3D(x, y, z, false);
    }
    return 0;
}

void KorMainFrm::OnFonts()
{
    CMDIChildWnd* child = MDIGetActive();
    COGLView* view = child ? dynamic_cast<COGLView*>(child->GetActiveView()) : nullptr;
    if (!view)
        view = FirstOGLViewOfApp();
    LOGFONT start = COGLView::m_statLogFont;
    if (view)
        view->m_Font.GetLogFont(&start);
    CFontDialog dlg(&start, CF_SCREENFONTS | CF_EFFECTS, nullptr, this);
    if (dlg.DoModal() != IDOK)
        return;
    LOGFONT chosen;
    dlg.GetCurrentFont(&chosen);
    if (view && AfxMessageBox("Apply to all windows?", MB_YESNO) != IDYES) {
        view->OptionsFont(chosen);
        return;
    }
    COGLView::m_statLogFont = chosen;
    ForEachOGLViewOfApp([&chosen](COGLView& each) { each.OptionsFont(chosen); });
}

void KorMainFrm::OnDisableopengl()
{
    if (COGLRenderer::bUseAccel && AfxMessageBox(kDisableAccelQuestion, MB_YESNO) != IDYES)
        return;
    COGLRenderer::bUseAccel = !COGLRenderer::bUseAccel;
    ForEachOGLViewOfApp([](COGLView& view) { view.ResetOGL(); });
}

void KorMainFrm::OnUpdateDisableopengl(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(COGLRenderer::bUseAccel ? 0 : 1);
}

void KorMainFrm::OnToolsCustomize()
{
    KorCustomizeSheet sheet(m_pToolBarManager.get(), this);
    DefineBtnGroup(sheet.m_commandsPage);
    if (sheet.DoModal() == IDOK)
        sheet.m_toolbarsPage.Apply(*this);
}

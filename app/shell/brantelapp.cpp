#include "app/shell/brantelapp.h"

#include <climits>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/analysis/platecomp.h"
#include "app/shell/brantelmodview.h"
#include "app/shell/docshell.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "app/shell/elemchoice.h"
#include "app/shell/viewrestr.h"
#include "app/shell/wizardpages.h"
#include "dialogs/doctypedlg.h"
#include "femodel/meshorg.h"
#include "geometry/edge.h"
#include "graphview/ogl2dview.h"
#include "platform/dimvor/units.h"
#include "platform/weblar/easymesh.h"

const char* const CBrantelApp::kOpenFilter =
    "Brantel files (*.plb;*.pbc;*.mem;*.plc;*.shl;*.chl;*.csh)|*.plb;*.pbc;*.mem;*.plc;*.shl;*.chl;*.csh|"
    "Plate bending files (*.plb)|*.plb|Membrane  files (*.mem)|*.mem|"
    "Constrained mesh plate bending files (*.pbc)|*.pbc|"
    "Constrained mesh membrane files (*.plc)|*.plc|Plane shell files (*.shl)|*.shl|"
    "Constrained mesh shell files (*.chl;*.csh)|*.chl;*.csh||";

BEGIN_MESSAGE_MAP(CBrantelApp, KorApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
END_MESSAGE_MAP()

CBrantelApp::CBrantelApp() : KorApp("Brantel")
{
    CMeshOrganizer::m_iSmootType = 0;
    // Lengths in mm (SI) and in (US) until the settings say otherwise.
    iConv[0][0][0] = 0;
    iConv[1][0][0] = 0;
}

namespace
{

struct TemplateRow {
    UINT nID;
    CRuntimeClass* doc;
    CRuntimeClass* frame;
    CRuntimeClass* view;
};

} // namespace

BOOL CBrantelApp::InitInstance()
{
    KorApp::InitInstance();
    SetRegistryKey("Vornetic Applications");
    LoadStdProfileSettings(10);

    const TemplateRow rows[kTemplates] = {
        {IDR_PLATE, RUNTIME_CLASS(CBrantelDoc), RUNTIME_CLASS(CChildFrame),
         RUNTIME_CLASS(CBrantelModView)},
        {IDR_CONSTR_PLATE, RUNTIME_CLASS(CDocRestr), RUNTIME_CLASS(CConstrChFrm),
         RUNTIME_CLASS(CViewRestr)},
        {IDR_MEMBRANE, RUNTIME_CLASS(CBrantelDoc), RUNTIME_CLASS(CChildFrame),
         RUNTIME_CLASS(CBrantelModView)},
        {IDR_CONSTR_MEMBRANE, RUNTIME_CLASS(CDocRestr), RUNTIME_CLASS(CConstrChFrm),
         RUNTIME_CLASS(CViewRestr)},
        {IDR_SHELL, RUNTIME_CLASS(CDocShell), RUNTIME_CLASS(CChildFrame),
         RUNTIME_CLASS(CBrantelModView)},
        {IDR_CONSTR_SHELL, RUNTIME_CLASS(CDocRestr), RUNTIME_CLASS(CConstrChFrm),
         RUNTIME_CLASS(CViewRestr)},
    };
    for (int i = 0; i < kTemplates; ++i) {
        m_pTemplates[i] = new CMultiDocTemplate(rows[i].nID, rows[i].doc, rows[i].frame, rows[i].view);
        AddDocTemplate(m_pTemplates[i]);
    }
    // Constrained-mesh shell files are saved as ".chl"; ".csh" opens too.
    m_pTemplates[5]->AddOpenExtension(".csh");

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    if (!InitApp())
        return FALSE;
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    frame->ShowWindow(SW_SHOWMAXIMIZED);
    // Without a file the new-document wizard runs once the application's
    // loop is running and the main window is up: a modal dialog started
    // from inside the start-up itself did not always reach the screen.
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileNew)
        frame->PostMessage(WM_COMMAND, ID_FILE_NEW);
    else if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    frame->UpdateTitle();
    frame->UpdateWindow();
    return TRUE;
}

int CBrantelApp::ExitInstance()
{
    CBrantelModView::FreeCopyLists();
    CBrantelView::ClearTmpSlots();
    return KorApp::ExitInstance();
}

BOOL CBrantelApp::OnIdle(LONG lCount)
{
    const BOOL more = KorApp::OnIdle(lCount);
    if (auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd); frame && frame->GetSafeHwnd())
        frame->UpdateTitle();
    return more;
}

CString CBrantelApp::GetSettingsFolder()
{
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        return CString();
    return CString((base / "Vornetic").string().c_str()) + "/";
}

bool CBrantelApp::InitApp()
{
    const CString folder = GetSettingsFolder();
    const CString name = CString(m_pszExeName) + ".ini";
    std::error_code error;
    if (!folder.IsEmpty() && std::filesystem::is_regular_file(static_cast<LPCTSTR>(folder + name), error))
        return KorApp::InitApp(folder + name);
    if (std::filesystem::is_regular_file(static_cast<LPCTSTR>(m_strAppDir + name), error))
        return KorApp::InitApp(m_strAppDir + name);
    // No archive: the framework's defaults, silently.
    return KorApp::InitApp(CString());
}

void CBrantelApp::CloseApp()
{
    const CString folder = GetSettingsFolder();
    if (folder.IsEmpty()) {
        std::fprintf(stderr, "Brantel: neither XDG_CONFIG_HOME nor HOME is set; the settings "
                             "are not saved.\n");
        return;
    }
    std::error_code ignored; // a failure shows when the archive is written
    std::filesystem::create_directories(static_cast<LPCTSTR>(folder), ignored);
    KorApp::CloseApp(folder + m_pszExeName + ".ini");
}

namespace
{
const char* const kProgramGroup = "Grid type, mesher and picked results";
}

std::vector<std::string> CBrantelApp::AppSettingsGroups() const
{
    return {kProgramGroup};
}

void CBrantelApp::AppSpecificInit(CArchive& ar)
{
    KorApp::AppSpecificInit(ar);
    BeginSettingsGroup(ar, kProgramGroup);
    // Each value is checked before use: one out of its range keeps its
    // default and is named once in the log window.
    const struct {
        int* value;
        int first, last;
        const char* name;
    } values[] = {
        {reinterpret_cast<int*>(&COGL2DView::m_uiGridType), 0, INT_MAX, "Grid type"},
        {&CEasyMesh::m_nMaxNodes, 0, CEasyMesh::kMaxReserveNodes, "Mesher trial nodes"},
        {&Kor3DView::m_iDrawSelNum, 0, 2, "Picked result display"},
        {&iProgresjon, 0, 2, "Node spacing progression"},
    };
    for (const auto& v : values) {
        LONG stored = *v.value;
        KorTransferSetting(
            ar, stored, [&v](LONG read) { return read >= v.first && read <= v.last; }, v.name);
        *v.value = static_cast<int>(stored);
    }
}

void CBrantelApp::OnFileNew()
{
    // The pages keep their choices while the user goes back and forth.
    CDlgMeshType meshType(m_pMainWnd);
    CDlgFinal finalPage(m_pMainWnd);
    enum Step { docType, firstElement, membraneElement, options, create };
    int type = VokDlgFPDocType::typeNone;
    int mesh = 0;
    for (Step step = docType; step != create;) {
        switch (step) {
        case docType: {
            VokDlgFPDocType dlg(m_pMainWnd);
            if (dlg.DoModal() != IDOK)
                return;
            type = dlg.m_iDocType;
            if (type == VokDlgFPDocType::typeNone) {
                OnFileOpen();
                return;
            }
            step = firstElement;
            break;
        }
        case firstElement:
            meshType.m_iKind = type == VokDlgFPDocType::typePlate      ? kindPlate
                               : type == VokDlgFPDocType::typeMembrane ? kindMembrane
                                                                       : kindBucklingPlate;
            if (meshType.DoModal() != IDOK)
                return;
            if (meshType.m_iKind == navBack) {
                step = docType;
                break;
            }
            mesh = meshType.m_iMesh;
            step = type == VokDlgFPDocType::typeBuckling ? membraneElement : options;
            break;
        case membraneElement:
            meshType.m_iKind = kindBucklingMembrane;
            if (meshType.DoModal() != IDOK)
                return;
            step = meshType.m_iKind == navBack ? firstElement : options;
            break;
        case options:
            if (type == VokDlgFPDocType::typeMembrane) {
                finalPage.m_iKind = kindMembrane;
                finalPage.m_iElement = meshType.m_iMembraneElement;
                finalPage.m_iIntegrationRule = 0;
            } else {
                // A buckling document applies the rule to its plate element.
                finalPage.m_iKind = kindPlate;
                finalPage.m_iElement = meshType.m_iPlateElement;
                if (type == VokDlgFPDocType::typePlate)
                    finalPage.m_iIntegrationRule = 0;
            }
            if (finalPage.DoModal() != IDOK)
                return;
            step = finalPage.m_iKind == navBack ? firstElement : create;
            break;
        default:
            return;
        }
    }

    int templateIndex = 0;
    switch (type) {
    case VokDlgFPDocType::typePlate:
        iNewDocElemType = brantel::ElementCode(meshType.m_iPlateElement, 0);
        templateIndex = mesh ? 1 : 0;
        break;
    case VokDlgFPDocType::typeMembrane:
        iNewDocElemType = brantel::ElementCode(meshType.m_iMembraneElement, 1);
        templateIndex = mesh ? 3 : 2;
        break;
    default:
        iNewDocElemType = brantel::ElementCode(meshType.m_iMembraneElement, 1);
        iNewDocPlateElemType = brantel::ElementCode(meshType.m_iPlateElement, 0);
        templateIndex = 4; // no constrained form: its plate part would not be analysed
        break;
    }
    if (!m_pTemplates[templateIndex])
        return;
    auto* doc = dynamic_cast<CBrantelDoc*>(m_pTemplates[templateIndex]->OpenDocumentFile(nullptr));
    if (!doc)
        return;
    if (auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd)) {
        if (CMDIChildWnd* child = frame->MDIGetActive()) {
            if (CView* view = child->GetActiveView())
                view->Invalidate();
            child->Invalidate();
        }
    }
    // A constrained mesh starts with its region and settings.
    POSITION viewPos = doc->GetFirstViewPosition();
    CView* firstView = viewPos ? doc->GetNextView(viewPos) : nullptr;
    if (auto* constrained =
            dynamic_cast<CConstrChFrm*>(firstView ? firstView->GetParentFrame() : nullptr)) {
        constrained->DefineModel();
        if (auto* view2d = dynamic_cast<COGL2DView*>(constrained->GetActiveView())) {
            view2d->InvalidateList();
            view2d->ZoomToFit();
        }
    }
    CPlateComp* comp = doc->GetPlateComp();
    comp->m_iIntegrationRule = finalPage.m_iIntegrationRule + 1;
    comp->m_iIntegrationPoints = finalPage.m_iIntegrationPoints;
    comp->m_iPlaneStrain = finalPage.m_iPlaneState;
    comp->m_iPrintLevel = finalPage.m_iPrint;
    if (m_pMainWnd) {
        m_pMainWnd->Invalidate();
        m_pMainWnd->UpdateWindow();
    }
}

void CBrantelApp::OnFileOpen()
{
    CFileDialog dlg(TRUE, nullptr, nullptr,
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT | OFN_EXPLORER,
                    kOpenFilter);
    // The dialog starts in the folder of the document in front.
    auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    const CString folder = KorDocumentFolder(frame ? frame->GetActiveDocument() : nullptr);
    if (!folder.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = folder.GetString();
    if (dlg.DoModal() != IDOK)
        return;
    for (POSITION pos = dlg.GetStartPosition(); pos;)
        OpenDocumentFile(dlg.GetNextPathName(pos));
}

void CBrantelApp::OnAppAbout()
{
    CDialog about(IDD_ABOUTBOX);
    about.DoModal();
}

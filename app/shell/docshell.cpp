#include "app/shell/docshell.h"

#include <algorithm>
#include <cmath>

#include "app/analysis/analysis.h"
#include "app/shell/bucklingdlgs.h"
#include "app/shell/calcrun.h"
#include "framework/korapp.h"
#include "app/shell/elemsheet.h"
#include "app/shell/brantelapp.h"
#include "app/shell/mainframe.h"
#include "app/shell/shellids.h"

IMPLEMENT_DYNCREATE(CDocShell, CBrantelDoc)

void BuildBucklingResultNames(const CStringArray& membrane, int modes, CStringArray& names)
{
    names.RemoveAll();
    const int count = static_cast<int>(membrane.GetSize());
    for (int i = 0; i < 5 && i < count; ++i)
        names.Add(membrane.GetAt(i));
    CString name;
    for (int mode = 1; mode <= modes; ++mode) {
        name.Format("Buckling mode %u", static_cast<unsigned>(mode));
        names.Add(name);
    }
    for (int i = 7; i < count; ++i)
        names.Add(membrane.GetAt(i));
    for (int mode = 1; mode <= modes; ++mode) {
        name.Format("Inpl. + Buckl. mode %u", static_cast<unsigned>(mode));
        names.Add(name);
    }
}

CString FewerModesText(int accepted, int requested)
{
    CString text;
    text.Format("Only %d of the %d buckling modes requested passed the eigenvalue error test.\n"
                "The results show the modes that passed.",
                accepted, requested);
    return text;
}

bool BucklingModesFromInput(double value, int& modes)
{
    // The same rule as the buckling settings page: a whole number from 1 to
    // 100; anything else is refused, not bent into range.
    if (!(value >= 1.0 && value <= 100.0) || value != std::floor(value))
        return false;
    modes = static_cast<int>(value);
    return true;
}

BEGIN_MESSAGE_MAP(CDocShell, CBrantelDoc)
ON_COMMAND(ID_MEMBRANE_BCS, OnMembraneBCs)
ON_UPDATE_COMMAND_UI(ID_MEMBRANE_BCS, OnUpdateMembraneBCs)
ON_COMMAND(ID_PLATE_BCS, OnPlateBCs)
ON_UPDATE_COMMAND_UI(ID_PLATE_BCS, OnUpdatePlateBCs)
ON_COMMAND(ID_MEMBRANE_ANALYSIS, OnMembraneAnalysis)
ON_COMMAND(ID_IMPORT_MEMBRANE, OnImportMembrane)
END_MESSAGE_MAP()

CDocShell::CDocShell()
{
    ResetResultNames();
    m_iBCSet = 1;
    DeleteModel(m_pSectComp);
    auto* comp = new CShellComp;
    m_pSectComp = comp;
    comp->SetElementType(iNewDocElemType);
    comp->SetBucklingCtrl(CShellComp::kBucklingType, iNewDocPlateElemType);
    AddDefaultMaterials(*comp);
}

CPlateComp* CDocShell::NewComponent()
{
    return new CShellComp;
}

CShellComp* CDocShell::GetShellComp() const
{
    return dynamic_cast<CShellComp*>(m_pSectComp);
}

CString CDocShell::GetElementTypeName()
{
    CShellComp* comp = GetShellComp();
    if (!comp)
        return CString();
    CString buckling = ElementTypeShortName(comp->GetBucklingCtrl(CShellComp::kBucklingType));
    if (buckling.IsEmpty())
        buckling = " ";
    return buckling + "/" + ElementTypeShortName(comp->GetElementType());
}

void CDocShell::ResetResultNames()
{
    FillResultLists();
    m_ResultNames.RemoveAll();
    m_ResultNames.Append(g_arMembraneResults);
}

BOOL CDocShell::OnOpenDocument(LPCTSTR lpszPathName)
{
    if (!CBrantelDoc::OnOpenDocument(lpszPathName))
        return FALSE;
    // Neither the condition set nor the names are stored.
    m_iBCSet = 1;
    ResetResultNames();
    return TRUE;
}

void CDocShell::ModelChanged(CSectComp* previous)
{
    CBrantelDoc::ModelChanged(previous);
    auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (!frame)
        return;
    frame->m_pListNames = &m_ResultNames;
    CPlateComp* comp = GetPlateComp();
    frame->UpdateResultList(comp ? comp->GetActVal() : 0);
}

// ---- Condition sets ---------------------------------------------------------------

void CDocShell::SetBCSet(int set)
{
    m_iBCSet = set;
    InvalidateLists();
    UpdateAllViews(nullptr);
}

void CDocShell::OnMembraneBCs()
{
    SetBCSet(0);
}

void CDocShell::OnUpdateMembraneBCs(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_iBCSet == 0);
}

void CDocShell::OnPlateBCs()
{
    SetBCSet(1);
}

void CDocShell::OnUpdatePlateBCs(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_iBCSet == 1);
}

// ---- Runs -------------------------------------------------------------------------

bool CDocShell::AskBucklingModes()
{
    CShellComp* comp = GetShellComp();
    if (!comp)
        return false;
    double value = comp->GetBucklingCtrl(CShellComp::kModes);
    for (;;) {
        KorDlgDblVal dlg("Number of buckling modes", &value, static_cast<CView*>(nullptr));
        if (dlg.DoModal() != IDOK)
            return false;
        int modes = 0;
        if (BucklingModesFromInput(value, modes)) {
            comp->SetBucklingCtrl(CShellComp::kModes, modes);
            return true;
        }
        AfxMessageBox("Please enter an integer between 1 and 100.");
    }
}

bool CDocShell::Calculate()
{
    if (!AskBucklingModes())
        return false;
    // The names gain the modes only when the component produced them; a
    // failed or stopped run keeps the names it had.
    bool ok = false;
    // Membrane results are taken over only while the model is the one they
    // were computed from (every modification clears m_bMeshValid): stale
    // ones are dropped, so that the run computes them again first.
    const bool current = m_bMeshValid;
    if (!RunCalculation(
            [current](CPlateComp& comp, CStringArray* log, CStringArray* errors) {
                if (!current)
                    comp.DeleteResults(3);
                return comp.Calculate(log, errors);
            },
            &ok) ||
        !ok)
        return false;
    // The names list the modes the run delivered; fewer than asked for
    // is no failure, but the user is told.
    const CShellComp* comp = GetShellComp();
    const int requested = comp->GetBucklingCtrl(CShellComp::kModes);
    const int accepted = comp->m_nModesAccepted;
    BuildBucklingResultNames(g_arMembraneResults, accepted, m_ResultNames);
    ActivateDoc();
    if (accepted < requested)
        AfxMessageBox(FewerModesText(accepted, requested), MB_OK | MB_ICONINFORMATION);
    return true;
}

bool CDocShell::MaxMinResultNames(CStringArray& names)
{
    const CShellComp* comp = GetShellComp();
    if (!comp || comp->m_iResultState != 3)
        return CBrantelDoc::MaxMinResultNames(names);
    // The names of the component's own results (the document's list may
    // belong to another state of the model after an undo): five names,
    // one per mode, four derived names, then one combined drawing per mode.
    FillResultLists();
    const int modes = comp->m_nModesAccepted;
    BuildBucklingResultNames(g_arMembraneResults, modes, names);
    names.SetSize(std::max(0, static_cast<int>(names.GetSize()) - modes));
    return names.GetSize() > 0;
}

bool CDocShell::CalculateMembrane()
{
    if (bCalcRunning) {
        AfxMessageBox(kOneCalculationText, MB_OK);
        return false;
    }
    ResetResultNames();
    RunCalculation([](CPlateComp& comp, CStringArray* log, CStringArray* errors) {
        auto* shell = dynamic_cast<CShellComp*>(&comp);
        return shell && shell->RunMembraneAnalysis(log, errors);
    });
    ActivateDoc();
    return true;
}

void CDocShell::OnMembraneAnalysis()
{
    CalculateMembrane();
}

// ---- Element and mesh control -----------------------------------------------------

namespace
{

// The plate document's sheet with the plate element page and the buckling
// page after its (membrane) element page.
class CShellElementSheet : public CElementSheet
{
public:
    CShellElementSheet(CBrantelDoc& doc, CShellComp& comp) : CElementSheet(doc, comp)
    {
        m_pElement->m_iMode = CDlgElemCtrl::modeBucklingMembrane;
        m_pElement->m_psp.dwFlags |= PSP_USETITLE;
        m_pElement->m_psp.pszTitle = "Membrane Element";

        m_pPlate = std::make_unique<CDlgElemCtrl>();
        m_pPlate->m_iMode = CDlgElemCtrl::modeBucklingPlate;
        m_pPlate->m_psp.dwFlags |= PSP_USETITLE;
        m_pPlate->m_psp.pszTitle = "Plate Element";
        m_pPlate->m_iElement = 0;
        const int code = comp.GetBucklingCtrl(CShellComp::kBucklingType);
        for (int i = 0; i < 6; ++i)
            if (ElementCodeOfChoice(CDlgElemCtrl::modePlate, i) == code)
                m_pPlate->m_iElement = i;
        m_pPlate->m_iIntegrationRule = comp.m_iIntegrationRule - 1;
        m_pPlate->m_iPrint = comp.m_iPrintLevel;

        m_pBuckling = std::make_unique<CPPBucklSett>();
        m_pBuckling->m_nModes = comp.GetBucklingCtrl(CShellComp::kModes);
        m_pBuckling->m_iSolver = comp.GetBucklingCtrl(CShellComp::kEigensolver) - 1;
        m_pBuckling->m_iStressPoints = comp.GetBucklingCtrl(CShellComp::kForceBasis);

        while (GetPageCount() > 0)
            RemovePage(0);
        for (CPropertyPage* page : {static_cast<CPropertyPage*>(m_pElement.get()),
                                    static_cast<CPropertyPage*>(m_pPlate.get()),
                                    static_cast<CPropertyPage*>(m_pBuckling.get()),
                                    static_cast<CPropertyPage*>(m_pStorage.get()),
                                    static_cast<CPropertyPage*>(m_pMesh.get()),
                                    static_cast<CPropertyPage*>(m_pSmoothing.get())})
            AddPage(page);
    }

    std::unique_ptr<CDlgElemCtrl> m_pPlate;
    std::unique_ptr<CPPBucklSett> m_pBuckling;
};

} // namespace

CPropertySheet* CDocShell::CreateElementSheet()
{
    CShellComp* comp = GetShellComp();
    return comp ? new CShellElementSheet(*this, *comp) : nullptr;
}

void CDocShell::ApplyElementSettings(CPropertySheet* pSheet)
{
    auto* sheet = dynamic_cast<CShellElementSheet*>(pSheet);
    CShellComp* comp = GetShellComp();
    if (!sheet || !comp)
        return;
    bool modified = false;
    auto store = [&modified, comp](int entry, int value) {
        if (comp->GetBucklingCtrl(entry) != value) {
            comp->SetBucklingCtrl(entry, value);
            modified = true;
        }
    };
    const CPPBucklSett& buckling = *sheet->m_pBuckling;
    store(CShellComp::kEigensolver, buckling.m_iSolver + 1);
    store(CShellComp::kForceBasis, buckling.m_iStressPoints);
    store(CShellComp::kModes, buckling.m_nModes);

    // The membrane page and the other pages as the plate document applies them.
    CBrantelDoc::ApplyElementSettings(sheet);

    const CDlgElemCtrl& plate = *sheet->m_pPlate;
    const int code = ElementCodeOfChoice(CDlgElemCtrl::modePlate, plate.m_iElement);
    if (code != comp->GetBucklingCtrl(CShellComp::kBucklingType)) {
        ResetViews(8);
        comp->SetBucklingCtrl(CShellComp::kBucklingType, code);
        modified = true;
    }
    if (comp->m_iIntegrationRule != plate.m_iIntegrationRule + 1) {
        comp->m_iIntegrationRule = plate.m_iIntegrationRule + 1;
        modified = true;
    }
    comp->m_iPrintLevel = plate.m_iPrint;
    if (modified)
        SetModifiedFlag(TRUE);
}

// ---- Information sheets -----------------------------------------------------------

std::vector<CBrantelDoc::ConditionPageDef> CDocShell::ConditionPages()
{
    CShellComp* comp = GetShellComp();
    if (!comp)
        return {};
    return {{0, comp->GetElementType(), "Membrane BC's"},
            {1, comp->GetBucklingCtrl(CShellComp::kBucklingType), "Plate BC's"}};
}

bool CDocShell::HasEdgeLoadPage()
{
    CShellComp* comp = GetShellComp();
    return comp && IsMembraneCode(comp->GetElementType());
}

// ---- Import of a membrane file ----------------------------------------------------

void CDocShell::OnImportMembrane()
{
    CShellComp* comp = GetShellComp();
    if (!comp)
        return;
    if (!comp->IsEmpty()) {
        AfxMessageBox("Your Workspace must be empty to use this option");
        return;
    }
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_EXPLORER,
                    "Membrane  files (*.mem)|*.mem||");
    const CString folder = KorDocumentFolder(this);
    if (!folder.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = folder.GetString();
    if (dlg.DoModal() == IDOK)
        ImportMembrane(dlg.GetPathName());
    InvalidateLists();
    UpdateAllViews(nullptr);
}

bool CDocShell::ImportMembrane(LPCTSTR path)
{
    CShellComp* comp = GetShellComp();
    if (!comp || !comp->IsEmpty())
        return false;
    // The membrane template's document reads the file; without the program's
    // templates a plain plate document does the same.
    auto* app = dynamic_cast<CBrantelApp*>(AfxGetApp());
    CDocTemplate* membrane = app ? app->m_pTemplates[2] : nullptr;
    std::unique_ptr<CDocument> created(membrane ? membrane->CreateNewDocument() : new CBrantelDoc);
    auto* source = dynamic_cast<CBrantelDoc*>(created.get());
    if (!source) {
        AfxMessageBox("Failed to create empty document.");
        return false;
    }
    BeginWaitCursor();
    const bool opened = source->OnOpenDocument(path) != FALSE;
    CPlateComp* from = opened ? source->GetPlateComp() : nullptr;
    if (!from) {
        EndWaitCursor();
        return false;
    }
    // The regions and the materials move; the model's own start materials
    // are unused in an empty model and go.
    for (POSITION pos = from->GetHeadPosition(); pos;)
        comp->AddTail(from->GetNext(pos));
    from->RemoveAll();
    CObList& materials = comp->GetMaterialList();
    for (POSITION pos = materials.GetHeadPosition(); pos;)
        delete materials.GetNext(pos);
    materials.RemoveAll();
    materials.AddTail(&from->GetMaterialList());
    from->GetMaterialList().RemoveAll();
    // Objects made from now on must not take the identifiers of the moved
    // ones.
    auto raise = [](auto& counter, unsigned long max) {
        if (counter <= max)
            counter = static_cast<std::remove_reference_t<decltype(counter)>>(max + 1);
    };
    raise(CGraph::lIDGraph, comp->GetMaxID(1));
    raise(CSNode::lIDnode, comp->GetMaxID(2));
    raise(CEdge::lIDedge, comp->GetMaxID(4));
    EndWaitCursor();
    // The vehicle document goes without asking to save.
    created.reset();
    SetModifiedFlag(TRUE);
    ActivateDoc();
    return true;
}

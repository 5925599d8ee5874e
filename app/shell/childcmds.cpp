// The child frame's analysis commands: mesh generation, calculation,
// uniform refinement, smoothing, Coarser and Finer, the element and mesh
// control sheet, the number switches and the view-mode switch.
#include <algorithm>
#include <array>

#include "app/analysis/analysis.h"
#include "app/shell/brantelmodview.h"
#include "app/shell/brantelview.h"
#include "app/shell/branteldoc.h"
#include "app/shell/brantelresview.h"
#include "app/shell/calcrun.h"
#include "app/shell/elemmodview.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "femodel/meshorg.h"
#include "geometry/graph.h"
#include "graphview/ogl2dview.h"
#include "graphview/ogl3dview.h"

BEGIN_MESSAGE_MAP(CChildFrame, KorChildFrm)
ON_COMMAND(ID_CALCULATE, OnCalculate)
ON_COMMAND(ID_COARSER, OnCoarser)
ON_COMMAND(ID_FINER, OnFiner)
ON_UPDATE_COMMAND_UI(ID_COARSER, OnUpdateMeshStep)
ON_UPDATE_COMMAND_UI(ID_FINER, OnUpdateMeshStep)
ON_COMMAND(ID_ELEM_MESH_CONTROL, OnElemMeshControl)
ON_COMMAND(ID_SMOOTH, OnSmooth)
ON_COMMAND(ID_MATERIALS, OnMaterials)
ON_COMMAND(ID_GENERATE_MESH, OnGenerateMesh)
ON_COMMAND(ID_UNIFORM_REFINE, OnUniformRefine)
ON_CBN_SELCHANGE(ID_VIEW_MODE, OnModeSelChange)
ON_WM_CHILDACTIVATE()
ON_COMMAND(ID_SHOW_NODE_NUMBERS, OnShowNodeNumbers)
ON_COMMAND(ID_SHOW_ELEM_NUMBERS, OnShowElemNumbers)
ON_UPDATE_COMMAND_UI(ID_SHOW_NODE_NUMBERS, OnUpdateShowNodeNumbers)
ON_UPDATE_COMMAND_UI(ID_SHOW_ELEM_NUMBERS, OnUpdateShowElemNumbers)
END_MESSAGE_MAP()

namespace
{

// The entries of the view parameters that carry zoom and position.
constexpr std::size_t kCarriedParams = 12;

} // namespace

void CChildFrame::OnMaterials()
{
    CBrantelView::EditMaterials(0);
}

CBrantelDoc* CChildFrame::PlateDoc()
{
    return dynamic_cast<CBrantelDoc*>(GetActiveDocument());
}

CView* CChildFrame::CreatePaneView(CRuntimeClass* viewClass)
{
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    context.m_pCurrentDoc = GetActiveDocument();
    context.m_pCurrentFrame = this;
    auto* view = dynamic_cast<CView*>(CreateView(&context, AFX_IDW_PANE_FIRST));
    if (auto* view2d = dynamic_cast<COGL2DView*>(view)) {
        m_pViewParams.resize(std::max<std::size_t>(m_pViewParams.size(), kViewParams));
        view2d->SetViewParam(m_pViewParams.data(), false);
    }
    return view;
}

CView* CChildFrame::CreateModView()
{
    if (CBrantelDoc* doc = PlateDoc())
        doc->RecomputeLoadScales(2, 4);
    return CreatePaneView(RUNTIME_CLASS(CBrantelModView));
}

CView* CChildFrame::CreateElemView()
{
    if (CBrantelDoc* doc = PlateDoc())
        doc->RecomputeLoadScales(10, 12);
    return CreatePaneView(RUNTIME_CLASS(CElemModView));
}

CView* CChildFrame::CreateResView()
{
    return CreatePaneView(RUNTIME_CLASS(CBrantelResView));
}

bool CChildFrame::Calculate()
{
    if (bCalcRunning) {
        AfxMessageBox(kOneCalculationText, MB_OK);
        return false;
    }
    CBrantelDoc* doc = PlateDoc();
    return doc && doc->Calculate();
}

bool CChildFrame::GenerateMesh()
{
    CBrantelDoc* doc = PlateDoc();
    if (!doc)
        return false;
    doc->RecomputeLoadScales(2, 4);
    return RunMeshGeneration([doc](CPlateComp& comp, CStringArray* log, CStringArray* errors) {
        CMeshOrganizer::m_iSmootType = doc->m_nSmoothing;
        return comp.PreCalc(log, errors, 0);
    });
}

bool CChildFrame::RunMeshGeneration(const MeshCall& mesh)
{
    CBrantelDoc* doc = PlateDoc();
    if (!doc)
        return false;
    if (bCalcRunning) {
        AfxMessageBox(kOneCalculationText, MB_OK);
        return false;
    }
    CPlateComp* comp = doc->GetPlateComp();
    KorLogWnd* window = RunLogWindow();
    CalcRunningScope running;
    CStringArray log;
    CStringArray errors;
    doc->ResetViews(8);
    CurrentFolderScope folder;
    doc->ActivateLogDir(true);
    bool ok = false;
    {
        CWaitCursor wait;
        if (window)
            window->ScrollToTab(0);
        log.Add("\r\n ************** Mesh *****************\r\n");
        log.Add("\r\n--- Preparing mesh. Please wait.\r\n");
        FlushLog(window, log);
        // A stop asked for while nothing ran must not cancel this run.
        comp->StopCalculation(false);
        RunActivity activity("Meshing");
        ok = RunBusy([&] { return mesh(*comp, &log, &errors); });
    }
    FlushLog(window, log);
    const bool stopped = comp->m_bStopRequest;
    // The mesh is gone or incomplete after a failure: no results belong to
    // it any more.
    doc->m_bMeshValid = ok && !stopped;
    doc->InvalidateLists();
    if (!ok) {
        if (window) {
            if (!stopped)
                window->ScrollToTab(1);
            window->WriteErrorEntry(&errors);
        }
        RunFailureBeep();
        return false;
    }
    if (GetSafeHwnd())
        KorChildFrm::RedrawWindow();
    return true;
}

int CChildFrame::StepSubdivisions(int value, bool finer, int defaultCount)
{
    if (value < 0)
        value = defaultCount;
    if (value < 10)
        return finer ? value + 1 : value - 1;
    return static_cast<int>(value * (finer ? 1.1 : 0.9));
}

void CChildFrame::StepMesh(bool finer)
{
    CBrantelDoc* doc = PlateDoc();
    if (!doc || bCalcRunning)
        return;
    CPlateComp* comp = doc->GetPlateComp();
    if (!finer && comp->m_iSubdivisions == 0)
        return;
    doc->m_bMeshValid = false;
    comp->m_iSubdivisions =
        StepSubdivisions(comp->m_iSubdivisions, finer, comp->AutoSubdivisions(0.0, 0.0));
}

void CChildFrame::OnCoarser()
{
    StepMesh(false);
}

void CChildFrame::OnFiner()
{
    StepMesh(true);
}

void CChildFrame::OnUpdateMeshStep(CCmdUI* pCmdUI)
{
    CBrantelDoc* doc = PlateDoc();
    pCmdUI->Enable(doc && doc->GetPlateComp()->m_bAutoSpacing);
}

void CChildFrame::OnCalculate()
{
    Calculate();
}

void CChildFrame::OnGenerateMesh()
{
    GenerateMesh();
}

void CChildFrame::OnUniformRefine()
{
    if (bCalcRunning) {
        AfxMessageBox(kOneCalculationText, MB_OK);
        return;
    }
    CBrantelDoc* doc = PlateDoc();
    if (!doc)
        return;
    CPlateComp* comp = doc->GetPlateComp();
    KorLogWnd* window = RunLogWindow();
    CalcRunningScope running;
    doc->ResetViews(8);
    if (window)
        window->ScrollToTab(0);
    CStringArray log;
    {
        CWaitCursor wait;
        log.Add("\r\n ************** Refining *****************");
        log.Add("\r\n--- Refining mesh. Please wait.\r\n");
        FlushLog(window, log);
        comp->StopCalculation(false);
        RunActivity activity("Refining");
        RunBusy([&] {
            comp->RefineMesh(1, &log);
            return true;
        });
        // The refined mesh stays; results of the former mesh do not
        // belong to it (a buckling run computes its stresses again).
        doc->m_bMeshValid = false;
    }
    FlushLog(window, log);
    doc->InvalidateLists();
    if (GetSafeHwnd())
        KorChildFrm::RedrawWindow();
}

void CChildFrame::OnSmooth()
{
    CBrantelDoc* doc = PlateDoc();
    if (!doc)
        return;
    {
        CWaitCursor wait;
        doc->GetPlateComp()->Smooth(false);
        CView* view = GetActiveView();
        if (auto* view3d = dynamic_cast<COGL3DView*>(view))
            view3d->InvalidateList();
        if (view && view->GetSafeHwnd())
            view->Invalidate();
    }
    if (GetSafeHwnd())
        Invalidate();
}

void CChildFrame::DeleteSheet(CPropertySheet* sheet)
{
    // The program's sheets own their pages.
    delete sheet;
}

void CChildFrame::OnElemMeshControl()
{
    CBrantelDoc* doc = PlateDoc();
    if (!doc)
        return;
    CPropertySheet* sheet = doc->CreateElementSheet();
    if (!sheet)
        return;
    const bool applied = sheet->DoModal() == IDOK;
    if (applied)
        doc->ApplyElementSettings(sheet);
    DeleteSheet(sheet);
    doc->ActivateDoc();
    // A new element type drops the results: every view of the document
    // draws again from the model (the results view its no-results state).
    if (applied)
        doc->InvalidateLists();
    if (GetSafeHwnd())
        KorChildFrm::RedrawWindow();
}

void CChildFrame::OnModeSelChange()
{
    auto* combo = dynamic_cast<CComboBox*>(CCmdTarget::GetNotifySender());
    const int index = combo ? combo->GetCurSel() : -1;
    SwitchMode(index == 1 ? ID_MODE_RESULTS : index == 2 ? ID_MODE_ELEMENTS : ID_MODE_MODELLING);
}

void CChildFrame::SwitchMode(UINT id)
{
    if (id != ID_MODE_RESULTS && id != ID_MODE_ELEMENTS)
        id = ID_MODE_MODELLING;
    if (id == m_nViewID)
        return;
    const bool carry = (id == ID_MODE_ELEMENTS && m_nViewID == ID_MODE_MODELLING) ||
                       (id == ID_MODE_MODELLING && m_nViewID == ID_MODE_ELEMENTS);
    if (carry) {
        // The new view starts with the old one's zoom and position.
        m_pViewParams.resize(std::max<std::size_t>(m_pViewParams.size(), kViewParams));
        std::array<double, kCarriedParams> kept{};
        std::copy_n(m_pViewParams.begin(), kCarriedParams, kept.begin());
        if (auto* view = dynamic_cast<COGL2DView*>(GetActiveView()))
            view->SetViewParam(m_pViewParams.data(), true);
        SwitchView(id);
        // Switching stores the old view's own count of parameters, which may
        // be fewer than the frame carries.
        m_pViewParams.resize(std::max<std::size_t>(m_pViewParams.size(), kViewParams));
        std::copy(kept.begin(), kept.end(), m_pViewParams.begin());
    } else {
        SwitchView(id);
    }
    if (id == ID_MODE_RESULTS) {
        if (auto* view = dynamic_cast<CBrantelResView*>(GetActiveView())) {
            // -1.0: the component's value scale was never set.
            const CPlateComp* comp = view->GetPlateComp();
            const bool valuesUnscaled = comp && comp->GetFactor() == -1.0;
            const bool neverScaled = m_pViewParams.size() > 3 && m_pViewParams[3] == 0.0;
            if (valuesUnscaled || neverScaled) {
                view->SetAngles(315.0, 0.0, 30.0);
                if (valuesUnscaled)
                    view->NormalizeScale();
                if (neverScaled && (m_uiStChldFrmSett & CMainFrame::kAutoZoomBit) == 0)
                    view->ZoomToFit();
            }
            if ((m_uiStChldFrmSett & CMainFrame::kAutoScaleBit) != 0)
                view->NormalizeScale();
        }
    }
    if ((m_uiStChldFrmSett & 1u) != 0)
        if (auto* view = dynamic_cast<COGL2DView*>(GetActiveView()))
            view->ZoomToFit();
}

namespace
{

// The document whose node list the geometry library holds: its identifier
// counters and lists are the ones in force.
KorDocSectComp* StaticsOwner()
{
    CWinApp* app = AfxGetApp();
    if (!app || !CGraph::m_pNodeList)
        return nullptr;
    for (POSITION tpos = app->GetFirstDocTemplatePosition(); tpos;) {
        CDocTemplate* tmpl = app->GetNextDocTemplate(tpos);
        for (POSITION dpos = tmpl->GetFirstDocPosition(); dpos;)
            if (auto* doc = dynamic_cast<KorDocSectComp*>(tmpl->GetNextDoc(dpos));
                doc && doc->m_pNodeList == CGraph::m_pNodeList)
                return doc;
    }
    return nullptr;
}

} // namespace

void CChildFrame::OnChildActivate()
{
    KorChildFrm::OnChildActivate();
    if (auto* doc = dynamic_cast<KorDocSectComp*>(GetActiveDocument())) {
        // The node list, identifier counters and node groups are the
        // process's: the document taking over puts its own in force, after
        // the one that held them has kept its counters. Otherwise a command
        // that makes geometry outside a click in the view (Import region)
        // would number it with the other document's counters and join it
        // to that document's nodes.
        if (KorDocSectComp* owner = StaticsOwner(); owner && owner != doc)
            owner->UpdateStatics(false);
        doc->UpdateStatics(true);
        doc->ActivateDoc();
    }
    auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (!frame)
        return;
    switch (m_nViewID) {
    case ID_MODE_MODELLING:
        frame->SetViewModeSel(0);
        break;
    case ID_MODE_RESULTS:
        frame->SetViewModeSel(1);
        break;
    case ID_MODE_ELEMENTS:
        frame->SetViewModeSel(2);
        break;
    default:
        break;
    }
}

void CChildFrame::ToggleNumbers(bool& flag)
{
    flag = !flag;
    // The numbers are drawn into the model views' lists; the results view
    // shows none, so its plot lists stay.
    auto* view = dynamic_cast<COGLView*>(GetActiveView());
    if (view && !dynamic_cast<CBrantelResView*>(view))
        view->InvalidateList();
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CChildFrame::OnShowNodeNumbers()
{
    ToggleNumbers(m_bShowNodeNumbers);
}

void CChildFrame::OnShowElemNumbers()
{
    ToggleNumbers(m_bShowElemNumbers);
}

void CChildFrame::OnUpdateShowNodeNumbers(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bShowNodeNumbers ? 1 : 0);
}

void CChildFrame::OnUpdateShowElemNumbers(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bShowElemNumbers ? 1 : 0);
}

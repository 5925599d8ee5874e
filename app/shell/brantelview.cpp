#include "app/shell/brantelview.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/analysis/analysis.h"
#include "app/shell/bcpage.h"
#include "app/shell/boundnode.h"
#include "app/shell/branteldoc.h"
#include "app/shell/bucklingdlgs.h"
#include "app/shell/mainframe.h"
#include "app/shell/materialdlgs.h"
#include "app/shell/nodegeompage.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "femodel/strelna.h"
#include "framework/geomhlpr.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/ferrand/material.h"

IMPLEMENT_DYNAMIC(CBrantelView, KorAreaModView)

BEGIN_MESSAGE_MAP(CBrantelView, KorAreaModView)
ON_COMMAND(ID_VIEW_SOLID, OnViewSolid)
ON_UPDATE_COMMAND_UI(ID_VIEW_SOLID, OnUpdateViewSolid)
ON_COMMAND(ID_LINK_DOFS, OnLinkDofs)
ON_UPDATE_COMMAND_UI(ID_LINK_DOFS, OnUpdateLinkDofs)
ON_COMMAND(ID_EDIT_OBJECT, OnEditObject)
ON_COMMAND(ID_MODE_RESULTS, OnViewResultsMode)
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

namespace
{

// The text of the message pane, or empty without a status bar.
CString MessagePaneText(CFrameWnd& frame)
{
    CStatusBar* bar = frame.GetStatusBar();
    return bar && bar->GetCount() > 0 ? bar->GetPaneText(0) : CString();
}

bool ShowsIdleMessage(CFrameWnd& frame)
{
    CString idle;
    AfxLoadString(AFX_IDS_IDLEMESSAGE, idle);
    return MessagePaneText(frame) == idle;
}

} // namespace

CSNode* CBrantelView::s_pTmpNodes[3] = {nullptr, nullptr, nullptr};

CBrantelView::CBrantelView()
{
    // One display list: the static model list.
    m_nLists = 1;
    m_iTool = VIEWTOOL_POINT;
    m_iViewState |= kShowMeshBit;
    m_dScale = 0.5;
}

CBrantelView::~CBrantelView() = default;

CBrantelDoc* CBrantelView::GetBrantelDoc() const
{
    return dynamic_cast<CBrantelDoc*>(const_cast<CBrantelView*>(this)->GetDocument());
}

CPlateComp* CBrantelView::GetPlateComp() const
{
    CBrantelDoc* doc = GetBrantelDoc();
    return doc ? doc->GetPlateComp() : nullptr;
}

// ---- View parameters and extents -------------------------------------------------

int CBrantelView::GetNumViewParams()
{
    return KorAreaModView::GetNumViewParams() + 1;
}

int CBrantelView::SetViewParam(double* params, bool store)
{
    const int n = KorAreaModView::SetViewParam(params, store);
    if (store)
        params[n] = m_bSolid ? 1.0 : 0.0;
    else
        m_bSolid = params[n] != 0.0;
    return n + 1;
}

int WidenedModelExtents(CBrantelDoc* doc, double& xmax, double& ymax, double& xmin, double& ymin)
{
    xmax = ymax = xmin = ymin = 0.0;
    int result = 0;
    if (doc) {
        doc->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        result = 1;
    }
    xmax += std::fabs((xmax - xmin) * 0.1);
    ymax += std::fabs((ymax - ymin) * 0.1);
    xmin -= std::fabs((xmax - xmin) * 0.1);
    ymin -= std::fabs((ymax - ymin) * 0.1);
    return result;
}

int CBrantelView::CalcModelExtents()
{
    return WidenedModelExtents(GetBrantelDoc(), m_dXMax, m_dYMax, m_dXMin, m_dYMin);
}

void CBrantelView::FindModelExtents()
{
    CalcModelExtents();
}

// ---- Mouse -------------------------------------------------------------------------

void ConstrainToReference(const double* ref, double& x, double& y, bool diagonal)
{
    const double dx = x - ref[0], dy = y - ref[1];
    const double ax = std::fabs(dx), ay = std::fabs(dy);
    if ((ax < 2.5 * ay && ay < 2.5 * ax) || diagonal)
        y = dy < 0.0 ? ref[1] - ax : ref[1] + ax;
    else if (ax < ay)
        x = ref[0];
    else
        y = ref[1];
}

void CBrantelView::ApplyShiftConstraint(unsigned flags, double& x, double& y)
{
    if (!(flags & MK_SHIFT))
        return;
    if (m_uiGeomTool == 0 && m_uiEditMode != 8 && m_uiEditMode != 4)
        return;
    double ref[2];
    GetRefPoint(ref);
    ConstrainToReference(ref, x, y, m_uiGeomTool == kRectangleTool);
}

void CBrantelView::BeginPress(CPoint point)
{
    m_PressPoint = point;
    m_bPressHeld = true;
}

bool CBrantelView::EndPress(CPoint release)
{
    const bool held = m_bPressHeld;
    m_PressPoint = release;
    m_bPressHeld = false;
    return held;
}

bool CBrantelView::MouseMove(unsigned flags, CPoint point)
{
    const double oldX = m_dCursX, oldY = m_dCursY;
    bool redraw = Kor2DView::MouseMove(flags, point);
    ApplyShiftConstraint(flags, m_dCursX, m_dCursY);
    const bool moved = m_dCursX != oldX || m_dCursY != oldY;
    const bool wantsPoints = m_uiGeomTool != 0 || m_uiEditMode != 0;
    if (!m_strPrompt.IsEmpty()) {
        auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
        if (!wantsPoints)
            ClearPrompt();
        else if (frame && ShowsIdleMessage(*frame))
            frame->SetMessageText(m_strPrompt);
    }
    if (m_iTool == VIEWTOOL_POINT) {
        // A hand that shakes by a pixel or two is no move.
        if (std::abs(point.x - m_PressPoint.x) < 3 && std::abs(point.y - m_PressPoint.y) < 3)
            return redraw;
        const bool wasOver = m_Cursor.m_uiFlags != 0;
        m_Cursor.x = m_dCursX;
        m_Cursor.y = m_dCursY;
        m_Cursor.z = 0.0;
        const bool isOver = IsMouseOver(&m_Cursor);
        if (wasOver || isOver || (flags & MK_LBUTTON))
            redraw = true;
    } else if (wantsPoints && moved) {
        m_Cursor.x = m_dCursX;
        m_Cursor.y = m_dCursY;
        m_Cursor.z = 0.0;
        IsMouseOver(&m_Cursor);
        redraw = true;
    }
    return redraw;
}

void CBrantelView::LeftButtonUp(unsigned flags, double x, double y, CPoint point)
{
    EndPress(point);
    KorAreaModView::LeftButtonUp(flags, x, y, point);
}

void CBrantelView::NewTmpNode(bool second, CSNode* node)
{
    SetTmpNode(second ? 1 : 0, node);
}

// ---- Picking and temporary nodes -------------------------------------------------

bool CBrantelView::DynamicPickDraw(unsigned types)
{
    if (CBrantelDoc* doc = GetBrantelDoc())
        doc->PickDrawModel(types, false);
    return true;
}

CObject* CBrantelView::GetPickedObject(DWORD id, DWORD kind)
{
    CBrantelDoc* doc = GetBrantelDoc();
    return doc ? doc->GetObjectById(id, kind != 0) : nullptr;
}

void CBrantelView::SetTmpNode(UINT index, CSNode* node)
{
    if (index < 3) {
        delete s_pTmpNodes[index];
        s_pTmpNodes[index] = node;
    }
    if (node) {
        m_dRefPoint[0] = node->x;
        m_dRefPoint[1] = node->y;
    }
}

CSNode* CBrantelView::TmpSlot(UINT index)
{
    return index < 3 ? s_pTmpNodes[index] : nullptr;
}

void CBrantelView::ClearTmpSlots()
{
    for (CSNode*& node : s_pTmpNodes) {
        delete node;
        node = nullptr;
    }
}

void CBrantelView::GetRefPoint(double* xy)
{
    const CSNode* node = nullptr;
    if (m_pGeomHlpr && m_pGeomHlpr->GetTmpNodeCount() > 0)
        node = m_pGeomHlpr->GetLastTmpNode();
    if (!node)
        node = s_pTmpNodes[0] ? s_pTmpNodes[0] : s_pTmpNodes[2];
    xy[0] = node ? node->x : m_dRefPoint[0];
    xy[1] = node ? node->y : m_dRefPoint[1];
}

void CBrantelView::ResetGeomInput()
{
    if (m_pGeomHlpr) {
        CBrantelDoc* doc = GetBrantelDoc();
        m_pGeomHlpr->ResetNodes(doc ? doc->m_pSectComp : nullptr);
    }
    SetTmpNode(0, nullptr);
    SetTmpNode(1, nullptr);
}

void CBrantelView::WriteLogLine(CString line)
{
    auto* frame = dynamic_cast<KorMainFrm*>(AfxGetMainWnd());
    if (!frame)
        return;
    CStringArray lines;
    lines.Add(line);
    frame->GetLogWindow()->WriteLogEntry(&lines);
    line.TrimLeft();
    line.TrimRight();
    frame->SetMessageText(line);
}

void CBrantelView::WritePrompt(CString line)
{
    WriteLogLine(line);
    line.TrimLeft();
    line.TrimRight();
    m_strPrompt = line;
}

void CBrantelView::ClearPrompt(bool always)
{
    if (m_strPrompt.IsEmpty() && !always)
        return;
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (frame && (always || MessagePaneText(*frame) == m_strPrompt))
        frame->ShowCommandPrompt(0);
    m_strPrompt.Empty();
}

// ---- Drawing ---------------------------------------------------------------------

bool CBrantelView::DrawStaticList(const std::function<void(CBrantelDoc&, CPlateComp&)>& draw)
{
    glLineWidth(static_cast<GLfloat>(THIN_EDGE));
    COGLRenderer::GLEnableDepthTest(GL_LEQUAL);
    if (!m_pListValid || !m_pListIds)
        return true;
    if (!m_pListValid[0]) {
        if (m_pListIds[0] != 0)
            glDeleteLists(m_pListIds[0], 1);
        m_pListIds[0] = 0;
        CBrantelDoc* doc = GetBrantelDoc();
        CPlateComp* comp = doc ? doc->GetPlateComp() : nullptr;
        if (comp && !comp->IsEmpty()) {
            m_pListIds[0] = glGenLists(1);
            glNewList(m_pListIds[0], GL_COMPILE);
            draw(*doc, *comp);
            glFinish();
            glDisable(GL_COLOR_MATERIAL);
            glEndList();
        }
        m_pListValid[0] = true;
    }
    if (m_pListIds[0] != 0)
        glCallList(m_pListIds[0]);
    return true;
}

bool CBrantelView::DrawModelList()
{
    return DrawStaticList([this](CBrantelDoc& doc, CPlateComp& comp) {
        comp.DrawModelGL(m_bSolid, static_cast<float>(MEDIUM_S_POINT), true);
        if (m_iViewState & kShowMeshBit)
            comp.DrawMesh(!m_bSolid, false);
        comp.DrawBCs(false, 1.0, doc.GetBCSet());
        comp.DrawNodeLoads(doc.m_dNodeLoadScale, false);
        glColor3f(1.0f, 0.0f, 0.0f);
        comp.DrawLoadedMeshNodes(static_cast<float>(LARGE_POINT));
        glColor3f(0.0f, 0.0f, 0.0f);
        comp.DrawEdgeLoads(doc.m_dEdgeLoadScale, false, 0);
        auto* child = dynamic_cast<CChildFrame*>(GetParentFrame());
        if (child && child->m_bShowNodeNumbers) {
            glColor3f(0.0f, 0.0f, 1.0f);
            comp.DrawNodeNumbers(true);
        }
        if (m_iViewState & kMaterialAxesBit) {
            glColor3f(0.0f, 0.0f, 0.0f);
            comp.DrawDispersAngles();
        }
    });
}

// The model stands in model coordinates under the selection and the
// rubber lines of the modelling view.
bool CBrantelView::DrawDynamicScene()
{
    DrawModelList();
    return KorAreaModView::DrawDynamicScene();
}

// ---- Commands --------------------------------------------------------------------

void CBrantelView::OnViewSolid()
{
    m_bSolid = !m_bSolid;
    InvalidateList();
    Invalidate(FALSE);
}

void CBrantelView::OnUpdateViewSolid(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bSolid ? 1 : 0);
}

void CBrantelView::OnLinkDofs()
{
    RemoveSelected(nullptr);
    ResetGeomInput();
    if (m_uiGeomTool != kLinkDofTool) {
        m_uiGeomTool = kLinkDofTool;
        m_iTool = VIEWTOOL_NORMAL;
    } else {
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
    }
    Invalidate(FALSE);
}

void CBrantelView::OnUpdateLinkDofs(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_uiGeomTool == kLinkDofTool ? 1 : 0);
}

void CBrantelView::OnEditObject()
{
    EditObject();
}

void CBrantelView::OnViewResultsMode()
{
    if (auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        frame->SwitchViewMode(ID_MODE_RESULTS);
}

void CBrantelView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    KorAreaModView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    // A switch of documents, and a new one, leave the keyboard focus where
    // it was (in a tool bar box, say): the boxes are brought up to date here.
    if (auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()); frame && bActivate && pActivateView == this)
        frame->ShowValuesInForce();
}

void CBrantelView::OnSetFocus(CWnd* pOldWnd)
{
    Kor2DView::OnSetFocus(pOldWnd);
    CBrantelDoc* doc = GetBrantelDoc();
    auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (!doc || !frame)
        return;
    frame->GetStatusBarWnd().SetPaneText(1, doc->GetElementTypeName());
    doc->UpdateStatics(true);
    CPlateComp* comp = doc->GetPlateComp();
    CObList* materials = comp ? &comp->GetMaterialList() : nullptr;
    auto* child = dynamic_cast<CChildFrame*>(GetParentFrame());
    CMaterial* active = child ? child->m_pActiveMaterial : nullptr;
    if (!active && materials && !materials->IsEmpty())
        active = static_cast<CMaterial*>(materials->GetHead());
    if (child)
        child->m_pActiveMaterial = active;
    frame->UpdateMaterialList(materials, active);
    frame->ShowValuesInForce();
    int index = 3;
    switch (m_uiSelectFilter) {
    case KorBasisGeomHlpr::kNodes:
        index = 0;
        break;
    case KorBasisGeomHlpr::kEdges:
        index = 1;
        break;
    case KorBasisGeomHlpr::kAreas:
        index = 2;
        break;
    default:
        break;
    }
    frame->SetCurSelSelectFilter(index);
}

// ---- Node information ------------------------------------------------------------

namespace
{

// The active view of the main frame's active child frame.
CView* ActiveView()
{
    auto* main = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    CMDIChildWnd* child = main ? main->MDIGetActive() : nullptr;
    return child ? child->GetActiveView() : nullptr;
}

} // namespace

void CBrantelView::ShowElementInfo(CElement* element)
{
    CView* view = ActiveView();
    auto* doc = view ? dynamic_cast<CBrantelDoc*>(view->GetDocument()) : nullptr;
    if (!doc || !element)
        return;
    CDlgElemProp dlg;
    FillElementProperties(dlg, *doc, *element);
    dlg.DoModal();
}

void CBrantelView::EditMaterials(int n)
{
    CView* view = ActiveView();
    auto* doc = view ? dynamic_cast<CBrantelDoc*>(view->GetDocument()) : nullptr;
    CPlateComp* comp = doc ? doc->GetPlateComp() : nullptr;
    if (!doc || !comp)
        return;
    CObList& materials = comp->GetMaterialList();
    CDlgOrthoMaterial dialog(nullptr);
    dialog.m_pOwner = view;
    const INT_PTR answer = dialog.DoModal(&materials, n);
    // Marking the document modified also drops its results, so a cancelled
    // dialog that changed nothing leaves the document as it was.
    if (answer == IDOK || dialog.m_bApplied)
        doc->SetModifiedFlag(TRUE);
    if (auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        frame->UpdateMaterialList(&materials,
                                  materials.IsEmpty() ? nullptr : static_cast<CMaterial*>(materials.GetHead()));
    if (auto* glView = dynamic_cast<COGLView*>(view))
        glView->InvalidateList();
}

void CBrantelView::ShowNodeInfo(CSNode* node, int elementTypeCode)
{
    CView* view = ActiveView();
    auto* doc = view ? dynamic_cast<CBrantelDoc*>(view->GetDocument()) : nullptr;
    CPlateComp* comp = doc ? doc->GetPlateComp() : nullptr;
    if (!doc || !comp)
        return;
    doc->ResetViews(8);
    auto* brantelView = dynamic_cast<CBrantelView*>(view);
    if (brantelView)
        brantelView->ResetGeomInput();
    if (!node || !node->IsKindOf(RUNTIME_CLASS(CSNode)))
        return;
    CBoundNode* bound = brantel::ToBoundNode(node, doc->m_pNodeList);

    CPrPageBNodeGeom geometry;
    CPrPageBC conditions(0);
    // The component goes to the page so that a moved node is checked for
    // crossing edges as in the document's own node sheet.
    PrepareNodeSheet(geometry, conditions, bound, comp,
                     doc->m_pNodeList && doc->m_pNodeList->Find(bound) >= 0, comp->m_bAutoSpacing,
                     elementTypeCode);
    CPropertySheet sheet("Node information");
    sheet.AddPage(&geometry);
    sheet.AddPage(&conditions);
    sheet.DoModal();
    if (!geometry.m_bChanged && !conditions.m_bApplied)
        return;
    // A model node's meshes hold copies of its condition, load and place.
    comp->DeleteMeshesAt(bound);
    doc->InvalidateLists();
    if (!geometry.m_bChanged) {
        doc->SetModifiedFlag(TRUE);
        return;
    }

    doc->RecomputeLoadScales(10, 12);
    if (CObList* graphs = bound->GetGraphList())
        for (POSITION pos = graphs->GetHeadPosition(); pos;)
            if (auto* element = dynamic_cast<CElement*>(graphs->GetNext(pos)))
                element->UpdateNodeCoord();
    if (auto* glView = dynamic_cast<COGL2DView*>(view))
        glView->InvalidateList();
    // A moved node is a change of the model: without the mark, closing the
    // document would lose it.
    doc->SetModifiedFlag(TRUE);
}

void TrackViewContextMenu(CWnd& view, CMenu& popup, CPoint point)
{
    // Popups are placed in screen pixels.
    view.ClientToScreen(&point);
    popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x - 30, point.y - 10, AfxGetMainWnd());
}

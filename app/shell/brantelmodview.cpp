// CBrantelModView: the command table and its update rules, the dispatch of
// clicks to the tools, the context menus, point input and the region tools.
#include "app/shell/brantelmodview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/boundnode.h"
#include "app/shell/branteldoc.h"
#include "app/shell/mainframe.h"
#include "app/shell/shellframes.h"
#include "femodel/strelna.h"
#include "framework/geomhlpr.h"
#include "framework/inputdialogs.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ferrand/material.h"

IMPLEMENT_DYNCREATE(CBrantelModView, CBrantelView)

BEGIN_MESSAGE_MAP(CBrantelModView, CBrantelView)
ON_COMMAND(ID_TOOL_RECTANGLE, OnToolRectangle)
ON_COMMAND(ID_TOOL_QUADRILATERAL, OnToolQuadrilateral)
ON_COMMAND(ID_TOOL_TRIANGLE, OnToolTriangle)
ON_COMMAND(ID_TOOL_CIRCLE, OnToolCircle)
ON_COMMAND(ID_TOOL_POLYGON, OnToolPolygon)
ON_COMMAND(ID_TOOL_RING_SEGMENT, OnToolRingSegment)
ON_COMMAND(ID_TOOL_NEW_NODE, OnToolNewNode)
ON_COMMAND(ID_TOOL_FILLET, OnFillet)
ON_COMMAND(ID_TOOL_DIVIDE, OnDivide)
ON_UPDATE_COMMAND_UI(ID_TOOL_RECTANGLE, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_QUADRILATERAL, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_TRIANGLE, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_CIRCLE, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_POLYGON, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_RING_SEGMENT, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_NEW_NODE, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_FILLET, OnUpdateGeomTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_DIVIDE, OnUpdateGeomTool)
ON_COMMAND(ID_REGION_UNION, OnUnion)
ON_UPDATE_COMMAND_UI(ID_REGION_UNION, OnUpdateUnion)
ON_COMMAND(ID_FLIP_HORIZONTAL, OnFlipHorizontal)
ON_COMMAND(ID_FLIP_VERTICAL, OnFlipVertical)
ON_COMMAND(ID_DELETE_SELECTION, OnDeleteSelection)
ON_UPDATE_COMMAND_UI(ID_DELETE_SELECTION, OnUpdateAnySelection)
ON_COMMAND(ID_MOVE_SELECTION, OnMoveSelection)
ON_UPDATE_COMMAND_UI(ID_MOVE_SELECTION, OnUpdateMoveSelection)
ON_COMMAND(ID_COPY_REGIONS, OnCopy)
ON_UPDATE_COMMAND_UI(ID_COPY_REGIONS, OnUpdateCopy)
ON_COMMAND(ID_CUT_REGIONS, OnCut)
ON_UPDATE_COMMAND_UI(ID_CUT_REGIONS, OnUpdateCut)
ON_COMMAND(ID_PASTE_REGIONS, OnPaste)
ON_UPDATE_COMMAND_UI(ID_PASTE_REGIONS, OnUpdatePaste)
ON_COMMAND(ID_INSERT_LOAD_GROUP, OnInsertLoadGroup)
ON_COMMAND(ID_DELETE_MESH, OnDeleteMesh)
ON_UPDATE_COMMAND_UI(ID_DELETE_MESH, OnUpdateRegionSelection)
ON_COMMAND(ID_DELETE_RESULTS, OnDeleteResults)
ON_UPDATE_COMMAND_UI(ID_DELETE_RESULTS, OnUpdateRegionSelection)
ON_COMMAND(ID_REPEAT_QUIT, OnRepeatQuit)
ON_UPDATE_COMMAND_UI(ID_REPEAT_QUIT, OnUpdateRepeatQuit)
ON_COMMAND(ID_SHOW_ELEMENT_MESH, OnShowElementMesh)
ON_UPDATE_COMMAND_UI(ID_SHOW_ELEMENT_MESH, OnUpdateShowElementMesh)
ON_COMMAND(ID_SHOW_ELEMENT_AXES, OnShowElementAxes)
ON_UPDATE_COMMAND_UI(ID_SHOW_ELEMENT_AXES, OnUpdateShowElementAxes)
ON_UPDATE_COMMAND_UI(ID_RESULT_COMPONENT, OnUpdateResultComponent)
ON_CONTROL(CBN_SELCHANGE, ID_ACTIVE_MATERIAL, OnActiveMaterialChange)
ON_WM_KEYUP()
ON_WM_RBUTTONDOWN()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CObList* CBrantelModView::s_pCopyList = nullptr;
CObList* CBrantelModView::s_pMaterialCopyList = nullptr;
bool CBrantelModView::s_bSplitAtPoint = true;

namespace
{

struct ToolCommand {
    UINT id;
    UINT tool;
    const char* repeatText;
};

// The tools that the "Repeat/Quit" item can start again, with their
// commands.
constexpr ToolCommand kToolCommands[] = {
    {ID_TOOL_QUADRILATERAL, kToolQuadrilateral, "Repeat Quad"},
    {ID_TOOL_CIRCLE, kToolCircle, "Repeat Circle"},
    {ID_TOOL_TRIANGLE, kToolTriangle, "Repeat Triangle"},
    {ID_TOOL_RECTANGLE, kToolRectangle, "Repeat Rectangle"},
    {ID_TOOL_POLYGON, kToolPolygon, "Repeat Polygon"},
    {ID_TOOL_NEW_NODE, kToolNewNode, "Repeat Node"},
    {ID_TOOL_FILLET, kToolFillet, "Repeat Fillet"},
    {ID_TOOL_DIVIDE, kToolDivide, "Repeat Divide"},
    {ID_TOOL_RING_SEGMENT, kToolRingSegment, "Repeat Ring segment"},
};

UINT ToolOfCommand(UINT id)
{
    for (const ToolCommand& c : kToolCommands)
        if (c.id == id)
            return c.tool;
    return 0;
}

// Why a region drawn was not made.
constexpr const char* kNotClosed =
    "The closing line would cross the model or the lines drawn: please choose another point\r\n";

// The framework's start value of the last tool.
constexpr UINT kInitialLastTool = 22;

bool HasList(KorBasisGeomHlpr* helper, int type)
{
    return helper && helper->GetSelList(type) != nullptr;
}

// The two nodes are neighbours in the chain.
bool ConsecutiveInChain(CObList* chain, CSNode* a, CSNode* b)
{
    if (!chain)
        return false;
    CSNode* previous = nullptr;
    for (POSITION pos = chain->GetHeadPosition(); pos;) {
        auto* node = static_cast<CSNode*>(chain->GetNext(pos));
        if (previous && ((previous == a && node == b) || (previous == b && node == a)))
            return true;
        previous = node;
    }
    return false;
}

std::vector<CSNode*> ChainNodes(CObList* chain)
{
    std::vector<CSNode*> nodes;
    if (chain)
        for (POSITION pos = chain->GetHeadPosition(); pos;)
            nodes.push_back(static_cast<CSNode*>(chain->GetNext(pos)));
    return nodes;
}

} // namespace

RepeatItem RepeatItemFor(UINT lastTool)
{
    if (lastTool == kInitialLastTool)
        lastTool = kToolPolygon;
    for (const ToolCommand& c : kToolCommands)
        if (c.tool == lastTool)
            return {c.id, c.repeatText};
    return {ID_TOOL_POLYGON, "Polygon"};
}

AfxMenu ModelPopupMenus()
{
    const AfxMenuEntry edit = AfxMenuItem(ID_EDIT_OBJECT, "Edit");
    const AfxMenuEntry pointer = AfxMenuItem(ID_KOR_TOOL_POINTER, "P&ointer");
    const AfxMenuEntry erase = AfxMenuItem(ID_DELETE_SELECTION, "D&elete\tCtrl+Del");
    const AfxMenuEntry paste = AfxMenuItem(ID_PASTE_REGIONS, "P&aste\tCtrl+V");
    const AfxMenuEntry move = AfxMenuItem(ID_MOVE_SELECTION, "&Move\tCtrl+M");
    const AfxMenuEntry deleteResults = AfxMenuItem(ID_DELETE_RESULTS, "Delete results");
    const AfxMenu nodeOrEdge = {edit, pointer, AfxMenuSeparator(), erase, paste, move};
    return {
        AfxMenuPopup("Node PopUp", nodeOrEdge),
        AfxMenuPopup("Edge PopUp", nodeOrEdge),
        AfxMenuPopup("Graph PopUp",
                     {edit, AfxMenuItem(ID_CUT_REGIONS, "Cu&t\tCtrl+X"), AfxMenuItem(ID_COPY_REGIONS, "&Copy\tCtrl+C"),
                      paste, move, AfxMenuSeparator(), erase, AfxMenuSeparator(), pointer, AfxMenuSeparator(),
                      AfxMenuItem(ID_DELETE_MESH, "Delete Mesh"), deleteResults}),
        AfxMenuPopup("Element PopUp", {AfxMenuItem(ID_EDIT_OBJECT, "Information"), pointer, AfxMenuSeparator(),
                                       erase, AfxMenuSeparator(), deleteResults}),
        AfxMenuPopup("Geom PopUp",
                     {AfxMenuItem(ID_REPEAT_QUIT, "Repeat/Quit"), AfxMenuSeparator(),
                      AfxMenuItem(ID_TOOL_RECTANGLE, "&Rectangle\tShift+R"),
                      AfxMenuItem(ID_TOOL_QUADRILATERAL, "&Quadrilateral\tShift+Q"),
                      AfxMenuItem(ID_TOOL_TRIANGLE, "&Triangle\tShift+T"),
                      AfxMenuItem(ID_TOOL_POLYGON, "&Polygon\tShift+P"), AfxMenuItem(ID_TOOL_CIRCLE, "&Circle\tShift+C"),
                      AfxMenuItem(ID_TOOL_RING_SEGMENT, "Ring &segment\tShift+S"),
                      AfxMenuItem(ID_TOOL_NEW_NODE, "&New node\tShift+N"), AfxMenuSeparator(),
                      AfxMenuItem(ID_REGION_UNION, "&Union\tCtrl+U"), AfxMenuItem(ID_TOOL_DIVIDE, "&Divide\tCtrl+D"),
                      AfxMenuItem(ID_TOOL_FILLET, "&Fillet\tCtrl+F"), AfxMenuSeparator(), pointer, paste}),
    };
}

// ---- Construction ------------------------------------------------------------------

CBrantelModView::CBrantelModView()
{
    m_pGeomHlpr = new KorAreaGeomHlpr;
    m_pGeomHlpr->m_pEdgeClass = RUNTIME_CLASS(CBoundary);
}

CBrantelModView::~CBrantelModView()
{
    if (m_pGeomHlpr) {
        CBrantelDoc* doc = GetBrantelDoc();
        m_pGeomHlpr->ResetNodes(doc ? doc->m_pSectComp : nullptr);
    }
}

CSNode& CBrantelModView::CornerMarker(int index)
{
    // Markers are no model nodes: they give their identifiers back.
    static CSNode* markers[2] = {nullptr, nullptr};
    if (!markers[index]) {
        markers[index] = new CSNode(0.0, 0.0, 0.0, nullptr, 0);
        --CSNode::lIDnode;
    }
    return *markers[index];
}

CChildFrame* CBrantelModView::ChildFrame()
{
    return dynamic_cast<CChildFrame*>(GetParentFrame());
}

CMaterial* CBrantelModView::ActiveMaterial()
{
    CChildFrame* child = ChildFrame();
    if (child && child->m_pActiveMaterial)
        return child->m_pActiveMaterial;
    CPlateComp* comp = GetPlateComp();
    if (comp && !comp->GetMaterialList().IsEmpty())
        return static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
    return nullptr;
}

double CBrantelModView::ActiveThickness()
{
    auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    return frame ? frame->m_dActThickness : 0.0;
}

// ---- Copy list and temporary slots -------------------------------------------------

CObList* CBrantelModView::NewCopyList()
{
    s_pCopyList = new CObList(10);
    return s_pCopyList;
}

CObList* CBrantelModView::GetCopyList()
{
    return s_pCopyList;
}

CObList* CBrantelModView::GetMaterialCopyList()
{
    if (!s_pMaterialCopyList)
        s_pMaterialCopyList = new CObList(10);
    return s_pMaterialCopyList;
}

void CBrantelModView::DeleteCopyList()
{
    FreeCopyLists();
}

void CBrantelModView::FreeCopyLists()
{
    // Deleting the copies must not move the counters the next new objects
    // take their identifiers from.
    const auto nodeId = CSNode::lIDnode;
    const auto edgeId = CEdge::lIDedge;
    const auto graphId = CGraph::lIDGraph;
    if (s_pCopyList) {
        for (POSITION pos = s_pCopyList->GetHeadPosition(); pos;)
            delete s_pCopyList->GetNext(pos);
        delete s_pCopyList;
        s_pCopyList = nullptr;
    }
    if (s_pMaterialCopyList) {
        for (POSITION pos = s_pMaterialCopyList->GetHeadPosition(); pos;)
            delete s_pMaterialCopyList->GetNext(pos);
        delete s_pMaterialCopyList;
        s_pMaterialCopyList = nullptr;
    }
    CSNode::lIDnode = nodeId;
    CEdge::lIDedge = edgeId;
    CGraph::lIDGraph = graphId;
}

CSNode* CBrantelModView::GetTmpNode(UINT index)
{
    return TmpSlot(index);
}

// ---- Resets ------------------------------------------------------------------------

void CBrantelModView::ResetGeomInput()
{
    CBrantelView::ResetGeomInput();
    m_Cursor.m_uiFlags = 0;
    CornerMarker(0).m_uiFlags = 0;
    CornerMarker(1).m_uiFlags = 0;
}

void CBrantelModView::ResetEdit()
{
    m_pBoundingRegion = nullptr;
    m_uiEditMode = 0;
    if (m_uiGeomTool == 0)
        m_iTool = VIEWTOOL_POINT;
    SetTmpNode(0, nullptr);
    SetTmpNode(1, nullptr);
    if (GetCopyList() && !GetTmpNode(2))
        DeleteCopyList();
}

// ---- Tool commands -----------------------------------------------------------------

void CBrantelModView::ToggleGeomTool(UINT tool, bool redraw)
{
    ClearPrompt(true);
    RemoveSelected(nullptr);
    if (m_uiGeomTool == tool) {
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
    } else {
        if (tool == kToolNewNode)
            DeleteZoomRect();
        m_uiGeomTool = tool;
        m_uiLastGeomTool = tool;
        m_iTool = VIEWTOOL_NORMAL;
    }
    ResetGeomInput();
    ResetEdit();
    if (redraw)
        Invalidate(FALSE);
}

void CBrantelModView::OnToolRectangle()
{
    ToggleGeomTool(kToolRectangle, true);
}

void CBrantelModView::OnToolQuadrilateral()
{
    ToggleGeomTool(kToolQuadrilateral, false);
}

void CBrantelModView::OnToolTriangle()
{
    ToggleGeomTool(kToolTriangle, true);
}

void CBrantelModView::OnToolCircle()
{
    ToggleGeomTool(kToolCircle, false);
}

void CBrantelModView::OnToolPolygon()
{
    ToggleGeomTool(kToolPolygon, false);
}

void CBrantelModView::OnToolRingSegment()
{
    ToggleGeomTool(kToolRingSegment, false);
}

void CBrantelModView::OnToolNewNode()
{
    ToggleGeomTool(kToolNewNode, false);
}

void CBrantelModView::OnUpdateGeomTool(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_uiGeomTool == ToolOfCommand(pCmdUI->m_nID) ? 1 : 0);
}

void CBrantelModView::OnRepeatQuit()
{
    if (m_uiEditMode != 0) {
        ResetEdit();
        Invalidate(TRUE);
    } else if (m_uiGeomTool != 0) {
        m_uiLastGeomTool = m_uiGeomTool;
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
        ResetGeomInput();
        InvalidateList();
        Invalidate(FALSE);
    }
}

void CBrantelModView::OnUpdateRepeatQuit(CCmdUI* pCmdUI)
{
    if (m_uiLastGeomTool == kInitialLastTool)
        m_uiLastGeomTool = kToolPolygon;
    if (m_uiEditMode != 0) {
        pCmdUI->SetID(ID_REPEAT_QUIT);
        pCmdUI->SetText("Break Edit");
    } else if (m_uiGeomTool != 0) {
        pCmdUI->SetID(ID_REPEAT_QUIT);
        pCmdUI->SetText("Break Geometry");
    } else {
        const RepeatItem item = RepeatItemFor(m_uiLastGeomTool);
        pCmdUI->SetID(item.id);
        pCmdUI->SetText(item.text);
    }
}

// ---- Update rules ------------------------------------------------------------------

void CBrantelModView::OnUpdateUnion(CCmdUI* pCmdUI)
{
    CObList* regions = m_pGeomHlpr ? m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kAreas) : nullptr;
    pCmdUI->Enable(regions && regions->GetCount() >= 2);
}

void CBrantelModView::OnUpdateAnySelection(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(HasList(m_pGeomHlpr, KorBasisGeomHlpr::kAreas) ||
                   HasList(m_pGeomHlpr, KorBasisGeomHlpr::kNodes) ||
                   HasList(m_pGeomHlpr, KorBasisGeomHlpr::kEdges));
}

void CBrantelModView::OnUpdateMoveSelection(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_uiEditMode == kEditMove ? 1 : 0);
    OnUpdateAnySelection(pCmdUI);
    if (m_uiEditMode == kEditMove)
        pCmdUI->SetText("Cancel Move");
}

void CBrantelModView::OnUpdateCopy(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_uiEditMode == kEditCopy ? 1 : 0);
    pCmdUI->Enable(HasList(m_pGeomHlpr, KorBasisGeomHlpr::kAreas));
}

void CBrantelModView::OnUpdateCut(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_uiEditMode == kEditCut ? 1 : 0);
    pCmdUI->Enable(HasList(m_pGeomHlpr, KorBasisGeomHlpr::kAreas));
    if (m_uiEditMode == kEditCut)
        pCmdUI->SetText("Cancel Cut");
}

void CBrantelModView::OnUpdatePaste(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_uiEditMode == kEditPaste ? 1 : 0);
    pCmdUI->Enable(GetCopyList() != nullptr);
    if (m_uiEditMode == kEditPaste)
        pCmdUI->SetText("Cancel Paste");
}

void CBrantelModView::OnUpdateRegionSelection(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(HasList(m_pGeomHlpr, KorBasisGeomHlpr::kAreas));
}

void CBrantelModView::OnUpdateResultComponent(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

// ---- Mesh, results and drawing options ---------------------------------------------

void CBrantelModView::OnDeleteMesh()
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (CObList* regions = m_pGeomHlpr ? m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kAreas) : nullptr)
        for (POSITION pos = regions->GetHeadPosition(); pos;)
            if (auto* region = dynamic_cast<CSectMeshArea*>(regions->GetNext(pos)))
                region->DeleteMesh(false);
    if (doc) {
        doc->ResetViews(8);
        doc->InvalidateLists();
    }
}

void CBrantelModView::OnDeleteResults()
{
    if (CObList* regions = m_pGeomHlpr ? m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kAreas) : nullptr)
        for (POSITION pos = regions->GetHeadPosition(); pos;)
            if (auto* region = dynamic_cast<CSectMeshArea*>(regions->GetNext(pos)))
                region->DeleteResults(false, 1);
    if (CBrantelDoc* doc = GetBrantelDoc())
        doc->InvalidateLists();
}

void CBrantelModView::OnShowElementMesh()
{
    m_iViewState ^= kShowMeshBit;
    InvalidateList();
    Invalidate(FALSE);
}

void CBrantelModView::OnUpdateShowElementMesh(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_iViewState & kShowMeshBit) ? 1 : 0);
}

void CBrantelModView::OnShowElementAxes()
{
    m_iViewState ^= kMaterialAxesBit;
    InvalidateList();
    Invalidate(FALSE);
}

void CBrantelModView::OnUpdateShowElementAxes(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_iViewState & kMaterialAxesBit) ? 1 : 0);
}

// ---- Active material, keys, context menu, focus ------------------------------------

void CBrantelModView::OnActiveMaterialChange()
{
    auto* combo = dynamic_cast<CComboBox*>(CCmdTarget::GetNotifySender());
    CPlateComp* comp = GetPlateComp();
    CChildFrame* child = ChildFrame();
    if (!combo || !comp || !child)
        return;
    const int sel = combo->GetCurSel();
    if (sel < 0)
        return;
    CString text;
    combo->GetLBText(sel, text);
    CObList& materials = comp->GetMaterialList();
    for (POSITION pos = materials.GetHeadPosition(); pos;) {
        auto* material = static_cast<CMaterial*>(materials.GetNext(pos));
        if (std::strcmp(static_cast<LPCTSTR>(material->GetName()), static_cast<LPCTSTR>(text)) == 0)
            child->m_pActiveMaterial = material;
    }
}

void CBrantelModView::OnKeyUp(UINT nChar, UINT, UINT)
{
    // The key runs the command as the menu does, through the routing.
    if (nChar == VK_DELETE)
        SendMessage(WM_COMMAND, ID_DELETE_SELECTION);
    Default();
}

void CBrantelModView::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (!(nFlags & MK_LBUTTON)) {
        m_LastPoint = point;
        CMenu menu;
        if (menu.LoadMenu(IDR_MODEL_POPUPS)) {
            int index = kGeomPopup;
            if (HasList(m_pGeomHlpr, KorBasisGeomHlpr::kNodes))
                index = kNodePopup;
            else if (HasList(m_pGeomHlpr, KorBasisGeomHlpr::kEdges))
                index = kEdgePopup;
            else if (HasList(m_pGeomHlpr, KorBasisGeomHlpr::kAreas))
                index = kGraphPopup;
            if (CMenu* popup = menu.GetSubMenu(index))
                TrackViewContextMenu(*this, *popup, point);
        }
    }
    Default();
}

void CBrantelModView::OnKillFocus(CWnd*)
{
    Default();
    if (CBrantelDoc* doc = GetBrantelDoc())
        doc->UpdateStatics(false);
}

// ---- Objects -----------------------------------------------------------------------

void CBrantelModView::EditObject()
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !m_pGeomHlpr)
        return;
    if (CObList* nodes = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kNodes)) {
        if (nodes->GetCount() == 1) {
            if (auto* node = dynamic_cast<CSNode*>(nodes->GetHead()))
                doc->EditNodeInfo(node, false);
        } else {
            doc->EditNodes(nodes);
        }
    }
    if (CObList* edges = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kEdges)) {
        if (edges->GetCount() == 1) {
            if (auto* edge = dynamic_cast<CBoundary*>(edges->GetHead()))
                doc->EditEdgeInfo(edge);
        } else {
            doc->EditEdgeInfo(edges);
        }
    }
    if (CObList* regions = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kAreas)) {
        if (regions->GetCount() == 1) {
            if (auto* region = dynamic_cast<CSectPlate*>(regions->GetHead()))
                doc->EditRegionProperties(region);
        } else {
            doc->EditRegionProperties(regions);
        }
    }
}

// ---- Mouse -------------------------------------------------------------------------

void CBrantelModView::LeftButtonDblClk(unsigned flags, double x, double y, CPoint point)
{
    if (m_iTool == VIEWTOOL_POINT)
        SendMessage(WM_COMMAND, ID_EDIT_OBJECT);
    CBrantelView::LeftButtonDblClk(flags, x, y, point);
}

bool CBrantelModView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    ApplyShiftConstraint(flags, x, y);
    const bool answer = KorAreaModView::LeftButtonDown(flags, x, y, point);
    m_pFilletEdge2 = nullptr;
    CBrantelDoc* doc = GetBrantelDoc();

    if (m_uiGeomTool == kToolFillet) {
        auto* edge = dynamic_cast<CEdge*>(PickAtPixel(point, KorBasisGeomHlpr::kEdges));
        if (!m_pFilletEdge1) {
            if (edge) {
                m_pFilletEdge1 = edge;
                WritePrompt("Please select second edge\r\n ");
            }
        } else if (edge) {
            m_pFilletEdge2 = edge;
            if (m_pFilletEdge2 == m_pFilletEdge1) {
                m_pFilletEdge2 = nullptr;
            } else if (FilletEdges()) {
                m_pFilletEdge1 = m_pFilletEdge2 = nullptr;
                m_uiGeomTool = 0;
                m_iTool = VIEWTOOL_POINT;
                ResetGeomInput();
                Invalidate(FALSE);
            }
        }
    }
    if (m_iTool == VIEWTOOL_POINT) {
        BeginPress(point);
        return true;
    }
    if (m_iTool == VIEWTOOL_PAN)
        return answer;
    if (m_uiGeomTool == kToolFillet || m_uiEditMode != 0)
        return answer;
    if (!doc)
        return answer;

    doc->UpdateStatics(true);
    if (m_uiGeomTool == kToolNewNode) {
        NewNodeClick(x, y);
    } else if (m_uiGeomTool != 0) {
        const bool control = (flags & MK_CONTROL) != 0;
        const int count = m_pGeomHlpr->GetTmpNodeCount();
        const bool closing = control && m_uiGeomTool == kToolPolygon && count >= 3;
        const bool circleDone = m_uiGeomTool == kToolCircle && count >= 2;
        if (!closing && !circleDone) {
            m_dCursX = x;
            m_dCursY = y;
            double xy[2] = {x, y};
            if (!AddInputPoint(xy, false)) {
                if (control)
                    s_bSplitAtPoint = !s_bSplitAtPoint;
                doc->UpdateStatics(true);
                return answer;
            }
            doc->UpdateStatics(false);
            // The document is marked modified only when the model changes
            // (a region filed, an edge split): an abandoned tool leaves the
            // document and its results as they were.
            if (CSNode* last = m_pGeomHlpr->GetLastTmpNode()) {
                m_dRefPoint[0] = last->x;
                m_dRefPoint[1] = last->y;
            }
        }
        const int points = m_pGeomHlpr->GetTmpNodeCount();
        switch (m_uiGeomTool) {
        case kToolQuadrilateral:
            if (points == 4)
                CloseChainRegion(kToolQuadrilateral);
            break;
        case kToolTriangle:
            if (points == 3)
                CloseChainRegion(kToolTriangle);
            break;
        case kToolRectangle:
            if (control)
                s_bSplitAtPoint = !s_bSplitAtPoint;
            CreateRectangle();
            if (control)
                s_bSplitAtPoint = !s_bSplitAtPoint;
            break;
        case kToolPolygon:
            if (control && points >= 3)
                CloseChainRegion(kToolPolygon);
            else if (!control && points == 3)
                WritePrompt("To close polygon, please press left mouse-button with CTRL pressed\r\n");
            doc->UpdateStatics(false);
            return true;
        case kToolCircle:
            CreateCircle();
            break;
        case kToolDivide:
            DivideClick();
            break;
        case kToolLink:
            LinkClick();
            break;
        case kToolRingSegment:
            CreateRingSegment();
            break;
        default:
            break;
        }
    }
    doc->UpdateStatics(false);
    return answer;
}

bool CBrantelModView::MouseMove(unsigned flags, CPoint point)
{
    bool redraw = CBrantelView::MouseMove(flags, point);
    if (m_uiGeomTool != kToolRectangle)
        return redraw;
    CSNode& a = CornerMarker(0);
    CSNode& b = CornerMarker(1);
    const DWORD oldA = a.m_uiFlags, oldB = b.m_uiFlags;
    if (m_pGeomHlpr && m_pGeomHlpr->GetTmpNodeCount() > 0) {
        const CSNode* first = m_pGeomHlpr->GetFirstTmpNode();
        a.x = m_dCursX;
        a.y = first->y;
        b.x = first->x;
        b.y = m_dCursY;
        a.z = b.z = 0.0;
        IsMouseOver(&a);
        IsMouseOver(&b);
    } else {
        a.m_uiFlags = b.m_uiFlags = 0;
    }
    return redraw || a.m_uiFlags != oldA || b.m_uiFlags != oldB;
}

// ---- Drawing -----------------------------------------------------------------------

void CBrantelModView::DrawToolRubberBand()
{
    // The smoothing and the line width are the band's own: the grid and
    // the model's next frame are drawn as without them.
    glPushAttrib(GL_ENABLE_BIT | GL_HINT_BIT | GL_LINE_BIT);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glLineWidth(static_cast<GLfloat>(MEDIUM_EDGE));
    CMaterial* material = ActiveMaterial();
    if (m_uiGeomTool == kToolDivide || !material)
        glColor4fv(glcInvBckGrnd);
    else
        glColor4f(material->GetRed(), material->GetGreen(), material->GetBlue(), 1.0f);
    double cursor[2] = {m_dCursX, m_dCursY};
    if (auto* helper = dynamic_cast<KorAreaGeomHlpr*>(m_pGeomHlpr))
        helper->DrawTmpNodeEdges(m_uiGeomTool, cursor);
    glPopAttrib();
}

void CBrantelModView::InvalidateList()
{
    ++m_uiModelGeneration;
    m_bModelPicture = false;
    CBrantelView::InvalidateList();
}

CBrantelModView::ModelPictureKey CBrantelModView::ModelKey() const
{
    ModelPictureKey key;
    key.centre[0] = m_dCentX;
    key.centre[1] = m_dCentY;
    key.scale = m_dScale;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    key.size[0] = viewport[2];
    key.size[1] = viewport[3];
    key.list = m_pListIds ? m_pListIds[0] : 0;
    key.generation = m_uiModelGeneration;
    key.solid = m_bSolid;
    key.viewState = m_iViewState;
    std::copy(fBckClrMdView, fBckClrMdView + 4, key.background);
    return key;
}

void CBrantelModView::DrawModelUnderBand()
{
    // Only the background is drawn before the model, so the picture holds
    // both; the grid, the axes and everything dynamic come after it.
    const bool listValid = m_pListValid && m_pListValid[0];
    ModelPictureKey key = ModelKey();
    const std::size_t bytes = static_cast<std::size_t>(std::max(key.size[0], 0)) *
                              static_cast<std::size_t>(std::max(key.size[1], 0)) * 4;
    if (m_bModelPicture && listValid && key == m_ModelPictureKey && m_ModelPicture.size() == bytes &&
        m_ModelDepths.size() * 4 == bytes && bytes) {
        glPushAttrib(GL_ENABLE_BIT | GL_PIXEL_MODE_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, key.size[0], 0.0, key.size[1], -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glRasterPos2i(0, 0);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        // The depths first, so that what follows is hidden where the model
        // hid it; then the colours.
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glDepthMask(GL_TRUE);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDrawPixels(key.size[0], key.size[1], GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, m_ModelDepths.data());
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        // The colours go in as they were read: no blending or other
        // fragment work on them.
        for (GLenum cap : {GL_DEPTH_TEST, GL_BLEND, GL_ALPHA_TEST, GL_DITHER, GL_FOG, GL_TEXTURE_2D})
            glDisable(cap);
        glDrawPixels(key.size[0], key.size[1], GL_RGBA, GL_UNSIGNED_BYTE, m_ModelPicture.data());
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopAttrib();
        // The state the model drawing leaves for what follows.
        glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        COGLRenderer::GLEnableDepthTest(GL_LEQUAL);
        return;
    }
    DrawModelList();
    m_bModelPicture = false;
    if (!bytes)
        return;
    key = ModelKey(); // the list may have been made just now
    m_ModelPicture.resize(bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, key.size[0], key.size[1], GL_RGBA, GL_UNSIGNED_BYTE, m_ModelPicture.data());
    m_ModelDepths.resize(bytes / 4);
    glReadPixels(0, 0, key.size[0], key.size[1], GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, m_ModelDepths.data());
    m_ModelPictureKey = key;
    m_bModelPicture = glGetError() == GL_NO_ERROR;
}

bool CBrantelModView::DrawDynamicScene()
{
    if (m_uiGeomTool != 0 || m_uiEditMode != 0)
        DrawModelUnderBand();
    else
        DrawModelList();
    if (m_uiGeomTool != 0)
        DrawToolRubberBand();
    if (m_uiEditMode != 0) {
        glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        const CSNode* start = m_uiEditMode == kEditPaste ? GetTmpNode(2) : GetTmpNode(0);
        if (start) {
            const double endX = m_Cursor.m_uiFlags ? m_Cursor.x : m_dCursX;
            const double endY = m_Cursor.m_uiFlags ? m_Cursor.y : m_dCursY;
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0x1111);
            glColor3f(0.0f, 1.0f, 0.0f);
            glBegin(GL_LINES);
            glVertex3d(start->x, start->y, 0.0);
            glVertex3d(endX, endY, 0.0);
            glEnd();
            glDisable(GL_LINE_STIPPLE);
            if (m_uiEditMode == kEditPaste && GetCopyList()) {
                glLineWidth(static_cast<GLfloat>(MEDIUM_EDGE));
                const double dx = endX - start->x, dy = endY - start->y;
                CObList* copies = GetCopyList();
                for (POSITION pos = copies->GetHeadPosition(); pos;) {
                    auto* region = dynamic_cast<CSectArea*>(copies->GetNext(pos));
                    if (!region)
                        continue;
                    region->Translate(dx, dy, 0.0, true);
                    region->DrawStippleGL();
                    region->Translate(-dx, -dy, 0.0, true);
                }
            }
        }
        if (m_uiEditMode == kEditMove)
            glLineWidth(static_cast<GLfloat>(MEDIUM_EDGE));
    }
    if (m_uiGeomTool != 0) {
        for (int i = 0; i < 2; ++i) {
            const CSNode& marker = CornerMarker(i);
            if (!marker.m_uiFlags)
                continue;
            glPointSize(static_cast<GLfloat>(LARGE_POINT));
            glBegin(GL_POINTS);
            if (marker.m_uiFlags == 1)
                glColor3f(0.0f, 1.0f, 0.0f);
            glVertex3d(marker.x, marker.y, 0.0);
            glEnd();
            glPointSize(static_cast<GLfloat>(MEDIUM_S_POINT));
            glColor4fv(glcInvBckGrnd);
            glBegin(GL_POINTS);
            glVertex3d(marker.x, marker.y, 0.0);
            glEnd();
        }
    }
    return KorAreaModView::DrawDynamicScene();
}

// ---- Typed points ------------------------------------------------------------------

int CBrantelModView::EnterPoint(double x, double y)
{
    m_dCursX = x;
    m_dCursY = y;
    double px = x, py = y;
    GetScreenCoord(px, py);
    const CPoint pixel(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py)));
    LeftButtonDown(0, x, y, pixel);
    Kor2DModView::LeftButtonUp(0, x, y, pixel);
    EndPress(pixel);
    ResetEdit();
    CBrantelDoc* doc = GetBrantelDoc();
    if (doc)
        doc->UpdateStatics(false);
    InvalidateList();
    return 1;
}

int CBrantelModView::EnterRelPoint(double* dx, double* dy)
{
    double ref[2];
    GetRefPoint(ref);
    EnterPoint(ref[0] + *dx, ref[1] + *dy);
    if (CBrantelDoc* doc = GetBrantelDoc())
        doc->UpdateStatics(false);
    return 1;
}

// ---- Point input -------------------------------------------------------------------

CObject* CBrantelModView::PickAtPixel(CPoint point, UINT type, float tolerance)
{
    return ObjectOfName(PickObject(point.x, point.y, type, tolerance, 0xFFFFFFFF, 0, nullptr));
}

CObject* CBrantelModView::PickAt(const double* xy, UINT type, float tolerance)
{
    double px = xy[0], py = xy[1];
    GetScreenCoord(px, py);
    return PickAtPixel(CPoint(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py))), type,
                       tolerance);
}

CSNode* CBrantelModView::GetInputNode(double* xy, bool allowNew)
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !m_pGeomHlpr)
        return nullptr;
    const bool firstPoint = m_pGeomHlpr->GetTmpNodeCount() == 0;
    m_bSplitByInput = false;
    if (auto* node = dynamic_cast<CSNode*>(PickAt(xy, KorBasisGeomHlpr::kNodes))) {
        if (firstPoint)
            doc->UpdateUndo(true);
        node->m_uiFlags = 0;
        return node;
    }
    if (!allowNew)
        return nullptr;
    auto* edge = dynamic_cast<CEdge*>(PickAt(xy, KorBasisGeomHlpr::kEdges));
    if (edge && !edge->IsKindOf(RUNTIME_CLASS(CNodeLink))) {
        CSNode* first = edge->GetNode1();
        CSNode* second = edge->GetNode2();
        if (firstPoint)
            doc->UpdateUndo(true);
        else if (ConsecutiveInChain(m_pGeomHlpr->GetTmpNodeList(), first, second)) {
            WriteLogLine("The point lies on a line just drawn: please choose another point\r\n");
            return nullptr;
        }
        auto* node = new CBoundNode(xy[0], xy[1], 0.0, nullptr, 1);
        edge->GetPerpendicular2D(*node);
        if (s_bSplitAtPoint) {
            SplitEdgeAt(edge, node);
            m_bSplitByInput = true;
        }
        Invalidate(TRUE);
        return node;
    }
    if (firstPoint)
        doc->UpdateUndo(true);
    return new CBoundNode(xy[0], xy[1], 0.0, nullptr, 1);
}

void CBrantelModView::DiscardInputNode(CSNode* node, bool giveBackId)
{
    if (node->GetGraphCount() == 0) {
        delete node;
    } else if (node->m_uiFlags == 1) {
        if (CSectComp* comp = GetBrantelDoc() ? GetBrantelDoc()->m_pSectComp : nullptr)
            comp->RemoveNode(node);
        delete node;
    } else {
        return;
    }
    if (giveBackId)
        --CSNode::lIDnode;
}

bool CBrantelModView::AddInputPoint(double* xy, bool fromTool)
{
    CBrantelDoc* doc = GetBrantelDoc();
    CSectComp* comp = doc ? doc->m_pSectComp : nullptr;
    if (!comp || !m_pGeomHlpr)
        return false;
    if (!m_pBoundingRegion && m_uiGeomTool != kToolDivide && m_uiGeomTool != kToolLink) {
        if (auto* region = dynamic_cast<CSectPlate*>(PickAt(xy, KorBasisGeomHlpr::kAreas))) {
            m_pBoundingRegion = region;
            WriteLogLine("You have selected region " + region->GetName() + " as bounding region\r\n");
        }
    }
    CSNode* node = GetInputNode(xy, true);
    if (!node && m_uiGeomTool == kToolCircle && m_pGeomHlpr->GetTmpNodeCount() == 0) {
        if (auto* region = dynamic_cast<CSectPlate*>(PickAt(xy, KorBasisGeomHlpr::kAreas))) {
            m_pBoundingRegion = region;
            node = GetInputNode(xy, true);
            m_pBoundingRegion = nullptr;
        }
    }
    if (!node)
        return false;
    const bool split = m_bSplitByInput;
    // A point that splits an edge changes the model once it is taken.
    const auto taken = [&](bool ok) {
        if (ok && split)
            doc->SetModifiedFlag(TRUE);
        return ok;
    };
    CObList* chain = m_pGeomHlpr->GetTmpNodeList();
    if (!chain || chain->IsEmpty() || m_uiGeomTool == kToolLink)
        return taken(m_pGeomHlpr->AddTmpNode(node));
    if (chain->Find(node)) {
        WriteLogLine(m_uiGeomTool == kToolCircle && chain->GetCount() == 1
                         ? "The radius point lies on the centre: please choose another point\r\n"
                         : "This point is taken already: please choose another point\r\n");
        return false;
    }
    if (m_uiGeomTool == kToolRectangle && !fromTool) {
        if (!m_pGeomHlpr->AddTmpNode(node))
            return false;
        SetMaxMin(m_dCursX, m_dCursY, 1);
        return taken(true);
    }
    CSNode* last = m_pGeomHlpr->GetLastTmpNode();
    CEdge* edge = CGraph::GetComEdge(last, node);
    const bool made = edge == nullptr;
    if (made)
        edge = m_pGeomHlpr->NewEdge(last, node);
    const bool crossesModel = m_uiGeomTool != kToolCircle && comp->Intersection(edge, true, nullptr) == 1;
    bool refused = crossesModel;
    const std::vector<CSNode*> nodes = ChainNodes(chain);
    for (std::size_t i = 0; !refused && i + 1 < nodes.size(); ++i)
        if (CEdge* chainEdge = CGraph::GetComEdge(nodes[i], nodes[i + 1]))
            refused = chainEdge != edge && edge->Intersection2D(chainEdge, nullptr) == 1;
    if (refused) {
        WriteLogLine(crossesModel ? "The line to this point crosses the model: please choose another point\r\n"
                                  : "The line to this point crosses a line just drawn: please choose another point\r\n");
        if (node->GetGraphCount() != 0 && node->m_uiFlags != 1 && made)
            delete edge;
        else
            DiscardInputNode(node, false);
        Invalidate(FALSE);
        return false;
    }
    if (!m_pGeomHlpr->AddTmpNode(node))
        return false;
    SetMaxMin(m_dCursX, m_dCursY, 1);
    return taken(true);
}

// ---- Region tools ------------------------------------------------------------------

bool CBrantelModView::CloseChainRegion(UINT tool)
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !m_pGeomHlpr)
        return false;
    if (!m_pGeomHlpr->Cycle(doc->m_pSectComp)) {
        WriteLogLine(kNotClosed);
        return false;
    }
    InvalidateList();
    const std::vector<CSNode*> n = ChainNodes(m_pGeomHlpr->GetTmpNodeList());
    CMaterial* material = ActiveMaterial();
    CSectPlate* region = nullptr;
    if (tool == kToolQuadrilateral) {
        region = new CSectPlate(n[0], n[1], n[2], n[3], material);
    } else if (tool == kToolTriangle) {
        region = new CSectPlate(n[0], n[1], n[2], material);
    } else {
        CObList nodes;
        for (CSNode* node : n)
            nodes.AddTail(node);
        region = new CSectPlate(&nodes, material);
    }
    region->SetThickness(ActiveThickness());
    FixTmpChainEdges();
    InsertRegion(region, true);
    ResetGeomInput();
    m_uiGeomTool = 0;
    m_iTool = VIEWTOOL_POINT;
    return true;
}

void CBrantelModView::CreateRectangle()
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !m_pGeomHlpr)
        return;
    const int count = m_pGeomHlpr->GetTmpNodeCount();
    if (count < 2)
        return;
    if (count > 2) {
        ResetGeomInput();
        return;
    }
    CObList* chain = m_pGeomHlpr->GetTmpNodeList();
    CSNode* p1 = m_pGeomHlpr->GetFirstTmpNode();
    CSNode* p2 = static_cast<CSNode*>(chain->RemoveTail());
    const double x2 = p2->x, y2 = p2->y;
    // The opposite corner stands only for its coordinates: its node and its
    // identifier are given back.
    DiscardInputNode(p2, true);
    double corner1[2] = {x2, p1->y};
    double cursor[2] = {m_dCursX, m_dCursY};
    double corner3[2] = {p1->x, y2};
    const bool added = AddInputPoint(corner1, true) && AddInputPoint(cursor, true) && AddInputPoint(corner3, true);
    const bool closed = added && m_pGeomHlpr->Cycle(doc->m_pSectComp);
    if (closed) {
        const std::vector<CSNode*> n = ChainNodes(m_pGeomHlpr->GetTmpNodeList());
        auto* region = new CSectPlate(n[3], n[2], n[1], n[0], ActiveMaterial());
        region->SetThickness(ActiveThickness());
        FixTmpChainEdges();
        InsertRegion(region, true);
        InvalidateList();
        Invalidate(FALSE);
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
        return;
    }
    if (added) {
        Invalidate(FALSE);
        WriteLogLine(kNotClosed);
    }
    // The first corner waits for another opposite corner.
    chain = m_pGeomHlpr->GetTmpNodeList();
    if (POSITION pos = chain ? chain->Find(p1) : nullptr)
        chain->RemoveAt(pos);
    ResetGeomInput();
    m_pGeomHlpr->AddTmpNode(p1);
}

void CBrantelModView::CreateCircle()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CSectComp* comp = doc ? doc->m_pSectComp : nullptr;
    if (!comp || !m_pGeomHlpr || m_pGeomHlpr->GetTmpNodeCount() < 2)
        return;
    CSNode* centre = m_pGeomHlpr->GetFirstTmpNode();
    CSNode* radius = m_pGeomHlpr->GetLastTmpNode();
    const double tolerance = std::max(std::fabs(radius->x), std::fabs(radius->y)) * 2.220446049250313e-16;
    if (centre->Compare(radius, tolerance)) {
        const double f = LengthFactor();
        const std::string text = AfxFormat(
            "The point you have chosen to indicate the radius is too close to the center.\n"
            "The current center is located at ( %.3e,  %.3e ) %s\nDo you wish to continue with this location?",
            centre->x * f, centre->y * f, static_cast<LPCTSTR>(LengthUnit()));
        if (AfxMessageBox(text.c_str(), MB_OKCANCEL) == IDOK) {
            CObList* chain = m_pGeomHlpr->GetTmpNodeList();
            chain->RemoveHead();
            ResetGeomInput();
            m_pGeomHlpr->AddTmpNode(centre);
        } else {
            ResetGeomInput();
        }
        return;
    }
    CObList overlaps;
    const auto finish = [&] {
        ResetGeomInput();
        comp->FixEdges(&overlaps);
        Invalidate(FALSE);
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
    };
    KorDlgCircle dialog(0, nullptr);
    if (dialog.DoModal() != IDOK) {
        finish();
        return;
    }
    // Approximating the area or the arc length moves the radius point: a
    // point of the model asks first.
    const bool inModel = radius->m_uiFlags != 1 || radius->GetGraphCount() != 0;
    if (dialog.m_iApprox != 0 && inModel &&
        AfxMessageBox("This action will distort the model\nContinue?", MB_OKCANCEL) != IDOK) {
        finish();
        return;
    }
    auto* region = new CSectPlate(centre, radius, ActiveMaterial(), static_cast<int>(dialog.m_nSegments),
                                  dialog.m_iApprox);
    region->SetThickness(ActiveThickness());
    ResetGeomInput();
    const std::vector<CSNode*> ring = ChainNodes(region);
    for (std::size_t i = 0; i < ring.size(); ++i) {
        CEdge* edge = CGraph::GetComEdge(ring[i], ring[(i + 1) % ring.size()]);
        if (!edge)
            continue;
        const short result = comp->Intersection(edge, true, nullptr);
        if (result == 1) {
            ResetGeomInput();
            delete region;
            Invalidate(FALSE);
            return;
        }
        if (result == 2 && !overlaps.Find(edge))
            overlaps.AddTail(edge);
    }
    comp->FixEdges(&overlaps);
    overlaps.RemoveAll();
    InsertRegion(region, true);
    finish();
}

void CBrantelModView::FixTmpChainEdges()
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !m_pGeomHlpr || m_pGeomHlpr->GetTmpNodeCount() == 0)
        return;
    const std::vector<CSNode*> nodes = ChainNodes(m_pGeomHlpr->GetTmpNodeList());
    ResetGeomInput();
    RemoveSelected(nullptr);
    CObList edges;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (i + 1 == nodes.size() && nodes.size() < 2)
            break;
        if (CEdge* edge = CGraph::GetComEdge(nodes[i], nodes[(i + 1) % nodes.size()]))
            edges.AddTail(edge);
    }
    if (doc->m_pSectComp)
        doc->m_pSectComp->FixEdges(&edges);
}

void CBrantelModView::InsertRegion(CSectArea* region, bool fixModel)
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    if (!doc || !comp || !region)
        return;
    if (m_pBoundingRegion) {
        m_pBoundingRegion->InsertSubSect(region);
        comp->UpdateRegionNesting(region);
        region->Fix(region->GetOuterSect() ? nullptr : static_cast<CObList*>(comp));
    } else {
        comp->AddTail(region);
        comp->UpdateRegionNesting(region);
        region->Fix(static_cast<CObList*>(comp));
    }
    m_pBoundingRegion = nullptr;
    if (fixModel)
        comp->Fix();
    InvalidateList();
    // A new region is a change of the model (and drops the old results).
    doc->SetModifiedFlag(TRUE);
}

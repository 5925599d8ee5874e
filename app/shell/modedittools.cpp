// The editing tools of the modelling view (new node, link, divide, fillet,
// union, flip, delete), move, copy, cut and paste, and the ring-segment and
// load-group generators.
//
// Every change of the model takes one undo snapshot and marks the document
// modified when it is done. A change that can be refused is tested first
// (crossings of a fillet arc, a move or a paste): a refused change takes no
// snapshot, so that Undo still restores the state before the previous edit.
#include "app/shell/brantelmodview.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
#include "app/shell/filletarc.h"
#include "app/shell/loadgroup.h"
#include "app/shell/modcopy.h"
#include "app/shell/regiongen.h"
#include "dialogs/ringsegpage.h"
#include "femodel/strelna.h"
#include "framework/geomhlpr.h"
#include "framework/inputdialogs.h"
#include "platform/dimvor/dimvor.h"

namespace
{

constexpr double kPi = 3.141592653589793;

// Why a click of the divide or link tool was not taken.
constexpr const char* kNoModelNode = "The point is no node of the model: please select a node\r\n";

bool HasSelection(KorBasisGeomHlpr* helper, int type)
{
    return helper && helper->GetSelList(type) != nullptr;
}

bool AnythingSelected(KorBasisGeomHlpr* helper)
{
    return HasSelection(helper, KorBasisGeomHlpr::kAreas) ||
           HasSelection(helper, KorBasisGeomHlpr::kNodes) ||
           HasSelection(helper, KorBasisGeomHlpr::kEdges);
}

// The graphs both nodes belong to, as regions.
std::vector<CSectArea*> SharedRegions(CSNode* a, CSNode* b)
{
    std::vector<CSectArea*> regions;
    if (CObList* graphs = a->GetGraphList())
        for (POSITION pos = graphs->GetHeadPosition(); pos;) {
            CObject* graph = graphs->GetNext(pos);
            auto* region = dynamic_cast<CSectArea*>(graph);
            if (region && b->IsGraphInList(graph) >= 0)
                regions.push_back(region);
        }
    return regions;
}

// Deletes the nodes of the list and the list.
void DeleteNodeList(CObList* nodes)
{
    if (!nodes)
        return;
    while (!nodes->IsEmpty())
        delete nodes->RemoveHead();
    delete nodes;
}

} // namespace

// ---- New node, link, divide ----------------------------------------------------------

void CBrantelModView::NewNodeClick(double x, double y)
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !m_pGeomHlpr)
        return;
    const double xy[2] = {x, y};
    if (dynamic_cast<CSNode*>(PickAt(xy, KorBasisGeomHlpr::kNodes)))
        return;
    auto* edge = dynamic_cast<CEdge*>(PickAt(xy, KorBasisGeomHlpr::kEdges));
    // Empty space (or a node link, which has no place for a node) keeps the
    // tool waiting.
    if (!edge || edge->IsKindOf(RUNTIME_CLASS(CNodeLink)))
        return;
    InvalidateList();
    doc->UpdateUndo(true);
    auto* node = new CBoundNode(x, y, 0.0, nullptr, 0);
    edge->GetPerpendicular2D(*node);
    SplitEdgeAt(edge, node);
    // Only an inserted node changes the model (and drops its results).
    doc->SetModifiedFlag(TRUE);
    m_uiGeomTool = 0;
    m_iTool = VIEWTOOL_POINT;
    Invalidate(FALSE);
}

void CBrantelModView::SplitEdgeAt(CEdge* edge, CSNode* node)
{
    CSNode* first = edge->GetNode1();
    CSNode* second = edge->GetNode2();
    if (m_pGeomHlpr->RemoveSelected(edge)) {
        CEdge* part1 = nullptr;
        CEdge* part2 = nullptr;
        edge->Split(node, part1, part2, nullptr);
        AddSelect(part1, KorBasisGeomHlpr::kEdges, true);
        AddSelect(part2, KorBasisGeomHlpr::kEdges, true);
    } else {
        edge->Split(node);
    }
    if (auto* region = first ? dynamic_cast<CSectArea*>(first->GetPrimaryGraph()) : nullptr) {
        CObList chain;
        chain.AddTail(node);
        region->AddChain(first, &chain, second);
    }
}

bool CBrantelModView::TwoChainNodes(CSNode*& first, CSNode*& second)
{
    const int count = m_pGeomHlpr ? m_pGeomHlpr->GetTmpNodeCount() : 0;
    if (count == 1 && !m_pGeomHlpr->GetFirstTmpNode()->IsConnected()) {
        ResetGeomInput();
        WriteLogLine(kNoModelNode);
    }
    if (count < 2)
        return false;
    first = m_pGeomHlpr->GetFirstTmpNode();
    second = m_pGeomHlpr->GetLastTmpNode();
    if (second->GetGraphCount() == 0) {
        // A point off the model: dropped, the tool waits for another.
        m_pGeomHlpr->GetTmpNodeList()->RemoveTail();
        delete second;
        WriteLogLine(kNoModelNode);
        return false;
    }
    return true;
}

void CBrantelModView::LinkClick()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CSNode* first = nullptr;
    CSNode* second = nullptr;
    if (!doc || !TwoChainNodes(first, second))
        return;
    if (!CGraph::GetComEdge(first, second)) {
        new CDOFLink(first, second);
        doc->SetModifiedFlag(TRUE);
        InvalidateList();
    } else {
        WriteLogLine("The two nodes are joined by an edge already: no link is made\r\n");
    }
    RemoveSelected(nullptr);
    ResetGeomInput();
    m_uiGeomTool = 0;
    m_iTool = VIEWTOOL_POINT;
    Invalidate(FALSE);
}

void CBrantelModView::OnDivide()
{
    if (m_uiGeomTool == kToolDivide) {
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
        ClearPrompt(true);
    } else {
        WritePrompt(" Please select two nodes\r\n ");
        m_uiGeomTool = kToolDivide;
        m_uiLastGeomTool = kToolDivide;
        m_iTool = VIEWTOOL_NORMAL;
    }
    ResetGeomInput();
    Invalidate(FALSE);
}

void CBrantelModView::DivideClick()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    if (!doc || !comp || !m_pGeomHlpr)
        return;
    CSNode* n1 = nullptr;
    CSNode* n2 = nullptr;
    if (!TwoChainNodes(n1, n2))
        return;
    InvalidateList();
    auto finish = [&] {
        RemoveSelected(nullptr);
        ResetGeomInput();
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
        Invalidate(FALSE);
    };
    CEdge* line = CGraph::GetComEdge(n1, n2);
    CEdge* made = nullptr;
    if (!line)
        line = made = new CBoundary(n1, n2);
    if (comp->Intersection(line, true, nullptr) != 0) {
        delete made;
        finish();
        WriteLogLine("The division line crosses or runs along the model: nothing is divided\r\n");
        return;
    }
    const std::vector<CSectArea*> shared = SharedRegions(n1, n2);
    if (shared.empty()) {
        // Nothing to divide between these two nodes: the input is cleared
        // and the tool waits for two other nodes.
        delete made;
        RemoveSelected(nullptr);
        ResetGeomInput();
        Invalidate(FALSE);
        WriteLogLine("The two nodes have no region in common: please select two others\r\n");
        return;
    }
    CSectArea* divided = nullptr;
    const double mid[2] = {0.5 * (n1->x + n2->x), 0.5 * (n1->y + n2->y)};
    auto* picked = dynamic_cast<CSectArea*>(PickAt(mid, KorBasisGeomHlpr::kAreas, 0.1f));
    for (CSectArea* region : shared)
        if (region == picked)
            divided = region;
    CSection* part = divided ? divided->Divide(n1, nullptr, n2) : nullptr;
    if (!part) {
        // No division: the line drawn for it does not stay in the model.
        delete made;
        finish();
        WriteLogLine("The line does not run inside the region: nothing is divided\r\n");
        return;
    }
    if (!divided->GetOuterSect())
        comp->AddTail(part);
    // Divide itself hands the holes to the half that holds them.
    comp->Fix();
    doc->SetModifiedFlag(TRUE);
    finish();
}

// ---- Fillet -------------------------------------------------------------------------

void CBrantelModView::OnFillet()
{
    m_pFilletEdge1 = m_pFilletEdge2 = nullptr;
    if (m_uiGeomTool != kToolFillet) {
        WritePrompt("Please select first edge\r\n ");
        m_uiGeomTool = kToolFillet;
        m_uiLastGeomTool = kToolFillet;
        m_iTool = VIEWTOOL_NORMAL;
    } else {
        m_uiGeomTool = 0;
        m_iTool = VIEWTOOL_POINT;
        ClearPrompt(true);
    }
    ResetGeomInput();
    ResetEdit();
    Invalidate(FALSE);
}

bool CBrantelModView::FilletEdges()
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !m_pFilletEdge1 || !m_pFilletEdge2)
        return true;
    RemoveSelected(nullptr);
    const double factor = LengthFactor();
    KorDlgFillet dialog(4, nullptr);
    dialog.m_strUnit = "(" + LengthUnit() + ")";
    double radius = 0.0;
    do {
        dialog.m_dRadius = KorDlgFillet::m_dStatFilletRad;
        if (dialog.DoModal() != IDOK)
            return true;
        radius = dialog.m_dRadius / factor;
        KorDlgFillet::m_dStatFilletRad = dialog.m_dRadius;
    } while (!(radius > 0.0));
    KorDlgFillet::m_dStatNumEdes = static_cast<int>(dialog.m_nEdges);
    CObList* arc = nullptr;
    CSNode* corner = nullptr;
    const int result =
        CGraph::PreFilletEdges(m_pFilletEdge1, m_pFilletEdge2, static_cast<int>(dialog.m_nEdges),
                               dialog.m_iApprox < 0 ? 0 : dialog.m_iApprox, radius, arc, corner);
    InvalidateList();
    const struct {
        int code;
        const char* message;
        bool log;
        bool clearFirst;
    } failures[] = {
        {-1, "Edges must be connected", false, false},
        {-2, "Can't fillet edges that meets in a branching node", false, true},
        {-3, "An internal error has occurred, please try again", true, true},
        {-4, "The specified radius is too large, please try again", true, true},
        {-5, "Edges can't be parallel", true, true},
    };
    if (result == 1)
        return BuildFillet(corner, arc, dialog.m_bTaper == 1);
    for (const auto& f : failures)
        if (f.code == result) {
            AfxMessageBox(f.message, MB_OK);
            if (f.log)
                WritePrompt("Please select first edge\r\n ");
            m_pFilletEdge2 = nullptr;
            if (f.clearFirst)
                m_pFilletEdge1 = nullptr;
        }
    return false;
}

bool CBrantelModView::BuildFillet(CSNode* corner, CObList* arcNodes, bool taper)
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    if (!doc || !comp) {
        DeleteNodeList(arcNodes);
        return false;
    }
    // The snapshot is taken only once the arc is known to fit.
    if (!BuildFilletArc(*comp, m_pFilletEdge1, m_pFilletEdge2, corner, arcNodes, taper,
                        [doc] { doc->UpdateUndo(true); }))
        return false;
    InvalidateList();
    doc->SetModifiedFlag(TRUE);
    return true;
}

// ---- Union, flip, delete ---------------------------------------------------------------

void CBrantelModView::OnUnion()
{
    CBrantelDoc* doc = GetBrantelDoc();
    auto* helper = dynamic_cast<KorAreaGeomHlpr*>(m_pGeomHlpr);
    if (!doc || !helper || !doc->m_pSectComp)
        return;
    CWaitCursor wait;
    doc->UpdateUndo(true);
    if (!helper->UnionSelected(doc->m_pSectComp)) {
        doc->UpdateUndo(false);
        return;
    }
    COGL2DView::LeftButtonUp(0, 0.0, 0.0, CPoint(0, 0));
    doc->SetModifiedFlag(TRUE);
    InvalidateList();
    Invalidate(TRUE);
}

namespace
{
void Flip(CBrantelModView& view, unsigned axis)
{
    CBrantelDoc* doc = view.GetBrantelDoc();
    CSectComp* comp = doc ? doc->m_pSectComp : nullptr;
    if (!comp || comp->GetCount() == 0)
        return;
    doc->UpdateUndo(true);
    comp->Rotate(kPi, 0.0, 0.0, axis, true);
    doc->SetModifiedFlag(TRUE);
    view.InvalidateList();
    view.Invalidate(TRUE);
}
} // namespace

void CBrantelModView::OnFlipHorizontal()
{
    Flip(*this, 1);
}

void CBrantelModView::OnFlipVertical()
{
    Flip(*this, 0);
}

void CBrantelModView::OnDeleteSelection()
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc)
        return;
    if (AnythingSelected(m_pGeomHlpr) && doc->m_pSectComp) {
        doc->UpdateUndo(true);
        if (m_pGeomHlpr->DeleteSelection(doc->m_pSectComp))
            doc->SetModifiedFlag(TRUE);
        else
            doc->UpdateUndo(false);
    }
    ResetEdit();
    doc->UpdateStatics(false);
    InvalidateList();
    Invalidate(TRUE);
}

// ---- Move, copy, cut, paste ------------------------------------------------------------

void CBrantelModView::OnMoveSelection()
{
    m_uiGeomTool = 0;
    if (m_uiEditMode == kEditMove) {
        ResetEdit();
        m_iTool = VIEWTOOL_POINT;
        return;
    }
    if (!AnythingSelected(m_pGeomHlpr)) {
        WriteLogLine("Nothing selected\r\n");
        return;
    }
    WritePrompt("Select base point\r\n");
    ResetGeomInput();
    m_iTool = VIEWTOOL_NORMAL;
    m_uiEditMode = kEditMove;
}

void CBrantelModView::OnCopy()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    ResetGeomInput();
    m_uiGeomTool = 0;
    DeleteCopyList();
    if (!doc || !comp)
        return;
    doc->UpdateStatics(true);
    if (m_uiEditMode == kEditCopy || !HasSelection(m_pGeomHlpr, KorBasisGeomHlpr::kAreas)) {
        m_iTool = VIEWTOOL_POINT;
        m_uiEditMode = 0;
        doc->UpdateStatics(false);
        return;
    }
    // The copies are made without meshes: the source keeps its mesh and
    // results, and nothing in it changes.
    m_iTool = VIEWTOOL_NORMAL;
    m_uiEditMode = kEditCopy;
    CObList* copies = NewCopyList();
    m_pGeomHlpr->CopySelSectList(copies);
    doc->UpdateStatics(true);
    CopyRegionMaterials(*copies, *GetMaterialCopyList(), comp->GetMaterialList());
    WritePrompt("Select base point\r\n");
    doc->UpdateStatics(false);
}

void CBrantelModView::OnCut()
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (m_uiEditMode == kEditCut) {
        ResetEdit();
    } else {
        m_uiEditMode = 0;
        OnCopy();
        if (m_uiEditMode == kEditCopy)
            m_uiEditMode = kEditCut;
    }
    if (doc)
        doc->UpdateStatics(false);
}

void CBrantelModView::OnPaste()
{
    CBrantelDoc* doc = GetBrantelDoc();
    m_uiGeomTool = 0;
    if (m_uiEditMode == kEditPaste) {
        ResetEdit();
        ResetGeomInput();
        m_uiEditMode = 0;
        m_iTool = VIEWTOOL_POINT;
    } else if (GetCopyList() && GetTmpNode(2)) {
        ResetGeomInput();
        m_iTool = VIEWTOOL_NORMAL;
        m_uiEditMode = kEditPaste;
        WritePrompt("Insert base point\r\n");
    } else {
        WriteLogLine("Nothing to paste\r\n");
    }
    if (doc)
        doc->UpdateStatics(false);
    Invalidate(TRUE);
}

bool CBrantelModView::EditTool()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    CSNode* first = GetTmpNode(0);
    if (!doc || !comp || !first || !m_pGeomHlpr)
        return false;
    switch (m_uiEditMode) {
    case kEditCopy:
    case kEditCut: {
        const bool cut = m_uiEditMode == kEditCut;
        SetTmpNode(2, first->Copy(true));
        SetTmpNode(0, nullptr);
        WriteLogLine("Base point selected\r\n");
        if (!cut) {
            m_pGeomHlpr->RemoveSelected(nullptr);
            ResetGeomInput();
            ResetEdit();
            return true;
        }
        ResetEdit();
        if (HasSelection(m_pGeomHlpr, KorBasisGeomHlpr::kAreas)) {
            // A cut is an edit like any other: Undo brings the regions back.
            doc->UpdateUndo(true);
            if (m_pGeomHlpr->DeleteSelection(comp))
                doc->SetModifiedFlag(TRUE);
            else
                doc->UpdateUndo(false);
        }
        ResetGeomInput();
        InvalidateList();
        Invalidate(TRUE);
        return true;
    }
    case kEditMove: {
        CSNode* second = GetTmpNode(1);
        if (!second) {
            WritePrompt("Insert base point\r\n");
            return true;
        }
        CObList nodes;
        if (CObList* selected = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kNodes))
            nodes.AddTail(selected);
        else if (HasSelection(m_pGeomHlpr, KorBasisGeomHlpr::kEdges))
            m_pGeomHlpr->GetSelEdgeNodes(nodes);
        else if (CObList* areas = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kAreas))
            comp->GetNodeList(areas, &nodes);
        if (nodes.IsEmpty())
            return false;
        double from[2] = {first->x, first->y};
        double to[2] = {second->x, second->y};
        if (MoveNodes(from, to, &nodes, 2)) {
            WriteLogLine("Selected elements are moved\r\n");
            doc->SetModifiedFlag(TRUE);
        } else {
            WriteLogLine("Selected elements are not moved due to intersection\r\n");
        }
        ResetEdit();
        CObList graphs;
        CGraph::GetGraphList(graphs, nodes);
        for (POSITION pos = graphs.GetHeadPosition(); pos;)
            if (auto* region = dynamic_cast<CSectPlate*>(graphs.GetNext(pos)))
                comp->UpdateRegionNesting(region);
        InvalidateList();
        Invalidate(FALSE);
        return true;
    }
    case kEditPaste:
        if (GetCopyList() && GetTmpNode(2))
            return PasteCopy(GetCopyList());
        return false;
    default:
        return false;
    }
}

bool CBrantelModView::MoveNodes(double* from, double* to, CObList* nodes, int undoMode)
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc || !doc->m_pSectComp || !nodes)
        return false;
    CWaitCursor wait;
    CObList overlaps;
    // The snapshot sees the nodes in their old places, and a refused move
    // takes none.
    const bool moved = MoveNodesUnlessCrossing(*doc->m_pSectComp, *nodes, to[0] - from[0],
                                               to[1] - from[1], overlaps, [&] {
                                                   if (undoMode == 1 || undoMode == 2)
                                                       doc->UpdateUndo(true);
                                               });
    if (!moved)
        return false;
    // The meshes of the regions at the moved nodes lie where they were.
    if (CPlateComp* comp = GetPlateComp())
        comp->DeleteMeshesAt(nodes);
    m_pGeomHlpr->RemoveSelected(nullptr);
    ResetGeomInput();
    RemoveSelected(nullptr);
    doc->m_pSectComp->FixEdges(&overlaps);
    return true;
}

bool CBrantelModView::PasteCopy(CObList* copyList)
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    if (!copyList || !doc || !comp)
        return false;
    doc->ResetViews(0);
    SetIdentifiersAbove(*comp);
    doc->UpdateStatics(false);
    CObList* pasted = MakePasteCopies(*copyList);
    CObList nodes;
    comp->GetNodeList(pasted, &nodes);
    double from[2] = {0.0, 0.0}, to[2] = {0.0, 0.0};
    if (GetTmpNode(2) && GetTmpNode(0)) {
        from[0] = GetTmpNode(2)->x;
        from[1] = GetTmpNode(2)->y;
        to[0] = GetTmpNode(0)->x;
        to[1] = GetTmpNode(0)->y;
    }
    if (!MoveNodes(from, to, &nodes, 1)) {
        DeleteRegionList(pasted);
        WriteLogLine("Section is not pasted due to intersection\r\n");
    } else {
        doc->SetModifiedFlag(TRUE);
        MapPastedMaterials(*pasted, *GetMaterialCopyList(), comp->GetMaterialList(),
                           ActiveMaterial());
        for (POSITION pos = pasted->GetHeadPosition(); pos;) {
            auto* region = dynamic_cast<CSectArea*>(pasted->GetNext(pos));
            if (!region)
                continue;
            region->RemoveDoubleEdges();
            CSectArea* outer = region->IsEmpty() ? nullptr : comp->IsNodeInside2D(region->GetHeadNode(), false);
            if (!outer) {
                comp->AddTail(region);
                region->Fix(static_cast<CObList*>(comp));
            } else {
                outer->InsertSubSect(region);
                region->Fix(nullptr);
            }
        }
        delete pasted;
        comp->Fix();
        WriteLogLine("Section is pasted\r\n");
    }
    SetIdentifiersAbove(*comp);
    doc->UpdateStatics(false);
    m_uiEditMode = 0;
    m_iTool = VIEWTOOL_POINT;
    InvalidateList();
    ResetGeomInput();
    return true;
}

// ---- Generators ------------------------------------------------------------------------

void CBrantelModView::CreateRingSegment()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    if (!doc || !comp || !m_pGeomHlpr || m_pGeomHlpr->GetTmpNodeCount() < 2)
        return;
    CSNode* start = m_pGeomHlpr->GetFirstTmpNode();
    CSNode* centre = m_pGeomHlpr->GetLastTmpNode();
    const double tolerance = std::max(std::fabs(centre->x), std::fabs(centre->y)) * 2.220446049250313e-16;
    if (start->Compare(centre, tolerance)) {
        const double f = LengthFactor();
        const std::string text = AfxFormat(
            "The points you have chosen are too close to each other.\n"
            "The current start point is located at ( %.3e,  %.3e ) %s\n"
            "Do you wish to continue with this location?",
            start->x * f, start->y * f, static_cast<LPCTSTR>(LengthUnit()));
        if (AfxMessageBox(text.c_str(), MB_OKCANCEL) == IDOK) {
            // The start point survives the reset and waits for a centre.
            m_pGeomHlpr->GetTmpNodeList()->RemoveHead();
            ResetGeomInput();
            m_pGeomHlpr->AddTmpNode(start);
        } else {
            ResetGeomInput();
        }
        return;
    }
    const double s[2] = {start->x, start->y};
    const double c[2] = {centre->x, centre->y};
    CPropertySheet sheet("Ring-segment properties");
    VokPPRingSeg page;
    sheet.AddPage(&page);
    if (sheet.DoModal() == IDOK) {
        RingSegmentValues values;
        values.height = page.m_dHeight;
        values.angle = page.m_dAngle;
        values.radius = page.m_dRadius;
        values.segments = page.m_nSegments;
        values.tangential = page.m_nTangential;
        values.radial = page.m_nRadial;
        values.type = page.m_iType;
        const char* refusal = RingSegmentRefusal(values, c, s);
        std::vector<CSectPlate*> regions;
        if (!refusal)
            regions = BuildRingSegment(values, c, s, ActiveMaterial(), ActiveThickness());
        ResetGeomInput();
        CSectArea* bounding = m_pBoundingRegion;
        std::size_t accepted = 0;
        for (CSectPlate* region : regions) {
            CObList overlaps;
            if (RegionCrossesModel(*comp, *region, overlaps)) {
                delete region;
                continue;
            }
            comp->FixEdges(&overlaps);
            m_pBoundingRegion = bounding;
            InsertRegion(region, false);
            ++accepted;
        }
        m_pBoundingRegion = nullptr;
        comp->Fix();
        if (refusal)
            WriteLogLine(refusal);
        else if (accepted == 0)
            WriteLogLine("The ring segment crosses the model: no region is added\r\n");
    }
    ResetGeomInput();
    CObList none;
    comp->FixEdges(&none);
    Invalidate(FALSE);
    m_uiGeomTool = 0;
    m_iTool = VIEWTOOL_POINT;
}

void CBrantelModView::OnInsertLoadGroup()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    if (!doc || !comp)
        return;
    CPropertySheet sheet("Insert loadgroup");
    CPPLoadGrp page;
    sheet.AddPage(&page);
    doc->UpdateStatics(true);
    CObjMat grid;
    if (sheet.DoModal() == IDOK)
        page.Generate(grid);
    if (grid.GetRows() < 1 || grid.GetColumns() < 1) {
        doc->UpdateStatics(false);
        return;
    }
    auto* firstNode = static_cast<CSNode*>(grid[0][0]);
    const double at[2] = {firstNode->x, firstNode->y};
    CSectArea* bounding = dynamic_cast<CSectPlate*>(PickAt(at, KorBasisGeomHlpr::kAreas));
    CMaterial* material = ActiveMaterial();
    const double thickness = ActiveThickness();
    // A radius of exactly 0 leaves no room for circles: the grid of
    // quadrilaterals is made whatever the shape.
    const int mode = page.m_dRadius == 0.0 ? 0 : page.m_iShape;
    std::vector<CSectPlate*> regions;
    if (mode == 1) {
        for (int i = 0; i < grid.GetRows(); ++i)
            for (int j = 0; j < grid.GetColumns(); ++j)
                for (CSectPlate* half : BuildSplitCircle(static_cast<CSNode*>(grid[i][j]),
                                                         page.m_dRadius, page.m_nSections,
                                                         material, thickness))
                    regions.push_back(half);
    } else {
        regions = BuildGridQuads(grid, material, thickness);
    }
    ReleaseUnusedNodes(grid);
    // Regions that would cross the model are left out, like those of a
    // ring segment.
    std::vector<CSectPlate*> accepted;
    std::vector<CObList*> overlapLists;
    for (CSectPlate* region : regions) {
        auto* overlaps = new CObList;
        if (RegionCrossesModel(*comp, *region, *overlaps)) {
            delete overlaps;
            delete region;
            continue;
        }
        accepted.push_back(region);
        overlapLists.push_back(overlaps);
    }
    if (!accepted.empty())
        doc->UpdateUndo(true);
    for (std::size_t i = 0; i < accepted.size(); ++i) {
        comp->FixEdges(overlapLists[i]);
        delete overlapLists[i];
        // A group node on a node of the model brings its load there.
        comp->DeleteMeshesAt(accepted[i]);
        m_pBoundingRegion = bounding;
        InsertRegion(accepted[i], false);
    }
    if (!accepted.empty())
        comp->Fix();
    m_pBoundingRegion = nullptr;
    doc->UpdateStatics(false);
    InvalidateList();
    Invalidate(TRUE);
}

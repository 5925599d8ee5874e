#include "app/shell/elemmodview.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "app/analysis/analysis.h"
#include "app/shell/boundnode.h"
#include "app/shell/brantelmodview.h"
#include "app/shell/branteldoc.h"
#include "app/shell/mainframe.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "femodel/boundary.h"
#include "femodel/strelna.h"
#include "framework/geomhlpr.h"
#include "framework/korselection.h"
#include "framework/listpages.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"

IMPLEMENT_DYNCREATE(CElemModView, CBrantelView)

BEGIN_MESSAGE_MAP(CElemModView, CBrantelView)
ON_COMMAND(ID_DELETE_SELECTION, OnDeleteSelection)
ON_WM_KEYUP()
ON_COMMAND(ID_DELETE_RESULTS, OnDeleteResults)
ON_COMMAND(ID_SELECT_OBJECTS, OnSelectObjects)
ON_COMMAND(ID_MODE_MODELLING, OnModellingMode)
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace
{

using Helper = KorBasisGeomHlpr;

// Calls f with every entry of a list (none for null).
template <class F> void ForEntries(CObList* list, F f)
{
    if (list)
        for (POSITION pos = list->GetHeadPosition(); pos;)
            f(list->GetNext(pos));
}

// The first entry of a list, or null.
CObject* FirstOf(CObList* list)
{
    return list && !list->IsEmpty() ? list->GetHead() : nullptr;
}

// The view whose select-by-identifier sheet is open: the page's call-back
// adds to its selection.
CElemModView* s_pSelectView = nullptr;

} // namespace

CElemModView::CElemModView()
{
    m_pGeomHlpr = new KorElmGeomHlpr;
    m_pGeomHlpr->m_pEdgeClass = RUNTIME_CLASS(CBoundary);
}

// ---- Drawing -----------------------------------------------------------------------

bool CElemModView::DrawModelList()
{
    return DrawStaticList([this](CBrantelDoc& doc, CPlateComp& comp) {
        comp.DrawModelGL(false, static_cast<float>(MEDIUM_S_POINT), true);
        // Solid: the elements in their material colour with their outlines;
        // otherwise the outlines alone.
        if (m_bSolid)
            comp.DrawMesh(true, true);
        comp.DrawMesh(false, false);
        glColor3f(1.0f, 0.0f, 0.0f);
        comp.DrawLoadedMeshNodes(static_cast<float>(LARGE_POINT));
        comp.DrawMeshNodes(static_cast<float>(MEDIUM_S_POINT));
        comp.DrawEdgeLoads(doc.m_dEdgeLoadScale, true, 0);
        comp.DrawNodeLoads(doc.m_dNodeLoadScale, true);
        glColor3f(0.0f, 0.0f, 0.0f);
        comp.DrawDispersAngles();
        auto* child = dynamic_cast<CChildFrame*>(GetParentFrame());
        if (child && child->m_bShowNodeNumbers) {
            glColor3f(0.0f, 0.0f, 1.0f);
            comp.DrawNodeNumbers(true);
        }
        if (child && child->m_bShowElemNumbers) {
            glColor3f(0.0f, 0.0f, 0.0f);
            comp.DrawElmNumbers();
        }
    });
}

// ---- Selection by mouse ------------------------------------------------------------

bool CElemModView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    if (m_iTool == VIEWTOOL_POINT) {
        BeginPress(point);
        // The framework draws the rubber rectangle while the press is held.
        m_BandStart = point;
        m_bBandOpen = true;
        return true;
    }
    if (m_iTool == VIEWTOOL_PAN)
        return false;
    return KorAreaModView::LeftButtonDown(flags, x, y, point);
}

void CElemModView::LeftButtonUp(unsigned flags, double x, double y, CPoint point)
{
    const CPoint press = GetPressPoint();
    m_bBandOpen = false;
    if (EndPress(point) && m_iTool == VIEWTOOL_POINT) {
        SelectOnRelease(flags, press, point);
        Invalidate(TRUE);
    }
    Kor2DView::LeftButtonUp(flags, x, y, point);
}

void CElemModView::SelectOnRelease(unsigned flags, CPoint press, CPoint release)
{
    Helper* helper = m_pGeomHlpr;
    if (!helper)
        return;
    if (!(flags & MK_SHIFT))
        helper->RemoveSelected(nullptr);
    if (std::abs(release.x - press.x) <= 5 && std::abs(release.y - press.y) <= 5) {
        // A click: one pick at the midpoint, of the kind already selected,
        // else of the filter's kinds in the order nodes, edges, elements.
        const CPoint mid((press.x + release.x) / 2, (press.y + release.y) / 2);
        std::vector<UINT> kinds;
        if (helper->GetSelList(Helper::kNodes))
            kinds = {Helper::kNodes};
        else if (helper->GetSelList(Helper::kEdges))
            kinds = {Helper::kEdges};
        else if (helper->GetSelList(Helper::kAreas))
            kinds = {Helper::kAreas};
        else
            for (UINT kind : {Helper::kNodes, Helper::kEdges, Helper::kAreas})
                if (m_uiSelectFilter & kind)
                    kinds.push_back(kind);
        for (UINT kind : kinds) {
            const DWORD name = PickObject(mid.x, mid.y, kind | kMeshPick, 10.0f, 0xFFFFFFFF, 0, nullptr);
            CObject* hit = MeshObjectOf(name);
            if (const UINT type = korsel::TypeOf(hit)) {
                AddSelect(hit, type, false);
                return;
            }
        }
        return;
    }
    // A rectangle around the midpoint: nodes and elements (never edges);
    // any node hit makes it a node selection, else any edge an edge
    // selection, else the elements are selected.
    const CPoint mid((press.x + release.x) / 2, (press.y + release.y) / 2);
    const float w = static_cast<float>(std::max(1, std::abs(release.x - press.x)));
    const float h = static_cast<float>(std::max(1, std::abs(release.y - press.y)));
    const UINT types = (m_uiSelectFilter & ~Helper::kEdges) | kMeshPick;
    // Room for every object of the mesh, whatever the buffer setting.
    const unsigned savedSize = COGLRenderer::iSelBufSize;
    COGLRenderer::iSelBufSize = std::max(savedSize, PickBufferWords(types));
    unsigned* raw = nullptr;
    int count = 0;
    PickObject(mid, types, w, h, raw, count);
    COGLRenderer::iSelBufSize = savedSize;
    std::vector<DWORD> names(raw, raw + count);
    delete[] raw;
    DWORD bound = 0xFFFFFFFF;
    UINT type = Helper::kAreas;
    if (std::any_of(names.begin(), names.end(), [](DWORD n) { return n < kFirstEdgeName; })) {
        bound = kFirstEdgeName;
        type = Helper::kNodes;
    } else if (std::any_of(names.begin(), names.end(), [](DWORD n) { return n < kFirstElementName; })) {
        bound = kFirstElementName;
        type = Helper::kEdges;
    }
    names.erase(std::remove_if(names.begin(), names.end(), [bound](DWORD n) { return n >= bound; }),
                names.end());
    for (CObject* ob : MeshObjectsOf(names))
        if (ob)
            AddSelect(ob, type, false);
}

unsigned CElemModView::PickBufferWords(UINT types)
{
    // A hit record of one name takes four words; an element names itself
    // and (for nodes) each of its nodes.
    std::size_t records = 0;
    if (CPlateComp* comp = GetPlateComp())
        comp->ForEachMeshElement([&](CElement* e) {
            records += ((types & Helper::kAreas) ? 1 : 0) +
                       ((types & Helper::kNodes) ? static_cast<std::size_t>(e->GetCount()) : 0);
        });
    const std::size_t words = 4 * records + 64;
    return static_cast<unsigned>(std::min<std::size_t>(words, COGLRenderer::kMaxSelBufSize));
}

std::vector<CObject*> CElemModView::MeshObjectsOf(const std::vector<DWORD>& names)
{
    // The mesh numbers its nodes apart from the regions, so a number may
    // also be a region node's: here it always means the mesh's object. One
    // pass over the mesh finds them all, stopping once every name is known.
    std::unordered_map<DWORD, CObject*> table;
    table.reserve(names.size());
    for (DWORD name : names)
        table.emplace(name, nullptr);
    std::size_t open = table.size();
    auto note = [&](DWORD id, CObject* ob) {
        auto it = table.find(id);
        if (it != table.end() && !it->second) {
            it->second = ob;
            --open;
        }
    };
    if (CPlateComp* comp = GetPlateComp())
        comp->ForEachMeshElement([&](CElement* e) {
            if (open == 0)
                return;
            note(e->GetID(), e);
            for (POSITION pos = e->GetHeadPosition(); pos;) {
                CSNode* node = e->GetNextNode(pos);
                note(node->GetID(), node);
                ForEntries(node->GetEdgeList(),
                           [&](CObject* edge) { note(static_cast<CEdge*>(edge)->GetID(), edge); });
            }
        });
    std::vector<CObject*> objects;
    objects.reserve(names.size());
    for (DWORD name : names)
        objects.push_back(table[name]);
    return objects;
}

CObject* CElemModView::MeshObjectOf(DWORD name)
{
    return name ? MeshObjectsOf({name}).front() : nullptr;
}

// ---- Double click and edits --------------------------------------------------------

void CElemModView::LeftButtonDblClk(unsigned flags, double x, double y, CPoint point)
{
    Helper* helper = m_pGeomHlpr;
    CBrantelDoc* doc = GetBrantelDoc();
    // A selected node is made a boundary node here, so that the selection
    // keeps a node that exists.
    CObject* ob = FirstOf(SelectedBoundNodes());
    if (helper && !ob)
        for (UINT kind : {Helper::kEdges, Helper::kAreas})
            if ((ob = FirstOf(helper->GetSelList(static_cast<int>(kind)))))
                break;
    if (!ob && doc) {
        const DWORD name = PickObject(point.x, point.y, m_uiSelectFilter | kMeshPick, 10.0f, 0xFFFFFFFF, 0, nullptr);
        ob = MeshObjectOf(name);
    }
    if (ob && doc) {
        if (auto* element = dynamic_cast<CElement*>(ob))
            ShowElementInfo(element);
        else if (ob->IsKindOf(RUNTIME_CLASS(CBoundary)))
            doc->EditEdgeInfo(ob);
        else if (ob->IsKindOf(RUNTIME_CLASS(CSNode)))
            doc->EditNodeInfo(ob, true);
    }
    Kor2DModView::LeftButtonDblClk(flags, x, y, point);
}

void CElemModView::EditObject()
{
    CBrantelDoc* doc = GetBrantelDoc();
    Helper* helper = m_pGeomHlpr;
    if (!doc || !helper)
        return;
    // Nodes are edited as boundary nodes: one in its sheet, several
    // together.
    if (CObList* nodes = SelectedBoundNodes()) {
        if (nodes->GetCount() == 1)
            doc->EditNodeInfo(nodes->GetHead(), true);
        else
            doc->EditNodes(nodes);
        return;
    }
    if (CObList* edges = helper->GetSelList(Helper::kEdges)) {
        if (edges->GetCount() == 1) {
            if (edges->GetHead()->IsKindOf(RUNTIME_CLASS(CBoundary)))
                doc->EditEdgeInfo(edges->GetHead());
        } else {
            doc->EditEdgeInfo(edges);
        }
        return;
    }
    CObList* areas = helper->GetSelList(Helper::kAreas);
    if (areas && areas->GetCount() == 1)
        if (auto* element = dynamic_cast<CElement*>(areas->GetHead()))
            ShowElementInfo(element);
}

CObList* CElemModView::SelectedBoundNodes()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CObList* nodes = m_pGeomHlpr ? m_pGeomHlpr->GetSelList(Helper::kNodes) : nullptr;
    if (!doc || !nodes)
        return nodes;
    std::vector<CObject*> held;
    bool plain = false;
    ForEntries(nodes, [&](CObject* ob) {
        held.push_back(ob);
        plain = plain || !ob->IsKindOf(RUNTIME_CLASS(CBoundNode));
    });
    if (!plain)
        return nodes;
    // The replacement deletes the plain node: the selection lets go of it
    // first and then holds the new node in its place.
    m_pGeomHlpr->RemoveSelected(nullptr);
    auto* converted = new CObList;
    for (CObject* ob : held)
        converted->AddTail(brantel::ToBoundNode(static_cast<CSNode*>(ob), doc->m_pNodeList));
    m_pGeomHlpr->SetSelList(converted, Helper::kNodes);
    return m_pGeomHlpr->GetSelList(Helper::kNodes);
}

// ---- Delete ------------------------------------------------------------------------

void CElemModView::DeleteSelectedElements()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    Helper* helper = m_pGeomHlpr;
    if (!doc || !comp || !helper)
        return;
    // Each element once, in the order met: a set keeps the check linear.
    std::vector<CElement*> doomed;
    std::unordered_set<CObject*> seen;
    auto take = [&](CObject* ob) {
        auto* element = dynamic_cast<CElement*>(ob);
        if (element && seen.insert(element).second)
            doomed.push_back(element);
    };
    auto around = [&](CSNode* node) {
        if (node)
            ForEntries(node->GetGraphList(), take);
    };
    ForEntries(helper->GetSelList(Helper::kAreas), take);
    ForEntries(helper->GetSelList(Helper::kNodes), [&](CObject* ob) { around(static_cast<CSNode*>(ob)); });
    ForEntries(helper->GetSelList(Helper::kEdges), [&](CObject* ob) {
        auto* edge = static_cast<CEdge*>(ob);
        around(edge->GetNode1());
        around(edge->GetNode2());
    });
    helper->RemoveSelected(nullptr);
    if (doomed.empty())
        return;
    // Other views of the document drop what they held of the mesh.
    doc->ResetViews(8);
    comp->RemoveElems(seen);
    for (CElement* element : doomed)
        delete element;
    // The mesh stays as the user made it; results computed on the whole
    // mesh no longer belong to it.
    doc->m_bMeshValid = false;
    doc->InvalidateLists();
    Invalidate(TRUE);
    UpdateWindow();
}

void CElemModView::OnDeleteSelection()
{
    DeleteSelectedElements();
}

void CElemModView::OnKeyUp(UINT nChar, UINT, UINT)
{
    if (nChar == VK_DELETE)
        DeleteSelectedElements();
    Default();
}

void CElemModView::OnDeleteResults()
{
    if (m_pGeomHlpr)
        ForEntries(m_pGeomHlpr->GetSelList(Helper::kAreas), [](CObject* ob) {
            if (auto* element = dynamic_cast<CElement*>(ob))
                element->DeleteResults(true);
        });
}

// ---- Select by identifier ----------------------------------------------------------

void CElemModView::SelectByIdentifiers(const std::vector<long>& ids, int type)
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc)
        return;
    std::vector<DWORD> names;
    for (long id : ids)
        if (id > 0 && static_cast<unsigned long>(id) < kFirstEdgeName)
            names.push_back(static_cast<DWORD>(id) + (type == 1 ? kFirstElementName : 0u));
    for (CObject* ob : MeshObjectsOf(names))
        if (ob)
            AddSelect(ob, static_cast<UINT>(type), false);
    doc->InvalidateLists();
    doc->UpdateAllViews(nullptr);
}

void CElemModView::SelectFromPage(CLongMatrix& ids, int type)
{
    if (!s_pSelectView)
        return;
    std::vector<long> list;
    for (int r = 0; r < ids.GetRows(); ++r)
        list.push_back(ids[r][0]);
    s_pSelectView->SelectByIdentifiers(list, type);
}

void CElemModView::OnSelectObjects()
{
    KorPPSelectID page("Nodes", "Elements", "");
    page.m_kindCodes.Allocate(2, 1, true, 0);
    page.m_kindCodes[0][0] = 2;
    page.m_kindCodes[1][0] = 1;
    page.m_pfnSelect = &CElemModView::SelectFromPage;
    CPropertySheet sheet("");
    sheet.AddPage(&page);
    s_pSelectView = this;
    sheet.DoModal();
    s_pSelectView = nullptr;
}

// ---- Mode and context menu ---------------------------------------------------------

void CElemModView::OnModellingMode()
{
    if (auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        frame->SwitchViewMode(ID_MODE_MODELLING);
}

void CElemModView::OnRButtonDown(UINT, CPoint point)
{
    m_LastPoint = point;
    int popup = -1;
    if (Helper* helper = m_pGeomHlpr) {
        if (helper->GetSelList(Helper::kNodes))
            popup = kNodePopup;
        else if (helper->GetSelList(Helper::kEdges))
            popup = kEdgePopup;
        else if (helper->GetSelList(Helper::kAreas))
            popup = kElementPopup;
    }
    if (popup >= 0) {
        CMenu menu;
        if (menu.LoadMenu(IDR_MODEL_POPUPS))
            if (CMenu* sub = menu.GetSubMenu(popup))
                TrackViewContextMenu(*this, *sub, point);
    }
    Default();
}

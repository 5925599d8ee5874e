// The geometry-input helpers: selection lists with their hash indexes,
// temporary nodes, moves, deletes, the union of areas and their drawing.
#include "framework/geomhlpr.h"

#include <GL/gl.h>

#include <unordered_set>
#include <vector>

#include "geometry/edge.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/ui/core/afxui.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"

namespace
{

CSectComp* AsModel(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectComp)) ? static_cast<CSectComp*>(ob) : nullptr;
}

CSectArea* AsSectArea(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectArea)) ? static_cast<CSectArea*>(ob) : nullptr;
}

bool IsLink(CObject* edge)
{
    return edge->IsKindOf(RUNTIME_CLASS(CNodeLink));
}

template <class F>
void ForEach(CObList* list, F f)
{
    if (list)
        for (POSITION pos = list->GetHeadPosition(); pos;)
            f(list->GetNext(pos));
}

// Whether a segment crosses (answer 1) the one between two nodes: the edge
// joining them when there is one, else the straight segment.
bool Crosses(CEdge* closing, CSNode* a, CSNode* b)
{
    if (CEdge* edge = CGraph::GetComEdge(a, b))
        return edge != closing && closing->Intersection2D(edge, nullptr) == 1;
    double* s1[2] = {closing->GetNode1()->GetVertex(), closing->GetNode2()->GetVertex()};
    double* s2[2] = {a->GetVertex(), b->GetVertex()};
    return CEdge::Intersection2D(s1, s2) == 1;
}

// An edge none of its node's graphs contains.
bool IsStray(CSNode* node, CEdge* edge)
{
    bool contained = false;
    ForEach(node->GetGraphList(), [&](CObject* g) {
        if (!contained && static_cast<CGraph*>(g)->IsEdgeInGraph(edge))
            contained = true;
    });
    return !contained;
}

} // namespace

// ------------------------------------------------------------ lifetime

KorBasisGeomHlpr::KorBasisGeomHlpr() : m_pEdgeClass(RUNTIME_CLASS(CEdge))
{
}

KorBasisGeomHlpr::~KorBasisGeomHlpr()
{
    RemoveSelected(nullptr);
    if (m_pTmpNodes) {
        while (!m_pTmpNodes->IsEmpty()) {
            CSNode* node = static_cast<CSNode*>(m_pTmpNodes->RemoveTail());
            if (node->GetGraphCount() == 0) {
                if (CGraph::m_pNodeList)
                    CGraph::m_pNodeList->RemoveNode(node);
                delete node;
            }
        }
        delete m_pTmpNodes;
        m_pTmpNodes = nullptr;
    }
}

// ------------------------------------------------------------ selection lists

CObList** KorBasisGeomHlpr::ListSlot(int type)
{
    switch (type) {
    case kAreas:
        return &m_pSelAreas;
    case kNodes:
        return &m_pSelNodes;
    case kEdges:
        return &m_pSelEdges;
    default:
        return nullptr;
    }
}

KorBasisGeomHlpr::Index* KorBasisGeomHlpr::IndexOf(int type)
{
    switch (type) {
    case kAreas:
        return &m_areaIndex;
    case kNodes:
        return &m_nodeIndex;
    case kEdges:
        return &m_edgeIndex;
    default:
        return nullptr;
    }
}

void KorBasisGeomHlpr::Reindex(int type)
{
    Index* index = IndexOf(type);
    index->clear();
    CObList* list = *ListSlot(type);
    if (!list)
        return;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        POSITION at = pos;
        index->emplace(list->GetNext(pos), at);
    }
}

bool KorBasisGeomHlpr::Holds(int type, CObject* object)
{
    CObList* list = *ListSlot(type);
    Index* index = IndexOf(type);
    if (!list)
        return false;
    if (static_cast<INT_PTR>(index->size()) != list->GetCount())
        Reindex(type);
    return index->count(object) != 0;
}

void KorBasisGeomHlpr::PutHead(int type, CObject* object)
{
    CObList** slot = ListSlot(type);
    if (!*slot)
        *slot = new CObList(10);
    (*IndexOf(type))[object] = (*slot)->AddHead(object);
}

bool KorBasisGeomHlpr::TakeOut(int type, CObject* object)
{
    if (!Holds(type, object))
        return false;
    CObList** slot = ListSlot(type);
    Index* index = IndexOf(type);
    auto it = index->find(object);
    (*slot)->RemoveAt(it->second);
    index->erase(it);
    if ((*slot)->IsEmpty())
        DropList(type);
    return true;
}

void KorBasisGeomHlpr::DropList(int type)
{
    CObList** slot = ListSlot(type);
    delete *slot;
    *slot = nullptr;
    IndexOf(type)->clear();
}

bool KorBasisGeomHlpr::RemoveSelected(CObject* object)
{
    if (!object) {
        for (int type : {kAreas, kEdges, kNodes})
            DropList(type);
        return true;
    }
    for (int type : {kAreas, kEdges, kNodes})
        if (TakeOut(type, object))
            return true;
    return false;
}

bool KorBasisGeomHlpr::AddSelect(CObject* object, UINT type, bool)
{
    if (!object || (type != kAreas && type != kNodes && type != kEdges))
        return false;
    // One type at a time: the two others end.
    for (int other : {kAreas, kNodes, kEdges})
        if (static_cast<UINT>(other) != type)
            DropList(other);
    if (RemoveSelected(object))
        return false;
    PutHead(static_cast<int>(type), object);
    return true;
}

CObList* KorBasisGeomHlpr::GetSelList(int type)
{
    CObList** slot = ListSlot(type);
    return slot ? *slot : nullptr;
}

void KorBasisGeomHlpr::SetSelList(CObList* list, int type)
{
    RemoveSelected(nullptr);
    CObList** slot = ListSlot(type);
    if (!slot)
        return;
    if (list && list->IsEmpty()) {
        delete list; // a list exists only while it holds something
        list = nullptr;
    }
    *slot = list;
    Reindex(type);
}

void KorBasisGeomHlpr::GetSelEdgeNodes(CObList& out)
{
    std::unordered_set<CObject*> present;
    ForEach(&out, [&](CObject* ob) { present.insert(ob); });
    ForEach(m_pSelEdges, [&](CObject* ob) {
        CSNode* ends[2];
        static_cast<CEdge*>(ob)->GetNodes(ends[0], ends[1]);
        for (CSNode* node : ends)
            if (node && present.insert(node).second)
                out.AddTail(node);
    });
}

void KorBasisGeomHlpr::CopySelSectList(CObList* target)
{
    if (!target)
        return;
    // A graph is itself a list: as a CObject the copy is appended whole,
    // not node by node.
    ForEach(m_pSelAreas, [&](CObject* ob) {
        target->AddTail(static_cast<CObject*>(static_cast<CGraph*>(ob)->Copy(false)));
    });
    ForEach(target, [](CObject* ob) {
        if (ob->IsKindOf(RUNTIME_CLASS(CGraph)))
            static_cast<CGraph*>(ob)->ReleaseCopyNodes(true);
    });
}

CEdge* KorBasisGeomHlpr::NewEdge(CSNode* first, CSNode* second)
{
    CObject* ob = m_pEdgeClass ? m_pEdgeClass->CreateObject() : nullptr;
    CEdge* edge = nullptr;
    if (ob && ob->IsKindOf(RUNTIME_CLASS(CEdge)))
        edge = static_cast<CEdge*>(ob);
    else
        delete ob;
    if (!edge)
        edge = new CEdge;
    edge->Init(first, second);
    return edge;
}

// ------------------------------------------------------------ temporary nodes

CSNode* KorBasisGeomHlpr::GetFirstTmpNode()
{
    return m_pTmpNodes && !m_pTmpNodes->IsEmpty() ? static_cast<CSNode*>(m_pTmpNodes->GetHead())
                                                  : nullptr;
}

CSNode* KorBasisGeomHlpr::GetLastTmpNode()
{
    return m_pTmpNodes && !m_pTmpNodes->IsEmpty() ? static_cast<CSNode*>(m_pTmpNodes->GetTail())
                                                  : nullptr;
}

int KorBasisGeomHlpr::GetTmpNodeCount()
{
    return m_pTmpNodes ? static_cast<int>(m_pTmpNodes->GetCount()) : 0;
}

bool KorBasisGeomHlpr::AddTmpNode(CSNode* node)
{
    if (!node)
        return false;
    if (!m_pTmpNodes)
        m_pTmpNodes = new CObList(10);
    else if (m_pTmpNodes->Find(node))
        return false;
    m_pTmpNodes->AddTail(node);
    return true;
}

int KorBasisGeomHlpr::AddTmpNode(CObList* nodes)
{
    if (!nodes)
        return 0;
    if (!m_pTmpNodes) {
        m_pTmpNodes = new CObList(10);
        m_pTmpNodes->AddTail(nodes);
        return static_cast<int>(m_pTmpNodes->GetCount());
    }
    int added = 0;
    ForEach(nodes, [&](CObject* ob) {
        if (POSITION pos = m_pTmpNodes->Find(ob))
            m_pTmpNodes->RemoveAt(pos);
        else
            ++added;
        m_pTmpNodes->AddTail(ob);
    });
    return added;
}

void KorBasisGeomHlpr::ForgetNode(CSNode* node)
{
    ForEach(node->GetEdgeList(), [&](CObject* edge) { TakeOut(kEdges, edge); });
    TakeOut(kNodes, node);
}

void KorBasisGeomHlpr::DestroyNode(CSNode* node)
{
    ForgetNode(node);
    if (CGraph::m_pNodeList)
        CGraph::m_pNodeList->RemoveNode(node);
    delete node;
}

void KorBasisGeomHlpr::DisposeTmpNode(CSNode* node, CSectComp* model, bool linksStay)
{
    if (node->GetGraphCount() == 0) {
        DestroyNode(node);
        return;
    }
    if (node->m_uiFlags != 1 && node->GetEdgeList()) {
        // The node lives on in its graphs; only edges none of them holds go.
        std::vector<CEdge*> stray;
        ForEach(node->GetEdgeList(), [&](CObject* ob) {
            CEdge* edge = static_cast<CEdge*>(ob);
            if (!(linksStay && IsLink(edge)) && IsStray(node, edge))
                stray.push_back(edge);
        });
        for (CEdge* edge : stray) {
            TakeOut(kEdges, edge);
            delete edge;
        }
        return;
    }
    if (model)
        model->RemoveNode(node);
    DestroyNode(node);
}

void KorBasisGeomHlpr::RmLastTmpNode(CObject* model)
{
    if (!m_pTmpNodes || m_pTmpNodes->IsEmpty())
        return;
    CSNode* node = static_cast<CSNode*>(m_pTmpNodes->RemoveTail());
    DisposeTmpNode(node, AsModel(model), false);
    if (m_pTmpNodes->IsEmpty()) {
        delete m_pTmpNodes;
        m_pTmpNodes = nullptr;
    }
}

void KorBasisGeomHlpr::ResetNodes(CSectComp* model)
{
    if (!m_pTmpNodes)
        return;
    while (!m_pTmpNodes->IsEmpty())
        DisposeTmpNode(static_cast<CSNode*>(m_pTmpNodes->RemoveTail()), model, true);
    delete m_pTmpNodes;
    m_pTmpNodes = nullptr;
}

bool KorBasisGeomHlpr::Cycle(CSectComp* model)
{
    if (GetTmpNodeCount() < 3)
        return false;
    std::vector<CSNode*> points;
    ForEach(m_pTmpNodes, [&](CObject* ob) { points.push_back(static_cast<CSNode*>(ob)); });
    // The points become model objects: their identifiers are taken now.
    for (CSNode* node : points) {
        if (CSNode::lIDnode < node->GetID() + 1)
            CSNode::lIDnode = node->GetID() + 1;
        const unsigned long maxEdge = node->GetMaxEdgeID();
        if (CEdge::lIDedge < maxEdge + 1)
            CEdge::lIDedge = static_cast<DWORD>(maxEdge + 1);
    }
    CSNode* first = points.front();
    CSNode* last = points.back();
    CEdge* closing = CGraph::GetComEdge(first, last);
    const bool made = !closing;
    if (made)
        closing = NewEdge(first, last);
    if (!model)
        return true;
    bool rejected = model->Intersection(closing, false, nullptr) == 1;
    for (size_t i = 0; !rejected && i + 1 < points.size(); ++i)
        rejected = Crosses(closing, points[i], points[i + 1]);
    if (!rejected)
        return true;

    m_pTmpNodes->RemoveTail();
    if (m_pTmpNodes->IsEmpty()) {
        delete m_pTmpNodes;
        m_pTmpNodes = nullptr;
    }
    if (last->GetGraphCount() == 0) {
        DestroyNode(last); // its edges, the closing one among them, go with it
    } else if (last->m_uiFlags == 1) {
        model->RemoveNode(last);
        DestroyNode(last);
    } else if (made) {
        TakeOut(kEdges, closing);
        delete closing;
    }
    return false;
}

// ------------------------------------------------------------ moving

void KorBasisGeomHlpr::GatherMoveNodes(CObList& out)
{
    std::unordered_set<CObject*> present;
    auto add = [&](CObject* node) {
        if (present.insert(node).second)
            out.AddTail(node);
    };
    ForEach(m_pSelNodes, add);
    ForEach(m_pSelAreas, [&](CObject* area) { ForEach(static_cast<CObList*>(static_cast<CGraph*>(area)), add); });
    ForEach(m_pSelEdges, [&](CObject* ob) {
        CSNode *a, *b;
        static_cast<CEdge*>(ob)->GetNodes(a, b);
        add(a);
        add(b);
    });
}

void KorBasisGeomHlpr::GatherEdges(CObList& nodes, CObList& out)
{
    std::unordered_set<CObject*> seen;
    ForEach(&nodes, [&](CObject* node) {
        ForEach(static_cast<CSNode*>(node)->GetEdgeList(), [&](CObject* edge) {
            if (!IsLink(edge) && seen.insert(edge).second)
                out.AddTail(edge);
        });
    });
}

int KorBasisGeomHlpr::MoveSelection(double* delta, int count, bool fix, int mode, CSectComp* model)
{
    ResetNodes(model);
    if (count < 1 || !delta)
        return 0;
    const double dx = delta[0];
    const double dy = count >= 2 ? delta[1] : 0.0;
    const double dz = count >= 3 ? delta[2] : 0.0;
    CObList nodes(10);
    GatherMoveNodes(nodes);
    if (nodes.IsEmpty())
        return 0;
    ForEach(&nodes, [&](CObject* n) { static_cast<CSNode*>(n)->Translate(dx, dy, dz, false); });

    CObList edges(10);
    GatherEdges(nodes, edges);
    bool refused = false;
    if (model && (mode == 0 || mode == 1)) {
        for (POSITION pos = edges.GetHeadPosition(); pos && !refused;) {
            const short answer = model->Intersection(static_cast<CEdge*>(edges.GetNext(pos)), mode == 1, nullptr);
            refused = mode == 0 ? answer != 0 : answer == 1;
        }
    }
    if (refused) {
        ForEach(&nodes, [&](CObject* n) { static_cast<CSNode*>(n)->Translate(-dx, -dy, -dz, false); });
        return -1;
    }
    if (fix) {
        RemoveSelected(nullptr);
        if (model) {
            CObList touching(10);
            ForEach(&edges, [&](CObject* edge) {
                if (model->Intersection(static_cast<CEdge*>(edge), true, nullptr) == 2)
                    touching.AddTail(edge);
            });
            if (!touching.IsEmpty())
                model->FixEdges(&touching);
        }
    }
    return 1;
}

// ------------------------------------------------------------ deleting

void KorBasisGeomHlpr::DeleteArea(CGraph* area, CSectComp* model)
{
    CSectArea* sect = AsSectArea(area);
    if (sect && sect->GetOuterSect())
        sect->GetOuterSect()->RemoveInnerSect(sect); // an inner area leaves its outer one
    else if (model && sect)
        model->Remove(sect);
    delete area;
}

bool KorBasisGeomHlpr::DeleteSelection(CSectComp* model)
{
    if (m_pSelAreas) {
        // The nodes and edges of the areas may go with them.
        DropList(kNodes);
        DropList(kEdges);
        std::vector<CGraph*> areas;
        ForEach(m_pSelAreas, [&](CObject* ob) { areas.push_back(static_cast<CGraph*>(ob)); });
        DropList(kAreas);
        for (CGraph* area : areas)
            DeleteArea(area, model);
        return true;
    }
    if (m_pSelEdges) {
        std::vector<CEdge*> edges;
        ForEach(m_pSelEdges, [&](CObject* ob) { edges.push_back(static_cast<CEdge*>(ob)); });
        DropList(kEdges);
        for (CEdge* edge : edges)
            delete edge;
        return true;
    }
    if (m_pSelNodes) {
        CObList nodes(10);
        nodes.AddTail(m_pSelNodes);
        DropList(kNodes);
        if (model)
            model->DeleteNodes(&nodes);
        return true;
    }
    return false;
}

bool KorGeomHlpr::DeleteSelection(CSectComp* model)
{
    if (!m_pSelEdges)
        return KorBasisGeomHlpr::DeleteSelection(model);
    std::vector<CEdge*> links;
    ForEach(m_pSelEdges, [&](CObject* ob) {
        if (IsLink(ob))
            links.push_back(static_cast<CEdge*>(ob));
    });
    for (CEdge* link : links) {
        TakeOut(kEdges, link);
        delete link;
    }
    if (!m_pSelEdges)
        return true;
    CObList nodes(10);
    GetSelEdgeNodes(nodes);
    // The nodes take their edges with them.
    DropList(kEdges);
    DropList(kNodes);
    if (model)
        model->DeleteNodes(&nodes);
    return true;
}

bool KorAreaGeomHlpr::DeleteSelection(CSectComp* model)
{
    if (!m_pSelAreas)
        return KorGeomHlpr::DeleteSelection(model);
    DropList(kNodes);
    DropList(kEdges);
    while (m_pSelAreas) {
        CGraph* area = static_cast<CGraph*>(m_pSelAreas->GetHead());
        TakeOut(kAreas, area);
        CSectArea* sect = AsSectArea(area);
        if (sect && sect->GetSubList()) {
            const CString name = sect->GetName();
            const std::string text = AfxFormat(
                "%s contains internal sections, do you want to delete them?", static_cast<LPCTSTR>(name));
            const int answer = AfxMessageBox(text.c_str(), MB_YESNOCANCEL);
            if (answer == IDCANCEL) {
                DropList(kAreas);
                return true;
            }
            if (answer == IDNO) {
                sect->DeleteThis(model); // the inner sections stay
                continue;
            }
        }
        DeleteArea(area, model);
    }
    return true;
}

bool KorElmGeomHlpr::DeleteSelection(CSectComp* model)
{
    if (m_pSelAreas) {
        std::vector<CObject*> elements;
        ForEach(m_pSelAreas, [&](CObject* ob) { elements.push_back(ob); });
        DropList(kAreas);
        DropList(kNodes);
        DropList(kEdges);
        for (CObject* element : elements) {
            if (model)
                model->RemoveElem(element);
            delete element;
        }
        return true;
    }
    if (m_pSelEdges)
        return true;
    if (!m_pSelNodes)
        return false;
    std::vector<CObject*> elements;
    std::unordered_set<CObject*> seen;
    ForEach(m_pSelNodes, [&](CObject* node) {
        ForEach(static_cast<CSNode*>(node)->GetGraphList(), [&](CObject* graph) {
            if (seen.insert(graph).second)
                elements.push_back(graph);
        });
    });
    DropList(kNodes);
    for (CObject* element : elements) {
        if (model)
            model->RemoveElem(element);
        delete element;
    }
    return true;
}

void KorElmGeomHlpr::ResetNodes(CObject*)
{
    if (!m_pTmpNodes)
        return;
    ForEach(m_pTmpNodes, [&](CObject* ob) {
        CSNode* node = static_cast<CSNode*>(ob);
        if (node->GetGraphCount() == 0)
            DestroyNode(node);
    });
    delete m_pTmpNodes;
    m_pTmpNodes = nullptr;
}

// ------------------------------------------------------------ areas

bool KorAreaGeomHlpr::AddSelect(CObject* object, UINT type, bool clear)
{
    if (type != kAreas)
        return KorGeomHlpr::AddSelect(object, type, clear);
    if (!object)
        return false;
    if (clear) {
        DropList(kNodes);
        DropList(kEdges);
    }
    if (m_pSelAreas) {
        if (TakeOut(kAreas, object))
            return false;
        if (m_pSelAreas) {
            CSectArea* head = AsSectArea(m_pSelAreas->GetHead());
            CSectArea* area = AsSectArea(object);
            CSectArea* headOuter = head ? head->GetOuterSect() : nullptr;
            CSectArea* outer = area ? area->GetOuterSect() : nullptr;
            if (headOuter != outer)
                return false;
        }
    }
    PutHead(kAreas, object);
    return true;
}

bool KorAreaGeomHlpr::UnionSelected(CSectComp* model)
{
    if (!m_pSelAreas)
        return false;
    const INT_PTR start = m_pSelAreas->GetCount();
    CSectArea* target = AsSectArea(m_pSelAreas->GetTail());
    if (!target)
        return false;
    POSITION pos = m_pSelAreas->GetTailPosition();
    m_pSelAreas->GetPrev(pos);
    for (INT_PTR i = 0; pos && i < 3 * start; ++i) {
        CObject* ob = m_pSelAreas->GetPrev(pos);
        CSectArea* area = AsSectArea(ob);
        if (!area)
            continue;
        TakeOut(kAreas, area);
        CSectArea* outer = area->GetOuterSect();
        if (outer)
            outer->RemoveInnerSect(area);
        else if (model)
            model->Remove(area);
        if (target->Union(area))
            continue; // the area is merged and gone
        PutHead(kAreas, area);
        if (outer)
            outer->InsertSubSect(area);
        else if (model)
            model->AddTail(area);
    }
    return m_pSelAreas->GetCount() != start;
}

// ------------------------------------------------------------ drawing

void KorBasisGeomHlpr::DrawSelected()
{
    // The wide lines and large points stay with the selection.
    glPushAttrib(GL_LINE_BIT | GL_POINT_BIT);
    if (m_pSelEdges) {
        glColor3fv(glcInvBckGrnd);
        glLineWidth(static_cast<GLfloat>(WIDE_EDGE));
        glBegin(GL_LINES);
        ForEach(m_pSelEdges, [](CObject* edge) { static_cast<CEdge*>(edge)->GLLine(false, nullptr); });
        glEnd();
    }
    glPointSize(static_cast<GLfloat>(LARGE_POINT));
    glColor3f(0.0f, 0.0f, 1.0f);
    if (m_pSelNodes) {
        glBegin(GL_POINTS);
        ForEach(m_pSelNodes, [](CObject* n) { static_cast<CSNode*>(n)->GLVertex(); });
        glEnd();
        glPointSize(static_cast<GLfloat>(MEDIUM_L_POINT));
        glColor3f(1.0f, 0.0f, 0.0f);
        glBegin(GL_POINTS);
        ForEach(m_pSelNodes, [](CObject* n) { static_cast<CSNode*>(n)->GLVertex(); });
        glEnd();
    } else if (m_pSelEdges) {
        CObList ends(10);
        GetSelEdgeNodes(ends);
        glBegin(GL_POINTS);
        ForEach(&ends, [](CObject* n) { static_cast<CSNode*>(n)->GLVertex(); });
        glEnd();
    }
    if (m_pSelAreas) {
        float green[3] = {0.0f, 1.0f, 0.0f};
        glPointSize(static_cast<GLfloat>(MEDIUM_L_POINT));
        glBegin(GL_POINTS);
        ForEach(m_pSelAreas, [&](CObject* area) { static_cast<CGraph*>(area)->GLDrawNodes(true, green); });
        glEnd();
    }
    glPopAttrib();
}

void KorBasisGeomHlpr::DrawTranslated(double dx, double dy, double dz)
{
    CObList nodes(10);
    GatherMoveNodes(nodes);
    ForEach(&nodes, [](CObject* n) { static_cast<CSNode*>(n)->m_uiFlags |= 64; });
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x1111);
    glBegin(GL_LINES);
    ForEach(&nodes, [&](CObject* n) { static_cast<CSNode*>(n)->GLLines(dx, dy, dz, false, true); });
    glEnd();
    glDisable(GL_LINE_STIPPLE);
    ForEach(&nodes, [](CObject* n) { static_cast<CSNode*>(n)->m_uiFlags &= ~64u; });
    glLineWidth(static_cast<GLfloat>(THIN_EDGE));
}

void KorAreaGeomHlpr::DrawTmpNodeEdges(UINT tool, double* cursor)
{
    if (!m_pTmpNodes || !cursor)
        return;
    CSNode* first = GetFirstTmpNode();
    CSNode* last = GetLastTmpNode();
    if (!first)
        return;
    if (tool == 20) {
        double corner[2] = {first->x, first->y};
        double end[2] = {cursor[0], cursor[1]};
        COGLRenderer::DrawRect2D(corner, end, true);
        return;
    }
    if (m_pTmpNodes->GetCount() >= 2) {
        glBegin(GL_LINE_STRIP);
        ForEach(m_pTmpNodes, [](CObject* n) { static_cast<CSNode*>(n)->GLVertex(); });
        glEnd();
    }
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x1111);
    glBegin(GL_LINE_STRIP);
    first->GLVertex();
    glVertex3d(cursor[0], cursor[1], 0.0);
    last->GLVertex();
    glEnd();
    glDisable(GL_LINE_STIPPLE);
}

#include "sections/regions/sectarea.h"

#include "femodel/modelinfo.h"
#include "platform/ferrand/material.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

IMPLEMENT_DYNAMIC(CSectArea, CSection)

namespace {

template <class F>
void ForSubs(CObList* subs, F f)
{
    if (!subs)
        return;
    for (POSITION pos = subs->GetHeadPosition(); pos;) {
        CObject* ob = subs->GetNext(pos);
        f(ob);
    }
}

// Sub-section lists hold regions; anything else in them is passed over.
template <class F>
void ForGraphs(CObList* subs, F f)
{
    ForSubs(subs, [&](CObject* ob) {
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CGraph)))
            f(static_cast<CGraph*>(ob));
    });
}

template <class F>
void ForSections(CObList* subs, F f)
{
    ForSubs(subs, [&](CObject* ob) {
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CSection)))
            f(static_cast<CSection*>(ob));
    });
}

CSectArea* AsArea(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectArea)) ? static_cast<CSectArea*>(ob) : nullptr;
}

} // namespace

CSectArea::CSectArea() = default;

CSectArea::CSectArea(CSNode* n1, CSNode* n2, CSNode* n3, CMaterial* material)
{
    NewNode(n1);
    NewNode(n2);
    NewNode(n3);
    SetMaterial(material);
}

CSectArea::CSectArea(const CSectArea& source, bool keepID)
    : CSection(source, keepID), m_bPolar(source.m_bPolar)
{
    SetMaterial(source.m_pMaterial);
}

CSectArea::~CSectArea()
{
    SetMaterial(nullptr);
    for (CObList** list : {&m_pSubList, &m_pRefineList}) {
        if (!*list)
            continue;
        while (!(*list)->IsEmpty()) {
            CObject* ob = (*list)->RemoveHead();
            // A refine point is a node that this region added itself to.
            if (ob->IsKindOf(RUNTIME_CLASS(CSNode))) {
                CSNode* node = static_cast<CSNode*>(ob);
                node->RemoveGraph(this);
                if (node->GetGraphCount() == 0)
                    delete node;
                continue;
            }
            delete ob;
        }
        delete *list;
        *list = nullptr;
    }
}

CSectArea* CSectArea::MakeSibling() const
{
    CObject* ob = GetRuntimeClass()->CreateObject();
    if (CSectArea* area = AsArea(ob))
        return area;
    delete ob;
    return new CSectArea;
}

// ------------------------------------------------------------ material

void CSectArea::SetMaterial(CMaterial* material)
{
    if (material)
        material->AddElem();
    if (m_pMaterial)
        m_pMaterial->RemoveElem();
    m_pMaterial = material;
}

int CSectArea::GetMaterialID() const
{
    return m_pMaterial ? m_pMaterial->GetID() : 0;
}

void CSectArea::ReplaceMaterial(CMaterial* oldMaterial, CMaterial* newMaterial)
{
    ForSections(m_pSubList, [&](CSection* s) { s->ReplaceMaterial(oldMaterial, newMaterial); });
    if (!oldMaterial || oldMaterial == m_pMaterial)
        SetMaterial(newMaterial);
}

void CSectArea::CopyAttrib(CSection* source)
{
    if (CSectArea* area = AsArea(source)) {
        m_bPolar = area->m_bPolar;
        m_vAxes = area->m_vAxes;
    }
}

// ------------------------------------------------------------ hand-over

void CSectArea::DM_OnElements(void (*callback)(CObject*, void*), void* user)
{
    ForSections(m_pSubList, [&](CSection* s) { s->DM_OnElements(callback, user); });
}

void CSectArea::DM_OnNodes(void (*callback)(CSNode*, void*), void* user)
{
    ForSections(m_pSubList, [&](CSection* s) { s->DM_OnNodes(callback, user); });
}

void CSectArea::DM_Clean()
{
    ForSections(m_pSubList, [](CSection* s) { s->DM_Clean(); });
}

void CSectArea::DM_InsertNodeBCs(CModelInfo& model)
{
    ForSections(m_pSubList, [&](CSection* s) { s->DM_InsertNodeBCs(model); });
}

void CSectArea::DM_GetInfo(CInfoContainer& container)
{
    ForSections(m_pSubList, [&](CSection* s) { s->DM_GetInfo(container); });
}

void CSectArea::DM_SetResults(CModelInfo& model)
{
    ForSections(m_pSubList, [&](CSection* s) { s->DM_SetResults(model); });
}

bool CSectArea::Fix(CObList*)
{
    return false;
}

double CSectArea::SumArea()
{
    // Holes report no area; only solid sub-regions add theirs.
    double sum = 0.0;
    ForSections(m_pSubList, [&](CSection* s) {
        const double a = s->SumArea();
        if (a > 0.0)
            sum += a;
    });
    return sum;
}

CObject* CSectArea::Discretize()
{
    CObject* result = nullptr;
    ForSections(m_pSubList, [&](CSection* s) {
        if (!result)
            result = s->Discretize();
    });
    return result;
}

void CSectArea::DrawStippleGL()
{
    if (!IsEmpty()) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, 0x1111);
        glBegin(GL_LINE_STRIP);
        for (POSITION pos = GetHeadPosition(); pos;) {
            const CSNode* n = GetNextNode(pos);
            glVertex3d(n->x, n->y, n->z);
        }
        const CSNode* first = GetHeadNode();
        glVertex3d(first->x, first->y, first->z);
        glEnd();
        glDisable(GL_LINE_STIPPLE);
    }
    ForSections(m_pSubList, [](CSection* s) { s->DrawStippleGL(); });
}

void CSectArea::SortNodes() {}

// ------------------------------------------------------------ graph + subs

int CSectArea::CountEdges(bool all)
{
    int n = CGraph::CountEdges(all);
    ForGraphs(m_pSubList, [&](CGraph* g) { n += g->CountEdges(all); });
    return n;
}

CObject* CSectArea::GetSubObject(unsigned long id, bool subsOnly)
{
    CObject* found = nullptr;
    ForGraphs(m_pSubList, [&](CGraph* g) {
        if (!found)
            found = g->GetObject(id, subsOnly);
    });
    return found;
}

CObject* CSectArea::GetObject(unsigned long id, bool subsOnly)
{
    if (id == 0)
        return nullptr;
    if (CObject* found = GetSubObject(id, false))
        return found;
    return subsOnly ? nullptr : CGraph::GetObject(id, false);
}

void CSectArea::ReleaseCopyNodes(bool deep)
{
    ForGraphs(m_pSubList, [&](CGraph* g) { g->ReleaseCopyNodes(deep); });
    CGraph::ReleaseCopyNodes(deep);
}

void CSectArea::OnEdges(void (*f)(CEdge*), bool ownOnly)
{
    CGraph::OnEdges(f, true);
    ForGraphs(m_pSubList, [&](CGraph* g) { g->OnEdges(f, ownOnly); });
}

void CSectArea::OnEdges(void (*f)(CObject*, void*), void* user, bool ownOnly)
{
    CGraph::OnEdges(f, user, true);
    ForGraphs(m_pSubList, [&](CGraph* g) { g->OnEdges(f, user, ownOnly); });
}

void CSectArea::OnNodes(void (*f)(CSNode*), bool ownOnly)
{
    CGraph::OnNodes(f, true);
    ForGraphs(m_pSubList, [&](CGraph* g) { g->OnNodes(f, ownOnly); });
}

void CSectArea::RenumberNodes(long& next, long step)
{
    CGraph::RenumberNodes(next, step);
    ForGraphs(m_pSubList, [&](CGraph* g) { g->RenumberNodes(next, step); });
}

CEdge* CSectArea::GetEdge(int shortest)
{
    CEdge* best = CGraph::GetEdge(shortest);
    double bestLength = best ? best->GetLength() : 0.0;
    ForGraphs(m_pSubList, [&](CGraph* g) {
        CEdge* e = g->GetEdge(shortest);
        if (!e)
            return;
        const double len = e->GetLength();
        if (!best || (shortest ? len < bestLength : len > bestLength)) {
            best = e;
            bestLength = len;
        }
    });
    return best;
}

void CSectArea::GLDrawNodeLinks(bool unused)
{
    CGraph::GLDrawNodeLinks(unused);
    ForGraphs(m_pSubList, [&](CGraph* g) { g->GLDrawNodeLinks(unused); });
}

void CSectArea::AddLinksToCopyNodes()
{
    ForGraphs(m_pSubList, [](CGraph* g) { g->AddLinksToCopyNodes(); });
    CGraph::AddLinksToCopyNodes();
}

void CSectArea::DrawEdgeNameGL()
{
    CGraph::DrawEdgeNameGL();
    ForGraphs(m_pSubList, [](CGraph* g) { g->DrawEdgeNameGL(); });
}

void CSectArea::DrawNameGL()
{
    CGraph::DrawNameGL();
    ForGraphs(m_pSubList, [](CGraph* g) { g->DrawNameGL(); });
}

unsigned long CSectArea::GetMaxID(unsigned flags)
{
    unsigned long max = CGraph::GetMaxID(flags);
    ForGraphs(m_pSubList, [&](CGraph* g) { max = std::max(max, g->GetMaxID(flags)); });
    return max;
}

void CSectArea::DrawNodeNumbers()
{
    CGraph::DrawNodeNumbers();
    ForGraphs(m_pSubList, [](CGraph* g) { g->DrawNodeNumbers(); });
}

// ------------------------------------------------------------ section + subs

int CSectArea::RemoveDoubleEdges()
{
    int n = CGraph::RemoveDoubleEdges();
    ForSections(m_pSubList, [&](CSection* s) { n += s->RemoveDoubleEdges(); });
    return n;
}

void CSectArea::SetNodSpace(double spacing)
{
    CGraph::SetNodSpace(spacing, true);
    ForSections(m_pSubList, [&](CSection* s) { s->SetNodSpace(spacing); });
}

void CSectArea::GetDist(double& max, double& min)
{
    CGraph::GetDist(max, min);
    ForSections(m_pSubList, [&](CSection* s) { s->GetDist(max, min); });
}

void CSectArea::SubDivide()
{
    CGraph::SubDivide();
    ForSections(m_pSubList, [](CSection* s) { s->SubDivide(); });
}

void CSectArea::Update(bool validate, bool resetSize)
{
    CGraph::Update(validate, resetSize);
    if (validate)
        Validate();
    ForSections(m_pSubList, [&](CSection* s) { s->Update(validate, resetSize); });
}

void CSectArea::Translate(double dx, double dy, double dz, bool all)
{
    ForSections(m_pSubList, [&](CSection* s) { s->Translate(dx, dy, dz, false); });
    CGraph::Translate(dx, dy, dz, all);
}

void CSectArea::DrawDXF(CFile* file)
{
    CGraph::DrawDXF(file);
    ForSections(m_pSubList, [&](CSection* s) { s->DrawDXF(file); });
}

CObject* CSectArea::GetObjectFromString(CString name)
{
    CObject* found = CGraph::GetObjectFromString(name);
    ForSections(m_pSubList, [&](CSection* s) {
        if (!found)
            found = s->GetObjectFromString(name);
    });
    return found;
}

void CSectArea::Rotate(double angle, double c1, double c2, unsigned axis, bool validate, bool all)
{
    CGraph::Rotate(angle, c1, c2, axis, validate, all);
    ForSections(m_pSubList, [&](CSection* s) { s->Rotate(angle, c1, c2, axis, validate, all); });
    if (validate)
        Validate();
}

CObList* CSectArea::Find2DCells()
{
    return IsEmpty() ? nullptr : CGraph::Find2DCells(GetHeadNode(), true);
}

void CSectArea::ConvexHull(CObList& hull)
{
    CGraph::ConvexHull(this, hull);
}

// ------------------------------------------------------------ nodes

CObList* CSectArea::GetNodes()
{
    // The sub-sections' boundary nodes first, in list order, then the
    // region's own.
    CObList* out = new CObList;
    ForGraphs(m_pSubList, [&](CGraph* g) { out->AddTail(static_cast<CObList*>(g)); });
    out->AddTail(static_cast<CObList*>(this));
    return out;
}

void CSectArea::GetNodes(CObList& out)
{
    CGraph::GetNodes(out);
    ForGraphs(m_pSubList, [&](CGraph* g) { g->GetNodes(out); });
}

bool CSectArea::DeleteNode(CSNode* node)
{
    if (!RemoveNode(node)) {
        NewNode(node);
        return false;
    }
    if (m_pNodeList)
        m_pNodeList->RemoveNode(node);
    delete node;
    return true;
}

namespace {

// Whether graphs other than a region hold an edge along the region's
// outline, answered in time linear in the outline: the answer of
// IsEdgeInGraph, with the regions' node positions looked up in tables
// built once per region asked.
class OutlineEdgeHolders {
public:
    // How many graphs of the edge's first node hold the edge a-b.
    int Count(CSNode* a, CSNode* b, CEdge* edge)
    {
        int holders = 0;
        CObList* graphs = a->GetGraphList();
        if (!graphs)
            return 0;
        for (POSITION g = graphs->GetHeadPosition(); g;) {
            CGraph* graph = dynamic_cast<CGraph*>(graphs->GetNext(g));
            // A graph holds an edge only when it holds both its nodes.
            if (!graph || b->IsGraphInList(graph) < 0)
                continue;
            if (graph->IsKindOf(RUNTIME_CLASS(CSectArea)) ? Along(graph, edge)
                                                          : graph->IsEdgeInGraph(edge))
                ++holders;
        }
        return holders;
    }

private:
    struct Outline {
        std::vector<CSNode*> nodes;
        std::unordered_map<const CSNode*, std::size_t> first; // first position of each node
    };

    // CSectArea::IsEdgeInGraph: the first of the edge's nodes in the
    // region's list has the other one before or after it (cyclically).
    bool Along(CGraph* region, CEdge* edge)
    {
        const Outline& o = OutlineOf(region);
        const std::size_t n = o.nodes.size();
        if (n < 2)
            return false;
        std::size_t at = n;
        for (const CSNode* end : {edge->GetNode1(), edge->GetNode2()}) {
            const auto it = o.first.find(end);
            if (it != o.first.end())
                at = std::min(at, it->second);
        }
        if (at == n)
            return false;
        const CObject* other = edge->GetNode(o.nodes[at]);
        return o.nodes[(at + 1) % n] == other || o.nodes[(at + n - 1) % n] == other;
    }

    const Outline& OutlineOf(CGraph* region)
    {
        const auto found = m_outlines.try_emplace(region);
        Outline& outline = found.first->second;
        if (found.second) {
            region->ForEachNode(false, [&outline](CSNode* node) {
                outline.first.try_emplace(node, outline.nodes.size());
                outline.nodes.push_back(node);
            });
        }
        return outline;
    }

    std::unordered_map<const CGraph*, Outline> m_outlines;
};

} // namespace

void CSectArea::ClearNodes()
{
    const int n = GetCount();
    if (n > 1) {
        std::vector<CSNode*> nodes;
        nodes.reserve(static_cast<std::size_t>(n));
        ForEachNode(false, [&](CSNode* node) { nodes.push_back(node); });
        OutlineEdgeHolders holders;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            CSNode* a = nodes[i];
            CSNode* b = i + 1 < nodes.size() ? nodes[i + 1] : (n > 2 ? nodes[0] : nullptr);
            if (!b)
                break;
            CEdge* edge = GetComEdge(a, b);
            if (!edge)
                continue;
            // An edge that another graph of its first node also runs along
            // belongs to a neighbour too and stays.
            if (holders.Count(a, b, edge) <= 1)
                delete edge;
        }
    }
    // The nodes that are this region's alone go, and leave the document's
    // node list in one pass.
    std::vector<CSNode*> gone;
    while (!IsEmpty()) {
        CSNode* node = static_cast<CSNode*>(RemoveHead());
        const bool alone = node->GetGraphCount() == 1 && node->GetPrimaryGraph() == this;
        node->RemoveGraph(this);
        if (alone)
            gone.push_back(node);
    }
    if (m_pNodeList && !gone.empty())
        m_pNodeList->RemoveNodes(std::unordered_set<const CObject*>(gone.begin(), gone.end()));
    for (CSNode* node : gone)
        delete node;
}

void CSectArea::ReleaseNodes()
{
    std::vector<CSNode*> gone;
    while (!IsEmpty()) {
        CSNode* node = static_cast<CSNode*>(RemoveHead());
        node->RemoveGraph(this);
        if (node->GetGraphCount() == 0)
            gone.push_back(node);
    }
    if (m_pNodeList && !gone.empty())
        m_pNodeList->RemoveNodes(std::unordered_set<const CObject*>(gone.begin(), gone.end()));
    for (CSNode* node : gone)
        delete node;
}

// ------------------------------------------------------------ refine list

void CSectArea::AddRefinePoint(CSNode* node)
{
    if (!node)
        return;
    if (!m_pRefineList) {
        m_pRefineList = new CObList;
        m_pRefineList->SetModelList();
    }
    ++m_nRefine;
    POSITION pos = m_pRefineList->AddTail(node);
    node->AddGraph(this);
    if (!m_posFirstPoint)
        m_posFirstPoint = pos;
}

void CSectArea::AddRefineGraph(CGraph* graph)
{
    if (!graph)
        return;
    if (!m_pRefineList) {
        m_pRefineList = new CObList;
        m_pRefineList->SetModelList();
    }
    m_nRefine += graph->GetCount();
    m_pRefineList->AddHead(static_cast<CObject*>(graph));
    // Cell searches must not walk into the refine graph.
    for (POSITION pos = graph->GetHeadPosition(); pos;) {
        CSNode* node = graph->GetNextNode(pos);
        if (CObList* edges = node->GetEdgeList())
            for (POSITION e = edges->GetHeadPosition(); e;)
                static_cast<CEdge*>(edges->GetNext(e))->SetTraversed(true);
    }
}

// ------------------------------------------------------------ sub-sections

void CSectArea::RemoveInnerSect(CGraph* sub)
{
    if (!m_pSubList)
        return;
    if (sub) {
        if (POSITION pos = m_pSubList->Find(sub)) {
            if (CSectArea* area = AsArea(sub))
                area->SetOuterSect(nullptr);
            m_pSubList->RemoveAt(pos);
        }
    } else {
        ForSubs(m_pSubList, [](CObject* ob) {
            if (CSectArea* area = AsArea(ob))
                area->SetOuterSect(nullptr);
        });
        m_pSubList->RemoveAll();
    }
    if (m_pSubList->IsEmpty()) {
        delete m_pSubList;
        m_pSubList = nullptr;
    }
}

void CSectArea::InsertSubSect(CSectArea* sub)
{
    if (!sub)
        return;
    if (!m_pSubList) {
        m_pSubList = new CObList;
        m_pSubList->SetModelList();
    }
    sub->SetOuterSect(this);
    if (!m_pSubList->Find(sub))
        m_pSubList->AddTail(static_cast<CObject*>(sub));
}

int CSectArea::FindIntCells(CObList* out)
{
    int segments = 0;
    ForGraphs(m_pSubList, [&](CGraph* g) {
        if (g->IsEmpty())
            return;
        CObList* cells = g->Find2DCells(g->GetHeadNode(), false);
        if (!cells)
            return;
        for (POSITION c = cells->GetHeadPosition(); c;) {
            CObList* cell = static_cast<CObList*>(cells->GetNext(c));
            for (POSITION e = cell->GetHeadPosition(); e;)
                segments += 1 + static_cast<CEdge*>(cell->GetNext(e))->GetSubNodeCount();
        }
        for (POSITION c = cells->GetTailPosition(); c;) {
            CObject* cell = cells->GetPrev(c);
            if (out)
                out->AddHead(cell);
            else
                delete cell;
        }
        delete cells;
    });
    ForGraphs(m_pSubList, [](CGraph* g) { g->ResetCellEdge(); });
    return segments;
}

// ------------------------------------------------------------ archive

void CSectArea::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CGraph::Serialize(ar);
        m_vAxes.Serialize(ar);
        ar << static_cast<LONG>(m_nRefine);
        ar << static_cast<CObject*>(m_pMaterial);
        ar << static_cast<CObject*>(m_pRefineList);
        ar << static_cast<CObject*>(m_pSubList);
        ar << static_cast<LONG>(m_bPolar ? 1 : 0);
        CObject* first = m_pRefineList && m_posFirstPoint ? m_pRefineList->GetAt(m_posFirstPoint)
                                                          : nullptr;
        ar << first;
        return;
    }
    // A failure reaches the caller as it is: what was read so far stays
    // linked consistently, for the discard of the failed load.
    CGraph::Serialize(ar);
    m_vAxes.Serialize(ar);
    LONG count = 0;
    ar >> count;
    m_nRefine = count;
    // The material is shared: the region counts itself as one of its users.
    if (CMaterial* material = ar.ReadObjectAs<CMaterial>(RUNTIME_CLASS(CMaterial)))
        SetMaterial(material);
    // The refine list owns its graphs; its points are new nodes that the
    // region adds itself to (as AddRefinePoint does).
    if (CObList* refine = ar.ReadListObject([](CArchive& a) -> CObject* {
            CObject* ob = a.ReadCheckedObject(nullptr, CArchive::useOwned);
            if (!ob || !(ob->IsKindOf(RUNTIME_CLASS(CGraph)) || ob->IsKindOf(RUNTIME_CLASS(CSNode))))
                AfxThrowArchiveException(CArchiveException::badClass);
            return ob;
        })) {
        m_pRefineList = refine;
        m_pRefineList->SetModelList();
        AfxNoteModelEdit();
        ForSubs(m_pRefineList, [this](CObject* ob) {
            if (ob->IsKindOf(RUNTIME_CLASS(CSNode)))
                static_cast<CSNode*>(ob)->AddGraph(this);
        });
    }
    // The region owns its sub-sections, and is their outer region.
    if (CObList* subs = ar.ReadListObject([](CArchive& a) -> CObject* {
            CSection* sub = a.ReadObjectAs<CSection>(RUNTIME_CLASS(CSection), CArchive::useOwned);
            if (!sub)
                AfxThrowArchiveException(CArchiveException::badClass);
            return sub;
        })) {
        m_pSubList = subs;
        m_pSubList->SetModelList();
        AfxNoteModelEdit();
        ForSubs(m_pSubList, [this](CObject* s) {
            if (CSectArea* area = AsArea(s))
                area->SetOuterSect(this);
        });
    }
    LONG polar = 0;
    ar >> polar;
    m_bPolar = polar != 0;
    // The first point is one of the refine list's, read before.
    CObject* first = ar.ReadCheckedObject(nullptr, CArchive::useExisting);
    m_posFirstPoint = first && m_pRefineList ? m_pRefineList->Find(first) : nullptr;
}

// ------------------------------------------------------------ region algebra

bool CSectArea::IsCCLW()
{
    return IsCClW(this);
}

bool CSectArea::Validate()
{
    RemoveDoubleEdges();
    if (IsCCLW())
        return true;
    CObList reversed;
    while (!IsEmpty())
        reversed.AddHead(RemoveHead());
    AddTail(&reversed);
    return IsCCLW();
}

CSection* CSectArea::IsPointInside2D(double x, double y, bool thisOnly)
{
    if (!CGraph::IsPointInside2D(*this, x, y))
        return nullptr;
    if (!thisOnly && m_pSubList)
        for (POSITION pos = m_pSubList->GetHeadPosition(); pos;)
            if (CSectArea* sub = AsArea(m_pSubList->GetNext(pos)))
                if (CSection* hit = sub->IsPointInside2D(x, y, false))
                    return hit;
    return this;
}

CSectArea* CSectArea::IsNodeInside2D(CSNode* node, bool thisOnly)
{
    if (!node || Find(node) || !CGraph::IsPointInside2D(*this, node->x, node->y))
        return nullptr;
    if (!m_pSubList || thisOnly)
        return this;
    for (POSITION pos = m_pSubList->GetHeadPosition(); pos;)
        if (CSectArea* sub = AsArea(m_pSubList->GetNext(pos)))
            if (CSectArea* hit = sub->IsNodeInside2D(node, false))
                return hit;
    return this;
}

bool CSectArea::SameNodes(CObList* nodes)
{
    if (!nodes || nodes->GetCount() != GetCount())
        return false;
    if (IsEmpty())
        return true;
    auto matches = [&](bool forwards) {
        CObject* start = forwards ? GetHead() : GetTail();
        POSITION at = nodes->Find(start);
        if (!at)
            return false;
        POSITION mine = forwards ? GetHeadPosition() : GetTailPosition();
        while (mine) {
            CObject* a = forwards ? GetNext(mine) : GetPrev(mine);
            if (a != nodes->GetAt(at))
                return false;
            nodes->GetNext(at);
            if (!at)
                at = nodes->GetHeadPosition();
        }
        return true;
    };
    return matches(true) || matches(false);
}

bool CSectArea::IsEdgeInGraph(CEdge* edge)
{
    if (!edge || GetCount() < 2)
        return false;
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION here = pos;
        CSNode* node = GetNextNode(pos);
        if (node != edge->GetNode1() && node != edge->GetNode2())
            continue;
        CObject* other = edge->GetNode(node);
        POSITION next = pos ? pos : GetHeadPosition();
        POSITION prev = here;
        GetPrev(prev);
        if (!prev)
            prev = GetTailPosition();
        return GetAt(next) == other || GetAt(prev) == other;
    }
    return false;
}

namespace {

// A triangle whose area, relative to its longer side from the first node,
// is within rounding noise.
bool IsDegenerate(const CSNode* a, const CSNode* c, const CSNode* b)
{
    const double ux = b->x - a->x, uy = b->y - a->y, uz = b->z - a->z;
    const double vx = c->x - a->x, vy = c->y - a->y, vz = c->z - a->z;
    const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
    const double len = std::max(std::sqrt(ux * ux + uy * uy + uz * uz),
                                std::sqrt(vx * vx + vy * vy + vz * vz));
    const double ratio = len > 0.0 ? 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz) / len : 0.0;
    return std::fabs(ratio) <= 1e8 * 2.220446049250313e-16;
}

// The turn from the edge prev-node to the next edge clockwise around node.
double ClockwiseTurn(CSNode* prev, CSNode* node)
{
    double turn = 0.0;
    if (CEdge* edge = CGraph::GetComEdge(prev, node)) {
        CSNode* at = prev;
        CEdge* next = nullptr;
        edge->Next2DEdgeClW(at, next, turn);
    }
    return turn;
}

} // namespace

CSectArea* CSectArea::MakeRegion(const std::vector<CSNode*>& nodes)
{
    CSectArea* region = MakeSibling();
    region->SetMaterial(m_pMaterial);
    region->CopyAttrib(this);
    for (CSNode* n : nodes)
        region->NewNode(n);
    const std::size_t n = nodes.size();
    bool refuse = n == 3 && IsDegenerate(nodes[0], nodes[1], nodes[2]);
    if (!refuse) {
        CSNode* ref = n == 3 ? nodes.front() : nodes.back();
        if (CObList* graphs = ref->GetGraphList())
            for (POSITION pos = graphs->GetHeadPosition(); pos && !refuse;) {
                CSectArea* other = AsArea(graphs->GetNext(pos));
                if (other && other != region && other->SameNodes(region))
                    refuse = true;
            }
    }
    if (refuse) {
        // The nodes are the caller's: they leave the refused region first,
        // so that deleting it never takes a node with it.
        while (!region->IsEmpty())
            static_cast<CSNode*>(region->RemoveHead())->RemoveGraph(region);
        delete region;
        return nullptr;
    }
    const char* prefix = n == 3 ? "Triangle" : n == 4 ? "Quad" : "Polygon";
    // Graph identifiers start at 4000000001: the first region shows 1.
    const unsigned number = static_cast<DWORD>(region->GetID()) - 4000000000u;
    region->SetName(CString(AfxFormat("%s (%u)", prefix, number).c_str()));
    region->Update(true, false);
    return region;
}

CSection* CSectArea::NewSect(CObList* chain, CObList* out)
{
    if (!chain || chain->GetCount() < 3)
        return nullptr;
    std::vector<CSNode*> nodes;
    for (POSITION pos = chain->GetHeadPosition(); pos;)
        nodes.push_back(static_cast<CSNode*>(chain->GetNext(pos)));
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        CSNode* a = nodes[i];
        CSNode* b = nodes[(i + 1) % nodes.size()];
        if (a != b && !GetComEdge(a, b))
            CreateEdge(a, b);
    }
    // Pinch points: where the chain passes a node twice, one occurrence
    // goes and the corner it made is cut off as a triangle of its own.
    if (out)
        for (std::size_t i = 0; i < nodes.size() && nodes.size() > 3;) {
            auto later = std::find(nodes.begin() + static_cast<long>(i) + 1, nodes.end(), nodes[i]);
            if (later == nodes.end()) {
                ++i;
                continue;
            }
            const std::size_t j = static_cast<std::size_t>(later - nodes.begin());
            const std::size_t size = nodes.size();
            CSNode* pinch = nodes[i];
            const double first = ClockwiseTurn(nodes[(i + size - 1) % size], pinch);
            const double second = ClockwiseTurn(nodes[j - 1], pinch);
            const std::size_t gone = first <= second ? j : i;
            CSNode* before = nodes[(gone + size - 1) % size];
            CSNode* after = nodes[(gone + 1) % size];
            nodes.erase(nodes.begin() + static_cast<long>(gone));
            if (before == after || before == pinch || after == pinch)
                continue;
            if (CSectArea* tri = MakeRegion({pinch, before, after})) {
                if (!GetComEdge(before, after))
                    CreateEdge(before, after);
                out->AddTail(static_cast<CObject*>(tri));
            }
        }
    if (nodes.size() < 3)
        return nullptr;
    CSectArea* region = MakeRegion(nodes);
    if (region && out)
        out->AddTail(static_cast<CObject*>(region));
    return region;
}

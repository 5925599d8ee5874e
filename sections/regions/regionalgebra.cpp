// Region algebra of CSectArea: cutting, merging, chain insertion and removal.
#include "sections/regions/sectarea.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

CSectArea* AsArea(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectArea)) ? static_cast<CSectArea*>(ob) : nullptr;
}

// A boundary encloses area when its shoelace area stands out of the
// rounding noise of its coordinates.
bool Encloses(const std::vector<CSNode*>& nodes)
{
    if (nodes.size() < 3)
        return false;
    double twice = 0.0, extent = 0.0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const CSNode* a = nodes[i];
        const CSNode* b = nodes[(i + 1) % nodes.size()];
        twice += a->x * b->y - b->x * a->y;
        extent = std::max({extent, std::fabs(a->x), std::fabs(a->y)});
    }
    return std::fabs(twice) > 1e8 * 2.220446049250313e-16 * std::max(extent * extent, 1e-300);
}

CString PartName(const CString& name, const char* part)
{
    const int close = name.ReverseFind(')');
    if (close < 0)
        return name + part;
    return name.Left(close) + part + name.Mid(close);
}

} // namespace

namespace {

std::vector<CSNode*> NodesOf(const CGraph& g)
{
    std::vector<CSNode*> nodes;
    nodes.reserve(static_cast<std::size_t>(g.GetCount()));
    for (POSITION pos = g.GetHeadPosition(); pos;)
        nodes.push_back(g.GetNextNode(pos));
    return nodes;
}

// What a node was before an operation that may have to be undone: its
// flags and its graph list in order (the first graph is its owner).
struct NodeState {
    CSNode* node;
    unsigned flags;
    std::vector<CObject*> graphs;
};

NodeState Remember(CSNode* node)
{
    NodeState s{node, node->m_uiFlags, {}};
    if (CObList* graphs = node->GetGraphList())
        for (POSITION pos = graphs->GetHeadPosition(); pos;)
            s.graphs.push_back(graphs->GetNext(pos));
    return s;
}

void Restore(const NodeState& s)
{
    while (CObList* graphs = s.node->GetGraphList())
        s.node->RemoveGraph(graphs->GetHead());
    for (CObject* g : s.graphs)
        s.node->AddGraph(g);
    s.node->m_uiFlags = s.flags;
}

} // namespace

CSection* CSectArea::Divide(CSNode* from, CObList* chain, CSNode* to)
{
    if (!from || !to || from == to || !Find(from) || !Find(to))
        return nullptr;
    const std::vector<CSNode*> before = NodesOf(*this);
    std::vector<CSNode*> cut;
    if (chain)
        for (POSITION pos = chain->GetHeadPosition(); pos;)
            cut.push_back(static_cast<CSNode*>(chain->GetNext(pos)));
    MakeHead(from, this);
    const std::vector<CSNode*> ring = NodesOf(*this);
    const std::size_t toAt = static_cast<std::size_t>(FindIndex(to));
    // Adjacent nodes without a chain leave nothing to cut.
    if (cut.empty() && (toAt == 1 || toAt + 1 == ring.size())) {
        MakeHead(before.front(), this);
        return nullptr;
    }
    std::vector<NodeState> saved;
    for (CSNode* n : ring)
        saved.push_back(Remember(n));
    for (CSNode* n : cut)
        saved.push_back(Remember(n));

    // The new region: from, the nodes up to to, and the chain backwards.
    // This region keeps from, the chain, to and the rest.
    CSectArea* part = MakeSibling();
    part->CopyAttrib(this);
    for (std::size_t i = 0; i <= toAt; ++i)
        part->NewNode(ring[i]);
    for (auto it = cut.rbegin(); it != cut.rend(); ++it)
        part->NewNode(*it);
    // The plain graph removal: a region's own removal joins the neighbours
    // of a removed node, which would lay a stray edge from `from` to `to`
    // beside the chain (the path below makes the edges it needs).
    for (std::size_t i = 1; i < toAt; ++i)
        CGraph::RemoveNode(ring[i]);
    RemoveHead();
    for (auto it = cut.rbegin(); it != cut.rend(); ++it) {
        AddHead(*it);
        (*it)->AddGraph(this);
    }
    AddHead(from);
    std::vector<CSNode*> path{from};
    path.insert(path.end(), cut.begin(), cut.end());
    path.push_back(to);
    std::vector<std::pair<CEdge*, CSNode*>> made;
    for (std::size_t i = 0; i < path.size(); ++i) {
        path[i]->m_uiFlags = 0;
        if (i + 1 < path.size() && !GetComEdge(path[i], path[i + 1]))
            made.emplace_back(CreateEdge(path[i], path[i + 1]), path[i]);
    }
    part->SetMaterial(m_pMaterial);

    // Both parts must come out counter-clockwise and enclose area.
    if (!(part->Validate() && Encloses(NodesOf(*part)) && Validate() &&
          Encloses(NodesOf(*this)))) {
        // Undo everything: the new edges and region go, the boundary, the
        // nodes' owners and flags are as they were; the nodes stay.
        for (auto& [edge, end] : made)
            if (edge && end->GetEdgeList() && end->GetEdgeList()->Find(edge))
                delete edge;
        while (!part->IsEmpty())
            static_cast<CSNode*>(part->RemoveHead())->RemoveGraph(part);
        delete part;
        --CGraph::lIDGraph;
        RemoveAll();
        for (CSNode* n : before)
            AddTail(n);
        for (const NodeState& s : saved)
            Restore(s);
        return nullptr;
    }

    if (m_pOuter)
        m_pOuter->InsertSubSect(part);
    if (m_pSubList) {
        std::vector<CSectArea*> moving;
        for (POSITION pos = m_pSubList->GetHeadPosition(); pos;) {
            CSectArea* sub = AsArea(m_pSubList->GetNext(pos));
            if (sub && !sub->IsEmpty() &&
                part->IsPointInside2D(sub->GetHeadNode()->x, sub->GetHeadNode()->y, true))
                moving.push_back(sub);
        }
        for (CSectArea* sub : moving) {
            RemoveInnerSect(sub);
            part->InsertSubSect(sub);
        }
    }
    const CString name = GetName();
    SetName(PartName(name, ",1"));
    part->SetName(PartName(name, ",2"));
    return part;
}

bool CSectArea::AddChain(CSNode* a, CObList* chain, CSNode* b)
{
    if (!a || !b || !a->GetGraphList() || !b->GetGraphList())
        return false;
    if (CEdge* edge = GetComEdge(a, b))
        delete edge;
    std::vector<CSNode*> cut;
    if (chain)
        for (POSITION pos = chain->GetHeadPosition(); pos;)
            cut.push_back(static_cast<CSNode*>(chain->GetNext(pos)));
    std::vector<CSectArea*> regions;
    for (POSITION pos = a->GetGraphList()->GetHeadPosition(); pos;) {
        CObject* g = a->GetGraphList()->GetNext(pos);
        CSectArea* area = AsArea(g);
        if (area && b->GetGraphList()->Find(g))
            regions.push_back(area);
    }
    for (CSectArea* region : regions) {
        POSITION pa = region->Find(a);
        POSITION next = pa;
        region->GetNext(next);
        if (!next)
            next = region->GetHeadPosition();
        // The boundary runs a, b: the chain goes in forwards after a;
        // otherwise it runs b, a and the chain goes in backwards after b.
        if (region->GetAt(next) == b) {
            POSITION at = pa;
            for (CSNode* n : cut)
                at = region->InsertAfter(at, n);
        } else {
            POSITION pb = region->Find(b);
            POSITION after = pb;
            region->GetNext(after);
            if (!after)
                after = region->GetHeadPosition();
            if (region->GetAt(after) != a)
                continue;
            POSITION at = pb;
            for (auto it = cut.rbegin(); it != cut.rend(); ++it)
                at = region->InsertAfter(at, *it);
        }
        for (CSNode* n : cut)
            n->AddGraph(region);
    }
    // The boundary stays closed by edges along the chain.
    std::vector<CSNode*> path{a};
    path.insert(path.end(), cut.begin(), cut.end());
    path.push_back(b);
    CGraph* maker = regions.empty() ? static_cast<CGraph*>(this) : regions.front();
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        if (!GetComEdge(path[i], path[i + 1]))
            maker->CreateEdge(path[i], path[i + 1]);
    return true;
}

bool CSectArea::Union(CGraph* otherGraph)
{
    CSectArea* other = AsArea(otherGraph);
    if (!other || other == this || IsEmpty() || other->IsEmpty())
        return false;
    // The start of the shared run; a run through this region's first node
    // may wrap past the end of the list.
    CSNode* start = nullptr;
    for (POSITION pos = GetHeadPosition(); pos && !start;) {
        CSNode* n = GetNextNode(pos);
        if (other->Find(n))
            start = n;
    }
    if (!start)
        return false;
    if (start == GetHeadNode()) {
        bool allShared = true;
        for (POSITION pos = GetTailPosition(); pos;) {
            CSNode* n = GetPrevNode(pos);
            if (n == GetHeadNode())
                break;
            if (!other->Find(n)) {
                allShared = false;
                break;
            }
            start = n;
        }
        if (allShared) {
            // Every node is shared (a region filling a notch of the other):
            // the run starts where the other region's boundary leaves this
            // one, read along the other region.
            const std::vector<CSNode*> ring = NodesOf(*other);
            start = nullptr;
            for (std::size_t i = 0; i < ring.size() && !start; ++i) {
                CSNode* here = ring[i];
                CSNode* next = ring[(i + 1) % ring.size()];
                if (Find(here) && !Find(next))
                    start = here;
            }
            if (!start)
                return false; // the same cycle: nothing would be left
        }
    }
    MakeHead(start, this);
    MakeHead(start, other);
    std::vector<CSNode*> mine, theirs;
    for (POSITION pos = GetHeadPosition(); pos;)
        mine.push_back(GetNextNode(pos));
    for (POSITION pos = other->GetHeadPosition(); pos;)
        theirs.push_back(other->GetNextNode(pos));
    std::size_t run = 1;
    while (run < mine.size() && run < theirs.size() && mine[run] == theirs[theirs.size() - run])
        ++run;
    if (run < 2)
        return false;
    // A second contact anywhere after the run would pinch the merged region.
    for (std::size_t i = run; i < mine.size(); ++i)
        if (other->Find(mine[i]))
            return false;
    CSNode* end = mine[run - 1];
    // The graph's own node operations: a meshed region's would join the
    // neighbours of a removed node, or an added node to the run's end, by
    // edges across the merged region, which a later repair or a division
    // would trace as cells.
    for (std::size_t i = 1; i + 1 < run; ++i)
        CGraph::RemoveNode(mine[i]);
    if (GetCount() == 2 && !GetComEdge(GetHeadNode(), GetTailNode()))
        CreateEdge(GetHeadNode(), GetTailNode());
    CSNode* prev = start;
    for (std::size_t i = 1; i + run - 1 < theirs.size(); ++i) {
        CSNode* n = theirs[i];
        CGraph::AddNode(prev, n, end);
        if (!GetComEdge(prev, n))
            CreateEdge(prev, n);
        prev = n;
    }
    if (!GetComEdge(prev, end))
        CreateEdge(prev, end);
    if (CObList* subs = other->GetSubList()) {
        std::vector<CSectArea*> moving;
        for (POSITION pos = subs->GetHeadPosition(); pos;)
            if (CSectArea* sub = AsArea(subs->GetNext(pos)))
                moving.push_back(sub);
        other->RemoveInnerSect(nullptr);
        for (CSectArea* sub : moving)
            InsertSubSect(sub);
    }
    delete other;
    Validate();
    return true;
}

void CSectArea::DeleteThis(CObList* list)
{
    if (list == static_cast<CObList*>(m_pOuter))
        list = nullptr;
    ReleaseNodes();
    if (!m_pOuter && !list) {
        delete this;
        return;
    }
    if (list)
        if (POSITION pos = list->Find(this))
            list->RemoveAt(pos);
    CSectArea* outer = m_pOuter;
    if (outer)
        outer->RemoveInnerSect(this);
    if (!m_pSubList) {
        delete this;
        return;
    }
    std::vector<CSection*> handed;
    for (POSITION pos = m_pSubList->GetHeadPosition(); pos;) {
        CObject* ob = m_pSubList->GetNext(pos);
        if (ob->IsKindOf(RUNTIME_CLASS(CSection)))
            handed.push_back(static_cast<CSection*>(ob));
    }
    m_pSubList->RemoveAll();
    delete m_pSubList;
    m_pSubList = nullptr;
    for (CSection* sub : handed) {
        CSectArea* area = AsArea(sub);
        if (outer && area) {
            outer->InsertSubSect(area);
        } else if (list) {
            list->AddTail(static_cast<CObject*>(sub));
            if (area)
                area->SetOuterSect(nullptr);
        }
    }
    for (auto it = handed.rbegin(); it != handed.rend(); ++it)
        (*it)->Fix(list);
    if (outer) {
        // A handed-on region with the same cycle as a later one gives its
        // sub-sections to that one and goes.
        for (std::size_t i = 0; i < handed.size(); ++i) {
            CSectArea* a = AsArea(handed[i]);
            if (!a)
                continue;
            for (std::size_t j = handed.size(); j-- > i + 1;) {
                CSectArea* b = AsArea(handed[j]);
                if (!b || !b->SameNodes(a))
                    continue;
                std::vector<CSectArea*> subs;
                if (CObList* l = a->GetSubList())
                    for (POSITION pos = l->GetHeadPosition(); pos;)
                        if (CSectArea* s = AsArea(l->GetNext(pos)))
                            subs.push_back(s);
                a->RemoveInnerSect(nullptr);
                for (CSectArea* s : subs)
                    b->InsertSubSect(s);
                outer->RemoveInnerSect(a);
                delete a;
                handed[i] = nullptr;
                break;
            }
        }
    }
    delete this;
}

short CSectArea::Intersection2D(CEdge* edge, bool byEdges, CObList* found)
{
    short result = CGraph::Intersection2D(edge, byEdges, found);
    if (result == 0) {
        if (m_pSubList)
            for (POSITION pos = m_pSubList->GetHeadPosition(); pos && result != 1;) {
                CObject* ob = m_pSubList->GetNext(pos);
                if (!ob->IsKindOf(RUNTIME_CLASS(CSection)))
                    continue;
                const short answer = static_cast<CSection*>(ob)->Intersection2D(edge, byEdges, found);
                if (!(result == 2 && answer == 0))
                    result = answer;
            }
    } else if (result == 2 && IsEdgeInGraph(edge)) {
        // Running along one of the region's own boundary edges is a crossing.
        result = 1;
    }
    return result;
}

void CSectArea::Split(double length)
{
    if (!(length > 0.0))
        return;
    // The boundary grows while it is split: walk a snapshot of its pairs.
    std::vector<CSNode*> ring;
    for (POSITION pos = GetHeadPosition(); pos;)
        ring.push_back(GetNextNode(pos));
    for (std::size_t i = 0; ring.size() > 1 && i < ring.size(); ++i) {
        CEdge* edge = GetComEdge(ring[i], ring[(i + 1) % ring.size()]);
        if (!edge || (ring.size() == 2 && i == 1))
            continue;
        CSNode* first = edge->GetNode1();
        CSNode* second = edge->GetNode2();
        CObList* created = nullptr;
        edge->SplitLength(created, length);
        if (created && !created->IsEmpty())
            AddChain(first, created, second);
        delete created;
    }
    if (m_pSubList)
        for (POSITION pos = m_pSubList->GetHeadPosition(); pos;)
            if (CSectArea* sub = AsArea(m_pSubList->GetNext(pos)))
                sub->Split(length);
}

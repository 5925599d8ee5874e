#include "geometry/graph.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "geometry/axis.h"

IMPLEMENT_SERIAL(CGraph, CObList, 1)

DWORD CGraph::lIDGraph = 4000000001u;
BYTE CGraph::m_cVer = 0;
NODELIST* CGraph::m_pNodeList = nullptr;

namespace {

bool IsZeroVector(const double* v)
{
    return IsEqualTol(v[0], 0.0, 10000.0) && IsEqualTol(v[1], 0.0, 10000.0) &&
           IsEqualTol(v[2], 0.0, 10000.0);
}

// d := (I - m) c
void ShiftOfCentre(const CMatrix& m, const double* c, double* d)
{
    for (int i = 0; i < 3; ++i)
        d[i] = c[i] - (m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2]);
}

} // namespace

CGraph::CGraph() : CObList(10), m_ulID(lIDGraph++)
{
    SetModelList();
    m_strName.Format("Graph (%u)", static_cast<unsigned>(m_ulID - 4000000000u));
}

CGraph::CGraph(const CGraph& source) : CGraph(source, false)
{
}

CGraph::CGraph(const CGraph& source, bool keepID)
    : CObList(10), m_ulID(keepID ? source.m_ulID : lIDGraph++)
{
    SetModelList();
    if (!keepID)
        m_strName = "Copy of ";
    m_strName += source.m_strName;

    for (POSITION pos = source.GetTailPosition(); pos;) {
        CSNode* node = source.GetPrevNode(pos);
        CSNode* copy = node->GetCopyNode();
        if (!copy)
            copy = node->Copy(keepID);
        if (!Find(copy))
            AddHead(copy);
        copy->AddGraph(this);
    }
    for (POSITION pos = source.GetHeadPosition(); pos;) {
        CSNode* node = source.GetNextNode(pos);
        CObList* edges = node->GetEdgeList();
        if (!edges)
            continue;
        for (POSITION ep = edges->GetHeadPosition(); ep;) {
            CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
            CSNode* far = edge->GetNode(node);
            CSNode* c1 = edge->GetNode1()->GetCopyNode();
            CSNode* c2 = edge->GetNode2()->GetCopyNode();
            if (!far || !c1 || !c2 || c1 == c2)
                continue;
            if (far->GetCopyNode()->IsGraphInList(this) < 0 || GetComEdge(c1, c2))
                continue;
            edge->Copy(c1, c2);
        }
    }
}

CGraph::~CGraph()
{
    // A selection name never leads to a deleted object.
    AfxGetSelectionNames().Forget(this);
    while (!IsEmpty()) {
        CSNode* node = static_cast<CSNode*>(RemoveHead());
        if (node->GetGraphCount() == 1 && node->GetPrimaryGraph() == this) {
            node->RemoveGraph(this);
            delete node;
        } else {
            node->RemoveGraph(this);
        }
    }
}

// ------------------------------------------------------------ identity

CObject* CGraph::GetObjectFromString(CString name)
{
    return name == m_strName ? this : nullptr;
}

CObject* CGraph::GetObject(unsigned long id, bool flag)
{
    if (flag)
        return nullptr;
    if (id == m_ulID)
        return this;
    const bool edgeRange = id > 100000000ul && id <= 4000000000ul;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (edgeRange) {
            if (CEdge* edge = node->GetEdge(id))
                return edge;
        } else if (node->GetID() == id) {
            return node;
        }
    }
    return nullptr;
}

unsigned long CGraph::GetMaxID(unsigned flags)
{
    unsigned long max = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (flags & 4)
            max = std::max(max, node->GetMaxEdgeID());
        if (flags & 2)
            max = std::max(max, static_cast<unsigned long>(node->GetID()));
    }
    if (flags & 1)
        max = std::max(max, static_cast<unsigned long>(m_ulID));
    return max;
}

// ------------------------------------------------------------ list access

int CGraph::FindIndex(CObject* node) const
{
    int i = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++i)
        if (GetNext(pos) == node)
            return i;
    return -1;
}

CSNode* CGraph::GetNode(int i) const
{
    if (i < 0 || i > GetCount() - 1)
        return nullptr;
    return static_cast<CSNode*>(GetAt(CObList::FindIndex(i)));
}

bool CGraph::IsOwnNode(const CSNode* node) const
{
    return node->GetPrimaryGraph() == this;
}

CSNode* CGraph::GetNextPrGrNode(POSITION& pos) const
{
    while (pos) {
        CSNode* node = GetNextNode(pos);
        if (IsOwnNode(node))
            return node;
    }
    return nullptr;
}

// ------------------------------------------------------------ membership

void CGraph::NewNode(CSNode* node)
{
    if (!node || Find(node))
        return;
    AddTail(node);
    node->AddGraph(this);
}

CSNode* CGraph::NewNode(double x, double y, double z)
{
    CSNode* node = CreateNode(x, y, z);
    AddTail(node);
    node->AddGraph(this);
    return node;
}

CSNode* CGraph::CreateNode(double x, double y, double z)
{
    return new CSNode(x, y, z, nullptr, 0);
}

CEdge* CGraph::CreateEdge(CSNode* a, CSNode* b)
{
    return new CEdge(a, b);
}

bool CGraph::AddNode(CSNode* after, CSNode* node, CSNode* before)
{
    if (!node || Find(node))
        return false;
    if (after && !before) {
        POSITION at = Find(after);
        if (at)
            InsertAfter(at, node);
        else
            AddTail(node);
    } else if (!after) {
        POSITION at = before ? Find(before) : nullptr;
        if (!before)
            AddTail(node);
        else if (at)
            InsertBefore(at, node);
        else
            AddHead(node);
    } else {
        // Both neighbours: the list counts as a ring.
        if (IsEmpty())
            return false;
        CObject* head = GetHead();
        CObject* tail = GetTail();
        POSITION second = GetHeadPosition();
        GetNext(second);
        CObject* secondNode = second ? GetAt(second) : nullptr;
        const bool headInvolved = after == head || before == head;
        CObject* other = after == head ? before : after;
        if (headInvolved && other == tail && other != head) {
            AddTail(node);
        } else if (headInvolved && other == secondNode) {
            InsertAfter(GetHeadPosition(), node);
        } else if (headInvolved) {
            return false;
        } else {
            POSITION pos = GetHeadPosition();
            POSITION found = nullptr;
            CObject* first = nullptr;
            while (pos) {
                POSITION at = pos;
                CObject* o = GetNext(pos);
                if (o == after || o == before) {
                    found = at;
                    first = o;
                    break;
                }
            }
            if (!found || !pos)
                return false;
            CObject* expected = first == after ? before : after;
            if (GetAt(pos) != expected)
                return false;
            InsertAfter(found, node);
        }
    }
    node->AddGraph(this);
    return true;
}

bool CGraph::RemoveNode(CSNode* node)
{
    POSITION pos = Find(node);
    if (!pos)
        return true;
    node->RemoveGraph(this);
    RemoveAt(pos);
    return !IsEmpty();
}

bool CGraph::ReplaceNode(CSNode* oldNode, CSNode* newNode, bool deleteOld)
{
    if (oldNode == newNode || !newNode)
        return false;
    POSITION pos = Find(oldNode);
    if (!pos)
        return false;
    if (!Find(newNode)) {
        InsertBefore(pos, newNode);
        newNode->AddGraph(this);
    }
    RemoveAt(pos);
    oldNode->SetNewNode(newNode, deleteOld);
    if (!deleteOld)
        oldNode->RemoveGraph(this);
    return true;
}

void CGraph::SwitchNode(CSNode* oldNode, CSNode* newNode)
{
    std::vector<CGraph*> graphs;
    if (CObList* list = oldNode->GetGraphList())
        for (POSITION pos = list->GetHeadPosition(); pos;)
            graphs.push_back(static_cast<CGraph*>(list->GetNext(pos)));
    for (CGraph* graph : graphs)
        graph->ReplaceNode(oldNode, newNode, false);
}

bool CGraph::SameNodes(CObList* nodes)
{
    if (nodes->GetCount() != GetCount())
        return false;
    for (POSITION pos = GetHeadPosition(); pos;)
        if (!nodes->Find(GetNext(pos)))
            return false;
    return true;
}

void CGraph::GetNodes(CObList& out)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CObject* node = GetNext(pos);
        if (!out.Find(node))
            out.AddTail(node);
    }
}

void CGraph::ConnectedGraphs(CObList* out)
{
    CObList visited(10);
    for (POSITION pos = GetHeadPosition(); pos;)
        GetNextNode(pos)->ConnectedGraphs(out, &visited);
}

void CGraph::GetGraphList(CObList& out, CObList& nodes)
{
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        CObList* graphs = static_cast<CSNode*>(nodes.GetNext(pos))->GetGraphList();
        if (!graphs)
            continue;
        for (POSITION gp = graphs->GetHeadPosition(); gp;) {
            CObject* graph = graphs->GetNext(gp);
            if (!out.Find(graph))
                out.AddHead(graph);
        }
    }
}

void CGraph::GetEdgeNodes(CObList& out, CObList& edges)
{
    for (POSITION pos = edges.GetHeadPosition(); pos;) {
        CEdge* edge = static_cast<CEdge*>(edges.GetNext(pos));
        if (!out.Find(edge->GetNode1()))
            out.AddTail(edge->GetNode1());
        if (!out.Find(edge->GetNode2()))
            out.AddTail(edge->GetNode2());
    }
}

// ------------------------------------------------------------ edges

CEdge* CGraph::GetComEdge(CSNode* a, CSNode* b)
{
    if (!a || !b || a == b || !a->GetEdgeList() || !b->GetEdgeList())
        return nullptr;
    CSNode* from = a->GetEdgeList()->GetCount() < b->GetEdgeList()->GetCount() ? a : b;
    CSNode* to = from == a ? b : a;
    CObList* edges = from->GetEdgeList();
    for (POSITION pos = edges->GetHeadPosition(); pos;) {
        CEdge* edge = static_cast<CEdge*>(edges->GetNext(pos));
        if (edge->GetNode(from) == to)
            return edge;
    }
    return nullptr;
}

CEdge* CGraph::ConnectNodes(CSNode* a, CSNode* b)
{
    if (!a || !b || a == b)
        return nullptr;
    NewNode(a);
    NewNode(b);
    if (CEdge* edge = GetComEdge(a, b))
        return edge;
    return CreateEdge(a, b);
}

CEdge* CGraph::ConnectNodes(CSNode* a, double x, double y, double z)
{
    if (!a)
        return nullptr;
    CSNode* node = NewNode(x, y, z);
    NewNode(a);
    return CreateEdge(a, node);
}

CEdge* CGraph::ConnectNodes(double x1, double x2, double y1, double y2, double z1, double z2)
{
    CSNode* a = NewNode(x1, y1, z1);
    CSNode* b = NewNode(x2, y2, z2);
    return CreateEdge(a, b);
}

bool CGraph::IsEdgeInGraph(CEdge* edge)
{
    return edge && Find(edge->GetNode1()) && Find(edge->GetNode2());
}

int CGraph::CountEdges(bool all)
{
    int n = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (all || IsOwnNode(node))
            n += node->CountPositiveEdges();
    }
    return n;
}

void CGraph::OnEdges(void (*f)(CEdge*), bool ownOnly)
{
    ForEachEdge(ownOnly, f);
}

void CGraph::OnEdges(void (*f)(CObject*, void*), void* user, bool ownOnly)
{
    ForEachEdge(ownOnly, [f, user](CEdge* edge) { f(edge, user); });
}

void CGraph::GetEdges(CObList& out)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        CObList* edges = node->GetEdgeList();
        if (!edges || !IsOwnNode(node))
            continue;
        for (POSITION ep = edges->GetHeadPosition(); ep;) {
            CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
            if (edge->GetNode1() == node)
                out.AddTail(edge);
        }
    }
}

void CGraph::GetLinks(CObList& out)
{
    CObList edges(10);
    GetEdges(edges);
    for (POSITION pos = edges.GetHeadPosition(); pos;) {
        CObject* edge = edges.GetNext(pos);
        if (edge->IsKindOf(RUNTIME_CLASS(CNodeLink)))
            out.AddTail(edge);
    }
}

void CGraph::AddLinksToCopyNodes()
{
    CObList links(10);
    GetLinks(links);
    for (POSITION pos = links.GetHeadPosition(); pos;) {
        CEdge* link = static_cast<CEdge*>(links.GetNext(pos));
        link->Copy(link->GetNode1()->GetCopyNode(), link->GetNode2()->GetCopyNode());
    }
}

CEdge* CGraph::GetEdge(int shortest)
{
    CEdge* best = nullptr;
    double bestLength = 0.0;
    ForEachEdge(false, [&](CEdge* edge) {
        const double len = edge->GetLength();
        if (!best || (shortest ? len < bestLength : len > bestLength)) {
            best = edge;
            bestLength = len;
        }
    });
    return best;
}

void CGraph::GetDist(double& max, double& min)
{
    CObList edges(10);
    GetEdges(edges);
    if (edges.IsEmpty())
        return;
    if (max == -1.0)
        max = static_cast<CEdge*>(edges.GetHead())->GetLength();
    if (min == -1.0)
        min = max;
    for (POSITION pos = edges.GetHeadPosition(); pos;) {
        const double len = static_cast<CEdge*>(edges.GetNext(pos))->GetLength();
        if (len > max)
            max = len;
        if (len < min)
            min = len;
    }
}

int CGraph::RemoveDoubleEdges()
{
    int count = 0;
    for (POSITION np = GetHeadPosition(); np;) {
        CSNode* node = GetNextNode(np);
        CObList* edges = node->GetEdgeList();
        if (!edges)
            continue;
        for (POSITION pos = edges->GetHeadPosition(); pos;) {
            CSNode* far = static_cast<CEdge*>(edges->GetNext(pos))->GetNode(node);
            for (POSITION q = pos; q;) {
                POSITION at = q;
                CEdge* later = static_cast<CEdge*>(edges->GetNext(q));
                if (later->GetNode(node) != far)
                    continue;
                if (at == pos)
                    pos = q;
                delete later; // leaves both nodes' lists
                ++count;
            }
        }
    }
    return count;
}

void CGraph::ResetCellEdge()
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CObList* edges = GetNextNode(pos)->GetEdgeList();
        if (!edges)
            continue;
        for (POSITION ep = edges->GetHeadPosition(); ep;) {
            CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
            edge->SetTraversed(false);
            edge->SetCellEdge(true);
        }
    }
}

void CGraph::SubDivide()
{
    CObList edges(10);
    GetEdges(edges);
    for (POSITION pos = edges.GetHeadPosition(); pos;)
        static_cast<CEdge*>(edges.GetNext(pos))->SubDivide();
}

void CGraph::SetNodSpace(double spacing, bool force)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (IsOwnNode(node) && (force || node->GetSNodSpace() > spacing))
            node->SetSNodSpace(spacing, false);
    }
}

void CGraph::Update(bool, bool resetSize)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        GetNextNode(pos)->Update(false, resetSize);
}

// ------------------------------------------------------------ solitary nodes

void CGraph::GetSolitaryNodes(CObList& out)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (!node->IsConnected() && !out.Find(node))
            out.AddHead(node);
    }
}

int CGraph::RmSolitaryNodes(bool destroy)
{
    int count = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (node->IsConnected())
            continue;
        ++count;
        if (destroy && node->GetGraphCount() <= 1)
            delete node; // leaves this list
        else
            RemoveNode(node);
    }
    return count;
}

void CGraph::IsDangling(CObList& nodes)
{
    CObList edges(10);
    GetEdges(edges);
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        POSITION at = pos;
        CSNode* node = static_cast<CSNode*>(nodes.GetNext(pos));
        for (POSITION ep = edges.GetHeadPosition(); ep;) {
            if (static_cast<CEdge*>(edges.GetNext(ep))->IsNodeInDef(node)) {
                nodes.RemoveAt(at);
                break;
            }
        }
    }
}

CSNode* CGraph::FindOverlap(CSNode* node, POSITION start)
{
    for (POSITION pos = start ? start : GetHeadPosition(); pos;) {
        CSNode* other = GetNextNode(pos);
        if (other != node && other->Compare(node, 10000000.0))
            return other;
    }
    return nullptr;
}

// ------------------------------------------------------------ measures

void CGraph::GetMaxMin(CObList& nodes, double& xmax, double& ymax, double& xmin, double& ymin)
{
    bool first = true;
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        const CSNode* node = static_cast<CSNode*>(nodes.GetNext(pos));
        if (first) {
            if (xmax < xmin)
                xmax = xmin = node->x;
            if (ymax < ymin)
                ymax = ymin = node->y;
            first = false;
        }
        if (node->x > xmax)
            xmax = node->x;
        else if (node->x < xmin)
            xmin = node->x;
        if (node->y > ymax)
            ymax = node->y;
        else if (node->y < ymin)
            ymin = node->y;
    }
}

void CGraph::GetMaxMin(double& xmax, double& ymax, double& xmin, double& ymin)
{
    GetMaxMin(*this, xmax, ymax, xmin, ymin);
}

void CGraph::GetMaxMinExt(double* max, double* min)
{
    bool first = true;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const double* v = GetNextNode(pos)->GetVertex();
        if (first && max[0] < min[0])
            for (int i = 0; i < 3; ++i)
                max[i] = min[i] = v[i];
        first = false;
        for (int i = 0; i < 3; ++i) {
            if (v[i] > max[i])
                max[i] = v[i];
            else if (v[i] < min[i])
                min[i] = v[i];
        }
    }
}

void CGraph::GetMeanCoord(double* out, int n, int first)
{
    if (n < 1 || IsEmpty())
        return;
    for (int i = 0; i < n; ++i)
        out[i] = 0.0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const double* v = GetNextNode(pos)->GetVertex();
        for (int i = 0; i < n; ++i)
            out[i] += v[first + i];
    }
    for (int i = 0; i < n; ++i)
        out[i] /= GetCount();
}

// ------------------------------------------------------------ transforms

void CGraph::Translate(double dx, double dy, double dz, bool all)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (all || IsOwnNode(node))
            node->Translate(dx, dy, dz, false);
    }
}

void CGraph::Rotate(double angle, double c1, double c2, unsigned axis, bool update, bool all)
{
    CMatrix r;
    CAxis::RotMat(r, angle, static_cast<int>(axis));
    double c[3] = {0.0, 0.0, 0.0};
    if (axis == 0) {
        c[1] = c1;
        c[2] = c2;
    } else if (axis == 1) {
        c[2] = c1;
        c[0] = c2;
    } else if (axis == 2) {
        c[0] = c1;
        c[1] = c2;
    }
    std::vector<CSNode*> nodes;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (all || IsOwnNode(node))
            nodes.push_back(node);
    }
    CVector work(3);
    for (CSNode* node : nodes)
        node->PreMult(r, work);
    if (!IsZeroVector(c)) {
        double d[3];
        ShiftOfCentre(r, c, d);
        if (!IsZeroVector(d))
            for (CSNode* node : nodes)
                node->Translate(d[0], d[1], d[2], false);
    }
    if (update)
        for (CSNode* node : nodes)
            node->Update(false, true);
}

void CGraph::PreMult(CMatrix& m, CVector& work, double cx, double cy, double cz, bool update)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (IsOwnNode(node))
            node->PreMult(m, work);
    }
    const double c[3] = {cx, cy, cz};
    if (!IsZeroVector(c)) {
        // The caller's matrix stays as it was.
        double d[3];
        ShiftOfCentre(m, c, d);
        if (!IsZeroVector(d))
            Translate(d[0], d[1], d[2], false);
    }
    if (update)
        for (POSITION pos = GetHeadPosition(); pos;)
            GetNextNode(pos)->Update(false, true);
}

void CGraph::ReleaseCopyNodes(bool deep)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        GetNextNode(pos)->RemoveCopyNode(deep);
}

CGraph* CGraph::Copy(bool keepID)
{
    return new CGraph(*this, keepID);
}

// ------------------------------------------------------------ iteration

void CGraph::OnNodes(void (*f)(CSNode*), bool ownOnly)
{
    ForEachNode(ownOnly, [f](CSNode* node) { node->OnNode(f); });
}

void CGraph::OnNodes(void (*f)(CSNode*, void*), void* user)
{
    ForEachNode(true, [f, user](CSNode* node) { f(node, user); });
}

// ------------------------------------------------------------ ordering

void CGraph::RenumberNodes(long& next, long step)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (!IsOwnNode(node))
            continue;
        node->SetID(static_cast<unsigned long>(next));
        next += step;
    }
}

void CGraph::SortNodes()
{
    if (GetCount() < 2)
        return;
    std::vector<CSNode*> nodes;
    nodes.reserve(static_cast<std::size_t>(GetCount()));
    for (POSITION pos = GetHeadPosition(); pos;)
        nodes.push_back(GetNextNode(pos));
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](CSNode* a, CSNode* b) { return a->GetID() < b->GetID(); });
    std::size_t i = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++i) {
        POSITION at = pos;
        GetNext(pos);
        SetAt(at, nodes[i]);
    }
}

void CGraph::InsertNodesInList(NODELIST& list, bool ownOnly, int& count)
{
    int n = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (!ownOnly || IsOwnNode(node))
            ++n;
    }
    if (count < 0)
        count = 0;
    list.Reserve(count + n);
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (!ownOnly || IsOwnNode(node))
            list.m_pNodes[count++] = node;
    }
}

// ------------------------------------------------------------ archive

CObject* CGraph::ReadListedNode(CArchive& ar)
{
    CSNode* node = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode));
    if (!node)
        AfxThrowArchiveException(CArchiveException::badClass);
    // A node is listed once: the graph would free it twice.
    if (node->IsGraphInList(this) >= 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
    node->AddGraph(this);
    return node;
}

bool CGraph::PassMissing(CArchive& ar)
{
    return ar.IsLoading() && ar.IsBufferEmpty();
}

void CGraph::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CObList::Serialize(ar);
        ar << m_strName;
        return;
    }
    // Each node joins the graph as it is read, so that a list that breaks
    // off leaves a consistent graph for the discard of the failed load.
    ar.ReadListEntries(*this, [this](CArchive& a) { return ReadListedNode(a); });
    // A file that ends before the name holds a graph without one.
    if (ar.IsBufferEmpty())
        return;
    ar >> m_strName;
}

void CGraph::SerializeNodeIDs(CArchive& ar)
{
    if (PassMissing(ar))
        return;
    unsigned long maxID = 0;
    std::unordered_set<DWORD> seen;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (!IsOwnNode(node))
            continue;
        if (ar.IsStoring()) {
            ar << static_cast<DWORD>(node->GetID());
        } else {
            DWORD id = 0;
            ar >> id;
            // A number a new node could not follow, or one the graph already
            // gave, would make picks ambiguous: the file is refused.
            if (!CSNode::IsStoredID(id) || !seen.insert(id).second)
                AfxThrowArchiveException(CArchiveException::badIndex);
            node->SetID(id);
            if (id > maxID)
                maxID = id;
        }
    }
    if (maxID)
        CSNode::KeepCounterAbove(maxID);
}

void CGraph::SecondarySerial(CArchive& ar)
{
    if (PassMissing(ar))
        return;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (IsOwnNode(node))
            node->SecondarySerial(ar);
    }
}

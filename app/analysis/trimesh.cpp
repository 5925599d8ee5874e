#include "app/analysis/trimesh.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "femodel/strelna.h"
#include "platform/afx/message.h"
#include "platform/afx/progress.h"

NODELIST* g_pMeshNodeList = nullptr;

namespace
{

constexpr double kTwoPi = 2.0 * M_PI;
constexpr double kAngleEps = 1.1102230246251565e-15;

// Direction angle of (dx, dy) in [0, 2 pi); -1.0 for a zero vector.
double Direction(double dx, double dy)
{
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0.0)
        return -1.0;
    double a = std::acos(std::clamp(dx / len, -1.0, 1.0));
    if (a > -kAngleEps && a < kAngleEps)
        a = 0.0;
    if (dy <= -kAngleEps)
        a = kTwoPi - a;
    return a;
}

double Turn(const CSNode* p, const CSNode* from, const CSNode* to)
{
    double t = Direction(from->x - p->x, from->y - p->y) - Direction(to->x - p->x, to->y - p->y);
    if (t < 0.0)
        t += kTwoPi;
    return t;
}

// The sub-nodes of edge, walking away from node.
void AppendSubNodes(CEdge* edge, const CSNode* from, std::vector<CSNode*>& out)
{
    CObList* subs = edge ? edge->GetSubNodeList() : nullptr;
    if (!subs)
        return;
    if (edge->GetNode1() == from) {
        for (POSITION p = subs->GetHeadPosition(); p;)
            out.push_back(static_cast<CSNode*>(subs->GetNext(p)));
    } else {
        for (POSITION p = subs->GetTailPosition(); p;)
            out.push_back(static_cast<CSNode*>(subs->GetPrev(p)));
    }
}

// The node of a that is not the end shared with b (a's first node when they
// share none).
CSNode* Unshared(CEdge* a, CEdge* b)
{
    CSNode* n1 = a->GetNode1();
    return b->IsNodeInDef(n1) ? a->GetNode2() : n1;
}

CSNode* Shared(CEdge* a, CEdge* b)
{
    CSNode* n1 = a->GetNode1();
    return b->IsNodeInDef(n1) ? n1 : a->GetNode2();
}

CSNode* CopyOf(CSNode* node)
{
    CSNode* copy = node->GetCopyNode();
    return copy ? copy : node->Copy(false);
}

// A node that lies in no graph and on no edge (and is no edge sub-node) is
// not used by anything.
bool IsStray(const CSNode* node)
{
    return node->GetGraphCount() == 0 && !node->IsConnected() && (node->m_uiFlags & 8u) == 0;
}

} // namespace

CTriMesh::CTriMesh(CSectArea* region, CMeshOrganizer* mesh) : m_pMesh(mesh), m_pGraph(region)
{
    if (region && !region->IsEmpty()) {
        m_dMaxX = m_dMaxY = -DBL_MAX;
        m_dMinX = m_dMinY = DBL_MAX;
        region->GetMaxMin(m_dMaxX, m_dMaxY, m_dMinX, m_dMinY);
    }
}

CTriMesh::~CTriMesh()
{
    DeleteCells();
    DeleteInnerNodes();
}

void CTriMesh::DeleteCells()
{
    if (!m_pCells)
        return;
    while (!m_pCells->IsEmpty())
        delete m_pCells->RemoveHead();
    delete m_pCells;
    m_pCells = nullptr;
}

void CTriMesh::DeleteInnerNodes()
{
    if (!m_pInnerNodes)
        return;
    for (POSITION p = m_pInnerNodes->GetHeadPosition(); p;) {
        CSNode* node = static_cast<CSNode*>(m_pInnerNodes->GetNext(p));
        if (IsStray(node))
            delete node;
    }
    delete m_pInnerNodes;
    m_pInnerNodes = nullptr;
}

int CTriMesh::NextSegment(int index)
{
    m_nNextSegment = std::max(m_nNextSegment, index);
    return m_nNextSegment++;
}

bool CTriMesh::Mesh(CObList* cells, int pointCount, int innerPointCount, bool quiet)
{
    DeleteCells();
    m_pCells = cells;
    m_nNextSegment = 0;
    return CEasyMesh::Mesh(pointCount, innerPointCount, quiet, false, true);
}

int CTriMesh::LoadOuterBoundary()
{
    if (!m_pGraph || m_pGraph->IsEmpty())
        return 0;
    std::vector<CSNode*> points;
    ForOutline(*m_pGraph, [&](CSNode* node, CSNode* next) {
        points.push_back(node);
        if (next != node)
            AppendSubNodes(CGraph::GetComEdge(node, next), node, points);
    });
    int index = 0;
    for (const CSNode* p : points) {
        LoadPoint(index++, p->x, p->y, 1.0, 1);
        m_dMaxX = std::max(m_dMaxX, p->x);
        m_dMinX = std::min(m_dMinX, p->x);
        m_dMaxY = std::max(m_dMaxY, p->y);
        m_dMinY = std::min(m_dMinY, p->y);
    }
    return index;
}

void CTriMesh::LoadInnerBoundaries(int& index)
{
    DeleteInnerNodes();
    if (!m_pCells)
        return;
    m_pInnerNodes = new CObList(10);
    int marker = 3;
    std::vector<CSNode*> chain;
    std::unordered_set<CSNode*> inChain;
    std::vector<CEdge*> edges;
    for (POSITION c = m_pCells->GetHeadPosition(); c;) {
        CObList* cell = static_cast<CObList*>(m_pCells->GetNext(c));
        edges.clear();
        for (POSITION e = cell->GetHeadPosition(); e;)
            edges.push_back(static_cast<CEdge*>(cell->GetNext(e)));
        const std::size_t n = edges.size();
        if (n < 2)
            continue;
        chain.clear();
        inChain.clear();
        auto append = [&](CSNode* node) {
            chain.push_back(node);
            inChain.insert(node);
        };
        auto appendSubs = [&](CEdge* edge, const CSNode* from) {
            const std::size_t before = chain.size();
            AppendSubNodes(edge, from, chain);
            for (std::size_t k = before; k < chain.size(); ++k)
                inChain.insert(chain[k]);
        };
        // Elements run counter-clockwise like those of the mesher.
        auto addCCW = [&](CSNode* a, CSNode* b, CSNode* c) {
            if ((b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x) < 0.0)
                std::swap(b, c);
            AddElement(a, b, c);
        };
        // The boundary passes copy a second time: a triangle closes the
        // pinch, with next the first point after it along the walk.
        auto pinch = [&](CSNode* copy, const CSNode* at, CSNode* next) {
            auto it = std::find(chain.begin(), chain.end(), copy);
            if (!next || it == chain.end())
                return;
            std::size_t f = static_cast<std::size_t>(it - chain.begin());
            bool tempHead = false;
            if (f == 0) {
                // Before the head lies the node where the walk started.
                CSNode* start = CopyOf(Unshared(edges[n - 1], edges[0]));
                if (start == copy)
                    return;
                chain.insert(chain.begin(), start);
                tempHead = true;
                f = 1;
            }
            if (f + 1 < chain.size() && chain.back() != copy) {
                CSNode* last = chain.back();
                CSNode* before = chain[f - 1];
                CSNode* after = chain[f + 1];
                const double t1 = Turn(at, last, next);
                const double t2 = Turn(at, before, after);
                if (t1 > t2) {
                    chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(f));
                    chain.push_back(copy);
                    addCCW(copy, after, before);
                } else {
                    addCCW(copy, next, last);
                }
            }
            if (tempHead)
                chain.erase(chain.begin());
        };
        // The first point after p along edge: its first sub-node, else the
        // copy of its other end; without an edge the walk goes on at the
        // head of the chain.
        auto firstAfter = [&](CEdge* edge, CSNode* p) -> CSNode* {
            if (!edge)
                return chain.empty() ? nullptr : chain.front();
            CObList* subs = edge->GetSubNodeList();
            if (subs && !subs->IsEmpty())
                return static_cast<CSNode*>(edge->GetNode1() == p ? subs->GetHead()
                                                                  : subs->GetTail());
            return CopyOf(edge->GetNode(p));
        };
        // P is met at the start of edge, walking away from it.
        auto corner = [&](CSNode* p, CEdge* edge) {
            CSNode* copy = p->GetCopyNode();
            if (!copy) {
                append(p->Copy(false));
            } else if (!inChain.count(copy)) {
                append(copy);
            } else {
                --m_nPointCount;
                pinch(copy, p, firstAfter(edge, p));
            }
        };

        // The last edge's sub-nodes first, so that the loop closes at the
        // head of the chain.
        appendSubs(edges[n - 1], Unshared(edges[n - 1], edges[0]));
        for (std::size_t i = 0; i + 1 < n; ++i) {
            CSNode* p = Unshared(edges[i], edges[i + 1]);
            corner(p, edges[i]);
            appendSubs(edges[i], p);
        }
        // The corner between the last two edges; the last edge's sub-nodes
        // are already at the head of the chain.
        corner(Shared(edges[n - 2], edges[n - 1]), nullptr);

        const int s = index;
        for (CSNode* node : chain)
            LoadPoint(index++, node->x, node->y, 3.0, marker);
        if (index - s >= 2) {
            for (int i = s; i <= index - 2; ++i)
                LoadSegment(i, i, i + 1, marker, 1);
            LoadSegment(index - 1, index - 1, s, marker, 1);
        }
        SegmentRecord(index).from = -1;
        SegmentRecord(index).to = -1;
        m_nNextSegment = std::max(m_nNextSegment, index + 1);
        for (CSNode* node : chain)
            m_pInnerNodes->AddTail(node);
        ++marker;
    }
    DeleteCells();
}

void CTriMesh::LoadRefinePoints(int& index)
{
    if (!m_pGraph)
        return;
    POSITION firstPoint = nullptr;
    CObList* refine = m_pGraph->GetRefineList(firstPoint);
    if (!refine)
        return;
    if (!m_pInnerNodes)
        m_pInnerNodes = new CObList(10);
    // Single points: from firstPoint to the end of the list.
    for (POSITION p = firstPoint; p;) {
        CSNode* node = dynamic_cast<CSNode*>(refine->GetNext(p));
        if (!node)
            continue;
        LoadPoint(index, node->x, node->y, node->GetSNodSpace(), 2);
        LoadSegment(index, index, index, 2, 1);
        m_pInnerNodes->AddTail(node);
        ++index;
    }
    // Graphs: before the first point.
    std::unordered_map<DWORD, int> loaded;
    for (POSITION p = refine->GetHeadPosition(); p && p != firstPoint;) {
        CGraph* graph = dynamic_cast<CGraph*>(refine->GetNext(p));
        if (!graph)
            continue;
        m_nPointCount -= graph->GetCount();
        loaded.clear();
        for (POSITION q = graph->GetHeadPosition(); q;) {
            CSNode* node = graph->GetNextNode(q);
            LoadPoint(index, node->x, node->y, 2.0, 2);
            loaded.emplace(node->GetID(), index);
            m_pInnerNodes->AddTail(node);
            ++index;
        }
        for (POSITION q = graph->GetHeadPosition(); q;) {
            CSNode* node = graph->GetNextNode(q);
            CObList* nodeEdges = node->GetEdgeList();
            if (!nodeEdges)
                continue;
            for (POSITION e = nodeEdges->GetHeadPosition(); e;) {
                CEdge* edge = static_cast<CEdge*>(nodeEdges->GetNext(e));
                if (!edge->IsTraversed() || edge->GetNode1() != node)
                    continue;
                auto to = loaded.find(edge->GetNode2()->GetID());
                if (to == loaded.end())
                    continue;
                LoadSegment(NextSegment(index), loaded[node->GetID()], to->second, 2, 1);
                ++m_nPointCount;
            }
        }
    }
}

bool CTriMesh::BuildOutput()
{
    // A stop request: nothing is built and the run has failed.
    if (m_bStop)
        return false;
    const int count = m_nNodes;
    std::vector<CSNode*> table(static_cast<std::size_t>(std::max(count, 0)), nullptr);
    int k = 0;
    // Every node handed out, so that none is lost when the records do not
    // match what was loaded.
    std::vector<CSNode*> offered;
    auto take = [&](CSNode* node) {
        offered.push_back(node);
        while (k < count && m_pNode[k].bEmpty)
            ++k;
        if (k < count)
            table[static_cast<std::size_t>(k++)] = node;
    };
    auto deleteStrays = [&]() {
        std::unordered_set<CSNode*> seen;
        for (auto* list : {&offered, &table})
            for (CSNode* node : *list) {
                afx::ProgressPoint();
                if (node && seen.insert(node).second && IsStray(node))
                    delete node;
            }
    };

    if (m_pGraph && !m_pGraph->IsEmpty()) {
        std::unordered_set<CSNode*> common;
        if (g_pMeshNodeList) {
            CObList found;
            g_pMeshNodeList->GetCommonNodes(m_pGraph, found);
            for (POSITION p = found.GetHeadPosition(); p;)
                common.insert(static_cast<CSNode*>(found.GetNext(p)));
        }
        for (POSITION p = m_pGraph->GetHeadPosition(); p;) {
            CSNode* node = m_pGraph->GetNextNode(p);
            if (common.count(node))
                node->RemoveCopyNode(true);
        }
        for (POSITION p = m_pGraph->GetHeadPosition(); p;) {
            CSNode* node = m_pGraph->GetNextNode(p);
            if (!node->GetCopyNode())
                node->Copy(false);
        }
        std::vector<CSNode*> subs;
        ForOutline(*m_pGraph, [&](CSNode* node, CSNode* next) {
            take(node->GetCopyNode());
            if (next == node)
                return;
            subs.clear();
            AppendSubNodes(CGraph::GetComEdge(node, next), node, subs);
            const bool fresh = common.count(node) || common.count(next);
            for (CSNode* sub : subs) {
                if (fresh) {
                    CSNode* copy = sub->Copy(false);
                    copy->m_uiFlags = 0; // owned by the elements, not by the edge
                    take(copy);
                } else {
                    take(sub);
                }
            }
        });
    }
    if (m_pInnerNodes) {
        for (POSITION p = m_pInnerNodes->GetHeadPosition(); p;)
            take(static_cast<CSNode*>(m_pInnerNodes->GetNext(p)));
        delete m_pInnerNodes;
        m_pInnerNodes = nullptr;
    }
    for (; k < count; ++k) {
        afx::ProgressPoint();
        if (!m_pNode[k].bEmpty) {
            table[static_cast<std::size_t>(k)] =
                new CSNode(m_pNode[k].x, m_pNode[k].y, 0.0, nullptr, 0);
            offered.push_back(table[static_cast<std::size_t>(k)]);
        }
    }

    // Every element must name three existing nodes before any is built.
    const char* error = nullptr;
    for (int e = 0; e < m_nElems && !error; ++e) {
        const elem& r = m_pElem[e];
        if (r.bEmpty)
            continue;
        for (int j = 0; j < 3 && !error; ++j) {
            if (r.n[j] < 0 || r.n[j] >= count)
                error = "Mesh-generator indexed an element out of bound";
            else if (!table[static_cast<std::size_t>(r.n[j])])
                error = "Mesh-generator indexed a NULL-node";
        }
    }
    if (error) {
        AfxMessageBox(error);
        deleteStrays();
        return false;
    }
    for (int e = 0; e < m_nElems; ++e) {
        afx::ProgressPoint();
        const elem& r = m_pElem[e];
        if (!r.bEmpty)
            AddElement(table[static_cast<std::size_t>(r.n[0])],
                       table[static_cast<std::size_t>(r.n[1])],
                       table[static_cast<std::size_t>(r.n[2])]);
    }
    // Nodes that no element took (records the mesher left unused).
    deleteStrays();
    return true;
}

void CTriMesh::AddElement(CSNode* a, CSNode* b, CSNode* c)
{
    if (!m_pMesh || !a || !b || !c)
        return;
    switch (m_iKind) {
    case 101:
        m_pMesh->AddElement(new CTriElement(a, b, c));
        break;
    case 102:
        m_pMesh->AddElement(new CTri4Elem(a, b, c));
        break;
    case 103:
        m_pMesh->AddElement(new CTri6Element(a, b, c, nullptr, nullptr, nullptr));
        break;
    case 104:
    case 105: {
        // Three quadrilaterals around the centroid, on the mid-side nodes of
        // a six-node triangle.
        auto* tri = new CTri6Element(a, b, c, nullptr, nullptr, nullptr);
        CSNode* m1 = tri->GetNode(3);
        CSNode* m2 = tri->GetNode(4);
        CSNode* m3 = tri->GetNode(5);
        auto* g = new CSNode((a->x + b->x + c->x) / 3.0, (a->y + b->y + c->y) / 3.0,
                             (a->z + b->z + c->z) / 3.0, nullptr, 0);
        if (m_iKind == 104) {
            m_pMesh->AddElement(new CQuadElem(a, m1, g, m3));
            m_pMesh->AddElement(new CQuadElem(m1, b, m2, g));
            m_pMesh->AddElement(new CQuadElem(m2, c, m3, g));
        } else {
            m_pMesh->AddElement(new CQuad8Elem(a, m1, g, m3));
            m_pMesh->AddElement(new CQuad8Elem(m1, b, m2, g));
            m_pMesh->AddElement(new CQuad8Elem(m2, c, m3, g));
        }
        delete tri;
        break;
    }
    default:
        break;
    }
}

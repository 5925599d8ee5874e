#include "sections/regions/sectmesharea.h"

#include "femodel/boundary.h"
#include "femodel/boundcond.h"
#include "femodel/element.h"
#include "femodel/load.h"
#include "femodel/meshorg.h"
#include "femodel/quad.h"
#include "femodel/triangle.h"
#include "femodel/modelinfo.h"
#include "glstyle/tincora.h"
#include "platform/ferrand/material.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(CSectMeshArea, CSectArea)

std::atomic<bool> CSectMeshArea::m_bStop{false};
bool CSectMeshArea::m_bStoreMesh = false;
bool CSectMeshArea::m_bNotifyWarning = true;
CObList** CSectMeshArea::m_pSepNodeGraphGroups = nullptr;

namespace {

CSection* AsSection(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSection)) ? static_cast<CSection*>(ob) : nullptr;
}

CSectArea* AsArea(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectArea)) ? static_cast<CSectArea*>(ob) : nullptr;
}

CSectMeshArea* AsMeshArea(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectMeshArea)) ? static_cast<CSectMeshArea*>(ob)
                                                            : nullptr;
}

// The list's entries as a snapshot, so that the visit may change the list.
std::vector<CObject*> Entries(CObList* list)
{
    std::vector<CObject*> out;
    if (list)
        for (POSITION pos = list->GetHeadPosition(); pos;)
            out.push_back(list->GetNext(pos));
    return out;
}

// Widens [min, max] so that it holds 0 (a node or edge without a load);
// max < min marks a pair that holds nothing yet.
void IncludeZero(double& max, double& min)
{
    if (max < min) {
        max = min = 0.0;
        return;
    }
    if (max < 0.0)
        max = 0.0;
    if (min > 0.0)
        min = 0.0;
}

} // namespace

// Calls f(sub) for every sub-section that is a meshed region, in list order.
template <class F>
static void ForMeshSubs(CObList* subs, F f)
{
    if (!subs)
        return;
    for (POSITION pos = subs->GetHeadPosition(); pos;)
        if (CSectMeshArea* sub = AsMeshArea(subs->GetNext(pos)))
            f(sub);
}

// Calls f(sub) for every sub-section that is a section, in list order.
template <class F>
static void ForSectionSubs(CObList* subs, F f)
{
    if (!subs)
        return;
    for (POSITION pos = subs->GetHeadPosition(); pos;)
        if (CSection* sub = AsSection(subs->GetNext(pos)))
            f(sub);
}

// ------------------------------------------------------------ life cycle

CSectMeshArea::CSectMeshArea() = default;

CSectMeshArea::CSectMeshArea(const CSectMeshArea& source, bool keepID) : CSectArea(source, keepID)
{
}

CSectMeshArea::~CSectMeshArea()
{
    if (m_pNodeList) {
        // The nodes that are this region's alone leave the document's node
        // list, in one pass.
        std::unordered_set<const CObject*> alone;
        ForEachNode(false, [&](CSNode* node) {
            if (node->GetGraphCount() == 1 && node->GetPrimaryGraph() == this)
                alone.insert(node);
        });
        m_pNodeList->RemoveNodes(alone);
    }
    delete m_pMesh;
    m_pMesh = nullptr;
    if (m_pOuter)
        m_pOuter->RemoveInnerSect(this);
    m_pOuter = nullptr;
    for (CObject* ob : Entries(m_pSubList))
        if (CSectArea* sub = AsArea(ob))
            sub->SetOuterSect(nullptr);
    ClearNodes();
}

namespace {

// The refine points and the nodes of the refine graphs: nodes that a mesh
// uses as its own.
std::vector<CSNode*> RefineNodes(CObList* refine)
{
    std::vector<CSNode*> out;
    for (CObject* ob : Entries(refine)) {
        if (ob->IsKindOf(RUNTIME_CLASS(CSNode)))
            out.push_back(static_cast<CSNode*>(ob));
        else if (ob->IsKindOf(RUNTIME_CLASS(CGraph)))
            static_cast<CGraph*>(ob)->ForEachNode(false, [&](CSNode* n) { out.push_back(n); });
    }
    return out;
}

// True when an element of the mesh holds the edge: an edge the mesh made.
bool IsMeshEdge(CSNode* node, CEdge* edge)
{
    CObList* graphs = node->GetGraphList();
    if (!graphs)
        return false;
    for (POSITION pos = graphs->GetHeadPosition(); pos;) {
        CObject* graph = graphs->GetNext(pos);
        if (graph->IsKindOf(RUNTIME_CLASS(CElement)) &&
            static_cast<CGraph*>(graph)->IsEdgeInGraph(edge))
            return true;
    }
    return false;
}

// While a region is stored without its mesh, the mesh's edges at the
// refine nodes are taken off those nodes (only there), so that the nodes
// do not drag the mesh into the file; they are put back afterwards.
class MeshEdgesHidden {
public:
    explicit MeshEdgesHidden(const std::vector<CSNode*>& nodes)
    {
        for (CSNode* node : nodes)
            for (CObject* ob : Entries(node->GetEdgeList())) {
                CEdge* edge = static_cast<CEdge*>(ob);
                if (IsMeshEdge(node, edge))
                    m_hidden.emplace_back(node, edge);
            }
        for (auto& [node, edge] : m_hidden)
            node->CSNode::RemoveEdge(edge);
    }
    ~MeshEdgesHidden()
    {
        for (auto& [node, edge] : m_hidden)
            node->CSNode::AddEdge(edge);
    }
    MeshEdgesHidden(const MeshEdgesHidden&) = delete;
    MeshEdgesHidden& operator=(const MeshEdgesHidden&) = delete;

private:
    std::vector<std::pair<CSNode*, CEdge*>> m_hidden;
};

// Nodes that hang off the refine nodes by edges and belong to no graph:
// what files written without the mesh by earlier versions hold of the mesh.
// Nobody would own them; they are freed at once (with their edges).
void FreeMeshLeftovers(const std::vector<CSNode*>& refineNodes)
{
    std::vector<CSNode*> loose;
    std::unordered_set<CSNode*> seen;
    auto visit = [&](CSNode* node) {
        for (CObject* ob : Entries(node->GetEdgeList())) {
            CSNode* other = static_cast<CEdge*>(ob)->GetNode(node);
            if (other && other->GetGraphCount() == 0 && seen.insert(other).second)
                loose.push_back(other);
        }
    };
    for (CSNode* node : refineNodes)
        visit(node);
    for (std::size_t i = 0; i < loose.size(); ++i)
        visit(loose[i]);
    for (CSNode* node : loose)
        delete node;
}

} // namespace

void CSectMeshArea::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const bool withMesh = m_bStoreMesh && m_pMesh;
        {
            std::optional<MeshEdgesHidden> hidden;
            if (!withMesh && m_pMesh)
                hidden.emplace(RefineNodes(m_pRefineList));
            CSectArea::Serialize(ar);
        }
        ar << m_dMeshArea;
        ar << static_cast<CObject*>(withMesh ? m_pMesh : nullptr);
        return;
    }
    // The mesh's nodes, edges and elements were numbered apart from the
    // model: reading them must not move the model's identifier counters,
    // whichever way the reading ends.
    CSectArea::Serialize(ar);
    const CIdentifierCounters counters;
    ar >> m_dMeshArea;
    // The region owns its mesh: a new organiser read here. A failure
    // reaches the caller, who discards the whole load.
    if (CMeshOrganizer* mesh =
            ar.ReadObjectAs<CMeshOrganizer>(RUNTIME_CLASS(CMeshOrganizer), CArchive::useOwned)) {
        delete m_pMesh;
        m_pMesh = mesh;
    }
    const std::vector<CSNode*> refineNodes = RefineNodes(m_pRefineList);
    if (!m_pMesh)
        FreeMeshLeftovers(refineNodes);
    // The refine nodes' memberships as after meshing: the mesh's elements
    // first, the region (or refine graph) last.
    for (CObject* ob : Entries(m_pRefineList)) {
        if (ob->IsKindOf(RUNTIME_CLASS(CSNode))) {
            CSNode* node = static_cast<CSNode*>(ob);
            node->RemoveGraph(this);
            node->AddGraph(this);
        } else if (ob->IsKindOf(RUNTIME_CLASS(CGraph))) {
            CGraph* graph = static_cast<CGraph*>(ob);
            graph->ForEachNode(false, [graph](CSNode* n) {
                n->RemoveGraph(graph);
                n->AddGraph(graph);
            });
        }
    }
}

// ------------------------------------------------------------ mesh

void CSectMeshArea::DeleteMesh(bool deep)
{
    delete m_pMesh;
    m_pMesh = nullptr;
    if (deep)
        ForMeshSubs(m_pSubList, [](CSectMeshArea* s) { s->DeleteMesh(true); });
}

double CSectMeshArea::CalcArea()
{
    if (!m_pMesh || !m_pMaterial || m_pMaterial->GetName() == "VOID")
        m_dMeshArea = 0.0;
    else
        m_dMeshArea = m_pMesh->CalcArea();
    return m_dMeshArea;
}

double CSectMeshArea::SumArea()
{
    double sum = CalcArea();
    ForSectionSubs(m_pSubList, [&](CSection* s) {
        const double a = s->SumArea();
        if (a > 0.0)
            sum += a;
    });
    return sum;
}

// ------------------------------------------------------------ graph operations

CSNode* CSectMeshArea::NewNode(double x, double y, double z)
{
    CSNode* node = new CBoundNode(x, y, z, this, 0);
    AddTail(node);
    // The node may have taken the graph already.
    if (node->IsGraphInList(this) < 0)
        node->AddGraph(this);
    return node;
}

CObject* CSectMeshArea::GetObject(unsigned long id, bool deep)
{
    if (id == 0)
        return nullptr;
    if (CObject* ob = CSectArea::GetObject(id, false))
        return ob;
    return deep && m_pMesh ? m_pMesh->GetObjectA(id) : nullptr;
}

bool CSectMeshArea::Union(CGraph* other)
{
    if (CSectMeshArea* m = AsMeshArea(other))
        m->DeleteMesh(false);
    DeleteMesh(false);
    return CSectArea::Union(other);
}

void CSectMeshArea::ASCIIExportGraph(CFile& file, CStringArray& markers, int* options,
                                     int nOptions, double* values, int nValues)
{
    CSectArea::ASCIIExportGraph(file, markers, options, nOptions, values, nValues);
    ForSectionSubs(m_pSubList, [&](CSection* s) {
        s->ASCIIExportGraph(file, markers, options, nOptions, values, nValues);
    });
}

CEdge* CSectMeshArea::CreateEdge(CSNode* a, CSNode* b)
{
    return new CBoundary(a, b);
}

void CSectMeshArea::GLDrawLoadedNodes()
{
    CSectArea::GLDrawLoadedNodes();
    ForSectionSubs(m_pSubList, [](CSection* s) { s->GLDrawLoadedNodes(); });
}

bool CSectMeshArea::RemoveNode(CSNode* node)
{
    POSITION at = Find(node);
    if (!at) {
        for (CObject* ob : Entries(m_pSubList)) {
            CSectArea* sub = AsArea(ob);
            if (sub && !sub->RemoveNode(node)) {
                RemoveInnerSect(sub);
                delete sub;
            }
        }
        return true;
    }
    DeleteMesh(false);
    if (CSectMeshArea* outer = AsMeshArea(m_pOuter))
        outer->DeleteMesh(false);
    if (GetCount() <= 3) {
        node->RemoveGraph(this);
        RemoveAt(at);
        return false;
    }
    POSITION prevAt = at;
    GetPrev(prevAt);
    POSITION nextAt = at;
    GetNext(nextAt);
    CSNode* prev = prevAt ? GetNodeAt(prevAt) : GetTailNode();
    CSNode* next = nextAt ? GetNodeAt(nextAt) : GetHeadNode();
    node->RemoveGraph(this);
    RemoveAt(at);
    if (!GetComEdge(prev, next))
        CreateEdge(prev, next);
    return true;
}

bool CSectMeshArea::AddNode(CSNode* a, CSNode* node, CSNode* b)
{
    DeleteMesh(false);
    if (!a || !b || !node || !GetComEdge(a, b) || !CSectArea::AddNode(a, node, b))
        return false;
    if (!GetComEdge(a, node))
        CreateEdge(a, node);
    if (!GetComEdge(b, node))
        CreateEdge(b, node);
    return true;
}

// ------------------------------------------------------------ hand-over

void CSectMeshArea::DM_OnElements(void (*callback)(CObject*, void*), void* user)
{
    if (m_pMesh)
        for (POSITION pos = m_pMesh->GetHeadPosition(); pos;)
            callback(m_pMesh->GetNext(pos), user);
    CSectArea::DM_OnElements(callback, user);
}

void CSectMeshArea::DM_OnNodes(void (*callback)(CSNode*, void*), void* user)
{
    if (m_pMesh)
        for (POSITION pos = m_pMesh->GetHeadPosition(); pos;)
            m_pMesh->GetNextElem(pos)->OnNodes(callback, user);
    CSectArea::DM_OnNodes(callback, user);
}

void CSectMeshArea::DM_Clean()
{
    DeleteMesh(false);
    CSectArea::DM_Clean();
}

CObject* CSectMeshArea::DM_GetOwner(CObject* object)
{
    if (m_pMesh && object && m_pMesh->Find(object))
        return this;
    CObject* owner = nullptr;
    ForSectionSubs(m_pSubList, [&](CSection* s) {
        if (!owner)
            owner = s->DM_GetOwner(object);
    });
    return owner;
}

void CSectMeshArea::DM_InsertNodeBCs(CModelInfo& model)
{
    if (m_pMesh)
        m_pMesh->DM_InsertNodeBCs(model);
    CSectArea::DM_InsertNodeBCs(model);
}

void CSectMeshArea::DM_GetInfo(CInfoContainer& container)
{
    if (m_pMesh)
        m_pMesh->DM_GetInfo(container);
    CSectArea::DM_GetInfo(container);
}

void CSectMeshArea::DM_SetResults(CModelInfo& model)
{
    if (m_pMesh)
        m_pMesh->DM_SetResults(model);
    CSectArea::DM_SetResults(model);
}

void CSectMeshArea::DM_BuildData(CModelInfo& model)
{
    if (m_pMesh)
        m_pMesh->DM_BuildData(model);
    model.RetrieveSectionData(this);
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->DM_BuildData(model); });
}

void CSectMeshArea::GetBCNodes(CObList& out)
{
    if (m_pMesh)
        m_pMesh->GetBCNodes(out);
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->GetBCNodes(out); });
}

void CSectMeshArea::GetDiscrCoord(CMatrix& out)
{
    if (m_pMesh)
        m_pMesh->GetDiscrCoord(out);
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->GetDiscrCoord(out); });
}

void CSectMeshArea::GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& counter)
{
    if (m_pMesh)
        m_pMesh->GetMMNPC(nodes, pointers, counter);
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->GetMMNPC(nodes, pointers, counter); });
}

void CSectMeshArea::GetMMNPC(CLongMatrix& out)
{
    if (m_pMesh)
        m_pMesh->GetMMNPC(out);
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->GetMMNPC(out); });
}

// ------------------------------------------------------------ section operations

void CSectMeshArea::DrawBCs(bool mesh, double scale, int kind)
{
    if (mesh) {
        if (m_pMesh)
            m_pMesh->DrawBCs(kind);
    } else {
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNextNode(pos);
            if (node->GetPrimaryGraph() != this)
                continue;
            if (CObList* edges = node->GetEdgeList())
                for (POSITION e = edges->GetHeadPosition(); e;) {
                    CEdge* edge = static_cast<CEdge*>(edges->GetNext(e));
                    if (edge->GetNode1() != node)
                        continue; // drawn once, from its first node
                    CBoundCond* bc = edge->GetBC(kind);
                    if (bc && !bc->IsClear(false))
                        bc->DrawEdgeBC(edge, scale);
                }
            CBoundCond* bc = node->GetBC(kind);
            if (bc && !bc->IsClear(false))
                bc->DrawNodeBC(node);
        }
    }
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->DrawBCs(mesh, scale, kind); });
}

void CSectMeshArea::RefineUniform(int n, unsigned mask)
{
    if (m_pMesh && (mask == 0 || (mask & m_pMesh->m_dwWord) != 0))
        m_pMesh->RefineUniform(n);
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->RefineUniform(n, mask); });
}

void CSectMeshArea::GetMaxMinLoad(double& max, double& min, unsigned flags)
{
    if (flags & 8) {
        if (m_pMesh)
            m_pMesh->GetMaxMinLoad(max, min, flags);
    } else {
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNextNode(pos);
            if (node->GetPrimaryGraph() != this)
                continue;
            if (flags & 2) {
                if (CLoad* load = node->GetLoad())
                    load->GetMaxMin(max, min);
                else
                    IncludeZero(max, min);
            }
            if (flags & 4)
                if (CObList* edges = node->GetEdgeList())
                    for (POSITION e = edges->GetHeadPosition(); e;) {
                        CEdge* edge = static_cast<CEdge*>(edges->GetNext(e));
                        if (edge->GetNode1() != node)
                            continue;
                        if (CLoad* load = edge->GetLoad())
                            load->GetMaxMin(max, min);
                        else
                            IncludeZero(max, min);
                    }
        }
    }
    ForSectionSubs(m_pSubList, [&](CSection* s) { s->GetMaxMinLoad(max, min, flags); });
}

void CSectMeshArea::Translate(double dx, double dy, double dz, bool all)
{
    // Mesh nodes are shared between elements: each element moves the nodes
    // it owns, so that every node moves once, whatever `all` says about the
    // region's boundary.
    if (m_pMesh)
        m_pMesh->Translate(dx, dy, dz, false);
    CSectArea::Translate(dx, dy, dz, all);
}

void CSectMeshArea::Rotate(double angle, double c1, double c2, unsigned axis, bool update, bool all)
{
    DeleteMesh(false);
    CSectArea::Rotate(angle, c1, c2, axis, update, all);
}

void CSectMeshArea::SubDivide()
{
    const int n = GetCount();
    // Every region along a boundary edge loses its mesh.
    for (POSITION pos = GetHeadPosition(); pos && n > 1;) {
        CSNode* a = GetNextNode(pos);
        CSNode* b = pos ? GetNodeAt(pos) : GetHeadNode();
        CEdge* edge = GetComEdge(a, b);
        if (!edge)
            continue;
        for (CObject* ob : Entries(a->GetGraphList()))
            if (CSectMeshArea* region = AsMeshArea(ob); region && region->IsEdgeInGraph(edge))
                region->DeleteMesh(false);
    }
    // Edges carrying a condition or a load get a chain of boundary edges
    // between copy nodes; the region's own boundary stays as it is.
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (node->GetPrimaryGraph() != this)
            continue;
        for (CObject* ob : Entries(node->GetEdgeList())) {
            CBoundary* edge = dynamic_cast<CBoundary*>(ob);
            if (!edge || edge->GetNode1() != node)
                continue;
            CObList* subNodes = edge->SubDivide();
            if (!edge->GetBC(0) && !edge->GetLoad())
                continue;
            auto copyOf = [](CSNode* s) {
                CSNode* c = s->GetCopyNode();
                return c ? c : s->Copy(false);
            };
            CSNode* first = copyOf(edge->GetNode1());
            CSNode* last = copyOf(edge->GetNode2());
            CObList chain;
            CSNode* from = first;
            for (CObject* sub : Entries(subNodes)) {
                CSNode* to = static_cast<CSNode*>(sub);
                chain.AddTail(CreateEdge(from, to));
                from = to;
            }
            chain.AddTail(CreateEdge(from, last));
            edge->CopyProperties(chain);
        }
    }
    ForSectionSubs(m_pSubList, [](CSection* s) { s->SubDivide(); });
}

// ------------------------------------------------------------ area-region operations

bool CSectMeshArea::AddChain(CSNode* a, CObList* chain, CSNode* b)
{
    // Every region that holds the edge receives the chain: it and its outer
    // region lose their meshes first.
    if (CEdge* edge = a && b ? GetComEdge(a, b) : nullptr)
        for (CObject* ob : Entries(a->GetGraphList()))
            if (CSectMeshArea* region = AsMeshArea(ob); region && region->IsEdgeInGraph(edge)) {
                region->DeleteMesh(false);
                if (CSectMeshArea* outer = AsMeshArea(region->GetOuterSect()))
                    outer->DeleteMesh(false);
            }
    DeleteMesh(false);
    return CSectArea::AddChain(a, chain, b);
}

void CSectMeshArea::RemoveInnerSect(CGraph* sub)
{
    if (!m_pSubList)
        return;
    if (!sub) {
        DeleteMesh(false);
        ForMeshSubs(m_pSubList, [](CSectMeshArea* s) { s->DeleteMesh(false); });
    } else if (m_pSubList->Find(sub)) {
        DeleteMesh(false);
        if (CSectMeshArea* s = AsMeshArea(sub))
            s->DeleteMesh(false);
    }
    CSectArea::RemoveInnerSect(sub);
}

void CSectMeshArea::InsertSubSect(CSectArea* sub)
{
    if (!sub)
        return;
    DeleteMesh(false);
    CSectArea::InsertSubSect(sub);
}

CSection* CSectMeshArea::Divide(CSNode* from, CObList* chain, CSNode* to)
{
    if (!from || !to || !Find(from) || !Find(to))
        return nullptr;
    DeleteMesh(false);
    return CSectArea::Divide(from, chain, to);
}

void CSectMeshArea::AddRefinePoint(CSNode* node)
{
    CSectArea::AddRefinePoint(node);
    DeleteMesh(false);
}

void CSectMeshArea::RemoveRefineObj(CObject* object)
{
    if (!m_pRefineList)
        return;
    if (!object) {
        for (CObject* ob : Entries(m_pRefineList)) {
            if (ob->IsKindOf(RUNTIME_CLASS(CSNode))) {
                CSNode* node = static_cast<CSNode*>(ob);
                node->RemoveGraph(this);
                if (node->GetGraphCount() == 0)
                    delete node;
            } else {
                delete ob;
            }
        }
        delete m_pRefineList;
        m_pRefineList = nullptr;
        m_nRefine = 0;
        m_posFirstPoint = nullptr;
        DeleteMesh(false);
        return;
    }
    POSITION at = m_pRefineList->Find(object);
    if (!at)
        return;
    if (object->IsKindOf(RUNTIME_CLASS(CSNode))) {
        static_cast<CSNode*>(object)->RemoveGraph(this);
        if (at == m_posFirstPoint) {
            // The next refine point, if any, becomes the first one.
            POSITION next = at;
            m_pRefineList->GetNext(next);
            m_posFirstPoint = next;
        }
        --m_nRefine;
    } else if (CGraph* graph = dynamic_cast<CGraph*>(object)) {
        m_nRefine -= graph->GetCount();
    }
    m_pRefineList->RemoveAt(at);
    if (m_pRefineList->IsEmpty()) {
        delete m_pRefineList;
        m_pRefineList = nullptr;
        m_posFirstPoint = nullptr;
    }
}

// ------------------------------------------------------------ cells

void CSectMeshArea::TakeNodes(CSectArea* cell)
{
    while (!cell->IsEmpty()) {
        CSNode* node = static_cast<CSNode*>(cell->RemoveHead());
        node->RemoveGraph(cell);
        NewNode(node);
    }
}

CObList* CSectMeshArea::Fix()
{
    CObList* result = new CObList;
    std::vector<CEdge*> marked;
    auto clearMarks = [&] {
        for (CEdge* e : marked)
            e->SetTraversed(false);
    };
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* a = GetNextNode(pos);
        CSNode* b = pos ? GetNodeAt(pos) : GetHeadNode();
        CEdge* edge = GetComEdge(a, b);
        if (!edge || edge->IsTraversed())
            continue;
        CObList* cell = Find2DCells(a, edge, true, nullptr);
        edge->SetTraversed(true);
        marked.push_back(edge);
        if (!cell)
            continue;
        // The cell's node cycle: from a along the edges.
        CObList cycle;
        CSNode* at = a;
        for (POSITION e = cell->GetHeadPosition(); e;) {
            cycle.AddTail(at);
            at = static_cast<CEdge*>(cell->GetNext(e))->GetNode(at);
        }
        delete cell;
        if (SameNodes(&cycle)) {
            for (CObject* ob : Entries(result))
                delete ob;
            result->RemoveAll();
            result->AddTail(static_cast<CObject*>(this));
            clearMarks();
            return result;
        }
        NewSect(&cycle, result);
    }
    clearMarks();
    if (result->IsEmpty()) {
        delete result;
        return nullptr;
    }
    return result;
}

bool CSectMeshArea::Fix(CObList* list)
{
    CObList* cells = GetCount() < 3 ? nullptr : Fix();
    if (!cells) {
        DeleteThis(list);
        return true;
    }
    bool result = true;
    if (cells->GetCount() == 1) {
        CSectArea* cell = AsArea(cells->GetHead());
        bool changed = false;
        if (cell == this) {
            Validate();
        } else {
            DeleteMesh(false);
            ReleaseNodes();
            TakeNodes(cell);
            if (GetCount() > 1)
                AddHead(RemoveTail());
            delete cell;
            changed = true;
        }
        const bool subs = FixSubList(list);
        result = subs || changed;
    } else {
        DeleteMesh(false);
        std::vector<CSectArea*> parts;
        for (CObject* ob : Entries(cells))
            if (CSectArea* cell = AsArea(ob))
                parts.push_back(cell);
        for (CSectArea* cell : parts) {
            if (list)
                list->AddTail(static_cast<CObject*>(cell));
            else if (m_pOuter)
                m_pOuter->InsertSubSect(cell);
        }
        std::vector<CObject*> subs = Entries(m_pSubList);
        for (auto it = subs.rbegin(); it != subs.rend(); ++it)
            if (m_pSubList && m_pSubList->Find(*it))
                if (CSection* s = AsSection(*it))
                    s->Fix(nullptr);
        for (CObject* ob : Entries(m_pSubList)) {
            CSectArea* sub = AsArea(ob);
            if (!sub || sub->IsEmpty())
                continue;
            CSNode* first = sub->GetHeadNode();
            CSectArea* home = nullptr;
            for (CSectArea* cell : parts) {
                if (cell->Find(first))
                    break;
                if (cell->IsPointInside2D(first->x, first->y, true)) {
                    home = cell;
                    break;
                }
            }
            CSectArea::RemoveInnerSect(sub);
            if (home) {
                home->InsertSubSect(sub);
            } else if (m_pOuter) {
                m_pOuter->InsertSubSect(sub);
            } else if (list) {
                list->AddTail(static_cast<CObject*>(sub));
            } else {
                delete sub;
            }
        }
        // This region takes over the last cell.
        CSectMeshArea* last = AsMeshArea(parts.back());
        ReleaseNodes();
        TakeNodes(last);
        if (last) {
            CObList* taken = last->m_pSubList;
            last->m_pSubList = nullptr;
            delete m_pSubList;
            m_pSubList = taken;
            AfxNoteModelEdit();
            for (CObject* ob : Entries(m_pSubList))
                if (CSectArea* sub = AsArea(ob))
                    sub->SetOuterSect(this);
        }
        if (list)
            if (POSITION at = list->Find(parts.back()))
                list->RemoveAt(at);
        if (CSectArea* outer = parts.back()->GetOuterSect())
            outer->RemoveInnerSect(parts.back());
        // A cell with nowhere to go (no list and no outer region) would be
        // lost; it is removed with its sub-sections.
        if (!list && !m_pOuter)
            for (std::size_t i = 0; i + 1 < parts.size(); ++i)
                delete parts[i];
        delete parts.back();
        Validate();
        result = true;
    }
    delete cells;
    return result;
}

bool CSectMeshArea::FixSubList(CObList* list)
{
    bool changed = false;
    std::vector<CObject*> subs = Entries(m_pSubList);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (m_pSubList && m_pSubList->Find(*it))
            if (CSection* s = AsSection(*it))
                if (s->Fix(nullptr))
                    changed = true;
    for (CObject* ob : Entries(m_pSubList)) {
        CSectArea* sub = AsArea(ob);
        if (!sub || sub->IsEmpty())
            continue;
        CSectArea* where = IsNodeInside2D(sub->GetHeadNode(), false);
        if (where == this)
            continue;
        CSectArea::RemoveInnerSect(sub);
        if (where) {
            where->InsertSubSect(sub);
        } else if (m_pOuter) {
            m_pOuter->InsertSubSect(sub);
        } else if (list) {
            list->AddTail(static_cast<CObject*>(sub));
        } else {
            delete sub;
        }
        changed = true;
    }
    if (m_pSubList && m_pSubList->IsEmpty()) {
        delete m_pSubList;
        m_pSubList = nullptr;
    }
    return changed;
}

void CSectMeshArea::DeleteFreeEdges()
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        for (CObject* ob : Entries(node->GetEdgeList())) {
            CEdge* edge = static_cast<CEdge*>(ob);
            bool held = false;
            for (CObject* g : Entries(node->GetGraphList()))
                if (CGraph* graph = dynamic_cast<CGraph*>(g); graph && graph->IsEdgeInGraph(edge)) {
                    held = true;
                    break;
                }
            if (!held)
                delete edge;
        }
    }
    ForMeshSubs(m_pSubList, [](CSectMeshArea* s) { s->DeleteFreeEdges(); });
}

// ------------------------------------------------------------ solver arrays

void CSectMeshArea::InsertNodes(long* ids, double* coords, int& index, int lead, int trail)
{
    if (m_pMesh)
        m_pMesh->InsertNodes(ids, coords, index, lead, trail);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->InsertNodes(ids, coords, index, lead, trail); });
}

void CSectMeshArea::InsertFEN(long* table, int& index)
{
    if (m_pMesh)
        m_pMesh->InsertFE(table, index, -1, false);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->InsertFEN(table, index); });
}

void CSectMeshArea::InsertFEMat(long* table, int& index)
{
    if (m_pMesh) {
        const long id = static_cast<long>(static_cast<short>(GetMaterialID()));
        const int n = m_pMesh->GetCount();
        for (int i = 0; i < n; ++i)
            table[index + i] = id;
        index += n;
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->InsertFEMat(table, index); });
}

void CSectMeshArea::GetFECount(long& n, bool renumber)
{
    if (m_pMesh) {
        if (renumber)
            m_pMesh->ResetElIDs(n);
        else
            n += m_pMesh->GetCount();
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GetFECount(n, renumber); });
}

void CSectMeshArea::SumDiscrNodes(long& n, bool renumber)
{
    if (m_pMesh)
        m_pMesh->SumNodes(n, renumber);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->SumDiscrNodes(n, renumber); });
}

// ------------------------------------------------------------ results

void CSectMeshArea::TriToTri(int kind, bool dropResults)
{
    if (m_pMesh)
        m_pMesh->TriToTri(kind, dropResults);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->TriToTri(kind, dropResults); });
}

void CSectMeshArea::RetAddNodeStress(CMatrix& m, int first, int last, int& row, int col)
{
    if (m_pMesh)
        m_pMesh->RetAddNodeStress(m, first, last, row, col);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->RetAddNodeStress(m, first, last, row, col); });
}

void CSectMeshArea::GetLinks(CObList& out, bool mesh)
{
    if (mesh) {
        if (m_pMesh)
            m_pMesh->GetLinks(out);
    } else {
        CSectArea::GetLinks(out);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GetLinks(out, mesh); });
}

void CSectMeshArea::RetAddMeanStress(CMatrix& m, int first, int last, int& row, int col)
{
    if (m_pMesh)
        m_pMesh->RetAddMeanStress(m, first, last, row, col);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->RetAddMeanStress(m, first, last, row, col); });
}

void CSectMeshArea::GetNodeValues(CMatrix& m, int first, int last, int& row, int col)
{
    if (m_pMesh)
        m_pMesh->GetNodeValues(m, first, last, row, col);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GetNodeValues(m, first, last, row, col); });
}

void CSectMeshArea::RetElemStress(CMatrix& m, int first, int last, int& row)
{
    if (m_pMesh)
        m_pMesh->RetElemStress(m, first, last, row);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->RetElemStress(m, first, last, row); });
}

void CSectMeshArea::DeleteResults(bool deep, int kind)
{
    if (m_pMesh)
        m_pMesh->DeleteResults(kind);
    if (deep)
        ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->DeleteResults(true, kind); });
}

CSectMeshArea* CSectMeshArea::IsElemInThis(CElement* element)
{
    if (m_pMesh && element && m_pMesh->Find(reinterpret_cast<CObject*>(element)))
        return this;
    CSectMeshArea* found = nullptr;
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        if (!found)
            found = s->IsElemInThis(element);
    });
    return found;
}

void CSectMeshArea::InsertMeshes(CObList& out)
{
    if (m_pMesh)
        out.AddTail(static_cast<CObject*>(m_pMesh));
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->InsertMeshes(out); });
}

void CSectMeshArea::SetNodeValues(CMatrix& m, int& row)
{
    if (m_pMesh)
        m_pMesh->SetNodeValues(m, row);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->SetNodeValues(m, row); });
}

void CSectMeshArea::SetStresses(double* values, int& pos)
{
    // The mesh organiser takes results only row by row (the matrix form);
    // the flat form reaches the sub-sections.
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->SetStresses(values, pos); });
}

void CSectMeshArea::SetStresses(CMatrix& m, int& row)
{
    if (m_pMesh)
        m_pMesh->SetStresses(m, row);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->SetStresses(m, row); });
}

bool CSectMeshArea::GetMaxMinStress(int r, double& max, double& min)
{
    return m_pMesh && m_pMesh->GetMaxMinStress(r, max, min);
}

bool CSectMeshArea::Smooth(bool allNames)
{
    if (m_pMesh && !m_pMesh->Smooth(allNames))
        return false;
    for (CObject* ob : Entries(m_pSubList))
        if (CSectMeshArea* s = AsMeshArea(ob); s && !s->Smooth(allNames))
            return false;
    return true;
}

void CSectMeshArea::PreSmooth()
{
    if (m_pMesh)
        m_pMesh->PreSmooth();
    ForMeshSubs(m_pSubList, [](CSectMeshArea* s) { s->PreSmooth(); });
}

bool CSectMeshArea::RemoveElem(CObject* element)
{
    return m_pMesh && m_pMesh->RemoveElem(element);
}

void CSectMeshArea::ForEachElement(const std::function<void(CElement*)>& f)
{
    AnyElement([&](CElement* e) {
        f(e);
        return false;
    });
}

long CSectMeshArea::MeshElementCount() const
{
    long count = m_pMesh ? static_cast<long>(m_pMesh->GetCount()) : 0;
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { count += s->MeshElementCount(); });
    return count;
}

bool CSectMeshArea::AnyElement(const std::function<bool(CElement*)>& f)
{
    if (m_pMesh)
        for (POSITION pos = m_pMesh->GetHeadPosition(); pos;)
            if (f(m_pMesh->GetNextElem(pos)))
                return true;
    bool found = false;
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { found = found || s->AnyElement(f); });
    return found;
}

int CSectMeshArea::RemoveElems(const std::unordered_set<CObject*>& elements)
{
    int removed = m_pMesh ? m_pMesh->RemoveElems(elements) : 0;
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { removed += s->RemoveElems(elements); });
    return removed;
}

void CSectMeshArea::GetBCs(CObList& out)
{
    if (m_pMesh)
        m_pMesh->GetBCs(out);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GetBCs(out); });
}

void CSectMeshArea::GetLoads(CObList* nodeLoads, CObList* edgeLoads)
{
    if (m_pMesh)
        m_pMesh->GetLoads(nodeLoads, edgeLoads);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GetLoads(nodeLoads, edgeLoads); });
}

// ------------------------------------------------------------ plots

bool CSectMeshArea::EffStressFactors(int kind, double& k1, double& k2) const
{
    k1 = k2 = 1.0;
    if (m_pMaterial && m_pMaterial->IsFlagBit(2)) {
        // A genuinely orthotropic material has no effective stress.
        const COrthoMat* ortho = dynamic_cast<const COrthoMat*>(m_pMaterial);
        if (ortho && ortho->GetModOfElast90() != ortho->GetModOfElast())
            return false;
    }
    if (kind == 2) {
        const double nu = m_pMaterial ? m_pMaterial->GetNu() : 0.0;
        k1 = nu * nu - nu + 1.0;
        k2 = 2.0 * nu * (1.0 - nu) + 1.0;
    }
    return true;
}

CVector* CSectMeshArea::PlotAxes(CVector* axes, bool& polar)
{
    if (axes)
        return axes;
    polar = m_bPolar;
    return &m_vAxes;
}

namespace {

// The corners an element gives the mesh drawing: triangles and
// quadrilaterals their first 3 or 4 nodes (none when they have fewer),
// other elements every node.
int DrawnCorners(CElement* element)
{
    // PickCorners tells the two kinds apart without a cast per element.
    const int count = static_cast<int>(element->GetCount());
    const int corners = element->PickCorners();
    if (corners == 3 || corners == 4)
        return count < corners ? 0 : corners;
    return count;
}

} // namespace

void CSectMeshArea::MeshLineColour(bool colour)
{
    const bool solid = m_pMaterial && m_pMaterial->GetName() != "VOID";
    if (!colour && m_pMaterial)
        m_pMaterial->GLInvertColor();
    else if (colour && solid)
        m_pMaterial->GLColor();
    else
        glColor3fv(glcInvBckGrnd);
}

void CSectMeshArea::GLDrawMesh(bool colour)
{
    if (m_pMesh) {
        MeshLineColour(colour);
        m_pMesh->GLDraw();
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GLDrawMesh(colour); });
}

bool CSectMeshArea::MeshDrawsCorners(int corners) const
{
    if (m_pMesh)
        for (POSITION pos = m_pMesh->GetHeadPosition(); pos;) {
            const int n = DrawnCorners(m_pMesh->GetNextElem(pos));
            if (n != 0 && n != corners)
                return false;
        }
    bool all = true;
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { all = all && s->MeshDrawsCorners(corners); });
    return all;
}

namespace {

constexpr std::uint32_t kNoNode = UINT32_MAX;

// Builds a mesh's table of element edges element by element: each edge
// once, in the order the elements first give it, as pairs of indices into
// nodes (each node once, in the order of its first corner); an edge with a
// missing node is left out. Every array grows as it goes: a mesh's first
// table costs little more than the memory it ends up holding.
class EdgeTableBuilder
{
public:
    EdgeTableBuilder(std::size_t cornerCount, std::vector<const CSNode*>& nodes, std::vector<std::uint32_t>& ends)
        : m_nodes(nodes), m_ends(ends)
    {
        // The node table: indices into nodes by an open-addressing hash
        // of the address, kept at most half full. A mesh of triangles has
        // about one node for six corners, of quadrilaterals one for four,
        // and about one edge for two corners either way: room for a few
        // more of each from the start, so that no array moves nor the table
        // grows at the end of a large mesh (each would touch memory twice).
        const std::size_t room = cornerCount / 4 + 16;
        std::size_t size = 64;
        while (size < 2 * room)
            size *= 2;
        m_table.assign(size, kNoNode);
        m_nodes.reserve(room);
        m_first.reserve(room);
        m_ends.reserve(cornerCount + cornerCount / 8 + 32);
        m_next.reserve(cornerCount / 2 + cornerCount / 16 + 16);
    }

    // The node's index (kNoNode for none), added at its first corner.
    std::uint32_t IndexOf(const CSNode* node)
    {
        if (!node)
            return kNoNode;
        if (2 * (m_nodes.size() + 1) > m_table.size()) {
            m_table.assign(2 * m_table.size(), kNoNode);
            for (std::uint32_t n = 0; n < m_nodes.size(); ++n)
                m_table[FreeSlot(m_nodes[n])] = n;
        }
        const std::size_t mask = m_table.size() - 1;
        for (std::size_t i = Slot(node);; i = (i + 1) & mask) {
            if (m_table[i] == kNoNode) {
                m_table[i] = static_cast<std::uint32_t>(m_nodes.size());
                m_nodes.push_back(node);
                m_first.push_back(kNoNode);
                return m_table[i];
            }
            if (m_nodes[m_table[i]] == node)
                return m_table[i];
        }
    }

    // The edges of an element whose corners have the indices at.
    void AddElement(const std::uint32_t* at, int corners)
    {
        for (int k = 0; k < corners; ++k) {
            const std::uint32_t a = at[k], b = at[(k + 1) % corners];
            if (a == kNoNode || b == kNoNode)
                continue;
            // The edges met so far are listed by their lower node: a
            // node's list holds the few edges to its neighbours.
            const std::uint32_t low = std::min(a, b), high = std::max(a, b);
            std::uint32_t edge = m_first[low];
            while (edge != kNoNode && std::max(m_ends[2 * edge], m_ends[2 * edge + 1]) != high)
                edge = m_next[edge];
            if (edge != kNoNode)
                continue;
            m_next.push_back(m_first[low]);
            m_first[low] = static_cast<std::uint32_t>(m_next.size() - 1);
            m_ends.push_back(a);
            m_ends.push_back(b);
        }
    }

private:
    std::size_t Slot(const CSNode* node) const
    {
        const auto bits = reinterpret_cast<std::uintptr_t>(node) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(bits >> 32) & (m_table.size() - 1);
    }
    std::size_t FreeSlot(const CSNode* node) const
    {
        std::size_t i = Slot(node);
        while (m_table[i] != kNoNode)
            i = (i + 1) & (m_table.size() - 1);
        return i;
    }

    std::vector<const CSNode*>& m_nodes;
    std::vector<std::uint32_t>& m_ends;
    std::vector<std::uint32_t> m_table, m_first, m_next;
};

} // namespace

// The key of the edges (the corner nodes of every element that draws
// `corners` corners, in element order, as indices into nodes; kNoNode for
// a missing one), whether another element draws a different number of
// corners, and the edges themselves: each edge's two ends as indices into
// the mesh's nodes, each node listed once. The ends are shared with the
// lines a plot holds (CMeshLines), which may outlive the table.
struct CSectMeshArea::DrawnEdges {
    int corners = 0;
    bool mixed = false;
    std::vector<std::uint32_t> key;
    std::vector<const CSNode*> nodes;
    std::shared_ptr<std::vector<std::uint32_t>> ends = std::make_shared<std::vector<std::uint32_t>>();
};

const CSectMeshArea::DrawnEdges& CSectMeshArea::MeshEdges(int corners)
{
    // The edges follow from the key alone: while the mesh gives the same
    // key, they hold (and name only nodes of the mesh). One walk over the
    // elements checks the key, with each element's nodes read in list order.
    DrawnEdges* cache = m_pDrawnEdges.get();
    bool same = cache && cache->corners == corners;
    bool mixed = false;
    std::size_t at = 0;
    // The elements and their node lists are fetched ahead of their turns.
    if (same)
        m_pMesh->ForEachFetched(
            [&](CElement* element) {
                const int drawn = DrawnCorners(element);
                if (drawn != corners) {
                    mixed = mixed || drawn != 0;
                    return true;
                }
                POSITION node = element->GetHeadPosition();
                for (int k = 0; same && k < corners; ++k, ++at) {
                    same = at < cache->key.size() && node;
                    if (same) {
                        const std::uint32_t n = cache->key[at];
                        same = (n == kNoNode ? nullptr : cache->nodes[n]) == element->GetNextNode(node);
                    }
                }
                return same;
            },
            2);
    if (same && at == cache->key.size() && mixed == cache->mixed)
        return *cache;
    m_pDrawnEdges = std::make_unique<DrawnEdges>();
    cache = m_pDrawnEdges.get();
    cache->corners = corners;
    const std::size_t cornerCount = static_cast<std::size_t>(m_pMesh->GetCount()) * static_cast<std::size_t>(corners);
    cache->key.reserve(cornerCount);
    EdgeTableBuilder table(cornerCount, cache->nodes, *cache->ends);
    std::uint32_t indices[8];
    m_pMesh->ForEachFetched(
        [&](CElement* element) {
            const int drawn = DrawnCorners(element);
            if (drawn == corners && corners <= 8) {
                POSITION node = element->GetHeadPosition();
                for (int k = 0; k < corners; ++k) {
                    indices[k] = table.IndexOf(element->GetNextNode(node));
                    cache->key.push_back(indices[k]);
                }
                table.AddElement(indices, corners);
            } else if (drawn != 0) {
                cache->mixed = true;
            }
        },
        2);
    return *cache;
}

void CSectMeshArea::GLDrawMeshEdges(bool colour, int corners)
{
    if (m_pMesh) {
        const DrawnEdges& edges = MeshEdges(corners);
        MeshLineColour(colour);
        for (std::uint32_t end : *edges.ends)
            edges.nodes[end]->GLVertex();
    } else {
        m_pDrawnEdges.reset();
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GLDrawMeshEdges(colour, corners); });
}

bool CSectMeshArea::CollectMeshEdges(bool colour, int corners, CMeshLines& lines)
{
    std::size_t run = lines.runs.size();
    MeshLineRuns(colour, lines);
    return FillMeshLines(corners, lines, run);
}

void CSectMeshArea::MeshLineRuns(bool colour, CMeshLines& lines)
{
    if (m_pMesh) {
        CMeshLines::Run run{};
        MeshLineColour(colour);
        glGetFloatv(GL_CURRENT_COLOR, run.colour);
        lines.runs.push_back(std::move(run));
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->MeshLineRuns(colour, lines); });
}

bool CSectMeshArea::FillMeshLines(int corners, CMeshLines& lines, std::size_t& run)
{
    bool once = true;
    if (m_pMesh) {
        const DrawnEdges& edges = MeshEdges(corners);
        once = !edges.mixed;
        CMeshLines::Run& filled = lines.runs.at(run++);
        // Each node's coordinates once, as they stand; the edge table's
        // ends index them.
        filled.base = lines.xyz.size() / 3;
        filled.ends = edges.ends;
        lines.xyz.reserve(lines.xyz.size() + 3 * edges.nodes.size());
        for (const CSNode* node : edges.nodes) {
            lines.xyz.push_back(static_cast<float>(node->x));
            lines.xyz.push_back(static_cast<float>(node->y));
            lines.xyz.push_back(static_cast<float>(node->z));
        }
    } else {
        m_pDrawnEdges.reset();
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { once = s->FillMeshLines(corners, lines, run) && once; });
    return once;
}

void CMeshLines::GLDraw() const
{
    // One call per run instead of one per vertex: Mesa takes the arrays in
    // one go and draws the same lines in the same order.
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const Run& run : runs) {
        if (!run.ends || run.ends->empty())
            continue;
        glColor4fv(run.colour);
        glVertexPointer(3, GL_FLOAT, 0, xyz.data() + 3 * run.base);
        glDrawElements(GL_LINES, static_cast<GLsizei>(run.ends->size()), GL_UNSIGNED_INT, run.ends->data());
    }
    glPopClientAttrib();
}

void CSectMeshArea::GLDrawPlanEdges(int corners)
{
    if (m_pMesh) {
        const DrawnEdges& edges = MeshEdges(corners);
        for (std::uint32_t end : *edges.ends) {
            const CSNode* node = edges.nodes[end];
            glVertex3d(node->x, node->y, 0.0);
        }
    } else {
        m_pDrawnEdges.reset();
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GLDrawPlanEdges(corners); });
}

void CSectMeshArea::GLDrawMeshNodes()
{
    // Each mesh node once: every element draws the nodes it owns.
    if (m_pMesh) {
        glBegin(GL_POINTS);
        for (POSITION pos = m_pMesh->GetHeadPosition(); pos;)
            m_pMesh->GetNextElem(pos)->GLDrawNodes(false, nullptr);
        glEnd();
    }
    ForMeshSubs(m_pSubList, [](CSectMeshArea* s) { s->GLDrawMeshNodes(); });
}

void CSectMeshArea::GLDrawLoadedMeshNodes()
{
    if (m_pMesh) {
        glBegin(GL_POINTS);
        for (POSITION pos = m_pMesh->GetHeadPosition(); pos;)
            m_pMesh->GetNextElem(pos)->GLDrawLoadedNodes();
        glEnd();
    }
    ForMeshSubs(m_pSubList, [](CSectMeshArea* s) { s->GLDrawLoadedMeshNodes(); });
}

void CSectMeshArea::ColorPlot(int index, int mode, double scale)
{
    if (m_pMesh)
        m_pMesh->GLColorPlot(index, mode, scale);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->ColorPlot(index, mode, scale); });
}

void CSectMeshArea::PickDrawResGL(int index, int mode, double scale)
{
    if (m_pMesh)
        m_pMesh->PickDrawGL(index, mode, scale);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->PickDrawResGL(index, mode, scale); });
}

void CSectMeshArea::GLDrawDistorted(int mode, double scale, int a, int b, int c)
{
    if (m_pMesh)
        m_pMesh->GLDrawDistorted(mode, scale, a, b, c);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->GLDrawDistorted(mode, scale, a, b, c); });
}

void CSectMeshArea::DrawPriStress(int mode, bool major, double scale, int sx, int sy, int txy)
{
    if (m_pMesh)
        m_pMesh->DrawPriStress(mode, major, scale, sx, sy, txy);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->DrawPriStress(mode, major, scale, sx, sy, txy); });
}

void CSectMeshArea::GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2,
                                       bool primaryOnly)
{
    if (m_pMesh)
        m_pMesh->GetMaxMinPriStress(max1, min1, max2, min2, primaryOnly);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->GetMaxMinPriStress(max1, min1, max2, min2, primaryOnly);
    });
}

void CSectMeshArea::PickDrawPriStress(bool major, double scale, int sx, int sy, int txy)
{
    if (m_pMesh)
        m_pMesh->PickDrawPriStress(major, scale, sx, sy, txy);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->PickDrawPriStress(major, scale, sx, sy, txy); });
}

void CSectMeshArea::PickDrawDistort(double scale, int a, int b, int c)
{
    if (m_pMesh)
        m_pMesh->PickDrawDistort(scale, a, b, c);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->PickDrawDistort(scale, a, b, c); });
}

void CSectMeshArea::DrawResArrows(double scale, int a, int b, int c, double range, bool colour)
{
    if (m_pMesh)
        m_pMesh->DrawResArrows(scale, a, b, c, range, colour);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->DrawResArrows(scale, a, b, c, range, colour); });
}

void CSectMeshArea::DrawLocalStress(int which, int mode, bool polar, CVector* axes, double scale,
                                    int sx, int sy, int txy)
{
    if (m_pMesh) {
        bool p = polar;
        CVector* use = PlotAxes(axes, p);
        if (use->GetSize() > 0)
            m_pMesh->DrawLocalStress(which, mode, p, *use, scale, sx, sy, txy);
        else
            m_pMesh->GLColorPlot(mode, which, scale);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->DrawLocalStress(which, mode, polar, axes, scale, sx, sy, txy);
    });
}

void CSectMeshArea::PickDrawLocalStress(int which, bool polar, CVector* axes, double scale, int sx,
                                        int sy, int txy)
{
    if (m_pMesh) {
        bool p = polar;
        CVector* use = PlotAxes(axes, p);
        if (use->GetSize() > 0)
            m_pMesh->PickDrawLocalStress(which, p, *use, scale, sx, sy, txy);
        else
            m_pMesh->PickDrawGL(which, 8, scale);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->PickDrawLocalStress(which, polar, axes, scale, sx, sy, txy);
    });
}

void CSectMeshArea::GetMaxMinLocalStress(double* max, double* min, bool polar, CVector* axes,
                                         int sx, int sy, int txy)
{
    if (m_pMesh) {
        bool p = polar;
        CVector* use = PlotAxes(axes, p);
        m_pMesh->GetMaxMinLocalStress(max, min, p, *use, sx, sy, txy);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->GetMaxMinLocalStress(max, min, polar, axes, sx, sy, txy);
    });
}

void CSectMeshArea::DrawLocalVect(int which, int mode, bool polar, CVector* axes, double scale,
                                  int a, int b)
{
    if (m_pMesh) {
        bool p = polar;
        CVector* use = PlotAxes(axes, p);
        if (use->GetSize() > 0)
            m_pMesh->DrawLocalVect(which, mode, p, *use, scale, a, b);
        else
            m_pMesh->GLColorPlot(mode, which, scale);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->DrawLocalVect(which, mode, polar, axes, scale, a, b);
    });
}

void CSectMeshArea::PickDrawLocalVect(int which, bool polar, CVector* axes, double scale, int a,
                                      int b)
{
    if (m_pMesh) {
        bool p = polar;
        CVector* use = PlotAxes(axes, p);
        if (use->GetSize() > 0)
            m_pMesh->PickDrawLocalVect(which, p, *use, scale, a, b);
        else
            m_pMesh->PickDrawGL(which, 8, scale);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->PickDrawLocalVect(which, polar, axes, scale, a, b);
    });
}

void CSectMeshArea::GetMaxMinLocalVect(double* max, double* min, bool polar, CVector* axes, int a,
                                       int b)
{
    if (m_pMesh) {
        bool p = polar;
        CVector* use = PlotAxes(axes, p);
        m_pMesh->GetMaxMinLocalVect(max, min, p, *use, a, b);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->GetMaxMinLocalVect(max, min, polar, axes, a, b);
    });
}

void CSectMeshArea::DrawEffStress(int kind, int mode, double scale, int a, int b, int c)
{
    double k1, k2;
    if (m_pMesh && EffStressFactors(kind, k1, k2))
        m_pMesh->DrawEffStress(kind, mode, scale, a, b, c, k1, k2);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->DrawEffStress(kind, mode, scale, a, b, c); });
}

void CSectMeshArea::PickDrawEffStress(int kind, double scale, int a, int b, int c)
{
    double k1, k2;
    if (m_pMesh && EffStressFactors(kind, k1, k2))
        m_pMesh->PickDrawEffStress(kind, scale, a, b, c, k1, k2);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->PickDrawEffStress(kind, scale, a, b, c); });
}

void CSectMeshArea::GetMaxMinEffStress(int kind, double& max, double& min, int a, int b, int c,
                                       bool flag)
{
    double k1, k2;
    if (m_pMesh && EffStressFactors(kind, k1, k2))
        m_pMesh->GetMaxMinEffStress(kind, max, min, a, b, c, k1, k2, flag);
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) {
        s->GetMaxMinEffStress(kind, max, min, a, b, c, flag);
    });
}

void CSectMeshArea::DrawElmNumbers()
{
    if (m_pMesh)
        m_pMesh->DrawElmNumbers();
    ForMeshSubs(m_pSubList, [](CSectMeshArea* s) { s->DrawElmNumbers(); });
}

void CSectMeshArea::DrawNodeNumbers(bool mesh)
{
    if (mesh) {
        if (m_pMesh)
            for (POSITION pos = m_pMesh->GetHeadPosition(); pos;)
                m_pMesh->GetNextElem(pos)->DrawNodeNumbers();
    } else {
        CGraph::DrawNodeNumbers();
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->DrawNodeNumbers(mesh); });
}

void CSectMeshArea::DrawNodeLoads(double scale, bool mesh)
{
    // The loads read their scale from an array of scales, not one double.
    double scales[CNodeLoad::kScaleCount];
    std::fill(scales, scales + CNodeLoad::kScaleCount, scale);
    if (mesh) {
        if (m_pMesh)
            for (POSITION pos = m_pMesh->GetHeadPosition(); pos;)
                m_pMesh->GetNextElem(pos)->DrawNodeLoads(scales);
    } else {
        CSectArea::DrawNodeLoads(scales);
    }
    ForMeshSubs(m_pSubList, [&](CSectMeshArea* s) { s->DrawNodeLoads(scale, mesh); });
}

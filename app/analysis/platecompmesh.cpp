// Mesh generation of the plate component: node spacing from the edge
// lengths, every region meshing itself, refinement for the quadrilateral
// element codes, retries with more subdivisions while the mesh is too
// coarse, and the log lines. Also the forwarding of result operations to the
// regions and the unit quantity of the selected result component.
#include "app/analysis/platecomp.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <set>
#include <vector>

#include "app/analysis/runlog.h"
#include "app/analysis/trimesh.h"
#include "femodel/strelna.h"
#include "platform/afx/progress.h"
#include "platform/afx/runtime.h"

namespace
{

// The angle handed to the structured mesher by GenerateRegionMesh (10 pi / 21).
constexpr double kRegionMeshAngle = 1.4959965017094252;

const char* const kUnable = "Unable to generate mesh";
const char* const kCancelled = "*** Execution cancelled by user ***\r\n";

using runlog::Append;

// The run state that every exit of a mesh generation puts back: the global
// identifier counters, the subdivision setting and the busy flag; the
// outermost call also balances the mesher's work storage.
class MeshRun
{
public:
    MeshRun(CPlateComp& comp, bool outermost)
        : m_comp(comp), m_subdivisions(comp.m_iSubdivisions), m_statics(outermost)
    {
    }
    ~MeshRun()
    {
        ReleaseStatics();
        m_comp.m_bBusy = false;
        m_comp.m_iSubdivisions = m_subdivisions;
    }
    MeshRun(const MeshRun&) = delete;
    MeshRun& operator=(const MeshRun&) = delete;

    void ReleaseStatics()
    {
        if (m_statics)
            CEasyMesh::DeAllocStatics();
        m_statics = false;
    }

private:
    CPlateComp& m_comp;
    CIdentifierCounters m_counters;
    int m_subdivisions;
    bool m_statics;
};

void ReleaseCopies(CPlateComp& comp)
{
    for (POSITION pos = comp.CObList::GetHeadPosition(); pos;)
        comp.GetNext(pos)->ReleaseCopyNodes(true);
}

// A stop request during meshing: no region keeps a partial mesh.
void Cancel(CPlateComp& comp, CStringArray* log)
{
    comp.ForEachMeshRegion([](CSectMeshArea* r) { r->DeleteMesh(true); });
    Append(log, kCancelled);
}

void AppendRunLines(CPlateComp& comp, CStringArray* log, double seconds)
{
    if (!log)
        return;
    CString line;
    line.Format("Used time generating mesh: %.3f  seconds\r\n", seconds);
    log->Add(line);
    line.Format("number of nodes: %d\tnumber of elements: %d\r\n", comp.m_nNodes, comp.m_nElements);
    log->Add(line);
    comp.AppendAreaLine(log);
}

CString RegionLine(CObject* failed)
{
    CString line = "Could not generate mesh for region: ";
    if (auto* graph = dynamic_cast<CGraph*>(failed))
        line += graph->GetName();
    line += "\r\n";
    return line;
}

} // namespace

// ------------------------------------------------------------ conditions of the mesh

namespace
{

// A copy of condition k of the chain alone (without the conditions after
// it), or null.
CBoundCond* SingleCopy(CBoundCond* chain, int k)
{
    CBoundCond* bc = chain ? chain->Jump(k) : nullptr;
    if (!bc)
        return nullptr;
    CBoundCond* next = bc->SetNextBC(nullptr);
    CBoundCond* copy = bc->newBC();
    copy->CopyFrom(*bc);
    bc->SetNextBC(next);
    return copy;
}

int ChainLength(CBoundCond* chain)
{
    int n = 0;
    for (; chain; chain = chain->GetNextBC())
        ++n;
    return n;
}

} // namespace

CMeshConditionScope::CMeshConditionScope(CPlateComp& comp)
{
    std::vector<CSectPlate*> regions;
    for (POSITION pos = comp.CObList::GetHeadPosition(); pos;)
        if (auto* region = dynamic_cast<CSectPlate*>(comp.CObList::GetNext(pos)))
            regions.push_back(region);
    for (CSectPlate* region : regions)
        Collect(region);
    // One pass of the corner rule per condition set (the buckling
    // document's membrane and plate sets): the nodes and edges hold that
    // set alone while it runs.
    int sets = 1;
    for (const Saved& s : m_saved)
        sets = std::max(sets, ChainLength(s.chain));
    for (const SavedEdge& e : m_edges)
        sets = std::max(sets, ChainLength(e.chain));
    std::vector<std::vector<CBoundCond*>> results(m_saved.size(),
                                                  std::vector<CBoundCond*>(sets, nullptr));
    for (int k = 0; k < sets; ++k) {
        if (sets > 1) {
            // An edge's condition of no kind only keeps the place of a later
            // set: it supports nothing in this one. (A node's counts as its
            // own only with an angle.)
            const auto supporting = [](CBoundCond* single) {
                if (single && single->GetBCType() == 0) {
                    delete single;
                    return static_cast<CBoundCond*>(nullptr);
                }
                return single;
            };
            for (SavedEdge& e : m_edges)
                SetChain(*e.edge, supporting(SingleCopy(e.chain, k)));
            for (Saved& s : m_saved) {
                CBoundCond* single = SingleCopy(s.chain, k);
                SetChain(*s.node, single);
                delete single;
            }
        }
        // The rule sees the users' own conditions alone: copies of the edges'
        // conditions (whatever angle they were written with) give way to it.
        std::vector<bool> own(m_saved.size());
        for (std::size_t i = 0; i < m_saved.size(); ++i)
            own[i] = IsOwn(*m_saved[i].node);
        for (std::size_t i = 0; i < m_saved.size(); ++i)
            if (!own[i])
                m_saved[i].node->ClearBC(-1);
        for (CSectPlate* region : regions)
            region->SetBoundaryConditions();
        for (std::size_t i = 0; i < m_saved.size(); ++i)
            results[i][static_cast<std::size_t>(k)] =
                own[i] ? SingleCopy(m_saved[i].chain, k)
                       : SingleCopy(m_saved[i].node->GetBC(-1), 0);
    }
    for (SavedEdge& e : m_edges) {
        e.edge->ClearBC(-1);
        if (e.chain)
            e.edge->SetBC(*e.chain, -1);
        delete e.chain;
    }
    m_edges.clear();
    // Each node holds the sets' results in order (an empty condition where a
    // set gives nothing but a later one does).
    for (std::size_t i = 0; i < m_saved.size(); ++i) {
        CBoundNode& node = *m_saved[i].node;
        node.ClearBC(-1);
        int last = sets - 1;
        while (last >= 0 && !results[i][static_cast<std::size_t>(last)])
            --last;
        for (int k = 0; k <= last; ++k) {
            CBoundCond*& r = results[i][static_cast<std::size_t>(k)];
            if (r)
                node.SetBC(*r, k);
            else
                node.SetAngle(0.0, k); // an empty condition keeps the place
        }
        for (CBoundCond* r : results[i])
            delete r;
    }
}

CMeshConditionScope::~CMeshConditionScope()
{
    for (Saved& s : m_saved) {
        SetChain(*s.node, s.chain);
        delete s.chain;
    }
}

void CMeshConditionScope::SetChain(CBoundNode& node, CBoundCond* chain)
{
    node.ClearBC(-1);
    if (chain)
        node.SetBC(*chain, -1);
}

void CMeshConditionScope::SetChain(CBoundary& edge, CBoundCond* chain)
{
    edge.ClearBC(-1);
    if (chain)
        edge.SetBC(*chain, -1);
    delete chain;
}

void CMeshConditionScope::Collect(CSectPlate* region)
{
    if (!region)
        return;
    for (POSITION pos = region->GetHeadPosition(); pos;) {
        auto* node = dynamic_cast<CBoundNode*>(region->GetNextNode(pos));
        if (!node || !m_seen.insert(node).second)
            continue;
        CBoundCond* chain = nullptr;
        if (CBoundCond* bc = node->GetBC(-1)) {
            chain = bc->newBC();
            chain->CopyFrom(*bc);
        }
        m_saved.push_back({node, chain});
        if (CObList* edges = node->GetEdgeList())
            for (POSITION p = edges->GetHeadPosition(); p;) {
                auto* edge = dynamic_cast<CBoundary*>(static_cast<CObject*>(edges->GetNext(p)));
                if (!edge || !m_seenEdges.insert(edge).second)
                    continue;
                CBoundCond* echain = nullptr;
                if (CBoundCond* bc = edge->GetBC(-1)) {
                    echain = bc->newBC();
                    echain->CopyFrom(*bc);
                }
                m_edges.push_back({edge, echain});
            }
    }
    if (CObList* subs = region->GetSubList())
        for (POSITION pos = subs->GetHeadPosition(); pos;)
            Collect(dynamic_cast<CSectPlate*>(subs->GetNext(pos)));
}

double EdgeListNodeAngle(CSNode& node, const std::function<bool(CObject*)>& listed)
{
    double sum = 0.0;
    int count = 0;
    CEdge* only = nullptr;
    if (CObList* own = node.GetEdgeList())
        for (POSITION p = own->GetHeadPosition(); p;) {
            CObject* e = own->GetNext(p);
            if (!listed(e) || !e->IsKindOf(RUNTIME_CLASS(CEdge)))
                continue;
            auto* edge = static_cast<CEdge*>(e);
            CSNode* start = &node;
            sum += edge->GetCClWAngle(start);
            if (start != &node)
                sum += std::numbers::pi;
            ++count;
            only = edge;
        }
    if (count == 1)
        return only->GetCClWAngle();
    if (count > 1)
        return sum / count - 0.5 * std::numbers::pi;
    return 0.0;
}

bool CMeshConditionScope::IsOwn(CBoundNode& node)
{
    CBoundCond* bc = node.GetBC(0);
    if (!bc || (bc->GetBCType() == 0 && bc->GetAngle() == 0.0))
        return false;
    // The meeting edges whose condition the node's copies: the same
    // condition, or none where the node is free.
    const auto copied = [bc](CObject* object) {
        auto* edge = dynamic_cast<CEdge*>(object);
        CBoundCond* eb = edge ? edge->GetBC(0) : nullptr;
        if (bc->GetBCType() == 0)
            return edge && (!eb || eb->GetBCType() == 0);
        return eb && *eb == *bc;
    };
    // Lines, not directions: the edge page may give the angle from either
    // end, rounded to the digits it shows.
    const auto along = [bc](double angle) {
        return std::fabs(std::remainder(bc->GetAngle() - angle, std::numbers::pi)) < 1e-4;
    };
    int count = 0;
    if (CObList* edges = node.GetEdgeList())
        for (POSITION p = edges->GetHeadPosition(); p;) {
            CObject* edge = edges->GetNext(p);
            if (!copied(edge))
                continue;
            if (along(static_cast<CEdge*>(edge)->GetCClWAngle()))
                return false;
            ++count;
        }
    return count < 2 || !along(EdgeListNodeAngle(node, copied));
}

bool CPlateComp::PreCalc(CStringArray* log, CStringArray* errors, int depth)
{
    CElement::m_iStaticKind = m_iMeshKind;
    g_iOddPatternIndex = m_iOddRowPattern - 1;
    g_iEvenPatternIndex = m_iEvenRowPattern - 1;
    if (depth == 0) {
        g_pMeshNodeList = CGraph::m_pNodeList;
        CQuadMesher::m_pSepNodeList = CGraph::m_pNodeList;
        CEasyMesh::AllocStatics();
        if (IsEmpty()) {
            Append(log, "Unable to generate mesh\r\n");
            Append(errors, "No model is defined\r\n");
            CEasyMesh::DeAllocStatics();
            return false;
        }
    } else if (depth > 10) {
        Append(log, kUnable);
        Append(errors,
               "Brantel could not generate a reasonable mesh for this geometry (code 1)\r\n");
        return false;
    }
    ++depth;
    const bool outermost = depth == 1;
    MeshRun run(*this, outermost);
    std::optional<CMeshConditionScope> conditions;
    if (outermost)
        conditions.emplace(*this);
    const double start = AfxProcessorSeconds();
    StopCalculation(false);
    m_bBusy = true;
    double subdivisions = 0.0;

    if (m_bAutoSpacing) {
        double longest = -1.0, shortest = -1.0;
        GetDist(longest, shortest);
        if (longest <= 0.0 || shortest / longest <= 0.0001) {
            Append(log, kUnable);
            Append(errors, "An error occurred while spacing nodes\r\n");
            if (longest > 0.0 && shortest / longest <= 0.01)
                Append(errors, "The model contains an unresonably small edge (code 2)\r\n");
            return false;
        }
        // The spacing grows by half the shortest edge per element until the
        // running sum reaches the longest edge.
        double h = shortest, sum = shortest;
        while (sum < longest) {
            h += shortest / 2.0;
            sum += h;
        }
        Update(true, true);
        int n = m_iSubdivisions;
        if (n < 0)
            n = AutoSubdivisions(longest, shortest);
        subdivisions = static_cast<double>(n);
        const double limit = longest / subdivisions;
        if (h > limit)
            h = limit;
        h *= 1.0000000000000022;
        SetNodSpace(h);
    } else {
        Update(false, false);
    }

    SubDivide();
    afx::ProgressPoint();
    CObject* failed = Discretize();
    afx::ProgressPoint();
    if (m_bStopRequest) {
        Cancel(*this, log);
        if (outermost)
            ReleaseCopies(*this);
        return false;
    }
    if (failed) {
        Append(log, kUnable);
        if (errors && failed->IsKindOf(RUNTIME_CLASS(CSection)))
            errors->Add(RegionLine(failed));
        if (outermost)
            ReleaseCopies(*this);
        return false;
    }

    switch (m_iElemType) {
    case 31:
    case 32:
    case 33:
    case 61:
    case 65:
    case 66:
    case 75:
    case 81:
    case 85:
        break;
    case 41:
    case 42:
    case 44:
    case 46:
        // Quadrilateral codes: the structured meshes are refined once; the
        // quadrilaterals made from triangles stay as they are.
        if (!IsMeshKind(1))
            for (POSITION pos = CObList::GetHeadPosition(); pos;) {
                GetNext(pos)->RefineUniform(1, 1);
                afx::ProgressPoint();
            }
        break;
    default:
        if (outermost)
            ReleaseCopies(*this);
        return false;
    }

    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        GetNext(pos)->AddLinksToCopyNodes();
        afx::ProgressPoint();
    }
    afx::ProgressPoint();
    m_nElements = GetElementCount(true);
    afx::ProgressPoint();

    if (!m_bStopRequest && m_nElements < m_nMinElements && m_bAutoSpacing) {
        m_iSubdivisions = std::max(2, static_cast<int>(subdivisions * 1.5));
        // The copy links of this attempt point into meshes the retry
        // replaces; the retry makes its own.
        ReleaseCopies(*this);
        afx::ProgressPoint();
        if (!PreCalc(nullptr, errors, depth)) {
            if (m_bStopRequest)
                Cancel(*this, log);
            if (outermost)
                ReleaseCopies(*this);
            return false;
        }
    }
    if (outermost) {
        run.ReleaseStatics();
        m_nNodes = GetNodeCount(true);
        ReleaseCopies(*this);
    }
    afx::ProgressPoint();
    CalcArea();
    if (outermost)
        AppendRunLines(*this, log, AfxProcessorSeconds() - start);
    return true;
}

bool CPlateComp::GenerateRegionMesh(CStringArray* log, CStringArray* errors, int oddPattern,
                                    int evenPattern)
{
    CElement::m_iStaticKind = m_iMeshKind;
    g_pMeshNodeList = CGraph::m_pNodeList;
    CQuadMesher::m_pSepNodeList = CGraph::m_pNodeList;
    if (IsEmpty()) {
        Append(log, "Unable to generate mesh\r\n");
        Append(errors, "The model is empty\r\n");
        return false;
    }
    MeshRun run(*this, false);
    CMeshConditionScope conditions(*this);
    const double start = AfxProcessorSeconds();
    StopCalculation(false);
    m_bBusy = true;
    for (POSITION pos = CObList::GetHeadPosition(); pos && !m_bStopRequest;) {
        auto* region = dynamic_cast<CSectPlate*>(GetNext(pos));
        if (!region || region->MeshQuadRegion(oddPattern, evenPattern, kRegionMeshAngle))
            continue;
        if (m_bStopRequest)
            break;
        Append(log, kUnable);
        Append(errors, RegionLine(region));
        ReleaseCopies(*this);
        return false;
    }
    if (m_bStopRequest) {
        Cancel(*this, log);
        ReleaseCopies(*this);
        return false;
    }
    m_nElements = GetElementCount(true);
    m_nNodes = GetNodeCount(true);
    ReleaseCopies(*this);
    CalcArea();
    AppendRunLines(*this, log, AfxProcessorSeconds() - start);
    return true;
}

// ------------------------------------------------------------ forwarding

void CPlateComp::RetAddMeanStress(CMatrix& m, int first, int last, int flag)
{
    int counter = 0;
    ForEachMeshRegion(
        [&](CSectMeshArea* r) { r->RetAddMeanStress(m, first, last, counter, flag); });
}

void CPlateComp::GetNodeValues(CMatrix& m, int first, int last, int flag)
{
    int counter = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) { r->GetNodeValues(m, first, last, counter, flag); });
}

void CPlateComp::RetElemStress(CMatrix& m, int first, int last)
{
    int counter = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) { r->RetElemStress(m, first, last, counter); });
}

void CPlateComp::DeleteResults(int flag)
{
    ForEachMeshRegion([&](CSectMeshArea* r) { r->DeleteResults(true, flag); });
}

CSectMeshArea* CPlateComp::IsElemInThis(CElement* element)
{
    CSectMeshArea* found = nullptr;
    ForEachMeshRegion([&](CSectMeshArea* r) {
        if (!found)
            found = r->IsElemInThis(element);
    });
    return found;
}

bool CPlateComp::IsMeshKind(unsigned bits)
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        auto* region = dynamic_cast<CSectPlate*>(GetNext(pos));
        if (region && !region->IsMeshKind(bits))
            return false;
    }
    return true;
}

int CPlateComp::GetResultQuantity()
{
    static const int kMembrane[11] = {8, 8, 8, 18, 18, 1, 1, 8, 8, 8, 18};
    static const int kPlate[11] = {2, 2, 2, 18, 18, 18, 1, 2, 2, 0, 0};
    static const int kHigher[11] = {2, 2, 2, 10, 10, 18, 18, 18, 1, 2, 2};
    const int* row = nullptr;
    switch (m_iElemType) {
    case 31:
    case 32:
    case 33:
    case 41:
    case 42:
    case 44:
    case 46:
        row = kMembrane;
        break;
    case 61:
    case 65:
    case 66:
        row = kPlate;
        break;
    case 75:
    case 81:
    case 85:
        row = kHigher;
        break;
    default:
        return 0;
    }
    const int c = GetActVal();
    return c >= 0 && c <= 10 ? row[c] : 0;
}

void CPlateComp::UpdateMaxMinEffStress()
{
    if (m_MaxValsExt.GetSize() < 3 || m_MinValsExt.GetSize() < 3)
        return;
    // Seeded by the first value: a plate in tension throughout has no
    // zero effective stress.
    valuerange::Empty(m_MaxValsExt[2], m_MinValsExt[2]);
    ForEachMeshRegion([&](CSectMeshArea* r) {
        r->GetMaxMinEffStress(m_iPlaneStrain + 1, m_MaxValsExt[2], m_MinValsExt[2], 0, 1, 2, false);
    });
    valuerange::Settle(m_MaxValsExt[2], m_MinValsExt[2]);
}

#include "app/shell/modcopy.h"

#include <algorithm>
#include <array>
#include <vector>

#include "geometry/bexlar.h"
#include "platform/afx/selection.h"
#include "platform/ferrand/material.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"

namespace
{

// The two lists. Deleted at exit before the selection names that a
// deleted graph reports to, which are made first (see State).
struct CopyLists {
    CObList* regions = nullptr;
    CObList* materials = nullptr;
    ~CopyLists() { CRegionCopyList::Delete(); }
};

CopyLists& State()
{
    AfxGetSelectionNames();
    static CopyLists lists;
    return lists;
}

template <class F> void ForEachArea(CObList& list, F f)
{
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (auto* area = dynamic_cast<CSectArea*>(list.GetNext(pos)))
            f(area);
}

} // namespace

CObList* CRegionCopyList::Get()
{
    return State().regions;
}

CObList* CRegionCopyList::New()
{
    Delete();
    State().regions = new CObList(10);
    return State().regions;
}

CObList* CRegionCopyList::Materials()
{
    if (!State().materials)
        State().materials = new CObList(10);
    return State().materials;
}

void CRegionCopyList::DeleteRegions(CObList* regions)
{
    if (!regions)
        return;
    // The copies belong to no document: no node list may lose their nodes.
    NODELIST* nodeList = CGraph::m_pNodeList;
    CGraph::m_pNodeList = nullptr;
    while (!regions->IsEmpty())
        delete regions->RemoveHead();
    delete regions;
    CGraph::m_pNodeList = nodeList;
}

void CRegionCopyList::Delete()
{
    CopyLists& lists = State();
    const DWORD node = CSNode::lIDnode, edge = CEdge::lIDedge, graph = CGraph::lIDGraph;
    DeleteRegions(lists.regions);
    lists.regions = nullptr;
    if (lists.materials) {
        while (!lists.materials->IsEmpty())
            delete lists.materials->RemoveHead();
        delete lists.materials;
        lists.materials = nullptr;
    }
    CSNode::lIDnode = node;
    CEdge::lIDedge = edge;
    CGraph::lIDGraph = graph;
}

void CRegionCopyList::CopyMaterials(CObList& modelMaterials)
{
    CObList* regions = Get();
    if (!regions)
        return;
    for (POSITION pos = modelMaterials.GetHeadPosition(); pos;) {
        auto* material = dynamic_cast<CMaterial*>(modelMaterials.GetNext(pos));
        // A use by the model and one by a copy at least.
        if (!material || material->GetElemCount() < 2)
            continue;
        CMaterial* copy = material->Copy();
        Materials()->AddTail(copy);
        ForEachArea(*regions, [&](CSectArea* area) { area->ReplaceMaterial(material, copy); });
    }
}

void CRegionCopyList::SetCountersAbove(CSectComp& model)
{
    CGraph::lIDGraph = static_cast<DWORD>(std::max(model.GetMaxID(1), 4000000000ul) + 1);
    CEdge::lIDedge = static_cast<DWORD>(std::max(model.GetMaxID(4), 100000000ul) + 1);
    CSNode::lIDnode = static_cast<DWORD>(model.GetMaxID(2) + 1);
}

CObList* CRegionCopyList::MakePasteCopies()
{
    CObList* regions = Get();
    if (!regions)
        return nullptr;
    auto* pasted = new CObList(10);
    for (POSITION pos = regions->GetHeadPosition(); pos;)
        if (auto* graph = dynamic_cast<CGraph*>(regions->GetNext(pos)))
            pasted->AddTail(static_cast<CObject*>(graph->Copy(false)));
    for (POSITION pos = regions->GetHeadPosition(); pos;)
        if (auto* graph = dynamic_cast<CGraph*>(regions->GetNext(pos)))
            graph->ReleaseCopyNodes(true);
    return pasted;
}

void CRegionCopyList::MapMaterials(CObList& pasted, CObList& targetMaterials, CMaterial* fallback)
{
    CObList* copies = State().materials;
    if (!copies)
        return;
    for (POSITION pos = copies->GetHeadPosition(); pos;) {
        auto* copy = static_cast<CMaterial*>(copies->GetNext(pos));
        CMaterial* target = fallback;
        for (POSITION t = targetMaterials.GetHeadPosition(); t;) {
            auto* candidate = dynamic_cast<CMaterial*>(targetMaterials.GetNext(t));
            if (candidate && candidate->GetName() == copy->GetName()) {
                target = candidate;
                break;
            }
        }
        ForEachArea(pasted, [&](CSectArea* area) { area->ReplaceMaterial(copy, target); });
    }
}

bool MoveNodesUnlessCrossing(CSectComp& model, CObList& nodes, double dx, double dy,
                             CObList& overlaps)
{
    // Every edge at the moved nodes, once each, with the model's answer.
    auto eachEdge = [&](auto f) {
        for (POSITION pos = nodes.GetHeadPosition(); pos;) {
            CObList* edges = static_cast<CSNode*>(nodes.GetNext(pos))->GetEdgeList();
            if (!edges)
                continue;
            for (POSITION e = edges->GetHeadPosition(); e;)
                if (auto* edge = dynamic_cast<CEdge*>(edges->GetNext(e)))
                    if (!f(edge))
                        return false;
        }
        return true;
    };
    std::vector<std::array<double, 3>> before;
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        auto* node = static_cast<CSNode*>(nodes.GetNext(pos));
        before.push_back({node->x, node->y, node->z});
    }
    for (POSITION pos = nodes.GetHeadPosition(); pos;)
        static_cast<CSNode*>(nodes.GetNext(pos))->Translate(dx, dy, 0.0, true);
    if (!eachEdge([&](CEdge* edge) { return model.Intersection(edge, true, nullptr) != 1; })) {
        // Back to the very coordinates (a move there and back may round).
        std::size_t i = 0;
        for (POSITION pos = nodes.GetHeadPosition(); pos; ++i) {
            auto* node = static_cast<CSNode*>(nodes.GetNext(pos));
            node->SetNodeCoord(before[i][0], before[i][1], before[i][2]);
        }
        eachEdge([](CEdge* edge) {
            edge->Update();
            return true;
        });
        return false;
    }
    eachEdge([&](CEdge* edge) {
        if (model.Intersection(edge, true, nullptr) == 2 && !overlaps.Find(edge))
            overlaps.AddTail(edge);
        return true;
    });
    return true;
}

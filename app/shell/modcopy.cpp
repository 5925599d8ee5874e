#include "app/shell/modcopy.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "geometry/bexlar.h"
#include "platform/ferrand/material.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"

namespace
{

template <class F> void ForEachArea(CObList& list, F f)
{
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (auto* area = dynamic_cast<CSectArea*>(list.GetNext(pos)))
            f(area);
}

} // namespace

void DeleteRegionList(CObList* regions)
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

void CopyRegionMaterials(CObList& copies, CObList& materialCopies, CObList& modelMaterials)
{
    for (POSITION pos = modelMaterials.GetHeadPosition(); pos;) {
        auto* material = dynamic_cast<CMaterial*>(modelMaterials.GetNext(pos));
        // A use by the model and one by a copy at least.
        if (!material || material->GetElemCount() < 2)
            continue;
        CMaterial* copy = material->Copy();
        materialCopies.AddTail(copy);
        ForEachArea(copies, [&](CSectArea* area) { area->ReplaceMaterial(material, copy); });
    }
}

void SetIdentifiersAbove(CSectComp& model)
{
    CGraph::lIDGraph = static_cast<DWORD>(std::max(model.GetMaxID(1), 4000000000ul) + 1);
    CEdge::lIDedge = static_cast<DWORD>(std::max(model.GetMaxID(4), 100000000ul) + 1);
    CSNode::lIDnode = static_cast<DWORD>(model.GetMaxID(2) + 1);
}

CObList* MakePasteCopies(CObList& copies)
{
    auto* pasted = new CObList(10);
    for (POSITION pos = copies.GetHeadPosition(); pos;)
        if (auto* graph = dynamic_cast<CGraph*>(copies.GetNext(pos)))
            pasted->AddTail(static_cast<CObject*>(graph->Copy(false)));
    for (POSITION pos = copies.GetHeadPosition(); pos;)
        if (auto* graph = dynamic_cast<CGraph*>(copies.GetNext(pos)))
            graph->ReleaseCopyNodes(true);
    return pasted;
}

void MapPastedMaterials(CObList& pasted, CObList& materialCopies, CObList& targetMaterials,
                        CMaterial* fallback)
{
    for (POSITION pos = materialCopies.GetHeadPosition(); pos;) {
        auto* copy = static_cast<CMaterial*>(materialCopies.GetNext(pos));
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
                             CObList& overlaps, const std::function<void()>& beforeKeeping)
{
    std::vector<std::array<double, 3>> before;
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        auto* node = static_cast<CSNode*>(nodes.GetNext(pos));
        before.push_back({node->x, node->y, node->z});
    }
    // Every edge at the moved nodes; false when f stops the walk.
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
    auto translate = [&] {
        for (POSITION pos = nodes.GetHeadPosition(); pos;)
            static_cast<CSNode*>(nodes.GetNext(pos))->Translate(dx, dy, 0.0, true);
    };
    // Back to the very coordinates (a move there and back may round).
    auto restore = [&] {
        std::size_t i = 0;
        for (POSITION pos = nodes.GetHeadPosition(); pos; ++i)
            static_cast<CSNode*>(nodes.GetNext(pos))
                ->SetNodeCoord(before[i][0], before[i][1], before[i][2]);
        eachEdge([](CEdge* edge) {
            edge->Update();
            return true;
        });
    };
    translate();
    const bool crosses =
        !eachEdge([&](CEdge* edge) { return model.Intersection(edge, true, nullptr) != 1; });
    restore();
    if (crosses)
        return false;
    if (beforeKeeping)
        beforeKeeping();
    translate();
    eachEdge([&](CEdge* edge) {
        if (model.Intersection(edge, true, nullptr) == 2 && !overlaps.Find(edge))
            overlaps.AddTail(edge);
        return true;
    });
    return true;
}

#include "app/shell/filletarc.h"

#include <cmath>
#include <vector>

#include "femodel/strelna.h"
#include "geometry/bexlar.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"

namespace
{

double Distance(const CSNode* a, const CSNode* b)
{
    return std::hypot(a->x - b->x, a->y - b->y);
}

// Whether the edge crosses an edge of the model other than the skipped ones.
bool CrossesModel(CEdge* edge, CObList& modelEdges, CEdge* skip1, CEdge* skip2)
{
    for (POSITION pos = modelEdges.GetHeadPosition(); pos;) {
        auto* other = static_cast<CEdge*>(modelEdges.GetNext(pos));
        if (other == skip1 || other == skip2 || other == edge)
            continue;
        if (edge->Intersection2D(other, nullptr) == 1)
            return true;
    }
    return false;
}

// The mean direction of two angles, in [0, 2 pi).
double MeanAngle(double a, double b)
{
    constexpr double kTwoPi = 6.283185307179586;
    double mean = std::atan2(std::sin(a) + std::sin(b), std::cos(a) + std::cos(b));
    if (mean < 0.0)
        mean += kTwoPi;
    return mean;
}

} // namespace

bool BuildFilletArc(CSectComp& model, CEdge* first, CEdge* second, CSNode* corner, CObList* arc,
                    bool taper, const std::function<void()>& beforeChange)
{
    std::vector<CSNode*> nodes;
    if (arc) {
        for (POSITION pos = arc->GetHeadPosition(); pos;)
            nodes.push_back(static_cast<CSNode*>(arc->GetNext(pos)));
        delete arc;
    }
    auto dropAll = [&] {
        for (CSNode* node : nodes)
            delete node;
        return false;
    };
    CSNode* a = first && corner ? first->GetNode(corner) : nullptr;
    CSNode* b = second && corner ? second->GetNode(corner) : nullptr;
    if (!a || !b || nodes.empty())
        return dropAll();

    // Remainders too short beside the arc: the arc ends at the far node.
    auto tooShort = [](CSNode* far, CSNode* end, CSNode* inner) {
        return Distance(far, end) * 10.0 < Distance(end, inner);
    };
    if (nodes.size() >= 2 && tooShort(a, nodes.front(), nodes[1])) {
        delete nodes.front();
        nodes.erase(nodes.begin());
    }
    if (nodes.size() >= 2 && tooShort(b, nodes.back(), nodes[nodes.size() - 2])) {
        delete nodes.back();
        nodes.pop_back();
    }

    // Tapered arcs are made of boundary nodes, with the plain nodes'
    // identifiers (no identifier is used up by the exchange).
    if (taper)
        for (CSNode*& node : nodes) {
            auto* bound = new CBoundNode(node->x, node->y, node->z, nullptr, 0);
            if (bound->GetID() + 1 == CSNode::lIDnode)
                --CSNode::lIDnode;
            bound->SetID(node->GetID());
            delete node;
            node = bound;
        }

    // The new edges, tested before anything in the model changes; they are
    // made again once the caller has seen the model as it was.
    std::vector<CSNode*> path{a};
    path.insert(path.end(), nodes.begin(), nodes.end());
    path.push_back(b);
    std::vector<CBoundary*> edges;
    auto makeEdges = [&] {
        for (std::size_t i = 0; i + 1 < path.size(); ++i)
            edges.push_back(new CBoundary(path[i], path[i + 1]));
    };
    auto dropEdges = [&] {
        for (CBoundary* made : edges)
            delete made;
        edges.clear();
    };
    makeEdges();
    CObList modelEdges;
    model.GetEdgeList(nullptr, &modelEdges);
    bool crosses = false;
    for (CBoundary* edge : edges)
        crosses = crosses || CrossesModel(edge, modelEdges, first, second);
    dropEdges();
    if (crosses)
        return dropAll();
    if (beforeChange)
        beforeChange();
    makeEdges();

    // Conditions and load parts: the first half from first, the rest from
    // second.
    const std::size_t half = edges.size() / 2 + (edges.size() % 2);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        CEdge* source = i < half ? first : second;
        if (auto* boundary = dynamic_cast<CBoundary*>(source))
            edges[i]->CopyProperties(boundary);
        else if (CBoundCond* bc = source->GetBC(-1))
            edges[i]->SetBC(*bc, -1);
    }
    if (taper)
        for (std::size_t j = 0; j < nodes.size(); ++j) {
            auto* node = static_cast<CBoundNode*>(nodes[j]);
            CEdge* source = j < nodes.size() / 2 ? first : second;
            if (CBoundCond* bc = source->GetBC(-1))
                node->SetBC(*bc, -1);
            node->SetAngle(MeanAngle(edges[j]->GetCClWAngle(), edges[j + 1]->GetCClWAngle()), -1);
        }

    // The regions at the corner take the arc; the corner goes, and with it
    // the two replaced edges.
    CObList chain;
    for (CSNode* node : nodes)
        chain.AddTail(node);
    std::vector<CSectArea*> regions;
    if (CObList* graphs = corner->GetGraphList())
        for (POSITION pos = graphs->GetHeadPosition(); pos;)
            if (auto* region = dynamic_cast<CSectArea*>(graphs->GetNext(pos)))
                regions.push_back(region);
    for (CSectArea* region : regions)
        if (b->IsGraphInList(region) >= 0)
            region->AddChain(corner, &chain, b);
    model.RemoveNode(corner);
    delete corner;
    return true;
}

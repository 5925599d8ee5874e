// The outline of a region (a graph of nodes in outline order) as the tests
// read it: its nodes in order, and the area they enclose.
#pragma once

#include <cmath>
#include <vector>

#include "geometry/graph.h"

namespace brantel::test {

inline std::vector<CSNode*> OutlineNodes(const CGraph& region)
{
    std::vector<CSNode*> nodes;
    for (POSITION pos = region.GetHeadPosition(); pos;)
        nodes.push_back(region.GetNextNode(pos));
    return nodes;
}

// The shoelace area of the outline, whichever way it runs.
inline double OutlineArea(const CGraph& region)
{
    const std::vector<CSNode*> nodes = OutlineNodes(region);
    double twice = 0.0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const CSNode* a = nodes[i];
        const CSNode* b = nodes[(i + 1) % nodes.size()];
        twice += a->x * b->y - b->x * a->y;
    }
    return 0.5 * std::fabs(twice);
}

} // namespace brantel::test

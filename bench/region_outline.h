// A plate region whose outline is a regular n-gon, built as loading builds
// it: the nodes join the region in order, a boundary edge joins each to the
// next. With nodes, the outline's nodes are also appended to that list.
#pragma once

#include <cmath>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"

inline CSectPlate* MakeOutlineRegion(int n, NODELIST* nodes = nullptr)
{
    auto* region = new CSectPlate;
    std::vector<CSNode*> outline(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * M_PI * i / n;
        auto* node = new CBoundNode(std::cos(t), std::sin(t), 0.0, nullptr, 0);
        region->AddTail(static_cast<CObject*>(node));
        node->AddGraph(region);
        outline[static_cast<std::size_t>(i)] = node;
    }
    for (int i = 0; i < n; ++i)
        new CBoundary(outline[static_cast<std::size_t>(i)], outline[static_cast<std::size_t>((i + 1) % n)]);
    if (nodes) {
        nodes->Reserve(n);
        for (CSNode* node : outline)
            nodes->m_pNodes[nodes->m_nCount++] = node;
    }
    return region;
}

// A structured mesh of n x n unit four-node quadrilaterals over the square
// (0, 0) - (n, n), on a grid of new nodes, into a mesh organiser.
#pragma once

#include <vector>

#include "femodel/strelna.h"

inline void BuildQuadGrid(CMeshOrganizer& mesh, int n)
{
    std::vector<CSNode*> grid;
    grid.reserve(static_cast<std::size_t>((n + 1) * (n + 1)));
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            grid.push_back(new CSNode(i, j, 0.0, nullptr, 0));
    auto at = [&](int i, int j) { return grid[static_cast<std::size_t>(j * (n + 1) + i)]; };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            mesh.AddElement(new CQuadElem(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)));
}

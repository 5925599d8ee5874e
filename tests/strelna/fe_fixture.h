// Shared set-up of the finite-element model tests: class-wide result
// settings and extremes reset, and nodes that the test owns until an
// element takes them.
#pragma once

#include "femodel/strelna.h"

#include <gtest/gtest.h>

#include <vector>

namespace fetest {

inline void ResetElementStatics()
{
    CElement::m_nNodeVal = 9;
    CElement::m_nVectors = 3;
    for (int i = 0; i < CElement::kMaxResIndex; ++i)
        CElement::m_strMaxStress[i] = CElement::m_strMinStress[i] = 0.0;
    CElement::m_dStaticMax = CElement::m_dStaticMin = 0.0;
}

inline CSNode* Node(double x, double y)
{
    return new CSNode(x, y, 0.0, nullptr, 0);
}

// A matrix of rows x cols whose entry (i, j) is base + 10 i + j.
inline CMatrix Rows(int rows, int cols, double base = 0.0)
{
    CMatrix m(rows, cols, true, 0.0);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            m[i][j] = base + 10.0 * i + j;
    return m;
}

// A structured grid of nx x ny unit quadrilaterals; nodes row by row.
inline void QuadGrid(CMeshOrganizer& mesh, int nx, int ny, std::vector<CSNode*>* nodes = nullptr)
{
    std::vector<CSNode*> grid;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            grid.push_back(Node(i, j));
    auto at = [&](int i, int j) { return grid[j * (nx + 1) + i]; };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            mesh.AddElement(new CQuadElem(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)));
    if (nodes)
        *nodes = grid;
}

class FETest : public ::testing::Test {
protected:
    void SetUp() override { ResetElementStatics(); }
    void TearDown() override { ResetElementStatics(); }
};

} // namespace fetest

// A structured patch of 4-node plane elements for the sparse and skyline
// tests and benchmarks: node (i, j) of an nx x ny grid carries DOFs x and y;
// the nodes of the side i = 0 are supported and get no DOF numbers.
#pragma once

#include <array>
#include <cmath>
#include <vector>

#include "matrix/zelkor.h"

namespace sparsetest {

// Stiffness (8 x 8, row by row) of a unit square 4-node plane-stress element,
// nodes counter-clockwise from the lower left, DOFs x then y per node.
inline std::array<double, 64> PlaneQuadStiffness(double E = 1.0, double nu = 0.3)
{
    const double c = E / (1.0 - nu * nu);
    const double D[3][3] = {{c, c * nu, 0.0}, {c * nu, c, 0.0}, {0.0, 0.0, c * (1.0 - nu) / 2.0}};
    const double xi[4] = {-1.0, 1.0, 1.0, -1.0};
    const double eta[4] = {-1.0, -1.0, 1.0, 1.0};
    const double g = 1.0 / std::sqrt(3.0);
    std::array<double, 64> k{};
    for (double gx : {-g, g}) {
        for (double gy : {-g, g}) {
            double B[3][8] = {};
            for (int a = 0; a < 4; ++a) {
                // dN/dx = 2 dN/dxi on a unit square.
                const double dx = 2.0 * xi[a] * (1.0 + gy * eta[a]) / 4.0;
                const double dy = 2.0 * eta[a] * (1.0 + gx * xi[a]) / 4.0;
                B[0][2 * a] = dx;
                B[1][2 * a + 1] = dy;
                B[2][2 * a] = dy;
                B[2][2 * a + 1] = dx;
            }
            for (int p = 0; p < 8; ++p) {
                for (int q = 0; q < 8; ++q) {
                    double s = 0.0;
                    for (int r = 0; r < 3; ++r) {
                        for (int t = 0; t < 3; ++t)
                            s += B[r][p] * D[r][t] * B[t][q];
                    }
                    k[p * 8 + q] += s * 0.25; // det J of the unit square
                }
            }
        }
    }
    // Exactly symmetric, whatever the rounding of the sums.
    for (int p = 0; p < 8; ++p)
        for (int q = 0; q < p; ++q)
            k[p * 8 + q] = k[q * 8 + p];
    return k;
}

struct Patch {
    int nx = 0;
    int ny = 0;
    int dofs = 0;
    // Per element its 8 DOF numbers (-1 for a supported one).
    std::vector<std::array<LONG, 8>> elements;
    std::array<double, 64> stiffness{};

    Patch(int nodesX, int nodesY) : nx(nodesX), ny(nodesY), stiffness(PlaneQuadStiffness())
    {
        // Node (i, j) with i >= 1 gets DOFs 2 n and 2 n + 1 in row order.
        auto dof = [this](int i, int j, int d) -> LONG {
            return i == 0 ? -1 : static_cast<LONG>(2 * (j * (nx - 1) + (i - 1)) + d);
        };
        dofs = 2 * (nx - 1) * ny;
        for (int j = 0; j + 1 < ny; ++j) {
            for (int i = 0; i + 1 < nx; ++i) {
                std::array<LONG, 8> e{};
                const int corner[4][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
                for (int a = 0; a < 4; ++a) {
                    e[2 * a] = dof(corner[a][0], corner[a][1], 0);
                    e[2 * a + 1] = dof(corner[a][0], corner[a][1], 1);
                }
                elements.push_back(e);
            }
        }
    }

    // Adds every element into m.
    void Assemble(CVirtRealMat& m)
    {
        for (auto& e : elements)
            m.AddValues(e.data(), stiffness.data(), 8);
    }

    // The DOF graph with the identity labelling, ready for a layout.
    void Graph(CReorderMat& g)
    {
        g.Alloc(dofs);
        for (auto& e : elements)
            g.InsertDOFs(e.data(), 0, 8);
        g.Init();
        for (auto& e : elements)
            g.InsertDOFs(e.data(), 1, 8);
        g.PostReorder();
    }

    // Loads: a pull on the free side, two load cases.
    CMatrix Loads(int cases = 2) const
    {
        CMatrix b(dofs, cases, true, 0.0);
        for (int j = 0; j < ny; ++j) {
            const int n = j * (nx - 1) + (nx - 2);
            b[2 * n][0] = 1.0;
            if (cases > 1)
                b[2 * n + 1][1] = -0.5;
        }
        return b;
    }
};

} // namespace sparsetest

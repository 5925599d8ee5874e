// A plate of n three-node triangles built directly on a node grid (no
// mesher, no solver) with results set through SetStresses: the drawing and
// view benchmarks' model with results.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/analysis/analysis.h"
#include "bench/plate_grid.h"
#include "femodel/strelna.h"
#include "glstyle/tincora.h"
#include "platform/ferrand/ferrand.h"

namespace bench
{

// Hands a region a mesh; the region owns it afterwards.
struct MeshSlot : CSectMeshArea {
    static CMeshOrganizer* CSectMeshArea::*Slot() { return &MeshSlot::m_pMesh; }
};

class BenchComp : public CPlateComp {
public:
    using CSectComp::m_MaxVals;
    using CSectComp::m_MaxValsExt;
    using CSectComp::m_MinVals;
    using CSectComp::m_MinValsExt;
};

// How the benchmark plate's corner values are laid out.
enum class Values {
    // Each corner takes its node's value: continuous over the plate, as
    // smoothed results are and as the VTK comparison's per-point scalars.
    perNode,
    // Each element corner its own value, unrelated to its neighbours'
    // (every corner of a node in another colour): the worst case for a
    // display list, whose vertices are all different.
    perCorner,
};

// A plate of n triangles over nx x ny grid cells, two per cell (nx the
// smallest divisor of the cell count not below its square root), with
// stresses that vary over the plate.
struct Plate {
    explicit Plate(int n, Values layout = Values::perNode)
    {
        THIN_EDGE = 1.0;
        WIDE_EDGE = 2.0;
        CGraph::m_pNodeList = &nodes;
        bench::PlateGrid(n, nx, ny);
        auto* mesh = new CMeshOrganizer;
        std::vector<CSNode*> grid;
        grid.reserve(static_cast<size_t>((nx + 1) * (ny + 1)));
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i)
                grid.push_back(new CSNode(i, j, 0.0, nullptr, 0));
        auto index = [&](int i, int j) { return j * (nx + 1) + i; };
        auto at = [&](int i, int j) { return grid[static_cast<size_t>(index(i, j))]; };
        std::vector<int> corners; // the grid node of each element corner, in result row order
        corners.reserve(static_cast<size_t>(6 * nx * ny));
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                mesh->AddElement(new CTriElement(at(i, j), at(i + 1, j), at(i + 1, j + 1)));
                mesh->AddElement(new CTriElement(at(i, j), at(i + 1, j + 1), at(i, j + 1)));
                for (int k : {index(i, j), index(i + 1, j), index(i + 1, j + 1), index(i, j), index(i + 1, j + 1),
                              index(i, j + 1)})
                    corners.push_back(k);
            }
        mesh->SetNames("plate");
        elements = 2 * nx * ny;

        comp = std::make_unique<BenchComp>();
        comp->AddMaterial(&steel);
        comp->m_iElemType = 31;
        comp->m_iMeshKind = 101;
        region = new CSectPlate(new CSNode(0, 0, 0, nullptr, 0), new CSNode(nx, 0, 0, nullptr, 0),
                                new CSNode(nx, ny, 0, nullptr, 0), new CSNode(0, ny, 0, nullptr, 0), &steel);
        region->SetThickness(0.2);
        region->*MeshSlot::Slot() = mesh;
        comp->AddTail(region);

        CElement::m_nNodeVal = 3;
        CElement::m_nVectors = 3;
        CMatrix stresses(3 * elements, 3, true, 0.0);
        for (int r = 0; r < stresses.GetRows(); ++r) {
            const int v = layout == Values::perNode ? corners[static_cast<size_t>(r)] : r;
            stresses[r][0] = (v % 97) / 97.0 - 0.5;
            stresses[r][1] = (v % 89) / 89.0 - 0.5;
            stresses[r][2] = (v % 83) / 83.0 - 0.5;
        }
        int row = 0;
        region->SetStresses(stresses, row);

        comp->SetResCount(9);
        comp->m_MinVals.Allocate(9, true, -0.5);
        comp->m_MaxVals.Allocate(9, true, 0.5);
        comp->m_MaxValsExt.Allocate(4, true, 1.0);
        comp->m_MinValsExt.Allocate(4, true, -1.0);
        comp->SetActVal(0);
        comp->SetFactor(-1.0);
    }
    ~Plate()
    {
        comp.reset();
        CGraph::m_pNodeList = nullptr;
    }

    // The plate over the surface.
    void Projection() const
    {
        glMatrixMode(GL_PROJECTION);
        glOrtho(-0.5, nx + 0.5, -0.5, ny + 0.5, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    NODELIST nodes;
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    std::unique_ptr<BenchComp> comp;
    CSectPlate* region = nullptr;
    int nx = 0, ny = 0, elements = 0;
};

} // namespace bench

// A plate model for the analysis tests: one rectangular region of one
// material in a plate component, meshed by the structured mesher, with
// conditions and loads on its corner nodes.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"

namespace analysistest {

// The component with its extremes open to the tests, and a way to make its
// input build fail with a given code.
class ProbeComp : public CPlateComp {
public:
    using CSectComp::m_MaxVals;
    using CSectComp::m_MaxValsExt;
    using CSectComp::m_MinVals;
    using CSectComp::m_MinValsExt;

    int BuildSolverData(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology, CMatrix& nodes,
                        CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings, CMatrix& springs,
                        int loadCase) override
    {
        if (forcedBuildResult != 1)
            return forcedBuildResult;
        return CPlateComp::BuildSolverData(materials, elementData, topology, nodes, suppressed, prescribed,
                                           couplings, springs, loadCase);
    }
    void ResetParam() override { ++resets; }

    int forcedBuildResult = 1;
    int resets = 0;
};

// The vector of a user condition: the n DOF numbers, then their n values
// (a DOF may appear as support and as spring).
inline CVector DofValues(const std::vector<std::pair<int, double>>& entries)
{
    const int n = static_cast<int>(entries.size());
    CVector v(2 * n);
    for (int i = 0; i < n; ++i) {
        v[i] = entries[static_cast<std::size_t>(i)].first;
        v[n + i] = entries[static_cast<std::size_t>(i)].second;
    }
    return v;
}

struct PlateModel {
    // Corners counter-clockwise from (0, 0): 0 (0,0), 1 (w,0), 2 (w,h), 3 (0,h).
    PlateModel(int code, double w = 2.0, double h = 1.0, double thickness = 1.0)
    {
        comp = std::make_unique<ProbeComp>();
        comp->AddMaterial(&steel);
        comp->SetElementType(code);
        corner[0] = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
        corner[1] = new CBoundNode(w, 0.0, 0.0, nullptr, 0);
        corner[2] = new CBoundNode(w, h, 0.0, nullptr, 0);
        corner[3] = new CBoundNode(0.0, h, 0.0, nullptr, 0);
        region = new CSectPlate(corner[0], corner[1], corner[2], corner[3], &steel);
        region->SetThickness(thickness);
        comp->AddTail(region);
    }
    ~PlateModel() { comp.reset(); }
    PlateModel(const PlateModel&) = delete;
    PlateModel& operator=(const PlateModel&) = delete;

    // A standard support (type 1, 2, 4, ...) or a user condition at a corner.
    CBoundCond* Support(int c, unsigned type)
    {
        auto* bc = new CBoundCond;
        bc->SetType(type);
        corner[c]->SetBC(bc, 0);
        return bc;
    }
    // Divides the horizontal edges into nx and the vertical ones into ny
    // equal parts for the structured mesher.
    void Divide(int nx, int ny)
    {
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;) {
            auto* e = static_cast<CEdge*>(edges.GetNext(p));
            const bool horizontal = e->GetNode1()->y == e->GetNode2()->y;
            e->SubDivideLin(1.0, (horizontal ? nx : ny) - 1);
        }
    }
    // A user condition (DOF, value pairs) at a corner.
    CBoundCond* User(int c, std::vector<std::pair<int, double>> entries, double angle = 0.0)
    {
        CBoundCond* bc = Support(c, 16);
        CVector v = DofValues(entries);
        bc->SetBC(v);
        bc->SetAngle(angle);
        return bc;
    }
    // Structured mesh of the four-cornered region.
    bool Mesh() { return comp->GenerateRegionMesh(nullptr, nullptr, 1, 1); }

    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    std::unique_ptr<ProbeComp> comp;
    CBoundNode* corner[4];
    CSectPlate* region;
};

} // namespace analysistest

// The analysis driver around the solver call on structured meshes of
// constant-strain triangles: the solver input built from the meshed regions
// (numbering, topology, element data, nodes, conditions) and the return of
// the results into the elements, with the extremes. Elements per second
// should stay roughly flat as the mesh grows.
#include <cmath>
#include <memory>

#include <benchmark/benchmark.h>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"

namespace {

struct Model {
    explicit Model(int n)
    {
        comp = std::make_unique<CPlateComp>();
        comp->AddMaterial(&steel);
        comp->SetElementType(31);
        CBoundNode* c[4] = {new CBoundNode(0, 0, 0, nullptr, 0), new CBoundNode(n, 0, 0, nullptr, 0),
                            new CBoundNode(n, n, 0, nullptr, 0), new CBoundNode(0, n, 0, nullptr, 0)};
        auto* bc = new CBoundCond;
        bc->SetType(2);
        c[0]->SetBC(bc, 0);
        auto* region = new CSectPlate(c[0], c[1], c[2], c[3], &steel);
        region->SetThickness(1.0);
        comp->AddTail(region);
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;)
            static_cast<CEdge*>(edges.GetNext(p))->SubDivideLin(1.0, n - 1);
        comp->GenerateRegionMesh(nullptr, nullptr, 1, 1);
    }
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    std::unique_ptr<CPlateComp> comp;
};

void InputAndReturn(benchmark::State& state)
{
    // n x n squares of two triangles each.
    const int n = static_cast<int>(std::lround(std::sqrt(state.range(0) / 2.0)));
    Model model(n);
    CPlateComp& comp = *model.comp;
    for (auto _ : state) {
        CMatrix materials, elementData, nodes, prescribed, couplings, springs;
        CLongMatrix topology, suppressed;
        if (comp.BuildSolverData(materials, elementData, topology, nodes, suppressed, prescribed, couplings, springs,
                                 0) != 1) {
            state.SkipWithError("input build failed");
            break;
        }
        // The solver's answer: results in the element-data and node arrays.
        elementData = 1.0;
        nodes = 0.5;
        comp.SetElementStresses(elementData, nodes);
        benchmark::DoNotOptimize(comp.GetResCount());
    }
    state.counters["elements"] = comp.m_nElements;
    state.counters["elements_per_second"] =
        benchmark::Counter(comp.m_nElements, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_AnalysisInputAndReturn_Small(benchmark::State& state) { InputAndReturn(state); }
void BM_AnalysisInputAndReturn(benchmark::State& state) { InputAndReturn(state); }

} // namespace

BENCHMARK(BM_AnalysisInputAndReturn_Small)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisInputAndReturn)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

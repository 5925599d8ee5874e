// Mesh generation of a plate component: a 4 x 2 plate of three regions
// (two squares, one with two circular holes, and a strip across the top)
// meshed with triangles at about 1e3, 1e4 and 1e5 elements.
#include <benchmark/benchmark.h>

#include <cmath>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/material.h"

namespace
{

CBoundNode* N(double x, double y)
{
    return new CBoundNode(x, y, 0.0, nullptr, 0);
}

struct Plate {
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5};
    CMaterial hole{"VOID", 0.0, 0.0, 0.0, 0.0, 0.0};
    CPlateComp comp;

    explicit Plate(int subdivisions)
    {
        CBoundNode* a = N(0, 0);
        CBoundNode* b = N(2, 0);
        CBoundNode* c = N(4, 0);
        CBoundNode* d = N(4, 2);
        CBoundNode* e = N(2, 2);
        CBoundNode* f = N(0, 2);
        auto* left = new CSectPlate(a, b, e, f, &steel);
        for (double cy : {0.6, 1.4}) {
            CBoundNode centre(1.0, cy, 0.0, nullptr, 0);
            left->InsertSubSect(new CSectPlate(&centre, N(1.25, cy), &hole, 24, 0));
        }
        comp.AddTail(static_cast<CSection*>(left));
        comp.AddTail(static_cast<CSection*>(new CSectPlate(b, c, d, e, &steel)));
        CObList strip;
        for (CSNode* n : {static_cast<CSNode*>(f), static_cast<CSNode*>(e), static_cast<CSNode*>(d),
                          static_cast<CSNode*>(N(4, 2.5)), static_cast<CSNode*>(N(0, 2.5))})
            strip.AddTail(n);
        comp.AddTail(static_cast<CSection*>(new CSectPlate(&strip, &steel)));
        comp.m_iMeshKind = 101;
        comp.m_iElemType = 31;
        comp.m_nMinElements = 1;
        comp.m_iSubdivisions = subdivisions;
    }
};

void PreCalcPlate(benchmark::State& state)
{
    Plate plate(static_cast<int>(state.range(0)));
    double elements = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        plate.comp.DeleteMesh();
        state.ResumeTiming();
        if (!plate.comp.PreCalc(nullptr, nullptr, 0)) {
            state.SkipWithError("mesh generation failed");
            break;
        }
        elements = plate.comp.m_nElements;
    }
    state.counters["elements"] = elements;
    state.counters["elements/s"] =
        benchmark::Counter(elements, benchmark::Counter::kIsIterationInvariantRate);
}

// The subdivisions of the longest edge (4) for about 1e3, 1e4 and 1e5
// elements.
BENCHMARK(PreCalcPlate)->Name("BM_PreCalcPlateSmall1e3")->Arg(28)->Unit(benchmark::kMillisecond);
BENCHMARK(PreCalcPlate)->Name("BM_PreCalcPlate1e4")->Arg(90)->Unit(benchmark::kMillisecond);
BENCHMARK(PreCalcPlate)->Name("BM_PreCalcPlate1e5")->Arg(285)->Unit(benchmark::kMillisecond);

} // namespace

namespace
{

// Uniform refinement of the plate meshed at about 1e3 and 1.8e5 elements
// (each element becomes four).
void RefinePlate(benchmark::State& state)
{
    Plate plate(static_cast<int>(state.range(0)));
    double elements = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        plate.comp.DeleteMesh();
        if (!plate.comp.PreCalc(nullptr, nullptr, 0)) {
            state.SkipWithError("mesh generation failed");
            break;
        }
        state.ResumeTiming();
        plate.comp.RefineMesh(1, nullptr);
        elements = plate.comp.m_nElements;
    }
    state.counters["elements"] = elements;
}

BENCHMARK(RefinePlate)->Name("BM_RefinePlateSmall1e3")->Arg(28)->Unit(benchmark::kMillisecond);
BENCHMARK(RefinePlate)->Name("BM_RefinePlate7e5")->Arg(380)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

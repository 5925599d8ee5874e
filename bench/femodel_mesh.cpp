// The finite-element model on structured meshes of four-node
// quadrilaterals: filling the solver arrays and taking results back
// (numbering, topology, coordinates, stresses, smoothing), and the
// conversion to eight-node quadrilaterals. Time per element should stay
// roughly flat as the mesh grows.
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/quad_grid.h"
#include "femodel/strelna.h"

namespace {

void Report(benchmark::State& state, int n)
{
    const double elements = static_cast<double>(n) * n;
    state.counters["elements"] = elements;
    state.counters["nodes"] = static_cast<double>(n + 1) * (n + 1);
    state.counters["time_per_element"] =
        benchmark::Counter(elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void SolverHandOver(benchmark::State& state, int n)
{
    CElement::m_nNodeVal = 3;
    CElement::m_nVectors = 5;
    CMeshOrganizer mesh;
    BuildQuadGrid(mesh, n);
    const int elements = n * n;
    const int nodes = (n + 1) * (n + 1);
    std::vector<long> table(static_cast<std::size_t>(elements) * 5);
    std::vector<long> ids(static_cast<std::size_t>(nodes));
    std::vector<double> coords(static_cast<std::size_t>(nodes) * 4);
    CMatrix stresses(elements * 5, 3, true, 1.0);
    for (auto _ : state) {
        long counter = 0;
        mesh.SumNodes(counter, true);
        int pos = 0;
        mesh.InsertFE(table.data(), pos, -1, true);
        pos = 0;
        mesh.InsertNodes(ids.data(), coords.data(), pos, 0, 2);
        int row = 0;
        mesh.SetStresses(stresses, row);
        mesh.PreSmooth();
        mesh.Smooth(false);
        benchmark::DoNotOptimize(table.data());
        benchmark::DoNotOptimize(coords.data());
    }
    Report(state, n);
}

void ToQuad8(benchmark::State& state, int n)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto* mesh = new CMeshOrganizer;
        BuildQuadGrid(*mesh, n);
        state.ResumeTiming();
        mesh->QuadToQuad(105);
        state.PauseTiming();
        delete mesh;
        state.ResumeTiming();
    }
    Report(state, n);
}

void BM_SolverHandOver_Small(benchmark::State& state) { SolverHandOver(state, 100); }
void BM_SolverHandOver_200(benchmark::State& state) { SolverHandOver(state, 200); }
void BM_SolverHandOver_400(benchmark::State& state) { SolverHandOver(state, 400); }
void BM_QuadToQuad8_Small(benchmark::State& state) { ToQuad8(state, 100); }
void BM_QuadToQuad8_200(benchmark::State& state) { ToQuad8(state, 200); }
void BM_QuadToQuad8_400(benchmark::State& state) { ToQuad8(state, 400); }

} // namespace

BENCHMARK(BM_SolverHandOver_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolverHandOver_200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolverHandOver_400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadToQuad8_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadToQuad8_200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadToQuad8_400)->Unit(benchmark::kMillisecond);

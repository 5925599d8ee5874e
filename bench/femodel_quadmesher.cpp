// Structured meshing of a square whose sides are cut into n segments, with
// quadrilaterals (kind 104) and triangles (kind 101). Time per element
// should stay roughly flat as n grows.
#include <memory>

#include <benchmark/benchmark.h>

#include "femodel/strelna.h"

namespace {

void Mesh(benchmark::State& state, int n, int kind)
{
    const int perCell = kind == 101 ? 2 : 1;
    for (auto _ : state) {
        state.PauseTiming();
        auto region = std::make_unique<CGraph>();
        CSNode* corners[4] = {region->NewNode(0, 0, 0), region->NewNode(1, 0, 0),
                              region->NewNode(1, 1, 0), region->NewNode(0, 1, 0)};
        for (int i = 0; i < 4; ++i)
            region->ConnectNodes(corners[i], corners[(i + 1) % 4])->SubDivideSeg(n, true);
        CMeshOrganizer mesh;
        state.ResumeTiming();

        CQuadMesher mesher(region.get(), &mesh, "bench");
        if (!mesher.Mesh(kind, 0, 0, 0.1))
            state.SkipWithError("meshing failed");
        benchmark::DoNotOptimize(mesh.GetCount());

        state.PauseTiming();
        region.reset();
        mesh.Clear();
        state.ResumeTiming();
    }
    const double elements = static_cast<double>(n) * n * perCell;
    state.counters["elements"] = elements;
    state.counters["nodes"] = static_cast<double>(n + 1) * (n + 1);
    state.counters["time_per_element"] =
        benchmark::Counter(elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_QuadMesher104_Small(benchmark::State& state) { Mesh(state, 100, 104); }
void BM_QuadMesher104_200(benchmark::State& state) { Mesh(state, 200, 104); }
void BM_QuadMesher104_400(benchmark::State& state) { Mesh(state, 400, 104); }
void BM_QuadMesher101_Small(benchmark::State& state) { Mesh(state, 100, 101); }
void BM_QuadMesher101_200(benchmark::State& state) { Mesh(state, 200, 101); }
void BM_QuadMesher101_400(benchmark::State& state) { Mesh(state, 400, 101); }

} // namespace

BENCHMARK(BM_QuadMesher104_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadMesher104_200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadMesher104_400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadMesher101_Small)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadMesher101_200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadMesher101_400)->Unit(benchmark::kMillisecond);

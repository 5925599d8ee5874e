// A whole plate-bending run on sparse storage at print level 0: a simply
// supported square of DKT triangles under a uniform pressure. Reports the
// CPU seconds of the four phases and of the whole call as the run measures
// them, and the length of the factor store.
#include "solver/solvika.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using i32 = std::int32_t;

struct Model {
    std::array<i32, 30> key{};
    std::vector<i32> topology, fixed;
    std::vector<double> elementData, material, nodal;
};

// n x n cells of two DKT triangles over the unit square; w held at every
// boundary node. About 3 (n + 1)^2 equations.
Model plate(i32 n) {
    Model m;
    const auto node = [n](i32 i, i32 j) { return 1 + j * (n + 1) + i; };
    const double h = 1.0 / n;
    for (i32 j = 0; j <= n; ++j)
        for (i32 i = 0; i <= n; ++i) {
            m.nodal.insert(m.nodal.end(), {i * h, j * h, 0.0, 0.0});
            if (i == 0 || j == 0 || i == n || j == n) m.fixed.insert(m.fixed.end(), {node(i, j), 1});
        }
    for (i32 j = 0; j < n; ++j)
        for (i32 i = 0; i < n; ++i) {
            m.topology.insert(m.topology.end(), {1, node(i, j), node(i + 1, j), node(i + 1, j + 1)});
            m.topology.insert(m.topology.end(), {1, node(i, j), node(i + 1, j + 1), node(i, j + 1)});
        }
    const i32 nel = 2 * n * n;
    for (i32 e = 0; e < nel; ++e) m.elementData.insert(m.elementData.end(), {0.0, 0.01, 0.01, 0.01, 0.0, 1.0, 1.0, 1.0, 0.0});
    m.material = {2.1e5, 2.1e5, 0.3, 2.1e5 / 2.6, 7.85e-9, 1.2e-5, 0.0};
    m.key[0] = nel;
    m.key[1] = (n + 1) * (n + 1);
    m.key[2] = 1;
    m.key[3] = i32(m.fixed.size() / 2);
    m.key[9] = 65;
    m.key[10] = 2;
    m.key[11] = 1;
    m.key[12] = 512;
    m.key[18] = 4;
    m.key[19] = 9;
    return m;
}

void runPlate(benchmark::State& state) {
    const Model model = plate(i32(state.range(0)));
    solvika::RunStatistics stats{};
    std::int64_t factor = 0;
    i32 equations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Model m = model;
        state.ResumeTiming();
        std::array<i32, 5> status{};
        solvika::runEntry(solvika::RunLog::Main, m.key.data(), status.data(), [&](solvika::RunContext& run) {
            const solvika::StaticModel arrays{true,    m.topology.data(), m.elementData.data(), m.material.data(),
                                              m.nodal.data(), nullptr, nullptr, nullptr, m.fixed.data(), nullptr,
                                              nullptr, nullptr, nullptr, nullptr};
            solvika::runStatic(run, arrays);
            stats = run.RSTAT;
            factor = run.tables.MSPAR[15];
            equations = run.tables.MPAR[10];
        });
        if (status[0] != 0) {
            state.SkipWithError("the run failed");
            break;
        }
    }
    state.counters["equations"] = equations;
    state.counters["factor"] = double(factor);
    state.counters["prep_s"] = stats[19];
    state.counters["assembly_s"] = stats[20];
    state.counters["solution_s"] = stats[21];
    state.counters["results_s"] = stats[22];
    state.counters["total_s"] = stats[23];
}

} // namespace

// About 5e3, 1e5 and 1e6 equations.
BENCHMARK(runPlate)->Name("PlateBendingDKTSparse/Small")->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK(runPlate)->Name("PlateBendingDKTSparse/1e5")->Arg(182)->Unit(benchmark::kMillisecond);
BENCHMARK(runPlate)->Name("PlateBendingDKTSparse/1e6")->Arg(577)->Unit(benchmark::kMillisecond)->Iterations(1);

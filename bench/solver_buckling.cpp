// Whole buckling runs (PLATE_BUCKLING) of a simply supported square plate
// of T18 triangles under uniaxial compression, on sparse storage with the
// Lanczos solver, four modes. Sizes: Small (about 1e3 equations) and about
// 1e5 equations; on skyline storage Small and about 1e4 equations.
//
// Reported per run: the equations, how many of the four modes the run
// accepted, the lowest critical stress (only when that mode was accepted)
// and the CPU seconds of the run's phases as the run summary gives them
// (data preparation, assembly of K and KG, solution, results). The assembly of
// KG costs about as much as that of K; the assembly share shows it next to
// the solution.
#include <benchmark/benchmark.h>

#include "bench/run_log.h"
#include "solver/analysis/buckling.h"
#include "solver/solvika.h"

#include <chrono>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

using I32 = std::int32_t;

// An n x n grid of squares over [0, 1000]^2, each split into two T18
// triangles; simply supported edges: w and its derivatives along the edge
// fixed.
struct Plate {
    std::array<I32, 30> key{};
    std::vector<I32> topology, fixed;
    std::vector<double> elementData, material, nodal, stresses, eigenvalues, modes;

    explicit Plate(int n)
    {
        const int m = n + 1;
        const double h = 1000.0 / n;
        for (int j = 0; j < m; ++j)
            for (int i = 0; i < m; ++i) {
                nodal.insert(nodal.end(), {i * h, j * h, 0.0, 0.0});
                const int node = 1 + i + m * j;
                const bool xEdge = i == 0 || i == n, yEdge = j == 0 || j == n;
                if (xEdge || yEdge)
                    fixed.insert(fixed.end(), {node, 1});
                if (xEdge)
                    fixed.insert(fixed.end(), {node, 3, node, 6});
                if (yEdge)
                    fixed.insert(fixed.end(), {node, 2, node, 4});
            }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const I32 a = 1 + i + m * j, b = a + 1, c = b + m, d = a + m;
                topology.insert(topology.end(), {1, a, b, c, 1, a, c, d});
            }
        const I32 nel = 2 * n * n;
        for (I32 e = 0; e < nel; ++e) {
            elementData.insert(elementData.end(), {0.0, 10.0, 10.0, 10.0});
            stresses.insert(stresses.end(), {-1.0, 0.0, 0.0});
        }
        material = {2.1e5, 2.1e5, 0.3, 2.1e5 / 2.6, 7.85e-6, 1.2e-5, 0.0};
        key[0] = nel;
        key[1] = m * m;
        key[2] = 1;
        key[3] = I32(fixed.size() / 2);
        key[9] = 81;
        key[10] = 2; // sparse
        key[11] = 1; // minimum-degree order
        key[12] = 64;
        key[13] = 2; // Lanczos
        key[14] = 4; // modes
        key[18] = 4;
        key[19] = 4;
        key[26] = 2; // exact integration
        eigenvalues.assign(4, 0.0);
        modes.assign(std::size_t(key[1]) * 4, 0.0);
    }

    // The run's status: status[0] 1 (a warning) with status[1] of
    // status[2] modes accepted when fewer than asked for were.
    std::array<I32, 5> run()
    {
        std::array<I32, 5> status{};
        std::array<I32, 30> k = key;
        PLATE_BUCKLING(k.data(), topology.data(), elementData.data(), material.data(), nodal.data(),
                       fixed.data(), nullptr, nullptr, stresses.data(), eigenvalues.data(),
                       modes.data(), status.data());
        return status;
    }
};

// The run on an n x n grid (range 0), on sparse storage or, with a second
// argument of 1, on skyline storage.
void bucklingRun(benchmark::State& state)
{
    Plate p(int(state.range(0)));
    if (state.range(1) == 1)
        p.key[10] = 1; // skyline
    std::array<I32, 5> status{};
    for (auto _ : state) {
        status = p.run();
        benchmark::DoNotOptimize(p.eigenvalues.data());
    }
    if (status[0] < 0) {
        state.SkipWithError("buckling run failed");
        return;
    }
    const std::string log = bench::readRunLog("Brantel_B.log");
    state.counters["equations"] = bench::logValue(log, "Number of equations");
    const I32 accepted = status[0] == 1 ? status[1] : p.key[14];
    state.counters["accepted"] = accepted;
    if (accepted > 0)
        state.counters["sigma_cr"] = p.eigenvalues[0];
    state.counters["t_prep"] = bench::logValue(log, "CPU-time in data preparation");
    state.counters["t_assembly"] = bench::logValue(log, "CPU-time in assembly");
    state.counters["t_solution"] = bench::logValue(log, "CPU-time in solution");
    state.counters["t_results"] = bench::logValue(log, "CPU-time in computing results");
}

// The two assemblies of the run on their own: ASMSTF (K) and Build_SKG
// (KG) on the same tables and storage, each timed.
void stiffnessAssemblies(benchmark::State& state)
{
    Plate p(int(state.range(0)));
    using namespace solvika;
    ModelTables t;
    EquationTables eq;
    RunStatistics rstat{};
    std::array<I32, 5> status{};
    CHKTOP(p.topology.data(), p.key[0], p.key[1], p.key[9], p.key[18], 0, status.data(), t);
    BCDATA(p.key.data(), p.fixed.data(), nullptr, nullptr, 0, status.data(), t);
    PREPEQ(p.key.data(), rstat.data(), 0, status.data(), t, eq);
    if (status[0] < 0) {
        state.SkipWithError("set-up failed");
        return;
    }
    const I32 neq = t.MPAR[10];
    const std::int64_t L = std::int64_t(neq) + t.MSPAR[15];
    std::vector<double> SK(static_cast<std::size_t>(L)), SKG(static_cast<std::size_t>(L));
    double tK = 0.0, tKG = 0.0;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto a = Clock::now();
        ASMSTF(p.key.data(), p.topology.data(), p.elementData.data(), p.material.data(),
               p.nodal.data(), nullptr, SK.data(), SKG.data(), L, neq, 0, status.data(), t, eq);
        const auto b = Clock::now();
        Build_SKG(p.key.data(), p.elementData.data(), p.nodal.data(), p.stresses.data(), SKG.data(),
                  L, 0, status.data(), t, eq);
        const auto c = Clock::now();
        tK += std::chrono::duration<double>(b - a).count();
        tKG += std::chrono::duration<double>(c - b).count();
        benchmark::DoNotOptimize(SKG.data());
    }
    state.counters["equations"] = neq;
    state.counters["t_K"] = benchmark::Counter(tK, benchmark::Counter::kAvgIterations);
    state.counters["t_KG"] = benchmark::Counter(tKG, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(stiffnessAssemblies)
    ->Name("BucklingAssemblyT18/Small")
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stiffnessAssemblies)
    ->Name("BucklingAssemblyT18/1e5")
    ->Arg(128)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(bucklingRun)->Name("PlateBucklingT18/Small")->Args({12, 2})->Unit(benchmark::kMillisecond);
BENCHMARK(bucklingRun)
    ->Name("PlateBucklingT18/1e5")
    ->Args({128, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
// On skyline storage, whose profile grows with the square of the grid's
// side: about 1e4 equations.
BENCHMARK(bucklingRun)->Name("PlateBucklingT18Skyline/Small")->Args({12, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(bucklingRun)
    ->Name("PlateBucklingT18Skyline/1e4")
    ->Args({40, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

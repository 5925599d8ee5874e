// System stiffness assembly plus loads on a structured triangle mesh, on
// skyline and sparse storage, beside the sparse factorisation of the same
// model for scale. Counters: total time per iteration, time per element.
#include <benchmark/benchmark.h>

#include "solver/analysis/setup.h"
#include "solver/solvika.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace {

using i32 = std::int32_t;

// DOFs of a corner or side node of the code.
i32 dofs(i32 code, bool side) {
    switch (code) {
    case 61: return 1;
    case 65: return 3;
    case 75: return side ? 2 : 3;
    case 81: return 6;
    case 85: return side ? 1 : 6;
    default: return 2;
    }
}

// A square of n x n cells, two triangles each, with side nodes for the
// codes that have them; the left edge held.
struct Model {
    std::array<i32, 30> key{};
    std::vector<i32> topology, fixed;
    std::vector<double> elementData, material, nodal;
    std::vector<double> body = std::vector<double>(8, 0.0);
    solvika::ModelTables tables;
    solvika::EquationTables eq;
    solvika::RunStatistics rstat{};
    std::array<i32, 5> status{};
    std::vector<double> K, R, W;
    std::vector<double> internal;

    Model(i32 code, i32 storage, i32 n) {
        const bool sides = code == 85 || code == 61 || code == 75 || code == 32;
        std::map<std::pair<i32, i32>, i32> nodeAt;  // (row, column) on the fine grid
        std::vector<std::vector<std::pair<i32, i32>>> elements;
        for (i32 j = 0; j < n; ++j)
            for (i32 i = 0; i < n; ++i) {
                const std::pair<i32, i32> a{2 * j, 2 * i}, b{2 * j, 2 * i + 2}, c{2 * j + 2, 2 * i + 2},
                    d{2 * j + 2, 2 * i};
                elements.push_back({a, b, c});
                elements.push_back({a, c, d});
            }
        for (auto& el : elements) {
            if (sides)
                for (std::size_t k = 0; k < 3; ++k) {
                    const auto p = el[k], q = el[(k + 1) % 3];
                    el.push_back({(p.first + q.first) / 2, (p.second + q.second) / 2});
                }
            for (const auto& p : el) nodeAt[p] = 0;
        }
        i32 count = 0;
        for (auto& [p, number] : nodeAt) {
            number = ++count;
            nodal.insert(nodal.end(), {p.second * 0.5, p.first * 0.5, 0.0, 0.0});
            if (p.second == 0)  // clamped: every DOF of the left edge
                for (i32 d = 1; d <= dofs(code, p.first % 2 != 0); ++d) fixed.insert(fixed.end(), {count, d});
        }
        const i32 nodes = sides ? 6 : 3;
        key[0] = i32(elements.size());
        key[1] = count;
        key[2] = 1;
        key[3] = i32(fixed.size() / 2);
        key[9] = code;
        key[10] = storage;
        key[11] = 1;  // renumbering (skyline) or minimum-degree order (sparse)
        key[18] = nodes + 1;
        key[19] = solvika::elementDataRows(code, false);
        for (const auto& el : elements) {
            topology.push_back(1);
            for (const auto& p : el) topology.push_back(nodeAt[p]);
            for (i32 r = 0; r < key[19]; ++r) elementData.push_back(r >= 1 && r <= 3 ? 10.0 : r <= 7 ? 0.01 : 0.0);
        }
        material = {2.1e5, 2.1e5, 0.3, 2.1e5 / 2.6, 7.85e-9, 1.2e-5, 0.0};
        body = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -1.0};
        solvika::CHKTOP(topology.data(), key[0], key[1], code, key[18], 0, status.data(), tables);
        solvika::BCDATA(key.data(), fixed.data(), nullptr, nullptr, 0, status.data(), tables);
        solvika::PREPEQ(key.data(), rstat.data(), 0, status.data(), tables, eq);
        K.assign(std::size_t(lengthK()), 0.0);
        R.assign(std::size_t(tables.MPAR[10]), 0.0);
        W.assign(2 * std::size_t(count), 0.0);
    }

    std::int64_t lengthK() const {
        return key[10] == 2 ? std::int64_t(tables.MSPAR[15]) + tables.MPAR[10] : tables.MPAR[11];
    }

    void assembleAndLoad() {
        solvika::ASMSTF(key.data(), topology.data(), elementData.data(), material.data(), nodal.data(), nullptr,
                        K.data(), R.data(), lengthK(), tables.MPAR[10], 0, status.data(), tables, eq);
        if (key[9] < 60)
            solvika::MEMLOD(key.data(), topology.data(), elementData.data(), material.data(), nodal.data(),
                            body.data(), nullptr, nullptr, R.data(), W.data(), 0, status.data(), tables, eq, internal);
        else
            solvika::BNDLOD(key.data(), elementData.data(), nodal.data(), nullptr, R.data(), 0, status.data(), tables,
                            eq);
    }
};

void report(benchmark::State& state, const Model& m) {
    state.counters["equations"] = m.tables.MPAR[10];
    state.counters["elements"] = m.key[0];
    state.counters["per_element"] =
        benchmark::Counter(double(m.key[0]),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Arguments: element code, storage (1 skyline, 2 sparse), cells per side.
void BM_Assembly(benchmark::State& state) {
    Model m(i32(state.range(0)), i32(state.range(1)), i32(state.range(2)));
    if (m.status[0] != 0) return state.SkipWithError("model set-up failed");
    for (auto _ : state) {
        m.assembleAndLoad();
        benchmark::DoNotOptimize(m.K.data());
    }
    if (m.status[0] != 0) state.SkipWithError("assembly failed");
    report(state, m);
}

// The sparse factorisation of the same model, for comparison.
void BM_SparseFactorisation(benchmark::State& state) {
    Model m(i32(state.range(0)), 2, i32(state.range(1)));
    if (m.status[0] != 0) return state.SkipWithError("model set-up failed");
    m.assembleAndLoad();
    const std::vector<double> assembled = m.K;
    std::vector<i32> iw(std::size_t(std::max(m.tables.MSPAR[12], m.tables.MSPAR[13] + 1)) + 1);
    std::vector<double> rw(std::size_t(std::max(m.tables.MSPAR[13], m.tables.MSPAR[16])) + 1);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(assembled.begin(), assembled.end(), m.K.begin());
        state.ResumeTiming();
        double tol[3] = {1.0e-10, 0.0, 0.0};
        i32 ierr = 0;
        solvika::SPRFC1(m.tables.MSPAR.data(), m.eq.MTREES.data(), m.eq.MSIFA.data(), m.K.data(), tol, iw.data(),
                        rw.data(), 0, ierr);
        if (ierr < 0) return state.SkipWithError("factorisation failed");
    }
    report(state, m);
}

void AssemblySmall(benchmark::internal::Benchmark* b) {
    for (i32 code : {31, 65, 81, 85})
        for (i32 storage : {1, 2}) b->Args({code, storage, 16});
}
// About 1e5 equations each: 31 with 2 DOFs per node, 65 with 3, 81 with 6,
// 85 with 6 per corner and 1 per side node.
void AssemblyLarge(benchmark::internal::Benchmark* b) {
    const std::pair<i32, i32> sizes[] = {{31, 223}, {65, 182}, {81, 128}, {85, 105}};
    for (const auto& [code, n] : sizes)
        for (i32 storage : {1, 2}) b->Args({code, storage, n});
}

BENCHMARK(BM_Assembly)->Name("BM_Assembly_Small")->Apply(AssemblySmall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Assembly)->Name("BM_Assembly_1e5")->Apply(AssemblyLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SparseFactorisation)
    ->Name("BM_SparseFactorisation_1e5")
    ->Args({31, 223})
    ->Args({65, 182})
    ->Args({81, 128})
    ->Args({85, 105})
    ->Unit(benchmark::kMillisecond);

} // namespace

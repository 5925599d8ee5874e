// Node renumbering on structured triangle meshes, numbered along their long
// side: time of each method, the profile before and after, and the
// percentage the method reports.
#include "solver/solvika.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using i32 = std::int32_t;

struct Mesh {
    i32 nanod = 0, nel = 0;
    std::vector<i32> mpelnd{1}, melnod, mndptr{1}, mexnod, msc;
};

// nx x ny cells of two triangles; nodes numbered row by row along x.
Mesh grid(i32 nx, i32 ny) {
    Mesh m;
    auto node = [nx](i32 i, i32 j) { return 1 + j * (nx + 1) + i; };
    for (i32 j = 0; j < ny; ++j)
        for (i32 i = 0; i < nx; ++i) {
            for (i32 n : {node(i, j), node(i + 1, j), node(i + 1, j + 1)}) m.melnod.push_back(n);
            m.mpelnd.push_back(i32(m.melnod.size()) + 1);
            for (i32 n : {node(i, j), node(i + 1, j + 1), node(i, j + 1)}) m.melnod.push_back(n);
            m.mpelnd.push_back(i32(m.melnod.size()) + 1);
        }
    m.nel = 2 * nx * ny;
    m.nanod = (nx + 1) * (ny + 1);
    for (i32 n = 1; n <= m.nanod; ++n) {
        m.mndptr.push_back(m.mndptr.back() + 2);
        m.mexnod.push_back(n);
    }
    m.msc.assign(std::size_t(2 * m.nanod), 1);
    return m;
}

// Profile of a numbering over the nodes that share an element.
std::int64_t profile(const Mesh& m, const std::vector<i32>& number) {
    std::vector<i32> lowest(number);
    for (i32 e = 0; e < m.nel; ++e) {
        i32 low = number[std::size_t(m.melnod[std::size_t(m.mpelnd[std::size_t(e)] - 1)] - 1)];
        for (i32 p = m.mpelnd[std::size_t(e)]; p < m.mpelnd[std::size_t(e + 1)]; ++p)
            low = std::min(low, number[std::size_t(m.melnod[std::size_t(p - 1)] - 1)]);
        for (i32 p = m.mpelnd[std::size_t(e)]; p < m.mpelnd[std::size_t(e + 1)]; ++p) {
            i32& l = lowest[std::size_t(m.melnod[std::size_t(p - 1)] - 1)];
            l = std::min(l, low);
        }
    }
    std::int64_t sum = 0;
    for (std::size_t n = 0; n < number.size(); ++n) sum += number[n] - lowest[n] + 1;
    return sum;
}

using Method = void (*)(const i32*, const i32*, const i32*, const i32*, const i32*, i32*, i32*, i32, i32, i32, i32,
                        i32, bool, i32&, i32&, i32&);

void run(benchmark::State& state, Method method) {
    const i32 ny = i32(state.range(0)), nx = 2 * ny;
    const Mesh m = grid(nx, ny);
    const i32 nwork = m.nel * (1 + 3 * 2) + 4 * m.nanod + 2;
    std::vector<i32> work(static_cast<std::size_t>(nwork)), mnnn(static_cast<std::size_t>(m.nanod));
    i32 start = 0, percent = 0, ierr = 0;
    for (auto _ : state) {
        start = 0;
        method(m.mpelnd.data(), m.melnod.data(), m.mexnod.data(), m.msc.data(), m.mndptr.data(), work.data(),
               mnnn.data(), m.nanod, m.nel, nwork, 0, 0, false, start, percent, ierr);
        benchmark::DoNotOptimize(mnnn.data());
    }
    if (ierr != 0) {
        state.SkipWithError("renumbering failed");
        return;
    }
    std::vector<i32> input(static_cast<std::size_t>(m.nanod));
    for (i32 n = 0; n < m.nanod; ++n) input[std::size_t(n)] = n + 1;
    state.counters["nodes"] = double(m.nanod);
    state.counters["oldProfile"] = double(profile(m, input));
    state.counters["newProfile"] = double(profile(m, mnnn));
    state.counters["percent"] = double(percent);
}

void BM_SwsnumSmall(benchmark::State& s) { run(s, solvika::SWSNUM); }
void BM_PfmrenSmall(benchmark::State& s) { run(s, solvika::PFMREN); }
void BM_ElwrenSmall(benchmark::State& s) { run(s, solvika::ELWREN); }
void BM_Swsnum(benchmark::State& s) { run(s, solvika::SWSNUM); }
void BM_Pfmren(benchmark::State& s) { run(s, solvika::PFMREN); }
void BM_Elwren(benchmark::State& s) { run(s, solvika::ELWREN); }

} // namespace

// About 1e4 nodes (CI) and 1e4 / 1e5 nodes for the growth.
BENCHMARK(BM_SwsnumSmall)->Arg(70)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PfmrenSmall)->Arg(70)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElwrenSmall)->Arg(70)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Swsnum)->Arg(70)->Arg(223)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pfmren)->Arg(70)->Arg(223)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Elwren)->Arg(70)->Arg(223)->Unit(benchmark::kMillisecond);

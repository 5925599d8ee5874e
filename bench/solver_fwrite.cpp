// Formatting speed of the run-log writer: lines of numbers as the echo and
// the result prints write them.
#include "solver/solvika.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void run(benchmark::State& state) {
    const auto rows = std::size_t(state.range(0));
    std::vector<double> xyz(3 * rows);
    for (std::size_t i = 0; i < xyz.size(); ++i) xyz[i] = 1.0e-3 * double(i * 7919 % 100003) - 40.0;
    static const solvika::Layout line("I9 1P 3E15.4");
    std::string sink;
    sink.reserve(rows * 60);
    solvika::attachSink(77, &sink);
    for (auto _ : state) {
        sink.clear();
        for (std::size_t r = 0; r < rows; ++r)
            solvika::fwrite(77, line, {int(r + 1), xyz[3 * r], xyz[3 * r + 1], xyz[3 * r + 2]});
        benchmark::DoNotOptimize(sink.data());
    }
    solvika::detachSink(77);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(rows));
}

void BM_FWriteNodeLinesSmall(benchmark::State& state) { run(state); }
void BM_FWriteNodeLines(benchmark::State& state) { run(state); }

} // namespace

BENCHMARK(BM_FWriteNodeLinesSmall)->Arg(1000);
BENCHMARK(BM_FWriteNodeLines)->Arg(1000000);

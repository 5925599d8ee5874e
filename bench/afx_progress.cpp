// The cost of a progress point: idle (not busy), and busy with an empty pump
// hook (the clock read and the interval check of every call).
#include <benchmark/benchmark.h>

#include "platform/afx/progress.h"

namespace
{

void EmptyPump() {}

void BM_ProgressPointIdleSmall(benchmark::State& state)
{
    for (auto _ : state) {
        afx::ProgressPoint();
        benchmark::ClobberMemory();
    }
}

void BM_ProgressPointBusySmall(benchmark::State& state)
{
    const afx::ProgressPump previous = afx::SetProgressPump(&EmptyPump);
    afx::BeginProgressBusy();
    for (auto _ : state) {
        afx::ProgressPoint();
        benchmark::ClobberMemory();
    }
    afx::EndProgressBusy();
    afx::SetProgressPump(previous);
}

BENCHMARK(BM_ProgressPointIdleSmall);
BENCHMARK(BM_ProgressPointBusySmall);

} // namespace

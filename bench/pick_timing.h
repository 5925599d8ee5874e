// The timing loop shared by the pick benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include "platform/afx/collections.h"

namespace bench
{

// Times pick() in the benchmark's loop. The first pick after a model edit
// builds the model's pick index: with afterEdit every timed pick follows an
// edit, so the build is timed with it; otherwise one pick before the timing
// builds it.
template <class F> void TimePicks(benchmark::State& state, bool afterEdit, F&& pick)
{
    if (!afterEdit)
        pick();
    for (auto _ : state) {
        if (afterEdit)
            AfxNoteModelEdit();
        pick();
    }
}

} // namespace bench

// Element stiffness routines of the T15, T18 and T21 plate triangles, per
// element; T18 and T21 on the exact road with constant and with varying
// thickness and on the seven-point road.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "solver/solvika.h"

namespace {

const double kC[9] = {2.1e5, 0.63e5, 0.0, 0.63e5, 2.1e5, 0.0, 0.0, 0.0, 0.735e5};
const double kX[3] = {0.0, 4.0, 1.0}, kY[3] = {0.0, 0.5, 3.0};
const double kConstant[3] = {1.0, 1.0, 1.0};
const double kVarying[3] = {1.0, 1.2, 0.9};

void BM_T15_k_Small(benchmark::State& state) {
    double EK[225];
    std::int32_t ierr = 0;
    for (auto _ : state) {
        solvika::T15_k(EK, kC, kX, kY, kVarying, 1, 0, ierr);
        benchmark::DoNotOptimize(EK);
    }
}
BENCHMARK(BM_T15_k_Small);

// Arguments: DOF count, varying thickness (0 or 1).
void BM_HTBA31_Small(benchmark::State& state) {
    const auto ndof = static_cast<std::int32_t>(state.range(0));
    const double* T = state.range(1) ? kVarying : kConstant;
    double EK[441];
    std::int32_t ierr = 0;
    for (auto _ : state) {
        solvika::HTBA31(EK, kC, kX, kY, T, ndof, 1, 0, 0, ierr);
        benchmark::DoNotOptimize(EK);
    }
}
BENCHMARK(BM_HTBA31_Small)->Args({18, 0})->Args({18, 1})->Args({21, 0})->Args({21, 1});

void BM_HTBN31_Small(benchmark::State& state) {
    const auto ndof = static_cast<std::int32_t>(state.range(0));
    double EK[441];
    std::int32_t ierr = 0;
    for (auto _ : state) {
        solvika::HTBN31(EK, kC, kX, kY, kVarying, ndof, 1, 0, 0, ierr);
        benchmark::DoNotOptimize(EK);
    }
}
BENCHMARK(BM_HTBN31_Small)->Arg(18)->Arg(21);

} // namespace

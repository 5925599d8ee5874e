// Element stiffness routines of the membrane elements, per element.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "solver/solvika.h"

namespace {

const double kC[9] = {230.0, 69.0, 0.0, 69.0, 230.0, 0.0, 0.0, 0.0, 80.5};
const double kPacked[6] = {230.0, 230.0, 80.5, 69.0, 0.0, 0.0};

void BM_PQST31_Small(benchmark::State& state) {
    const double X[3] = {0.0, 4.0, 1.0}, Y[3] = {0.0, 0.5, 3.0}, H[3] = {1.0, 1.2, 0.9};
    double EK[324], G[36], CKI[4], W1[120], W2[400];
    std::int32_t ierr = 0;
    for (auto _ : state) {
        solvika::PQST31(EK, G, CKI, W1, kC, X, Y, H, W2, 1, 0, 0, ierr);
        benchmark::DoNotOptimize(EK);
    }
}
BENCHMARK(BM_PQST31_Small);

void BM_LST31_Small(benchmark::State& state) {
    const double X[3] = {0.0, 4.0, 1.0}, Y[3] = {0.0, 0.5, 3.0}, H[3] = {1.0, 1.2, 0.9};
    double EK[144];
    std::int32_t ierr = 0;
    for (auto _ : state) {
        solvika::LST31(EK, kC, X, Y, H, 1, 0, 0, ierr);
        benchmark::DoNotOptimize(EK);
    }
}
BENCHMARK(BM_LST31_Small);

void BM_QUAD_Sm_Q9_Small(benchmark::State& state) {
    const double X[8] = {0.0, 4.0, 4.2, 0.1, 2.0, 4.1, 2.1, 0.05};
    const double Y[8] = {0.0, 0.2, 3.0, 3.1, 0.1, 1.6, 3.05, 1.55};
    const double H[4] = {1.0, 1.1, 1.2, 0.9};
    const std::int32_t F[9] = {1, 1, 1, 1, 1, 1, 1, 1, -1};
    double EK[256], CD[36];
    std::int32_t ierr = 0;
    for (auto _ : state) {
        solvika::QUAD_Sm(kPacked, X, Y, H, F, 16, 9, 0, EK, CD, ierr);
        benchmark::DoNotOptimize(EK);
    }
}
BENCHMARK(BM_QUAD_Sm_Q9_Small);

void BM_Q6_Sm_Small(benchmark::State& state) {
    const double X[4] = {0.0, 4.0, 4.2, 0.1}, Y[4] = {0.0, 0.2, 3.0, 3.1};
    const double H[4] = {1.0, 1.1, 1.2, 0.9};
    double EK[64];
    std::int32_t ierr = 0;
    for (auto _ : state) {
        solvika::Q6_Sm(kPacked, X, Y, H, EK, ierr);
        benchmark::DoNotOptimize(EK);
    }
}
BENCHMARK(BM_Q6_Sm_Small);

} // namespace

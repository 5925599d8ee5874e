// Dense matrix products and solves.
#include "matrix/zelkor.h"

#include <benchmark/benchmark.h>

namespace {

CMatrix TestMatrix(int n)
{
    // Diagonally dominant, so that every solve succeeds.
    CMatrix m;
    m.RandMat(n, n, 1.0, -1.0, 0);
    for (int i = 0; i < n; ++i)
        m[i][i] += n;
    return m;
}

void Product(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const CMatrix a = TestMatrix(n), b = TestMatrix(n);
    for (auto _ : state) {
        CMatrix c(a);
        c *= b;
        benchmark::DoNotOptimize(c.GetVector());
    }
}

void Solve(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const CMatrix a = TestMatrix(n);
    CMatrix rhs(n, 4, true, 1.0);
    for (auto _ : state) {
        CMatrix m(a), x(rhs);
        double seconds;
        benchmark::DoNotOptimize(m.SolveAxEqb(&x, true, seconds));
    }
}

} // namespace

BENCHMARK(Product)->Name("DenseProductSmall")->Arg(32);
BENCHMARK(Product)->Name("DenseProduct")->Arg(400);
BENCHMARK(Solve)->Name("DenseSolveSmall")->Arg(32);
BENCHMARK(Solve)->Name("DenseSolve")->Arg(400);

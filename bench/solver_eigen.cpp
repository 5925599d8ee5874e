// Buckling eigenmodes of a plate on sparse storage: subspace iteration
// (SPRSIT) against truncated Lanczos (SPRLAN), each with the settings of the
// buckling run, 10 modes.
//
// Model: a structured mesh of n x n nodes 100 mm apart, each square split
// into two DKT triangles, 3 DOFs per node (w, dw/dx, dw/dy), simply
// supported (w = 0 along the four edges). K is the DKT bending stiffness;
// KG the geometric stiffness of uniform biaxial compression with linear
// deflection, t A grad(Li) . grad(Lj) on the deflection DOFs only (zero
// rows for the rotations: infinite eigenvalues). Sizes: Small (about 1e3
// equations) and about 1e5 equations.
//
// Reported per solver: the solver time (the only timed part), factorisations,
// operator applications (solves and B products), iterations or Lanczos
// steps, accepted modes, the ten eigenvalues (printed), the largest
// ||K x - lambda KG x|| / (|lambda| ||KG x||); for Lanczos also the time
// ratio subspace / Lanczos and the largest relative difference of the modes
// both accepted.
#include <benchmark/benchmark.h>

#include "solver/elements/plate_bending.h"
#include "solver/linalg/sparse.h"
#include "solver/solvika.h"
#include "tests/solvika/dkt_grid.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

using I32 = std::int32_t;
using I64 = std::int64_t;
using Clock = std::chrono::steady_clock;

constexpr int kModes = 10;

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// The DKT grid, simply supported (w = 0 along the four edges).
struct BucklingPlate : solvika::test::DktGrid {
    I64 values() const { return I64(neq()) + MSPAR[15]; }

    explicit BucklingPlate(int nodes)
        : DktGrid(nodes, [nodes](int node, int dof) {
              const int i = (node - 1) % nodes, j = (node - 1) / nodes;
              return dof == 0 && (i == 0 || j == 0 || i == nodes - 1 || j == nodes - 1) ? 0 : 1;
          })
    {
    }

    void symbolic()
    {
        if (const I32 ierr = DktGrid::symbolic(); ierr != 0)
            std::fprintf(stderr, "symbolic phase failed: %d\n", ierr);
    }

    // K (geometric = false) or KG assembled into sm.
    void assemble(std::vector<double>& sm, bool geometric)
    {
        sm.assign(values(), 0.0);
        DktGrid::assemble(sm.data(), geometric);
    }

    // Largest ||K x - lambda KG x|| / (|lambda| ||KG x||) over the modes.
    double residual(const std::vector<double>& evl, const std::vector<double>& evec, int modes)
    {
        std::vector<double> k, g;
        assemble(k, false);
        assemble(g, true);
        const I32 nq = neq();
        std::vector<double> kx(nq), gx(nq), w(nq);
        double worst = 0.0;
        for (int m = 0; m < modes; ++m) {
            const double* x = evec.data() + std::size_t(m) * nq;
            I32 ierr = 0;
            solvika::SPRPRM(k.data() + nq, x, kx.data(), w.data(), MSPAR.data(), MTREES.data(), MSIFA.data(), nq, 1,
                            1, 1, 0, ierr);
            solvika::SPRPRM(g.data() + nq, x, gx.data(), w.data(), MSPAR.data(), MTREES.data(), MSIFA.data(), nq, 1,
                            1, 1, 0, ierr);
            double r = 0.0, ng = 0.0;
            for (I32 i = 0; i < nq; ++i) {
                r += std::pow(kx[i] - evl[m] * gx[i], 2);
                ng += gx[i] * gx[i];
            }
            worst = std::max(worst, std::sqrt(r) / (std::abs(evl[m]) * std::sqrt(ng)));
        }
        return worst;
    }
};

struct Result {
    double seconds = 0.0;
    std::vector<double> evl;
    int accepted = 0;
};

std::map<int, std::unique_ptr<BucklingPlate>>& plates()
{
    static std::map<int, std::unique_ptr<BucklingPlate>> p;
    return p;
}

std::map<int, Result>& subspaceResults()
{
    static std::map<int, Result> r;
    return r;
}

BucklingPlate& plate(int n)
{
    auto& p = plates()[n];
    if (!p) {
        p = std::make_unique<BucklingPlate>(n);
        p->symbolic();
    }
    return *p;
}

void printModes(const char* solver, int n, const std::vector<double>& evl, int accepted)
{
    std::printf("%s n=%d accepted=%d eigenvalues:", solver, n, accepted);
    for (int i = 0; i < kModes && i < int(evl.size()); ++i)
        std::printf(" %.10g", evl[i]);
    std::printf("\n");
}

void BM_Subspace(benchmark::State& state, int n)
{
    BucklingPlate& p = plate(n);
    const I32 nq = p.neq();
    const I32 k = kModes + I32(std::lround(std::pow(double(kModes), 0.8))) + 6;
    std::vector<double> a, b, evl(k), rerr(k), evec(std::size_t(nq) * k);
    const I64 lrwa = std::max<I64>(I64(3 * k + nq) * (k + 1), 150) + I64(p.MSPAR[12]) + p.MSPAR[13] + p.MSPAR[16];
    const I64 liwa = I64(nq) + p.MSPAR[13];
    std::vector<double> rwa(lrwa);
    std::vector<I32> iwa(liwa);
    std::array<I32, 6> mop{1, 1, -1, 40, 1, 0};
    std::array<I32, 4> minf{};
    I32 ierr = 0;
    double total = 0.0;
    for (auto _ : state) {
        p.assemble(a, false);
        p.assemble(b, true);
        std::array<double, 2> tol{1.0e-8, 1.0e-8};
        double shift = 0.0;
        I32 niv = k;
        const auto t0 = Clock::now();
        solvika::SPRSIT(a.data(), b.data(), tol.data(), p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), mop.data(),
                        minf.data(), evl.data(), rerr.data(), evec.data(), rwa.data(), lrwa, iwa.data(), liwa, shift,
                        nq, kModes, niv, 0, 0, ierr);
        const double s = seconds(t0, Clock::now());
        state.SetIterationTime(s);
        total += s;
    }
    const double mean = total / double(state.iterations());
    const int accepted = std::min(minf[0], kModes);
    state.counters["NEQ"] = nq;
    state.counters["ierr"] = ierr;
    state.counters["factorisations"] = 1;
    state.counters["solves"] = double(minf[3]) * k;
    state.counters["B_products"] = double(minf[3] + 1) * k;
    state.counters["iterations"] = minf[3];
    state.counters["accepted"] = minf[0];
    state.counters["residual"] = p.residual(evl, evec, accepted);
    subspaceResults()[n] = {mean, std::vector<double>(evl.begin(), evl.begin() + kModes), minf[0]};
    printModes("SPRSIT", n, evl, minf[0]);
}

void BM_Lanczos(benchmark::State& state, int n)
{
    BucklingPlate& p = plate(n);
    const I32 nq = p.neq();
    const I32 maxlan = 2 * kModes + 12;
    std::vector<double> a, b, evl(maxlan), rerr(maxlan), evec(std::size_t(nq) * maxlan), v(2 * std::size_t(nq));
    const I64 lrwa = std::max<I64>(I64(maxlan + 7) * maxlan, I64(p.MSPAR[13]) + p.MSPAR[16]);
    const I64 liwa = std::max<I64>(nq, I64(p.MSPAR[12]) + 2 * maxlan);
    std::vector<double> rwa(lrwa);
    std::vector<I32> iwa(liwa);
    std::array<I32, 6> mop{1, 1, -1, 1, 2, 1};
    std::array<I32, 10> minf{};
    I32 ierr = 0;
    double total = 0.0;
    for (auto _ : state) {
        p.assemble(a, false);
        p.assemble(b, true);
        std::array<double, 2> tol{1.0e-8, 1.0e-8};
        double shift = 0.0;
        const auto t0 = Clock::now();
        solvika::SPRLAN(a.data(), b.data(), tol.data(), p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), mop.data(),
                        minf.data(), evl.data(), rerr.data(), evec.data(), v.data(), rwa.data(), lrwa, iwa.data(),
                        liwa, shift, nq, kModes, kModes, maxlan, 0, 0, ierr);
        const double s = seconds(t0, Clock::now());
        state.SetIterationTime(s);
        total += s;
    }
    const double mean = total / double(state.iterations());
    const int accepted = std::min(minf[0], kModes);
    state.counters["NEQ"] = nq;
    state.counters["ierr"] = ierr;
    state.counters["factorisations"] = 1;
    state.counters["solves"] = minf[2];
    state.counters["B_products"] = minf[2];
    state.counters["lanczos_steps"] = minf[2];
    state.counters["accepted"] = minf[0];
    state.counters["residual"] = p.residual(evl, evec, std::min(accepted, minf[4]));
    printModes("SPRLAN", n, evl, minf[0]);
    const auto it = subspaceResults().find(n);
    if (it != subspaceResults().end()) {
        state.counters["subspace_over_lanczos"] = it->second.seconds / mean;
        double diff = 0.0;
        const int both = std::min({accepted, it->second.accepted, kModes});
        for (int i = 0; i < both; ++i)
            diff = std::max(diff, std::abs(evl[i] - it->second.evl[i]) / std::abs(it->second.evl[i]));
        state.counters["mode_difference"] = diff;
        if (diff > 1e-6)
            std::printf("SPRLAN n=%d: modes differ from SPRSIT by %.3g\n", n, diff);
    }
}

void registerSize(const char* label, int n)
{
    const std::string s(label);
    benchmark::RegisterBenchmark(("BM_BucklingSubspace_" + s).c_str(), [n](benchmark::State& st) { BM_Subspace(st, n); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark(("BM_BucklingLanczos_" + s).c_str(), [n](benchmark::State& st) { BM_Lanczos(st, n); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

const bool registered = [] {
    registerSize("Small", 20);  // 1.1e3 equations
    registerSize("1e5", 183);   // 9.9e4 equations
    return true;
}();

} // namespace

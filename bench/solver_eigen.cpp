// Buckling eigenmodes of a plate on sparse storage: subspace iteration
// (SPRSIT) against truncated Lanczos (SPRLAN), 10 modes. Subspace iteration
// and Lanczos run with the settings of the buckling run (MAXLAN = 2p + 12 =
// 32 Lanczos steps); Lanczos runs again with MAXLAN = 40, where it accepts
// all 10 modes, so that its time stands for the same work as the subspace
// iteration's.
//
// Model: a structured mesh of n x n nodes 100 mm apart, each square split
// into two DKT triangles, 3 DOFs per node (w, dw/dx, dw/dy), simply
// supported (w = 0 along the four edges). K is the DKT bending stiffness;
// KG the geometric stiffness of uniform biaxial compression with linear
// deflection, t A grad(Li) . grad(Lj) on the deflection DOFs only (zero
// rows for the rotations: infinite eigenvalues). Sizes: Small (about 1e3
// equations) and about 1e5 equations.
//
// Reported per run: the solver time (the only timed part) with the number
// of the 10 modes accepted next to it, factorisations, operator
// applications (solves and B products), iterations or Lanczos steps. A
// table per run lists the 10 eigenvalues, each with its relative gap to the
// nearest other one and, for accepted modes only, the eigenvector residual
// ||K x - lambda KG x|| / (|lambda| ||KG x||); values not accepted are
// marked. Over the accepted modes only: the largest residual and, for
// Lanczos, the largest relative difference from the subspace eigenvalues
// (modes accepted by both), next to the time ratio subspace / Lanczos. A
// close pair of eigenvalues shows as a small gap with a large vector
// residual while the eigenvalues still agree.
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

    // ||K x - lambda KG x|| / (|lambda| ||KG x||) of each of the first
    // `modes` modes.
    std::vector<double> residuals(const std::vector<double>& evl, const std::vector<double>& evec, int modes)
    {
        std::vector<double> k, g;
        assemble(k, false);
        assemble(g, true);
        const I32 nq = neq();
        std::vector<double> kx(nq), gx(nq), w(nq), out;
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
            out.push_back(std::sqrt(r) / (std::abs(evl[m]) * std::sqrt(ng)));
        }
        return out;
    }
};

// One solver run: its time, the kModes eigenvalues, how many of them (the
// leading ones) were accepted, and the residuals of those.
struct Result {
    double seconds = 0.0;
    std::vector<double> evl;
    int accepted = 0;
    std::vector<double> residual;
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

// The run's result from the solver's accepted count and the vectors of its
// accepted modes (the first columns of evec).
Result collect(BucklingPlate& p, double seconds, const std::vector<double>& evl, int accepted,
               const std::vector<double>& evec)
{
    Result r;
    r.seconds = seconds;
    r.evl.assign(evl.begin(), evl.begin() + kModes);
    r.accepted = std::clamp(accepted, 0, kModes);
    r.residual = p.residuals(evl, evec, r.accepted);
    return r;
}

// Prints the table of one run and sets the counters that hold for every
// solver; against the subspace run when given.
void report(benchmark::State& state, const std::string& run, int n, const Result& r, const Result* subspace)
{
    std::printf("%s n=%d: %d of %d modes accepted in %.4g s (* not accepted: no residual, left out of the "
                "comparisons)\n",
                run.c_str(), n, r.accepted, kModes, r.seconds);
    std::printf("  mode  eigenvalue         relative gap  vector residual\n");
    for (int i = 0; i < kModes; ++i) {
        double gap = HUGE_VAL;
        for (int j = 0; j < kModes; ++j)
            if (j != i)
                gap = std::min(gap, std::abs(r.evl[i] - r.evl[j]) / std::abs(r.evl[i]));
        if (i < r.accepted)
            std::printf("  %4d  %-17.10g  %12.3e  %15.3e\n", i + 1, r.evl[i], gap, r.residual[i]);
        else
            std::printf("  %4d  %-17.10g  %12.3e  %15s\n", i + 1, r.evl[i], gap, "*");
    }
    state.counters["accepted"] = r.accepted;
    double worst = 0.0;
    for (const double v : r.residual)
        if (!(v <= worst))  // a NaN residual shows
            worst = v;
    state.counters["residual_accepted_max"] = worst;
    std::printf("  largest vector residual over the %d accepted modes: %.3e\n", r.accepted, worst);
    if (!subspace)
        return;
    state.counters["subspace_over_lanczos"] = subspace->seconds / r.seconds;
    const int both = std::min(r.accepted, subspace->accepted);
    double diff = 0.0;
    for (int i = 0; i < both; ++i)
        diff = std::max(diff, std::abs(r.evl[i] - subspace->evl[i]) / std::abs(subspace->evl[i]));
    state.counters["mode_difference_accepted"] = diff;
    std::printf("  largest relative difference from SPRSIT over the %d modes both accepted: %.3e\n", both, diff);
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
    state.counters["NEQ"] = nq;
    state.counters["ierr"] = ierr;
    state.counters["factorisations"] = 1;
    state.counters["solves"] = double(minf[3]) * k;
    state.counters["B_products"] = double(minf[3] + 1) * k;
    state.counters["iterations"] = minf[3];
    const Result r = collect(p, total / double(state.iterations()), evl, minf[0], evec);
    report(state, "SPRSIT", n, r, nullptr);
    subspaceResults()[n] = r;
}

void BM_Lanczos(benchmark::State& state, int n, I32 maxlan)
{
    BucklingPlate& p = plate(n);
    const I32 nq = p.neq();
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
    state.counters["NEQ"] = nq;
    state.counters["MAXLAN"] = maxlan;
    state.counters["ierr"] = ierr;
    state.counters["factorisations"] = 1;
    state.counters["solves"] = minf[2];
    state.counters["B_products"] = minf[2];
    state.counters["lanczos_steps"] = minf[2];
    // Vectors come back for the accepted modes only (MINF(5) of them).
    const Result r = collect(p, total / double(state.iterations()), evl, std::min(minf[0], minf[4]), evec);
    const auto it = subspaceResults().find(n);
    report(state, "SPRLAN MAXLAN=" + std::to_string(maxlan), n, r,
           it != subspaceResults().end() ? &it->second : nullptr);
}

void registerSize(const char* label, int n)
{
    const std::string s(label);
    auto reg = [](const std::string& name, auto fn) {
        benchmark::RegisterBenchmark(name.c_str(), fn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
    };
    reg("BM_BucklingSubspace_" + s, [n](benchmark::State& st) { BM_Subspace(st, n); });
    // The buckling run's Lanczos length, then one that accepts all modes.
    for (const I32 maxlan : {2 * kModes + 12, 40})
        reg("BM_BucklingLanczos_" + s + "/MAXLAN:" + std::to_string(maxlan),
            [n, maxlan](benchmark::State& st) { BM_Lanczos(st, n, maxlan); });
}

const bool registered = [] {
    registerSize("Small", 20);  // 1.1e3 equations
    registerSize("1e5", 183);   // 9.9e4 equations
    return true;
}();

} // namespace

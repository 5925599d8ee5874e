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

struct BucklingPlate {
    int n = 0;
    std::vector<I32> MNDPTR, MEXNOD, MPELND, MELNOD, MSC, MPMCEQ{1}, MCQDOF{0};
    std::vector<double> CQCOEF{0.0};
    double ek[2][81] = {};
    double eg[2][81] = {};
    std::vector<I32> MPAR = std::vector<I32>(50, 0), MSPAR = std::vector<I32>(50, 0);
    std::vector<I32> MDOFEQ, MSICA, MTREES, MSIFA, MEQMAP;
    float stats[4] = {};

    I32 nel() const { return 2 * (n - 1) * (n - 1); }
    I32 neq() const { return MSPAR[7]; }
    I64 values() const { return I64(neq()) + MSPAR[15]; }

    explicit BucklingPlate(int nodes) : n(nodes)
    {
        const I32 nanod = n * n;
        MNDPTR.resize(nanod + 1);
        for (I32 k = 0; k <= nanod; ++k)
            MNDPTR[k] = 3 * k + 1;
        MEXNOD.resize(nanod);
        std::iota(MEXNOD.begin(), MEXNOD.end(), 1);
        MSC.assign(3 * std::size_t(nanod), 1);
        auto id = [&](int i, int j) { return j * n + i + 1; };
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                if (i == 0 || j == 0 || i == n - 1 || j == n - 1)
                    MSC[3 * std::size_t(id(i, j) - 1)] = 0; // w = 0 on the edges
        MPELND = {1};
        for (int j = 0; j + 1 < n; ++j)
            for (int i = 0; i + 1 < n; ++i) {
                for (int v : {id(i, j), id(i + 1, j), id(i + 1, j + 1)})
                    MELNOD.push_back(v);
                MPELND.push_back(I32(MELNOD.size()) + 1);
                for (int v : {id(i, j), id(i + 1, j + 1), id(i, j + 1)})
                    MELNOD.push_back(v);
                MPELND.push_back(I32(MELNOD.size()) + 1);
            }
        const double e = 210000.0, nu = 0.3, f = e / (1 - nu * nu);
        const double c[9] = {f, f * nu, 0, f * nu, f, 0, 0, 0, f * (1 - nu) / 2};
        const double t[3] = {10, 10, 10};
        const double xs[2][3] = {{0, 100, 100}, {0, 100, 0}};
        const double ys[2][3] = {{0, 0, 100}, {0, 100, 100}};
        for (int s = 0; s < 2; ++s) {
            I32 ierr = 0;
            solvika::DKT_Sm(ek[s], c, xs[s], ys[s], t, s + 1, 0, ierr);
            // Uniform compression S = -I: -t A grad(Li)^T S grad(Lj).
            const double* x = xs[s];
            const double* y = ys[s];
            const double a2 = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
            const double gx[3] = {(y[1] - y[2]) / a2, (y[2] - y[0]) / a2, (y[0] - y[1]) / a2};
            const double gy[3] = {(x[2] - x[1]) / a2, (x[0] - x[2]) / a2, (x[1] - x[0]) / a2};
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    eg[s][3 * i + 27 * j] = t[0] * 0.5 * a2 * (gx[i] * gx[j] + gy[i] * gy[j]);
        }
    }

    void symbolic()
    {
        MPAR.assign(50, 0);
        MPAR[0] = n * n;
        MPAR[1] = nel();
        MPAR[2] = 3 * n * n;
        const I32 ndof = MPAR[2];
        MDOFEQ.assign(ndof, 0);
        I32 ierr = 0;
        std::vector<I32> w(3 * std::size_t(ndof));
        solvika::SPSPRP(MNDPTR.data(), MEXNOD.data(), MPELND.data(), MELNOD.data(), MSC.data(), MPMCEQ.data(),
                        MCQDOF.data(), MPAR.data(), MSPAR.data(), MDOFEQ.data(), w.data(), 0, ierr);
        std::vector<I32> w1(MSPAR[34]), w2(2 * std::size_t(ndof));
        solvika::SPRSAS(MPAR.data(), MNDPTR.data(), MPELND.data(), MELNOD.data(), MSC.data(), MPMCEQ.data(),
                        MCQDOF.data(), MDOFEQ.data(), MSPAR.data(), w1.data(), w2.data(), 0, ierr);
        MSICA.assign(w1.begin(), w1.begin() + MSPAR[1]);
        std::vector<I32> wr(MSPAR[36]);
        solvika::SPRRNM(MSPAR.data(), MSICA.data(), wr.data(), 0, ierr);
        std::vector<I32> t1(MSPAR[35]), t2(MSPAR[37]);
        solvika::SPRTRS(MSPAR.data(), MSICA.data(), t1.data(), MDOFEQ.data(), ndof, t2.data(), stats, 0, ierr);
        MTREES.assign(t1.begin(), t1.begin() + MSPAR[3]);
        std::vector<I32> f1(MSPAR[2]), f2(2 * std::size_t(neq()) + 3 * std::size_t(MSPAR[5]) + 1);
        solvika::SPRSMB(MSPAR.data(), MSICA.data(), MTREES.data(), f1.data(), MDOFEQ.data(), f2.data(), 0, ierr);
        MSIFA.assign(f1.begin(), f1.begin() + MSPAR[2]);
        MEQMAP.assign(2 * std::size_t(neq()), 0);
        solvika::SPRFIN(MSICA.data(), MTREES.data(), MDOFEQ.data(), MPAR.data(), MSPAR.data(), MEQMAP.data());
        if (ierr != 0)
            std::fprintf(stderr, "symbolic phase failed: %d\n", ierr);
    }

    // K (geometric = false) or KG assembled into sm.
    void assemble(std::vector<double>& sm, bool geometric)
    {
        sm.assign(values(), 0.0);
        std::vector<I32> w(MSPAR[38]);
        I32 ierr = 0;
        for (I32 e = 1; e <= nel(); ++e)
            solvika::SPRADM(geometric ? eg[(e - 1) % 2] : ek[(e - 1) % 2], CQCOEF.data(), MPAR.data(),
                            MNDPTR.data(), MDOFEQ.data(), MPELND.data(), MELNOD.data(), MPMCEQ.data(),
                            MCQDOF.data(), MSPAR.data(), MTREES.data(), MSIFA.data(), MEQMAP.data(), e, 9, 0,
                            sm.data(), nullptr, w.data(), 0, ierr);
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

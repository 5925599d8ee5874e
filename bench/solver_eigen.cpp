// Buckling eigenmodes of a plate on sparse storage, p = 10 and 20 modes:
// subspace iteration (SPRSIT) with the settings of the buckling run; the
// buckling run's Lanczos (lanczosRun: the first pass MAXLAN = 2p + 12 steps,
// further passes while fewer than p pairs pass); truncated Lanczos
// (SPRLAN) in one pass of MAXLAN = 4p; the buckling run's Lanczos on
// skyline storage (LANCZ2 and its further passes), the nodes renumbered as
// the skyline run does; and, when Spectra and CHOLMOD are
// installed, Spectra's symmetric Lanczos (implicit restarts) on the same
// operator L^-1 KG L^-T with K = L L^T factorised by CHOLMOD.
//
// Model: a structured mesh of n x n nodes 100 mm apart, each square split
// into two DKT triangles, 3 DOFs per node (w, dw/dx, dw/dy), simply
// supported (w = 0 along the four edges). K is the DKT bending stiffness;
// KG the geometric stiffness of uniform biaxial compression with linear
// deflection, t A grad(Li) . grad(Lj) on the deflection DOFs only (zero
// rows for the rotations: infinite eigenvalues). Sizes: Small (about 1e3
// equations) and about 1e5 equations.
//
// Reported per run: the solver time (the only timed part: the numeric
// factorisation, the iteration and the eigenvectors; the orderings and
// symbolic phases are left out on both sides), by the clock and in CPU
// seconds of the solving thread (the figure to compare on a shared
// machine), with the number of the p modes accepted next to it,
// factorisations, operator applications, iterations or Lanczos steps. A
// table per run lists the p eigenvalues, each with its relative gap to the
// nearest other one and, for accepted modes only, the eigenvector residual ||K x - lambda KG x|| / (|lambda|
// ||KG x||); values not accepted are marked. Over the accepted modes only:
// the largest residual and the largest relative difference from the
// subspace eigenvalues (modes accepted by both), next to the time ratio
// subspace / run. Spectra's run reports its time over that of the buckling
// run's Lanczos (spectra_over_lanczos, and _cpu) when both ran.
#include <benchmark/benchmark.h>

#include "solver/elements/plate_bending.h"
#include "solver/linalg/renum.h"
#include "solver/linalg/sparse.h"
#include "solver/solvika.h"
#include "tests/solvika/dkt_grid.h"

#ifdef BRANTEL_HAVE_SPECTRA
#include <Spectra/SymEigsSolver.h>
#include <suitesparse/cholmod.h>
#endif

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
#include <time.h>
#include <utility>
#include <vector>

namespace {

using I32 = std::int32_t;
using I64 = std::int64_t;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// CPU seconds of the calling thread: on a shared machine the solver's own
// work, without the time other programs hold the core.
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// The time of one solver run, by the clock and in CPU.
struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double cpu = threadSeconds();
    double wallSeconds() const { return seconds(wall, Clock::now()); }
    double cpuSeconds() const { return threadSeconds() - cpu; }
};

// ||K x - lambda KG x|| / (|lambda| ||KG x||) of each of the first `modes`
// modes (columns of evec, nq entries each); `products(x, kx, gx)` gives
// K x and KG x on the storage at hand.
template <class Products>
std::vector<double> pencilResiduals(I32 nq, const std::vector<double>& evl, const std::vector<double>& evec,
                                    int modes, Products products)
{
    std::vector<double> kx(nq), gx(nq), out;
    for (int m = 0; m < modes; ++m) {
        products(evec.data() + std::size_t(m) * nq, kx.data(), gx.data());
        double r = 0.0, ng = 0.0;
        for (I32 i = 0; i < nq; ++i) {
            r += std::pow(kx[i] - evl[m] * gx[i], 2);
            ng += gx[i] * gx[i];
        }
        out.push_back(std::sqrt(r) / (std::abs(evl[m]) * std::sqrt(ng)));
    }
    return out;
}

// The solver time of the runs so far, by the clock and in CPU; each run's
// clock time is the benchmark's iteration time.
struct Totals {
    double wall = 0.0;
    double cpu = 0.0;
    void add(benchmark::State& state, const Stopwatch& watch)
    {
        const double s = watch.wallSeconds();
        cpu += watch.cpuSeconds();
        state.SetIterationTime(s);
        wall += s;
    }
};

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
        std::vector<double> w(neq());
        return pencilResiduals(neq(), evl, evec, modes, [&](const double* x, double* kx, double* gx) {
            I32 ierr = 0;
            solvika::SPRPRM(k.data() + neq(), x, kx, w.data(), MSPAR.data(), MTREES.data(), MSIFA.data(), neq(), 1,
                            1, 1, 0, ierr);
            solvika::SPRPRM(g.data() + neq(), x, gx, w.data(), MSPAR.data(), MTREES.data(), MSIFA.data(), neq(), 1,
                            1, 1, 0, ierr);
        });
    }
};

// One solver run: its time (by the clock and in CPU), the `modes`
// eigenvalues, how many of them (the leading ones) were accepted, and the
// residuals of those.
struct Result {
    double seconds = 0.0;
    double cpu = 0.0;
    std::vector<double> evl;
    int accepted = 0;
    std::vector<double> residual;
};

std::map<int, std::unique_ptr<BucklingPlate>>& plates()
{
    static std::map<int, std::unique_ptr<BucklingPlate>> p;
    return p;
}

// Results by grid size and number of modes.
using Key = std::pair<int, int>;

std::map<Key, Result>& subspaceResults()
{
    static std::map<Key, Result> r;
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
Result collect(BucklingPlate& p, int modes, double seconds, double cpu, const std::vector<double>& evl,
               int accepted, const std::vector<double>& evec)
{
    Result r;
    r.seconds = seconds;
    r.cpu = cpu;
    r.evl.assign(evl.begin(), evl.begin() + modes);
    r.accepted = std::clamp(accepted, 0, modes);
    r.residual = p.residuals(evl, evec, r.accepted);
    return r;
}

// Prints the table of one run and sets the counters that hold for every
// solver; against the subspace run when given.
void report(benchmark::State& state, const std::string& run, int n, const Result& r, const Result* subspace)
{
    const int modes = int(r.evl.size());
    std::printf("%s n=%d: %d of %d modes accepted in %.4g s (CPU %.4g s; * not accepted: no residual, left out "
                "of the comparisons)\n",
                run.c_str(), n, r.accepted, modes, r.seconds, r.cpu);
    std::printf("  mode  eigenvalue         relative gap  vector residual\n");
    for (int i = 0; i < modes; ++i) {
        double gap = HUGE_VAL;
        for (int j = 0; j < modes; ++j)
            if (j != i)
                gap = std::min(gap, std::abs(r.evl[i] - r.evl[j]) / std::abs(r.evl[i]));
        if (i < r.accepted)
            std::printf("  %4d  %-17.10g  %12.3e  %15.3e\n", i + 1, r.evl[i], gap, r.residual[i]);
        else
            std::printf("  %4d  %-17.10g  %12.3e  %15s\n", i + 1, r.evl[i], gap, "*");
    }
    state.counters["accepted"] = r.accepted;
    state.counters["modes"] = modes;
    state.counters["cpu_s"] = r.cpu;
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

void BM_Subspace(benchmark::State& state, int n, int modes)
{
    BucklingPlate& p = plate(n);
    const I32 nq = p.neq();
    const I32 k = modes + I32(std::lround(std::pow(double(modes), 0.8))) + 6;
    std::vector<double> a, b, evl(k), rerr(k), evec(std::size_t(nq) * k);
    const I64 lrwa = std::max<I64>(I64(3 * k + nq) * (k + 1), 150) + I64(p.MSPAR[12]) + p.MSPAR[13] + p.MSPAR[16];
    const I64 liwa = I64(nq) + p.MSPAR[13];
    std::vector<double> rwa(lrwa);
    std::vector<I32> iwa(liwa);
    std::array<I32, 6> mop{1, 1, -1, 40, 1, 0};
    std::array<I32, 4> minf{};
    I32 ierr = 0;
    Totals totals;
    for (auto _ : state) {
        p.assemble(a, false);
        p.assemble(b, true);
        std::array<double, 2> tol{1.0e-8, 1.0e-8};
        double shift = 0.0;
        I32 niv = k;
        const Stopwatch watch;
        solvika::SPRSIT(a.data(), b.data(), tol.data(), p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), mop.data(),
                        minf.data(), evl.data(), rerr.data(), evec.data(), rwa.data(), lrwa, iwa.data(), liwa, shift,
                        nq, modes, niv, 0, 0, ierr);
        totals.add(state, watch);
    }
    state.counters["NEQ"] = nq;
    state.counters["ierr"] = ierr;
    state.counters["factorisations"] = 1;
    state.counters["solves"] = double(minf[3]) * k;
    state.counters["B_products"] = double(minf[3] + 1) * k;
    state.counters["iterations"] = minf[3];
    const Result r = collect(p, modes, totals.wall / double(state.iterations()), totals.cpu / double(state.iterations()), evl,
                             minf[0], evec);
    report(state, "SPRSIT", n, r, nullptr);
    subspaceResults()[{n, modes}] = r;
}

std::map<Key, Result>& lanczosRunResults()
{
    static std::map<Key, Result> r;
    return r;
}

// SPRLAN in one pass of `maxlan` steps, or (grow) the buckling run's
// Lanczos starting from `maxlan`.
void BM_Lanczos(benchmark::State& state, int n, int modes, I32 maxlan, bool grow)
{
    BucklingPlate& p = plate(n);
    const I32 nq = p.neq();
    solvika::LanczosPairs pairs;
    std::vector<double> a, b, v(2 * std::size_t(nq));
    const I64 lrwa = std::max<I64>(I64(maxlan + 7) * maxlan, I64(p.MSPAR[13]) + p.MSPAR[16]);
    const I64 liwa = std::max<I64>(nq, I64(p.MSPAR[12]) + 2 * maxlan);
    std::vector<double> rwa(lrwa);
    std::vector<I32> iwa(liwa);
    std::array<I32, 6> mop{1, 1, -1, 1, 2, 1};
    std::array<I32, 10> minf{};
    I32 ierr = 0;
    I32 used = maxlan;
    Totals totals;
    for (auto _ : state) {
        p.assemble(a, false);
        p.assemble(b, true);
        std::array<double, 2> tol{1.0e-8, 1.0e-8};
        double shift = 0.0;
        used = maxlan;
        pairs.EVL.assign(maxlan, 0.0);
        pairs.RERR.assign(maxlan, 0.0);
        pairs.EVEC.assign(std::size_t(nq) * maxlan, 0.0);
        const Stopwatch watch;
        if (grow)
            solvika::lanczosRun(a.data(), b.data(), tol.data(), p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(),
                                mop.data(), minf.data(), pairs, v.data(), rwa.data(), lrwa, iwa.data(), liwa, shift,
                                nq, modes, modes, used, 0, 0, ierr);
        else
            solvika::SPRLAN(a.data(), b.data(), tol.data(), p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(),
                            mop.data(), minf.data(), pairs.EVL.data(), pairs.RERR.data(), pairs.EVEC.data(), v.data(),
                            rwa.data(), lrwa, iwa.data(), liwa, shift, nq, modes, modes, maxlan, 0, 0, ierr);
        totals.add(state, watch);
    }
    state.counters["NEQ"] = nq;
    state.counters["MAXLAN"] = used;
    state.counters["ierr"] = ierr;
    state.counters["factorisations"] = 1;
    // The Lanczos steps; lanczosRun's silent probe for missed vectors of
    // multiple eigenvalues adds up to 8 solves per probe to its time.
    state.counters["solves"] = minf[2];
    state.counters["B_products"] = minf[2];
    state.counters["lanczos_steps"] = minf[2];
    // Vectors come back for the accepted modes only (MINF(5) of them).
    const Result r = collect(p, modes, totals.wall / double(state.iterations()), totals.cpu / double(state.iterations()),
                             pairs.EVL, std::min(minf[0], minf[4]), pairs.EVEC);
    const auto it = subspaceResults().find({n, modes});
    report(state, (grow ? "lanczosRun from MAXLAN=" : "SPRLAN MAXLAN=") + std::to_string(maxlan), n, r,
           it != subspaceResults().end() ? &it->second : nullptr);
    if (grow)
        lanczosRunResults()[{n, modes}] = r;
}

// The same plate on skyline storage as the skyline run numbers it: the
// nodes renumbered by SWSNUM (the run's default), the equations in the new
// node order; K and KG assembled into the profile.
struct SkylinePlate {
    I32 nq = 0;
    std::vector<I32> eq;   // equation of each DOF (3 per node), 0 when fixed
    std::vector<I32> msky; // MSKY(1..nq)
    std::vector<double> k, kg;

    explicit SkylinePlate(BucklingPlate& p)
    {
        const I32 nanod = p.n * p.n;
        const I32 nwork = p.nel() + 4 * nanod + 6 * p.nel() + 2;
        std::vector<I32> work(nwork), mnnn(nanod), byNew(nanod);
        I32 start = 0, percent = 0, ierr = 0;
        solvika::SWSNUM(p.MPELND.data(), p.MELNOD.data(), p.MEXNOD.data(), p.MSC.data(), p.MNDPTR.data(),
                        work.data(), mnnn.data(), nanod, p.nel(), nwork, 0, 0, false, start, percent, ierr);
        if (ierr != 0)
            std::iota(mnnn.begin(), mnnn.end(), 1);
        for (I32 node = 1; node <= nanod; ++node)
            byNew[mnnn[node - 1] - 1] = node;
        eq.assign(3 * std::size_t(nanod), 0);
        for (const I32 node : byNew)
            for (int d = 0; d < 3; ++d)
                if (p.MSC[3 * std::size_t(node - 1) + d] != 0)
                    eq[3 * std::size_t(node - 1) + d] = ++nq;
        std::vector<I32> top(nq + 1);
        std::iota(top.begin(), top.end(), 0);
        for (I32 e = 1; e <= p.nel(); ++e) {
            const auto el = elementEquations(p, e);
            I32 low = nq + 1;
            for (const I32 i : el)
                if (i > 0)
                    low = std::min(low, i);
            for (const I32 i : el)
                if (i > 0)
                    top[i] = std::min(top[i], low);
        }
        msky.resize(nq);
        I32 last = 0;
        for (I32 c = 1; c <= nq; ++c)
            last = msky[c - 1] = last + c - top[c] + 1;
        k = assemble(p, false);
        kg = assemble(p, true);
    }

    std::array<I32, 9> elementEquations(const BucklingPlate& p, I32 e) const
    {
        std::array<I32, 9> el{};
        for (int v = 0; v < 3; ++v) {
            const I32 node = p.MELNOD[std::size_t(p.MPELND[e - 1] - 1 + v)];
            for (int d = 0; d < 3; ++d)
                el[3 * v + d] = eq[3 * std::size_t(node - 1) + d];
        }
        return el;
    }

    std::vector<double> assemble(const BucklingPlate& p, bool geometric) const
    {
        std::vector<double> a(std::size_t(msky[nq - 1]), 0.0);
        for (I32 e = 1; e <= p.nel(); ++e) {
            const double* m = geometric ? p.eg[(e - 1) % 2] : p.ek[(e - 1) % 2];
            const auto el = elementEquations(p, e);
            for (int c = 0; c < 9; ++c)
                for (int r = 0; r < 9; ++r) {
                    const I32 i = el[r], j = el[c];
                    if (i > 0 && j > 0 && i <= j)
                        a[std::size_t(msky[j - 1] - (j - i) - 1)] += m[r + 9 * c];
                }
        }
        return a;
    }

    // ||K x - lambda KG x|| / (|lambda| ||KG x||) of each of the first
    // `modes` modes.
    std::vector<double> residuals(const std::vector<double>& evl, const std::vector<double>& evec, int modes) const
    {
        std::vector<double> w(nq);
        return pencilResiduals(nq, evl, evec, modes, [&](const double* x, double* kx, double* gx) {
            I32 ierr = 0;
            solvika::PRESKY(k.data(), x, kx, w.data(), msky.data(), nq, 1, 1, 1, -1, ierr);
            solvika::PRESKY(kg.data(), x, gx, w.data(), msky.data(), nq, 1, 1, 1, -1, ierr);
        });
    }
};

std::map<Key, Result>& skylineRunResults()
{
    static std::map<Key, Result> r;
    return r;
}

// The buckling run's Lanczos on skyline storage (LANCZ2 and its further
// passes), with the run's settings and work arrays.
void BM_SkylineLanczosRun(benchmark::State& state, int n, int modes)
{
    const SkylinePlate sky(plate(n));
    const I32 nq = sky.nq;
    const I32 maxlan = 2 * modes + 12;
    solvika::LanczosPairs pairs;
    std::vector<double> a, b, v(2 * std::size_t(nq));
    const I64 lrwa = I64(maxlan + 7) * maxlan, liwa = 2 * I64(maxlan);
    std::vector<double> rwa(lrwa);
    std::vector<I32> iwa(liwa);
    std::array<I32, 6> mop{1, 1, -1, 1, 2, 1};
    std::array<I32, 10> minf{};
    I32 ierr = 0, used = maxlan;
    Totals totals;
    for (auto _ : state) {
        a = sky.k;
        b = sky.kg;
        std::array<double, 2> tol{1.0e-8, 1.0e-8};
        double shift = 0.0;
        used = maxlan;
        const Stopwatch watch;
        solvika::lanczosRun(a.data(), b.data(), tol.data(), sky.msky.data(), mop.data(), minf.data(), pairs, v.data(),
                            rwa.data(), lrwa, iwa.data(), liwa, shift, nq, modes, modes, used, 0, 0, ierr);
        totals.add(state, watch);
    }
    state.counters["NEQ"] = nq;
    state.counters["MAXLAN"] = used;
    state.counters["ierr"] = ierr;
    state.counters["factor_entries"] = double(sky.msky[nq - 1]);
    state.counters["lanczos_steps"] = minf[2];
    Result r;
    r.seconds = totals.wall / double(state.iterations());
    r.cpu = totals.cpu / double(state.iterations());
    r.evl.assign(pairs.EVL.begin(), pairs.EVL.begin() + modes);
    r.accepted = std::clamp(std::min(minf[0], minf[4]), 0, modes);
    r.residual = sky.residuals(pairs.EVL, pairs.EVEC, r.accepted);
    const auto it = subspaceResults().find({n, modes});
    report(state, "skyline lanczosRun from MAXLAN=" + std::to_string(maxlan), n, r,
           it != subspaceResults().end() ? &it->second : nullptr);
    skylineRunResults()[{n, modes}] = r;
}

#ifdef BRANTEL_HAVE_SPECTRA
// H = L^-1 KG L^-T with K = P^T L L^T P factorised by CHOLMOD (the lower
// factor of K is P^T L): y = L^-1 P KG P^T L^-T x.
class CholmodOperator {
public:
    using Scalar = double;

    CholmodOperator(cholmod_factor* factor, cholmod_sparse* kg, cholmod_common* c, I32 n)
        : m_factor(factor), m_kg(kg), m_c(c), m_n(n)
    {
        m_x = cholmod_allocate_dense(n, 1, n, CHOLMOD_REAL, c);
        m_y = cholmod_allocate_dense(n, 1, n, CHOLMOD_REAL, c);
    }
    ~CholmodOperator()
    {
        cholmod_free_dense(&m_x, m_c);
        cholmod_free_dense(&m_y, m_c);
    }
    Eigen::Index rows() const { return m_n; }
    Eigen::Index cols() const { return m_n; }

    // x := P^T L^-T x in place.
    void upper(double* x) const
    {
        std::copy(x, x + m_n, static_cast<double*>(m_x->x));
        cholmod_dense* t = cholmod_solve(CHOLMOD_Lt, m_factor, m_x, m_c);
        cholmod_dense* u = cholmod_solve(CHOLMOD_Pt, m_factor, t, m_c);
        std::copy(static_cast<double*>(u->x), static_cast<double*>(u->x) + m_n, x);
        cholmod_free_dense(&t, m_c);
        cholmod_free_dense(&u, m_c);
    }

    void perform_op(const double* xin, double* yout) const
    {
        std::copy(xin, xin + m_n, yout);
        upper(yout);
        std::copy(yout, yout + m_n, static_cast<double*>(m_x->x));
        double one[2] = {1.0, 0.0}, zero[2] = {0.0, 0.0};
        cholmod_sdmult(m_kg, 0, one, zero, m_x, m_y, m_c);
        cholmod_dense* t = cholmod_solve(CHOLMOD_P, m_factor, m_y, m_c);
        cholmod_dense* u = cholmod_solve(CHOLMOD_L, m_factor, t, m_c);
        std::copy(static_cast<double*>(u->x), static_cast<double*>(u->x) + m_n, yout);
        cholmod_free_dense(&t, m_c);
        cholmod_free_dense(&u, m_c);
        ++applications;
    }

    mutable long applications = 0;

private:
    cholmod_factor* m_factor;
    cholmod_sparse* m_kg;
    cholmod_common* m_c;
    I32 m_n;
    cholmod_dense* m_x;
    cholmod_dense* m_y;
};

// The upper triangle of K or KG as a CHOLMOD matrix (stype 1), from the
// element matrices and the equation numbers of the plate.
cholmod_sparse* cholmodMatrix(const BucklingPlate& p, bool geometric, cholmod_common* c)
{
    std::vector<std::array<I32, 9>> eqs;
    const I32 nq = p.neq();
    cholmod_triplet* t = cholmod_allocate_triplet(nq, nq, std::size_t(p.nel()) * 45, 1, CHOLMOD_REAL, c);
    auto* ti = static_cast<int*>(t->i);
    auto* tj = static_cast<int*>(t->j);
    auto* tx = static_cast<double*>(t->x);
    std::size_t nz = 0;
    for (I32 e = 1; e <= p.nel(); ++e) {
        const double* m = geometric ? p.eg[(e - 1) % 2] : p.ek[(e - 1) % 2];
        I32 eq[9];
        for (int k = 0; k < 3; ++k) {
            const I32 node = p.MELNOD[std::size_t(p.MPELND[e - 1] - 1 + k)];
            for (int d = 0; d < 3; ++d)
                eq[3 * k + d] = p.MDOFEQ[std::size_t(p.MNDPTR[node - 1] - 1 + d)];
        }
        for (int c2 = 0; c2 < 9; ++c2)
            for (int r = 0; r < 9; ++r) {
                const I32 i = eq[r], j = eq[c2];
                if (i <= 0 || j <= 0 || i > j || m[r + 9 * c2] == 0.0)
                    continue;
                ti[nz] = i - 1;
                tj[nz] = j - 1;
                tx[nz] = m[r + 9 * c2];
                ++nz;
            }
    }
    t->nnz = nz;
    cholmod_sparse* s = cholmod_triplet_to_sparse(t, nz, c);
    cholmod_free_triplet(&t, c);
    return s;
}

void BM_Spectra(benchmark::State& state, int n, int modes)
{
    BucklingPlate& p = plate(n);
    const I32 nq = p.neq();
    cholmod_common c;
    cholmod_start(&c);
    cholmod_sparse* k = cholmodMatrix(p, false, &c);
    cholmod_sparse* kg = cholmodMatrix(p, true, &c);
    c.supernodal = CHOLMOD_SUPERNODAL;
    cholmod_factor* factor = cholmod_analyze(k, &c);
    const int ncv = int(state.range(0));
    std::vector<double> evl(modes), evec(std::size_t(nq) * modes);
    int accepted = 0;
    long applications = 0, restarts = 0;
    Totals totals;
    for (auto _ : state) {
        const Stopwatch watch;
        cholmod_factorize(k, factor, &c);
        CholmodOperator op(factor, kg, &c, nq);
        Spectra::SymEigsSolver<CholmodOperator> eigs(op, modes, ncv);
        eigs.init();
        eigs.compute(Spectra::SortRule::LargestMagn, 1000, 1e-10, Spectra::SortRule::LargestMagn);
        accepted = eigs.info() == Spectra::CompInfo::Successful ? modes : 0;
        const Eigen::VectorXd theta = eigs.eigenvalues();
        Eigen::MatrixXd y = eigs.eigenvectors();
        for (int m = 0; m < modes && m < theta.size(); ++m) {
            evl[std::size_t(m)] = 1.0 / theta[m];
            op.upper(y.col(m).data());
            std::copy(y.col(m).data(), y.col(m).data() + nq, evec.data() + std::size_t(m) * nq);
        }
        totals.add(state, watch);
        applications = op.applications;
        restarts = eigs.num_iterations();
    }
    state.counters["factor_entries"] = double(factor->is_super ? factor->xsize : factor->nzmax);
    cholmod_free_factor(&factor, &c);
    cholmod_free_sparse(&k, &c);
    cholmod_free_sparse(&kg, &c);
    cholmod_finish(&c);
    state.counters["NEQ"] = nq;
    state.counters["ncv"] = ncv;
    state.counters["factorisations"] = 1;
    state.counters["solves"] = double(applications);
    state.counters["restarts"] = double(restarts);
    const Result r = collect(p, modes, totals.wall / double(state.iterations()), totals.cpu / double(state.iterations()), evl,
                             accepted, evec);
    const auto it = subspaceResults().find({n, modes});
    report(state, "Spectra+CHOLMOD ncv=" + std::to_string(ncv), n, r,
           it != subspaceResults().end() ? &it->second : nullptr);
    if (const auto l = lanczosRunResults().find({n, modes}); l != lanczosRunResults().end()) {
        state.counters["spectra_over_lanczos"] = r.seconds / l->second.seconds;
        state.counters["spectra_over_lanczos_cpu"] = r.cpu / l->second.cpu;
        std::printf("  Spectra+CHOLMOD time / buckling run's Lanczos time: %.3f (CPU %.3f)\n",
                    r.seconds / l->second.seconds, r.cpu / l->second.cpu);
    }
    if (const auto l = skylineRunResults().find({n, modes}); l != skylineRunResults().end()) {
        state.counters["spectra_over_skyline"] = r.seconds / l->second.seconds;
        state.counters["spectra_over_skyline_cpu"] = r.cpu / l->second.cpu;
        std::printf("  Spectra+CHOLMOD time / skyline run's Lanczos time: %.3f (CPU %.3f)\n",
                    r.seconds / l->second.seconds, r.cpu / l->second.cpu);
    }
}
#endif

// The runs of one grid for `modes` modes; names without a modes suffix are
// those of 10 modes.
void registerSize(const char* label, int n, int modes)
{
    const std::string s = std::string(label) + (modes == 10 ? "" : "_" + std::to_string(modes) + "modes");
    auto reg = [](const std::string& name, auto fn) {
        benchmark::RegisterBenchmark(name.c_str(), fn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
    };
    reg("BM_BucklingSubspace_" + s, [n, modes](benchmark::State& st) { BM_Subspace(st, n, modes); });
    // The buckling run's Lanczos, then one pass that accepts all modes.
    reg("BM_BucklingLanczosRun_" + s,
        [n, modes](benchmark::State& st) { BM_Lanczos(st, n, modes, 2 * modes + 12, true); });
    reg("BM_BucklingLanczos_" + s + "/MAXLAN:" + std::to_string(4 * modes),
        [n, modes](benchmark::State& st) { BM_Lanczos(st, n, modes, 4 * modes, false); });
    reg("BM_BucklingSkylineLanczosRun_" + s,
        [n, modes](benchmark::State& st) { BM_SkylineLanczosRun(st, n, modes); });
#ifdef BRANTEL_HAVE_SPECTRA
    // Spectra's advice is ncv >= 2 nev; its time grows with ncv here.
    for (const int ncv : {2 * modes + 1, 3 * modes})
        benchmark::RegisterBenchmark(("BM_BucklingSpectra_" + s).c_str(),
                                     [n, modes](benchmark::State& st) { BM_Spectra(st, n, modes); })
            ->Arg(ncv)
            ->ArgName("ncv")
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
#endif
}

const bool registered = [] {
    for (const int modes : {10, 20}) {
        registerSize("Small", 20, modes);  // 1.1e3 equations
        registerSize("1e5", 183, modes);   // 9.9e4 equations
    }
    return true;
}();

} // namespace

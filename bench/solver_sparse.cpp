// Sparse supernodal solver on a plate-bending pattern: a structured mesh of
// n x n nodes, each square split into two DKT triangles, 3 DOFs per node,
// clamped along one edge. Sizes about 1e4, 1e5 and 1e6 equations.
//
// Times: the symbolic phase (SPSPRP to SPRFIN, with minimum degree),
// SPRFC1, SPRFS1 + SPRBS1, and at the smallest size SKYSOL on the same model
// after SWS renumbering. The solve reports the normwise backward error
// ||A x - b|| / (||A|| ||x|| + ||b||) (infinity norms) and the peak heap use
// of the whole run: symbolic phase, assembled matrix, factorisation and
// solve, counted by the program's allocator (bench/heap_peak.h).
//
// When CHOLMOD is linked (BRANTEL_HAVE_CHOLMOD), its supernodal LL^T runs on
// the same matrix (lower triangle, its own nonzeros only) with our ordering
// given and with its default ordering, single-threaded on the optimised
// BLAS. Its peak heap use (input matrix, analysis, factorisation and solve)
// is counted by the same allocator. Each comparison prints, ours / CHOLMOD:
//   ratio_time            factorisation + solve
//   ratio_time_symbolic   the same with our symbolic phase and its analysis
//   ratio_factor_padded   MSPAR(16) against its stored factor (L->xsize)
//   ratio_factor_nonzero  MSPAR(16) against its nonzeros of L (lnz)
//   ratio_peak            peak heap use against peak heap use
// and CHOLMOD's own analysis, factorisation and solve times.
#include <benchmark/benchmark.h>

#include "bench/heap_peak.h"
#include "solver/solvika.h"
#include "solver/elements/plate_bending.h"
#include "tests/solvika/dkt_grid.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <numeric>
#include <thread>
#include <vector>

#ifdef BRANTEL_HAVE_CHOLMOD
#include <dlfcn.h>
#include <suitesparse/cholmod.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#endif

namespace {

using I32 = std::int32_t;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// The DKT grid, clamped along the edge y = 0 (only `ek` is used here).
struct Plate : solvika::test::DktGrid {
    std::vector<I32> iwork;
    std::vector<double> SM, rwork, b;
    double symbolicSeconds = 0, factorSeconds = 0, solveSeconds = 0;
    // Heap bytes held after the preparation, and the peak of the whole run
    // (preparation, factorisation, solve) as far as it has been measured.
    double heldBytes = 0, peakBytes = 0;

    explicit Plate(int nodes) : DktGrid(nodes, [nodes](int node, int) { return node <= nodes ? 0 : 1; }) {}

    // The whole symbolic phase with minimum degree.
    void symbolic()
    {
        if (const I32 ierr = DktGrid::symbolic(); ierr != 0)
            std::fprintf(stderr, "symbolic phase failed: %d\n", ierr);
    }

    // The assembled matrix: NEQ leading values, then the packed trapezoids.
    std::vector<double> assembled() const
    {
        std::vector<double> a(std::size_t(neq()) + MSPAR[15], 0.0);
        DktGrid::assemble(a.data(), false);
        return a;
    }

    // Assembles over SM in place (a factor there is lost).
    void assemble()
    {
        SM.assign(std::size_t(neq()) + MSPAR[15], 0.0);
        DktGrid::assemble(SM.data(), false);
    }

    void prepare()
    {
        const bench::HeapWindow heap;
        const auto t0 = Clock::now();
        symbolic();
        symbolicSeconds = seconds(t0, Clock::now());
        iwork.assign(std::max(MSPAR[12], MSPAR[13] + 1), 0);
        rwork.assign(std::max(MSPAR[13], MSPAR[16]), 0.0);
        b.assign(neq(), 0.0);
        for (I32 d = 0; d < MPAR[2]; d += 3)  // unit lateral load at every free node
            if (MDOFEQ[d] > 0)
                b[MDOFEQ[d] - 1] = 1.0;
        assemble();
        heldBytes = heap.held();
        peakBytes = heap.peak();
    }

    // A later step of the run that needed `extra` bytes above what the
    // preparation holds.
    void step(double extra) { peakBytes = std::max(peakBytes, heldBytes + extra); }

    // Normwise backward error of x for A x = b in infinity norms,
    // ||A x - b|| / (||A|| ||x|| + ||b||): the residual scaled by what a
    // backward-stable solver can be held to. The factor in SM stays.
    double backwardError(const double* x)
    {
        std::vector<double> a = assembled();
        const I32 nq = neq();
        std::vector<double> ax(nq), w(nq), ones(nq, 1.0), rows(nq);
        I32 ierr = 0;
        solvika::SPRPRM(a.data() + nq, x, ax.data(), w.data(), MSPAR.data(), MTREES.data(), MSIFA.data(), nq, 1, 1,
                        1, 0, ierr);
        // ||A|| is the largest row sum of |A|: |A| times a vector of ones.
        for (double& v : a)
            v = std::abs(v);
        solvika::SPRPRM(a.data() + nq, ones.data(), rows.data(), w.data(), MSPAR.data(), MTREES.data(),
                        MSIFA.data(), nq, 1, 1, 1, 0, ierr);
        // Largest magnitudes; a NaN stays NaN rather than being passed over.
        auto grow = [](double& m, double v) {
            if (!(std::abs(v) <= m))
                m = std::abs(v);
        };
        double r = 0, na = 0, nx = 0, nb = 0;
        for (I32 i = 0; i < nq; ++i) {
            grow(r, ax[i] - b[i]);
            grow(na, rows[i]);
            grow(nx, x[i]);
            grow(nb, b[i]);
        }
        return r / (na * nx + nb);
    }
};

std::map<int, std::unique_ptr<Plate>>& plates()
{
    static std::map<int, std::unique_ptr<Plate>> p;
    return p;
}

Plate& plate(int n)
{
    auto& p = plates()[n];
    if (!p) {
        plates().clear();  // one size at a time keeps the memory bounded
        auto q = std::make_unique<Plate>(n);
        q->prepare();
        return *(plates()[n] = std::move(q));
    }
    return *p;
}

void describe(benchmark::State& state, Plate& p)
{
    state.counters["NEQ"] = p.neq();
    state.counters["NSUP"] = p.MSPAR[10];
    state.counters["factor_entries"] = p.MSPAR[15];
    state.counters["factor_flops"] = p.stats[2];
}

void BM_Symbolic(benchmark::State& state, int n)
{
    Plate& p = plate(n);
    double total = 0;
    for (auto _ : state) {
        Plate q(n);
        const auto t0 = Clock::now();
        q.symbolic();
        const double s = seconds(t0, Clock::now());
        state.SetIterationTime(s);
        total += s;
    }
    p.symbolicSeconds = total / double(state.iterations());
    describe(state, p);
}

void BM_Factor(benchmark::State& state, int n)
{
    Plate& p = plate(n);
    double tol[3] = {1e-10, 0, 0};
    I32 ierr = 0;
    double total = 0;
    for (auto _ : state) {
        p.assemble();  // restore the assembled values, untimed
        const bench::HeapWindow heap;
        const auto t0 = Clock::now();
        solvika::SPRFC1(p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), p.SM.data(), tol, p.iwork.data(),
                        p.rwork.data(), 0, ierr);
        const double s = seconds(t0, Clock::now());
        p.step(heap.peak());
        state.SetIterationTime(s);
        total += s;
    }
    p.factorSeconds = total / double(state.iterations());
    describe(state, p);
    state.counters["GFlops"] = p.stats[2] / p.factorSeconds * 1e-9;
    state.counters["symbolic_s"] = p.symbolicSeconds;
    state.counters["ierr"] = ierr;
}

// Stop latency: a second thread sets the solver's stop request half-way
// through SPRFC1 (by the factorisation time measured first); the time
// counted is from setting the request to SPRFC1's return. Counters:
// stop_ms (mean of the iterations) and stopped (1 when every iteration
// ended early).
void BM_StopLatency(benchmark::State& state, int n)
{
    Plate& p = plate(n);
    double tol[3] = {1e-10, 0, 0};
    I32 ierr = 0;
    p.assemble();
    auto t0 = Clock::now();
    solvika::SPRFC1(p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), p.SM.data(), tol, p.iwork.data(),
                    p.rwork.data(), 0, ierr);
    const auto half = std::chrono::duration_cast<Clock::duration>((Clock::now() - t0) / 2);
    double total = 0;
    bool allStopped = true;
    for (auto _ : state) {
        p.assemble();
        solvika::setCancelRequest(false);
        std::atomic<bool> started{false};
        Clock::time_point flagged;
        std::thread stopper([&] {
            while (!started.load())
                std::this_thread::yield();
            std::this_thread::sleep_for(half);
            flagged = Clock::now();
            solvika::setCancelRequest(true);
        });
        bool stopped = false;
        started.store(true);
        try {
            solvika::SPRFC1(p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), p.SM.data(), tol, p.iwork.data(),
                            p.rwork.data(), 0, ierr);
        } catch (const solvika::RunCancelled&) {
            stopped = true;
        }
        const auto returned = Clock::now();
        stopper.join();
        solvika::setCancelRequest(false);
        allStopped = allStopped && stopped;
        const double s = stopped ? seconds(flagged, returned) : 0.0;
        state.SetIterationTime(s);
        total += s;
    }
    describe(state, p);
    state.counters["stop_ms"] = 1e3 * total / double(state.iterations());
    state.counters["stopped"] = allStopped ? 1 : 0;
}

void BM_Solve(benchmark::State& state, int n)
{
    Plate& p = plate(n);
    if (p.factorSeconds == 0) {
        state.SkipWithError("run the factorisation first");
        return;
    }
    std::vector<double> x;
    I32 ierr = 0;
    double total = 0;
    for (auto _ : state) {
        const bench::HeapWindow heap;
        x = p.b;
        const auto t0 = Clock::now();
        solvika::SPRFS1(p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), p.SM.data(), x.data(), p.neq(), 1,
                        p.iwork.data(), p.rwork.data(), 0, ierr);
        solvika::SPRBS1(p.MSPAR.data(), p.MTREES.data(), p.MSIFA.data(), p.SM.data(), x.data(), p.neq(), 1,
                        p.iwork.data(), p.rwork.data(), 0, ierr);
        const double s = seconds(t0, Clock::now());
        p.step(heap.peak());
        state.SetIterationTime(s);
        total += s;
    }
    p.solveSeconds = total / double(state.iterations());
    describe(state, p);
    state.counters["peak_bytes"] = p.peakBytes;
    state.counters["backward_error"] = p.backwardError(x.data());
}

// SKYSOL on the same model after SWS renumbering.
void BM_Skyline(benchmark::State& state, int n)
{
    Plate p(n);
    std::vector<I32> mpar(50, 0), work(n * n), mdofeq(3 * n * n), mnnn(n * n);
    {
        const I32 nwork = p.nel() + 4 * n * n + p.nel() * 6 + 1;
        std::vector<I32> w(nwork);
        I32 start = 0, percent = 0, ierr = 0;
        solvika::SWSNUM(p.MPELND.data(), p.MELNOD.data(), p.MEXNOD.data(), p.MSC.data(), p.MNDPTR.data(),
                        w.data(), mnnn.data(), n * n, p.nel(), nwork, 0, 0, false, start, percent, ierr);
        if (ierr != 0)
            std::iota(mnnn.begin(), mnnn.end(), 1);
        state.counters["sws_percent"] = percent;
    }
    mpar[0] = n * n;
    mpar[1] = p.nel();
    mpar[2] = 3 * n * n;
    I32 ierr = 0;
    std::vector<I32> msky(3 * n * n);
    solvika::PRASSX(p.MNDPTR.data(), p.MEXNOD.data(), p.MPELND.data(), p.MELNOD.data(), p.MSC.data(),
                    p.MPMCEQ.data(), p.MCQDOF.data(), mnnn.data(), 0, mpar.data(), work.data(), mdofeq.data(),
                    msky.data(), ierr);
    const I32 neq = mpar[10];
    std::vector<double> sysk(mpar[11]), rhs(neq, 1.0);
    std::vector<I32> meleq(9);
    I32 ineg = 0;
    for (auto _ : state) {
        std::fill(sysk.begin(), sysk.end(), 0.0);
        for (I32 e = 1; e <= p.nel(); ++e)
            solvika::ADDEM(p.ek[(e - 1) % 2], p.CQCOEF.data(), mpar.data(), p.MNDPTR.data(), mdofeq.data(),
                           p.MPELND.data(), p.MELNOD.data(), p.MPMCEQ.data(), p.MCQDOF.data(), msky.data(), e, 9, 0,
                           0, sysk.data(), nullptr, meleq.data(), ierr);
        const auto t0 = Clock::now();
        solvika::SKYSOL(sysk.data(), rhs.data(), msky.data(), 1e-10, neq, neq, 1, 0, 3, ineg, ierr);
        state.SetIterationTime(seconds(t0, Clock::now()));
    }
    state.counters["NEQ"] = neq;
    state.counters["profile"] = mpar[11];
    state.counters["ierr"] = ierr;
}

#ifdef BRANTEL_HAVE_CHOLMOD
// CHOLMOD's numeric phase opens OpenMP regions of a fixed thread count and
// the BLAS starts its own threads; both read their limits from the
// environment when they load, before this program runs. So the program
// starts itself again once with the limits set.
const bool singleThreaded = [] {
    if (std::getenv("OMP_THREAD_LIMIT"))
        return true;
    setenv("OMP_THREAD_LIMIT", "1", 1);
    setenv("OMP_NUM_THREADS", "1", 1);
    setenv("OPENBLAS_NUM_THREADS", "1", 1);
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    for (std::size_t b = 0; b < all.size();) {
        const std::size_t e = all.find('\0', b);
        args.push_back(all.substr(b, e - b));
        b = e == std::string::npos ? all.size() : e + 1;
    }
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (!args.empty())
        execv("/proc/self/exe", argv.data());
    return false;
}();

// Calls f(column, row, value) for every nonzero of the lower triangle of the
// assembled matrix `values` (and every diagonal entry), column by column,
// 0-based in our equation order. The packed trapezoids also hold the factor's fill,
// zero before the factorisation; those are not part of A.
template <class F>
void forEachLower(const Plate& p, const std::vector<double>& values, F f)
{
    const I32 neq = p.neq(), nsup = p.MSPAR[10];
    const I32* first = p.MTREES.data();
    const I32* rptr = p.MTREES.data() + 3 * nsup + 3;
    const I32* vst = p.MSIFA.data() + p.MSPAR[14];
    for (I32 s = 0; s < nsup; ++s) {
        const long long r = rptr[s + 1] - rptr[s];
        const double* v = values.data() + neq + vst[s] - 1;
        const I32* rows = p.MSIFA.data() + rptr[s] - 1;
        for (I32 j = 0; j < first[s + 1] - first[s]; ++j)
            for (long long i = j; i < r; ++i) {
                const double val = v[j * r - (long long)j * (j - 1) / 2 + (i - j)];
                if (val != 0.0 || i == j)
                    f(first[s] - 1 + j, rows[i] - 1, val);
            }
    }
}

// CHOLMOD on our matrix, lower triangle in our equation order.
void BM_Cholmod(benchmark::State& state, int n, bool ourOrder)
{
    Plate& p = plate(n);
    // The optimised BLAS held to one thread, as our side (every OpenBLAS
    // instance that the libraries pulled in).
    if (void* f = dlsym(RTLD_DEFAULT, "omp_set_num_threads"))
        reinterpret_cast<void (*)(int)>(f)(1);
    for (const char* lib : {"libblas.so.3", "libopenblas.so.0", "liblapack.so.3"})
        if (void* h = dlopen(lib, RTLD_NOW | RTLD_NOLOAD)) {
            if (void* f = dlsym(h, "openblas_set_num_threads"))
                reinterpret_cast<void (*)(int)>(f)(1);
            dlclose(h);
        }
    const std::vector<double> values = p.assembled();  // our factor in p.SM stays
    std::size_t nnz = 0;
    forEachLower(p, values, [&nnz](I32, I32, double) { ++nnz; });

    const bench::HeapWindow heap;  // everything CHOLMOD holds from here on
    cholmod_common c;
    cholmod_start(&c);
    c.supernodal = CHOLMOD_SUPERNODAL;
    if (ourOrder) {
        c.nmethods = 1;
        c.method[0].ordering = CHOLMOD_NATURAL;
        c.postorder = 1;
    }
    const I32 neq = p.neq();
    cholmod_sparse* a = cholmod_allocate_sparse(neq, neq, nnz, 1, 1, -1, CHOLMOD_REAL, &c);
    auto* ap = static_cast<int*>(a->p);
    auto* ai = static_cast<int*>(a->i);
    auto* ax = static_cast<double*>(a->x);
    std::size_t k = 0;
    I32 column = -1;
    forEachLower(p, values, [&](I32 col, I32 row, double val) {
        while (column < col)
            ap[++column] = int(k);
        ai[k] = row;
        ax[k++] = val;
    });
    while (column < neq)
        ap[++column] = int(k);
    cholmod_dense* bb = cholmod_zeros(neq, 1, CHOLMOD_REAL, &c);
    std::copy(p.b.begin(), p.b.end(), static_cast<double*>(bb->x));

    const auto t0 = Clock::now();
    cholmod_factor* l = cholmod_analyze(a, &c);
    const double analyse = seconds(t0, Clock::now());
    double fac = 0, sol = 0;
    cholmod_dense* x = nullptr;
    for (auto _ : state) {
        const auto t1 = Clock::now();
        cholmod_factorize(a, l, &c);
        const auto t2 = Clock::now();
        if (x)
            cholmod_free_dense(&x, &c);
        x = cholmod_solve(CHOLMOD_A, l, bb, &c);
        const auto t3 = Clock::now();
        fac += seconds(t1, t2);
        sol += seconds(t2, t3);
        state.SetIterationTime(seconds(t1, t3));
    }
    const double peak = heap.peak();
    fac /= double(state.iterations());
    sol /= double(state.iterations());
    Dl_info info{};
    void* gemm = dlsym(RTLD_DEFAULT, "dgemm_");
    if (gemm && dladdr(gemm, &info) && info.dli_fname) {
        char real[4096];
        state.SetLabel(std::string("dgemm from ") + (realpath(info.dli_fname, real) ? real : info.dli_fname));
    }
    state.counters["NEQ"] = neq;
    state.counters["chol_A_entries"] = double(nnz);
    state.counters["chol_factor_padded"] = double(l->xsize);
    state.counters["chol_factor_nonzero"] = c.lnz;
    state.counters["chol_flops"] = c.fl;
    state.counters["chol_analyse_s"] = analyse;
    state.counters["chol_factorise_s"] = fac;
    state.counters["chol_solve_s"] = sol;
    state.counters["chol_peak_bytes"] = peak;
    state.counters["ratio_factor_padded"] = double(p.MSPAR[15]) / double(l->xsize);
    state.counters["ratio_factor_nonzero"] = double(p.MSPAR[15]) / c.lnz;
    if (p.factorSeconds > 0 && p.solveSeconds > 0) {
        const double ours = p.factorSeconds + p.solveSeconds;
        state.counters["ratio_time"] = ours / (fac + sol);
        state.counters["ratio_time_symbolic"] = (p.symbolicSeconds + ours) / (analyse + fac + sol);
        state.counters["ratio_peak"] = p.peakBytes / peak;
    }
    if (x) {
        const auto* xv = static_cast<const double*>(x->x);
        const std::vector<double> xs(xv, xv + neq);
        cholmod_free_dense(&x, &c);
        state.counters["chol_backward_error"] = p.backwardError(xs.data());
    }
    cholmod_free_dense(&bb, &c);
    cholmod_free_factor(&l, &c);
    cholmod_free_sparse(&a, &c);
    cholmod_finish(&c);
}
#endif

// Registration: per size the factorisation runs before the solve and the
// comparisons, which read its times.
void registerSize(const char* tag, int n, int iterations)
{
    auto reg = [&](const std::string& name, auto fn) {
        auto* b = benchmark::RegisterBenchmark(name.c_str(), fn);
        b->UseManualTime()->Unit(benchmark::kMillisecond);
        if (iterations > 0)
            b->Iterations(iterations);
    };
    const std::string t(tag);
    reg("BM_SparseSymbolic_" + t, [n](benchmark::State& s) { BM_Symbolic(s, n); });
    reg("BM_SparseFactor_" + t, [n](benchmark::State& s) { BM_Factor(s, n); });
    reg("BM_SparseSolve_" + t, [n](benchmark::State& s) { BM_Solve(s, n); });
    reg("BM_SparseStopLatency_" + t, [n](benchmark::State& s) { BM_StopLatency(s, n); });
#ifdef BRANTEL_HAVE_CHOLMOD
    reg("BM_CholmodOurOrder_" + t, [n](benchmark::State& s) { BM_Cholmod(s, n, true); });
    reg("BM_CholmodDefault_" + t, [n](benchmark::State& s) { BM_Cholmod(s, n, false); });
#endif
}

const bool registered = [] {
    registerSize("Small", 58, 0);
    auto* sky = benchmark::RegisterBenchmark("BM_Skyline_Small", [](benchmark::State& s) { BM_Skyline(s, 58); });
    sky->UseManualTime()->Unit(benchmark::kMillisecond);
    registerSize("Medium", 183, 3);
    registerSize("Large", 578, 1);
    return true;
}();

} // namespace

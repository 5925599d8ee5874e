// The run sequence of the membrane and plate-bending entry points.
#include "solver/analysis/staticrun.h"
#include "solver/linalg/cancel.h"

#include "solver/analysis/check.h"
#include "solver/analysis/eldata.h"
#include "solver/analysis/element_steps.h"
#include "solver/analysis/errmsg.h"
#include "solver/analysis/runprint.h"
#include "solver/analysis/setup.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/fwrite.h"
#include "solver/linalg/skyline.h"
#include "solver/linalg/sparse.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>
#include <vector>

namespace solvika {

namespace {

using i32 = std::int32_t;
using i64 = std::int64_t;

constexpr double kPivotTolerance = 1.0e-10;
constexpr double kZeroAngle = 1.0e-8;

const Layout kStorageLine("/ / I12 ' storage locations allocated for stiffness matrix'");

AllocProbe g_probe = nullptr;

// A work array of the run, never empty so that its data pointer is valid. A failed allocation throws std::bad_alloc, which
// the run's frame turns into status -30 with its message and the abort path. A stop request is read while it is zeroed.
template <class T>
void allocate(std::vector<T>& v, i64 size, const char* name) {
    if (g_probe != nullptr && g_probe(name)) throw std::bad_alloc();
    assignStoppable(v, std::size_t(std::max<i64>(size, 1)));
}

template <class T>
void release(std::vector<T>& v) {
    std::vector<T>().swap(v);
}

// Sets an error code with its values and writes its message.
void fail(RunContext& run, i32 code, i32 s2 = 0, i32 s3 = 0) {
    std::fill(run.status, run.status + kStatusSize, 0);
    run.status[0] = code;
    run.status[1] = s2;
    run.status[2] = s3;
    ERRMSG(run.status, run.lunit);
}

// Keeps the rows of the caller's nodal data that the load and recovery
// steps write before the run is through (row 4 in bending, rows 3 and 4 in
// membrane), and puts them back unless the run completes.
class NodalGuard {
public:
    NodalGuard(double* nodal, i32 nodes, bool bending) : m_nodal(nodal), m_first(bending ? 3 : 2) {
        m_saved.reserve(std::size_t(std::max(nodes, 0)) * std::size_t(4 - m_first));
        for (i32 n = 0; n < nodes; ++n)
            for (i32 r = m_first; r < 4; ++r) m_saved.push_back(nodal[4 * i64(n) + r]);
    }
    ~NodalGuard() {
        if (m_done) return;
        std::size_t k = 0;
        const i32 nodes = i32(m_saved.size() / std::size_t(4 - m_first));
        for (i32 n = 0; n < nodes; ++n)
            for (i32 r = m_first; r < 4; ++r) m_nodal[4 * i64(n) + r] = m_saved[k++];
    }
    NodalGuard(const NodalGuard&) = delete;
    NodalGuard& operator=(const NodalGuard&) = delete;
    void done() { m_done = true; }

private:
    double* m_nodal;
    i32 m_first;
    bool m_done = false;
    std::vector<double> m_saved;
};

} // namespace

void SNGSTS(std::int32_t ierr, std::int32_t equation, const ModelTables& t, const EquationTables& eq,
            std::int32_t lunit, std::int32_t* status) {
    std::fill(status, status + kStatusSize, 0);
    status[0] = -20;
    // Equation numbers are positive: 0 and negative entries of MDOFEQ mark
    // specified and dependent DOFs, which no solver reports.
    if (ierr < -2 && equation > 0) {
        const i32 dof = IFIND(equation, eq.MDOFEQ.data(), t.MPAR[2]);
        if (dof > 0) {
            i32 ldof = 0, node = 0;
            EQNNOD(t.MNDPTR.data(), t.MEXNOD.data(), t.MPAR[0], dof, ldof, node);
            status[0] = -21;
            status[1] = node;
            status[2] = ldof;
        }
    }
    ERRMSG(status, lunit);
}

AllocProbe setAllocProbe(AllocProbe probe) { return std::exchange(g_probe, probe); }

void runStatic(RunContext& run, const StaticModel& m) {
    const i32* key = run.key;
    const i32 lunit = run.lunit;
    i32* status = run.status;
    ModelTables& t = run.tables;
    EquationTables& eq = run.equations;
    float* RSTAT = run.RSTAT.data();
    const auto K = [key](int k) { return key[k - 1]; };
    const i32 print = K(30);

    const float start = CPUSEC(0.0f);
    float ref = start;

    // Echo, checks, tables and equation set-up.
    if (!prepareRun(run, {m.topology, m.nodal, m.fixedDofs, m.prescribedDofs, m.couplings, m.springs, m.bending,
                          false}))
        return;
    RSTAT[19] = CPUSEC(ref);
    ref = CPUSEC(0.0f);
    CHKPNT(key, 3, lunit);

    // Stiffness and loads.
    const bool sparse = K(11) == 2;
    const i32 neq = t.MPAR[10];
    const i64 lenK = sparse ? i64(t.MSPAR[15]) + neq : i64(t.MPAR[11]);
    std::vector<double> SYSK, SYSR, W;
    allocate(SYSK, lenK, "system matrix");
    if (print >= 1) fwrite(lunit, kStorageLine, {lenK});
    allocate(SYSR, neq, "load vector");
    if (!m.bending) allocate(W, 2 * i64(K(2)), "nodal work array");

    CHKPNT(key, 4, lunit);
    setRunPhase(RunPhase::assembling);
    ASMSTF(key, m.topology, m.elementData, m.material, m.nodal, m.springs, SYSK.data(), SYSR.data(), lenK, neq,
           lunit, status, t, eq);
    if (status[0] < 0) return;
    CHKPNT(key, 5, lunit);

    NodalGuard guard(m.nodal, K(2), m.bending);
    std::vector<double> internal;
    if (m.bending)
        BNDLOD(key, m.elementData, m.nodal, m.edgeLoads, SYSR.data(), lunit, status, t, eq);
    else
        MEMLOD(key, m.topology, m.elementData, m.material, m.nodal, m.bodyLoad, m.pointLoads, m.edgeLoads,
               SYSR.data(), W.data(), lunit, status, t, eq, internal);
    if (status[0] < 0) return;
    CHKPNT(key, 6, lunit);
    RSTAT[20] = CPUSEC(ref);
    ref = CPUSEC(0.0f);
    CHKPNT(key, 7, lunit);

    // Solution.
    setRunPhase(RunPhase::factorising);
    if (sparse) {
        std::vector<i32> IWORK;
        std::vector<double> RWORK;
        allocate(IWORK, std::max<i64>(t.MSPAR[12], i64(t.MSPAR[13]) + 1), "sparse work arrays");
        allocate(RWORK, std::max<i64>(t.MSPAR[13], t.MSPAR[16]), "sparse work arrays");
        i32* MSPAR = t.MSPAR.data();
        double TOL[3] = {kPivotTolerance, 0.0, 0.0};
        i32 ierr = 0;
        SPRFC1(MSPAR, eq.MTREES.data(), eq.MSIFA.data(), SYSK.data(), TOL, IWORK.data(), RWORK.data(), lunit, ierr);
        if (ierr < 0) return SNGSTS(ierr, MSPAR[26], t, eq, lunit, status);
        CHKPNT(key, 71, lunit);
        setRunPhase(RunPhase::solving);
        RSTAT[4] = float(MSPAR[25]);
        RSTAT[14] = float(TOL[1]);
        RSTAT[15] = float(TOL[2]);
        SPRFS1(MSPAR, eq.MTREES.data(), eq.MSIFA.data(), SYSK.data(), SYSR.data(), neq, 1, IWORK.data(),
               RWORK.data(), lunit, ierr);
        if (ierr < 0) return fail(run, -20);
        CHKPNT(key, 72, lunit);
        SPRBS1(MSPAR, eq.MTREES.data(), eq.MSIFA.data(), SYSK.data(), SYSR.data(), neq, 1, IWORK.data(),
               RWORK.data(), lunit, ierr);
        if (ierr < 0) return fail(run, -20);
        CHKPNT(key, 73, lunit);
    } else if (neq > 0) {
        // Without equations (an empty model, or every DOF specified) there
        // is nothing to solve, as on the sparse road.
        const i32* MSKY = eq.MSKY.data();
        double diagonal = 0.0;
        for (i32 i = 0; i < neq; ++i) diagonal += SYSK[std::size_t(MSKY[i] - 1)];
        i32 ineg = 0, ierr = 0;
        SKYSOL(SYSK.data(), SYSR.data(), MSKY, kPivotTolerance, neq, neq, 1, lunit, 3, ineg, ierr);
        if (ierr < 0) return SNGSTS(ierr, ineg, t, eq, lunit, status);
        RSTAT[4] = float(ineg);
        // The smallest pivot, sought from the diagonal sum down.
        const double sum = std::abs(diagonal);
        double smallest = sum;
        for (i32 i = 0; i < neq; ++i) smallest = std::min(smallest, std::abs(SYSK[std::size_t(MSKY[i] - 1)]));
        RSTAT[15] = float(smallest > 0.0 ? std::max(sum / smallest, 1.0) : 1.0);
    }
    CHKPNT(key, 8, lunit);
    RSTAT[21] = CPUSEC(ref);
    ref = CPUSEC(0.0f);
    release(SYSK);

    // Expansion to all DOFs and back rotation to global axes.
    const i32 ndof = t.MPAR[2];
    std::vector<double> SV;
    allocate(SV, ndof, "DOF vector");
    CHKPNT(key, 9, lunit);
    EXPSOL(SYSR.data(), t.CQCOEF.data(), t.MPMCEQ.data(), t.MCQDOF.data(), eq.MDOFEQ.data(), 1.0, 1.0, ndof,
           SV.data());
    release(SYSR);
    CHKPNT(key, 10, lunit);
    for (i32 n = 1; n <= K(2); ++n) {
        const double angle = m.nodal[4 * i64(n - 1) + 2];
        if (!(std::abs(angle) > kZeroAngle)) continue;
        const i32 first = t.MNDPTR[std::size_t(n - 1)];
        i32 ierr = 0;
        TRNSV(SV.data() + (first - 1), t.MNDPTR[std::size_t(n)] - first, angle, K(10), 1, lunit, ierr);
        if (ierr < 0) return fail(run, -22, n);
    }

    // Results.
    setRunPhase(RunPhase::stresses);
    const bool selective = K(25) >= 1 || K(26) > 0;
    std::vector<double> copy;
    if (selective) {
        allocate(copy, 4 * i64(K(2)), "nodal copy");
        std::copy(m.nodal, m.nodal + 4 * i64(K(2)), copy.begin());
    }
    if (m.bending)
        BNDRES(key, SV.data(), m.topology, m.elementData, m.springs, m.nodal, m.material, lunit, status, t, run.sums);
    else
        MEMSTR(key, SV.data(), m.topology, m.elementData, m.springs, m.nodal, m.material, W.data(), lunit, status, t,
               internal, run.sums);
    if (status[0] < 0) return;
    CHKPNT(key, 11, lunit);
    STORSL(m.nodal, SV.data(), key, t.MNDPTR.data(), t.MPELND.data(), t.MELNOD.data());
    guard.done();
    CHKPNT(key, 12, lunit);
    if (selective) {
        SELPRT(key, m.printElements, m.elementData, m.printNodes, m.nodal, copy.data(), t, lunit);
        release(copy);
    }

    RSTAT[22] = CPUSEC(ref);
    RSTAT[23] = CPUSEC(start);
    RUNLOG(key, RSTAT, lunit, t, run.sums.load, run.sums.reaction);
}

} // namespace solvika

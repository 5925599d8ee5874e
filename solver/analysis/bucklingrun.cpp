// The run sequence of the buckling entry points.
#include "solver/analysis/buckling.h"
#include "solver/linalg/cancel.h"

#include "solver/analysis/check.h"
#include "solver/analysis/eldata.h"
#include "solver/analysis/element_steps.h"
#include "solver/analysis/errmsg.h"
#include "solver/analysis/runprint.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/eigen.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace solvika
{

namespace
{

using i32 = std::int32_t;
using i64 = std::int64_t;

const Layout kStiffnessLine("/ / I12 ' storage locations allocated for stiffness matrix'");
const Layout kGeometricLine("/ / I12 ' storage locations allocated for geometric matrix'");

// A work array of the run, never empty so that its data pointer is valid.
// A failed allocation throws std::bad_alloc, which the run's frame turns
// into status -30 with its message and the abort path.
template <class T> void allocate(std::vector<T>& v, i64 size)
{
    assignStoppable(v, std::size_t(std::max<i64>(size, 1)));
}

template <class T> void release(std::vector<T>& v)
{
    std::vector<T>().swap(v);
}

void fail(RunContext& run, i32 code, i32 s2, i32 s3)
{
    std::fill(run.status, run.status + kStatusSize, 0);
    run.status[0] = code;
    run.status[1] = s2;
    run.status[2] = s3;
    ERRMSG(run.status, run.lunit);
}

double g_maxlanScaling = 0.0;

} // namespace

void setMaxlanScaling(double factor)
{
    g_maxlanScaling = std::isfinite(factor) && factor > 0.0 ? factor : 0.0;
}

double maxlanScaling()
{
    return g_maxlanScaling;
}

void runBuckling(RunContext& run, const BucklingModel& m, bool perNode)
{
    i32* key = run.key;
    const i32 lunit = run.lunit;
    i32* status = run.status;
    ModelTables& t = run.tables;
    EquationTables& eq = run.equations;
    float* RSTAT = run.RSTAT.data();
    const auto K = [key](int k) { return key[k - 1]; };
    const i32 print = K(30);

    const float start = CPUSEC(0.0f);
    float ref = start;

    // Echo, checks, tables and equation set-up; a buckling run has no
    // prescribed DOFs.
    if (!prepareRun(run, {m.topology, m.nodal, m.fixedDofs, nullptr, m.couplings, m.springs, false, true}))
        return;
    RSTAT[19] = CPUSEC(ref);
    ref = CPUSEC(0.0f);

    // Stiffness and geometric stiffness, both in the storage of the set-up.
    CHKPNT(key, 3, lunit);
    setRunPhase(RunPhase::assembling);
    const bool sparse = K(11) == 2;
    const i32 neq = t.MPAR[10];
    const i64 L = sparse ? i64(neq) + t.MSPAR[15] : i64(t.MPAR[11]);
    std::vector<double> SK, SKG;
    allocate(SK, L);
    if (print >= 1)
        fwrite(lunit, kStiffnessLine, {L});
    allocate(SKG, L);
    if (print >= 1)
        fwrite(lunit, kGeometricLine, {L});
    CHKPNT(key, 4, lunit);
    // SKG stands in for the right-hand side, which a buckling run has no
    // use for; the geometric assembly clears it.
    ASMSTF(key, m.topology, m.elementData, m.material, m.nodal, m.springs, SK.data(), SKG.data(), L,
           neq, lunit, status, t, eq);
    if (status[0] < 0)
        return;
    CHKPNT(key, 5, lunit);
    (perNode ? Build_SKG_N : Build_SKG)(key, m.elementData, m.nodal, m.stresses, SKG.data(), L,
                                        lunit, status, t, eq);
    if (status[0] < 0)
        return;
    CHKPNT(key, 6, lunit);
    RSTAT[20] = CPUSEC(ref);
    ref = CPUSEC(0.0f);
    CHKPNT(key, 7, lunit);

    // Eigensolver set-up. Every KEY(14) but 1 runs Lanczos, with its own
    // vector count, control integers and work arrays.
    const bool lanczos = K(14) != 1;
    const i32 p = K(15);
    const i64 pk = std::max(p, 0);
    i64 wanted = lanczos ? 2 * pk + 12 : pk + std::llround(std::pow(double(pk), 0.8)) + 6;
    if (lanczos && g_maxlanScaling > 0.0)
        wanted = std::max<i64>(pk, std::llround(g_maxlanScaling * double(wanted)));
    if (neq < wanted)
        return fail(run, -33, p, neq);
    const i32 k = i32(wanted);
    if (k > neq / 2) {
        status[0] = 2;
        status[1] = p;
        status[2] = k;
        status[3] = neq;
        ERRMSG(status, lunit);
    }
    double TOL[2] = {1.0e-8, 1.0e-8};
    const i32 MOP[6] = {1, 1, -1, lanczos ? 1 : 40, lanczos ? 2 : 1, lanczos ? 1 : 0};
    i32 MINF[10] = {};
    double SHIFT = 0.0;

    // Lanczos keeps its eigenpairs in arrays that grow with its passes.
    LanczosPairs pairs;
    std::vector<double>& EVL = pairs.EVL;
    std::vector<double>& RERR = pairs.RERR;
    std::vector<double>& EVEC = pairs.EVEC;
    std::vector<double> V, RWA;
    std::vector<i32> IWA;
    allocate(EVL, k);
    allocate(RERR, k);
    allocate(EVEC, i64(neq) * k);
    if (lanczos)
        allocate(V, 2 * i64(neq));
    const i64 kk = k;
    const i64 subspaceWork = std::max<i64>((3 * kk + neq) * (kk + 1), 150);
    const i64 sparseWork = i64(t.MSPAR[12]) + t.MSPAR[13] + t.MSPAR[16];
    i64 lrwa = 0, liwa = 0;
    if (sparse && lanczos) {
        lrwa = std::max<i64>((kk + 7) * kk, i64(t.MSPAR[13]) + t.MSPAR[16]);
        liwa = std::max<i64>(neq, t.MSPAR[12] + 2 * kk);
    } else if (sparse) {
        lrwa = subspaceWork + sparseWork;
        liwa = i64(neq) + t.MSPAR[13];
    } else if (lanczos) {
        lrwa = (kk + 7) * kk;
        liwa = 2 * kk;
    } else {
        lrwa = subspaceWork;
    }
    allocate(RWA, lrwa);
    if (liwa > 0)
        allocate(IWA, liwa);

    CHKPNT(key, sparse ? (lanczos ? 72 : 71) : (lanczos ? 74 : 73), lunit);
    setRunPhase(RunPhase::eigenvalues);
    i32 ierr = 0;
    i32 used = k;
    if (sparse && lanczos)
        lanczosRun(SK.data(), SKG.data(), TOL, t.MSPAR.data(), entry1(eq.MTREES), entry1(eq.MSIFA), MOP,
                   MINF, pairs, V.data(), RWA.data(), lrwa, IWA.data(), liwa, SHIFT, neq, p, p, used,
                   lunit, print, ierr);
    else if (sparse)
        SPRSIT(SK.data(), SKG.data(), TOL, t.MSPAR.data(), entry1(eq.MTREES), entry1(eq.MSIFA), MOP,
               MINF, EVL.data(), RERR.data(), EVEC.data(), RWA.data(), lrwa, IWA.data(), liwa,
               SHIFT, neq, p, used, lunit, print, ierr);
    else if (lanczos)
        lanczosRun(SK.data(), SKG.data(), TOL, entry1(eq.MSKY), MOP, MINF, pairs, V.data(),
                   RWA.data(), lrwa, IWA.data(), liwa, SHIFT, neq, p, p, used, lunit, print, ierr);
    else
        MSSIT(SK.data(), SKG.data(), TOL, entry1(eq.MSKY), MOP, MINF, EVL.data(), RERR.data(),
              EVEC.data(), RWA.data(), lrwa, SHIFT, neq, p, used, lunit, print, ierr);
    if (ierr < 0)
        return fail(run, -32, ierr, 0);

    CHKPNT(key, 8, lunit);
    RSTAT[21] = CPUSEC(ref);
    CHKPNT(key, 80, lunit);
    release(SK);
    CHKPNT(key, 81, lunit);
    release(SKG);
    CHKPNT(key, 82, lunit);
    release(RWA);
    CHKPNT(key, 83, lunit);
    release(IWA);
    CHKPNT(key, 84, lunit);
    release(V);
    CHKPNT(key, 85, lunit);
    ref = CPUSEC(0.0f);

    // Fewer accepted modes than requested: only those are handed back.
    i32 accepted = p;
    if (MINF[0] < p) {
        accepted = std::max(MINF[0], 0);
        status[0] = 1;
        status[1] = accepted;
        status[2] = p;
        ERRMSG(status, lunit);
    }

    // Modes: the deflection DOF of every node after expansion through the
    // constraints.
    const i32 ndof = t.MPAR[2];
    const i32 nanod = K(2);
    std::vector<double> SV;
    allocate(SV, ndof);
    CHKPNT(key, 82, lunit);
    for (i32 j = 1; j <= accepted; ++j) {
        CHKPNT(key, 9, lunit);
        m.eigenvalues[j - 1] = EVL[std::size_t(j - 1)];
        std::fill(SV.begin(), SV.end(), 0.0);
        EXPSOL(EVEC.data() + i64(j - 1) * neq, entry1(t.CQCOEF), entry1(t.MPMCEQ), entry1(t.MCQDOF),
               entry1(eq.MDOFEQ), 1.0, 1.0, ndof, SV.data());
        double* column = m.modeShapes + i64(j - 1) * nanod;
        for (i32 n = 1; n <= nanod; ++n) {
            const i32 first = t.MNDPTR[std::size_t(n - 1)];
            const i32 count = t.MNDPTR[std::size_t(n)] - first;
            column[n - 1] =
                (K(10) == 85 && count < 2) || count < 1 ? 0.0 : SV[std::size_t(first - 1)];
        }
    }

    CHKPNT(key, 10, lunit);
    RSTAT[22] = CPUSEC(ref);
    RSTAT[23] = CPUSEC(start);
    RSTAT[9] = float(used);
    RSTAT[10] = float(accepted);
    RSTAT[11] = float(lanczos ? MINF[2] : MINF[3]);

    const i32 saved = key[28];
    key[28] = 99;
    const double sums[2] = {0.0, 0.0};
    RUNLOG(key, RSTAT, lunit, t, sums, sums);
    key[28] = saved;
}

} // namespace solvika

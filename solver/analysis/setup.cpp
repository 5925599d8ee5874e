// Equation-system set-up: skyline road with optional renumbering, sparse
// road with optional minimum-degree reordering.
#include "solver/analysis/setup.h"

#include "solver/analysis/errmsg.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/renum.h"
#include "solver/linalg/sparse.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

namespace solvika {

namespace {

using i32 = std::int32_t;
using i64 = std::int64_t;

constexpr i64 kMaxLength = std::numeric_limits<i32>::max();

// Words of the key data, MPAR and MSPAR in the integer estimate.
constexpr i64 kFixedWords = 30 + 50 + 50;

SetupProbe g_probe = nullptr;

// Runs one library routine unless the test probe makes it fail; IERR is
// then -1 as after a failure the routine found itself.
template <class Call>
void step(const char* routine, i32& ierr, Call&& call) {
    if (g_probe != nullptr && g_probe(routine)) {
        ierr = -1;
        return;
    }
    call();
}

// A failure of the set-up: the status code (and S(2)) it leaves.
struct Failure {
    i32 code;
    i32 value = 0;
};

// Storage of `n` integers, at least one so that every table has an address.
std::vector<i32> ints(i64 n) {
    if (n > kMaxLength) throw std::length_error("table beyond 32-bit positions");
    return std::vector<i32>(std::size_t(std::max<i64>(n, 1)), 0);
}

// The first n entries of a scratch kept as a table of their own (one zero
// for an empty table, so that it has an address).
std::vector<i32> keep(const std::vector<i32>& scratch, i32 n) {
    if (n <= 0) return std::vector<i32>(1, 0);
    return std::vector<i32>(scratch.begin(), scratch.begin() + std::min<i64>(n, i64(scratch.size())));
}

using Renumbering = void (*)(const i32*, const i32*, const i32*, const i32*, const i32*, i32*, i32*, i32, i32, i32,
                             i32, i32, bool, i32&, i32&, i32&);

// The skyline road: renumbering or input order, then the pre-assembly.
Failure skyline(const i32* key, float* RSTAT, i32 LUNIT, ModelTables& t, EquationTables& eq, i64 intEstimate,
                i64 realEstimate) {
    i32* MPAR = t.MPAR.data();
    const i32 nanod = MPAR[0], nel = MPAR[1], neq = MPAR[10];
    eq.MSKY = ints(neq);

    const i32 method = key[11];
    i32 start = 0, percent = 0, ierr = 0;
    i64 nwork = 0;
    std::vector<i32> work, MNNN = ints(nanod);
    if (method >= 1 && method <= 3) {
        i64 pairs = 0;
        for (i32 e = 0; e < nel; ++e) {
            const i64 k = t.MPELND[e + 1] - t.MPELND[e];
            pairs += k * (k - 1);
        }
        // Two words more than the element and node lists need: the graph
        // method uses them when there is a single element.
        nwork = nel + 4 * i64(nanod) + pairs + 2;
        work = ints(nwork);
        static constexpr Renumbering kMethods[] = {SWSNUM, PFMREN, ELWREN};
        static constexpr const char* kNames[] = {"SWSNUM", "PFMREN", "ELWREN"};
        step(kNames[method - 1], ierr, [&] {
            kMethods[method - 1](entry1(t.MPELND), entry1(t.MELNOD), entry1(t.MEXNOD), entry1(t.MSC),
                                 entry1(t.MNDPTR), work.data(), MNNN.data(), nanod, nel, i32(nwork), key[29] - 1, LUNIT,
                                 MPAR[4] > 0, start, percent, ierr);
        });
        if (ierr < 0) return {-6, method};
    } else {
        nwork = std::max(nanod, MPAR[19]);
        work = ints(nwork);
        std::copy(t.MEXNOD.begin(), t.MEXNOD.begin() + nanod, MNNN.begin());
        percent = 0;
    }

    step("PRASSX", ierr, [&] {
        PRASSX(entry1(t.MNDPTR), entry1(t.MEXNOD), entry1(t.MPELND), entry1(t.MELNOD), entry1(t.MSC),
               entry1(t.MPMCEQ), entry1(t.MCQDOF), MNNN.data(), LUNIT, MPAR, work.data(), eq.MDOFEQ.data(),
               eq.MSKY.data(), ierr);
    });
    // A profile length of -1 marks a profile too long for 32-bit positions.
    if (ierr < 0) return {MPAR[11] == -1 ? -30 : -7};

    MPAR[11] = neq > 0 ? eq.MSKY[neq - 1] : 0;
    RSTAT[0] = float(intEstimate + neq + nanod + nwork);
    RSTAT[1] = float(realEstimate + MPAR[11]);
    RSTAT[2] = float(percent);
    RSTAT[3] = float(start);
    return {0};
}

// The sparse road: equation numbers and the symbolic tables.
Failure sparse(const i32* key, float* RSTAT, i32 LUNIT, ModelTables& t, EquationTables& eq) {
    i32* MPAR = t.MPAR.data();
    i32* MSPAR = t.MSPAR.data();
    auto mspar = [&](int k) { return i64(MSPAR[k - 1]); };
    const i32 ndof = MPAR[2];
    i32 ierr = 0;

    {
        std::vector<i32> work = ints(3 * i64(ndof));
        step("SPSPRP", ierr, [&] {
            SPSPRP(entry1(t.MNDPTR), entry1(t.MEXNOD), entry1(t.MPELND), entry1(t.MELNOD), entry1(t.MSC),
                   entry1(t.MPMCEQ), entry1(t.MCQDOF), MPAR, MSPAR, eq.MDOFEQ.data(), work.data(), LUNIT, ierr);
        });
        if (ierr < 0) return {-8};
    }
    {
        std::vector<i32> work = ints(mspar(35)), work2 = ints(2 * i64(ndof));
        step("SPRSAS", ierr, [&] {
            SPRSAS(MPAR, entry1(t.MNDPTR), entry1(t.MPELND), entry1(t.MELNOD), entry1(t.MSC), entry1(t.MPMCEQ),
                   entry1(t.MCQDOF), eq.MDOFEQ.data(), MSPAR, work.data(), work2.data(), LUNIT, ierr);
        });
        if (ierr < 0) return {-9};
        eq.MSICA = keep(work, MSPAR[1]);
    }
    // Every renumbering code except 0 ("none") reorders: factorising in the
    // input order would give a far larger factor.
    const bool reorder = key[11] != 0;
    if (reorder) {
        std::vector<i32> work = ints(mspar(37));
        step("SPRRNM", ierr, [&] { SPRRNM(MSPAR, eq.MSICA.data(), work.data(), LUNIT, ierr); });
        if (ierr < 0) return {-10};
    }
    // The elimination tree of a reordered run must follow the new order.
    assert(!reorder || MSPAR[0] == 2);
    {
        std::vector<i32> work = ints(mspar(36)), work2 = ints(mspar(38));
        float stats[4] = {0, 0, 0, 0};
        step("SPRTRS", ierr, [&] {
            SPRTRS(MSPAR, eq.MSICA.data(), work.data(), eq.MDOFEQ.data(), ndof, work2.data(), stats, LUNIT, ierr);
        });
        // -3: the factor would be too long for 32-bit positions.
        if (ierr < 0) return {ierr == -3 ? -30 : -10};
        std::copy(stats, stats + 4, RSTAT + 10);
        eq.MTREES = keep(work, MSPAR[3]);
    }
    {
        std::vector<i32> work = ints(mspar(3)), work2 = ints(2 * mspar(8) + 3 * mspar(6) + 1);
        step("SPRSMB", ierr, [&] {
            SPRSMB(MSPAR, eq.MSICA.data(), eq.MTREES.data(), work.data(), eq.MDOFEQ.data(), work2.data(), LUNIT,
                   ierr);
        });
        if (ierr < 0) return {-11};
        eq.MSIFA = keep(work, MSPAR[2]);
    }
    eq.MEQMAP = ints(2 * mspar(8));
    SPRFIN(eq.MSICA.data(), eq.MTREES.data(), eq.MDOFEQ.data(), MPAR, MSPAR, eq.MEQMAP.data());

    RSTAT[0] = float(double(RSTAT[0]) + double(mspar(2) + mspar(3) + mspar(4) + 2 * mspar(8)));
    RSTAT[1] = float(double(RSTAT[1]) + double(mspar(8) + mspar(16)));
    return {0};
}

} // namespace

SetupProbe setSetupProbe(SetupProbe probe) { return std::exchange(g_probe, probe); }

void PREPEQ(const std::int32_t* key, float* RSTAT, std::int32_t LUNIT, std::int32_t* status, ModelTables& tables,
            EquationTables& eq) {
    std::fill(status, status + kStatusSize, 0);
    Failure failure{0};
    try {
        i32* MPAR = tables.MPAR.data();
        MXELDF(entry1(tables.MNDPTR), entry1(tables.MPELND), entry1(tables.MELNOD), MPAR);
        const i64 nanod = MPAR[0], nel = MPAR[1], ndof = MPAR[2];
        eq.MDOFEQ = ints(ndof);

        const i64 intEstimate = i64(key[18]) * nel + 2 * (nanod + nel + ndof) + MPAR[14] + MPAR[6] + MPAR[15] +
                                kFixedWords;
        const i64 realEstimate = 4 * nanod + i64(key[19]) * nel + 8 * i64(MPAR[9]) +
                                 3 * (i64(MPAR[7]) + MPAR[8] + key[6]) + 7 * i64(key[2]) + MPAR[15];
        RSTAT[0] = float(intEstimate);
        RSTAT[1] = float(realEstimate);

        switch (key[10]) {
        case 1: failure = skyline(key, RSTAT, LUNIT, tables, eq, intEstimate, realEstimate); break;
        case 2: failure = sparse(key, RSTAT, LUNIT, tables, eq); break;
        default: failure = {-12}; break;
        }
    } catch (const std::bad_alloc&) {
        failure = {-30};
    } catch (const std::length_error&) {
        failure = {-30};
    }
    if (failure.code == 0) return;
    status[0] = failure.code;
    status[1] = failure.value;
    ERRMSG(status, LUNIT);
}

} // namespace solvika

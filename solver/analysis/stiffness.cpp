// System stiffness assembly: every element's stiffness in node axes, added
// into skyline or sparse storage through the constraints, then the springs.
#include "solver/analysis/element_steps.h"
#include "solver/linalg/cancel.h"

#include "solver/analysis/eldata.h"
#include "solver/analysis/elwork.h"
#include "solver/analysis/errmsg.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/sparse.h"

#include <algorithm>
#include <array>
#include <memory>

namespace solvika {

namespace {

using namespace elwork;

void fail(std::int32_t* status, i32 code, i32 v2, i32 v3, i32 v4, i32 lunit) {
    status[0] = code;
    status[1] = v2;
    status[2] = v3;
    status[3] = v4;
    ERRMSG(status, lunit);
}

// Adds one element matrix of `nedof` DOFs through the constraints into the
// storage of the road, with the loads of the constant terms into SYSR.
// MPELND and MELNOD give the element's nodes (the run's tables, or a single
// node for a spring on a slave DOF).
struct Adder {
    const ModelTables& t;
    const EquationTables& eq;
    bool sparse;
    double* SYSK;
    double* SYSR;
    std::vector<i32> work;
    i32 lunit;

    i32 add(const double* EK, i32 e, i32 nedof, const i32* MPELND, const i32* MELNOD) {
        i32 ierr = 0;
        if (sparse)
            SPRADM(EK, entry1(t.CQCOEF), t.MPAR.data(), t.MNDPTR.data(), eq.MDOFEQ.data(), MPELND, MELNOD,
                   entry1(t.MPMCEQ), entry1(t.MCQDOF), t.MSPAR.data(), eq.MTREES.data(), eq.MSIFA.data(),
                   eq.MEQMAP.data(), e, nedof, 1, SYSK, SYSR, work.data(), lunit, ierr);
        else
            ADDEM(EK, entry1(t.CQCOEF), t.MPAR.data(), t.MNDPTR.data(), eq.MDOFEQ.data(), MPELND, MELNOD,
                  entry1(t.MPMCEQ), entry1(t.MCQDOF), eq.MSKY.data(), e, nedof, lunit, 1, SYSK, SYSR, work.data(),
                  ierr);
        return ierr;
    }
};

} // namespace

void ASMSTF(const std::int32_t* key, const std::int32_t* topology, const double* elementData,
            const double* material, const double* nodal, const double* springs, double* SYSK, double* SYSR,
            std::int64_t lenK, std::int32_t lenR, std::int32_t lunit, std::int32_t* status, ModelTables& tables,
            const EquationTables& eq) {
    std::fill(status, status + kStatusSize, 0);
    if (lenK > 0) std::fill(SYSK, SYSK + lenK, 0.0);
    if (lenR > 0) std::fill(SYSR, SYSR + lenR, 0.0);
    const i32 code = key[9];
    const Kind* kind = kindOf(code);
    if (kind == nullptr) return fail(status, -14, code, 0, 0, lunit);

    const bool sparse = key[10] == 2;
    const i32 workSize = sparse ? tables.MSPAR[38] : std::max(tables.MPAR[19], kind->nedof);
    Adder adder{tables, eq, sparse, SYSK, SYSR, std::vector<i32>(std::size_t(std::max(workSize, 1)), 0), lunit};
    const auto s = std::make_unique<Scratch>();
    const i32 ipsw = key[29] - 2;
    const i32 nedof = kind->nedof;

    for (i32 e = 1; e <= key[0]; ++e) {
        checkCancel();
        i32 ierr = gather(*kind, e, key, topology, elementData, material, nodal, tables, *s, lunit);
        if (ierr < 0) return fail(status, -15, e, code, ierr, lunit);
        if (code == 75 && key[29] >= 3) echoCorners(e, tables, *s, lunit);
        ierr = stiffness(*kind, e, key, *s, lunit, ipsw);
        if (ierr < 0) return fail(status, -15, e, code, ierr, lunit);
        if (code != 61) {
            TRNSK(e, code, nodal, s->EK, nedof, tables.MNDPTR.data(), tables.MPELND.data(), tables.MELNOD.data(),
                  lunit, status);
            if (status[0] < 0) return;
        }
        if (adder.add(s->EK, e, nedof, tables.MPELND.data(), tables.MELNOD.data()) < 0)
            return fail(status, -16, e, code, 0, lunit);
    }

    if (key[6] < 1 || springs == nullptr) return;
    std::vector<i32> diagonal;
    if (sparse) {
        diagonal.assign(std::size_t(std::max(tables.MPAR[10], 1)), 0);
        i32 ierr = 0;
        SPRDG1(tables.MSPAR.data(), eq.MTREES.data(), eq.MSIFA.data(), diagonal.data(), lunit, ierr);
        if (ierr < 0) return fail(status, -17, 0, 0, 0, lunit);
    }
    const i32 nanod = tables.MPAR[0];
    for (i32 r = 0; r < key[6]; ++r) {
        const double* row = springs + 3 * std::size_t(r);
        const i32 node = nearestInt(row[0]), dof = nearestInt(row[1]);
        if (node < 1 || node > nanod) continue;
        const i32 first = tables.MNDPTR[std::size_t(node - 1)];
        const i32 ndof = tables.MNDPTR[std::size_t(node)] - first;
        if (dof < 1 || dof > ndof) continue;
        const double k = row[2];
        const i32 equation = eq.MDOFEQ[std::size_t(first - 1 + dof - 1)];
        if (equation > 0) {
            if (sparse)
                SYSK[diagonal[std::size_t(equation - 1)] - 1] += k;
            else
                ADDNOD(tables.MNDPTR.data(), eq.MDOFEQ.data(), eq.MSKY.data(), k, node, dof, SYSK);
        } else if (equation < 0 && tables.MPAR[1] >= 1 && ndof <= kMaxDof) {
            // A slave DOF: the spring is a 1 x 1 element on it, added
            // through its constraint (k a_s a_t on the masters).
            std::fill(s->EK, s->EK + ndof * ndof, 0.0);
            s->EK[(dof - 1) * (ndof + 1)] = k;
            const std::array<i32, 2> pelnd{1, 2};
            const std::array<i32, 1> elnod{node};
            if (adder.add(s->EK, 1, ndof, pelnd.data(), elnod.data()) < 0)
                return fail(status, -16, 0, code, 0, lunit);
        }
    }
}

} // namespace solvika

// Plate-bending loads and results: lateral pressures, edge loads and nodal
// loads into the system vector; corner moments, reactions in the deflection
// direction and spring forces from the solution.
#include "solver/analysis/element_steps.h"

#include "solver/analysis/eldata.h"
#include "solver/analysis/elwork.h"
#include "solver/analysis/errmsg.h"
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_higher.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/cancel.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace solvika {

namespace {

using namespace elwork;

const Kind* bendingKind(i32 code) {
    const Kind* k = kindOf(code);
    return k != nullptr && !k->membrane() ? k : nullptr;
}

void fail(std::int32_t* status, i32 code, i32 v2, i32 v3, i32 lunit) {
    status[0] = code;
    status[1] = v2;
    status[2] = v3;
    ERRMSG(status, lunit);
}

// Element-vector positions (1-based) of the deflection DOFs, node by node
// in element order; the count is the number of nodes that carry one.
struct Deflections {
    i32 count;
    i32 pos[6];
};

Deflections deflections(i32 code) {
    switch (code) {
    case 61: return {3, {1, 2, 3}};
    case 75: return {6, {1, 4, 7, 10, 12, 14}};
    case 81:
    case 85: return {3, {1, 7, 13}};
    default: return {3, {1, 4, 7}};
    }
}

// Corner coordinates and pressures (element data rows 6-8) of element e.
void cornersAndPressures(i32 e, const i32* key, const double* elementData, const double* nodal,
                         const ModelTables& t, double* X, double* Y, double* P) {
    const i32 first = t.MPELND[std::size_t(e - 1)];
    for (i32 k = 0; k < 3; ++k) {
        const i32 n = t.MELNOD[std::size_t(first - 1 + k)];
        X[k] = nodal[std::size_t(n - 1) * kNodalRows];
        Y[k] = nodal[std::size_t(n - 1) * kNodalRows + 1];
        P[k] = elementData[std::size_t(e - 1) * std::size_t(key[19]) + 5 + k];
    }
}

// The lateral load vector of element e in global axes.
void lateralLoad(const Kind& kind, const double* X, const double* Y, const double* P, double* EV) {
    switch (kind.code) {
    case 61: T6_Lv(EV, X, Y, P); break;
    case 65: DKT_Lv(EV, X, Y, P); break;
    case 66: TEBA_Lv(EV, X, Y, P); break;
    case 75: T15_Lv(EV, X, Y, P); break;
    default: HTB_Lv(EV, X, Y, P, kind.nedof); break;
    }
}

} // namespace

void BNDLOD(const std::int32_t* key, const double* elementData, double* nodal, const double* edgeLoads,
            double* SYSR, std::int32_t lunit, std::int32_t* status, const ModelTables& tables,
            const EquationTables& eq) {
    std::fill(status, status + kStatusSize, 0);
    const i32 code = key[9];
    const Kind* kind = bendingKind(code);
    if (kind == nullptr) return fail(status, -14, code, 0, lunit);
    const i32 nel = key[0], nanod = key[1];
    const i32 rows = std::max(key[20], 0);
    const i32 nedge = edgeLoads != nullptr ? key[16] : 0;

    // The corner position (0..2) of node a in element e, -1 when none.
    auto cornerOf = [&](i32 e, i32 a) {
        if (e < 1 || e > nel) return -1;
        const i32 first = tables.MPELND[std::size_t(e - 1)];
        for (i32 k = 0; k < 3; ++k)
            if (tables.MELNOD[std::size_t(first - 1 + k)] == a) return k;
        return -1;
    };
    // Every edge-load row is checked before any load is added; a record too
    // short to name its element and node names none.
    if (nedge > 0 && rows < 2) return fail(status, -23, 0, 0, lunit);
    for (i32 k = 0; k < nedge; ++k) {
        const double* row = edgeLoads + std::size_t(k) * std::size_t(rows);
        const i32 e = nearestInt(row[0]), a = nearestInt(row[1]);
        if (cornerOf(e, a) < 0) return fail(status, -23, e, a, lunit);
    }

    double EV[kMaxDof], X[3], Y[3], P[3];
    std::vector<i32> meleq(kMaxDof, 0);
    for (i32 e = 1; e <= nel; ++e) {
        checkCancel();
        cornersAndPressures(e, key, elementData, nodal, tables, X, Y, P);
        if (P[0] == 0.0 && P[1] == 0.0 && P[2] == 0.0) continue;  // no pressure, no load
        lateralLoad(*kind, X, Y, P, EV);
        if (code != 61) {
            TRNSS(e, code, nodal, EV, kind->nedof, 2, tables.MNDPTR.data(), tables.MPELND.data(),
                  tables.MELNOD.data(), lunit, status);
            if (status[0] < 0) return;
        }
        i32 ierr = 0;
        ADDEV(EV, entry1(tables.CQCOEF), tables.MPAR.data(), tables.MNDPTR.data(), eq.MDOFEQ.data(),
              tables.MPELND.data(), tables.MELNOD.data(), entry1(tables.MPMCEQ), entry1(tables.MCQDOF), e, kind->nedof,
              lunit, SYSR, meleq.data(), ierr);
        if (ierr < 0) return fail(status, -19, e, code, lunit);
    }

    for (i32 k = 0; k < nedge; ++k) {
        const double* row = edgeLoads + std::size_t(k) * std::size_t(rows);
        const i32 e = nearestInt(row[0]), a = nearestInt(row[1]);
        const i32 first = tables.MPELND[std::size_t(e - 1)];
        const i32 b = tables.MELNOD[std::size_t(first - 1 + (cornerOf(e, a) + 1) % 3)];
        const double* pa = nodal + std::size_t(a - 1) * kNodalRows;
        const double* pb = nodal + std::size_t(b - 1) * kNodalRows;
        const double L = std::hypot(pb[0] - pa[0], pb[1] - pa[1]);
        const double qs = rows >= 3 ? row[2] : 0.0, qe = rows >= 4 ? row[3] : 0.0;
        // Without a mid-point value the load varies linearly.
        const double qm = rows >= 5 ? row[4] : 0.5 * (qs + qe);
        const double Fa = L * (5.0 * qs + qe + 6.0 * qm) / 24.0;
        const double Fb = L * (qs + qe + 2.0 * qm) / 4.0 - Fa;
        nodal[std::size_t(a - 1) * kNodalRows + 3] += Fa;
        nodal[std::size_t(b - 1) * kNodalRows + 3] += Fb;
    }

    // Nodal loads act on the deflection, which corner nodes carry (and the
    // side nodes of code 75) as their first DOF.
    std::vector<char> carries(std::size_t(std::max(nanod, 0)), 0);
    const Deflections defl = deflections(code);
    for (i32 e = 1; e <= nel; ++e) {
        const i32 first = tables.MPELND[std::size_t(e - 1)];
        for (i32 k = 0; k < defl.count; ++k) carries[std::size_t(tables.MELNOD[std::size_t(first - 1 + k)] - 1)] = 1;
    }
    for (i32 n = 1; n <= nanod; ++n)
        if (carries[std::size_t(n - 1)])
            addDofLoad(tables.MNDPTR[std::size_t(n - 1)], nodal[std::size_t(n - 1) * kNodalRows + 3], tables, eq,
                       SYSR);
}

void BNDRES(const std::int32_t* key, const double* U, const std::int32_t* topology, double* elementData,
            double* springs, double* nodal, const double* material, std::int32_t lunit, std::int32_t* status,
            const ModelTables& tables, ResultSums& sums) {
    std::fill(status, status + kStatusSize, 0);
    sums = ResultSums{};
    const i32 code = key[9];
    const Kind* kind = bendingKind(code);
    if (kind == nullptr) return fail(status, -14, code, 0, lunit);
    const i32 nel = key[0], nanod = key[1], nedof = kind->nedof;
    const std::size_t erows = std::size_t(key[19]);
    const Deflections defl = deflections(code);
    auto row4 = [&](i32 n) -> double& { return nodal[std::size_t(n - 1) * kNodalRows + 3]; };
    auto nodeOf = [&](i32 e, i32 k) { return tables.MELNOD[std::size_t(tables.MPELND[std::size_t(e - 1)] - 1 + k)]; };

    const auto s = std::make_unique<Scratch>();
    // Applied lateral load per node: point load, edge-load shares and the
    // element pressures.
    for (i32 e = 1; e <= nel; ++e) {
        double P[3];
        cornersAndPressures(e, key, elementData, nodal, tables, s->X, s->Y, P);
        if (P[0] == 0.0 && P[1] == 0.0 && P[2] == 0.0) continue;
        lateralLoad(*kind, s->X, s->Y, P, s->EV);
        for (i32 k = 0; k < defl.count; ++k) row4(nodeOf(e, k)) += s->EV[defl.pos[k] - 1];
    }
    for (i32 n = 1; n <= nanod; ++n) {
        sums.load[0] += row4(n);
        row4(n) = -row4(n);
    }

    const bool five = code == 75 || code == 81 || code == 85;
    const i32 stride = five ? 5 : 3;
    const i32 ipsw = key[29] - 3;
    double v[kMaxDof], R[15], PM[27];
    for (i32 e = 1; e <= nel; ++e) {
        checkCancel();
        i32 count = 0;
        GETELV(U, tables.MNDPTR.data(), tables.MPELND.data(), tables.MELNOD.data(), e, v, count);
        if (gather(*kind, e, key, topology, elementData, material, nodal, tables, *s, lunit) < 0)
            return fail(status, -15, e, code, lunit);
        double* column = elementData + std::size_t(e - 1) * erows;
        const double elementAngle = column[0];
        if (code == 75 && key[29] >= 4) echoCorners(e, tables, *s, lunit);
        if (stiffness(*kind, e, key, *s, lunit, ipsw) < 0) return fail(status, -15, e, code, lunit);

        // Reactions in the deflection direction: the element's K v.
        for (i32 k = 0; k < defl.count; ++k) {
            const i32 p = defl.pos[k] - 1;
            double sum = 0.0;
            for (i32 j = 0; j < nedof; ++j) sum += s->EK[p + std::size_t(j) * nedof] * v[j];
            row4(nodeOf(e, k)) += sum;
        }

        // Corner results: R(:, i) = (Mx, My, Mxy[, Qx, Qy]) at corner i.
        std::fill(R, R + 15, 0.0);
        switch (code) {
        case 61: {
            double M[3];
            T6_Mom(v, s->D, s->X, s->Y, s->T, M);
            for (i32 i = 0; i < 3; ++i) std::copy(M, M + 3, R + stride * i);
            break;
        }
        case 65:
            DKT_Mom(v, s->D, s->X, s->Y, s->T, R);
            break;
        case 66:
            for (i32 i = 0; i < 3; ++i) {
                TEBA_Mom(PM, s->RR, i == 0 ? 1.0 : 0.0, i == 1 ? 1.0 : 0.0, i == 2 ? 1.0 : 0.0);
                for (i32 r = 0; r < 3; ++r) {
                    double sum = 0.0;
                    for (i32 j = 0; j < 9; ++j) sum += PM[r + 3 * j] * v[j];
                    R[3 * i + r] = sum;
                }
            }
            break;
        case 75:
            T15_Mom(v, s->D, s->X, s->Y, s->T, R);
            break;
        default: {  // 81, 85: moments from the corner curvature DOFs
            double Q[6];
            HTB_Mom(v, s->D, s->X, s->Y, s->T, nedof, Q);
            for (i32 i = 0; i < 3; ++i) {
                const double kappa[3] = {v[6 * i + 3], v[6 * i + 5], 2.0 * v[6 * i + 4]};
                const double f = -s->T[i] * s->T[i] * s->T[i] / 12.0;
                for (i32 r = 0; r < 3; ++r)
                    R[5 * i + r] = f * (s->D[r] * kappa[0] + s->D[r + 3] * kappa[1] + s->D[r + 6] * kappa[2]);
                R[5 * i + 3] = Q[2 * i];
                R[5 * i + 4] = Q[2 * i + 1];
            }
            break;
        }
        }

        // Axes of the results: the corner's node axes or the element's axes.
        if (key[22] >= 1)
            for (i32 i = 0; i < 3; ++i) {
                const double a = key[22] == 1 ? nodal[std::size_t(nodeOf(e, code == 61 ? 0 : i) - 1) * kNodalRows + 2]
                                              : elementAngle;
                if (!(std::fabs(a) > kZeroAngle)) continue;
                double* r = R + stride * i;
                turnTriple(r, a);
                if (five) {
                    const double c = std::cos(a), sn = std::sin(a), qx = r[3], qy = r[4];
                    r[3] = c * qx + sn * qy;
                    r[4] = -sn * qx + c * qy;
                }
            }
        std::copy(R, R + 3 * stride, column);
    }

    for (i32 n = 1; n <= nanod; ++n) sums.reaction[0] += row4(n);
    springForces(key, U, springs, nodal, tables);
}

} // namespace solvika

// Membrane loads: body load, initial strains, edge loads and point loads.
#include "solver/analysis/element_steps.h"

#include "solver/analysis/eldata.h"
#include "solver/analysis/elwork.h"
#include "solver/analysis/errmsg.h"
#include "solver/elements/membrane.h"
#include "solver/linalg/assembly.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace solvika {

namespace {

using namespace elwork;

constexpr i32 kMaterialRows = 7;

// The node number of a load row given as a real, without its sign.
i32 absNode(double v) {
    const i32 n = nearestInt(v);
    return n == INT32_MIN ? INT32_MAX : std::abs(n);
}

struct MemLoad {
    const i32* key;
    const i32* topology;
    const double* elementData;
    const double* material;
    const double* nodal;
    double* SYSR;
    double* W;
    i32 lunit;
    i32* status;
    const ModelTables& t;
    const EquationTables& eq;
    std::vector<double>& internal;
    const Kind& kind;
    Scratch& s;
    std::vector<i32> meleq;

    bool fail(i32 code, i32 v2, i32 v3) {
        status[0] = code;
        status[1] = v2;
        status[2] = v3;
        ERRMSG(status, lunit);
        return false;
    }

    bool gatherElement(i32 e) {
        if (gather(kind, e, key, topology, elementData, material, nodal, t, s, lunit) < 0)
            return fail(-15, e, kind.code);
        return true;
    }

    // Condensation data of the QST and the Q9 for element e.
    bool condensation(i32 e) {
        i32 ierr = 0;
        if (kind.code == 33)
            PQST31(s.EK, s.G, s.CKI, s.W1, s.D, s.X, s.Y, s.T, s.W2, e, lunit, -1, ierr);
        else if (kind.code == 46)
            QUAD_Sm(s.Cp, s.X, s.Y, s.T, kind.flags, kind.nedof, gaussPoints(kind, key), -1, s.EK, s.CD, ierr);
        if (ierr < 0) return fail(-15, e, kind.code);
        return true;
    }

    void addInternal(i32 e, const double* ri) {
        internal[2 * std::size_t(e - 1)] += ri[0];
        internal[2 * std::size_t(e - 1) + 1] += ri[1];
    }

    // The element vector s.EV of element e: into the nodal loads (global
    // axes), then to node axes and into the system vector.
    bool finish(i32 e) {
        ADDNPR(e, kind.code, s.EV, W, t.MPELND.data(), t.MELNOD.data());
        TRNSS(e, kind.code, nodal, s.EV, kind.nedof, 2, t.MNDPTR.data(), t.MPELND.data(), t.MELNOD.data(), lunit,
              status);
        if (status[0] < 0) return false;
        i32 ierr = 0;
        ADDEV(s.EV, entry1(t.CQCOEF), t.MPAR.data(), t.MNDPTR.data(), eq.MDOFEQ.data(), t.MPELND.data(),
              t.MELNOD.data(), entry1(t.MPMCEQ), entry1(t.MCQDOF), e, kind.nedof, lunit, SYSR, meleq.data(), ierr);
        if (ierr < 0) return fail(-19, e, kind.code);
        return true;
    }

    double meanThickness() const { return (s.T[0] + s.T[1] + s.T[2]) / 3.0; }

    bool bodyLoad(const double* B) {
        for (i32 e = 1; e <= key[0]; ++e) {
            if (!gatherElement(e)) return false;
            const i32 m = topology[std::size_t(e - 1) * std::size_t(key[18])];
            double F[2];
            BODYLD(B, material[std::size_t(m - 1) * kMaterialRows + 4], s.X, s.Y, kind.corners, F);
            i32 ierr = 0;
            switch (kind.code) {
            case 31: {
                double P1[2] = {F[0] * meanThickness(), F[1] * meanThickness()}, P2[2] = {0.0, 0.0};
                CST_Ld(s.EV, s.X, s.Y, P1, P2, 0);
                break;
            }
            case 32:
                LST_Ld(s.EV, s.X, s.Y, s.T, F, F, 0);
                break;
            case 33: {
                if (!condensation(e)) return false;
                double RI[2];
                QST_Ld(s.EV, RI, s.G, s.X, s.Y, s.T, F, F, F, 0);
                addInternal(e, RI);
                break;
            }
            default: {
                if (kind.code == 46 && !condensation(e)) return false;
                double P1[2] = {F[0], F[1]};
                QUAD_Ld(s.EV, s.X, s.Y, s.T, kind.flags, kind.nedof, gaussPoints(kind, key), 0, P1, P1, s.CD, ierr);
                if (ierr < 0) return fail(-24, e, kind.code);
                if (kind.code == 46) addInternal(e, P1);
                break;
            }
            }
            if (!finish(e)) return false;
        }
        return true;
    }

    bool initialStrains() {
        double S[12];
        for (i32 e = 1; e <= key[0]; ++e) {
            if (!gatherElement(e)) return false;
            const double* R = elementData + std::size_t(e - 1) * std::size_t(key[19]);
            i32 flag = 0;
            ELMEPS(R, s.X, s.Y, kind.corners, S, flag);
            if (flag == 0) continue;
            i32 ierr = 0;
            double RI[2] = {0.0, 0.0};
            switch (kind.code) {
            case 31: {
                double mean[3];
                for (int c = 0; c < 3; ++c) mean[c] = (S[c] + S[3 + c] + S[6 + c]) / 3.0;
                CST_Le(s.EV, s.D, s.X, s.Y, mean, meanThickness());
                break;
            }
            case 32:
                LST_Le(s.EV, s.D, s.X, s.Y, s.T, S);
                break;
            case 33:
                if (!condensation(e)) return false;
                QST_Le(s.EV, RI, s.G, s.D, s.X, s.Y, s.T, S);
                addInternal(e, RI);
                break;
            case 42: {
                const double zero[8] = {};
                Q6EPS(R, s.D, s.X, s.Y, s.T, kind.nedof, 1, zero, lunit, s.EV, ierr);
                if (ierr < 0) return fail(-24, e, kind.code);
                break;
            }
            default:
                if (kind.code == 46 && !condensation(e)) return false;
                QUAD_Le(s.EV, RI, s.Cp, s.X, s.Y, s.T, kind.flags, kind.nedof, gaussPoints(kind, key), S, s.CD, ierr);
                if (ierr < 0) return fail(-24, e, kind.code);
                if (kind.code == 46) addInternal(e, RI);
                break;
            }
            if (!finish(e)) return false;
        }
        return true;
    }

    // Decodes edge-load row k; false (nothing reported) when it is invalid.
    bool decode(const double* edgeLoads, i32 k, i32& start, i32& side, double* P, i32& e) const {
        const double* row = edgeLoads + std::size_t(k) * std::size_t(std::max(key[20], 0));
        i32 next = 0, ierr = 0;
        std::fill(P, P + 6, 0.0);
        ELDROW(row, key[20], kind.corners, key[0], t.MPELND.data(), t.MELNOD.data(), start, next, side, P, e, ierr);
        return ierr >= 0;
    }

    bool edgeLoad(const double* edgeLoads, i32 k) {
        i32 start = 0, side = 0, e = 0;
        double P[6];
        decode(edgeLoads, k, start, side, P, e);
        if (key[20] < 7)  // no mid-point pair: the load is linear
            for (int c = 0; c < 2; ++c) P[4 + c] = 0.5 * (P[c] + P[2 + c]);
        if (!gatherElement(e)) return false;
        i32 ierr = 0;
        double p1[2] = {P[0], P[1]}, p2[2] = {P[2], P[3]};
        switch (kind.code) {
        case 31:
            CST_Ld(s.EV, s.X, s.Y, p1, p2, side);
            break;
        case 32:
            LST_Ld(s.EV, s.X, s.Y, s.T, p1, p2, side);
            break;
        case 33: {
            if (!condensation(e)) return false;
            double RI[2];
            QST_Ld(s.EV, RI, s.G, s.X, s.Y, s.T, p1, p2, P + 4, side);
            break;
        }
        default:
            QUAD_Ld(s.EV, s.X, s.Y, s.T, kind.flags, kind.nedof, gaussPoints(kind, key), side, p1, p2, s.CD, ierr);
            if (ierr < 0) return fail(-24, e, kind.code);
            break;
        }
        return finish(e);
    }

    void pointLoad(const double* row) {
        const i32 signedNode = nearestInt(row[0]);
        const i32 n = absNode(row[0]);
        double sys[2] = {row[1], row[2]}, glob[2] = {row[1], row[2]};
        if (const double a = nodeAngle(nodal, n); a != 0.0) {
            const double c = std::cos(a), sn = std::sin(a);
            if (signedNode > 0) {
                sys[0] = c * row[1] + sn * row[2];
                sys[1] = -sn * row[1] + c * row[2];
            } else {
                glob[0] = c * row[1] - sn * row[2];
                glob[1] = sn * row[1] + c * row[2];
            }
        }
        const i32 first = t.MNDPTR[std::size_t(n - 1)];
        addDofLoad(first, sys[0], t, eq, SYSR);
        addDofLoad(first + 1, sys[1], t, eq, SYSR);
        W[2 * std::size_t(n - 1)] += glob[0];
        W[2 * std::size_t(n - 1) + 1] += glob[1];
    }
};

} // namespace

void MEMLOD(const std::int32_t* key, const std::int32_t* topology, const double* elementData,
            const double* material, const double* nodal, const double* B, const double* pointLoads,
            const double* edgeLoads, double* SYSR, double* W, std::int32_t lunit, std::int32_t* status,
            const ModelTables& tables, const EquationTables& eq, std::vector<double>& internal) {
    std::fill(status, status + kStatusSize, 0);
    const i32 nel = std::max(key[0], 0), nanod = std::max(key[1], 0);
    std::fill(W, W + 2 * std::size_t(nanod), 0.0);
    internal.assign(2 * std::size_t(nel), 0.0);
    const Kind* kind = kindOf(key[9]);
    auto stop = [&](i32 code, i32 v2, i32 v3) {
        status[0] = code;
        status[1] = v2;
        status[2] = v3;
        ERRMSG(status, lunit);
    };
    if (kind == nullptr || !kind->membrane()) return stop(-14, key[9], 0);

    const auto s = std::make_unique<Scratch>();
    MemLoad run{key,    topology, elementData, material, nodal, SYSR, W,     lunit,
                status, tables,   eq,          internal, *kind, *s,   std::vector<i32>(kMaxDof, 0)};

    // Every load row is checked before any load is added; a record too
    // short to name its element and node names none.
    const i32 nedge = edgeLoads != nullptr ? key[16] : 0;
    const i32 npoint = pointLoads != nullptr ? key[15] : 0;
    if (nedge > 0 && key[20] < 2) return stop(-23, 0, 0);
    for (i32 k = 0; k < nedge; ++k) {
        i32 start = 0, side = 0, e = 0;
        double P[6];
        if (!run.decode(edgeLoads, k, start, side, P, e)) {
            const double* row = edgeLoads + std::size_t(k) * std::size_t(std::max(key[20], 0));
            return stop(-23, nearestInt(row[0]), absNode(row[1]));
        }
    }
    for (i32 k = 0; k < npoint; ++k) {
        const i32 n = absNode(pointLoads[3 * std::size_t(k)]);
        if (n < 1 || n > nanod) return stop(-25, n, 0);
    }

    if (B != nullptr && LODCHK(B) == -1 && !run.bodyLoad(B)) return;
    if (!run.initialStrains()) return;
    for (i32 k = 0; k < nedge; ++k)
        if (!run.edgeLoad(edgeLoads, k)) return;
    for (i32 k = 0; k < npoint; ++k) run.pointLoad(pointLoads + 3 * std::size_t(k));
}

} // namespace solvika

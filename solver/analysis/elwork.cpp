// Shared segments of the per-element steps.
#include "solver/analysis/elwork.h"

#include "solver/analysis/eldata.h"
#include "solver/elements/membrane.h"
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_higher.h"
#include "solver/linalg/fwrite.h"

#include <cmath>
#include <cstddef>

namespace solvika::elwork {

namespace {

const Kind kKinds[] = {
    {31, 6, 3, 0, 0, {}},
    {32, 12, 3, 0, 0, {}},
    {33, 18, 3, 0, 0, {}},
    {41, 8, 4, 0, 4, {1, 1, 1, 1, 0, 0, 0, 0, 0}},
    {42, 8, 4, 0, 4, {1, 1, 1, 1, 0, 0, 0, 0, 0}},
    {44, 16, 4, 8, 4, {1, 1, 1, 1, 1, 1, 1, 1, 0}},
    {46, 16, 4, 8, 9, {1, 1, 1, 1, 1, 1, 1, 1, -1}},
    {61, 6, 3, 0, 0, {}},
    {65, 9, 3, 0, 0, {}},
    {66, 9, 3, 0, 0, {}},
    {75, 15, 3, 0, 0, {}},
    {81, 18, 3, 0, 0, {}},
    {85, 21, 3, 0, 0, {}},
};

const Layout kEchoHead("/ / 5X 'Data for element no.' I6 / / 5X 'node  x-coordinate  y-coordinate     thickness' /");
const Layout kEchoCorner("I9 1P 3E14.4");

} // namespace

const Kind* kindOf(i32 code) noexcept {
    for (const Kind& k : kKinds)
        if (k.code == code) return &k;
    return nullptr;
}

i32 gather(const Kind& kind, i32 e, const i32* key, const i32* topology, const double* elementData,
           const double* material, const double* nodal, const ModelTables& t, Scratch& s, i32 lunit) {
    const i32 pstrain = kind.membrane() ? key[17] : 0;
    i32 ierr = 0;
    ELMDAT(e, pstrain, kind.corners, kind.ncode, key[18], key[19], key[2], topology, elementData, material, nodal,
           t.MPELND.data(), t.MELNOD.data(), s.D, s.X, s.Y, s.T, lunit, ierr);
    const double* D = s.D;
    s.Cp[0] = D[0];
    s.Cp[1] = D[4];
    s.Cp[2] = D[8];
    s.Cp[3] = D[3];
    s.Cp[4] = D[6];
    s.Cp[5] = D[7];
    return ierr;
}

i32 gaussPoints(const Kind& kind, const i32* key) noexcept {
    if (kind.code == 42) return 4;
    return key[26] != 0 ? key[26] : kind.gauss;
}

i32 stiffness(const Kind& kind, i32 e, const i32* key, Scratch& s, i32 lunit, i32 ipsw) {
    i32 ierr = 0;
    switch (kind.code) {
    case 31:
        PCST31(s.EK, s.D, s.X, s.Y, (s.T[0] + s.T[1] + s.T[2]) / 3.0, e, lunit, ipsw, ierr);
        break;
    case 32:
        LST31(s.EK, s.D, s.X, s.Y, s.T, e, lunit, ipsw, ierr);
        break;
    case 33:
        PQST31(s.EK, s.G, s.CKI, s.W1, s.D, s.X, s.Y, s.T, s.W2, e, lunit, ipsw, ierr);
        break;
    case 41:
    case 44:
    case 46:
        QUAD_Sm(s.Cp, s.X, s.Y, s.T, kind.flags, kind.nedof, gaussPoints(kind, key), 0, s.EK, s.CD, ierr);
        break;
    case 42:
        Q6_Sm(s.Cp, s.X, s.Y, s.T, s.EK, ierr);
        break;
    case 61:
        T6_Sm(s.EK, s.D, s.X, s.Y, s.T, e, lunit, ierr);
        break;
    case 65:
        DKT_Sm(s.EK, s.D, s.X, s.Y, s.T, e, lunit, ierr);
        break;
    case 66:
        TEBA31(s.EK, s.RR, s.D, s.X, s.Y, s.T, e, lunit, ipsw, ierr);
        break;
    case 75:
        T15_k(s.EK, s.D, s.X, s.Y, s.T, e, lunit, ierr);
        break;
    default:  // 81, 85
        if (key[26] == 2)
            HTBA31(s.EK, s.D, s.X, s.Y, s.T, kind.nedof, e, lunit, ipsw, ierr);
        else
            HTBN31(s.EK, s.D, s.X, s.Y, s.T, kind.nedof, e, lunit, ipsw, ierr);
        break;
    }
    return ierr;
}

void echoCorners(i32 e, const ModelTables& t, const Scratch& s, i32 lunit) {
    if (lunit < 1) return;
    fwrite(lunit, kEchoHead, {e});
    const i32 first = t.MPELND[std::size_t(e - 1)];
    for (i32 k = 0; k < 3; ++k)
        fwrite(lunit, kEchoCorner, {t.MELNOD[std::size_t(first - 1 + k)], s.X[k], s.Y[k], s.T[k]});
}

void addDofLoad(i32 dof, double value, const ModelTables& t, const EquationTables& eq, double* SYSR) {
    const i32 k = eq.MDOFEQ[std::size_t(dof - 1)];
    if (k > 0) {
        SYSR[k - 1] += value;
        return;
    }
    if (k == 0) return;
    const i32 c = -k;
    for (i32 p = t.MPMCEQ[std::size_t(c - 1)] + 1; p < t.MPMCEQ[std::size_t(c)]; ++p) {
        const i32 m = eq.MDOFEQ[std::size_t(t.MCQDOF[std::size_t(p - 1)] - 1)];
        if (m > 0) SYSR[m - 1] += t.CQCOEF[std::size_t(p - 1)] * value;
    }
}

double nodeAngle(const double* nodal, i32 n) noexcept {
    const double a = nodal[std::size_t(n - 1) * kNodalRows + 2];
    return std::fabs(a) > kZeroAngle ? a : 0.0;
}

void springForces(const i32* key, const double* U, double* springs, const double* nodal, const ModelTables& t) {
    if (springs == nullptr) return;
    const i32 nanod = i32(t.MNDPTR.size()) - 1;
    for (i32 r = 0; r < key[6]; ++r) {
        double* row = springs + 3 * std::size_t(r);
        const i32 node = nearestInt(row[0]), dof = nearestInt(row[1]);
        double value = 0.0;
        if (node >= 1 && node <= nanod) {
            const i32 first = t.MNDPTR[std::size_t(node - 1)];
            const i32 ndof = t.MNDPTR[std::size_t(node)] - first;
            if (dof >= 1 && dof <= ndof) {
                double v[6] = {};
                const i32 n = ndof < 6 ? ndof : 6;
                for (i32 i = 0; i < n; ++i) v[i] = U[first - 1 + i];
                // The spring acts along the node's own axes.
                if (const double a = nodeAngle(nodal, node); a != 0.0 && ndof <= 6) {
                    i32 ierr = 0;
                    TRNSV(v, ndof, a, key[9], 2, 0, ierr);
                }
                value = dof <= 6 ? v[dof - 1] : U[first - 1 + dof - 1];
            }
        }
        row[2] *= value;
    }
}

void turnTriple(double* v, double a) noexcept {
    if (!(std::fabs(a) > kZeroAngle)) return;
    const double c = std::cos(a), s = std::sin(a);
    const double xx = v[0], yy = v[1], xy = v[2];
    v[0] = c * c * xx + s * s * yy + 2.0 * s * c * xy;
    v[1] = s * s * xx + c * c * yy - 2.0 * s * c * xy;
    v[2] = (c * c - s * s) * xy + s * c * (yy - xx);
}

} // namespace solvika::elwork

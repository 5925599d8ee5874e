// Membrane stress recovery: stresses at the stress points of every element,
// reactions K u - F and spring forces.
#include "solver/analysis/element_steps.h"

#include "solver/analysis/eldata.h"
#include "solver/analysis/elwork.h"
#include "solver/analysis/errmsg.h"
#include "solver/elements/membrane.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/cancel.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace solvika {

namespace {

using namespace elwork;

void fail(std::int32_t* status, i32 code, i32 v2, i32 v3, i32 lunit) {
    status[0] = code;
    status[1] = v2;
    status[2] = v3;
    ERRMSG(status, lunit);
}

i32 stressPoints(i32 code) { return code < 33 ? 3 : code == 33 ? 4 : 5; }

// sig (3) = S (3 x n) u (+ SC (3 x 2) t when SC is given).
void apply(const double* S, const double* u, i32 n, const double* SC, const double* t, double* sig) {
    for (i32 r = 0; r < 3; ++r) {
        double sum = 0.0;
        for (i32 j = 0; j < n; ++j) sum += S[r + 3 * j] * u[j];
        if (SC != nullptr) sum += SC[r] * t[0] + SC[r + 3] * t[1];
        sig[r] = sum;
    }
}

} // namespace

void MEMSTR(const std::int32_t* key, const double* U, const std::int32_t* topology, double* elementData,
            double* springs, double* nodal, const double* material, double* W, std::int32_t lunit,
            std::int32_t* status, const ModelTables& tables, const std::vector<double>& internal,
            ResultSums& sums) {
    std::fill(status, status + kStatusSize, 0);
    sums = ResultSums{};
    const i32 code = key[9];
    const Kind* kind = kindOf(code);
    if (kind == nullptr || !kind->membrane()) return fail(status, -27, code, 0, lunit);
    const i32 nel = key[0], nanod = std::max(key[1], 0), nedof = kind->nedof;
    const std::size_t erows = std::size_t(key[19]);

    for (i32 n = 0; n < nanod; ++n) {
        sums.load[0] += W[2 * n];
        sums.load[1] += W[2 * n + 1];
    }
    std::transform(W, W + 2 * std::size_t(nanod), W, [](double x) { return -x; });

    const i32 npts = stressPoints(code);
    const i32 stride = code == 33 ? 6 : 2;
    const double a = key[27] != 0 ? 0.5773502691896258 : 1.0;
    const double XI[5] = {-a, a, a, -a, 0.0}, ETA[5] = {-a, -a, a, a, 0.0};
    const bool quad = kind->quad();
    const i32 ipsw = key[29] - 3;
    const auto s = std::make_unique<Scratch>();
    double u[kMaxDof], S[3 * 18], SC[6], sig[5][3], eps[12], F[8];
    const double zeroPair[2] = {0.0, 0.0};

    for (i32 e = 1; e <= nel; ++e) {
        checkCancel();
        i32 count = 0;
        GETELV(U, tables.MNDPTR.data(), tables.MPELND.data(), tables.MELNOD.data(), e, u, count);
        if (gather(*kind, e, key, topology, elementData, material, nodal, tables, *s, lunit) < 0)
            return fail(status, -15, e, code, lunit);
        double* column = elementData + std::size_t(e - 1) * erows;
        const double elementAngle = column[0];
        i32 hasStrain = 0;
        ELMEPS(column, s->X, s->Y, kind->corners, eps, hasStrain);
        if (stiffness(*kind, e, key, *s, lunit, ipsw) < 0) return fail(status, -15, e, code, lunit);
        if (code == 42) {
            // The Q6 driver reads the field from the column: before the
            // stresses replace it.
            i32 ierr = 0;
            Q6EPS(column, s->D, s->X, s->Y, s->T, nedof, 2, u, lunit, F, ierr);
            if (ierr < 0) return fail(status, -24, e, code, lunit);
        }

        // Reactions: the u and v rows of K times the element's values.
        const i32 first = tables.MPELND[std::size_t(e - 1)];
        const i32 nodes = tables.MPELND[std::size_t(e)] - first;
        for (i32 k = 0; k < nodes; ++k) {
            const i32 m = tables.MELNOD[std::size_t(first - 1 + k)];
            for (i32 c = 0; c < 2; ++c) {
                const i32 p = stride * k + c;
                double sum = 0.0;
                for (i32 j = 0; j < nedof; ++j) sum += s->EK[p + std::size_t(j) * nedof] * u[j];
                W[2 * std::size_t(m - 1) + c] += sum;
            }
        }

        const double* t = internal.size() >= 2 * std::size_t(e) ? internal.data() + 2 * std::size_t(e - 1) : zeroPair;
        i32 ierr = 0;
        switch (code) {
        case 31:
            CST_Str(S, s->D, s->X, s->Y);
            apply(S, u, nedof, nullptr, t, sig[0]);
            std::copy(sig[0], sig[0] + 3, sig[1]);
            std::copy(sig[0], sig[0] + 3, sig[2]);
            break;
        case 32:
        case 33:
            for (i32 p = 0; p < npts; ++p) {
                const double third = 1.0 / 3.0;
                const double AL[3] = {p == 3 ? third : p == 0 ? 1.0 : 0.0, p == 3 ? third : p == 1 ? 1.0 : 0.0,
                                      p == 3 ? third : p == 2 ? 1.0 : 0.0};
                if (code == 32) {
                    LST_Str(S, s->D, s->X, s->Y, AL);
                    apply(S, u, nedof, nullptr, t, sig[p]);
                } else {
                    QST_Str(S, SC, s->G, s->CKI, s->D, s->X, s->Y, AL);
                    apply(S, u, nedof, SC, t, sig[p]);
                }
            }
            break;
        case 42: {
            double SIG[15];
            Q6_Str(F, s->X, s->Y, s->T, XI, ETA, 5, SIG, ierr);
            if (ierr < 0) return fail(status, -28, e, code, lunit);
            for (i32 p = 0; p < 5; ++p) std::copy(SIG + 3 * p, SIG + 3 * p + 3, sig[p]);
            break;
        }
        default:  // 41, 44, 46
            for (i32 p = 0; p < 5; ++p) {
                QUAD_Str(S, SC, s->Cp, s->X, s->Y, XI[p], ETA[p], kind->flags, nedof, s->CD, ierr);
                if (ierr < 0) return fail(status, -28, e, code, lunit);
                apply(S, u, nedof, code == 46 ? SC : nullptr, t, sig[p]);
            }
            break;
        }

        // Gauss-point values extrapolated to the corners.
        if (quad && key[27] >= 1)
            for (i32 c = 0; c < 3; ++c) {
                const double g[4] = {sig[0][c], sig[1][c], sig[2][c], sig[3][c]};
                for (i32 i = 0; i < 4; ++i)
                    sig[i][c] = 1.866025404 * g[i] - 0.5 * (g[(i + 1) % 4] + g[(i + 3) % 4]) +
                                0.133974596 * g[(i + 2) % 4];
                sig[4][c] = 0.25 * (g[0] + g[1] + g[2] + g[3]);
            }

        // Initial strains: the stresses are D (eps - eps0).
        if (hasStrain != 0 && code != 42) {
            const i32 nc = kind->corners;
            double mean[3] = {0.0, 0.0, 0.0};
            for (i32 i = 0; i < nc; ++i)
                for (i32 c = 0; c < 3; ++c) mean[c] += eps[3 * i + c] / nc;
            for (i32 p = 0; p < npts; ++p) {
                const double* e0 = (code == 31 || p >= nc) ? mean : eps + 3 * p;
                for (i32 r = 0; r < 3; ++r)
                    sig[p][r] -= s->D[r] * e0[0] + s->D[r + 3] * e0[1] + s->D[r + 6] * e0[2];
            }
        }

        if (key[22] >= 1) {
            double sn = 0.0, cs = 0.0;
            const i32 nc = kind->corners;
            for (i32 i = 0; i < nc; ++i) {
                const double ai = nodal[std::size_t(tables.MELNOD[std::size_t(first - 1 + i)] - 1) * kNodalRows + 2];
                sn += std::sin(ai);
                cs += std::cos(ai);
            }
            // Beyond the corners, the circular mean of the corners' angles.
            const double centre = std::atan2(sn, cs);
            for (i32 p = 0; p < npts; ++p) {
                double angle = elementAngle;
                if (key[22] == 1)
                    angle = p < nc ? nodal[std::size_t(tables.MELNOD[std::size_t(first - 1 + p)] - 1) * kNodalRows + 2]
                                   : centre;
                turnTriple(sig[p], angle);
            }
        }
        for (i32 p = 0; p < npts; ++p) std::copy(sig[p], sig[p] + 3, column + 3 * p);
    }

    springForces(key, U, springs, nodal, tables);
    for (i32 n = 0; n < nanod; ++n) {
        sums.reaction[0] += W[2 * n];
        sums.reaction[1] += W[2 * n + 1];
        nodal[std::size_t(n) * kNodalRows + 2] = W[2 * n];
        nodal[std::size_t(n) * kNodalRows + 3] = W[2 * n + 1];
    }
}

} // namespace solvika

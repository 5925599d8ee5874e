// Element gather, elasticity matrix and the store of the nodal solution.
#include "solver/analysis/eldata.h"

#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cmath>

namespace solvika {

namespace {

using i32 = std::int32_t;

constexpr i32 kNodalRows = 4;
constexpr i32 kMaterialRows = 7;
constexpr double kZeroAngle = 1.0e-8;

const Layout kInvalidMaterial("/ 5X 'Invalid material' I4 ' for element' I6 ' : E1, E2, nu, G =' 1P 4E12.4");

// Plane strain needs one isotropic material; a relative difference of the
// two moduli above this counts as orthotropic.
constexpr double kIsotropicTolerance = 1.0e-6;

bool validPlaneStrain(double E1, double E2, double nu) {
    return E1 > 0.0 && std::fabs(E1 - E2) <= kIsotropicTolerance * std::max(std::fabs(E1), std::fabs(E2)) &&
           nu > -1.0 && nu < 0.5;
}

bool validPlaneStress(double E1, double E2, double nu, double G) {
    return E1 > 0.0 && E2 > 0.0 && G > 0.0 && E1 - E2 * nu * nu > 0.0 && std::isfinite(E1) &&
           std::isfinite(E2) && std::isfinite(nu) && std::isfinite(G);
}

} // namespace

void ELMXYT(std::int32_t e, std::int32_t n, std::int32_t NCODE, std::int32_t ELROWS, const double* elementData,
            const double* nodal, const std::int32_t* MPELND, const std::int32_t* MELNOD, double* X, double* Y,
            double* T) {
    const std::int32_t* nodes = MELNOD + (MPELND[e - 1] - 1);
    const double* column = elementData + std::size_t(e - 1) * std::size_t(ELROWS);
    for (i32 k = 0; k < n; ++k) {
        const double* xy = nodal + std::size_t(nodes[k] - 1) * kNodalRows;
        X[k] = xy[0];
        Y[k] = xy[1];
        T[k] = k + 1 < ELROWS ? column[k + 1] : 0.0;
    }
    if (NCODE == 8)
        for (i32 k = n; k < n + 4; ++k) {
            const double* xy = nodal + std::size_t(nodes[k] - 1) * kNodalRows;
            X[k - n + 4] = xy[0];
            Y[k - n + 4] = xy[1];
        }
}

void ELMDAT(std::int32_t e, std::int32_t PSTRAIN, std::int32_t n, std::int32_t NCODE, std::int32_t TOPROWS,
            std::int32_t ELROWS, std::int32_t NMAT, const std::int32_t* topology, const double* elementData,
            const double* material, const double* nodal, const std::int32_t* MPELND, const std::int32_t* MELNOD,
            double* D, double* X, double* Y, double* T, std::int32_t LUNIT, std::int32_t& IERR) {
    IERR = 0;
    ELMXYT(e, n, NCODE, ELROWS, elementData, nodal, MPELND, MELNOD, X, Y, T);
    std::fill(D, D + 9, 0.0);

    const i32 m = topology[std::size_t(e - 1) * std::size_t(TOPROWS)];
    double E1 = 0.0, E2 = 0.0, nu = 0.0, G = 0.0;
    bool valid = m >= 1 && m <= NMAT;
    if (valid) {
        const double* mat = material + std::size_t(m - 1) * kMaterialRows;
        E1 = mat[0];
        E2 = mat[1];
        nu = mat[2];
        G = mat[3];
        valid = PSTRAIN == 1 ? validPlaneStrain(E1, E2, nu) : validPlaneStress(E1, E2, nu, G);
    }
    if (!valid) {
        if (LUNIT > 0) fwrite(LUNIT, kInvalidMaterial, {m, e, E1, E2, nu, G});
        IERR = -9;
        return;
    }

    if (PSTRAIN == 1) {
        const double f = E1 / ((1.0 + nu) * (1.0 - 2.0 * nu));
        D[0] = D[4] = f * (1.0 - nu);
        D[1] = D[3] = f * nu;
        D[8] = f * (1.0 - 2.0 * nu) / 2.0;
        return;
    }

    const double k = E1 / (E1 - E2 * nu * nu);
    const double Q11 = k * E1, Q12 = k * nu * E2, Q22 = k * E2, Q66 = G;
    const double a = elementData[std::size_t(e - 1) * std::size_t(ELROWS)];
    if (!(std::fabs(a) > kZeroAngle)) {
        D[0] = Q11;
        D[1] = D[3] = Q12;
        D[4] = Q22;
        D[8] = Q66;
        return;
    }
    double c = std::cos(a), s = std::sin(a);
    if (!std::isfinite(c) || !std::isfinite(s)) {
        c = 1.0;
        s = 0.0;
    }
    const double c2 = c * c, s2 = s * s, sc = s * c, s2c2 = s2 * c2, d = c2 - s2;
    D[0] = Q11 * c2 * c2 + Q22 * s2 * s2 + 2.0 * s2c2 * Q12 + 4.0 * s2c2 * Q66;
    D[4] = Q11 * s2 * s2 + Q22 * c2 * c2 + 2.0 * s2c2 * Q12 + 4.0 * s2c2 * Q66;
    D[1] = D[3] = (Q11 + Q22 - 4.0 * Q66) * s2c2 + (s2 * s2 + c2 * c2) * Q12;
    D[2] = D[6] = sc * (c2 * Q11 - d * Q12 - s2 * Q22 - 2.0 * d * Q66);
    D[5] = D[7] = sc * (s2 * Q11 + d * Q12 - c2 * Q22 + 2.0 * d * Q66);
    D[8] = d * d * Q66 + (Q11 - 2.0 * Q12 + Q22) * s2c2;
}

void STORSL(double* nodal, const double* SV, const std::int32_t* key, const std::int32_t* MNDPTR,
            const std::int32_t* MPELND, const std::int32_t* MELNOD) {
    const i32 nel = key[0], nanod = key[1], code = key[9];
    auto column = [&](i32 node) { return nodal + std::size_t(node - 1) * kNodalRows; };

    if (code < 60) {
        for (i32 node = 1; node <= nanod; ++node) {
            const i32 first = MNDPTR[node - 1];
            if (MNDPTR[node] - first < 2) continue;
            double* col = column(node);
            col[0] = SV[first - 1];
            col[1] = SV[first];
        }
        return;
    }

    if (code == 61) {
        // One DOF per node: the deflection at the corners, a rotation at
        // the side nodes.
        for (i32 e = 1; e <= nel; ++e) {
            const i32 first = MPELND[e - 1], count = std::min(MPELND[e] - first, 6);
            for (i32 k = 0; k < count; ++k) {
                const i32 node = MELNOD[first - 1 + k];
                const i32 dof = MNDPTR[node - 1];
                if (MNDPTR[node] - dof < 1) continue;
                const double value = SV[dof - 1];
                double* col = column(node);
                col[0] = k < 3 ? value : 0.0;
                col[1] = k < 3 ? 0.0 : value;
                col[2] = 0.0;
            }
        }
        return;
    }

    for (i32 node = 1; node <= nanod; ++node) {
        const i32 first = MNDPTR[node - 1], count = MNDPTR[node] - first;
        const double* v = SV + (first - 1);
        double* col = column(node);
        switch (count) {
        case 6:
        case 3:
            col[0] = v[0];
            col[1] = v[1];
            col[2] = v[2];
            break;
        case 2:
            col[0] = v[0];
            col[1] = v[1];
            col[2] = 0.0;
            break;
        case 1:
            if (code != 85) continue;
            col[0] = 0.0;
            col[1] = v[0];
            col[2] = 0.0;
            break;
        default:
            continue;
        }
        if (code == 66) {
            const double row2 = col[1];
            col[1] = -col[2];
            col[2] = row2;
        }
    }
}

} // namespace solvika

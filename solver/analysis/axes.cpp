// Node-axis transformations of element matrices, element vectors and the
// values of one node.
#include "solver/analysis/eldata.h"

#include "solver/analysis/errmsg.h"
#include "solver/linalg/dense.h"

#include <algorithm>
#include <cmath>

namespace solvika {

namespace {

using i32 = std::int32_t;

constexpr i32 kNodalRows = 4;
constexpr double kZeroAngle = 1.0e-8;

// The first bending code; codes below it are membrane codes.
constexpr i32 kFirstBendingCode = 60;

// Column-major transformation blocks of one angle.
struct Blocks {
    double R2[4];
    double R3[9];
    double R3reverse[9];
    double R4[16];

    explicit Blocks(double angle) {
        double c = std::cos(angle), s = std::sin(angle);
        if (!std::isfinite(c) || !std::isfinite(s)) {
            c = 1.0;
            s = 0.0;
        }
        // (c, -s), (s, c) by rows.
        R2[0] = c;
        R2[1] = s;
        R2[2] = -s;
        R2[3] = c;
        // R4 = R2 x R2 (Kronecker product).
        for (int i1 = 0; i1 < 2; ++i1)
            for (int i2 = 0; i2 < 2; ++i2)
                for (int j1 = 0; j1 < 2; ++j1)
                    for (int j2 = 0; j2 < 2; ++j2)
                        R4[(2 * i1 + i2) + 4 * (2 * j1 + j2)] = R2[i1 + 2 * j1] * R2[i2 + 2 * j2];
        curvature(R3, c, s);
        curvature(R3reverse, c, -s);
    }

    // (c^2, -2cs, s^2), (cs, c^2 - s^2, -cs), (s^2, 2cs, c^2) by rows.
    static void curvature(double* R, double c, double s) {
        const double c2 = c * c, s2 = s * s, cs = c * s;
        R[0] = c2;
        R[1] = cs;
        R[2] = s2;
        R[3] = -2.0 * cs;
        R[4] = c2 - s2;
        R[5] = 2.0 * cs;
        R[6] = s2;
        R[7] = -cs;
        R[8] = c2;
    }
};

// Turns the DOF blocks of element e's nodes that have an angle: the matrix
// A (N x N) when `vector` is false, else the vector A (N) with direction
// IDIR. Returns the kernel's flag.
i32 turnElement(bool vector, i32 e, i32 code, const double* nodal, double* A, i32 N, i32 IDIR,
                const i32* MNDPTR, const i32* MPELND, const i32* MELNOD, i32 LUNIT) {
    const i32 first = MPELND[e - 1];
    i32 count = MPELND[e] - first;
    if (code == 75 || code == 85) count = std::min(count, 3);  // corner nodes only
    const bool bending = code > kFirstBendingCode;
    double W[4];
    i32 ierr = 0;
    auto apply = [&](const double* T, i32 n, i32 k) {
        if (vector)
            VECTRA(T, A, W, N, n, k, IDIR, LUNIT, ierr);
        else
            MATTRA(T, A, W, N, n, k, LUNIT, ierr);
        return ierr;
    };
    i32 pos = 1;  // element DOF of the node's first DOF
    for (i32 k = 0; k < count; ++k) {
        const i32 node = MELNOD[first - 1 + k];
        const i32 ndof = MNDPTR[node] - MNDPTR[node - 1];
        const double angle = nodal[std::size_t(node - 1) * kNodalRows + 2];
        if (std::fabs(angle) > kZeroAngle) {
            const Blocks b(angle);
            if (bending) {
                // Fewer than 3 DOFs: the node carries scalars only.
                if (ndof >= 3 && apply(b.R2, 2, pos + 1) < 0) return ierr;
                if (ndof == 6 && apply(b.R3, 3, pos + 3) < 0) return ierr;
            } else {
                if (apply(b.R2, 2, pos) < 0) return ierr;
                if (ndof == 6 && apply(b.R4, 4, pos + 2) < 0) return ierr;
            }
        }
        pos += ndof;
    }
    return 0;
}

void fail(std::int32_t* status, i32 code, i32 e, i32 LUNIT) {
    status[0] = code;
    status[1] = e;
    ERRMSG(status, LUNIT);
}

} // namespace

void TRNSK(std::int32_t e, std::int32_t code, const double* nodal, double* EK, std::int32_t N,
           const std::int32_t* MNDPTR, const std::int32_t* MPELND, const std::int32_t* MELNOD, std::int32_t LUNIT,
           std::int32_t* status) {
    std::fill(status, status + kStatusSize, 0);
    if (turnElement(false, e, code, nodal, EK, N, 1, MNDPTR, MPELND, MELNOD, LUNIT) < 0) fail(status, -13, e, LUNIT);
}

void TRNSS(std::int32_t e, std::int32_t code, const double* nodal, double* EV, std::int32_t N, std::int32_t IDIR,
           const std::int32_t* MNDPTR, const std::int32_t* MPELND, const std::int32_t* MELNOD, std::int32_t LUNIT,
           std::int32_t* status) {
    std::fill(status, status + kStatusSize, 0);
    if (turnElement(true, e, code, nodal, EV, N, IDIR, MNDPTR, MPELND, MELNOD, LUNIT) < 0)
        fail(status, -18, e, LUNIT);
}

void TRNSV(double* V, std::int32_t NDOF, double ANGLE, std::int32_t code, std::int32_t IDIR, std::int32_t LUNIT,
           std::int32_t& IERR) {
    IERR = 0;
    double W[4];
    if (code < kFirstBendingCode) {
        const Blocks b(ANGLE);
        VECTRA(b.R2, V, W, NDOF, 2, 1, IDIR, LUNIT, IERR);
        if (IERR == 0 && NDOF == 6) VECTRA(b.R4, V, W, NDOF, 4, 3, IDIR, LUNIT, IERR);
        return;
    }
    if (NDOF < 3) return;  // a deflection or a single rotation: no axes to turn
    const Blocks b(ANGLE);
    VECTRA(b.R2, V, W, NDOF, 2, 2, IDIR, LUNIT, IERR);
    if (IERR == 0 && NDOF == 6) VECTRA(IDIR == 2 ? b.R3reverse : b.R3, V, W, NDOF, 3, 4, 1, LUNIT, IERR);
}

} // namespace solvika

// Helpers of the membrane loads, the list search and the CPU clock.
#include "solver/analysis/eldata.h"

#include "solver/analysis/tables.h"
#include "solver/elements/membrane.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <utility>

namespace solvika {

namespace {

using i32 = std::int32_t;

constexpr double kZero = 1.0e-8;
constexpr double kGravity = 9.81;

// Mean of the n coordinates (0 for none).
double mean(const double* v, i32 n) {
    double sum = 0.0;
    for (i32 i = 0; i < n; ++i) sum += v[i];
    return n > 0 ? sum / n : 0.0;
}

// The two components of the linear field of element-data column R at each
// of the n nodes, about their mean point.
void linearField(const double* R, const double* X, const double* Y, i32 n, double* f1, i32 inc1, double* f2,
                 i32 inc2) {
    const double xm = mean(X, n), ym = mean(Y, n);
    for (i32 i = 0; i < n; ++i) {
        const double dx = X[i] - xm, dy = Y[i] - ym;
        f1[i * inc1] = R[5] + R[7] * dx + R[8] * dy;
        f2[i * inc2] = R[6] + R[9] * dx + R[10] * dy;
    }
}

float processCpuSeconds() {
    timespec ts{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts) != 0) return 0.0f;
    return static_cast<float>(double(ts.tv_sec) + double(ts.tv_nsec) * 1.0e-9);
}

CpuClock g_clock = nullptr;

} // namespace

void ELDROW(const double* row, std::int32_t NROW, std::int32_t NCORN, std::int32_t NEL, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, std::int32_t& ISTART, std::int32_t& INEXT, std::int32_t& ISIGN, double* P,
            std::int32_t& IEL, std::int32_t& IERR) {
    IERR = 0;
    ISTART = INEXT = ISIGN = 0;
    std::fill(P, P + 6, 0.0);
    IEL = NROW >= 1 ? nearestInt(row[0]) : 0;
    const double start = NROW >= 2 ? row[1] : 0.0;
    const i32 node = nearestInt(std::fabs(start));
    i32 k = 0;
    if (IEL >= 1 && IEL <= NEL) {
        const i32 first = MPELND[IEL - 1];
        k = IFIND(node, MELNOD + (first - 1), MPELND[IEL] - first);
    }
    if (k < 1 || k > NCORN) {
        IERR = -1;
        return;
    }
    ISTART = k;
    INEXT = k == NCORN ? 1 : k + 1;
    ISIGN = start < 0.0 ? k : -k;
    const i32 values = std::min(NROW > 6 ? 8 : 6, NROW) - 2;
    for (i32 i = 0; i < values; ++i) P[i] = row[2 + i];
}

void ADDNPR(std::int32_t e, std::int32_t code, const double* V, double* W, const std::int32_t* MPELND,
            const std::int32_t* MELNOD) {
    const i32 stride = code == 33 ? 6 : 2;
    const i32 first = MPELND[e - 1], count = MPELND[e] - first;
    for (i32 k = 0; k < count; ++k) {
        const i32 node = MELNOD[first - 1 + k];
        double* w = W + 2 * std::size_t(node - 1);
        w[0] += V[stride * k];
        w[1] += V[stride * k + 1];
    }
}

void BODYLD(const double* R, double RHO, const double* X, const double* Y, std::int32_t n, double* F) {
    if (n <= 0) {
        F[0] = F[1] = 0.0;
        return;
    }
    F[0] = R[0] + R[2] * (mean(X, n) - R[4]) + R[6] * RHO * kGravity;
    F[1] = R[1] + R[3] * (mean(Y, n) - R[5]) + R[7] * RHO * kGravity;
}

std::int32_t LODCHK(const double* R) {
    for (int i : {0, 1, 2, 3, 6, 7})
        if (std::fabs(R[i]) > kZero) return -1;
    return 0;
}

void ELMEPS(const double* R, const double* X, const double* Y, std::int32_t n, double* S, std::int32_t& IFLAG) {
    IFLAG = 0;
    // A component given by its gradients alone is a field as well.
    if (std::none_of(R + 5, R + 11, [](double v) { return std::fabs(v) > kZero; })) return;
    IFLAG = 1;
    linearField(R, X, Y, n, S, 3, S + 1, 3);
    for (i32 i = 0; i < n; ++i) S[3 * i + 2] = 0.0;
    const double a = R[0];
    if (!(std::fabs(a) > kZero)) return;
    double c = std::cos(a), s = std::sin(a);
    if (!std::isfinite(c) || !std::isfinite(s)) return;  // c = 1, s = 0: nothing to turn
    const double c2 = c * c, s2 = s * s, sc = s * c;
    for (i32 i = 0; i < n; ++i) {
        double* si = S + 3 * i;
        const double e1 = si[0], e2 = si[1];
        si[0] = c2 * e1 + s2 * e2;
        si[1] = s2 * e1 + c2 * e2;
        si[2] = 2.0 * sc * (e1 - e2);
    }
}

void Q6EPS(const double* R, const double* D, const double* X, const double* Y, const double* H,
           [[maybe_unused]] std::int32_t NEDOF, std::int32_t MODE, const double* U0, std::int32_t LUNIT, double* F,
           std::int32_t& IERR) {
    IERR = 0;
    double f1[4], f2[4];
    linearField(R, X, Y, 4, f1, 1, f2, 1);
    double sum1 = 0.0, sum2 = 0.0;
    for (int i = 0; i < 4; ++i) {
        sum1 += std::fabs(f1[i]);
        sum2 += std::fabs(f2[i]);
    }
    const bool second = sum2 > sum1;
    const double* dom = second ? f2 : f1;
    const double* other = second ? f1 : f2;

    // Ratio of the other component to the dominant one: at the first corner
    // where both are clearly non-zero, else at the last corner where the
    // dominant one is.
    double ratio = 0.0;
    bool found = false;
    for (int i = 0; i < 4 && !found; ++i) {
        if (!(std::fabs(dom[i]) > kZero)) continue;
        ratio = other[i] / dom[i];
        found = std::fabs(ratio) > 1.0e-10;
    }

    constexpr double kScale = 1.0e-5;
    double f[4];
    for (int i = 0; i < 4; ++i) f[i] = dom[i] / kScale;
    const double GJ[2] = {second ? kScale * ratio : kScale, second ? kScale : kScale * ratio};
    double U[8];
    Q6_Int(f, GJ, X, Y, U, IERR);
    if (IERR < 0) return;

    const double angle = R[0];
    if (std::fabs(angle) > kZero)
        for (int i = 0; i < 4; ++i) {
            TRNSV(U + 2 * i, 2, angle, 42, 1, LUNIT, IERR);
            if (IERR < 0) return;
        }
    if (MODE == 2)
        for (int i = 0; i < 8; ++i) U[i] = U0[i] - U[i];

    const double C[6] = {D[0], D[4], D[8], D[3], D[6], D[7]};
    double K[64];
    Q6_Sm(C, X, Y, H, K, IERR);
    if (IERR < 0) return;
    for (int j = 0; j < 8; ++j) {
        double sum = 0.0;
        for (int i = 0; i < 8; ++i) sum += K[i + 8 * j] * U[i];
        F[j] = sum;
    }
}

std::int32_t IFIND(std::int32_t IVAL, const std::int32_t* LIST, std::int32_t N) {
    for (i32 i = 0; i < N; ++i)
        if (LIST[i] == IVAL) return i + 1;
    return 0;
}

float CPUSEC(float REF) { return (g_clock != nullptr ? g_clock() : processCpuSeconds()) - REF; }

CpuClock setCpuClock(CpuClock clock) { return std::exchange(g_clock, clock); }

} // namespace solvika

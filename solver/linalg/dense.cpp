// Small dense kernels of the solver library.
#include "solver/linalg/dense.h"

#include "solver/linalg/dot.h"
#include "solver/linalg/fwrite.h"

#include <cmath>

namespace solvika {

namespace {

// The "ILLEGAL MATRIX DIMENSION(S)" message shared by MATTRA and VECTRA.
void writeTransformError(bool vector, std::int32_t M, std::int32_t N, std::int32_t K,
                         std::int32_t LUNIT)
{
    if (LUNIT <= 0)
        return;
    if (vector) {
        static const Layout layout(
            "/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE VECTRA' / "
            "/ 5X 'ILLEGAL MATRIX DIMENSION(S) :  M, N  =' 2I8 "
            "/ 5X 'AND/OR SUBMATRIX POSITION            =' I8");
        fwrite(LUNIT, layout, {M, N, K});
    } else {
        static const Layout layout(
            "/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE MATTRA' / "
            "/ 5X 'ILLEGAL MATRIX DIMENSION(S) :  M, N =' 2I8 "
            "/ 5X 'AND/OR SUBMATRIX POSITION           =' I8");
        fwrite(LUNIT, layout, {M, N, K});
    }
}

bool badBlock(std::int32_t M, std::int32_t N, std::int32_t K)
{
    return M < 1 || N < 1 || K < 1 || std::int64_t(K) + N - 1 > M;
}

// Outcome of the dense LDL^T factorisation.
struct Pivot {
    int code = 0;        // 0 ok, 1 zero pivot, 2 stability test failed
    std::int32_t row = 0; // the failing equation
    double before = 0.0; // A(i,i) as given
    double after = 0.0;  // D(i)
};

// LDL^T factorisation of the upper triangle of A (n x n, leading dimension
// n): afterwards A(i,i) holds D(i) and A(r,i), r < i, the multiplier
// U(r,i) / D(r), so that A = V^T D V with V unit upper triangular.
// A(1,1) = 0 must have been rejected by the caller.
Pivot factorLDLT(double* A, std::int32_t n, double eps)
{
    Pivot p;
    for (std::int32_t i = 2; i <= n; ++i) {
        double* col = A + std::size_t(i - 1) * n;
        for (std::int32_t j = 2; j < i; ++j)
            col[j - 1] -= detail::dot(A + std::size_t(j - 1) * n, col, j - 1);
        double s = 0.0;
        for (std::int32_t r = 1; r < i; ++r) {
            const double t = col[r - 1];
            const double l = t / A[std::size_t(r - 1) * n + (r - 1)];
            col[r - 1] = l;
            s += l * t;
        }
        const double before = col[i - 1];
        const double d = before - s;
        col[i - 1] = d;
        if (d == 0.0 || std::fabs(d) < eps * std::fabs(before)) {
            p.code = d == 0.0 ? 1 : 2;
            p.row = i;
            p.before = before;
            p.after = d;
            return p;
        }
    }
    return p;
}

} // namespace

void MATTRA(const double* T, double* A, double* W, std::int32_t M, std::int32_t N,
            std::int32_t K, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    if (badBlock(M, N, K)) {
        IERR = -1;
        writeTransformError(false, M, N, K, LUNIT);
        return;
    }
    const std::size_t m = std::size_t(M);
    const std::int32_t k0 = K - 1;       // first block row/column, 0-based
    const std::int32_t kEnd = k0 + N;    // one past the block
    auto a = [&](std::int32_t i, std::int32_t j) -> double& { return A[i + j * m]; };
    auto t = [&](std::int32_t i, std::int32_t j) { return T[i + std::size_t(j) * N]; };

    // 1. Block part of columns K..M becomes T^T times it; beyond the block
    //    the result is mirrored into the block columns.
    for (std::int32_t j = k0; j < M; ++j) {
        const double* blk = &a(k0, j);
        for (std::int32_t c = 0; c < N; ++c)
            W[c] = detail::dot(T + std::size_t(c) * N, blk, N);
        for (std::int32_t c = 0; c < N; ++c)
            a(k0 + c, j) = W[c];
        if (j >= kEnd)
            for (std::int32_t c = 0; c < N; ++c)
                a(j, k0 + c) = W[c];
    }
    // 2. Block part of rows 1..K+N-1 becomes it times T; before the block the
    //    result is mirrored, inside it only the upper part is stored.
    for (std::int32_t r = 0; r < kEnd; ++r) {
        for (std::int32_t c = 0; c < N; ++c) {
            double s = 0.0;
            for (std::int32_t k = 0; k < N; ++k)
                s += a(r, k0 + k) * t(k, c);
            W[c] = s;
        }
        if (r < k0) {
            for (std::int32_t c = 0; c < N; ++c) {
                a(r, k0 + c) = W[c];
                a(k0 + c, r) = W[c];
            }
        } else {
            for (std::int32_t c = r - k0; c < N; ++c)
                a(r, k0 + c) = W[c];
        }
    }
    // 3. Block upper triangle into its lower triangle.
    for (std::int32_t c = k0 + 1; c < kEnd; ++c)
        for (std::int32_t r = k0; r < c; ++r)
            a(c, r) = a(r, c);
}

void VECTRA(const double* T, double* V, double* W, std::int32_t M, std::int32_t N,
            std::int32_t K, std::int32_t IFLAG, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    if (badBlock(M, N, K)) {
        IERR = -1;
        writeTransformError(true, M, N, K, LUNIT);
        return;
    }
    double* v = V + (K - 1);
    if (IFLAG == 1) {
        for (std::int32_t i = 0; i < N; ++i)
            W[i] = SCAPRD(T + i, v, N, 1, N);
    } else if (IFLAG == 2) {
        for (std::int32_t i = 0; i < N; ++i)
            W[i] = detail::dot(T + std::size_t(i) * N, v, N);
    } else {
        return;
    }
    for (std::int32_t i = 0; i < N; ++i)
        v[i] = W[i];
}

void SYMINV(double* A, double EPS, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    std::int32_t row = 0;
    if (N < 1) {
        IERR = -1;
    } else if (A[0] == 0.0) {
        IERR = -2;
        row = 1;
    } else if (N == 1) {
        A[0] = 1.0 / A[0];
        return;
    } else {
        const Pivot p = factorLDLT(A, N, EPS);
        if (p.code != 0) {
            IERR = -2;
            row = p.row;
        }
    }
    if (IERR < 0) {
        if (LUNIT >= 0) {
            static const Layout header("/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE SYMINV'");
            static const Layout dim("/ 5X 'ILLEGAL MATRIX DIMENSION  N =' I6");
            static const Layout sing("/ 5X 'SINGULAR OR NEAR-SINGULAR MATRIX  (ROW' I5 ' )'");
            fwrite(LUNIT, header);
            if (IERR == -1)
                fwrite(LUNIT, dim, {N});
            else
                fwrite(LUNIT, sing, {row});
        }
        return;
    }

    const std::size_t n = std::size_t(N);
    auto a = [&](std::int32_t i, std::int32_t j) -> double& { return A[(i - 1) + (j - 1) * n]; };
    // With A = V^T D V: V^-1 in place of V (strict upper triangle), column by
    // column; row r of column j only needs rows below it still holding V.
    for (std::int32_t j = 2; j <= N; ++j)
        for (std::int32_t r = 1; r < j; ++r)
            a(r, j) = -(a(r, j) + SCAPRD(&a(r, r + 1), &a(r + 1, j), N, 1, j - 1 - r));
    // A^-1 = V^-1 D^-1 V^-T; column c only needs columns c..N of V^-1 and
    // D(c..N), so it can overwrite itself (diagonal last).
    for (std::int32_t c = 1; c <= N; ++c) {
        for (std::int32_t r = 1; r < c; ++r) {
            double s = a(r, c) / a(c, c);
            for (std::int32_t k = c + 1; k <= N; ++k)
                s += a(r, k) * a(c, k) / a(k, k);
            a(r, c) = s;
        }
        double s = 1.0 / a(c, c);
        for (std::int32_t k = c + 1; k <= N; ++k)
            s += a(c, k) * a(c, k) / a(k, k);
        a(c, c) = s;
    }
    for (std::int32_t c = 2; c <= N; ++c)
        for (std::int32_t r = 1; r < c; ++r)
            a(c, r) = a(r, c);
}

void SOLDLT(double* A, double* B, double EPS, std::int32_t NEQ, std::int32_t NRHS,
            std::int32_t LUNIT, std::int32_t KODE, std::int32_t& IERR)
{
    IERR = 0;
    static const Layout header("/ / / ' *** ERROR return from  L I N  library routine SOLDLT'");
    if (KODE < 1 || KODE > 5 || NEQ < 1 || (NRHS < 1 && KODE >= 2)) {
        IERR = -1;
        if (LUNIT > 0) {
            static const Layout msg("5X 'Illegal parameter(s) NEQ, NRHS and/or KODE:' 3I8");
            fwrite(LUNIT, header);
            fwrite(LUNIT, msg, {NEQ, NRHS, KODE});
        }
        return;
    }
    const std::size_t n = std::size_t(NEQ);
    if (KODE <= 2) {
        Pivot p;
        if (A[0] == 0.0) {
            p.code = 1;
            p.row = 1;
        } else {
            p = factorLDLT(A, NEQ, EPS);
        }
        if (p.code != 0) {
            IERR = p.code == 1 ? -2 : -3;
            if (LUNIT > 0) {
                static const Layout zero("5X 'Zero pivot element in equation' I6");
                static const Layout near("5X 'Near-singular system detected in eq. I =' I6 "
                                         "/ 5X 'A(I,I), D(I,I) and EPS =' 1P 3E14.4");
                fwrite(LUNIT, header);
                if (p.code == 1)
                    fwrite(LUNIT, zero, {p.row});
                else
                    fwrite(LUNIT, near, {p.row, p.before, p.after, EPS});
            }
            return;
        }
        if (KODE == 1)
            return;
    }
    const bool forward = KODE == 2 || KODE == 3 || KODE == 4;
    const bool backward = KODE != 4;
    for (std::int32_t k = 0; k < NRHS; ++k) {
        double* b = B + std::size_t(k) * n;
        if (forward)
            for (std::int32_t i = 2; i <= NEQ; ++i)
                b[i - 1] -= detail::dot(A + (i - 1) * n, b, i - 1);
        if (backward) {
            for (std::int32_t i = 1; i <= NEQ; ++i)
                b[i - 1] /= A[(i - 1) * n + (i - 1)];
            for (std::int32_t i = NEQ; i >= 2; --i) {
                const double bi = b[i - 1];
                const double* col = A + (i - 1) * n;
                for (std::int32_t r = 0; r < i - 1; ++r)
                    b[r] -= col[r] * bi;
            }
        }
    }
}

double SCAPRD(const double* X, const double* Y, std::int32_t INCX, std::int32_t INCY,
              std::int32_t N)
{
    if (N <= 0)
        return 0.0;
    double s = 0.0;
    if (INCX == 1 && INCY == 1)
        return detail::dot(X, Y, N);
    std::ptrdiff_t ix = 0;
    std::ptrdiff_t iy = 0;
    const std::ptrdiff_t incx = INCX;
    const std::ptrdiff_t incy = INCY;
    std::int32_t i = 0;
    for (; i + 4 <= N; i += 4) {
        s += X[ix] * Y[iy] + X[ix + incx] * Y[iy + incy] + X[ix + 2 * incx] * Y[iy + 2 * incy] +
             X[ix + 3 * incx] * Y[iy + 3 * incy];
        ix += 4 * incx;
        iy += 4 * incy;
    }
    for (; i < N; ++i) {
        s += X[ix] * Y[iy];
        ix += incx;
        iy += incy;
    }
    return s;
}

std::int32_t MACHCN(std::int32_t code)
{
    switch (code) {
    case 1: return 5;
    case 2: return 6;
    case 3: {
        // Decimal digits: the largest k for which 1 + 10^-k still exceeds 1,
        // with 10^-k formed by successive divisions as the arithmetic does it.
        double x = 1.0;
        for (std::int32_t k = 1; k <= 50; ++k) {
            x /= 10.0;
            if (!(1.0 + x > 1.0))
                return k - 1;
        }
        return 0;
    }
    case 4: return 2147483647;
    case 5: return 308;
    case 6: return 308;
    case 7: return 32;
    case 8: return 4;
    case 9: return 2;
    default: return 0;
    }
}

void IFILL(std::int32_t* IA, std::int32_t M, std::int32_t N, std::int32_t IVAL)
{
    const std::int64_t n = std::int64_t(M) * N;
    for (std::int64_t i = 0; i < n; ++i)
        IA[i] = IVAL;
}

void RFILL(double* A, std::int32_t M, std::int32_t N, double VAL)
{
    const std::int64_t n = std::int64_t(M) * N;
    for (std::int64_t i = 0; i < n; ++i)
        A[i] = VAL;
}

void SCALEV(const double* A, double* B, std::int32_t M, std::int32_t N, double S)
{
    const std::int64_t n = std::int64_t(M) * N;
    for (std::int64_t i = 0; i < n; ++i)
        B[i] = S * A[i];
}

void COPYV(const double* A, double* B, std::int32_t M, std::int32_t N, std::int32_t KODE)
{
    const std::int64_t n = std::int64_t(M) * N;
    if (KODE < 0) {
        for (std::int64_t i = 0; i < n; ++i)
            B[i] = -A[i];
    } else {
        for (std::int64_t i = 0; i < n; ++i)
            B[i] = A[i];
    }
}

} // namespace solvika

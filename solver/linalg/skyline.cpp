// Skyline LDL^T and Cholesky solvers and skyline matrix products.
#include "solver/linalg/skyline.h"
#include "solver/linalg/cancel.h"

#include "solver/linalg/dot.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cmath>

namespace solvika {

namespace {

// Column c of a skyline matrix: its height and first stored entry (row
// top = c - height + 1; the diagonal is the last entry).
struct Column {
    std::int32_t height;
    std::int32_t top;
    std::int32_t first; // 0-based position of row top
};

inline Column column(const std::int32_t* MSKY, std::int32_t c)
{
    const std::int32_t h = c == 1 ? 1 : MSKY[c - 1] - MSKY[c - 2];
    return {h, c - h + 1, MSKY[c - 1] - h};
}

inline double diag(const double* A, const std::int32_t* MSKY, std::int32_t c)
{
    return A[MSKY[c - 1] - 1];
}

// A column may hold 1..c entries.
inline bool badHeight(std::int32_t h, std::int32_t c)
{
    return h < 1 || h > c;
}

// Forward reduction (with division by D) and/or back substitution of one
// right-hand side with an SKYSOL factorisation.
void substitute(const double* A, double* b, const std::int32_t* MSKY, std::int32_t neq,
                std::int32_t neq1, bool forward, bool backward)
{
    if (forward) {
        for (std::int32_t i = 2; i <= neq; ++i) {
            const Column c = column(MSKY, i);
            const std::int32_t hi = std::min(i - 1, neq1);
            if (c.top <= hi)
                b[i - 1] -= detail::dot(A + c.first, b + (c.top - 1), hi - c.top + 1);
        }
        for (std::int32_t i = 1; i <= neq1; ++i)
            b[i - 1] /= diag(A, MSKY, i);
    }
    if (backward) {
        for (std::int32_t i = neq; i >= 2; --i) {
            const Column c = column(MSKY, i);
            const std::int32_t hi = std::min(i - 1, neq1);
            const double bi = b[i - 1];
            const double* col = A + c.first;
            double* x = b + (c.top - 1);
            const std::int32_t n = hi - c.top + 1;
            for (std::int32_t r = 0; r < n; ++r)
                x[r] -= col[r] * bi;
        }
    }
}

// Solves U x = b in place with a FACSKY factor (back substitution).
void backCholesky(const double* A, double* b, const std::int32_t* MSKY, std::int32_t n)
{
    for (std::int32_t i = n; i >= 1; --i) {
        const Column c = column(MSKY, i);
        const double xi = b[i - 1] / A[c.first + c.height - 1];
        b[i - 1] = xi;
        const double* col = A + c.first;
        double* x = b + (c.top - 1);
        for (std::int32_t r = 0; r < c.height - 1; ++r)
            x[r] -= col[r] * xi;
    }
}

// Profile check of PRESKY and TSKYMB: the first column i = 2..m with
// MSKY(i) < i or a height outside 1..i, or 0.
std::int32_t badProfileColumn(const std::int32_t* MSKY, std::int32_t m)
{
    for (std::int32_t i = 2; i <= m; ++i)
        if (MSKY[i - 1] < i || badHeight(MSKY[i - 1] - MSKY[i - 2], i))
            return i;
    return 0;
}

void writeProductError(bool transposed, std::int32_t ierr, std::int32_t a, std::int32_t b,
                       std::int32_t c, std::int32_t LUNIT)
{
    if (LUNIT <= 0)
        return;
    static const Layout presky("/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE PRESKY'");
    static const Layout tskymb("/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE TSKYMB'");
    static const Layout params("/ 5X 'ILLEGAL PARAMETER(S) :  M, N, IFLAG =' 3I8");
    static const Layout profile("/ 5X 'MSKY IN ERROR :  I, MSKY(I-1), MSKY(I) =' 3I8");
    fwrite(LUNIT, transposed ? tskymb : presky);
    fwrite(LUNIT, ierr == -1 ? params : profile, {a, b, c});
}

} // namespace

void SKYSOL(double* A, double* B, const std::int32_t* MSKY, double EPS, std::int32_t NEQ,
            std::int32_t NEQ1, std::int32_t NRHS, std::int32_t LUNIT, std::int32_t IFLAG,
            std::int32_t& INEG, std::int32_t& IERR)
{
    IERR = 0;
    std::int32_t row = 0;
    double before = 0.0;
    double after = 0.0;
    if (NEQ < 1 || NEQ1 < 1 || NEQ1 > NEQ || IFLAG < 1 || IFLAG > 6) {
        IERR = -1;
    } else if (IFLAG <= 3) {
        if (A[0] == 0.0) {
            IERR = -3;
            row = 1;
        }
        for (std::int32_t i = 2; i <= NEQ && IERR == 0; ++i) {
            const Column c = column(MSKY, i);
            double* col = A + c.first;
            if (c.height == 1) {
                if (col[0] == 0.0) {
                    IERR = -3;
                    row = i;
                    break;
                }
            } else if (badHeight(c.height, i)) {
                IERR = -2;
                row = i;
                break;
            }
            // Reduce the column against the columns of the rows above it;
            // only rows up to NEQ1 take part in the elimination.
            for (std::int32_t j = c.top + 1; j < i; ++j) {
                const Column cj = column(MSKY, j);
                const std::int32_t lo = std::max(c.top, cj.top);
                const std::int32_t hi = std::min(j - 1, NEQ1);
                if (lo <= hi)
                    col[j - c.top] -=
                        detail::dot(A + cj.first + (lo - cj.top), col + (lo - c.top), hi - lo + 1);
            }
            double s = 0.0;
            const std::int32_t last = std::min(i - 1, NEQ1);
            for (std::int32_t r = c.top; r <= last; ++r) {
                const double t = col[r - c.top];
                const double l = t / diag(A, MSKY, r);
                col[r - c.top] = l;
                s += l * t;
            }
            const double aii = col[c.height - 1];
            const double d = aii - s;
            col[c.height - 1] = d;
            if (i <= NEQ1 && (d == 0.0 || std::fabs(d) < EPS * std::fabs(aii))) {
                IERR = d == 0.0 ? -3 : -4;
                row = i;
                before = std::fabs(aii);
                after = std::fabs(d);
            }
        }
        if (IERR == 0) {
            std::int32_t negative = 0;
            for (std::int32_t i = 1; i <= NEQ; ++i)
                if (diag(A, MSKY, i) < 0.0)
                    ++negative;
            INEG = negative;
        } else {
            INEG = row;
        }
    }

    if (IERR < 0) {
        if (LUNIT >= 0) {
            static const Layout header("/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE SKYSOL'");
            fwrite(LUNIT, header);
            if (IERR == -1) {
                static const Layout l("/ 5X 'ILLEGAL PARAMETER(S) :  NEQ    NEQ1    NRHS   IFLAG' "
                                      "/ I32 I8 I8 I8");
                fwrite(LUNIT, l, {NEQ, NEQ1, NRHS, IFLAG});
            } else if (IERR == -2) {
                static const Layout l("/ 5X 'INCORRECT ENTRIES IN MSKY :  J   MSKY(J-1)  MSKY(J)' "
                                      "/ I35 I11 I9");
                fwrite(LUNIT, l, {row, MSKY[row - 2], MSKY[row - 1]});
            } else if (IERR == -3) {
                static const Layout l("/ 5X 'ZERO PIVOT ELEMENT IN EQUATION' I6");
                fwrite(LUNIT, l, {row});
            } else {
                static const Layout l("/ 5X 'EQUATION' I6 '  FAILED THE STABILITY TEST' "
                                      "/ 5X 'EPS =' 1P E12.4 5X 'A(I,I) =' 1P E12.4 "
                                      "5X 'D(I,I) =' 1P E12.4");
                fwrite(LUNIT, l, {row, EPS, before, after});
            }
        }
        return;
    }
    if (IFLAG == 1)
        return;

    const bool forward = IFLAG >= 2 && IFLAG <= 5;
    const bool backward = IFLAG == 3 || IFLAG == 4 || IFLAG == 6;
    for (std::int32_t k = 0; k < NRHS; ++k)
        substitute(A, B + std::size_t(k) * NEQ, MSKY, NEQ, NEQ1, forward, backward);
}

void FACSKY(double* A, const std::int32_t* MSKY, double EPS, std::int32_t N, std::int32_t LUNIT,
            std::int32_t& IEQ, std::int32_t& IERR)
{
    IERR = 0;
    IEQ = 0;
    if (N < 1) {
        IERR = -1;
    } else if (A[0] <= 0.0) {
        IERR = -2;
        IEQ = 1;
    } else {
        A[0] = std::sqrt(A[0]);
        for (std::int32_t j = 2; j <= N; ++j) {
            checkCancel();
            const Column c = column(MSKY, j);
            double* col = A + c.first;
            const double d = col[c.height - 1];
            if (d <= 0.0) {
                IERR = -2;
            } else if (c.height == 1) {
                col[0] = std::sqrt(d);
                continue;
            } else if (badHeight(c.height, j)) {
                IERR = -4;
            }
            if (IERR < 0) {
                IEQ = j;
                break;
            }
            for (std::int32_t i = c.top; i < j; ++i) {
                const Column ci = column(MSKY, i);
                const std::int32_t lo = std::max(c.top, ci.top);
                double v = col[i - c.top];
                if (lo < i)
                    v -= detail::dot(A + ci.first + (lo - ci.top), col + (lo - c.top), i - lo);
                col[i - c.top] = v / A[ci.first + ci.height - 1];
            }
            const double s = d - detail::dot(col, col, c.height - 1);
            if (s <= EPS * d) {
                IERR = s > 0.0 ? -3 : -2;
                IEQ = j;
                break;
            }
            col[c.height - 1] = std::sqrt(s);
        }
    }
    if (IERR < 0 && LUNIT > 0) {
        static const Layout header("/ / / ' *** ERROR RETURN from  L I N  LIBRARY routine FACSKY'");
        fwrite(LUNIT, header);
        switch (IERR) {
        case -1: {
            static const Layout l("/ 5X 'Illegal matrix dimension:   N =' I6");
            fwrite(LUNIT, l, {N});
            break;
        }
        case -2: {
            static const Layout l("/ 5X 'Matrix is not pos.def.  (eqn.' I5 ' )'");
            fwrite(LUNIT, l, {IEQ});
            break;
        }
        case -3: {
            static const Layout l("/ 5X 'Singular or near-singular matrix  (eqn.' I5 ' )'");
            fwrite(LUNIT, l, {IEQ});
            break;
        }
        default: {
            static const Layout l("/ 5X 'Incorrect entries in MSKY :  J   MSKY(J-1)  MSKY(J)' "
                                  "/ 22X I10 I11 I9");
            fwrite(LUNIT, l, {IEQ, MSKY[IEQ - 2], MSKY[IEQ - 1]});
            break;
        }
        }
    }
}

void FWDCHL(const double* A, double* B, const std::int32_t* MSKY, std::int32_t M, std::int32_t N)
{
    for (std::int32_t k = 0; k < N; ++k) {
        double* b = B + std::size_t(k) * M;
        b[0] /= A[0];
        for (std::int32_t i = 2; i <= M; ++i) {
            const Column c = column(MSKY, i);
            const double* col = A + c.first;
            b[i - 1] = (b[i - 1] - detail::dot(col, b + (c.top - 1), c.height - 1)) /
                       col[c.height - 1];
        }
    }
}

void PRESKY(const double* A, const double* B, double* C, double* W, const std::int32_t* MSKY,
            std::int32_t M, std::int32_t N, std::int32_t KSA, std::int32_t IFLAG,
            std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    if (M < 1 || N < 1) {
        IERR = -1;
        writeProductError(false, IERR, M, N, IFLAG, LUNIT);
        return;
    }
    const bool skyline = KSA >= 1 && M > 1;
    if (skyline) {
        if (const std::int32_t i = badProfileColumn(MSKY, M)) {
            IERR = -2;
            writeProductError(false, IERR, i, MSKY[i - 2], MSKY[i - 1], LUNIT);
            return;
        }
    }
    for (std::int32_t j = 0; j < N; ++j) {
        const double* b = B + std::size_t(j) * M;
        if (skyline) {
            W[0] = A[0] * b[0];
            for (std::int32_t i = 2; i <= M; ++i) {
                const Column c = column(MSKY, i);
                const double* col = A + c.first;
                const double* bt = b + (c.top - 1);
                W[i - 1] = detail::dot(col, bt, c.height);
                const double bi = b[i - 1];
                double* w = W + (c.top - 1);
                for (std::int32_t r = 0; r < c.height - 1; ++r)
                    w[r] += col[r] * bi;
            }
        } else {
            for (std::int32_t i = 0; i < M; ++i)
                W[i] = A[i] * b[i];
        }
        double* out = C + std::size_t(j) * M;
        switch (IFLAG) {
        case 1: std::copy(W, W + M, out); break;
        case -1: for (std::int32_t i = 0; i < M; ++i) out[i] = -W[i]; break;
        case 2: for (std::int32_t i = 0; i < M; ++i) out[i] += W[i]; break;
        case -2: for (std::int32_t i = 0; i < M; ++i) out[i] -= W[i]; break;
        default: break;
        }
    }
}

void TSKYMB(const double* A, const double* B, double* C, double* W, const std::int32_t* MSKY,
            std::int32_t M, std::int32_t N, std::int32_t KSA, std::int32_t IFLAG,
            std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    if (M < 1 || N < 1 || (IFLAG != 1 && IFLAG != 2 && IFLAG != 11 && IFLAG != 22)) {
        IERR = -1;
        writeProductError(true, IERR, M, N, IFLAG, LUNIT);
        return;
    }
    const bool skyline = KSA >= 1 && M > 1;
    if (skyline) {
        if (const std::int32_t i = badProfileColumn(MSKY, M)) {
            IERR = -2;
            writeProductError(true, IERR, i, MSKY[i - 2], MSKY[i - 1], LUNIT);
            return;
        }
    }
    const bool upper = IFLAG == 1 || IFLAG == 11;
    const bool keepInW = (IFLAG == 11 || IFLAG == 22) && N == 1;
    for (std::int32_t j = 0; j < N; ++j) {
        const double* b = B + std::size_t(j) * M;
        if (!skyline) {
            for (std::int32_t i = 0; i < M; ++i)
                W[i] = A[i] * b[i];
        } else if (upper) {
            std::fill(W, W + M, 0.0);
            W[0] = A[0] * b[0];
            for (std::int32_t i = 2; i <= M; ++i) {
                const Column c = column(MSKY, i);
                const double* col = A + c.first;
                const double bi = b[i - 1];
                double* w = W + (c.top - 1);
                for (std::int32_t r = 0; r < c.height; ++r)
                    w[r] += col[r] * bi;
            }
        } else {
            W[0] = A[0] * b[0];
            for (std::int32_t i = 2; i <= M; ++i) {
                const Column c = column(MSKY, i);
                W[i - 1] = detail::dot(A + c.first, b + (c.top - 1), c.height);
            }
        }
        if (!keepInW)
            std::copy(W, W + M, C + std::size_t(j) * M);
    }
}

void SKYBSU(const double* U, double* Y, const std::int32_t* MSKY, std::int32_t N, std::int32_t NCOL)
{
    for (std::int32_t c = 0; c < NCOL; ++c)
        backCholesky(U, Y + std::size_t(c) * N, MSKY, N);
}

detail::SkylineNonzeros detail::skylineNonzeros(const double* A, const std::int32_t* MSKY, std::int32_t N)
{
    SkylineNonzeros nz;
    nz.start.reserve(std::size_t(std::max(N, 0)) + 1);
    nz.diagonal.reserve(std::size_t(std::max(N, 0)));
    nz.start.push_back(0);
    for (std::int32_t i = 1; i <= N; ++i) {
        const Column c = column(MSKY, i);
        const double* col = A + c.first;
        for (std::int32_t r = 0; r < c.height - 1; ++r)
            if (col[r] != 0.0) {
                nz.row.push_back(c.top - 1 + r);
                nz.value.push_back(col[r]);
            }
        nz.diagonal.push_back(col[c.height - 1]);
        nz.start.push_back(static_cast<std::int32_t>(nz.row.size()));
    }
    return nz;
}

namespace {

// C := A B for one vector over the nonzeros of A (as PRESKY with IFLAG 1,
// the terms of each column in its order).
void multiplyNonzeros(const detail::SkylineNonzeros& A, const double* b, double* C, std::int32_t M)
{
    for (std::int32_t i = 0; i < M; ++i) {
        const double bi = b[i];
        double s = 0.0;
        for (std::int32_t k = A.start[i]; k < A.start[i + 1]; ++k)
            s += A.value[k] * b[A.row[k]];
        C[i] = s + A.diagonal[i] * bi;
        for (std::int32_t k = A.start[i]; k < A.start[i + 1]; ++k)
            C[A.row[k]] += A.value[k] * bi;
    }
}

} // namespace

void SPSMM(const double* A, const double* B, double* X, double* Y, double* Z,
           const std::int32_t* MSKY, std::int32_t N, std::int32_t KSA, std::int32_t KSB,
           std::int32_t IFLAG, std::int32_t LUNIT, std::int32_t& IERR)
{
    detail::skylineOperator(A, B, X, Y, Z, MSKY, N, KSA, KSB, IFLAG, LUNIT, IERR, nullptr);
}

void detail::skylineOperator(const double* A, const double* B, double* X, double* Y, double* Z,
                             const std::int32_t* MSKY, std::int32_t N, std::int32_t KSA, std::int32_t KSB,
                             std::int32_t IFLAG, std::int32_t LUNIT, std::int32_t& IERR,
                             const SkylineNonzeros* nonzeros)
{
    IERR = 0;
    if (IFLAG < 1 || IFLAG > 6)
        return;
    static const Layout header("/ / / ' *** ERROR return from  L I N library routine  SPSMM'");
    const bool ok = IFLAG <= 4 ? (KSA == 2 && KSB <= 0) : (KSA == 3 && KSB >= 0);
    if (!ok) {
        IERR = -1;
        if (LUNIT > 0) {
            static const Layout l("5X 'Illegal parameter(s) - IFLAG, KSA, KSB = ' 3I5");
            fwrite(LUNIT, header);
            fwrite(LUNIT, l, {IFLAG, KSA, KSB});
        }
        return;
    }
    const std::int32_t kb = (KSB == 2 || KSB == -2) ? 0 : 1; // storage of B for the products
    switch (IFLAG) {
    case 1:
        TSKYMB(B, X, X, Z, MSKY, N, 1, kb, 2, LUNIT, IERR);
        if (IERR == 0)
            substitute(A, X, MSKY, N, N, true, true);
        break;
    case 2:
        TSKYMB(B, X, Y, Y, MSKY, N, 1, kb, 22, LUNIT, IERR);
        if (IERR == 0)
            substitute(A, Y, MSKY, N, N, true, true);
        break;
    case 3:
    case 4: {
        TSKYMB(B, X, Z, Z, MSKY, N, 1, kb, 22, LUNIT, IERR);
        if (IERR != 0)
            break;
        substitute(A, Z, MSKY, N, N, true, true);
        double* out = IFLAG == 3 ? X : Y;
        TSKYMB(B, Z, out, out, MSKY, N, 1, kb, 11, LUNIT, IERR);
        break;
    }
    case 5:
        backCholesky(A, X, MSKY, N);
        if (nonzeros && kb == 1) {
            multiplyNonzeros(*nonzeros, X, Z, N);
            std::copy(Z, Z + N, X);
        } else {
            PRESKY(B, X, X, Z, MSKY, N, 1, kb, 1, LUNIT, IERR);
        }
        if (IERR == 0)
            FWDCHL(A, X, MSKY, N, 1);
        break;
    case 6:
        std::copy(X, X + N, Z);
        backCholesky(A, Z, MSKY, N);
        if (nonzeros && kb == 1)
            multiplyNonzeros(*nonzeros, Z, Y, N);
        else
            PRESKY(B, Z, Y, Y, MSKY, N, 1, kb, 1, LUNIT, IERR);
        if (IERR == 0)
            FWDCHL(A, Y, MSKY, N, 1);
        break;
    default:
        break;
    }
    if (IERR != 0 && LUNIT > 0)
        fwrite(LUNIT, header);
}

} // namespace solvika

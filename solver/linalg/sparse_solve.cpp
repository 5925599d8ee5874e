// Substitutions with the supernodal factor, matrix products on the
// supernodal storage, the eigensolver operators and the dense expansion.
#include "solver/linalg/sparse.h"
#include "solver/linalg/sparse_common.h"
#include "solver/linalg/dot.h"
#include "solver/linalg/fwrite.h"
#include "solver/linalg/cancel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace solvika {

namespace {

using I32 = std::int32_t;
using I64 = std::int64_t;

const Layout kLenLine("/ A I8 I8 /");

inline I64 colStart(I64 r, I64 j)
{
    return j * r - j * (j - 1) / 2;
}

// The supernode structure as the loops below read it.
struct Tree {
    I32 nsup, neq;
    const I32* first;  // first[s], s = 1..NSUP+1
    const I32* rptr;   // row-list pointers
    const I32* rows;   // rows[t], 1-based
    const I32* vst;    // value starts, 1-based into the packed part
    Tree(const I32* M, const I32* MTREES, const I32* MSIFA)
        : nsup(M[11]), neq(M[8]), first(MTREES - 1), rptr(MTREES + 3 * M[11] + 2),
          rows(MSIFA - 1), vst(MSIFA + M[15] - 1)
    {
    }
};

enum class Sub { Fwd1, Bwd1, Fwd2, Bwd2 };

struct SubInfo {
    const char* name;
    const char* header;
    const char* tooShortTrees;
    const char* tooShortIfa;
};

SubInfo infoOf(Sub k)
{
    switch (k) {
    case Sub::Fwd1: return {"SPRFS1", "/ ' *** ERROR from SPRFS1'", "MTREES too small", "MSIFA too small"};
    case Sub::Fwd2: return {"SPRFS2", "/ ' *** ERROR from SPRFS2'", "MTREES too small", "MSIFA too small"};
    case Sub::Bwd1: return {"SPRBS1", "/ ' *** ERROR FROM SPRBS1'", "MTREES TOO SHORT", "MSIFA TOO SHORT"};
    case Sub::Bwd2: return {"SPRBS2", "/ ' *** ERROR FROM SPRBS2'", "MTREES TOO SHORT", "MSIFA TOO SHORT"};
    }
    return {};
}

// Asks for the values from..to in cache: the backward substitutions walk
// the supernodes down through memory, where the processor's own prefetch
// does not follow; each asks for the next block while it works on its own.
inline void prefetchBlock(const double* from, const double* to)
{
    for (const double* p = from; p < to; p += 8)
        __builtin_prefetch(p);
}

// The columns j..j+3 of a supernode's packed trapezoid of r rows, each as
// a pointer to its row 0 (col[k][i] = L(i, j + k) for i >= j + k).
struct Block4 {
    const double* col[4];
    Block4(const double* L, I64 r, I64 j)
    {
        for (I64 k = 0; k < 4; ++k)
            col[k] = L + colStart(r, j + k) - (j + k);
    }
};

// x := L^-1 x over one supernode of the Cholesky factor: its c columns of
// r rows, packed (column j holds rows j..r-1), x gathered over its rows.
// Four columns at a time: their own triangle, then every row below it with
// the four updates at once, so that the columns are read side by side from
// their diagonals down and x once for them. Each entry takes its updates in
// the order of the columns, as one column at a time gives them.
void forwardCholesky(const double* L, double* x, I64 r, I64 c)
{
    I64 j = 0;
    for (; j + 4 <= c; j += 4) {
        const Block4 b(L, r, j);
        for (I64 k = 0; k < 4; ++k) {
            x[j + k] /= b.col[k][j + k];
            for (I64 m = k + 1; m < 4; ++m)
                x[j + m] -= b.col[k][j + m] * x[j + k];
        }
        const double x0 = x[j], x1 = x[j + 1], x2 = x[j + 2], x3 = x[j + 3];
        const double *l0 = b.col[0], *l1 = b.col[1], *l2 = b.col[2], *l3 = b.col[3];
        for (I64 i = j + 4; i < r; ++i)
            x[i] = x[i] - l0[i] * x0 - l1[i] * x1 - l2[i] * x2 - l3[i] * x3;
    }
    for (; j < c; ++j) {
        const double* lj = L + colStart(r, j) - j;
        x[j] /= lj[j];
        const double xj = x[j];
        if (xj != 0.0)
            for (I64 i = j + 1; i < r; ++i)
                x[i] -= lj[i] * xj;
    }
}

// x := L^-T x over one supernode (as forwardCholesky has it), the entries
// below row c final. The last c mod 4 columns one at a time, then four
// columns at a time from the end: the products of each with the rows below
// the four (final by then), read side by side down the columns, then their
// own triangle backward.
void backwardCholesky(const double* L, double* x, I64 r, I64 c)
{
    const I64 whole = c - c % 4;
    for (I64 j = c - 1; j >= whole; --j) {
        const double* lj = L + colStart(r, j) - j;
        x[j] -= detail::dot(lj + j + 1, x + j + 1, static_cast<I32>(r - j - 1));
        x[j] /= lj[j];
    }
    for (I64 j = whole - 4; j >= 0; j -= 4) {
        const Block4 b(L, r, j);
        const double *l0 = b.col[0], *l1 = b.col[1], *l2 = b.col[2], *l3 = b.col[3];
        double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
        for (I64 i = j + 4; i < r; ++i) {
            const double xi = x[i];
            s0 += l0[i] * xi;
            s1 += l1[i] * xi;
            s2 += l2[i] * xi;
            s3 += l3[i] * xi;
        }
        x[j + 3] = (x[j + 3] - s3) / l3[j + 3];
        x[j + 2] = (x[j + 2] - s2 - l2[j + 3] * x[j + 3]) / l2[j + 2];
        x[j + 1] = (x[j + 1] - s1 - l1[j + 2] * x[j + 2] - l1[j + 3] * x[j + 3]) / l1[j + 1];
        x[j] = (x[j] - s0 - l0[j + 1] * x[j + 1] - l0[j + 2] * x[j + 2] - l0[j + 3] * x[j + 3]) / l0[j];
    }
}

template <Sub K>
void substitute(I32* MSPAR, const I32* MTREES, const I32* MSIFA, const double* SM, double* B,
                I32 LDB, I32 NRHS, double* RWORK, I32 LUNIT, I32& IERR)
{
    const SubInfo info = infoOf(K);
    I32* M = MSPAR - 1;
    IERR = 0;
    if (spx::refuse(MSPAR, 7, info.name, LUNIT, IERR))
        return;
    if (NRHS <= 0)
        return;
    const I32 nsup = M[11], neq = M[8];
    const I64 need4 = 4 * I64(nsup) + 4;
    if (M[4] < need4 || M[3] < M[15] || LDB < neq) {
        if (LUNIT > 0) {
            const Layout head(info.header);
            fwrite(LUNIT, head);
            if (M[4] < need4)
                fwrite(LUNIT, kLenLine, {info.tooShortTrees, M[4], static_cast<long long>(need4)});
            if (M[3] < M[15])
                fwrite(LUNIT, kLenLine, {info.tooShortIfa, M[3], M[15]});
            if (LDB < neq)
                fwrite(LUNIT, kLenLine, {"LDB < NEQ ", LDB, neq});
        }
        IERR = -2;
        spx::report(37, info.name, 0, 0, 0, LUNIT, IERR);
        M[1] = -2;
        return;
    }
    if (neq == 0) {
        if (K == Sub::Fwd1 || K == Sub::Bwd1)
            M[1] = 7;
        return;
    }
    const Tree T(M, MTREES, MSIFA);
    const double* P = SM + neq - 1;  // packed part, 1-based
    const bool fwd = K == Sub::Fwd1 || K == Sub::Fwd2;
    // Supernode by supernode, each right-hand side in turn: a block of the
    // factor is read from memory once for all of them (each column's
    // arithmetic is that of one right-hand side alone).
    for (I32 q = 0; q < nsup; ++q) {
        checkCancel();  // once per supernode: a stop ends the solve at once
        const I32 s = fwd ? q + 1 : nsup - q;
        const I64 r = T.rptr[s + 1] - T.rptr[s];
        const I64 c = T.first[s + 1] - T.first[s];
        const I32* rw = &T.rows[T.rptr[s]];
        const double* L = &P[T.vst[s]];
        if (!fwd && s > 1)
            prefetchBlock(&P[T.vst[s - 1]], &P[T.vst[s]]);
        for (I32 rhs = 0; rhs < NRHS; ++rhs) {
            double* b = B + I64(rhs) * LDB - 1;  // b[e], e = 1..NEQ
            double* x = RWORK;
            for (I64 i = 0; i < r; ++i)
                x[i] = b[rw[i]];
            if (K == Sub::Fwd2) {
                forwardCholesky(L, x, r, c);
            } else if (fwd) {
                for (I64 j = 0; j < c; ++j) {
                    const double* lj = L + colStart(r, j) - j;  // lj[i] = L(i, j)
                    const double xj = x[j];
                    if (xj != 0.0)
                        for (I64 i = j + 1; i < r; ++i)
                            x[i] -= lj[i] * xj;
                }
                for (I64 j = 0; j < c; ++j)
                    x[j] /= L[colStart(r, j)];
            } else if (K == Sub::Bwd2) {
                backwardCholesky(L, x, r, c);
            } else {
                for (I64 j = c - 1; j >= 0; --j) {
                    const double* lj = L + colStart(r, j) - j;
                    x[j] -= detail::dot(lj + j + 1, x + j + 1, static_cast<I32>(r - j - 1));
                }
            }
            for (I64 i = 0; i < (fwd ? r : c); ++i)
                b[rw[i]] = x[i];
        }
    }
    if (K == Sub::Fwd1 || K == Sub::Bwd1)
        M[1] = 7;
}

// W := A X for one vector (A packed trapezoids or diagonal), both
// triangles (Tri = 0), upper (1) or lower (2) triangle with the diagonal.
void product(const Tree& T, const double* A, bool diagonal, const double* X, double* W, int tri)
{
    const I32 neq = T.neq;
    if (neq == 0)
        return;
    for (I32 e = 0; e < neq; ++e)
        W[e] = 0.0;
    if (diagonal) {
        for (I32 e = 0; e < neq; ++e)
            W[e] = A[e] * X[e];
        return;
    }
    const double* x = X - 1;
    double* w = W - 1;
    const double* P = A - 1;
    for (I32 s = 1; s <= T.nsup; ++s) {
        const I64 r = T.rptr[s + 1] - T.rptr[s];
        const I64 c = T.first[s + 1] - T.first[s];
        const I32* rw = &T.rows[T.rptr[s]];
        for (I64 j = 0; j < c; ++j) {
            const double* a = &P[T.vst[s] + colStart(r, j)] - j;  // a[i] = A(i, j)
            const I32 J = rw[j];
            const double xj = x[J];
            double sum = a[j] * xj;
            if (tri != 2)  // upper part: row J gets A(i, J) x_i
                for (I64 i = j + 1; i < r; ++i)
                    sum += a[i] * x[rw[i]];
            w[J] += sum;
            if (tri != 1)  // lower part: rows i get A(i, J) x_J
                for (I64 i = j + 1; i < r; ++i)
                    w[rw[i]] += a[i] * xj;
        }
    }
}

} // namespace

spx::PackedNonzeros spx::packNonzeros(const I32* MSPAR, const I32* MTREES, const I32* MSIFA, const double* A)
{
    const I32* M = MSPAR - 1;
    const Tree T(M, MTREES, MSIFA);
    PackedNonzeros nz;
    nz.column.reserve(std::size_t(std::max(T.neq, 0)));
    nz.diagonal.reserve(std::size_t(std::max(T.neq, 0)));
    nz.start.reserve(std::size_t(std::max(T.neq, 0)) + 1);
    nz.start.push_back(0);
    const double* P = A - 1;
    for (I32 s = 1; s <= T.nsup; ++s) {
        const I64 r = T.rptr[s + 1] - T.rptr[s];
        const I64 c = T.first[s + 1] - T.first[s];
        const I32* rw = &T.rows[T.rptr[s]];
        for (I64 j = 0; j < c; ++j) {
            const double* a = &P[T.vst[s] + colStart(r, j)] - j;
            nz.column.push_back(rw[j]);
            nz.diagonal.push_back(a[j]);
            for (I64 i = j + 1; i < r; ++i)
                if (a[i] != 0.0) {
                    nz.row.push_back(rw[i]);
                    nz.value.push_back(a[i]);
                }
            nz.start.push_back(I64(nz.row.size()));
        }
    }
    return nz;
}

// The sums of product(T, A, false, X, W, 0) in the same order.
void spx::multiply(const PackedNonzeros& A, const double* X, double* W, I32 neq)
{
    for (I32 e = 0; e < neq; ++e)
        W[e] = 0.0;
    const double* x = X - 1;
    double* w = W - 1;
    const I32* row = A.row.data();
    const double* value = A.value.data();
    const std::size_t ncol = A.column.size();
    for (std::size_t k = 0; k < ncol; ++k) {
        const I32 J = A.column[k];
        const double xj = x[J];
        const I64 b = A.start[k], e = A.start[k + 1];
        double sum = A.diagonal[k] * xj;
        for (I64 t = b; t < e; ++t)
            sum += value[t] * x[row[t]];
        w[J] += sum;
        for (I64 t = b; t < e; ++t)
            w[row[t]] += value[t] * xj;
    }
}

namespace {

bool checkProduct(I32* M, I32 phase, const char* name, bool optionOk, I32 IOPT, I32 NVEC,
                  I32 LDB, I32 LUNIT, I32& IERR)
{
    if (M[1] < 0) {
        M[1] = -phase;
        IERR = -1;
        spx::report(30, name, 0, 0, 0, LUNIT, IERR);
        return false;
    }
    if (!optionOk) {
        M[1] = -phase;
        IERR = -2;
        spx::report(25, name, IOPT, NVEC, 0, LUNIT, IERR);
        return false;
    }
    if (LDB < M[8]) {
        M[1] = -phase;
        IERR = -3;
        spx::report(24, name, LDB, M[8], 0, LUNIT, IERR);
        return false;
    }
    return true;
}

} // namespace

void SPRFS1(I32* MSPAR, const I32* MTREES, const I32* MSIFA, const double* SM, double* B, I32 LDB,
            I32 NRHS, I32*, double* RWORK, I32 LUNIT, I32& IERR)
{
    substitute<Sub::Fwd1>(MSPAR, MTREES, MSIFA, SM, B, LDB, NRHS, RWORK, LUNIT, IERR);
}

void SPRBS1(I32* MSPAR, const I32* MTREES, const I32* MSIFA, const double* SM, double* B, I32 LDB,
            I32 NRHS, I32*, double* RWORK, I32 LUNIT, I32& IERR)
{
    substitute<Sub::Bwd1>(MSPAR, MTREES, MSIFA, SM, B, LDB, NRHS, RWORK, LUNIT, IERR);
}

void SPRFS2(I32* MSPAR, const I32* MTREES, const I32* MSIFA, const double* SM, double* B, I32 LDB,
            I32 NRHS, I32*, double* RWORK, I32 LUNIT, I32& IERR)
{
    substitute<Sub::Fwd2>(MSPAR, MTREES, MSIFA, SM, B, LDB, NRHS, RWORK, LUNIT, IERR);
}

void SPRBS2(I32* MSPAR, const I32* MTREES, const I32* MSIFA, const double* SM, double* B, I32 LDB,
            I32 NRHS, I32*, double* RWORK, I32 LUNIT, I32& IERR)
{
    substitute<Sub::Bwd2>(MSPAR, MTREES, MSIFA, SM, B, LDB, NRHS, RWORK, LUNIT, IERR);
}

void SPRPRM(const double* A, const double* X, double* Y, double* W, I32* MSPAR, const I32* MTREES,
            const I32* MSIFA, I32 LDB, I32 NVEC, I32 KSTOR, I32 IOPT, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    const bool ok = (IOPT == 88 && NVEC == 1) || std::abs(IOPT) == 1 || std::abs(IOPT) == 2;
    if (!checkProduct(M, 9, "SPRPRM", ok, IOPT, NVEC, LDB, LUNIT, IERR))
        return;
    const Tree T(M, MTREES, MSIFA);
    const I32 neq = T.neq;
    const double sign = IOPT < 0 ? -1.0 : 1.0;
    const bool accumulate = std::abs(IOPT) == 2;
    for (I32 v = 0; v < NVEC; ++v) {
        const double* x = X + I64(v) * LDB;
        double* y = Y + I64(v) * LDB;
        if (accumulate) {
            // W holds the current contents; the product goes through Y's
            // column as scratch only after W is read.
            for (I32 e = 0; e < neq; ++e)
                y[e] = W[e];
            product(T, A, KSTOR <= 0, x, W, 0);
            for (I32 e = 0; e < neq; ++e) {
                const double s = y[e] + sign * W[e];
                W[e] = s;
                y[e] = s;
            }
            continue;
        }
        product(T, A, KSTOR <= 0, x, W, 0);
        if (sign < 0)
            for (I32 e = 0; e < neq; ++e)
                W[e] = -W[e];
        if (!(IOPT == 88 && NVEC == 1))
            for (I32 e = 0; e < neq; ++e)
                y[e] = W[e];
    }
}

void SPRTMM(const double* A, const double* X, double* Y, double* W, I32* MSPAR, const I32* MTREES,
            const I32* MSIFA, I32 LDB, I32 NVEC, I32 KSTOR, I32 IOPT, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    const bool ok = IOPT == 1 || IOPT == 2 || ((IOPT == 11 || IOPT == 22) && NVEC == 1);
    if (!checkProduct(M, 10, "SPRTMM", ok, IOPT, NVEC, LDB, LUNIT, IERR))
        return;
    const Tree T(M, MTREES, MSIFA);
    const int tri = (IOPT == 1 || IOPT == 11) ? 1 : 2;
    for (I32 v = 0; v < NVEC; ++v) {
        product(T, A, KSTOR <= 0, X + I64(v) * LDB, W, tri);
        if (IOPT == 1 || IOPT == 2)
            for (I32 e = 0; e < T.neq; ++e)
                Y[I64(v) * LDB + e] = W[e];
    }
}

void SPRSMM(const double* SM, const double* B, double* X, double* Y, double* W, I32* MSPAR,
            const I32* MTREES, const I32* MSIFA, I32* IWORK, I32 LDB, I32 KSA, I32 KSB, I32 IFLAG,
            I32 LUNIT, I32& IERR)
{
    spx::operatorProduct(SM, B, X, Y, W, MSPAR, MTREES, MSIFA, IWORK, LDB, KSA, KSB, IFLAG, LUNIT, IERR, nullptr);
}

void spx::operatorProduct(const double* SM, const double* B, double* X, double* Y, double* W, I32* MSPAR,
                          const I32* MTREES, const I32* MSIFA, I32* IWORK, I32 LDB, I32 KSA, I32 KSB, I32 IFLAG,
                          I32 LUNIT, I32& IERR, const PackedNonzeros* nonzeros)
{
    static const Layout kHead("/ / / ' *** ERROR return from  L I N library routine  SPRSMM'");
    static const Layout kIllegal("5X 'Illegal parameter(s) - IFLAG, KSA, KSB = ' 3I5");
    IERR = 0;
    if (IFLAG < 1 || IFLAG > 6)
        return;
    const bool ok = IFLAG <= 4 ? (KSA == 2 && KSB <= 0) : (KSA == 3 && KSB >= 0);
    if (!ok) {
        IERR = -1;
        if (LUNIT > 0) {
            fwrite(LUNIT, kHead);
            fwrite(LUNIT, kIllegal, {IFLAG, KSA, KSB});
        }
        return;
    }
    const I32 neq = MSPAR[7];
    const I32 kstor = std::abs(KSB) == 2 ? 0 : 1;
    const double* Bm = kstor > 0 ? B + LDB : B;
    auto failed = [&]() {
        if (IERR != 0 && LUNIT > 0)
            fwrite(LUNIT, kHead);
        return IERR != 0;
    };
    auto solve = [&](double* v, double* work) {
        SPRFS1(MSPAR, MTREES, MSIFA, SM, v, LDB, 1, IWORK, work, LUNIT, IERR);
        if (IERR == 0)
            SPRBS1(MSPAR, MTREES, MSIFA, SM, v, LDB, 1, IWORK, work, LUNIT, IERR);
    };
    switch (IFLAG) {
    case 1:
        SPRTMM(Bm, X, X, W, MSPAR, MTREES, MSIFA, LDB, 1, kstor, 2, LUNIT, IERR);
        if (failed())
            return;
        solve(X, W);
        failed();
        return;
    case 2:
        SPRTMM(Bm, X, Y, W, MSPAR, MTREES, MSIFA, LDB, 1, kstor, 2, LUNIT, IERR);
        if (failed())
            return;
        solve(Y, W);
        failed();
        return;
    case 3:
    case 4: {
        double* out = IFLAG == 3 ? X : Y;
        SPRTMM(Bm, X, nullptr, W, MSPAR, MTREES, MSIFA, LDB, 1, kstor, 22, LUNIT, IERR);
        if (failed())
            return;
        solve(W, out);
        if (failed())
            return;
        SPRTMM(Bm, W, nullptr, out, MSPAR, MTREES, MSIFA, LDB, 1, kstor, 11, LUNIT, IERR);
        failed();
        return;
    }
    case 5:
        // X := L^-1 B L^-T X: the operator whose eigenvalues are those of
        // B x = mu A x, the mirror of the skyline operator.
        SPRBS2(MSPAR, MTREES, MSIFA, SM, X, LDB, 1, IWORK, W, LUNIT, IERR);
        if (failed())
            return;
        if (nonzeros && kstor > 0) {
            multiply(*nonzeros, X, W, neq);
            std::copy(W, W + neq, X);
        } else {
            SPRPRM(Bm, X, X, W, MSPAR, MTREES, MSIFA, LDB, 1, kstor, 1, LUNIT, IERR);
        }
        if (failed())
            return;
        SPRFS2(MSPAR, MTREES, MSIFA, SM, X, LDB, 1, IWORK, W, LUNIT, IERR);
        failed();
        return;
    case 6:
        for (I32 e = 0; e < neq; ++e)
            W[e] = X[e];
        SPRBS2(MSPAR, MTREES, MSIFA, SM, W, LDB, 1, IWORK, Y, LUNIT, IERR);
        if (failed())
            return;
        if (nonzeros && kstor > 0)
            multiply(*nonzeros, W, Y, neq);
        else
            SPRPRM(Bm, W, nullptr, Y, MSPAR, MTREES, MSIFA, LDB, 1, kstor, 88, LUNIT, IERR);
        if (failed())
            return;
        SPRFS2(MSPAR, MTREES, MSIFA, SM, Y, LDB, 1, IWORK, W, LUNIT, IERR);
        failed();
        return;
    }
}

void SPRCNV(const double* A, double* AF, I32* MSPAR, const I32* MTREES, const I32* MSIFA, I32 N,
            I32 IOPT, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    if (M[1] < 0) {
        M[1] = -11;
        IERR = -1;
        spx::report(30, "SPRCNV", 0, 0, 0, LUNIT, IERR);
        return;
    }
    if (IOPT != 1 && IOPT != 2) {
        IERR = -2;
        spx::report(26, "SPRCNV", IOPT, 0, 0, LUNIT, IERR);
        return;
    }
    const Tree T(M, MTREES, MSIFA);
    if (N < T.neq) {
        IERR = -3;
        spx::report(24, "SPRCNV", N, T.neq, 0, LUNIT, IERR);
        return;
    }
    std::fill(AF, AF + I64(N) * N, 0.0);
    auto at = [&](I32 i, I32 j) -> double& { return AF[(i - 1) + I64(j - 1) * N]; };
    if (IOPT == 2) {
        for (I32 e = 1; e <= T.neq; ++e)
            at(e, e) = A[e - 1];
        return;
    }
    if (T.neq == 0)
        return;
    const double* P = A - 1;
    for (I32 s = 1; s <= T.nsup; ++s) {
        const I64 r = T.rptr[s + 1] - T.rptr[s];
        const I64 c = T.first[s + 1] - T.first[s];
        const I32* rw = &T.rows[T.rptr[s]];
        for (I64 j = 0; j < c; ++j) {
            const double* a = &P[T.vst[s] + colStart(r, j)] - j;
            for (I64 i = j; i < r; ++i) {
                at(rw[i], rw[j]) = a[i];
                at(rw[j], rw[i]) = a[i];
            }
        }
    }
}

} // namespace solvika

// Element addition into the supernodal store, diagonal positions and the
// multifrontal LDL^T / Cholesky factorisation.
#include "solver/linalg/sparse.h"
#include "solver/linalg/cancel.h"
#include "solver/linalg/sparse_common.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace solvika {

namespace {

using I32 = std::int32_t;
using I64 = std::int64_t;

const Layout kLenLine("/ A I8 I8 /");

// Length checks of the factorisation and SPRDG1 (error 36).
bool checkFactorArrays(I32* M, const char* name, const char* header, I32 need3, I32 LUNIT,
                       I32& IERR)
{
    const I32 nsup = M[11];
    const I64 need4 = 4 * I64(nsup) + 4;
    if (M[4] >= need4 && M[3] >= need3)
        return true;
    if (LUNIT > 0) {
        const Layout head(header);
        fwrite(LUNIT, head);
        if (M[4] < need4)
            fwrite(LUNIT, kLenLine, {"MTREES too small", M[4], static_cast<long long>(need4)});
        if (M[3] < need3)
            fwrite(LUNIT, kLenLine, {"MSIFA too small", M[3], need3});
    }
    IERR = -2;
    spx::report(36, name, 0, 0, 0, LUNIT, IERR);
    M[1] = -2;
    return false;
}

// Packed lower front of order r: column j (0-based) starts at j*r - j(j-1)/2.
inline I64 colStart(I64 r, I64 j)
{
    return j * r - j * (j - 1) / 2;
}

// Rows [ib, r) of four target columns t[q] receive -sum over k < nk of
// col[k][i] * w[q][k]. The hot loop of the factorisation: blocks of 12 rows
// by 4 columns held in vector registers; compiled for several instruction
// sets and chosen at run time (update4 below).
typedef double v4d __attribute__((vector_size(32), aligned(8)));

// Unaligned vector access without helper functions (no vector values cross
// a call between code compiled for different instruction sets).
#define SPX_LOAD4(v, p) __builtin_memcpy(&(v), (p), sizeof(v4d))
#define SPX_SUB4(p, a)                          \
    do {                                        \
        v4d spx_t_;                             \
        __builtin_memcpy(&spx_t_, (p), sizeof spx_t_); \
        spx_t_ -= (a);                          \
        __builtin_memcpy((p), &spx_t_, sizeof spx_t_); \
    } while (0)

__attribute__((always_inline)) inline void update4Body(const double* const* col, I64 nk, const double (*w)[64],
                                                       double* const* t, I64 ib, I64 r)
{
    I64 i = ib;
    const double* w0 = w[0];
    const double* w1 = w[1];
    const double* w2 = w[2];
    const double* w3 = w[3];
    for (; i + 12 <= r; i += 12) {
        v4d a00 = {}, a01 = {}, a02 = {}, a03 = {};
        v4d a10 = {}, a11 = {}, a12 = {}, a13 = {};
        v4d a20 = {}, a21 = {}, a22 = {}, a23 = {};
        for (I64 k = 0; k < nk; ++k) {
            const double* c = col[k] + i;
            v4d x0, x1, x2;
            SPX_LOAD4(x0, c);
            SPX_LOAD4(x1, c + 4);
            SPX_LOAD4(x2, c + 8);
            const double b0 = w0[k], b1 = w1[k], b2 = w2[k], b3 = w3[k];
            a00 += x0 * b0;
            a10 += x1 * b0;
            a20 += x2 * b0;
            a01 += x0 * b1;
            a11 += x1 * b1;
            a21 += x2 * b1;
            a02 += x0 * b2;
            a12 += x1 * b2;
            a22 += x2 * b2;
            a03 += x0 * b3;
            a13 += x1 * b3;
            a23 += x2 * b3;
        }
        SPX_SUB4(t[0] + i, a00);
        SPX_SUB4(t[0] + i + 4, a10);
        SPX_SUB4(t[0] + i + 8, a20);
        SPX_SUB4(t[1] + i, a01);
        SPX_SUB4(t[1] + i + 4, a11);
        SPX_SUB4(t[1] + i + 8, a21);
        SPX_SUB4(t[2] + i, a02);
        SPX_SUB4(t[2] + i + 4, a12);
        SPX_SUB4(t[2] + i + 8, a22);
        SPX_SUB4(t[3] + i, a03);
        SPX_SUB4(t[3] + i + 4, a13);
        SPX_SUB4(t[3] + i + 8, a23);
    }
    for (; i + 4 <= r; i += 4) {
        v4d a0 = {}, a1 = {}, a2 = {}, a3 = {};
        for (I64 k = 0; k < nk; ++k) {
            v4d x0;
            SPX_LOAD4(x0, col[k] + i);
            a0 += x0 * w0[k];
            a1 += x0 * w1[k];
            a2 += x0 * w2[k];
            a3 += x0 * w3[k];
        }
        SPX_SUB4(t[0] + i, a0);
        SPX_SUB4(t[1] + i, a1);
        SPX_SUB4(t[2] + i, a2);
        SPX_SUB4(t[3] + i, a3);
    }
    for (; i < r; ++i) {
        double a[4] = {};
        for (I64 k = 0; k < nk; ++k) {
            const double x = col[k][i];
            for (int q = 0; q < 4; ++q)
                a[q] += x * w[q][k];
        }
        for (int q = 0; q < 4; ++q)
            t[q][i] -= a[q];
    }
}

using Update4 = void (*)(const double* const*, I64, const double (*)[64], double* const*, I64, I64);

__attribute__((target("avx2,fma"))) void update4Avx2(const double* const* col, I64 nk, const double (*w)[64],
                                                     double* const* t, I64 ib, I64 r)
{
    update4Body(col, nk, w, t, ib, r);
}

void update4Generic(const double* const* col, I64 nk, const double (*w)[64], double* const* t, I64 ib, I64 r)
{
    update4Body(col, nk, w, t, ib, r);
}

// Chosen once by the processor's features.
const Update4 update4 = [] {
    __builtin_cpu_init();
    return (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) ? update4Avx2 : update4Generic;
}();

// Trailing update of a packed front: for every column j in [j0, r) and row
// i >= j: F(i, j) -= sum over k in [k0, k1) of L(i, k) * s(k) * L(j, k),
// with s(k) = D(k) (LDL^T) or 1 (Cholesky). L columns are the packed
// columns of the same front.
template <bool Chol>
void trailingUpdate(double* F, I64 r, I64 k0, I64 k1, I64 j0, const double* D)
{
    constexpr I64 kc = 64;   // columns per chunk of the panel
    constexpr I64 nj = 4;    // target columns at a time
    double w[nj][kc];        // s(k) L(j, k) of the target columns
    const double* col[kc];   // packed column starts of the panel
    for (I64 kb = k0; kb < k1; kb += kc) {
        const I64 ke = std::min(k1, kb + kc), nk = ke - kb;
        for (I64 k = 0; k < nk; ++k)
            col[k] = F + colStart(r, kb + k) - (kb + k);  // col[k][i] = L(i, kb+k)
        for (I64 j = j0; j < r; j += nj) {
            const I64 jn = std::min(nj, r - j);
            for (I64 q = 0; q < nj; ++q)
                for (I64 k = 0; k < nk; ++k)
                    w[q][k] = q >= jn ? 0.0 : Chol ? col[k][j + q] : D[kb + k] * col[k][j + q];
            // Small triangle at the top of the group.
            for (I64 q = 0; q < jn; ++q) {
                double* tgt = F + colStart(r, j + q) - (j + q);  // tgt[i] = F(i, j+q)
                for (I64 i = j + q; i < j + jn; ++i) {
                    double s = 0.0;
                    for (I64 k = 0; k < nk; ++k)
                        s += col[k][i] * w[q][k];
                    tgt[i] -= s;
                }
            }
            const I64 ib = j + jn;
            if (ib >= r)
                continue;
            if (jn == nj) {
                double* t[4];
                for (I64 q = 0; q < nj; ++q)
                    t[q] = F + colStart(r, j + q) - (j + q);
                update4(col, nk, w, t, ib, r);
            } else {
                for (I64 q = 0; q < jn; ++q) {
                    double* tq = F + colStart(r, j + q) - (j + q);
                    for (I64 i = ib; i < r; ++i) {
                        double s = 0.0;
                        for (I64 k = 0; k < nk; ++k)
                            s += col[k][i] * w[q][k];
                        tq[i] -= s;
                    }
                }
            }
        }
    }
}

// Partial factorisation of one packed front of order r with c pivot
// columns, first equation e0. Returns 0 or the failing column (1-based).
template <bool Chol>
I32 factorFront(double* F, I64 r, I64 c, double* SMd, I32 e0, double tol1, double& tol2,
                I32& nneg)
{
    constexpr I64 nb = 32;  // panel width
    double* D = SMd + e0;   // D[k] = pivot of column k (0-based): S[e0 + k]
    for (I64 pb = 0; pb < c; pb += nb) {
        checkCancel();
        const I64 pe = std::min(c, pb + nb);
        // Panel, left-looking within the panel.
        for (I64 i = pb; i < pe; ++i) {
            double* ci = F + colStart(r, i) - i;  // ci[row] = F(row, i)
            for (I64 k = pb; k < i; ++k) {
                const double* ck = F + colStart(r, k) - k;
                const double s = Chol ? ck[i] : ck[i] * D[k];
                if (s == 0.0)
                    continue;
                for (I64 row = i; row < r; ++row)
                    ci[row] -= ck[row] * s;
            }
            const double d = D[i];  // unreduced diagonal copied at the start
            const double p = ci[i];
            if (Chol) {
                if (p <= 0.0 || p <= tol1 * d)
                    return static_cast<I32>(i + 1);
                tol2 = std::max(tol2, d / p);
                const double sq = std::sqrt(p);
                D[i] = sq;
                ci[i] = sq;
                const double inv = 1.0 / sq;
                for (I64 row = i + 1; row < r; ++row)
                    ci[row] *= inv;
            } else {
                if (tol1 * std::fabs(d) >= std::fabs(p))
                    return static_cast<I32>(i + 1);
                if (p < 0.0)
                    ++nneg;
                D[i] = p;
                tol2 = std::max(tol2, d / p);
                const double inv = 1.0 / p;
                for (I64 row = i + 1; row < r; ++row)
                    ci[row] *= inv;
            }
        }
        // Everything to the right of the panel.
        trailingUpdate<Chol>(F, r, pb, pe, pe, D);
    }
    return 0;
}

template <bool Chol>
void factorise(I32* MSPAR, const I32* MTREES, const I32* MSIFA, double* SM, double* TOL,
               I32* IWORK, double* RWORK, I32 LUNIT, I32& IERR)
{
    const char* name = Chol ? "SPRFC2" : "SPRFC1";
    I32* M = MSPAR - 1;
    IERR = 0;
    if (spx::refuse(MSPAR, 6, name, LUNIT, IERR))
        return;
    const I32 nsup = M[11], neq = M[8];
    const I32 need3 = 2 * nsup + M[15] + M[22] + 2;
    if (!checkFactorArrays(M, name, Chol ? "/ ' *** ERROR from SPRFC2'" : "/ ' *** ERROR from SPRFC1'",
                           need3, LUNIT, IERR))
        return;
    if (neq == 0) {  // nothing to factor
        TOL[1] = TOL[2] = 0.0;
        M[26] = 0;
        M[27] = 0;
        M[1] = 6;
        return;
    }
    const I32* first = MTREES - 1;
    const I32* chp = MTREES + nsup;
    const I32* chl = MTREES + 2 * nsup + 1;
    const I32* rptr = MTREES + 3 * nsup + 2;
    const I32* rows = MSIFA - 1;
    const I32* vst = MSIFA + M[15] - 1;
    double* S = SM - 1;             // S[1..NEQ] diagonal / pivots
    double* P = SM + neq - 1;       // P[q] = packed value q
    double* R = RWORK - 1;
    I32* map = IWORK;
    const I64 m16 = M[16], top0 = M[17];
    TOL[1] = 0.0;
    TOL[2] = 0.0;
    I32 nneg = 0;

    // Diagonal copy.
    double dsum = 0.0;
    for (I32 s = 1; s <= nsup; ++s) {
        const I64 r = rptr[s + 1] - rptr[s];
        const I32 c = first[s + 1] - first[s];
        for (I32 k = 0; k < c; ++k) {
            const double v = P[vst[s] + colStart(r, k)];
            S[first[s] + k] = v;
            dsum += v;
        }
    }
    TOL[2] = dsum;

    I32 inner = 0, failEq = 0;
    I64 top = top0 + 1;      // stack occupies R[top .. top0]
    double tol2 = 0.0;
    for (I32 s = 1; s <= nsup && inner == 0; ++s) {
        checkCancel();
        const I64 r = rptr[s + 1] - rptr[s];
        const I64 c = first[s + 1] - first[s];
        const I64 fsize = r * (r + 1) / 2;
        const I64 trap = r * c - c * (c - 1) / 2;
        if (top - fsize < 1) {
            inner = -10;
            failEq = first[s];
            break;
        }
        double* F = &R[top - fsize];
        std::memcpy(F, &P[vst[s]], sizeof(double) * trap);
        std::fill(F + trap, F + fsize, 0.0);
        // Children: the last processed one is on top of the stack.
        const I32* srow = &rows[rptr[s]];
        for (I32 q = chp[s + 1] - 1; q >= chp[s]; --q) {
            const I32 ch = chl[q];
            const I64 rc = rptr[ch + 1] - rptr[ch];
            const I64 cc = first[ch + 1] - first[ch];
            const I64 nc = rc - cc;
            const I64 uc = nc * (nc + 1) / 2;
            const double* U = &R[top];
            if (nc == r) {
                for (I64 t = 0; t < uc; ++t)
                    F[t] += U[t];
            } else {
                const I32* crow = &rows[rptr[ch] + cc];
                I64 t = 0;
                for (I64 a = 0; a < nc; ++a) {
                    while (srow[t] != crow[a])
                        ++t;
                    map[a] = static_cast<I32>(t);
                }
                const double* u = U;
                for (I64 a = 0; a < nc; ++a) {
                    double* fc = F + colStart(r, map[a]) - map[a];
                    for (I64 b = a; b < nc; ++b)
                        fc[map[b]] += *u++;
                }
            }
            top += uc;
        }
        const I32 fcol = factorFront<Chol>(F, r, c, S, first[s], TOL[0], tol2, nneg);
        if (fcol != 0) {
            inner = -30;
            failEq = first[s] + fcol - 1;
            break;
        }
        if (vst[s] - 1 + trap > m16) {
            inner = -20;
            failEq = first[s];
            break;
        }
        std::memcpy(&P[vst[s]], F, sizeof(double) * trap);
        const I64 u = fsize - trap;
        if (u > 0) {
            const double* src = F + trap;
            double* dst = &R[top - u];
            if (dst != src)
                std::memmove(dst, src, sizeof(double) * u);
            top -= u;
        }
    }
    if (inner != 0) {
        IERR = -3;
        M[27] = failEq;
        spx::report(40, name, 0, failEq, inner, LUNIT, IERR);
        return;
    }
    double m = 0.0;
    for (I32 e = 1; e <= neq; ++e)
        if (e == 1 || S[e] < m)
            m = S[e];
    TOL[1] = tol2 != 0.0 ? 1.0 / tol2 : 0.0;
    if (Chol)
        TOL[2] = m != 0.0 ? TOL[2] / (m * m) : 0.0;
    else
        TOL[2] = m != 0.0 ? TOL[2] / m : 0.0;
    M[26] = Chol ? 0 : nneg;
    M[27] = 0;
    M[1] = 6;
}

} // namespace

// ---------------------------------------------------------------- SPRDG1

void SPRDG1(I32* MSPAR, const I32* MTREES, const I32* MSIFA, I32* MDIAG, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    if (spx::refuse(MSPAR, 66, "SPRDG1", LUNIT, IERR))
        return;
    const I32 nsup = M[11], neq = M[8];
    if (!checkFactorArrays(M, "SPRDG1", "/ ' *** ERROR from SPRDG1'", nsup + M[15] + 2, LUNIT, IERR))
        return;
    const I32* first = MTREES - 1;
    const I32* rptr = MTREES + 3 * nsup + 2;
    const I32* vst = MSIFA + M[15] - 1;
    for (I32 s = 1; s <= nsup; ++s) {
        const I64 r = rptr[s + 1] - rptr[s];
        for (I32 e = first[s]; e < first[s + 1]; ++e)
            MDIAG[e - 1] = static_cast<I32>(neq + vst[s] + colStart(r, e - first[s]));
    }
    M[1] = 66;
}

// ---------------------------------------------------------------- factorisation

void SPRFC1(I32* MSPAR, const I32* MTREES, const I32* MSIFA, double* SM, double* TOL, I32* IWORK,
            double* RWORK, I32 LUNIT, I32& IERR)
{
    factorise<false>(MSPAR, MTREES, MSIFA, SM, TOL, IWORK, RWORK, LUNIT, IERR);
}

void SPRFC2(I32* MSPAR, const I32* MTREES, const I32* MSIFA, double* SM, double* TOL, I32* IWORK,
            double* RWORK, I32 LUNIT, I32& IERR)
{
    factorise<true>(MSPAR, MTREES, MSIFA, SM, TOL, IWORK, RWORK, LUNIT, IERR);
}

// ---------------------------------------------------------------- SPRADM

void SPRADM(const double* EK, const double* CQCOEF, const I32* MPAR, const I32* MNDPTR,
            const I32* MDOFEQ, const I32* MPELND, const I32* MELNOD, const I32* MPMCEQ,
            const I32* MCQDOF, const I32* MSPAR, const I32* MTREES, const I32* MSIFA,
            const I32* MEQMAP, I32 IEL, I32 NEDOF, I32 NSV, double* SM, double* SYSR, I32* IWORK,
            I32 LUNIT, I32& IERR)
{
    const I32* M = MSPAR - 1;
    const I32* mpar = MPAR - 1;
    IERR = 0;
    if (M[1] < 0) {
        IERR = -1;
        spx::report(30, "SPRADM", 0, 0, 0, LUNIT, IERR);
        return;
    }
    const I32 nel = mpar[2], neq = M[8], nsup = M[11];
    if (IEL < 1 || IEL > nel) {
        IERR = -1;
        spx::report(22, "SPRADM", IEL, 0, 0, LUNIT, IERR);
        return;
    }
    const I32 npre = mpar[9];
    if (!(std::abs(NSV) < 2 || (npre >= 2 && std::abs(NSV) == npre))) {
        IERR = -2;
        spx::report(57, "SPRADM", IEL, NSV, 0, LUNIT, IERR);
        return;
    }
    const I32* ndptr = MNDPTR - 1;
    const I32* elptr = MPELND - 1;
    const I32* elnod = MELNOD - 1;
    const I32* eqof = MDOFEQ - 1;
    const I32* pm = MPMCEQ - 1;
    const I32* cq = MCQDOF - 1;
    const double* cf = CQCOEF - 1;

    // Element equation codes.
    I32* code = IWORK;  // [0..NEDOF)
    I32 nd = 0;
    for (I32 k = elptr[IEL]; k < elptr[IEL + 1]; ++k) {
        const I32 n = elnod[k];
        for (I32 d = ndptr[n]; d < ndptr[n + 1]; ++d) {
            if (nd >= NEDOF || nd >= M[39]) {
                ++nd;
                break;
            }
            code[nd++] = eqof[d];
        }
    }
    if (nd != NEDOF) {
        IERR = -3;
        spx::report(22, "SPRADM", IEL, nd, NEDOF, LUNIT, IERR);
        return;
    }
    // Distinct equations touched, ascending.
    I32* eqs = IWORK + NEDOF;
    I32 n = 0;
    const I64 room = I64(M[39]) - NEDOF;
    auto addEq = [&](I32 e) {
        if (n < room)
            eqs[n] = e;
        ++n;
    };
    bool hasConstrained = false;
    for (I32 i = 0; i < NEDOF; ++i) {
        const I32 e = code[i];
        if (e > 0)
            addEq(e);
        else if (e < 0) {
            hasConstrained = true;
            for (I32 t = pm[-e] + 1; t < pm[-e + 1]; ++t)
                addEq(eqof[cq[t]]);
        }
    }
    if (n > room) {
        IERR = -1;
        spx::report(34, "SPRADM", IEL, 0, 0, LUNIT, IERR);
        return;
    }
    std::sort(eqs, eqs + n);
    n = static_cast<I32>(std::unique(eqs, eqs + n) - eqs);
    const I64 npos = I64(n) * (n + 1) / 2;
    if (NEDOF + n + npos > M[39]) {
        IERR = -1;
        spx::report(34, "SPRADM", IEL, 0, 0, LUNIT, IERR);
        return;
    }
    I32* pos = eqs + n;  // packed local table, column a: rows a..n-1
    const I32* first = MTREES - 1;
    const I32* rptr = MTREES + 3 * nsup + 2;
    const I32* rows = MSIFA - 1;
    const I32* vst = MSIFA + M[15] - 1;
    const I32* supof = MEQMAP + neq - 1;
    const bool withMatrix = NSV >= 0;
    if (withMatrix) {
        for (I32 a = 0; a < n; ++a) {
            const I32 j = eqs[a];
            const I32 s = supof[j];
            const I64 r = rptr[s + 1] - rptr[s];
            const I64 kcol = j - first[s];
            const I64 base = neq + vst[s] + colStart(r, kcol) - kcol;
            I64 t = rptr[s] + kcol;
            const I64 tend = rptr[s + 1];
            I32* pa = pos + colStart(n, a) - a;
            for (I32 b = a; b < n; ++b) {
                while (t < tend && rows[t] != eqs[b])
                    ++t;
                if (t >= tend) {
                    IERR = -3;
                    spx::report(23, "SPRADM", IEL, 0, 0, LUNIT, IERR);
                    return;
                }
                pa[b] = static_cast<I32>(base + (t - rptr[s]));
            }
        }
    }
    auto loc = [&](I32 e) { return static_cast<I32>(std::lower_bound(eqs, eqs + n, e) - eqs); };
    auto addAt = [&](I32 la, I32 lb, double v) {
        const I32 hi = std::max(la, lb), lo = std::min(la, lb);
        SM[pos[colStart(n, lo) + (hi - lo)] - 1] += v;
    };
    auto ek = [&](I32 i, I32 j) {  // 0-based, upper triangle read
        return i <= j ? EK[i + I64(j) * NEDOF] : EK[j + I64(i) * NEDOF];
    };

    if (withMatrix) {
        // T^T EK T with the stored lower triangle: every element entry
        // (i <= j) maps through the equations of both DOFs.
        for (I32 j = 0; j < NEDOF; ++j) {
            const I32 cj = code[j];
            if (cj == 0)
                continue;
            for (I32 i = 0; i <= j; ++i) {
                const I32 ci = code[i];
                if (ci == 0)
                    continue;
                const double v = ek(i, j);
                if (v == 0.0)
                    continue;
                // Expansions: (local index, coefficient) of each side.
                auto each = [&](I32 c, auto&& fn) {
                    if (c > 0)
                        fn(loc(c), 1.0);
                    else
                        for (I32 t = pm[-c] + 1; t < pm[-c + 1]; ++t)
                            fn(loc(eqof[cq[t]]), cf[t]);
                };
                if (i == j) {
                    each(ci, [&](I32 la, double aa) {
                        each(ci, [&](I32 lb, double ab) {
                            if (lb <= la)
                                addAt(la, lb, aa * ab * v);
                        });
                    });
                } else {
                    each(ci, [&](I32 la, double aa) {
                        each(cj, [&](I32 lb, double ab) {
                            addAt(la, lb, (la == lb ? 2.0 : 1.0) * aa * ab * v);
                        });
                    });
                }
            }
        }
    }

    // Loads of the constant terms: -c0 EK(:, j) through the rows' equations.
    if (NSV != 0 && hasConstrained && SYSR != nullptr) {
        for (I32 j = 0; j < NEDOF; ++j) {
            const I32 cj = code[j];
            if (cj >= 0)
                continue;
            const I32 kq = -cj;
            const double c0 = cf[pm[kq]];
            if (c0 == 0.0)
                continue;
            const bool hasMasters = pm[kq + 1] - pm[kq] > 1;
            I64 off = 0;
            if (std::abs(NSV) > 1) {
                if (hasMasters)
                    continue;
                I32 q = 0;
                for (I32 t = 1; t <= kq; ++t)
                    if (pm[t + 1] - pm[t] == 1)
                        ++q;
                off = I64(neq) * (q - 1);
            }
            for (I32 i = 0; i < NEDOF; ++i) {
                const I32 ci = code[i];
                const double v = ek(i, j);
                if (ci > 0)
                    SYSR[off + ci - 1] -= c0 * v;
                else if (ci < 0)
                    for (I32 t = pm[-ci] + 1; t < pm[-ci + 1]; ++t)
                        SYSR[off + eqof[cq[t]] - 1] -= c0 * cf[t] * v;
            }
        }
    }
}

} // namespace solvika

// Symbolic phase of the sparse solver: equation numbering, graph nodes and
// incidence lists, elimination tree, supernodes, child order, row structure
// of the factor and the sub-array starts.
#include "solver/linalg/sparse.h"
#include "solver/linalg/sparse_common.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <limits>

namespace solvika {

namespace {

using I32 = std::int32_t;
using I64 = std::int64_t;

constexpr I64 kIntMax = std::numeric_limits<I32>::max();

// MSICA layout (1-based positions) for NEL elements, NNOD graph nodes and
// NEQ equations.
struct MsicaLayout {
    I32 nel, nnod, neq, nnz;
    I32 elPtr() const { return 1; }                              // NEL+1
    I32 ndElPtr() const { return nel + 2; }                      // NNOD+1
    I32 ndDofPtr() const { return nel + nnod + 3; }              // NNOD+1
    I32 dofList() const { return nel + 2 * nnod + 4; }           // NEQ
    I32 order() const { return nel + 2 * nnod + neq + 4; }       // NNOD
    I32 elNodes() const { return nel + 3 * nnod + neq + 4; }     // NNZ
    I32 ndElems() const { return elNodes() + nnz; }              // NNZ
    I32 spare() const { return ndElems() + nnz; }                // NNOD
    I64 length() const { return I64(nel) + 4 * I64(nnod) + 2 * I64(nnz) + neq + 3; }
};

MsicaLayout layoutOf(const I32* M)
{
    return {M[5], M[6], M[8], M[7]};
}

const Layout kLenLine("/ A I8 I8 /");

void lengthLine(I32 lunit, const char* text, I64 have, I64 need)
{
    fwrite(lunit, kLenLine, {text, static_cast<long long>(have), static_cast<long long>(need)});
}

// Node element lists by counting sort of the element lists (keeps the
// elements of every node in ascending order).
// A: MSICA - 1 (1-based positions).
void transposeIncidence(I32* A, const MsicaLayout& L)
{
    I32* ep = A + L.elPtr() - 1;       // ep[1..NEL+1]
    I32* np = A + L.ndElPtr() - 1;     // np[1..NNOD+1]
    const I32* en = A + L.elNodes() - 1;
    I32* ne = A + L.ndElems() - 1;
    for (I32 n = 1; n <= L.nnod + 1; ++n)
        np[n] = 0;
    for (I32 k = 1; k <= L.nnz; ++k)
        ++np[en[k]];
    I32 s = 1;
    for (I32 n = 1; n <= L.nnod + 1; ++n) {
        const I32 c = np[n];
        np[n] = s;
        s += c;
    }
    for (I32 e = 1; e <= L.nel; ++e)
        for (I32 k = ep[e]; k < ep[e + 1]; ++k)
            ne[np[en[k]]++] = e;
    for (I32 n = L.nnod; n >= 1; --n)
        np[n + 1] = np[n];
    np[1] = 1;
}

} // namespace

// ---------------------------------------------------------------- SPSPRP

void SPSPRP(const I32* MNDPTR, const I32* MEXNOD, const I32* MPELND, const I32* MELNOD,
            const I32* MSC, const I32* MPMCEQ, const I32* MCQDOF, I32* MPAR, I32* MSPAR,
            I32* MDOFEQ, I32* IWORK, I32 LUNIT, I32& IERR)
{
    const I32* ndptr = MNDPTR - 1;
    const I32* msc = MSC - 1;
    const I32* pm = MPMCEQ - 1;
    const I32* cq = MCQDOF - 1;
    const I32* elptr = MPELND - 1;
    const I32* elnod = MELNOD - 1;
    I32* mpar = MPAR - 1;
    I32* M = MSPAR - 1;
    I32* eq = MDOFEQ - 1;
    I32* nmast = IWORK - 1;  // [1..NDOF] master count of each DOF

    IERR = 0;
    for (I32 k = 1; k <= 50; ++k)
        M[k] = 0;
    const I32 nanod = mpar[1], nel = mpar[2], ndof = mpar[3], nceq = mpar[7];

    if (nanod < 0 || nel < 0 || ndof < 0 || nceq < 0 || ndptr[nanod + 1] != ndof + 1) {
        IERR = -1;
        spx::report(7, "SPSPRP", nanod >= 0 ? ndptr[nanod + 1] - 1 : ndof, 0, 0, LUNIT, IERR);
        M[1] = -1;
        return;
    }

    // Status pass: status 1 first, then status 2, in DOF order.
    I32 n1 = 0, n2 = 0, n0 = 0;
    for (I32 d = 1; d <= ndof; ++d) {
        eq[d] = 0;
        nmast[d] = 0;
        if (msc[d] == 1)
            ++n1;
        else if (msc[d] == 2)
            ++n2;
        else if (msc[d] == 0)
            ++n0;
        else {
            --IERR;
            I32 ldof, node;
            spx::dofNode(MNDPTR, MEXNOD, nanod, d, ldof, node);
            spx::report(1, "SPSPRP", d, ldof, node, LUNIT, IERR);
        }
    }
    if (IERR == 0) {
        I32 k1 = 0, k2 = n1;
        for (I32 d = 1; d <= ndof; ++d) {
            if (msc[d] == 1)
                eq[d] = ++k1;
            else if (msc[d] == 2)
                eq[d] = ++k2;
        }
    }

    // Constraint pass.
    I32 nprescribed = 0, ndependent = 0;
    for (I32 i = 1; i <= nceq; ++i) {
        const I32 p = pm[i];
        const I32 m = pm[i + 1] - p - 1;
        const I32 s = cq[p];
        I32 ldof = 0, node = 0;
        if (s >= 1 && s <= ndof)
            spx::dofNode(MNDPTR, MEXNOD, nanod, s, ldof, node);
        if (m > 20) {
            --IERR;
            spx::report(2, "SPSPRP", ldof, node, i, LUNIT, IERR);
            continue;
        }
        if (s < 1 || s > ndof) {
            --IERR;
            spx::report(3, "SPSPRP", s, 0, 0, LUNIT, IERR);
            continue;
        }
        if (msc[s] != 0) {
            --IERR;
            spx::report(4, "SPSPRP", ldof, node, i, LUNIT, IERR);
            continue;
        }
        if (eq[s] < 0) {
            // A second equation for the same slave would silently replace
            // the first one: refuse the tables instead.
            --IERR;
            spx::report(8, "SPSPRP", ldof, node, i, LUNIT, IERR);
            continue;
        }
        eq[s] = -i;
        if (m < 0) {
            --IERR;
            spx::report(5, "SPSPRP", i, 0, 0, LUNIT, IERR);
            continue;
        }
        if (m == 0)
            ++nprescribed;
        else
            ++ndependent;
        for (I32 t = p + 1; t <= p + m; ++t) {
            const I32 md = cq[t];
            if (md < 1 || md > ndof) {
                --IERR;
                spx::report(3, "SPSPRP", md, 0, 0, LUNIT, IERR);
            } else if (msc[md] < 1) {
                --IERR;
                spx::report(6, "SPSPRP", ldof, node, 0, LUNIT, IERR);
            } else {
                ++nmast[md];
            }
        }
    }
    if (IERR < 0) {
        M[1] = -1;
        return;
    }

    mpar[4] = n1;
    mpar[5] = n2;
    mpar[6] = n0;
    mpar[8] = n0 - nceq;
    mpar[9] = nprescribed;
    mpar[10] = ndependent;
    mpar[11] = n1 + n2;
    mpar[15] = elptr[nel + 1] - 1;
    mpar[16] = nceq > 0 ? pm[nceq + 1] - 1 : 0;

    // Graph nodes: every master DOF alone, the other status-1 DOFs of a
    // node as one, the other status-2 DOFs as one more.
    I64 nnod = 0;
    for (I32 n = 1; n <= nanod; ++n) {
        bool has1 = false, has2 = false;
        for (I32 d = ndptr[n]; d < ndptr[n + 1]; ++d) {
            if (msc[d] < 1)
                continue;
            if (nmast[d] > 0)
                ++nnod;
            else if (msc[d] == 1)
                has1 = true;
            else
                has2 = true;
        }
        nnod += I64(has1) + I64(has2);
    }
    // Incidences, an upper bound: every DOF of every element node counted
    // once per graph node it may reach.
    I64 nnz = 0;
    for (I32 e = 1; e <= nel; ++e)
        for (I32 k = elptr[e]; k < elptr[e + 1]; ++k) {
            const I32 n = elnod[k];
            if (n < 1 || n > nanod)
                continue;
            for (I32 d = ndptr[n]; d < ndptr[n + 1]; ++d) {
                if (eq[d] > 0)
                    ++nnz;
                else if (eq[d] < 0) {
                    const I32 c = -eq[d];
                    nnz += pm[c + 1] - pm[c] - 1;
                }
            }
        }
    const I32 neq = n1 + n2;
    const I64 l35 = I64(nel) + 4 * nnod + 2 * nnz + neq + 3;
    const I64 l36 = 6 * nnod + nel + 6;
    if (l35 > kIntMax || l36 > kIntMax) {
        IERR = -1;
        spx::report(32, "SPSPRP", 0, 0, 0, LUNIT, IERR);
        M[1] = -1;
        return;
    }
    M[5] = nel;
    M[6] = static_cast<I32>(nnod);
    M[7] = static_cast<I32>(nnz);
    M[8] = neq;
    M[35] = static_cast<I32>(l35);
    M[36] = static_cast<I32>(l36);
}

// ---------------------------------------------------------------- SPRSAS

void SPRSAS(const I32* MPAR, const I32* MNDPTR, const I32* MPELND, const I32* MELNOD,
            const I32* MSC, const I32* MPMCEQ, const I32* MCQDOF, const I32* MDOFEQ, I32* MSPAR,
            I32* IWORK, I32* IWORK2, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    if (M[1] < 0) {
        M[1] = -1;
        IERR = -1;
        spx::report(30, "SPRSAS", 0, 0, 0, LUNIT, IERR);
        return;
    }
    const I32* mpar = MPAR - 1;
    const I32* ndptr = MNDPTR - 1;
    const I32* elptr = MPELND - 1;
    const I32* elnod = MELNOD - 1;
    const I32* msc = MSC - 1;
    const I32* pm = MPMCEQ - 1;
    const I32* cq = MCQDOF - 1;
    const I32* eq = MDOFEQ - 1;
    const I32 nanod = mpar[1], nel = mpar[2], ndof = mpar[3], nceq = mpar[7];
    if (nel != M[5] || mpar[11] != M[8]) {
        IERR = -4;
        spx::report(21, "SPRSAS", 0, 0, 0, LUNIT, IERR);
        M[1] = -1;
        return;
    }
    const I32 maxnod = M[6], neq = M[8], lwork = M[35];
    I32* gn = IWORK2 - 1;          // [1..NDOF] graph node of a DOF (0: none)
    I32* aux = IWORK2 + ndof - 1;  // [1..NDOF] master counts, then markers

    for (I32 d = 1; d <= ndof; ++d)
        aux[d] = 0;
    for (I32 i = 1; i <= nceq; ++i)
        for (I32 t = pm[i] + 1; t < pm[i + 1]; ++t)
            ++aux[cq[t]];

    MsicaLayout L{nel, maxnod, neq, 0};
    I32* A = IWORK - 1;
    I32* dofptr = A + L.ndDofPtr() - 1;  // [1..NNOD+1]
    I32* doflist = A + L.dofList() - 1;  // [1..NEQ]
    I32 nnod = 0, ndl = 0;
    auto fail = [&](I32 code, I32 ierr) {
        IERR = ierr;
        spx::report(code, "SPRSAS", 0, 0, 0, LUNIT, IERR);
        M[1] = -1;
    };
    auto addDof = [&](I32 d) {
        if (ndl >= neq)
            return false;
        doflist[++ndl] = d;
        gn[d] = nnod;
        return true;
    };
    for (I32 d = 1; d <= ndof; ++d)
        gn[d] = 0;
    for (I32 n = 1; n <= nanod; ++n) {
        for (int pass = 0; pass < 3; ++pass) {
            bool opened = false;
            for (I32 d = ndptr[n]; d < ndptr[n + 1]; ++d) {
                if (msc[d] < 1 || eq[d] <= 0)
                    continue;
                const bool master = aux[d] > 0;
                const bool take = pass == 0 ? master : (!master && msc[d] == pass);
                if (!take)
                    continue;
                if (pass == 0 || !opened) {
                    if (nnod >= maxnod)
                        return fail(22, -1);
                    ++nnod;
                    dofptr[nnod] = ndl + 1;
                    opened = true;
                }
                if (!addDof(d))
                    return fail(32, -2);
            }
        }
    }
    dofptr[nnod + 1] = ndl + 1;
    if (nnod != maxnod) {
        // Fewer graph nodes than counted: move the DOF pointers to their
        // place for the final count.
        L.nnod = nnod;
        I32* np = A + L.ndDofPtr() - 1;
        for (I32 k = 1; k <= nnod + 1; ++k)
            np[k] = dofptr[k];
        dofptr = np;
        I32* dl = A + L.dofList() - 1;
        for (I32 k = 1; k <= ndl; ++k)
            dl[k] = doflist[k];
        doflist = dl;
    }

    // Element lists.
    for (I32 d = 1; d <= ndof; ++d)
        aux[d] = 0;  // marker: last element that listed a graph node
    I32* ep = A + L.elPtr() - 1;
    I32* en = A + L.elNodes() - 1;
    const I64 room = I64(lwork) - L.elNodes() + 1;
    I64 nnz = 0;
    I32 longest = 0, maxdof = 0;
    auto addNode = [&](I32 e, I32 g) {
        if (g < 1 || aux[g] == e)
            return true;
        aux[g] = e;
        if (nnz >= room)
            return false;
        en[++nnz] = g;
        return true;
    };
    for (I32 e = 1; e <= nel; ++e) {
        ep[e] = static_cast<I32>(nnz + 1);
        I32 ndofs = 0;
        for (I32 k = elptr[e]; k < elptr[e + 1]; ++k) {
            const I32 n = elnod[k];
            if (n < 1 || n > nanod)
                return fail(22, -1);
            ndofs += ndptr[n + 1] - ndptr[n];
            for (I32 d = ndptr[n]; d < ndptr[n + 1]; ++d) {
                bool ok = true;
                if (eq[d] > 0)
                    ok = addNode(e, gn[d]);
                else if (eq[d] < 0) {
                    const I32 c = -eq[d];
                    for (I32 t = pm[c] + 1; t < pm[c + 1] && ok; ++t)
                        ok = addNode(e, gn[cq[t]]);
                }
                if (!ok)
                    return fail(32, -3);
            }
        }
        longest = std::max<I32>(longest, static_cast<I32>(nnz + 1 - ep[e]));
        maxdof = std::max(maxdof, ndofs);
    }
    ep[nel + 1] = static_cast<I32>(nnz + 1);
    L.nnz = static_cast<I32>(nnz);

    I32* ord = A + L.order() - 1;
    for (I32 k = 1; k <= nnod; ++k)
        ord[k] = k;

    M[1] = 1;
    M[2] = static_cast<I32>(L.length());
    M[3] = 0;
    M[4] = 0;
    M[6] = nnod;
    M[7] = L.nnz;
    M[24] = longest;
    M[25] = maxdof;
    M[37] = static_cast<I32>(8 * I64(nnod) + 2 * nnz + 3 * I64(nel));
    M[38] = 8 * nnod + std::max(nnod, nel) + 1;
}

// ---------------------------------------------------------------- SPRTRS

void SPRTRS(I32* MSPAR, I32* MSICA, I32* IWORK, I32* MDOFEQ, I32 /*NDOF*/, I32* IWORK2,
            float* STATS, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    if (spx::refuse(MSPAR, 3, "SPRTRS", LUNIT, IERR))
        return;
    const MsicaLayout L = layoutOf(M);
    const I32 nnod = L.nnod, nel = L.nel, neq = L.neq;
    if (M[2] < L.length() || M[38] < 5 * I64(nnod)) {
        IERR = -2;
        spx::report(31, "SPRTRS", 0, 0, 0, LUNIT, IERR);
        M[1] = -2;
        return;
    }
    if (M[36] < 6 * I64(nnod) + nel + 6 || M[38] < 8 * I64(nnod) + std::max(nnod, nel) + 1) {
        IERR = -2;
        spx::report(33, "SPRTRS", 0, 0, 0, LUNIT, IERR);
        M[1] = -3;
        return;
    }
    I32* A = MSICA - 1;
    if (M[1] == 1)
        transposeIncidence(A, L);
    if (nnod == 0) {
        // No free equation: an empty tree.
        for (I32 k = 1; k <= 6; ++k)
            IWORK[k - 1] = k == 1 || k == 2 || k == 4 ? 1 : 0;
        for (int k : {3, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20})
            M[k] = 0;
        M[3] = 2;
        M[4] = 6;
        M[1] = 3;
        if (STATS)
            STATS[0] = STATS[1] = STATS[2] = STATS[3] = 0.0f;
        return;
    }

    const I32* ep = A + L.elPtr() - 1;
    const I32* en = A + L.elNodes() - 1;
    const I32* np = A + L.ndElPtr() - 1;
    const I32* ne = A + L.ndElems() - 1;
    const I32* dofptr = A + L.ndDofPtr() - 1;
    const I32* doflist = A + L.dofList() - 1;
    I32* ord = A + L.order() - 1;  // position -> graph node

    // Work arrays, each [1..NNOD] (+1 where noted).
    I32* W = IWORK2 - 1;
    I32* inv = W;                       // graph node -> position
    I32* parent = W + nnod;             // position -> parent position
    I32* anc = W + 2 * nnod;            // virtual ancestors, later markers
    I32* fchild = W + 3 * nnod + 1;     // [0..NNOD] first child (0: roots)
    I32* sib = W + 4 * nnod + 1;        // next sibling
    I32* stk = W + 5 * nnod + 1;        // scratch, later equation counts
    I32* post = W + 6 * nnod + 1;       // post-order -> old position
    I32* wgt = W + 7 * nnod + 1;        // equations of each position

    for (I32 k = 1; k <= nnod; ++k)
        inv[ord[k]] = k;

    // Elimination tree by path compression.
    for (I32 i = 1; i <= nnod; ++i) {
        parent[i] = 0;
        anc[i] = 0;
        const I32 g = ord[i];
        for (I32 t = np[g]; t < np[g + 1]; ++t) {
            const I32 e = ne[t];
            for (I32 u = ep[e]; u < ep[e + 1]; ++u) {
                I32 j = inv[en[u]];
                if (j >= i)
                    continue;
                while (anc[j] != 0 && anc[j] != i) {
                    const I32 next = anc[j];
                    anc[j] = i;
                    j = next;
                }
                if (anc[j] == 0) {
                    anc[j] = i;
                    parent[j] = i;
                }
            }
        }
    }
    // Children in ascending order, roots as children of 0.
    for (I32 i = 0; i <= nnod; ++i)
        fchild[i] = 0;
    for (I32 i = nnod; i >= 1; --i) {
        const I32 p = parent[i];
        sib[i] = fchild[p];
        fchild[p] = i;
    }
    // Depth-first post-order, children before their parent.
    {
        I32 k = 0;
        for (I32 r = fchild[0]; r != 0; r = sib[r]) {
            I32 v = r;
            for (;;) {
                while (fchild[v] != 0)
                    v = fchild[v];
                post[++k] = v;
                while (v != r && sib[v] == 0) {
                    v = parent[v];
                    post[++k] = v;
                }
                if (v == r)
                    break;
                v = sib[v];
            }
        }
    }
    // post[k] = old position of the k-th node in post-order.
    for (I32 k = 1; k <= nnod; ++k)
        anc[post[k]] = k;  // old position -> post position
    for (I32 k = 1; k <= nnod; ++k)
        stk[k] = ord[post[k]];
    for (I32 k = 1; k <= nnod; ++k)
        ord[k] = stk[k];
    for (I32 k = 1; k <= nnod; ++k) {
        const I32 p = parent[post[k]];
        stk[k] = p == 0 ? 0 : anc[p];
    }
    for (I32 k = 1; k <= nnod; ++k) {
        parent[k] = stk[k];
        inv[ord[k]] = k;
        wgt[k] = dofptr[ord[k] + 1] - dofptr[ord[k]];
    }

    // Column counts (graph nodes and equations) by row subtrees: row i
    // reaches every node on the tree paths from its lower neighbours to i.
    I32* cntN = post;   // reuse: post-order no longer needed
    I32* cntE = stk;
    I32* mark = anc;
    I32* nchild = fchild;  // [1..NNOD]
    for (I32 k = 1; k <= nnod; ++k) {
        cntN[k] = 1;
        cntE[k] = wgt[k];
        mark[k] = 0;
        nchild[k] = 0;
    }
    I64 origOps = 0;
    I32 maxElemEq = 0;
    for (I32 e = 1; e <= nel; ++e) {
        I64 n = 0;
        for (I32 u = ep[e]; u < ep[e + 1]; ++u)
            n += wgt[inv[en[u]]];
        origOps += n * (n + 1) / 2;
        maxElemEq = std::max<I32>(maxElemEq, static_cast<I32>(n));
    }
    for (I32 i = 1; i <= nnod; ++i) {
        if (parent[i] != 0)
            ++nchild[parent[i]];
        mark[i] = i;
        const I32 g = ord[i];
        for (I32 t = np[g]; t < np[g + 1]; ++t) {
            const I32 e = ne[t];
            for (I32 u = ep[e]; u < ep[e + 1]; ++u) {
                for (I32 j = inv[en[u]]; j < i && mark[j] != i; j = parent[j]) {
                    mark[j] = i;
                    ++cntN[j];
                    cntE[j] += wgt[i];
                }
            }
        }
    }

    // Fundamental supernodes.
    I32* T = IWORK - 1;
    I32* snode = T;                 // position -> supernode [1..NNOD]
    I32* fsn = T + nnod;            // supernode -> first position [1..NSUP+1]
    I32 nsup = 0;
    for (I32 i = 1; i <= nnod; ++i) {
        const bool joins = i > 1 && parent[i - 1] == i && nchild[i] == 1 &&
                           cntN[i - 1] == cntN[i] + 1;
        if (!joins)
            fsn[++nsup] = i;
        snode[i] = nsup;
    }
    fsn[nsup + 1] = nnod + 1;

    // Supernode data, in the post-order numbering s = 1..NSUP.
    I32* sr = T + 2 * nnod + 1;      // rows r
    I32* sc = T + 3 * nnod + 1;      // columns c
    I32* spar = T + 4 * nnod + 1;    // parent supernode
    I32* chp = W;                    // [1..NSUP+1] child pointers (reuse inv)
    I32* chl = W + nnod + 1;         // [1..NSUP] child lists (reuse parent)
    for (I32 s = 1; s <= nsup; ++s) {
        const I32 first = fsn[s], last = fsn[s + 1] - 1;
        I32 c = 0;
        for (I32 k = first; k <= last; ++k)
            c += wgt[k];
        sc[s] = c;
        sr[s] = cntE[first];
        spar[s] = parent[last] == 0 ? 0 : snode[parent[last]];
    }
    for (I32 s = 1; s <= nsup + 1; ++s)
        chp[s] = 0;
    for (I32 s = 1; s <= nsup; ++s)
        if (spar[s] != 0)
            ++chp[spar[s]];
    {
        I32 acc = 1;
        for (I32 s = 1; s <= nsup + 1; ++s) {
            const I32 c = chp[s];
            chp[s] = acc;
            acc += c;
        }
    }
    I32* fill = W + 2 * nnod + 2;  // [1..NSUP] fill positions (reuse anc)
    for (I32 s = 1; s <= nsup; ++s)
        fill[s] = chp[s];
    for (I32 s = 1; s <= nsup; ++s)
        if (spar[s] != 0)
            chl[fill[spar[s]]++] = s;

    // Child order for the smallest stack: decreasing peak - U, stable.
    // Peaks are kept as doubles (exact integers) in the free work space.
    auto getpk = [&](I32 s) {
        double v;
        std::memcpy(&v, W + 2 * nnod + 2 * s, sizeof v);
        return static_cast<I64>(v);
    };
    auto setpk = [&](I32 s, I64 v) {
        const double d = static_cast<double>(v);
        std::memcpy(W + 2 * nnod + 2 * s, &d, sizeof d);
    };
    auto usize = [&](I32 s) { return I64(sr[s] - sc[s]) * (sr[s] - sc[s] + 1) / 2; };
    auto fsize = [&](I32 s) { return I64(sr[s]) * (sr[s] + 1) / 2; };
    I64 genOps = 0;
    for (I32 s = 1; s <= nsup; ++s) {
        // children of s have smaller numbers: their peaks are known.
        const I32 b = chp[s], e = chp[s + 1];
        for (I32 k = b + 1; k < e; ++k) {
            const I32 x = chl[k];
            const I64 key = getpk(x) - usize(x);
            I32 m = k - 1;
            while (m >= b && getpk(chl[m]) - usize(chl[m]) < key) {
                chl[m + 1] = chl[m];
                --m;
            }
            chl[m + 1] = x;
        }
        I64 sumU = 0, best = 0;
        for (I32 k = b; k < e; ++k) {
            best = std::max(best, sumU + getpk(chl[k]));
            sumU += usize(chl[k]);
        }
        genOps += sumU;
        setpk(s, std::max(best, sumU + fsize(s)));
    }

    // Processing order: post-order over the sorted child lists, roots in
    // ascending order. proc[k] = old supernode number of the k-th one.
    I32* proc = T + 5 * nnod + 1;   // [1..NSUP]
    I32* cur = W + 4 * nnod + 1;    // [1..NSUP] child cursors
    I32* st = W + 5 * nnod + 1;     // [1..NSUP] explicit stack
    I32* newof = W + 6 * nnod + 1;  // [1..NSUP] old -> new number
    {
        I32 k = 0;
        for (I32 root = 1; root <= nsup; ++root) {
            if (spar[root] != 0)
                continue;
            I32 top = 0;
            st[++top] = root;
            cur[root] = chp[root];
            while (top > 0) {
                const I32 v = st[top];
                if (cur[v] < chp[v + 1]) {
                    const I32 c = chl[cur[v]++];
                    cur[c] = chp[c];
                    st[++top] = c;
                } else {
                    proc[++k] = v;
                    --top;
                }
            }
        }
    }
    for (I32 k = 1; k <= nsup; ++k)
        newof[proc[k]] = k;

    // New node order: the nodes of each supernode in processing order.
    I32* ord2 = W + 7 * nnod + 1;  // [1..NNOD]
    {
        I32 k = 0;
        for (I32 q = 1; q <= nsup; ++q) {
            const I32 s = proc[q];
            for (I32 p = fsn[s]; p < fsn[s + 1]; ++p)
                ord2[++k] = ord[p];
        }
        for (I32 p = 1; p <= nnod; ++p)
            ord[p] = ord2[p];
    }

    // Totals, in the processing order, with the stack simulation of the
    // factorisation for the peak work.
    I64 m15 = 0, m16 = 0, facOps = 0, subOps = 0, stack = 0, m17 = 0;
    I32 m13 = 0, m14 = 0;
    for (I32 q = 1; q <= nsup; ++q) {
        const I32 s = proc[q];
        const I64 r = sr[s], c = sc[s];
        m13 = std::max<I32>(m13, sc[s]);
        m14 = std::max<I32>(m14, sr[s]);
        m15 += r;
        const I64 trap = r * c - c * (c - 1) / 2;
        m16 += trap;
        facOps += r * c * (r + 2) - (c * (c + 1) / 2) * (2 * r + 2) + c * (c + 1) * (2 * c + 1) / 6;
        subOps += 2 * (trap - c);
        m17 = std::max(m17, stack + fsize(s));
        for (I32 k = chp[s]; k < chp[s + 1]; ++k)
            stack -= usize(chl[k]);
        if (spar[s] != 0)
            stack += usize(s);
    }
    subOps += neq;
    if (m16 > kIntMax || m17 > kIntMax || m15 > kIntMax) {
        IERR = -3;
        spx::report(38, "SPRTRS", 0, 0, 0, LUNIT, IERR);
        M[1] = -3;
        return;
    }

    // MTREES: first equations, child pointers, child lists (roots negative
    // at the end, then their count), row-list pointers.
    I32* first = W + 2 * nnod + 1;   // [1..NSUP+1] first equations
    I32* rptr = W + 3 * nnod + 2;    // [1..NSUP+1] row-list pointers
    {
        I32 e = 1, rp = 1;
        for (I32 q = 1; q <= nsup; ++q) {
            const I32 s = proc[q];
            first[q] = e;
            rptr[q] = rp;
            e += sc[s];
            rp += sr[s];
        }
        first[nsup + 1] = e;
        rptr[nsup + 1] = rp;
    }
    // New child lists into the tail of IWORK2 (after ord2).
    I32* nchp = W + 4 * nnod + 3;    // [1..NSUP+1] new child pointers
    I32 nroots = 0;
    for (I32 s = 1; s <= nsup; ++s)
        if (spar[s] == 0)
            ++nroots;
    I32* ckl = ord2;  // ord2 copied into ord: free; holds new child lists
    {
        I32 k = 0;
        for (I32 q = 1; q <= nsup; ++q) {
            const I32 s = proc[q];
            nchp[q] = k + 1;
            for (I32 t = chp[s]; t < chp[s + 1]; ++t)
                ckl[++k] = newof[chl[t]];
        }
        nchp[nsup + 1] = k + 1;
        for (I32 q = 1; q <= nsup; ++q)
            if (spar[proc[q]] == 0)
                ckl[++k] = -q;
    }
    const I64 mtLen = 4 * I64(nsup) + 6;
    if (mtLen > M[36]) {
        IERR = -2;
        spx::report(33, "SPRTRS", 0, 0, 0, LUNIT, IERR);
        M[1] = -3;
        return;
    }
    for (I32 q = 1; q <= nsup + 1; ++q)
        T[q] = first[q];
    for (I32 q = 1; q <= nsup + 1; ++q)
        T[nsup + 1 + q] = nchp[q];
    for (I32 k = 1; k <= nsup; ++k)
        T[2 * nsup + 2 + k] = ckl[k];
    T[3 * nsup + 3] = nroots;
    for (I32 q = 1; q <= nsup + 1; ++q)
        T[3 * nsup + 3 + q] = rptr[q];
    T[4 * nsup + 5] = 0;
    T[4 * nsup + 6] = 0;

    // Equation order of the factor.
    {
        I32 e = 0;
        for (I32 p = 1; p <= nnod; ++p) {
            const I32 g = ord[p];
            for (I32 t = dofptr[g]; t < dofptr[g + 1]; ++t)
                MDOFEQ[doflist[t] - 1] = ++e;
        }
    }

    M[1] = 3;
    M[3] = static_cast<I32>(std::min<I64>(kIntMax, 2 * I64(nsup) + m15 + neq + 2));
    M[4] = static_cast<I32>(mtLen);
    M[10] = 0;
    M[11] = nsup;
    M[12] = 0;
    M[13] = m13;
    M[14] = m14;
    M[15] = static_cast<I32>(m15);
    M[16] = static_cast<I32>(m16);
    M[17] = static_cast<I32>(m17);
    M[18] = 0;
    M[19] = 0;
    M[20] = maxElemEq;
    if (STATS) {
        STATS[0] = static_cast<float>(origOps);
        STATS[1] = static_cast<float>(genOps);
        STATS[2] = static_cast<float>(facOps);
        STATS[3] = static_cast<float>(subOps);
    }
}

// ---------------------------------------------------------------- SPRSMB

void SPRSMB(I32* MSPAR, const I32* MSICA, const I32* MTREES, I32* IWORK, const I32* MDOFEQ,
            I32* IWORK2, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    if (spx::refuse(MSPAR, 4, "SPRSMB", LUNIT, IERR))
        return;
    const MsicaLayout L = layoutOf(M);
    const I32 nnod = L.nnod, neq = L.neq, nsup = M[11];
    const I64 need2 = L.length(), need4 = 4 * I64(nsup) + 4,
              need3 = I64(neq) + M[15] + 2 * I64(nsup) + 2;
    if (M[2] < need2 || M[4] < need4 || M[3] < need3) {
        if (LUNIT > 0) {
            if (M[2] < need2)
                lengthLine(LUNIT, "MSICA too small", M[2], need2);
            if (M[4] < need4)
                lengthLine(LUNIT, "MTREES too small", M[4], need4);
            if (M[3] < need3)
                lengthLine(LUNIT, "MSIFA too small", M[3], need3);
        }
        IERR = -2;
        spx::report(35, "SPRSMB", 0, 0, 0, LUNIT, IERR);
        M[1] = -2;
        return;
    }
    const I32* A = MSICA - 1;
    const I32* ep = A + L.elPtr() - 1;
    const I32* en = A + L.elNodes() - 1;
    const I32* np = A + L.ndElPtr() - 1;
    const I32* ne = A + L.ndElems() - 1;
    const I32* dofptr = A + L.ndDofPtr() - 1;
    const I32* doflist = A + L.dofList() - 1;
    const I32* first = MTREES - 1;
    const I32* chp = MTREES + nsup;
    const I32* chl = MTREES + 2 * nsup + 1;
    const I32* rptr = MTREES + 3 * nsup + 2;

    I32* W = IWORK2 - 1;
    I32* eqnode = W;                  // [1..NEQ] graph node of an equation
    I32* fe = W + neq;                // [1..NNOD] first equation of a node
    I32* mark = W + neq + nnod;       // [1..NNOD]
    I32* list = W + neq + 2 * nnod;   // [1..NNOD]
    for (I32 g = 1; g <= nnod; ++g) {
        mark[g] = 0;
        fe[g] = 0;
        const I32 b = dofptr[g], n = dofptr[g + 1] - b;
        if (n > 0) {
            fe[g] = MDOFEQ[doflist[b] - 1];
            for (I32 k = 0; k < n; ++k)
                eqnode[fe[g] + k] = g;
        }
    }
    I32* rows = IWORK - 1;
    I32* vstart = IWORK + M[15] - 1;  // [1..NSUP+1]
    I64 vpos = 1;
    for (I32 s = 1; s <= nsup; ++s) {
        const I32 a = first[s], z = first[s + 1] - 1;  // own equations
        const I32 r = rptr[s + 1] - rptr[s];
        I32 w = rptr[s];
        for (I32 e = a; e <= z; ++e)
            rows[w++] = e;
        I32 cnt = 0;
        auto take = [&](I32 g) {
            if (mark[g] != s && fe[g] > z) {
                mark[g] = s;
                list[++cnt] = g;
            }
        };
        for (I32 k = chp[s]; k < chp[s + 1]; ++k) {
            const I32 c = chl[k];
            for (I32 t = rptr[c] + (first[c + 1] - first[c]); t < rptr[c + 1]; ++t)
                take(eqnode[rows[t]]);
        }
        for (I32 e = a; e <= z;) {
            const I32 g = eqnode[e];
            for (I32 t = np[g]; t < np[g + 1]; ++t) {
                const I32 el = ne[t];
                for (I32 u = ep[el]; u < ep[el + 1]; ++u)
                    take(en[u]);
            }
            e = fe[g] + (dofptr[g + 1] - dofptr[g]);
        }
        std::sort(list + 1, list + cnt + 1, [&](I32 x, I32 y) { return fe[x] < fe[y]; });
        for (I32 k = 1; k <= cnt; ++k) {
            const I32 g = list[k];
            const I32 n = dofptr[g + 1] - dofptr[g];
            if (w + n > rptr[s + 1]) {
                w = rptr[s + 1] + 1;
                break;
            }
            for (I32 q = 0; q < n; ++q)
                rows[w++] = fe[g] + q;
        }
        if (w != rptr[s + 1]) {
            IERR = -3;
            spx::report(23, "SPRSMB", s, 0, 0, LUNIT, IERR);
            M[1] = -4;
            return;
        }
        vstart[s] = static_cast<I32>(vpos);
        const I64 c = z - a + 1;
        vpos += I64(r) * c - c * (c - 1) / 2;
    }
    vstart[nsup + 1] = static_cast<I32>(vpos);
    M[22] = 0;
    M[3] = static_cast<I32>(2 * I64(nsup) + M[15] + M[22] + 2);
    M[1] = 4;
}

// ---------------------------------------------------------------- SPRFIN

void SPRFIN(const I32* MSICA, const I32* MTREES, const I32* /*MDOFEQ*/, const I32* MPAR,
            I32* MSPAR, I32* MEQMAP)
{
    I32* M = MSPAR - 1;
    const MsicaLayout L = layoutOf(M);
    const I32 nnod = L.nnod, neq = L.neq, nsup = M[11];
    M[41] = 1;
    M[42] = L.elNodes();
    M[43] = L.ndDofPtr();
    M[44] = L.dofList();
    M[45] = 1;
    M[46] = 3 * nsup + 4;
    M[47] = 1;
    M[48] = M[15] + 1;
    const I64 lin = std::max<I64>(MPAR[19], M[25]);
    const I64 m19 = M[19], m20 = M[20];
    const I64 l39 = std::max(lin, m19) + neq + m19 * (m19 + 1) / 2 + m20 * (m20 + 1) / 2;
    M[39] = static_cast<I32>(std::min<I64>(l39, kIntMax));
    const I32* A = MSICA - 1;
    const I32* dofptr = A + L.ndDofPtr() - 1;
    const I32* ord = A + L.order() - 1;
    I32* map = MEQMAP - 1;
    I32 e = 0;
    for (I32 p = 1; p <= nnod; ++p) {
        const I32 g = ord[p];
        for (I32 t = dofptr[g]; t < dofptr[g + 1]; ++t)
            map[++e] = g;
    }
    const I32* first = MTREES - 1;
    for (I32 s = 1; s <= nsup; ++s)
        for (I32 q = first[s]; q < first[s + 1]; ++q)
            map[neq + q] = s;
}

} // namespace solvika

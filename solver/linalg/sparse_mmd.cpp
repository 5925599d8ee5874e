// Multiple minimum degree ordering of the graph nodes on the quotient graph
// of elements and graph nodes.
#include "solver/linalg/sparse.h"
#include "solver/linalg/cancel.h"
#include "solver/linalg/sparse_common.h"

#include <algorithm>
#include <cstdint>

namespace solvika {

namespace {

using I32 = std::int32_t;
using I64 = std::int64_t;

} // namespace

void SPRRNM(I32* MSPAR, I32* MSICA, I32* IWORK, I32 LUNIT, I32& IERR)
{
    I32* M = MSPAR - 1;
    IERR = 0;
    if (spx::refuse(MSPAR, 2, "SPRRNM", LUNIT, IERR))
        return;
    const I32 nel = M[5], n = M[6], neq = M[8], nnz = M[7];
    const I64 need = 8 * I64(n) + 2 * I64(nnz) + 3 * I64(nel);
    if (M[1] != 1 || M[37] < need) {
        IERR = -2;
        spx::report(34, "SPRRNM", 0, 0, 0, LUNIT, IERR);
        M[1] = -2;
        return;
    }

    // MSICA regions (1-based pointers).
    I32* A = MSICA - 1;
    const I32 pElPtr = 1, pNdElPtr = nel + 2, pOrder = nel + 2 * n + neq + 4;
    const I32 pElNodes = nel + 3 * n + neq + 4, pNdElems = pElNodes + nnz, pSpare = pNdElems + nnz;
    const I32* ep = A + pElPtr - 1;
    const I32* en = A + pElNodes - 1;

    // Quotient graph in IWORK.
    const I32 cap = nnz + nel;
    I32* W = IWORK - 1;
    I32* El = W;                           // [1..cap] element node lists
    I32* est = W + cap;                    // [1..NEL+N] start in El
    I32* elen = W + cap + nel + n;         // [1..NEL+N] length, -1 dead
    I32* Nl = W + cap + 2 * (nel + n);     // [1..NNZ] node element lists
    I32* nst = Nl + nnz;                   // [1..N]
    I32* nlen = nst + n;                   // [1..N]; merged: -representative
    I32* deg = nlen + n;                   // [1..N]; -1: out of the lists
    I32* nxt = deg + n;                    // [1..N]
    I32* prv = nxt + n;                    // [1..N]
    I32* wt = prv + n;                     // [1..N]; eliminated: -index
    // Scratch in MSICA (rebuilt at the end).
    I32* head = A + pNdElPtr;              // head[d], d = 0..N (N+1 entries)
    I32* mark = A + pSpare - 1;            // [1..N]
    I32* seq = A + pOrder - 1;             // [1..N] elimination sequence
    I32* buf = A + pNdElems - 1;           // [1..NNZ] new element being built

    // Build the node element lists first (counting sort), then copy.
    {
        I32* cnt = nst;  // counts per node, then fill cursors
        for (I32 v = 1; v <= n; ++v)
            cnt[v] = 0;
        for (I32 k = 1; k <= nnz; ++k)
            ++cnt[en[k]];
        I32 s = 1;
        for (I32 v = 1; v <= n; ++v) {
            nlen[v] = 0;
            const I32 c = cnt[v];
            cnt[v] = s;
            s += c;
        }
        for (I32 e = 1; e <= nel; ++e)
            for (I32 k = ep[e]; k < ep[e + 1]; ++k) {
                const I32 v = en[k];
                Nl[cnt[v] + nlen[v]++] = e;
            }
    }
    I32 efree = 1;
    for (I32 e = 1; e <= nel; ++e) {
        est[e] = efree;
        elen[e] = ep[e + 1] - ep[e];
        for (I32 k = ep[e]; k < ep[e + 1]; ++k)
            El[efree++] = en[k];
    }
    for (I32 e = nel + 1; e <= nel + n; ++e) {
        est[e] = 0;
        elen[e] = -1;
    }

    const I32 bound = std::max(n, nel) + 1;
    I32 tag = 0;
    for (I32 v = 1; v <= n; ++v)
        mark[v] = 0;
    auto nextTag = [&]() {
        if (tag + 1 >= bound) {
            for (I32 v = 1; v <= n; ++v)
                mark[v] = 0;
            tag = 0;
        }
        return ++tag;
    };
    auto degreeOf = [&](I32 v) {
        const I32 t = nextTag();
        mark[v] = t;
        I32 d = 0;
        for (I32 k = nst[v]; k < nst[v] + nlen[v]; ++k) {
            const I32 e = Nl[k];
            if (elen[e] < 0)
                continue;
            for (I32 q = est[e]; q < est[e] + elen[e]; ++q) {
                const I32 u = El[q];
                if (wt[u] > 0 && mark[u] != t) {
                    mark[u] = t;
                    d += wt[u];
                }
            }
        }
        return d;
    };
    I32 mindeg = n;
    auto insert = [&](I32 v, I32 d) {
        deg[v] = d;
        prv[v] = 0;
        nxt[v] = head[d];
        if (head[d] != 0)
            prv[head[d]] = v;
        head[d] = v;
        mindeg = std::min(mindeg, d);
    };
    auto removeFromList = [&](I32 v) {
        const I32 d = deg[v];
        if (d < 0)
            return;
        if (prv[v] != 0)
            nxt[prv[v]] = nxt[v];
        else
            head[d] = nxt[v];
        if (nxt[v] != 0)
            prv[nxt[v]] = prv[v];
        deg[v] = -1;
    };

    for (I32 d = 0; d <= n; ++d)
        head[d] = 0;
    for (I32 v = 1; v <= n; ++v)
        wt[v] = 1;
    for (I32 v = 1; v <= n; ++v)
        insert(v, degreeOf(v));

    I32 k = 0;      // eliminated representatives
    I64 done = 0;   // eliminated weight
    auto number = [&](I32 v) {
        removeFromList(v);
        done += wt[v];
        seq[++k] = v;
        wt[v] = -k;
    };
    // Isolated graph nodes first, highest number first.
    while (head[0] != 0)
        number(head[0]);

    // Compaction of the element lists in place, in order of position: the
    // first entry of every live list is replaced by minus its element
    // number (its value parked in est), then one sweep moves the lists down.
    auto compact = [&]() {
        for (I32 e = 1; e <= nel + n; ++e) {
            if (elen[e] <= 0)
                continue;
            const I32 f = El[est[e]];
            El[est[e]] = -e;
            est[e] = f;
        }
        I32 w = 1;
        for (I32 p = 1; p < efree;) {
            if (El[p] >= 0) {
                ++p;
                continue;
            }
            const I32 e = -El[p];
            El[w] = est[e];
            est[e] = w;
            for (I32 q = 1; q < elen[e]; ++q)
                El[w + q] = El[p + q];
            w += elen[e];
            p += elen[e];
        }
        efree = w;
    };

    while (done < n) {
        checkCancel();
        while (mindeg < n && head[mindeg] == 0)
            ++mindeg;
        if (mindeg >= n)
            break;
        const I32 d = mindeg;
        const I32 passStart = k + 1;
        while (head[d] != 0) {
            const I32 v = head[d];
            number(v);
            // New element: the live neighbours of v through its elements.
            const I32 t = nextTag();
            mark[v] = t;
            I32 m = 0;
            for (I32 q = nst[v]; q < nst[v] + nlen[v]; ++q) {
                const I32 e = Nl[q];
                if (elen[e] < 0)
                    continue;
                for (I32 p = est[e]; p < est[e] + elen[e]; ++p) {
                    const I32 u = El[p];
                    if (wt[u] > 0 && mark[u] != t) {
                        mark[u] = t;
                        buf[++m] = u;
                    }
                }
                elen[e] = -1;
            }
            if (efree + m > cap + 1)
                compact();
            const I32 E = nel + v;
            est[E] = efree;
            elen[E] = m;
            for (I32 q = 1; q <= m; ++q)
                El[efree++] = buf[q];
            // Every member drops its absorbed elements and gains E.
            for (I32 q = 1; q <= m; ++q) {
                const I32 u = buf[q];
                I32 w = nst[u];
                for (I32 p = nst[u]; p < nst[u] + nlen[u]; ++p)
                    if (elen[Nl[p]] >= 0)
                        Nl[w++] = Nl[p];
                Nl[w++] = E;
                nlen[u] = w - nst[u];
                removeFromList(u);
            }
        }
        // Merge indistinguishable nodes (same element set), then update.
        for (I32 i = passStart; i <= k; ++i) {
            const I32 E = nel + seq[i];
            for (I32 p = est[E]; p < est[E] + elen[E]; ++p) {
                const I32 u = El[p];
                if (wt[u] <= 0)
                    continue;
                I64 h = 0;
                for (I32 q = nst[u]; q < nst[u] + nlen[u]; ++q)
                    h += Nl[q];
                nxt[u] = static_cast<I32>(h % 2147483647);
            }
            for (I32 p = est[E]; p < est[E] + elen[E]; ++p) {
                const I32 u = El[p];
                if (wt[u] <= 0 || deg[u] != -1)
                    continue;
                for (I32 p2 = p + 1; p2 < est[E] + elen[E]; ++p2) {
                    const I32 w = El[p2];
                    if (wt[w] <= 0 || deg[w] != -1 || nlen[w] != nlen[u] || nxt[w] != nxt[u])
                        continue;
                    bool same = true;
                    for (I32 q = nst[w]; q < nst[w] + nlen[w] && same; ++q) {
                        bool found = false;
                        for (I32 q2 = nst[u]; q2 < nst[u] + nlen[u]; ++q2)
                            if (Nl[q2] == Nl[q]) {
                                found = true;
                                break;
                            }
                        same = found;
                    }
                    if (!same)
                        continue;
                    wt[u] += wt[w];
                    wt[w] = 0;
                    nlen[w] = -u;
                }
            }
        }
        for (I32 i = passStart; i <= k; ++i) {
            const I32 E = nel + seq[i];
            for (I32 p = est[E]; p < est[E] + elen[E]; ++p) {
                const I32 u = El[p];
                if (wt[u] > 0 && deg[u] == -1)
                    insert(u, degreeOf(u));
            }
        }
    }

    // Final numbering: each representative, then the nodes merged into it.
    auto findRep = [&](I32 w) {
        I32 r = w;
        while (wt[r] == 0)
            r = -nlen[r];
        while (wt[w] == 0) {
            const I32 nx = -nlen[w];
            nlen[w] = -r;
            w = nx;
        }
        return r;
    };
    for (I32 v = 1; v <= n; ++v)
        deg[v] = 0;
    for (I32 v = 1; v <= n; ++v)
        if (wt[v] == 0)
            ++deg[findRep(v)];
    I32* fin = prv;
    {
        I32 pos = 1;
        for (I32 i = 1; i <= k; ++i) {
            const I32 v = seq[i];
            fin[pos] = v;
            nxt[v] = pos + 1;
            pos += 1 + deg[v];
        }
    }
    for (I32 v = 1; v <= n; ++v)
        if (wt[v] == 0)
            fin[nxt[findRep(v)]++] = v;
    for (I32 p = 1; p <= n; ++p)
        seq[p] = fin[p];

    // Node element lists for the tree search (transpose of element lists).
    {
        I32* np = A + pNdElPtr - 1;
        I32* ne = A + pNdElems - 1;
        for (I32 v = 1; v <= n + 1; ++v)
            np[v] = 0;
        for (I32 q = 1; q <= nnz; ++q)
            ++np[en[q]];
        I32 s = 1;
        for (I32 v = 1; v <= n + 1; ++v) {
            const I32 c = np[v];
            np[v] = s;
            s += c;
        }
        for (I32 e = 1; e <= nel; ++e)
            for (I32 q = ep[e]; q < ep[e + 1]; ++q)
                ne[np[en[q]]++] = e;
        for (I32 v = n; v >= 1; --v)
            np[v + 1] = np[v];
        np[1] = 1;
    }
    M[1] = 2;
}

} // namespace solvika

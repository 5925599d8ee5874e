// Symbolic phase of the sparse solver against a naive dense symbolic
// factorisation of the same pattern.
#include "tests/solvika/sparse_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <set>

namespace solvika::test {
namespace {

// Pattern of T^T K T in factor order, from the element connectivity.
std::vector<std::vector<char>> pattern(const SpxSystem& s)
{
    const int n = s.neq();
    std::vector<std::vector<char>> f(n + 1, std::vector<char>(n + 1, 0));
    for (int e = 1; e <= int(s.model.elems.size()); ++e) {
        std::set<int> eqs;
        for (I32 d : s.elementDofs(e)) {
            const I32 q = s.MDOFEQ[d - 1];
            if (q > 0)
                eqs.insert(q);
            else if (q < 0)
                for (auto& m : s.model.cons[-q - 1].masters)
                    eqs.insert(s.MDOFEQ[m.first - 1]);
        }
        for (int i : eqs)
            for (int j : eqs)
                f[i][j] = 1;
    }
    for (int i = 1; i <= n; ++i)
        f[i][i] = 1;
    // Fill of the elimination in this order.
    for (int k = 1; k <= n; ++k)
        for (int i = k + 1; i <= n; ++i)
            if (f[i][k])
                for (int j = k + 1; j <= n; ++j)
                    if (f[j][k])
                        f[i][j] = f[j][i] = 1;
    return f;
}

struct Naive {
    std::vector<int> parent, count, snodeFirst;
};

Naive naiveTree(const std::vector<std::vector<char>>& f)
{
    const int n = int(f.size()) - 1;
    Naive r;
    r.parent.assign(n + 1, 0);
    r.count.assign(n + 1, 0);
    std::vector<int> nchild(n + 1, 0);
    for (int j = 1; j <= n; ++j) {
        for (int i = j; i <= n; ++i)
            if (f[i][j]) {
                ++r.count[j];
                if (i > j && r.parent[j] == 0)
                    r.parent[j] = i;
            }
        if (r.parent[j])
            ++nchild[r.parent[j]];
    }
    for (int j = 1; j <= n; ++j) {
        const bool joins = j > 1 && r.parent[j - 1] == j && nchild[j] == 1 &&
                           r.count[j - 1] == r.count[j] + 1;
        if (!joins)
            r.snodeFirst.push_back(j);
    }
    r.snodeFirst.push_back(n + 1);
    return r;
}

// Checks every structural output of the set-up against the naive values.
void checkStructure(SpxSystem& s)
{
    const int n = s.neq();
    const auto f = pattern(s);
    const Naive nv = naiveTree(f);
    const int nsup = s.nsup();
    ASSERT_EQ(nsup + 1, int(nv.snodeFirst.size()));
    long long m15 = 0, m16 = 0, fops = 0, sops = 0;
    int m13 = 0, m14 = 0;
    for (int q = 1; q <= nsup; ++q) {
        ASSERT_EQ(s.first(q), nv.snodeFirst[q - 1]) << "supernode " << q;
        const auto rows = s.rowList(q);
        const int c = s.first(q + 1) - s.first(q);
        const long long r = rows.size();
        for (int k = 0; k < c; ++k) {
            const int j = s.first(q) + k;
            std::vector<int> want;
            for (int i = j; i <= n; ++i)
                if (f[i][j])
                    want.push_back(i);
            ASSERT_EQ(std::vector<int>(rows.begin() + k, rows.end()), want) << "column " << j;
        }
        m13 = std::max(m13, c);
        m14 = std::max<int>(m14, int(r));
        m15 += r;
        m16 += r * c - (long long)c * (c - 1) / 2;
        fops += r * c * (r + 2) - ((long long)c * (c + 1) / 2) * (2 * r + 2) +
                (long long)c * (c + 1) * (2 * c + 1) / 6;
        sops += 2 * (r * c - (long long)c * (c - 1) / 2 - c);
        // Children: processed before their parent, each the supernode of
        // the first row below the child's own columns.
        for (I32 ch : s.children(q)) {
            ASSERT_LT(ch, q);
            const auto cr = s.rowList(ch);
            const int cc = s.first(ch + 1) - s.first(ch);
            ASSERT_GT(int(cr.size()), cc);
            EXPECT_GE(cr[cc], s.first(q));
            EXPECT_LT(cr[cc], s.first(q + 1));
        }
    }
    // Assembly counts: element terms n(n+1)/2, and the update matrices
    // of every child.
    double orig = 0, gen = 0;
    for (int e = 1; e <= int(s.model.elems.size()); ++e) {
        std::set<int> eqs;
        for (I32 d : s.elementDofs(e)) {
            const I32 q = s.MDOFEQ[d - 1];
            if (q > 0)
                eqs.insert(q);
            else if (q < 0)
                for (auto& m : s.model.cons[-q - 1].masters)
                    eqs.insert(s.MDOFEQ[m.first - 1]);
        }
        orig += double(eqs.size()) * (eqs.size() + 1) / 2;
    }
    for (int q = 1; q <= nsup; ++q)
        for (I32 ch : s.children(q)) {
            const double u = s.rowsOf(ch) - (s.first(ch + 1) - s.first(ch));
            gen += u * (u + 1) / 2;
        }
    EXPECT_FLOAT_EQ(s.stats[0], float(orig));
    EXPECT_FLOAT_EQ(s.stats[1], float(gen));
    EXPECT_EQ(s.mspar(13), m13);
    EXPECT_EQ(s.mspar(14), m14);
    EXPECT_EQ(s.mspar(15), m15);
    EXPECT_EQ(s.mspar(16), m16);
    EXPECT_FLOAT_EQ(s.stats[2], float(fops));
    EXPECT_FLOAT_EQ(s.stats[3], float(sops + n));
    // Peak work: the stack of update matrices in processing order.
    long long stack = 0, peak = 0;
    for (int q = 1; q <= nsup; ++q) {
        const long long r = s.rowsOf(q), c = s.first(q + 1) - s.first(q);
        peak = std::max(peak, stack + r * (r + 1) / 2);
        for (I32 ch : s.children(q)) {
            const long long u = s.rowsOf(ch) - (s.first(ch + 1) - s.first(ch));
            stack -= u * (u + 1) / 2;
        }
        if (r > c)
            stack += (r - c) * (r - c + 1) / 2;
    }
    EXPECT_EQ(stack, 0);
    EXPECT_EQ(s.mspar(17), peak);
    // The equation maps.
    for (int q = 1; q <= nsup; ++q)
        for (int e = s.first(q); e < s.first(q + 1); ++e)
            EXPECT_EQ(s.MEQMAP[n + e - 1], q);
}

// A grid with supports, a prescribed value and two-master couplings.
SpxModel constrainedGrid(int nx, int ny, int dofs)
{
    SpxModel m = gridModel(nx, ny, dofs);
    // Node 1 fully fixed, node 2 first DOF prescribed.
    for (int k = 1; k <= dofs; ++k)
        m.msc[m.dof(1, k) - 1] = 0;
    m.msc[m.dof(2, 1) - 1] = 0;
    m.cons.push_back({m.dof(2, 1), 0.5, {}});
    // Last node's first DOF follows two DOFs of other nodes.
    const int last = nx * ny;
    m.msc[m.dof(last, 1) - 1] = 0;
    m.cons.push_back({m.dof(last, 1), 0.1, {{m.dof(3, 1), 0.5}, {m.dof(nx + 2, dofs), -2.0}}});
    // A status-2 DOF.
    m.msc[m.dof(nx + 1, dofs) - 1] = 2;
    return m;
}

TEST(SparseSymbolic, StructureEqualsNaiveSymbolicFactorisation)
{
    struct Case {
        int nx, ny, dofs;
        bool reorder;
    };
    for (const Case c : {Case{5, 4, 2, false}, Case{5, 4, 2, true}, Case{7, 6, 3, true},
                         Case{9, 3, 1, false}, Case{12, 11, 1, true}}) {
        SCOPED_TRACE(testing::Message() << c.nx << "x" << c.ny << " dofs " << c.dofs << " mmd " << c.reorder);
        SpxSystem s;
        s.model = constrainedGrid(c.nx, c.ny, c.dofs);
        ASSERT_EQ(s.setup(c.reorder), 0) << s.failedStep;
        EXPECT_EQ(s.mspar(1), 4);
        EXPECT_EQ(s.mspar(9), 0);
        EXPECT_EQ(s.mspar(22), 0);
        checkStructure(s);
    }
}

TEST(SparseSymbolic, ForestOfTwoPartsAndOneSupernodeChain)
{
    // Two unconnected strips: a forest; each root ends its own subtree.
    SpxSystem s;
    s.model = gridModel(4, 2, 2);
    SpxModel b = gridModel(3, 2, 1);
    const I32 off = s.model.nanod();
    for (I32 d : b.dofsPerNode)
        s.model.dofsPerNode.push_back(d);
    for (auto e : b.elems) {
        for (I32& n : e)
            n += off;
        s.model.elems.push_back(e);
    }
    s.model.msc.assign(s.model.ndof(), 1);
    ASSERT_EQ(s.setup(true), 0);
    checkStructure(s);
    const I32 nroots = s.MTREES[3 * s.nsup() + 2];
    EXPECT_EQ(nroots, 2);

    // A single element: one dense front, one supernode.
    SpxSystem one;
    one.model.setNodes(3, 3);
    one.model.elems = {{1, 2, 3}};
    ASSERT_EQ(one.setup(false), 0);
    EXPECT_EQ(one.nsup(), 1);
    EXPECT_EQ(one.mspar(16), 9 * 10 / 2);
    checkStructure(one);
}

TEST(SparseSymbolic, GraphNodesOfStatusGroupsAndMasters)
{
    // Node 1: DOFs status 1, 2, 1; node 2: all fixed; node 3: DOF 1 is a
    // master of a coupling, DOF 2 free; node 4: slave DOF 1 of that
    // coupling, DOF 2 free, DOF 3 fixed.
    SpxSystem s;
    s.model.setNodes(4, 3);
    s.model.elems = {{1, 2}, {2, 4}, {3, 4}, {2}};
    auto& m = s.model;
    m.msc = {1, 2, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0};
    m.cons.push_back({m.dof(4, 1), 0.0, {{m.dof(3, 1), 1.0}}});
    ASSERT_EQ(s.setup(false, 2), 0);
    // Graph nodes: {1,3}, {2}, {7}, {8,9}, {11}.
    EXPECT_EQ(s.mspar(6), 5);
    SpxSystem t;
    t.model = s.model;
    ASSERT_EQ(t.setup(false), 0);
    const I32 nel = 4, nnod = 5, neq = t.neq();
    EXPECT_EQ(neq, 7);
    const I32* ica = t.MSICA.data() - 1;
    // DOF list, node by node (graph node numbers in creation order).
    const I32* dp = ica + nel + nnod + 3 - 1;
    const I32* dl = ica + nel + 2 * nnod + 4 - 1;
    std::vector<std::vector<I32>> groups;
    for (I32 g = 1; g <= nnod; ++g)
        groups.emplace_back(dl + dp[g], dl + dp[g + 1]);
    EXPECT_EQ(groups, (std::vector<std::vector<I32>>{{1, 3}, {2}, {7}, {8, 9}, {11}}));
    // Element lists: the fixed node gives none; the slave expands to its
    // master's graph node.
    const I32* ep = ica;
    const I32* en = ica + nel + 3 * nnod + neq + 4 - 1;
    auto list = [&](int e) {
        std::vector<I32> v(en + ep[e], en + ep[e + 1]);
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(list(1), (std::vector<I32>{1, 2}));
    EXPECT_EQ(list(2), (std::vector<I32>{3, 5}));
    EXPECT_EQ(list(3), (std::vector<I32>{3, 4, 5}));
    EXPECT_TRUE(list(4).empty());
    EXPECT_EQ(t.mspar(24), 3);
    checkStructure(t);
    SpxSystem r;
    r.model = s.model;
    ASSERT_EQ(r.setup(true), 0);
    checkStructure(r);
}

TEST(SparseSymbolic, ChildOrderGivesTheSmallestStack)
{
    // A root element joined to three arms of different sizes: the arm
    // with the largest peak minus update size goes first.
    SpxSystem s;
    auto& m = s.model;
    m.dofsPerNode.clear();
    std::vector<I32> ends;
    auto addArm = [&](int len, int width) {
        I32 prev = 0;
        for (int k = 0; k < len; ++k) {
            m.dofsPerNode.push_back(width);
            const I32 n = m.nanod();
            if (prev != 0)
                m.elems.push_back({prev, n});
            prev = n;
        }
        ends.push_back(prev);
    };
    addArm(1, 6);
    addArm(3, 2);
    addArm(2, 4);
    m.dofsPerNode.push_back(1);  // the hub, numbered last
    for (I32 e : ends)
        m.elems.push_back({e, m.nanod()});
    m.msc.assign(m.ndof(), 1);
    ASSERT_EQ(s.setup(false), 0);
    checkStructure(s);
    // Brute force over every order of the root's children, with the
    // subtree peaks of the children in their stored orders.
    const I32 root = s.nsup();
    auto usize = [&](I32 q) {
        const long long u = s.rowsOf(q) - (s.first(q + 1) - s.first(q));
        return u * (u + 1) / 2;
    };
    std::function<long long(I32)> subPeak = [&](I32 q) {
        long long sum = 0, p = 0;
        for (I32 ch : s.children(q)) {
            p = std::max(p, sum + subPeak(ch));
            sum += usize(ch);
        }
        const long long r = s.rowsOf(q);
        return std::max(p, sum + r * (r + 1) / 2);
    };
    auto kids = s.children(root);
    ASSERT_EQ(kids.size(), 3u);
    std::vector<int> perm = {0, 1, 2};
    long long best = -1, worst = 0;
    do {
        long long sum = 0, p = 0;
        for (int k : perm) {
            p = std::max(p, sum + subPeak(kids[k]));
            sum += usize(kids[k]);
        }
        const long long r = s.rowsOf(root);
        p = std::max(p, sum + r * (r + 1) / 2);
        best = best < 0 ? p : std::min(best, p);
        worst = std::max(worst, p);
    } while (std::next_permutation(perm.begin(), perm.end()));
    EXPECT_LT(best, worst);  // the example does depend on the order
    EXPECT_EQ(subPeak(root), best);
    EXPECT_EQ(s.mspar(17), best);
}

TEST(SparseSymbolic, MinimumDegreeOrder)
{
    // Isolated graph nodes come first, highest number first; then ties of
    // the minimum degree take the highest-numbered node.
    SpxSystem s;
    s.model.setNodes(6, 1);
    s.model.elems = {{1, 2}, {2, 3}, {3, 4}, {5}, {6}};
    ASSERT_EQ(s.setup(true, 3), 0);
    const I32 nel = 5, nnod = 6, neq = 6;
    const I32* ord = s.MSICA.data() + nel + 2 * nnod + neq + 4 - 1;
    // Degree 0: 6, 5. Then the path 1-2-3-4: both ends have degree 1,
    // the higher (4) first and, not adjacent to it, 1 in the same pass.
    EXPECT_EQ(std::vector<I32>(ord, ord + 4), (std::vector<I32>{6, 5, 4, 1}));
    EXPECT_EQ(std::set<I32>(ord + 4, ord + 6), (std::set<I32>{2, 3}));
    EXPECT_EQ(s.mspar(1), 2);

    // On a larger grid: a permutation whose fill is well below the natural
    // order's, with many marker resets (bound = max(NNOD, NEL) + 1).
    SpxSystem g, nat;
    g.model = gridModel(30, 30, 2);
    nat.model = g.model;
    ASSERT_EQ(g.setup(true), 0);
    ASSERT_EQ(nat.setup(false), 0);
    std::vector<I32> o(g.MSICA.begin() + 2 * 841 + 2 * 900 + 1800 + 3, g.MSICA.begin() + 2 * 841 + 3 * 900 + 1800 + 3);
    std::sort(o.begin(), o.end());
    std::vector<I32> id(900);
    std::iota(id.begin(), id.end(), 1);
    EXPECT_EQ(o, id);
    EXPECT_LT(g.mspar(16), nat.mspar(16) * 6 / 10);
    checkStructure(g);
}

TEST(SparseSymbolic, IndistinguishableNodesFollowTheirRepresentative)
{
    // Nodes 2 and 3 share exactly the same elements: after the first
    // elimination they are merged and numbered together.
    SpxSystem s;
    s.model.setNodes(5, 1);
    s.model.elems = {{1, 2, 3}, {2, 3, 4}, {4, 5}};
    ASSERT_EQ(s.setup(true, 3), 0);
    const I32 nel = 3, nnod = 5, neq = 5;
    const I32* ord = s.MSICA.data() + nel + 2 * nnod + neq + 4 - 1;
    std::vector<I32> o(ord, ord + nnod);
    const auto p2 = std::find(o.begin(), o.end(), 2) - o.begin();
    const auto p3 = std::find(o.begin(), o.end(), 3) - o.begin();
    EXPECT_EQ(std::abs(p2 - p3), 1);
    std::vector<I32> sorted = o;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<I32>{1, 2, 3, 4, 5}));
}

} // namespace
} // namespace solvika::test

// The system sparse matrix on its row array: insertion, layout from a DOF
// reordering, symmetric assembly, the eliminations of prescribed unknowns,
// the factorisations through the array and the Gauss-Seidel iteration.
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "matrix/zelkor.h"
#include "tests/support/message_recorder.h"
#include "tests/zelkor/reorder_graphs.h"
#include "tests/zelkor/sparse_patch.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::Entries;
using zelkortest::Cells;
using zelkortest::SymScope;
using zelkortest::ExpectNear;

std::vector<int> Columns(CSparseMatrix& m, int i)
{
    std::vector<int> out;
    CSparseMatrix::row* r = m.GetFirstRow();
    while (r && r->iRow != i)
        r = r->pNext;
    for (CSparseMatrix::cell* c = r ? r->pFirstCell : nullptr; c; c = c->pNext)
        out.push_back(c->iCol);
    return out;
}

} // namespace

TEST(SystSparse, InsertionNeverStoresZerosAndAllocateKeepsThePattern)
{
    CSystSpMat m(4);
    EXPECT_EQ(m.GetRows(), 4);
    EXPECT_EQ(m.GetColumns(), 4);
    CSparseMatrix::row* r = nullptr;
    CSparseMatrix::cell* c = nullptr;
    m.Add(1, 2, 0.0, r, c);
    m.Add(1, 2, 0.0, c);
    m.Add(1, 2, 0.0, r);
    m.Add(1, 2, 0.0);
    EXPECT_TRUE(Cells(m).empty());

    m.Add(3, 1, 2.0, r, c);
    m.Add(3, 3, 1.0, r, c);
    m.Add(0, 0, 5.0, r, c); // another row: the cell cursor is not used there
    m.Add(3, 1, 1.0);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 5.0}, {3, 1, 3.0}, {3, 3, 1.0}}));

    int same[1] = {4};
    EXPECT_TRUE(m.Allocate(same, 1));
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 0.0}, {3, 1, 0.0}, {3, 3, 0.0}}));
    int other[1] = {2};
    m.Allocate(other, 1);
    EXPECT_EQ(m.GetRows(), 2);
    EXPECT_TRUE(Cells(m).empty());

    // The array cannot lose or gain single rows: Mirror and AAT leave it,
    // Clear drops everything.
    m.Add(0, 1, 2.0);
    m.Mirror(1.0);
    m.AAT();
    EXPECT_EQ(Cells(m), (Entries{{0, 1, 2.0}}));
    m.UnifyAndZero(1);
    EXPECT_EQ(Cells(m), (Entries{{1, 1, 1.0}}));
    m.Clear();
    EXPECT_EQ(m.GetRows(), 0);
    EXPECT_EQ(m.GetFirstRow(), nullptr);
}

TEST(SystSparse, AssignmentGrowsAndAdds)
{
    CSystSpMat small(2), large(4);
    small.Add(1, 1, 1.0);
    large.Add(1, 1, 2.0);
    large.Add(3, 0, 4.0);
    small = large;
    EXPECT_EQ(small.GetRows(), 4);
    EXPECT_EQ(Cells(small), (Entries{{1, 1, 3.0}, {3, 0, 4.0}}));
    large.Add(3, 0, 1.0);
    EXPECT_EQ(Cells(small), (Entries{{1, 1, 3.0}, {3, 0, 4.0}}));
}

TEST(SystSparse, SortLongs)
{
    std::vector<std::vector<LONG>> cases = {
        {3, 1, 2, 1}, {}, {7}, {2, 2, 2}, {5, 4, 3, 2, 1}, {1, 2, 3, 4, 5, 6}, {9, -3, 9, 0, 4, -3, 8, 1}};
    for (auto values : cases) {
        auto expected = values;
        std::sort(expected.begin(), expected.end());
        CSystSpMat::SortLongs(values.data(), static_cast<int>(values.size()));
        EXPECT_EQ(values, expected);
    }
}

TEST(SystSparse, LayoutFromAReordering)
{
    // Path 0 - 1 - 2 - 3 plus the chord 0 - 2; new numbers swap 0 and 3.
    CReorderMat g(0);
    reordertest::Build(g, 4, {{0, 1}, {1, 2}, {2, 3}, {0, 2}});
    g.Move(0, 3);
    g.PostReorder();
    std::vector<std::vector<LONG>> before;
    for (int v = 0; v < 4; ++v)
        before.emplace_back(g.GetRow(v), g.GetRow(v) + g.GetRowLength(v));

    CSystSpMat m;
    ASSERT_TRUE(m.Allocate(g));
    // New numbers: old 0 -> 3, 1 -> 1, 2 -> 2, 3 -> 0.
    EXPECT_EQ(Columns(m, 0), (std::vector<int>{0, 2}));
    EXPECT_EQ(Columns(m, 1), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Columns(m, 2), (std::vector<int>{2, 3}));
    EXPECT_EQ(Columns(m, 3), (std::vector<int>{3})); // every neighbour is lower
    EXPECT_EQ(Cells(m).size(), 8u);
    for (auto& [i, j, v] : Cells(m))
        EXPECT_EQ(v, 0.0);
    // The graph's lists are read, not rewritten.
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(std::vector<LONG>(g.GetRow(v), g.GetRow(v) + g.GetRowLength(v)), before[v]);

    // The same size with another ordering lays out that ordering's pattern.
    g.Move(0, 3);
    g.PostReorder();
    ASSERT_TRUE(m.Allocate(g));
    EXPECT_EQ(Columns(m, 0), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Columns(m, 3), (std::vector<int>{3}));
    EXPECT_EQ(Columns(m, 2), (std::vector<int>{2, 3}));
}

TEST(SystSparse, SymmetricAssemblyAndFactorisation)
{
    SymScope sym(true);
    CSystSpMat m(2);
    LONG dofs[2] = {1, 0};
    double block[4] = {3, 2, 2, 4}; // (1,1)=3, (1,0)=2, (0,1)=2, (0,0)=4
    m.AddValues(dofs, block, 2);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 4.0}, {0, 1, 2.0}, {1, 1, 3.0}}));
    EXPECT_EQ(m.Cholesky(), 1);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 4.0}, {0, 1, 0.5}, {1, 1, 2.0}}));

    CSystSpMat offDiagonal(2);
    offDiagonal.Add(0, 1, 1.0);
    offDiagonal.Add(1, 1, 1.0);
    EXPECT_EQ(offDiagonal.Cholesky(), -1);
    CSystSpMat emptyRow(2);
    emptyRow.Add(0, 0, 1.0);
    EXPECT_EQ(emptyRow.Cholesky(), -1);

    CSystSpMat lower(2);
    lower.Add(0, 0, 1.0);
    lower.Add(1, 0, 2.0);
    lower.Add(1, 1, 1.0);
    EXPECT_EQ(lower.LU(), 1);
    EXPECT_EQ(Cells(lower), (Entries{{0, 0, 1.0}, {1, 0, 2.0}, {1, 1, 1.0}}));
}

namespace {

// The patch's system, dense, with prescribed displacements eliminated the
// textbook way: the reference the three sparse forms must meet.
CMatrix ReferenceSolution(sparsetest::Patch& patch, const std::vector<int>& dofs,
                          const std::vector<double>& values)
{
    CMatrix k(patch.dofs, patch.dofs, true, 0.0);
    patch.Assemble(k);
    CMatrix b = patch.Loads();
    for (std::size_t n = 0; n < dofs.size(); ++n) {
        const int d = dofs[n];
        for (int r = 0; r < patch.dofs; ++r) {
            for (int c = 0; c < b.GetColumns(); ++c)
                b[r][c] -= k[r][d] * values[n];
            k[r][d] = k[d][r] = 0.0;
        }
    }
    for (std::size_t n = 0; n < dofs.size(); ++n) {
        k[dofs[n]][dofs[n]] = 1.0;
        for (int c = 0; c < b.GetColumns(); ++c)
            b[dofs[n]][c] = values[n];
    }
    double seconds;
    EXPECT_TRUE(k.SolveAxEqb(&b, true, seconds));
    return b;
}

} // namespace

TEST(SystSparse, PrescribedValuesInEveryElimination)
{
    brantel::test::MessageRecorder messages;
    sparsetest::Patch patch(3, 3);
    const std::vector<int> dofs = {3, 6, 10};
    const std::vector<double> values = {0.25, -0.5, 0.125};
    const CMatrix expected = ReferenceSolution(patch, dofs, values);
    CVector d(3), u(3);
    for (int k = 0; k < 3; ++k) {
        d[k] = dofs[k];
        u[k] = values[k];
    }
    double seconds;

    {
        SymScope sym(false);
        CSystSpMat full(patch.dofs);
        patch.Assemble(full);
        CMatrix b = patch.Loads();
        full.UnifyAndZero2(d, u, &b);
        EXPECT_EQ(full.LU_Solve(&b, seconds), 1);
        ExpectNear(b, expected, 1e-10);
    }
    {
        SymScope sym(true);
        CSystSpMat upper(patch.dofs);
        patch.Assemble(upper);
        EXPECT_TRUE(upper.IsUpper());
        CMatrix b = patch.Loads();
        upper.SymUnifyAndZero(d, u, &b);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(b[dofs[k]][0], values[k]);
            EXPECT_EQ(b[dofs[k]][1], values[k]);
        }
        EXPECT_EQ(upper.Cholesky_Solve(&b, seconds), 1);
        ExpectNear(b, expected, 1e-10);
    }
    {
        SymScope sym(true);
        CSystSpMat upper(patch.dofs);
        patch.Assemble(upper);
        // One row per unknown: its number, then its value in each load case.
        CMatrix bc(3, 3);
        for (int k = 0; k < 3; ++k)
            bc[k][0] = dofs[k], bc[k][1] = bc[k][2] = values[k];
        // A prescribed record without its diagonal still becomes a unit row.
        delete upper.GetFirstRow()->pNext->pNext->pNext->Remove(3);
        CMatrix b = patch.Loads();
        upper.SymHandleBCs(bc, b);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(b[dofs[k]][1], values[k]);
        EXPECT_EQ(upper.Cholesky_Solve(&b, seconds), 1);
        ExpectNear(b, expected, 1e-10);
    }
}

TEST(SystSparse, GaussSeidelBothStorages)
{
    brantel::test::MessageRecorder messages;
    sparsetest::Patch patch(3, 3);
    CMatrix k(patch.dofs, patch.dofs, true, 0.0);
    patch.Assemble(k);
    CMatrix load = patch.Loads(1);
    CMatrix expected = load;
    double seconds;
    ASSERT_TRUE(k.SolveAxEqb(&expected, true, seconds));

    for (bool symmetric : {false, true}) {
        SymScope sym(symmetric);
        CSystSpMat m(patch.dofs);
        patch.Assemble(m);
        CVector b(patch.dofs), x(patch.dofs, true, 0.0);
        for (int i = 0; i < patch.dofs; ++i)
            b[i] = load[i][0];
        messages.clear();
        EXPECT_EQ(m.GaussSeidel_Iter(b, x, 1e-12, 20000), 1) << symmetric;
        for (int i = 0; i < patch.dofs; ++i)
            EXPECT_NEAR(x[i], expected[i][0], 1e-8) << symmetric << " " << i;
        ASSERT_EQ(messages.texts().size(), 1u);
        const std::string text = messages.texts()[0];
        EXPECT_EQ(text.rfind("Used time solving :   0 m ", 0), 0u) << text;
        EXPECT_NE(text.find(" NEQ             :   " + std::to_string(patch.dofs) + "\r\n"),
                  std::string::npos);
        EXPECT_NE(text.find(std::string(" Symmetric       :   ") + (symmetric ? "1" : "0")),
                  std::string::npos);

        // Too few sweeps: -1, x holds the last iterate.
        CVector x2(patch.dofs, true, 0.0);
        EXPECT_EQ(m.GaussSeidel_Iter(b, x2, 1e-12, 2), -1);
        EXPECT_NE(x2.InfNorm(), 0.0);
    }
}

// The list-based sparse matrix: insertion, elimination of prescribed
// unknowns, factorisations and solves, iterative solves, text forms, archive
// and the dense matrix's products with it.
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "matrix/zelkor.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_files.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::Entries;
using zelkortest::Cells;
using zelkortest::ExpectNear;

void Fill(CSparseMatrix& m, const Entries& entries)
{
    for (auto [i, j, v] : entries)
        m.Add(i, j, v);
}

// A symmetric positive definite 4 x 4 matrix, dense and as upper triangle.
const double kSpd[4][4] = {{10, 2, 0, 1}, {2, 8, 1, 0}, {0, 1, 6, 2}, {1, 0, 2, 7}};

CMatrix DenseSpd()
{
    CMatrix a(4, 4);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            a[i][j] = kSpd[i][j];
    return a;
}

void FillSpd(CSparseMatrix& m, bool upperOnly)
{
    for (int i = 0; i < 4; ++i)
        for (int j = upperOnly ? i : 0; j < 4; ++j)
            m.Add(i, j, kSpd[i][j]);
}

// Two right-hand sides.
CMatrix Rhs()
{
    CMatrix b(4, 2);
    const double v[4][2] = {{1, 0}, {2, -1}, {3, 0.5}, {-4, 2}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 2; ++c)
            b[i][c] = v[i][c];
    return b;
}

CMatrix DenseSolution(CMatrix a, CMatrix b)
{
    double seconds;
    EXPECT_TRUE(a.SolveAxEqb(&b, true, seconds));
    return b;
}

} // namespace

TEST(SparseInsert, ZerosCursorsSumsAndOrder)
{
    CSparseMatrix m;
    m.Add(1, 1, 0.0);
    EXPECT_EQ(m.GetFirstRow(), nullptr);
    EXPECT_EQ(m.GetRows(), 0);

    CSparseMatrix::cell* c = nullptr;
    m.Add(2, 3, 0.0, c);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->iCol, 3);
    EXPECT_EQ(Cells(m), (Entries{{2, 3, 0.0}}));

    // Out of order, with a repeat: one cell with the sum, rows and cells
    // strictly ascending.
    Fill(m, {{4, 2, 1.0}, {0, 5, 2.0}, {2, 1, 3.0}, {4, 0, 4.0}, {2, 1, 0.5}, {0, 0, 6.0}});
    CSparseMatrix::row* r = nullptr;
    c = nullptr;
    m.Add(4, 2, 1.0, r, c);
    m.Add(4, 7, 1.0, r, c);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 6.0}, {0, 5, 2.0}, {2, 1, 3.5}, {2, 3, 0.0}, {4, 0, 4.0},
                                 {4, 2, 2.0}, {4, 7, 1.0}}));
    EXPECT_EQ(m.GetRows(), 5);
    EXPECT_EQ(m.GetColumns(), 8);
    ASSERT_NE(m.GetValue(2, 1), nullptr);
    EXPECT_EQ(*m.GetValue(2, 1), 3.5);
    EXPECT_EQ(m.GetValue(1, 1), nullptr);

    CSparseMatrix single;
    single.Add(5, 0, 1.0);
    EXPECT_EQ(single.GetRows(), 6);
    EXPECT_EQ(single.GetColumns(), 1);
}

TEST(SparseInsert, AddValuesSumsBothTrianglesAndSkipsNegativeDofs)
{
    CSparseMatrix m;
    LONG dofs[3] = {2, -1, 0};
    double block[9] = {1, 2, 3, 4, 5, 6, 7, 0, 9};
    m.AddValues(dofs, block, 3);
    m.AddValues(dofs, block, 3);
    // (2,2) = 2*1, (2,0) = 2*3, (0,2) = 2*7, (0,0) = 2*9; the zero at (0, -1)
    // is never reached.
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 18.0}, {0, 2, 14.0}, {2, 0, 6.0}, {2, 2, 2.0}}));
}

TEST(SparseEliminate, UnifyAndZero)
{
    CSparseMatrix empty;
    empty.UnifyAndZero(3);
    EXPECT_EQ(Cells(empty), (Entries{{3, 3, 1.0}}));

    CSparseMatrix m;
    Fill(m, {{2, 2, 5.0}, {2, 4, 1.0}, {4, 1, 2.0}});
    m.UnifyAndZero(1);
    EXPECT_EQ(Cells(m), (Entries{{1, 1, 1.0}, {2, 2, 5.0}, {2, 4, 1.0}}));
    EXPECT_EQ(m.GetFirstRow()->iRow, 1);

    // The prescribed value times the removed column moves to the loads.
    CSparseMatrix a;
    FillSpd(a, false);
    CMatrix b = Rhs();
    a.UnifyAndZero(1, 0.5, &b);
    EXPECT_EQ(b[1][0], 0.5);
    EXPECT_EQ(b[1][1], 0.5);
    EXPECT_EQ(b[0][0], 1.0 - 0.5 * 2.0);
    EXPECT_EQ(b[2][1], 0.5 - 0.5 * 1.0);
    EXPECT_EQ(b[3][0], -4.0);
    CMatrix dense;
    dense.UnSparse(&a);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dense[1][i], i == 1 ? 1.0 : 0.0);
        EXPECT_EQ(dense[i][1], i == 1 ? 1.0 : 0.0);
    }
}

TEST(SparseFactor, CholeskyOfTwoByTwoAndItsFailures)
{
    CSparseMatrix m;
    Fill(m, {{0, 0, 4.0}, {0, 1, 2.0}, {1, 1, 3.0}});
    EXPECT_EQ(m.Cholesky(), 1);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 4.0}, {0, 1, 0.5}, {1, 1, 2.0}}));

    struct Case {
        const char* name;
        Entries entries;
    };
    const Case failures[] = {
        {"row 1 missing", {{0, 0, 4.0}, {2, 2, 1.0}}},
        {"first cell off the diagonal", {{0, 0, 4.0}, {1, 2, 1.0}, {2, 2, 3.0}}},
        {"zero pivot", {{0, 0, 0.0}, {1, 1, 1.0}}},
        {"negative pivot after elimination", {{0, 0, 1.0}, {0, 1, 2.0}, {1, 1, 3.0}}},
    };
    for (const Case& c : failures) {
        CSparseMatrix f;
        for (auto [i, j, v] : c.entries) {
            CSparseMatrix::cell* cursor = nullptr;
            f.Add(i, j, v, cursor);
        }
        EXPECT_EQ(f.Cholesky(), -1) << c.name;
    }
}

TEST(SparseSolve, CholeskyAndLUSolveSeveralColumns)
{
    brantel::test::MessageRecorder messages;
    const CMatrix expected = DenseSolution(DenseSpd(), Rhs());

    CSparseMatrix upper;
    FillSpd(upper, true);
    CMatrix b = Rhs();
    double seconds = 0.0;
    EXPECT_EQ(upper.Cholesky_Solve(&b, seconds), 1);
    EXPECT_GE(seconds, 0.0);
    ExpectNear(b, expected, 1e-12);
    EXPECT_GT(CVirtMat::m_Flops, 0u);

    // A non-symmetric matrix with fill-in, through LU.
    const double g[4][4] = {{4, 1, 0, 2}, {0, 3, 1, 0}, {1, 0, 5, 0}, {0, 2, 0, 6}};
    CMatrix dense(4, 4);
    CSparseMatrix full;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            dense[i][j] = g[i][j];
            full.Add(i, j, g[i][j]);
        }
    b = Rhs();
    messages.clear();
    EXPECT_EQ(full.LU_Solve(&b, seconds), 1);
    ExpectNear(b, DenseSolution(dense, Rhs()), 1e-12);
    ASSERT_EQ(messages.texts().size(), 1u);
    const std::string text = messages.texts()[0];
    EXPECT_EQ(text.rfind("Used time:\r\n Factorizing  :   0 m ", 0), 0u) << text;
    EXPECT_NE(text.find(" s\r\n Forw. subst. :   0 m "), std::string::npos);
    EXPECT_NE(text.find(" s\r\n Backw. subst.:   0 m "), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 4), " s\r\n");

    CSparseMatrix singular;
    Fill(singular, {{0, 1, 1.0}, {1, 0, 1.0}});
    b = Rhs();
    messages.clear();
    EXPECT_EQ(singular.LU_Solve(&b, seconds), -1);
    EXPECT_EQ(seconds, -1.0);
    EXPECT_TRUE(messages.texts().empty());

    CSparseMatrix indefinite;
    Fill(indefinite, {{0, 0, -1.0}, {1, 1, 1.0}});
    EXPECT_EQ(indefinite.Cholesky_Solve(&b, seconds), -1);
    EXPECT_EQ(seconds, -1.0);
}

TEST(SparseFactor, LUEliminatesBelowAPivotWithNothingRightOfIt)
{
    // Row 0 holds only its diagonal; row 1 still needs its multiplier.
    CSparseMatrix m;
    Fill(m, {{0, 0, 1.0}, {1, 0, 2.0}, {1, 1, 1.0}});
    EXPECT_EQ(m.LU(), 1);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 1.0}, {1, 0, 2.0}, {1, 1, 1.0}}));
    CMatrix b(2, 1);
    b[0][0] = 1.0;
    b[1][0] = 5.0;
    m.ForwSub(&b, nullptr, 1);
    m.BackwSub(&b, nullptr, 2);
    EXPECT_EQ(b[0][0], 1.0);
    EXPECT_EQ(b[1][0], 3.0);
}

TEST(SparseSolve, DiagMultModes)
{
    CSparseMatrix m;
    Fill(m, {{0, 0, 2.0}, {1, 2, 5.0}, {2, 2, 4.0}});
    CMatrix b(3, 2, true, 8.0);
    double seconds = 0.0;
    m.DiagMult(&b, &seconds, -2);
    EXPECT_EQ(b[0][0], 4.0);
    EXPECT_EQ(b[1][0], std::numeric_limits<double>::infinity());
    EXPECT_EQ(b[1][1], std::numeric_limits<double>::infinity());
    EXPECT_EQ(b[2][1], 2.0);
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 1000.0);

    CMatrix c(3, 1, true, 3.0);
    m.DiagMult(&c, nullptr, 2);
    EXPECT_EQ(c[1][0], 0.0);
    EXPECT_EQ(c[2][0], 12.0);
    m.DiagMult(&c, nullptr, 1); // a_ii *= b_i0
    EXPECT_EQ(*m.GetValue(0, 0), 12.0);
}

TEST(SparseIterate, ConjugateGradientsReachTheDirectSolution)
{
    brantel::test::MessageRecorder messages;
    const CMatrix expected = DenseSolution(DenseSpd(), Rhs());
    for (bool scale : {false, true}) {
        CSparseMatrix m;
        FillSpd(m, true);
        CMatrix b = Rhs();
        double norm = 0.0;
        const int it = m.ConjGradient(b, nullptr, norm, 50, 1e-13, nullptr, scale);
        EXPECT_GE(it, 1);
        EXPECT_LE(it, 8);
        ExpectNear(b, expected, 1e-10);
        EXPECT_LT(norm, 1e-10);

        // From a start matrix: the correction is added to it.
        CSparseMatrix m2;
        FillSpd(m2, true);
        CMatrix x0(4, 2, true, 0.25), b2 = Rhs();
        m2.ConjGradient(b2, &x0, norm, 50, 1e-13, nullptr, scale);
        ExpectNear(x0, expected, 1e-10);

        CSparseMatrix m3;
        FillSpd(m3, true);
        CMatrix b3 = Rhs();
        CVector times;
        messages.clear();
        const int it3 = m3.ConjGradient2(b3, norm, 50, 1e-13, &times, scale);
        EXPECT_GE(it3, 1);
        EXPECT_LE(it3, 8);
        ExpectNear(b3, expected, 1e-10);
        EXPECT_EQ(times.GetSize(), 2);
        ASSERT_EQ(messages.texts().size(), 1u);
        const std::string text = messages.texts()[0];
        EXPECT_EQ(text.rfind("Used time:\r\n Solving (1)    :   0 m ", 0), 0u) << text;
        EXPECT_NE(text.find(" Iter/Eq's      : "), std::string::npos);
        EXPECT_NE(text.find("\r\n (norms are inf-norm)"), std::string::npos);
        // The matrix itself is left as it was.
        EXPECT_EQ(*m3.GetValue(0, 0), 10.0);
    }
}

TEST(SparseIterate, ConjGradient2TreatsUnitRowsAsIdentity)
{
    CSparseMatrix m;
    FillSpd(m, true);
    CMatrix b = Rhs();
    m.UnifyAndZero(2, 0.0, &b);
    double* values = nullptr;
    int* columns = nullptr;
    int* counts = nullptr;
    const int total = m.MakeArrayMat(values, columns, counts, 4);
    EXPECT_EQ(counts[2], 0);
    EXPECT_EQ(counts[0], 3);
    EXPECT_EQ(total, 3 + 1 + 1);
    delete[] values;
    delete[] columns;
    delete[] counts;

    CMatrix reference = DenseSpd();
    for (int i = 0; i < 4; ++i)
        reference[2][i] = reference[i][2] = i == 2 ? 1.0 : 0.0;
    CMatrix expected = DenseSolution(reference, b);
    double norm;
    m.ConjGradient2(b, norm, 50, 1e-13, nullptr, true);
    ExpectNear(b, expected, 1e-10);
}

TEST(SparseText, ReadASCIIStoresNoZeros)
{
    zelkortest::TempFile file("1 0 2\n0 3\n");
    CFile f(file.Path(), CFile::modeRead);
    CSparseMatrix m;
    m.ReadASCII(&f);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 1.0}, {0, 2, 2.0}, {1, 1, 3.0}}));
}

TEST(SparseText, WriteASCIIBothForms)
{
    CSparseMatrix m;
    Fill(m, {{0, 0, 1.0}, {0, 2, 2.0}, {2, 1, 3.0}});
    auto write = [&m](int width, int precision, int bExp, bool numbers) {
        return zelkortest::WrittenText([&](CFile* f) {
            m.WriteASCII(f, "<", ">", width, precision, bExp, numbers, false);
        });
    };
    EXPECT_EQ(write(4, 1, 0, false), "0         < 1.0><   0>< 2.0>\r\n"
                                     "1         <   0>\r\n<   0>< 3.0>\r\n"
                                     "\r\n");
    EXPECT_EQ(write(9, 2, 1, true), "        1< 1.00e+00><        0>< 2.00e+00>\r\n"
                                    "        2<        0><        0><        0>\r\n"
                                    "        3<        0>< 3.00e+00><        0>\r\n"
                                    "\r\n");
}

TEST(SparseArchive, EntriesAreNeverLostSilently)
{
    CSparseMatrix empty;
    const std::unique_ptr<CObject> owner = zelkortest::ArchivedCopy(&empty);
    CObject* loaded = owner.get();
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(CSparseMatrix)));
    EXPECT_EQ(static_cast<CSparseMatrix*>(loaded)->GetRows(), 0);

    CSparseMatrix full;
    full.Add(0, 0, 1.0);
    EXPECT_THROW(zelkortest::StoreBytes([&](CArchive& ar) { full.Serialize(ar); }),
                 CArchiveException);
}

TEST(SparseShape, MirrorAATIsSymAndAllocate)
{
    CSparseMatrix m;
    Fill(m, {{0, 0, 2.0}, {0, 2, 3.0}, {1, 0, 9.0}, {1, 1, 4.0}});
    EXPECT_FALSE(m.IsSym());
    m.Mirror(-1.0);
    EXPECT_EQ(Cells(m), (Entries{{0, 0, 2.0}, {0, 2, 3.0}, {1, 1, 4.0}, {2, 0, -3.0}}));
    m.Mirror(1.0);
    EXPECT_TRUE(m.IsSym());

    CSparseMatrix a;
    Fill(a, {{0, 0, 1.0}, {0, 1, 2.0}, {1, 1, 3.0}});
    a.AAT();
    EXPECT_EQ(Cells(a), (Entries{{0, 0, 5.0}, {0, 1, 6.0}, {1, 0, 6.0}, {1, 1, 9.0}}));

    int dims[4] = {2, 3, 0, 7};
    a.Allocate(dims, 4);
    EXPECT_EQ(Cells(a), (Entries{{0, 0, 7.0}, {0, 1, 7.0}, {0, 2, 7.0}, {1, 0, 7.0}, {1, 1, 7.0},
                                 {1, 2, 7.0}}));
    int none[1] = {0};
    a.Allocate(none, 1);
    EXPECT_EQ(a.GetFirstRow(), nullptr);
}

TEST(SparseDense, ProductsAndConversions)
{
    CMatrix dense = DenseSpd();
    CSparseMatrix* s = nullptr;
    dense.Sparse(s);
    std::unique_ptr<CSparseMatrix> owner(s);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(static_cast<int>(Cells(*s).size()), 12); // four zeros left out
    CMatrix back;
    back.UnSparse(s);
    ExpectNear(back, dense, 0.0);

    CMatrix expected = dense;
    expected *= Rhs();

    CMatrix x = Rhs();
    x.PreMult(s, 0);
    ExpectNear(x, expected, 1e-12);

    CSparseMatrix upper;
    FillSpd(upper, true);
    x = Rhs();
    x.PreMult(&upper, 1);
    ExpectNear(x, expected, 1e-12);

    CMatrix r(4, 2, true, 1.0);
    const std::uint32_t before = CVirtMat::m_Flops;
    Rhs().PreMult(&upper, r, true, 1);
    EXPECT_GT(CVirtMat::m_Flops, before);
    CMatrix ones(4, 2, true, 1.0);
    ones += expected;
    ExpectNear(r, ones, 1e-12);
    // A new shape starts from zeros.
    CMatrix wrong(3, 3, true, 5.0);
    Rhs().PreMult(&upper, wrong, true, 1);
    ExpectNear(wrong, expected, 1e-12);

    // s A s^T with a rectangular-pattern s.
    CSparseMatrix t;
    Fill(t, {{0, 0, 1.0}, {0, 3, 2.0}, {1, 1, -1.0}, {2, 2, 3.0}, {3, 0, 1.0}, {3, 1, 1.0}});
    CMatrix tDense;
    tDense.UnSparse(&t);
    CMatrix sast = tDense;
    sast *= dense;
    CMatrix tT(tDense, true);
    sast *= tT;
    CMatrix a = dense;
    a.ATthisA(&t);
    ExpectNear(a, sast, 1e-12);
}

TEST(SparseSolve, SubstitutionsWithTheirDiagonal)
{
    // L = [[2, 0], [1, 4]] and U = L^T: L y = b and U^T y = b agree.
    CSparseMatrix lower, upper;
    Fill(lower, {{0, 0, 2.0}, {1, 0, 1.0}, {1, 1, 4.0}});
    Fill(upper, {{0, 0, 2.0}, {0, 1, 1.0}, {1, 1, 4.0}});
    CMatrix b(2, 1), c(2, 1);
    b[0][0] = c[0][0] = 2.0;
    b[1][0] = c[1][0] = 9.0;
    lower.ForwSub(&b, nullptr, 2);
    upper.ForwSub(&c, nullptr, -2);
    EXPECT_EQ(b[0][0], 1.0);
    EXPECT_EQ(b[1][0], 2.0);
    ExpectNear(c, b, 0.0);
    // U x = y with the diagonal: x1 = 2 / 4, x0 = (1 - 0.5) / 2.
    upper.BackwSub(&b, nullptr, 2);
    EXPECT_EQ(b[1][0], 0.5);
    EXPECT_EQ(b[0][0], 0.25);
}

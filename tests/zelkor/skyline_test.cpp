// The skyline (profile) matrix: layouts, assembly inside the profile, the
// factorisation and its solve, Gauss-Seidel, text form and archive.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "matrix/zelkor.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_files.h"
#include "tests/zelkor/matrix_checks.h"
#include "tests/zelkor/reorder_graphs.h"

namespace {

std::vector<int> Heights(const CSkylineMatrix& m)
{
    std::vector<int> h;
    for (int j = 0; j < m.GetEquations(); ++j)
        h.push_back(m.GetHeight(j));
    return h;
}

// A 5 x 5 SPD matrix with a varying profile (zeros above the peaks).
const double kA[5][5] = {
    {6, 1, 0, 0, 0}, {1, 7, 2, 0, 1}, {0, 2, 8, 1, 0}, {0, 0, 1, 5, 2}, {0, 1, 0, 2, 9}};

void FillProfile(CSkylineMatrix& m)
{
    int data[7] = {5, 0, 1, 2, 2, 2, 4};
    ASSERT_TRUE(m.Allocate(data, 7));
    LONG dofs[5] = {0, 1, 2, 3, 4};
    m.AddValues(dofs, const_cast<double*>(&kA[0][0]), 5);
}

} // namespace

TEST(Skyline, AllocateFromTotalsAndHeights)
{
    struct Case {
        std::vector<int> data;
        std::vector<int> heights;
        int values;
        int total; // data[1] afterwards
    };
    const Case cases[] = {
        {{3, 6}, {1, 2, 3}, 6, 6},
        {{4, 7}, {1, 2, 2, 2}, 7, 7},
        {{3, 6, 1, 2, 3}, {1, 2, 3}, 6, 6},
        // More than the full triangle: the band stops at N.
        {{3, 100}, {1, 2, 3}, 6, 100},
        // A total below N: the diagonal only, and the total written back.
        {{3, 1}, {1, 1, 1}, 3, 3},
        // The rounded band needs 12 values for a total of 11: the profile
        // gets its own size.
        {{5, 11}, {1, 2, 3, 3, 3}, 12, 11},
        // Heights beyond the diagonal are cut to the full column.
        {{3, 0, 4, 9, 0}, {1, 2, 1}, 4, 4},
    };
    for (const Case& c : cases) {
        CSkylineMatrix m;
        std::vector<int> data = c.data;
        EXPECT_TRUE(m.Allocate(data.data(), static_cast<int>(data.size())));
        EXPECT_EQ(Heights(m), c.heights) << c.data[0] << " " << c.data[1];
        EXPECT_EQ(m.GetValueCount(), c.values) << c.data[0] << " " << c.data[1];
        EXPECT_EQ(data[1], c.total);
        // Every profile entry is reachable and zero.
        for (int j = 0; j < m.GetEquations(); ++j)
            for (int i = m.PeakRow(j); i <= j; ++i)
                EXPECT_EQ(m(i, j), 0.0);
    }
    CSkylineMatrix m;
    int full[2] = {3, 6};
    m.Allocate(full, 2);
    EXPECT_EQ(m.PeakRow(2), 0);
    int none[1] = {0};
    EXPECT_TRUE(m.Allocate(none, 1));
    EXPECT_EQ(m.GetEquations(), 0);
}

TEST(Skyline, ProfileFromAReorderingOnlyGrows)
{
    CReorderMat g(0);
    reordertest::Build(g, 4, reordertest::Path(4));
    g.PostReorder();
    CSkylineMatrix m;
    ASSERT_TRUE(m.Allocate(g));
    EXPECT_EQ(Heights(m), (std::vector<int>{1, 2, 2, 2}));

    // Swapping the labels of 0 and 3 couples new 3 with new 1 and new 0 with
    // new 2; the heights of the first layout stay.
    g.Move(0, 3);
    g.PostReorder();
    ASSERT_TRUE(m.Allocate(g));
    EXPECT_EQ(Heights(m), (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(m.GetValueCount(), 9);
}

TEST(Skyline, AssemblyKeepsToTheUpperProfile)
{
    CSkylineMatrix m;
    int data[5] = {3, 0, 1, 1, 2};
    m.Allocate(data, 5);
    LONG dofs[3] = {2, 0, 1};
    double block[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    m.AddValues(dofs, block, 3);
    // Stored: (0,0) = 5, (1,1) = 9, (2,2) = 1, (1,2) = 7; (0,2) lies above
    // column 2's peak and (0,1) above column 1's: both skipped.
    EXPECT_EQ(m(0, 0), 5.0);
    EXPECT_EQ(m(1, 1), 9.0);
    EXPECT_EQ(m(2, 2), 1.0);
    EXPECT_EQ(m(1, 2), 7.0);
    EXPECT_EQ(m.GetValueCount(), 4);
    std::unique_ptr<double[]> diag(m.DiagVect());
    EXPECT_EQ(diag[1], 9.0);
}

TEST(Skyline, CholeskyAndSolve)
{
    brantel::test::MessageRecorder messages;
    CSkylineMatrix two;
    int data[2] = {2, 3};
    two.Allocate(data, 2);
    two(0, 0) = 4.0;
    two(0, 1) = 2.0;
    two(1, 1) = 3.0;
    EXPECT_EQ(two.Cholesky(), 1);
    EXPECT_EQ(two(0, 0), 4.0);
    EXPECT_EQ(two(0, 1), 0.5);
    EXPECT_EQ(two(1, 1), 2.0);

    CSkylineMatrix m;
    FillProfile(m);
    CMatrix dense(5, 5), b(5, 2), expected;
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j)
            dense[i][j] = kA[i][j];
        b[i][0] = i + 1.0;
        b[i][1] = i % 2 ? -1.0 : 2.0;
    }
    expected = b;
    double seconds;
    ASSERT_TRUE(dense.SolveAxEqb(&expected, true, seconds));
    EXPECT_EQ(m.Cholesky_Solve(&b, seconds), 1);
    for (int i = 0; i < 5; ++i)
        for (int c = 0; c < 2; ++c)
            EXPECT_NEAR(b[i][c], expected[i][c], 1e-12);
    ASSERT_EQ(messages.texts().size(), 1u);
    const std::string text = messages.texts()[0];
    EXPECT_EQ(text.rfind("Used time:\r\n Factorizing  :   0 m ", 0), 0u) << text;
    const std::string tail = " Size stiffm. :   11\r\n Flops        :   ";
    ASSERT_NE(text.find(tail), std::string::npos) << text;
    EXPECT_EQ(text.size(), text.find(tail) + tail.size() + 10); // "%10.3e"

    // Pivots <= 0, the first column's included: -1, time -1, no report.
    for (double a00 : {0.0, -1.0, 1.0}) {
        CSkylineMatrix bad;
        int d[2] = {2, 3};
        bad.Allocate(d, 2);
        bad(0, 0) = a00;
        bad(0, 1) = 2.0;
        bad(1, 1) = 3.0; // with a00 = 1: d1 = 3 - 4 < 0
        CMatrix rhs(2, 1, true, 1.0);
        messages.clear();
        EXPECT_EQ(bad.Cholesky_Solve(&rhs, seconds), -1) << a00;
        EXPECT_EQ(seconds, -1.0);
        EXPECT_TRUE(messages.texts().empty());
    }
}

TEST(Skyline, GaussSeidel)
{
    brantel::test::MessageRecorder messages;
    CSkylineMatrix empty;
    CVector b0, x0;
    EXPECT_EQ(empty.GaussSeidel_Iter(b0, x0, 1e-9, 0), 1);

    CSkylineMatrix one;
    int data[2] = {1, 1};
    one.Allocate(data, 2);
    one(0, 0) = 4.0;
    CVector b1(1, true, 2.0), x1(1, true, 7.0);
    EXPECT_EQ(one.GaussSeidel_Iter(b1, x1, 1e-9, 0), 1);
    EXPECT_EQ(x1[0], 0.5);
    EXPECT_TRUE(messages.texts().empty());

    CSkylineMatrix m;
    FillProfile(m);
    CVector b(5), x(5, true, 0.0);
    for (int i = 0; i < 5; ++i)
        b[i] = i + 1.0;
    CMatrix dense(5, 5), expected(5, 1);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j)
            dense[i][j] = kA[i][j];
        expected[i][0] = b[i];
    }
    double seconds;
    ASSERT_TRUE(dense.SolveAxEqb(&expected, true, seconds));
    EXPECT_EQ(m.GaussSeidel_Iter(b, x, 1e-13, 200), 1);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(x[i], expected[i][0], 1e-11);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].rfind("Used time solving :   0 m ", 0), 0u);
    EXPECT_NE(messages.texts()[0].find("\r\n NEQ             :   5\r\n"), std::string::npos);

    CVector x2(5, true, 0.0);
    EXPECT_EQ(m.GaussSeidel_Iter(b, x2, 1e-13, 1), -1);
    EXPECT_NE(x2.InfNorm(), 0.0);
}

TEST(Skyline, WriteASCIIAndArchive)
{
    CSkylineMatrix m;
    int data[5] = {3, 0, 1, 1, 2};
    m.Allocate(data, 5);
    m(0, 0) = 1.0;
    m(1, 2) = -2.0;
    EXPECT_EQ(zelkortest::WrittenText(
                  [&](CFile* f) { m.WriteASCII(f, "[", "]", 10, 2, 0, false, false); }),
              "[  1.00e+00][         0][         0]\r\n"
              "[         0][  0.00e+00][ -2.00e+00]\r\n"
              "[         0][         0][  0.00e+00]\r\n");

    EXPECT_THROW(zelkortest::StoreBytes([&](CArchive& ar) { m.Serialize(ar); }), CArchiveException);
    CSkylineMatrix empty;
    const std::unique_ptr<CObject> owner = zelkortest::ArchivedCopy(&empty);
    CObject* loaded = owner.get();
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(CSkylineMatrix)));
}

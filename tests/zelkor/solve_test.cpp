#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::Mat;
using zelkortest::Values;

TEST(DenseDecomposition, LuAndPivotedLu)
{
    CMatrix swap = Mat(2, 2, {0, 1, 1, 0});
    CMatrix lu(swap);
    EXPECT_EQ(lu.LU(), nullptr);
    CMatrix lup(swap);
    int* perm = nullptr;
    ASSERT_EQ(lup.LUP_Decomp(perm), 1);
    ASSERT_NE(perm, nullptr);
    EXPECT_EQ(perm[0], 1);
    EXPECT_EQ(perm[1], 0);
    delete[] perm;

    CMatrix ok = Mat(2, 2, {4, 3, 6, 3});
    EXPECT_EQ(ok.LU(), &ok);
    EXPECT_EQ(Values(ok), (std::vector<double>{4, 3, 1.5, -1.5}));

    // Singular matrices, the last pivot included, and shapes that are refused.
    const CMatrix singular[] = {
        Mat(2, 2, {0, 1, 0, 2}), Mat(2, 2, {1, 2, 2, 4}), Mat(1, 1, {0}), Mat(2, 3, {1, 2, 3, 4, 5, 6}), CMatrix()};
    for (const CMatrix& s : singular) {
        CMatrix m(s);
        perm = reinterpret_cast<int*>(&m);   // must be replaced
        EXPECT_EQ(m.LUP_Decomp(perm), -1);
        EXPECT_EQ(perm, nullptr);
    }
    CMatrix wide = Mat(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(wide.LU(), nullptr);
    EXPECT_EQ(wide.Cholesky(), 0);
    EXPECT_EQ(wide.Det(), 0.0);
}

TEST(DenseDecomposition, SolveWithAndWithoutPivoting)
{
    const CMatrix a = Mat(3, 3, {4, -2, 1, -2, 4, -2, 1, -2, 4});
    // Right-hand sides of the solutions (1, 2, 3) and (-1, 0, 0.5).
    const CMatrix b = Mat(3, 2, {3, -3.5, 0, 1, 9, 1});
    const std::vector<double> expected{1, -1, 2, 0, 3, 0.5};
    for (bool pivoting : {false, true}) {
        CMatrix m(a), x(b);
        double seconds = -1;
        ASSERT_TRUE(m.SolveAxEqb(&x, pivoting, seconds));
        EXPECT_GE(seconds, 0.0);
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(x.GetVector()[i], expected[i], 1e-14) << pivoting;
    }

    // Pivoting is needed here: the unpivoted solve fails and leaves b alone.
    const CMatrix p = Mat(3, 3, {0, 1, 1, 1, 0, 1, 1, 1, 0});
    CMatrix rhs = Mat(3, 1, {5, 4, 3});
    CMatrix m(p);
    double seconds = 0;
    EXPECT_FALSE(m.SolveAxEqb(&rhs, false, seconds));
    EXPECT_EQ(Values(rhs), (std::vector<double>{5, 4, 3}));
    CMatrix m2(p);
    ASSERT_TRUE(m2.SolveAxEqb(&rhs, true, seconds));
    EXPECT_NEAR(rhs.GetValue(0, 0), 1, 1e-14);
    EXPECT_NEAR(rhs.GetValue(1, 0), 2, 1e-14);
    EXPECT_NEAR(rhs.GetValue(2, 0), 3, 1e-14);

    CMatrix wrongRows = Mat(2, 1, {1, 2});
    CMatrix m3(a);
    EXPECT_FALSE(m3.SolveAxEqb(&wrongRows, true, seconds));
}

TEST(DenseDecomposition, Determinants)
{
    struct Case {
        CMatrix m;
        double det;
    };
    const Case cases[] = {
        {Mat(2, 2, {2, 0, 0, 3}), 6.0},
        {Mat(2, 2, {0, 1, 1, 0}), -1.0},
        {Mat(3, 3, {0, 0, 2, 0, 3, 0, 4, 0, 0}), -24.0},
        {Mat(3, 3, {0, 1, 0, 0, 0, 1, 1, 0, 0}), 1.0},
        {Mat(2, 2, {1, 2, 2, 4}), 0.0},
        {Mat(3, 3, {2, -1, 0, -1, 2, -1, 0, -1, 2}), 4.0},
    };
    for (const Case& c : cases) {
        CMatrix copy(c.m);
        EXPECT_NEAR(c.m.Det(), c.det, 1e-12);
        EXPECT_EQ(Values(c.m), Values(copy));
    }

    CMatrix m = Mat(3, 3, {2, -1, 0, -1, 2, -1, 0, -1, 2});
    EXPECT_NEAR(m.SubDetSqMat(0, 0, 3), 4.0, 1e-12);
    EXPECT_NEAR(m.SubDetSqMat(1, 1, 2), 3.0, 1e-12);
    EXPECT_NEAR(m.SubDetSqMat(0, 1, 2), 1.0, 1e-12);
    EXPECT_EQ(m.SubDetSqMat(2, 1, 1), -1.0);
    EXPECT_EQ(m.SubDetSqMat(1, 1, 3), 0.0);
    EXPECT_EQ(m.SubDetSqMat(0, 0, 0), 0.0);
}

TEST(DenseDecomposition, Cholesky)
{
    CMatrix m = Mat(2, 2, {4, 2, 2, 3});
    ASSERT_EQ(m.Cholesky(), 1);
    EXPECT_EQ(m.GetValue(0, 0), 2.0);
    EXPECT_EQ(m.GetValue(0, 1), 1.0);
    EXPECT_EQ(m.GetValue(1, 0), 0.0);
    EXPECT_DOUBLE_EQ(m.GetValue(1, 1), std::sqrt(2.0));

    for (const CMatrix& bad : {Mat(2, 2, {0, 1, 1, 0}), Mat(2, 2, {-1, 0, 0, 1}), Mat(2, 2, {1, 2, 2, 1})}) {
        CMatrix c(bad);
        EXPECT_EQ(c.Cholesky(), 0);
    }

    // U^T U gives the matrix back.
    const CMatrix a = Mat(3, 3, {4, -2, 1, -2, 4, -2, 1, -2, 4});
    CMatrix u(a);
    ASSERT_EQ(u.Cholesky(), 1);
    CMatrix back(u, true);
    back *= u;
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(back.GetVector()[i], a.GetVector()[i], 1e-14);
}

TEST(DenseDecomposition, CholeskySolveIsNotADenseOperation)
{
    CMatrix m = Mat(1, 1, {2});
    CMatrix b = Mat(1, 1, {4});
    double seconds = 7;
    CVirtRealMat& root = m;
    EXPECT_EQ(root.Cholesky_Solve(&b, seconds), 0);
    EXPECT_EQ(b.GetValue(0, 0), 4.0);
    EXPECT_EQ(seconds, 7.0);
}

// A matrix that counts the reads through its accessor.
class CountingMatrix : public CMatrix {
public:
    explicit CountingMatrix(const CMatrix& m) : CMatrix(m) {}
    double GetValue(int i, int j) const override
    {
        ++reads;
        return CMatrix::GetValue(i, j);
    }
    mutable int reads = 0;
};

TEST(DenseDecomposition, DerivedMatricesGoThroughTheirAccessors)
{
    const CMatrix a = Mat(3, 3, {0, 1, 1, 1, 0, 1, 1, 1, 0});
    CountingMatrix c(a);
    CMatrix plain(a);
    int* p1 = nullptr;
    int* p2 = nullptr;
    ASSERT_EQ(c.LUP_Decomp(p1), 1);
    ASSERT_EQ(plain.LUP_Decomp(p2), 1);
    EXPECT_GT(c.reads, 0);
    EXPECT_EQ(Values(c), Values(plain));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(p1[i], p2[i]);

    CMatrix b1 = Mat(3, 1, {5, 4, 3});
    CountingMatrix b2(b1);
    int before = c.reads;
    CMatrix::LUP_Solve(&c, p1, &b2);
    CMatrix::LUP_Solve(&plain, p2, &b1);
    EXPECT_GT(c.reads, before);
    EXPECT_GT(b2.reads, 0);
    EXPECT_EQ(Values(b1), Values(b2));
    delete[] p1;
    delete[] p2;

    CountingMatrix ch(Mat(2, 2, {4, 2, 2, 3}));
    EXPECT_EQ(ch.Cholesky(), 1);
    EXPECT_GT(ch.reads, 0);
}

} // namespace

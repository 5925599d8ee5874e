#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::Mat;
using zelkortest::Values;
using zelkortest::ExpectNear;

// Plain triple-loop product as the reference.
CMatrix Product(const CMatrix& a, const CMatrix& b)
{
    CMatrix c(a.GetRows(), b.GetColumns(), true, 0.0);
    for (int i = 0; i < a.GetRows(); ++i)
        for (int j = 0; j < b.GetColumns(); ++j)
            for (int k = 0; k < a.GetColumns(); ++k)
                c.AddValue(i, j, a.GetValue(i, k) * b.GetValue(k, j));
    return c;
}

TEST(MatrixShape, EmptyAndAllocate)
{
    CMatrix m30(3, 0);
    EXPECT_EQ(m30.GetRows(), 0);
    EXPECT_EQ(m30.GetColumns(), 0);
    EXPECT_FALSE(m30.IsAllocated());

    CMatrix m(2, 2);
    EXPECT_FALSE(m.Allocate(0, 5, true, 0.0));
    EXPECT_EQ(m.GetRows(), 0);
    EXPECT_FALSE(m.IsAllocated());
    EXPECT_FALSE(m.Allocate(-2, -3, true, 0.0));
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_FALSE(m.Allocate(100000, 100000, true, 0.0));
    EXPECT_EQ(m.GetRows(), 0);

    struct Case {
        std::vector<int> dims;
        int rows, cols;
        double fill;
    };
    const Case cases[] = {
        {{3}, 3, 3, 0.0}, {{2, 4}, 2, 4, 0.0}, {{2, 3, 1}, 2, 3, 0.0}, {{2, 3, 1, 7}, 2, 3, 7.0}};
    for (const Case& c : cases) {
        CMatrix a(1, 1, true, 5.0);
        std::vector<int> dims = c.dims;
        EXPECT_TRUE(a.Allocate(dims.data(), static_cast<int>(dims.size())));
        EXPECT_EQ(a.GetRows(), c.rows);
        EXPECT_EQ(a.GetColumns(), c.cols);
        EXPECT_TRUE(a == c.fill);
    }

    CMatrix col;
    EXPECT_TRUE(col.Allocate(4, true, 1.0));
    EXPECT_EQ(col.GetRows(), 4);
    EXPECT_EQ(col.GetColumns(), 1);
}

TEST(MatrixShape, Resize)
{
    CMatrix m(2, 6, true, 0.0);
    EXPECT_TRUE(m.Resize(4, true));
    EXPECT_EQ(m.GetRows(), 3);
    EXPECT_EQ(m.GetColumns(), 4);
    EXPECT_FALSE(m.Resize(5, false));
    EXPECT_FALSE(m.Resize(0, false));
    EXPECT_FALSE(m.Resize(-3, false));
    EXPECT_EQ(m.GetRows(), 3);
    EXPECT_TRUE(m.Resize(6, false));
    EXPECT_EQ(m.GetColumns(), 2);

    CMatrix empty;
    EXPECT_TRUE(empty.Resize(0, false));
    EXPECT_EQ(empty.GetRows(), 0);
}

TEST(MatrixShape, TransposeAndCopies)
{
    CMatrix m = Mat(2, 3, {1, 2, 3, 4, 5, 6});
    CMatrix t(m, true);
    EXPECT_EQ(t.GetRows(), 3);
    EXPECT_EQ(Values(t), (std::vector<double>{1, 4, 2, 5, 3, 6}));
    m.Transpose();
    ExpectNear(m, t, 0.0);

    CMatrix s = Mat(2, 2, {1, 2, 3, 4});
    s.Transpose();
    EXPECT_EQ(Values(s), (std::vector<double>{1, 3, 2, 4}));

    CMatrix c;
    c = t;
    ExpectNear(c, t, 0.0);
    c = CMatrix();
    EXPECT_EQ(c.GetRows(), 0);
    EXPECT_FALSE(c.IsAllocated());
}

TEST(MatrixEntries, AddValuesByDof)
{
    CMatrix m(3, 3, true, 0.0);
    LONG dofs[3] = {2, -1, 0};
    double block[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    m.AddValues(dofs, block, 3);
    EXPECT_EQ(Values(m), (std::vector<double>{9, 0, 7, 0, 0, 0, 3, 0, 1}));
    m.AddValues(dofs, block, 0);
    EXPECT_EQ(m.GetValue(0, 0), 9.0);
}

TEST(MatrixArithmetic, AddOfDifferentShapesPadsWithZeros)
{
    CMatrix a = Mat(2, 2, {1, 2, 3, 4});
    a += Mat(3, 1, {10, 20, 30});
    EXPECT_EQ(a.GetRows(), 3);
    EXPECT_EQ(Values(a), (std::vector<double>{11, 2, 23, 4, 30, 0}));

    CMatrix b = Mat(2, 3, {1, 1, 1, 1, 1, 1});
    b -= Mat(3, 2, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(b.GetRows(), 3);
    EXPECT_EQ(Values(b), (std::vector<double>{0, -1, 1, -2, -3, 1, -5, -6, 0}));

    CMatrix c = Mat(2, 2, {1, 2, 3, 4});
    c += Mat(2, 2, {1, 1, 1, 1});
    EXPECT_EQ(Values(c), (std::vector<double>{2, 3, 4, 5}));

    CMatrix e;
    e += Mat(1, 2, {5, 6});
    EXPECT_EQ(e.GetRows(), 1);
    EXPECT_EQ(Values(e), (std::vector<double>{5, 6}));
}

TEST(MatrixProducts, GeneralAndInPlace)
{
    CMatrix a = Mat(2, 3, {1, 2, 3, 4, 5, 6});
    CMatrix b = Mat(3, 2, {7, 8, 9, 10, 11, 12});
    CMatrix p(a);
    p *= b;
    EXPECT_EQ(p.GetRows(), 2);
    EXPECT_EQ(Values(p), (std::vector<double>{58, 64, 139, 154}));

    // A 3 x 2 times a square 2 x 2 runs in place; the same product through
    // the general path (a zero third column added) must agree exactly.
    CMatrix x = Mat(3, 2, {0.1, 0.7, -1.3, 2.9, 3.3, 0.01});
    CMatrix sq = Mat(2, 2, {1.1, -0.3, 0.7, 2.5});
    CMatrix wide = Mat(2, 3, {1.1, -0.3, 0, 0.7, 2.5, 0});
    CMatrix inPlace(x), general(x);
    inPlace.PostMult(sq);
    general *= wide;
    ASSERT_EQ(general.GetColumns(), 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(inPlace.GetValue(i, j), general.GetValue(i, j));

    CMatrix self = Mat(2, 2, {1, 2, 3, 4});
    self *= self;
    EXPECT_EQ(Values(self), (std::vector<double>{7, 10, 15, 22}));
}

TEST(MatrixProducts, ApplyTo)
{
    CMatrix a = Mat(2, 3, {1, 2, 3, 4, 5, 6});
    CVector x(3, true, 1.0);
    CVector y(2, true, 1.0);
    a.ApplyTo(x, y, 1);
    EXPECT_EQ(Values(y), (std::vector<double>{7, 16}));
    a.ApplyTo(x, 1);
    EXPECT_EQ(Values(x), (std::vector<double>{6, 15}));
    a.ApplyTo(x, 2);
    EXPECT_EQ(Values(x), (std::vector<double>{66, 87, 108}));

    CVector col;
    a.GetColVect(col, 1);
    EXPECT_EQ(Values(col), (std::vector<double>{2, 5}));

    CMatrix m(2, 3, true, 0.0);
    CVector u(2, true, 0.0), v(3, true, 0.0);
    u[0] = 1;
    u[1] = 2;
    v[0] = 1;
    v[2] = 3;
    double f = 2.0;
    CMatrix::vectAvectBT(m, u, v, f, false);
    EXPECT_EQ(Values(m), (std::vector<double>{2, 0, 6, 4, 0, 12}));
    CMatrix r(2, 3, true, 0.0);
    CMatrix::vectAvectBT(r, u, v, f, true);
    EXPECT_EQ(Values(r), (std::vector<double>{12, 0, 4, 6, 0, 2}));
}

TEST(MatrixProducts, SubMultGivesCongruences)
{
    CMatrix a = Mat(4, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17});
    CMatrix b = Mat(2, 2, {0.6, -0.8, 0.8, 0.6});
    CMatrix t;
    t.Identity(4, 1.0);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            t.SetValue(1 + i, 1 + j, b.GetValue(i, j));
    CMatrix tt(t, true);

    CMatrix tat(a);
    tat.SubMult(b, 1, 3);
    ExpectNear(tat, Product(Product(tt, a), t));

    CMatrix tatt(a);
    tatt.SubMult(b, 1, 12);
    ExpectNear(tatt, Product(Product(t, a), tt));

    // b x a^T x b^T for a square a.
    CMatrix s = Mat(2, 2, {1, 2, 3, 4});
    CMatrix bb = Mat(2, 2, {1, 1, 0, 2});
    CMatrix sTransposed(s, true), bTransposed(bb, true);
    s.PostPreMult(bb, 0);
    ExpectNear(s, Product(Product(bb, sTransposed), bTransposed));
}

TEST(MatrixProducts, ChainMult)
{
    CMatrix a = Mat(2, 3, {1, 2, 3, 4, 5, 6});
    CMatrix b = Mat(3, 1, {1, -1, 2});
    CMatrix c = Mat(1, 4, {1, 2, 3, 4});
    const CMatrix b0(b), c0(c);
    CMatrix expected = Product(Product(a, b), c);

    CMatrix plain(a);
    CMatrix::ChainMult(false, 3, &plain, &b, &c);
    ExpectNear(plain, expected);

    CMatrix best(a);
    double seconds = CMatrix::ChainMult(true, 3, &best, &b, &c);
    EXPECT_GE(seconds, 0.0);
    ExpectNear(best, expected);
    ExpectNear(b, b0, 0.0);
    ExpectNear(c, c0, 0.0);

    CMatrix sq = Mat(2, 2, {1, 1, 0, 1});
    CMatrix::ChainMult(true, 3, &sq, &sq, &sq);
    EXPECT_EQ(Values(sq), (std::vector<double>{1, 3, 0, 1}));
}

TEST(MatrixScans, ExtremesInColumns)
{
    CMatrix m = Mat(2, 2, {3, 5, -3, 5});
    EXPECT_EQ(&m.fabsMaxInCol(0), &m[1][0]);
    EXPECT_EQ(&m.MaxInCol(1), &m[0][1]);
    EXPECT_EQ(&m.MinInCol(1), &m[0][1]);
    EXPECT_EQ(&m.MinInCol(0), &m[1][0]);
    CMatrix z(3, 1, true, 0.0);
    EXPECT_EQ(&z.fabsMaxInCol(0), &z[2][0]);
    CMatrix empty;
    EXPECT_EQ(empty.MaxInCol(0), 0.0);
    EXPECT_EQ(empty.fabsMaxInCol(0), 0.0);

    EXPECT_EQ(m.MaxInRow(1), 5.0);
    EXPECT_EQ(m.FindInRow(1, 5.0), 1);
    EXPECT_EQ(m.FindInCol(1, 5.0), 0);
    EXPECT_EQ(m.FindInCol(0, 7.0), -1);
}

TEST(MatrixScans, NormsAndTraces)
{
    CMatrix m = Mat(3, 2, {3, 4, 0, -1, 1, 1});
    CVector out;
    struct Case {
        int dir;
        std::vector<double> values;
    };
    const Case cases[] = {
        {1, {std::sqrt(10.0), std::sqrt(18.0)}},
        {-1, {10, 18}},
        {2, {5, 1, std::sqrt(2.0)}},
        {0, {25, 1, 2}},
        {-2, {25, 1, 2}},
    };
    for (const Case& c : cases) {
        m.Vect2Norm(out, c.dir);
        EXPECT_EQ(Values(out), c.values) << c.dir;
    }
    EXPECT_EQ(m.OneNorm(), 6.0);
    EXPECT_EQ(m.InfNorm(), 7.0);
    EXPECT_DOUBLE_EQ(m.Frobenius(), std::sqrt(28.0));
    EXPECT_EQ(m.Trace(), 2.0);
    EXPECT_EQ(CMatrix().Trace(), 0.0);
    EXPECT_FALSE(m.CheckSymm());
    EXPECT_TRUE(Mat(2, 2, {1, 2, 2, 1}).CheckSymm());
}

double Twice(double x) { return 2 * x; }
double SumOf3(double* v) { return v[0] + v[1] + v[2]; }

TEST(MatrixScans, MaxMinOverVectors)
{
    double mx = -1, mn = -1;
    CMatrix empty;
    empty.GetMaxMinLength(mx, mn, 0, 1, true);
    EXPECT_EQ(mx, 0.0);
    EXPECT_EQ(mn, 0.0);
    empty.GetMaxMin3(SumOf3, mx, mn, 0, 1, 2, true);
    EXPECT_EQ(mx, 0.0);

    CMatrix m = Mat(3, 3, {3, 4, 1, 0, 1, 2, 6, 8, 0});
    m.GetMaxMinLength(mx, mn, 0, 1, true);
    EXPECT_EQ(mx, 10.0);
    EXPECT_EQ(mn, 1.0);
    m.GetMaxMinLength(mx, mn, 0, 2, false);   // columns: (3, 6), (4, 8), (1, 0)
    EXPECT_DOUBLE_EQ(mx, std::sqrt(80.0));
    EXPECT_EQ(mn, 1.0);
    m.GetMaxMin1(Twice, mx, mn, 2, true);
    EXPECT_EQ(mx, 4.0);
    EXPECT_EQ(mn, 0.0);
    m.GetMaxMin3(SumOf3, mx, mn, 0, 1, 2, true);
    EXPECT_EQ(mx, 14.0);
    EXPECT_EQ(mn, 3.0);

    CMatrix one = Mat(1, 2, {3, 4});
    one.GetMaxMinLength(mx, mn, 0, 1, true);
    EXPECT_EQ(mx, 5.0);
    EXPECT_EQ(mn, 5.0);
}

TEST(MatrixScans, SplitIntoSymmetricAndSkew)
{
    CMatrix m = Mat(2, 2, {1, 4, 2, 3});
    CMatrix* sym = nullptr;
    CMatrix* skew = nullptr;
    m.Split(sym, skew);
    EXPECT_EQ(Values(*sym), (std::vector<double>{1, 3, 3, 3}));
    EXPECT_EQ(Values(*skew), (std::vector<double>{0, 1, -1, 0}));
    delete sym;
    delete skew;
}

TEST(MatrixChainOrder, OptimalSplit)
{
    CVector dims(4, false, 0.0);
    dims[0] = 10;
    dims[1] = 100;
    dims[2] = 5;
    dims[3] = 50;
    CMatrix split(3, 3, true, 0.0);
    EXPECT_EQ(CMatrix::MatrixChainOrder(&split, &dims), 7500.0);
    EXPECT_EQ(split.GetValue(0, 2), 2.0);

    // Costs beyond 32 bits.
    CVector big(3, true, 100000.0);
    CMatrix s2(2, 2, true, 0.0);
    EXPECT_EQ(CMatrix::MatrixChainOrder(&s2, &big), 1e15);

    CVector single(2, true, 4.0);
    CMatrix s1(1, 1, true, 0.0);
    EXPECT_EQ(CMatrix::MatrixChainOrder(&s1, &single), 0.0);
}

} // namespace

#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::Values;

CVector Vec(std::vector<double> values)
{
    CVector v(static_cast<int>(values.size()), false, 0.0);
    for (int i = 0; i < v.GetSize(); ++i)
        v[i] = values[static_cast<std::size_t>(i)];
    return v;
}

TEST(VectorStorage, AllocateRules)
{
    CVector v = Vec({1, 2, 3, 4});
    const double* before = v.GetVector();
    EXPECT_TRUE(v.Allocate(4, false, 0.0));
    EXPECT_EQ(v.GetVector(), before);
    EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_TRUE(v.Allocate(4, true, 7.0));
    EXPECT_EQ(Values(v), (std::vector<double>{7, 7, 7, 7}));

    for (int n : {0, -3}) {
        CVector w = Vec({1, 2});
        EXPECT_FALSE(w.Allocate(n, true, 1.0)) << n;
        EXPECT_EQ(w.GetSize(), 0);
        EXPECT_EQ(w.GetVector(), nullptr);
    }
    CVector neg(-2, true, 1.0);
    EXPECT_EQ(neg.GetSize(), 0);
    EXPECT_EQ(neg.GetVector(), nullptr);

    int dims[3] = {3, 1, 5};
    EXPECT_TRUE(v.Allocate(dims, 3));
    EXPECT_EQ(Values(v), (std::vector<double>{5, 5, 5}));
}

TEST(VectorStorage, TruncAndReplace)
{
    CVector v = Vec({0, 1, 2, 3, 4});
    v.Trunc(1, 3);
    EXPECT_EQ(Values(v), (std::vector<double>{1, 2}));
    CVector w = Vec({0, 1, 2, 3, 4});
    w.Trunc(2, 0);
    EXPECT_EQ(Values(w), (std::vector<double>{2, 3, 4}));
    w.Trunc(2, 1);
    EXPECT_EQ(w.GetSize(), 0);
    EXPECT_EQ(w.GetVector(), nullptr);

    double* mine = new double[2]{8, 9};
    double* old = v.ReplaceVector(mine, 2);
    EXPECT_EQ(old[0], 1.0);
    delete[] old;
    EXPECT_EQ(Values(v), (std::vector<double>{8, 9}));
}

TEST(VectorArithmetic, LargerSizeRule)
{
    CVector a = Vec({1, 1, 1});
    a += Vec({1, 2, 3, 4, 5});
    EXPECT_EQ(Values(a), (std::vector<double>{2, 3, 4, 4, 5}));

    CVector s = Vec({1, 1, 1});
    s -= Vec({1, 2, 3, 4, 5});
    EXPECT_EQ(Values(s), (std::vector<double>{0, -1, -2, -4, -5}));

    CVector l = Vec({1, 1, 1, 1, 1});
    const double* before = l.GetVector();
    l += Vec({1, 2, 3});
    EXPECT_EQ(l.GetVector(), before);
    EXPECT_EQ(Values(l), (std::vector<double>{2, 3, 4, 1, 1}));

    CVector f = Vec({1});
    f.Add(Vec({1, 2}), 3.0);
    EXPECT_EQ(Values(f), (std::vector<double>{4, 6}));

    CVector e1, e2;
    e1 += e2;
    e1 -= e2;
    e1.Add(e2, 2.0);
    EXPECT_EQ(e1.GetSize(), 0);
    EXPECT_EQ(e1.GetVector(), nullptr);

    CVector self = Vec({1, 2});
    self += self;
    EXPECT_EQ(Values(self), (std::vector<double>{2, 4}));
}

TEST(VectorArithmetic, LinComb)
{
    CVector r;
    r.LinComb(2, Vec({1, 2}), 3, Vec({1, 1, 1, 2}));
    EXPECT_EQ(Values(r), (std::vector<double>{5, 7, 3, 6}));

    // This vector as an operand that the growing result would free.
    CVector v = Vec({1, 2});
    v.LinComb(2, v, 1, Vec({0, 0, 5}));
    EXPECT_EQ(Values(v), (std::vector<double>{2, 4, 5}));

    CVector e = Vec({1});
    e.LinComb(1, CVector(), 1, CVector());
    EXPECT_EQ(e.GetSize(), 0);
    EXPECT_EQ(e.GetVector(), nullptr);
}

TEST(VectorArithmetic, ElementwiseHelpers)
{
    double a[3] = {1, 2, 3};
    const double b[3] = {5, 5, 5};
    CVector::AplusBC(a, b, 3, 0.0);
    EXPECT_EQ(a[0], 1.0);
    EXPECT_EQ(a[2], 3.0);
    CVector::AplusBC(a, b, 3, 2.0);
    EXPECT_EQ(a[1], 12.0);

    CVector v(4, true, 0.0);
    LONG dofs[3] = {3, -1, 0};
    double vals[3] = {1, 2, 3};
    v.AddValues(dofs, vals, 3);
    EXPECT_EQ(Values(v), (std::vector<double>{3, 0, 0, 1}));

    CVector c = Vec({1, 0, 0});
    CVector y = Vec({0, 1, 0});
    c.CrossProd(&c, &y);
    EXPECT_EQ(Values(c), (std::vector<double>{0, 0, 1}));

    CVector inc(4, false, 0.0);
    inc.SetIncremental(0.5, -1.0);
    EXPECT_EQ(Values(inc), (std::vector<double>{-1, -0.5, 0, 0.5}));
}

TEST(VectorReductions, NormsAndSearches)
{
    CVector v = Vec({3, -4, 0, 3});
    EXPECT_EQ(v.PNorm(0), 4.0);
    EXPECT_EQ(v.PNorm(1), 10.0);
    EXPECT_DOUBLE_EQ(v.PNorm(2), v.Length());
    EXPECT_EQ(v.InfNorm(), 4.0);
    EXPECT_EQ(v.ZeroNorm(), 0.0);
    EXPECT_EQ(v.Sum(), 2.0);
    EXPECT_EQ(v.Mean(), 0.5);
    EXPECT_EQ(v.Dot(Vec({1, 1})), -1.0);

    EXPECT_EQ(v.Find(3, 1, 0), 3);
    EXPECT_EQ(v.Find(3, 0, 0), 0);
    EXPECT_EQ(v.Find(3, 2, 2), -1);
    EXPECT_EQ(v.Count(3, 0, 0), 2);
    EXPECT_EQ(v.Count(3, 3, 0), 1);
    EXPECT_EQ(v.Count(3, 3, 1), 0);
    EXPECT_EQ(v.Count(3, 2, 2), 0);

    CVector mx = Vec({1, 3, 3});
    EXPECT_EQ(&mx.Max(), &mx[1]);
    CVector mn = Vec({2, 1, 1});
    EXPECT_EQ(&mn.Min(), &mn[1]);

    CVector zero(3, true, 0.0);
    EXPECT_EQ(zero.Normalize(), 0.0);
    EXPECT_EQ(Values(zero), (std::vector<double>{0, 0, 0}));
}

TEST(VectorReductions, EmptyVector)
{
    CVector e;
    EXPECT_EQ(e.Mean(), 0.0);
    EXPECT_EQ(e.Length(), 0.0);
    double& mx = e.Max();
    EXPECT_EQ(mx, 0.0);
    mx = 5.0;
    EXPECT_EQ(e.Min(), 0.0);
    EXPECT_TRUE(e == 0.0);
    EXPECT_TRUE(e == 5.0);
    EXPECT_TRUE(e == 0);
    EXPECT_FALSE(Vec({1, 2}) == 1.0);
    EXPECT_TRUE(Vec({2, 2}) == 2);
    EXPECT_TRUE(Vec({1, 2}) != Vec({1, 2, 0}));
}

TEST(VectorQuaternion, ZeroAndSeriesBranch)
{
    double v0[3] = {0, 0, 0}, q[3];
    EXPECT_EQ(CVector::VectToQuat(v0, q), 1.0);
    EXPECT_EQ(q[0], 0.0);
    EXPECT_EQ(q[2], 0.0);

    double v[3] = {0, 0, 1e-5};
    double w = CVector::VectToQuat(v, q);
    EXPECT_NEAR(w, std::cos(0.5e-5), 1e-15);
    EXPECT_NEAR(q[2], std::sin(0.5e-5), 1e-15);

    double big[3] = {0, 3.0, 0};
    w = CVector::VectToQuat(big, q);
    EXPECT_NEAR(w, std::cos(1.5), 1e-15);
    EXPECT_NEAR(q[1], std::sin(1.5), 1e-15);
}

TEST(VectorSwitch, WithMatrices)
{
    CVector v = Vec({1, 2, 3, 4});
    CMatrix empty;
    v.SwitchVectors(&empty);
    EXPECT_EQ(v.GetSize(), 0);
    EXPECT_EQ(empty.GetRows(), 4);
    EXPECT_EQ(empty.GetColumns(), 1);

    CMatrix m(2, 3, true, 1.0);
    CVector w = Vec({1, 2, 3, 4, 5, 6});
    w.SwitchVectors(&m);
    EXPECT_EQ(m.GetRows(), 6);
    EXPECT_EQ(m.GetColumns(), 1);
    EXPECT_EQ(w.GetSize(), 6);

    CMatrix a(2, 2, true, 1.0);
    CVector three = Vec({1, 2, 3});
    a.SwitchVectors(&three);
    EXPECT_EQ(a.GetRows(), 3);
    EXPECT_EQ(a.GetColumns(), 1);
    EXPECT_EQ(three.GetSize(), 4);
}

} // namespace

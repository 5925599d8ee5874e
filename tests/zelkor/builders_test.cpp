#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::Values;

void ExpectRows(const CMatrix& m, std::vector<double> expected, double tol)
{
    ASSERT_EQ(m.GetSize(), static_cast<int>(expected.size()));
    for (int i = 0; i < m.GetSize(); ++i)
        EXPECT_NEAR(m.GetVector()[i], expected[static_cast<std::size_t>(i)], tol) << i;
}

TEST(RotationMatrices, Plane)
{
    CMatrix m;
    CMatrix::RotMat2D(m, std::numbers::pi / 2, false);
    EXPECT_EQ(m.GetRows(), 2);
    ExpectRows(m, {0, -1, 1, 0}, 1e-15);
    CMatrix::RotMat2D(m, std::numbers::pi / 2, true);
    ExpectRows(m, {0, 1, -1, 0}, 1e-15);
}

TEST(RotationMatrices, FromRotationVector)
{
    CMatrix m;
    CVector zero(3, true, 0.0);
    EXPECT_EQ(m.MakeRotMat(zero), &m);
    ExpectRows(m, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0.0);

    CVector z(3, true, 0.0);
    z[2] = std::numbers::pi / 2;
    m.MakeRotMat(z);
    ExpectRows(m, {0, -1, 0, 1, 0, 0, 0, 0, 1}, 1e-15);

    CVector axis(3, true, 0.0);
    axis[0] = 0.3;
    axis[1] = -1.1;
    axis[2] = 0.4;
    m.MakeRotMat(axis);
    CMatrix mt(m, true);
    mt *= m;
    ExpectRows(mt, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 1e-15);
    EXPECT_NEAR(m.Det(), 1.0, 1e-15);
}

TEST(RotationMatrices, TwoAngles)
{
    CMatrix m;
    m.RotMat(0.3, 0.0);
    const double c = std::cos(0.3), s = std::sin(0.3);
    ExpectRows(m, {c, -s, 0, s, c, 0, 0, 0, 1}, 1e-15);
    m.RotMat(0.3, 0.5);
    EXPECT_NEAR(m.GetValue(0, 1), -s, 1e-15);
    EXPECT_NEAR(m.GetValue(1, 1), c, 1e-15);
    EXPECT_NEAR(m.GetValue(0, 0), c * std::cos(0.5), 1e-15);
    EXPECT_NEAR(m.GetValue(2, 2), std::cos(0.5), 1e-15);
}

TEST(TestMatrices, Triangles)
{
    CMatrix m;
    m.LMat(3, 3, 2.0, 5.0, false);
    EXPECT_EQ(Values(m), (std::vector<double>{5, 0, 0, 2, 5, 0, 2, 2, 5}));
    m.LMat(3, 3, 2.0, 5.0, true);
    EXPECT_EQ(Values(m), (std::vector<double>{10, 0, 0, 4, 10, 0, 4, 4, 10}));

    CMatrix u(2, 3, true, 1.0);
    u.UMat(2, 3, 2.0, 5.0, true);
    EXPECT_EQ(Values(u), (std::vector<double>{6, 3, 3, 1, 6, 3}));
    u.UMat(3, 2, 2.0, 5.0, false);
    EXPECT_EQ(Values(u), (std::vector<double>{5, 2, 0, 5, 0, 0}));

    CMatrix l;
    l.LMat(4, 2, 1.0, 3.0, false);
    EXPECT_EQ(Values(l), (std::vector<double>{3, 0, 1, 3, 1, 1, 1, 1}));
}

TEST(TestMatrices, WellConditioned)
{
    CMatrix m;
    m.WellCond(4, 4, 0.0);
    EXPECT_EQ(m.Count(1.0, 0, 0), 4);
    EXPECT_EQ(m.Count(0.0, 0, 0), 12);
    CVector rows, cols;
    m.Vect2Norm(rows, 2);
    m.Vect2Norm(cols, 1);
    EXPECT_TRUE(rows == 1.0);
    EXPECT_TRUE(cols == 1.0);

    m.WellCond(5, 3, 0.5);
    EXPECT_EQ(m.GetRows(), 5);
    for (int i = 0; i < 5; ++i) {
        int nonZero = 0;
        for (int j = 0; j < 3; ++j) {
            double v = m.GetValue(i, j);
            if (v != 0.0) {
                ++nonZero;
                EXPECT_GE(v, 0.75);
                EXPECT_LE(v, 1.25);
            }
        }
        EXPECT_EQ(nonZero, 1) << i;
    }
}

TEST(TestMatrices, Random)
{
    CMatrix m;
    m.RandMat(3, 3, 1.0, 0.0, 2);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double v = m.GetValue(i, j);
            if (j < i) {
                EXPECT_EQ(v, 0.0);
            }
            EXPECT_GE(v, 0.0);
            EXPECT_LE(v, 1.0);
        }

    CMatrix strict;
    strict.RandMat(3, 4, -1.0, -2.0, -1);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) {
            double v = strict.GetValue(i, j);
            EXPECT_TRUE(j >= i ? v == 0.0 : v >= -2.0 && v <= -1.0) << i << ", " << j;
        }

    CMatrix keep(2, 2, true, 7.0);
    keep.RandMat(3, 3, 1.0, 0.0, 5);
    EXPECT_EQ(keep.GetRows(), 2);
    EXPECT_TRUE(keep == 7.0);

    // Calls in quick succession draw new values (no reseeding from the clock).
    CMatrix a, b;
    a.RandMat(4, 4, 1.0, 0.0, 0);
    b.RandMat(4, 4, 1.0, 0.0, 0);
    EXPECT_NE(Values(a), Values(b));
}

TEST(TestMatrices, Deviator)
{
    CMatrix m(3, 3, true, 0.0);
    m[0][0] = 1;
    m[1][1] = 2;
    m[2][2] = 3;
    m[0][1] = 4;
    m.Dev();
    EXPECT_EQ(Values(m), (std::vector<double>{-1, 4, 0, 0, 0, 0, 0, 0, 1}));
    CMatrix empty;
    empty.Dev();
    EXPECT_EQ(empty.GetSize(), 0);
}

} // namespace

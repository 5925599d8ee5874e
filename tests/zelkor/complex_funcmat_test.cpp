#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::Values;

void ExpectComplex(const complex_d& z, double re, double im)
{
    EXPECT_DOUBLE_EQ(z.re, re);
    EXPECT_DOUBLE_EQ(z.im, im);
}

TEST(Complex, ComparisonsAndOrderingByModulus)
{
    EXPECT_TRUE(complex_d(1, 2) != complex_d(1, 3));
    EXPECT_FALSE(complex_d(1, 2) == complex_d(1, 3));
    EXPECT_TRUE(complex_d(3, 4) > complex_d(0, 4.9));
    EXPECT_FALSE(complex_d(3, 4) < complex_d(5, 0));
    EXPECT_FALSE(complex_d(3, 4) > complex_d(5, 0));
    EXPECT_TRUE(complex_d(2, 0) == 2.0);
    EXPECT_TRUE(complex_d(2, 1e-300) != 2.0);
    EXPECT_TRUE(complex_d(2, 0).IsReal());
    EXPECT_TRUE(complex_d(0, 2).IsIm());
    EXPECT_FALSE(complex_d(1, 2).IsIm());
    EXPECT_DOUBLE_EQ(fabs(complex_d(-3, 4)), 5.0);
    // The modulus does not overflow for large parts.
    EXPECT_DOUBLE_EQ(fabs(complex_d(3e200, 4e200)), 5e200);
}

TEST(Complex, Arithmetic)
{
    complex_d z(2, 4);
    z /= 2;
    ExpectComplex(z, 1, 2);
    ExpectComplex(complex_d(0, 2).Inv(), 0, -0.5);
    ExpectComplex(complex_d(1, 2).Conj(), 1, -2);
    ExpectComplex(complex_d(1, 2) * complex_d(3, -1), 5, 5);
    ExpectComplex(complex_d(5, 5) / complex_d(3, -1), 1, 2);
    ExpectComplex(complex_d(1, 2) + 3.0, 4, 2);
    ExpectComplex(complex_d(1, 2) * 3.0, 3, 6);
    ExpectComplex(complex_d(1, 2) - complex_d(1, 1), 0, 1);
    complex_d w;
    w(1, 1);
    w *= complex_d(1, 1);
    ExpectComplex(w, 0, 2);
    w += 1.5;
    ExpectComplex(w, 1.5, 2);
    w = 7.0;
    ExpectComplex(w, 7, 0);
    // Division by zero follows the floating-point rules.
    complex_d q = complex_d(1, 1) / complex_d(0, 0);
    EXPECT_TRUE(std::isnan(q.re) || std::isinf(q.re));
}

TEST(Complex, PrincipalSquareRoot)
{
    ExpectComplex(sqrt(complex_d(-4, 0)), 0, 2);
    ExpectComplex(sqrt(complex_d(9, 0)), 3, 0);
    ExpectComplex(sqrt(complex_d(0, 2)), 1, 1);
    ExpectComplex(sqrt(complex_d(3, -4)), 2, -1);
}

TEST(Complex, ConsoleOutput)
{
    const struct {
        complex_d z;
        const char* text;
    } cases[] = {
        {{1, -2}, "1 -2i\n"},
        {{1, 2}, "1 +2i\n"},
        {{0.5, 0}, "0.5 \n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        c.z.COUT();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.text);
    }
}

double Identity(double x)
{
    return x;
}

double Twice(double x)
{
    return 2 * x;
}

double Difference(double x, double y)
{
    return x - y;
}

TEST(FuncMat, EvaluatesEntriesAndNulls)
{
    CFuncMat f(2, 2, true, nullptr);
    f[0][1] = Identity;
    f[1][0] = Twice;
    CMatrix out(5, 5, true, 9.0);
    f.EvalFunc(out, 3.0);
    EXPECT_EQ(out.GetRows(), 2);
    EXPECT_EQ(Values(out), (std::vector<double>{0, 3, 6, 0}));
    EXPECT_DOUBLE_EQ(f.EvalFunc(1, 0, 4.0), 8.0);
    EXPECT_DOUBLE_EQ(f.EvalFunc(0, 0, 4.0), 0.0);

    // Two parameters go to two-parameter entries; one-parameter entries get x.
    f[1][1] = Difference;
    f.EvalFunc(out, 3.0, 1.0);
    EXPECT_EQ(Values(out), (std::vector<double>{0, 3, 6, 2}));
    f.EvalFunc(out, 3.0);
    EXPECT_EQ(Values(out), (std::vector<double>{0, 3, 6, 3}));
}

TEST(FuncMat, AllocateKeepsEntriesOfTheSameSize)
{
    CFuncMat f;
    EXPECT_EQ(f.Allocate(2, 3, true, Identity), 6);
    f[1][2] = Twice;
    EXPECT_EQ(f.Allocate(3, 2, false, nullptr), 6);
    EXPECT_EQ(f.GetRows(), 3);
    EXPECT_EQ(f.GetColumns(), 2);
    EXPECT_TRUE(f[2][1] == CFuncMat::Entry(Twice));
    EXPECT_TRUE(f[0][0] == CFuncMat::Entry(Identity));
    // A new size gives null entries.
    EXPECT_EQ(f.Allocate(1, 2, false, nullptr), 2);
    EXPECT_TRUE(f[0][0].IsNull());

    int dims[] = {2, 2, 0};
    EXPECT_TRUE(f.Allocate(dims, 3));
    EXPECT_TRUE(f.Allocate(dims, 1));
    EXPECT_EQ(f.GetColumns(), 2);
    int none[] = {0, 4};
    EXPECT_FALSE(f.Allocate(none, 2));
    // Impossible sizes are a failure, never a success.
    int negative[] = {-2, 3};
    EXPECT_FALSE(f.Allocate(negative, 2));
    EXPECT_EQ(f.Allocate(-2, 3, true, nullptr), -1);
    CMatrix out(1, 1, true, 1.0);
    f.EvalFunc(out, 1.0);
    EXPECT_EQ(out.GetSize(), 0);
}

} // namespace

// Dense kernels against dense reference products.
#include "solver/solvika.h"
#include "tests/solvika/dense_oracle.h"

#include <gtest/gtest.h>

#include <limits>

using namespace solvika;
using solvika::test::Dense;

namespace {

// G of MATTRA/VECTRA: identity of order m with t in rows/columns k..k+n-1.
Dense embed(const Dense& t, int m, int k)
{
    Dense g = test::identity(m);
    for (int j = 1; j <= t.cols; ++j)
        for (int i = 1; i <= t.rows; ++i)
            g(k + i - 1, k + j - 1) = t(i, j);
    return g;
}

} // namespace

TEST(DenseKernels, MattraIsCongruenceWithBlockAnywhere)
{
    struct Case { int m, n, k; };
    // Includes a whole-matrix block, a block at the start and at the very end.
    const Case cases[] = {{1, 1, 1}, {5, 5, 1}, {6, 3, 1}, {6, 3, 2}, {6, 3, 4}, {9, 3, 4}, {7, 2, 6}};
    std::mt19937 rng(11);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "M=" << c.m << " N=" << c.n << " K=" << c.k);
        Dense a = test::randomSymmetric(c.m, rng);
        Dense t = test::randomMatrix(c.n, c.n, rng);
        Dense g = embed(t, c.m, c.k);
        Dense expect = test::multiply(test::transpose(g), test::multiply(a, g));
        std::vector<double> w(c.n);
        std::int32_t ierr = 99;
        MATTRA(t.data(), a.data(), w.data(), c.m, c.n, c.k, 0, ierr);
        EXPECT_EQ(ierr, 0);
        EXPECT_LT(test::maxAbsDiff(a, expect), 1e-13);
    }
}

TEST(DenseKernels, VectraAppliesBlockOrItsTranspose)
{
    std::mt19937 rng(12);
    const int m = 8, n = 3;
    for (int k : {1, 4, 6}) {
        Dense t = test::randomMatrix(n, n, rng);
        Dense v = test::randomMatrix(m, 1, rng);
        std::vector<double> w(n);
        for (int flag : {1, 2, 3}) {
            Dense g = embed(flag == 2 ? test::transpose(t) : t, m, k);
            Dense expect = flag == 3 ? v : test::multiply(g, v);
            Dense got = v;
            std::int32_t ierr = 99;
            VECTRA(t.data(), got.data(), w.data(), m, n, k, flag, 0, ierr);
            EXPECT_EQ(ierr, 0);
            if (flag == 3)
                EXPECT_EQ(got.v, v.v);
            else
                EXPECT_LT(test::maxAbsDiff(got, expect), 1e-14) << "K=" << k << " IFLAG=" << flag;
        }
    }
}

TEST(DenseKernels, TransformsRejectBadBlocks)
{
    struct Case { int m, n, k; };
    const Case cases[] = {{0, 1, 1}, {3, 0, 1}, {3, 1, 0}, {3, 2, 3}, {3, 4, 1}};
    for (const Case& c : cases) {
        double t[16] = {1}, a[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9}, w[4] = {};
        double before[9];
        std::copy(a, a + 9, before);
        std::int32_t ierr = 0;
        MATTRA(t, a, w, c.m, c.n, c.k, 0, ierr);
        EXPECT_EQ(ierr, -1);
        ierr = 0;
        VECTRA(t, a, w, c.m, c.n, c.k, 1, 0, ierr);
        EXPECT_EQ(ierr, -1);
        EXPECT_TRUE(std::equal(a, a + 9, before));
    }
}

TEST(DenseKernels, SyminvInvertsDefiniteAndIndefiniteMatrices)
{
    std::mt19937 rng(13);
    for (int n : {2, 3, 6, 9}) {
        for (bool definite : {true, false}) {
            Dense a = definite ? test::randomSpd(n, rng) : test::randomSymmetric(n, rng);
            Dense inv = a;
            // Garbage in the strict lower triangle: only the upper one is read.
            for (int j = 1; j <= n; ++j)
                for (int i = j + 1; i <= n; ++i)
                    inv(i, j) = 1e30;
            std::int32_t ierr = 99;
            SYMINV(inv.data(), 1e-10, n, -1, ierr);
            ASSERT_EQ(ierr, 0);
            EXPECT_LT(test::maxAbsDiff(test::multiply(a, inv), test::identity(n)), 1e-10)
                << "n=" << n;
            EXPECT_LT(test::maxAbsDiff(inv, test::transpose(inv)), 1e-15);
        }
    }
}

TEST(DenseKernels, SyminvOneByOneAndFailures)
{
    std::int32_t ierr = 99;
    double one = -4.0;
    SYMINV(&one, 10.0, 1, -1, ierr); // no tolerance test on a single entry
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(one, -0.25);

    double zero = 0.0;
    SYMINV(&zero, 0.0, 1, -1, ierr);
    EXPECT_EQ(ierr, -2);
    SYMINV(&zero, 0.0, 0, -1, ierr);
    EXPECT_EQ(ierr, -1);

    // Rank 2: the third pivot vanishes.
    double singular[9] = {1, 2, 3, 2, 5, 7, 3, 7, 10};
    SYMINV(singular, 1e-10, 3, -1, ierr);
    EXPECT_EQ(ierr, -2);
}

TEST(DenseKernels, SoldltSolvesAndSplitsItsPhases)
{
    std::mt19937 rng(14);
    const int n = 7, nrhs = 3;
    Dense a = test::randomSymmetric(n, rng);
    for (int i = 1; i <= n; ++i)
        a(i, i) += 3.0 * (i % 2 ? 1 : -1); // indefinite but well conditioned
    Dense b = test::randomMatrix(n, nrhs, rng);

    Dense f = a, x = b;
    std::int32_t ierr = 99;
    SOLDLT(f.data(), x.data(), 1e-10, n, nrhs, 0, 2, ierr);
    ASSERT_EQ(ierr, 0);
    EXPECT_LT(test::maxAbsDiff(test::multiply(a, x), b), 1e-12);

    // KODE 1 (no right-hand sides needed), then 3, then 4 + 5.
    Dense f2 = a, x3 = b, x45 = b;
    SOLDLT(f2.data(), nullptr, 1e-10, n, 0, 0, 1, ierr);
    ASSERT_EQ(ierr, 0);
    SOLDLT(f2.data(), x3.data(), 1e-10, n, nrhs, 0, 3, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(x3.v, x.v);
    SOLDLT(f2.data(), x45.data(), 1e-10, n, nrhs, 0, 4, ierr);
    SOLDLT(f2.data(), x45.data(), 1e-10, n, nrhs, 0, 5, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(x45.v, x.v);
}

TEST(DenseKernels, SoldltFailures)
{
    struct Case { int neq, nrhs, kode; };
    const Case bad[] = {{0, 1, 2}, {2, 1, 0}, {2, 1, 6}, {2, 0, 2}, {2, 0, 5}};
    double a[4] = {1, 0, 0, 1}, b[2] = {1, 1};
    std::int32_t ierr = 0;
    for (const Case& c : bad) {
        SOLDLT(a, b, 0.0, c.neq, c.nrhs, 0, c.kode, ierr);
        EXPECT_EQ(ierr, -1) << c.neq << " " << c.nrhs << " " << c.kode;
    }
    double zero1[4] = {0, 1, 1, 1};
    SOLDLT(zero1, b, 0.0, 2, 1, 0, 1, ierr);
    EXPECT_EQ(ierr, -2);
    double zero2[4] = {1, 1, 1, 1};
    SOLDLT(zero2, b, 0.0, 2, 1, 0, 1, ierr);
    EXPECT_EQ(ierr, -2);
    // D(2) = 2 - 1 = 1 against A(2,2) = 2: passes at EPS 0.5, fails above it.
    double edge[4] = {1, 1, 1, 2};
    SOLDLT(edge, b, 0.5, 2, 1, 0, 1, ierr);
    EXPECT_EQ(ierr, 0);
    double edge2[4] = {1, 1, 1, 2};
    SOLDLT(edge2, b, std::nextafter(0.5, 1.0), 2, 1, 0, 1, ierr);
    EXPECT_EQ(ierr, -3);
}

TEST(DenseKernels, ScaprdSumsWithAnyIncrements)
{
    const double x[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const double y[] = {2, -1, 3, 5, -2, 4, 1, 0.5, 7, -3, 2, 6, -1, 8, 9};
    auto ref = [&](int incx, int incy, int n) {
        double s = 0;
        for (int i = 0; i < n; ++i)
            s += x[i * incx] * y[i * incy];
        return s;
    };
    for (int n : {-1, 0, 1, 4, 5, 7, 10, 15})
        EXPECT_DOUBLE_EQ(SCAPRD(x, y, 1, 1, n), n > 0 ? ref(1, 1, n) : 0.0) << n;
    EXPECT_DOUBLE_EQ(SCAPRD(x, y, 2, 3, 5), ref(2, 3, 5));
    EXPECT_DOUBLE_EQ(SCAPRD(x, y, 3, 1, 4), ref(3, 1, 4));
    EXPECT_DOUBLE_EQ(SCAPRD(x, y, 1, 2, 7), ref(1, 2, 7));
}

TEST(DenseKernels, MachineConstants)
{
#ifdef __FAST_MATH__
    FAIL() << "built with fast-math: the solver's rounding assumptions do not hold";
#endif
    const std::int32_t expect[] = {0, 5, 6, 15, 2147483647, 308, 308, 32, 4, 2, 0};
    for (int code = 0; code <= 10; ++code)
        EXPECT_EQ(MACHCN(code), expect[code]) << code;
    EXPECT_EQ(MACHCN(-3), 0);
}

TEST(DenseKernels, FillScaleCopy)
{
    std::int32_t ia[7] = {9, 9, 9, 9, 9, 9, 9};
    IFILL(ia, 2, 3, -5);
    EXPECT_EQ(std::vector<std::int32_t>(ia, ia + 7), (std::vector<std::int32_t>{-5, -5, -5, -5, -5, -5, 9}));
    IFILL(ia, 0, 3, 1);
    IFILL(ia, 3, -1, 1);
    EXPECT_EQ(ia[0], -5);

    double a[7] = {1, 2, 3, 4, 5, 6, 7}, b[7] = {0, 0, 0, 0, 0, 0, 99};
    SCALEV(a, b, 3, 2, -2.0);
    EXPECT_EQ(std::vector<double>(b, b + 7), (std::vector<double>{-2, -4, -6, -8, -10, -12, 99}));
    COPYV(a, b, 1, 6, -1);
    EXPECT_EQ(std::vector<double>(b, b + 7), (std::vector<double>{-1, -2, -3, -4, -5, -6, 99}));
    COPYV(a, b, 6, 1, 0);
    EXPECT_EQ(std::vector<double>(b, b + 7), (std::vector<double>{1, 2, 3, 4, 5, 6, 99}));
    RFILL(b, 5, 1, 0.5);
    EXPECT_EQ(std::vector<double>(b, b + 7), (std::vector<double>{0.5, 0.5, 0.5, 0.5, 0.5, 6, 99}));
    RFILL(b, 0, 0, 7.0);
    SCALEV(a, b, -1, 4, 3.0);
    COPYV(a, b, 4, 0, 1);
    EXPECT_EQ(b[0], 0.5);
}

// Skyline solver and products against dense references.
#include "solver/solvika.h"
#include "tests/solvika/dense_oracle.h"

#include <gtest/gtest.h>

using namespace solvika;
using solvika::test::Dense;
using solvika::test::Skyline;

namespace {

// Dense LDL^T without pivoting of the first neq1 equations: afterwards the
// strict upper triangle of column c holds the multipliers of rows <= neq1
// and the reduced (Schur) entries of later rows; the diagonal holds D or the
// reduced diagonal. That is what a partial skyline factorisation stores.
Dense partialLdlt(Dense a, int neq1)
{
    const int n = a.rows;
    for (int k = 1; k <= neq1; ++k) {
        const double d = a(k, k);
        for (int j = k + 1; j <= n; ++j)
            for (int i = k + 1; i <= n; ++i)
                a(i, j) -= a(i, k) * a(k, j) / d;
        for (int j = k + 1; j <= n; ++j) {
            a(k, j) /= d;
            a(j, k) = a(k, j);
        }
    }
    return a;
}

int negativeCount(const std::vector<double>& v)
{
    int n = 0;
    for (double x : v)
        n += x < 0.0;
    return n;
}

std::vector<double> column(const Dense& d, int j)
{
    return std::vector<double>(d.v.begin() + std::size_t(j - 1) * d.rows,
                               d.v.begin() + std::size_t(j) * d.rows);
}

Dense upperTriangle(const Dense& d)
{
    Dense u(d.rows, d.cols);
    for (int j = 1; j <= d.cols; ++j)
        for (int i = 1; i <= j; ++i)
            u(i, j) = d(i, j);
    return u;
}

} // namespace

TEST(SkylineSolver, FactorisationMatchesDenseLdlt)
{
    struct Case { int n, band; bool indefinite; int neq1; };
    const Case cases[] = {{1, 0, false, 1},  {2, 1, true, 2},    {12, 4, false, 12},
                          {12, 4, true, 12}, {30, 8, true, 30},  {30, 8, false, 24},
                          {30, 8, true, 27}, {15, 14, true, 1}};
    std::mt19937 rng(21);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n=" << c.n << " neq1=" << c.neq1
                                        << (c.indefinite ? " indefinite" : " definite"));
        Skyline s = test::randomSkyline(c.n, c.band, c.indefinite, rng);
        const Dense a = s.dense();
        const Dense expect = partialLdlt(a, c.neq1);
        std::int32_t ineg = -7, ierr = 99;
        SKYSOL(s.a.data(), nullptr, s.msky.data(), 1e-10, c.n, c.neq1, 0, -1, 1, ineg, ierr);
        ASSERT_EQ(ierr, 0);
        double err = 0.0;
        std::vector<double> diagonal;
        for (int col = 1; col <= c.n; ++col) {
            for (int r = s.top[col - 1]; r <= col; ++r)
                err = std::max(err, std::fabs(s.at(r, col) - expect(r, col)));
            diagonal.push_back(expect(col, col));
        }
        EXPECT_LT(err, 1e-12);
        EXPECT_EQ(ineg, negativeCount(diagonal));
        if (c.neq1 == c.n) { // Sylvester: the pivots have the inertia of A
            EXPECT_EQ(ineg, negativeCount(test::symmetricEigenvalues(a)));
        }
    }
}

TEST(SkylineSolver, SolvesInOneGoOrInSteps)
{
    std::mt19937 rng(22);
    const int n = 25, nrhs = 2;
    const Skyline s0 = test::randomSkyline(n, 6, true, rng);
    const Dense a = s0.dense();
    const Dense b = test::randomMatrix(n, nrhs, rng);
    Dense expect(n, nrhs);
    for (int j = 1; j <= nrhs; ++j) {
        const std::vector<double> x = test::solveDense(a, column(b, j));
        std::copy(x.begin(), x.end(), expect.v.begin() + std::size_t(j - 1) * n);
    }

    std::int32_t ineg = 0, ierr = 0;
    Skyline s = s0;
    Dense x = b;
    SKYSOL(s.a.data(), x.data(), s.msky.data(), 1e-10, n, n, nrhs, -1, 3, ineg, ierr);
    ASSERT_EQ(ierr, 0);
    EXPECT_LT(test::maxAbsDiff(x, expect), 1e-10);

    // With the factors: 4 in one call, 5 then 6; neither touches INEG.
    Dense x4 = b, x56 = b;
    ineg = 77;
    SKYSOL(s.a.data(), x4.data(), s.msky.data(), 1e-10, n, n, nrhs, -1, 4, ineg, ierr);
    SKYSOL(s.a.data(), x56.data(), s.msky.data(), 1e-10, n, n, nrhs, -1, 5, ineg, ierr);
    SKYSOL(s.a.data(), x56.data(), s.msky.data(), 1e-10, n, n, nrhs, -1, 6, ineg, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(ineg, 77);
    EXPECT_EQ(x4.v, x.v);
    EXPECT_EQ(x56.v, x.v);
}

TEST(SkylineSolver, CondensesTrailingEquations)
{
    // Eliminate 1..neq1, solve the reduced trailing system outside, then
    // back-substitute: the full solution must come out.
    std::mt19937 rng(23);
    const int n = 20, neq1 = 15, m = n - neq1;
    Skyline s = test::randomSkyline(n, 7, false, rng);
    const Dense a = s.dense();
    const Dense b = test::randomMatrix(n, 1, rng);
    const std::vector<double> expect = test::solveDense(a, b.v);

    std::int32_t ineg = 0, ierr = 0;
    std::vector<double> x = b.v;
    SKYSOL(s.a.data(), x.data(), s.msky.data(), 1e-10, n, neq1, 1, -1, 2, ineg, ierr);
    ASSERT_EQ(ierr, 0);
    const Dense reduced = partialLdlt(a, neq1);
    Dense schur(m, m);
    for (int j = 1; j <= m; ++j)
        for (int i = 1; i <= m; ++i)
            schur(i, j) = reduced(neq1 + i, neq1 + j);
    const std::vector<double> tail =
        test::solveDense(schur, std::vector<double>(x.begin() + neq1, x.end()));
    std::copy(tail.begin(), tail.end(), x.begin() + neq1);
    SKYSOL(s.a.data(), x.data(), s.msky.data(), 1e-10, n, neq1, 1, -1, 6, ineg, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_LT(test::maxAbsDiff(x, expect), 1e-10);
}

TEST(SkylineSolver, SingleEquation)
{
    std::int32_t msky = 1, ineg = 0, ierr = 0;
    double a = -4.0, b = 2.0;
    SKYSOL(&a, &b, &msky, 1e-10, 1, 1, 1, -1, 3, ineg, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(ineg, 1);
    EXPECT_EQ(b, -0.5);
    a = 0.0;
    SKYSOL(&a, &b, &msky, 1e-10, 1, 1, 1, -1, 3, ineg, ierr);
    EXPECT_EQ(ierr, -3);
    EXPECT_EQ(ineg, 1);
}

TEST(SkylineSolver, PivotTestsAndProfileErrors)
{
    std::int32_t ineg = 0, ierr = 0;
    std::vector<double> rhs(4, 1.0);
    // D(2) = 2 - 1 = 1 = EPS |A(2,2)| exactly: passes; a hair more EPS fails.
    {
        std::vector<std::int32_t> msky = {1, 3};
        std::vector<double> a = {1, 1, 2};
        SKYSOL(a.data(), rhs.data(), msky.data(), 0.5, 2, 2, 1, -1, 1, ineg, ierr);
        EXPECT_EQ(ierr, 0);
        a = {1, 1, 2};
        SKYSOL(a.data(), rhs.data(), msky.data(), std::nextafter(0.5, 1.0), 2, 2, 1, -1, 1, ineg, ierr);
        EXPECT_EQ(ierr, -4);
        EXPECT_EQ(ineg, 2);
    }
    // Beyond NEQ1 a reduced zero in a tall column is not tested, a zero
    // diagonal-only column always is.
    {
        std::vector<std::int32_t> msky = {1, 3, 4};
        std::vector<double> a = {1, 1, 1, 5};
        SKYSOL(a.data(), rhs.data(), msky.data(), 1e-10, 3, 1, 1, -1, 1, ineg, ierr);
        EXPECT_EQ(ierr, 0);
        EXPECT_EQ(a[2], 0.0);
        a = {1, 1, 1, 0};
        SKYSOL(a.data(), rhs.data(), msky.data(), 1e-10, 3, 1, 1, -1, 1, ineg, ierr);
        EXPECT_EQ(ierr, -3);
        EXPECT_EQ(ineg, 3);
        // Inside NEQ1 the same tall column fails on its exact zero.
        a = {1, 1, 1, 5};
        SKYSOL(a.data(), rhs.data(), msky.data(), 1e-10, 3, 3, 1, -1, 1, ineg, ierr);
        EXPECT_EQ(ierr, -3);
        EXPECT_EQ(ineg, 2);
    }
    // Column 3 claims four entries; a decreasing MSKY is just as wrong.
    for (std::vector<std::int32_t> msky : {std::vector<std::int32_t>{1, 3, 7},
                                           std::vector<std::int32_t>{1, 3, 3}}) {
        std::vector<double> a = {1, 0, 1, 1, 1, 1, 1};
        SKYSOL(a.data(), rhs.data(), msky.data(), 1e-10, 3, 3, 1, -1, 1, ineg, ierr);
        EXPECT_EQ(ierr, -2);
        EXPECT_EQ(ineg, 3);
    }
    // Illegal parameters leave INEG alone.
    struct Case { int neq, neq1, iflag; };
    for (const Case c : {Case{0, 1, 3}, Case{2, 0, 3}, Case{2, 3, 3}, Case{2, 2, 0}, Case{2, 2, 7}}) {
        std::vector<std::int32_t> msky = {1, 2};
        std::vector<double> a = {1, 1};
        ineg = 55;
        SKYSOL(a.data(), rhs.data(), msky.data(), 1e-10, c.neq, c.neq1, 1, -1, c.iflag, ineg, ierr);
        EXPECT_EQ(ierr, -1);
        EXPECT_EQ(ineg, 55);
    }
}

TEST(SkylineCholesky, FactorMatchesDenseCholesky)
{
    std::mt19937 rng(24);
    for (int n : {1, 2, 9, 30}) {
        Skyline s = test::randomSkyline(n, 6, false, rng);
        const Dense a = s.dense();
        const Dense l = test::cholesky(a);
        std::int32_t ieq = -1, ierr = 99;
        FACSKY(s.a.data(), s.msky.data(), 1e-10, n, 0, ieq, ierr);
        ASSERT_EQ(ierr, 0);
        EXPECT_EQ(ieq, 0);
        double err = 0.0;
        for (int c = 1; c <= n; ++c)
            for (int r = s.top[c - 1]; r <= c; ++r)
                err = std::max(err, std::fabs(s.at(r, c) - l(c, r)));
        EXPECT_LT(err, 1e-12) << n;

        // FWDCHL: U^T X = B.
        const Dense b = test::randomMatrix(n, 3, rng);
        Dense x = b;
        FWDCHL(s.a.data(), x.data(), s.msky.data(), n, 3);
        EXPECT_LT(test::maxAbsDiff(test::multiply(l, x), b), 1e-12);
    }
}

TEST(SkylineCholesky, Failures)
{
    std::int32_t ieq = 0, ierr = 0;
    std::vector<std::int32_t> msky = {1, 3};
    // s = 2 - 1 = EPS d exactly: fails as near-singular; a hair less EPS passes.
    std::vector<double> a = {1, 1, 2};
    FACSKY(a.data(), msky.data(), 0.5, 2, 0, ieq, ierr);
    EXPECT_EQ(ierr, -3);
    EXPECT_EQ(ieq, 2);
    a = {1, 1, 2};
    FACSKY(a.data(), msky.data(), std::nextafter(0.5, 0.0), 2, 0, ieq, ierr);
    EXPECT_EQ(ierr, 0);

    struct Case { std::vector<std::int32_t> msky; std::vector<double> a; int n, ierr, ieq; };
    const Case cases[] = {
        {{1}, {1}, 0, -1, 0},
        {{1, 3}, {-1, 0, 1}, 2, -2, 1},
        {{1, 2}, {1, 0}, 2, -2, 2},      // zero diagonal-only column
        {{1, 3}, {1, 2, 2}, 2, -2, 2},   // reduced diagonal negative
        {{1, 3}, {1, 1, 1}, 2, -2, 2},   // reduced diagonal zero
        {{1, 3, 7}, {1, 0, 1, 0, 0, 0, 1}, 3, -4, 3},
    };
    for (const Case& c : cases) {
        std::vector<double> m = c.a;
        FACSKY(m.data(), c.msky.data(), 1e-10, c.n, 0, ieq, ierr);
        EXPECT_EQ(ierr, c.ierr) << c.n;
        EXPECT_EQ(ieq, c.ieq) << c.n;
    }
}

TEST(SkylineProducts, PreskyIsTheSymmetricProduct)
{
    std::mt19937 rng(25);
    const int m = 14, n = 3;
    const Skyline s = test::randomSkyline(m, 5, true, rng);
    const Dense a = s.dense();
    const Dense b = test::randomMatrix(m, n, rng);
    const Dense c0 = test::randomMatrix(m, n, rng);
    const Dense ab = test::multiply(a, b);
    std::vector<double> w(m);
    for (int flag : {1, -1, 2, -2, 0}) {
        Dense c = c0;
        std::int32_t ierr = 99;
        PRESKY(s.a.data(), b.data(), c.data(), w.data(), s.msky.data(), m, n, 1, flag, 0, ierr);
        ASSERT_EQ(ierr, 0);
        Dense expect = c0;
        for (std::size_t i = 0; i < expect.v.size(); ++i) {
            const double p = ab.v[i];
            double& e = expect.v[i];
            e = flag == 1 ? p : flag == -1 ? -p : flag == 2 ? e + p : flag == -2 ? e - p : e;
        }
        EXPECT_LT(test::maxAbsDiff(c, expect), 1e-13) << flag;
        EXPECT_LT(test::maxAbsDiff(w, column(ab, n)), 1e-13) << flag; // last column's product
    }
    // Diagonal A: KSA < 1, MSKY not read.
    const Dense d = test::randomMatrix(m, 1, rng);
    Dense c(m, n);
    std::int32_t ierr = 99;
    PRESKY(d.data(), b.data(), c.data(), w.data(), nullptr, m, n, 0, 1, 0, ierr);
    EXPECT_EQ(ierr, 0);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= m; ++i)
            EXPECT_DOUBLE_EQ(c(i, j), d(i, 1) * b(i, j));
}

TEST(SkylineProducts, TskymbAppliesTheUpperTriangle)
{
    std::mt19937 rng(26);
    const int m = 13, n = 2;
    const Skyline s = test::randomSkyline(m, 5, true, rng);
    const Dense u = upperTriangle(s.dense());
    const Dense b = test::randomMatrix(m, n, rng);
    std::vector<double> w(m);
    for (int flag : {1, 2, 11, 22}) {
        const Dense expect = test::multiply(flag % 10 == 1 ? u : test::transpose(u), b);
        Dense c(m, n);
        std::int32_t ierr = 99;
        TSKYMB(s.a.data(), b.data(), c.data(), w.data(), s.msky.data(), m, n, 1, flag, 0, ierr);
        ASSERT_EQ(ierr, 0);
        EXPECT_LT(test::maxAbsDiff(c, expect), 1e-13) << flag;

        // One column with IFLAG 11 or 22: the result stays in W.
        const Dense b1 = test::randomMatrix(m, 1, rng);
        const Dense e1 = test::multiply(flag % 10 == 1 ? u : test::transpose(u), b1);
        Dense c1(m, 1);
        c1.v.assign(m, 42.0);
        TSKYMB(s.a.data(), b1.data(), c1.data(), w.data(), s.msky.data(), m, 1, 1, flag, 0, ierr);
        EXPECT_LT(test::maxAbsDiff(w, e1.v), 1e-13) << flag;
        if (flag > 10)
            EXPECT_EQ(c1.v, std::vector<double>(m, 42.0)) << flag;
        else
            EXPECT_EQ(c1.v, w) << flag;
    }
    const Dense d = test::randomMatrix(m, 1, rng);
    Dense c(m, n);
    std::int32_t ierr = 99;
    TSKYMB(d.data(), b.data(), c.data(), w.data(), nullptr, m, n, -1, 2, 0, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_DOUBLE_EQ(c(5, 2), d(5, 1) * b(5, 2));
}

TEST(SkylineProducts, RejectBadArguments)
{
    std::vector<std::int32_t> good = {1, 3, 4}, low = {1, 1, 4}, tall = {1, 3, 7};
    std::vector<double> a(7, 1.0), b(6, 1.0), c(6, 0.0), w(3);
    std::int32_t ierr = 0;
    PRESKY(a.data(), b.data(), c.data(), w.data(), good.data(), 0, 1, 1, 1, 0, ierr);
    EXPECT_EQ(ierr, -1);
    PRESKY(a.data(), b.data(), c.data(), w.data(), good.data(), 3, 0, 1, 1, 0, ierr);
    EXPECT_EQ(ierr, -1);
    PRESKY(a.data(), b.data(), c.data(), w.data(), low.data(), 3, 2, 1, 1, 0, ierr);
    EXPECT_EQ(ierr, -2);
    PRESKY(a.data(), b.data(), c.data(), w.data(), tall.data(), 3, 2, 1, 1, 0, ierr);
    EXPECT_EQ(ierr, -2);
    TSKYMB(a.data(), b.data(), c.data(), w.data(), good.data(), 3, 2, 1, 3, 0, ierr);
    EXPECT_EQ(ierr, -1);
    TSKYMB(a.data(), b.data(), c.data(), w.data(), tall.data(), 3, 2, 1, 1, 0, ierr);
    EXPECT_EQ(ierr, -2);
    EXPECT_EQ(c, std::vector<double>(6, 0.0));
}

TEST(SkylineProducts, SpsmmOperatorsOfTheFactoredMatrix)
{
    std::mt19937 rng(27);
    const int n = 16;
    const Skyline sa = test::randomSkyline(n, 5, false, rng);
    // B with A's profile, and a diagonal B.
    Skyline sb = sa;
    for (double& v : sb.a)
        v = std::uniform_real_distribution<double>(-1.0, 1.0)(rng);
    const Dense a = sa.dense();
    const Dense ainv = test::inverse(a);
    const Dense x0 = test::randomMatrix(n, 1, rng);

    Skyline ldl = sa;
    std::int32_t ineg = 0, ierr = 0;
    SKYSOL(ldl.a.data(), nullptr, ldl.msky.data(), 1e-10, n, n, 0, -1, 1, ineg, ierr);
    ASSERT_EQ(ierr, 0);

    std::vector<double> diagB(n);
    for (int i = 1; i <= n; ++i)
        diagB[i - 1] = 0.5 + i;
    Dense dB(n, n);
    for (int i = 1; i <= n; ++i)
        dB(i, i) = diagB[i - 1];

    for (int ksb : {0, -1, -2}) {
        const double* bdata = ksb == -2 ? diagB.data() : sb.a.data();
        const Dense ub = ksb == -2 ? dB : upperTriangle(sb.dense());
        const Dense z = test::multiply(ainv, test::multiply(test::transpose(ub), x0));
        const Dense ubz = test::multiply(ub, z);
        for (int flag = 1; flag <= 4; ++flag) {
            SCOPED_TRACE(testing::Message() << "KSB=" << ksb << " IFLAG=" << flag);
            Dense x = x0, y(n, 1), zz(n, 1);
            SPSMM(ldl.a.data(), bdata, x.data(), y.data(), zz.data(), ldl.msky.data(), n, 2, ksb,
                  flag, 0, ierr);
            ASSERT_EQ(ierr, 0);
            switch (flag) {
            case 1: EXPECT_LT(test::maxAbsDiff(x, z), 1e-12); break;
            case 2:
                EXPECT_LT(test::maxAbsDiff(y, z), 1e-12);
                EXPECT_EQ(x.v, x0.v);
                break;
            case 3:
                EXPECT_LT(test::maxAbsDiff(zz, z), 1e-12);
                EXPECT_LT(test::maxAbsDiff(x, ubz), 1e-12);
                break;
            case 4:
                EXPECT_LT(test::maxAbsDiff(zz, z), 1e-12);
                EXPECT_LT(test::maxAbsDiff(y, ubz), 1e-12);
                EXPECT_EQ(x.v, x0.v);
                break;
            }
        }
    }

    // IFLAG 5 and 6 with a Cholesky factor: L^-1 B L^-T with A = L L^T.
    Skyline chol = sa;
    std::int32_t ieq = 0;
    FACSKY(chol.a.data(), chol.msky.data(), 1e-10, n, 0, ieq, ierr);
    ASSERT_EQ(ierr, 0);
    const Dense linv = test::inverse(test::cholesky(a));
    // B positive definite here, so that A x = lambda B x has real positive lambdas.
    Skyline spd = test::randomSkyline(n, 5, false, rng);
    spd.top = sa.top;
    spd = test::toSkyline(spd.dense(), sa.top);
    for (int ksb : {0, 1, 2}) {
        const Dense bd = ksb == 2 ? dB : spd.dense();
        const double* bdata = ksb == 2 ? diagB.data() : spd.a.data();
        const Dense expect = test::multiply(linv, test::multiply(bd, test::transpose(linv)));
        Dense op5(n, n), op6(n, n);
        for (int j = 1; j <= n; ++j) {
            Dense x(n, 1), y(n, 1), z(n, 1);
            x(j, 1) = 1.0;
            SPSMM(chol.a.data(), bdata, x.data(), y.data(), z.data(), chol.msky.data(), n, 3, ksb,
                  6, 0, ierr);
            ASSERT_EQ(ierr, 0);
            EXPECT_EQ(x(j, 1), 1.0);
            std::copy(y.v.begin(), y.v.end(), op6.v.begin() + std::size_t(j - 1) * n);
            SPSMM(chol.a.data(), bdata, x.data(), y.data(), z.data(), chol.msky.data(), n, 3, ksb,
                  5, 0, ierr);
            ASSERT_EQ(ierr, 0);
            std::copy(x.v.begin(), x.v.end(), op5.v.begin() + std::size_t(j - 1) * n);
        }
        EXPECT_LT(test::maxAbsDiff(op5, expect), 1e-12) << ksb;
        EXPECT_LT(test::maxAbsDiff(op6, expect), 1e-12) << ksb;
        // Its eigenvalues are 1/lambda of A x = lambda B x.
        const Dense lb = test::inverse(test::cholesky(bd));
        std::vector<double> lambda = test::symmetricEigenvalues(
            test::multiply(lb, test::multiply(a, test::transpose(lb))));
        std::vector<double> mu = test::symmetricEigenvalues(op6);
        for (double& l : lambda)
            l = 1.0 / l;
        std::sort(lambda.begin(), lambda.end());
        EXPECT_LT(test::maxAbsDiff(mu, lambda), 1e-10) << ksb;
    }
}

TEST(SkylineProducts, SpsmmConditions)
{
    std::vector<std::int32_t> msky = {1, 2};
    std::vector<double> a = {1, 1}, b = {1, 1}, x = {3, 4}, y = {0, 0}, z = {0, 0};
    struct Case { int ksa, ksb, iflag; };
    for (const Case c : {Case{3, 0, 1}, Case{2, 1, 2}, Case{2, 0, 5}, Case{3, -1, 6}}) {
        std::int32_t ierr = 0;
        SPSMM(a.data(), b.data(), x.data(), y.data(), z.data(), msky.data(), 2, c.ksa, c.ksb,
              c.iflag, 0, ierr);
        EXPECT_EQ(ierr, -1) << c.iflag;
    }
    std::int32_t ierr = 5;
    SPSMM(a.data(), b.data(), x.data(), y.data(), z.data(), msky.data(), 2, 7, 7, 7, 0, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(x, (std::vector<double>{3, 4}));
}

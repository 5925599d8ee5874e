// Dense generalised eigenproblem, tridiagonal QL, sorting and the random
// vector generator.
#include "solver/solvika.h"
#include "tests/solvika/dense_oracle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using namespace solvika;
using solvika::test::Dense;

namespace {

constexpr int kUnit = 77;

struct Capture {
    std::string text;
    Capture() { attachSink(kUnit, &text); }
    ~Capture() { detachSink(kUnit); }
};

// Largest |(A x - lambda B x)_i| over all pairs, relative to max |A|.
double residual(const Dense& a, const Dense& b, const std::vector<double>& evl, const Dense& x)
{
    const Dense ax = test::multiply(a, x);
    const Dense bx = test::multiply(b, x);
    double amax = 0.0;
    for (double v : a.v)
        amax = std::max(amax, std::abs(v));
    double r = 0.0;
    for (int j = 1; j <= x.cols; ++j)
        for (int i = 1; i <= x.rows; ++i)
            r = std::max(r, std::abs(ax(i, j) - evl[j - 1] * bx(i, j)));
    return r / amax;
}

bool sortedBy(const std::vector<double>& v, int code)
{
    for (std::size_t i = 1; i < v.size(); ++i) {
        const double p = v[i - 1];
        const double c = v[i];
        const bool ok = code == 1 ? p <= c : code == 2 ? std::abs(p) <= std::abs(c) : code == 3 ? p >= c
                                                                                          : std::abs(p) >= std::abs(c);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

TEST(Genhql, RandomPairsAllSortCodes)
{
    std::mt19937 rng(11);
    for (int n : {2, 3, 7, 12}) {
        for (int code = 1; code <= 4; ++code) {
            const Dense a = test::randomSymmetric(n, rng);
            const Dense b = test::randomSpd(n, rng);
            Dense aw = a;
            Dense bw = b;
            std::vector<double> evl(n);
            Dense x(n, n);
            std::vector<double> w(2 * n);
            double tol = 1.0e-10;
            std::int32_t ierr = 9;
            GENHQL(aw.data(), bw.data(), evl.data(), x.data(), w.data(), tol, n, n, code, 0, ierr);
            ASSERT_EQ(ierr, 0) << n;
            EXPECT_LT(residual(a, b, evl, x), 1e-12) << n << " code " << code;
            const Dense xtbx = test::multiply(test::transpose(x), test::multiply(b, x));
            EXPECT_LT(test::maxAbsDiff(xtbx, test::identity(n)), 1e-12);
            EXPECT_TRUE(sortedBy(evl, code)) << n << " code " << code;

            // Eigenvalues only: the same values, in the same order.
            aw = a;
            bw = b;
            std::vector<double> only(n);
            GENHQL(aw.data(), bw.data(), only.data(), nullptr, w.data(), tol, n, 0, code, 0, ierr);
            ASSERT_EQ(ierr, 0);
            EXPECT_LT(test::maxAbsDiff(only, evl), 1e-12 * (1.0 + std::abs(evl[0])));
        }
    }
}

TEST(Genhql, SingleEquation)
{
    struct Case {
        double a, b;
        std::int32_t ierr;
    };
    for (const Case& c : {Case{3.0, 4.0, 0}, Case{3.0, 0.0, -3}, Case{3.0, -1.0, -2}}) {
        double a = c.a;
        double b = c.b;
        double evl = 0.0;
        double x = 0.0;
        double w[2];
        double tol = 0.0;
        std::int32_t ierr = 0;
        GENHQL(&a, &b, &evl, &x, w, tol, 1, 1, 2, 0, ierr);
        EXPECT_EQ(ierr, c.ierr);
        if (c.ierr == 0) {
            EXPECT_DOUBLE_EQ(evl, 0.75);
            EXPECT_DOUBLE_EQ(x, 0.5);
        }
    }
}

TEST(Genhql, FactorisationFailuresWriteBothRoutinesLines)
{
    Capture log;
    // B(2,2) reduces to 1 - 1 = 0: not positive definite at equation 2.
    Dense a = test::identity(3);
    Dense b(3, 3);
    b(1, 1) = 1.0;
    b(1, 2) = b(2, 1) = 1.0;
    b(2, 2) = 1.0;
    b(3, 3) = 1.0;
    std::vector<double> evl(3), w(6);
    Dense x(3, 3);
    double tol = 1.0e-10;
    std::int32_t ierr = 0;
    GENHQL(a.data(), b.data(), evl.data(), x.data(), w.data(), tol, 3, 3, 1, kUnit, ierr);
    EXPECT_EQ(ierr, -2);
    EXPECT_EQ(log.text, "\n\n\n *** ERROR RETURN from  L I N  LIBRARY routine FACHOL\n"
                        "\n     Matrix is not pos.def.  (eqn.    2 )\n"
                        "\n\n\n *** ERROR RETURN from  L I N  LIBRARY routine GENHQL\n"
                        "     Matrix B is not pos.definite\n");

    log.text.clear();
    GENHQL(a.data(), b.data(), evl.data(), x.data(), w.data(), tol, 0, 0, 1, kUnit, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(log.text, "\n\n\n *** ERROR RETURN from  L I N  LIBRARY routine GENHQL\n"
                        "     Illegal matrix dimension:  N =     0\n");
}

TEST(Fachol, CodesAndTolerance)
{
    Capture log;
    auto run = [](Dense m, double& tol, std::int32_t lunit) {
        std::int32_t ierr = 0;
        FACHOL(m.data(), tol, m.rows, lunit, ierr);
        return ierr;
    };
    // Nearly singular: the reduced second pivot is 1e-12 of the stored one.
    Dense near(2, 2);
    near(1, 1) = 1.0;
    near(1, 2) = near(2, 1) = 1.0;
    near(2, 2) = 1.0 + 1e-12;
    double tol = 1.0e-10;
    EXPECT_EQ(run(near, tol, kUnit), -3);
    EXPECT_EQ(log.text, "\n\n\n *** ERROR RETURN from  L I N  LIBRARY routine FACHOL\n"
                        "\n     Singular or near-singular matrix  (eqn.    2 )\n");
    tol = 0.0; // any positive pivot goes
    EXPECT_EQ(run(near, tol, 0), 0);
    tol = -5.0;
    EXPECT_EQ(run(near, tol, 0), -3);
    EXPECT_EQ(tol, 1.0e-10);

    // A non-positive stored diagonal fails before any elimination.
    Dense zeroDiag = test::identity(3);
    zeroDiag(3, 3) = 0.0;
    tol = 0.0;
    log.text.clear();
    EXPECT_EQ(run(zeroDiag, tol, kUnit), -2);
    EXPECT_NE(log.text.find("(eqn.    3 )"), std::string::npos);
    Dense negFirst = test::identity(2);
    negFirst(1, 1) = -1.0;
    EXPECT_EQ(run(negFirst, tol, 0), -2);
    EXPECT_EQ(run(Dense(0, 0), tol, 0), -1);

    // The factor itself: U^T U = A.
    std::mt19937 rng(3);
    const Dense a = test::randomSpd(6, rng);
    Dense u = a;
    tol = 1.0e-10;
    ASSERT_EQ(run(a, tol, 0), 0);
    std::int32_t ierr = 0;
    FACHOL(u.data(), tol, 6, 0, ierr);
    for (int j = 1; j <= 6; ++j)
        for (int i = j + 1; i <= 6; ++i)
            u(i, j) = 0.0;
    EXPECT_LT(test::maxAbsDiff(test::multiply(test::transpose(u), u), a), 1e-12);
}

TEST(Tridiagonal, SecondDifferenceMatrix)
{
    const int n = 10;
    std::vector<double> d(n, 2.0), e(n, -1.0), dv(n, 2.0), ev(n, -1.0);
    e[0] = ev[0] = 0.0;
    Dense z(n, n);
    std::int32_t ierr = 0;
    QLS3DG(d.data(), e.data(), n, 0, ierr);
    ASSERT_EQ(ierr, 0);
    QLS3DV(dv.data(), ev.data(), z.data(), n, 0, ierr);
    ASSERT_EQ(ierr, 0);
    std::vector<double> exact(n);
    for (int k = 1; k <= n; ++k)
        exact[k - 1] = 2.0 - 2.0 * std::cos(k * std::numbers::pi / (n + 1));
    std::vector<double> sorted = d;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_LT(test::maxAbsDiff(sorted, exact), 1e-13);
    EXPECT_LT(test::maxAbsDiff(dv, d), 1e-13);
    EXPECT_LT(test::maxAbsDiff(test::multiply(test::transpose(z), z), test::identity(n)), 1e-13);
    Dense t(n, n);
    for (int i = 1; i <= n; ++i) {
        t(i, i) = 2.0;
        if (i > 1)
            t(i, i - 1) = t(i - 1, i) = -1.0;
    }
    const Dense tz = test::multiply(t, z);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= n; ++i)
            EXPECT_NEAR(tz(i, j), dv[j - 1] * z(i, j), 1e-13);
}

TEST(Tridiagonal, DiagonalInputAndFailure)
{
    // Already diagonal: the values come back in row order, Z = I.
    std::vector<double> d{3.0, -1.0, 2.0}, e(3, 0.0);
    Dense z(3, 3);
    std::int32_t ierr = 0;
    QLS3DV(d.data(), e.data(), z.data(), 3, 0, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(d, (std::vector<double>{3.0, -1.0, 2.0}));
    EXPECT_EQ(z.v, test::identity(3).v);

    // A value that never converges stops after 30 iterations.
    Capture log;
    std::vector<double> bad{1.0, std::numeric_limits<double>::quiet_NaN(), 2.0, 1.0};
    std::vector<double> be{0.0, 1.0, 1.0, 1.0};
    QLS3DG(bad.data(), be.data(), 4, kUnit, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(log.text, "\n\n\n *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE QLS3D\n"
                        "     ONLY    0  OF    4  EIGENVALUES HAVE CONVERGED\n");
    log.text.clear();
    bad = {1.0, std::numeric_limits<double>::quiet_NaN(), 2.0, 1.0};
    be = {0.0, 1.0, 1.0, 1.0};
    Dense z4(4, 4);
    QLS3DV(bad.data(), be.data(), z4.data(), 4, kUnit, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_NE(log.text.find("ROUTINE QLS3DV\n"), std::string::npos);
}

TEST(Tridiagonal, HouseholderMatchesTextbookReduction)
{
    std::mt19937 rng(5);
    for (int n : {3, 4, 8}) {
        const Dense c0 = test::randomSymmetric(n, rng);
        // Textbook: C := P C P with P = I - 2 v v^T / v^T v, column by column.
        Dense t = c0;
        for (int k = 1; k <= n - 2; ++k) {
            double s = 0.0;
            for (int i = k + 1; i <= n; ++i)
                s += t(i, k) * t(i, k);
            const double alpha = -(t(k + 1, k) < 0 ? -1.0 : 1.0) * std::sqrt(s);
            std::vector<double> v(n + 1, 0.0);
            for (int i = k + 1; i <= n; ++i)
                v[i] = t(i, k);
            v[k + 1] -= alpha;
            double vv = 0.0;
            for (double x : v)
                vv += x * x;
            Dense p = test::identity(n);
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j)
                    p(i, j) -= 2.0 * v[i] * v[j] / vv;
            t = test::multiply(p, test::multiply(t, p));
        }
        Dense c = c0;
        std::vector<double> d(n), e(n), w(n);
        HHTRID(c.data(), d.data(), e.data(), w.data(), n);
        EXPECT_EQ(e[0], 0.0);
        for (int i = 1; i <= n; ++i) {
            EXPECT_NEAR(d[i - 1], t(i, i), 1e-13) << n;
            EXPECT_EQ(c(i, i), c0(i, i));
            if (i > 1) {
                EXPECT_NEAR(std::abs(e[i - 1]), std::abs(t(i, i - 1)), 1e-13) << n;
            }
        }
    }
}

TEST(Sorting, ExtremeIndexAndSorts)
{
    const std::vector<double> v{-3.0, 1.0, -1.0};
    EXPECT_EQ(IXEXTR(v.data(), 1, 3, 1), 1);
    EXPECT_EQ(IXEXTR(v.data(), 1, 3, 2), 2); // first of the equal absolute values
    EXPECT_EQ(IXEXTR(v.data(), 1, 3, 3), 2);
    EXPECT_EQ(IXEXTR(v.data(), 1, 3, 4), 1);
    EXPECT_EQ(IXEXTR(v.data(), 2, 3, 1), 3);
    EXPECT_EQ(IXEXTR(v.data(), 3, 3, 4), 3);
    EXPECT_EQ(IXEXTR(v.data(), 3, 2, 1), 0);
    EXPECT_EQ(IXEXTR(v.data(), 1, 3, 5), 0);

    std::vector<double> s{2.0, -5.0, 1.0, -0.5};
    EIGSR1(s.data(), 4, 4);
    EXPECT_EQ(s, (std::vector<double>{-5.0, 2.0, 1.0, -0.5}));
    EIGSR1(s.data(), 4, 7);
    EXPECT_EQ(s, (std::vector<double>{-5.0, 2.0, 1.0, -0.5}));

    // Values carry their columns; only the first two places are filled.
    std::vector<double> vals{3.0, 1.0, 2.0};
    std::vector<double> vecs{3, 3, 3, 1, 1, 1, 2, 2, 2};
    EIGSRT(vals.data(), vecs.data(), 3, 3, 1, 1);
    EXPECT_EQ(vals, (std::vector<double>{1.0, 3.0, 2.0}));
    EXPECT_EQ(vecs, (std::vector<double>{1, 1, 1, 3, 3, 3, 2, 2, 2}));
}

TEST(Ranvec, GoldenSequenceAndDegenerateSeeds)
{
    double seed = kEigenSeed;
    std::vector<double> x(6);
    RANVEC(x.data(), seed, 6);
    const std::vector<double> golden{-0.459736869887724,   -0.47736684109729843, -0.20201498367977688,
                                     -0.19832439480991226, -0.4445724038803416,  0.2940770381990925};
    EXPECT_EQ(x, golden);
    EXPECT_EQ(seed, golden.back());

    // The seed carries on from call to call.
    seed = kEigenSeed;
    std::vector<double> y(3);
    RANVEC(y.data(), seed, 3);
    EXPECT_EQ(y, (std::vector<double>{0.080526260224552, 0.16149286191742185, -0.30668518324017313}));
    RANVEC(y.data(), seed, 3);
    EXPECT_EQ(y, (std::vector<double>{0.1351933873019524, 0.0924173233919019, -0.15301277902554045}));

    // Zero, underflowing and non-finite seeds restart from the same value.
    std::vector<double> ref(4);
    double s0 = 0.0;
    RANVEC(ref.data(), s0, 4);
    for (double bad : {1.0e-300, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        std::vector<double> z(4);
        double s = bad;
        RANVEC(z.data(), s, 4);
        EXPECT_EQ(z, ref) << bad;
    }
    for (double v : ref) {
        EXPECT_GT(v, -0.5);
        EXPECT_LE(v, 0.5);
    }
}

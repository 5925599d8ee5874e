// Matrix products, the eigensolver operators and the dense expansion of
// the sparse storage, against dense products and the skyline operators.
#include "tests/solvika/sparse_model.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/fwrite.h"
#include "solver/linalg/skyline.h"
#include "solver/linalg/sparse_common.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace solvika::test {
namespace {

struct Pair {
    SpxSystem s;
    Dense a, b;               // dense matrices in factor order
    std::vector<double> bsm;  // B laid out like SM
};

std::unique_ptr<Pair> makePair(unsigned seed)
{
    auto p = std::make_unique<Pair>();
    p->s.model = gridModel(5, 4, 2);
    for (int k = 1; k <= 2; ++k)
        p->s.model.msc[p->s.model.dof(1, k) - 1] = 0;
    EXPECT_EQ(p->s.setup(true), 0);
    std::mt19937 rng(seed);
    const auto ka = elementMatrices(p->s, rng, true);
    const auto kb = elementMatrices(p->s, rng, true);
    for (int e = 1; e <= int(kb.size()); ++e)
        EXPECT_EQ(p->s.add(e, kb[e - 1]), 0);
    p->bsm = p->s.SM;
    std::fill(p->s.SM.begin(), p->s.SM.end(), 0.0);
    for (int e = 1; e <= int(ka.size()); ++e)
        EXPECT_EQ(p->s.add(e, ka[e - 1]), 0);
    p->a = denseSystem(p->s, ka);
    p->b = denseSystem(p->s, kb);
    return p;
}

std::vector<double> mul(const Dense& a, const std::vector<double>& x)
{
    std::vector<double> y(a.rows, 0.0);
    for (int j = 1; j <= a.cols; ++j)
        for (int i = 1; i <= a.rows; ++i)
            y[i - 1] += a(i, j) * x[j - 1];
    return y;
}

Dense triangle(const Dense& a, bool lower)
{
    Dense t = a;
    for (int j = 1; j <= a.cols; ++j)
        for (int i = 1; i <= a.rows; ++i)
            if (lower ? i < j : i > j)
                t(i, j) = 0.0;
    return t;
}

Dense denseCholesky(const Dense& a)
{
    const int n = a.rows;
    Dense l(n, n);
    for (int j = 1; j <= n; ++j) {
        double d = a(j, j);
        for (int k = 1; k < j; ++k)
            d -= l(j, k) * l(j, k);
        l(j, j) = std::sqrt(d);
        for (int i = j + 1; i <= n; ++i) {
            double v = a(i, j);
            for (int k = 1; k < j; ++k)
                v -= l(i, k) * l(j, k);
            l(i, j) = v / l(j, j);
        }
    }
    return l;
}

Dense lowerInverse(const Dense& l)
{
    const int n = l.rows;
    Dense x = identity(n);
    for (int c = 1; c <= n; ++c)
        for (int i = 1; i <= n; ++i) {
            double v = x(i, c);
            for (int k = 1; k < i; ++k)
                v -= l(i, k) * x(k, c);
            x(i, c) = v / l(i, i);
        }
    return x;
}

std::vector<double> randomVector(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<double> v(n);
    for (double& x : v)
        x = std::uniform_real_distribution<double>(-1, 1)(rng);
    return v;
}

TEST(SparseProducts, SymmetricAndTriangularProducts)
{
    auto p = makePair(21);
    SpxSystem& s = p->s;
    const int n = s.neq(), ldb = n + 1;
    const double* A = s.SM.data() + n;
    std::vector<double> x(2 * std::size_t(ldb)), y(2 * std::size_t(ldb), 7.0), w(n);
    const auto x1 = randomVector(n, 1), x2 = randomVector(n, 2);
    std::copy(x1.begin(), x1.end(), x.begin());
    std::copy(x2.begin(), x2.end(), x.begin() + ldb);
    std::vector<double> diag(n);
    for (int i = 0; i < n; ++i)
        diag[i] = 1.0 + i;
    Dense dd(n, n);
    for (int i = 1; i <= n; ++i)
        dd(i, i) = diag[i - 1];
    for (int kstor : {1, 0}) {
        const double* mat = kstor > 0 ? A : diag.data();
        const Dense& ref = kstor > 0 ? p->a : dd;
        SCOPED_TRACE(kstor);
        // Option 1 and -1 on two vectors.
        for (int opt : {1, -1}) {
            SPRPRM(mat, x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), ldb, 2, kstor, opt, 0, s.ierr);
            ASSERT_EQ(s.ierr, 0);
            auto r1 = mul(ref, x1), r2 = mul(ref, x2);
            for (int i = 0; i < n; ++i) {
                EXPECT_NEAR(y[i], opt * r1[i], 1e-12);
                EXPECT_NEAR(y[ldb + i], opt * r2[i], 1e-12);
            }
            EXPECT_EQ(y[n], 7.0);
        }
        // Options 2 and -2 add to and subtract from the work vector.
        std::vector<double> w0 = randomVector(n, 3);
        auto r1 = mul(ref, x1);
        for (int opt : {2, -2}) {
            w = w0;
            SPRPRM(mat, x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), ldb, 1, kstor, opt, 0, s.ierr);
            for (int i = 0; i < n; ++i)
                EXPECT_NEAR(y[i], w0[i] + (opt / 2) * r1[i], 1e-12);
        }
        // Option 88 with one vector leaves the result in the work vector.
        std::vector<double> yy(n, 5.0);
        SPRPRM(mat, x.data(), yy.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), ldb, 1, kstor, 88, 0, s.ierr);
        EXPECT_EQ(yy, std::vector<double>(n, 5.0));
        EXPECT_LT(maxAbsDiff(w, r1), 1e-12);
        // Triangular products.
        for (int opt : {1, 2, 11, 22}) {
            std::fill(yy.begin(), yy.end(), 5.0);
            SPRTMM(mat, x.data(), yy.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), ldb, 1, kstor, opt, 0, s.ierr);
            ASSERT_EQ(s.ierr, 0);
            const auto want = mul(triangle(ref, opt == 2 || opt == 22), x1);
            EXPECT_LT(maxAbsDiff(w, want), 1e-12) << opt;
            if (opt < 10)
                EXPECT_EQ(yy, w);
            else
                EXPECT_EQ(yy, std::vector<double>(n, 5.0));
        }
    }
    // Dense expansion of a diagonal.
    Dense full(n + 2, n + 2);
    SPRCNV(diag.data(), full.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), n + 2, 2, 0, s.ierr);
    ASSERT_EQ(s.ierr, 0);
    for (int j = 1; j <= n + 2; ++j)
        for (int i = 1; i <= n + 2; ++i)
            EXPECT_EQ(full(i, j), i == j && i <= n ? diag[i - 1] : 0.0);
}

TEST(SparseProducts, IllegalArguments)
{
    auto p = makePair(22);
    SpxSystem& s = p->s;
    const int n = s.neq();
    std::vector<double> x(n, 1.0), y(n), w(n);
    std::string log;
    attachSink(10, &log);
    SPRPRM(s.SM.data() + n, x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), n, 2, 1, 88, 10, s.ierr);
    detachSink(10);
    EXPECT_EQ(s.ierr, -2);
    EXPECT_EQ(s.mspar(1), -9);
    EXPECT_EQ(log, fformat(Layout("/ / / ' *** ERROR RETURN FROM  L I N / SPX  LIBRARY ROUTINE : ' 'SPRPRM' "
                                  "/ 4X ' WITH ERROR FLAG : ' I4 / / 4X ' OPTION IFLAG IS SET TO AN ILLEGAL VALUE' "
                                  "/ 4X ' THE VALUE IS : ' I12 / 4X ' NUMBER OF COLUMNS IN RECTANGULAR MATRIX :' I12"),
                           {-2, 88, 2}));
    struct Bad {
        int routine, n, opt, nvec, ierr;
    };
    for (const Bad b : {Bad{1, n, 3, 1, -2}, Bad{1, n - 1, 1, 1, -3}, Bad{2, n, 11, 2, -2}, Bad{2, n - 1, 2, 1, -3},
                        Bad{3, n, 3, 1, -2}, Bad{3, n - 1, 1, 1, -3}}) {
        s.mspar(1) = 4;
        Dense full(n, n);
        if (b.routine == 1)
            SPRPRM(s.SM.data() + n, x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), b.n, b.nvec, 1, b.opt, 0, s.ierr);
        else if (b.routine == 2)
            SPRTMM(s.SM.data() + n, x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), b.n, b.nvec, 1, b.opt, 0, s.ierr);
        else
            SPRCNV(s.SM.data() + n, full.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), b.n, b.opt, 0, s.ierr);
        EXPECT_EQ(s.ierr, b.ierr) << b.routine << " " << b.opt;
    }
    // SPRSMM refuses a combination its IFLAG does not accept.
    log.clear();
    attachSink(10, &log);
    SPRSMM(s.SM.data(), p->bsm.data(), x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(),
           nullptr, n, 3, -1, 5, 10, s.ierr);
    detachSink(10);
    EXPECT_EQ(s.ierr, -1);
    EXPECT_EQ(log, "\n\n\n *** ERROR return from  L I N library routine  SPRSMM\n"
                   "     Illegal parameter(s) - IFLAG, KSA, KSB =     5    3   -1\n");
    // An IFLAG outside 1..6 does nothing.
    SPRSMM(s.SM.data(), p->bsm.data(), x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(),
           nullptr, n, 9, 9, 7, 10, s.ierr);
    EXPECT_EQ(s.ierr, 0);
}

// Skyline copy (full profile) of a dense symmetric matrix.
std::vector<double> skylineOf(const Dense& a, std::vector<I32>& msky)
{
    const int n = a.rows;
    msky.resize(n);
    std::vector<double> v;
    for (int c = 1; c <= n; ++c) {
        for (int r = 1; r <= c; ++r)
            v.push_back(a(r, c));
        msky[c - 1] = int(v.size());
    }
    return v;
}

TEST(SparseProducts, EigensolverOperatorsEqualDenseAndSkylineOperators)
{
    auto p = makePair(23);
    SpxSystem& s = p->s;
    const int n = s.neq();
    std::vector<double> bdiag(n);
    for (int i = 0; i < n; ++i)
        bdiag[i] = 0.5 + 0.1 * i;
    Dense bd(n, n);
    for (int i = 1; i <= n; ++i)
        bd(i, i) = bdiag[i - 1];

    // The factors, sparse and skyline.
    const auto sm0 = s.SM;
    auto iw = s.iwork();
    auto rw = s.rwork();
    double tol[3] = {1e-10, 0, 0};
    std::vector<double> ldl = sm0, chol = sm0;
    SPRFC1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), ldl.data(), tol, iw.data(), rw.data(), 0, s.ierr);
    ASSERT_EQ(s.ierr, 0);
    SPRFC2(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), chol.data(), tol, iw.data(), rw.data(), 0, s.ierr);
    ASSERT_EQ(s.ierr, 0);
    std::vector<I32> msky;
    std::vector<double> skyA = skylineOf(p->a, msky), skyB = skylineOf(p->b, msky);
    std::vector<double> skyLdl = skyA, skyChol = skyA;
    I32 ineg = 0, ieq = 0, ierr = 0;
    SKYSOL(skyLdl.data(), nullptr, msky.data(), 1e-10, n, n, 0, 0, 1, ineg, ierr);
    ASSERT_EQ(ierr, 0);
    FACSKY(skyChol.data(), msky.data(), 1e-10, n, 0, ieq, ierr);
    ASSERT_EQ(ierr, 0);

    const Dense ainv = [&] {
        Dense inv(n, n);
        for (int c = 1; c <= n; ++c) {
            std::vector<double> e(n, 0.0);
            e[c - 1] = 1.0;
            const auto col = solveDense(p->a, e);
            for (int i = 1; i <= n; ++i)
                inv(i, c) = col[i - 1];
        }
        return inv;
    }();
    const Dense linv = lowerInverse(denseCholesky(p->a));
    const auto x0 = randomVector(n, 8);
    for (int ksbKind : {0, 2}) {
        const Dense& bref = ksbKind == 2 ? bd : p->b;
        for (int iflag = 1; iflag <= 6; ++iflag) {
            SCOPED_TRACE(testing::Message() << "IFLAG " << iflag << " diagonal B " << (ksbKind == 2));
            const bool chol5 = iflag >= 5;
            const I32 ksa = chol5 ? 3 : 2;
            const I32 ksb = ksbKind == 2 ? (chol5 ? 2 : -2) : 0;
            Dense op;
            if (iflag <= 2)
                op = multiply(ainv, triangle(bref, true));
            else if (iflag <= 4)
                op = multiply(triangle(bref, false), multiply(ainv, triangle(bref, true)));
            else
                op = multiply(linv, multiply(bref, transpose(linv)));
            const auto want = mul(op, x0);
            std::vector<double> x = x0, y(n, 0.0), w(n, 0.0);
            const double* bm = ksbKind == 2 ? bdiag.data() : p->bsm.data();
            SPRSMM(chol5 ? chol.data() : ldl.data(), bm, x.data(), y.data(), w.data(), s.MSPAR.data(),
                   s.MTREES.data(), s.MSIFA.data(), iw.data(), n, ksa, ksb, iflag, 0, s.ierr);
            ASSERT_EQ(s.ierr, 0);
            const auto& got = (iflag % 2 == 1) ? x : y;
            EXPECT_LT(maxAbsDiff(got, want), 1e-10);
            // The skyline operator on the same matrices.
            std::vector<double> xs = x0, ys(n, 0.0), zs(n, 0.0);
            SPSMM(chol5 ? skyChol.data() : skyLdl.data(), ksbKind == 2 ? bdiag.data() : skyB.data(), xs.data(),
                  ys.data(), zs.data(), msky.data(), n, ksa, ksb, iflag, 0, ierr);
            ASSERT_EQ(ierr, 0);
            EXPECT_LT(maxAbsDiff(got, (iflag % 2 == 1) ? xs : ys), 1e-10);
        }
    }

    // The buckling operator's eigenvalues are the reciprocals of those of
    // A x = lambda B x.
    Dense op(n, n);
    for (int c = 1; c <= n; ++c) {
        std::vector<double> x(n, 0.0), y(n), w(n);
        x[c - 1] = 1.0;
        SPRSMM(chol.data(), p->bsm.data(), x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(),
               s.MSIFA.data(), iw.data(), n, 3, 0, 5, 0, s.ierr);
        for (int i = 1; i <= n; ++i)
            op(i, c) = x[i - 1];
    }
    auto mu = symEigen(op);
    const Dense lbinv = lowerInverse(denseCholesky(p->b));
    auto lambda = symEigen(multiply(lbinv, multiply(p->a, transpose(lbinv))));
    std::vector<double> recip;
    for (double l : lambda)
        recip.push_back(1.0 / l);
    std::sort(recip.begin(), recip.end());
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(mu[i], recip[i], 1e-9 * std::fabs(recip.back()));
}

// The buckling operator L^-1 B L^-T on a grid whose supernodes are several
// columns wide, with a B that has nonzeros on the first DOF of each node
// only (as the geometric stiffness of a plate): over B's own nonzeros it
// gives SPRSMM's result to the last bit, and both equal the dense operator;
// so does the skyline operator over B's nonzeros, to rounding.
TEST(SparseProducts, BucklingOperatorOverTheNonzerosOfB)
{
    SpxSystem s;
    s.model = gridModel(9, 8, 3);
    for (int k = 1; k <= 3; ++k)
        s.model.msc[s.model.dof(1, k) - 1] = 0;
    ASSERT_EQ(s.setup(true), 0);
    std::mt19937 rng(41);
    const auto ka = elementMatrices(s, rng, true);
    auto kb = elementMatrices(s, rng, true);
    for (Dense& m : kb)
        for (int j = 1; j <= m.cols; ++j)
            for (int i = 1; i <= m.rows; ++i)
                if ((i - 1) % 3 != 0 || (j - 1) % 3 != 0)
                    m(i, j) = 0.0;
    for (int e = 1; e <= int(kb.size()); ++e)
        ASSERT_EQ(s.add(e, kb[e - 1]), 0);
    const std::vector<double> bsm = s.SM;
    std::fill(s.SM.begin(), s.SM.end(), 0.0);
    for (int e = 1; e <= int(ka.size()); ++e)
        ASSERT_EQ(s.add(e, ka[e - 1]), 0);
    const int n = s.neq();
    const Dense a = denseSystem(s, ka), b = denseSystem(s, kb);

    auto iw = s.iwork();
    auto rw = s.rwork();
    double tol[3] = {1e-10, 0, 0};
    std::vector<double> chol = s.SM;
    SPRFC2(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), chol.data(), tol, iw.data(), rw.data(), 0, s.ierr);
    ASSERT_EQ(s.ierr, 0);
    // Supernodes of four columns and more take the blocked paths.
    I32 widest = 0;
    for (I32 k = 0; k < s.MSPAR[10]; ++k)
        widest = std::max(widest, s.MTREES[k + 1] - s.MTREES[k]);
    EXPECT_GE(widest, 4);

    const spx::PackedNonzeros nonzeros =
        spx::packNonzeros(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), bsm.data() + n);
    EXPECT_LT(nonzeros.value.size(), std::size_t(s.MSPAR[15]) / 4);
    const Dense linv = lowerInverse(denseCholesky(a));
    const Dense op = multiply(linv, multiply(b, transpose(linv)));
    for (I32 iflag : {5, 6}) {
        SCOPED_TRACE(testing::Message() << "IFLAG " << iflag);
        const auto x0 = randomVector(n, 17);
        std::vector<double> x = x0, y(n, 0.0), w(n, 0.0);
        SPRSMM(chol.data(), bsm.data(), x.data(), y.data(), w.data(), s.MSPAR.data(), s.MTREES.data(),
               s.MSIFA.data(), iw.data(), n, 3, 1, iflag, 0, s.ierr);
        ASSERT_EQ(s.ierr, 0);
        std::vector<double> xn = x0, yn(n, 0.0), wn(n, 0.0);
        spx::operatorProduct(chol.data(), bsm.data(), xn.data(), yn.data(), wn.data(), s.MSPAR.data(),
                             s.MTREES.data(), s.MSIFA.data(), iw.data(), n, 3, 1, iflag, 0, s.ierr, &nonzeros);
        ASSERT_EQ(s.ierr, 0);
        const auto& got = iflag == 5 ? x : y;
        EXPECT_EQ(got, iflag == 5 ? xn : yn);
        EXPECT_LT(maxAbsDiff(got, mul(op, x0)), 1e-10);
    }

    // The skyline operator over the nonzeros of B in a full profile.
    std::vector<I32> msky;
    std::vector<double> skyChol = skylineOf(a, msky);
    const std::vector<double> skyB = skylineOf(b, msky);
    I32 ieq = 0, ierr = 0;
    FACSKY(skyChol.data(), msky.data(), 1e-10, n, 0, ieq, ierr);
    ASSERT_EQ(ierr, 0);
    const detail::SkylineNonzeros skyNonzeros = detail::skylineNonzeros(skyB.data(), msky.data(), n);
    EXPECT_LT(skyNonzeros.value.size(), skyB.size() / 4);
    for (I32 iflag : {5, 6}) {
        SCOPED_TRACE(testing::Message() << "skyline IFLAG " << iflag);
        const auto x0 = randomVector(n, 19);
        std::vector<double> x = x0, y(n, 0.0), z(n, 0.0);
        SPSMM(skyChol.data(), skyB.data(), x.data(), y.data(), z.data(), msky.data(), n, 3, 1, iflag, 0, ierr);
        ASSERT_EQ(ierr, 0);
        std::vector<double> xn = x0, yn(n, 0.0), zn(n, 0.0);
        detail::skylineOperator(skyChol.data(), skyB.data(), xn.data(), yn.data(), zn.data(), msky.data(), n, 3, 1,
                                iflag, 0, ierr, &skyNonzeros);
        ASSERT_EQ(ierr, 0);
        const auto& got = iflag == 5 ? xn : yn;
        EXPECT_LT(maxAbsDiff(got, iflag == 5 ? x : y), 1e-12);
        EXPECT_LT(maxAbsDiff(got, mul(op, x0)), 1e-10);
    }
}

} // namespace
} // namespace solvika::test

// Element addition, factorisation and substitution of the sparse solver
// against dense references.
#include "tests/solvika/sparse_model.h"
#include "solver/linalg/fwrite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace solvika::test {
namespace {

// A grid with supports, prescribed values and couplings (two prescribed
// rows so that the multi-column right-hand side can be checked).
SpxModel plate(int nx, int ny, int dofs)
{
    SpxModel m = gridModel(nx, ny, dofs);
    for (int k = 1; k <= dofs; ++k)
        m.msc[m.dof(1, k) - 1] = 0;
    m.msc[m.dof(2, 1) - 1] = 0;
    m.cons.push_back({m.dof(2, 1), 0.5, {}});
    m.msc[m.dof(nx, 1) - 1] = 0;
    m.cons.push_back({m.dof(nx, 1), -0.25, {}});
    const int last = nx * ny;
    m.msc[m.dof(last, 1) - 1] = 0;
    m.cons.push_back({m.dof(last, 1), 0.1, {{m.dof(3, 1), 0.5}, {m.dof(nx + 2, dofs), -2.0}}});
    // A master that is also a DOF of the same element as its slave.
    m.msc[m.dof(last - 1, 1) - 1] = 0;
    m.cons.push_back({m.dof(last - 1, 1), 0.0, {{m.dof(last - 2, 1), 1.5}}});
    return m;
}

struct Assembled {
    SpxSystem s;
    std::vector<Dense> ek;
    Dense a;  // dense T^T K T in factor order
};

void assemble(Assembled& x, int nsv = 0, double* rhs = nullptr)
{
    for (int e = 1; e <= int(x.ek.size()); ++e)
        ASSERT_EQ(x.s.add(e, x.ek[e - 1], nsv, rhs), 0);
}

std::unique_ptr<Assembled> build(SpxModel m, bool reorder, bool spd, unsigned seed)
{
    auto x = std::make_unique<Assembled>();
    x->s.model = std::move(m);
    EXPECT_EQ(x->s.setup(reorder), 0) << "step " << x->s.failedStep;
    std::mt19937 rng(seed);
    x->ek = elementMatrices(x->s, rng, spd);
    if (!spd) {
        // Indefinite but with pivots well away from zero.
        for (auto& e : x->ek)
            for (int i = 1; i <= e.rows; ++i)
                e(i, i) += (i % 2 ? 4.0 : -4.0);
    }
    x->a = denseSystem(x->s, x->ek);
    return x;
}

double relDiff(const Dense& a, const Dense& b)
{
    double m = 0.0, n = 0.0;
    for (std::size_t i = 0; i < a.v.size(); ++i) {
        m = std::max(m, std::fabs(a.v[i] - b.v[i]));
        n = std::max(n, std::fabs(b.v[i]));
    }
    return m / n;
}

// L (unit lower, or with the Cholesky diagonal) from the factored SM.
Dense lowerFactor(SpxSystem& s)
{
    Dense f = expand(s, s.SM.data() + s.neq());
    const int n = s.neq();
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i < j; ++i)
            f(i, j) = 0.0;
    return f;
}

TEST(SparseFactor, SpradmAssemblesTheCongruence)
{
    for (bool reorder : {false, true}) {
        auto x = build(plate(5, 4, 3), reorder, false, 11);
        assemble(*x);
        EXPECT_LT(relDiff(expand(x->s, x->s.SM.data() + x->s.neq()), x->a), 1e-14);
    }
}

TEST(SparseFactor, SpradmRightHandSidesOfConstantTerms)
{
    auto x = build(plate(4, 4, 2), true, true, 3);
    SpxSystem& s = x->s;
    const int n = s.neq(), ndof = s.model.ndof();
    const Dense k = denseDofMatrix(s, x->ek);
    const Dense t = s.transformation();
    auto loadOf = [&](bool prescribedOnly, int which) {
        // -T^T K u0 with u0 the constant terms (one prescribed row, or all).
        std::vector<double> u0(ndof, 0.0);
        int q = 0;
        for (auto& c : s.model.cons) {
            const bool pre = c.masters.empty();
            if (pre)
                ++q;
            if (prescribedOnly && (!pre || q != which))
                continue;
            u0[c.slave - 1] = c.c0;
        }
        std::vector<double> r(n, 0.0);
        for (int e = 1; e <= n; ++e)
            for (int i = 1; i <= ndof; ++i)
                for (int j = 1; j <= ndof; ++j)
                    r[e - 1] -= t(i, e) * k(i, j) * u0[j - 1];
        return r;
    };
    // NSV = 1: matrix and all constant terms; NSV = -1: the loads only.
    std::vector<double> r1(n, 0.0), rm(n, 0.0);
    assemble(*x, 1, r1.data());
    EXPECT_LT(maxAbsDiff(r1, loadOf(false, 0)), 1e-12);
    EXPECT_LT(relDiff(expand(s, s.SM.data() + n), x->a), 1e-14);
    std::fill(s.SM.begin(), s.SM.end(), 0.0);
    assemble(*x, -1, rm.data());
    EXPECT_LT(maxAbsDiff(rm, r1), 1e-14);
    EXPECT_TRUE(std::all_of(s.SM.begin(), s.SM.end(), [](double v) { return v == 0.0; }));
    // NSV = -MPAR(9): one column per prescribed row.
    ASSERT_EQ(s.MPAR[8], 2);
    std::vector<double> r2(2 * std::size_t(n), 0.0);
    assemble(*x, -2, r2.data());
    for (int q = 1; q <= 2; ++q) {
        const auto want = loadOf(true, q);
        EXPECT_LT(maxAbsDiff(std::vector<double>(r2.begin() + (q - 1) * n, r2.begin() + q * n), want), 1e-12);
    }
    // An illegal selector is refused.
    EXPECT_EQ(s.add(1, x->ek[0], 3, r1.data()), -2);
    EXPECT_EQ(s.add(0, x->ek[0], 0, r1.data()), -1);
}

TEST(SparseFactor, LdltEqualsTheDenseMatrix)
{
    struct Case {
        int nx, ny, dofs;
        bool reorder, spd;
    };
    for (const Case c : {Case{5, 4, 3, true, true}, Case{6, 5, 2, false, true}, Case{5, 5, 3, true, false},
                         Case{8, 3, 1, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.nx << "x" << c.ny << " spd " << c.spd << " mmd " << c.reorder);
        auto x = build(plate(c.nx, c.ny, c.dofs), c.reorder, c.spd, 7);
        SpxSystem& s = x->s;
        assemble(*x);
        const int n = s.neq();
        auto iw = s.iwork();
        auto rw = s.rwork();
        double tol[3] = {1e-10, -1, -1};
        SPRFC1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 0, s.ierr);
        ASSERT_EQ(s.ierr, 0);
        EXPECT_EQ(s.mspar(1), 6);
        Dense l = lowerFactor(s);
        std::vector<double> d(s.SM.begin(), s.SM.begin() + n);
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(l(i, i), d[i - 1]);
            l(i, i) = 1.0;
        }
        Dense ld = l;
        for (int j = 1; j <= n; ++j)
            for (int i = 1; i <= n; ++i)
                ld(i, j) *= d[j - 1];
        EXPECT_LT(relDiff(multiply(ld, transpose(l)), x->a), 1e-12);
        // Negative pivots = negative eigenvalues (inertia).
        const auto ev = symEigen(x->a);
        const int neg = int(std::count_if(ev.begin(), ev.end(), [](double v) { return v < 0; }));
        EXPECT_EQ(s.mspar(26), neg);
        if (!c.spd) {
            EXPECT_GT(neg, 0);
        }
        // TOL(2) = 1 / max(a_ii / d_i); TOL(3) = sum a_ii / min d_i.
        double mx = 0, sum = 0, mn = d[0];
        for (int i = 1; i <= n; ++i) {
            mx = std::max(mx, x->a(i, i) / d[i - 1]);
            sum += x->a(i, i);
            mn = std::min(mn, d[i - 1]);
        }
        EXPECT_NEAR(tol[1], 1.0 / mx, 1e-12 * std::fabs(1.0 / mx));
        EXPECT_NEAR(tol[2], sum / mn, 1e-10 * std::fabs(sum / mn));

        // Several right-hand sides against a dense solve.
        const int nrhs = 3, ldb = n + 2;
        std::mt19937 rng(5);
        std::vector<double> b(std::size_t(ldb) * nrhs);
        for (double& v : b)
            v = std::uniform_real_distribution<double>(-1, 1)(rng);
        std::vector<double> x0 = b;
        SPRFS1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), ldb, nrhs, iw.data(), rw.data(), 0, s.ierr);
        ASSERT_EQ(s.ierr, 0);
        SPRBS1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), ldb, nrhs, iw.data(), rw.data(), 0, s.ierr);
        ASSERT_EQ(s.ierr, 0);
        EXPECT_EQ(s.mspar(1), 7);
        for (int r = 0; r < nrhs; ++r) {
            std::vector<double> rhs(x0.begin() + r * ldb, x0.begin() + r * ldb + n);
            const auto want = solveDense(x->a, rhs);
            std::vector<double> got(b.begin() + r * ldb, b.begin() + r * ldb + n);
            EXPECT_LT(maxAbsDiff(got, want), 1e-10 * (1 + *std::max_element(want.begin(), want.end())));
            EXPECT_EQ(b[r * ldb + n], x0[r * ldb + n]);  // beyond NEQ untouched
        }
    }
}

TEST(SparseFactor, CholeskyEqualsTheDenseMatrixAndStopsAtTheFirstNonPositivePivot)
{
    {
        auto x = build(plate(6, 4, 3), true, true, 9);
        SpxSystem& s = x->s;
        assemble(*x);
        auto iw = s.iwork();
        auto rw = s.rwork();
        double tol[3] = {1e-10, 0, 0};
        SPRFC2(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 0, s.ierr);
        ASSERT_EQ(s.ierr, 0);
        EXPECT_EQ(s.mspar(26), 0);
        const Dense l = lowerFactor(s);
        EXPECT_LT(relDiff(multiply(l, transpose(l)), x->a), 1e-12);
        // Forward and backward Cholesky substitutions.
        const int n = s.neq();
        std::vector<double> b(n), b0;
        for (int i = 0; i < n; ++i)
            b[i] = std::sin(i + 1.0);
        b0 = b;
        SPRFS2(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), n, 1, iw.data(), rw.data(), 0, s.ierr);
        SPRBS2(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), n, 1, iw.data(), rw.data(), 0, s.ierr);
        EXPECT_LT(maxAbsDiff(b, solveDense(x->a, b0)), 1e-10);
    }
    auto x = build(plate(5, 4, 2), true, false, 13);
    SpxSystem& s = x->s;
    assemble(*x);
    const auto d = denseLdlt(x->a);
    int firstBad = 0;
    for (int i = 1; i <= s.neq() && !firstBad; ++i)
        if (d[i - 1] <= 1e-10 * x->a(i, i))
            firstBad = i;
    ASSERT_GT(firstBad, 0);
    auto iw = s.iwork();
    auto rw = s.rwork();
    double tol[3] = {1e-10, 0, 0};
    SPRFC2(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 0, s.ierr);
    EXPECT_EQ(s.ierr, -3);
    EXPECT_EQ(s.mspar(27), firstBad);
}

TEST(SparseFactor, PivotAndWorkspaceFailures)
{
    // A DOF without stiffness: zero diagonal, reduced pivot 0.
    {
        auto x = build(plate(4, 3, 2), false, true, 1);
        SpxSystem& s = x->s;
        const int d = s.model.dof(5, 2);
        const int eq = s.MDOFEQ[d - 1];
        ASSERT_GT(eq, 0);
        for (int e = 1; e <= int(x->ek.size()); ++e) {
            const auto dofs = s.elementDofs(e);
            for (std::size_t k = 0; k < dofs.size(); ++k)
                if (dofs[k] == d)
                    for (int i = 1; i <= x->ek[e - 1].rows; ++i)
                        x->ek[e - 1](i, int(k) + 1) = x->ek[e - 1](int(k) + 1, i) = 0.0;
        }
        assemble(*x);
        auto iw = s.iwork();
        auto rw = s.rwork();
        double tol[3] = {1e-10, 0, 0};
        std::string log;
        attachSink(10, &log);
        SPRFC1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 10, s.ierr);
        detachSink(10);
        EXPECT_EQ(s.ierr, -3);
        EXPECT_EQ(s.mspar(27), eq);
        EXPECT_NE(log.find(" OCCURED IN EQUATION:"), std::string::npos) << log;
    }
    // Too little real work for the fronts: the first supernode whose front
    // does not fit below the stack is reported.
    auto x = build(plate(6, 6, 2), true, true, 2);
    SpxSystem& s = x->s;
    assemble(*x);
    const long long peak = s.mspar(17);
    s.mspar(17) = int(peak - 1);
    long long stack = 0;
    int want = 0;
    for (int q = 1; q <= s.nsup() && !want; ++q) {
        const long long r = s.rowsOf(q), c = s.first(q + 1) - s.first(q);
        if (stack + r * (r + 1) / 2 > peak - 1)
            want = s.first(q);
        for (I32 ch : s.children(q)) {
            const long long u = s.rowsOf(ch) - (s.first(ch + 1) - s.first(ch));
            stack -= u * (u + 1) / 2;
        }
        stack += (r - c) * (r - c + 1) / 2;
    }
    auto iw = s.iwork();
    auto rw = s.rwork();
    double tol[3] = {1e-10, 0, 0};
    std::string log;
    attachSink(10, &log);
    SPRFC1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 10, s.ierr);
    detachSink(10);
    EXPECT_EQ(s.ierr, -3);
    EXPECT_EQ(s.mspar(27), want);
    EXPECT_NE(log.find(" INSUFFICIENT REAL WORKSPACE"), std::string::npos) << log;
}

TEST(SparseFactor, SpringAtTheDiagonalPositionChangesOnlyThatEntry)
{
    auto x = build(plate(4, 4, 3), true, true, 4);
    SpxSystem& s = x->s;
    assemble(*x);
    std::vector<I32> diag(s.neq());
    SPRDG1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), diag.data(), 0, s.ierr);
    ASSERT_EQ(s.ierr, 0);
    EXPECT_EQ(s.mspar(1), 66);
    const Dense before = expand(s, s.SM.data() + s.neq());
    const int eq = s.neq() / 2;
    s.SM[diag[eq - 1] - 1] += 1234.5;
    Dense after = expand(s, s.SM.data() + s.neq());
    EXPECT_EQ(after(eq, eq), before(eq, eq) + 1234.5);
    after(eq, eq) = before(eq, eq);
    EXPECT_EQ(after.v, before.v);
    for (int e = 1; e <= s.neq(); ++e)
        EXPECT_EQ(s.SM[diag[e - 1] - 1], e == eq ? before(e, e) + 1234.5 : before(e, e));
}

TEST(SparseFactor, SubstitutionArgumentChecks)
{
    auto x = build(plate(4, 4, 2), false, true, 4);
    SpxSystem& s = x->s;
    assemble(*x);
    auto iw = s.iwork();
    auto rw = s.rwork();
    double tol[3] = {1e-10, 0, 0};
    SPRFC1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 0, s.ierr);
    std::vector<double> b(s.neq(), 1.0);
    // No right-hand side: nothing to do.
    SPRFS1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), s.neq(), 0, iw.data(), rw.data(), 10, s.ierr);
    EXPECT_EQ(s.ierr, 0);
    EXPECT_EQ(b, std::vector<double>(s.neq(), 1.0));
    std::string log;
    attachSink(10, &log);
    SPRFS1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), s.neq() - 1, 1, iw.data(), rw.data(), 10, s.ierr);
    detachSink(10);
    EXPECT_EQ(s.ierr, -2);
    const std::string want = fformat(Layout("/ ' *** ERROR from SPRFS1'")) + "\nLDB < NEQ " +
                             fformat(Layout("I8 I8"), {s.neq() - 1, s.neq()}) + "\n";
    EXPECT_EQ(log.substr(0, want.size()), want);
    EXPECT_EQ(s.mspar(1), -2);
}

TEST(SparseFactor, ShortControlArraysWriteTheirLines)
{
    auto x = build(plate(4, 4, 2), false, true, 4);
    SpxSystem& s = x->s;
    assemble(*x);
    const int nsup = s.nsup(), m15 = s.mspar(15), n = s.neq();
    auto iw = s.iwork();
    auto rw = s.rwork();
    double tol[3] = {1e-10, 0, 0};
    std::vector<double> b(n, 1.0);
    std::vector<I32> diag(n);
    const Layout len("/ A I8 I8 /");
    auto banner = [](const char* name, int ierr) {
        return fformat(Layout("/ / / ' *** ERROR RETURN FROM  L I N / SPX  LIBRARY ROUTINE : ' A / 4X ' WITH ERROR FLAG : ' I4 /"),
                       {name, ierr});
    };
    const std::string arrays36 = fformat(Layout("4X ' MTREES/MSIFA/SM, AND/OR IWORK/RWORK: NOT GREAT ENOUGH' /"));
    const std::string arrays37 = fformat(Layout("4X ' MTREES/MSIFA/SM/B, AND/OR IWORK/RWORK: NOT GREAT ENOUGH' /"));
    struct Case {
        const char* name;
        int m4, m3;
        std::string want;
        std::function<void()> run;
    };
    I32* M = s.MSPAR.data();
    const I32 *T = s.MTREES.data(), *F = s.MSIFA.data();
    const std::vector<Case> cases = {
        {"SPRFC1", 5, 4,
         fformat(Layout("/ ' *** ERROR from SPRFC1'")) + fformat(len, {"MTREES too small", 5, 4 * nsup + 4}) +
             fformat(len, {"MSIFA too small", 4, 2 * nsup + m15 + 2}) + banner("SPRFC1", -2) + arrays36,
         [&] { SPRFC1(M, T, F, s.SM.data(), tol, iw.data(), rw.data(), 10, s.ierr); }},
        {"SPRDG1", 4 * nsup + 4, 4,
         fformat(Layout("/ ' *** ERROR from SPRDG1'")) + fformat(len, {"MSIFA too small", 4, nsup + m15 + 2}) +
             banner("SPRDG1", -2) + arrays36,
         [&] { SPRDG1(M, T, F, diag.data(), 10, s.ierr); }},
        {"SPRBS1", 5, 2 * nsup + m15 + 2,
         fformat(Layout("/ ' *** ERROR FROM SPRBS1'")) + fformat(len, {"MTREES TOO SHORT", 5, 4 * nsup + 4}) +
             banner("SPRBS1", -2) + arrays37,
         [&] { SPRBS1(M, T, F, s.SM.data(), b.data(), n, 1, iw.data(), rw.data(), 10, s.ierr); }},
    };
    const I32 m4 = s.mspar(4), m3 = s.mspar(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s.mspar(1) = 4;
        s.mspar(4) = c.m4;
        s.mspar(3) = c.m3;
        std::string log;
        attachSink(10, &log);
        c.run();
        detachSink(10);
        EXPECT_EQ(s.ierr, -2);
        EXPECT_EQ(s.mspar(1), -2);
        EXPECT_EQ(log, c.want);
        s.mspar(4) = m4;
        s.mspar(3) = m3;
    }
}

TEST(SparseFactor, EveryRoutineRefusesAfterAFailure)
{
    auto x = build(plate(4, 4, 2), false, true, 4);
    SpxSystem& s = x->s;
    assemble(*x);
    s.mspar(1) = -4;
    const auto sm = s.SM;
    auto iw = s.iwork();
    auto rw = s.rwork();
    double tol[3] = {1e-10, 0, 0};
    std::vector<double> b(s.neq(), 1.0), w(s.neq()), y(s.neq());
    std::vector<I32> diag(s.neq(), 0);
    struct Call {
        const char* name;
        int phase;
        std::function<void()> run;
    };
    I32* M = s.MSPAR.data();
    const I32 *T = s.MTREES.data(), *F = s.MSIFA.data();
    std::vector<Call> calls = {
        {"SPRFC1", 6, [&] { SPRFC1(M, T, F, s.SM.data(), tol, iw.data(), rw.data(), 10, s.ierr); }},
        {"SPRFC2", 6, [&] { SPRFC2(M, T, F, s.SM.data(), tol, iw.data(), rw.data(), 10, s.ierr); }},
        {"SPRFS1", 7, [&] { SPRFS1(M, T, F, s.SM.data(), b.data(), s.neq(), 1, iw.data(), rw.data(), 10, s.ierr); }},
        {"SPRBS1", 7, [&] { SPRBS1(M, T, F, s.SM.data(), b.data(), s.neq(), 1, iw.data(), rw.data(), 10, s.ierr); }},
        {"SPRDG1", 66, [&] { SPRDG1(M, T, F, diag.data(), 10, s.ierr); }},
        {"SPRPRM", 9, [&] { SPRPRM(s.SM.data() + s.neq(), b.data(), y.data(), w.data(), M, T, F, s.neq(), 1, 1, 1, 10, s.ierr); }},
        {"SPRTMM", 10, [&] { SPRTMM(s.SM.data() + s.neq(), b.data(), y.data(), w.data(), M, T, F, s.neq(), 1, 1, 1, 10, s.ierr); }},
        {"SPRCNV", 11, [&] { SPRCNV(s.SM.data() + s.neq(), w.data(), M, T, F, 1, 1, 10, s.ierr); }},
        {"SPRADM", 0, [&] { s.lunit = 10; s.ierr = s.add(1, x->ek[0], 0); }},
    };
    for (auto& c : calls) {
        SCOPED_TRACE(c.name);
        std::string log;
        attachSink(10, &log);
        c.run();
        detachSink(10);
        EXPECT_EQ(s.ierr, -1);
        if (c.phase != 0) {
            EXPECT_EQ(s.mspar(1), -c.phase);
        }
        EXPECT_NE(log.find(" ERROR FROM PRECEEDING  L I N / SPX  ROUTINE IS NOT CLEARED"), std::string::npos) << log;
        EXPECT_EQ(s.SM, sm);
        EXPECT_EQ(b, std::vector<double>(s.neq(), 1.0));
        s.mspar(1) = -4;
    }
}

} // namespace
} // namespace solvika::test

namespace solvika::test {
namespace {

// Irregular topologies: random elements of 1 to 5 nodes over nodes with 1
// to 3 DOFs, some fixed, prescribed and coupled DOFs; minimum degree on.
TEST(SparseFactor, RandomTopologiesFactorExactly)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        SpxModel m;
        const int nn = pick(5, 40);
        for (int k = 0; k < nn; ++k)
            m.dofsPerNode.push_back(pick(1, 3));
        m.msc.assign(m.ndof(), 1);
        const int ne = pick(1, 2 * nn);
        for (int e = 0; e < ne; ++e) {
            std::vector<I32> nodes;
            const int len = pick(1, 5);
            while (int(nodes.size()) < len) {
                const int v = pick(1, nn);
                if (std::find(nodes.begin(), nodes.end(), v) == nodes.end())
                    nodes.push_back(v);
            }
            m.elems.push_back(nodes);
        }
        for (int v = 1; v <= nn; ++v) {  // every node carries stiffness
            bool used = false;
            for (auto& e : m.elems)
                used = used || std::find(e.begin(), e.end(), v) != e.end();
            if (!used)
                m.elems.push_back({v});
        }
        for (int d = 1; d <= m.ndof(); ++d)
            if (pick(0, 9) == 0)
                m.msc[d - 1] = 2;
        std::vector<char> isMaster(m.ndof() + 1, 0);
        for (int k = 0; k < 3; ++k) {
            const int slave = pick(1, m.ndof());
            if (m.msc[slave - 1] != 1 || isMaster[slave])
                continue;
            m.msc[slave - 1] = 0;
            Constraint c{slave, 0.25 * k, {}};
            for (int t = pick(0, 2); t > 0; --t) {
                const int md = pick(1, m.ndof());
                if (m.msc[md - 1] > 0 && md != slave) {
                    c.masters.push_back({md, 0.5 + t});
                    isMaster[md] = 1;
                }
            }
            m.cons.push_back(c);
        }
        auto x = build(m, pick(0, 1) == 1, true, seed);
        ASSERT_EQ(x->s.failedStep, 0);
        if (x->s.neq() == 0)
            continue;
        assemble(*x);
        SpxSystem& s = x->s;
        auto iw = s.iwork();
        auto rw = s.rwork();
        double tol[3] = {1e-10, 0, 0};
        SPRFC1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 0, s.ierr);
        ASSERT_EQ(s.ierr, 0);
        const int n = s.neq();
        std::vector<double> b(n), b0;
        for (int i = 0; i < n; ++i)
            b[i] = std::cos(i + 0.5);
        b0 = b;
        SPRFS1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), n, 1, iw.data(), rw.data(), 0, s.ierr);
        SPRBS1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), n, 1, iw.data(), rw.data(), 0, s.ierr);
        const auto want = solveDense(x->a, b0);
        double scale = 1.0;
        for (double v : want)
            scale = std::max(scale, std::fabs(v));
        EXPECT_LT(maxAbsDiff(b, want), 1e-9 * scale);
    }
}

} // namespace
} // namespace solvika::test

// Subspace iteration on skyline storage against the dense oracle.
#include "tests/solvika/eigen_problem.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using namespace solvika;
using namespace solvika::test;

namespace {

struct SitRun {
    std::vector<double> evl, rerr, evec, a, b;
    std::array<std::int32_t, 4> minf{};
    std::int32_t ierr = 0;
    std::int32_t niv = 0;
    double shift = 0.0;
    std::array<double, 2> tol{1.0e-8, 1.0e-8};
};

// MSSIT on the problem; B diagonal when `bdiag` is given. EVEC is filled
// with `start` when not empty.
SitRun mssit(const PencilProblem& p, std::array<std::int32_t, 6> mop, int neval, int niv, double shift = 0.0,
          int iprint = 0, const std::vector<double>& bdiag = {}, std::array<double, 2> tol = {1.0e-8, 1.0e-8},
          std::int64_t lrwa = -1)
{
    SitRun r;
    r.tol = tol;
    r.a = p.sa.a;
    r.b = bdiag.empty() ? p.sb.a : bdiag;
    r.niv = niv;
    const int k = std::max(niv, 1);
    r.evl.assign(k, -7.0);
    r.rerr.assign(k, -7.0);
    r.evec.assign(std::size_t(p.n) * k, 0.0);
    const std::int64_t need = std::max<std::int64_t>((3 * k + p.n) * std::int64_t(k + 1), 150);
    std::vector<double> rwa(lrwa < 0 ? need : lrwa);
    r.shift = shift;
    MSSIT(r.a.data(), r.b.data(), r.tol.data(), p.sa.msky.data(), mop.data(), r.minf.data(), r.evl.data(),
          r.rerr.data(), r.evec.data(), rwa.data(), std::int64_t(rwa.size()), r.shift, p.n, neval, r.niv, kEigenUnit,
          iprint, r.ierr);
    return r;
}

constexpr std::array<std::int32_t, 6> kBuckling{1, 1, -1, 40, 1, 0};

int buckNiv(int p)
{
    return p + int(std::lround(std::pow(double(p), 0.8))) + 6;
}

} // namespace

TEST(SubspaceIteration, SmallestMagnitudeEigenpairsMatchDense)
{
    std::mt19937 rng(21);
    const PencilProblem indef = bandedPencil(40, 4, false, rng);
    const PencilProblem posdef = bandedPencil(40, 4, true, rng);
    struct Case {
        const PencilProblem* p;
        std::array<std::int32_t, 6> mop;
        int neval;
    };
    const Case cases[] = {
        {&indef, kBuckling, 4},                // the buckling settings
        {&indef, {1, 1, 2, 40, 1, 1}, 3},      // standard start vectors, exclusion
        {&posdef, {1, 1, 1, 40, 2, 0}, 4},     // B positive definite
        {&posdef, {1, 1, 2, 40, 2, 1}, 2},
    };
    for (const Case& c : cases) {
        const int k = buckNiv(c.neval);
        const SitRun r = mssit(*c.p, c.mop, c.neval, k);
        ASSERT_EQ(r.ierr, 0) << c.mop[2] << c.mop[4];
        const std::vector<double> ref = pencilEigenvalues(c.p->a, c.p->b);
        ASSERT_GE(r.minf[0], c.neval);
        for (int i = 0; i < c.neval; ++i)
            EXPECT_NEAR(r.evl[i], ref[i], 1e-7 * std::abs(ref[i])) << i;
        const PairCheck pc = checkPairs(c.p->a, c.p->b, r.evl.data(), r.evec.data(), c.neval);
        EXPECT_LT(pc.residual, 1e-4);
        EXPECT_LT(pc.orthogonality, 1e-6);
        if (c.p == &posdef) {
            EXPECT_LT(pc.normalisation, 1e-10);
        }
        EXPECT_EQ(r.minf[1], 0);
        EXPECT_GE(r.minf[3], 1);
    }
    // Negative eigenvalues are among the smallest in magnitude.
    const std::vector<double> ref = pencilEigenvalues(indef.a, indef.b);
    EXPECT_TRUE(std::any_of(ref.begin(), ref.begin() + 4, [](double x) { return x < 0; }));
}

TEST(SubspaceIteration, ShiftReportsSylvesterCount)
{
    std::mt19937 rng(8);
    const PencilProblem p = bandedPencil(30, 3, true, rng);
    const std::vector<double> all = pencilEigenvalues(p.a, p.b);
    std::vector<double> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    const double shift = sorted[5] + 0.3 * (sorted[6] - sorted[5]);
    const SitRun r = mssit(p, {1, 1, 1, 60, 2, 1}, 3, 8, shift);
    ASSERT_EQ(r.ierr, 0);
    EXPECT_EQ(r.minf[1], countBelow(all, shift));
    const std::vector<double> ref = pencilEigenvalues(p.a, p.b, shift);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(r.evl[i], ref[i], 1e-7 * std::abs(ref[i]));
    // A holds the factor of A - shift B afterwards; KSA = -1 reuses it.
    SitRun again = r;
    std::array<std::int32_t, 6> mop{-1, 1, 1, 60, 2, 1};
    std::vector<double> rwa(1000);
    double s = 3.0;
    std::int32_t niv = 8;
    std::vector<double> b = p.sb.a;
    MSSIT(again.a.data(), b.data(), again.tol.data(), p.sa.msky.data(), mop.data(), again.minf.data(),
          again.evl.data(), again.rerr.data(), again.evec.data(), rwa.data(), 1000, s, p.n, 3, niv, 0, 0, again.ierr);
    EXPECT_EQ(again.ierr, 0);
    EXPECT_EQ(s, 0.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(again.evl[i], ref[i] - shift, 1e-7 * std::abs(ref[i]));
}

TEST(SubspaceIteration, DensePathForFewEquations)
{
    std::mt19937 rng(4);
    const PencilProblem p = bandedPencil(5, 2, false, rng);
    const SitRun r = mssit(p, kBuckling, 2, 9);
    ASSERT_EQ(r.ierr, 0);
    EXPECT_EQ(r.niv, 5);
    EXPECT_EQ(r.minf[0], 5);
    EXPECT_EQ(r.minf[3], 0);
    const std::vector<double> ref = pencilEigenvalues(p.a, p.b);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(r.evl[i], ref[i], 1e-10 * std::abs(ref[i]));
        EXPECT_EQ(r.rerr[i], 0.0);
    }
    const PairCheck pc = checkPairs(p.a, p.b, r.evl.data(), r.evec.data(), 5);
    EXPECT_LT(pc.residual, 1e-10);
    EXPECT_LT(pc.orthogonality, 1e-10);
    // Positive reduced eigenvalues give B-normalised vectors; the lifted
    // negative ones keep the lift in their scale.

    // A zero diagonal entry of B is an infinite eigenvalue: never finite.
    const PencilProblem q = bandedPencil(5, 1, false, rng);
    const std::vector<double> bdiag{2.0, 0.0, 1.0, -3.0, 0.5};
    const SitRun d = mssit(q, {1, 2, 1, 40, 1, 0}, 2, 5, 0.0, 0, bdiag);
    ASSERT_EQ(d.ierr, 0);
    EXPECT_EQ(d.minf[0], 4);
    EXPECT_EQ(d.minf[2], 1);
    EXPECT_EQ(d.evl[4], std::numeric_limits<double>::infinity());
    EXPECT_EQ(d.rerr[4], 1.0);
    Dense bd(5, 5);
    for (int i = 1; i <= 5; ++i)
        bd(i, i) = bdiag[i - 1];
    const std::vector<double> dref = pencilEigenvalues(q.a, bd);
    ASSERT_EQ(dref.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(d.evl[i], dref[i], 1e-10 * std::abs(dref[i]));
}

TEST(SubspaceIteration, SingleEquation)
{
    PencilProblem p;
    p.n = 1;
    p.sa.msky = {1};
    p.sa.a = {6.0};
    struct Case {
        double b;
        std::int32_t ierr;
        const char* line;
    };
    for (const Case& c : {Case{2.0, 0, ""}, Case{0.0, -7, "     Problem has no finite eigenvalues\n"},
                          Case{-2.0, -3, "     Matrix B is not positive definite\n"}}) {
        p.sb.a = {c.b};
        LogCapture log;
        const SitRun r = mssit(p, kBuckling, 1, 8);
        EXPECT_EQ(r.ierr, c.ierr) << c.b;
        if (c.ierr == 0) {
            EXPECT_EQ(r.evl[0], 3.0);
            EXPECT_EQ(r.evec[0], 1.0 / std::sqrt(2.0));
            EXPECT_EQ(r.minf[0], 1);
        } else {
            EXPECT_EQ(log.text, std::string("\n\n\n *** ERROR return from  L I N  library routine MSSIT\n") + c.line);
        }
    }
}

TEST(SubspaceIteration, ArgumentChecks)
{
    std::mt19937 rng(2);
    const PencilProblem p = bandedPencil(12, 2, false, rng);
    const std::string head = "\n\n\n *** ERROR return from  L I N  library routine MSSIT\n"
                             "     Illegal or inconsistent input parameters\n";
    {
        // NIV = NEVAL = 1 is fine for more than six equations.
        const SitRun r = mssit(p, kBuckling, 1, 1);
        EXPECT_EQ(r.ierr, 0);
        EXPECT_NEAR(r.evl[0], pencilEigenvalues(p.a, p.b)[0], 1e-6 * std::abs(r.evl[0]));
    }
    struct Case {
        std::array<std::int32_t, 6> mop;
        int neval, niv;
        std::string lines;
    };
    {
        PencilProblem none;
        LogCapture log;
        const SitRun r = mssit(none, kBuckling, 2, 2);
        EXPECT_EQ(r.ierr, -1);
        EXPECT_EQ(log.text, head + "     Dimension too small ( N =    0 )\n");
    }
    const Case cases[] = {
        {kBuckling, 2, 2, "     NEVAL =    2     NIV =    2\n"},
        {kBuckling, 3, 2, "     NEVAL =    3     NIV =    2\n"},
        {kBuckling, -1, 2, "     NEVAL =   -1     NIV =    2\n"},
        {{0, 1, 1, 0, 1, 0}, 2, 5, "     Storage code :  KSA =    0\n"},
        {{1, 3, 1, 0, 1, 0}, 2, 5, "     Storage code :  KSA =    1\n"},
        {{-1, 1, 1, 0, 1, 0}, 0, 5, "     KSA =   -1  and  NEVAL =    0  are inconsistent\n"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        const SitRun r = mssit(p, c.mop, c.neval, c.niv);
        EXPECT_EQ(r.ierr, -1) << c.lines;
        EXPECT_EQ(log.text, head + c.lines);
    }
    {
        // More iteration vectors than finite eigenvalues.
        std::vector<double> bdiag(12, 1.0);
        for (int i : {1, 4, 6, 9, 11})
            bdiag[i] = 0.0;
        LogCapture log;
        const SitRun r = mssit(p, {1, 2, 1, 0, 1, 0}, 2, 8, 0.0, 0, bdiag);
        EXPECT_EQ(r.ierr, -1);
        EXPECT_EQ(log.text, head + "     Parameter  NIV (=    8 ) exceeds the number of\n"
                                   "     finite eigenvalues (=   7 )\n");
        EXPECT_EQ(r.minf[2], 5);
    }
    {
        // Negative B diagonal with B declared positive definite.
        std::vector<double> bdiag(12, 1.0);
        bdiag[3] = -1.0;
        const SitRun r = mssit(p, {1, 2, 1, 0, 2, 0}, 2, 6, 0.0, 0, bdiag);
        EXPECT_EQ(r.ierr, -3);
    }
    {
        // A work array shorter than the partitions is refused.
        LogCapture log;
        const SitRun r = mssit(p, kBuckling, 2, 6, 0.0, 0, {}, {1e-8, 1e-8}, 100);
        EXPECT_EQ(r.ierr, -1);
        EXPECT_NE(log.text.find("Work array RWA too small"), std::string::npos);
    }
    {
        // Nothing at all is written with IPRINT < 0, not even errors.
        LogCapture log;
        const SitRun r = mssit(p, kBuckling, 2, 2, 0.0, -1);
        EXPECT_EQ(r.ierr, -1);
        EXPECT_EQ(log.text, "");
        const SitRun ok = mssit(p, kBuckling, 2, 7, 0.0, -1);
        EXPECT_EQ(ok.ierr, 0);
        EXPECT_EQ(log.text, "");
    }
}

TEST(SubspaceIteration, FactorOnlyAndDefaults)
{
    std::mt19937 rng(9);
    const PencilProblem p = bandedPencil(20, 3, true, rng);
    const std::vector<double> all = pencilEigenvalues(p.a, p.b);
    std::vector<double> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    const double shift = 0.5 * (sorted[2] + sorted[3]);
    LogCapture log;
    const SitRun r = mssit(p, {1, 1, 1, 0, 1, 0}, 0, 5, shift, 2, {}, {0.0, -1.0});
    EXPECT_EQ(r.ierr, 0);
    EXPECT_EQ(r.minf[1], 3);
    EXPECT_EQ(r.tol[0], 1.0e-10);
    EXPECT_EQ(r.tol[1], 1.0e-10);
    EXPECT_EQ(log.text, ""); // neither parameter nor summary print
    // The shifted factor: its pivots are those of A - shift B.
    Dense shifted = p.a;
    for (std::size_t i = 0; i < shifted.v.size(); ++i)
        shifted.v[i] -= shift * p.b.v[i];
    Skyline f = toSkyline(shifted, p.sa.top);
    std::int32_t neg = 0;
    std::int32_t ierr = 0;
    double dummy = 0.0;
    SKYSOL(f.a.data(), &dummy, f.msky.data(), 1e-10, 20, 20, 1, 0, 1, neg, ierr);
    EXPECT_LT(maxAbsDiff(f.a, r.a), 1e-12);
}

TEST(SubspaceIteration, UnfinishedRunsStillEndWithTheSummary)
{
    std::mt19937 rng(13);
    const PencilProblem p = bandedPencil(30, 3, false, rng);
    {
        LogCapture log;
        const SitRun r = mssit(p, {1, 1, 1, 1, 1, 0}, 3, 9, 0.0, 1);
        EXPECT_EQ(r.ierr, -6);
        const auto err = log.text.find(" *** ERROR return from  L I N  library routine MSSIT\n"
                                       "     No eigenvalues accepted (after   1 iterations\n");
        const auto sum = log.text.find("     Leaving MSSIT\n");
        ASSERT_NE(err, std::string::npos);
        ASSERT_NE(sum, std::string::npos);
        EXPECT_LT(err, sum);
    }
    // A few iterations accept the leading eigenvalues only.
    bool warned = false;
    for (int maxit = 2; maxit <= 12 && !warned; ++maxit) {
        LogCapture log;
        const SitRun r = mssit(p, {1, 1, 1, maxit, 1, 0}, 6, 12, 0.0, 1);
        if (r.ierr != 1)
            continue;
        warned = true;
        EXPECT_GT(r.minf[0], 0);
        EXPECT_LT(r.minf[0], 6);
        char expect[200];
        std::snprintf(expect, sizeof expect,
                      " *** WARNING from  L I N  library routine MSSIT\n"
                      "     Only%5d  eigenvalues accepted\n     in%5d  iterations\n"
                      "     (the requested number was    6  )\n",
                      r.minf[0], maxit);
        const auto w = log.text.find(expect);
        ASSERT_NE(w, std::string::npos);
        EXPECT_LT(w, log.text.find("     Leaving MSSIT\n"));
        // The accepted ones are right already.
        const std::vector<double> ref = pencilEigenvalues(p.a, p.b);
        for (int i = 0; i < r.minf[0]; ++i)
            EXPECT_NEAR(r.evl[i], ref[i], 1e-6 * std::abs(ref[i]));
    }
    EXPECT_TRUE(warned);
}

TEST(SubspaceIteration, ParameterIterationAndSummaryPrints)
{
    const PencilProblem p = beamPencil(8, true);
    LogCapture log;
    const SitRun r = mssit(p, {1, 1, 1, 2, 1, 1}, 2, 4, 0.0, 2);
    EXPECT_EQ(r.ierr, -6);
    const std::string params = "1\n"
                               "     *******************************************\n\n"
                               "     PRINT from  L I N  library routine MSSIT\n"
                               "             general eigenproblem by\n"
                               "               SUBSPACE ITERATION\n\n"
                               "     *******************************************\n\n\n"
                               "     Matrix dimension  :    8\n"
                               "     Average bandwidth :    2\n"
                               "     Form of B-matrix  :  skyline\n\n"
                               "     Start vector code         :    1\n"
                               "     Requested eignevalues     :    2\n"
                               "     No. of iteration vectors  :    4\n"
                               "     Max. number of iterations :    2\n"
                               "     Pos.def. indicator        :    1\n\n"
                               "     Shift value               :  0.000E+00\n\n"
                               "     Converged eigenvectors are excluded from iteration\n"
                               "\n\n\n\n     ******************\n     Iteration no.    1\n     ******************\n\n\n"
                               "     Number of accepted eigenvalues :    0   (max. rel. error =  1.000E-08 )\n\n\n"
                               "               Computed            Relative\n"
                               "              eigenvalues           error\n\n"
                               "      1  ";
    EXPECT_EQ(log.text.substr(0, params.size()), params);
    const std::string summary = "\n\n\n\n     *************\n     Leaving MSSIT\n     *************\n\n"
                                "     No. of eigenvalues accepted           :    0\n"
                                "     No. of eigenvalues smaller than SHIFT :    0\n"
                                "     No. of zero elements in diag.(B)      :    0\n"
                                "     No. of iterations                     :    2\n\n"
                                "     Limit for relative eigenvalue error   :  1.000E-08\n"
                                "     Limit value for diagonal decay test\n"
                                "     during factorization                  :  1.000E-08\n\n\n"
                                "               Computed            Relative\n"
                                "              eigenvalues           error\n\n";
    const auto at = log.text.find(summary);
    ASSERT_NE(at, std::string::npos);
    // Four table rows: I7 1P D23.14 D15.4.
    const std::string rows = log.text.substr(at + summary.size());
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 4);
    EXPECT_EQ(rows.find('\n'), 7u + 23u + 15u);
    EXPECT_EQ(rows.substr(0, 10), "      1   ");
    EXPECT_NE(rows.find("D-01     1.5290D-01\n"), std::string::npos);
}

TEST(SubspaceIteration, StandardStartVectors)
{
    // A failing factorisation (zero first pivot) leaves the start vectors.
    PencilProblem p;
    p.n = 8;
    p.sa.msky = {1, 2, 3, 4, 5, 6, 7, 8};
    p.sa.a = {0.0, 2.0, 1.0, 4.0, 1.0, 0.0, 2.0, 1.0};
    const std::vector<double> bdiag{1.0, 6.0, 1.0, 4.0, 3.0, 1.0, 2.0, 5.0};
    // |b/a|: row 1 has a = 0 and nothing before it (0), row 6 takes the
    // largest so far (3); the largest ratios are rows 8 (5), 2 and 5 (3).
    LogCapture log;
    const SitRun r = mssit(p, {1, 2, 2, 0, 1, 0}, 1, 5, 0.0, 0, bdiag);
    EXPECT_EQ(r.ierr, -2);
    EXPECT_NE(log.text.find("\n\n\n *** ERROR return from  L I N  library routine MSSIT\n"
                            "     Error during factorization of matrix A\n"),
              std::string::npos);
    std::vector<double> expect(8 * 5, 0.0);
    std::fill(expect.begin(), expect.begin() + 8, 1.0);
    expect[8 + 7] = 1.0;
    expect[16 + 1] = 1.0;
    expect[24 + 4] = 1.0;
    const std::vector<double> random{-0.094802652415793,  0.12344286313370767, -0.09523244266908937,
                                     0.13365226709017408, 0.23286606229290374, -0.22167462902468493,
                                     0.14245514415396077, -0.46331648800928216};
    std::copy(random.begin(), random.end(), expect.begin() + 32);
    EXPECT_EQ(r.evec, expect);

    // No positive ratio: column j gets its 1.0 in row j.
    PencilProblem q;
    q.n = 8;
    q.sa.msky = {1, 3, 5, 7, 9, 11, 13, 15};
    q.sa.a.assign(15, 0.0);
    q.sb.msky = q.sa.msky;
    q.sb.a.assign(15, 0.0);
    for (int c = 2; c <= 8; ++c) {
        q.sa.a[q.sa.msky[c - 1] - 1] = 1.0;
        q.sb.a[q.sb.msky[c - 1] - 2] = 1.0; // off-diagonal B entries only
    }
    const SitRun z = mssit(q, {1, 1, 2, 0, 1, 0}, 1, 4, 0.0, 0);
    EXPECT_EQ(z.ierr, -2);
    for (int j = 2; j <= 3; ++j)
        for (int i = 1; i <= 8; ++i)
            EXPECT_EQ(z.evec[(i - 1) + 8 * (j - 1)], i == j ? 1.0 : 0.0) << i << " " << j;
}

// Truncated Lanczos on skyline storage against the dense oracle and the
// subspace iteration.
#include "tests/solvika/eigen_problem.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

using namespace solvika;
using namespace solvika::test;

namespace {

struct LanRun {
    std::vector<double> evl, rerr, evec, v, a, b;
    std::array<std::int32_t, 10> minf{};
    std::int32_t ierr = 0;
    double shift = 0.0;
    std::array<double, 2> tol{1.0e-8, 1.0e-8};
};

struct LanArgs {
    std::array<std::int32_t, 6> mop{1, 1, -1, 1, 2, 1};
    int neval = 4;
    int nevec = 4;
    int maxlan = 20;
    double shift = 0.0;
    int iprint = 0;
    std::vector<double> bdiag;      // B diagonal when given
    std::vector<double> start;      // caller's start vector
    std::array<double, 2> tol{1.0e-8, 1.0e-8};
};

LanRun lanczos(const PencilProblem& p, const LanArgs& g)
{
    LanRun r;
    r.tol = g.tol;
    r.a = p.sa.a;
    r.b = g.bdiag.empty() ? p.sb.a : g.bdiag;
    const int m = std::max(g.maxlan, 1);
    r.evl.assign(m, -7.0);
    r.rerr.assign(m, -7.0);
    r.evec.assign(std::size_t(p.n) * m, 0.0);
    r.v.assign(2 * std::size_t(p.n), 0.0);
    if (!g.start.empty())
        std::copy(g.start.begin(), g.start.end(), r.v.begin());
    std::vector<double> rwa(std::size_t(m) * (m + 7));
    std::vector<std::int32_t> iwa(2 * m);
    r.shift = g.shift;
    LANCZ2(r.a.data(), r.b.data(), r.tol.data(), p.sa.msky.data(), g.mop.data(), r.minf.data(), r.evl.data(),
           r.rerr.data(), r.evec.data(), r.v.data(), rwa.data(), std::int64_t(rwa.size()), iwa.data(),
           std::int64_t(iwa.size()), r.shift, p.n, g.neval, g.nevec, g.maxlan, kEigenUnit, g.iprint, r.ierr);
    return r;
}

Dense diagonalMatrix(const std::vector<double>& d)
{
    Dense m(int(d.size()), int(d.size()));
    for (std::size_t i = 0; i < d.size(); ++i)
        m(int(i) + 1, int(i) + 1) = d[i];
    return m;
}

// A diagonal A (in skyline storage) with a diagonal B.
PencilProblem diagonalPencil(const std::vector<double>& ad)
{
    PencilProblem p;
    p.n = int(ad.size());
    p.a = diagonalMatrix(ad);
    std::vector<int> top(ad.size());
    for (std::size_t i = 0; i < top.size(); ++i)
        top[i] = int(i) + 1;
    p.sa = toSkyline(p.a, top);
    return p;
}

void expectEigenpairs(const LanRun& r, const Dense& a, const Dense& b, const std::vector<double>& ref, int count,
                      bool normalised)
{
    ASSERT_GE(int(ref.size()), count);
    for (int i = 0; i < count; ++i)
        EXPECT_NEAR(r.evl[i], ref[i], 1e-7 * std::abs(ref[i])) << i;
    const PairCheck pc = checkPairs(a, b, r.evl.data(), r.evec.data(), count);
    EXPECT_LT(pc.residual, 1e-6);
    EXPECT_LT(pc.orthogonality, 1e-6);
    if (normalised) {
        EXPECT_LT(pc.normalisation, 1e-6);
    }
}

} // namespace

TEST(Lanczos, BucklingSettingsMatchSubspaceAndDense)
{
    const PencilProblem p = beamPencil(60, true);
    const int modes = 4;
    LanArgs g;
    g.neval = g.nevec = modes;
    g.maxlan = 2 * modes + 12;
    const LanRun r = lanczos(p, g);
    ASSERT_EQ(r.ierr, 0);
    EXPECT_GE(r.minf[0], modes);
    EXPECT_EQ(r.minf[4], modes);
    const std::vector<double> ref = pencilEigenvalues(p.a, p.b);
    expectEigenpairs(r, p.a, p.b, ref, modes, false);

    // The same modes by subspace iteration with its buckling settings.
    std::vector<double> a = p.sa.a, b = p.sb.a, evl(14), rerr(14), evec(60 * 14), rwa(4000);
    std::array<std::int32_t, 6> mop{1, 1, -1, 40, 1, 0};
    std::array<std::int32_t, 4> minf{};
    std::array<double, 2> tol{1e-8, 1e-8};
    double shift = 0.0;
    std::int32_t niv = 14, ierr = 0;
    MSSIT(a.data(), b.data(), tol.data(), p.sa.msky.data(), mop.data(), minf.data(), evl.data(), rerr.data(),
          evec.data(), rwa.data(), 4000, shift, 60, modes, niv, 0, 0, ierr);
    ASSERT_EQ(ierr, 0);
    for (int i = 0; i < modes; ++i)
        EXPECT_NEAR(r.evl[i], evl[i], 1e-7 * std::abs(evl[i]));
}

TEST(Lanczos, TridiagonalSolutionSchedule)
{
    const PencilProblem p = beamPencil(200, true);
    LanArgs g;
    g.neval = g.nevec = 6;
    g.maxlan = 2 * 6 + 12;
    g.iprint = 3;
    LogCapture log;
    const LanRun r = lanczos(p, g);
    std::vector<int> steps;
    const std::string mark = "Lanczos step no.";
    for (auto at = log.text.find(mark); at != std::string::npos; at = log.text.find(mark, at + 1))
        steps.push_back(std::stoi(log.text.substr(at + mark.size(), 5)));
    // At p, at p + p/2, then every KEX = 2 steps, until enough are good.
    ASSERT_EQ(r.ierr, 0);
    const std::vector<int> schedule{6, 9, 11, 13, 15, 17, 19, 21, 23, 24};
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ(steps, std::vector<int>(schedule.begin(), schedule.begin() + steps.size()));
    EXPECT_EQ(r.minf[6], int(steps.size()));
    EXPECT_EQ(r.minf[2], steps.back());
    EXPECT_GE(r.minf[0], 6);
}

TEST(Lanczos, FullSpaceSolvesOnce)
{
    std::mt19937 rng(33);
    const PencilProblem p = bandedPencil(12, 3, true, rng);
    LanArgs g;
    g.mop = {1, 1, 1, 2, 2, 1};
    g.neval = g.nevec = 3;
    g.maxlan = 12;
    const LanRun r = lanczos(p, g);
    ASSERT_EQ(r.ierr, 0);
    EXPECT_EQ(r.minf[6], 1);
    EXPECT_EQ(r.minf[2], 12);
    EXPECT_EQ(r.minf[0], 12);
    expectEigenpairs(r, p.a, p.b, pencilEigenvalues(p.a, p.b), 3, true);
}

TEST(Lanczos, StartVectors)
{
    const PencilProblem p = beamPencil(50, false);
    const std::vector<double> ref = pencilEigenvalues(p.a, p.b);
    for (std::int32_t ksr : {1, 2, 3, -3, 0}) {
        LanArgs g;
        g.mop = {1, 1, ksr, 1, 2, 1};
        g.maxlan = 30;
        g.start.assign(50, 1e-9); // near zero: replaced by a random vector
        const LanRun r = lanczos(p, g);
        ASSERT_EQ(r.ierr, 0) << ksr;
        expectEigenpairs(r, p.a, p.b, ref, 4, true);
    }
}

TEST(Lanczos, InvariantSubspacesRestart)
{
    // Four distinct eigenvalues: the Krylov space of the all-ones start
    // vector closes after four steps.
    const int n = 30;
    std::vector<double> ad(n), bd(n, 1.0);
    for (int i = 0; i < n; ++i)
        ad[i] = 1.0 + i % 4;
    PencilProblem p = diagonalPencil(ad);
    LanArgs g;
    g.mop = {1, 2, -3, 1, 1, 1};
    g.bdiag = bd;
    g.neval = g.nevec = 2;
    g.maxlan = 12;
    const LanRun r = lanczos(p, g);
    ASSERT_GE(r.ierr, 0);
    EXPECT_GE(r.minf[9], 1);
    EXPECT_NEAR(r.evl[0], 1.0, 1e-12);
    EXPECT_NEAR(r.evl[1], 1.0, 1e-12);

    // H = I: every step closes the space; the eleventh restart is fatal.
    std::fill(ad.begin(), ad.end(), 1.0);
    p = diagonalPencil(ad);
    g.mop = {1, 2, 3, 1, 1, 1};
    g.neval = g.nevec = 12;
    g.maxlan = 20;
    LogCapture log;
    const LanRun bad = lanczos(p, g);
    EXPECT_EQ(bad.ierr, -8);
    EXPECT_EQ(bad.minf[9], 10);
    EXPECT_EQ(log.text, "\n\n\n *** ERROR return from  L I N  library routine LANCZ2\n"
                        "     Breakdown! - 11th restart required in step no.   11\n");
}

TEST(Lanczos, ReorthogonalisationCounters)
{
    const PencilProblem p = beamPencil(60, true);
    const std::vector<double> ref = pencilEigenvalues(p.a, p.b);
    for (std::int32_t code : {0, 1, 2, -1, -2}) {
        LanArgs g;
        g.mop = {1, 1, 1, code, 2, 1};
        g.maxlan = 24;
        const LanRun r = lanczos(p, g);
        ASSERT_GE(r.ierr, 0) << code;
        const int j = r.minf[2];
        int vectors = 0, products = 0;
        for (int s = 2; s <= j; ++s) {
            const bool on = code == 1 || code == 2 || (code == -2 && (s % 4 == 3 || s % 4 == 0));
            if (on) {
                ++vectors;
                products += (code == 2 ? 2 : 1) * (s - 1);
            }
        }
        if (code != -1) {
            EXPECT_EQ(r.minf[7], vectors) << code;
            EXPECT_EQ(r.minf[8], products) << code;
        } else {
            EXPECT_LE(r.minf[7], j - 2);
        }
        // Without reorthogonalisation converged values come back as copies.
        for (int i = 0; code != 0 && i < r.minf[0] && i < 4; ++i)
            EXPECT_NEAR(r.evl[i], ref[i], 1e-7 * std::abs(ref[i])) << code;
    }
}

TEST(Lanczos, PositiveDefiniteB)
{
    const PencilProblem p = beamPencil(40, false);
    // Factored skyline B, with and without a shift.
    for (double shift : {0.0, 0.7}) {
        LanArgs g;
        g.mop = {1, 1, 1, 1, 2, 2};
        g.shift = shift;
        const LanRun r = lanczos(p, g);
        ASSERT_EQ(r.ierr, 0);
        const std::vector<double> ref = pencilEigenvalues(p.a, p.b, shift);
        EXPECT_EQ(r.minf[3], countBelow(ref, shift));
        expectEigenpairs(r, p.a, p.b, ref, 4, true);
    }
    // Diagonal B without and with zero entries.
    for (int zeros : {0, 6}) {
        std::vector<double> bd(40);
        for (int i = 0; i < 40; ++i)
            bd[i] = i % 7 == 3 && zeros ? 0.0 : 1.0 + 0.1 * i;
        LanArgs g;
        g.mop = {1, 2, 1, 1, 2, 2};
        g.bdiag = bd;
        const LanRun r = lanczos(p, g);
        ASSERT_EQ(r.ierr, 0);
        EXPECT_EQ(r.minf[5], zeros);
        const Dense b = diagonalMatrix(bd);
        expectEigenpairs(r, p.a, b, pencilEigenvalues(p.a, b), 4, true);
    }
}

TEST(Lanczos, ZeroRowsOfBLimitTheFiniteEigenvalues)
{
    std::mt19937 rng(37);
    const PencilProblem p = bandedPencil(30, 2, true, rng);
    std::vector<double> bd(30, 0.0);
    bd[4] = 2.0;
    bd[11] = -1.0;
    bd[20] = 3.0;
    LanArgs g;
    g.mop = {1, 2, 1, 1, 2, 1};
    g.bdiag = bd;
    g.maxlan = 12;
    LogCapture log;
    const LanRun r = lanczos(p, g);
    EXPECT_EQ(r.ierr, 1);
    EXPECT_EQ(r.minf[0], 3);
    EXPECT_EQ(r.minf[5], 27);
    EXPECT_NE(log.text.find(" *** WARNING from  L I N  library routine LANCZ2\n"
                            "     Problem has only    3  finite eigenvalues\n"),
              std::string::npos);
    const Dense b = diagonalMatrix(bd);
    expectEigenpairs(r, p.a, b, pencilEigenvalues(p.a, b), 3, false);
}

TEST(Lanczos, ArgumentChecksAndSingleEquation)
{
    std::mt19937 rng(38);
    const PencilProblem p = bandedPencil(10, 2, true, rng);
    const std::string head = "\n\n\n *** ERROR return from  L I N  library routine LANCZ2\n"
                             "     Illegal or inconsistent input parameters\n";
    struct Case {
        std::array<std::int32_t, 6> mop;
        int neval, nevec, maxlan;
        std::string lines;
    };
    const Case cases[] = {
        {{4, 1, 1, 1, 2, 1}, 2, 2, 8, "     Storage codes :  KSA =    4     KSB =    1\n"},
        {{1, 1, 1, 3, 2, 1}, 2, 2, 8, "     Reorthogonalization code =    3\n"},
        {{1, 1, 1, 1, 0, 3}, 2, 2, 8,
         "     Parameter KEX (=    0 ) out of range\n" + head + "     Parameter KPD (=    3 ) out of range\n"},
        {{2, 1, 1, 1, 2, 1}, 2, 2, 8, "     Check parameters KPD, KSA and KSB =     1     2     1\n"},
        {{1, -1, 2, 1, 2, 2}, 2, 2, 8, "     Check parameters KSB and KSR =    -1     2\n"},
        {{3, 1, 1, 1, 2, 1}, 0, 0, 8, "     Check parameters KSA and NEVAL =     3     0\n"},
        {{1, 1, 1, 1, 2, 1}, 2, 3, 8, "     Check parameters NEVAL, NEVEC and MAXLAN =     2     3     8\n"},
        {{1, 1, 1, 1, 2, 1}, 2, 2, 11, "     Check parameters NEVAL, NEVEC and MAXLAN =     2     2    11\n"},
    };
    for (const Case& c : cases) {
        LanArgs g;
        g.mop = c.mop;
        g.neval = c.neval;
        g.nevec = c.nevec;
        g.maxlan = c.maxlan;
        LogCapture log;
        const LanRun r = lanczos(p, g);
        EXPECT_EQ(r.ierr, -1) << c.lines;
        EXPECT_EQ(log.text, head + c.lines);
    }
    {
        // A shift with factored A; with KPD = 1 also the warning first.
        LanArgs g;
        g.mop = {3, 1, 1, 1, 2, 1};
        g.maxlan = 8;
        g.shift = 0.5;
        LogCapture log;
        const LanRun r = lanczos(p, g);
        EXPECT_EQ(r.ierr, -1);
        EXPECT_EQ(log.text, "\n\n\n *** WARNING from  L I N  library routine LANCZ2\n"
                            "     Nonzero shift may render A non-positive definite\n"
                            "     and cause an error during Cholesky factorization\n" +
                                head +
                                "     KSA =   3 and/or  KSB =   1  are inconsistent\n"
                                "     with non-zero shift\n");
    }
    {
        // NEVAL = 0 with KSA = 1: factorisation and the inertia count only.
        LanArgs g;
        g.mop = {1, 1, 1, 1, 2, 2};
        g.neval = g.nevec = 0;
        g.maxlan = 8;
        const std::vector<double> all = pencilEigenvalues(p.a, p.b);
        g.shift = 0.5 * (*std::min_element(all.begin(), all.end()) + *std::max_element(all.begin(), all.end()));
        g.iprint = 2;
        LogCapture log;
        const LanRun r = lanczos(p, g);
        EXPECT_EQ(r.ierr, 0);
        EXPECT_EQ(r.minf[3], countBelow(all, g.shift));
        EXPECT_EQ(log.text, "");
    }
    PencilProblem one;
    one.n = 1;
    one.sa.msky = {1};
    one.sa.a = {6.0};
    for (double b : {4.0, -3.0, 0.0}) {
        one.sb.a = {b};
        LanArgs g;
        g.neval = g.nevec = 1;
        g.maxlan = 1;
        LogCapture log;
        const LanRun r = lanczos(one, g);
        if (b == 0.0) {
            EXPECT_EQ(r.ierr, -4);
            EXPECT_EQ(log.text, "\n\n\n *** ERROR return from  L I N  library routine LANCZ2\n"
                                "     Problem has no finite eigenvalues (N=1)\n");
        } else {
            EXPECT_EQ(r.ierr, 0);
            EXPECT_EQ(r.evl[0], 6.0 / b);
            EXPECT_EQ(r.evec[0], b > 0 ? 0.5 : 1.0);
        }
    }
}

TEST(Lanczos, ParameterStepAndSummaryPrints)
{
    const PencilProblem p = beamPencil(30, true);
    LanArgs g;
    g.mop = {1, 1, 1, -1, 2, 1};
    g.neval = g.nevec = 2;
    g.maxlan = 16;
    g.iprint = 4;
    LogCapture log;
    const LanRun r = lanczos(p, g);
    ASSERT_EQ(r.ierr, 0);
    const std::string params = "1\n"
                               "     *******************************************\n\n"
                               "     Print from  L I N  library routine LANCZ2\n"
                               "     (General eigenproblem by truncated Lanczos)\n\n"
                               "     *******************************************\n\n\n"
                               "     Matrix dimension  :   30\n"
                               "     Average bandwidth :    2\n"
                               "     Form of B-matrix  :  skyline\n\n"
                               "     Start vector code        :    1\n"
                               "     Factorization indicator  :    1\n"
                               "     Parameter KEX            :    2\n"
                               "     Reorthogonalization code :   -1\n"
                               "     Requested eigenvalues    :    2\n"
                               "     Requested eigenvectors   :    2\n"
                               "     Max. number of steps     :   16\n"
                               "     Shift value              :  0.000E+00\n"
                               "\n\n\n\n     *********************\n     Lanczos step no.    2\n     *********************\n\n\n"
                               "     Tridiagonal form :\n\n\n"
                               "            Subdiagonal      diagonal\n\n"
                               "      1     1.00000D+00";
    EXPECT_EQ(log.text.substr(0, params.size()), params);
    EXPECT_NE(log.text.find("\n\n     Number of \"good\" eigenvalues :    0   (tol =  1.000E-08 )\n\n\n"
                            "               COMPUTED             RELATIVE      ACCEPTED\n"
                            "               EIGENVALUES          ERRORS        AT STEP\n\n"
                            "      1   "),
              std::string::npos);
    EXPECT_NE(log.text.find("\n     Lanczos step    3 :  max. inner product =  "), std::string::npos);
    char summary[1200];
    std::snprintf(summary, sizeof summary,
                  "\n\n\n\n     **************\n     Leaving LANCZ2\n     **************\n\n"
                  "     No. of \"good\" eigenvalues             :%5d\n"
                  "     No. of acceptable eigenvalues         :%5d\n"
                  "     No. of Lanczos steps (vectors)        :%5d\n"
                  "     No. of eigenvalues smaller than shift :    0\n"
                  "     No. of eigenvectors returned          :    2\n"
                  "     No. of zero elements in diag.(B)      :    0\n"
                  "     No. of tridiag. eigv.problems solved  :%5d\n"
                  "     No. of Lanczos vectors for which\n"
                  "     reorthogonalization was carried out   :%5d\n"
                  "     No. of vector dot products performed\n"
                  "     during reorthogonalization            :%5d\n"
                  "     No. of restarts                       :    0\n\n"
                  "     Relative eigenvalue tolerance    :  1.000E-08\n"
                  "     Diagonal decay tolerance         :  1.000E-08\n\n\n"
                  "               COMPUTED             RELATIVE      ACCEPTED\n"
                  "               EIGENVALUES          ERRORS        AT STEP\n\n",
                  r.minf[0], r.minf[1], r.minf[2], r.minf[6], r.minf[7], r.minf[8]);
    const auto at = log.text.find(summary);
    ASSERT_NE(at, std::string::npos);
    const std::string rows = log.text.substr(at + std::strlen(summary));
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), r.minf[2]);
    EXPECT_EQ(rows.find('\n'), 7u + 24u + 15u + 9u);
}

TEST(Lanczos, RunErrors)
{
    const PencilProblem p = beamPencil(30, false);
    const std::string head = "\n\n\n *** ERROR return from  L I N  library routine LANCZ2\n";
    {
        // One tridiagonal solution cannot confirm any eigenvalue.
        LanArgs g;
        g.maxlan = 4;
        LogCapture log;
        const LanRun r = lanczos(p, g);
        EXPECT_EQ(r.ierr, -9);
        EXPECT_EQ(log.text, head + "     No eigenvalues accepted (after    4  Lanczos steps\n");
    }
    {
        // A negative diagonal B cannot be factorised.
        std::vector<double> bd(30, 1.0);
        bd[7] = -1.0;
        LanArgs g;
        g.mop = {1, 2, 1, 1, 2, 2};
        g.bdiag = bd;
        LogCapture log;
        const LanRun r = lanczos(p, g);
        EXPECT_EQ(r.ierr, -3);
        EXPECT_EQ(log.text, head + "     Matrix B (KSB =   2) cannot be factorized\n");
    }
    {
        // A matrix that is not positive definite fails the Cholesky road.
        PencilProblem q = p;
        q.sa.a[q.sa.msky[9] - 1] = -5.0;
        LanArgs g;
        g.iprint = -1;
        LogCapture log;
        const LanRun r = lanczos(q, g);
        EXPECT_EQ(r.ierr, -2);
        EXPECT_EQ(log.text, "");
        g.iprint = 0;
        const LanRun again = lanczos(q, g);
        EXPECT_EQ(again.ierr, -2);
        EXPECT_NE(log.text.find(head + "     Error during factorization of matrix A\n"), std::string::npos);
    }
}

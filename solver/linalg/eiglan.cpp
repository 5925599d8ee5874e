// Truncated shift-and-invert Lanczos for A x = lambda B x on any
// eigensolver storage.
#include "solver/linalg/eigcommon.h"
#include "solver/linalg/cancel.h"

#include "solver/linalg/dense.h"
#include "solver/linalg/dot.h"
#include "solver/linalg/eigdense.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace solvika::detail {

namespace {

std::int32_t lanczosFlag(int code)
{
    switch (code) {
    case 1: case 2: case 3: return 1;
    case 21: return -2;
    case 22: return -3;
    case 23: return -4;
    case 24: return -5;
    case 25: return -6;
    case 26: case 27: return -7;
    case 31: return -8;
    case 32: return -9;
    default: return -1; // 11-20
    }
}

void lanczosMessage(std::int32_t lu, const char* name, int code, std::initializer_list<FArg> v = {})
{
    if (lu <= 0)
        return;
    static const Layout c1("5X 'Only' I5 '  eigenvalues accepted' / 5X 'in' I5 '  Lanczos steps' / "
                           "5X '(the required number was' I5 ' )'");
    static const Layout c2("5X 'Nonzero shift may render A non-positive definite' / "
                           "5X 'and cause an error during Cholesky factorization'");
    static const Layout c3("5X 'Problem has only' I5 '  finite eigenvalues'");
    static const Layout c11("5X 'Storage codes :  KSA =' I5 5X 'KSB =' I5");
    static const Layout c12("5X 'Reorthogonalization code =' I5");
    static const Layout c13("5X 'Parameter KEX (=' I5 ' ) out of range'");
    static const Layout c14("5X 'Parameter KPD (=' I5 ' ) out of range'");
    static const Layout c15("5X 'Check parameters KPD, KSA and KSB =' 3I6");
    static const Layout c16("5X 'Check parameters KSB and KSR =' 2I6");
    static const Layout c17("5X 'Check parameters KSA and NEVAL =' 2I6");
    static const Layout c18("5X 'Check parameters NEVAL, NEVEC and MAXLAN =' 3I6");
    static const Layout c19sparse("5X 'KSA =' I4 ' is inconsistent with non-zero shift'");
    static const Layout c19skyline("5X 'KSA =' I4 ' and/or  KSB =' I4 '  are inconsistent' / 5X 'with non-zero shift'");
    static const Layout c20("5X 'Inconsistent sparse control information'");
    static const Layout c21("5X 'Error during factorization of matrix A'");
    static const Layout c22("5X 'Matrix B (KSB =' I4 ') cannot be factorized'");
    static const Layout c23("5X 'Problem has no finite eigenvalues (N=1)'");
    static const Layout c24("5X 'Error during premultiplication (by matrix H)' / 5X 'Lanczos step no.' I5");
    static const Layout c25("5X 'Error during solution of small, tridiag. eigenproblem' / 5X '(of dimension' I4 ' )'");
    static const Layout c26("5X 'Error during recovery of eigenvector no.' I5");
    static const Layout c27("5X 'Error during recovery of eigenvectors'");
    static const Layout c31("5X 'Breakdown! - 11th restart required in step no.' I5");
    static const Layout c32("5X 'No eigenvalues accepted (after' I5 '  Lanczos steps'");
    eigenHeader(lu, code <= 3, name);
    if (code >= 11 && code <= 20)
        inputErrorLine(lu);
    const bool sparse = std::strcmp(name, "SPRLAN") == 0;
    const Layout* l = nullptr;
    switch (code) {
    case 1: l = &c1; break;
    case 2: l = &c2; break;
    case 3: l = &c3; break;
    case 11: l = &c11; break;
    case 12: l = &c12; break;
    case 13: l = &c13; break;
    case 14: l = &c14; break;
    case 15: l = &c15; break;
    case 16: l = &c16; break;
    case 17: l = &c17; break;
    case 18: l = &c18; break;
    case 19: l = sparse ? &c19sparse : &c19skyline; break;
    case 20: l = &c20; break;
    case 21: l = &c21; break;
    case 22: l = &c22; break;
    case 23: l = &c23; break;
    case 24: l = &c24; break;
    case 25: l = &c25; break;
    case 26: l = &c26; break;
    case 27: l = &c27; break;
    case 31: l = &c31; break;
    default: l = &c32; break;
    }
    fwrite(lu, *l, v);
}

void parameterPrint(std::int32_t lu, const EigenStorage& st, const std::int32_t* MOP, std::int32_t NEVAL,
                    std::int32_t NEVEC, std::int32_t MAXLAN, double sigma)
{
    static const Layout banner("'1' / 5X 43('*') / / 5X 'Print from  L I N  library routine ' A / "
                               "5X '(General eigenproblem by truncated Lanczos)' / / 5X 43('*') / /");
    static const Layout params("/ 5X 'Start vector code        :' I5 / 5X 'Factorization indicator  :' I5 / "
                               "5X 'Parameter KEX            :' I5 / 5X 'Reorthogonalization code :' I5 / "
                               "5X 'Requested eigenvalues    :' I5 / 5X 'Requested eigenvectors   :' I5 / "
                               "5X 'Max. number of steps     :' I5 / 5X 'Shift value              :' 1P E11.3");
    fwrite(lu, banner, {st.name()});
    st.printDimension(lu, MOP[1]);
    fwrite(lu, params, {MOP[2], MOP[5], MOP[4], MOP[3], NEVAL, NEVEC, MAXLAN, sigma});
}

void printTable(std::int32_t lu, const double* values, const double* errors, const std::int32_t* step,
                std::int32_t j)
{
    static const Layout header("/ / 15X 'COMPUTED' 13X 'RELATIVE' 6X 'ACCEPTED' / "
                               "15X 'EIGENVALUES' 10X 'ERRORS' 8X 'AT STEP' /");
    static const Layout row("I7 1P D24.15 D15.4 I9");
    fwrite(lu, header);
    for (std::int32_t i = 1; i <= j; ++i)
        fwrite(lu, row, {i, values[i - 1], errors[i - 1], step ? step[i - 1] : 0});
}

// v := v - sum (v . q_i) q_i over the m columns of Q (each product with the
// updated v), then v normalised.
void orthogonalise(const double* Q, double* v, std::int32_t n, std::int32_t m)
{
    for (std::int32_t i = 0; i < m; ++i) {
        const double* q = Q + std::size_t(i) * n;
        const double s = dot(v, q, n);
        for (std::int32_t r = 0; r < n; ++r)
            v[r] -= s * q[r];
    }
    const double len = std::sqrt(dot(v, v, n));
    if (len > 0.0)
        for (std::int32_t r = 0; r < n; ++r)
            v[r] /= len;
}

// The partitions of the driver's real work (alpha, beta, d, e, Z and the
// three orthogonality estimates) and integer work (the acceptance steps of
// the previous and the current tridiagonal solution) for M steps.
struct Partitions {
    double* alpha = nullptr;
    double* beta = nullptr; // beta[0] = 1.0, beta[i] couples rows i and i + 1 (1-based)
    double* d = nullptr;
    double* e = nullptr;
    double* Z = nullptr;
    double* om1 = nullptr;
    double* om0 = nullptr;
    double* omNew = nullptr;
    std::int32_t* prevStep = nullptr;
    std::int32_t* step = nullptr;

    void bind(double* rwa, std::int32_t* iwa, std::int32_t M)
    {
        alpha = rwa;
        beta = alpha + M;
        d = beta + M;
        e = d + M;
        Z = e + M;
        om1 = Z + std::size_t(M) * M;
        om0 = om1 + M;
        omNew = om0 + M;
        prevStep = iwa;
        step = iwa + M;
    }
};

// A Ritz vector y of H with Ritz value theta has the residual
// ||H y - theta y|| = beta_{j+1} |z_j|, z_j the last entry of the
// eigenvector of T. Its eigenvalue settles long before the vector when
// another eigenvalue lies close: the vector mixes the two. The residual of
// x = L^-T y in K x = lambda KG x is larger by the spread of the pencil's
// spectrum, which grows about like the number of equations on a plate
// (three orders of magnitude at 1e5 equations). A pair's vector passes
// when its residual is below this constant over N times |theta|.
constexpr double kRitzVectorTolerance = 5.0e-6;

// Probes for missed vectors of multiple eigenvalues (see probeFindsMore):
// at most this many per run, of this many steps each; a pair counts when
// its |theta| is at least the NEVAL-th less this fraction and its residual
// at most this fraction of |theta|.
constexpr std::int32_t kProbes = 8;
constexpr std::int32_t kProbeSteps = 8;
constexpr double kProbeMargin = 1.0e-3;
constexpr double kProbeResidual = 1.0e-2;

// The length of the leading run of the first `good` Ritz pairs at step j
// whose vectors pass the residual test. V holds r = H q_j - beta_j q_{j-1}
// (kept); d, e and Z are used as work.
std::int32_t acceptedVectors(const Partitions& P, const double* EVEC, const double* V, std::int32_t N,
                             std::int32_t j, std::int32_t good, std::int32_t lu)
{
    if (good <= 0)
        return 0;
    const double* q = EVEC + std::size_t(j - 1) * N;
    const double aj = P.alpha[j - 1];
    double rr = 0.0;
    for (std::int32_t r = 0; r < N; ++r) {
        const double v = V[r] - aj * q[r];
        rr += v * v;
    }
    const double betaNext = std::sqrt(rr);
    std::copy(P.alpha, P.alpha + j, P.d);
    std::copy(P.beta, P.beta + j, P.e);
    std::int32_t ierr = 0;
    QLS3DV(P.d, P.e, P.Z, j, lu, ierr);
    if (ierr < 0)
        return 0;
    EIGSRT(P.d, P.Z, j, j, std::min(good, j), 4);
    std::int32_t run = 0;
    const double vt = kRitzVectorTolerance / N;
    while (run < good && run < j &&
           betaNext * std::abs(P.Z[std::size_t(run) * j + (j - 1)]) <= vt * std::abs(P.d[run]))
        ++run;
    return run;
}

} // namespace

void lanczos(EigenStorage& st, double* TOL, const std::int32_t* MOP, std::int32_t* MINF, double* EVL,
             double* RERR, double* EVEC, double* V, double* RWA, std::int64_t LRWA, std::int64_t needRwa,
             std::int32_t* IWA, std::int64_t LIWA, std::int64_t needIwa, double& SHIFT, std::int32_t NEVAL,
             std::int32_t NEVEC, std::int32_t MAXLAN, std::int32_t LUNIT, std::int32_t IPRINT,
             std::int32_t& IERR, LanczosGrowth* grow)
{
    const std::int32_t N = st.N;
    const std::int32_t lu = IPRINT < 0 ? 0 : LUNIT;
    st.lunit = lu;
    const char* name = st.name();
    std::int32_t ksa = MOP[0];
    std::int32_t ksb = MOP[1];
    const std::int32_t ksr = MOP[2];
    const std::int32_t reorth = MOP[3];
    const std::int32_t kex = MOP[4];
    const std::int32_t kpd = MOP[5];
    IERR = 0;
    std::fill(MINF, MINF + 10, 0);
    auto message = [&](int code, std::initializer_list<FArg> v = {}) {
        const std::int32_t flag = lanczosFlag(code);
        if (flag < 0 || IERR == 0)
            IERR = flag;
        lanczosMessage(lu, name, code, v);
    };

    if (IPRINT >= 1 && NEVAL > 0 && lu > 0)
        parameterPrint(lu, st, MOP, NEVAL, NEVEC, MAXLAN, SHIFT);
    defaultTolerances(TOL);

    if ((ksa < 1 || ksa > 3) || !(ksb == 1 || ksb == -1 || ksb == 2 || ksb == -2))
        message(11, {ksa, ksb});
    if (std::abs(reorth) > 2)
        message(12, {reorth});
    if (kex < 1 || kex > 5)
        message(13, {kex});
    if (kpd != 1 && kpd != 2)
        message(14, {kpd});
    if (kpd == 1 && (ksa == 2 || ksb < 0))
        message(15, {kpd, ksa, ksb});
    if (ksb < 0 && std::abs(ksr) == 2)
        message(16, {ksb, ksr});
    if (ksa > 1 && NEVAL == 0)
        message(17, {ksa, NEVAL});
    if (MAXLAN < NEVAL || (MAXLAN < 1 && NEVAL > 0) || MAXLAN > N || NEVEC > NEVAL || N < 1)
        message(18, {NEVAL, NEVEC, MAXLAN});
    if (IERR < 0)
        return;
    if (LRWA < needRwa) {
        IERR = -1;
        return workShortage(lu, name, "RWA", needRwa, LRWA);
    }
    if (LIWA < needIwa) {
        IERR = -1;
        return workShortage(lu, name, "IWA", needIwa, LIWA);
    }

    double sigma = SHIFT;
    if (N == 1) {
        const double b = st.B[0];
        if (b == 0.0)
            return message(23);
        EVL[0] = st.A[0] / b;
        RERR[0] = 0.0;
        if (NEVEC > 0)
            EVEC[0] = b > 0.0 ? 1.0 / std::sqrt(b) : 1.0;
        MINF[0] = 1;
        MINF[1] = EVL[0] < sigma ? 1 : 0;
        return;
    }

    if (std::abs(sigma) < 1.0e-24)
        sigma = SHIFT = 0.0;
    if (sigma != 0.0) {
        if (kpd == 1)
            message(2);
        if (ksa > 1 || ksb < 0)
            return message(19, {ksa, ksb});
    }

    const bool needPositions = (std::abs(ksb) == 2 && sigma != 0.0) || (std::abs(ksr) == 2 && ksb == 1);
    if (needPositions && !st.findDiagonal())
        return message(20);
    if (ksb > 0)
        shiftMatrix(st, sigma, ksb);

    if (ksa == 1) {
        if (kpd == 1 && NEVAL > 0) {
            if (st.factorCholesky(0, TOL[1]) < 0)
                return message(21);
            ksa = 3;
        } else {
            std::int32_t neg = 0;
            if (st.factorLdl(TOL[1], neg) < 0)
                return message(21);
            ksa = 2;
            MINF[3] = neg;
            if (NEVAL == 0)
                return;
        }
    }

    double seed = kEigenSeed;
    switch (std::abs(ksr)) {
    case 1: RANVEC(V, seed, N); break;
    case 2:
        for (std::int32_t i = 1; i <= N; ++i)
            V[i - 1] = diagonalOfB(st, i, ksb);
        break;
    case 3: std::fill(V, V + N, 1.0); break;
    default: break;
    }

    std::int32_t zeros = 0;
    if (kpd == 2 && ksb > 0) {
        const std::int32_t given = ksb;
        if (ksb == 1) {
            if (st.factorCholesky(1, TOL[1]) < 0)
                return message(22, {given});
            ksb = -1;
        } else {
            for (std::int32_t i = 0; i < N; ++i) {
                if (st.B[i] > 0.0)
                    st.B[i] = std::sqrt(st.B[i]);
                else if (st.B[i] == 0.0)
                    ++zeros;
                else
                    return message(22, {given});
            }
            ksb = -2;
        }
    } else if (std::abs(ksb) == 2) {
        for (std::int32_t i = 0; i < N; ++i)
            if (st.B[i] == 0.0)
                ++zeros;
    }
    MINF[5] = zeros;

    std::int32_t M = MAXLAN;
    std::fill(RWA, RWA + needRwa, 0.0);
    std::fill(EVL, EVL + M, 0.0);
    std::fill(IWA, IWA + 2 * M, 0);
    Partitions P;
    P.bind(RWA, IWA, M);
    // Partitions of a run that went on past the caller's MAXLAN.
    std::vector<double> grownRwa;
    std::vector<std::int32_t> grownIwa;
    P.beta[0] = 1.0;
    bool countdownOn = !(N < 25 && MAXLAN == N);
    std::int32_t countdown = NEVAL;
    bool solvedBefore = false;

    const double eps = machineEpsilon();
    const double sqeps = std::sqrt(eps);
    const std::int32_t d5 = MACHCN(3);
    const double tinyStart = std::pow(10.0, -(d5 - d5 / 5));
    double* W = V + N;
    const std::int32_t stepCode = kpd == 1 ? 6 : 4;

    if (ksr >= 1) {
        const std::int32_t flag = st.apply(kpd == 1 ? 5 : 3, V, V, W, ksa, ksb);
        if (flag < 0) {
            IERR = flag;
            return;
        }
    }
    if (dot(V, V, N) < tinyStart)
        RANVEC(V, seed, N);
    double betaCur = std::sqrt(dot(V, V, N));
    bool restart = false;
    bool prevReorth = false;
    std::int32_t pairCounter = -1;
    std::int32_t restarts = 0;
    std::int32_t good = 0;
    bool forceRestart = false;
    std::int32_t probes = 0;

    static const Layout reorthLine("5X 'Lanczos step' I5 ' :  reorthogonalize'");
    static const Layout innerLine("5X 'Lanczos step' I5 ' :  max. inner product =' 1P E12.4");
    static const Layout blankLine("' '");
    static const Layout stepHead("/ / / / 5X 21('*') / 5X 'Lanczos step no.' I5 / 5X 21('*')");
    static const Layout triHead("/ / 5X 'Tridiagonal form :' / / / 12X 'Subdiagonal' 6X 'diagonal' /");
    static const Layout triRow("I7 1P 2D16.5");
    static const Layout goodLine("/ / 5X 'Number of \"good\" eigenvalues :' I5 '   (tol =' 1P E11.3 ' )'");
    static const Layout goesOnLine("5X 'The Lanczos run goes on up to MAXLAN =' I6");
    static const Layout allStepsLine("/ 5X 'Lanczos steps in all :' I6 '  in' I3 '  passes'");

    bool quiet = false;
    auto reorthogonalise = [&](double* q, std::int32_t j, bool line) {
        orthogonalise(EVEC, q, N, j - 1);
        ++MINF[7];
        MINF[8] += j - 1;
        if (line && lu > 0 && !quiet)
            fwrite(lu, reorthLine, {j});
    };

    // Steps 8 and 9 of Lanczos step j: the next residual and its coupling,
    // or a restart where the Krylov space has become invariant. False after
    // the eleventh restart (error 31 written).
    auto finishStep = [&](std::int32_t j) {
        const double* q = EVEC + std::size_t(j - 1) * N;
        const double aj = P.alpha[j - 1];
        for (std::int32_t r = 0; r < N; ++r)
            V[r] -= aj * q[r];
        const double bj = std::sqrt(dot(V, V, N));
        if (!forceRestart && bj >= eps * std::abs(P.alpha[0])) {
            if (j < M)
                P.beta[j] = bj;
            betaCur = bj;
            return true;
        }
        // The Krylov space is invariant (or a probe asks for it): continue
        // from a new random direction orthogonal to it, with a zero
        // coupling in T.
        forceRestart = false;
        if (++restarts > 10) {
            MINF[9] = restarts - 1;
            message(31, {j});
            return false;
        }
        RANVEC(V, seed, N);
        const double len = std::sqrt(dot(V, V, N));
        for (std::int32_t r = 0; r < N; ++r)
            V[r] /= len;
        orthogonalise(EVEC, V, N, j);
        betaCur = 1.0;
        if (j < M)
            P.beta[j] = 0.0;
        MINF[9] = restarts;
        restart = true;
        return true;
    };

    std::int32_t j = 0;
    std::int32_t passes = 1;
    // A probe runs steps that leave no trace in the log (quiet); its last
    // step forces a tridiagonal solution.
    std::int32_t probeEnd = 0;

    // Lanczos step j + 1 up to its tridiagonal solution: -1 after an error
    // (written), 1 where the pass may end, 0 otherwise.
    auto lanczosStep = [&]() -> int {
        const std::int32_t plu = quiet ? 0 : lu;
        ++j;
        checkCancel();
        if (countdownOn)
            --countdown;
        double* q = EVEC + std::size_t(j - 1) * N;
        for (std::int32_t r = 0; r < N; ++r)
            q[r] = V[r] / betaCur;

        if (j >= 2 && !restart) {
            if (reorth == 1 || reorth == 2) {
                for (std::int32_t pass = 0; pass < reorth; ++pass) {
                    orthogonalise(EVEC, q, N, j - 1);
                    MINF[8] += j - 1;
                    if (IPRINT > 1 && plu > 0)
                        fwrite(lu, reorthLine, {j});
                }
                ++MINF[7];
                if (IPRINT > 1 && plu > 0)
                    fwrite(lu, blankLine);
            } else if (reorth == -1 && j >= 3) {
                if (prevReorth) {
                    reorthogonalise(q, j, IPRINT >= 2);
                    std::fill(P.om1, P.om1 + j, eps);
                    std::fill(P.om0, P.om0 + j, eps);
                    prevReorth = false;
                } else {
                    const std::int32_t m = j - 1;
                    double* om1 = P.om1;
                    double* om0 = P.om0;
                    double* omNew = P.omNew;
                    const double* alpha = P.alpha;
                    om1[m - 1] = 1.0;
                    om0[m - 2] = 1.0;
                    if (m == 2) {
                        om1[0] = eps;
                        om1[1] = 1.0;
                        om0[0] = 1.0;
                    }
                    auto b = [beta = P.beta](std::int32_t i) { return beta[i]; }; // rows i, i+1
                    const double am = alpha[m - 1];
                    omNew[0] = ((alpha[0] - am) * om1[0] + b(1) * om1[1] - b(m - 1) * om0[0]) / betaCur;
                    for (std::int32_t k = 2; k <= m - 1; ++k)
                        omNew[k - 1] = (b(k - 1) * om1[k - 2] + (alpha[k - 1] - am) * om1[k - 1] +
                                        b(k) * om1[k] - b(m - 1) * om0[k - 1]) /
                                       betaCur;
                    omNew[m - 1] = eps;
                    double wmax = eps;
                    for (std::int32_t k = 1; k < m; ++k)
                        wmax = std::max(wmax, std::abs(omNew[k - 1]));
                    if (IPRINT >= 2 && plu > 0)
                        fwrite(lu, innerLine, {j, wmax});
                    if (wmax <= sqeps) {
                        std::copy(om1, om1 + m, om0);
                        std::copy(omNew, omNew + m, om1);
                    } else {
                        reorthogonalise(q, j, IPRINT >= 2);
                        prevReorth = true;
                    }
                    if (IPRINT >= 2 && plu > 0)
                        fwrite(lu, blankLine);
                }
            } else if (reorth == -2) {
                ++pairCounter;
                if (pairCounter > 0)
                    reorthogonalise(q, j, IPRINT > 1);
                if (pairCounter == 2)
                    pairCounter = -2;
            }
        }

        // r = H q_j in V.
        if (st.apply(stepCode, q, V, W, ksa, ksb) < 0)
            {
                message(24, {j});
                return -1;
            }
        if (!restart && j > 1) {
            const double* qp = q - N;
            for (std::int32_t r = 0; r < N; ++r)
                V[r] -= betaCur * qp[r];
        }
        restart = false;
        P.alpha[j - 1] = dot(q, V, N);

        bool solveNow = j == M || j == probeEnd;
        if (countdownOn && countdown == 0)
            solveNow = true;
        if (solveNow) {
            double* d = P.d;
            std::int32_t* step = P.step;
            if (solvedBefore)
                std::copy(step, step + j, P.prevStep);
            std::copy(P.alpha, P.alpha + j, d);
            std::copy(P.beta, P.beta + j, P.e);
            std::int32_t ierr = 0;
            QLS3DG(d, P.e, j, lu, ierr);
            if (ierr < 0)
            {
                message(25, {j});
                return -1;
            }
            ++MINF[6];
            EIGSR1(d, j, 4);
            for (std::int32_t i = 0; i < j; ++i) {
                const double t = d[i];
                const double old = EVL[i];
                RERR[i] = t != 0.0 ? std::abs((std::abs(old) - std::abs(t)) / t) : (old != 0.0 ? 1.0 : 0.0);
                EVL[i] = t;
            }
            if (!countdownOn || (passes > 1 && j == N)) {
                // A Krylov basis of full dimension: T holds the
                // eigenvalues of H themselves.
                std::fill(RERR, RERR + j, 0.0);
                std::fill(P.prevStep, P.prevStep + j, j);
            }
            std::int32_t acceptable = 0;
            for (std::int32_t i = 0; i < j; ++i) {
                if (RERR[i] >= TOL[0]) {
                    step[i] = 0;
                } else {
                    ++acceptable;
                    if (step[i] == 0)
                        step[i] = j;
                }
            }
            MINF[1] = acceptable;
            good = 0;
            while (good < j && step[good] != 0 && step[good] == P.prevStep[good])
                ++good;
            if (IPRINT > 2 && plu > 0) {
                fwrite(lu, stepHead, {j});
                if (IPRINT >= 4) {
                    fwrite(lu, triHead);
                    for (std::int32_t i = 1; i <= j; ++i)
                        fwrite(lu, triRow, {i, P.beta[i - 1], P.alpha[i - 1]});
                }
                fwrite(lu, goodLine, {good, TOL[0]});
                printTable(lu, EVL, RERR, step, j);
            }
            countdown = kex;
            if (!solvedBefore)
                countdown = NEVAL / 2 >= 1 ? NEVAL / 2 : kex;
            solvedBefore = true;
            // A run that may grow also waits for the Ritz vectors of
            // the NEVAL pairs.
            if (j == M || j == probeEnd ||
                (good >= NEVAL && (!grow || acceptedVectors(P, EVEC, V, N, j, NEVAL, lu) >= NEVAL)))
                return 1;
        }
        return 0;
    };

    // The partitions move to storage for newM steps; EVL, RERR and EVEC
    // keep their leading entries and columns, and MAXLAN follows.
    auto moveTo = [&](std::int32_t newM) {
        const std::int32_t keep = std::min(j, newM);
        std::vector<double> rwa(std::size_t(newM) * (newM + 7), 0.0);
        std::vector<std::int32_t> iwa(2 * std::size_t(newM), 0);
        Partitions moved;
        moved.bind(rwa.data(), iwa.data(), newM);
        std::copy(P.alpha, P.alpha + keep, moved.alpha);
        std::copy(P.beta, P.beta + keep, moved.beta);
        std::copy(P.om1, P.om1 + keep, moved.om1);
        std::copy(P.om0, P.om0 + keep, moved.om0);
        std::copy(P.omNew, P.omNew + keep, moved.omNew);
        std::copy(P.prevStep, P.prevStep + keep, moved.prevStep);
        std::copy(P.step, P.step + keep, moved.step);
        grownRwa.swap(rwa);
        grownIwa.swap(iwa);
        P = moved;
        grow->resize(newM, EVL, RERR, EVEC);
        M = newM;
    };

    // Lanczos finds one vector of a multiple eigenvalue; the others come
    // only by the slow growth of rounding errors, so a run may stop with
    // NEVAL good pairs and a multiple eigenvalue short. The probe looks
    // for such a pair orthogonal to all Lanczos vectors: it restarts from
    // a random direction orthogonal to them and runs a few steps that
    // leave no trace (the run is put back as it stood, seed included).
    // Those steps span a space Q2 orthogonal to the Lanczos vectors Q1, on
    // which H acts as T2 (their own tridiagonal matrix) but for the
    // coupling H q_j0 = ... + beta0 r0 that the restart left out. A Ritz
    // pair (theta, y = Q2 s) of T2 then has the residual
    // ||H y - theta y||^2 = (beta0 r0.y)^2 + (beta_last s_last)^2. One with
    // |theta| at or beyond the NEVAL-th value and a small residual is an
    // eigenpair the run has missed: the run then goes on.
    auto probeFindsMore = [&]() -> bool {
        ++probes;
        const std::int32_t j0 = j, M0 = M;
        const std::vector<double> sAlpha(P.alpha, P.alpha + j0), sBeta(P.beta, P.beta + j0);
        const std::vector<double> sOm1(P.om1, P.om1 + j0), sOm0(P.om0, P.om0 + j0), sOmNew(P.omNew, P.omNew + j0);
        const std::vector<double> sEVL(EVL, EVL + M0), sRERR(RERR, RERR + M0), sV(V, V + N);
        const std::vector<std::int32_t> sStep(P.step, P.step + j0), sPrev(P.prevStep, P.prevStep + j0);
        std::int32_t sMINF[10];
        std::copy(MINF, MINF + 10, sMINF);
        const double sBetaCur = betaCur, sSeed = seed;
        const bool sRestart = restart, sPrevReorth = prevReorth, sSolvedBefore = solvedBefore;
        const std::int32_t sPairCounter = pairCounter, sRestarts = restarts, sCountdown = countdown, sGood = good;
        const std::int32_t sIERR = IERR;

        const double limit = std::abs(EVL[NEVAL - 1]) * (1.0 - kProbeMargin);
        const std::int32_t steps = std::min(kProbeSteps, N - j0);
        if (steps < 1)
            return false;
        // r0, the residual direction the restart leaves out, and beta0.
        std::vector<double> r0(V, V + N);
        {
            const double* q = EVEC + std::size_t(j0 - 1) * N;
            for (std::int32_t r = 0; r < N; ++r)
                r0[r] -= P.alpha[j0 - 1] * q[r];
        }
        const double beta0 = std::sqrt(dot(r0.data(), r0.data(), N));
        if (beta0 > 0.0)
            for (double& v : r0)
                v /= beta0;
        if (j0 + steps > M)
            moveTo(j0 + steps);
        quiet = true;
        probeEnd = j0 + steps;
        forceRestart = true;
        bool ok = finishStep(j0);
        while (ok && j < probeEnd) {
            ok = lanczosStep() >= 0;
            if (ok && j < probeEnd)
                ok = finishStep(j);
        }
        bool found = false;
        if (ok && j == probeEnd) {
            std::vector<double> d2(P.alpha + j0, P.alpha + j), e2(std::size_t(steps), 0.0), z2(std::size_t(steps) * steps);
            std::vector<double> c(static_cast<std::size_t>(steps));
            for (std::int32_t i = 1; i < steps; ++i)
                e2[std::size_t(i)] = P.beta[j0 + i];
            for (std::int32_t k = 0; k < steps; ++k)
                c[std::size_t(k)] = dot(r0.data(), EVEC + std::size_t(j0 + k) * N, N);
            const double* q = EVEC + std::size_t(j - 1) * N;
            double rr = 0.0;
            for (std::int32_t r = 0; r < N; ++r) {
                const double v = V[r] - P.alpha[j - 1] * q[r];
                rr += v * v;
            }
            const double betaLast = std::sqrt(rr);
            std::int32_t ierr = 0;
            QLS3DV(d2.data(), e2.data(), z2.data(), steps, 0, ierr);
            for (std::int32_t i = 0; ierr >= 0 && i < steps && !found; ++i) {
                const double* z = z2.data() + std::size_t(i) * steps;
                const double theta = std::abs(d2[std::size_t(i)]);
                const double coupling = beta0 * dot(c.data(), z, steps);
                const double trailing = betaLast * z[steps - 1];
                found = theta >= limit &&
                        std::sqrt(coupling * coupling + trailing * trailing) <= kProbeResidual * theta;
            }
        }
        quiet = false;
        probeEnd = 0;
        forceRestart = false;

        j = j0;
        if (M != M0)
            moveTo(M0);
        std::copy(sAlpha.begin(), sAlpha.end(), P.alpha);
        std::copy(sBeta.begin(), sBeta.end(), P.beta);
        std::copy(sOm1.begin(), sOm1.end(), P.om1);
        std::copy(sOm0.begin(), sOm0.end(), P.om0);
        std::copy(sOmNew.begin(), sOmNew.end(), P.omNew);
        std::copy(sStep.begin(), sStep.end(), P.step);
        std::copy(sPrev.begin(), sPrev.end(), P.prevStep);
        std::copy(sEVL.begin(), sEVL.end(), EVL);
        std::copy(sRERR.begin(), sRERR.end(), RERR);
        std::copy(sV.begin(), sV.end(), V);
        std::copy(sMINF, sMINF + 10, MINF);
        betaCur = sBetaCur;
        seed = sSeed;
        restart = sRestart;
        prevReorth = sPrevReorth;
        solvedBefore = sSolvedBefore;
        pairCounter = sPairCounter;
        restarts = sRestarts;
        countdown = sCountdown;
        good = sGood;
        IERR = sIERR;
        return found;
    };

    for (;;) {
        // One pass: Lanczos steps up to MAXLAN, or until enough "good"
        // eigenvalues.
        while (j < M) {
            const int rc = lanczosStep();
            if (rc < 0)
                return;
            if (rc > 0) {
                // A stop before MAXLAN: the probe first, then the end of
                // the pass (below) when it finds nothing more.
                if (!(j < M && good >= NEVAL && grow && probes < kProbes && j < N && probeFindsMore()))
                    break;
            }
            if (!finishStep(j))
                return;
        }

        // The pass has ended at step j. A run that may grow goes on while
        // fewer than NEVAL pairs pass both the eigenvalue test and the test
        // of their Ritz vectors, as long as steps are left and the missing
        // pairs are not infinite eigenvalues (theta = 0).
        if (!grow || M >= N)
            break;
        const std::int32_t accepted = acceptedVectors(P, EVEC, V, N, j, std::min(good, NEVAL), lu);
        if (accepted >= NEVAL) {
            if (!(probes < kProbes && probeFindsMore()))
                break;
        } else {
            if (good < j && good < NEVAL && std::abs(EVL[good]) <= eps * std::abs(EVL[0]))
                break;
            // The pass's warning; it leaves IERR alone, the last pass decides.
            lanczosMessage(lu, name, 1, {accepted, j, NEVAL});
        }
        moveTo(std::min(N, M + std::max({M / 2, 2 * (NEVAL - accepted), 1})));
        if (lu > 0)
            fwrite(lu, goesOnLine, {M});
        ++passes;
        if (!finishStep(j))
            return;
    }
    double* alpha = P.alpha;
    double* beta = P.beta;
    double* Z = P.Z;
    const std::int32_t* step = P.step;

    const double t = eps * std::abs(EVL[0]);
    if (good == 0)
        return message(32, {M});
    if (good < NEVAL)
        message(1, {good, M, NEVAL});
    for (std::int32_t i = 1; i <= j; ++i) {
        if (std::abs(EVL[i - 1]) > t) {
            EVL[i - 1] = 1.0 / EVL[i - 1] + sigma;
            continue;
        }
        // theta = 0 stands for an infinite eigenvalue; so do all after it.
        good = std::min(good, i - 1);
        if (i - 1 < NEVAL)
            message(3, {i - 1});
        break;
    }
    MINF[0] = good;
    MINF[2] = j;

    if (NEVEC > 0) {
        const std::int32_t nv = std::min(NEVEC, good);
        MINF[4] = nv;
        std::int32_t ierr = 0;
        QLS3DV(alpha, beta, Z, j, lu, ierr);
        if (ierr < 0)
            return message(25, {j});
        EIGSRT(alpha, Z, j, j, nv, 4);
        if (kpd == 1 && nv > 0) {
            double m0 = alpha[0];
            for (std::int32_t i = 1; i < nv; ++i)
                m0 = std::min(m0, alpha[i]);
            const double c = m0 < sqeps ? std::abs(m0) + sqeps : 0.0;
            for (std::int32_t i = 0; i < nv; ++i) {
                const double s = 1.0 / std::sqrt(alpha[i] + c);
                double* z = Z + std::size_t(i) * j;
                for (std::int32_t r = 0; r < j; ++r)
                    z[r] *= s;
            }
        }
        rotateColumns(EVEC, Z, V, 2 * std::int64_t(N), N, j, 1, nv);
        if (nv > 0) {
            if (kpd == 1) {
                if (st.backCholesky(0, EVEC, nv) < 0)
                    return message(27);
            } else if (ksb == -1) {
                if (st.backCholesky(1, EVEC, nv) < 0)
                    return message(27);
            } else if (zeros == 0) {
                for (std::int32_t i = 0; i < nv; ++i) {
                    double* x = EVEC + std::size_t(i) * N;
                    for (std::int32_t r = 0; r < N; ++r)
                        x[r] /= st.B[r];
                }
            } else {
                for (std::int32_t i = 0; i < nv; ++i) {
                    double* x = EVEC + std::size_t(i) * N;
                    if (st.apply(1, x, x, V, ksa, ksb) < 0)
                        return message(26, {i + 1});
                    const double s = 1.0 / alpha[i];
                    for (std::int32_t r = 0; r < N; ++r)
                        x[r] *= s;
                }
            }
        }
    }

    if (IPRINT >= 1 && lu > 0) {
        static const Layout head(
            "/ / / / 5X 14('*') / 5X 'Leaving ' A / 5X 14('*') / / "
            "5X 'No. of \"good\" eigenvalues             :' I5 / 5X 'No. of acceptable eigenvalues         :' I5 / "
            "5X 'No. of Lanczos steps (vectors)        :' I5 / 5X 'No. of eigenvalues smaller than shift :' I5 / "
            "5X 'No. of eigenvectors returned          :' I5 / 5X 'No. of zero elements in diag.(B)      :' I5 / "
            "5X 'No. of tridiag. eigv.problems solved  :' I5 / 5X 'No. of Lanczos vectors for which' / "
            "5X 'reorthogonalization was carried out   :' I5 / 5X 'No. of vector dot products performed' / "
            "5X 'during reorthogonalization            :' I5 / 5X 'No. of restarts                       :' I5");
        static const Layout tols("/ 5X 'Relative eigenvalue tolerance    :' 1P E11.3 / "
                                 "5X 'Diagonal decay tolerance         :' 1P E11.3");
        fwrite(lu, head, {name, MINF[0], MINF[1], MINF[2], MINF[3], MINF[4], MINF[5], MINF[6], MINF[7], MINF[8],
                          MINF[9]});
        fwrite(lu, tols, {TOL[0], TOL[1]});
        printTable(lu, EVL, RERR, step, j);
    }
    if (passes > 1 && lu > 0)
        fwrite(lu, allStepsLine, {j, passes});
}

} // namespace solvika::detail

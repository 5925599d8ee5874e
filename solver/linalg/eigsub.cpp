// Subspace iteration for A x = lambda B x on any eigensolver storage, and
// the segments the Lanczos driver shares with it.
#include "solver/linalg/eigcommon.h"
#include "solver/linalg/cancel.h"

#include "solver/linalg/dense.h"
#include "solver/linalg/dot.h"
#include "solver/linalg/eigdense.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace solvika::detail {

double machineEpsilon()
{
    static const double eps = std::pow(10.0, -MACHCN(3));
    return eps;
}

void defaultTolerances(double* TOL)
{
    const std::int32_t d = MACHCN(3);
    const double def = std::pow(10.0, -((2 * d) / 3));
    for (int i = 0; i < 2; ++i)
        if (TOL[i] <= 0.0)
            TOL[i] = def;
}

void eigenHeader(std::int32_t lu, bool warning, const char* name)
{
    if (lu <= 0)
        return;
    static const Layout warn("/ / / ' *** WARNING from  L I N  library routine ' A");
    static const Layout err("/ / / ' *** ERROR return from  L I N  library routine ' A");
    fwrite(lu, warning ? warn : err, {name});
}

void inputErrorLine(std::int32_t lu)
{
    static const Layout l("5X 'Illegal or inconsistent input parameters'");
    if (lu > 0)
        fwrite(lu, l);
}

void workShortage(std::int32_t lu, const char* name, const char* array, std::int64_t needed, std::int64_t given)
{
    if (lu <= 0)
        return;
    static const Layout l("5X 'Work array ' A ' too small :  needed' I12 '  given' I12");
    eigenHeader(lu, false, name);
    inputErrorLine(lu);
    fwrite(lu, l, {array, static_cast<long long>(needed), static_cast<long long>(given)});
}

void shiftMatrix(EigenStorage& st, double sigma, std::int32_t ksb)
{
    if (sigma == 0.0)
        return;
    if (ksb == 1) {
        const std::int64_t n = st.storedEntries();
        for (std::int64_t i = 0; i < n; ++i)
            st.A[i] -= sigma * st.B[i];
    } else {
        for (std::int32_t i = 1; i <= st.N; ++i)
            st.A[st.diagonal(i) - 1] -= sigma * st.B[i - 1];
    }
}

double diagonalOfB(const EigenStorage& st, std::int32_t i, std::int32_t ksb)
{
    return ksb == 2 ? st.B[i - 1] : st.B[st.diagonal(i) - 1];
}

void rotateColumns(double* Z, const double* Q, double* W, std::int64_t lw, std::int32_t n, std::int32_t k,
                   std::int32_t first, std::int32_t last)
{
    const std::int32_t ncol = last - first + 1;
    if (ncol < 1 || n < 1)
        return;
    const std::int32_t block = static_cast<std::int32_t>(std::clamp<std::int64_t>(lw / ncol, 1, n));
    for (std::int32_t r0 = 0; r0 < n; r0 += block) {
        const std::int32_t nr = std::min(block, n - r0);
        std::fill(W, W + std::size_t(nr) * ncol, 0.0);
        for (std::int32_t j = 0; j < ncol; ++j) {
            const double* q = Q + std::size_t(first - 1 + j) * k;
            double* w = W + std::size_t(j) * nr;
            for (std::int32_t l = 0; l < k; ++l) {
                const double c = q[l];
                if (c == 0.0)
                    continue;
                const double* z = Z + std::size_t(l) * n + r0;
                for (std::int32_t r = 0; r < nr; ++r)
                    w[r] += c * z[r];
            }
        }
        for (std::int32_t j = 0; j < ncol; ++j)
            std::copy(W + std::size_t(j) * nr, W + std::size_t(j + 1) * nr,
                      Z + std::size_t(first - 1 + j) * n + r0);
    }
}

namespace {

// Internal message codes of the subspace drivers and their IERR values.
std::int32_t subspaceFlag(int code)
{
    switch (code) {
    case 1: return 1;
    case 21: return -2;
    case 22: case 27: return -3;
    case 23: return -4;
    case 24: case 28: case 30: return -5;
    case 25: return -6;
    case 26: return -7;
    default: return -1; // 11-15, 20
    }
}

void subspaceMessage(std::int32_t lu, const char* name, int code, std::initializer_list<FArg> v = {})
{
    if (lu <= 0)
        return;
    static const Layout c1("5X 'Only' I5 '  eigenvalues accepted' / 5X 'in' I5 '  iterations' / "
                           "5X '(the requested number was' I5 '  )'");
    static const Layout c11("5X 'Dimension too small ( N =' I5 ' )'");
    static const Layout c12("5X 'Storage code :  KSA =' I5");
    static const Layout c13("5X 'KSA =' I5 '  and  NEVAL =' I5 '  are inconsistent'");
    static const Layout c14("5X 'NEVAL =' I5 5X 'NIV =' I5");
    static const Layout c15("5X 'Parameter  NIV (=' I5 ' ) exceeds the number of' / "
                            "5X 'finite eigenvalues (=' I4 ' )'");
    static const Layout c20("5X 'Inconsistent sparse control information'");
    static const Layout c21("5X 'Error during factorization of matrix A'");
    static const Layout c22("5X 'Matrix B is indefinite'");
    static const Layout c23("5X 'Error during matrix multiplication' / 5X 'or substitution in iteration no.' I4");
    static const Layout c24("5X 'Error during solution of reduced eigenproblem' / 5X 'in iteration no.' I4");
    static const Layout c25("5X 'No eigenvalues accepted (after' I4 ' iterations'");
    static const Layout c26("5X 'Problem has no finite eigenvalues'");
    static const Layout c27("5X 'Matrix B is not positive definite'");
    static const Layout c28("5X 'Error during solution of reduced (inverse) eigenproblem' / "
                            "5X 'in iteration no.' I4");
    static const Layout c30("5X 'Error during direct (GENHQL) solution'");
    eigenHeader(lu, code == 1, name);
    if (code >= 11 && code <= 20)
        inputErrorLine(lu);
    const Layout* l = nullptr;
    switch (code) {
    case 1: l = &c1; break;
    case 11: l = &c11; break;
    case 12: l = &c12; break;
    case 13: l = &c13; break;
    case 14: l = &c14; break;
    case 15: l = &c15; break;
    case 20: l = &c20; break;
    case 21: l = &c21; break;
    case 22: l = &c22; break;
    case 23: l = &c23; break;
    case 24: l = &c24; break;
    case 25: l = &c25; break;
    case 26: l = &c26; break;
    case 27: l = &c27; break;
    case 28: l = &c28; break;
    default: l = &c30; break;
    }
    fwrite(lu, *l, v);
}

void printTable(std::int32_t lu, const double* values, const double* errors, std::int32_t k)
{
    static const Layout header("/ / 15X 'Computed' 12X 'Relative' / 14X 'eigenvalues' 11X 'error' /");
    static const Layout row("I7 1P D23.14 D15.4");
    fwrite(lu, header);
    for (std::int32_t i = 1; i <= k; ++i)
        fwrite(lu, row, {i, values[i - 1], errors[i - 1]});
}

void parameterPrint(std::int32_t lu, const EigenStorage& st, const std::int32_t* MOP, std::int32_t NEVAL,
                    std::int32_t k, double sigma)
{
    static const Layout banner("'1' / 5X 43('*') / / 5X 'PRINT from  L I N  library routine ' A / "
                               "13X 'general eigenproblem by' / 15X 'SUBSPACE ITERATION' / / 5X 43('*') / /");
    static const Layout params("/ 5X 'Start vector code         :' I5 / 5X 'Requested eignevalues     :' I5 / "
                               "5X 'No. of iteration vectors  :' I5 / 5X 'Max. number of iterations :' I5 / "
                               "5X 'Pos.def. indicator        :' I5 / / 5X 'Shift value               :' 1P E11.3");
    static const Layout excluded("/ 5X 'Converged eigenvectors are excluded from iteration'");
    fwrite(lu, banner, {st.name()});
    st.printDimension(lu, MOP[1]);
    fwrite(lu, params, {MOP[2], NEVAL, k, MOP[3], MOP[4], sigma});
    if (MOP[5] == 1)
        fwrite(lu, excluded);
}

void summaryPrint(std::int32_t lu, const EigenStorage& st, const std::int32_t* MINF, const double* TOL,
                  const double* EVL, const double* RERR, std::int32_t k)
{
    static const Layout head("/ / / / 5X A / 5X 'Leaving ' A / 5X A / / "
                             "5X 'No. of eigenvalues accepted           :' I5 / "
                             "5X 'No. of eigenvalues smaller than SHIFT :' I5 / "
                             "5X 'No. of zero elements in diag.(B)      :' I5 / "
                             "5X 'No. of iterations                     :' I5");
    static const Layout tols("/ 5X 'Limit for relative eigenvalue error   :' 1P E11.3 / "
                             "5X 'Limit value for diagonal decay test' / "
                             "5X 'during factorization                  :' 1P E11.3");
    const std::string stars(8 + std::char_traits<char>::length(st.name()), '*');
    fwrite(lu, head, {stars, st.name(), stars, MINF[0], MINF[1], MINF[2], MINF[3]});
    fwrite(lu, tols, {TOL[0], TOL[1]});
    printTable(lu, EVL, RERR, k);
}

void iterationPrint(std::int32_t lu, std::int32_t it, std::int32_t m, double tol, const double* EVL,
                    const double* RERR, std::int32_t k)
{
    static const Layout head("/ / / / 5X 18('*') / 5X 'Iteration no.' I5 / 5X 18('*')");
    static const Layout acc("/ / 5X 'Number of accepted eigenvalues :' I5 '   (max. rel. error =' 1P E11.3 ' )'");
    fwrite(lu, head, {it});
    fwrite(lu, acc, {m, tol});
    printTable(lu, EVL, RERR, k);
}

// R = X^T Y over the open columns (upper triangle, then mirrored); closed
// columns i < nc keep only R(i, i) = EVL(i) (diagonal code 0) or 1.0.
void project(const double* X, const double* Y, double* R, const double* EVL, std::int32_t n, std::int32_t k,
             std::int32_t nc, bool unitDiagonal)
{
    std::fill(R, R + std::size_t(k) * k, 0.0);
    for (std::int32_t i = 1; i < nc; ++i)
        R[(i - 1) * std::size_t(k + 1)] = unitDiagonal ? 1.0 : EVL[i - 1];
    for (std::int32_t j = nc; j <= k; ++j) {
        const double* y = Y + std::size_t(j - 1) * n;
        for (std::int32_t i = nc; i <= j; ++i) {
            const double v = dot(X + std::size_t(i - 1) * n, y, n);
            R[(i - 1) + std::size_t(j - 1) * k] = v;
            R[(j - 1) + std::size_t(i - 1) * k] = v;
        }
    }
}

} // namespace

void subspaceIteration(EigenStorage& st, double* TOL, const std::int32_t* MOP, std::int32_t* MINF,
                       double* EVL, double* RERR, double* EVEC, double* RWA, std::int64_t LRWA,
                       std::int64_t extraRwa, double& SHIFT, std::int32_t NEVAL, std::int32_t& NIV,
                       std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR)
{
    const std::int32_t N = st.N;
    const std::int32_t lu = IPRINT < 0 ? 0 : LUNIT;
    st.lunit = lu;
    const char* name = st.name();
    const std::int32_t KSA = MOP[0];
    const std::int32_t KSB = MOP[1];
    IERR = 0;
    std::fill(MINF, MINF + 4, 0);
    auto fail = [&](int code, std::initializer_list<FArg> v = {}) {
        IERR = subspaceFlag(code);
        subspaceMessage(lu, name, code, v);
    };

    if (KSA < 0)
        SHIFT = 0.0;
    const double sigma = SHIFT;
    if (IPRINT >= 1 && NEVAL > 0 && lu > 0)
        parameterPrint(lu, st, MOP, NEVAL, NIV, sigma);
    defaultTolerances(TOL);
    const std::int32_t maxit = MOP[3] <= 0 ? 20 : MOP[3];

    if (N < 1)
        return fail(11, {N});
    if (KSA != 1 && KSA != -1)
        return fail(12, {KSA});
    if (NEVAL < 0)
        return fail(14, {NEVAL, NIV});
    if (NEVAL == 0) {
        if (KSA == -1)
            return fail(13, {KSA, NEVAL});
        if (sigma != 0.0) {
            if (KSB != 1 && KSB != 2)
                return fail(21);
            if (KSB == 2 && !st.findDiagonal())
                return fail(20);
        }
        shiftMatrix(st, sigma, KSB);
        std::int32_t neg = 0;
        if (st.factorLdl(TOL[1], neg) < 0)
            return fail(21);
        MINF[1] = neg;
        return;
    }
    if (KSB != 1 && KSB != 2)
        return fail(12, {KSA});
    if (!st.findDiagonal())
        return fail(20);

    // Zero and negative diagonal entries of B.
    std::int32_t zeros = 0;
    std::int32_t negatives = 0;
    for (std::int32_t i = 1; i <= N; ++i) {
        const double b = diagonalOfB(st, i, KSB);
        if (b == 0.0)
            ++zeros;
        else if (b < 0.0)
            ++negatives;
    }
    if (negatives > 0 && MOP[4] == 2)
        return fail(22);
    const std::int32_t nfin = KSB == 2 ? N - zeros : N;
    if (nfin == 0)
        return fail(26);
    MINF[2] = zeros;

    if (N == 1) {
        // One equation: no factorisation or iteration. A zero or negative
        // B has no finite eigenvalue or no real normalised eigenvector.
        const double b = st.B[0];
        if (b == 0.0)
            return fail(26);
        if (b < 0.0)
            return fail(27);
        EVL[0] = st.A[0] / b;
        EVEC[0] = 1.0 / std::sqrt(b);
        RERR[0] = 0.0;
        MINF[0] = 1;
        MINF[1] = EVL[0] < sigma ? 1 : 0;
        if (IPRINT >= 1 && lu > 0)
            summaryPrint(lu, st, MINF, TOL, EVL, RERR, 1);
        return;
    }

    const double eps = machineEpsilon();
    if (N <= 6)
        NIV = std::min(NIV, N);
    if (N <= 6 && KSA == 1) {
        // Dense path: the whole problem at once.
        const std::int32_t k = NIV;
        if (LRWA < 114 + 2 * N) {
            IERR = -1;
            return workShortage(lu, name, "RWA", 114 + 2 * N + extraRwa, LRWA + extraRwa);
        }
        double* ev = RWA;
        double* dA = RWA + 6;
        double* dB = RWA + 42;
        double* dV = RWA + 78;
        double* dW = RWA + 114;
        if (st.toDense(dA, dB, KSB) < 0)
            return fail(20);
        double gtol = -1.0;
        std::int32_t ierr = 0;
        std::int32_t infinite = 0;
        if (MOP[4] == 2) {
            if (zeros != 0)
                return fail(27);
            GENHQL(dA, dB, ev, dV, dW, gtol, N, N, 2, lu, ierr);
            if (ierr < 0)
                return fail(30);
        } else {
            GENHQL(dB, dA, ev, dV, dW, gtol, N, N, 4, lu, ierr);
            if (ierr < 0)
                return fail(30);
            double mmin = ev[0];
            double mmax = 0.0;
            for (std::int32_t i = 0; i < N; ++i) {
                mmin = std::min(mmin, ev[i]);
                mmax = std::max(mmax, std::abs(ev[i]));
            }
            const double m0 = std::min(TOL[0], mmin);
            const double c = m0 < TOL[0] ? std::abs(m0) + TOL[0] : 0.0;
            for (std::int32_t i = 0; i < N; ++i) {
                SCALEV(dV + i * N, dV + i * N, N, 1, 1.0 / std::sqrt(ev[i] + c));
                // mu = 0 is an infinite eigenvalue (sorted last by |mu|).
                ev[i] = std::abs(ev[i]) <= eps * mmax ? std::numeric_limits<double>::infinity() : 1.0 / ev[i];
            }
        }
        for (std::int32_t i = 0; i < k; ++i) {
            EVL[i] = ev[i];
            RERR[i] = 0.0;
            if (std::isinf(ev[i])) {
                RERR[i] = 1.0;
                ++infinite;
            }
        }
        std::copy(dV, dV + std::size_t(N) * k, EVEC);
        if (sigma != 0.0) {
            std::int32_t below = 0;
            for (std::int32_t i = 0; i < k; ++i) {
                if (EVL[i] < sigma)
                    ++below;
                EVL[i] -= sigma;
            }
            MINF[1] = below;
            EIGSRT(EVL, EVEC, N, k, k, 2);
            for (std::int32_t i = 0; i < k; ++i)
                EVL[i] += sigma;
        }
        MINF[0] = k - infinite;
        if (IPRINT >= 1 && lu > 0)
            summaryPrint(lu, st, MINF, TOL, EVL, RERR, k);
        return;
    }

    const std::int32_t k = NIV;
    if ((NEVAL > 1 && k == NEVAL) || k < NEVAL)
        return fail(14, {NEVAL, k});
    if (nfin < k)
        return fail(15, {k, nfin});
    const std::int64_t nk = std::int64_t(N) * k;
    const std::int64_t kk = std::int64_t(k) * k;
    const std::int64_t scratch = std::max<std::int64_t>(2 * k, N);
    const std::int64_t need = nk + 3 * kk + k + scratch;
    if (LRWA < need) {
        IERR = -1;
        return workShortage(lu, name, "RWA", need + extraRwa, LRWA + extraRwa);
    }
    double* Y = RWA;
    double* Q = Y + nk;
    double* theta = Q + kk;
    double* Ar = theta + k;
    double* Br = Ar + kk;
    double* S = Br + kk;
    const std::int64_t ls = LRWA - (S - RWA);
    double* X = EVEC;

    std::fill(EVL, EVL + k, 0.0);
    double seed = kEigenSeed;
    const std::int32_t start = std::abs(MOP[2]);
    if (start == 1 || (start == 2 && KSA == -1)) {
        for (std::int32_t j = 0; j < k; ++j)
            RANVEC(X + std::size_t(j) * N, seed, N);
    } else if (start == 2) {
        double* ratio = S;
        if (k > 1) {
            std::fill(X, X + nk, 0.0);
            std::fill(X, X + N, 1.0);
            double best = 0.0;
            for (std::int32_t i = 1; i <= N; ++i) {
                const double a = st.A[st.diagonal(i) - 1];
                ratio[i - 1] = a == 0.0 ? best : std::abs(diagonalOfB(st, i, KSB) / a);
                best = std::max(best, ratio[i - 1]);
            }
            for (std::int32_t j = 2; j <= k - 1; ++j) {
                std::int32_t h = 0;
                double rmax = 0.0;
                for (std::int32_t i = 1; i <= N; ++i)
                    if (ratio[i - 1] > rmax) {
                        rmax = ratio[i - 1];
                        h = i;
                    }
                if (h == 0)
                    h = j;
                X[(h - 1) + std::size_t(j - 1) * N] = 1.0;
                ratio[h - 1] = 0.0;
            }
        }
        RANVEC(X + std::size_t(k - 1) * N, seed, N);
    }

    if (KSA == 1) {
        shiftMatrix(st, sigma, KSB);
        std::int32_t neg = 0;
        if (st.factorLdl(TOL[1], neg) < 0)
            return fail(21);
        MINF[1] = neg;
    }

    std::int32_t nc = 1;
    std::int32_t m = 0;
    bool done = false;
    if (st.multiplyB(X, Y, k, KSB, S) < 0)
        return fail(23, {0});
    const bool exclusion = MOP[5] == 1;
    const bool posDefB = MOP[4] == 2;
    std::int32_t it = 1;
    for (; it <= maxit && !done; ++it) {
        checkCancel();
        const std::int32_t open = k - nc + 1;
        double* Xo = X + std::size_t(nc - 1) * N;
        std::copy(Y + std::size_t(nc - 1) * N, Y + nk, Xo);
        if (st.solve(Xo, open) < 0)
            return fail(23, {it});
        if (exclusion && nc > 1) {
            // Keep the open vectors B-orthogonal to the frozen eigenvectors
            // (Y holds B times them); inverse iteration would otherwise
            // draw the open vectors back onto the frozen ones.
            for (std::int32_t c = 1; c < nc; ++c) {
                const double* xc = X + std::size_t(c - 1) * N;
                const double* yc = Y + std::size_t(c - 1) * N;
                const double bnorm = dot(yc, xc, N);
                if (bnorm == 0.0)
                    continue;
                for (std::int32_t j = nc; j <= k; ++j) {
                    double* x = X + std::size_t(j - 1) * N;
                    const double s = dot(yc, x, N) / bnorm;
                    for (std::int32_t r = 0; r < N; ++r)
                        x[r] -= s * xc[r];
                }
            }
        }
        project(X, Y, Ar, EVL, N, k, nc, false);
        if (st.multiplyB(X, Y, k, KSB, S) < 0)
            return fail(23, {it});
        project(X, Y, Br, EVL, N, k, nc, true);

        double gtol = -1.0;
        std::int32_t ierr = 0;
        if (posDefB) {
            GENHQL(Ar, Br, theta, Q, S, gtol, k, k, 2, lu, ierr);
            if (ierr < 0)
                return fail(24, {it});
        } else {
            for (std::int32_t i = 1; i < nc; ++i) {
                double& a = Ar[(i - 1) * std::size_t(k + 1)];
                if (a < 0.0) {
                    a = -a;
                    Br[(i - 1) * std::size_t(k + 1)] *= -1.0;
                }
            }
            double c2 = 0.0;
            if (sigma != 0.0 && MINF[1] >= 1) {
                for (std::int64_t i = 0; i < kk; ++i)
                    Ar[i] += sigma * Br[i];
                c2 = sigma;
            }
            GENHQL(Br, Ar, theta, Q, S, gtol, k, k, 2, lu, ierr);
            if (ierr < 0)
                return fail(28, {it});
            double mmin = theta[0];
            double mmax = 0.0;
            for (std::int32_t i = 0; i < k; ++i) {
                mmin = std::min(mmin, theta[i]);
                mmax = std::max(mmax, std::abs(theta[i]));
            }
            const double m0 = std::min(TOL[0], mmin);
            const double c = m0 < TOL[0] ? std::abs(m0) + TOL[0] : 0.0;
            for (std::int32_t i = 0; i < k; ++i) {
                const double mu = theta[i];
                SCALEV(Q + std::size_t(i) * k, Q + std::size_t(i) * k, k, 1, 1.0 / std::sqrt(mu + c));
                // mu = 0 stands for an infinite eigenvalue: sorted last, never accepted.
                theta[i] = std::abs(mu) <= eps * mmax ? std::numeric_limits<double>::infinity()
                                                      : 1.0 / (mu + c - c) - c2;
            }
            EIGSRT(theta, Q, k, k, k, 2);
        }

        for (std::int32_t i = nc; i <= k; ++i) {
            const double t = theta[i - 1];
            const double old = EVL[i - 1];
            double e;
            if (std::isinf(t))
                e = 1.0;
            else if (t == 0.0)
                e = old == 0.0 ? 0.0 : 1.0;
            else
                e = std::abs(t - old) / std::abs(t);
            EVL[i - 1] = t;
            RERR[i - 1] = e;
        }
        std::int32_t col = exclusion ? nc : 1;
        if (!exclusion)
            m = 0;
        while (col <= k && RERR[col - 1] <= TOL[0] && !std::isinf(EVL[col - 1])) {
            ++m;
            ++col;
        }
        MINF[0] = m;
        MINF[3] = it;

        bool rotated = false;
        if (exclusion) {
            if (m >= nc) {
                rotateColumns(X, Q, S, ls, N, k, nc, m);
                if (m >= NEVAL) {
                    done = true;
                } else {
                    // The frozen columns of Y become B times the frozen
                    // vectors, the open ones B times the improved vectors.
                    rotateColumns(Y, Q, S, ls, N, k, nc, k);
                    rotated = true;
                    nc = m + 1;
                }
            }
        } else if (m > 0 && (it == maxit || m >= NEVAL)) {
            rotateColumns(X, Q, S, ls, N, k, 1, m);
            done = m >= NEVAL;
        }
        if (!done && !rotated && it < maxit)
            rotateColumns(Y, Q, S, ls, N, k, nc, k);
        if (IPRINT > 1 && lu > 0)
            iterationPrint(lu, it, m, TOL[0], EVL, RERR, k);
    }

    if (!done) {
        if (m == 0)
            fail(25, {maxit});
        else
            fail(1, {m, maxit, NEVAL});
    }
    if (sigma != 0.0)
        for (std::int32_t i = 0; i < k; ++i)
            EVL[i] += sigma;
    if (IPRINT >= 1 && lu > 0)
        summaryPrint(lu, st, MINF, TOL, EVL, RERR, k);
}

} // namespace solvika::detail

// Dense generalised symmetric eigenproblem, tridiagonal QL and helpers.
#include "solver/linalg/eigdense.h"

#include "solver/linalg/dense.h"
#include "solver/linalg/dot.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace solvika {

namespace {

// Convergence limit of the QL iteration: 10^-d, d the decimal digits.
double qlEpsilon()
{
    static const double eps = std::pow(10.0, -MACHCN(3));
    return eps;
}

constexpr std::int32_t kMaxQlIterations = 30;

// Implicit QL on (D, E) as HHTRID leaves them; rotates the rows of Z when
// given. Returns 0 or -l for the eigenvalue l that did not converge.
std::int32_t implicitQl(double* d, double* e, double* z, std::int32_t n)
{
    if (n == 1)
        return 0;
    const double eps = qlEpsilon();
    for (std::int32_t i = 1; i < n; ++i)
        e[i - 1] = e[i];
    e[n - 1] = 0.0;
    auto D = [d](std::int32_t i) -> double& { return d[i - 1]; };
    auto E = [e](std::int32_t i) -> double& { return e[i - 1]; };
    for (std::int32_t l = 1; l <= n; ++l) {
        std::int32_t iter = 0;
        for (;;) {
            std::int32_t m = l;
            for (; m < n; ++m)
                if (std::abs(E(m)) <= eps * (std::abs(D(m)) + std::abs(D(m + 1))))
                    break;
            if (m == l)
                break;
            if (iter == kMaxQlIterations)
                return -l;
            ++iter;
            double g = (D(l + 1) - D(l)) / (2.0 * E(l));
            double r = std::sqrt(g * g + 1.0);
            g = D(m) - D(l) + E(l) / (g > 0.0 ? g + r : g - r);
            double s = 1.0;
            double c = 1.0;
            double p = 0.0;
            for (std::int32_t i = m - 1; i >= l; --i) {
                const double f = s * E(i);
                const double b = c * E(i);
                if (std::abs(f) < std::abs(g)) {
                    const double sp = f / g;
                    r = std::sqrt(sp * sp + 1.0);
                    E(i + 1) = g * r;
                    c = 1.0 / r;
                    s = sp * c;
                } else if (f != 0.0) {
                    const double cp = g / f;
                    r = std::sqrt(cp * cp + 1.0);
                    E(i + 1) = f * r;
                    s = 1.0 / r;
                    c = cp * s;
                } else {
                    // f = g = 0: nothing to rotate.
                    E(i + 1) = 0.0;
                    s = 0.0;
                    c = 1.0;
                }
                g = D(i + 1) - p;
                r = (D(i) - g) * s + 2.0 * c * b;
                p = s * r;
                D(i + 1) = g + p;
                g = c * r - b;
                if (z) {
                    double* zi = z + std::size_t(i - 1) * n;
                    double* zi1 = zi + n;
                    for (std::int32_t k = 0; k < n; ++k) {
                        const double t = zi1[k];
                        zi1[k] = s * zi[k] + c * t;
                        zi[k] = c * zi[k] - s * t;
                    }
                }
            }
            D(l) -= p;
            E(l) = g;
            E(m) = 0.0;
        }
    }
    return 0;
}

void writeQlError(bool vectors, std::int32_t ierr, std::int32_t n, std::int32_t LUNIT)
{
    if (LUNIT <= 0)
        return;
    static const Layout values("/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE QLS3D'");
    static const Layout withVectors("/ / / ' *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE QLS3DV'");
    static const Layout count("5X 'ONLY' I5 '  OF' I5 '  EIGENVALUES HAVE CONVERGED'");
    fwrite(LUNIT, vectors ? withVectors : values);
    fwrite(LUNIT, count, {-ierr - 1, n});
}

void writeGenhqlError(std::int32_t ierr, std::int32_t n, std::int32_t LUNIT)
{
    if (LUNIT <= 0)
        return;
    static const Layout header("/ / / ' *** ERROR RETURN from  L I N  LIBRARY routine GENHQL'");
    static const Layout dim("5X 'Illegal matrix dimension:  N =' I6");
    static const Layout notPd("5X 'Matrix B is not pos.definite'");
    static const Layout singular("5X 'Matrix B is singular or near-singular'");
    static const Layout noConv("5X 'An insufficient number of eigenvalues have converged'");
    fwrite(LUNIT, header);
    switch (ierr) {
    case -1: fwrite(LUNIT, dim, {n}); break;
    case -2: fwrite(LUNIT, notPd); break;
    case -3: fwrite(LUNIT, singular); break;
    default: fwrite(LUNIT, noConv); break;
    }
}

} // namespace

void FACHOL(double* A, double& TOL, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    if (TOL < 0.0)
        TOL = 1.0e-10;
    std::int32_t eq = 0;
    auto a = [A, N](std::int32_t i, std::int32_t j) -> double& { return A[(i - 1) + std::size_t(j - 1) * N]; };
    if (N < 1) {
        IERR = -1;
    } else if (a(1, 1) <= 0.0) {
        IERR = -2;
        eq = 1;
    } else {
        a(1, 1) = std::sqrt(a(1, 1));
        for (std::int32_t i = 2; i <= N && IERR == 0; ++i) {
            const double aii = a(i, i);
            if (aii <= 0.0) {
                IERR = -2;
                eq = i;
                break;
            }
            double* ci = &a(1, i);
            ci[0] /= a(1, 1);
            for (std::int32_t r = 2; r < i; ++r)
                ci[r - 1] = (ci[r - 1] - detail::dot(&a(1, r), ci, r - 1)) / a(r, r);
            const double s = aii - detail::dot(ci, ci, i - 1);
            if (s <= 0.0) {
                IERR = -2;
                eq = i;
            } else if (s < TOL * aii) {
                IERR = -3;
                eq = i;
            } else {
                a(i, i) = std::sqrt(s);
            }
        }
    }
    if (IERR == 0 || LUNIT <= 0)
        return;
    static const Layout header("/ / / ' *** ERROR RETURN from  L I N  LIBRARY routine FACHOL'");
    static const Layout dim("/ 5X 'Illegal matrix dimension:   N =' I6");
    static const Layout notPd("/ 5X 'Matrix is not pos.def.  (eqn.' I5 ' )'");
    static const Layout singular("/ 5X 'Singular or near-singular matrix  (eqn.' I5 ' )'");
    fwrite(LUNIT, header);
    if (IERR == -1)
        fwrite(LUNIT, dim, {N});
    else
        fwrite(LUNIT, IERR == -2 ? notPd : singular, {eq});
}

void TRIFWD(const double* U, double* X, std::int32_t N, std::int32_t M, std::int32_t code)
{
    if (N < 1 || M < 1)
        return;
    auto u = [U, N](std::int32_t i, std::int32_t j) { return U[(i - 1) + std::size_t(j - 1) * N]; };
    if (code >= 0) {
        // U^T y = x, forward: column i of U holds row i of U^T.
        for (std::int32_t c = 0; c < M; ++c) {
            double* x = X + std::size_t(c) * N;
            for (std::int32_t i = 1; i <= N; ++i)
                x[i - 1] = (x[i - 1] - detail::dot(&U[std::size_t(i - 1) * N], x, i - 1)) / u(i, i);
        }
        return;
    }
    if (M != N)
        return;
    // Each row y of X solves y U = x, that is U^T y^T = x^T.
    for (std::int32_t r = 0; r < N; ++r) {
        double* x = X + r;
        for (std::int32_t j = 1; j <= N; ++j) {
            double s = x[std::size_t(j - 1) * N];
            const double* uj = &U[std::size_t(j - 1) * N];
            for (std::int32_t k = 1; k < j; ++k)
                s -= uj[k - 1] * x[std::size_t(k - 1) * N];
            x[std::size_t(j - 1) * N] = s / u(j, j);
        }
    }
    for (std::int32_t j = 1; j <= N; ++j)
        for (std::int32_t i = 1; i < j; ++i) {
            double& upper = X[(i - 1) + std::size_t(j - 1) * N];
            double& lower = X[(j - 1) + std::size_t(i - 1) * N];
            upper = lower = 0.5 * (upper + lower);
        }
}

void TRIBCK(const double* U, double* X, std::int32_t N, std::int32_t M, std::int32_t code)
{
    if (N < 1 || M < 1 || code < 0)
        return;
    for (std::int32_t c = 0; c < M; ++c) {
        double* x = X + std::size_t(c) * N;
        for (std::int32_t i = N; i >= 1; --i) {
            const double* ui = &U[std::size_t(i - 1) * N];
            const double xi = x[i - 1] / ui[i - 1];
            x[i - 1] = xi;
            for (std::int32_t r = 0; r < i - 1; ++r)
                x[r] -= ui[r] * xi;
        }
    }
}

void HHTRID(double* C, double* D, double* E, double* W, std::int32_t N)
{
    if (N < 1)
        return;
    auto c = [C, N](std::int32_t i, std::int32_t j) -> double& { return C[(i - 1) + std::size_t(j - 1) * N]; };
    for (std::int32_t i = 1; i <= N; ++i)
        W[i - 1] = c(i, i);
    E[0] = 0.0;
    for (std::int32_t k = 1; k <= N - 2; ++k) {
        double* u = &c(1, k); // u(i) = c(i, k), rows k+1..N
        double ss = 0.0;
        for (std::int32_t i = k + 1; i <= N; ++i)
            ss += u[i - 1] * u[i - 1];
        const double sigma = std::sqrt(ss);
        const double a = u[k];
        const double s = a < 0.0 ? -1.0 : 1.0;
        if (sigma == 0.0) {
            // Nothing to annihilate: the reflector only flips row k+1.
            E[k] = 0.0;
            u[k] = std::sqrt(2.0);
        } else {
            E[k] = -s * sigma;
            const double uk1 = std::sqrt(1.0 + std::abs(a) / sigma);
            u[k] = uk1;
            for (std::int32_t i = k + 2; i <= N; ++i)
                u[i - 1] = s * u[i - 1] / (sigma * uk1);
        }
        // p = C u over the trailing block, K = u^T p / 2, q = p - K u.
        // D serves as p/q scratch for rows k+1..N (filled at the end).
        double* p = D;
        double K = 0.0;
        for (std::int32_t i = k + 1; i <= N; ++i)
            p[i - 1] = 0.0;
        for (std::int32_t j = k + 1; j <= N; ++j) {
            const double uj = u[j - 1];
            const double* cj = &c(1, j);
            for (std::int32_t i = k + 1; i <= N; ++i)
                p[i - 1] += cj[i - 1] * uj;
        }
        for (std::int32_t i = k + 1; i <= N; ++i)
            K += u[i - 1] * p[i - 1];
        K *= 0.5;
        for (std::int32_t i = k + 1; i <= N; ++i)
            p[i - 1] -= K * u[i - 1];
        for (std::int32_t j = k + 1; j <= N; ++j) {
            const double uj = u[j - 1];
            const double qj = p[j - 1];
            double* cj = &c(1, j);
            for (std::int32_t i = k + 1; i <= N; ++i)
                cj[i - 1] -= u[i - 1] * qj + p[i - 1] * uj;
        }
    }
    for (std::int32_t i = 1; i <= N; ++i) {
        D[i - 1] = c(i, i);
        c(i, i) = W[i - 1];
    }
    if (N >= 2)
        E[N - 1] = c(N, N - 1);
}

void QLS3DG(double* D, double* E, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = N >= 1 ? implicitQl(D, E, nullptr, N) : 0;
    if (IERR < 0)
        writeQlError(false, IERR, N, LUNIT);
}

void QLS3DV(double* D, double* E, double* Z, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    if (N < 1)
        return;
    std::fill(Z, Z + std::size_t(N) * N, 0.0);
    for (std::int32_t i = 0; i < N; ++i)
        Z[i + std::size_t(i) * N] = 1.0;
    IERR = implicitQl(D, E, Z, N);
    if (IERR < 0)
        writeQlError(true, IERR, N, LUNIT);
}

std::int32_t IXEXTR(const double* V, std::int32_t I, std::int32_t N, std::int32_t code)
{
    if (N < I || code < 1 || code > 4)
        return 0;
    std::int32_t best = I;
    for (std::int32_t i = I + 1; i <= N; ++i) {
        const double v = V[i - 1];
        const double b = V[best - 1];
        bool better = false;
        switch (code) {
        case 1: better = v < b; break;
        case 2: better = std::abs(v) < std::abs(b); break;
        case 3: better = v > b; break;
        default: better = std::abs(v) > std::abs(b); break;
        }
        if (better)
            best = i;
    }
    return best;
}

void EIGSR1(double* V, std::int32_t N, std::int32_t code)
{
    if (N < 2 || code < 1 || code > 4)
        return;
    for (std::int32_t i = 1; i < N; ++i) {
        const std::int32_t c = IXEXTR(V, i, N, code);
        if (c > i)
            std::swap(V[i - 1], V[c - 1]);
    }
}

void EIGSRT(double* V, double* X, std::int32_t ROWS, std::int32_t M, std::int32_t NPLACE,
            std::int32_t code)
{
    if (M < 2 || ROWS < M || code < 1 || code > 4)
        return;
    const std::int32_t n = std::min(NPLACE, M);
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t c = IXEXTR(V, i, M, code);
        if (c > i) {
            std::swap(V[i - 1], V[c - 1]);
            std::swap_ranges(X + std::size_t(i - 1) * ROWS, X + std::size_t(i) * ROWS,
                             X + std::size_t(c - 1) * ROWS);
        }
    }
}

void RANVEC(double* X, double& SEED, std::int32_t N)
{
    if (N < 1)
        return;
    constexpr double kRestart = 0.3141592653589793;
    double r = SEED;
    for (std::int32_t i = 0; i < N; ++i) {
        if (r == 0.0)
            r = kRestart;
        double t = r * r / N;
        if (t == 0.0 || !std::isfinite(t)) {
            // The scaling loop below would never reach 1 from here.
            r = kRestart;
            t = r * r / N;
        }
        do
            t *= 10.0;
        while (t < 1.0);
        r = t - std::trunc(t);
        if (r > 0.5)
            r -= 1.0;
        X[i] = r;
    }
    SEED = r;
}

void GENHQL(double* A, double* B, double* EVL, double* EVEC, double* W, double& TOL, std::int32_t N,
            std::int32_t NEVEC, std::int32_t ISORT, std::int32_t LUNIT, std::int32_t& IERR)
{
    IERR = 0;
    if (N < 1) {
        IERR = -1;
        writeGenhqlError(IERR, N, LUNIT);
        return;
    }
    if (N == 1) {
        if (B[0] < 0.0)
            IERR = -2;
        else if (B[0] == 0.0)
            IERR = -3;
        if (IERR < 0) {
            writeGenhqlError(IERR, N, LUNIT);
            return;
        }
        EVL[0] = A[0] / B[0];
        if (NEVEC == 1)
            EVEC[0] = 1.0 / std::sqrt(B[0]);
        return;
    }
    FACHOL(B, TOL, N, LUNIT, IERR);
    if (IERR < 0) {
        writeGenhqlError(IERR, N, LUNIT);
        return;
    }
    TRIFWD(B, A, N, N, 1);
    TRIFWD(B, A, N, N, -1);
    double* e = W;
    HHTRID(A, EVL, e, W + N, N);
    if (NEVEC == N) {
        std::int32_t ql = 0;
        QLS3DV(EVL, e, EVEC, N, LUNIT, ql);
        if (ql < 0) {
            IERR = -4;
            writeGenhqlError(IERR, N, LUNIT);
            return;
        }
        EIGSRT(EVL, EVEC, N, N, N, ISORT);
        if (N > 2) {
            for (std::int32_t j = 0; j < N; ++j) {
                double* z = EVEC + std::size_t(j) * N;
                for (std::int32_t k = N - 2; k >= 1; --k) {
                    const double* u = A + std::size_t(k - 1) * N; // rows k+1..N
                    const double s = detail::dot(u + k, z + k, N - k);
                    for (std::int32_t i = k; i < N; ++i)
                        z[i] -= u[i] * s;
                }
            }
        }
        TRIBCK(B, EVEC, N, N, 1);
    } else {
        std::int32_t ql = 0;
        QLS3DG(EVL, e, N, LUNIT, ql);
        if (ql < 0) {
            IERR = -4;
            writeGenhqlError(IERR, N, LUNIT);
            return;
        }
        EIGSR1(EVL, N, ISORT);
    }
}

} // namespace solvika

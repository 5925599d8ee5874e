// Test problems and dense references for the iterative eigensolvers.
#pragma once

#include "solver/solvika.h"
#include "tests/solvika/dense_oracle.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace solvika::test {

inline constexpr int kEigenUnit = 78;

struct LogCapture {
    std::string text;
    LogCapture() { attachSink(kEigenUnit, &text); }
    ~LogCapture() { detachSink(kEigenUnit); }
};

// A x = lambda B x on one skyline profile: A positive definite, B
// symmetric (indefinite unless `posDefB`), both banded.
struct PencilProblem {
    int n = 0;
    Dense a, b;
    Skyline sa, sb;
};

inline PencilProblem bandedPencil(int n, int band, bool posDefB, std::mt19937& rng)
{
    PencilProblem p;
    p.n = n;
    p.sa = randomSkyline(n, band, false, rng);
    p.a = p.sa.dense();
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Dense b(n, n);
    for (int c = 1; c <= n; ++c) {
        for (int r = p.sa.top[c - 1]; r < c; ++r)
            b(r, c) = b(c, r) = u(rng);
        b(c, c) = posDefB ? band + 2.0 + std::abs(u(rng)) : u(rng);
    }
    p.b = b;
    p.sb = toSkyline(b, p.sa.top);
    return p;
}

// A buckling-like pencil with well separated low eigenvalues: A the
// fourth-difference (bending) matrix of n interior nodes, B the assembled
// second-difference (geometric) matrix of the n + 1 segments with the
// segment forces `force(e)`, e = 0..n.
template <class Force>
inline PencilProblem beamPencil(int n, Force force)
{
    PencilProblem p;
    p.n = n;
    Dense d2(n, n);
    for (int i = 1; i <= n; ++i) {
        d2(i, i) = -2.0;
        if (i > 1)
            d2(i, i - 1) = d2(i - 1, i) = 1.0;
    }
    p.a = multiply(d2, d2);
    Dense b(n, n);
    for (int e = 0; e <= n; ++e) {
        const double s = force(e);
        if (e >= 1)
            b(e, e) += s;
        if (e + 1 <= n)
            b(e + 1, e + 1) += s;
        if (e >= 1 && e + 1 <= n)
            b(e, e + 1) = b(e + 1, e) = -s;
    }
    p.b = b;
    std::vector<int> top(n);
    for (int c = 1; c <= n; ++c)
        top[c - 1] = std::max(1, c - 2);
    p.sa = toSkyline(p.a, top);
    p.sb = toSkyline(p.b, top);
    return p;
}

// Compression everywhere (B positive definite), or tension over the last
// part (B indefinite: eigenvalues of both signs).
inline PencilProblem beamPencil(int n, bool indefinite)
{
    return beamPencil(n, [n, indefinite](int e) { return indefinite && e > (6 * n) / 10 ? -0.8 : 1.0; });
}

// Finite eigenvalues of A x = lambda B x (A positive definite) by the
// dense oracle, ordered by increasing |lambda - shift|.
inline std::vector<double> pencilEigenvalues(const Dense& a, const Dense& b, double shift = 0.0)
{
    const Dense l = cholesky(a);
    const Dense li = inverse(l);
    const std::vector<double> mu = symmetricEigenvalues(multiply(li, multiply(b, transpose(li))));
    double mmax = 0.0;
    for (double m : mu)
        mmax = std::max(mmax, std::abs(m));
    std::vector<double> lambda;
    for (double m : mu)
        if (std::abs(m) > 1e-12 * mmax)
            lambda.push_back(1.0 / m);
    std::stable_sort(lambda.begin(), lambda.end(),
                     [shift](double x, double y) { return std::abs(x - shift) < std::abs(y - shift); });
    return lambda;
}

// Largest ||A x - lambda B x|| / (|lambda| ||B x||) over the first m pairs
// (x = column j of the N x m block); the largest |x_i^T B x_j| relative to
// sqrt(|x_i^T B x_i| |x_j^T B x_j|), i != j; the largest |x^T B x - 1|.
struct PairCheck {
    double residual = 0.0;
    double orthogonality = 0.0;
    double normalisation = 0.0;
};

inline PairCheck checkPairs(const Dense& a, const Dense& b, const double* evl, const double* evec, int m)
{
    const int n = a.rows;
    Dense x(n, m);
    std::copy(evec, evec + std::size_t(n) * m, x.v.begin());
    const Dense ax = multiply(a, x);
    const Dense bx = multiply(b, x);
    PairCheck c;
    for (int j = 1; j <= m; ++j) {
        double r = 0.0;
        double nb = 0.0;
        for (int i = 1; i <= n; ++i) {
            r += std::pow(ax(i, j) - evl[j - 1] * bx(i, j), 2);
            nb += bx(i, j) * bx(i, j);
        }
        c.residual = std::max(c.residual, std::sqrt(r) / (std::abs(evl[j - 1]) * std::sqrt(nb)));
    }
    const Dense g = multiply(transpose(x), bx);
    for (int j = 1; j <= m; ++j) {
        c.normalisation = std::max(c.normalisation, std::abs(g(j, j) - 1.0));
        for (int i = 1; i < j; ++i)
            c.orthogonality =
                std::max(c.orthogonality, std::abs(g(i, j)) / std::sqrt(std::abs(g(i, i) * g(j, j))));
    }
    return c;
}

inline int countBelow(const std::vector<double>& v, double s)
{
    return static_cast<int>(std::count_if(v.begin(), v.end(), [s](double x) { return x < s; }));
}

} // namespace solvika::test

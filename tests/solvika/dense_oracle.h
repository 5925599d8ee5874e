// Dense reference computations for the linear-algebra tests: plain
// column-major matrices and straightforward loops, no cleverness.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace solvika::test {

// Column-major n x m matrix with 1-based access.
struct Dense {
    int rows = 0;
    int cols = 0;
    std::vector<double> v;

    Dense() = default;
    Dense(int r, int c) : rows(r), cols(c), v(std::size_t(r) * c, 0.0) {}
    double& operator()(int i, int j) { return v[(i - 1) + std::size_t(j - 1) * rows]; }
    double operator()(int i, int j) const { return v[(i - 1) + std::size_t(j - 1) * rows]; }
    double* data() { return v.data(); }
    const double* data() const { return v.data(); }
};

inline Dense identity(int n)
{
    Dense d(n, n);
    for (int i = 1; i <= n; ++i)
        d(i, i) = 1.0;
    return d;
}

inline Dense multiply(const Dense& a, const Dense& b)
{
    Dense c(a.rows, b.cols);
    for (int j = 1; j <= b.cols; ++j)
        for (int k = 1; k <= a.cols; ++k)
            for (int i = 1; i <= a.rows; ++i)
                c(i, j) += a(i, k) * b(k, j);
    return c;
}

inline Dense transpose(const Dense& a)
{
    Dense t(a.cols, a.rows);
    for (int j = 1; j <= a.cols; ++j)
        for (int i = 1; i <= a.rows; ++i)
            t(j, i) = a(i, j);
    return t;
}

inline Dense randomMatrix(int r, int c, std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Dense d(r, c);
    for (double& x : d.v)
        x = u(rng);
    return d;
}

inline Dense randomSymmetric(int n, std::mt19937& rng)
{
    Dense d = randomMatrix(n, n, rng);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i < j; ++i)
            d(j, i) = d(i, j);
    return d;
}

// Symmetric positive definite: random symmetric plus a dominant diagonal.
inline Dense randomSpd(int n, std::mt19937& rng)
{
    Dense d = randomSymmetric(n, rng);
    for (int i = 1; i <= n; ++i)
        d(i, i) = std::fabs(d(i, i)) + n;
    return d;
}

inline double maxAbsDiff(const Dense& a, const Dense& b)
{
    double m = 0.0;
    for (std::size_t i = 0; i < a.v.size(); ++i)
        m = std::max(m, std::fabs(a.v[i] - b.v[i]));
    return m;
}

inline double maxAbsDiff(const std::vector<double>& a, const std::vector<double>& b)
{
    double m = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        m = std::max(m, std::fabs(a[i] - b[i]));
    return m;
}

// Solves a x = b by Gaussian elimination with partial pivoting.
inline std::vector<double> solveDense(Dense a, std::vector<double> b)
{
    const int n = a.rows;
    for (int k = 1; k <= n; ++k) {
        int p = k;
        for (int i = k + 1; i <= n; ++i)
            if (std::fabs(a(i, k)) > std::fabs(a(p, k)))
                p = i;
        for (int j = 1; j <= n; ++j)
            std::swap(a(k, j), a(p, j));
        std::swap(b[k - 1], b[p - 1]);
        for (int i = k + 1; i <= n; ++i) {
            const double f = a(i, k) / a(k, k);
            for (int j = k; j <= n; ++j)
                a(i, j) -= f * a(k, j);
            b[i - 1] -= f * b[k - 1];
        }
    }
    for (int i = n; i >= 1; --i) {
        double s = b[i - 1];
        for (int j = i + 1; j <= n; ++j)
            s -= a(i, j) * b[j - 1];
        b[i - 1] = s / a(i, i);
    }
    return b;
}


// Eigenvalues of a symmetric n x n column-major matrix by cyclic Jacobi
// rotations, ascending; the sweeps stop once the squared off-diagonal sum
// falls below `offTol`.
inline std::vector<double> jacobiEigenvalues(std::vector<double> a, int n, double offTol = 1e-30)
{
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0.0;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < j; ++i)
                off += a[i + std::size_t(n) * j] * a[i + std::size_t(n) * j];
        if (off < offTol)
            break;
        for (int p = 0; p < n; ++p)
            for (int q = p + 1; q < n; ++q) {
                const double apq = a[p + std::size_t(n) * q];
                if (std::fabs(apq) < 1e-300)
                    continue;
                const double theta = (a[q + std::size_t(n) * q] - a[p + std::size_t(n) * p]) / (2.0 * apq);
                const double t = (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < n; ++k) {
                    const double akp = a[k + std::size_t(n) * p], akq = a[k + std::size_t(n) * q];
                    a[k + std::size_t(n) * p] = c * akp - s * akq;
                    a[k + std::size_t(n) * q] = s * akp + c * akq;
                }
                for (int k = 0; k < n; ++k) {
                    const double apk = a[p + std::size_t(n) * k], aqk = a[q + std::size_t(n) * k];
                    a[p + std::size_t(n) * k] = c * apk - s * aqk;
                    a[q + std::size_t(n) * k] = s * apk + c * aqk;
                }
            }
    }
    std::vector<double> e(n);
    for (int i = 0; i < n; ++i)
        e[i] = a[i + std::size_t(n) * i];
    std::sort(e.begin(), e.end());
    return e;
}

// Eigenvalues of a symmetric matrix, ascending.
inline std::vector<double> symmetricEigenvalues(Dense a)
{
    return jacobiEigenvalues(std::move(a.v), a.rows);
}

// Lower-triangular L with a = L L^T (a positive definite).
inline Dense cholesky(const Dense& a)
{
    const int n = a.rows;
    Dense l(n, n);
    for (int j = 1; j <= n; ++j) {
        double s = a(j, j);
        for (int k = 1; k < j; ++k)
            s -= l(j, k) * l(j, k);
        l(j, j) = std::sqrt(s);
        for (int i = j + 1; i <= n; ++i) {
            double t = a(i, j);
            for (int k = 1; k < j; ++k)
                t -= l(i, k) * l(j, k);
            l(i, j) = t / l(j, j);
        }
    }
    return l;
}

// Inverse of a nonsingular matrix, column by column.
inline Dense inverse(const Dense& a)
{
    const int n = a.rows;
    Dense inv(n, n);
    for (int j = 1; j <= n; ++j) {
        std::vector<double> e(n, 0.0);
        e[j - 1] = 1.0;
        const std::vector<double> x = solveDense(a, e);
        for (int i = 1; i <= n; ++i)
            inv(i, j) = x[i - 1];
    }
    return inv;
}

// A symmetric matrix in skyline storage: column c holds rows top[c-1]..c.
struct Skyline {
    int n = 0;
    std::vector<int> top;
    std::vector<std::int32_t> msky;
    std::vector<double> a;

    std::int32_t pos(int r, int c) const { return msky[c - 1] - (c - r); } // 1-based
    double at(int r, int c) const { return a[pos(r, c) - 1]; }
    double& at(int r, int c) { return a[pos(r, c) - 1]; }
    bool inProfile(int r, int c) const { return r >= top[c - 1] && r <= c; }

    Dense dense() const
    {
        Dense d(n, n);
        for (int c = 1; c <= n; ++c)
            for (int r = top[c - 1]; r <= c; ++r)
                d(r, c) = d(c, r) = at(r, c);
        return d;
    }
};

// The profile given by the column tops, filled from the upper triangle of d.
inline Skyline toSkyline(const Dense& d, const std::vector<int>& top)
{
    Skyline s;
    s.n = d.rows;
    s.top = top;
    s.msky.resize(s.n);
    std::int32_t p = 0;
    for (int c = 1; c <= s.n; ++c) {
        p += c - top[c - 1] + 1;
        s.msky[c - 1] = p;
    }
    s.a.assign(p, 0.0);
    for (int c = 1; c <= s.n; ++c)
        for (int r = top[c - 1]; r <= c; ++r)
            s.at(r, c) = d(r, c);
    return s;
}

// Random column tops within a band, some columns holding only the diagonal.
inline std::vector<int> randomTops(int n, int band, std::mt19937& rng)
{
    std::vector<int> top(n);
    for (int c = 1; c <= n; ++c) {
        std::uniform_int_distribution<int> u(std::max(1, c - band), c);
        top[c - 1] = (c % 5 == 3) ? c : u(rng);
    }
    return top;
}

// Random symmetric matrix whose nonzeros lie in the profile; the diagonal
// gets `shift` added with alternating sign when `indefinite`.
inline Skyline randomSkyline(int n, int band, bool indefinite, std::mt19937& rng)
{
    const std::vector<int> top = randomTops(n, band, rng);
    Dense d(n, n);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int c = 1; c <= n; ++c) {
        for (int r = top[c - 1]; r < c; ++r)
            d(r, c) = d(c, r) = u(rng);
        const double shift = std::fabs(u(rng)) + band + 2.0;
        d(c, c) = indefinite && c % 3 == 0 ? -shift : shift;
    }
    return toSkyline(d, top);
}

} // namespace solvika::test

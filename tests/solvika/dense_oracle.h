// Dense reference computations for the linear-algebra tests: plain
// column-major matrices and straightforward loops, no cleverness.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
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

} // namespace solvika::test

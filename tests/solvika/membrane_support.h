// Small dense oracles for the membrane element tests: symmetric eigenvalues
// (rank), linear solves, Gauss-Legendre and triangle quadrature.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "tests/solvika/dense_oracle.h"

namespace membrane_test {

using Vec = std::vector<double>;

// Plane-stress isotropic elasticity, full 3 x 3 column-major.
inline std::array<double, 9> isoFull(double E, double nu) {
    const double f = E / (1.0 - nu * nu);
    return {f, f * nu, 0.0, f * nu, f, 0.0, 0.0, 0.0, f * (1.0 - nu) / 2.0};
}
// An anisotropic full matrix (all couplings non-zero), symmetric positive definite.
inline std::array<double, 9> anisoFull() {
    return {210.0, 60.0, 15.0, 60.0, 150.0, -10.0, 15.0, -10.0, 55.0};
}
// Packed order C11, C22, C33, C12, C13, C23.
inline std::array<double, 6> packed(const std::array<double, 9>& C) {
    return {C[0], C[4], C[8], C[3], C[6], C[7]};
}
inline std::array<double, 3> applyC(const std::array<double, 9>& C, const double* e) {
    return {C[0] * e[0] + C[3] * e[1] + C[6] * e[2], C[1] * e[0] + C[4] * e[1] + C[7] * e[2],
            C[2] * e[0] + C[5] * e[1] + C[8] * e[2]};
}

// Eigenvalues of a symmetric n x n matrix (cyclic Jacobi).
inline Vec symEigen(Vec A, int n) { return solvika::test::jacobiEigenvalues(std::move(A), n); }

// Number of eigenvalues above rtol times the largest in magnitude.
inline int rankSym(const double* K, int n, double rtol = 1e-9) {
    const Vec ev = symEigen(Vec(K, K + n * n), n);
    double big = 0.0;
    for (double e : ev) big = std::max(big, std::fabs(e));
    int r = 0;
    for (double e : ev)
        if (std::fabs(e) > rtol * big) ++r;
    return r;
}

inline double maxAsym(const double* K, int n) {
    double m = 0.0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) m = std::max(m, std::fabs(K[i + n * j] - K[j + n * i]));
    return m;
}

// y = A x for an m x n column-major A.
inline Vec matVec(const double* A, int m, int n, const double* x) {
    Vec y(m, 0.0);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < m; ++i) y[i] += A[i + m * j] * x[j];
    return y;
}
inline double quadForm(const double* K, int n, const double* u) {
    const Vec y = matVec(K, n, n, u);
    double s = 0.0;
    for (int i = 0; i < n; ++i) s += u[i] * y[i];
    return s;
}

// Solves A x = b (n x n, partial pivoting).
inline Vec solve(Vec A, Vec b, int n) {
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(A[i + n * k]) > std::fabs(A[p + n * k])) p = i;
        for (int j = 0; j < n; ++j) std::swap(A[k + n * j], A[p + n * j]);
        std::swap(b[k], b[p]);
        for (int i = k + 1; i < n; ++i) {
            const double f = A[i + n * k] / A[k + n * k];
            for (int j = k; j < n; ++j) A[i + n * j] -= f * A[k + n * j];
            b[i] -= f * b[k];
        }
    }
    for (int i = n - 1; i >= 0; --i) {
        for (int j = i + 1; j < n; ++j) b[i] -= A[i + n * j] * b[j];
        b[i] /= A[i + n * i];
    }
    return b;
}

// Gauss-Legendre nodes and weights on [0, 1] (Newton on P_n).
inline void gaussLegendre01(int n, Vec& x, Vec& w) {
    x.assign(n, 0.0);
    w.assign(n, 0.0);
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < n; ++i) {
        double z = std::cos(pi * (i + 0.75) / (n + 0.5)), dp = 0.0;
        for (int it = 0; it < 100; ++it) {
            double p0 = 1.0, p1 = z;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2.0 * k - 1.0) * z * p1 - (k - 1.0) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            dp = n * (z * p1 - p0) / (z * z - 1.0);
            const double dz = p1 / dp;
            z -= dz;
            if (std::fabs(dz) < 1e-16) break;
        }
        x[i] = 0.5 * (1.0 - z);
        w[i] = 1.0 / ((1.0 - z * z) * dp * dp);
    }
}

// Integral of f(x, y) over the triangle with corners (X[i], Y[i]) (collapsed
// Gauss product rule, exact for polynomials of degree <= 2n - 3).
inline double triIntegral(const double* X, const double* Y,
                          const std::function<double(double, double)>& f, int n = 8) {
    Vec g, w;
    gaussLegendre01(n, g, w);
    const double twoA = std::fabs((X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]));
    double s = 0.0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double a = g[i], b = g[j] * (1.0 - g[i]);
            const double x = X[0] + a * (X[1] - X[0]) + b * (X[2] - X[0]);
            const double y = Y[0] + a * (Y[1] - Y[0]) + b * (Y[2] - Y[0]);
            s += w[i] * w[j] * (1.0 - g[i]) * f(x, y);
        }
    return s * twoA;
}

// Integral along the segment from (x0, y0) to (x1, y1) of f(s, x, y), s in [0, 1].
inline double segIntegral(double x0, double y0, double x1, double y1,
                          const std::function<double(double, double, double)>& f, int n = 8) {
    Vec g, w;
    gaussLegendre01(n, g, w);
    const double L = std::hypot(x1 - x0, y1 - y0);
    double s = 0.0;
    for (int i = 0; i < n; ++i)
        s += w[i] * f(g[i], x0 + g[i] * (x1 - x0), y0 + g[i] * (y1 - y0));
    return s * L;
}

// A displacement field with its gradient: u, v and du/dx, du/dy, dv/dx, dv/dy.
struct Field {
    std::function<void(double, double, double*)> eval; // out: u, v, ux, uy, vx, vy
};

// Complete polynomial field of the given degree with fixed coefficients.
inline Field polyField(int degree, double scale = 1e-3) {
    return {[degree, scale](double x, double y, double* o) {
        // Coefficients of x^p y^q for u and v, chosen arbitrarily.
        double u = 0, v = 0, ux = 0, uy = 0, vx = 0, vy = 0;
        int k = 0;
        for (int d = 0; d <= degree; ++d)
            for (int q = 0; q <= d; ++q, ++k) {
                const int p = d - q;
                const double cu = scale * (0.7 + 0.31 * k - 0.05 * k * k) / (1 + d);
                const double cv = scale * (-0.4 + 0.23 * k + 0.07 * ((k * 5) % 3)) / (1 + d);
                const double m = std::pow(x, p) * std::pow(y, q);
                const double mx = p > 0 ? p * std::pow(x, p - 1) * std::pow(y, q) : 0.0;
                const double my = q > 0 ? q * std::pow(x, p) * std::pow(y, q - 1) : 0.0;
                u += cu * m;
                v += cv * m;
                ux += cu * mx;
                uy += cu * my;
                vx += cv * mx;
                vy += cv * my;
            }
        o[0] = u;
        o[1] = v;
        o[2] = ux;
        o[3] = uy;
        o[4] = vx;
        o[5] = vy;
    }};
}

// Linear field of the uniform strain (ex, ey, gxy) plus a rigid motion.
inline Field uniformStrain(double ex, double ey, double gxy) {
    return {[=](double x, double y, double* o) {
        o[0] = ex * x + 0.5 * gxy * y + 0.3 - 0.2 * y;
        o[1] = ey * y + 0.5 * gxy * x - 0.1 + 0.2 * x;
        o[2] = ex;
        o[3] = 0.5 * gxy - 0.2;
        o[4] = 0.5 * gxy + 0.2;
        o[5] = ey;
    }};
}

} // namespace membrane_test

// Small dense helpers and fields for the plate-bending element tests.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "tests/solvika/dense_oracle.h"

namespace plate_test {

// Column-major n x n matrix helpers.
inline double& at(std::vector<double>& a, int n, int i, int j) { return a[i + n * j]; }

// Eigenvalues of a symmetric matrix by cyclic Jacobi rotations, swept
// until the off-diagonal part vanishes.
inline std::vector<double> symEigenvalues(std::vector<double> a, int n)
{
    return solvika::test::jacobiEigenvalues(std::move(a), n, 1e-300);
}

// Numerical rank of a symmetric positive semi-definite matrix.
inline int psdRank(const std::vector<double>& a, int n, double relTol = 1e-9)
{
    const auto ev = symEigenvalues(a, n);
    const double top = ev.back();
    int rank = 0;
    for (double e : ev)
        if (e > relTol * top)
            ++rank;
    return rank;
}

inline double maxAbs(const std::vector<double>& a)
{
    double m = 0.0;
    for (double v : a)
        m = std::max(m, std::fabs(v));
    return m;
}

// y = A x for a column-major m x n matrix.
inline std::vector<double> matVec(const double* a, int m, int n, const double* x)
{
    std::vector<double> y(m, 0.0);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < m; ++i)
            y[i] += a[i + m * j] * x[j];
    return y;
}

// Orthotropic-looking full elasticity matrix (symmetric positive definite,
// with coupling terms so that every entry matters).
inline std::vector<double> elasticity()
{
    return {2.1e5, 0.6e5, 0.1e5, 0.6e5, 1.5e5, -0.2e5, 0.1e5, -0.2e5, 0.7e5};
}

// w = c0 + c1 x + c2 y + c3 x^2 + c4 x y + c5 y^2.
struct Quadratic {
    double c[6];
    double w(double x, double y) const
    {
        return c[0] + c[1] * x + c[2] * y + c[3] * x * x + c[4] * x * y + c[5] * y * y;
    }
    double wx(double x, double y) const { return c[1] + 2.0 * c[3] * x + c[4] * y; }
    double wy(double x, double y) const { return c[2] + c[4] * x + 2.0 * c[5] * y; }
    // kappa = (w,xx, w,yy, 2 w,xy)
    void kappa(double* k) const
    {
        k[0] = 2.0 * c[3];
        k[1] = 2.0 * c[5];
        k[2] = 2.0 * c[4];
    }
};

// -(t^3/12) C kappa
inline void exactMoments(const Quadratic& q, const std::vector<double>& C, double t, double* m)
{
    double k[3];
    q.kappa(k);
    for (int r = 0; r < 3; ++r)
        m[r] = -(t * t * t / 12.0) * (C[r] * k[0] + C[r + 3] * k[1] + C[r + 6] * k[2]);
}

struct Tri {
    double x[3];
    double y[3];
};

inline double twiceArea(const Tri& t)
{
    return (t.x[1] - t.x[0]) * (t.y[2] - t.y[0]) - (t.x[2] - t.x[0]) * (t.y[1] - t.y[0]);
}

// The same triangle with corners 2 and 3 swapped (opposite orientation).
inline Tri flipped(const Tri& t)
{
    return {{t.x[0], t.x[2], t.x[1]}, {t.y[0], t.y[2], t.y[1]}};
}

// A triangular patch over an irregular grid of nodes: boundary nodes carry
// the DOFs of a quadratic field, interior nodes are solved for.
struct Patch {
    std::vector<double> x, y;
    std::vector<bool> boundary;
    std::vector<std::array<int, 3>> tris; // anticlockwise
};

inline Patch irregularPatch()
{
    // 4 x 4 nodes on [0, 12] x [0, 9], interior nodes moved off the grid.
    Patch p;
    const double dx[4][4] = {{0, 0, 0, 0}, {0, 0.9, -0.7, 0}, {0, 0.4, 1.1, 0}, {0, 0, 0, 0}};
    const double dy[4][4] = {{0, 0, 0, 0}, {0, -0.6, 0.5, 0}, {0, 0.8, -0.4, 0}, {0, 0, 0, 0}};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            p.x.push_back(4.0 * i + dx[j][i] + 0.3 * j);
            p.y.push_back(3.0 * j + dy[j][i] + 0.2 * i);
            p.boundary.push_back(i == 0 || j == 0 || i == 3 || j == 3);
        }
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const int a = i + 4 * j, b = a + 1, c = a + 5, d = a + 4;
            if ((i + j) % 2 == 0) {
                p.tris.push_back({a, b, c});
                p.tris.push_back({a, c, d});
            } else {
                p.tris.push_back({a, b, d});
                p.tris.push_back({b, c, d});
            }
        }
    return p;
}

// Assembles a 9-DOF element over the patch, prescribes the boundary nodes
// DOFs from nodeDofs(x, y, out3) and returns all nodal DOFs with the
// interior ones solved for. stiff(X, Y, EK) must return false on refusal.
template <class Stiff, class NodeDofs>
std::vector<double> solvePatch(const Patch& p, Stiff stiff, NodeDofs nodeDofs)
{
    const int nn = static_cast<int>(p.x.size());
    const int n = 3 * nn;
    std::vector<double> K(n * n, 0.0);
    for (const auto& t : p.tris) {
        double X[3], Y[3], EK[81];
        for (int k = 0; k < 3; ++k) {
            X[k] = p.x[t[k]];
            Y[k] = p.y[t[k]];
        }
        if (!stiff(X, Y, EK))
            return {};
        for (int b = 0; b < 9; ++b)
            for (int a = 0; a < 9; ++a)
                K[(3 * t[a / 3] + a % 3) + n * (3 * t[b / 3] + b % 3)] += EK[a + 9 * b];
    }
    std::vector<double> u(n, 0.0);
    std::vector<int> free;
    for (int k = 0; k < nn; ++k) {
        if (p.boundary[k])
            nodeDofs(p.x[k], p.y[k], &u[3 * k]);
        else
            for (int d = 0; d < 3; ++d)
                free.push_back(3 * k + d);
    }
    const int nf = static_cast<int>(free.size());
    solvika::test::Dense Kff(nf, nf);
    std::vector<double> rhs(nf, 0.0);
    for (int b = 0; b < nf; ++b)
        for (int a = 0; a < nf; ++a)
            Kff(a + 1, b + 1) = K[free[a] + n * free[b]];
    for (int a = 0; a < nf; ++a)
        for (int j = 0; j < n; ++j)
            rhs[a] -= K[free[a] + n * j] * u[j];
    const auto uf = solvika::test::solveDense(Kff, rhs);
    for (int a = 0; a < nf; ++a)
        u[free[a]] = uf[a];
    return u;
}

} // namespace plate_test

// Independent reference for the higher-order plate triangles (T15, T18,
// T21): deflection fields as Cartesian polynomials, the DOFs read off them
// directly, the coefficient matrix as the numerical inverse of the
// DOF-evaluation matrix, and integrals by a collapsed Gauss rule of high
// order.
#pragma once

#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "solver/elements/plate_bending.h"
#include "tests/solvika/dense_oracle.h"

namespace higher_test {

using solvika::test::Dense;

// Polynomial in (x - x0, y - y0) of degree <= 6: c[p][q] multiplies
// (x - x0)^p (y - y0)^q.
struct Poly {
    static constexpr int kD = 7;
    double x0 = 0.0, y0 = 0.0;
    double c[kD][kD] = {};

    double operator()(double x, double y) const
    {
        const double u = x - x0, v = y - y0;
        double s = 0.0, up = 1.0;
        for (int p = 0; p < kD; ++p, up *= u) {
            double vq = 1.0;
            for (int q = 0; p + q < kD; ++q, vq *= v)
                s += c[p][q] * up * vq;
        }
        return s;
    }
    Poly dx() const
    {
        Poly r = origin();
        for (int p = 1; p < kD; ++p)
            for (int q = 0; p + q < kD; ++q)
                r.c[p - 1][q] = p * c[p][q];
        return r;
    }
    Poly dy() const
    {
        Poly r = origin();
        for (int p = 0; p < kD; ++p)
            for (int q = 1; p + q < kD; ++q)
                r.c[p][q - 1] = q * c[p][q];
        return r;
    }
    // Derivative along the direction (ux, uy).
    Poly along(double ux, double uy) const { return dx() * ux + dy() * uy; }
    Poly origin() const
    {
        Poly r;
        r.x0 = x0;
        r.y0 = y0;
        return r;
    }
    Poly operator*(double f) const
    {
        Poly r = *this;
        for (auto& row : r.c)
            for (double& v : row)
                v *= f;
        return r;
    }
    Poly operator+(const Poly& o) const
    {
        Poly r = *this;
        for (int p = 0; p < kD; ++p)
            for (int q = 0; q < kD; ++q)
                r.c[p][q] += o.c[p][q];
        return r;
    }
    Poly operator*(const Poly& o) const
    {
        Poly r = origin();
        for (int p = 0; p < kD; ++p)
            for (int q = 0; p + q < kD; ++q)
                if (c[p][q] != 0.0)
                    for (int s = 0; p + s < kD; ++s)
                        for (int t = 0; p + q + s + t < kD; ++t)
                            r.c[p + s][q + t] += c[p][q] * o.c[s][t];
        return r;
    }
};

struct Tri {
    double x[3];
    double y[3];
    double xc() const { return (x[0] + x[1] + x[2]) / 3.0; }
    double yc() const { return (y[0] + y[1] + y[2]) / 3.0; }
    double twiceArea() const
    {
        return (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    }
    double area() const { return 0.5 * std::fabs(twiceArea()); }
};

// Random polynomial of the given degree about the triangle's centroid.
inline Poly randomPoly(const Tri& t, int degree, std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Poly w;
    w.x0 = t.xc();
    w.y0 = t.yc();
    for (int p = 0; p <= degree; ++p)
        for (int q = 0; p + q <= degree; ++q)
            w.c[p][q] = u(rng);
    return w;
}

// The area coordinate of corner i as a polynomial.
inline Poly areaCoordinate(const Tri& t, int i)
{
    const int j = (i + 1) % 3, k = (i + 2) % 3;
    const double a2 = t.twiceArea();
    Poly L;
    L.x0 = t.xc();
    L.y0 = t.yc();
    // L_i = ((x_j - x)(y_k - y) - (x_k - x)(y_j - y)) / 2A, linear in x, y.
    const double xj = t.x[j] - L.x0, yj = t.y[j] - L.y0;
    const double xk = t.x[k] - L.x0, yk = t.y[k] - L.y0;
    L.c[0][0] = (xj * yk - xk * yj) / a2;
    L.c[1][0] = (yj - yk) / a2;
    L.c[0][1] = (xk - xj) / a2;
    return L;
}

// L1^a L2^b L3^c as a polynomial.
inline Poly areaMonomial(const Tri& t, int a, int b, int c)
{
    Poly m;
    m.x0 = t.xc();
    m.y0 = t.yc();
    m.c[0][0] = 1.0;
    const int e[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        const Poly L = areaCoordinate(t, i);
        for (int k = 0; k < e[i]; ++k)
            m = m * L;
    }
    return m;
}

// The monomial bases of the elements, exponents of L1, L2, L3.
inline const std::vector<std::array<int, 3>>& quarticBasis()
{
    static const std::vector<std::array<int, 3>> b = {
        {4, 0, 0}, {0, 4, 0}, {0, 0, 4}, {3, 1, 0}, {3, 0, 1}, {0, 3, 1}, {1, 3, 0}, {1, 0, 3},
        {0, 1, 3}, {2, 2, 0}, {2, 0, 2}, {0, 2, 2}, {2, 1, 1}, {1, 2, 1}, {1, 1, 2}};
    return b;
}
inline const std::vector<std::array<int, 3>>& quinticBasis()
{
    static const std::vector<std::array<int, 3>> b = {
        {5, 0, 0}, {0, 5, 0}, {0, 0, 5}, {4, 1, 0}, {4, 0, 1}, {0, 4, 1}, {1, 4, 0},
        {1, 0, 4}, {0, 1, 4}, {3, 2, 0}, {3, 0, 2}, {0, 3, 2}, {2, 3, 0}, {2, 0, 3},
        {0, 2, 3}, {3, 1, 1}, {1, 3, 1}, {1, 1, 3}, {2, 2, 1}, {1, 2, 2}, {2, 1, 2}};
    return b;
}

enum class Kind { T15, T18, T21 };

inline int dofCount(Kind k) { return k == Kind::T15 ? 15 : k == Kind::T18 ? 18 : 21; }

inline std::vector<Poly> basis(const Tri& t, Kind k)
{
    std::vector<Poly> m;
    for (const auto& e : (k == Kind::T15 ? quarticBasis() : quinticBasis()))
        m.push_back(areaMonomial(t, e[0], e[1], e[2]));
    return m;
}

// Unit normal of the slope DOF of the edge from (xa, ya) to (xb, yb): the
// edge direction turned to a positive x component ((0, -1) when |dx| is
// below 1e-10 of the length), turned a quarter anticlockwise.
inline void edgeNormal(double xa, double ya, double xb, double yb, double& nx, double& ny)
{
    const double dx = xb - xa, dy = yb - ya;
    const double L = std::hypot(dx, dy);
    double c = dx / L, s = dy / L;
    if (std::fabs(dx) < 1e-10 * L) {
        c = 0.0;
        s = -1.0;
    } else if (dx < 0.0) {
        c = -c;
        s = -s;
    }
    nx = -s;
    ny = c;
}

// The element's DOFs of the field w, in the element's DOF order. For T18
// three more rows follow: the fourth derivative along each edge of the
// normal slope (zero for a T18 field, whose normal slope is cubic).
inline std::vector<double> dofs(const Tri& t, Kind k, const Poly& w)
{
    std::vector<double> v;
    const Poly wx = w.dx(), wy = w.dy();
    for (int i = 0; i < 3; ++i) {
        const double x = t.x[i], y = t.y[i];
        v.push_back(w(x, y));
        v.push_back(wx(x, y));
        v.push_back(wy(x, y));
        if (k == Kind::T15) {
            continue;
        }
        v.push_back(wx.dx()(x, y));
        v.push_back(wx.dy()(x, y));
        v.push_back(wy.dy()(x, y));
    }
    if (k == Kind::T15) {
        // Corners first, then per edge midpoint w and w,n.
        std::vector<double> r(v);
        for (int e = 0; e < 3; ++e) {
            const int i = e, j = (e + 1) % 3;
            const double xm = 0.5 * (t.x[i] + t.x[j]), ym = 0.5 * (t.y[i] + t.y[j]);
            double nx, ny;
            edgeNormal(t.x[i], t.y[i], t.x[j], t.y[j], nx, ny);
            r.push_back(w(xm, ym));
            r.push_back(nx * wx(xm, ym) + ny * wy(xm, ym));
        }
        return r;
    }
    for (int e = 0; e < 3; ++e) {
        const int i = e, j = (e + 1) % 3;
        const double xm = 0.5 * (t.x[i] + t.x[j]), ym = 0.5 * (t.y[i] + t.y[j]);
        if (k == Kind::T21) {
            double nx, ny;
            edgeNormal(t.x[i], t.y[i], t.x[j], t.y[j], nx, ny);
            v.push_back(nx * wx(xm, ym) + ny * wy(xm, ym));
        } else {
            const double L = std::hypot(t.x[j] - t.x[i], t.y[j] - t.y[i]);
            const double tx = (t.x[j] - t.x[i]) / L, ty = (t.y[j] - t.y[i]) / L;
            Poly d = w.along(-ty, tx);
            for (int n = 0; n < 4; ++n)
                d = d.along(tx, ty);
            v.push_back(d(xm, ym));
        }
    }
    return v;
}

// DOF-evaluation matrix: entry (j, k) is DOF j of basis monomial k.
inline Dense dofMatrix(const Tri& t, Kind k)
{
    const auto m = basis(t, k);
    const int n = static_cast<int>(m.size());
    Dense d(n, n);
    for (int col = 0; col < n; ++col) {
        const auto v = dofs(t, k, m[col]);
        for (int row = 0; row < n; ++row)
            d(row + 1, col + 1) = v[row];
    }
    return d;
}

// The element's field sum of a(k) m(k) for the coefficients a.
inline Poly field(const Tri& t, Kind k, const std::vector<double>& a)
{
    const auto m = basis(t, k);
    Poly w = m[0] * 0.0;
    for (std::size_t i = 0; i < m.size(); ++i)
        w = w + m[i] * a[i];
    return w;
}

// A rule on the triangle: area coordinates and weights summing to 1.
struct Rule {
    std::vector<std::array<double, 3>> L;
    std::vector<double> w;
};

// Collapsed Gauss-Legendre rule with n points per direction, exact for
// polynomials of degree 2n - 2 over the triangle.
inline Rule gaussRule(int n)
{
    std::vector<double> g(n), gw(n);
    for (int i = 0; i < n; ++i) {
        // Newton's method on the Legendre polynomial P_n.
        double x = std::cos(std::numbers::pi * (i + 0.75) / (n + 0.5));
        double dp = 1.0;
        for (int it = 0; it < 100; ++it) {
            double p0 = 1.0, p1 = x;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            dp = n * (x * p1 - p0) / (x * x - 1.0);
            const double step = p1 / dp;
            x -= step;
            if (std::fabs(step) < 1e-16)
                break;
        }
        g[i] = x;
        gw[i] = 2.0 / ((1.0 - x * x) * dp * dp);
    }
    Rule r;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double u = 0.5 * (g[i] + 1.0), v = 0.5 * (g[j] + 1.0);
            r.L.push_back({u, v * (1.0 - u), (1.0 - v) * (1.0 - u)});
            r.w.push_back(2.0 * 0.25 * gw[i] * gw[j] * (1.0 - u));
        }
    return r;
}

inline Rule sevenPointRule()
{
    Rule r;
    for (int p = 0; p < 7; ++p) {
        r.L.push_back({solvika::kTri7L[p][0], solvika::kTri7L[p][1], solvika::kTri7L[p][2]});
        r.w.push_back(solvika::kTri7W[p]);
    }
    return r;
}

inline void pointAt(const Tri& t, const std::array<double, 3>& L, double& x, double& y)
{
    x = L[0] * t.x[0] + L[1] * t.x[1] + L[2] * t.x[2];
    y = L[0] * t.y[0] + L[1] * t.y[1] + L[2] * t.y[2];
}

// The coefficient matrix: the inverse of the DOF-evaluation matrix.
inline Dense coefficients(const Tri& t, Kind k) { return solvika::test::inverse(dofMatrix(t, k)); }

// Element stiffness: integral of (t^3/12) kappa_i^T C kappa_j over the
// shape functions, kappa = (w,xx, w,yy, 2 w,xy), by the given rule.
inline Dense stiffness(const Tri& t, Kind k, const double* C, const double* T, const Rule& rule)
{
    const auto m = basis(t, k);
    const int n = static_cast<int>(m.size());
    const int nd = dofCount(k);
    std::vector<std::array<Poly, 3>> kap(n);
    for (int i = 0; i < n; ++i)
        kap[i] = {m[i].dx().dx(), m[i].dy().dy(), m[i].dx().dy() * 2.0};
    Dense Kh(n, n);
    for (std::size_t p = 0; p < rule.w.size(); ++p) {
        double x, y;
        pointAt(t, rule.L[p], x, y);
        const double th = rule.L[p][0] * T[0] + rule.L[p][1] * T[1] + rule.L[p][2] * T[2];
        const double f = th * th * th / 12.0 * rule.w[p] * t.area();
        std::vector<std::array<double, 3>> kv(n);
        for (int i = 0; i < n; ++i)
            for (int r = 0; r < 3; ++r)
                kv[i][r] = kap[i][r](x, y);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                double s = 0.0;
                for (int r = 0; r < 3; ++r)
                    for (int q = 0; q < 3; ++q)
                        s += kv[i][r] * C[r + 3 * q] * kv[j][q];
                Kh(i + 1, j + 1) += f * s;
            }
    }
    const Dense H = coefficients(t, k);
    const Dense full = solvika::test::multiply(solvika::test::transpose(H),
                                               solvika::test::multiply(Kh, H));
    Dense ek(nd, nd);
    for (int j = 1; j <= nd; ++j)
        for (int i = 1; i <= nd; ++i)
            ek(i, j) = full(i, j);
    return ek;
}

// Consistent load vector: integral of N_i p over the element, p linear
// between the corner pressures P.
inline std::vector<double> loads(const Tri& t, Kind k, const double* P)
{
    const auto m = basis(t, k);
    const int n = static_cast<int>(m.size());
    const Rule rule = gaussRule(8);
    std::vector<double> g(n, 0.0);
    for (std::size_t p = 0; p < rule.w.size(); ++p) {
        double x, y;
        pointAt(t, rule.L[p], x, y);
        const double pr = rule.L[p][0] * P[0] + rule.L[p][1] * P[1] + rule.L[p][2] * P[2];
        for (int i = 0; i < n; ++i)
            g[i] += rule.w[p] * t.area() * pr * m[i](x, y);
    }
    const Dense H = coefficients(t, k);
    std::vector<double> f(dofCount(k), 0.0);
    for (int i = 0; i < dofCount(k); ++i)
        for (int j = 0; j < n; ++j)
            f[i] += H(j + 1, i + 1) * g[j];
    return f;
}

// Elasticity matrix of an orthotropic material whose first axis is turned
// by theta from x: R^T C0 R with R the engineering-strain rotation.
inline std::vector<double> rotatedOrthotropic(double theta)
{
    const double e1 = 2.1e5, e2 = 0.7e5, nu12 = 0.3, g12 = 0.35e5;
    const double nu21 = nu12 * e2 / e1, d = 1.0 - nu12 * nu21;
    const double C0[3][3] = {{e1 / d, nu12 * e2 / d, 0.0}, {nu12 * e2 / d, e2 / d, 0.0}, {0.0, 0.0, g12}};
    const double c = std::cos(theta), s = std::sin(theta);
    const double R[3][3] = {
        {c * c, s * s, c * s}, {s * s, c * c, -c * s}, {-2.0 * c * s, 2.0 * c * s, c * c - s * s}};
    std::vector<double> C(9, 0.0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b)
                    C[i + 3 * j] += R[a][i] * C0[a][b] * R[b][j];
    return C;
}

// Exact corner results of the field w: (Mx, My, Mxy) = -(t^3/12) C kappa
// and Q = (Mx,x + Mxy,y, Mxy,x + My,y) with the thickness t held fixed.
inline void exactResults(const Poly& w, const double* C, double th, double x, double y, double* m,
                         double* q)
{
    const Poly wxx = w.dx().dx(), wyy = w.dy().dy(), wxy = w.dx().dy();
    const double f = -th * th * th / 12.0;
    const Poly k[3] = {wxx, wyy, wxy * 2.0};
    Poly M[3];
    for (int r = 0; r < 3; ++r)
        M[r] = (k[0] * C[r] + k[1] * C[r + 3] + k[2] * C[r + 6]) * f;
    for (int r = 0; r < 3; ++r)
        m[r] = M[r](x, y);
    q[0] = M[0].dx()(x, y) + M[2].dy()(x, y);
    q[1] = M[2].dx()(x, y) + M[1].dy()(x, y);
}

// Size of the shear forces of a field with the DOF values v on the
// triangle: C11 (t^3/12) max |v| / h^3, h the square root of the area
// (rounding errors are relative to it).
inline double resultScale(const Tri& t, double c11, double th, const std::vector<double>& v)
{
    double vmax = 0.0;
    for (double x : v)
        vmax = std::max(vmax, std::fabs(x));
    const double h = std::sqrt(t.area());
    return c11 * th * th * th / 12.0 * vmax / (h * h * h);
}

inline double maxAbs(const Dense& a)
{
    double m = 0.0;
    for (double v : a.v)
        m = std::max(m, std::fabs(v));
    return m;
}

// Max |a - b| relative to max |b|.
inline double relDiff(const Dense& a, const Dense& b)
{
    return solvika::test::maxAbsDiff(a, b) / maxAbs(b);
}

// The element matrix (column-major, n x n) as a Dense.
inline Dense asDense(const double* a, int n)
{
    Dense d(n, n);
    for (int i = 0; i < n * n; ++i)
        d.v[i] = a[i];
    return d;
}

} // namespace higher_test

// Shared helpers of the higher-order plate triangles T15, T18 and T21
// (internal to the library).
//
// Natural derivatives treat L1 and L2 as independent with L3 = 1 - L1 - L2,
// so d/dL1 = D1 - D3 and d/dL2 = D2 - D3 with Di the partial derivative of
// a polynomial in (L1, L2, L3) with respect to Li.
#pragma once

#include "solver/elements/plate_geom.h"
#include "solver/elements/tri_poly.h"

#include <cmath>

namespace solvika::plate {

// Direction (c, s) of an edge from corner i to corner j, its length and its
// sense sigma (+1 when the way from i to j runs along (c, s), -1 otherwise).
// The direction depends only on the two end points: c > 0, or (0, -1) when
// |dx| < 1.0e-10 L. The edge normal is n = (-s, c).
struct EdgeFrame {
    double c, s, len, sigma;
};

inline EdgeFrame edgeFrame(double xi, double yi, double xj, double yj)
{
    const double dx = xj - xi;
    const double dy = yj - yi;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (std::fabs(dx) < 1.0e-10 * len)
        return {0.0, -1.0, len, yi > yj ? 1.0 : -1.0};
    const double sg = xi <= xj ? 1.0 : -1.0;
    return {sg * dx / len, sg * dy / len, len, sg};
}

// Derivatives (dL1/dn, dL2/dn) along the normal of edge e (0-based) for
// the signed doubled area a2.
inline void normalDerivs(const double* X, const double* Y, double a2, int e, double& alpha,
                         double& beta)
{
    const int i = e;
    const int j = (e + 1) % 3;
    const EdgeFrame f = edgeFrame(X[i], Y[i], X[j], Y[j]);
    alpha = -(f.s * (Y[1] - Y[2]) + f.c * (X[1] - X[2])) / a2;
    beta = (f.s * (Y[0] - Y[2]) + f.c * (X[0] - X[2])) / a2;
}

// n! for n <= 11 (exact in double).
inline double fact(int n) { return tri::factorial(n); }

// Calls f(coef, p, q, r) for the terms coef L1^p L2^q L3^r of the natural
// derivative d^(n1 + n2) / dL1^n1 dL2^n2 of L1^a L2^b L3^c (n1, n2 <= 3):
// (D1 - D3)^n1 (D2 - D3)^n2 expanded into the terms D1^i D2^j D3^m.
template <class F>
inline void forNatDerivTerms(int a, int b, int c, int n1, int n2, F f)
{
    static constexpr int binom[4][4] = {{1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 1, 0}, {1, 3, 3, 1}};
    for (int i = 0; i <= n1 && i <= a; ++i)
        for (int j = 0; j <= n2 && j <= b; ++j) {
            const int m = (n1 - i) + (n2 - j);
            if (m > c)
                continue;
            const double coef = binom[n1][i] * binom[n2][j] * ((m % 2) ? -1.0 : 1.0) * fact(a) /
                                fact(a - i) * fact(b) / fact(b - j) * fact(c) / fact(c - m);
            f(coef, a - i, b - j, c - m);
        }
}

inline double power(double x, int p)
{
    double r = 1.0;
    for (int k = 0; k < p; ++k)
        r *= x;
    return r;
}

// Value at L of the natural derivative d^(n1 + n2) / dL1^n1 dL2^n2 of
// L1^a L2^b L3^c.
inline double natDeriv(int a, int b, int c, int n1, int n2, const double* L)
{
    double sum = 0.0;
    forNatDerivTerms(a, b, c, n1, n2, [&](double coef, int p, int q, int r) {
        sum += coef * power(L[0], p) * power(L[1], q) * power(L[2], r);
    });
    return sum;
}

// Derivative of L1^a L2^b L3^c at L along a direction in which the area
// coordinates change by g = (g1, g2, g3).
inline double dirDeriv(int a, int b, int c, const double* L, const double* g)
{
    double s = 0.0;
    if (a > 0)
        s += g[0] * a * power(L[0], a - 1) * power(L[1], b) * power(L[2], c);
    if (b > 0)
        s += g[1] * b * power(L[0], a) * power(L[1], b - 1) * power(L[2], c);
    if (c > 0)
        s += g[2] * c * power(L[0], a) * power(L[1], b) * power(L[2], c - 1);
    return s;
}

// Area coordinates of the midpoint of edge e (0-based): the coordinate of
// the corner opposite the edge is 0.
inline void edgeMidpoint(int e, double* L)
{
    L[0] = L[1] = L[2] = 0.5;
    L[(e + 2) % 3] = 0.0;
}

// One nonzero entry of a constant table of a coefficient matrix.
struct Entry {
    int row, col;
    double v;
};

// Rows nc..nc+2 of the provisional coefficient matrix Hp (n x n, columns
// nc..nc+2 the midside normal slopes of edges 1-3): the bubble coefficients
// are M (dn - S a(1..nc)), S (3 x nc) holding the midside normal slopes of
// the monomials 1..nc, M (3 x 3) the inverse of those of the bubbles.
inline void bubbleRows(double* Hp, int n, int nc, const double* S, const double* M)
{
    for (int col = 0; col < nc; ++col) {
        double sh[3];
        for (int e = 0; e < 3; ++e) {
            double s = 0.0;
            for (int l = 0; l < nc; ++l)
                s += S[e + 3 * l] * Hp[l + n * col];
            sh[e] = s;
        }
        for (int i = 0; i < 3; ++i)
            Hp[nc + i + n * col] = -(M[i] * sh[0] + M[i + 3] * sh[1] + M[i + 6] * sh[2]);
    }
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            Hp[nc + i + n * (nc + j)] = M[i + 3 * j];
}

// Turns the natural corner slope columns b (d/dL1) and b + 1 (d/dL2) of H
// (n rows) into the columns of w,x and w,y.
inline void cartesianSlopeColumns(double* H, int n, int b, const double* X, const double* Y)
{
    const double dx1 = X[0] - X[2], dx2 = X[1] - X[2];
    const double dy1 = Y[0] - Y[2], dy2 = Y[1] - Y[2];
    double* c1 = H + n * b;
    double* c2 = H + n * (b + 1);
    for (int r = 0; r < n; ++r) {
        const double u = c1[r], v = c2[r];
        c1[r] = dx1 * u + dx2 * v;
        c2[r] = dy1 * u + dy2 * v;
    }
}

// G (3 x 3): (w,xx, w,yy, 2 w,xy) = G (w,11, w,22, w,12), natural second
// derivatives on the right, for the signed doubled area a2.
inline void curvatureMap(const double* X, const double* Y, double a2, double* G)
{
    const double e = 1.0 / (a2 * a2);
    const double b1 = Y[1] - Y[2], b2 = Y[2] - Y[0];
    const double c1 = X[2] - X[1], c2 = X[0] - X[2];
    G[0] = e * b1 * b1;
    G[1] = e * c1 * c1;
    G[2] = 2.0 * e * b1 * c1;
    G[3] = e * b2 * b2;
    G[4] = e * c2 * c2;
    G[5] = 2.0 * e * b2 * c2;
    G[6] = 2.0 * e * b1 * b2;
    G[7] = 2.0 * e * c1 * c2;
    G[8] = 2.0 * e * (b1 * c2 + b2 * c1);
}

// Ct = G^T C G (3 x 3).
inline void transformedElasticity(const double* C, const double* G, double* Ct)
{
    double CG[9];
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            CG[i + 3 * j] = C[i] * G[3 * j] + C[i + 3] * G[1 + 3 * j] + C[i + 6] * G[2 + 3 * j];
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            Ct[i + 3 * j] = G[3 * i] * CG[3 * j] + G[1 + 3 * i] * CG[1 + 3 * j] +
                            G[2 + 3 * i] * CG[2 + 3 * j];
}

// Cartesian third derivatives (w,xxx, w,xxy, w,xyy, w,yyy) from the natural
// ones d = (w,111, w,112, w,122, w,222) (index = number of L2 derivatives).
inline void cartesianThird(const AreaDerivs& g, const double* d, double* out)
{
    const double ux[2] = {g.l1x, g.l2x};
    const double uy[2] = {g.l1y, g.l2y};
    // w,uvz = sum over i, j, k of u_i v_j z_k d(i + j + k).
    auto third = [&](const double* u, const double* v, const double* z) {
        double s = 0.0;
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                for (int k = 0; k < 2; ++k)
                    s += u[i] * v[j] * z[k] * d[i + j + k];
        return s;
    };
    out[0] = third(ux, ux, ux);
    out[1] = third(ux, ux, uy);
    out[2] = third(ux, uy, uy);
    out[3] = third(uy, uy, uy);
}

// Shear forces Q = (Mx,x + Mxy,y, Mxy,x + My,y) of M = -(t^3/12) C kappa for
// the Cartesian third derivatives d3 = (w,xxx, w,xxy, w,xyy, w,yyy).
inline void shearForces(const double* C, double t, const double* d3, double& qx, double& qy)
{
    const double f = -(t * t * t) / 12.0;
    const double c11 = C[0], c12 = C[3], c13 = C[6], c22 = C[4], c23 = C[7], c33 = C[8];
    qx = f * (c11 * d3[0] + 3.0 * c13 * d3[1] + (c12 + 2.0 * c33) * d3[2] + c23 * d3[3]);
    qy = f * (c13 * d3[0] + (c12 + 2.0 * c33) * d3[1] + 3.0 * c23 * d3[2] + c22 * d3[3]);
}

// EK (m x m) = H(:, 1..m)^T Kh H(:, 1..m), Kh (n x n, n <= 21) symmetric,
// H with n rows; KH is work of n x m. The columns of H are mostly zero, so
// only their nonzero rows take part. EK is exactly symmetric.
inline void congruence(const double* Kh, const double* H, int n, int m, double* KH, double* EK)
{
    int nz[21][21];
    int cnt[21];
    for (int j = 0; j < m; ++j) {
        cnt[j] = 0;
        for (int r = 0; r < n; ++r)
            if (H[r + n * j] != 0.0)
                nz[j][cnt[j]++] = r;
    }
    for (int j = 0; j < m; ++j) {
        const double* hj = H + n * j;
        double* out = KH + n * j;
        for (int i = 0; i < n; ++i)
            out[i] = 0.0;
        for (int q = 0; q < cnt[j]; ++q) {
            const int r = nz[j][q];
            const double h = hj[r];
            const double* kr = Kh + n * r;
            for (int i = 0; i < n; ++i)
                out[i] += kr[i] * h;
        }
    }
    for (int j = 0; j < m; ++j)
        for (int i = j; i < m; ++i) {
            double s = 0.0;
            for (int q = 0; q < cnt[i]; ++q) {
                const int r = nz[i][q];
                s += H[r + n * i] * KH[r + n * j];
            }
            EK[i + m * j] = s;
            EK[j + m * i] = s;
        }
}

// Kh (n x n) += f B^T Ct B on the upper triangle, B (3 x n) column-major.
inline void addBtCB(const double* B, const double* Ct, double f, int n, double* Kh)
{
    for (int l = 0; l < n; ++l) {
        const double* bl = B + 3 * l;
        const double cb0 = f * (Ct[0] * bl[0] + Ct[3] * bl[1] + Ct[6] * bl[2]);
        const double cb1 = f * (Ct[1] * bl[0] + Ct[4] * bl[1] + Ct[7] * bl[2]);
        const double cb2 = f * (Ct[2] * bl[0] + Ct[5] * bl[1] + Ct[8] * bl[2]);
        for (int k = 0; k <= l; ++k) {
            const double* bk = B + 3 * k;
            Kh[k + n * l] += bk[0] * cb0 + bk[1] * cb1 + bk[2] * cb2;
        }
    }
}

// Copies the upper triangle of Kh (n x n) to the lower one.
inline void mirrorUpper(double* Kh, int n)
{
    for (int l = 0; l < n; ++l)
        for (int k = 0; k < l; ++k)
            Kh[l + n * k] = Kh[k + n * l];
}

// Consistent pressure integrals g(k) = integral of m(k) p dA of the
// monomials L1^e[k][0] L2^e[k][1] L3^e[k][2] of degree d, p linear between
// the corner pressures P, |2A| = a2abs.
inline void pressureIntegrals(const int (*e)[3], int n, int d, double a2abs, const double* P,
                              double* g)
{
    const double f = a2abs / fact(d + 3);
    for (int k = 0; k < n; ++k) {
        const int a = e[k][0], b = e[k][1], c = e[k][2];
        const double base = fact(a) * fact(b) * fact(c);
        g[k] = f * base * ((a + 1) * P[0] + (b + 1) * P[1] + (c + 1) * P[2]);
    }
}

} // namespace solvika::plate

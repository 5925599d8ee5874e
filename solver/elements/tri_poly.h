// Exact integration of polynomials over a triangle in area coordinates.
//
// Internal helper of the membrane triangles. A polynomial of degree d is held
// homogeneous in (L1, L2, L3): one coefficient per monomial L1^a L2^b L3^c
// with a + b + c = d, ordered by a descending, then b descending. Any
// polynomial of degree <= d can be written this way since L1 + L2 + L3 = 1.
// The integral of a monomial over the triangle is 2A a! b! c! / (d + 2)!.
#pragma once

#include <cstdint>

namespace solvika::tri {

constexpr int kMaxDeg = 5;

constexpr int nmono(int d) { return (d + 1) * (d + 2) / 2; }

// Position of L1^a L2^b L3^c among the monomials of degree a + b + c.
constexpr int mono(int /*a*/, int b, int c) {
    const int m = b + c; // = d - a
    return m * (m + 1) / 2 + (m - b);
}

// Exponents of the monomial at position i of degree d.
inline void expo(int d, int i, int& a, int& b, int& c) {
    int m = 0;
    while ((m + 1) * (m + 2) / 2 <= i) ++m;
    b = m - (i - m * (m + 1) / 2);
    a = d - m;
    c = m - b;
}

inline double factorial(int n) {
    static constexpr double f[] = {1., 1., 2., 6., 24., 120., 720., 5040., 40320., 362880.,
                                   3628800., 39916800.};
    return f[n];
}

// Integral of L1^a L2^b L3^c over a triangle of twice the area twoA.
inline double monoInt(int a, int b, int c, double twoA) {
    return twoA * factorial(a) * factorial(b) * factorial(c) / factorial(a + b + c + 2);
}

// out[i] = integral of w * m_i, w of degree dw, m_i the monomials of degree d.
inline void moments(const double* w, int dw, int d, double twoA, double* out) {
    for (int i = 0; i < nmono(d); ++i) {
        int a, b, c;
        expo(d, i, a, b, c);
        double s = 0.0;
        for (int k = 0; k < nmono(dw); ++k) {
            if (w[k] == 0.0) continue;
            int p, q, r;
            expo(dw, k, p, q, r);
            s += w[k] * monoInt(a + p, b + q, c + r, twoA);
        }
        out[i] = s;
    }
}

// G[i + n j] = integral of w * m_i * m_j (n = nmono(d)), symmetric.
inline void gram(const double* w, int dw, int d, double twoA, double* G) {
    const int n = nmono(d);
    for (int j = 0; j < n; ++j) {
        int a2, b2, c2;
        expo(d, j, a2, b2, c2);
        for (int i = 0; i <= j; ++i) {
            int a1, b1, c1;
            expo(d, i, a1, b1, c1);
            double s = 0.0;
            for (int k = 0; k < nmono(dw); ++k) {
                if (w[k] == 0.0) continue;
                int p, q, r;
                expo(dw, k, p, q, r);
                s += w[k] * monoInt(a1 + a2 + p, b1 + b2 + q, c1 + c2 + r, twoA);
            }
            G[i + n * j] = s;
            G[j + n * i] = s;
        }
    }
}

// r = sum over m of g[m] * dp/dL_m: the derivative of p (degree d >= 1)
// along a direction whose derivatives of L1, L2, L3 are g; degree d - 1.
inline void deriv(const double* p, int d, const double* g, double* r) {
    for (int i = 0; i < nmono(d - 1); ++i) r[i] = 0.0;
    for (int i = 0; i < nmono(d); ++i) {
        if (p[i] == 0.0) continue;
        int a, b, c;
        expo(d, i, a, b, c);
        if (a > 0) r[mono(a - 1, b, c)] += a * g[0] * p[i];
        if (b > 0) r[mono(a, b - 1, c)] += b * g[1] * p[i];
        if (c > 0) r[mono(a, b, c - 1)] += c * g[2] * p[i];
    }
}

// Value of p (degree d) at the area coordinates L.
inline double eval(const double* p, int d, const double* L) {
    double s = 0.0;
    for (int i = 0; i < nmono(d); ++i) {
        int a, b, c;
        expo(d, i, a, b, c);
        double m = p[i];
        for (int k = 0; k < a; ++k) m *= L[0];
        for (int k = 0; k < b; ++k) m *= L[1];
        for (int k = 0; k < c; ++k) m *= L[2];
        s += m;
    }
    return s;
}

// r = p * q, degrees dp and dq.
inline void mul(const double* p, int dp, const double* q, int dq, double* r) {
    for (int i = 0; i < nmono(dp + dq); ++i) r[i] = 0.0;
    for (int i = 0; i < nmono(dp); ++i) {
        if (p[i] == 0.0) continue;
        int a, b, c;
        expo(dp, i, a, b, c);
        for (int j = 0; j < nmono(dq); ++j) {
            int e, f, g;
            expo(dq, j, e, f, g);
            r[mono(a + e, b + f, c + g)] += p[i] * q[j];
        }
    }
}

} // namespace solvika::tri

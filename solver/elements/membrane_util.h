// Internal helpers shared by the membrane element routines.
#pragma once

#include <cmath>
#include <cstdint>

namespace solvika::membrane {

// The six distinct entries of a symmetric elasticity matrix.
struct Elast {
    double c11, c22, c33, c12, c13, c23;

    // From a full 3 x 3 column-major array, reading its upper triangle.
    static Elast fromFull(const double* C) { return {C[0], C[4], C[8], C[3], C[6], C[7]}; }
    // From the packed order C11, C22, C33, C12, C13, C23.
    static Elast fromPacked(const double* C) { return {C[0], C[1], C[2], C[3], C[4], C[5]}; }

    // s = C e.
    void apply(const double* e, double* s) const {
        s[0] = c11 * e[0] + c12 * e[1] + c13 * e[2];
        s[1] = c12 * e[0] + c22 * e[1] + c23 * e[2];
        s[2] = c13 * e[0] + c23 * e[1] + c33 * e[2];
    }

    // The two stress columns C B of a node with global derivatives (nx, ny):
    // u column (nx, 0, ny), v column (0, ny, nx).
    void columns(double nx, double ny, double* su, double* sv) const {
        su[0] = c11 * nx + c13 * ny;
        su[1] = c12 * nx + c23 * ny;
        su[2] = c13 * nx + c33 * ny;
        sv[0] = c12 * ny + c13 * nx;
        sv[1] = c22 * ny + c23 * nx;
        sv[2] = c23 * ny + c33 * nx;
    }
};

// Twice the signed area of a triangle and the derivatives b_i = dL_i/dx,
// c_i = dL_i/dy of its area coordinates (left at 0 when the area is 0).
struct TriGeo {
    double twoA = 0.0;
    double b[3] = {0.0, 0.0, 0.0};
    double c[3] = {0.0, 0.0, 0.0};

    TriGeo(const double* X, const double* Y) {
        twoA = X[1] * Y[2] + X[0] * Y[1] + X[2] * Y[0] - X[0] * Y[2] - X[1] * Y[0] -
               X[2] * Y[1];
        if (twoA == 0.0) return;
        for (int i = 0; i < 3; ++i) {
            const int j = (i + 1) % 3;
            const int k = (i + 2) % 3;
            b[i] = (Y[j] - Y[k]) / twoA;
            c[i] = (X[k] - X[j]) / twoA;
        }
    }
};

// Adds to the stiffness K (leading dimension ld) the coupling of scalar
// shape functions f, g whose u DOF sits at position udof[f] (0-based; v the
// next one): Ixx(f, g) = integral t N_f,x N_g,x, likewise Ixy = t N_f,x N_g,y
// and Iyy, all nf x nf column-major. Fills both triangles.
inline void addScalarStiffness(int nf, const double* Ixx, const double* Ixy, const double* Iyy,
                               const Elast& e, const int* udof, double* K, int ld) {
    for (int g = 0; g < nf; ++g)
        for (int f = 0; f < nf; ++f) {
            const double xx = Ixx[f + nf * g];
            const double xy = Ixy[f + nf * g];
            const double yx = Ixy[g + nf * f];
            const double yy = Iyy[f + nf * g];
            const int uf = udof[f], ug = udof[g];
            K[uf + ld * ug] += e.c11 * xx + e.c13 * (xy + yx) + e.c33 * yy;
            K[uf + ld * (ug + 1)] += e.c12 * xy + e.c13 * xx + e.c23 * yy + e.c33 * yx;
            K[uf + 1 + ld * ug] += e.c12 * yx + e.c13 * xx + e.c23 * yy + e.c33 * xy;
            K[uf + 1 + ld * (ug + 1)] += e.c22 * yy + e.c23 * (xy + yx) + e.c33 * xx;
        }
}

// Side s (1-based) of an element with nc corners: start and end corner
// (0-based) and the rotation from side axes to global axes. Returns the
// side length (0 for a degenerate side, whose loads are left at zero).
inline double sideFrame(const double* X, const double* Y, int nc, int s, int& i0, int& i1,
                        double& cs, double& sn) {
    i0 = s - 1;
    i1 = s % nc;
    const double dx = X[i1] - X[i0];
    const double dy = Y[i1] - Y[i0];
    const double L = std::sqrt(dx * dx + dy * dy);
    cs = L > 0.0 ? dx / L : 1.0;
    sn = L > 0.0 ? dy / L : 0.0;
    return L;
}

// Turns a load pair from side axes to global axes.
inline void turnPair(double cs, double sn, const double* p, double* q) {
    const double p1 = p[0], p2 = p[1];
    q[0] = cs * p1 - sn * p2;
    q[1] = sn * p1 + cs * p2;
}

// The side of a side load iside: side |iside| of an element with nc
// corners, as sideFrame gives it. A positive iside gives the load pairs in
// side axes, a negative one in global axes. L stays 0 when |iside| is no
// side of the element or the side is degenerate: its loads stay zero.
struct LoadedSide {
    int s = 0;
    int i0 = 0;
    int i1 = 0;
    double L = 0.0;
    double cs = 1.0;
    double sn = 0.0;
    bool local = false;

    LoadedSide(const double* X, const double* Y, int nc, std::int32_t iside) {
        s = iside > 0 ? iside : -iside;
        local = iside > 0;
        if (s > nc) return;
        L = sideFrame(X, Y, nc, s, i0, i1, cs, sn);
    }

    // The load pair p in global axes (q may be p).
    void global(const double* p, double* q) const {
        q[0] = p[0];
        q[1] = p[1];
        if (local) turnPair(cs, sn, p, q);
    }
};

// Consistent nodal forces of a load varying linearly from p1 to p2 along a
// side of length L: on its end nodes a, b, or with a middle node m.
inline void linearSideForces(double L, const double* p1, const double* p2, double* a, double* b) {
    for (int c = 0; c < 2; ++c) {
        a[c] = L * (2.0 * p1[c] + p2[c]) / 6.0;
        b[c] = L * (p1[c] + 2.0 * p2[c]) / 6.0;
    }
}

inline void quadraticSideForces(double L, const double* p1, const double* p2, double* a, double* b,
                                double* m) {
    for (int c = 0; c < 2; ++c) {
        a[c] = L * p1[c] / 6.0;
        b[c] = L * p2[c] / 6.0;
        m[c] = L * (p1[c] + p2[c]) / 3.0;
    }
}

} // namespace solvika::membrane

// Gauss rule and shape functions of the membrane quadrilaterals.
#include "solver/elements/membrane.h"

namespace solvika {

namespace {
constexpr double kXiC[4] = {-1.0, 1.0, 1.0, -1.0};
constexpr double kEtaC[4] = {-1.0, -1.0, 1.0, 1.0};

inline double& at(double* S, int row, int node) { return S[(row - 1) + 3 * (node - 1)]; }

// The Jacobian (J11 J12; J21 J22) of the map to (x, y), summed node by node.
struct Jacobian {
    double J11 = 0.0, J12 = 0.0, J21 = 0.0, J22 = 0.0;

    // Adds the share of node k.
    void add(double* S, int k, const double* X, const double* Y) {
        J11 += X[k - 1] * at(S, 1, k);
        J12 += Y[k - 1] * at(S, 1, k);
        J21 += X[k - 1] * at(S, 2, k);
        J22 += Y[k - 1] * at(S, 2, k);
    }

    double det() const { return J11 * J22 - J12 * J21; }

    // Turns rows 1-2 of column col from natural to global derivatives.
    void toGlobal(double* S, int col, double det) const {
        const double d = det > 0.0 ? det : 1.0;
        const double dxi = at(S, 1, col);
        const double deta = at(S, 2, col);
        at(S, 1, col) = (J22 * dxi - J12 * deta) / d;
        at(S, 2, col) = (J11 * deta - J21 * dxi) / d;
    }
};
} // namespace

void GAUSSQ(std::int32_t n, double* xi, double* eta, double* w) {
    constexpr double a = 0.5773502691896258;
    constexpr double b = 0.7745966692414834;
    if (n == 1) {
        xi[0] = 0.0;
        eta[0] = 0.0;
        w[0] = 4.0;
    } else if (n == 4) {
        const double px[4] = {-a, a, a, -a};
        const double py[4] = {-a, -a, a, a};
        for (int i = 0; i < 4; ++i) {
            xi[i] = px[i];
            eta[i] = py[i];
            w[i] = 1.0;
        }
    } else if (n == 9) {
        const double px[9] = {-b, b, b, -b, 0.0, b, 0.0, -b, 0.0};
        const double py[9] = {-b, -b, b, b, -b, 0.0, b, 0.0, 0.0};
        for (int i = 0; i < 9; ++i) {
            xi[i] = px[i];
            eta[i] = py[i];
            w[i] = i < 4 ? 25.0 / 81.0 : (i < 8 ? 40.0 / 81.0 : 64.0 / 81.0);
        }
    }
}

void SHAPQ(double xi, double eta, const double* X, const double* Y, const std::int32_t* F,
           std::int32_t mode, double& det, double* S) {
    // Highest node in use.
    int last = 4;
    if (F[8] > 0) {
        last = 9;
    } else {
        for (int k = 8; k >= 5; --k)
            if (F[k - 1] != 0) {
                last = k;
                break;
            }
    }

    for (int i = 1; i <= 4; ++i) {
        const double fx = 0.5 + 0.5 * kXiC[i - 1] * xi;
        const double fe = 0.5 + 0.5 * kEtaC[i - 1] * eta;
        at(S, 1, i) = 0.5 * kXiC[i - 1] * fe;
        at(S, 2, i) = 0.5 * kEtaC[i - 1] * fx;
        at(S, 3, i) = fx * fe;
    }

    // Side and centre nodes; a centre node is evaluated whenever its flag is
    // set, also without side nodes.
    if (last > 4 || F[8] != 0) {
        for (int k = 5; k <= last; ++k)
            for (int r = 1; r <= 3; ++r) at(S, r, k) = 0.0;
        const double xx = 1.0 - xi * xi;
        const double ee = 1.0 - eta * eta;
        if (F[4] != 0) {
            at(S, 1, 5) = -xi * (1.0 - eta);
            at(S, 2, 5) = -0.5 * xx;
            at(S, 3, 5) = 0.5 * xx * (1.0 - eta);
        }
        if (F[5] != 0) {
            at(S, 1, 6) = 0.5 * ee;
            at(S, 2, 6) = -(1.0 + xi) * eta;
            at(S, 3, 6) = 0.5 * (1.0 + xi) * ee;
        }
        if (F[6] != 0) {
            at(S, 1, 7) = -xi * (1.0 + eta);
            at(S, 2, 7) = 0.5 * xx;
            at(S, 3, 7) = 0.5 * xx * (1.0 + eta);
        }
        if (F[7] != 0) {
            at(S, 1, 8) = -0.5 * ee;
            at(S, 2, 8) = -(1.0 - xi) * eta;
            at(S, 3, 8) = 0.5 * (1.0 - xi) * ee;
        }
        if (F[8] != 0) {
            at(S, 1, 9) = -2.0 * xi * ee;
            at(S, 2, 9) = -2.0 * eta * xx;
            at(S, 3, 9) = xx * ee;
        }
        // A centre node with its own DOF: corners and sides lose its share.
        if (F[8] > 0) {
            for (int r = 1; r <= 3; ++r) {
                const double n9 = at(S, r, 9);
                for (int i = 1; i <= 4; ++i) at(S, r, i) -= 0.25 * n9;
                for (int k = 5; k <= 8; ++k)
                    if (F[k - 1] != 0) at(S, r, k) -= 0.5 * n9;
            }
        }
        // Corners lose half of each adjacent side node with flag 1.
        static constexpr int adj[4][2] = {{8, 5}, {5, 6}, {6, 7}, {7, 8}};
        for (int i = 1; i <= 4; ++i)
            for (int s = 0; s < 2; ++s) {
                const int k = adj[i - 1][s];
                if (F[k - 1] == 1)
                    for (int r = 1; r <= 3; ++r) at(S, r, i) -= 0.5 * at(S, r, k);
            }
    }

    if (mode < 0) return;

    Jacobian J;
    for (int k = 1; k <= last; ++k) {
        if (F[k - 1] <= 0 && k > 4) continue; // a condensed centre has no coordinates
        J.add(S, k, X, Y);
    }
    det = J.det();
    if (mode == 0) return;

    for (int k = 1; k <= 9; ++k)
        if (k <= 4 || F[k - 1] != 0) J.toGlobal(S, k, det);
}

void SHAPQ6(double xi, double eta, const double* X, const double* Y, std::int32_t mode,
            double& det, double* S) {
    for (int i = 1; i <= 4; ++i) {
        const double fx = 0.5 + 0.5 * kXiC[i - 1] * xi;
        const double fe = 0.5 + 0.5 * kEtaC[i - 1] * eta;
        at(S, 1, i) = 0.5 * kXiC[i - 1] * fe;
        at(S, 2, i) = 0.5 * kEtaC[i - 1] * fx;
        at(S, 3, i) = fx * fe;
    }
    at(S, 1, 5) = -2.0 * xi;
    at(S, 2, 5) = 0.0;
    at(S, 3, 5) = 1.0 - xi * xi;
    at(S, 1, 6) = 0.0;
    at(S, 2, 6) = -2.0 * eta;
    at(S, 3, 6) = 1.0 - eta * eta;
    if (mode < 0) return;

    Jacobian J;
    for (int k = 1; k <= 4; ++k) J.add(S, k, X, Y);
    det = J.det();
    if (mode == 0) return;
    for (int k = 1; k <= 6; ++k) J.toGlobal(S, k, det);
}

} // namespace solvika

// Membrane quadrilaterals: the isoparametric Q4, Q8 and Q9 (centre node
// condensed) and the Q6, a Q4 with two condensed internal modes.
#include <cmath>

#include "solver/elements/membrane.h"
#include "solver/elements/membrane_util.h"
#include "solver/linalg/dense.h"

namespace solvika {

using membrane::Elast;

namespace {

constexpr double kXiC[4] = {-1.0, 1.0, 1.0, -1.0};
constexpr double kEtaC[4] = {-1.0, -1.0, 1.0, 1.0};
constexpr double kPivotTol = 1.0e-10;

// Bilinear corner functions at (xi, eta).
void bilinear(double xi, double eta, double* N) {
    for (int i = 0; i < 4; ++i) N[i] = 0.25 * (1.0 + kXiC[i] * xi) * (1.0 + kEtaC[i] * eta);
}

double thickness(const double* H, const double* N) {
    return N[0] * H[0] + N[1] * H[1] + N[2] * H[2] + N[3] * H[3];
}

// Node layout of a variable-node quadrilateral from its flags: the present
// nodes in order with their first DOF (0-based), and whether node 9 is a
// condensed centre.
struct QuadNodes {
    std::int32_t F[9];
    int node[9]; // present nodes with DOF of their own (1-based numbers)
    int pos[9];  // their first DOF
    int count = 0;
    int next = 0; // number of DOF of the present nodes
    bool centre = false;

    explicit QuadNodes(const std::int32_t* flags) {
        for (int k = 0; k < 9; ++k) F[k] = flags[k];
        for (int k = 0; k < 4; ++k) F[k] = 1;
        centre = F[8] < 0;
        for (int k = 1; k <= 9; ++k) {
            if (F[k - 1] == 0 || (k == 9 && centre)) continue;
            node[count] = k;
            pos[count] = next;
            ++count;
            next += 2;
        }
    }

    // First DOF of node k, or -1 when it has none.
    int dofOf(int k) const {
        for (int i = 0; i < count; ++i)
            if (node[i] == k) return pos[i];
        return -1;
    }
};

int gaussCount(std::int32_t n, const QuadNodes& q) {
    if (n == 1 || n == 4 || n == 9) return n;
    return q.F[8] != 0 ? 9 : 4;
}

inline double sh(const double* S, int row, int node) { return S[(row - 1) + 3 * (node - 1)]; }

// Calls body(S, N, fac) at each Gauss point of the variable-node
// quadrilateral: shape array S, bilinear corner functions N and the factor
// det t w. Stops with false at a point whose det is not positive.
template <class Body>
bool forGaussPoints(std::int32_t n, const QuadNodes& q, const double* X, const double* Y, const double* H,
                    Body body) {
    const int ng = gaussCount(n, q);
    double gx[9], gy[9], gw[9];
    GAUSSQ(ng, gx, gy, gw);
    for (int p = 0; p < ng; ++p) {
        double S[27], N[4], det = 0.0;
        bilinear(gx[p], gy[p], N);
        SHAPQ(gx[p], gy[p], X, Y, q.F, 1, det, S);
        if (det <= 0.0) return false;
        body(S, N, det * thickness(H, N) * gw[p]);
    }
    return true;
}

// The point (x, y) of the corners' bilinear map at (xi, eta).
void mapPoint(double xi, double eta, const double* X, const double* Y, double& x, double& y) {
    double N[4];
    bilinear(xi, eta, N);
    x = 0.0;
    y = 0.0;
    for (int i = 0; i < 4; ++i) {
        x += N[i] * X[i];
        y += N[i] * Y[i];
    }
}

// Adds fac B_a^T (C B_b) of two nodes to the 2 x 2 block at (ra, cb) of K.
inline void addBlock(double fac, double ax, double ay, const double* su, const double* sv,
                     double* K, int ld, int ra, int cb) {
    K[ra + ld * cb] += fac * (ax * su[0] + ay * su[2]);
    K[ra + ld * (cb + 1)] += fac * (ax * sv[0] + ay * sv[2]);
    K[ra + 1 + ld * cb] += fac * (ay * su[1] + ax * su[2]);
    K[ra + 1 + ld * (cb + 1)] += fac * (ay * sv[1] + ax * sv[2]);
}

// Kcc^-1 z of the condensation data (pairs 17-18 hold Kcc^-1).
inline void centreSolve(const double* CD, const double* r, double* z) {
    z[0] = CD[32] * r[0] + CD[34] * r[1];
    z[1] = CD[33] * r[0] + CD[35] * r[1];
}

// Removes the centre share RI from the external load: RE -= Kec Kcc^-1 RI.
void condenseCentreLoad(const double* CD, const double* RI, int next, double* RE) {
    double z[2];
    centreSolve(CD, RI, z);
    for (int i = 0; i < next; ++i) RE[i] -= CD[2 * i] * z[0] + CD[2 * i + 1] * z[1];
}

// Gauss points of the Q6 with the shape arrays, their factors t w det and
// the mode derivatives corrected to zero mean. Returns 0, -1 (det <= 0) or
// -3 (volume <= 0).
int q6Points(const double* X, const double* Y, const double* H, double S[4][18],
             double fac[4]) {
    double xi[4], eta[4], w[4];
    GAUSSQ(4, xi, eta, w);
    double V = 0.0, m[4] = {0.0, 0.0, 0.0, 0.0};
    for (int p = 0; p < 4; ++p) {
        double det = 0.0;
        SHAPQ6(xi[p], eta[p], X, Y, 1, det, S[p]);
        if (det <= 0.0) return -1;
        double N[4];
        bilinear(xi[p], eta[p], N);
        fac[p] = thickness(H, N) * w[p] * det;
        V += fac[p];
        m[0] += fac[p] * sh(S[p], 1, 5);
        m[1] += fac[p] * sh(S[p], 2, 5);
        m[2] += fac[p] * sh(S[p], 1, 6);
        m[3] += fac[p] * sh(S[p], 2, 6);
    }
    if (V <= 0.0) return -3;
    for (int p = 0; p < 4; ++p) {
        S[p][12] -= m[0] / V;
        S[p][13] -= m[1] / V;
        S[p][15] -= m[2] / V;
        S[p][16] -= m[3] / V;
    }
    return 0;
}

} // namespace

void QUAD_Sm(const double* C, const double* X, const double* Y, const double* H,
             const std::int32_t* F, std::int32_t ndof, std::int32_t n, std::int32_t mode,
             double* EK, double* CD, std::int32_t& ierr) {
    if (mode < 0 && F[8] >= 0) {
        ierr = -3;
        return;
    }
    ierr = 0;
    const QuadNodes q(F);
    const int ld = ndof;
    if (mode >= 0)
        for (std::int64_t k = 0; k < static_cast<std::int64_t>(ld) * ld; ++k) EK[k] = 0.0;
    if (q.centre)
        for (int k = 0; k < 36; ++k) CD[k] = 0.0;

    const Elast e = Elast::fromPacked(C);
    const bool regular = forGaussPoints(n, q, X, Y, H, [&](const double* S, const double*, double fac) {
        double su[9][3], sv[9][3];
        for (int k = 1; k <= 9; ++k)
            if (q.F[k - 1] != 0) e.columns(sh(S, 1, k), sh(S, 2, k), su[k - 1], sv[k - 1]);
        for (int b = 0; b < q.count; ++b) {
            const int kb = q.node[b];
            if (mode >= 0)
                for (int a = b; a < q.count; ++a) {
                    const int ka = q.node[a];
                    addBlock(fac, sh(S, 1, ka), sh(S, 2, ka), su[kb - 1], sv[kb - 1], EK, ld,
                             q.pos[a], q.pos[b]);
                }
            // CD as a 2 x 18 array: Kce of the centre rows to the DOF columns.
            if (q.centre) addBlock(fac, sh(S, 1, 9), sh(S, 2, 9), su[kb - 1], sv[kb - 1], CD, 2, 0, q.pos[b]);
        }
        if (q.centre) addBlock(fac, sh(S, 1, 9), sh(S, 2, 9), su[8], sv[8], CD, 2, 0, 16);
    });
    if (!regular) {
        ierr = -1;
        return;
    }

    if (q.centre) {
        const double k11 = CD[32], k21 = CD[33], k12 = CD[34], k22 = CD[35];
        const double d = k11 * k22 - k12 * k21;
        if (d <= 0.0) {
            ierr = -2;
            return;
        }
        CD[32] = k22 / d;
        CD[33] = -k21 / d;
        CD[34] = -k12 / d;
        CD[35] = k11 / d;
        if (mode >= 0)
            for (int j = 0; j < q.next; ++j) {
                double z[2];
                centreSolve(CD, CD + 2 * j, z);
                for (int i = j; i < q.next; ++i) EK[i + ld * j] -= CD[2 * i] * z[0] + CD[2 * i + 1] * z[1];
            }
    }
    if (mode >= 0)
        for (int j = 0; j < q.next; ++j)
            for (int i = j + 1; i < q.next; ++i) EK[j + ld * i] = EK[i + ld * j];
}

void QUAD_Ld(double* RE, const double* X, const double* Y, const double* H,
             const std::int32_t* F, std::int32_t ndof, std::int32_t n, std::int32_t iside,
             double* P1, const double* P2, const double* CD, std::int32_t& ierr) {
    ierr = 0;
    for (int k = 0; k < ndof; ++k) RE[k] = 0.0;
    const QuadNodes q(F);
    if (iside == 0) {
        const double px = P1[0], py = P1[1];
        double RI[2] = {0.0, 0.0};
        const bool regular = forGaussPoints(n, q, X, Y, H, [&](const double* S, const double*, double fac) {
            for (int a = 0; a < q.count; ++a) {
                const double f = fac * sh(S, 3, q.node[a]);
                RE[q.pos[a]] += f * px;
                RE[q.pos[a] + 1] += f * py;
            }
            if (q.centre) {
                RI[0] += fac * sh(S, 3, 9) * px;
                RI[1] += fac * sh(S, 3, 9) * py;
            }
        });
        if (!regular) {
            ierr = -1;
            return;
        }
        if (q.centre) {
            condenseCentreLoad(CD, RI, q.next, RE);
            P1[0] = RI[0];
            P1[1] = RI[1];
        }
        return;
    }

    const membrane::LoadedSide side(X, Y, 4, iside);
    if (side.L == 0.0) return;
    double p1[2], p2[2];
    side.global(P1, p1);
    side.global(P2, p2);
    const int d0 = q.dofOf(side.i0 + 1), d1 = q.dofOf(side.i1 + 1);
    const int dm = q.F[4 + side.s - 1] >= 1 ? q.dofOf(4 + side.s) : -1;
    if (dm < 0)
        membrane::linearSideForces(side.L, p1, p2, RE + d0, RE + d1);
    else
        membrane::quadraticSideForces(side.L, p1, p2, RE + d0, RE + d1, RE + dm);
}

void QUAD_Le(double* RE, double* RI, const double* C, const double* X, const double* Y,
             const double* H, const std::int32_t* F, std::int32_t ndof, std::int32_t n,
             const double* EPS, const double* CD, std::int32_t& ierr) {
    ierr = 0;
    for (int k = 0; k < ndof; ++k) RE[k] = 0.0;
    RI[0] = RI[1] = 0.0;
    const QuadNodes q(F);
    const Elast e = Elast::fromPacked(C);
    const bool regular = forGaussPoints(n, q, X, Y, H, [&](const double* S, const double* N, double fac) {
        double eps[3] = {0.0, 0.0, 0.0}, s[3];
        for (int i = 0; i < 4; ++i)
            for (int r = 0; r < 3; ++r) eps[r] += N[i] * EPS[r + 3 * i];
        e.apply(eps, s);
        for (int r = 0; r < 3; ++r) s[r] *= fac;
        for (int a = 0; a < q.count; ++a) {
            const double ax = sh(S, 1, q.node[a]), ay = sh(S, 2, q.node[a]);
            RE[q.pos[a]] += ax * s[0] + ay * s[2];
            RE[q.pos[a] + 1] += ay * s[1] + ax * s[2];
        }
        if (q.centre) {
            const double ax = sh(S, 1, 9), ay = sh(S, 2, 9);
            RI[0] += ax * s[0] + ay * s[2];
            RI[1] += ay * s[1] + ax * s[2];
        }
    });
    if (!regular) {
        ierr = -1;
        return;
    }
    if (q.centre) condenseCentreLoad(CD, RI, q.next, RE);
}

void QUAD_Str(double* S, double* SC, const double* C, const double* X, const double* Y,
              double xi, double eta, const std::int32_t* F, std::int32_t ndof, const double* CD,
              std::int32_t& ierr) {
    ierr = 0;
    for (int k = 0; k < 3 * ndof; ++k) S[k] = 0.0;
    for (int k = 0; k < 6; ++k) SC[k] = 0.0;
    const QuadNodes q(F);
    double SH[27], det = 0.0;
    SHAPQ(xi, eta, X, Y, q.F, 1, det, SH);
    if (det <= 0.0) {
        ierr = -1;
        return;
    }
    const Elast e = Elast::fromPacked(C);
    for (int a = 0; a < q.count; ++a)
        e.columns(sh(SH, 1, q.node[a]), sh(SH, 2, q.node[a]), S + 3 * q.pos[a],
                  S + 3 * (q.pos[a] + 1));
    if (!q.centre) return;
    double sc[6];
    e.columns(sh(SH, 1, 9), sh(SH, 2, 9), sc, sc + 3);
    for (int r = 0; r < 3; ++r) {
        SC[r] = sc[r] * CD[32] + sc[r + 3] * CD[33];
        SC[r + 3] = sc[r] * CD[34] + sc[r + 3] * CD[35];
    }
    for (int i = 0; i < q.next; ++i)
        for (int r = 0; r < 3; ++r) S[r + 3 * i] -= SC[r] * CD[2 * i] + SC[r + 3] * CD[2 * i + 1];
}

void Q6_Sm(const double* C, const double* X, const double* Y, const double* H, double* EK,
           std::int32_t& ierr) {
    ierr = 0;
    for (int k = 0; k < 64; ++k) EK[k] = 0.0;
    double S[4][18], fac[4];
    ierr = q6Points(X, Y, H, S, fac);
    if (ierr != 0) return;

    // 12 x 12 over the corner DOF (1-8) and the modes' u, v (9-12).
    const Elast e = Elast::fromPacked(C);
    double K[144] = {};
    for (int p = 0; p < 4; ++p) {
        double su[6][3], sv[6][3];
        for (int k = 1; k <= 6; ++k) e.columns(sh(S[p], 1, k), sh(S[p], 2, k), su[k - 1], sv[k - 1]);
        for (int a = 1; a <= 6; ++a)
            for (int b = 1; b <= 6; ++b)
                addBlock(fac[p], sh(S[p], 1, a), sh(S[p], 2, a), su[b - 1], sv[b - 1], K, 12,
                         2 * (a - 1), 2 * (b - 1));
    }

    // Condense the modes: Kii X = Kie, EK = Kee - Kei X.
    double A[16], B[32];
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) A[i + 4 * j] = K[8 + i + 12 * (8 + j)];
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 4; ++i) B[i + 4 * j] = K[8 + i + 12 * j];
    std::int32_t flag = 0;
    SOLDLT(A, B, kPivotTol, 4, 8, 0, 2, flag);
    if (flag < 0) {
        ierr = -2;
        return;
    }
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) {
            double s = K[i + 12 * j];
            for (int r = 0; r < 4; ++r) s -= K[i + 12 * (8 + r)] * B[r + 4 * j];
            EK[i + 8 * j] = s;
        }
}

// The stress field of seven parameters, in coordinates (u, v) relative to the
// corners' mean and scaled by the element size:
//   sigma_x = a1 + a2 u + a3 v, sigma_y = a4 + a5 u + a6 v,
//   tau_xy = a7 - a6 u - a2 v
// (self-equilibrated). The parameters are the least-squares fit of the
// field's work-equivalent forces on the 8 corner DOF and the 4 internal-mode
// DOF of the Q6 (with the same zero-mean mode strains as Q6_Sm) to the given
// nodal forces and zero: the forces of the element's own stress field. A
// field of this form is therefore reproduced exactly.
void Q6_Str(const double* FN, const double* X, const double* Y, const double* H,
            const double* XI, const double* ETA, std::int32_t npt, double* SIG,
            std::int32_t& ierr) {
    ierr = 0;
    double S[4][18], fac[4];
    ierr = q6Points(X, Y, H, S, fac);
    if (ierr != 0) return;

    const double xm = 0.25 * (X[0] + X[1] + X[2] + X[3]);
    const double ym = 0.25 * (Y[0] + Y[1] + Y[2] + Y[3]);
    double scale = 0.0;
    for (int i = 0; i < 4; ++i)
        scale = std::fmax(scale, std::fmax(std::fabs(X[i] - xm), std::fabs(Y[i] - ym)));
    const auto field = [&](double x, double y, double P[3][7]) {
        const double u = (x - xm) / scale, v = (y - ym) / scale;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 7; ++c) P[r][c] = 0.0;
        P[0][0] = 1.0;
        P[0][1] = u;
        P[0][2] = v;
        P[1][3] = 1.0;
        P[1][4] = u;
        P[1][5] = v;
        P[2][6] = 1.0;
        P[2][5] = -u;
        P[2][1] = -v;
    };

    // Hm (12 x 7): work-equivalent forces of each field parameter.
    double Hm[12][7] = {};
    double xi[4], eta[4], w[4];
    GAUSSQ(4, xi, eta, w);
    for (int p = 0; p < 4; ++p) {
        double x = 0.0, y = 0.0;
        mapPoint(xi[p], eta[p], X, Y, x, y);
        double P[3][7];
        field(x, y, P);
        for (int a = 1; a <= 6; ++a) {
            const double ax = sh(S[p], 1, a), ay = sh(S[p], 2, a);
            for (int c = 0; c < 7; ++c) {
                Hm[2 * (a - 1)][c] += fac[p] * (ax * P[0][c] + ay * P[2][c]);
                Hm[2 * (a - 1) + 1][c] += fac[p] * (ay * P[1][c] + ax * P[2][c]);
            }
        }
    }
    double M[49], rhs[7];
    for (int c = 0; c < 7; ++c) {
        for (int d = 0; d < 7; ++d) {
            double s = 0.0;
            for (int r = 0; r < 12; ++r) s += Hm[r][c] * Hm[r][d];
            M[c + 7 * d] = s;
        }
        double s = 0.0;
        for (int r = 0; r < 8; ++r) s += Hm[r][c] * FN[r];
        rhs[c] = s;
    }
    std::int32_t flag = 0;
    SOLDLT(M, rhs, kPivotTol, 7, 1, 0, 2, flag);
    if (flag < 0) {
        ierr = -2;
        return;
    }
    for (int k = 0; k < npt; ++k) {
        double x = 0.0, y = 0.0;
        mapPoint(XI[k], ETA[k], X, Y, x, y);
        double P[3][7];
        field(x, y, P);
        for (int r = 0; r < 3; ++r) {
            double s = 0.0;
            for (int c = 0; c < 7; ++c) s += P[r][c] * rhs[c];
            SIG[r + 3 * k] = s;
        }
    }
}

void Q6_Int(const double* f, const double* GJ, const double* X, const double* Y, double* U,
            std::int32_t& ierr) {
    ierr = 0;
    const double xm = 0.25 * (X[0] + X[1] + X[2] + X[3]);
    const double ym = 0.25 * (Y[0] + Y[1] + Y[2] + Y[3]);
    double dx[4], dy[4];
    double A[9] = {4.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}, r[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < 4; ++i) {
        dx[i] = X[i] - xm;
        dy[i] = Y[i] - ym;
        A[1] += dx[i];
        A[2] += dy[i];
        A[4] += dx[i] * dx[i];
        A[5] += dx[i] * dy[i];
        A[8] += dy[i] * dy[i];
        r[0] += f[i];
        r[1] += dx[i] * f[i];
        r[2] += dy[i] * f[i];
    }
    A[3] = A[1];
    A[6] = A[2];
    A[7] = A[5];
    SOLDLT(A, r, kPivotTol, 3, 1, 0, 2, ierr);
    if (ierr < 0) return;
    ierr = 0;
    const double a = r[0], b = r[1], c = r[2], G = GJ[0], J = GJ[1];
    for (int i = 0; i < 4; ++i) {
        U[2 * i] = G * dx[i] * (a + c * dy[i]) + 0.5 * b * (G * dx[i] * dx[i] - J * dy[i] * dy[i]);
        U[2 * i + 1] = J * dy[i] * (a + b * dx[i]) + 0.5 * c * (J * dy[i] * dy[i] - G * dx[i] * dx[i]);
    }
}

} // namespace solvika

// Membrane triangles: CST (constant strain), LST (linear strain, side nodes
// at the side mid-points) and QST (complete cubic field, internal DOF
// condensed). Integrals are exact: polynomials in area coordinates are
// integrated with the monomial rule (tri_poly.h).
#include <cmath>

#include "solver/elements/matprt.h"
#include "solver/elements/membrane.h"
#include "solver/elements/membrane_util.h"
#include "solver/elements/tri_poly.h"
#include "solver/elements/tri_print.h"
#include "solver/linalg/fwrite.h"

namespace solvika {

using membrane::Elast;
using membrane::TriGeo;

namespace {

// ---- Run-log lines of the triangle stiffness routines ----------------------

struct TriLog {
    const Layout& entry;
    const Layout& error;
    const Layout& leaving;
    const Layout& stiffness;
    const Layout& elastRow;
};

void printInput(int lunit, const TriLog& log, int iel, const double* C, const double* X,
                const double* Y, const double* H, double t) {
    fwrite(lunit, log.entry, {iel});
    printTriangleInput(lunit, C, X, Y, H, t, log.elastRow);
}

void printError(int lunit, const TriLog& log, int iel, int ierr) {
    if (lunit <= 0) return;
    fwrite(lunit, log.error);
    printErrorFlag(lunit, ierr, iel);
}

// Sets and logs the error flag of a triangle of negative (-1) or zero (-2)
// area, for which it returns false.
bool positiveArea(const TriGeo& geo, int lunit, const TriLog& log, int iel, std::int32_t& ierr) {
    if (geo.twoA <= 0.0) {
        ierr = geo.twoA < 0.0 ? -1 : -2;
        printError(lunit, log, iel, ierr);
        return false;
    }
    return true;
}

void printExit(int lunit, const TriLog& log, int iel, int ipsw, const double* EK, int n) {
    if (lunit <= 0) return;
    if (ipsw > 2) {
        fwrite(lunit, log.stiffness);
        MATPRT(EK, n, n, lunit);
    }
    if (ipsw >= 2) fwrite(lunit, log.leaving, {iel});
}

const TriLog& cstLog() {
    static const Layout entry("/ / / ' ENTERING PCST31 FOR ELEMENT ' I5 ' :'");
    static const Layout error("/ / / ' *** ERROR RETURN FROM PCST31 ***'");
    static const Layout leaving("/ ' LEAVING PCST31 FOR ELEMENT ' I5");
    static const Layout stiff("/ / '     ELEMENT STIFFNESS MATRIX :'");
    static const Layout row("1P E17.7 1P 2E15.7");
    static const TriLog log{entry, error, leaving, stiff, row};
    return log;
}

const TriLog& lstLog() {
    static const Layout entry("/ / / ' ENTERING LST31 FOR ELEMENT ' I5 ' :'");
    static const Layout error("/ / / ' *** ERROR RETURN FROM LST31 ***'");
    static const Layout leaving("/ ' LEAVING LST31 FOR ELEMENT ' I5");
    static const Layout stiff("/ 5X 'ELEMENT STIFFNESS MATRIX :'");
    static const Layout row("1P E18.7 1P 2E15.7");
    static const TriLog log{entry, error, leaving, stiff, row};
    return log;
}

const TriLog& qstLog() {
    static const Layout entry("/ / / ' ENTERING PQST31 FOR ELEMENT ' I5 ' :'");
    static const Layout error("/ / / ' *** ERROR RETURN FROM PQST31 ***'");
    static const Layout leaving("/ / / ' LEAVING PQST31 FOR ELEMENT ' I5");
    static const Layout stiff("/ '     ELEMENT STIFFNESS MATRIX :'");
    static const Layout row("1P E18.7 1P 2E15.7");
    static const TriLog log{entry, error, leaving, stiff, row};
    return log;
}

// ---- Shape functions in area coordinates ---------------------------------

// Position of the product of the listed area coordinates (0-based indices)
// among the monomials of its degree.
int monoOf(std::initializer_list<int> factors) {
    int e[3] = {0, 0, 0};
    for (int f : factors) ++e[f];
    return tri::mono(e[0], e[1], e[2]);
}

// The x and y derivatives of the nf shape polynomials P (degree d, one
// column of nmono(d) coefficients each): Dx, Dy with nmono(d - 1) rows.
void derivatives(const TriGeo& geo, const double* P, int nf, int d, double* Dx, double* Dy) {
    const int nm = tri::nmono(d), nd = tri::nmono(d - 1);
    for (int f = 0; f < nf; ++f) {
        tri::deriv(P + nm * f, d, geo.b, Dx + nd * f);
        tri::deriv(P + nm * f, d, geo.c, Dy + nd * f);
    }
}

// The LST's six quadratic shape functions: corners L_i(2 L_i - 1), then the
// side nodes 4 L_i L_j of sides 1-2, 2-3, 3-1 (6 x 6).
void lstShapes(double* P) {
    for (int k = 0; k < 36; ++k) P[k] = 0.0;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3, k = (i + 2) % 3;
        double* p = P + 6 * i;
        p[monoOf({i, i})] = 1.0; // L_i (2 L_i - (L1 + L2 + L3))
        p[monoOf({i, j})] = -1.0;
        p[monoOf({i, k})] = -1.0;
        P[6 * (3 + i) + monoOf({i, j})] = 4.0;
    }
}

// The QST's ten scalar cubic shape functions (10 x 10). For corner i
// (j, k the others) and its directional functions phi_ij = L_i^2 L_j -
// L1 L2 L3: function 3i is the value, N_i = L_i^3 + 3 L_i^2 (L_j + L_k) -
// 7 L1 L2 L3; 3i+1 the x derivative, (x_j - x_i) phi_ij + (x_k - x_i)
// phi_ik; 3i+2 the y derivative, likewise with y. Function 9 is the bubble
// 27 L1 L2 L3, whose DOF is the centroid value of the field (all corner
// functions vanish at the centroid).
void qstShapes(const double* X, const double* Y, double* P) {
    for (int k = 0; k < 100; ++k) P[k] = 0.0;
    const int b = monoOf({0, 1, 2});
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3, k = (i + 2) % 3;
        double* v = P + 10 * (3 * i);
        v[monoOf({i, i, i})] = 1.0;
        v[monoOf({i, i, j})] = 3.0;
        v[monoOf({i, i, k})] = 3.0;
        v[b] = -7.0;
        const int ij = monoOf({i, i, j}), ik = monoOf({i, i, k});
        const double d[2][2] = {{X[j] - X[i], X[k] - X[i]}, {Y[j] - Y[i], Y[k] - Y[i]}};
        for (int a = 0; a < 2; ++a) {
            double* p = P + 10 * (3 * i + 1 + a);
            p[ij] = d[a][0];
            p[ik] = d[a][1];
            p[b] = -(d[a][0] + d[a][1]);
        }
    }
    P[10 * 9 + b] = 27.0;
}

// u DOF (0-based) of the QST's scalar functions: corner values at 6i, the
// x derivatives at 6i + 2, the y derivatives at 6i + 4, the internal at 18.
constexpr int kQstU[10] = {0, 2, 4, 6, 8, 10, 12, 14, 16, 18};
constexpr int kLstU[6] = {0, 2, 4, 6, 8, 10};

// Stiffness of nf shape functions whose derivatives Dx, Dy are polynomials
// of degree dd, with the linear thickness H: K += integral t B^T C B.
void polyStiffness(int nf, int dd, const double* Dx, const double* Dy, const double* H,
                   double twoA, const Elast& e, const int* udof, double* K, int ld) {
    constexpr int kMaxF = 10, kMaxM = 6;
    const int nm = tri::nmono(dd);
    double Q[kMaxM * kMaxM];
    tri::gram(H, 1, dd, twoA, Q);
    double QDx[kMaxF * kMaxM], QDy[kMaxF * kMaxM];
    for (int f = 0; f < nf; ++f)
        for (int r = 0; r < nm; ++r) {
            double sx = 0.0, sy = 0.0;
            for (int c = 0; c < nm; ++c) {
                sx += Q[r + nm * c] * Dx[c + nm * f];
                sy += Q[r + nm * c] * Dy[c + nm * f];
            }
            QDx[r + nm * f] = sx;
            QDy[r + nm * f] = sy;
        }
    double Ixx[kMaxF * kMaxF], Ixy[kMaxF * kMaxF], Iyy[kMaxF * kMaxF];
    for (int g = 0; g < nf; ++g)
        for (int f = 0; f < nf; ++f) {
            double xx = 0.0, xy = 0.0, yy = 0.0;
            for (int r = 0; r < nm; ++r) {
                xx += Dx[r + nm * f] * QDx[r + nm * g];
                xy += Dx[r + nm * f] * QDy[r + nm * g];
                yy += Dy[r + nm * f] * QDy[r + nm * g];
            }
            Ixx[f + nf * g] = xx;
            Ixy[f + nf * g] = xy;
            Iyy[f + nf * g] = yy;
        }
    membrane::addScalarStiffness(nf, Ixx, Ixy, Iyy, e, udof, K, ld);
}

// Initial-strain load of nf shape functions (derivatives Dx, Dy of degree
// dd): RE += integral t B^T C eps0, eps0 and t linear from their corner
// values (EPS 3 x 3, H 3).
void polyStrainLoad(int nf, int dd, const double* Dx, const double* Dy, const double* H,
                    const double* EPS, double twoA, const Elast& e, const int* udof,
                    double* RE) {
    constexpr int kMaxM = 6;
    const int nm = tri::nmono(dd);
    double s[3][3]; // s[comp][corner] = (C eps0 at the corner)
    for (int h = 0; h < 3; ++h) {
        double sh[3];
        e.apply(EPS + 3 * h, sh);
        for (int r = 0; r < 3; ++r) s[r][h] = sh[r];
    }
    double m[3][kMaxM];
    for (int r = 0; r < 3; ++r) {
        double w[6];
        tri::mul(H, 1, s[r], 1, w);
        tri::moments(w, 2, dd, twoA, m[r]);
    }
    for (int f = 0; f < nf; ++f) {
        double fu = 0.0, fv = 0.0;
        for (int k = 0; k < nm; ++k) {
            const double dx = Dx[k + nm * f], dy = Dy[k + nm * f];
            fu += dx * m[0][k] + dy * m[2][k];
            fv += dy * m[1][k] + dx * m[2][k];
        }
        RE[udof[f]] += fu;
        RE[udof[f] + 1] += fv;
    }
}

// Stress columns C B at the area coordinates AL of nf shape functions.
void polyStress(int nf, int dd, const double* Dx, const double* Dy, const double* AL,
                const Elast& e, const int* udof, double* S) {
    const int nm = tri::nmono(dd);
    for (int f = 0; f < nf; ++f) {
        const double nx = tri::eval(Dx + nm * f, dd, AL);
        const double ny = tri::eval(Dy + nm * f, dd, AL);
        e.columns(nx, ny, S + 3 * udof[f], S + 3 * (udof[f] + 1));
    }
}

// Splits the 20 entries of a full QST load into the external RE and the
// internal share RI, and condenses RI into RE: RE -= G RI.
void condenseLoad(const double* G, const double* full, double* RE, double* RI) {
    for (int k = 0; k < 18; ++k) RE[k] = full[k];
    RI[0] = full[18];
    RI[1] = full[19];
    for (int i = 0; i < 18; ++i) RE[i] -= G[i] * RI[0] + G[i + 18] * RI[1];
}

// LST shape-function derivatives (3 x 6 each).
void lstDerivatives(const TriGeo& geo, double* Dx, double* Dy) {
    double P[36];
    lstShapes(P);
    derivatives(geo, P, 6, 2, Dx, Dy);
}

// QST shape-function derivatives (6 x 10 each).
void qstDerivatives(const double* X, const double* Y, const TriGeo& geo, double* Dx,
                    double* Dy) {
    double P[100];
    qstShapes(X, Y, P);
    derivatives(geo, P, 10, 3, Dx, Dy);
}

} // namespace

// ---- CST ------------------------------------------------------------------

void PCST31(double* EK, const double* C, const double* X, const double* Y, double t,
            std::int32_t iel, std::int32_t lunit, std::int32_t ipsw, std::int32_t& ierr) {
    ierr = 0;
    const TriLog& log = cstLog();
    if (ipsw >= 2 && lunit > 0) printInput(lunit, log, iel, C, X, Y, nullptr, t);

    const TriGeo geo(X, Y);
    double L2 = 0.0;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const double dx = X[j] - X[i], dy = Y[j] - Y[i];
        L2 = std::fmax(L2, dx * dx + dy * dy);
    }
    const double A = std::fabs(geo.twoA) / 2.0;
    if (100.0 * A <= L2) {
        ierr = -1;
        printError(lunit, log, iel, ierr);
        return;
    }
    if (8.0 * A < L2) {
        ierr = 1;
        if (ipsw >= 0 && lunit > 0) {
            static const Layout kWarn("/ / / ' *** WARNING FROM PCST31 ***'");
            static const Layout kShape("/ '     THE SHAPE MAY BE CRITICAL FOR ELEMENT' I5");
            fwrite(lunit, kWarn);
            fwrite(lunit, kShape, {iel});
        }
    }

    for (int k = 0; k < 36; ++k) EK[k] = 0.0;
    double Ixx[9], Ixy[9], Iyy[9];
    const double tA = t * A;
    for (int g = 0; g < 3; ++g)
        for (int f = 0; f < 3; ++f) {
            Ixx[f + 3 * g] = tA * geo.b[f] * geo.b[g];
            Ixy[f + 3 * g] = tA * geo.b[f] * geo.c[g];
            Iyy[f + 3 * g] = tA * geo.c[f] * geo.c[g];
        }
    static constexpr int udof[3] = {0, 2, 4};
    membrane::addScalarStiffness(3, Ixx, Ixy, Iyy, Elast::fromFull(C), udof, EK, 6);
    printExit(lunit, log, iel, ipsw, EK, 6);
}

void CST_Ld(double* RE, const double* X, const double* Y, double* P1, double* P2,
            std::int32_t iside) {
    for (int k = 0; k < 6; ++k) RE[k] = 0.0;
    if (iside == 0) {
        const double A = std::fabs(TriGeo(X, Y).twoA) / 2.0;
        for (int i = 0; i < 3; ++i) {
            RE[2 * i] = A * P1[0] / 3.0;
            RE[2 * i + 1] = A * P1[1] / 3.0;
        }
        return;
    }
    const membrane::LoadedSide side(X, Y, 3, iside);
    if (side.L == 0.0) return;
    side.global(P1, P1);
    side.global(P2, P2);
    membrane::linearSideForces(side.L, P1, P2, RE + 2 * side.i0, RE + 2 * side.i1);
}

void CST_Le(double* RE, const double* C, const double* X, const double* Y, const double* EPS,
            double t) {
    for (int k = 0; k < 6; ++k) RE[k] = 0.0;
    const TriGeo geo(X, Y);
    if (geo.twoA == 0.0) return;
    double s[3];
    Elast::fromFull(C).apply(EPS, s);
    const double tA = t * std::fabs(geo.twoA) / 2.0;
    for (int i = 0; i < 3; ++i) {
        RE[2 * i] = tA * (geo.b[i] * s[0] + geo.c[i] * s[2]);
        RE[2 * i + 1] = tA * (geo.c[i] * s[1] + geo.b[i] * s[2]);
    }
}

void CST_Str(double* S, const double* C, const double* X, const double* Y) {
    for (int k = 0; k < 18; ++k) S[k] = 0.0;
    const TriGeo geo(X, Y);
    if (geo.twoA == 0.0) return;
    const Elast e = Elast::fromFull(C);
    for (int i = 0; i < 3; ++i) e.columns(geo.b[i], geo.c[i], S + 6 * i, S + 6 * i + 3);
}

// ---- LST ------------------------------------------------------------------

void LST31(double* EK, const double* C, const double* X, const double* Y, const double* H,
           std::int32_t iel, std::int32_t lunit, std::int32_t ipsw, std::int32_t& ierr) {
    ierr = 0;
    const TriLog& log = lstLog();
    if (ipsw >= 2 && lunit > 0) printInput(lunit, log, iel, C, X, Y, H, 0.0);
    const TriGeo geo(X, Y);
    if (!positiveArea(geo, lunit, log, iel, ierr)) return;
    double Dx[18], Dy[18];
    lstDerivatives(geo, Dx, Dy);
    for (int k = 0; k < 144; ++k) EK[k] = 0.0;
    polyStiffness(6, 1, Dx, Dy, H, geo.twoA, Elast::fromFull(C), kLstU, EK, 12);
    printExit(lunit, log, iel, ipsw, EK, 12);
}

void LST_Ld(double* RE, const double* X, const double* Y, const double* H, const double* P1,
            const double* P2, std::int32_t iside) {
    for (int k = 0; k < 12; ++k) RE[k] = 0.0;
    if (iside == 0) {
        const double A60 = std::fabs(TriGeo(X, Y).twoA) / 120.0;
        for (int i = 0; i < 3; ++i) {
            const int j = (i + 1) % 3, k = (i + 2) % 3;
            const double corner = A60 * (2.0 * H[i] - H[j] - H[k]);
            const double side = A60 * (8.0 * H[i] + 8.0 * H[j] + 4.0 * H[k]);
            for (int c = 0; c < 2; ++c) {
                RE[2 * i + c] = corner * P1[c];
                RE[2 * (3 + i) + c] = side * P1[c];
            }
        }
        return;
    }
    const membrane::LoadedSide side(X, Y, 3, iside);
    if (side.L == 0.0) return;
    double p1[2], p2[2];
    side.global(P1, p1);
    side.global(P2, p2);
    membrane::quadraticSideForces(side.L, p1, p2, RE + 2 * side.i0, RE + 2 * side.i1,
                                  RE + 2 * (2 + side.s));
}

void LST_Le(double* RE, const double* C, const double* X, const double* Y, const double* H,
            const double* EPS) {
    for (int k = 0; k < 12; ++k) RE[k] = 0.0;
    const TriGeo geo(X, Y);
    if (geo.twoA == 0.0) return;
    double Dx[18], Dy[18];
    lstDerivatives(geo, Dx, Dy);
    polyStrainLoad(6, 1, Dx, Dy, H, EPS, std::fabs(geo.twoA), Elast::fromFull(C), kLstU, RE);
}

void LST_Str(double* S, const double* C, const double* X, const double* Y, const double* AL) {
    for (int k = 0; k < 36; ++k) S[k] = 0.0;
    const TriGeo geo(X, Y);
    if (geo.twoA == 0.0) return;
    double Dx[18], Dy[18];
    lstDerivatives(geo, Dx, Dy);
    polyStress(6, 1, Dx, Dy, AL, Elast::fromFull(C), kLstU, S);
}

// ---- QST ------------------------------------------------------------------

void PQST31(double* EK, double* G, double* CKI, double* W1, const double* C, const double* X,
            const double* Y, const double* H, double* W2, std::int32_t iel, std::int32_t lunit,
            std::int32_t ipsw, std::int32_t& ierr) {
    ierr = 0;
    const TriLog& log = qstLog();
    if (ipsw >= 2 && lunit > 0) printInput(lunit, log, iel, C, X, Y, H, 0.0);
    const TriGeo geo(X, Y);
    if (!positiveArea(geo, lunit, log, iel, ierr)) return;
    double* Dx = W1;
    double* Dy = W1 + 60;
    qstDerivatives(X, Y, geo, Dx, Dy);
    double* K = W2;
    for (int k = 0; k < 400; ++k) K[k] = 0.0;
    polyStiffness(10, 2, Dx, Dy, H, geo.twoA, Elast::fromFull(C), kQstU, K, 20);

    // Condense the two internal DOF (19, 20).
    const double k11 = K[18 + 20 * 18], k12 = K[18 + 20 * 19];
    const double k21 = K[19 + 20 * 18], k22 = K[19 + 20 * 19];
    const double det = k11 * k22 - k12 * k21;
    if (det == 0.0) {
        ierr = -3;
        printError(lunit, log, iel, ierr);
        return;
    }
    CKI[0] = k22 / det;
    CKI[1] = -k21 / det;
    CKI[2] = -k12 / det;
    CKI[3] = k11 / det;
    for (int i = 0; i < 18; ++i) {
        const double a = K[i + 20 * 18], b = K[i + 20 * 19];
        G[i] = a * CKI[0] + b * CKI[1];
        G[i + 18] = a * CKI[2] + b * CKI[3];
    }
    for (int j = 0; j < 18; ++j)
        for (int i = 0; i < 18; ++i)
            EK[i + 18 * j] = K[i + 20 * j] - G[i] * K[18 + 20 * j] - G[i + 18] * K[19 + 20 * j];
    printExit(lunit, log, iel, ipsw, EK, 18);
}

void QST_Ld(double* RE, double* RI, const double* G, const double* X, const double* Y,
            const double* H, const double* P1, const double* P2, const double* P3,
            std::int32_t iside) {
    for (int k = 0; k < 18; ++k) RE[k] = 0.0;
    RI[0] = RI[1] = 0.0;
    if (iside == 0) {
        const TriGeo geo(X, Y);
        double P[100], m[10];
        qstShapes(X, Y, P);
        tri::moments(H, 1, 3, std::fabs(geo.twoA), m);
        double full[20];
        for (int f = 0; f < 10; ++f) {
            double s = 0.0;
            for (int k = 0; k < 10; ++k) s += P[k + 10 * f] * m[k];
            full[kQstU[f]] = s * P1[0];
            full[kQstU[f] + 1] = s * P1[1];
        }
        condenseLoad(G, full, RE, RI);
        return;
    }
    const membrane::LoadedSide side(X, Y, 3, iside);
    if (side.L == 0.0) return;
    const int i0 = side.i0, i1 = side.i1;
    const double L = side.L;
    double p1[2], p2[2], p3[2];
    side.global(P1, p1);
    side.global(P2, p2);
    side.global(P3, p3);
    const double dx = X[i1] - X[i0], dy = Y[i1] - Y[i0];
    for (int c = 0; c < 2; ++c) {
        const double a = L * (p1[c] + 4.0 * p3[c]) / 60.0;
        const double b = L * (p2[c] + 4.0 * p3[c]) / 60.0;
        RE[6 * i0 + c] = L * (11.0 * p1[c] + 20.0 * p3[c] - p2[c]) / 60.0;
        RE[6 * i0 + 2 + c] = dx * a;
        RE[6 * i0 + 4 + c] = dy * a;
        RE[6 * i1 + c] = L * (11.0 * p2[c] + 20.0 * p3[c] - p1[c]) / 60.0;
        RE[6 * i1 + 2 + c] = -dx * b;
        RE[6 * i1 + 4 + c] = -dy * b;
    }
}

void QST_Le(double* RE, double* RI, const double* G, const double* C, const double* X,
            const double* Y, const double* H, const double* EPS) {
    for (int k = 0; k < 18; ++k) RE[k] = 0.0;
    RI[0] = RI[1] = 0.0;
    const TriGeo geo(X, Y);
    if (geo.twoA == 0.0) return;
    double Dx[60], Dy[60], full[20] = {};
    qstDerivatives(X, Y, geo, Dx, Dy);
    polyStrainLoad(10, 2, Dx, Dy, H, EPS, std::fabs(geo.twoA), Elast::fromFull(C), kQstU, full);
    condenseLoad(G, full, RE, RI);
}

void QST_Str(double* S, double* SC, const double* G, const double* CKI, const double* C,
             const double* X, const double* Y, const double* AL) {
    for (int k = 0; k < 54; ++k) S[k] = 0.0;
    for (int k = 0; k < 6; ++k) SC[k] = 0.0;
    const TriGeo geo(X, Y);
    if (geo.twoA == 0.0) return;
    double Dx[60], Dy[60], full[60];
    qstDerivatives(X, Y, geo, Dx, Dy);
    polyStress(10, 2, Dx, Dy, AL, Elast::fromFull(C), kQstU, full);
    const double* sc = full + 54; // columns of the two internal DOF
    for (int i = 0; i < 18; ++i)
        for (int r = 0; r < 3; ++r)
            S[r + 3 * i] = full[r + 3 * i] - sc[r] * G[i] - sc[r + 3] * G[i + 18];
    for (int r = 0; r < 3; ++r) {
        SC[r] = sc[r] * CKI[0] + sc[r + 3] * CKI[1];
        SC[r + 3] = sc[r] * CKI[2] + sc[r + 3] * CKI[3];
    }
}

} // namespace solvika

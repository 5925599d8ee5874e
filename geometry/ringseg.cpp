#include "geometry/ringseg.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Vec {
    double v[3] = {0.0, 0.0, 0.0};
    double& operator[](int i) { return v[i]; }
    double operator[](int i) const { return v[i]; }
};

Vec FromVector(const CVector& p)
{
    Vec r;
    for (int i = 0; i < 3 && i < p.GetSize(); ++i)
        r[i] = p[i];
    return r;
}

Vec Cross(const Vec& a, const Vec& b)
{
    Vec r;
    r[0] = a[1] * b[2] - a[2] * b[1];
    r[1] = a[2] * b[0] - a[0] * b[2];
    r[2] = a[0] * b[1] - a[1] * b[0];
    return r;
}

double Length(const Vec& a)
{
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// A unit normal from the optional argument; false without a usable one.
bool UnitNormal(const CVector* normal, Vec& n)
{
    if (!normal || normal->GetSize() < 3)
        return false;
    n = FromVector(*normal);
    const double len = Length(n);
    if (len == 0.0)
        return false;
    for (int i = 0; i < 3; ++i)
        n[i] /= len;
    return true;
}

// A new matrix of rows x cols nodes of the class; null when the class does
// not make nodes.
CObjMat* NodeMatrix(int rows, int cols, CRuntimeClass* nodeClass)
{
    CRuntimeClass* cls = nodeClass ? nodeClass : RUNTIME_CLASS(CSNode);
    if (!cls->IsDerivedFrom(RUNTIME_CLASS(CSNode)) || !cls->m_pfnCreateObject)
        return nullptr;
    CObjMat* m = new CObjMat;
    m->Allocate(rows, cols, cls);
    return m;
}

CSNode* At(CObjMat* m, int i, int j)
{
    return static_cast<CSNode*>((*m)[i][j]);
}

} // namespace

void RingSeg(CObjMat*& nodes, CVector& centre, CVector& start, double angle, int nAlong,
             int nRings, double width, CRuntimeClass* nodeClass)
{
    nodes = nullptr;
    const Vec c = FromVector(centre);
    const Vec s = FromVector(start);
    const double dx = s[0] - c[0];
    const double dy = s[1] - c[1];
    const double r = std::sqrt(dx * dx + dy * dy);
    if (nAlong < 2 || nRings < 1 || r == 0.0)
        return;
    double theta0 = std::acos(dx / r);
    if (std::asin(dy / r) < 0.0)
        theta0 = kTwoPi - theta0;
    const double step = angle / (nAlong - 1);
    nodes = NodeMatrix(nRings, nAlong, nodeClass);
    if (!nodes)
        return;
    double radius = r - width / 2.0;
    for (int i = 0; i < nRings; ++i) {
        double theta = theta0;
        for (int j = 0; j < nAlong; ++j) {
            At(nodes, i, j)->SetNodeCoord(c[0] + radius * std::cos(theta),
                                          c[1] + radius * std::sin(theta), s[2]);
            theta -= step;
        }
        if (nRings > 1)
            radius += width / (nRings - 1);
    }
}

void RingSeg(CObjMat*& nodes, CVector& p1, CVector& p2, CVector* normal, int flag, double radius,
             int nAlong, int nRings, double width, CRuntimeClass* nodeClass)
{
    nodes = nullptr;
    if (nAlong < 2 || nRings < 1)
        return;
    const Vec a1 = FromVector(p1);
    const Vec a2 = FromVector(p2);
    Vec n;
    const bool spatial = UnitNormal(normal, n);
    const double rowStep = nRings > 1 ? width / (nRings - 1) : 0.0;

    if (radius == 0.0) {
        // Straight strip along the segment.
        Vec a;
        for (int i = 0; i < 3; ++i)
            a[i] = a1[i] - a2[i];
        const double len = Length(a);
        if (len == 0.0)
            return;
        Vec c = a;
        if (spatial) {
            c = Cross(n, a);
        } else {
            c[0] = flag ? -a[1] : a[1];
            c[1] = flag ? a[0] : -a[0];
        }
        for (int i = 0; i < 3; ++i)
            c[i] /= len;
        nodes = NodeMatrix(nRings, nAlong, nodeClass);
        if (!nodes)
            return;
        double off = -width / 2.0;
        for (int i = 0; i < nRings; ++i) {
            for (int j = 0; j < nAlong; ++j) {
                const double f = static_cast<double>(j) / (nAlong - 1);
                At(nodes, i, j)->SetNodeCoord(a1[0] - a[0] * f + c[0] * off,
                                              a1[1] - a[1] * f + c[1] * off,
                                              a1[2] - a[2] * f + c[2] * off);
            }
            off += rowStep;
        }
        return;
    }

    // Arc: half chord a from p2 to the chord's midpoint m.
    Vec a, m;
    for (int i = 0; i < 3; ++i) {
        a[i] = (a1[i] - a2[i]) / 2.0;
        m[i] = a1[i] - a[i];
    }
    const double h = Length(a);
    if (h == 0.0)
        return;
    const double q = radius * radius / (h * h) - 1.0;
    if (q < 0.0)
        return;
    const double k = std::sqrt(q);
    Vec c = a;
    if (spatial) {
        c = flag ? Cross(n, a) : Cross(a, n);
        for (int i = 0; i < 3; ++i)
            c[i] *= k; // the same offset as in the plane, so the arc meets p1
    } else {
        c[0] = flag ? -k * a[1] : k * a[1];
        c[1] = flag ? k * a[0] : -k * a[0];
    }
    Vec o, u1, u2;
    for (int i = 0; i < 3; ++i) {
        o[i] = m[i] - c[i];
        u1[i] = a1[i] - o[i];
        u2[i] = a2[i] - o[i];
    }
    const double l1 = Length(u1), l2 = Length(u2);
    for (int i = 0; i < 3; ++i) {
        u1[i] /= l1;
        u2[i] /= l2;
    }
    double cosPhi = u2[0] * u1[0] + u2[1] * u1[1] + u2[2] * u1[2];
    cosPhi = cosPhi > 1.0 ? 1.0 : (cosPhi < -1.0 ? -1.0 : cosPhi);
    double phi = std::acos(cosPhi);
    if (flag)
        phi = kTwoPi - phi;
    Vec w = u2;
    if (spatial) {
        w = Cross(u1, n);
    } else {
        w[0] = u1[1];
        w[1] = -u1[0];
    }
    const double step = phi / (nAlong - 1);
    nodes = NodeMatrix(nRings, nAlong, nodeClass);
    if (!nodes)
        return;
    double ri = radius - width / 2.0;
    for (int i = 0; i < nRings; ++i) {
        double theta = 0.0;
        for (int j = 0; j < nAlong; ++j) {
            const double cs = ri * std::cos(theta), sn = ri * std::sin(theta);
            At(nodes, i, j)->SetNodeCoord(o[0] + u1[0] * cs + w[0] * sn,
                                          o[1] + u1[1] * cs + w[1] * sn,
                                          o[2] + u1[2] * cs + w[2] * sn);
            theta += step;
        }
        ri += rowStep;
    }
}

double TruncDouble(double value, int mode, int digits)
{
    const char* format = mode == 0 ? "%.*e" : mode == 1 ? "%.*f" : "%.*g";
    return AfxAtoF(AfxFormat(format, digits, value).c_str());
}

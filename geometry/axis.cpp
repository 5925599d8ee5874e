#include "geometry/axis.h"

#include <GL/gl.h>

#include <cmath>

#include "glstyle/tincora.h"

IMPLEMENT_SERIAL(CAxis, CObject, 1)

BYTE CAxis::m_cVer = 0;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kThreeHalfPi = 4.71238898038469;
constexpr double kQuarterPi = 0.7853981633974483;
constexpr double kSqrtHalf = 0.7071067811865476;
constexpr double kTwoPi = 6.283185307179586;

void Cross(const double* a, const double* b, double* out)
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

double Dot(const double* a, const double* b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void ZeroTiny(double* e)
{
    for (int i = 0; i < 3; ++i)
        if (std::fabs(e[i]) < 1e-10)
            e[i] = 0.0;
}

bool IsFree(const CSNode* node)
{
    return !node->GetEdgeList() && node->GetGraphCount() == 0;
}

void DrawLabel(const CString& label, const double* at)
{
    glRasterPos3d(at[0], at[1], at[2]);
    glCallLists(label.GetLength(), GL_UNSIGNED_BYTE, static_cast<LPCTSTR>(label));
}

void Line(const double* a, const double* b)
{
    glBegin(GL_LINES);
    glVertex3dv(a);
    glVertex3dv(b);
    glEnd();
}

// Adds to (x, y, z) the vector of the given length from a towards b.
bool AddUnity(double& x, double& y, double& z, CSNode* a, CSNode* b, double length)
{
    double v[3] = {0.0, 0.0, 0.0};
    const bool ok = CAxis::GetUnity(v[0], v[1], v[2], a, b, length);
    x += v[0];
    y += v[1];
    z += v[2];
    return ok;
}

// The line from o along v; tip receives its end.
void Arm(const double* o, const double* v, double* tip)
{
    for (int i = 0; i < 3; ++i)
        tip[i] = o[i] + v[i];
    Line(o, tip);
}

// The arrow heads of the triad X, Y, Z at o in the axis colours; a planar
// triad has no Z.
void ArrowHeads(double* o, double* X, double* Y, double* Z)
{
    glColor3d(0.75, 0.0, 0.0);
    CAxis::DrawArrowHeadGL(o, X, Y, Z);
    glColor3d(0.0, 0.0, 0.75);
    CAxis::DrawArrowHeadGL(o, Y, X, Z);
    if (!Z)
        return;
    glColor3d(0.0, 0.5, 0.0);
    CAxis::DrawArrowHeadGL(o, Z, Y, X);
}

} // namespace

CAxis::CAxis(bool zAxis)
{
    m_pOrigin = new CSNode(0.0, 0.0, 0.0, nullptr, 0);
    --CSNode::lIDnode;
    m_pXNode = new CSNode(1.0, 0.0, 0.0, nullptr, 0);
    --CSNode::lIDnode;
    if (zAxis) {
        m_pZNode = new CSNode(0.0, 0.0, 1.0, nullptr, 0);
        --CSNode::lIDnode;
    }
}

CAxis::CAxis(CSNode* origin, CSNode* xNode, CSNode* zNode)
    : m_pOrigin(origin), m_pXNode(xNode), m_pZNode(zNode)
{
    Normalize();
}

CAxis::~CAxis()
{
    CSNode* nodes[3] = {m_pOrigin, m_pXNode, m_pZNode};
    for (int i = 0; i < 3; ++i) {
        CSNode* n = nodes[i];
        if (!n || !m_bOwns[i] || (i > 0 && n == nodes[0]) || (i > 1 && n == nodes[1]))
            continue;
        if (IsFree(n))
            delete n;
    }
}

void CAxis::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<const CObject*>(m_pOrigin) << static_cast<const CObject*>(m_pXNode)
           << static_cast<const CObject*>(m_pZNode);
        return;
    }
    // A node new at its slot is the axis's own; a node read before (a node
    // of a graph, say) stays its first reader's, and the axis never frees
    // it: a discarded load frees such a node itself.
    CSNode** slots[3] = {&m_pOrigin, &m_pXNode, &m_pZNode};
    for (int i = 0; i < 3; ++i) {
        *slots[i] = nullptr;
        m_bOwns[i] = false;
    }
    for (int i = 0; i < 3; ++i)
        *slots[i] = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode), CArchive::useOwnedIfNew,
                                             &m_bOwns[i]);
    if (!m_pOrigin || !m_pXNode)
        AfxThrowArchiveException(CArchiveException::badIndex);
}

CSNode* CAxis::SetZNode(CSNode* node)
{
    CSNode* previous = m_pZNode;
    m_pZNode = node;
    m_bOwns[2] = true;
    Normalize();
    return previous;
}

void CAxis::UpdateAxis(CSNode* z)
{
    if (z && z != m_pZNode) {
        // A replaced z-node still held by a graph or an edge stays alive.
        if (m_pZNode && m_bOwns[2] && m_pZNode != m_pOrigin && m_pZNode != m_pXNode &&
            IsFree(m_pZNode))
            delete m_pZNode;
        m_pZNode = z;
        m_bOwns[2] = true;
    } else if (!z && m_pZNode) {
        double e1[3] = {0.0, 0.0, 0.0};
        m_pOrigin->UnitVect3d(m_pXNode, e1, 1.0);
        if (e1[0] == 0.0 && e1[2] == 0.0)
            m_pZNode->SetNodeCoord(m_pOrigin->x + 1.0, m_pOrigin->y, m_pOrigin->z);
        else
            m_pZNode->SetNodeCoord(m_pOrigin->x, m_pOrigin->y + 1.0, m_pOrigin->z);
    }
    Normalize();
}

void CAxis::Translate(double dx, double dy, double dz)
{
    m_pOrigin->Translate(dx, dy, dz, false);
    m_pXNode->Translate(dx, dy, dz, false);
    if (m_pZNode)
        m_pZNode->Translate(dx, dy, dz, false);
}

void CAxis::Normalize()
{
    if (!m_pZNode)
        return;
    double yv[3] = {0.0, 0.0, 0.0};
    GetYVector(yv[0], yv[1], yv[2], 1.0);
    const double s = std::sqrt(Dot(yv, yv));
    if (s <= 1e-6)
        for (double& c : yv)
            c += 1.0;
    if (s < 0.99999999999) {
        double e1[3] = {0.0, 0.0, 0.0};
        GetUnity(e1[0], e1[1], e1[2], m_pOrigin, m_pXNode, 1.0);
        double e3[3];
        Cross(e1, yv, e3);
        m_pZNode->SetNodeCoord(m_pOrigin->x + e3[0], m_pOrigin->y + e3[1], m_pOrigin->z + e3[2]);
    }
}

// ------------------------------------------------------------ directions

bool CAxis::GetXVector(double& x, double& y, double& z, double length) const
{
    return AddUnity(x, y, z, m_pOrigin, m_pXNode, length);
}

bool CAxis::GetZVector(double& x, double& y, double& z, double length) const
{
    if (!m_pZNode) {
        // A planar system's z axis is the global one.
        z += length;
        return true;
    }
    return AddUnity(x, y, z, m_pOrigin, m_pZNode, length);
}

bool CAxis::GetYVector(double& x, double& y, double& z, double length) const
{
    if (!m_pZNode) {
        double e1[3] = {0.0, 0.0, 0.0};
        GetUnity(e1[0], e1[1], e1[2], m_pOrigin, m_pXNode, 1.0);
        x -= e1[1] * length;
        y += e1[0] * length;
        return true;
    }
    double a[3], b[3], yd[3];
    m_pOrigin->UnitVect3d(m_pZNode, a, 1.0);
    m_pOrigin->UnitVect3d(m_pXNode, b, 1.0);
    Cross(a, b, yd);
    if (length == 0.0)
        length = CalcDist(m_pOrigin, m_pZNode);
    x += yd[0] * length;
    y += yd[1] * length;
    z += yd[2] * length;
    return true;
}

bool CAxis::Unit(CSNode* to, double* e) const
{
    e[0] = e[1] = e[2] = 0.0;
    return GetUnity(e[0], e[1], e[2], m_pOrigin, to, 1.0);
}

// ------------------------------------------------------------ conversions

void CAxis::LocalToGlobal(double& x, double& y, double& z) const
{
    double p[3] = {x, y, z};
    LocalToGlobal3D(p, 1);
    x = p[0];
    y = p[1];
    z = p[2];
}

void CAxis::LocalToGlobal3D(double* points, int n) const
{
    double e1[3];
    const bool ok1 = Unit(m_pXNode, e1);
    const double* o = m_pOrigin->GetVertex();
    if (m_pZNode) {
        double e2[3] = {0.0, 0.0, 0.0}, e3[3];
        const bool ok2 = GetYVector(e2[0], e2[1], e2[2], 1.0);
        const bool ok3 = Unit(m_pZNode, e3);
        for (int k = 0; k < n; ++k) {
            double* p = points + 3 * k;
            double g[3] = {o[0], o[1], o[2]};
            for (int i = 0; i < 3; ++i) {
                if (ok1)
                    g[i] += p[0] * e1[i];
                if (ok2)
                    g[i] += p[1] * e2[i];
                if (ok3)
                    g[i] += p[2] * e3[i];
            }
            p[0] = g[0];
            p[1] = g[1];
            p[2] = g[2];
        }
        return;
    }
    (void)ok1;
    for (int k = 0; k < n; ++k) {
        double* p = points + 3 * k;
        const double lx = p[0], ly = p[1];
        p[0] = o[0] + lx * e1[0] - ly * e1[1];
        p[1] = o[1] + lx * e1[1] + ly * e1[0];
        p[2] = o[2] + p[2];
    }
}

void CAxis::GlobalToLocal(double& x, double& y, double& z) const
{
    const double* o = m_pOrigin->GetVertex();
    const double d[3] = {x - o[0], y - o[1], z - o[2]};
    double e1[3];
    const bool ok1 = Unit(m_pXNode, e1);
    ZeroTiny(e1);
    if (m_pZNode) {
        double e2[3] = {0.0, 0.0, 0.0}, e3[3];
        const bool ok2 = GetYVector(e2[0], e2[1], e2[2], 1.0);
        const bool ok3 = Unit(m_pZNode, e3);
        ZeroTiny(e2);
        ZeroTiny(e3);
        x = ok1 ? Dot(d, e1) : 0.0;
        y = ok2 ? Dot(d, e2) : 0.0;
        z = ok3 ? Dot(d, e3) : 0.0;
        return;
    }
    x = ok1 ? Dot(d, e1) : 0.0;
    y = -d[0] * e1[1] + d[1] * e1[0];
    z = d[2];
}

void CAxis::GlobalToLocal(double& x, double& y) const
{
    double e1[3];
    const bool ok = Unit(m_pXNode, e1);
    ZeroTiny(e1);
    const double dx = x - m_pOrigin->x, dy = y - m_pOrigin->y;
    x = ok ? dx * e1[0] + dy * e1[1] : 0.0;
    y = -dx * e1[1] + dy * e1[0];
}

void CAxis::LocalToGlobaldv(double* p) const
{
    LocalToGlobal(p[0], p[1], p[2]);
}

void CAxis::GlobalToLocaldv(double* p) const
{
    GlobalToLocal(p[0], p[1], p[2]);
}

void CAxis::LtoGVector(double* v) const
{
    double zero[3] = {0.0, 0.0, 0.0};
    LocalToGlobaldv(v);
    LocalToGlobaldv(zero);
    for (int i = 0; i < 3; ++i)
        v[i] -= zero[i];
}

void CAxis::GtoLVector(double* v) const
{
    double zero[3] = {0.0, 0.0, 0.0};
    GlobalToLocaldv(v);
    GlobalToLocaldv(zero);
    for (int i = 0; i < 3; ++i)
        v[i] -= zero[i];
}

void CAxis::LocalToGlobalXY(double* values, int n, int stride) const
{
    double e1[3];
    Unit(m_pXNode, e1);
    for (int k = 0; k < n; ++k) {
        double* p = values + static_cast<long long>(k) * stride;
        const double lx = p[0], ly = p[1];
        p[0] = lx * e1[0] - ly * e1[1] + m_pOrigin->x;
        p[1] = lx * e1[1] + ly * e1[0] + m_pOrigin->y;
    }
}

// ------------------------------------------------------------ rotation

void CAxis::RotMat(CMatrix& m, double angle, int axis)
{
    m.Allocate(3, 3, true, 0.0);
    int i, j, k;
    if (axis == 0) {
        i = 1; j = 2; k = 0;
    } else if (axis == 1) {
        i = 2; j = 0; k = 1;
    } else {
        i = 0; j = 1; k = 2;
    }
    m[k][k] = 1.0;
    const double a = std::fabs(angle);
    if (a == kPi) {
        m[i][i] = m[j][j] = -1.0;
    } else if (angle == kHalfPi || angle == -kThreeHalfPi) {
        m[i][j] = -1.0;
        m[j][i] = 1.0;
    } else if (angle == -kHalfPi || angle == kThreeHalfPi) {
        m[i][j] = 1.0;
        m[j][i] = -1.0;
    } else if (a == kQuarterPi) {
        m[i][i] = m[j][j] = kSqrtHalf;
        m[i][j] = angle >= 0.0 ? -kSqrtHalf : kSqrtHalf;
        m[j][i] = angle < 0.0 ? -kSqrtHalf : kSqrtHalf;
    } else {
        const double c = std::cos(angle), s = std::sin(angle);
        m[i][i] = c;
        m[i][j] = -s;
        m[j][i] = s;
        m[j][j] = c;
    }
}

void CAxis::RotateLocal(double angle, unsigned axis)
{
    if (axis > 2) {
        Normalize();
        return;
    }
    CMatrix r;
    RotMat(r, angle, static_cast<int>(axis));
    auto turn = [&](CSNode* node, double* out) {
        double p[3] = {node->x, node->y, node->z};
        GlobalToLocaldv(p);
        for (int i = 0; i < 3; ++i)
            out[i] = r[i][0] * p[0] + r[i][1] * p[1] + r[i][2] * p[2];
        LocalToGlobaldv(out);
    };
    double zNew[3], xNew[3];
    const bool moveZ = m_pZNode && axis != 2;
    const bool moveX = axis != 0;
    // Both images come from the frame before the move.
    if (moveZ)
        turn(m_pZNode, zNew);
    if (moveX)
        turn(m_pXNode, xNew);
    if (moveZ)
        m_pZNode->SetNodeCoord(zNew[0], zNew[1], zNew[2]);
    if (moveX)
        m_pXNode->SetNodeCoord(xNew[0], xNew[1], xNew[2]);
    Normalize();
}

bool CAxis::GetPofIntersect(double* dir, double& x, double& y, double& z, int plane) const
{
    double n[3] = {0.0, 0.0, 0.0};
    if (plane == 0)
        GetZVector(n[0], n[1], n[2], 1.0);
    else if (plane == 1)
        GetYVector(n[0], n[1], n[2], 1.0);
    else if (plane == 2)
        GetXVector(n[0], n[1], n[2], 1.0);
    else
        return false;
    double c[3];
    Cross(dir, n, c);
    if (std::sqrt(Dot(c, c)) >= 0.9999999999999996) {
        x = y = z = 0.0;
        return false;
    }
    const double h = z;
    double p[3] = {x, y, 0.0};
    GlobalToLocaldv(p);
    double d[3] = {dir[0], dir[1], dir[2]};
    GtoLVector(d);
    if (plane == 0) {
        const double t = (h - p[2]) / d[2];
        x = p[0] + t * d[0];
        y = p[1] + t * d[1];
        z = h;
    } else if (plane == 1) {
        const double t = -p[1] / d[1];
        x = p[0] + t * d[0];
        y = 0.0;
        z = p[2] + t * d[2];
    } else {
        const double t = -p[0] / d[0];
        x = 0.0;
        y = p[1] + t * d[1];
        z = p[2] + t * d[2];
    }
    return true;
}

// ------------------------------------------------------------ static helpers

bool CAxis::GetUnity(double& x, double& y, double& z, CSNode* a, CSNode* b, double length)
{
    if (a == b)
        return false;
    x = b->x - a->x;
    y = b->y - a->y;
    z = b->z - a->z;
    const double d = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0 || d == 0.0)
        return false;
    const double f = d / length;
    x /= f;
    y /= f;
    z /= f;
    return true;
}

double CAxis::CalcDist(CSNode* a, CSNode* b)
{
    if (a == b)
        return 0.0;
    const double dx = b->x - a->x, dy = b->y - a->y, dz = b->z - a->z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double CAxis::CalcArea(CSNode* a, CSNode* b, CSNode* c)
{
    if (a == b || b == c || a == c)
        return 0.0;
    const double u[3] = {b->x - a->x, b->y - a->y, b->z - a->z};
    const double v[3] = {c->x - a->x, c->y - a->y, c->z - a->z};
    double w[3];
    Cross(u, v, w);
    return 0.5 * std::sqrt(Dot(w, w));
}

double CAxis::GetAngle(double* v)
{
    const double r = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    if (r == 0.0)
        return -1.0;
    double a = std::acos(v[0] / r);
    if (std::fabs(a) < 1.1102230246251565e-15)
        a = 0.0;
    return v[1] <= -1.1102230246251565e-15 ? kTwoPi - a : a;
}

double CAxis::GetAngleXY(CSNode* a, CSNode* b)
{
    double v[2] = {b->x - a->x, b->y - a->y};
    return GetAngle(v);
}

double CAxis::GetAngleXZ(CSNode* a, CSNode* b)
{
    double v[2] = {b->x - a->x, b->z - a->z};
    return GetAngle(v);
}

int CAxis::Intersect2D(double* p1, double* p2, double* p3, double* p4, double* result)
{
    constexpr double eps = 2.220446049250313e-16;
    const double dx1 = p2[0] - p1[0];
    const double t1 = std::fmax(std::fabs(p1[0]), std::fabs(p2[0])) * eps;
    const double dx2 = p4[0] - p3[0];
    const double t2 = std::fmax(std::fabs(p3[0]), std::fabs(p4[0])) * eps;
    double x, y;
    if (std::fabs(dx1) <= t1) {
        if (std::fabs(dx2) <= t2)
            return 3;
        x = p1[0];
        const double m2 = (p4[1] - p3[1]) / dx2;
        y = std::fabs(m2) <= t2 ? p3[1] : p3[1] - m2 * p3[0] + x * m2;
    } else if (std::fabs(dx2) > t2) {
        const double m1 = (p2[1] - p1[1]) / dx1;
        const double m2 = (p4[1] - p3[1]) / dx2;
        if (m1 == m2)
            return 3;
        const double c1 = p1[1] - m1 * p1[0];
        const double c2 = p3[1] - m2 * p3[0];
        x = (c1 - c2) / (m2 - m1);
        y = std::fabs(m2) <= std::fabs(m1) ? x * m2 + c2 : x * m1 + c1;
    } else {
        const double t3 = std::fmax(std::fabs(p1[1]), std::fabs(p2[1])) * eps;
        x = p3[0];
        const double m1 = (p2[1] - p1[1]) / dx1;
        y = std::fabs(m1) <= t3 ? p1[1] : p1[1] - m1 * p1[0] + x * m1;
    }
    result[0] = x;
    result[1] = y;
    auto outside = [](double v, double e1, double e2) {
        const double b[4] = {e1 * 1.0000000000000002, e1 * 0.9999999999999998,
                             e2 * 1.0000000000000002, e2 * 0.9999999999999998};
        bool above = true, below = true;
        for (double bound : b) {
            if (!(v > bound))
                above = false;
            if (!(v < bound))
                below = false;
        }
        return above || below;
    };
    if (outside(x, p3[0], p4[0]) || outside(y, p3[1], p4[1]) || outside(x, p1[0], p2[0]) ||
        outside(y, p1[1], p2[1]))
        return 2;
    return 1;
}

// ------------------------------------------------------------ drawing

void CAxis::GLNormal(double (*p)[3])
{
    GLNormal(p[0], p[1], p[2]);
}

void CAxis::GLNormal(double* a, double* b, double* c)
{
    const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    double n[3];
    Cross(u, v, n);
    const double len = std::sqrt(Dot(n, n));
    if (len != 0.0)
        for (double& e : n)
            e /= len;
    glNormal3dv(n);
}

void CAxis::GLNormal(double x, double y, int plane)
{
    const double r = std::sqrt(x * x + y * y);
    if (plane == 0)
        glNormal3d(0.0, y / r, x / r);
    else if (plane == 1)
        glNormal3d(y / r, 0.0, x / r);
    else if (plane == 2)
        glNormal3d(y / r, -x / r, 0.0);
}

void CAxis::DrawArrow(CSNode* n, double x, double y, double z, double scale)
{
    glBegin(GL_LINES);
    n->GLVertex();
    glVertex3d(x * scale, y * scale, z * scale);
    glEnd();
}

void CAxis::DrawArrowHeadGL(double* o, double* d, double* s1, double* s2)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    double t[3], c[3];
    for (int i = 0; i < 3; ++i) {
        t[i] = o[i] + d[i];
        c[i] = o[i] + 0.9 * d[i];
    }
    if (!s2) {
        double a[3], b[3];
        for (int i = 0; i < 3; ++i) {
            a[i] = c[i] + 0.05 * s1[i];
            b[i] = c[i] - 0.05 * s1[i];
        }
        glBegin(GL_TRIANGLES);
        glVertex3dv(t);
        glVertex3dv(a);
        glVertex3dv(b);
        glEnd();
        return;
    }
    double k1[3], k2[3], k3[3], k4[3];
    for (int i = 0; i < 3; ++i) {
        k1[i] = c[i] + 0.04 * s2[i];
        k2[i] = c[i] + 0.04 * s1[i];
        k3[i] = c[i] - 0.04 * s2[i];
        k4[i] = c[i] - 0.04 * s1[i];
    }
    const double* faces[4][2] = {{k1, k2}, {k3, k2}, {k3, k4}, {k1, k4}};
    double scale = 0.0;
    glBegin(GL_TRIANGLES);
    for (int f = 0; f < 4; ++f) {
        const double u[3] = {faces[f][0][0] - t[0], faces[f][0][1] - t[1], faces[f][0][2] - t[2]};
        const double v[3] = {faces[f][1][0] - t[0], faces[f][1][1] - t[1], faces[f][1][2] - t[2]};
        double n[3];
        Cross(u, v, n);
        if (f == 0)
            scale = std::sqrt(Dot(n, n));
        if (scale != 0.0)
            for (double& e : n)
                e /= scale;
        glNormal3dv(n);
        glVertex3dv(t);
        glVertex3dv(faces[f][0]);
        glVertex3dv(faces[f][1]);
    }
    glEnd();
    glColor3d(1.0, 1.0, 0.0);
    glBegin(GL_QUADS);
    glNormal3dv(d);
    glVertex3dv(k1);
    glVertex3dv(k2);
    glVertex3dv(k3);
    glVertex3dv(k4);
    glEnd();
    glColor3d(1.0, 0.0, 0.0);
    glBegin(GL_LINES);
    const double* lines[6][2] = {{k2, k4}, {k1, k3}, {k1, k2}, {k2, k3}, {k3, k4}, {k4, k1}};
    for (auto& l : lines) {
        glVertex3dv(l[0]);
        glVertex3dv(l[1]);
    }
    glEnd();
}

void CAxis::DrawGL(double scale, CString xLabel, CString yLabel, CString zLabel, double fx,
                   double fy, double fz)
{
    double o[3] = {m_pOrigin->x, m_pOrigin->y, m_pOrigin->z};
    double X[3], Y[3] = {0.0, 0.0, 0.0};
    m_pOrigin->UnitVect3d(m_pXNode, X, scale * fx);
    GetYVector(Y[0], Y[1], Y[2], scale * fy);
    double tip[3];
    glColor4d(1.0, 0.0, 0.0, 1.0);
    glLineWidth(static_cast<GLfloat>(AXIS_WIDTH));
    Arm(o, X, tip);
    if (!xLabel.IsEmpty())
        DrawLabel(xLabel, tip);
    glColor4d(0.0, 0.0, 1.0, 1.0);
    Arm(o, Y, tip);
    if (!yLabel.IsEmpty())
        DrawLabel(yLabel, tip);
    if (m_pZNode) {
        double Z[3] = {0.0, 0.0, 0.0};
        GetUnity(Z[0], Z[1], Z[2], m_pOrigin, m_pZNode, scale * fz);
        glColor4d(0.0, 0.5, 0.0, 1.0);
        Arm(o, Z, tip);
        if (!zLabel.IsEmpty())
            DrawLabel(zLabel, tip);
        ArrowHeads(o, X, Y, Z);
    } else {
        ArrowHeads(o, X, Y, nullptr);
    }
}

namespace {

void DrawPlanarTriad(double* o, double* X, double* Y, const CString& xLabel, const CString& yLabel)
{
    double tip[3];
    glColor4d(1.0, 0.0, 0.0, 1.0);
    glLineWidth(static_cast<GLfloat>(AXIS_WIDTH));
    Arm(o, X, tip);
    DrawLabel(xLabel, tip);
    glColor4d(0.0, 0.0, 1.0, 1.0);
    Arm(o, Y, tip);
    DrawLabel(yLabel, tip);
    ArrowHeads(o, X, Y, nullptr);
}

} // namespace

void CAxis::DrawXYGL(double scale, CString xLabel, CString yLabel, double fx, double fy)
{
    double o[3] = {m_pOrigin->x, m_pOrigin->y, m_pOrigin->z};
    double X[3] = {0.0, 0.0, 0.0}, Y[3] = {0.0, 0.0, 0.0};
    GetUnity(X[0], X[1], X[2], m_pOrigin, m_pXNode, scale * fx);
    GetYVector(Y[0], Y[1], Y[2], scale * fy);
    DrawPlanarTriad(o, X, Y, xLabel, yLabel);
}

void CAxis::DrawGlobalXYGL(double scale, CString xLabel, CString yLabel, double fx, double fy)
{
    double o[3] = {0.0, 0.0, 0.0};
    double X[3] = {scale * fx, 0.0, 0.0};
    double Y[3] = {0.0, scale * fy, 0.0};
    DrawPlanarTriad(o, X, Y, xLabel, yLabel);
}

void CAxis::DrawGL(double* o, CMatrix& m)
{
    double X[3] = {m[0][0], m[0][1], m[0][2]};
    double Y[3] = {m[1][0], m[1][1], m[1][2]};
    double Z[3] = {m[2][0], m[2][1], m[2][2]};
    double tip[3];
    glLineWidth(static_cast<GLfloat>(AXIS_WIDTH));
    const double* axes[3] = {X, Y, Z};
    const double colours[3][3] = {{1.0, 0.0, 0.0}, {0.0, 0.0, 1.0}, {0.0, 0.5, 0.0}};
    for (int a = 0; a < 3; ++a) {
        glColor4d(colours[a][0], colours[a][1], colours[a][2], 1.0);
        Arm(o, axes[a], tip);
    }
    ArrowHeads(o, X, Y, Z);
}

void CAxis::DrawGL(CVector& origin, CMatrix& m)
{
    double o[3] = {origin[0], origin[1], origin[2]};
    DrawGL(o, m);
}

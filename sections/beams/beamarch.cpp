#include "sections/beams/beamarch.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "sections/beams/vec3.h"

IMPLEMENT_SERIAL(CBeamArch, CBeamSeg, VERSIONABLE_SCHEMA | 3)

namespace
{

using beamvec::Cross;
using beamvec::Dot;
using beamvec::Norm;

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
// Newton steps of the equal-length division, and the speed below which a
// step grows by a fixed amount instead.
constexpr int kNewtonSteps = 30;
constexpr double kTinySpeed = 2.220446e-11;
// Segments of a drawn curve at least.
constexpr int kDrawPieces = 16;

double ClampedAcos(double v)
{
    return std::acos(std::clamp(v, -1.0, 1.0));
}

// The circle through three points: the axes' columns are the chord
// direction, the in-plane normal towards P3 and the plane normal.
struct Circle {
    double centre[3] = {0, 0, 0};
    double ex[3] = {0, 0, 0};
    double ey[3] = {0, 0, 0};
    double ez[3] = {0, 0, 0};
    double radius = 0.0;
    double start = 0.0;
    double sweep = 0.0;

    void Point(double angle, double* p) const
    {
        const double x = radius * std::cos(angle), y = radius * std::sin(angle);
        for (int k = 0; k < 3; ++k)
            p[k] = centre[k] + x * ex[k] + y * ey[k];
    }
    // Unit tangent in the direction of decreasing angle (from P1 on).
    void Tangent(double angle, double* t) const
    {
        const double s = std::sin(angle), c = std::cos(angle);
        for (int k = 0; k < 3; ++k)
            t[k] = s * ex[k] - c * ey[k];
    }
};

// False (radius 0) for collinear points.
bool CircleThrough(const double* p1, const double* p2, const double* p3, Circle& circle)
{
    double chord[3], to3[3];
    for (int k = 0; k < 3; ++k) {
        chord[k] = p2[k] - p1[k];
        to3[k] = p3[k] - p1[k];
    }
    const double c = Norm(chord);
    const double l3 = Norm(to3);
    if (c == 0.0 || l3 == 0.0)
        return false;
    for (int k = 0; k < 3; ++k)
        circle.ex[k] = chord[k] / c;
    const double dx = Dot(to3, circle.ex);
    if (IsEqualTol(std::fabs(dx), l3, 100000.0))
        return false;
    double perp[3];
    for (int k = 0; k < 3; ++k)
        perp[k] = to3[k] - dx * circle.ex[k];
    const double dy = Norm(perp);
    if (IsEqualTol(dy, 0.0, 1000.0))
        return false;
    for (int k = 0; k < 3; ++k)
        circle.ey[k] = perp[k] / dy;
    Cross(circle.ex, circle.ey, circle.ez);
    const double xc = c / 2.0;
    const double yc = ((dx - c) * dx / dy + dy) / 2.0;
    for (int k = 0; k < 3; ++k)
        circle.centre[k] = p1[k] + xc * circle.ex[k] + yc * circle.ey[k];
    circle.radius = std::sqrt(xc * xc + yc * yc);
    // Rounding can push both cosines just past 1 in size (a half circle).
    circle.start = kPi - ClampedAcos(xc / circle.radius);
    const double central = ClampedAcos(1.0 - c * c / (2.0 * circle.radius * circle.radius));
    if (yc > 0.0) {
        circle.start = kTwoPi - circle.start;
        circle.sweep = kTwoPi - central;
    } else {
        circle.sweep = central;
    }
    return true;
}

void Vertex(const CSNode* n, double* p)
{
    n->GetVertex(p[0], p[1], p[2]);
}

// Rotation of v about the unit axis by the angle (Rodrigues).
void Rotate(const double* v, const double* axis, double angle, double* out)
{
    const double c = std::cos(angle), s = std::sin(angle);
    double kxv[3];
    Cross(axis, v, kxv);
    const double kv = Dot(axis, v);
    for (int k = 0; k < 3; ++k)
        out[k] = v[k] * c + kxv[k] * s + axis[k] * kv * (1.0 - c);
}

} // namespace

// ------------------------------------------------------------ construction

CBeamArch::CBeamArch(CSNode* node1, CSNode* node2, CCrSectComp* crSect)
    : CBeamSeg(node1, node2, crSect)
{
}

CBeamArch::CBeamArch(CSNode* node1, CSNode* node2, CSNode* node3, CCrSectComp* crSect)
    : CBeamSeg(node1, node2, crSect), m_pThird(node3)
{
}

CBeamArch::~CBeamArch() = default;

bool CBeamArch::IsNodeInDef(CSNode* node) const
{
    return CBeamSeg::IsNodeInDef(node) || (node && node == m_pThird);
}

void CBeamArch::GetNodes(CObList& out)
{
    CBeamSeg::GetNodes(out);
    if (m_pThird)
        out.AddTail(m_pThird);
}

CEdge* CBeamArch::NewEdge(CSNode* first, CSNode* second)
{
    auto* edge = new CBeamArch(first, second, m_pCrSect);
    edge->m_iArchType = m_iArchType;
    HandOn(edge);
    return edge;
}

// ------------------------------------------------------------ curves

void CBeamArch::CentreShift(double* shift)
{
    shift[0] = shift[1] = shift[2] = 0.0;
    if (!m_pCrSect)
        return;
    const double cx = m_pCrSect->GetCoord(0), cy = m_pCrSect->GetCoord(1);
    double d[3];
    DirVect(d[0], d[1], d[2], 1.0);
    const double i3[3] = {m_i3[0], m_i3[1], m_i3[2]};
    double across[3];
    Cross(i3, d, across);
    for (int k = 0; k < 3; ++k)
        shift[k] = cx * across[k] + cy * i3[k];
}

void CBeamArch::GetParabFunc(CVector& chord, CVector& c, CVector& d, bool)
{
    double p1[3], p2[3], p3[3] = {0, 0, 0};
    StartPoint(p1);
    EndPoint(p2);
    if (m_pThird)
        Vertex(m_pThird, p3);
    chord.Allocate(3, true, 0.0);
    c.Allocate(3, true, 0.0);
    d.Allocate(3, true, 0.0);
    for (int k = 0; k < 3; ++k) {
        c[k] = (p2[k] - p1[k]) / 2.0;
        d[k] = (p1[k] + p2[k]) / 2.0 - p3[k];
        chord[k] = p2[k] - p1[k];
    }
    chord.Normalize();
}

void CBeamArch::ParabolaPoint(double s, bool moved, double* p)
{
    CVector chord, c, d;
    GetParabFunc(chord, c, d, moved);
    double shift[3] = {0, 0, 0};
    if (moved)
        CentreShift(shift);
    double p3[3];
    Vertex(m_pThird, p3);
    for (int k = 0; k < 3; ++k)
        p[k] = p3[k] + c[k] * s + d[k] * s * s + shift[k];
}

double CBeamArch::GetLength(double from, double to, CVector* cIn, CVector* dIn, double* speed)
{
    CVector chord, cOwn, dOwn;
    if (!cIn || !dIn) {
        GetParabFunc(chord, cOwn, dOwn, false);
        cIn = &cOwn;
        dIn = &dOwn;
    }
    const double* c = &(*cIn)[0];
    const double* d = &(*dIn)[0];
    const double A = 4.0 * Dot(d, d), B = 2.0 * Dot(c, d), K = Dot(c, c);
    auto Q = [&](double s) { return std::max(A * s * s + 2.0 * B * s + K, 0.0); };
    if (IsEqualTol(A, 0.0, 1000.0)) {
        if (speed)
            *speed = std::sqrt(K);
        return std::sqrt(K) * (to - from);
    }
    const double qa = std::sqrt(Q(from)), qb = std::sqrt(Q(to));
    double length = (to / 2.0 + B / (2.0 * A)) * qb - (from / 2.0 + B / (2.0 * A)) * qa;
    if (!IsEqualTol(B * B, A * K, 1000.0)) {
        const double sa = std::sqrt(A);
        length += (A * K - B * B) / (2.0 * A * sa) *
                  std::log(((A * to + B) / sa + qb) / ((A * from + B) / sa + qa));
    }
    if (speed)
        *speed = qb;
    return length;
}

double CBeamArch::GetCircFunc(CVector& centre, CMatrix& axes, double& start, double& sweep,
                              bool moved)
{
    centre.Allocate(3, true, 0.0);
    axes.Allocate(3, 3, true, 0.0);
    start = sweep = 0.0;
    if (!m_pThird)
        return 0.0;
    double p1[3], p2[3], p3[3];
    StartPoint(p1);
    EndPoint(p2);
    Vertex(m_pThird, p3);
    Circle circle;
    if (!CircleThrough(p1, p2, p3, circle))
        return 0.0;
    double shift[3] = {0, 0, 0};
    if (moved)
        CentreShift(shift);
    for (int k = 0; k < 3; ++k) {
        centre[k] = circle.centre[k] + shift[k];
        axes[k][0] = circle.ex[k];
        axes[k][1] = circle.ey[k];
        axes[k][2] = circle.ez[k];
    }
    start = circle.start;
    sweep = circle.sweep;
    return circle.radius;
}

void CBeamArch::CirclePoint(double angle, bool moved, double* p)
{
    CVector centre;
    CMatrix axes;
    double start = 0.0, sweep = 0.0;
    const double r = GetCircFunc(centre, axes, start, sweep, moved);
    const double x = r * std::cos(angle), y = r * std::sin(angle);
    for (int k = 0; k < 3; ++k)
        p[k] = centre[k] + x * axes[k][0] + y * axes[k][1];
}

double CBeamArch::GetLength() const
{
    auto* self = const_cast<CBeamArch*>(this);
    if (!m_pThird)
        return CBeamSeg::GetLength();
    if (m_iArchType != kCircular)
        return self->GetLength(-1.0, 1.0, nullptr, nullptr, nullptr);
    CVector centre;
    CMatrix axes;
    double start = 0.0, sweep = 0.0;
    const double r = self->GetCircFunc(centre, axes, start, sweep, false);
    return r > 0.0 ? r * sweep : CBeamSeg::GetLength();
}

bool CBeamArch::Circular(CSNode* node1, CSNode* node2, CSNode* node3, CCrSectComp*, CMatrix& points,
                         bool draw, int n)
{
    if (!node1 || !node2 || !node3 || n < 1)
        return false;
    double p1[3], p2[3], p3[3];
    Vertex(node1, p1);
    Vertex(node2, p2);
    Vertex(node3, p3);
    Circle circle;
    if (!CircleThrough(p1, p2, p3, circle))
        return false;
    points.Allocate(n + 1, 3, true, 0.0);
    for (int i = 0; i <= n; ++i)
        circle.Point(circle.start - i * circle.sweep / n, points[i]);
    if (draw) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i <= n; ++i)
            glVertex3dv(points[i]);
        glEnd();
    }
    return true;
}

void CBeamArch::Parabola(CSNode* node1, CSNode* node2, CSNode* node3, CCrSectComp*, CMatrix& points,
                         bool draw, int n)
{
    if (!node1 || !node2 || !node3 || n < 1)
        return;
    double p1[3], p2[3], p3[3];
    Vertex(node1, p1);
    Vertex(node2, p2);
    Vertex(node3, p3);
    points.Allocate(n + 1, 3, true, 0.0);
    for (int i = 0; i <= n; ++i) {
        const double s = -1.0 + 2.0 * i / n;
        for (int k = 0; k < 3; ++k)
            points[i][k] =
                p3[k] + (p2[k] - p1[k]) / 2.0 * s + ((p1[k] + p2[k]) / 2.0 - p3[k]) * s * s;
    }
    if (draw) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i <= n; ++i)
            glVertex3dv(points[i]);
        glEnd();
    }
}

// ------------------------------------------------------------ local axes

void CBeamArch::AxesFromTangent(const double* tangent, CMatrix& t)
{
    t.Allocate(3, 3, true, 0.0);
    double r0[3] = {tangent[0], tangent[1], tangent[2]};
    const double n = Norm(r0);
    if (n > 0.0)
        for (double& v : r0)
            v /= n;
    double chord[3];
    DirVect(chord[0], chord[1], chord[2], 1.0);
    double axis[3];
    Cross(chord, r0, axis);
    const double angle = ClampedAcos(Dot(chord, r0));
    const double i3[3] = {m_i3[0], m_i3[1], m_i3[2]};
    double r2[3] = {i3[0], i3[1], i3[2]};
    const double an = Norm(axis);
    if (!IsEqualTol(angle, 0.0, 1000.0) && an > 0.0) {
        for (double& v : axis)
            v /= an;
        Rotate(i3, axis, angle, r2);
    }
    SetAxes(t, r0, r2);
}

void CBeamArch::GetT_loc_Parab(double s, CMatrix& t)
{
    CVector chord, c, d;
    GetParabFunc(chord, c, d, false);
    const double tangent[3] = {c[0] + 2.0 * s * d[0], c[1] + 2.0 * s * d[1], c[2] + 2.0 * s * d[2]};
    AxesFromTangent(tangent, t);
}

void CBeamArch::GetT_loc_Circ(double angle, CMatrix& t)
{
    CVector centre;
    CMatrix axes;
    double start = 0.0, sweep = 0.0;
    GetCircFunc(centre, axes, start, sweep, false);
    const double s = std::sin(angle), c = std::cos(angle);
    double tangent[3];
    for (int k = 0; k < 3; ++k)
        tangent[k] = s * axes[k][0] - c * axes[k][1];
    AxesFromTangent(tangent, t);
}

// ------------------------------------------------------------ discretisation

void CBeamArch::DiscretizeCurve(int n, const std::function<void(int, double*)>& point,
                                const std::function<void(int, CMatrix&)>& axes,
                                const std::function<double(int)>& pieceLength)
{
    CSNode* first = AnalysisNode(m_pNode1);
    CSNode* last = AnalysisNode(m_pNode2);
    auto* load = dynamic_cast<CEdgeLoadEx*>(m_pLoad);
    std::vector<CSNode*> nodes{first};
    for (int i = 1; i < n; ++i) {
        double p[3];
        point(i, p);
        CSNode* node = load ? new CBoundNode(p[0], p[1], p[2], nullptr, 0)
                            : new CSNode(p[0], p[1], p[2], nullptr, 0);
        if (load) {
            CMatrix t;
            axes(i, t);
            AddNodeLoad(node, load->GetNodeLoad(2.0 * i / n - 1.0, pieceLength(i), t, nullptr));
        }
        nodes.push_back(node);
    }
    nodes.push_back(last);
    MakeElements(UsedElemClass(), nodes);

    double shift[3];
    CentreShift(shift);
    const bool moved = shift[0] != 0.0 || shift[1] != 0.0 || shift[2] != 0.0;
    for (int end = 0; end < 2; ++end) {
        const int i = end == 0 ? 0 : n;
        CSNode* node = end == 0 ? m_pNode1 : m_pNode2;
        CSNode* copy = end == 0 ? first : last;
        CVector& offset = end == 0 ? m_StartOff : m_EndOff;
        const bool hasOffset = offset.GetSize() >= 3;
        CMatrix t;
        axes(i, t);
        const double xi = end == 0 ? -1.0 : 1.0;
        if (moved) {
            double p[3];
            point(i, p);
            CVector e(3);
            for (int k = 0; k < 3; ++k)
                e[k] = p[k] - (k == 0 ? node->x : k == 1 ? node->y : node->z);
            const double scale = std::max({std::fabs(node->x), std::fabs(node->y), 100.0});
            const bool zero = IsEqualTol(e.Dot(e), 0.0, scale);
            if (load)
                AddNodeLoad(copy, load->GetNodeLoad(xi, pieceLength(i), t, zero ? nullptr : &e));
            if (ElementCount() > 0) {
                double v[3];
                for (int k = 0; k < 3; ++k)
                    v[k] = e[k] - (hasOffset ? offset[k] : 0.0);
                AddEccentricity(ElementAt(end == 0 ? 0 : ElementCount() - 1), end == 0 ? 1 : 2, v);
            }
        } else if (load) {
            AddNodeLoad(copy,
                        load->GetNodeLoad(xi, pieceLength(i), t, hasOffset ? &offset : nullptr));
        }
    }
}

void CBeamArch::Discretize()
{
    if (!m_pThird) {
        CBeamSeg::Discretize();
        return;
    }
    DM_Clean();
    const int n = m_nElem;
    if (!UsedElemClass() || n <= 0 || !m_pNode1 || !m_pNode2)
        return;
    if (IsCircular()) {
        CVector centre;
        CMatrix axes;
        double start = 0.0, sweep = 0.0;
        const double r = GetCircFunc(centre, axes, start, sweep, true);
        if (r <= 0.0)
            return;
        DiscretizeCurve(
            n, [&](int i, double* p) { CirclePoint(start - i * sweep / n, true, p); },
            [&](int i, CMatrix& t) { GetT_loc_Circ(start - i * sweep / n, t); },
            [&](int i) { return (i == 0 || i == n ? 0.5 : 1.0) * r * sweep / n; });
        return;
    }
    DiscretizeCurve(
        n, [&](int i, double* p) { ParabolaPoint(-1.0 + 2.0 * i / n, true, p); },
        [&](int i, CMatrix& t) { GetT_loc_Parab(-1.0 + 2.0 * i / n, t); },
        [&](int i) {
            // The arc a node stands for: half a segment on either side, so
            // that the segments tile the curve.
            const double s = -1.0 + 2.0 * i / n, h = 1.0 / n;
            return GetLength(std::max(s - h, -1.0), std::min(s + h, 1.0), nullptr, nullptr,
                             nullptr);
        });
}

void CBeamArch::PostDiscretize()
{
    if (!m_pThird) {
        CBeamSeg::PostDiscretize();
        return;
    }
    const int n = ElementCount();
    CVector centre;
    CMatrix axes;
    double start = 0.0, sweep = 0.0;
    if (IsCircular())
        GetCircFunc(centre, axes, start, sweep, false);
    for (int i = 0; i < n; ++i) {
        CBarElm* bar = BarAt(i);
        if (!bar)
            continue;
        bar->SetCrSectObject(m_pCrSect);
        CMatrix t;
        if (IsCircular())
            GetT_loc_Circ(start - (i + 0.5) * sweep / n, t);
        else
            GetT_loc_Parab(-1.0 + (2.0 * i + 1.0) / n, t);
        CVector& orient = bar->GetOrient();
        orient.Allocate(3, true, 0.0);
        for (int k = 0; k < 3; ++k)
            orient[k] = t[2][k];
    }
    // The end offsets reach the end elements as on a straight member; the
    // centre-of-gravity shift of DiscretizeCurve left them out for this.
    AddEndOffsets();
}

// ------------------------------------------------------------ division

void CBeamArch::DivideAt(int n, const std::function<void(int, double*)>& boundary,
                         const std::function<void(int, double*)>& middle)
{
    // Every point first: the curve changes as the member is cut.
    std::vector<std::array<double, 3>> ends(static_cast<std::size_t>(n + 1));
    std::vector<std::array<double, 3>> mids(static_cast<std::size_t>(n));
    for (int i = 0; i <= n; ++i)
        boundary(i, ends[i].data());
    for (int i = 0; i < n; ++i)
        middle(i, mids[i].data());

    CGraph* owner = DivisionGraph();
    const std::vector<std::array<double, 3>> inner(ends.begin() + 1, ends.end() - 1);
    SplitAt(inner, owner, [&](CBeamSeg* segment, int i) {
        static_cast<CBeamArch*>(segment)->m_pThird = NewDivisionNode(owner, mids[i].data());
    });
    // The third node moves to the middle of the last segment; a node that
    // other members use stays where it is and a copy moves instead.
    if (m_pThird->IsConnected()) {
        m_pThird = m_pThird->Copy(false);
        if (owner)
            owner->NewNode(m_pThird);
    }
    m_pThird->SetNodeCoord(mids[n - 1][0], mids[n - 1][1], mids[n - 1][2]);
}

std::vector<double> CBeamArch::PieceParameters(int n, bool equalArcs)
{
    std::vector<double> s{-1.0};
    if (!equalArcs) {
        for (int i = 1; i <= n; ++i)
            s.push_back(-1.0 + 2.0 * i / n);
        return s;
    }
    CVector chord, c, d;
    GetParabFunc(chord, c, d, false);
    const double target = GetLength(-1.0, 1.0, &c, &d, nullptr) / n;
    double from = -1.0;
    for (int i = 1; i < n; ++i) {
        double step = 2.0 / n;
        for (int k = 0; k < kNewtonSteps; ++k) {
            double speed = 0.0;
            const double length = GetLength(from, from + step, &c, &d, &speed);
            if (target == 0.0 || IsEqualTol(length / target, 1.0, 100.0))
                break;
            step += std::fabs(speed) < kTinySpeed ? 1.0 / n : (target - length) / speed;
        }
        from += step;
        s.push_back(from);
    }
    s.push_back(1.0);
    return s;
}

void CBeamArch::ParabolaDivideEqDist(int n)
{
    ParabolaDivide(0, n);
}

void CBeamArch::ParabolaDivide(int mode, int n)
{
    if (n < 2 || !m_pThird)
        return;
    const std::vector<double> s = PieceParameters(n, mode != 1);
    DivideAt(
        n, [&](int i, double* p) { ParabolaPoint(s[i], false, p); },
        [&](int i, double* p) { ParabolaPoint((s[i] + s[i + 1]) / 2.0, false, p); });
}

void CBeamArch::CircularDivide(int mode, int n)
{
    if (n < 2 || !m_pThird)
        return;
    CVector centre;
    CMatrix axes;
    double start = 0.0, sweep = 0.0;
    if (GetCircFunc(centre, axes, start, sweep, false) <= 0.0) {
        ParabolaDivide(0, n);
        return;
    }
    (void)mode;
    DivideAt(
        n, [&](int i, double* p) { CirclePoint(start - i * sweep / n, false, p); },
        [&](int i, double* p) { CirclePoint(start - (i + 0.5) * sweep / n, false, p); });
}

void CBeamArch::Divide(int mode, int n)
{
    DM_Clean();
    if (!m_pThird) {
        CBeamSeg::Divide(mode, n);
        return;
    }
    if (m_iArchType == kCircular)
        CircularDivide(mode, n);
    else
        ParabolaDivide(mode, n);
}

void CBeamArch::CentreNodeParaDivide() {}

void CBeamArch::CentreNodeCircDivide() {}

void CBeamArch::CentreNodeDivide()
{
    DM_Clean();
    if (m_iArchType == kCircular)
        CentreNodeCircDivide();
    else
        CentreNodeParaDivide();
}

// ------------------------------------------------------------ drawing

void CBeamArch::DrawPieces(bool solid, const std::function<void(int, double*)>& point,
                           const std::function<void(int, CMatrix&)>& axes, int n)
{
    if (!solid) {
        for (int i = 0; i < n; ++i) {
            double a[3], b[3];
            point(i, a);
            point(i + 1, b);
            glVertex3dv(a);
            glVertex3dv(b);
        }
        return;
    }
    COGLDrawCommand command;
    for (int i = 0; i < n; ++i) {
        CVector a(3), b(3);
        point(i, &a[0]);
        point(i + 1, &b[0]);
        if (!m_pCrSect) {
            DefaultPrismGL(&a[0], &b[0]);
            continue;
        }
        CMatrix ta, tb;
        axes(i, ta);
        axes(i + 1, tb);
        m_pCrSect->DrawBeamGL(&command, a, b, ta, tb, false, i == 0, i == n - 1);
    }
    command.EndIf();
}

void CBeamArch::ParabolaDraw(bool solid)
{
    const int n = std::max(m_nElem, kDrawPieces);
    DrawPieces(
        solid, [&](int i, double* p) { ParabolaPoint(-1.0 + 2.0 * i / n, true, p); },
        [&](int i, CMatrix& t) { GetT_loc_Parab(-1.0 + 2.0 * i / n, t); }, n);
}

void CBeamArch::CircularDraw(bool solid)
{
    CVector centre;
    CMatrix axes;
    double start = 0.0, sweep = 0.0;
    if (GetCircFunc(centre, axes, start, sweep, true) <= 0.0) {
        CBeamSeg::GLLine(solid, nullptr);
        return;
    }
    const int n = std::max(m_nElem, kDrawPieces);
    DrawPieces(
        solid, [&](int i, double* p) { CirclePoint(start - i * sweep / n, true, p); },
        [&](int i, CMatrix& t) { GetT_loc_Circ(start - i * sweep / n, t); }, n);
}

void CBeamArch::GLLine(bool solid, CSNode* from)
{
    if (!m_pThird) {
        CBeamSeg::GLLine(solid, from);
        return;
    }
    if (!m_pNode1 || !m_pNode2 || (from && from != m_pNode1))
        return;
    if (m_iArchType == kCircular)
        CircularDraw(solid);
    else
        ParabolaDraw(solid);
}

void CBeamArch::GLDrawLoad(COGLDrawCommand* command)
{
    if (!m_pLoad)
        return;
    if (!IsCircular()) {
        CBeamSeg::GLDrawLoad(command);
        return;
    }
    CVector centre;
    CMatrix axes;
    double start = 0.0, sweep = 0.0;
    const double r = GetCircFunc(centre, axes, start, sweep, true);
    if (r <= 0.0) {
        CBeamSeg::GLDrawLoad(command);
        return;
    }
    CVector unused;
    for (CLoad* load = dynamic_cast<CLoad*>(m_pLoad); load; load = load->GetNextLoad())
        if (auto* member = dynamic_cast<CEdgeLoadEx*>(load))
            member->DrawGL_OnCirc(command, start, -sweep, r, centre, axes, unused);
}

// ------------------------------------------------------------ archive

void CBeamArch::Serialize(CArchive& ar)
{
    CBeamSeg::Serialize(ar);
    if (ar.IsStoring()) {
        ar << LONG(m_iArchType) << static_cast<const CObject*>(m_pThird);
        return;
    }
    LONG type = 0;
    ar >> type;
    m_iArchType = type;
    // The arch points at its third node (a node of the model's).
    m_pThird = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode));
}

void CBeamArch::ASCIIExport(CArchive& ar, CObList* sections, const CBeamClassList* classes)
{
    const auto id = [](CSNode* n) { return n ? static_cast<unsigned>(n->GetID()) : 0u; };
    WriteExportLine(ar,
                    {CodeOf(classes), SectionNumber(m_pCrSect, sections), id(m_pNode1),
                     id(m_pNode2), id(m_pThird), static_cast<unsigned>(m_nElem)},
                    "   ");
}

#include "femodel/load.h"

#include <GL/gl.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "femodel/boundcond.h"
#include "glstyle/tincora.h"
#include "matrix/zelkor.h"

IMPLEMENT_DYNAMIC(CLoad, CVector)
IMPLEMENT_SERIAL(CNodeLoad, CLoad, 1)
IMPLEMENT_SERIAL(CNodeLoad3D, CNodeLoad, VERSIONABLE_SCHEMA | 3)
IMPLEMENT_SERIAL(CEdgeLoad, CLoad, 1)
IMPLEMENT_SERIAL(CEdgeLoadEx, CEdgeLoad, 1)

namespace {

constexpr double kEps = 2.220446049250313e-16;

// a nearly equal to b: within 1000 machine epsilons of b, absolutely when
// |b| < 1 and relatively otherwise.
bool NearlyEqual(double a, double b)
{
    const double tol = 1000.0 * kEps * (std::fabs(b) < 1.0 ? 1.0 : std::fabs(b));
    return std::fabs(a - b) <= tol;
}

void Widen(double v, double& max, double& min)
{
    if (v > max)
        max = v;
    if (v < min)
        min = v;
}

// Deletes a chain of loads iteratively.
void DeleteChain(CLoad*& head)
{
    CLoad* load = head;
    head = nullptr;
    while (load) {
        CLoad* next = load->m_pNext;
        load->m_pNext = nullptr;
        delete load;
        load = next;
    }
}

} // namespace

// ------------------------------------------------------------ CLoad

CLoad::~CLoad()
{
    DeleteChain(m_pNext);
}

void CLoad::Serialize(CArchive& ar)
{
    CVector::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_ulID) << static_cast<DWORD>(m_bLocal ? 1 : 0);
        return;
    }
    LONG id = 0;
    DWORD local = 0;
    ar >> id >> local;
    m_ulID = id;
    m_bLocal = local == 1;
}

void CLoad::CopyFrom(CLoad& src)
{
    if (&src == this)
        return;
    CVector::operator=(src);
    m_bLocal = src.m_bLocal;
}

void CLoad::GetMaxMin(double& max, double& min)
{
    if (GetSize() == 0)
        return;
    const double* first = GetVector();
    const auto [lo, hi] = std::minmax_element(first, first + GetSize());
    if (max < min) {
        max = *hi;
        min = *lo;
        return;
    }
    Widen(*hi, max, min);
    Widen(*lo, max, min);
}

// ------------------------------------------------------------ CNodeLoad

double CNodeLoad::LoadSize()
{
    const int n = GetSize() / 2;
    double force[3] = {0, 0, 0};
    double moment[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i) {
        const int code = static_cast<int>((*this)[i]);
        const double v = (*this)[n + i];
        if (code >= 1 && code <= 3)
            force[code - 1] += v;
        else if (code >= 4 && code <= 6)
            moment[code - 4] += 0.001 * v;
    }
    const double f = std::sqrt(force[0] * force[0] + force[1] * force[1] + force[2] * force[2]);
    const double m = std::sqrt(moment[0] * moment[0] + moment[1] * moment[1] + moment[2] * moment[2]);
    return std::max(f, m);
}

namespace {

// An arrow from p along dir (world units) in the current colour.
void Arrow2D(const double p[3], double dx, double dy)
{
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0.0)
        return;
    const double tip[2] = {p[0] + dx, p[1] + dy};
    const double ux = dx / len, uy = dy / len;
    const double back = 0.1 * len, side = 0.04 * len;
    glBegin(GL_LINE_STRIP);
    glVertex3d(p[0], p[1], p[2]);
    glVertex3d(tip[0], tip[1], p[2]);
    glEnd();
    glBegin(GL_LINE_STRIP);
    glVertex3d(tip[0] - back * ux - side * uy, tip[1] - back * uy + side * ux, p[2]);
    glVertex3d(tip[0], tip[1], p[2]);
    glVertex3d(tip[0] - back * ux + side * uy, tip[1] - back * uy - side * ux, p[2]);
    glEnd();
}

} // namespace

void CNodeLoad::Draw(CObject* object, double* scales)
{
    auto* node = dynamic_cast<CSNode*>(object);
    if (!node || !scales || GetSize() == 0)
        return;
    double p[3];
    node->GetVertex(p[0], p[1], p[2]);
    double c = 1.0, s = 0.0;
    if (m_bLocal)
        if (CBoundCond* bc = node->GetBC(0))
            if (bc->GetAngle() != 0.0) {
                c = std::cos(bc->GetAngle());
                s = std::sin(bc->GetAngle());
            }
    const double f = scales[1];
    if (GetSize() == 1) {
        glColor3d(0, 0, 1);
        Arrow2D(p, -s * (*this)[0] * f, c * (*this)[0] * f);
        return;
    }
    if ((*this)[0] != 0.0) {
        glColor3d(1, 0, 0);
        Arrow2D(p, c * (*this)[0] * f, s * (*this)[0] * f);
    }
    if ((*this)[1] != 0.0) {
        glColor3d(0, 0, 1);
        Arrow2D(p, -s * (*this)[1] * f, c * (*this)[1] * f);
    }
}

// ------------------------------------------------------------ CNodeLoad3D

void CNodeLoad3D::Serialize(CArchive& ar)
{
    CLoad::Serialize(ar);
    if (ar.IsStoring()) {
        m_Ecc.Serialize(ar);
        ar << m_uiWord << m_lFlag << m_uiWord2 << static_cast<const CObject*>(m_pNext);
        return;
    }
    const UINT schema = ar.GetObjectSchema();
    if (schema == 1 || schema == 2) {
        // Older files keep a matrix where the eccentricity stands now.
        CMatrix old;
        old.Serialize(ar);
        m_Ecc.Allocate(0, false, 0.0);
        ar >> m_uiWord;
        if (schema == 2)
            ar >> m_lFlag >> m_uiWord2;
    } else {
        m_Ecc.Serialize(ar);
        ar >> m_uiWord >> m_lFlag >> m_uiWord2;
    }
    DeleteChain(m_pNext);
    m_pNext = ar.ReadObjectAs<CNodeLoad3D>(RUNTIME_CLASS(CNodeLoad3D), CArchive::useOwned);
}

void CNodeLoad3D::CopyFrom(CLoad& src)
{
    if (&src == this)
        return;
    CLoad::CopyFrom(src);
    auto* from = dynamic_cast<CNodeLoad3D*>(&src);
    if (!from) {
        DeleteChain(m_pNext);
        return;
    }
    m_Ecc = from->m_Ecc;
    m_uiWord = from->m_uiWord;
    m_lFlag = from->m_lFlag;
    m_uiWord2 = from->m_uiWord2;
    if (!from->m_pNext) {
        DeleteChain(m_pNext);
        return;
    }
    if (!m_pNext)
        m_pNext = static_cast<CLoad*>(from->m_pNext->GetRuntimeClass()->CreateObject());
    m_pNext->CopyFrom(*from->m_pNext);
}

void CNodeLoad3D::AppendNodeLoad(CNodeLoad* load)
{
    if (!load || load == this)
        return;
    CLoad* last = this;
    while (last->m_pNext)
        last = last->m_pNext;
    last->m_pNext = load;
}

void CNodeLoad3D::AppendNodeLoad(CNodeLoad& load)
{
    auto* copy = static_cast<CNodeLoad*>(load.GetRuntimeClass()->CreateObject());
    copy->CopyFrom(load);
    AppendNodeLoad(copy);
}

void CNodeLoad3D::Draw(CObject* object, double* scales)
{
    auto* node = dynamic_cast<CSNode*>(object);
    if (!node || !scales)
        return;
    double p[3];
    node->GetVertex(p[0], p[1], p[2]);
    if (m_Ecc.GetSize() > 2) {
        double q[3] = {p[0] + m_Ecc[0], p[1] + m_Ecc[1], p[2] + m_Ecc[2]};
        glColor3d(0, 0, 0);
        glLineWidth(static_cast<GLfloat>(WIDE_EDGE));
        glBegin(GL_LINES);
        glVertex3dv(p);
        glVertex3dv(q);
        glEnd();
        glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        std::copy(q, q + 3, p);
    }
    const int n = GetSize() / 2;
    double force[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i) {
        const int code = static_cast<int>((*this)[i]);
        if (code >= 1 && code <= 3)
            force[code - 1] += (*this)[n + i] * scales[1];
    }
    if (m_bLocal)
        if (CBoundCond* bc = node->GetBC(0)) {
            CMatrix t;
            if (bc->GetTMat(t, 1) && t.GetRows() == 3 && t.GetColumns() == 3) {
                double g[3];
                for (int r = 0; r < 3; ++r)
                    g[r] = t[0][r] * force[0] + t[1][r] * force[1] + t[2][r] * force[2];
                std::copy(g, g + 3, force);
            }
        }
    if (force[0] != 0.0 || force[1] != 0.0 || force[2] != 0.0) {
        glColor4d(0, 0, 1, 1);
        Draw3DVect(p, force, 0.0, 0);
    }
    if (auto* next = dynamic_cast<CNodeLoad*>(m_pNext))
        next->Draw(object, scales);
}

// ------------------------------------------------------------ CEdgeLoad

void CEdgeLoad::CopyFrom(CLoad& src)
{
    CLoad::CopyFrom(src);
    if (dynamic_cast<CEdgeLoad*>(&src))
        m_lElemID = src.m_lElemID;
}

void CEdgeLoad::GetABC(double& A, double& B, double& C) const
{
    const auto w = [this](int i) { return i < GetSize() ? (*this)[i] : 0.0; };
    A = w(0);
    B = 4.0 * w(4) - 3.0 * w(0) - w(2);
    C = w(2) - A - B;
}

void CEdgeLoad::GetDEF(double& D, double& E, double& F) const
{
    const auto w = [this](int i) { return i < GetSize() ? (*this)[i] : 0.0; };
    D = w(1);
    E = 4.0 * w(5) - 3.0 * w(1) - w(3);
    F = w(3) - D - E;
}

void CEdgeLoad::GetMaxMin(double& max, double& min)
{
    const auto w = [this](int i) { return i < GetSize() ? (*this)[i] : 0.0; };
    for (int k = 0; k < 2; ++k) {
        const double start = w(k), end = w(k + 2), mid = w(k + 4);
        if (start == 0.0 && end == 0.0 && mid == 0.0)
            continue;
        if (max < min)
            max = min = start;
        Widen(start, max, min);
        Widen(end, max, min);
        double a, b, c;
        if (k == 0)
            GetABC(a, b, c);
        else
            GetDEF(a, b, c);
        if (std::fabs(c) > 100.0 * kEps) {
            // Only a vertex inside the edge bounds the load.
            const double t = -b / (2.0 * c);
            if (t > 0.0 && t < 1.0)
                Widen(a - b * b / (4.0 * c), max, min);
        }
    }
}

void CEdgeLoad::DrawGL(CEdge* edge, double scale, bool simple, bool materialLeft)
{
    if (!edge || !edge->GetNode1() || !edge->GetNode2())
        return;
    double x1, y1, z1, x2, y2, z2;
    edge->GetNode1()->GetVertex(x1, y1, z1);
    edge->GetNode2()->GetVertex(x2, y2, z2);
    const double dx = x2 - x1, dy = y2 - y1;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0.0)
        return;
    // The edge's outward normal: away from the plate whose edge it is.
    const double ox = (materialLeft ? dy : -dy) / len, oy = (materialLeft ? -dx : dx) / len;
    const auto w = [this](int i) { return i < GetSize() ? (*this)[i] : 0.0; };
    for (int k = 0; k < 2; ++k) {
        const double start = w(k), end = w(k + 2), mid = w(k + 4);
        if (start == 0.0 && end == 0.0 && mid == 0.0)
            continue;
        double a, b, c;
        if (k == 0) {
            GetABC(a, b, c);
            glColor3d(1, 0, 0);
        } else {
            GetDEF(a, b, c);
            glColor3d(0, 0, 1);
        }
        double nx, ny;
        if (m_bLocal) {
            nx = (k == 0 ? dy : -dy) / len;
            ny = (k == 0 ? -dx : dx) / len;
        } else {
            nx = k == 0 ? 1.0 : 0.0;
            ny = k == 0 ? 0.0 : 1.0;
        }
        // The outline lies outside the plate, at |p| x scale along n or
        // against it, whichever leads out: a load along n that points into
        // the plate (a compression, or the lateral load of a plate bending
        // element, folded about its edge into the plane) is drawn standing
        // beside the edge and pushing at it, not across the plate over its
        // other edges. A global component along the edge has no outside and
        // keeps n's side.
        const double side = nx * ox + ny * oy < 0.0 ? -1.0 : 1.0;
        const double sx = side * nx, sy = side * ny;
        const bool uniform = NearlyEqual(start, end) && NearlyEqual(mid, end);
        const bool linear = NearlyEqual(mid, 0.5 * (start + end));
        // A load that changes its sign along the edge bends its outline
        // back at the edge, which two samples would not show.
        const bool bothSigns = std::min({start, mid, end}) < 0.0 && std::max({start, mid, end}) > 0.0;
        const int samples = (simple || (m_bLocal && !bothSigns && (uniform || linear))) ? 2 : 51;
        glBegin(GL_LINE_STRIP);
        glVertex3d(x1, y1, z1);
        for (int i = 0; i < samples; ++i) {
            const double t = samples == 2 ? i : 0.02 * i;
            const double p = std::fabs(a + b * t + c * t * t) * scale;
            glVertex3d(x1 + t * dx + p * sx, y1 + t * dy + p * sy, z1 + t * (z2 - z1));
        }
        glVertex3d(x2, y2, z2);
        glEnd();
        // Arrow heads at both ends show the sense of the load, each pointing
        // the way the load acts: a load leading out of the plate has its head
        // on the outline (a tension pulls), a load into the plate has it at
        // the edge's node (a compression pushes at the edge). A fifth of the
        // arrow, at most half the edge, so that the short edges of a mesh
        // still show them.
        for (int e = 0; e < 2; ++e) {
            const double v = e == 0 ? start : end;
            const double size = std::min(0.2 * std::fabs(v * scale), 0.5 * len);
            if (v == 0.0 || size == 0.0)
                continue;
            const double px = e == 0 ? x1 : x2, py = e == 0 ? y1 : y2, pz = e == 0 ? z1 : z2;
            const double sense = v > 0 ? 1.0 : -1.0;
            const double reach = v * side > 0 ? std::fabs(v) * scale : 0.0;
            const double tx = px + reach * sx, ty = py + reach * sy;
            const double bx = tx - sense * size * nx, by = ty - sense * size * ny;
            const double bo = 0.5 * size * ny, bp = -0.5 * size * nx;
            glBegin(m_bLocal ? GL_LINE_STRIP : GL_TRIANGLES);
            glVertex3d(bx + bo, by + bp, pz);
            glVertex3d(tx, ty, pz);
            glVertex3d(bx - bo, by - bp, pz);
            glEnd();
        }
    }
}

// ------------------------------------------------------------ CEdgeLoadEx

CEdgeLoadEx::~CEdgeLoadEx()
{
    delete m_pEcc;
}

void CEdgeLoadEx::Serialize(CArchive& ar)
{
    CLoad::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_bProjected ? 1 : 0) << static_cast<DWORD>(m_bFlag2 ? 1 : 0)
           << m_uiWord << static_cast<const CObject*>(m_pEcc) << static_cast<const CObject*>(m_pNext);
        return;
    }
    DWORD projected = 0, flag2 = 0;
    ar >> projected >> flag2 >> m_uiWord;
    m_bProjected = projected != 0;
    m_bFlag2 = flag2 != 0;
    delete m_pEcc;
    m_pEcc = nullptr;
    m_pEcc = ar.ReadObjectAs<CVector>(RUNTIME_CLASS(CVector), CArchive::useOwned);
    DeleteChain(m_pNext);
    m_pNext = ar.ReadObjectAs<CEdgeLoadEx>(RUNTIME_CLASS(CEdgeLoadEx), CArchive::useOwned);
}

void CEdgeLoadEx::CopyFrom(CLoad& src)
{
    if (&src == this)
        return;
    CEdgeLoad::CopyFrom(src);
    auto* from = dynamic_cast<CEdgeLoadEx*>(&src);
    if (!from)
        return;
    m_bProjected = from->m_bProjected;
    m_bFlag2 = from->m_bFlag2;
    m_uiWord = from->m_uiWord;
    delete m_pEcc;
    m_pEcc = from->m_pEcc ? new CVector(*from->m_pEcc) : nullptr;
    DeleteChain(m_pNext);
    if (from->m_pNext) {
        auto* next = new CEdgeLoadEx;
        next->CopyFrom(*from->m_pNext);
        m_pNext = next;
    }
}

void CEdgeLoadEx::GetLoadVectAt(double xi, CVector& v)
{
    v.Allocate(3, true, 0.0);
    const int n = GetSize();
    if (n < 3)
        return;
    const double* w = GetVector();
    for (int i = 0; i < 3; ++i) {
        if (n < 6)
            v[i] = w[i];
        else if (n < 9)
            v[i] = 0.5 * (1.0 - xi) * w[i] + 0.5 * (1.0 + xi) * w[3 + i];
        else
            v[i] = -xi * (1.0 - xi) * 0.5 * w[i] + xi * (1.0 + xi) * 0.5 * w[3 + i] +
                   (1.0 - xi) * (1.0 + xi) * w[6 + i];
    }
}

double CEdgeLoadEx::LoadSize()
{
    CVector v;
    double size = 0.0;
    for (int k = 0; k <= 20; ++k) {
        GetLoadVectAt(-1.0 + 0.1 * k, v);
        size = std::max(size, std::sqrt(v.Dot(v)));
    }
    return size;
}

double CEdgeLoadEx::Projection(CMatrix& t, int i)
{
    const double a = t[0][0], b = t[0][1], c = t[0][2];
    switch (i) {
    case 0: return std::sqrt(b * b + c * c);
    case 1: return std::sqrt(a * a + c * c);
    default: return std::sqrt(a * a + b * b);
    }
}

CNodeLoad3D* CEdgeLoadEx::GetNodeLoad(double xi, double factor, CMatrix& t, CVector* offset)
{
    const bool hasT = t.GetRows() >= 3 && t.GetColumns() >= 3;
    CVector v;
    GetLoadVectAt(xi, v);
    double f[3] = {v[0] * factor, v[1] * factor, v[2] * factor};
    if (m_bLocal && hasT) {
        // Local components turned into global ones: t's rows are the local axes.
        double g[3];
        for (int r = 0; r < 3; ++r)
            g[r] = t[0][r] * f[0] + t[1][r] * f[1] + t[2][r] * f[2];
        std::copy(g, g + 3, f);
    }
    if (m_bProjected && hasT)
        for (int i = 0; i < 3; ++i)
            f[i] *= Projection(t, i);
    auto* load = new CNodeLoad3D;
    load->Allocate(6, true, 0.0);
    (*load)[0] = 1;
    (*load)[1] = 2;
    (*load)[2] = 3;
    (*load)[3] = f[0];
    (*load)[4] = f[1];
    (*load)[5] = f[2];
    load->m_bLocal = false;
    if (m_pEcc || offset) {
        load->m_Ecc.Allocate(3, true, 0.0);
        if (m_pEcc) {
            double e[3] = {0, 0, 0};
            for (int i = 0; i < 3 && i < m_pEcc->GetSize(); ++i)
                e[i] = (*m_pEcc)[i];
            for (int r = 0; r < 3; ++r)
                load->m_Ecc[r] = hasT ? t[0][r] * e[0] + t[1][r] * e[1] + t[2][r] * e[2] : e[r];
        }
        if (offset)
            for (int i = 0; i < 3 && i < offset->GetSize(); ++i)
                load->m_Ecc[i] += (*offset)[i];
    }
    load->m_lFlag = m_bFlag2 ? 1 : 0;
    load->m_uiWord = m_uiWord;
    if (auto* next = dynamic_cast<CEdgeLoadEx*>(m_pNext))
        load->m_pNext = next->GetNodeLoad(xi, factor, t, offset);
    return load;
}

void CEdgeLoadEx::GetSegmentLoad(double xa, double xb, CEdgeLoad*& out)
{
    auto* seg = new CEdgeLoadEx;
    seg->m_bProjected = m_bProjected;
    seg->m_bFlag2 = m_bFlag2;
    seg->m_uiWord = m_uiWord;
    seg->m_bLocal = m_bLocal;
    if (m_pEcc)
        seg->m_pEcc = new CVector(*m_pEcc);
    const int n = GetSize();
    CVector v;
    if (n >= 9) {
        seg->Allocate(9, true, 0.0);
        const double at[3] = {xa, xb, 0.5 * (xa + xb)};
        for (int k = 0; k < 3; ++k) {
            GetLoadVectAt(at[k], v);
            for (int i = 0; i < 3; ++i)
                (*seg)[3 * k + i] = v[i];
        }
    } else if (n >= 6) {
        seg->Allocate(6, true, 0.0);
        const double at[2] = {xa, xb};
        for (int k = 0; k < 2; ++k) {
            GetLoadVectAt(at[k], v);
            for (int i = 0; i < 3; ++i)
                (*seg)[3 * k + i] = v[i];
        }
    } else if (n >= 3) {
        seg->Allocate(3, true, 0.0);
        for (int i = 0; i < 3; ++i)
            (*seg)[i] = (*this)[i];
    }
    if (auto* next = dynamic_cast<CEdgeLoadEx*>(m_pNext)) {
        CEdgeLoad* nextSeg = nullptr;
        next->GetSegmentLoad(xa, xb, nextSeg);
        seg->m_pNext = nextSeg;
    }
    out = seg;
}

void CEdgeLoadEx::DrawGL_OnLinear(COGLDrawCommand* cmd, CVector& e1, CVector& e2, CVector& e3,
                                  CVector& start, CVector& end)
{
    if (GetSize() < 3 || e1.GetSize() < 3 || e2.GetSize() < 3 || e3.GetSize() < 3 ||
        start.GetSize() < 3 || end.GetSize() < 3)
        return;
    const double scale = cmd && cmd->m_pScale && cmd->m_nScale > 3 ? cmd->m_pScale[3] : 1.0;
    double dir[3][3];
    double n23 = 0.0;
    for (int i = 0; i < 3; ++i) {
        dir[0][i] = e2[i] + e3[i];
        n23 += dir[0][i] * dir[0][i];
        dir[1][i] = e2[i];
        dir[2][i] = e3[i];
    }
    n23 = std::sqrt(n23);
    for (int i = 0; i < 3 && n23 > 0.0; ++i)
        dir[0][i] /= n23;
    double shift[3] = {0, 0, 0};
    if (m_pEcc && m_pEcc->GetSize() >= 3)
        for (int i = 0; i < 3; ++i)
            shift[i] = e2[i] * (*m_pEcc)[1] + e3[i] * (*m_pEcc)[2];
    CMatrix t(3, 3);
    for (int i = 0; i < 3; ++i) {
        t[0][i] = e1[i];
        t[1][i] = e2[i];
        t[2][i] = e3[i];
    }
    static const double kColour[3][3] = {{1, 0, 0}, {0.5, 0, 0.5}, {0, 0, 1}};
    CVector v;
    CVector* axes[3] = {&e1, &e2, &e3};
    for (int c = 0; c < 3; ++c) {
        glColor3d(kColour[c][0], kColour[c][1], kColour[c][2]);
        glBegin(GL_LINE_STRIP);
        glVertex3d(start[0] + shift[0], start[1] + shift[1], start[2] + shift[2]);
        for (int k = 0; k <= 20; ++k) {
            GetLoadVectAt(-1.0 + 0.1 * k, v);
            double value = m_bLocal ? v[c] : v.Dot(*axes[c]);
            if (m_bProjected)
                value *= Projection(t, c);
            const double wa = 1.0 - 0.05 * k;
            double p[3];
            for (int i = 0; i < 3; ++i)
                p[i] = wa * start[i] + (1.0 - wa) * end[i] + shift[i] + value * scale * dir[c][i];
            glVertex3dv(p);
        }
        glVertex3d(end[0] + shift[0], end[1] + shift[1], end[2] + shift[2]);
        glEnd();
    }
    if (shift[0] != 0.0 || shift[1] != 0.0 || shift[2] != 0.0) {
        glBegin(GL_LINES);
        glVertex3d(start[0], start[1], start[2]);
        glVertex3d(start[0] + shift[0], start[1] + shift[1], start[2] + shift[2]);
        glVertex3d(end[0], end[1], end[2]);
        glVertex3d(end[0] + shift[0], end[1] + shift[1], end[2] + shift[2]);
        glEnd();
    }
}

void CEdgeLoadEx::DrawGL_OnCirc(COGLDrawCommand* cmd, double start, double sweep, double r,
                                CVector& centre, CMatrix& t, CVector&)
{
    if (GetSize() < 3 || centre.GetSize() < 3 || t.GetRows() < 3 || t.GetColumns() < 3)
        return;
    const double scale = cmd && cmd->m_pScale && cmd->m_nScale > 3 ? cmd->m_pScale[3] : 1.0;
    const int n = std::max(30, static_cast<int>(sweep * 11.140846016432674 + 5.0));
    const auto arc = [&](double angle, double p[3]) {
        const double lx = r * std::cos(angle), ly = r * std::sin(angle);
        for (int i = 0; i < 3; ++i)
            p[i] = centre[i] + t[i][0] * lx + t[i][1] * ly;
    };
    double p[3];
    CVector v;
    glBegin(GL_LINE_STRIP);
    arc(start, p);
    glVertex3dv(p);
    for (int k = 0; k <= n; ++k) {
        arc(start - k * sweep / n, p);
        GetLoadVectAt(2.0 * k / n - 1.0, v);
        glVertex3d(p[0] + v[0] * scale, p[1] + v[1] * scale, p[2] + v[2] * scale);
    }
    arc(start - sweep, p);
    glVertex3dv(p);
    glEnd();
}

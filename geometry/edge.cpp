#include "geometry/edge.h"

#include <GL/gl.h>

#include <cmath>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

#include "geometry/graph.h"
#include "glstyle/tincora.h"

IMPLEMENT_SERIAL(CEdge, CObject, 1)
IMPLEMENT_SERIAL(CNodeLink, CEdge, 1)

DWORD CEdge::lIDedge = 100000001;
BYTE CEdge::m_cVer = 1;
int iProgresjon = 1;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kThreeHalfPi = 4.71238898038469;
constexpr double kTwoPi = 6.283185307179586;

// A count of segments from a real value; false when it cannot be one.
bool PieceCount(double v, int& n)
{
    if (!(v > -1e9 && v < 1e9))
        return false;
    n = static_cast<int>(v);
    return true;
}

// Whole number of segments: the ceiling, or the floor when the ceiling lies
// more than 0.5 above the value.
bool RoundedCount(double m, int& n)
{
    if (!(m > -1e9 && m < 1e9))
        return false;
    double c = std::ceil(m);
    if (c - m > 0.5)
        c = std::floor(m);
    n = static_cast<int>(c);
    return true;
}

} // namespace

CEdge::CEdge() : m_ulID(lIDedge++)
{
}

CEdge::CEdge(CSNode* first, CSNode* second) : m_ulID(lIDedge++), m_pNode1(first), m_pNode2(second)
{
    Attach();
}

CEdge::~CEdge()
{
    AfxGetSelectionNames().Forget(this);
    Detach();
    RemoveSubNodeList();
}

void CEdge::Attach()
{
    const double len = GetLength();
    if (CEdgeAttachBatch* batch = CEdgeAttachBatch::Open()) {
        batch->Add(this, len);
        return;
    }
    if (m_pNode1) {
        m_pNode1->SetSNodSpace(len, false);
        m_pNode1->AddEdge(this);
    }
    if (m_pNode2) {
        m_pNode2->SetSNodSpace(len, false);
        m_pNode2->AddEdge(this);
    }
}

void CEdge::Detach()
{
    if (CEdgeAttachBatch* batch = CEdgeAttachBatch::Open(); batch && batch->Forget(this))
        return;
    if (m_pNode1)
        m_pNode1->RemoveEdge(this);
    if (m_pNode2)
        m_pNode2->RemoveEdge(this);
}

// ------------------------------------------------------------ attach batch

CEdgeAttachBatch*& CEdgeAttachBatch::Open()
{
    thread_local CEdgeAttachBatch* open = nullptr;
    return open;
}

CEdgeAttachBatch::CEdgeAttachBatch() : m_pOuter(Open())
{
    Open() = this;
}

CEdgeAttachBatch::~CEdgeAttachBatch()
{
    Flush();
    Open() = m_pOuter;
}

bool CEdgeAttachBatch::Forget(CEdge* edge)
{
    // The edge deleted or moved soon after it was made lies near the end.
    for (auto it = m_edges.rbegin(); it != m_edges.rend(); ++it)
        if (it->edge == edge) {
            m_edges.erase(std::next(it).base());
            return true;
        }
    return false;
}

void CEdgeAttachBatch::Flush()
{
    // Attach() gives the first node the length, then the edge, then the
    // second node the same: per node the order of the calls is kept.
    std::vector<Pending> pending = std::move(m_edges);
    m_edges.clear();
    std::unordered_map<CSNode*, std::vector<CObject*>> added;
    std::vector<CSNode*> nodes;
    for (const Pending& p : pending)
        for (CSNode* node : {p.edge->GetNode1(), p.edge->GetNode2()}) {
            if (!node)
                continue;
            std::vector<CObject*>& list = added[node];
            if (list.empty())
                nodes.push_back(node);
            else if (list.back() == p.edge)
                continue; // an edge from a node to itself joins it once
            node->SetSNodSpace(p.length, false);
            list.push_back(p.edge);
        }
    for (CSNode* node : nodes)
        node->AddEdges(added[node]);
}

void CEdge::Init(CSNode* first, CSNode* second)
{
    Detach();
    m_pNode1 = first;
    m_pNode2 = second;
    AfxNoteModelEdit();
    Attach();
}

void CEdge::Reset()
{
    Detach();
    m_pNode1 = nullptr;
    m_pNode2 = nullptr;
    AfxNoteModelEdit();
}

void CEdge::SetNewNode(CSNode* replacement, CSNode* replaced)
{
    if (m_pNode1 == replaced)
        m_pNode1 = replacement;
    else if (m_pNode2 == replaced)
        m_pNode2 = replacement;
    else
        return;
    AfxNoteModelEdit();
    if (replaced)
        replaced->RemoveEdge(this);
    if (replacement)
        replacement->AddEdge(this);
}

void CEdge::SetDirNode(CSNode* node)
{
    if (node != m_pNode1) {
        CSNode* t = m_pNode1;
        m_pNode1 = m_pNode2;
        m_pNode2 = t;
        AfxNoteModelEdit();
    }
}

void CEdge::Update()
{
    const double len = GetLength();
    if (m_pNode1)
        m_pNode1->SetSNodSpace(len, false);
    if (m_pNode2)
        m_pNode2->SetSNodSpace(len, false);
}

// ------------------------------------------------------------ queries

void CEdge::GetNodes(CSNode*& first, CSNode*& second) const
{
    first = m_pNode1;
    second = m_pNode2;
}

void CEdge::GetNodes(CObList& out)
{
    out.AddTail(m_pNode1);
    out.AddTail(m_pNode2);
}

CSNode* CEdge::GetNode(const CSNode* node) const
{
    if (node == m_pNode1)
        return m_pNode2;
    if (node == m_pNode2)
        return m_pNode1;
    return nullptr;
}

bool CEdge::IsNodeInDef(CSNode* node) const
{
    return node == m_pNode1 || node == m_pNode2;
}

double CEdge::GetLength() const
{
    if (!m_pNode1 || !m_pNode2)
        return 0.0;
    const double dx = m_pNode2->x - m_pNode1->x;
    const double dy = m_pNode2->y - m_pNode1->y;
    const double dz = m_pNode2->z - m_pNode1->z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

bool CEdge::IsLinear() const
{
    return true;
}

bool CEdge::IsCellEdge() const
{
    return m_bCellEdge;
}

CBoundCond* CEdge::GetBC(int)
{
    return nullptr;
}

CLoad* CEdge::GetLoad()
{
    return nullptr;
}

// ------------------------------------------------------------ directions

void CEdge::DirVect(double& dx, double& dy, double& dz, double len)
{
    dx = m_pNode2->x - m_pNode1->x;
    dy = m_pNode2->y - m_pNode1->y;
    dz = m_pNode2->z - m_pNode1->z;
    if (len != 0.0) {
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (d != 0.0) {
            dx = dx / d * len;
            dy = dy / d * len;
            dz = dz / d * len;
        }
    }
}

void CEdge::DirVect2D(double& dx, double& dy, double len) const
{
    dx = m_pNode2->x - m_pNode1->x;
    dy = m_pNode2->y - m_pNode1->y;
    if (len != 0.0) {
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d != 0.0) {
            dx = dx / d * len;
            dy = dy / d * len;
        }
    }
}

void CEdge::DirVect2DAdd(double& x, double& y, double len) const
{
    double dx, dy;
    DirVect2D(dx, dy, len);
    x += dx;
    y += dy;
}

bool CEdge::Get2DAngle(const CSNode* from, double& angle) const
{
    angle = 0.0;
    if (!from)
        from = m_pNode1;
    const CSNode* to = GetNode(from);
    if (!to)
        return false;
    const double dx = to->x - from->x;
    const double dy = to->y - from->y;
    if (dx * dx + dy * dy == 0.0)
        return false;
    if (IsEqualTol(dx, 0.0, 1000.0)) {
        angle = dy < 0.0 ? kPi : 0.0;
        return true;
    }
    if (IsEqualTol(dy, 0.0, 1000.0)) {
        angle = dx < 0.0 ? kThreeHalfPi : kHalfPi;
        return true;
    }
    const double r = std::sqrt(dx * dx + dy * dy);
    if (dx <= 0.0 && dy >= 0.0)
        angle = std::asin(dy / r) + kThreeHalfPi;
    else if (dx <= 0.0)
        angle = std::asin(-dx / r) + kPi;
    else if (dy <= 0.0)
        angle = std::asin(-dy / r) + kHalfPi;
    else
        angle = std::asin(dx / r);
    return true;
}

double CEdge::GetCClWAngle(CSNode*& start) const
{
    double dx = m_pNode2->x - m_pNode1->x;
    const double dy = m_pNode2->y - m_pNode1->y;
    if (IsEqualTol(dy, 0.0, 10.0)) {
        start = dx < 0.0 ? m_pNode2 : m_pNode1;
        return 0.0;
    }
    if (IsEqualTol(dx, 0.0, 10.0)) {
        start = dy < 0.0 ? m_pNode2 : m_pNode1;
        return kHalfPi;
    }
    if (dy < 0.0) {
        start = m_pNode2;
        dx = -dx;
    } else {
        start = m_pNode1;
    }
    return std::acos(dx / std::sqrt(dx * dx + dy * dy));
}

double CEdge::GetCClWAngle() const
{
    CSNode* start = nullptr;
    return GetCClWAngle(start);
}

bool CEdge::Next2DEdgeClW(CSNode*& node, CEdge*& edge, double& turn)
{
    CSNode* next = GetNode(node);
    if (!next)
        return false;
    node = next;
    CObList* list = node->GetEdgeList();
    POSITION pos = list ? list->Find(this) : nullptr;
    if (!pos)
        return false;
    CEdge* found = nullptr;
    list->GetNext(pos);
    for (;;) {
        if (!pos)
            pos = list->GetHeadPosition();
        CEdge* candidate = static_cast<CEdge*>(list->GetNext(pos));
        if (candidate == this)
            return false;
        if (candidate->IsCellEdge()) {
            found = candidate;
            break;
        }
    }
    edge = found;
    double a1 = 0.0, a2 = 0.0;
    Get2DAngle(node, a1);
    found->Get2DAngle(node, a2);
    if (a1 <= a2)
        turn += a2 - a1;
    else
        turn += kTwoPi - a1 + a2;
    return true;
}

// ------------------------------------------------------------ intersection

short CEdge::Intersection2D(double** seg1, double** seg2)
{
    const double* a = seg1[0];
    const double* b = seg1[1];
    const double* c = seg2[0];
    const double* d = seg2[1];
    const double d1x = b[0] - a[0], d1y = b[1] - a[1];
    const double d2x = d[0] - c[0], d2y = d[1] - c[1];
    const double det = d2x * d1y - d2y * d1x;
    auto inside = [](double t) { return t > -1e-7 && t < 1.0000001; };

    if (IsEqualTol(det, 0.0, 1e8)) {
        // Parallel: overlap only when C lies on the line A-B.
        const int k1 = std::fabs(d1x) > std::fabs(d1y) ? 0 : 1;
        const int k2 = std::fabs(d2x) > std::fabs(d2y) ? 0 : 1;
        const double dir1[2] = {d1x, d1y};
        const double dir2[2] = {d2x, d2y};
        auto onAB = [&](const double* p) { return (p[k1] - a[k1]) / dir1[k1]; };
        auto onCD = [&](const double* p) { return (p[k2] - c[k2]) / dir2[k2]; };
        const double t = onAB(c);
        const int o = 1 - k1;
        if (!IsEqualTol(a[o] + t * dir1[o], c[o], 1e8))
            return 0;
        if (inside(t) || inside(onCD(a)) || inside(onAB(d)) || inside(onCD(b)))
            return 2;
        return 0;
    }
    const double u = ((a[0] - c[0]) * d1y - (a[1] - c[1]) * d1x) / det;
    if (u > 1.0000001 || u < -1e-7)
        return 0;
    double t;
    if (std::fabs(d1y) >= std::fabs(d1x))
        t = (c[1] + u * d2y - a[1]) / d1y;
    else
        t = (c[0] + u * d2x - a[0]) / d1x;
    if (t > 1.0000001 || t < -1e-7)
        return 0;
    if (IsEqualTol(u, 0.0, 1e8) || IsEqualTol(u, 1.0, 1e8) || IsEqualTol(t, 0.0, 1e8) ||
        IsEqualTol(t, 1.0, 1e8))
        return 2;
    return 1;
}

short CEdge::Intersection2D(CEdge* other, CSNode* from)
{
    if ((from && from != m_pNode1) || !other || other == this)
        return 0;
    if (!other->IsLinear())
        return other->Intersection2D(this, nullptr);
    CSNode* o1 = other->m_pNode1;
    CSNode* o2 = other->m_pNode2;
    if ((m_pNode1 == o1 && m_pNode2 == o2) || (m_pNode1 == o2 && m_pNode2 == o1))
        return 2;
    const bool sameRole = m_pNode1 == o1 || m_pNode2 == o2;
    const bool oppositeRole = m_pNode1 == o2 || m_pNode2 == o1;
    if (sameRole || oppositeRole) {
        double ax, ay, bx, by;
        DirVect2D(ax, ay, 1.0);
        other->DirVect2D(bx, by, 1.0);
        if (oppositeRole) {
            bx = -bx;
            by = -by;
        }
        return (IsEqualTol(ax, bx, 1e8) && IsEqualTol(ay, by, 1e8)) ? 2 : 0;
    }
    if (m_pNode1->Compare(o1, 1e7) || m_pNode1->Compare(o2, 1e7) || m_pNode2->Compare(o1, 1e7) ||
        m_pNode2->Compare(o2, 1e7))
        return 2;
    const double minX = std::fmin(m_pNode1->x, m_pNode2->x), maxX = std::fmax(m_pNode1->x, m_pNode2->x);
    const double minY = std::fmin(m_pNode1->y, m_pNode2->y), maxY = std::fmax(m_pNode1->y, m_pNode2->y);
    if ((o1->x < minX && o2->x < minX) || (o1->x > maxX && o2->x > maxX) ||
        (o1->y < minY && o2->y < minY) || (o1->y > maxY && o2->y > maxY))
        return 0;
    double* s1[2] = {m_pNode1->GetVertex(), m_pNode2->GetVertex()};
    double* s2[2] = {o1->GetVertex(), o2->GetVertex()};
    return Intersection2D(s1, s2);
}

void CEdge::GetPerpendicular2D(CSNode& p)
{
    const double x1 = m_pNode1->x, y1 = m_pNode1->y;
    const double x2 = m_pNode2->x, y2 = m_pNode2->y;
    const double dx = x2 - x1, dy = y2 - y1;
    const double fy = 5.0 * std::fmax(std::fabs(y1), std::fabs(y2));
    const double fx = 5.0 * std::fmax(std::fabs(x1), std::fabs(x2));
    // The tolerances scale with the coordinates: an edge on an axis through
    // the origin needs the exact test, or its slope divides by zero.
    if (dy == 0.0 || IsEqualTol(dy, 0.0, fy)) {
        p.y = y1;
        return;
    }
    if (dx == 0.0 || IsEqualTol(dx, 0.0, fx)) {
        p.x = x1;
        return;
    }
    const double m = dy / dx;
    if (IsEqualTol(m, 0.0, std::fmax(fx, fy))) {
        p.y = y1 + dy / 2.0;
        return;
    }
    const double fx_ = (p.x / m + p.y - y1 + m * x1) / (1.0 / m + m);
    p.y = (p.x - fx_) / m + p.y;
    p.x = fx_;
}

CSNode* CEdge::GetPerpendicular2D(CSNode* p)
{
    const double x1 = m_pNode1->x, y1 = m_pNode1->y;
    const double x2 = m_pNode2->x, y2 = m_pNode2->y;
    const double dx = x2 - x1, dy = y2 - y1;
    const double sy = std::fmax(std::fmax(std::fabs(y1), std::fabs(y2)), std::fabs(dx));
    const double sx = std::fmax(std::fmax(std::fabs(x1), std::fabs(x2)), std::fabs(dy));
    double fx, fy;
    if (IsEqualTol(y2, y1, 1000.0 * sy)) {
        fx = p->x;
        fy = y1;
    } else if (IsEqualTol(x2, x1, 1000.0 * sx)) {
        fx = x1;
        fy = p->y;
    } else {
        const double s = std::fmax(sy, sx);
        const double m = dy / dx;
        if (IsEqualTol(m, 0.0, s)) {
            fx = p->x;
            fy = y1 + dy / 2.0;
        } else {
            fx = (p->x / m + p->y - y1 + m * x1) / (1.0 / m + m);
            fy = (p->x - fx) / m + p->y;
            if (IsEqualTol(fx, 0.0, 1e8 * s))
                fx = 0.0;
            if (IsEqualTol(fy, 0.0, 1e8 * s))
                fy = 0.0;
        }
    }
    return NewSubNode(fx, fy, 0.0, nullptr, 0);
}

bool CEdge::IsOnEdge2D(CSNode* p)
{
    if (p == m_pNode1 || p == m_pNode2 || m_pNode1->Compare(p, 1e7) || m_pNode2->Compare(p, 1e7))
        return true;
    CSNode* foot = GetPerpendicular2D(p);
    --CSNode::lIDnode; // the foot lives only for this test
    const bool on = std::fabs(foot->x - p->x) < 1e-6 && std::fabs(foot->y - p->y) < 1e-6 &&
                    foot->x >= std::fmin(m_pNode1->x, m_pNode2->x) &&
                    foot->x <= std::fmax(m_pNode1->x, m_pNode2->x) &&
                    foot->y >= std::fmin(m_pNode1->y, m_pNode2->y) &&
                    foot->y <= std::fmax(m_pNode1->y, m_pNode2->y);
    delete foot;
    return on;
}

// ------------------------------------------------------------ subdivision

CSNode* CEdge::NewSubNode(double x, double y, double z, CObject* graph, unsigned flags)
{
    return new CSNode(x, y, z, graph, flags);
}

void CEdge::RemoveSubNodeList()
{
    if (!m_pSubNodeList)
        return;
    for (POSITION pos = m_pSubNodeList->GetHeadPosition(); pos;) {
        CSNode* node = static_cast<CSNode*>(m_pSubNodeList->GetNext(pos));
        if (node->GetGraphCount() > 0)
            node->m_uiFlags &= ~8u;
        else
            delete node;
    }
    delete m_pSubNodeList;
    m_pSubNodeList = nullptr;
}

CObList* CEdge::FreshSubNodeList()
{
    RemoveSubNodeList();
    m_pSubNodeList = new CObList(10);
    return m_pSubNodeList;
}

void CEdge::AppendSubNode(double x, double y, double z)
{
    m_pSubNodeList->AddTail(NewSubNode(x, y, z, nullptr, 8));
}

CObList* CEdge::SubDivideSeg(int n, bool force)
{
    if (n <= 1) {
        RemoveSubNodeList();
        return nullptr;
    }
    if (!force && m_pSubNodeList && m_pSubNodeList->GetCount() == n - 1)
        return m_pSubNodeList;
    FreshSubNodeList();
    const double* p1 = m_pNode1->GetVertex();
    const double* p2 = m_pNode2->GetVertex();
    for (int i = 1; i < n; ++i) {
        const double f = static_cast<double>(i) / n;
        AppendSubNode(p1[0] + f * (p2[0] - p1[0]), p1[1] + f * (p2[1] - p1[1]),
                      p1[2] + f * (p2[2] - p1[2]));
    }
    return m_pSubNodeList;
}

CObList* CEdge::SubDivideLength(double h, bool force)
{
    int n = 0;
    if (h <= 0.0 || !PieceCount(GetLength() / h, n))
        return nullptr;
    return SubDivideSeg(n, force);
}

CObList* CEdge::SubDivide(CVector* steps)
{
    RemoveSubNodeList();
    if (!steps || steps->GetSize() == 0)
        return nullptr;
    FreshSubNodeList();
    const double* p1 = m_pNode1->GetVertex();
    const double* p2 = m_pNode2->GetVertex();
    double p[3] = {p1[0], p1[1], p1[2]};
    for (int i = 0; i < steps->GetSize(); ++i) {
        const double s = (*steps)[i];
        for (int k = 0; k < 3; ++k)
            p[k] += s * (p2[k] - p1[k]);
        AppendSubNode(p[0], p[1], p[2]);
    }
    return m_pSubNodeList;
}

CObList* CEdge::SubDivideLin(double ratio, int n)
{
    RemoveSubNodeList();
    if (n < 1)
        return nullptr;
    FreshSubNodeList();
    const double* p1 = m_pNode1->GetVertex();
    const double* p2 = m_pNode2->GetVertex();
    const double t0 = 2.0 / ((n + 1) * (ratio + 1.0));
    const double c = t0 * (ratio - 1.0) / n;
    double sum = 0.0;
    for (int k = 0; k < n; ++k) {
        sum += t0 + k * c;
        AppendSubNode(p1[0] + sum * (p2[0] - p1[0]), p1[1] + sum * (p2[1] - p1[1]),
                      p1[2] + sum * (p2[2] - p1[2]));
    }
    return m_pSubNodeList;
}

CObList* CEdge::SubDivideGeom(double ratio, int n)
{
    RemoveSubNodeList();
    if (n < 1)
        return nullptr;
    FreshSubNodeList();
    const double* p1 = m_pNode1->GetVertex();
    const double* p2 = m_pNode2->GetVertex();
    const double q = std::pow(ratio, 1.0 / n);
    const double s = q == 1.0 ? n + 1.0 : (std::pow(q, n + 1) - 1.0) / (q - 1.0);
    double step[3], p[3];
    for (int i = 0; i < 3; ++i) {
        step[i] = (p2[i] - p1[i]) / s;
        p[i] = p1[i];
    }
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < 3; ++i) {
            p[i] += step[i];
            step[i] *= q;
        }
        AppendSubNode(p[0], p[1], p[2]);
    }
    return m_pSubNodeList;
}

CObList* CEdge::SubDivide()
{
    double h1 = m_pNode1->GetSNodSpace();
    double h2 = m_pNode2->GetSNodSpace();
    if (iProgresjon == 2 || (h2 >= h1 * 0.9999 && h2 <= h1 * 1.0001))
        return SubDivideLength((h1 + h2) / 2.0, true);
    FreshSubNodeList();
    if (h1 == 0.0)
        h1 = h2;
    if (h2 == 0.0)
        h2 = h1;
    double* p1 = m_pNode1->GetVertex();
    double* p2 = m_pNode2->GetVertex();
    if (iProgresjon == 1)
        return SubDivideGeom(h1, p1, h2, p2);
    if (iProgresjon == 0)
        return SubDivideLin(h1, p1, h2, p2);
    return SubDivideMean(h1, p1, h2, p2);
}

CObList* CEdge::SubDivideLin(double h1, double* const p1, double h2, double* const p2)
{
    const double len = GetLength();
    int n = 0;
    if (!RoundedCount(2.0 * len / (h1 + h2) - 1.0, n) || n < 1)
        return m_pSubNodeList;
    const double r = h2 / h1;
    const double t0 = 2.0 / ((n + 1) * (r + 1.0));
    const double c = (r - 1.0) * t0 / n;
    double sum = 0.0;
    for (int k = 0; k < n; ++k) {
        sum += t0 + k * c;
        AppendSubNode(p1[0] + sum * (p2[0] - p1[0]), p1[1] + sum * (p2[1] - p1[1]),
                      p1[2] + sum * (p2[2] - p1[2]));
    }
    return m_pSubNodeList;
}

CObList* CEdge::SubDivideGeom(double h1, double* const p1, double h2, double* const p2)
{
    const double len = GetLength();
    const double r = h2 / h1;
    if (h1 >= len)
        h1 = 0.9999999 * len;
    if (h2 >= len)
        h2 = 0.9999999 * len;
    int n = 0;
    if (!PieceCount(std::floor(std::log(r) / std::log((len - h1) / (len - h2)) + 0.5), n) || n < 1)
        return m_pSubNodeList;
    const double q = std::pow(r, 1.0 / n);
    double step = (1.0 - q) / (1.0 - q * r);
    double sum = 0.0;
    for (int k = 0; k < n; ++k) {
        sum += step;
        step *= q;
        AppendSubNode(p1[0] + sum * (p2[0] - p1[0]), p1[1] + sum * (p2[1] - p1[1]),
                      p1[2] + sum * (p2[2] - p1[2]));
    }
    return m_pSubNodeList;
}

CObList* CEdge::SubDivideMean(double h1, double* const p1, double h2, double* const p2)
{
    const double len = GetLength();
    int n = 0;
    if (!RoundedCount(len / ((h1 + h2) / 2.0), n) || n < 2) {
        RemoveSubNodeList();
        return nullptr;
    }
    const double r = h2 / h1;
    const double s0 = 2.0 * len / n / (r + 1.0);
    const double inc = (r - 1.0) * s0 / (n - 1);
    double sum = 0.0;
    for (int k = 0; k < n - 1; ++k) {
        sum += s0 + k * inc;
        const double f = sum / len;
        AppendSubNode(p1[0] + f * (p2[0] - p1[0]), p1[1] + f * (p2[1] - p1[1]),
                      p1[2] + f * (p2[2] - p1[2]));
    }
    return m_pSubNodeList;
}

void CEdge::GLSubVertices() const
{
    if (m_pSubNodeList)
        for (POSITION pos = m_pSubNodeList->GetHeadPosition(); pos;)
            static_cast<CSNode*>(m_pSubNodeList->GetNext(pos))->GLVertex();
}

// ------------------------------------------------------------ splitting

CEdge* CEdge::NewEdge(CSNode* first, CSNode* second)
{
    CEdge* edge = static_cast<CEdge*>(GetRuntimeClass()->CreateObject());
    edge->m_pNode1 = first;
    edge->m_pNode2 = second;
    edge->Attach();
    return edge;
}

CEdge* CEdge::Copy(CSNode* first, CSNode* second)
{
    if (!first || !second || first == second)
        return nullptr;
    return NewEdge(first, second);
}

void CEdge::Split(CSNode* mid)
{
    NewEdge(m_pNode1, mid);
    NewEdge(mid, m_pNode2);
    delete this;
}

bool CEdge::Split(CSNode* mid, CEdge*& first, CEdge*& second, CObList* removed)
{
    first = CGraph::GetComEdge(m_pNode1, mid);
    if (!first)
        first = NewEdge(m_pNode1, mid);
    second = CGraph::GetComEdge(mid, m_pNode2);
    if (!second)
        second = NewEdge(mid, m_pNode2);
    if (CObList* graphs = m_pNode1->GetGraphList()) {
        // The list of the first node does not change while mid is inserted.
        for (POSITION pos = graphs->GetHeadPosition(); pos;) {
            CGraph* graph = static_cast<CGraph*>(graphs->GetNext(pos));
            if (graph->IsEdgeInGraph(this))
                graph->AddNode(m_pNode1, mid, m_pNode2);
        }
    }
    if (removed) {
        if (!removed->Find(this))
            removed->AddTail(this);
        Reset();
    } else {
        delete this;
    }
    return true;
}

void CEdge::Split(CObList*& created, int n)
{
    if (!created)
        created = new CObList(10);
    if (n <= 1)
        return;
    const double* p1 = m_pNode1->GetVertex();
    const double* p2 = m_pNode2->GetVertex();
    CSNode* previous = m_pNode1;
    for (int i = 1; i < n; ++i) {
        const double f = static_cast<double>(i) / n;
        CSNode* node = NewSubNode((1.0 - f) * p1[0] + f * p2[0], (1.0 - f) * p1[1] + f * p2[1],
                                  (1.0 - f) * p1[2] + f * p2[2], nullptr, 0);
        created->AddTail(node);
        NewEdge(previous, node);
        previous = node;
    }
    NewEdge(previous, m_pNode2);
    delete this;
}

void CEdge::SplitLength(CObList*& created, double h)
{
    const double k = GetLength() / h;
    int n = 1;
    if (!(k < 1.0) && !PieceCount(k, n))
        return;
    Split(created, k < 1.0 ? 1 : n);
}

// ------------------------------------------------------------ drawing

void CEdge::DrawGL(bool, CSNode* from)
{
    if (from && from != m_pNode1)
        return;
    glLoadName(m_ulID);
    glColor3fv(glcInvBckGrnd);
    glBegin(GL_LINES);
    m_pNode1->GLVertex();
    m_pNode2->GLVertex();
    glEnd();
}

void CEdge::GLLine(bool, CSNode* from)
{
    if (from && from != m_pNode1)
        return;
    m_pNode1->GLVertex();
    m_pNode2->GLVertex();
}

void CEdge::GLLine(double& dx, double& dy, double& dz, bool, CSNode* from)
{
    if (from && from != m_pNode1)
        return;
    for (const CSNode* n : {m_pNode1, m_pNode2}) {
        if (n->m_uiFlags & 64)
            glVertex3d(n->x + dx, n->y + dy, n->z + dz);
        else
            n->GLVertex();
    }
}

void CEdge::DrawEdgeNameGL()
{
    const std::string text = AfxFormat("%u", static_cast<unsigned>(m_ulID - 100000000u));
    glRasterPos3d((m_pNode1->x + m_pNode2->x) / 2.0, (m_pNode1->y + m_pNode2->y) / 2.0,
                  (m_pNode1->z + m_pNode2->z) / 2.0);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
}

void CEdge::DrawAxisGL(double)
{
}

void CEdge::GL_Draw(COGLDrawCommand*)
{
}

void CEdge::DrawDFX(CString layer, CFile* file)
{
    const std::string head = std::string("0\r\nLINE\r\n8\r\n") + layer.str() + "\r\n";
    file->Write(head.data(), static_cast<UINT>(head.size()));
    const std::string first = AfxFormat("10\r\n%lf\r\n20\r\n%lf\r\n30\r\n%lf\r\n", m_pNode1->x,
                                        m_pNode1->y, m_pNode1->z);
    file->Write(first.data(), static_cast<UINT>(first.size()));
    const std::string second = AfxFormat("11\r\n%lf\r\n21\r\n%lf\r\n31\r\n%lf\r\n", m_pNode2->x,
                                         m_pNode2->y, m_pNode2->z);
    file->Write(second.data(), static_cast<UINT>(second.size()));
}

// ------------------------------------------------------------ archive

void CEdge::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<const CObject*>(m_pNode1) << static_cast<const CObject*>(m_pNode2);
        return;
    }
    CSNode* first = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode));
    CSNode* second = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode));
    // An edge joins two nodes; no edge joins a node with itself.
    if (!first || !second || first == second)
        AfxThrowArchiveException(CArchiveException::badIndex);
    m_pNode1 = first;
    m_pNode2 = second;
    first->AddEdge(this);
    second->AddEdge(this);
}

// ------------------------------------------------------------ CNodeLink

CNodeLink::CNodeLink(CSNode* first, CSNode* second) : CEdge(first, second)
{
}

CNodeLink::~CNodeLink() = default;

void CNodeLink::Serialize(CArchive& ar)
{
    CEdge::Serialize(ar);
    if (ar.IsStoring())
        ar << static_cast<DWORD>(m_ulValue);
    else
        ar >> m_ulValue;
}

short CNodeLink::Intersection2D(CEdge*, CSNode*)
{
    return 0;
}

CEdge* CNodeLink::NewEdge(CSNode* first, CSNode* second)
{
    CNodeLink* link = new CNodeLink(first, second);
    link->m_ulValue = m_ulValue;
    return link;
}

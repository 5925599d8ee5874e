#include "geometry/geomtools.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "geometry/edge.h"
#include "glstyle/tincora.h"

bool IsEqualTol(double a, double b, double factor)
{
    const double e = factor * 2.220446049250313e-16;
    if (std::fabs(b) >= 1.0) {
        if (b > 0.0)
            return (1.0 - e) * b <= a && a <= (1.0 + e) * b;
        return (1.0 + e) * b < a && a < (1.0 - e) * b;
    }
    return b - e < a && a < b + e;
}

void CrossVect3d(const double* a, double* b)
{
    const double bx = b[0], by = b[1], bz = b[2];
    b[0] = a[1] * bz - a[2] * by;
    b[1] = a[2] * bx - a[0] * bz;
    b[2] = a[0] * by - a[1] * bx;
}

void CrossVect3dXYZ(double ax, double ay, double az, double* bx, double* by, double* bz)
{
    double b[3] = {*bx, *by, *bz};
    const double a[3] = {ax, ay, az};
    CrossVect3d(a, b);
    *bx = b[0];
    *by = b[1];
    *bz = b[2];
}

// ---------------------------------------------------------------- NODELIST

NODELIST::~NODELIST()
{
    delete[] m_pNodes;
}

NODELIST::NODELIST(const NODELIST& other)
{
    *this = other;
}

NODELIST& NODELIST::operator=(const NODELIST& other)
{
    if (this == &other)
        return *this;
    RemoveAll();
    if (other.m_nCount > 0) {
        Reserve(other.m_nCount);
        std::memcpy(m_pNodes, other.m_pNodes, sizeof(CSNode*) * static_cast<std::size_t>(other.m_nCount));
    }
    m_nCount = other.m_nCount > 0 ? other.m_nCount : 0;
    return *this;
}

void NODELIST::Reserve(int n)
{
    if (n <= m_nCapacity)
        return;
    // Every slot is kept: a caller filling the block directly may have
    // written entries beyond the count.
    CSNode** block = new CSNode*[static_cast<std::size_t>(n)]();
    if (m_nCapacity > 0)
        std::memcpy(block, m_pNodes, sizeof(CSNode*) * static_cast<std::size_t>(m_nCapacity));
    delete[] m_pNodes;
    m_pNodes = block;
    m_nCapacity = n;
}

long NODELIST::AddNode(CSNode* node)
{
    if (!node)
        return -1;
    const long at = Find(node);
    if (at >= 0)
        return at;
    if (m_nCount >= m_nCapacity)
        Reserve(m_nCapacity < 8 ? 8 : m_nCapacity * 2);
    m_pNodes[m_nCount++] = node;
    return m_nCount;
}

long NODELIST::AddNodes(CSNode* const* nodes, long n)
{
    if (!nodes || n <= 0)
        return 0;
    std::unordered_set<const CSNode*> present(m_pNodes, m_pNodes + m_nCount);
    const int before = m_nCount;
    for (long i = 0; i < n; ++i) {
        CSNode* node = nodes[i];
        if (!node || !present.insert(node).second)
            continue;
        if (m_nCount >= m_nCapacity)
            Reserve(m_nCapacity < 8 ? 8 : m_nCapacity * 2);
        m_pNodes[m_nCount++] = node;
    }
    return m_nCount - before;
}

long NODELIST::Find(CObject* node) const
{
    for (int i = 0; i < m_nCount; ++i)
        if (m_pNodes[i] == node)
            return i;
    return -1;
}

long NODELIST::RemoveNode(CObject* node)
{
    const long at = Find(node);
    if (at < 0)
        return -1;
    std::memmove(m_pNodes + at, m_pNodes + at + 1,
                 sizeof(CSNode*) * static_cast<std::size_t>(m_nCount - at - 1));
    --m_nCount;
    return at;
}

long NODELIST::RemoveNodes(const std::unordered_set<const CObject*>& nodes)
{
    if (nodes.empty())
        return 0;
    int kept = 0;
    for (int i = 0; i < m_nCount; ++i)
        if (!nodes.count(m_pNodes[i]))
            m_pNodes[kept++] = m_pNodes[i];
    const long removed = m_nCount - kept;
    m_nCount = kept;
    return removed;
}

void NODELIST::RemoveAll()
{
    delete[] m_pNodes;
    m_pNodes = nullptr;
    m_nCount = 0;
    m_nCapacity = 0;
}

void NODELIST::GetCommonNodes(CObject* graph, CObList& out) const
{
    for (int i = 0; i < m_nCount; ++i)
        if (m_pNodes[i]->IsGraphInList(graph) >= 0)
            out.AddTail(m_pNodes[i]);
}

void NODELIST::DrawNodesGL() const
{
    glBegin(GL_POINTS);
    for (int i = 0; i < m_nCount; ++i)
        m_pNodes[i]->GLVertex();
    glEnd();
}

void NODELIST::DrawOpNodesGL() const
{
    glBegin(GL_POINTS);
    for (int i = 0; i < m_nCount; ++i) {
        CObList* edges = m_pNodes[i]->GetEdgeList();
        if (!edges)
            continue;
        for (POSITION pos = edges->GetHeadPosition(); pos;) {
            CSNode* far = static_cast<CEdge*>(edges->GetNext(pos))->GetNode(m_pNodes[i]);
            if (far && Find(far) < 0)
                far->GLVertex();
        }
    }
    glEnd();
}

void NODELIST::DrawEdgesGL() const
{
    glBegin(GL_LINES);
    for (int i = 0; i < m_nCount; ++i)
        m_pNodes[i]->GLLines(false, true);
    glEnd();
}

// ---------------------------------------------------------- CInfoContainer

IMPLEMENT_SERIAL(CInfoContainer, CLongVector, 1)

CInfoContainer& CInfoContainer::operator=(const CInfoContainer& src)
{
    CLongVector::operator=(src);
    m_iMask = src.m_iMask;
    return *this;
}

// --------------------------------------------------------- COGLDrawCommand

IMPLEMENT_DYNAMIC(COGLDrawCommand, CObject)

COGLDrawCommand::COGLDrawCommand(int n) : m_uiPolyMode(GL_FILL)
{
    if (n > 0) {
        m_pScale = new double[static_cast<std::size_t>(n)];
        for (int i = 0; i < n; ++i)
            m_pScale[i] = 1.0;
        m_nScale = n;
    }
}

COGLDrawCommand::~COGLDrawCommand()
{
    delete[] m_pScale;
}

void COGLDrawCommand::FrontColor()
{
    glColor3fv(glcInvBckGrnd);
}

void COGLDrawCommand::Begin(unsigned mode)
{
    glBegin(mode);
    m_uiOpen = mode;
}

void COGLDrawCommand::End()
{
    glEnd();
    m_uiOpen = kNone;
}

void COGLDrawCommand::BeginIf(unsigned mode)
{
    if (mode == m_uiOpen)
        return;
    if (m_uiOpen != kNone)
        End();
    Begin(mode);
}

void COGLDrawCommand::EndIf()
{
    if (m_uiOpen != kNone)
        End();
}

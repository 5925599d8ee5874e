#include "femodel/boundary.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "glstyle/tincora.h"

IMPLEMENT_SERIAL(CBoundNode, CSNode, 1)
IMPLEMENT_SERIAL(CJointNode, CBoundNode, 1)
IMPLEMENT_SERIAL(CBoundary, CEdge, 1)
IMPLEMENT_SERIAL(CDOFLink, CNodeLink, 1)

double CBoundary::m_dDefaultVal = 1.0e12;

// ------------------------------------------------------------ chain operations shared by the owners

namespace {

CBoundCond* ChainGet(CBoundCond* head, int index)
{
    if (!head || index < 0)
        return index < 0 ? head : nullptr;
    return head->Jump(index);
}

void ChainSetStand(CBoundCond*& head, unsigned type, int index)
{
    if (!head)
        head = new CBoundCond;
    if (index < 0) {
        for (CBoundCond* bc = head; bc; bc = bc->GetNextBC()) {
            bc->Reset();
            bc->SetType(type);
        }
        return;
    }
    CBoundCond* bc = head->Grow(index);
    bc->Reset();
    bc->SetType(type);
}

void ChainSetBC(CBoundCond*& head, CBoundCond& src, int index)
{
    if (!head)
        head = src.newBC();
    if (index < 0) {
        *head = src;
        return;
    }
    CBoundCond* target = head->Grow(index);
    if (target == &src)
        return;
    CBoundCond* targetNext = target->SetNextBC(nullptr);
    CBoundCond* srcNext = src.SetNextBC(nullptr);
    *target = src;
    target->SetNextBC(targetNext);
    src.SetNextBC(srcNext);
}

void ChainClear(CBoundCond*& head, int index)
{
    if (index < 0) {
        delete head;
        head = nullptr;
        return;
    }
    CBoundCond* bc = ChainGet(head, index);
    if (!bc)
        return;
    if (bc->GetNextBC()) {
        bc->Reset();
        if (head->IsClear(true)) {
            delete head;
            head = nullptr;
        }
        return;
    }
    if (index == 0)
        head = nullptr;
    else
        head->CutList(index - 1);
    delete bc;
}

// A plain copy of the whole chain of cond (null for null).
CBoundCond* PlainCopy(CBoundCond* cond)
{
    if (!cond)
        return nullptr;
    auto* copy = new CBoundCond;
    *copy = *cond;
    return copy;
}

// A copy of the chain whose head has cond's run-time class.
CBoundCond* ClassCopy(CBoundCond* cond)
{
    if (!cond)
        return nullptr;
    CBoundCond* copy = cond->newBC();
    *copy = *cond;
    return copy;
}

double Dist2D(const CSNode* a, const CSNode* b)
{
    double ax, ay, az, bx, by, bz;
    a->GetVertex(ax, ay, az);
    b->GetVertex(bx, by, bz);
    return std::hypot(bx - ax, by - ay);
}

double Dist3D(const double a[3], const double b[3])
{
    return std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) +
                     (b[2] - a[2]) * (b[2] - a[2]));
}

// Stores or loads the condition chain and the load that a boundary node or
// edge owns; on loading, the old objects are released first.
template <class Load>
void SerializeCondAndLoad(CArchive& ar, CBoundCond*& bc, Load*& load, CRuntimeClass* loadClass)
{
    if (ar.IsStoring()) {
        ar << static_cast<const CObject*>(bc) << static_cast<const CObject*>(load);
        return;
    }
    delete bc;
    bc = nullptr;
    bc = ar.ReadObjectAs<CBoundCond>(RUNTIME_CLASS(CBoundCond), CArchive::useOwned);
    delete load;
    load = nullptr;
    load = ar.ReadObjectAs<Load>(loadClass, CArchive::useOwned);
}

} // namespace

// ------------------------------------------------------------ CBoundNode

CBoundNode::CBoundNode(double x, double y, double z, CObject* graph, unsigned flags)
    : CSNode(x, y, z, graph, flags)
{
}

CBoundNode::CBoundNode(CBoundCond* cond, double x, double y, double z, CObject* graph, unsigned flags)
    : CSNode(x, y, z, graph, flags), m_pBC(PlainCopy(cond))
{
}

CBoundNode::~CBoundNode()
{
    delete m_pBC;
    m_pBC = nullptr;
    delete m_pLoad;
    m_pLoad = nullptr;
}

void CBoundNode::Serialize(CArchive& ar)
{
    CSNode::Serialize(ar);
    SerializeCondAndLoad(ar, m_pBC, m_pLoad, RUNTIME_CLASS(CNodeLoad));
}

CSNode* CBoundNode::Copy(bool keepID)
{
    CSNode* copy = CSNode::Copy(keepID);
    if (auto* node = dynamic_cast<CBoundNode*>(copy)) {
        delete node->m_pBC;
        node->m_pBC = ClassCopy(m_pBC);
        if (m_pLoad)
            node->SetNodeLoad(*m_pLoad);
    }
    return copy;
}

void CBoundNode::DrawLoad(double* scales)
{
    if (m_pLoad)
        m_pLoad->Draw(this, scales);
}

CBoundCond* CBoundNode::GetBC(int index)
{
    return ChainGet(m_pBC, index);
}

CSNode* CBoundNode::NewNode(double x, double y, double z, CObject* graph, unsigned flags)
{
    return new CBoundNode(x, y, z, graph, flags);
}

void CBoundNode::SwitchLoads(CBoundNode* other)
{
    if (other)
        std::swap(m_pLoad, other->m_pLoad);
}

void CBoundNode::SwitchBCs(CBoundNode* other)
{
    if (other)
        std::swap(m_pBC, other->m_pBC);
}

void CBoundNode::SetNodeLoad(CNodeLoad* load)
{
    if (load == m_pLoad)
        return;
    delete m_pLoad;
    m_pLoad = load;
}

void CBoundNode::SetNodeLoad(CNodeLoad& load)
{
    if (&load == m_pLoad)
        return;
    if (!m_pLoad)
        m_pLoad = static_cast<CNodeLoad*>(load.GetRuntimeClass()->CreateObject());
    *m_pLoad = load;
}

void CBoundNode::AppendNodeLoad(CNodeLoad* load)
{
    if (!m_pLoad)
        m_pLoad = load;
    else
        m_pLoad->AppendNodeLoad(load);
}

void CBoundNode::AppendNodeLoad(CNodeLoad& load)
{
    if (!m_pLoad)
        SetNodeLoad(load);
    else
        m_pLoad->AppendNodeLoad(load);
}

void CBoundNode::AddCoupling(CCoupling* coupling)
{
    if (m_pBC)
        m_pBC->AddCoupling(coupling);
}

void CBoundNode::RemoveCoupl(CCoupling* coupling)
{
    if (m_pBC)
        m_pBC->RemoveCoupl(coupling);
}

void CBoundNode::ClearBC(int index)
{
    ChainClear(m_pBC, index);
}

void CBoundNode::SetStandBC(unsigned type, int index)
{
    ChainSetStand(m_pBC, type, index);
}

void CBoundNode::SetBC(CBoundCond& src, int index)
{
    ChainSetBC(m_pBC, src, index);
}

void CBoundNode::SetBC(CBoundCond* c, int index)
{
    if (index != 0)
        return;
    if (!c) {
        delete m_pBC;
        m_pBC = nullptr;
        return;
    }
    if (c == m_pBC)
        return;
    CBoundCond* followers = m_pBC ? m_pBC->SetNextBC(nullptr) : nullptr;
    delete m_pBC;
    m_pBC = c;
    if (followers) {
        delete c->SetNextBC(followers);
    }
}

void CBoundNode::SetAngle(double a, int index)
{
    if (!m_pBC)
        m_pBC = new CBoundCond;
    if (index < 0) {
        for (CBoundCond* bc = m_pBC; bc; bc = bc->GetNextBC())
            bc->SetAngle(a);
        return;
    }
    m_pBC->Grow(index)->SetAngle(a);
}

double CBoundNode::GetAngle(int index)
{
    CBoundCond* bc = ChainGet(m_pBC, std::max(index, 0));
    return bc ? bc->GetAngle() : 0.0;
}

// ------------------------------------------------------------ CJointNode

namespace {

void DeleteJointList(CObList*& list)
{
    if (!list)
        return;
    while (!list->IsEmpty())
        delete list->RemoveHead();
    delete list;
    list = nullptr;
}

} // namespace

CJointNode::~CJointNode()
{
    for (CObList*& list : m_pJoints)
        DeleteJointList(list);
}

void CJointNode::Serialize(CArchive& ar)
{
    CBoundNode::Serialize(ar);
}

void CJointNode::SecondarySerial(CArchive& ar)
{
    // A file that ends where this part would begin holds no joints; anything
    // else going wrong reaches the caller.
    if (ar.IsLoading() && ar.IsBufferEmpty())
        return;
    CSNode::SecondarySerial(ar);
    if (ar.IsStoring()) {
        for (CObList* list : m_pJoints)
            ar << static_cast<const CObject*>(list);
        return;
    }
    for (CObList*& list : m_pJoints) {
        DeleteJointList(list);
        // The node owns its joint lists and their entries.
        list = ar.ReadListObject([](CArchive& a) -> CObject* {
            CJointInfo* info = a.ReadObjectAs<CJointInfo>(RUNTIME_CLASS(CJointInfo), CArchive::useOwned);
            if (!info)
                AfxThrowArchiveException(CArchiveException::badClass);
            return info;
        });
    }
}

bool CJointNode::IsJoint()
{
    for (CObList* list : m_pJoints)
        if (list)
            for (POSITION p = list->GetHeadPosition(); p;) {
                auto* info = dynamic_cast<CJointInfo*>(list->GetNext(p));
                if (info && !info->m_List.IsEmpty())
                    return true;
            }
    return false;
}

bool CJointNode::RemoveEdge(CObject* edge)
{
    if (!CSNode::RemoveEdge(edge))
        return false;
    if (!IsJoint())
        return true;
    for (CObList*& list : m_pJoints) {
        if (!list)
            continue;
        for (POSITION p = list->GetHeadPosition(); p;) {
            const POSITION at = p;
            auto* info = dynamic_cast<CJointInfo*>(list->GetNext(p));
            if (!info)
                continue;
            while (POSITION e = info->m_List.Find(edge))
                info->m_List.RemoveAt(e);
            if (info->m_List.IsEmpty()) {
                list->RemoveAt(at);
                delete info;
            }
        }
        if (list->IsEmpty()) {
            delete list;
            list = nullptr;
        }
    }
    return true;
}

void CJointNode::DrawSelected()
{
    if (!IsJoint()) {
        CSNode::DrawSelected();
        return;
    }
    double c[3];
    GetVertex(c[0], c[1], c[2]);
    double p[3] = {1, 0, 0}, q[3] = {0, 1, 0}, r[3] = {0, 0, 1};
    glColor4d(0.8, 0.1, 0.1, 0.5);
    Draw3DSphere(c, p, q, r, CBoundCond3D::m_dBCSize);
}

// ------------------------------------------------------------ CBoundary

CBoundary::~CBoundary()
{
    delete m_pBC;
    m_pBC = nullptr;
    delete m_pLoad;
    m_pLoad = nullptr;
}

void CBoundary::Serialize(CArchive& ar)
{
    CEdge::Serialize(ar);
    SerializeCondAndLoad(ar, m_pBC, m_pLoad, RUNTIME_CLASS(CEdgeLoad));
}

CBoundCond* CBoundary::GetBC(int index)
{
    return ChainGet(m_pBC, index);
}

void CBoundary::ClearBC(int index)
{
    ChainClear(m_pBC, index);
}

void CBoundary::SetBC(unsigned type, int index)
{
    ChainSetStand(m_pBC, type, index);
}

void CBoundary::SetBC(CBoundCond& src, int index)
{
    ChainSetBC(m_pBC, src, index);
}

void CBoundary::SetLoad(CEdgeLoad* load)
{
    if (load == m_pLoad)
        return;
    delete m_pLoad;
    m_pLoad = load;
}

CSNode* CBoundary::NewSubNode(double x, double y, double z, CObject* graph, unsigned flags)
{
    auto* node = new CBoundNode(m_pBC, x, y, z, graph, flags);
    m_madeSubNodes.push_back(node);
    return node;
}

CEdgeLoad* CBoundary::RestrictedLoad(double t1, double t2, double tm) const
{
    double a, b, c, d, e, f;
    m_pLoad->GetABC(a, b, c);
    m_pLoad->GetDEF(d, e, f);
    auto* load = new CEdgeLoad;
    load->Allocate(6, true, 0.0);
    const double t[3] = {t1, t2, tm};
    for (int k = 0; k < 3; ++k) {
        (*load)[2 * k] = a + b * t[k] + c * t[k] * t[k];
        (*load)[2 * k + 1] = d + e * t[k] + f * t[k] * t[k];
    }
    load->SetElID(m_pLoad->GetElID());
    // Local values act along the piece's own normals: a piece running
    // against this edge (its node 2 nearer to this edge's node 1) has them
    // turned round.
    if (m_pLoad->IsLocal()) {
        load->SetLocal(true);
        if (t2 < t1)
            *load *= -1.0;
    }
    return load;
}

CEdge* CBoundary::NewEdge(CSNode* first, CSNode* second)
{
    CEdge* edge = CEdge::NewEdge(first, second);
    auto* part = dynamic_cast<CBoundary*>(edge);
    if (!part)
        return edge;
    if (m_pBC)
        part->SetBC(*m_pBC, -1);
    if (m_pLoad && m_pNode1 && m_pNode2) {
        // Parameters of the feet of the perpendiculars from the part's nodes.
        double x1, y1, z1, x2, y2, z2;
        m_pNode1->GetVertex(x1, y1, z1);
        m_pNode2->GetVertex(x2, y2, z2);
        const double dx = x2 - x1, dy = y2 - y1;
        const double l2 = dx * dx + dy * dy;
        const auto param = [&](CSNode* n) {
            double x, y, z;
            n->GetVertex(x, y, z);
            return l2 > 0.0 ? ((x - x1) * dx + (y - y1) * dy) / l2 : 0.0;
        };
        const double t1 = param(first), t2 = param(second);
        part->SetLoad(RestrictedLoad(t1, t2, 0.5 * (t1 + t2)));
    }
    return edge;
}

void CBoundary::CopyProperties(CObList& parts)
{
    const double len = m_pNode1 && m_pNode2 ? Dist2D(m_pNode1, m_pNode2) : 0.0;
    for (POSITION p = parts.GetHeadPosition(); p;) {
        auto* part = dynamic_cast<CBoundary*>(parts.GetNext(p));
        if (!part || part == this)
            continue;
        if (m_pBC)
            part->SetBC(*m_pBC, -1);
        if (!m_pLoad || len == 0.0 || !part->m_pNode1 || !part->m_pNode2)
            continue;
        double ax, ay, az, bx, by, bz;
        part->m_pNode1->GetVertex(ax, ay, az);
        part->m_pNode2->GetVertex(bx, by, bz);
        double ox, oy, oz;
        m_pNode1->GetVertex(ox, oy, oz);
        const double d1 = Dist2D(part->m_pNode1, m_pNode1);
        const double d2 = Dist2D(part->m_pNode2, m_pNode1);
        const double dm = std::hypot(0.5 * (ax + bx) - ox, 0.5 * (ay + by) - oy);
        part->SetLoad(RestrictedLoad(d1 / len, d2 / len, dm / len));
    }
}

void CBoundary::CopyProperties(CBoundary* source)
{
    if (!source || source == this)
        return;
    CObList parts;
    parts.AddTail(this);
    source->CopyProperties(parts);
}

void CBoundary::AlignConditions()
{
    if (!m_pBC)
        return;
    const double angle = GetCClWAngle();
    for (CBoundCond* bc = m_pBC; bc; bc = bc->GetNextBC())
        bc->SetAngle(angle);
}

template <class F>
CObList* CBoundary::Subdivided(F&& run)
{
    AlignConditions();
    m_madeSubNodes.clear();
    CObList* list = run();
    std::vector<CSNode*> made;
    made.swap(m_madeSubNodes);
    if (!list || list->IsEmpty() || !m_pBC || made.empty())
        return list;
    // Springs per unit length become nodal springs: each new sub-node takes
    // the length halfway to its neighbours along the edge.
    double prev[3];
    m_pNode1->GetVertex(prev[0], prev[1], prev[2]);
    for (POSITION p = list->GetHeadPosition(); p;) {
        auto* node = static_cast<CSNode*>(list->GetNext(p));
        double here[3], next[3];
        node->GetVertex(here[0], here[1], here[2]);
        if (p)
            static_cast<CSNode*>(list->GetAt(p))->GetVertex(next[0], next[1], next[2]);
        else
            m_pNode2->GetVertex(next[0], next[1], next[2]);
        const double length = 0.5 * (Dist3D(prev, here) + Dist3D(here, next));
        std::copy(here, here + 3, prev);
        if (std::find(made.begin(), made.end(), node) == made.end())
            continue;
        if (CBoundCond* bc = node->GetBC(0))
            bc->Multiply(length, -1, -1);
    }
    return list;
}

CObList* CBoundary::SubDivide()
{
    CObList* list = Subdivided([this] { return CEdge::SubDivide(); });
    return list && !list->IsEmpty() ? list : nullptr;
}

CObList* CBoundary::SubDivide(CVector* steps)
{
    return Subdivided([&] { return CEdge::SubDivide(steps); });
}

CObList* CBoundary::SubDivideGeom(double ratio, int n)
{
    return Subdivided([&] { return CEdge::SubDivideGeom(ratio, n); });
}

CObList* CBoundary::SubDivideLin(double ratio, int n)
{
    return Subdivided([&] { return CEdge::SubDivideLin(ratio, n); });
}

CObList* CBoundary::SubDivideSeg(int n, bool force)
{
    return Subdivided([&] { return CEdge::SubDivideSeg(n, force); });
}

CObList* CBoundary::SubDivideLength(double h, bool force)
{
    return Subdivided([&] { return CEdge::SubDivideLength(h, force); });
}

// ------------------------------------------------------------ CDOFLink

CDOFLink::~CDOFLink()
{
    delete m_pBC;
    m_pBC = nullptr;
}

void CDOFLink::Serialize(CArchive& ar)
{
    CNodeLink::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<const CObject*>(m_pBC);
        return;
    }
    delete m_pBC;
    m_pBC = nullptr;
    m_pBC = ar.ReadObjectAs<CBoundCond>(RUNTIME_CLASS(CBoundCond), CArchive::useOwned);
}

void CDOFLink::GLLine(bool, CSNode* from)
{
    if ((from && from != m_pNode1) || !m_pNode1 || !m_pNode2)
        return;
    double p1[3], p2[3];
    m_pNode1->GetVertex(p1[0], p1[1], p1[2]);
    m_pNode2->GetVertex(p2[0], p2[1], p2[2]);
    const double dx = 0.1 * (p2[0] - p1[0]), dy = 0.1 * (p2[1] - p1[1]), dz = 0.1 * (p2[2] - p1[2]);
    const double b1[3] = {p2[0] - dx - dy / 2, p2[1] - dy + dx / 2, p2[2] - dz};
    const double b2[3] = {p2[0] - dx + dy / 2, p2[1] - dy - dx / 2, p2[2] - dz};
    glVertex3dv(p1);
    glVertex3dv(p2);
    glVertex3dv(p2);
    glVertex3dv(b1);
    glVertex3dv(b1);
    glVertex3dv(b2);
    glVertex3dv(b2);
    glVertex3dv(p2);
}

CBoundCond* CDOFLink::GetBC(int index)
{
    return ChainGet(m_pBC, index);
}

void CDOFLink::ClearBC(int index)
{
    ChainClear(m_pBC, index);
}

void CDOFLink::SetBC(unsigned type, int index)
{
    ChainSetStand(m_pBC, type, index);
}

void CDOFLink::SetBC(CBoundCond& src, int index)
{
    ChainSetBC(m_pBC, src, index);
}

CEdge* CDOFLink::NewEdge(CSNode* first, CSNode* second)
{
    auto* link = new CDOFLink(first, second);
    link->m_ulValue = m_ulValue;
    if (m_pBC)
        link->SetBC(*m_pBC, -1);
    return link;
}

void CDOFLink::CopyProperties(CObList& links)
{
    if (!m_pBC)
        return;
    for (POSITION p = links.GetHeadPosition(); p;)
        if (auto* link = dynamic_cast<CDOFLink*>(links.GetNext(p)))
            if (link != this)
                link->SetBC(*m_pBC, -1);
}

#include "femodel/boundcond.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

#include "glstyle/tincora.h"
#include "matrix/zelkor.h"

IMPLEMENT_SERIAL(CBoundCond, CObject, 1)
IMPLEMENT_SERIAL(CBoundCond3D, CBoundCond, 1)
IMPLEMENT_SERIAL(CCoupling, CObject, 1)
IMPLEMENT_SERIAL(CLinCpl, CCoupling, 1)
IMPLEMENT_SERIAL(CJointInfo, CObject, 1)

WORD CBoundCond::m_SSLStpl = 0x11FF;
WORD CBoundCond::m_FiLStpl = 0x0FFF;
WORD CBoundCond::m_SyLStpl = 0x111F;
WORD CBoundCond::m_UDLStpl = 0x0F0F;
double CBoundCond3D::m_dBCSize = 0.0;

namespace {

int DofNumber(double v)
{
    return static_cast<int>(v);
}

// True when the vector lists `dof` as fixed: with a zero value when
// `prescribed` is false (a support), with a non-zero one when true.
bool HasFixedDof(const CVector* dofs, int dof, bool prescribed)
{
    if (!dofs)
        return false;
    const int n = dofs->GetSize() / 2;
    for (int i = 0; i < n; ++i)
        if (DofNumber((*dofs)[i]) == dof && ((*dofs)[n + i] != 0.0) == prescribed)
            return true;
    return false;
}

} // namespace

CBoundCond::~CBoundCond()
{
    delete m_pDOFVect;
    // The chain is deleted iteratively: long chains must not exhaust the stack.
    CBoundCond* next = m_pNext;
    m_pNext = nullptr;
    while (next) {
        CBoundCond* after = next->m_pNext;
        next->m_pNext = nullptr;
        delete next;
        next = after;
    }
    if (m_pCouplings) {
        CObList* list = m_pCouplings;
        m_pCouplings = nullptr;
        while (!list->IsEmpty())
            delete static_cast<CCoupling*>(list->RemoveHead());
        delete list;
    }
}

// ------------------------------------------------------------ archive

void CBoundCond::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dAngle << static_cast<DWORD>(m_uiType);
        ar << static_cast<const CObject*>(m_pDOFVect) << static_cast<const CObject*>(m_pNext);
        if (m_uiType & 0x300)
            ar << static_cast<const CObject*>(m_pCouplings);
        return;
    }
    DWORD type = 0;
    ar >> m_dAngle >> type;
    m_uiType = type;
    m_ulID = 0;
    // The condition owns its vector, the rest of its chain and its coupling
    // list; the couplings themselves are shared with the coupled node.
    delete m_pDOFVect;
    m_pDOFVect = nullptr;
    m_pDOFVect = ar.ReadObjectAs<CVector>(RUNTIME_CLASS(CVector), CArchive::useOwned);
    delete m_pNext;
    m_pNext = nullptr;
    m_pNext = ar.ReadObjectAs<CBoundCond>(RUNTIME_CLASS(CBoundCond), CArchive::useOwned);
    if (m_uiType & 0x300) {
        delete m_pCouplings;
        m_pCouplings = nullptr;
        m_pCouplings = ar.ReadListObject([](CArchive& a) -> CObject* {
            CCoupling* coupling = a.ReadObjectAs<CCoupling>(RUNTIME_CLASS(CCoupling));
            if (!coupling)
                AfxThrowArchiveException(CArchiveException::badClass);
            return coupling;
        });
    }
}

// ------------------------------------------------------------ DOF queries

int CBoundCond::Find(int dof) const
{
    if (!m_pDOFVect)
        return -1;
    const int n = m_pDOFVect->GetSize() / 2;
    for (int i = 0; i < n; ++i)
        if (std::abs(DofNumber((*m_pDOFVect)[i])) == dof)
            return i;
    return -1;
}

bool CBoundCond::IsGlobal(int)
{
    return m_dAngle == 0.0;
}

bool CBoundCond::IsFree(int dof)
{
    return Find(dof) < 0;
}

bool CBoundCond::IsSup(int dof)
{
    return HasFixedDof(m_pDOFVect, dof, false);
}

bool CBoundCond::IsSpring(int dof)
{
    if (!m_pDOFVect)
        return false;
    const int n = m_pDOFVect->GetSize() / 2;
    for (int i = 0; i < n; ++i)
        if (DofNumber((*m_pDOFVect)[i]) == -dof)
            return true;
    return false;
}

bool CBoundCond::IsPrescribed(int dof)
{
    return HasFixedDof(m_pDOFVect, dof, true);
}

void CBoundCond::RemoveDof(int dof)
{
    if (!m_pDOFVect)
        return;
    const CVector& v = *m_pDOFVect;
    const int n = v.GetSize() / 2;
    int kept = 0;
    for (int i = 0; i < n; ++i)
        if (std::abs(DofNumber(v[i])) != dof)
            ++kept;
    if (kept == n)
        return;
    CVector* out = new CVector(2 * kept);
    for (int i = 0, k = 0; i < n; ++i) {
        if (std::abs(DofNumber(v[i])) == dof)
            continue;
        (*out)[k] = v[i];
        (*out)[kept + k] = v[n + i];
        ++k;
    }
    delete m_pDOFVect;
    m_pDOFVect = out;
}

void CBoundCond::SetBC(CVector& v)
{
    if (!m_pDOFVect)
        m_pDOFVect = new CVector(v);
    else
        *m_pDOFVect = v;
}

void CBoundCond::SetBC(int dof, double value)
{
    if (!m_pDOFVect)
        m_pDOFVect = new CVector();
    const int at = Find(std::abs(dof));
    const int n = m_pDOFVect->GetSize() / 2;
    if (at >= 0) {
        (*m_pDOFVect)[at] = dof;
        (*m_pDOFVect)[n + at] = value;
        return;
    }
    CVector* out = new CVector(2 * n + 2);
    for (int i = 0; i < n; ++i) {
        (*out)[i] = (*m_pDOFVect)[i];
        (*out)[n + 1 + i] = (*m_pDOFVect)[n + i];
    }
    (*out)[n] = dof;
    (*out)[2 * n + 1] = value;
    delete m_pDOFVect;
    m_pDOFVect = out;
}

bool CBoundCond::GetTMat(CMatrix& t, int)
{
    if (m_dAngle == 0.0)
        return false;
    const double c = std::cos(m_dAngle);
    const double s = std::sin(m_dAngle);
    t.Allocate(2, 2, true, 0.0);
    t[0][0] = c;
    t[0][1] = -s;
    t[1][0] = s;
    t[1][1] = c;
    return true;
}

void CBoundCond::Multiply(double f, int type, int index)
{
    CBoundCond* bc = this;
    if (index > 0) {
        bc = Jump(index);
        index = 0;
    }
    for (; bc; bc = (index < 0 ? bc->m_pNext : nullptr)) {
        if (!bc->m_pDOFVect)
            continue;
        CVector& v = *bc->m_pDOFVect;
        const int n = v.GetSize() / 2;
        for (int i = 0; i < n; ++i) {
            const int d = DofNumber(v[i]);
            bool hit = false;
            switch (type) {
            case 1: hit = d > 0; break;
            case 2: hit = d >= 0; break;
            case -1: hit = d < 0; break;
            case -2: hit = d <= 0; break;
            case 0: hit = true; break;
            default: break;
            }
            if (hit)
                v[n + i] *= f;
        }
    }
}

// ------------------------------------------------------------ chain

CBoundCond* CBoundCond::Grow(int n)
{
    CBoundCond* bc = this;
    for (int i = 0; i < n; ++i) {
        if (!bc->m_pNext)
            bc->m_pNext = bc->newBC();
        bc = bc->m_pNext;
    }
    return bc;
}

CBoundCond* CBoundCond::Jump(int n)
{
    CBoundCond* bc = this;
    for (int i = 0; bc && i < n; ++i)
        bc = bc->m_pNext;
    return bc;
}

void CBoundCond::CutList(int n)
{
    if (CBoundCond* bc = Jump(n))
        bc->m_pNext = nullptr;
}

CBoundCond* CBoundCond::SetNextBC(CBoundCond* next)
{
    CBoundCond* old = m_pNext;
    m_pNext = next;
    return old;
}

CBoundCond* CBoundCond::newBC()
{
    return new CBoundCond;
}

bool CBoundCond::IsClear(bool wholeChain)
{
    for (CBoundCond* bc = this; bc; bc = wholeChain ? bc->m_pNext : nullptr) {
        if (bc->m_dAngle != 0.0 || bc->m_uiType != 0 || bc->m_ulID != 0)
            return false;
        if (bc->m_pDOFVect && bc->m_pDOFVect->GetSize() > 0 && bc->m_pDOFVect->InfNorm() != 0.0)
            return false;
    }
    return true;
}

void CBoundCond::SetID(long id)
{
    for (CBoundCond* bc = this; bc; bc = bc->m_pNext)
        bc->m_ulID = id;
}

void CBoundCond::Reset()
{
    m_dAngle = 0.0;
    m_uiType = 0;
    m_ulID = 0;
    delete m_pDOFVect;
    m_pDOFVect = nullptr;
}

// ------------------------------------------------------------ copy, compare, union

CBoundCond& CBoundCond::operator=(CBoundCond& src)
{
    CopyFrom(src);
    return *this;
}

bool CBoundCond::CopyFrom(CBoundCond& src)
{
    if (&src == this)
        return true;
    m_dAngle = src.m_dAngle;
    m_ulID = src.m_ulID;
    m_uiType = src.m_uiType;
    if (src.m_pDOFVect)
        SetBC(*src.m_pDOFVect);
    else {
        delete m_pDOFVect;
        m_pDOFVect = nullptr;
    }
    // The rest of the chain is copied into this chain's own conditions so
    // that the two chains never share a condition.
    if (src.m_pNext) {
        if (!m_pNext)
            m_pNext = newBC();
        m_pNext->CopyFrom(*src.m_pNext);
    } else if (m_pNext) {
        m_pNext->Reset();
    }
    if (m_pCouplings) {
        CObList* list = m_pCouplings;
        m_pCouplings = nullptr;
        while (!list->IsEmpty())
            delete static_cast<CCoupling*>(list->RemoveHead());
        delete list;
    }
    if (src.m_pCouplings) {
        for (POSITION p = src.m_pCouplings->GetHeadPosition(); p;) {
            auto* from = static_cast<CCoupling*>(src.m_pCouplings->GetNext(p));
            auto* made = static_cast<CCoupling*>(from->GetRuntimeClass()->CreateObject());
            if (!made)
                continue;
            if (!made->CopyFrom(*from))
                delete made;
        }
    }
    return true;
}

bool CBoundCond::operator==(CBoundCond& other)
{
    if (m_uiType != other.m_uiType)
        return false;
    if (!m_pDOFVect || !other.m_pDOFVect)
        return !m_pDOFVect && !other.m_pDOFVect;
    const CVector& a = *m_pDOFVect;
    const CVector& b = *other.m_pDOFVect;
    if (a.GetSize() != b.GetSize())
        return false;
    for (int i = 0; i < a.GetSize(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

CBoundCond* CBoundCond::operator+(CBoundCond& other)
{
    CBoundCond* sum = newBC();
    sum->m_uiType = m_uiType | other.m_uiType;
    if (!m_pDOFVect || !other.m_pDOFVect || *this == other) {
        if (m_pDOFVect)
            sum->SetBC(*m_pDOFVect);
        return sum;
    }
    const CVector& a = *m_pDOFVect;
    const CVector& b = *other.m_pDOFVect;
    const int na = a.GetSize() / 2;
    const int nb = b.GetSize() / 2;
    if (na > 0) {
        CVector left(a);
        sum->SetBC(left);
    }
    for (int j = 0; j < nb; ++j) {
        const int d = DofNumber(b[j]);
        int found = -1;
        for (int i = 0; i < na; ++i)
            if (DofNumber(a[i]) == d) {
                found = i;
                break;
            }
        if (found >= 0)
            (*sum->m_pDOFVect)[sum->m_pDOFVect->GetSize() / 2 + found] = 0.5 * (a[na + found] + b[nb + j]);
        else {
            // Appended behind the left operand's entries, keeping its sign.
            CVector& v = *sum->m_pDOFVect;
            const int n = v.GetSize() / 2;
            CVector* out = new CVector(2 * n + 2);
            for (int i = 0; i < n; ++i) {
                (*out)[i] = v[i];
                (*out)[n + 1 + i] = v[n + i];
            }
            (*out)[n] = b[j];
            (*out)[2 * n + 1] = b[nb + j];
            delete sum->m_pDOFVect;
            sum->m_pDOFVect = out;
        }
    }
    return sum;
}

// ------------------------------------------------------------ couplings

void CBoundCond::AddCoupling(CCoupling* coupling)
{
    if (!m_pCouplings)
        m_pCouplings = new CObList;
    if (!m_pCouplings->Find(coupling))
        m_pCouplings->AddTail(coupling);
    m_uiType |= 0x100;
}

void CBoundCond::RemoveCoupl(CCoupling* coupling)
{
    if (!m_pCouplings)
        return;
    while (POSITION p = m_pCouplings->Find(coupling))
        m_pCouplings->RemoveAt(p);
    if (m_pCouplings->IsEmpty()) {
        delete m_pCouplings;
        m_pCouplings = nullptr;
    }
}

// ------------------------------------------------------------ model data

void CBoundCond::DM_GetInfo(CInfoContainer& info, CSNode*)
{
    if (info.GetSize() < 9)
        return;
    if (m_uiType & 0x10) {
        if (!m_pDOFVect)
            return;
        const int n = m_pDOFVect->GetSize() / 2;
        for (int i = 0; i < n; ++i) {
            if ((*m_pDOFVect)[n + i] != 0.0)
                ++info[6];
            else
                ++info[5];
        }
        return;
    }
    if (m_uiType & 0x02)
        info[5] += 3;
    if (m_uiType & 0x01)
        info[5] += 1;
    if (m_uiType & 0x08)
        info[5] += 3;
}

// ------------------------------------------------------------ drawing

namespace {

// Colour and stipple of a drawn condition type; false for types not drawn.
bool TypeStyle(unsigned type, float rgb[3], WORD& stipple)
{
    switch (type) {
    case 1: rgb[0] = 1; rgb[1] = 0; rgb[2] = 0; stipple = CBoundCond::m_SSLStpl; return true;
    case 2: rgb[0] = 0; rgb[1] = 0; rgb[2] = 0; stipple = CBoundCond::m_FiLStpl; return true;
    case 4: rgb[0] = 0; rgb[1] = 0; rgb[2] = 1; stipple = CBoundCond::m_SyLStpl; return true;
    case 16: rgb[0] = 1; rgb[1] = 1; rgb[2] = 0; stipple = CBoundCond::m_UDLStpl; return true;
    default: return false;
    }
}

} // namespace

void CBoundCond::DrawNodeBC(CObject* object)
{
    auto* node = dynamic_cast<CSNode*>(object);
    float rgb[3];
    WORD stipple = 0;
    if (!node || !TypeStyle(m_uiType, rgb, stipple))
        return;
    glColor3f(rgb[0], rgb[1], rgb[2]);
    double x, y, z;
    node->GetVertex(x, y, z);
    glBegin(GL_POINTS);
    glVertex3d(x, y, z);
    glEnd();
}

void CBoundCond::DrawEdgeBC(CObject* object, double)
{
    auto* edge = dynamic_cast<CEdge*>(object);
    float rgb[3];
    WORD stipple = 0;
    if (!edge || !TypeStyle(m_uiType, rgb, stipple))
        return;
    glColor3f(rgb[0], rgb[1], rgb[2]);
    glLineStipple(1, stipple);
    glBegin(GL_LINES);
    edge->GLLine(false, nullptr);
    glEnd();
}

// ------------------------------------------------------------ CBoundCond3D

CBoundCond3D::~CBoundCond3D()
{
    delete[] m_pRot1;
    delete[] m_pRot2;
    delete m_pObjVect;
}

namespace {

double* SetRot(double*& block, double x, double y, double z)
{
    if (x == 0.0 && y == 0.0 && z == 0.0) {
        delete[] block;
        block = nullptr;
        return nullptr;
    }
    if (!block)
        block = new double[3];
    block[0] = x;
    block[1] = y;
    block[2] = z;
    return block;
}

void GetRot(const double* block, double& x, double& y, double& z)
{
    x = block ? block[0] : 0.0;
    y = block ? block[1] : 0.0;
    z = block ? block[2] : 0.0;
}

bool IsZeroRot(const double* block)
{
    return !block || (block[0] == 0.0 && block[1] == 0.0 && block[2] == 0.0);
}

void SerializeRot(CArchive& ar, double*& block)
{
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(block ? 1 : 0);
        if (block)
            ar << block[0] << block[1] << block[2];
        return;
    }
    DWORD present = 0;
    ar >> present;
    delete[] block;
    block = nullptr;
    if (present == 1) {
        double v[3];
        ar >> v[0] >> v[1] >> v[2];
        block = new double[3]{v[0], v[1], v[2]};
    }
}

} // namespace

double* CBoundCond3D::SetRot1(double x, double y, double z)
{
    return SetRot(m_pRot1, x, y, z);
}

double* CBoundCond3D::SetRot2(double x, double y, double z)
{
    return SetRot(m_pRot2, x, y, z);
}

void CBoundCond3D::GetRot1(double& x, double& y, double& z) const
{
    GetRot(m_pRot1, x, y, z);
}

void CBoundCond3D::GetRot2(double& x, double& y, double& z) const
{
    GetRot(m_pRot2, x, y, z);
}

int CBoundCond3D::SetRotParam(int p)
{
    const int old = m_iRotParam;
    if (p >= 0)
        m_iRotParam = p;
    return old;
}

bool CBoundCond3D::IsGlobal(int which)
{
    return IsZeroRot(which == 1 ? m_pRot1 : m_pRot2);
}

bool CBoundCond3D::GetTMat(CMatrix& t, int which)
{
    const double* rot = which == 1 ? m_pRot1 : m_pRot2;
    if (IsZeroRot(rot))
        return false;
    constexpr double kDeg = 0.017453292519943295;
    const double cx = std::cos(rot[0] * kDeg), sx = std::sin(rot[0] * kDeg);
    const double cy = std::cos(rot[1] * kDeg), sy = std::sin(rot[1] * kDeg);
    const double cz = std::cos(rot[2] * kDeg), sz = std::sin(rot[2] * kDeg);
    t.Allocate(3, 3, true, 0.0);
    t[0][0] = cy * cz;
    t[0][1] = cy * sz;
    t[0][2] = -sy;
    t[1][0] = sx * sy * cz - cx * sz;
    t[1][1] = sx * sy * sz + cx * cz;
    t[1][2] = sx * cy;
    t[2][0] = cx * sy * cz + sx * sz;
    t[2][1] = cx * sy * sz - sx * cz;
    t[2][2] = cx * cy;
    return true;
}

bool CBoundCond3D::CopyFrom(CBoundCond& src)
{
    if (&src == this)
        return true;
    CBoundCond::CopyFrom(src);
    auto* from = dynamic_cast<CBoundCond3D*>(&src);
    if (!from) {
        SetRot1(0, 0, 0);
        SetRot2(0, 0, 0);
        return true;
    }
    double x, y, z;
    from->GetRot1(x, y, z);
    SetRot1(x, y, z);
    from->GetRot2(x, y, z);
    SetRot2(x, y, z);
    m_iRotParam = from->m_iRotParam;
    return true;
}

void CBoundCond3D::DM_GetInfo(CInfoContainer& info, CSNode* node)
{
    CBoundCond::DM_GetInfo(info, node);
    if (m_iRotParam != 0 && info.GetSize() > 8)
        ++info[8];
}

CBoundCond* CBoundCond3D::newBC()
{
    return new CBoundCond3D;
}

void CBoundCond3D::Serialize(CArchive& ar)
{
    CBoundCond::Serialize(ar);
    SerializeRot(ar, m_pRot1);
    SerializeRot(ar, m_pRot2);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_iRotParam) << static_cast<const CObject*>(m_pObjVect);
        return;
    }
    LONG p = 0;
    ar >> p;
    m_iRotParam = p;
    delete m_pObjVect;
    m_pObjVect = nullptr;
    m_pObjVect = ar.ReadObjectAs<CObjVect>(RUNTIME_CLASS(CObjVect), CArchive::useOwned);
}

void CBoundCond3D::DrawNodeBC(CObject* object)
{
    auto* node = dynamic_cast<CSNode*>(object);
    if (!node || !m_pDOFVect || m_pDOFVect->GetSize() < 2)
        return;
    double pos[3];
    node->GetVertex(pos[0], pos[1], pos[2]);
    const CVector& v = *m_pDOFVect;
    const int n = v.GetSize() / 2;
    CMatrix t;
    // The axes of rotation set which (1 translations, 2 rotations), or the
    // global axes.
    auto axes = [&](int which) {
        if (!GetTMat(t, which)) {
            t.Allocate(3, 3, true, 0.0);
            t[0][0] = t[1][1] = t[2][2] = 1.0;
        }
    };
    axes(1);
    for (int i = 0; i < n; ++i) {
        const int d = DofNumber(v[i]);
        const int a = std::abs(d);
        if (a < 1 || a > 3)
            continue;
        if (d >= 0) {
            glColor3d(1.0, 0.1, 0.1);
            Draw3DDispSup(pos, t[0], m_dBCSize, d);
        } else {
            static const int kSecond[3] = {2, 0, 0};
            static const int kFirst[3] = {0, 1, 2};
            glColor3d(0.0, 0.0, 1.0);
            Draw2DDispSpring(pos, t[kFirst[a - 1]], t[kSecond[a - 1]], -2.0 * m_dBCSize);
        }
    }
    axes(2);
    for (int i = 0; i < n; ++i) {
        const int d = DofNumber(v[i]);
        const int a = std::abs(d);
        if (a < 4 || a > 6)
            continue;
        const int r = a - 4;
        if (d >= 0) {
            glColor3d(1.0, 1.0, 0.0);
            Draw3DRotSup(pos, t[r], t[(r + 1) % 3], t[(r + 2) % 3], m_dBCSize);
        } else {
            glColor3d(0.0, 0.0, 1.0);
            Draw2DRotSpring(pos, t[r], t[(r + 1) % 3], t[(r + 2) % 3], m_dBCSize);
        }
    }
}

// ------------------------------------------------------------ joints

void CJointInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        m_List.Serialize(ar);
        return;
    }
    ar.ReadListEntries(m_List, [](CArchive& a) -> CObject* {
        CEdge* edge = a.ReadObjectAs<CEdge>(RUNTIME_CLASS(CEdge));
        if (!edge)
            AfxThrowArchiveException(CArchiveException::badClass);
        return edge;
    });
}

// ------------------------------------------------------------ couplings

CCoupling::~CCoupling()
{
    CSNode* nodes[2] = {m_pNode2, m_pNode1};
    for (CSNode* node : nodes)
        if (node)
            for (int i = 0; CBoundCond* bc = node->GetBC(i); ++i)
                bc->RemoveCoupl(this);
}

void CCoupling::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<const CObject*>(m_pNode2) << static_cast<const CObject*>(m_pNode1);
        return;
    }
    m_pNode2 = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode));
    m_pNode1 = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode));
}

bool CCoupling::CopyFrom(CCoupling& src)
{
    CSNode* first = src.m_pNode1 ? src.m_pNode1->GetCopyNode() : nullptr;
    CSNode* second = src.m_pNode2 ? src.m_pNode2->GetCopyNode() : nullptr;
    if (!first || !second) {
        m_pNode1 = m_pNode2 = nullptr;
        return false;
    }
    m_pNode1 = first;
    m_pNode2 = second;
    if (CBoundCond* bc = first->GetBC(0))
        bc->AddCoupling(this);
    if (CBoundCond* bc = second->GetBC(0))
        bc->AddCoupling(this);
    return true;
}

void CLinCpl::Serialize(CArchive& ar)
{
    CCoupling::Serialize(ar);
    if (ar.IsStoring())
        ar << m_uiDof1 << m_uiDof2 << m_dFactor;
    else
        ar >> m_uiDof1 >> m_uiDof2 >> m_dFactor;
}

bool CLinCpl::CopyFrom(CCoupling& src)
{
    const bool ok = CCoupling::CopyFrom(src);
    if (auto* from = dynamic_cast<CLinCpl*>(&src)) {
        m_uiDof1 = from->m_uiDof1;
        m_uiDof2 = from->m_uiDof2;
        m_dFactor = from->m_dFactor;
    }
    return ok;
}

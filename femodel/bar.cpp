#include "femodel/bar.h"

#include "glstyle/tincora.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CCrSectElm, CObject, 1)
IMPLEMENT_SERIAL(CBarElm, CElement, 1)

void CCrSectElm::Serialize(CArchive&)
{
}

// ------------------------------------------------------------ life cycle

CBarElm::CBarElm() : m_Orient(3, true, 0.0)
{
    m_Orient[2] = 1.0;
}

CBarElm::CBarElm(CSNode* node1, CSNode* node2) : CBarElm()
{
    AppendNode(node1);
    AppendNode(node2);
}

CBarElm::~CBarElm()
{
    delete m_pEccent1;
    delete m_pEccent2;
}

CVector* CBarElm::GetEccent(int end) const
{
    return end == 1 ? m_pEccent1 : end == 2 ? m_pEccent2 : nullptr;
}

void CBarElm::SetEccent(int end, CVector* v)
{
    if (end != 1 && end != 2)
        return;
    CVector*& slot = end == 1 ? m_pEccent1 : m_pEccent2;
    if (slot != v)
        delete slot;
    slot = v;
}

// ------------------------------------------------------------ archive

void CBarElm::Serialize(CArchive& ar)
{
    CElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_pCrSect;
        return;
    }
    // The section that was referenced before belongs to someone else.
    m_pCrSect = nullptr;
    m_pCrSect = ar.ReadObject(nullptr);
}

CCrSectElm* CBarElm::GetCrSect() const
{
    return m_pCrSect && m_pCrSect->IsKindOf(RUNTIME_CLASS(CCrSectElm))
               ? static_cast<CCrSectElm*>(m_pCrSect)
               : nullptr;
}

// ------------------------------------------------------------ geometry

void CBarElm::DirVect(CVector& v)
{
    v.Allocate(3, true, 0.0);
    if (GetCount() < 2)
        return;
    const CSNode* a = GetNode(0);
    const CSNode* b = GetNode(1);
    const double d[3] = {b->x - a->x, b->y - a->y, b->z - a->z};
    for (int i = 0; i < 3; ++i) {
        v[i] = d[i];
        if (m_pEccent2 && i < m_pEccent2->GetSize())
            v[i] += (*m_pEccent2)[i];
        if (m_pEccent1 && i < m_pEccent1->GetSize())
            v[i] -= (*m_pEccent1)[i];
    }
}

double CBarElm::PhysicalSize()
{
    CVector v;
    DirVect(v);
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

bool CBarElm::UsesDof(int dof, int end)
{
    if (dof >= 1 && dof <= 3)
        return true;
    if (dof < 1)
        return false;
    // Rotations matter at an end only where an eccentricity couples them
    // to the translations.
    return GetEccent(end) != nullptr;
}

// ------------------------------------------------------------ picking

void CBarElm::PickDrawAddressGL(int flags)
{
    CSelectionNames& names = AfxGetSelectionNames();
    if (flags & 1) {
        glLoadName(names.NameOf(this));
        glBegin(GL_LINE_STRIP);
        for (POSITION pos = GetHeadPosition(); pos;)
            GetNextNode(pos)->GLVertex();
        glEnd();
    }
    if (flags & 2) {
        glPointSize(static_cast<GLfloat>(LARGE_POINT));
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNextNode(pos);
            if (!IsOwnNode(node))
                continue;
            glLoadName(names.NameOf(node));
            glBegin(GL_POINTS);
            node->GLVertex();
            glEnd();
        }
    }
}

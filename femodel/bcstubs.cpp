#include "femodel/boundary.h"
#include "femodel/modelinfo.h"

IMPLEMENT_DYNAMIC(CBoundCond, CObject)
IMPLEMENT_DYNAMIC(CBoundCond3D, CBoundCond)
IMPLEMENT_DYNAMIC(CLoad, CVector)
IMPLEMENT_DYNAMIC(CNodeLoad, CLoad)
IMPLEMENT_DYNAMIC(CEdgeLoad, CLoad)
IMPLEMENT_DYNAMIC(CBoundary, CEdge)
IMPLEMENT_DYNAMIC(CModelInfo, CObject)

CBoundCond::~CBoundCond()
{
    delete m_pDOFVect;
    delete m_pNext;
}

void CBoundCond::DM_GetInfo(CInfoContainer&)
{
}

CLoad::~CLoad()
{
    delete m_pNext;
}

void CLoad::GetMaxMin(double& max, double& min)
{
    for (int i = 0; i < GetSize(); ++i) {
        const double v = (*this)[i];
        if (max < min) {
            max = min = v;
            continue;
        }
        if (v > max)
            max = v;
        if (v < min)
            min = v;
    }
}

void CEdgeLoad::DrawGL(CEdge*, double, bool)
{
}

CBoundary::~CBoundary()
{
    delete m_pBC;
    delete m_pLoad;
}

CBoundCond* CBoundary::GetBC(int index)
{
    CBoundCond* bc = m_pBC;
    for (int i = 0; bc && i < index; ++i)
        bc = bc->m_pNext;
    return bc;
}

void CBoundary::CopyProperties(CBoundary*)
{
}

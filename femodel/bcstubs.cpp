#include "femodel/boundary.h"
#include "femodel/modelinfo.h"

IMPLEMENT_DYNAMIC(CBoundary, CEdge)
IMPLEMENT_DYNAMIC(CModelInfo, CObject)

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

#include "femodel/modelinfo.h"

IMPLEMENT_DYNAMIC(CModelInfo, CObject)

CModelInfo::CModelInfo()
{
    m_Info.Allocate(kInfoSize, true, 0);
}

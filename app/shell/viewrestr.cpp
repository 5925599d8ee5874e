#include "app/shell/viewrestr.h"

#include "femodel/boundary.h"
#include "framework/geomhlpr.h"

IMPLEMENT_DYNCREATE(CViewRestr, CBrantelView)

CViewRestr::CViewRestr()
{
    m_pGeomHlpr = new KorAreaGeomHlpr;
    m_pGeomHlpr->m_pEdgeClass = RUNTIME_CLASS(CBoundary);
}

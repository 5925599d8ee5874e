#include "app/shell/elemmodview.h"

#include "femodel/boundary.h"
#include "framework/geomhlpr.h"

IMPLEMENT_DYNCREATE(CElemModView, CBrantelView)

CElemModView::CElemModView()
{
    m_pGeomHlpr = new KorElmGeomHlpr;
    m_pGeomHlpr->m_pEdgeClass = RUNTIME_CLASS(CBoundary);
}

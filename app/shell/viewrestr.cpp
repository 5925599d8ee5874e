#include "app/shell/viewrestr.h"

#include <cstdlib>

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
#include "app/shell/mainframe.h"
#include "femodel/boundary.h"
#include "framework/geomhlpr.h"
#include "framework/korselection.h"

IMPLEMENT_DYNCREATE(CViewRestr, CBrantelView)

BEGIN_MESSAGE_MAP(CViewRestr, CBrantelView)
ON_UPDATE_COMMAND_UI(ID_RESULT_COMPONENT, OnUpdateResultComponent)
END_MESSAGE_MAP()

CViewRestr::CViewRestr()
{
    m_pGeomHlpr = new KorAreaGeomHlpr;
    m_pGeomHlpr->m_pEdgeClass = RUNTIME_CLASS(CBoundary);
}

bool CViewRestr::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    // The framework opens its band (drawn while the pointer drags); the
    // press itself is kept here.
    ApplyShiftConstraint(flags, x, y);
    const bool handled = CBrantelView::LeftButtonDown(flags, x, y, point);
    if (m_iTool == VIEWTOOL_POINT) {
        BeginPress(point);
        Invalidate(TRUE);
        return true;
    }
    if (m_iTool != VIEWTOOL_PAN)
        m_PressPoint = point;
    return handled;
}

void CViewRestr::LeftButtonUp(unsigned flags, double x, double y, CPoint point)
{
    const CPoint press = GetPressPoint();
    const bool held = EndPress(point);
    m_bBandOpen = false;
    if (held && m_iTool == VIEWTOOL_POINT && m_pGeomHlpr) {
        const bool keep = (flags & MK_CONTROL) != 0;
        if (!keep)
            m_pGeomHlpr->RemoveSelected(nullptr);
        const auto add = [this](CObject* ob, UINT type) { m_pGeomHlpr->AddSelect(ob, type, true); };
        if (std::abs(point.x - press.x) < 6 && std::abs(point.y - press.y) < 6)
            korsel::PickClick(*this, m_pGeomHlpr, m_uiSelectFilter,
                              CPoint((press.x + point.x) / 2, (press.y + point.y) / 2), add);
        else
            // The band keeps to the selected kind when the selection is kept.
            korsel::PickBand(*this, m_pGeomHlpr, m_uiSelectFilter, press, point,
                             keep ? MK_SHIFT : 0u, add);
        Invalidate(TRUE);
    }
    Kor2DView::LeftButtonUp(flags, x, y, point);
}

void CViewRestr::LeftButtonDblClk(unsigned flags, double x, double y, CPoint point)
{
    CObject* hit = ObjectOfName(PickObject(point.x, point.y, m_uiSelectFilter, 10.0f, 0xFFFFFFFF, 0, nullptr));
    if (CBrantelDoc* doc = GetBrantelDoc(); doc && hit)
        doc->EditObject(hit);
    CBrantelView::LeftButtonDblClk(flags, x, y, point);
}

void CViewRestr::EditObject()
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    if (!doc || !comp || !m_pGeomHlpr)
        return;
    CObList* nodes = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kNodes);
    CObList* edges = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kEdges);
    CObList* areas = m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kAreas);
    if (nodes && !nodes->IsEmpty()) {
        auto* node = nodes->GetCount() == 1 ? dynamic_cast<CSNode*>(nodes->GetHead()) : nullptr;
        if (node)
            ShowNodeInfo(node, comp->GetElementType());
        return;
    }
    if (edges && !edges->IsEmpty()) {
        if (edges->GetCount() > 1)
            doc->EditEdgeInfo(edges);
        else if (auto* edge = dynamic_cast<CBoundary*>(edges->GetHead()))
            doc->EditEdgeInfo(edge);
        return;
    }
    if (areas && areas->GetCount() == 1)
        if (auto* element = dynamic_cast<CElement*>(areas->GetHead()))
            ShowElementInfo(element);
}

void CViewRestr::OnUpdateResultComponent(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

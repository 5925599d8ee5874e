// Kor3DModView: picking into the selection on the 3D filter, the edit
// feedback and the saved tool and edit mode.
#include "framework/kor3dmodview.h"

#include <cstdlib>

#include "framework/geomhlpr.h"
#include "framework/kor2dview.h"
#include "framework/korselection.h"

UINT Kor3DModView::m_uiSelectFilter = 7;
UINT Kor3DModView::m_uiLastGeomTool = 22;

IMPLEMENT_DYNAMIC(Kor3DModView, Kor3DView)

BEGIN_MESSAGE_MAP(Kor3DModView, Kor3DView)
ON_CONTROL(1, 50008, OnSelectFilter)
ON_COMMAND(ID_KOR_VIEW_SNAP, OnViewSnap)
ON_UPDATE_COMMAND_UI(ID_KOR_VIEW_SNAP, OnUpdateViewSnap)
END_MESSAGE_MAP()

Kor3DModView::Kor3DModView()
{
    --CSNode::lIDnode; // the cursor is no model node
}

Kor3DModView::~Kor3DModView()
{
    delete m_pGeomHlpr;
    m_pGeomHlpr = nullptr;
}

void Kor3DModView::RemoveSelected(CObject* object)
{
    if (m_pGeomHlpr)
        m_pGeomHlpr->RemoveSelected(object);
}

bool Kor3DModView::AddSelect(CObject* object, UINT type, bool clear)
{
    return m_pGeomHlpr && m_pGeomHlpr->AddSelect(object, type, clear);
}

int Kor3DModView::SetViewParam(double* params, bool get)
{
    const int k = Kor3DView::SetViewParam(params, get);
    if (get) {
        params[k] = static_cast<double>(m_uiGeomTool);
        params[k + 1] = static_cast<double>(m_uiEditMode);
    } else {
        m_uiGeomTool = static_cast<UINT>(params[k]);
        m_uiEditMode = static_cast<UINT>(params[k + 1]);
    }
    return k + 2;
}

bool Kor3DModView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    bool answer = Kor3DView::LeftButtonDown(flags, x, y, point);
    if (m_iTool == VIEWTOOL_POINT) {
        m_BandStart = point;
        m_bBandOpen = true;
        answer = true;
    }
    return answer;
}

void Kor3DModView::LeftButtonUp(unsigned flags, double x, double y, CPoint point)
{
    if (m_pGeomHlpr && m_iTool == VIEWTOOL_POINT && m_bBandOpen) {
        if (!(flags & MK_SHIFT))
            m_pGeomHlpr->RemoveSelected(nullptr);
        m_bBandOpen = false;
        const auto add = [this](CObject* ob, UINT type) { AddSelect(ob, type, true); };
        if (std::abs(point.x - m_BandStart.x) < 6 && std::abs(point.y - m_BandStart.y) < 6)
            korsel::PickClick(*this, m_pGeomHlpr, m_uiSelectFilter,
                              CPoint((m_BandStart.x + point.x) / 2, (m_BandStart.y + point.y) / 2), add);
        else
            korsel::PickBand(*this, m_pGeomHlpr, m_uiSelectFilter, m_BandStart, point, flags, add);
        m_BandStart = point;
        Invalidate(TRUE);
    }
    COGL2DView::LeftButtonUp(flags, x, y, point);
}

bool Kor3DModView::DrawDynamicScene()
{
    korsel::DrawEditFeedback(*this, m_pGeomHlpr, m_Cursor, m_uiGeomTool, m_uiEditMode,
                             [this](int which) { return GetRefNode(which); },
                             [this] { return GetMoveList(); });
    if (m_iTool == VIEWTOOL_POINT && m_bBandOpen && !m_pZoomRectNode)
        korsel::DrawBand(*this, m_BandStart);
    return Kor3DView::DrawDynamicScene();
}

void Kor3DModView::OnSelectFilter()
{
    auto* combo = dynamic_cast<CComboBox*>(CCmdTarget::GetNotifySender());
    if (combo)
        m_uiSelectFilter = korsel::FilterOfEntry(combo->GetCurSel());
}

void Kor3DModView::OnViewSnap()
{
    m_bSnapOn = !m_bSnapOn;
}

void Kor3DModView::OnUpdateViewSnap(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bSnapOn);
}

// Kor2DModView: picking into the selection, cursor snapping, the points of
// the drawing tools, the rubber lines and the rotation of the model.
#include "framework/kor2dmodview.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "framework/geomhlpr.h"
#include "framework/inputdialogs.h"
#include "framework/kordoc.h"
#include "framework/korselection.h"
#include "geometry/edge.h"
#include "geometry/graph.h"
#include "glstyle/drawing_settings.h"
#include "platform/afx/selection.h"
#include "sections/regions/sectarea.h"

UINT Kor2DModView::m_uiSelectFilter = 7;
UINT Kor2DModView::m_uiLastGeomTool = 22;

IMPLEMENT_DYNAMIC(Kor2DModView, Kor2DView)
IMPLEMENT_DYNAMIC(KorAreaModView, Kor2DModView)

BEGIN_MESSAGE_MAP(Kor2DModView, Kor2DView)
ON_CONTROL(1, 50008, OnSelectFilter)
ON_COMMAND(ID_KOR_ROTATE_ALL, OnRotateAll)
END_MESSAGE_MAP()

namespace
{

// Radians of an angle in degrees brought into (-360, 360); the quarter
// turns and the eighth are exact.
double Radians(double degrees)
{
    if (degrees == 90.0)
        return M_PI / 2.0;
    if (degrees == 45.0)
        return M_PI / 4.0;
    if (degrees == 180.0)
        return M_PI;
    if (degrees == 270.0)
        return 3.0 * M_PI / 2.0;
    return degrees * 0.017453292519943295;
}

} // namespace

Kor2DModView::Kor2DModView()
{
    --CSNode::lIDnode; // the cursor is no model node
}

Kor2DModView::~Kor2DModView()
{
    delete m_pGeomHlpr;
    m_pGeomHlpr = nullptr;
}

void Kor2DModView::RemoveSelected(CObject* object)
{
    if (m_pGeomHlpr)
        m_pGeomHlpr->RemoveSelected(object);
}

void Kor2DModView::GetLastCoord(double& x, double& y)
{
    x = m_dLastCoord[0];
    y = m_dLastCoord[1];
}

void Kor2DModView::GetLastCoord(double* out)
{
    out[0] = m_dLastCoord[0];
    out[1] = m_dLastCoord[1];
}

bool Kor2DModView::AddSelect(CObject* object, UINT type, bool clear)
{
    return m_pGeomHlpr && m_pGeomHlpr->AddSelect(object, type, clear);
}

CObject* Kor2DModView::ObjectOfName(DWORD name)
{
    return name ? AfxGetSelectionNames().ObjectOf(name) : nullptr;
}

// ------------------------------------------------------------ mouse

bool Kor2DModView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    KorDoc* doc = dynamic_cast<KorDoc*>(GetDocument());
    if (doc)
        doc->UpdateStatics(true);
    bool answer = Kor2DView::LeftButtonDown(flags, x, y, point);
    if (m_iTool == VIEWTOOL_POINT) {
        m_BandStart = point;
        m_bBandOpen = true;
        answer = true;
    } else if (m_iTool != VIEWTOOL_PAN && m_iTool != VIEWTOOL_ZOOMRECT) {
        const double px = m_Cursor.m_uiFlags ? m_Cursor.x : x;
        const double py = m_Cursor.m_uiFlags ? m_Cursor.y : y;
        CSNode* anchor = GetRefNode(0);
        if ((anchor && m_uiEditMode == 8) || (!anchor && m_uiEditMode != 0)) {
            auto* node = new CSNode(px, py, 0.0, nullptr, 0);
            --CSNode::lIDnode; // a point takes no identifier until it is used
            NewTmpNode(anchor != nullptr, node);
            EditTool();
            answer = true;
        }
    }
    if (doc)
        doc->UpdateStatics(false);
    return answer;
}

void Kor2DModView::LeftButtonUp(unsigned flags, double x, double y, CPoint point)
{
    if (m_pGeomHlpr && m_iTool == VIEWTOOL_POINT && m_bBandOpen) {
        if (!(flags & MK_SHIFT))
            m_pGeomHlpr->RemoveSelected(nullptr);
        m_bBandOpen = false;
        if (std::abs(point.x - m_BandStart.x) < 6 && std::abs(point.y - m_BandStart.y) < 6)
            PickClick(CPoint((m_BandStart.x + point.x) / 2, (m_BandStart.y + point.y) / 2));
        else
            PickBand(m_BandStart, point, flags);
        m_BandStart = point;
        Invalidate(TRUE);
    }
    Kor2DView::LeftButtonUp(flags, x, y, point);
}

void Kor2DModView::PickClick(CPoint at)
{
    korsel::PickClick(*this, m_pGeomHlpr, m_uiSelectFilter, at, [this](CObject* ob, UINT type) {
        m_pGeomHlpr->AddSelect(ob, type, true);
    });
}

void Kor2DModView::PickBand(CPoint from, CPoint to, UINT flags)
{
    korsel::PickBand(*this, m_pGeomHlpr, m_uiSelectFilter, from, to, flags,
                     [this](CObject* ob, UINT type) { m_pGeomHlpr->AddSelect(ob, type, true); });
}

bool Kor2DModView::IsMouseOver(CSNode* cursor)
{
    double sx = cursor->x, sy = cursor->y;
    GetScreenCoord(sx, sy);
    const int px = static_cast<int>(std::lround(sx)), py = static_cast<int>(std::lround(sy));
    if (m_uiGeomTool || (m_uiSelectFilter & KorBasisGeomHlpr::kNodes)) {
        CObject* hit = ObjectOfName(PickObject(px, py, KorBasisGeomHlpr::kNodes, 10.0f, 0xFFFFFFFF, 0, nullptr));
        if (korsel::TypeOf(hit) == KorBasisGeomHlpr::kNodes) {
            const CSNode* node = static_cast<CSNode*>(hit);
            cursor->x = node->x;
            cursor->y = node->y;
            cursor->z = 0.0;
            cursor->m_uiFlags = 1;
            return true;
        }
    }
    if (m_uiGeomTool || (m_uiSelectFilter & KorBasisGeomHlpr::kEdges)) {
        CObject* hit = ObjectOfName(PickObject(px, py, KorBasisGeomHlpr::kEdges, 10.0f, 0xFFFFFFFF, 0, nullptr));
        if (korsel::TypeOf(hit) == KorBasisGeomHlpr::kEdges) {
            static_cast<CEdge*>(hit)->GetPerpendicular2D(*cursor);
            cursor->z = 0.0;
            cursor->m_uiFlags = 2;
            return true;
        }
    }
    cursor->m_uiFlags = 0;
    return false;
}

// ------------------------------------------------------------ drawing

bool Kor2DModView::DrawDynamicScene()
{
    korsel::DrawEditFeedback(*this, m_pGeomHlpr, m_Cursor, m_uiGeomTool, m_uiEditMode,
                             [this](int which) { return GetRefNode(which); },
                             [this] { return GetMoveList(); });
    if (m_iTool == VIEWTOOL_POINT && m_bBandOpen && !m_pZoomRectNode)
        korsel::DrawBand(*this, m_BandStart);
    return Kor2DView::DrawDynamicScene();
}

// ------------------------------------------------------------ commands

void Kor2DModView::OnSelectFilter()
{
    auto* combo = dynamic_cast<CComboBox*>(CCmdTarget::GetNotifySender());
    if (!combo)
        return;
    m_uiSelectFilter = korsel::FilterOfEntry(combo->GetCurSel());
}

void Kor2DModView::OnRotateAll()
{
    const double f = LengthFactor();
    KorDlgRotate dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    KorDoc* doc = dynamic_cast<KorDoc*>(GetDocument());
    if (!doc || doc->IsEmpty())
        return;
    // Into (-360, 360) in one step: a huge angle must not loop for ever.
    const double angle = std::isfinite(dlg.m_dAngle) ? std::fmod(dlg.m_dAngle, 360.0) : 0.0;
    if (angle == 0.0)
        return;
    doc->UpdateUndo(true);
    doc->Rotate(Radians(angle), dlg.m_dCentreX / f, dlg.m_dCentreY / f, 2, true);
    doc->SetModifiedFlag();
    doc->UpdateAllViews(nullptr);
}

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

// The selection type of an object by its class: 2 node, 4 edge, 1 graph.
UINT TypeOf(CObject* ob)
{
    if (!ob)
        return 0;
    if (ob->IsKindOf(RUNTIME_CLASS(CSNode)))
        return KorBasisGeomHlpr::kNodes;
    if (ob->IsKindOf(RUNTIME_CLASS(CEdge)))
        return KorBasisGeomHlpr::kEdges;
    if (ob->IsKindOf(RUNTIME_CLASS(CGraph)))
        return KorBasisGeomHlpr::kAreas;
    return 0;
}

// The type of the selection the helper holds: nodes, else edges, else
// areas; 0 when nothing is selected.
UINT SelectedType(KorBasisGeomHlpr* helper)
{
    for (UINT type : {KorBasisGeomHlpr::kNodes, KorBasisGeomHlpr::kEdges, KorBasisGeomHlpr::kAreas})
        if (helper->GetSelList(static_cast<int>(type)))
            return type;
    return 0;
}

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
    std::vector<UINT> order;
    if (const UINT held = SelectedType(m_pGeomHlpr))
        order.push_back(held);
    else
        for (UINT type : {KorBasisGeomHlpr::kNodes, KorBasisGeomHlpr::kEdges, KorBasisGeomHlpr::kAreas})
            if (m_uiSelectFilter & type)
                order.push_back(type);
    for (UINT type : order) {
        CObject* hit = ObjectOfName(PickObject(at.x, at.y, type, 10.0f, 0xFFFFFFFF, 0, nullptr));
        if (const UINT kind = TypeOf(hit)) {
            m_pGeomHlpr->AddSelect(hit, kind, true);
            return;
        }
    }
}

void Kor2DModView::PickBand(CPoint from, CPoint to, UINT flags)
{
    UINT types = m_uiSelectFilter;
    if (types == 7 && (flags & MK_SHIFT))
        if (const UINT held = SelectedType(m_pGeomHlpr))
            types = held;
    const CPoint centre((from.x + to.x) / 2, (from.y + to.y) / 2);
    // A flat band still picks along its line.
    const float w = std::max(1.0f, static_cast<float>(std::abs(to.x - from.x)));
    const float h = std::max(1.0f, static_cast<float>(std::abs(to.y - from.y)));
    unsigned* names = nullptr;
    int count = 0;
    PickObject(centre, types, w, h, names, count);
    std::vector<CObject*> hits;
    UINT kinds = 0;
    for (int i = 0; i < count; ++i) {
        CObject* hit = ObjectOfName(names[i]);
        if (const UINT kind = TypeOf(hit)) {
            hits.push_back(hit);
            kinds |= kind;
        }
    }
    delete[] names;
    const UINT type = (kinds & KorBasisGeomHlpr::kNodes)   ? KorBasisGeomHlpr::kNodes
                      : (kinds & KorBasisGeomHlpr::kEdges) ? KorBasisGeomHlpr::kEdges
                                                           : KorBasisGeomHlpr::kAreas;
    for (CObject* hit : hits)
        if (TypeOf(hit) == type)
            m_pGeomHlpr->AddSelect(hit, type, true);
}

bool Kor2DModView::IsMouseOver(CSNode* cursor)
{
    double sx = cursor->x, sy = cursor->y;
    GetScreenCoord(sx, sy);
    const int px = static_cast<int>(std::lround(sx)), py = static_cast<int>(std::lround(sy));
    if (m_uiGeomTool || (m_uiSelectFilter & KorBasisGeomHlpr::kNodes)) {
        CObject* hit = ObjectOfName(PickObject(px, py, KorBasisGeomHlpr::kNodes, 10.0f, 0xFFFFFFFF, 0, nullptr));
        if (TypeOf(hit) == KorBasisGeomHlpr::kNodes) {
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
        if (TypeOf(hit) == KorBasisGeomHlpr::kEdges) {
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
    if (m_pGeomHlpr)
        m_pGeomHlpr->DrawSelected();
    if (m_Cursor.m_uiFlags && (m_uiGeomTool || m_uiEditMode || m_iTool)) {
        if (m_Cursor.m_uiFlags == 1) {
            m_Cursor.DrawNodeGL(static_cast<float>(LARGE_POINT), 1.0f, 0.0f, 0.0f);
            m_Cursor.DrawNodeGL(static_cast<float>(MEDIUM_S_POINT), glcInvBckGrnd[0], glcInvBckGrnd[1],
                                glcInvBckGrnd[2]);
        } else {
            m_Cursor.DrawNodeGL(static_cast<float>(LARGE_POINT), glcInvBckGrnd[0], glcInvBckGrnd[1],
                                glcInvBckGrnd[2]);
        }
    }
    if (m_uiEditMode) {
        CSNode* anchor = GetRefNode(0);
        if (!anchor && m_uiEditMode == 4)
            anchor = GetRefNode(2);
        if (anchor) {
            const double cx = m_Cursor.m_uiFlags ? m_Cursor.x : m_dCursX;
            const double cy = m_Cursor.m_uiFlags ? m_Cursor.y : m_dCursY;
            glLineWidth(static_cast<GLfloat>(THIN_EDGE));
            glColor3f(1.0f, 0.0f, 0.0f);
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0x1111);
            glBegin(GL_LINES);
            anchor->GLVertex();
            glVertex3d(cx, cy, 0.0);
            glEnd();
            glDisable(GL_LINE_STIPPLE);
            glColor3fv(glcInvBckGrnd);
            const double dx = anchor->x - cx, dy = anchor->y - cy;
            if (m_uiEditMode == 4) {
                if (CObList* moving = GetMoveList()) {
                    glLineWidth(static_cast<GLfloat>(MEDIUM_EDGE));
                    for (POSITION pos = moving->GetHeadPosition(); pos;) {
                        CObject* ob = moving->GetNext(pos);
                        if (!ob->IsKindOf(RUNTIME_CLASS(CSectArea)))
                            continue;
                        auto* area = static_cast<CSectArea*>(ob);
                        area->Translate(-dx, -dy, 0.0, true);
                        area->DrawStippleGL();
                        area->Translate(dx, dy, 0.0, true);
                    }
                }
            } else if (m_uiEditMode == 8 && m_pGeomHlpr) {
                glLineWidth(static_cast<GLfloat>(MEDIUM_EDGE));
                m_pGeomHlpr->DrawTranslated(-dx, -dy, 0.0);
            }
            glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        }
    }
    if (m_iTool == VIEWTOOL_POINT && m_bBandOpen && !m_pZoomRectNode) {
        double corner[2] = {static_cast<double>(m_BandStart.x), static_cast<double>(m_BandStart.y)};
        GetRealCoord(corner[0], corner[1], false);
        double mouse[2] = {m_dCursX, m_dCursY};
        glColor3f(1.0f, 0.0f, 0.0f);
        glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        COGLRenderer::DrawRect2D(corner, mouse, true);
    }
    return Kor2DView::DrawDynamicScene();
}

// ------------------------------------------------------------ commands

void Kor2DModView::OnSelectFilter()
{
    auto* combo = dynamic_cast<CComboBox*>(CCmdTarget::GetNotifySender());
    if (!combo)
        return;
    switch (combo->GetCurSel()) {
    case 0:
        m_uiSelectFilter = KorBasisGeomHlpr::kNodes;
        break;
    case 1:
        m_uiSelectFilter = KorBasisGeomHlpr::kEdges;
        break;
    case 2:
        m_uiSelectFilter = KorBasisGeomHlpr::kAreas;
        break;
    default:
        m_uiSelectFilter = 7;
        break;
    }
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

#include "framework/korselection.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "framework/geomhlpr.h"
#include "geometry/edge.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "glstyle/drawing_settings.h"
#include "platform/afx/selection.h"
#include "sections/regions/sectarea.h"

namespace korsel
{

namespace
{

CObject* ObjectOfName(DWORD name)
{
    return name ? AfxGetSelectionNames().ObjectOf(name) : nullptr;
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

} // namespace

UINT FilterOfEntry(int entry)
{
    switch (entry) {
    case 0:
        return KorBasisGeomHlpr::kNodes;
    case 1:
        return KorBasisGeomHlpr::kEdges;
    case 2:
        return KorBasisGeomHlpr::kAreas;
    default:
        return 7;
    }
}

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

void PickClick(COGL2DView& view, KorBasisGeomHlpr* helper, UINT filter, CPoint at, const AddFn& add)
{
    std::vector<UINT> order;
    if (const UINT held = SelectedType(helper))
        order.push_back(held);
    else
        for (UINT type : {KorBasisGeomHlpr::kNodes, KorBasisGeomHlpr::kEdges, KorBasisGeomHlpr::kAreas})
            if (filter & type)
                order.push_back(type);
    for (UINT type : order) {
        CObject* hit = ObjectOfName(view.PickObject(at.x, at.y, type, 10.0f, 0xFFFFFFFF, 0, nullptr));
        if (const UINT kind = TypeOf(hit)) {
            add(hit, kind);
            return;
        }
    }
}

void PickBand(COGL2DView& view, KorBasisGeomHlpr* helper, UINT filter, CPoint from, CPoint to,
              UINT flags, const AddFn& add)
{
    UINT types = filter;
    if (types == 7 && (flags & MK_SHIFT))
        if (const UINT held = SelectedType(helper))
            types = held;
    const CPoint centre((from.x + to.x) / 2, (from.y + to.y) / 2);
    // A flat band still picks along its line.
    const float w = std::max(1.0f, static_cast<float>(std::abs(to.x - from.x)));
    const float h = std::max(1.0f, static_cast<float>(std::abs(to.y - from.y)));
    unsigned* names = nullptr;
    int count = 0;
    view.PickObject(centre, types, w, h, names, count);
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
            add(hit, type);
}

void DrawEditFeedback(COGL2DView& view, KorBasisGeomHlpr* helper, CSNode& cursor, UINT geomTool,
                      UINT editMode, const std::function<CSNode*(int)>& refNode,
                      const std::function<CObList*()>& moveList)
{
    if (helper)
        helper->DrawSelected();
    if (cursor.m_uiFlags && (geomTool || editMode || view.m_iTool)) {
        if (cursor.m_uiFlags == 1) {
            cursor.DrawNodeGL(static_cast<float>(LARGE_POINT), 1.0f, 0.0f, 0.0f);
            cursor.DrawNodeGL(static_cast<float>(MEDIUM_S_POINT), glcInvBckGrnd[0], glcInvBckGrnd[1],
                                glcInvBckGrnd[2]);
        } else {
            cursor.DrawNodeGL(static_cast<float>(LARGE_POINT), glcInvBckGrnd[0], glcInvBckGrnd[1],
                                glcInvBckGrnd[2]);
        }
    }
    if (editMode) {
        CSNode* anchor = refNode(0);
        if (!anchor && editMode == 4)
            anchor = refNode(2);
        if (anchor) {
            const double cx = cursor.m_uiFlags ? cursor.x : view.m_dCursX;
            const double cy = cursor.m_uiFlags ? cursor.y : view.m_dCursY;
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
            if (editMode == 4) {
                if (CObList* moving = moveList()) {
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
            } else if (editMode == 8 && helper) {
                glLineWidth(static_cast<GLfloat>(MEDIUM_EDGE));
                helper->DrawTranslated(-dx, -dy, 0.0);
            }
            glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        }
    }
}

void DrawBand(COGL2DView& view, CPoint start)
{
    double corner[2] = {static_cast<double>(start.x), static_cast<double>(start.y)};
    view.GetRealCoord(corner[0], corner[1], false);
    double mouse[2] = {view.m_dCursX, view.m_dCursY};
    glColor3f(1.0f, 0.0f, 0.0f);
    glLineWidth(static_cast<GLfloat>(THIN_EDGE));
    COGLRenderer::DrawRect2D(corner, mouse, true);
}

} // namespace korsel

// Result plots, model and mesh drawing and the result probe of the plate
// component. The regions draw the primitives; the component chooses the
// plot, sets the fringe range and the OpenGL state around the region calls.
// Plain GL only, so the analysis library stays headless.
#include "app/analysis/platecomp.h"

#include "app/analysis/solverinput.h"
#include "femodel/strelna.h"
#include "glstyle/pickpoints.h"
#include "glstyle/tincora.h"
#include "glview/lumetra.h"
#include "platform/afx/numconv.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ferrand/ferrand.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace resultmeasures;

namespace {

// The plot families that share one OpenGL set-up.
enum class PassStyle {
    Colour,    // colour plot
    Principal, // principal-stress plot
    Derived,   // effective-stress and local plots
    Distorted  // distorted mesh
};

void EnableOffset(float factor, float units)
{
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(factor, units);
}

// The line colour of a plot: the material colour for the colour plot, the
// inverse background for every other.
void LineColour(PassStyle style)
{
    if (style == PassStyle::Colour)
        glColor4dv(dMaterialColor);
    else
        glColor3fv(glcInvBckGrnd);
}

// The polygon modes, offsets and colours of a plot for the flags (2 filled,
// 16 outlines), with the flags each region call receives. The neither-flag
// case of the colour plot is the caller's. shellOffset: the offset is
// always on, at 1.0/1.0, for the two-pass drawing.
void DrawPasses(int flags, PassStyle style, bool shellOffset, const std::function<void(int)>& call)
{
    glLineWidth(static_cast<GLfloat>(THIN_EDGE));
    const bool filled = flags & 2;
    const bool outlines = flags & 16;
    const bool distorted = style == PassStyle::Distorted;
    const bool derived = style == PassStyle::Derived;
    if (filled && outlines) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        if (shellOffset || derived)
            EnableOffset(1.0f, 1.0f);
        else if (bOffsetPolygon)
            EnableOffset(glfOffsetFact, glfOffsetUnit);
        if (style != PassStyle::Colour)
            glColor4dv(dMaterialColor);
        call(distorted ? 2 : derived ? flags : flags & ~16);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        LineColour(style);
        call(distorted ? 16 : derived ? flags & ~2 : (flags | 16) & ~2);
    } else if (filled) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        if (style != PassStyle::Colour)
            glColor4dv(dMaterialColor);
        call(distorted ? 2 : flags);
    } else if (outlines) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        LineColour(style);
        call(distorted ? 16 : style == PassStyle::Colour ? flags : flags | 2);
    } else {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        call(distorted ? 0 : flags);
    }
}

bool IsTriangleKind(int kind)
{
    return kind >= 101 && kind <= 103;
}

// Sets the fringe range of colour-plot component c symmetric about zero.
void SetComponentRange(int c, double a, double b)
{
    if (c < 0 || c >= CElement::kMaxResIndex)
        return;
    SymmetricRange(a, b, CElement::m_strMaxStress[c], CElement::m_strMinStress[c]);
}

double Entry(const CVector& v, int i)
{
    return i >= 0 && i < v.GetSize() ? v[i] : 0.0;
}

} // namespace

// ------------------------------------------------------------ result plots

bool CPlateComp::SetNodeValueCount() const
{
    const int nv = NodeValueCount(m_iElemType);
    if (nv == 0)
        return false;
    CElement::m_nNodeVal = nv;
    return true;
}

void CPlateComp::GatherLocalExtremes(bool vect)
{
    m_LocalMax.Allocate(5, true, 0.0);
    m_LocalMin.Allocate(5, true, 0.0);
    CVector* dir = LocalDirArgument();
    ForEachMeshRegion([&](CSectMeshArea* r) {
        if (vect)
            r->GetMaxMinLocalVect(m_LocalMax.GetVector(), m_LocalMin.GetVector(), m_bLocalOption, dir, 3, 4);
        else
            r->GetMaxMinLocalStress(m_LocalMax.GetVector(), m_LocalMin.GetVector(), m_bLocalOption, dir, 0, 1,
                                    2);
    });
}

void CPlateComp::SetStaticRange(int k)
{
    SymmetricRange(Entry(m_MaxValsExt, k), Entry(m_MinValsExt, k), CElement::m_dStaticMax, CElement::m_dStaticMin);
}

void CPlateComp::SetLocalRange(bool vect, int c)
{
    GatherLocalExtremes(vect);
    SymmetricRange(Entry(m_LocalMax, c), Entry(m_LocalMin, c), CElement::m_dStaticMax, CElement::m_dStaticMin);
}

void CPlateComp::DrawResults(int flags)
{
    DrawResultsWith(flags, PlotRules{}, false);
}

void CPlateComp::DrawResultsWith(int flags, const PlotRules& rules, bool shellStyle)
{
    if (m_bBusy || !HasRegions() || m_MinVals.GetSize() == 0 || !SetNodeValueCount())
        return;
    const int c = GetActVal();
    const double factor = GetFactor();
    switch (ClassifyPlot(c, static_cast<int>(GetResCount()), m_iElemType, m_iLocalAxes, rules)) {
    case PlotKind::Colour:
        DrawColourPlot(flags, c, shellStyle);
        break;
    case PlotKind::Arrows:
        DrawResultArrows(flags);
        break;
    case PlotKind::LocalStress:
        DrawLocalStress(flags, c, factor);
        break;
    case PlotKind::LocalVect:
        DrawLocalVect(flags, c, factor);
        break;
    case PlotKind::FirstPrincipal:
        DrawPriStress(flags, true, factor);
        break;
    case PlotKind::SecondPrincipal:
        DrawPriStress(flags, false, factor);
        break;
    case PlotKind::Effective:
        DrawEffStress(flags, factor);
        break;
    case PlotKind::Distorted:
        DrawDistorted(flags, factor);
        break;
    case PlotKind::None:
        break;
    }
}

void CPlateComp::DrawColourPlot(int flags, int c, bool shellStyle)
{
    if (c >= CElement::kMaxResIndex)
        return;
    SetComponentRange(c, Entry(m_MinVals, c), Entry(m_MaxVals, c));
    const double factor = GetFactor();
    if ((flags & (2 | 16)) == 0) {
        glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        if (shellStyle) {
            glColor4dv(dMaterialColor);
            ForEachMeshRegion([&](CSectMeshArea* r) { r->ColorPlot(c, flags, factor); });
            return;
        }
        // The regions as prisms raised by the component, in fringe colours.
        CMatrix param(1, 3);
        param[0][0] = c;
        param[0][1] = factor;
        param[0][2] = 2.0;
        glBegin(GL_TRIANGLES);
        ForEachMeshRegion([&](CSectMeshArea* r) {
            if (auto* plate = dynamic_cast<CSectPlate*>(r))
                plate->DrawThicknessGL(param, 2);
        });
        glEnd();
        return;
    }
    DrawPasses(flags, PassStyle::Colour, shellStyle, [&](int f) {
        if (!DrawPlanOutlinesOnce(f))
            ForEachMeshRegion([&](CSectMeshArea* r) { r->ColorPlot(c, f, factor); });
    });
}

// The colour plot's outlines in the plan state (mode 16 and 128 without
// 2) lie at height 0 with the plan normal, so an edge two elements share
// is the same line: each is drawn once, for a triangle mesh (else false,
// nothing drawn).
bool CPlateComp::DrawPlanOutlinesOnce(int flags)
{
    if (!(flags & 16) || (flags & 2) || !(flags & 128))
        return false;
    bool once = true;
    ForEachMeshRegion([&](CSectMeshArea* r) { once = once && r->MeshDrawsCorners(3); });
    if (!once)
        return false;
    glBegin(GL_LINES);
    glNormal3d(0.0, 0.0, 1.0);
    ForEachMeshRegion([](CSectMeshArea* r) { r->GLDrawPlanEdges(3); });
    glEnd();
    return true;
}

void CPlateComp::DrawPriStress(int flags, bool first, double scale)
{
    if (!SetNodeValueCount())
        return;
    SetStaticRange(first ? 0 : 1);
    DrawPasses(flags, PassStyle::Principal, false, [&](int f) {
        ForEachMeshRegion([&](CSectMeshArea* r) { r->DrawPriStress(f, first, scale, 0, 1, 2); });
    });
}

void CPlateComp::DrawEffStress(int flags, double scale)
{
    if (!SetNodeValueCount())
        return;
    SetStaticRange(2);
    DrawPasses(flags, PassStyle::Derived, false, [&](int f) {
        ForEachMeshRegion([&](CSectMeshArea* r) { r->DrawEffStress(m_iPlaneStrain + 1, f, scale, 0, 1, 2); });
    });
}

void CPlateComp::DrawLocalStress(int flags, int component, double scale)
{
    if (!SetNodeValueCount())
        return;
    SetLocalRange(false, component);
    CVector* dir = LocalDirArgument();
    DrawPasses(flags, PassStyle::Derived, false, [&](int f) {
        ForEachMeshRegion([&](CSectMeshArea* r) {
            r->DrawLocalStress(component, f, m_bLocalOption, dir, scale, 0, 1, 2);
        });
    });
}

void CPlateComp::DrawLocalVect(int flags, int component, double scale)
{
    if (!SetNodeValueCount())
        return;
    SetLocalRange(true, component);
    CVector* dir = LocalDirArgument();
    DrawPasses(flags, PassStyle::Derived, false, [&](int f) {
        ForEachMeshRegion([&](CSectMeshArea* r) { r->DrawLocalVect(component, f, m_bLocalOption, dir, scale, 3, 4); });
    });
}

void CPlateComp::DrawDistorted(int flags, double scale)
{
    if (!SetNodeValueCount() || m_MaxValsExt.GetSize() == 0 || m_MinValsExt.GetSize() == 0)
        return;
    int ux = -1, uy = -1, w = -1;
    if (IsMembraneCode(m_iElemType)) {
        ux = 3;
        uy = 4;
        SetStaticRange(3);
    } else if (m_iElemType == 66) {
        w = 3;
    } else if (IsHigherPlateCode(m_iElemType)) {
        w = 5;
    } else {
        return; // 61 and 65 have no displacement field to draw
    }
    DrawPasses(flags, PassStyle::Distorted, false, [&](int f) {
        ForEachMeshRegion([&](CSectMeshArea* r) { r->GLDrawDistorted(f, scale, ux, uy, w); });
    });
}

void CPlateComp::DrawResultArrows(int flags)
{
    if (m_bBusy || !HasRegions() || m_MinVals.GetSize() == 0 || !SetNodeValueCount())
        return;
    const int c = GetActVal();
    if (c < 0 || c >= CElement::kMaxResIndex)
        return;
    SetComponentRange(c, Entry(m_MinVals, c), Entry(m_MaxVals, c));
    const double range = CElement::m_strMaxStress[c];
    const double factor = GetFactor();
    const bool lines = flags & 2;
    glPolygonMode(GL_FRONT_AND_BACK, lines ? GL_LINE : GL_FILL);
    if (lines)
        glColor4dv(dMaterialColor);
    ForEachMeshRegion([&](CSectMeshArea* r) { r->DrawResArrows(factor, -1, -1, c, range, lines); });
}

bool CPlateComp::HasElementResults()
{
    // Asked by every compile of the plot and the legend: the walk stops at
    // the first element with results.
    bool any = false;
    ForEachMeshRegion([&](CSectMeshArea* r) {
        any = any || r->AnyElement([](CElement* element) { return element && element->HasResults(); });
    });
    return any;
}

double CPlateComp::ResultDisplayFactor(int kind, int quantity, CString* unit)
{
    const int s = iStandard == 1 ? 1 : 0;
    const int u = (quantity >= 0 && quantity < 30) ? iConv[s][quantity][0] : 0;
    return PerLengthFactor(s, kind, u, iConv[s][0][0], unit);
}

void CPlateComp::GetMaxMinResult(double& max, double& min, CString* unit)
{
    max = 0.0;
    min = 0.0;
    const int n = static_cast<int>(GetResCount());
    if (m_MinVals.GetSize() == 0 || m_MaxVals.GetSize() == 0 || n == 0)
        return;
    const int c = GetActVal();
    if (c >= n) {
        const int size = m_MaxValsExt.GetSize();
        if (size > 0 && m_MinValsExt.GetSize() > 0) {
            const int i = std::min(c - n, size - 1);
            max = m_MaxValsExt[i];
            min = Entry(m_MinValsExt, i);
        }
    } else if (c >= 0) {
        const bool higher = IsHigherPlateCode(m_iElemType);
        if (m_iLocalAxes != 0 && (c < 3 || (higher && (c == 3 || c == 4)))) {
            GatherLocalExtremes(c >= 3);
            max = Entry(m_LocalMax, c);
            min = Entry(m_LocalMin, c);
        } else {
            max = Entry(m_MaxVals, c);
            min = Entry(m_MinVals, c);
        }
    }
    if (!unit)
        return;
    const int k = GetResultUnit(c);
    if (k == 0)
        return;
    const double f = ResultDisplayFactor(k, GetResultQuantity(), unit);
    max *= f;
    min *= f;
}

CPlateComp::ElementPickIndex& CPlateComp::UpToDateElementPickIndex()
{
    const unsigned long revision = AfxModelRevision();
    if (m_pElementPickIndex && m_pElementPickIndex->pick.IsBuiltAt(revision))
        return *m_pElementPickIndex;
    if (!m_pElementPickIndex)
        m_pElementPickIndex = std::make_unique<ElementPickIndex>();
    ElementPickIndex& index = *m_pElementPickIndex;
    index.elements.clear();
    ForEachMeshElement([&](CElement* e) {
        if (e)
            index.elements.push_back(e);
    });
    std::vector<CPickBox> boxes(index.elements.size());
    ForEachPickItem(boxes.size(), [&](std::size_t i) {
        if (!index.elements[i]->GrowIdPickBox(boxes[i]))
            boxes[i] = CPickBox(); // unknown: always drawn
    });
    index.pick.Build(revision, boxes);
    return index;
}

void CPlateComp::PickDrawResGL(int kind, bool flag)
{
    if (m_bBusy || !HasRegions())
        return;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPointSize(3.0f);
    // The pick window covers a few pixels: what it clips issues no GL calls.
    const CPickWindowCull cull;
    if (kind != 8) {
        // The mesh's own nodes, edges and elements by identifier (the
        // element view): they need no results and no plot axes. Under the
        // cull, only the elements whose box the window may meet are drawn.
        if (!CPickWindowCull::IsActive()) {
            ForEachMeshRegion([&](CSectMeshArea* r) { r->PickDrawResGL(0, kind, 0.0); });
            return;
        }
        ElementPickIndex& index = UpToDateElementPickIndex();
        index.pick.Pick(
            kind & 7, CPickWindowCull::FilledFacesHit(),
            [&](std::size_t i) { index.elements[i]->PickDrawGL(0, kind, 0.0); },
            [&](std::size_t i, std::vector<CPickName>& out) { return index.elements[i]->ListIdPickNames(out); });
        return;
    }
    if (m_MinVals.GetSize() == 0 || !SetNodeValueCount())
        return;
    const int c = GetActVal();
    const int n = static_cast<int>(GetResCount());
    const double factor = GetFactor();
    const double scale = (flag ? 1.0 : 0.0) * factor;
    if (c < n) {
        const bool local = m_iLocalAxes != 0 && (c < 3 || (c < 5 && IsHigherPlateCode(m_iElemType)));
        if (local)
            PickDrawLocal(flag);
        else
            ForEachMeshRegion([&](CSectMeshArea* r) { r->PickDrawResGL(c, kind, scale); });
        return;
    }
    switch (c - n) {
    case 0:
    case 1:
        ForEachMeshRegion([&](CSectMeshArea* r) { r->PickDrawPriStress(c == n, scale, 0, 1, 2); });
        break;
    case 2:
        ForEachMeshRegion([&](CSectMeshArea* r) { r->PickDrawEffStress(m_iPlaneStrain + 1, scale, 0, 1, 2); });
        break;
    case 3:
        ForEachMeshRegion([&](CSectMeshArea* r) { r->PickDrawDistort(factor, 3, 4, -1); });
        break;
    default:
        break;
    }
}

void CPlateComp::PickDrawResultPoints(bool flag, CPickPointIndex& index)
{
    if (m_bBusy)
        return;
    if (!index.IsBuilt()) {
        CPickPointIndex::Recording recording(index);
        PickDrawResGL(8, flag);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPointSize(3.0f);
    const CPickWindowCull cull;
    index.PickDraw();
}

void CPlateComp::PickDrawLocal(bool flag)
{
    const int c = GetActVal();
    const double scale = (flag ? 1.0 : 0.0) * GetFactor();
    CVector* dir = LocalDirArgument();
    if (c >= 0 && c < 3)
        ForEachMeshRegion([&](CSectMeshArea* r) { r->PickDrawLocalStress(c, m_bLocalOption, dir, scale, 0, 1, 2); });
    else if ((c == 3 || c == 4) && IsHigherPlateCode(m_iElemType))
        ForEachMeshRegion([&](CSectMeshArea* r) { r->PickDrawLocalVect(c, m_bLocalOption, dir, scale, 3, 4); });
}

// ------------------------------------------------------------ model, mesh, loads, conditions

void CPlateComp::DrawBCs(bool mesh, double scale, int kind)
{
    // The conditions' wide, stippled lines and large points stay with
    // them. The state is pushed, not read back: inside a display list a
    // query answers what is in force while the list is made, and the list
    // would then set that state again for whatever is drawn after it.
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_POINT_BIT);
    glDisable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_STIPPLE);
    glLineWidth(static_cast<GLfloat>(WIDE_EDGE));
    glPointSize(static_cast<GLfloat>(LARGE_POINT));
    CSectComp::DrawBCs(mesh, scale, kind);
    glPopAttrib();
}

void CPlateComp::DrawModelGL(bool quads, float pointSize, bool all)
{
    const bool offset = bOffsetPolygon;
    if (offset)
        EnableOffset(glfOffsetFact, glfOffsetUnit);
    CSectComp::DrawModelGL(quads, pointSize, all);
    if (offset)
        glDisable(GL_POLYGON_OFFSET_FILL);
    glBegin(GL_LINES);
    for (POSITION pos = CObList::GetHeadPosition(); pos;)
        if (auto* area = dynamic_cast<CSectArea*>(GetNext(pos)))
            area->GLDrawNodeLinks(false);
    glEnd();
}

void CPlateComp::DrawMesh(bool filled, bool flag)
{
    glLineWidth(static_cast<GLfloat>(THIN_EDGE));
    glPolygonMode(GL_FRONT_AND_BACK, filled ? GL_FILL : GL_LINE);
    if (!filled && DrawMeshEdgesOnce(IsTriangleKind(m_iMeshKind) ? 3 : 4, flag))
        return;
    // A filled mesh lies behind the element edges drawn over it.
    const bool offset = filled && bOffsetPolygon;
    if (offset)
        EnableOffset(glfOffsetFact, glfOffsetUnit);
    glBegin(IsTriangleKind(m_iMeshKind) ? GL_TRIANGLES : GL_QUADS);
    glNormal3d(0.0, 0.0, 1.0);
    ForEachMeshRegion([&](CSectMeshArea* r) { r->GLDrawMesh(flag); });
    glEnd();
    if (offset)
        glDisable(GL_POLYGON_OFFSET_FILL);
}

// Mesh lines with each element edge drawn once: an edge inside a mesh is
// shared by two elements, which in line mode would both draw it. Only when
// every element is one primitive of the mesh kind (else false, nothing
// drawn).
bool CPlateComp::DrawMeshEdgesOnce(int corners, bool flag)
{
    bool once = true;
    ForEachMeshRegion([&](CSectMeshArea* r) { once = once && r->MeshDrawsCorners(corners); });
    if (!once)
        return false;
    glBegin(GL_LINES);
    glNormal3d(0.0, 0.0, 1.0);
    ForEachMeshRegion([&](CSectMeshArea* r) { r->GLDrawMeshEdges(flag, corners); });
    glEnd();
    return true;
}

bool CPlateComp::CollectMeshLines(bool flag, CMeshLines& lines)
{
    MeshLineRuns(flag, lines);
    return FillMeshLines(lines);
}

void CPlateComp::MeshLineRuns(bool flag, CMeshLines& lines)
{
    lines = {};
    ForEachMeshRegion([&](CSectMeshArea* r) { r->MeshLineRuns(flag, lines); });
}

bool CPlateComp::FillMeshLines(CMeshLines& lines)
{
    const int corners = IsTriangleKind(m_iMeshKind) ? 3 : 4;
    bool once = true;
    std::size_t run = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) { once = r->FillMeshLines(corners, lines, run) && once; });
    if (!once)
        lines = {};
    return once;
}

void CPlateComp::DrawMeshLines(const CMeshLines& lines)
{
    glLineWidth(static_cast<GLfloat>(THIN_EDGE));
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glNormal3d(0.0, 0.0, 1.0);
    lines.GLDraw();
}

// The region point operations open their own points primitive.
void CPlateComp::DrawMeshNodes(float size)
{
    glColor3fv(glcInvBckGrnd);
    glPointSize(size);
    glNormal3d(0.0, 0.0, 1.0);
    ForEachMeshRegion([](CSectMeshArea* r) { r->GLDrawMeshNodes(); });
}

void CPlateComp::DrawLoadedMeshNodes(float size)
{
    glPointSize(size);
    glNormal3d(0.0, 0.0, 1.0);
    ForEachMeshRegion([](CSectMeshArea* r) { r->GLDrawLoadedMeshNodes(); });
}

void CPlateComp::DrawNodeNumbers(bool mesh)
{
    ForEachMeshRegion([&](CSectMeshArea* r) { r->DrawNodeNumbers(mesh); });
}

void CPlateComp::DrawElmNumbers()
{
    ForEachMeshRegion([](CSectMeshArea* r) { r->DrawElmNumbers(); });
}

void CPlateComp::DrawEdgeLoads(double scale, bool mesh, int unused)
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;)
        if (auto* plate = dynamic_cast<CSectPlate*>(GetNext(pos)))
            plate->DrawEdgeLoads(scale, mesh, unused);
}

void CPlateComp::DrawNodeLoads(double scale, bool flag)
{
    ForEachMeshRegion([&](CSectMeshArea* r) { r->DrawNodeLoads(scale, flag); });
}

void CPlateComp::DrawDispersAngles()
{
    glBegin(GL_LINES);
    for (POSITION pos = CObList::GetHeadPosition(); pos;)
        if (auto* plate = dynamic_cast<CSectPlate*>(GetNext(pos)))
            plate->DrawDispersAngle();
    glEnd();
}

void CPlateComp::SetBoundaryConditions()
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;)
        if (auto* plate = dynamic_cast<CSectPlate*>(GetNext(pos)))
            plate->SetBoundaryConditions();
}

// ------------------------------------------------------------ supports

CVector* CPlateComp::GetSupportDOFs(int code, int kind)
{
    struct Row {
        std::vector<int> codes;
        std::vector<int> kind1, kind2, kind4;
    };
    static const Row rows[] = {
        {{31, 32, 41, 42, 44, 46}, {2}, {1, 2}, {1}},
        {{33}, {2, 4}, {1, 2, 3, 4}, {1, 3}},
        {{61}, {1}, {1}, {}},
        {{65, 75}, {1, 2}, {1, 2, 3}, {3}},
        {{66}, {1, 3}, {1, 2, 3}, {2}},
        {{81, 85}, {1, 2, 4}, {1, 2, 3, 4, 5}, {3, 5}},
    };
    static CVector dofs;
    // Anything not in the table answers no supported DOF: a stale answer of
    // an earlier call would be applied as this code's support.
    dofs.Allocate(0, true, 0.0);
    if (kind != 1 && kind != 2 && kind != 4)
        return &dofs;
    for (const Row& row : rows) {
        if (std::find(row.codes.begin(), row.codes.end(), code) == row.codes.end())
            continue;
        const std::vector<int>& list = kind == 1 ? row.kind1 : kind == 2 ? row.kind2 : row.kind4;
        const int m = static_cast<int>(list.size());
        dofs.Allocate(2 * m, true, 0.0);
        int i = 0;
        for (int d : list)
            dofs[i++] = d;
        break;
    }
    return &dofs;
}

// The first region, in list order, that holds the node inside (the
// innermost one of its sub-sections), or null.
CSectArea* CPlateComp::IsNodeInside2D(CSNode* node, bool thisOnly)
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (!section || !section->IsKindOf(RUNTIME_CLASS(CSectArea)))
            continue;
        if (CSectArea* found = static_cast<CSectArea*>(section)->IsNodeInside2D(node, thisOnly))
            return found;
    }
    return nullptr;
}

// ------------------------------------------------------------ region nesting

void CPlateComp::UpdateRegionNesting(CSectArea* region)
{
    if (!region || region->IsEmpty())
        return;
    CSNode* test = region->GetHeadNode();
    const double x = test->x, y = test->y;
    // Moves every region of list (other than region and keep) whose first
    // node lies inside region from list into region; fromComposite: the
    // list is this composite.
    auto takeInner = [&](CObList* list, bool fromComposite, CSectArea* keep) {
        if (!list)
            return;
        std::vector<CSectArea*> moving;
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            auto* other = dynamic_cast<CSectArea*>(list->GetNext(pos));
            if (!other || other == region || other == keep || other->IsEmpty())
                continue;
            CSNode* first = other->GetHeadNode();
            if (region->Find(first) || !region->IsPointInside2D(first->x, first->y, true))
                continue;
            moving.push_back(other);
        }
        for (CSectArea* other : moving) {
            if (fromComposite)
                Remove(other);
            else if (CSectArea* outer = other->GetOuterSect())
                outer->RemoveInnerSect(other);
            region->InsertSubSect(other);
        }
    };

    if (CSectArea* outer = region->GetOuterSect()) {
        if (outer->IsPointInside2D(x, y, true)) {
            if (CObList* siblings = outer->GetSubList())
                for (POSITION pos = siblings->GetHeadPosition(); pos;) {
                    auto* sibling = dynamic_cast<CSectArea*>(siblings->GetNext(pos));
                    if (!sibling || sibling == region || sibling->Find(test))
                        continue;
                    if (sibling->IsPointInside2D(x, y, false)) {
                        outer->RemoveInnerSect(region);
                        sibling->InsertSubSect(region);
                        return;
                    }
                }
            takeInner(outer->GetSubList(), false, nullptr);
            return;
        }
        outer->RemoveInnerSect(region);
        if (CSectArea* outerOuter = outer->GetOuterSect()) {
            outerOuter->InsertSubSect(region);
            UpdateRegionNesting(region);
            return;
        }
        if (!CObList::Find(region)) {
            region->SetOuterSect(nullptr);
            AddTail(static_cast<CSection*>(region));
        }
    }
    // A top-level region: the first other top-level region that holds the
    // test point takes it (one list only), then the top-level regions inside
    // it move into it.
    CSectArea* taker = nullptr;
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        auto* other = dynamic_cast<CSectArea*>(GetNext(pos));
        if (!other || other == region || other->Find(test) || !other->IsPointInside2D(x, y, true))
            continue;
        taker = other;
        break;
    }
    if (taker) {
        Remove(region);
        taker->InsertSubSect(region);
    }
    takeInner(this, true, taker);
}

// ------------------------------------------------------------ result probe

bool CPlateComp::ProbeResult(CSNode* node, int elementIndex, int labelMode, unsigned int number, ResultProbe& probe)
{
    if (!node || !SetNodeValueCount())
        return false;
    CObList* graphs = node->GetGraphList();
    if (!graphs || elementIndex < 0 || elementIndex >= graphs->GetCount())
        return false;
    auto* element = dynamic_cast<CElement*>(graphs->GetAt(graphs->FindIndex(elementIndex)));
    if (!element)
        return false;
    const int j = element->FindIndex(node);
    if (j < 0)
        return false;
    double s[6];
    for (int k = 0; k < 6; ++k)
        s[k] = element->GetStressFromIndex(k, j);

    const int code = m_iElemType;
    const bool membrane = IsMembraneCode(code);
    const int c = GetActVal();
    const int n = static_cast<int>(GetResCount());
    double v = 0.0;
    bool arrow = false;
    bool localShear = false;
    double phi = 0.0;
    int quantity = GetResultQuantity();
    int unitKind = GetResultUnit(c);
    if (c == n || c == n + 1) {
        v = PrincipalValue(s[0], s[1], s[2], c == n);
        phi = PrincipalAngle(s[0], s[1], s[2], c == n, !membrane);
        arrow = true;
    } else if (c == n + 2) {
        double nu = 0.0;
        if (m_iPlaneStrain == 1)
            if (CSectMeshArea* region = IsElemInThis(element))
                if (CMaterial* material = region->GetMaterial())
                    nu = material->GetNu();
        v = EffectiveValue(s[0], s[1], s[2], nu);
    } else if (c == n + 3) {
        if (membrane)
            v = std::sqrt(s[3] * s[3] + s[4] * s[4]);
        else if (IsHigherPlateCode(code))
            v = s[5];
        else
            v = s[3];
        quantity = 18;
        unitKind = kUnitLength;
    } else if (c >= 0 && c < n) {
        const bool local = m_iLocalAxes != 0 && (c < 3 || ((c == 3 || c == 4) && IsHigherPlateCode(code)));
        v = c < 6 ? s[c] : element->GetStressFromIndex(c, j);
        if (local) {
            CVector* axes = nullptr;
            bool polar = false;
            if (m_iLocalAxes == 2) {
                axes = &m_LocalDir;
                polar = m_bLocalOption;
            } else if (CSectMeshArea* region = IsElemInThis(element)) {
                axes = &region->GetMatAxes();
                polar = region->IsPolar();
            }
            if (axes && axes->GetSize() >= 2) {
                const double t = CElement::LocalAngle(node->x, node->y, polar, *axes);
                v = LocalValue(c, s, t);
                phi = LocalArrowAngle(c, t);
                localShear = c == 2;
                arrow = true;
            }
        }
    } else {
        return false;
    }

    // Label text.
    probe = {v, phi, arrow, localShear, membrane, {}};
    std::string& label = probe.label;
    if (labelMode == 1) {
        label = AfxFormat(" %u", number);
    } else if (labelMode == 0) {
        const int sys = iStandard == 1 ? 1 : 0;
        const int q = (quantity >= 0 && quantity < 30) ? quantity : 0;
        const int format = iConv[sys][q][1];
        const int digits = iConv[sys][q][2];
        const double shown = v * ResultDisplayFactor(unitKind, q, nullptr);
        label = std::string(" ") + static_cast<LPCTSTR>(FormatUnitValue(format, digits, shown));
        // A mode shape has no unit: its values are amplitudes scaled to
        // the load factor, not displacements.
        int mode = 0;
        double loadFactor = 0.0;
        if (ActiveModeShape(mode, loadFactor))
            label += " (mode amplitude)";
    }
    return true;
}

void CPlateComp::DrawResultVectors(CSNode* node, int labelMode, int elementIndex, unsigned int number, bool planar)
{
    glDisable(GL_LIGHTING);
    if (planar)
        glDisable(GL_DEPTH_TEST);
    struct DepthOnExit {
        ~DepthOnExit() { glEnable(GL_DEPTH_TEST); }
    } depthOnExit;

    ResultProbe probe;
    if (!ProbeResult(node, elementIndex, labelMode, number, probe))
        return;
    const double v = probe.value, phi = probe.angle;
    const bool arrow = probe.arrow, localShear = probe.localShear, membrane = probe.membrane;
    const std::string& label = probe.label;

    // Leader line, pick name and node mark, arrow. The label is drawn at
    // the node's raster position (its bitmaps start to the right of the
    // node); the leader is a short tick from the node towards it.
    double point[3] = {node->x, node->y, planar ? 0.0 : node->z};
    constexpr double kLeader = 0.01;
    const double at[3] = {point[0] + kLeader, point[1] + kLeader, point[2]};
    glColor4d(1.0, 0.0, 1.0, 1.0);
    glBegin(GL_LINES);
    glVertex3dv(point);
    glVertex3dv(at);
    glEnd();
    glLoadName(static_cast<GLuint>(node->GetID()));
    glColor3d(0.0, 0.0, 0.0);
    glPointSize(static_cast<GLfloat>(LARGE_POINT));
    glBegin(GL_POINTS);
    glVertex3dv(point);
    glEnd();
    if (arrow) {
        double direction[3] = {std::cos(phi), std::sin(phi), 0.0};
        glNormal3d(0.0, 0.0, 1.0);
        const int type = ArrowGlyphType(membrane, localShear, v);
        COGLRenderer::Draw3DVect(point, direction, v * GetFactor(), static_cast<UINT>(type));
    }

    // Markers and label over everything.
    glDisable(GL_DEPTH_TEST);
    const struct {
        double size;
        double rgb[3];
    } marks[] = {{LARGE_POINT, {1, 1, 1}}, {MEDIUM_L_POINT, {0, 0, 1}}, {SMALL_POINT, {1, 1, 1}}};
    for (const auto& mark : marks) {
        glPointSize(static_cast<GLfloat>(mark.size));
        glColor3dv(mark.rgb);
        glBegin(GL_POINTS);
        if (planar)
            glVertex2d(point[0], point[1]);
        else
            glVertex3dv(point);
        glEnd();
    }
    if (label.empty())
        return;
    glColor3fv(glcTextClr);
    if (planar)
        glRasterPos2d(point[0], point[1]);
    else
        glRasterPos3dv(point);
    glCallLists(static_cast<GLsizei>(label.size()), GL_UNSIGNED_BYTE, label.data());
}

#include "femodel/quad.h"

#include "glstyle/tincora.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CQuadElem, CElement, 1)
IMPLEMENT_SERIAL(CQuad8Elem, CQuadElem, 1)

// ------------------------------------------------------------ four-node quadrilateral

CQuadElem::CQuadElem(CSNode* a, CSNode* b, CSNode* c, CSNode* d)
{
    AppendNode(a);
    AppendNode(b);
    AppendNode(c);
    AppendNode(d);
    PlaceCentre();
}

void CQuadElem::PlaceCentre()
{
    double x = 0.0, y = 0.0;
    GetCentroid(x, y);
    m_Centre.SetNodeCoord(x, y, 0.0);
}

void CQuadElem::Serialize(CArchive& ar)
{
    CElement::Serialize(ar);
    m_Centre.Serialize(ar);
}

double CQuadElem::PhysicalSize()
{
    if (GetCount() < 4)
        return 0.0;
    const CSNode* a = GetNode(0);
    const CSNode* b = GetNode(1);
    const CSNode* c = GetNode(2);
    const CSNode* d = GetNode(3);
    const double abc = (b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x);
    const double acd = (c->x - a->x) * (d->y - a->y) - (c->y - a->y) * (d->x - a->x);
    return 0.5 * (abc + acd);
}

void CQuadElem::GetCentroid(double& x, double& y)
{
    x = y = 0.0;
    if (GetCount() < 4)
        return;
    const CSNode* a = GetNode(0);
    const CSNode* b = GetNode(1);
    const CSNode* c = GetNode(2);
    const CSNode* d = GetNode(3);
    const double s1 = 0.5 * ((b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x));
    const double s2 = 0.5 * ((c->x - a->x) * (d->y - a->y) - (c->y - a->y) * (d->x - a->x));
    const double x1 = (a->x + b->x + c->x) / 3.0, y1 = (a->y + b->y + c->y) / 3.0;
    const double x2 = (a->x + c->x + d->x) / 3.0, y2 = (a->y + c->y + d->y) / 3.0;
    const double s = s1 + s2;
    if (s == 0.0) {
        x = (x1 + x2) / 2.0;
        y = (y1 + y2) / 2.0;
        return;
    }
    x = (s1 * x1 + s2 * x2) / s;
    y = (s1 * y1 + s2 * y2) / s;
}

bool CQuadElem::IsPointInElem(CSNode* node)
{
    return node && CornersContain(4, node->x, node->y);
}

double CQuadElem::GetStressFromIntNode(int r, int)
{
    const CVector* v = m_Centre.m_pValues;
    return (v && r >= 0 && r < v->GetSize()) ? (*v)[r] : 0.0;
}

void CQuadElem::GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2, bool primaryOnly)
{
    PriStressExtremes(4, max1, min1, max2, min2, primaryOnly);
}

void CQuadElem::PickDrawLocalStress(int which, bool polar, CVector& axis, double scale, int sx, int sy, int txy)
{
    CElement::PickDrawLocalStress(which, polar, axis, scale, sx, sy, txy);
}

void CQuadElem::GetMaxMinLocalStress(double* max, double* min, bool polar, CVector& axis, int sx, int sy, int txy)
{
    CElement::GetMaxMinLocalStress(max, min, polar, axis, sx, sy, txy);
}

void CQuadElem::DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col)
{
    DispersNodeValueOn(4, m, c, g, row, col);
}

void CQuadElem::GetEdgeLoads(CObList& list)
{
    CollectEdgeLoads(4, &list, 0.0, true, false);
}

void CQuadElem::DrawEdgeLoadsGL(double scale)
{
    CollectEdgeLoads(4, nullptr, scale, true, true);
}

// ------------------------------------------------------------ drawing

void CQuadElem::BeginGL()
{
    glBegin(GL_QUADS);
}

void CQuadElem::GLDraw()
{
    CornerVerticesGL(4);
}

void CQuadElem::DrawModelGL(bool nodes)
{
    if (GetCount() < 4)
        return;
    glBegin(GL_QUADS);
    GLDraw();
    glEnd();
    if (nodes)
        DrawNodePointsGL();
}

void CQuadElem::DrawAroundCentre(const double v[4], double vc, int flags, double scale, int r, bool derived)
{
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        const double* p[3] = {GetNode(i)->GetVertex(), GetNode(j)->GetVertex(), m_Centre.GetVertex()};
        const double w[3] = {v[i], v[j], vc};
        DrawFace(p, w, flags, scale, r, derived);
    }
}

void CQuadElem::WireVertices(const double v[4], int flags, double scale, int r, bool derived)
{
    const bool flat = flags & 128;
    const bool coloured = flags & 2;
    if (derived && flat && !coloured)
        return;
    for (int k = 0; k < 4; ++k) {
        if (coloured) {
            if (derived)
                GLCPCombColor(v[k]);
            else
                GLCPColor(v[k], r);
        }
        const CSNode* node = GetNode(k);
        glVertex3d(node->x, node->y, flat ? 0.0 : scale * v[k]);
    }
}

void CQuadElem::GLWireFrame(int r, int flags, double scale)
{
    if (GetCount() < 4)
        return;
    double v[4];
    for (int k = 0; k < 4; ++k)
        v[k] = CornerValue(r, k);
    WireVertices(v, flags, scale, r, false);
}

void CQuadElem::GLColorPlot2(int r, int flags, double scale)
{
    if (GetCount() < 4 || !HasResults())
        return;
    if ((flags & 128) && !(flags & 2))
        return;
    double v[4];
    for (int k = 0; k < 4; ++k)
        v[k] = CornerValue(r, k);
    const int tri[2][3] = {{0, 1, 2}, {2, 3, 0}};
    for (const auto& t : tri) {
        const double* p[3] = {GetNode(t[0])->GetVertex(), GetNode(t[1])->GetVertex(), GetNode(t[2])->GetVertex()};
        const double w[3] = {v[t[0]], v[t[1]], v[t[2]]};
        DrawFace(p, w, flags, scale, r, false);
    }
}

void CQuadElem::GLColorPlot(int r, int flags, double scale)
{
    if (GetCount() < 4)
        return;
    if (flags & 16) {
        // The outline: the quadrilateral itself, drawn in line mode.
        BeginGL();
        GLWireFrame(r, flags, scale);
        glEnd();
        return;
    }
    if (r >= m_nNodeVal) {
        GLColorPlot2(r, flags, scale);
        return;
    }
    if (!HasResults())
        return;
    double v[4];
    for (int k = 0; k < 4; ++k)
        v[k] = GetStressFromIndex(r, k);
    DrawAroundCentre(v, GetStressFromIndex(r, 4), flags, scale, r, false);
}

void CQuadElem::PickDrawGL(int r, int mode, double scale)
{
    PickDrawCorners(r, mode, scale, 4);
}

void CQuadElem::GLDrawDistorted(int flags, double scale, int a, int b, int c)
{
    DrawDistortedCorners(4, GL_QUADS, flags, scale, a, b, c);
}

void CQuadElem::DrawEffStress(int type, int flags, double scale, int a, int b, int c, double k1, double k2)
{
    if (GetCount() < 4 || !HasResults())
        return;
    double v[5];
    for (int k = 0; k < 5; ++k)
        v[k] = EffStressAt(k, type, a, b, c, k1, k2);
    DrawAroundCentre(v, v[4], flags, scale, -1, true);
}

void CQuadElem::GLWireFramePriStress(int flags, bool major, double scale, int sx, int sy, int txy)
{
    double v[4];
    for (int k = 0; k < 4; ++k)
        v[k] = PriStressAt(k, major, sx, sy, txy);
    WireVertices(v, flags, scale, -1, true);
}

void CQuadElem::DrawPriStress(int flags, bool major, double scale, int sx, int sy, int txy)
{
    if (GetCount() < 4 || !HasResults())
        return;
    if (flags & 16) {
        BeginGL();
        GLWireFramePriStress(flags, major, scale, sx, sy, txy);
        glEnd();
        return;
    }
    double v[5];
    for (int k = 0; k < 5; ++k)
        v[k] = PriStressAt(k, major, sx, sy, txy);
    DrawAroundCentre(v, v[4], flags, scale, -1, true);
}

void CQuadElem::DrawLocalStress(int which, int flags, bool polar, CVector& axis, double scale, int sx, int sy, int txy)
{
    if (GetCount() < 4 || !HasResults())
        return;
    double v[5];
    for (int k = 0; k < 5; ++k)
        v[k] = LocalStressAt(k, k < 4 ? GetNode(k) : &m_Centre, which, polar, axis, sx, sy, txy);
    DrawAroundCentre(v, v[4], flags, scale, -1, true);
}

// ------------------------------------------------------------ refinement

template <class T>
void CQuadElem::RefineInto(CSNode* ab, CSNode* bc, CSNode* cd, CSNode* da, CObList* out)
{
    CSNode* a = GetNode(0);
    CSNode* b = GetNode(1);
    CSNode* c = GetNode(2);
    CSNode* d = GetNode(3);
    CSNode* e = m_Centre.Copy(true);
    // The copy stands for itself: no link back to the embedded node.
    e->SetCopyNode(nullptr);
    m_Centre.SetCopyNode(nullptr);
    T* parts[4] = {new T(a, ab, e, da), new T(ab, b, bc, e), new T(bc, c, cd, e), new T(cd, d, da, e)};
    for (T* part : parts)
        AddPart(part, out);
}

void CQuadElem::RefineUniform(int n, CObList* out)
{
    if (!out || GetCount() < 4)
        return;
    CSNode* mid[4];
    if (FirstSideDividers(n, 4, mid))
        RefineInto<CQuadElem>(mid[0], mid[1], mid[2], mid[3], out);
}

CQuadElem::CQuadElem(const CQuadElem& source) : CElement(source)
{
    m_Centre.SetNodeCoord(source.m_Centre.x, source.m_Centre.y, source.m_Centre.z);
}

CGraph* CQuadElem::Copy(bool)
{
    return new CQuadElem(*this);
}

CGraph* CQuad8Elem::Copy(bool)
{
    return new CQuad8Elem(*this);
}

// ------------------------------------------------------------ eight-node quadrilateral

CQuad8Elem::CQuad8Elem(CSNode* a, CSNode* b, CSNode* c, CSNode* d, CSNode* ab, CSNode* bc, CSNode* cd,
                       CSNode* da)
    : CQuadElem(a, b, c, d)
{
    Init(a, b, c, d, ab, bc, cd, da);
    AppendNode(ab);
    AppendNode(bc);
    AppendNode(cd);
    AppendNode(da);
}

void CQuad8Elem::Init(CSNode* a, CSNode* b, CSNode* c, CSNode* d, CSNode*& ab, CSNode*& bc, CSNode*& cd,
                      CSNode*& da)
{
    FillMidSide(a, b, ab);
    FillMidSide(b, c, bc);
    FillMidSide(c, d, cd);
    FillMidSide(d, a, da);
}

void CQuad8Elem::UpdateNodeCoord()
{
    PlaceMidSideNodes(4);
}

void CQuad8Elem::RefineUniform(int, CObList* out)
{
    if (!out || GetCount() < 8)
        return;
    RefineInto<CQuad8Elem>(GetNode(4), GetNode(5), GetNode(6), GetNode(7), out);
}

void CQuad8Elem::GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool)
{
    EffStressExtremes(5, type, max, min, a, b, c, k1, k2);
}

void CQuad8Elem::SetNodeValues(CMatrix& m, int& row)
{
    SetNodeValuesOn(m, row, 4);
}

void CQuadElem::DrawValueExtrGL(CMatrix& param, double half, CVector& slope, int mode)
{
    DrawPrismGL(4, param, half, slope, mode);
}

#include "femodel/triangle.h"

#include "femodel/boundcond.h"
#include "femodel/load.h"
#include "glstyle/tincora.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CTriElement, CElement, 1)
IMPLEMENT_SERIAL(CTri4Elem, CTriElement, 1)
IMPLEMENT_SERIAL(CTri6Element, CTriElement, 1)


// ------------------------------------------------------------ three-node triangle

CTriElement::CTriElement(CSNode* a, CSNode* b, CSNode* c)
{
    AppendNode(a);
    AppendNode(b);
    AppendNode(c);
}

void CTriElement::SetForces(double* values)
{
    for (int i = 0; i < 8; ++i)
        m_dForce[i] = values[i];
}

double CTriElement::GetStress(int r, CSNode* node)
{
    if (r < m_nNodeVal)
        return GetStressFromIndex(r, FindIndex(node));
    return node ? node->GetValue(r - m_nNodeVal) : 0.0;
}

void CTriElement::GetCentroid(double& x, double& y)
{
    x = y = 0.0;
    if (GetCount() < 3)
        return;
    for (int i = 0; i < 3; ++i) {
        x += GetNode(i)->x;
        y += GetNode(i)->y;
    }
    x /= 3.0;
    y /= 3.0;
}

double CTriElement::PhysicalSize()
{
    if (GetCount() < 3)
        return 0.0;
    const CSNode* a = GetNode(0);
    const CSNode* b = GetNode(1);
    const CSNode* c = GetNode(2);
    return 0.5 * ((b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x));
}

bool CTriElement::IsPointInElem(CSNode* node)
{
    return node && CornersContain(3, node->x, node->y);
}

bool CTriElement::GetMaxMinStress(int index, double& max, double& min)
{
    bool any = false;
    for (int i = 0; i < 9 && !any; ++i)
        any = m_strMaxStress[i] != 0.0 || m_strMinStress[i] != 0.0;
    if (!any) {
        max = min = 0.0;
        return false;
    }
    if (index < 0 || index > 8)
        return false;
    return CElement::GetMaxMinStress(index, max, min);
}

void CTriElement::GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2, bool primaryOnly)
{
    PriStressExtremes(3, max1, min1, max2, min2, primaryOnly);
}

void CTriElement::InsertDOFs(CReorderMat& reorder, CArrayArray<LONG>& dofTable, int a)
{
    LONG list[6];
    for (int k = 0; k < 3; ++k) {
        const LONG* row = dofTable[static_cast<int>(GetNode(k)->GetID()) - 1];
        list[2 * k] = row[0];
        list[2 * k + 1] = row[1];
    }
    reorder.InsertDOFs(list, a, 6);
}

void CTriElement::DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col)
{
    DispersNodeValueOn(3, m, c, g, row, col);
}

// ------------------------------------------------------------ drawing

void CTriElement::BeginGL()
{
    glBegin(GL_TRIANGLES);
}

void CTriElement::GLDraw()
{
    CornerVerticesGL(3);
}

void CTriElement::DrawModelGL(bool nodes)
{
    if (GetCount() < 3)
        return;
    glBegin(GL_TRIANGLES);
    GLDraw();
    glEnd();
    if (nodes)
        DrawNodePointsGL();
}

void CTriElement::DrawCorners(const double v[3], int flags, double scale, int r, bool derived)
{
    const double* p[3] = {GetNode(0)->GetVertex(), GetNode(1)->GetVertex(), GetNode(2)->GetVertex()};
    DrawFace(p, v, flags, scale, r, derived);
}

void CTriElement::DrawAroundCentroid(const double v[3], double vc, int flags, double scale, int r, bool derived)
{
    double c[3] = {0.0, 0.0, 0.0};
    GetCentroid(c[0], c[1]);
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const double* p[3] = {GetNode(i)->GetVertex(), GetNode(j)->GetVertex(), c};
        const double w[3] = {v[i], v[j], vc};
        DrawFace(p, w, flags, scale, r, derived);
    }
}

void CTriElement::GLColorPlot(int r, int flags, double scale)
{
    CSNode* corners[3];
    if (!CornerNodes(3, corners))
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = CornerValue(r, k, corners[k]);
    if (m_nRes == 4 && !(flags & 16) && r < m_nNodeVal) {
        DrawAroundCentroid(v, GetStressFromIndex(r, 3), flags, scale, r, false);
        return;
    }
    const double* p[3] = {corners[0]->GetVertex(), corners[1]->GetVertex(), corners[2]->GetVertex()};
    DrawFace(p, v, flags, scale, r, false);
}

void CTriElement::PickDrawGL(int r, int mode, double scale)
{
    PickDrawCorners(r, mode, scale, 3);
}

void CTriElement::GLDrawDistorted(int flags, double scale, int a, int b, int c)
{
    DrawDistortedCorners(3, GL_TRIANGLES, flags, scale, a, b, c);
}

void CTriElement::DrawEffStress(int type, int flags, double scale, int a, int b, int c, double k1, double k2)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = EffStressAt(k, type, a, b, c, k1, k2);
    DrawCorners(v, flags, scale, -1, true);
}

void CTriElement::DrawPriStress(int flags, bool major, double scale, int sx, int sy, int txy)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = PriStressAt(k, major, sx, sy, txy);
    DrawCorners(v, flags, scale, -1, true);
}

void CTriElement::DrawLocalStress(int which, int flags, bool polar, CVector& axis, double scale, int sx, int sy, int txy)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = LocalStressAt(k, GetNode(k), which, polar, axis, sx, sy, txy);
    DrawCorners(v, flags, scale, -1, true);
}

void CTriElement::DrawLocalVect(int which, int flags, bool polar, CVector& axis, double scale, int a, int b)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = LocalVectAt(k, GetNode(k), which, polar, axis, a, b);
    DrawCorners(v, flags, scale, -1, true);
}

void CTriElement::GetEdgeLoads(CObList& list)
{
    CollectEdgeLoads(3, &list, 0.0, true, false);
}

void CTriElement::DrawEdgeLoadsGL(double scale)
{
    CollectEdgeLoads(3, nullptr, scale, true, true);
}

// ------------------------------------------------------------ refinement

void CTriElement::RefineUniform(int n, CObList* out)
{
    RefineAtDividers<CTriElement>(n, out);
}

// ------------------------------------------------------------ four-node triangle

CTri4Elem::CTri4Elem(CSNode* a, CSNode* b, CSNode* c) : CTriElement(a, b, c)
{
}

void CTri4Elem::RefineUniform(int n, CObList* out)
{
    RefineAtDividers<CTri4Elem>(n, out);
}

void CTri4Elem::DrawEdgeLoadsGL(double scale)
{
    CollectEdgeLoads(3, nullptr, scale, false, true);
}

void CTri4Elem::SetStresses(CMatrix& m, int& row)
{
    CElement::SetStresses(m, row);
    if (m_nRes <= 3)
        row += 4 - m_nRes;
}

// ------------------------------------------------------------ six-node triangle

CTri6Element::CTri6Element(CSNode* a, CSNode* b, CSNode* c, CSNode* ab, CSNode* bc, CSNode* ca)
    : CTriElement(a, b, c)
{
    Init(a, b, c, ab, bc, ca);
    AppendNode(ab);
    AppendNode(bc);
    AppendNode(ca);
}

void CTri6Element::Init(CSNode* a, CSNode* b, CSNode* c, CSNode*& ab, CSNode*& bc, CSNode*& ca)
{
    FillMidSide(a, b, ab);
    FillMidSide(b, c, bc);
    FillMidSide(c, a, ca);
}

void CTri6Element::UpdateNodeCoord()
{
    PlaceMidSideNodes(3);
}

void CTri6Element::RefineUniform(int, CObList* out)
{
    if (!out || GetCount() < 6)
        return;
    RefineInto<CTri6Element>(GetNode(3), GetNode(4), GetNode(5), out);
}

void CTri6Element::GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool)
{
    EffStressExtremes(3, type, max, min, a, b, c, k1, k2);
}

void CTri6Element::SetNodeValues(CMatrix& m, int& row)
{
    SetNodeValuesOn(m, row, 3);
}

void CTri6Element::GetBCs(CObList& list)
{
    int k = 0;
    for (POSITION p = GetHeadPosition(); p; ++k) {
        CSNode* node = GetNextNode(p);
        if (!IsOwnNode(node))
            continue;
        CBoundCond* bc = node->GetBC(0);
        if (!bc)
            continue;
        const long id = static_cast<long>(node->GetID());
        bc->SetID(static_cast<unsigned long>(k < 3 ? id : -id));
        list.AddTail(bc);
    }
}

void CTriElement::DrawValueExtrGL(CMatrix& param, double half, CVector& slope, int mode)
{
    DrawPrismGL(3, param, half, slope, mode);
}

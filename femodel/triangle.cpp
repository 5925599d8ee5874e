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
    const CVector* v = node ? node->m_pValues : nullptr;
    const int j = r - m_nNodeVal;
    return (v && j < v->GetSize()) ? (*v)[j] : 0.0;
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
    if (!HasResults())
        return;
    for (int k = 0; k < 3 && k < m_nRes && k < GetCount(); ++k) {
        if (primaryOnly && !IsOwnNode(GetNode(k)))
            continue;
        const double sx = GetRes(k, 0), sy = GetRes(k, 1), txy = GetRes(k, 2);
        const double p1 = PriStress(sx, sy, txy, true);
        const double p2 = PriStress(sx, sy, txy, false);
        if (p1 > max1)
            max1 = p1;
        else if (p1 < min1)
            min1 = p1;
        if (p2 > max2)
            max2 = p2;
        else if (p2 < min2)
            min2 = p2;
    }
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
    for (int k = 0; k < 3 && k < GetCount(); ++k) {
        const CSNode* node = GetNode(k);
        m[row][col + k] = c + g[0] * node->x + g[1] * node->y;
    }
    ++row;
}

// ------------------------------------------------------------ drawing

void CTriElement::BeginGL()
{
    glBegin(GL_TRIANGLES);
}

void CTriElement::GLDraw()
{
    if (GetCount() < 3)
        return;
    for (int k = 0; k < 3; ++k)
        GetNode(k)->GLVertex();
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
    if (GetCount() < 3)
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = CornerValue(r, k);
    if (m_nRes == 4 && !(flags & 16) && r < m_nNodeVal) {
        DrawAroundCentroid(v, GetStressFromIndex(r, 3), flags, scale, r, false);
        return;
    }
    DrawCorners(v, flags, scale, r, false);
}

void CTriElement::PickDrawGL(int r, int mode, double scale)
{
    PickDrawCorners(r, mode, scale, 3);
}

void CTriElement::GLDrawDistorted(int flags, double scale, int a, int b, int c)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double q[3][3];
    double v[3];
    for (int k = 0; k < 3; ++k) {
        const CSNode* node = GetNode(k);
        const double ua = a >= 0 ? GetRes(k, a) : 0.0;
        const double ub = b >= 0 ? GetRes(k, b) : 0.0;
        const double uc = c >= 0 ? GetRes(k, c) : 0.0;
        q[k][0] = node->x + scale * ua;
        q[k][1] = node->y + scale * ub;
        q[k][2] = node->z + scale * uc;
        v[k] = std::sqrt(ua * ua + ub * ub + uc * uc);
    }
    const bool flat = flags & 128;
    const bool coloured = flags & 2;
    if (flat && !coloured)
        return;
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 3; ++k) {
        if (coloured)
            GLCPCombColor(v[k]);
        glVertex3d(q[k][0], q[k][1], flat ? 0.0 : q[k][2]);
    }
    glEnd();
}

void CTriElement::DrawEffStress(int type, int flags, double scale, int a, int b, int c, double k1, double k2)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = EffStress(type, GetRes(k, std::max(a, 0)), GetRes(k, std::max(b, 0)),
                         GetRes(k, std::max(c, 0)), k1, k2);
    DrawCorners(v, flags, scale, -1, true);
}

void CTriElement::DrawPriStress(int flags, bool major, double scale, int sx, int sy, int txy)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = PriStress(GetRes(k, std::max(sx, 0)), GetRes(k, std::max(sy, 0)),
                         GetRes(k, std::max(txy, 0)), major);
    DrawCorners(v, flags, scale, -1, true);
}

void CTriElement::DrawLocalStress(int which, int flags, bool polar, CVector& axis, double scale, int sx, int sy, int txy)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k) {
        const CSNode* node = GetNode(k);
        double out[3];
        LocalStress(LocalAngle(node->x, node->y, polar, axis), GetRes(k, std::max(sx, 0)),
                    GetRes(k, std::max(sy, 0)), GetRes(k, std::max(txy, 0)), out);
        v[k] = which == sx ? out[0] : which == sy ? out[1] : out[2];
    }
    DrawCorners(v, flags, scale, -1, true);
}

void CTriElement::DrawLocalVect(int which, int flags, bool polar, CVector& axis, double scale, int a, int b)
{
    if (GetCount() < 3 || !HasResults())
        return;
    double v[3];
    for (int k = 0; k < 3; ++k) {
        const CSNode* node = GetNode(k);
        const double t = LocalAngle(node->x, node->y, polar, axis);
        const double u = GetRes(k, std::max(a, 0)), w = GetRes(k, std::max(b, 0));
        v[k] = which == a ? std::cos(t) * u + std::sin(t) * w : std::cos(t) * w - std::sin(t) * u;
    }
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
    if (!ab)
        ab = TakeFirst(Subdiv(a, b, 1, 0));
    if (!bc)
        bc = TakeFirst(Subdiv(b, c, 1, 0));
    if (!ca)
        ca = TakeFirst(Subdiv(c, a, 1, 0));
}

void CTri6Element::UpdateNodeCoord()
{
    if (GetCount() < 6)
        return;
    for (int i = 0; i < 3; ++i) {
        const CSNode* p = GetNode(i);
        const CSNode* q = GetNode((i + 1) % 3);
        GetNode(3 + i)->SetNodeCoord((p->x + q->x) / 2.0, (p->y + q->y) / 2.0, (p->z + q->z) / 2.0);
    }
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

// CSectPlate: constructors, naming, archive, copy and the small region
// operations of a plate region.
#include "app/analysis/sectplate.h"

#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"

IMPLEMENT_SERIAL(CSectPlate, CSectMeshArea, 1)

namespace
{
// Graph identifiers start above this offset; names count from 1.
constexpr DWORD kGraphIDOffset = 4000000000u;

bool IsVoid(const CMaterial* material)
{
    return material && material->GetName() == "VOID";
}

// The plate regions among the inner regions of a region.
template <class F>
void ForEachInnerPlate(CObList* inner, F f)
{
    if (!inner)
        return;
    for (POSITION pos = inner->GetHeadPosition(); pos;) {
        CObject* ob = inner->GetNext(pos);
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CSectPlate)))
            f(static_cast<CSectPlate*>(ob));
    }
}
} // namespace

CSectPlate::CSectPlate() = default;

CSectPlate::CSectPlate(CSNode* a, CSNode* b, CSNode* c, CSNode* d, CMaterial* material)
{
    SetMaterial(material);
    NameFromID("Quad");
    for (CSNode* node : {a, b, c, d})
        if (node)
            node->m_uiFlags = 0;
    ConnectNodes(a, b);
    ConnectNodes(b, c);
    ConnectNodes(c, d);
    ConnectNodes(d, a);
    Validate();
}

CSectPlate::CSectPlate(CObList* nodes, CMaterial* material)
{
    NameFromID("Polygon");
    SetMaterial(material);
    if (!nodes || nodes->IsEmpty())
        return;
    CSNode* first = static_cast<CSNode*>(nodes->GetHead());
    CSNode* previous = nullptr;
    for (POSITION pos = nodes->GetHeadPosition(); pos;) {
        CSNode* node = static_cast<CSNode*>(nodes->GetNext(pos));
        node->m_uiFlags = 0;
        if (previous)
            ConnectNodes(previous, node);
        previous = node;
    }
    if (previous != first)
        ConnectNodes(first, previous);
    else
        NewNode(first);
    Validate();
}

CSectPlate::CSectPlate(CSNode* centre, CSNode* onCircle, CMaterial* material, int n, int mode)
{
    SetMaterial(material);
    NameFromID("Circle");
    if (n < 3)
        n = 3;
    CObList ring;
    CGraph::CircleNodes(&ring, onCircle, centre, n, mode);
    CSNode* previous = nullptr;
    CSNode* first = nullptr;
    for (POSITION pos = ring.GetHeadPosition(); pos;) {
        CSNode* node = static_cast<CSNode*>(ring.GetNext(pos));
        if (!first) {
            first = node;
            NewNode(node);
        } else {
            // A boundary node in place of the plain one, with its identifier:
            // the replacement uses up no node identifier.
            CSNode* replacement = CreateNode(node->x, node->y, node->z);
            replacement->m_uiFlags = node->m_uiFlags;
            replacement->SetID(node->m_ulID);
            --CSNode::lIDnode;
            AddTail(replacement);
            replacement->AddGraph(this);
            delete node;
            node = replacement;
        }
        if (previous)
            new CBoundary(previous, node);
        previous = node;
    }
    if (first && previous && previous != first)
        new CBoundary(previous, first);
}

CSectPlate::CSectPlate(CSNode* a, CSNode* b, CSNode* c, CMaterial* material)
{
    // A triangle carries its material like every other region; without it
    // the mesh generation would take the triangle for a hole.
    SetMaterial(material);
    NameFromID("Triangle");
    for (CSNode* node : {a, b, c})
        if (node)
            node->m_uiFlags = 0;
    ConnectNodes(a, b);
    ConnectNodes(a, c);
    ConnectNodes(b, c);
    Validate();
}

CSectPlate::CSectPlate(const CSectPlate& source, bool keepName)
    : CSectMeshArea(source, keepName), m_dThickness(source.m_dThickness), m_dLoad(source.m_dLoad)
{
    if (!keepName) {
        const int n = source.GetCount();
        NameFromID(n <= 3 ? "Triangle" : (n == 4 ? "Quad" : "Polygon"));
    }
    if (!source.m_pSubList)
        return;
    for (POSITION pos = source.m_pSubList->GetHeadPosition(); pos;) {
        CObject* ob = source.m_pSubList->GetNext(pos);
        if (!ob || !ob->IsKindOf(RUNTIME_CLASS(CGraph)))
            continue;
        CGraph* copy = static_cast<CGraph*>(ob)->Copy(keepName);
        if (!copy)
            continue;
        if (!m_pSubList)
            m_pSubList = new CObList(10);
        m_pSubList->AddTail(static_cast<CObject*>(copy));
        if (copy->IsKindOf(RUNTIME_CLASS(CSectArea)))
            static_cast<CSectArea*>(copy)->SetOuterSect(this);
    }
}

CSectPlate::CSectPlate(CFile* file, CStringArray& markers, int* options, int nOptions,
                       double* values, int nValues, CObList* list, double thickness, double load)
    : m_dThickness(thickness), m_dLoad(load)
{
    ASCII_SETTING set;
    set.m_Keys.Copy(markers);
    set.m_pFile = file;
    set.m_bMerge = true;
    const int n = file ? ASCIIReadGraph(set, options, nOptions, values, nValues, list) : 0;
    if (n < 1) {
        ClearNodes();
        return;
    }
    NameFromID(n <= 3 ? "Triangle" : (n == 4 ? "Quad" : "Polygon"));
}

CSectPlate::~CSectPlate() = default;

void CSectPlate::NameFromID(const char* prefix)
{
    CString name;
    name.Format("%s (%u)", prefix, static_cast<unsigned>(static_cast<DWORD>(GetID()) - kGraphIDOffset));
    SetName(name);
}

void CSectPlate::Serialize(CArchive& ar)
{
    CSectMeshArea::Serialize(ar);
    m_ThicknessCoeffs.Serialize(ar);
    m_LoadCoeffs.Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_pOuter);
        ar << m_dLoad << m_dThickness;
    } else {
        // The outer region is one read before (the region whose inner list
        // is being read): a new one here would have no owner.
        auto* outer = ar.ReadObjectAs<CSectArea>(RUNTIME_CLASS(CSectPlate), CArchive::useExisting);
        // A region that is being loaded sets itself as the outer region of
        // its inner regions once its list is read; a reference to a region
        // that does not hold this one is not taken, so that no region
        // points at an outer region that does not know it.
        CObList* inner = outer ? outer->GetSubList() : nullptr;
        m_pOuter = (inner && inner->Find(this)) ? outer : nullptr;
        ar >> m_dLoad >> m_dThickness;
    }
}

CGraph* CSectPlate::Copy(bool keepName)
{
    CSectPlate* copy = new CSectPlate(*this, keepName);
    copy->m_ThicknessCoeffs = m_ThicknessCoeffs;
    copy->m_LoadCoeffs = m_LoadCoeffs;
    return copy;
}

CSNode* CSectPlate::CreateNode(double x, double y, double z)
{
    return new CBoundNode(x, y, z, nullptr, 0);
}

void CSectPlate::CopyAttrib(CSection* other)
{
    CSectArea::CopyAttrib(other);
    if (!other || !other->IsKindOf(RUNTIME_CLASS(CSectPlate)))
        return;
    CSectPlate* plate = static_cast<CSectPlate*>(other);
    m_dThickness = plate->m_dThickness;
    m_dLoad = plate->m_dLoad;
    m_ThicknessCoeffs = plate->m_ThicknessCoeffs;
    m_LoadCoeffs = plate->m_LoadCoeffs;
}

bool CSectPlate::IsMeshKind(unsigned bits)
{
    if (CMeshOrganizer* mesh = GetMesh(); mesh && (mesh->m_dwWord & bits) == 0)
        return false;
    bool all = true;
    ForEachInnerPlate(m_pSubList, [&](CSectPlate* inner) {
        if (all && !inner->IsMeshKind(bits))
            all = false;
    });
    return all;
}

void CSectPlate::SetLoad(double value, CVector& coeffs)
{
    m_dLoad = value;
    m_LoadCoeffs = coeffs;
}

void CSectPlate::SetThickness(double value, CVector& coeffs)
{
    m_dThickness = value;
    m_ThicknessCoeffs = coeffs;
}

void CSectPlate::SetThickness(double value)
{
    m_dThickness = value;
    m_ThicknessCoeffs.Allocate(0, true, 0.0);
}

void CSectPlate::SetLoad(double value)
{
    m_dLoad = value;
    m_LoadCoeffs.Allocate(0, true, 0.0);
}

namespace
{
// Slope of the top face of a thickness plane: half the thickness slope.
void HalfSlope(CVector& coeffs, CVector& top, CVector& bottom)
{
    if (coeffs.GetSize() < 4)
        return;
    top.Allocate(2, true, 0.0);
    bottom.Allocate(2, true, 0.0);
    top[0] = coeffs[2] * 0.5;
    top[1] = coeffs[3] * 0.5;
    bottom[0] = -top[0];
    bottom[1] = -top[1];
}
} // namespace

void CSectPlate::ExtrudeThicknessGL(bool flag)
{
    const double half = m_dThickness / 2.0;
    CVector top;
    CVector bottom;
    HalfSlope(m_ThicknessCoeffs, top, bottom);
    ExtrudeDrawGL(flag, true, half, -half, top, bottom, true);
    ForEachInnerPlate(m_pSubList, [&](CSectPlate* inner) { inner->ExtrudeThicknessGL(flag); });
}

void CSectPlate::DrawThicknessGL(CMatrix& param, int mode)
{
    if (CMeshOrganizer* mesh = GetMesh(); mesh && m_pMaterial && !IsVoid(m_pMaterial)) {
        CVector top;
        CVector bottom;
        HalfSlope(m_ThicknessCoeffs, top, bottom);
        mesh->DrawValueExtrGL(param, m_dThickness / 2.0, top, mode);
    }
    ForEachInnerPlate(m_pSubList, [&](CSectPlate* inner) { inner->DrawThicknessGL(param, mode); });
}

void CSectPlate::QuadToQuad(int kind)
{
    if (CMeshOrganizer* mesh = GetMesh())
        mesh->QuadToQuad(kind);
    ForEachInnerPlate(m_pSubList, [&](CSectPlate* inner) { inner->QuadToQuad(kind); });
}

bool CSectPlate::IsRightOfEdgeInside(CEdge* edge)
{
    // A point just right of the edge's middle: inside when the region lies
    // on that side (the edge runs clockwise round it). Edges of a
    // neighbour that only start at one of the region's nodes are taken as
    // running counter-clockwise round their own region.
    const CSNode* a = edge->GetNode1();
    const CSNode* b = edge->GetNode2();
    const double dx = b->x - a->x, dy = b->y - a->y;
    const double step = 1e-3;
    return CGraph::IsPointInside2D(*this, 0.5 * (a->x + b->x) + step * dy, 0.5 * (a->y + b->y) - step * dx);
}

void CSectPlate::DrawEdgeLoads(double scale, bool onMesh, int)
{
    if (onMesh) {
        if (CMeshOrganizer* mesh = GetMesh())
            mesh->DrawEdgeLoadsGL(scale);
    } else {
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNextNode(pos);
            CObList* edges = node->GetEdgeList();
            if (!edges)
                continue;
            for (POSITION ep = edges->GetHeadPosition(); ep;) {
                CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
                if (edge->GetNode1() != node)
                    continue;
                CLoad* load = edge->GetLoad();
                if (load && load->IsKindOf(RUNTIME_CLASS(CEdgeLoad)))
                    static_cast<CEdgeLoad*>(load)->DrawGL(edge, scale, false, !IsRightOfEdgeInside(edge));
            }
        }
    }
    ForEachInnerPlate(m_pSubList,
                      [&](CSectPlate* inner) { inner->DrawEdgeLoads(scale, onMesh, 0); });
}

void CSectPlate::DrawDispersAngle()
{
    if (CMeshOrganizer* mesh = GetMesh(); mesh && m_vAxes.GetSize() > 0)
        mesh->GLDrawDispersAngle(m_bPolar, m_vAxes);
    ForEachInnerPlate(m_pSubList, [&](CSectPlate* inner) { inner->DrawDispersAngle(); });
}

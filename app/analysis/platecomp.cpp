// CPlateComp: settings, archive, copy, the material list, the element-type
// setting with the conversion of an existing mesh, and the small operations
// that run over all regions.
#include "app/analysis/platecomp.h"
#include "app/analysis/solverentries.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <unordered_set>

#include "femodel/strelna.h"
#include "platform/afx/runtime.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ferrand/ferrand.h"
#include "platform/weblar/weblar.h"

IMPLEMENT_SERIAL(CPlateComp, CSectComp, 1)

namespace
{

bool IsTriangleKind(int kind)
{
    return kind >= 101 && kind <= 103;
}

bool IsQuadKind(int kind)
{
    return kind == 104 || kind == 105;
}
} // namespace

CPlateComp::CPlateComp()
{
    m_LocalMax.Allocate(5, true, 0.0);
    m_LocalMin.Allocate(5, true, 0.0);
    m_LocalDir.Allocate(2, true, 0.0);
    SetFactor(-1.0);
}

CPlateComp::~CPlateComp()
{
    // The materials belong to the owner of the component.
    m_MaterialList.RemoveAll();
}

void CPlateComp::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CObList::Serialize(ar);
        ar << LONG(2);
        ar << m_dFactor;
        ar << LONG(m_iActVal);
        ar << m_strName;
        ar << DWORD(m_uiSecond) << DWORD(m_uiResCount);
        ar << LONG(m_bAutoSpacing ? 1 : 0);
        ar << m_dMeshArea;
        for (int v : {m_iElemType, m_iMeshKind, m_iIntegrationRule, m_iIntegrationPoints,
                      m_iPlaneStrain, m_iStorage, m_iSubdivisions, m_iRenumbering,
                      m_iSymmetryCode})
            ar << LONG(v);
        ar.WriteObject(&m_MaterialList);
        ar << LONG(m_nMinElements);
    } else {
        // The model owns its regions: each entry must be a new section, read
        // here. Anything else is refused at once; the list holds only
        // accepted regions, however the reading ends.
        ar.ReadListEntries(*this, [](CArchive& a) -> CObject* {
            CSection* section = a.ReadObjectAs<CSection>(RUNTIME_CLASS(CSection), CArchive::useOwned);
            if (!section)
                AfxThrowArchiveException(CArchiveException::badClass);
            return section;
        });
        LONG version = 0;
        LONG l = 0;
        DWORD dw = 0;
        ar >> version;
        ar >> m_dFactor;
        ar >> l;
        m_iActVal = l;
        ar >> m_strName;
        ar >> dw;
        m_uiSecond = dw;
        ar >> dw;
        m_uiResCount = dw;
        ar >> l;
        m_bAutoSpacing = l != 0;
        ar >> m_dMeshArea;
        for (int* v : {&m_iElemType, &m_iMeshKind, &m_iIntegrationRule, &m_iIntegrationPoints,
                       &m_iPlaneStrain, &m_iStorage, &m_iSubdivisions, &m_iRenumbering,
                       &m_iSymmetryCode}) {
            ar >> l;
            *v = l;
        }
        // The material list: a new list object of the reader's (it goes once
        // its materials are taken over); the materials are shared with the
        // regions, each listed once.
        if (CObList* list = ar.ReadListObject([](CArchive& a) -> CObject* {
                CMaterial* material = a.ReadObjectAs<CMaterial>(RUNTIME_CLASS(CMaterial));
                if (!material)
                    AfxThrowArchiveException(CArchiveException::badClass);
                return material;
            })) {
            std::unique_ptr<CObList> owned(list);
            std::unordered_set<CObject*> seen;
            for (POSITION pos = list->GetHeadPosition(); pos;)
                if (!seen.insert(list->GetNext(pos)).second)
                    AfxThrowArchiveException(CArchiveException::badIndex);
            for (POSITION pos = list->GetHeadPosition(); pos;)
                m_MaterialList.AddTail(list->GetNext(pos));
        }
        if (version == 2) {
            ar >> l;
            m_nMinElements = l;
        }
    }
    m_VolumeForce.Serialize(ar);
    m_MaxVals.Serialize(ar);
    m_MinVals.Serialize(ar);
    if (ar.IsLoading()) {
        m_nElements = GetElementCount(true);
        m_nNodes = GetNodeCount(true);
    }
}

void CPlateComp::Copy(CSectComp*& target, bool deep)
{
    if (!target)
        target = new CPlateComp;
    CSectComp::Copy(target, deep);
    if (!target->IsKindOf(RUNTIME_CLASS(CPlateComp)))
        return;
    CPlateComp* to = static_cast<CPlateComp*>(target);
    to->AddMaterial(&m_MaterialList);
    to->m_bAutoSpacing = m_bAutoSpacing;
    to->m_dMeshArea = m_dMeshArea;
    to->m_iElemType = m_iElemType;
    to->m_iMeshKind = m_iMeshKind;
    to->m_iIntegrationRule = m_iIntegrationRule;
    to->m_iIntegrationPoints = m_iIntegrationPoints;
    to->m_iPlaneStrain = m_iPlaneStrain;
    to->m_iPrintLevel = m_iPrintLevel;
    to->m_iStorage = m_iStorage;
    to->m_iRenumbering = m_iRenumbering;
    to->m_iSymmetryCode = m_iSymmetryCode;
    to->m_iSubdivisions = m_iSubdivisions;
    to->m_VolumeForce = m_VolumeForce;
    if (!deep)
        return;
    for (POSITION pos = m_MaterialList.GetHeadPosition(); pos;) {
        CMaterial* material = static_cast<CMaterial*>(m_MaterialList.GetNext(pos));
        to->ReplaceMaterial(material, material->Copy());
    }
}

bool CPlateComp::RemoveElem(CObject* element)
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (section->IsKindOf(RUNTIME_CLASS(CSectMeshArea)) &&
            static_cast<CSectMeshArea*>(section)->RemoveElem(element))
            return true;
    }
    return false;
}

int CPlateComp::RemoveElems(const std::unordered_set<CObject*>& elements)
{
    int removed = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) { removed += r->RemoveElems(elements); });
    return removed;
}

void CPlateComp::ResetParam()
{
}

void CPlateComp::RemoveNode(CSNode* node)
{
    CObList* graphs = node ? node->GetGraphList() : nullptr;
    if (!graphs)
        return;
    // Deleting a region changes the node's graph list: work on a snapshot.
    CObList snapshot;
    for (POSITION pos = graphs->GetHeadPosition(); pos;)
        snapshot.AddTail(graphs->GetNext(pos));
    for (POSITION pos = snapshot.GetHeadPosition(); pos;) {
        CObject* graph = snapshot.GetNext(pos);
        // A region dealt with on the way (an inner region that an outer
        // one dropped) has left the node's list by now.
        if (node->IsGraphInList(graph) < 0 || !graph->IsKindOf(RUNTIME_CLASS(CSectArea)))
            continue;
        CSectArea* region = static_cast<CSectArea*>(graph);
        if (region->RemoveNode(node))
            continue;
        if (CSectArea* outer = region->GetOuterSect())
            outer->RemoveInnerSect(region);
        else if (!Remove(region))
            continue; // not a region of this model: not ours to delete
        delete region;
    }
}

CObject* CPlateComp::GetObjectFromString(CString name)
{
    if (name == m_strName)
        return this;
    if (CMaterial* material = FindMaterial(m_MaterialList, name))
        return material;
    return CSectComp::GetObjectFromString(name);
}

double CPlateComp::CalcArea()
{
    m_dMeshArea = CSectComp::CalcArea();
    if (m_iSymmetryCode == 2)
        m_dMeshArea *= 2.0;
    else if (m_iSymmetryCode == 4)
        m_dMeshArea *= 4.0;
    return m_dMeshArea;
}

int CPlateComp::ReservedQuery(int)
{
    return 0;
}

int CPlateComp::GetNodeCount(bool flag)
{
    long count = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) { r->SumDiscrNodes(count, flag); });
    return static_cast<int>(count);
}

int CPlateComp::GetElementCount(bool renumber)
{
    long count = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) { r->GetFECount(count, renumber); });
    return static_cast<int>(count);
}

double CPlateComp::RefineMesh(int, CStringArray* log)
{
    if (m_bBusy)
        return 0.0;
    const double start = AfxProcessorSeconds();
    {
        CIdentifierCounters counters;
        StopCalculation(false);
        m_bBusy = true;
        for (POSITION pos = CObList::GetHeadPosition(); pos;)
            GetNext(pos)->RefineUniform(1, 0);
        m_nElements = GetElementCount(true);
        m_nNodes = GetNodeCount(true);
        CalcArea();
    }
    const double elapsed = AfxProcessorSeconds() - start;
    if (log) {
        CString line;
        line.Format("Used time refining mesh: %.3f  seconds\r\n", elapsed);
        log->Add(line);
        line.Format("number of nodes: %d\tnumber of elements: %d\r\n", m_nNodes, m_nElements);
        log->Add(line);
        AppendAreaLine(log);
    }
    m_bBusy = false;
    return elapsed;
}

void CPlateComp::AppendAreaLine(CStringArray* log) const
{
    if (!log)
        return;
    const int s = (iStandard == 1) ? 1 : 0;
    const int unit = iConv[s][9][0];
    const int format = iConv[s][9][1];
    const int digits = iConv[s][9][2];
    const double value = MetricToX(s, kUnitArea, unit) * m_dMeshArea;
    const CString label = UnitString(s, kUnitArea, unit);
    CString line;
    if (format == 0)
        line.Format("Area of generated elements: %.*e %s\r\n", digits, value, (LPCTSTR)label);
    else if (format == 1)
        line.Format("Area of generated elements: %.*f %s\r\n", digits, value, (LPCTSTR)label);
    else
        line.Format("Area of generated elements: %.*g %s\r\n", digits, value, (LPCTSTR)label);
    log->Add(line);
}

void CPlateComp::DrawExtruded(bool filled)
{
    glPolygonMode(GL_FRONT_AND_BACK, filled ? GL_FILL : GL_LINE);
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (section->IsKindOf(RUNTIME_CLASS(CSectPlate)))
            static_cast<CSectPlate*>(section)->ExtrudeThicknessGL(filled);
    }
}

void CPlateComp::DeleteMesh()
{
    ForEachMeshRegion([&](CSectMeshArea* r) { r->DeleteMesh(true); });
}

namespace
{

// The region and its outer region lose their meshes: the outer region's
// mesh holds the outline of its holes.
void DeleteRegionMesh(CSectMeshArea* region)
{
    region->DeleteMesh(false);
    if (auto* outer = dynamic_cast<CSectMeshArea*>(region->GetOuterSect()))
        outer->DeleteMesh(false);
}

// The regions (sub-sections included) whose refine list holds the graph.
void DeleteMeshesRefinedBy(CObList* sections, CObject* graph)
{
    for (POSITION pos = sections ? sections->GetHeadPosition() : nullptr; pos;) {
        auto* region = dynamic_cast<CSectMeshArea*>(sections->GetNext(pos));
        if (!region)
            continue;
        POSITION first = nullptr;
        if (CObList* refine = region->GetRefineList(first); refine && refine->Find(graph))
            DeleteRegionMesh(region);
        DeleteMeshesRefinedBy(region->GetSubList(), graph);
    }
}

} // namespace

void CPlateComp::DeleteMeshesAt(CObject* object)
{
    if (!object)
        return;
    if (object->IsKindOf(RUNTIME_CLASS(CObList))) {
        auto* list = static_cast<CObList*>(object);
        for (POSITION pos = list->GetHeadPosition(); pos;)
            DeleteMeshesAt(list->GetNext(pos));
        return;
    }
    if (object->IsKindOf(RUNTIME_CLASS(CEdge))) {
        auto* edge = static_cast<CEdge*>(object);
        DeleteMeshesAt(edge->GetNode1());
        DeleteMeshesAt(edge->GetNode2());
        return;
    }
    if (!object->IsKindOf(RUNTIME_CLASS(CSNode)))
        return;
    CObList* graphs = static_cast<CSNode*>(object)->GetGraphList();
    for (POSITION pos = graphs ? graphs->GetHeadPosition() : nullptr; pos;) {
        CObject* graph = graphs->GetNext(pos);
        if (auto* region = dynamic_cast<CSectMeshArea*>(graph))
            DeleteRegionMesh(region); // its outline or one of its refine points
        else if (!graph->IsKindOf(RUNTIME_CLASS(CElement)))
            DeleteMeshesRefinedBy(static_cast<CObList*>(this), graph); // a refine line
    }
}

int CPlateComp::AutoSubdivisions(double longest, double shortest)
{
    if (longest == 0.0 && shortest == 0.0)
        GetDist(longest, shortest);
    const unsigned long edges = CountEdges();
    // Without edges, or with a degenerate shortest edge, the formula has no
    // value; the default magnitude of the automatic setting stands in.
    if (edges == 0 || !(shortest > 0.0))
        return 10;
    const double n = std::floor(60.0 / static_cast<double>(edges) + longest / shortest);
    if (!(n < 2147483647.0))
        return 2147483647;
    return static_cast<int>(n);
}

void CPlateComp::AddMaterial(CMaterial* material)
{
    if (material)
        m_MaterialList.AddTail(material);
}

void CPlateComp::AddMaterial(CObList* materials)
{
    if (!materials)
        return;
    for (POSITION pos = materials->GetHeadPosition(); pos;)
        m_MaterialList.AddTail(materials->GetNext(pos));
}

void CPlateComp::ReplaceMaterial(CMaterial* oldMaterial, CMaterial* replacement)
{
    ReplaceListedMaterial(m_MaterialList, oldMaterial, replacement);
}

int CPlateComp::MeshKindForElementType(int code)
{
    switch (code) {
    case 31:
    case 65:
    case 66:
    case 81:
        return 101;
    case 32:
    case 61:
    case 75:
    case 85:
        return 103;
    case 33:
        return 102;
    case 41:
    case 42:
        return 104;
    case 44:
    case 46:
        return 105;
    default:
        return 0;
    }
}

void CPlateComp::SetElementType(int code)
{
    if (code == m_iElemType)
        return;
    DeleteResults(3);
    m_iElemType = code;
    const int kind = MeshKindForElementType(code);
    if (kind == 0 || kind == m_iMeshKind)
        return;
    if (IsTriangleKind(kind) && IsTriangleKind(m_iMeshKind))
        ConvertTriangleMesh(kind, true);
    else if (IsQuadKind(kind) && IsQuadKind(m_iMeshKind))
        ConvertQuadMesh(kind);
    else
        DeleteMesh();
    m_iMeshKind = kind;
}

void CPlateComp::ConvertTriangleMesh(int kind, bool flag)
{
    CIdentifierCounters counters;
    m_iMeshKind = kind;
    ForEachMeshRegion([&](CSectMeshArea* r) { r->TriToTri(kind, flag); });
}

void CPlateComp::ConvertQuadMesh(int kind)
{
    CIdentifierCounters counters;
    m_iMeshKind = kind;
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (section->IsKindOf(RUNTIME_CLASS(CSectPlate)))
            static_cast<CSectPlate*>(section)->QuadToQuad(kind);
    }
}

void CPlateComp::StopCalculation(bool stop)
{
    m_bStopRequest = stop;
    CSectMeshArea::StopCalc(stop);
    CMGenerator::Stop(stop);
    SetSolverStopRequest(stop);
}

#include "sections/beams/beamseg.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <mutex>

#include "platform/ferrand/material.h"
#include "sections/beams/beamarch.h"
#include "sections/beams/vec3.h"

IMPLEMENT_SERIAL(CBeamSeg, CEdge, VERSIONABLE_SCHEMA | 3)

int CBeamSeg::m_nDefElem = 10;
CRuntimeClass* CBeamSeg::m_pDefElemClass = nullptr;
CRuntimeClass* CBeamSeg::m_pCreateElemClass = nullptr;
CVector CBeamSeg::m_Defi3;

namespace
{

using beamvec::Cross;
using beamvec::Norm;

// Half sizes of the prism drawn for a member without cross-section.
constexpr double kDefaultHalfWidth = 23.0;
constexpr double kDefaultHalfHeight = 40.0;

bool IsZero(double v, double factor)
{
    return IsEqualTol(v, 0.0, factor);
}

bool HasOffset(const CVector& v)
{
    return v.GetSize() >= 3;
}

std::vector<const CRuntimeClass*>& ClassTable()
{
    static std::vector<const CRuntimeClass*> table;
    return table;
}

std::mutex& ClassTableMutex()
{
    static std::mutex m;
    return m;
}

CVector Row(const CMatrix& m, int i)
{
    CVector v(3);
    for (int k = 0; k < 3; ++k)
        v[k] = m[i][k];
    return v;
}

} // namespace

// ------------------------------------------------------------ construction

CBeamSeg::CBeamSeg() : m_nElem(m_nDefElem), m_pElemClass(m_pCreateElemClass), m_i3(3)
{
    if (m_Defi3.GetSize() == 3)
        m_i3 = m_Defi3;
    else
        m_i3[2] = 1.0;
}

CBeamSeg::CBeamSeg(CSNode* node1, CSNode* node2, CCrSectComp* crSect) : CEdge(node1, node2)
{
    m_nElem = m_nDefElem;
    m_pElemClass = m_pCreateElemClass;
    m_pCrSect = crSect;
    m_i3.Allocate(3, true, 0.0);
    if (m_Defi3.GetSize() == 3)
        m_i3 = m_Defi3;
    else
        m_i3[2] = 1.0;
    AutoUpdate_i3();
}

CBeamSeg::~CBeamSeg()
{
    delete m_pAux;
    delete[] m_pEndVals;
    DM_Clean();
    delete m_pLoad;
}

unsigned CBeamSeg::ClassToken(const CRuntimeClass* elementClass)
{
    if (!elementClass)
        return 0;
    std::lock_guard<std::mutex> lock(ClassTableMutex());
    auto& table = ClassTable();
    const auto it = std::find(table.begin(), table.end(), elementClass);
    if (it != table.end())
        return static_cast<unsigned>(it - table.begin()) + 1;
    table.push_back(elementClass);
    return static_cast<unsigned>(table.size());
}

const CRuntimeClass* CBeamSeg::TokenClass(unsigned token)
{
    std::lock_guard<std::mutex> lock(ClassTableMutex());
    const auto& table = ClassTable();
    return token >= 1 && token <= table.size() ? table[token - 1] : nullptr;
}

void CBeamSeg::SetAuxVector(CVector* v)
{
    if (v != m_pAux)
        delete m_pAux;
    m_pAux = v;
}

void CBeamSeg::SetEndValues(double start, double end)
{
    if (!m_pEndVals)
        m_pEndVals = new double[2];
    m_pEndVals[0] = start;
    m_pEndVals[1] = end;
}

void CBeamSeg::ClearEndValues()
{
    delete[] m_pEndVals;
    m_pEndVals = nullptr;
}

void CBeamSeg::SetMemberLoad(CObject* load)
{
    if (load != m_pLoad)
        delete m_pLoad;
    m_pLoad = load;
}

// ------------------------------------------------------------ geometry

void CBeamSeg::StartPoint(double* p) const
{
    m_pNode1->GetVertex(p[0], p[1], p[2]);
    if (HasOffset(m_StartOff))
        for (int k = 0; k < 3; ++k)
            p[k] += m_StartOff[k];
}

void CBeamSeg::EndPoint(double* p) const
{
    m_pNode2->GetVertex(p[0], p[1], p[2]);
    if (HasOffset(m_EndOff))
        for (int k = 0; k < 3; ++k)
            p[k] += m_EndOff[k];
}

void CBeamSeg::DirVect(double& dx, double& dy, double& dz, double len)
{
    if (!HasOffset(m_StartOff) && !HasOffset(m_EndOff)) {
        CEdge::DirVect(dx, dy, dz, len);
        return;
    }
    double a[3], b[3];
    StartPoint(a);
    EndPoint(b);
    dx = b[0] - a[0];
    dy = b[1] - a[1];
    dz = b[2] - a[2];
    if (len != 0.0) {
        const double l = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (l > 0.0) {
            dx *= len / l;
            dy *= len / l;
            dz *= len / l;
        }
    }
}

double CBeamSeg::GetLength() const
{
    if (!m_pNode1 || !m_pNode2)
        return 0.0;
    double a[3], b[3];
    StartPoint(a);
    EndPoint(b);
    const double d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    return Norm(d);
}

void CBeamSeg::GetT_loc(CMatrix& t, double)
{
    t.Allocate(3, 3, true, 0.0);
    double d[3];
    DirVect(d[0], d[1], d[2], 1.0);
    const double i3[3] = {m_i3[0], m_i3[1], m_i3[2]};
    SetAxes(t, d, i3);
}

void CBeamSeg::SetAxes(CMatrix& t, const double* row0, const double* row2)
{
    t.Allocate(3, 3, true, 0.0);
    double row1[3];
    Cross(row2, row0, row1);
    for (int k = 0; k < 3; ++k) {
        t[0][k] = row0[k];
        t[1][k] = row1[k];
        t[2][k] = row2[k];
    }
}

bool CBeamSeg::GetGlobCOG_Eccent(CVector& v, double length)
{
    if (!m_pCrSect)
        return false;
    const double cx = m_pCrSect->GetCoord(0), cy = m_pCrSect->GetCoord(1);
    if (cx == 0.0 && cy == 0.0)
        return false;
    CMatrix t;
    GetT_loc(t, length);
    v.Allocate(3, true, 0.0);
    for (int k = 0; k < 3; ++k)
        v[k] = cx * t[1][k] + cy * t[2][k];
    return true;
}

void CBeamSeg::GetBeamAxisDef(CVector& start, CVector& end, CVector*)
{
    start.Allocate(3, true, 0.0);
    end.Allocate(3, true, 0.0);
    StartPoint(&start[0]);
    EndPoint(&end[0]);
    CVector e;
    if (GetGlobCOG_Eccent(e, 0.0))
        for (int k = 0; k < 3; ++k) {
            start[k] += e[k];
            end[k] += e[k];
        }
}

void CBeamSeg::PreMult(CMatrix& r, CVector&)
{
    auto turn = [&](CVector& v) {
        if (v.GetSize() < 3)
            return;
        double out[3];
        for (int i = 0; i < 3; ++i)
            out[i] = r[i][0] * v[0] + r[i][1] * v[1] + r[i][2] * v[2];
        for (int i = 0; i < 3; ++i)
            v[i] = out[i];
    };
    turn(m_i3);
    turn(m_StartOff);
    turn(m_EndOff);
}

void CBeamSeg::Update()
{
    CEdge::Update();
    AutoUpdate_i3();
}

void CBeamSeg::GetI3(double& x, double& y, double& z)
{
    x = m_i3[0];
    y = m_i3[1];
    z = m_i3[2];
}

void CBeamSeg::SetI3(double x, double y, double z)
{
    m_i3.Allocate(3, true, 0.0);
    m_i3[0] = x;
    m_i3[1] = y;
    m_i3[2] = z;
    m_i3.Normalize();
}

void CBeamSeg::AutoUpdate_i3()
{
    double d[3] = {0.0, 0.0, 0.0};
    if (m_pNode1 && m_pNode2)
        DirVect(d[0], d[1], d[2], 1.0);
    if (m_i3.GetSize() == 3) {
        const double i3[3] = {m_i3[0], m_i3[1], m_i3[2]};
        double dxi[3];
        Cross(d, i3, dxi);
        if (!IsZero(Norm(dxi), 1000.0)) {
            // The part of i3 perpendicular to the member.
            double p[3];
            Cross(dxi, d, p);
            const double n = Norm(p);
            for (int k = 0; k < 3; ++k)
                m_i3[k] = p[k] / n;
            return;
        }
    }
    m_i3.Allocate(3, true, 0.0);
    const double dx = d[0], dy = d[1], dz = d[2];
    if (IsZero(dz, 1000.0)) {
        m_i3[2] = 1.0;
    } else if (IsEqualTol(dx * dx + dz * dz, 1.0, 1000.0)) {
        m_i3[0] = -dz;
        m_i3[2] = dx;
    } else {
        const double h = std::sqrt(dx * dx + dy * dy);
        m_i3[0] = -dz * dx / h;
        m_i3[1] = -dz * dy / h;
        m_i3[2] = (dx * dx + dy * dy) / h;
    }
    if (m_i3[2] < 0.0)
        for (int k = 0; k < 3; ++k)
            m_i3[k] = -m_i3[k];
}

// ------------------------------------------------------------ settings

CRuntimeClass* CBeamSeg::UsedElemClass() const
{
    return m_pElemClass ? m_pElemClass : m_pDefElemClass;
}

bool CBeamSeg::ClassMatches(unsigned token) const
{
    if (token == 0)
        return true;
    const CRuntimeClass* wanted = TokenClass(token);
    const CRuntimeClass* used = UsedElemClass();
    return wanted && used && used->IsDerivedFrom(wanted);
}

void CBeamSeg::SeedMeshLen(double h, unsigned elementClass)
{
    if (!ClassMatches(elementClass) || !(h > 0.0))
        return;
    const double n = std::floor(GetLength() / h + 0.5);
    // A count that no int holds leaves the count as it is.
    if (n >= 0.0 && n <= static_cast<double>(INT_MAX))
        m_nElem = static_cast<int>(n);
}

void CBeamSeg::RefineUniform(int n, unsigned elementClass)
{
    if (m_nElem == 0)
        return;
    double count = m_nElem;
    if (elementClass != 0) {
        if (!ClassMatches(elementClass))
            return;
        const double f = n >= 0 ? n : -1.0 / n;
        count = std::trunc(count * f);
    } else {
        count *= n;
    }
    count = std::min(count, static_cast<double>(INT_MAX));
    m_nElem = std::max(1, static_cast<int>(count));
}

CRuntimeClass* CBeamSeg::SetElemClass(CRuntimeClass* elementClass)
{
    CRuntimeClass* former = m_pElemClass;
    m_pElemClass = elementClass;
    return former;
}

CRuntimeClass* CBeamSeg::GetElemClass()
{
    return m_pElemClass;
}

CCrSectComp* CBeamSeg::GetCrSect()
{
    return m_pCrSect;
}

CCrSectComp* CBeamSeg::SetCrSect(CCrSectComp* crSect)
{
    CCrSectComp* former = m_pCrSect;
    m_pCrSect = crSect;
    return former;
}

// ------------------------------------------------------------ elements

CElement* CBeamSeg::ElementAt(int i) const
{
    return static_cast<CElement*>(m_Elements[i]);
}

CBarElm* CBeamSeg::BarAt(int i) const
{
    CElement* element = ElementAt(i);
    return element && element->IsKindOf(RUNTIME_CLASS(CBarElm)) ? static_cast<CBarElm*>(element)
                                                                : nullptr;
}

CObjVect* CBeamSeg::GetElements()
{
    return &m_Elements;
}

CSNode* CBeamSeg::GetElemNode(int i)
{
    const int n = ElementCount();
    if (n == 0)
        return nullptr;
    if (i >= 0 && i < n)
        return ElementAt(i)->GetHeadNode();
    return ElementAt(n - 1)->GetTailNode();
}

void CBeamSeg::DM_Clean()
{
    // A node's analysis copy held by these elements alone goes with them:
    // its link must not outlive it.
    for (CSNode* node : {m_pNode1, m_pNode2}) {
        CSNode* copy = node ? node->GetCopyNode() : nullptr;
        CObList* graphs = copy ? copy->GetGraphList() : nullptr;
        if (!graphs)
            continue;
        bool ours = true;
        for (POSITION pos = graphs->GetHeadPosition(); pos && ours;) {
            CObject* g = graphs->GetNext(pos);
            bool found = false;
            for (int i = 0; i < ElementCount() && !found; ++i)
                found = m_Elements[i] == g;
            ours = found;
        }
        if (ours)
            node->SetCopyNode(nullptr);
    }
    m_Elements.DeleteEntries();
    m_Elements.Allocate(0, false, nullptr);
}

CSNode* CBeamSeg::AnalysisNode(CSNode* node)
{
    // At a joint every member ends at a copy of its own (the joint's copy
    // link names the latest); the section ties them afterwards and puts the
    // joint's load on the linked one, so the copies carry none.
    if (auto* joint = dynamic_cast<CJointNode*>(node); joint && joint->IsJoint()) {
        CSNode* copy = node->Copy(false);
        if (auto* bound = dynamic_cast<CBoundNode*>(copy))
            bound->SetNodeLoad(nullptr);
        return copy;
    }
    if (CSNode* copy = node->GetCopyNode())
        return copy;
    CSNode* copy = node->Copy(false);
    node->SetCopyNode(copy);
    return copy;
}

void CBeamSeg::AddNodeLoad(CSNode* node, CNodeLoad* load)
{
    auto* bound = dynamic_cast<CBoundNode*>(node);
    if (!bound || !load) {
        delete load;
        return;
    }
    if (auto* present = dynamic_cast<CNodeLoad*>(bound->GetLoad()))
        present->AppendNodeLoad(load);
    else
        bound->SetNodeLoad(load);
}

void CBeamSeg::MakeElements(CRuntimeClass* elementClass, const std::vector<CSNode*>& nodes)
{
    const int n = static_cast<int>(nodes.size()) - 1;
    m_Elements.Allocate(n, true, nullptr);
    for (int i = 0; i < n; ++i) {
        CObject* made = elementClass->CreateObject();
        if (!made || !made->IsKindOf(RUNTIME_CLASS(CElement))) {
            delete made;
            continue;
        }
        auto* element = static_cast<CElement*>(made);
        element->AddNode(nodes[i]);
        element->AddNode(nodes[i + 1]);
        m_Elements[i] = element;
    }
    // Nodes no element took (a class that makes no elements) go again.
    for (std::size_t i = 1; i + 1 < nodes.size(); ++i)
        if (nodes[i]->GetGraphCount() == 0)
            delete nodes[i];
}

void CBeamSeg::AddEccentricity(CElement* element, int end, const double* v)
{
    if (!element || !element->IsKindOf(RUNTIME_CLASS(CBarElm)))
        return;
    auto* bar = static_cast<CBarElm*>(element);
    CVector* e = bar->GetEccent(end);
    if (!e) {
        e = new CVector(3);
        bar->SetEccent(end, e);
    }
    for (int k = 0; k < 3 && k < e->GetSize(); ++k)
        (*e)[k] += v[k];
}

void CBeamSeg::Discretize()
{
    DM_Clean();
    CRuntimeClass* elementClass = UsedElemClass();
    if (!elementClass || m_nElem <= 0 || !m_pNode1 || !m_pNode2)
        return;
    const int n = m_pCrSect ? m_nElem : 1;
    CSNode* first = AnalysisNode(m_pNode1);
    CSNode* last = AnalysisNode(m_pNode2);
    CVector start, end, e;
    GetBeamAxisDef(start, end, nullptr);
    const bool eccentric = GetGlobCOG_Eccent(e, 0.0);
    auto* load = dynamic_cast<CEdgeLoadEx*>(m_pLoad);

    std::vector<CSNode*> nodes;
    nodes.push_back(first);
    for (int i = 1; i < n; ++i) {
        const double f = static_cast<double>(i) / n;
        const double p[3] = {start[0] + f * (end[0] - start[0]), start[1] + f * (end[1] - start[1]),
                             start[2] + f * (end[2] - start[2])};
        nodes.push_back(load ? new CBoundNode(p[0], p[1], p[2], nullptr, 0)
                             : new CSNode(p[0], p[1], p[2], nullptr, 0));
    }
    nodes.push_back(last);

    if (load) {
        CMatrix t;
        GetT_loc(t, 0.0);
        const double l = GetLength() / n;
        // The eccentricity of an end load: the end offset plus the centre
        // of gravity, when either exists.
        auto endEccentricity = [&](const CVector& offset, CVector& out) -> CVector* {
            if (!HasOffset(offset) && !eccentric)
                return nullptr;
            out.Allocate(3, true, 0.0);
            for (int k = 0; k < 3; ++k)
                out[k] = (HasOffset(offset) ? offset[k] : 0.0) + (eccentric ? e[k] : 0.0);
            return &out;
        };
        CVector ecc;
        AddNodeLoad(first, load->GetNodeLoad(-1.0, l / 2.0, t, endEccentricity(m_StartOff, ecc)));
        for (int i = 1; i < n; ++i)
            AddNodeLoad(nodes[i], load->GetNodeLoad(2.0 * i / n - 1.0, l, t, nullptr));
        AddNodeLoad(last, load->GetNodeLoad(1.0, l / 2.0, t, endEccentricity(m_EndOff, ecc)));
    }
    MakeElements(elementClass, nodes);
    if (eccentric && ElementCount() > 0) {
        AddEccentricity(ElementAt(0), 1, &e[0]);
        AddEccentricity(ElementAt(ElementCount() - 1), 2, &e[0]);
    }
}

void CBeamSeg::PostDiscretize()
{
    const int n = ElementCount();
    for (int i = 0; i < n; ++i) {
        CBarElm* bar = BarAt(i);
        if (!bar)
            continue;
        bar->SetCrSectObject(m_pCrSect);
        bar->GetOrient() = m_i3;
    }
    AddEndOffsets();
}

void CBeamSeg::AddEndOffsets()
{
    const int n = ElementCount();
    if (n == 0)
        return;
    if (HasOffset(m_StartOff))
        AddEccentricity(ElementAt(0), 1, &m_StartOff[0]);
    if (HasOffset(m_EndOff))
        AddEccentricity(ElementAt(n - 1), 2, &m_EndOff[0]);
}

// The forwarders over the element list.
void CBeamSeg::PickDrawAddressGL(int code)
{
    if (!(code & 8))
        return;
    ForElements([&](CElement* element) { element->PickDrawAddressGL(code & ~8); });
}

void CBeamSeg::DM_GetRotParam(CLongVector& list, int& count)
{
    ForElements([&](CElement* element) { element->DM_GetRotParam(list, count); });
}

void CBeamSeg::DM_SetNodeValues(CMatrix& values, int& row)
{
    ForElements([&](CElement* element) { element->SetNodeValues(values, row); });
}

void CBeamSeg::GetKIND(CLongVector& kinds, int& index)
{
    ForElements([&](CElement* element) {
        if (index >= 0 && index < kinds.GetSize())
            kinds[index] = element->GetKind();
        ++index;
    });
}

void CBeamSeg::DM_BuildData(CModelInfo& model)
{
    ForElements([&](CElement* element) { element->DM_BuildData(model); });
}

void CBeamSeg::DM_SetResults(CModelInfo& model)
{
    ForElements([&](CElement* element) { element->DM_SetResults(model); });
}

void CBeamSeg::DM_InsertNodeBCs(CModelInfo& model)
{
    ForElements([&](CElement* element) { element->DM_InsertNodeBCs(model); });
}

void CBeamSeg::DM_GetInfo(CInfoContainer& info)
{
    ForElements([&](CElement* element) { element->DM_GetInfo(info); });
}

void CBeamSeg::GetBCNodes(CObList& nodes)
{
    ForElements([&](CElement* element) { element->GetBCNodes(nodes); });
}

void CBeamSeg::GetDiscrCoord(CMatrix& coord)
{
    ForElements([&](CElement* element) { element->GetDiscrCoord(coord); });
}

void CBeamSeg::GetMMNPC(CLongMatrix& table)
{
    for (int i = ElementCount() - 1; i >= 0; --i)
        if (CElement* element = ElementAt(i))
            element->GetMMNPC(table);
}

void CBeamSeg::GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& count)
{
    ForElements([&](CElement* element) { element->GetMMNPC(nodes, pointers, count); });
}

// ------------------------------------------------------------ new members

CEdge* CBeamSeg::NewEdge(CSNode* first, CSNode* second)
{
    auto* edge = new CBeamSeg(first, second, m_pCrSect);
    HandOn(edge);
    return edge;
}

void CBeamSeg::HandOn(CBeamSeg* edge) const
{
    edge->m_i3 = m_i3;
    edge->m_iSpare = m_iSpare;
    edge->m_nElem = m_nElem;
    edge->m_pElemClass = m_pElemClass;
    if (m_pAux)
        edge->m_pAux = new CVector(*m_pAux);
    edge->AutoUpdate_i3();
}

CEdge* CBeamSeg::Copy(CSNode* first, CSNode* second)
{
    CEdge* made = CEdge::Copy(first, second);
    auto* copy = dynamic_cast<CBeamSeg*>(made);
    if (!copy)
        return made;
    if (HasOffset(m_StartOff))
        copy->m_StartOff = m_StartOff;
    if (HasOffset(m_EndOff))
        copy->m_EndOff = m_EndOff;
    copy->m_i3 = m_i3;
    copy->m_iSpare = m_iSpare;
    copy->m_nElem = m_nElem;
    if (auto* load = dynamic_cast<CEdgeLoadEx*>(m_pLoad)) {
        CEdgeLoad* whole = nullptr;
        load->GetSegmentLoad(-1.0, 1.0, whole);
        copy->SetMemberLoad(whole);
    }
    if (m_pEndVals)
        copy->SetEndValues(m_pEndVals[0], m_pEndVals[1]);
    copy->SetAuxVector(m_pAux ? new CVector(*m_pAux) : nullptr);
    copy->m_pElemClass = m_pElemClass;
    return copy;
}

CGraph* CBeamSeg::DivisionGraph() const
{
    CObject* graph = m_pNode1->GetComGraph(m_pNode2);
    if (!graph)
        graph = m_pNode1->GetPrimaryGraph();
    return graph && graph->IsKindOf(RUNTIME_CLASS(CGraph)) ? static_cast<CGraph*>(graph) : nullptr;
}

CSNode* CBeamSeg::NewDivisionNode(CGraph* owner, const double* p) const
{
    CSNode* node = m_pNode1->NewNode(p[0], p[1], p[2], nullptr, 0);
    if (owner)
        owner->NewNode(node);
    return node;
}

void CBeamSeg::SplitAt(const std::vector<std::array<double, 3>>& points, CGraph* owner,
                       const std::function<void(CBeamSeg*, int)>& made)
{
    const int n = static_cast<int>(points.size()) + 1;
    // The first segment takes a non-zero start value.
    double* firstValues = nullptr;
    if (m_pEndVals && m_pEndVals[0] != 0.0) {
        firstValues = new double[2]{m_pEndVals[0], 0.0};
        m_pEndVals[0] = 0.0;
        if (m_pEndVals[1] == 0.0)
            ClearEndValues();
    }
    auto* load = dynamic_cast<CEdgeLoadEx*>(m_pLoad);
    auto segment = [&](int i) -> CObject* {
        if (!load)
            return nullptr;
        CEdgeLoad* part = nullptr;
        load->GetSegmentLoad(2.0 * i / n - 1.0, 2.0 * (i + 1) / n - 1.0, part);
        return part;
    };

    CSNode* node1 = m_pNode1;
    node1->RemoveEdge(this);
    CSNode* previous = node1;
    for (int i = 0; i < n - 1; ++i) {
        CSNode* node = NewDivisionNode(owner, points[i].data());
        auto* part = static_cast<CBeamSeg*>(NewEdge(previous, node));
        if (i == 0) {
            if (HasOffset(m_StartOff)) {
                part->m_StartOff = m_StartOff;
                m_StartOff.Allocate(0, false, 0.0);
            }
            part->m_pEndVals = firstValues;
        }
        part->SetMemberLoad(segment(i));
        if (made)
            made(part, i);
        previous = node;
    }
    SetMemberLoad(segment(n - 1));
    m_pNode1 = previous;
    previous->AddEdge(this);
}

void CBeamSeg::Divide(int, int n)
{
    DM_Clean();
    if (n < 2 || !m_pNode1 || !m_pNode2)
        return;
    double start[3];
    StartPoint(start);
    double step[3];
    DirVect(step[0], step[1], step[2], 0.0);
    std::vector<std::array<double, 3>> points;
    for (int i = 1; i < n; ++i)
        points.push_back(
            {start[0] + i * step[0] / n, start[1] + i * step[1] / n, start[2] + i * step[2] / n});
    SplitAt(points, DivisionGraph(), nullptr);
}

// ------------------------------------------------------------ drawing

void CBeamSeg::GLDrawLoad(COGLDrawCommand* command)
{
    if (!m_pLoad)
        return;
    CVector start, end;
    GetBeamAxisDef(start, end, nullptr);
    CMatrix t;
    GetT_loc(t, 0.0);
    CVector x = Row(t, 0), y = Row(t, 1), z = Row(t, 2);
    for (CLoad* load = dynamic_cast<CLoad*>(m_pLoad); load; load = load->GetNextLoad())
        if (auto* member = dynamic_cast<CEdgeLoadEx*>(load))
            member->DrawGL_OnLinear(command, x, y, z, start, end);
}

void CBeamSeg::DefaultPrismGL(const double* start, const double* end)
{
    double d[3] = {end[0] - start[0], end[1] - start[1], end[2] - start[2]};
    const double l = Norm(d);
    for (double& c : d)
        c /= l;
    const double i3[3] = {m_i3[0], m_i3[1], m_i3[2]};
    // u across the member (i3 x d), v the part of i3 perpendicular to it.
    double u[3], v[3];
    Cross(i3, d, u);
    Cross(d, u, v);
    const double nu = Norm(u), nv = Norm(v);
    if (nu == 0.0 || nv == 0.0)
        return;
    for (int k = 0; k < 3; ++k) {
        u[k] /= nu;
        v[k] /= nv;
    }
    const double a = kDefaultHalfWidth, b = kDefaultHalfHeight;
    // Each side: its normal (nu, nv) in the (u, v) plane and its corners.
    const double sides[4][6] = {
        {1, 0, a, -b, a, b}, {0, 1, a, b, -a, b}, {-1, 0, -a, b, -a, -b}, {0, -1, -a, -b, a, -b}};
    glBegin(GL_QUADS);
    for (const auto& side : sides) {
        glNormal3d(side[0] * u[0] + side[1] * v[0], side[0] * u[1] + side[1] * v[1],
                   side[0] * u[2] + side[1] * v[2]);
        const double* at[4] = {start, start, end, end};
        const int corner[4] = {0, 1, 1, 0};
        for (int k = 0; k < 4; ++k) {
            const double cu = side[2 + 2 * corner[k]], cv = side[3 + 2 * corner[k]];
            glVertex3d(at[k][0] + cu * u[0] + cv * v[0], at[k][1] + cu * u[1] + cv * v[1],
                       at[k][2] + cu * u[2] + cv * v[2]);
        }
    }
    glEnd();
}

void CBeamSeg::GLLine(bool solid, CSNode* from)
{
    if (!m_pNode1 || !m_pNode2 || (from && from != m_pNode1))
        return;
    CVector start, end;
    GetBeamAxisDef(start, end, nullptr);
    if (!solid) {
        m_pNode1->GLVertex();
        glVertex3d(start[0], start[1], start[2]);
        glVertex3d(start[0], start[1], start[2]);
        glVertex3d(end[0], end[1], end[2]);
        glVertex3d(end[0], end[1], end[2]);
        m_pNode2->GLVertex();
        return;
    }
    double largest = 0.0;
    for (int k = 0; k < 3; ++k)
        largest = std::max(largest, std::fabs(end[k] - start[k]));
    if (IsEqualTol(largest, 0.0, 100.0))
        return;
    if (!m_pCrSect) {
        double a[3], b[3];
        StartPoint(a);
        EndPoint(b);
        DefaultPrismGL(a, b);
        return;
    }
    CMatrix frame(3, 3);
    double d[3];
    DirVect(d[0], d[1], d[2], 1.0);
    const double i3[3] = {m_i3[0], m_i3[1], m_i3[2]};
    double r1[3], r2[3];
    Cross(i3, d, r1);
    Cross(d, r1, r2);
    for (int k = 0; k < 3; ++k) {
        frame[0][k] = d[k];
        frame[1][k] = r1[k];
        frame[2][k] = r2[k];
    }
    CMatrix frameEnd(frame);
    COGLDrawCommand command;
    m_pCrSect->DrawBeamGL(&command, start, end, frame, frameEnd, false, true, true);
    command.EndIf();
}

void CBeamSeg::GL_Draw(COGLDrawCommand* command)
{
    if (!command) {
        CEdge::GL_Draw(command);
        return;
    }
    const unsigned flags = command->m_uiState[0];
    if ((flags & 1) && !(flags & 2)) {
        command->EndIf();
        if (flags & 0x10)
            GLDrawLoad(command);
        command->EndIf();
        if (flags & 0x20) {
            CMatrix t;
            GetT_loc(t, 0.0);
            const double s = 0.25 * GetLength();
            for (int i = 0; i < 3; ++i)
                for (int k = 0; k < 3; ++k)
                    t[i][k] *= s;
            CVector start, end;
            GetBeamAxisDef(start, end, nullptr);
            CAxis::DrawGL(start, t);
        }
        if ((flags & 0x8) && m_pCrSect) {
            const CMaterial* material = m_pCrSect->GetBaseMat();
            CObList* list = m_pCrSect->GetMaterialList();
            if (!material && !list->IsEmpty())
                material = static_cast<const CMaterial*>(list->GetHead());
            if (material)
                material->GLColor();
        }
        if (flags & 0x4) {
            GLLine(true, nullptr);
        } else {
            command->BeginIf(GL_LINES);
            GLLine(false, nullptr);
            command->EndIf();
        }
        return;
    }
    if (!(flags & 2))
        return;
    if (flags & 1)
        ForElements([&](CElement* element) { element->GL_Draw(command); });
    command->EndIf();
    if (flags & 0x10)
        ForElements([&](CElement* element) { element->DrawNodeLoads(command->Scales(CNodeLoad::kScaleCount)); });
}

// ------------------------------------------------------------ text export

unsigned CBeamSeg::SectionNumber(CCrSectComp* crSect, CObList* sections)
{
    if (!crSect || !sections)
        return 0;
    unsigned i = 1;
    for (POSITION pos = sections->GetHeadPosition(); pos; ++i)
        if (sections->GetNext(pos) == crSect)
            return i;
    return 0;
}

int CBeamSeg::ClassIndex(CRuntimeClass* elementClass, const CBeamClassList* classes)
{
    if (!elementClass || !classes)
        return -1;
    const auto it = std::find(classes->begin(), classes->end(), elementClass);
    return it == classes->end() ? -1 : static_cast<int>(it - classes->begin());
}

unsigned CBeamSeg::CodeOf(const CBeamClassList* classes) const
{
    const int at = std::max(ClassIndex(m_pElemClass, classes), 0);
    if (const auto* arch = dynamic_cast<const CBeamArch*>(this)) {
        const unsigned type = arch->GetArchType() == CBeamArch::kCircular ? 1u : 0u;
        return 11u + 10u * type + static_cast<unsigned>(at);
    }
    return static_cast<unsigned>(at) + 1u;
}

void CBeamSeg::WriteExportLine(CArchive& ar, const std::vector<unsigned>& lead,
                               const char* pad) const
{
    std::string line = AfxFormat("%3u %3u", lead[0], lead[1]);
    for (std::size_t i = 2; i < lead.size(); ++i)
        line += AfxFormat(" %4u", lead[i]);
    static const double kUnit[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    int unit = -1;
    for (int k = 0; k < 3 && unit < 0; ++k)
        if (m_i3[0] == kUnit[k][0] && m_i3[1] == kUnit[k][1] && m_i3[2] == kUnit[k][2])
            unit = k;
    if (unit >= 0)
        line += AfxFormat("%sI%d\r\n", pad, unit + 1);
    else
        line += AfxFormat(" %5g %5g %5g\r\n", m_i3[0], m_i3[1], m_i3[2]);
    ar.Write(line.data(), static_cast<UINT>(line.size()));
}

void CBeamSeg::ASCIIExport(CArchive& ar, CObList* sections, const CBeamClassList* classes)
{
    const auto id = [](CSNode* n) { return n ? static_cast<unsigned>(n->GetID()) : 0u; };
    WriteExportLine(ar,
                    {CodeOf(classes), SectionNumber(m_pCrSect, sections), id(m_pNode1),
                     id(m_pNode2), static_cast<unsigned>(m_nElem)},
                    "  ");
}

// ------------------------------------------------------------ archive

void CBeamSeg::Serialize(CArchive& ar)
{
    CEdge::Serialize(ar);
    m_StartOff.Serialize(ar);
    m_EndOff.Serialize(ar);
    m_i3.Serialize(ar);
    // A damaged orientation is rebuilt from the member's direction.
    if (ar.IsLoading() && m_i3.GetSize() != 3)
        AutoUpdate_i3();
    if (ar.IsStoring()) {
        ar << LONG(m_iSpare) << LONG(m_nElem);
        ar << m_pLoad;
        if (m_pElemClass) {
            ar << LONG(1);
            ar.WriteClass(m_pElemClass);
        } else {
            ar << LONG(0);
        }
        ar << static_cast<const CObject*>(m_pCrSect);
        ar << static_cast<const CObject*>(m_pAux);
        if (m_pEndVals)
            ar << LONG(2) << m_pEndVals[0] << m_pEndVals[1];
        else
            ar << LONG(0);
        return;
    }
    const UINT schema = ar.GetObjectSchema();
    LONG l = 0;
    ar >> l;
    m_iSpare = l;
    ar >> l;
    m_nElem = l;
    // The member owns its load and auxiliary vector (new objects, read
    // here) and points at its cross-section.
    SetMemberLoad(ar.ReadObjectAs<CLoad>(RUNTIME_CLASS(CLoad), CArchive::useOwned));
    ar >> l;
    // A class this program does not know leaves the member without one.
    m_pElemClass = l == 1 ? ar.ReadClassOrNone(RUNTIME_CLASS(CObject)) : nullptr;
    m_pCrSect = ar.ReadObjectAs<CCrSectComp>(RUNTIME_CLASS(CCrSectComp));
    SetAuxVector(nullptr);
    ClearEndValues();
    if (schema >= 2)
        m_pAux = ar.ReadObjectAs<CVector>(RUNTIME_CLASS(CVector), CArchive::useOwned);
    if (schema >= 3) {
        ar >> l;
        if (l < 0)
            AfxThrowArchiveException(CArchiveException::generic);
        ar.CheckAvailable(static_cast<ULONGLONG>(l), 8);
        double v[2] = {0.0, 0.0};
        for (LONG i = 0; i < l; ++i) {
            double x = 0.0;
            ar >> x;
            if (i < 2)
                v[i] = x;
        }
        if (l == 2)
            SetEndValues(v[0], v[1]);
    }
}

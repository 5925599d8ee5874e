#include "sections/beams/sectbeam.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "glstyle/tincora.h"

IMPLEMENT_SERIAL(CSectBeam, CSection, VERSIONABLE_SCHEMA | 1)

namespace
{

// The DOF entries of a condition: n DOF numbers, then n values.
struct DofEntries {
    const CVector* v = nullptr;
    int n = 0;
    explicit DofEntries(const CBoundCond* bc)
        : v(bc ? bc->GetDOFVector() : nullptr), n(v ? v->GetSize() / 2 : 0)
    {
    }
    double Dof(int i) const { return (*v)[i]; }
    double Value(int i) const { return (*v)[n + i]; }
};

CBoundNode* AsBoundNode(CSNode* node)
{
    return dynamic_cast<CBoundNode*>(node);
}

// The condition 0 of the node, made as a CBoundCond3D when missing; null
// for a node that carries no conditions.
CBoundCond* ConditionZero(CSNode* node)
{
    CBoundNode* bound = AsBoundNode(node);
    if (!bound)
        return nullptr;
    if (!bound->GetBC(0))
        bound->SetBC(new CBoundCond3D, 0);
    return bound->GetBC(0);
}

void RemoveDof(CSNode* node, int dof)
{
    if (CBoundCond* bc = node ? node->GetBC(0) : nullptr)
        bc->RemoveDof(dof);
}

// A DOF number held as a double; 0 for anything that is not one.
unsigned DofNumber(double v)
{
    return v >= 0.0 && v <= 4294967295.0 ? static_cast<unsigned>(v) : 0u;
}

// Runs f on every edge of the node.
template <class F>
void ForNodeEdges(CSNode* node, F f)
{
    if (CObList* edges = node->GetEdgeList())
        for (POSITION pos = edges->GetHeadPosition(); pos;)
            f(static_cast<CEdge*>(edges->GetNext(pos)));
}

void AppendKey(std::string& out, CString key, bool upper)
{
    if (upper)
        key.MakeUpper();
    out += key.str();
}

} // namespace

CSectBeam::CSectBeam() = default;
CSectBeam::~CSectBeam() = default;

// ------------------------------------------------------------ hand-over

void CSectBeam::SeedMeshLen(double length, unsigned flags)
{
    ForMembers([&](CBeamSeg* m) { m->SeedMeshLen(length, flags); });
}

void CSectBeam::DM_OnElements(void (*callback)(CObject*, void*), void* user)
{
    ForElements([&](CGraph* element) { callback(element, user); });
}

void CSectBeam::DM_OnNodes(void (*callback)(CSNode*, void*), void* user)
{
    ForElements([&](CGraph* element) { element->OnNodes(callback, user); });
}

void CSectBeam::DM_Clean()
{
    ForMembers([](CBeamSeg* m) { m->DM_Clean(); });
}

void CSectBeam::DM_GetRotParam(CLongVector& out, int& index)
{
    ForMembers([&](CBeamSeg* m) { m->DM_GetRotParam(out, index); });
}

void CSectBeam::DM_InsertNodeBCs(CModelInfo& model)
{
    ForMembers([&](CBeamSeg* m) { m->DM_InsertNodeBCs(model); });
}

void CSectBeam::DM_GetInfo(CInfoContainer& container)
{
    ForMembers([&](CBeamSeg* m) { m->DM_GetInfo(container); });
}

void CSectBeam::DM_SetResults(CModelInfo& model)
{
    ForMembers([&](CBeamSeg* m) { m->DM_SetResults(model); });
}

void CSectBeam::DM_BuildData(CModelInfo& model)
{
    ForMembers([&](CBeamSeg* m) { m->DM_BuildData(model); });
}

void CSectBeam::GetBCNodes(CObList& out)
{
    ForMembers([&](CBeamSeg* m) { m->GetBCNodes(out); });
}

void CSectBeam::GetDiscrCoord(CMatrix& out)
{
    ForMembers([&](CBeamSeg* m) { m->GetDiscrCoord(out); });
}

void CSectBeam::RefineUniform(int level, unsigned flags)
{
    ForMembers([&](CBeamSeg* m) { m->RefineUniform(level, flags); });
}

void CSectBeam::GetMMNPC(CLongVector& a, CLongVector& b, int& counter)
{
    ForMembers([&](CBeamSeg* m) { m->GetMMNPC(a, b, counter); });
}

void CSectBeam::GetMMNPC(CLongMatrix& out)
{
    ForMembers([&](CBeamSeg* m) { m->GetMMNPC(out); });
}

void CSectBeam::GetKIND(CLongVector& out, int& index)
{
    ForMembers([&](CBeamSeg* m) { m->GetKIND(out, index); });
}

void CSectBeam::DM_SetNodeValues(CMatrix& values, int& row)
{
    ForMembers([&](CBeamSeg* m) { m->DM_SetNodeValues(values, row); });
}

void CSectBeam::PickDrawAddressGL(int what)
{
    ForMembers([&](CBeamSeg* m) { m->PickDrawAddressGL(what); });
}

void CSectBeam::PreMult(CMatrix& m, CVector& work, double cx, double cy, double cz, bool update)
{
    ForMembers([&](CBeamSeg* member) { member->PreMult(m, work); });
    CGraph::PreMult(m, work, cx, cy, cz, update);
}

CObject* CSectBeam::Discretize()
{
    ForMembers([](CBeamSeg* m) {
        m->Discretize();
        m->PostDiscretize();
    });
    return nullptr;
}

void CSectBeam::PostDiscretize() {}

// ------------------------------------------------------------ graph operations

int CSectBeam::RemoveDoubleEdges() { return CGraph::RemoveDoubleEdges(); }
bool CSectBeam::Fix(CObList*) { return false; }

CObList* CSectBeam::GetNodes()
{
    auto* list = new CObList;
    CGraph::GetNodes(*list);
    return list;
}

double CSectBeam::SumArea() { return 0.0; }
void CSectBeam::DrawStippleGL() {}
void CSectBeam::SetNodSpace(double spacing) { CGraph::SetNodSpace(spacing, false); }
void CSectBeam::GetDist(double& max, double& min) { CGraph::GetDist(max, min); }
void CSectBeam::SubDivide() { CGraph::SubDivide(); }
void CSectBeam::Update(bool validate, bool resetSize) { CGraph::Update(validate, resetSize); }

void CSectBeam::Translate(double dx, double dy, double dz, bool all)
{
    CGraph::Translate(dx, dy, dz, all);
}

bool CSectBeam::DeleteNode(CSNode*) { return false; }

short CSectBeam::Intersection2D(CEdge* edge, bool byEdges, CObList* found)
{
    return CGraph::Intersection2D(edge, byEdges, found);
}

void CSectBeam::DrawDXF(CFile* file) { CGraph::DrawDXF(file); }
CObject* CSectBeam::GetObjectFromString(CString name) { return CGraph::GetObjectFromString(name); }

void CSectBeam::Rotate(double angle, double c1, double c2, unsigned axis, bool validate, bool all)
{
    CGraph::Rotate(angle, c1, c2, axis, validate, all);
}

// ------------------------------------------------------------ other overrides

CGraph* CSectBeam::Copy(bool) { return nullptr; }

CSNode* CSectBeam::CreateNode(double x, double y, double z)
{
    return new CBoundNode(x, y, z, nullptr, 0);
}

CObject* CSectBeam::GetObject(unsigned long id, bool deep)
{
    if (id == 0)
        return nullptr;
    if (CObject* found = CGraph::GetObject(id, false))
        return found;
    if (!deep)
        return nullptr;
    CObject* found = nullptr;
    ForElements([&](CGraph* element) {
        for (POSITION pos = element->GetHeadPosition(); pos && !found;) {
            CSNode* node = element->GetNextNode(pos);
            if (node->GetID() == id)
                found = node;
        }
    });
    return found;
}

bool CSectBeam::RemoveNode(CSNode* node)
{
    std::vector<CEdge*> doomed;
    ForEachNode(true, [&](CSNode* n) {
        ForNodeEdges(n, [&](CEdge* edge) {
            if (edge->IsNodeInDef(node) &&
                std::find(doomed.begin(), doomed.end(), edge) == doomed.end())
                doomed.push_back(edge);
        });
    });
    for (CEdge* edge : doomed)
        delete edge;
    return CGraph::RemoveNode(node);
}

void CSectBeam::GL_Draw(COGLDrawCommand* command)
{
    const unsigned flags = command ? command->m_uiState[0] : 0x40u;
    if (command && (flags & 0x10))
        DrawNodeLoads(command->Scales(CNodeLoad::kScaleCount));
    ForEachNode(false, [&](CSNode* node) {
        ForNodeEdges(node, [&](CEdge* edge) {
            if (edge->GetNode1() == node)
                edge->GL_Draw(command);
        });
    });
    if (!(flags & 0x40))
        return;
    if (command)
        command->BeginIf(GL_POINTS);
    else
        glBegin(GL_POINTS);
    ForEachNode(false, [](CSNode* node) { node->GLVertex(); });
    if (command)
        command->EndIf();
    else
        glEnd();
}

void CSectBeam::DrawEdgesGL(bool inPrimitive, bool all)
{
    if (inPrimitive) {
        GLDrawEdges(false, all);
        return;
    }
    glBegin(GL_LINES);
    GLDrawEdges(false, all);
    glEnd();
}

void CSectBeam::DrawBCs(bool skip, double scale, int index)
{
    if (skip)
        return;
    ForEachNode(false, [&](CSNode* node) {
        ForNodeEdges(node, [&](CEdge* edge) {
            CBoundCond* bc = edge->GetNode1() == node ? edge->GetBC(index) : nullptr;
            if (bc && !bc->IsClear(false)) // drawn once, from its first node
                bc->DrawEdgeBC(edge, scale);
        });
        CBoundCond* bc = node->GetBC(index);
        if (bc && !bc->IsClear(false))
            bc->DrawNodeBC(node);
        auto* joint = dynamic_cast<CJointNode*>(node);
        if (joint && joint->IsJoint()) {
            double c[3];
            node->GetVertex(c[0], c[1], c[2]);
            double p[3] = {1, 0, 0}, q[3] = {0, 1, 0}, r[3] = {0, 0, 1};
            glColor4d(0.8, 0.7, 0.9, 0.5);
            Draw3DSphere(c, p, q, r, CBoundCond3D::m_dBCSize);
        }
    });
}

// ------------------------------------------------------------ joints

void CSectBeam::TieMembers(CSNode* joint, const std::vector<CBeamSeg*>& members, int dof,
                           bool group)
{
    // The member's analysis node at this joint and whether its bar uses
    // the DOF there. Members without elements take no part.
    std::vector<CSNode*> users;
    for (CBeamSeg* m : members) {
        const int n = m->GetElements()->GetSize();
        if (n == 0)
            continue;
        const bool first = m->GetNode1() == joint;
        CSNode* end = m->GetElemNode(first ? 0 : n);
        auto* bar = dynamic_cast<CBarElm*>((*m->GetElements())[first ? 0 : n - 1]);
        if (!end)
            continue;
        if (bar && !bar->UsesDof(dof, first ? 1 : 2))
            RemoveDof(end, dof);
        else
            users.push_back(end);
    }
    if (users.empty())
        return;
    if (CBoundCond* bc = joint->GetBC(0)) {
        if (bc->IsPrescribed(dof) || bc->IsSup(dof)) {
            if (!group)
                return;
            for (CSNode* end : users)
                RemoveDof(end, dof);
        } else if (bc->IsSpring(dof)) {
            for (std::size_t i = group ? 0 : 1; i < users.size(); ++i)
                RemoveDof(users[i], dof);
        }
    }
    for (std::size_t i = 1; i < users.size(); ++i) {
        if (users[i] == users[0])
            continue;
        CBoundCond* own = ConditionZero(users[i]);
        CBoundCond* other = ConditionZero(users[0]);
        if (!own || !other)
            continue;
        auto* coupling = new CLinCpl;
        coupling->m_pNode1 = users[i];
        coupling->m_pNode2 = users[0];
        coupling->m_uiDof1 = static_cast<DWORD>(dof);
        coupling->m_uiDof2 = static_cast<DWORD>(dof);
        coupling->m_dFactor = 1.0;
        own->AddCoupling(coupling);
        other->AddCoupling(coupling);
    }
}

void CSectBeam::FixJoints()
{
    ForEachNode(true, [&](CSNode* node) {
        auto* joint = dynamic_cast<CJointNode*>(node);
        if (!joint || !joint->IsJoint())
            return;
        // The members' copies carry no load: the linked one gets the joint's.
        if (auto* copy = AsBoundNode(joint->GetCopyNode()); copy && joint->m_pLoad)
            copy->SetNodeLoad(*joint->m_pLoad);
        std::vector<CBeamSeg*> all;
        ForNodeEdges(joint, [&](CEdge* edge) {
            if (auto* m = dynamic_cast<CBeamSeg*>(edge))
                all.push_back(m);
        });
        if (all.size() < 2)
            return;
        for (int d = 1; d <= 6; ++d) {
            std::vector<CBeamSeg*> rest = all;
            if (CObList* groups = joint->m_pJoints[d - 1])
                for (POSITION pos = groups->GetHeadPosition(); pos;) {
                    auto* info = dynamic_cast<CJointInfo*>(groups->GetNext(pos));
                    if (!info)
                        continue;
                    std::vector<CBeamSeg*> members;
                    for (POSITION e = info->m_List.GetHeadPosition(); e;) {
                        auto* m = dynamic_cast<CBeamSeg*>(info->m_List.GetNext(e));
                        const auto at = std::find(rest.begin(), rest.end(), m);
                        if (m && at != rest.end()) {
                            members.push_back(m);
                            rest.erase(at);
                        }
                    }
                    TieMembers(joint, members, d, true);
                }
            TieMembers(joint, rest, d, false);
        }
    });
}

// ------------------------------------------------------------ text export

void CSectBeam::WriteBlock(CFile& file, CStringArray& keys, bool upper, bool endAsGiven,
                           const std::function<void(CArchive&)>& data)
{
    std::string head;
    if (keys.GetSize() > 0 && !keys[0].IsEmpty()) {
        AppendKey(head, keys[0], upper);
        if (head.find("\r\n") == std::string::npos)
            head += "\r\n";
    }
    if (keys.GetSize() > 2 && !keys[2].IsEmpty())
        head += AfxFormat("%s %s\r\n", keys[2].GetString(), GetName().GetString());
    std::string end;
    if (keys.GetSize() > 1 && !keys[1].IsEmpty()) {
        AppendKey(end, keys[1], upper);
        if (!endAsGiven && (end.size() < 2 || end.compare(end.size() - 2, 2, "\r\n") != 0))
            end += "\r\n";
    }
    try {
        CArchive ar(&file, CArchive::store, 4096);
        try {
            ar.Write(head.data(), static_cast<UINT>(head.size()));
            data(ar);
            ar.Write(end.data(), static_cast<UINT>(end.size()));
        } catch (CArchiveException&) {
        }
        ar.Close();
    } catch (CException&) {
    }
}

void CSectBeam::WriteBlock(CFile& file, CStringArray& keys, const std::string& data)
{
    WriteBlock(file, keys, false, false,
               [&](CArchive& ar) { ar.Write(data.data(), static_cast<UINT>(data.size())); });
}

int CSectBeam::ASCIIExportBeams(CFile& file, CStringArray& keys, CObList* sections,
                                const CBeamClassList* classes)
{
    int count = 0;
    WriteBlock(file, keys, true, true, [&](CArchive& ar) {
        ForMembers([&](CBeamSeg* m) {
            m->ASCIIExport(ar, sections, classes);
            ++count;
        });
    });
    return count;
}

void CSectBeam::ASCIIExportSupDOFs(CFile& file, CStringArray& keys, int index)
{
    std::string data;
    ForEachNode(true, [&](CSNode* node) {
        CBoundCond* bc = node->GetBC(index);
        if (!bc)
            return;
        std::string line;
        const unsigned type = bc->GetBCType();
        if (type & 0x10) {
            const DofEntries e(bc);
            for (int i = 0; i < e.n; ++i)
                if (e.Dof(i) >= 1 && e.Dof(i) <= 6 && e.Dof(i) == std::floor(e.Dof(i)) &&
                    e.Value(i) == 0.0)
                    line += AfxFormat(" %d", static_cast<int>(e.Dof(i)));
        }
        if (type & 0x1)
            line += " 1";
        if (type & 0x2)
            line += " 1 2 3";
        if (type & 0x8)
            line += " 4 5 6";
        if (!line.empty())
            data += AfxFormat("%u", static_cast<unsigned>(node->GetID())) + line + "\r\n";
    });
    WriteBlock(file, keys, data);
}

void CSectBeam::ASCIIExportPrescDOFs(CFile& file, CStringArray& keys, int index)
{
    std::string data;
    ForEachNode(true, [&](CSNode* node) {
        CBoundCond* bc = node->GetBC(index);
        if (!bc || !(bc->GetBCType() & 0x10))
            return;
        std::string line;
        const DofEntries e(bc);
        for (int i = 0; i < e.n; ++i) {
            const double dof = std::trunc(e.Dof(i));
            if (e.Value(i) != 0.0 && std::fabs(dof) >= 1 && std::fabs(dof) <= 6)
                line += AfxFormat(" %i %g", static_cast<int>(dof), e.Value(i));
        }
        if (!line.empty())
            data += AfxFormat("%u", static_cast<unsigned>(node->GetID())) + line + "\r\n";
    });
    WriteBlock(file, keys, data);
}

void CSectBeam::ASCIIExportLinCoupl(CFile& file, CStringArray& keys, int index)
{
    std::string data;
    ForEachNode(true, [&](CSNode* node) {
        CBoundCond* bc = node->GetBC(index);
        CObList* couplings = bc ? bc->GetCouplings() : nullptr;
        if (!couplings)
            return;
        // Grouped by the coupled node, in the order they first appear.
        std::vector<std::pair<CSNode*, std::vector<CLinCpl*>>> groups;
        for (POSITION pos = couplings->GetHeadPosition(); pos;) {
            auto* c = dynamic_cast<CLinCpl*>(couplings->GetNext(pos));
            if (!c || c->m_pNode1 != node || !c->m_pNode2)
                continue;
            auto at = std::find_if(groups.begin(), groups.end(),
                                   [&](const auto& g) { return g.first == c->m_pNode2; });
            if (at == groups.end())
                at = groups.insert(groups.end(), {c->m_pNode2, {}});
            at->second.push_back(c);
        }
        for (const auto& [coupled, list] : groups) {
            data += AfxFormat("%u %u", static_cast<unsigned>(node->GetID()),
                              static_cast<unsigned>(coupled->GetID()));
            for (DWORD k = 1; k <= 6; ++k)
                for (CLinCpl* c : list)
                    if (c->m_uiDof1 == k && c->m_uiDof2 != 0)
                        data += AfxFormat("  %g %u %u", c->m_dFactor, static_cast<unsigned>(k),
                                          static_cast<unsigned>(c->m_uiDof2));
            data += "\r\n";
        }
    });
    WriteBlock(file, keys, data);
}

void CSectBeam::ASCIIExportNodeLoads(CFile& file, CStringArray& keys)
{
    std::string data;
    ForEachNode(true, [&](CSNode* node) {
        for (CLoad* load = node->GetLoad(); load;) {
            auto* load3D = dynamic_cast<CNodeLoad3D*>(load);
            data += AfxFormat("%u %u", static_cast<unsigned>(node->GetID()),
                              load3D ? static_cast<unsigned>(load3D->m_uiWord) : 1u);
            const int n = load->GetSize() / 2;
            for (int i = 0; i < n; ++i)
                data += AfxFormat("  %u %g", DofNumber((*load)[i]), (*load)[n + i]);
            data += "\r\n";
            CLoad* next = load->GetNextLoad();
            load = dynamic_cast<CNodeLoad3D*>(next) ? next : nullptr;
        }
    });
    WriteBlock(file, keys, data);
}

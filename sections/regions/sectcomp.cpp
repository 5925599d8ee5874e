#include "sections/regions/sectcomp.h"
#include "sections/regions/sectarea.h"

#include "femodel/element.h"
#include "geometry/edge.h"
#include "glstyle/pickcull.h"
#include "glstyle/pickindex.h"
#include "femodel/modelinfo.h"
#include "platform/ferrand/material.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CSectComp, CObList)

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kThreeHalfPi = 4.71238898038469;
// Two nodes closer than this many machine epsilons are one node.
constexpr double kNodeTolerance = 10000000.0;
// Two directions closer than this (radians, modulo pi) are one line.
constexpr double kDirTolerance = 0.00001;

bool IsReset(const CEdge* edge)
{
    return !edge->GetNode1() || !edge->GetNode2();
}

void AddOnce(CObList* list, CObject* object)
{
    if (!list->Find(object))
        list->AddTail(object);
}

// The edge's direction reduced to [0, pi): the bearing from its first node,
// or from its second node when the first lies at pi or beyond.
double LineDirection(CEdge* edge)
{
    double angle = 0.0;
    edge->Get2DAngle(nullptr, angle);
    if (angle >= kPi) {
        edge->Get2DAngle(edge->GetNode2(), angle);
        if (angle > kThreeHalfPi)
            angle = 0.0;
    }
    return angle;
}

// Directions in [0, pi) describe the same line also across the wrap: a
// direction just above 0 and one just below pi are one line.
bool SameLine(double a, double b)
{
    const double d = std::fabs(a - b);
    return d < kDirTolerance || std::fabs(kPi - d) < kDirTolerance;
}

// The node when it lies on the edge without being one of its ends.
CSNode* InnerPoint(CEdge* edge, CSNode* node, bool onEdge)
{
    return onEdge && !edge->IsNodeInDef(node) ? node : nullptr;
}


} // namespace

// The sections in list order with their boxes, as of one model revision.
struct CSectComp::PickIndex {
    std::vector<CSection*> sections;
    CPickIndex pick;
};

namespace {

// Whether a region fill that the pick window holds is certainly a hit
// under the current state (the fills were judged under the odd or the
// non-zero winding rule, GLU_TESS_WINDING_ODD and _NONZERO).
bool FillsHitWhenHeld()
{
    const double rule = CSectArea::m_gldTessWindRule;
    return (rule == 100130.0 || rule == 100131.0) && CPickWindowCull::FilledFacesHit();
}

} // namespace

CSectComp::CSectComp() : CObList(10)
{
    SetModelList();
}

CSectComp::~CSectComp()
{
    while (!IsEmpty())
        delete CObList::RemoveHead();
}

CSection* CSectComp::SectionAt(CObject* object)
{
    return object && object->IsKindOf(RUNTIME_CLASS(CSection)) ? static_cast<CSection*>(object)
                                                                : nullptr;
}

template <class F>
void CSectComp::ForSections(F f)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        if (CSection* section = SectionAt(CObList::GetNext(pos)))
            f(section);
}

std::vector<CSection*> CSectComp::Snapshot()
{
    std::vector<CSection*> sections;
    sections.reserve(static_cast<std::size_t>(GetCount()));
    ForSections([&](CSection* s) { sections.push_back(s); });
    return sections;
}

// ------------------------------------------------------------ result extremes

double CSectComp::GetMinVal(int i)
{
    return i >= 0 && i < m_MinVals.GetSize() ? m_MinVals[i] : 0.0;
}

double CSectComp::GetMaxVal(int i)
{
    return i >= 0 && i < m_MaxVals.GetSize() ? m_MaxVals[i] : 0.0;
}

void CSectComp::DM_SetResults(CModelInfo& model)
{
    ForSections([&](CSection* s) { s->DM_SetResults(model); });
    const int n = static_cast<int>(m_uiResCount);
    m_MinVals.Allocate(n, true, 0.0);
    m_MaxVals.Allocate(n, true, 0.0);
    // The element extremes hold a fixed number of components; any further
    // ones stay 0.0.
    for (int i = 0; i < std::min(n, CElement::kMaxResIndex); ++i) {
        m_MinVals[i] = CElement::m_strMinStress[i];
        m_MaxVals[i] = CElement::m_strMaxStress[i];
    }
}

// ------------------------------------------------------------ forwarding

void CSectComp::SeedMeshLen(double length, unsigned flags)
{
    ForSections([&](CSection* s) { s->SeedMeshLen(length, flags); });
}

void CSectComp::OnEdges(void (*f)(CEdge*))
{
    ForSections([&](CSection* s) { s->OnEdges(f, true); });
}

void CSectComp::OnEdges(void (*f)(CObject*, void*), void* user)
{
    ForSections([&](CSection* s) { s->OnEdges(f, user, true); });
}

void CSectComp::GetMaxMinExt(double* max, double* min)
{
    for (int i = 0; i < 3; ++i) {
        max[i] = -1.0;
        min[i] = 0.0;
    }
    ForSections([&](CSection* s) { s->GetMaxMinExt(max, min); });
}

void CSectComp::DM_OnNodes(void (*callback)(CSNode*, void*), void* user)
{
    ForSections([&](CSection* s) { s->DM_OnNodes(callback, user); });
}

void CSectComp::DM_OnElements(void (*callback)(CObject*, void*), void* user)
{
    ForSections([&](CSection* s) { s->DM_OnElements(callback, user); });
}

void CSectComp::OnNodes(void (*f)(CSNode*, void*), void* user)
{
    ForSections([&](CSection* s) { s->OnNodes(f, user); });
}

void CSectComp::OnNodes(void (*f)(CSNode*))
{
    ForSections([&](CSection* s) { s->OnNodes(f, true); });
}

void CSectComp::DM_Clean()
{
    ForSections([](CSection* s) { s->DM_Clean(); });
}

void CSectComp::SecondarySerial(CArchive& ar)
{
    ForSections([&](CSection* s) { s->SecondarySerial(ar); });
}

void CSectComp::DrawBCs(bool flag, double scale, int what)
{
    ForSections([&](CSection* s) { s->DrawBCs(flag, scale, what); });
}

void CSectComp::SortNodes()
{
    ForSections([](CSection* s) { s->SortNodes(); });
}

void CSectComp::DrawNodeNumbers()
{
    ForSections([](CSection* s) { s->DrawNodeNumbers(); });
}

void CSectComp::SerializeNodeIDs(CArchive& ar)
{
    ForSections([&](CSection* s) { s->SerializeNodeIDs(ar); });
}

void CSectComp::GetEdgeList(CObList* from, CObList* out)
{
    if (!out)
        return;
    if (!from)
        from = this;
    for (POSITION pos = from->GetHeadPosition(); pos;) {
        CObject* ob = from->GetNext(pos);
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CGraph)))
            static_cast<CGraph*>(ob)->GetEdges(*out);
    }
}

void CSectComp::GetNodeList(CObList* from, CObList* out)
{
    if (!out)
        return;
    if (!from)
        from = this;
    for (POSITION pos = from->GetHeadPosition(); pos;) {
        CObject* ob = from->GetNext(pos);
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CGraph)))
            static_cast<CGraph*>(ob)->GetNodes(*out);
    }
}

void CSectComp::GetDanglingNodes(CObList& out)
{
    GetSolitaryNodes(out);
    for (POSITION pos = GetHeadPosition(); pos && !out.IsEmpty();)
        if (CSection* s = SectionAt(CObList::GetNext(pos)))
            s->IsDangling(out);
}

void CSectComp::GetSolitaryNodes(CObList& out)
{
    ForSections([&](CSection* s) { s->GetSolitaryNodes(out); });
}

void CSectComp::RenumberNodes(long& counter, long step)
{
    ForSections([&](CSection* s) { s->RenumberNodes(counter, step); });
}

void CSectComp::PreMult(CMatrix& m, double cx, double cy, double cz, bool update)
{
    CVector work(3);
    ForSections([&](CSection* s) { s->PreMult(m, work, cx, cy, cz, update); });
}

CObject* CSectComp::DM_GetOwner(CObject* object)
{
    CObject* owner = nullptr;
    for (POSITION pos = GetHeadPosition(); pos && !owner;)
        if (CSection* s = SectionAt(CObList::GetNext(pos)))
            owner = s->DM_GetOwner(object);
    return owner;
}

void CSectComp::DM_GetRotParam(CLongVector& out)
{
    int index = 0;
    ForSections([&](CSection* s) { s->DM_GetRotParam(out, index); });
}

void CSectComp::GetKIND(CLongVector& out)
{
    int index = 0;
    ForSections([&](CSection* s) { s->GetKIND(out, index); });
}

void CSectComp::ASCIIExportGraph(CFile& file, CStringArray& keys, int* options, int nOptions,
                                 double* values, int nValues)
{
    ForSections([&](CSection* s) {
        s->ASCIIExportGraph(file, keys, options, nOptions, values, nValues);
    });
}

void CSectComp::GL_Draw(COGLDrawCommand* command)
{
    ForSections([&](CSection* s) { s->GL_Draw(command); });
}

void CSectComp::DM_GetInfo(CInfoContainer& container)
{
    ForSections([&](CSection* s) { s->DM_GetInfo(container); });
}

void CSectComp::DM_InsertNodeBCs(CModelInfo& model)
{
    ForSections([&](CSection* s) { s->DM_InsertNodeBCs(model); });
}

void CSectComp::DM_BuildData(CModelInfo& model)
{
    ForSections([&](CSection* s) { s->DM_BuildData(model); });
}

void CSectComp::GetBCNodes(CObList& out)
{
    ForSections([&](CSection* s) { s->GetBCNodes(out); });
}

void CSectComp::GetDiscrCoord(CMatrix& out)
{
    ForSections([&](CSection* s) { s->GetDiscrCoord(out); });
}

void CSectComp::GetMMNPC(CLongMatrix& out)
{
    ForSections([&](CSection* s) { s->GetMMNPC(out); });
}

int CSectComp::GetMMNPC(CLongVector& a, CLongVector& b)
{
    int counter = 0;
    ForSections([&](CSection* s) { s->GetMMNPC(a, b, counter); });
    return counter;
}

CSectComp::PickIndex& CSectComp::UpToDatePickIndex()
{
    const unsigned long revision = AfxModelRevision();
    if (m_pPickIndex && m_pPickIndex->pick.IsBuiltAt(revision))
        return *m_pPickIndex;
    if (!m_pPickIndex)
        m_pPickIndex = std::make_unique<PickIndex>();
    PickIndex& index = *m_pPickIndex;
    index.sections = Snapshot();
    std::vector<CPickBox> boxes(index.sections.size());
    ForEachPickItem(boxes.size(), [&](std::size_t i) {
        if (!index.sections[i]->GrowPickBox(boxes[i]))
            boxes[i] = CPickBox(); // unknown: always drawn
    });
    index.pick.Build(revision, boxes);
    return index;
}

void CSectComp::PickDrawAddressGL(int what)
{
    // The pick window covers a few pixels: what it clips issues no GL calls.
    const CPickWindowCull cull;
    if (!CPickWindowCull::IsActive()) {
        ForSections([&](CSection* s) { s->PickDrawAddressGL(what); });
        return;
    }
    // A section whose box the window misses would draw nothing it could
    // hit; the others are drawn in list order as before (or, in a band
    // that holds them whole, give their names as hits).
    PickIndex& index = UpToDatePickIndex();
    index.pick.Pick(
        what, (what & 1) && FillsHitWhenHeld(), [&](std::size_t i) { index.sections[i]->PickDrawAddressGL(what); },
        [&](std::size_t i, std::vector<CPickName>& out) { return index.sections[i]->ListPickNames(out); });
}

void CSectComp::GetMaxMinLoad(double& max, double& min, unsigned flags)
{
    ForSections([&](CSection* s) { s->GetMaxMinLoad(max, min, flags); });
}

void CSectComp::SetNodSpace(double spacing)
{
    ForSections([&](CSection* s) { s->SetNodSpace(spacing); });
}

void CSectComp::SubDivide()
{
    ForSections([](CSection* s) { s->SubDivide(); });
}

void CSectComp::Update(bool validate, bool resetSize)
{
    ForSections([&](CSection* s) { s->Update(validate, resetSize); });
}

void CSectComp::Translate(double dx, double dy, double dz)
{
    ForSections([&](CSection* s) { s->Translate(dx, dy, dz, false); });
}

void CSectComp::Rotate(double angle, double c1, double c2, unsigned axis, bool update)
{
    ForSections([&](CSection* s) { s->Rotate(angle, c1, c2, axis, false, false); });
    if (update)
        ForSections([](CSection* s) { s->Update(true, false); });
}

void CSectComp::DrawSubNodesGL()
{
    ForSections([](CSection* s) { s->DrawSubNodesGL(); });
}

void CSectComp::DrawNodesGL(float pointSize, bool all)
{
    ForSections([&](CSection* s) { s->DrawNodesGL(pointSize, all, nullptr); });
}

void CSectComp::DrawEdgesGL(bool quads, bool all)
{
    ForSections([&](CSection* s) { s->DrawEdgesGL(quads, all); });
}

void CSectComp::DrawDXF(CFile* file)
{
    ForSections([&](CSection* s) { s->DrawDXF(file); });
}

// ------------------------------------------------------------ answers

CEdge* CSectComp::GetEdge(int which)
{
    CEdge* best = nullptr;
    double bestLength = 0.0;
    ForSections([&](CSection* s) {
        CEdge* edge = s->GetEdge(which);
        if (!edge)
            return;
        const double len = edge->GetLength();
        if (!best || (which == 0 ? len > bestLength : len < bestLength)) {
            best = edge;
            bestLength = len;
        }
    });
    return best;
}

unsigned long CSectComp::GetMaxID(unsigned flags)
{
    unsigned long max = 0;
    ForSections([&](CSection* s) { max = std::max(max, s->GetMaxID(flags)); });
    return max;
}

bool CSectComp::RemoveElem(CObject*)
{
    return false;
}

CObject* CSectComp::GetObjectFromString(CString name)
{
    if (name == m_strName)
        return this;
    CObject* found = nullptr;
    for (POSITION pos = GetHeadPosition(); pos && !found;)
        if (CSection* s = SectionAt(CObList::GetNext(pos)))
            found = s->GetObjectFromString(name);
    return found;
}

void CSectComp::GetDist(double& max, double& min)
{
    max = -1.0;
    min = -1.0;
    ForSections([&](CSection* s) { s->GetDist(max, min); });
}

bool CSectComp::Remove(CSection* section)
{
    POSITION pos = Find(section);
    if (!pos)
        return false;
    RemoveAt(pos);
    return true;
}

short CSectComp::Intersection(CEdge* edge, bool byEdges, CObList* hits)
{
    short result = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSection* s = SectionAt(CObList::GetNext(pos));
        if (!s)
            continue;
        const short answer = s->Intersection2D(edge, byEdges, hits);
        if (answer == 1 && !hits)
            return 1;
        // A crossing stays the answer; with a list every section is still
        // asked so that the list holds each edge the edge meets.
        if (result != 1 && !(result == 2 && answer == 0))
            result = answer;
    }
    return result;
}

CObject* CSectComp::GetObjectA(unsigned long id, bool flag)
{
    if (id == 0)
        return nullptr;
    CObject* found = nullptr;
    for (POSITION pos = GetHeadPosition(); pos && !found;)
        if (CSection* s = SectionAt(CObList::GetNext(pos)))
            found = s->GetObject(id, flag);
    return found;
}

unsigned long CSectComp::CountEdges()
{
    unsigned long n = 0;
    ForSections([&](CSection* s) { n += static_cast<unsigned long>(s->CountEdges(false)); });
    return n;
}

void CSectComp::GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin)
{
    if (IsEmpty()) {
        xmax = ymax = xmin = ymin = 0.0;
        return;
    }
    xmax = ymax = -1.0;
    xmin = ymin = 0.0;
    ForSections([&](CSection* s) { s->GetMaxMin(xmax, ymax, xmin, ymin); });
}

double CSectComp::CalcArea()
{
    double area = 0.0;
    ForSections([&](CSection* s) { area += s->SumArea(); });
    return area;
}

int CSectComp::RemoveDoubleEdges()
{
    int n = 0;
    ForSections([&](CSection* s) { n += s->RemoveDoubleEdges(); });
    return n;
}

// ------------------------------------------------------------ drawing

void CSectComp::DrawNameGL(unsigned flags)
{
    if (flags & 8)
        return;
    if (flags & 1)
        ForSections([](CSection* s) { s->DrawNameGL(); });
    if (flags & 2)
        ForSections([](CSection* s) { s->DrawNodeNumbers(); });
    if (flags & 4)
        ForSections([](CSection* s) { s->DrawEdgeNameGL(); });
}

void CSectComp::PickDrawGL(bool flag, int flags, bool resFlag)
{
    if (flags & 8) {
        PickDrawResGL(flags, resFlag);
        return;
    }
    ForSections([&](CSection* s) { s->PickDrawGL(flag, flags); });
}

void CSectComp::DrawModelGL(bool quads, float pointSize, bool all)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    if (IsEmpty())
        return;
    glNormal3d(0.0, 0.0, 1.0);
    ForSections([&](CSection* s) { s->DrawModelGL(quads, pointSize, all); });
}

// ------------------------------------------------------------ discretisation

CObject* CSectComp::Discretize()
{
    // Mesh objects are numbered from 0 and never use up model identifiers.
    CIdentifierCounters guard;
    CGraph::lIDGraph = 0;
    CSNode::lIDnode = 0;
    CEdge::lIDedge = 0;
    if (IsEmpty())
        return nullptr;
    CObject* result = nullptr;
    for (POSITION pos = GetHeadPosition(); pos && !result;)
        if (CSection* s = SectionAt(CObList::GetNext(pos)))
            result = s->Discretize();
    ForSections([](CSection* s) { s->PostDiscretize(); });
    return result;
}

// ------------------------------------------------------------ copy

namespace
{

// A node copy made before a section is copied (by the caller's node list or
// an earlier section), with the edges it had then.
struct EarlierCopy {
    CSNode* node;
    std::vector<CObject*> edges;
};

std::vector<EarlierCopy> EarlierCopies(CGraph& section)
{
    std::vector<EarlierCopy> earlier;
    for (POSITION pos = section.GetHeadPosition(); pos;)
        if (CSNode* made = section.GetNextNode(pos)->GetCopyNode()) {
            EarlierCopy& entry = earlier.emplace_back(EarlierCopy{made, {}});
            if (CObList* edges = made->GetEdgeList())
                for (POSITION ep = edges->GetHeadPosition(); ep;)
                    entry.edges.push_back(edges->GetNext(ep));
        }
    return earlier;
}

// Deletes a section's copy that is no section (its class has no copy of its
// own): the earlier copies belong to others, so they lose only the edges and
// the graph it gave them; its own new nodes go with it.
void DiscardGraphCopy(CGraph* copy, const std::vector<EarlierCopy>& earlier)
{
    for (const EarlierCopy& entry : earlier) {
        for (CObList* edges = entry.node->GetEdgeList(); edges;) {
            CObject* added = nullptr;
            for (POSITION ep = edges->GetHeadPosition(); ep && !added;) {
                CObject* edge = edges->GetNext(ep);
                if (std::find(entry.edges.begin(), entry.edges.end(), edge) == entry.edges.end())
                    added = edge;
            }
            if (!added)
                break;
            delete static_cast<CEdge*>(added); // also leaves the node's list
            edges = entry.node->GetEdgeList();
        }
        if (POSITION at = copy->Find(entry.node))
            copy->RemoveAt(at);
        entry.node->RemoveGraph(copy);
    }
    delete copy;
}

} // namespace


void CSectComp::Copy(CSectComp*& target, bool withName)
{
    if (!target || !target->IsKindOf(RUNTIME_CLASS(CSectComp)))
        return;
    if (withName)
        target->m_strName = m_strName;
    target->m_dFactor = m_dFactor;
    target->m_iActVal = m_iActVal;
    target->m_uiSecond = m_uiSecond;
    // Nodes shared between sections stay shared in the copy: each source
    // node keeps its link to its copy until every section is copied.
    ForSections([&](CSection* s) {
        const std::vector<EarlierCopy> earlier = EarlierCopies(*s);
        CGraph* copy = s->Copy(withName);
        if (CSection* section = SectionAt(copy))
            target->AddTail(section);
        else if (copy)
            DiscardGraphCopy(copy, earlier);
    });
    ForSections([](CSection* s) { s->ReleaseCopyNodes(true); });
}

// ------------------------------------------------------------ material lists

void CSectComp::ReplaceListedMaterial(CObList& materials, CMaterial* oldMaterial,
                                      CMaterial* replacement)
{
    ForSections([&](CSection* s) { s->ReplaceMaterial(oldMaterial, replacement); });
    if (!oldMaterial)
        return;
    if (POSITION at = materials.Find(oldMaterial)) {
        if (replacement)
            materials.InsertBefore(at, replacement);
        materials.RemoveAt(at);
    }
}

CMaterial* CSectComp::FindMaterial(const CObList& materials, const CString& name)
{
    for (POSITION pos = materials.GetHeadPosition(); pos;) {
        CMaterial* material = static_cast<CMaterial*>(materials.GetNext(pos));
        if (material->GetName() == name)
            return material;
    }
    return nullptr;
}

// ------------------------------------------------------------ repair

void CSectComp::Fix()
{
    // Sections split off by the repair join the list; only those present
    // at the start are repaired.
    bool changed = false;
    for (CSection* s : Snapshot())
        if (s->Fix(this))
            changed = true;
    if (changed)
        ResetParam();
}

void CSectComp::MergeNode(CSNode* node, CSNode* keep, CObList* deadNodes, CObList* deadEdges)
{
    node->ReplaceWith(keep);
    AddOnce(deadNodes, node);
    // Edges between the two merged nodes have shrunk to nothing.
    std::vector<CEdge*> collapsed;
    if (CObList* edges = keep->GetEdgeList())
        for (POSITION pos = edges->GetHeadPosition(); pos;) {
            CEdge* edge = static_cast<CEdge*>(edges->GetNext(pos));
            if (edge->GetNode1() == edge->GetNode2())
                collapsed.push_back(edge);
        }
    for (CEdge* edge : collapsed) {
        AddOnce(deadEdges, edge);
        edge->Reset();
    }
}

int CSectComp::CompareEdges(CEdge* a, CEdge* b, CObList* deadNodes, CObList* deadEdges)
{
    if (IsReset(b) || IsReset(a))
        return 2;
    // An end of a is shared with b when it is one of b's nodes or coincides
    // with one (which is then merged into it).
    auto shared = [&](CSNode* end) {
        if (b->IsNodeInDef(end))
            return true;
        if (end->Compare(b->GetNode1(), kNodeTolerance)) {
            MergeNode(b->GetNode1(), end, deadNodes, deadEdges);
            return true;
        }
        if (end->Compare(b->GetNode2(), kNodeTolerance)) {
            MergeNode(b->GetNode2(), end, deadNodes, deadEdges);
            return true;
        }
        return false;
    };
    int count = shared(a->GetNode1()) ? 1 : 0;
    if (IsReset(b) || IsReset(a))
        return 2;
    if (shared(a->GetNode2()))
        ++count;
    if (IsReset(a) || IsReset(b))
        return 2;
    if (count == 2) {
        AddOnce(deadEdges, b);
        b->Reset();
        return 2;
    }
    return count;
}

void CSectComp::FixEdge(CEdge* edge, CObList* deadEdges, CObList* deadNodes)
{
    if (!edge || IsReset(edge))
        return;
    CObList* found = new CObList(10);
    Intersection(edge, false, found);
    if (found->IsEmpty())
        delete found;
    else
        FixEdges(edge, deadEdges, deadNodes, found);
}

void CSectComp::FixEdges(CEdge* edge, CObList* deadEdges, CObList* deadNodes, CObList*& foundRef)
{
    // The list of found edges is this repair's: freed on every way out.
    std::unique_ptr<CObList> found(foundRef);
    foundRef = nullptr;
    if (!found || !edge)
        return;
    auto isDead = [&](CEdge* e) { return deadEdges->Find(e) != nullptr; };
    // Runs the repair on the segments of a split edge.
    auto fixPieces = [&](CEdge* first, CEdge* second) {
        FixEdge(first, deadEdges, deadNodes);
        if (second && !isDead(second))
            FixEdge(second, deadEdges, deadNodes);
    };
    std::vector<CEdge*> items;
    for (;;) {
        // Merge coincident ends; drop edges that are gone or doubled.
        items.clear();
        while (!found->IsEmpty())
            items.push_back(static_cast<CEdge*>(found->RemoveHead()));
        for (CEdge* o : items) {
            if (o == edge || IsReset(o))
                continue;
            if (CompareEdges(edge, o, deadNodes, deadEdges) == 2 && IsReset(edge))
                return;
            if (!IsReset(o))
                found->AddTail(o);
        }
        if (found->IsEmpty())
            return;
        CEdge* o = static_cast<CEdge*>(found->RemoveHead());
        if (IsReset(o))
            continue;

        CSNode* a1 = edge->GetNode1();
        CSNode* a2 = edge->GetNode2();
        CSNode* b1 = o->GetNode1();
        CSNode* b2 = o->GetNode2();
        const bool b1OnEdge = edge->IsOnEdge2D(b1);
        const bool b2OnEdge = edge->IsOnEdge2D(b2);
        const bool a1OnO = o->IsOnEdge2D(a1);
        const bool a2OnO = o->IsOnEdge2D(a2);
        // Sharing an end with nothing else on the other edge: they touch.
        if ((a1 == b1 && !a2OnO && !b2OnEdge) || (a1 == b2 && !a2OnO && !b1OnEdge) ||
            (a2 == b1 && !a1OnO && !b2OnEdge) || (a2 == b2 && !a1OnO && !b1OnEdge))
            continue;

        CEdge* p1 = nullptr;
        CEdge* p2 = nullptr;
        if (SameLine(LineDirection(edge), LineDirection(o))) {
            if (a1OnO && a2OnO) {
                // The edge lies inside o: o is split at the edge's ends.
                const bool s1 = o->IsNodeInDef(a1);
                const bool s2 = o->IsNodeInDef(a2);
                if (s1 && s2)
                    continue;
                if (s1) {
                    o->Split(a2, p1, p2, deadEdges);
                } else if (s2) {
                    o->Split(a1, p1, p2, deadEdges);
                } else {
                    o->Split(a1, p1, p2, deadEdges);
                    CEdge* segment = InnerPoint(p1, a2, p1->IsOnEdge2D(a2)) ? p1 : p2;
                    if (InnerPoint(segment, a2, segment->IsOnEdge2D(a2)))
                        segment->Split(a2, p1, p2, deadEdges);
                }
                FixEdge(edge, deadEdges, deadNodes);
                return;
            }
            if (b1OnEdge && b2OnEdge) {
                // o lies inside the edge: the edge is split at o's ends.
                const bool s1 = edge->IsNodeInDef(b1);
                const bool s2 = edge->IsNodeInDef(b2);
                if (s1 && s2)
                    continue;
                if (s1 || s2) {
                    edge->Split(s1 ? b2 : b1, p1, p2, deadEdges);
                    fixPieces(p1, p2);
                    return;
                }
                edge->Split(b1, p1, p2, deadEdges);
                CEdge* segments[4] = {p1, p2, nullptr, nullptr};
                CEdge* segment = InnerPoint(p1, b2, p1->IsOnEdge2D(b2)) ? p1 : p2;
                if (InnerPoint(segment, b2, segment->IsOnEdge2D(b2)))
                    segment->Split(b2, segments[2], segments[3], deadEdges);
                for (CEdge* e : segments)
                    if (e && !isDead(e))
                        FixEdge(e, deadEdges, deadNodes);
                return;
            }
            CSNode* bOn = InnerPoint(edge, b1, b1OnEdge);
            if (!bOn)
                bOn = InnerPoint(edge, b2, b2OnEdge);
            CSNode* aOn = InnerPoint(o, a1, a1OnO);
            if (!aOn)
                aOn = InnerPoint(o, a2, a2OnO);
            if (aOn && bOn) {
                // Partial overlap: each is split where the other ends on it.
                edge->Split(bOn, p1, p2, deadEdges);
                CEdge* q1 = nullptr;
                CEdge* q2 = nullptr;
                o->Split(aOn, q1, q2, deadEdges);
                fixPieces(p1, p2);
                return;
            }
            continue;
        }

        // Crossing lines: an end of one lying inside the other splits it.
        CSNode* at = InnerPoint(o, a1, a1OnO);
        if (!at)
            at = InnerPoint(o, a2, a2OnO);
        if (at) {
            o->Split(at, p1, p2, deadEdges);
            FixEdge(edge, deadEdges, deadNodes);
            return;
        }
        at = InnerPoint(edge, b1, b1OnEdge);
        if (!at)
            at = InnerPoint(edge, b2, b2OnEdge);
        if (at) {
            edge->Split(at, p1, p2, deadEdges);
            fixPieces(p1, p2);
            return;
        }
    }
}

void CSectComp::FixEdges(CObList* edges)
{
    if (!edges || edges->IsEmpty())
        return;
    ResetParam();
    CObList deadEdges(10);
    CObList deadNodes(10);
    std::vector<CEdge*> todo;
    for (POSITION pos = edges->GetHeadPosition(); pos;) {
        CObject* ob = edges->GetNext(pos);
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CEdge)))
            todo.push_back(static_cast<CEdge*>(ob));
    }
    for (CEdge* edge : todo)
        if (!deadEdges.Find(edge))
            FixEdge(edge, &deadEdges, &deadNodes);
    while (!deadEdges.IsEmpty())
        delete deadEdges.RemoveHead();
    while (!deadNodes.IsEmpty()) {
        CSNode* node = static_cast<CSNode*>(deadNodes.RemoveHead());
        if (CGraph::m_pNodeList)
            CGraph::m_pNodeList->RemoveNode(node);
        delete node;
    }
    edges->RemoveAll();
    RemoveDoubleEdges();
}

// ------------------------------------------------------------ nodes

void CSectComp::DeleteNodes(CObList* nodes)
{
    if (!nodes || nodes->IsEmpty())
        return;
    // The temporary graph takes no model identifier.
    const DWORD graphCounter = CGraph::lIDGraph;
    CGraph holder;
    CGraph::lIDGraph = graphCounter;
    for (POSITION pos = nodes->GetHeadPosition(); pos;) {
        CObject* ob = nodes->GetNext(pos);
        if (!ob || !ob->IsKindOf(RUNTIME_CLASS(CSNode)) || holder.Find(ob))
            continue;
        holder.AddTail(ob);
        static_cast<CSNode*>(ob)->AddGraph(&holder);
    }
    std::vector<CSNode*> held;
    for (POSITION pos = holder.GetHeadPosition(); pos;)
        held.push_back(holder.GetNextNode(pos));
    for (CSNode* node : held) {
        if (CGraph::m_pNodeList)
            CGraph::m_pNodeList->RemoveNode(node);
        // A derived component may delete the node; it then leaves the holder.
        if (holder.Find(node))
            RemoveNode(node);
    }
    // The holder deletes the nodes that belong to no other graph.
}

// ------------------------------------------------------------ list access

CSection* CSectComp::GetNext(POSITION& pos)
{
    return static_cast<CSection*>(CObList::GetNext(pos));
}

CSection* CSectComp::GetPrev(POSITION& pos)
{
    return static_cast<CSection*>(CObList::GetPrev(pos));
}

CSection* CSectComp::GetAt(POSITION& pos)
{
    return static_cast<CSection*>(CObList::GetAt(pos));
}

CSection* CSectComp::GetTail()
{
    return static_cast<CSection*>(CObList::GetTail());
}

CSection* CSectComp::GetHead()
{
    return static_cast<CSection*>(CObList::GetHead());
}

POSITION CSectComp::AddTail(CObject* object)
{
    return CObList::AddTail(object);
}

POSITION CSectComp::AddTail(CSection* section)
{
    return AddTail(static_cast<CObject*>(section));
}

POSITION CSectComp::AddHead(CObject* object)
{
    return CObList::AddHead(object);
}

POSITION CSectComp::AddHead(CSection* section)
{
    return AddHead(static_cast<CObject*>(section));
}

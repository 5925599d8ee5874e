#include "sections/regions/sectarea.h"

#include "platform/ferrand/material.h"

#include <cmath>
#include <cstdio>

IMPLEMENT_DYNAMIC(CSectArea, CSection)

namespace {

template <class F>
void ForSubs(CObList* subs, F f)
{
    if (!subs)
        return;
    for (POSITION pos = subs->GetHeadPosition(); pos;) {
        CObject* ob = subs->GetNext(pos);
        f(ob);
    }
}

CSection* AsSection(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSection)) ? static_cast<CSection*>(ob) : nullptr;
}

CSectArea* AsArea(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectArea)) ? static_cast<CSectArea*>(ob) : nullptr;
}

} // namespace

CSectArea::CSectArea() = default;

CSectArea::CSectArea(CSNode* n1, CSNode* n2, CSNode* n3, CMaterial* material)
{
    NewNode(n1);
    NewNode(n2);
    NewNode(n3);
    SetMaterial(material);
}

CSectArea::CSectArea(const CSectArea& source, bool keepID)
    : CSection(source, keepID), m_bPolar(source.m_bPolar)
{
    SetMaterial(source.m_pMaterial);
}

CSectArea::~CSectArea()
{
    SetMaterial(nullptr);
    for (CObList** list : {&m_pSubList, &m_pRefineList}) {
        if (!*list)
            continue;
        while (!(*list)->IsEmpty()) {
            CObject* ob = (*list)->RemoveHead();
            // A refine point is a node that this region added itself to.
            if (ob->IsKindOf(RUNTIME_CLASS(CSNode))) {
                CSNode* node = static_cast<CSNode*>(ob);
                node->RemoveGraph(this);
                if (node->GetGraphCount() == 0)
                    delete node;
                continue;
            }
            delete ob;
        }
        delete *list;
        *list = nullptr;
    }
}

CSectArea* CSectArea::MakeSibling() const
{
    CObject* ob = GetRuntimeClass()->CreateObject();
    if (CSectArea* area = AsArea(ob))
        return area;
    delete ob;
    return new CSectArea;
}

// ------------------------------------------------------------ material

void CSectArea::SetMaterial(CMaterial* material)
{
    if (material)
        material->AddElem();
    if (m_pMaterial)
        m_pMaterial->RemoveElem();
    m_pMaterial = material;
}

int CSectArea::GetMaterialID() const
{
    return m_pMaterial ? m_pMaterial->GetID() : 0;
}

void CSectArea::ReplaceMaterial(CMaterial* oldMaterial, CMaterial* newMaterial)
{
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CSection* s = AsSection(ob))
            s->ReplaceMaterial(oldMaterial, newMaterial);
    });
    if (!oldMaterial || oldMaterial == m_pMaterial)
        SetMaterial(newMaterial);
}

void CSectArea::CopyAttrib(CSection* source)
{
    if (CSectArea* area = AsArea(source)) {
        m_bPolar = area->m_bPolar;
        m_vAxes = area->m_vAxes;
    }
}

// ------------------------------------------------------------ hand-over

void CSectArea::DM_OnElements(void (*callback)(CObject*, void*), void* user)
{
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CSection* s = AsSection(ob))
            s->DM_OnElements(callback, user);
    });
}

void CSectArea::DM_OnNodes(void (*callback)(CSNode*, void*), void* user)
{
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CSection* s = AsSection(ob))
            s->DM_OnNodes(callback, user);
    });
}

void CSectArea::DM_Clean()
{
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CSection* s = AsSection(ob))
            s->DM_Clean();
    });
}

void CSectArea::DM_GetInfo(CInfoContainer& container)
{
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CSection* s = AsSection(ob))
            s->DM_GetInfo(container);
    });
}

bool CSectArea::Fix(CObList*)
{
    return true;
}

double CSectArea::SumArea()
{
    return 0.0;
}

CObject* CSectArea::Discretize()
{
    CObject* result = nullptr;
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CSection* s = AsSection(ob); s && !result)
            result = s->Discretize();
    });
    return result;
}

void CSectArea::DrawStippleGL() {}

void CSectArea::SortNodes() {}

// ------------------------------------------------------------ nodes

CObList* CSectArea::GetNodes()
{
    // The sub-sections' boundary nodes first, in list order, then the
    // region's own.
    CObList* out = new CObList;
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CGraph* g = dynamic_cast<CGraph*>(ob))
            out->AddTail(static_cast<CObList*>(g));
    });
    out->AddTail(static_cast<CObList*>(this));
    return out;
}

void CSectArea::GetNodes(CObList& out)
{
    CGraph::GetNodes(out);
    ForSubs(m_pSubList, [&](CObject* ob) {
        if (CGraph* g = dynamic_cast<CGraph*>(ob))
            g->GetNodes(out);
    });
}

bool CSectArea::DeleteNode(CSNode* node)
{
    if (!RemoveNode(node)) {
        NewNode(node);
        return false;
    }
    if (m_pNodeList)
        m_pNodeList->RemoveNode(node);
    delete node;
    return true;
}

void CSectArea::ClearNodes()
{
    const int n = GetCount();
    if (n > 1) {
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* a = GetNextNode(pos);
            CSNode* b = pos ? GetNodeAt(pos) : (n > 2 ? GetHeadNode() : nullptr);
            if (!b)
                break;
            CEdge* edge = GetComEdge(a, b);
            if (!edge)
                continue;
            // An edge that another graph of its first node also runs along
            // belongs to a neighbour too and stays.
            int holders = 0;
            if (CObList* graphs = a->GetGraphList())
                for (POSITION g = graphs->GetHeadPosition(); g;) {
                    CObject* ob = graphs->GetNext(g);
                    CGraph* graph = dynamic_cast<CGraph*>(ob);
                    if (graph && graph->IsEdgeInGraph(edge))
                        ++holders;
                }
            if (holders <= 1)
                delete edge;
        }
    }
    while (!IsEmpty()) {
        CSNode* node = static_cast<CSNode*>(RemoveHead());
        if (node->GetGraphCount() == 1 && node->GetPrimaryGraph() == this) {
            node->RemoveGraph(this);
            if (m_pNodeList)
                m_pNodeList->RemoveNode(node);
            delete node;
        } else {
            node->RemoveGraph(this);
        }
    }
}

// ------------------------------------------------------------ refine list

void CSectArea::AddRefinePoint(CSNode* node)
{
    if (!node)
        return;
    if (!m_pRefineList)
        m_pRefineList = new CObList;
    ++m_nRefine;
    POSITION pos = m_pRefineList->AddTail(node);
    node->AddGraph(this);
    if (!m_posFirstPoint)
        m_posFirstPoint = pos;
}

void CSectArea::AddRefineGraph(CGraph* graph)
{
    if (!graph)
        return;
    if (!m_pRefineList)
        m_pRefineList = new CObList;
    m_nRefine += graph->GetCount();
    m_pRefineList->AddHead(static_cast<CObject*>(graph));
    // Cell searches must not walk into the refine graph.
    for (POSITION pos = graph->GetHeadPosition(); pos;) {
        CSNode* node = graph->GetNextNode(pos);
        if (CObList* edges = node->GetEdgeList())
            for (POSITION e = edges->GetHeadPosition(); e;)
                static_cast<CEdge*>(edges->GetNext(e))->SetTraversed(true);
    }
}

// ------------------------------------------------------------ sub-sections

void CSectArea::RemoveInnerSect(CGraph* sub)
{
    if (!m_pSubList)
        return;
    if (sub) {
        if (POSITION pos = m_pSubList->Find(sub)) {
            if (CSectArea* area = AsArea(sub))
                area->SetOuterSect(nullptr);
            m_pSubList->RemoveAt(pos);
        }
    } else {
        ForSubs(m_pSubList, [](CObject* ob) {
            if (CSectArea* area = AsArea(ob))
                area->SetOuterSect(nullptr);
        });
        m_pSubList->RemoveAll();
    }
    if (m_pSubList->IsEmpty()) {
        delete m_pSubList;
        m_pSubList = nullptr;
    }
}

void CSectArea::InsertSubSect(CSectArea* sub)
{
    if (!sub)
        return;
    if (!m_pSubList)
        m_pSubList = new CObList;
    sub->SetOuterSect(this);
    if (!m_pSubList->Find(sub))
        m_pSubList->AddTail(static_cast<CObject*>(sub));
}

int CSectArea::FindIntCells(CObList* out)
{
    int segments = 0;
    ForSubs(m_pSubList, [&](CObject* ob) {
        CGraph* g = dynamic_cast<CGraph*>(ob);
        if (!g || g->IsEmpty())
            return;
        CObList* cells = g->Find2DCells(g->GetHeadNode(), false);
        if (!cells)
            return;
        for (POSITION c = cells->GetHeadPosition(); c;) {
            CObList* cell = static_cast<CObList*>(cells->GetNext(c));
            for (POSITION e = cell->GetHeadPosition(); e;)
                segments += 1 + static_cast<CEdge*>(cell->GetNext(e))->GetSubNodeCount();
        }
        for (POSITION c = cells->GetTailPosition(); c;) {
            CObject* cell = cells->GetPrev(c);
            if (out)
                out->AddHead(cell);
            else
                delete cell;
        }
        delete cells;
    });
    ForSubs(m_pSubList, [](CObject* ob) {
        if (CGraph* g = dynamic_cast<CGraph*>(ob))
            g->ResetCellEdge();
    });
    return segments;
}

// ------------------------------------------------------------ archive

void CSectArea::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CGraph::Serialize(ar);
        m_vAxes.Serialize(ar);
        ar << static_cast<LONG>(m_nRefine);
        ar << static_cast<CObject*>(m_pMaterial);
        ar << static_cast<CObject*>(m_pRefineList);
        ar << static_cast<CObject*>(m_pSubList);
        ar << static_cast<LONG>(m_bPolar ? 1 : 0);
        CObject* first = m_pRefineList && m_posFirstPoint ? m_pRefineList->GetAt(m_posFirstPoint)
                                                          : nullptr;
        ar << first;
        return;
    }
    // Loading keeps whatever was read when the file ends early.
    try {
        CGraph::Serialize(ar);
        m_vAxes.Serialize(ar);
        LONG count = 0;
        ar >> count;
        m_nRefine = count;
        CObject* ob = ar.ReadObject(nullptr);
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CMaterial))) {
            SetMaterial(static_cast<CMaterial*>(ob));
        }
        ob = ar.ReadObject(nullptr);
        m_pRefineList = ob && ob->IsKindOf(RUNTIME_CLASS(CObList)) ? static_cast<CObList*>(ob)
                                                                   : nullptr;
        ob = ar.ReadObject(nullptr);
        m_pSubList = ob && ob->IsKindOf(RUNTIME_CLASS(CObList)) ? static_cast<CObList*>(ob)
                                                                : nullptr;
        ForSubs(m_pSubList, [this](CObject* s) {
            if (CSectArea* area = AsArea(s))
                area->SetOuterSect(this);
        });
        LONG polar = 0;
        ar >> polar;
        m_bPolar = polar != 0;
        ob = ar.ReadObject(nullptr);
        m_posFirstPoint = ob && m_pRefineList ? m_pRefineList->Find(ob) : nullptr;
    } catch (CArchiveException&) {
    }
}

// ------------------------------------------------------------ region algebra

bool CSectArea::IsCCLW()
{
    return IsCClW(this);
}

bool CSectArea::Validate()
{
    RemoveDoubleEdges();
    if (IsCCLW())
        return true;
    CObList reversed;
    while (!IsEmpty())
        reversed.AddHead(RemoveHead());
    AddTail(&reversed);
    return IsCCLW();
}

CSection* CSectArea::IsPointInside2D(double x, double y, bool thisOnly)
{
    if (!CGraph::IsPointInside2D(*this, x, y))
        return nullptr;
    if (!thisOnly && m_pSubList)
        for (POSITION pos = m_pSubList->GetHeadPosition(); pos;)
            if (CSectArea* sub = AsArea(m_pSubList->GetNext(pos)))
                if (CSection* hit = sub->IsPointInside2D(x, y, false))
                    return hit;
    return this;
}

CSectArea* CSectArea::IsNodeInside2D(CSNode* node, bool thisOnly)
{
    if (!node || Find(node) || !CGraph::IsPointInside2D(*this, node->x, node->y))
        return nullptr;
    if (!m_pSubList || thisOnly)
        return this;
    for (POSITION pos = m_pSubList->GetHeadPosition(); pos;)
        if (CSectArea* sub = AsArea(m_pSubList->GetNext(pos)))
            if (CSectArea* hit = sub->IsNodeInside2D(node, false))
                return hit;
    return this;
}

bool CSectArea::SameNodes(CObList* nodes)
{
    if (!nodes || nodes->GetCount() != GetCount())
        return false;
    if (IsEmpty())
        return true;
    auto matches = [&](bool forwards) {
        CObject* start = forwards ? GetHead() : GetTail();
        POSITION at = nodes->Find(start);
        if (!at)
            return false;
        POSITION mine = forwards ? GetHeadPosition() : GetTailPosition();
        while (mine) {
            CObject* a = forwards ? GetNext(mine) : GetPrev(mine);
            if (a != nodes->GetAt(at))
                return false;
            nodes->GetNext(at);
            if (!at)
                at = nodes->GetHeadPosition();
        }
        return true;
    };
    return matches(true) || matches(false);
}

bool CSectArea::IsEdgeInGraph(CEdge* edge)
{
    if (!edge || GetCount() < 2)
        return false;
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION here = pos;
        CSNode* node = GetNextNode(pos);
        if (node != edge->GetNode1() && node != edge->GetNode2())
            continue;
        CObject* other = edge->GetNode(node);
        POSITION next = pos ? pos : GetHeadPosition();
        POSITION prev = here;
        GetPrev(prev);
        if (!prev)
            prev = GetTailPosition();
        return GetAt(next) == other || GetAt(prev) == other;
    }
    return false;
}

CSection* CSectArea::NewSect(CObList* chain, CObList* out)
{
    if (!chain || chain->GetCount() < 3)
        return nullptr;
    for (POSITION pos = chain->GetHeadPosition(); pos;) {
        CSNode* a = static_cast<CSNode*>(chain->GetNext(pos));
        CSNode* b = static_cast<CSNode*>(pos ? chain->GetAt(pos) : chain->GetHead());
        if (!GetComEdge(a, b))
            CreateEdge(a, b);
    }
    CSectArea* region = MakeSibling();
    region->SetMaterial(m_pMaterial);
    region->CopyAttrib(this);
    for (POSITION pos = chain->GetHeadPosition(); pos;)
        region->NewNode(static_cast<CSNode*>(chain->GetNext(pos)));
    const int n = region->GetCount();
    bool refuse = false;
    if (n == 3) {
        CSNode* a = region->GetHeadNode();
        CSNode* b = region->GetTailNode();
        CSNode* c = region->GetNode(1);
        const double ux = b->x - a->x, uy = b->y - a->y, uz = b->z - a->z;
        const double vx = c->x - a->x, vy = c->y - a->y, vz = c->z - a->z;
        const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
        const double lu = std::sqrt(ux * ux + uy * uy + uz * uz);
        const double lv = std::sqrt(vx * vx + vy * vy + vz * vz);
        const double len = lu > lv ? lu : lv;
        const double ratio = len > 0.0 ? 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz) / len : 0.0;
        refuse = std::fabs(ratio) <= 1e8 * 2.220446049250313e-16;
    }
    if (!refuse) {
        CSNode* ref = n == 3 ? region->GetHeadNode() : region->GetTailNode();
        if (CObList* graphs = ref->GetGraphList())
            for (POSITION pos = graphs->GetHeadPosition(); pos && !refuse;) {
                CSectArea* other = AsArea(graphs->GetNext(pos));
                if (other && other != region && other->SameNodes(region))
                    refuse = true;
            }
    }
    if (refuse) {
        delete region;
        return nullptr;
    }
    const char* prefix = n == 3 ? "Triangle" : n == 4 ? "Quad" : "Polygon";
    char name[64];
    std::snprintf(name, sizeof name, "%s (%u)", prefix,
                  static_cast<unsigned>(static_cast<DWORD>(region->GetID() - 4000000000u)));
    region->SetName(name);
    region->Validate();
    if (out)
        out->AddTail(static_cast<CObject*>(region));
    return region;
}

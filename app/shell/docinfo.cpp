// The information sheets of nodes, edges and links of the plate document.
// A sheet's follow-up (node list, repair, scales, modified mark) runs only
// when it ended with OK or one of its pages wrote into the model.
#include <memory>
#include <vector>

#include "app/analysis/platecomp.h"
#include "app/analysis/solverinput.h"
#include "app/shell/bcpage.h"
#include "app/shell/boundnode.h"
#include "app/shell/branteldoc.h"
#include "app/shell/edgeloadpage.h"
#include "app/shell/nodegeompage.h"
#include "femodel/strelna.h"

namespace
{

// The condition pages a document asks for, added to a sheet together.
class ConditionPageSet
{
public:
    explicit ConditionPageSet(CBrantelDoc& doc)
    {
        for (const CBrantelDoc::ConditionPageDef& def : doc.ConditionPages()) {
            auto page = std::make_unique<CPrPageBC>(def.index);
            page->m_iElemType = def.code;
            if (def.title) {
                page->m_psp.dwFlags |= PSP_USETITLE;
                page->m_psp.pszTitle = def.title;
            }
            m_pages.push_back(std::move(page));
        }
    }
    template <class F> void Each(F f)
    {
        for (auto& page : m_pages)
            f(*page);
    }
    void AddTo(CPropertySheet& sheet)
    {
        for (auto& page : m_pages)
            sheet.AddPage(page.get());
    }
    bool Applied() const
    {
        for (const auto& page : m_pages)
            if (page->m_bApplied)
                return true;
        return false;
    }

private:
    std::vector<std::unique_ptr<CPrPageBC>> m_pages;
};

} // namespace

std::vector<CBrantelDoc::ConditionPageDef> CBrantelDoc::ConditionPages()
{
    CPlateComp* comp = GetPlateComp();
    return {{0, comp ? comp->GetElementType() : 0, nullptr}};
}

bool CBrantelDoc::HasEdgeLoadPage()
{
    return true;
}

void CBrantelDoc::EditNodeInfo(CObject* object, bool pending)
{
    CPlateComp* comp = GetPlateComp();
    if (!object || !comp || !object->IsKindOf(RUNTIME_CLASS(CSNode)))
        return;
    ResetViews(7);
    ResetModelViews();
    CBoundNode* node = brantel::ToBoundNode(static_cast<CSNode*>(object), m_pNodeList);
    const int code = comp->GetElementType();

    CPrPageBNodeGeom geometry;
    geometry.m_pNode = node;
    geometry.m_pComp = comp;
    geometry.m_bDisconnect = m_pNodeList && m_pNodeList->Find(node) >= 0;
    if (comp->m_bAutoSpacing && !pending)
        geometry.m_iSpacingMode = CPrPageBNodeGeom::spacingShown;
    if (IsMembraneCode(code))
        geometry.m_iLoadMode = CPrPageBNodeGeom::loadTwo;
    ConditionPageSet conditions(*this);
    conditions.Each([node](CPrPageBC& page) { page.m_pNode = node; });
    CPropertySheet sheet("Node information");
    sheet.AddPage(&geometry);
    conditions.AddTo(sheet);
    const bool ok = sheet.DoModal() == IDOK;
    if (!ok && !geometry.m_bChanged && !conditions.Applied())
        return;

    if (!pending) {
        if (geometry.m_bDisconnect) {
            if (m_pNodeList && m_pNodeList->Find(node) < 0)
                AddSepNode(node, nullptr);
        } else {
            RemoveSepNode(node);
        }
    }
    // A condition, load or place of a model node changed: the meshes made
    // from it go (a mesh node's own sheet deletes nothing).
    if (geometry.m_bChanged || conditions.Applied()) {
        comp->DeleteMeshesAt(node);
        InvalidateLists();
    }
    if (geometry.m_bChanged) {
        if (!pending) {
            if (CObList* edges = node->GetEdgeList()) {
                CObList around;
                around.AddTail(edges);
                comp->FixEdges(&around);
            }
            comp->Fix();
            comp->Update(false, false);
        }
        RecomputeLoadScales();
    }
    SetModifiedFlag(TRUE);
}

void CBrantelDoc::EditEdgeInfo(CObject* object)
{
    CPlateComp* comp = GetPlateComp();
    if (!object || !comp)
        return;
    auto* edge = object->IsKindOf(RUNTIME_CLASS(CBoundary)) ? static_cast<CBoundary*>(object) : nullptr;
    auto* edges = object->IsKindOf(RUNTIME_CLASS(CObList)) ? static_cast<CObList*>(object) : nullptr;
    if (!edge && !edges)
        return;
    ConditionPageSet conditions(*this);
    conditions.Each([edge, edges](CPrPageBC& page) {
        page.m_pEdge = edge;
        page.m_pEdgeList = edges;
    });
    CPPEdgeLoad load;
    load.m_pEdge = edge;
    load.m_pEdgeList = edges;
    load.m_iElemType = comp->GetElementType();
    CPropertySheet sheet("Edge information");
    conditions.AddTo(sheet);
    if (HasEdgeLoadPage())
        sheet.AddPage(&load);
    const bool ok = sheet.DoModal() == IDOK;
    if (!ok && !conditions.Applied() && !load.m_bApplied)
        return;
    if (conditions.Applied() || load.m_bApplied)
        comp->DeleteMeshesAt(object);
    RecomputeLoadScales();
    InvalidateLists();
    SetModifiedFlag(TRUE);
}

void CBrantelDoc::EditLinkInfo(CObject* object)
{
    CPlateComp* comp = GetPlateComp();
    if (!object || !comp || !object->IsKindOf(RUNTIME_CLASS(CDOFLink)))
        return;
    CPrPageBC conditions(0);
    conditions.m_iElemType = comp->GetElementType();
    conditions.m_pLink = static_cast<CDOFLink*>(object);
    CPropertySheet sheet("Link information");
    sheet.AddPage(&conditions);
    const bool ok = sheet.DoModal() == IDOK;
    if (!ok && !conditions.m_bApplied)
        return;
    if (conditions.m_bApplied)
        comp->DeleteMeshesAt(object);
    RecomputeLoadScales();
    InvalidateLists();
    if (conditions.m_bApplied)
        SetModifiedFlag(TRUE);
}

int CBrantelDoc::EditNodes(CObList* list)
{
    CPlateComp* comp = GetPlateComp();
    if (!list || list->IsEmpty() || !comp)
        return 0;
    ConditionPageSet conditions(*this);
    conditions.Each([list](CPrPageBC& page) { page.m_pNodeList = list; });
    CPropertySheet sheet("Node information");
    conditions.AddTo(sheet);
    const bool ok = sheet.DoModal() == IDOK;
    if (conditions.Applied()) {
        comp->DeleteMeshesAt(list);
        InvalidateLists();
    }
    if (ok || conditions.Applied())
        SetModifiedFlag(TRUE);
    return 1;
}

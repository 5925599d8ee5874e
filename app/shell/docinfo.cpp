// The information sheets of nodes, edges and links of the plate document.
// A sheet's follow-up (node list, repair, scales, modified mark) runs only
// when it ended with OK or one of its pages wrote into the model.
#include "app/analysis/platecomp.h"
#include "app/shell/bcpage.h"
#include "app/shell/boundnode.h"
#include "app/shell/branteldoc.h"
#include "app/shell/edgeloadpage.h"
#include "app/shell/nodegeompage.h"
#include "femodel/strelna.h"

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
    CPrPageBC conditions(0);
    PrepareNodeSheet(geometry, conditions, node, comp, m_pNodeList && m_pNodeList->Find(node) >= 0,
                     comp->m_bAutoSpacing && !pending, code);
    CPropertySheet sheet("Node information");
    sheet.AddPage(&geometry);
    sheet.AddPage(&conditions);
    const bool ok = sheet.DoModal() == IDOK;
    if (!ok && !geometry.m_bChanged && !conditions.m_bApplied)
        return;

    if (!pending) {
        if (geometry.m_bDisconnect) {
            if (m_pNodeList && m_pNodeList->Find(node) < 0)
                AddSepNode(node, nullptr);
        } else {
            RemoveSepNode(node);
        }
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
    CPrPageBC conditions(0);
    CPPEdgeLoad load;
    if (object->IsKindOf(RUNTIME_CLASS(CBoundary))) {
        conditions.m_pEdge = load.m_pEdge = static_cast<CBoundary*>(object);
    } else if (object->IsKindOf(RUNTIME_CLASS(CObList))) {
        conditions.m_pEdgeList = load.m_pEdgeList = static_cast<CObList*>(object);
    } else {
        return;
    }
    conditions.m_iElemType = load.m_iElemType = comp->GetElementType();
    CPropertySheet sheet("Edge information");
    sheet.AddPage(&conditions);
    sheet.AddPage(&load);
    const bool ok = sheet.DoModal() == IDOK;
    if (!ok && !conditions.m_bApplied && !load.m_bApplied)
        return;
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
    CPrPageBC conditions(0);
    conditions.m_iElemType = comp->GetElementType();
    conditions.m_pNodeList = list;
    CPropertySheet sheet("Node information");
    sheet.AddPage(&conditions);
    const bool ok = sheet.DoModal() == IDOK;
    if (ok || conditions.m_bApplied)
        SetModifiedFlag(TRUE);
    return 1;
}

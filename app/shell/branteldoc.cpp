#include "app/shell/branteldoc.h"

#include <cmath>
#include <limits>
#include <memory>
#include <unordered_set>
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/bucklingdlgs.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "geometry/idcounters.h"
#include "platform/dimvor/units.h"
#include "platform/ferrand/ferrand.h"
#include "sections/regions/sectmesharea.h"

int iNewDocElemType = 81;
int iNewDocPlateElemType = 81;

CString ElementTypeShortName(int code)
{
    struct Name {
        int code;
        const char* text;
    };
    static const Name names[] = {{31, "CST"}, {32, "LST"},  {33, "QST"}, {41, "Q4"},  {42, "Q6"},
                                 {44, "Q8"},  {46, "Q9"},   {61, "T6"},  {65, "DKT"}, {66, "TEBA"},
                                 {75, "T15"}, {81, "T18"}, {85, "T21"}};
    for (const Name& n : names)
        if (n.code == code)
            return n.text;
    return CString();
}

IMPLEMENT_DYNCREATE(CBrantelDoc, KorDocSectComp)

BEGIN_MESSAGE_MAP(CBrantelDoc, KorDocSectComp)
ON_COMMAND(ID_MOVE_ALL, OnMoveAll)
ON_COMMAND(ID_EXPORT_REGION, OnExportRegion)
ON_COMMAND(ID_IMPORT_REGION, OnImportRegion)
ON_COMMAND(ID_VOLUME_FORCES, OnVolumeForces)
ON_COMMAND(ID_MATERIAL_AXES, OnMaterialAxes)
ON_UPDATE_COMMAND_UI(ID_MATERIAL_AXES, OnUpdateMaterialAxes)
ON_COMMAND(ID_STOP_CALCULATE, OnStopCalculate)
ON_UPDATE_COMMAND_UI(ID_STOP_CALCULATE, OnUpdateStopCalculate)
ON_COMMAND(ID_VIEW_LOGFILE, OnViewLogfile)
ON_COMMAND(ID_VIEW_BUCKLING_LOGFILE, OnViewBucklingLogfile)
ON_COMMAND(ID_NODE_ELEMENT_OUTPUT, OnNodeElementOutput)
ON_COMMAND(ID_MAX_MIN_RESULTS, OnMaxMinResults)
END_MESSAGE_MAP()

CBrantelDoc::CBrantelDoc()
{
    m_ppComp = &m_pSectComp;
    m_pNodeList = new NODELIST;
    CPlateComp* comp = NewComponent();
    m_pSectComp = comp;
    comp->SetElementType(iNewDocElemType);
    AddDefaultMaterials(*comp);
    m_nSmoothing = 10;
}

CPlateComp* CBrantelDoc::NewComponent()
{
    return new CPlateComp;
}

void CBrantelDoc::AddDefaultMaterials(CPlateComp& comp)
{
    comp.AddMaterial(new CMaterial("Default", 7.85e-06, 210000.0, 0.0, 0.3, 1.2e-05));
    comp.AddMaterial(new COrthoMat("VOID", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0));
}

CBrantelDoc::~CBrantelDoc()
{
    delete m_pstrArchText;
    m_pstrArchText = nullptr;
    // No static may keep pointing into this document once it is gone.
    if (CSectMeshArea::m_pSepNodeGraphGroups == m_SepNodeGroups.data())
        CSectMeshArea::m_pSepNodeGraphGroups = nullptr;
    DeleteGroups();
    if (CGraph::m_pNodeList == m_pNodeList)
        CGraph::m_pNodeList = nullptr;
    // The nodes that only the list holds go while the graphs' nodes are
    // still alive to be told apart.
    DeleteNodeList(m_pNodeList);
    ReleaseCopies();
    DeleteModel(m_pSectComp);
}

CPlateComp* CBrantelDoc::GetPlateComp() const
{
    return dynamic_cast<CPlateComp*>(m_pSectComp);
}

CObList* CBrantelDoc::GetMaterialList()
{
    CPlateComp* comp = GetPlateComp();
    return comp ? &comp->GetMaterialList() : nullptr;
}

// ---- Groups of separated nodes ----------------------------------------------------

void CBrantelDoc::DeleteGroups()
{
    for (CObList* group : m_SepNodeGroups) {
        if (!group)
            continue;
        for (POSITION pos = group->GetHeadPosition(); pos;)
            delete group->GetNext(pos);
        delete group;
    }
    m_SepNodeGroups.clear();
}

void CBrantelDoc::PublishGroups()
{
    CSectMeshArea::m_pSepNodeGraphGroups = m_SepNodeGroups.empty() ? nullptr : m_SepNodeGroups.data();
}

long CBrantelDoc::AddSepNode(CSNode* node, CObList* group)
{
    PublishGroups();
    if (!node || !m_pNodeList)
        return -1;
    // One search: AddNode gives the index of a present node and the new
    // count for an appended one.
    long index = m_pNodeList->AddNode(node);
    if (index < 0)
        return -1;
    if (index == m_pNodeList->m_nCount)
        index = m_pNodeList->m_nCount - 1;
    if (m_SepNodeGroups.size() < static_cast<std::size_t>(m_pNodeList->m_nCount))
        m_SepNodeGroups.resize(static_cast<std::size_t>(m_pNodeList->m_nCount), nullptr);
    CObList*& slot = m_SepNodeGroups[static_cast<std::size_t>(index)];
    if (slot != group && slot) {
        for (POSITION pos = slot->GetHeadPosition(); pos;)
            delete slot->GetNext(pos);
        delete slot;
    }
    slot = group;
    PublishGroups();
    return index;
}

bool CBrantelDoc::RemoveSepNode(CSNode* node)
{
    const long index = m_pNodeList ? m_pNodeList->RemoveNode(node) : -1;
    if (index < 0)
        return false;
    if (static_cast<std::size_t>(index) < m_SepNodeGroups.size()) {
        if (CObList* group = m_SepNodeGroups[static_cast<std::size_t>(index)]) {
            for (POSITION pos = group->GetHeadPosition(); pos;)
                delete group->GetNext(pos);
            delete group;
        }
        m_SepNodeGroups.erase(m_SepNodeGroups.begin() + index);
    }
    PublishGroups();
    return true;
}

// ---- Statics and model ------------------------------------------------------------

void CBrantelDoc::UpdateStatics(bool activate)
{
    KorDocSectComp::UpdateStatics(activate);
    if (activate) {
        CGraph::m_pNodeList = m_pNodeList;
        PublishGroups();
    }
}

void CBrantelDoc::ModelChanged(CSectComp*)
{
    auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (!frame)
        return;
    CPlateComp* comp = GetPlateComp();
    frame->GetStatusBarWnd().SetPaneText(1, GetElementTypeName());
    frame->m_pListNames = ResultNamesForElementType(comp ? comp->GetElementType() : 0);
    frame->UpdateResultList(comp ? comp->GetActVal() : 0);
    // The frame of the first view keeps its material while the model still
    // lists it; otherwise the model's first material becomes current.
    POSITION pos = GetFirstViewPosition();
    CView* view = pos ? GetNextView(pos) : nullptr;
    auto* child = view ? dynamic_cast<CChildFrame*>(view->GetParentFrame()) : nullptr;
    CObList* materials = comp ? &comp->GetMaterialList() : nullptr;
    CMaterial* active = child ? child->m_pActiveMaterial : nullptr;
    if (materials && (!active || !materials->Find(active)))
        active = materials->IsEmpty() ? nullptr : static_cast<CMaterial*>(materials->GetHead());
    if (child)
        child->m_pActiveMaterial = active;
    frame->UpdateMaterialList(materials, active);
}

void CBrantelDoc::DeleteModel(CSectComp*& comp)
{
    if (!comp)
        return;
    CSectComp* doomed = comp;
    comp = nullptr;
    const DWORD graphID = CGraph::lIDGraph;
    CObList materials;
    if (auto* plate = dynamic_cast<CPlateComp*>(doomed))
        materials.AddTail(&plate->GetMaterialList());
    delete doomed;
    for (POSITION pos = materials.GetHeadPosition(); pos;)
        delete materials.GetNext(pos);
    CGraph::lIDGraph = graphID;
}

// ---- Archive ----------------------------------------------------------------------

void CBrantelDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CBrantelDoc::Store(CArchive& ar)
{
    ar << LONG(1);
    m_pSectComp->Serialize(ar);
    m_pSectComp->SerializeNodeIDs(ar);
    m_pSectComp->SecondarySerial(ar);
    ar << LONG(1);
    ar << LONG(m_pstrArchText ? 1 : 0);
    if (m_pstrArchText)
        ar << *m_pstrArchText;
    ar << LONG(m_bArchFlag ? 1 : 0);
    const int count = m_pNodeList ? m_pNodeList->m_nCount : 0;
    ar << LONG(count);
    for (int i = 0; i < count; ++i)
        ar.WriteObject(m_pNodeList->m_pNodes[i]);
    StoreTail(ar);
}

namespace
{

// Puts the libraries' statics back as they were when a load began, however
// the load ends.
class StaticsGuard
{
public:
    StaticsGuard()
        : m_nodeList(CGraph::m_pNodeList), m_groups(CSectMeshArea::m_pSepNodeGraphGroups)
    {
    }
    ~StaticsGuard()
    {
        CGraph::m_pNodeList = m_nodeList;
        CSectMeshArea::m_pSepNodeGraphGroups = m_groups;
    }
    StaticsGuard(const StaticsGuard&) = delete;
    StaticsGuard& operator=(const StaticsGuard&) = delete;

private:
    CIdentifierCounters m_counters;
    NODELIST* m_nodeList;
    CObList** m_groups;
};

} // namespace

// A material that a region uses but the file's material list leaves out
// would have no owner: it joins the list, which the document owns.
void CBrantelDoc::AdoptUnlistedMaterials(CArchive& ar, CPlateComp& comp)
{
    CObList& list = comp.GetMaterialList();
    std::unordered_set<const CObject*> listed;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        listed.insert(list.GetNext(pos));
    for (CObject* made : ar.GetCreatedObjects())
        if (made->IsKindOf(RUNTIME_CLASS(CMaterial)) && listed.insert(made).second)
            comp.AddMaterial(static_cast<CMaterial*>(made));
}

void CBrantelDoc::Load(CArchive& ar)
{
    LONG version = 0;
    ar >> version; // read and ignored

    // Everything is read into fresh objects, with this document's counters
    // in force from the composite to the last block, so that the nodes of
    // the trailing blocks draw identifiers after the composite's.
    std::unique_ptr<CPlateComp> fresh(NewComponent());
    std::unique_ptr<NODELIST> list = std::make_unique<NODELIST>();
    std::unique_ptr<CString> text;
    bool flag = false;
    {
        StaticsGuard guard;
        KorDoc::UpdateStatics(true);
        CGraph::m_pNodeList = list.get();
        CSectMeshArea::m_pSepNodeGraphGroups = nullptr;
        try {
            fresh->Serialize(ar);
            fresh->SerializeNodeIDs(ar);
            fresh->SecondarySerial(ar);
            const bool blocksRequired = HasArchiveTail();
            if (blocksRequired || !ar.IsBufferEmpty()) {
                LONG marker = 0, present = 0, stored = 0;
                ar >> marker >> present;
                if (present != 0) {
                    text = std::make_unique<CString>();
                    ar >> *text;
                }
                ar >> stored;
                flag = stored == 1;
            }
            if (blocksRequired || !ar.IsBufferEmpty()) {
                LONG count = 0;
                ar >> count;
                if (count < 0)
                    AfxThrowArchiveException(CArchiveException::badIndex);
                ar.CheckAvailable(static_cast<ULONGLONG>(count), 2);
                list->Reserve(static_cast<int>(count));
                // Read first, then listed in one linear pass (a node stored
                // twice is one object and listed once).
                std::vector<CSNode*> nodes;
                nodes.reserve(static_cast<std::size_t>(count));
                for (LONG i = 0; i < count; ++i) {
                    CSNode* node = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode));
                    if (!node)
                        AfxThrowArchiveException(CArchiveException::badClass);
                    nodes.push_back(node);
                }
                list->AddNodes(nodes.data(), static_cast<long>(nodes.size()));
            }
            LoadTail(ar);
            AdoptUnlistedMaterials(ar, *fresh);
        } catch (...) {
            // The fresh component first (its materials are the archive's),
            // then everything else the archive made; nodes are the graphs'
            // or the archive's, never the fresh list's.
            fresh.reset();
            list->RemoveAll();
            ar.DeleteCreatedObjects();
            throw;
        }
        KorDoc::UpdateStatics(false);
    }

    // The whole archive is read: the fresh objects replace the document's.
    ReleaseCopies();
    CSectComp* old = m_pSectComp;
    m_pSectComp = fresh.release();
    DeleteModel(old);
    if (CGraph::m_pNodeList == m_pNodeList)
        CGraph::m_pNodeList = list.get();
    DeleteNodeList(m_pNodeList);
    m_pNodeList = list.release();
    const bool published = CSectMeshArea::m_pSepNodeGraphGroups == m_SepNodeGroups.data() &&
                           !m_SepNodeGroups.empty();
    DeleteGroups();
    m_SepNodeGroups.assign(static_cast<std::size_t>(m_pNodeList->m_nCount), nullptr);
    if (published)
        PublishGroups();
    delete m_pstrArchText;
    m_pstrArchText = text.release();
    m_bArchFlag = flag;
    m_bMeshValid = false; // the loaded model has no results yet
    CommitTail();

    RecomputeLoadScales();
    ZoomAllToFit();
}

void CBrantelDoc::RecomputeLoadScales(unsigned nodeKind, unsigned edgeKind)
{
    if (!m_pSectComp)
        return;
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    m_pSectComp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double diagonal = std::hypot(xmax - xmin, ymax - ymin);
    // The extremes come from the model's loads (the mesh bit 8 is dropped):
    // the mesh holds copies of them, and a model without a mesh, just opened,
    // would otherwise keep a stale scale, so that the arrows changed their
    // length with the order of opening, meshing and viewing.
    const auto scale = [&](unsigned kind, double& target) {
        double max = -std::numeric_limits<double>::max();
        double min = 0.0;
        m_pSectComp->GetMaxMinLoad(max, min, kind & ~8u);
        const double largest = std::max(max, std::fabs(min));
        if (largest != 0.0)
            target = diagonal / (3.0 * largest);
    };
    scale(nodeKind, m_dNodeLoadScale);
    scale(edgeKind, m_dEdgeLoadScale);
}

// ---- Framework hooks --------------------------------------------------------------

BOOL CBrantelDoc::IsModified()
{
    return m_bModified;
}

void CBrantelDoc::SetModifiedFlag(BOOL bModified)
{
    KorDocSectComp::SetModifiedFlag(bModified);
    if (bModified) {
        m_bMeshValid = false;
        UpdateAllViews(nullptr);
    }
}

BOOL CBrantelDoc::OnNewDocument()
{
    return KorDocSectComp::OnNewDocument() ? TRUE : FALSE;
}

BOOL CBrantelDoc::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    // The switch stays off only for this save; the libraries' own copies
    // (undo snapshots) keep their meshes.
    const bool storeMesh = CSectMeshArea::m_bStoreMesh;
    CSectMeshArea::m_bStoreMesh = false;
    const BOOL saved = KorDocSectComp::DoSave(lpszPathName, bReplace);
    CSectMeshArea::m_bStoreMesh = storeMesh;
    return saved;
}

bool CBrantelDoc::GetMaxMinActVal(double& max, double& min)
{
    max = 0.0;
    min = 0.0;
    if (CPlateComp* comp = GetPlateComp())
        comp->GetMaxMinResult(max, min, nullptr);
    return true;
}

CString CBrantelDoc::GetElementTypeName()
{
    CPlateComp* comp = GetPlateComp();
    return comp ? ElementTypeShortName(comp->GetElementType()) : CString();
}

// The region sheet: regionprops.cpp. Nodes, edges and links: docinfo.cpp.

void CBrantelDoc::EditObject(CObject* object)
{
    if (!object)
        return;
    if (object->IsKindOf(RUNTIME_CLASS(CSectPlate)))
        EditRegionProperties(object);
    else if (object->IsKindOf(RUNTIME_CLASS(CBoundary)))
        EditEdgeInfo(object);
    else if (object->IsKindOf(RUNTIME_CLASS(CDOFLink)))
        EditLinkInfo(object);
    else if (object->IsKindOf(RUNTIME_CLASS(CSNode)))
        EditNodeInfo(object, false);
}

std::vector<IPlateDocView*> CBrantelDoc::PlateViews() const
{
    std::vector<IPlateDocView*> views;
    for (CView* view : GetViews())
        if (auto* plateView = dynamic_cast<IPlateDocView*>(view))
            views.push_back(plateView);
    return views;
}

void CBrantelDoc::ResetViews(unsigned mask)
{
    const std::vector<IPlateDocView*> views = PlateViews();
    if ((mask & 8) || mask == 7) {
        for (IPlateDocView* view : views) {
            const bool all = mask == 7;
            if (view->IsElementOrResultsView() || (all && view->IsModelView()))
                view->DropSelection();
        }
        if (mask == 7)
            return;
    }
    for (IPlateDocView* view : views)
        if (view->IsModelView() && (view->SelectedKinds() & mask & 7u))
            view->DropSelection();
}

void CBrantelDoc::ResetModelViews()
{
    for (IPlateDocView* view : PlateViews())
        if (view->IsModelView())
            view->ResetGeomInput();
}

void CBrantelDoc::PickDrawModel(unsigned filter, bool flag)
{
    if (!m_pSectComp)
        return;
    if (filter & 8)
        m_pSectComp->PickDrawGL(false, static_cast<int>(filter), flag);
    else
        m_pSectComp->PickDrawAddressGL(static_cast<int>(filter));
}

void CBrantelDoc::GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin)
{
    if (m_pSectComp)
        m_pSectComp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
}

CObject* CBrantelDoc::GetObjectById(unsigned long id, bool flag)
{
    return m_pSectComp ? m_pSectComp->GetObjectA(id, flag) : nullptr;
}

// ---- Commands ---------------------------------------------------------------------

void CBrantelDoc::OnMoveAll()
{
    const int unit = iConv[iStandard][0][0];
    KorDlgCoordInput dlg(UnitString(iStandard, kUnitLength, unit), 0, nullptr);
    if (dlg.DoModal() != IDOK || !m_pSectComp)
        return;
    const double factor = MetricToX(iStandard, kUnitLength, unit);
    UpdateUndo(true);
    m_pSectComp->Translate(dlg.m_dX / factor, dlg.m_dY / factor, 0.0);
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CBrantelDoc::OnMaterialAxes()
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return;
    comp->m_iLocalAxes = comp->m_iLocalAxes == 0 ? 1 : 0;
    InvalidateLists();
    UpdateAllViews(nullptr);
}

void CBrantelDoc::OnUpdateMaterialAxes(CCmdUI* pCmdUI)
{
    CPlateComp* comp = GetPlateComp();
    pCmdUI->SetCheck(comp && comp->m_iLocalAxes != 0 ? 1 : 0);
}

void CBrantelDoc::OnVolumeForces()
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return;
    CDlgVolForce dlg;
    PresetVolumeForce(comp->m_VolumeForce, dlg);
    const auto before = VolumeForceEntries(dlg);
    if (dlg.DoModal() != IDOK)
        return;
    StoreVolumeForce(dlg, comp->m_VolumeForce);
    // The record is part of the file: a change must reach the next save.
    if (VolumeForceEntries(dlg) != before)
        SetModifiedFlag(TRUE);
}

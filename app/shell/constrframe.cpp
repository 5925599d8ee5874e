// The constrained-mesh child frame: the quadrilateral region, the
// structured-mesh settings, the structured mesh and the element options.
//
// The region's corners are A, B, D, C in its own order, so that its edges
// are AB, BD, DC and CA. Edge A is AB and A' is CD (m elements each), edge B
// is AC and B' is BD (n elements each). Ratios and list positions are read
// along A->B, C->D, A->C and B->D, whatever direction the stored edge has,
// so equal settings grade opposite edges the same way.
#include <algorithm>
#include <climits>
#include <cmath>

#include "app/analysis/analysis.h"
#include "app/shell/brantelmodview.h"
#include "app/shell/brantelview.h"
#include "app/shell/bucklingdlgs.h"
#include "app/shell/calcrun.h"
#include "app/shell/docshell.h"
#include "app/shell/elemsheet.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "app/shell/viewrestr.h"
#include "graphview/ogl2dview.h"
#include "matrix/textnumber.h"
#include "platform/dimvor/units.h"

IMPLEMENT_DYNCREATE(CConstrChFrm, CChildFrame)

BEGIN_MESSAGE_MAP(CConstrChFrm, CChildFrame)
ON_COMMAND(ID_COARSER, OnCoarser)
ON_COMMAND(ID_FINER, OnFiner)
ON_COMMAND(ID_ELEM_MESH_CONTROL, OnMeshControl)
ON_COMMAND(ID_ELEM_OPTIONS, OnElemOptions)
END_MESSAGE_MAP()

namespace
{

// The first plate region of the component, or null.
CSectPlate* FirstRegion(CPlateComp& comp)
{
    for (POSITION pos = comp.CObList::GetHeadPosition(); pos;)
        if (auto* region = dynamic_cast<CSectPlate*>(comp.GetNext(pos)))
            return region;
    return nullptr;
}

// The length display factor (stored millimetres to shown units).
double LengthFactor()
{
    return MetricToX(iStandard, kUnitLength, iConv[iStandard][0][0]);
}

// The dialog's radio for an edge's condition: 0 none, 1 and 2 the two
// standard types, 3 anything else.
int ConditionChoice(CEdge* edge)
{
    CBoundCond* bc = edge ? edge->GetBC(0) : nullptr;
    if (!bc)
        return 0;
    const unsigned type = bc->GetType();
    return type == 1 || type == 2 ? static_cast<int>(type) : 3;
}

void ApplyConditionChoice(CEdge* edge, int choice)
{
    auto* boundary = dynamic_cast<CBoundary*>(edge);
    if (!boundary)
        return;
    if (choice == 0)
        boundary->ClearBC(-1);
    else if (choice == 1 || choice == 2)
        boundary->SetBC(static_cast<unsigned>(choice), -1);
}

// The corners in the region's order A, B, D, C as (x, y) pairs.
using Corners = std::array<std::array<double, 2>, 4>;

Corners DialogCorners(const CDlgQuadCreate& dlg, double factor)
{
    return {{{dlg.m_dAx / factor, dlg.m_dAy / factor},
             {dlg.m_dBx / factor, dlg.m_dBy / factor},
             {dlg.m_dDx / factor, dlg.m_dDy / factor},
             {dlg.m_dCx / factor, dlg.m_dCy / factor}}};
}

// True when the outline through the corners in order is a simple
// quadrilateral: no edge of zero length, no two edges crossing, and the
// two pairs of opposite edges without any common point.
bool IsSimpleQuad(Corners corners)
{
    for (int i = 0; i < 4; ++i) {
        const auto& p = corners[static_cast<std::size_t>(i)];
        const auto& q = corners[static_cast<std::size_t>((i + 1) % 4)];
        if (p == q)
            return false;
    }
    const auto segment = [&](int i, double* ends[2]) {
        ends[0] = corners[static_cast<std::size_t>(i)].data();
        ends[1] = corners[static_cast<std::size_t>((i + 1) % 4)].data();
    };
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            double* first[2];
            double* second[2];
            segment(i, first);
            segment(j, second);
            const short meet = CEdge::Intersection2D(first, second);
            const bool adjacent = j == i + 1 || (i == 0 && j == 3);
            // Neighbours share a corner (code 2); opposite edges share nothing.
            if (meet == 1 || (!adjacent && meet != 0))
                return false;
        }
    return true;
}

int ClampedCount(UINT count)
{
    return static_cast<int>(std::clamp<UINT>(count, 1u, static_cast<UINT>(INT_MAX)));
}

// Subdivides the edge into count elements, read from the node 'from'.
void SubdivideEdge(CEdge& edge, CSNode* from, int count, const CDocRestr::EdgeSettings& settings)
{
    const bool forward = edge.GetNode1() == from;
    const CVector& list = *settings.list;
    if (*settings.ratio > 0.0 || list.GetSize() == 0) {
        // A negative ratio without its list (a file written before lists
        // were kept) grades by the ratio's size.
        double ratio = std::fabs(*settings.ratio);
        if (ratio == 0.0)
            ratio = 1.0;
        if (!forward)
            ratio = 1.0 / ratio;
        switch (*settings.progression) {
        case 0:
            edge.SubDivideLin(ratio, count - 1);
            break;
        case 1:
            edge.SubDivideGeom(ratio, count - 1);
            break;
        default:
            edge.SubDivideSeg(count, true);
            break;
        }
        return;
    }
    // The edge takes increments, the list holds positions.
    const int size = list.GetSize();
    CVector steps(size);
    double previous = 0.0;
    for (int i = 0; i < size; ++i) {
        const double position = forward ? list[i] : 1.0 - list[size - 1 - i];
        steps[i] = position - previous;
        previous = position;
    }
    edge.SubDivide(&steps);
}

// What the edges hand to a mesh that may still fail: the boundary edges
// and the corner copies made for it.
struct MeshBoundary {
    std::vector<CEdge*> edges;
    std::vector<CSNode*> copies;

    CSNode* CopyOf(CSNode* node)
    {
        if (CSNode* copy = node->GetCopyNode())
            return copy;
        CSNode* copy = node->Copy(false);
        copies.push_back(copy);
        return copy;
    }
    // A failed mesh took none of them.
    void Discard()
    {
        for (CEdge* edge : edges)
            delete edge;
        for (CSNode* copy : copies) {
            copy->RemoveCopyNode(true);
            delete copy;
        }
        edges.clear();
        copies.clear();
    }
};

// An edge with a condition or a load hands them to boundary edges between
// the mesh's copies of its ends and its sub-nodes; the region keeps its own
// four edges.
void HandEdgePropertiesToMesh(CEdge& edge, MeshBoundary& made)
{
    auto* boundary = dynamic_cast<CBoundary*>(&edge);
    if (!boundary || (!boundary->GetBC(0) && !boundary->GetLoad()))
        return;
    CObList chain;
    const auto join = [&](CSNode* from, CSNode* to) {
        auto* segment = new CBoundary(from, to);
        made.edges.push_back(segment);
        chain.AddTail(segment);
    };
    CSNode* from = made.CopyOf(edge.GetNode1());
    if (CObList* subNodes = edge.GetSubNodeList())
        for (POSITION pos = subNodes->GetHeadPosition(); pos;) {
            auto* to = static_cast<CSNode*>(subNodes->GetNext(pos));
            join(from, to);
            from = to;
        }
    join(from, made.CopyOf(edge.GetNode2()));
    boundary->CopyProperties(chain);
}

const char* const kEdgeNames[4] = {"A", "A'", "B", "B'"};

// The settings as the dialog edits them, before they are written back.
struct DialogSettings {
    UINT m = 10, n = 10;
    int prog[4] = {0, 0, 0, 0};
    double ratio[4] = {1.0, 1.0, 1.0, 1.0};
    CVector lists[4];
    int evenRows = 0, oddRows = 0;
};

// Checks the ticked lists of one pair (edges first and first + 1) and sets
// the pair's count and the negated ratios. false with the edge that broke a
// rule (-1 when only the pair's lengths differ).
bool ValidatePair(DialogSettings& s, const int ticked[4], int first, UINT& count, int& badEdge)
{
    const int second = first + 1;
    badEdge = -1;
    if (ticked[first] && ticked[second] &&
        s.lists[first].GetSize() != s.lists[second].GetSize())
        return false;
    for (int edge : {first, second}) {
        if (!ticked[edge])
            continue;
        const CVector& list = s.lists[edge];
        double previous = 0.0;
        for (int i = 0; i < list.GetSize(); ++i) {
            // Strictly increasing positions inside the edge: a repeated or
            // backward value would make sub-edges overlap.
            if (!(list[i] > previous) || !(list[i] < 1.0)) {
                badEdge = edge;
                return false;
            }
            previous = list[i];
        }
        count = static_cast<UINT>(list.GetSize() + 1);
        s.ratio[edge] = -s.ratio[edge];
    }
    return true;
}

} // namespace

CDocRestr* CConstrChFrm::RestrDoc()
{
    return dynamic_cast<CDocRestr*>(GetActiveDocument());
}

CView* CConstrChFrm::CreateModView()
{
    if (CBrantelDoc* doc = PlateDoc())
        doc->RecomputeLoadScales(2, 4);
    return CreatePaneView(RUNTIME_CLASS(CViewRestr));
}

// ---- Region ------------------------------------------------------------------------

bool CConstrChFrm::DefineRegion()
{
    CDocRestr* doc = RestrDoc();
    if (!doc)
        return false;
    CPlateComp* comp = doc->GetPlateComp();
    const double f = LengthFactor();
    CSectPlate* region = FirstRegion(*comp);
    std::vector<CSNode*> nodes;
    std::array<CEdge*, 4> edges{}; // AB, BD, DC, CA
    int shown[4] = {0, 0, 0, 0};   // their conditions as the dialog shows them
    CDlgQuadCreate dlg(this);
    if (region && region->GetCount() == 4) {
        for (POSITION pos = region->GetHeadPosition(); pos;)
            nodes.push_back(region->GetNextNode(pos));
        for (std::size_t i = 0; i < 4; ++i)
            edges[i] = CGraph::GetComEdge(nodes[i], nodes[(i + 1) % 4]);
        double z = 0.0;
        nodes[0]->GetVertex(dlg.m_dAx, dlg.m_dAy, z);
        nodes[1]->GetVertex(dlg.m_dBx, dlg.m_dBy, z);
        nodes[2]->GetVertex(dlg.m_dDx, dlg.m_dDy, z);
        nodes[3]->GetVertex(dlg.m_dCx, dlg.m_dCy, z);
        for (double* v : {&dlg.m_dAx, &dlg.m_dAy, &dlg.m_dBx, &dlg.m_dBy, &dlg.m_dCx, &dlg.m_dCy,
                          &dlg.m_dDx, &dlg.m_dDy})
            *v *= f;
        // The dialog shows the region's own thickness, so that OK keeps it.
        dlg.m_dThickness = region->GetThickness() * f;
        const CVector& coeffs = region->GetThicknessVector();
        if (coeffs.GetSize() > 3) {
            dlg.m_dThick3 = coeffs[0] * f;
            dlg.m_dThick4 = coeffs[1] * f;
            dlg.m_dThick1 = coeffs[2];
            dlg.m_dThick2 = coeffs[3];
        }
        for (std::size_t i = 0; i < 4; ++i)
            shown[i] = ConditionChoice(edges[i]);
        dlg.m_iBCAB = shown[0];
        dlg.m_iBCBD = shown[1];
        dlg.m_iBCCD = shown[2];
        dlg.m_iBCAC = shown[3];
    } else if (region) {
        return false; // not a quadrilateral: the dialog cannot show it
    } else {
        // A new region is proposed the active thickness, as drawn ones get.
        dlg.m_dThickness = CBrantelModView::ActiveThickness() * f;
    }

    // "Edges cannot intersect" brings the dialog back with the entries.
    for (;;) {
        if (dlg.DoModal() != IDOK)
            return false;
        if (IsSimpleQuad(DialogCorners(dlg, f)))
            break;
        AfxMessageBox("Edges cannot intersect", MB_OK);
    }
    const Corners corners = DialogCorners(dlg, f);

    if (!region) {
        CMaterial* material = nullptr;
        CObList& materials = comp->GetMaterialList();
        for (POSITION pos = materials.GetHeadPosition(); pos && !material;) {
            auto* candidate = static_cast<CMaterial*>(materials.GetNext(pos));
            if (candidate->GetName() != "VOID")
                material = candidate;
        }
        for (const auto& corner : corners)
            nodes.push_back(new CBoundNode(corner[0], corner[1], 0.0, nullptr, 0));
        region = new CSectPlate(nodes[0], nodes[1], nodes[2], nodes[3], material);
        comp->AddTail(region);
        for (std::size_t i = 0; i < 4; ++i)
            edges[i] = CGraph::GetComEdge(nodes[i], nodes[(i + 1) % 4]);
    } else {
        // Moved corners leave the mesh behind: it goes.
        bool moved = false;
        for (std::size_t i = 0; i < 4; ++i) {
            moved = moved || nodes[i]->x != corners[i][0] || nodes[i]->y != corners[i][1];
            nodes[i]->SetNodeCoord(corners[i][0], corners[i][1], 0.0);
        }
        region->Update(true, true);
        if (moved)
            region->DeleteMesh(false);
    }
    // Only a changed choice reaches its edge: an unchanged one keeps the
    // edge's whole condition chain as it is. The mesh holds copies of the
    // conditions: a changed one deletes it.
    const int chosen[4] = {dlg.m_iBCAB, dlg.m_iBCBD, dlg.m_iBCCD, dlg.m_iBCAC};
    for (std::size_t i = 0; i < 4; ++i)
        if (chosen[i] != shown[i]) {
            ApplyConditionChoice(edges[i], chosen[i]);
            comp->DeleteMeshesAt(edges[i]);
        }

    // Thickness: the two slopes (in x and y) with their reference point.
    CVector coeffs;
    if (dlg.m_dThick1 != 0.0 || dlg.m_dThick2 != 0.0) {
        coeffs.Allocate(4, true, 0.0);
        coeffs[0] = dlg.m_dThick3 / f;
        coeffs[1] = dlg.m_dThick4 / f;
        coeffs[2] = dlg.m_dThick1;
        coeffs[3] = dlg.m_dThick2;
    }
    region->SetThickness(dlg.m_dThickness / f, coeffs);

    doc->SetModifiedFlag(TRUE);
    doc->InvalidateLists();
    return true;
}

// ---- Settings ----------------------------------------------------------------------

CString CConstrChFrm::FormatDistList(const CVector& list)
{
    CString text;
    for (int i = 0; i < list.GetSize(); ++i) {
        CString entry;
        entry.Format("%f", list[i] * 100.0);
        entry.TrimRight('0');
        if (entry.IsEmpty())
            entry = "0";
        entry.TrimRight('.');
        if (i > 0)
            text += " ; ";
        text += entry;
    }
    return text;
}

void CConstrChFrm::ParseDistList(const CString& text, CVector& list)
{
    std::vector<double> values;
    zelkor::LineNumbers numbers{std::string(static_cast<LPCTSTR>(text))};
    for (std::string number; numbers.Next(number);)
        values.push_back(std::atof(number.c_str()) / 100.0);
    list.Allocate(static_cast<int>(values.size()), true, 0.0);
    for (std::size_t i = 0; i < values.size(); ++i)
        list[static_cast<int>(i)] = values[i];
}

bool CConstrChFrm::EditMeshSettings()
{
    CDocRestr* doc = RestrDoc();
    if (!doc)
        return false;
    if (!FirstRegion(*doc->GetPlateComp()) && !DefineRegion())
        return false;
    const auto edges = doc->Edges();

    CDlgConstrMesh dlg(this);
    dlg.m_nM = doc->m_nElemA;
    dlg.m_nN = doc->m_nElemB;
    dlg.m_iOddRows = doc->m_nOddRows + 1;
    dlg.m_iEvenRows = doc->m_nEvenRows + 1;
    int* progs[4] = {&dlg.m_iProgR, &dlg.m_iProgS, &dlg.m_iProgT, &dlg.m_iProgU};
    double* ratios[4] = {&dlg.m_dR, &dlg.m_dS, &dlg.m_dT, &dlg.m_dU};
    int* ticks[4] = {&dlg.m_bListR, &dlg.m_bListS, &dlg.m_bListT, &dlg.m_bListU};
    CString* texts[4] = {&dlg.m_strListR, &dlg.m_strListS, &dlg.m_strListT, &dlg.m_strListU};
    for (std::size_t i = 0; i < 4; ++i) {
        *progs[i] = *edges[i].progression;
        *ratios[i] = std::fabs(*edges[i].ratio);
        *ticks[i] = *edges[i].ratio < 0.0 ? 1 : 0;
        *texts[i] = FormatDistList(*edges[i].list);
    }

    DialogSettings s;
    for (;;) {
        if (dlg.DoModal() != IDOK)
            return false;
        s = DialogSettings{};
        s.m = dlg.m_nM;
        s.n = dlg.m_nN;
        s.oddRows = dlg.m_iOddRows - 1;
        s.evenRows = dlg.m_iEvenRows - 1;
        int ticked[4];
        for (std::size_t i = 0; i < 4; ++i) {
            s.prog[i] = *progs[i];
            s.ratio[i] = *ratios[i];
            ticked[i] = *ticks[i];
            ParseDistList(*texts[i], s.lists[i]);
        }
        int badEdge = -1;
        if (ValidatePair(s, ticked, 0, s.m, badEdge) && ValidatePair(s, ticked, 2, s.n, badEdge)) {
            // Counts taken from the position lists are bounded as typed ones.
            if (CDocRestr::IsElementCountPair(s.m, s.n))
                break;
            CString message;
            message.Format("A mesh of %u x %u elements is larger than the %llu elements the "
                           "program meshes.",
                           s.m, s.n, CDocRestr::kMaxElements);
            AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        if (badEdge >= 0) {
            CString message;
            message.Format("Edge %s: the positions must lie between 0 and 100 and each must be "
                           "greater than the one before it.",
                           kEdgeNames[badEdge]);
            AfxMessageBox(message, MB_OK);
        }
    }

    // Every rule holds: the settings are written back together.
    bool changed = doc->m_nElemA != s.m || doc->m_nElemB != s.n ||
                   doc->m_nOddRows != s.oddRows || doc->m_nEvenRows != s.evenRows;
    doc->m_nElemA = s.m;
    doc->m_nElemB = s.n;
    doc->m_nOddRows = s.oddRows;
    doc->m_nEvenRows = s.evenRows;
    for (std::size_t i = 0; i < 4; ++i) {
        const CVector& list = s.lists[i];
        const CVector& old = *edges[i].list;
        bool sameList = list.GetSize() == old.GetSize();
        for (int k = 0; sameList && k < list.GetSize(); ++k)
            sameList = list[k] == old[k];
        changed = changed || !sameList || *edges[i].progression != s.prog[i] ||
                  *edges[i].ratio != s.ratio[i];
        *edges[i].progression = s.prog[i];
        *edges[i].ratio = s.ratio[i];
        *edges[i].list = list;
    }
    // The settings are part of the file; the old mesh no longer matches them.
    if (changed)
        doc->SetModifiedFlag(TRUE);
    return true;
}

void CConstrChFrm::DefineModel()
{
    if (!DefineRegion())
        return;
    EditMeshSettings();
    if (CBrantelDoc* doc = PlateDoc())
        doc->InvalidateLists();
    if (CView* view = GetActiveView(); view && view->GetSafeHwnd())
        view->Invalidate();
    if (GetSafeHwnd())
        Invalidate();
}

void CConstrChFrm::OnMeshControl()
{
    EditMeshSettings();
}

// ---- Mesh --------------------------------------------------------------------------

bool CConstrChFrm::GenerateMesh()
{
    if (bCalcRunning) {
        AfxMessageBox(kOneCalculationText, MB_OK);
        return false;
    }
    CDocRestr* doc = RestrDoc();
    if (!doc)
        return false;
    CPlateComp* comp = doc->GetPlateComp();
    if (!FirstRegion(*comp))
        DefineModel();
    CSectPlate* region = FirstRegion(*comp);
    if (!region)
        return false;
    doc->ResetViews(8);
    comp->DeleteMesh();
    if (region->GetCount() != 4) {
        // The old mesh is gone: no results belong to the model any more.
        doc->m_bMeshValid = false;
        doc->InvalidateLists();
        CStringArray errors;
        errors.Add("The region needs exactly four corners to be meshed.\r\n");
        if (KorLogWnd* window = RunLogWindow()) {
            window->ScrollToTab(1);
            window->WriteErrorEntry(&errors);
        }
        return false;
    }
    // The edge chains below copy the corner nodes for the mesh: the corners
    // hold what their edges hold from here to the end of the mesh generation.
    CMeshConditionScope conditions(*comp);
    std::vector<CSNode*> k;
    for (POSITION pos = region->GetHeadPosition(); pos;)
        k.push_back(region->GetNextNode(pos));
    // Edges A, A', B, B' with the corner each is read from.
    const struct {
        CSNode* from;
        CSNode* to;
        UINT count;
    } sides[4] = {{k[0], k[1], doc->m_nElemA},
                  {k[3], k[2], doc->m_nElemA},
                  {k[0], k[3], doc->m_nElemB},
                  {k[1], k[2], doc->m_nElemB}};
    const auto settings = doc->Edges();
    for (std::size_t i = 0; i < 4; ++i)
        if (CEdge* edge = CGraph::GetComEdge(sides[i].from, sides[i].to))
            SubdivideEdge(*edge, sides[i].from, ClampedCount(sides[i].count), settings[i]);
    MeshBoundary made;
    for (std::size_t i = 0; i < 4; ++i)
        if (CEdge* edge = CGraph::GetComEdge(sides[i].from, sides[i].to))
            HandEdgePropertiesToMesh(*edge, made);

    const int odd = doc->m_nOddRows, even = doc->m_nEvenRows;
    const bool ok =
        RunMeshGeneration([odd, even](CPlateComp& c, CStringArray* log, CStringArray* errors) {
            return c.GenerateRegionMesh(log, errors, odd, even);
        });
    if (!region->GetMesh())
        made.Discard();
    return ok;
}

// ---- Coarser and Finer -------------------------------------------------------------

void CConstrChFrm::StepPairs(CDocRestr& doc, bool finer)
{
    const auto step = [finer](double r, double s, UINT& count) {
        if (!(r > 0.0 && s > 0.0))
            return; // a pair that uses its lists keeps its count
        if (finer && count < UINT_MAX)
            ++count;
        else if (!finer && count > 1)
            --count;
    };
    step(doc.m_dRatioR, doc.m_dRatioS, doc.m_nElemA);
    step(doc.m_dRatioT, doc.m_dRatioU, doc.m_nElemB);
}

void CConstrChFrm::OnCoarser()
{
    if (CDocRestr* doc = RestrDoc())
        StepPairs(*doc, false);
}

void CConstrChFrm::OnFiner()
{
    if (CDocRestr* doc = RestrDoc())
        StepPairs(*doc, true);
}

// ---- Element options ---------------------------------------------------------------

CPropertySheet* CConstrChFrm::CreateElemOptionsSheet()
{
    CBrantelDoc* doc = PlateDoc();
    return doc ? new CElemOptionsSheet(*doc->GetPlateComp()) : nullptr;
}

void CConstrChFrm::ApplyElementOptions(CPropertySheet* pSheet)
{
    auto* sheet = dynamic_cast<CElemOptionsSheet*>(pSheet);
    CBrantelDoc* doc = PlateDoc();
    if (!sheet || !doc)
        return;
    CPlateComp* comp = doc->GetPlateComp();
    const bool newType = ApplyElementPage(*sheet->m_pElement, *doc, *comp);
    if (newType)
        doc->ActivateDoc();
    // Both are part of the file; either change leaves the mesh without
    // valid results.
    if (ApplyStoragePage(*sheet->m_pStorage, *comp) || newType)
        doc->SetModifiedFlag(TRUE);
    if (GetSafeHwnd())
        KorChildFrm::RedrawWindow();
}

void CConstrChFrm::OnElemOptions()
{
    CPropertySheet* sheet = CreateElemOptionsSheet();
    if (!sheet)
        return;
    if (sheet->DoModal() == IDOK)
        ApplyElementOptions(sheet);
    DeleteSheet(sheet);
    if (GetSafeHwnd())
        Invalidate();
}

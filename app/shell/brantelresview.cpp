#include "app/shell/brantelresview.h"

#include <algorithm>
#include <cmath>
#include <future>

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
#include "app/shell/brantelview.h"
#include "framework/korapp.h"
#include "app/shell/mainframe.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
#include "femodel/strelna.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglprintdoc.h"
#include "glview/oglrenderer.h"
#include "platform/ui/core/menu.h"
#include "platform/dimvor/units.h"

IMPLEMENT_DYNCREATE(CBrantelResView, Kor3DView)

BEGIN_MESSAGE_MAP(CBrantelResView, Kor3DView)
ON_CONTROL(CBN_SELCHANGE, ID_RESULT_COMPONENT, OnResultComponent)
ON_COMMAND(ID_RES_SCALE_UP, OnScaleUp)
ON_COMMAND(ID_RES_SCALE_DOWN, OnScaleDown)
ON_COMMAND(ID_RES_SCALE_NORMALIZE, OnScaleNormalize)
ON_COMMAND(ID_RES_SCALE_SET, OnScaleSet)
ON_COMMAND(ID_RES_CONTOUR, OnContour)
ON_COMMAND(ID_RES_TWO_DIMENSIONAL, OnTwoDimensional)
ON_UPDATE_COMMAND_UI(ID_RES_CONTOUR, OnUpdateContour)
ON_COMMAND(ID_RES_EXTRUDE, OnExtrude)
ON_UPDATE_COMMAND_UI(ID_RES_EXTRUDE, OnUpdateExtrude)
ON_COMMAND(50006, OnSolid)
ON_UPDATE_COMMAND_UI(50006, OnUpdateSolid)
ON_COMMAND(ID_RES_PRINT_TO_FILE, OnPrintToFile)
ON_UPDATE_COMMAND_UI(ID_RES_PRINT_TO_FILE, OnUpdatePrintToFile)
ON_COMMAND(ID_MODE_MODELLING, OnModellingMode)
ON_COMMAND(ID_CALCULATE, OnCalculate)
ON_COMMAND(ID_GENERATE_MESH, OnGenerateMesh)
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONDBLCLK()
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

const char* const kNoResultsText = "No results: calculate the model to see them";

namespace
{

// The number format (0 "%.*e", 1 "%.*f", other "%.*g") of a units row.
std::string FormatRow(const int* row, double value)
{
    return static_cast<LPCTSTR>(FormatUnitValue(row[1], row[2], value));
}

const int* UnitsRow(int quantity)
{
    return iConv[iStandard & 1][std::clamp(quantity, 0, 29)];
}

} // namespace

CBrantelResView::CBrantelResView()
{
    // 0: the model and result plot, 1: the plot the contour bands cut,
    // 2: the legend.
    m_nLists = 3;
    m_iViewState |= kLightBit | kColourBit;
    m_dScale = 0.5;
    m_bLegend = true;
}

CBrantelResView::~CBrantelResView() = default;

CBrantelDoc* CBrantelResView::GetBrantelDoc() const
{
    return dynamic_cast<CBrantelDoc*>(const_cast<CBrantelResView*>(this)->GetDocument());
}

CPlateComp* CBrantelResView::GetPlateComp() const
{
    CBrantelDoc* doc = GetBrantelDoc();
    return doc ? doc->GetPlateComp() : nullptr;
}

// ---- Parameters, extents, picks ---------------------------------------------------

int CBrantelResView::GetNumViewParams()
{
    return Kor3DView::GetNumViewParams() + 2;
}

int CBrantelResView::SetViewParam(double* params, bool store)
{
    const int n = Kor3DView::SetViewParam(params, store);
    if (store) {
        params[n] = m_bSolid ? 1.0 : 0.0;
        params[n + 1] = m_bExtrude ? 1.0 : 0.0;
    } else {
        m_bSolid = params[n] != 0.0;
        m_bExtrude = params[n + 1] != 0.0;
        // A view that opens in its 2D state is in the plan state.
        FollowTwoDimensionalState();
    }
    return n + 2;
}

int CBrantelResView::CalcModelExtents()
{
    return WidenedModelExtents(GetBrantelDoc(), m_dXMax, m_dYMax, m_dXMin, m_dYMin);
}

void CBrantelResView::FindModelExtents()
{
    CalcModelExtents();
}

void CBrantelResView::RemoveSelected(CObject* node)
{
    m_Picks.Remove(node);
    if (!node)
        m_ResultNodes.clear();
}

CBrantelResView::ResultPointsKey CBrantelResView::CurrentResultPointsKey() const
{
    ResultPointsKey key;
    key.builds = m_uListBuilds;
    key.flag = m_b3D;
    if (CPlateComp* comp = GetPlateComp()) {
        key.comp = comp;
        key.component = comp->GetActVal();
        key.factor = comp->GetFactor();
    }
    return key;
}

bool CBrantelResView::DynamicPickDraw(unsigned types)
{
    CBrantelDoc* doc = GetBrantelDoc();
    if (!doc)
        return true;
    // The result points of a plot whose lists are current come from the
    // index recorded for that plot (with the pick cull off, from the full
    // drawing, as the answer to compare with).
    CPlateComp* comp = GetPlateComp();
    const bool current = m_pListValid && m_pListIds && m_pListValid[0] && m_pListIds[0] != 0;
    if (types == 8 && comp && current && CPickWindowCull::IsEnabled()) {
        const ResultPointsKey key = CurrentResultPointsKey();
        if (!(key == m_ResultPointsKey)) {
            m_ResultPoints.Clear();
            m_ResultPointsKey = key;
        }
        comp->PickDrawResultPoints(m_b3D, m_ResultPoints);
        return true;
    }
    if (!current)
        m_ResultPoints.Clear(); // recorded for a plot no longer on screen
    doc->PickDrawModel(types, m_b3D);
    return true;
}

void CBrantelResView::MeshNodes::Add(CSNode* node)
{
    constexpr unsigned long kDense = 1ul << 24;
    const unsigned long id = node->GetID();
    if (id >= kDense) {
        sparse.try_emplace(id, node);
        return;
    }
    if (id >= dense.size())
        dense.resize(std::max<std::size_t>(id + 1, 2 * dense.size()), nullptr);
    if (!dense[id])
        dense[id] = node;
}

CSNode* CBrantelResView::MeshNodes::Find(unsigned long id) const
{
    if (id < dense.size())
        return dense[id];
    const auto it = sparse.find(id);
    return it != sparse.end() ? it->second : nullptr;
}

CObject* CBrantelResView::FindResultNode(unsigned long id)
{
    CBrantelDoc* doc = GetBrantelDoc();
    CPlateComp* comp = GetPlateComp();
    const bool current = m_pListValid && m_pListIds && m_pListValid[0] && m_pListIds[0] != 0;
    // Identifiers above this range name edges and elements.
    if (!doc || !comp || !current || id == 0 || id >= resultpick::kStride) {
        m_ResultNodes.clear();
        return doc ? doc->GetObjectById(id, true) : nullptr;
    }
    const ResultPointsKey key = CurrentResultPointsKey();
    if (!(key == m_ResultNodesKey) || m_ResultNodes.empty()) {
        m_ResultNodes.clear();
        m_ResultNodesKey = key;
        for (POSITION pos = comp->GetHeadPosition(); pos;) {
            CSection* section = comp->GetNext(pos);
            if (!section)
                continue;
            MeshNodes entry;
            entry.region = section;
            if (section->IsKindOf(RUNTIME_CLASS(CSectMeshArea))) {
                entry.mesh = true;
                // The first element (then node) in mesh order that holds
                // the identifier, as the mesh's own search finds it.
                if (CMeshOrganizer* mesh = static_cast<CSectMeshArea*>(section)->GetMesh())
                    for (POSITION at = mesh->GetHeadPosition(); at;)
                        if (CElement* element = mesh->GetNextElem(at))
                            for (POSITION p = element->GetHeadPosition(); p;) {
                                entry.Add(element->GetNextNode(p));
                            }
            }
            m_ResultNodes.push_back(std::move(entry));
        }
    }
    // Region by region as the document's search: its own geometry first,
    // then its mesh.
    for (MeshNodes& entry : m_ResultNodes) {
        if (!entry.mesh) {
            if (CObject* found = entry.region->GetObject(id, true))
                return found;
            continue;
        }
        if (CObject* found = entry.region->GetObject(id, false))
            return found;
        if (CSNode* node = entry.Find(id))
            return node;
    }
    return nullptr;
}

bool CBrantelResView::MouseMove(unsigned flags, CPoint point)
{
    bool redraw = Kor3DView::MouseMove(flags, point);
    if (m_iTool != VIEWTOOL_POINT || (flags & MK_LBUTTON))
        return redraw;
    const DWORD name = PickObject(point.x, point.y, 8, 10.0f, 0, 0, nullptr);
    if (name == 0)
        return redraw;
    unsigned long id = 0;
    int index = 0;
    resultpick::Decode(name, id, index);
    if (index != m_Picks.m_iPendingIndex) {
        m_Picks.m_iPendingIndex = index;
        redraw = true;
    }
    CBrantelDoc* doc = GetBrantelDoc();
    auto* node = doc ? dynamic_cast<CSNode*>(FindResultNode(id)) : nullptr;
    if (node && node != m_Picks.m_pPending) {
        m_Picks.m_pPending = node;
        redraw = true;
        const int* row = UnitsRow(0);
        const double factor = MetricToX(iStandard, 3, row[0]);
        const CString unit = UnitString(iStandard, kUnitLength, row[0]);
        StatusBarCoordText(CString(("X:  " + FormatRow(row, node->x * factor) + " ").c_str()) + unit, 11);
        StatusBarCoordText(CString(("Y:  " + FormatRow(row, node->y * factor) + " ").c_str()) + unit, 12);
    }
    return redraw;
}

bool CBrantelResView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    m_Picks.Click();
    const bool answer = Kor3DView::LeftButtonDown(flags, x, y, point);
    Invalidate(TRUE);
    return answer;
}

void CBrantelResView::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (nFlags & MK_SHIFT) {
        // "Res PopUp": its commands go to the main window, whose routing
        // reaches this view as the active one.
        CMenu popup(AfxMenu{AfxMenuItem(ID_KOR_TOOL_POINTER, "P&ointer"), AfxMenuSeparator(),
                            AfxMenuItem(ID_RES_PRINT_TO_FILE, "Print results to file")});
        TrackViewContextMenu(*this, popup, point);
    } else if (m_iTool == VIEWTOOL_POINT) {
        m_Picks.UndoLast();
    }
    Default();
    Invalidate(TRUE);
}

void CBrantelResView::OnRButtonDblClk(UINT, CPoint point)
{
    m_LastPoint = point;
    if (m_iTool == VIEWTOOL_POINT)
        RemoveSelected(nullptr);
    Default();
    Invalidate(TRUE);
}

void CBrantelResView::StatusBarCoordText(CString text, int index)
{
    if (index == 1 || index == 2)
        return;
    Kor3DView::StatusBarCoordText(text, index > 10 ? index - 10 : index);
}

// ---- Scale -------------------------------------------------------------------------

void CBrantelResView::SetValueScale(double scale)
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return;
    comp->SetFactor(scale);
    if (auto* dialog = dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg))
        dialog->SetStressScale(scale);
    InvalidatePlotLists();
    Invalidate(FALSE);
}

void CBrantelResView::NormalizeScale()
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return;
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    comp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    double max = 0.0, min = 0.0;
    comp->GetMaxMinResult(max, min, nullptr);
    SetValueScale(resultview::NormalisedScale(xmax, ymax, xmin, ymin, max, min, comp->GetFactor()));
}

void CBrantelResView::OnScaleUp()
{
    if (CPlateComp* comp = GetPlateComp())
        SetValueScale(comp->GetFactor() * 1.25);
}

void CBrantelResView::OnScaleDown()
{
    if (CPlateComp* comp = GetPlateComp())
        SetValueScale(comp->GetFactor() * 0.8);
}

void CBrantelResView::OnScaleNormalize()
{
    NormalizeScale();
}

void CBrantelResView::OnScaleSet()
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return;
    double scale = comp->GetFactor();
    KorDlgDblVal dialog("Stress scale", &scale, this);
    if (dialog.DoModal() == IDOK)
        SetValueScale(scale);
}

void CBrantelResView::OnResultComponent()
{
    auto* combo = dynamic_cast<CComboBox*>(CCmdTarget::GetNotifySender());
    CPlateComp* comp = GetPlateComp();
    if (!combo || !comp)
        return;
    comp->SetActVal(combo->GetCurSel());
    if (KorChildFrm::m_uiStChldFrmSett & CMainFrame::kAutoScaleBit)
        NormalizeScale();
    InvalidateList();
    Invalidate(FALSE);
}

// ---- Runs ------------------------------------------------------------------------

void CBrantelResView::OnCalculate()
{
    if (auto* frame = dynamic_cast<CChildFrame*>(GetParentFrame()))
        frame->Calculate();
}

void CBrantelResView::OnGenerateMesh()
{
    // The picked nodes belong to the mesh that is about to be replaced.
    m_Picks.Remove(nullptr);
    if (auto* frame = dynamic_cast<CChildFrame*>(GetParentFrame()))
        frame->GenerateMesh();
}

// ---- Toggles -----------------------------------------------------------------------

void CBrantelResView::OnContour()
{
    m_iViewState ^= kContourBit;
    InvalidatePlotLists();
    Invalidate(TRUE);
}

void CBrantelResView::FollowTwoDimensionalState()
{
    if (m_b3D)
        m_iViewState &= ~kPlanBit;
    else
        m_iViewState |= kPlanBit;
}

void CBrantelResView::OnTwoDimensional()
{
    // The framework's 2D/3D switch; the plan bit goes with it.
    OnPlot2D();
    FollowTwoDimensionalState();
    if ((m_iViewState & kPlanBit) && !m_bOrtho)
        OnProjection();
    InvalidateList();
}

void CBrantelResView::OnUpdateContour(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_iViewState & kContourBit) ? 1 : 0);
}

void CBrantelResView::OnExtrude()
{
    m_bExtrude = !m_bExtrude;
    InvalidatePlotLists();
    Invalidate(TRUE);
    UpdateWindow();
}

void CBrantelResView::OnUpdateExtrude(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bExtrude ? 1 : 0);
}

void CBrantelResView::InvalidatePlotLists()
{
    // The legend (list 2) shows neither the value scale nor the plot's
    // form.
    if (m_pListValid)
        for (int i = 0; i < std::min(m_nLists, 2); ++i)
            m_pListValid[i] = false;
}

void CBrantelResView::OnSolid()
{
    m_bSolid = !m_bSolid;
    if (m_pListValid)
        m_pListValid[0] = false;
    Invalidate(FALSE);
}

void CBrantelResView::OnUpdateSolid(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bSolid ? 1 : 0);
}

void CBrantelResView::OnModellingMode()
{
    if (auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        frame->SwitchViewMode(ID_MODE_MODELLING);
}

void CBrantelResView::OnSetFocus(CWnd* pOldWnd)
{
    Kor3DView::OnSetFocus(pOldWnd);
    auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    CBrantelDoc* doc = GetBrantelDoc();
    if (!frame || !doc)
        return;
    CPlateComp* comp = doc->GetPlateComp();
    frame->UpdateResultList(comp ? comp->GetActVal() : 0);
    frame->GetStatusBarWnd().SetPaneText(1, doc->GetElementTypeName());
    StatusBarCoordText("", 11);
    StatusBarCoordText("", 12);
    if (comp && !comp->HasElementResults())
        frame->GetStatusBarWnd().SetPaneText(0, kNoResultsText);
}

// ---- Results file ------------------------------------------------------------------

bool CBrantelResView::OutputPickedNode(CSNode* node, int component, int elementIndex, int number,
                                       CFile* file)
{
    CPlateComp* comp = GetPlateComp();
    double value = 0.0;
    if (!comp || !file || !resultview::PickedNodeValue(node, elementIndex, component, value))
        return false;
    const int* row = UnitsRow(comp->GetResultQuantity());
    value *= CPlateComp::ResultDisplayFactor(comp->GetResultUnit(component), comp->GetResultQuantity(), nullptr);
    const CString line =
        resultview::PickedResultLine(static_cast<unsigned>(number), node->GetID(), value, row[1], row[2]);
    file->Write(static_cast<LPCTSTR>(line), static_cast<UINT>(line.GetLength()));
    return true;
}

CString CBrantelResView::WritePickedResults(const CString& path)
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return "No results to write to " + path + ".";
    const int component = comp->GetActVal();
    // Through the safe writer: a failure keeps the old file and says why.
    return afx::WriteFileSafely(path, [&](CFile& file) {
        const int count = m_Picks.Count();
        for (int i = 0; i < count; ++i)
            OutputPickedNode(m_Picks.Node(i), component, m_Picks.Index(i), i + 1, &file);
        if (m_Picks.m_pPending && m_Picks.m_Nodes.Find(m_Picks.m_pPending) < 0)
            OutputPickedNode(m_Picks.m_pPending, component, m_Picks.m_iPendingIndex, count + 1,
                             &file);
    });
}

void CBrantelResView::OnPrintToFile()
{
    CFileDialog dialog(FALSE, ".txt", "Results", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Text file ( *.txt )|*.txt||", this);
    const CString folder = KorDocumentFolder(GetDocument());
    if (!folder.IsEmpty())
        dialog.m_ofn.lpstrInitialDir = folder.GetString();
    if (dialog.DoModal() != IDOK)
        return;
    const CString failure = WritePickedResults(dialog.GetPathName());
    if (!failure.IsEmpty())
        AfxMessageBox(failure, MB_OK | MB_ICONEXCLAMATION);
}

void CBrantelResView::OnUpdatePrintToFile(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_Picks.HasAny());
}

// ---- Drawing -----------------------------------------------------------------------

void CBrantelResView::SceneState()
{
    const bool contour = m_iViewState & kContourBit;
    if (!m_b3D)
        glDisable(GL_LIGHTING);
    if ((m_iViewState & kLightBit) && m_b3D)
        GLLightEnabling();
    else if (!contour)
        glDisable(GL_LIGHTING);
    if ((m_iViewState & kTransparentBit) && m_b3D && dMaterialColor[3] < 0.999999)
        COGLRenderer::GLEnableBlend(GL_ONE_MINUS_SRC_ALPHA);
    else
        glDisable(GL_BLEND);
    const GLfloat colour[4] = {static_cast<GLfloat>(dMaterialColor[0]), static_cast<GLfloat>(dMaterialColor[1]),
                               static_cast<GLfloat>(dMaterialColor[2]), static_cast<GLfloat>(dMaterialColor[3])};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, colour);
}

void CBrantelResView::UserClipPlanes()
{
    // The frame's planes, in the model space of the list about to be called
    // (GL keeps a plane in eye space under the modelview matrix current at
    // glClipPlane). The contour bands cut with planes 0 and 1 themselves;
    // the list turns the planes off where the model outline is drawn.
    auto* child = dynamic_cast<KorChildFrm*>(GetParentFrame());
    if (!child)
        return;
    for (int i = (m_iViewState & kContourBit) ? 2 : 0; i < 6; ++i) {
        if (!child->m_bClipPlanes[i])
            continue;
        glClipPlane(GL_CLIP_PLANE0 + static_cast<GLenum>(i), child->m_dClipPlanes[i]);
        glEnable(GL_CLIP_PLANE0 + static_cast<GLenum>(i));
    }
}

void CBrantelResView::InvalidateClippedLists(bool)
{
    // The clip planes are set when list 0 is called, not compiled into it.
}

void CBrantelResView::ModelOutline(bool meshLines)
{
    CPlateComp* comp = GetPlateComp();
    for (int i = 0; i < 6; ++i)
        glDisable(GL_CLIP_PLANE0 + static_cast<GLenum>(i));
    COGLRenderer::GLEnableBlend(GL_ONE_MINUS_SRC_ALPHA);
    if (m_bExtrude)
        comp->DrawExtruded(m_bSolid);
    // The undeformed plate is filled only as the face of the extruded
    // volume, or as the grey plate of a document without results: a filled
    // plane at z = 0 would hide the negative half of a plot.
    const bool results = comp->HasElementResults();
    comp->DrawModelGL(m_bSolid && (!results || (m_b3D && m_bExtrude)), 1.0f, false);
    glDisable(GL_LIGHTING);
    if (meshLines && (m_iViewState & kMeshBit) && (!m_bExtrude || !m_bSolid))
        comp->DrawMesh(!m_bSolid, false);
}

void CBrantelResView::BuildResultLists()
{
    ++m_uListBuilds;
    for (int i = 0; i < 2; ++i)
        if (m_pListIds[i] != 0) {
            glDeleteLists(m_pListIds[i], 1);
            m_pListIds[i] = 0;
        }
    CPlateComp* comp = GetPlateComp();
    m_dElementPitch = 0.0;
    m_bMeshAfterList = false;
    m_MeshLines = {};
    if (!comp || comp->IsEmpty())
        return;
    long elements = 0;
    comp->ForEachMeshRegion([&](CSectMeshArea* r) { elements += r->MeshElementCount(); });
    if (elements > 0) {
        double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
        comp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        m_dElementPitch = std::sqrt(std::fabs((xmax - xmin) * (ymax - ymin)) / static_cast<double>(elements));
    }
    // A mesh without results (the element type changed, the run failed)
    // shows the plain plate, not a plot of zeros.
    const bool results = comp->HasElementResults();
    const bool planBands = results && (m_iViewState & kContourBit) && (m_iViewState & kPlanBit);
    // The mesh lines' walk over the elements needs no OpenGL: it runs on a
    // thread of its own while the plot's list is compiled, unless the plot
    // draws the outlines, which read the same edge tables.
    std::future<bool> meshLines;
    if ((m_iViewState & kMeshBit) && m_bSolid && !m_bExtrude && !planBands) {
        comp->MeshLineRuns(false, m_MeshLines);
        if (m_iViewState & kWireframeBit)
            m_bMeshAfterList = comp->FillMeshLines(m_MeshLines);
        else
            meshLines = std::async(std::launch::async, [this, comp] { return comp->FillMeshLines(m_MeshLines); });
    }
    const auto meshAfterList = [&] {
        if (meshLines.valid())
            m_bMeshAfterList = meshLines.get();
        return m_bMeshAfterList;
    };
    if (!(m_iViewState & kContourBit) || !results) {
        m_pListIds[0] = glGenLists(1);
        glNewList(m_pListIds[0], GL_COMPILE);
        SceneState();
        if (results)
            comp->DrawResults(m_iViewState);
        ModelOutline(!meshAfterList());
        glDisable(GL_COLOR_MATERIAL);
        glEndList();
        m_pListValid[0] = true;
        return;
    }
    // In the plan state the bands are cut from a plot with heights (the
    // plan bit off, the scale normalised), squashed back into the flat
    // view's depth range when they are drawn.
    const bool plan = (m_iViewState & kPlanBit) != 0;
    const int state = m_iViewState;
    const double saved = comp->GetFactor();
    if (plan) {
        m_iViewState &= ~kPlanBit;
        double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0, max = 0.0, min = 0.0;
        comp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        comp->GetMaxMinResult(max, min, nullptr);
        comp->SetFactor(resultview::NormalisedScale(xmax, ymax, xmin, ymin, max, min, saved));
    }
    m_pListIds[1] = glGenLists(1);
    glNewList(m_pListIds[1], GL_COMPILE);
    comp->DrawResults(m_iViewState);
    glEndList();
    meshAfterList();
    double max = 0.0, min = 0.0;
    comp->GetMaxMinResult(max, min, nullptr);
    // A negative scale turns the plot over: its lowest height is then the
    // largest value's.
    double z1 = max * comp->GetFactor(), z0 = min * comp->GetFactor();
    if (z1 < z0)
        std::swap(z0, z1);
    const unsigned bands = std::max(1u, uiFringeNum);
    const double w = (z1 - z0) / (2.0 * bands - 1.0);
    const double reach = std::max(std::fabs(z0), std::fabs(z1));

    m_pListIds[0] = glGenLists(1);
    glNewList(m_pListIds[0], GL_COMPILE);
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    SceneState();
    if (plan) {
        glDisable(GL_DEPTH_TEST);
        // The outline turns the clip planes off to be drawn whole; the
        // user's planes (on when the list is called) come back for the bands.
        glPushAttrib(GL_TRANSFORM_BIT);
        ModelOutline(!m_bMeshAfterList);
        glPopAttrib();
        if ((m_iViewState & kTransparentBit) && m_b3D && dMaterialColor[3] < 0.999999)
            COGLRenderer::GLEnableBlend(GL_ONE_MINUS_SRC_ALPHA);
        else
            glDisable(GL_BLEND);
        glPushMatrix();
        if (reach > 0.0)
            glScaled(1.0, 1.0, 0.5 / reach);
    }
    glEnable(GL_CLIP_PLANE0);
    glEnable(GL_CLIP_PLANE1);
    for (unsigned i = 0; i < bands; ++i) {
        // The slab z0 + 2iw .. z0 + (2i + 1)w, in the plot's own heights.
        const double low = z0 + 2.0 * i * w, high = low + w;
        const double below[4] = {0.0, 0.0, 1.0, -low};
        const double above[4] = {0.0, 0.0, -1.0, high};
        glClipPlane(GL_CLIP_PLANE0, below);
        glClipPlane(GL_CLIP_PLANE1, above);
        glCallList(m_pListIds[1]);
    }
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    if (plan)
        glPopMatrix();
    else
        ModelOutline(!m_bMeshAfterList);
    glDisable(GL_COLOR_MATERIAL);
    glEndList();
    m_iViewState = state;
    comp->SetFactor(saved);
    m_pListValid[0] = true;
    m_pListValid[1] = true;
}

bool CBrantelResView::LinesDenserThanPixels() const
{
    if (!(m_iViewState & (kMeshBit | kWireframeBit)) || !(m_dElementPitch > 0.0))
        return false;
    // The pitch laid along x and along y at the plot's centre, through the
    // matrices the list is drawn with; the longer one on screen counts, so
    // a view seen edge-on keeps its smoothing.
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const auto window = [&](double x, double y, double& wx, double& wy) {
        double eye[4], clip[4];
        for (int i = 0; i < 4; ++i)
            eye[i] = model[i] * x + model[4 + i] * y + model[12 + i];
        for (int i = 0; i < 4; ++i)
            clip[i] = projection[i] * eye[0] + projection[4 + i] * eye[1] + projection[8 + i] * eye[2] +
                      projection[12 + i] * eye[3];
        if (!(std::fabs(clip[3]) > 0.0))
            return false;
        wx = (clip[0] / clip[3] + 1.0) * 0.5 * viewport[2];
        wy = (clip[1] / clip[3] + 1.0) * 0.5 * viewport[3];
        return true;
    };
    const double cx = 0.5 * (m_dXMax + m_dXMin), cy = 0.5 * (m_dYMax + m_dYMin), p = m_dElementPitch;
    double ox = 0.0, oy = 0.0, ax = 0.0, ay = 0.0, bx = 0.0, by = 0.0;
    if (!window(cx, cy, ox, oy) || !window(cx + p, cy, ax, ay) || !window(cx, cy + p, bx, by))
        return false;
    const double along = std::max(std::hypot(ax - ox, ay - oy), std::hypot(bx - ox, by - oy));
    return along < kSharpLinePixels;
}

bool CBrantelResView::DrawDynamicScene()
{
    glLineWidth(static_cast<GLfloat>(THIN_EDGE));
    if (m_pListValid && !m_pListValid[0])
        BuildResultLists();
    if (m_pListIds && m_pListIds[0] != 0) {
        UserClipPlanes();
        const bool sharp = LinesDenserThanPixels() && glIsEnabled(GL_LINE_SMOOTH);
        if (sharp)
            glDisable(GL_LINE_SMOOTH);
        glCallList(m_pListIds[0]);
        // The list ends with the outline's state: no clip plane, no
        // lighting.
        if (m_bMeshAfterList)
            CPlateComp::DrawMeshLines(m_MeshLines);
        if (sharp)
            glEnable(GL_LINE_SMOOTH);
        for (int i = 0; i < 6; ++i)
            glDisable(GL_CLIP_PLANE0 + static_cast<GLenum>(i));
    }
    glDisable(GL_LIGHTING);
    if (CPlateComp* comp = GetPlateComp()) {
        const int count = m_Picks.Count();
        for (int i = 0; i < count; ++i)
            comp->DrawResultVectors(m_Picks.Node(i), m_iDrawSelNum, m_Picks.Index(i),
                                    static_cast<unsigned>(i + 1), !m_b3D);
        if (m_Picks.m_pPending)
            comp->DrawResultVectors(m_Picks.m_pPending, m_iDrawSelNum, m_Picks.m_iPendingIndex,
                                    static_cast<unsigned>(count + 1), !m_b3D);
    }
    return Kor3DView::DrawDynamicScene();
}

CBrantelResView::Legend CBrantelResView::GetLegend() const
{
    Legend legend;
    CPlateComp* comp = GetPlateComp();
    if (!comp || !comp->HasElementResults())
        return legend;
    legend.shown = true;
    double max = 0.0, min = 0.0;
    comp->GetMaxMinResult(max, min, &legend.unit);
    COGLPrintDoc::ReplaceSqrAndCube(legend.unit);
    legend.max = std::max(std::fabs(max), std::fabs(min));
    const int* row = UnitsRow(comp->GetResultQuantity());
    legend.format = row[1];
    legend.digits = row[2];
    int mode = 0;
    double loadFactor = 0.0;
    if (comp->ActiveModeShape(mode, loadFactor)) {
        legend.title.Format("Mode %d, load factor ", mode);
        legend.title += FormatUnitValue(legend.format, legend.digits, loadFactor);
    }
    return legend;
}

void CBrantelResView::DrawStressScale()
{
    if (!m_pListValid || !m_pListIds)
        return;
    if (!m_pListValid[2] || m_pListIds[2] == 0) {
        CPlateComp* comp = GetPlateComp();
        if (!comp)
            return;
        if (m_pListIds[2] != 0)
            glDeleteLists(m_pListIds[2], 1);
        const Legend legend = GetLegend();
        ++m_uLegendBuilds;
        m_pListIds[2] = glGenLists(1);
        glNewList(m_pListIds[2], GL_COMPILE);
        if ((m_iViewState & kTransparentBit) && m_b3D && dMaterialColor[3] < 0.999999)
            COGLRenderer::GLEnableBlend(GL_ONE_MINUS_SRC_ALPHA);
        else
            glDisable(GL_BLEND);
        if (legend.shown)
            COGLRenderer::DrawStressScale(legend.max, legend.unit, legend.format, legend.digits, legend.title);
        else if (!comp->IsEmpty())
            COGLRenderer::DrawLegendNote(kNoResultsText);
        glEndList();
        m_pListValid[2] = true;
    }
    glCallList(m_pListIds[2]);
}

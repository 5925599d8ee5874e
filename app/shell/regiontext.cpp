// The plate document's region text commands: every region of the model
// written to a text file, and regions read from one and added to the model.
// The text format belongs to the region classes; here are the dialogs, the
// unit scaling, the markers and the joining of the regions read.
#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
#include "app/shell/calcrun.h"
#include "app/shell/regiontext.h"
#include "app/shell/shellframes.h"
#include "framework/framira.h"
#include "graphview/ogl2dview.h"
#include "platform/dimvor/units.h"
#include "platform/ferrand/ferrand.h"

namespace
{

// The length factor of the unit system chosen in the scale dialog.
double ChosenLengthFactor(const KorDlgImpExpScl& dlg)
{
    return MetricToX(dlg.m_iUnits, kUnitLength, 0);
}

// The first OpenGL view of the document, or null.
COGLView* FirstGLView(const CDocument& doc)
{
    for (CView* view : doc.GetViews())
        if (auto* gl = dynamic_cast<COGLView*>(view))
            return gl;
    return nullptr;
}

// The regions read so far by the cells of a unit grid their nodes lie in:
// only regions with a node in the 3 x 3 cells around a new node can hold a
// node that overlaps it, as the overlap tolerance is far below a cell. For
// coordinates so large that the tolerance nears a cell, every region is a
// candidate.
class RegionGrid
{
public:
    // Indices into the regions read, ascending, that may hold a node
    // overlapping one of nodes.
    std::vector<int> Candidates(const std::vector<CSNode*>& nodes, int count) const
    {
        std::vector<int> found;
        for (const CSNode* node : nodes) {
            if (!Local(*node)) {
                found.resize(count);
                for (int i = 0; i < count; ++i)
                    found[i] = i;
                return found;
            }
            const Key key = KeyOf(*node);
            for (long long dx = -1; dx <= 1; ++dx)
                for (long long dy = -1; dy <= 1; ++dy)
                    if (auto it = m_cells.find({key.first + dx, key.second + dy}); it != m_cells.end())
                        found.insert(found.end(), it->second.begin(), it->second.end());
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }

    void Add(const std::vector<CSNode*>& nodes, int index)
    {
        for (const CSNode* node : nodes)
            if (Local(*node)) {
                std::vector<int>& cell = m_cells[KeyOf(*node)];
                if (cell.empty() || cell.back() != index)
                    cell.push_back(index);
            }
    }

private:
    using Key = std::pair<long long, long long>;
    struct KeyHash {
        size_t operator()(const Key& k) const
        {
            return std::hash<long long>()(k.first * 1000003LL ^ k.second);
        }
    };

    // Coordinates whose overlap tolerance (relative, about 2.2e-9) stays
    // far below a cell.
    static bool Local(const CSNode& node)
    {
        return std::fabs(node.x) < 1e7 && std::fabs(node.y) < 1e7;
    }
    static Key KeyOf(const CSNode& node)
    {
        return {static_cast<long long>(std::floor(node.x)), static_cast<long long>(std::floor(node.y))};
    }

    std::unordered_map<Key, std::vector<int>, KeyHash> m_cells;
};

// The regions of the list whose first node lies inside another region of
// the list (not on its outline). The regions' boxes are filed in a grid of
// about one cell a region, so that a first node is tested only against the
// regions whose box holds it.
std::vector<CSectPlate*> RegionsInsideOthers(const std::vector<CSectPlate*>& regions)
{
    struct Box {
        double x0, y0, x1, y1;
    };
    std::vector<Box> boxes;
    Box all{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (CSectPlate* region : regions) {
        Box b{INFINITY, INFINITY, -INFINITY, -INFINITY};
        for (POSITION pos = region->GetHeadPosition(); pos;) {
            const CSNode* n = region->GetNextNode(pos);
            b = {std::min(b.x0, n->x), std::min(b.y0, n->y), std::max(b.x1, n->x), std::max(b.y1, n->y)};
        }
        boxes.push_back(b);
        all = {std::min(all.x0, b.x0), std::min(all.y0, b.y0), std::max(all.x1, b.x1), std::max(all.y1, b.y1)};
    }
    std::vector<CSectPlate*> inside;
    if (regions.size() < 2 || !std::isfinite(all.x1 - all.x0) || !std::isfinite(all.y1 - all.y0))
        return inside;
    const int cells = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(regions.size())))));
    const double w = (all.x1 - all.x0) / cells, h = (all.y1 - all.y0) / cells;
    const auto column = [&](double x) {
        return w > 0.0 ? std::clamp(static_cast<int>((x - all.x0) / w), 0, cells - 1) : 0;
    };
    const auto row = [&](double y) {
        return h > 0.0 ? std::clamp(static_cast<int>((y - all.y0) / h), 0, cells - 1) : 0;
    };
    std::vector<std::vector<std::size_t>> grid(static_cast<std::size_t>(cells) * cells);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (int r = row(boxes[i].y0); r <= row(boxes[i].y1); ++r)
            for (int c = column(boxes[i].x0); c <= column(boxes[i].x1); ++c)
                grid[static_cast<std::size_t>(r) * cells + c].push_back(i);
    for (std::size_t i = 0; i < regions.size(); ++i) {
        CSNode* first = regions[i]->GetHeadNode();
        for (std::size_t j : grid[static_cast<std::size_t>(row(first->y)) * cells + column(first->x)]) {
            const Box& b = boxes[j];
            if (j == i || first->x < b.x0 || first->x > b.x1 || first->y < b.y0 || first->y > b.y1)
                continue;
            if (!regions[j]->Find(first) && regions[j]->IsPointInside2D(first->x, first->y, true)) {
                inside.push_back(regions[i]);
                break;
            }
        }
    }
    return inside;
}

} // namespace

void RegionTextMarkers(CStringArray& markers)
{
    // Single bytes, not UTF-8.
    markers.RemoveAll();
    markers.Add("\xA7Section");
    markers.Add("\xA7" "End");
    markers.Add("#");
}

std::vector<CSectPlate*> ReadTextRegions(CFile& file, CStringArray& markers, double* scale,
                                         CMaterial* material)
{
    std::vector<CSectPlate*> read;
    RegionGrid grid;
    file.SeekToBegin();
    const ULONGLONG length = file.GetLength();
    for (;;) {
        const ULONGLONG at = file.GetPosition();
        CSectPlate* region = nullptr;
        try {
            region = new CSectPlate(&file, markers, nullptr, 0, scale, 4, nullptr, 0.0, 0.0);
        } catch (CException&) {
            break; // a refused text ends the loop; what was read stays
        }
        if (region->IsEmpty()) {
            delete region;
        } else {
            std::vector<CSNode*> nodes;
            for (POSITION pos = region->GetHeadPosition(); pos;)
                nodes.push_back(region->GetNextNode(pos));
            // A corner that coincides with one of an earlier region becomes
            // that node, so that neighbours share their corners. Earlier
            // regions are taken in read order, as a full scan would.
            const std::vector<int> candidates =
                grid.Candidates(nodes, static_cast<int>(read.size()));
            for (int i : candidates)
                for (CSNode*& node : nodes)
                    if (CSNode* same = read[i]->FindOverlap(node, nullptr);
                        same && region->ReplaceNode(node, same, true))
                        node = same;
            bool duplicate = false;
            for (int i : candidates)
                duplicate = duplicate || read[i]->SameNodes(region);
            if (duplicate) {
                delete region;
            } else {
                grid.Add(nodes, static_cast<int>(read.size()));
                read.push_back(region);
                region->SetMaterial(material);
            }
        }
        const ULONGLONG now = file.GetPosition();
        if (now <= at || now >= length)
            break;
    }
    return read;
}

void CBrantelDoc::OnExportRegion()
{
    if (!m_pSectComp)
        return;
    CFileDialog files(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                      "Text file ( *.txt )|*.txt||");
    const CString folder = KorDocumentFolder(this);
    if (!folder.IsEmpty())
        files.m_ofn.lpstrInitialDir = folder.GetString();
    if (files.DoModal() != IDOK)
        return;
    KorDlgImpExpScl dlg(iStandard, nullptr);
    AfxLoadString(27036, dlg.m_strScaleXLabel);
    AfxLoadString(27037, dlg.m_strScaleYLabel);
    dlg.m_strScaleZLabel.Empty();
    if (dlg.DoModal() != IDOK)
        return;
    const double f = ChosenLengthFactor(dlg);
    double scale[4] = {dlg.m_dScaleX * f, dlg.m_dScaleY * f, 1.0, dlg.m_dScaleZ * f};
    CStringArray markers;
    RegionTextMarkers(markers);
    // Through the safe writer: a failed export keeps the old file and says why.
    const CString failure = afx::WriteFileSafely(files.GetPathName(), [&](CFile& file) {
        m_pSectComp->ASCIIExportGraph(file, markers, nullptr, 0, scale, 3);
    });
    if (!failure.IsEmpty())
        AfxMessageBox(failure, MB_OK | MB_ICONEXCLAMATION);
}

void CBrantelDoc::OnImportRegion()
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return;
    CFileDialog files(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                      "ASCII text files (*.*)|*.*||");
    const CString folder = KorDocumentFolder(this);
    if (!folder.IsEmpty())
        files.m_ofn.lpstrInitialDir = folder.GetString();
    if (files.DoModal() != IDOK)
        return;
    // Read as bytes: the markers are single bytes, and CR LF and LF line
    // ends read alike.
    CFile file;
    if (!file.Open(files.GetPathName(), CFile::modeRead | CFile::shareDenyNone))
        return;
    KorDlgImpExpScl dlg(iStandard, nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    const double f = ChosenLengthFactor(dlg);
    // The region reader adds the fourth entry to every x read, as an
    // offset: the hidden third scale (1.0) there would shift every region
    // by one unit, so it gets 0.
    double scale[4] = {dlg.m_dScaleX / f, dlg.m_dScaleY / f, 1.0, 0.0};
    CStringArray markers;
    RegionTextMarkers(markers);

    COGLView* view = FirstGLView(*this);
    CMaterial* material = nullptr;
    if (view)
        if (auto* frame = dynamic_cast<CChildFrame*>(view->GetParentFrame()))
            material = frame->m_pActiveMaterial;
    // Without a frame's choice the model's first material, so that no
    // region is left without one.
    if (!material && !comp->GetMaterialList().IsEmpty())
        material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());

    // The regions are read and joined with this document's statics in
    // force, which keep its counters afterwards, as a click in the view
    // does: another document's node list would lend them its nodes where
    // corners coincide (a region exported from it), and its counters their
    // identifiers.
    UpdateStatics(true);
    std::vector<CSectPlate*> read = ReadTextRegions(file, markers, scale, material);
    file.Abort();
    if (read.empty()) {
        UpdateStatics(false);
        return;
    }

    // One undo step, and the document asks to be saved before it closes.
    UpdateUndo(true);
    for (CSectPlate* region : read) {
        comp->AddHead(static_cast<CSection*>(region));
        region->Validate();
    }
    // The text keeps every region as a block of its own: a region that lies
    // inside another (a hole, an insert) becomes its inner region again, as
    // it was drawn.
    for (CSectPlate* region : RegionsInsideOthers(read))
        comp->UpdateRegionNesting(region);
    UpdateStatics(false);
    if (KorLogWnd* log = RunLogWindow()) {
        CStringArray lines;
        lines.Add("The region text carries no materials, supports or loads: the imported regions take the "
                  "active material\r\n");
        log->WriteLogEntry(&lines);
    }
    SetModifiedFlag(TRUE);
    if (view) {
        view->InvalidateList();
        if (auto* view2D = dynamic_cast<COGL2DView*>(view))
            view2D->ZoomToFit();
    }
}

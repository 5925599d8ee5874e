// The plate document's region text commands: every region of the model
// written to a text file, and regions read from one and added to the model.
// The text format belongs to the region classes; here are the dialogs, the
// unit scaling, the markers and the joining of the regions read.
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
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
            // that node, so that neighbours share their corners.
            for (CSectPlate* earlier : read)
                for (CSNode*& node : nodes)
                    if (CSNode* same = earlier->FindOverlap(node, nullptr);
                        same && region->ReplaceNode(node, same, true))
                        node = same;
            bool duplicate = false;
            for (CSectPlate* earlier : read)
                duplicate = duplicate || earlier->SameNodes(region);
            if (duplicate) {
                delete region;
            } else {
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
    CFile file;
    if (!file.Open(files.GetPathName(),
                   CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone))
        return;
    m_pSectComp->ASCIIExportGraph(file, markers, nullptr, 0, scale, 3);
    file.Abort();
}

void CBrantelDoc::OnImportRegion()
{
    CPlateComp* comp = GetPlateComp();
    if (!comp)
        return;
    CFileDialog files(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                      "ASCII text files (*.*)|*.*||");
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

    std::vector<CSectPlate*> read = ReadTextRegions(file, markers, scale, material);
    file.Abort();
    if (read.empty())
        return;

    // One undo step, and the document asks to be saved before it closes.
    UpdateUndo(true);
    for (CSectPlate* region : read) {
        comp->AddHead(static_cast<CSection*>(region));
        region->Validate();
    }
    SetModifiedFlag(TRUE);
    if (view) {
        view->InvalidateList();
        if (auto* view2D = dynamic_cast<COGL2DView*>(view))
            view2D->ZoomToFit();
    }
}

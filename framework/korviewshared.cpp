// The framework views' shared handlers.
#include "framework/korviewshared.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "framework/inputdialogs.h"
#include "framework/korapp.h"
#include "framework/kor2dview.h"
#include "framework/kormainfrm.h"
#include "framework/settingspages.h"
#include "geometry/ringseg.h"
#include "geometry/snode.h"
#include "glview/secimage.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ui/core/afxui.h"

namespace korview
{

void StatusBarText(CString text, int index)
{
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (CStatusBar* bar = frame ? frame->GetStatusBar() : nullptr)
        bar->SetPaneText(index + 1, text, TRUE);
}

CString DrawingTime(int drawTime, const char* format)
{
    const unsigned t = drawTime > 0 ? static_cast<unsigned>(drawTime) : 1u;
    return AfxFormat(format, t, 1000.0 / t).c_str();
}

void TruncateCursor(COGL2DView& view)
{
    if (view.m_bSnapOn)
        return;
    const double f = Kor2DView::LengthFactor();
    const int* row = iConv[iStandard & 1][0];
    view.m_dCursX = TruncDouble(view.m_dCursX * f, row[1], row[2]) / f;
    view.m_dCursY = TruncDouble(view.m_dCursY * f, row[1], row[2]) / f;
}

bool AfterMouseMove(COGL2DView& view, const CSNode* corner, double oldX, double oldY, bool answer,
                    CPoint point)
{
    const bool changed = view.m_dCursX != oldX || view.m_dCursY != oldY;
    if (changed) {
        StatusBarText(Kor2DView::CoordText(27036, view.m_dCursX), 1);
        StatusBarText(Kor2DView::CoordText(27037, view.m_dCursY), 2);
        if (view.m_bSnapOn)
            return true;
    }
    if (!answer && view.m_iTool == VIEWTOOL_ZOOMRECT && corner) {
        double px = corner->x, py = corner->y;
        view.GetScreenCoord(px, py);
        if (std::abs(point.x - px) > 2.0 || std::abs(point.y - py) > 2.0)
            return true;
    }
    return answer;
}

void ZoomRectClick(COGL2DView& view, CSNode*& corner, CPoint point, int toolAfter)
{
    if (!corner) {
        view.m_LastPoint = point;
        // The corner gives its identifier back at once.
        corner = new CSNode(view.m_dCursX, view.m_dCursY, 0.0, nullptr, 0);
        --CSNode::lIDnode;
        return;
    }
    const double cx = corner->x, cy = corner->y;
    delete corner;
    corner = nullptr;
    view.ZoomToRect(std::max(cx, view.m_dCursX), std::max(cy, view.m_dCursY),
                    std::min(cx, view.m_dCursX), std::min(cy, view.m_dCursY));
    view.m_iTool = toolAfter;
}

void DrawZoomRect(COGL2DView& view, const CSNode* corner, float lineWidth)
{
    if (!corner)
        return;
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    view.SetViewTransform();
    glColor3f(1.0f, 0.0f, 0.0f);
    if (lineWidth > 0.0f)
        glLineWidth(lineWidth);
    double from[2] = {corner->x, corner->y};
    double cursor[2] = {view.m_dCursX, view.m_dCursY};
    COGLRenderer::DrawRect2D(from, cursor, true);
    glPopMatrix();
}

bool SharedCommand(COGL2DView& view, UINT nID)
{
    const double factor = 1.0 + COGL2DView::m_dZoompercent * 0.01;
    switch (nID) {
    case ID_KOR_ZOOM_IN: view.ZoomIn(factor); break;
    case ID_KOR_ZOOM_OUT: view.ZoomOut(factor); break;
    case ID_KOR_ZOOM_FIT: view.ZoomToFit(); break;
    case ID_KOR_MOVE_UP: view.MoveVert(true, 0.0); break;
    case ID_KOR_MOVE_DOWN: view.MoveVert(false, 0.0); break;
    case ID_KOR_MOVE_RIGHT: view.MoveHoris(true, 0.0); break;
    case ID_KOR_MOVE_LEFT: view.MoveHoris(false, 0.0); break;
    case ID_KOR_VIEW_GRID:
        view.m_bShowGrid = !view.m_bShowGrid;
        view.Invalidate(FALSE);
        break;
    case ID_KOR_VIEW_AXES: ToggleAxes(view); break;
    case ID_KOR_COPY_IMAGE: view.SnapClient(); break;
    case ID_KOR_SAVE_IMAGE: AskSaveImage(view); break;
    case ID_KOR_OGL_OPTIONS: ShowOGLOptions(view); break;
    case ID_KOR_ZOOM_FACTOR: AskZoomFactor(view); break;
    case ID_KOR_MOVE_ABSOLUTE: AskMoveAbsolute(view); break;
    case ID_KOR_SET_LIMITS: break; // the programs set no limits here
    default: return false;
    }
    return true;
}

void UpdateSharedCommand(COGL2DView& view, CCmdUI* pCmdUI)
{
    if (pCmdUI->m_nID == ID_KOR_VIEW_GRID)
        pCmdUI->SetCheck(view.m_bShowGrid);
    else if (pCmdUI->m_nID == ID_KOR_VIEW_AXES)
        pCmdUI->SetCheck(view.m_bShowAxis);
    else if (const int tool = ToolOf(pCmdUI->m_nID); tool != VIEWTOOL_NORMAL)
        pCmdUI->SetCheck(view.m_iTool == tool);
}

int ToolOf(UINT nID)
{
    switch (nID) {
    case ID_KOR_TOOL_POINTER: return VIEWTOOL_POINT;
    case ID_KOR_TOOL_PAN: return VIEWTOOL_PAN;
    case ID_KOR_TOOL_ZOOMRECT: return VIEWTOOL_ZOOMRECT;
    case ID_KOR_TOOL_ZOOMDYN: return VIEWTOOL_ZOOMDYN;
    default: return VIEWTOOL_NORMAL;
    }
}

void ToggleAxes(COGL2DView& view)
{
    if (COGL2DView::m_uiGridType == 0)
        view.m_bGridListValid = false; // the grid leaves the axis lines out
    view.m_bShowAxis = !view.m_bShowAxis;
    view.Invalidate(FALSE);
}

void AskZoomFactor(COGL2DView& view)
{
    KorDlgDblVal dlg("Zoom Factor", &COGL2DView::m_dZoompercent, "%", &view);
    dlg.DoModal();
}

void AskMoveAbsolute(COGL2DView& view)
{
    const double f = Kor2DView::LengthFactor();
    const CString unit = Kor2DView::LengthUnit();
    KorDlgDblValTwo dlg("Center of screen", "X", "Y", unit, unit, "Coordinates", &view, KorDlgDblValTwo::IDD);
    dlg.m_dVal1 = -view.m_dCentX * f;
    dlg.m_dVal2 = -view.m_dCentY * f;
    if (dlg.DoModal() != IDOK)
        return;
    view.m_dCentX = -dlg.m_dVal1 / f;
    view.m_dCentY = -dlg.m_dVal2 / f;
    view.m_bAxisListValid = view.m_bGridListValid = false;
    view.Invalidate(TRUE);
}

void ShowOGLOptions(COGL2DView& view)
{
    CPropertySheet sheet("OpenGL Options", &view);
    KorPPOGLSett settings(&view);
    KorPPOGLInfo info(&view.m_Renderer);
    sheet.AddPage(&settings);
    sheet.AddPage(&info);
    sheet.DoModal();
}

void TakeGridSpacing(COGL2DView& view, bool redraw)
{
    if (KorMainFrm* frame = dynamic_cast<KorMainFrm*>(AfxGetMainWnd()))
        view.SetSnapSpace(frame->m_dCurGridSpacing, redraw);
}

void AskSaveImage(COGL2DView& view)
{
    CDocument* doc = view.GetDocument();
    CString title = doc ? doc->GetTitle() : CString();
    if (const int dot = title.ReverseFind('.'); dot >= 0)
        title = title.Left(dot);
    const CString folder = KorDocumentFolder(doc);
    for (;;) {
        CFileDialog files(FALSE, "bmp", title, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                          kKorImageFilter, &view);
        if (!folder.IsEmpty())
            files.m_ofn.lpstrInitialDir = folder;
        if (files.DoModal() != IDOK)
            return;
        KorDlgDblValTwo size("Image size", "Horizontal", "Vertical", "%", "%", "Scaling", &view);
        size.m_dVal1 = 100.0;
        size.m_dVal2 = 100.0;
        if (size.DoModal() != IDOK)
            continue;
        SaveImage(view, files.GetPathName(), static_cast<int>(files.m_ofn.nFilterIndex), size.m_dVal1, size.m_dVal2);
        return;
    }
}

bool SaveImage(COGL2DView& view, const CString& path, int index, double horizontal, double vertical)
{
    CRect client;
    view.GetClientRect(&client);
    const int width = static_cast<int>(client.right * horizontal * 0.01 - client.left);
    const int height = static_cast<int>(client.bottom * vertical * 0.01 - client.top);
    const GLPixelSize limit = COGLDIB::MaxSize();
    auto tooLarge = [&] {
        AfxMessageBox(AfxFormat("The image is too large to render (at most %d x %d pixels).", limit.cx,
                                limit.cy)
                          .c_str());
        return false;
    };
    if (width <= 0 || height <= 0 || width > limit.cx || height > limit.cy)
        return tooLarge();
    std::unique_ptr<COGLDIB> dib(view.MakeOGLDIB(CSize(width, height), nullptr));
    if (!dib)
        return tooLarge();
    CClientDC dc(&view);
    std::unique_ptr<SECImage> image(dib->CopyImage(&dc, index));
    dib.reset();
    if (!image || !image->SaveToPath(path)) {
        CString text(AfxFormat("The image could not be written to %s.", static_cast<LPCTSTR>(path)).c_str());
        if (image && !image->m_strWriteFailure.empty())
            text += CString("\n") + image->m_strWriteFailure.c_str();
        AfxMessageBox(text);
        return false;
    }
    return true;
}

} // namespace korview

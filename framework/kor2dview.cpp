// Kor2DView: view commands, status-bar texts, the axis triad, the zoom
// rectangle and image saving of the framework's 2D views.
#include "framework/kor2dview.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "framework/inputdialogs.h"
#include "framework/kormainfrm.h"
#include "framework/settingspages.h"
#include "geometry/ringseg.h"
#include "geometry/snode.h"
#include "glview/secimage.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ui/core/afxui.h"

const char* const kKorImageFilter =
    "Windows Bitmap (*.bmp)|*.bmp|JPEG Filter (*.jpg)|*.jpg|Targa (*.tga )|*.tga|"
    "Tagged Image File Format(*.tif)|*.tif||";

IMPLEMENT_DYNAMIC(Kor2DView, COGL2DView)

BEGIN_MESSAGE_MAP(Kor2DView, COGL2DView)
ON_COMMAND(ID_KOR_TOOL_POINTER, OnToolPointer)
ON_COMMAND(ID_KOR_TOOL_PAN, OnToolPan)
ON_COMMAND(ID_KOR_TOOL_ZOOMRECT, OnToolZoomRect)
ON_COMMAND(ID_KOR_TOOL_ZOOMDYN, OnToolZoomDyn)
ON_UPDATE_COMMAND_UI(ID_KOR_TOOL_POINTER, OnUpdateToolPointer)
ON_UPDATE_COMMAND_UI(ID_KOR_TOOL_PAN, OnUpdateToolPan)
ON_UPDATE_COMMAND_UI(ID_KOR_TOOL_ZOOMRECT, OnUpdateToolZoomRect)
ON_UPDATE_COMMAND_UI(ID_KOR_TOOL_ZOOMDYN, OnUpdateToolZoomDyn)
ON_COMMAND(ID_KOR_ZOOM_IN, OnZoomIn)
ON_COMMAND(ID_KOR_ZOOM_OUT, OnZoomOut)
ON_COMMAND(ID_KOR_ZOOM_FIT, OnZoomFit)
ON_COMMAND(ID_KOR_MOVE_UP, OnMoveUp)
ON_COMMAND(ID_KOR_MOVE_DOWN, OnMoveDown)
ON_COMMAND(ID_KOR_MOVE_RIGHT, OnMoveRight)
ON_COMMAND(ID_KOR_MOVE_LEFT, OnMoveLeft)
ON_COMMAND(ID_KOR_VIEW_GRID, OnViewGrid)
ON_COMMAND(ID_KOR_VIEW_SNAP, OnViewSnap)
ON_COMMAND(ID_KOR_VIEW_AXES, OnViewAxes)
ON_UPDATE_COMMAND_UI(ID_KOR_VIEW_GRID, OnUpdateViewGrid)
ON_UPDATE_COMMAND_UI(ID_KOR_VIEW_SNAP, OnUpdateViewSnap)
ON_UPDATE_COMMAND_UI(ID_KOR_VIEW_AXES, OnUpdateViewAxes)
ON_COMMAND(ID_KOR_COPY_IMAGE, OnCopyImage)
ON_COMMAND(ID_KOR_SAVE_IMAGE, OnSaveImage)
ON_COMMAND(ID_KOR_OGL_OPTIONS, OnOGLOptions)
ON_COMMAND(ID_KOR_ZOOM_FACTOR, OnZoomFactor)
ON_COMMAND(ID_KOR_SET_LIMITS, OnSetLimits)
ON_COMMAND(ID_KOR_MOVE_ABSOLUTE, OnMoveAbsolute)
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

Kor2DView::Kor2DView() = default;

Kor2DView::~Kor2DView()
{
    DeleteZoomRect();
}

// ------------------------------------------------------------ units

double Kor2DView::LengthFactor()
{
    return MetricToX(iStandard, kUnitLength, iConv[iStandard & 1][0][0]);
}

CString Kor2DView::LengthUnit()
{
    return UnitString(iStandard, kUnitLength, iConv[iStandard & 1][0][0]);
}

CString Kor2DView::CoordText(UINT labelID, double value)
{
    CString label;
    AfxLoadString(labelID, label);
    label += ": ";
    const int* row = iConv[iStandard & 1][0];
    const char* format = row[1] == 0 ? "%s%.*e%s" : row[1] == 1 ? "%s%.*f%s" : "%s%.*g%s";
    const std::string text =
        AfxFormat(format, static_cast<LPCTSTR>(label), row[2], value * LengthFactor(), " ");
    return CString(text.c_str()) + LengthUnit();
}

// ------------------------------------------------------------ drawing

void Kor2DView::OnDraw(CDC* pDC)
{
    if (COGLView::m_bDrawing)
        return;
    COGLView::OnDraw(pDC);
    const unsigned t = m_iDrawTime > 0 ? static_cast<unsigned>(m_iDrawTime) : 1u;
    const std::string text = AfxFormat("Drawing time: %5u ms (%.1f fps)", t, 1000.0 / t);
    StatusBarCoordText(text.c_str(), 3);
}

void Kor2DView::StatusBarCoordText(CString text, int index)
{
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (CStatusBar* bar = frame ? frame->GetStatusBar() : nullptr)
        bar->SetPaneText(index + 1, text, TRUE);
}

bool Kor2DView::DrawStaticScene()
{
    if (m_iWidth > 200 && m_iHeight > 200 && m_pViewAxis) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-0.15, 1.55, -0.125, 1.55, -1.0, 1.55);
        glMatrixMode(GL_MODELVIEW);
        const int s = static_cast<int>(std::min(m_iWidth, m_iHeight) * 0.25);
        glViewport(0, 0, s, s);
        glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
        CString x, y;
        AfxLoadString(27036, x);
        AfxLoadString(27037, y);
        m_pViewAxis->DrawGL(1.0, x, y, "Z", 1.0, 1.0, 1.0);
        glViewport(0, 0, m_iWidth, m_iHeight);
    }
    return COGL2DView::DrawStaticScene();
}

bool Kor2DView::DrawDynamicScene()
{
    if (m_pZoomRectNode) {
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        SetViewTransform();
        glColor3f(1.0f, 0.0f, 0.0f);
        double corner[2] = {m_pZoomRectNode->x, m_pZoomRectNode->y};
        double cursor[2] = {m_dCursX, m_dCursY};
        COGLRenderer::DrawRect2D(corner, cursor, true);
        glPopMatrix();
    }
    return COGL2DView::DrawDynamicScene();
}

// ------------------------------------------------------------ mouse

void Kor2DView::TruncateCursor()
{
    if (m_bSnapOn)
        return;
    const double f = LengthFactor();
    const int* row = iConv[iStandard & 1][0];
    m_dCursX = TruncDouble(m_dCursX * f, row[1], row[2]) / f;
    m_dCursY = TruncDouble(m_dCursY * f, row[1], row[2]) / f;
}

bool Kor2DView::MouseMove(unsigned flags, CPoint point)
{
    const double oldX = m_dCursX, oldY = m_dCursY;
    const bool answer = COGL2DView::MouseMove(flags, point);
    const bool changed = m_dCursX != oldX || m_dCursY != oldY;
    if (changed) {
        StatusBarCoordText(CoordText(27036, m_dCursX), 1);
        StatusBarCoordText(CoordText(27037, m_dCursY), 2);
        if (m_bSnapOn)
            return true;
    }
    if (!answer && m_iTool == VIEWTOOL_ZOOMRECT && m_pZoomRectNode) {
        double px = m_pZoomRectNode->x, py = m_pZoomRectNode->y;
        GetScreenCoord(px, py);
        if (std::abs(point.x - px) > 2.0 || std::abs(point.y - py) > 2.0)
            return true;
    }
    return answer;
}

bool Kor2DView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    if (m_iTool != VIEWTOOL_ZOOMRECT)
        return COGL2DView::LeftButtonDown(flags, x, y, point);
    if (!m_pZoomRectNode) {
        m_LastPoint = point;
        // The corner gives its identifier back at once.
        m_pZoomRectNode = new CSNode(m_dCursX, m_dCursY, 0.0, nullptr, 0);
        --CSNode::lIDnode;
        return false;
    }
    const double cx = m_pZoomRectNode->x, cy = m_pZoomRectNode->y;
    DeleteZoomRect();
    ZoomToRect(std::max(cx, m_dCursX), std::max(cy, m_dCursY), std::min(cx, m_dCursX),
               std::min(cy, m_dCursY));
    m_iTool = VIEWTOOL_NORMAL;
    return false;
}

// ------------------------------------------------------------ tools

void Kor2DView::DeleteZoomRect()
{
    delete m_pZoomRectNode;
    m_pZoomRectNode = nullptr;
}

void Kor2DView::RefreshCursor()
{
    OnSetCursor(this, HTCLIENT, 0);
}

void Kor2DView::ToggleTool(int tool)
{
    const bool on = m_iTool != tool;
    m_iTool = on ? tool : VIEWTOOL_NORMAL;
    switch (tool) {
    case VIEWTOOL_ZOOMRECT:
        if (!on)
            DeleteZoomRect();
        break;
    case VIEWTOOL_ZOOMDYN:
        if (on) {
            DeleteZoomRect();
            RefreshCursor();
        }
        break;
    default: // pointer and pan
        if (on)
            DeleteZoomRect();
        RefreshCursor();
        break;
    }
}

void Kor2DView::OnToolPointer()
{
    ToggleTool(VIEWTOOL_POINT);
}

void Kor2DView::OnToolPan()
{
    ToggleTool(VIEWTOOL_PAN);
}

void Kor2DView::OnToolZoomRect()
{
    ToggleTool(VIEWTOOL_ZOOMRECT);
}

void Kor2DView::OnToolZoomDyn()
{
    ToggleTool(VIEWTOOL_ZOOMDYN);
}

void Kor2DView::OnUpdateToolPointer(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_iTool == VIEWTOOL_POINT);
}

void Kor2DView::OnUpdateToolPan(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_iTool == VIEWTOOL_PAN);
}

void Kor2DView::OnUpdateToolZoomRect(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_iTool == VIEWTOOL_ZOOMRECT);
}

void Kor2DView::OnUpdateToolZoomDyn(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_iTool == VIEWTOOL_ZOOMDYN);
}

// ------------------------------------------------------------ zoom and move

void Kor2DView::OnZoomIn()
{
    ZoomIn(1.0 + m_dZoompercent * 0.01);
}

void Kor2DView::OnZoomOut()
{
    ZoomOut(1.0 + m_dZoompercent * 0.01);
}

void Kor2DView::OnZoomFit()
{
    ZoomToFit();
}

void Kor2DView::OnMoveUp()
{
    MoveVert(true, 0.0);
}

void Kor2DView::OnMoveDown()
{
    MoveVert(false, 0.0);
}

void Kor2DView::OnMoveRight()
{
    MoveHoris(true, 0.0);
}

void Kor2DView::OnMoveLeft()
{
    MoveHoris(false, 0.0);
}

void Kor2DView::OnViewGrid()
{
    m_bShowGrid = !m_bShowGrid;
    Invalidate(FALSE);
}

void Kor2DView::OnViewSnap()
{
    m_bSnapOn = !m_bSnapOn;
}

void Kor2DView::OnViewAxes()
{
    if (m_uiGridType == 0)
        m_bGridListValid = false; // the grid leaves the axis lines out
    m_bShowAxis = !m_bShowAxis;
    Invalidate(FALSE);
}

void Kor2DView::OnUpdateViewGrid(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bShowGrid);
}

void Kor2DView::OnUpdateViewSnap(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bSnapOn);
}

void Kor2DView::OnUpdateViewAxes(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bShowAxis);
}

void Kor2DView::OnZoomFactor()
{
    KorDlgDblVal dlg("Zoom Factor", &m_dZoompercent, "%", this);
    dlg.DoModal();
}

void Kor2DView::OnSetLimits()
{
}

void Kor2DView::OnMoveAbsolute()
{
    const double f = LengthFactor();
    const CString unit = LengthUnit();
    KorDlgDblValTwo dlg("Center of screen", "X", "Y", unit, unit, "Coordinates", this, KorDlgDblValTwo::IDD);
    dlg.m_dVal1 = -m_dCentX * f;
    dlg.m_dVal2 = -m_dCentY * f;
    if (dlg.DoModal() != IDOK)
        return;
    m_dCentX = -dlg.m_dVal1 / f;
    m_dCentY = -dlg.m_dVal2 / f;
    MarkListsInvalid();
    Invalidate(TRUE);
}

void Kor2DView::OnOGLOptions()
{
    CPropertySheet sheet("OpenGL Options", this);
    KorPPOGLSett settings(this);
    KorPPOGLInfo info(&m_Renderer);
    sheet.AddPage(&settings);
    sheet.AddPage(&info);
    sheet.DoModal();
}

void Kor2DView::OnCopyImage()
{
    SnapClient();
}

void Kor2DView::OnSetFocus(CWnd*)
{
    Default();
    if (KorMainFrm* frame = dynamic_cast<KorMainFrm*>(AfxGetMainWnd()))
        SetSnapSpace(frame->m_dCurGridSpacing, true);
}

// ------------------------------------------------------------ images

void Kor2DView::OnSaveImage()
{
    CDocument* doc = GetDocument();
    CString title = doc ? doc->GetTitle() : CString();
    if (const int dot = title.ReverseFind('.'); dot >= 0)
        title = title.Left(dot);
    CString folder = doc ? doc->GetPathName() : CString();
    const int slash = folder.ReverseFind('/');
    folder = slash >= 0 ? folder.Left(slash) : CString();
    for (;;) {
        CFileDialog files(FALSE, "bmp", title, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                          kKorImageFilter, this);
        if (!folder.IsEmpty())
            files.m_ofn.lpstrInitialDir = folder;
        if (files.DoModal() != IDOK)
            return;
        KorDlgDblValTwo size("Image size", "Horizontal", "Vertical", "%", "%", "Scaling", this);
        size.m_dVal1 = 100.0;
        size.m_dVal2 = 100.0;
        if (size.DoModal() != IDOK)
            continue;
        SaveImage(files.GetPathName(), static_cast<int>(files.m_ofn.nFilterIndex), size.m_dVal1, size.m_dVal2);
        return;
    }
}

bool Kor2DView::SaveImage(const CString& path, int index, double horizontal, double vertical)
{
    CRect client;
    GetClientRect(&client);
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
    std::unique_ptr<COGLDIB> dib(MakeOGLDIB(CSize(width, height), nullptr));
    if (!dib)
        return tooLarge();
    CClientDC dc(this);
    std::unique_ptr<SECImage> image(dib->CopyImage(&dc, index));
    dib.reset();
    if (!image || !image->SaveToPath(path)) {
        AfxMessageBox(AfxFormat("The image could not be written to %s.", static_cast<LPCTSTR>(path)).c_str());
        return false;
    }
    return true;
}

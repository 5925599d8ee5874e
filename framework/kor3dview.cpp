// Kor3DView: the framework's 3D view commands, its corner triad and legend
// strip, and the commands that move the child frame's clip planes.
#include "framework/kor3dview.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/clipplanes.h"
#include "framework/korchildfrm.h"
#include "framework/kordlgclipplane.h"
#include "framework/kordoc.h"
#include "framework/korviewshared.h"
#include "geometry/axis.h"
#include "geometry/snode.h"
#include "glstyle/drawing_settings.h"

IMPLEMENT_DYNAMIC(Kor3DView, COGL3DView)

// 0: a picked result point is labelled with its value until the user's
// settings say otherwise.
int Kor3DView::m_iDrawSelNum = 0;

namespace
{
// View-state masks.
constexpr int kColorPlot = 2, kWireframe = 16, kTransparent = 32, kLight = 256;

struct Preset {
    UINT nID;
    double ax, ay, az;
};
constexpr Preset kPresets[] = {{50036, 0, 90, 0},   {50037, -90, 0, -90}, {50038, -90, 0, 0},
                               {50039, 90, 90, 0},  {50040, 180, 0, -90}, {50041, 0, 0, 0}};
} // namespace

BEGIN_MESSAGE_MAP(Kor3DView, COGL3DView)
ON_COMMAND(50017, OnToolRotate)
ON_COMMAND(50066, OnToolRotCentre)
ON_UPDATE_COMMAND_UI(50017, OnUpdateToolRotate)
KOR_SHARED_VIEW_ENTRIES()
ON_COMMAND(50029, OnPlot2D)
ON_UPDATE_COMMAND_UI(50029, OnUpdatePlot2D)
ON_COMMAND(50027, OnLight)
ON_COMMAND(50028, OnWireframe)
ON_COMMAND(50026, OnColorPlot)
ON_COMMAND(50030, OnTransparent)
ON_UPDATE_COMMAND_UI(50027, OnUpdateLight)
ON_UPDATE_COMMAND_UI(50028, OnUpdateWireframe)
ON_UPDATE_COMMAND_UI(50026, OnUpdateColorPlot)
ON_UPDATE_COMMAND_UI(50030, OnUpdateTransparent)
ON_COMMAND(34033, OnProjection)
ON_UPDATE_COMMAND_UI(34033, OnUpdateProjection)
ON_COMMAND(34073, OnFovUp)
ON_COMMAND(34074, OnFovDown)
ON_UPDATE_COMMAND_UI(34073, OnUpdateFovUp)
ON_UPDATE_COMMAND_UI(34074, OnUpdateFovDown)
ON_COMMAND(50067, OnGlobalOrigin)
ON_COMMAND_RANGE(50036, 50041, OnPreset)
ON_COMMAND_RANGE(50048, 50053, OnStepRotate)
ON_COMMAND_RANGE(50056, 50057, OnClipRotate)
ON_COMMAND_RANGE(50058, 50059, OnClipDistance)
ON_COMMAND_RANGE(50060, 50063, OnClipLevels)
ON_WM_SETFOCUS()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

Kor3DView::Kor3DView()
{
    m_dSnapSpace = 0.1;
    m_dScale = 40.0;
    m_iTool = VIEWTOOL_ROTATE;
}

Kor3DView::~Kor3DView()
{
    DeleteZoomRect();
}

void Kor3DView::OnInitialUpdate()
{
    COGLView::OnInitialUpdate();
    korview::TakeGridSpacing(*this, false);
}

void Kor3DView::OnSetFocus(CWnd*)
{
    Default();
    korview::TakeGridSpacing(*this, true);
}

// ------------------------------------------------------------ drawing

void Kor3DView::OnDraw(CDC* pDC)
{
    if (COGLView::m_bDrawing)
        return;
    COGLView::OnDraw(pDC);
    StatusBarCoordText(korview::DrawingTime(m_iDrawTime, "Drawing time: %u ms (%.1f fps)"), 3);
}

void Kor3DView::StatusBarCoordText(CString text, int index)
{
    korview::StatusBarText(text, index);
}

void Kor3DView::RenderAxis()
{
    if (!m_b3D) {
        CAxis::DrawGlobalXYGL(1.0, "X", "Y", 1.0, 1.0);
        return;
    }
    if (!m_pViewAxis)
        return;
    CString x, y, z;
    AfxLoadString(27036, x);
    AfxLoadString(27037, y);
    AfxLoadString(27038, z);
    m_pViewAxis->DrawGL(1.0, x, y, z, 1.0, 1.0, 1.0);
}

bool Kor3DView::DrawStaticScene()
{
    if (m_iWidth <= 220 || m_iHeight <= 200)
        return true;
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.15, 1.15, -1.15, 1.15, -1.15, 1.15);
    glMatrixMode(GL_MODELVIEW);
    const int s = static_cast<int>(std::min(m_iWidth, m_iHeight) * 0.4);
    glViewport(m_iWidth - s, 0, s, s);
    RenderAxis();
    if (m_bLegend) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 10.0, 0, 1.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glViewport(0, 0, static_cast<int>(m_iWidth * 0.2857142857142857), m_iHeight);
        glDisable(GL_DEPTH_TEST);
        DrawStressScale();
    }
    glViewport(0, 0, m_iWidth, m_iHeight);
    return true;
}

bool Kor3DView::DrawDynamicScene()
{
    if (m_b3D && m_pZoomRectNode) {
        // The rubber band of the 3D plot stands in window pixels.
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, m_iWidth, m_iHeight, 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glColor3f(1.0f, 0.0f, 0.0f);
        glLineWidth(static_cast<GLfloat>(THIN_EDGE));
        const double from[2] = {m_ZoomRectStart.x + 0.5, m_ZoomRectStart.y + 0.5};
        const double to[2] = {m_ZoomRectPixel.x + 0.5, m_ZoomRectPixel.y + 0.5};
        glBegin(GL_LINE_LOOP);
        glVertex2d(from[0], from[1]);
        glVertex2d(to[0], from[1]);
        glVertex2d(to[0], to[1]);
        glVertex2d(from[0], to[1]);
        glEnd();
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    } else {
        korview::DrawZoomRect(*this, m_pZoomRectNode, static_cast<float>(THIN_EDGE));
    }
    return COGL2DView::DrawDynamicScene();
}

void Kor3DView::Repaint(bool erase, bool now)
{
    Invalidate(erase ? TRUE : FALSE);
    if (now)
        UpdateWindow();
}

// ------------------------------------------------------------ mouse

void Kor3DView::TruncateCursor()
{
    korview::TruncateCursor(*this);
}

void Kor3DView::GetRealCoord(double& x, double& y, bool snap)
{
    if (m_b3D && m_iTool != VIEWTOOL_ZOOMRECT)
        COGL3DView::GetRealCoord(x, y, snap);
    else
        COGL2DView::GetRealCoord(x, y, snap);
}

bool Kor3DView::MouseMove(unsigned flags, CPoint point)
{
    const double oldX = m_dCursX, oldY = m_dCursY;
    const bool answer = COGL3DView::MouseMove(flags, point);
    if (m_b3D && m_pZoomRectNode && m_iTool == VIEWTOOL_ZOOMRECT) {
        const bool moved = point != m_ZoomRectPixel;
        m_ZoomRectPixel = point;
        korview::AfterMouseMove(*this, nullptr, oldX, oldY, answer, point);
        return answer || moved;
    }
    return korview::AfterMouseMove(*this, m_pZoomRectNode, oldX, oldY, answer, point);
}

bool Kor3DView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    if (m_iTool != VIEWTOOL_ZOOMRECT)
        return COGL3DView::LeftButtonDown(flags, x, y, point);
    if (m_b3D && m_pZoomRectNode) {
        // The model coordinates of a rotated or perspective plot are no
        // rectangle on the screen: the 3D plot zooms to the pixels.
        DeleteZoomRect();
        ZoomToPixelRect(m_ZoomRectStart, point);
        m_iTool = VIEWTOOL_ROTATE;
        return false;
    }
    korview::ZoomRectClick(*this, m_pZoomRectNode, point, VIEWTOOL_ROTATE);
    m_ZoomRectStart = m_ZoomRectPixel = point;
    return false;
}

void Kor3DView::ZoomToPixelRect(CPoint first, CPoint second)
{
    if (m_iWidth <= 0 || m_iHeight <= 0)
        return;
    constexpr double kDegree = 0.017453292519943295;
    // Model units a pixel in the plane through the rotation centre.
    const double unit = !m_b3D || m_bOrtho ? 2.0 / m_dScale
                                           : 2.0 * m_dEyeDist * std::tan(m_dFovy / 2.0 * kDegree) / m_iHeight;
    const double middleX = 0.5 * (first.x + second.x) - 0.5 * m_iWidth;
    const double middleY = 0.5 * m_iHeight - 0.5 * (first.y + second.y);
    m_dCentX -= middleX * unit;
    m_dCentY -= middleY * unit;
    const double width = std::abs(second.x - first.x), height = std::abs(second.y - first.y);
    const double fx = width > 0.0 ? m_iWidth / width : 0.0;
    const double fy = height > 0.0 ? m_iHeight / height : 0.0;
    const double factor = fx > 0.0 && (fy <= 0.0 || fx < fy) ? fx : fy;
    if (factor > 0.0) {
        if (!m_b3D || m_bOrtho) {
            m_dScale *= factor;
        } else {
            const double kept = m_dFar - m_dEyeDist;
            m_dEyeDist /= factor;
            m_dFar = std::max(m_dEyeDist + kept, 1.0);
        }
    }
    MarkListsInvalid();
    Invalidate(TRUE);
}

// ------------------------------------------------------------ tools

void Kor3DView::DeleteZoomRect()
{
    delete m_pZoomRectNode;
    m_pZoomRectNode = nullptr;
}

void Kor3DView::RefreshCursor()
{
    OnSetCursor(this, HTCLIENT, 0);
}

void Kor3DView::ToggleTool(int tool, int offTool)
{
    const bool on = m_iTool != tool;
    if (on || tool == VIEWTOOL_ZOOMRECT)
        DeleteZoomRect();
    m_iTool = on ? tool : offTool;
    RefreshCursor();
}

void Kor3DView::OnToolRotate()
{
    if (m_iTool == VIEWTOOL_ROTATE) {
        m_iTool = VIEWTOOL_POINT;
        return;
    }
    DeleteZoomRect();
    m_iTool = VIEWTOOL_ROTATE;
    RefreshCursor();
}

void Kor3DView::OnTool(UINT nID)
{
    const int tool = korview::ToolOf(nID);
    ToggleTool(tool, tool == VIEWTOOL_ZOOMDYN ? VIEWTOOL_NORMAL : VIEWTOOL_ROTATE);
}

void Kor3DView::OnToolRotCentre()
{
    ToggleTool(VIEWTOOL_ROTCENTRE, VIEWTOOL_ROTATE);
}

void Kor3DView::OnUpdateToolRotate(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_iTool == VIEWTOOL_ROTATE && m_b3D);
}

// ------------------------------------------------------------ 3D commands

void Kor3DView::OnPlot2D()
{
    if (m_b3D) {
        m_dSavedAngles[0] = m_dAngX;
        m_dSavedAngles[1] = m_dAngY;
        m_dSavedAngles[2] = m_dAngZ;
        Rotate(3, 720.0);
    } else {
        SetAngles(m_dSavedAngles[0], m_dSavedAngles[1], m_dSavedAngles[2]);
    }
    InvalidateList();
    m_b3D = !m_b3D;
    Repaint(true);
}

void Kor3DView::OnUpdatePlot2D(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(!m_b3D);
}

void Kor3DView::ToggleState(int mask, bool erase, bool now)
{
    m_iViewState ^= mask;
    InvalidateList();
    Repaint(erase, now);
}

void Kor3DView::OnLight()
{
    ToggleState(kLight, true, true);
}

void Kor3DView::OnWireframe()
{
    ToggleState(kWireframe, false);
}

void Kor3DView::OnColorPlot()
{
    ToggleState(kColorPlot, false);
}

void Kor3DView::OnTransparent()
{
    ToggleState(kTransparent, true);
}

void Kor3DView::OnUpdateLight(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_iViewState & kLight) != 0);
}

void Kor3DView::OnUpdateWireframe(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_iViewState & kWireframe) != 0);
}

void Kor3DView::OnUpdateColorPlot(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_iViewState & kColorPlot) != 0);
}

void Kor3DView::OnUpdateTransparent(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_iViewState & kTransparent) != 0);
}

void Kor3DView::OnProjection()
{
    m_bOrtho = !m_bOrtho;
    bOffsetPolygon = m_bOrtho;
    Repaint(true, true);
}

void Kor3DView::OnUpdateProjection(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(!m_bOrtho);
}

void Kor3DView::OnFovUp()
{
    m_dFovy = std::min(m_dFovy + 2.5, 90.0);
    Repaint(false);
}

void Kor3DView::OnFovDown()
{
    m_dFovy = std::max(m_dFovy - 2.5, 2.5);
    Repaint(false);
}

void Kor3DView::OnUpdateFovUp(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_dFovy < 90.0);
}

void Kor3DView::OnUpdateFovDown(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_dFovy > 2.5);
}

void Kor3DView::OnGlobalOrigin()
{
    SetRotCent(0.0, 0.0);
    Repaint(false);
}

void Kor3DView::OnPreset(UINT nID)
{
    for (const Preset& p : kPresets)
        if (p.nID == nID)
            SetAngles(p.ax, p.ay, p.az);
    Repaint(false);
}

void Kor3DView::OnStepRotate(UINT nID)
{
    const UINT step = nID - 50048;
    Rotate(static_cast<int>(step / 2), step % 2 == 0 ? 2.0 : -2.0);
    Repaint(false);
}

// ------------------------------------------------------------ clip planes

bool Kor3DView::ClipPlaneTargets(KorDoc*& doc, KorChildFrm*& frame)
{
    doc = dynamic_cast<KorDoc*>(GetDocument());
    frame = dynamic_cast<KorChildFrm*>(GetParentFrame());
    return doc && frame;
}

void Kor3DView::MarkFirstListInvalid()
{
    if (m_nLists > 0 && m_pListValid)
        m_pListValid[0] = false;
}

void Kor3DView::InvalidateClippedLists(bool levels)
{
    if (levels)
        InvalidateList();
    else
        MarkFirstListInvalid();
}

void Kor3DView::ClipPlanesChanged(KorDoc* doc)
{
    if (auto* dlg = dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg))
        dlg->ReInit(doc->GetValScale());
    Repaint(false);
}

void Kor3DView::OnClipRotate(UINT nID)
{
    KorDoc* doc = nullptr;
    KorChildFrm* frame = nullptr;
    if (!ClipPlaneTargets(doc, frame))
        return;
    korclip::RotateVertical({frame->m_dClipPlanes, frame->m_bClipPlanes}, nID == 50056);
    InvalidateClippedLists(false);
    ClipPlanesChanged(doc);
}

void Kor3DView::OnClipDistance(UINT nID)
{
    KorDoc* doc = nullptr;
    KorChildFrm* frame = nullptr;
    if (!ClipPlaneTargets(doc, frame))
        return;
    FindModelExtents();
    korclip::MoveVertical({frame->m_dClipPlanes, frame->m_bClipPlanes}, nID == 50058, m_dXMax, m_dYMax,
                          m_dXMin, m_dYMin);
    InvalidateClippedLists(false);
    ClipPlanesChanged(doc);
}

void Kor3DView::OnClipLevels(UINT nID)
{
    KorDoc* doc = nullptr;
    KorChildFrm* frame = nullptr;
    if (!ClipPlaneTargets(doc, frame))
        return;
    double maxVal = 0.0, minVal = 0.0;
    if (!doc->GetMaxMinActVal(maxVal, minVal))
        return;
    using H = korclip::Horizontal;
    constexpr H kHow[] = {H::up, H::down, H::separate, H::closer};
    korclip::MoveHorizontal({frame->m_dClipPlanes, frame->m_bClipPlanes}, kHow[nID - 50060],
                            korclip::HorizontalStep(doc->GetValScale(), maxVal, minVal));
    InvalidateClippedLists(true);
    ClipPlanesChanged(doc);
}

void Kor3DView::OnSharedCommand(UINT nID)
{
    korview::SharedCommand(*this, nID);
}

void Kor3DView::OnUpdateSharedCommand(CCmdUI* pCmdUI)
{
    korview::UpdateSharedCommand(*this, pCmdUI);
}

void Kor3DView::OnMouseLeave()
{
    // The pointer's coordinates no longer stand for a place in the view.
    korview::StatusBarText("", 1);
    korview::StatusBarText("", 2);
}

#include "graphview/ogl2dview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <GL/glu.h>

#include "geometry/axis.h"
#include "glstyle/drawing_settings.h"
#include "glstyle/pickcull.h"

IMPLEMENT_DYNAMIC(COGL2DView, COGLView)

unsigned COGL2DView::m_uiGridType = 0;
float COGL2DView::m_fGridPSize = 1.0f;
double COGL2DView::m_dZoompercent = 20.0;
HVIEWCURSOR COGL2DView::m_hNormalCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hPointCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hPanCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hZoomRectCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hZoomRectDragCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hZoomDynCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hZoomInPointCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hZoomOutPointCursor = nullptr;
HVIEWCURSOR COGL2DView::m_hRotateCursor = nullptr;

namespace {

// The thumb maps to the centre over this many model units either way.
constexpr double kScrollSpan = 100000.0;

} // namespace

int HorizontalThumb(double centreX, int range)
{
    if (centreX > kScrollSpan)
        return 0;
    if (centreX < -kScrollSpan)
        return range;
    return static_cast<int>((kScrollSpan - centreX) * range * 0.000005);
}

BEGIN_MESSAGE_MAP(COGL2DView, COGLView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

COGL2DView::COGL2DView() : m_pViewAxis(new CAxis(false)) {}

COGL2DView::~COGL2DView()
{
    delete m_pViewAxis;
}

// ---- Coordinates ---------------------------------------------------------------------

double COGL2DView::Snap(double v, bool snap) const
{
    if (!snap || !m_bSnapOn || m_dSnapSpace == 0.0)
        return v;
    // The nearest multiple; an exact half goes up.
    return std::floor(v / m_dSnapSpace + 0.5) * m_dSnapSpace;
}

void COGL2DView::GetRealCoord(double& x, double& y, bool snap)
{
    x = (x - m_iWidth / 2.0) * 2.0 / m_dScale - m_dCentX;
    y = -((y - m_iHeight / 2.0) * 2.0 / m_dScale + m_dCentY);
    x = Snap(x, snap);
    y = Snap(y, snap);
}

void COGL2DView::GetScreenCoord(double& x, double& y)
{
    x = std::floor(((m_dCentX + x) * m_dScale + m_iWidth + 1.0) / 2.0);
    y = std::floor(m_iHeight / 2.0 - (m_dCentY + y) * m_dScale / 2.0 + 0.5);
}

CPoint COGL2DView::CursorPixel()
{
    double x = m_dCursX, y = m_dCursY;
    GetScreenCoord(x, y);
    return CPoint(static_cast<int>(x), static_cast<int>(y));
}

void COGL2DView::GetLastCoord(double& x, double& y)
{
    x = m_dCursX;
    y = m_dCursY;
}

void COGL2DView::EnterCoord(double& x, double& y, bool relative)
{
    if (relative) {
        x += m_dCursX;
        y += m_dCursY;
    }
    ClickAt(x, y);
    x = m_dCursX;
    y = m_dCursY;
}

void COGL2DView::ClickAt(double x, double y)
{
    m_dCursX = x;
    m_dCursY = y;
    const CPoint pixel = CursorPixel();
    LeftButtonDown(0, x, y, pixel);
    LeftButtonUp(0, x, y, pixel);
}

// ---- View volume, transform and parameters --------------------------------------------

void COGL2DView::GetViewTransform(double* out)
{
    out[0] = m_dCentX;
    out[1] = m_dCentY;
    out[2] = out[3] = out[4] = out[5] = 0.0;
}

int COGL2DView::GetViewVolume(double*& out)
{
    out = new double[6]{-m_iWidth / m_dScale, m_iWidth / m_dScale, -m_iHeight / m_dScale,
                        m_iHeight / m_dScale,  -1.0,                 1.0};
    return 1;
}

bool COGL2DView::SetViewVolume(double halfWidth, double halfHeight)
{
    glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -1.0, 1.0);
    return true;
}

bool COGL2DView::SetViewTransform()
{
    glTranslated(m_dCentX, m_dCentY, m_dCentZ);
    return true;
}

int COGL2DView::SetViewParam(double* params, bool get)
{
    if (get) {
        params[0] = m_iViewState;
        params[1] = m_dCentX;
        params[2] = m_dCentY;
        params[3] = m_dScale;
        params[4] = m_bShowAxis ? 1.0 : 0.0;
        params[5] = m_bShowGrid ? 1.0 : 0.0;
        params[6] = m_bSnapOn ? 1.0 : 0.0;
        params[7] = m_dSnapSpace;
        return 8;
    }
    m_iViewState = static_cast<int>(params[0]);
    m_dCentX = params[1];
    m_dCentY = params[2];
    m_dScale = params[3] == 0.0 ? 1.0 : params[3];
    m_bShowAxis = params[4] != 0.0;
    m_bShowGrid = params[5] != 0.0;
    m_bSnapOn = params[6] != 0.0;
    m_dSnapSpace = params[7];
    MarkListsInvalid();
    return 8;
}

float* COGL2DView::GetBckGrdClr()
{
    return fBckClrMdView;
}

bool COGL2DView::GLEnabling()
{
    COGLRenderer::GLEnableLineSmooth(GL_FASTEST);
    COGLRenderer::GLEnableBlend(GL_ONE_MINUS_SRC_ALPHA);
    COGLRenderer::GLEnablePointSmooth(GL_NICEST);
    return true;
}

// ---- Drawing ---------------------------------------------------------------------------

void COGL2DView::OnDrawOGL(CRect rect)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SetViewVolume(rect.Width() / m_dScale, rect.Height() / m_dScale);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLEnabling();
    SetViewTransform();
    DrawDynamicScene();
    glFlush();
    // The static scene stands in window-fixed coordinates.
    glLoadIdentity();
    DrawStaticScene();
    glFlush();
}

bool COGL2DView::DrawDynamicScene()
{
    if (m_bShowAxis) {
        if (!m_bAxisListValid || m_uiAxisList == 0)
            MakeAxisList();
        glCallList(m_uiAxisList);
    }
    if (m_bShowGrid && m_dSnapSpace != 0.0) {
        if (!m_bGridListValid || m_uiGridList == 0)
            MakeGridList();
        glCallList(m_uiGridList);
    }
    if (m_bSnapOn)
        DrawCursor();
    return true;
}

void COGL2DView::MakeAxisList()
{
    if (m_uiAxisList != 0)
        glDeleteLists(m_uiAxisList, 1);
    m_uiAxisList = glGenLists(1);
    glNewList(m_uiAxisList, GL_COMPILE);
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x11FF);
    glLineWidth(static_cast<GLfloat>(std::max(AXIS_WIDTH, 1.0)));
    glColor4dv(dAxisColor);
    const double hw = m_iWidth / m_dScale, hh = m_iHeight / m_dScale;
    glBegin(GL_LINES);
    glVertex3d(-hw - m_dCentX, 0.0, m_dCursZ);
    glVertex3d(hw - m_dCentX, 0.0, m_dCursZ);
    glVertex3d(0.0, -hh - m_dCentY, m_dCursZ);
    glVertex3d(0.0, hh - m_dCentY, m_dCursZ);
    glEnd();
    glPopAttrib();
    glEndList();
    m_bAxisListValid = true;
}

void COGL2DView::MakeGridList()
{
    if (m_uiGridList != 0) {
        glDeleteLists(m_uiGridList, 1);
        m_uiGridList = 0;
    }
    if (m_dSnapSpace == 0.0)
        return;
    m_uiGridList = glGenLists(1);
    glNewList(m_uiGridList, GL_COMPILE);
    DrawGrid(m_uiGridType);
    glEndList();
    m_bGridListValid = true;
}

void COGL2DView::DrawGrid(unsigned type)
{
    const double d = m_dSnapSpace;
    if (d <= 0.0 || type > 1)
        return;
    const double nxd = std::ceil((m_iWidth / m_dScale) / d + 1.0);
    const double nyd = std::ceil((m_iHeight / m_dScale) / d + 1.0);
    // Denser than about one line in 7 pixels: no grid.
    if (nxd > 0.15 * m_iWidth || nyd > 0.15 * m_iHeight)
        return;
    const int nx = static_cast<int>(nxd), ny = static_cast<int>(nyd);
    // Offsets in whole spacings, with the sign of the centre; the lines on
    // the axes are those whose index equals the offset count.
    const long kx = static_cast<long>(std::ceil(std::fabs(m_dCentX) / d)) * (m_dCentX < 0.0 ? -1 : 1);
    const long ky = static_cast<long>(std::ceil(std::fabs(m_dCentY) / d)) * (m_dCentY < 0.0 ? -1 : 1);
    const double ox = kx * d, oy = ky * d, z = m_dCursZ;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_POINT_BIT | GL_CURRENT_BIT);
    glDisable(GL_BLEND);
    glColor4dv(dGridColor);
    if (type == 1) {
        glDisable(GL_POINT_SMOOTH);
        glPointSize(m_fGridPSize);
        glBegin(GL_POINTS);
        for (int i = -nx; i <= nx; ++i)
            for (int j = -ny; j <= ny; ++j)
                glVertex3d(i * d - ox, j * d - oy, z);
        glEnd();
    } else {
        glDisable(GL_LINE_SMOOTH);
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, 0x4444);
        // The thin line width the views draw with, plus 0.2: the width in
        // force when the list is made may be one the frame's drawing left
        // behind (wide selected edges), which would make the grid bold.
        glLineWidth(static_cast<GLfloat>(std::max(THIN_EDGE, 1.0)) + 0.2f);
        glBegin(GL_LINES);
        for (int i = -nx; i <= nx; ++i) {
            if (m_bShowAxis && i == kx)
                continue;
            glVertex3d(i * d - ox, -ny * d - oy, z);
            glVertex3d(i * d - ox, ny * d - oy, z);
        }
        for (int j = -ny; j <= ny; ++j) {
            if (m_bShowAxis && j == ky)
                continue;
            glVertex3d(nx * d - ox, j * d - oy, z);
            glVertex3d(-nx * d - ox, j * d - oy, z);
        }
        glEnd();
    }
    glPopAttrib();
}

void COGL2DView::DrawCursorShape(double x, double y, double z, double w)
{
    const float* bg = GetBckGrdClr();
    const float inverse[3] = {1.0f - bg[0], 1.0f - bg[1], 1.0f - bg[2]};
    const auto line = [&](double x1, double y1, double x2, double y2) {
        glVertex3d(x + x1 * w, y + y1 * w, z);
        glVertex3d(x + x2 * w, y + y2 * w, z);
    };
    const auto cross = [&] {
        glBegin(GL_LINES);
        line(3, 0, 14, 0);
        line(-3, 0, -14, 0);
        line(0, 3, 0, 14);
        line(0, -3, 0, -14);
        glEnd();
    };
    const GLfloat thin = static_cast<GLfloat>(std::max(THIN_EDGE, 1.0));
    if (m_iTool == VIEWTOOL_NORMAL) {
        glColor3fv(bg);
        glLineWidth(static_cast<GLfloat>(std::max(WIDE_EDGE, 1.0)));
        cross();
        glColor3fv(inverse);
        glLineWidth(thin);
        glBegin(GL_LINE_LOOP);
        glVertex3d(x - 2 * w, y - 2 * w, z);
        glVertex3d(x + 2 * w, y - 2 * w, z);
        glVertex3d(x + 2 * w, y + 2 * w, z);
        glVertex3d(x - 2 * w, y + 2 * w, z);
        glEnd();
        cross();
    } else if (m_iTool == VIEWTOOL_POINT) {
        glColor3fv(inverse);
        glLineWidth(thin);
        glBegin(GL_LINES);
        // The box without its corners.
        line(-4, 5, 4, 5);
        line(4, -5, -4, -5);
        line(5, 4, 5, -4);
        line(-5, 4, -5, -4);
        // The small octagon.
        line(-2, 1, -2, -1);
        line(-1, -2, 1, -2);
        line(2, -1, 2, 1);
        line(1, 2, -1, 2);
        glEnd();
    }
}

void COGL2DView::DrawCursor()
{
    glDisable(GL_DEPTH_TEST);
    const CPoint pixel = CursorPixel();
    // Pixel units with y upwards; the projection of the scene is kept for
    // the static scene drawn after this one.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, m_iWidth, 0.0, m_iHeight);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // The centre of the cursor's pixel.
    DrawCursorShape(pixel.x + 0.5, m_iHeight - pixel.y - 0.5, 0.0, 1.0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// ---- Display lists ---------------------------------------------------------------------

void COGL2DView::InvalidateList()
{
    COGLView::InvalidateList();
    MarkListsInvalid();
}

void COGL2DView::OGLDeleteLists()
{
    COGLView::OGLDeleteLists();
    if (m_uiGridList != 0)
        glDeleteLists(m_uiGridList, 1);
    if (m_uiAxisList != 0)
        glDeleteLists(m_uiAxisList, 1);
    m_uiGridList = m_uiAxisList = 0;
    MarkListsInvalid();
}

void COGL2DView::OGLDestroy()
{
    // The base makes the context current and deletes the lists (ours too)
    // before it releases the context.
    COGLView::OGLDestroy();
}

void COGL2DView::SetSnapSpace(double spacing, bool redraw)
{
    m_dSnapSpace = spacing;
    MarkListsInvalid();
    if (redraw)
        Invalidate(FALSE);
}

// ---- Zoom and pan ------------------------------------------------------------------------

bool COGL2DView::ZoomIn(double factor)
{
    m_dScale *= factor;
    MarkListsInvalid();
    UpdateScrolls();
    Invalidate(FALSE);
    return true;
}

bool COGL2DView::ZoomOut(double factor)
{
    m_dScale /= factor;
    MarkListsInvalid();
    UpdateScrolls();
    Invalidate(FALSE);
    return true;
}

void COGL2DView::PanStep(double& centre, int extent, bool dir, double step)
{
    // 0 is one sixteenth of the visible extent; a negative step that many.
    const double unit = extent / (8.0 * m_dScale);
    step = step == 0.0 ? unit : step < 0.0 ? -step * unit : step;
    centre += dir ? -step : step;
    MarkListsInvalid();
    Invalidate(FALSE);
}

void COGL2DView::MoveHoris(bool dir, double step)
{
    PanStep(m_dCentX, m_iWidth, dir, step);
}

void COGL2DView::MoveVert(bool dir, double step)
{
    PanStep(m_dCentY, m_iHeight, dir, step);
}

void COGL2DView::ZoomToRect(double x1, double y1, double x2, double y2)
{
    m_dCentX = -(x1 + x2) / 2.0;
    m_dCentY = -(y1 + y2) / 2.0;
    const double sx = x1 - x2 > 0.0 ? 2.0 * m_iWidth / (x1 - x2) : 0.0;
    const double sy = y1 - y2 > 0.0 ? 2.0 * m_iHeight / (y1 - y2) : 0.0;
    if (sy > sx && sx > 0.0)
        m_dScale = sx;
    else if (sy > 0.0)
        m_dScale = sy;
    MarkListsInvalid();
    UpdateScrolls();
    Invalidate(TRUE);
}

void COGL2DView::ZoomToFit()
{
    FindModelExtents();
    MarkListsInvalid();
    if (m_dXMax == 0.0 && m_dYMax == 0.0 && m_dXMin == 0.0 && m_dYMin == 0.0)
        return;
    ZoomToRect(m_dXMax, m_dYMax, m_dXMin, m_dYMin);
}

void COGL2DView::SetMaxMin(double a, double b, unsigned flags)
{
    if (flags & 1) {
        m_dXMax = std::max(m_dXMax, a);
        m_dXMin = std::min(m_dXMin, a);
        m_dYMax = std::max(m_dYMax, b);
        m_dYMin = std::min(m_dYMin, b);
    }
    if (flags & 4) {
        m_dXMax = a;
        m_dYMax = b;
    }
    if (flags & 2) {
        m_dXMin = a;
        m_dYMin = b;
    }
    if (flags & 8) {
        m_dXMax = a;
        m_dXMin = b;
    }
    if (flags & 16) {
        m_dYMax = a;
        m_dYMin = b;
    }
}

bool COGL2DView::IsScrolling(CPoint& p)
{
    const double mx = m_iWidth / 50.0, my = m_iHeight / 50.0;
    const bool right = p.x > m_iWidth - mx, left = p.x < mx, bottom = p.y > m_iHeight - my;
    if (right && bottom) {
        MoveHoris(false, 0.0);
        return true;
    }
    if (left && bottom) {
        MoveHoris(true, 0.0);
        return true;
    }
    if (right) {
        MoveVert(true, 0.0);
        return true;
    }
    return false;
}

// ---- Messages --------------------------------------------------------------------------

int COGL2DView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (COGLView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The thumbs move over the ranges the centre maps onto.
    SetScrollRange(SB_HORZ, 0, m_iHorzRange, FALSE);
    SetScrollRange(SB_VERT, 0, m_iVertRange, FALSE);
    return 0;
}

void COGL2DView::OnSize(UINT nType, int cx, int cy)
{
    MarkListsInvalid();
    COGLView::OnSize(nType, cx, cy);
}

void COGL2DView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    switch (nSBCode) {
    case SB_LINELEFT:
    case SB_LINERIGHT:
    case SB_PAGELEFT:
    case SB_PAGERIGHT:
        MoveHoris(nSBCode == SB_LINERIGHT || nSBCode == SB_PAGERIGHT,
                  nSBCode == SB_PAGELEFT || nSBCode == SB_PAGERIGHT ? -10.0 : 0.0);
        SetScrollPos(SB_HORZ, HorizontalThumb(m_dCentX, m_iHorzRange));
        break;
    case SB_THUMBPOSITION:
        SetScrollPos(SB_HORZ, static_cast<int>(nPos));
        Invalidate(TRUE);
        break;
    case SB_THUMBTRACK:
        m_dCentX = (2.0 * static_cast<int>(nPos) / m_iHorzRange - 1.0) * -kScrollSpan;
        SetScrollPos(SB_HORZ, static_cast<int>(nPos));
        InvalidateList();
        Invalidate(FALSE);
        break;
    default:
        break;
    }
}

void COGL2DView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    switch (nSBCode) {
    case SB_LINEUP:
    case SB_LINEDOWN:
    case SB_PAGEUP:
    case SB_PAGEDOWN:
        MoveVert(nSBCode == SB_LINEUP || nSBCode == SB_PAGEUP,
                 nSBCode == SB_PAGEUP || nSBCode == SB_PAGEDOWN ? -10.0 : 0.0);
        break;
    case SB_THUMBPOSITION:
        SetScrollPos(SB_VERT, static_cast<int>(nPos));
        Invalidate(TRUE);
        break;
    case SB_THUMBTRACK:
        m_dCentY = (2.0 * static_cast<int>(nPos) / m_iVertRange - 1.0) * kScrollSpan;
        SetScrollPos(SB_VERT, static_cast<int>(nPos));
        InvalidateList();
        Invalidate(FALSE);
        break;
    default:
        break;
    }
}

BOOL COGL2DView::OnMouseWheel(UINT nFlags, short zDelta, CPoint)
{
    if (nFlags == 0) {
        if (zDelta > 0)
            ZoomIn(1.2);
        else
            ZoomOut(1.2);
    }
    return static_cast<BOOL>(Default());
}

BOOL COGL2DView::OnSetCursor(CWnd*, UINT nHitTest, UINT)
{
    if (nHitTest != HTCLIENT)
        return static_cast<BOOL>(Default());
    // While snapping, the view draws its own cursor.
    if (m_bSnapOn && m_iTool != VIEWTOOL_ZOOMRECT && m_iTool != VIEWTOOL_PAN)
        return TRUE;
    switch (m_iTool) {
    case VIEWTOOL_NORMAL: SetViewCursor(m_hNormalCursor); return TRUE;
    case VIEWTOOL_POINT: SetViewCursor(m_hPointCursor); return TRUE;
    case VIEWTOOL_ZOOMRECT: SetViewCursor(m_hZoomRectCursor); return TRUE;
    case VIEWTOOL_ZOOMDYN: SetViewCursor(m_hZoomDynCursor); return TRUE;
    case VIEWTOOL_PAN: SetViewCursor(m_hPanCursor); return TRUE;
    default: return static_cast<BOOL>(Default());
    }
}

bool COGL2DView::DragZoom(CPoint point)
{
    const int dx = point.x - m_LastPoint.x, dy = point.y - m_LastPoint.y;
    if (std::abs(dx) <= 4 && std::abs(dy) <= 4)
        return false;
    if (dy > 0)
        ZoomOut(1.05);
    else
        ZoomIn(1.05);
    return true;
}

bool COGL2DView::MouseMove(unsigned flags, CPoint point)
{
    double x = point.x, y = point.y;
    GetRealCoord(x, y, true);
    m_dCursX = x;
    m_dCursY = y;
    if (!(flags & MK_LBUTTON))
        return false;
    if (m_iTool == VIEWTOOL_ZOOMDYN || (flags & MK_RBUTTON)) {
        if (!DragZoom(point))
            return false;
        m_LastPoint = point;
        return true;
    }
    const bool control = (flags & MK_CONTROL) != 0;
    if (m_iTool == VIEWTOOL_PAN && control)
        return false;
    if (m_iTool == VIEWTOOL_PAN || control) {
        double lx = m_LastPoint.x, ly = m_LastPoint.y, px = point.x, py = point.y;
        GetRealCoord(lx, ly, false);
        GetRealCoord(px, py, false);
        m_dCentX += px - lx;
        m_dCentY += py - ly;
        MarkListsInvalid();
        m_LastPoint = point;
        UpdateScrolls();
        return true;
    }
    return false;
}

void COGL2DView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (MouseMove(nFlags, point)) {
        Invalidate(FALSE);
        UpdateWindow();
    }
    if (!(nFlags & (MK_LBUTTON | MK_RBUTTON)) &&
        (std::abs(point.x - m_LastPoint.x) > 4 || std::abs(point.y - m_LastPoint.y) > 5))
        m_LastPoint = point;
}

void COGL2DView::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_LastPoint = point;
    double x = point.x, y = point.y;
    GetRealCoord(x, y, true);
    m_dCursX = x;
    m_dCursY = y;
    TruncateCursor();
    if (m_bSnapOn)
        point = CursorPixel();
    if (LeftButtonDown(nFlags, m_dCursX, m_dCursY, point)) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void COGL2DView::OnLButtonUp(UINT nFlags, CPoint point)
{
    double x = point.x, y = point.y;
    GetRealCoord(x, y, m_bSnapOn);
    m_dCursX = x;
    m_dCursY = y;
    if (m_bSnapOn)
        point = CursorPixel();
    LeftButtonUp(nFlags, m_dCursX, m_dCursY, point);
}

void COGL2DView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    double x = point.x, y = point.y;
    GetRealCoord(x, y, true);
    m_dCursX = x;
    m_dCursY = y;
    TruncateCursor();
    if (m_bSnapOn)
        point = CursorPixel();
    LeftButtonDblClk(nFlags, m_dCursX, m_dCursY, point);
}

void COGL2DView::LeftButtonUp(unsigned, double, double, CPoint)
{
    if (m_iTool == VIEWTOOL_PAN) {
        MarkListsInvalid();
        Invalidate(TRUE);
    }
}

// ---- Picking ---------------------------------------------------------------------------

DWORD COGL2DView::PickObject(int x, int y, unsigned type, float tol, DWORD limit, int n, DWORD* exclude)
{
    if (m_Renderer.PrePickDraw(CPoint(x, y), tol, tol) != 0)
        return 0;
    SetViewVolume(m_iWidth / m_dScale, m_iHeight / m_dScale);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SetViewTransform();
    DynamicPickDraw(type);
    return m_Renderer.PostPickDraw(limit, n, exclude);
}

void COGL2DView::PickObject(CPoint point, unsigned type, float w, float h, unsigned*& names, int& count)
{
    names = nullptr;
    count = 0;
    if (m_Renderer.PrePickDraw(point, w, h) != 0)
        return;
    SetViewVolume(m_iWidth / m_dScale, m_iHeight / m_dScale);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SetViewTransform();
    glFinish();
    // The drawing may report objects wholly inside the band as hits without
    // drawing them; the recorder keeps them in order with GL's records.
    CPickRecorder recorder(COGLRenderer::selectBuf, COGLRenderer::iSelBufSize);
    DynamicPickDraw(type);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    const GLint hits = glRenderMode(GL_RENDER);
    glMatrixMode(GL_MODELVIEW);
    // At most one object for each four words of the buffer: the size the
    // settings give as the most objects selected at once.
    const std::vector<GLuint> found = recorder.Finish(hits);
    delete[] COGLRenderer::selectBuf;
    COGLRenderer::selectBuf = nullptr;
    if (found.empty())
        return;
    names = new unsigned[found.size()];
    std::copy(found.begin(), found.end(), names);
    count = static_cast<int>(found.size());
}

// ---- Off-screen image ------------------------------------------------------------------

void COGL2DView::BeginPicture(double factor)
{
    if (m_picture.active)
        EndPicture();
    m_picture = {true, m_dScale, m_uiGridList, m_uiAxisList, m_bGridListValid, m_bAxisListValid};
    if (factor > 0.0)
        m_dScale *= factor;
    // The window's lists are not in the picture's context.
    m_uiGridList = m_uiAxisList = 0;
    m_bGridListValid = m_bAxisListValid = false;
}

void COGL2DView::EndPicture()
{
    if (!m_picture.active)
        return;
    m_dScale = m_picture.scale;
    m_uiGridList = m_picture.gridList;
    m_uiAxisList = m_picture.axisList;
    m_bGridListValid = m_picture.gridValid;
    m_bAxisListValid = m_picture.axisValid;
    m_picture = PictureState{};
}

COGLDIB* COGL2DView::MakeOGLDIB(CSize size, CDC* dc)
{
    const int width = m_iWidth, height = m_iHeight;
    m_iWidth = size.cx;
    m_iHeight = size.cy;
    auto* dib = new COGLDIB;
    if (m_Renderer.HasContext())
        m_Renderer.MakeCurrent(true, true);
    // The lists belong to the window's context.
    OGLDeleteLists();
    dib->UseFontBMPs(true);
    CDC* target = dc != nullptr ? dc : m_Renderer.GetDC();
    if (!dib->PreDraw(target, size, GetBckGrdClr())) {
        delete dib;
        m_iWidth = width;
        m_iHeight = height;
        return nullptr;
    }
    glViewport(0, 0, size.cx, size.cy);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The window's model area at the image's resolution.
    SetViewVolume(width / m_dScale, height / m_dScale);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLEnabling();
    SetViewTransform();
    DrawDynamicScene();
    glLoadIdentity();
    DrawStaticScene();
    glFinish();
    // The lists made for the image go with its context.
    OGLDeleteLists();
    dib->PostDraw();
    m_iWidth = width;
    m_iHeight = height;
    return dib;
}

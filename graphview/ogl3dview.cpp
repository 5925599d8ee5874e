#include "graphview/ogl3dview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <GL/glu.h>

#include "geometry/axis.h"
#include "geometry/snode.h"
#include "glstyle/drawing_settings.h"

IMPLEMENT_DYNAMIC(COGL3DView, COGL2DView)

namespace {

constexpr double kDegree = 0.017453292519943295;

// An angle whose magnitude reached a full turn starts again at 0.
double Wrap(double angle)
{
    return std::fabs(angle) >= 360.0 ? 0.0 : angle;
}

} // namespace

BEGIN_MESSAGE_MAP(COGL3DView, COGL2DView)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

COGL3DView::COGL3DView()
{
    // The z node uses up no node number either.
    m_pViewAxis->SetZNode(new CSNode(0.0, 0.0, 1.0, nullptr, 0));
    --CSNode::lIDnode;
    m_bShowAxis = false;
    m_bShowGrid = false;
}

COGL3DView::~COGL3DView() = default;

// ---- Orientation -------------------------------------------------------------------------

void COGL3DView::OrientAxis()
{
    m_pViewAxis->GetXNode()->SetNodeCoord(1.0, 0.0, 0.0);
    m_pViewAxis->GetZNode()->SetNodeCoord(0.0, 0.0, 1.0);
    m_pViewAxis->RotateLocal(0.0, 3); // re-normalises
    m_pViewAxis->RotateLocal(m_dAngX * kDegree, 0);
    m_pViewAxis->RotateLocal(m_dAngY * kDegree, 1);
    m_pViewAxis->RotateLocal(m_dAngZ * kDegree, 2);
}

void COGL3DView::Rotate(int type, double degrees)
{
    if (type == 0 || type < 0 || type > 2)
        m_dAngX = Wrap(m_dAngX + degrees);
    if (type == 1 || type < 0 || type > 2)
        m_dAngY = Wrap(m_dAngY + degrees);
    if (type == 2 || type < 0 || type > 2)
        m_dAngZ = Wrap(m_dAngZ + degrees);
    OrientAxis();
}

void COGL3DView::SetAngles(double ax, double ay, double az)
{
    m_dAngX = ax;
    m_dAngY = ay;
    m_dAngZ = az;
    OrientAxis();
}

void COGL3DView::ToViewFrame(double& x, double& y, double& z) const
{
    x += m_dRotCentX;
    y += m_dRotCentY;
    if (m_b3D)
        m_pViewAxis->LocalToGlobal(x, y, z);
}

void COGL3DView::SetRotCent(double x, double y)
{
    // The new centre's place on the screen goes into the 2D centre, so the
    // picture stays where it is.
    double sx = x, sy = y, sz = 0.0;
    ToViewFrame(sx, sy, sz);
    m_dCentX += sx;
    m_dCentY += sy;
    m_dRotCentX = -x;
    m_dRotCentY = -y;
    MarkListsInvalid();
}

// ---- Parameters -----------------------------------------------------------------------------

void COGL3DView::GetViewTransform(double* out)
{
    out[0] = m_dCentX;
    out[1] = m_dCentY;
    out[2] = 0.0;
    out[3] = m_dAngX;
    out[4] = m_dAngY;
    out[5] = m_dAngZ;
}

int COGL3DView::SetViewParam(double* params, bool get)
{
    COGL2DView::SetViewParam(params, get);
    double* own = params + 8;
    if (get) {
        own[0] = m_dAngX;
        own[1] = m_dAngY;
        own[2] = m_dAngZ;
        own[3] = m_dRotCentX;
        own[4] = m_dRotCentY;
        own[5] = m_b3D ? 1.0 : 0.0;
        own[6] = m_bOrtho ? 1.0 : 0.0;
        return 15;
    }
    m_dRotCentX = own[3];
    m_dRotCentY = own[4];
    m_b3D = own[5] != 0.0;
    m_bOrtho = own[6] != 0.0;
    SetAngles(own[0], own[1], own[2]);
    return 15;
}

float* COGL3DView::GetBckGrdClr()
{
    return fBckClrRsView;
}

// ---- Projection and transform -------------------------------------------------------------

bool COGL3DView::SetViewVolume(double halfWidth, double halfHeight)
{
    if (!m_b3D)
        return COGL2DView::SetViewVolume(halfWidth, halfHeight);
    if (!m_bOrtho) {
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
        gluPerspective(m_dFovy, halfWidth / halfHeight, m_dNear, m_dFar);
        gluLookAt(0.0, 0.0, m_dEyeDist, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
        return true;
    }
    const double e = std::max({-m_dZMin, m_dYMax, -m_dYMin, -m_dXMin, m_dXMax, m_dZMax, halfWidth, halfHeight});
    glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -20.0 * e, 20.0 * e);
    return true;
}

bool COGL3DView::SetViewTransform()
{
    glTranslated(m_dCentX, 0.0, 0.0);
    glTranslated(0.0, m_dCentY, 0.0);
    if (m_b3D) {
        glRotated(m_dAngX, 1.0, 0.0, 0.0);
        glRotated(m_dAngY, 0.0, 1.0, 0.0);
        glRotated(m_dAngZ, 0.0, 0.0, 1.0);
    }
    glTranslated(m_dRotCentX, m_dRotCentY, 0.0);
    return true;
}

bool COGL3DView::GLEnabling()
{
    if (!m_b3D)
        return COGL2DView::GLEnabling();
    COGLRenderer::GLEnableDepthTest(GL_LEQUAL);
    COGLRenderer::GLEnableLineSmooth(GL_NICEST);
    COGLRenderer::GLEnablePointSmooth(GL_FASTEST);
    return true;
}

bool COGL3DView::GLLightEnabling()
{
    GLSharedLights();
    return true;
}

// ---- Zoom -----------------------------------------------------------------------------------

bool COGL3DView::ZoomIn(double factor)
{
    if (!m_b3D || m_bOrtho)
        return COGL2DView::ZoomIn(factor);
    const double kept = m_dFar - m_dEyeDist;
    m_dEyeDist /= factor;
    m_dFar = std::max(m_dEyeDist + kept, 1.0);
    Invalidate(FALSE);
    return true;
}

bool COGL3DView::ZoomOut(double factor)
{
    if (!m_b3D || m_bOrtho)
        return COGL2DView::ZoomOut(factor);
    const double kept = m_dFar - m_dEyeDist;
    m_dEyeDist *= factor;
    m_dFar = std::max(m_dEyeDist + kept, 1.0);
    Invalidate(FALSE);
    return true;
}

void COGL3DView::ZoomToFit()
{
    if (!m_b3D) {
        COGL2DView::ZoomToFit();
        if (m_dXMax != 0.0 || m_dYMax != 0.0 || m_dXMin != 0.0 || m_dYMin != 0.0) {
            m_dCentX -= m_dRotCentX;
            m_dCentY -= m_dRotCentY;
        }
        return;
    }
    FindModelExtents();
    MarkListsInvalid();
    if (m_dXMax == 0.0 && m_dYMax == 0.0 && m_dXMin == 0.0 && m_dYMin == 0.0)
        return;
    // The box of the eight corners in the screen-aligned frame.
    double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    bool first = true;
    for (double cx : {m_dXMax, m_dXMin})
        for (double cy : {m_dYMax, m_dYMin})
            for (double cz : {m_dZMax, m_dZMin}) {
                double p[3] = {cx, cy, cz};
                ToViewFrame(p[0], p[1], p[2]);
                for (int k = 0; k < 3; ++k) {
                    lo[k] = first ? p[k] : std::min(lo[k], p[k]);
                    hi[k] = first ? p[k] : std::max(hi[k], p[k]);
                }
                first = false;
            }
    m_dCentX = -(hi[0] + lo[0]) / 2.0;
    m_dCentY = -(hi[1] + lo[1]) / 2.0;
    const double widen[2] = {0.05 * (hi[0] - lo[0]), 0.05 * (hi[1] - lo[1])};
    for (int k = 0; k < 2; ++k) {
        hi[k] += widen[k];
        lo[k] -= widen[k];
    }
    const double width = hi[0] - lo[0], height = hi[1] - lo[1];
    // A box without width or height keeps the zoom: only the centre moves.
    if (width > 0.0 || height > 0.0) {
        if (m_bOrtho) {
            const double sx = width > 0.0 ? 2.0 * m_iWidth / width : 0.0;
            const double sy = height > 0.0 ? 2.0 * m_iHeight / height : 0.0;
            m_dScale = sx > 0.0 && (sy <= 0.0 || sy > sx) ? sx : sy;
        } else {
            m_dEyeDist = std::max(width, height) * 0.9 / std::fabs(std::tan(m_dFovy / 2.0 * kDegree));
            double largest = 0.0;
            for (int k = 0; k < 3; ++k)
                largest = std::max({largest, std::fabs(lo[k]), std::fabs(hi[k])});
            m_dFar = m_dEyeDist + 2.0 * largest;
        }
    }
    Invalidate(TRUE);
}

// ---- Coordinates ----------------------------------------------------------------------------

void COGL3DView::GetRealCoord(double& x, double& y, bool snap)
{
    COGL2DView::GetRealCoord(x, y, false);
    if (m_b3D) {
        // The ray along the view direction meets the model plane.
        double direction[3] = {0.0, 0.0, -1.0};
        double z = 0.0;
        if (!m_pViewAxis->GetPofIntersect(direction, x, y, z, 0)) {
            x = 0.0;
            y = 0.0;
        }
    }
    x = Snap(x - m_dRotCentX, snap);
    y = Snap(y - m_dRotCentY, snap);
}

void COGL3DView::GetScreenCoord(double& x, double& y)
{
    double z = m_dCursZ;
    ToViewFrame(x, y, z);
    COGL2DView::GetScreenCoord(x, y);
}

void COGL3DView::GetLastCoord3D(double& x, double& y, double& z)
{
    x = m_dCursX;
    y = m_dCursY;
    z = m_dCursZ;
}

void COGL3DView::EnterCoord3D(double& x, double& y, double& z, bool relative)
{
    if (relative) {
        x += m_dCursX;
        y += m_dCursY;
        z += m_dCursZ;
    }
    m_dCursZ = z;
    ClickAt(x, y);
    x = m_dCursX;
    y = m_dCursY;
    z = m_dCursZ;
}

// ---- Mouse ----------------------------------------------------------------------------------

bool COGL3DView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    const bool answer = COGL2DView::LeftButtonDown(flags, x, y, point);
    if (m_iTool != VIEWTOOL_ROTCENTRE)
        return answer;
    SetRotCent(m_dCursX, m_dCursY);
    m_iTool = VIEWTOOL_ROTATE;
    return true;
}

bool COGL3DView::MouseMove(unsigned flags, CPoint point)
{
    const bool answer = COGL2DView::MouseMove(flags, point);
    const bool control = (flags & MK_CONTROL) != 0;
    if (!((m_iTool == VIEWTOOL_ROTATE && m_b3D && !control) || (m_iTool == VIEWTOOL_PAN && control)))
        return answer;
    const int dx = point.x - m_LastPoint.x, dy = point.y - m_LastPoint.y;
    bool turned = false;
    if (flags & MK_LBUTTON) {
        if (std::abs(dy) >= 5) {
            Rotate(0, dy / 2.0);
            turned = true;
        }
        if (std::abs(dx) > 4) {
            Rotate(1, dx / 2.0);
            turned = true;
        }
    }
    if ((flags & MK_RBUTTON) && std::abs(dx) > 4) {
        Rotate(2, dx / 2.0);
        turned = true;
    }
    if (turned)
        m_LastPoint = point;
    return turned || answer;
}

BOOL COGL3DView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_b3D)
        return COGL2DView::OnSetCursor(pWnd, nHitTest, message);
    if (nHitTest != HTCLIENT)
        return static_cast<BOOL>(Default());
    switch (m_iTool) {
    case VIEWTOOL_NORMAL: SetViewCursor(m_hNormalCursor); return TRUE;
    case VIEWTOOL_POINT:
    case VIEWTOOL_ROTCENTRE: SetViewCursor(m_hPointCursor); return TRUE;
    case VIEWTOOL_ZOOMRECT: SetViewCursor(m_hZoomRectCursor); return TRUE;
    case VIEWTOOL_ZOOMDYN: SetViewCursor(m_hZoomDynCursor); return TRUE;
    case VIEWTOOL_PAN: SetViewCursor(m_hPanCursor); return TRUE;
    case VIEWTOOL_ROTATE: SetViewCursor(m_hRotateCursor); return TRUE;
    default: return static_cast<BOOL>(Default());
    }
}

// ---- Drawing --------------------------------------------------------------------------------

void COGL3DView::DrawCursor()
{
    if (!m_b3D) {
        COGL2DView::DrawCursor();
        return;
    }
    DrawCursorShape(m_dCursX, m_dCursY, m_dCursZ, 3.0 / m_dScale);
}

bool COGL3DView::DrawStaticScene()
{
    if (!m_b3D)
        return COGL2DView::DrawStaticScene();
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    m_pViewAxis->DrawGL(0.1, "X", "Y", "Z", 1.0, 1.0, 1.0);
    return true;
}

// Kor2DView: view commands, status-bar texts, the axis triad, the zoom
// rectangle and image saving of the framework's 2D views.
#include "framework/kor2dview.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "framework/korviewshared.h"
#include "geometry/snode.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ui/core/afxui.h"

const char* const kKorImageFilter =
    "Windows Bitmap (*.bmp)|*.bmp|JPEG Filter (*.jpg)|*.jpg|Targa (*.tga )|*.tga|"
    "Tagged Image File Format(*.tif)|*.tif||";

IMPLEMENT_DYNAMIC(Kor2DView, COGL2DView)

BEGIN_MESSAGE_MAP(Kor2DView, COGL2DView)
KOR_SHARED_VIEW_ENTRIES()
ON_COMMAND(ID_KOR_VIEW_SNAP, OnViewSnap)
ON_UPDATE_COMMAND_UI(ID_KOR_VIEW_SNAP, OnUpdateViewSnap)
ON_WM_SETFOCUS()
ON_WM_MOUSELEAVE()
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
    StatusBarCoordText(korview::DrawingTime(m_iDrawTime, "Drawing time: %5u ms (%.1f fps)"), 3);
}

void Kor2DView::StatusBarCoordText(CString text, int index)
{
    korview::StatusBarText(text, index);
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
    korview::DrawZoomRect(*this, m_pZoomRectNode, 0.0f);
    return COGL2DView::DrawDynamicScene();
}

// ------------------------------------------------------------ mouse

void Kor2DView::TruncateCursor()
{
    korview::TruncateCursor(*this);
}

bool Kor2DView::MouseMove(unsigned flags, CPoint point)
{
    const double oldX = m_dCursX, oldY = m_dCursY;
    const bool answer = COGL2DView::MouseMove(flags, point);
    return korview::AfterMouseMove(*this, m_pZoomRectNode, oldX, oldY, answer, point);
}

bool Kor2DView::LeftButtonDown(unsigned flags, double x, double y, CPoint point)
{
    if (m_iTool != VIEWTOOL_ZOOMRECT)
        return COGL2DView::LeftButtonDown(flags, x, y, point);
    korview::ZoomRectClick(*this, m_pZoomRectNode, point, VIEWTOOL_NORMAL);
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

void Kor2DView::OnTool(UINT nID)
{
    ToggleTool(korview::ToolOf(nID));
}

// ------------------------------------------------------------ snap and focus

void Kor2DView::OnViewSnap()
{
    m_bSnapOn = !m_bSnapOn;
}

void Kor2DView::OnUpdateViewSnap(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bSnapOn);
}

void Kor2DView::OnInitialUpdate()
{
    COGL2DView::OnInitialUpdate();
    korview::TakeGridSpacing(*this, false);
}

void Kor2DView::OnSetFocus(CWnd*)
{
    Default();
    korview::TakeGridSpacing(*this, true);
}


bool Kor2DView::SaveImage(const CString& path, int index, double horizontal, double vertical)
{
    return korview::SaveImage(*this, path, index, horizontal, vertical);
}

void Kor2DView::OnSharedCommand(UINT nID)
{
    korview::SharedCommand(*this, nID);
}

void Kor2DView::OnUpdateSharedCommand(CCmdUI* pCmdUI)
{
    korview::UpdateSharedCommand(*this, pCmdUI);
}

void Kor2DView::OnMouseLeave()
{
    // The pointer's coordinates no longer stand for a place in the view.
    korview::StatusBarText("", 1);
    korview::StatusBarText("", 2);
}

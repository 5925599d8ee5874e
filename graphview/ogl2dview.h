// COGL2DView: the plan view under the application's 2D views. It adds to
// the base OpenGL view a 2D camera (view centre and scale), zoom, pan,
// scroll bars and wheel zoom, a grid and an axis cross held as display
// lists, a snapping cursor with typed coordinate entry, picking through the
// renderer's selection buffer, mouse handlers that hand model coordinates
// to virtual handlers, saving and restoring of the view parameters, and
// drawing into an off-screen image. It draws no model itself: derived views
// draw it in the static and dynamic scene hooks.
//
// Sizes are device pixels; W and H are the client size (m_iWidth,
// m_iHeight). One model unit is scale/2 pixels, and the model point at the
// window centre is (-centre x, -centre y).
#pragma once

#include <GL/gl.h>

#include "geometry/axis.h"
#include "glview/ogldib.h"
#include "glview/oglview.h"
#include "platform/ui/core/afxui.h"


// A cursor image of the views; null means the arrow cursor.
typedef const AfxCursorResource* HVIEWCURSOR;

// Tool modes of the graph views.
enum : int {
    VIEWTOOL_NORMAL = 0,
    VIEWTOOL_POINT = 1,
    VIEWTOOL_ZOOMRECT = 2,
    VIEWTOOL_ZOOMDYN = 4,
    VIEWTOOL_PAN = 8,
    VIEWTOOL_ROTCENTRE = 16,
    VIEWTOOL_ROTATE = 32,
};

// The scroll thumb of the horizontal bar after a line or page step: the
// centre over +-100000 model units mapped onto 0..range, clamped.
int HorizontalThumb(double centreX, int range);

class COGL2DView : public COGLView
{
    DECLARE_DYNAMIC(COGL2DView)
public:
    COGL2DView();
    ~COGL2DView() override;

    // ---- Overrides of the base view
    void ZoomToFit() override;
    void OGLDeleteLists() override;
    void OGLDestroy() override;
    // centre x, centre y, then four zeros.
    void GetViewTransform(double* out) override;
    // Six new doubles (the caller frees them with delete[]): -W/scale,
    // W/scale, -H/scale, H/scale, -1, 1; returns 1.
    int GetViewVolume(double*& out) override;
    void InvalidateList() override;
    // The modelling background.
    float* GetBckGrdClr() override;
    void OnDrawOGL(CRect rect) override;

    // ---- New virtual operations
    // Multiplies an orthographic projection of the half sizes onto the
    // current matrix.
    virtual bool SetViewVolume(double halfWidth, double halfHeight);
    virtual void RemoveSelected(CObject*) {}
    // Scrolls a step when p lies in the border margins (W/50, H/50).
    virtual bool IsScrolling(CPoint& p);
    virtual int GetNumViewParams() { return 8; }
    // get true fills params, false takes them; returns the count used.
    virtual int SetViewParam(double* params, bool get);
    virtual void GetLastCoord(double& x, double& y);
    // Typed coordinates: a click at (x, y) (plus the cursor when relative);
    // x and y receive the cursor as the handlers left it.
    virtual void EnterCoord(double& x, double& y, bool relative);
    virtual void* GetInterfaceHandler() { return nullptr; }
    // Type 0 stippled lines, 1 points; others draw nothing.
    virtual void DrawGrid(unsigned type);
    virtual void LeftButtonDblClk(unsigned, double, double, CPoint) {}
    virtual void LeftButtonUp(unsigned flags, double x, double y, CPoint point);
    // Keeps the cursor within what the derived view allows.
    virtual void TruncateCursor() = 0;
    virtual bool LeftButtonDown(unsigned, double, double, CPoint) { return false; }
    virtual void UpdateScrolls() {}
    // Sets the extents (SetMaxMin) for ZoomToFit.
    virtual void FindModelExtents() = 0;
    // Pan and drag zoom; true when the view changed.
    virtual bool MouseMove(unsigned flags, CPoint point);
    // The scene in an image of size pixels showing the window's model
    // area; the caller owns it. Null when the image cannot be made.
    virtual COGLDIB* MakeOGLDIB(CSize size, CDC* dc);
    virtual void DrawCursor();
    // Pixel to model, in place; snapped when asked and snapping is on.
    virtual void GetRealCoord(double& x, double& y, bool snap);
    // Model to pixel, in place.
    virtual void GetScreenCoord(double& x, double& y);
    virtual bool GLEnabling();
    virtual bool StaticPickDraw(unsigned) { return true; }
    virtual bool DynamicPickDraw(unsigned) { return true; }
    // Every non-zero name in a w x h pixel rectangle around point, once
    // each in hit order: names gets a new array (the caller deletes it
    // with delete[]) and count its length; null and 0 without hits.
    virtual void PickObject(CPoint point, unsigned type, float w, float h, unsigned*& names, int& count);
    // The one name the renderer chooses in a tol x tol square at (x, y).
    virtual DWORD PickObject(int x, int y, unsigned type, float tol, DWORD limit, int n, DWORD* exclude);
    // A pan step: 0 is W/(8 scale), a negative step |step| times that.
    virtual void MoveHoris(bool dir, double step);
    virtual void MoveVert(bool dir, double step);
    virtual bool ZoomIn(double factor);
    virtual bool ZoomOut(double factor);
    virtual bool SetViewTransform();
    virtual bool DrawStaticScene() { return true; }
    virtual bool DrawDynamicScene();

    // ---- Non-virtual operations
    // flags 1 widen to (a, b); 4 max = (a, b); 2 min = (a, b); 8 x max a,
    // x min b; 16 y max a, y min b; applied in this order.
    void SetMaxMin(double a, double b, unsigned flags);
    // (x1, y1) the maximum corner.
    void ZoomToRect(double x1, double y1, double x2, double y2);
    void SetSnapSpace(double spacing, bool redraw);
    void SetSnapOn(bool on) { m_bSnapOn = on; }
    void MakeGridList();
    void MakeAxisList();
    void DisableView() { EnableWindow(FALSE); }
    void EnableView() { EnableWindow(TRUE); }
    // The cursor the view shows now (null: the arrow).
    HVIEWCURSOR GetViewCursor() const { return m_hShownCursor; }

    CAxis* m_pViewAxis = nullptr;
    CPoint m_LastPoint{0, 0};
    int m_iTool = VIEWTOOL_NORMAL;
    double m_dCentX = 0.0, m_dCentY = 0.0, m_dCentZ = 0.0;
    double m_dScale = 4.0;
    double m_dXMax = 0.0, m_dYMax = 0.0, m_dXMin = 0.0, m_dYMin = 0.0;
    double m_dCursX = 0.0, m_dCursY = 0.0, m_dCursZ = 0.0;
    double m_dSnapSpace = 0.0;
    bool m_bShowAxis = true;
    int m_iHorzRange = 800, m_iVertRange = 800;
    bool m_bAxisListValid = false, m_bGridListValid = false;
    GLuint m_uiGridList = 0, m_uiAxisList = 0;
    bool m_bShowGrid = true;
    bool m_bSnapOn = false;

    static unsigned m_uiGridType;
    static float m_fGridPSize;
    static double m_dZoompercent;
    static HVIEWCURSOR m_hNormalCursor, m_hPointCursor, m_hPanCursor, m_hZoomRectCursor,
        m_hZoomRectDragCursor, m_hZoomDynCursor, m_hZoomInPointCursor, m_hZoomOutPointCursor,
        m_hRotateCursor;

protected:
    void MarkListsInvalid() { m_bAxisListValid = m_bGridListValid = false; }
    // Snaps v to the nearest multiple of the spacing, halves upwards, when
    // asked, snapping is on and the spacing is not 0.
    double Snap(double v, bool snap) const;
    // Shows cursor (the arrow for null).
    void SetViewCursor(HVIEWCURSOR cursor)
    {
        m_hShownCursor = cursor;
        AfxSetCursor(cursor);
    }
    // Window-pixel point of the cursor.
    CPoint CursorPixel();
    // The cursor to (x, y) and a click there: LeftButtonDown and
    // LeftButtonUp at its pixel.
    void ClickAt(double x, double y);
    // The scale grows with a printed picture's pixels; the grid and axis
    // lists are made in the picture's context. Both come back afterwards.
    void BeginPicture(double factor) override;
    void EndPicture() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // The drag zoom of a move from the last mouse point: out when the
    // pointer went down. False for a move of 4 pixels or less.
    bool DragZoom(CPoint point);
    void PanStep(double& centre, int extent, bool dir, double step);
    // Draws the wide and thin cursor cross, the square and the point-entry
    // box in units of w around (x, y) at z.
    void DrawCursorShape(double x, double y, double z, double w);

    HVIEWCURSOR m_hShownCursor = nullptr;
    // The view's state while a picture is drawn (Begin/EndPicture).
    struct PictureState {
        bool active = false;
        double scale = 0.0;
        GLuint gridList = 0, axisList = 0;
        bool gridValid = false, axisValid = false;
    } m_picture;

    friend class COGL3DView;
};

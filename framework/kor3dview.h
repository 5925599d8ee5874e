// Kor3DView: the framework's 3D OpenGL view. On top of the rotatable graph
// view it carries the commands of a 3D result window: the rotation tool,
// preset orientations and step rotations, light, wireframe, colour plot,
// transparency, projection and field of view, a switch to a flat 2D plot,
// the centre of rotation, an axis triad in the lower-right corner, an
// optional legend strip on the left, and the commands that move the clip
// planes of its child frame. The shared view commands act as in Kor2DView.
#pragma once

#include "framework/kor2dview.h"
#include "graphview/ogl3dview.h"

class CSNode;

class Kor3DView : public COGL3DView
{
    DECLARE_DYNAMIC(Kor3DView)
public:
    Kor3DView();
    ~Kor3DView() override;

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    bool MouseMove(unsigned flags, CPoint point) override;
    // The 3D conversion with the 3D plot on and a tool other than the zoom
    // rectangle; else the 2D one.
    void GetRealCoord(double& x, double& y, bool snap) override;
    // The axis triad and the legend strip (client areas above 220 x 200).
    bool DrawStaticScene() override;
    bool DrawDynamicScene() override;
    void TruncateCursor() override;

    // The axis triad into the current viewport.
    virtual void RenderAxis();
    // The legend strip in the unit square; the programs fill it in.
    virtual void DrawStressScale() {}
    // Pane index + 1 of the main frame's status bar, updated at once.
    virtual void StatusBarCoordText(CString text, int index);
    // Marks for compiling the lists a change of the frame's clip planes
    // affects: the first list, or every list for a change of the levels.
    // A view that sets the planes when it calls its lists compiles nothing.
    virtual void InvalidateClippedLists(bool levels);

    bool m_bLegend = false;
    double m_dSavedAngles[3] = {0.0, 0.0, 0.0};
    CSNode* m_pZoomRectNode = nullptr; // owned
    // The first corner and the pointer's pixel while a zoom rectangle of
    // the 3D plot is open.
    CPoint m_ZoomRectStart{0, 0}, m_ZoomRectPixel{0, 0};

    // The 3D plot shows the pixel rectangle between the two points as
    // large as the client area allows, its middle in the middle: the centre
    // moves by the rectangle's offset in the plane through the rotation
    // centre, and the scale (orthographic) or the eye distance (perspective)
    // changes by the ratio of the sizes. A rectangle without width and
    // height only moves the centre.
    void ZoomToPixelRect(CPoint first, CPoint second);

    // Kept with the programs' settings.
    static int m_iDrawSelNum;

protected:
    void DeleteZoomRect();
    void RefreshCursor();
    // Switches the tool on, or back to offTool when it is the tool in use.
    void ToggleTool(int tool, int offTool);
    // Repaints: erase, and at once when asked.
    void Repaint(bool erase, bool now = false);
    // Toggles a mask of the view state with the lists out of date.
    void ToggleState(int mask, bool erase, bool now = false);
    // The frame's planes when the document is a framework one and the
    // parent frame a KorChildFrm; after a change the dialog follows.
    bool ClipPlaneTargets(class KorDoc*& doc, class KorChildFrm*& frame);
    void ClipPlanesChanged(KorDoc* doc);
    void MarkFirstListInvalid();

    void OnToolRotate();
    void OnToolRotCentre();
    void OnUpdateToolRotate(CCmdUI* pCmdUI);
    void OnPlot2D();
    void OnUpdatePlot2D(CCmdUI* pCmdUI);
    void OnLight();
    void OnWireframe();
    void OnColorPlot();
    void OnTransparent();
    void OnUpdateLight(CCmdUI* pCmdUI);
    void OnUpdateWireframe(CCmdUI* pCmdUI);
    void OnUpdateColorPlot(CCmdUI* pCmdUI);
    void OnUpdateTransparent(CCmdUI* pCmdUI);
    void OnProjection();
    void OnUpdateProjection(CCmdUI* pCmdUI);
    void OnFovUp();
    void OnFovDown();
    void OnUpdateFovUp(CCmdUI* pCmdUI);
    void OnUpdateFovDown(CCmdUI* pCmdUI);
    void OnGlobalOrigin();
    void OnPreset(UINT nID);
    void OnStepRotate(UINT nID);
    void OnClipRotate(UINT nID);
    void OnClipDistance(UINT nID);
    void OnClipLevels(UINT nID);
    void OnSetFocus(CWnd* pOldWnd);
    // Clears the coordinate panes of the status bar.
    void OnMouseLeave();
    // The commands all framework views share (korview's entries).
    void OnTool(UINT nID);
    void OnSharedCommand(UINT nID);
    void OnUpdateSharedCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

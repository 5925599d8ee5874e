// Kor2DView: the framework's 2D OpenGL view. On top of the plan view it
// carries the view commands every window of the programs shares (tools,
// zooms, moves, grid, snap and axes, clipboard copy, image saving, zoom
// factor, absolute move, OpenGL options), the coordinate and drawing-time
// texts of the status bar in the current unit system, a small axis triad in
// the lower-left corner and the rubber rectangle of the zoom-rectangle tool.
#pragma once

#include "graphview/ogl2dview.h"

class CSNode;

// View commands of the framework views.
constexpr UINT ID_KOR_VIEW_GRID = 50003;
constexpr UINT ID_KOR_VIEW_SNAP = 50004;
constexpr UINT ID_KOR_VIEW_AXES = 50005;
constexpr UINT ID_KOR_TOOL_POINTER = 50009;
constexpr UINT ID_KOR_TOOL_PAN = 50016;
constexpr UINT ID_KOR_ZOOM_IN = 50018;
constexpr UINT ID_KOR_ZOOM_OUT = 50019;
constexpr UINT ID_KOR_ZOOM_FIT = 50020;
constexpr UINT ID_KOR_TOOL_ZOOMRECT = 50021;
constexpr UINT ID_KOR_TOOL_ZOOMDYN = 50022;
constexpr UINT ID_KOR_COPY_IMAGE = 50023;
constexpr UINT ID_KOR_SAVE_IMAGE = 50024;
constexpr UINT ID_KOR_MOVE_ABSOLUTE = 50031;
constexpr UINT ID_KOR_MOVE_DOWN = 50042;
constexpr UINT ID_KOR_MOVE_UP = 50043;
constexpr UINT ID_KOR_MOVE_LEFT = 50044;
constexpr UINT ID_KOR_MOVE_RIGHT = 50045;
constexpr UINT ID_KOR_OGL_OPTIONS = 50046;
constexpr UINT ID_KOR_ZOOM_FACTOR = 50064;
constexpr UINT ID_KOR_SET_LIMITS = 50065;

// The filter of the save-image dialog; its index picks the format.
extern const char* const kKorImageFilter;

class Kor2DView : public COGL2DView
{
    DECLARE_DYNAMIC(Kor2DView)
public:
    Kor2DView();
    ~Kor2DView() override;

    void OnDraw(CDC* pDC) override;
    // The base's, then the main frame's current grid spacing (without a
    // redraw: the first paint follows), so that the grid shows in a new
    // view before it ever has the focus.
    void OnInitialUpdate() override;
    // With snap off, the cursor is cut to the digits the status bar shows.
    void TruncateCursor() override;
    // The two clicks of the zoom-rectangle tool; other tools go to the base.
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    bool MouseMove(unsigned flags, CPoint point) override;
    // The axis triad in the corner (client areas above 200 x 200 pixels).
    bool DrawStaticScene() override;
    // The zoom rectangle's rubber band.
    bool DrawDynamicScene() override;
    // Pane index + 1 of the main frame's status bar, updated at once.
    virtual void StatusBarCoordText(CString text, int index);

    // The length factor (shown = stored x factor) and unit of the display.
    static double LengthFactor();
    static CString LengthUnit();
    // "X: " or "Y: " with the value in the length row's format and unit.
    static CString CoordText(UINT labelID, double value);

    // Renders the view at the given percentages of its client size and
    // writes it to path as filter entry index (1 BMP, 2 JPEG, 3 Targa, 4
    // TIFF); false after telling the user why not.
    bool SaveImage(const CString& path, int index, double horizontal, double vertical);

    CSNode* m_pZoomRectNode = nullptr; // owned

protected:
    void DeleteZoomRect();
    // Shows the cursor of the tool now in use.
    void RefreshCursor();
    // Switches the tool on, or off when it is the tool in use.
    void ToggleTool(int tool);

    void OnViewSnap();
    void OnUpdateViewSnap(CCmdUI* pCmdUI);
    void OnSetFocus(CWnd* pOldWnd);
    // Clears the coordinate panes of the status bar.
    void OnMouseLeave();
    // The commands all framework views share (korview's entries).
    void OnTool(UINT nID);
    void OnSharedCommand(UINT nID);
    void OnUpdateSharedCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

// What the framework's 2D and 3D views share: the status-bar texts, the
// zoom rectangle's clicks and rubber band, the cut cursor and the dialogs
// of the common view commands. Each takes the view it works on.
#pragma once

#include "framework/kor2dview.h"
#include "graphview/ogl2dview.h"

class CSNode;

namespace korview
{

// Pane index + 1 of the main frame's status bar, updated at once.
void StatusBarText(CString text, int index);
// The drawing-time text of the last draw through format (ms, fps).
CString DrawingTime(int drawTime, const char* format);
// With snap off, the cursor is cut to the digits the status bar shows.
void TruncateCursor(COGL2DView& view);

// After the base's mouse move: the changed cursor to the status bar (x and
// y); true when the view has to repaint.
bool AfterMouseMove(COGL2DView& view, const CSNode* corner, double oldX, double oldY, bool answer,
                    CPoint point);
// A click of the zoom-rectangle tool: the first one takes the corner, the
// second zooms and puts the tool to toolAfter.
void ZoomRectClick(COGL2DView& view, CSNode*& corner, CPoint point, int toolAfter);
// The rubber rectangle from the corner to the cursor (lineWidth > 0: that
// width).
void DrawZoomRect(COGL2DView& view, const CSNode* corner, float lineWidth);

// The view commands every framework view carries alike: zooms, moves,
// grid and axes, clipboard copy, image saving, OpenGL options, zoom factor,
// limits and absolute move. False for another id.
bool SharedCommand(COGL2DView& view, UINT nID);
// Check marks of the grid, the axes and the tools.
void UpdateSharedCommand(COGL2DView& view, CCmdUI* pCmdUI);
// The tool (VIEWTOOL_...) a tool command switches; VIEWTOOL_NORMAL for
// another id.
int ToolOf(UINT nID);

void ToggleAxes(COGL2DView& view);
void AskZoomFactor(COGL2DView& view);
void AskMoveAbsolute(COGL2DView& view);
void ShowOGLOptions(COGL2DView& view);
// Asks a file and a size and saves the image.
void AskSaveImage(COGL2DView& view);
bool SaveImage(COGL2DView& view, const CString& path, int index, double horizontal, double vertical);
// The main frame's current grid spacing for the view.
void TakeGridSpacing(COGL2DView& view, bool redraw);

} // namespace korview

// The message-map entries every framework view carries alike: the four
// tools to OnTool(UINT), the shared commands to OnSharedCommand(UINT) and
// the check marks of tools, grid and axes to OnUpdateSharedCommand.
#define KOR_SHARED_VIEW_ENTRIES()                                                                  \
    ON_COMMAND_RANGE(ID_KOR_TOOL_POINTER, ID_KOR_TOOL_POINTER, OnTool)                             \
    ON_COMMAND_RANGE(ID_KOR_TOOL_PAN, ID_KOR_TOOL_PAN, OnTool)                                     \
    ON_COMMAND_RANGE(ID_KOR_TOOL_ZOOMRECT, ID_KOR_TOOL_ZOOMDYN, OnTool)                            \
    ON_UPDATE_COMMAND_UI(ID_KOR_TOOL_POINTER, OnUpdateSharedCommand)                               \
    ON_UPDATE_COMMAND_UI(ID_KOR_TOOL_PAN, OnUpdateSharedCommand)                                   \
    ON_UPDATE_COMMAND_UI_RANGE(ID_KOR_TOOL_ZOOMRECT, ID_KOR_TOOL_ZOOMDYN, OnUpdateSharedCommand)   \
    ON_COMMAND_RANGE(ID_KOR_ZOOM_IN, ID_KOR_ZOOM_FIT, OnSharedCommand)                             \
    ON_COMMAND_RANGE(ID_KOR_MOVE_DOWN, ID_KOR_MOVE_RIGHT, OnSharedCommand)                         \
    ON_COMMAND_RANGE(ID_KOR_VIEW_GRID, ID_KOR_VIEW_GRID, OnSharedCommand)                          \
    ON_COMMAND_RANGE(ID_KOR_VIEW_AXES, ID_KOR_VIEW_AXES, OnSharedCommand)                          \
    ON_COMMAND_RANGE(ID_KOR_COPY_IMAGE, ID_KOR_SAVE_IMAGE, OnSharedCommand)                        \
    ON_COMMAND_RANGE(ID_KOR_OGL_OPTIONS, ID_KOR_OGL_OPTIONS, OnSharedCommand)                      \
    ON_COMMAND_RANGE(ID_KOR_ZOOM_FACTOR, ID_KOR_SET_LIMITS, OnSharedCommand)                       \
    ON_COMMAND_RANGE(ID_KOR_MOVE_ABSOLUTE, ID_KOR_MOVE_ABSOLUTE, OnSharedCommand)                  \
    ON_UPDATE_COMMAND_UI(ID_KOR_VIEW_GRID, OnUpdateSharedCommand)                                  \
    ON_UPDATE_COMMAND_UI(ID_KOR_VIEW_AXES, OnUpdateSharedCommand)

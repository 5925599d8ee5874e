// What the framework's 2D and 3D views share: the status-bar texts, the
// zoom rectangle's clicks and rubber band, the cut cursor and the dialogs
// of the common view commands. Each takes the view it works on.
#pragma once

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
// Check marks of the grid and the axes.
void UpdateSharedCommand(COGL2DView& view, CCmdUI* pCmdUI);

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

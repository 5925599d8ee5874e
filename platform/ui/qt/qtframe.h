// Frames on Qt: a frame window of the layer is a QMainWindow whose menu bar
// shows the frame's current menu (the active child's, or its own), its
// status bar one QLabel per pane, and its client area the frame's other
// children (a QMdiArea for an MDI frame). The frame's accelerator table
// (its resource id) gives window shortcuts; a focused edit keeps the keys
// it takes (Qt asks it first through ShortcutOverride), and a command that
// update UI disables is not sent. Pane 0 shows the prompt of the menu item
// under the mouse, and "Ready" again when the menu closes. Closing it from the title bar is
// the layer's WM_CLOSE: the frame's OnClose decides. Files dropped on a
// frame open in turn (CFrameWnd::DropFiles).
#pragma once

#include <vector>

#include <QWidget>

#include "platform/ui/core/resources.h"
#include "platform/ui/core/wnd.h"

class CFrameWnd;

// The widget of a new frame window.
QWidget* AfxQtNewFrameWidget(HWND hWnd, CFrameWnd& frame, QWidget* pParent);
// The widget of a new MDI child frame: a maximised QMdiSubWindow in the
// main frame's QMdiArea (pParent). Choosing it activates the child in the
// layer; its close button goes through the child's OnClose.
QWidget* AfxQtNewChildFrame(HWND hWnd, QWidget* pParent);
// The widget of a new status bar (in its frame's status area when the
// parent is a frame widget).
QWidget* AfxQtNewStatusBar(QWidget* pParent);

// True for frame and status-bar widgets: Qt lays them out, the layer's
// rectangles move nothing but a frame's size.
bool AfxQtIsFrameWidget(const QWidget* pWidget);
bool AfxQtIsStatusBar(const QWidget* pWidget);
bool AfxQtIsChildFrame(const QWidget* pWidget);
// Shows a child frame maximised, or in its own size where the child in
// front of the window mode shows so.
void AfxQtShowChildFrame(QWidget* pWidget);

// Where the children of a window's widget are placed (a frame's client
// area, a child frame's inner widget; the widget itself otherwise).
QWidget* AfxQtClientArea(QWidget* pWidget);

// The Qt key sequence of an accelerator entry (empty for a key it cannot
// name).
class QKeySequence;
QKeySequence AfxQtAccelKeys(const ACCEL& accel);

// Shows the frame's current menu again when it changed (a frame widget).
void AfxQtShowFrameMenu(QWidget* pFrameWidget);
// The same, and an MDI frame's workbook mode (tabs or sub-windows).
void AfxQtShowFrameState(QWidget* pFrameWidget);
// Cascades (ID_WINDOW_CASCADE, ID_WINDOW_ARRANGE) or tiles
// (ID_WINDOW_TILE_HORZ) an MDI frame's sub-windows; nothing in tabbed mode.
void AfxQtArrangeChildFrames(QWidget* pFrameWidget, UINT nCommand);
// Shows the panes' texts (a status-bar widget).
void AfxQtShowStatusPanes(QWidget* pBar, const std::vector<AfxListItem>& panes);

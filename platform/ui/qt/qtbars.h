// Control bars on Qt: a toolbar of the layer (CToolBar) is a movable,
// floatable QToolBar of its frame's QMainWindow, any other control bar (the
// log bar) a QDockWidget, and a tab window (CTabWnd) a QTabWidget with its
// tabs along the bottom edge.
//
// A toolbar's buttons are QActions showing the command's tip, with the
// picture of the command id as icon (a labelled square when there is
// none); a combo button is the combo the toolbar manager made, moved into a
// QWidgetAction. Update UI runs over the buttons at idle, at most every
// 50 ms: enabled, and pressed when checked. A chosen button is the command,
// a hovered one shows its prompt in the status bar. Return in an editable
// combo is the layer's Return key there (it notifies the frame). The
// manager's switches give 16 x 15 or 30 x 30 buttons, with or without
// tooltips.
//
// The dock bar of a control bar (AFX_IDW_DOCKBAR_TOP, LEFT, RIGHT,
// BOTTOM) gives its area, its docking style the areas it may move to, and
// bars of one area line up in the order they were made. When the user
// hides or shows a bar, the layer's window follows.
//
// A frame's bar layout is QMainWindow::saveState() (bars are named by their
// ids); restoring ignores bytes Qt does not accept.
#pragma once

#include <vector>

#include <QWidget>

#include "platform/ui/core/wnd.h"

class CControlBar;
class CToolBar;

// The widget of a new control bar of the frame widget pFrame (a toolbar or
// a dock widget).
QWidget* AfxQtNewControlBar(HWND hWnd, CControlBar& bar, QWidget* pFrame);
// The widget of a new tab window.
QWidget* AfxQtNewTabWindow(HWND hWnd, QWidget* pParent);

bool AfxQtIsControlBar(const QWidget* pWidget);
bool AfxQtIsTabWindow(const QWidget* pWidget);

// Shows a control bar's state (title, places, buttons) after a change.
void AfxQtShowControlBar(QWidget* pBar, const CWndState& state, UINT nChanges);
// Shows a tab window's tabs (their windows become its pages) and the
// active tab.
void AfxQtShowTabs(QWidget* pTabs, const CWndState& state);

// One update-UI pass over the buttons of every toolbar of the frame widget
// (what the idle timer runs).
void AfxQtUpdateToolBars(QWidget* pFrame);
// Wraps the toolbars docked along the top and bottom edges of a frame into
// as many rows as the frame's width needs, so no toolbar hides buttons
// behind its overflow button. A layout that fits stays as it is.
void AfxQtFitToolBars(QWidget* pFrame);

// Widgets that Qt lays out (bars, a dock's content, tab pages, toolbar
// combos): the layer's rectangles do not move them.
void AfxQtSetLaidOut(QWidget* pWidget);
bool AfxQtIsLaidOut(const QWidget* pWidget);

// The frame widget's bar layout, and restoring it.
std::vector<BYTE> AfxQtSaveBarLayout(QWidget* pFrame);
void AfxQtRestoreBarLayout(QWidget* pFrame, const std::vector<BYTE>& layout);

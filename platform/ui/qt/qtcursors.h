// The cursors of OpenGL views on Qt: the six view cursors (27040-27045,
// 32 x 32 images with their own hot spots) are resources of this library,
// and a view's cursor goes to the view widget the mouse is over.
#pragma once

#include <QCursor>

#include "platform/ui/core/resources.h"

class QWidget;

// The first and last id of the view cursors.
constexpr UINT AFX_IDC_VIEW_FIRST = 27040;
constexpr UINT AFX_IDC_VIEW_LAST = 27045;

// The widget the mouse last entered or moved over in a view: cursors set
// through the cursor service go there (null: none).
void AfxQtSetCursorWidget(QWidget* pWidget);
QWidget* AfxQtCursorWidget();

// The Qt cursor of a cursor resource (the arrow for null or an image that
// cannot be read).
QCursor AfxQtCursor(const AfxCursorResource* pCursor);

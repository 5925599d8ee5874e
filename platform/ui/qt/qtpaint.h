// A layer window's own painting on Qt: its WM_PAINT runs inside the
// widget's paint event with a CQtPainterDC over the widget attached as the
// paint context (see AfxAttachPaintDC), so what OnPaint draws with its
// CPaintDC reaches the screen; and the picture of a memory bitmap, which
// a picture static shows.
#pragma once

#include <QImage>

#include "platform/ui/core/gdi.h"

class QWidget;

// Paints the layer window hWnd on widget now (inside widget's paint event).
void AfxQtPaintWindow(HWND hWnd, QWidget& widget);

// The picture of a memory bitmap (16, 24 or 32 bits a pixel), top row
// first; a null image for other depths or an empty bitmap.
QImage AfxQtImageFromBitmap(const CBitmap& bitmap);

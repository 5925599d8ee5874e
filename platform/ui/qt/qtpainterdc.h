// The layer's device context over a QPainter: what a window's OnPaint draws
// with a CPaintDC reaches the widget through it. Pens, brushes and fonts are
// the layer's CPen, CBrush and CFont; BitBlt copies the pixels of a memory
// context (CImageDC). Coordinates are the window's client pixels, as the
// layer's; the painter does any device-pixel scaling.
//
// AfxQtPaintWindow runs one WM_PAINT of a layer window with such a context
// attached (see AfxAttachPaintDC).
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>

#include "platform/ui/core/gdi.h"

class QWidget;

class CQtPainterDC : public CDC
{
public:
    // painter must be active and outlive this context.
    explicit CQtPainterDC(QPainter& painter);
    ~CQtPainterDC() override;
    CQtPainterDC(const CQtPainterDC&) = delete;
    CQtPainterDC& operator=(const CQtPainterDC&) = delete;
    using CDC::TextOut;

    int GetDeviceCaps(int nIndex) const override;
    CGdiObject* SelectGdiObject(CGdiObject* pObject) override;
    CGdiObject* GetCurrentFont() const override { return m_pFont; }
    unsigned long SetTextColor(unsigned long crColor) override;
    unsigned long SetBkColor(unsigned long crColor) override;
    int SetBkMode(int nBkMode) override;
    bool TextOut(int x, int y, const char* lpszString, int nCount) override;
    void GetTextExtent(const char* lpszString, int nCount, long& cx, long& cy) const override;
    bool GetTextMetrics(TEXTMETRIC* ptm) const override;
    void MoveTo(int x, int y) override;
    bool LineTo(int x, int y) override;
    bool Rectangle(int x1, int y1, int x2, int y2) override;
    bool RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
    // Copies from a CImageDC; any other source draws nothing and fails.
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                std::uint32_t dwRop) override;

private:
    // Sets the painter's pen and brush to the selected ones.
    void UsePenAndBrush();

    QPainter& m_painter;
    QPoint m_pos{0, 0};
    CPen* m_pPen = nullptr;     // selected (not owned); null: a black one-pixel pen
    CBrush* m_pBrush = nullptr; // selected (not owned); null: a white brush
    CFont* m_pFont = nullptr;   // selected (not owned); null: the widget's font
    QFont m_defaultFont;
    COLORREF m_textColour = 0;
    COLORREF m_bkColour = 0xFFFFFF;
    int m_nBkMode = OPAQUE;
};

// The picture of a memory bitmap (16, 24 or 32 bits a pixel), top row
// first; a null image for other depths or an empty bitmap.
QImage AfxQtImageFromBitmap(const CBitmap& bitmap);

// Paints the layer window hWnd on widget now (inside widget's paint
// event): WM_PAINT goes to the window with a CQtPainterDC over the widget
// attached as its paint context.
void AfxQtPaintWindow(HWND hWnd, QWidget& widget);

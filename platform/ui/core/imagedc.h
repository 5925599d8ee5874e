// CImageDC: a memory context over a 32-bit picture (a page's off-screen
// picture). It records every call as RecordingDC does and also paints
// rectangles and lines into its pixels, so the picture can be looked at
// pixel by pixel, and a window's paint context copies those pixels with
// BitBlt on either backend.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/core/gdi.h"

class CImageDC : public RecordingDC
{
public:
    // A picture of width x height pixels, all black.
    void CreatePicture(int nWidth, int nHeight);
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // The pixel's colour (COLORREF); black outside the picture.
    COLORREF Pixel(int x, int y) const;

    // Gives back the pen or brush selected before (the context's own at
    // first); other objects are recorded only.
    CGdiObject* SelectGdiObject(CGdiObject* pObject) override;
    void MoveTo(int x, int y) override;
    // Lines of the selected pen, without their end point.
    bool LineTo(int x, int y) override;
    // The brush fills the inside, the pen draws the one-pixel border; the
    // right and bottom edges are outside, as on a window.
    bool Rectangle(int x1, int y1, int x2, int y2) override;
    // Drawn as a plain rectangle: the corners are not rounded.
    bool RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
    // Copies the pixels of another CImageDC; other sources are recorded only.
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                std::uint32_t dwRop) override;

private:
    void Set(int x, int y, COLORREF colour);
    void PaintRect(int x1, int y1, int x2, int y2);

    int m_nWidth = 0, m_nHeight = 0;
    std::vector<COLORREF> m_pixels;
    CPoint m_pos{0, 0};
    // Selected at the start, so that every selection has one to give back.
    CPen m_stockPen{PS_SOLID, 1, RGB(0, 0, 0)};
    CBrush m_stockBrush{RGB(255, 255, 255)};
    CPen* m_pPen = &m_stockPen;       // not owned unless the stock pen
    CBrush* m_pBrush = &m_stockBrush; // not owned unless the stock brush
};

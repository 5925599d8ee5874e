#include "platform/ui/core/imagedc.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

void CImageDC::CreatePicture(int nWidth, int nHeight)
{
    m_nWidth = std::max(nWidth, 0);
    m_nHeight = std::max(nHeight, 0);
    m_pixels.assign(std::size_t(m_nWidth) * std::size_t(m_nHeight), 0);
}

COLORREF CImageDC::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0;
    return m_pixels[std::size_t(y) * std::size_t(m_nWidth) + std::size_t(x)];
}

void CImageDC::Set(int x, int y, COLORREF colour)
{
    if (x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight)
        m_pixels[std::size_t(y) * std::size_t(m_nWidth) + std::size_t(x)] = colour;
}

CGdiObject* CImageDC::SelectGdiObject(CGdiObject* pObject)
{
    if (!pObject)
        return nullptr;
    RecordingDC::SelectGdiObject(pObject);
    // The one selected before is this context's own record: it is the
    // context's stock object until the caller selects one of its own.
    if (auto* pPen = dynamic_cast<CPen*>(pObject))
        return std::exchange(m_pPen, pPen);
    if (auto* pBrush = dynamic_cast<CBrush*>(pObject))
        return std::exchange(m_pBrush, pBrush);
    return nullptr;
}

void CImageDC::MoveTo(int x, int y)
{
    RecordingDC::MoveTo(x, y);
    m_pos = CPoint(x, y);
}

bool CImageDC::LineTo(int x, int y)
{
    RecordingDC::LineTo(x, y);
    if (m_pPen->m_nStyle != PS_NULL) {
        const COLORREF colour = m_pPen->m_color;
        const int dx = x - m_pos.x, dy = y - m_pos.y;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        for (int s = 0; s < steps; ++s)
            Set(m_pos.x + dx * s / steps, m_pos.y + dy * s / steps, colour);
    }
    m_pos = CPoint(x, y);
    return true;
}

bool CImageDC::Rectangle(int x1, int y1, int x2, int y2)
{
    RecordingDC::Rectangle(x1, y1, x2, y2);
    PaintRect(x1, y1, x2, y2);
    return true;
}

void CImageDC::PaintRect(int x1, int y1, int x2, int y2)
{
    const COLORREF fill = m_pBrush->m_color;
    const bool bOutline = m_pPen->m_nStyle != PS_NULL;
    const COLORREF outline = m_pPen->m_color;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            const bool bBorder = x == x1 || y == y1 || x == x2 - 1 || y == y2 - 1;
            Set(x, y, bBorder && bOutline ? outline : fill);
        }
}

bool CImageDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    RecordingDC::RoundRect(x1, y1, x2, y2, x3, y3);
    PaintRect(x1, y1, x2, y2);
    return true;
}

bool CImageDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                      std::uint32_t dwRop)
{
    RecordingDC::BitBlt(x, y, nWidth, nHeight, pSrcDC, xSrc, ySrc, dwRop);
    const auto* source = dynamic_cast<const CImageDC*>(pSrcDC);
    if (!source)
        return false;
    for (int row = 0; row < nHeight; ++row)
        for (int col = 0; col < nWidth; ++col)
            Set(x + col, y + row, source->Pixel(xSrc + col, ySrc + row));
    return true;
}

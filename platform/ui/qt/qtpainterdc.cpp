#include "platform/ui/qt/qtpainterdc.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QWidget>

#include "platform/ui/core/imagedc.h"
#include "platform/ui/core/wnd.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/qttext.h"

namespace
{

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QPen ToQPen(const CPen* pen)
{
    if (!pen)
        return QPen(Qt::black, 0);
    if (pen->m_nStyle == PS_NULL)
        return QPen(Qt::NoPen);
    // Widths of 0 and 1 are one device pixel, as in GDI.
    QPen qpen(ToQColor(pen->m_color), pen->m_nWidth > 1 ? pen->m_nWidth : 0);
    qpen.setStyle(pen->m_nStyle == PS_DASH  ? Qt::DashLine
                  : pen->m_nStyle == PS_DOT ? Qt::DotLine
                                            : Qt::SolidLine);
    qpen.setCapStyle(Qt::FlatCap);
    return qpen;
}

} // namespace

CQtPainterDC::CQtPainterDC(QPainter& painter) : m_painter(painter)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_defaultFont = m_painter.font();
}

CQtPainterDC::~CQtPainterDC()
{
    m_painter.restore();
}

int CQtPainterDC::GetDeviceCaps(int nIndex) const
{
    const QPaintDevice* device = m_painter.device();
    if (!device)
        return 0;
    switch (nIndex) {
    case HORZRES:
        return device->width();
    case VERTRES:
        return device->height();
    case HORZSIZE:
        return device->widthMM();
    case VERTSIZE:
        return device->heightMM();
    case LOGPIXELSX:
        return device->logicalDpiX();
    case LOGPIXELSY:
        return device->logicalDpiY();
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}

CGdiObject* CQtPainterDC::SelectGdiObject(CGdiObject* pObject)
{
    if (auto* pen = dynamic_cast<CPen*>(pObject))
        return std::exchange(m_pPen, pen);
    if (auto* brush = dynamic_cast<CBrush*>(pObject))
        return std::exchange(m_pBrush, brush);
    if (auto* font = dynamic_cast<CFont*>(pObject)) {
        m_painter.setFont(AfxQtFontFromLogFont(font->m_logFont));
        return std::exchange(m_pFont, font);
    }
    return nullptr;
}

unsigned long CQtPainterDC::SetTextColor(unsigned long crColor)
{
    return std::exchange(m_textColour, static_cast<COLORREF>(crColor));
}

unsigned long CQtPainterDC::SetBkColor(unsigned long crColor)
{
    return std::exchange(m_bkColour, static_cast<COLORREF>(crColor));
}

int CQtPainterDC::SetBkMode(int nBkMode)
{
    return std::exchange(m_nBkMode, nBkMode);
}

bool CQtPainterDC::TextOut(int x, int y, const char* lpszString, int nCount)
{
    const QString text = AfxToQString(CString(lpszString, nCount));
    const QFontMetrics metrics(m_painter.font());
    // (x, y) is the top left of the text's cell, as GDI places it.
    if (m_nBkMode == OPAQUE)
        m_painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                           ToQColor(m_bkColour));
    m_painter.setPen(ToQColor(m_textColour));
    m_painter.drawText(QPoint(x, y + metrics.ascent()), text);
    return true;
}

void CQtPainterDC::GetTextExtent(const char* lpszString, int nCount, long& cx, long& cy) const
{
    const QFontMetrics metrics(m_painter.font());
    cx = metrics.horizontalAdvance(AfxToQString(CString(lpszString, nCount)));
    cy = metrics.height();
}

bool CQtPainterDC::GetTextMetrics(TEXTMETRIC* ptm) const
{
    const QFontMetrics metrics(m_painter.font());
    *ptm = TEXTMETRIC{metrics.height(),
                      metrics.ascent(),
                      metrics.descent(),
                      std::max(0, metrics.height() - m_painter.font().pixelSize()),
                      metrics.leading(),
                      metrics.averageCharWidth(),
                      metrics.maxWidth(),
                      m_painter.font().weight()};
    return true;
}

void CQtPainterDC::MoveTo(int x, int y)
{
    m_pos = QPoint(x, y);
}

bool CQtPainterDC::LineTo(int x, int y)
{
    // A flat cap leaves out the end point, as GDI does.
    const QPoint end(x, y);
    m_painter.setPen(ToQPen(m_pPen));
    m_painter.drawLine(m_pos, end);
    m_pos = end;
    return true;
}

void CQtPainterDC::UsePenAndBrush()
{
    m_painter.setPen(ToQPen(m_pPen));
    m_painter.setBrush(m_pBrush ? QBrush(ToQColor(m_pBrush->m_color)) : QBrush(Qt::white));
}

bool CQtPainterDC::Rectangle(int x1, int y1, int x2, int y2)
{
    const QRect area(QPoint(std::min(x1, x2), std::min(y1, y2)),
                     QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    if (area.isEmpty())
        return true;
    // The brush fills the inside and the pen draws the border within the
    // rectangle; the right and bottom edges are outside it, as in GDI.
    UsePenAndBrush();
    m_painter.fillRect(area, m_painter.brush());
    if (m_painter.pen().style() != Qt::NoPen) {
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
    return true;
}

bool CQtPainterDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    UsePenAndBrush();
    m_painter.drawRoundedRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), x3 / 2.0, y3 / 2.0);
    return true;
}

bool CQtPainterDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                          std::uint32_t)
{
    const auto* source = dynamic_cast<const CImageDC*>(pSrcDC);
    if (!source || nWidth <= 0 || nHeight <= 0)
        return false;
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    for (int row = 0; row < nHeight; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int col = 0; col < nWidth; ++col) {
            const COLORREF c = source->Pixel(xSrc + col, ySrc + row);
            line[col] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        }
    }
    m_painter.drawImage(QPoint(x, y), image);
    return true;
}

QImage AfxQtImageFromBitmap(const CBitmap& bitmap)
{
    if (!bitmap.IsValid() || bitmap.BitsPerPixel() < 16)
        return QImage();
    BITMAPINFO info{};
    info.bmiHeader.biBitCount = 24;
    const int width = bitmap.Width(), height = bitmap.Height();
    const std::size_t stride = DibStride(static_cast<std::size_t>(width), 24);
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(height));
    if (bitmap.GetDIBits(nullptr, 0, static_cast<unsigned>(height), bits.data(), &info,
                         DIB_RGB_COLORS) != height)
        return QImage();
    // Rows bottom-up and blue first, as a DIB keeps them.
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = bits.data() + stride * static_cast<std::size_t>(height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

void AfxQtPaintWindow(HWND hWnd, QWidget& widget)
{
    QPainter painter(&widget);
    CQtPainterDC dc(painter);
    AfxAttachPaintDC(hWnd, &dc);
    AfxQtEntry([hWnd] {
        if (CWnd* wnd = CWnd::FromHandle(hWnd))
            wnd->SendMessage(WM_PAINT);
    });
    AfxAttachPaintDC(hWnd, nullptr);
}

#include "platform/ui/core/gdi.h"
#include "platform/ui/core/wnd.h"

#include <cstring>

#include "platform/afx/numconv.h"
#include "platform/ui/core/windowattachments.h"

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    m_nStyle = nPenStyle;
    m_nWidth = nWidth;
    m_color = crColor;
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    m_color = crColor;
    return TRUE;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    m_logFont = *lpLogFont;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    return TRUE;
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    *pLogFont = m_logFont;
    return sizeof(LOGFONT);
}

namespace
{

constexpr int kCharWidth = 6;
constexpr int kCharHeight = 13;
constexpr int kAscent = 10;

std::string Colour(unsigned long c)
{
    return AfxFormat("0x%06lX", c & 0xFFFFFFUL);
}

} // namespace

RecordingDC::RecordingDC()
    : m_caps{{HORZRES, 800},   {VERTRES, 600},   {HORZSIZE, 212}, {VERTSIZE, 159},
             {LOGPIXELSX, 96}, {LOGPIXELSY, 96}, {BITSPIXEL, 32}, {PLANES, 1}}
{
}

int RecordingDC::GetDeviceCaps(int nIndex) const
{
    const auto it = m_caps.find(nIndex);
    return it == m_caps.end() ? 0 : it->second;
}

CGdiObject* RecordingDC::SelectGdiObject(CGdiObject* pObject)
{
    int slot = 3;
    std::string line;
    if (const auto* pen = dynamic_cast<const CPen*>(pObject)) {
        slot = 0;
        line = AfxFormat("pen %d %d ", pen->m_nStyle, pen->m_nWidth) + Colour(pen->m_color);
    } else if (const auto* brush = dynamic_cast<const CBrush*>(pObject)) {
        slot = 1;
        line = "brush " + Colour(brush->m_color);
    } else if (const auto* font = dynamic_cast<const CFont*>(pObject)) {
        slot = 2;
        line = AfxFormat("font %ld %ld '%s'", static_cast<long>(font->m_logFont.lfHeight),
                         static_cast<long>(font->m_logFont.lfWeight), font->m_logFont.lfFaceName);
    } else if (const auto* bitmap = dynamic_cast<const CBitmap*>(pObject)) {
        line = AfxFormat("bitmap %d %d", bitmap->Width(), bitmap->Height());
    } else {
        line = "null";
    }
    Record("SelectObject " + line);
    CGdiObject* old = m_selected[slot];
    m_selected[slot] = pObject;
    return old;
}

unsigned long RecordingDC::SetTextColor(unsigned long crColor)
{
    Record("SetTextColor " + Colour(crColor));
    return 0;
}

unsigned long RecordingDC::SetBkColor(unsigned long crColor)
{
    Record("SetBkColor " + Colour(crColor));
    return 0xFFFFFF;
}

int RecordingDC::SetBkMode(int nBkMode)
{
    Record(AfxFormat("SetBkMode %d", nBkMode));
    return OPAQUE;
}

bool RecordingDC::TextOut(int x, int y, const char* lpszString, int nCount)
{
    Record(AfxFormat("TextOut %d %d '", x, y) +
           std::string(lpszString, static_cast<std::size_t>(nCount)) + "'");
    return true;
}

void RecordingDC::GetTextExtent(const char*, int nCount, long& cx, long& cy) const
{
    cx = static_cast<long>(nCount) * kCharWidth;
    cy = kCharHeight;
}

bool RecordingDC::GetTextMetrics(TEXTMETRIC* ptm) const
{
    *ptm =
        TEXTMETRIC{kCharHeight, kAscent, kCharHeight - kAscent, 0, 0, kCharWidth, kCharWidth, 400};
    return true;
}

void RecordingDC::MoveTo(int x, int y)
{
    Record(AfxFormat("MoveTo %d %d", x, y));
}

bool RecordingDC::LineTo(int x, int y)
{
    Record(AfxFormat("LineTo %d %d", x, y));
    return true;
}

bool RecordingDC::Rectangle(int x1, int y1, int x2, int y2)
{
    Record(AfxFormat("Rectangle %d %d %d %d", x1, y1, x2, y2));
    return true;
}

bool RecordingDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    Record(AfxFormat("RoundRect %d %d %d %d %d %d", x1, y1, x2, y2, x3, y3));
    return true;
}

bool RecordingDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC*, int xSrc, int ySrc,
                         std::uint32_t dwRop)
{
    Record(AfxFormat("BitBlt %d %d %d %d %d %d 0x%08X", x, y, nWidth, nHeight, xSrc, ySrc,
                     static_cast<unsigned>(dwRop)));
    return true;
}

int RecordingDC::SetDIBitsToDevice(int xDest, int yDest, unsigned nWidth, unsigned nHeight,
                                   int xSrc, int ySrc, unsigned nStartScan, unsigned nNumScans,
                                   const void*, const BITMAPINFO* pInfo, unsigned nColorUse)
{
    Record(AfxFormat("SetDIBitsToDevice %d %d %u %u %d %d %u %u bits %d %u", xDest, yDest, nWidth,
                     nHeight, xSrc, ySrc, nStartScan, nNumScans,
                     pInfo ? static_cast<int>(pInfo->bmiHeader.biBitCount) : 0, nColorUse));
    return static_cast<int>(nNumScans);
}

int RecordingDC::StretchDIBits(int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc,
                               int ySrc, int nSrcWidth, int nSrcHeight, const void*,
                               const BITMAPINFO* pInfo, unsigned nColorUse, std::uint32_t dwRop)
{
    Record(AfxFormat("StretchDIBits %d %d %d %d %d %d %d %d bits %d %u 0x%08X", xDest, yDest,
                     nDestWidth, nDestHeight, xSrc, ySrc, nSrcWidth, nSrcHeight,
                     pInfo ? static_cast<int>(pInfo->bmiHeader.biBitCount) : 0, nColorUse,
                     static_cast<unsigned>(dwRop)));
    return nSrcHeight;
}

CSize AfxGetTextExtent(const CDC& dc, const CString& text)
{
    long cx = 0, cy = 0;
    dc.GetTextExtent(text.GetString(), text.GetLength(), cx, cy);
    return CSize(static_cast<int>(cx), static_cast<int>(cy));
}

IGLSurface* CClientDC::GetGLSurface() const
{
    return m_pWnd != nullptr ? AfxGetGLSurface(m_pWnd->GetSafeHwnd()) : nullptr;
}

// ---- CPaintDC ----------------------------------------------------------------

namespace
{

// The contexts of the paints running now, by window.
CWindowAttachments<CDC>& PaintDCs()
{
    static CWindowAttachments<CDC> contexts;
    return contexts;
}

} // namespace

void AfxAttachPaintDC(HWND hWnd, CDC* pDC)
{
    PaintDCs().Attach(hWnd, pDC);
}

CDC* AfxGetPaintDC(HWND hWnd)
{
    return PaintDCs().Get(hWnd);
}

CPaintDC::CPaintDC(CWnd* pWnd)
    : CClientDC(pWnd), m_pTarget(pWnd ? AfxGetPaintDC(pWnd->GetSafeHwnd()) : nullptr)
{
}

int CPaintDC::GetDeviceCaps(int nIndex) const
{
    return Target().GetDeviceCaps(nIndex);
}

CGdiObject* CPaintDC::SelectGdiObject(CGdiObject* pObject)
{
    return Target().SelectGdiObject(pObject);
}

CGdiObject* CPaintDC::GetCurrentFont() const
{
    return Target().GetCurrentFont();
}

unsigned long CPaintDC::SetTextColor(unsigned long crColor)
{
    return Target().SetTextColor(crColor);
}

unsigned long CPaintDC::SetBkColor(unsigned long crColor)
{
    return Target().SetBkColor(crColor);
}

int CPaintDC::SetBkMode(int nBkMode)
{
    return Target().SetBkMode(nBkMode);
}

bool CPaintDC::TextOut(int x, int y, const char* lpszString, int nCount)
{
    return Target().TextOut(x, y, lpszString, nCount);
}

void CPaintDC::GetTextExtent(const char* lpszString, int nCount, long& cx, long& cy) const
{
    Target().GetTextExtent(lpszString, nCount, cx, cy);
}

bool CPaintDC::GetTextMetrics(TEXTMETRIC* ptm) const
{
    return Target().GetTextMetrics(ptm);
}

void CPaintDC::MoveTo(int x, int y)
{
    Target().MoveTo(x, y);
}

bool CPaintDC::LineTo(int x, int y)
{
    return Target().LineTo(x, y);
}

bool CPaintDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return Target().Rectangle(x1, y1, x2, y2);
}

bool CPaintDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return Target().RoundRect(x1, y1, x2, y2, x3, y3);
}

bool CPaintDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                      std::uint32_t dwRop)
{
    return Target().BitBlt(x, y, nWidth, nHeight, pSrcDC, xSrc, ySrc, dwRop);
}

int CPaintDC::SetDIBitsToDevice(int xDest, int yDest, unsigned nWidth, unsigned nHeight, int xSrc,
                                int ySrc, unsigned nStartScan, unsigned nNumScans,
                                const void* pBits, const BITMAPINFO* pInfo, unsigned nColorUse)
{
    return Target().SetDIBitsToDevice(xDest, yDest, nWidth, nHeight, xSrc, ySrc, nStartScan,
                                      nNumScans, pBits, pInfo, nColorUse);
}

int CPaintDC::StretchDIBits(int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc,
                            int ySrc, int nSrcWidth, int nSrcHeight, const void* pBits,
                            const BITMAPINFO* pInfo, unsigned nColorUse, std::uint32_t dwRop)
{
    return Target().StretchDIBits(xDest, yDest, nDestWidth, nDestHeight, xSrc, ySrc, nSrcWidth,
                                  nSrcHeight, pBits, pInfo, nColorUse, dwRop);
}

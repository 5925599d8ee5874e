// The drawing objects and device contexts of windows: pens, brushes and
// fonts; CClientDC and CPaintDC of a window; and RecordingDC, a context
// with fixed metrics that records every drawing call with its arguments
// (tests, and the headless printer).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/afx/gdi.h"
#include "platform/ui/core/glsurface.h"
#include "platform/ui/core/uitypes.h"

class CWnd;

// The drawing calls of CDC that a context of its own overrides all
// together (a paint's context, the recording one, a painter's), declared
// inside its class; each context declares GetCurrentFont as it keeps it.
#define AFX_DC_DRAWING_OVERRIDES()                                                                 \
    int GetDeviceCaps(int nIndex) const override;                                                  \
    CGdiObject* SelectGdiObject(CGdiObject* pObject) override;                                     \
    unsigned long SetTextColor(unsigned long crColor) override;                                    \
    unsigned long SetBkColor(unsigned long crColor) override;                                      \
    int SetBkMode(int nBkMode) override;                                                           \
    bool TextOut(int x, int y, const char* lpszString, int nCount) override;                       \
    void GetTextExtent(const char* lpszString, int nCount, long& cx, long& cy) const override;     \
    bool GetTextMetrics(TEXTMETRIC* ptm) const override;                                           \
    void MoveTo(int x, int y) override;                                                            \
    bool LineTo(int x, int y) override;                                                            \
    bool Rectangle(int x1, int y1, int x2, int y2) override;                                       \
    bool RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;                       \
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,            \
                std::uint32_t dwRop) override;                                                     \
    int SetDIBitsToDevice(int xDest, int yDest, unsigned nWidth, unsigned nHeight, int xSrc,       \
                          int ySrc, unsigned nStartScan, unsigned nNumScans, const void* pBits,    \
                          const BITMAPINFO* pInfo, unsigned nColorUse) override;                   \
    int StretchDIBits(int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc,   \
                      int nSrcWidth, int nSrcHeight, const void* pBits, const BITMAPINFO* pInfo,   \
                      unsigned nColorUse, std::uint32_t dwRop) override;

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_color = 0;
};

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor);
    COLORREF m_color = 0;
};

class CFont : public CGdiObject
{
public:
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    int GetLogFont(LOGFONT* pLogFont) const;
    LOGFONT m_logFont{};
};

// The client area of a window (drawing outside a paint). It carries the
// OpenGL surface the window's host attached, if any.
class CClientDC : public CDC, public IGLSurfaceDC
{
public:
    explicit CClientDC(CWnd* pWnd) : m_pWnd(pWnd) {}
    IGLSurface* GetGLSurface() const override;
    CWnd* m_pWnd; // not owned
};

// The context of a window's WM_PAINT. Its drawing goes to the context the
// backend attached to the window for the paint it is running (a painter on
// the window's widget); without one, as headless, it draws nothing.
class CPaintDC : public CClientDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    using CDC::TextOut;

    CGdiObject* GetCurrentFont() const override;
    AFX_DC_DRAWING_OVERRIDES()

private:
    CDC& Target() const { return m_pTarget ? *m_pTarget : m_none; }
    CDC* m_pTarget; // the backend's context of this paint (not owned), or null
    mutable CDC m_none;
};

// The context a window's paint draws into while the backend runs its
// WM_PAINT: the backend attaches it before it sends the message and
// attaches null after. A CPaintDC made meanwhile forwards to it.
void AfxAttachPaintDC(HWND hWnd, CDC* pDC);
CDC* AfxGetPaintDC(HWND hWnd);

// Fixed metrics: every character 6 x 13 pixels (ascent 10); device caps as
// set, a 800 x 600 screen of 96 dots per inch by default. Each drawing call
// is recorded as one line: its name and arguments separated by blanks,
// texts in quotes, colours as 0xBBGGRR, selected objects as "pen <style>
// <width> <colour>", "brush <colour>", "font <height> <weight> '<face>'" or
// "bitmap <width> <height>".
class RecordingDC : public CDC
{
public:
    RecordingDC();
    using CDC::TextOut;

    void SetDeviceCaps(int nIndex, int nValue) { m_caps[nIndex] = nValue; }
    CGdiObject* GetCurrentFont() const override { return m_selected[2]; }
    AFX_DC_DRAWING_OVERRIDES()

    const std::vector<std::string>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }

private:
    void Record(const std::string& line) { m_calls.push_back(line); }
    std::map<int, int> m_caps;
    std::vector<std::string> m_calls;
    CGdiObject* m_selected[4] = {}; // pen, brush, font, bitmap (not owned)
};

// A text's size on a context, as CSize.
CSize AfxGetTextExtent(const CDC& dc, const CString& text);

// Plain types of the window layer: message words, window handles, points,
// sizes, rectangles, colours and the logical font record.
#pragma once

#include <vector>

#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/afx/types.h"

// Message words. A pointer fits into each, as the messages that carry one need.
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t INT_PTR;

// A window handle: it names a window for as long as the window exists and is
// never given to another window, so a posted message can name its window
// safely (the window may be gone when the message is delivered).
struct AfxWindowHandleTag;
typedef AfxWindowHandleTag* HWND;

constexpr WORD LOWORD(std::uintptr_t l)
{
    return static_cast<WORD>(l & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t l)
{
    return static_cast<WORD>((l >> 16) & 0xFFFF);
}
constexpr DWORD MAKELONG(WORD lo, WORD hi)
{
    return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi)
{
    return MAKELONG(lo, hi);
}
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi)
{
    return static_cast<LPARAM>(MAKELONG(lo, hi));
}
// Signed coordinates packed into the low and high words of an lParam.
constexpr int GET_X_LPARAM(LPARAM l)
{
    return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(l)));
}
constexpr int GET_Y_LPARAM(LPARAM l)
{
    return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(l)));
}

// Colours: 0x00BBGGRR.
typedef DWORD COLORREF;
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c)
{
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

struct POINT {
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef const RECT* LPCRECT;
typedef RECT* LPRECT;

class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
    CSize(SIZE s) : SIZE(s) {}
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    CSize operator+(CSize o) const { return CSize(cx + o.cx, cy + o.cy); }
    CSize operator-(CSize o) const { return CSize(cx - o.cx, cy - o.cy); }
};

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x_, int y_) : POINT{x_, y_} {}
    CPoint(POINT p) : POINT(p) {}
    // The point packed as an lParam (signed 16-bit words).
    explicit CPoint(LPARAM l) : POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)} {}
    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    CPoint operator+(CSize s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(CSize s) const { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(CPoint p) const { return CSize(x - p.x, y - p.y); }
    CPoint& operator+=(CSize s)
    {
        Offset(s.cx, s.cy);
        return *this;
    }
};

class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(CPoint topLeft, CSize size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}
    {
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    // Left and top inside, right and bottom outside.
    BOOL PtInRect(POINT p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void InflateRect(int dx, int dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void NormalizeRect()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    bool operator==(const CRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    operator LPCRECT() const { return this; }
    operator LPRECT() { return this; }
};

// A logical font: height in pixels (negative: character height without the
// internal leading), weight 100-900 (400 normal, 700 bold), face name.
constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE GREEK_CHARSET = 161;
// Font family of LOGFONT::lfPitchAndFamily: fixed-pitch faces.
constexpr BYTE FF_MODERN = 0x30;

struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    TCHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONT* LPLOGFONT;

inline bool operator==(const LOGFONT& a, const LOGFONT& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight &&
           a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
           a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

// Header of a control notification (WM_NOTIFY).
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
typedef NMHDR* LPNMHDR;

// What WM_CREATE carries in its lParam.
struct CREATESTRUCT {
    LPVOID lpCreateParams;
    HWND hwndParent;
    UINT_PTR nID;
    int cy;
    int cx;
    int y;
    int x;
    DWORD style;
    LPCTSTR lpszName;
    LPCTSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

// POSITION walks over a vector (views of a document, documents of a
// template ...): a position is the index of the next element plus one, null
// when none is left.
template <class T> POSITION AfxFirstPosition(const std::vector<T>& items)
{
    return items.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t{1});
}
template <class T> T AfxNextAt(const std::vector<T>& items, POSITION& rPos)
{
    const std::size_t index = reinterpret_cast<std::uintptr_t>(rPos) - 1;
    if (!rPos || index >= items.size()) {
        rPos = nullptr;
        return T();
    }
    rPos = index + 1 < items.size() ? reinterpret_cast<POSITION>(index + 2) : nullptr;
    return items[index];
}

// Short forms for Pavesta's template tables: the styles its controls use
// and one control row with the visible style by default.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/core/afxui.h"

namespace pavesta
{

constexpr DWORD kEditStyle = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kNumberStyle = kEditStyle | ES_NUMBER;
// The first control of a radio group (or of the controls after one).
constexpr DWORD kGroupStyle = WS_VISIBLE | WS_GROUP | WS_TABSTOP;
constexpr DWORD kButtonStyle = WS_VISIBLE | WS_TABSTOP;

inline DialogControl Ctl(int nID, AfxCtl kind, LPCTSTR text, const CRect& rect,
                         DWORD style = WS_VISIBLE)
{
    return AfxDialogControl(nID, kind, text, rect, style);
}

// A static text (IDC_STATIC).
inline DialogControl Label(LPCTSTR text, const CRect& rect)
{
    return Ctl(IDC_STATIC, AfxCtl::staticText, text, rect);
}

// A picture control showing bitmap nBitmap.
inline DialogControl Picture(int nID, UINT nBitmap, const CRect& rect, DWORD dwStyle = WS_VISIBLE)
{
    DialogControl c = AfxDialogControl(nID, AfxCtl::picture, "", rect, dwStyle);
    c.nBitmapID = nBitmap;
    return c;
}

// A bitmap resource drawn from SVG text.
inline AfxBitmapResource SvgBitmap(const std::string& svg)
{
    return AfxBitmapResource{std::vector<unsigned char>(svg.begin(), svg.end()), "svg"};
}

} // namespace pavesta

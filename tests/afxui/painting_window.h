// A window that paints itself in OnPaint, as a page drawing a picture does:
// a filled and outlined rectangle, a line, a text and a memory picture
// copied with BitBlt. Both backends' paint tests use it (one file of a
// test program includes it: it defines the message map).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/core/afxui.h"

namespace afxui_test
{

class CPaintingWnd : public CWnd
{
public:
    CPaintingWnd()
    {
        // A 20 x 10 memory picture: green with a blue bar at its top.
        m_picture.CreatePicture(20, 10);
        CPen none(PS_NULL, 0, 0);
        CBrush green(RGB(0, 160, 0)), blue(RGB(0, 0, 255));
        m_picture.SelectObject(&none);
        m_picture.SelectObject(&green);
        m_picture.Rectangle(0, 0, 20, 10);
        m_picture.SelectObject(&blue);
        m_picture.Rectangle(0, 0, 20, 3);
    }

    // The same drawing as OnPaint's, onto any context.
    void Draw(CDC& dc)
    {
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush yellow(RGB(255, 255, 0));
        CPen* oldPen = dc.SelectObject(&red);
        CBrush* oldBrush = dc.SelectObject(&yellow);
        dc.Rectangle(10, 10, 40, 30);
        dc.MoveTo(50, 12);
        dc.LineTo(90, 12);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        dc.BitBlt(60, 20, 20, 10, &m_picture, 0, 0, SRCCOPY);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(0, 0, 128));
        dc.TextOut(10, 40, "Paint");
    }

    int m_nPaints = 0;            // OnPaint calls
    int m_nPaintsWithContext = 0; // ... with a backend's paint context attached
    std::vector<std::string> m_clicks;

protected:
    void OnPaint()
    {
        ++m_nPaints;
        if (AfxGetPaintDC(GetSafeHwnd()))
            ++m_nPaintsWithContext;
        CPaintDC dc(this);
        Draw(dc);
    }
    void OnLButtonDown(UINT nFlags, CPoint point)
    {
        m_clicks.push_back("down " + std::to_string(nFlags) + " " + std::to_string(point.x) +
                           "," + std::to_string(point.y));
    }

    DECLARE_MESSAGE_MAP()

private:
    CImageDC m_picture;
};

BEGIN_MESSAGE_MAP(CPaintingWnd, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

} // namespace afxui_test

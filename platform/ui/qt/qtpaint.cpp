#include "platform/ui/qt/qtpaint.h"

#include <cstdint>
#include <vector>

#include <QWidget>

#include "platform/ui/core/wnd.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtprint.h"
#include "platform/ui/qt/qtservices.h"

void AfxQtPaintWindow(HWND hWnd, QWidget& widget)
{
    CQtPainterDC dc(&widget, false);
    AfxAttachPaintDC(hWnd, &dc);
    AfxQtEntry([hWnd] {
        if (CWnd* wnd = CWnd::FromHandle(hWnd))
            wnd->SendMessage(WM_PAINT);
    });
    AfxAttachPaintDC(hWnd, nullptr);
}

QImage AfxQtImageFromBitmap(const CBitmap& bitmap)
{
    if (!bitmap.IsValid() || bitmap.BitsPerPixel() < 16)
        return QImage();
    BITMAPINFO info{};
    info.bmiHeader.biBitCount = 24;
    const int height = bitmap.Height();
    std::vector<std::uint8_t> bits(DibStride(static_cast<std::size_t>(bitmap.Width()), 24) *
                                   static_cast<std::size_t>(height));
    if (bitmap.GetDIBits(nullptr, 0, static_cast<unsigned>(height), bits.data(), &info,
                         DIB_RGB_COLORS) != height)
        return QImage();
    return AfxQtImageFromDib(info.bmiHeader, bits.data(), bits.size());
}

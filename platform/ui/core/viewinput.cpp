#include "platform/ui/core/viewinput.h"

#include <utility>

#include "platform/ui/core/constants.h"

namespace {

// The button message of a press, release or double click; 0 without a
// button.
UINT ButtonMessage(AfxViewEventKind kind, AfxMouseButton button)
{
    UINT first = 0; // the button's WM_xBUTTONDOWN; up and double click follow it
    switch (button) {
    case AfxMouseButton::left:
        first = WM_LBUTTONDOWN;
        break;
    case AfxMouseButton::right:
        first = WM_RBUTTONDOWN;
        break;
    case AfxMouseButton::middle:
        first = WM_MBUTTONDOWN;
        break;
    case AfxMouseButton::none:
        return 0;
    }
    switch (kind) {
    case AfxViewEventKind::press:
        return first;
    case AfxViewEventKind::release:
        return first + 1;
    case AfxViewEventKind::doubleClick:
        return first + 2;
    default:
        return 0;
    }
}

AfxKeyStateReader& KeyStateReader()
{
    static AfxKeyStateReader reader;
    return reader;
}

LPARAM PointParam(CPoint point)
{
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

} // namespace

bool AfxDispatchViewEvent(CWnd& view, const AfxViewEvent& event)
{
    if (view.GetSafeHwnd() == nullptr)
        return false;
    switch (event.kind) {
    case AfxViewEventKind::press:
    case AfxViewEventKind::release:
    case AfxViewEventKind::doubleClick: {
        const UINT message = ButtonMessage(event.kind, event.button);
        if (message == 0)
            return false;
        view.SendMessage(message, event.nFlags, PointParam(event.point));
        return true;
    }
    case AfxViewEventKind::move:
        view.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(view.GetSafeHwnd()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        view.SendMessage(WM_MOUSEMOVE, event.nFlags, PointParam(event.point));
        return true;
    case AfxViewEventKind::wheel:
        view.SendMessage(WM_MOUSEWHEEL,
                         MAKEWPARAM(static_cast<WORD>(event.nFlags), static_cast<WORD>(event.zDelta)),
                         PointParam(event.point));
        return true;
    case AfxViewEventKind::keyDown:
    case AfxViewEventKind::keyUp:
        view.SendMessage(event.kind == AfxViewEventKind::keyDown ? WM_KEYDOWN : WM_KEYUP, event.nChar,
                         MAKELPARAM(static_cast<WORD>(event.nRepCnt), static_cast<WORD>(event.nKeyFlags)));
        return true;
    case AfxViewEventKind::size:
        view.SendMessage(WM_SIZE, SIZE_RESTORED,
                         MAKELPARAM(static_cast<WORD>(event.size.cx), static_cast<WORD>(event.size.cy)));
        return true;
    }
    return false;
}

AfxKeyStateReader AfxSetKeyStateReader(AfxKeyStateReader reader)
{
    return std::exchange(KeyStateReader(), std::move(reader));
}

std::int16_t GetKeyState(int nVirtKey)
{
    UINT mask = 0;
    if (nVirtKey == static_cast<int>(VK_SHIFT))
        mask = MK_SHIFT;
    else if (nVirtKey == static_cast<int>(VK_CONTROL))
        mask = MK_CONTROL;
    if (mask == 0 || !KeyStateReader())
        return 0;
    return (KeyStateReader()() & mask) != 0 ? static_cast<std::int16_t>(-32768) : 0;
}

// Mouse, key and size input of a view, as a backend reports it, and the one
// translation into the window messages a view's handlers take. The Qt host
// and the test driver both feed AfxDispatchViewEvent, so a view sees the
// same calls in the same order from either:
// - a press, release or double click of the left, right or middle button:
//   WM_xBUTTONDOWN, WM_xBUTTONUP, WM_xBUTTONDBLCLK with nFlags and the point;
//   a double click arrives as press, release, double click, release;
// - a move: WM_SETCURSOR (the view, HTCLIENT, WM_MOUSEMOVE), then
//   WM_MOUSEMOVE;
// - a wheel turn: WM_MOUSEWHEEL with nFlags, zDelta (120 a notch) and the
//   point in screen coordinates;
// - a key: WM_KEYDOWN or WM_KEYUP with its virtual-key code (Delete 46),
//   repeat count and flags;
// - a resize: WM_SIZE with SIZE_RESTORED and the new client size.
// Points and sizes are device pixels; nFlags holds MK_LBUTTON, MK_RBUTTON,
// MK_SHIFT, MK_CONTROL and MK_MBUTTON as they are after the event.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/ui/core/wnd.h"

enum class AfxViewEventKind {
    press,
    release,
    doubleClick,
    move,
    wheel,
    keyDown,
    keyUp,
    size,
};

enum class AfxMouseButton {
    none,
    left,
    right,
    middle,
};

struct AfxViewEvent {
    AfxViewEventKind kind = AfxViewEventKind::move;
    AfxMouseButton button = AfxMouseButton::none; // presses, releases, double clicks
    CPoint point;                                 // mouse events (screen point for the wheel)
    UINT nFlags = 0;                              // MK_* after the event
    short zDelta = 0;                             // wheel
    UINT nChar = 0;                               // keys: the virtual-key code
    UINT nRepCnt = 1;                             // keys
    UINT nKeyFlags = 0;                           // keys
    CSize size;                                   // resizes
};

// Sends the messages of one event to the view (see above). False when the
// event names no button where it needs one, or the view has no window.
bool AfxDispatchViewEvent(CWnd& view, const AfxViewEvent& event);

// The modifier keys held now, as MK_SHIFT | MK_CONTROL. The window backend
// installs its reader; without one no key is held. Returns the reader it
// replaces.
using AfxKeyStateReader = std::function<UINT()>;
AfxKeyStateReader AfxSetKeyStateReader(AfxKeyStateReader reader);
// The state of VK_SHIFT or VK_CONTROL: negative (high bit set) while the
// key is down, else 0; 0 for every other key.
std::int16_t GetKeyState(int nVirtKey);
// Gives up the mouse capture (see CWnd::SetCapture): nothing to do.
inline BOOL ReleaseCapture()
{
    return TRUE;
}

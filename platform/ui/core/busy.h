// Busy mode: while a BusyScope lives, the program runs a long computation on
// the window thread. The wait cursor shows, OpenGL views keep their last
// frame instead of drawing, and the backend's input filter lets through only
// painting, resizing, moving, the layer's timers, modal windows opened
// during the run, and input aimed at Stop (the command AFX_ID_BUSY_STOP on a
// button or menu item, and Esc). A close request gets a beep. Progress
// points (afx::ProgressPoint) pump the backend's events at most every
// 100 ms. Scopes nest: the outermost one turns the mode on and off.
#pragma once

#include "platform/afx/types.h"
#include "platform/ui/core/uitypes.h"

// The command that stays reachable while busy: Stop.
constexpr UINT AFX_ID_BUSY_STOP = 50072;

// What a backend does when the program enters and leaves busy mode (its
// input filter), installed with AfxSetBusyBackend.
class CBusyBackend
{
public:
    virtual ~CBusyBackend() = default;
    virtual void EnterBusy() {}
    virtual void LeaveBusy() {}
};

// Installs the backend's busy side and returns the previous one (null:
// none, busy mode then only shows the wait cursor and freezes views).
CBusyBackend* AfxSetBusyBackend(CBusyBackend* pBackend);

// True while a BusyScope lives.
bool AfxIsBusy();

// Sends Stop to the main window, as the backend does for Esc while busy.
void AfxBusyStop();

// The question a close request gets while busy.
inline constexpr const char* kAfxBusyCloseQuestion =
    "A calculation is running.\nDo you want to stop it and close the window?";

// A close request for a frame window while busy (the user's close button,
// Alt+F4, the document's close): the question above; Yes sends Stop, and
// the window gets its WM_CLOSE again once busy mode has ended, when it is
// still there. No leaves everything as it was. Returns true when the
// request was taken (always while busy).
bool AfxBusyCloseRequest(HWND hWnd);

class BusyScope
{
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

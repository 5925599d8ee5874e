#include "platform/ui/core/busy.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/afx/progress.h"
#include "platform/ui/core/constants.h"
#include "platform/ui/core/services.h"
#include "platform/ui/core/wnd.h"

namespace
{
CBusyBackend* g_busyBackend = nullptr;
int g_busyDepth = 0;
std::vector<HWND> g_closeAfterBusy; // windows whose close waits for the run's end
} // namespace

CBusyBackend* AfxSetBusyBackend(CBusyBackend* pBackend)
{
    CBusyBackend* previous = g_busyBackend;
    g_busyBackend = pBackend;
    return previous;
}

bool AfxIsBusy()
{
    return g_busyDepth > 0;
}

void AfxBusyStop()
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, AFX_ID_BUSY_STOP);
}

bool AfxBusyCloseRequest(HWND hWnd)
{
    if (AfxMessageBox(kAfxBusyCloseQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return true;
    // The run may have ended while the question was up.
    if (!AfxIsBusy()) {
        if (CWnd* wnd = CWnd::FromHandle(hWnd))
            wnd->PostMessage(WM_CLOSE);
        return true;
    }
    if (std::find(g_closeAfterBusy.begin(), g_closeAfterBusy.end(), hWnd) == g_closeAfterBusy.end())
        g_closeAfterBusy.push_back(hWnd);
    AfxBusyStop();
    return true;
}

BusyScope::BusyScope()
{
    if (g_busyDepth++ == 0) {
        AfxBeginWaitCursor();
        if (g_busyBackend)
            g_busyBackend->EnterBusy();
    }
    afx::BeginProgressBusy();
}

BusyScope::~BusyScope()
{
    afx::EndProgressBusy();
    if (--g_busyDepth == 0) {
        if (g_busyBackend)
            g_busyBackend->LeaveBusy();
        AfxEndWaitCursor();
        // The closes asked for during the run come after its last steps.
        for (HWND hWnd : std::exchange(g_closeAfterBusy, {}))
            if (CWnd* wnd = CWnd::FromHandle(hWnd))
                wnd->PostMessage(WM_CLOSE);
    }
}

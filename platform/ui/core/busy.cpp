#include "platform/ui/core/busy.h"

#include "platform/afx/progress.h"
#include "platform/ui/core/constants.h"
#include "platform/ui/core/services.h"
#include "platform/ui/core/wnd.h"

namespace
{
CBusyBackend* g_busyBackend = nullptr;
int g_busyDepth = 0;
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
    }
}

// The headless backend: a manual clock and no event loop of its own. Tests
// run the loop by hand: PumpPosted() for one pass, FireTimers(ms) to let
// time pass first. Nothing ever sleeps.
#pragma once

#include "platform/ui/core/wnd.h"

namespace afxui::headless
{

class HeadlessBackend : public CWndBackend
{
public:
    LPCTSTR GetName() const override { return "headless"; }
    ULONGLONG GetTickCount() override { return m_now; }
    void WakeUp() override {}

    // Moves the clock on by ms.
    void Advance(ULONGLONG ms) { m_now += ms; }

private:
    ULONGLONG m_now = 0;
};

} // namespace afxui::headless

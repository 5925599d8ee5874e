// The headless backend: headless peers, fixed font metrics, a manual clock
// and no event loop of its own. Tests
// run the loop by hand: PumpPosted() for one pass, FireTimers(ms) to let
// time pass first. Nothing ever sleeps.
#pragma once

#include <memory>

#include "platform/ui/headless/headless_peer.h"

namespace afxui::headless
{

class HeadlessBackend : public CWndBackend
{
public:
    LPCTSTR GetName() const override { return "headless"; }
    ULONGLONG GetTickCount() override { return m_now; }
    void WakeUp() override {}
    std::unique_ptr<CWndPeer> CreatePeer(const CWndState& state) override
    {
        return std::make_unique<HeadlessPeer>(state.hWnd);
    }
    // Fixed metrics, the same on every machine: letters 6 pixels wide on
    // average, 13 pixels high (a dialog unit is 1.5 x 1.625 pixels).
    void GetDialogFontMetrics(int& nLettersWidth, int& nHeight) override
    {
        nLettersWidth = 52 * 6;
        nHeight = 13;
    }

    // There is no loop to run a modal dialog in: a dialog that reaches here
    // had no script step. It fails the test and is cancelled.
    void RunModalLoop(CWnd& dialog, UINT nIDTemplate, const CString& strCaption) override;

    // Moves the clock on by ms.
    void Advance(ULONGLONG ms) { m_now += ms; }

private:
    ULONGLONG m_now = 0;
};

} // namespace afxui::headless

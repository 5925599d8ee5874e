// HeadlessApp is the GoogleTest fixture over the scripted environment
// (scripted_environment.h) with the headless backend: manual clock and
// posted-message pump, no display. Including this header makes every
// failure the scripted services report fail the running test.
#pragma once

#include <gtest/gtest.h>

#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/scripted_environment.h"
#include "platform/ui/headless/scripted_services.h"

namespace afxui::headless
{

namespace detail
{
inline void FailRunningTest(const std::string& message)
{
    ADD_FAILURE() << message;
}
// Installed once per test program, before main.
inline const FailureReporter g_testReporter = SetFailureReporter(&FailRunningTest);
} // namespace detail

class HeadlessApp : public ::testing::Test
{
protected:
    // Subclasses that override TearDown call this one.
    void TearDown() override { m_env.Verify(); }

    // One pass of the message loop: posted messages, then due timers.
    void PumpPosted() { AfxPumpMessages(); }
    // Lets ms milliseconds pass on the manual clock, then runs one pass.
    void FireTimers(ULONGLONG ms)
    {
        m_backend.Advance(ms);
        AfxPumpMessages();
    }

    StrictMessageService& Boxes() { return m_env.Boxes(); }
    ScriptedFileDialogs& FileDialogs() { return m_env.FileDialogs(); }
    ScriptedFontDialogs& FontDialogs() { return m_env.FontDialogs(); }
    ScriptedColorDialogs& ColorDialogs() { return m_env.ColorDialogs(); }
    ScriptedPopupMenus& PopupMenus() { return m_env.PopupMenus(); }
    ScriptedPrintDialogs& PrintDialogs() { return m_env.PrintDialogs(); }
    RecordingClipboard& Clipboard() { return m_env.Clipboard(); }
    RecordingOpener& Opener() { return m_env.Opener(); }
    RecordingBeeper& Beeper() { return m_env.Beeper(); }
    RecordingCursor& Cursor() { return m_env.Cursor(); }
    MemoryProfile& Profile() { return m_env.Profile(); }
    HeadlessBackend& Backend() { return m_backend; }

private:
    HeadlessBackend m_backend;
    ScriptedEnvironment m_env{m_backend};
};

} // namespace afxui::headless

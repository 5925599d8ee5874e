// HeadlessApp: the GoogleTest fixture of window-layer tests without a
// display. While a test runs it installs the headless backend (manual
// clock, posted-message pump), the in-memory profile and the scripted
// services, the strict message-box service among them. At the end, scripted
// answers and expected boxes left unused fail the test; then the previous
// backend and services come back.
#pragma once

#include <gtest/gtest.h>

#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/scripted_services.h"

namespace afxui::headless
{

class HeadlessApp : public ::testing::Test
{
protected:
    HeadlessApp();
    ~HeadlessApp() override;
    // Subclasses that override TearDown call this one.
    void TearDown() override;

    // One pass of the message loop: posted messages, then due timers.
    void PumpPosted();
    // Lets ms milliseconds pass on the manual clock, then runs one pass.
    void FireTimers(ULONGLONG ms);

    StrictMessageService& Boxes() { return m_boxes; }
    ScriptedFileDialogs& FileDialogs() { return m_fileDialogs; }
    ScriptedFontDialogs& FontDialogs() { return m_fontDialogs; }
    ScriptedColorDialogs& ColorDialogs() { return m_colorDialogs; }
    ScriptedPopupMenus& PopupMenus() { return m_popupMenus; }
    ScriptedPrintDialogs& PrintDialogs() { return m_printDialogs; }
    RecordingClipboard& Clipboard() { return m_clipboard; }
    RecordingOpener& Opener() { return m_opener; }
    RecordingBeeper& Beeper() { return m_beeper; }
    RecordingCursor& Cursor() { return m_cursor; }
    MemoryProfile& Profile() { return m_profile; }
    HeadlessBackend& Backend() { return m_backend; }

private:
    HeadlessBackend m_backend;
    StrictMessageService m_boxes;
    ScriptedFileDialogs m_fileDialogs;
    ScriptedFontDialogs m_fontDialogs;
    ScriptedColorDialogs m_colorDialogs;
    ScriptedPopupMenus m_popupMenus;
    ScriptedPrintDialogs m_printDialogs;
    RecordingClipboard m_clipboard;
    RecordingOpener m_opener;
    RecordingBeeper m_beeper;
    RecordingCursor m_cursor;
    MemoryProfile m_profile;

    // What was installed before (restored in the destructor).
    CWndBackend* m_pOldBackend;
    CMessageService* m_pOldBoxes;
    CFileDialogService* m_pOldFileDialogs;
    CFontDialogService* m_pOldFontDialogs;
    CColorDialogService* m_pOldColorDialogs;
    CPopupMenuService* m_pOldPopupMenus;
    CPrintService* m_pOldPrintDialogs;
    CClipboardService* m_pOldClipboard;
    COpenerService* m_pOldOpener;
    CBeepService* m_pOldBeeper;
    CCursorService* m_pOldCursor;
    CProfileService* m_pOldProfile;
};

} // namespace afxui::headless

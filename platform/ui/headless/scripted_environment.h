// The scripted environment of the window layer. While it lives it installs
// a backend (the headless one, or later Qt's) with the in-memory profile and
// the scripted services, the strict message-box service among them; Verify
// reports scripted answers and expected boxes left unused (see
// ReportFailure). Then the previous backend and services come back.
#pragma once

#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/scripted_services.h"

namespace afxui::headless
{

class ScriptedEnvironment
{
public:
    explicit ScriptedEnvironment(CWndBackend& backend); // not owned
    ~ScriptedEnvironment();
    ScriptedEnvironment(const ScriptedEnvironment&) = delete;
    ScriptedEnvironment& operator=(const ScriptedEnvironment&) = delete;

    // Unused scripted answers and expected boxes fail the test.
    void Verify();

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

private:
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
    AfxServiceSet m_previous;
};

} // namespace afxui::headless

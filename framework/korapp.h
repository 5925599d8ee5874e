// KorApp: the application base of the framework's programs. It reads the
// user's settings at start-up (profile keys and the binary settings
// archive), writes them back at the end, and loads the view cursors.
// OpenFileInDefApp opens a file in the program the desktop associates with
// it.
#pragma once

#include <string>
#include <vector>

#include "platform/afx/collections.h"
#include "platform/ui/core/afxui.h"

// How InitApp placed the main window: the normal rectangle, hidden, and
// whether the window restores to maximised.
struct KorWindowPlacement {
    UINT flags = 0;   // 2: restores to maximised
    UINT showCmd = 0; // 0: hidden
    CRect rcNormalPosition;
};

// A stored window rectangle moved onto a screen of this size: no larger
// than the screen, its top edge (title and menu bar) on it, and at least
// 100 pixels of its width within it.
CRect KorPlaceOnScreen(const CRect& rect, CSize screen);

class KorApp : public CWinApp
{
    DECLARE_DYNAMIC(KorApp)
public:
    explicit KorApp(LPCTSTR lpszAppName = nullptr) : CWinApp(lpszAppName) {}

    // The folder of the settings archive, ending in "/".
    virtual CString GetSettingsFolder() = 0;
    // Writes the settings to the archive path of the settings folder.
    virtual void CloseApp();
    // Writes the profile keys and the settings archive at path.
    virtual void CloseApp(CString path);
    // The application's part of the settings archive: the unit settings
    // first; a program's override calls this one, then adds its own values.
    virtual void AppSpecificInit(CArchive& ar);
    // Loads (true) or releases (false) the 2D view cursors.
    virtual void LoadCursors(bool load);
    // Reads the profile keys and the settings archive at path; always true.
    virtual bool InitApp(CString path);
    // Reads the settings from the archive path of the settings folder.
    virtual bool InitApp();

    // Makes the document manager and finds the program's folder.
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The settings archive through the globals it holds: the framework's
    // part, the application's (AppSpecificInit) and, when the main window
    // is a KorMainFrm, the frame's. Throws on a short or damaged archive.
    void SerializeSettings(CArchive& ar);
    // The path InitApp() and CloseApp() use.
    CString GetSettingsPath();

    // The folder of the HTML manual, ending in "/" (see KorHelpFolder).
    CString GetHelpFolder() const;

    // A value read from the settings archive outside its range is not
    // taken: the setting keeps the value the program holds (its default at
    // start-up) and its name is noted, once. InitApp(path) empties the notes
    // before reading and then writes one line per reset setting into the
    // main frame's log window ("Log" tab).
    static void NoteSettingReset(const char* name);
    static const std::vector<std::string>& GetSettingResets();
    // The log line of a reset setting.
    static CString SettingResetLine(const std::string& name);

    // The groups of the settings archive in their stored order: the
    // framework's, the application's (AppSettingsGroups) and, when the main
    // window is a KorMainFrm, the frame's. Reading marks each group as it
    // starts (KorSettingsGroup), so that a file that ends early is told in
    // the log with the groups that keep their defaults.
    std::vector<std::string> SettingsGroups() const;
    // Marks the start of a group while reading (nothing while writing).
    static void BeginSettingsGroup(CArchive& ar, const char* name);
    // The log line of a settings file that could not be read to its end:
    // the file and the groups from the one being read on.
    static CString SettingsCutLine(const CString& path, const std::vector<std::string>& groups);

    CString m_strAppDir; // the program's folder, ending in "/"
    KorWindowPlacement m_placement;
    // The child frames' common setting word ("Common Frame Setting").
    static UINT m_uiStChldFrmSett;

protected:
    // The groups of the application's part after the unit settings (none).
    virtual std::vector<std::string> AppSettingsGroups() const { return {}; }

    // Help commands (contents, topics, help, default help; there is no
    // context-help mode): they open the manual's index.html.
    void OnHelpIndex();
    DECLARE_MESSAGE_MAP()

private:
    // Without a usable archive: the frame takes the bar state of profile
    // section "VizBarState" and sets itself up.
    void InitFrameWithoutArchive();
};

// One value of the settings archive: stored as it is; loaded only when
// inRange holds for the value read, else the setting is noted as reset
// (KorApp::NoteSettingReset) and keeps its value.
template <class T, class InRange>
void KorTransferSetting(CArchive& ar, T& value, InRange inRange, const char* name)
{
    if (ar.IsStoring()) {
        ar << value;
        return;
    }
    T read{};
    ar >> read;
    if (inRange(read))
        value = read;
    else
        KorApp::NoteSettingReset(name);
}

// The program's folder for the executable at lpszExePath, ending in "/":
// the executable's folder, or <prefix>/share/brantel/ for an installed
// program (<prefix>/bin/ beside that folder).
CString KorProgramFolder(LPCTSTR lpszExePath);
// The manual's folder for a program folder: <prefix>/share/doc/brantel/
// installed, else the program folder's doc/.
CString KorHelpFolder(const CString& programFolder);

// The folder of the document's file (no final "/"), where its file dialogs
// start; empty for no document or one not saved yet.
CString KorDocumentFolder(const CDocument* pDoc);

// The folders of the colour palettes, each ending in "/": the program's
// own (<program folder>Ext/Palettes/) and the user's
// ($XDG_DATA_HOME, else ~/.local/share, then Vornetic/Ext/Palettes/; empty
// when neither variable is set). Writable is the first of the two the user
// may write into (the user's counts when it can be made); empty when
// neither can be written.
struct KorPaletteFolders {
    CString program;
    CString user;
    CString writable;
};
KorPaletteFolders KorGetPaletteFolders(const CString& programFolder);

// Writes the lines (each ending in "\r\n") into the "Log" tab of the main
// frame's log window (pMainWnd, or the application's main window, when it
// is a KorMainFrm with its log window); to the error output otherwise.
void KorWriteLog(CStringArray& lines, CWnd* pMainWnd = nullptr);

// Opens folder/file with the desktop's program for it. On failure shows
// why and returns false.
bool OpenFileInDefApp(CString folder, CString file);

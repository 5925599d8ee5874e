// CBrantelApp: the program's application. It registers the six document
// templates (plate, constrained plate, membrane, constrained membrane,
// shell, constrained shell), creates the main frame, reads the settings
// archive and processes the command line (a file to open, "/p <file>" to
// print, nothing for File New). The settings archive is
// "$XDG_CONFIG_HOME/Vornetic/<program>.ini" ("~/.config/Vornetic/..." when
// XDG_CONFIG_HOME is unset); after the framework's part it holds four
// int32: the grid type, the mesher's trial-node count, the results view's
// label mode and the node interpolation.
#pragma once

#include "framework/framira.h"

class CBrantelApp : public KorApp
{
public:
    static constexpr int kTemplates = 6;
    // The filter of File Open.
    static const char* const kOpenFilter;

    CBrantelApp();

    BOOL InitInstance() override;
    // Frees what the modelling views keep for the whole process (the copy
    // list, its materials, the temporary nodes).
    int ExitInstance() override;
    // Also keeps the main frame's title on the active document.
    BOOL OnIdle(LONG lCount) override;
    // The Vornetic folder below the configuration folder, ending in "/";
    // empty when neither XDG_CONFIG_HOME nor HOME is set.
    CString GetSettingsFolder() override;
    // Creates the settings folder and writes the archive; without a folder
    // nothing is written and stderr says so.
    void CloseApp() override;
    using KorApp::CloseApp;
    void AppSpecificInit(CArchive& ar) override;
    std::vector<std::string> AppSettingsGroups() const override;
    // Reads the settings from the settings folder, else from the program's
    // folder, else takes the defaults.
    bool InitApp() override;
    using KorApp::InitApp;

    // File New: the document type, the element and mesh, the integration
    // options; then a new document of the template they choose.
    void OnFileNew() override;
    // File Open: a multi-select dialog; every chosen file opens in turn.
    void OnFileOpen() override;

    // The templates in registration order (owned by the document manager).
    CMultiDocTemplate* m_pTemplates[kTemplates] = {};

protected:
    void OnAppAbout();
    DECLARE_MESSAGE_MAP()
};

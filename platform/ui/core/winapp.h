// The application: one CWinApp object per process (tests make one per
// case). It owns the document manager (and so the templates), the recent
// file list and the command line, and is the last target of command
// routing: File New, Open, the recent files and Exit are its commands.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/core/doctemplate.h"
#include "platform/ui/core/resources.h"

// The recent-file list: most recent first, at most nSize entries, kept in a
// profile section as "File1", "File2" ...
class CRecentFileList
{
public:
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize);

    // Puts the path at the top (an entry for the same file moves there).
    void Add(LPCTSTR lpszPathName);
    void Remove(int nIndex);
    int GetSize() const { return static_cast<int>(m_files.size()); }
    int GetMaxSize() const { return m_nSize; }
    const CString& operator[](int nIndex) const
    {
        return m_files[static_cast<std::size_t>(nIndex)];
    }
    void ReadList();
    void WriteList() const;
    // The menu items of the list ("&1 <path>" ...) from command nStart.
    std::vector<AfxMenuEntry> MenuItems() const;

private:
    UINT m_nStart;
    CString m_strSection;
    CString m_strEntryFormat;
    int m_nSize;
    std::vector<CString> m_files;
};

// The command line: a file to open, or "/p <file>" to print it. Other flags
// are ignored.
class CCommandLineInfo
{
public:
    enum { FileNew, FileOpen, FilePrint, FileNothing };
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

    int m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;

private:
    bool m_bPrintNext = false;
};

// The templates and their documents.
class CDocManager
{
public:
    CDocManager() = default;
    ~CDocManager(); // deletes the templates
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    void AddDocTemplate(CDocTemplate* pTemplate); // owned from here on
    const std::vector<CDocTemplate*>& GetTemplates() const { return m_templates; }
    int GetOpenDocumentCount() const;
    // Activates the document showing the file, or opens it with the
    // template of its extension; "Cannot open file %s." when none takes it.
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // A file dialog for Open or Save As; TRUE with the chosen path.
    BOOL DoPromptFileName(CString& fileName, BOOL bOpenFileDialog, DWORD lFlags,
                          CDocTemplate* pTemplate);
    void OnFileNew();
    void OnFileOpen();

private:
    std::vector<CDocTemplate*> m_templates; // owned
};

class CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    // Deletes the templates and the documents left.
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    // Idle work: FALSE when there is nothing more to do.
    virtual BOOL OnIdle(LONG lCount);

    CWnd* m_pMainWnd = nullptr; // not owned (a frame deletes itself)
    LPCTSTR m_pszAppName;
    LPCTSTR m_pszExeName = "brantel";
    LPCTSTR m_pszRegistryKey = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::unique_ptr<CDocManager> m_pDocManager;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;

    void SetRegistryKey(LPCTSTR lpszRegistryKey) { m_pszRegistryKey = lpszRegistryKey; }
    // The recent-file list of nMaxMRU entries, read from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // Shell registration is left to the installed desktop files.
    void EnableShellOpen() {}
    void RegisterShellFileTypes(BOOL = FALSE) {}

    // The program's arguments (argv[1] ...), given by main().
    void SetCommandLine(const std::vector<CString>& args) { m_args = args; }
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Opens or prints the file of the command line; FileNew makes a new
    // document. FALSE when that failed.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    void DoWaitCursor(int nCode); // 1 begin, -1 end, 0 restore

    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

    virtual void OnFileNew();
    virtual void OnFileOpen();
    void OnAppExit();
    void OnOpenRecentFile(UINT nID);

protected:
    void OnUpdateRecentFile(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    std::vector<CString> m_args;
};

// The application object, or null.
CWinApp* AfxGetApp();

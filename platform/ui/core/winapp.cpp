#include "platform/ui/core/winapp.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <sys/stat.h>

#include "platform/afx/message.h"
#include "platform/afx/numconv.h"
#include "platform/ui/core/commdlg.h"
#include "platform/ui/core/frame.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace
{

CWinApp* s_pApp = nullptr;  // the live application (set and reset by CWinApp)
CWnd* s_pMainWnd = nullptr; // the main window without an application (AfxSetMainWnd)

bool FileExists(const CString& path)
{
    struct stat st {
    };
    return ::stat(path.GetString(), &st) == 0;
}

// "-x" or "/x" with letters and digits only: "/p" is a flag, "/tmp/a.plb"
// and "/a.plb" are files.
BOOL IsFlag(const CString& arg)
{
    if (arg.GetLength() < 2 || (arg[0] != '/' && arg[0] != '-'))
        return FALSE;
    if (arg[0] == '-')
        return TRUE;
    for (int i = 1; i < arg.GetLength(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(arg[i])))
            return FALSE;
    return TRUE;
}

} // namespace

CWinApp* AfxGetApp()
{
    return s_pApp;
}

CWnd* AfxGetMainWnd()
{
    return s_pApp ? s_pApp->m_pMainWnd : s_pMainWnd;
}

void AfxSetMainWnd(CWnd* pWnd)
{
    if (s_pApp)
        s_pApp->m_pMainWnd = pWnd;
    else
        s_pMainWnd = pWnd;
}

// ---- CRecentFileList ----------------------------------------------------------------

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat,
                                 int nSize)
    : m_nStart(nStart), m_strSection(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(nSize)
{
}

void CRecentFileList::Add(LPCTSTR lpszPathName)
{
    const CString path = AfxResolvePath(lpszPathName);
    if (path.IsEmpty())
        return;
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    m_files.insert(m_files.begin(), path);
    if (GetSize() > m_nSize)
        m_files.resize(static_cast<std::size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetSize())
        m_files.erase(m_files.begin() + nIndex);
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    for (int i = 0; i < m_nSize; ++i) {
        const CString entry(AfxFormat(m_strEntryFormat.GetString(), i + 1).c_str());
        const CString path = AfxGetProfileString(m_strSection, entry, "");
        if (!path.IsEmpty())
            m_files.push_back(path);
    }
}

void CRecentFileList::WriteList() const
{
    for (int i = 0; i < m_nSize; ++i) {
        const CString entry(AfxFormat(m_strEntryFormat.GetString(), i + 1).c_str());
        AfxWriteProfileString(m_strSection, entry,
                              i < GetSize() ? m_files[static_cast<std::size_t>(i)].GetString()
                                            : "");
    }
}

std::vector<AfxMenuEntry> CRecentFileList::MenuItems() const
{
    std::vector<AfxMenuEntry> items;
    for (int i = 0; i < GetSize(); ++i)
        items.push_back(AfxMenuItem(
            m_nStart + static_cast<UINT>(i),
            CString(AfxFormat("&%d %s", i + 1, m_files[static_cast<std::size_t>(i)].GetString())
                        .c_str())));
    return items;
}

// ---- CCommandLineInfo ---------------------------------------------------------------

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        const CString flag(pszParam);
        if (flag.CompareNoCase("p") == 0)
            m_bPrintNext = true;
        return; // other flags are ignored
    }
    if (!m_strFileName.IsEmpty())
        return; // one file only
    m_strFileName = pszParam;
    m_nShellCommand = m_bPrintNext ? FilePrint : FileOpen;
}

// ---- CDocManager --------------------------------------------------------------------

CDocManager::~CDocManager()
{
    for (CDocTemplate* tmpl : m_templates)
        delete tmpl;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.push_back(pTemplate);
}

int CDocManager::GetOpenDocumentCount() const
{
    int n = 0;
    for (const CDocTemplate* tmpl : m_templates)
        n += static_cast<int>(tmpl->GetDocuments().size());
    return n;
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName)
{
    CDocTemplate* best = nullptr;
    for (CDocTemplate* tmpl : m_templates) {
        CDocument* open = nullptr;
        const CDocTemplate::Confidence match = tmpl->MatchDocType(lpszFileName, open);
        if (match == CDocTemplate::yesAlreadyOpen) {
            // The file is open already: its first frame comes to the front.
            for (CView* view : open->GetViews())
                if (CFrameWnd* frame = view->GetParentFrame()) {
                    frame->ActivateFrame();
                    break;
                }
            return open;
        }
        if (match == CDocTemplate::yesAttemptNative && !best)
            best = tmpl;
    }
    if (!best) {
        CString format;
        AfxLoadString(AFX_IDP_FAILED_TO_OPEN_DOC, format);
        AfxMessageBox(CString(AfxFormat(format.GetString(), lpszFileName).c_str()),
                      MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    return best->OpenDocumentFile(lpszFileName);
}

BOOL CDocManager::SaveAllModified()
{
    for (CDocTemplate* tmpl : m_templates)
        if (!tmpl->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* tmpl : m_templates)
        tmpl->CloseAllDocuments(bEndSession);
}

BOOL CDocManager::DoPromptFileName(CString& fileName, BOOL bOpenFileDialog, DWORD lFlags,
                                   CDocTemplate* pTemplate)
{
    CString filter, defExt;
    const auto add = [&](const CDocTemplate* tmpl) {
        filter += tmpl->GetFilter();
        CString ext;
        if (defExt.IsEmpty() && tmpl->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty())
            defExt = ext.Mid(1);
    };
    if (pTemplate)
        add(pTemplate);
    else
        for (const CDocTemplate* tmpl : m_templates)
            add(tmpl);
    filter += "All files (*)|*||";
    CFileDialog dlg(bOpenFileDialog, defExt.IsEmpty() ? nullptr : defExt.GetString(),
                    fileName.IsEmpty() ? nullptr : fileName.GetString(), lFlags, filter);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

void CDocManager::OnFileNew()
{
    if (m_templates.empty())
        throw std::logic_error("File New needs a document template");
    m_templates.front()->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen()
{
    CString fileName;
    if (DoPromptFileName(fileName, TRUE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, nullptr))
        if (CWinApp* app = AfxGetApp())
            app->OpenDocumentFile(fileName);
}

// ---- CWinApp ------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnUpdateRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName ? lpszAppName : "Brantel")
{
    if (s_pApp)
        throw std::logic_error("only one application object may exist at a time");
    s_pApp = this;
    m_pDocManager = std::make_unique<CDocManager>();
}

CWinApp::~CWinApp()
{
    m_pDocManager.reset(); // templates, and the documents still open
    s_pApp = nullptr;
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    return 0;
}

BOOL CWinApp::OnIdle(LONG)
{
    // Idle: the frame's message pane returns to "Ready".
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->ShowCommandPrompt(0);
    return FALSE;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "Recent File List",
                                                          "File%d", static_cast<int>(nMaxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return AfxFirstPosition(m_pDocManager->GetTemplates());
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    return AfxNextAt(m_pDocManager->GetTemplates(), pos);
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    return m_pDocManager->OpenDocumentFile(lpszFileName);
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (m_pRecentFileList) {
        m_pRecentFileList->Add(lpszPathName);
        m_pRecentFileList->WriteList();
    }
}

BOOL CWinApp::SaveAllModified()
{
    return m_pDocManager->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    m_pDocManager->CloseAllDocuments(bEndSession);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        const CString& arg = m_args[i];
        const BOOL flag = IsFlag(arg);
        rCmdInfo.ParseParam(flag ? arg.Mid(1).GetString() : arg.GetString(), flag,
                            i + 1 == m_args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return TRUE;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint: {
        CDocument* doc = OpenDocumentFile(rCmdInfo.m_strFileName);
        if (!doc)
            return FALSE;
        if (!doc->GetViews().empty())
            doc->GetViews().front()->PrintDocument();
        return TRUE;
    }
    default:
        return TRUE;
    }
}

void CWinApp::DoWaitCursor(int nCode)
{
    if (nCode > 0)
        AfxBeginWaitCursor();
    else if (nCode < 0)
        AfxEndWaitCursor();
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    return AfxGetProfileInt(lpszSection, lpszEntry, nDefault);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    return AfxGetProfileString(lpszSection, lpszEntry, lpszDefault);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    return AfxWriteProfileInt(lpszSection, lpszEntry, nValue);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    return AfxWriteProfileString(lpszSection, lpszEntry, lpszValue);
}

void CWinApp::OnFileNew()
{
    m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    m_pDocManager->OnFileOpen();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList)
        return;
    const int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetSize())
        return;
    const CString path = (*m_pRecentFileList)[index];
    // A file that has gone is reported by the open and leaves the list.
    if (!FileExists(path) || !OpenDocumentFile(path)) {
        if (!FileExists(path)) {
            CString format;
            AfxLoadString(AFX_IDP_FAILED_TO_OPEN_DOC, format);
            AfxMessageBox(CString(AfxFormat(format.GetString(), path.GetString()).c_str()),
                          MB_OK | MB_ICONEXCLAMATION);
        }
        m_pRecentFileList->Remove(index);
        m_pRecentFileList->WriteList();
    }
}

void CWinApp::OnUpdateRecentFile(CCmdUI* pCmdUI)
{
    const int index = static_cast<int>(pCmdUI->m_nID - ID_FILE_MRU_FILE1);
    pCmdUI->Enable(m_pRecentFileList && index >= 0 && index < m_pRecentFileList->GetSize());
}

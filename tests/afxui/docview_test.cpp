// The application, its templates, documents, views and frames: creating,
// opening, saving, closing and exiting, the recent files, the command line,
// the menu swap and the view switch.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/afx/numconv.h"
#include "platform/afx/safefile.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"

using afxui::headless::HeadlessApp;

namespace
{

constexpr UINT kMainMenu = 128;
constexpr UINT kPlate = 129, kPlateC = 130, kMembrane = 132, kMembraneC = 133, kShell = 134,
               kShellC = 135;

const char* const kTemplateStrings[] = {
    "\nPlate\nFEM\nPlate bending File (*.plb)\n.plb\nBrantel.Document\nBrantel Document",
    ("\nPlate\nBrantel\nConstrained mesh plate bending File "
     "(*.pbc)\n.pbc\nBrantel.Document\nBrantel "
     "Document"),
    "\nMembrane\nFEM\nMembrane File (*.mem)\n.mem\nBrantel.Document\nBrantel Document",
    ("\nMembrane\nFEM\nConstrained mesh membrane file (*.plc)\n.plc\nBrantel.Document\nBrantel "
     "Document"),
    "\nShell\nFEM\nShell analysis File (*.shl)\n.shl\nBrantel.Document\nBrantel Document",
    "\nShell\nFEM\nShell analysis File (*.csh)\n.chl\nBrantel.Document\nBrantel Document",
};
const UINT kTemplateIds[] = {kPlate, kPlateC, kMembrane, kMembraneC, kShell, kShellC};

AfxMenu FileMenu(LPCTSTR title)
{
    return {
        AfxMenuPopup(title, {AfxMenuItem(ID_FILE_NEW, "&New"), AfxMenuItem(ID_FILE_OPEN, "&Open"),
                             AfxMenuItem(ID_FILE_SAVE, "&Save"), AfxMenuSeparator(),
                             AfxMenuItem(ID_FILE_MRU_FILE1, "Recent File"), AfxMenuSeparator(),
                             AfxMenuItem(ID_APP_EXIT, "E&xit")})};
}

// The program's resources, registered while a test runs.
void AddResources(CResourceModule& m)
{
    m.AddStrings({{kMainMenu, "Brantel"}});
    for (int i = 0; i < 6; ++i) {
        m.AddStrings({{kTemplateIds[i], kTemplateStrings[i]}});
        m.Add(kTemplateIds[i], FileMenu(CString(AfxFormat("&File %u", kTemplateIds[i]).c_str())));
    }
    m.Add(kMainMenu, FileMenu("&File"));
}

std::vector<std::string>* g_log = nullptr; // the running test's event log (set by the fixture)

void Log(const std::string& line)
{
    if (g_log)
        g_log->push_back(line);
}

// A document of one text: a magic number and the text.
class CTextDoc : public CDocument
{
    DECLARE_DYNCREATE(CTextDoc)
public:
    CTextDoc() { Log("doc created"); }
    ~CTextDoc() override { Log("doc deleted"); }
    CString m_text;
    void Serialize(CArchive& ar) override
    {
        DWORD magic = 0x42524E54;
        if (ar.IsStoring()) {
            ar << magic << m_text;
        } else {
            ar >> magic;
            if (magic != 0x42524E54)
                AfxThrowArchiveException(CArchiveException::badSchema);
            ar >> m_text;
        }
    }
    BOOL OnNewDocument() override
    {
        Log("new document");
        return CDocument::OnNewDocument();
    }
    BOOL OnOpenDocument(LPCTSTR path) override
    {
        Log("open document");
        return CDocument::OnOpenDocument(path);
    }
    BOOL DoSave(LPCTSTR path, BOOL bReplace) override
    {
        Log("DoSave");
        return CDocument::DoSave(path, bReplace);
    }
};
IMPLEMENT_DYNCREATE(CTextDoc, CDocument)

class CTextView : public CView
{
    DECLARE_DYNCREATE(CTextView)
public:
    CTextView() = default;
    ~CTextView() override { Log("view deleted"); }
    std::string name = "view";
    void OnDraw(CDC* pDC) override { pDC->TextOut(1, 2, CString("drawn")); }
    void OnInitialUpdate() override { Log(name + " initial update"); }
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        Log("prepare printing");
        pInfo->SetMaxPage(2);
        return DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { Log("begin printing"); }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        Log("print page " + std::to_string(pInfo->m_nCurPage));
        CView::OnPrint(pDC, pInfo);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { Log("end printing"); }

protected:
    int OnCreate(LPCREATESTRUCT)
    {
        Log("view created");
        return 0;
    }
    void OnEditCopy() { Log(name + " copies"); }
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
    {
        int pos = GetScrollPos(SB_VERT);
        pos = nSBCode == SB_LINEDOWN ? pos + 1 : nSBCode == SB_THUMBPOSITION ? int(nPos) : pos;
        SetScrollPos(SB_VERT, pos);
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTextView, CView)

BEGIN_MESSAGE_MAP(CTextView, CView)
ON_WM_CREATE()
ON_WM_VSCROLL()
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
END_MESSAGE_MAP()

class CChildFrame : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    ~CChildFrame() override { Log("frame deleted"); }
    void ActivateFrame(int nCmdShow) override
    {
        Log("activate frame");
        CMDIChildWnd::ActivateFrame(nCmdShow);
    }

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        Log("frame created");
        return CFrameWnd::OnCreate(lpcs);
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class CMainFrame : public CMDIFrameWnd
{
public:
    CStatusBar m_wndStatusBar;
    std::vector<std::string> notifications; // WM_TOOLBARWNDNOTIFY as "<id> 0x<code>"
    std::vector<int> selections;            // CBN_SELCHANGE of 50008

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1 || !m_wndStatusBar.Create(this))
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR,      50033,           50035, 50035, 50034,
                                          ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
        m_wndStatusBar.SetIndicators(indicators, 7);
        return 0;
    }
    LRESULT OnToolBarWndNotify(WPARAM wParam, LPARAM)
    {
        notifications.push_back(AfxFormat("%u 0x%x", LOWORD(wParam), HIWORD(wParam)));
        return 0;
    }
    void OnSelFilter()
    {
        selections.push_back(static_cast<CComboBox*>(GetNotifySender())->GetCurSel());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_TOOLBARWNDNOTIFY, OnToolBarWndNotify)
ON_CBN_SELCHANGE(50008, OnSelFilter)
END_MESSAGE_MAP()

// A fresh folder, removed with its files.
class Folder
{
public:
    Folder()
    {
        std::string pattern = ::testing::TempDir() + "docview_XXXXXX";
        m_path = ::mkdtemp(pattern.data());
    }
    ~Folder() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DocViewTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        g_log = &log;
        resources = std::make_unique<CResourceModule>("docview_test", CResourceModule::program,
                                                      AddResources);
        app = std::make_unique<CWinApp>();
        for (UINT id : kTemplateIds)
            app->AddDocTemplate(new CMultiDocTemplate(
                id, RUNTIME_CLASS(CTextDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CTextView)));
        app->LoadStdProfileSettings(10);
        main = new CMainFrame;
        ASSERT_TRUE(main->LoadFrame(kMainMenu));
        app->m_pMainWnd = main;
        log.clear();
    }
    void TearDown() override
    {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        resources.reset();
        g_log = nullptr;
        HeadlessApp::TearDown();
    }
    CDocTemplate* Template(int i) const { return app->m_pDocManager->GetTemplates()[i]; }
    int OpenDocuments() const { return app->m_pDocManager->GetOpenDocumentCount(); }
    // Saves a document with that text under path.
    void MakeFile(const std::string& path, const char* text)
    {
        auto* doc = static_cast<CTextDoc*>(Template(0)->OpenDocumentFile(nullptr));
        doc->m_text = text;
        ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
        doc->OnCloseDocument();
    }

    std::vector<std::string> log;
    std::unique_ptr<CResourceModule> resources;
    std::unique_ptr<CWinApp> app;
    CMainFrame* main = nullptr; // deletes itself
};

TEST_F(DocViewTest, TemplateStringsParseAndTheExtensionFieldDecidesTheFilter)
{
    const char* names[] = {"Plate", "Plate", "Membrane", "Membrane", "Shell", "Shell"};
    const char* exts[] = {".plb", ".pbc", ".mem", ".plc", ".shl", ".chl"};
    for (int i = 0; i < 6; ++i) {
        CString field;
        EXPECT_TRUE(Template(i)->GetDocString(field, CDocTemplate::docName));
        EXPECT_EQ(field, names[i]);
        EXPECT_TRUE(Template(i)->GetDocString(field, CDocTemplate::filterExt));
        EXPECT_EQ(field, exts[i]);
        EXPECT_TRUE(Template(i)->GetDocString(field, CDocTemplate::regFileTypeName));
        EXPECT_EQ(field, "Brantel Document");
        EXPECT_TRUE(Template(i)->GetDocString(field, CDocTemplate::windowTitle));
        EXPECT_EQ(field, "");
    }
    EXPECT_EQ(Template(5)->GetFilter(), "Shell analysis File (*.chl)|*.chl|");
    EXPECT_EQ(Template(0)->GetFilter(), "Plate bending File (*.plb)|*.plb|");

    CDocument* match = nullptr;
    EXPECT_EQ(Template(5)->MatchDocType("/x/Model.CHL", match), CDocTemplate::yesAttemptNative);
    EXPECT_EQ(Template(5)->MatchDocType("/x/model.csh", match), CDocTemplate::noAttempt);
    Template(5)->AddOpenExtension(".csh");
    EXPECT_EQ(Template(5)->MatchDocType("/x/model.csh", match), CDocTemplate::yesAttemptNative);
    EXPECT_EQ(Template(4)->MatchDocType("/x/model.chl", match), CDocTemplate::noAttempt);

    // Save As offers the template's filter and all files.
    auto* doc = Template(5)->OpenDocumentFile(nullptr);
    FileDialogs().Cancel();
    EXPECT_FALSE(doc->DoSave(nullptr));
    EXPECT_EQ(FileDialogs().Shown().at(0).strFilter,
              "Shell analysis File (*.chl)|*.chl|All files (*)|*||");
    EXPECT_EQ(FileDialogs().Shown().at(0).strDefExt, "chl");
}

TEST_F(DocViewTest, NewDocumentsAreMadeInOrderAndCountedPerTemplate)
{
    CDocument* first = Template(0)->OpenDocumentFile(nullptr);
    EXPECT_EQ(log,
              (std::vector<std::string>{"doc created", "frame created", "view created",
                                        "new document", "view initial update", "activate frame"}));
    EXPECT_EQ(first->GetTitle(), "Plate1");
    EXPECT_EQ(Template(0)->OpenDocumentFile(nullptr)->GetTitle(), "Plate2");
    EXPECT_EQ(Template(2)->OpenDocumentFile(nullptr)->GetTitle(), "Membrane1");
    EXPECT_EQ(Template(1)->OpenDocumentFile(nullptr)->GetTitle(), "Plate1");

    // The view sits in the first pane; the menu is the active child's.
    CMDIChildWnd* active = main->MDIGetActive();
    ASSERT_NE(active, nullptr);
    main->ShowCommandPrompt(ID_FILE_NEW);
    EXPECT_EQ(main->m_wndStatusBar.GetPaneText(0), "Creates a new document");
    app->OnIdle(0);
    EXPECT_EQ(main->m_wndStatusBar.GetPaneText(0), "Ready");
    EXPECT_NE(dynamic_cast<CTextView*>(active->GetDlgItem(AFX_IDW_PANE_FIRST)), nullptr);
    EXPECT_EQ(main->GetMenuID(), kPlateC);
    main->GetChildFrames()[2]->MDIActivate();
    EXPECT_EQ(main->GetMenuID(), kMembrane);
    EXPECT_EQ(main->MenuSnapshot(main->GetMenuID())[0].item.strText, "&File 132");
    app->CloseAllDocuments(FALSE);
    EXPECT_EQ(main->MDIGetActive(), nullptr);
    EXPECT_EQ(main->GetMenuID(), kMainMenu);
    EXPECT_EQ(OpenDocuments(), 0);
}

TEST_F(DocViewTest, TitlesNameTheActiveDocumentAndNumberASecondFrame)
{
    const auto title = [](CWnd* wnd) {
        CString text;
        wnd->GetWindowText(text);
        return std::string(text);
    };
    EXPECT_EQ(title(main), "Brantel");
    CDocument* plate = Template(0)->OpenDocumentFile(nullptr);
    CMDIChildWnd* first = main->MDIGetActive();
    EXPECT_EQ(title(main), "Brantel - Plate1");
    EXPECT_EQ(title(first), "Plate1");

    // A second frame of the same document: both frames are numbered.
    CFrameWnd* second = Template(0)->CreateNewFrame(plate, first);
    ASSERT_NE(second, nullptr);
    Template(0)->InitialUpdateFrame(second, plate);
    EXPECT_EQ(title(first), "Plate1:1");
    EXPECT_EQ(title(second), "Plate1:2");
    EXPECT_EQ(title(main), "Brantel - Plate1"); // the main title never numbers

    plate->SetTitle("slab.plb");
    EXPECT_EQ(title(second), "slab.plb:2");
    EXPECT_EQ(title(main), "Brantel - slab.plb");

    Template(2)->OpenDocumentFile(nullptr);
    EXPECT_EQ(title(main), "Brantel - Membrane1");
    second->DestroyWindow(); // the one left goes back to the plain title
    EXPECT_EQ(title(first), "slab.plb");
    first->MDIActivate();
    EXPECT_EQ(title(main), "Brantel - slab.plb");
    app->CloseAllDocuments(FALSE);
    EXPECT_EQ(title(main), "Brantel");
}

TEST_F(DocViewTest, OpeningPicksTheTemplateAndActivatesAFileAlreadyOpen)
{
    Folder folder;
    MakeFile(folder / "model.chl", "shell");
    ASSERT_EQ(::symlink((folder / "model.chl").c_str(), (folder / "link.CHL").c_str()), 0);
    auto* doc = static_cast<CTextDoc*>(app->OpenDocumentFile((folder / "model.chl").c_str()));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetDocTemplate(), Template(5));
    EXPECT_EQ(doc->m_text, "shell");
    EXPECT_EQ(doc->GetTitle(), "model.chl");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Cursor().Changes(), (std::vector<bool>{true, false})); // the wait cursor
    Template(0)->OpenDocumentFile(nullptr); // another child comes to the front
    log.clear();
    EXPECT_EQ(app->OpenDocumentFile((folder / "link.CHL").c_str()), doc);
    EXPECT_EQ(OpenDocuments(), 2);
    EXPECT_EQ(log, std::vector<std::string>{"activate frame"});
    EXPECT_EQ(main->GetActiveDocument(), doc);
}

TEST_F(DocViewTest, AFailedLoadLeavesNothingBehind)
{
    Folder folder;
    MakeFile(folder / "whole.plb", "some text to cut");
    const std::string whole = Read(folder / "whole.plb");
    std::ofstream(folder / "cut.plb", std::ios::binary) << whole.substr(0, whole.size() - 3);
    std::ofstream(folder / "foreign.plb", std::ios::binary) << "not ours at all";
    struct Case {
        std::string path;
        std::string box;
    };
    const Case cases[] = {
        {folder / "cut.plb", "Unexpected file format."},
        {folder / "foreign.plb", "Unexpected file format."},
        {folder / "missing.plb", "Cannot open file " + folder / "missing.plb" + "."},
        {folder / "model.xyz", "Cannot open file " + folder / "model.xyz" + "."},
        // Refused by their kind without being opened: a FIFO would block
        // the open until a writer came.
        {folder / "pipe.plb", "Cannot open file " + folder / "pipe.plb" + ".\n" + folder / "pipe.plb" +
                                  " is not a regular file."},
        {folder / "sub.plb", "Cannot open file " + folder / "sub.plb" + ".\n" + folder / "sub.plb" + " is a folder."},
    };
    ASSERT_EQ(::mkfifo((folder / "pipe.plb").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir((folder / "sub.plb").c_str(), 0755), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        log.clear();
        Boxes().Expect(c.box);
        EXPECT_EQ(app->OpenDocumentFile(c.path.c_str()), nullptr);
        EXPECT_EQ(OpenDocuments(), 0);
        EXPECT_TRUE(main->GetChildFrames().empty());
        EXPECT_EQ(std::count(log.begin(), log.end(), "doc created"),
                  std::count(log.begin(), log.end(), "doc deleted"));
        EXPECT_EQ(std::count(log.begin(), log.end(), "view created"),
                  std::count(log.begin(), log.end(), "view deleted"));
    }
}

TEST_F(DocViewTest, SavingNeverLosesTheOldFile)
{
    Folder folder;
    const std::string path = folder / "model.plb";
    MakeFile(path, "old");
    ::chmod(path.c_str(), 0640);
    const std::string old = Read(path);
    auto* doc = static_cast<CTextDoc*>(app->OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    doc->m_text = "new";
    doc->SetModifiedFlag();
    const afx::SafeFileWriter::Step steps[] = {afx::SafeFileWriter::Step::write,
                                               afx::SafeFileWriter::Step::fsync,
                                               afx::SafeFileWriter::Step::rename};
    const std::string causes[] = {"Disk full while accessing ",
                                  "A hardware I/O error was reported while accessing ",
                                  "A hardware I/O error was reported while accessing "};
    for (int i = 0; i < 3; ++i) {
        afx::SafeFileWriter::InjectFailure(steps[i]);
        Boxes().Expect("Failed to save document.\n" + causes[i] + path + ".");
        EXPECT_TRUE(main->SendCommand(ID_FILE_SAVE));
        EXPECT_EQ(Read(path), old);
        EXPECT_TRUE(doc->IsModified());
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "DoSave"), 3);
    main->SendCommand(ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NE(Read(path), old);
    struct stat st {
    };
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// A file or folder the user may not write: Save says so naming the file,
// offers Save As, and leaves the file as it was.
TEST_F(DocViewTest, SavingAReadOnlyFileOffersSaveAsAndKeepsIt)
{
    const struct {
        const char* what;
        mode_t folderMode;
        mode_t fileMode;
    } cases[] = {{"read-only file", 0755, 0444}, {"read-only folder", 0555, 0644}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Folder folder, other;
        const std::string path = folder / "model.plb";
        MakeFile(path, "old");
        const std::string old = Read(path);
        auto* doc = static_cast<CTextDoc*>(app->OpenDocumentFile(path.c_str()));
        ASSERT_NE(doc, nullptr);
        doc->m_text = "new";
        doc->SetModifiedFlag();
        ::chmod(path.c_str(), c.fileMode);
        ::chmod(folder.path().c_str(), c.folderMode);
        const std::string box =
            "Access to " + path + " was denied.\nSave the document under another name?";
        const std::size_t dialogs = FileDialogs().Shown().size();
        Boxes().Expect(box, IDCANCEL);
        main->SendCommand(ID_FILE_SAVE);
        EXPECT_EQ(Read(path), old);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(FileDialogs().Shown().size(), dialogs);

        // OK offers Save As; a writable name there saves the document.
        Boxes().Expect(box, IDOK);
        FileDialogs().Choose({CString((other / "copy.plb").c_str())});
        main->SendCommand(ID_FILE_SAVE);
        ::chmod(folder.path().c_str(), 0755);
        EXPECT_EQ(Read(path), old);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(doc->GetPathName(), CString((other / "copy.plb").c_str()));
        EXPECT_NE(Read(other / "copy.plb"), old);
        ::chmod(path.c_str(), 0644);
        doc->OnCloseDocument();
        FileDialogs().Verify();
    }
}

TEST_F(DocViewTest, ClosingAModifiedDocumentAsks)
{
    Folder folder;
    auto* doc = static_cast<CTextDoc*>(Template(0)->OpenDocumentFile(nullptr));
    doc->SetModifiedFlag();
    CMDIChildWnd* child = main->MDIGetActive();
    Boxes().Expect("Save changes to Plate1?", IDCANCEL);
    AfxUserClose(child->GetSafeHwnd());
    EXPECT_EQ(OpenDocuments(), 1);
    // Yes without a path goes through Save As.
    Boxes().Expect("Save changes to Plate1?", IDYES);
    FileDialogs().Choose({CString((folder / "saved").c_str())});
    AfxUserClose(child->GetSafeHwnd());
    EXPECT_EQ(OpenDocuments(), 0);
    EXPECT_FALSE(Read(folder / "saved.plb").empty());

    doc = static_cast<CTextDoc*>(Template(0)->OpenDocumentFile(nullptr));
    doc->SetModifiedFlag();
    Boxes().Expect("Save changes to Plate2?", IDNO);
    main->SendCommand(ID_FILE_CLOSE);
    EXPECT_EQ(OpenDocuments(), 0);
}

TEST_F(DocViewTest, ExitAsksForEachModifiedDocumentAndCancelKeepsAll)
{
    Template(0)->OpenDocumentFile(nullptr)->SetModifiedFlag();
    Template(2)->OpenDocumentFile(nullptr)->SetModifiedFlag();
    Boxes().Expect("Save changes to Plate1?", IDNO);
    Boxes().Expect("Save changes to Membrane1?", IDCANCEL);
    main->SendCommand(ID_APP_EXIT);
    EXPECT_EQ(OpenDocuments(), 2);
    EXPECT_EQ(app->m_pMainWnd, main);
    Boxes().Expect("Save changes to Plate1?", IDNO);
    Boxes().Expect("Save changes to Membrane1?", IDNO);
    main->SendCommand(ID_APP_EXIT);
    EXPECT_EQ(OpenDocuments(), 0);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
}

TEST_F(DocViewTest, RecentFilesKeepTenMostRecentFirstAndPersist)
{
    Folder folder;
    for (int i = 1; i <= 11; ++i)
        MakeFile(folder / ("f" + std::to_string(i) + ".plb"), "x");
    for (int i = 1; i <= 11; ++i)
        app->OpenDocumentFile((folder / ("f" + std::to_string(i) + ".plb")).c_str());
    const CRecentFileList& list = *app->m_pRecentFileList;
    ASSERT_EQ(list.GetSize(), 10);
    EXPECT_EQ(list[0], (folder / "f11.plb").c_str());
    EXPECT_EQ(list[9], (folder / "f2.plb").c_str());
    EXPECT_EQ(AfxGetProfileString("Recent File List", "File1"), (folder / "f11.plb").c_str());
    EXPECT_EQ(AfxGetProfileString("Recent File List", "File10"), (folder / "f2.plb").c_str());
    // Reopening moves the entry to the top.
    app->CloseAllDocuments(FALSE);
    app->OpenDocumentFile((folder / "f5.plb").c_str());
    EXPECT_EQ(list[0], (folder / "f5.plb").c_str());
    EXPECT_EQ(list[1], (folder / "f11.plb").c_str());
    // The File menu lists them from 57616.
    const AfxMenu menu = main->MenuSnapshot(kMainMenu);
    const AfxMenuEntry& item = menu[0].popup[4];
    EXPECT_EQ(item.item.nCurrentID, ID_FILE_MRU_FILE1);
    EXPECT_EQ(item.item.strText, CString(("&1 " + folder / "f5.plb").c_str()));
    EXPECT_TRUE(item.item.bEnabled);
    // A file that has gone is reported and leaves the list.
    app->CloseAllDocuments(FALSE);
    std::remove((folder / "f11.plb").c_str());
    Boxes().Expect("Cannot open file " + folder / "f11.plb" + ".");
    main->SendCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(list.GetSize(), 9);
    EXPECT_EQ(list[1], (folder / "f10.plb").c_str());
    // A new list reads what was written.
    app->LoadStdProfileSettings(10);
    EXPECT_EQ((*app->m_pRecentFileList)[1], (folder / "f10.plb").c_str());
}

TEST_F(DocViewTest, ReplacingTheViewDeletesTheOldOneAndRoutingFollows)
{
    CDocument* doc = Template(0)->OpenDocumentFile(nullptr);
    CFrameWnd* child = main->MDIGetActive();
    CView* old = child->GetActiveView();
    main->SendCommand(ID_EDIT_COPY);
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = RUNTIME_CLASS(CTextView);
    old->SetDlgCtrlID(AFX_IDW_PANE_FIRST + 1);
    auto* next = static_cast<CTextView*>(child->CreateView(&context, AFX_IDW_PANE_FIRST));
    next->name = "second view";
    next->OnInitialUpdate();
    child->SetActiveView(next);
    old->DestroyWindow();
    EXPECT_EQ(doc->GetViews(), std::vector<CView*>{next});
    main->SendCommand(ID_EDIT_COPY);
    EXPECT_EQ(std::count(log.begin(), log.end(), "view deleted"), 1);
    EXPECT_EQ(log.back(), "second view copies");
    EXPECT_EQ(OpenDocuments(), 1);
    // The last view takes its auto-delete document along.
    next->DestroyWindow();
    EXPECT_EQ(OpenDocuments(), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "doc deleted"), 1);
}

TEST_F(DocViewTest, CommandLineAndDroppedFiles)
{
    Folder folder;
    MakeFile(folder / "a.plb", "a");
    MakeFile(folder / "b.mem", "b");
    struct Case {
        std::vector<CString> args;
        int shellCommand;
    };
    const Case cases[] = {
        {{}, CCommandLineInfo::FileNew},
        {{CString((folder / "a.plb").c_str())}, CCommandLineInfo::FileOpen},
        {{"/nologo", CString((folder / "a.plb").c_str())}, CCommandLineInfo::FileOpen},
        {{"/p", CString((folder / "a.plb").c_str())}, CCommandLineInfo::FilePrint},
    };
    for (const Case& c : cases) {
        app->SetCommandLine(c.args);
        CCommandLineInfo info;
        app->ParseCommandLine(info);
        EXPECT_EQ(info.m_nShellCommand, c.shellCommand);
    }
    PrintDialogs().Accept();
    CCommandLineInfo print;
    app->ParseCommandLine(print);
    EXPECT_TRUE(app->ProcessShellCommand(print));
    ASSERT_NE(PrintDialogs().Printer(), nullptr);
    app->CloseAllDocuments(FALSE);

    main->DropFiles({CString((folder / "a.plb").c_str()), CString((folder / "b.mem").c_str())});
    EXPECT_EQ(OpenDocuments(), 2);
    EXPECT_EQ(main->GetActiveDocument()->GetTitle(), "b.mem");
}

TEST_F(DocViewTest, PrintingRunsTheHooksInOrderOnTheRecordingPrinter)
{
    CDocument* doc = Template(0)->OpenDocumentFile(nullptr);
    log.clear();
    PrintDialogs().Accept([](AfxPrintRequest& request) { request.nToPage = 2; });
    main->SendCommand(ID_FILE_PRINT);
    EXPECT_EQ(log, (std::vector<std::string>{"prepare printing", "begin printing", "print page 1",
                                             "print page 2", "end printing"}));
    EXPECT_EQ(PrintDialogs().Printer()->Calls(),
              (std::vector<std::string>{"TextOut 1 2 'drawn'", "TextOut 1 2 'drawn'"}));
    PrintDialogs().Cancel();
    log.clear();
    main->SendCommand(ID_FILE_PRINT);
    EXPECT_EQ(log, std::vector<std::string>{"prepare printing"});
    (void)doc;
}

TEST_F(DocViewTest, ScrollBarsOfAViewKeepTheirRange)
{
    Template(0)->OpenDocumentFile(nullptr);
    CView* view = main->MDIGetActive()->GetActiveView();
    view->ModifyStyle(0, WS_VSCROLL);
    view->SetScrollRange(SB_VERT, 0, 10);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 9), 0);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 10); // held at the end of the range
    int lo = -1, hi = -1;
    view->GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 10);
}

} // namespace

TEST_F(DocViewTest, APrintOfUnknownLengthStopsAfterItsFirstPage)
{
    // No maximum page set: the range is open, so one page is printed (not
    // 65535 copies of it).
    struct CPagesView : public CView {
        int pages = 0;
        void OnDraw(CDC*) override { ++pages; }
        void PostNcDestroy() override {}
    } view;
    CPrintInfo info;
    info.m_bDirect = TRUE;
    EXPECT_TRUE(view.PrintDocument(&info));
    EXPECT_EQ(view.pages, 1);
}

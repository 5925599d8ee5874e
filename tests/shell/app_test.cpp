// The program's application: its templates and titles, opening files by
// extension, File Open, the command line, the settings archive, and the
// File New wizard.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/analysis/platecomp.h"
#include "app/shell/wizardpages.h"
#include "dialogs/doctypedlg.h"
#include "femodel/meshorg.h"
#include "graphview/ogl2dview.h"
#include "platform/dimvor/units.h"
#include "platform/weblar/easymesh.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/ui_lists.h"

namespace
{

using namespace shelltest;
using shelltest::ScopedEnv;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

constexpr int kBack = 1065, kNext = 1066;
constexpr int kPlateButton = 16000, kMembraneButton = 16001, kBucklingButton = 16002;
constexpr int kConstrained = 448;
constexpr UINT kMeshPage = CDlgMeshType::IDD, kFinalPage = CDlgFinal::IDD;
constexpr int kMembraneRadios[] = {1068, 1069, 1074, 1075, 446, 447, 1073};
constexpr int kPlateRadios[] = {1070, 7121, 7122, 1204, 507, 541};

// Scripts a page that clicks the controls, then the button.
ModalScript& Page(ModalScript& script, UINT nID, std::vector<int> clicks, int button)
{
    return script.Dialog(nID, [clicks, button](DialogDriver& d, CDialog&) {
        for (int c : clicks)
            d.Click(c);
        d.Click(button);
    });
}

class BrantelApp : public AppTest
{
protected:
    // Starts with the wizard cancelled: no document.
    void StartEmpty()
    {
        m_app->SetCommandLine({});
        ModalScript script;
        Page(script, VokDlgFPDocType::IDD, {}, IDCANCEL);
        ASSERT_TRUE(m_app->InitInstance());
        PumpPosted(); // the wizard runs from the application's loop
        ASSERT_TRUE(Documents().empty());
    }
    std::vector<CDocument*> Documents() const
    {
        std::vector<CDocument*> docs;
        for (CMultiDocTemplate* t : m_app->m_pTemplates)
            for (CDocument* doc : t->GetDocuments())
                docs.push_back(doc);
        return docs;
    }
    // A file of the document class under the name.
    std::string WriteDocument(CRuntimeClass* docClass, const std::string& name)
    {
        const std::string path = m_folder + "/" + name;
        std::unique_ptr<CBrantelDoc> doc(static_cast<CBrantelDoc*>(docClass->CreateObject()));
        doc->m_bAutoDelete = FALSE;
        AddSquare(*doc, 0.0, 0.0, 100.0);
        EXPECT_TRUE(doc->DoSave(path.c_str(), FALSE));
        return path;
    }
    std::string SettingsPath() const { return m_folder + "/config/Vornetic/brantel.ini"; }

};

TEST_F(BrantelApp, TemplatesCarryTheirStringsAndNewDocumentsTheirTitles)
{
    ASSERT_TRUE(Start());
    const char* const strings[] = {
        "\nPlate\nFEM\nPlate bending File (*.plb)\n.plb\nBrantel.Document\nBrantel Document",
        "\nPlate\nBrantel\nConstrained mesh plate bending File (*.pbc)\n.pbc\nBrantel.Document\n"
        "Brantel Document",
        "\nMembrane\nFEM\nMembrane File (*.mem)\n.mem\nBrantel.Document\nBrantel Document",
        "\nMembrane\nFEM\nConstrained mesh membrane file (*.plc)\n.plc\nBrantel.Document\nBrantel "
        "Document",
        "\nShell\nFEM\nShell analysis File (*.shl)\n.shl\nBrantel.Document\nBrantel Document",
        "\nShell\nFEM\nShell analysis File (*.csh)\n.chl\nBrantel.Document\nBrantel Document",
    };
    const UINT ids[] = {129, 130, 132, 133, 134, 135};
    for (int i = 0; i < CBrantelApp::kTemplates; ++i) {
        CString text;
        ASSERT_TRUE(AfxLoadString(ids[i], text));
        EXPECT_EQ(text, strings[i]);
        EXPECT_EQ(m_app->m_pTemplates[i]->GetResourceID(), ids[i]);
    }
    // No argument: File New gave the first plate document.
    const std::vector<CDocument*> docs = Documents();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0]->GetRuntimeClass(), RUNTIME_CLASS(CBrantelDoc));
    EXPECT_EQ(docs[0]->GetTitle(), "Plate1");
    const struct {
        int index;
        const char* title;
        CRuntimeClass* docClass;
    } made[] = {{2, "Membrane1", RUNTIME_CLASS(CBrantelDoc)}, {4, "Shell1", RUNTIME_CLASS(CDocShell)}};
    for (const auto& m : made) {
        CDocument* doc = m_app->m_pTemplates[m.index]->OpenDocumentFile(nullptr);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->GetTitle(), m.title);
        EXPECT_EQ(doc->GetRuntimeClass(), m.docClass);
    }
}

// The node list, identifier counters and node groups are the process's:
// the document whose frame comes to the front puts its own in force, after
// the one that held them kept its counters, however the frames are switched.
TEST_F(BrantelApp, TheFrontDocumentsNodeListAndCountersAreInForce)
{
    ASSERT_TRUE(Start());
    auto* plate = dynamic_cast<CBrantelDoc*>(Documents().at(0));
    auto* membrane = dynamic_cast<CBrantelDoc*>(m_app->m_pTemplates[2]->OpenDocumentFile(nullptr));
    ASSERT_TRUE(plate && membrane);
    const auto frameOf = [](CDocument& doc) {
        POSITION pos = doc.GetFirstViewPosition();
        return dynamic_cast<CMDIChildWnd*>(doc.GetNextView(pos)->GetParentFrame());
    };
    const auto newNode = [] { return std::make_unique<CSNode>(0.0, 0.0, 0.0, nullptr, 0); };
    EXPECT_EQ(CGraph::m_pNodeList, membrane->m_pNodeList);
    const auto inMembrane = newNode();

    frameOf(*plate)->MDIActivate();
    EXPECT_EQ(CGraph::m_pNodeList, plate->m_pNodeList);
    const auto inPlate = newNode();
    const auto inPlate2 = newNode();

    frameOf(*membrane)->MDIActivate();
    EXPECT_EQ(CGraph::m_pNodeList, membrane->m_pNodeList);
    EXPECT_EQ(newNode()->GetID(), inMembrane->GetID() + 1);
    frameOf(*plate)->MDIActivate();
    EXPECT_EQ(newNode()->GetID(), inPlate2->GetID() + 1);
}

TEST_F(BrantelApp, FilesOpenByExtensionAndAnOpenFileOnlyComesToTheFront)
{
    ASSERT_TRUE(Start());
    const struct {
        const char* name;
        CRuntimeClass* docClass;
        int index;
    } cases[] = {
        {"a.plb", RUNTIME_CLASS(CBrantelDoc), 0}, {"a.mem", RUNTIME_CLASS(CBrantelDoc), 2},
        {"a.pbc", RUNTIME_CLASS(CDocRestr), 1},   {"a.plc", RUNTIME_CLASS(CDocRestr), 3},
        {"a.shl", RUNTIME_CLASS(CDocShell), 4},   {"a.chl", RUNTIME_CLASS(CDocRestr), 5},
        {"a.csh", RUNTIME_CLASS(CDocRestr), 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteDocument(c.docClass, c.name);
        CDocument* doc = m_app->OpenDocumentFile(path.c_str());
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->GetRuntimeClass(), c.docClass);
        EXPECT_EQ(doc->GetDocTemplate(), m_app->m_pTemplates[c.index]);
        const std::size_t count = Documents().size();
        EXPECT_EQ(m_app->OpenDocumentFile(path.c_str()), doc);
        EXPECT_EQ(Documents().size(), count);
    }
}

TEST_F(BrantelApp, FileOpenOffersTheProgramsFilesAndOpensEveryChosenFile)
{
    ASSERT_TRUE(Start());
    const std::vector<CString> paths = {
        WriteDocument(RUNTIME_CLASS(CBrantelDoc), "one.plb").c_str(),
        WriteDocument(RUNTIME_CLASS(CBrantelDoc), "two.mem").c_str(),
        WriteDocument(RUNTIME_CLASS(CDocShell), "three.shl").c_str()};
    FileDialogs().Choose(paths);
    const std::size_t before = Documents().size();
    EXPECT_TRUE(m_app->OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(FileDialogs().Shown().size(), 1u);
    const AfxFileDialogRequest& request = FileDialogs().Shown().front();
    EXPECT_EQ(request.strFilter,
              "Brantel files (*.plb;*.pbc;*.mem;*.plc;*.shl;*.chl;*.csh)|*.plb;*.pbc;*.mem;*.plc;*.shl;"
              "*.chl;*.csh|Plate "
              "bending files (*.plb)|*.plb|Membrane  files (*.mem)|*.mem|Constrained mesh plate "
              "bending files (*.pbc)|*.pbc|Constrained mesh membrane files (*.plc)|*.plc|Plane "
              "shell files (*.shl)|*.shl|Constrained mesh shell files (*.chl;*.csh)|*.chl;*.csh||");
    // The first choice, all the program's files, takes the extension of
    // every document type.
    const std::string filter = request.strFilter.GetString();
    const std::string all = filter.substr(0, filter.find('|', filter.find('|') + 1));
    for (CMultiDocTemplate* t : m_app->m_pTemplates) {
        CString ext;
        ASSERT_TRUE(t->GetDocString(ext, CDocTemplate::filterExt));
        EXPECT_NE(all.find("*" + std::string(ext.GetString()) + ";"), std::string::npos) << ext.GetString();
    }
    EXPECT_TRUE(request.bOpenFileDialog);
    EXPECT_NE(request.dwFlags & OFN_ALLOWMULTISELECT, 0u);
    EXPECT_EQ(Documents().size(), before + 3);
    EXPECT_EQ(request.strInitialDir, ""); // no saved document in front yet

    // With a saved document in front, the next File > Open starts in its
    // folder.
    FileDialogs().Cancel();
    EXPECT_TRUE(m_app->OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(FileDialogs().Shown().size(), 2u);
    EXPECT_EQ(FileDialogs().Shown().back().strInitialDir, CString(m_folder.c_str()));
}

TEST_F(BrantelApp, CommandLineOpensTheFileOrEndsTheStartOnAnUnreadableOne)
{
    const std::string good = WriteDocument(RUNTIME_CLASS(CBrantelDoc), "plate.plb");
    const std::string garbage = m_folder + "/garbage.plb";
    {
        std::FILE* out = std::fopen(garbage.c_str(), "wb");
        std::fputs("not a plate at all, not a plate at all", out);
        std::fclose(out);
    }
    const std::string missing = m_folder + "/missing.plb";
    const struct {
        std::vector<CString> args;
        BOOL started;
        std::string box;
    } cases[] = {
        {{good.c_str()}, TRUE, ""},
        {{garbage.c_str()}, FALSE, "Unexpected file format."},
        {{missing.c_str()}, FALSE, "Cannot open file " + missing + "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front().GetString());
        if (!m_app)
            m_app = std::make_unique<CBrantelApp>();
        if (!c.box.empty())
            Boxes().Expect(c.box);
        EXPECT_EQ(Start(c.args), c.started);
        if (c.started) {
            const std::vector<CDocument*> docs = Documents();
            ASSERT_EQ(docs.size(), 1u);
            EXPECT_EQ(docs[0]->GetTitle(), "plate.plb");
            CString title;
            m_app->m_pMainWnd->GetWindowText(title);
            EXPECT_EQ(title, "Brantel - plate.plb");
        } else {
            EXPECT_TRUE(Documents().empty());
        }
        EndApp();
    }
    // "/p <file>" opens the file and prints it (here the print dialog is
    // cancelled).
    m_app = std::make_unique<CBrantelApp>();
    PrintDialogs().Cancel();
    EXPECT_TRUE(Start({"/p", good.c_str()}));
    EXPECT_EQ(PrintDialogs().Shown().size(), 1u);
    EXPECT_EQ(Documents().size(), 1u);
}

TEST_F(BrantelApp, TheSettingsFolderFollowsTheConfigurationVariables)
{
    EXPECT_EQ(m_app->GetSettingsFolder(), CString((m_folder + "/config/Vornetic/").c_str()));
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", "/home/someone");
        EXPECT_EQ(m_app->GetSettingsFolder(), "/home/someone/.config/Vornetic/");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    EXPECT_EQ(m_app->GetSettingsFolder(), "");
    testing::internal::CaptureStderr();
    m_app->CloseApp();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("neither XDG_CONFIG_HOME nor HOME is set"), std::string::npos) << said;
}

TEST_F(BrantelApp, GridTypeAndTrialNodesReturnAtTheNextStart)
{
    const UINT grid = COGL2DView::m_uiGridType;
    const int nodes = CEasyMesh::m_nMaxNodes, labels = Kor3DView::m_iDrawSelNum,
              progression = iProgresjon;
    // A first start without a settings file: defaults, nothing reported.
    ASSERT_TRUE(Start());
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
    COGL2DView::m_uiGridType = 3;
    CEasyMesh::m_nMaxNodes = 4321;
    Kor3DView::m_iDrawSelNum = 1;
    iProgresjon = 2;
    EndApp(); // the main frame goes: the folder is made and the file written
    ASSERT_TRUE(std::filesystem::exists(SettingsPath()));

    COGL2DView::m_uiGridType = 0;
    CEasyMesh::m_nMaxNodes = 1;
    Kor3DView::m_iDrawSelNum = 0;
    iProgresjon = 0;
    m_app = std::make_unique<CBrantelApp>();
    ASSERT_TRUE(Start());
    EXPECT_EQ(COGL2DView::m_uiGridType, 3u);
    EXPECT_EQ(CEasyMesh::m_nMaxNodes, 4321);
    EXPECT_EQ(Kor3DView::m_iDrawSelNum, 1);
    EXPECT_EQ(iProgresjon, 2);
    COGL2DView::m_uiGridType = grid;
    CEasyMesh::m_nMaxNodes = nodes;
    Kor3DView::m_iDrawSelNum = labels;
    iProgresjon = progression;
}

// Each of the application's four values read out of range keeps its
// default and is named once in the log window (the real window meshes
// afterwards: ShellOnQt.AnOutOfRangeTrialNodeCount...).
TEST_F(BrantelApp, SettingsOutOfRangeKeepTheirDefaultsAndAreNamedInTheLog)
{
    const UINT grid = COGL2DView::m_uiGridType;
    const int nodes = CEasyMesh::m_nMaxNodes, labels = Kor3DView::m_iDrawSelNum,
              progression = iProgresjon;
    const struct {
        int index; // of the four values
        LONG value;
        const char* setting;
    } cases[] = {
        {1, 2147483647, "Mesher trial nodes"},
        {1, -5, "Mesher trial nodes"},
        {0, -1, "Grid type"},
        {2, 7, "Picked result display"},
        {3, -2, "Node spacing progression"},
    };
    const auto readBytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_TRUE(Start());
    const Bytes four =
        brantel::test::storeBytes<Bytes>([&](CArchive& ar) { m_app->AppSpecificInit(ar); });
    const Bytes framework =
        brantel::test::storeBytes<Bytes>([&](CArchive& ar) { m_app->KorApp::AppSpecificInit(ar); });
    ASSERT_EQ(four.size(), framework.size() + 16);
    EndApp();
    const Bytes good = readBytes(SettingsPath());
    // The four values stand right after the framework's part.
    const auto at = std::search(good.begin(), good.end(), four.begin(), four.end());
    ASSERT_NE(at, good.end());
    const std::size_t offset = static_cast<std::size_t>(at - good.begin()) + framework.size();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        Bytes bytes = good;
        std::memcpy(&bytes[offset + 4 * static_cast<std::size_t>(c.index)], &c.value, 4);
        std::ofstream(SettingsPath(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        COGL2DView::m_uiGridType = 1;
        CEasyMesh::m_nMaxNodes = 5000;
        Kor3DView::m_iDrawSelNum = 2;
        iProgresjon = 1;
        m_app = std::make_unique<CBrantelApp>();
        ASSERT_TRUE(Start());
        EXPECT_EQ(KorApp::GetSettingResets(), std::vector<std::string>{c.setting});
        CString log;
        static_cast<KorMainFrm*>(m_app->m_pMainWnd)->GetLogWindow()->GetLogEdit().GetWindowText(log);
        EXPECT_NE(std::string(log).find(std::string(KorApp::SettingResetLine(c.setting))),
                  std::string::npos)
            << log;
        const int kept[] = {static_cast<int>(COGL2DView::m_uiGridType), CEasyMesh::m_nMaxNodes,
                            Kor3DView::m_iDrawSelNum, iProgresjon};
        const int defaults[] = {1, 5000, 2, 1};
        EXPECT_EQ(kept[c.index], defaults[c.index]);
        EndApp();
    }
    COGL2DView::m_uiGridType = grid;
    CEasyMesh::m_nMaxNodes = nodes;
    Kor3DView::m_iDrawSelNum = labels;
    iProgresjon = progression;
}

TEST_F(BrantelApp, TheFourValuesFollowTheFrameworksPartInOrder)
{
    const UINT grid = COGL2DView::m_uiGridType;
    const int nodes = CEasyMesh::m_nMaxNodes, labels = Kor3DView::m_iDrawSelNum,
              progression = iProgresjon;
    COGL2DView::m_uiGridType = 11;
    CEasyMesh::m_nMaxNodes = 22;
    Kor3DView::m_iDrawSelNum = 33;
    iProgresjon = 44;
    const Bytes frameworkPart =
        brantel::test::storeBytes<Bytes>([&](CArchive& ar) { m_app->KorApp::AppSpecificInit(ar); });
    const Bytes whole =
        brantel::test::storeBytes<Bytes>([&](CArchive& ar) { m_app->AppSpecificInit(ar); });
    const Bytes four = Bytes{11, 0, 0, 0, 22, 0, 0, 0, 33, 0, 0, 0, 44, 0, 0, 0};
    EXPECT_EQ(whole, frameworkPart + four);
    COGL2DView::m_uiGridType = grid;
    CEasyMesh::m_nMaxNodes = nodes;
    Kor3DView::m_iDrawSelNum = labels;
    iProgresjon = progression;
}

TEST_F(BrantelApp, ConstructionSetsTheSmoothingTypeAndMillimetres)
{
    m_app.reset();
    CMeshOrganizer::m_iSmootType = 5;
    iConv[0][0][0] = 1;
    iConv[1][0][0] = 1;
    m_app = std::make_unique<CBrantelApp>();
    EXPECT_EQ(CMeshOrganizer::m_iSmootType, 0);
    EXPECT_EQ(iConv[0][0][0], 0);
    EXPECT_EQ(iConv[1][0][0], 0);
}

// ---- The main frame within the program -----------------------------------------

class BrantelMainFrame : public BrantelApp
{
protected:
    CMainFrame& Frame() { return *static_cast<CMainFrame*>(m_app->m_pMainWnd); }
    std::vector<CString> Entries(UINT id)
    {
        return brantel::test::ComboTexts(Frame().GetToolbarCombo(id));
    }
    int Selection(UINT id) { return Frame().GetToolbarCombo(id)->GetCurSel(); }
    static void Touch(const std::filesystem::path& path)
    {
        std::filesystem::create_directories(path.parent_path());
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fclose(out);
    }
};

TEST_F(BrantelMainFrame, ActivatingAPlateDocumentRefreshesTheFrame)
{
    ASSERT_TRUE(Start());
    auto* doc = dynamic_cast<CBrantelDoc*>(Documents().at(0));
    ASSERT_NE(doc, nullptr);
    CPlateComp* comp = doc->GetPlateComp();
    struct Case {
        int code;
        const char* name;
        std::size_t results;
        const char* first;
        CStringArray* list;
    };
    const Case cases[] = {
        {81, "T18", 11, "Mx", &g_arThickPlateResults},
        {66, nullptr, 9, "Mx", &g_arThinPlateResults},
        {31, nullptr, 11, "Sigma x", &g_arMembraneResults},
    };
    for (const Case& c : cases) {
        comp->SetElementType(c.code);
        comp->SetActVal(2);
        doc->ActivateDoc();
        const CString pane = Frame().GetStatusBarWnd().GetPaneText(1);
        EXPECT_EQ(pane, c.name ? CString(c.name) : ElementTypeShortName(c.code)) << c.code;
        EXPECT_EQ(Frame().m_pListNames, c.list) << c.code;
        const std::vector<CString> results = Entries(ID_RESULT_COMPONENT);
        ASSERT_EQ(results.size(), c.results) << c.code;
        EXPECT_EQ(results[0], c.first) << c.code;
        EXPECT_EQ(Selection(ID_RESULT_COMPONENT), 2) << c.code;
    }
    EXPECT_EQ(Entries(ID_RESULT_COMPONENT)[3], "u");

    // The first view's frame keeps a material the model lists, else takes
    // the model's first.
    POSITION pos = doc->GetFirstViewPosition();
    auto* child = dynamic_cast<CChildFrame*>(doc->GetNextView(pos)->GetParentFrame());
    ASSERT_NE(child, nullptr);
    CObList& materials = comp->GetMaterialList();
    ASSERT_EQ(materials.GetCount(), 2);
    auto* second = static_cast<CMaterial*>(materials.GetTail());
    child->m_pActiveMaterial = second;
    doc->ActivateDoc();
    EXPECT_EQ(child->m_pActiveMaterial, second);
    EXPECT_EQ(Entries(ID_ACTIVE_MATERIAL), (std::vector<CString>{"Default", "VOID"}));
    EXPECT_EQ(Selection(ID_ACTIVE_MATERIAL), 1);
    CMaterial foreign("Foreign", 1.0, 1.0, 0.0, 0.3, 0.0);
    child->m_pActiveMaterial = &foreign;
    doc->ActivateDoc();
    EXPECT_EQ(child->m_pActiveMaterial, materials.GetHead());
    EXPECT_EQ(Selection(ID_ACTIVE_MATERIAL), 0);
}

TEST_F(BrantelMainFrame, UserManualAndHelpOpenFromTheProgramsFolder)
{
    ASSERT_TRUE(Start());
    // The program folder as KorProgramFolder gives it in the build tree and
    // in an installed tree, and where the manual's pages are in each.
    struct Layout {
        const char* name;
        std::string program;
        std::string help;
    };
    const Layout layouts[] = {
        {"build tree", m_folder + "/build/bin/", m_folder + "/build/bin/doc/"},
        {"installed", m_folder + "/prefix/share/brantel/", m_folder + "/prefix/share/doc/brantel/"},
    };
    // Any current folder: the paths do not depend on it.
    const std::string elsewhere = m_folder + "/elsewhere";
    std::filesystem::create_directories(elsewhere);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        std::filesystem::create_directories(layout.program);
        m_app->m_strAppDir = layout.program.c_str();
        const std::size_t opened = Opener().Opened().size();
        Boxes().Expect("The file \"Brantel_U_man.pdf\" was not found in\n\"" + layout.program + "\".");
        Frame().SendCommand(ID_USER_MANUAL);
        Boxes().Expect("The path \"" + layout.help + "\" was not found.");
        Frame().SendCommand(ID_HELP_FINDER);
        Boxes().Verify();
        EXPECT_EQ(Opener().Opened().size(), opened);

        Touch(layout.program + "Brantel_U_man.pdf");
        Touch(layout.help + "index.html");
        Frame().SendCommand(ID_USER_MANUAL);
        for (UINT help : {ID_HELP_FINDER, ID_DEFAULT_HELP})
            Frame().SendCommand(help);
        const std::vector<CString> all = Opener().Opened();
        const std::string index = layout.help + "index.html";
        EXPECT_EQ(std::vector<CString>(all.begin() + std::ptrdiff_t(opened), all.end()),
                  (std::vector<CString>{(layout.program + "Brantel_U_man.pdf").c_str(), index.c_str(),
                                        index.c_str()}));
    }
    std::filesystem::current_path(before);
}

TEST_F(BrantelMainFrame, TheThicknessListReturnsAtTheNextStart)
{
    ASSERT_TRUE(Start());
    std::fill(std::begin(Frame().m_dThickness), std::end(Frame().m_dThickness), -1.0);
    Frame().m_dThickness[0] = 50.0;
    Frame().m_dThickness[1] = 120.0;
    Frame().m_dActThickness = 120.0;
    EndApp();
    m_app = std::make_unique<CBrantelApp>();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Entries(ID_ACTIVE_THICKNESS), (std::vector<CString>{"50", "120"}));
    EXPECT_EQ(Selection(ID_ACTIVE_THICKNESS), 1);
    EXPECT_EQ(Frame().m_dActThickness, 120.0);
    EXPECT_EQ(Entries(ID_VIEW_MODE), (std::vector<CString>{"Model", "Results", "Mesh"}));
}

// Large buttons and tooltips (the toolbars page) are the toolbar manager's
// state: they come back with the next start, and a start without a settings
// file takes them from the profile as well.
TEST_F(BrantelMainFrame, LargeButtonsAndTooltipsReturnAtTheNextStart)
{
    for (const bool withArchive : {true, false}) {
        SCOPED_TRACE(withArchive ? "with the settings file" : "without it");
        ASSERT_TRUE(Start());
        ASSERT_FALSE(Frame().GetToolBarManager()->IsLargeButtons());
        Frame().GetToolBarManager()->SetLargeButtons(TRUE);
        Frame().GetToolBarManager()->EnableToolTips(FALSE);
        EndApp();
        if (!withArchive)
            std::filesystem::remove(SettingsPath());
        m_app = std::make_unique<CBrantelApp>();
        ASSERT_TRUE(Start());
        EXPECT_TRUE(Frame().GetToolBarManager()->IsLargeButtons());
        EXPECT_FALSE(Frame().GetToolBarManager()->ToolTipsEnabled());
        Frame().GetToolBarManager()->SetLargeButtons(FALSE);
        Frame().GetToolBarManager()->EnableToolTips(TRUE);
        EndApp();
        m_app = std::make_unique<CBrantelApp>();
    }
}

// A settings file cut short (a full disk, a copy broken off): what was read
// stays, the rest keeps its defaults, and one log line names the file and
// the groups from the one being read on. The cut points fall into the
// colour scale, the units, the program's values and the thicknesses.
TEST_F(BrantelMainFrame, ASettingsFileCutShortNamesTheGroupsThatKeepTheirDefaults)
{
    int& digits = iConv[0][5][2]; // an output format's digits
    const int defaultDigits = digits;
    const UINT grid = COGL2DView::m_uiGridType;
    ASSERT_TRUE(Start());
    const std::vector<std::string> groups = m_app->SettingsGroups();
    ASSERT_EQ(groups.size(), 10u);
    digits = 6;
    COGL2DView::m_uiGridType = 3;
    Frame().m_dThickness[0] = 50.0;
    Frame().m_dActThickness = 50.0;
    EndApp();
    std::ifstream in(SettingsPath(), std::ios::binary);
    const Bytes good = Bytes(std::istreambuf_iterator<char>(in), {});
    in.close();
    const std::size_t units = 9760, program = units + 4 + 4 * 108 + 4 + 4 * 72 + 4;
    const struct {
        std::size_t length;
        const char* first; // the first group that keeps its defaults
        int digits;        // then read
        UINT grid;
    } cases[] = {
        {5000, "Colour scale", defaultDigits, 0},
        {units + 100, "Units", defaultDigits, 0},
        {program + 6, "Grid type, mesher and picked results", 6, 3}, // the grid type read
        {good.size() - 4, "Thicknesses", 6, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ASSERT_LT(c.length, good.size());
        std::ofstream(SettingsPath(), std::ios::binary)
            .write(reinterpret_cast<const char*>(good.data()), static_cast<std::streamsize>(c.length));
        digits = defaultDigits;
        COGL2DView::m_uiGridType = 0;
        m_app = std::make_unique<CBrantelApp>();
        ASSERT_TRUE(Start());
        EXPECT_EQ(digits, c.digits);
        EXPECT_EQ(COGL2DView::m_uiGridType, c.grid);
        const auto from = std::find(groups.begin(), groups.end(), c.first);
        ASSERT_NE(from, groups.end());
        CString log;
        Frame().GetLogWindow()->GetLogEdit().GetWindowText(log);
        EXPECT_EQ(std::string(log),
                  std::string(KorApp::SettingsCutLine(SettingsPath().c_str(),
                                                      std::vector<std::string>(from, groups.end()))));
        EndApp();
    }
    // The whole file: nothing to tell.
    std::ofstream(SettingsPath(), std::ios::binary)
        .write(reinterpret_cast<const char*>(good.data()), static_cast<std::streamsize>(good.size()));
    m_app = std::make_unique<CBrantelApp>();
    ASSERT_TRUE(Start());
    CString log;
    Frame().GetLogWindow()->GetLogEdit().GetWindowText(log);
    EXPECT_EQ(std::string(log), "");
    EXPECT_EQ(digits, 6);
    digits = defaultDigits;
    COGL2DView::m_uiGridType = grid;
}

// ---- File New ---------------------------------------------------------------------

TEST_F(BrantelApp, FileNewMakesTheDocumentOfTheChosenTypeElementAndMesh)
{
    struct Case {
        const char* name;
        int typeButton;
        std::vector<int> first;  // clicks on the first page
        std::vector<int> second; // clicks on the buckling document's membrane page
        std::vector<int> options; // clicks on the final page
        int templateIndex;
        int code, plateCode; // plateCode checked for buckling documents only
        int rule, points, plane;
    };
    const Case cases[] = {
        {"plate TEBA", kPlateButton, {kPlateRadios[0]}, {}, {}, 0, 66, 0, 1, 0, 0},
        {"plate T21 constrained", kPlateButton, {kPlateRadios[5], kConstrained}, {}, {1063}, 1,
         85, 0, 2, 0, 0},
        {"plate T15", kPlateButton, {kPlateRadios[3]}, {}, {}, 0, 75, 0, 1, 0, 0},
        {"membrane Q8", kMembraneButton, {kMembraneRadios[5]}, {}, {}, 2, 44, 0, 1, 2, 0},
        {"membrane Q4 strain", kMembraneButton, {kMembraneRadios[3]}, {}, {1148, 1032, 1063}, 2,
         41, 0, 2, 0, 1},
        {"membrane CST constrained", kMembraneButton, {kMembraneRadios[0], kConstrained}, {}, {},
         3, 31, 0, 1, 0, 0},
        {"buckling", kBucklingButton, {kPlateRadios[4]}, {kMembraneRadios[2]}, {1063}, 4, 33, 81,
         2, 0, 0},
    };
    StartEmpty();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        iNewDocPlateElemType = 0;
        {
            ModalScript script;
            Page(script, VokDlgFPDocType::IDD, {}, c.typeButton);
            Page(script, CDlgMeshType::IDD, c.first, kNext);
            if (c.typeButton == kBucklingButton)
                Page(script, CDlgMeshType::IDD, c.second, kNext);
            Page(script, CDlgFinal::IDD, c.options, kNext);
            const bool constrained = c.templateIndex == 1 || c.templateIndex == 3;
            if (constrained) {
                // A constrained mesh asks for its region (the default square)
                // and then for its settings.
                Page(script, CDlgQuadCreate::IDD, {}, IDOK);
                Page(script, CDlgConstrMesh::IDD, {}, IDCANCEL);
            }
            m_app->OnFileNew();
            script.Verify();
        }
        const auto docs = m_app->m_pTemplates[c.templateIndex]->GetDocuments();
        ASSERT_EQ(docs.size(), 1u);
        auto* doc = dynamic_cast<CBrantelDoc*>(docs.front());
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(iNewDocElemType, c.code);
        if (c.typeButton == kBucklingButton) {
            EXPECT_EQ(iNewDocPlateElemType, c.plateCode);
        }
        const CPlateComp* comp = doc->GetPlateComp();
        EXPECT_EQ(comp->m_iIntegrationRule, c.rule);
        EXPECT_EQ(comp->m_iIntegrationPoints, c.points);
        EXPECT_EQ(comp->m_iPlaneStrain, c.plane);
        const bool constrained = c.templateIndex == 1 || c.templateIndex == 3;
        EXPECT_EQ(comp->GetCount(), constrained ? 1 : 0);
        m_app->CloseAllDocuments(TRUE);
    }
}

TEST_F(BrantelApp, FileNewCancelledOnAnyPageMakesNothingAndOpenRunsFileOpen)
{
    StartEmpty();
    const struct {
        int pages; // pages passed with Next before Cancel
        int typeButton;
    } cases[] = {{0, kPlateButton}, {1, kPlateButton}, {2, kMembraneButton}, {1, kBucklingButton},
                 {2, kBucklingButton}, {3, kBucklingButton}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pages);
        ModalScript script;
        if (c.pages == 0) {
            Page(script, VokDlgFPDocType::IDD, {}, IDCANCEL);
        } else {
            Page(script, VokDlgFPDocType::IDD, {}, c.typeButton);
            const int meshPages = c.typeButton == kBucklingButton ? 2 : 1;
            for (int i = 1; i < c.pages; ++i)
                Page(script, i <= meshPages ? kMeshPage : kFinalPage, {}, kNext);
            Page(script, c.pages <= meshPages ? kMeshPage : kFinalPage, {}, IDCANCEL);
        }
        m_app->OnFileNew();
        script.Verify();
        EXPECT_TRUE(Documents().empty());
    }
    const std::string path = WriteDocument(RUNTIME_CLASS(CBrantelDoc), "old.plb");
    FileDialogs().Choose({path.c_str()});
    {
        ModalScript script;
        Page(script, VokDlgFPDocType::IDD, {}, IDOK); // "&Open"
        m_app->OnFileNew();
    }
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents()[0]->GetTitle(), "old.plb");
}

TEST_F(BrantelApp, FileNewBackStepsReturnToTheEarlierPages)
{
    StartEmpty();
    std::vector<int> kinds; // the kind of each element page shown
    auto meshPage = [&](int button) {
        return [&, button](DialogDriver& d, CDialog& dlg) {
            kinds.push_back(static_cast<CDlgMeshType&>(dlg).m_iKind);
            d.Click(button);
        };
    };
    {
        ModalScript script;
        Page(script, VokDlgFPDocType::IDD, {}, kPlateButton);
        script.Dialog(CDlgMeshType::IDD, meshPage(kBack));         // back to the type
        Page(script, VokDlgFPDocType::IDD, {}, kBucklingButton);
        script.Dialog(CDlgMeshType::IDD, meshPage(kNext));
        script.Dialog(CDlgMeshType::IDD, meshPage(kBack));         // back to the plate page
        script.Dialog(CDlgMeshType::IDD, meshPage(kNext));
        script.Dialog(CDlgMeshType::IDD, meshPage(kNext));
        Page(script, CDlgFinal::IDD, {}, kBack);                   // back to the first page
        script.Dialog(CDlgMeshType::IDD, meshPage(kNext));
        script.Dialog(CDlgMeshType::IDD, meshPage(kNext));
        Page(script, CDlgFinal::IDD, {}, kNext);
        m_app->OnFileNew();
    }
    EXPECT_EQ(kinds, (std::vector<int>{kindPlate, kindBucklingPlate, kindBucklingMembrane,
                                       kindBucklingPlate, kindBucklingMembrane, kindBucklingPlate,
                                       kindBucklingMembrane}));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(m_app->m_pTemplates[4]->GetDocuments().size(), 1u);
}

TEST_F(BrantelApp, WizardPagesOfferTheElementsOfTheDocumentType)
{
    StartEmpty();
    auto shown = [](DialogDriver& d, const int* ids, int count) {
        std::vector<int> visible;
        for (int i = 0; i < count; ++i)
            if (d.Visible(ids[i]))
                visible.push_back(i);
        return visible;
    };
    CString dktText, fullLabel;
    int fullChecked = -1;
    {
        ModalScript script;
        Page(script, VokDlgFPDocType::IDD, {}, kBucklingButton);
        script.Dialog(CDlgMeshType::IDD, [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(shown(d, kPlateRadios, 6), (std::vector<int>{0, 1, 3, 4, 5}));
            EXPECT_TRUE(shown(d, kMembraneRadios, 7).empty());
            EXPECT_FALSE(d.Enabled(kConstrained));
            d.Click(kNext);
        });
        script.Dialog(CDlgMeshType::IDD, [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(shown(d, kMembraneRadios, 7), (std::vector<int>{0, 1, 2}));
            EXPECT_FALSE(d.Enabled(kConstrained));
            d.Click(kNext);
        });
        Page(script, CDlgFinal::IDD, {}, IDCANCEL);
        m_app->OnFileNew();
    }
    {
        ModalScript script;
        Page(script, VokDlgFPDocType::IDD, {}, kPlateButton);
        script.Dialog(CDlgMeshType::IDD, [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(shown(d, kPlateRadios, 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
            EXPECT_EQ(d.Check(kPlateRadios[1]), 1); // DKT
            EXPECT_TRUE(d.Enabled(kConstrained));
            d.Click(kPlateRadios[3]);
            d.Click(kPlateRadios[1]);
            dktText = d.Text(1144);
            d.Click(IDCANCEL);
        });
        m_app->OnFileNew();
    }
    CString expected;
    AfxLoadString(16068, expected);
    EXPECT_FALSE(expected.IsEmpty());
    EXPECT_EQ(dktText, expected);
    {
        ModalScript script;
        Page(script, VokDlgFPDocType::IDD, {}, kMembraneButton);
        Page(script, CDlgMeshType::IDD, {kMembraneRadios[5]}, kNext);
        script.Dialog(CDlgFinal::IDD, [&](DialogDriver& d, CDialog&) {
            fullChecked = d.Check(1145);
            fullLabel = d.Text(1145);
            d.Click(IDCANCEL);
        });
        m_app->OnFileNew();
    }
    EXPECT_EQ(fullChecked, 1);
    EXPECT_EQ(fullLabel, "3x3 (full)");
}

TEST_F(BrantelApp, ABucklingDocumentNeverTakesTheConstrainedMesh)
{
    StartEmpty();
    ModalScript script;
    // Constrained mesh chosen for a plate, then back to a buckling document.
    Page(script, VokDlgFPDocType::IDD, {}, kPlateButton);
    Page(script, CDlgMeshType::IDD, {kConstrained}, kBack);
    Page(script, VokDlgFPDocType::IDD, {}, kBucklingButton);
    script.Dialog(CDlgMeshType::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Check(kConstrained), 0);
        EXPECT_EQ(d.Check(1067), 1);
        d.Click(kNext);
    });
    Page(script, CDlgMeshType::IDD, {}, kNext);
    Page(script, CDlgFinal::IDD, {}, kNext);
    m_app->OnFileNew();
    EXPECT_EQ(m_app->m_pTemplates[4]->GetDocuments().size(), 1u);
    EXPECT_TRUE(m_app->m_pTemplates[5]->GetDocuments().empty());
}

TEST_F(BrantelApp, ABucklingDocumentTakesNoElementItDoesNotOffer)
{
    StartEmpty();
    ModalScript script;
    // T6 chosen for a plate and Q8 for a membrane, then a buckling document.
    Page(script, VokDlgFPDocType::IDD, {}, kPlateButton);
    Page(script, CDlgMeshType::IDD, {kPlateRadios[2]}, kBack);
    Page(script, VokDlgFPDocType::IDD, {}, kMembraneButton);
    Page(script, CDlgMeshType::IDD, {kMembraneRadios[5]}, kBack);
    Page(script, VokDlgFPDocType::IDD, {}, kBucklingButton);
    script.Dialog(CDlgMeshType::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Check(kPlateRadios[1]), 1);
        d.Click(kNext);
    });
    script.Dialog(CDlgMeshType::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Check(kMembraneRadios[1]), 1);
        d.Click(kNext);
    });
    Page(script, CDlgFinal::IDD, {}, kNext);
    m_app->OnFileNew();
    EXPECT_EQ(iNewDocElemType, 32);
    EXPECT_EQ(iNewDocPlateElemType, 65);
}

} // namespace

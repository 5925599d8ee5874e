// The runs of the plate child frame and its document: mesh generation and
// calculation of the sample plate with the real mesher and solver, refusal
// of a second run, failure, Stop, the current folder, and the Coarser and
// Finer steps of the subdivision control value.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/analysis/solverentries.h"
#include "platform/ui/core/busy.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "solver/linalg/cancel.h"
#include "platform/ui/osmesa/viewdriver.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/ui_lists.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using afxui::headless::ToolbarCombo;

class CalcRun : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
        const char* root = std::getenv("BRANTEL_SOURCE_DIR");
        const std::string sample = std::string(root ? root : ".") + "/examples/plate.plb";
        doc = dynamic_cast<CBrantelDoc*>(m_app->OpenDocumentFile(sample.c_str()));
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = doc->GetNextView(pos);
        ASSERT_NE(view, nullptr);
        frame = dynamic_cast<CChildFrame*>(view->GetParentFrame());
        ASSERT_NE(frame, nullptr);
        log = RunLogWindow();
        ASSERT_NE(log, nullptr);
    }
    void TearDown() override
    {
        SetBusyRunner({});
        bCalcRunning = false;
        AppTest::TearDown();
    }
    void Send(UINT id) { frame->SendMessage(WM_COMMAND, id); }
    std::string LogText()
    {
        CString text;
        log->GetLogEdit().GetWindowText(text);
        return std::string(static_cast<LPCTSTR>(text));
    }
    std::string ErrorText()
    {
        CString text;
        log->GetErrorEdit().GetWindowText(text);
        return std::string(static_cast<LPCTSTR>(text));
    }
    int ActiveTab() { return log->GetTabWnd().GetActiveTab(); }
    CPlateComp& Comp() { return *doc->GetPlateComp(); }

    CBrantelDoc* doc = nullptr;
    CChildFrame* frame = nullptr;
    KorLogWnd* log = nullptr;
};

TEST_F(CalcRun, MeshesAndCalculatesTheSamplePlate)
{
    const auto before = std::filesystem::current_path();
    // What the component holds while it calculates.
    bool listsLent = false;
    bool runningInside = false;
    SetBusyRunner([&](const std::function<bool()>& run) {
        listsLent = Comp().m_pPrintNodes == &doc->m_lvOutputNodes &&
                    Comp().m_pPrintElems == &doc->m_lvOutputElems;
        runningInside = bCalcRunning;
        return run();
    });
    Send(ID_GENERATE_MESH);
    EXPECT_TRUE(doc->m_bMeshValid);
    EXPECT_GT(Comp().GetElementCount(false), 0);
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_TRUE(runningInside);

    Send(ID_CALCULATE);
    EXPECT_TRUE(doc->m_bMeshValid);
    EXPECT_TRUE(listsLent) << "empty print lists are still lent";
    EXPECT_EQ(Comp().m_pPrintNodes, nullptr);
    EXPECT_EQ(Comp().m_pPrintElems, nullptr);
    EXPECT_FALSE(bCalcRunning);
    EXPECT_EQ(std::filesystem::current_path(), before);

    const std::string text = LogText();
    const auto mesh = text.find("\r\n ************** Mesh *****************\r\n"
                                "\r\n--- Preparing mesh. Please wait.\r\n");
    const auto calc = text.find("\r\n ************** CALCULATE *****************\r\n"
                                "--- calculating. Please wait.\r\n");
    EXPECT_NE(mesh, std::string::npos) << text;
    EXPECT_NE(calc, std::string::npos) << text;
    EXPECT_LT(mesh, calc);
    EXPECT_EQ(ErrorText(), "");
    EXPECT_EQ(ActiveTab(), 0);
    EXPECT_TRUE(Beeper().Beeps().empty());
    EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(CalcRun, ASecondRunIsRefusedWhileOneIsActive)
{
    for (UINT id : {ID_GENERATE_MESH, ID_CALCULATE, ID_UNIFORM_REFINE}) {
        SCOPED_TRACE(id);
        doc->m_bMeshValid = true;
        const std::string text = LogText();
        bCalcRunning = true;
        Boxes().Expect(kOneCalculationText);
        Send(id);
        Boxes().Verify();
        EXPECT_TRUE(bCalcRunning);
        EXPECT_TRUE(doc->m_bMeshValid);
        EXPECT_EQ(LogText(), text);
        bCalcRunning = false;
    }
}

TEST_F(CalcRun, AFailedRunShowsItsErrorsAndLeavesNoValidMesh)
{
    const auto before = std::filesystem::current_path();
    struct Case {
        UINT id;
        bool box;
    };
    for (const Case c : {Case{ID_GENERATE_MESH, false}, Case{ID_CALCULATE, true}}) {
        SCOPED_TRACE(c.id);
        // The mesh is made first, so that the component's run is what
        // fails.
        if (c.id == ID_CALCULATE) {
            SetBusyRunner({});
            Send(ID_GENERATE_MESH);
            ASSERT_GT(Comp().GetElementCount(false), 0);
        }
        doc->m_bMeshValid = true;
        // The component fails without running.
        SetBusyRunner([](const std::function<bool()>&) { return false; });
        if (c.box)
            Boxes().Expect("An error occurred while calculating");
        const std::size_t beeps = Beeper().Beeps().size();
        Send(c.id);
        Boxes().Verify();
        EXPECT_FALSE(doc->m_bMeshValid) << "no results belong to a failed run";
        EXPECT_EQ(ActiveTab(), 1);
        ASSERT_EQ(Beeper().Beeps().size(), beeps + 1);
        EXPECT_EQ(Beeper().Beeps().back(), std::make_pair(DWORD(100), DWORD(175)));
        EXPECT_FALSE(bCalcRunning);
        EXPECT_EQ(std::filesystem::current_path(), before);
    }
}

TEST_F(CalcRun, StopEndsOnlyTheRunningRun)
{
    // Stop is offered only while a run is active.
    EXPECT_FALSE(AfxQueryCommandUI(frame, ID_STOP_CALCULATE).bEnabled);
    bool offered = false;
    SetBusyRunner([&](const std::function<bool()>& run) {
        offered = AfxQueryCommandUI(frame, ID_STOP_CALCULATE).bEnabled != FALSE;
        return run();
    });
    Send(ID_GENERATE_MESH);
    EXPECT_TRUE(offered);
    ASSERT_TRUE(doc->m_bMeshValid);

    // A stop that reaches the document while nothing runs cancels nothing.
    Send(ID_STOP_CALCULATE);
    Send(ID_CALCULATE);
    EXPECT_TRUE(doc->m_bMeshValid);
    const std::string::size_type mark = LogText().size();

    // Stop pressed while the component calculates: it ends with its
    // cancellation text; no error is reported.
    const auto stopThenRun = [&](const std::function<bool()>& run) {
        doc->OnCmdMsg(ID_STOP_CALCULATE, CN_COMMAND, nullptr, nullptr);
        return run();
    };
    SetBusyRunner(stopThenRun);
    Send(ID_CALCULATE);
    EXPECT_NE(LogText().find("*** Execution cancelled by user ***\r\n", mark), std::string::npos);
    EXPECT_FALSE(doc->m_bMeshValid);
    EXPECT_EQ(ActiveTab(), 0) << "a stop is no error";

    // Stop pressed while the mesher works (it reports failure).
    SetBusyRunner([&](const std::function<bool()>& run) {
        run();
        doc->OnCmdMsg(ID_STOP_CALCULATE, CN_COMMAND, nullptr, nullptr);
        return false;
    });
    doc->m_bMeshValid = true;
    Send(ID_GENERATE_MESH);
    EXPECT_FALSE(doc->m_bMeshValid);
    EXPECT_EQ(ActiveTab(), 0) << "a stop is no error";
    EXPECT_FALSE(bCalcRunning);

    SetBusyRunner({});
    Send(ID_GENERATE_MESH);
    Send(ID_CALCULATE);
    EXPECT_TRUE(doc->m_bMeshValid) << "the stop of the last run does not cancel this one";
    EXPECT_TRUE(Boxes().Shown().empty());
}

// A plate-bending solver that works until it is stopped. It names two of
// its phases and at each asks a question (a message box, which the window
// thread shows for it), then waits for the stop request and ends as the
// library does, with the stopped status.
std::thread::id g_solverThread;

void SolverUntilStopped(std::int32_t*, std::int32_t*, double*, double*, double*, double*, std::int32_t*, double*,
                        double*, double*, std::int32_t*, std::int32_t*, std::int32_t* status)
{
    g_solverThread = std::this_thread::get_id();
    solvika::setRunPhase(solvika::RunPhase::assembling);
    AfxMessageBox("probe assembling");
    solvika::setRunPhase(solvika::RunPhase::factorising);
    AfxMessageBox("probe factorising");
    // A bound against a hang of the test, far above the stop's way.
    for (int i = 0; i < 2000 && !solvika::cancelRequested(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    solvika::setRunPhase(solvika::RunPhase::none);
    status[0] = solvika::cancelRequested() ? solvika::kStatusCancelled : -20;
}

// Answers the run's questions on the window thread and looks around there:
// the status bar's progress line, a second Calculate, and Stop (as Esc
// sends it).
class WindowThreadProbe : public CMessageService
{
public:
    explicit WindowThreadProbe(CChildFrame& frame) : m_frame(frame), m_previous(AfxSetMessageService(this)) {}
    ~WindowThreadProbe() override { AfxSetMessageService(m_previous); }
    int MessageBox(LPCTSTR lpszText, LPCTSTR, UINT) override
    {
        const std::string text = lpszText;
        boxes.push_back(text);
        onWindowThread = onWindowThread && std::this_thread::get_id() == m_window;
        if (text == kAfxBusyCloseQuestion)
            return closeAnswer;
        if (text.rfind("probe ", 0) != 0)
            return IDNO;
        auto* main = dynamic_cast<KorMainFrm*>(AfxGetMainWnd());
        if (main)
            status.push_back(std::string(static_cast<LPCTSTR>(main->GetStatusBarWnd().GetPaneText(0))));
        if (text == "probe factorising") {
            running = bCalcRunning;
            if (closeTarget) {
                // The user closes the document's window.
                AfxUserClose(closeTarget);
                return IDOK;
            }
            m_frame.SendMessage(WM_COMMAND, ID_CALCULATE); // refused
            AfxBusyStop();
        }
        return IDOK;
    }

    std::vector<std::string> boxes;
    std::vector<std::string> status;
    bool onWindowThread = true;
    bool running = false;
    HWND closeTarget = nullptr; // closed at the second probe instead of Stop
    int closeAnswer = IDNO;

private:
    CChildFrame& m_frame;
    std::thread::id m_window = std::this_thread::get_id();
    CMessageService* m_previous;
};

TEST_F(CalcRun, ACalculationWorksOffTheWindowThreadAndStopEndsIt)
{
    // The mesh is made on the worker thread too, by the real mesher.
    Send(ID_GENERATE_MESH);
    ASSERT_TRUE(doc->m_bMeshValid);
    const int elements = Comp().GetElementCount(false);
    const int nodes = Comp().GetNodeCount(false);
    const std::string::size_type mark = LogText().size();
    const std::size_t beeps = Beeper().Beeps().size();

    const SolverEntryTable previous = SetSolverEntries({nullptr, &SolverUntilStopped, nullptr, nullptr});
    g_solverThread = {};
    struct Seen {
        std::vector<std::string> boxes, status;
        bool onWindowThread = false, running = false;
    } seen;
    {
        WindowThreadProbe probe(*frame);
        Send(ID_CALCULATE);
        seen = {probe.boxes, probe.status, probe.onWindowThread, probe.running};
    }
    SetSolverEntries(previous);

    EXPECT_NE(g_solverThread, std::thread::id{});
    EXPECT_NE(g_solverThread, std::this_thread::get_id()) << "the solver ran on the window thread";
    EXPECT_TRUE(seen.onWindowThread) << "a message box was shown off the window thread";
    // The run's questions, and the second Calculate's refusal between them.
    EXPECT_EQ(seen.boxes,
              (std::vector<std::string>{"probe assembling", "probe factorising", kOneCalculationText}));
    ASSERT_EQ(seen.status.size(), 2u);
    EXPECT_EQ(seen.status[0].rfind("Calculating: assembling", 0), 0u) << seen.status[0];
    EXPECT_EQ(seen.status[1].rfind("Calculating: factorising", 0), 0u) << seen.status[1];
    EXPECT_TRUE(seen.running);

    // Stopped: the cancellation text, no error, no valid results, the mesh
    // as it was, and the run's steps finished.
    EXPECT_NE(LogText().find("*** Execution cancelled by user ***\r\n", mark), std::string::npos);
    EXPECT_EQ(LogText().find("*** Calculation returned with error ***", mark), std::string::npos);
    EXPECT_EQ(ActiveTab(), 0);
    EXPECT_EQ(Beeper().Beeps().size(), beeps);
    EXPECT_FALSE(doc->m_bMeshValid);
    EXPECT_EQ(Comp().GetElementCount(false), elements);
    EXPECT_EQ(Comp().GetNodeCount(false), nodes);
    EXPECT_FALSE(bCalcRunning);
    EXPECT_FALSE(AfxIsBusy());

    // The next run is a normal one.
    Send(ID_CALCULATE);
    EXPECT_TRUE(doc->m_bMeshValid);
}

TEST_F(CalcRun, ClosingTheDocumentDuringARunAsksThenStopsAndCloses)
{
    Send(ID_GENERATE_MESH);
    ASSERT_TRUE(doc->m_bMeshValid);
    doc->SetModifiedFlag(FALSE);
    const SolverEntryTable previous = SetSolverEntries({nullptr, &SolverUntilStopped, nullptr, nullptr});
    std::vector<std::string> boxes;
    bool running = false;
    {
        WindowThreadProbe probe(*frame);
        probe.closeTarget = frame->GetSafeHwnd();
        probe.closeAnswer = IDYES;
        Send(ID_CALCULATE);
        boxes = probe.boxes;
        running = probe.running;
        // The close comes after the run's last steps: the frame is there
        // until the posted close is delivered.
        EXPECT_NE(CWnd::FromHandle(probe.closeTarget), nullptr);
        PumpPosted();
        EXPECT_EQ(CWnd::FromHandle(probe.closeTarget), nullptr) << "the document's window stayed";
    }
    SetSolverEntries(previous);
    EXPECT_TRUE(running);
    EXPECT_EQ(boxes, (std::vector<std::string>{"probe assembling", "probe factorising", kAfxBusyCloseQuestion}));
    EXPECT_FALSE(bCalcRunning);
    EXPECT_FALSE(AfxIsBusy());
    frame = nullptr;
    doc = nullptr;
}

TEST_F(CalcRun, CoarserAndFinerStepTheSubdivisionControl)
{
    const int defaultCount = Comp().AutoSubdivisions(0.0, 0.0);
    struct Case {
        UINT id;
        int value;
        int expected;
        bool meshValid;
    };
    const Case cases[] = {
        {ID_COARSER, 10, 9, false},  {ID_FINER, 10, 11, false},
        {ID_FINER, 9, 10, false},    {ID_COARSER, 15, 13, false},
        {ID_COARSER, 20, 18, false}, {ID_FINER, 20, 22, false},
        {ID_FINER, 0, 1, false},     {ID_COARSER, 0, 0, true},
        {ID_FINER, -4, CChildFrame::StepSubdivisions(defaultCount, true, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " at " << c.value);
        Comp().m_iSubdivisions = c.value;
        doc->m_bMeshValid = true;
        Send(c.id);
        EXPECT_EQ(Comp().m_iSubdivisions, c.expected);
        EXPECT_EQ(doc->m_bMeshValid, c.meshValid);
    }
    // Offered exactly under subdivision control.
    for (bool control : {true, false}) {
        Comp().m_bAutoSpacing = control;
        EXPECT_EQ(AfxQueryCommandUI(frame, ID_COARSER).bEnabled != FALSE, control);
        EXPECT_EQ(AfxQueryCommandUI(frame, ID_FINER).bEnabled != FALSE, control);
    }
    // Nothing while a run is active.
    Comp().m_iSubdivisions = 10;
    bCalcRunning = true;
    Send(ID_FINER);
    bCalcRunning = false;
    EXPECT_EQ(Comp().m_iSubdivisions, 10);
}

TEST_F(CalcRun, SmoothingNeedsNoFreeRunAndWritesNoLog)
{
    Send(ID_GENERATE_MESH);
    Send(ID_CALCULATE);
    ASSERT_TRUE(doc->m_bMeshValid);
    const std::string text = LogText();
    bCalcRunning = true;
    Send(ID_SMOOTH);
    EXPECT_TRUE(bCalcRunning);
    bCalcRunning = false;
    EXPECT_EQ(LogText(), text);
    EXPECT_TRUE(Boxes().Shown().empty());
    EXPECT_TRUE(doc->m_bMeshValid);
}

TEST_F(CalcRun, NumberSwitchesToggle)
{
    Send(ID_SHOW_NODE_NUMBERS);
    EXPECT_TRUE(frame->m_bShowNodeNumbers);
    EXPECT_FALSE(frame->m_bShowElemNumbers);
    Send(ID_SHOW_ELEM_NUMBERS);
    Send(ID_SHOW_NODE_NUMBERS);
    EXPECT_FALSE(frame->m_bShowNodeNumbers);
    EXPECT_TRUE(frame->m_bShowElemNumbers);
    EXPECT_EQ(AfxQueryCommandUI(frame, ID_SHOW_NODE_NUMBERS).nCheck, 0);
    EXPECT_EQ(AfxQueryCommandUI(frame, ID_SHOW_ELEM_NUMBERS).nCheck, 1);
}

TEST_F(CalcRun, UniformRefinementQuartersTheElementsAndKeepsTheFolder)
{
    Send(ID_GENERATE_MESH);
    const int elements = Comp().GetElementCount(false);
    ASSERT_GT(elements, 0);
    const auto before = std::filesystem::current_path();
    const std::string::size_type mark = LogText().size();
    Send(ID_UNIFORM_REFINE);
    EXPECT_EQ(Comp().GetElementCount(false), 4 * elements);
    EXPECT_EQ(LogText().find("\r\n ************** Refining *****************"
                             "\r\n--- Refining mesh. Please wait.\r\n",
                             mark),
              mark);
    EXPECT_FALSE(bCalcRunning);
    EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(CalcRun, PrintListsChangeOnOkOnly)
{
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        doc->m_lvOutputNodes.Allocate(1, true, 5);
        doc->m_lvOutputElems.Allocate(0, false, 0);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& dlg) {
            auto& sheet = static_cast<CPropertySheet&>(dlg);
            CString caption;
            sheet.GetWindowText(caption);
            EXPECT_EQ(caption, "Logfile print options");
            ASSERT_EQ(sheet.GetPageCount(), 2);
            EXPECT_EQ(sheet.GetPage(0)->GetTitle(), "Nodes");
            EXPECT_EQ(sheet.GetPage(1)->GetTitle(), "Elements");
            brantel::test::TypeEditorLines(d, *sheet.GetPage(0), IDC_NUMBER_ITEMS, {"3", "7"});
            d.ActivatePage(1);
            brantel::test::TypeEditorLines(d, *sheet.GetPage(1), IDC_NUMBER_ITEMS, {"12"});
            if (ok)
                d.PressOK();
            else
                d.PressCancel();
        });
        Send(ID_NODE_ELEMENT_OUTPUT);
        EXPECT_EQ(script.Taken(), 1);
        const auto values = [](const CLongVector& v) {
            return std::vector<LONG>(v.GetVector(), v.GetVector() + v.GetSize());
        };
        const std::vector<LONG> nodesAfter = ok ? std::vector<LONG>{3, 7} : std::vector<LONG>{5};
        const std::vector<LONG> elemsAfter = ok ? std::vector<LONG>{12} : std::vector<LONG>{};
        EXPECT_EQ(values(doc->m_lvOutputNodes), nodesAfter);
        EXPECT_EQ(values(doc->m_lvOutputElems), elemsAfter);
    }
}

TEST_F(CalcRun, ExtremesTableListsEveryResultOfTheFamily)
{
    Send(ID_GENERATE_MESH);
    Send(ID_CALCULATE);
    ASSERT_TRUE(doc->m_bMeshValid);
    ASSERT_EQ(Comp().GetElementType(), 81);
    Comp().SetActVal(2);
    std::vector<std::vector<CString>> columns;
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(VokDlgMaxMinVals), [&](DialogDriver& d, CDialog& dlg) {
        auto& table = static_cast<VokDlgMaxMinVals&>(dlg);
        for (CStringArray* column :
             {table.m_pColumn1, table.m_pColumn2, table.m_pColumn3, table.m_pColumn4}) {
            ASSERT_NE(column, nullptr);
            std::vector<CString> texts;
            for (int i = 0; i < column->GetSize(); ++i)
                texts.push_back(column->GetAt(i));
            columns.push_back(texts);
        }
        d.PressOK();
    });
    Send(ID_MAX_MIN_RESULTS);
    ASSERT_EQ(script.Taken(), 1);
    EXPECT_EQ(Comp().GetActVal(), 2);
    ASSERT_EQ(columns.size(), 4u);
    std::vector<CString> names;
    for (int i = 0; i < g_arThickPlateResults.GetSize(); ++i)
        names.push_back(g_arThickPlateResults.GetAt(i));
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(columns[0], names);
    for (const auto& column : columns)
        EXPECT_EQ(column.size(), 11u);
    // The deflection "w" of the sample: about 0.2111 mm at its largest.
    ASSERT_EQ(names[5], "w");
    const double wmax = std::max(std::abs(std::atof(columns[1][5])), std::abs(std::atof(columns[2][5])));
    EXPECT_NEAR(wmax, 0.2111, 0.02 * 0.2111) << columns[1][5] << " " << columns[2][5];
    for (const auto& unit : columns[3])
        EXPECT_EQ(std::string(static_cast<LPCTSTR>(unit)).find("^2"), std::string::npos) << unit;

    // No family: nothing is shown.
    ModalScript none;
    Comp().m_iElemType = 99;
    Send(ID_MAX_MIN_RESULTS);
    Comp().m_iElemType = 81;
    EXPECT_EQ(none.Taken(), 0);
}

TEST_F(CalcRun, AMissingSolverLogIsReported)
{
    const CString folder = doc->ActivateLogDir(false);
    std::error_code made;
    std::filesystem::create_directories(static_cast<LPCTSTR>(folder), made);
    for (const auto& [id, name] :
         {std::pair{ID_VIEW_LOGFILE, "Brantel.log"}, std::pair{ID_VIEW_BUCKLING_LOGFILE, "Brantel_B.log"}}) {
        std::error_code ignored;
        std::filesystem::remove(std::string(static_cast<LPCTSTR>(folder)) + "/" + name, ignored);
        Boxes().Expect(std::string("The file \"") + name + "\" was not found in\n\"" +
                       static_cast<LPCTSTR>(folder) + "\".");
        Send(id);
        Boxes().Verify();
    }
}

TEST_F(CalcRun, RunsWriteTheirLogsIntoTheLogFolderNeverTheCurrentOne)
{
    // A first start: not even the settings folder exists yet.
    std::error_code ignored;
    std::filesystem::remove_all(m_folder + "/config", ignored);
    const auto before = std::filesystem::current_path();
    const std::string scratch = m_folder + "/scratch";
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
    Send(ID_GENERATE_MESH);
    Send(ID_CALCULATE);
    const bool valid = doc->m_bMeshValid;
    std::filesystem::current_path(before);
    ASSERT_TRUE(valid);
    EXPECT_TRUE(std::filesystem::is_empty(scratch)) << "a log was written into the current folder";
    const std::string written = m_folder + "/config/Vornetic/Ext/log/Brantel.log";
    EXPECT_TRUE(std::filesystem::is_regular_file(written));
    // "View logfile" opens the file that run wrote.
    Send(ID_VIEW_LOGFILE);
    ASSERT_FALSE(Opener().Opened().empty());
    EXPECT_EQ(std::filesystem::path(static_cast<LPCTSTR>(Opener().Opened().back())).lexically_normal(),
              std::filesystem::path(written));
}

TEST_F(CalcRun, ElementAndMeshControlAppliesOnOkOnly)
{
    constexpr int kStoragePage = 1;
    constexpr int kSkylineStorage = 16054;
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        Comp().m_iStorage = 2;
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& dlg) {
            CString caption;
            dlg.GetWindowText(caption);
            EXPECT_EQ(caption, "Element and mesh control");
            d.ActivatePage(kStoragePage);
            d.Click(kSkylineStorage);
            if (ok)
                d.PressOK();
            else
                d.PressCancel();
        });
        Send(ID_ELEM_MESH_CONTROL);
        EXPECT_EQ(script.Taken(), 1);
        EXPECT_EQ(Comp().m_iStorage, ok ? 1 : 2);
    }
}

TEST_F(CalcRun, TheModeComboSwitchesTheFramesView)
{
    auto* main = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    ToolbarCombo combo(*main->GetToolBarManager(), ID_VIEW_MODE);
    for (std::size_t i = 0; i < 12; ++i)
        frame->m_pViewParams[i] = 100.0 + double(i);
    struct Case {
        int index;
        UINT mode;
        CRuntimeClass* view;
    };
    const Case cases[] = {
        {2, ID_MODE_ELEMENTS, RUNTIME_CLASS(CElemModView)},
        {0, ID_MODE_MODELLING, RUNTIME_CLASS(CBrantelModView)},
        {2, ID_MODE_ELEMENTS, RUNTIME_CLASS(CElemModView)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        combo.UserSelect(c.index);
        EXPECT_EQ(frame->m_nViewID, c.mode);
        ASSERT_NE(frame->GetActiveView(), nullptr);
        EXPECT_TRUE(frame->GetActiveView()->IsKindOf(c.view));
        EXPECT_EQ(frame->GetActiveView()->GetDocument(), doc);
        // Zoom and position go over to the new view.
        for (std::size_t i = 0; i < 12; ++i)
            EXPECT_EQ(frame->m_pViewParams[i], 100.0 + double(i)) << i;
    }
    // Activation shows the frame's mode in the combo.
    main->SetViewModeSel(0);
    frame->SendMessage(WM_CHILDACTIVATE);
    EXPECT_EQ(main->GetToolbarCombo(ID_VIEW_MODE)->GetCurSel(), 2);
}

TEST_F(CalcRun, TheFirstSwitchToResultsTurnsScalesAndZoomsTheView)
{
    auto* main = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    ToolbarCombo combo(*main->GetToolBarManager(), ID_VIEW_MODE);
    // The results view draws on an OSMesa surface.
    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = AfxGetOffscreenFactory();
    AfxSetOffscreenFactory(&factory);
    const UINT settings = KorChildFrm::m_uiStChldFrmSett;
    KorChildFrm::m_uiStChldFrmSett = 0;
    Send(ID_GENERATE_MESH);
    Send(ID_CALCULATE);
    ASSERT_TRUE(doc->m_bMeshValid);
    ASSERT_EQ(Comp().GetFactor(), -1.0);
    frame->m_pViewParams[3] = 0.0;

    // The view is hosted on the fixture's off-screen surface.
    combo.UserSelect(1);
    EXPECT_EQ(frame->m_nViewID, ID_MODE_RESULTS);
    auto* view = dynamic_cast<CBrantelResView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(view->m_dAngX, 315.0);
    EXPECT_EQ(view->m_dAngY, 0.0);
    EXPECT_EQ(view->m_dAngZ, 30.0);
    EXPECT_GT(Comp().GetFactor(), 0.0) << "the value scale is normalised";
    std::vector<double> params(static_cast<std::size_t>(view->GetNumViewParams()), 0.0);
    view->SetViewParam(params.data(), true);
    EXPECT_NE(params[3], 0.0) << "zoomed to fit";

    KorChildFrm::m_uiStChldFrmSett = settings;

    // The results view's own mesh and calculate commands reach the frame's
    // runs; a new mesh drops the picks first.
    auto* res = dynamic_cast<CBrantelResView*>(frame->GetActiveView());
    ASSERT_NE(res, nullptr);
    res->m_Picks.m_iPendingIndex = 3;
    const std::string banner = "************** Mesh";
    const std::string calcBanner = "************** CALCULATE";
    auto count = [&](const std::string& what) {
        const std::string text = LogText();
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    Send(ID_GENERATE_MESH);
    EXPECT_EQ(res->m_Picks.m_iPendingIndex, 0);
    EXPECT_EQ(count(banner), 2);
    Send(ID_CALCULATE);
    EXPECT_EQ(count(calcBanner), 2);
    EXPECT_TRUE(doc->m_bMeshValid);
    EXPECT_EQ(ErrorText(), "");
    combo.UserSelect(0);
    AfxSetOffscreenFactory(previousFactory);
}

// The views that the frame makes draw on OSMesa surfaces of 800 x 600
// pixels, as a window host would give them.
class ViewsOnOSMesa
{
public:
    ViewsOnOSMesa()
    {
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        m_previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&m_factory);
        m_previousProvider = AfxSetGLHostProvider([this](HWND hWnd) -> IGLSurface* {
            CWnd* view = CWnd::FromHandle(hWnd);
            if (!view)
                return nullptr;
            m_drivers.push_back(std::make_unique<ViewDriver>(*view, 800, 600));
            if (dynamic_cast<CBrantelResView*>(view))
                m_results = m_drivers.back().get();
            return &m_drivers.back()->Surface();
        });
    }
    ~ViewsOnOSMesa()
    {
        // The views still alive go with their hosts, the newest first.
        while (!m_drivers.empty())
            m_drivers.pop_back();
        AfxSetGLHostProvider(std::move(m_previousProvider));
        AfxSetOffscreenFactory(m_previousFactory);
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
    }
    // The driver of the results view made last (null before any).
    ViewDriver* Results() { return m_results; }

private:
    COSMesaOffscreenFactory m_factory;
    IOffscreenFactory* m_previousFactory = nullptr;
    AfxGLHostProvider m_previousProvider;
    std::vector<std::unique_ptr<ViewDriver>> m_drivers;
    ViewDriver* m_results = nullptr;
};

// The distinct colours of the image's pixels in the rectangle.
std::size_t DistinctColours(const ViewDriver& driver, CRect rect)
{
    std::set<std::array<std::uint8_t, 4>> colours;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            colours.insert(driver.Pixel(x, y));
    return colours.size();
}

// The sample plate from its file to its deflection plot, as a user works:
// mesh and calculate through the main frame's routing, the results mode
// through the mode combo and "w" through the result combo.
TEST_F(CalcRun, TheSamplePlateFromFileToItsDeflectionPlot)
{
    auto* main = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    ViewsOnOSMesa host;
    main->SendCommand(ID_GENERATE_MESH);
    main->SendCommand(ID_CALCULATE);
    ASSERT_TRUE(doc->m_bMeshValid);
    ToolbarCombo(*main->GetToolBarManager(), ID_VIEW_MODE).UserSelect(1);
    auto* view = dynamic_cast<CBrantelResView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    ASSERT_NE(host.Results(), nullptr);
    ViewDriver& driver = *host.Results();
    driver.Size(800, 600);

    auto* results = dynamic_cast<CComboBox*>(main->GetToolbarCombo(ID_RESULT_COMPONENT));
    ASSERT_NE(results, nullptr);
    std::vector<CString> names;
    for (int i = 0; i < results->GetCount(); ++i) {
        CString name;
        results->GetLBText(i, name);
        names.push_back(name);
    }
    std::vector<CString> thickPlate;
    for (int i = 0; i < g_arThickPlateResults.GetSize(); ++i)
        thickPlate.push_back(g_arThickPlateResults.GetAt(i));
    ASSERT_EQ(thickPlate.size(), 11u);
    EXPECT_EQ(names, thickPlate);
    const auto w = std::find(names.begin(), names.end(), CString("w"));
    ASSERT_NE(w, names.end());
    ToolbarCombo(*main->GetToolBarManager(), ID_RESULT_COMPONENT).UserSelect(int(w - names.begin()));
    EXPECT_EQ(Comp().GetActVal(), int(w - names.begin()));

    const std::string text = LogText();
    EXPECT_NE(text.find(" ************** Mesh *****************"), std::string::npos) << text;
    EXPECT_NE(text.find(" ************** CALCULATE *****************"), std::string::npos) << text;
    EXPECT_EQ(ErrorText(), "");
    EXPECT_EQ(ActiveTab(), 0);

    driver.Draw();
    driver.DumpPng("plate-deflection-osmesa");
    // The legend stands in the left two sevenths of the window.
    EXPECT_GE(DistinctColours(driver, CRect(0, 0, 800 * 2 / 7, 600)), 200u);
    // The deflection is largest at the plate's centre and 0 at its corners.
    double xmax, ymax, xmin, ymin, max, min;
    Comp().GetMaxMinCoord(xmax, ymax, xmin, ymin);
    Comp().GetMaxMinResult(max, min, nullptr);
    const auto pixel = [&](double x, double y, double value) {
        view->m_dCursZ = value * Comp().GetFactor();
        view->GetScreenCoord(x, y);
        return driver.Pixel(int(x), int(y));
    };
    const double inset = 0.05 * (xmax - xmin);
    const auto centre = pixel((xmax + xmin) / 2, (ymax + ymin) / 2, std::fabs(max) > std::fabs(min) ? max : min);
    const auto corner = pixel(xmin + inset, ymin + inset, 0.0);
    EXPECT_NE(centre, corner);
    const auto background = driver.Pixel(799, 0);
    EXPECT_NE(centre, background);
    EXPECT_NE(corner, background);

    std::vector<CString> maxima;
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(VokDlgMaxMinVals), [&](DialogDriver& d, CDialog& dlg) {
        auto& table = static_cast<VokDlgMaxMinVals&>(dlg);
        maxima = {table.m_pColumn2->GetAt(w - names.begin()), table.m_pColumn3->GetAt(w - names.begin())};
        d.PressOK();
    });
    main->SendCommand(ID_MAX_MIN_RESULTS);
    ASSERT_EQ(maxima.size(), 2u);
    const double largest = std::max(std::fabs(std::atof(maxima[0])), std::fabs(std::atof(maxima[1])));
    EXPECT_NEAR(largest, 0.2111, 0.02 * 0.2111);
    EXPECT_TRUE(Boxes().Shown().empty());
}

// Later switches to results keep the value scale the user set, unless
// "Automatically scale results" is on, which normalises it at each switch.
TEST_F(CalcRun, ALaterSwitchToResultsScalesOnlyWithAutomaticScaling)
{
    auto* main = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    ViewsOnOSMesa host;
    ToolbarCombo mode(*main->GetToolBarManager(), ID_VIEW_MODE);
    const UINT settings = KorChildFrm::m_uiStChldFrmSett;
    Send(ID_GENERATE_MESH);
    Send(ID_CALCULATE);
    ASSERT_TRUE(doc->m_bMeshValid);
    mode.UserSelect(1);
    const double normalised = Comp().GetFactor();
    ASSERT_GT(normalised, 0.0) << "the first switch normalises";
    for (const bool automatic : {false, true}) {
        SCOPED_TRACE(automatic);
        KorChildFrm::m_uiStChldFrmSett = automatic ? settings | CMainFrame::kAutoScaleBit
                                                   : settings & ~CMainFrame::kAutoScaleBit;
        mode.UserSelect(0);
        Comp().SetFactor(3.0 * normalised);
        mode.UserSelect(1);
        ASSERT_EQ(frame->m_nViewID, ID_MODE_RESULTS);
        EXPECT_DOUBLE_EQ(Comp().GetFactor(), automatic ? normalised : 3.0 * normalised);
    }
    KorChildFrm::m_uiStChldFrmSett = settings;
    mode.UserSelect(0);
}

} // namespace

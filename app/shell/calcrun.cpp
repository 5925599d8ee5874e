#include "app/shell/calcrun.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/analysis/analysis.h"
#include "app/analysis/solverentries.h"
#include "app/shell/branteldoc.h"
#include "app/shell/brantelresview.h"
#include "app/shell/mainframe.h"
#include "app/shell/shellids.h"
#include "dialogs/pavesta.h"
#include "platform/dimvor/units.h"
#include "platform/afx/progress.h"
#include "platform/ui/core/busy.h"

bool bCalcRunning = false;

namespace
{

BusyRunner& Runner()
{
    static BusyRunner runner;
    return runner;
}

// Hands the document's print lists to the component for the scope only.
class PrintListLoan
{
public:
    PrintListLoan(CPlateComp& comp, CLongVector& nodes, CLongVector& elems) : m_comp(comp)
    {
        m_comp.m_pPrintElems = &elems;
        m_comp.m_pPrintNodes = &nodes;
    }
    ~PrintListLoan()
    {
        m_comp.m_pPrintElems = nullptr;
        m_comp.m_pPrintNodes = nullptr;
    }
    PrintListLoan(const PrintListLoan&) = delete;
    PrintListLoan& operator=(const PrintListLoan&) = delete;

private:
    CPlateComp& m_comp;
};

} // namespace

BusyRunner SetBusyRunner(BusyRunner runner)
{
    BusyRunner old = std::move(Runner());
    Runner() = std::move(runner);
    return old;
}

namespace
{

// What the window thread and a run's worker thread share: a call the
// worker hands over (a message box of the run) and the end of the run.
struct WorkerRun {
    std::mutex mutex;
    std::condition_variable changed;
    const std::function<void()>* call = nullptr; // waiting for the window thread
    bool callDone = false;
    bool finished = false;
};

// While a worker runs, message boxes asked for on it are shown by the
// window thread (the worker waits for the answer); those of the window
// thread itself go straight to the service they replace.
class MarshallingMessages : public CMessageService
{
public:
    explicit MarshallingMessages(WorkerRun& run)
        : m_run(run), m_window(std::this_thread::get_id()), m_previous(AfxSetMessageService(this))
    {
    }
    ~MarshallingMessages() override { AfxSetMessageService(m_previous); }
    MarshallingMessages(const MarshallingMessages&) = delete;
    MarshallingMessages& operator=(const MarshallingMessages&) = delete;

    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) override
    {
        if (std::this_thread::get_id() == m_window)
            return m_previous->MessageBox(lpszText, lpszCaption, nType);
        int answer = IDCANCEL;
        const std::function<void()> call = [&] { answer = m_previous->MessageBox(lpszText, lpszCaption, nType); };
        std::unique_lock lock(m_run.mutex);
        m_run.call = &call;
        m_run.callDone = false;
        m_run.changed.notify_all();
        m_run.changed.wait(lock, [&] { return m_run.callDone; });
        m_run.call = nullptr;
        return answer;
    }

private:
    WorkerRun& m_run;
    std::thread::id m_window;
    CMessageService* m_previous;
};

std::atomic<const char*>& ActivityText()
{
    static std::atomic<const char*> text{nullptr};
    return text;
}

// The status bar's progress line: the run, the phase the solver reports,
// and the seconds since the start.
void ShowRunProgress(std::chrono::steady_clock::time_point start)
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame || !frame->GetSafeHwnd())
        return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const char* activity = ActivityText().load();
    const char* phase = SolverPhaseText();
    CString text;
    if (phase)
        text.Format("%s: %s  %.1f s", activity ? activity : "Calculating", phase, seconds);
    else
        text.Format("%s  %.1f s", activity ? activity : "Calculating", seconds);
    frame->SetMessageText(text);
}

// Lets the window thread work while it waits: the toolkit's events where a
// toolkit pumps them, else the layer's posted messages and timers.
void PumpWhileRunning()
{
    if (!afx::PumpProgressEvents())
        AfxPumpMessages();
}

// Runs the operation on a worker thread; the window thread meanwhile
// pumps its events (busy mode keeps them to painting, Stop and the run's
// own message boxes) and shows the progress at least every half second.
bool RunOnWorker(const std::function<bool()>& operation)
{
    constexpr auto kTick = std::chrono::milliseconds(40);
    WorkerRun run;
    MarshallingMessages boxes(run);
    bool result = false;
    std::exception_ptr failure;
    const auto start = std::chrono::steady_clock::now();
    std::thread worker([&] {
        try {
            result = operation();
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(run.mutex);
        run.finished = true;
        run.changed.notify_all();
    });
    for (;;) {
        const std::function<void()>* call = nullptr;
        {
            std::unique_lock lock(run.mutex);
            run.changed.wait_for(lock, kTick, [&] { return run.finished || (run.call && !run.callDone); });
            if (run.finished)
                break;
            if (run.call && !run.callDone)
                call = run.call;
        }
        ShowRunProgress(start);
        if (call) {
            (*call)();
            const std::lock_guard lock(run.mutex);
            run.callDone = true;
            run.changed.notify_all();
        }
        PumpWhileRunning();
    }
    worker.join();
    if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()); frame && frame->GetSafeHwnd())
        frame->ShowCommandPrompt(0);
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

} // namespace

RunActivity::RunActivity(const char* text) : m_previous(ActivityText().exchange(text)) {}

RunActivity::~RunActivity()
{
    ActivityText().store(m_previous);
}

bool RunBusy(const std::function<bool()>& operation)
{
    if (Runner())
        return Runner()(operation);
    // Busy mode: the input filter lets through painting, Stop (50072) and
    // Esc, which reach the document while the worker runs.
    BusyScope busy;
    return RunOnWorker(operation);
}

KorLogWnd* RunLogWindow()
{
    auto* frame = dynamic_cast<KorMainFrm*>(AfxGetMainWnd());
    return frame ? frame->GetLogWindow() : nullptr;
}

void RunFailureBeep()
{
    if (CBeepService* beep = AfxGetBeepService())
        beep->Beep(100, 175);
}

CurrentFolderScope::CurrentFolderScope()
{
    std::error_code error;
    m_folder = std::filesystem::current_path(error).string();
}

CurrentFolderScope::~CurrentFolderScope()
{
    std::error_code error;
    if (!m_folder.empty())
        std::filesystem::current_path(m_folder, error);
}

void FlushLog(KorLogWnd* window, CStringArray& lines)
{
    if (window)
        window->WriteLogEntry(&lines);
    lines.RemoveAll();
}

// ---- The document's calculation and its commands ----------------------------------

bool CBrantelDoc::Calculate()
{
    return RunCalculation(
        [](CPlateComp& comp, CStringArray* log, CStringArray* errors) {
            return comp.Calculate(log, errors);
        });
}

bool CBrantelDoc::RunCalculation(
    const std::function<bool(CPlateComp&, CStringArray*, CStringArray*)>& analysis,
    bool* componentOk)
{
    if (componentOk)
        *componentOk = false;
    if (bCalcRunning) {
        AfxMessageBox(kOneCalculationText, MB_OK);
        return false;
    }
    KorLogWnd* window = RunLogWindow();
    CalcRunningScope running;
    CStringArray log;
    CStringArray errors;
    CPlateComp* comp = GetPlateComp();
    bool ok = false;
    {
        CurrentFolderScope folder;
        {
            CWaitCursor wait;
            ActivateLogDir(true);
            if (window)
                window->ScrollToTab(0);
            log.Add("\r\n ************** CALCULATE *****************\r\n");
            log.Add("--- calculating. Please wait.\r\n");
            FlushLog(window, log);
            // A stop asked for while nothing ran must not cancel this run.
            comp->StopCalculation(false);
            PrintListLoan loan(*comp, m_lvOutputNodes, m_lvOutputElems);
            RunActivity activity("Calculating");
            ok = RunBusy([&] { return analysis(*comp, &log, &errors); });
        }
        const bool stopped = comp->m_bStopRequest;
        if (!ok && !stopped) {
            RunFailureBeep();
            AfxMessageBox("An error occurred while calculating", MB_OK);
            if (window)
                window->ScrollToTab(1);
        }
        if (window) {
            window->WriteLogEntry(&log);
            window->WriteErrorEntry(&errors);
        }
        m_bMeshValid = ok && !stopped;
        // A still unset scale of the result drawing (-1.0) is set by the
        // document's first results view, whichever view started the run.
        if (comp->GetFactor() == -1.0)
            for (CView* view : GetViews())
                if (auto* results = dynamic_cast<CBrantelResView*>(view)) {
                    results->NormalizeScale();
                    break;
                }
        if (componentOk)
            *componentOk = m_bMeshValid;
    }
    InvalidateLists();
    UpdateAllViews(nullptr);
    return true;
}

void CBrantelDoc::OnStopCalculate()
{
    m_wRunState = 0;
    GetPlateComp()->StopCalculation(true);
}

void CBrantelDoc::OnUpdateStopCalculate(CCmdUI* pCmdUI)
{
    // A stop outside a run would cancel the next one at its start.
    pCmdUI->Enable(bCalcRunning);
}

void CBrantelDoc::OnViewLogfile()
{
    OpenFileInDefApp(ActivateLogDir(false), "Brantel.log");
}

void CBrantelDoc::OnViewBucklingLogfile()
{
    OpenFileInDefApp(ActivateLogDir(false), "Brantel_B.log");
}

void CBrantelDoc::OnNodeElementOutput()
{
    VokLGNumberList nodes("Nodes", IDD_NUMBER_LIST);
    VokLGNumberList elems("Elements", IDD_NUMBER_LIST);
    // The pages edit copies; the lists change on OK only.
    CLongVector nodeCopy(m_lvOutputNodes);
    CLongVector elemCopy(m_lvOutputElems);
    nodes.m_pLongVector = &nodeCopy;
    elems.m_pLongVector = &elemCopy;
    CPropertySheet sheet("Logfile print options");
    sheet.AddPage(&nodes);
    sheet.AddPage(&elems);
    if (sheet.DoModal() != IDOK)
        return;
    m_lvOutputNodes = nodeCopy;
    m_lvOutputElems = elemCopy;
}

bool CBrantelDoc::MaxMinResultNames(CStringArray& names)
{
    CPlateComp* comp = GetPlateComp();
    const CStringArray* family = comp ? ResultNamesForElementType(comp->GetElementType()) : nullptr;
    if (!family)
        return false;
    names.RemoveAll();
    names.Append(*family);
    return true;
}

void CBrantelDoc::OnMaxMinResults()
{
    CPlateComp* comp = GetPlateComp();
    CStringArray names;
    if (!comp || !MaxMinResultNames(names))
        return;
    if (!comp->HasElementResults()) {
        AfxMessageBox(kNoResultsText, MB_OK);
        return;
    }
    CStringArray units;
    CStringArray maxima;
    CStringArray minima;
    const int active = comp->GetActVal();
    const auto format = [](double value, int quantity) {
        const int row = quantity >= 0 && quantity < 30 ? quantity : 0;
        const int system = iStandard == 1 ? 1 : 0;
        return FormatUnitValue(iConv[system][row][1], iConv[system][row][2], value);
    };
    for (int i = 0; i < names.GetSize(); ++i) {
        comp->SetActVal(i);
        const int quantity = comp->GetResultQuantity();
        double max = 0.0;
        double min = 0.0;
        CString unit;
        comp->GetMaxMinResult(max, min, &unit);
        COGLPrintDoc::ReplaceSqrAndCube(unit);
        units.Add(unit);
        maxima.Add(format(max, quantity));
        minima.Add(format(min, quantity));
    }
    comp->SetActVal(active);
    VokDlgMaxMinVals dialog;
    dialog.m_pColumn1 = &names;
    dialog.m_pColumn2 = &maxima;
    dialog.m_pColumn3 = &minima;
    dialog.m_pColumn4 = &units;
    dialog.DoModal();
}

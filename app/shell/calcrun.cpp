#include "app/shell/calcrun.h"

#include <filesystem>
#include <system_error>

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
#include "app/shell/shellids.h"

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

bool RunBusy(const std::function<bool()>& operation)
{
    if (Runner())
        return Runner()(operation);
    return operation();
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
            ok = RunBusy([&] { return comp->Calculate(&log, &errors); });
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
        // The scale of the result drawing is set by the first switch to the
        // results view when it is still unset.
        m_bMeshValid = ok && !stopped;
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

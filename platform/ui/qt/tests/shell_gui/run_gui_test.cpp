// A calculation in the real window while the solver is held in its
// factorisation: the window keeps painting (the model view shows its last
// picture), the status bar names the phase and the seconds, the wait
// cursor is up, closing the document asks whether to stop the run (No
// keeps it going), and Esc on the view stops it: the run ends with the
// cancellation text and no valid results. Pictures during and after the
// run: run-during.png and run-stopped.png under $BRANTEL_TEST_ARTIFACTS.
#include <chrono>
#include <thread>

#include <QDir>
#include <QTimer>

#include "app/analysis/platecomp.h"
#include "app/analysis/solverentries.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"
#include "solver/linalg/cancel.h"

namespace
{

using namespace shellgui;

// The plate-bending solver, held in its factorisation until it is stopped
// (a bound keeps a broken Stop from hanging the test).
void HeldSolver(std::int32_t*, std::int32_t*, double*, double*, double*, double*, std::int32_t*, double*, double*,
                double*, std::int32_t*, std::int32_t*, std::int32_t* status)
{
    solvika::setRunPhase(solvika::RunPhase::factorising);
    for (int i = 0; i < 3000 && !solvika::cancelRequested(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    solvika::setRunPhase(solvika::RunPhase::none);
    status[0] = solvika::cancelRequested() ? solvika::kStatusCancelled : -20;
}

class RunOnQt : public ShellOnQt
{
};

TEST_F(RunOnQt, TheWindowLivesDuringARunAndEscStopsIt)
{
    auto app = std::make_unique<CBrantelApp>();
    const ShownExample shown = ShowExample(*app, "plate.plb");
    ASSERT_NE(shown.view, nullptr);
    CQtBusyFilter busy; // as the program's environment has it
    auto* doc = dynamic_cast<CBrantelDoc*>(shown.view->GetDocument());
    ASSERT_NE(doc, nullptr);
    shown.frame->SendMessage(WM_COMMAND, ID_GENERATE_MESH); // the real mesher, on the worker
    ASSERT_TRUE(doc->m_bMeshValid);
    const int elements = doc->GetPlateComp()->GetElementCount(false);
    const SolverEntryTable previous = SetSolverEntries({nullptr, &HeldSolver, nullptr, nullptr});

    QString status;
    int waitCursor = 0;
    bool stillOpen = false;
    QImage during;
    QTimer::singleShot(800, [&] {
        status = AfxToQString(shown.frame->GetStatusBarWnd().GetPaneText(0));
        waitCursor = AfxGetWaitCursorDepth();
        during = shown.window->grab().toImage();
        // The document's close button: the question, answered No.
        m_env->Boxes().Expect(kAfxBusyCloseQuestion, IDNO);
        AfxQtWidgetOf(shown.child)->close();
    });
    QTimer::singleShot(1400, [&] {
        stillOpen = doc->GetFirstViewPosition() != nullptr;
        QTest::keyClick(shown.gl, Qt::Key_Escape);
    });
    shown.frame->SendMessage(WM_COMMAND, ID_CALCULATE);
    SetSolverEntries(previous);
    QCoreApplication::processEvents();

    EXPECT_TRUE(status.startsWith("Calculating: factorising")) << status.toStdString();
    EXPECT_GT(waitCursor, 0);
    EXPECT_TRUE(stillOpen);
    ASSERT_FALSE(during.isNull());
    const QDir artifacts(afxui::qt::testing::ArtifactsFolder());
    EXPECT_TRUE(during.save(artifacts.filePath("run-during.png")));
    EXPECT_TRUE(shown.window->grab().toImage().save(artifacts.filePath("run-stopped.png")));

    CString log;
    shown.frame->GetLogWindow()->GetLogEdit().GetWindowText(log);
    EXPECT_NE(std::string(static_cast<LPCTSTR>(log)).find("*** Execution cancelled by user ***"), std::string::npos);
    EXPECT_FALSE(doc->m_bMeshValid);
    EXPECT_EQ(doc->GetPlateComp()->GetElementCount(false), elements);
    EXPECT_FALSE(bCalcRunning);
    EXPECT_EQ(AfxGetWaitCursorDepth(), 0);
    EndApp(app);
}

} // namespace

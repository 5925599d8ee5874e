// The runs of the program's documents and child frames: mesh generation,
// uniform refinement and calculation. Only one runs at a time
// (bCalcRunning); each runs inside the busy runner, so that a Stop pressed
// while it works can reach the component's stop flags.
#pragma once

#include <functional>
#include <string>

#include "framework/framira.h"

class KorLogWnd;

// True while a mesh generation, refinement or calculation runs.
extern bool bCalcRunning;

// The text a second start gets while a run is active.
inline constexpr const char* kOneCalculationText =
    "Brantel can only handle one calculation at a time.";

// Runs one long operation in busy mode and returns its result: the
// operation runs on a worker thread while the window thread shows the wait
// cursor, keeps its views on their last picture, passes only painting,
// window moves, Stop and Esc, shows the operation's message boxes for it,
// and names the phase and the elapsed time in the status bar. A runner
// installed with SetBusyRunner (tests forcing a failure) replaces that;
// SetBusyRunner returns the runner it replaces.
using BusyRunner = std::function<bool(const std::function<bool()>&)>;
BusyRunner SetBusyRunner(BusyRunner runner);
bool RunBusy(const std::function<bool()>& operation);

// Names the run in the status bar's progress line ("Meshing",
// "Calculating", ...) for the scope.
class RunActivity
{
public:
    explicit RunActivity(const char* text);
    ~RunActivity();
    RunActivity(const RunActivity&) = delete;
    RunActivity& operator=(const RunActivity&) = delete;

private:
    const char* m_previous;
};

// The main frame's log window; null without a program main frame.
KorLogWnd* RunLogWindow();

// Beeps the run-failure tone (100 Hz, 175 ms).
void RunFailureBeep();

// Sets bCalcRunning for its lifetime and clears it on every way out.
class CalcRunningScope
{
public:
    CalcRunningScope() { bCalcRunning = true; }
    ~CalcRunningScope() { bCalcRunning = false; }
    CalcRunningScope(const CalcRunningScope&) = delete;
    CalcRunningScope& operator=(const CalcRunningScope&) = delete;
};

// Remembers the process's current folder and makes it current again at the
// end of the scope.
class CurrentFolderScope
{
public:
    CurrentFolderScope();
    ~CurrentFolderScope();
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::string m_folder;
};

// Writes the lines to the log window's "Log" tab (when there is one) and
// empties them.
void FlushLog(KorLogWnd* window, CStringArray& lines);

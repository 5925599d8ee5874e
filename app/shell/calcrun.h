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

// Runs one long operation in busy mode (the wait cursor, views frozen, Stop
// and Esc reachable through the progress points) and returns its result. A
// runner installed with SetBusyRunner (tests forcing a failure) replaces
// that; SetBusyRunner returns the runner it replaces.
using BusyRunner = std::function<bool(const std::function<bool()>&)>;
BusyRunner SetBusyRunner(BusyRunner runner);
bool RunBusy(const std::function<bool()>& operation);

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

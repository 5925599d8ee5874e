// Progress points: long computations (meshing, analysis) call
// afx::ProgressPoint() in their loops so that a window layer can keep the
// program responsive and reach a Stop request without a worker thread. This
// library links no UI: the backend installs a pump hook, and a busy scope of
// the window layer turns pumping on.
#pragma once

#include <cstdint>

namespace afx
{

// The hook ProgressPoint calls while busy; null: nothing is pumped.
using ProgressPump = void (*)();

// Installs the pump hook and returns the previous one.
ProgressPump SetProgressPump(ProgressPump pump);

// Busy nesting: pumping is on from the first BeginProgressBusy until the
// matching EndProgressBusy. An End without a Begin does nothing. Only the
// thread that began it pumps: a progress point on another thread (a run
// on a worker thread) costs a comparison and pumps nothing.
void BeginProgressBusy();
void EndProgressBusy();
bool IsProgressBusy();

// Calls the pump hook now, whatever the interval; false without a hook.
// A loop that waits on the window thread for a worker uses it.
bool PumpProgressEvents();

// The least time between two pumps, in milliseconds.
constexpr std::int64_t kProgressPumpIntervalMs = 100;

namespace detail
{
void ProgressPointBusy();
extern int g_progressBusyDepth;
} // namespace detail

// Calls the pump hook when busy and at least kProgressPumpIntervalMs have
// passed since the last pump. Not busy, it costs one read of a counter.
inline void ProgressPoint()
{
    if (detail::g_progressBusyDepth > 0)
        detail::ProgressPointBusy();
}

} // namespace afx

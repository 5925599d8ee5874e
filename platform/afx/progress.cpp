#include "platform/afx/progress.h"

#include <time.h>

#include <thread>

namespace afx
{
namespace detail
{
int g_progressBusyDepth = 0;
}

namespace
{
ProgressPump g_pump = nullptr;
std::int64_t g_lastPumpNs = 0;
bool g_pumping = false;
std::thread::id g_pumpThread;

// The coarse monotonic clock: a vDSO read without a system call, fine
// enough for a 100 ms interval.
std::int64_t MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
} // namespace

ProgressPump SetProgressPump(ProgressPump pump)
{
    const ProgressPump previous = g_pump;
    g_pump = pump;
    return previous;
}

void BeginProgressBusy()
{
    if (detail::g_progressBusyDepth++ == 0) {
        g_lastPumpNs = MonotonicNs();
        g_pumpThread = std::this_thread::get_id();
    }
}

void EndProgressBusy()
{
    if (detail::g_progressBusyDepth > 0)
        --detail::g_progressBusyDepth;
}

bool IsProgressBusy()
{
    return detail::g_progressBusyDepth > 0;
}

bool PumpProgressEvents()
{
    if (!g_pump)
        return false;
    g_pump();
    return true;
}

void detail::ProgressPointBusy()
{
    if (!g_pump || g_pumping || std::this_thread::get_id() != g_pumpThread)
        return;
    const std::int64_t now = MonotonicNs();
    if (now - g_lastPumpNs < kProgressPumpIntervalMs * 1000000)
        return;
    // A pump that reaches a progress point again (a run started from a
    // handler) does not pump recursively.
    g_pumping = true;
    g_pump();
    g_pumping = false;
    g_lastPumpNs = MonotonicNs();
}

} // namespace afx

#include "solver/linalg/cancel.h"

namespace solvika {

std::atomic<bool> detail::g_cancelRequest{false};

namespace {
std::atomic<RunPhase> g_phase{RunPhase::none};
}

void setRunPhase(RunPhase phase) noexcept {
    g_phase.store(phase, std::memory_order_relaxed);
}

RunPhase runPhase() noexcept {
    return g_phase.load(std::memory_order_relaxed);
}

void setCancelRequest(bool stop) noexcept {
    detail::g_cancelRequest.store(stop, std::memory_order_relaxed);
}

bool cancelRequested() noexcept {
    return detail::g_cancelRequest.load(std::memory_order_relaxed);
}

}  // namespace solvika

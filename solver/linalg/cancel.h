// The stop request of the solver's runs. A caller on another thread sets
// it while an entry point works; the long loops (the zeroing of the work
// arrays, the ordering, assembly, factorisation, the solves, the stresses,
// the eigenvalue iterations) test it once per slice, element, column block,
// supernode or iteration through checkCancel, so that a run stops within a
// second at 10^6 equations, and the run then ends with the status
// kStatusCancelled and its log line. The solver never clears the request:
// its caller does, before the next run.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace solvika {

// S(1) of a run that stopped on request.
inline constexpr std::int32_t kStatusCancelled = -40;

// Thrown by checkCancel; the entry point's frame turns it into
// kStatusCancelled.
struct RunCancelled {};

namespace detail {
extern std::atomic<bool> g_cancelRequest;
}

// Sets or clears the request (any thread).
void setCancelRequest(bool stop) noexcept;
bool cancelRequested() noexcept;

// The phase a run is in, for a caller that shows progress (any thread).
// The entry points set it as they go and leave it at none when they end.
enum class RunPhase : int { none, assembling, factorising, solving, stresses, eigenvalues };
void setRunPhase(RunPhase phase) noexcept;
RunPhase runPhase() noexcept;

// One test of the request: a relaxed load, cheap enough for every column.
inline void checkCancel() {
    if (detail::g_cancelRequest.load(std::memory_order_relaxed)) throw RunCancelled{};
}

// Makes v hold n value-initialised (zeroed) elements, in slices with a test
// of the request between them: zeroing the system matrix of 10^6 equations
// takes seconds.
template <class T>
void assignStoppable(std::vector<T>& v, std::size_t n) {
    constexpr std::size_t kSlice = std::size_t(1) << 20;
    std::vector<T>().swap(v);
    v.reserve(n);
    while (v.size() < n) {
        checkCancel();
        v.resize(std::min(n, v.size() + kSlice));
    }
}

}  // namespace solvika

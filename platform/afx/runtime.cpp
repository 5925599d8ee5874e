#include "platform/afx/runtime.h"

#include <atomic>
#include <ctime>

namespace
{

// A linear congruential generator whose bits 16 to 30 are the result: the
// classic 15-bit sequence of the C runtime the system's numbers came from.
std::atomic<std::uint32_t> g_state{1};

} // namespace

double AfxProcessorSeconds()
{
    return static_cast<double>(std::clock()) / static_cast<double>(CLOCKS_PER_SEC);
}

void AfxSrand(UINT nSeed)
{
    g_state.store(nSeed, std::memory_order_relaxed);
}

int AfxRand()
{
    std::uint32_t old = g_state.load(std::memory_order_relaxed);
    std::uint32_t next;
    do
        next = old * 214013u + 2531011u;
    while (!g_state.compare_exchange_weak(old, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7FFFu);
}

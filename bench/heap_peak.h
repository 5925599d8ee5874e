// Peak heap use of a stretch of a benchmark program. The program's malloc,
// calloc, realloc, free and the aligned forms are replaced by counting ones
// that hand on to the C library's allocator; operator new, CHOLMOD, METIS
// and the BLAS all allocate through them, so every solver is measured the
// same way. Include this header in exactly one source file of a program
// (each bench/*.cpp is a program of its own).
//
//   bench::HeapWindow w;   // starts at the bytes in use now
//   ...                    // the calls measured
//   w.peak()               // largest growth over the start since then
//
// Windows do not nest: a new window restarts the peak of the whole program.
// Under a sanitizer, which owns malloc itself, nothing is replaced and the
// figures are NaN.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define BRANTEL_HEAP_COUNTING 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define BRANTEL_HEAP_COUNTING 0
#endif
#endif
#ifndef BRANTEL_HEAP_COUNTING
#define BRANTEL_HEAP_COUNTING 1
#endif

#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

#if BRANTEL_HEAP_COUNTING
extern "C" {
void* __libc_malloc(std::size_t size) noexcept;
void* __libc_calloc(std::size_t count, std::size_t size) noexcept;
void* __libc_realloc(void* p, std::size_t size) noexcept;
void* __libc_memalign(std::size_t alignment, std::size_t size) noexcept;
void __libc_free(void* p) noexcept;
}
#endif

namespace bench {

namespace heap {

// Bytes in use (as the allocator counts them: usable sizes) and the largest
// value since the last reset. Signed: blocks the C library handed out before
// the counting started may be freed later.
inline std::atomic<std::int64_t> inUse{0};
inline std::atomic<std::int64_t> highest{0};

inline void* added(void* p)
{
    if (p) {
        const auto size = std::int64_t(malloc_usable_size(p));
        const std::int64_t now = inUse.fetch_add(size, std::memory_order_relaxed) + size;
        std::int64_t top = highest.load(std::memory_order_relaxed);
        while (now > top && !highest.compare_exchange_weak(top, now, std::memory_order_relaxed)) {
        }
    }
    return p;
}

inline void removed(void* p)
{
    if (p)
        inUse.fetch_sub(std::int64_t(malloc_usable_size(p)), std::memory_order_relaxed);
}

} // namespace heap

class HeapWindow {
public:
    HeapWindow() : m_start(heap::inUse.load()) { heap::highest.store(m_start); }
    // Largest number of bytes in use above the start since the window opened.
    double peak() const { return counted(heap::highest.load() - m_start); }
    // Bytes in use now above the start.
    double held() const { return counted(heap::inUse.load() - m_start); }

private:
    static double counted(std::int64_t bytes)
    {
        return BRANTEL_HEAP_COUNTING ? double(bytes) : std::numeric_limits<double>::quiet_NaN();
    }

    std::int64_t m_start;
};

} // namespace bench

#if BRANTEL_HEAP_COUNTING
extern "C" {

void* malloc(std::size_t size) noexcept { return bench::heap::added(__libc_malloc(size)); }

void* calloc(std::size_t count, std::size_t size) noexcept
{
    return bench::heap::added(__libc_calloc(count, size));
}

void* realloc(void* p, std::size_t size) noexcept
{
    const std::int64_t before = p ? std::int64_t(malloc_usable_size(p)) : 0;
    void* q = __libc_realloc(p, size);
    if (q || size == 0)
        bench::heap::inUse.fetch_sub(before, std::memory_order_relaxed);
    return bench::heap::added(q);
}

void free(void* p) noexcept
{
    bench::heap::removed(p);
    __libc_free(p);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept
{
    return bench::heap::added(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept { return memalign(alignment, size); }

int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = memalign(alignment, size);
    if (!p)
        return ENOMEM;
    *out = p;
    return 0;
}

void* valloc(std::size_t size) noexcept { return memalign(std::size_t(sysconf(_SC_PAGESIZE)), size); }

void* pvalloc(std::size_t size) noexcept
{
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    return memalign(page, (size + page - 1) / page * page);
}

} // extern "C"
#endif

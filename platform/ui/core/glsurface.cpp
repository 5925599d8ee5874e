#include "platform/ui/core/glsurface.h"

#include <malloc.h>

#include <utility>

#include "platform/ui/core/windowattachments.h"

namespace {

// Mesa's software rasteriser takes its bins for every frame and frees them
// after it: for a plot of 10^6 triangles with its mesh lines a few hundred
// megabytes in blocks of 64 kB and more, besides the vertex stores of a new
// view's lists. With the allocator's starting thresholds every block above
// 128 kB is mapped on its own, and free memory above 128 kB at the top of
// a heap goes back to the kernel, so each frame takes its pages again one
// page fault at a time (on a virtual machine a third of a new view's first
// frame). A process that draws through this layer starts where the
// allocator itself ends up after its first large frees: blocks up to 32 MB
// from the heap, and up to 64 MB kept free at a heap's top for the next
// frame.
[[maybe_unused]] const bool kFrameHeap = [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    return true;
}();

CWindowAttachments<IGLSurface>& Surfaces()
{
    static CWindowAttachments<IGLSurface> surfaces;
    return surfaces;
}

AfxGLHostProvider& Provider()
{
    static AfxGLHostProvider provider;
    return provider;
}

} // namespace

AfxGLHostProvider AfxSetGLHostProvider(AfxGLHostProvider provider)
{
    return std::exchange(Provider(), std::move(provider));
}

IGLSurface* AfxRequestGLSurface(HWND hWnd)
{
    if (IGLSurface* surface = AfxGetGLSurface(hWnd))
        return surface;
    return Provider() ? Provider()(hWnd) : nullptr;
}

void AfxAttachGLSurface(HWND hWnd, IGLSurface* surface)
{
    Surfaces().Attach(hWnd, surface);
}

IGLSurface* AfxGetGLSurface(HWND hWnd)
{
    return Surfaces().Get(hWnd);
}

GLCurrentScope::GLCurrentScope(IGLSurface& surface)
    : m_surface(surface), m_saved(surface.CaptureCurrent()),
      m_ok(surface.IsCurrent() || surface.MakeCurrent())
{
}

GLCurrentScope::~GLCurrentScope()
{
    m_surface.RestoreCurrent(m_saved);
}

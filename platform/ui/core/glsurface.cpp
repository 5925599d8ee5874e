#include "platform/ui/core/glsurface.h"

#include <utility>

#include "platform/ui/core/windowattachments.h"

namespace {

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

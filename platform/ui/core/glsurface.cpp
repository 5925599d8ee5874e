#include "platform/ui/core/glsurface.h"

#include <map>
#include <utility>

namespace {

// Surfaces by window (all windows live in the user-interface thread).
std::map<HWND, IGLSurface*>& Surfaces()
{
    static std::map<HWND, IGLSurface*> surfaces;
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
    if (surface != nullptr)
        Surfaces()[hWnd] = surface;
    else
        Surfaces().erase(hWnd);
}

IGLSurface* AfxGetGLSurface(HWND hWnd)
{
    const auto it = Surfaces().find(hWnd);
    return it != Surfaces().end() ? it->second : nullptr;
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

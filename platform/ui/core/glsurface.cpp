#include "platform/ui/core/glsurface.h"

GLCurrentScope::GLCurrentScope(IGLSurface& surface)
    : m_surface(surface), m_saved(surface.CaptureCurrent()),
      m_ok(surface.IsCurrent() || surface.MakeCurrent())
{
}

GLCurrentScope::~GLCurrentScope()
{
    m_surface.RestoreCurrent(m_saved);
}

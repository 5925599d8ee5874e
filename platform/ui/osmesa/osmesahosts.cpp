#include "platform/ui/osmesa/osmesahosts.h"

#include "platform/ui/osmesa/osmesasurface.h"

COSMesaWindowHosts::COSMesaWindowHosts(int width, int height)
    : m_width(width), m_height(height),
      m_previous(AfxSetGLHostProvider([this](HWND hWnd) { return Host(hWnd); }))
{
}

COSMesaWindowHosts::~COSMesaWindowHosts()
{
    AfxSetGLHostProvider(std::move(m_previous));
    // Window handles are never reused, so a surface left attached to a
    // destroyed window harms nothing; one still in use is taken off first.
    for (Hosted& hosted : m_hosts)
        if (AfxGetGLSurface(hosted.hWnd) == hosted.surface.get())
            AfxAttachGLSurface(hosted.hWnd, nullptr);
}

IGLSurface* COSMesaWindowHosts::Host(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    auto surface = std::make_unique<COSMesaSurface>(m_width, m_height);
    if (!surface->IsValid())
        return nullptr;
    AfxAttachGLSurface(hWnd, surface.get());
    m_hosts.push_back({hWnd, std::move(surface)});
    return m_hosts.back().surface.get();
}

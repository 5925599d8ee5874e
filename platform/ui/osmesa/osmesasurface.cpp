#include "platform/ui/osmesa/osmesasurface.h"

#include <new>
#include <utility>

#include <GL/osmesa.h>

namespace {

// Identifies tokens made by this backend.
const char kBackend = 0;

} // namespace

GLCurrentToken OSMesaCaptureCurrent()
{
    GLCurrentToken token;
    token.backend = &kBackend;
    OSMesaContext context = OSMesaGetCurrentContext();
    if (!context)
        return token;
    GLint width = 0;
    GLint height = 0;
    GLint format = 0;
    void* buffer = nullptr;
    if (!OSMesaGetColorBuffer(context, &width, &height, &format, &buffer))
        return token;
    token.handles = {context, buffer};
    token.width = width;
    token.height = height;
    return token;
}

bool OSMesaRestoreCurrent(const GLCurrentToken& token)
{
    if (token.backend != &kBackend)
        return false;
    auto* context = static_cast<OSMesaContext>(token.handles[0]);
    if (!context) {
        // No context was current: leave the thread without one.
        return OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0) == GL_TRUE;
    }
    return OSMesaMakeCurrent(context, token.handles[1], GL_UNSIGNED_BYTE, token.width,
                             token.height) == GL_TRUE;
}

COSMesaSurface::COSMesaSurface(int width, int height, const COSMesaSurface* shareWith)
    : m_group(shareWith ? shareWith->m_group : std::make_shared<const int>(0))
{
    if (width <= 0 || height <= 0)
        return;
    try {
        m_buffer.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    } catch (const std::bad_alloc&) {
        return;
    }
    m_width = width;
    m_height = height;
    OSMesaContext share = shareWith ? static_cast<OSMesaContext>(shareWith->m_context) : nullptr;
    m_context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 0, share);
}

COSMesaSurface::~COSMesaSurface()
{
    if (!m_context)
        return;
    // Mesa crashes when a context that has drawn is destroyed with work
    // still queued: finish it first, then give the thread back its context.
    const GLCurrentToken saved = OSMesaCaptureCurrent();
    const bool wasCurrent = saved.handles[0] == m_context;
    if (MakeCurrent())
        glFinish();
    if (wasCurrent || !OSMesaRestoreCurrent(saved))
        OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    OSMesaDestroyContext(static_cast<OSMesaContext>(m_context));
}

bool COSMesaSurface::MakeCurrent()
{
    return IsValid()
        && OSMesaMakeCurrent(static_cast<OSMesaContext>(m_context), m_buffer.data(),
                             GL_UNSIGNED_BYTE, m_width, m_height) == GL_TRUE;
}

void COSMesaSurface::DoneCurrent()
{
    if (IsCurrent())
        OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
}

bool COSMesaSurface::IsCurrent() const
{
    return m_context && OSMesaGetCurrentContext() == m_context;
}

bool COSMesaSurface::Swap()
{
    // Single-buffered: the frame is complete once drawing has finished.
    if (!IsCurrent())
        return false;
    glFinish();
    return true;
}

void COSMesaSurface::RepaintNow()
{
    m_updateRequested = false;
    if (m_paint)
        m_paint();
}

bool COSMesaSurface::Resize(int width, int height)
{
    if (!m_context || width <= 0 || height <= 0)
        return false;
    const bool current = IsCurrent();
    if (current)
        glFinish();
    std::vector<std::uint8_t> buffer;
    try {
        buffer.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_buffer.swap(buffer);
    m_width = width;
    m_height = height;
    // The context still points at the old buffer: bind the new one now.
    return !current || MakeCurrent();
}

std::array<std::uint8_t, 4> COSMesaSurface::Pixel(int x, int y) const
{
    if (IsCurrent())
        glFinish();
    const std::size_t at = (static_cast<std::size_t>(y) * m_width + x) * 4;
    return {m_buffer[at], m_buffer[at + 1], m_buffer[at + 2], m_buffer[at + 3]};
}

#include "platform/ui/qt/qtoffscreen.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include "platform/ui/qt/qtglhost.h"
#include "platform/ui/qt/qtstartup.h"

#ifndef GL_MAX_RENDERBUFFER_SIZE
#define GL_MAX_RENDERBUFFER_SIZE 0x84E8
#endif
#ifndef GL_COLOR_ATTACHMENT0
#define GL_COLOR_ATTACHMENT0 0x8CE0
#endif

namespace
{

// A private context current on its own off-screen surface.
struct PrivateContext {
    PrivateContext() = default;
    PrivateContext(PrivateContext&&) = default;
    PrivateContext& operator=(PrivateContext&&) = delete;

    std::unique_ptr<QOffscreenSurface> surface;
    std::unique_ptr<QOpenGLContext> context;

    bool Make()
    {
        context = std::make_unique<QOpenGLContext>();
        context->setFormat(AfxQtDefaultSurfaceFormat());
        // No share context: the image's lists are its own.
        context->setShareContext(nullptr);
        if (!context->create())
            return false;
        surface = std::make_unique<QOffscreenSurface>();
        surface->setFormat(context->format());
        surface->create();
        return surface->isValid() && context->makeCurrent(surface.get());
    }

    ~PrivateContext()
    {
        if (context && QOpenGLContext::currentContext() == context.get())
            context->doneCurrent();
    }
};

class CQtOffscreenImage : public IOffscreenImage
{
public:
    CQtOffscreenImage(PrivateContext&& gl, std::unique_ptr<QOpenGLFramebufferObject> fbo,
                      std::vector<std::uint8_t>&& bits, GLPixelSize size, int bitCount,
                      const GLCurrentToken& previous)
        : m_gl(std::move(gl)), m_fbo(std::move(fbo)), m_bits(std::move(bits)), m_size(size),
          m_bitCount(bitCount), m_previous(previous)
    {
        AfxQtRegisterContextBinder(m_gl.context.get(), [this] { MakeCurrent(); });
    }

    ~CQtOffscreenImage() override
    {
        AfxQtRegisterContextBinder(m_gl.context.get(), {});
        const GLCurrentToken now = AfxQtCaptureCurrent();
        const bool current = now.handles[0] == m_gl.context.get();
        // The framebuffer goes with its context current.
        if (MakeCurrent())
            m_fbo.reset();
        m_gl.context->doneCurrent();
        AfxQtRestoreCurrent(current ? m_previous : now);
    }

    int Width() const override { return m_size.cx; }
    int Height() const override { return m_size.cy; }
    int BitCount() const override { return m_bitCount; }

    bool MakeCurrent() override
    {
        if (!m_gl.context->makeCurrent(m_gl.surface.get()))
            return false;
        return !m_fbo || m_fbo->bind();
    }

    bool Finish() override
    {
        if (!MakeCurrent())
            return false;
        glFinish();
        AfxReadDibPixels(GL_COLOR_ATTACHMENT0, m_size.cx, m_size.cy, m_bitCount, m_bits.data());
        AfxQtRestoreCurrent(m_previous);
        return true;
    }

    std::uint8_t* Bits() override { return m_bits.data(); }
    const std::uint8_t* Bits() const override { return m_bits.data(); }

private:
    PrivateContext m_gl;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    std::vector<std::uint8_t> m_bits;
    GLPixelSize m_size;
    int m_bitCount;
    GLCurrentToken m_previous;
};

} // namespace

GLPixelSize CQtOffscreenFactory::MaxSize()
{
    if (m_bKnown)
        return m_limit;
    const GLCurrentToken previous = AfxQtCaptureCurrent();
    {
        PrivateContext gl;
        if (gl.Make()) {
            GLint renderbuffer = 0;
            GLint viewport[2] = {0, 0};
            glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
            glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
            m_limit = {std::min(renderbuffer, viewport[0]), std::min(renderbuffer, viewport[1])};
            m_bKnown = m_limit.cx > 0 && m_limit.cy > 0;
        }
    }
    AfxQtRestoreCurrent(previous);
    return m_limit;
}

OffscreenResult CQtOffscreenFactory::Create(GLPixelSize size, int bitCount)
{
    OffscreenResult result;
    result.limit = MaxSize();
    if (size.cx <= 0 || size.cy <= 0 || (bitCount != 24 && bitCount != 32)) {
        result.failure = OffscreenFailure::BadRequest;
        return result;
    }
    if (!m_bKnown) {
        result.failure = OffscreenFailure::NoContext;
        return result;
    }
    if (size.cx > result.limit.cx || size.cy > result.limit.cy) {
        result.failure = OffscreenFailure::TooLarge;
        return result;
    }
    std::vector<std::uint8_t> bits;
    try {
        bits.resize(DibStride(static_cast<std::size_t>(size.cx), static_cast<unsigned>(bitCount)) *
                    static_cast<std::size_t>(size.cy));
    } catch (const std::bad_alloc&) {
        result.failure = OffscreenFailure::NoMemory;
        return result;
    }
    const GLCurrentToken previous = AfxQtCaptureCurrent();
    PrivateContext gl;
    if (!gl.Make()) {
        AfxQtRestoreCurrent(previous);
        result.failure = OffscreenFailure::NoContext;
        return result;
    }
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setSamples(0);
    auto fbo = std::make_unique<QOpenGLFramebufferObject>(size.cx, size.cy, format);
    if (!fbo->isValid() || !fbo->bind()) {
        fbo.reset();
        gl.context->doneCurrent();
        AfxQtRestoreCurrent(previous);
        result.failure = OffscreenFailure::NoMemory;
        return result;
    }
    glViewport(0, 0, size.cx, size.cy);
    result.image = std::make_unique<CQtOffscreenImage>(std::move(gl), std::move(fbo), std::move(bits),
                                                       size, bitCount, previous);
    return result;
}

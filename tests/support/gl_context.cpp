#include "tests/support/gl_context.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

namespace brantel::test {

OffscreenGL::OffscreenGL(int width, int height)
    : m_buffer(static_cast<std::size_t>(width) * height * 4), m_width(width), m_height(height)
{
    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 0, nullptr);
    m_context = ctx;
    m_ok = ctx != nullptr && makeCurrent();
}

OffscreenGL::~OffscreenGL()
{
    if (m_context) {
        // Mesa crashes when a context that has drawn is destroyed with work
        // still queued: finish it first.
        if (makeCurrent())
            glFinish();
        OSMesaDestroyContext(static_cast<OSMesaContext>(m_context));
    }
}

bool OffscreenGL::makeCurrent()
{
    return m_context
        && OSMesaMakeCurrent(static_cast<OSMesaContext>(m_context), m_buffer.data(),
                             GL_UNSIGNED_BYTE, m_width, m_height);
}

std::array<std::uint8_t, 4> OffscreenGL::pixel(int x, int y) const
{
    glFinish();
    // OSMesa keeps the bottom row first, as glReadPixels does.
    const std::size_t at = (static_cast<std::size_t>(y) * m_width + x) * 4;
    return {m_buffer[at], m_buffer[at + 1], m_buffer[at + 2], m_buffer[at + 3]};
}

void GLTest::SetUp()
{
    gl = std::make_unique<OffscreenGL>();
    ASSERT_TRUE(gl->ok()) << "no off-screen OpenGL context";
    glViewport(0, 0, gl->width(), gl->height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace brantel::test

#include "tests/support/gl_context.h"

#include <GL/gl.h>

namespace brantel::test {

OffscreenGL::OffscreenGL(int width, int height) : m_surface(width, height)
{
    m_ok = makeCurrent();
}

OffscreenGL::~OffscreenGL() = default;

bool OffscreenGL::makeCurrent()
{
    return m_surface.MakeCurrent();
}

std::array<std::uint8_t, 4> OffscreenGL::pixel(int x, int y) const
{
    glFinish();
    return m_surface.Pixel(x, y);
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

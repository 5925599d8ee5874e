#include "tests/support/gl_context.h"

#include <GL/gl.h>

using brantel::test::GLTest;

// The off-screen context really rasterises: a red quad over the left half
// leaves the right half black.
TEST_F(GLTest, DrawsIntoTheOffscreenBuffer)
{
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(0, -1);
    glVertex2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    const auto left = gl->pixel(10, 64);
    const auto right = gl->pixel(100, 64);
    EXPECT_EQ(left[0], 255);
    EXPECT_EQ(left[1], 0);
    EXPECT_EQ(right[0], 0);
}

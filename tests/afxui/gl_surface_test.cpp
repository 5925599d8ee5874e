// Surfaces and context switching: work on one surface leaves the context
// that was current before current afterwards.
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include "platform/ui/core/glsurface.h"
#include "platform/ui/osmesa/osmesasurface.h"
#include "tests/afxui/gl_helpers.h"

using namespace brantel::test;

namespace {

void FillQuad(int x0, int y0, int x1, int y1)
{
    glBegin(GL_QUADS);
    glVertex2i(x0, y0);
    glVertex2i(x1, y0);
    glVertex2i(x1, y1);
    glVertex2i(x0, y1);
    glEnd();
}

} // namespace

TEST(GLSurface, DrawingIntoAnotherSurfaceLeavesTheCurrentOneCurrent)
{
    COSMesaSurface a(32, 32);
    COSMesaSurface b(32, 32);
    ASSERT_TRUE(PreparePixelSpace(a));
    ASSERT_TRUE(PreparePixelSpace(b));
    ASSERT_TRUE(b.IsCurrent());
    {
        GLCurrentScope scope(a);
        ASSERT_TRUE(scope.Ok());
        EXPECT_TRUE(a.IsCurrent());
        FillQuad(0, 0, 16, 32);
    }
    EXPECT_TRUE(b.IsCurrent());
    EXPECT_FALSE(a.IsCurrent());
    EXPECT_EQ(LitPixels(a), 16 * 32);
    EXPECT_EQ(LitPixels(b), 0);
    // Drawing now goes to b, with b's own state (its buffer, its size).
    FillQuad(0, 0, 8, 8);
    EXPECT_EQ(LitPixels(b), 64);
    EXPECT_EQ(LitPixels(a), 16 * 32);

    // With no context current before, none is current afterwards.
    b.DoneCurrent();
    ASSERT_EQ(OSMesaGetCurrentContext(), nullptr);
    {
        GLCurrentScope scope(a);
        EXPECT_TRUE(scope.Ok());
    }
    EXPECT_EQ(OSMesaGetCurrentContext(), nullptr);
}

TEST(GLSurface, CapturedTokenRestoresAcrossSurfacesOfDifferentSizes)
{
    COSMesaSurface small(8, 4);
    COSMesaSurface large(40, 30);
    ASSERT_TRUE(PreparePixelSpace(small));
    const GLCurrentToken token = large.CaptureCurrent();
    ASSERT_TRUE(large.MakeCurrent());
    ASSERT_TRUE(large.RestoreCurrent(token));
    EXPECT_TRUE(small.IsCurrent());
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 8);
    EXPECT_EQ(viewport[3], 4);
    // A token of another backend (here the null surface's) is refused and
    // changes nothing.
    EXPECT_FALSE(large.RestoreCurrent(CNullGLSurface().CaptureCurrent()));
    EXPECT_TRUE(small.IsCurrent());
}

TEST(GLSurface, OSMesaSurfaceDrawsToTheFrontBufferInDevicePixels)
{
    COSMesaSurface surface(30, 20);
    surface.SetDevicePixelRatio(2.0);
    ASSERT_TRUE(PreparePixelSpace(surface));
    EXPECT_EQ(surface.DefaultDrawBuffer(), static_cast<GLenum>(GL_FRONT));
    GLint drawBuffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    EXPECT_EQ(static_cast<GLenum>(drawBuffer), surface.DefaultDrawBuffer());
    // The ratio is reported, not applied: sizes stay in device pixels.
    EXPECT_EQ(surface.PixelSize().cx, 30);
    EXPECT_EQ(surface.PixelSize().cy, 20);
    EXPECT_DOUBLE_EQ(surface.DevicePixelRatio(), 2.0);
    EXPECT_TRUE(surface.Swap());

    // A current surface stays current through a resize and draws at the
    // new size.
    ASSERT_TRUE(surface.Resize(50, 10));
    EXPECT_TRUE(surface.IsCurrent());
    ASSERT_TRUE(PreparePixelSpace(surface));
    FillQuad(0, 0, 50, 10);
    EXPECT_EQ(LitPixels(surface), 500);
    EXPECT_FALSE(surface.Resize(0, 10));
    EXPECT_EQ(surface.PixelSize().cx, 50);
}

TEST(GLSurface, RepaintRequestsReachTheHost)
{
    COSMesaSurface surface(4, 4);
    int paints = 0;
    surface.SetPaintHandler([&] { ++paints; });
    surface.RequestUpdate();
    EXPECT_EQ(paints, 0);
    EXPECT_TRUE(surface.TakeUpdateRequest());
    EXPECT_FALSE(surface.TakeUpdateRequest());
    surface.RepaintNow();
    EXPECT_EQ(paints, 1);
}

TEST(GLSurface, NullSurfaceNeverHasAContext)
{
    COSMesaSurface other(4, 4);
    ASSERT_TRUE(other.MakeCurrent());
    CNullGLSurface null({640, 480});
    EXPECT_FALSE(null.MakeCurrent());
    EXPECT_FALSE(null.IsCurrent());
    EXPECT_FALSE(null.Swap());
    EXPECT_EQ(null.PixelSize().cx, 640);
    {
        GLCurrentScope scope(null);
        EXPECT_FALSE(scope.Ok());
    }
    // Trying it disturbed nobody.
    EXPECT_TRUE(other.IsCurrent());
}

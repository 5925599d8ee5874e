// Surfaces and context switching: work on one surface leaves the context
// that was current before current afterwards.
#include <GL/osmesa.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

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

// A sanitizer owns malloc itself and keeps its own policy: g++ says so by
// __SANITIZE_ADDRESS__ and __SANITIZE_THREAD__, clang by __has_feature.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define FRAME_HEAP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define FRAME_HEAP_SANITIZED 1
#endif
#endif

namespace {

long PageFaultsOfThisThread()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}

// The page faults of taking, filling and freeing the blocks a second time,
// after the same blocks were taken and freed once.
long FaultsOfASecondFrame(std::size_t blocks, std::size_t size)
{
    const auto frame = [&] {
        std::vector<char*> taken;
        for (std::size_t i = 0; i < blocks; ++i) {
            taken.push_back(static_cast<char*>(std::malloc(size)));
            std::memset(taken.back(), 1, size);
        }
        for (char* block : taken)
            std::free(block);
    };
    frame();
    const long before = PageFaultsOfThisThread();
    frame();
    return PageFaultsOfThisThread() - before;
}

} // namespace

// A frame's large buffers, freed when it ends, are taken again by the next
// frame without the kernel handing out their pages anew: on the thread that
// compiles the lists and on a rasteriser's thread with a heap of its own.
TEST(FrameHeap, MemoryAFrameFreedIsTakenAgainWithoutPageFaults)
{
#ifdef FRAME_HEAP_SANITIZED
    GTEST_SKIP() << "the sanitizer's allocator keeps its own policy";
#endif
    struct Case {
        const char* name;
        std::size_t blocks, size;
    };
    const Case cases[] = {
        {"one block of 16 MB", 1, std::size_t{16} << 20},
        {"48 blocks of 1 MB", 48, std::size_t{1} << 20},
        {"400 blocks of 64 kB", 400, std::size_t{64} << 10},
    };
    for (const Case& c : cases) {
        const long pages = static_cast<long>(c.blocks * c.size / 4096);
        const long here = FaultsOfASecondFrame(c.blocks, c.size);
        long there = 0;
        std::thread([&] { there = FaultsOfASecondFrame(c.blocks, c.size); }).join();
        EXPECT_LT(here, pages / 10) << c.name << " on the main thread";
        EXPECT_LT(there, pages / 10) << c.name << " on another thread";
    }
}

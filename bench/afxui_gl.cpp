// OpenGL costs of the window layer on OSMesa: an off-screen render read back
// as a bitmap, glyph lists and bitmap text, and GL_SELECT picking.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstring>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/ui/core/glyphcache.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kB on Linux
}

// One unit per pixel, origin bottom left.
void PixelSpace(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// A scene of shaded triangles over the whole image, with depth test.
void DrawScene(int width, int height)
{
    PixelSpace(width, height);
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    const int n = 40;
    glBegin(GL_TRIANGLES);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const float x = static_cast<float>(width) * i / n;
            const float y = static_cast<float>(height) * j / n;
            const float w = static_cast<float>(width) / n;
            const float h = static_cast<float>(height) / n;
            glColor3f(static_cast<float>(i) / n, static_cast<float>(j) / n, 0.5f);
            glVertex3f(x, y, 0);
            glVertex3f(x + w, y, 0);
            glVertex3f(x, y + h, 0);
        }
    glEnd();
    glDisable(GL_DEPTH_TEST);
}

void OffscreenRender(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    COSMesaOffscreenFactory factory;
    for (auto _ : state) {
        OffscreenResult result = factory.Create({width, height}, 24);
        if (!result.image) {
            state.SkipWithError("no off-screen image");
            break;
        }
        DrawScene(width, height);
        result.image->Finish();
        benchmark::DoNotOptimize(result.image->Bits()[0]);
    }
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_OffscreenRender_Small(benchmark::State& state) { OffscreenRender(state); }
void BM_OffscreenRender(benchmark::State& state) { OffscreenRender(state); }
BENCHMARK(BM_OffscreenRender_Small)->Args({800, 600})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OffscreenRender)->Args({4000, 3000})->Unit(benchmark::kMillisecond)->Iterations(3);

// Builds the glyph lists of one font and draws 10^4 labels with them.
void BM_GlyphLabels_Small(benchmark::State& state)
{
    constexpr int kLabels = 10000;
    COSMesaSurface surface(800, 600);
    if (!surface.MakeCurrent()) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    LOGFONT font{};
    font.lfHeight = -21;
    std::strcpy(font.lfFaceName, "Times New Roman");
    std::vector<std::string> labels;
    for (int i = 0; i < kLabels; ++i)
        labels.push_back("N" + std::to_string(i) + " 12.5 kN/m\xB2");
    for (auto _ : state) {
        CGlyphFont glyphs;
        glyphs.Create(surface, font);
        PixelSpace(800, 600);
        glClear(GL_COLOR_BUFFER_BIT);
        for (int i = 0; i < kLabels; ++i) {
            glRasterPos2i((i * 37) % 700, (i * 13) % 580);
            glCallLists(static_cast<GLsizei>(labels[i].size()), GL_UNSIGNED_BYTE, labels[i].data());
        }
        glFinish();
    }
    state.counters["labels/s"] = benchmark::Counter(
        static_cast<double>(kLabels) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GlyphLabels_Small)->Unit(benchmark::kMillisecond);

// One GL_SELECT pick at the centre of an 800 x 600 view covered by a grid
// of n named quads; reports the time per pick.
void Pick(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    constexpr int kWidth = 800;
    constexpr int kHeight = 600;
    COSMesaSurface surface(kWidth, kHeight);
    if (!surface.MakeCurrent()) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    glViewport(0, 0, kWidth, kHeight);
    int columns = 1;
    while (columns * columns < count)
        ++columns;
    const double cell = 1.0 / columns;
    std::vector<GLuint> buffer(1024);
    GLint hits = 0;
    for (auto _ : state) {
        glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // (x, y) in device pixels with y from the top, as views pick.
        const int x = kWidth / 2;
        const int y = kHeight / 2;
        gluPickMatrix(x, kHeight - y, 3, 3, viewport);
        glOrtho(0, 1, 0, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        for (int i = 0; i < count; ++i) {
            const double qx = (i % columns) * cell;
            const double qy = (i / columns) * cell;
            glLoadName(static_cast<GLuint>(i + 1));
            glBegin(GL_QUADS);
            glVertex2d(qx, qy);
            glVertex2d(qx + cell, qy);
            glVertex2d(qx + cell, qy + cell);
            glVertex2d(qx, qy + cell);
            glEnd();
        }
        hits = glRenderMode(GL_RENDER);
    }
    if (hits <= 0)
        state.SkipWithError("the pick hit nothing");
    state.counters["hits"] = hits;
}

void BM_Pick_Small(benchmark::State& state) { Pick(state); }
void BM_Pick(benchmark::State& state) { Pick(state); }
BENCHMARK(BM_Pick_Small)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pick)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

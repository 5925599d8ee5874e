// Picking and off-screen images on OSMesa: frames per second of n named
// triangles on an 800 x 600 surface, milliseconds of a 10-pixel pick at
// the centre and over a crowded corner, the hit-choice rule alone on a
// synthetic selection buffer (linear in its records), and one off-screen
// DIB of 4000 x 3000 pixels.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <vector>

#include "glview/lumetra.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// n triangles in a grid over the surface, each under its own name; with
// crowded, every tenth one also covers the bottom-left corner.
void NamedTriangles(int n, bool crowded)
{
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const int columns = 1000;
    const float w = static_cast<float>(kWidth) / columns;
    const int rows = (n + columns - 1) / columns;
    const float h = static_cast<float>(kHeight) / static_cast<float>(rows > 0 ? rows : 1);
    for (int t = 0; t < n; ++t) {
        glLoadName(static_cast<GLuint>(t + 1));
        const float x = static_cast<float>(t % columns) * w;
        const float y = static_cast<float>(t / columns) * h;
        const float z = static_cast<float>(t % 97) / 100.0f;
        glBegin(GL_TRIANGLES);
        glColor3ub(static_cast<GLubyte>(t), static_cast<GLubyte>(t >> 8), 128);
        if (crowded && t % 10 == 0) {
            glVertex3f(0, 0, z);
            glVertex3f(30, 0, z);
            glVertex3f(0, 30, z);
        } else {
            glVertex3f(x, y, z);
            glVertex3f(x + w, y, z);
            glVertex3f(x, y + h, z);
        }
        glEnd();
    }
}

struct Scene {
    COSMesaSurface surface{kWidth, kHeight};
    COGLRenderer renderer;
    bool ok = renderer.InitializeOGL(&surface) == 0;
};

void DrawAll(benchmark::State& state)
{
    Scene scene;
    if (!scene.ok) {
        state.SkipWithError("no context");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        scene.renderer.PreDraw(CRect(0, 0, kWidth, kHeight), nullptr);
        NamedTriangles(n, false);
        scene.renderer.FinishAndSwap(true);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A 10 x 10 pick at (x, y), y counted from the top.
void Pick(benchmark::State& state, int x, int y, bool crowded)
{
    Scene scene;
    if (!scene.ok) {
        state.SkipWithError("no context");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    COGLRenderer::iSelBufSize = static_cast<unsigned>(4 * n + 64);
    scene.renderer.PreDraw(CRect(0, 0, kWidth, kHeight), nullptr);
    UINT picked = 0;
    for (auto _ : state) {
        scene.renderer.PrePickDraw(CPoint(x, y), 10, 10);
        NamedTriangles(n, crowded);
        picked = scene.renderer.PostPickDraw(0xFFFFFFFFu, 0, nullptr);
        benchmark::DoNotOptimize(picked);
    }
    if (picked == 0)
        state.SkipWithError("nothing picked");
    COGLRenderer::iSelBufSize = 1024;
}

void PickCentre(benchmark::State& state) { Pick(state, kWidth / 2, kHeight / 2, false); }
void PickCorner(benchmark::State& state) { Pick(state, 5, kHeight - 5, true); }

// The rule alone over n one-name records; the nearest sits at the end.
void Rule(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<GLuint> buffer;
    buffer.reserve(4 * n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto name = static_cast<GLuint>(i + 1);
        buffer.insert(buffer.end(), {1u, static_cast<GLuint>(n - i), static_cast<GLuint>(n - i), name});
    }
    const DWORD excluded[] = {3, 5, 7};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ChoosePickedName(buffer.data(), buffer.size(), static_cast<int>(n), 0xFFFFFFFFu, 3, excluded));
    state.SetComplexityN(state.range(0));
}

// PreDraw, clear, one quad, PostDraw.
void Dib(benchmark::State& state)
{
    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previous = AfxGetOffscreenFactory();
    AfxSetOffscreenFactory(&factory);
    RecordingDC target;
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    COGLDIB dib;
    for (auto _ : state) {
        if (!dib.PreDraw(&target, CSize(w, h))) {
            state.SkipWithError("no image");
            break;
        }
        glViewport(0, 0, w, h);
        glColor3f(1, 0, 0);
        glRectf(-0.5f, -0.5f, 0.5f, 0.5f);
        dib.PostDraw();
    }
    dib.Clear();
    AfxSetOffscreenFactory(previous);
}

} // namespace

BENCHMARK(DrawAll)->Name("DrawAllSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawAll)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(PickCentre)->Name("PickCentreSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(PickCentre)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(PickCorner)->Name("PickCornerSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(PickCorner)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Rule)->Name("RuleSmall")->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Rule)->RangeMultiplier(10)->Range(10000, 1000000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
BENCHMARK(Dib)->Name("DibSmall")->Args({400, 300})->Unit(benchmark::kMillisecond);
BENCHMARK(Dib)->Args({4000, 3000})->Unit(benchmark::kMillisecond);

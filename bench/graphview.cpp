// The graph views on the OSMesa host at 800 x 600, with grid and axes on
// and a triangle mesh of n elements in the static scene: frames per second
// of the 2D view and of the 3D view in its orthographic and perspective
// projections, and the milliseconds of a 10-pixel pick and of a rectangle
// pick over the whole view (with a selection buffer large enough for every
// name). The rectangle pick grows linearly with the hits.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>

#include "graphview/vistrel.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

enum class Kind { plan, ortho, perspective };

// A triangle mesh over the visible model area (+-200 by +-150 at scale 4),
// two triangles a cell, each its own pick name.
void DrawMesh(int triangles, bool names)
{
    const int cells = (triangles + 1) / 2;
    const int nx = std::max(1, static_cast<int>(std::ceil(std::sqrt(cells * 4.0 / 3.0))));
    const int ny = (cells + nx - 1) / nx;
    const double w = 400.0 / nx, h = 300.0 / std::max(ny, 1);
    if (!names)
        glBegin(GL_TRIANGLES);
    for (int t = 0; t < triangles; ++t) {
        const int cell = t / 2;
        const double x = -200.0 + (cell % nx) * w, y = -150.0 + (cell / nx) * h;
        if (names) {
            glLoadName(static_cast<GLuint>(t + 1));
            glBegin(GL_TRIANGLES);
        }
        glColor3ub(static_cast<GLubyte>(t), static_cast<GLubyte>(t >> 8), 128);
        if (t % 2 == 0) {
            glVertex2d(x, y);
            glVertex2d(x + w, y);
            glVertex2d(x, y + h);
        } else {
            glVertex2d(x + w, y);
            glVertex2d(x + w, y + h);
            glVertex2d(x, y + h);
        }
        if (names)
            glEnd();
    }
    if (!names)
        glEnd();
}

template <class Base>
class CBenchView : public Base
{
public:
    int triangles = 0;

    void InitialUpdate() { this->OnInitialUpdate(); }
    void TruncateCursor() override {}
    void FindModelExtents() override {}
    bool DrawStaticScene() override
    {
        DrawMesh(triangles, false);
        return Base::DrawStaticScene();
    }
    bool DynamicPickDraw(unsigned) override
    {
        DrawMesh(triangles, true);
        return true;
    }
    void PostNcDestroy() override {}
};

enum class Task { frames, pickPoint, pickRect };

template <class View>
void RunOn(benchmark::State& state, View& view, Task task)
{
    view.triangles = static_cast<int>(state.range(0));
    if (!view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 1)) {
        state.SkipWithError("no window");
        return;
    }
    ViewDriver driver(view, 800, 600);
    driver.Size(800, 600);
    view.InitialUpdate();
    view.m_bShowAxis = true;
    view.m_bShowGrid = true;
    view.SetSnapSpace(10.0, false);
    driver.Draw();
    COGLRenderer::iSelBufSize = static_cast<unsigned>(4 * view.triangles + 64);
    int picked = 0;
    for (auto _ : state) {
        if (task == Task::frames) {
            driver.Draw();
        } else if (task == Task::pickPoint) {
            benchmark::DoNotOptimize(view.PickObject(400, 300, 0, 10.0f, 0xFFFFFFFF, 0, nullptr));
        } else {
            unsigned* names = nullptr;
            view.PickObject(CPoint(400, 300), 0, 800.0f, 600.0f, names, picked);
            delete[] names;
        }
    }
    if (task == Task::frames)
        state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    if (task == Task::pickRect)
        state.counters["hits"] = picked;
    view.DestroyWindow();
}

void Run(benchmark::State& state, Kind kind, Task task)
{
    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = AfxSetWndBackend(&backend);
    const unsigned bufferWords = COGLRenderer::iSelBufSize;
    if (kind == Kind::plan) {
        CBenchView<COGL2DView> view;
        RunOn(state, view, task);
    } else {
        CBenchView<COGL3DView> view;
        view.m_bOrtho = kind == Kind::ortho;
        view.m_dEyeDist = 400.0;
        view.SetAngles(20.0, -30.0, 0.0);
        RunOn(state, view, task);
    }
    COGLRenderer::iSelBufSize = bufferWords;
    AfxSetWndBackend(previous);
}

#define GRAPHVIEW_BENCH(name, kind, task)                                                                   \
    void BM_##name##Small(benchmark::State& state) { Run(state, kind, task); }                             \
    void BM_##name(benchmark::State& state) { Run(state, kind, task); }                                    \
    BENCHMARK(BM_##name##Small)->Arg(10000)->Unit(benchmark::kMillisecond);                                \
    BENCHMARK(BM_##name)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

GRAPHVIEW_BENCH(Frames2D, Kind::plan, Task::frames)
GRAPHVIEW_BENCH(Frames3DOrtho, Kind::ortho, Task::frames)
GRAPHVIEW_BENCH(Frames3DPerspective, Kind::perspective, Task::frames)
GRAPHVIEW_BENCH(PickPoint2D, Kind::plan, Task::pickPoint)
GRAPHVIEW_BENCH(PickPoint3D, Kind::ortho, Task::pickPoint)
GRAPHVIEW_BENCH(PickRect2D, Kind::plan, Task::pickRect)
GRAPHVIEW_BENCH(PickRect3D, Kind::ortho, Task::pickRect)

} // namespace

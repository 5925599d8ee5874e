// The graph views on the OSMesa host at 800 x 600, with grid and axes on
// and a triangle mesh of n elements in the static scene: frames per second
// of the 2D view and of the 3D view in its orthographic and perspective
// projections, and the milliseconds of a 10-pixel pick and of a rectangle
// pick over the whole view (with a selection buffer large enough for every
// name). The rectangle pick grows linearly with the hits. The Indexed
// picks go through a pick index over the triangles (CPickIndex), as a
// derived view with many pickable objects would.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <vector>

#include "glstyle/pickindex.h"
#include "graphview/vistrel.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

enum class Kind { plan, ortho, perspective };

// A triangle mesh over the visible model area (+-200 by +-150 at scale 4),
// two triangles a cell, each its own pick name.
struct MeshLayout {
    explicit MeshLayout(int triangles)
    {
        const int cells = (triangles + 1) / 2;
        nx = std::max(1, static_cast<int>(std::ceil(std::sqrt(cells * 4.0 / 3.0))));
        const int ny = (cells + nx - 1) / nx;
        w = 400.0 / nx;
        h = 300.0 / std::max(ny, 1);
    }
    // The three corners of triangle t.
    void Corners(int t, double (&p)[3][2]) const
    {
        const int cell = t / 2;
        const double x = -200.0 + (cell % nx) * w, y = -150.0 + (cell / nx) * h;
        const double even[3][2] = {{x, y}, {x + w, y}, {x, y + h}};
        const double odd[3][2] = {{x + w, y}, {x + w, y + h}, {x, y + h}};
        for (int k = 0; k < 3; ++k)
            for (int c = 0; c < 2; ++c)
                p[k][c] = t % 2 == 0 ? even[k][c] : odd[k][c];
    }
    int nx;
    double w, h;
};

void DrawTriangle(const MeshLayout& layout, int t)
{
    double p[3][2];
    layout.Corners(t, p);
    glColor3ub(static_cast<GLubyte>(t), static_cast<GLubyte>(t >> 8), 128);
    for (const auto& v : p)
        glVertex2d(v[0], v[1]);
}

void DrawMesh(int triangles, bool names)
{
    const MeshLayout layout(triangles);
    if (!names)
        glBegin(GL_TRIANGLES);
    for (int t = 0; t < triangles; ++t) {
        if (names) {
            glLoadName(static_cast<GLuint>(t + 1));
            glBegin(GL_TRIANGLES);
        }
        DrawTriangle(layout, t);
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
    bool indexed = false; // picks through a pick index over the triangles
    CPickIndex index;

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
        const CPickWindowCull cull;
        if (!indexed || !CPickWindowCull::IsActive()) {
            DrawMesh(triangles, true);
            return true;
        }
        // The view's own pick index over its triangles: only those the
        // pick window may meet are drawn, and a band takes the ones it
        // holds whole as hits.
        const MeshLayout layout(triangles);
        if (!index.IsBuiltAt(1)) {
            std::vector<CPickBox> boxes(static_cast<std::size_t>(triangles));
            for (int t = 0; t < triangles; ++t) {
                double p[3][2];
                layout.Corners(t, p);
                for (const auto& v : p)
                    boxes[static_cast<std::size_t>(t)].Add(v[0], v[1], 0.0);
            }
            index.Build(1, boxes);
        }
        index.Pick(
            1, CPickWindowCull::FilledFacesHit(),
            [&](std::size_t t) {
                glLoadName(static_cast<GLuint>(t + 1));
                glBegin(GL_TRIANGLES);
                DrawTriangle(layout, static_cast<int>(t));
                glEnd();
            },
            [](std::size_t t, std::vector<CPickName>& out) {
                out.push_back(CPickName{static_cast<unsigned>(t + 1), 1, true});
                return true;
            });
        return true;
    }
    void PostNcDestroy() override {}
};

enum class Task { frames, pickPoint, pickRect };

template <class View>
void RunOn(benchmark::State& state, View& view, Task task, bool indexed)
{
    view.triangles = static_cast<int>(state.range(0));
    view.indexed = indexed;
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
    if (indexed && task != Task::frames) {
        // The first pick builds the index; the indexed picks must answer as
        // the plain ones.
        const auto answers = [&] {
            unsigned* names = nullptr;
            int count = 0;
            view.PickObject(CPoint(400, 300), 0, 800.0f, 600.0f, names, count);
            std::vector<unsigned> out(names, names + count);
            delete[] names;
            out.push_back(view.PickObject(400, 300, 0, 10.0f, 0xFFFFFFFF, 0, nullptr));
            return out;
        };
        view.indexed = false;
        const std::vector<unsigned> plain = answers();
        view.indexed = true;
        if (answers() != plain) {
            state.SkipWithError("the indexed picks answer otherwise");
            view.DestroyWindow();
            return;
        }
    }
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

void Run(benchmark::State& state, Kind kind, Task task, bool indexed = false)
{
    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = AfxSetWndBackend(&backend);
    const unsigned bufferWords = COGLRenderer::iSelBufSize;
    if (kind == Kind::plan) {
        CBenchView<COGL2DView> view;
        RunOn(state, view, task, indexed);
    } else {
        CBenchView<COGL3DView> view;
        view.m_bOrtho = kind == Kind::ortho;
        view.m_dEyeDist = 400.0;
        view.SetAngles(20.0, -30.0, 0.0);
        RunOn(state, view, task, indexed);
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

// The same picks through a pick index over the view's triangles.
#define GRAPHVIEW_INDEXED_BENCH(name, kind, task)                                                           \
    void BM_##name##Small(benchmark::State& state) { Run(state, kind, task, true); }                       \
    void BM_##name(benchmark::State& state) { Run(state, kind, task, true); }                               \
    BENCHMARK(BM_##name##Small)->Arg(10000)->Unit(benchmark::kMillisecond);                                \
    BENCHMARK(BM_##name)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

GRAPHVIEW_INDEXED_BENCH(PickPoint2DIndexed, Kind::plan, Task::pickPoint)
GRAPHVIEW_INDEXED_BENCH(PickPoint3DIndexed, Kind::ortho, Task::pickPoint)
GRAPHVIEW_INDEXED_BENCH(PickRect2DIndexed, Kind::plan, Task::pickRect)
GRAPHVIEW_INDEXED_BENCH(PickRect3DIndexed, Kind::ortho, Task::pickRect)

} // namespace

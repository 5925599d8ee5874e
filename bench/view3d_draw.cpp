// A results view on the framework's 3D view, on the OSMesa host at 800 x
// 600: a lit, filled plate mesh of n quadrilateral elements, each its own
// pick name. Frames per second in the orthographic and the perspective
// projection and with two clip planes cutting the plate, and the
// milliseconds of a 10-pixel pick in 3D mode.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>

#include "framework/kor3dview.h"
#include "glview/oglrenderer.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

enum class Kind { ortho, perspective, clipped, pick };

// A gently curved plate over +-20 by +-15, n elements on a near-square
// grid.
void DrawPlate(int elements, bool names)
{
    const int nx = std::max(1, static_cast<int>(std::ceil(std::sqrt(elements * 4.0 / 3.0))));
    const int ny = (elements + nx - 1) / nx;
    const double w = 40.0 / nx, h = 30.0 / ny;
    auto z = [](double x, double y) { return 0.002 * (x * x - y * y); };
    if (!names)
        glBegin(GL_QUADS);
    for (int e = 0; e < elements; ++e) {
        const double x = -20.0 + (e % nx) * w, y = -15.0 + (e / nx) * h;
        if (names) {
            glLoadName(static_cast<GLuint>(e + 1));
            glBegin(GL_QUADS);
        }
        glNormal3d(-0.004 * x, 0.004 * y, 1.0);
        glColor3ub(static_cast<GLubyte>(e), 160, static_cast<GLubyte>(255 - (e & 255)));
        glVertex3d(x, y, z(x, y));
        glVertex3d(x + w, y, z(x + w, y));
        glVertex3d(x + w, y + h, z(x + w, y + h));
        glVertex3d(x, y + h, z(x, y + h));
        if (names)
            glEnd();
    }
    if (!names)
        glEnd();
}

class BenchView : public Kor3DView
{
public:
    int elements = 0;
    bool clipped = false;

    void InitialUpdate() { OnInitialUpdate(); }
    void FindModelExtents() override
    {
        SetMaxMin(20.0, 15.0, 4);
        SetMaxMin(-20.0, -15.0, 2);
    }
    bool DrawStaticScene() override
    {
        glEnable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_LIGHT0);
        glEnable(GL_DEPTH_TEST);
        if (clipped) {
            const GLdouble below[4] = {0.0, 0.0, 1.0, 0.1}, side[4] = {-1.0, 0.0, 0.0, 5.0};
            glClipPlane(GL_CLIP_PLANE0, below);
            glClipPlane(GL_CLIP_PLANE1, side);
            glEnable(GL_CLIP_PLANE0);
            glEnable(GL_CLIP_PLANE1);
        }
        DrawPlate(elements, false);
        glDisable(GL_CLIP_PLANE0);
        glDisable(GL_CLIP_PLANE1);
        glDisable(GL_LIGHTING);
        return Kor3DView::DrawStaticScene();
    }
    bool DynamicPickDraw(unsigned) override
    {
        DrawPlate(elements, true);
        return true;
    }
    void PostNcDestroy() override {}
};

void Run(benchmark::State& state, Kind kind)
{
    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = AfxSetWndBackend(&backend);
    {
        BenchView view;
        view.elements = static_cast<int>(state.range(0));
        view.clipped = kind == Kind::clipped;
        view.m_bOrtho = kind != Kind::perspective;
        view.m_bShowGrid = false;
        if (!view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 1)) {
            state.SkipWithError("no window");
        } else {
            ViewDriver driver(view, 800, 600);
            driver.Size(800, 600);
            view.InitialUpdate();
            view.ZoomToFit();
            view.SetAngles(-60.0, 0.0, -30.0);
            driver.Draw();
            for (auto _ : state) {
                if (kind == Kind::pick)
                    benchmark::DoNotOptimize(view.PickObject(400, 300, 0, 10.0f, 0xFFFFFFFF, 0, nullptr));
                else
                    driver.Draw();
            }
            if (kind != Kind::pick)
                state.counters["fps"] =
                    benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
            view.DestroyWindow();
        }
    }
    AfxSetWndBackend(previous);
}

#define VIEW3D_BENCH(name, kind)                                                                            \
    void BM_##name##Small(benchmark::State& state) { Run(state, kind); }                                   \
    void BM_##name(benchmark::State& state) { Run(state, kind); }                                          \
    BENCHMARK(BM_##name##Small)->Arg(10000)->Unit(benchmark::kMillisecond);                                \
    BENCHMARK(BM_##name)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

VIEW3D_BENCH(FramesOrtho, Kind::ortho)
VIEW3D_BENCH(FramesPerspective, Kind::perspective)
VIEW3D_BENCH(FramesTwoClipPlanes, Kind::clipped)
VIEW3D_BENCH(Pick3D, Kind::pick)

} // namespace

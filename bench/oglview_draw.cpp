// Frames per second of the base OpenGL view's guarded draw cycle on the
// OSMesa host (800 x 600): coloured triangles in immediate mode or from one
// display list, with 100 glyph-list labels on top.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>

#include "glview/lumetra.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

class CBenchView : public COGLView
{
public:
    int triangles = 0;
    bool useList = false;
    GLuint list = 0;
    float bg[4] = {0.1f, 0.1f, 0.1f, 1.0f};

    void InitialUpdate() { OnInitialUpdate(); }
    void ZoomToFit() override {}
    float* GetBckGrdClr() override { return bg; }
    void PostNcDestroy() override {}

    void OnDrawOGL(CRect rect) override
    {
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, rect.Width(), 0, rect.Height(), -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (useList) {
            if (list == 0) {
                list = glGenLists(1);
                glNewList(list, GL_COMPILE);
                Triangles(rect);
                glEndList();
            }
            glCallList(list);
        } else {
            Triangles(rect);
        }
        glColor3f(1, 1, 1);
        char label[16];
        for (int i = 0; i < 100; ++i) {
            const int n = std::snprintf(label, sizeof label, "N%d", i);
            glRasterPos2i(10 + (i % 10) * 70, 20 + (i / 10) * 50);
            glCallLists(n, GL_UNSIGNED_BYTE, label);
        }
    }

private:
    void Triangles(const CRect& rect) const
    {
        const int columns = 1000;
        const float w = static_cast<float>(rect.Width()) / columns;
        const int rows = (triangles + columns - 1) / columns;
        const float h = static_cast<float>(rect.Height()) / static_cast<float>(rows > 0 ? rows : 1);
        glBegin(GL_TRIANGLES);
        for (int t = 0; t < triangles; ++t) {
            const float x = static_cast<float>(t % columns) * w;
            const float y = static_cast<float>(t / columns) * h;
            glColor3ub(static_cast<GLubyte>(t), static_cast<GLubyte>(t >> 8), 128);
            glVertex2f(x, y);
            glVertex2f(x + w, y);
            glVertex2f(x, y + h);
        }
        glEnd();
    }
};

void Frames(benchmark::State& state, bool useList)
{
    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = AfxSetWndBackend(&backend);
    {
        CBenchView view;
        view.triangles = static_cast<int>(state.range(0));
        view.useList = useList;
        if (!view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 1)) {
            state.SkipWithError("no window");
            AfxSetWndBackend(previous);
            return;
        }
        ViewDriver driver(view, 800, 600);
        view.InitialUpdate();
        for (auto _ : state)
            driver.Draw();
        state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
        view.DestroyWindow();
    }
    AfxSetWndBackend(previous);
}

void BM_ImmediateSmall(benchmark::State& state) { Frames(state, false); }
void BM_ListSmall(benchmark::State& state) { Frames(state, true); }
void BM_Immediate(benchmark::State& state) { Frames(state, false); }
void BM_List(benchmark::State& state) { Frames(state, true); }

} // namespace

BENCHMARK(BM_ImmediateSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Immediate)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

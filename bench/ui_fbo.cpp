// OpenGL on Qt with a display: milliseconds per off-screen export through
// the framebuffer-object factory at 800 x 600 and 4000 x 3000 (a scene of
// a few thousand triangles, read back into a 24-bit bitmap), and per pick
// over 10^5 named triangles in a view's own QOpenGLWidget. Needs a display
// (the gui label runs the small cases under Xvfb); without one it skips.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>

#include "glview/lumetra.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/scripted_environment.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

// n triangles under their own names in a w x h orthographic scene.
void NamedTriangles(int n, int w, int h)
{
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const int columns = 500;
    const int rows = (n + columns - 1) / columns;
    const float cw = static_cast<float>(w) / columns;
    const float ch = static_cast<float>(h) / static_cast<float>(rows);
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < n; ++t) {
        const float x = static_cast<float>(t % columns) * cw;
        const float y = static_cast<float>(t / columns) * ch;
        glColor3ub(static_cast<GLubyte>(t), static_cast<GLubyte>(t >> 8), 128);
        glVertex2f(x, y);
        glVertex2f(x + cw, y);
        glVertex2f(x, y + ch);
    }
    glEnd();
}

// The Qt backend and its OpenGL services, made once.
struct QtSetUp {
    QtSetUp()
    {
        afxui::qt::testing::TestApplication();
        env = std::make_unique<afxui::headless::ScriptedEnvironment>(backend.Backend());
        gl = std::make_unique<CQtGLServices>();
    }
    afxui::qt::testing::BackendScope backend;
    std::unique_ptr<afxui::headless::ScriptedEnvironment> env;
    std::unique_ptr<CQtGLServices> gl;
};

QtSetUp* SetUpOrSkip(benchmark::State& state)
{
    if (!afxui::qt::testing::HasDisplay()) {
        state.SkipWithError("no display");
        return nullptr;
    }
    static QtSetUp setUp;
    return &setUp;
}

void Export(benchmark::State& state, int w, int h)
{
    QtSetUp* qt = SetUpOrSkip(state);
    if (!qt)
        return;
    IOffscreenFactory* factory = AfxGetOffscreenFactory();
    for (auto _ : state) {
        OffscreenResult result = factory->Create({w, h}, 24);
        if (!result.image) {
            state.SkipWithError("no off-screen image");
            return;
        }
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        NamedTriangles(5000, w, h);
        result.image->Finish();
        benchmark::DoNotOptimize(result.image->Bits()[0]);
    }
}

void BM_FboExportSmall_800x600(benchmark::State& state)
{
    Export(state, 800, 600);
}
BENCHMARK(BM_FboExportSmall_800x600)->Unit(benchmark::kMillisecond);

void BM_FboExport_4000x3000(benchmark::State& state)
{
    Export(state, 4000, 3000);
}
BENCHMARK(BM_FboExport_4000x3000)->Unit(benchmark::kMillisecond);

class CPickBenchView : public COGLView
{
public:
    float bg[4] = {1, 1, 1, 1};
    int n = 100000;
    void ZoomToFit() override {}
    float* GetBckGrdClr() override { return bg; }
    void OnDrawOGL(CRect) override {}
    void PostNcDestroy() override {}
    void Init() { OnInitialUpdate(); }
    UINT Pick(CPoint pt)
    {
        if (m_Renderer.PrePickDraw(pt, 10, 10) != 0)
            return 0;
        glOrtho(0, m_iWidth, 0, m_iHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const int columns = 500;
        const float cw = static_cast<float>(m_iWidth) / columns;
        const float ch = static_cast<float>(m_iHeight) / (n / columns);
        for (int t = 0; t < n; ++t) {
            glLoadName(static_cast<GLuint>(t + 1));
            const float x = static_cast<float>(t % columns) * cw;
            const float y = static_cast<float>(t / columns) * ch;
            glBegin(GL_TRIANGLES);
            glVertex2f(x, y);
            glVertex2f(x + cw, y);
            glVertex2f(x, y + ch);
            glEnd();
        }
        return m_Renderer.PostPickDraw(0xFFFFFFFFu, 0, nullptr);
    }
};

void PickInView(benchmark::State& state, int n)
{
    QtSetUp* qt = SetUpOrSkip(state);
    if (!qt)
        return;
    CWnd top;
    top.Create(nullptr, "pick", WS_POPUP | WS_VISIBLE, CRect(0, 0, 820, 620), nullptr, 0);
    AfxQtWidgetOf(&top)->show();
    CPickBenchView view;
    view.n = n;
    view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &top, 1);
    view.Init();
    AfxQtWidgetOf(&view)->show();
    afxui::qt::testing::WaitUntil([&] { return view.m_bInitialized; });
    for (auto _ : state)
        benchmark::DoNotOptimize(view.Pick(CPoint(400, 300)));
    view.DestroyWindow();
    top.DestroyWindow();
}

void BM_ViewPickSmall_1e4(benchmark::State& state)
{
    PickInView(state, 10000);
}
BENCHMARK(BM_ViewPickSmall_1e4)->Unit(benchmark::kMillisecond);

void BM_ViewPick_1e5(benchmark::State& state)
{
    PickInView(state, 100000);
}
BENCHMARK(BM_ViewPick_1e5)->Unit(benchmark::kMillisecond);

} // namespace

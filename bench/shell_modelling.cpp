// The program's modelling view on the OSMesa host (800 x 600) over a plate
// model of n x n square regions sharing their edges (about 1e3, 1e4 and 1e5
// edges): the milliseconds of one point input of the polygon tool (node
// pick, edge pick, region pick and the crossing test of the new edge with
// the model and the chain) and of one rubber-band redraw (a mouse move: its
// hover picks and the frame it draws). Both must stay well under 100 ms at
// 1e4 edges.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "platform/ferrand/material.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

// A headless program: main frame, one plate document of n x n unit squares
// in its modelling view, the model filling the view.
struct Scene {
    explicit Scene(int edges)
    {
        previous = AfxSetWndBackend(&backend);
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        previousProvider = AfxSetGLHostProvider({});
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(IDR_PLATE, RUNTIME_CLASS(CBrantelDoc), RUNTIME_CLASS(CChildFrame),
                                                  RUNTIME_CLASS(CBrantelModView)));
        main = new CMainFrame;
        if (!main->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW))
            return;
        app->m_pMainWnd = main;
        main->InitFrame();
        doc = dynamic_cast<CBrantelDoc*>(app->m_pDocManager->GetTemplates()[0]->OpenDocumentFile(nullptr));
        if (!doc)
            return;
        view = dynamic_cast<CBrantelModView*>(dynamic_cast<CFrameWnd*>(main->MDIGetActive())->GetActiveView());
        if (!view)
            return;
        // n x n squares have 2 n (n + 1) edges.
        n = std::max(1, static_cast<int>(std::lround(std::sqrt(edges / 2.0))));
        Build();
        driver = std::make_unique<ViewDriver>(*view, 800, 600);
        driver->Size(800, 600);
        static_cast<CView*>(view)->OnInitialUpdate();
        view->m_bShowGrid = false;
        view->ZoomToFit();
        driver->Draw();
        ok = true;
    }
    ~Scene()
    {
        if (view)
            view->ResetGeomInput();
        driver.reset();
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        AfxSetGLHostProvider(std::move(previousProvider));
        AfxSetOffscreenFactory(previousFactory);
        AfxSetWndBackend(previous);
        COGLRenderer::ResetStaticsForTesting();
    }
    void Build()
    {
        CPlateComp* comp = doc->GetPlateComp();
        auto* material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
        std::vector<CSNode*> nodes(static_cast<std::size_t>((n + 1) * (n + 1)));
        const auto at = [&](int i, int j) -> CSNode*& { return nodes[static_cast<std::size_t>(j * (n + 1) + i)]; };
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i)
                at(i, j) = new CBoundNode(i, j, 0.0, nullptr, 0);
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                comp->AddTail(new CSectPlate(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), material));
    }
    // The view pixel of a model point.
    CPoint Pixel(double x, double y)
    {
        view->GetScreenCoord(x, y);
        return CPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    }

    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = nullptr;
    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    AfxGLHostProvider previousProvider;
    std::unique_ptr<CWinApp> app;
    CMainFrame* main = nullptr; // deletes itself
    CBrantelDoc* doc = nullptr;
    CBrantelModView* view = nullptr;
    std::unique_ptr<ViewDriver> driver;
    int n = 0;
    bool ok = false;
};

// The scene with the polygon tool started and the two points of the chain
// (right of the model, one below the other); false after reporting that
// there is no window.
bool StartPolygon(benchmark::State& state, Scene& scene, double* first, double* second)
{
    if (!scene.ok) {
        state.SkipWithError("no window");
        return false;
    }
    scene.view->SendMessage(WM_COMMAND, ID_TOOL_POLYGON);
    first[0] = second[0] = scene.n + 0.05 * scene.n;
    first[1] = 0.0;
    second[1] = 0.5 * scene.n;
    state.counters["edges"] = 2.0 * scene.n * (scene.n + 1);
    return true;
}

// A point right of the model, joined to a chain point below it: picks
// everywhere and the crossing test with every edge, then accepted.
void PointInput(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)));
    double first[2], second[2];
    if (!StartPolygon(state, scene, first, second))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        scene.view->ResetGeomInput();
        double start[2] = {first[0], first[1]}, point[2] = {second[0], second[1]};
        scene.view->AddInputPoint(start, false);
        state.ResumeTiming();
        if (!scene.view->AddInputPoint(point, false))
            state.SkipWithError("the point was refused");
    }
}

// The polygon tool with two points: the cursor moves over the model, which
// draws the frame with the rubber band.
void RubberBand(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)));
    double first[2], second[2];
    if (!StartPolygon(state, scene, first, second))
        return;
    scene.view->AddInputPoint(first, false);
    scene.view->AddInputPoint(second, false);
    const CPoint a = scene.Pixel(0.3 * scene.n, 0.3 * scene.n);
    int step = 0;
    for (auto _ : state)
        scene.driver->Move(a.x + (step++ % 2) * 7, a.y);
}

void BM_PointInputSmall(benchmark::State& state) { PointInput(state); }
void BM_RubberBandSmall(benchmark::State& state) { RubberBand(state); }
void BM_PointInput(benchmark::State& state) { PointInput(state); }
void BM_RubberBand(benchmark::State& state) { RubberBand(state); }

} // namespace

BENCHMARK(BM_PointInputSmall)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RubberBandSmall)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointInput)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RubberBand)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

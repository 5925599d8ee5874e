// The modelling view on the OSMesa host (800 x 600) over a plate mesh of
// n x n square regions (1e4, 1e5 and 1e6 elements), nodes and edges
// pickable: frames per second with a live selection, one click (its pick
// and the redraw it starts), and a band over the whole view including the
// AddSelect of every hit (which must grow linearly with the number of
// hits); and the picks alone: the click pick at the centre over nodes,
// edges and regions (also with the pick-window cull off, every object
// drawn into the selection buffer, to compare with), and the band pick
// over the whole view; and the same picks right after a model edit, which
// include building the model's pick index (also a band of 100 x 100 pixels,
// which lists the names of the regions it holds only).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "bench/pick_timing.h"
#include "glstyle/pickcull.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/framira/modview_fixture.h"

BRANTEL_UNDO_MODEL_RECORDS()

namespace
{

// The headless application with a modelling view over the mesh, zoomed so
// that the whole mesh fills the view.
struct Scene {
    explicit Scene(int elements)
    {
        previous = AfxSetWndBackend(&backend);
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        const int n = static_cast<int>(std::lround(std::sqrt(static_cast<double>(elements))));
        doc.AddMesh(n);
        // Room in the selection buffer for every node, edge and region.
        COGLRenderer::iSelBufSize = static_cast<unsigned>(4 * 4 * (n + 1) * (n + 1) + 1024);
        doc.AddView(&view);
        ok = view.Make(800, 600);
        if (!ok)
            return;
        driver = std::make_unique<ViewDriver>(view, 800, 600);
        driver->Size(800, 600);
        view.InitialUpdate();
        view.m_bShowGrid = false;
        view.ZoomToFit();
        view.m_iTool = 1;
    }
    ~Scene()
    {
        driver.reset();
        doc.RemoveView(&view);
        AfxSetOffscreenFactory(previousFactory);
        AfxSetWndBackend(previous);
        COGLRenderer::ResetStaticsForTesting();
    }

    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = nullptr;
    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    CModViewDoc doc;
    CModTestView view;
    std::unique_ptr<ViewDriver> driver;
    bool ok = false;
};

void Frames(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no window");
        return;
    }
    // A live selection: a band over the left half.
    scene.driver->Down(1, 1);
    scene.driver->Up(400, 599);
    for (auto _ : state)
        scene.driver->Draw();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void Click(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) {
        scene.driver->Down(400, 300);
        scene.driver->Up(400, 300);
    }
}

void Band(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no window");
        return;
    }
    std::size_t hits = 0;
    for (auto _ : state) {
        scene.driver->Down(1, 1);
        scene.driver->Up(798, 598);
        CObList* nodes = scene.view.GetInterfHandler()->GetSelList(2);
        hits = nodes ? static_cast<std::size_t>(nodes->GetCount()) : 0;
        state.PauseTiming();
        scene.view.GetInterfHandler()->RemoveSelected(nullptr);
        state.ResumeTiming();
    }
    state.counters["hits"] = static_cast<double>(hits);
}

// The view's pick alone: a 10-pixel click at the centre, or (band) a pick
// window over the whole view; nodes, edges and regions.
void Pick(benchmark::State& state, bool band, bool cull = true, bool afterEdit = false, float bandSize = 0.0f)
{
    Scene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no window");
        return;
    }
    std::size_t hits = 0;
    bool checking = false;
    std::vector<unsigned> answer;
    CPickWindowCull::SetEnabled(cull);
    const auto pick = [&] {
        if (band) {
            unsigned* names = nullptr;
            int count = 0;
            const float w = bandSize > 0.0f ? bandSize : 800.0f, h = bandSize > 0.0f ? bandSize : 600.0f;
            scene.view.PickObject(CPoint(400, 300), 7, w, h, names, count);
            if (checking)
                answer.assign(names, names + count);
            delete[] names;
            hits = static_cast<std::size_t>(count);
        } else {
            const DWORD name = scene.view.PickObject(400, 300, 7, 10.0f, 0xFFFFFFFF, 0, nullptr);
            if (checking)
                answer.assign(1, name);
            hits = name != 0;
        }
    };
    // Up to 1e5 elements, the answer is checked against the full selection
    // buffer first (the index is then built on more than one thread).
    if (cull && state.range(0) <= 100000) {
        checking = true;
        pick();
        const std::vector<unsigned> culled = answer;
        CPickWindowCull::SetEnabled(false);
        pick();
        CPickWindowCull::SetEnabled(true);
        checking = false;
        if (answer != culled) {
            state.SkipWithError("the culled pick answers otherwise");
            return;
        }
    }
    bench::TimePicks(state, afterEdit, pick);
    CPickWindowCull::SetEnabled(true);
    state.counters["hits"] = static_cast<double>(hits);
}

void BM_FramesSmall(benchmark::State& state) { Frames(state); }
void BM_PickSmall(benchmark::State& state) { Pick(state, false); }
void BM_PickBandSmall(benchmark::State& state) { Pick(state, true); }
void BM_Pick(benchmark::State& state) { Pick(state, false); }
void BM_PickBand(benchmark::State& state) { Pick(state, true); }
void BM_PickUnculled(benchmark::State& state) { Pick(state, false, false); }
void BM_PickAfterEdit(benchmark::State& state) { Pick(state, false, true, true); }
void BM_PickBandAfterEdit(benchmark::State& state) { Pick(state, true, true, true); }
void BM_PickBand100AfterEdit(benchmark::State& state) { Pick(state, true, true, true, 100.0f); }
void BM_ClickSmall(benchmark::State& state) { Click(state); }
void BM_BandSmall(benchmark::State& state) { Band(state); }
void BM_Frames(benchmark::State& state) { Frames(state); }
void BM_Click(benchmark::State& state) { Click(state); }
void BM_Band(benchmark::State& state) { Band(state); }

} // namespace

BENCHMARK(BM_FramesSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Frames)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Band)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickBandSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pick)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickBand)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickUnculled)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickAfterEdit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickBandAfterEdit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickBand100AfterEdit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

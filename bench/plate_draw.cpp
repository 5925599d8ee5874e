// Plate result drawing on OSMesa at 800 x 600: frames per second of the
// colour plot (filled, filled with outlines, and as prisms without flags)
// and of the mesh, and milliseconds of a result pick at a node, for meshes
// of n three-node triangles built directly on a node grid with results set
// through SetStresses (no mesher, no solver).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/analysis/analysis.h"
#include "bench/result_plate.h"
#include "femodel/strelna.h"
#include "glstyle/tincora.h"
#include "glview/lumetra.h"
#include "platform/ferrand/ferrand.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

using bench::Plate;

struct Scene {
    COSMesaSurface surface{kWidth, kHeight};
    COGLRenderer renderer;
    bool ok = renderer.InitializeOGL(&surface) == 0;
};

template <class F>
void Frames(benchmark::State& state, F draw)
{
    Scene scene;
    if (!scene.ok) {
        state.SkipWithError("no context");
        return;
    }
    Plate plate(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        scene.renderer.PreDraw(CRect(0, 0, kWidth, kHeight), nullptr);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        plate.Projection();
        draw(plate);
        scene.renderer.FinishAndSwap(true);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["elements"] = plate.elements;
}

void Filled(benchmark::State& state)
{
    Frames(state, [](Plate& p) { p.comp->DrawResults(2); });
}
void FilledOutlined(benchmark::State& state)
{
    Frames(state, [](Plate& p) { p.comp->DrawResults(2 | 16); });
}
void Prisms(benchmark::State& state)
{
    Frames(state, [](Plate& p) { p.comp->DrawResults(0); });
}
void Mesh(benchmark::State& state)
{
    Frames(state, [](Plate& p) { p.comp->DrawMesh(false, false); });
}

// A 10 x 10 pick at the pixel of the grid node nearest the centre.
void Pick(benchmark::State& state)
{
    Scene scene;
    if (!scene.ok) {
        state.SkipWithError("no context");
        return;
    }
    Plate plate(static_cast<int>(state.range(0)));
    const unsigned oldSize = COGLRenderer::iSelBufSize;
    COGLRenderer::iSelBufSize = 1u << 18;
    scene.renderer.PreDraw(CRect(0, 0, kWidth, kHeight), nullptr);
    const int ni = plate.nx / 2, nj = plate.ny / 2;
    const int px = static_cast<int>((ni + 0.5) / (plate.nx + 1.0) * kWidth);
    const int py = kHeight - static_cast<int>((nj + 0.5) / (plate.ny + 1.0) * kHeight);
    UINT picked = 0;
    for (auto _ : state) {
        scene.renderer.PrePickDraw(CPoint(px, py), 10, 10);
        plate.Projection();
        plate.comp->PickDrawResGL(8, true);
        picked = scene.renderer.PostPickDraw(0xFFFFFFFFu, 0, nullptr);
        benchmark::DoNotOptimize(picked);
    }
    COGLRenderer::iSelBufSize = oldSize;
    if (picked == 0)
        state.SkipWithError("nothing picked");
}

} // namespace

BENCHMARK(Filled)->Name("FilledSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Filled)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(FilledOutlined)->Name("FilledOutlinedSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(FilledOutlined)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Prisms)->Name("PrismsSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Prisms)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Mesh)->Name("MeshSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Mesh)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Pick)->Name("PickSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Pick)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

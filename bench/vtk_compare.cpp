// The results view's scene drawn and picked by VTK, as the figure to
// compare bench_shell_views with: a flat plate of n triangles on a node
// grid (two per cell, as bench/result_plate.h builds it) with per-vertex
// scalars through a 256-colour lookup table, in an 800 x 600 window framed
// in plan view. Milliseconds (median_ms) of a redraw, of a redraw with the
// triangles' edges drawn, of the first frame (the geometry sent again),
// also with the edges (to hold bench_shell_views' ResultListsCompileMesh
// against), of the first frame of a fresh process (VtkFirstFrameCold: the
// window's context made before the clock starts, as the views' is; to hold
// bench_shell_views' ResultListsFirstFrameCold against), and of a pick at a
// node near the centre with the cell picker and with the hardware selector.
// Every case but the cold one draws once before the timing. VTK draws
// through GLX: the program needs a display (xvfb-run), and it is built only
// where VTK is installed.
#include <benchmark/benchmark.h>

#include <vtkActor.h>
#include <vtkCamera.h>
#include <vtkCellArray.h>
#include <vtkCellPicker.h>
#include <vtkDoubleArray.h>
#include <vtkHardwareSelector.h>
#include <vtkLookupTable.h>
#include <vtkNew.h>
#include <vtkOpenGLRenderWindow.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkSelection.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "bench/cold_frame.h"
#include "bench/plate_grid.h"

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

enum class Kind { draw, drawEdges, firstFrame, firstFrameEdges, cellPick, hardwarePick };

struct Scene {
    explicit Scene(int n)
    {
        bench::PlateGrid(n, nx, ny);
        vtkNew<vtkPoints> points;
        points->SetDataTypeToDouble();
        points->Allocate(static_cast<vtkIdType>((nx + 1) * (ny + 1)));
        vtkNew<vtkDoubleArray> values;
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) {
                points->InsertNextPoint(i, j, 0.0);
                const int r = j * (nx + 1) + i;
                values->InsertNextValue((r % 97) / 97.0 - 0.5);
            }
        vtkNew<vtkCellArray> triangles;
        const auto at = [&](int i, int j) { return static_cast<vtkIdType>(j * (nx + 1) + i); };
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                const vtkIdType a[3] = {at(i, j), at(i + 1, j), at(i + 1, j + 1)};
                const vtkIdType b[3] = {at(i, j), at(i + 1, j + 1), at(i, j + 1)};
                triangles->InsertNextCell(3, a);
                triangles->InsertNextCell(3, b);
            }
        plate->SetPoints(points);
        plate->SetPolys(triangles);
        plate->GetPointData()->SetScalars(values);
        lut->SetNumberOfTableValues(256);
        lut->SetRange(-0.5, 0.5);
        lut->Build();
        mapper->SetInputData(plate);
        mapper->SetLookupTable(lut);
        mapper->SetScalarRange(-0.5, 0.5);
        mapper->ScalarVisibilityOn();
        actor->SetMapper(mapper);
        renderer->AddActor(actor);
        vtkCamera* camera = renderer->GetActiveCamera();
        camera->ParallelProjectionOn();
        camera->SetFocalPoint(nx / 2.0, ny / 2.0, 0.0);
        camera->SetPosition(nx / 2.0, ny / 2.0, 10.0);
        camera->SetViewUp(0.0, 1.0, 0.0);
        camera->SetParallelScale((ny + 1.0) / 2.0);
        renderer->ResetCameraClippingRange();
    }
    // The pixel of the grid node nearest the centre.
    void CentrePixel(int& x, int& y) const
    {
        x = static_cast<int>((nx / 2 + 0.5) / (nx + 1.0) * kWidth);
        y = static_cast<int>((ny / 2 + 0.5) / (ny + 1.0) * kHeight);
    }

    ~Scene() { renderer->RemoveActor(actor); }

    // One window and renderer for the program: each window holds a
    // connection to the display.
    struct Window {
        Window()
        {
            renderer->SetBackground(1.0, 1.0, 1.0);
            window->SetSize(kWidth, kHeight);
            window->AddRenderer(renderer);
            window->SetOffScreenRendering(1);
        }
        vtkNew<vtkRenderer> renderer;
        vtkNew<vtkRenderWindow> window;
    };
    static Window& Shared()
    {
        static Window shared;
        return shared;
    }

    int nx = 0, ny = 0;
    vtkNew<vtkPolyData> plate;
    vtkNew<vtkLookupTable> lut;
    vtkNew<vtkPolyDataMapper> mapper;
    vtkNew<vtkActor> actor;
    vtkRenderer* renderer = Shared().renderer;
    vtkRenderWindow* window = Shared().window;
};

void Measure(benchmark::State& state, Kind kind)
{
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display (run under xvfb-run)");
        return;
    }
    Scene scene(static_cast<int>(state.range(0)));
    if (kind == Kind::drawEdges || kind == Kind::firstFrameEdges) {
        scene.actor->GetProperty()->EdgeVisibilityOn();
        scene.actor->GetProperty()->SetEdgeColor(0.0, 0.0, 0.0);
    }
    scene.window->Render();
    int px = 0, py = 0;
    scene.CentrePixel(px, py);
    vtkNew<vtkCellPicker> picker;
    picker->SetTolerance(5.0 / kWidth);
    std::vector<double> times;
    bool picked = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        switch (kind) {
        case Kind::draw:
        case Kind::drawEdges:
            scene.window->Render();
            break;
        case Kind::firstFrame:
        case Kind::firstFrameEdges:
            scene.plate->Modified(); // the mapper sends the geometry again
            scene.window->Render();
            break;
        case Kind::cellPick:
            picked = picker->Pick(px, py, 0.0, scene.renderer) != 0 && picked;
            break;
        case Kind::hardwarePick: {
            vtkNew<vtkHardwareSelector> selector;
            selector->SetRenderer(scene.renderer);
            selector->SetArea(static_cast<unsigned>(px - 5), static_cast<unsigned>(py - 5),
                              static_cast<unsigned>(px + 5), static_cast<unsigned>(py + 5));
            selector->SetFieldAssociation(vtkDataObject::FIELD_ASSOCIATION_POINTS);
            vtkSelection* selection = selector->Select();
            picked = selection && selection->GetNumberOfNodes() > 0 && picked;
            if (selection)
                selection->Delete();
            break;
        }
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
    state.counters["median_ms"] = times.empty() ? 0.0 : times[times.size() / 2];
    state.counters["elements"] = 2.0 * scene.nx * scene.ny;
    if (!picked)
        state.SkipWithError("nothing picked");
}

// The first frame of a fresh process: the plate's scene, the window's
// context made, then the first render timed.
void FirstFrameCold(benchmark::State& state, const char* name)
{
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display (run under xvfb-run)");
        return;
    }
    bench::ColdCase(state, name, [&]() -> double {
        Scene scene(static_cast<int>(state.range(0)));
        if (auto* gl = vtkOpenGLRenderWindow::SafeDownCast(scene.window))
            gl->Initialize();
        const auto start = std::chrono::steady_clock::now();
        scene.window->Render();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    });
}

void BM_VtkFirstFrameColdSmall(benchmark::State& state) { FirstFrameCold(state, "BM_VtkFirstFrameColdSmall"); }
void BM_VtkFirstFrameCold(benchmark::State& state) { FirstFrameCold(state, "BM_VtkFirstFrameCold"); }
BENCHMARK(BM_VtkFirstFrameColdSmall)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_VtkFirstFrameCold)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// Wall time decides the iterations: VTK's drawing runs mostly outside the
// calling thread.
#define VTK_BENCH(name, kind)                                                                               \
    void BM_##name##Small(benchmark::State& state) { Measure(state, kind); }                              \
    void BM_##name(benchmark::State& state) { Measure(state, kind); }                                     \
    BENCHMARK(BM_##name##Small)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();                \
    BENCHMARK(BM_##name)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

VTK_BENCH(VtkDraw, Kind::draw)
VTK_BENCH(VtkDrawEdges, Kind::drawEdges)
VTK_BENCH(VtkFirstFrame, Kind::firstFrame)
VTK_BENCH(VtkFirstFrameEdges, Kind::firstFrameEdges)
VTK_BENCH(VtkCellPick, Kind::cellPick)
VTK_BENCH(VtkHardwarePick, Kind::hardwarePick)

} // namespace

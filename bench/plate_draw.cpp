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
#include "femodel/strelna.h"
#include "glstyle/tincora.h"
#include "glview/lumetra.h"
#include "platform/ferrand/ferrand.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Hands a region a mesh; the region owns it afterwards.
struct MeshSlot : CSectMeshArea {
    static CMeshOrganizer* CSectMeshArea::*Slot() { return &MeshSlot::m_pMesh; }
};

class BenchComp : public CPlateComp {
public:
    using CSectComp::m_MaxVals;
    using CSectComp::m_MaxValsExt;
    using CSectComp::m_MinVals;
    using CSectComp::m_MinValsExt;
};

// A plate of n triangles over nx x ny grid cells, two per cell (nx the
// smallest divisor of the cell count not below its square root), with
// stresses that vary over the plate.
struct Plate {
    explicit Plate(int n)
    {
        THIN_EDGE = 1.0;
        WIDE_EDGE = 2.0;
        CGraph::m_pNodeList = &nodes;
        const int cells = n / 2;
        nx = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(cells)))));
        while (nx < cells && cells % nx != 0)
            ++nx;
        ny = std::max(1, cells / nx);
        auto* mesh = new CMeshOrganizer;
        std::vector<CSNode*> grid;
        grid.reserve(static_cast<size_t>((nx + 1) * (ny + 1)));
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i)
                grid.push_back(new CSNode(i, j, 0.0, nullptr, 0));
        auto at = [&](int i, int j) { return grid[static_cast<size_t>(j * (nx + 1) + i)]; };
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                mesh->AddElement(new CTriElement(at(i, j), at(i + 1, j), at(i + 1, j + 1)));
                mesh->AddElement(new CTriElement(at(i, j), at(i + 1, j + 1), at(i, j + 1)));
            }
        mesh->SetNames("plate");
        elements = 2 * nx * ny;

        comp = std::make_unique<BenchComp>();
        comp->AddMaterial(&steel);
        comp->m_iElemType = 31;
        comp->m_iMeshKind = 101;
        region = new CSectPlate(new CSNode(0, 0, 0, nullptr, 0), new CSNode(nx, 0, 0, nullptr, 0),
                                new CSNode(nx, ny, 0, nullptr, 0), new CSNode(0, ny, 0, nullptr, 0), &steel);
        region->SetThickness(0.2);
        region->*MeshSlot::Slot() = mesh;
        comp->AddTail(region);

        CElement::m_nNodeVal = 3;
        CElement::m_nVectors = 3;
        CMatrix stresses(3 * elements, 3, true, 0.0);
        for (int r = 0; r < stresses.GetRows(); ++r) {
            stresses[r][0] = (r % 97) / 97.0 - 0.5;
            stresses[r][1] = (r % 89) / 89.0 - 0.5;
            stresses[r][2] = (r % 83) / 83.0 - 0.5;
        }
        int row = 0;
        region->SetStresses(stresses, row);

        comp->SetResCount(9);
        comp->m_MinVals.Allocate(9, true, -0.5);
        comp->m_MaxVals.Allocate(9, true, 0.5);
        comp->m_MaxValsExt.Allocate(4, true, 1.0);
        comp->m_MinValsExt.Allocate(4, true, -1.0);
        comp->SetActVal(0);
        comp->SetFactor(-1.0);
    }
    ~Plate()
    {
        comp.reset();
        CGraph::m_pNodeList = nullptr;
    }

    // The plate over the surface.
    void Projection() const
    {
        glMatrixMode(GL_PROJECTION);
        glOrtho(-0.5, nx + 0.5, -0.5, ny + 0.5, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    NODELIST nodes;
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    std::unique_ptr<BenchComp> comp;
    CSectPlate* region = nullptr;
    int nx = 0, ny = 0, elements = 0;
};

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

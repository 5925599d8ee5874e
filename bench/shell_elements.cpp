// The element view on the OSMesa host (800 x 600) over a plate mesh of n
// quadrilaterals (1e4, 1e5 and 1e6) built directly on a node grid: the
// milliseconds of a rectangle selection over the whole mesh (every element
// selected, whatever the selection-buffer setting) and of Delete of that
// selection; and the view's picks alone, with the mesh's pick index built:
// a click on the elements at the centre and the band over the whole view,
// also right after a model edit (which builds the index again).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "bench/pick_timing.h"
#include "bench/quad_grid.h"
#include "femodel/strelna.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

// Hands a region a mesh; the region owns it afterwards.
struct MeshSlot : CSectMeshArea {
    static CMeshOrganizer* CSectMeshArea::*Slot() { return &MeshSlot::m_pMesh; }
};

// A square plate region of side n meshed with n x n unit quadrilaterals.
void Mesh(CBrantelDoc& doc, int n)
{
    CPlateComp* comp = doc.GetPlateComp();
    auto* material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
    auto* region = new CSectPlate(new CBoundNode(0, 0, 0, nullptr, 0), new CBoundNode(n, 0, 0, nullptr, 0),
                                  new CBoundNode(n, n, 0, nullptr, 0), new CBoundNode(0, n, 0, nullptr, 0),
                                  material);
    region->SetThickness(10.0);
    auto* mesh = new CMeshOrganizer;
    BuildQuadGrid(*mesh, n);
    region->*MeshSlot::Slot() = mesh;
    comp->AddTail(region);
}

struct Scene {
    explicit Scene(int elements)
    {
        previous = AfxSetWndBackend(&backend);
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        n = static_cast<int>(std::lround(std::sqrt(static_cast<double>(elements))));
        doc = std::make_unique<CBrantelDoc>();
        doc->m_bAutoDelete = FALSE;
        doc->UpdateStatics(true);
        Mesh(*doc, n);
        // A buffer far too small for the mesh: the view makes room itself.
        COGLRenderer::iSelBufSize = 4096;
        view = new CElemModView; // deletes itself with its window
        doc->AddView(view);
        ok = view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 1) != FALSE;
        if (!ok)
            return;
        driver = std::make_unique<ViewDriver>(*view, 800, 600);
        driver->Size(800, 600);
        static_cast<CView*>(view)->OnInitialUpdate();
        view->m_bShowGrid = false;
        view->ZoomToFit();
        view->m_iTool = VIEWTOOL_POINT;
        Kor2DModView::m_uiSelectFilter = KorBasisGeomHlpr::kAreas;
    }
    ~Scene()
    {
        driver.reset();
        doc->UpdateStatics(false);
        doc.reset();
        AfxSetOffscreenFactory(previousFactory);
        AfxSetWndBackend(previous);
        COGLRenderer::ResetStaticsForTesting();
        Kor2DModView::m_uiSelectFilter = 7;
    }
    // A rectangle over the whole view; the number of elements selected.
    long SelectAll()
    {
        driver->Down(1, 1);
        driver->Up(798, 598);
        CObList* areas = view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kAreas);
        return areas ? static_cast<long>(areas->GetCount()) : 0;
    }

    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = nullptr;
    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    std::unique_ptr<CBrantelDoc> doc;
    CElemModView* view = nullptr;
    std::unique_ptr<ViewDriver> driver;
    int n = 0;
    bool ok = false;
};

void Select(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no window");
        return;
    }
    long selected = 0;
    for (auto _ : state) {
        selected = scene.SelectAll();
        state.PauseTiming();
        scene.view->GetInterfHandler()->RemoveSelected(nullptr);
        state.ResumeTiming();
    }
    if (selected != static_cast<long>(scene.n) * scene.n)
        state.SkipWithError("not every element was selected");
    state.counters["selected"] = static_cast<double>(selected);
}

// The element view's pick alone (elements, as the selection above picks
// them): a 10-pixel click at the centre, or a band over the whole view.
void Pick(benchmark::State& state, bool band, bool afterEdit = false)
{
    Scene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no window");
        return;
    }
    const UINT kinds = KorBasisGeomHlpr::kAreas | CElemModView::kMeshPick;
    COGLRenderer::iSelBufSize = static_cast<unsigned>(4 * scene.n * scene.n + 1024);
    long hits = 0;
    const auto pick = [&] {
        if (band) {
            unsigned* names = nullptr;
            int count = 0;
            scene.view->PickObject(CPoint(400, 300), kinds, 800.0f, 600.0f, names, count);
            delete[] names;
            hits = count;
        } else {
            hits = scene.view->PickObject(400, 300, kinds, 10.0f, 0xFFFFFFFF, 0, nullptr) != 0;
        }
    };
    bench::TimePicks(state, afterEdit, pick);
    state.counters["hits"] = static_cast<double>(hits);
}

void Delete(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Scene scene(static_cast<int>(state.range(0)));
        if (!scene.ok) {
            state.SkipWithError("no window");
            return;
        }
        const long selected = scene.SelectAll();
        state.ResumeTiming();
        scene.view->DeleteSelectedElements();
        state.PauseTiming();
        long left = 0;
        scene.doc->GetPlateComp()->ForEachMeshElement([&left](CElement*) { ++left; });
        if (left != 0 || selected == 0)
            state.SkipWithError("the selection was not deleted");
        state.counters["deleted"] = static_cast<double>(selected);
        state.ResumeTiming();
    }
}

void BM_SelectSmall(benchmark::State& state) { Select(state); }
void BM_DeleteSmall(benchmark::State& state) { Delete(state); }
void BM_Select(benchmark::State& state) { Select(state); }
void BM_PickElement(benchmark::State& state) { Pick(state, false); }
void BM_PickElementBand(benchmark::State& state) { Pick(state, true); }
void BM_PickElementAfterEdit(benchmark::State& state) { Pick(state, false, true); }
void BM_PickElementBandAfterEdit(benchmark::State& state) { Pick(state, true, true); }
void BM_Delete(benchmark::State& state) { Delete(state); }

} // namespace

BENCHMARK(BM_SelectSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Select)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PickElement)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickElementBand)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickElementAfterEdit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickElementBandAfterEdit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Delete)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

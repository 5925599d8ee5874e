// The program's model and results views on the OSMesa host at 800 x 600,
// over a plate document of n triangles carrying results (1e4, 1e5, 1e6;
// each corner the value of its node, as the VTK comparison's scene).
// Every case is timed warm, in a process that has drawn before, unless its
// name ends in Cold. Milliseconds to compile the model list and the result
// lists (each with the one draw that compiles them: the first frame;
// CompileCorners with every element corner in a colour of its own, the
// worst case; CompileMesh with the mesh lines on, the edges of a mesh the
// plot has drawn before), of the first frame of a new results view with the
// mesh lines on over a mesh no view has drawn (FirstFrameMesh, as a user
// opens it: the regions' edge tables not yet made; the counter page_faults
// the median of the page faults its frames take), of the first frame of a
// fresh process (FirstFrameCold; BareListCompileCold the bare list's), to
// draw from the lists (in the plan state; DrawFlat with
// the plot's scale set to 0, the redraw to hold the plan state's against)
// (also with the mesh lines on, smoothed as by default and not smoothed;
// the median frame is the counter median_ms), of one hover pick over a result point (the pick and the
// redraw it starts) and of the result-point pick alone (its first pick
// after the lists were compiled, which records the pick index, as the
// counter first_pick_ms, and the first hover after a compile as
// first_hover_ms). Compiling grows about linearly with n; a
// draw from the lists must not compile them again (the benchmark stops
// with an error when it does). After the run the program prints the ratios
// of the first frames to the bare list of the same triangles, warm and
// cold (scripts/first-frame-ratios.sh holds them against VTK's).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <GL/osmesa.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "bench/cold_frame.h"
#include "bench/plate_grid.h"
#include "bench/ratio_report.h"
#include "bench/result_plate.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The modelling views' common base with the geometry-input hooks a view
// of its own would give; on the stack, so it does not delete itself.
class ModelView : public CBrantelView
{
public:
    ModelView() { m_pGeomHlpr = new KorAreaGeomHlpr; }
    void EditObject() override {}
    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}
    CObList* GetMoveList() override { return nullptr; }
    void NewTmpNode(bool, CSNode* node) override { delete node; }
    CSNode* GetRefNode(int) override { return nullptr; }
    void InitialUpdate() { OnInitialUpdate(); }
    void PostNcDestroy() override {}
};

class ResultsView : public CBrantelResView
{
public:
    void InitialUpdate() { OnInitialUpdate(); }
    // The 2D state as the program enters it: the plan state with it.
    void Plan()
    {
        m_b3D = false;
        FollowTwoDimensionalState();
    }
    void PostNcDestroy() override {}
};

enum class Kind { compile, compileCorners, compileMesh, firstFrameMesh, draw, drawFlat, drawMesh, drawMeshSharp, hover, pick };

bool Compiles(Kind kind)
{
    return kind == Kind::compile || kind == Kind::compileCorners || kind == Kind::compileMesh;
}

// A plate document of n elements with results in a view of type V on the
// OSMesa host, zoomed to fit in plan view.
template <class V> struct Scene {
    explicit Scene(int elements, bench::Values layout = bench::Values::perNode)
        : own(std::make_unique<bench::Plate>(elements, layout)), plate(*own)
    {
        Open();
    }
    // Another view of a plate that outlives it.
    explicit Scene(bench::Plate& shared) : plate(shared) { Open(); }
    void Open()
    {
        previous = AfxSetWndBackend(&backend);
        // The document shows the plate's component, which it only borrows
        // (the plate's material is no heap object of the document's).
        doc = std::make_unique<CBrantelDoc>();
        doc->m_bAutoDelete = FALSE; // the scene deletes it
        ownComp = doc->m_pSectComp;
        doc->m_pSectComp = plate.comp.get();
        doc->AddView(&view);
        ok = view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 1) != FALSE;
        if (!ok)
            return;
        driver = std::make_unique<ViewDriver>(view, kWidth, kHeight);
        driver->Size(kWidth, kHeight);
        view.InitialUpdate();
        ok = view.m_bInitialized;
    }
    ~Scene()
    {
        driver.reset(); // destroys the window
        doc->RemoveView(&view);
        doc->m_pSectComp = ownComp;
        doc.reset();
        AfxSetWndBackend(previous);
    }
    // The id of the view's first display list (0: none compiled).
    unsigned FirstList() const { return view.m_pListIds ? view.m_pListIds[0] : 0u; }

    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = nullptr;
    std::unique_ptr<bench::Plate> own; // none when the plate is shared
    bench::Plate& plate;
    std::unique_ptr<CBrantelDoc> doc;
    CSectComp* ownComp = nullptr; // the document's own component
    V view;
    std::unique_ptr<ViewDriver> driver;
    bool ok = false;
};

template <class V> void Lists(benchmark::State& state, Kind kind, Scene<V>& scene)
{
    scene.driver->Draw();
    const unsigned compiled = scene.FirstList();
    if (compiled == 0) {
        state.SkipWithError("no list compiled");
        return;
    }
    std::vector<double> frames;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (Compiles(kind))
            scene.view.InvalidateList();
        scene.driver->Draw();
        frames.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(frames.size() / 2), frames.end());
    state.counters["median_ms"] = frames.empty() ? 0.0 : frames[frames.size() / 2];
    if (!Compiles(kind) && (scene.FirstList() != compiled || !scene.view.m_pListValid[0]))
        state.SkipWithError("a draw from the lists compiled them again");
    state.counters["elements"] = scene.plate.elements;
}

void ModelList(benchmark::State& state, Kind kind)
{
    Scene<ModelView> scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no view");
        return;
    }
    scene.view.ZoomToFit();
    Lists(state, kind, scene);
}

// The results view as the program shows it: the plan state, zoomed to
// fit, the scale normalised.
void ShowPlan(Scene<ResultsView>& scene)
{
    scene.view.Plan();
    scene.view.ZoomToFit();
    scene.view.NormalizeScale();
}

void ResultLists(benchmark::State& state, Kind kind)
{
    Scene<ResultsView> scene(static_cast<int>(state.range(0)),
                             kind == Kind::compileCorners ? bench::Values::perCorner : bench::Values::perNode);
    if (!scene.ok) {
        state.SkipWithError("no view");
        return;
    }
    ShowPlan(scene);
    if (kind == Kind::drawFlat)
        scene.plate.comp->SetFactor(0.0);
    if (kind == Kind::compileMesh || kind == Kind::drawMesh || kind == Kind::drawMeshSharp)
        scene.view.m_iViewState |= CBrantelResView::kMeshBit;
    // The lines without smoothing (the setting "smooth lines" off).
    const bool smooth = COGLRenderer::bLineSmooth;
    if (kind == Kind::drawMeshSharp)
        COGLRenderer::bLineSmooth = false;
    struct Restore {
        bool smooth;
        ~Restore() { COGLRenderer::bLineSmooth = smooth; }
    } restore{smooth};
    if (kind != Kind::hover && kind != Kind::pick) {
        Lists(state, kind, scene);
        return;
    }
    // The pointer over the plot: a point with a result point under it,
    // found once; each pick then finds it as a new pending point.
    scene.view.m_iTool = VIEWTOOL_POINT;
    scene.driver->Draw();
    CPoint at(-1, -1);
    for (int y = kHeight / 4; y < kHeight * 3 / 4 && at.x < 0; y += 5)
        for (int x = kWidth / 3; x < kWidth * 2 / 3 && at.x < 0; x += 5) {
            scene.driver->Move(x, y);
            if (scene.view.m_Picks.m_pPending)
                at = CPoint(x, y);
        }
    if (at.x < 0) {
        state.SkipWithError("no result point under the pointer");
        return;
    }
    const unsigned oldSize = COGLRenderer::iSelBufSize;
    COGLRenderer::iSelBufSize = 1u << 18;
    if (kind == Kind::hover) {
        const unsigned compiled = scene.FirstList();
        for (auto _ : state) {
            scene.view.m_Picks.m_pPending = nullptr;
            scene.driver->Move(at.x, at.y);
            benchmark::DoNotOptimize(scene.view.m_Picks.m_pPending);
        }
        if (scene.FirstList() != compiled || !scene.view.m_pListValid[0])
            state.SkipWithError("a hover compiled the lists again");
    } else {
        // The first pick after a compile records the index.
        scene.view.InvalidateList();
        scene.driver->Draw();
        const auto start = std::chrono::steady_clock::now();
        DWORD name = scene.view.PickObject(at.x, at.y, 8, 10.0f, 0, 0, nullptr);
        state.counters["first_pick_ms"] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        // The first hover after a compile: the pick, the node table and the
        // redraw.
        scene.view.InvalidateList();
        scene.driver->Draw();
        scene.view.m_Picks.m_pPending = nullptr;
        const auto hover = std::chrono::steady_clock::now();
        scene.driver->Move(at.x, at.y);
        state.counters["first_hover_ms"] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - hover).count();
        std::vector<double> picks;
        for (auto _ : state) {
            const auto begin = std::chrono::steady_clock::now();
            name = scene.view.PickObject(at.x, at.y, 8, 10.0f, 0, 0, nullptr);
            picks.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
            benchmark::DoNotOptimize(name);
        }
        std::nth_element(picks.begin(), picks.begin() + static_cast<std::ptrdiff_t>(picks.size() / 2), picks.end());
        state.counters["median_ms"] = picks.empty() ? 0.0 : picks[picks.size() / 2];
        if (name == 0)
            state.SkipWithError("nothing picked");
    }
    COGLRenderer::iSelBufSize = oldSize;
    state.counters["elements"] = scene.plate.elements;
}

// Drops the regions' edge tables, as a mesh no view has drawn lacks them: a
// region without a mesh forgets its table when its edges are asked for.
void ForgetEdgeTables(bench::Plate& plate)
{
    CMeshOrganizer*& mesh = plate.region->*bench::MeshSlot::Slot();
    CMeshOrganizer* held = mesh;
    mesh = nullptr;
    CMeshLines none;
    plate.region->CollectMeshEdges(false, 3, none);
    mesh = held;
}

// The first frame of a new results view with the mesh lines on, over a
// plate whose regions have no edge tables yet: each iteration opens a new
// view (not timed) and times its first draw; one such view draws before
// the timing.
void FirstFrameMesh(benchmark::State& state)
{
    bench::Plate plate(static_cast<int>(state.range(0)));
    // The milliseconds of a new view's first frame, negative without one,
    // and the page faults the process took in it (faults: memory the frame
    // takes fresh from the kernel; on a virtual machine each costs about
    // ten microseconds and they make most of the spread between frames).
    long faults = 0;
    const auto frame = [&]() -> double {
        ForgetEdgeTables(plate);
        auto scene = std::make_unique<Scene<ResultsView>>(plate);
        if (!scene->ok)
            return -1.0;
        ShowPlan(*scene);
        scene->view.m_iViewState |= CBrantelResView::kMeshBit;
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        scene->driver->Draw();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        getrusage(RUSAGE_SELF, &after);
        faults = after.ru_minflt - before.ru_minflt;
        return scene->FirstList() != 0 ? ms : -1.0;
    };
    if (frame() < 0.0) {
        state.SkipWithError("no list compiled");
        return;
    }
    std::vector<double> frames;
    std::vector<long> frameFaults;
    for (auto _ : state) {
        const double ms = frame();
        if (ms < 0.0) {
            state.SkipWithError("no list compiled");
            return;
        }
        state.SetIterationTime(ms / 1000.0);
        frames.push_back(ms);
        frameFaults.push_back(faults);
    }
    std::nth_element(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(frames.size() / 2), frames.end());
    std::nth_element(frameFaults.begin(), frameFaults.begin() + static_cast<std::ptrdiff_t>(frameFaults.size() / 2),
                     frameFaults.end());
    state.counters["median_ms"] = frames.empty() ? 0.0 : frames[frames.size() / 2];
    state.counters["page_faults"] =
        frameFaults.empty() ? 0.0 : static_cast<double>(frameFaults[frameFaults.size() / 2]);
    state.counters["elements"] = plate.elements;
}

// The results view's first frame in a fresh process (the plate built and
// the view opened before the clock starts): Mesa's first list in the
// process costs more than later ones.
void FirstFrameCold(benchmark::State& state, const char* name)
{
    bench::ColdCase(state, name, [&]() -> double {
        Scene<ResultsView> scene(static_cast<int>(state.range(0)));
        if (!scene.ok) {
            state.SkipWithError("no view");
            return -1.0;
        }
        ShowPlan(scene);
        const auto start = std::chrono::steady_clock::now();
        scene.driver->Draw();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (scene.FirstList() == 0) {
            state.SkipWithError("no list compiled");
            return -1.0;
        }
        return ms;
    });
}

// The least a display list of the scene costs on this OpenGL: the plate's
// triangles with their corner colours (each node's value through a
// 256-colour table, as VTK's scene) and nothing else, compiled into one
// list by glBegin, glColor4dv and glVertex3d in one GL_TRIANGLES primitive
// and drawn once, in an OSMesa context of the views' size. The figure to
// hold ResultListsCompile against: the rest of the program's first frame
// is its own walk over the elements and the legend. One frame before the
// timing, as the views' cases draw one (BareListCompileCold: the first
// frame of a fresh process).
class BareScene
{
public:
    explicit BareScene(int elements)
    {
        bench::PlateGrid(elements, nx, ny);
        for (int i = 0; i < 256; ++i) {
            colours[i][0] = i / 255.0;
            colours[i][1] = 1.0 - i / 255.0;
            colours[i][2] = 0.5;
            colours[i][3] = 1.0;
        }
        colour.resize(static_cast<std::size_t>((nx + 1) * (ny + 1)));
        for (std::size_t r = 0; r < colour.size(); ++r)
            colour[r] = static_cast<int>(((r % 97) / 97.0) * 255.0);
        context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
        buffer.resize(static_cast<std::size_t>(kWidth) * kHeight * 4);
        ok = context && OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, kWidth, kHeight);
        if (!ok)
            return;
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-0.5, nx + 0.5, -0.5, ny + 0.5, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glShadeModel(GL_SMOOTH);
    }
    ~BareScene()
    {
        if (context)
            OSMesaDestroyContext(context);
    }
    BareScene(const BareScene&) = delete;
    BareScene& operator=(const BareScene&) = delete;

    // Milliseconds to compile the list and draw it once.
    double Frame()
    {
        const auto vertex = [&](int i, int j) {
            glColor4dv(colours[colour[static_cast<std::size_t>(j * (nx + 1) + i)]]);
            glVertex3d(i, j, 0.0);
        };
        const auto start = std::chrono::steady_clock::now();
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glNormal3d(0.0, 0.0, 1.0);
        glBegin(GL_TRIANGLES);
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                vertex(i, j), vertex(i + 1, j), vertex(i + 1, j + 1);
                vertex(i, j), vertex(i + 1, j + 1), vertex(i, j + 1);
            }
        glEnd();
        glEndList();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCallList(list);
        glFinish();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        glDeleteLists(list, 1);
        return ms;
    }

    int nx = 0, ny = 0;
    bool ok = false;

private:
    double colours[256][4];
    std::vector<int> colour;
    OSMesaContext context = nullptr;
    std::vector<unsigned char> buffer;
};

void BareList(benchmark::State& state)
{
    BareScene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    scene.Frame();
    std::vector<double> frames;
    for (auto _ : state)
        frames.push_back(scene.Frame());
    std::nth_element(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(frames.size() / 2), frames.end());
    state.counters["median_ms"] = frames.empty() ? 0.0 : frames[frames.size() / 2];
    state.counters["elements"] = 2.0 * scene.nx * scene.ny;
}

void BareListCold(benchmark::State& state, const char* name)
{
    bench::ColdCase(state, name, [&]() -> double {
        BareScene scene(static_cast<int>(state.range(0)));
        if (!scene.ok) {
            state.SkipWithError("no OSMesa context");
            return -1.0;
        }
        return scene.Frame();
    });
}

void BM_BareListCompileSmall(benchmark::State& state) { BareList(state); }
void BM_BareListCompile(benchmark::State& state) { BareList(state); }
BENCHMARK(BM_BareListCompileSmall)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareListCompile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A cold case runs one fresh process per iteration; its time is the
// frame's alone.
#define COLD_BENCH(name, function)                                                                          \
    void BM_##name##Small(benchmark::State& state) { function(state, "BM_" #name "Small"); }               \
    void BM_##name(benchmark::State& state) { function(state, "BM_" #name); }                              \
    BENCHMARK(BM_##name##Small)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1); \
    BENCHMARK(BM_##name)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

COLD_BENCH(BareListCompileCold, BareListCold)
COLD_BENCH(ResultListsFirstFrameCold, FirstFrameCold)

void BM_ResultListsFirstFrameMeshSmall(benchmark::State& state) { FirstFrameMesh(state); }
void BM_ResultListsFirstFrameMesh(benchmark::State& state) { FirstFrameMesh(state); }
BENCHMARK(BM_ResultListsFirstFrameMeshSmall)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ResultListsFirstFrameMesh)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime();

#define VIEWS_BENCH(name, function, kind)                                                                   \
    void BM_##name##Small(benchmark::State& state) { function(state, kind); }                              \
    void BM_##name(benchmark::State& state) { function(state, kind); }                                     \
    BENCHMARK(BM_##name##Small)->Arg(10000)->Unit(benchmark::kMillisecond);                                \
    BENCHMARK(BM_##name)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

VIEWS_BENCH(ModelListCompile, ModelList, Kind::compile)
VIEWS_BENCH(ModelListDraw, ModelList, Kind::draw)
VIEWS_BENCH(ResultListsCompile, ResultLists, Kind::compile)
VIEWS_BENCH(ResultListsCompileCorners, ResultLists, Kind::compileCorners)
VIEWS_BENCH(ResultListsCompileMesh, ResultLists, Kind::compileMesh)
VIEWS_BENCH(ResultListsDraw, ResultLists, Kind::draw)
VIEWS_BENCH(ResultListsDrawFlat, ResultLists, Kind::drawFlat)
VIEWS_BENCH(ResultListsDrawMesh, ResultLists, Kind::drawMesh)
VIEWS_BENCH(ResultListsDrawMeshSharp, ResultLists, Kind::drawMeshSharp)
VIEWS_BENCH(HoverPick, ResultLists, Kind::hover)
VIEWS_BENCH(ResultPick, ResultLists, Kind::pick)

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv,
                                {{"first frame / bare list", "BM_ResultListsCompile", "BM_BareListCompile"},
                                 {"corner colours / bare list", "BM_ResultListsCompileCorners", "BM_BareListCompile"},
                                 {"cold first frame / cold bare list", "BM_ResultListsFirstFrameCold",
                                  "BM_BareListCompileCold"}});
}

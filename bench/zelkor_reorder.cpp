// The DOF graph of a structured quadrilateral mesh (two DOFs per node): the
// two-pass build, and the renumbering heuristics.
#include <cmath>
#include <filesystem>
#include <vector>

#include <benchmark/benchmark.h>

#include "matrix/zelkor.h"

namespace {

// The DOF lists of the four-node elements of a square grid with about
// `dofs` DOFs, two per node.
struct Mesh {
    int dofs = 0;
    std::vector<LONG> elementDofs; // eight per element
};

Mesh QuadMesh(int dofs)
{
    const int side = std::max(2, static_cast<int>(std::lround(std::sqrt(dofs / 2.0))));
    Mesh mesh;
    mesh.dofs = 2 * side * side;
    mesh.elementDofs.reserve(static_cast<std::size_t>(8 * (side - 1) * (side - 1)));
    for (int j = 0; j + 1 < side; ++j) {
        for (int i = 0; i + 1 < side; ++i) {
            const int a = j * side + i;
            for (const int node : {a, a + 1, a + side + 1, a + side}) {
                mesh.elementDofs.push_back(2 * node);
                mesh.elementDofs.push_back(2 * node + 1);
            }
        }
    }
    return mesh;
}

void BuildGraph(CReorderMat& g, Mesh& mesh)
{
    g.Alloc(mesh.dofs);
    const std::size_t n = mesh.elementDofs.size();
    for (std::size_t e = 0; e < n; e += 8)
        g.InsertDOFs(&mesh.elementDofs[e], 0, 8);
    g.Init();
    for (std::size_t e = 0; e < n; e += 8)
        g.InsertDOFs(&mesh.elementDofs[e], 1, 8);
}

double Entries(CReorderMat& g)
{
    double entries = 0;
    for (int v = 0; v < g.GetRows(); ++v)
        entries += g.GetRowLength(v);
    return entries;
}

void Build(benchmark::State& state)
{
    Mesh mesh = QuadMesh(static_cast<int>(state.range(0)));
    CReorderMat g(0);
    for (auto _ : state) {
        BuildGraph(g, mesh);
        g.PostReorder();
        benchmark::DoNotOptimize(g.f_v_inv(0));
    }
    int band = 0;
    state.counters["dofs"] = mesh.dofs;
    state.counters["entries"] = Entries(g);
    state.counters["envelope"] = static_cast<double>(g.Env(&band));
    state.counters["bandwidth"] = band;
    state.counters["time_per_dof"] = benchmark::Counter(
        mesh.dofs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Answers every message without showing it.
class SilentMessages : public CMessageService {
public:
    int MessageBox(LPCTSTR, LPCTSTR, UINT nType) override { return AfxDefaultAnswer(nType); }
};

// Runs a heuristic on a freshly built graph per iteration, its scripts going
// to a temporary folder and its reports nowhere.
template <void (CReorderMat::*Heuristic)()>
void Reorder(benchmark::State& state)
{
    SilentMessages silent;
    CMessageService* const previousService = AfxSetMessageService(&silent);
    const CString previousFolder = CReorderMat::GetScriptFolder();
    const auto folder = std::filesystem::temp_directory_path() / "zelkor_reorder_bench";
    std::filesystem::create_directories(folder);
    CReorderMat::SetScriptFolder(CString(folder.string()));

    Mesh mesh = QuadMesh(static_cast<int>(state.range(0)));
    CReorderMat g(0);
    int bandBefore = 0;
    int bandAfter = 0;
    LONGLONG envBefore = 0;
    LONGLONG envAfter = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BuildGraph(g, mesh);
        envBefore = g.Env(&bandBefore);
        state.ResumeTiming();
        (g.*Heuristic)();
        state.PauseTiming();
        envAfter = g.Env(&bandAfter);
        state.ResumeTiming();
    }
    state.counters["dofs"] = mesh.dofs;
    state.counters["band_before"] = bandBefore;
    state.counters["band_after"] = bandAfter;
    state.counters["env_before"] = static_cast<double>(envBefore);
    state.counters["env_after"] = static_cast<double>(envAfter);

    CReorderMat::SetScriptFolder(previousFolder);
    AfxSetMessageService(previousService);
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(Build)->Name("ReorderBuildSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Build)->Name("ReorderBuild")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Reorder<&CReorderMat::MinDegReorder2>)->Name("MinDegReorder2Small")->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reorder<&CReorderMat::MinDegReorder2>)->Name("MinDegReorder2")->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reorder<&CReorderMat::MinDegReorder4>)->Name("MinDegReorder4Small")->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reorder<&CReorderMat::MinDegReorder4>)->Name("MinDegReorder4")->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reorder<&CReorderMat::Hager1>)->Name("ReverseOrderingSmall")->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reorder<&CReorderMat::Hager1>)->Name("ReverseOrdering")->Arg(10000)
    ->Unit(benchmark::kMillisecond);

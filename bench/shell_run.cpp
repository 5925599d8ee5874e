// The document's calculation against the plate component's alone, on a
// simply supported square plate of DKT triangles (code 65): an edge split
// into 32 intervals (Small, about 3e3 equations) or 182 (about 1e5). The
// document's run adds the run flag, the folder switch, the log lines and
// the busy runner around the same call; both times are reported next to
// each other and should differ by well under 2%.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"

namespace
{

// A document whose model is meshed and ready to calculate; the working
// folder is a temporary one, where the document's log folder is made.
struct MeshedDocument {
    explicit MeshedDocument(int intervals)
    {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/shellrun_XXXXXX";
        if (mkdtemp(pattern.data()))
            folder = pattern;
        before = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        doc = std::make_unique<CBrantelDoc>();
        doc->m_bAutoDelete = FALSE;
        doc->UpdateStatics(true);
        CPlateComp& comp = *doc->GetPlateComp();
        auto* material = static_cast<CMaterial*>(comp.GetMaterialList().GetHead());
        comp.SetElementType(65);
        comp.m_iStorage = 2;
        comp.m_iRenumbering = 1;
        auto* region = new CSectPlate(new CBoundNode(0.0, 0.0, 0.0, nullptr, 0),
                                      new CBoundNode(1000.0, 0.0, 0.0, nullptr, 0),
                                      new CBoundNode(1000.0, 1000.0, 0.0, nullptr, 0),
                                      new CBoundNode(0.0, 1000.0, 0.0, nullptr, 0), material);
        region->SetThickness(10.0);
        comp.AddTail(region);
        region->SetLoad(0.001);
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;)
            static_cast<CBoundary*>(edges.GetNext(p))->SetBC(1u, 0);
        region->SetBoundaryConditions();
        comp.m_iSubdivisions = intervals + 1;
        CStringArray log;
        CStringArray errors;
        meshed = comp.PreCalc(&log, &errors, 0);
    }
    ~MeshedDocument()
    {
        doc->UpdateStatics(false);
        doc.reset();
        std::error_code ignored;
        std::filesystem::current_path(before, ignored);
        std::filesystem::remove_all(folder, ignored);
    }
    MeshedDocument(const MeshedDocument&) = delete;
    MeshedDocument& operator=(const MeshedDocument&) = delete;

    std::string folder;
    std::filesystem::path before;
    std::unique_ptr<CBrantelDoc> doc;
    bool meshed = false;
};

void ComponentAlone(benchmark::State& state)
{
    MeshedDocument model(static_cast<int>(state.range(0)));
    if (!model.meshed) {
        state.SkipWithError("mesh generation failed");
        return;
    }
    CPlateComp& comp = *model.doc->GetPlateComp();
    for (auto _ : state) {
        CStringArray log;
        CStringArray errors;
        if (!comp.Calculate(&log, &errors)) {
            state.SkipWithError("calculation failed");
            break;
        }
    }
    state.counters["equations"] = 3.0 * comp.m_nNodes;
}

void DocumentRun(benchmark::State& state)
{
    MeshedDocument model(static_cast<int>(state.range(0)));
    if (!model.meshed) {
        state.SkipWithError("mesh generation failed");
        return;
    }
    for (auto _ : state) {
        if (!model.doc->Calculate() || !model.doc->m_bMeshValid) {
            state.SkipWithError("calculation failed");
            break;
        }
    }
    state.counters["equations"] = 3.0 * model.doc->GetPlateComp()->m_nNodes;
}

void BM_ShellRunComponent_Small(benchmark::State& state) { ComponentAlone(state); }
void BM_ShellRunDocument_Small(benchmark::State& state) { DocumentRun(state); }
void BM_ShellRunComponent(benchmark::State& state) { ComponentAlone(state); }
void BM_ShellRunDocument(benchmark::State& state) { DocumentRun(state); }

} // namespace

BENCHMARK(BM_ShellRunComponent_Small)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShellRunDocument_Small)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShellRunComponent)->Arg(182)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShellRunDocument)->Arg(182)->Unit(benchmark::kMillisecond);

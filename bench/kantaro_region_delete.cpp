// Deleting a region: a closed outline of n boundary nodes and edges, as a
// loaded plate region holds them; with and without a document's node list
// that holds the nodes. Linear in n (the outline's edges are checked against
// the other regions of their nodes, the node list is thinned in one pass).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "bench/region_outline.h"

namespace
{

// The region as loading builds it.
CSectPlate* MakeRegion(int n, NODELIST* nodes)
{
    return MakeOutlineRegion(n, nodes);
}

void DeleteRegion(benchmark::State& state, bool nodeList)
{
    const int n = static_cast<int>(state.range(0));
    NODELIST nodes;
    CGraph::m_pNodeList = nodeList ? &nodes : nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        nodes.RemoveAll();
        CSectPlate* region = MakeRegion(n, nodeList ? &nodes : nullptr);
        state.ResumeTiming();
        delete region;
    }
    CGraph::m_pNodeList = nullptr;
    if (nodeList && nodes.m_nCount != 0)
        state.SkipWithError("the node list still holds nodes of the deleted region");
    state.SetItemsProcessed(state.iterations() * n);
}

// Loading the region of n nodes as a model (the plate component with the
// one region) from the file it was stored to: the safe loader's own cost.
void BM_LoadRegionModel(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    char path[] = "/tmp/brantel_bench_region_XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd >= 0)
        ::close(fd);
    {
        CPlateComp model;
        model.AddTail(static_cast<CSection*>(MakeRegion(n, nullptr)));
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        model.Serialize(ar);
        ar.Close();
    }
    for (auto _ : state) {
        auto model = std::make_unique<CPlateComp>();
        {
            CFile f(path, CFile::modeRead);
            CArchive ar(&f, CArchive::load);
            model->Serialize(ar);
        }
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    std::remove(path);
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_DeleteRegion(benchmark::State& state)
{
    DeleteRegion(state, false);
}

void BM_DeleteRegionInDocument(benchmark::State& state)
{
    DeleteRegion(state, true);
}

} // namespace

BENCHMARK(BM_DeleteRegion)->Name("BM_DeleteRegionSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRegion)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadRegionModel)->Name("BM_LoadRegionModelSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRegionModel)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DeleteRegionInDocument)->Name("BM_DeleteRegionInDocumentSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRegionInDocument)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Saving and loading a plate document whose model is one region of n
// outline nodes (1e4, 1e5, 1e6): the document's whole archive, written
// through the safe writer and read back through the safe loader. Reports
// the file's bytes and the throughput; the 1e6 case shows that deep object
// graphs do not exhaust the stack. The separated-node cases load a document
// whose separated-node list holds n nodes (1e4, 1e5, 1e6) and build such a
// list through NODELIST::AddNodes: both grow linearly with n.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/shell/brantelshell.h"
#include "bench/region_outline.h"

namespace
{

std::unique_ptr<CBrantelDoc> MakeDocument(int n)
{
    auto doc = std::make_unique<CBrantelDoc>();
    doc->m_bAutoDelete = FALSE;
    doc->UpdateStatics(true);
    doc->GetPlateComp()->AddTail(static_cast<CSection*>(MakeOutlineRegion(n)));
    doc->UpdateStatics(false);
    return doc;
}

std::string TempPath()
{
    char path[] = "/tmp/brantel_bench_doc_XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd >= 0)
        ::close(fd);
    return path;
}

long FileSize(const std::string& path)
{
    CFile f(path.c_str(), CFile::modeRead);
    return static_cast<long>(f.GetLength());
}

void BM_SaveDocument(benchmark::State& state)
{
    const std::string path = TempPath();
    std::unique_ptr<CBrantelDoc> doc = MakeDocument(static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (!doc->DoSave(path.c_str(), FALSE))
            state.SkipWithError("the document was not saved");
    const long bytes = FileSize(path);
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(state.iterations() * bytes);
    doc.reset();
    CGraph::m_pNodeList = nullptr;
    std::remove(path.c_str());
}

void BM_LoadDocument(benchmark::State& state)
{
    const std::string path = TempPath();
    {
        std::unique_ptr<CBrantelDoc> doc = MakeDocument(static_cast<int>(state.range(0)));
        doc->DoSave(path.c_str(), FALSE);
    }
    for (auto _ : state) {
        auto doc = std::make_unique<CBrantelDoc>();
        doc->m_bAutoDelete = FALSE;
        if (!doc->OnOpenDocument(path.c_str()))
            state.SkipWithError("the document was not loaded");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    const long bytes = FileSize(path);
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(state.iterations() * bytes);
    CGraph::m_pNodeList = nullptr;
    std::remove(path.c_str());
}

// n separated nodes on a line, listed in one linear pass.
std::vector<CSNode*> SeparatedNodes(int n)
{
    std::vector<CSNode*> nodes;
    nodes.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        nodes.push_back(new CSNode(i, 0.0, 0.0, nullptr, 0));
    return nodes;
}

void BM_LoadSeparatedNodes(benchmark::State& state)
{
    const std::string path = TempPath();
    {
        auto doc = std::make_unique<CBrantelDoc>();
        doc->m_bAutoDelete = FALSE;
        doc->UpdateStatics(true);
        const std::vector<CSNode*> nodes = SeparatedNodes(static_cast<int>(state.range(0)));
        doc->m_pNodeList->AddNodes(nodes.data(), static_cast<long>(nodes.size()));
        doc->UpdateStatics(false);
        doc->DoSave(path.c_str(), FALSE);
    }
    for (auto _ : state) {
        auto doc = std::make_unique<CBrantelDoc>();
        doc->m_bAutoDelete = FALSE;
        if (!doc->OnOpenDocument(path.c_str()) || doc->m_pNodeList->m_nCount != state.range(0))
            state.SkipWithError("the separated nodes were not loaded");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(FileSize(path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    CGraph::m_pNodeList = nullptr;
    std::remove(path.c_str());
}

void BM_BuildSeparatedNodeList(benchmark::State& state)
{
    const std::vector<CSNode*> nodes = SeparatedNodes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        NODELIST list;
        // Each node twice: the second pass finds them all present.
        list.AddNodes(nodes.data(), static_cast<long>(nodes.size()));
        list.AddNodes(nodes.data(), static_cast<long>(nodes.size()));
        benchmark::DoNotOptimize(list.m_nCount);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    for (CSNode* node : nodes)
        delete node;
}

} // namespace

BENCHMARK(BM_LoadSeparatedNodes)->Name("BM_LoadSeparatedNodesSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSeparatedNodes)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BuildSeparatedNodeList)->Name("BM_BuildSeparatedNodeListSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildSeparatedNodeList)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocument)->Name("BM_SaveDocumentSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocument)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadDocument)->Name("BM_LoadDocumentSmall")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocument)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Archive throughput: storing and loading a model-like object graph (nodes
// with coordinates and a name, each referring to its neighbour) in the
// framework's archive layout.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/afx/afx.h"

class CBenchNode : public CObject
{
    DECLARE_SERIAL(CBenchNode)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_id << m_x << m_y << m_z << m_name << m_pNext;
        else
            ar >> m_id >> m_x >> m_y >> m_z >> m_name >> m_pNext;
    }
    DWORD m_id = 0;
    double m_x = 0, m_y = 0, m_z = 0;
    CString m_name;
    CBenchNode* m_pNext = nullptr;
};
IMPLEMENT_SERIAL(CBenchNode, CObject, 1)

namespace
{

std::string tempPath()
{
    char path[] = "/tmp/afx_bench_XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd >= 0)
        ::close(fd);
    return path;
}

// A list of n nodes; each refers to the one 7 places further on (wrapping),
// so most references are back-references and a few are forward ones.
std::vector<CBenchNode> makeNodes(int n)
{
    std::vector<CBenchNode> nodes(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        CBenchNode& node = nodes[static_cast<std::size_t>(i)];
        node.m_id = static_cast<DWORD>(i + 1);
        node.m_x = i * 0.5;
        node.m_y = i * 0.25;
        node.m_name = "node";
        node.m_pNext = &nodes[static_cast<std::size_t>((i + 7) % n)];
    }
    return nodes;
}

void store(const std::string& path, std::vector<CBenchNode>& nodes)
{
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&f, CArchive::store);
    ar.WriteCount(static_cast<DWORD>(nodes.size()));
    for (CBenchNode& node : nodes)
        ar << &node;
    ar.Close();
}

void BM_ArchiveStore(benchmark::State& state)
{
    auto nodes = makeNodes(static_cast<int>(state.range(0)));
    const std::string path = tempPath();
    for (auto _ : state)
        store(path, nodes);
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ArchiveLoad(benchmark::State& state)
{
    auto nodes = makeNodes(static_cast<int>(state.range(0)));
    const std::string path = tempPath();
    store(path, nodes);
    std::vector<CObject*> loaded;
    for (auto _ : state) {
        CFile f(path.c_str(), CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        const DWORD n = ar.ReadCount();
        loaded.resize(n);
        for (DWORD i = 0; i < n; ++i)
            loaded[i] = ar.ReadObject(RUNTIME_CLASS(CBenchNode));
        ar.Close();
        state.PauseTiming();
        for (CObject* ob : loaded)
            delete ob;
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ArchiveStoreSmall(benchmark::State& state)
{
    BM_ArchiveStore(state);
}
void BM_ArchiveLoadSmall(benchmark::State& state)
{
    BM_ArchiveLoad(state);
}

} // namespace

BENCHMARK(BM_ArchiveStoreSmall)->Arg(1000);
BENCHMARK(BM_ArchiveLoadSmall)->Arg(1000);
BENCHMARK(BM_ArchiveStore)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveLoad)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The plate document's region import on files of n unit squares in a row
// (1e2, 1e3, 1e4), each sharing two corners with its neighbour: every
// region read is joined against the regions read before it. Reports the
// regions read per second, which stays level from 1e2 to 1e4 regions: the
// searches of a region's text stop at its end marker and joining looks only
// at neighbouring regions, so the import is linear in the file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "platform/ferrand/ferrand.h"

namespace
{

std::string WriteSquares(int n)
{
    char path[] = "/tmp/brantel_bench_regions_XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd >= 0)
        ::close(fd);
    std::string text;
    for (int i = 0; i < n; ++i)
        text += AfxFormat("\xA7Section\r\n%d 0\r\n%d 0\r\n%d 1\r\n%d 1\r\n\xA7" "End\r\n", i,
                          i + 1, i + 1, i);
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    file.Write(text.data(), static_cast<UINT>(text.size()));
    file.Close();
    return path;
}

void BM_ImportRegions(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string path = WriteSquares(n);
    CStringArray markers;
    RegionTextMarkers(markers);
    double scale[4] = {1.0, 1.0, 1.0, 0.0};
    CMaterial material("Steel", 7.85e-06, 210000.0, 80000.0, 0.3, 1.2e-05);
    size_t read = 0;
    for (auto _ : state) {
        CFile file(path.c_str(), CFile::modeRead);
        std::vector<CSectPlate*> regions = ReadTextRegions(file, markers, scale, &material);
        read = regions.size();
        state.PauseTiming();
        for (CSectPlate* region : regions)
            delete region;
        state.ResumeTiming();
    }
    if (read != static_cast<size_t>(n))
        state.SkipWithError("not every region was read");
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["regions"] = static_cast<double>(n);
    CGraph::m_pNodeList = nullptr;
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(BM_ImportRegions)->Name("BM_ImportRegionsSmall")->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportRegions)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

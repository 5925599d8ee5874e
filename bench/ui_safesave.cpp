// Saving a document: an archive of 1 MB or 100 MB written through
// SafeFileWriter (temporary file, fsync, rename) and through a plain CFile
// that overwrites the target. Reports MB/s of each and, for the safe path,
// the share of the time spent in Commit (fsync and rename).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/afx/afx.h"

namespace
{

std::string Target()
{
    return "ui_safesave_" + std::to_string(::getpid()) + ".bin";
}

// Stores nBytes through an archive in 64 kB blocks.
void Store(CFile& file, std::size_t nBytes)
{
    static const std::vector<BYTE> block(64 * 1024, 0x5A);
    CArchive ar(&file, CArchive::store);
    for (std::size_t done = 0; done < nBytes; done += block.size())
        ar.Write(block.data(), static_cast<UINT>(std::min(block.size(), nBytes - done)));
    ar.Close();
}

void Safe(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string target = Target();
    double commitSeconds = 0, totalSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        afx::SafeFileWriter writer(target.c_str());
        Store(writer.File(), bytes);
        const auto stored = std::chrono::steady_clock::now();
        writer.Commit();
        const auto end = std::chrono::steady_clock::now();
        commitSeconds += std::chrono::duration<double>(end - stored).count();
        totalSeconds += std::chrono::duration<double>(end - start).count();
    }
    ::unlink(target.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["fsync_share"] = totalSeconds > 0 ? commitSeconds / totalSeconds : 0;
}

void Plain(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string target = Target();
    for (auto _ : state) {
        CFile file(target.c_str(), CFile::modeCreate | CFile::modeWrite);
        Store(file, bytes);
        file.Close();
    }
    ::unlink(target.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

} // namespace

BENCHMARK(Safe)->Name("SafeFileWriter/Small")->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Plain)->Name("PlainFile/Small")->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Safe)->Name("SafeFileWriter/Large")->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(Plain)->Name("PlainFile/Large")->Arg(100)->Unit(benchmark::kMillisecond);

// Matrix text export and import, and integer matrix archives.
#include "matrix/zelkor.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// A scratch file in the working folder, removed at the end.
class ScratchFile {
public:
    ScratchFile() : m_path("zelkor_text_bench_" + std::to_string(::getpid())) {}
    ~ScratchFile() { std::remove(m_path.c_str()); }
    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

CMatrix TestMatrix(int rows, int cols)
{
    CMatrix m(rows, cols, false, 0.0);
    for (int k = 0; k < rows * cols; ++k)
        m.GetVector()[k] = (k % 97 - 48) * 0.125;
    return m;
}

void Export(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    CMatrix m = TestMatrix(rows, 8);
    ScratchFile file;
    for (auto _ : state) {
        CFile f(file.Path(), CFile::modeCreate | CFile::modeWrite);
        m.WriteASCII(&f, "", "", 12, 4, 0, true, true);
    }
    state.SetItemsProcessed(state.iterations() * rows * 8);
}

void Import(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    CMatrix m = TestMatrix(rows, 8);
    ScratchFile file;
    {
        CFile f(file.Path(), CFile::modeCreate | CFile::modeWrite);
        f.Write("MATRIX\r\n", 8);
        m.WriteASCII(&f, "", "", 12, 4, 0, false, false);
        f.Write("END\r\n", 5);
    }
    for (auto _ : state) {
        CFile f(file.Path(), CFile::modeRead);
        CMatrix back;
        back.ReadASCII(&f, "matrix", "end", "!");
        benchmark::DoNotOptimize(back.GetVector());
    }
    state.SetItemsProcessed(state.iterations() * rows * 8);
}

// One text line of n numbers, a word constant among every eight of them:
// the line is read in time proportional to its length.
void LongLine(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::string line;
    for (int k = 0; k < n; ++k)
        line += k % 8 == 7 ? "pi " : std::to_string(k % 1000) + ".25 ";
    line += "\r\n";
    ScratchFile file;
    {
        CFile f(file.Path(), CFile::modeCreate | CFile::modeWrite);
        f.Write(line.data(), static_cast<UINT>(line.size()));
    }
    for (auto _ : state) {
        CFile f(file.Path(), CFile::modeRead);
        CMatrix back;
        back.ReadASCII(&f);
        benchmark::DoNotOptimize(back.GetVector());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}

void LongArchive(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    CLongMatrix m;
    m.Allocate(rows, 4, true, 7);
    ScratchFile file;
    for (auto _ : state) {
        {
            CFile f(file.Path(), CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&f, CArchive::store);
            m.Serialize(ar);
            ar.Close();
        }
        CFile f(file.Path(), CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        CLongMatrix back;
        back.Serialize(ar);
        benchmark::DoNotOptimize(back.GetVector());
    }
    state.SetItemsProcessed(state.iterations() * rows * 4);
}

} // namespace

BENCHMARK(Export)->Name("MatrixTextExportSmall")->Arg(100);
BENCHMARK(Export)->Name("MatrixTextExport")->Arg(100000);
BENCHMARK(Import)->Name("MatrixTextImportSmall")->Arg(100);
BENCHMARK(Import)->Name("MatrixTextImport")->Arg(100000);
BENCHMARK(LongLine)->Name("MatrixTextLongLineSmall")->Arg(10000);
// About 10 MB of text in one line.
BENCHMARK(LongLine)->Name("MatrixTextLongLine")->Arg(1500000)->Unit(benchmark::kMillisecond);
BENCHMARK(LongArchive)->Name("LongMatrixArchiveSmall")->Arg(100);
BENCHMARK(LongArchive)->Name("LongMatrixArchive")->Arg(250000);

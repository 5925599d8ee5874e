// Beam text export and import of a chain frame, and the flat finite-element
// arrays of a discretised frame. Items are members (text) or elements
// (arrays); their rate must stay roughly flat as the frame grows.
#include "sections/kantaro.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

class ScratchFile {
public:
    ScratchFile() : m_path("beams_text_bench_" + std::to_string(::getpid())) {}
    ~ScratchFile() { std::remove(m_path.c_str()); }
    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

CStringArray BeamKeys()
{
    CStringArray keys;
    keys.Add("BEAMS");
    keys.Add("END\r\n");
    return keys;
}

// A chain of n members over nodes 1 .. n + 1 (without members when
// withMembers is false); every tenth member is an arch over the next node.
struct Chain {
    std::unique_ptr<CSectCompBeam> comp = std::make_unique<CSectCompBeam>();
    CSectBeam* section = new CSectBeam;
    CCrSectRect rect{20.0, 10.0};
    CObList sections;
    CBeamClassList classes = {RUNTIME_CLASS(CBarElm)};

    Chain(int n, bool withMembers, int elements = 4)
    {
        comp->AddTail(section);
        sections.AddTail(static_cast<CObject*>(&rect));
        std::vector<CBoundNode*> nodes;
        for (int i = 0; i <= n; ++i) {
            auto* node = new CBoundNode(double(i), double(i % 7), 0.0, nullptr, 0);
            node->SetID(static_cast<unsigned long>(i + 1));
            section->AddTail(node);
            node->AddGraph(section);
            nodes.push_back(node);
        }
        nodes[0]->SetStandBC(0x2 | 0x8, 0);
        if (!withMembers)
            return;
        for (int i = 0; i < n; ++i) {
            CBeamSeg* m = i % 10 == 9 && i + 2 <= n
                              ? new CBeamArch(nodes[i], nodes[i + 1], nodes[i + 2], &rect)
                              : new CBeamSeg(nodes[i], nodes[i + 1], &rect);
            m->SetElemClass(RUNTIME_CLASS(CBarElm));
            m->SetElemCount(elements);
        }
    }
};

void Export(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Chain chain(n, true);
    ScratchFile file;
    CStringArray keys = BeamKeys();
    for (auto _ : state) {
        CFile f(file.Path(), CFile::modeCreate | CFile::modeWrite);
        benchmark::DoNotOptimize(
            chain.section->ASCIIExportBeams(f, keys, &chain.sections, &chain.classes));
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void Import(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ScratchFile file;
    CStringArray keys = BeamKeys();
    {
        Chain chain(n, true);
        CFile f(file.Path(), CFile::modeCreate | CFile::modeWrite);
        chain.section->ASCIIExportBeams(f, keys, &chain.sections, &chain.classes);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<Chain>(n, false);
        state.ResumeTiming();
        CFile f(file.Path(), CFile::modeRead);
        benchmark::DoNotOptimize(
            target->comp->ASCIIReadBeams(f, keys, &target->sections, &target->classes));
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// n members on nine nodes, as a text of short lines ("1 1 1 2", 100,000
// members in 800 KB): every member joins the first node to one of the
// eight others, so that the first node holds all n members and every other
// node n / 8, many of them in one direction. The rate must stay flat here
// too.
void ImportShared(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ScratchFile file;
    CStringArray keys = BeamKeys();
    {
        std::string text = "BEAMS\n";
        for (int i = 0; i < n; ++i)
            text += i % 2 ? "1 1 " + std::to_string(2 + i % 8) + " 1\n"
                          : "1 1 1 " + std::to_string(2 + i % 8) + "\n";
        text += "END\n";
        CFile f(file.Path(), CFile::modeCreate | CFile::modeWrite);
        f.Write(text.data(), static_cast<UINT>(text.size()));
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<Chain>(8, false);
        state.ResumeTiming();
        CFile f(file.Path(), CFile::modeRead);
        const int made = target->comp->ASCIIReadBeams(f, keys, &target->sections, &target->classes);
        if (made != n)
            state.SkipWithError("not every member was read");
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(file.Path()));
}

// GenGeomData and GenBCData on a discretised chain of elements / 10
// members of ten elements each.
void Arrays(benchmark::State& state)
{
    const int elements = static_cast<int>(state.range(0));
    Chain chain(elements / 10, true, 10);
    chain.comp->Discretize();
    CInfoContainer record;
    {
        CModelInfoFEM probe;
        probe.GetInfo().m_iMask = 1 | 2 | 4 | 8 | 16 | 64;
        chain.comp->DM_GetInfo(probe.GetInfo());
        record = probe.GetInfo();
    }
    for (auto _ : state) {
        CModelInfoFEM info;
        info.GetInfo() = record;
        info.GenGeomData(chain.comp.get(), nullptr);
        info.GenBCData(chain.comp.get(), nullptr);
        benchmark::DoNotOptimize(info.GetMMNPC());
    }
    state.SetItemsProcessed(state.iterations() * elements);
    chain.comp->DM_Clean();
}

BENCHMARK(Export)->Name("ExportSmall")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Export)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Import)->Name("ImportSmall")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Import)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportShared)->Name("ImportSharedSmall")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportShared)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Arrays)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

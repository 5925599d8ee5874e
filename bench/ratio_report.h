// Side-by-side ratios of a benchmark program's cases, printed after its
// run: the program's main hands RunWithRatios the pairs of cases to hold
// against each other (case over base, each named without its argument and
// without the suffix Small). Every pair whose two cases ran with the same
// argument gets a line with the ratio of their median frames (the counter
// median_ms, else the real time per iteration; the smallest over
// repetitions). The run's own output (console, JSON, --benchmark_out)
// stays as it is; the table follows the console output and is left out of
// any other format, so JSON on standard output stays JSON.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench
{

struct RatioPair {
    const char* label; // what the ratio tells
    const char* name;  // the case, e.g. "BM_ResultListsCompile"
    const char* base;  // the case it is held against
};

// Passes everything on to the default display reporter and keeps each
// case's median frame.
class RatioReporter final : public benchmark::BenchmarkReporter
{
public:
    explicit RatioReporter(std::vector<RatioPair> pairs)
        : m_pairs(std::move(pairs)), m_display(benchmark::CreateDefaultDisplayReporter())
    {
    }
    bool ReportContext(const Context& context) override { return m_display->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        m_display->ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            const auto median = run.counters.find("median_ms");
            const double ms = median != run.counters.end()
                                  ? median->second.value
                                  : run.GetAdjustedRealTime() * 1000.0 /
                                        benchmark::GetTimeUnitMultiplier(run.time_unit);
            std::string name = run.run_name.function_name;
            if (name.size() > 5 && name.compare(name.size() - 5, 5, "Small") == 0)
                name.resize(name.size() - 5);
            auto [at, fresh] = m_ms.try_emplace(name + "/" + run.run_name.args, ms);
            if (!fresh && ms < at->second)
                at->second = ms;
        }
    }
    void Finalize() override
    {
        m_display->Finalize();
        if (!dynamic_cast<benchmark::ConsoleReporter*>(m_display.get()))
            return;
        std::string table;
        for (const RatioPair& pair : m_pairs)
            for (const auto& [key, ms] : m_ms) {
                const std::size_t slash = key.find('/');
                const auto base = m_ms.find(pair.base + key.substr(slash));
                if (key.compare(0, slash, pair.name) != 0 || base == m_ms.end() || base->second <= 0.0)
                    continue;
                char line[256];
                std::snprintf(line, sizeof line, "%-40s %9s %8.3f  (%.1f / %.1f ms)\n", pair.label,
                              key.c_str() + slash + 1, ms / base->second, ms, base->second);
                table += line;
            }
        if (!table.empty())
            GetOutputStream() << "\nRatios of the median frames, same size\n" << table << std::flush;
    }

private:
    std::vector<RatioPair> m_pairs;
    std::unique_ptr<benchmark::BenchmarkReporter> m_display;
    std::map<std::string, double> m_ms; // "name/argument" -> milliseconds
};

// The body of a benchmark program's main that prints the ratios of pairs.
inline int RunWithRatios(int argc, char** argv, std::vector<RatioPair> pairs)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench

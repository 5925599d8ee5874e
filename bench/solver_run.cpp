// A whole plate-bending run on sparse storage at print level 0: a simply
// supported square of DKT triangles under a uniform pressure. Reports the
// CPU seconds of the four phases and of the whole call as the run measures
// them, and the length of the factor store. StopLatency: the same run
// stopped at every second of it (at every tenth of it for the small size)
// and in the middle of each of its phases, each stop timed from the request
// to the run's return; reports the worst.
#include "solver/solvika.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using i32 = std::int32_t;

struct Model {
    std::array<i32, 30> key{};
    std::vector<i32> topology, fixed;
    std::vector<double> elementData, material, nodal;
};

// n x n cells of two DKT triangles over the unit square; w held at every
// boundary node. About 3 (n + 1)^2 equations.
Model plate(i32 n) {
    Model m;
    const auto node = [n](i32 i, i32 j) { return 1 + j * (n + 1) + i; };
    const double h = 1.0 / n;
    for (i32 j = 0; j <= n; ++j)
        for (i32 i = 0; i <= n; ++i) {
            m.nodal.insert(m.nodal.end(), {i * h, j * h, 0.0, 0.0});
            if (i == 0 || j == 0 || i == n || j == n) m.fixed.insert(m.fixed.end(), {node(i, j), 1});
        }
    for (i32 j = 0; j < n; ++j)
        for (i32 i = 0; i < n; ++i) {
            m.topology.insert(m.topology.end(), {1, node(i, j), node(i + 1, j), node(i + 1, j + 1)});
            m.topology.insert(m.topology.end(), {1, node(i, j), node(i + 1, j + 1), node(i, j + 1)});
        }
    const i32 nel = 2 * n * n;
    for (i32 e = 0; e < nel; ++e) m.elementData.insert(m.elementData.end(), {0.0, 0.01, 0.01, 0.01, 0.0, 1.0, 1.0, 1.0, 0.0});
    m.material = {2.1e5, 2.1e5, 0.3, 2.1e5 / 2.6, 7.85e-9, 1.2e-5, 0.0};
    m.key[0] = nel;
    m.key[1] = (n + 1) * (n + 1);
    m.key[2] = 1;
    m.key[3] = i32(m.fixed.size() / 2);
    m.key[9] = 65;
    m.key[10] = 2;
    m.key[11] = 1;
    m.key[12] = 512;
    m.key[18] = 4;
    m.key[19] = 9;
    return m;
}

void runPlate(benchmark::State& state) {
    const Model model = plate(i32(state.range(0)));
    solvika::RunStatistics stats{};
    std::int64_t factor = 0;
    i32 equations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Model m = model;
        state.ResumeTiming();
        std::array<i32, 5> status{};
        solvika::runEntry(solvika::RunLog::Main, m.key.data(), status.data(), [&](solvika::RunContext& run) {
            const solvika::StaticModel arrays{true,    m.topology.data(), m.elementData.data(), m.material.data(),
                                              m.nodal.data(), nullptr, nullptr, nullptr, m.fixed.data(), nullptr,
                                              nullptr, nullptr, nullptr, nullptr};
            solvika::runStatic(run, arrays);
            stats = run.RSTAT;
            factor = run.tables.MSPAR[15];
            equations = run.tables.MPAR[10];
        });
        if (status[0] != 0) {
            state.SkipWithError("the run failed");
            break;
        }
    }
    state.counters["equations"] = equations;
    state.counters["factor"] = double(factor);
    state.counters["prep_s"] = stats[19];
    state.counters["assembly_s"] = stats[20];
    state.counters["solution_s"] = stats[21];
    state.counters["results_s"] = stats[22];
    state.counters["total_s"] = stats[23];
}

using Clock = std::chrono::steady_clock;

// The run's phase as the stop found it; the set-up (tables, ordering, the
// zeroing of the work arrays) runs before the assembly names its phase.
const char* phaseName(solvika::RunPhase phase, bool assembled) {
    switch (phase) {
    case solvika::RunPhase::assembling: return "assembly";
    case solvika::RunPhase::factorising: return "factorisation";
    case solvika::RunPhase::solving: return "solve";
    case solvika::RunPhase::stresses: return "stresses";
    case solvika::RunPhase::eigenvalues: return "eigenvalues";
    case solvika::RunPhase::none: break;
    }
    return assembled ? "after the run" : "set-up, ordering and zeroing";
}

// When each phase began, from the run's start.
using Timeline = std::vector<std::pair<Clock::duration, solvika::RunPhase>>;

// One run of the model; with stop, a second thread asks it to stop stopAt
// after the start. Returns the run's status; *latency the seconds from the
// request to the return, *phase where the request found it. Without stop,
// *timeline (when given) gets the phases as the run went through them.
i32 stoppedRun(const Model& model, Clock::duration stopAt, bool stop, double* latency, const char** phase,
               Timeline* timeline = nullptr) {
    Model m = model;
    solvika::setCancelRequest(false);
    std::atomic<bool> finished{false};
    std::atomic<bool> assembled{false};
    Clock::time_point flagged{};
    const Clock::time_point start = Clock::now();
    std::thread stopper([&] {
        if (!stop) {
            while (timeline && !finished.load()) {
                const solvika::RunPhase now = solvika::runPhase();
                if (timeline->empty() || timeline->back().second != now) timeline->emplace_back(Clock::now() - start, now);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            return;
        }
        while (!finished.load() && Clock::now() < start + stopAt)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (finished.load()) return;
        *phase = phaseName(solvika::runPhase(), assembled.load());
        flagged = Clock::now();
        solvika::setCancelRequest(true);
    });
    std::array<i32, 5> status{};
    solvika::runEntry(solvika::RunLog::Main, m.key.data(), status.data(), [&](solvika::RunContext& run) {
        const solvika::StaticModel arrays{true,    m.topology.data(), m.elementData.data(), m.material.data(),
                                          m.nodal.data(), nullptr, nullptr, nullptr, m.fixed.data(), nullptr,
                                          nullptr, nullptr, nullptr, nullptr};
        solvika::runStatic(run, arrays);
        assembled.store(true);
    });
    const Clock::time_point returned = Clock::now();
    finished.store(true);
    stopper.join();
    solvika::setCancelRequest(false);
    if (latency) *latency = flagged == Clock::time_point{} ? 0.0 : std::chrono::duration<double>(returned - flagged).count();
    return status[0];
}

void stopLatency(benchmark::State& state) {
    const Model model = plate(i32(state.range(0)));
    const bool everySecond = state.range(1) != 0;
    double worst = 0.0, runSeconds = 0.0;
    const char* worstPhase = "";
    double worstAt = 0.0;
    int stops = 0, missed = 0;
    for (auto _ : state) {
        // The run's length: the shorter of two runs (the first one also
        // pays for the first touch of its memory).
        Clock::duration length = Clock::duration::max();
        Timeline timeline;
        for (int k = 0; k < 2; ++k) {
            Timeline phases;
            const Clock::time_point t0 = Clock::now();
            if (stoppedRun(model, {}, false, nullptr, nullptr, &phases) != 0) {
                state.SkipWithError("the run failed");
                return;
            }
            if (Clock::now() - t0 < length) {
                length = Clock::now() - t0;
                timeline = phases;
            }
        }
        runSeconds = std::chrono::duration<double>(length).count();
        // Every second (every tenth of the small run), and the middle of
        // each named phase, which may be shorter than a second.
        const Clock::duration step = everySecond ? Clock::duration(std::chrono::seconds(1)) : length / 10;
        std::vector<Clock::duration> stopsAt;
        for (Clock::duration at = step; at < length; at += step) stopsAt.push_back(at);
        for (std::size_t k = 0; k + 1 < timeline.size(); ++k)
            if (timeline[k].second != solvika::RunPhase::none)
                stopsAt.push_back((timeline[k].first + timeline[k + 1].first) / 2);
        std::sort(stopsAt.begin(), stopsAt.end());
        for (const Clock::duration at : stopsAt) {
            double latency = 0.0;
            const char* phase = "";
            const i32 code = stoppedRun(model, at, true, &latency, &phase);
            const double atSeconds = std::chrono::duration<double>(at).count();
            if (code != solvika::kStatusCancelled) {
                // Ended before the request was read: the run's own end (the
                // log is written and made durable), which no stop shortens.
                ++missed;
                std::printf("stop at %6.3f s (%s): the run had ended\n", atSeconds, phase);
                continue;
            }
            ++stops;
            std::printf("stop at %6.3f s (%s): returned after %.1f ms\n", atSeconds, phase, 1e3 * latency);
            if (latency > worst) {
                worst = latency;
                worstPhase = phase;
                worstAt = atSeconds;
            }
        }
    }
    state.counters["run_s"] = runSeconds;
    state.counters["stops"] = stops;
    state.counters["not_stopped"] = missed;
    state.counters["worst_stop_ms"] = 1e3 * worst;
    state.counters["worst_at_s"] = worstAt;
    state.SetLabel(std::string("worst in ") + worstPhase);
}

} // namespace

// About 5e3, 1e5 and 1e6 equations.
BENCHMARK(runPlate)->Name("PlateBendingDKTSparse/Small")->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK(runPlate)->Name("PlateBendingDKTSparse/1e5")->Arg(182)->Unit(benchmark::kMillisecond);
BENCHMARK(runPlate)->Name("PlateBendingDKTSparse/1e6")->Arg(577)->Unit(benchmark::kMillisecond)->Iterations(1);
// A stop at every tenth of the small run; at every second of the large one.
BENCHMARK(stopLatency)->Name("PlateBendingStopLatency/Small")->Args({40, 0})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(stopLatency)->Name("PlateBendingStopLatency/1e6")->Args({577, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

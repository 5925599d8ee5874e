// Progress points during long runs: with busy mode on and a pump hook that
// records when it is called, a mesh generation of about 10^6 triangles and
// a plate analysis of about 10^5 unknowns must reach a progress point at
// least every 300 ms of its thread's CPU time outside the solver call (checked in optimised builds;
// a sanitizer build only prints the gaps, as does an unoptimised one). The gap that holds the solver
// call is printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "app/analysis/analysis.h"
#include "app/analysis/solverentries.h"
#include "femodel/strelna.h"
#include "platform/afx/progress.h"
#include "platform/ferrand/ferrand.h"
#include "tests/weblar/mesher_harness.h"

namespace
{

// The working thread's CPU time: the gaps measure the work done between
// two progress points, so that other programs on a loaded machine (a
// parallel test run) do not lengthen them.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<Clock>;
    static constexpr bool is_steady = true;
    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec));
    }
};

constexpr double kAllowedGapMs = 300.0;
// AddressSanitizer is on: g++ says so by __SANITIZE_ADDRESS__, clang by
// __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define PROGRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PROGRESS_SANITIZED 1
#endif
#endif
// Edge subdivisions of the plate for about 10^5 unknowns.
constexpr int kSubdivisions = 180;

// Records the times of the pumps while busy; installed for the lifetime.
class PumpRecorder
{
public:
    PumpRecorder()
    {
        s_times.clear();
        s_solver.clear();
        m_previous = afx::SetProgressPump(&Record);
        afx::BeginProgressBusy();
        s_times.push_back(Clock::now());
    }
    ~PumpRecorder()
    {
        afx::EndProgressBusy();
        afx::SetProgressPump(m_previous);
    }

    // The longest gap between pumps (the start and the end count as
    // pumps), apart from the gaps that hold a solver call; the longest of
    // those goes to solverGapMs.
    double LongestGapMs(double& solverGapMs) const
    {
        std::vector<Clock::time_point> times = s_times;
        times.push_back(Clock::now());
        double longest = 0.0;
        solverGapMs = 0.0;
        for (std::size_t i = 1; i < times.size(); ++i) {
            const double gap = std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count();
            const bool holdsSolver = std::any_of(s_solver.begin(), s_solver.end(), [&](const auto& call) {
                return call.first < times[i] && call.second > times[i - 1];
            });
            (holdsSolver ? solverGapMs : longest) = std::max(holdsSolver ? solverGapMs : longest, gap);
        }
        return longest;
    }
    std::size_t Pumps() const { return s_times.size() - 1; }

    static std::vector<std::pair<Clock::time_point, Clock::time_point>> s_solver;

private:
    static void Record() { s_times.push_back(Clock::now()); }
    static std::vector<Clock::time_point> s_times;
    afx::ProgressPump m_previous = nullptr;
};

std::vector<Clock::time_point> PumpRecorder::s_times;
std::vector<std::pair<Clock::time_point, Clock::time_point>> PumpRecorder::s_solver;

void CheckGap(const char* what, const PumpRecorder& recorder)
{
    double solverGap = 0.0;
    const double longest = recorder.LongestGapMs(solverGap);
    std::printf("%s: %zu pumps, longest gap %.1f ms outside the solver, %.1f ms around it\n", what,
                recorder.Pumps(), longest, solverGap);
#if defined(__OPTIMIZE__) && !defined(PROGRESS_SANITIZED)
    EXPECT_LE(longest, kAllowedGapMs) << what;
#endif
}

TEST(ProgressCoverage, MeshOfAMillionTrianglesPumpsOften)
{
    const auto input = brantel::test::HolePlate(std::sqrt(16.0 / 1e6));
    CEasyMesh::AllocStatics();
    {
        PumpRecorder recorder;
        brantel::test::HarnessMesher mesher(input);
        ASSERT_TRUE(mesher.Mesh(0, 0, true));
        EXPECT_GT(mesher.m_nElems, 700000);
        CheckGap("mesh", recorder);
        EXPECT_GT(recorder.Pumps(), 0u);
    }
    CEasyMesh::DeAllocStatics();
}

// The library's plate-bending entry, timed.
PlateBendingEntry g_library = nullptr;
void TimedPlateBending(std::int32_t* key, std::int32_t* topology, double* elementData, double* material,
                       double* nodal, double* edgeLoads, std::int32_t* fixedDofs, double* prescribedDofs,
                       double* couplings, double* springs, std::int32_t* printElements, std::int32_t* printNodes,
                       std::int32_t* status)
{
    const Clock::time_point start = Clock::now();
    g_library(key, topology, elementData, material, nodal, edgeLoads, fixedDofs, prescribedDofs, couplings,
              springs, printElements, printNodes, status);
    PumpRecorder::s_solver.emplace_back(start, Clock::now());
}

TEST(ProgressCoverage, PlateAnalysisOfAHundredThousandUnknownsPumpsOften)
{
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    auto comp = std::make_unique<CPlateComp>();
    comp->AddMaterial(&steel);
    comp->SetElementType(81);
    auto* a = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
    auto* b = new CBoundNode(1000.0, 0.0, 0.0, nullptr, 0);
    auto* c = new CBoundNode(1000.0, 1000.0, 0.0, nullptr, 0);
    auto* d = new CBoundNode(0.0, 1000.0, 0.0, nullptr, 0);
    auto* region = new CSectPlate(a, b, c, d, &steel);
    region->SetThickness(10.0);
    region->SetLoad(0.001);
    comp->AddTail(region);
    CObList edges;
    region->GetEdges(edges);
    for (POSITION p = edges.GetHeadPosition(); p;)
        static_cast<CBoundary*>(edges.GetNext(p))->SetBC(1u, 0);
    region->SetBoundaryConditions();
    comp->m_iSubdivisions = kSubdivisions;

    SolverEntryTable timed = LibrarySolverEntries();
    g_library = timed.plateBending;
    timed.plateBending = &TimedPlateBending;
    const SolverEntryTable previous = SetSolverEntries(timed);
    CStringArray log, errors;
    bool ok = false;
    {
        PumpRecorder recorder;
        ok = comp->PreCalc(&log, &errors, 0) && comp->Calculate(&log, &errors);
        std::printf("unknowns: about %d\n", 3 * comp->m_nNodes);
        CheckGap("analysis", recorder);
        EXPECT_EQ(PumpRecorder::s_solver.size(), 1u);
    }
    SetSolverEntries(previous);
    ASSERT_TRUE(ok) << (errors.GetSize() > 0 ? errors[0].GetString() : "");
    EXPECT_GT(3 * comp->m_nNodes, 80000);
}

} // namespace

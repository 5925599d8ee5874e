// A whole plate-bending analysis through the plate component, as the
// program runs it: a simply supported square steel plate, 1000 mm wide and
// 10 mm thick, under 0.001 N/mm^2, meshed (PreCalc) into DKT triangles
// (code 65) and calculated (Calculate) on sparse storage with minimum-degree
// ordering. The mesh is a regular grid with a node at the centre: an edge
// split into 32 intervals (Small, about 3e3 equations) or 576 (about 1e6
// equations); the subdivision setting is one more than the intervals.
//
// Timed: mesh generation and calculation together; each is also reported.
// Next to the time: the equations, the peak heap use of both steps
// (bench/heap_peak.h) and the accuracy: the deflection at the mesh node
// nearest the centre against the series solution of the thin plate at that
// node, with the relative error. A speed is never shown without it.
#include <benchmark/benchmark.h>

#include "app/analysis/analysis.h"
#include "bench/heap_peak.h"
#include "bench/run_log.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"
#include "platform/weblar/weblar.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr double kSide = 1000.0;     // mm
constexpr double kThickness = 10.0;  // mm
constexpr double kPressure = 0.001;  // N/mm^2
constexpr double kE = 210000.0;      // N/mm^2
constexpr double kNu = 0.3;

// Deflection of the simply supported square plate under uniform pressure
// at (x, y): the double sine series of the thin-plate equation, odd terms
// up to 399 (truncation below 1e-9 relative).
double seriesDeflection(double x, double y)
{
    const double pi = std::numbers::pi;
    const double d = kE * kThickness * kThickness * kThickness / (12.0 * (1.0 - kNu * kNu));
    double sum = 0.0;
    for (int m = 1; m < 400; m += 2)
        for (int n = 1; n < 400; n += 2) {
            const double s = double(m * m + n * n) / (kSide * kSide);
            sum += std::sin(m * pi * x / kSide) * std::sin(n * pi * y / kSide) / (double(m) * n * s * s);
        }
    return 16.0 * kPressure / (std::pow(pi, 6) * d) * sum;
}

// The model as the document holds it: the node list, the material and the
// component with its one region, deleted component first.
struct Model {
    NODELIST nodes;
    CMaterial steel{"Steel", 7.85e-9, kE, kE / (2.0 * (1.0 + kNu)), kNu, 0.0};
    std::unique_ptr<CPlateComp> comp;

    explicit Model(int subdivisions)
    {
        CGraph::m_pNodeList = &nodes;
        comp = std::make_unique<CPlateComp>();
        comp->AddMaterial(&steel);
        comp->SetElementType(65);
        comp->m_iStorage = 2;      // sparse
        comp->m_iRenumbering = 1;  // minimum degree
        auto* region = new CSectPlate(new CBoundNode(0.0, 0.0, 0.0, nullptr, 0),
                                      new CBoundNode(kSide, 0.0, 0.0, nullptr, 0),
                                      new CBoundNode(kSide, kSide, 0.0, nullptr, 0),
                                      new CBoundNode(0.0, kSide, 0.0, nullptr, 0), &steel);
        region->SetThickness(kThickness);
        comp->AddTail(region);
        region->SetLoad(kPressure);
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;)
            static_cast<CBoundary*>(edges.GetNext(p))->SetBC(1u, 0);  // simple support
        region->SetBoundaryConditions();
        comp->m_iSubdivisions = subdivisions;
    }
    ~Model()
    {
        comp.reset();
        CGraph::m_pNodeList = nullptr;
    }
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // The mesh node nearest the centre that holds results; null if none.
    const CSNode* centreNode() const
    {
        const CSNode* best = nullptr;
        double bestDistance = HUGE_VAL;
        comp->ForEachMeshRegion([&](CSectMeshArea* region) {
            CMeshOrganizer* mesh = region->GetMesh();
            for (POSITION p = mesh ? mesh->GetHeadPosition() : nullptr; p;)
                static_cast<CElement*>(mesh->GetNext(p))->ForEachNode(false, [&](CSNode* node) {
                    const double d = std::hypot(node->x - kSide / 2, node->y - kSide / 2);
                    if (node->GetValueVector() && d < bestDistance) {
                        best = node;
                        bestDistance = d;
                    }
                });
        });
        return best;
    }
};

void plateBending(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    double mesh = 0.0, calculation = 0.0, peak = 0.0;
    std::unique_ptr<Model> model;
    for (auto _ : state) {
        model.reset();
        model = std::make_unique<Model>(int(state.range(0)));
        const bench::HeapWindow heap;
        const auto t0 = Clock::now();
        const bool meshed = model->comp->PreCalc(nullptr, nullptr, 0);
        const auto t1 = Clock::now();
        const bool solved = meshed && model->comp->Calculate(nullptr, nullptr);
        const auto t2 = Clock::now();
        peak = std::max(peak, heap.peak());
        if (!solved) {
            state.SkipWithError(meshed ? "calculation failed" : "mesh generation failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
        mesh += std::chrono::duration<double>(t1 - t0).count();
        calculation += std::chrono::duration<double>(t2 - t1).count();
    }
    const CSNode* centre = model->centreNode();
    if (!centre) {
        state.SkipWithError("no results at the nodes");
        return;
    }
    const double w = std::fabs((*centre->GetValueVector())[0]);
    const double series = seriesDeflection(centre->x, centre->y);
    const double runs = double(state.iterations());
    state.counters["equations"] = bench::logValue(bench::readRunLog("Brantel.log"), "Number of equations");
    state.counters["nodes"] = model->comp->m_nNodes;
    state.counters["elements"] = model->comp->m_nElements;
    state.counters["mesh_s"] = mesh / runs;
    state.counters["calculation_s"] = calculation / runs;
    state.counters["peak_bytes"] = peak;
    state.counters["centre_offset"] = std::hypot(centre->x - kSide / 2, centre->y - kSide / 2);
    state.counters["w_centre"] = w;
    state.counters["w_series"] = series;
    state.counters["w_error"] = std::fabs(w - series) / series;
}

} // namespace

BENCHMARK(plateBending)
    ->Name("PlateBendingDKT/Small")
    ->Arg(33)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(plateBending)
    ->Name("PlateBendingDKT/1e6")
    ->Arg(577)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

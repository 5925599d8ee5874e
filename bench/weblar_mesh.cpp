// Free triangle mesher: a 4 x 2 plate with three circular holes, the
// boundaries split at the spacing h, meshed at about 1e3 to 1e6 triangles.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "tests/weblar/mesher_harness.h"

namespace
{

using brantel::test::HarnessMesher;
using brantel::test::HolePlate;

void MeshPlate(benchmark::State& state, double h)
{
    CEasyMesh::AllocStatics();
    const auto input = HolePlate(h);
    double triangles = 0.0;
    double minAngle = 180.0;
    for (auto _ : state) {
        HarnessMesher m(input);
        if (!m.Mesh(0, 0, true)) {
            state.SkipWithError("meshing failed");
            break;
        }
        triangles = static_cast<double>(m.m_nElems);
        state.PauseTiming();
        minAngle = 180.0;
        for (const auto& e : m.elems) {
            const auto& a = m.nodes[e.n[0]];
            const auto& b = m.nodes[e.n[1]];
            const auto& c = m.nodes[e.n[2]];
            auto ang = [](const CEasyMesh::node& p, const CEasyMesh::node& q, const CEasyMesh::node& r) {
                const double ux = q.x - p.x, uy = q.y - p.y, vx = r.x - p.x, vy = r.y - p.y;
                return std::atan2(std::abs(ux * vy - uy * vx), ux * vx + uy * vy) * 180.0 / M_PI;
            };
            minAngle = std::min({minAngle, ang(a, b, c), ang(b, c, a), ang(c, a, b)});
        }
        state.ResumeTiming();
    }
    CEasyMesh::DeAllocStatics();
    state.counters["triangles"] = triangles;
    state.counters["triangles/s"] = benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["min_angle"] = minAngle;
}

// h for about n triangles: the plate meshes to about 16 / h^2.
double SpacingFor(double n)
{
    return std::sqrt(16.0 / n);
}

void BM_MeshPlateSmall1e3(benchmark::State& s) { MeshPlate(s, SpacingFor(1e3)); }
void BM_MeshPlate1e4(benchmark::State& s) { MeshPlate(s, SpacingFor(1e4)); }
void BM_MeshPlate1e5(benchmark::State& s) { MeshPlate(s, SpacingFor(1e5)); }
void BM_MeshPlate1e6(benchmark::State& s) { MeshPlate(s, SpacingFor(1e6)); }

BENCHMARK(BM_MeshPlateSmall1e3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeshPlate1e4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeshPlate1e5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeshPlate1e6)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// Assembly and direct solve of a structured plane mesh (4-node elements, two
// DOFs per node, one side supported, identity labelling) in the system
// sparse matrix and in the skyline matrix. Counters: DOFs, stored entries
// (cells or profile values), operations, assembly and factorisation seconds
// and the assembly time per element, which should not grow with the mesh.
#include "matrix/zelkor.h"
#include "tests/zelkor/sparse_patch.h"

#include <benchmark/benchmark.h>

#include <optional>

namespace {

// Takes the solvers' timing reports without showing them.
class SilentMessages : public CMessageService {
public:
    SilentMessages() : m_previous(AfxSetMessageService(this)) {}
    ~SilentMessages() override { AfxSetMessageService(m_previous); }
    int MessageBox(LPCTSTR, LPCTSTR, UINT nType) override { return AfxDefaultAnswer(nType); }

private:
    CMessageService* m_previous;
};

long long StoredCells(CSparseMatrix& m)
{
    long long n = 0;
    for (CSparseMatrix::row* r = m.GetFirstRow(); r; r = r->pNext)
        n += r->NonZeros();
    return n;
}

void Report(benchmark::State& state, const sparsetest::Patch& patch, long long entries,
            double assembly, double factorisation)
{
    state.counters["dofs"] = patch.dofs;
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["flops"] = static_cast<double>(CVirtMat::m_Flops);
    state.counters["assembly_s"] = assembly;
    state.counters["solve_s"] = factorisation;
    state.counters["assembly_per_element_us"] =
        assembly * 1e6 / static_cast<double>(patch.elements.size());
}

// Allocates the matrix from the DOF graph, assembles the patch and solves one
// load case, every iteration. stored counts the matrix's entries; symmetric,
// when given, is the class-wide storage switch during the run.
template <class Matrix, class Stored>
void AssembleAndSolve(benchmark::State& state, Stored stored, std::optional<bool> symmetric)
{
    SilentMessages silent;
    const int n = static_cast<int>(state.range(0));
    sparsetest::Patch patch(n, n);
    CReorderMat graph(0);
    patch.Graph(graph);
    const bool oldSym = CVirtMat::m_bSym;
    if (symmetric)
        CVirtMat::m_bSym = *symmetric;
    double assembly = 0.0, solve = 0.0;
    long long entries = 0;
    for (auto _ : state) {
        const double t0 = AfxProcessorSeconds();
        Matrix m;
        m.Allocate(graph);
        patch.Assemble(m);
        const double t1 = AfxProcessorSeconds();
        CMatrix b = patch.Loads(1);
        double seconds;
        benchmark::DoNotOptimize(m.Cholesky_Solve(&b, seconds));
        assembly = t1 - t0;
        solve = seconds;
        entries = stored(m);
    }
    CVirtMat::m_bSym = oldSym;
    Report(state, patch, entries, assembly, solve);
}

void SystSparseSolve(benchmark::State& state)
{
    AssembleAndSolve<CSystSpMat>(state, StoredCells, true);
}

void SkylineSolve(benchmark::State& state)
{
    AssembleAndSolve<CSkylineMatrix>(
        state, [](CSkylineMatrix& m) { return static_cast<long long>(m.GetValueCount()); },
        std::nullopt);
}

} // namespace

BENCHMARK(SystSparseSolve)->Name("SystSparseSolveSmall")->Arg(25)->Unit(benchmark::kMillisecond);
BENCHMARK(SystSparseSolve)->Name("SystSparseSolve")->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(SkylineSolve)->Name("SkylineSolveSmall")->Arg(25)->Unit(benchmark::kMillisecond);
BENCHMARK(SkylineSolve)->Name("SkylineSolve")->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

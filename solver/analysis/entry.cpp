// The four entry points of the solver.
#include "solver/solvika.h"

#include "solver/analysis/runcontext.h"
#include "solver/analysis/staticrun.h"

using solvika::RunContext;
using solvika::RunLog;

extern "C" {

void PLANE_STR(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
               double* bodyLoad, double* pointLoads, double* edgeLoads, std::int32_t* fixedDofs,
               double* prescribedDofs, double* couplings, double* springs, std::int32_t* printElements,
               std::int32_t* printNodes, std::int32_t* status) {
    const solvika::StaticModel model{false,     topology,   elementData,    material,  nodal,
                                     bodyLoad,  pointLoads, edgeLoads,      fixedDofs, prescribedDofs,
                                     couplings, springs,    printElements,  printNodes};
    solvika::runEntry(RunLog::Main, key, status, [&](RunContext& run) { solvika::runStatic(run, model); });
}

void PLATE_BENDING(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                   double* edgeLoads, std::int32_t* fixedDofs, double* prescribedDofs, double* couplings,
                   double* springs, std::int32_t* printElements, std::int32_t* printNodes, std::int32_t* status) {
    const solvika::StaticModel model{true,      topology, elementData,   material,  nodal,
                                     nullptr,   nullptr,  edgeLoads,     fixedDofs, prescribedDofs,
                                     couplings, springs,  printElements, printNodes};
    solvika::runEntry(RunLog::Main, key, status, [&](RunContext& run) { solvika::runStatic(run, model); });
}

void PLATE_BUCKLING(std::int32_t* key, [[maybe_unused]] std::int32_t* topology,
                    [[maybe_unused]] double* elementData, [[maybe_unused]] double* material,
                    [[maybe_unused]] double* nodal, [[maybe_unused]] std::int32_t* fixedDofs,
                    [[maybe_unused]] double* couplings, [[maybe_unused]] double* springs,
                    [[maybe_unused]] double* stresses, [[maybe_unused]] double* eigenvalues,
                    [[maybe_unused]] double* modeShapes, std::int32_t* status) {
    solvika::runEntry(RunLog::Buckling, key, status, [](RunContext&) {});
}

void PLATE_KNEKKING(std::int32_t* key, [[maybe_unused]] std::int32_t* topology,
                    [[maybe_unused]] double* elementData, [[maybe_unused]] double* material,
                    [[maybe_unused]] double* nodal, [[maybe_unused]] std::int32_t* fixedDofs,
                    [[maybe_unused]] double* couplings, [[maybe_unused]] double* springs,
                    [[maybe_unused]] double* stresses, [[maybe_unused]] double* eigenvalues,
                    [[maybe_unused]] double* modeShapes, std::int32_t* status) {
    solvika::runEntry(RunLog::Buckling, key, status, [](RunContext&) {});
}

} // extern "C"

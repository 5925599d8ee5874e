// The four entry points of the solver.
#include "solver/solvika.h"

#include "solver/analysis/runcontext.h"

using solvika::RunContext;
using solvika::RunLog;

extern "C" {

void PLANE_STR(std::int32_t* key, [[maybe_unused]] std::int32_t* topology, [[maybe_unused]] double* elementData,
               [[maybe_unused]] double* material, [[maybe_unused]] double* nodal,
               [[maybe_unused]] double* bodyLoad, [[maybe_unused]] double* pointLoads,
               [[maybe_unused]] double* edgeLoads, [[maybe_unused]] std::int32_t* fixedDofs,
               [[maybe_unused]] double* prescribedDofs, [[maybe_unused]] double* couplings,
               [[maybe_unused]] double* springs, [[maybe_unused]] std::int32_t* printElements,
               [[maybe_unused]] std::int32_t* printNodes, std::int32_t* status) {
    solvika::runEntry(RunLog::Main, key, status, [](RunContext&) {});
}

void PLATE_BENDING(std::int32_t* key, [[maybe_unused]] std::int32_t* topology,
                   [[maybe_unused]] double* elementData, [[maybe_unused]] double* material,
                   [[maybe_unused]] double* nodal, [[maybe_unused]] double* edgeLoads,
                   [[maybe_unused]] std::int32_t* fixedDofs, [[maybe_unused]] double* prescribedDofs,
                   [[maybe_unused]] double* couplings, [[maybe_unused]] double* springs,
                   [[maybe_unused]] std::int32_t* printElements, [[maybe_unused]] std::int32_t* printNodes,
                   std::int32_t* status) {
    solvika::runEntry(RunLog::Main, key, status, [](RunContext&) {});
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

// The four entry points of the solver.
#include "solver/solvika.h"

#include "solver/analysis/buckling.h"
#include "solver/analysis/runcontext.h"
#include "solver/analysis/staticrun.h"

using solvika::RunContext;
using solvika::RunLog;

namespace {

// A buckling run with element (perNode false) or nodal stresses.
void bucklingEntry(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                   std::int32_t* fixedDofs, double* couplings, double* springs, double* stresses,
                   double* eigenvalues, double* modeShapes, std::int32_t* status, bool perNode) {
    const solvika::BucklingModel model{topology, elementData, material,    nodal,      fixedDofs,
                                       couplings, springs,    stresses,    eigenvalues, modeShapes};
    solvika::runEntry(RunLog::Buckling, key, status,
                      [&](RunContext& run) { solvika::runBuckling(run, model, perNode); });
}

} // namespace

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

void PLATE_BUCKLING(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                    std::int32_t* fixedDofs, double* couplings, double* springs, double* stresses,
                    double* eigenvalues, double* modeShapes, std::int32_t* status) {
    bucklingEntry(key, topology, elementData, material, nodal, fixedDofs, couplings, springs, stresses, eigenvalues,
                  modeShapes, status, false);
}

void PLATE_KNEKKING(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                    std::int32_t* fixedDofs, double* couplings, double* springs, double* stresses,
                    double* eigenvalues, double* modeShapes, std::int32_t* status) {
    bucklingEntry(key, topology, elementData, material, nodal, fixedDofs, couplings, springs, stresses, eigenvalues,
                  modeShapes, status, true);
}

} // extern "C"

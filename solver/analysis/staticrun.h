// The run sequence of a linear static analysis, membrane (PLANE_STR) or
// plate bending (PLATE_BENDING): echo, checks and tables, equation set-up,
// stiffness and loads, solution on skyline or sparse storage, expansion and
// back rotation, result recovery, nodal store, selective print and summary.
#pragma once

#include "solver/analysis/runcontext.h"

#include <cstdint>

namespace solvika {

// The caller's arrays of one static run, as the entry points take them.
// The three membrane load arrays are null for plate bending, whose edge
// loads come in `edgeLoads`.
struct StaticModel {
    bool bending;
    std::int32_t* topology;
    double* elementData;
    double* material;
    double* nodal;
    double* bodyLoad;
    double* pointLoads;
    double* edgeLoads;
    std::int32_t* fixedDofs;
    double* prescribedDofs;
    double* couplings;
    double* springs;
    std::int32_t* printElements;
    std::int32_t* printNodes;
};

// Runs the sequence inside an entry point's frame (runEntry). Returns as
// soon as a step leaves a negative status. The caller's nodal data is
// written only by a run that ends without an error: an abort puts back
// what the load and recovery steps changed in it.
void runStatic(RunContext& run, const StaticModel& model);

// The status of a failed factorisation: -20, or for a flag below -2 (a
// singular or near-singular matrix) -21 with S(2) = the node and S(3) = the
// local DOF of the equation the solver reports, when that equation is one
// of a DOF's (MDOFEQ). Writes the message.
void SNGSTS(std::int32_t ierr, std::int32_t equation, const ModelTables& tables, const EquationTables& eq,
            std::int32_t lunit, std::int32_t* status);

// Test hook: called with the name of each work array of the run ("system
// matrix", "load vector", "nodal work array", "sparse work arrays", "DOF
// vector", "nodal copy") before it is allocated; returning true makes the
// allocation fail. Null (the default) allocates them all. Returns the probe
// it replaced.
using AllocProbe = bool (*)(const char* array);
AllocProbe setAllocProbe(AllocProbe probe);

} // namespace solvika

// The solver library's four entry points, reached through one replaceable
// table. By default the table holds the library's own functions; a test or
// another caller can install functions of the same shape in their place
// (for instance a solver that only records what it was given).
#pragma once

#include <cstdint>

using PlaneStrEntry = void (*)(std::int32_t* key, std::int32_t* topology, double* elementData,
                               double* material, double* nodal, double* bodyLoad, double* pointLoads,
                               double* edgeLoads, std::int32_t* fixedDofs, double* prescribedDofs,
                               double* couplings, double* springs, std::int32_t* printElements,
                               std::int32_t* printNodes, std::int32_t* status);
using PlateBendingEntry = void (*)(std::int32_t* key, std::int32_t* topology, double* elementData,
                                   double* material, double* nodal, double* edgeLoads,
                                   std::int32_t* fixedDofs, double* prescribedDofs, double* couplings,
                                   double* springs, std::int32_t* printElements, std::int32_t* printNodes,
                                   std::int32_t* status);
using PlateBucklingEntry = void (*)(std::int32_t* key, std::int32_t* topology, double* elementData,
                                    double* material, double* nodal, std::int32_t* fixedDofs,
                                    double* couplings, double* springs, double* stresses,
                                    double* eigenvalues, double* modeShapes, std::int32_t* status);

struct SolverEntryTable {
    PlaneStrEntry planeStr = nullptr;
    PlateBendingEntry plateBending = nullptr;
    // In-plane forces per element.
    PlateBucklingEntry plateBuckling = nullptr;
    // In-plane forces per node.
    PlateBucklingEntry plateKnekking = nullptr;
};

// The table in force.
const SolverEntryTable& GetSolverEntries();
// Installs a table and returns the one it replaces. An entry left null
// falls back to the library's function.
SolverEntryTable SetSolverEntries(const SolverEntryTable& table);
// The library's own functions.
SolverEntryTable LibrarySolverEntries();

// The solver's stop request (read inside its long loops, from any thread)
// and the status code of a run it stopped.
void SetSolverStopRequest(bool stop);
bool IsSolverStopped(const int* status);
// The solver's phase while one of its runs works ("assembling",
// "factorising", "solving", "stresses", "eigenvalues"), else null.
const char* SolverPhaseText();

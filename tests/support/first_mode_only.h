// A buckling entry point for tests: the library's run, reported as if the
// model had one mode only (status 1, one mode accepted of those requested).
#pragma once

#include <cstdint>

#include "app/analysis/solverentries.h"

namespace brantel::test {

template <bool perNode>
void FirstModeOnly(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                   std::int32_t* fixed, double* couplings, double* springs, double* stresses, double* eigenvalues,
                   double* modes, std::int32_t* status)
{
    const SolverEntryTable library = LibrarySolverEntries();
    (perNode ? library.plateKnekking : library.plateBuckling)(key, topology, elementData, material, nodal, fixed,
                                                               couplings, springs, stresses, eigenvalues, modes,
                                                               status);
    if (status[0] == 0 && key[14] > 1) {
        status[0] = 1;
        status[1] = 1;
        status[2] = key[14];
    }
}

} // namespace brantel::test

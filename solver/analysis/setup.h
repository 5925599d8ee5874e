// Equation-system set-up of a run: equation numbers and either the skyline
// profile (after an optional node renumbering) or the sparse solver's
// symbolic tables, with the storage estimates of the run.
#pragma once

#include "solver/analysis/tables.h"

#include <array>
#include <cstdint>
#include <vector>

namespace solvika {

// Run statistics: 24 single-precision values of one run, written by the
// set-up and the run sequences and printed by the run summary. RSTAT(k) is
// entry k - 1.
using RunStatistics = std::array<float, 24>;

// Tables of the equation system, 1-based in meaning (entry k is index
// k - 1). They live in the run context and are freed with it.
struct EquationTables {
    std::vector<std::int32_t> MDOFEQ;  // DOFs: equation number, 0 specified, -i slave of constraint i
    std::vector<std::int32_t> MSKY;    // skyline: diagonal pointer of every equation
    std::vector<std::int32_t> MSICA;   // sparse: graph nodes and element incidences (MSPAR(2))
    std::vector<std::int32_t> MTREES;  // sparse: elimination tree and supernodes (MSPAR(4))
    std::vector<std::int32_t> MSIFA;   // sparse: row structure of the factor (MSPAR(3))
    std::vector<std::int32_t> MEQMAP;  // sparse: graph node, then supernode, of every equation (2 MSPAR(8))
};

// Sets up the equation system from the node, element, DOF status and
// constraint tables (CHKTOP, BCDATA). Zeroes the status block first.
//  - MPAR(20) = the largest element DOF count; RSTAT(1), RSTAT(2) the
//    integer (32-bit words) and real (64-bit words) storage of the run.
//  - KEY(11) = 1, skyline: KEY(12) = 1, 2 or 3 renumbers the nodes (SWSNUM,
//    PFMREN, ELWREN; RSTAT(3) the new profile in percent of the old one,
//    RSTAT(4) the start node), any other value keeps the input order
//    (RSTAT(3) = RSTAT(4) = 0); then the pre-assembly fills MDOFEQ and MSKY
//    and MPAR(12) is the profile length.
//  - KEY(11) = 2, sparse: equation numbers and the symbolic tables; any
//    KEY(12) other than 0 reorders by minimum degree first. RSTAT(11..14)
//    the operation counts of the elimination-tree step.
// Failures write their message to LUNIT and set the status: -6 with S(2) =
// KEY(12) a renumbering, -7 the pre-assembly, -8 to -11 the sparse steps,
// -12 a KEY(11) other than 1 or 2, -30 storage that cannot be had or a
// profile or factor too long for 32-bit positions. Tables made before a
// failure stay in `eq` for the caller to free; scratch is freed on every
// path.
void PREPEQ(const std::int32_t* key, float* RSTAT, std::int32_t LUNIT, std::int32_t* status, ModelTables& tables,
            EquationTables& eq);

// Test hook: called with the name of each library routine that reports a
// failure (SWSNUM, PFMREN, ELWREN, PRASSX, SPSPRP, SPRSAS, SPRRNM, SPRTRS,
// SPRSMB) just before the set-up calls it; returning true makes the call
// fail with IERR -1 without running it. Null (the default) runs them all.
// Returns the probe it replaced.
using SetupProbe = bool (*)(const char* routine);
SetupProbe setSetupProbe(SetupProbe probe);

} // namespace solvika

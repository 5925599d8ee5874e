// The run log's own prints of a static run: the echo of the model, the
// check points, the selective print of chosen results and the closing
// summary of every successful run.
//
// Conventions as in the rest of the library: KEY(k) is key[k - 1], arrays
// are 1-based in meaning and column-major, RSTAT(k) is RSTAT[k - 1]. Nothing
// is written when the unit is below 1.
#pragma once

#include "solver/analysis/tables.h"

#include <cstdint>

namespace solvika {

// ---- Echo and check points ------------------------------------------------

// Print level 2 or more: the key data and the nodes (x, y, angle and, for
// plate bending, the nodal load).
void ECHKEY(const std::int32_t* key, const double* nodal, bool bending, std::int32_t lunit);

// Print level 2 or more: the DOF status of every node, the prescribed DOFs
// (node, DOF rounded as the condition tables round them) and the element
// connectivity, from the tables of CHKTOP and BCDATA.
void ECHBCS(const std::int32_t* key, const double* prescribedDofs, const ModelTables& tables,
            std::int32_t lunit);

// Print level 1 or more: "Passing check point" with n.
void CHKPNT(const std::int32_t* key, std::int32_t n, std::int32_t lunit);

// ---- Selective print --------------------------------------------------------

// Results of the KEY(25) elements of `elements` and the KEY(26) nodes of
// `nodes`: element stresses (membrane) or moments and shears (bending) per
// corner from the element data (KEY(20) rows per element), nodal results
// from the nodal data after the run and the coordinates from `coords`, the
// nodal data as it was passed in. Entries outside 1..KEY(1) or 1..KEY(2)
// print nothing. Corner node numbers come from MPELND / MELNOD.
void SELPRT(const std::int32_t* key, const std::int32_t* elements, const double* elementData,
            const std::int32_t* nodes, const double* nodal, const double* coords, const ModelTables& tables,
            std::int32_t lunit);

// ---- Run summary ------------------------------------------------------------

// The closing summary: date, problem, element texts, model size (MPAR 1, 2,
// 3, 11), renumbering, storage (RSTAT 1, 2 and the stiffness length MPAR(12)
// or MSPAR(8) + MSPAR(16)), solution figures, for a static run the load and
// reaction sums (membrane x and y; bending entry 0, the vertical direction),
// and the CPU times RSTAT(20..24). `load` and `reaction` hold two values
// each and are not read by a buckling run (KEY(29) = 99).
void RUNLOG(const std::int32_t* key, const float* RSTAT, std::int32_t lunit, const ModelTables& tables,
            const double* load, const double* reaction);

// Test hook: replaces the calendar that RUNLOG reads the date from; null
// restores the local calendar. Returns the source it replaced.
struct RunDate {
    int day, month, year;
};
using DateSource = RunDate (*)();
DateSource setDateSource(DateSource source);

} // namespace solvika

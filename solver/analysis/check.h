// Checks of the model arrays at the start of a run: the array shapes and
// boundary-condition rows against the key data, and the element topology,
// from which the node and element tables are built.
#pragma once

#include "solver/analysis/tables.h"

#include <cstdint>

namespace solvika {

// Node layout of an element-type code: nodes read from the topology column,
// the first `corners` of them corner nodes with `cornerDofs` DOFs, the rest
// side nodes with `sideDofs`; null for a code the solver does not know.
struct ElementKind {
    std::int32_t code;
    std::int32_t nodes;
    std::int32_t corners;
    std::int32_t cornerDofs;
    std::int32_t sideDofs;
};
const ElementKind* elementKind(std::int32_t code) noexcept;

// Rows of the element-data array that the run reads or writes for an
// element-type code (4 for buckling runs); 0 for an unknown code.
std::int32_t elementDataRows(std::int32_t code, bool buckling) noexcept;

// Checks, before any table is built, what would otherwise make later steps
// read or write outside the caller's arrays. Zeroes the status block first;
// the first failure sets it, writes its message to lunit and stops:
//  - a negative count of elements, nodes, fixed, prescribed, coupling or
//    spring rows (KEY(1), KEY(2), KEY(4) to KEY(7)): -25 with S(2) = that
//    count;
//  - KEY(19) below the nodes of KEY(10) + 1: "Too few rows" line, then -1
//    with S(2) = 0, S(3) = 1, S(4) = the first node position not held;
//  - KEY(20) below elementDataRows(): "Too few rows" line, then -4 with
//    S(2) = 1 (both only when there are elements and the code is known);
//  - a fixed, prescribed, slave or spring row whose node (rounded) lies
//    outside 1..KEY(2) or whose DOF is below 1: -25 with S(2) = the node;
//  - a master with such a node or DOF: -26 with S(2) = the node (a master-2
//    node of 0 or below means none).
// A null array counts as no rows. The DOF count of each node is checked
// later by BCDATA.
void CHKINP(const std::int32_t* key, bool buckling, const std::int32_t* fixedDofs, const double* prescribedDofs,
            const double* couplings, const double* springs, std::int32_t lunit, std::int32_t* status);

// Checks the topology (integer, rows x nel; row 1 material, rows 2 onward
// the nodes) and builds MNDPTR, MEXNOD, MPELND, MELNOD and MPAR(1..3, 15),
// zeroing MPAR and MSPAR first. Zeroes the status block first; failures
// write their message to lunit and stop: -1 a node outside 1..nanod (S(2)
// node, S(3) element, S(4) position) or too few rows; -2 / -3 a corner or
// side node of codes 75 and 85 that an earlier element used as the other
// kind (S(2) node, S(3) element); -4 an element-type code not known
// (S(2) = 1); -5 a node that no element uses (S(2) node). The tables are
// sized only once the topology has passed, so a count far beyond what the
// topology names costs no table of that size.
void CHKTOP(const std::int32_t* topology, std::int32_t nel, std::int32_t nanod, std::int32_t code,
            std::int32_t rows, std::int32_t lunit, std::int32_t* status, ModelTables& tables);

} // namespace solvika

// The node, element, DOF status and constraint tables of one run, built from
// the caller's model arrays by the topology check and the boundary-condition
// step, and read by the equation set-up, the assembly and the solution.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace solvika {

// Tables of one run, 1-based in meaning: entry k of a table is index k - 1.
// They live in the run context and are freed with it on every path.
struct ModelTables {
    // Assembly parameter block MPAR(1..50): 1 nodes, 2 elements, 3 DOFs,
    // 4 free DOFs, 6 specified DOFs, 7 constraint equations, 8 fixed rows,
    // 9 prescribed rows, 10 coupling rows, 11 equations, 15 length of
    // MELNOD, 16 length of the constraint tables, 20 largest element DOFs.
    std::array<std::int32_t, 50> MPAR{};
    // Sparse control block MSPAR(1..50).
    std::array<std::int32_t, 50> MSPAR{};

    std::vector<std::int32_t> MNDPTR;  // nodes + 1: DOFs of node n are MNDPTR(n)..MNDPTR(n+1)-1
    std::vector<std::int32_t> MEXNOD;  // nodes: number printed for node n
    std::vector<std::int32_t> MPELND;  // elements + 1: nodes of e are MELNOD(MPELND(e)..MPELND(e+1)-1)
    std::vector<std::int32_t> MELNOD;  // node numbers of every element, element after element
    std::vector<std::int32_t> MSC;     // DOFs: 1 free, 0 fixed, prescribed or slave
    std::vector<std::int32_t> MPMCEQ;  // equations + 1 (empty without equations)
    std::vector<std::int32_t> MCQDOF;  // slave DOF, then master DOFs, of every equation
    std::vector<double> CQCOEF;        // constant term, then master coefficients
};

// Builds MSC and the constraint tables MPMCEQ, MCQDOF, CQCOEF from the
// fixed rows (integer, 2 x KEY(4): node, DOF), the prescribed rows (real,
// 3 x KEY(5): node, DOF, value) and the coupling rows (real, 8 x KEY(6):
// slave node, slave DOF, master-1 node, DOF, coefficient, master-2 node,
// DOF, coefficient; master-2 node 0 or below = none). Node and DOF numbers
// of the real arrays are rounded to the nearest integer. Needs MNDPTR and
// MPAR(3) from CHKTOP; sets MPAR(4, 6..11, 16). A null array counts as no
// rows. Zeroes the status block first; a row whose node is outside
// 1..KEY(2) or whose DOF is not a DOF of the node stops with -25 (fixed,
// prescribed, slave; S(2) = node) or -26 (master; S(2) = node) after its
// message is written to lunit. A DOF fixed twice counts once. Rows are
// read in the order fixed, prescribed, couplings.
void BCDATA(const std::int32_t* key, const std::int32_t* fixedDofs, const double* prescribedDofs,
            const double* couplings, std::int32_t lunit, std::int32_t* status, ModelTables& tables);

// After BCDATA: a prescribed or slave DOF that an earlier row fixed,
// prescribed or made a slave would be counted twice by the equation set-up
// (skyline storage then writes past its tables). Zeroes the status block
// first; the first such row stops with -21 (S(2) = node, S(3) = local DOF),
// the status the solution gives such a DOF, after its message is written
// to lunit.
void CHKSPC(const std::int32_t* key, const std::int32_t* fixedDofs, const ModelTables& tables, std::int32_t lunit,
            std::int32_t* status);

// Entry 1 of a table for the library routines, which address entry 1 of
// every table even when it is empty (the constraint tables of a model
// without constraint equations): the table's own storage, or a one-entry
// stand-in (1 for integer tables, 0 for real ones) that nothing reads.
const std::int32_t* entry1(const std::vector<std::int32_t>& table) noexcept;
const double* entry1(const std::vector<double>& table) noexcept;

// The nearest integer of a node or DOF number given as a real, halves away
// from zero; NaN gives 0 and values beyond the 32-bit range the nearest
// bound (all of them invalid node numbers).
std::int32_t nearestInt(double value) noexcept;

} // namespace solvika

// The per-element steps of a run: the system stiffness with springs, the
// membrane and plate-bending loads, and the recovery of stresses, moments,
// reactions and spring forces from a solution.
//
// Conventions as in the rest of the library: the caller's model arrays are
// 1-based in meaning and column-major (entry (i, j) of an m-row array is
// element (i - 1) + (j - 1) m), KEY(k) is key[k - 1] and S(k) status[k - 1].
// Every step zeroes the status block first; a failure sets it, writes its
// message to the log unit (nothing when it is below 1) and returns. The node,
// element and constraint tables come from the topology check and the
// boundary-condition step, the equation tables from the equation set-up.
#pragma once

#include "solver/analysis/setup.h"
#include "solver/analysis/tables.h"

#include <cstdint>
#include <vector>

namespace solvika {

// Load and reaction sums of a run, kept for the run summary: x and y of a
// membrane run; a plate-bending run uses entry 0 (the vertical direction).
struct ResultSums {
    double load[2] = {0.0, 0.0};
    double reaction[2] = {0.0, 0.0};
};

// System stiffness: zeroes SYSK (lenK entries) and SYSR (lenR), then adds
// every element's stiffness, turned to the node axes (not for code 61), into
// skyline storage (KEY(11) other than 2) or sparse storage (KEY(11) = 2)
// through the constraints, with the loads of prescribed values and constant
// terms in SYSR on both roads. Then the springs (3 reals each: node, DOF,
// stiffness; both numbers rounded): a free DOF takes the stiffness on its
// diagonal; a slave DOF takes it through its constraint (the spring acts as
// a 1 x 1 element on the slave); a fixed or prescribed DOF, or a DOF the
// node does not have, takes nothing. KEY(10) = 75 with KEY(30) >= 3 echoes
// each element's corner data. Statuses: -13 (node axes), -14 unknown code
// (S(2) code, before any element), -15 (S(2) element, S(3) code, S(4) the
// routine's flag; an invalid material gives flag -9), -16 (S(2) element,
// S(3) code), -17 the sparse diagonal positions.
void ASMSTF(const std::int32_t* key, const std::int32_t* topology, const double* elementData,
            const double* material, const double* nodal, const double* springs, double* SYSK, double* SYSR,
            std::int64_t lenK, std::int32_t lenR, std::int32_t lunit, std::int32_t* status, ModelTables& tables,
            const EquationTables& eq);

// Membrane loads into SYSR (added to, not cleared) and the external nodal
// loads in global axes into W (2 x KEY(2): Fx, Fy per node; cleared first).
// The body-load record B has 8 reals (a null pointer is no body load).
// Point loads: 3 reals each (node, negative for node axes; Fx, Fy); edge
// loads: KEY(21) reals each (element, start node, negative for side axes,
// the pairs at the start, the end and, from 7 rows on, the mid-point).
// Initial-strain loads are added to W as well, so that the reactions of the
// recovery are K u - F with every load. Loads on a slave DOF reach its
// masters through the constraint; fixed and prescribed DOFs take none.
// `internal` becomes 2 x KEY(1) reals: the loads of the condensed internal
// DOFs of codes 33 and 46 (zeros for every other element and code); the
// recovery reads it. All load rows are checked before any load is added.
// Statuses: -14 (S(2) code), -15, -19, -24 (S(2) element, S(3) code), -23
// (S(2) element, S(3) node: the node is not a corner of the element, or the
// element does not exist), -25 (S(2) node: a point load on a node that does
// not exist), -18 from the node-axis turn.
void MEMLOD(const std::int32_t* key, const std::int32_t* topology, const double* elementData,
            const double* material, const double* nodal, const double* B, const double* pointLoads,
            const double* edgeLoads, double* SYSR, double* W, std::int32_t lunit, std::int32_t* status,
            const ModelTables& tables, const EquationTables& eq, std::vector<double>& internal);

// Membrane stresses, reactions and spring forces from the DOF solution U (in
// global axes). W holds the nodal loads that MEMLOD left; its sums go to
// `sums.load`, then it becomes the reactions K u - F, which are written to
// rows 3 and 4 of the nodal data and summed into `sums.reaction`. Element
// IEL's column of the element data receives sigma_x, sigma_y, tau_xy per
// stress point (3 points for 31 and 32, 4 for 33, 5 for the quadrilaterals).
// A spring's third row becomes its force: the stiffness times the DOF value
// in the node's own axes. Statuses: -15 (stiffness, S(2) element, S(3)
// code), -24 (Q6 initial strains), -27 (S(2) code), -28 (Q6 stresses).
void MEMSTR(const std::int32_t* key, const double* U, const std::int32_t* topology, double* elementData,
            double* springs, double* nodal, const double* material, double* W, std::int32_t lunit,
            std::int32_t* status, const ModelTables& tables, const std::vector<double>& internal,
            ResultSums& sums);

// Plate-bending loads into SYSR (added to): the corner pressures of every
// element (element data rows 6-8), the edge loads (KEY(21) reals each:
// element, start corner, q at the start, at the end and, from 5 rows on, at
// the mid-point; without it the load is linear), whose nodal shares are
// added to row 4 of the nodal data, and row 4 of every node that carries a
// deflection. Statuses: -14 (S(2) code), -19 (S(2) element, S(3) code), -23
// (S(2) element, S(3) node), -18 from the node-axis turn.
void BNDLOD(const std::int32_t* key, const double* elementData, double* nodal, const double* edgeLoads,
            double* SYSR, std::int32_t lunit, std::int32_t* status, const ModelTables& tables,
            const EquationTables& eq);

// Plate-bending moments, reactions and spring forces from the DOF solution
// U (global axes). Element e's column receives per corner Mx, My, Mxy and,
// for codes 75, 81 and 85, Qx, Qy; row 4 of every node the reaction
// K v - f in the deflection direction; `sums.load[0]` the applied lateral
// load and `sums.reaction[0]` the sum of the reactions. Statuses: -14
// (S(2) code), -15 (S(2) element, S(3) code).
void BNDRES(const std::int32_t* key, const double* U, const std::int32_t* topology, double* elementData,
            double* springs, double* nodal, const double* material, std::int32_t lunit, std::int32_t* status,
            const ModelTables& tables, ResultSums& sums);

} // namespace solvika

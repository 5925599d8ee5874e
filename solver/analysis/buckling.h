// Linear buckling of a plate in bending under given in-plane stresses: the
// geometric stiffness assembly and the run sequence of the buckling entry
// points, which solve K x = lambda KG x for the requested number of modes.
//
// Conventions as in the rest of the library: KEY(k) is key[k - 1], S(k)
// status[k - 1], arrays 1-based in meaning and column-major.
#pragma once

#include "solver/analysis/runcontext.h"
#include "solver/analysis/setup.h"
#include "solver/analysis/tables.h"

#include <cstdint>

namespace solvika
{

// Geometric stiffness SKG (L reals, zeroed first) of the bending code
// KEY(10) under in-plane stresses (sigma_x, sigma_y, tau_xy), in the storage
// of the bending stiffness: skyline (KEY(11) other than 2) or sparse
// (KEY(11) = 2) through the constraints. Each element matrix is turned to
// the node axes first. Build_SKG takes 3 stresses per element, Build_SKG_N
// 3 per node (codes 65 and 66 use the mean of the three corners, 75, 81 and
// 85 the corner values). Corner coordinates come from the nodal data,
// thicknesses from rows 2-4 of the element data (KEY(20) rows each).
// Statuses, each followed by the line "Error occured in Build_SKG
// (geometric stiffness)": -14 (S(2) the code) for any code but 65, 66, 75,
// 81 and 85, before any element; -13 from the node-axis turn; -16 (S(2)
// element, S(3) code) when an element cannot be added. SKG then holds the
// elements added so far.
void Build_SKG(const std::int32_t* key, const double* elementData, const double* nodal,
               const double* stresses, double* SKG, std::int64_t L, std::int32_t lunit,
               std::int32_t* status, const ModelTables& tables, const EquationTables& eq);
void Build_SKG_N(const std::int32_t* key, const double* elementData, const double* nodal,
                 const double* stresses, double* SKG, std::int64_t L, std::int32_t lunit,
                 std::int32_t* status, const ModelTables& tables, const EquationTables& eq);

// The caller's arrays of one buckling run, as the entry points take them.
struct BucklingModel {
    std::int32_t* topology;
    double* elementData;
    double* material;
    double* nodal;
    std::int32_t* fixedDofs;
    double* couplings;
    double* springs;
    double* stresses;    // 3 per element, or 3 per node (perNode)
    double* eigenvalues; // out: KEY(15) entries, the first p' written
    double* modeShapes;  // out: KEY(2) x KEY(15), the first p' columns written
};

// Scaling factor of the Lanczos length of the buckling runs of this
// process: the first pass runs MAXLAN = factor x (2p + 12) steps, rounded,
// at least p; 0 (the default, also for a negative or non-finite factor)
// keeps 2p + 12. Later passes grow from there (see lanczosRun).
void setMaxlanScaling(double factor);
double maxlanScaling();

// Runs the buckling sequence inside an entry point's frame (runEntry):
// echo, checks and tables (no prescribed DOFs: KEY(5) is not read), equation
// set-up, the bending stiffness K and the geometric stiffness KG, the
// eigenpairs of K x = lambda KG x nearest 0 by subspace iteration (KEY(14)
// = 1) or Lanczos (any other KEY(14)) on skyline or sparse storage, the
// eigenvalues and the deflection of every node per mode (0 for the side
// nodes of code 85), and the run summary. Lanczos runs lanczosRun: its
// first pass has k steps, and it goes on past k while fewer modes pass;
// the summary's vector count is the length it ended with. Statuses of its
// own: -33 (S(2) = KEY(15), S(3) = equations) when there are fewer
// equations than the eigensolver's vectors k; -32 (S(2) the eigensolver's
// flag); the warnings 2 (S(2) = KEY(15), S(3) = k, S(4) = equations) when
// k exceeds half the equations and 1 (S(2) modes accepted, S(3) = KEY(15))
// when fewer modes than requested pass the eigensolver's error test: only
// those are written.
// KEY(29) is 99 during the summary and restored afterwards.
void runBuckling(RunContext& run, const BucklingModel& model, bool perNode);

} // namespace solvika

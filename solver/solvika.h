// Solvika: the plate solver (linear algebra, elements, analysis drivers).
// Umbrella header: includes every public header of this library.
#pragma once

#include "solver/analysis/buckling.h"
#include "solver/analysis/check.h"
#include "solver/analysis/eldata.h"
#include "solver/analysis/element_steps.h"
#include "solver/analysis/errmsg.h"
#include "solver/analysis/runcontext.h"
#include "solver/analysis/runprint.h"
#include "solver/analysis/setup.h"
#include "solver/analysis/staticrun.h"
#include "solver/analysis/tables.h"
#include "solver/elements/matprt.h"
#include "solver/elements/membrane.h"
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_geometric.h"
#include "solver/elements/plate_higher.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/cancel.h"
#include "solver/linalg/dense.h"
#include "solver/linalg/eigdense.h"
#include "solver/linalg/eigen.h"
#include "solver/linalg/funit.h"
#include "solver/linalg/fwrite.h"
#include "solver/linalg/renum.h"
#include "solver/linalg/skyline.h"
#include "solver/linalg/sparse.h"

#include <cstdint>

// The entry points. Every argument is a pointer to caller-owned storage:
// 32-bit integers and 64-bit reals, arrays 1-based and column-major. The
// key data (30 integers) comes first, the status block (5 integers) last;
// an array whose count in the key data is 0 may be a null pointer.
//
// Storage and renumbering: KEY(11) = 1 skyline, 2 sparse (any other value
// stops the run with -12). KEY(12) = 0 means no renumbering on both. On
// skyline storage 1, 2 and 3 renumber the nodes by the graph method, the
// profile front method and the element-wise method, and any other value
// keeps the input order. On sparse storage every value other than 0 orders
// the equations by minimum degree before the factorisation.
//
// Each call is one run that writes its log in the current working folder
// ("Brantel.log" for PLANE_STR and PLATE_BENDING, "Brantel_B.log" for
// PLATE_BUCKLING and PLATE_KNEKKING) and returns its outcome in the status
// block: 0 success, negative an error, 1 or 2 a warning, 99 a failure to
// open or close the log (S(2) = errno). Calls must not run concurrently:
// every call of a kind writes the same log file and log unit.
//
// Counts and arrays are checked before any work array is sized from them:
// a negative element, node or row count ends with -25 (S(2) = the count);
// a DOF named by a prescribed or coupling row after a fixed, prescribed or
// coupling row named it ends with -21 at that node and DOF on either
// storage (a DOF fixed twice is simply fixed). A membrane or plate-bending
// model with no equations to solve (no elements and nodes, or every DOF
// specified) succeeds with 0 on either storage.
extern "C" {

// Membrane analysis, plane stress or plane strain.
void PLANE_STR(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
               double* bodyLoad, double* pointLoads, double* edgeLoads, std::int32_t* fixedDofs,
               double* prescribedDofs, double* couplings, double* springs, std::int32_t* printElements,
               std::int32_t* printNodes, std::int32_t* status);

// Plate bending.
void PLATE_BENDING(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                   double* edgeLoads, std::int32_t* fixedDofs, double* prescribedDofs, double* couplings,
                   double* springs, std::int32_t* printElements, std::int32_t* printNodes, std::int32_t* status);

// Linear buckling under in-plane stresses given per element.
void PLATE_BUCKLING(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                    std::int32_t* fixedDofs, double* couplings, double* springs, double* stresses,
                    double* eigenvalues, double* modeShapes, std::int32_t* status);

// Linear buckling under in-plane stresses given per node.
void PLATE_KNEKKING(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                    std::int32_t* fixedDofs, double* couplings, double* springs, double* stresses,
                    double* eigenvalues, double* modeShapes, std::int32_t* status);

} // extern "C"

// Shared segments of the per-element steps (stiffness, loads, recovery): the
// element table by type code, the per-step work buffers, the element gather
// and stiffness call, and the nodal helpers. Internal to the library.
#pragma once

#include "solver/analysis/setup.h"
#include "solver/analysis/tables.h"

#include <cstdint>

namespace solvika::elwork {

using i32 = std::int32_t;

inline constexpr i32 kNodalRows = 4;
inline constexpr double kZeroAngle = 1.0e-8;
inline constexpr i32 kMaxDof = 21;

// What the steps need to know of an element-type code.
struct Kind {
    i32 code;
    i32 nedof;    // element DOF count
    i32 corners;  // nodes whose coordinates and thicknesses are gathered
    i32 ncode;    // 8: the gather adds the four side nodes' coordinates
    i32 gauss;    // quadrilaterals: Gauss points when KEY(27) is 0
    i32 flags[9]; // quadrilaterals: node flags
    bool membrane() const { return code < 60; }
    bool quad() const { return code >= 41 && code <= 46; }
};

// The kind of a code with element routines; null for any other code.
const Kind* kindOf(i32 code) noexcept;

// Buffers of one step, sized once for the largest element.
struct Scratch {
    double EK[kMaxDof * kMaxDof];
    double EV[kMaxDof];
    double D[9];
    double Cp[6];  // D packed: C11, C22, C33, C12, C13, C23
    double X[9], Y[9], T[4];
    double G[36], CKI[4], W1[120], W2[400];  // QST condensation and work
    double CD[36];                           // Q9 condensation data
    double RR[81];                           // TEBA moment recovery
};

// Gathers element e's coordinates, thicknesses and elasticity matrix (plane
// strain by KEY(18) for membrane codes) into s.X, s.Y, s.T, s.D and s.Cp.
// Returns the gather's flag (-9 for an invalid material).
i32 gather(const Kind& kind, i32 e, const i32* key, const i32* topology, const double* elementData,
           const double* material, const double* nodal, const ModelTables& t, Scratch& s, i32 lunit);

// Gauss points of a quadrilateral code.
i32 gaussPoints(const Kind& kind, const i32* key) noexcept;

// Element e's stiffness in s.EK (and the condensation data of QST, Q9 and
// TEBA) with the element routine of the code. ipsw is the print switch of
// the routines that print. Returns the routine's flag (negative: failure).
i32 stiffness(const Kind& kind, i32 e, const i32* key, Scratch& s, i32 lunit, i32 ipsw);

// Writes the corner data of element e (code 75 echo).
void echoCorners(i32 e, const ModelTables& t, const Scratch& s, i32 lunit);

// Adds value to the right-hand side at DOF `dof` (1-based): a free DOF at
// its equation, a slave DOF times each master's coefficient at the masters'
// equations; fixed and prescribed DOFs take nothing.
void addDofLoad(i32 dof, double value, const ModelTables& t, const EquationTables& eq, double* SYSR);

// The angle of node n (1-based), zero when within the tolerance.
double nodeAngle(const double* nodal, i32 n) noexcept;

// Spring forces: row 3 of each of the KEY(7) springs becomes its stiffness
// times the value of its DOF in the node's own axes (U in global axes).
// A spring on a DOF the node does not have gets force 0.
void springForces(const i32* key, const double* U, double* springs, const double* nodal,
                  const ModelTables& t);

// Turns a stress or moment triple (xx, yy, xy) to axes at angle a (nothing
// when |a| <= 1.0e-8).
void turnTriple(double* v, double a) noexcept;

} // namespace solvika::elwork

// Assembly control data and skyline assembly: the pre-assembly that numbers
// the equations and lays out the skyline profile, the addition of element
// matrices, element vectors and nodal values through the constraint
// equations, gather and expansion of solution vectors, and the library's
// error writers.
//
// Control arrays (1-based in meaning, passed as pointers to entry 1):
//   MPAR    parameter block: 1 NANOD, 2 NEL, 3 NDOF, 7 NCEQ set by the caller,
//           4-6, 8-16 set by PRASSX (see PRASSX), 20 largest element DOF count
//   MNDPTR  NANOD+1: DOFs of node n are MNDPTR(n)..MNDPTR(n+1)-1
//   MEXNOD  NANOD: external node numbers (messages only)
//   MPELND  NEL+1 / MELNOD: nodes of element e are
//           MELNOD(MPELND(e))..MELNOD(MPELND(e+1)-1)
//   MSC     NDOF: 1 free (numbered first), 2 free (numbered last), 0 specified
//   MPMCEQ  NCEQ+1 / MCQDOF / CQCOEF: constraint equation i occupies positions
//           MPMCEQ(i)..MPMCEQ(i+1)-1: first the slave DOF with the constant
//           term, then its masters (at most 20) with their coefficients
//   MNNN    NANOD: new node numbers, a permutation of 1..NANOD
//   MDOFEQ  NDOF: k > 0 equation number, 0 fixed, -i slave of equation i
//   MSKY    NEQ: skyline diagonal pointers (see solver/linalg/skyline.h)
//   MELEQ   work of the largest element DOF count
//
// Conventions as in solver/linalg/dense.h.
#pragma once

#include <cstdint>
#include <string_view>

namespace solvika {

// Largest number of masters of one constraint equation.
inline constexpr std::int32_t kMaxMasters = 20;

// Pre-assembly: checks the control arrays, fills MDOFEQ, numbers the
// equations by increasing new node number (status 1 first, then status 2),
// builds the skyline pointers MSKY and sets MPAR(4..6, 8..16). work holds
// NANOD integers. IERR is minus the number of errors reported through ASMERR
// (numbers 21-31). On error 31 (profile longer than 2^31 - 1 entries) MPAR(12)
// is set to -1, which tells a storage failure from faulty control data.
void PRASSX(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, const std::int32_t* MSC, const std::int32_t* MPMCEQ,
            const std::int32_t* MCQDOF, const std::int32_t* MNNN, std::int32_t LUNIT,
            std::int32_t* MPAR, std::int32_t* work, std::int32_t* MDOFEQ, std::int32_t* MSKY,
            std::int32_t& IERR);

// Adds element IEL's matrix EK (NEDOF x NEDOF, symmetric) into the skyline
// array SYSK through the constraints, and/or the loads of the constant terms
// into SYSR: NSV 0 matrix only; 1 matrix and all constant-term loads into one
// right-hand side; -1 those loads only; +-MPAR(9) (2 or more) one right-hand
// side column of NEQ rows per prescribed DOF, with the matrix when positive.
// IERR -1 (errors 11, 17) adds nothing.
void ADDEM(const double* EK, const double* CQCOEF, const std::int32_t* MPAR,
           const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ, const std::int32_t* MPELND,
           const std::int32_t* MELNOD, const std::int32_t* MPMCEQ, const std::int32_t* MCQDOF,
           const std::int32_t* MSKY, std::int32_t IEL, std::int32_t NEDOF, std::int32_t LUNIT,
           std::int32_t NSV, double* SYSK, double* SYSR, std::int32_t* MELEQ, std::int32_t& IERR);

// Adds element IEL's vector EV (NEDOF) into SYSR through the constraints.
// IERR -1 (error 12) adds nothing.
void ADDEV(const double* EV, const double* CQCOEF, const std::int32_t* MPAR,
           const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ, const std::int32_t* MPELND,
           const std::int32_t* MELNOD, const std::int32_t* MPMCEQ, const std::int32_t* MCQDOF,
           std::int32_t IEL, std::int32_t NEDOF, std::int32_t LUNIT, double* SYSR,
           std::int32_t* MELEQ, std::int32_t& IERR);

// Adds VALUE to the diagonal of the equation of local DOF LDOF of NODE; a
// fixed, prescribed or dependent DOF takes nothing.
void ADDNOD(const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ, const std::int32_t* MSKY,
            double VALUE, std::int32_t NODE, std::int32_t LDOF, double* SYSK);

// Gathers element IEL's DOF values from the DOF-ordered SV into EV.
void GETELV(const double* SV, const std::int32_t* MNDPTR, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, std::int32_t IEL, double* EV, std::int32_t& NEDOF);

// Accumulates the equation-ordered SV into the DOF-ordered SVD through the
// constraints: FF times the solution part, CF times the constant terms.
void EXPSOL(const double* SV, const double* CQCOEF, const std::int32_t* MPMCEQ,
            const std::int32_t* MCQDOF, const std::int32_t* MDOFEQ, double FF, double CF,
            std::int32_t NDOF, double* SVD);

// Local DOF number and external node number of DOF IDOF (both 0 when none).
void EQNNOD(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, std::int32_t NANOD,
            std::int32_t IDOF, std::int32_t& LDOF, std::int32_t& NODE);

// Writes assembly error `number` (when LUNIT >= 1) and decrements IERR.
// N3 and N4 are used by error 30 only (the two constraint equations).
void ASMERR(std::int32_t number, std::int64_t N1, std::int64_t N2, std::int32_t LUNIT,
            std::int32_t& IERR, std::int64_t N3 = 0, std::int64_t N4 = 0);

// Writes library error or warning message K of routine NAME (nothing when
// LUNIT < 1 or IERR = 0). Never changes IERR.
void LINERR(std::int32_t K, std::string_view NAME, std::int32_t I1, std::int32_t I2,
            std::int32_t I3, std::int32_t LUNIT, std::int32_t IERR);

} // namespace solvika

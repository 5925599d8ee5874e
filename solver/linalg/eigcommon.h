// Internal: helpers shared by the subspace and Lanczos drivers.
#pragma once

#include "solver/linalg/eigstore.h"

#include <cstdint>

namespace solvika::detail {

// 10^-d, d the decimal digits of the reals (1.0e-15 in double precision).
double machineEpsilon();
// TOL(1..2) <= 0 become 10^-(2d/3).
void defaultTolerances(double* TOL);
// First line of a warning or an error of a driver.
void eigenHeader(std::int32_t lu, bool warning, const char* name);
// "Illegal or inconsistent input parameters".
void inputErrorLine(std::int32_t lu);
// Error lines of a work array shorter than needed.
void workShortage(std::int32_t lu, const char* name, const char* array, std::int64_t needed, std::int64_t given);
// A := A - sigma B over A's stored entries (ksb 1) or its diagonal (ksb 2).
void shiftMatrix(EigenStorage& st, double sigma, std::int32_t ksb);
// Diagonal entry i of B (like A when ksb = 1, diagonal when 2).
double diagonalOfB(const EigenStorage& st, std::int32_t i, std::int32_t ksb);
// Z(:, first..last) := Z Q(:, first..last) in place, Z n x k, Q k x k;
// done in blocks of rows with W (lw reals) holding one block.
void rotateColumns(double* Z, const double* Q, double* W, std::int64_t lw, std::int32_t n, std::int32_t k,
                   std::int32_t first, std::int32_t last);

} // namespace solvika::detail

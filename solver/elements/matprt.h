// Print of a dense matrix to a log unit.
#pragma once

#include <cstdint>

namespace solvika {

// Prints the n x m column-major matrix A to the unit (nothing when the unit
// is not positive) in blocks of 8 columns: a header line with the block's
// column numbers, then one line per row with the row number and its entries.
void MATPRT(const double* A, std::int32_t n, std::int32_t m, std::int32_t lunit);

} // namespace solvika

// Status block of a run and the messages that explain its codes.
#pragma once

#include <cstdint>

namespace solvika {

// S(1..5) is status[0..4]: S(1) the code (0 success, negative an error,
// 1 and 2 warnings, 99 a failure of the log file), S(2..5) its values.
inline constexpr int kStatusSize = 5;

// Writes the status message of the block's code to the unit: the error
// header for a negative code, the warning header for a positive one, then
// the code's lines with its values. Nothing when the unit is below 1 or the
// code is 0. Leaves the block unchanged.
void ERRMSG(const std::int32_t* status, int lunit);

} // namespace solvika

// Internal: run-log lines shared by the triangle element routines.
#pragma once

#include <cstdint>

namespace solvika {

class Layout;

// The input of a triangle after its entry line: the element thickness t
// (H null) or the corner thicknesses H, the corner coordinates, and the
// 3 x 3 elasticity matrix C, one row per line by elastRow.
void printTriangleInput(std::int32_t lunit, const double* C, const double* X, const double* Y, const double* H,
                        double t, const Layout& elastRow);

// The error flag and the element in error, after the error line.
void printErrorFlag(std::int32_t lunit, std::int32_t ierr, std::int32_t iel);

} // namespace solvika

// Shared helpers of the sparse solver's source files (not a public header).
#pragma once

#include <cstdint>
#include <string_view>

namespace solvika::spx {

// Writes the library error message K of routine NAME (through LINERR).
void report(std::int32_t K, std::string_view name, std::int32_t I1, std::int32_t I2,
            std::int32_t I3, std::int32_t LUNIT, std::int32_t IERR);

// Entry test of every sparse routine: after an uncleared error, sets
// MSPAR(1) = -phase, reports error 30 and returns true (IERR = -1).
bool refuse(std::int32_t* MSPAR, std::int32_t phase, std::string_view name, std::int32_t LUNIT,
            std::int32_t& IERR);

// Local DOF number and external node of DOF IDOF (0, 0 when none).
void dofNode(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, std::int32_t NANOD,
             std::int32_t IDOF, std::int32_t& LDOF, std::int32_t& NODE);

} // namespace solvika::spx

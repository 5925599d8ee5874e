// TEMPORARY: stands in for the library error writer until it lands.
#pragma once
#include <cstdint>
#include <string_view>
namespace solvika {
void LINERR(std::int32_t K, std::string_view name, std::int32_t I1, std::int32_t I2,
            std::int32_t I3, std::int32_t LUNIT, std::int32_t IERR);
}

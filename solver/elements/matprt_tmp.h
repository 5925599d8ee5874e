// TEMPORARY: stands in for the matrix printer of the membrane elements
// until it reaches main; delete with matprt_tmp.cpp then.
#pragma once

#include <cstdint>

namespace solvika {

void MATPRT(const double* A, std::int32_t n, std::int32_t m, std::int32_t lunit);

} // namespace solvika

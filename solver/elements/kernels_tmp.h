// TEMPORARY until the dense kernels land.
#pragma once
#include <cstdint>
namespace solvika {
void SYMINV(double* A, double EPS, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR);
void MATPRT(const double* A, std::int32_t N, std::int32_t M, std::int32_t LUNIT);
}

// TEMPORARY stand-in for the dense kernels; removed when they land.
#pragma once
#include <cstdint>
namespace solvika {
void SOLDLT(double* A, double* B, double EPS, std::int32_t NEQ, std::int32_t NRHS,
            std::int32_t LUNIT, std::int32_t KODE, std::int32_t& IERR);
}

// Contiguous dot product shared by the scalar-product routine and the
// skyline kernels, inline so that the inner loops stay call-free.
#pragma once

#include <cstdint>

namespace solvika::detail {

// Sum of x[i] y[i], i = 0..n-1: first n mod 5 terms, then groups of five.
inline double dot(const double* x, const double* y, std::int32_t n)
{
    double s = 0.0;
    const std::int32_t head = n > 0 ? n % 5 : 0;
    std::int32_t i = 0;
    for (; i < head; ++i)
        s += x[i] * y[i];
    for (; i < n; i += 5)
        s += x[i] * y[i] + x[i + 1] * y[i + 1] + x[i + 2] * y[i + 2] + x[i + 3] * y[i + 3] +
             x[i + 4] * y[i + 4];
    return s;
}

} // namespace solvika::detail

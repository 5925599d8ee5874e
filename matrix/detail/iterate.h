// Parts shared by the iterative solvers that keep two iterates in two
// buffers and swap them after every step.
#pragma once

#include <algorithm>
#include <cmath>
#include <utility>

namespace zelkor::detail {

// The largest change |next[i] - previous[i]| over n entries.
inline double MaxChange(const double* next, const double* previous, int n)
{
    double change = 0.0;
    for (int i = 0; i < n; ++i)
        change = std::max(change, std::fabs(next[i] - previous[i]));
    return change;
}

// After the iteration: xs holds the newest iterate when it converged, ts
// when the last step swapped them. Copies the newest one into x.
inline void KeepNewest(double* xs, double* ts, bool converged, double* x, int n)
{
    if (!converged)
        std::swap(xs, ts);
    if (xs != x)
        std::copy(xs, xs + n, x);
}

} // namespace zelkor::detail

// Small helpers on 3-vectors held as double[3], shared by the beam members.
#pragma once

#include <cmath>

namespace beamvec
{

inline double Dot(const double* a, const double* b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline void Cross(const double* a, const double* b, double* out)
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

inline double Norm(const double* v)
{
    return std::sqrt(Dot(v, v));
}

} // namespace beamvec

// Shared geometry of the plate-bending triangles (internal to the library).
#pragma once

#include <cstdint>

namespace solvika::plate {

// Twice the signed area of the triangle (positive for anticlockwise corners).
inline double twiceArea(const double* X, const double* Y)
{
    return X[1] * Y[2] + X[0] * Y[1] + X[2] * Y[0] - X[0] * Y[2] - X[1] * Y[0] - X[2] * Y[1];
}

// Square of the longest edge.
inline double maxEdgeSquared(const double* X, const double* Y)
{
    double lmax2 = 0.0;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const double dx = X[j] - X[i];
        const double dy = Y[j] - Y[i];
        const double l2 = dx * dx + dy * dy;
        if (l2 > lmax2)
            lmax2 = l2;
    }
    return lmax2;
}

// Area-coordinate derivatives L1,x L2,x L1,y L2,y for the signed doubled
// area a2 (L3 = 1 - L1 - L2).
struct AreaDerivs {
    double l1x, l2x, l1y, l2y;
};

inline AreaDerivs areaDerivs(const double* X, const double* Y, double a2)
{
    return {(Y[1] - Y[2]) / a2, (Y[2] - Y[0]) / a2, (X[2] - X[1]) / a2, (X[0] - X[2]) / a2};
}

// The refusal message of a stiffness routine for a degenerated element.
void writeDegenerated(std::int32_t lunit, const char* routine, std::int32_t nel);

} // namespace solvika::plate

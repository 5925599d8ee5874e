// The node grid the plate benchmarks draw on: n triangles over nx x ny
// cells, two per cell, nx the smallest divisor of the cell count not below
// its square root (the views', the bare list's and VTK's scene alike).
#pragma once

#include <algorithm>
#include <cmath>

namespace bench
{

inline void PlateGrid(int n, int& nx, int& ny)
{
    const int cells = n / 2;
    nx = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(cells)))));
    while (nx < cells && cells % nx != 0)
        ++nx;
    ny = std::max(1, cells / nx);
}

} // namespace bench

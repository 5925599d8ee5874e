#include "app/analysis/stressreturn.h"

#include <cmath>
#include <cstring>

bool GetResultLayout(int code, ResultLayout& layout)
{
    switch (code) {
    case 31: case 32: case 33: layout = {3, 3, 7, true}; return true;
    case 41: case 42: case 44: case 46: layout = {3, 5, 7, true}; return true;
    case 61: case 65: case 66: layout = {3, 3, 7, false}; return true;
    case 75: case 81: case 85: layout = {5, 3, 9, false}; return true;
    default: return false;
    }
}

void RepackTriangleRows(CMatrix& results, int elements)
{
    const int cols = results.GetColumns();
    if (elements <= 0 || cols <= 0 || results.GetRows() != 4 * elements)
        return;
    double* packed = new double[static_cast<std::size_t>(3) * elements * cols];
    const double* src = results.GetVector();
    const std::size_t block = static_cast<std::size_t>(3) * cols;
    for (int e = 0; e < elements; ++e)
        std::memcpy(packed + e * block, src + static_cast<std::size_t>(e) * 4 * cols, block * sizeof(double));
    results.SetVector(packed, 3 * elements, cols);
}

namespace {

double Principal1(double* v)
{
    return (v[0] + v[1]) / 2 + std::sqrt(0.25 * (v[0] - v[1]) * (v[0] - v[1]) + v[2] * v[2]);
}
double Principal2(double* v)
{
    return (v[0] + v[1]) / 2 - std::sqrt(0.25 * (v[0] - v[1]) * (v[0] - v[1]) + v[2] * v[2]);
}

} // namespace

void PrincipalExtremes(const CMatrix& results, double& max1, double& min1, double& max2, double& min2)
{
    results.GetMaxMin3(&Principal1, max1, min1, 0, 1, 2, true);
    results.GetMaxMin3(&Principal2, max2, min2, 0, 1, 2, true);
}

// TEMPORARY stand-ins for the dense kernels ; removed when they land.
#include <cmath>
#include "solver/elements/tmp_kernels.h"
namespace solvika {
void SOLDLT(double* A, double* B, double EPS, std::int32_t n, std::int32_t nrhs, std::int32_t,
            std::int32_t, std::int32_t& ierr) {
    ierr = 0;
    for (int j = 0; j < n; ++j) {
        double d = A[j + n * j];
        const double a0 = d;
        for (int k = 0; k < j; ++k) d -= A[j + n * k] * A[j + n * k] * A[k + n * k];
        if (d == 0.0) { ierr = -2; return; }
        if (std::fabs(d) < EPS * std::fabs(a0)) { ierr = -3; return; }
        A[j + n * j] = d;
        for (int i = j + 1; i < n; ++i) {
            double s = A[i + n * j];
            for (int k = 0; k < j; ++k) s -= A[i + n * k] * A[j + n * k] * A[k + n * k];
            A[i + n * j] = s / d;
        }
    }
    for (int r = 0; r < nrhs; ++r) {
        double* b = B + n * r;
        for (int i = 0; i < n; ++i) for (int k = 0; k < i; ++k) b[i] -= A[i + n * k] * b[k];
        for (int i = 0; i < n; ++i) b[i] /= A[i + n * i];
        for (int i = n - 1; i >= 0; --i) for (int k = i + 1; k < n; ++k) b[i] -= A[k + n * i] * b[k];
    }
}
}

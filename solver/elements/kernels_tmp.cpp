// TEMPORARY until the dense kernels and the writer land.
#include "solver/elements/kernels_tmp.h"
#include "solver/linalg/fwrite.h"
#include <cmath>
namespace solvika {
void SYMINV(double* A, double EPS, std::int32_t N, std::int32_t, std::int32_t& IERR)
{
    // Gauss-Jordan without pivoting (test stub).
    IERR = 0;
    double M[81 * 2];
    int n = N;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            M[i + n * j] = A[i + n * j];
            M[i + n * (n + j)] = i == j ? 1.0 : 0.0;
        }
    for (int k = 0; k < n; ++k) {
        double p = M[k + n * k];
        if (p == 0.0 || std::fabs(p) < EPS * std::fabs(A[k + n * k])) { IERR = -2; return; }
        for (int j = 0; j < 2 * n; ++j) M[k + n * j] /= p;
        for (int i = 0; i < n; ++i) if (i != k) {
            double f = M[i + n * k];
            for (int j = 0; j < 2 * n; ++j) M[i + n * j] -= f * M[k + n * j];
        }
    }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) A[i + n * j] = M[i + n * (n + j)];
}
void MATPRT(const double*, std::int32_t, std::int32_t, std::int32_t) {}
struct Layout::Impl {};
Layout::Layout(std::string_view) {}
Layout::~Layout() = default;
void fwrite(int, const Layout&, std::initializer_list<FArg>) {}
void fwrite(int, const Layout&, std::span<const FArg>) {}
std::string fformat(const Layout&, std::initializer_list<FArg>) { return {}; }
void attachSink(int, std::string*) {}
void detachSink(int) {}
}

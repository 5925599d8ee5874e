#include "solver/elements/matprt.h"

#include "solver/linalg/fwrite.h"

namespace solvika {

void MATPRT(const double* A, std::int32_t n, std::int32_t m, std::int32_t lunit) {
    if (lunit <= 0) return;
    static const Layout kHeader("/ 8I15");
    static const Layout kRow("I5 1P 8E15.7");
    for (std::int32_t j1 = 1; j1 <= m; j1 += 8) {
        const std::int32_t j2 = j1 + 7 < m ? j1 + 7 : m;
        const int k = j2 - j1 + 1;
        std::int32_t cols[8];
        for (int c = 0; c < k; ++c) cols[c] = j1 + c;
        fwrite(lunit, kHeader, {FArg(std::span<const std::int32_t>(cols, k))});
        double row[8];
        for (std::int32_t i = 1; i <= n; ++i) {
            for (int c = 0; c < k; ++c)
                row[c] = A[(i - 1) + static_cast<std::int64_t>(n) * (j1 - 1 + c)];
            fwrite(lunit, kRow, {FArg(i), FArg(std::span<const double>(row, k))});
        }
    }
}

} // namespace solvika

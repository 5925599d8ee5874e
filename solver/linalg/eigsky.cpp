// The eigensolvers on skyline storage: MSSIT and LANCZ2.
#include "solver/linalg/eigen.h"

#include "solver/linalg/eigstore.h"
#include "solver/linalg/fwrite.h"
#include "solver/linalg/skyline.h"

#include <algorithm>
#include <optional>

namespace solvika {

void SKYDNS(const double* A, const std::int32_t* MSKY, double* D, std::int32_t N, std::int32_t KSB)
{
    std::fill(D, D + std::size_t(N) * N, 0.0);
    if (KSB == 2) {
        for (std::int32_t i = 0; i < N; ++i)
            D[i + std::size_t(i) * N] = A[i];
        return;
    }
    for (std::int32_t j = 1; j <= N; ++j) {
        const std::int32_t h = j == 1 ? 1 : MSKY[j - 1] - MSKY[j - 2];
        const std::int32_t first = MSKY[j - 1] - h; // 0-based position of row j - h + 1
        for (std::int32_t r = 0; r < h; ++r) {
            const std::int32_t i = j - h + 1 + r;
            const double v = A[first + r];
            D[(i - 1) + std::size_t(j - 1) * N] = v;
            D[(j - 1) + std::size_t(i - 1) * N] = v;
        }
    }
}

namespace {

class SkylineStorage final : public detail::EigenStorage {
public:
    SkylineStorage(const char* name, double* a, double* b, const std::int32_t* msky, std::int32_t n)
        : EigenStorage(a, b, n, 0), m_name(name), m_msky(msky)
    {
    }

    const char* name() const override { return m_name; }

    void printDimension(std::int32_t lu, std::int32_t ksb) const override
    {
        static const Layout dims("5X 'Matrix dimension  :' I5 / 5X 'Average bandwidth :' I5");
        static const Layout skyline("5X 'Form of B-matrix  :  skyline'");
        static const Layout diagonal("5X 'Form of B-matrix  :  diagonal'");
        fwrite(lu, dims, {N, N >= 1 ? m_msky[N - 1] / N : 0});
        if (ksb == 1 || ksb == -1)
            fwrite(lu, skyline);
        else if (ksb == 2 || ksb == -2)
            fwrite(lu, diagonal);
    }

    bool findDiagonal() override { return true; }
    std::int64_t diagonal(std::int32_t i) const override { return m_msky[i - 1]; }
    std::int64_t storedEntries() const override { return m_msky[N - 1]; }

    std::int32_t factorLdl(double tol, std::int32_t& neg) override
    {
        m_tol = tol;
        std::int32_t ierr = 0;
        double dummy = 0.0;
        SKYSOL(A, &dummy, m_msky, tol, N, N, 1, lunit, 1, neg, ierr);
        return ierr;
    }

    std::int32_t factorCholesky(int which, double tol) override
    {
        std::int32_t ieq = 0;
        std::int32_t ierr = 0;
        FACSKY(which == 0 ? A : B, m_msky, tol, N, lunit, ieq, ierr);
        return ierr;
    }

    std::int32_t solve(double* X, std::int32_t ncol) override
    {
        std::int32_t neg = 0;
        std::int32_t ierr = 0;
        SKYSOL(A, X, m_msky, m_tol, N, N, ncol, lunit, 4, neg, ierr);
        return ierr;
    }

    std::int32_t multiplyB(const double* X, double* Y, std::int32_t ncol, std::int32_t ksb, double* W) override
    {
        std::int32_t ierr = 0;
        PRESKY(B, X, Y, W, m_msky, N, ncol, ksb == 2 ? 0 : 1, 1, lunit, ierr);
        return ierr;
    }

    std::int32_t toDense(double* Ad, double* Bd, std::int32_t ksb) override
    {
        SKYDNS(A, m_msky, Ad, N, 1);
        SKYDNS(B, m_msky, Bd, N, ksb);
        return 0;
    }

    std::int32_t apply(std::int32_t code, double* X, double* Y, double* W, std::int32_t ksa,
                       std::int32_t ksb) override
    {
        // As the sparse storage: the operators L^-1 B L^-T multiply by B
        // over its own nonzeros, gathered once from the shared profile.
        const bool overNonzeros = (code == 5 || code == 6) && ksa == 3 && ksb == 1;
        if (overNonzeros && !m_bNonzeros)
            m_bNonzeros = detail::skylineNonzeros(B, m_msky, N);
        std::int32_t ierr = 0;
        detail::skylineOperator(A, B, X, Y, W, m_msky, N, ksa, ksb, code, lunit, ierr,
                                overNonzeros ? &*m_bNonzeros : nullptr);
        return ierr;
    }

    std::int32_t backCholesky(int which, double* Y, std::int32_t ncol) override
    {
        SKYBSU(which == 0 ? A : B, Y, m_msky, N, ncol);
        return 0;
    }

private:
    const char* m_name;
    const std::int32_t* m_msky;
    double m_tol = 0.0;
    std::optional<detail::SkylineNonzeros> m_bNonzeros;
};

} // namespace

void MSSIT(double* A, double* B, double* TOL, const std::int32_t* MSKY, const std::int32_t* MOP,
           std::int32_t* MINF, double* EVL, double* RERR, double* EVEC, double* RWA,
           std::int64_t LRWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL, std::int32_t& NIV,
           std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR)
{
    SkylineStorage st("MSSIT", A, B, MSKY, N);
    detail::subspaceIteration(st, TOL, MOP, MINF, EVL, RERR, EVEC, RWA, LRWA, 0, SHIFT, NEVAL, NIV, LUNIT,
                              IPRINT, IERR);
}

void LANCZ2(double* A, double* B, double* TOL, const std::int32_t* MSKY, const std::int32_t* MOP,
            std::int32_t* MINF, double* EVL, double* RERR, double* EVEC, double* V, double* RWA,
            std::int64_t LRWA, std::int32_t* IWA, std::int64_t LIWA, double& SHIFT, std::int32_t N,
            std::int32_t NEVAL, std::int32_t NEVEC, std::int32_t MAXLAN, std::int32_t LUNIT,
            std::int32_t IPRINT, std::int32_t& IERR)
{
    SkylineStorage st("LANCZ2", A, B, MSKY, N);
    const std::int64_t m = std::max(MAXLAN, 0);
    detail::lanczos(st, TOL, MOP, MINF, EVL, RERR, EVEC, V, RWA, LRWA, m * (m + 7), IWA, LIWA, 2 * m, SHIFT,
                    NEVAL, NEVEC, MAXLAN, LUNIT, IPRINT, IERR);
}

void lanczosRun(double* A, double* B, double* TOL, const std::int32_t* MSKY, const std::int32_t* MOP,
                std::int32_t* MINF, LanczosPairs& pairs, double* V, double* RWA, std::int64_t LRWA,
                std::int32_t* IWA, std::int64_t LIWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL,
                std::int32_t NEVEC, std::int32_t& MAXLAN, std::int32_t LUNIT, std::int32_t IPRINT,
                std::int32_t& IERR)
{
    SkylineStorage st("LANCZ2", A, B, MSKY, N);
    const std::int64_t m = std::max(MAXLAN, 0);
    detail::PairsGrowth grow(pairs, N, MAXLAN);
    detail::lanczos(st, TOL, MOP, MINF, pairs.EVL.data(), pairs.RERR.data(), pairs.EVEC.data(), V, RWA, LRWA,
                    m * (m + 7), IWA, LIWA, 2 * m, SHIFT, NEVAL, NEVEC, MAXLAN, LUNIT, IPRINT, IERR, &grow);
}

} // namespace solvika

// The eigensolvers on sparse supernodal storage: SPRSIT and SPRLAN.
#include "solver/linalg/eigen.h"

#include "solver/linalg/eigcommon.h"
#include "solver/linalg/fwrite.h"
#include "solver/linalg/sparse.h"
#include "solver/linalg/sparse_common.h"

#include <algorithm>
#include <optional>

namespace solvika {

namespace {

// A and B hold NEQ leading reals (diagonal copies and pivots of the
// factorisation) followed by the packed supernodal values; a diagonal B is
// its NEQ entries. IWA(1..N) holds the diagonal positions from SPRDG1 until
// the factorisation, which then takes all of IWA as its integer work; the
// substitutions take the integer work behind the driver's own part of IWA.
class SparseStorage final : public detail::EigenStorage {
public:
    SparseStorage(const char* name, double* a, double* b, std::int32_t* mspar, const std::int32_t* mtrees,
                  const std::int32_t* msifa, std::int32_t* iwa, std::int32_t* iworkSteps, double* rwork,
                  std::int32_t n)
        : EigenStorage(a, b, n, 0), m_name(name), m_mspar(mspar), m_mtrees(mtrees), m_msifa(msifa), m_iwa(iwa),
          m_iworkSteps(iworkSteps), m_rwork(rwork)
    {
    }

    void setRealWork(double* rwork) { m_rwork = rwork; }

    const char* name() const override { return m_name; }

    void printDimension(std::int32_t lu, std::int32_t ksb) const override
    {
        static const Layout dims("5X 'Matrix dimension     :' I9 / 5X 'Stored elements in A :' I9");
        static const Layout sparse("5X 'Form of B-matrix     :  sparse'");
        static const Layout diagonal("5X 'Form of B-matrix     :  diagonal'");
        fwrite(lu, dims, {N, static_cast<long long>(storedEntries())});
        if (ksb == 1 || ksb == -1)
            fwrite(lu, sparse);
        else if (ksb == 2 || ksb == -2)
            fwrite(lu, diagonal);
    }

    bool findDiagonal() override
    {
        std::int32_t ierr = 0;
        SPRDG1(m_mspar, m_mtrees, m_msifa, m_iwa, lunit, ierr);
        return ierr == 0;
    }
    std::int64_t diagonal(std::int32_t i) const override { return m_iwa[i - 1]; }
    std::int64_t storedEntries() const override { return std::int64_t(m_mspar[15]) + m_mspar[7]; }

    std::int32_t factorLdl(double tol, std::int32_t& neg) override
    {
        double t[3] = {tol, 0.0, 0.0};
        std::int32_t ierr = 0;
        SPRFC1(m_mspar, m_mtrees, m_msifa, A, t, m_iwa, m_rwork, lunit, ierr);
        neg = m_mspar[25];
        return ierr;
    }

    std::int32_t factorCholesky(int which, double tol) override
    {
        double t[3] = {tol, 0.0, 0.0};
        std::int32_t ierr = 0;
        SPRFC2(m_mspar, m_mtrees, m_msifa, which == 0 ? A : B, t, m_iwa, m_rwork, lunit, ierr);
        return ierr;
    }

    std::int32_t solve(double* X, std::int32_t ncol) override
    {
        std::int32_t ierr = 0;
        SPRFS1(m_mspar, m_mtrees, m_msifa, A, X, N, ncol, m_iworkSteps, m_rwork, lunit, ierr);
        if (ierr == 0)
            SPRBS1(m_mspar, m_mtrees, m_msifa, A, X, N, ncol, m_iworkSteps, m_rwork, lunit, ierr);
        return ierr;
    }

    std::int32_t multiplyB(const double* X, double* Y, std::int32_t ncol, std::int32_t ksb, double* W) override
    {
        std::int32_t ierr = 0;
        const bool sparse = ksb == 1;
        SPRPRM(sparse ? B + N : B, X, Y, W, m_mspar, m_mtrees, m_msifa, N, ncol, sparse ? 1 : 0, 1, lunit, ierr);
        return ierr;
    }

    std::int32_t toDense(double* Ad, double* Bd, std::int32_t ksb) override
    {
        std::int32_t ierr = 0;
        SPRCNV(A + N, Ad, m_mspar, m_mtrees, m_msifa, N, 1, lunit, ierr);
        if (ierr == 0)
            SPRCNV(ksb == 2 ? B : B + N, Bd, m_mspar, m_mtrees, m_msifa, N, ksb == 2 ? 2 : 1, lunit, ierr);
        return ierr;
    }

    std::int32_t apply(std::int32_t code, double* X, double* Y, double* W, std::int32_t ksa,
                       std::int32_t ksb) override
    {
        // The operators L^-1 B L^-T multiply by B over its own nonzeros,
        // gathered once: B keeps the sparsity of the assembled matrix, a
        // small part of the factor's storage that it shares. B stays as it
        // is while the operators are applied.
        const bool overNonzeros = (code == 5 || code == 6) && ksa == 3 && ksb == 1;
        if (overNonzeros && !m_bNonzeros)
            m_bNonzeros = spx::packNonzeros(m_mspar, m_mtrees, m_msifa, B + N);
        std::int32_t ierr = 0;
        spx::operatorProduct(A, B, X, Y, W, m_mspar, m_mtrees, m_msifa, m_iworkSteps, N, ksa, ksb, code, lunit, ierr,
                             overNonzeros ? &*m_bNonzeros : nullptr);
        return ierr;
    }

    std::int32_t backCholesky(int which, double* Y, std::int32_t ncol) override
    {
        std::int32_t ierr = 0;
        SPRBS2(m_mspar, m_mtrees, m_msifa, which == 0 ? A : B, Y, N, ncol, m_iworkSteps, m_rwork, lunit, ierr);
        return ierr;
    }

private:
    const char* m_name;
    std::int32_t* m_mspar;
    const std::int32_t* m_mtrees;
    const std::int32_t* m_msifa;
    std::int32_t* m_iwa;
    std::int32_t* m_iworkSteps;
    double* m_rwork;
    std::optional<spx::PackedNonzeros> m_bNonzeros;
};

} // namespace

void SPRSIT(double* A, double* B, double* TOL, std::int32_t* MSPAR, const std::int32_t* MTREES,
            const std::int32_t* MSIFA, const std::int32_t* MOP, std::int32_t* MINF, double* EVL,
            double* RERR, double* EVEC, double* RWA, std::int64_t LRWA, std::int32_t* IWA,
            std::int64_t LIWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL, std::int32_t& NIV,
            std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR)
{
    // Factorisation and substitution scratch behind the driver's partitions.
    const std::int64_t extra = std::int64_t(MSPAR[12]) + MSPAR[13] + MSPAR[16];
    const std::int64_t needIwa = std::int64_t(std::max(N, 0)) + std::max(MSPAR[13], MSPAR[12]);
    SparseStorage st("SPRSIT", A, B, MSPAR, MTREES, MSIFA, IWA, IWA, nullptr, N);
    if (LIWA < needIwa || LRWA < extra) {
        IERR = -1;
        std::fill(MINF, MINF + 4, 0);
        const std::int32_t lu = IPRINT < 0 ? 0 : LUNIT;
        if (LIWA < needIwa)
            detail::workShortage(lu, "SPRSIT", "IWA", needIwa, LIWA);
        else
            detail::workShortage(lu, "SPRSIT", "RWA", extra, LRWA);
        return;
    }
    const std::int64_t own = LRWA - extra;
    st.setRealWork(RWA + own);
    detail::subspaceIteration(st, TOL, MOP, MINF, EVL, RERR, EVEC, RWA, own, extra, SHIFT, NEVAL, NIV, LUNIT,
                              IPRINT, IERR);
}

namespace {

// SPRLAN, or the growing run when `grow` is given.
void sparseLanczos(double* A, double* B, double* TOL, std::int32_t* MSPAR, const std::int32_t* MTREES,
                   const std::int32_t* MSIFA, const std::int32_t* MOP, std::int32_t* MINF, double* EVL,
                   double* RERR, double* EVEC, double* V, double* RWA, std::int64_t LRWA, std::int32_t* IWA,
                   std::int64_t LIWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL, std::int32_t NEVEC,
                   std::int32_t MAXLAN, std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR,
                   detail::LanczosGrowth* grow)
{
    // The factorisations run before the Lanczos partitions of RWA and
    // IWA(1..2 MAXLAN) are set up, and the final back substitution after
    // they are used; the steps substitute with V's second half as work.
    const std::int64_t m = std::max(MAXLAN, 0);
    const std::int64_t needRwa = std::max<std::int64_t>(m * (m + 7), std::int64_t(MSPAR[13]) + MSPAR[16]);
    const std::int64_t needIwa =
        std::max<std::int64_t>({std::int64_t(std::max(N, 0)), MSPAR[12] + 2 * m, std::int64_t(MSPAR[13]) + 1});
    SparseStorage st("SPRLAN", A, B, MSPAR, MTREES, MSIFA, IWA, LIWA > 2 * m ? IWA + 2 * m : IWA, RWA, N);
    detail::lanczos(st, TOL, MOP, MINF, EVL, RERR, EVEC, V, RWA, LRWA, needRwa, IWA, LIWA, needIwa, SHIFT, NEVAL,
                    NEVEC, MAXLAN, LUNIT, IPRINT, IERR, grow);
}

} // namespace

void SPRLAN(double* A, double* B, double* TOL, std::int32_t* MSPAR, const std::int32_t* MTREES,
            const std::int32_t* MSIFA, const std::int32_t* MOP, std::int32_t* MINF, double* EVL,
            double* RERR, double* EVEC, double* V, double* RWA, std::int64_t LRWA, std::int32_t* IWA,
            std::int64_t LIWA, double& SHIFT, std::int32_t N, std::int32_t NEVAL, std::int32_t NEVEC,
            std::int32_t MAXLAN, std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR)
{
    sparseLanczos(A, B, TOL, MSPAR, MTREES, MSIFA, MOP, MINF, EVL, RERR, EVEC, V, RWA, LRWA, IWA, LIWA, SHIFT, N,
                  NEVAL, NEVEC, MAXLAN, LUNIT, IPRINT, IERR, nullptr);
}

void lanczosRun(double* A, double* B, double* TOL, std::int32_t* MSPAR, const std::int32_t* MTREES,
                const std::int32_t* MSIFA, const std::int32_t* MOP, std::int32_t* MINF, LanczosPairs& pairs,
                double* V, double* RWA, std::int64_t LRWA, std::int32_t* IWA, std::int64_t LIWA, double& SHIFT,
                std::int32_t N, std::int32_t NEVAL, std::int32_t NEVEC, std::int32_t& MAXLAN, std::int32_t LUNIT,
                std::int32_t IPRINT, std::int32_t& IERR)
{
    detail::PairsGrowth grow(pairs, N, MAXLAN);
    sparseLanczos(A, B, TOL, MSPAR, MTREES, MSIFA, MOP, MINF, pairs.EVL.data(), pairs.RERR.data(),
                  pairs.EVEC.data(), V, RWA, LRWA, IWA, LIWA, SHIFT, N, NEVAL, NEVEC, MAXLAN, LUNIT, IPRINT, IERR,
                  &grow);
}

} // namespace solvika

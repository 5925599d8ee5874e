// Internal: the storage side of the eigensolvers. The subspace and Lanczos
// drivers are written once against this interface; the skyline and the
// sparse supernodal storage each implement it.
#pragma once

#include "solver/linalg/eigen.h"

#include <cstdint>

namespace solvika::detail {

class EigenStorage {
public:
    EigenStorage(double* a, double* b, std::int32_t n, std::int32_t lunit) : A(a), B(b), N(n), lunit(lunit) {}
    virtual ~EigenStorage() = default;

    // Routine name in the log lines ("MSSIT", "SPRLAN", ...).
    virtual const char* name() const = 0;
    // Dimension lines of the parameter print.
    virtual void printDimension(std::int32_t lu, std::int32_t ksb) const = 0;
    // Finds the positions of the diagonal entries within A; false on
    // failure of the storage's control data.
    virtual bool findDiagonal() = 0;
    // 1-based position of the diagonal entry of equation i (1-based).
    virtual std::int64_t diagonal(std::int32_t i) const = 0;
    // Number of stored entries of A (and of B when B shares its storage).
    virtual std::int64_t storedEntries() const = 0;

    // LDL^T factorisation of A in place; neg = number of negative pivots.
    // Returns the routine's error flag.
    virtual std::int32_t factorLdl(double tol, std::int32_t& neg) = 0;
    // Cholesky factorisation of A (which = 0) or of B sharing A's storage
    // (which = 1) in place.
    virtual std::int32_t factorCholesky(int which, double tol) = 0;
    // X := A^-1 X with the LDL^T factor, NCOL columns of N rows.
    virtual std::int32_t solve(double* X, std::int32_t ncol) = 0;
    // Y := B X for NCOL columns (B like A when ksb = 1, diagonal when 2);
    // W: work of N reals.
    virtual std::int32_t multiplyB(const double* X, double* Y, std::int32_t ncol, std::int32_t ksb,
                                   double* W) = 0;
    // Dense N x N copies of A and B (B diagonal when ksb = 2).
    virtual std::int32_t toDense(double* Ad, double* Bd, std::int32_t ksb) = 0;
    // Lanczos operator by code (see SPSMM / SPRSMM); W: work of N reals.
    virtual std::int32_t apply(std::int32_t code, double* X, double* Y, double* W, std::int32_t ksa,
                               std::int32_t ksb) = 0;
    // Y := U^-1 Y with the Cholesky factor of A (which = 0) or of B (1).
    virtual std::int32_t backCholesky(int which, double* Y, std::int32_t ncol) = 0;

    double* A;
    double* B;
    std::int32_t N;
    std::int32_t lunit; // log unit for the storage routines' own lines
};

// Subspace iteration and Lanczos on any storage. lrwa: reals available in
// RWA for the driver (storage scratch excluded). extraRwa: the scratch the
// storage needs on top (checked only).
void subspaceIteration(EigenStorage& st, double* TOL, const std::int32_t* MOP, std::int32_t* MINF,
                       double* EVL, double* RERR, double* EVEC, double* RWA, std::int64_t LRWA,
                       std::int64_t extraRwa, double& SHIFT, std::int32_t NEVAL, std::int32_t& NIV,
                       std::int32_t LUNIT, std::int32_t IPRINT, std::int32_t& IERR);

// The arrays of a Lanczos run that may go on past its MAXLAN: resize
// makes EVL and RERR m entries and EVEC N x m columns long, keeping what
// they hold, and returns their (possibly new) addresses.
class LanczosGrowth {
public:
    virtual ~LanczosGrowth() = default;
    virtual void resize(std::int32_t m, double*& EVL, double*& RERR, double*& EVEC) = 0;
};

// Growth into the vectors of a LanczosPairs; `maxlan` follows the length.
class PairsGrowth final : public LanczosGrowth {
public:
    PairsGrowth(LanczosPairs& pairs, std::int32_t n, std::int32_t& maxlan) : m_pairs(pairs), m_n(n), m_maxlan(maxlan)
    {
        resize(maxlan);
    }
    void resize(std::int32_t m, double*& EVL, double*& RERR, double*& EVEC) override
    {
        resize(m);
        EVL = m_pairs.EVL.data();
        RERR = m_pairs.RERR.data();
        EVEC = m_pairs.EVEC.data();
    }

private:
    void resize(std::int32_t m)
    {
        const std::size_t len = std::size_t(m > 0 ? m : 1);
        m_pairs.EVL.resize(len, 0.0);
        m_pairs.RERR.resize(len, 0.0);
        m_pairs.EVEC.resize(std::size_t(m_n > 0 ? m_n : 0) * len, 0.0);
        m_maxlan = m;
    }
    LanczosPairs& m_pairs;
    std::int32_t m_n;
    std::int32_t& m_maxlan;
};

// Without `grow` the run stops at MAXLAN as SPRLAN and LANCZ2 do. With it,
// the run goes on as lanczosRun (eigen.h) describes; grow's arrays follow
// MAXLAN.
void lanczos(EigenStorage& st, double* TOL, const std::int32_t* MOP, std::int32_t* MINF, double* EVL,
             double* RERR, double* EVEC, double* V, double* RWA, std::int64_t LRWA, std::int64_t needRwa,
             std::int32_t* IWA, std::int64_t LIWA, std::int64_t needIwa, double& SHIFT, std::int32_t NEVAL,
             std::int32_t NEVEC, std::int32_t MAXLAN, std::int32_t LUNIT, std::int32_t IPRINT,
             std::int32_t& IERR, LanczosGrowth* grow = nullptr);

} // namespace solvika::detail

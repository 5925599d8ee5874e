// Subspace iteration and Lanczos on sparse supernodal storage: a small
// plate-buckling model solved on both storages and by the dense oracle.
#include "tests/solvika/dkt_grid.h"
#include "tests/solvika/eigen_problem.h"

#include "solver/linalg/sparse.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <numeric>

using namespace solvika;
using namespace solvika::test;

namespace {

using I32 = std::int32_t;

// The DKT grid with its symbolic phase done; `status(node, dof)` gives 1
// (free) or 0 (fixed).
struct SparseModel : DktGrid {
    SparseModel(int nodes, const std::function<int(int, int)>& status) : DktGrid(nodes, status)
    {
        EXPECT_EQ(symbolic(), 0);
    }

    std::vector<double> assemble(bool geometric)
    {
        std::vector<double> sm(std::size_t(neq()) + MSPAR[15], 0.0);
        EXPECT_EQ(DktGrid::assemble(sm.data(), geometric), 0);
        return sm;
    }

    Dense dense(const std::vector<double>& sm)
    {
        Dense d(neq(), neq());
        I32 ierr = 0;
        SPRCNV(sm.data() + neq(), d.data(), MSPAR.data(), MTREES.data(), MSIFA.data(), neq(), 1, 0, ierr);
        EXPECT_EQ(ierr, 0);
        return d;
    }

    // B + c I on the sparse storage (diagonal positions by SPRDG1).
    std::vector<double> withDiagonal(std::vector<double> sm, double c)
    {
        std::vector<I32> diag(neq());
        I32 ierr = 0;
        SPRDG1(MSPAR.data(), MTREES.data(), MSIFA.data(), diag.data(), 0, ierr);
        for (I32 p : diag)
            sm[p - 1] += c;
        return sm;
    }
};

// Simply supported: w fixed along the four edges.
SparseModel simplySupported(int n)
{
    return SparseModel(n, [n](int node, int dof) {
        const int i = (node - 1) % n, j = (node - 1) / n;
        return dof == 0 && (i == 0 || j == 0 || i == n - 1 || j == n - 1) ? 0 : 1;
    });
}

// The same matrix on a full skyline profile.
Skyline fullSkyline(const Dense& d)
{
    std::vector<int> top(d.rows, 1);
    return toSkyline(d, top);
}

struct SitOut {
    std::vector<double> evl, rerr, evec;
    std::array<I32, 4> minf{};
    I32 ierr = 0, niv = 0;
};

SitOut sprsit(SparseModel& m, std::vector<double> a, std::vector<double> b, std::array<I32, 6> mop, int neval,
              int niv, double shift = 0.0)
{
    const I32 n = m.neq();
    SitOut o;
    o.niv = niv;
    o.evl.assign(niv, 0.0);
    o.rerr.assign(niv, 0.0);
    o.evec.assign(std::size_t(n) * niv, 0.0);
    const std::int64_t lrwa =
        std::max<std::int64_t>((3 * niv + n) * std::int64_t(niv + 1), 150) + m.MSPAR[12] + m.MSPAR[13] + m.MSPAR[16];
    const std::int64_t liwa = std::int64_t(n) + m.MSPAR[13];
    std::vector<double> rwa(lrwa);
    std::vector<I32> iwa(liwa);
    std::array<double, 2> tol{1e-8, 1e-8};
    SPRSIT(a.data(), b.data(), tol.data(), m.MSPAR.data(), m.MTREES.data(), m.MSIFA.data(), mop.data(),
           o.minf.data(), o.evl.data(), o.rerr.data(), o.evec.data(), rwa.data(), lrwa, iwa.data(), liwa, shift, n,
           neval, o.niv, kEigenUnit, 0, o.ierr);
    return o;
}

struct LanOut {
    std::vector<double> evl, rerr, evec;
    std::array<I32, 10> minf{};
    I32 ierr = 0;
};

LanOut sprlan(SparseModel& m, std::vector<double> a, std::vector<double> b, std::array<I32, 6> mop, int neval,
              int maxlan, double shift = 0.0)
{
    const I32 n = m.neq();
    LanOut o;
    o.evl.assign(maxlan, 0.0);
    o.rerr.assign(maxlan, 0.0);
    o.evec.assign(std::size_t(n) * maxlan, 0.0);
    std::vector<double> v(2 * std::size_t(n));
    const std::int64_t lrwa =
        std::max<std::int64_t>(std::int64_t(maxlan + 7) * maxlan, std::int64_t(m.MSPAR[13]) + m.MSPAR[16]);
    const std::int64_t liwa = std::max<std::int64_t>(n, std::int64_t(m.MSPAR[12]) + 2 * maxlan);
    std::vector<double> rwa(lrwa);
    std::vector<I32> iwa(liwa);
    std::array<double, 2> tol{1e-8, 1e-8};
    SPRLAN(a.data(), b.data(), tol.data(), m.MSPAR.data(), m.MTREES.data(), m.MSIFA.data(), mop.data(),
           o.minf.data(), o.evl.data(), o.rerr.data(), o.evec.data(), v.data(), rwa.data(), lrwa, iwa.data(), liwa,
           shift, n, neval, neval, maxlan, kEigenUnit, 0, o.ierr);
    return o;
}

} // namespace

TEST(SparseEigen, BucklingModesAgreeOnBothStoragesAndWithDense)
{
    SparseModel m = simplySupported(7);
    const std::vector<double> k = m.assemble(false);
    const std::vector<double> kg = m.assemble(true);
    const Dense kd = m.dense(k), gd = m.dense(kg);
    const std::vector<double> ref = pencilEigenvalues(kd, gd);
    const int p = 4;
    const int niv = p + int(std::lround(std::pow(double(p), 0.8))) + 6;

    const SitOut s = sprsit(m, k, kg, {1, 1, -1, 40, 1, 0}, p, niv);
    ASSERT_EQ(s.ierr, 0);
    ASSERT_GE(s.minf[0], p);
    const LanOut l = sprlan(m, k, kg, {1, 1, -1, 1, 2, 1}, p, 2 * p + 12);
    ASSERT_EQ(l.ierr, 0);
    ASSERT_GE(l.minf[0], p);

    // The skyline road on the same matrices.
    Skyline ks = fullSkyline(kd), gs = fullSkyline(gd);
    std::vector<double> evl(niv), rerr(niv), evec(std::size_t(m.neq()) * niv), rwa(100000);
    std::array<I32, 6> mop{1, 1, -1, 40, 1, 0};
    std::array<I32, 4> minf{};
    std::array<double, 2> tol{1e-8, 1e-8};
    double shift = 0.0;
    I32 kk = niv, ierr = 0;
    MSSIT(ks.a.data(), gs.a.data(), tol.data(), ks.msky.data(), mop.data(), minf.data(), evl.data(), rerr.data(),
          evec.data(), rwa.data(), 100000, shift, m.neq(), p, kk, 0, 0, ierr);
    ASSERT_EQ(ierr, 0);

    for (int i = 0; i < p; ++i) {
        EXPECT_NEAR(s.evl[i], ref[i], 1e-7 * ref[i]) << i;
        EXPECT_NEAR(l.evl[i], ref[i], 1e-7 * ref[i]) << i;
        EXPECT_NEAR(evl[i], ref[i], 1e-7 * ref[i]) << i;
    }
    const PairCheck ps = checkPairs(kd, gd, s.evl.data(), s.evec.data(), p);
    const PairCheck pl = checkPairs(kd, gd, l.evl.data(), l.evec.data(), p);
    EXPECT_LT(ps.residual, 1e-4); // vectors converge as the root of the eigenvalue tolerance
    EXPECT_LT(pl.residual, 1e-5);
    EXPECT_LT(ps.normalisation, 1e-8);
    EXPECT_LT(pl.normalisation, 1e-8);
    EXPECT_LT(pl.orthogonality, 1e-8);
}

TEST(SparseEigen, ShiftAndPositiveDefiniteB)
{
    SparseModel m = simplySupported(6);
    const std::vector<double> k = m.assemble(false);
    const std::vector<double> b = m.withDiagonal(m.assemble(true), 50.0); // positive definite
    const Dense kd = m.dense(k), bd = m.dense(b);
    const std::vector<double> all = pencilEigenvalues(kd, bd);
    std::vector<double> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    const double shift = sorted[3] + 0.4 * (sorted[4] - sorted[3]);
    const std::vector<double> near = pencilEigenvalues(kd, bd, shift);

    const SitOut s = sprsit(m, k, b, {1, 1, 1, 60, 2, 0}, 3, 8, shift);
    ASSERT_EQ(s.ierr, 0);
    EXPECT_EQ(s.minf[1], countBelow(all, shift));
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(s.evl[i], near[i], 1e-7 * std::abs(near[i]));

    // Lanczos with B factored (KPD = 2), unshifted and shifted.
    for (double sh : {0.0, shift}) {
        const LanOut l = sprlan(m, k, b, {1, 1, 1, 1, 2, 2}, 3, 20, sh);
        ASSERT_EQ(l.ierr, 0) << sh;
        const std::vector<double> r = pencilEigenvalues(kd, bd, sh);
        EXPECT_EQ(l.minf[3], countBelow(all, sh));
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(l.evl[i], r[i], 1e-7 * std::abs(r[i])) << sh;
        const PairCheck pc = checkPairs(kd, bd, l.evl.data(), l.evec.data(), 3);
        EXPECT_LT(pc.residual, 1e-6);
        EXPECT_LT(pc.normalisation, 1e-6);
    }
    // Diagonal B with and without zero entries.
    for (bool zeros : {false, true}) {
        std::vector<double> diag(m.neq());
        for (I32 i = 0; i < m.neq(); ++i)
            diag[i] = zeros && i % 5 == 2 ? 0.0 : 1.0 + 0.01 * i;
        Dense dd(m.neq(), m.neq());
        for (I32 i = 1; i <= m.neq(); ++i)
            dd(i, i) = diag[i - 1];
        const std::vector<double> r = pencilEigenvalues(kd, dd);
        const LanOut l = sprlan(m, k, diag, {1, 2, 1, 1, 2, 2}, 3, 20);
        ASSERT_EQ(l.ierr, 0) << zeros;
        const SitOut s2 = sprsit(m, k, diag, {1, 2, 1, 40, 2, 0}, 3, 8);
        ASSERT_EQ(s2.ierr, 0) << zeros;
        EXPECT_EQ(s2.minf[2], zeros ? (m.neq() + 2) / 5 : 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(l.evl[i], r[i], 1e-7 * r[i]) << zeros;
            EXPECT_NEAR(s2.evl[i], r[i], 1e-7 * r[i]) << zeros;
        }
        const PairCheck pc = checkPairs(kd, dd, l.evl.data(), l.evec.data(), 3);
        EXPECT_LT(pc.residual, 1e-6);
        EXPECT_LT(pc.normalisation, 1e-6);
    }
}

TEST(SparseEigen, FewEquationsTakeTheDensePath)
{
    // Nodes 1 and 2 clamped, node 3 with its deflection only, node 4 free.
    SparseModel m(2, [](int node, int dof) { return node <= 2 ? 0 : node == 3 ? (dof == 0 ? 1 : 0) : 1; });
    ASSERT_EQ(m.neq(), 4);
    const std::vector<double> k = m.assemble(false);
    const std::vector<double> kg = m.assemble(true);
    const SitOut s = sprsit(m, k, kg, {1, 1, -1, 40, 1, 0}, 2, 9);
    ASSERT_EQ(s.ierr, 0);
    EXPECT_EQ(s.niv, 4);
    EXPECT_EQ(s.minf[3], 0);
    // Two deflections: two finite eigenvalues, the rotations infinite.
    EXPECT_EQ(s.minf[0], 2);
    const std::vector<double> ref = pencilEigenvalues(m.dense(k), m.dense(kg));
    ASSERT_EQ(ref.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(s.evl[i], ref[i], 1e-9 * ref[i]);
        EXPECT_EQ(s.rerr[i], 0.0);
    }
    EXPECT_TRUE(std::isinf(s.evl[2]) && std::isinf(s.evl[3]));
}

TEST(SparseEigen, WorkArraysAreChecked)
{
    SparseModel m = simplySupported(5);
    std::vector<double> k = m.assemble(false), kg = m.assemble(true);
    const I32 n = m.neq();
    std::vector<double> evl(10), rerr(10), evec(std::size_t(n) * 10), rwa(50), v(2 * std::size_t(n));
    std::vector<I32> iwa(5);
    std::array<I32, 6> mop{1, 1, -1, 40, 1, 0};
    std::array<I32, 10> minf{};
    std::array<double, 2> tol{1e-8, 1e-8};
    double shift = 0.0;
    I32 niv = 10, ierr = 0;
    LogCapture log;
    SPRSIT(k.data(), kg.data(), tol.data(), m.MSPAR.data(), m.MTREES.data(), m.MSIFA.data(), mop.data(), minf.data(),
           evl.data(), rerr.data(), evec.data(), rwa.data(), 50, iwa.data(), 5, shift, n, 2, niv, kEigenUnit, 0, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_NE(log.text.find(" *** ERROR return from  L I N  library routine SPRSIT\n"
                            "     Illegal or inconsistent input parameters\n"
                            "     Work array IWA too small"),
              std::string::npos);
    log.text.clear();
    mop = {1, 1, -1, 1, 2, 1};
    SPRLAN(k.data(), kg.data(), tol.data(), m.MSPAR.data(), m.MTREES.data(), m.MSIFA.data(), mop.data(), minf.data(),
           evl.data(), rerr.data(), evec.data(), v.data(), rwa.data(), 50, iwa.data(), 5, shift, n, 2, 2, 10,
           kEigenUnit, 0, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_NE(log.text.find("     Work array RWA too small"), std::string::npos);
}

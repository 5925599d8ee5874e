// Set-up checks of the sparse solver and its agreement with the skyline
// assembly on the same model.
#include "tests/solvika/sparse_model.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/fwrite.h"

#include <gtest/gtest.h>

#include <numeric>

namespace solvika::test {
namespace {

SpxModel coupledPlate()
{
    SpxModel m = gridModel(5, 4, 3);
    for (int k = 1; k <= 3; ++k)
        m.msc[m.dof(1, k) - 1] = 0;
    m.msc[m.dof(2, 1) - 1] = 0;
    m.cons.push_back({m.dof(2, 1), 0.5, {}});
    m.msc[m.dof(5, 2) - 1] = 0;
    m.cons.push_back({m.dof(5, 2), -0.3, {}});
    m.msc[m.dof(20, 1) - 1] = 0;
    m.cons.push_back({m.dof(20, 1), 0.1, {{m.dof(3, 1), 0.5}, {m.dof(7, 3), -2.0}}});
    m.msc[m.dof(19, 1) - 1] = 0;
    m.cons.push_back({m.dof(19, 1), 0.0, {{m.dof(18, 1), 1.5}}});
    m.msc[m.dof(9, 3) - 1] = 2;
    return m;
}

TEST(SparseSetup, SpradmEqualsAddemThroughTheEquationMaps)
{
    SpxSystem s;
    s.model = coupledPlate();
    ASSERT_EQ(s.setup(true), 0);
    std::mt19937 rng(31);
    const auto ek = elementMatrices(s, rng, false);
    const int n = s.neq();
    std::vector<double> rs(n, 0.0);
    for (int e = 1; e <= int(ek.size()); ++e)
        ASSERT_EQ(s.add(e, ek[e - 1], 1, rs.data()), 0);

    // The skyline road on the same tables (no renumbering).
    SpxModel& m = s.model;
    std::vector<I32> mpar(50, 0), work(m.nanod()), mdofeq(m.ndof()), msky(n), mnnn(m.nanod());
    std::iota(mnnn.begin(), mnnn.end(), 1);
    mpar[0] = m.nanod();
    mpar[1] = I32(m.elems.size());
    mpar[2] = m.ndof();
    mpar[6] = I32(m.cons.size());
    I32 ierr = 0;
    PRASSX(m.MNDPTR.data(), m.MEXNOD.data(), m.MPELND.data(), m.MELNOD.data(), m.msc.data(),
           m.MPMCEQ.data(), m.MCQDOF.data(), mnnn.data(), 0, mpar.data(), work.data(), mdofeq.data(),
           msky.data(), ierr);
    ASSERT_EQ(ierr, 0);
    ASSERT_EQ(mpar[10], n);
    std::vector<double> sysk(mpar[11], 0.0), sysr(n, 0.0);
    std::vector<I32> meleq(64);
    for (int e = 1; e <= int(ek.size()); ++e) {
        ADDEM(ek[e - 1].v.data(), m.CQCOEF.data(), mpar.data(), m.MNDPTR.data(), mdofeq.data(),
              m.MPELND.data(), m.MELNOD.data(), m.MPMCEQ.data(), m.MCQDOF.data(), msky.data(), e,
              ek[e - 1].rows, 0, 1, sysk.data(), sysr.data(), meleq.data(), ierr);
        ASSERT_EQ(ierr, 0);
    }
    // Same matrix entry and right-hand side for every pair of DOFs.
    const Dense a = expand(s, s.SM.data() + n);
    auto sky = [&](int r, int c) {
        if (r > c)
            std::swap(r, c);
        const int h = msky[c - 1] - (c > 1 ? msky[c - 2] : 0);
        return c - r < h ? sysk[msky[c - 1] - (c - r) - 1] : 0.0;
    };
    double worst = 0.0;
    for (int d = 1; d <= m.ndof(); ++d) {
        const int es = s.MDOFEQ[d - 1], ek2 = mdofeq[d - 1];
        ASSERT_EQ(es > 0, ek2 > 0);
        if (es <= 0)
            continue;
        EXPECT_NEAR(rs[es - 1], sysr[ek2 - 1], 1e-12) << "DOF " << d;
        for (int d2 = 1; d2 <= m.ndof(); ++d2) {
            const int es2 = s.MDOFEQ[d2 - 1], ek3 = mdofeq[d2 - 1];
            if (es2 > 0)
                worst = std::max(worst, std::fabs(a(es, es2) - sky(ek2, ek3)));
        }
    }
    EXPECT_LT(worst, 1e-12);
}

TEST(SparseSetup, SlaveOfTwoEquationsIsReported)
{
    SpxSystem s;
    s.model = gridModel(3, 3, 2);
    auto& m = s.model;
    m.msc[m.dof(4, 2) - 1] = 0;
    m.cons.push_back({m.dof(4, 2), 0.0, {{m.dof(1, 1), 1.0}}});
    m.cons.push_back({m.dof(4, 2), 0.0, {{m.dof(2, 1), 1.0}}});
    s.lunit = 10;
    std::string log;
    attachSink(10, &log);
    EXPECT_EQ(s.setup(false), -1);
    detachSink(10);
    EXPECT_EQ(s.failedStep, 1);
    EXPECT_EQ(s.mspar(1), -1);
    EXPECT_EQ(log, "\n\n\n *** ERROR return from LIN library routine SPSPRP\n"
                   "     DOF number   2 of node     104\n"
                   "     is constrained more than once\n");
    // Every later step refuses, touching nothing.
    std::vector<I32> w1(100, 7), w2(100, 7), eq0 = s.MDOFEQ;
    I32 ierr = 0;
    SPRSAS(s.MPAR.data(), m.MNDPTR.data(), m.MPELND.data(), m.MELNOD.data(), m.msc.data(), m.MPMCEQ.data(),
           m.MCQDOF.data(), s.MDOFEQ.data(), s.MSPAR.data(), w1.data(), w2.data(), 0, ierr);
    EXPECT_EQ(ierr, -1);
    SPRRNM(s.MSPAR.data(), w1.data(), w2.data(), 0, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(s.mspar(1), -2);
    SPRTRS(s.MSPAR.data(), w1.data(), w2.data(), s.MDOFEQ.data(), m.ndof(), w2.data(), s.stats, 0, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(s.mspar(1), -3);
    SPRSMB(s.MSPAR.data(), w1.data(), w1.data(), w2.data(), s.MDOFEQ.data(), w2.data(), 0, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(s.mspar(1), -4);
    EXPECT_EQ(w1, std::vector<I32>(100, 7));
    EXPECT_EQ(w2, std::vector<I32>(100, 7));
    EXPECT_EQ(s.MDOFEQ, eq0);
}

TEST(SparseSetup, SetupErrorsAreCounted)
{
    SpxSystem s;
    s.model = gridModel(3, 2, 2);
    auto& m = s.model;
    m.msc[0] = 5;                                      // illegal status
    m.cons.push_back({99, 0.0, {}});                   // slave outside the DOFs
    m.cons.push_back({m.dof(2, 1), 0.0, {}});          // slave with status 1
    m.msc[m.dof(3, 1) - 1] = 0;
    m.msc[m.dof(3, 2) - 1] = 0;
    m.cons.push_back({m.dof(3, 1), 0.0, {{m.dof(3, 2), 1.0}}});  // master fixed
    EXPECT_EQ(s.setup(false), -4);
    EXPECT_EQ(s.failedStep, 1);
}

TEST(SparseSetup, FactorBeyondThirtyTwoBitsStopsTheTreeSearch)
{
    // One element over one node of 70000 DOFs: a single dense front of
    // 70000 * 70001 / 2 > 2^31 reals, found without storing a number.
    SpxSystem s;
    s.model.setNodes(1, 70000);
    s.model.elems = {{1}};
    s.lunit = 10;
    std::string log;
    attachSink(10, &log);
    EXPECT_EQ(s.setup(false), -3);
    detachSink(10);
    EXPECT_EQ(s.failedStep, 4);
    EXPECT_LT(s.mspar(1), 0);
    EXPECT_EQ(log, "\n\n\n *** ERROR RETURN FROM  L I N / SPX  LIBRARY ROUTINE : SPRTRS\n"
                   "     WITH ERROR FLAG :   -3\n\n"
                   "     FACTOR STORAGE EXCEEDS 2147483647 REALS\n\n");
}

} // namespace
} // namespace solvika::test

namespace solvika::test {
namespace {

TEST(SparseSetup, ModelsWithoutEquationsOrElements)
{
    // Every DOF fixed: an empty system that factors and solves trivially.
    SpxSystem s;
    s.model.setNodes(3, 2);
    s.model.elems = {{1, 2, 3}};
    s.model.msc.assign(6, 0);
    ASSERT_EQ(s.setup(true), 0);
    EXPECT_EQ(s.neq(), 0);
    EXPECT_EQ(s.nsup(), 0);
    std::vector<I32> iw(2);
    std::vector<double> rw(2), b(1, 3.0);
    double tol[3] = {1e-10, 0, 0};
    SPRFC1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), tol, iw.data(), rw.data(), 0, s.ierr);
    EXPECT_EQ(s.ierr, 0);
    SPRFS1(s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), s.SM.data(), b.data(), 1, 1, iw.data(), rw.data(), 0, s.ierr);
    EXPECT_EQ(s.ierr, 0);
    EXPECT_EQ(b[0], 3.0);

    // Nodes without elements: one supernode each, no coupling.
    SpxSystem t;
    t.model.setNodes(3, 2);
    ASSERT_EQ(t.setup(true), 0);
    EXPECT_EQ(t.nsup(), 3);
    EXPECT_EQ(t.mspar(16), 3 * 3);
}

} // namespace
} // namespace solvika::test

// Pre-assembly tables and constrained assembly against a dense congruence.
#include "solver/solvika.h"
#include "tests/solvika/assembly_model.h"
#include "tests/solvika/dense_oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace solvika;
using solvika::test::AsmModel;
using solvika::test::ConstraintEq;
using solvika::test::Dense;

namespace {

using Ints = std::vector<std::int32_t>;

Ints mparEntries(const AsmModel& m, std::initializer_list<int> entries)
{
    Ints v;
    for (int e : entries)
        v.push_back(m.mpar[e - 1]);
    return v;
}

// Four nodes of two DOFs in a chain of three elements, renumbered in reverse.
AsmModel chainModel()
{
    return test::makeModel({2, 2, 2, 2}, {{1, 2}, {2, 3}, {3, 4}},
                           {0, 1, 1, 1, 1, 1, 1, 2}, {}, {4, 3, 2, 1});
}

} // namespace

TEST(Preassembly, NumbersByNewNodeOrderStatusTwoLast)
{
    AsmModel m = chainModel();
    ASSERT_EQ(m.prassx(), 0);
    // Visiting nodes 4, 3, 2, 1: status 1 first, the status-2 DOF 8 last.
    EXPECT_EQ(m.mdofeq, (Ints{0, 6, 4, 5, 2, 3, 1, 7}));
    // Tops 1,1,1,2,2,4,1 from the elements' least equations.
    EXPECT_EQ(m.msky, (Ints{1, 3, 6, 9, 13, 16, 23, 0}));
    // NEQ 7; profile 23; tallest status-1 column 4 (equation 5, node 2);
    // element list length 6; no constraints.
    EXPECT_EQ(mparEntries(m, {4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
              (Ints{6, 1, 1, 1, 0, 0, 7, 23, 4, 2, 6, 0}));
}

TEST(Preassembly, NewNumbersNotInputOrderDecideEquations)
{
    // Node 2 gets new number 1 and node 1 new number 2.
    AsmModel m = test::makeModel({1, 1, 1}, {{1, 2, 3}}, {1, 1, 2}, {}, {2, 1, 3});
    ASSERT_EQ(m.prassx(), 0);
    EXPECT_EQ(std::vector<std::int32_t>(m.mdofeq.begin(), m.mdofeq.end()), (Ints{2, 1, 3}));
    EXPECT_EQ(m.msky, (Ints{1, 3, 6}));
}

TEST(Preassembly, ConstraintTablesAndMasterCoupling)
{
    // DOF 1 prescribed; DOF 4 follows DOF 2 (node 1 and node 3 are not in a
    // common element, but element 2 holding DOF 4 couples to equation of DOF 2).
    AsmModel m = test::makeModel({1, 1, 1, 1}, {{1, 2}, {3, 4}},
                                 {0, 1, 1, 0},
                                 {{1, 0.5, {}}, {4, 0.0, {{2, 2.0}}}});
    ASSERT_EQ(m.prassx(), 0);
    EXPECT_EQ(m.mdofeq, (Ints{-1, 1, 2, -2}));
    // Element 2: equation 2 and master equation 1 -> column 2 reaches row 1.
    EXPECT_EQ(std::vector<std::int32_t>(m.msky.begin(), m.msky.begin() + 2), (Ints{1, 3}));
    EXPECT_EQ(mparEntries(m, {4, 6, 8, 9, 10, 11, 12, 16}), (Ints{2, 2, 0, 1, 1, 2, 3, 3}));
}

TEST(Preassembly, ErrorsAreCountedAndStopTheRun)
{
    struct Case {
        const char* what;
        std::function<void(AsmModel&)> spoil;
        std::int32_t ierr;
    };
    auto masters = [](int count, std::int32_t dof) {
        std::vector<test::Master> v;
        for (int i = 0; i < count; ++i)
            v.push_back({dof, 1.0});
        return v;
    };
    auto withConstraints = [](std::vector<ConstraintEq> eqs, Ints msc) {
        return [eqs, msc](AsmModel& m) {
            m = test::makeModel({2, 2, 2, 2}, {{1, 2}, {2, 3}, {3, 4}}, msc, eqs, {4, 3, 2, 1});
        };
    };
    const Ints slave1 = {0, 1, 1, 1, 1, 1, 1, 2};
    const Case cases[] = {
        {"DOF count", [](AsmModel& m) { m.mpar[2] = 9; }, -1},
        {"two illegal statuses", [](AsmModel& m) { m.msc[2] = 3; m.msc[5] = -1; }, -2},
        {"20 masters", withConstraints({{1, 0.0, masters(20, 2)}}, slave1), 0},
        {"21 masters", withConstraints({{1, 0.0, masters(21, 2)}}, slave1), -1},
        {"slave out of range", withConstraints({{9, 0.0, {}}}, slave1), -1},
        {"slave not specified", withConstraints({{2, 0.0, {}}}, slave1), -1},
        {"master out of range", withConstraints({{1, 0.0, {{0, 1.0}, {9, 1.0}}}}, slave1), -2},
        {"two specified masters",
         withConstraints({{1, 0.0, {}}, {3, 0.0, {{1, 1.0}, {2, 1.0}, {1, 1.0}}}},
                         {0, 1, 0, 1, 1, 1, 1, 2}),
         -2},
        {"slave of two equations", withConstraints({{1, 0.5, {}}, {1, 0.0, {{2, 1.0}}}}, slave1), -1},
        {"decreasing MPMCEQ",
         [](AsmModel& m) {
             m = test::makeModel({2, 2, 2, 2}, {{1, 2}}, {0, 1, 0, 1, 1, 1, 1, 2},
                                 {{1, 0.0, {{2, 1.0}}}, {3, 0.0, {}}});
             m.mpmceq = {1, 3, 2};
         },
         -1},
        {"new number too large", [](AsmModel& m) { m.mnnn = {4, 5, 2, 1}; }, -1},
        {"new number zero", [](AsmModel& m) { m.mnnn = {4, 0, 2, 1}; }, -1},
        {"new number repeated", [](AsmModel& m) { m.mnnn = {4, 3, 3, 1}; }, -1},
    };
    for (const Case& c : cases) {
        AsmModel m = chainModel();
        c.spoil(m);
        EXPECT_EQ(m.prassx(), c.ierr) << c.what;
    }
}

TEST(Preassembly, ProfileBeyond32BitsIsAStorageError)
{
    // One element over 65536 single-DOF nodes: a full triangle of
    // 65536 * 65537 / 2 = 2147516416 entries, just over 2^31 - 1.
    const int n = 65536;
    std::vector<int> dofs(n, 1);
    std::vector<int> element(n);
    for (int i = 0; i < n; ++i)
        element[i] = i + 1;
    AsmModel m = test::makeModel(dofs, {element}, Ints(n, 1), {});
    EXPECT_EQ(m.prassx(), -1);
    EXPECT_EQ(m.mpar[11], -1);

    // One node fewer fits: 2147450880 entries.
    dofs.pop_back();
    element.pop_back();
    AsmModel fits = test::makeModel(dofs, {element}, Ints(n - 1, 1), {});
    EXPECT_EQ(fits.prassx(), 0);
    EXPECT_EQ(fits.mpar[11], 2147450880);
    EXPECT_EQ(fits.msky[n - 2], 2147450880);
}

namespace {

// Six nodes, 14 DOFs, four elements; a prescribed DOF (2), a one-master
// coupling with a constant (4 = 0.3 + 1.5 u13), a two-master coupling whose
// master 1 lies in the same element (7 = -0.4 u1 + 2 u10), a second
// prescribed DOF (11), a coupling to a DOF of the same element (14 = 0.1 +
// 0.8 u12), a fixed DOF (9) and two status-2 DOFs (5, 8).
AsmModel constrainedModel(std::vector<std::int32_t> mnnn)
{
    Ints msc(14, 1);
    for (int d : {2, 4, 7, 9, 11, 14})
        msc[d - 1] = 0;
    msc[4] = 2;
    msc[7] = 2;
    return test::makeModel({2, 3, 2, 2, 3, 2}, {{1, 2, 3}, {3, 4}, {4, 5, 6}, {2, 5}}, msc,
                           {{2, 0.7, {}},
                            {4, 0.3, {{13, 1.5}}},
                            {7, 0.0, {{1, -0.4}, {10, 2.0}}},
                            {11, -1.2, {}},
                            {14, 0.1, {{12, 0.8}}}},
                           std::move(mnnn));
}

// The same tables with random constant terms and coefficients.
void randomCoefficients(AsmModel& m, std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(-2.0, 2.0);
    for (double& c : m.cqcoef)
        c = u(rng);
}

// DOF-to-equation map T (NDOF x NEQ) and constant terms c: u = T x + c.
struct Congruence {
    Dense t;
    std::vector<double> c;
};

Congruence congruence(const AsmModel& m, bool prescribedOnly = false, int onlyEquation = 0)
{
    Congruence g{Dense(m.ndof(), m.neq()), std::vector<double>(m.ndof(), 0.0)};
    for (int d = 1; d <= m.ndof(); ++d) {
        const int e = m.mdofeq[d - 1];
        if (e > 0) {
            g.t(d, e) = 1.0;
        } else if (e < 0) {
            const int p = m.mpmceq[-e - 1], end = m.mpmceq[-e];
            for (int q = p + 1; q < end; ++q)
                g.t(d, m.mdofeq[m.mcqdof[q - 1] - 1]) += m.cqcoef[q - 1];
            const bool hasMasters = end - p > 1;
            if ((!prescribedOnly || !hasMasters) && (onlyEquation == 0 || onlyEquation == -e))
                g.c[d - 1] = m.cqcoef[p - 1];
        }
    }
    return g;
}

std::vector<int> elementDofs(const AsmModel& m, int e)
{
    std::vector<int> dofs;
    for (int p = m.mpelnd[e - 1]; p < m.mpelnd[e]; ++p) {
        const int node = m.melnod[p - 1];
        for (int d = m.mndptr[node - 1]; d < m.mndptr[node]; ++d)
            dofs.push_back(d);
    }
    return dofs;
}

struct Assembled {
    std::vector<Dense> ek;      // per element
    std::vector<Dense> ev;      // per element
    Dense kdof;                 // sum of the element matrices in DOF order
    std::vector<double> fdof;   // sum of the element vectors
};

Assembled randomElements(const AsmModel& m, std::mt19937& rng)
{
    Assembled a{{}, {}, Dense(m.ndof(), m.ndof()), std::vector<double>(m.ndof(), 0.0)};
    for (int e = 1; e <= m.nel(); ++e) {
        const std::vector<int> dofs = elementDofs(m, e);
        const int n = int(dofs.size());
        a.ek.push_back(test::randomSymmetric(n, rng));
        a.ev.push_back(test::randomMatrix(n, 1, rng));
        for (int j = 1; j <= n; ++j) {
            a.fdof[dofs[j - 1] - 1] += a.ev.back()(j, 1);
            for (int i = 1; i <= n; ++i)
                a.kdof(dofs[i - 1], dofs[j - 1]) += a.ek.back()(i, j);
        }
    }
    return a;
}

std::vector<double> times(const Dense& a, const std::vector<double>& x)
{
    Dense v(int(x.size()), 1);
    v.v = x;
    return test::multiply(a, v).v;
}

// -T^T K c for the given constant terms.
std::vector<double> constantLoad(const Congruence& g, const Dense& kdof)
{
    std::vector<double> r = times(test::transpose(g.t), times(kdof, g.c));
    for (double& x : r)
        x = -x;
    return r;
}

} // namespace

TEST(SkylineAssembly, MatchesDenseCongruenceThroughConstraints)
{
    std::mt19937 rng(31);
    for (int trial = 0; trial < 4; ++trial) {
        std::vector<std::int32_t> mnnn = {1, 2, 3, 4, 5, 6};
        std::shuffle(mnnn.begin(), mnnn.end(), rng);
        AsmModel m = constrainedModel(mnnn);
        randomCoefficients(m, rng);
        ASSERT_EQ(m.prassx(), 0);
        ASSERT_EQ(m.mpar[8], 2); // two prescribed DOFs
        ASSERT_EQ(m.mpar[9], 3); // three dependent DOFs
        const int neq = m.neq();
        const Assembled el = randomElements(m, rng);
        const Congruence g = congruence(m);
        const Dense expectK = test::multiply(test::transpose(g.t), test::multiply(el.kdof, g.t));

        std::vector<double> sysk(m.mpar[11], 0.0), sysr(neq, 0.0);
        std::vector<std::int32_t> meleq(8);
        for (int e = 1; e <= m.nel(); ++e) {
            std::int32_t ierr = 99;
            ADDEM(el.ek[e - 1].data(), m.cqcoef.data(), m.mpar.data(), m.mndptr.data(),
                  m.mdofeq.data(), m.mpelnd.data(), m.melnod.data(), m.mpmceq.data(),
                  m.mcqdof.data(), m.msky.data(), e, el.ek[e - 1].rows, 0, 1, sysk.data(),
                  sysr.data(), meleq.data(), ierr);
            ASSERT_EQ(ierr, 0);
        }
        test::Skyline sky;
        sky.n = neq;
        sky.msky.assign(m.msky.begin(), m.msky.begin() + neq);
        sky.a = sysk;
        for (int c = 1; c <= neq; ++c)
            sky.top.push_back(c - (sky.msky[c - 1] - (c > 1 ? sky.msky[c - 2] : 0)) + 1);
        // Every coupling lies in the profile, and matches the congruence.
        EXPECT_LT(test::maxAbsDiff(sky.dense(), expectK), 1e-13) << trial;
        EXPECT_LT(test::maxAbsDiff(sysr, constantLoad(g, el.kdof)), 1e-13) << trial;

        // ADDEV and EXPSOL on the same model.
        std::vector<double> rv(neq, 0.0);
        for (int e = 1; e <= m.nel(); ++e) {
            std::int32_t ierr = 99;
            ADDEV(el.ev[e - 1].data(), m.cqcoef.data(), m.mpar.data(), m.mndptr.data(),
                  m.mdofeq.data(), m.mpelnd.data(), m.melnod.data(), m.mpmceq.data(),
                  m.mcqdof.data(), e, el.ev[e - 1].rows, 0, rv.data(), meleq.data(), ierr);
            ASSERT_EQ(ierr, 0);
        }
        EXPECT_LT(test::maxAbsDiff(rv, times(test::transpose(g.t), el.fdof)), 1e-13);

        const Dense x = test::randomMatrix(neq, 1, rng);
        std::vector<double> svd(m.ndof(), 1.0), expect = times(g.t, x.v);
        for (int d = 0; d < m.ndof(); ++d)
            expect[d] = 1.0 + 2.0 * expect[d] + 0.5 * g.c[d];
        EXPSOL(x.data(), m.cqcoef.data(), m.mpmceq.data(), m.mcqdof.data(), m.mdofeq.data(), 2.0,
               0.5, m.ndof(), svd.data());
        EXPECT_LT(test::maxAbsDiff(svd, expect), 1e-14);
    }
}

TEST(SkylineAssembly, RightHandSideModes)
{
    std::mt19937 rng(32);
    AsmModel m = constrainedModel({3, 1, 6, 2, 5, 4});
    randomCoefficients(m, rng);
    ASSERT_EQ(m.prassx(), 0);
    const int neq = m.neq();
    const Assembled el = randomElements(m, rng);
    std::vector<std::int32_t> meleq(8);

    auto assemble = [&](int nsv, std::vector<double>& sysk, std::vector<double>& sysr) {
        for (int e = 1; e <= m.nel(); ++e) {
            std::int32_t ierr = 99;
            ADDEM(el.ek[e - 1].data(), m.cqcoef.data(), m.mpar.data(), m.mndptr.data(),
                  m.mdofeq.data(), m.mpelnd.data(), m.melnod.data(), m.mpmceq.data(),
                  m.mcqdof.data(), m.msky.data(), e, el.ek[e - 1].rows, 0, nsv, sysk.data(),
                  sysr.data(), meleq.data(), ierr);
            ASSERT_EQ(ierr, 0) << nsv;
        }
    };
    std::vector<double> k1(m.mpar[11], 0.0), r1(neq, 0.0);
    assemble(1, k1, r1);

    // NSV 0: the same matrix, no load.
    std::vector<double> k0(m.mpar[11], 0.0), r0(neq, 0.0);
    assemble(0, k0, r0);
    EXPECT_EQ(k0, k1);
    EXPECT_EQ(r0, std::vector<double>(neq, 0.0));

    // NSV -1: the same load, no matrix.
    std::vector<double> km(m.mpar[11], 0.0), rm(neq, 0.0);
    assemble(-1, km, rm);
    EXPECT_EQ(km, std::vector<double>(m.mpar[11], 0.0));
    EXPECT_LT(test::maxAbsDiff(rm, r1), 1e-15);

    // NSV +-2 (= MPAR(9)): one column per prescribed DOF (equations 1 and 4),
    // dependent DOFs' constants give no load.
    for (int nsv : {2, -2}) {
        std::vector<double> k(m.mpar[11], 0.0), r(2 * neq, 0.0);
        assemble(nsv, k, r);
        EXPECT_EQ(k, nsv > 0 ? k1 : std::vector<double>(m.mpar[11], 0.0));
        int column = 0;
        for (int eq : {1, 4}) {
            const std::vector<double> expect = constantLoad(congruence(m, true, eq), el.kdof);
            const std::vector<double> got(r.begin() + column * neq, r.begin() + (column + 1) * neq);
            EXPECT_LT(test::maxAbsDiff(got, expect), 1e-13) << nsv << " " << eq;
            ++column;
        }
    }
}

TEST(SkylineAssembly, UnconstrainedElementAndBadCalls)
{
    std::mt19937 rng(33);
    AsmModel m = constrainedModel({1, 2, 3, 4, 5, 6});
    ASSERT_EQ(m.prassx(), 0);
    const Assembled el = randomElements(m, rng);
    std::vector<double> sysk(m.mpar[11], 0.0), sysr(2 * m.neq(), 0.0);
    std::vector<std::int32_t> meleq(8);
    auto addem = [&](int e, int nedof, int nsv) {
        std::int32_t ierr = 99;
        ADDEM(el.ek[e - 1].data(), m.cqcoef.data(), m.mpar.data(), m.mndptr.data(),
              m.mdofeq.data(), m.mpelnd.data(), m.melnod.data(), m.mpmceq.data(), m.mcqdof.data(),
              m.msky.data(), e, nedof, 0, nsv, sysk.data(), sysr.data(), meleq.data(), ierr);
        return ierr;
    };
    // Calls with errors add nothing.
    EXPECT_EQ(addem(1, 7, 1), 0);
    const std::vector<double> k = sysk, r = sysr;
    EXPECT_EQ(addem(1, 6, 1), -1);  // element has 7 DOFs (error 11); MELEQ gets 6 at most
    EXPECT_EQ(addem(1, 8, 1), -1);
    EXPECT_EQ(addem(1, 7, 3), -1);  // NSV neither 0, 1 nor +-MPAR(9) (error 17)
    EXPECT_EQ(addem(1, 7, 5), -1);
    std::int32_t ierr = 0;
    ADDEM(el.ek[0].data(), m.cqcoef.data(), m.mpar.data(), m.mndptr.data(), m.mdofeq.data(),
          m.mpelnd.data(), m.melnod.data(), m.mpmceq.data(), m.mcqdof.data(), m.msky.data(), 5, 7,
          0, 1, sysk.data(), sysr.data(), meleq.data(), ierr);
    EXPECT_EQ(ierr, -1); // element out of range
    ADDEV(el.ev[0].data(), m.cqcoef.data(), m.mpar.data(), m.mndptr.data(), m.mdofeq.data(),
          m.mpelnd.data(), m.melnod.data(), m.mpmceq.data(), m.mcqdof.data(), 0, 7, 0,
          sysr.data(), meleq.data(), ierr);
    EXPECT_EQ(ierr, -1);
    ADDEV(el.ev[0].data(), m.cqcoef.data(), m.mpar.data(), m.mndptr.data(), m.mdofeq.data(),
          m.mpelnd.data(), m.melnod.data(), m.mpmceq.data(), m.mcqdof.data(), 1, 5, 0,
          sysr.data(), meleq.data(), ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(sysk, k);
    EXPECT_EQ(sysr, r);

    // NSV -1 on an element without constrained DOFs changes nothing.
    AsmModel free = test::makeModel({2, 2, 1}, {{1, 2}, {2, 3}}, {1, 1, 1, 1, 0}, {{5, 3.0, {}}});
    ASSERT_EQ(free.prassx(), 0);
    const Dense ek = test::randomSymmetric(4, rng);
    std::vector<double> fk(free.mpar[11], 0.0), fr(free.neq(), 0.0);
    ADDEM(ek.data(), free.cqcoef.data(), free.mpar.data(), free.mndptr.data(), free.mdofeq.data(),
          free.mpelnd.data(), free.melnod.data(), free.mpmceq.data(), free.mcqdof.data(),
          free.msky.data(), 1, 4, 0, -1, fk.data(), fr.data(), meleq.data(), ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(fk, std::vector<double>(free.mpar[11], 0.0));
    EXPECT_EQ(fr, std::vector<double>(free.neq(), 0.0));
}

TEST(SkylineAssembly, NodalValuesGatherAndLookup)
{
    AsmModel m = constrainedModel({1, 2, 3, 4, 5, 6});
    ASSERT_EQ(m.prassx(), 0);
    std::vector<double> sysk(m.mpar[11], 0.0);
    // Node 2, local DOF 1 is DOF 3 (free); local DOF 2 is DOF 4 (dependent);
    // node 5 local 2 is DOF 11 (prescribed); node 4 local 2 is DOF 9 (fixed).
    ADDNOD(m.mndptr.data(), m.mdofeq.data(), m.msky.data(), 2.5, 2, 1, sysk.data());
    EXPECT_EQ(sysk[m.msky[m.mdofeq[2] - 1] - 1], 2.5);
    const std::vector<double> after = sysk;
    ADDNOD(m.mndptr.data(), m.mdofeq.data(), m.msky.data(), 9.0, 2, 2, sysk.data());
    ADDNOD(m.mndptr.data(), m.mdofeq.data(), m.msky.data(), 9.0, 5, 2, sysk.data());
    ADDNOD(m.mndptr.data(), m.mdofeq.data(), m.msky.data(), 9.0, 4, 2, sysk.data());
    EXPECT_EQ(sysk, after);

    std::vector<double> sv(14), ev(8, -1.0);
    for (int d = 0; d < 14; ++d)
        sv[d] = 100 + d + 1;
    std::int32_t nedof = 0;
    GETELV(sv.data(), m.mndptr.data(), m.mpelnd.data(), m.melnod.data(), 4, ev.data(), nedof);
    EXPECT_EQ(nedof, 6); // nodes 2 and 5: DOFs 3-5 and 10-12
    EXPECT_EQ(std::vector<double>(ev.begin(), ev.begin() + 6),
              (std::vector<double>{103, 104, 105, 110, 111, 112}));

    // Zero solution into a cleared vector: the prescribed values and the
    // constants of the couplings, zero elsewhere.
    std::vector<double> zero(m.neq(), 0.0), svd(14, 0.0);
    EXPSOL(zero.data(), m.cqcoef.data(), m.mpmceq.data(), m.mcqdof.data(), m.mdofeq.data(), 1.0,
           1.0, 14, svd.data());
    std::vector<double> expect(14, 0.0);
    expect[1] = 0.7;
    expect[3] = 0.3;
    expect[10] = -1.2;
    expect[13] = 0.1;
    EXPECT_EQ(svd, expect);

    struct Case { int idof, ldof, node; };
    for (const Case c : {Case{1, 1, 10}, Case{5, 3, 20}, Case{6, 1, 30}, Case{14, 2, 60},
                         Case{15, 0, 0}}) {
        std::int32_t ldof = -1, node = -1;
        EQNNOD(m.mndptr.data(), m.mexnod.data(), 6, c.idof, ldof, node);
        EXPECT_EQ(ldof, c.ldof) << c.idof;
        EXPECT_EQ(node, c.node) << c.idof;
    }
}

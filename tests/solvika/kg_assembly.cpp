// Geometric stiffness assembly of the buckling runs: dispatch and errors,
// per-node against per-element stresses, and the storage of both roads.
#include "run_support.h"

#include "solver/analysis/buckling.h"
#include "solver/linalg/fwrite.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace solvika::test
{
namespace
{

constexpr i32 kUnit = 23;

// A grid with its tables and equation set-up, and SKG in SK's layout.
struct KgSystem : System {
    std::vector<double> stresses;
    explicit KgSystem(Grid& g, i32 storage) : System(g, storage) {}

    std::vector<double> build(bool perNode, i32 lunit = 0)
    {
        std::vector<double> SKG(std::size_t(lengthK()), 7.0);
        (perNode ? Build_SKG_N : Build_SKG)(g.key.data(), g.elementData.data(), g.nodal.data(),
                                            stresses.data(), SKG.data(), lengthK(), lunit,
                                            status.data(), t, eq);
        return SKG;
    }
    // SKG as a dense matrix indexed by DOF (free DOFs only).
    std::vector<double> byDof(const std::vector<double>& SKG)
    {
        K = SKG;
        const auto A = denseK();
        const i32 n = ndof(), m = neq();
        std::vector<double> D(std::size_t(n) * n, 0.0);
        for (i32 a = 1; a <= n; ++a)
            for (i32 b = 1; b <= n; ++b) {
                const i32 ea = eq.MDOFEQ[std::size_t(a - 1)], eb = eq.MDOFEQ[std::size_t(b - 1)];
                if (ea > 0 && eb > 0)
                    D[std::size_t(a - 1) + std::size_t(b - 1) * n] =
                        A[std::size_t(ea - 1) + std::size_t(eb - 1) * m];
            }
        return D;
    }
};

void fixEdges(Grid& g)
{
    for (i32 n = 1; n <= g.key[1]; ++n) {
        const double x = g.x(n), y = g.y(n);
        if (x == 0.0 || y == 0.0 || std::abs(x - 2.0) < 1e-12 || std::abs(y - 1.0) < 1e-12)
            g.fix(n, 1);
    }
}

// Unknown or refused codes: -14 with the code, the status message and the
// routine's line, before any element; SKG cleared.
TEST(BuildSkg, RefusesCodesWithoutGeometricStiffness)
{
    Grid g(65, 2, 1);
    KgSystem s(g, 1);
    s.stresses.assign(3 * std::size_t(g.key[0]), -1.0);
    for (i32 code : {61, 31, 44, 0}) {
        SCOPED_TRACE(code);
        for (bool perNode : {false, true}) {
            std::string log;
            attachSink(kUnit, &log);
            g.key[9] = code;
            s.stresses.assign(3 * std::size_t(g.key[1]), -1.0);
            const auto SKG = s.build(perNode, kUnit);
            detachSink(kUnit);
            EXPECT_EQ(s.status[0], -14);
            EXPECT_EQ(s.status[1], code);
            EXPECT_EQ(*std::max_element(SKG.begin(), SKG.end()), 0.0);
            EXPECT_EQ(*std::min_element(SKG.begin(), SKG.end()), 0.0);
            EXPECT_NE(log.find("ERROR"), std::string::npos) << log;
            const std::string tail = "\n     Error occured in Build_SKG (geometric stiffness)\n";
            ASSERT_GE(log.size(), tail.size());
            EXPECT_EQ(log.substr(log.size() - tail.size()), tail) << log;
        }
    }
}

TEST(BuildSkg, NoElementsGivesZeroAndASparseFailureGivesMinus16)
{
    Grid g(85, 1, 1);
    KgSystem s(g, 2);
    s.stresses.assign(3 * std::size_t(g.key[1]), -1.0);
    const i32 nel = g.key[0];
    g.key[0] = 0;
    auto SKG = s.build(false);
    EXPECT_EQ(s.status[0], 0);
    EXPECT_EQ(*std::max_element(SKG.begin(), SKG.end()), 0.0);
    EXPECT_EQ(*std::min_element(SKG.begin(), SKG.end()), 0.0);

    // A sparse store marked as failed refuses every element.
    g.key[0] = nel;
    s.t.MSPAR[0] = -3;
    std::string log;
    attachSink(kUnit, &log);
    SKG = s.build(true, kUnit);
    detachSink(kUnit);
    EXPECT_EQ(s.status[0], -16);
    EXPECT_EQ(s.status[1], 1);
    EXPECT_EQ(s.status[2], 85);
    EXPECT_NE(log.find("Error occured in Build_SKG (geometric stiffness)"), std::string::npos);
}

// DKT and TEBA per node take the mean of the corner stresses: with random
// nodal stresses, the same matrix as per element with those means.
TEST(BuildSkg, NineDofPerNodeUsesTheCornerMeans)
{
    for (i32 code : {65, 66}) {
        for (i32 storage : {1, 2}) {
            Grid g(code, 3, 2);
            fixEdges(g);
            g.angle(g.node(2, 2)) = 0.3;
            KgSystem s(g, storage);
            std::mt19937 rng(5);
            std::uniform_real_distribution<double> u(-1.0, 1.0);
            std::vector<double> nodeStress(3 * std::size_t(g.key[1]));
            for (double& v : nodeStress)
                v = u(rng);
            s.stresses = nodeStress;
            const auto Kn = s.build(true);
            ASSERT_EQ(s.status[0], 0);
            s.stresses.assign(3 * std::size_t(g.key[0]), 0.0);
            for (i32 e = 1; e <= g.key[0]; ++e)
                for (i32 c = 0; c < 3; ++c)
                    for (i32 k = 1; k <= 3; ++k)
                        s.stresses[3 * std::size_t(e - 1) + c] +=
                            nodeStress[3 * std::size_t(g.elemNode(e, k) - 1) + c] / 3.0;
            const auto Ke = s.build(false);
            ASSERT_EQ(s.status[0], 0);
            EXPECT_LT(relDiff(Ke, Kn), 1e-13);
        }
    }
}

// Every code on both roads: the assembled SKG, read back through the
// equation numbers, is the sum of the element matrices over the free DOFs;
// per node with equal corner stresses it equals per element.
TEST(BuildSkg, BothRoadsHoldTheSumOfTheElementMatrices)
{
    for (i32 code : {65, 66, 75, 81, 85}) {
        SCOPED_TRACE(code);
        Grid g(code, 2, 2);
        fixEdges(g);
        std::vector<std::vector<double>> byRoad;
        for (i32 storage : {1, 2}) {
            KgSystem s(g, storage);
            s.stresses.clear();
            for (i32 e = 1; e <= g.key[0]; ++e)
                s.stresses.insert(s.stresses.end(), {-1.0 - 0.1 * e, 0.2, 0.05 * e});
            const auto Ke = s.build(false);
            ASSERT_EQ(s.status[0], 0);
            byRoad.push_back(s.byDof(Ke));

            if (storage == 1) {
                // Reference: the element routines added by DOF.
                const i32 n = s.ndof();
                std::vector<double> D(std::size_t(n) * n, 0.0);
                for (i32 e = 1; e <= g.key[0]; ++e) {
                    double X[3], Y[3], T[3], EK[441], W[441];
                    for (i32 k = 0; k < 3; ++k) {
                        X[k] = g.x(g.elemNode(e, k + 1));
                        Y[k] = g.y(g.elemNode(e, k + 1));
                        T[k] = g.eldata(e, k + 2);
                    }
                    const double* S = &s.stresses[3 * std::size_t(e - 1)];
                    const i32 nd = code == 75 ? 15 : code == 81 ? 18 : code == 85 ? 21 : 9;
                    if (code == 75)
                        T15_KG(EK, X, Y, T, S);
                    else if (code >= 81)
                        HTB_KG(EK, X, Y, T, S, nd, W);
                    else
                        DKT_KG(EK, X, Y, T, S);
                    std::vector<i32> dofs;
                    const i32 first = s.t.MPELND[std::size_t(e - 1)],
                              next = s.t.MPELND[std::size_t(e)];
                    for (i32 q = first; q < next; ++q) {
                        const i32 node = s.t.MELNOD[std::size_t(q - 1)];
                        for (i32 d = s.t.MNDPTR[std::size_t(node - 1)];
                             d < s.t.MNDPTR[std::size_t(node)]; ++d)
                            dofs.push_back(d);
                    }
                    ASSERT_EQ(i32(dofs.size()), nd);
                    for (i32 b = 0; b < nd; ++b)
                        for (i32 a = 0; a < nd; ++a) {
                            const i32 da = dofs[std::size_t(a)], db = dofs[std::size_t(b)];
                            if (s.eq.MDOFEQ[std::size_t(da - 1)] > 0 &&
                                s.eq.MDOFEQ[std::size_t(db - 1)] > 0)
                                D[std::size_t(da - 1) + std::size_t(db - 1) * n] += EK[a + nd * b];
                        }
                }
                EXPECT_LT(relDiff(D, byRoad.back()), 1e-13);
            }
        }
        EXPECT_LT(relDiff(byRoad[0], byRoad[1]), 1e-13);

        // Equal corner stresses per node give the per-element matrix.
        KgSystem s(g, 1);
        s.stresses.clear();
        for (i32 e = 1; e <= g.key[0]; ++e)
            s.stresses.insert(s.stresses.end(), {-1.0, 0.4, 0.2});
        const auto Ke = s.build(false);
        s.stresses.clear();
        for (i32 n = 1; n <= g.key[1]; ++n)
            s.stresses.insert(s.stresses.end(), {-1.0, 0.4, 0.2});
        const auto Kn = s.build(true);
        EXPECT_LT(relDiff(Ke, Kn), 1e-12);
    }
}

} // namespace
} // namespace solvika::test

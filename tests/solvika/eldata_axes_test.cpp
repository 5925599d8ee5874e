// Node-axis turns of element matrices, element vectors and nodal values,
// and the store of the nodal solution.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using namespace solvika;

namespace {

using i32 = std::int32_t;
using Vec = std::vector<double>;

constexpr int kUnit = 42;

// Hand-made node and element tables: one element over the given nodes with
// the given DOF counts, nodal data with the given angles.
struct OneElement {
    std::vector<i32> MNDPTR{1};
    std::vector<i32> MPELND;
    std::vector<i32> MELNOD;
    Vec nodal;
    i32 ndof = 0;

    OneElement(const std::vector<i32>& dofs, const Vec& angles) {
        for (size_t n = 0; n < dofs.size(); ++n) {
            MNDPTR.push_back(MNDPTR.back() + dofs[n]);
            MELNOD.push_back(i32(n) + 1);
            nodal.insert(nodal.end(), {double(n), 0.0, angles[n], 0.0});
        }
        MPELND = {1, i32(dofs.size()) + 1};
        ndof = MNDPTR.back() - 1;
    }
};

// A symmetric test matrix of order n with distinct entries.
Vec symmetric(i32 n) {
    Vec K(size_t(n) * n);
    for (i32 i = 0; i < n; ++i)
        for (i32 j = 0; j <= i; ++j) K[i + n * j] = K[j + n * i] = 1.0 + i * 0.37 + j * 1.13 + (i == j ? 10.0 : 0.0);
    return K;
}

// G^T K G for a dense G.
Vec congruence(const Vec& G, const Vec& K, i32 n) {
    Vec KG(size_t(n) * n, 0.0), out(size_t(n) * n, 0.0);
    for (i32 i = 0; i < n; ++i)
        for (i32 j = 0; j < n; ++j)
            for (i32 m = 0; m < n; ++m) KG[i + n * j] += K[i + n * m] * G[m + n * j];
    for (i32 i = 0; i < n; ++i)
        for (i32 j = 0; j < n; ++j)
            for (i32 m = 0; m < n; ++m) out[i + n * j] += G[m + n * i] * KG[m + n * j];
    return out;
}

void expectNear(const Vec& a, const Vec& b, double tol) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], tol) << "entry " << i;
}

} // namespace

TEST(NodeAxes, TurnAndTurnBackIsTheIdentity) {
    struct Case {
        i32 code, ndof;
    };
    // R2 (membrane, bending rotations), R4 (6-DOF membrane), R3 / R3' (6-DOF bending).
    const Case cases[] = {{31, 2}, {33, 6}, {65, 3}, {81, 6}};
    for (const Case& c : cases) {
        Vec v(size_t(c.ndof));
        for (i32 i = 0; i < c.ndof; ++i) v[i] = 1.0 + 0.5 * i;
        Vec w = v;
        i32 ierr = 1;
        TRNSV(w.data(), c.ndof, 0.61, c.code, 1, 0, ierr);
        ASSERT_EQ(ierr, 0);
        EXPECT_GT(std::fabs(w[c.ndof - 1] - v[c.ndof - 1]), 1e-3) << c.code;  // the last block was turned
        TRNSV(w.data(), c.ndof, 0.61, c.code, 2, 0, ierr);
        ASSERT_EQ(ierr, 0);
        expectNear(w, v, 1e-12);
    }
}

TEST(NodeAxes, QuarterTurnOfAMembraneNode) {
    const double quarter = std::numbers::pi / 2.0;
    double v[2] = {1.0, 0.0};
    i32 ierr = 1;
    TRNSV(v, 2, quarter, 41, 1, 0, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_NEAR(v[0], 0.0, 1e-15);
    EXPECT_NEAR(v[1], 1.0, 1e-15);
    double w[2] = {1.0, 0.0};
    TRNSV(w, 2, quarter, 41, 2, 0, ierr);
    EXPECT_NEAR(w[0], 0.0, 1e-15);
    EXPECT_NEAR(w[1], -1.0, 1e-15);
}

TEST(NodeAxes, ScalarBendingNodesAndNonFiniteAnglesAreLeftAlone) {
    // A T6 node (1 DOF) and a T15 side node (2 DOFs): nothing to turn, no
    // failure; any code of the bending range.
    for (i32 ndof : {1, 2}) {
        double v[2] = {3.0, 4.0};
        i32 ierr = 1;
        TRNSV(v, ndof, 0.5, 61, 1, 0, ierr);
        EXPECT_EQ(ierr, 0);
        EXPECT_EQ(v[0], 3.0);
        EXPECT_EQ(v[1], 4.0);
    }
    for (double angle : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        double v[3] = {3.0, 4.0, 5.0};
        i32 ierr = 1;
        TRNSV(v, 3, angle, 65, 1, 0, ierr);
        EXPECT_EQ(ierr, 0);
        EXPECT_EQ(v[1], 4.0);
        EXPECT_EQ(v[2], 5.0);
    }
}

TEST(NodeAxes, ElementMatrixIsTurnedAtTheNodesWithAngles) {
    // QST: three 6-DOF membrane nodes, angles on nodes 1 and 3.
    OneElement el({6, 6, 6}, {0.3, 0.0, -1.1});
    const i32 n = el.ndof;
    Vec K = symmetric(n), Kt = K;
    std::array<i32, 5> status{9, 9, 9, 9, 9};
    TRNSK(1, 33, el.nodal.data(), Kt.data(), n, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), 0,
          status.data());
    EXPECT_EQ(status[0], 0);
    EXPECT_EQ(status[1], 0);

    // The same from one dense block-diagonal G built from TRNSV's turn of
    // the unit vectors (direction 1 maps node axes to global axes).
    Vec G(size_t(n) * n, 0.0);
    for (i32 node = 0; node < 3; ++node)
        for (i32 j = 0; j < 6; ++j) {
            double e[6] = {};
            e[j] = 1.0;
            i32 ierr = 0;
            TRNSV(e, 6, el.nodal[4 * node + 2], 33, 1, 0, ierr);
            for (i32 i = 0; i < 6; ++i) G[(6 * node + i) + n * (6 * node + j)] = e[i];
        }
    expectNear(Kt, congruence(G, K, n), 1e-11);

    // The vector turned to node axes and back.
    Vec v(static_cast<size_t>(n)), w;
    for (i32 i = 0; i < n; ++i) v[i] = 0.1 * i - 0.4;
    w = v;
    TRNSS(1, 33, el.nodal.data(), w.data(), n, 2, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), 0,
          status.data());
    EXPECT_GT(std::fabs(w[0] - v[0]), 1e-3);
    TRNSS(1, 33, el.nodal.data(), w.data(), n, 1, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), 0,
          status.data());
    EXPECT_EQ(status[0], 0);
    expectNear(w, v, 1e-12);
}

TEST(NodeAxes, OnlyNodesThatCarryTwoRotationsAreTurned) {
    // Code 75: corners with 3 DOFs, side nodes with 2 DOFs (angle on a side
    // node: untouched); code 61: one DOF per node (untouched everywhere).
    {
        OneElement el({3, 3, 3, 2, 2, 2}, {0.0, 0.0, 0.0, 0.8, 0.0, 0.0});
        Vec K = symmetric(el.ndof), Kt = K;
        std::array<i32, 5> status{};
        TRNSK(1, 75, el.nodal.data(), Kt.data(), el.ndof, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), 0,
              status.data());
        EXPECT_EQ(status[0], 0);
        EXPECT_EQ(Kt, K);
        el.nodal[4 * 1 + 2] = 0.8;  // now a corner: its rotations (DOFs 5, 6) change, the deflection (4) not
        TRNSK(1, 75, el.nodal.data(), Kt.data(), el.ndof, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), 0,
              status.data());
        EXPECT_EQ(Kt[3 + el.ndof * 3], K[3 + el.ndof * 3]);
        EXPECT_NE(Kt[4 + el.ndof * 4], K[4 + el.ndof * 4]);
        EXPECT_EQ(Kt[0], K[0]);
    }
    {
        OneElement el({1, 1, 1, 1, 1, 1}, {0.5, 0.5, 0.5, 0.5, 0.5, 0.5});
        Vec K = symmetric(6), Kt = K, v(6, 1.0), w = v;
        std::array<i32, 5> status{};
        TRNSK(1, 61, el.nodal.data(), Kt.data(), 6, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), 0,
              status.data());
        EXPECT_EQ(status[0], 0);
        EXPECT_EQ(Kt, K);
        TRNSS(1, 61, el.nodal.data(), w.data(), 6, 2, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), 0,
              status.data());
        EXPECT_EQ(status[0], 0);
        EXPECT_EQ(w, v);
    }
}

TEST(NodeAxes, ElementTooSmallForItsNodesIsReported) {
    OneElement el({2, 2, 2}, {0.0, 0.0, 0.4});
    Vec K = symmetric(4), v(4, 1.0);
    std::array<i32, 5> status{};
    std::string log;
    attachSink(kUnit, &log);
    TRNSK(1, 31, el.nodal.data(), K.data(), 4, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), kUnit,
          status.data());
    EXPECT_EQ(status[0], -13);
    EXPECT_EQ(status[1], 1);
    EXPECT_NE(log.find("Error during transformation of k for element     1"), std::string::npos) << log;
    log.clear();
    TRNSS(1, 31, el.nodal.data(), v.data(), 4, 1, el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data(), kUnit,
          status.data());
    detachSink(kUnit);
    EXPECT_EQ(status[0], -18);
    EXPECT_EQ(status[1], 1);
    EXPECT_NE(log.find("Error during transformation of S for element     1"), std::string::npos) << log;
}

TEST(NodalStore, EveryCodeWritesItsRows) {
    struct Case {
        const char* what;
        i32 code;
        std::vector<i32> dofs;            // DOF count of each node; one element over all nodes
        std::vector<std::array<double, 4>> expected;  // nodal columns after the store
    };
    // DOF values are 10 * node + local DOF; the nodal data starts as 7, 8, 9, 6.
    const Case cases[] = {
        {"membrane", 31, {2, 2, 2}, {{11, 12, 9, 6}, {21, 22, 9, 6}, {31, 32, 9, 6}}},
        {"6-DOF membrane", 33, {6, 6, 6}, {{11, 12, 9, 6}, {21, 22, 9, 6}, {31, 32, 9, 6}}},
        {"T6", 61, {1, 1, 1, 1, 1, 1},
         {{11, 0, 0, 6}, {21, 0, 0, 6}, {31, 0, 0, 6}, {0, 41, 0, 6}, {0, 51, 0, 6}, {0, 61, 0, 6}}},
        {"3-DOF bending", 65, {3, 3, 3}, {{11, 12, 13, 6}, {21, 22, 23, 6}, {31, 32, 33, 6}}},
        {"turned bending", 66, {3, 3, 3}, {{11, -13, 12, 6}, {21, -23, 22, 6}, {31, -33, 32, 6}}},
        {"6-DOF bending", 81, {6, 6, 6}, {{11, 12, 13, 6}, {21, 22, 23, 6}, {31, 32, 33, 6}}},
        {"2-DOF side nodes", 75, {3, 3, 3, 2, 2, 2},
         {{11, 12, 13, 6}, {21, 22, 23, 6}, {31, 32, 33, 6}, {41, 42, 0, 6}, {51, 52, 0, 6}, {61, 62, 0, 6}}},
        {"1-DOF side nodes", 85, {6, 6, 6, 1, 1, 1},
         {{11, 12, 13, 6}, {21, 22, 23, 6}, {31, 32, 33, 6}, {0, 41, 0, 6}, {0, 51, 0, 6}, {0, 61, 0, 6}}},
    };
    for (const Case& c : cases) {
        OneElement el(c.dofs, Vec(c.dofs.size(), 0.0));
        Vec sv;
        for (size_t n = 0; n < c.dofs.size(); ++n)
            for (i32 d = 1; d <= c.dofs[n]; ++d) sv.push_back(10.0 * double(n + 1) + d);
        Vec nodal;
        for (size_t n = 0; n < c.dofs.size(); ++n) nodal.insert(nodal.end(), {7, 8, 9, 6});
        std::array<i32, 30> key{};
        key[0] = 1;
        key[1] = i32(c.dofs.size());
        key[9] = c.code;
        STORSL(nodal.data(), sv.data(), key.data(), el.MNDPTR.data(), el.MPELND.data(), el.MELNOD.data());
        for (size_t n = 0; n < c.dofs.size(); ++n)
            for (int r = 0; r < 4; ++r) EXPECT_EQ(nodal[4 * n + r], c.expected[n][r]) << c.what << " node " << n + 1;
    }
}

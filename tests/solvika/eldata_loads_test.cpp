// Helpers of the membrane loads, the list search and the CPU clock.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using namespace solvika;

namespace {

using i32 = std::int32_t;

// Two elements: a triangle (4, 5, 6) and a quadrilateral (9, 5, 2, 7).
const std::vector<i32> kMPELND{1, 4, 8};
const std::vector<i32> kMELNOD{4, 5, 6, 9, 5, 2, 7};

struct Row {
    i32 start = 0, next = 0, sign = 0, element = 0, ierr = 0;
    std::array<double, 6> pairs{};
};

Row decode(const std::vector<double>& row, i32 corners) {
    Row r;
    ELDROW(row.data(), i32(row.size()), corners, 2, kMPELND.data(), kMELNOD.data(), r.start, r.next, r.sign,
           r.pairs.data(), r.element, r.ierr);
    return r;
}

} // namespace

TEST(EdgeLoadRow, PositionsSignsAndPairs) {
    Row r = decode({2, -5, 1, 2, 3, 4}, 4);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_EQ(r.element, 2);
    EXPECT_EQ(r.start, 2);
    EXPECT_EQ(r.next, 3);
    EXPECT_EQ(r.sign, 2);
    EXPECT_EQ(r.pairs, (std::array<double, 6>{1, 2, 3, 4, 0, 0}));

    r = decode({1.2, 6, 1, 2, 3, 4, 5, 6}, 3);  // third corner of a triangle, side axes, third pair
    EXPECT_EQ(r.ierr, 0);
    EXPECT_EQ(r.start, 3);
    EXPECT_EQ(r.next, 1);
    EXPECT_EQ(r.sign, -3);
    EXPECT_EQ(r.pairs, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));

    EXPECT_EQ(decode({2, 9, 1, 2, 3, 4, 5}, 4).pairs, (std::array<double, 6>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(decode({2, 2, 0, 0, 0, 0}, 4).sign, -3);
}

TEST(EdgeLoadRow, NodeOrElementOutsideIsRefused) {
    EXPECT_EQ(decode({2, 8, 1, 2, 3, 4}, 4).ierr, -1);   // not a node of element 2
    EXPECT_EQ(decode({1, 9, 1, 2, 3, 4}, 3).ierr, -1);   // a node of the other element
    EXPECT_EQ(decode({3, 5, 1, 2, 3, 4}, 4).ierr, -1);   // element 3 does not exist
    EXPECT_EQ(decode({0, 5, 1, 2, 3, 4}, 4).ierr, -1);
    EXPECT_EQ(decode({NAN, 5, 1, 2, 3, 4}, 4).ierr, -1);
    EXPECT_EQ(decode({2, -3e9, 1, 2, 3, 4}, 4).ierr, -1);
}

TEST(NodalPairs, StrideFollowsTheCode) {
    // Triangle (4, 5, 6): six values per node for code 33, two otherwise.
    std::vector<double> V(18);
    for (size_t i = 0; i < V.size(); ++i) V[i] = double(i + 1);
    std::vector<double> W(2 * 9, 0.0);
    ADDNPR(1, 33, V.data(), W.data(), kMPELND.data(), kMELNOD.data());
    EXPECT_EQ(W[2 * 3], 1.0);
    EXPECT_EQ(W[2 * 3 + 1], 2.0);
    EXPECT_EQ(W[2 * 4], 7.0);
    EXPECT_EQ(W[2 * 5 + 1], 14.0);
    ADDNPR(1, 31, V.data(), W.data(), kMPELND.data(), kMELNOD.data());
    EXPECT_EQ(W[2 * 4], 7.0 + 3.0);
    EXPECT_EQ(W[2 * 5 + 1], 14.0 + 6.0);
    EXPECT_EQ(W[0], 0.0);
}

TEST(BodyLoad, RecordAtTheMeanPointAndItsCheck) {
    const double R[8] = {1.0, 2.0, 0.5, -0.25, 1.0, 2.0, 3.0, -1.0};
    const double X[3] = {0, 3, 3}, Y[3] = {0, 0, 6};
    double F[2] = {9, 9};
    BODYLD(R, 1.0e-3, X, Y, 3, F);
    EXPECT_DOUBLE_EQ(F[0], 1.0 + 0.5 * (2.0 - 1.0) + 3.0 * 1.0e-3 * 9.81);
    EXPECT_DOUBLE_EQ(F[1], 2.0 - 0.25 * (2.0 - 2.0) - 1.0e-3 * 9.81);
    BODYLD(R, 1.0, X, Y, 0, F);
    EXPECT_EQ(F[0], 0.0);
    EXPECT_EQ(F[1], 0.0);

    for (int i = 0; i < 8; ++i) {
        double rec[8] = {};
        rec[i] = 2.0e-8;
        // The reference point (entries 5 and 6) alone is no load.
        EXPECT_EQ(LODCHK(rec), i == 4 || i == 5 ? 0 : -1) << "entry " << i + 1;
    }
    const double none[8] = {1e-9, -1e-9, 0, 0, 5, 6, 0, 0};
    EXPECT_EQ(LODCHK(none), 0);
}

TEST(InitialStrain, EveryFieldEntryCountsAndTheMaterialTurn) {
    const double X[3] = {0, 2, 2}, Y[3] = {0, 0, 3};  // mean point (4/3, 1)
    for (int entry = 6; entry <= 11; ++entry) {
        double R[11] = {};
        R[entry - 1] = 1.0e-3;
        double S[9];
        std::fill(S, S + 9, 7.0);
        i32 flag = 0;
        ELMEPS(R, X, Y, 3, S, flag);
        EXPECT_EQ(flag, 1) << "entry " << entry;
        EXPECT_EQ(S[2], 0.0);
    }
    double R[11] = {0, 0, 0, 0, 0, 1e-9, -1e-9, 0, 0, 0, 0};
    double S[9] = {};
    i32 flag = 5;
    ELMEPS(R, X, Y, 3, S, flag);
    EXPECT_EQ(flag, 0);

    // eps_y given by its x-gradient only: node values R(10) (x - xm).
    double G[11] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 3.0e-3, 0};
    ELMEPS(G, X, Y, 3, S, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_DOUBLE_EQ(S[1], 3.0e-3 * (0.0 - 4.0 / 3.0));
    EXPECT_DOUBLE_EQ(S[4], 3.0e-3 * (2.0 - 4.0 / 3.0));
    EXPECT_EQ(S[0], 0.0);

    // Material axes at 30 degrees: (e1, e2) = (2e-3, 1e-3) turned to global axes.
    const double a = std::numbers::pi / 6.0, c = std::cos(a), s = std::sin(a);
    double T[11] = {a, 0, 0, 0, 0, 2e-3, 1e-3, 0, 0, 0, 0};
    ELMEPS(T, X, Y, 3, S, flag);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(S[3 * i], c * c * 2e-3 + s * s * 1e-3, 1e-18);
        EXPECT_NEAR(S[3 * i + 1], s * s * 2e-3 + c * c * 1e-3, 1e-18);
        EXPECT_NEAR(S[3 * i + 2], 2 * s * c * 1e-3, 1e-18);
    }
}

namespace {

// Unit square Q6, thickness 1, isotropic plane stress.
struct Square {
    double X[4] = {0, 1, 1, 0}, Y[4] = {0, 0, 1, 1}, H[4] = {1, 1, 1, 1};
    double D[9];
    Square() {
        const double E = 100.0, nu = 0.25, f = E / (1 - nu * nu);
        const double d[9] = {f, f * nu, 0, f * nu, f, 0, 0, 0, f * (1 - nu) / 2};
        std::copy(d, d + 9, D);
    }
    std::array<double, 8> forces(const double* R, i32 mode = 1, const double* U0 = nullptr) {
        std::array<double, 8> F{};
        const double zero[8] = {};
        i32 ierr = 5;
        Q6EPS(R, D, X, Y, H, 8, mode, U0 ? U0 : zero, 0, F.data(), ierr);
        EXPECT_EQ(ierr, 0);
        return F;
    }
};

} // namespace

TEST(Q6InitialStrain, ConstantFieldGivesTheEdgeResultants) {
    Square q;
    // eps = (1e-3, 0.4e-3): sigma = D eps; the corner forces of a uniform
    // stress on the unit square are (-+sigma_x / 2, -+sigma_y / 2).
    for (bool yDominant : {false, true}) {
        const double ex = yDominant ? 0.4e-3 : 1e-3, ey = yDominant ? 1e-3 : 0.4e-3;
        const double R[11] = {0, 0, 0, 0, 0, ex, ey, 0, 0, 0, 0};
        const double sx = q.D[0] * ex + q.D[3] * ey, sy = q.D[1] * ex + q.D[4] * ey;
        const auto F = q.forces(R);
        const double expected[8] = {-sx / 2, -sy / 2, sx / 2, -sy / 2, sx / 2, sy / 2, -sx / 2, sy / 2};
        for (int i = 0; i < 8; ++i) EXPECT_NEAR(F[i], expected[i], 1e-12) << i << (yDominant ? " y" : " x");

        // Mode 2 with a zero given vector: the opposite forces.
        const auto G = q.forces(R, 2);
        for (int i = 0; i < 8; ++i) EXPECT_NEAR(G[i], -expected[i], 1e-12);
    }
}

TEST(Q6InitialStrain, RatioTakenAtTheFirstCornerWhereBothComponentsCount) {
    Square q;
    // f2 = 1e-3 everywhere dominates; f1 = 1e-4 + 2e-4 (x - 0.5) is 0 at
    // corner 1 (ratio too small) and 2e-4 at corner 2: ratio 0.2, so the
    // field is taken as eps_x = 0.2 eps_y = 2e-4 at every corner.
    const double R[11] = {0, 0, 0, 0, 0, 1e-4, 1e-3, 2e-4, 0, 0, 0};
    const double C[11] = {0, 0, 0, 0, 0, 2e-4, 1e-3, 0, 0, 0, 0};
    const auto F = q.forces(R), expected = q.forces(C);
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(F[i], expected[i], 1e-12) << i;
}

TEST(ListSearch, FirstMatchOrZero) {
    const i32 list[3] = {3, 7, 7};
    EXPECT_EQ(IFIND(7, list, 3), 2);
    EXPECT_EQ(IFIND(3, list, 3), 1);
    EXPECT_EQ(IFIND(4, list, 3), 0);
    EXPECT_EQ(IFIND(7, list, 1), 0);
    EXPECT_EQ(IFIND(7, nullptr, 0), 0);
    EXPECT_EQ(IFIND(7, list, -2), 0);
}

TEST(CpuClock, HookFixesTheTimeAndRestores) {
    const CpuClock fixed = [] { return 12.5f; };
    EXPECT_EQ(setCpuClock(fixed), nullptr);
    EXPECT_EQ(CPUSEC(0.0f), 12.5f);
    EXPECT_EQ(CPUSEC(2.0f), 10.5f);
    EXPECT_EQ(setCpuClock(nullptr), fixed);
    const float t0 = CPUSEC(0.0f);
    volatile double sink = 0.0;
    for (int i = 0; i < 2000000; ++i) sink = sink + std::sqrt(double(i));
    EXPECT_GT(t0, 0.0f);
    EXPECT_GE(CPUSEC(t0), 0.0f);
}

// Element gather and elasticity matrix: isotropic, rotated orthotropic and
// plane-strain materials, and the refusal of materials that would give a
// meaningless or infinite matrix.
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
using Mat3 = std::array<double, 9>;

constexpr int kUnit = 41;

// One Q8 element (8 nodes) whose element-data column has 15 rows.
struct OneQuad {
    static constexpr i32 kTopRows = 9, kElRows = 15;
    std::vector<i32> topology{1, 1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<double> elementData = std::vector<double>(kElRows, 0.0);
    std::vector<double> nodal;
    std::vector<double> material{200.0, 200.0, 0.3, 200.0 / 2.6, 7.8e-9, 1.2e-5, 0.0};
    std::vector<i32> MPELND{1, 9};
    std::vector<i32> MELNOD{1, 2, 3, 4, 5, 6, 7, 8};

    OneQuad() {
        const double xy[8][2] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {2, 0}, {4, 1}, {2, 2}, {0, 1}};
        for (const auto& p : xy) nodal.insert(nodal.end(), {p[0], p[1], 0.0, 0.0});
        for (int k = 1; k <= 4; ++k) elementData[k] = 1.0 + 0.1 * k;
    }

    i32 elmdat(Mat3& D, i32 planeStrain, i32 lunit = 0) {
        double X[8], Y[8], T[8];
        i32 ierr = 99;
        ELMDAT(1, planeStrain, 4, 8, kTopRows, kElRows, 1, topology.data(), elementData.data(), material.data(),
               nodal.data(), MPELND.data(), MELNOD.data(), D.data(), X, Y, T, lunit, ierr);
        return ierr;
    }
};

void expectNear(const Mat3& a, const Mat3& b, double tol) {
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(a[i], b[i], tol) << "entry " << i;
}

Mat3 isotropicPlaneStress(double E, double nu) {
    const double f = E / (1.0 - nu * nu);
    return {f, f * nu, 0.0, f * nu, f, 0.0, 0.0, 0.0, f * (1.0 - nu) / 2.0};
}

} // namespace

TEST(ElementGather, CoordinatesThicknessesAndSideNodes) {
    OneQuad q;
    double X[8], Y[8], T[4];
    ELMXYT(1, 4, 8, OneQuad::kElRows, q.elementData.data(), q.nodal.data(), q.MPELND.data(), q.MELNOD.data(), X, Y,
           T);
    const double ex[8] = {0, 4, 4, 0, 2, 4, 2, 0}, ey[8] = {0, 0, 2, 2, 0, 1, 2, 1};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(X[k], ex[k]);
        EXPECT_EQ(Y[k], ey[k]);
    }
    for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(T[k], 1.0 + 0.1 * (k + 1));
}

TEST(ElementGather, IsotropicThroughOrthotropicEntriesIgnoresTheAngle) {
    OneQuad q;
    Mat3 D0{}, D30{};
    ASSERT_EQ(q.elmdat(D0, 0), 0);
    expectNear(D0, isotropicPlaneStress(200.0, 0.3), 1e-12);
    q.elementData[0] = std::numbers::pi / 6.0;
    ASSERT_EQ(q.elmdat(D30, 0), 0);
    expectNear(D30, D0, 1e-11);
}

TEST(ElementGather, RotatedOrthotropicMatrixIsTheTensorTurn) {
    OneQuad q;
    const double E1 = 140.0, E2 = 10.0, nu = 0.3, G = 5.0, a = 0.7;
    q.material = {E1, E2, nu, G, 0.0, 0.0, 0.0};
    q.elementData[0] = a;
    Mat3 D{};
    ASSERT_EQ(q.elmdat(D, 0), 0);

    // Q in the material axes, then A Q A^T with A turning stresses from the
    // material axes to global axes (engineering shear strain).
    const double k = 1.0 / (1.0 - nu * nu * E2 / E1);
    const double Q[3][3] = {{k * E1, k * nu * E2, 0}, {k * nu * E2, k * E2, 0}, {0, 0, G}};
    const double c = std::cos(a), s = std::sin(a);
    const double A[3][3] = {{c * c, s * s, -2 * c * s}, {s * s, c * c, 2 * c * s}, {c * s, -c * s, c * c - s * s}};
    Mat3 expected{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int m = 0; m < 3; ++m)
                for (int n = 0; n < 3; ++n) sum += A[i][m] * Q[m][n] * A[j][n];
            expected[i + 3 * j] = sum;
        }
    expectNear(D, expected, 1e-10);
}

TEST(ElementGather, PlaneStrainIsotropic) {
    OneQuad q;
    q.elementData[0] = 0.4;  // a material angle changes nothing for one isotropic material
    Mat3 D{};
    ASSERT_EQ(q.elmdat(D, 1), 0);
    const double E = 200.0, nu = 0.3, f = E / ((1 + nu) * (1 - 2 * nu));
    expectNear(D, {f * (1 - nu), f * nu, 0, f * nu, f * (1 - nu), 0, 0, 0, f * (1 - 2 * nu) / 2}, 1e-12);
}

TEST(ElementGather, MaterialsWithoutAMeaningfulMatrixAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        i32 planeStrain;
        std::array<double, 4> e1e2nuG;
    };
    const Case cases[] = {
        {"plane strain, orthotropic", 1, {140.0, 10.0, 0.3, 5.0}},
        {"plane strain, nu = 0.5", 1, {200.0, 200.0, 0.5, 66.0}},
        {"plane strain, nu = -1", 1, {200.0, 200.0, -1.0, 66.0}},
        {"plane strain, E = 0", 1, {0.0, 0.0, 0.3, 66.0}},
        {"plane stress, E1 = E2 nu^2", 0, {10.0, 40.0, 0.5, 5.0}},
        {"plane stress, E2 = 0", 0, {10.0, 0.0, 0.3, 5.0}},
        {"plane stress, G = 0", 0, {10.0, 10.0, 0.3, 0.0}},
        {"plane stress, NaN", 0, {nan, 10.0, 0.3, 5.0}},
    };
    for (const Case& c : cases) {
        OneQuad q;
        std::copy(c.e1e2nuG.begin(), c.e1e2nuG.end(), q.material.begin());
        Mat3 D{};
        EXPECT_EQ(q.elmdat(D, c.planeStrain), -9) << c.what;
        for (double v : D) EXPECT_EQ(v, 0.0) << c.what;
    }

    // Plane strain within the tolerance of equal moduli is accepted.
    OneQuad q;
    q.material[1] = 200.0 * (1.0 + 5e-7);
    Mat3 D{};
    EXPECT_EQ(q.elmdat(D, 1), 0);

    std::string log;
    attachSink(kUnit, &log);
    q.material = {10.0, 40.0, 0.5, 5.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(q.elmdat(D, 0, kUnit), -9);
    q.topology[0] = 2;  // one material only
    EXPECT_EQ(q.elmdat(D, 0, kUnit), -9);
    detachSink(kUnit);
    EXPECT_EQ(log, "\n     Invalid material   1 for element     1 : E1, E2, nu, G =  1.0000E+01  4.0000E+01  5.0000E-01"
                   "  5.0000E+00\n"
                   "\n     Invalid material   2 for element     1 : E1, E2, nu, G =  0.0000E+00  0.0000E+00  0.0000E+00"
                   "  0.0000E+00\n");
}

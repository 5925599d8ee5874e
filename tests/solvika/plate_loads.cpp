// Lateral pressure loads of the T6, DKT and TEBA triangles.
#include "solver/solvika.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

using namespace plate_test;

namespace {

using LoadFn = void (*)(double*, const double*, const double*, const double*);

struct Kind {
    const char* name;
    LoadFn fn;
    int ndof;
    int stride; // distance between corner deflection entries
};

const Kind kKinds[] = {
    {"T6", solvika::T6_Lv, 6, 1},
    {"DKT", solvika::DKT_Lv, 9, 3},
    {"TEBA", solvika::TEBA_Lv, 9, 3},
};

const Tri kTri{{1.0, 5.0, 2.0}, {0.5, 1.5, 4.0}}; // anticlockwise, A = 6.5

} // namespace

TEST(PlateLoads, PressureLumpedToCornerDeflections)
{
    const double A = 0.5 * twiceArea(kTri);
    ASSERT_DOUBLE_EQ(A, 6.5);
    const double equal[3] = {0.3, 0.3, 0.3};
    const double linear[3] = {1.0, -2.0, 4.0};
    for (const Kind& k : kKinds) {
        for (const double* P : {equal, linear}) {
            std::vector<double> el(k.ndof, 7.0);
            k.fn(el.data(), kTri.x, kTri.y, P);
            std::vector<double> expect(k.ndof, 0.0);
            for (int i = 0; i < 3; ++i)
                expect[i * k.stride] = A / 12.0 * (2.0 * P[i] + P[(i + 1) % 3] + P[(i + 2) % 3]);
            for (int i = 0; i < k.ndof; ++i)
                EXPECT_NEAR(el[i], expect[i], 1e-14) << k.name << " entry " << i;
        }
        std::vector<double> el(k.ndof);
        k.fn(el.data(), kTri.x, kTri.y, equal);
        EXPECT_NEAR(el[0], 0.3 * A / 3.0, 1e-14);
    }
}

// DKT and TEBA refuse clockwise elements in their stiffness routines, so
// their loads stay zero there; T6 accepts them and must load them alike.
TEST(PlateLoads, ClockwiseTriangle)
{
    const Tri cw = flipped(kTri);
    const double P[3] = {1.0, -2.0, 4.0};
    const double Pcw[3] = {P[0], P[2], P[1]};
    for (const Kind& k : kKinds) {
        std::vector<double> el(k.ndof, 7.0);
        k.fn(el.data(), cw.x, cw.y, Pcw);
        if (k.fn == solvika::T6_Lv) {
            std::vector<double> acw(6);
            solvika::T6_Lv(acw.data(), kTri.x, kTri.y, P);
            const int perm[6] = {0, 2, 1, 5, 4, 3};
            for (int i = 0; i < 6; ++i)
                EXPECT_DOUBLE_EQ(el[i], acw[perm[i]]);
            EXPECT_NE(el[0], 0.0);
        } else {
            EXPECT_EQ(el, std::vector<double>(k.ndof, 0.0)) << k.name;
        }
    }
    // A flat triangle carries nothing.
    const Tri flat{{0.0, 1.0, 2.0}, {0.0, 1.0, 2.0}};
    for (const Kind& k : kKinds) {
        std::vector<double> el(k.ndof, 7.0);
        k.fn(el.data(), flat.x, flat.y, P);
        EXPECT_EQ(el, std::vector<double>(k.ndof, 0.0)) << k.name;
    }
}

// Log lines of the plate-bending triangles, byte for byte.
#include "solver/solvika.h"
#include "solver/elements/matprt.h"
#include "solver/linalg/fwrite.h"
#include "tests/solvika/plate_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace plate_test;

namespace {

constexpr int kUnit = 10;

// Captures what the routines write to the log unit.
class PlateLog : public ::testing::Test {
protected:
    void SetUp() override { solvika::attachSink(kUnit, &text); }
    void TearDown() override { solvika::detachSink(kUnit); }
    std::string text;
};

const Tri kNeedle{{0.0, 10.0, 5.0}, {0.0, 0.0, 0.1}};
const double kT[3] = {1.0, 1.0, 1.0};

} // namespace

TEST_F(PlateLog, DegeneratedElementMessages)
{
    const auto C = elasticity();
    double ek[81];
    std::int32_t ierr = 0;
    solvika::DKT_Sm(ek, C.data(), kNeedle.x, kNeedle.y, kT, 7, kUnit, ierr);
    EXPECT_EQ(ierr, -1);
    solvika::T6_Sm(ek, C.data(), kNeedle.x, kNeedle.y, kT, 1234567, kUnit, ierr);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(text, "\n\n\n *** ERROR RETURN FROM SUBROUTINE DKT_Sm ***\n"
                    "     Element      7  is degenerated\n"
                    "\n\n\n *** ERROR RETURN FROM SUBROUTINE T6_Sm ***\n"
                    "     Element1234567  is degenerated\n");

    // Nothing is written when the unit is not positive.
    text.clear();
    solvika::attachSink(0, &text);
    solvika::DKT_Sm(ek, C.data(), kNeedle.x, kNeedle.y, kT, 7, 0, ierr);
    solvika::T6_Sm(ek, C.data(), kNeedle.x, kNeedle.y, kT, 7, 0, ierr);
    solvika::detachSink(0);
    EXPECT_EQ(text, "");
}

TEST_F(PlateLog, TebaPrints)
{
    const std::vector<double> C = {2.1e5, 0.63e5, 0.0, 0.63e5, 2.1e5, 0.0, 0.0, 0.0, 0.735e5};
    const Tri t{{0.0, 4.0, 1.0}, {0.0, 0.5, 3.0}};
    const double T[3] = {12.5, 10.0, 8.0};
    double ek[81], rr[81];
    std::int32_t ierr = 5;

    const std::string entry = "\n\n\n ENTERING TEBA31 FOR ELEMENT    42 :\n"
                              "\n     CORNER THICKNESSES :\n"
                              "     H1 = 1.2500E+01    H2 = 1.0000E+01    H3 = 8.0000E+00\n"
                              "\n     CORNER COORDINATES :\n"
                              "     X1 = 0.0000E+00    X2 = 4.0000E+00    X3 = 1.0000E+00\n"
                              "     Y1 = 0.0000E+00    Y2 = 5.0000E-01    Y3 = 3.0000E+00\n"
                              "\n     ELASTICITY MATRIX  :\n"
                              "     2.1000000E+05  6.3000000E+04  0.0000000E+00\n"
                              "     6.3000000E+04  2.1000000E+05  0.0000000E+00\n"
                              "     0.0000000E+00  0.0000000E+00  7.3500000E+04\n";
    const std::string leave = "\n\n\n LEAVING TEBA31 FOR ELEMENT    42\n";

    // Print switch 1: nothing; 2: entry and leaving lines.
    solvika::TEBA31(ek, rr, C.data(), t.x, t.y, T, 42, kUnit, 1, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(text, "");
    solvika::TEBA31(ek, rr, C.data(), t.x, t.y, T, 42, kUnit, 2, ierr);
    EXPECT_EQ(text, entry + leave);

    // 3: the element matrix as well, through the matrix printer.
    std::string matrix;
    solvika::attachSink(kUnit + 1, &matrix);
    solvika::MATPRT(ek, 9, 9, kUnit + 1);
    solvika::detachSink(kUnit + 1);
    ASSERT_NE(matrix, "");
    text.clear();
    solvika::TEBA31(ek, rr, C.data(), t.x, t.y, T, 42, kUnit, 3, ierr);
    EXPECT_EQ(text, entry + "\n     ELEMENT STIFFNESS MATRIX :\n" + matrix + leave);
}

TEST_F(PlateLog, TebaErrorLinesForEveryFlag)
{
    const auto C = elasticity();
    const std::vector<double> Csing = {1.0, 1.0, 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    const std::vector<double> Cnear = {1.0, 1.0, 0.0, 1.0, 1.0 + 1.2e-8, 0.0, 0.0, 0.0, 1.0};
    const Tri ok{{0.0, 1.0, 0.5}, {0.0, 0.0, 0.9}};
    struct Case {
        Tri t;
        const std::vector<double>* c;
        std::int32_t ierr;
        const char* flag;
    } cases[] = {
        {flipped(ok), &C, -1, " -1"},
        {kNeedle, &C, -2, " -2"},
        {ok, &Csing, -3, " -3"},
        {ok, &Cnear, -4, " -4"},
    };
    for (const auto& c : cases) {
        text.clear();
        double ek[81] = {}, rr[81];
        std::int32_t ierr = 0;
        solvika::TEBA31(ek, rr, c.c->data(), c.t.x, c.t.y, kT, 7, kUnit, 0, ierr);
        EXPECT_EQ(ierr, c.ierr);
        const std::string tail = "\n\n\n *** ERROR RETURN FROM TEBA31 ***\n"
                                 "\n     ERROR FLAG =" + std::string(c.flag) +
                                 "\n\n     ELEMENT     7   IN ERROR\n";
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << c.ierr;
        if (c.ierr >= -2) {
            EXPECT_EQ(text, tail);
        } else {
            // The inversion routine's own report comes first.
            EXPECT_NE(text.find("SYMINV"), std::string::npos);
        }

        // With print switch 3 the closing prints follow the error lines.
        text.clear();
        solvika::TEBA31(ek, rr, c.c->data(), c.t.x, c.t.y, kT, 7, kUnit, 3, ierr);
        const std::string leave = "\n\n\n LEAVING TEBA31 FOR ELEMENT     7\n";
        EXPECT_NE(text.find(tail + "\n     ELEMENT STIFFNESS MATRIX :\n"), std::string::npos);
        ASSERT_GE(text.size(), leave.size());
        EXPECT_EQ(text.substr(text.size() - leave.size()), leave);
    }
}

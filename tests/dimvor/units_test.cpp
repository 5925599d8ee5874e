#include "platform/dimvor/dimvor.h"

#include <gtest/gtest.h>

namespace {

TEST(Units, FactorsAndLabels)
{
    struct Case {
        int system, kind, unit;
        double factor;
        const char* label;
    } cases[] = {
        {0, 3, 0, 1.0, "mm"},
        {0, 3, 1, 0.001, "m"},
        {0, 1, 0, 1.0, "N"},
        {0, 1, 1, 0.001, "kN"},
        {0, 4, 0, 1.0, "mm^2"},
        {0, 4, 1, 1e-6, "m^2"},
        {0, 13, 0, 1.0, "N/mm^2"},
        {0, 13, 1, 1e6, "N/m^2"},
        {0, 13, 2, 1e3, "kN/m^2"},
        {0, 14, 0, 1.0, "Nmm"},
        {0, 14, 1, 1e-6, "kNm"},
        {0, 14, 2, 1e-3, "Nm"},
        {0, 14, 3, 1e-3, "kNmm"},
        {0, 16, 0, 1.0, "\xB0" "C"},
        {0, 9, 1, 1000.0, "/m"},
        {1, 3, 0, 1.0 / 25.4, "in"},
        {1, 3, 1, 1.0 / 304.8, "ft"},
        {1, 1, 0, 1.0 / 4.4482216152605, "lbf"},
        {1, 1, 1, 1.0 / 4448.2216152605, "kip"},
        {1, 4, 0, 1.0 / 645.16, "in^2"},
        {1, 13, 0, 645.16 / 4.4482216152605, "psi"},
        {1, 13, 1, 645.16 / 4448.2216152605, "ksi"},
        {1, 14, 0, 1.0 / (4.4482216152605 * 25.4), "lbf-in"},
        {1, 14, 1, 1.0 / (4448.2216152605 * 304.8), "kip-ft"},
        {1, 16, 0, 1.8, "\xB0" "F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.system << "," << c.kind << "," << c.unit);
        EXPECT_NEAR(MetricToX(c.system, c.kind, c.unit), c.factor, 1e-12 * c.factor);
        EXPECT_EQ(UnitString(c.system, c.kind, c.unit), c.label);
    }
}

// A value per unit length: a moment per the length within its own unit, any
// other kind per the given length unit; kind 0 has no unit.
TEST(Units, PerLengthFactorsAndLabels)
{
    struct Case {
        int system, kind, unit, length;
        double factor;
        const char* label;
    } cases[] = {
        {0, -14, 1, 0, 1e-3, "kNm/m"},
        {0, -14, 0, 1, 1.0, "Nmm/mm"},
        {0, -14, 2, 0, 1.0, "Nm/m"},
        {0, -14, 3, 1, 1e-3, "kNmm/mm"},
        {1, -14, 1, 0, 304.8 / (4448.2216152605 * 304.8), "kip-ft/ft"},
        {1, -14, 0, 1, 25.4 / (4.4482216152605 * 25.4), "lbf-in/in"},
        {0, -1, 0, 1, 1000.0, "N/m"},
        {0, 14, 1, 0, 1e-6, "kNm"},
        {0, 0, 1, 0, 1.0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.system << "," << c.kind << "," << c.unit << "," << c.length);
        CString label;
        EXPECT_NEAR(PerLengthFactor(c.system, c.kind, c.unit, c.length, &label), c.factor, 1e-12 * c.factor);
        EXPECT_EQ(label, c.label);
    }
}

// The number formats of the units rows; a value that shows as zero never
// shows as "-0".
TEST(Units, FormattedValues)
{
    struct Case {
        int format, digits;
        double value;
        const char* text;
    } cases[] = {
        {2, 2, 0.04792, "0.048"}, {2, 2, -0.04792, "-0.048"}, {1, 3, -0.0001, "0.000"},
        {1, 3, -12.5, "-12.500"}, {0, 1, -4.79e-5, "-4.8e-05"}, {2, 2, -1e-30, "-1e-30"},
        {1, 0, -0.4, "0"},        {1, 2, 0.0, "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatUnitValue(c.format, c.digits, c.value), c.text) << c.value;
}

// 1 psi is 6894.757 Pa: the US factors convert from N and mm.
TEST(Units, PsiIsSixThousandEightHundredNinetyFivePascal)
{
    EXPECT_NEAR(0.0068947572931783 * MetricToX(1, 13, 0), 1.0, 1e-11);
}

TEST(Units, DensityDisplay)
{
    for (int s = 0; s < 2; ++s)
        EXPECT_FALSE(UnitString(s, 2, 1).IsEmpty());
    const double shown = 7.85e-06 * MetricToX(0, 2, 1) * MetricToX(0, 11, 1);
    EXPECT_NEAR(shown, 7850.0, 1e-9);
    EXPECT_EQ(UnitString(0, 2, 1) + UnitString(0, 11, 1), "kg/m^3");
    // 7850 kg/m^3 is about 490 lb/ft^3.
    EXPECT_NEAR(7.85e-06 * MetricToX(1, 2, 1) * MetricToX(1, 11, 1), 490.06, 0.01);
}

TEST(Units, UnknownKindsAndIndexesAreHarmless)
{
    const int bad[][3] = {{0, 99, 0}, {0, 3, 2}, {0, 3, -1}, {0, 1, 4}, {2, 3, 0}, {-1, 3, 0},
                          {0, 16, 1}, {0, 0, 0}};
    for (const auto& b : bad) {
        EXPECT_EQ(MetricToX(b[0], b[1], b[2]), 1.0);
        EXPECT_TRUE(UnitString(b[0], b[1], b[2]).IsEmpty());
    }
}

TEST(Units, InitialSettings)
{
    EXPECT_EQ(iStandard, 0);
    auto row = [](int s, int r) {
        return std::vector<int>{iConv[s][r][0], iConv[s][r][1], iConv[s][r][2]};
    };
    EXPECT_EQ(row(0, 0), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(row(1, 0), (std::vector<int>{0, 1, 3}));
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(row(s, 1), (std::vector<int>{1, 2, 2}));
        EXPECT_EQ(row(s, 6), (std::vector<int>{2, 2, 2}));
        EXPECT_EQ(row(s, 9), (std::vector<int>{0, 2, 4}));
        EXPECT_EQ(row(s, 14), (std::vector<int>{1, 2, 4}));
        EXPECT_EQ(row(s, 18), (std::vector<int>{0, 2, 3}));
        for (int r = 19; r < 30; ++r)
            EXPECT_EQ(row(s, r), (std::vector<int>{0, 2, 3}));
    }
    // Restoring one system's defaults leaves the other and rows 19-29 alone.
    iConv[0][0][2] = 7;
    iConv[1][0][2] = 8;
    iConv[1][20][2] = 9;
    SetDefaultUnitRows(1);
    EXPECT_EQ(iConv[0][0][2], 7);
    EXPECT_EQ(iConv[1][0][2], 3);
    EXPECT_EQ(iConv[1][20][2], 9);
    SetDefaultUnitRows(0);
    iConv[1][20][2] = 3;
    EXPECT_EQ(iConv[0][0][2], 0);
}

TEST(Units, SquareAndCubeRewrites)
{
    struct Case {
        const char* in;
        const char* sqr;
        const char* cube;
        const char* both;
    } cases[] = {
        {"kN/m^2", "kN/m\xB2", "kN/m^2", "kN/m\xB2"},
        {"m^3^2", "m^3\xB2", "m\xB3^2", "m\xB3\xB2"},
        {"mm", "mm", "mm", "mm"},
        {"^", "^", "^", "^"},
    };
    for (const Case& c : cases) {
        CString s(c.in), q(c.in), b(c.in);
        ReplaceSqrd(s);
        ReplaceCubd(q);
        ReplaceSqrAndCube(b);
        EXPECT_EQ(s, c.sqr);
        EXPECT_EQ(q, c.cube);
        EXPECT_EQ(b, c.both);
    }
}

} // namespace

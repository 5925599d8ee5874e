#include "glstyle/tincora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <type_traits>

namespace {

template <typename T, std::size_t N>
void expectArray(const T (&actual)[N], std::initializer_list<T> expected, const char* name)
{
    ASSERT_EQ(N, expected.size()) << name;
    std::size_t i = 0;
    for (T e : expected) {
        EXPECT_EQ(actual[i], e) << name << "[" << i << "]";
        ++i;
    }
}

} // namespace

// Users declare these with their own types and sizes; a change here breaks
// every library that links this one.
TEST(DrawingSettings, TypesAndSizes)
{
    static_assert(std::is_same_v<decltype(THIN_EDGE), double>);
    static_assert(std::is_same_v<decltype(dColorIndex), double[257][4]>);
    static_assert(std::is_same_v<decltype(Material), float[28][10]>);
    static_assert(std::is_same_v<decltype(pol_st_dashdotdotdash), unsigned char[128]>);
    static_assert(std::is_same_v<decltype(IsNode), bool[256]>);
    static_assert(std::is_same_v<decltype(bLightOn), bool[4]>);
    static_assert(std::is_same_v<decltype(uiFringeNum), std::uint32_t>);
    static_assert(std::is_same_v<decltype(lmodel_twoside), float[1]>);
    static_assert(std::is_same_v<decltype(mat_shininess), float[1]>);
    static_assert(std::is_same_v<decltype(glcInvBckGrnd), float[3]>);
    static_assert(std::is_same_v<decltype(dMaterialColor), double[4]>);
    SUCCEED();
}

TEST(DrawingSettings, InitialScalars)
{
    // The line widths stay unset until a rendering context fills them.
    EXPECT_EQ(THIN_EDGE, -1.0);
    EXPECT_EQ(MEDIUM_EDGE, -1.0);
    EXPECT_EQ(WIDE_EDGE, -1.0);
    EXPECT_EQ(SMALL_POINT, 3.0);
    EXPECT_EQ(MEDIUM_S_POINT, 5.0);
    EXPECT_EQ(MEDIUM_L_POINT, 7.0);
    EXPECT_EQ(LARGE_POINT, 9.0);
    EXPECT_EQ(AXIS_WIDTH, 2.0);
    EXPECT_EQ(uiFringeNum, 20u);
    EXPECT_TRUE(bOffsetPolygon);
    EXPECT_EQ(glfOffsetFact, 1.0f);
    EXPECT_EQ(glfOffsetUnit, 1.0f);
}

TEST(DrawingSettings, InitialColoursLightsAndMaterial)
{
    expectArray(fBckClrMdView, {1.0f, 1.0f, 1.0f, 0.0f}, "fBckClrMdView");
    expectArray(fBckClrRsView, {0.85f, 0.95f, 1.0f, 0.0f}, "fBckClrRsView");
    expectArray(glcInvBckGrnd, {0.0f, 0.0f, 0.0f}, "glcInvBckGrnd");
    expectArray(glcTextClr, {0.0f, 0.0f, 1.0f}, "glcTextClr");
    // The alpha is single-precision 0.7 held in a double.
    expectArray(dMaterialColor, {1.0, 0.5, 0.5, 0.699999988079071}, "dMaterialColor");
    EXPECT_LT(dMaterialColor[3], 0.999999); // filled areas are blended
    expectArray(dGridColor, {0.0, 0.0, 0.0, 1.0}, "dGridColor");
    expectArray(dAxisColor, {1.0, 0.0, 0.0, 1.0}, "dAxisColor");

    expectArray(bLightOn, {true, false, false, false}, "bLightOn");
    expectArray(ambientLight1, {0.196f, 0.196f, 0.196f, 1.0f}, "ambientLight1");
    expectArray(diffuseLight1, {0.753f, 0.753f, 0.753f, 1.0f}, "diffuseLight1");
    expectArray(specularLight1, {1.0f, 1.0f, 1.0f, 1.0f}, "specularLight1");
    expectArray(ambientLight2, {0.1f, 0.1f, 0.1f, 1.0f}, "ambientLight2");
    expectArray(diffuseLight2, {0.5f, 0.5f, 0.5f, 1.0f}, "diffuseLight2");
    expectArray(specularLight2, {0.0f, 0.0f, 0.0f, 1.0f}, "specularLight2");
    expectArray(ambientLight3, {0.1f, 0.1f, 0.1f, 1.0f}, "ambientLight3");
    expectArray(diffuseLight3, {0.5f, 0.5f, 0.5f, 1.0f}, "diffuseLight3");
    expectArray(specularLight3, {0.5f, 0.5f, 0.5f, 1.0f}, "specularLight3");
    expectArray(directLight, {0.0f, 0.0f, 1.0f}, "directLight");
    expectArray(position1, {0.0f, 0.0f, -1.0f, 0.0f}, "position1");
    expectArray(position2, {1.0f, 1.0f, 0.0f, 0.0f}, "position2");
    expectArray(lmodel_ambient, {0.2f, 0.2f, 0.2f, 1.0f}, "lmodel_ambient");
    expectArray(lmodel_twoside, {1.0f}, "lmodel_twoside");
    expectArray(lmodel_local_viewer, {1.0f}, "lmodel_local_viewer");
    expectArray(fog_color, {0.0f, 0.0f, 0.0f, 1.0f}, "fog_color");

    expectArray(mat_emission, {0.0f, 0.0f, 0.0f, 1.0f}, "mat_emission");
    expectArray(mat_ambient, {0.1f, 0.1f, 0.1f, 1.0f}, "mat_ambient");
    expectArray(mat_diffuse, {0.1f, 0.1f, 0.1f, 1.0f}, "mat_diffuse");
    expectArray(mat_specular, {1.0f, 1.0f, 0.5f, 1.0f}, "mat_specular");
    expectArray(mat_shininess, {12.0f}, "mat_shininess");
}

// Rows are ambient, diffuse, specular RGB and the shininess fraction, in that
// order; a swapped column would light every preset wrongly.
TEST(DrawingSettings, MaterialPresets)
{
    expectArray(Material[0], {0.0215f, 0.1745f, 0.0215f, 0.07568f, 0.61424f, 0.07568f, 0.633f,
                              0.727811f, 0.633f, 0.6f}, "Material[0]");
    expectArray(Material[6], {0.329412f, 0.223529f, 0.027451f, 0.780392f, 0.568627f, 0.113725f,
                              0.992157f, 0.941176f, 0.807843f, 0.217949f}, "Material[6]");
    expectArray(Material[13], {0.0f, 0.1f, 0.06f, 0.0f, 0.509804f, 0.509804f, 0.501961f,
                               0.501961f, 0.501961f, 0.25f}, "Material[13]");
    expectArray(Material[19], {0.0f, 0.05f, 0.05f, 0.4f, 0.5f, 0.5f, 0.04f, 0.7f, 0.7f,
                               0.078125f}, "Material[19]");
    expectArray(Material[27], {0.2f, 0.2f, 0.3f, 0.8f, 0.9f, 1.0f, 0.2f, 0.2f, 0.4f, 0.35f},
                "Material[27]");
    for (int row = 0; row < 28; ++row)
        for (int k = 0; k < 10; ++k) {
            EXPECT_GE(Material[row][k], 0.0f) << row << "," << k;
            EXPECT_LE(Material[row][k], 1.0f) << row << "," << k;
        }
}

TEST(DrawingSettings, StippleAndNodeMarks)
{
    for (int i = 0; i < 128; ++i) {
        const int row = i / 4;
        const unsigned char pattern = (i % 2 == 0) ? 0x11 : 0x1F;
        EXPECT_EQ(pol_st_dashdotdotdash[i], row % 8 < 4 ? pattern : 0) << "byte " << i;
    }
    EXPECT_EQ(pol_st_dashdotdotdash[0], 0x11);
    EXPECT_EQ(pol_st_dashdotdotdash[16], 0);

    EXPECT_TRUE(IsNode[0]);
    for (int k = 1; k < 256; ++k)
        EXPECT_FALSE(IsNode[k]) << k;
}

// The given rows of the fringe ramp, and rows between them that are checked by
// hand: each component is its level interpolated between the two nearest
// given rows, rounded (halves up), / 255 at four decimals.
TEST(DrawingSettings, FringeColourRows)
{
    struct Row {
        int row;
        double r, g, b;
    };
    const Row rows[] = {
        // given
        {0, 0.549, 0, 0},
        {1, 0.5569, 0, 0},
        {2, 0.5647, 0, 0},
        {3, 0.5686, 0, 0},
        {32, 0.7725, 0, 0},
        {63, 0.9882, 0, 0},
        {64, 0.9882, 0.0157, 0.0078},
        {95, 0.9882, 0.498, 0.2471},
        {96, 0.9922, 0.5137, 0.2549},
        {127, 0.9922, 0.9922, 0.4941},
        {128, 1, 1, 0.502},
        {144, 0.8, 0.9686, 0.3804},
        {160, 0.6, 0.9333, 0.2627},
        {176, 0.3961, 0.902, 0.1412},
        {191, 0.2078, 0.8706, 0.0275},
        {192, 0.1961, 0.8667, 0.0196},
        {208, 0.1922, 0.7412, 0.0627},
        {224, 0.1882, 0.6157, 0.1059},
        {240, 0.1843, 0.4902, 0.149},
        {255, 0.1804, 0.3725, 0.1882},
        {256, 0.5, 0, 0},
        // between: row 16 is 145 + 52 x 13/29 = 168.3 -> 168 of red
        {16, 0.6588, 0, 0},
        {48, 0.8824, 0, 0},
        {80, 0.9882, 0.2627, 0.1294},
        {112, 0.9922, 0.7608, 0.3765},
        // red 229.5 and blue 112.5 round up to 230 and 113
        {136, 0.902, 0.9843, 0.4431},
        {184, 0.2941, 0.8863, 0.0824},
        {232, 0.1882, 0.5529, 0.1294},
        {250, 0.1804, 0.4118, 0.1765},
    };
    for (const Row& e : rows) {
        SCOPED_TRACE(e.row);
        EXPECT_EQ(dColorIndex[e.row][0], e.r);
        EXPECT_EQ(dColorIndex[e.row][1], e.g);
        EXPECT_EQ(dColorIndex[e.row][2], e.b);
        EXPECT_EQ(dColorIndex[e.row][3], 0.5);
    }
}

TEST(DrawingSettings, FringeColoursAreEightBitLevels)
{
    for (int row = 0; row < 257; ++row)
        EXPECT_EQ(dColorIndex[row][3], 0.5) << row;
    for (int row = 0; row < 256; ++row)
        for (int c = 0; c < 3; ++c) {
            const double v = dColorIndex[row][c];
            const long level = std::lround(v * 255.0);
            EXPECT_EQ(v, std::round(level * 10000.0 / 255.0) / 10000.0)
                << "row " << row << " component " << c;
        }
    // The ramp runs without jumps: neighbouring rows differ by a few levels.
    for (int row = 1; row < 256; ++row)
        for (int c = 0; c < 3; ++c)
            EXPECT_LE(std::fabs(dColorIndex[row][c] - dColorIndex[row - 1][c]), 9.0 / 255.0)
                << "rows " << row - 1 << " and " << row;
}

// Polygon stipple patterns (no OpenGL context needed) and the line-stipple
// sample.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>
#include <vector>

#include "glview/lumetra.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

namespace {

COGLPlgnStppl Fly()
{
    COGLPlgnStppl p;
    p.SetFly();
    return p;
}

COGLPlgnStppl HalfTone()
{
    COGLPlgnStppl p;
    p.SetHalfTone();
    return p;
}

TEST(PolygonStipple, BuiltPatterns)
{
    COGLPlgnStppl p;
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(p.GetRow(r), 0u);

    const COGLPlgnStppl half = HalfTone();
    EXPECT_EQ(half.GetRow(0), 0xAAAAAAAAu);
    EXPECT_EQ(half.GetRow(1), 0x55555555u);
    EXPECT_EQ(half.GetRow(30), 0xAAAAAAAAu);
    EXPECT_EQ(half.GetRow(31), 0x55555555u);

    // The fly, row by row, laid out as glPolygonStipple reads it.
    const std::uint32_t fly[32] = {
        0x00000000, 0x038001C0, 0x06C00360, 0x04600620, 0x04300C20, 0x04181820, 0x040C3020,
        0x04066020, 0x4403C022, 0x44018022, 0x44018022, 0x44018022, 0x44018022, 0x44018022,
        0x44018022, 0x66018066, 0x330180CC, 0x19818198, 0x0CC18330, 0x07E187E0, 0x033FFCC0,
        0x03318CC0, 0x0333CCC0, 0x06642660, 0x0CCC3330, 0x18CC3318, 0x10C42308, 0x1063C608,
        0x10300C08, 0x10181808, 0x10000008, 0x00000000};
    const COGLPlgnStppl f = Fly();
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(f.GetRow(r), fly[r]) << "row " << r;
    const std::uint8_t row1[4] = {0x03, 0x80, 0x01, 0xC0};
    EXPECT_EQ(std::vector<std::uint8_t>(f.GetPattern() + 4, f.GetPattern() + 8),
              std::vector<std::uint8_t>(row1, row1 + 4));

    p.SetDiagonal(4);
    EXPECT_EQ(p.GetRow(0), 0xC0000003u); // four bits from the left, rotated left by 2
    EXPECT_EQ(p.GetRow(1), 0xE0000001u);
    EXPECT_EQ(p.GetRow(2), 0xF0000000u);

    p.SetSolidBox(16, 8);
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(p.GetRow(r), r >= 12 && r < 20 ? 0x00FFFF00u : 0u) << "row " << r;
}

TEST(PolygonStipple, Rotations)
{
    const COGLPlgnStppl f = Fly();
    EXPECT_TRUE((f >> 33) == (f >> 1));
    EXPECT_TRUE((f >> -3) == (f << 3));
    EXPECT_TRUE((f << 32) == f);
    EXPECT_EQ((f >> 1).GetRow(1), 0x01C000E0u);
    EXPECT_EQ((f >> 4).GetRow(8), 0x24403C02u); // the right end wraps to the left
    // << 8: each row's bytes move one place left, byte 0 wrapping to byte 3.
    const COGLPlgnStppl moved = f << 8;
    for (int r = 0; r < 32; ++r)
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(moved.GetPattern()[4 * r + b], f.GetPattern()[4 * r + (b + 1) % 4]);
}

TEST(PolygonStipple, BitOperations)
{
    const COGLPlgnStppl half = HalfTone();
    COGLPlgnStppl inv = half;
    inv.Invert();
    EXPECT_TRUE(inv == (half >> 1)); // the checkerboard's complement is its shift
    inv.Invert();
    EXPECT_TRUE(inv == half);

    COGLPlgnStppl all = half;
    all += half >> 1;
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(all.GetRow(r), 0xFFFFFFFFu);
    all -= half;
    EXPECT_TRUE(all == (half >> 1));

    COGLPlgnStppl p;
    p.SetRow(0, 0x80000000u);
    p.SetRow(5, 0x12345678u);
    p.FlipHoris();
    EXPECT_EQ(p.GetRow(0), 0x00000001u);
    EXPECT_EQ(p.GetRow(5), 0x1E6A2C48u);
    EXPECT_EQ(p.GetRow(1), 0u);
}

TEST(PolygonStipple, PlotASCII)
{
    brantel::test::TempFile tmp("stipple");
    {
        CFile file(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        HalfTone().PlotASCII(&file, ' ', '0', 2);
    }
    const std::string text = tmp.readBytes<std::string>();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    EXPECT_EQ(start, text.size()); // ends with a line end
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[0], "");
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 64u);
    std::string row0;
    for (int i = 0; i < 32; ++i)
        row0 += i % 2 ? ' ' : '0';
    EXPECT_EQ(lines[1], row0 + row0);
    EXPECT_EQ(lines[2].substr(0, 4), " 0 0");
}

using LineStippleTest = brantel::test::GLTest;

// The line segments recorded in feedback mode: two (x, y) window points
// each.
std::vector<std::array<float, 4>> Feedback(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    std::vector<std::array<float, 4>> lines;
    for (int i = 0; i < n;) {
        const GLfloat token = buffer[i++];
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            lines.push_back({buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3]});
            i += 4;
        } else {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
    }
    return lines;
}

TEST_F(LineStippleTest, DrawsTheSampleAndRestoresTheState)
{
    double a[3] = {-0.5, -0.9, 0}, b[3] = {0.5, -0.9, 0}, step[3] = {0, 0.05, 0};
    const auto lines = Feedback([&] { DrawLineStipples(a, b, step); });
    ASSERT_EQ(lines.size(), 26u);
    // Window y of the first segment is (-0.9 + 1) * 64, of the last 25 steps
    // of 0.05 * 64 higher.
    EXPECT_NEAR(lines.front()[1], 6.4, 1e-3);
    EXPECT_NEAR(lines.back()[1], 6.4 + 25 * 3.2, 1e-3);
    EXPECT_NEAR(lines.back()[0], 32.0, 1e-3);
    EXPECT_NEAR(lines.back()[2], 96.0, 1e-3);
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));

    glEnable(GL_LINE_STIPPLE);
    DrawLineStipples(a, b, step);
    EXPECT_TRUE(glIsEnabled(GL_LINE_STIPPLE));
    GLint pattern = 0;
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
    EXPECT_EQ(pattern, 0x7777);
}

} // namespace

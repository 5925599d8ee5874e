// Polygon tessellation: holes under the odd winding rule, crossing
// contours and the error message.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <string>

#include "glview/lumetra.h"
#include "tests/support/gl_context.h"
#include "tests/support/message_recorder.h"

namespace {

using brantel::test::GLTest;

// Pixel of the 128 x 128 view at the point (x, y) of [-1, 1]^2.
std::array<std::uint8_t, 4> At(const brantel::test::OffscreenGL& gl, double x, double y)
{
    glFinish();
    return gl.pixel(static_cast<int>((x + 1.0) * 64.0), static_cast<int>((y + 1.0) * 64.0));
}

bool IsRed(const std::array<std::uint8_t, 4>& p)
{
    return p[0] == 255 && p[1] == 0 && p[2] == 0;
}

bool IsBlack(const std::array<std::uint8_t, 4>& p)
{
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

using TesselatorTest = GLTest;

TEST_F(TesselatorTest, SquareWithHoleLeavesTheHoleEmpty)
{
    double outer[4][3] = {{-0.8, -0.8, 0}, {0.8, -0.8, 0}, {0.8, 0.8, 0}, {-0.8, 0.8, 0}};
    double hole[4][3] = {{-0.3, -0.3, 0}, {0.3, -0.3, 0}, {0.3, 0.3, 0}, {-0.3, 0.3, 0}};
    COGLTesselator tess;
    tess.SetWindingRule(GLU_TESS_WINDING_ODD);
    tess.SetFilling(1);
    EXPECT_EQ(tess.GetWindingRule(), 100130.0);
    EXPECT_EQ(tess.GetFilling(), 1);
    glColor3f(1, 0, 0);
    tess.StartDef();
    tess.AddVertexArray(outer, 4);
    tess.ContourSeparator();
    for (auto& v : hole)
        tess.AddVertex(v);
    tess.EndDef();
    EXPECT_TRUE(IsBlack(At(*gl, 0.0, 0.0)));
    EXPECT_TRUE(IsRed(At(*gl, -0.55, 0.0)));
    EXPECT_TRUE(IsRed(At(*gl, 0.0, 0.6)));
    EXPECT_TRUE(IsBlack(At(*gl, 0.9, 0.9)));
}

TEST_F(TesselatorTest, OutlinesOnlyLeaveTheInsideEmpty)
{
    double square[4][3] = {{-0.8, -0.8, 0}, {0.8, -0.8, 0}, {0.8, 0.8, 0}, {-0.8, 0.8, 0}};
    COGLTesselator tess;
    tess.SetFilling(0);
    EXPECT_EQ(tess.GetFilling(), 0);
    glColor3f(1, 0, 0);
    tess.StartDef();
    tess.AddVertexArray(square, 4);
    tess.EndDef();
    EXPECT_TRUE(IsBlack(At(*gl, 0.0, 0.0)));
}

TEST_F(TesselatorTest, CrossingContoursFreeTheirVerticesAtTheEnd)
{
    // A bow-tie: its edges cross at the origin, where the tessellator needs
    // a new vertex.
    double bow[4][3] = {{-0.8, -0.8, 0}, {0.8, 0.8, 0}, {0.8, -0.8, 0}, {-0.8, 0.8, 0}};
    COGLTesselator tess;
    tess.SetWindingRule(GLU_TESS_WINDING_NONZERO);
    glColor3f(1, 0, 0);
    tess.StartDef();
    tess.AddVertexArray(bow, 4);
    tess.EndDef();
    EXPECT_EQ(COGLTesselator::GetCombineCount(), 0);
    EXPECT_TRUE(IsRed(At(*gl, 0.6, 0.0)));
    EXPECT_TRUE(IsRed(At(*gl, -0.6, 0.0)));
    EXPECT_TRUE(IsBlack(At(*gl, 0.0, 0.6)));

    // The next polygon starts from an empty list and draws normally.
    glClear(GL_COLOR_BUFFER_BIT);
    double tri[3][3] = {{-0.5, -0.5, 0}, {0.5, -0.5, 0}, {0.0, 0.5, 0}};
    tess.StartDef();
    EXPECT_EQ(COGLTesselator::GetCombineCount(), 0);
    tess.AddVertexArray(tri, 3);
    tess.EndDef();
    EXPECT_TRUE(IsRed(At(*gl, 0.0, 0.0)));
    EXPECT_TRUE(IsBlack(At(*gl, 0.6, 0.0)));
}

TEST(Tesselator, ErrorsGoToTheMessageService)
{
    brantel::test::MessageRecorder recorder;
    double v[3] = {0, 0, 0};
    COGLTesselator tess;
    tess.AddVertex(v); // no polygon begun
    ASSERT_FALSE(recorder.messages().empty());
    const auto& m = recorder.messages().front();
    const std::string expected =
        std::string("Tessellation/Quadric Error: ") +
        reinterpret_cast<const char*>(gluErrorString(GLU_TESS_MISSING_BEGIN_POLYGON)) + "\n";
    EXPECT_EQ(m.text, expected);
    EXPECT_EQ(m.type & MB_ICONMASK, MB_ICONEXCLAMATION);
}

} // namespace

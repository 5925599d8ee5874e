// The picture slots of printable documents, and drawing one picture of a
// document on OSMesa.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "glstyle/drawing_settings.h"
#include "glview/lumetra.h"
#include "tests/lumetra/printdoc_test_util.h"
#include "tests/support/gl_context.h"

namespace {

const double kBox[6] = {-1.0, 1.0, -1.0, 1.0, -1.0, 1.0};
const double kNoMove[6] = {};
const float kColour[4] = {0.1f, 0.2f, 0.3f, 0.4f};

// Adds a picture told apart by iParam.
bool add(COGLPrintImages& images, int iParam, int slot = -1, unsigned int flags = 0)
{
    return images.AddImage(kBox, kNoMove, iParam, 0.5 * iParam, kColour, flags, slot);
}

std::vector<int> usedParams(const COGLPrintImages& images)
{
    std::vector<int> params;
    for (int slot = 0; slot < COGLPrintImages::kSlots; ++slot)
        params.push_back(images.GetImage(slot).bUsed ? images.GetImage(slot).iParam : -1);
    return params;
}

TEST(PrintImages, AddFillsTheFirstFreeSlotOrTheOneGiven)
{
    COGLPrintImages images;
    for (int slot = 0; slot <= COGLPrintImages::kTmpSlot; ++slot)
        EXPECT_FALSE(images.GetImage(slot).bUsed) << slot;

    const double box[6] = {1, 2, 3, 4, 5, 6};
    const double move[6] = {7, 8, 9, 10, 11, 12};
    ASSERT_TRUE(images.AddImage(box, move, 42, 2.5, kColour, 0x112, -1));
    const PrintImage& first = images.GetImage(0);
    EXPECT_TRUE(first.bUsed);
    EXPECT_TRUE(std::equal(box, box + 6, first.dBox));
    EXPECT_TRUE(std::equal(move, move + 6, first.dTransform));
    EXPECT_EQ(first.uFlags, 0x112u);
    EXPECT_EQ(first.iParam, 42);
    EXPECT_EQ(first.dParam, 2.5);
    EXPECT_TRUE(std::equal(kColour, kColour + 4, first.fColor));

    EXPECT_TRUE(add(images, 5, 5));  // the slot given
    EXPECT_TRUE(add(images, 1, -1)); // the first free one
    EXPECT_TRUE(add(images, 6, 5));  // overwrites
    EXPECT_EQ(images.GetImage(1).iParam, 1);
    EXPECT_EQ(images.GetImage(5).iParam, 6);
    EXPECT_FALSE(add(images, 99, 20));
    EXPECT_FALSE(add(images, 99, 1000));
    EXPECT_FALSE(images.GetImage(COGLPrintImages::kTmpSlot).bUsed);

    for (int k = 0; k < 17; ++k)
        EXPECT_TRUE(add(images, 100 + k)) << k;
    EXPECT_FALSE(add(images, 99)); // all 20 used
    EXPECT_EQ(usedParams(images).back(), 116);
}

TEST(PrintImages, DeleteMovesTheLaterPicturesDown)
{
    COGLPrintImages images;
    for (int k = 0; k < 3; ++k)
        ASSERT_TRUE(add(images, 10 + k));
    ASSERT_TRUE(add(images, 19, 19));

    images.DeleteImage(0);
    std::vector<int> expected(20, -1);
    expected[0] = 11;
    expected[1] = 12;
    expected[18] = 19;
    EXPECT_EQ(usedParams(images), expected);

    for (int slot : {-1, 20, 21, 500}) // ignored
        images.DeleteImage(slot);
    EXPECT_EQ(usedParams(images), expected);

    images.DeleteImage(18);
    expected[18] = -1;
    EXPECT_EQ(usedParams(images), expected);
    EXPECT_FALSE(images.GetImage(19).bUsed);
}

TEST(PrintImages, TemporarySlotKeepsTheColourAsFloats)
{
    COGLPrintImages images;
    const double colour[4] = {0.25, 0.1, 1.0 / 3.0, 1.0};
    images.SetTmpImage(kBox, kNoMove, 3, 1.5, colour, 0x20);
    images.SetTmpImage(kBox, kNoMove, 4, 2.5, colour, 0x20); // always the same slot
    const PrintImage& tmp = images.GetImage(COGLPrintImages::kTmpSlot);
    EXPECT_TRUE(tmp.bUsed);
    EXPECT_EQ(tmp.iParam, 4);
    EXPECT_EQ(tmp.dParam, 2.5);
    EXPECT_EQ(tmp.uFlags, 0x20u);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(tmp.fColor[c], static_cast<float>(colour[c])) << c;
    EXPECT_EQ(usedParams(images), std::vector<int>(20, -1)); // slots 0-19 untouched
    EXPECT_FALSE(images.GetImage(21).bUsed);
    EXPECT_FALSE(images.GetImage(-1).bUsed);
}

using testdoc::ContentCall;

class PrintImageGL : public brantel::test::GLTest {
protected:
    void TearDown() override
    {
        bLightOn[1] = false;
        GLTest::TearDown();
    }
};

TEST_F(PrintImageGL, FlagsChooseTheModeAndTheState)
{
    struct Case {
        unsigned int flags;
        int mode;
    };
    const Case cases[] = {{0x0, 6}, {0x2, 1}, {0x10, 2}, {0x12, 3}, {0x20, 6}, {0x100, 6}, {0x132, 3}, {0x4, 6}};
    bLightOn[1] = true; // lights 1 and 2 on, 3 off
    for (const Case& c : cases) {
        testdoc::PrintDoc doc;
        ASSERT_TRUE(doc.AddImage(kBox, kNoMove, 0, 0.0, kColour, c.flags, 0));
        glDisable(GL_LIGHTING);
        glEnable(GL_BLEND);
        doc.DrawImageGL(0);
        ASSERT_EQ(doc.calls.size(), 1u);
        const ContentCall& call = doc.calls[0];
        EXPECT_EQ(call.mode, c.mode) << c.flags;
        EXPECT_EQ(call.flags, c.flags);
        const bool blend = (c.flags & 0x20) != 0;
        EXPECT_EQ(call.blend, blend) << c.flags;
        if (blend) {
            EXPECT_EQ(call.blendSrc, GL_SRC_ALPHA);
            EXPECT_EQ(call.blendDst, GL_ONE_MINUS_SRC_ALPHA);
        }
        EXPECT_TRUE(call.depthTest);
        EXPECT_EQ(call.depthFunc, GL_LEQUAL);
        const bool light = (c.flags & 0x100) != 0;
        EXPECT_EQ(call.lighting, light) << c.flags;
        if (light) {
            EXPECT_TRUE(call.lights[0]);
            EXPECT_TRUE(call.lights[1]);
            EXPECT_FALSE(call.lights[2]);
            EXPECT_TRUE(call.colorMaterial);
        }
    }
}

TEST_F(PrintImageGL, SharedLightSettingsReachOpenGL)
{
    bLightOn[1] = true;
    testdoc::PrintDoc doc;
    ASSERT_TRUE(doc.AddImage(kBox, kNoMove, 0, 0.0, kColour, 0x100, 0));
    doc.DrawImageGL(0);
    GLfloat v[4];
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, v);
    EXPECT_TRUE(std::equal(v, v + 4, diffuseLight2));
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, v);
    EXPECT_TRUE(std::equal(v, v + 4, specularLight1));
    glGetMaterialfv(GL_BACK, GL_SPECULAR, v);
    EXPECT_TRUE(std::equal(v, v + 4, mat_specular));
    glGetMaterialfv(GL_FRONT, GL_SHININESS, v);
    EXPECT_EQ(v[0], mat_shininess[0]);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
    EXPECT_TRUE(std::equal(v, v + 4, lmodel_ambient));
    GLint mode = 0;
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &mode);
    EXPECT_EQ(mode, GL_AMBIENT_AND_DIFFUSE);
}

TEST_F(PrintImageGL, VolumeAndPlacement)
{
    testdoc::PrintDoc doc;
    const double box[6] = {0.0, 4.0, -2.0, 2.0, -5.0, 5.0};
    const double move[6] = {1.0, 2.0, 3.0, 0.0, 0.0, 90.0};
    ASSERT_TRUE(doc.AddImage(box, move, 0, 0.0, kColour, 0, 3));
    doc.DrawImageGL(3);
    ASSERT_EQ(doc.calls.size(), 1u);
    const ContentCall& call = doc.calls[0];
    const double kTol = 1e-6; // OpenGL keeps its matrices in floats
    // glOrtho(0, 4, -2, 2, -5, 5).
    EXPECT_NEAR(call.projection[0], 0.5, kTol);
    EXPECT_NEAR(call.projection[5], 0.5, kTol);
    EXPECT_NEAR(call.projection[10], -0.2, kTol);
    EXPECT_NEAR(call.projection[12], -1.0, kTol);
    EXPECT_NEAR(call.projection[13], 0.0, kTol);
    // Translated by (1, 2, 3), then turned by 90 degrees about z: x goes to y.
    EXPECT_NEAR(call.modelview[0], 0.0, kTol);
    EXPECT_NEAR(call.modelview[1], 1.0, kTol);
    EXPECT_NEAR(call.modelview[4], -1.0, kTol);
    EXPECT_NEAR(call.modelview[12], 1.0, kTol);
    EXPECT_NEAR(call.modelview[13], 2.0, kTol);
    EXPECT_NEAR(call.modelview[14], 3.0, kTol);
    // Afterwards the modelview is the identity again.
    GLdouble after[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, after);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(after[k], k % 5 == 0 ? 1.0 : 0.0) << k;

    // Slots outside 0-20 draw nothing; the temporary slot draws.
    doc.DrawImageGL(21);
    doc.DrawImageGL(-1);
    EXPECT_EQ(doc.calls.size(), 1u);
    const double colour[4] = {1, 1, 1, 1};
    doc.SetTmpImage(box, move, 0, 0.0, colour, 0x2);
    doc.DrawImageGL(COGLPrintImages::kTmpSlot);
    ASSERT_EQ(doc.calls.size(), 2u);
    EXPECT_EQ(doc.calls[1].mode, 1);
}

TEST_F(PrintImageGL, FrameRunsRoundTheVolume)
{
    // The picture covers pixels 16 to 111 of the 128 x 128 surface.
    glViewport(16, 16, 96, 96);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    testdoc::PrintDoc doc;
    const double box[6] = {-3.0, 3.0, -3.0, 3.0, -1.0, 1.0};
    ASSERT_TRUE(doc.AddImage(box, kNoMove, 0, 0.0, kColour, 0, 0));
    doc.DrawImageGL(0);

    const auto lit = [this](int x, int y) {
        const auto p = gl->pixel(x, y);
        return p[0] != 0 || p[1] != 0 || p[2] != 0;
    };
    // A border line lies on the pixel row or column on either side of the
    // picture's edge.
    const auto litNear = [&](int x0, int x1, int y0, int y1) {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                if (lit(x, y))
                    return true;
        return false;
    };
    for (int along : {30, 64, 100}) {
        EXPECT_TRUE(litNear(15, 16, along, along)) << "left, y " << along;
        EXPECT_TRUE(litNear(111, 112, along, along)) << "right, y " << along;
        EXPECT_TRUE(litNear(along, along, 15, 16)) << "bottom, x " << along;
        EXPECT_TRUE(litNear(along, along, 111, 112)) << "top, x " << along;
    }
    EXPECT_FALSE(lit(64, 64));  // nothing inside
    EXPECT_FALSE(lit(8, 64));   // nor outside
    EXPECT_FALSE(lit(64, 120)); // nor outside
    // In the material colour (1.0, 0.5, 0.5).
    const auto p = lit(16, 64) ? gl->pixel(16, 64) : gl->pixel(15, 64);
    EXPECT_EQ(p[0], 255);
    EXPECT_NEAR(p[1], 128, 1);
}

} // namespace

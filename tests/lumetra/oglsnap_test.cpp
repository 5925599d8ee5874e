// Copying a view's client area to the clipboard: a bottom-up 24-bit DIB of
// BGR pixels whose width is cut down to a multiple of 4.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "glview/lumetra.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/osmesasurface.h"

using afxui::headless::HeadlessApp;

namespace {

class SnapClient : public HeadlessApp {
protected:
    void SetUp() override { COGLRenderer::ResetStaticsForTesting(); }
    void TearDown() override
    {
        COGLRenderer::ResetStaticsForTesting();
        HeadlessApp::TearDown();
    }
};

TEST_F(SnapClient, ClientAreaBecomesABottomUpBgrDib)
{
    COSMesaSurface surface(250, 30);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    const float blue[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 250, 30), blue), 0);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 250, 0, 30, -1, 1);
    glColor3ub(200, 100, 50);
    glRectf(0, 0, 10, 5); // bottom-left corner
    renderer.FinishAndSwap(true);

    COSMesaSurface other(8, 8);
    ASSERT_TRUE(other.MakeCurrent());
    ASSERT_TRUE(renderer.SnapToClipboard(250, 30));
    EXPECT_TRUE(other.IsCurrent());

    ASSERT_EQ(Clipboard().Images().size(), 1u);
    const auto& image = Clipboard().Images()[0];
    EXPECT_EQ(image.header.biSize, 40u);
    EXPECT_EQ(image.header.biWidth, 248);
    EXPECT_EQ(image.header.biHeight, 30);
    EXPECT_EQ(image.header.biPlanes, 1);
    EXPECT_EQ(image.header.biBitCount, 24);
    EXPECT_EQ(image.header.biCompression, BI_RGB);
    EXPECT_EQ(image.header.biSizeImage, 248u * 30u * 3u);
    ASSERT_EQ(image.bits.size(), 248u * 30u * 3u);
    // The first row is the bottom one; bytes are blue, green, red.
    EXPECT_EQ(image.bits[0], 50);
    EXPECT_EQ(image.bits[1], 100);
    EXPECT_EQ(image.bits[2], 200);
    const std::size_t top = (29u * 248u + 100u) * 3u;
    EXPECT_EQ(image.bits[top], 255);
    EXPECT_EQ(image.bits[top + 2], 0);
    renderer.CleanUp();
}

TEST_F(SnapClient, NothingWithoutAContext)
{
    COGLRenderer renderer;
    EXPECT_FALSE(renderer.SnapToClipboard(100, 100));
    CNullGLSurface null;
    EXPECT_EQ(renderer.InitializeOGL(&null), 3);
    EXPECT_FALSE(renderer.SnapToClipboard(100, 100));
    EXPECT_TRUE(Clipboard().Images().empty());
}

} // namespace

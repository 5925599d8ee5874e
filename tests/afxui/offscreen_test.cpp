// Off-screen images through OSMesa: bottom-up BGR/BGRA bitmaps with rows
// padded to 4 bytes, and clean failures that leave the current context.
#include <cstdint>

#include <gtest/gtest.h>

#include "platform/afx/gdi.h"
#include "platform/ui/osmesa/osmesaoffscreen.h"
#include "platform/ui/osmesa/osmesasurface.h"

namespace {

// Clears the current context to blue and draws a red band over the top
// `band` rows (y counted from the top of the image, as a scene is seen).
void DrawBandScene(int width, int height, int band)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1); // y down, as in the view
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 0, 0);
    glRecti(0, 0, width, band);
}

// Blue, green, red of the pixel at (x, row) of a bottom-up bitmap.
struct Bgr {
    std::uint8_t b, g, r;
    bool operator==(const Bgr&) const = default;
};
Bgr At(const IOffscreenImage& image, int x, int row)
{
    const std::uint8_t* p =
        image.Bits() + image.Stride() * static_cast<std::size_t>(row) + x * (image.BitCount() / 8);
    return {p[0], p[1], p[2]};
}

constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kBlue{255, 0, 0};

} // namespace

TEST(OffscreenImage, LargeSceneIsABottomUpBgrBitmap)
{
    // The one large render of this program (about 0.7 s and 290 MB).
    COSMesaOffscreenFactory factory;
    OffscreenResult result = factory.Create({4000, 3000}, 24);
    ASSERT_TRUE(result.image) << static_cast<int>(result.failure);
    IOffscreenImage& image = *result.image;
    DrawBandScene(4000, 3000, 100);
    ASSERT_TRUE(image.Finish());
    EXPECT_EQ(image.Stride(), 12000u);
    EXPECT_EQ(image.Stride() % 4, 0u);
    // The band at the top of the scene lies in the last rows of the buffer.
    for (int row : {2900, 2950, 2999})
        for (int x : {0, 1999, 3999})
            EXPECT_EQ(At(image, x, row), kRed) << x << "," << row;
    for (int row : {0, 1500, 2899})
        for (int x : {0, 3999})
            EXPECT_EQ(At(image, x, row), kBlue) << x << "," << row;
}

TEST(OffscreenImage, RowsArePaddedToWholeWords)
{
    struct Case {
        int width;
        int bits;
        std::size_t stride;
    };
    for (const Case c : {Case{4001, 24, 12004}, Case{5, 24, 16}, Case{7, 32, 28}}) {
        SCOPED_TRACE(c.width);
        COSMesaOffscreenFactory factory;
        OffscreenResult result = factory.Create({c.width, 6}, c.bits);
        ASSERT_TRUE(result.image);
        IOffscreenImage& image = *result.image;
        DrawBandScene(c.width, 6, 2);
        ASSERT_TRUE(image.Finish());
        EXPECT_EQ(image.BitCount(), c.bits);
        EXPECT_EQ(image.Stride(), c.stride);
        EXPECT_EQ(image.Stride(), DibStride(static_cast<std::size_t>(c.width), c.bits));
        // Each row starts on its own stride: the last pixel of every row
        // and the first of the next have the scene's colours.
        for (int row = 0; row < 6; ++row) {
            const Bgr want = row >= 4 ? kRed : kBlue;
            EXPECT_EQ(At(image, 0, row), want) << row;
            EXPECT_EQ(At(image, c.width - 1, row), want) << row;
        }
        if (c.bits == 32) {
            EXPECT_EQ(image.Bits()[3], 255); // alpha of the cleared colour
        }
    }
}

TEST(OffscreenImage, ImageGivesBackThePreviouslyCurrentContext)
{
    COSMesaSurface view(16, 16);
    ASSERT_TRUE(view.MakeCurrent());
    GLuint list = glGenLists(1);
    ASSERT_NE(list, 0u);
    glNewList(list, GL_COMPILE);
    glEndList();
    COSMesaOffscreenFactory factory;
    {
        OffscreenResult result = factory.Create({32, 8}, 32);
        ASSERT_TRUE(result.image);
        EXPECT_FALSE(view.IsCurrent());
        // The image's context is private: the view's lists are not there.
        EXPECT_FALSE(glIsList(list));
        DrawBandScene(32, 8, 1);
        ASSERT_TRUE(result.image->Finish());
        EXPECT_TRUE(view.IsCurrent());
    }
    EXPECT_TRUE(view.IsCurrent());
    EXPECT_TRUE(glIsList(list));
    {
        // An image dropped unfinished hands back the context as well.
        OffscreenResult result = factory.Create({8, 8}, 24);
        ASSERT_TRUE(result.image);
    }
    EXPECT_TRUE(view.IsCurrent());
}

TEST(OffscreenImage, RefusedRequestsAllocateNothingAndKeepTheContext)
{
    COSMesaSurface view(16, 16);
    ASSERT_TRUE(view.MakeCurrent());
    COSMesaOffscreenFactory factory;
    const GLPixelSize max = factory.MaxSize();
    ASSERT_GE(max.cx, 4000);
    ASSERT_GE(max.cy, 3000);
    struct Case {
        GLPixelSize size;
        int bits;
        OffscreenFailure failure;
    };
    const Case cases[] = {
        {{max.cx + 1, 10}, 24, OffscreenFailure::TooLarge},
        {{10, max.cy + 1}, 32, OffscreenFailure::TooLarge},
        {{0, 10}, 24, OffscreenFailure::BadRequest},
        {{10, -1}, 24, OffscreenFailure::BadRequest},
        {{10, 10}, 16, OffscreenFailure::BadRequest},
    };
    for (const Case& c : cases) {
        const OffscreenResult result = factory.Create(c.size, c.bits);
        EXPECT_EQ(result.image, nullptr);
        EXPECT_EQ(result.failure, c.failure) << c.size.cx << " x " << c.size.cy;
        EXPECT_EQ(result.limit.cx, max.cx);
        EXPECT_EQ(result.limit.cy, max.cy);
        EXPECT_TRUE(view.IsCurrent());
    }
}

// Glyph lists shared per font in a share group: every name comes from
// glGenLists, each view keeps its own list base, and the lists go with the
// last reference.
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/core/glyphcache.h"
#include "platform/ui/core/glyphsource.h"
#include "platform/ui/osmesa/osmesasurface.h"
#include "tests/afxui/gl_helpers.h"

using namespace brantel::test;

namespace {

LOGFONT Font(LONG height, const char* face = "Times New Roman")
{
    LOGFONT font{};
    font.lfHeight = height;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

// Every byte from 32 is a solid square whose side is the font's height
// times the device pixel ratio, so fonts are told apart by their pixels.
// Notes the unpacking alignment in force while glyphs are asked for.
class BlockGlyphs : public IGlyphSource {
public:
    GlyphBitmap Glyph(const LOGFONT& font, double ratio, unsigned char code) const override
    {
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        alignments.push_back(alignment);
        GlyphBitmap glyph;
        if (code < 32)
            return glyph;
        const int side = static_cast<int>(std::abs(font.lfHeight) * ratio);
        glyph.width = glyph.height = side;
        glyph.advance = static_cast<float>(side + 1);
        const int rowBytes = (side + 7) / 8;
        glyph.bits.assign(static_cast<std::size_t>(rowBytes) * side, 0);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                glyph.bits[static_cast<std::size_t>(y * rowBytes + x / 8)] |= 0x80 >> (x % 8);
        return glyph;
    }
    mutable std::vector<GLint> alignments;
};

class GlyphCacheTest : public ::testing::Test {
protected:
    void SetUp() override { AfxSetGlyphSource(&source); }
    void TearDown() override { AfxSetGlyphSource(nullptr); }

    // Lit pixels of "A" drawn at (2, 2) with the surface's list base.
    static int TextPixels(COSMesaSurface& surface)
    {
        if (!PreparePixelSpace(surface))
            return -1;
        DrawText(2, 2, "A");
        return LitPixels(surface);
    }

    BlockGlyphs source;
};

} // namespace

TEST_F(GlyphCacheTest, ViewsOfOneShareGroupKeepTheirOwnFonts)
{
    COSMesaSurface a(32, 32);
    COSMesaSurface b(32, 32, &a);
    ASSERT_EQ(a.ShareGroup(), b.ShareGroup());
    CGlyphFont fontA;
    CGlyphFont fontB;
    ASSERT_TRUE(fontA.Create(a, Font(8)));
    ASSERT_TRUE(fontB.Create(b, Font(4)));
    EXPECT_NE(fontA.ListBase(), fontB.ListBase());
    EXPECT_EQ(TextPixels(a), 64);
    EXPECT_EQ(TextPixels(b), 16);

    // Releasing b's font leaves a's text as it was; the last reference
    // deletes the lists.
    const GLuint baseB = fontB.ListBase();
    fontB.Release();
    ASSERT_TRUE(a.MakeCurrent());
    EXPECT_FALSE(glIsList(baseB + 'A'));
    EXPECT_EQ(TextPixels(a), 64);
    const GLuint baseA = fontA.ListBase();
    fontA.Release();
    ASSERT_TRUE(a.MakeCurrent());
    EXPECT_FALSE(glIsList(baseA + 'A'));
    EXPECT_EQ(AfxGetGlyphListCache().Size(), 0u);
}

TEST_F(GlyphCacheTest, OneFontIsBuiltOncePerShareGroupAndDevicePixelRatio)
{
    COSMesaSurface a(32, 32);
    COSMesaSurface b(32, 32, &a);
    COSMesaSurface c(32, 32, &a);
    c.SetDevicePixelRatio(2.0);
    COSMesaSurface alone(32, 32);
    // The same font, though b's record carries bytes behind the face name.
    LOGFONT same = Font(4);
    std::memset(same.lfFaceName + 16, 'x', 8);
    CGlyphFont fontA, fontB, fontC, fontAlone;
    ASSERT_TRUE(fontA.Create(a, Font(4)));
    const std::size_t built = source.alignments.size();
    ASSERT_TRUE(fontB.Create(b, same));
    EXPECT_EQ(source.alignments.size(), built) << "the shared lists were built again";
    EXPECT_EQ(fontA.ListBase(), fontB.ListBase());
    EXPECT_EQ(AfxGetGlyphListCache().References(a.ShareGroup(), fontA.ListBase()), 2);
    ASSERT_TRUE(fontC.Create(c, Font(4)));
    EXPECT_NE(fontC.ListBase(), fontA.ListBase());
    EXPECT_EQ(TextPixels(c), 64);
    ASSERT_TRUE(fontAlone.Create(alone, Font(4)));
    EXPECT_EQ(AfxGetGlyphListCache().Size(), 3u);

    // One reference dropped: the other view still draws its text.
    fontA.Release();
    EXPECT_EQ(TextPixels(b), 16);
    fontB.Release();
    ASSERT_TRUE(b.MakeCurrent());
    EXPECT_EQ(glIsList(fontC.ListBase() + 'A'), GL_TRUE);
    // A new font replaces the view's reference.
    ASSERT_TRUE(fontC.Create(c, Font(3)));
    EXPECT_EQ(TextPixels(c), 36);
    fontC.Release();
    fontAlone.Release();
    EXPECT_EQ(AfxGetGlyphListCache().Size(), 0u);
}

TEST_F(GlyphCacheTest, GlyphListsNeverTakeNamesOtherListsHold)
{
    // View a reserved 1300 names and compiled a scene into name 1000, where
    // fixed glyph lists used to live.
    COSMesaSurface a(32, 32);
    COSMesaSurface b(32, 32, &a);
    ASSERT_TRUE(PreparePixelSpace(a));
    const GLuint first = glGenLists(1300);
    ASSERT_LE(first, 1000u);
    ASSERT_GT(first + 1300, 1000u);
    glNewList(1000, GL_COMPILE);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(10, 0);
    glVertex2i(10, 5);
    glVertex2i(0, 5);
    glEnd();
    glEndList();

    CGlyphFont fontB;
    ASSERT_TRUE(fontB.Create(b, Font(6)));
    EXPECT_TRUE(fontB.ListBase() >= first + 1300
                || fontB.ListBase() + CGlyphListCache::kListCount <= first);

    ASSERT_TRUE(PreparePixelSpace(a));
    glCallList(1000);
    EXPECT_EQ(LitPixels(a), 50);
    EXPECT_EQ(LitPixels(a, 0, 0, 10, 5), 50);
    EXPECT_EQ(TextPixels(b), 36);
}

TEST_F(GlyphCacheTest, ListsAreBuiltWithByteAlignmentAndTheOldOneComesBack)
{
    COSMesaSurface a(16, 16);
    ASSERT_TRUE(a.MakeCurrent());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    CGlyphFont font;
    ASSERT_TRUE(font.Create(a, Font(5)));
    ASSERT_EQ(source.alignments.size(), static_cast<std::size_t>(CGlyphListCache::kListCount));
    for (GLint alignment : source.alignments)
        EXPECT_EQ(alignment, 1);
    GLint after = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &after);
    EXPECT_EQ(after, 8);
    // The 5-pixel rows are one byte each: with another alignment the
    // squares would come out sheared.
    EXPECT_EQ(TextPixels(a), 25);
    EXPECT_EQ(LitPixels(a, 2, 2, 7, 7), 25);
}

TEST_F(GlyphCacheTest, FontsAreMadeOnlyWithAContext)
{
    CNullGLSurface null;
    CGlyphFont font;
    EXPECT_FALSE(font.Create(null, Font(4)));
    EXPECT_EQ(font.ListBase(), 0u);
    EXPECT_TRUE(source.alignments.empty());
}

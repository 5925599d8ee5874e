// The built-in 6 x 13 font: every view and test draws text with it when no
// other glyph source is installed.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/ui/core/glyphcache.h"
#include "platform/ui/core/glyphsource.h"
#include "platform/ui/osmesa/osmesasurface.h"
#include "tests/afxui/gl_helpers.h"

using namespace brantel::test;

namespace {

constexpr int kW = CFixedGlyphSource::kCellWidth;
constexpr int kH = CFixedGlyphSource::kCellHeight;
constexpr int kDescent = CFixedGlyphSource::kDescent;

int Ink(const GlyphBitmap& glyph)
{
    int ink = 0;
    for (unsigned char row : glyph.bits)
        ink += __builtin_popcount(row);
    return ink;
}

class FixedFontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PreparePixelSpace(surface));
        ASSERT_TRUE(font.Create(surface, LOGFONT{}));
    }

    // Draws text with its baseline at (x, y) and checks every cell: some
    // lit pixels inside each, none outside the cells.
    void ExpectCells(std::string_view text, int x, int y)
    {
        ASSERT_TRUE(PreparePixelSpace(surface));
        DrawText(x, y, text);
        GLfloat raster[4] = {};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
        EXPECT_EQ(raster[0], x + kW * static_cast<float>(text.size()));
        const int bottom = y - kDescent;
        int inside = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int left = x + kW * static_cast<int>(i);
            const int lit = LitPixels(surface, left, bottom, left + kW, bottom + kH);
            EXPECT_GT(lit, 0) << "no pixels for byte " << int(static_cast<unsigned char>(text[i]));
            inside += lit;
        }
        EXPECT_EQ(LitPixels(surface), inside) << "pixels outside the glyph cells";
    }

    COSMesaSurface surface{80, 24};
    CGlyphFont font;
};

} // namespace

TEST_F(FixedFontTest, UnitTextRendersAsOneGlyphPerByte)
{
    // "kN/m²" in code page 1252: five bytes, five glyphs.
    ExpectCells("kN/m\xB2", 4, 6);
    ExpectCells("\xA7\xB3", 10, 4);
}

TEST_F(FixedFontTest, LatinAndSymbolBytesHaveTheirOwnGlyphs)
{
    const CFixedGlyphSource fixed;
    const LOGFONT any{};
    // Superscripts differ from their digits and sit higher.
    const GlyphBitmap two = fixed.Glyph(any, 1.0, '2');
    const GlyphBitmap squared = fixed.Glyph(any, 1.0, 0xB2);
    EXPECT_NE(two.bits, squared.bits);
    EXPECT_EQ(squared.bits[0] | squared.bits[1] | squared.bits[2], 0) << "² reaches the baseline";
    EXPECT_NE(fixed.Glyph(any, 1.0, '3').bits, fixed.Glyph(any, 1.0, 0xB3).bits);
    // Bytes 0x80-0x9F are code page 1252 (the euro sign), not controls.
    EXPECT_GT(Ink(fixed.Glyph(any, 1.0, 0x80)), 0);
    EXPECT_NE(fixed.Glyph(any, 1.0, 0x80).bits, fixed.Glyph(any, 1.0, 'C').bits);

    for (int code = 0; code < 256; ++code) {
        const GlyphBitmap glyph = fixed.Glyph(any, 1.0, static_cast<unsigned char>(code));
        if (code < 32) {
            EXPECT_EQ(glyph.advance, 0) << code;
            continue;
        }
        EXPECT_EQ(glyph.width, kW);
        EXPECT_EQ(glyph.height, kH);
        EXPECT_EQ(glyph.advance, kW);
        ASSERT_EQ(glyph.bits.size(), static_cast<std::size_t>(kH)) << code;
        for (unsigned char row : glyph.bits)
            EXPECT_EQ(row & 0x03, 0) << "ink outside the 6-pixel cell of " << code;
        const bool visible = (code > 32 && code < 127) || code == 0xA7 || code == 0xB2
            || code == 0xB3 || code == 0xE4 || code == 0xDF;
        if (visible) {
            EXPECT_GT(Ink(glyph), 0) << code;
        }
    }
    EXPECT_EQ(Ink(fixed.Glyph(any, 1.0, ' ')), 0);
}

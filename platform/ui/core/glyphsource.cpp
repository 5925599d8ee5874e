#include "platform/ui/core/glyphsource.h"

#include <algorithm>
#include <atomic>

namespace {

// Rows top-down for bytes 32-255; the high 6 bits of a byte are the pixels.
constexpr std::uint8_t kFixedFont[224][CFixedGlyphSource::kCellHeight] = {
#include "platform/ui/core/fixedfont6x13.inc"
};

std::atomic<IGlyphSource*> g_source{nullptr};

} // namespace

GlyphBitmap CFixedGlyphSource::Glyph(const LOGFONT&, double, unsigned char code) const
{
    GlyphBitmap glyph;
    if (code < 32)
        return glyph;
    glyph.width = kCellWidth;
    glyph.height = kCellHeight;
    glyph.yorig = kDescent;
    glyph.advance = kCellWidth;
    const std::uint8_t* rows = kFixedFont[code - 32];
    glyph.bits.assign(rows, rows + kCellHeight);
    // glBitmap wants the bottom row first.
    std::reverse(glyph.bits.begin(), glyph.bits.end());
    return glyph;
}

IGlyphSource& AfxGetGlyphSource()
{
    static CFixedGlyphSource fixed;
    IGlyphSource* source = g_source.load();
    return source ? *source : fixed;
}

void AfxSetGlyphSource(IGlyphSource* source)
{
    g_source.store(source);
}

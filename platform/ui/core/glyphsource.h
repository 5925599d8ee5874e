// Glyph source service: turns the bytes of a font (code page 1252) into
// 1-bit images for bitmap text in OpenGL views. The window host installs
// one that renders the system's fonts; without one, a built-in fixed 6 x 13
// font serves every face, so text looks the same on every machine.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/core/logfont.h"

// One glyph in the layout glBitmap takes with GL_UNPACK_ALIGNMENT 1: rows
// from the bottom up, each row (width + 7) / 8 bytes, the leftmost pixel in
// the high bit of the first byte.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    float xorig = 0;       // origin inside the image, from its left edge
    float yorig = 0;       // and from its bottom row (the descent)
    float advance = 0;     // raster position step after the glyph
    std::vector<std::uint8_t> bits;
};

class IGlyphSource {
public:
    virtual ~IGlyphSource() = default;
    // The glyph of one byte of the font at the given device pixel ratio. A
    // byte without a glyph gives an empty image (it may still advance).
    virtual GlyphBitmap Glyph(const LOGFONT& font, double devicePixelRatio,
                              unsigned char code) const = 0;
    // Whether the source can render the font's face; a view falls back to
    // the system font for a face it cannot. The built-in font serves all.
    virtual bool HasFace(const LOGFONT&) const { return true; }
};

// The fixed font: 6 x 13 cells for bytes 32-255 whatever the face, 2 rows
// below the baseline; bytes below 32 are empty and do not advance.
class CFixedGlyphSource : public IGlyphSource {
public:
    static constexpr int kCellWidth = 6;
    static constexpr int kCellHeight = 13;
    static constexpr int kDescent = 2;

    GlyphBitmap Glyph(const LOGFONT& font, double devicePixelRatio,
                      unsigned char code) const override;
};

// The installed glyph source; the built-in fixed font when none is.
IGlyphSource& AfxGetGlyphSource();
// Installs a source (null: back to the built-in font). The caller keeps it
// alive while it is installed.
void AfxSetGlyphSource(IGlyphSource* source);

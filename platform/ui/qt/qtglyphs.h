// The glyph source of OpenGL text on Qt: 1-bit images of the LOGFONT face
// rendered by QFont/QPainter without anti-aliasing, at the font's pixel
// height times the device pixel ratio, with its weight and italic. Bytes
// are code page 1252, so "kN/m\xB2" shows its superscript two. Faces
// resolve through fontconfig ("Times New Roman" to Liberation Serif, or
// DejaVu where Liberation is missing).
#pragma once

#include <QFont>

#include "platform/ui/core/glyphsource.h"

// The QFont a view's text is rendered with at the given ratio.
QFont AfxQtGlyphFont(const LOGFONT& font, double devicePixelRatio);

class CQtGlyphSource : public IGlyphSource
{
public:
    GlyphBitmap Glyph(const LOGFONT& font, double devicePixelRatio,
                      unsigned char code) const override;
};

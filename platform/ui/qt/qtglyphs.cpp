#include "platform/ui/qt/qtglyphs.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "platform/ui/core/text1252.h"
#include "platform/ui/qt/qtservices.h"

QFont AfxQtGlyphFont(const LOGFONT& lf, double devicePixelRatio)
{
    QFont font = AfxQtFontFromLogFont(lf);
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels * devicePixelRatio))));
    // glBitmap draws whole pixels: no grey edges to threshold away.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

GlyphBitmap CQtGlyphSource::Glyph(const LOGFONT& lf, double devicePixelRatio,
                                  unsigned char code) const
{
    GlyphBitmap glyph;
    if (code < 32)
        return glyph; // control bytes: nothing, no advance (as the fixed font)
    const char32_t unicode = AfxCp1252ToUnicode(code);
    const QString text = QString::fromUcs4(&unicode, 1);
    const QFont font = AfxQtGlyphFont(lf, devicePixelRatio);
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(text);
    glyph.advance = static_cast<float>(advance);

    // Drawn on a canvas with room on every side (italics and accents reach
    // past the advance and the ascent), then cut to the pixels set.
    const int pad = metrics.height() / 2 + 2;
    const int baseline = pad + metrics.ascent();
    QImage canvas(advance + 2 * pad, metrics.height() + 2 * pad,
                  QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(pad, baseline, text);
    }
    int left = canvas.width(), right = -1, top = canvas.height(), bottom = -1;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(row[x]) >= 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    if (right < 0) {
        // A blank only advances. It gets one unset pixel, as the blanks of
        // the fixed font have theirs: Mesa's list drawing of glyph strings
        // moves the raster position by nothing for an empty bitmap.
        glyph.width = 1;
        glyph.height = 1;
        glyph.bits.assign(1, 0);
        return glyph;
    }
    glyph.width = right - left + 1;
    glyph.height = bottom - top + 1;
    glyph.xorig = static_cast<float>(pad - left);
    // Rows below the baseline (negative when the glyph sits above it).
    glyph.yorig = static_cast<float>(bottom - baseline + 1);
    const int stride = (glyph.width + 7) / 8;
    glyph.bits.assign(static_cast<std::size_t>(stride) * glyph.height, 0);
    for (int r = 0; r < glyph.height; ++r) {
        // glBitmap wants the bottom row first.
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(bottom - r));
        for (int x = 0; x < glyph.width; ++x)
            if (qAlpha(row[left + x]) >= 128)
                glyph.bits[static_cast<std::size_t>(r * stride + x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return glyph;
}

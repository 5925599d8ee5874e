// COGLDIB: renders an OpenGL scene into a device-independent bitmap in
// memory instead of a window, for printing, image files and previews. It
// draws through the registered off-screen factory into a private context
// (its own display-list names), and keeps the pixels as a bottom-up DIB
// whose depth follows the target device (16, 24 or 32 bits a pixel).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/afx/gdi.h"
#include "platform/afx/object.h"
#include "platform/ui/core/gdi.h"
#include "platform/ui/core/offscreen.h"

class SECImage;

// The header and a 256-entry colour table of the DIB (1064 bytes).
struct OGLDIBInfo {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];
};

class COGLDIB : public CObject {
public:
    COGLDIB() = default;
    ~COGLDIB() override;
    COGLDIB(const COGLDIB&) = delete;
    COGLDIB& operator=(const COGLDIB&) = delete;

    // Makes the bitmap and its context (releasing any surface held) and
    // makes the context current, cleared to background (white with alpha 0
    // when null). The bit count is the target's planes x bits a pixel, at
    // least 16 (16 gives 5-5-5 pixels); a resolution of 0 is the target's
    // own. With glyph bitmaps on, lists 1000-1255 of the private context
    // hold the target's font and are the list base. The caller then sets
    // viewport and matrices and draws. False, with nothing held and the
    // context current before current again, for a null target, no
    // factory, a size above MaxSize() or a context or memory that cannot
    // be had.
    bool PreDraw(CDC* target, CSize size, float* background = nullptr, long xPelsPerMeter = 0,
                 long yPelsPerMeter = 0);
    // Finishes drawing, reads the pixels into the bitmap and makes the
    // context current before PreDraw current again. The context stays
    // until Clear.
    void PostDraw();
    // Frees the bitmap and the context.
    void Clear();

    // The bitmap unscaled at (x, y) on dc.
    void PrintSetDIBits(CDC* dc, int x, int y);
    // The source rectangle at (0, 0) stretched to destination at (x, y).
    void PrintStrech(CDC* dc, int x, int y, CSize source, CSize destination);
    // A new image of kind type filled from the bitmap: 1 BMP, 2 JPEG, 3
    // Targa, 4 TIFF, 5 GIF, 6 PCX, 7 texture; null for other kinds, an
    // empty bitmap or a failed copy. The caller owns it.
    SECImage* CopyImage(CDC* dc, int type);

    void UseFontBMPs(bool use) { m_bFontBMPs = use; }
    // The glyph bitmaps at ratio times the font's pixel size (1 at
    // construction), for pictures drawn at more pixels than the screen.
    void SetGlyphRatio(double ratio) { m_dGlyphRatio = ratio > 0.0 ? ratio : 1.0; }
    CSize GetExtents() const { return CSize(GetWidth(), GetHeight()); }
    int GetWidth() const { return m_bSurface ? m_info.bmiHeader.biWidth : 0; }
    int GetHeight() const { return m_bSurface ? m_info.bmiHeader.biHeight : 0; }
    void* GetlpBits() { return m_bSurface ? m_bits.data() : nullptr; }
    BITMAPINFO* GetBMPInfo() { return m_bSurface ? reinterpret_cast<BITMAPINFO*>(&m_info) : nullptr; }
    // A bitmap holding a copy of the DIB, kept by this object until the
    // next call or Clear; null without a surface.
    CBitmap* GetBMP();

    // Alpha of every pixel of a 32-bit bitmap: alpha, plus yGradient x row
    // (from the bottom) clamped to 0-255 when yGradient is not 0. 1 when
    // done; 0 with no surface, another depth or an x gradient.
    int AddAlphaLayer(BYTE alpha, double xGradient, double yGradient);
    int SetAlphaLayer(BYTE alpha, double xGradient, double yGradient);
    bool HasAlphaLayer() const { return m_bSurface && m_info.bmiHeader.biBitCount == 32; }
    // Exchanges the first and third byte of every 24- or 32-bit pixel; 1
    // when done, 0 with no surface or another depth.
    int BGRtoRGB();

    // The largest image the registered backend renders (0 x 0 without one).
    static GLPixelSize MaxSize();
    // Why the last PreDraw failed (None after a successful one).
    OffscreenFailure LastFailure() const { return m_failure; }

private:
    std::size_t Stride() const;

    bool m_bFontBMPs = false;
    double m_dGlyphRatio = 1.0;
    bool m_bSurface = false;
    OGLDIBInfo m_info{};
    std::vector<std::uint8_t> m_bits;
    std::unique_ptr<IOffscreenImage> m_image;
    CBitmap m_bitmap;
    OffscreenFailure m_failure = OffscreenFailure::None;
};

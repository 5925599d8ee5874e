#include "glview/ogldib.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <GL/gl.h>

#include "glview/oglview.h"
#include "glview/ogltexture.h"
#include "glview/secimage.h"
#include "glview/secjpeg.h"
#include "glview/secpcx.h"
#include "glview/sectarga.h"
#include "glview/sectiff.h"
#include "platform/ui/core/glyphcache.h"

namespace {

// The private context's glyph lists: fixed names, no other user.
constexpr GLuint kGlyphBase = 1000;

// The DIB depth for a device of this many bits a pixel: at least 16, and
// one the pixels can be read back in.
int DibBitCount(int deviceBits)
{
    if (deviceBits <= 16)
        return 16;
    return deviceBits <= 24 ? 24 : 32;
}

// Pixels a metre of one axis from the device's resolution and size in mm.
long DevicePelsPerMeter(const CDC& dc, int resIndex, int sizeIndex)
{
    const int millimetres = dc.GetDeviceCaps(sizeIndex);
    return millimetres > 0 ? static_cast<long>(dc.GetDeviceCaps(resIndex)) * 1000 / millimetres : 0;
}

// A BGR row as 5-5-5 pixels (blue in the low bits).
void PackRow555(const std::uint8_t* bgr, std::uint8_t* out, int width)
{
    for (int x = 0; x < width; ++x, bgr += 3, out += 2) {
        const unsigned value = (unsigned{bgr[2]} >> 3) << 10 | (unsigned{bgr[1]} >> 3) << 5 | (bgr[0] >> 3);
        out[0] = static_cast<std::uint8_t>(value & 0xFF);
        out[1] = static_cast<std::uint8_t>(value >> 8);
    }
}

LOGFONT TargetFont(const CDC& target)
{
    if (const auto* font = dynamic_cast<const CFont*>(target.GetCurrentFont()))
        return font->m_logFont;
    return COGLView::m_statLogFont;
}

// Fills image from the bitmap; the image is deleted and null returned when
// that fails.
template <class Image> SECImage* Filled(Image* image, CDC* dc, CBitmap* bitmap)
{
    if (image != nullptr && !image->CreateFromBitmap(dc, bitmap)) {
        delete image;
        return nullptr;
    }
    return image;
}

} // namespace

COGLDIB::~COGLDIB()
{
    Clear();
}

GLPixelSize COGLDIB::MaxSize()
{
    IOffscreenFactory* factory = AfxGetOffscreenFactory();
    return factory != nullptr ? factory->MaxSize() : GLPixelSize{};
}

std::size_t COGLDIB::Stride() const
{
    return DibStride(static_cast<std::size_t>(m_info.bmiHeader.biWidth), m_info.bmiHeader.biBitCount);
}

bool COGLDIB::PreDraw(CDC* target, CSize size, float* background, long xPelsPerMeter, long yPelsPerMeter)
{
    Clear();
    m_failure = OffscreenFailure::BadRequest;
    IOffscreenFactory* factory = AfxGetOffscreenFactory();
    if (target == nullptr || factory == nullptr || size.cx <= 0 || size.cy <= 0)
        return false;

    const int bitCount = DibBitCount(target->GetDeviceCaps(PLANES) * target->GetDeviceCaps(BITSPIXEL));
    BITMAPINFOHEADER& header = m_info.bmiHeader;
    header = BITMAPINFOHEADER{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = size.cx;
    header.biHeight = size.cy; // rows bottom-up
    header.biPlanes = 1;
    header.biBitCount = static_cast<std::uint16_t>(bitCount);
    header.biCompression = BI_RGB;
    header.biXPelsPerMeter =
        static_cast<std::int32_t>(xPelsPerMeter != 0 ? xPelsPerMeter : DevicePelsPerMeter(*target, HORZRES, HORZSIZE));
    header.biYPelsPerMeter =
        static_cast<std::int32_t>(yPelsPerMeter != 0 ? yPelsPerMeter : DevicePelsPerMeter(*target, VERTRES, VERTSIZE));
    header.biSizeImage = static_cast<std::uint32_t>(Stride() * static_cast<std::size_t>(size.cy));

    OffscreenResult result = factory->Create({size.cx, size.cy}, bitCount == 32 ? 32 : 24);
    m_failure = result.failure;
    if (!result.image) {
        Clear();
        return false;
    }
    try {
        m_bits.assign(Stride() * static_cast<std::size_t>(size.cy), 0);
    } catch (const std::bad_alloc&) {
        m_failure = OffscreenFailure::NoMemory;
        Clear();
        return false; // the image restores the context current before
    }
    m_image = std::move(result.image);
    m_bSurface = true;

    if (background != nullptr)
        glClearColor(background[0], background[1], background[2], background[3]);
    else
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (m_bFontBMPs) {
        AfxCompileGlyphLists(kGlyphBase, TargetFont(*target), m_dGlyphRatio);
        glListBase(kGlyphBase);
    }
    return true;
}

void COGLDIB::PostDraw()
{
    if (!m_bSurface || !m_image)
        return;
    if (m_image->MakeCurrent()) {
        glFinish();
        if (m_bFontBMPs)
            glDeleteLists(kGlyphBase, CGlyphListCache::kListCount);
    }
    if (!m_image->Finish())
        return;
    const int width = m_image->Width();
    const int height = m_image->Height();
    if (m_info.bmiHeader.biBitCount == 16) {
        for (int y = 0; y < height; ++y)
            PackRow555(m_image->Bits() + m_image->Stride() * static_cast<std::size_t>(y),
                       m_bits.data() + Stride() * static_cast<std::size_t>(y), width);
    } else {
        std::memcpy(m_bits.data(), m_image->Bits(), std::min(m_bits.size(), m_image->Stride() * height));
    }
}

void COGLDIB::Clear()
{
    m_image.reset(); // makes the context current before current again
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_bitmap.DeleteObject();
    m_info = OGLDIBInfo{};
    m_bSurface = false;
}

void COGLDIB::PrintSetDIBits(CDC* dc, int x, int y)
{
    if (dc == nullptr || !m_bSurface)
        return;
    const auto height = static_cast<unsigned>(GetHeight());
    dc->SetDIBitsToDevice(x, y, static_cast<unsigned>(GetWidth()), height, 0, 0, 0, height, m_bits.data(),
                          GetBMPInfo(), DIB_RGB_COLORS);
}

void COGLDIB::PrintStrech(CDC* dc, int x, int y, CSize source, CSize destination)
{
    if (dc == nullptr || !m_bSurface)
        return;
    dc->StretchDIBits(x, y, destination.cx, destination.cy, 0, 0, source.cx, source.cy, m_bits.data(),
                      GetBMPInfo(), DIB_RGB_COLORS, SRCCOPY);
}

CBitmap* COGLDIB::GetBMP()
{
    if (!m_bSurface || !m_bitmap.CreateDIB(GetWidth(), GetHeight(), m_info.bmiHeader.biBitCount))
        return nullptr;
    for (int y = 0; y < GetHeight(); ++y)
        std::memcpy(m_bitmap.Row(y), m_bits.data() + Stride() * static_cast<std::size_t>(y), Stride());
    return &m_bitmap;
}

SECImage* COGLDIB::CopyImage(CDC* dc, int type)
{
    CBitmap* bitmap = GetBMP();
    if (bitmap == nullptr)
        return nullptr;
    switch (type) {
    case 1:
        return Filled(new (std::nothrow) SECDib, dc, bitmap);
    case 2:
        return Filled(new (std::nothrow) SECJpeg, dc, bitmap);
    case 3:
        return Filled(new (std::nothrow) SECTarga, dc, bitmap);
    case 4:
        return Filled(new (std::nothrow) SECTiff, dc, bitmap);
    case 5:
        return Filled(new (std::nothrow) SECGif, dc, bitmap);
    case 6: {
        SECDib dib;
        if (!dib.CreateFromBitmap(dc, bitmap))
            return nullptr;
        auto* pcx = new (std::nothrow) SECPcx;
        if (pcx != nullptr)
            pcx->TakeOver(dib);
        return pcx;
    }
    case 7: {
        auto* texture = new (std::nothrow) COGLTexture;
        if (texture != nullptr && texture->CreateFromBitmap(dc, bitmap) == 0) {
            delete texture;
            return nullptr;
        }
        return texture;
    }
    default:
        return nullptr;
    }
}

int COGLDIB::AddAlphaLayer(BYTE alpha, double xGradient, double yGradient)
{
    if (!HasAlphaLayer())
        return 0;
    return SetAlphaLayer(alpha, xGradient, yGradient);
}

int COGLDIB::SetAlphaLayer(BYTE alpha, double xGradient, double yGradient)
{
    if (!HasAlphaLayer() || xGradient != 0.0)
        return 0;
    for (int y = 0; y < GetHeight(); ++y) {
        const double value = yGradient != 0.0 ? alpha + static_cast<long long>(yGradient * y) : alpha;
        const auto a = static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
        std::uint8_t* row = m_bits.data() + Stride() * static_cast<std::size_t>(y);
        for (int x = 0; x < GetWidth(); ++x)
            row[4 * x + 3] = a;
    }
    return 1;
}

int COGLDIB::BGRtoRGB()
{
    const int bits = m_bSurface ? m_info.bmiHeader.biBitCount : 0;
    if (bits != 24 && bits != 32)
        return 0;
    const int step = bits / 8;
    for (int y = 0; y < GetHeight(); ++y) {
        std::uint8_t* pixel = m_bits.data() + Stride() * static_cast<std::size_t>(y);
        for (int x = 0; x < GetWidth(); ++x, pixel += step)
            std::swap(pixel[0], pixel[2]);
    }
    return 1;
}

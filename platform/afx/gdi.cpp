#include "platform/afx/gdi.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kMaxPixelBytes = std::size_t{256} << 20;
}

bool CBitmap::CreateDIB(int width, int height, int bitsPerPixel) {
    DeleteObject();
    switch (bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    if (width <= 0 || height <= 0)
        return false;
    const std::size_t stride = DibStride(static_cast<std::size_t>(width), bitsPerPixel);
    if (stride > kMaxPixelBytes / static_cast<std::size_t>(height))
        return false;
    m_width = width;
    m_height = height;
    m_bits = bitsPerPixel;
    m_pixels.assign(stride * static_cast<std::size_t>(height), 0);
    if (bitsPerPixel <= 8)
        m_table.assign(std::size_t{1} << bitsPerPixel, RGBQUAD{0, 0, 0, 0});
    return true;
}

bool CBitmap::LoadBitmap(unsigned nIDResource) {
    DeleteObject();
    m_nResourceID = nIDResource;
    return true;
}

void CBitmap::DeleteObject() {
    m_nResourceID = 0;
    m_width = m_height = m_bits = 0;
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_table.clear();
}

int CBitmap::GetObject(int size, void* object) const {
    if (!IsValid() || object == nullptr || size != static_cast<int>(sizeof(BITMAP)))
        return 0;
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = m_width;
    bm.bmHeight = m_height;
    bm.bmWidthBytes = static_cast<std::int32_t>(Stride());
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<std::uint16_t>(m_bits);
    bm.bmBits = const_cast<std::uint8_t*>(m_pixels.data());
    std::memcpy(object, &bm, sizeof bm);
    return static_cast<int>(sizeof bm);
}

int CBitmap::GetDIBits(CDC*, unsigned start, unsigned lines, void* bits, BITMAPINFO* info,
                       unsigned usage) const {
    if (!IsValid() || info == nullptr || usage != DIB_RGB_COLORS)
        return 0;
    const int outBits = info->bmiHeader.biBitCount;
    const bool same = outBits == m_bits;
    const bool toRgb = outBits == 24 && m_bits >= 16;
    if (!same && !toRgb)
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = m_width;
    h.biHeight = m_height;
    h.biPlanes = 1;
    h.biCompression = BI_RGB;
    const std::size_t outStride = DibStride(static_cast<std::size_t>(m_width), outBits);
    h.biSizeImage = static_cast<std::uint32_t>(outStride * static_cast<std::size_t>(m_height));
    h.biClrUsed = 0;
    h.biClrImportant = 0;
    if (outBits <= 8) {
        // The table sits right behind the header.
        auto* table = reinterpret_cast<std::uint8_t*>(info) + sizeof(BITMAPINFOHEADER);
        std::memcpy(table, m_table.data(), m_table.size() * sizeof(RGBQUAD));
    }
    if (bits == nullptr)
        return static_cast<int>(m_height);
    if (start >= static_cast<unsigned>(m_height))
        return 0;
    const unsigned count = std::min(lines, static_cast<unsigned>(m_height) - start);
    auto* out = static_cast<std::uint8_t*>(bits);
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* src = Row(static_cast<int>(start + i));
        std::uint8_t* dst = out + outStride * i;
        if (same) {
            std::memcpy(dst, src, outStride);
            continue;
        }
        std::memset(dst, 0, outStride);
        for (int x = 0; x < m_width; ++x) {
            std::uint8_t* p = dst + 3 * static_cast<std::size_t>(x);
            if (m_bits == 16) {
                // 5-5-5: blue in the low bits, then green, then red.
                const unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
                const auto expand = [](unsigned c) {
                    return static_cast<std::uint8_t>((c * 255 + 15) / 31);
                };
                p[0] = expand(v & 31);
                p[1] = expand((v >> 5) & 31);
                p[2] = expand((v >> 10) & 31);
            } else {
                const std::size_t n = static_cast<std::size_t>(m_bits / 8);
                std::memcpy(p, src + n * static_cast<std::size_t>(x), 3);
            }
        }
    }
    return static_cast<int>(count);
}

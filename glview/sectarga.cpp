#include "glview/sectarga.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "glview/image_bytes.h"

using namespace imgbytes;

namespace {

constexpr char kSignature[18] = "TRUEVISION-XFILE.";   // with its terminating zero
constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kFooterSize = 26;

// 5-bit colour values to 8 bits, rounded: 0, 8, 16, 25 ... 255.
constexpr std::array<std::uint8_t, 32> MakeFiveBitTable() {
    std::array<std::uint8_t, 32> t{};
    for (unsigned v = 0; v < 32; ++v)
        t[v] = static_cast<std::uint8_t>((v * 255 + 15) / 31);
    return t;
}
constexpr std::array<std::uint8_t, 32> kFiveBit = MakeFiveBitTable();

struct Bgr {
    std::uint8_t b, g, r;
};

Bgr FromBytes(const std::uint8_t* p, unsigned bytes) {
    if (bytes == 2) {
        const unsigned v = Get16(p);
        return {kFiveBit[v & 31], kFiveBit[(v >> 5) & 31], kFiveBit[(v >> 10) & 31]};
    }
    if (bytes == 1)
        return {p[0], p[0], p[0]};
    return {p[0], p[1], p[2]};
}

std::string TextAt(const std::vector<std::uint8_t>& area, std::size_t offset, std::size_t length) {
    if (area.size() < offset + length)
        return {};
    const auto* begin = reinterpret_cast<const char*>(area.data() + offset);
    return std::string(begin, strnlen(begin, length));
}

} // namespace

IMPLEMENT_DYNAMIC(SECTarga, SECImage)

std::string SECTarga::Author() const { return TextAt(m_Extension, 2, 41); }
std::string SECTarga::Comments() const { return TextAt(m_Extension, 43, 324); }

bool SECTarga::ReadFormat(ImageStream& stream) {
    std::vector<std::uint8_t> data;
    if (!stream.ReadRest(data, 2 * kMaxRaster) || data.size() < kHeaderSize)
        return false;
    const std::uint8_t* h = data.data();
    const std::uint8_t idLength = h[0], mapType = h[1], type = h[2];
    const std::uint16_t mapFirst = Get16(h + 3), mapLength = Get16(h + 5);
    const std::uint8_t mapEntry = h[7];
    const std::uint16_t width = Get16(h + 12), height = Get16(h + 14);
    const std::uint8_t depth = h[16], descriptor = h[17];

    // Targa files carry no signature: the header must make sense on its own.
    const bool rle = type >= 9;
    const unsigned kind = rle ? type - 8u : type;   // 1 mapped, 2 true colour, 3 grey
    if (mapType > 1 || kind < 1 || kind > 3 || (type > 3 && type < 9) || type > 11)
        return false;
    if ((descriptor & 0xC0) != 0 || width == 0 || height == 0)
        return false;
    const bool mapEntryOk = mapEntry == 15 || mapEntry == 16 || mapEntry == 24 || mapEntry == 32;
    if (mapType == 1 && (!mapEntryOk || mapLength == 0))
        return false;
    if (mapType == 0 && (mapLength != 0 || (mapEntry != 0 && !mapEntryOk)))
        return false;
    if (kind == 1 && (mapType != 1 || depth != 8))
        return false;
    if (kind == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32)
        return false;
    if (kind == 3 && depth != 8)
        return false;

    const unsigned pixelBytes = (depth + 7u) / 8u;
    const unsigned mapBytes = (mapEntry + 7u) / 8u;
    std::size_t pos = kHeaderSize + idLength;
    const std::size_t mapStart = pos;
    if (mapType == 1)
        pos += static_cast<std::size_t>(mapLength) * mapBytes;
    if (pos > data.size())
        return false;
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    const std::size_t available = data.size() - pos;
    // Before allocating: the data must be able to hold the pixels, run-length
    // packets giving at most 128 pixels each.
    if (rle ? pixels > (available / (1 + pixelBytes) + 1) * 128 : pixels * pixelBytes > available)
        return false;

    std::vector<Bgr> map;
    if (mapType == 1) {
        map.resize(mapLength);
        for (unsigned i = 0; i < mapLength; ++i)
            map[i] = FromBytes(data.data() + mapStart + static_cast<std::size_t>(i) * mapBytes,
                               mapBytes);
    }

    SECDib image;
    if (!image.CreateImage(width, height, 24))
        return false;
    const bool topOrigin = (descriptor & 0x20) != 0;
    const bool rightOrigin = (descriptor & 0x10) != 0;
    const std::uint8_t* in = data.data();
    const std::size_t end = data.size();
    bool ok = true;
    const auto store = [&](const std::uint8_t* p, unsigned line, unsigned x) {
        Bgr c;
        if (kind == 1) {
            const unsigned index = p[0];
            if (index < mapFirst || index - mapFirst >= map.size()) {
                ok = false;
                return;
            }
            c = map[index - mapFirst];
        } else {
            c = FromBytes(p, pixelBytes);
        }
        const unsigned row = topOrigin ? height - 1u - line : line;
        const unsigned col = rightOrigin ? width - 1u - x : x;
        std::uint8_t* dst = image.Row(row) + 3 * static_cast<std::size_t>(col);
        dst[0] = c.b;
        dst[1] = c.g;
        dst[2] = c.r;
    };

    for (unsigned line = 0; line < height && ok; ++line) {
        unsigned x = 0;
        while (x < width && ok) {
            if (!rle) {
                if (pos + pixelBytes > end)
                    return false;
                store(in + pos, line, x++);
                pos += pixelBytes;
                continue;
            }
            if (pos >= end)
                return false;
            const std::uint8_t packet = in[pos++];
            const unsigned count = (packet & 0x7Fu) + 1;
            // A packet running past the scan line ends the line.
            const unsigned take = std::min(count, width - x);
            if (packet & 0x80) {
                if (pos + pixelBytes > end)
                    return false;
                for (unsigned i = 0; i < take && ok; ++i)
                    store(in + pos, line, x++);
                pos += pixelBytes;
            } else {
                if (pos + static_cast<std::size_t>(count) * pixelBytes > end)
                    return false;
                for (unsigned i = 0; i < take && ok; ++i)
                    store(in + pos + static_cast<std::size_t>(i) * pixelBytes, line, x++);
                pos += static_cast<std::size_t>(count) * pixelBytes;
            }
        }
    }
    if (!ok)
        return false;

    // TGA 2.0 footer and extension area.
    bool version2 = false;
    std::uint32_t extOffset = 0, devOffset = 0;
    std::vector<std::uint8_t> extension;
    if (data.size() >= kHeaderSize + kFooterSize &&
        std::memcmp(data.data() + data.size() - 18, kSignature, 18) == 0) {
        const std::uint8_t* footer = data.data() + data.size() - kFooterSize;
        version2 = true;
        extOffset = Get32(footer);
        devOffset = Get32(footer + 4);
        if (extOffset != 0 && extOffset <= data.size() - kFooterSize &&
            data.size() - kFooterSize - extOffset >= kExtensionSize &&
            Get16(data.data() + extOffset) >= kExtensionSize)
            extension.assign(data.data() + extOffset, data.data() + extOffset + kExtensionSize);
    }

    m_nIdLength = idLength;
    m_nColorMapType = mapType;
    m_nImageType = type;
    m_nMapFirst = mapFirst;
    m_nMapLength = mapLength;
    m_nMapEntrySize = mapEntry;
    m_nXOrigin = Get16(h + 8);
    m_nYOrigin = Get16(h + 10);
    m_nImageWidth = width;
    m_nImageHeight = height;
    m_nPixelDepth = depth;
    m_nDescriptor = descriptor;
    m_bVersion2 = version2;
    m_nExtensionOffset = extOffset;
    m_nDeveloperOffset = devOffset;
    m_Extension = std::move(extension);
    TakeOver(image);
    return true;
}

bool SECTarga::WriteFormat(ImageStream& stream) {
    if (IsEmpty() || m_nWidth > 0xFFFF || m_nHeight > 0xFFFF)
        return false;
    std::vector<std::uint8_t> out(kHeaderSize, 0);
    out[2] = 2;
    Put16(&out[12], m_nWidth);
    Put16(&out[14], m_nHeight);
    out[16] = 24;
    out[17] = 0;
    // Pixels bottom row first, blue-green-red, no padding; indexed images
    // are expanded through their colour table.
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(m_nWidth);
    out.reserve(kHeaderSize + rowBytes * m_nHeight + kExtensionSize + kFooterSize);
    for (unsigned y = 0; y < m_nHeight; ++y) {
        if (m_nBitsPerPixel == 24) {
            out.insert(out.end(), Row(y), Row(y) + rowBytes);
            continue;
        }
        for (unsigned x = 0; x < m_nWidth; ++x) {
            const RGBQUAD c = GetColor(x, y);
            out.insert(out.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed});
        }
    }
    std::uint32_t extOffset = 0;
    if (m_Extension.size() == kExtensionSize) {
        if (out.size() > 0xFFFFFFFFu)
            return false;
        extOffset = static_cast<std::uint32_t>(out.size());
        const std::size_t at = out.size();
        out.insert(out.end(), m_Extension.begin(), m_Extension.end());
        Put16(&out[at], kExtensionSize);
        // Colour-correction, postage-stamp and scan-line tables are not kept.
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(at + 482),
                  out.begin() + static_cast<std::ptrdiff_t>(at + 494), 0);
    }
    const std::size_t footer = out.size();
    out.resize(footer + 8, 0);
    Put32(&out[footer], extOffset);
    Put32(&out[footer + 4], 0);     // no developer directory
    out.insert(out.end(), kSignature, kSignature + 18);
    return stream.Write(out.data(), out.size());
}

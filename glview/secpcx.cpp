#include "glview/secpcx.h"

#include <algorithm>
#include <cstring>

#include "glview/image_bytes.h"

using namespace imgbytes;

namespace {
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kMaxRun = 63;
constexpr std::uint8_t kPaletteMark = 12;
} // namespace

IMPLEMENT_DYNAMIC(SECPcx, SECImage)
IMPLEMENT_DYNAMIC(SECGif, SECImage)

bool SECPcx::ReadFormat(ImageStream& stream) {
    std::vector<std::uint8_t> data;
    if (!stream.ReadRest(data, 2 * kMaxRaster) || data.size() < kHeaderSize)
        return false;
    const std::uint8_t* h = data.data();
    const unsigned bits = h[3];
    const unsigned planes = h[65];
    const unsigned bytesPerLine = Get16(h + 66);
    const unsigned xMin = Get16(h + 4), yMin = Get16(h + 6), xMax = Get16(h + 8), yMax = Get16(h + 10);
    if (h[0] != 10 || h[1] > 5 || h[2] != 1)
        return false;
    if (!((bits == 1 && planes >= 1 && planes <= 4) || (bits == 8 && planes == 1)))
        return false;
    if (xMax < xMin || yMax < yMin)
        return false;
    const unsigned width = xMax - xMin + 1;
    const unsigned height = yMax - yMin + 1;
    if (bytesPerLine == 0 || static_cast<std::size_t>(bytesPerLine) * 8 < static_cast<std::size_t>(width) * bits)
        return false;
    // Before allocating: the encoded data must be able to hold the image,
    // one run of two bytes giving at most 63.
    const std::size_t lineBytes = static_cast<std::size_t>(bytesPerLine) * planes;
    const std::size_t total = lineBytes * height;
    if (total > kMaxRaster || total > (data.size() - kHeaderSize) * kMaxRun)
        return false;

    // Run-length decoding; runs may cross line ends but not the image's end.
    std::vector<std::uint8_t> plain(total);
    std::size_t pos = kHeaderSize;
    std::size_t filled = 0;
    while (filled < total) {
        if (pos >= data.size())
            return false;
        const std::uint8_t b = data[pos++];
        if ((b & 0xC0) == 0xC0) {
            if (pos >= data.size())
                return false;
            const std::size_t count = std::min<std::size_t>(b & 0x3Fu, total - filled);
            const std::uint8_t value = data[pos++];
            std::fill_n(plain.begin() + static_cast<std::ptrdiff_t>(filled), count, value);
            filled += count;
        } else {
            plain[filled++] = b;
        }
    }

    SECDib image;
    if (!image.CreateImage(width, height, 8))
        return false;
    for (unsigned r = 0; r < height; ++r) {
        const std::uint8_t* line = plain.data() + lineBytes * r;
        std::uint8_t* row = image.Row(height - 1 - r);
        if (bits == 8) {
            std::memcpy(row, line, width);
            continue;
        }
        for (unsigned x = 0; x < width; ++x) {
            unsigned index = 0;
            for (unsigned p = 0; p < planes; ++p) {
                const std::uint8_t byte = line[static_cast<std::size_t>(bytesPerLine) * p + (x >> 3)];
                index |= ((byte >> (7 - (x & 7))) & 1u) << p;
            }
            row[x] = static_cast<std::uint8_t>(index);
        }
    }

    const unsigned colors = 1u << (bits * planes);
    if (colors > 16) {
        // The table follows the data, after the byte 12; a grey ramp when it
        // is missing or short.
        const auto mark = std::find(data.begin() + static_cast<std::ptrdiff_t>(pos), data.end(), kPaletteMark);
        const std::size_t at = static_cast<std::size_t>(mark - data.begin()) + 1;
        const bool present = mark != data.end() && data.size() - at >= 768;
        for (unsigned i = 0; i < 256; ++i) {
            const auto grey = static_cast<std::uint8_t>(i);
            image.m_Colors[i] = present ? RGBQUAD{data[at + 3 * i + 2], data[at + 3 * i + 1], data[at + 3 * i], 0}
                                        : RGBQUAD{grey, grey, grey, 0};
        }
    } else {
        for (unsigned i = 0; i < 16; ++i)
            image.m_Colors[i] = RGBQUAD{h[16 + 3 * i + 2], h[16 + 3 * i + 1], h[16 + 3 * i], 0};
        const auto black = [](const RGBQUAD& c) { return c.rgbRed == 0 && c.rgbGreen == 0 && c.rgbBlue == 0; };
        if (colors == 2 && black(image.m_Colors[0]) && black(image.m_Colors[1]))
            image.m_Colors[1] = RGBQUAD{255, 255, 255, 0};
    }
    std::copy(h, h + kHeaderSize, m_Header128.begin());
    TakeOver(image);
    return true;
}

bool SECPcx::WriteFormat(ImageStream& stream) {
    if (IsEmpty() || m_nBitsPerPixel > 8 || m_nWidth > 0xFFFF || m_nHeight > 0xFFFF)
        return false;
    std::array<std::uint8_t, kHeaderSize> header{};
    header[0] = 10;
    header[1] = 5;
    header[2] = 1;
    header[3] = 8;     // 1- and 4-bit images are written a byte a pixel
    Put16(&header[8], m_nWidth - 1);
    Put16(&header[10], m_nHeight - 1);
    Put16(&header[12], 640);
    Put16(&header[14], 480);
    if (m_nColors < 16) {
        for (std::size_t i = 0; i < m_Colors.size() && i < 16; ++i) {
            header[16 + 3 * i] = m_Colors[i].rgbRed;
            header[16 + 3 * i + 1] = m_Colors[i].rgbGreen;
            header[16 + 3 * i + 2] = m_Colors[i].rgbBlue;
        }
    }
    header[65] = 1;
    Put16(&header[66], m_nWidth);
    Put16(&header[68], 2);

    std::vector<std::uint8_t> out(header.begin(), header.end());
    std::vector<std::uint8_t> line(m_nWidth);
    for (unsigned r = 0; r < m_nHeight; ++r) {
        const std::uint8_t* row = Row(m_nHeight - 1 - r);
        for (unsigned x = 0; x < m_nWidth; ++x)
            line[x] = static_cast<std::uint8_t>(GetIndex(row, x));
        // Runs of at most 63 equal bytes, each written as a count and the
        // byte, ending at the row's end.
        for (std::size_t x = 0; x < line.size();) {
            std::size_t run = 1;
            while (x + run < line.size() && run < kMaxRun && line[x + run] == line[x])
                ++run;
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
            out.push_back(line[x]);
            x += run;
        }
    }
    out.push_back(kPaletteMark);
    const std::size_t table = out.size();
    out.resize(table + 768, 0);
    for (std::size_t i = 0; i < m_Colors.size() && i < 256; ++i) {
        out[table + 3 * i] = m_Colors[i].rgbRed;
        out[table + 3 * i + 1] = m_Colors[i].rgbGreen;
        out[table + 3 * i + 2] = m_Colors[i].rgbBlue;
    }
    if (!stream.Write(out.data(), out.size()))
        return false;
    std::copy(header.begin(), header.end(), m_Header128.begin());
    return true;
}

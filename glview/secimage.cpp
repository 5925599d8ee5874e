#include "glview/secimage.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "glview/image_bytes.h"
#include "platform/afx/safefile.h"

using namespace imgbytes;

namespace {

bool ValidDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

std::uint16_t TableSize(int bits) {
    return bits <= 8 ? static_cast<std::uint16_t>(1u << bits) : 0;
}

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

} // namespace

IMPLEMENT_DYNAMIC(SECImage, CObject)
IMPLEMENT_DYNAMIC(SECDib, SECImage)

SECImage::SECImage() {
    // The display counts as 24 bits with one plane: no palette reduction.
    m_nDisplayBits = 0;
    m_nDisplayPlanes = 1;
    m_nDisplayColors = 0;
}

SECImage::~SECImage() = default;

bool SECImage::MakePalette() {
    // There is no display palette to realise; the colour table is the palette.
    return true;
}

std::size_t SECImage::RowBytes() const {
    return m_bPadded ? PaddedStride(m_nWidth, m_nBitsPerPixel) : PackedStride(m_nWidth, m_nBitsPerPixel);
}

unsigned SECImage::GetIndex(const std::uint8_t* row, unsigned x) const {
    switch (m_nBitsPerPixel) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8: return row[x];
    default: return 0;
    }
}

void SECImage::SetIndex(std::uint8_t* row, unsigned x, unsigned index) const {
    switch (m_nBitsPerPixel) {
    case 1: {
        const auto mask = static_cast<std::uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>((index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
        break;
    }
    case 4: {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F))
                    : static_cast<std::uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
        break;
    }
    case 8: row[x] = static_cast<std::uint8_t>(index); break;
    default: break;
    }
}

RGBQUAD SECImage::GetColor(unsigned x, unsigned y) const {
    const std::uint8_t* row = Row(y);
    if (m_nBitsPerPixel == 24)
        return RGBQUAD{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
    const unsigned index = GetIndex(row, x);
    return index < m_Colors.size() ? m_Colors[index] : RGBQUAD{0, 0, 0, 0};
}

void SECImage::UpdateHeader() {
    m_Header = BITMAPINFOHEADER{};
    m_Header.biSize = kInfoHeaderSize;
    m_Header.biWidth = static_cast<std::int32_t>(m_nWidth);
    m_Header.biHeight = static_cast<std::int32_t>(m_nHeight);
    m_Header.biPlanes = 1;
    m_Header.biBitCount = static_cast<std::uint16_t>(m_nBitsPerPixel);
    m_Header.biCompression = BI_RGB;
    m_Header.biSizeImage = static_cast<std::uint32_t>(PaddedStride(m_nWidth, m_nBitsPerPixel) * m_nHeight);
    m_nPaddedWidth = static_cast<unsigned>(PaddedStride(m_nWidth, m_nBitsPerPixel));
}

bool SECImage::CreateImage(unsigned width, unsigned height, int bitsPerPixel) {
    if (!ValidDepth(bitsPerPixel) || width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    const std::size_t stride = PaddedStride(width, bitsPerPixel);
    if (stride > kMaxRaster / height)
        return false;
    ReleaseImage();
    m_nWidth = width;
    m_nHeight = height;
    m_nBitsPerPixel = bitsPerPixel;
    m_bPadded = true;
    m_nColors = TableSize(bitsPerPixel);
    m_Colors.assign(m_nColors, RGBQUAD{0, 0, 0, 0});
    m_Bits.assign(stride * height, 0);
    m_bPaletteDiffers = bitsPerPixel != 24;
    UpdateHeader();
    return true;
}

bool SECImage::ReleaseImage() {
    m_Bits.clear();
    m_Bits.shrink_to_fit();
    m_Colors.clear();
    m_Header = BITMAPINFOHEADER{};
    m_nWidth = m_nHeight = m_nPaddedWidth = 0;
    m_nBitsPerPixel = 0;
    m_nColors = 0;
    m_bPadded = false;
    m_bPaletteDiffers = false;
    return true;
}

bool SECImage::FinishLoad() {
    if (IsEmpty() || !ValidDepth(m_nBitsPerPixel))
        return false;
    if (!MakePalette())
        return false;
    m_nColors = TableSize(m_nBitsPerPixel);
    m_Colors.resize(m_nColors, RGBQUAD{0, 0, 0, 0});
    PadRows();
    m_bPaletteDiffers = m_nBitsPerPixel != 24;
    UpdateHeader();
    return true;
}

void SECImage::TakeOver(SECImage& other) {
    if (&other == this)
        return;
    ReleaseImage();
    m_nBitsPerPixel = other.m_nBitsPerPixel;
    m_bPadded = other.m_bPadded;
    m_nPaddedWidth = other.m_nPaddedWidth;
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    m_nColors = other.m_nColors;
    m_Bits = std::move(other.m_Bits);
    m_Header = other.m_Header;
    m_Colors = std::move(other.m_Colors);
    m_bPaletteDiffers = other.m_bPaletteDiffers;
    m_nBitOrder = other.m_nBitOrder;
    other.ReleaseImage();
}

bool SECImage::LoadFromPath(const char* path) {
    PathStream file(path, PathStream::Reading);
    if (!file.IsOpen())
        return false;
    return LoadFromStream(file);
}

bool SECImage::LoadFromFile(CFile* file) {
    if (file == nullptr)
        return false;
    CFileStream stream(file);
    return LoadFromStream(stream);
}

bool SECImage::SaveToFile(CFile* file) {
    if (file == nullptr)
        return false;
    CFileStream stream(file);
    return SaveToStream(stream);
}

void SECImage::Serialize(CArchive& ar) {
    ArchiveStream stream(ar);
    if (ar.IsStoring()) {
        if (!WriteBmp(stream))
            AfxThrowArchiveException(CArchiveException::generic);
        return;
    }
    SECDib loaded;
    if (!loaded.ReadBmp(stream) || !loaded.FinishLoad())
        AfxThrowArchiveException(CArchiveException::generic);
    TakeOver(loaded);
}

bool SECImage::LoadFromStream(ImageStream& stream) {
    // Keep the current picture aside so that a failed load leaves it as it was.
    SECDib saved;
    saved.TakeOver(*this);
    bool ok = ReadFormat(stream) && FinishLoad();
    if (!ok) {
        ReleaseImage();
        TakeOver(saved);
    }
    return ok;
}

bool SECImage::SaveToPath(const char* path) {
    m_strWriteFailure.clear();
    if (IsEmpty() || path == nullptr)
        return false;
    // Through the safe writer: a failure keeps the old file as it was.
    bool ok = false;
    const CString failure = afx::WriteFileSafely(path, [&](CFile& file) {
        CFileStream stream(&file);
        ok = SaveToStream(stream);
        if (!ok)
            throw CFileException(CFileException::generic, -1, path);
    });
    m_strWriteFailure = failure.GetString();
    return ok && failure.IsEmpty();
}

bool SECImage::SaveToStream(ImageStream& stream) {
    if (IsEmpty())
        return false;
    if (!BeforeSave())
        return false;
    if (!WriteFormat(stream))
        return false;
    return AfterSave() && stream.Flush();
}

bool SECImage::CreateFromBitmap(CDC* dc, CBitmap* bitmap) {
    if (bitmap == nullptr)
        return false;
    BITMAP bm{};
    if (bitmap->GetObject(sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    const int bits = bm.bmBitsPixel <= 8 ? bm.bmBitsPixel : 24;
    if (!ValidDepth(bits))
        return false;
    SECDib fresh;
    if (!fresh.CreateImage(static_cast<unsigned>(bm.bmWidth), static_cast<unsigned>(bm.bmHeight), bits))
        return false;
    // Header and table: 1-bit 2^planes entries, 4-bit 16, 8-bit 256.
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader.biSize = kInfoHeaderSize;
    bmi->bmiHeader.biWidth = bm.bmWidth;
    bmi->bmiHeader.biHeight = bm.bmHeight;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = static_cast<std::uint16_t>(bits);
    bmi->bmiHeader.biCompression = BI_RGB;
    if (bitmap->GetDIBits(dc, 0, static_cast<unsigned>(bm.bmHeight), fresh.m_Bits.data(), bmi,
                          DIB_RGB_COLORS) != bm.bmHeight)
        return false;
    if (bits <= 8) {
        std::size_t entries = bits == 1 ? (std::size_t{1} << bm.bmPlanes) : TableSize(bits);
        entries = std::min<std::size_t>(entries, fresh.m_Colors.size());
        std::memcpy(fresh.m_Colors.data(), info.data() + sizeof(BITMAPINFOHEADER), entries * sizeof(RGBQUAD));
    }
    if (!fresh.MakePalette())
        return false;
    TakeOver(fresh);
    return true;
}

bool SECImage::FlipVertical() {
    if (IsEmpty())
        return false;
    const std::size_t stride = RowBytes();
    for (unsigned top = 0, bottom = m_nHeight - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(Row(top), Row(top) + stride, Row(bottom));
    return true;
}

bool SECImage::FlipHorizontal() {
    if (IsEmpty())
        return false;
    const std::size_t stride = RowBytes();
    std::vector<std::uint8_t> mirrored(stride);
    for (unsigned y = 0; y < m_nHeight; ++y) {
        std::uint8_t* row = Row(y);
        // A zeroed row keeps the padding bits clear.
        std::fill(mirrored.begin(), mirrored.end(), 0);
        const unsigned last = m_nWidth - 1;
        if (m_nBitsPerPixel == 24) {
            for (unsigned x = 0; x < m_nWidth; ++x)
                std::memcpy(&mirrored[3 * (last - x)], row + 3 * x, 3);
        } else {
            for (unsigned x = 0; x < m_nWidth; ++x)
                SetIndex(mirrored.data(), last - x, GetIndex(row, x));
        }
        std::copy(mirrored.begin(), mirrored.end(), row);
    }
    return true;
}

bool SECImage::Crop(int x, int y, int w, int h) {
    if (IsEmpty())
        return false;
    const long long x0 = std::max<long long>(x, 0);
    const long long y0 = std::max<long long>(y, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(x) + w, m_nWidth);
    const long long y1 = std::min<long long>(static_cast<long long>(y) + h, m_nHeight);
    if (x1 <= x0 || y1 <= y0)
        return false;
    const auto newWidth = static_cast<unsigned>(x1 - x0);
    const auto newHeight = static_cast<unsigned>(y1 - y0);
    const std::size_t newStride = m_bPadded ? PaddedStride(newWidth, m_nBitsPerPixel)
                                            : PackedStride(newWidth, m_nBitsPerPixel);
    std::vector<std::uint8_t> cut(newStride * newHeight, 0);
    for (unsigned r = 0; r < newHeight; ++r) {
        // Row r of the cut, counted from its top, is picture row y0 + r from the top.
        const std::uint8_t* src = Row(m_nHeight - 1 - static_cast<unsigned>(y0) - r);
        std::uint8_t* dst = cut.data() + newStride * (newHeight - 1 - r);
        if (m_nBitsPerPixel == 24 || m_nBitsPerPixel == 8) {
            const std::size_t bytes = static_cast<std::size_t>(m_nBitsPerPixel / 8);
            std::memcpy(dst, src + bytes * static_cast<std::size_t>(x0), bytes * newWidth);
        } else {
            for (unsigned i = 0; i < newWidth; ++i)
                SetIndex(dst, i, GetIndex(src, static_cast<unsigned>(x0) + i));
        }
    }
    m_Bits = std::move(cut);
    m_nWidth = newWidth;
    m_nHeight = newHeight;
    UpdateHeader();
    return true;
}

bool SECImage::PadRows() {
    if (IsEmpty())
        return false;
    if (m_bPadded)
        return true;
    const std::size_t packed = PackedStride(m_nWidth, m_nBitsPerPixel);
    const std::size_t padded = PaddedStride(m_nWidth, m_nBitsPerPixel);
    std::vector<std::uint8_t> rows(padded * m_nHeight, 0);
    for (unsigned y = 0; y < m_nHeight; ++y)
        std::memcpy(rows.data() + padded * y, m_Bits.data() + packed * y, packed);
    m_Bits = std::move(rows);
    m_bPadded = true;
    return true;
}

bool SECImage::UnpadRows() {
    if (IsEmpty())
        return false;
    if (!m_bPadded)
        return true;
    const std::size_t packed = PackedStride(m_nWidth, m_nBitsPerPixel);
    const std::size_t padded = PaddedStride(m_nWidth, m_nBitsPerPixel);
    for (unsigned y = 1; y < m_nHeight; ++y)
        std::memmove(m_Bits.data() + packed * y, m_Bits.data() + padded * y, packed);
    m_Bits.resize(packed * m_nHeight);
    m_bPadded = false;
    return true;
}

bool SECImage::WriteBmp(ImageStream& stream) const {
    if (IsEmpty() || !ValidDepth(m_nBitsPerPixel))
        return false;
    const std::size_t stride = PaddedStride(m_nWidth, m_nBitsPerPixel);
    const std::uint32_t entries = TableSize(m_nBitsPerPixel);
    const std::uint64_t offset = kFileHeaderSize + kInfoHeaderSize + 4ull * entries;
    const std::uint64_t size = offset + static_cast<std::uint64_t>(stride) * m_nHeight;
    if (size > 0xFFFFFFFFull)
        return false;

    std::vector<std::uint8_t> head;
    head.reserve(static_cast<std::size_t>(offset));
    head.push_back('B');
    head.push_back('M');
    Append32(head, static_cast<std::uint32_t>(size));
    Append16(head, 0);
    Append16(head, 0);
    Append32(head, static_cast<std::uint32_t>(offset));
    Append32(head, kInfoHeaderSize);
    Append32(head, m_nWidth);
    Append32(head, m_nHeight);
    Append16(head, 1);
    Append16(head, static_cast<unsigned>(m_nBitsPerPixel));
    Append32(head, BI_RGB);
    Append32(head, static_cast<std::uint32_t>(stride * m_nHeight));
    Append32(head, 0);
    Append32(head, 0);
    Append32(head, 0);
    Append32(head, 0);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const RGBQUAD c = i < m_Colors.size() ? m_Colors[i] : RGBQUAD{0, 0, 0, 0};
        head.insert(head.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
    }
    if (!stream.Write(head.data(), head.size()))
        return false;
    if (m_bPadded)
        return stream.Write(m_Bits.data(), stride * m_nHeight);
    // Unpadded rows in memory: pad each on the way out.
    std::vector<std::uint8_t> row(stride, 0);
    const std::size_t packed = RowBytes();
    for (unsigned y = 0; y < m_nHeight; ++y) {
        std::memcpy(row.data(), Row(y), packed);
        if (!stream.Write(row.data(), stride))
            return false;
    }
    return true;
}

bool SECImage::ReadBmp(ImageStream& stream) {
    std::uint8_t fileHeader[kFileHeaderSize];
    std::uint8_t info[124];
    if (!stream.ReadExact(fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return false;
    const std::uint32_t pixelOffset = Get32(fileHeader + 10);
    if (!stream.ReadExact(info, 4))
        return false;
    const std::uint32_t infoSize = Get32(info);
    if (infoSize != 40 && infoSize != 108 && infoSize != 124)
        return false;
    if (!stream.ReadExact(info + 4, infoSize - 4))
        return false;
    const auto width = static_cast<std::int32_t>(Get32(info + 4));
    const auto rawHeight = static_cast<std::int32_t>(Get32(info + 8));
    const int bits = Get16(info + 14);
    const std::uint32_t compression = Get32(info + 16);
    const std::uint32_t used = Get32(info + 32);
    if (compression != BI_RGB || !ValidDepth(bits) || width <= 0 || rawHeight == 0 ||
        rawHeight == INT32_MIN)
        return false;
    const bool topDown = rawHeight < 0;
    const auto height = static_cast<unsigned>(topDown ? -rawHeight : rawHeight);

    // Colour table: the colours used, or 2^depth when that is 0; a 24-bit
    // file may carry a table too, which is skipped.
    std::uint32_t entries = used;
    if (bits <= 8) {
        if (entries == 0)
            entries = 1u << bits;
        if (entries > (1u << bits))
            return false;
    }
    const std::uint64_t tableEnd = kFileHeaderSize + static_cast<std::uint64_t>(infoSize) + 4ull * entries;
    if (pixelOffset < tableEnd)
        return false;
    const std::size_t stride = PaddedStride(static_cast<std::size_t>(width), bits);
    if (stride > kMaxRaster / height)
        return false;
    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(stride) * height;
    const std::int64_t remaining = stream.Remaining();
    if (remaining >= 0 &&
        static_cast<std::uint64_t>(remaining) < (pixelOffset - kFileHeaderSize - infoSize) + pixelBytes)
        return false;

    std::vector<RGBQUAD> table;
    if (bits <= 8) {
        std::vector<std::uint8_t> raw(4ull * entries);
        if (!stream.ReadExact(raw.data(), raw.size()))
            return false;
        // Entries the file does not give stay black.
        table.assign(1u << bits, RGBQUAD{0, 0, 0, 0});
        for (std::uint32_t i = 0; i < entries; ++i)
            table[i] = RGBQUAD{raw[4 * i], raw[4 * i + 1], raw[4 * i + 2], 0};
        if (!stream.Skip(pixelOffset - tableEnd))
            return false;
    } else if (!stream.Skip(pixelOffset - kFileHeaderSize - infoSize)) {
        return false;
    }
    SECDib image;
    if (!image.CreateImage(static_cast<unsigned>(width), height, bits))
        return false;
    if (!stream.ReadExact(image.m_Bits.data(), image.m_Bits.size()))
        return false;
    if (bits <= 8)
        image.m_Colors = std::move(table);
    if (topDown)
        image.FlipVertical();
    TakeOver(image);
    return true;
}

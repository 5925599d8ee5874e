// Device-independent bitmaps: the BMP header records, a memory bitmap and
// the device context. There is no display here: a CBitmap is plain memory
// holding a bottom-up DIB, and a CDC draws nothing: its drawing operations
// do nothing by default, and the window layer's contexts (a recording one
// for tests, the printer's and the window's) override them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/afx/cstring.h"

// Compression code of uncompressed DIB pixels.
inline constexpr std::uint32_t BI_RGB = 0;
// Colour-table usage of GetDIBits: the table holds RGB values.
inline constexpr unsigned DIB_RGB_COLORS = 0;

#pragma pack(push, 2)
// The 14-byte file header that opens a BMP file.
struct BITMAPFILEHEADER {
    std::uint16_t bfType; // "BM"
    std::uint32_t bfSize; // size of the whole file
    std::uint16_t bfReserved1;
    std::uint16_t bfReserved2;
    std::uint32_t bfOffBits; // offset of the pixels from the file start
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);

// The 40-byte information header of a DIB.
struct BITMAPINFOHEADER {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight; // positive: rows bottom-up; negative: top-down
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// One colour-table entry, blue first.
struct RGBQUAD {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};
static_assert(sizeof(RGBQUAD) == 4);

// Header followed by the colour table; callers allocate room for as many
// entries as the depth needs behind the header.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

// Size and depth of a bitmap, as GetObject reports them.
struct BITMAP {
    std::int32_t bmType;
    std::int32_t bmWidth;
    std::int32_t bmHeight;
    std::int32_t bmWidthBytes;
    std::uint16_t bmPlanes;
    std::uint16_t bmBitsPixel;
    void* bmBits;
};

// Row stride of a DIB: bits x width rounded up to whole 4-byte words.
inline std::size_t DibStride(std::size_t width, unsigned bits)
{
    return ((width * bits + 31) / 32) * 4;
}

// What a device context draws with: pens, brushes, fonts and bitmaps.
class CGdiObject
{
public:
    CGdiObject() = default;
    virtual ~CGdiObject() = default;
};

// A text's font metrics in device pixels.
struct TEXTMETRIC {
    long tmHeight;
    long tmAscent;
    long tmDescent;
    long tmInternalLeading;
    long tmExternalLeading;
    long tmAveCharWidth;
    long tmMaxCharWidth;
    long tmWeight;
};

// GetDeviceCaps indices.
inline constexpr int HORZSIZE = 4;
inline constexpr int VERTSIZE = 6;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
// Raster operations and background modes.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// A device context. This one draws nothing; operations that take one accept
// a null pointer as well. Colours are COLORREF values (0x00BBGGRR).
class CDC
{
public:
    CDC() = default;
    virtual ~CDC() = default;

    virtual int GetDeviceCaps(int /*nIndex*/) const { return 0; }
    // Selects a pen, brush, font or bitmap; returns the one selected before.
    virtual CGdiObject* SelectGdiObject(CGdiObject* /*pObject*/) { return nullptr; }
    // The font selected now; null when none is known.
    virtual CGdiObject* GetCurrentFont() const { return nullptr; }
    template <class T> T* SelectObject(T* pObject)
    {
        return static_cast<T*>(SelectGdiObject(pObject));
    }
    virtual unsigned long SetTextColor(unsigned long /*crColor*/) { return 0; }
    virtual unsigned long SetBkColor(unsigned long /*crColor*/) { return 0; }
    virtual int SetBkMode(int /*nBkMode*/) { return OPAQUE; }

    virtual bool TextOut(int /*x*/, int /*y*/, const char* /*lpszString*/, int /*nCount*/)
    {
        return true;
    }
    bool TextOut(int x, int y, const CString& str)
    {
        return TextOut(x, y, str.GetString(), str.GetLength());
    }
    // The size of a text in device pixels.
    virtual void GetTextExtent(const char* /*lpszString*/, int /*nCount*/, long& cx, long& cy) const
    {
        cx = cy = 0;
    }
    virtual bool GetTextMetrics(TEXTMETRIC* ptm) const
    {
        *ptm = TEXTMETRIC{};
        return true;
    }

    virtual void MoveTo(int /*x*/, int /*y*/) {}
    virtual bool LineTo(int /*x*/, int /*y*/) { return true; }
    virtual bool Rectangle(int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/) { return true; }
    virtual bool RoundRect(int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/, int /*x3*/, int /*y3*/)
    {
        return true;
    }
    virtual bool BitBlt(int /*x*/, int /*y*/, int /*nWidth*/, int /*nHeight*/, CDC* /*pSrcDC*/,
                        int /*xSrc*/, int /*ySrc*/, std::uint32_t /*dwRop*/)
    {
        return true;
    }
    // Returns the number of scan lines drawn.
    virtual int SetDIBitsToDevice(int /*xDest*/, int /*yDest*/, unsigned /*nWidth*/,
                                  unsigned /*nHeight*/, int /*xSrc*/, int /*ySrc*/,
                                  unsigned /*nStartScan*/, unsigned nNumScans,
                                  const void* /*pBits*/, const struct BITMAPINFO* /*pInfo*/,
                                  unsigned /*nColorUse*/)
    {
        return static_cast<int>(nNumScans);
    }
    virtual int StretchDIBits(int /*xDest*/, int /*yDest*/, int /*nDestWidth*/, int /*nDestHeight*/,
                              int /*xSrc*/, int /*ySrc*/, int /*nSrcWidth*/, int nSrcHeight,
                              const void* /*pBits*/, const struct BITMAPINFO* /*pInfo*/,
                              unsigned /*nColorUse*/, std::uint32_t /*dwRop*/)
    {
        return nSrcHeight;
    }

    // True for a printer's context.
    bool IsPrinting() const { return m_bPrinting; }
    bool m_bPrinting = false;
};

// A bitmap held as a bottom-up DIB in memory: 1, 4, 8, 16 (5-5-5), 24 or
// 32 bits a pixel, rows padded to 4 bytes, with a colour table up to 8 bits.
class CBitmap : public CGdiObject
{
public:
    CBitmap() = default;
    virtual ~CBitmap() = default;

    // Makes a zeroed bitmap; false (and nothing held) for an unsupported
    // depth or a size that is not positive or above 256 MiB of pixels.
    bool CreateDIB(int width, int height, int bitsPerPixel);
    void DeleteObject();
    // Takes the picture with this resource id. The pixels come from the
    // program's artwork when there is one; the id is kept either way, so a
    // missing image is no error and the bitmap still says which one it is.
    bool LoadBitmap(unsigned nIDResource);
    // The resource id the bitmap was loaded from, 0 for one made in memory.
    unsigned GetResourceID() const { return m_nResourceID; }
    bool IsValid() const { return m_width > 0; }

    // Fills a BITMAP record (size must be sizeof(BITMAP)); returns the bytes
    // written, 0 when the bitmap is empty or the size is wrong.
    int GetObject(int size, void* object) const;
    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitsPerPixel() const { return m_bits; }
    std::size_t Stride() const { return DibStride(static_cast<std::size_t>(m_width), m_bits); }
    // Row y, counted from the bottom row.
    std::uint8_t* Row(int y) { return m_pixels.data() + Stride() * static_cast<std::size_t>(y); }
    const std::uint8_t* Row(int y) const
    {
        return m_pixels.data() + Stride() * static_cast<std::size_t>(y);
    }
    // Colour table: 2^depth entries up to 8 bits, none above.
    std::vector<RGBQUAD>& ColorTable() { return m_table; }
    const std::vector<RGBQUAD>& ColorTable() const { return m_table; }

    // Copies scan lines [start, start + lines) out as a bottom-up DIB of the
    // depth that info->bmiHeader.biBitCount asks for: the bitmap's own depth,
    // or 24 from 16, 24 and 32 bits. With bits null only the header (and the
    // colour table) are filled in. The colour table is written behind the
    // header for depths of 8 or less. Returns the lines copied, 0 on failure.
    int GetDIBits(CDC* dc, unsigned start, unsigned lines, void* bits, BITMAPINFO* info,
                  unsigned usage) const;

private:
    unsigned m_nResourceID = 0;
    int m_width = 0;
    int m_height = 0;
    int m_bits = 0;
    std::vector<std::uint8_t> m_pixels;
    std::vector<RGBQUAD> m_table;
};

// Image classes: SECImage is a device-independent bitmap (pixels bottom row
// first, optional 4-byte row padding, colour table up to 8 bits) with
// loading and saving by path or stream; SECDib is its BMP form. The factory
// picks the format class by file extension or by trying every reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "glview/image_stream.h"
#include "platform/afx/gdi.h"

class SECImage : public CObject {
    DECLARE_DYNAMIC(SECImage)
public:
    SECImage();
    virtual ~SECImage();
    SECImage(const SECImage&) = delete;
    SECImage& operator=(const SECImage&) = delete;

    int m_nBitsPerPixel = 0;        // 1, 4, 8 or 24
    int m_nDisplayBits = 0;         // display depth when 8 or less, else 0
    int m_nDisplayPlanes = 1;
    bool m_bPadded = false;         // rows in m_Bits are padded to 4 bytes
    unsigned m_nPaddedWidth = 0;    // bytes of a padded row
    unsigned m_nWidth = 0;
    unsigned m_nHeight = 0;
    std::uint16_t m_nColors = 0;    // colour-table entries: 2, 16, 256 or 0
    std::uint16_t m_nDisplayColors = 0;
    std::vector<std::uint8_t> m_Bits;   // pixels, bottom row first
    BITMAPINFOHEADER m_Header{};        // kept in step with the sizes
    std::vector<RGBQUAD> m_Colors;      // m_nColors entries
    bool m_bPaletteDiffers = false; // depth differs from the display's
    int m_nBitOrder = 1;            // leftmost pixel in the most significant bits

    // The archive form is a BMP file image, whatever the format class.
    // Loading a refused picture throws CArchiveException and keeps the
    // current one.
    void Serialize(CArchive& ar) override;

    virtual bool MakePalette();
    virtual bool LoadFromPath(const char* path);
    virtual bool LoadFromFile(CFile* file);
    // Replaces the file at path through the safe writer (the old file stays
    // on failure); m_strWriteFailure then names the file and the cause.
    virtual bool SaveToPath(const char* path);
    virtual bool SaveToFile(CFile* file);
    // The same on any byte stream (memory, archive).
    virtual bool LoadFromStream(ImageStream& stream);
    virtual bool SaveToStream(ImageStream& stream);
    virtual bool ReleaseImage();
    virtual bool FinishLoad();
    virtual bool BeforeSave() { return true; }
    virtual bool AfterSave() { return true; }
    virtual bool WriteFormat(ImageStream& stream) = 0;
    virtual bool ReadFormat(ImageStream& stream) = 0;

    // Makes a zeroed image of the given size and depth (1, 4, 8 or 24) with
    // padded rows and a black colour table; false for a size that is empty
    // or whose pixels pass 256 MiB.
    bool CreateImage(unsigned width, unsigned height, int bitsPerPixel);
    bool CreateFromBitmap(CDC* dc, CBitmap* bitmap);
    // Takes the other image's pixels, table, sizes and depth; the other is
    // left empty.
    void TakeOver(SECImage& other);
    // Cuts the w x h rectangle whose top-left pixel is (x, y), y counted
    // from the top row, clipped to the picture; false when nothing is left.
    bool Crop(int x, int y, int w, int h);
    bool FlipVertical();
    bool FlipHorizontal();
    bool PadRows();
    bool UnpadRows();

    bool IsEmpty() const { return m_nWidth == 0 || m_nHeight == 0 || m_Bits.empty(); }
    // Bytes of a row in the current layout.
    std::size_t RowBytes() const;
    // Row y of the pixels, counted from the bottom row.
    std::uint8_t* Row(unsigned y) { return m_Bits.data() + RowBytes() * y; }
    const std::uint8_t* Row(unsigned y) const { return m_Bits.data() + RowBytes() * y; }
    // Colour-table index of pixel x in a row (1, 4 and 8 bits).
    unsigned GetIndex(const std::uint8_t* row, unsigned x) const;
    void SetIndex(std::uint8_t* row, unsigned x, unsigned index) const;
    // Colour of pixel (x, y), y counted from the bottom row.
    RGBQUAD GetColor(unsigned x, unsigned y) const;

    static std::size_t PaddedStride(std::size_t width, int bits) { return DibStride(width, static_cast<unsigned>(bits)); }
    static std::size_t PackedStride(std::size_t width, int bits) { return (width * static_cast<std::size_t>(bits) + 7) / 8; }
    // Largest pixel or decoder raster an image may hold.
    static constexpr std::size_t kMaxRaster = std::size_t{256} << 20;

    // Why the last SaveToPath failed, naming the file ("" after a success).
    std::string m_strWriteFailure;

protected:
    // The BMP file form shared by SECDib and the archive form.
    bool WriteBmp(ImageStream& stream) const;
    bool ReadBmp(ImageStream& stream);
    // Fills m_Header from the sizes and depth.
    void UpdateHeader();
};

// A BMP/DIB file.
class SECDib : public SECImage {
    DECLARE_DYNAMIC(SECDib)
public:
    bool WriteFormat(ImageStream& stream) override { return WriteBmp(stream); }
    bool ReadFormat(ImageStream& stream) override { return ReadBmp(stream); }
};

// Format codes of the factory.
enum SECImageType {
    SECIMAGE_DIB = 0, SECIMAGE_GIF = 1, SECIMAGE_PCX = 2, SECIMAGE_TIFF = 3,
    SECIMAGE_TARGA = 4, SECIMAGE_BMP = 5, SECIMAGE_JPEG = 6
};

// The image class of a format code; null for an unknown code. The caller
// owns the result, as with the loaders below.
SECImage* CreateImageOfType(int type);
// Format code of a path's extension (the text from its last "."), or -1.
int ImageTypeOfPath(const char* path);
// Loads by extension, falling back to trying every reader; null on failure.
SECImage* LoadImageFile(const char* path);
// Tries every reader in turn from the file's current position, going back
// there after each failure; null when none reads it.
SECImage* LoadImageFromFile(CFile* file);
SECImage* LoadImageFromStream(ImageStream& stream);

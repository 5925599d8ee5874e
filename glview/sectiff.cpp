#include "glview/sectiff.h"

#include <cerrno>
#include <cstdarg>
#include <sys/stat.h>
#include <cstdio>
#include <memory>
#include <unordered_map>

#include <tiffio.h>

#include "platform/afx/exceptions.h"
#include "platform/afx/safefile.h"

namespace {

int OnTiffMessage(TIFF*, void* user, const char* module, const char* format, va_list args) {
    if (user != nullptr) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        auto* out = static_cast<std::string*>(user);
        *out = module != nullptr ? std::string(module) + ": " + text : std::string(text);
    }
    return 1;   // handled: nothing is printed
}

int OnTiffWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

TIFF* OpenTiff(const char* path, const char* mode, std::string& error) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnTiffMessage, &error);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnTiffWarning, nullptr);
    // No buffer libtiff allocates for a file (strips, tiles, tables) may
    // pass the size of the largest picture.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(SECImage::kMaxRaster));
    TIFF* tif = TIFFOpenExt(path, mode, options);
    TIFFOpenOptionsFree(options);
    return tif;
}

struct TiffCloser {
    TIFF* tif;
    ~TiffCloser() {
        if (tif != nullptr)
            TIFFClose(tif);
    }
};

unsigned Lightness(const RGBQUAD& c) {
    return 299u * c.rgbRed + 587u * c.rgbGreen + 114u * c.rgbBlue;
}

} // namespace

IMPLEMENT_DYNAMIC(SECTiff, SECImage)

bool SECTiff::LoadFromPath(const char* path) {
    m_strError.clear();
    if (path == nullptr)
        return false;
    // Only a regular file is read: opening a FIFO or a device would block.
    struct stat st {
    };
    if (::stat(path, &st) == 0 && !S_ISREG(st.st_mode)) {
        m_strError = CFileException(CFileException::accessDenied, S_ISDIR(st.st_mode) ? EISDIR : ENXIO, path)
                         .GetErrorMessage()
                         .GetString();
        return false;
    }
    TiffCloser file{OpenTiff(path, "r", m_strError)};
    TIFF* tif = file.tif;
    if (tif == nullptr)
        return false;
    std::uint32_t width = 0, height = 0;
    std::uint16_t bitsPerSample = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height))
        return false;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    if (width == 0 || height == 0 || static_cast<std::uint32_t>(bitsPerSample) * samples == 16)
        return false;
    char message[1024];
    if (!TIFFRGBAImageOK(tif, message))
        return false;
    if (static_cast<std::size_t>(width) * 4 > kMaxRaster / height)
        return false;

    // Colour files become 24 bits; grey, bilevel and palette files 8 bits.
    const bool colour = samples >= 3;
    SECDib image;
    if (!image.CreateImage(width, height, colour ? 24 : 8))
        return false;
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
    // The raster reader turns any orientation the file gives into rows
    // bottom row first.
    if (!TIFFReadRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_BOTLEFT, 0))
        return false;

    std::unordered_map<std::uint32_t, unsigned> indexOf;
    const bool palette = !colour && photometric == PHOTOMETRIC_PALETTE;
    if (palette) {
        std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || bitsPerSample > 8)
            return false;
        const unsigned entries = 1u << bitsPerSample;
        // Maps with every entry below 256 hold 8-bit values (as the raster
        // reader takes them); otherwise the high byte is the colour.
        bool eightBit = true;
        for (unsigned i = 0; i < entries; ++i)
            if (red[i] >= 256 || green[i] >= 256 || blue[i] >= 256)
                eightBit = false;
        const auto scale = [eightBit](std::uint16_t v) {
            return static_cast<std::uint8_t>(eightBit ? v : v >> 8);
        };
        for (unsigned i = 0; i < entries; ++i) {
            image.m_Colors[i] = RGBQUAD{scale(blue[i]), scale(green[i]), scale(red[i]), 0};
            const std::uint32_t key = (static_cast<std::uint32_t>(scale(red[i])) << 16) |
                                      (static_cast<std::uint32_t>(scale(green[i])) << 8) | scale(blue[i]);
            indexOf.emplace(key, i);
        }
    } else if (!colour) {
        for (unsigned i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            image.m_Colors[i] = RGBQUAD{v, v, v, 0};
        }
    }
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = image.Row(y);
        const std::uint32_t* src = raster.data() + static_cast<std::size_t>(y) * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t p = src[x];
            const auto r = static_cast<std::uint8_t>(TIFFGetR(p));
            const auto g = static_cast<std::uint8_t>(TIFFGetG(p));
            const auto b = static_cast<std::uint8_t>(TIFFGetB(p));
            if (colour) {
                row[3 * x] = b;
                row[3 * x + 1] = g;
                row[3 * x + 2] = r;
            } else if (palette) {
                const auto it = indexOf.find((static_cast<std::uint32_t>(r) << 16) |
                                             (static_cast<std::uint32_t>(g) << 8) | b);
                row[x] = static_cast<std::uint8_t>(it != indexOf.end() ? it->second : 0);
            } else {
                row[x] = r;
            }
        }
    }
    // A failed load leaves the current picture as it was.
    if (!image.FinishLoad())
        return false;
    TakeOver(image);
    return true;
}

bool SECTiff::SaveToPath(const char* path) {
    m_strError.clear();
    if (IsEmpty() || path == nullptr)
        return false;
    if (m_nCompression == COMPRESSION_CCITTFAX3 && m_nBitsPerPixel != 1)
        return false;
    if (!BeforeSave())
        return false;

    // One strip, rows top-down, built aside so that the image is untouched.
    const unsigned outBits = m_nBitsPerPixel == 24 ? 24 : (m_nBitsPerPixel == 1 ? 1 : 8);
    const std::size_t stride = PackedStride(m_nWidth, static_cast<int>(outBits));
    std::vector<std::uint8_t> strip(stride * m_nHeight, 0);
    // Min-is-black: invert the bits when entry 0 is the lighter colour.
    const bool invert = outBits == 1 && m_Colors.size() >= 2 && Lightness(m_Colors[0]) > Lightness(m_Colors[1]);
    for (unsigned r = 0; r < m_nHeight; ++r) {
        const std::uint8_t* src = Row(m_nHeight - 1 - r);
        std::uint8_t* dst = strip.data() + stride * r;
        if (outBits == 24) {
            for (unsigned x = 0; x < m_nWidth; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
        } else if (outBits == 1) {
            for (std::size_t i = 0; i < stride; ++i)
                dst[i] = invert ? static_cast<std::uint8_t>(~src[i]) : src[i];
            // Bits past the width stay clear.
            if (m_nWidth % 8 != 0)
                dst[stride - 1] &= static_cast<std::uint8_t>(0xFF00u >> (m_nWidth % 8));
        } else {
            for (unsigned x = 0; x < m_nWidth; ++x)
                dst[x] = static_cast<std::uint8_t>(GetIndex(src, x));
        }
    }

    // libtiff writes the safe writer's temporary file by its name; the old
    // file is replaced only when the whole image was written.
    m_strWriteFailure.clear();
    std::unique_ptr<afx::SafeFileWriter> writer;
    try {
        writer = std::make_unique<afx::SafeFileWriter>(path);
    } catch (const std::exception& e) {
        m_strWriteFailure = afx::SafeWriteMessage(e, path).GetString();
        return false;
    }
    bool ok = false;
    {
        TiffCloser file{OpenTiff(writer->GetTempPath(), "w", m_strError)};
        TIFF* tif = file.tif;
        if (tif == nullptr)
            return false;
        ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(m_nWidth)) &&
             TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(m_nHeight)) &&
             TIFFSetField(tif, TIFFTAG_COMPRESSION, static_cast<std::uint16_t>(m_nCompression)) &&
             TIFFSetField(tif, TIFFTAG_PLANARCONFIG, static_cast<std::uint16_t>(PLANARCONFIG_CONTIG)) &&
             TIFFSetField(tif, TIFFTAG_ORIENTATION, static_cast<std::uint16_t>(ORIENTATION_TOPLEFT)) &&
             TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(m_nHeight));
        if (ok && m_nCompression == COMPRESSION_CCITTFAX3)
            ok = TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, static_cast<std::uint32_t>(5));
        if (ok && !m_strDescription.empty())
            ok = TIFFSetField(tif, TIFFTAG_IMAGEDESCRIPTION, m_strDescription.c_str());
        if (ok && outBits == 24) {
            ok = TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(3)) &&
                 TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(8)) &&
                 TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, static_cast<std::uint16_t>(PHOTOMETRIC_RGB));
        } else if (ok && outBits == 1) {
            ok = TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(1)) &&
                 TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(1)) &&
                 TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, static_cast<std::uint16_t>(PHOTOMETRIC_MINISBLACK));
        } else if (ok) {
            // Colour map of 16-bit values: each 8-bit colour x 257.
            std::vector<std::uint16_t> red(256, 0), green(256, 0), blue(256, 0);
            for (std::size_t i = 0; i < m_Colors.size() && i < 256; ++i) {
                red[i] = static_cast<std::uint16_t>(m_Colors[i].rgbRed * 257);
                green[i] = static_cast<std::uint16_t>(m_Colors[i].rgbGreen * 257);
                blue[i] = static_cast<std::uint16_t>(m_Colors[i].rgbBlue * 257);
            }
            ok = TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(1)) &&
                 TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(8)) &&
                 TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, static_cast<std::uint16_t>(PHOTOMETRIC_PALETTE)) &&
                 TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
        }
        if (ok)
            ok = TIFFWriteEncodedStrip(tif, 0, strip.data(), static_cast<tmsize_t>(strip.size())) >= 0;
        if (ok)
            ok = TIFFFlush(tif) != 0;
    }
    try {
        if (!ok)
            throw CFileException(CFileException::generic, -1, path);
        writer->Commit();
    } catch (const std::exception& e) {
        m_strWriteFailure = afx::SafeWriteMessage(e, path).GetString();
        return false;
    }
    return AfterSave();
}

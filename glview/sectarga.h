// Truevision Targa files (TGA 2.0 layout). Every picture is read into 24
// bits; writing gives an uncompressed 24-bit file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "glview/secimage.h"

class SECTarga : public SECImage {
    DECLARE_DYNAMIC(SECTarga)
public:
    // The 18-byte header of the file read or written last.
    std::uint8_t m_nIdLength = 0;
    std::uint8_t m_nColorMapType = 0;
    std::uint8_t m_nImageType = 0;
    std::uint16_t m_nMapFirst = 0;
    std::uint16_t m_nMapLength = 0;
    std::uint8_t m_nMapEntrySize = 0;
    std::uint16_t m_nXOrigin = 0;
    std::uint16_t m_nYOrigin = 0;
    std::uint16_t m_nImageWidth = 0;
    std::uint16_t m_nImageHeight = 0;
    std::uint8_t m_nPixelDepth = 0;
    std::uint8_t m_nDescriptor = 0;
    // TGA 2.0: the footer's offsets, and the extension area as read.
    bool m_bVersion2 = false;
    std::uint32_t m_nExtensionOffset = 0;
    std::uint32_t m_nDeveloperOffset = 0;
    std::vector<std::uint8_t> m_Extension;  // 495 bytes, or empty

    static constexpr std::size_t kExtensionSize = 495;

    // Author name and comments of the extension area ("" without one).
    std::string Author() const;
    std::string Comments() const;

    bool ReadFormat(ImageStream& stream) override;
    bool WriteFormat(ImageStream& stream) override;
};

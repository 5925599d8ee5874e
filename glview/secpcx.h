// PC Paintbrush (PCX) files: read from 1-bit (1 to 4 planes) and 8-bit
// files into 8 bits a pixel; written as 8-bit run-length encoded files.
#pragma once

#include <array>
#include <cstdint>

#include "glview/secimage.h"

class SECPcx : public SECImage {
    DECLARE_DYNAMIC(SECPcx)
public:
    // The 128-byte header of the file read or written last.
    std::array<std::uint8_t, 128> m_Header128{};

    bool ReadFormat(ImageStream& stream) override;
    bool WriteFormat(ImageStream& stream) override;
};

// GIF files are neither read nor written: both operations fail.
class SECGif : public SECImage {
    DECLARE_DYNAMIC(SECGif)
public:
    bool ReadFormat(ImageStream&) override { return false; }
    bool WriteFormat(ImageStream&) override { return false; }
};

// TIFF files through libtiff. They are read and written by path only:
// reading or writing an open stream fails.
#pragma once

#include <string>

#include "glview/secimage.h"

class SECTiff : public SECImage {
    DECLARE_DYNAMIC(SECTiff)
public:
    // Compression code for writing, handed to libtiff as it is: 1 none,
    // 32773 PackBits, 3 CCITT Group 3 (1-bit images only).
    int m_nCompression = 1;
    // Written as the image description when not empty.
    std::string m_strDescription;
    // The last message libtiff reported, kept instead of printed.
    std::string m_strError;

    bool LoadFromPath(const char* path) override;
    bool SaveToPath(const char* path) override;
    bool ReadFormat(ImageStream&) override { return false; }
    bool WriteFormat(ImageStream&) override { return false; }
};

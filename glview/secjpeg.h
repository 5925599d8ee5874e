// JPEG files through the IJG library, over any image stream.
#pragma once

#include <string>
#include <vector>

#include "glview/secimage.h"

class SECJpeg : public SECImage {
    DECLARE_DYNAMIC(SECJpeg)
public:
    SECJpeg();

    int m_nQuality = 75;            // compression quality when writing
    bool m_bQuantize = false;       // read into 256 colours (8-bit displays only)
    // Warnings of the last read (a premature end of the data, corrupt data),
    // kept here instead of being printed.
    std::vector<std::string> m_Warnings;

    bool ReadFormat(ImageStream& stream) override;
    bool WriteFormat(ImageStream& stream) override;
};

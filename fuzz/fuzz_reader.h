// Shared body of the image-reader fuzz targets: a picture that loads must
// be consistent enough to be edited and saved again as BMP.
#pragma once

#include <cstddef>
#include <cstdint>

#include "glview/lumetra.h"

inline void ExerciseLoaded(SECImage& image) {
    if (image.IsEmpty())
        return;
    MemoryStream out;
    SECDib copy;
    copy.TakeOver(image);
    copy.FlipHorizontal();
    copy.Crop(1, 1, static_cast<int>(copy.m_nWidth) - 1, static_cast<int>(copy.m_nHeight) - 1);
    copy.SaveToStream(out);
}

template <class Image>
int FuzzReader(const std::uint8_t* data, std::size_t size) {
    Image image;
    MemoryStream in(data, size);
    if (image.LoadFromStream(in))
        ExerciseLoaded(image);
    return 0;
}

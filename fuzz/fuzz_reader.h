// Shared body of the image-reader fuzz targets: a picture that loads must
// be consistent enough to be edited and saved again as BMP. Readers that
// take a path get the input through a scratch file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "fuzz/fuzz_reached.h"
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
    FuzzReached();
    if (image.LoadFromStream(in))
        ExerciseLoaded(image);
    return 0;
}

// Writes the input to a scratch file of this process ("/tmp/brantel_fuzz_"
// + name), runs read(path) on it and removes it again.
template <class Read>
int FuzzScratchFile(const char* name, const std::uint8_t* data, std::size_t size, Read read) {
    static const std::string path = std::string("/tmp/brantel_fuzz_") + name + "_" + std::to_string(::getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    std::fclose(file);
    if (written) {
        FuzzReached();
        read(path.c_str());
    }
    std::remove(path.c_str());
    return 0;
}

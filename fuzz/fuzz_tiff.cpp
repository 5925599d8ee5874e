// TIFF files are read by path only: each input goes through a scratch file.
#include <cstdio>
#include <string>

#include <unistd.h>

#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/brantel_fuzz_tiff_" + std::to_string(::getpid()) + ".tif";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    std::fclose(file);
    if (written) {
        SECTiff image;
        if (image.LoadFromPath(path.c_str()))
            ExerciseLoaded(image);
    }
    std::remove(path.c_str());
    return 0;
}

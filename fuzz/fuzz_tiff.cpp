// TIFF files are read by path only: each input goes through a scratch file.
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzScratchFile("tiff", data, size, [](const char* path) {
        SECTiff image;
        if (image.LoadFromPath(path))
            ExerciseLoaded(image);
    });
}

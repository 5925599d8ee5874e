#include <memory>

#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryStream in(data, size);
    FuzzReached();
    std::unique_ptr<SECImage> image(LoadImageFromStream(in));
    if (image)
        ExerciseLoaded(*image);
    return 0;
}

// The archive form of an image, read from a scratch file through CArchive.
#include <cstdio>
#include <string>

#include <unistd.h>

#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/brantel_fuzz_archive_" + std::to_string(::getpid()) + ".bin";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    const bool written = std::fwrite(data, 1, size, out) == size;
    std::fclose(out);
    if (written) {
        SECDib image;
        try {
            CFile file(path.c_str(), CFile::modeRead);
            CArchive ar(&file, CArchive::load);
            image.Serialize(ar);
            ExerciseLoaded(image);
        } catch (CException&) {
            // A refused archive throws; that is the expected failure.
        }
    }
    std::remove(path.c_str());
    return 0;
}

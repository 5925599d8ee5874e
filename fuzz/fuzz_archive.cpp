// The archive form of an image, read from a scratch file through CArchive.
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzScratchFile("archive", data, size, [](const char* path) {
        SECDib image;
        try {
            CFile file(path, CFile::modeRead);
            CArchive ar(&file, CArchive::load);
            image.Serialize(ar);
            ExerciseLoaded(image);
        } catch (CException&) {
            // A refused archive throws; that is the expected failure.
        }
    });
}

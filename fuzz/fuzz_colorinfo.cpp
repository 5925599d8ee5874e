// The colour and light settings record, read through CArchive in both of its
// forms: into the settings and as an object of the archive's object map.
#include <cstdio>
#include <string>

#include <unistd.h>

#include "glview/lumetra.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/brantel_fuzz_colorinfo_" + std::to_string(::getpid()) + ".bin";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    const bool written = std::fwrite(data, 1, size, out) == size;
    std::fclose(out);
    if (written) {
        const COGLColorInfo start;
        try {
            CFile file(path.c_str(), CFile::modeRead);
            CArchive ar(&file, CArchive::load);
            COGLColorInfo::LoadGlobal(ar);
        } catch (CException&) {
            // A short record throws; that is the expected failure.
        }
        start.WriteToGlobal();
        try {
            CFile file(path.c_str(), CFile::modeRead);
            CArchive ar(&file, CArchive::load);
            try {
                COGLColorInfo* loaded = nullptr;
                ar >> loaded;
                delete loaded;
            } catch (CException&) {
                // The archive keeps what it made before the failure; this
                // reader owns all of it.
                for (CObject* made : ar.GetCreatedObjects())
                    delete made;
            }
        } catch (CException&) {
        }
    }
    std::remove(path.c_str());
    return 0;
}

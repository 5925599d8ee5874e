// The colour and light settings record, read through CArchive in both of its
// forms: into the settings and as an object of the archive's object map.
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzScratchFile("colorinfo", data, size, [](const char* path) {
        const COGLColorInfo start;
        try {
            CFile file(path, CFile::modeRead);
            CArchive ar(&file, CArchive::load);
            COGLColorInfo::LoadGlobal(ar);
        } catch (CException&) {
            // A short record throws; that is the expected failure.
        }
        start.WriteToGlobal();
        try {
            CFile file(path, CFile::modeRead);
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
    });
}

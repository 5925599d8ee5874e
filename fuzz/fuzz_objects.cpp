// The object archive: any registered class, read through ReadObject(null),
// stored again when it loads; then discarded as a document discards a load.
#include "fuzz/fuzz_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzmodel::Quiet();
    fuzzmodel::Scratch scratch("objects", data, size);
    if (!scratch.ok())
        return 0;
    try {
        CFile file(scratch.path(), CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        try {
            CObject* ob = ar.ReadObject(nullptr);
            if (ob)
                fuzzmodel::StoreAgain([&](CArchive& out) { out << ob; });
            delete ob;
        } catch (CException&) {
            // A refused file throws; the load is discarded below.
        }
        ar.DeleteCreatedObjects();
    } catch (CException&) {
    }
    return 0;
}

// The program's document files (plate, membrane, shell and constrained-mesh
// documents) loaded as opening a file loads them: a refused file leaves the
// document whole and frees what the load made; a loaded one must store again
// and survive the document's statics swap and deletion.
#include <memory>

#include "app/shell/brantelshell.h"
#include "fuzz/fuzz_model.h"

namespace
{

template <class Doc> void LoadAs(const char* path)
{
    auto doc = std::make_unique<Doc>();
    doc->m_bAutoDelete = FALSE;
    try {
        CFile file(path, CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        doc->Serialize(ar);
        fuzzmodel::StoreAgain([&](CArchive& out) { doc->Serialize(out); });
        doc->UpdateStatics(true);
        doc->UpdateStatics(false);
    } catch (CException&) {
        // A refused file: the document keeps its own model.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzmodel::Quiet();
    fuzzmodel::Scratch scratch("platedoc", data, size);
    if (!scratch.ok())
        return 0;
    LoadAs<CBrantelDoc>(scratch.path());
    LoadAs<CDocShell>(scratch.path());
    LoadAs<CDocRestr>(scratch.path());
    fuzzmodel::Quiet();
    return 0;
}

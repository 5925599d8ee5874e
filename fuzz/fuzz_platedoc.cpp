// The program's document files (plate, membrane, shell and constrained-mesh
// documents) loaded as opening a file loads them: a refused file leaves the
// document whole (its model stored byte for byte as before, the identifier
// counters where they were) and frees what the load made; a loaded one must
// store again and survive the document's statics swap and deletion.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/shell/brantelshell.h"
#include "fuzz/fuzz_model.h"

namespace
{

// The document's archive as stored now.
std::string StoredBytes(CBrantelDoc& doc)
{
    const std::string path = "/tmp/brantel_fuzz_doc_" + std::to_string(::getpid());
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
    }
    std::string bytes;
    if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            bytes.append(buffer, n);
        std::fclose(in);
    }
    std::remove(path.c_str());
    return bytes;
}

// A square plate region, so that the file is opened into a document that
// already holds a model.
void AddSquare(CBrantelDoc& doc)
{
    doc.UpdateStatics(true);
    CPlateComp* comp = doc.GetPlateComp();
    auto* material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
    auto* region = new CSectPlate(new CBoundNode(0.0, 0.0, 0.0, nullptr, 0),
                                  new CBoundNode(10.0, 0.0, 0.0, nullptr, 0),
                                  new CBoundNode(10.0, 10.0, 0.0, nullptr, 0),
                                  new CBoundNode(0.0, 10.0, 0.0, nullptr, 0), material);
    comp->AddTail(region);
    doc.UpdateStatics(false);
}

template <class Doc> void LoadAs(const char* path)
{
    auto doc = std::make_unique<Doc>();
    doc->m_bAutoDelete = FALSE;
    AddSquare(*doc);
    const std::string before = StoredBytes(*doc);
    const DWORD counters[] = {CSNode::lIDnode, CEdge::lIDedge, CGraph::lIDGraph};
    try {
        CFile file(path, CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        doc->Serialize(ar);
        fuzzmodel::StoreAgain([&](CArchive& out) { doc->Serialize(out); });
        doc->UpdateStatics(true);
        doc->UpdateStatics(false);
    } catch (CException&) {
        // A refused file: the document keeps its own model, byte for byte,
        // and the identifier counters stand where they stood.
        const DWORD after[] = {CSNode::lIDnode, CEdge::lIDedge, CGraph::lIDGraph};
        if (StoredBytes(*doc) != before || !std::equal(counters, counters + 3, after))
            std::abort();
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

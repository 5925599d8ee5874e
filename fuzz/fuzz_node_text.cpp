// The node-list text import (CSNode::ASCIIReadNodes). Selector: bits 0-1
// the format (1 to 4), bit 2 the advance flag, bit 3 a comment mark.
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzztext::FuzzText("node_text", data, size, [](CFile& file, std::uint8_t sel) {
        CObList nodes;
        CString comment(";");
        try {
            CSNode::ASCIIReadNodes(file, nodes, "NODES", "END", (sel & 8) ? &comment : nullptr,
                                   1 + (sel & 3), (sel & 4) != 0);
        } catch (...) {
            while (!nodes.IsEmpty())
                delete nodes.RemoveHead();
            throw;
        }
        while (!nodes.IsEmpty())
            delete nodes.RemoveHead();
    });
}

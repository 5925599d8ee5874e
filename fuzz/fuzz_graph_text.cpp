// The graph text import (CGraph::ASCIIReadGraph). Selector: bit 0 the
// advance flag, bits 1-3 the layout (0 to 4), bit 4 merging of equal nodes.
// The blocks of the file are read one after the other into one graph.
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzztext::FuzzText("graph_text", data, size, [](CFile& file, std::uint8_t sel) {
        ASCII_SETTING set;
        set.m_Keys.Copy(fuzztext::GraphKeys());
        set.m_pFile = &file;
        set.m_bMerge = (sel & 16) != 0;
        int options[2] = {sel & 1, ((sel >> 1) & 7) % 5};
        CGraph graph;
        for (int block = 0; block < 8; ++block) {
            const ULONGLONG before = file.GetPosition();
            if (graph.ASCIIReadGraph(set, options, 2, nullptr, 0, nullptr) <= 0 ||
                file.GetPosition() == before)
                break;
        }
    });
}

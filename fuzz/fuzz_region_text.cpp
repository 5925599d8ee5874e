// The region text import (CSectArea::ASCIIReadGraph). Selector: bit 0 the
// advance flag, bits 1-2 the coordinate count (1 to 3), bit 3 merging.
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzztext::FuzzText("region_text", data, size, [](CFile& file, std::uint8_t sel) {
        ASCII_SETTING set;
        set.m_Keys.Copy(fuzztext::RegionMarkers());
        set.m_pFile = &file;
        set.m_bMerge = (sel & 8) != 0;
        int options[2] = {sel & 1, 1 + ((sel >> 1) & 3) % 3};
        CSectArea region;
        region.ASCIIReadGraph(set, options, 2, nullptr, 0, nullptr);
    });
}

// The plate-region text import (CSectPlate's text constructor, with its
// parameter block): the regions of the file one after the other, as the
// program reads them. Selector: bits 0-1 the coordinate count (1 to 3),
// bit 2 scaling by 0.5.
#include <vector>

#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzztext::FuzzText("plate_region_text", data, size, [](CFile& file, std::uint8_t sel) {
        CStringArray markers = fuzztext::RegionMarkers();
        int options[2] = {1, 1 + (sel & 3) % 3};
        double scales[3] = {0.5, 0.5, 0.5};
        const bool scaled = (sel & 4) != 0;
        std::vector<CSectPlate*> read;
        for (ULONGLONG last = ~0ull; file.GetPosition() != last && read.size() < 16;) {
            last = file.GetPosition();
            read.push_back(new CSectPlate(&file, markers, options, 2, scaled ? scales : nullptr,
                                          scaled ? 3 : 0, nullptr, 1.0, 0.0));
        }
        for (CSectPlate* region : read)
            delete region;
    });
}

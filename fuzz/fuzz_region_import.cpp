// The plate document's region import: the regions of a text file read one
// after the other, corners joined across the regions read and duplicates
// dropped; then the regions are validated and freed. Selector: bit 0
// scaling by 0.5.
#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "platform/ferrand/ferrand.h"
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzztext::FuzzText("region_import", data, size, [](CFile& file, std::uint8_t sel) {
        CStringArray markers;
        RegionTextMarkers(markers);
        const double f = (sel & 1) ? 0.5 : 1.0;
        double scale[4] = {f, f, 1.0, 0.0};
        CMaterial material("Steel", 7.85e-06, 210000.0, 80000.0, 0.3, 1.2e-05);
        for (CSectPlate* region : ReadTextRegions(file, markers, scale, &material)) {
            region->Validate();
            delete region;
        }
    });
}

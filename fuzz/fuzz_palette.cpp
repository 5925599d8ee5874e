// The palette file reader on arbitrary bytes: a table that loads must ramp
// and save again, and the saved bytes must load to the same node switches.
#include <cstdint>
#include <cstdlib>

#include "framework/palettefile.h"
#include "fuzz/fuzz_reached.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    framira::PaletteTable table;
    FuzzReached();
    if (framira::ParsePalette(data, size, table) != framira::PaletteStatus::ok)
        return 0;
    framira::MakeRamp(table);
    const std::string bytes = framira::PaletteBytes(table);
    if (bytes.size() != framira::kPaletteFileSize)
        std::abort();
    framira::PaletteTable again;
    if (framira::ParsePalette(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                              again) != framira::PaletteStatus::ok)
        std::abort();
    for (int i = 0; i < framira::kPaletteEntries; ++i)
        if (again.node[i] != table.node[i])
            std::abort();
    return 0;
}

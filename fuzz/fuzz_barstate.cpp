// The visibility list of a frame's bar state (profile text, editable by
// hand) on arbitrary bytes: what parses formats and parses back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_reached.h"
#include "platform/ui/core/afxui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReached();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<AfxBarVisibility> bars = AfxParseBarVisibility(CString(text));
    if (AfxParseBarVisibility(AfxFormatBarVisibility(bars)) != bars)
        std::abort();
    return 0;
}

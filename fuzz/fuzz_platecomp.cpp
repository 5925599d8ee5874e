// A whole plate model (CPlateComp) loaded as a document loads it.
#include "fuzz/fuzz_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzmodel::FuzzComponent<CPlateComp>("platecomp", data, size);
}

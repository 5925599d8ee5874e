// A whole buckling model (CShellComp) loaded as a document loads it.
#include "fuzz/fuzz_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzmodel::FuzzComponent<CShellComp>("shellcomp", data, size);
}

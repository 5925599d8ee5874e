// The matrix text import (CMatrix::ReadASCII). Selector: bit 0 reads the
// whole file, else the block between the keys MATRIX and END with the
// comment mark !.
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzztext::FuzzText("matrix_text", data, size, [](CFile& file, std::uint8_t sel) {
        CMatrix m;
        if (sel & 1)
            m.ReadASCII(&file);
        else
            m.ReadASCII(&file, "MATRIX", "END", "!");
    });
}

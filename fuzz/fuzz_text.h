// Shared body of the text-import fuzz targets: the first byte of the input
// chooses the reader's options, the rest is the text, read from a scratch
// file. Whatever the import makes is freed by its owner afterwards.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_model.h"

namespace fuzztext
{

// Runs body(file, selector) over the text after the selector byte.
template <class F>
int FuzzText(const char* name, const std::uint8_t* data, std::size_t size, F body)
{
    if (size < 1)
        return 0;
    fuzzmodel::Quiet();
    fuzzmodel::Scratch scratch(name, data + 1, size - 1);
    if (!scratch.ok())
        return 0;
    try {
        CFile file(scratch.path(), CFile::modeRead);
        body(file, data[0]);
    } catch (CException&) {
        // A refused text may throw; the importer cleans up after itself.
    }
    return 0;
}

// Keys of the graph and node blocks, and of the region blocks.
inline CStringArray GraphKeys()
{
    CStringArray keys;
    keys.Add("*GRAPH");
    keys.Add("*END");
    keys.Add("!");
    return keys;
}

inline CStringArray RegionMarkers()
{
    CStringArray markers;
    markers.Add("\xA7Section");
    markers.Add("\xA7" "End");
    markers.Add("NAME");
    return markers;
}

} // namespace fuzztext

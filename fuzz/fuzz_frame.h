// Shared body of the main frames' settings-part fuzz targets: the input is
// read as the frame's part of the settings archive (a short or damaged one
// only ends the reading early), and a list of ten values must still hold
// its current value among the positive ones at its start.
#pragma once

#include <cstdlib>

#include "fuzz/fuzz_reader.h"

template <class Frame>
void LoadFrameSettings(Frame& frame, const char* name, const std::uint8_t* data, std::size_t size)
{
    FuzzScratchFile(name, data, size, [&frame](const char* path) {
        CFile file;
        if (!file.Open(path, CFile::modeRead))
            return;
        try {
            CArchive ar(&file, CArchive::load, 4096);
            frame.InitFrame(ar);
        } catch (const CException&) {
        }
        file.Close();
    });
}

inline void RequireListed(const double (&values)[10], double current)
{
    bool listed = false;
    for (double value : values) {
        if (!(value > 0.0))
            break;
        listed = listed || value == current;
    }
    if (!listed)
        std::abort();
}

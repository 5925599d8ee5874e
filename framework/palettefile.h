// The colour-scale table as the colour-scale page edits it (256 entries of
// red, green, blue and a node switch), its ramp rule, and the palette file
// "*.pal": a 32-bit count 256, then per entry three float32 colours and a
// 32-bit node word (1 a node, 0 not), little-endian, 4100 bytes in all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace framira
{

constexpr int kPaletteEntries = 256;
constexpr std::size_t kPaletteFileSize = 4 + 16 * kPaletteEntries;

struct PaletteTable {
    float colour[kPaletteEntries][3] = {}; // red, green, blue, 0.0 ... 1.0
    bool node[kPaletteEntries] = {};
};

// Between each two neighbouring nodes a and b, every entry a <= i < b of
// each component becomes the straight line through entries a and b
// (computed in double, stored as float); entry b keeps its value. Entries
// outside the first and last node stay; fewer than two nodes change nothing.
void MakeRamp(PaletteTable& table);

enum class PaletteStatus {
    ok,
    cannotOpen,   // the file could not be opened
    incompatible, // the count is not 256
    readError,    // the file ends before its 256 entries
    writeError,   // a write failed part way
};

// The message shown for a failure ("" for ok).
const char* PaletteMessage(PaletteStatus status, bool bReading);

// Reads a palette from the bytes of a file. table changes only when the
// count is 256 and all 256 entries are there; bytes after them are ignored.
// A colour component outside 0 ... 1 (or NaN) keeps the value table held;
// pOutOfRange (when given) receives how many did.
PaletteStatus ParsePalette(const unsigned char* pData, std::size_t nSize, PaletteTable& table,
                           int* pOutOfRange = nullptr);
// Reads the palette file at path; table changes only on success.
PaletteStatus ReadPalette(const std::string& path, PaletteTable& table,
                          int* pOutOfRange = nullptr);
// The 4100 bytes of a palette file of table.
std::string PaletteBytes(const PaletteTable& table);
// Replaces the file at path with table through the safe writer: on failure
// the old file stays as it was. cannotOpen when the file or its folder may
// not be written, writeError for any later failure; pCause (when given)
// receives the message naming the file and the cause ("" on success).
PaletteStatus WritePalette(const std::string& path, const PaletteTable& table,
                           std::string* pCause = nullptr);

} // namespace framira

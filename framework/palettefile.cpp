#include "framework/palettefile.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/afx/exceptions.h"
#include "platform/afx/safefile.h"

namespace framira
{

namespace
{

std::uint32_t ReadU32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

float ReadF32(const unsigned char* p)
{
    const std::uint32_t bits = ReadU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void AppendU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendF32(std::string& out, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    AppendU32(out, bits);
}

} // namespace

void MakeRamp(PaletteTable& table)
{
    std::vector<int> nodes;
    for (int i = 0; i < kPaletteEntries; ++i)
        if (table.node[i])
            nodes.push_back(i);
    for (int k = 0; k < 3; ++k) {
        for (std::size_t n = 1; n < nodes.size(); ++n) {
            const int a = nodes[n - 1], b = nodes[n];
            const double slope =
                (double(table.colour[b][k]) - double(table.colour[a][k])) / double(b - a);
            const double offset = double(table.colour[a][k]) - a * slope;
            for (int i = a; i < b; ++i)
                table.colour[i][k] = static_cast<float>(i * slope + offset);
        }
    }
}

const char* PaletteMessage(PaletteStatus status, bool bReading)
{
    switch (status) {
    case PaletteStatus::ok:
        return "";
    case PaletteStatus::cannotOpen:
        return bReading ? "Unable to open file for reading" : "Unable to open file for writing";
    case PaletteStatus::incompatible:
        return "Incompatible format.";
    case PaletteStatus::readError:
        return "Error during reading";
    case PaletteStatus::writeError:
        return "Error during writing";
    }
    return "";
}

PaletteStatus ParsePalette(const unsigned char* pData, std::size_t nSize, PaletteTable& table,
                           int* pOutOfRange)
{
    if (pOutOfRange)
        *pOutOfRange = 0;
    if (nSize < 4)
        return PaletteStatus::readError;
    if (ReadU32(pData) != kPaletteEntries)
        return PaletteStatus::incompatible;
    if (nSize < kPaletteFileSize)
        return PaletteStatus::readError;
    PaletteTable read = table;
    int outOfRange = 0;
    for (int i = 0; i < kPaletteEntries; ++i) {
        const unsigned char* p = pData + 4 + 16 * i;
        for (int k = 0; k < 3; ++k) {
            const float v = ReadF32(p + 4 * k);
            // A colour outside 0 ... 1 (or NaN) keeps the table's value.
            if (v >= 0.0f && v <= 1.0f)
                read.colour[i][k] = v;
            else
                ++outOfRange;
        }
        read.node[i] = ReadU32(p + 12) == 1;
    }
    table = read;
    if (pOutOfRange)
        *pOutOfRange = outOfRange;
    return PaletteStatus::ok;
}

PaletteStatus ReadPalette(const std::string& path, PaletteTable& table, int* pOutOfRange)
{
    if (pOutOfRange)
        *pOutOfRange = 0;
    // CFile opens only a regular file, never blocking on a FIFO or device.
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead))
        return PaletteStatus::cannotOpen;
    // Only the first 4100 bytes count; a longer file is not read to its end.
    std::vector<unsigned char> bytes(kPaletteFileSize);
    std::size_t got = 0;
    try {
        while (got < bytes.size()) {
            const UINT n = file.Read(bytes.data() + got, UINT(bytes.size() - got));
            if (n == 0)
                break;
            got += n;
        }
    } catch (const CFileException&) {
        return PaletteStatus::cannotOpen;
    }
    return ParsePalette(bytes.data(), got, table, pOutOfRange);
}

std::string PaletteBytes(const PaletteTable& table)
{
    std::string out;
    out.reserve(kPaletteFileSize);
    AppendU32(out, kPaletteEntries);
    for (int i = 0; i < kPaletteEntries; ++i) {
        for (int k = 0; k < 3; ++k)
            AppendF32(out, table.colour[i][k]);
        AppendU32(out, table.node[i] ? 1 : 0);
    }
    return out;
}

PaletteStatus WritePalette(const std::string& path, const PaletteTable& table,
                           std::string* pCause)
{
    // Through the safe writer: a failure keeps the old palette byte for byte.
    PaletteStatus status = PaletteStatus::cannotOpen;
    CString cause;
    try {
        afx::SafeFileWriter writer(path.c_str());
        status = PaletteStatus::writeError;
        const std::string bytes = PaletteBytes(table);
        writer.File().Write(bytes.data(), static_cast<UINT>(bytes.size()));
        writer.Commit();
        status = PaletteStatus::ok;
    } catch (const std::exception& e) {
        cause = afx::SafeWriteMessage(e, path.c_str());
    }
    if (pCause)
        *pCause = cause.GetString();
    return status;
}

} // namespace framira

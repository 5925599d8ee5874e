#include "platform/ui/core/text1252.h"

namespace
{

// Bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char32_t AfxCp1252ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char32_t(byte);
}

bool AfxUnicodeToCp1252(char32_t code, unsigned char& byte)
{
    if (code < 0x80 || (code >= 0xA0 && code < 0x100)) {
        byte = static_cast<unsigned char>(code);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == code) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

// Code page 1252, the encoding of the program's display texts ("kN/m\xB2",
// "\xA7"). Our own table: the toolkit's built-in codecs stop at Latin-1.
#pragma once

#include <cstdint>

// The Unicode code point of a 1252 byte. The five bytes 1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
// same value, so every byte round-trips.
char32_t AfxCp1252ToUnicode(unsigned char byte);
// The 1252 byte of a code point; false when 1252 has none for it.
bool AfxUnicodeToCp1252(char32_t code, unsigned char& byte);

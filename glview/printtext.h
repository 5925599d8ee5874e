// Text services of printed pages: the escapes that users type into labels
// and titles, unit texts with superscript squares and cubes, the user's
// decimal point and English month names. Texts are bytes (Windows-1252).
#pragma once

#include "platform/afx/afx.h"

namespace printtext {

// Decodes backslash escapes, reading the text once from left to right:
//   \\ a backslash; \a \b \f \t \n \r \v the control characters 0x07, 0x08,
//   0x0C, 0x09, 0x0A, 0x0D, 0x0B; \' and \? the apostrophe and question mark;
//   \xHH (two hexadecimal digits, either case) the byte of that value, where
//   \x00 gives nothing.
// A backslash that begins none of these (a lone one at the end included)
// becomes the escape character 0x1B and the characters after it stay as
// they are. A decoded byte is never read again as part of an escape.
CString decodeEscapes(const CString& text);

// Every "^2" becomes 0xB2 (superscript two), then every "^3" 0xB3.
void replaceSqrAndCube(CString& text);

// The decimal point of the user's numeric locale as the environment names
// it (LC_ALL, LC_NUMERIC, LANG), whatever the process locale is; "." when
// the environment names none or one that is not installed. At most 20 bytes.
CString userDecimalPoint();

} // namespace printtext

// "January" to "December" for 1 to 12, "" for any other value.
CString GetMonth(int month);

#include "glview/printtext.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <string>

namespace printtext {

namespace {

constexpr char kEscape = '\x1B';

std::optional<char> letterEscape(char letter)
{
    switch (letter) {
    case 'a': return '\x07';
    case 'b': return '\x08';
    case 'f': return '\x0C';
    case 't': return '\x09';
    case 'n': return '\x0A';
    case 'r': return '\x0D';
    case 'v': return '\x0B';
    case '\'': return '\'';
    case '?': return '?';
    default: return std::nullopt;
    }
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

CString decodeEscapes(const CString& text)
{
    const std::string& in = text.str();
    const std::size_t n = in.size();
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (i + 1 == n) {
            out += kEscape;
            break;
        }
        const char next = in[i + 1];
        if (next == '\\') {
            out += '\\';
            ++i;
        } else if (const auto control = letterEscape(next)) {
            out += *control;
            ++i;
        } else if (next == 'x' && i + 3 < n && hexDigit(in[i + 2]) >= 0 && hexDigit(in[i + 3]) >= 0) {
            const int value = hexDigit(in[i + 2]) * 16 + hexDigit(in[i + 3]);
            if (value != 0)
                out += static_cast<char>(value);
            i += 3;
        } else {
            out += kEscape; // the character after it is read as it is
        }
    }
    return CString(std::move(out));
}

void replaceSqrAndCube(CString& text)
{
    text.Replace("^2", "\xB2");
    text.Replace("^3", "\xB3");
}

CString userDecimalPoint()
{
    constexpr std::size_t kMaxBytes = 20;
    // "" asks for the locale that the environment names; the process locale
    // (which the program keeps at "C" for numbers) plays no part.
    locale_t numeric = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric == static_cast<locale_t>(nullptr))
        return ".";
    std::string point;
    if (const char* radix = ::nl_langinfo_l(RADIXCHAR, numeric))
        point.assign(radix);
    ::freelocale(numeric);
    if (point.empty())
        return ".";
    if (point.size() > kMaxBytes)
        point.resize(kMaxBytes);
    return CString(std::move(point));
}

} // namespace printtext

CString GetMonth(int month)
{
    static const char* const kNames[12] = {"January", "February", "March",     "April",
                                           "May",     "June",     "July",      "August",
                                           "September", "October", "November", "December"};
    if (month < 1 || month > 12)
        return "";
    return kNames[month - 1];
}

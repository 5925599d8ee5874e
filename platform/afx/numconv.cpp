#include "platform/afx/numconv.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace
{

locale_t cLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

double AfxStrToD(const char* psz, char** ppEnd)
{
    return strtod_l(psz, ppEnd, cLocale());
}

double AfxAtoF(const char* psz)
{
    return strtod_l(psz, nullptr, cLocale());
}

int AfxVsnprintf(char* buf, std::size_t size, const char* fmt, va_list args)
{
    CNumericLocaleScope scope;
    return std::vsnprintf(buf, size, fmt, args);
}

int AfxSnprintf(char* buf, std::size_t size, const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    const int n = AfxVsnprintf(buf, size, fmt, args);
    va_end(args);
    return n;
}

std::string AfxFormatV(const char* fmt, va_list args)
{
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int n = AfxVsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::string out(static_cast<std::size_t>(n), '\0');
    AfxVsnprintf(out.data(), out.size() + 1, fmt, args);
    return out;
}

std::string AfxFormat(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string s = AfxFormatV(fmt, args);
    va_end(args);
    return s;
}

CNumericLocaleScope::CNumericLocaleScope() : m_old(uselocale(cLocale())) {}

CNumericLocaleScope::~CNumericLocaleScope()
{
    uselocale(static_cast<locale_t>(m_old));
}

std::string AfxFormatG(double value)
{
    std::string text = AfxFormat("%g", value);
    for (int digits = 7; digits <= 17 && AfxAtoF(text.c_str()) != value; ++digits)
        text = AfxFormat("%.*g", digits, value);
    return text;
}

// Number conversion that ignores the user's locale: the decimal point is
// always ".", in text written and in text read, whatever locale the
// process (or a toolkit it loads) has set.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

#include "platform/afx/types.h"

// strtod and atof in the "C" locale.
double AfxStrToD(const char* psz, char** ppEnd = nullptr);
double AfxAtoF(const char* psz);

// snprintf family in the "C" locale; same results as the C library's.
int AfxSnprintf(char* buf, std::size_t size, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));
int AfxVsnprintf(char* buf, std::size_t size, const char* fmt, va_list args);
std::string AfxFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string AfxFormatV(const char* fmt, va_list args);
// "%g" when that text reads back as the same double, else the fewest
// significant digits (up to 17) that do: short for typed values, exact for
// computed ones.
std::string AfxFormatG(double value);

// Puts the calling thread into the "C" locale for the lifetime of the scope,
// for code that calls the C library's formatted input or output directly.
class CNumericLocaleScope
{
public:
    CNumericLocaleScope();
    ~CNumericLocaleScope();
    CNumericLocaleScope(const CNumericLocaleScope&) = delete;
    CNumericLocaleScope& operator=(const CNumericLocaleScope&) = delete;

private:
    void* m_old;
};

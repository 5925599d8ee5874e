// CString: a single-byte text with the members the libraries call.
// Format follows printf and always writes "." as the decimal point.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/afx/types.h"

class CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCTSTR psz) : m_s(psz ? psz : "") {}
    CString(LPCTSTR pch, int nLength) : m_s(pch && nLength > 0 ? std::string(pch, nLength) : "") {}
    CString(TCHAR ch, int nRepeat = 1) : m_s(nRepeat > 0 ? nRepeat : 0, ch) {}
    CString(const std::string& s) : m_s(s) {}
    CString(std::string&& s) noexcept : m_s(std::move(s)) {}
    CString(std::string_view s) : m_s(s) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCTSTR psz);
    CString& operator=(TCHAR ch);

    int GetLength() const { return static_cast<int>(m_s.size()); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    TCHAR GetAt(int nIndex) const { return m_s[static_cast<std::size_t>(nIndex)]; }
    TCHAR operator[](int nIndex) const { return m_s[static_cast<std::size_t>(nIndex)]; }
    void SetAt(int nIndex, TCHAR ch) { m_s[static_cast<std::size_t>(nIndex)] = ch; }
    operator LPCTSTR() const { return m_s.c_str(); }
    LPCTSTR GetString() const { return m_s.c_str(); }
    // The text as a standard string (for code outside the platform layer).
    const std::string& str() const { return m_s; }

    CString& operator+=(const CString& s);
    CString& operator+=(LPCTSTR psz);
    CString& operator+=(TCHAR ch);

    // Comparisons: byte-wise (Compare) or ignoring ASCII case.
    int Compare(LPCTSTR psz) const;
    int CompareNoCase(LPCTSTR psz) const;
    int Collate(LPCTSTR psz) const { return Compare(psz); }

    // Parts of the text; out-of-range arguments are clamped.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCTSTR pszCharSet) const;
    CString SpanExcluding(LPCTSTR pszCharSet) const;

    // Case (ASCII letters only) and order.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Editing; each returns what the MFC original returns (a count or new length).
    int Replace(TCHAR chOld, TCHAR chNew);
    int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
    int Remove(TCHAR ch);
    int Insert(int nIndex, TCHAR ch);
    int Insert(int nIndex, LPCTSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // Trimming: white space (space, tab, CR, LF, VT, FF) or the given characters.
    CString& TrimLeft();
    CString& TrimLeft(TCHAR chTarget);
    CString& TrimLeft(LPCTSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(TCHAR chTarget);
    CString& TrimRight(LPCTSTR pszTargets);
    CString& Trim() { return TrimRight().TrimLeft(); }

    // Searching: the index of the first match at or after nStart, or -1.
    int Find(TCHAR ch, int nStart = 0) const;
    int Find(LPCTSTR pszSub, int nStart = 0) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR pszCharSet) const;

    // printf-style formatting in the "C" numeric locale.
    void Format(LPCTSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(LPCTSTR pszFormat, va_list args);
    void AppendFormat(LPCTSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));

    // Direct access to the characters: GetBuffer gives room for at least
    // nMinBufLength characters plus a terminator; ReleaseBuffer sets the
    // length (to the first NUL when -1).
    LPTSTR GetBuffer(int nMinBufLength = 0);
    LPTSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);
    friend CString operator+(TCHAR a, const CString& b);

private:
    std::string m_s;
};

inline bool operator==(const CString& a, const CString& b)
{
    return a.str() == b.str();
}
inline bool operator==(const CString& a, LPCTSTR b)
{
    return a.Compare(b) == 0;
}
inline bool operator==(LPCTSTR a, const CString& b)
{
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}
inline bool operator!=(const CString& a, LPCTSTR b)
{
    return !(a == b);
}
inline bool operator!=(LPCTSTR a, const CString& b)
{
    return !(a == b);
}
inline bool operator<(const CString& a, const CString& b)
{
    return a.str() < b.str();
}
inline bool operator<(const CString& a, LPCTSTR b)
{
    return a.Compare(b) < 0;
}
inline bool operator<(LPCTSTR a, const CString& b)
{
    return b.Compare(a) > 0;
}
inline bool operator>(const CString& a, const CString& b)
{
    return b < a;
}
inline bool operator>(const CString& a, LPCTSTR b)
{
    return a.Compare(b) > 0;
}
inline bool operator>(LPCTSTR a, const CString& b)
{
    return b.Compare(a) < 0;
}
inline bool operator<=(const CString& a, const CString& b)
{
    return !(b < a);
}
inline bool operator<=(const CString& a, LPCTSTR b)
{
    return a.Compare(b) <= 0;
}
inline bool operator<=(LPCTSTR a, const CString& b)
{
    return b.Compare(a) >= 0;
}
inline bool operator>=(const CString& a, const CString& b)
{
    return !(a < b);
}
inline bool operator>=(const CString& a, LPCTSTR b)
{
    return a.Compare(b) >= 0;
}
inline bool operator>=(LPCTSTR a, const CString& b)
{
    return b.Compare(a) <= 0;
}

#include "platform/afx/cstring.h"

#include <algorithm>
#include <cstring>

#include "platform/afx/numconv.h"

namespace
{

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

const char* safe(LPCTSTR psz)
{
    return psz ? psz : "";
}

} // namespace

CString& CString::operator=(LPCTSTR psz)
{
    m_s = safe(psz);
    return *this;
}

CString& CString::operator=(TCHAR ch)
{
    m_s.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& s)
{
    m_s += s.m_s;
    return *this;
}

CString& CString::operator+=(LPCTSTR psz)
{
    m_s += safe(psz);
    return *this;
}

CString& CString::operator+=(TCHAR ch)
{
    m_s += ch;
    return *this;
}

int CString::Compare(LPCTSTR psz) const
{
    return std::strcmp(m_s.c_str(), safe(psz));
}

int CString::CompareNoCase(LPCTSTR psz) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_s.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(safe(psz));
    for (;; ++a, ++b) {
        const int ca = static_cast<unsigned char>(lower(static_cast<char>(*a)));
        const int cb = static_cast<unsigned char>(lower(static_cast<char>(*b)));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength() - std::max(nFirst, 0));
}

CString CString::Mid(int nFirst, int nCount) const
{
    const int len = GetLength();
    nFirst = std::clamp(nFirst, 0, len);
    nCount = std::clamp(nCount, 0, len - nFirst);
    return CString(m_s.substr(static_cast<std::size_t>(nFirst), static_cast<std::size_t>(nCount)));
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    nCount = std::clamp(nCount, 0, GetLength());
    return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const
{
    const std::size_t n = m_s.find_first_not_of(safe(pszCharSet));
    return CString(n == std::string::npos ? m_s : m_s.substr(0, n));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const
{
    const std::size_t n = m_s.find_first_of(safe(pszCharSet));
    return CString(n == std::string::npos ? m_s : m_s.substr(0, n));
}

CString& CString::MakeUpper()
{
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), upper);
    return *this;
}

CString& CString::MakeLower()
{
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), lower);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

int CString::Replace(TCHAR chOld, TCHAR chNew)
{
    int n = 0;
    for (char& c : m_s)
        if (c == chOld) {
            c = chNew;
            ++n;
        }
    return n;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew)
{
    const std::string from = safe(pszOld);
    const std::string to = safe(pszNew);
    if (from.empty())
        return 0;
    int n = 0;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = m_s.find(from, pos);
        if (hit == std::string::npos)
            break;
        out.append(m_s, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++n;
    }
    if (n) {
        out.append(m_s, pos, std::string::npos);
        m_s.swap(out);
    }
    return n;
}

int CString::Remove(TCHAR ch)
{
    const std::size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int nIndex, TCHAR ch)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_s.insert(static_cast<std::size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_s.insert(static_cast<std::size_t>(nIndex), safe(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    nIndex = std::max(nIndex, 0);
    if (nCount > 0 && nIndex < GetLength())
        m_s.erase(static_cast<std::size_t>(nIndex),
                  static_cast<std::size_t>(std::min(nCount, GetLength() - nIndex)));
    return GetLength();
}

CString& CString::TrimLeft()
{
    m_s.erase(m_s.begin(), std::find_if_not(m_s.begin(), m_s.end(), isSpace));
    return *this;
}

CString& CString::TrimLeft(TCHAR chTarget)
{
    m_s.erase(0, m_s.find_first_not_of(chTarget));
    return *this;
}

CString& CString::TrimLeft(LPCTSTR pszTargets)
{
    m_s.erase(0, m_s.find_first_not_of(safe(pszTargets)));
    return *this;
}

CString& CString::TrimRight()
{
    m_s.erase(std::find_if_not(m_s.rbegin(), m_s.rend(), isSpace).base(), m_s.end());
    return *this;
}

CString& CString::TrimRight(TCHAR chTarget)
{
    const std::size_t n = m_s.find_last_not_of(chTarget);
    m_s.erase(n == std::string::npos ? 0 : n + 1);
    return *this;
}

CString& CString::TrimRight(LPCTSTR pszTargets)
{
    const std::size_t n = m_s.find_last_not_of(safe(pszTargets));
    m_s.erase(n == std::string::npos ? 0 : n + 1);
    return *this;
}

int CString::Find(TCHAR ch, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    const std::size_t n = m_s.find(ch, static_cast<std::size_t>(nStart));
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

int CString::Find(LPCTSTR pszSub, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    const std::size_t n = m_s.find(safe(pszSub), static_cast<std::size_t>(nStart));
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

int CString::ReverseFind(TCHAR ch) const
{
    const std::size_t n = m_s.rfind(ch);
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const
{
    const std::size_t n = m_s.find_first_of(safe(pszCharSet));
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

void CString::FormatV(LPCTSTR pszFormat, va_list args)
{
    m_s = AfxFormatV(safe(pszFormat), args);
}

void CString::Format(LPCTSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(LPCTSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    m_s += AfxFormatV(safe(pszFormat), args);
    va_end(args);
}

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_s.resize(static_cast<std::size_t>(nMinBufLength));
    return m_s.data();
}

LPTSTR CString::GetBufferSetLength(int nNewLength)
{
    m_s.resize(static_cast<std::size_t>(std::max(nNewLength, 0)));
    return m_s.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::strlen(m_s.c_str()));
    m_s.resize(static_cast<std::size_t>(std::min(nNewLength, GetLength())));
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a.m_s + b.m_s);
}

CString operator+(const CString& a, LPCTSTR b)
{
    return CString(a.m_s + safe(b));
}

CString operator+(LPCTSTR a, const CString& b)
{
    return CString(safe(a) + b.m_s);
}

CString operator+(const CString& a, TCHAR b)
{
    return CString(a.m_s + b);
}

CString operator+(TCHAR a, const CString& b)
{
    return CString(a + b.m_s);
}

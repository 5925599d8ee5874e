#include "matrix/objcontainers.h"

#include <algorithm>
#include <climits>
#include <new>
#include <unordered_set>
#include <vector>

#include "matrix/detail/archive.h"

using zelkor::detail::ReadCount;

IMPLEMENT_SERIAL(CObjVect, CObject, 1)
IMPLEMENT_SERIAL(CObjMat, CObject, 1)

namespace {

// Keeps the array when its size stays n, else frees it and obtains a
// null-filled one of n entries (none for n < 1). Returns the entry count.
int Reshape(CObject**& data, long long oldCount, long long n)
{
    if (data && oldCount == n)
        return static_cast<int>(n);
    delete[] data;
    data = nullptr;
    if (n < 1 || n > INT_MAX)
        return 0;
    data = new (std::nothrow) CObject*[static_cast<std::size_t>(n)]();
    return data ? static_cast<int>(n) : 0;
}

// Deletes every distinct object of the n entries once, in the order of their
// last occurrence from the end, after every entry has been set to null.
void DeleteDistinct(CObject** entries, int n)
{
    std::vector<CObject*> doomed;
    std::unordered_set<CObject*> seen;
    for (int k = n - 1; k >= 0; --k) {
        CObject* p = entries[k];
        entries[k] = nullptr;
        if (p && seen.insert(p).second)
            doomed.push_back(p);
    }
    for (CObject* p : doomed)
        delete p;
}

void StoreEntries(CArchive& ar, CObject* const* entries, int n)
{
    for (int k = 0; k < n; ++k)
        ar << entries[k];
}

// Reads n object references (of any class, not owned) into the entries. On
// a failure the entries not yet read stay null; the objects already read
// stay in the container.
void LoadEntries(CArchive& ar, CObject** entries, int n)
{
    for (int k = 0; k < n; ++k)
        entries[k] = ar.ReadObjectAs<CObject>(nullptr);
}

// Each object reference takes at least one word in the archive.
constexpr UINT kReferenceBytes = sizeof(WORD);

} // namespace

// ---------------------------------------------------------------- vector

CObjVect::~CObjVect()
{
    delete[] m_pData;
}

void CObjVect::Allocate(int n, bool bInit, CObject* value)
{
    const int got = Reshape(m_pData, m_nSize, n);
    m_nSize = n >= 1 && got == 0 ? 0 : n;
    if (bInit && m_pData)
        std::fill_n(m_pData, got, value);
}

CObjVect& CObjVect::operator=(CObject* p)
{
    if (m_pData)
        std::fill_n(m_pData, m_nSize, p);
    return *this;
}

void CObjVect::DeleteEntries()
{
    if (m_pData)
        DeleteDistinct(m_pData, m_nSize);
}

void CObjVect::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const int n = m_pData ? m_nSize : 0;
        ar << static_cast<LONG>(n);
        StoreEntries(ar, m_pData, n);
        return;
    }
    const int n = ReadCount(ar);
    ar.CheckAvailable(static_cast<ULONGLONG>(n), kReferenceBytes);
    Allocate(n, true, nullptr);
    if (m_pData)
        LoadEntries(ar, m_pData, n);
}

// ---------------------------------------------------------------- matrix

CObjMat::~CObjMat()
{
    delete[] m_pData;
}

void CObjMat::Allocate(int rows, int cols, bool bInit, CObject* value)
{
    const long long n = rows < 1 || cols < 1 ? 0 : static_cast<long long>(rows) * cols;
    const int got = Reshape(m_pData, static_cast<long long>(Count()), n);
    m_nRows = rows;
    m_nCols = cols;
    if (bInit && m_pData)
        std::fill_n(m_pData, got, value);
}

void CObjMat::Allocate(int rows, int cols, CRuntimeClass* cls)
{
    Allocate(rows, cols, false, nullptr);
    for (int k = Count() - 1; k >= 0; --k)
        m_pData[k] = cls ? cls->CreateObject() : nullptr;
}

CObjMat& CObjMat::operator=(CObject* p)
{
    if (m_pData)
        std::fill_n(m_pData, Count(), p);
    return *this;
}

void CObjMat::DeleteEntries()
{
    if (m_pData)
        DeleteDistinct(m_pData, Count());
}

void CObjMat::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // Counts without an array are stored as an empty matrix, so that the
        // archive never promises entries it lacks.
        const bool consistent = m_pData || m_nRows < 1 || m_nCols < 1;
        ar << static_cast<LONG>(consistent ? m_nCols : 0)
           << static_cast<LONG>(consistent ? m_nRows : 0);
        StoreEntries(ar, m_pData, Count());
        return;
    }
    const int cols = ReadCount(ar);
    const int rows = ReadCount(ar);
    ar.CheckAvailable(static_cast<ULONGLONG>(rows) * static_cast<ULONGLONG>(cols),
                      kReferenceBytes);
    Allocate(rows, cols, true, nullptr);
    if (m_pData)
        LoadEntries(ar, m_pData, Count());
}

#include "matrix/longvector.h"

#include <algorithm>
#include <climits>
#include <new>

#include "matrix/detail/archive.h"
#include "matrix/detail/textout.h"

using zelkor::detail::BlankField;
using zelkor::detail::ReadCount;
using zelkor::detail::TextOut;

IMPLEMENT_SERIAL(CLongVector, CObject, 1)
IMPLEMENT_SERIAL(CLongMatrix, CObject, 1)

namespace {

// A new array of n entries, each set to value when bInit; null when n is
// out of range or the memory is not there.
LONG* NewArray(long long n, bool bInit, LONG value)
{
    if (n < 1 || n > INT_MAX)
        return nullptr;
    LONG* data = new (std::nothrow) LONG[static_cast<std::size_t>(n)];
    if (data && bInit)
        std::fill_n(data, n, value);
    return data;
}

} // namespace

// ---------------------------------------------------------------- vector

CLongVector::CLongVector(const CLongVector& src) : CObject()
{
    *this = src;
}

CLongVector::~CLongVector()
{
    delete[] m_pData;
}

bool CLongVector::Allocate(int n, bool bInit, LONG value)
{
    delete[] m_pData;
    m_pData = nullptr;
    m_nSize = n;
    if (n >= 1)
        m_pData = NewArray(n, bInit, value);
    return m_pData != nullptr;
}

bool CLongVector::Allocate(int* dims, int n)
{
    if (!dims)
        return Allocate(0, false, 0);
    if (n >= 3)
        return Allocate(dims[0], dims[1] != 0, dims[2]);
    if (n == 2)
        return Allocate(dims[0], dims[1] != 0, 0);
    return Allocate(dims[0], true, 0);
}

int CLongVector::Find(LONG v) const
{
    if (!m_pData)
        return -1;
    const LONG* first = m_pData;
    const LONG* end = first + m_nSize;
    const LONG* at = std::find(first, end, v);
    return at == end ? -1 : static_cast<int>(at - first);
}

CLongVector& CLongVector::operator=(const CLongVector& src)
{
    if (&src == this)
        return *this;
    Allocate(src.m_nSize, false, 0);
    if (m_pData && src.m_pData)
        std::copy_n(src.m_pData, m_nSize, m_pData);
    return *this;
}

CLongVector& CLongVector::operator=(LONG v)
{
    if (m_pData)
        std::fill_n(m_pData, m_nSize, v);
    return *this;
}

CLongVector& CLongVector::operator+=(LONG v)
{
    for (int i = 0; m_pData && i < m_nSize; ++i)
        m_pData[i] += v;
    return *this;
}

void CLongVector::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const int n = m_pData ? m_nSize : 0;
        ar << static_cast<LONG>(n) << static_cast<LONG>(1);
        for (int i = 0; i < n; ++i)
            ar << m_pData[i];
        return;
    }
    const int n = ReadCount(ar);
    LONG format = 0;
    ar >> format;
    // A count that the rest of the file cannot back is refused before
    // anything is allocated.
    ar.CheckAvailable(static_cast<ULONGLONG>(n), sizeof(LONG));
    try {
        Allocate(n, false, 0);
        for (int i = 0; m_pData && i < n; ++i)
            ar >> m_pData[i];
    } catch (...) {
        Allocate(0, false, 0);
        throw;
    }
}

void CLongVector::WriteASCII(CFile* file, CString pre, CString post, int width, bool numbered,
                             bool oneLine)
{
    TextOut out(file);
    const int n = m_pData ? m_nSize : 0;
    const char* p = pre.GetString();
    const char* s = post.GetString();
    if (oneLine) {
        if (numbered) {
            for (int i = 1; i <= n; ++i)
                out.Format("%s%*i%s", p, width, i, s);
            out.Put("\r\n");
        }
        for (int i = 0; i < n; ++i)
            out.Format("%s%*d%s", p, width, m_pData[i], s);
        out.Put("\r\n");
    } else {
        for (int i = 0; i < n; ++i) {
            if (numbered)
                out.Format("%*u%s%*d%s\r\n", width, static_cast<unsigned>(i + 1), p, width,
                           m_pData[i], s);
            else
                out.Format("%s%*d%s\r\n", p, width, m_pData[i], s);
        }
    }
    out.Flush();
}

void CLongVector::WriteASCII(CFile* file, CString pre, CString post, int width,
                             CLongVector& starts, bool header, bool numbered)
{
    TextOut out(file);
    const int groups = starts.m_pData ? starts.m_nSize - 1 : 0;
    const char* p = pre.GetString();
    const char* s = post.GetString();
    if (header) {
        int longest = 0;
        for (int g = 0; g < groups; ++g)
            longest = std::max(longest, starts[g + 1] - starts[g]);
        if (numbered)
            out.Put(BlankField(width) + " ");
        for (int i = 1; i <= longest; ++i)
            out.Format("%s%*i%s", p, width, i, s);
        out.Put("\r\n");
    }
    for (int g = 0; g < groups; ++g) {
        for (int k = starts[g]; k < starts[g + 1]; ++k) {
            if (numbered && k == starts[g])
                out.Format("%*u%s%*d%s", width, static_cast<unsigned>(g + 1), p, width,
                           m_pData[k], s);
            else
                out.Format("%s%*d%s", p, width, m_pData[k], s);
        }
        out.Put("\r\n");
    }
    out.Flush();
}

// ---------------------------------------------------------------- matrix

CLongMatrix::CLongMatrix(const CLongMatrix& src) : CObject()
{
    *this = src;
}

CLongMatrix::~CLongMatrix()
{
    delete[] m_pData;
}

void CLongMatrix::FreeData()
{
    delete[] m_pData;
    m_pData = nullptr;
}

bool CLongMatrix::Allocate(int rows, int cols, bool bInit, LONG value)
{
    FreeData();
    m_nRows = rows;
    m_nCols = cols;
    if (rows < 1 || cols < 1)
        return false;
    const long long n = static_cast<long long>(rows) * cols;
    m_pData = NewArray(n, bInit, value);
    return m_pData != nullptr;
}

bool CLongMatrix::Allocate(int* dims, int n)
{
    if (!dims)
        return Allocate(0, 0, false, 0);
    if (n >= 4)
        return Allocate(dims[0], dims[1], dims[2] != 0, dims[3]);
    if (n == 3)
        return Allocate(dims[0], dims[1], dims[2] != 0, 0);
    if (n == 2)
        return Allocate(dims[0], dims[1], true, 0);
    return Allocate(dims[0], dims[0], true, 0);
}

LONG& CLongMatrix::GetValue(int i, int j)
{
    return m_pData[static_cast<long long>(i) * m_nCols + j];
}

int CLongMatrix::FindInCol(int col, LONG v, int fromRow) const
{
    if (!m_pData)
        return -1;
    for (int i = m_nRows - 1; i >= std::max(fromRow, 0); --i)
        if ((*this)[i][col] == v)
            return i;
    return -1;
}

int CLongMatrix::FindInRow(int row, LONG v) const
{
    if (!m_pData)
        return -1;
    const LONG* first = (*this)[row];
    const LONG* end = first + m_nCols;
    const LONG* at = std::find(first, end, v);
    return at == end ? -1 : static_cast<int>(at - first);
}

CLongMatrix& CLongMatrix::operator=(const CLongMatrix& src)
{
    if (&src == this)
        return *this;
    Allocate(src.m_nRows, src.m_nCols, false, 0);
    if (m_pData && src.m_pData)
        std::copy_n(src.m_pData, static_cast<long long>(m_nRows) * m_nCols, m_pData);
    return *this;
}

CLongMatrix& CLongMatrix::operator=(LONG v)
{
    if (m_pData)
        std::fill_n(m_pData, static_cast<long long>(m_nRows) * m_nCols, v);
    return *this;
}

CLongMatrix& CLongMatrix::operator+=(LONG v)
{
    if (!m_pData)
        return *this;
    const long long n = static_cast<long long>(m_nRows) * m_nCols;
    for (long long k = 0; k < n; ++k)
        m_pData[k] += v;
    return *this;
}

void CLongMatrix::GetPointerMat(CLongMatrix& out, int base)
{
    // Taken first: out may be this matrix.
    const int rows = m_nRows;
    const int cols = m_nCols;
    if (!out.Allocate(rows + 1, 1, false, 0))
        return;
    for (int i = 0; i <= rows; ++i)
        out.m_pData[i] = static_cast<LONG>(base + static_cast<long long>(i) * cols);
}

void CLongMatrix::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // Counts without an array (a failed Allocate) are stored as an empty
        // matrix, so that the archive never promises values it lacks.
        const bool any = m_pData != nullptr;
        const bool consistent = any || m_nRows < 1 || m_nCols < 1;
        ar << static_cast<LONG>(consistent ? m_nRows : 0)
           << static_cast<LONG>(consistent ? m_nCols : 0);
        if (any) {
            const long long n = static_cast<long long>(m_nRows) * m_nCols;
            for (long long k = 0; k < n; ++k)
                ar << m_pData[k];
        }
        return;
    }
    const int rows = ReadCount(ar);
    const int cols = ReadCount(ar);
    ar.CheckAvailable(static_cast<ULONGLONG>(rows) * static_cast<ULONGLONG>(cols), sizeof(LONG));
    try {
        Allocate(rows, cols, false, 0);
        const long long n = m_pData ? static_cast<long long>(rows) * cols : 0;
        for (long long k = 0; k < n; ++k)
            ar >> m_pData[k];
    } catch (...) {
        Allocate(0, 0, false, 0);
        throw;
    }
}

void CLongMatrix::WriteASCII(CFile* file, CString pre, CString post, int width, int precision,
                             bool bExp, bool numbered, bool header)
{
    if (!m_pData)
        return;
    TextOut out(file);
    if (header)
        zelkor::detail::WriteMatrixHeader(out, pre, post, width, precision, numbered, m_nCols);
    zelkor::detail::WriteMatrixRows(out, pre, post, width, precision, bExp ? 1 : 0, numbered,
                                    m_nRows, m_nCols, [this](int i, int j) {
                                        return static_cast<double>(GetValue(i, j));
                                    });
    out.Flush();
}

#include "matrix/funcmat.h"

#include <algorithm>
#include <climits>
#include <new>

CFuncMat::CFuncMat(int rows, int cols, bool bInit, Entry fill)
{
    Allocate(rows, cols, bInit, fill);
}

CFuncMat::~CFuncMat()
{
    delete[] m_pData;
}

int CFuncMat::Allocate(int rows, int cols, bool bInit, Entry fill)
{
    const long long n = static_cast<long long>(rows) * cols;
    const long long old = static_cast<long long>(m_nRows) * m_nCols;
    if (!m_pData || n != old || rows < 1 || cols < 1) {
        delete[] m_pData;
        m_pData = nullptr;
        // Negative counts or a product past the int range get no array.
        if (rows > 0 && cols > 0 && n <= INT_MAX)
            m_pData = new (std::nothrow) Entry[static_cast<std::size_t>(n)];
    }
    m_nRows = rows;
    m_nCols = cols;
    if (!m_pData)
        return n != 0 ? -1 : 0;
    if (bInit)
        std::fill_n(m_pData, n, fill);
    return static_cast<int>(n);
}

bool CFuncMat::Allocate(int* dims, int n)
{
    // Only a table that holds entries counts as allocated (a failure's -1
    // is no success).
    if (!dims)
        return Allocate(0, 0, false, nullptr) > 0;
    if (n >= 3)
        return Allocate(dims[0], dims[1], dims[2] != 0, nullptr) > 0;
    if (n == 2)
        return Allocate(dims[0], dims[1], true, nullptr) > 0;
    return Allocate(dims[0], dims[0], true, nullptr) > 0;
}

double CFuncMat::EvalFunc(int i, int j, double x) const
{
    return (*this)[i][j](x, 0.0);
}

void CFuncMat::EvalFunc(CMatrix& out, double x, double y) const
{
    const long long n = Count();
    if (!out.Allocate(m_nRows, m_nCols, false, 0.0) || n == 0)
        return;
    double* values = out.GetVector();
    for (long long k = 0; k < n; ++k)
        values[k] = m_pData[k](x, y);
}

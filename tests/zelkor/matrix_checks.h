// Helpers shared by the matrix library's tests: building and reading back
// matrices and vectors, comparing them, the bytes of archive words and the
// class-wide symmetric-storage switch.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "matrix/zelkor.h"
#include "tests/support/temp_files.h"

namespace zelkortest {

// A rows x cols matrix with the given values, row by row.
inline CMatrix Mat(int rows, int cols, std::vector<double> values)
{
    CMatrix m(rows, cols, false, 0.0);
    for (int i = 0; i < m.GetSize(); ++i)
        m.GetVector()[i] = values[static_cast<std::size_t>(i)];
    return m;
}

// The elements of a vector (of a matrix row by row).
inline std::vector<double> Values(const CVector& v)
{
    return std::vector<double>(v.GetVector(), v.GetVector() + v.GetSize());
}

// Same shape and every element within tol.
inline void ExpectNear(const CMatrix& a, const CMatrix& b, double tol = 1e-12)
{
    ASSERT_EQ(a.GetRows(), b.GetRows());
    ASSERT_EQ(a.GetColumns(), b.GetColumns());
    for (int i = 0; i < a.GetRows(); ++i)
        for (int j = 0; j < a.GetColumns(); ++j)
            EXPECT_NEAR(a[i][j], b[i][j], tol) << "(" << i << ", " << j << ")";
}

// The rest of the file from its current position.
inline std::string Rest(CFile& f)
{
    std::string out(4096, '\0');
    out.resize(f.Read(out.data(), static_cast<UINT>(out.size())));
    return out;
}

// The four bytes of a LONG as an archive writes them.
inline std::string Int32(LONG v)
{
    return std::string(reinterpret_cast<const char*>(&v), 4);
}

// A test run once per line end (the parameter, e.g. "\n" or "\r\n").
class LineEndTest : public ::testing::TestWithParam<const char*> {
protected:
    // The lines, each ended by the line end under test.
    std::string Text(std::initializer_list<const char*> lines) const
    {
        std::string out;
        for (const char* line : lines)
            out += std::string(line) + GetParam();
        return out;
    }
};

// Stores the object through an archive and loads it back; the copy belongs
// to the caller (null when the archive gave none).
inline std::unique_ptr<CObject> ArchivedCopy(CObject* object)
{
    const std::string bytes = StoreBytes([&](CArchive& ar) { ar << object; });
    CObject* loaded = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
    return std::unique_ptr<CObject>(loaded);
}

using Entries = std::vector<std::tuple<int, int, double>>;

// Every stored cell of a sparse matrix in list order.
inline Entries Cells(CSparseMatrix& m)
{
    Entries out;
    for (CSparseMatrix::row* r = m.GetFirstRow(); r; r = r->pNext) {
        for (CSparseMatrix::cell* c = r->pFirstCell; c; c = c->pNext)
            out.emplace_back(r->iRow, c->iCol, c->dValue);
    }
    return out;
}

// Sets the class-wide storage switch for one scope.
class SymScope {
public:
    explicit SymScope(bool sym) : m_old(CVirtMat::m_bSym) { CVirtMat::m_bSym = sym; }
    ~SymScope() { CVirtMat::m_bSym = m_old; }
    SymScope(const SymScope&) = delete;
    SymScope& operator=(const SymScope&) = delete;

private:
    bool m_old;
};

} // namespace zelkortest

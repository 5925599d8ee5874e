// CLongVector and CLongMatrix: vectors and row-major matrices of 32-bit
// integers (node numbers, DOF numbers, connectivity, condition tables).
//
// Every Allocate frees the old array and obtains a new one, so old values
// never survive it; the counts are set even when no array can be had.
// Indexes are not checked: callers keep them within the counts.
#pragma once

#include "platform/afx/afx.h"

class CLongVector : public CObject {
    DECLARE_SERIAL(CLongVector)
public:
    CLongVector() = default;
    CLongVector(const CLongVector& src);
    ~CLongVector() override;

    // Archive: the count, a format word 1 (ignored when loading), the values.
    void Serialize(CArchive& ar) override;

    // --- virtual operations
    // Text, one element a line (or all in one line when oneLine), each as pre,
    // the value in a field of width, post; numbered puts the 1-based index in
    // front of each line (oneLine: a line of indexes first).
    virtual void WriteASCII(CFile* file, CString pre, CString post, int width, bool numbered,
                            bool oneLine);
    // Text in groups, one a line: group g holds the elements from starts[g]
    // up to starts[g + 1]. header writes a line of column numbers first;
    // numbered puts the 1-based group number in front of each group.
    virtual void WriteASCII(CFile* file, CString pre, CString post, int width, CLongVector& starts,
                            bool header, bool numbered);
    // n >= 3: Allocate(dims[0], dims[1] != 0, dims[2]); n == 2: unfilled
    // unless dims[1] != 0, with 0; otherwise dims[0] zeros.
    virtual bool Allocate(int* dims, int n);
    virtual CLongVector& operator=(LONG v);
    virtual CLongVector& operator+=(LONG v);

    // --- storage and access
    // Frees the old array; n >= 1 obtains a new one of n values (filled with
    // value when bInit). false when there is no array afterwards.
    bool Allocate(int n, bool bInit, LONG value);
    int GetSize() const { return m_nSize; }
    LONG* GetVector() { return m_pData; }
    const LONG* GetVector() const { return m_pData; }
    LONG& operator[](int i) { return m_pData[i]; }
    const LONG& operator[](int i) const { return m_pData[i]; }
    // Index of the first element equal to v, or -1.
    int Find(LONG v) const;
    CLongVector& operator=(const CLongVector& src);

protected:
    int m_nSize = 0;
    LONG* m_pData = nullptr;
};

class CLongMatrix : public CObject {
    DECLARE_SERIAL(CLongMatrix)
public:
    CLongMatrix() = default;
    CLongMatrix(const CLongMatrix& src);
    ~CLongMatrix() override;

    // Archive: rows, columns, the values row by row.
    void Serialize(CArchive& ar) override;

    // --- virtual operations
    // out becomes the (rows + 1) x 1 matrix of base + i * columns, i = 0 .. rows:
    // the offset of every row in the flat array, and the end.
    virtual void GetPointerMat(CLongMatrix& out, int base);
    // n >= 4: Allocate(dims[0], dims[1], dims[2] != 0, dims[3]); n == 3: fill
    // value 0; n == 2: dims[0] x dims[1] zeros; otherwise square dims[0] zeros.
    virtual bool Allocate(int* dims, int n);
    virtual LONG& GetValue(int i, int j);
    // The entries as real numbers, "%*.*f" (or "%*.*e" when bExp) between pre
    // and post, one row a line; numbered puts the row number in front, header
    // a line of column numbers; an empty line closes the block. A matrix
    // without entries writes nothing.
    virtual void WriteASCII(CFile* file, CString pre, CString post, int width, int precision,
                            bool bExp, bool numbered, bool header);
    virtual CLongMatrix& operator=(LONG v);
    virtual CLongMatrix& operator+=(LONG v);

    // --- storage and access
    // Sets both counts and frees the old array; obtains rows x cols values
    // when both are above 0 (filled with value when bInit). false when there
    // is no array afterwards.
    bool Allocate(int rows, int cols, bool bInit, LONG value);
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nCols; }
    LONG* GetVector() { return m_pData; }
    const LONG* GetVector() const { return m_pData; }
    LONG* operator[](int i) { return m_pData + static_cast<long long>(i) * m_nCols; }
    const LONG* operator[](int i) const { return m_pData + static_cast<long long>(i) * m_nCols; }
    // Row of the last entry equal to v in column col among the rows from
    // fromRow on (the search runs up from the bottom row), or -1.
    int FindInCol(int col, LONG v) const { return FindInCol(col, v, 0); }
    int FindInCol(int col, LONG v, int fromRow) const;
    // Column of the first entry equal to v in row row, or -1.
    int FindInRow(int row, LONG v) const;
    CLongMatrix& operator=(const CLongMatrix& src);

protected:
    // Frees the array; the counts stay.
    void FreeData();

    int m_nRows = 0;
    int m_nCols = 0;
    LONG* m_pData = nullptr;
};

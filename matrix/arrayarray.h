// CArrayArray: a jagged array, a table of rows of which each has its own
// length. On 32-bit integers it is the DOF table of an element (one row per
// node) and the adjacency store of the DOF graph.
//
// Row i is null or an array holding at least length(i) entries; the object
// owns its rows and its table. It reports CVirtMat's run-time class and has
// no archive or text form.
#pragma once

#include <algorithm>

#include "matrix/virtmat.h"

template <class T>
class CArrayArray : public CVirtMat {
public:
    CArrayArray() = default;
    ~CArrayArray() override { FreeAll(); }
    CArrayArray(const CArrayArray&) = delete;
    CArrayArray& operator=(const CArrayArray&) = delete;

    CRuntimeClass* GetRuntimeClass() const override { return RUNTIME_CLASS(CVirtMat); }
    void Serialize(CArchive&) override {}
    // Alloc(dims[0]); with nDims >= 2 and dims[0] >= 1 every row gets the
    // length dims[1] (a row of that length is kept, others are made anew).
    // False only for a missing dimension list.
    bool Allocate(int* dims, int nDims) override;
    void ReadASCII(CFile*) override {}
    void WriteASCII(CFile*, CString, CString, int, int, int, bool, bool) override {}
    // Takes other's row count (through Alloc when it differs) and copies every
    // row's length and entries; a row whose length already matches is reused.
    // Returns the count.
    virtual int Assign(CArrayArray& other);
    // The same count empties every row and keeps the table; another count
    // makes n empty rows (none for n < 1).
    virtual void Alloc(int n);

    // Frees every row (lengths 0), keeping the table.
    void FreeRows();
    // Frees rows and table; count 0.
    void FreeAll();
    // Gives the row a fresh array of that length unless it already has
    // exactly that length; the contents are not kept. Length < 1 frees it.
    void SetRowLength(int row, int length);

    int GetCount() const { return m_nCount; }
    int GetRowLength(int row) const { return m_pLengths[row]; }
    T* GetRow(int row) const { return m_pRows[row]; }
    T* operator[](int row) const { return m_pRows[row]; }

protected:
    // Replaces row's array by a new one with room for capacity entries
    // (none when capacity < 1); the length is left to the caller.
    void NewRow(int row, int capacity);
    // Takes over an array with room for capacity entries as the row.
    void AdoptRow(int row, T* data, int capacity);
    // Makes a table of n null rows, freeing the old one.
    void MakeTable(int n);

    int m_nCount = 0;
    T** m_pRows = nullptr;
    int* m_pLengths = nullptr;
    // Room of each row; at least its length.
    int* m_pCapacity = nullptr;
};

template <class T>
bool CArrayArray<T>::Allocate(int* dims, int nDims)
{
    if (!dims || nDims < 1)
        return false;
    Alloc(dims[0]);
    if (nDims >= 2 && dims[0] >= 1) {
        for (int i = 0; i < m_nCount; ++i)
            SetRowLength(i, dims[1]);
    }
    return true;
}

template <class T>
int CArrayArray<T>::Assign(CArrayArray& other)
{
    if (&other == this)
        return m_nCount;
    // A new count goes through the (virtual) Alloc, so that a derived class
    // sizes what it keeps per row as well.
    if (other.m_nCount != m_nCount)
        Alloc(other.m_nCount);
    for (int i = 0; i < m_nCount; ++i) {
        const int length = other.m_pLengths[i];
        SetRowLength(i, length);
        if (length > 0)
            std::copy(other.m_pRows[i], other.m_pRows[i] + length, m_pRows[i]);
    }
    return m_nCount;
}

template <class T>
void CArrayArray<T>::Alloc(int n)
{
    if (n == m_nCount)
        FreeRows();
    else
        MakeTable(n);
}

template <class T>
void CArrayArray<T>::FreeRows()
{
    for (int i = 0; i < m_nCount; ++i) {
        delete[] m_pRows[i];
        m_pRows[i] = nullptr;
        m_pLengths[i] = 0;
        m_pCapacity[i] = 0;
    }
}

template <class T>
void CArrayArray<T>::FreeAll()
{
    FreeRows();
    delete[] m_pRows;
    delete[] m_pLengths;
    delete[] m_pCapacity;
    m_pRows = nullptr;
    m_pLengths = nullptr;
    m_pCapacity = nullptr;
    m_nCount = 0;
}

template <class T>
void CArrayArray<T>::MakeTable(int n)
{
    FreeAll();
    if (n < 1)
        return;
    m_pRows = new T*[n]();
    m_pLengths = new int[n]();
    m_pCapacity = new int[n]();
    m_nCount = n;
}

template <class T>
void CArrayArray<T>::SetRowLength(int row, int length)
{
    if (length < 1)
        length = 0;
    if (m_pLengths[row] == length && (length == 0 || m_pRows[row]))
        return;
    NewRow(row, length);
    m_pLengths[row] = length;
}

template <class T>
void CArrayArray<T>::NewRow(int row, int capacity)
{
    AdoptRow(row, capacity > 0 ? new T[capacity] : nullptr, capacity > 0 ? capacity : 0);
}

template <class T>
void CArrayArray<T>::AdoptRow(int row, T* data, int capacity)
{
    delete[] m_pRows[row];
    m_pRows[row] = data;
    m_pCapacity[row] = data ? capacity : 0;
}

extern template class CArrayArray<LONG>;

// CObjVect and CObjMat: a vector and a row-major matrix of pointers to
// archivable objects.
//
// The containers own their pointer arrays, not the objects: DeleteEntries
// deletes the objects (each distinct one once), the destructor frees only the
// pointer array. The same object may stand in several entries. Loading an
// archive fills the entries with the objects it reads; objects the container
// pointed to before are left alone. Indexes are not checked.
#pragma once

#include "platform/afx/afx.h"

class CObjVect : public CObject {
    DECLARE_SERIAL(CObjVect)
public:
    CObjVect() = default;
    CObjVect(const CObjVect&) = delete;
    CObjVect& operator=(const CObjVect&) = delete;
    ~CObjVect() override;

    // Archive: the count, then one object reference per entry.
    void Serialize(CArchive& ar) override;

    // The array is replaced only when n differs from the count (new entries
    // are null); n < 1 leaves none. bInit sets every entry to value.
    void Allocate(int n, bool bInit, CObject* value);
    int GetSize() const { return m_nSize; }
    CObject*& operator[](int i) { return m_pData[i]; }
    CObject* const& operator[](int i) const { return m_pData[i]; }
    // Every entry set to p.
    CObjVect& operator=(CObject* p);
    // Deletes every distinct object once; all entries end null.
    void DeleteEntries();

protected:
    int m_nSize = 0;
    CObject** m_pData = nullptr;
};

class CObjMat : public CObject {
    DECLARE_SERIAL(CObjMat)
public:
    CObjMat() = default;
    CObjMat(const CObjMat&) = delete;
    CObjMat& operator=(const CObjMat&) = delete;
    ~CObjMat() override;

    // Archive: columns, rows, then one object reference per entry, row by row.
    void Serialize(CArchive& ar) override;

    // As the vector's Allocate, then every entry (from the last to the first)
    // receives a new object made by the class's factory (null without one).
    virtual void Allocate(int rows, int cols, CRuntimeClass* cls);

    // Sets both counts; the array is replaced only when rows x cols differs
    // from the old product (new entries are null); a count below 1 leaves
    // none. bInit sets every entry to value.
    void Allocate(int rows, int cols, bool bInit, CObject* value);
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nCols; }
    // The first entry of row i.
    CObject** operator[](int i) { return m_pData + static_cast<long long>(i) * m_nCols; }
    CObject* const* operator[](int i) const
    {
        return m_pData + static_cast<long long>(i) * m_nCols;
    }
    CObjMat& operator=(CObject* p);
    // Deletes every distinct object once; all entries end null.
    void DeleteEntries();

protected:
    int Count() const { return m_pData ? m_nRows * m_nCols : 0; }

    int m_nRows = 0;
    int m_nCols = 0;
    CObject** m_pData = nullptr;
};

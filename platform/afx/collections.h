// Collections: CObList (a list of object pointers with stable positions)
// and CStringArray. Both are archivable and usable as base classes.
#pragma once

#include <vector>

#include "platform/afx/cstring.h"
#include "platform/afx/object.h"

class CObList : public CObject
{
    DECLARE_SERIAL(CObList)
public:
    // Nodes are allocated nBlockSize at a time.
    explicit CObList(int nBlockSize = 10);
    ~CObList() override;
    CObList(const CObList&) = delete;
    CObList& operator=(const CObList&) = delete;

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // Head and tail; the list must not be empty.
    CObject*& GetHead();
    CObject* GetHead() const;
    CObject*& GetTail();
    CObject* GetTail() const;
    CObject* RemoveHead();
    CObject* RemoveTail();

    POSITION AddHead(CObject* newElement);
    POSITION AddTail(CObject* newElement);
    void AddHead(CObList* pNewList);
    void AddTail(CObList* pNewList);
    // Removes every element (the objects are not deleted).
    void RemoveAll();

    // Iteration: GetNext and GetPrev return the element at rPosition and
    // move rPosition on (to null past the end).
    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CObject*& GetNext(POSITION& rPosition);
    CObject* GetNext(POSITION& rPosition) const;
    CObject*& GetPrev(POSITION& rPosition);
    CObject* GetPrev(POSITION& rPosition) const;

    // Positions stay valid while other elements are inserted or removed.
    CObject*& GetAt(POSITION position);
    CObject* GetAt(POSITION position) const;
    void SetAt(POSITION pos, CObject* newElement);
    void RemoveAt(POSITION position);
    POSITION InsertBefore(POSITION position, CObject* newElement);
    POSITION InsertAfter(POSITION position, CObject* newElement);

    // The first position holding searchValue after startAfter (from the
    // head when null), or null.
    POSITION Find(CObject* searchValue, POSITION startAfter = nullptr) const;
    // The position of the nIndex-th element counted from 0, or null.
    POSITION FindIndex(int nIndex) const;

    // The count, then each element as an archive object.
    void Serialize(CArchive& ar) override;

    // A list of the model (a graph's nodes, a node's edges or graphs, a
    // composite's sections): every insertion, removal or replacement of an
    // element counts as a model edit (AfxModelRevision).
    void SetModelList() { m_bModelList = true; }
    bool IsModelList() const { return m_bModelList; }

protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        CObject* data;
    };
    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* pNode);

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    int m_nCount = 0;
    bool m_bModelList = false;
    CNode* m_pNodeFree = nullptr;
    std::vector<CNode*> m_blocks;
    int m_nBlockSize;
};

// A process-wide count of model edits: changes to model lists (above) and
// moves of model nodes. What is cached over the model (the pick index of a
// composite) keeps the count it was built at and is built again once the
// count has moved. Any thread may count an edit.
unsigned long AfxModelRevision();
void AfxNoteModelEdit();

class CStringArray : public CObject
{
    DECLARE_SERIAL(CStringArray)
public:
    CStringArray() = default;
    ~CStringArray() override = default;
    CStringArray(const CStringArray& other) : CObject(), m_data(other.m_data) {}
    CStringArray& operator=(const CStringArray& other)
    {
        m_data = other.m_data;
        return *this;
    }

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_data.empty(); }
    // New elements are empty strings; nGrowBy is accepted and ignored.
    void SetSize(int nNewSize, int nGrowBy = -1);
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const CString& GetAt(int nIndex) const { return m_data[static_cast<std::size_t>(nIndex)]; }
    void SetAt(int nIndex, LPCTSTR newElement)
    {
        m_data[static_cast<std::size_t>(nIndex)] = newElement;
    }
    CString& ElementAt(int nIndex) { return m_data[static_cast<std::size_t>(nIndex)]; }
    const CString* GetData() const { return m_data.data(); }
    CString* GetData() { return m_data.data(); }
    CString& operator[](int nIndex) { return m_data[static_cast<std::size_t>(nIndex)]; }
    const CString& operator[](int nIndex) const { return m_data[static_cast<std::size_t>(nIndex)]; }

    // Sets the element, growing the array when nIndex lies beyond its end.
    void SetAtGrow(int nIndex, LPCTSTR newElement);
    // Appends; returns the new element's index.
    int Add(LPCTSTR newElement);
    int Add(const CString& newElement);
    // Appends a copy of src; returns the index of its first element.
    int Append(const CStringArray& src);
    void Copy(const CStringArray& src) { m_data = src.m_data; }
    void InsertAt(int nIndex, LPCTSTR newElement, int nCount = 1);
    void InsertAt(int nStartIndex, const CStringArray* pNewArray);
    void RemoveAt(int nIndex, int nCount = 1);

    // The count, then each string.
    void Serialize(CArchive& ar) override;

private:
    std::vector<CString> m_data;
};

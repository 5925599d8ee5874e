#include "platform/afx/collections.h"

#include <algorithm>
#include <atomic>

#include "platform/afx/archive.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)

namespace
{

POSITION toPos(void* node)
{
    return reinterpret_cast<POSITION>(node);
}

// Only that the count moves matters, not that every edit adds exactly one:
// a plain load and store keeps model edits cheap.
std::atomic<unsigned long> g_modelRevision{1};

} // namespace

unsigned long AfxModelRevision()
{
    return g_modelRevision.load(std::memory_order_relaxed);
}

void AfxNoteModelEdit()
{
    g_modelRevision.store(g_modelRevision.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

CObList::CObList(int nBlockSize) : m_nBlockSize(std::max(nBlockSize, 1)) {}

CObList::~CObList()
{
    if (m_bModelList && m_nCount > 0)
        AfxNoteModelEdit();
    for (CNode* block : m_blocks)
        delete[] block;
}

CObList::CNode* CObList::NewNode(CNode* pPrev, CNode* pNext)
{
    if (!m_pNodeFree) {
        CNode* block = new CNode[static_cast<std::size_t>(m_nBlockSize)];
        m_blocks.push_back(block);
        for (int i = m_nBlockSize - 1; i >= 0; --i) {
            block[i].pNext = m_pNodeFree;
            m_pNodeFree = &block[i];
        }
    }
    CNode* node = m_pNodeFree;
    m_pNodeFree = node->pNext;
    node->pPrev = pPrev;
    node->pNext = pNext;
    node->data = nullptr;
    ++m_nCount;
    if (m_bModelList)
        AfxNoteModelEdit();
    return node;
}

void CObList::FreeNode(CNode* pNode)
{
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    if (m_bModelList)
        AfxNoteModelEdit();
    if (--m_nCount == 0)
        RemoveAll(); // gives the blocks back
}

CObject*& CObList::GetHead()
{
    return m_pNodeHead->data;
}

CObject* CObList::GetHead() const
{
    return m_pNodeHead->data;
}

CObject*& CObList::GetTail()
{
    return m_pNodeTail->data;
}

CObject* CObList::GetTail() const
{
    return m_pNodeTail->data;
}

CObject* CObList::RemoveHead()
{
    CNode* old = m_pNodeHead;
    CObject* ret = old->data;
    m_pNodeHead = old->pNext;
    if (m_pNodeHead)
        m_pNodeHead->pPrev = nullptr;
    else
        m_pNodeTail = nullptr;
    FreeNode(old);
    return ret;
}

CObject* CObList::RemoveTail()
{
    CNode* old = m_pNodeTail;
    CObject* ret = old->data;
    m_pNodeTail = old->pPrev;
    if (m_pNodeTail)
        m_pNodeTail->pNext = nullptr;
    else
        m_pNodeHead = nullptr;
    FreeNode(old);
    return ret;
}

POSITION CObList::AddHead(CObject* newElement)
{
    CNode* node = NewNode(nullptr, m_pNodeHead);
    node->data = newElement;
    if (m_pNodeHead)
        m_pNodeHead->pPrev = node;
    else
        m_pNodeTail = node;
    m_pNodeHead = node;
    return toPos(node);
}

POSITION CObList::AddTail(CObject* newElement)
{
    CNode* node = NewNode(m_pNodeTail, nullptr);
    node->data = newElement;
    if (m_pNodeTail)
        m_pNodeTail->pNext = node;
    else
        m_pNodeHead = node;
    m_pNodeTail = node;
    return toPos(node);
}

void CObList::AddHead(CObList* pNewList)
{
    // Walks backwards so the elements keep their order at the head.
    POSITION pos = pNewList->GetTailPosition();
    const int n = pNewList->GetCount(); // the list may be this list
    for (int i = 0; i < n && pos; ++i)
        AddHead(pNewList->GetPrev(pos));
}

void CObList::AddTail(CObList* pNewList)
{
    POSITION pos = pNewList->GetHeadPosition();
    const int n = pNewList->GetCount(); // the list may be this list
    for (int i = 0; i < n && pos; ++i)
        AddTail(pNewList->GetNext(pos));
}

void CObList::RemoveAll()
{
    for (CNode* block : m_blocks)
        delete[] block;
    m_blocks.clear();
    m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
    m_nCount = 0;
    if (m_bModelList)
        AfxNoteModelEdit();
}

POSITION CObList::GetHeadPosition() const
{
    return toPos(m_pNodeHead);
}

POSITION CObList::GetTailPosition() const
{
    return toPos(m_pNodeTail);
}

CObject*& CObList::GetNext(POSITION& rPosition)
{
    CNode* node = reinterpret_cast<CNode*>(rPosition);
    rPosition = toPos(node->pNext);
    return node->data;
}

CObject* CObList::GetNext(POSITION& rPosition) const
{
    CNode* node = reinterpret_cast<CNode*>(rPosition);
    rPosition = toPos(node->pNext);
    return node->data;
}

CObject*& CObList::GetPrev(POSITION& rPosition)
{
    CNode* node = reinterpret_cast<CNode*>(rPosition);
    rPosition = toPos(node->pPrev);
    return node->data;
}

CObject* CObList::GetPrev(POSITION& rPosition) const
{
    CNode* node = reinterpret_cast<CNode*>(rPosition);
    rPosition = toPos(node->pPrev);
    return node->data;
}

CObject*& CObList::GetAt(POSITION position)
{
    return reinterpret_cast<CNode*>(position)->data;
}

CObject* CObList::GetAt(POSITION position) const
{
    return reinterpret_cast<CNode*>(position)->data;
}

void CObList::SetAt(POSITION pos, CObject* newElement)
{
    reinterpret_cast<CNode*>(pos)->data = newElement;
    if (m_bModelList)
        AfxNoteModelEdit();
}

void CObList::RemoveAt(POSITION position)
{
    CNode* old = reinterpret_cast<CNode*>(position);
    if (old == m_pNodeHead)
        m_pNodeHead = old->pNext;
    else
        old->pPrev->pNext = old->pNext;
    if (old == m_pNodeTail)
        m_pNodeTail = old->pPrev;
    else
        old->pNext->pPrev = old->pPrev;
    FreeNode(old);
}

POSITION CObList::InsertBefore(POSITION position, CObject* newElement)
{
    if (!position)
        return AddHead(newElement);
    CNode* old = reinterpret_cast<CNode*>(position);
    CNode* node = NewNode(old->pPrev, old);
    node->data = newElement;
    if (old->pPrev)
        old->pPrev->pNext = node;
    else
        m_pNodeHead = node;
    old->pPrev = node;
    return toPos(node);
}

POSITION CObList::InsertAfter(POSITION position, CObject* newElement)
{
    if (!position)
        return AddTail(newElement);
    CNode* old = reinterpret_cast<CNode*>(position);
    CNode* node = NewNode(old, old->pNext);
    node->data = newElement;
    if (old->pNext)
        old->pNext->pPrev = node;
    else
        m_pNodeTail = node;
    old->pNext = node;
    return toPos(node);
}

POSITION CObList::Find(CObject* searchValue, POSITION startAfter) const
{
    CNode* node = startAfter ? reinterpret_cast<CNode*>(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext)
        if (node->data == searchValue)
            return toPos(node);
    return nullptr;
}

POSITION CObList::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    CNode* node = m_pNodeHead;
    while (nIndex--)
        node = node->pNext;
    return toPos(node);
}

void CObList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nCount));
        for (CNode* node = m_pNodeHead; node; node = node->pNext)
            ar << node->data;
    } else {
        DWORD nNewCount = ar.ReadCount();
        ar.CheckAvailable(nNewCount, 2); // each element takes at least a tag word
        while (nNewCount--) {
            CObject* newData = nullptr;
            ar >> newData;
            AddTail(newData);
        }
    }
}

void CStringArray::SetSize(int nNewSize, int)
{
    m_data.resize(static_cast<std::size_t>(std::max(nNewSize, 0)));
}

void CStringArray::SetAtGrow(int nIndex, LPCTSTR newElement)
{
    if (nIndex < 0)
        return;
    if (nIndex >= GetSize())
        SetSize(nIndex + 1);
    m_data[static_cast<std::size_t>(nIndex)] = newElement;
}

int CStringArray::Add(LPCTSTR newElement)
{
    m_data.emplace_back(newElement);
    return GetSize() - 1;
}

int CStringArray::Add(const CString& newElement)
{
    m_data.push_back(newElement);
    return GetSize() - 1;
}

int CStringArray::Append(const CStringArray& src)
{
    const int first = GetSize();
    if (&src == this) {
        const std::vector<CString> copy = m_data;
        m_data.insert(m_data.end(), copy.begin(), copy.end());
    } else {
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    }
    return first;
}

void CStringArray::InsertAt(int nIndex, LPCTSTR newElement, int nCount)
{
    if (nIndex < 0 || nCount <= 0)
        return;
    if (nIndex > GetSize())
        SetSize(nIndex);
    m_data.insert(m_data.begin() + nIndex, static_cast<std::size_t>(nCount), CString(newElement));
}

void CStringArray::InsertAt(int nStartIndex, const CStringArray* pNewArray)
{
    if (!pNewArray || nStartIndex < 0)
        return;
    const std::vector<CString> copy = pNewArray->m_data;
    if (nStartIndex > GetSize())
        SetSize(nStartIndex);
    m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
}

void CStringArray::RemoveAt(int nIndex, int nCount)
{
    if (nIndex < 0 || nCount <= 0 || nIndex >= GetSize())
        return;
    const int n = std::min(nCount, GetSize() - nIndex);
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + n);
}

void CStringArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_data.size()));
        for (const CString& s : m_data)
            ar << s;
    } else {
        const DWORD n = ar.ReadCount();
        ar.CheckAvailable(n, 1); // each string takes at least its length byte
        m_data.assign(n, CString());
        for (CString& s : m_data)
            ar >> s;
    }
}

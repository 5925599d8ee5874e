#include "platform/afx/selection.h"
#include "platform/afx/collections.h"

#include <new>

DWORD CSelectionNames::NameOf(const CObject* pOb)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_names.find(pOb);
    if (it != m_names.end())
        return it->second;
    if (m_objects.size() > 0xFFFFFFFEu)
        throw std::bad_alloc(); // every 32-bit name is taken
    const DWORD name = static_cast<DWORD>(m_objects.size());
    m_objects.push_back(const_cast<CObject*>(pOb));
    m_names.emplace(pOb, name);
    return name;
}

CObject* CSelectionNames::ObjectOf(DWORD nName) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return nName < m_objects.size() ? m_objects[nName] : nullptr;
}

void CSelectionNames::Forget(const CObject* pOb)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_names.find(pOb);
    if (it == m_names.end())
        return;
    m_objects[it->second] = nullptr;
    m_names.erase(it);
}

void CSelectionNames::RemoveAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_names.clear();
    m_objects.assign(1, nullptr);
    // Names kept beside the model (the pick index) are no longer given.
    AfxNoteModelEdit();
}

DWORD CSelectionNames::GetCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<DWORD>(m_names.size());
}

CSelectionNames& AfxGetSelectionNames()
{
    static CSelectionNames* const names = new CSelectionNames;
    return *names;
}

#include "platform/afx/object.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/afx/archive.h"

namespace
{

// The process-wide registry of run-time classes by name. It is never
// destroyed, so libraries that unload late can still leave it.
struct Registry {
    std::mutex mutex;
    std::unordered_map<std::string, std::vector<CRuntimeClass*>> byName;
};

Registry& registry()
{
    static Registry* const r = new Registry;
    return *r;
}

// Longest class name an archive may carry; longer ones are corrupt data.
constexpr WORD maxClassName = 255;

} // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};
static const AFX_CLASSINIT afx_init_CObject(RUNTIME_CLASS(CObject));

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pClassBase) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == pClassBase)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.byName.find(lpszClassName);
    return it == r.byName.end() || it->second.empty() ? nullptr : it->second.front();
}

void CRuntimeClass::Store(CArchive& ar) const
{
    const WORD nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0;
    WORD nLen = 0;
    ar >> wSchema >> nLen;
    *pwSchemaNum = wSchema;
    if (nLen == 0 || nLen > maxClassName)
        return nullptr;
    char name[maxClassName + 1];
    if (ar.Read(name, nLen) != nLen)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    name[nLen] = '\0';
    return FromName(name);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) : m_pClass(pNewClass)
{
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.byName[pNewClass->m_lpszClassName].push_back(pNewClass);
}

AFX_CLASSINIT::~AFX_CLASSINIT()
{
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.byName.find(m_pClass->m_lpszClassName);
    if (it == r.byName.end())
        return;
    auto& v = it->second;
    v.erase(std::remove(v.begin(), v.end(), m_pClass), v.end());
    if (v.empty())
        r.byName.erase(it);
}

CObject::~CObject()
{
    AfxArchiveObjectDestroyed(this);
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

void CObject::Serialize(CArchive&) {}

void CObject::Dump(CDumpContext&) const {}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

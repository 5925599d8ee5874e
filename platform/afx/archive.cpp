#include "platform/afx/archive.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>

#include "platform/afx/collections.h"
#include "platform/afx/stack.h"

namespace
{

constexpr WORD wNullTag = 0;
constexpr WORD wNewClassTag = 0xFFFF;
constexpr WORD wClassTag = 0x8000;
constexpr DWORD dwBigClassTag = 0x80000000u;
constexpr WORD wBigObjectTag = 0x7FFF;
constexpr DWORD nMaxMapCount = 0x3FFFFFFEu;

// Restores the archive's object schema when an object's Serialize ends,
// normally or by an exception.
class SchemaScope
{
public:
    SchemaScope(CArchive& ar, UINT nSchema) : m_ar(ar), m_saved(ar.GetObjectSchema())
    {
        ar.SetObjectSchema(nSchema);
    }
    ~SchemaScope() { m_ar.SetObjectSchema(m_saved); }
    SchemaScope(const SchemaScope&) = delete;
    SchemaScope& operator=(const SchemaScope&) = delete;

private:
    CArchive& m_ar;
    UINT m_saved;
};

// Runs an object's Serialize; deep object graphs (each reference nests one
// more call) continue on a fresh stack when this one runs low. The stacks
// are of moderate size and chained as deep as needed (sanitizers do not
// clean up after exceptions on stacks much larger than 64 MiB).
template <class F>
void onEnoughStack(F f)
{
    if (AfxStackIsLow())
        AfxRunWithLargeStack(f, 32u << 20);
    else
        f();
}

void serializeObject(CObject* pOb, CArchive& ar)
{
    onEnoughStack([&] { pOb->Serialize(ar); });
}

// The loading archives of this thread: they follow the destruction of the
// objects in their maps. The count of all threads' loading archives spares
// every other object's destruction the thread-local lookup.
thread_local std::vector<CArchive*>* t_pLoading = nullptr;
std::atomic<int> g_nLoading{0};

// The shared classes (AFX_SHAREDCLASS); never destroyed, so that libraries
// unloading late can still leave it.
struct SharedClasses {
    std::mutex mutex;
    std::vector<const CRuntimeClass*> classes;
};

SharedClasses& sharedClasses()
{
    static SharedClasses* const s = new SharedClasses;
    return *s;
}

bool isSharedClass(const CRuntimeClass* pClass)
{
    SharedClasses& s = sharedClasses();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (const CRuntimeClass* c : s.classes)
        if (pClass->IsDerivedFrom(c))
            return true;
    return false;
}

} // namespace

AFX_SHAREDCLASS::AFX_SHAREDCLASS(const CRuntimeClass* pClass) : m_pClass(pClass)
{
    SharedClasses& s = sharedClasses();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.classes.push_back(pClass);
}

AFX_SHAREDCLASS::~AFX_SHAREDCLASS()
{
    SharedClasses& s = sharedClasses();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.classes.erase(std::remove(s.classes.begin(), s.classes.end(), m_pClass), s.classes.end());
}

void AfxArchiveObjectDestroyed(const CObject* pOb)
{
    if (g_nLoading.load(std::memory_order_relaxed) == 0)
        return;
    std::vector<CArchive*>* loading = t_pLoading;
    if (!loading)
        return;
    for (std::size_t i = 0; i < loading->size(); ++i)
        (*loading)[i]->objectDestroyed(pOb);
}

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pFile(pFile), m_nMode(nMode), m_buf(static_cast<std::size_t>(std::max(nBufSize, 128)))
{
    m_loadArray.push_back({nullptr, false, false}); // index 0: the null object
    if (IsLoading()) {
        if (!t_pLoading)
            t_pLoading = new std::vector<CArchive*>;
        t_pLoading->push_back(this);
        g_nLoading.fetch_add(1, std::memory_order_relaxed);
        m_bWatching = true;
    }
}

CArchive::~CArchive()
{
    if (m_bWatching)
        g_nLoading.fetch_sub(1, std::memory_order_relaxed);
    if (m_bWatching && t_pLoading) {
        auto& v = *t_pLoading;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        if (v.empty()) {
            delete t_pLoading;
            t_pLoading = nullptr;
        }
    }
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (...) {
            m_pFile = nullptr;
        }
    }
}

void CArchive::fail(int cause) const
{
    throw CArchiveException(cause, m_pFile ? m_pFile->GetFilePath().GetString() : nullptr);
}

void CArchive::checkMode(bool wantLoading) const
{
    if (!m_pFile)
        fail(CArchiveException::generic);
    if (wantLoading && !IsLoading())
        fail(CArchiveException::writeOnly);
    if (!wantLoading && IsLoading())
        fail(CArchiveException::readOnly);
}

void CArchive::flushStore()
{
    if (m_cur) {
        const UINT n = m_cur;
        m_cur = 0;
        m_pFile->Write(m_buf.data(), n);
    }
}

UINT CArchive::fill(UINT nNeeded)
{
    UINT avail = m_max - m_cur;
    if (avail >= nNeeded)
        return avail;
    if (m_cur)
        std::memmove(m_buf.data(), m_buf.data() + m_cur, avail);
    m_cur = 0;
    m_max = avail;
    if (nNeeded > m_buf.size())
        m_buf.resize(nNeeded);
    const UINT room = static_cast<UINT>(m_buf.size()) - m_max;
    m_max += m_pFile->Read(m_buf.data() + m_max, room);
    return m_max - m_cur;
}

CArchive& CArchive::putRaw(const void* p, UINT n)
{
    checkMode(false);
    const BYTE* src = static_cast<const BYTE*>(p);
    while (n) {
        const UINT chunk = std::min<UINT>(n, static_cast<UINT>(m_buf.size()) - m_cur);
        std::memcpy(m_buf.data() + m_cur, src, chunk);
        m_cur += chunk;
        src += chunk;
        n -= chunk;
        if (m_cur == m_buf.size())
            flushStore();
    }
    return *this;
}

CArchive& CArchive::getRaw(void* p, UINT n)
{
    checkMode(true);
    if (m_max - m_cur < n && fill(n) < n)
        fail(CArchiveException::endOfFile);
    std::memcpy(p, m_buf.data() + m_cur, n);
    m_cur += n;
    return *this;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    checkMode(true);
    BYTE* dst = static_cast<BYTE*>(lpBuf);
    UINT done = std::min(nMax, m_max - m_cur);
    std::memcpy(dst, m_buf.data() + m_cur, done);
    m_cur += done;
    const UINT rest = nMax - done;
    if (rest >= m_buf.size()) {
        // Large blocks go straight from the file.
        done += m_pFile->Read(dst + done, rest);
    } else if (rest) {
        const UINT avail = std::min(fill(rest), rest);
        std::memcpy(dst + done, m_buf.data() + m_cur, avail);
        m_cur += avail;
        done += avail;
    }
    return done;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    putRaw(lpBuf, nMax);
}

BOOL CArchive::IsBufferEmpty()
{
    if (!m_pFile)
        return TRUE;
    if (IsStoring())
        return m_cur == 0;
    return m_cur == m_max && fill(1) == 0;
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsStoring()) {
        flushStore();
        m_pFile->Flush();
    } else {
        const UINT unread = m_max - m_cur;
        m_cur = m_max = 0;
        if (unread)
            m_pFile->Seek(-static_cast<LONGLONG>(unread), CFile::current);
    }
}

void CArchive::Close()
{
    if (!m_pFile)
        return;
    try {
        Flush();
    } catch (...) {
        m_pFile = nullptr;
        throw;
    }
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_cur = m_max = 0;
    m_pFile = nullptr;
}

void CArchive::WriteString(LPCTSTR lpsz)
{
    if (lpsz)
        putRaw(lpsz, static_cast<UINT>(std::strlen(lpsz)));
    else
        checkMode(false);
}

BOOL CArchive::ReadString(CString& rString)
{
    checkMode(true);
    std::string line;
    bool any = false;
    for (;;) {
        if (m_cur == m_max && fill(1) == 0)
            break;
        any = true;
        const BYTE* start = m_buf.data() + m_cur;
        const UINT avail = m_max - m_cur;
        const void* nl = std::memchr(start, '\n', avail);
        if (nl) {
            const UINT len = static_cast<UINT>(static_cast<const BYTE*>(nl) - start);
            line.append(reinterpret_cast<const char*>(start), len);
            m_cur += len + 1;
            break;
        }
        line.append(reinterpret_cast<const char*>(start), avail);
        m_cur = m_max;
    }
    if (!any) {
        rString.Empty();
        return FALSE;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    rString = CString(std::move(line));
    return TRUE;
}

DWORD CArchive::nextMapIndex()
{
    if (m_nMapCount >= nMaxMapCount)
        fail(CArchiveException::badIndex);
    return m_nMapCount++;
}

void CArchive::writeIndex(DWORD index, bool isClass)
{
    if (index < wBigObjectTag) {
        *this << static_cast<WORD>(isClass ? (wClassTag | index) : index);
    } else {
        *this << wBigObjectTag;
        *this << (isClass ? (dwBigClassTag | index) : index);
    }
}

void CArchive::readTag(WORD& wTag, DWORD& obTag)
{
    *this >> wTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag & 0xFFFF);
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring()) {
        if (pOb && m_storeMap.find(pOb) == m_storeMap.end())
            m_storeMap.emplace(pOb, nextMapIndex());
    } else {
        const DWORD index = nextMapIndex();
        m_loadArray.push_back({const_cast<CObject*>(pOb), false, false});
        if (pOb)
            m_loadIndex.Set(pOb, index);
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    checkMode(false);
    if (!pClassRef || pClassRef->m_wSchema == 0xFFFF)
        fail(CArchiveException::badClass); // a dynamic class has no archive form
    const auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        writeIndex(it->second, true);
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    m_storeMap.emplace(pClassRef, nextMapIndex());
}

void CArchive::WriteObject(const CObject* pOb)
{
    checkMode(false);
    if (!pOb) {
        *this << wNullTag;
        return;
    }
    const auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        writeIndex(it->second, false);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    // The object is mapped before its data, so references back to it from
    // within its own data (cycles) are written as back-references.
    m_storeMap.emplace(pOb, nextMapIndex());
    serializeObject(const_cast<CObject*>(pOb), *this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema,
                                   DWORD* pObTag)
{
    checkMode(true);
    WORD wTag = 0;
    DWORD obTag = 0;
    readTag(wTag, obTag);
    if (!(obTag & dwBigClassTag)) {
        if (!pObTag)
            fail(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (!pClassRef)
            fail(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema) {
            if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
                fail(CArchiveException::badSchema);
            m_schemaMap[pClassRef] = nSchema;
        }
        nextMapIndex();
        m_loadArray.push_back({pClassRef, true, false});
    } else {
        const DWORD index = obTag & ~dwBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass)
            fail(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>(m_loadArray[index].p);
        const auto it = m_schemaMap.find(pClassRef);
        nSchema =
            it != m_schemaMap.end() ? it->second : (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
    }

    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        fail(CArchiveException::badClass);
    if (pSchema)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag)
        *pObTag = obTag;
    return pClassRef;
}

namespace {

// Stands in the load map for a class record that was read but not taken.
CRuntimeClass placeholderClass = {"", 0, 0xFFFF, nullptr, nullptr};

} // namespace

CRuntimeClass* CArchive::ReadClassOrNone(const CRuntimeClass* pClassRefRequested)
{
    checkMode(true);
    WORD wTag = 0;
    DWORD obTag = 0;
    readTag(wTag, obTag);
    if (!(obTag & dwBigClassTag))
        fail(CArchiveException::badIndex);
    CRuntimeClass* pClassRef = nullptr;
    if (wTag == wNewClassTag) {
        WORD wSchema = 0;
        WORD nLen = 0;
        *this >> wSchema >> nLen;
        if (nLen == 0 || nLen > 255)
            fail(CArchiveException::badClass);
        char name[256];
        if (Read(name, nLen) != nLen)
            fail(CArchiveException::endOfFile);
        name[nLen] = '\0';
        pClassRef = CRuntimeClass::FromName(name);
        if (pClassRef && (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != wSchema) {
            if (pClassRef->m_wSchema & VERSIONABLE_SCHEMA)
                m_schemaMap[pClassRef] = wSchema;
            else
                pClassRef = nullptr;
        }
        nextMapIndex();
        m_loadArray.push_back({pClassRef ? pClassRef : &placeholderClass, true, false});
    } else {
        const DWORD index = obTag & ~dwBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass)
            fail(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>(m_loadArray[index].p);
        if (pClassRef == &placeholderClass)
            pClassRef = nullptr;
    }
    if (pClassRef && pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        return nullptr;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

CObject* CArchive::beginReadObject(const CRuntimeClass* pClassRefRequested, bool& created,
                                   UINT& nSchema)
{
    created = false;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClassRef) {
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].isClass)
            fail(CArchiveException::badIndex);
        // An object deleted since it was read is not handed out again.
        if (!m_loadArray[obTag].alive)
            fail(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>(m_loadArray[obTag].p);
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            fail(CArchiveException::badClass);
        return pOb;
    }
    const DWORD index = nextMapIndex();
    CObject* pOb = pClassRef->CreateObject();
    if (!pOb)
        fail(CArchiveException::badClass); // abstract or dynamic: not creatable
    // Entered before its data are read: the data may refer back to it.
    m_loadArray.push_back({pOb, false, true});
    m_loadIndex.Set(pOb, index);
    created = true;
    return pOb;
}

CObject* CArchive::readObject(const CRuntimeClass* pClassRefRequested, bool& created)
{
    UINT nSchema = 0;
    CObject* pOb = beginReadObject(pClassRefRequested, created, nSchema);
    if (!created)
        return pOb;
    const std::size_t index = m_loadArray.size() - 1;
    {
        SchemaScope scope(*this, nSchema);
        serializeObject(pOb, *this);
    }
    // Its own data must not have deleted it.
    if (!m_loadArray[index].alive)
        fail(CArchiveException::badIndex);
    return pOb;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    bool created = false;
    return readObject(pClassRefRequested, created);
}

CObject* CArchive::ReadCheckedObject(const CRuntimeClass* pClassRef, ObjectUse use, bool* pOwned)
{
    if (pOwned)
        *pOwned = false;
    bool created = false;
    CObject* pOb = readObject(pClassRef, created);
    if (!pOb)
        return nullptr;
    if (use == useOwnedIfNew)
        use = created ? useOwned : useReference;
    if (use == useOwned) {
        // Only a new object read here can get its first owner here.
        if (!created || !ClaimObject(pOb))
            fail(CArchiveException::badIndex);
        if (pOwned)
            *pOwned = true;
    } else if (use == useExisting && created) {
        fail(CArchiveException::badIndex);
    }
    return pOb;
}

BOOL CArchive::ClaimObject(const CObject* pOb)
{
    const DWORD index = pOb ? m_loadIndex.Find(pOb) : 0;
    if (index == 0)
        return FALSE;
    LoadEntry& e = m_loadArray[index];
    if (!e.created || e.claimed)
        return FALSE;
    e.claimed = true;
    return TRUE;
}

void CArchive::ReadListEntries(CObList& list, const EntryReader& readEntry)
{
    DWORD n = ReadCount();
    CheckAvailable(n, 2); // each entry takes at least a tag word
    while (n--)
        list.AddTail(readEntry(*this));
}

CObList* CArchive::ReadListObject(const EntryReader& readEntry)
{
    bool created = false;
    UINT nSchema = 0;
    CObject* pOb = beginReadObject(RUNTIME_CLASS(CObList), created, nSchema);
    if (!pOb)
        return nullptr;
    // An owning slot: a new plain list (a derived list reads itself).
    if (!created)
        fail(CArchiveException::badIndex);
    if (pOb->GetRuntimeClass() != RUNTIME_CLASS(CObList))
        fail(CArchiveException::badClass);
    const std::size_t index = m_loadArray.size() - 1;
    CObList* list = static_cast<CObList*>(pOb);
    // The entries this list took as their owner (new objects claimed by
    // the entry reader).
    std::vector<std::size_t> taken;
    try {
        SchemaScope scope(*this, nSchema);
        onEnoughStack([&] {
            ReadListEntries(*list, [&](CArchive& ar) {
                const std::size_t before = m_loadArray.size();
                CObject* entry = readEntry(ar);
                const DWORD at = entry ? m_loadIndex.Find(entry) : 0;
                if (at >= before && m_loadArray[at].claimed)
                    taken.push_back(at);
                return entry;
            });
        });
    } catch (...) {
        // The list reaches no owner: the entries it took are nobody's again
        // (the discard frees them with the other objects nobody owns).
        for (std::size_t at : taken)
            m_loadArray[at].claimed = false;
        throw;
    }
    if (!m_loadArray[index].alive)
        fail(CArchiveException::badIndex);
    m_loadArray[index].claimed = true;
    return list;
}

void CArchive::objectDestroyed(const CObject* pOb)
{
    const DWORD index = m_loadIndex.Find(pOb);
    if (index == 0)
        return;
    m_loadArray[index].alive = false;
    m_loadIndex.Erase(pOb);
}

namespace
{
// Marks a slot whose object was erased (probing goes on past it).
const CObject* const erasedSlot = reinterpret_cast<const CObject*>(alignof(CObject));
} // namespace

std::size_t CArchive::PointerIndex::Probe(const CObject* p) const
{
    // Fibonacci hashing of the address (objects are at least 8-aligned).
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = (reinterpret_cast<std::uintptr_t>(p) >> 3) * 0x9E3779B97F4A7C15ull;
    i = (i >> 16) & mask;
    std::size_t erased = m_slots.size();
    for (;; i = (i + 1) & mask) {
        const CObject* q = m_slots[i].p;
        if (q == p)
            return i;
        if (!q)
            return erased < m_slots.size() ? erased : i;
        if (q == erasedSlot && erased == m_slots.size())
            erased = i;
    }
}

void CArchive::PointerIndex::Set(const CObject* p, DWORD index)
{
    if ((m_used + 1) * 4 >= m_slots.size() * 3)
        Grow();
    Slot& slot = m_slots[Probe(p)];
    if (slot.p != p) {
        if (!slot.p)
            ++m_used;
        slot.p = p;
    }
    slot.index = index;
}

DWORD CArchive::PointerIndex::Find(const CObject* p) const
{
    if (m_slots.empty() || !p || p == erasedSlot)
        return 0;
    const Slot& slot = m_slots[Probe(p)];
    return slot.p == p ? slot.index : 0;
}

void CArchive::PointerIndex::Erase(const CObject* p)
{
    if (m_slots.empty())
        return;
    Slot& slot = m_slots[Probe(p)];
    if (slot.p == p)
        slot.p = erasedSlot;
}

void CArchive::PointerIndex::Grow()
{
    std::vector<Slot> old;
    old.swap(m_slots);
    std::size_t live = 0;
    for (const Slot& slot : old)
        live += slot.p && slot.p != erasedSlot;
    std::size_t size = 64;
    while (size * 3 <= (live + 1) * 8)
        size *= 2;
    m_slots.assign(size, Slot{nullptr, 0});
    m_used = 0;
    for (const Slot& slot : old)
        if (slot.p && slot.p != erasedSlot) {
            m_slots[Probe(slot.p)] = slot;
            ++m_used;
        }
}

std::vector<CObject*> CArchive::GetCreatedObjects() const
{
    std::vector<CObject*> out;
    for (const LoadEntry& e : m_loadArray)
        if (e.created && e.alive)
            out.push_back(static_cast<CObject*>(e.p));
    return out;
}

void CArchive::DeleteCreatedObjects()
{
    // Pass 0: the objects nobody owns, but the shared ones; pass 1: owned
    // objects whose owner is gone without them; pass 2: the shared ones
    // (their users are gone by then). Each deletion marks what it frees as
    // gone (objectDestroyed).
    for (int pass = 0; pass < 3; ++pass)
        for (std::size_t i = 1; i < m_loadArray.size(); ++i) {
            const LoadEntry& e = m_loadArray[i];
            if (e.isClass || !e.created || !e.alive)
                continue;
            CObject* pOb = static_cast<CObject*>(e.p);
            if (pass < 2 && (e.claimed != (pass == 1) || isSharedClass(pOb->GetRuntimeClass())))
                continue;
            delete pOb;
        }
}

DWORD CArchive::ReadCount()
{
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount = 0;
    *this >> dwCount;
    return dwCount;
}

void CArchive::WriteCount(DWORD dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF);
        *this << dwCount;
    }
}

ULONGLONG CArchive::GetBytesLeft()
{
    checkMode(true);
    const ULONGLONG length = m_pFile->GetLength();
    const ULONGLONG pos = m_pFile->GetPosition();
    return (m_max - m_cur) + (length > pos ? length - pos : 0);
}

void CArchive::CheckAvailable(ULONGLONG nItems, UINT nBytesEach)
{
    if (nItems == 0 || nBytesEach == 0)
        return;
    if (nItems <= (m_max - m_cur) / nBytesEach)
        return; // already buffered
    const ULONGLONG left = GetBytesLeft();
    if (nItems > left / nBytesEach)
        fail(CArchiveException::endOfFile);
}

CArchive& CArchive::operator<<(LPCTSTR psz)
{
    return *this << CString(psz);
}

CArchive& CArchive::operator>>(bool& b)
{
    LONG v = 0;
    *this >> v;
    b = v != 0;
    return *this;
}

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator<<(CArchive& ar, const CString& string)
{
    const std::size_t len = string.str().size();
    if (len > std::numeric_limits<DWORD>::max())
        AfxThrowArchiveException(CArchiveException::generic);
    if (len < 255) {
        ar << static_cast<BYTE>(len);
    } else if (len < 0xFFFE) {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(len);
    } else {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(len);
    }
    ar.Write(string.GetString(), static_cast<UINT>(len));
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& string)
{
    BYTE bLen = 0;
    ar >> bLen;
    DWORD len = bLen;
    if (bLen == 0xFF) {
        WORD wLen = 0;
        ar >> wLen;
        len = wLen;
        if (wLen == 0xFFFF)
            ar >> len;
    }
    ar.CheckAvailable(len, 1);
    std::string text(len, '\0');
    if (ar.Read(text.data(), len) != len)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    string = CString(std::move(text));
    return ar;
}

// CArchive: the binary archive of documents and settings, in the classic
// little-endian layout of the MFC framework's archives, so that files are
// byte-stable and files written by that framework stay readable.
//
//   BYTE, WORD, LONG/DWORD (32-bit), float, double: little-endian;
//   bool: a 32-bit 0 or 1 (what an int-promoted bool is in that layout);
//   CString: length < 255 as one byte, else 0xFF and a WORD, from 0xFFFE on
//     0xFF, WORD 0xFFFF and a DWORD; then the bytes, no terminator;
//   counts: a WORD, from 0xFFFF on WORD 0xFFFF and a DWORD;
//   objects: null WORD 0; first object of a new class WORD 0xFFFF, WORD
//     schema, WORD name length, name, then the object's data; a new object
//     of a known class WORD 0x8000 | class index; an object already written
//     WORD object index; indexes from 0x7FFF up as WORD 0x7FFF and a DWORD
//     (0x80000000 set for a class). Classes and objects share one index
//     counter starting at 1.
//
// An object enters the archive's map before its Serialize runs, so cyclic
// references come back as back-references. Object graphs of any depth work:
// when the stack runs low, the nested Serialize continues on a fresh one.
//
// Errors throw CArchiveException (truncated or corrupt data) or the file's
// CFileException. Readers of arrays sized by a stored count call
// CheckAvailable first. The host's 64-bit long has no operator: stored words
// are LONG or DWORD.
//
// Loading safely. A loader never casts what ReadObject returns: it reads
// through ReadObjectAs (or the list readers below), naming the class it
// expects and how it takes the object:
//   useReference  it points at the object: new or read before;
//   useOwned      it becomes the object's one owner: the object must be new,
//                 read at this very slot (a back-reference there would give
//                 the object two owners);
//   useExisting   it points at an object read before; a new object there
//                 would have no owner;
//   useOwnedIfNew a new object read here becomes its own (as useOwned), a
//                 back-reference stays a reference; the reader learns which
//                 through pOwned and frees only what it owns.
// An object of another class is badClass, an ownership breach badIndex.
// While a loading archive exists it follows the destruction of the objects
// in its map: a back-reference to an object that was deleted meanwhile is
// badIndex, never a dangling pointer.
//
// A failed load is discarded by the one owner of what it read: the owner
// deletes its own objects that hold loaded ones (a fresh model, say), then
// calls DeleteCreatedObjects, which frees every object the archive created
// that is still alive, each once. What the caller had open before the load
// is not touched.
#pragma once

#include <concepts>
#include <functional>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/afx/cstring.h"
#include "platform/afx/exceptions.h"
#include "platform/afx/file.h"
#include "platform/afx/object.h"

class CDocument;
class CObList;

class CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // nMode: store or load, optionally with bNoFlushOnDelete. The buffer
    // (at least 128 bytes) is always the archive's own; lpBuf is ignored.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Closes the archive (storing: flushes it) unless bNoFlushOnDelete was
    // given; errors at this point are dropped.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    // Loading: true when no unread data remain (neither in the buffer nor
    // in the file behind it).
    BOOL IsBufferEmpty();
    CFile* GetFile() const { return m_pFile; }

    // The schema of the object being loaded, as stored in the archive; it
    // holds for the whole of that object's Serialize, base classes included
    // ((UINT)-1 outside an object's Serialize while loading).
    UINT GetObjectSchema() const { return m_nObjectSchema; }
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Raw bytes. Read returns fewer than nMax only at the end of the data.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Storing: writes the buffer to the file. Loading: seeks the file back
    // by the bytes buffered but not read, so that the file position equals
    // the archive's read position.
    void Flush();
    // Flushes and detaches the file (which stays open).
    void Close();
    // Detaches the file without flushing and without throwing.
    void Abort();

    // Text lines. WriteString writes the characters as they are (no line end
    // is added). ReadString reads up to a LF, drops the line end (CR LF or
    // LF) and returns false at the end of the data.
    void WriteString(LPCTSTR lpsz);
    BOOL ReadString(CString& rString);

    // Objects and classes (the layout above).
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteObject(const CObject* pOb);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr,
                             UINT* pSchema = nullptr, DWORD* pObTag = nullptr);
    void WriteClass(const CRuntimeClass* pClassRef);
    // Reads a class reference as ReadClass does, but a class this program
    // does not know, whose schema it cannot read, or that is not derived
    // from the requested class gives null instead of an error. Its record
    // is consumed and mapped all the same, so later references in the
    // archive stay in step. Damaged data (a bad tag or name) still throw.
    CRuntimeClass* ReadClassOrNone(const CRuntimeClass* pClassRefRequested = nullptr);
    // WriteClass when storing, ReadClass (setting the object schema) when loading.
    void SerializeClass(const CRuntimeClass* pClassRef);
    // Enters an object into the map without writing it, so later references
    // to it are written (or resolved) as back-references.
    void MapObject(const CObject* pOb);

    // How a loader takes an object it reads (see the top of this file).
    enum ObjectUse { useReference, useOwned, useExisting, useOwnedIfNew };

    // The checked read: an object of class pClassRef (or null) taken as
    // given by use, as a T. pClassRef is T's class or one derived from it
    // (null: T's class); T declares its own run-time class.
    template <class T>
    T* ReadObjectAs(const CRuntimeClass* pClassRef, ObjectUse use = useReference,
                    bool* pOwned = nullptr)
    {
        static_assert(std::is_same_v<typename T::AfxThisClass, T>,
                      "ReadObjectAs needs a class with its own run-time class");
        if (!pClassRef)
            pClassRef = T::GetThisClass();
        else if (!pClassRef->IsDerivedFrom(T::GetThisClass()))
            fail(CArchiveException::badClass); // the loader's own mistake
        // The object is of class pClassRef (ReadObject checks), hence a T.
        return static_cast<T*>(ReadCheckedObject(pClassRef, use, pOwned));
    }
    // ReadObjectAs without the C++ type: the object is of class pClassRef.
    // pOwned (optional) receives whether the reader became the object's owner.
    CObject* ReadCheckedObject(const CRuntimeClass* pClassRef, ObjectUse use,
                               bool* pOwned = nullptr);

    // Lists in the layout of CObList::Serialize (a count, then the objects).
    // ReadListEntries appends each entry to list as soon as readEntry has
    // read it (readEntry reads one object through ReadObjectAs and returns
    // it); a list left by a failure holds only entries that readEntry
    // accepted. ReadListObject reads a plain CObList object for an owning
    // slot (new, read here, of class CObList exactly), its entries through
    // ReadListEntries; null for a null slot.
    using EntryReader = std::function<CObject*(CArchive&)>;
    void ReadListEntries(CObList& list, const EntryReader& readEntry);
    CObList* ReadListObject(const EntryReader& readEntry);

    // Loading: the objects this archive has created and that are still
    // alive, in the order it created them.
    std::vector<CObject*> GetCreatedObjects() const;
    // Loading: discards what a failed (or unwanted) load created. Frees,
    // each once, every object this archive created that is still alive:
    // first the ones nobody owns, in the order they were created (owners
    // come before what they own and free it), then anything owned whose
    // owner is gone, objects of the shared classes (AFX_SHAREDCLASS) last.
    // The caller deletes its own objects that hold loaded ones first.
    void DeleteCreatedObjects();

    // Element counts.
    DWORD ReadCount();
    void WriteCount(DWORD dwCount);

    // Loading: the number of bytes that can still be read.
    ULONGLONG GetBytesLeft();
    // Loading: throws endOfFile unless nItems items of at least nBytesEach
    // bytes each can still be read (guards allocations sized by a count).
    void CheckAvailable(ULONGLONG nItems, UINT nBytesEach);

    CArchive& operator<<(BYTE by) { return putRaw(&by, 1); }
    CArchive& operator<<(char ch) { return putRaw(&ch, 1); }
    CArchive& operator<<(WORD w) { return putRaw(&w, 2); }
    CArchive& operator<<(short s) { return putRaw(&s, 2); }
    CArchive& operator<<(LONG l) { return putRaw(&l, 4); }
    CArchive& operator<<(DWORD dw) { return putRaw(&dw, 4); }
    CArchive& operator<<(float f) { return putRaw(&f, 4); }
    CArchive& operator<<(double d) { return putRaw(&d, 8); }
    template <class T>
    requires std::same_as<T, bool> CArchive& operator<<(T b)
    {
        return *this << static_cast<LONG>(b ? 1 : 0);
    }
    CArchive& operator<<(LPCTSTR psz);

    CArchive& operator>>(BYTE& by) { return getRaw(&by, 1); }
    CArchive& operator>>(char& ch) { return getRaw(&ch, 1); }
    CArchive& operator>>(WORD& w) { return getRaw(&w, 2); }
    CArchive& operator>>(short& s) { return getRaw(&s, 2); }
    CArchive& operator>>(LONG& l) { return getRaw(&l, 4); }
    CArchive& operator>>(DWORD& dw) { return getRaw(&dw, 4); }
    CArchive& operator>>(float& f) { return getRaw(&f, 4); }
    CArchive& operator>>(double& d) { return getRaw(&d, 8); }
    CArchive& operator>>(bool& b);

    // The host's long is 64 bits wide: stored words must be LONG or DWORD.
    CArchive& operator<<(long) = delete;
    CArchive& operator<<(unsigned long) = delete;
    CArchive& operator<<(long long) = delete;
    CArchive& operator<<(unsigned long long) = delete;
    CArchive& operator>>(long&) = delete;
    CArchive& operator>>(unsigned long&) = delete;
    CArchive& operator>>(long long&) = delete;
    CArchive& operator>>(unsigned long long&) = delete;

    // The document being archived, for objects that need it.
    CDocument* m_pDocument = nullptr;

private:
    CArchive& putRaw(const void* p, UINT n);
    CArchive& getRaw(void* p, UINT n);
    void flushStore();
    // Makes at least nNeeded bytes available in the buffer (fewer at the end
    // of the file); returns how many are available.
    UINT fill(UINT nNeeded);
    void checkMode(bool wantLoading) const;
    [[noreturn]] void fail(int cause) const;
    DWORD nextMapIndex();
    void readTag(WORD& wTag, DWORD& obTag);
    void writeIndex(DWORD index, bool isClass);

    CObject* readObject(const CRuntimeClass* pClassRefRequested, bool& created);
    CObject* beginReadObject(const CRuntimeClass* pClassRefRequested, bool& created,
                             UINT& nSchema);
    void objectDestroyed(const CObject* pOb);
    friend void AfxArchiveObjectDestroyed(const CObject* pOb);
    // Marks an object this archive created as owned; false (nothing marked)
    // when it is not one it created or someone owns it already.
    BOOL ClaimObject(const CObject* pOb);

    struct LoadEntry {
        void* p;
        bool isClass;
        bool created;      // made by this archive (not entered by MapObject)
        bool alive = true; // an object not yet destroyed
        bool claimed = false; // an owner has taken it
    };

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buf;
    UINT m_cur = 0; // next byte to read or write
    UINT m_max = 0; // loading: end of the valid bytes
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    DWORD m_nMapCount = 1;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
    // Loading: the live objects of the map by address (open addressing:
    // one lookup per object made and per object destroyed).
    class PointerIndex
    {
    public:
        void Set(const CObject* p, DWORD index);
        // The index of p, or 0 when p is not in the table.
        DWORD Find(const CObject* p) const;
        void Erase(const CObject* p);

    private:
        struct Slot {
            const CObject* p;
            DWORD index;
        };
        std::size_t Probe(const CObject* p) const;
        void Grow();
        std::vector<Slot> m_slots;
        std::size_t m_used = 0; // live and erased slots
    };
    PointerIndex m_loadIndex;
    bool m_bWatching = false;
    std::unordered_map<const CRuntimeClass*, UINT> m_schemaMap;
};

// Called by every CObject's destructor: the loading archives of the thread
// mark the object as gone.
void AfxArchiveObjectDestroyed(const CObject* pOb);

// Shared classes: objects that others point at or count without being
// known to them (materials). A discarded load frees them after every other
// object, so that their users can still let go of them. One registration
// per class, at namespace scope where the class is implemented.
struct AFX_SHAREDCLASS {
    explicit AFX_SHAREDCLASS(const CRuntimeClass* pClass);
    ~AFX_SHAREDCLASS();
    AFX_SHAREDCLASS(const AFX_SHAREDCLASS&) = delete;
    AFX_SHAREDCLASS& operator=(const AFX_SHAREDCLASS&) = delete;

private:
    const CRuntimeClass* m_pClass;
};

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);

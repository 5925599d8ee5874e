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
// CFileException. Objects that a failed load created are not deleted (they
// may already be linked to others). Readers of arrays sized by a stored
// count call CheckAvailable first. The host's 64-bit long has no operator:
// stored words are LONG or DWORD.
#pragma once

#include <concepts>
#include <unordered_map>
#include <vector>

#include "platform/afx/cstring.h"
#include "platform/afx/exceptions.h"
#include "platform/afx/file.h"
#include "platform/afx/object.h"

class CDocument;

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

    // Loading: the objects this archive has created so far, in the order it
    // created them. A failed load does not delete them; a caller that owns
    // all of them (none was handed to a model that survives the failure)
    // may delete them after catching the exception.
    std::vector<CObject*> GetCreatedObjects() const;

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

    struct LoadEntry {
        void* p;
        bool isClass;
        bool created; // made by this archive (not entered by MapObject)
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
    std::unordered_map<const CRuntimeClass*, UINT> m_schemaMap;
};

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);

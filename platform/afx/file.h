// CFile: an unbuffered binary file on a POSIX descriptor. Failures throw
// CFileException (Open reports them through its result instead).
// The share flags are accepted for the callers' sake; the system has no
// mandatory file sharing, so they restrict nothing.
#pragma once

#include "platform/afx/cstring.h"
#include "platform/afx/exceptions.h"
#include "platform/afx/object.h"

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };
    static constexpr int hFileNull = -1;

    CFile();
    // Wraps an open descriptor; the file does not close it.
    explicit CFile(int hFile);
    // Opens the file or throws CFileException.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False (and pError filled, when given) when the file cannot be opened.
    // Only a regular file (or a new one) is opened, without ever blocking:
    // a folder is refused with EISDIR ("is a folder"), a FIFO, device or
    // socket with ENXIO ("is not a regular file").
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual ULONGLONG GetPosition() const;
    // Moves to lOff from begin, current or end; returns the new position.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    // Reads up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Flush();
    // Closes the file; a failure to close throws.
    virtual void Close();
    // Closes the file without throwing.
    virtual void Abort();

    virtual CString GetFileName() const;
    virtual CString GetFilePath() const { return m_strFileName; }
    BOOL IsOpen() const { return m_hFile != hFileNull; }

    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    static void Remove(LPCTSTR lpszFileName);

    int m_hFile = hFileNull;

protected:
    CString m_strFileName;
    bool m_bCloseOnDelete = false;
};

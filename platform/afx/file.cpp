#include "platform/afx/file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

#include "replace/safereplace.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile() = default;

CFile::CFile(int hFile) : m_hFile(hFile) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        throw error;
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
    m_strFileName = lpszFileName;
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    default:
        flags |= O_RDWR;
        break;
    }
    if (nOpenFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }
    // Only regular files are opened: a FIFO or a device would block the
    // open (or every read) until a peer appears. The kind is checked before
    // the open, and again on what was opened, which O_NONBLOCK keeps from
    // blocking when a FIFO took the name in between.
    const auto refuse = [&](int err) {
        // The system says ELOOP for a loop and for a chain of more than 40
        // links alike: the walk tells them apart.
        std::string resolved;
        if (err == ELOOP && safereplace::Resolve(lpszFileName ? lpszFileName : "", resolved, true) == EMLINK)
            err = EMLINK;
        if (pError) {
            pError->m_lOsError = err;
            pError->m_cause = CFileException::OsErrorToException(err);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    };
    const char* path = lpszFileName ? lpszFileName : "";
    struct stat st;
    if (::stat(path, &st) == 0 && !S_ISREG(st.st_mode))
        return refuse(S_ISDIR(st.st_mode) ? EISDIR : ENXIO);
    int fd;
    do
        fd = ::open(path, flags | O_NONBLOCK, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return refuse(errno);
    const int kind = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
    if (kind != 0) {
        const int err = kind;
        ::close(fd);
        return refuse(err);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_hFile = fd;
    m_bCloseOnDelete = true;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    const off_t pos = ::lseek(m_hFile, 0, SEEK_CUR);
    if (pos < 0)
        CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    const int whence = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : SEEK_END;
    const off_t pos = ::lseek(m_hFile, static_cast<off_t>(lOff), whence);
    if (pos < 0)
        CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const
{
    struct stat st;
    if (::fstat(m_hFile, &st) != 0)
        CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    if (::ftruncate(m_hFile, static_cast<off_t>(dwNewLen)) != 0)
        CFileException::ThrowOsError(errno, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    char* p = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        const ssize_t n = ::read(m_hFile, p + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        if (n == 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    const char* p = static_cast<const char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        const ssize_t n = ::write(m_hFile, p + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        if (n == 0)
            throw CFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        done += static_cast<UINT>(n);
    }
}

void CFile::Flush()
{
    // Writes go straight to the descriptor; nothing is held back here.
}

void CFile::Close()
{
    int err = 0;
    if (m_hFile != hFileNull && m_bCloseOnDelete && ::close(m_hFile) != 0)
        err = errno;
    m_hFile = hFileNull;
    m_bCloseOnDelete = false;
    if (err && err != EINTR)
        CFileException::ThrowOsError(err, m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        ::close(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = false;
}

CString CFile::GetFileName() const
{
    const int slash = m_strFileName.ReverseFind('/');
    return slash < 0 ? m_strFileName : m_strFileName.Mid(slash + 1);
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (std::rename(lpszOldName, lpszNewName) != 0)
        CFileException::ThrowOsError(errno, lpszOldName);
}

void CFile::Remove(LPCTSTR lpszFileName)
{
    if (std::remove(lpszFileName) != 0)
        CFileException::ThrowOsError(errno, lpszFileName);
}

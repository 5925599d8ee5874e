#include "platform/afx/exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "replace/safereplace.h"

// The message of EMLINK names the writers' limit of links.
static_assert(safereplace::kMaxLinks == 40);

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    const CString text = GetErrorMessage();
    const std::size_t n = std::min<std::size_t>(text.str().size(), nMaxError - 1);
    std::memcpy(lpszError, text.GetString(), n);
    lpszError[n] = '\0';
    return TRUE;
}

CString CException::GetErrorMessage() const
{
    return "An unknown error occurred.";
}

const char* CException::what() const noexcept
{
    try {
        m_what = GetErrorMessage().str();
    } catch (...) {
        return "exception";
    }
    return m_what.c_str();
}

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

CString CArchiveException::GetErrorMessage() const
{
    static const char* const texts[] = {
        "No error occurred.",
        "An unexpected error occurred while reading or writing an archive.",
        "An attempt was made to write to an archive opened for loading.",
        "An unexpected end of file was met while reading an archive.",
        "An attempt was made to read from an archive opened for storing.",
        "An archive holds an invalid object reference.",
        "An archive holds an object of an unexpected class.",
        "An archive holds an object of an unsupported version.",
    };
    CString text = (m_cause >= 0 && m_cause <= badSchema) ? texts[m_cause] : texts[generic];
    if (!m_strFileName.IsEmpty())
        text += CString(" (") + m_strFileName + ")";
    return text;
}

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{
}

CString CFileException::GetErrorMessage() const
{
    static const char* const texts[] = {
        "No error occurred.",
        "An unspecified error occurred while accessing %s.",
        "%s was not found.",
        "%s contains an invalid path.",
        "%s could not be opened because there are too many open files.",
        "Access to %s was denied.",
        "An invalid file handle was associated with %s.",
        "%s could not be removed because it is the current directory.",
        "%s could not be created because the directory is full.",
        "Seek failed on %s.",
        "A hardware I/O error was reported while accessing %s.",
        "A sharing violation occurred while accessing %s.",
        "A locking violation occurred while accessing %s.",
        "Disk full while accessing %s.",
        "An attempt was made to access %s past its end.",
    };
    const char* fmt = (m_cause >= 0 && m_cause <= endOfFile) ? texts[m_cause] : texts[generic];
    // A refusal for the kind of file names the kind, not the permission.
    if (m_cause == accessDenied && m_lOsError == EISDIR)
        fmt = "%s is a folder.";
    else if (m_cause == accessDenied && m_lOsError == ENXIO)
        fmt = "%s is not a regular file.";
    else if (m_cause == accessDenied && m_lOsError == safereplace::kGroupNotKept)
        fmt = "%s belongs to a group you are not a member of; saving it would take the group's access away.";
    else if (m_cause == accessDenied && m_lOsError == safereplace::kOwnerNotKept)
        fmt = "%s belongs to another user; saving it would take the owner's access away.";
    // A path refused by its links or its length names the cause.
    else if (m_cause == badPath && m_lOsError == ELOOP)
        fmt = "%s contains a loop of symbolic links.";
    else if (m_cause == badPath && m_lOsError == EMLINK)
        fmt = "%s contains more than 40 symbolic links.";
    else if (m_cause == badPath && m_lOsError == ENAMETOOLONG)
        fmt = "%s contains a name too long for the file system.";
    CString text;
    text.Format(fmt, m_strFileName.IsEmpty() ? "an unnamed file" : m_strFileName.GetString());
    return text;
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EMLINK:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ENXIO:
    case EEXIST:
    case safereplace::kGroupNotKept:
    case safereplace::kOwnerNotKept:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
        return sharingViolation;
    case ESPIPE:
    case EINVAL:
        return badSeek;
    case EIO:
        return hardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return generic;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    throw CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw CArchiveException(cause, lpszArchiveName);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw CFileException(cause, lOsError, lpszFileName);
}

// Exceptions of the platform layer. They are thrown by value and caught by
// reference: catch (CArchiveException& e) { ... e.m_cause ... }.
#pragma once

#include <exception>
#include <string>

#include "platform/afx/cstring.h"
#include "platform/afx/object.h"

class CException : public CObject, public std::exception
{
    DECLARE_DYNAMIC(CException)
public:
    CException() = default;
    CException(const CException& other) : CObject(), std::exception(other) {}
    CException& operator=(const CException&) { return *this; }
    // The message for a user, as far as it fits into nMaxError characters.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                 UINT* pnHelpContext = nullptr) const;
    virtual CString GetErrorMessage() const;
    const char* what() const noexcept override;

private:
    mutable std::string m_what;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        generic,
        readOnly,  // storing into an archive opened for loading
        endOfFile, // the data end before the object does
        writeOnly, // loading from an archive opened for storing
        badIndex,  // an object or class reference that does not exist
        badClass,  // an unknown class, or one of the wrong kind
        badSchema  // a schema that a non-versionable class cannot read
    };
    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);
    CString GetErrorMessage() const override;
    using CException::GetErrorMessage;

    int m_cause;
    CString m_strFileName;
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
    CString GetErrorMessage() const override;
    using CException::GetErrorMessage;

    // The cause that matches an operating-system error number (errno).
    static int OsErrorToException(LONG lOsError);
    static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1,
                                        LPCTSTR lpszFileName = nullptr);

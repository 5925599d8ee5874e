#include "platform/afx/safefile.h"

#include <cerrno>
#include <new>
#include <string>
#include <unistd.h>

#include "platform/afx/exceptions.h"

namespace afx
{

namespace
{

SafeFileWriter::Step s_inject = SafeFileWriter::Step::none; // set by tests only

// Resolves the target's links and refuses one that may not be replaced
// (safereplace::Check) before anything is created; names the file as the
// caller gave it. Returns the file to replace.
std::string CheckedTarget(LPCTSTR lpszTarget)
{
    std::string target;
    if (const int err = safereplace::Check(lpszTarget ? lpszTarget : "", target))
        CFileException::ThrowOsError(err, lpszTarget);
    return target;
}

} // namespace

// The temporary file: a CFile whose writes can be made to fail in tests.
class SafeFileWriter::TempFile : public CFile
{
public:
    TempFile(int fd, const CString& path, bool failWrites) : m_bFailWrites(failWrites)
    {
        m_hFile = fd;
        m_strFileName = path;
        m_bCloseOnDelete = true;
    }
    void Write(const void* lpBuf, UINT nCount) override
    {
        try {
            if (m_bFailWrites && nCount > 0)
                throw CFileException(CFileException::diskFull, ENOSPC, m_strFileName);
            CFile::Write(lpBuf, nCount);
        } catch (const CFileException& e) {
            if (m_failure.m_cause == CFileException::none)
                m_failure = CFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
            throw;
        }
    }
    // A write that failed, even when the caller caught and dropped the
    // exception: Commit then fails with it instead of keeping a short file.
    void ThrowIfAWriteFailed() const
    {
        if (m_failure.m_cause != CFileException::none)
            throw CFileException(m_failure.m_cause, m_failure.m_lOsError, m_failure.m_strFileName);
    }

private:
    bool m_bFailWrites;
    CFileException m_failure{CFileException::none};
};

void SafeFileWriter::InjectFailure(Step step)
{
    s_inject = step;
}

SafeFileWriter::SafeFileWriter(LPCTSTR lpszTarget) : m_failAt(s_inject)
{
    s_inject = Step::none;
    const std::string target = CheckedTarget(lpszTarget);
    m_strTarget = target.c_str();
    std::string temp;
    const int fd = safereplace::OpenTemp(target, temp);
    if (fd < 0)
        CFileException::ThrowOsError(-fd, m_strTarget);
    m_strTemp = temp.c_str();
    m_file = std::make_unique<TempFile>(fd, m_strTemp, m_failAt == Step::write);
}

CFile& SafeFileWriter::File()
{
    return *m_file;
}

SafeFileWriter::~SafeFileWriter()
{
    if (!m_bDone)
        Abort();
}

void SafeFileWriter::Abort()
{
    if (m_file)
        m_file->Abort();
    if (!m_bDone)
        ::unlink(m_strTemp.GetString());
    m_bDone = true;
}

void SafeFileWriter::Commit()
{
    if (m_bDone)
        throw CFileException(CFileException::generic, 0, m_strTarget);
    try {
        m_file->ThrowIfAWriteFailed();
        m_file->Flush();
        const std::string target(m_strTarget.GetString());
        if (const int err = safereplace::Finish(m_file->m_hFile, target, m_failAt))
            CFileException::ThrowOsError(err, m_strTemp);
        m_file->Close();
        if (const int err = safereplace::Replace(m_strTemp.GetString(), target, m_failAt))
            CFileException::ThrowOsError(err, m_strTarget);
    } catch (...) {
        Abort();
        throw;
    }
    m_bDone = true;
}

CString WriteRefusal(LPCTSTR lpszTarget)
{
    try {
        CheckedTarget(lpszTarget);
    } catch (const CFileException& e) {
        return e.GetErrorMessage();
    }
    return CString();
}

CString SafeWriteMessage(const std::exception& e, const CString& target)
{
    // The writer's own exceptions may name its temporary file: the user
    // knows the file by the target's name.
    if (const auto* file = dynamic_cast<const CFileException*>(&e))
        return CFileException(file->m_cause, file->m_lOsError, target).GetErrorMessage();
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return CString("There was not enough memory to write ") + target + ".";
    return CString(e.what()) + " (" + target + ")";
}

void SafeFileWriter::ThrowWriteFailure() const
{
    if (m_file)
        m_file->ThrowIfAWriteFailed();
}

CString WriteFileSafely(LPCTSTR lpszTarget, const std::function<void(CFile&)>& fill)
{
    std::unique_ptr<SafeFileWriter> writer;
    try {
        writer = std::make_unique<SafeFileWriter>(lpszTarget);
        fill(writer->File());
        writer->Commit();
    } catch (const std::exception& e) {
        // A failed write is the cause even when the writing code turned it
        // into a failure of its own.
        try {
            if (writer)
                writer->ThrowWriteFailure();
        } catch (const CFileException& w) {
            return SafeWriteMessage(w, lpszTarget);
        }
        return SafeWriteMessage(e, lpszTarget);
    }
    return CString();
}

} // namespace afx

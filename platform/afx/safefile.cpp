#include "platform/afx/safefile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/afx/exceptions.h"

namespace afx
{

namespace
{

SafeFileWriter::Step s_inject = SafeFileWriter::Step::none; // set by tests only

// The path with every symbolic link resolved; a target that does not exist
// yet keeps its name in its resolved folder.
std::string Resolve(const std::string& path)
{
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (char* real = ::realpath(folder.c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved + "/" + name;
    }
    return path;
}

// Whether the user may write the path: the system's answer, and for the
// superuser, whom the system lets write anything, the mode's write bits.
bool MayWrite(const std::string& path, const struct stat& st)
{
    return ::access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

// Refuses a target that exists and may not be written, or whose folder may
// not be written, before anything is created (a rename would replace a
// read-only file in a writable folder).
void CheckWritable(const std::string& target)
{
    struct stat st {
    };
    if (::stat(target.c_str(), &st) == 0) {
        // A folder or a device is never replaced by a regular file.
        if (!S_ISREG(st.st_mode))
            CFileException::ThrowOsError(EISDIR, target.c_str());
        if (!MayWrite(target, st))
            CFileException::ThrowOsError(EACCES, target.c_str());
    }
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    if (::stat(folder.c_str(), &st) == 0 && !MayWrite(folder, st))
        CFileException::ThrowOsError(EACCES, target.c_str());
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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
    const std::string target = Resolve(lpszTarget);
    m_strTarget = target.c_str();
    CheckWritable(target);
    std::string pattern = target + ".~tmp-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0)
        CFileException::ThrowOsError(errno, m_strTarget);
    m_strTemp = buffer.data();
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
        const int fd = m_file->m_hFile;
        if (m_failAt == Step::fsync || ::fsync(fd) != 0)
            CFileException::ThrowOsError(m_failAt == Step::fsync ? EIO : errno, m_strTemp);
        struct stat old {
        };
        const mode_t mode =
            ::stat(m_strTarget.GetString(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
        if (::fchmod(fd, mode) != 0)
            CFileException::ThrowOsError(errno, m_strTemp);
        m_file->Close();
        if (m_failAt == Step::rename ||
            ::rename(m_strTemp.GetString(), m_strTarget.GetString()) != 0)
            CFileException::ThrowOsError(m_failAt == Step::rename ? EIO : errno, m_strTarget);
    } catch (...) {
        Abort();
        throw;
    }
    m_bDone = true;
    // Makes the rename itself durable (best effort: some file systems refuse).
    const std::string target(m_strTarget.GetString());
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

CString WriteRefusal(LPCTSTR lpszTarget)
{
    const std::string target = Resolve(lpszTarget);
    try {
        CheckWritable(target);
    } catch (const CFileException& e) {
        return CFileException(e.m_cause, e.m_lOsError, lpszTarget).GetErrorMessage();
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

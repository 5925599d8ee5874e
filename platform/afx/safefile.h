// SafeFileWriter: replaces a file so that a failure at any point keeps the
// old file byte for byte. The new content goes into a temporary file
// "<name>.~tmp-XXXXXX" in the target's folder (a symbolic link is followed
// to its target first, so the link stays a link); Commit flushes and fsyncs
// it, gives it the old file's mode and renames it over the target. A writer
// destroyed without a successful Commit removes its temporary file.
//
// Failures throw CFileException: creating the temporary (a read-only
// folder), a write (disk full), the fsync and the rename.
#pragma once

#include <memory>

#include "platform/afx/file.h"

namespace afx
{

class SafeFileWriter
{
public:
    // Creates the temporary file for lpszTarget (throws CFileException).
    explicit SafeFileWriter(LPCTSTR lpszTarget);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // The temporary file, open for writing (owned by the writer).
    CFile& File();
    // The file that Commit replaces: the target with links resolved.
    const CString& GetTargetPath() const { return m_strTarget; }
    const CString& GetTempPath() const { return m_strTemp; }

    // Flushes, fsyncs, copies the old mode and renames over the target.
    // On failure the temporary file is removed and the exception thrown.
    void Commit();
    // Drops the temporary file; the target is untouched.
    void Abort();

    // A test hook: the next writer fails at this step as the system would
    // (write: disk full; fsync and rename: an I/O error). Reset after use.
    enum class Step { none, write, fsync, rename };
    static void InjectFailure(Step step);

private:
    class TempFile;
    CString m_strTarget;
    CString m_strTemp;
    std::unique_ptr<TempFile> m_file;
    Step m_failAt;
    bool m_bDone = false;
};

} // namespace afx

// SafeFileWriter: replaces a file so that a failure at any point keeps the
// old file byte for byte. The new content goes into a temporary file
// "<name>.~tmp-XXXXXX" in the target's folder (a name too long for the
// suffix is shortened in the temporary's name); Commit flushes and fsyncs
// it, gives it the old file's mode and renames it over the target. A writer
// destroyed without a successful Commit removes its temporary file.
//
// Links, owner and group (the rules in replace/safereplace.h): a symbolic
// link is followed to its target, so the link stays a link, only when no
// other user can have put it there (the user's or the superuser's own
// link, or another's in a folder of the user's that nobody else may
// write); any other link is refused as "access denied". A dangling link
// leads to a new file where it points. The replacement keeps the old
// file's group (and, for the superuser, its owner); a save that would take
// access away from the old owner or group is refused before anything is
// created.
//
// Failures throw CFileException: refused before anything is created, a
// folder ("is a folder", EISDIR), a FIFO, device or socket ("is not a
// regular file", ENXIO), a read-only file or folder or a link another user
// may have planted ("access denied", EACCES), a link loop (ELOOP), more
// than 40 links (EMLINK), a name too long (ENAMETOOLONG), an owner or group
// that would lose access (safereplace::kOwnerNotKept, kGroupNotKept); then
// creating the temporary, a write (disk full), the fsync and the rename.
#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "platform/afx/file.h"
#include "replace/safereplace.h"

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

    // Flushes, fsyncs, copies the old owner, group and mode and renames
    // over the target.
    // On failure the temporary file is removed and the exception thrown.
    void Commit();
    // Drops the temporary file; the target is untouched.
    void Abort();

    // Throws the first write that failed in File(), also one whose
    // exception the caller caught and dropped; nothing when none failed.
    void ThrowWriteFailure() const;

    // A test hook: the next writer fails at this step as the system would
    // (write: disk full; fsync and rename: an I/O error). Reset after use.
    using Step = safereplace::Step;
    static void InjectFailure(Step step);

private:
    class TempFile;
    CString m_strTarget;
    CString m_strTemp;
    std::unique_ptr<TempFile> m_file;
    Step m_failAt;
    bool m_bDone = false;
};

// Why lpszTarget may not be written (its kind, a read-only file or folder,
// a link that may not be followed), naming the file; empty when it may be.
CString WriteRefusal(LPCTSTR lpszTarget);

// The message a failed safe write shows: the cause, naming the target (not
// the temporary file).
CString SafeWriteMessage(const std::exception& e, const CString& target);

// Replaces lpszTarget with what fill writes into the file it is handed, in
// one SafeFileWriter. Returns an empty string on success; on any failure
// (also an exception from fill) the old file is byte for byte as it was, no
// temporary file remains, and the result is one message naming the file and
// the cause.
CString WriteFileSafely(LPCTSTR lpszTarget, const std::function<void(CFile&)>& fill);

} // namespace afx

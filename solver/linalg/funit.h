// Output units of the solver: a unit number connected to a file.
//
// A run connects its log to kLogUnit for the length of the run; every
// routine only ever writes with fwrite(lunit, ...), and writes to a unit
// that nothing is connected to go nowhere.
#pragma once

#include "replace/safereplace.h"

#include <cstddef>
#include <memory>
#include <string>

namespace solvika {

// The unit of a run's log.
inline constexpr int kLogUnit = 10;

// Connects a unit number to a file for as long as it is open; writes are
// buffered. The text goes into a temporary file beside the file, which
// replaces it only when close() found every write, the fsync and the
// rename complete (safereplace.h): on any failure, and when the UnitFile is
// destroyed without close(), the old file stays byte for byte and the
// temporary is removed. Input/output failures are reported as errno values
// (0 = success), never thrown.
class UnitFile {
public:
    UnitFile() = default;
    ~UnitFile();  // drops the temporary file when still open
    UnitFile(const UnitFile&) = delete;
    UnitFile& operator=(const UnitFile&) = delete;

    // Creates the temporary file and connects it to the unit. A file that
    // may not be replaced is refused first (safereplace::Check): EISDIR for
    // a folder, ENXIO for any other kind but a regular file (a FIFO, a
    // device), EACCES for a read-only file or folder and for a symbolic link
    // that another user can have put there, ELOOP for a link loop, EMLINK
    // for more than 40 links, ENAMETOOLONG for a name too long,
    // safereplace::kGroupNotKept or kOwnerNotKept for an old file whose
    // group or owner would lose access. On failure nothing is connected and
    // the file is as it was.
    int open(int unit, const char* path) noexcept;
    // Writes what is buffered, disconnects the unit and replaces the file
    // with the temporary one (given the old file's owner, group and mode). Returns 0, or the errno of the first failed
    // write, of the fsync, the close or the rename (the old file kept).
    int close() noexcept;

    bool isOpen() const noexcept { return m_fd >= 0; }
    int unit() const noexcept { return m_unit; }

    // Appends text (the writer's delivery). After a failed write the rest
    // is dropped; the failure is reported by close().
    void put(const char* text, std::size_t size) noexcept;

    // A test hook: the next open file fails at this step as the system
    // would (write: disk full; fsync and rename: an I/O error).
    static void injectFailure(safereplace::Step step) noexcept;

private:
    void disconnect() noexcept;
    void flush() noexcept;
    void writeAll(const char* text, std::size_t size) noexcept;

    static constexpr std::size_t kBufferSize = std::size_t(1) << 16;
    int m_fd = -1;
    int m_unit = 0;
    int m_error = 0;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    std::string m_target;  // the file replaced at close, links resolved
    std::string m_temp;    // the temporary file written until then
    safereplace::Step m_failAt = safereplace::Step::none;
};

} // namespace solvika

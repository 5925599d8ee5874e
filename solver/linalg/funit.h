// Output units of the solver: a unit number connected to a file.
//
// A run connects its log to kLogUnit for the length of the run; every
// routine only ever writes with fwrite(lunit, ...), and writes to a unit
// that nothing is connected to go nowhere.
#pragma once

#include <cstddef>
#include <memory>

namespace solvika {

// The unit of a run's log.
inline constexpr int kLogUnit = 10;

// Connects a unit number to a file for as long as it is open. The file is
// created, or truncated when it exists; writes are buffered. Input/output
// failures are reported as errno values (0 = success), never thrown.
class UnitFile {
public:
    UnitFile() = default;
    ~UnitFile();  // closes, dropping a failure
    UnitFile(const UnitFile&) = delete;
    UnitFile& operator=(const UnitFile&) = delete;

    // Opens the file and connects it to the unit. On failure nothing is
    // connected and the file is left as it was when possible.
    int open(int unit, const char* path) noexcept;
    // Writes what is buffered, disconnects the unit and closes the file.
    // Returns 0, or the errno of the first failed write or of the close.
    int close() noexcept;

    bool isOpen() const noexcept { return m_fd >= 0; }
    int unit() const noexcept { return m_unit; }

    // Appends text (the writer's delivery). After a failed write the rest
    // is dropped; the failure is reported by close().
    void put(const char* text, std::size_t size) noexcept;

private:
    void flush() noexcept;
    void writeAll(const char* text, std::size_t size) noexcept;

    static constexpr std::size_t kBufferSize = std::size_t(1) << 16;
    int m_fd = -1;
    int m_unit = 0;
    int m_error = 0;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
};

} // namespace solvika

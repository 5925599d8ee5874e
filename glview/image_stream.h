// Byte streams under the image readers and writers: a file opened by path,
// a block of memory, or (through adapters) the platform's files and archives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class ImageStream {
public:
    virtual ~ImageStream() = default;
    // Reads up to n bytes; returns how many were read (0 at the end or on error).
    virtual std::size_t Read(void* buffer, std::size_t n) = 0;
    // Writes all n bytes; false when they could not all be written.
    virtual bool Write(const void* buffer, std::size_t n) = 0;
    // Moves to an absolute position; false where the stream cannot.
    virtual bool Seek(std::uint64_t position) = 0;
    virtual std::uint64_t Position() const = 0;
    // Total length in bytes, or -1 when the stream does not know it.
    virtual std::int64_t Length() const = 0;
    virtual bool Flush() { return true; }

    // Reads exactly n bytes; false on a short read.
    bool ReadExact(void* buffer, std::size_t n) { return Read(buffer, n) == n; }
    // Reads and drops n bytes; false on a short read.
    bool Skip(std::uint64_t n);
    // Bytes left from the current position, or -1 when the length is unknown.
    std::int64_t Remaining() const;
    // Reads everything from the current position to the end into out;
    // false (out emptied) when that exceeds limit bytes.
    bool ReadRest(std::vector<std::uint8_t>& out, std::size_t limit);
};

// A file on disk, opened for reading or for writing (created or truncated).
class FileStream : public ImageStream {
public:
    enum Mode { Reading, Writing };
    FileStream() = default;
    FileStream(const char* path, Mode mode) { Open(path, mode); }
    ~FileStream() override { Close(); }
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    bool Open(const char* path, Mode mode);
    // Flushes and closes; false when buffered data could not be written.
    bool Close();
    bool IsOpen() const { return m_file != nullptr; }

    std::size_t Read(void* buffer, std::size_t n) override;
    bool Write(const void* buffer, std::size_t n) override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t Position() const override;
    std::int64_t Length() const override;
    bool Flush() override;

private:
    std::FILE* m_file = nullptr;
};

// Reads from a block of memory it does not own, or writes into its own vector.
class MemoryStream : public ImageStream {
public:
    MemoryStream() = default;
    MemoryStream(const void* data, std::size_t size)
        : m_in(static_cast<const std::uint8_t*>(data)), m_size(size) {}

    std::size_t Read(void* buffer, std::size_t n) override;
    bool Write(const void* buffer, std::size_t n) override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t Position() const override { return m_pos; }
    std::int64_t Length() const override;
    // What was written.
    const std::vector<std::uint8_t>& Data() const { return m_out; }

private:
    const std::uint8_t* m_in = nullptr;
    std::size_t m_size = 0;
    std::vector<std::uint8_t> m_out;
    std::size_t m_pos = 0;
};

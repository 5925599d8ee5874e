// Byte streams under the image readers and writers: the platform's files
// and archives, or a block of memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/afx/afx.h"

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
    // Bytes left from the current position, or -1 when unknown.
    virtual std::int64_t Remaining() = 0;
    virtual bool Flush() { return true; }

    // Reads exactly n bytes; false on a short read.
    bool ReadExact(void* buffer, std::size_t n) { return Read(buffer, n) == n; }
    // Reads and drops n bytes; false on a short read.
    bool Skip(std::uint64_t n);
    // Reads everything from the current position to the end into out;
    // false (out emptied) when that exceeds limit bytes.
    bool ReadRest(std::vector<std::uint8_t>& out, std::size_t limit);
};

// An open CFile. Its exceptions become failed results.
class CFileStream : public ImageStream {
public:
    explicit CFileStream(CFile* file) : m_file(file) {}

    std::size_t Read(void* buffer, std::size_t n) override;
    bool Write(const void* buffer, std::size_t n) override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t Position() const override;
    std::int64_t Remaining() override;
    bool Flush() override;

private:
    CFile* m_file;
};

// A file opened by path for reading, or created for writing; closed when
// the stream goes.
class PathStream : public CFileStream {
public:
    enum Mode { Reading, Writing };
    PathStream(const char* path, Mode mode);
    bool IsOpen() const { return m_file.IsOpen(); }
    // Closes the file; false when that fails (data not written).
    bool Close();

private:
    CFile m_file;
};

// The bytes of an archive. Read and write errors throw the archive's
// exceptions, as everything in a Serialize does.
class ArchiveStream : public ImageStream {
public:
    explicit ArchiveStream(CArchive& archive) : m_archive(archive) {}

    std::size_t Read(void* buffer, std::size_t n) override;
    bool Write(const void* buffer, std::size_t n) override;
    bool Seek(std::uint64_t) override { return false; }
    std::uint64_t Position() const override { return m_position; }
    std::int64_t Remaining() override;

private:
    CArchive& m_archive;
    std::uint64_t m_position = 0;
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
    std::int64_t Remaining() override;
    // What was written.
    const std::vector<std::uint8_t>& Data() const { return m_out; }

private:
    const std::uint8_t* m_in = nullptr;
    std::size_t m_size = 0;
    std::vector<std::uint8_t> m_out;
    std::size_t m_pos = 0;
};

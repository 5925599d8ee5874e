#include "glview/image_stream.h"

#include <algorithm>
#include <cstring>

bool ImageStream::Skip(std::uint64_t n) {
    std::uint8_t scratch[4096];
    while (n > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(n, sizeof scratch));
        if (Read(scratch, chunk) != chunk)
            return false;
        n -= chunk;
    }
    return true;
}

std::int64_t ImageStream::Remaining() const {
    const std::int64_t length = Length();
    if (length < 0)
        return -1;
    const auto pos = static_cast<std::int64_t>(Position());
    return pos >= length ? 0 : length - pos;
}

bool ImageStream::ReadRest(std::vector<std::uint8_t>& out, std::size_t limit) {
    out.clear();
    const std::int64_t rest = Remaining();
    if (rest >= 0) {
        if (static_cast<std::uint64_t>(rest) > limit)
            return false;
        out.resize(static_cast<std::size_t>(rest));
        out.resize(Read(out.data(), out.size()));
        return true;
    }
    // Length unknown: read in chunks up to the limit.
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t got = Read(chunk, sizeof chunk);
        if (got == 0)
            return true;
        if (out.size() + got > limit) {
            out.clear();
            return false;
        }
        out.insert(out.end(), chunk, chunk + got);
    }
}

bool FileStream::Open(const char* path, Mode mode) {
    Close();
    if (path == nullptr || *path == '\0')
        return false;
    m_file = std::fopen(path, mode == Reading ? "rb" : "wb");
    return m_file != nullptr;
}

bool FileStream::Close() {
    if (m_file == nullptr)
        return true;
    const bool ok = std::fclose(m_file) == 0;
    m_file = nullptr;
    return ok;
}

std::size_t FileStream::Read(void* buffer, std::size_t n) {
    return m_file != nullptr && n > 0 ? std::fread(buffer, 1, n, m_file) : 0;
}

bool FileStream::Write(const void* buffer, std::size_t n) {
    if (m_file == nullptr)
        return false;
    return n == 0 || std::fwrite(buffer, 1, n, m_file) == n;
}

bool FileStream::Seek(std::uint64_t position) {
    return m_file != nullptr && std::fseek(m_file, static_cast<long>(position), SEEK_SET) == 0;
}

std::uint64_t FileStream::Position() const {
    if (m_file == nullptr)
        return 0;
    const long pos = std::ftell(m_file);
    return pos < 0 ? 0 : static_cast<std::uint64_t>(pos);
}

std::int64_t FileStream::Length() const {
    if (m_file == nullptr)
        return -1;
    const long pos = std::ftell(m_file);
    if (pos < 0 || std::fseek(m_file, 0, SEEK_END) != 0)
        return -1;
    const long end = std::ftell(m_file);
    std::fseek(m_file, pos, SEEK_SET);
    return end;
}

bool FileStream::Flush() {
    return m_file != nullptr && std::fflush(m_file) == 0;
}

std::size_t MemoryStream::Read(void* buffer, std::size_t n) {
    if (m_in == nullptr || m_pos >= m_size)
        return 0;
    const std::size_t got = std::min(n, m_size - m_pos);
    std::memcpy(buffer, m_in + m_pos, got);
    m_pos += got;
    return got;
}

bool MemoryStream::Write(const void* buffer, std::size_t n) {
    if (m_in != nullptr)
        return false;
    if (m_pos + n > m_out.size())
        m_out.resize(m_pos + n);
    if (n > 0)
        std::memcpy(m_out.data() + m_pos, buffer, n);
    m_pos += n;
    return true;
}

bool MemoryStream::Seek(std::uint64_t position) {
    const std::size_t end = m_in != nullptr ? m_size : m_out.size();
    if (position > end)
        return false;
    m_pos = static_cast<std::size_t>(position);
    return true;
}

std::int64_t MemoryStream::Length() const {
    return static_cast<std::int64_t>(m_in != nullptr ? m_size : m_out.size());
}

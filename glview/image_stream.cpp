#include "glview/image_stream.h"

#include <algorithm>
#include <climits>
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
    std::vector<std::uint8_t> chunk(65536);
    for (;;) {
        const std::size_t got = Read(chunk.data(), chunk.size());
        if (got == 0)
            return true;
        if (out.size() + got > limit) {
            out.clear();
            return false;
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    }
}

std::size_t CFileStream::Read(void* buffer, std::size_t n) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t total = 0;
    try {
        while (total < n) {
            const auto chunk = static_cast<UINT>(std::min<std::size_t>(n - total, UINT_MAX / 2));
            const UINT got = m_file->Read(out + total, chunk);
            total += got;
            if (got < chunk)
                break;
        }
    } catch (CException&) {
    }
    return total;
}

bool CFileStream::Write(const void* buffer, std::size_t n) {
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    try {
        while (n > 0) {
            const auto chunk = static_cast<UINT>(std::min<std::size_t>(n, UINT_MAX / 2));
            m_file->Write(in, chunk);
            in += chunk;
            n -= chunk;
        }
        return true;
    } catch (CException&) {
        return false;
    }
}

bool CFileStream::Seek(std::uint64_t position) {
    try {
        return m_file->Seek(static_cast<LONGLONG>(position), CFile::begin) == position;
    } catch (CException&) {
        return false;
    }
}

std::uint64_t CFileStream::Position() const {
    try {
        return m_file->GetPosition();
    } catch (CException&) {
        return 0;
    }
}

std::int64_t CFileStream::Remaining() {
    try {
        const ULONGLONG length = m_file->GetLength();
        const ULONGLONG position = m_file->GetPosition();
        return position >= length ? 0 : static_cast<std::int64_t>(length - position);
    } catch (CException&) {
        return -1;
    }
}

bool CFileStream::Flush() {
    try {
        m_file->Flush();
        return true;
    } catch (CException&) {
        return false;
    }
}

PathStream::PathStream(const char* path, Mode mode) : CFileStream(&m_file) {
    if (path == nullptr || *path == '\0')
        return;
    const UINT flags = mode == Reading ? CFile::modeRead | CFile::typeBinary
                                       : CFile::modeCreate | CFile::modeWrite | CFile::typeBinary;
    m_file.Open(path, flags);
}

bool PathStream::Close() {
    if (!m_file.IsOpen())
        return true;
    try {
        m_file.Close();
        return true;
    } catch (CException&) {
        m_file.Abort();
        return false;
    }
}

std::size_t ArchiveStream::Read(void* buffer, std::size_t n) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t total = 0;
    while (total < n) {
        const auto chunk = static_cast<UINT>(std::min<std::size_t>(n - total, UINT_MAX / 2));
        const UINT got = m_archive.Read(out + total, chunk);
        total += got;
        if (got < chunk)
            break;
    }
    m_position += total;
    return total;
}

bool ArchiveStream::Write(const void* buffer, std::size_t n) {
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    while (n > 0) {
        const auto chunk = static_cast<UINT>(std::min<std::size_t>(n, UINT_MAX / 2));
        m_archive.Write(in, chunk);
        in += chunk;
        n -= chunk;
        m_position += chunk;
    }
    return true;
}

std::int64_t ArchiveStream::Remaining() {
    return m_archive.IsLoading() ? static_cast<std::int64_t>(m_archive.GetBytesLeft()) : -1;
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

std::int64_t MemoryStream::Remaining() {
    const std::size_t end = m_in != nullptr ? m_size : m_out.size();
    return static_cast<std::int64_t>(m_pos >= end ? 0 : end - m_pos);
}

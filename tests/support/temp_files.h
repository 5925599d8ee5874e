// Test helpers: temporary files with given contents, the bytes that a
// storing archive writes, and a loading archive over given bytes.
//
// One implementation in brantel::test serves two spellings that the test
// programs use: afxtest (bytes as std::vector<BYTE>, lower-case names) and
// zelkortest (bytes as std::string, capitalised names).
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/afx.h"

namespace brantel::test {

// A temporary file below the test's temporary folder, removed when the
// object goes.
class TempFile {
public:
    explicit TempFile(const std::string& prefix = "brantel")
    {
        std::string pattern = ::testing::TempDir() + prefix + "_XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0)
            ::close(fd);
        m_path = pattern;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const char* path() const { return m_path.c_str(); }

    // Replaces the contents of the file with the given bytes.
    void writeBytes(const void* data, std::size_t size) const
    {
        CFile f(path(), CFile::modeCreate | CFile::modeWrite);
        if (size != 0)
            f.Write(data, static_cast<UINT>(size));
    }
    // The whole contents, in a byte container (std::string or std::vector).
    template <class Bytes>
    Bytes readBytes() const
    {
        CFile f(path(), CFile::modeRead);
        Bytes bytes(static_cast<std::size_t>(f.GetLength()), 0);
        if (!bytes.empty())
            f.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }

private:
    std::string m_path;
};

// The bytes that a storing archive writes.
template <class Bytes>
Bytes storeBytes(const std::function<void(CArchive&)>& body)
{
    TempFile tmp;
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        body(ar);
        ar.Close();
    }
    return tmp.readBytes<Bytes>();
}

// Runs a loading archive over the given bytes.
template <class Bytes>
void loadBytes(const Bytes& bytes, const std::function<void(CArchive&)>& body)
{
    TempFile tmp;
    tmp.writeBytes(bytes.data(), bytes.size());
    CFile f(tmp.path(), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    body(ar);
}

} // namespace brantel::test

namespace afxtest {

using Bytes = std::vector<BYTE>;

// A temporary file, empty at first.
class TempFile : public brantel::test::TempFile {
public:
    TempFile() : brantel::test::TempFile("afx") {}
    void write(const Bytes& bytes) const { writeBytes(bytes.data(), bytes.size()); }
    Bytes read() const { return readBytes<Bytes>(); }
};

inline Bytes storeBytes(const std::function<void(CArchive&)>& body)
{
    return brantel::test::storeBytes<Bytes>(body);
}

inline void loadBytes(const Bytes& bytes, const std::function<void(CArchive&)>& body)
{
    brantel::test::loadBytes(bytes, body);
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

} // namespace afxtest

namespace zelkortest {

// A temporary file holding the given contents.
class TempFile : public brantel::test::TempFile {
public:
    explicit TempFile(const std::string& contents = {}) : brantel::test::TempFile("zelkor")
    {
        Write(contents);
    }
    const char* Path() const { return path(); }
    void Write(const std::string& contents) const { writeBytes(contents.data(), contents.size()); }
    std::string Read() const { return readBytes<std::string>(); }
};

inline std::string StoreBytes(const std::function<void(CArchive&)>& body)
{
    return brantel::test::storeBytes<std::string>(body);
}

inline void LoadBytes(const std::string& bytes, const std::function<void(CArchive&)>& body)
{
    brantel::test::loadBytes(bytes, body);
}

// The text that body writes into a fresh file.
inline std::string WrittenText(const std::function<void(CFile*)>& body)
{
    TempFile tmp;
    {
        CFile f(tmp.Path(), CFile::modeCreate | CFile::modeWrite);
        body(&f);
    }
    return tmp.Read();
}

} // namespace zelkortest

// Test helpers: temporary files with given contents, and the bytes that an
// archive writes.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/afx/afx.h"

namespace zelkortest {

// A temporary file, removed when the object goes.
class TempFile {
public:
    explicit TempFile(const std::string& contents = {})
    {
        std::string pattern = ::testing::TempDir() + "zelkor_XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0)
            ::close(fd);
        m_path = pattern;
        Write(contents);
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const char* Path() const { return m_path.c_str(); }

    void Write(const std::string& contents) const
    {
        CFile f(Path(), CFile::modeCreate | CFile::modeWrite);
        if (!contents.empty())
            f.Write(contents.data(), static_cast<UINT>(contents.size()));
    }
    std::string Read() const
    {
        CFile f(Path(), CFile::modeRead);
        std::string bytes(static_cast<std::size_t>(f.GetLength()), '\0');
        if (!bytes.empty())
            f.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }

private:
    std::string m_path;
};

// The bytes that a storing archive writes.
inline std::string StoreBytes(const std::function<void(CArchive&)>& body)
{
    TempFile tmp;
    {
        CFile f(tmp.Path(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        body(ar);
        ar.Close();
    }
    return tmp.Read();
}

// Runs a loading archive over the given bytes.
inline void LoadBytes(const std::string& bytes, const std::function<void(CArchive&)>& body)
{
    TempFile tmp(bytes);
    CFile f(tmp.Path(), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    body(ar);
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

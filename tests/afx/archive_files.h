// Helpers of the archive tests: run an archive over a temporary file and
// get the bytes it wrote, or load from given bytes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/afx.h"

namespace afxtest
{

using Bytes = std::vector<BYTE>;

// A temporary file, removed when the object goes.
class TempFile
{
public:
    TempFile()
    {
        std::string pattern = ::testing::TempDir() + "afx_XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0)
            ::close(fd);
        m_path = pattern;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const char* path() const { return m_path.c_str(); }

    void write(const Bytes& bytes) const
    {
        CFile f(path(), CFile::modeCreate | CFile::modeWrite);
        if (!bytes.empty())
            f.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    }
    Bytes read() const
    {
        CFile f(path(), CFile::modeRead);
        Bytes bytes(static_cast<std::size_t>(f.GetLength()));
        if (!bytes.empty())
            f.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }

private:
    std::string m_path;
};

// The bytes that a storing archive writes.
inline Bytes storeBytes(const std::function<void(CArchive&)>& body)
{
    TempFile tmp;
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        body(ar);
        ar.Close();
    }
    return tmp.read();
}

// Runs a loading archive over the given bytes.
inline void loadBytes(const Bytes& bytes, const std::function<void(CArchive&)>& body)
{
    TempFile tmp;
    tmp.write(bytes);
    CFile f(tmp.path(), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    body(ar);
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

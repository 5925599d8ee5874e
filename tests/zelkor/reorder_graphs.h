// Test helpers for the DOF graph: small graphs built through the two element
// passes, a recorder of the library's messages, and a temporary script folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

#include <gtest/gtest.h>

#include "matrix/zelkor.h"
#include "tests/support/message_recorder.h"

namespace reordertest {

using Elements = std::vector<std::vector<LONG>>;

// Builds the graph of n DOFs from element DOF lists in the documented order.
inline void Build(CReorderMat& g, int n, const Elements& elements)
{
    g.Alloc(n);
    for (auto e : elements)
        g.InsertDOFs(e.data(), 0, static_cast<int>(e.size()));
    g.Init();
    for (auto e : elements)
        g.InsertDOFs(e.data(), 1, static_cast<int>(e.size()));
}

inline Elements Path(int n)
{
    Elements e;
    for (int v = 0; v + 1 < n; ++v)
        e.push_back({v, v + 1});
    return e;
}

inline Elements Star(int leaves)
{
    Elements e;
    for (int v = 1; v <= leaves; ++v)
        e.push_back({0, v});
    return e;
}

// Four-node elements on a grid of nx by ny vertices, numbered row by row.
inline Elements Grid(int nx, int ny)
{
    Elements e;
    for (int j = 0; j + 1 < ny; ++j) {
        for (int i = 0; i + 1 < nx; ++i) {
            const LONG a = j * nx + i;
            e.push_back({a, a + 1, a + nx + 1, a + nx});
        }
    }
    return e;
}

// The sorted neighbours of v.
inline std::vector<LONG> Neighbours(CReorderMat& g, int v)
{
    std::vector<LONG> r(g.GetRow(v), g.GetRow(v) + g.GetRowLength(v));
    std::sort(r.begin(), r.end());
    return r;
}

inline std::vector<LONG> Labels(CReorderMat& g)
{
    std::vector<LONG> l;
    for (int v = 0; v < g.GetRows(); ++v)
        l.push_back(g.f_v(v));
    return l;
}

inline bool IsPermutation(std::vector<LONG> l)
{
    std::sort(l.begin(), l.end());
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (l[i] != static_cast<LONG>(i))
            return false;
    }
    return true;
}

inline std::string ReadFile(const std::string& path)
{
    CFile f(path.c_str(), CFile::modeRead);
    std::string bytes(static_cast<std::size_t>(f.GetLength()), '\0');
    if (!bytes.empty())
        f.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// Records the messages the library shows while it lives; while a file is
// watched, every message also takes a copy of the file as it is then.
class Messages : public brantel::test::MessageRecorder {
public:
    int MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) override
    {
        if (!watched.empty())
            snapshots.push_back(ReadFile(watched));
        return MessageRecorder::MessageBox(text, caption, type);
    }

    std::string watched;
    std::vector<std::string> snapshots;
};

// Seeds the random source the heuristics draw from.
inline void SeedRandom(unsigned seed)
{
    AfxSrand(seed);
}

// Points the script folder at a fresh temporary folder for one test.
class ScriptFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_folder = std::filesystem::path(::testing::TempDir()) /
                   ("reorder_" + std::to_string(::getpid()) + "_" + name);
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_previous = CReorderMat::GetScriptFolder();
        CReorderMat::SetScriptFolder(CString(m_folder.string()));
    }
    void TearDown() override
    {
        CReorderMat::SetScriptFolder(m_previous);
        std::filesystem::remove_all(m_folder);
    }
    std::filesystem::path Script() const { return m_folder / "Reord.m"; }
    std::string ReadScript() const { return ReadFile(Script().string()); }

    std::filesystem::path m_folder;
    CString m_previous;
    Messages m_messages;
};

} // namespace reordertest

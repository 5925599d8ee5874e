#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/temp_files.h"

using afxtest::TempFile;

TEST(CFileTest, OpenFailuresReportTheCause)
{
    const std::string missing = ::testing::TempDir() + "afx_no_such_dir/file.bin";
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(missing.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, missing.c_str());
    EXPECT_FALSE(f.IsOpen());

    try {
        CFile g(missing.c_str(), CFile::modeCreate | CFile::modeWrite);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
    EXPECT_FALSE(f.Open(::testing::TempDir().c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
}

// The system says ELOOP for a link loop and for a chain of more than 40
// links alike; a reader names which it met.
TEST(CFileTest, OpenNamesALinkLoopAndALongChainOfLinks)
{
    std::string pattern = ::testing::TempDir() + "afx_links_XXXXXX";
    const std::string folder = ::mkdtemp(pattern.data());
    ASSERT_EQ(::symlink("loop2", (folder + "/loop1").c_str()), 0);
    ASSERT_EQ(::symlink("loop1", (folder + "/loop2").c_str()), 0);
    for (int i = 0; i < 41; ++i)
        ASSERT_EQ(::symlink(("chain" + std::to_string(i + 1)).c_str(), (folder + "/chain" + std::to_string(i)).c_str()),
                  0);
    std::FILE* end = std::fopen((folder + "/chain41").c_str(), "w");
    ASSERT_NE(end, nullptr);
    std::fclose(end);
    const struct {
        const char* name;
        const char* message; // "" when it opens
    } cases[] = {
        {"loop1", " contains a loop of symbolic links."},
        {"chain0", " contains more than 40 symbolic links."},
        {"chain1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "/" + c.name;
        CFile f;
        CFileException error;
        const bool opened = f.Open(path.c_str(), CFile::modeRead, &error);
        EXPECT_EQ(opened, *c.message == '\0');
        if (!opened) {
            EXPECT_EQ(std::string(error.GetErrorMessage()), path + c.message);
        }
    }
    for (const char* name : {"loop1", "loop2"})
        ::unlink((folder + "/" + name).c_str());
    for (int i = 0; i <= 41; ++i)
        ::unlink((folder + "/chain" + std::to_string(i)).c_str());
    ::rmdir(folder.c_str());
}

TEST(CFileTest, ReadWriteSeekAndTruncation)
{
    TempFile tmp;
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
        f.Write("0123456789", 10);
        EXPECT_EQ(f.GetLength(), 10u);
        EXPECT_EQ(f.GetPosition(), 10u);
        EXPECT_EQ(f.Seek(-4, CFile::end), 6u);
        char buf[8] = {};
        EXPECT_EQ(f.Read(buf, 8), 4u); // fewer bytes only at the end
        EXPECT_STREQ(buf, "6789");
        EXPECT_EQ(f.Read(buf, 8), 0u);
        EXPECT_EQ(f.Seek(2, CFile::begin), 2u);
        EXPECT_EQ(f.Seek(3, CFile::current), 5u);
        f.Close();
        EXPECT_FALSE(f.IsOpen());
    }
    {
        // modeNoTruncate keeps what is there.
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        EXPECT_EQ(f.GetLength(), 10u);
        f.SeekToEnd();
        f.Write("ab", 2);
        EXPECT_EQ(f.GetLength(), 12u);
    }
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(f.GetLength(), 0u);
    }
    CFile f(tmp.path(), CFile::modeRead);
    EXPECT_THROW(f.Seek(-1, CFile::begin), CFileException);
    EXPECT_THROW(f.Write("x", 1), CFileException);
    EXPECT_EQ(f.GetFileName(), CFile(tmp.path(), CFile::modeRead).GetFileName());
}

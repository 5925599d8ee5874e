#include <cstring>

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

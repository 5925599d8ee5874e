#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_files.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::TempFile;
using zelkortest::Values;
using zelkortest::Rest;

class SeekToTest : public zelkortest::LineEndTest {};

TEST_P(SeekToTest, FindsKeyOutsideComments)
{
    TempFile tmp(Text({"title", "! NODES are listed below", "   *NODES ! list", "1 2 3", "*END"}));
    CFile f(tmp.Path(), CFile::modeRead);
    CString mark("!");
    ASSERT_TRUE(SeekTo("nodes", f, &mark));
    EXPECT_EQ(Rest(f), Text({"1 2 3", "*END"}));

    // From the current position the next keyword is found after it...
    f.Seek(0, CFile::begin);
    ASSERT_TRUE(SeekTo("nodes", f, &mark));
    ASSERT_TRUE(SeekTo("end", f, nullptr, true));
    EXPECT_EQ(f.GetPosition(), f.GetLength());
    // ...and the search from the beginning finds the first one again.
    ASSERT_TRUE(SeekTo("title", f));
    EXPECT_EQ(Rest(f), Text({"! NODES are listed below", "   *NODES ! list", "1 2 3", "*END"}));
}

TEST_P(SeekToTest, MissingKeyLeavesThePosition)
{
    TempFile tmp(Text({"alpha", "beta", "gamma"}));
    CFile f(tmp.Path(), CFile::modeRead);
    f.Seek(3, CFile::begin);
    CString mark("!");
    EXPECT_FALSE(SeekTo("delta", f, &mark));
    EXPECT_EQ(f.GetPosition(), 3u);
    EXPECT_FALSE(SeekTo("delta", f, nullptr, true));
    EXPECT_EQ(f.GetPosition(), 3u);
    // "alpha" lies before the current position.
    f.Seek(6 + std::string(GetParam()).size() - 1, CFile::begin);
    ULONGLONG here = f.GetPosition();
    EXPECT_FALSE(SeekTo("alpha", f, nullptr, true));
    EXPECT_EQ(f.GetPosition(), here);
    f.SeekToEnd();
    EXPECT_FALSE(SeekTo("gamma", f, nullptr, true));
    EXPECT_EQ(f.GetPosition(), f.GetLength());
}

TEST_P(SeekToTest, ReplLineGivesTheLine)
{
    TempFile tmp(Text({"x", "  Matrix block # remark  ", "1 2"}));
    CFile f(tmp.Path(), CFile::modeRead);
    CString key("block");
    CString mark("#");
    ASSERT_TRUE(SeekTo_ReplLine(key, f, &mark));
    EXPECT_EQ(key, "MATRIX BLOCK ");
    EXPECT_EQ(Rest(f), Text({"1 2"}));

    CString missing("none");
    EXPECT_FALSE(SeekTo_ReplLine(missing, f));
    EXPECT_EQ(missing, "NONE");
}

TEST_P(SeekToTest, BeforeEndCountsOnlyLinesEndingByThen)
{
    // Two blocks; the second holds the key the first lacks.
    TempFile tmp(Text({"*start", "1 2", "*end", "*start", "*axes 3", "*end"}));
    CFile f(tmp.Path(), CFile::modeRead);
    const ULONGLONG eol = std::string(GetParam()).size();
    const ULONGLONG firstEnd = 3 * eol + 13;           // after the first "*end"
    const ULONGLONG axesEnd = firstEnd + 2 * eol + 13; // after "*axes 3"
    struct Case {
        const char* key;
        ULONGLONG end;
        bool fromCurrent;
        bool found;
        ULONGLONG after;
        const char* line; // the line a match gives back
    };
    const Case cases[] = {
        {"end", firstEnd, true, true, firstEnd, "*END"},
        {"end", firstEnd - 1, true, false, 0, "END"}, // the line reaches past end
        {"axes", firstEnd, true, false, 0, "AXES"},   // only in the next block
        {"axes", axesEnd, true, true, axesEnd, "*AXES 3"},
        {"axes", axesEnd, false, true, axesEnd, "*AXES 3"},
        {"start", 0, false, false, 0, "START"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " before " + std::to_string(c.end));
        f.Seek(0, CFile::begin);
        EXPECT_EQ(SeekToBefore(c.key, f, c.end, nullptr, c.fromCurrent), c.found);
        EXPECT_EQ(f.GetPosition(), c.after);
        f.Seek(0, CFile::begin);
        CString key(c.key);
        EXPECT_EQ(SeekTo_ReplLineBefore(key, f, c.end, nullptr, c.fromCurrent), c.found);
        EXPECT_EQ(f.GetPosition(), c.after);
        EXPECT_EQ(key, c.line);
    }
}

INSTANTIATE_TEST_SUITE_P(LineEnds, SeekToTest, ::testing::Values("\r\n", "\n"));

TEST(SeekTo, LastLineWithoutEndAndEmptyFile)
{
    TempFile tmp("a\r\nb\nkey");
    CFile f(tmp.Path(), CFile::modeRead);
    ASSERT_TRUE(SeekTo("KEY", f));
    EXPECT_EQ(f.GetPosition(), f.GetLength());
    ASSERT_TRUE(SeekTo("b", f));
    EXPECT_EQ(Rest(f), "key");

    TempFile empty;
    CFile e(empty.Path(), CFile::modeRead);
    EXPECT_FALSE(SeekTo("", e));
}

TEST(VectorText, WriteOneLine)
{
    CVector v(2, false, 0.0);
    v[0] = 1;
    v[1] = 2.5;
    EXPECT_EQ(zelkortest::WrittenText([&](CFile* f) {
                  v.WriteASCII(f, "", " ", 12, 4, 0, false, false);
                  v.WriteASCII(f, "<", ">", 10, 2, 1, false, false);
                  CVector().WriteASCII(f, "", " ", 12, 4, 0, false, false);
              }),
              "      1.0000       2.5000 \r\n"
              "<  1.00e+00><  2.50e+00>\r\n"
              "\r\n");
}

TEST(VectorText, ReadEveryNumberToTheEnd)
{
    TempFile tmp("header line\r\n1 2,5\r\n-3 pi\n\n4");
    CFile f(tmp.Path(), CFile::modeRead);
    ASSERT_TRUE(SeekTo("header", f));
    CVector v(7, true, 1.0);
    v.ReadASCII(&f);
    EXPECT_EQ(Values(v), (std::vector<double>{1, 2.5, -3, 3.141592653589793, 4}));

    TempFile none("no numbers\r\n");
    CFile g(none.Path(), CFile::modeRead);
    v.ReadASCII(&g);
    EXPECT_EQ(v.GetSize(), 0);
}

TEST(VectorText, WrittenTextReadsBack)
{
    CVector v(3, false, 0.0);
    v[0] = -1.25e-7;
    v[1] = 123456.5;
    v[2] = 0.1;
    TempFile tmp;
    {
        CFile f(tmp.Path(), CFile::modeCreate | CFile::modeWrite);
        v.WriteASCII(&f, "", "; ", 0, 17, 1, false, false);
    }
    CFile f(tmp.Path(), CFile::modeRead);
    CVector back;
    back.ReadASCII(&f);
    EXPECT_EQ(Values(back), Values(v));
}

} // namespace

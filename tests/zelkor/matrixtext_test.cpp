#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/temp_files.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::TempFile;
using zelkortest::WrittenText;
using zelkortest::Values;
using zelkortest::Rest;

CMatrix Sample()
{
    CMatrix m(2, 2, false, 0.0);
    m[0][0] = 1.5;
    m[0][1] = -2;
    m[1][0] = 3;
    m[1][1] = 4;
    return m;
}

TEST(MatrixExport, Styles)
{
    CMatrix m = Sample();
    auto write = [&](CString pre, CString post, int width, int precision, int style) {
        return WrittenText(
            [&](CFile* f) { m.WriteASCII(f, pre, post, width, precision, style, false, false); });
    };
    EXPECT_EQ(write("", "", 8, 2, 0), "    1.50   -2.00\r\n    3.00    4.00\r\n\r\n");
    EXPECT_EQ(write("", ";", 10, 1, 1), "   1.5e+00;  -2.0e+00;\r\n   3.0e+00;   4.0e+00;\r\n\r\n");
    EXPECT_EQ(write("[", "]", 5, 9, 2), "[  1.5][   -2]\r\n[    3][    4]\r\n\r\n");
    // An unknown style writes no rows.
    EXPECT_EQ(write("", "", 8, 2, 3), "\r\n");
}

TEST(MatrixExport, RowNumbersAndHeader)
{
    CMatrix m = Sample();
    std::string text = WrittenText([&](CFile* f) { m.WriteASCII(f, "", "", 8, 2, 0, true, true); });
    EXPECT_EQ(text, "\r\n"
                    "       "
                    "       1       2\r\n"
                    "     1     1.50   -2.00\r\n"
                    "     2     3.00    4.00\r\n"
                    "\r\n");
    text = WrittenText([&](CFile* f) { m.WriteASCII(f, "", "", 4, 0, 2, true, false); });
    EXPECT_EQ(text, "   1  1.5  -2\r\n   2    3   4\r\n\r\n");

    // Without rows the block still closes after the header.
    CMatrix empty;
    text = WrittenText([&](CFile* f) { empty.WriteASCII(f, "", "", 8, 2, 0, true, true); });
    EXPECT_EQ(text, "\r\n       \r\n\r\n");
}

class MatrixImport : public zelkortest::LineEndTest {};

TEST_P(MatrixImport, FromCurrentPositionStopsAtTheFirstLineWithoutNumber)
{
    TempFile tmp(Text({"skipped 9", "1 2 3", "4 5", "", "a text line", "6"}));
    CFile f(tmp.Path(), CFile::modeRead);
    f.Seek(static_cast<LONGLONG>(std::string("skipped 9").size() + std::strlen(GetParam())),
           CFile::begin);
    CMatrix m(1, 1, true, 7.0);
    m.ReadASCII(&f);
    ASSERT_EQ(m.GetRows(), 2);
    ASSERT_EQ(m.GetColumns(), 3);
    EXPECT_EQ(Values(m), (std::vector<double>{1, 2, 3, 4, 5, 0}));
    // The file stands just after the last data line, whatever the line ends.
    EXPECT_EQ(Rest(f), Text({"", "a text line", "6"}));
}

TEST_P(MatrixImport, FromCurrentPositionEdgeCases)
{
    // Word constants, decimal commas and a last line without a line end.
    TempFile tmp(Text({"pi 2,5", "-i2"}) + "1e2");
    CFile f(tmp.Path(), CFile::modeRead);
    CMatrix m;
    m.ReadASCII(&f);
    ASSERT_EQ(m.GetRows(), 3);
    EXPECT_EQ(Values(m), (std::vector<double>{3.141592653589793, 2.5, 0, 0, -1, 0, 100, 0, 0}));
    EXPECT_EQ(f.GetPosition(), f.GetLength());

    // No data line: an empty matrix, the file where it was.
    tmp.Write(Text({"no numbers", "1 2"}));
    CFile g(tmp.Path(), CFile::modeRead);
    m.ReadASCII(&g);
    EXPECT_EQ(m.GetRows(), 0);
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(g.GetPosition(), 0u);
}

TEST_P(MatrixImport, KeywordBlockWithComments)
{
    TempFile tmp(Text({"title 12", "Matrix ! the numbers", "1 2 ! remark 3", "   ",
                       "! a comment line 5", "3,5 4 5", "end of it", "after 8"}));
    for (const char* key : {"MATRIX", "matrix", "mAtRiX"}) {
        CFile f(tmp.Path(), CFile::modeRead);
        CMatrix m;
        m.ReadASCII(&f, key, "End", "!");
        ASSERT_EQ(m.GetRows(), 2) << key;
        ASSERT_EQ(m.GetColumns(), 3);
        EXPECT_EQ(Values(m), (std::vector<double>{1, 2, 0, 3.5, 4, 5}));
        EXPECT_EQ(Rest(f), Text({"after 8"}));
        // A following search continues from there.
        f.Seek(-static_cast<LONGLONG>(Text({"after 8"}).size()), CFile::end);
        EXPECT_FALSE(SeekTo("numbers", f, nullptr, true));
        EXPECT_TRUE(SeekTo("after", f, nullptr, true));
    }
}

TEST_P(MatrixImport, KeywordBlockReadsEveryDataLine)
{
    // Data lines that begin like the start key are data; only a line that
    // holds the start key opens a nested block, passed over up to its end.
    TempFile tmp(Text({"2D block", "2 3", "22 1", "2D nested", "9 9", "END", "5 6", "END", "7"}));
    CFile f(tmp.Path(), CFile::modeRead);
    CMatrix m;
    m.ReadASCII(&f, "2d", "end", "");
    EXPECT_EQ(m.GetRows(), 3);
    EXPECT_EQ(Values(m), (std::vector<double>{2, 3, 22, 1, 5, 6}));
    EXPECT_EQ(Rest(f), Text({"7"}));

    tmp.Write(Text({"PLATE", "pi 1", "M 7 8", "1 2 ! 3", "END"}));
    CFile g(tmp.Path(), CFile::modeRead);
    m.ReadASCII(&g, "plate", "end", "");
    EXPECT_EQ(m.GetRows(), 3);
    EXPECT_EQ(Values(m), (std::vector<double>{3.141592653589793, 1, 0, 7, 8, 0, 1, 2, 3}));
}

TEST_P(MatrixImport, KeywordBlockEnds)
{
    // Without an end key the block ends at the first line without a number,
    // which is consumed.
    TempFile tmp(Text({"MATRIX", "1 2", "no numbers", "3 4"}));
    CFile f(tmp.Path(), CFile::modeRead);
    CMatrix m;
    m.ReadASCII(&f, "matrix", "", "");
    EXPECT_EQ(Values(m), (std::vector<double>{1, 2}));
    EXPECT_EQ(Rest(f), Text({"3 4"}));

    // The end of the file ends the block too.
    tmp.Write(Text({"MATRIX", "1", "2 3"}));
    CFile g(tmp.Path(), CFile::modeRead);
    m.ReadASCII(&g, "matrix", "end", "!");
    EXPECT_EQ(Values(m), (std::vector<double>{1, 0, 2, 3}));
    EXPECT_EQ(g.GetPosition(), g.GetLength());
}

TEST_P(MatrixImport, MissingStartKeyChangesNothing)
{
    TempFile tmp(Text({"one 1", "two 2", "three 3"}));
    CFile f(tmp.Path(), CFile::modeRead);
    f.Seek(3, CFile::begin);
    CMatrix m(1, 2, true, 4.0);
    m.ReadASCII(&f, "four", "end", "!");
    EXPECT_EQ(f.GetPosition(), 3u);
    EXPECT_EQ(m.GetRows(), 1);
    EXPECT_EQ(Values(m), (std::vector<double>{4, 4}));
    // Only the lines from the current position on are searched.
    f.Seek(10, CFile::begin);
    m.ReadASCII(&f, "one", "end", "");
    EXPECT_EQ(f.GetPosition(), 10u);
    EXPECT_EQ(Values(m), (std::vector<double>{4, 4}));
}

TEST_P(MatrixImport, RaggedRowsBeyondTheTextAreRefused)
{
    // Many one-number rows and one long row: zero-filled, the matrix would
    // need 2000 x 2000 entries for 8 KB of text.
    std::string lines = "MATRIX";
    lines += GetParam();
    for (int i = 0; i < 1999; ++i)
        lines += std::string("1") + GetParam();
    for (int j = 0; j < 2000; ++j)
        lines += "2 ";
    lines += GetParam();
    lines += std::string("END") + GetParam();
    TempFile tmp(lines);
    for (bool block : {false, true}) {
        CFile f(tmp.Path(), CFile::modeRead);
        const ULONGLONG origin = 6 + std::strlen(GetParam());
        f.Seek(block ? 0 : static_cast<LONGLONG>(origin), CFile::begin);
        CMatrix m(1, 2, true, 4.0);
        EXPECT_THROW(block ? m.ReadASCII(&f, "matrix", "end", "") : m.ReadASCII(&f),
                     CArchiveException) << block;
        // Nothing lost: the matrix as it was, the file where the rows begin.
        EXPECT_EQ(Values(m), (std::vector<double>{4, 4}));
        EXPECT_EQ(f.GetPosition(), origin);
    }

    // A lower triangle written in full is ragged too, and is read.
    std::string triangle;
    for (int i = 1; i <= 60; ++i) {
        for (int j = 0; j < i; ++j)
            triangle += "7 ";
        triangle += GetParam();
    }
    tmp.Write(triangle);
    CFile g(tmp.Path(), CFile::modeRead);
    CMatrix t;
    t.ReadASCII(&g);
    EXPECT_EQ(t.GetRows(), 60);
    EXPECT_EQ(t.GetColumns(), 60);
    EXPECT_EQ(t.GetValue(59, 59), 7.0);
    EXPECT_EQ(t.GetValue(0, 1), 0.0);
}

TEST_P(MatrixImport, KeywordSearchThroughTheMatrixRoot)
{
    TempFile tmp(Text({"a", "*NODES", "1"}));
    CFile f(tmp.Path(), CFile::modeRead);
    CString key("nodes");
    EXPECT_TRUE(CVirtMat::SeekTo_ReplLine(key, &f));
    EXPECT_EQ(key, "*NODES");
    EXPECT_EQ(Rest(f), Text({"1"}));
    EXPECT_TRUE(CVirtMat::SeekTo("a", f));
    EXPECT_FALSE(CVirtMat::SeekTo("a", static_cast<CFile*>(nullptr)));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, MatrixImport, ::testing::Values("\r\n", "\n"),
                         [](const auto& info) {
                             return std::string(info.param) == "\n" ? "LF" : "CRLF";
                         });

TEST(MatrixText, ExportReadsBack)
{
    CMatrix m(3, 4, false, 0.0);
    for (int k = 0; k < 12; ++k)
        m.GetVector()[k] = (k - 5) * 0.37;
    TempFile tmp;
    {
        CFile f(tmp.Path(), CFile::modeCreate | CFile::modeReadWrite);
        m.WriteASCII(&f, "", " ", 12, 6, 1, false, false);
        f.SeekToBegin();
        CMatrix back;
        back.ReadASCII(&f);
        ASSERT_EQ(back.GetRows(), 3);
        for (int k = 0; k < 12; ++k)
            EXPECT_NEAR(back.GetVector()[k], m.GetVector()[k], 1e-6);
    }
}

} // namespace

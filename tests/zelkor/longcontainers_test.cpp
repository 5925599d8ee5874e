#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_files.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::LoadBytes;
using zelkortest::StoreBytes;
using zelkortest::WrittenText;
using zelkortest::Int32;

std::string Int32s(std::initializer_list<LONG> values)
{
    std::string out;
    for (LONG v : values)
        out += Int32(v);
    return out;
}

CLongVector MakeVector(std::initializer_list<LONG> values)
{
    CLongVector v;
    v.Allocate(static_cast<int>(values.size()), false, 0);
    int i = 0;
    for (LONG x : values)
        v[i++] = x;
    return v;
}

std::vector<LONG> Values(const CLongVector& v)
{
    return std::vector<LONG>(v.GetVector(), v.GetVector() + v.GetSize());
}

// A rows x cols matrix holding 1, 2, 3 ... row by row.
void Count(CLongMatrix& m, int rows, int cols)
{
    m.Allocate(rows, cols, false, 0);
    for (int k = 0; k < rows * cols; ++k)
        m.GetVector()[k] = k + 1;
}

TEST(LongVectorArchive, LayoutAndFormatWord)
{
    CLongVector v = MakeVector({7, -2});
    std::string bytes = StoreBytes([&](CArchive& ar) { v.Serialize(ar); });
    EXPECT_EQ(bytes, Int32s({2, 1, 7, -2}));

    // Whatever the second word holds, loading ignores it.
    CLongVector back = MakeVector({1, 2, 3});
    LoadBytes(Int32s({2, 12345, 7, -2}), [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(Values(back), (std::vector<LONG>{7, -2}));

    CLongVector empty;
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { empty.Serialize(ar); }), Int32s({0, 1}));
    LoadBytes(Int32s({0, 1}), [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetSize(), 0);
    EXPECT_EQ(back.GetVector(), nullptr);
}

TEST(LongMatrixArchive, LayoutRowByRow)
{
    CLongMatrix m;
    Count(m, 2, 3);
    std::string bytes = StoreBytes([&](CArchive& ar) { m.Serialize(ar); });
    EXPECT_EQ(bytes, Int32s({2, 3, 1, 2, 3, 4, 5, 6}));

    CLongMatrix back;
    back.Allocate(5, 5, true, 9);
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetRows(), 2);
    ASSERT_EQ(back.GetColumns(), 3);
    EXPECT_EQ(back[1][0], 4);
    EXPECT_EQ(back.GetValue(1, 2), 6);

    // A shape with no entries has no values behind it.
    LoadBytes(Int32s({4, 0}), [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetRows(), 4);
    EXPECT_EQ(back.GetColumns(), 0);
    EXPECT_EQ(back.GetVector(), nullptr);
}

TEST(LongArchive, ImpossibleCountsAreRefusedBeforeAllocating)
{
    const std::string vectors[] = {
        Int32s({-1, 1}),
        Int32s({0x7FFFFFFF, 1, 5}),
        Int32s({3, 1, 5, 6}),
        Int32s({2}),
    };
    for (const std::string& bytes : vectors) {
        CLongVector v = MakeVector({4, 5});
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { v.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(Values(v), (std::vector<LONG>{4, 5}));
    }
    const std::string matrices[] = {
        Int32s({-2, 3}),
        Int32s({2, -3}),
        Int32s({0x10000, 0x10000, 1}),
        Int32s({2, 2, 1, 2, 3}),
    };
    for (const std::string& bytes : matrices) {
        CLongMatrix m;
        Count(m, 1, 2);
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { m.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(m.GetRows(), 1);
        EXPECT_EQ(m.GetColumns(), 2);
        EXPECT_EQ(m[0][1], 2);
    }
}

TEST(LongContainers, AllocateReportsMissingArrays)
{
    CLongVector v = MakeVector({1, 2, 3});
    EXPECT_FALSE(v.Allocate(0, true, 1));
    EXPECT_EQ(v.GetVector(), nullptr);
    EXPECT_FALSE(v.Allocate(-4, true, 1));
    EXPECT_EQ(v.GetSize(), -4);
    EXPECT_EQ(v.GetVector(), nullptr);
    EXPECT_TRUE(v.Allocate(3, true, -7));
    EXPECT_EQ(Values(v), (std::vector<LONG>{-7, -7, -7}));

    CLongMatrix m;
    Count(m, 2, 2);
    EXPECT_FALSE(m.Allocate(3, 0, true, 1));
    EXPECT_EQ(m.GetRows(), 3);
    EXPECT_EQ(m.GetColumns(), 0);
    EXPECT_EQ(m.GetVector(), nullptr);
    EXPECT_FALSE(m.Allocate(0, 5, true, 1));
    EXPECT_EQ(m.GetRows(), 0);
    EXPECT_EQ(m.GetColumns(), 5);
    // Too many entries for the index range: no array, but the counts stand.
    EXPECT_FALSE(m.Allocate(0x10000, 0x10000, false, 0));
    EXPECT_EQ(m.GetVector(), nullptr);
    // Such a matrix archives as an empty one.
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { m.Serialize(ar); }), Int32s({0, 0}));
}

TEST(LongContainers, AllocateFromDimensionLists)
{
    struct Case {
        std::vector<int> dims;
        int rows, cols;
        bool filled;
        LONG value;
    };
    const Case cases[] = {
        {{3}, 3, 3, true, 0},
        {{2, 4}, 2, 4, true, 0},
        {{2, 4, 1}, 2, 4, true, 0},
        {{2, 4, 1, -5}, 2, 4, true, -5},
        {{2, 4, 0, -5}, 2, 4, false, 0},
    };
    for (const Case& c : cases) {
        CLongMatrix m;
        std::vector<int> dims = c.dims;
        EXPECT_TRUE(m.Allocate(dims.data(), static_cast<int>(dims.size())));
        EXPECT_EQ(m.GetRows(), c.rows);
        EXPECT_EQ(m.GetColumns(), c.cols);
        if (c.filled) {
            for (int k = 0; k < c.rows * c.cols; ++k)
                EXPECT_EQ(m.GetVector()[k], c.value);
        }
    }
    CLongVector v;
    int dims[] = {3, 1, 8};
    EXPECT_TRUE(v.Allocate(dims, 3));
    EXPECT_EQ(Values(v), (std::vector<LONG>{8, 8, 8}));
    EXPECT_TRUE(v.Allocate(dims, 1));
    EXPECT_EQ(Values(v), (std::vector<LONG>{0, 0, 0}));
}

TEST(LongContainers, SearchesAndArithmetic)
{
    CLongMatrix m;
    m.Allocate(3, 2, false, 0);
    const LONG rows[3][2] = {{1, 5}, {5, 2}, {3, 5}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            m[i][j] = rows[i][j];
    EXPECT_EQ(m.FindInCol(1, 5), 2);
    EXPECT_EQ(m.FindInCol(1, 5, 1), 2);
    EXPECT_EQ(m.FindInCol(1, 2, 2), -1);
    EXPECT_EQ(m.FindInCol(0, 5), 1);
    EXPECT_EQ(m.FindInCol(0, 4), -1);
    EXPECT_EQ(m.FindInRow(1, 5), 0);
    EXPECT_EQ(m.FindInRow(1, 2), 1);
    EXPECT_EQ(m.FindInRow(2, 1), -1);

    CLongMatrix copy(m);
    copy += 10;
    EXPECT_EQ(copy[2][1], 15);
    EXPECT_EQ(m[2][1], 5);
    m = copy;
    EXPECT_EQ(m[0][0], 11);
    m = static_cast<LONG>(4);
    EXPECT_EQ(m.FindInRow(2, 4), 0);

    CLongVector v = MakeVector({3, 9, 9});
    EXPECT_EQ(v.Find(9), 1);
    EXPECT_EQ(v.Find(4), -1);
    EXPECT_EQ(CLongVector().Find(0), -1);
    CLongVector w(v);
    w += -3;
    EXPECT_EQ(Values(w), (std::vector<LONG>{0, 6, 6}));
    EXPECT_EQ(Values(v), (std::vector<LONG>{3, 9, 9}));
    w = v;
    w = w;
    EXPECT_EQ(Values(w), Values(v));
}

TEST(LongMatrix, PointerMatrixGivesRowOffsets)
{
    CLongMatrix m;
    Count(m, 3, 4);
    CLongMatrix out;
    m.GetPointerMat(out, 1);
    ASSERT_EQ(out.GetRows(), 4);
    ASSERT_EQ(out.GetColumns(), 1);
    EXPECT_EQ(std::vector<LONG>(out.GetVector(), out.GetVector() + 4),
              (std::vector<LONG>{1, 5, 9, 13}));
    // Into itself: the shape is taken before the array is replaced.
    m.GetPointerMat(m, 0);
    EXPECT_EQ(std::vector<LONG>(m.GetVector(), m.GetVector() + 4),
              (std::vector<LONG>{0, 4, 8, 12}));
}

TEST(LongVectorText, GroupedLines)
{
    CLongVector v = MakeVector({10, 20, 30});
    CLongVector starts = MakeVector({0, 2, 3});
    auto write = [&](CString pre, CString post, bool header, bool numbered) {
        return WrittenText(
            [&](CFile* f) { v.WriteASCII(f, pre, post, 3, starts, header, numbered); });
    };
    EXPECT_EQ(write("", "", false, true), "  1 10 20\r\n  2 30\r\n");
    EXPECT_EQ(write("", "", false, false), " 10 20\r\n 30\r\n");
    EXPECT_EQ(write("", "", true, true), "     1  2\r\n  1 10 20\r\n  2 30\r\n");
    EXPECT_EQ(write("[", "]", true, false), "[  1][  2]\r\n[ 10][ 20]\r\n[ 30]\r\n");

    // An empty group gives an empty line.
    CLongVector gaps = MakeVector({0, 0, 3});
    EXPECT_EQ(WrittenText([&](CFile* f) { v.WriteASCII(f, "", "", 3, gaps, false, true); }),
              "\r\n  2 10 20 30\r\n");
}

TEST(LongVectorText, LinesAndOneLine)
{
    CLongVector v = MakeVector({-5, 120});
    auto write = [&](bool numbered, bool oneLine) {
        return WrittenText([&](CFile* f) { v.WriteASCII(f, "<", ">", 4, numbered, oneLine); });
    };
    EXPECT_EQ(write(false, false), "<  -5>\r\n< 120>\r\n");
    EXPECT_EQ(write(true, false), "   1<  -5>\r\n   2< 120>\r\n");
    EXPECT_EQ(write(false, true), "<  -5>< 120>\r\n");
    EXPECT_EQ(write(true, true), "<   1><   2>\r\n<  -5>< 120>\r\n");
    // Values are 32-bit numbers.
    CLongVector big = MakeVector({-2147483647 - 1});
    EXPECT_EQ(WrittenText([&](CFile* f) { big.WriteASCII(f, "", "", 1, false, false); }),
              "-2147483648\r\n");
}

TEST(LongMatrixText, RealNumbersWithNumbersAndHeader)
{
    CLongMatrix m;
    Count(m, 2, 2);
    m[1][1] = -40;
    auto write = [&](bool bExp, bool numbered, bool header) {
        return WrittenText(
            [&](CFile* f) { m.WriteASCII(f, "", "", 8, 2, bExp, numbered, header); });
    };
    EXPECT_EQ(write(false, false, false), "    1.00    2.00\r\n    3.00  -40.00\r\n\r\n");
    EXPECT_EQ(write(false, true, true),
              "       " "       1       2\r\n"
              "     1     1.00    2.00\r\n"
              "     2     3.00  -40.00\r\n\r\n");
    EXPECT_EQ(write(true, false, false), "1.00e+002.00e+00\r\n3.00e+00-4.00e+01\r\n\r\n");

    // A matrix without entries writes nothing.
    CLongMatrix empty;
    empty.Allocate(2, 0, false, 0);
    EXPECT_EQ(WrittenText([&](CFile* f) { empty.WriteASCII(f, "", "", 8, 2, false, true, true); }),
              "");
}

} // namespace

#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every number text of a line, in reading order.
std::vector<std::string> Tokens(const char* text)
{
    std::vector<std::string> out;
    CString line(text);
    int pos = 0;
    CString number;
    for (;;) {
        CVirtMat::ReadNumber(pos, line, number);
        if (number.IsEmpty())
            break;
        out.push_back(number.str());
        if (out.size() > 50)
            break;
    }
    EXPECT_EQ(pos, line.GetLength()) << text;
    return out;
}

std::vector<double> Values(const char* line)
{
    std::vector<double> out;
    for (const std::string& t : Tokens(line))
        out.push_back(AfxStrToD(t.c_str()));
    return out;
}

TEST(ReadNumber, TokenTexts)
{
    EXPECT_EQ(Tokens("1.5; 2e-3 x4"), (std::vector<std::string>{"1.5", "2e-3", "4"}));
    EXPECT_EQ(Tokens("3,25"), (std::vector<std::string>{"3.25"}));
    EXPECT_EQ(Tokens("1.5, 2"), (std::vector<std::string>{"1.5.", "2"}));
    EXPECT_EQ(Tokens("-.5"), (std::vector<std::string>{"-0.5"}));
    EXPECT_EQ(Tokens("+,25"), (std::vector<std::string>{"+0.25"}));
    EXPECT_EQ(Tokens(".5"), (std::vector<std::string>{"0.5"}));
    EXPECT_TRUE(Tokens("").empty());
    EXPECT_TRUE(Tokens("no numbers here").empty());
}

TEST(ReadNumber, ValueTable)
{
    const double pi = 3.141592653589793;
    struct Case {
        const char* line;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"1 , 2", {1, 2}},
        {"1 ,2", {1, 2}},
        {"-.5", {-0.5}},
        {"2 pi", {2, pi}},
        {"2 PI Pi", {2, pi, pi}},
        {"2pi", {2}},
        {"-i2", {0, -1, 0}},
        {"-i1", {-1, 0, 0}},
        {"i3", {0, 0, 1}},
        {"I3 -I3", {0, 0, 1, 0, 0, -1}},
        {"i2 i1", {0, 1, 0, 1, 0, 0}},
        {"i3\ti2 i3", {0, 0, 1, 0, 1, 0, 0, 0, 1}},
        {"g", {9.81}},
        {"2 G", {2, 9.81}},
        {"x=g", {}},
        {"1-2 1.2.3", {1, 1.2}},
        {"7e400", {HUGE_VAL}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Values(c.line), c.values) << c.line;
}

TEST(ReadNumber, ReplacesOnlyFromThePosition)
{
    CString line("pi 1 pi");
    int pos = 3;
    CString number;
    CVirtMat::ReadNumber(pos, line, number);
    EXPECT_EQ(number, "1");
    EXPECT_EQ(line.Left(3), "pi ");
    CVirtMat::ReadNumber(pos, line, number);
    EXPECT_EQ(number, "3.141592653589793");

    CString words("g i1 x");
    CVirtMat::ReplaceIs(words, 2);
    CVirtMat::ReplaceGravity(words, 0);
    EXPECT_EQ(words, "9.81 1 0 0 x");
}

TEST(ReadNumber, LineNumbersReplaceOnceAndGiveTheSameTexts)
{
    // Words that stand alone only through a neighbour, minus signs taken
    // into a unit vector, and forms met early and late in the line.
    const char* lines[] = {
        "pi-g",   "g-i2",    "-i3-i2", "i2-i2 pig", "PI pi pi Pi", "x pi 1,5 -.5 i1",
        "g g g",  "Gi1 i1G", "",       "2pi -g",    "1-2 1.2.3",   "i3\ti2 i3",
    };
    for (const char* text : lines) {
        std::vector<std::string> once;
        zelkor::LineNumbers numbers(text);
        std::string number;
        while (numbers.Next(number))
            once.push_back(number);
        EXPECT_EQ(once, Tokens(text)) << text;
    }

    // A long line of words: every one replaced (the passes rebuild the line
    // once rather than shifting its tail at each word).
    std::string line;
    for (int i = 0; i < 20000; ++i)
        line += i % 2 ? "pi " : "-i2 ";
    zelkor::LineNumbers numbers(line);
    std::string number;
    int count = 0;
    double sum = 0.0;
    while (numbers.Next(number)) {
        ++count;
        sum += AfxStrToD(number.c_str());
    }
    EXPECT_EQ(count, 10000 * 3 + 10000);
    EXPECT_NEAR(sum, 10000 * (3.141592653589793 - 1.0), 1e-6);
}

// A source that hands out the text in segments of at most 'segment' bytes.
zelkor::LineScanner::Source StringSource(const std::string& text, std::size_t segment)
{
    auto pos = std::make_shared<std::size_t>(0);
    return [text, segment, pos](char* buffer, std::size_t n) {
        std::size_t k = std::min({n, segment, text.size() - *pos});
        text.copy(buffer, k, *pos);
        *pos += k;
        return k;
    };
}

TEST(LineScanner, CountsConsumedBytesForEveryLineEnd)
{
    const std::string text = "ab\r\ncd\n\r\nlast";
    for (std::size_t segment : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
        zelkor::LineScanner scanner(StringSource(text, segment));
        std::string line;
        ASSERT_TRUE(scanner.ReadLine(line));
        EXPECT_EQ(line, "ab");
        EXPECT_EQ(scanner.Consumed(), 4u);
        ASSERT_TRUE(scanner.ReadLine(line));
        EXPECT_EQ(line, "cd");
        EXPECT_EQ(scanner.Consumed(), 7u);
        ASSERT_TRUE(scanner.ReadLine(line));
        EXPECT_EQ(line, "");
        EXPECT_EQ(scanner.Consumed(), 9u);
        ASSERT_TRUE(scanner.ReadLine(line));
        EXPECT_EQ(line, "last");
        EXPECT_EQ(scanner.Consumed(), text.size());
        EXPECT_FALSE(scanner.ReadLine(line));
    }
}

TEST(LineScanner, CrLfSplitAcrossBufferRefill)
{
    std::string text(4095, 'x');
    text += "\r\nnext\n";
    zelkor::LineScanner scanner(StringSource(text, 4096));
    std::string line;
    ASSERT_TRUE(scanner.ReadLine(line));
    EXPECT_EQ(line.size(), 4095u);
    EXPECT_EQ(scanner.Consumed(), 4097u);
    ASSERT_TRUE(scanner.ReadLine(line));
    EXPECT_EQ(line, "next");
    EXPECT_FALSE(scanner.ReadLine(line));
}

} // namespace

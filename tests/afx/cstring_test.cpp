#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/afx/afx.h"

TEST(CStringTest, PartsSearchesAndEdits)
{
    struct Case {
        const char* name;
        std::function<CString()> op;
        const char* expected;
    };
    const CString s("  Hello, World \t");
    const Case cases[] = {
        {"Mid", [&] { return s.Mid(2, 5); }, "Hello"},
        {"Mid to end", [&] { return s.Mid(9); }, "World \t"},
        {"Mid clamped", [&] { return s.Mid(-3, 100); }, "  Hello, World \t"},
        {"Mid past end", [&] { return s.Mid(50, 2); }, ""},
        {"Left", [&] { return s.Left(4); }, "  He"},
        {"Left negative", [&] { return s.Left(-1); }, ""},
        {"Right", [&] { return s.Right(3); }, "d \t"},
        {"Right too long", [&] { return CString("ab").Right(5); }, "ab"},
        {"Trim", [&] { return CString(s).Trim(); }, "Hello, World"},
        {"TrimLeft", [&] { return CString(s).TrimLeft(); }, "Hello, World \t"},
        {"TrimRight chars", [] { return CString("x--+").TrimRight("+-"); }, "x"},
        {"TrimLeft char", [] { return CString("000120").TrimLeft('0'); }, "120"},
        {"TrimRight all", [] { return CString("   ").TrimRight(); }, ""},
        {"MakeUpper", [] { return CString("a1b,c").MakeUpper(); }, "A1B,C"},
        {"MakeLower", [] { return CString("NoDes").MakeLower(); }, "nodes"},
        {"SpanIncluding", [] { return CString("123abc").SpanIncluding("0123456789"); }, "123"},
        {"SpanExcluding", [] { return CString("key=value").SpanExcluding("=;"); }, "key"},
        {"Format",
         [] {
             CString t;
             t.Format("%u m %2.2f s|%-4s|%05d|%e", 3u, 7.256, "ab", -42, 0.5);
             return t;
         },
         "3 m 7.26 s|ab  |-0042|5.000000e-01"},
        {"Format long text",
         [] {
             CString t;
             t.Format("%s%s", std::string(300, 'a').c_str(), "!");
             return t.Right(2);
         },
         "a!"},
        {"concatenation", [] { return CString("a") + "b" + 'c' + CString("d"); }, "abcd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.op().str(), std::string(c.expected)) << c.name;

    EXPECT_EQ(s.Find('o'), 6);
    EXPECT_EQ(s.Find('o', 7), 10);
    EXPECT_EQ(s.Find("World"), 9);
    EXPECT_EQ(s.Find("World", 10), -1);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.Find('H', 99), -1);
    EXPECT_EQ(s.ReverseFind('o'), 10);
    EXPECT_EQ(s.FindOneOf(",W"), 7);

    CString e("a-b-c");
    EXPECT_EQ(e.Replace("-", "--"), 2);
    EXPECT_EQ(e, "a--b--c");
    EXPECT_EQ(e.Remove('-'), 4);
    EXPECT_EQ(e.Insert(1, "XY"), 5);
    EXPECT_EQ(e.Delete(1, 2), 3);
    EXPECT_EQ(e, "abc");
    char* buf = e.GetBuffer(10);
    std::snprintf(buf, 11, "%s", "hi");
    e.ReleaseBuffer();
    EXPECT_EQ(e.GetLength(), 2);
}

TEST(CStringTest, Comparisons)
{
    const CString abc("abc");
    EXPECT_TRUE(abc == "abc");
    EXPECT_TRUE("abc" == abc);
    EXPECT_TRUE(abc != CString("abd"));
    EXPECT_TRUE(abc < "abd");
    EXPECT_TRUE("abb" < abc);
    EXPECT_TRUE(abc >= "abc");
    EXPECT_EQ(abc.CompareNoCase("ABC"), 0);
    EXPECT_LT(abc.CompareNoCase("ABD"), 0);
    EXPECT_GT(abc.Compare("ab"), 0);
    EXPECT_EQ(abc[1], 'b');
    EXPECT_EQ(abc.GetAt(2), 'c');
    EXPECT_STREQ(static_cast<LPCTSTR>(abc), "abc");
}

namespace
{

// Switches the process to a locale with a decimal comma: an installed one,
// or one compiled into a temporary folder from the system's locale sources.
// Null when neither can be had.
const char* useCommaLocale(const std::string& folder)
{
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"};
    for (const char* name : candidates)
        if (const char* set = std::setlocale(LC_ALL, name))
            return set;
    if (::access("/usr/share/i18n/locales/de_DE", R_OK) != 0 ||
        ::access("/usr/bin/localedef", X_OK) != 0)
        return nullptr;
    const std::string cmd =
        "/usr/bin/localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0)
        return nullptr;
    ::setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8");
}

} // namespace

// A toolkit may switch the process to the user's locale; numbers must keep
// the "." all the same.
TEST(NumberConversionTest, IgnoresTheUserLocale)
{
    std::string folder = ::testing::TempDir() + "afx_locale_XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const char* set = useCommaLocale(folder);
    char plain[32];
    std::snprintf(plain, sizeof plain, "%.2f", 1.5);
    CString t;
    t.Format("%.2f", 1.5);
    const double parsed = AfxAtoF("2.75");
    char* end = nullptr;
    const double strtod = AfxStrToD("1e-3x", &end);
    const std::string formatted = AfxFormat("%g", 0.25);
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
    std::system(("rm -rf '" + folder + "'").c_str());

    EXPECT_EQ(t, "1.50");
    EXPECT_EQ(parsed, 2.75);
    EXPECT_EQ(strtod, 1e-3);
    EXPECT_STREQ(end, "x");
    EXPECT_EQ(formatted, "0.25");
    if (!set)
        GTEST_SKIP() << "no locale with a decimal comma could be set";
    EXPECT_STREQ(plain, "1,50"); // the locale really was in force
}

// Text services of printed pages: escapes, superscript units, month names
// and the user's decimal point.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>

#include "glview/lumetra.h"

namespace {

struct EscapeCase {
    std::string text;
    std::string decoded;
};

TEST(PrintText, DecodeEscapes)
{
    const std::string esc = "\x1B";
    const EscapeCase cases[] = {
        {"a\\\\b", "a\\b"},
        {"\\x41", "A"},
        {"\\xe9", "\xE9"},
        {"a\\x00b", "ab"},
        {"\\q", esc + "q"},
        // The letter escapes.
        {"\\a\\b\\f\\t\\n\\r\\v\\'\\?", "\x07\x08\x0C\x09\x0A\x0D\x0B'?"},
        {"x\\ty", "x\ty"},
        // Hexadecimal digits in either case.
        {"\\x4A\\x4a\\xFf\\xfF\\xC9", "JJ\xFF\xFF\xC9"},
        {"\\x7e\\x20\\x5C", "~ \\"},
        // Escapes that are not complete: the backslash becomes 0x1B and the
        // rest stays.
        {"\\x4g", esc + "x4g"},
        {"\\x4", esc + "x4"},
        {"\\x", esc + "x"},
        {"\\X41", esc + "X41"},
        {"ab\\", "ab" + esc},
        {"\\", esc},
        {"a\\ b", "a" + esc + " b"},
        {"\\\"", esc + "\""},
        {"\\A", esc + "A"},
        // Escaped backslashes pair from the left.
        {"\\\\\\", "\\" + esc},
        {"\\\\\\\\", "\\\\"},
        {"\\\\x41", "\\x41"},
        {"\\\\\\a", "\\\x07"},
        // A decoded byte is never read again.
        {"\\x20\\x5c\\x20", " \\ "},
        {"\\x5cx41", "\\x41"},
        {"\\x5c\\x5c", "\\\\"},
        {"\\x5ca", "\\a"},
        // Text without escapes, and non-ASCII bytes, pass unchanged.
        {"", ""},
        {"kN/m\xB2 \xE9t\xE9", "kN/m\xB2 \xE9t\xE9"},
    };
    for (const EscapeCase& c : cases) {
        const CString text(c.text);
        EXPECT_EQ(printtext::decodeEscapes(text).str(), c.decoded) << "text: " << c.text;
        EXPECT_EQ(text.str(), c.text) << "the argument is unchanged";
    }
}

TEST(PrintText, SuperscriptSquaresAndCubes)
{
    const std::pair<std::string, std::string> cases[] = {
        {"kN/m^2", "kN/m\xB2"},
        {"m^3^2", "m\xB3\xB2"},
        {"kNm/m^3", "kNm/m\xB3"},
        {"m^4", "m^4"},
        {"^2^2^3", "\xB2\xB2\xB3"},
        {"m^", "m^"},
        {"", ""},
    };
    for (const auto& [text, rewritten] : cases) {
        CString s(text);
        printtext::replaceSqrAndCube(s);
        EXPECT_EQ(s.str(), rewritten) << text;
        EXPECT_EQ(s.GetLength(), static_cast<int>(rewritten.size())) << "bytes, not UTF-8: " << text;
    }
}

TEST(PrintText, MonthNames)
{
    const char* names[] = {"",     "January", "February",  "March",   "April",    "May",      "June",
                           "July", "August",  "September", "October", "November", "December", ""};
    for (int m = 0; m <= 13; ++m)
        EXPECT_STREQ(GetMonth(m), names[m]) << m;
    EXPECT_STREQ(GetMonth(-1), "");
    EXPECT_STREQ(GetMonth(1000), "");
}

// Sets the locale variables of the environment for one test and puts the
// old values back.
class LocaleEnvironment : public ::testing::Test {
protected:
    static constexpr int kCount = 4;
    static constexpr const char* kNames[kCount] = {"LC_ALL", "LC_NUMERIC", "LANG", "LOCPATH"};

    void SetUp() override
    {
        for (int k = 0; k < kCount; ++k) {
            if (const char* v = std::getenv(kNames[k]))
                m_saved[k] = v;
            ::unsetenv(kNames[k]);
        }
    }
    void TearDown() override
    {
        for (int k = 0; k < kCount; ++k) {
            if (m_saved[k])
                ::setenv(kNames[k], m_saved[k]->c_str(), 1);
            else
                ::unsetenv(kNames[k]);
        }
    }
    static bool installed(const char* name)
    {
        locale_t l = ::newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
        if (l == static_cast<locale_t>(nullptr))
            return false;
        ::freelocale(l);
        return true;
    }

    // True when de_DE.UTF-8 can be used: installed, or compiled from the
    // system's locale sources into the test's temporary folder, which
    // LOCPATH then names.
    static bool germanLocale()
    {
        const char* name = "de_DE.UTF-8";
        if (installed(name))
            return true;
        const std::string folder = ::testing::TempDir() + "brantel_locales";
        const std::string command = "mkdir -p '" + folder + "' && localedef -i de_DE -f UTF-8 '" + folder + "/" +
                                    name + "' >/dev/null 2>&1";
        // localedef may report warnings about the sources and still build
        // the locale: whether it loads afterwards is what counts.
        if (std::system(command.c_str()) == -1)
            return false;
        ::setenv("LOCPATH", folder.c_str(), 1);
        return installed(name);
    }

    std::optional<std::string> m_saved[kCount];
};

TEST_F(LocaleEnvironment, DecimalPointIsADotWithoutAUserLocale)
{
    EXPECT_STREQ(printtext::userDecimalPoint(), ".");
    // A locale that is not installed.
    ::setenv("LC_NUMERIC", "xx_NOWHERE.UTF-8", 1);
    EXPECT_STREQ(printtext::userDecimalPoint(), ".");
}

TEST_F(LocaleEnvironment, DecimalPointComesFromTheEnvironmentNotTheProcess)
{
    if (!germanLocale())
        GTEST_SKIP() << "the locale de_DE.UTF-8 is neither installed nor can be built";
    ::setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
    // The process keeps "C" for its numbers.
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(printtext::userDecimalPoint(), ",");
    // LC_ALL goes before LC_NUMERIC.
    ::setenv("LC_ALL", "C", 1);
    EXPECT_STREQ(printtext::userDecimalPoint(), ".");
}

} // namespace

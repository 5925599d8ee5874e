// Start-up steps around QApplication: OpenGL defaults, the acceleration
// rule, the numeric locale and the dialog font.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

using afxui::qt::testing::TestApplication;

TEST(QtStartup, OpenGlDefaultsAreSetBeforeTheApplication)
{
    TestApplication();
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
    const QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    EXPECT_EQ(format.profile(), QSurfaceFormat::CompatibilityProfile);
    EXPECT_EQ(format.majorVersion(), 2);
    EXPECT_EQ(format.minorVersion(), 1);
    EXPECT_EQ(format.depthBufferSize(), 24);
    EXPECT_EQ(format.stencilBufferSize(), 8);
    EXPECT_EQ(format.samples(), 0);
    EXPECT_EQ(format.swapBehavior(), QSurfaceFormat::DoubleBuffer);
}

// Restores an environment variable when the test ends.
class EnvGuard
{
public:
    explicit EnvGuard(const char* name) : m_name(name)
    {
        if (const char* value = std::getenv(name))
            m_old = value;
        m_had = std::getenv(name) != nullptr;
    }
    ~EnvGuard()
    {
        if (m_had)
            setenv(m_name, m_old.c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

TEST(QtStartup, SoftwareRenderingFollowsTheAccelerationSettingUnlessTheUserChose)
{
    struct Case {
        const char* preset; // null: unset
        bool bUseAccel;
        const char* expected; // null: unset
    } cases[] = {
        {nullptr, false, "1"},
        {nullptr, true, nullptr},
        {"0", false, "0"}, // the user's own choice stays
        {"1", true, "1"},
    };
    EnvGuard guard("LIBGL_ALWAYS_SOFTWARE");
    for (const Case& c : cases) {
        if (c.preset)
            setenv("LIBGL_ALWAYS_SOFTWARE", c.preset, 1);
        else
            unsetenv("LIBGL_ALWAYS_SOFTWARE");
        AfxQtApplyAcceleration(c.bUseAccel);
        const char* now = std::getenv("LIBGL_ALWAYS_SOFTWARE");
        SCOPED_TRACE(std::string("preset ") + (c.preset ? c.preset : "unset") + ", accel " +
                     (c.bUseAccel ? "on" : "off"));
        if (c.expected)
            EXPECT_STREQ(now, c.expected);
        else
            EXPECT_EQ(now, nullptr);
    }
}

TEST(QtStartup, OnlyTheNumericLocaleGoesBackToC)
{
    TestApplication();
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "C.UTF-8"))
        GTEST_SKIP() << "the C.UTF-8 locale is not installed";
    AfxQtAfterApplication();
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    const std::string ctype = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(numeric, "C");
    EXPECT_EQ(ctype, "C.UTF-8"); // the user's text encoding stays
}

TEST(QtStartup, NumbersKeepTheirDecimalPointUnderACommaLocale)
{
    TestApplication();
    const std::string old = std::setlocale(LC_ALL, nullptr);
    // What QApplication does with the user's locale.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    char text[32];
    std::snprintf(text, sizeof text, "%f", 1.5);
    const std::string underGerman = text;
    AfxQtAfterApplication();
    std::snprintf(text, sizeof text, "%f", 1.5);
    const std::string afterStartUp = text;
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(underGerman, "1,500000"); // the locale really is in effect
    EXPECT_EQ(afterStartUp, "1.500000");
}

TEST(QtStartup, DialogsUseLiberationSansEightPointOrDejaVu)
{
    TestApplication();
    const QFont font = AfxQtDialogFont();
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_TRUE(font.family() == "Liberation Sans" || font.family() == "DejaVu Sans")
        << font.family().toStdString();
    EXPECT_EQ(QFontInfo(font).family(), font.family()); // the face really exists
    EXPECT_EQ(QApplication::font().family(), font.family());
    EXPECT_EQ(QApplication::font().pointSize(), 8);
}

} // namespace

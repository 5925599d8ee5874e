// The built program on the test display: started without a file it asks
// for a new document; with that cancelled its main window ("Brantel") shows within 10 s
// with a temporary profile folder, is grabbed from the X server into
// brantel-main-window.png under $BRANTEL_TEST_ARTIFACTS, and a close request
// as a desktop sends it (WM_DELETE_WINDOW; bare Xvfb has no window manager)
// ends the program with status 0. A file on the command line opens and
// names the window; the settings file exists after the end.
#include <cstdlib>
#include <random>
#include <set>
#include <cstring>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"

namespace
{

using namespace brantel::test;

TEST(BrantelProgram, ShowsItsMainWindowAndEndsWithStatusZeroOnACloseRequest)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();

    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
#ifdef BRANTEL_SANITIZED
    // Qt's GLX integration loads Mesa's driver and unloads it at exit with
    // a one-time allocation that LeakSanitizer can no longer attribute to
    // a library (no suppression matches it). The window draws no OpenGL.
    env.insert("QT_XCB_GL_INTEGRATION", "none");
#endif
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(BRANTEL_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(CancelStartWizard()) << "no new-document wizard within 10 s";

    // Waits for the window to show, as QTest's window waits do.
    WId window = 0;
    const QDeadlineTimer deadline(10000);
    while (!window && !deadline.hasExpired() && program.state() == QProcess::Running) {
        window = FindMainWindow("^Brantel$");
        if (!window)
            QTest::qWait(100);
    }
    ASSERT_NE(window, 0u) << "no window titled \"Brantel\" within 10 s";

    // Grabbed from the X server: what the program put on the screen, once
    // its menu and status bar are drawn.
    std::size_t colours = 0;
    const QImage image = GrabWhenDrawn(window, colours);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(colours, 3u) << "the window is one flat colour";
    EXPECT_TRUE(image.save(
        QDir(afxui::qt::testing::ArtifactsFolder()).filePath("brantel-main-window.png")));

    ASSERT_TRUE(SendCloseRequest(window));
    const bool ended = program.waitForFinished(10000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the program did not end on the close request";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST(BrantelProgram, OpensTheFileOfItsCommandLineAndKeepsItsSettings)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    {
        ProgramRun run(BRANTEL_PROGRAM, config.path());
        ASSERT_TRUE(run.Start({journey::SampleFile("plate.plb")}));
        const WId window = run.WaitForWindow("^Brantel - plate\\.plb( - \\[.*\\])?$");
        ASSERT_NE(window, 0u) << "no window titled \"Brantel - plate.plb\" within 10 s";
        EXPECT_TRUE(run.Close(window));
    }
    EXPECT_TRUE(QFileInfo::exists(config.path() + "/Vornetic/brantel.ini"));
    // A second start reads the settings and opens the other sample.
    ProgramRun again(BRANTEL_PROGRAM, config.path());
    ASSERT_TRUE(again.Start({journey::SampleFile("buckling.shl")}));
    const WId window = again.WaitForWindow("^Brantel - buckling\\.shl( - \\[.*\\])?$");
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(again.Close(window));
}

// The window's _NET_WM_STATE atoms as xprop prints them.
QByteArray WindowState(WId window)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window), "_NET_WM_STATE"});
    return xprop.waitForFinished(5000) ? xprop.readAllStandardOutput() : QByteArray();
}

TEST(BrantelProgram, ReopensMaximisedWithTheNormalPlacementItWasClosedWith)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString profile = config.path() + "/Vornetic Applications/brantel.ini";
    struct Key {
        const char* name;
        int value;
    };
    // A window last closed maximised, with a normal rectangle of its own.
    const Key saved[] = {{"Left", 70}, {"Top", 50}, {"Width", 700}, {"Height", 500}, {"Zoomed", 1}};
    {
        QSettings ini(profile, QSettings::IniFormat);
        for (const Key& key : saved)
            ini.setValue(QString("Window/") + key.name, key.value);
        ini.setValue("Window/ShowCmd", 3);
    }
    // Two starts: the first reads the keys above, the second what the
    // first wrote when it closed.
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        {
            ProgramRun run(BRANTEL_PROGRAM, config.path());
            ASSERT_TRUE(run.Start({journey::SampleFile("plate.plb")}));
            const WId window = run.WaitForWindow("^Brantel - plate\\.plb( - \\[.*\\])?$");
            ASSERT_NE(window, 0u);
            // The program sets the state as it shows the window, which can
            // come a moment after the title.
            QByteArray state;
            const auto maximised = [&state] {
                return state.contains("_NET_WM_STATE_MAXIMIZED_VERT") &&
                       state.contains("_NET_WM_STATE_MAXIMIZED_HORZ");
            };
            QElapsedTimer waited;
            waited.start();
            for (state = WindowState(window); !maximised() && waited.elapsed() < 10000;
                 state = WindowState(window))
                QThread::msleep(100);
            EXPECT_TRUE(maximised()) << state.toStdString();
            EXPECT_TRUE(run.Close(window));
        }
        QSettings ini(profile, QSettings::IniFormat);
        for (const Key& key : saved)
            EXPECT_EQ(ini.value(QString("Window/") + key.name).toInt(), key.value) << key.name;
        EXPECT_EQ(ini.value("Window/ShowCmd").toInt(), 3);
    }
}

// A file the program cannot read, named on its command line: the message
// "Unexpected file format.", and when that box is closed the program ends
// with status 1 (a start that failed), not with a crash. Under the
// sanitizer build a report would abort the program instead.
TEST(BrantelProgram, EndsWithStatusOneAfterRefusingAGarbageFile)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString bad = config.path() + "/bad.plb";
    {
        std::mt19937 random(86);
        QByteArray bytes(3000, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random() & 0xff);
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    ProgramRun run(BRANTEL_PROGRAM, config.path());
    ASSERT_TRUE(run.Start({bad}));
    const WId box = journey::WaitForDialogWhileRunning(run, "Brantel", 15000);
    ASSERT_NE(box, 0u) << "no message box within 15 s";
    std::size_t colours = 0;
    const QImage image = GrabWhenDrawn(box, colours);
    EXPECT_TRUE(image.save(
        QDir(afxui::qt::testing::ArtifactsFolder()).filePath("brantel-refused-file.png")));
    ASSERT_TRUE(SendCloseRequest(box));
    ASSERT_TRUE(run.Process().waitForFinished(15000)) << "the program did not end after its message";
    EXPECT_EQ(run.Process().exitStatus(), QProcess::NormalExit) << "the program crashed at its end";
    EXPECT_EQ(run.Process().exitCode(), 1);
}

} // namespace

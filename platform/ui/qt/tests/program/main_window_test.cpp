// The built program on the test display: its main window, titled after the
// active document ("Brantel - Plate1" after File New), shows within 10 s
// with a temporary profile folder, is grabbed from the X server into
// brantel-main-window.png under $BRANTEL_TEST_ARTIFACTS, and a close request
// as a desktop sends it (WM_DELETE_WINDOW; bare Xvfb has no window manager)
// ends the program with status 0. A file on the command line opens and
// names the window; the settings file exists after the end.
#include <cstdlib>
#include <set>
#include <cstring>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include "platform/ui/qt/testing/qttesting.h"

namespace
{

// The id of the first visible window whose title matches the pattern, or 0.
// A maximised child window may add its own title in brackets.
WId FindMainWindow(const QString& pattern = "^Brantel - Plate1( - \\[.*\\])?$")
{
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--name", pattern});
    if (!search.waitForFinished(5000))
        return 0;
    const QList<QByteArray> ids = search.readAllStandardOutput().split('\n');
    return ids.isEmpty() ? 0 : ids.front().trimmed().toULongLong();
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Asks the window to close as a window manager does for its close button.
bool SendCloseRequest(WId window)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window);
    event.type = Atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    // A checked request waits for the server's answer, so the event is
    // delivered before this connection closes.
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_send_event_checked(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                                           reinterpret_cast<const char*>(&event)));
    const bool sent = error == nullptr;
    std::free(error);
    xcb_disconnect(connection);
    return sent;
}

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

    // Waits for the window to show, as QTest's window waits do.
    WId window = 0;
    const QDeadlineTimer deadline(10000);
    while (!window && !deadline.hasExpired() && program.state() == QProcess::Running) {
        window = FindMainWindow();
        if (!window)
            QTest::qWait(100);
    }
    ASSERT_NE(window, 0u) << "no window titled \"Brantel - Plate1\" within 10 s";

    // Grabbed from the X server: what the program put on the screen, once
    // its menu and status bar are drawn.
    QImage image;
    std::set<QRgb> colours;
    const QDeadlineTimer drawn(10000);
    while (colours.size() < 3 && !drawn.hasExpired()) {
        image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
        colours.clear();
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        if (colours.size() < 3)
            QTest::qWait(100);
    }
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(colours.size(), 3u) << "the window is one flat colour";
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

// The program started with files and a settings folder of its own; the
// window found by its title; ended as a desktop ends it.
class ProgramRun
{
public:
    explicit ProgramRun(const QString& config)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config);
#ifdef BRANTEL_SANITIZED
        env.insert("QT_XCB_GL_INTEGRATION", "none");
#endif
        m_program.setProcessEnvironment(env);
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    }
    ~ProgramRun()
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished();
        }
    }
    bool Start(const QStringList& args)
    {
        m_program.start(BRANTEL_PROGRAM, args);
        return m_program.waitForStarted(10000);
    }
    WId WaitForWindow(const QString& pattern)
    {
        WId window = 0;
        const QDeadlineTimer deadline(10000);
        while (!window && !deadline.hasExpired() && m_program.state() == QProcess::Running) {
            window = FindMainWindow(pattern);
            if (!window)
                QTest::qWait(100);
        }
        return window;
    }
    // Sends the close request; true when the program ended with status 0.
    bool Close(WId window)
    {
        if (!SendCloseRequest(window) || !m_program.waitForFinished(10000))
            return false;
        return m_program.exitStatus() == QProcess::NormalExit && m_program.exitCode() == 0;
    }

private:
    QProcess m_program;
};

QString Example(const char* file)
{
    return QString::fromLocal8Bit(qgetenv("BRANTEL_SOURCE_DIR")) + "/examples/" + file;
}

TEST(BrantelProgram, OpensTheFileOfItsCommandLineAndKeepsItsSettings)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    {
        ProgramRun run(config.path());
        ASSERT_TRUE(run.Start({Example("plate.plb")}));
        const WId window = run.WaitForWindow("^Brantel - plate\\.plb( - \\[.*\\])?$");
        ASSERT_NE(window, 0u) << "no window titled \"Brantel - plate.plb\" within 10 s";
        EXPECT_TRUE(run.Close(window));
    }
    EXPECT_TRUE(QFileInfo::exists(config.path() + "/Vornetic/brantel.ini"));
    // A second start reads the settings and opens the other sample.
    ProgramRun again(config.path());
    ASSERT_TRUE(again.Start({Example("buckling.shl")}));
    const WId window = again.WaitForWindow("^Brantel - buckling\\.shl( - \\[.*\\])?$");
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(again.Close(window));
}

} // namespace

// Running the built or installed program on the test display: finding its
// main window by title with xdotool, and closing it as a desktop does.
#pragma once

#include <cstdlib>
#include <cstring>
#include <set>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

namespace brantel::test
{

// The id of the first visible window whose title matches the pattern, or 0.
// A maximised child window may add its own title in brackets.
inline WId FindMainWindow(const QString& pattern = "^Brantel - Plate1( - \\[.*\\])?$")
{
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--name", pattern});
    if (!search.waitForFinished(5000))
        return 0;
    const QList<QByteArray> ids = search.readAllStandardOutput().split('\n');
    return ids.isEmpty() ? 0 : ids.front().trimmed().toULongLong();
}

inline xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Asks the window to close as a window manager does for its close button.
inline bool SendCloseRequest(WId window)
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

// The mapped top-level window whose name is exactly the given one and that
// is narrower than the screen (a dialog or message box, not the maximised
// main window of the same name), or 0. xdotool's name search ignores case
// and misses dialogs with --onlyvisible, so the windows of that name in any
// case are listed, their names compared, and xwininfo tells the mapped ones
// and their width.
inline WId FindDialogWindow(const QByteArray& name, int maxWidth = 1000)
{
    QProcess search;
    search.start("xdotool", {"search", "--name",
                             "^" + QRegularExpression::escape(QString::fromUtf8(name)) + "$"});
    if (!search.waitForFinished(5000))
        return 0;
    for (const QByteArray& raw : search.readAllStandardOutput().split('\n')) {
        const QByteArray id = raw.trimmed();
        if (id.isEmpty())
            continue;
        QProcess getName;
        getName.start("xdotool", {"getwindowname", QString(id)});
        if (!getName.waitForFinished(5000) || getName.readAllStandardOutput().trimmed() != name)
            continue;
        QProcess info;
        info.start("xwininfo", {"-id", QString(id)});
        if (!info.waitForFinished(5000))
            continue;
        const QByteArray text = info.readAllStandardOutput();
        const int at = text.indexOf("Width:");
        const int width = at < 0 ? 0 : text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().toInt();
        if (text.contains("IsViewable") && width > 1 && width < maxWidth)
            return id.toULongLong();
    }
    return 0;
}

// Started without a file, the program asks for a new document with its
// wizard, whose first page has no caption (the window shows the program's
// name, "Brantel"). Cancels it as a user would, with Esc; true when the page
// showed within 10 s and went away.
inline bool CancelStartWizard()
{
    const auto run = [](const QStringList& args, QByteArray* out = nullptr) {
        QProcess tool;
        tool.start("xdotool", args);
        const bool ok = tool.waitForFinished(5000) && tool.exitCode() == 0;
        if (out)
            *out = tool.readAllStandardOutput().trimmed();
        return ok;
    };
    // The page is titled "Brantel" as the main window is: it is the viewable
    // window of that name whose type is a dialog. (The name search and
    // --onlyvisible miss the dialog, so every window is listed and the map
    // state is asked of xwininfo, the type of xprop.)
    const auto findPage = [&run]() -> QByteArray {
        QByteArray ids;
        run({"search", "--name", ""}, &ids);
        for (const QByteArray& raw : ids.split('\n')) {
            const QByteArray id = raw.trimmed();
            QByteArray name;
            if (id.isEmpty() || !run({"getwindowname", QString(id)}, &name) || name != "Brantel")
                continue;
            QProcess info;
            info.start("xwininfo", {"-id", QString(id)});
            if (!info.waitForFinished(5000) || !info.readAllStandardOutput().contains("IsViewable"))
                continue;
            QProcess type;
            type.start("xprop", {"-id", QString(id), "_NET_WM_WINDOW_TYPE"});
            if (type.waitForFinished(5000) &&
                type.readAllStandardOutput().contains("_NET_WM_WINDOW_TYPE_DIALOG"))
                return id;
        }
        return {};
    };
    QByteArray page;
    const QDeadlineTimer shown(10000);
    while ((page = findPage()).isEmpty() && !shown.hasExpired())
        QTest::qWait(100);
    if (page.isEmpty())
        return false;
    // The key goes to the focused window as a real (XTEST) key press: Qt
    // drops key events sent to a window directly.
    run({"windowfocus", "--sync", QString(page)});
    run({"key", "Escape"});
    const QDeadlineTimer gone(10000);
    while (!findPage().isEmpty() && !gone.hasExpired())
        QTest::qWait(100);
    return findPage().isEmpty();
}

// The window grabbed from the X server once it shows more than a flat
// colour (its menu and status bar drawn), for at most 10 s; colours gets
// the number of colours seen on a 3-pixel grid.
inline QImage GrabWhenDrawn(WId window, std::size_t& colours)
{
    QImage image;
    std::set<QRgb> seen;
    const QDeadlineTimer drawn(10000);
    while (seen.size() < 3 && !drawn.hasExpired()) {
        image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
        seen.clear();
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                seen.insert(image.pixel(x, y));
        if (seen.size() < 3)
            QTest::qWait(100);
    }
    colours = seen.size();
    return image;
}

// The program started with files and a settings folder of its own; the
// window found by its title; ended as a desktop ends it.
class ProgramRun
{
public:
    ProgramRun(const QString& program, const QString& config) : m_path(program)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config);
#ifdef BRANTEL_SANITIZED
        // The documents' views draw with OpenGL, so Qt's GLX integration
        // stays; it loads Mesa's driver and unloads it at exit with a
        // one-time allocation that LeakSanitizer can no longer attribute to
        // a library. The program's own leaks are checked by the headless
        // program tests; here the sanitizer checks memory errors only.
        env.insert("LSAN_OPTIONS", "detect_leaks=0");
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
        m_program.start(m_path, args);
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

    QProcess& Process() { return m_program; }

private:
    QString m_path;
    QProcess m_program;
};

} // namespace brantel::test

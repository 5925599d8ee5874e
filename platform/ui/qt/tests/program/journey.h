// A user's journey through the real program, checked from outside: X input
// events through xdotool (keys, menu mnemonics, clicks, typing into dialog
// fields), screenshots of the whole screen, and what a person sees on them
// (a view that is not black, a picture that changed, the picture of the
// document whose title the window shows). The program runs in its own
// process (ProgramRun); nothing here calls into it.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/program_run.h"

namespace brantel::test::journey
{

// A sample document of the source tree's examples folder.
inline QString SampleFile(const char* name)
{
    return QString::fromLocal8Bit(qgetenv("BRANTEL_SOURCE_DIR")) + "/examples/" + name;
}

// Runs xdotool with the arguments; true when it ended with status 0 within
// the time (ms).
inline bool Xdo(const QStringList& args, QByteArray* out = nullptr, int ms = 10000)
{
    QProcess tool;
    tool.start("xdotool", args);
    const bool ok = tool.waitForFinished(ms) && tool.exitStatus() == QProcess::NormalExit &&
                    tool.exitCode() == 0;
    if (out)
        *out = tool.readAllStandardOutput().trimmed();
    return ok;
}

// Keys as xdotool names them ("ctrl+o", "alt+m", "Return"), pressed one
// after the other on the focused window.
inline bool Key(const QStringList& keys)
{
    return Xdo(QStringList{"key", "--delay", "60"} + keys);
}

// Keys pressed one by one, each its own xdotool run, with a pause after
// each (for a menu to open, a dialog to take the keyboard); clearModifiers
// releases held modifiers around each press.
inline void KeysEach(const QStringList& keys, int pauseMs, bool clearModifiers = false)
{
    for (const QString& key : keys) {
        Xdo(clearModifiers ? QStringList{"key", "--clearmodifiers", key} : QStringList{"key", key});
        QTest::qWait(pauseMs);
    }
}

// Gives the window the keyboard and waits until the server has done so;
// then waits settleMs more.
inline bool FocusSync(WId window, int settleMs = 0)
{
    const bool ok = Xdo({"windowfocus", "--sync", QString::number(window)});
    if (settleMs > 0)
        QTest::qWait(settleMs);
    return ok;
}

// Text typed into the focused field.
inline bool Type(const QString& text)
{
    // "--" ends the options: a text may start with a minus sign.
    return Xdo({"type", "--delay", "8", "--", text});
}

inline bool MoveMouse(QPoint at)
{
    return Xdo({"mousemove", QString::number(at.x()), QString::number(at.y())});
}

// A left click at a point of the screen.
inline bool Click(QPoint at)
{
    return MoveMouse(at) && Xdo({"click", "1"});
}

// Polls the condition every 100 ms until it holds or the time is up.
// How much longer a wait may take in the sanitizer build, whose program
// runs several times slower; a wait that succeeds returns at once either way.
#ifdef BRANTEL_SANITIZED
inline constexpr int kWaitScale = 3;
#else
inline constexpr int kWaitScale = 1;
#endif

inline bool WaitUntil(const std::function<bool()>& condition, int ms = 10000)
{
    const QDeadlineTimer deadline(qint64(ms) * kWaitScale);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

// Whether a menu of the program is open: a shown window of the program
// whose type is a drop-down or pop-up menu.
inline bool MenuShown()
{
    QByteArray ids;
    Xdo({"search", "--onlyvisible", "--classname", "^brantel$"}, &ids);
    for (const QByteArray& id : ids.split('\n')) {
        if (id.isEmpty())
            continue;
        QProcess xprop;
        xprop.start("xprop", {"-id", QString::fromLatin1(id), "_NET_WM_WINDOW_TYPE"});
        if (xprop.waitForFinished(3000) && xprop.readAllStandardOutput().contains("_MENU"))
            return true;
    }
    return false;
}

// Opens a menu by its key ("alt+f") and waits until it shows: a loaded
// machine can take longer than any pause, and a key sent before the menu
// is up goes to the window instead. False when the key could not be sent.
inline bool OpenMenu(const QString& menu)
{
    if (!Key({menu}))
        return false;
    WaitUntil(MenuShown, 5000);
    return true;
}

// A menu command by its mnemonics: the menu's key ("alt+f"), then, once the
// menu has opened, the item's key ("n").
inline bool MenuItem(const QString& menu, const QString& item)
{
    return OpenMenu(menu) && Key({item});
}

inline QString WindowName(WId window)
{
    QByteArray name;
    Xdo({"getwindowname", QString::number(window)}, &name);
    return QString::fromUtf8(name);
}

// The title of the window that has the keyboard focus ("" when none).
inline QString FocusedWindowName()
{
    QByteArray name;
    if (!Xdo({"getwindowfocus", "getwindowname"}, &name, 5000))
        return {};
    return QString::fromUtf8(name).trimmed();
}

// Whether the window is mapped and viewable (xwininfo says so).
inline bool WindowShown(WId window)
{
    QProcess info;
    info.start("xwininfo", {"-id", QString::number(window)});
    return info.waitForFinished(5000) && info.readAllStandardOutput().contains("IsViewable");
}

// The viewable window whose title is exactly the given one (a dialog, a
// message box), or 0. xdotool finds the windows of that name; xwininfo
// tells which one is mapped.
inline WId FindShownWindow(const QString& title)
{
    QByteArray ids;
    Xdo({"search", "--name", "^" + QRegularExpression::escape(title) + "$"}, &ids);
    for (const QByteArray& raw : ids.split('\n')) {
        const QByteArray id = raw.trimmed();
        if (id.isEmpty() || WindowName(id.toULongLong()) != title)
            continue;
        if (WindowShown(id.toULongLong()))
            return id.toULongLong();
    }
    return 0;
}

// The child of the root that holds the window (the window itself, or the
// frame a window manager put it in), or 0.
inline xcb_window_t TopLevelOf(xcb_connection_t* connection, xcb_window_t window)
{
    for (int depth = 0; depth < 16 && window; ++depth) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        if (!tree)
            return 0;
        const xcb_window_t parent = tree->parent, root = tree->root;
        std::free(tree);
        if (parent == root)
            return window;
        window = parent;
    }
    return 0;
}

// True when the upper window lies above the lower one in the stacking order
// of the root's children (which the server lists from bottom to top).
inline bool StackedAbove(WId upper, WId lower)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const xcb_window_t top = TopLevelOf(connection, static_cast<xcb_window_t>(upper));
    const xcb_window_t bottom = TopLevelOf(connection, static_cast<xcb_window_t>(lower));
    int upperAt = -1, lowerAt = -1;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(
        connection, xcb_query_tree(connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root),
        nullptr);
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            if (children[i] == top)
                upperAt = i;
            if (children[i] == bottom)
                lowerAt = i;
        }
        std::free(tree);
    }
    xcb_disconnect(connection);
    return top && bottom && upperAt > lowerAt && lowerAt >= 0;
}

// The dialog or message box of that title (FindDialogWindow) once it shows,
// or 0 when none shows within the time.
inline WId WaitForDialogWindow(const QByteArray& title, int ms, int maxWidth = 1000)
{
    WId dialog = 0;
    const QDeadlineTimer deadline(ms);
    while (!(dialog = FindDialogWindow(title, maxWidth)) && !deadline.hasExpired())
        QTest::qWait(100);
    return dialog;
}

// The dialog or message box of that title (FindDialogWindow) once it shows,
// looked for while the program runs, within the time; 0 when none shows.
inline WId WaitForDialogWhileRunning(ProgramRun& run, const QByteArray& title, int ms)
{
    WId dialog = 0;
    const QDeadlineTimer shown(ms);
    while (!dialog && !shown.hasExpired() && run.Process().state() == QProcess::Running) {
        dialog = FindDialogWindow(title);
        if (!dialog)
            QTest::qWait(100);
    }
    return dialog;
}

// Closes the window as a desktop does and answers "No" to the question
// whether to save the edited document; true when the program ended with
// status 0.
inline bool CloseDiscardingChanges(ProgramRun& run, WId window)
{
    if (!SendCloseRequest(window))
        return false;
    const WId box = WaitForDialogWhileRunning(run, "Brantel", 10000);
    if (box) {
        Xdo({"windowfocus", "--sync", QString::number(box)});
        Xdo({"key", "alt+n"}); // &No
    }
    QProcess& process = run.Process();
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(10000);
    return process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// True once no dialog of that title (FindDialogWindow) shows, within the time.
inline bool WaitDialogGone(const QByteArray& title, int ms, int maxWidth = 1000)
{
    const QDeadlineTimer deadline(ms);
    while (FindDialogWindow(title, maxWidth) && !deadline.hasExpired())
        QTest::qWait(100);
    return !FindDialogWindow(title, maxWidth);
}

// The dialog of that title once it shows (within 15 s), focused; 0 if none.
inline WId FocusedDialog(const QByteArray& title, int maxWidth = 1000)
{
    const WId dialog = WaitForDialogWindow(title, 15000, maxWidth);
    if (dialog)
        FocusSync(dialog, 200);
    return dialog;
}

// Opens the Region dialog of the region under the point by a double click;
// its window once it shows, else 0. A double click whose first click only
// ends a tool is given once more.
inline WId DoubleClickRegion(QPoint at)
{
    WId dialog = 0;
    for (int attempt = 0; attempt < 2 && !dialog; ++attempt) {
        MoveMouse(at);
        Xdo({"click", "--repeat", "2", "--delay", "80", "1"});
        WaitUntil([&] { return (dialog = FindShownWindow("Region")) != 0; }, 5000);
    }
    return dialog;
}

// A file once it exists and its size stays put (the writer is done).
inline bool WaitForFile(const QString& path)
{
    qint64 last = -1;
    const QDeadlineTimer written(qint64(20000) * kWaitScale);
    while (!written.hasExpired()) {
        const QFileInfo info(path);
        if (info.exists() && info.size() > 0 && info.size() == last)
            return true;
        last = info.exists() ? info.size() : -1;
        QTest::qWait(250);
    }
    return false;
}

// Waits until the window's title matches the pattern.
inline bool WaitForTitle(WId window, const QString& pattern, int ms = 15000)
{
    const QRegularExpression re(pattern);
    return WaitUntil([&] { return re.match(WindowName(window)).hasMatch(); }, ms);
}

// The window's rectangle on the screen (its client area, as xdotool gives it).
inline QRect WindowRect(WId window)
{
    QByteArray text;
    if (!Xdo({"getwindowgeometry", "--shell", QString::number(window)}, &text))
        return {};
    QRect rect;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> kv = line.split('=');
        if (kv.size() != 2)
            continue;
        const int v = kv[1].toInt();
        if (kv[0] == "X")
            rect.moveLeft(v);
        else if (kv[0] == "Y")
            rect.moveTop(v);
        else if (kv[0] == "WIDTH")
            rect.setWidth(v);
        else if (kv[0] == "HEIGHT")
            rect.setHeight(v);
    }
    return rect;
}

// What Ctrl+C in the focused control puts on the clipboard ("" when
// nothing arrives within 5 s). The clipboard is emptied first, so that a
// stale text is never taken for the copy.
inline QString CopiedText()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    QTest::qWait(100);
    KeysEach({"ctrl+c"}, 150, true);
    QString text;
    const QDeadlineTimer deadline(5000);
    while ((text = clipboard->text()).isEmpty() && !deadline.hasExpired())
        QTest::qWait(100);
    return text;
}

// The log window's text as a user copies it: a click into it (above its
// tabs and the status bar), Ctrl+A, Ctrl+C.
inline QString LogText(WId window)
{
    FocusSync(window, 200);
    const int y = WindowRect(window).height() - 100;
    Xdo({"mousemove", "--window", QString::number(window), "300", QString::number(y)}, nullptr, 5000);
    Xdo({"click", "1"}, nullptr, 5000);
    QTest::qWait(200);
    KeysEach({"ctrl+a"}, 150, true);
    return CopiedText();
}


// The top-left corner of the window's client area on the screen, as
// xwininfo gives it (xdotool counts a window manager's title bar twice).
inline QPoint ClientTopLeft(WId window)
{
    QProcess info;
    info.start("xwininfo", {"-id", QString::number(window)});
    if (!info.waitForFinished(5000))
        return {};
    QPoint corner;
    for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> kv = line.split(':');
        if (kv.size() != 2)
            continue;
        if (kv[0].trimmed() == "Absolute upper-left X")
            corner.setX(kv[1].trimmed().toInt());
        else if (kv[0].trimmed() == "Absolute upper-left Y")
            corner.setY(kv[1].trimmed().toInt());
    }
    return corner;
}

// Gives the window the keyboard as a click on it would: with a window
// manager and without one (where nothing else moves the focus), with the
// pointer resting on it so that focus-follows-pointer agrees.
inline bool FocusWindow(WId window, QPoint rest)
{
    MoveMouse(rest);
    return Xdo({"windowfocus", QString::number(window)});
}

// A click of the button at the point of the window (its own coordinates).
inline void ClickAt(WId window, QPoint at, int button = 1)
{
    Xdo({"mousemove", "--window", QString::number(window), QString::number(at.x()), QString::number(at.y())},
        nullptr, 5000);
    QTest::qWait(100);
    Xdo({"click", QString::number(button)}, nullptr, 5000);
    QTest::qWait(200);
}

// Keys to the window as real key presses, one by one, after focusing it.
inline void KeysTo(WId window, const QStringList& keys)
{
    Xdo({"windowfocus", "--sync", QString::number(window)}, nullptr, 5000);
    for (const QString& key : keys) {
        Xdo({"key", key}, nullptr, 5000);
        QTest::qWait(150);
    }
}

// The object at the point of the window (its own coordinates) picked with
// the tool bar's pick filter on its entry `filter` (0 "Nodes", 1 "Edges"),
// "Edit" chosen in its context menu: the sheet of that title once it
// shows, 0 when none shows within 10 s. The filter's list opens with its
// current entry over the box: the entry is reached from the top by keys.
inline WId EditPicked(WId window, int filter, QPoint at, const QByteArray& sheet)
{
    ClickAt(window, QPoint(613, 32));
    QStringList choose = {"Up", "Up", "Up", "Up"};
    for (int k = 0; k < filter; ++k)
        choose << "Down";
    KeysTo(window, choose << "Return");
    ClickAt(window, QPoint(200, 200)); // nothing: no selection
    ClickAt(window, at);               // selects the object
    ClickAt(window, at, 3);            // its context menu
    KeysTo(window, {"Down", "Return"});
    return WaitForDialogWindow(sheet, 10000);
}

// The whole screen as the X server shows it.
inline QImage Screen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

// The window as the X server shows it (no waiting for it to be drawn).
inline QImage GrabWindow(WId window)
{
    return QGuiApplication::primaryScreen()->grabWindow(window).toImage();
}

// The model's regions in the modelling view of the window: the box of
// their fill colour (below the tool bars, left of the tool column, above
// the log window).
inline QRect PlateBox(WId window)
{
    const QImage view = GrabWindow(window);
    QRect box;
    for (int y = 100; y < view.height() - 200; ++y)
        for (int x = 0; x < view.width() - 60; ++x)
            if (view.pixel(x, y) == qRgb(128, 128, 128))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

// The screen once the area has stopped changing (two grabs 300 ms apart
// alike), for at most the given time.
inline QImage Settled(QRect area, int ms = 8000)
{
    QImage last = Screen();
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QTest::qWait(300);
        QImage next = Screen();
        const bool same = next.copy(area) == last.copy(area);
        last = std::move(next);
        if (same)
            break;
    }
    return last;
}

// Waits until the window's picture stays the same for 1.5 s (a mesh, a run
// or a plot finished and drawn), at most 60 s; the last picture.
inline QImage GrabWhenStill(WId window)
{
    QImage last = GrabWindow(window);
    QDeadlineTimer still(1500);
    const QDeadlineTimer limit(60000);
    while (!still.hasExpired() && !limit.hasExpired()) {
        QTest::qWait(250);
        const QImage now = GrabWindow(window);
        if (now != last) {
            last = now;
            still.setRemainingTime(1500);
        }
    }
    return last;
}

// The share of the area's pixels that are pure black.
inline double BlackShare(const QImage& shot, QRect area)
{
    area &= shot.rect();
    if (area.isEmpty())
        return 1.0;
    long black = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            black += (shot.pixel(x, y) & 0xffffff) == 0;
    return double(black) / (double(area.width()) * area.height());
}

// The share of the area's pixels whose colour differs between the two
// pictures by more than the tolerance in some channel.
inline double DifferingShare(const QImage& a, const QImage& b, QRect area, int tolerance = 40)
{
    area &= a.rect() & b.rect();
    if (area.isEmpty())
        return 1.0;
    long differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) > tolerance ||
                         std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                         std::abs(qBlue(p) - qBlue(q)) > tolerance;
        }
    return double(differing) / (double(area.width()) * area.height());
}

// The screen once the area has changed from `before` in more than `share`
// of its pixels (a command's effect, which a loaded machine can delay past
// any pause) and has then settled; or, when `like` is set, once it differs
// from `before` in less than `share` (a picture expected back). When the
// time runs out, the settled screen as it is: the caller's check then
// reports the difference.
inline QImage SettledFrom(QRect area, const QImage& before, double share, bool like = false,
                          int ms = 20000)
{
    WaitUntil([&] { return (DifferingShare(Screen(), before, area) < share) == like; }, ms);
    return Settled(area);
}

// The share of the area's pixels darker than mid grey (text, lines).
inline double DarkShare(const QImage& shot, QRect area)
{
    area &= shot.rect();
    if (area.isEmpty())
        return 0.0;
    long dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 110;
    return double(dark) / (double(area.width()) * area.height());
}

// The modelling view of a window: the white rectangle that holds the point
// a third across and half down the window, grown while its border rows and
// columns stay at least half white (a view's axes and model cross it; the grey of
// bars, tabs and the log window ends it).
inline QRect FindWhiteView(const QImage& shot, QRect window)
{
    window &= shot.rect();
    const auto white = [&](int x, int y) { return (shot.pixel(x, y) & 0xffffff) == 0xffffff; };
    const auto rowWhite = [&](int y, int left, int right) {
        int n = 0;
        for (int x = left; x <= right; ++x)
            n += white(x, y);
        return n * 2 > right - left + 1;
    };
    const auto columnWhite = [&](int x, int top, int bottom) {
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            n += white(x, y);
        return n * 2 > bottom - top + 1;
    };
    const int cx = window.left() + window.width() / 3;
    const int cy = window.top() + window.height() / 2;
    QRect view(cx - 20, cy - 20, 41, 41);
    // A step outwards to the next white line within a few pixels: thin
    // lines of the picture (an axis) lie across the view.
    const auto step = [](int from, int direction, int limit, const std::function<bool(int)>& isWhite) {
        for (int d = 1; d <= 6; ++d) {
            const int at = from + direction * d;
            if ((direction < 0 && at < limit) || (direction > 0 && at > limit))
                return from;
            if (isWhite(at))
                return at;
        }
        return from;
    };
    for (bool grown = true; grown;) {
        const QRect before = view;
        view.setTop(step(view.top(), -1, window.top(), [&](int y) { return rowWhite(y, view.left(), view.right()); }));
        view.setBottom(step(view.bottom(), 1, window.bottom(), [&](int y) { return rowWhite(y, view.left(), view.right()); }));
        view.setLeft(step(view.left(), -1, window.left(), [&](int x) { return columnWhite(x, view.top(), view.bottom()); }));
        view.setRight(step(view.right(), 1, window.right(), [&](int x) { return columnWhite(x, view.top(), view.bottom()); }));
        grown = view != before;
    }
    return view;
}

// The text of a picture (a part of a grab), read by tesseract from the
// picture enlarged three times; lines joins the lines of the picture.
inline std::string ReadText(const QImage& part, bool lines = false)
{
    const QImage image = part.scaled(part.size() * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QTemporaryDir folder;
    const QString png = folder.filePath("part.png");
    image.save(png);
    QProcess ocr;
    // One thread: on a busy machine the reader's thread pool waits far
    // longer than it works.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("OMP_THREAD_LIMIT", "1");
    ocr.setProcessEnvironment(env);
    ocr.start("tesseract", {png, "-", "--psm", lines ? "6" : "7"});
    if (!ocr.waitForFinished(30000))
        return {};
    return ocr.readAllStandardOutput().toStdString();
}

// The path of a file of that name in the artifacts folder.
inline QString ArtifactPath(const QString& name)
{
    return QDir(afxui::qt::testing::ArtifactsFolder()).filePath(name);
}

// Saves a screenshot into the artifacts folder; true when written.
inline bool SaveShot(const QImage& shot, const QString& name)
{
    return shot.save(ArtifactPath(name));
}

// The main window's rectangle once it has its place: maximised, a moment
// after it shows, with a window manager.
inline QRect WaitForPlace(WId window, bool withWindowManager)
{
    QRect rect;
    WaitUntil([&] { return (rect = WindowRect(window)).width() > 1200 || !withWindowManager; }, 5000);
    return rect;
}

// The settled screen and the white modelling view in the window, once the
// view takes more than half its width and a third of its height; false
// when it does not within 10 s.
inline bool WaitForModellingView(QRect window, QImage& shot, QRect& view)
{
    return WaitUntil([&] {
        shot = Settled(window);
        view = FindWhiteView(shot, window);
        return view.width() > window.width() / 2 && view.height() > window.height() / 3;
    });
}

// Copies the named samples into the folder (the journeys work on copies
// that they may save over).
inline void CopySamples(const QTemporaryDir& dir, const QStringList& names)
{
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : names)
        ASSERT_TRUE(QFile::copy(SampleFile(name.toLocal8Bit().constData()), dir.filePath(name)))
            << name.toStdString();
}

// The program as it shows once started on a document: its main window, the
// window's rectangle, a point on the status bar where the pointer rests
// between steps, the settled screen and the modelling view on it.
struct ShownProgram {
    WId window = 0;
    QRect frame;
    QPoint rest;
    QImage first;
    QRect view;
};

// Starts the program on the file and waits for its window (titled
// "Brantel - <file name>"), its place and its modelling view, with the
// keyboard given to it; fatal failures when one does not come.
inline void StartOnDocument(ProgramRun& run, const QString& file, bool withWindowManager, ShownProgram& shown)
{
    ASSERT_TRUE(run.Start({file}));
    const QString name = QFileInfo(file).fileName();
    shown.window = run.WaitForWindow("^Brantel - " + QRegularExpression::escape(name) + "$");
    ASSERT_NE(shown.window, 0u) << "no window titled \"Brantel - " << name.toStdString() << "\"";
    shown.frame = WaitForPlace(shown.window, withWindowManager);
    ASSERT_FALSE(shown.frame.isEmpty());
    shown.rest = QPoint(shown.frame.left() + shown.frame.width() / 2, shown.frame.bottom() - 5);
    FocusWindow(shown.window, shown.rest);
    ASSERT_TRUE(WaitForModellingView(shown.frame, shown.first, shown.view)) << "no modelling view found";
}

// File > New: "Plate bending" in the choice of document type, by its
// mnemonic once the choice has the focus, then the wizard's default buttons
// (Next, Finish) with Enter until the main window has the new plate's title
// ("Brantel - Plate2"). A key typed before the choice holds the focus would
// go to the main window, and one lost while the program is busy would leave
// the choice's default button ("Open", the file dialog) to the Enters: the
// mnemonic is pressed again until the choice has gone (the wizard's pages
// come in a window of their own).
inline bool NewPlateByWizard(WId window, const QString& title)
{
    WId choice = 0;
    if (!MenuItem("alt+f", "n") || !WaitUntil([&] { return (choice = FindShownWindow("Brantel")) != 0; }))
        return false;
    QTest::qWait(300 * kWaitScale);
    const bool chosen = WaitUntil(
        [&] {
            FocusSync(choice, 100);
            if (FocusedWindowName() == "Brantel")
                Key({"alt+p"});
            return WaitUntil([&] { return !WindowShown(choice); }, 2000);
        },
        15000);
    if (!chosen) {
        SaveShot(Screen(), "new-plate-type-not-chosen.png");
        return false;
    }
    const bool made = WaitUntil(
        [&] {
            if (WindowName(window) == title)
                return true;
            Key({"Return"});
            QTest::qWait(700);
            return false;
        },
        15000);
    if (!made)
        SaveShot(Screen(), "new-plate-wizard-no-" + QString(title).section(' ', -1) + ".png");
    return made;
}

// Answers the file dialog of that title with a bare file name (the dialog
// opens in the folder meant) and waits for it to close. When the name
// matches a file, the dialog's completion list pops up and may take the
// first Enter, so Enter is pressed again while the dialog stays. A key lost
// while the list pops up leaves a wrong name, which the dialog refuses with
// a message box of its own title: Enter closes it and the name is typed
// again. True once the dialog has closed.
inline bool AnswerFileDialog(const QByteArray& title, const QString& name)
{
    const WId dialog = FocusedDialog(title);
    if (!dialog)
        return false;
    constexpr int kMessageBoxWidth = 450; // the file dialog itself is wider
    for (int attempt = 0; attempt < 3; ++attempt) {
        FocusSync(dialog, 200);
        Key({"ctrl+a"});
        QTest::qWait(200);
        Xdo({"type", "--delay", "60", "--", name});
        QTest::qWait(400);
        for (int press = 0; press < 2; ++press) {
            Key({"Return"});
            if (WaitDialogGone(title, 3000))
                return true;
            if (const WId box = FindDialogWindow(title, kMessageBoxWidth)) {
                SaveShot(Screen(), "file-dialog-" + QString(title).replace(' ', '-') + "-refused.png");
                FocusSync(box, 200);
                Key({"Return"});
                WaitUntil([&] { return !FindDialogWindow(title, kMessageBoxWidth); }, 5000);
                break;
            }
        }
    }
    SaveShot(Screen(), "file-dialog-" + QString(title).replace(' ', '-') + "-not-closed.png");
    return false;
}

// The openbox window manager on the test display while the object lives.
class WindowManager
{
public:
    bool Start()
    {
        m_wm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_wm.setStandardOutputFile(QProcess::nullDevice());
        m_wm.start("openbox", {"--sm-disable"});
        if (!m_wm.waitForStarted(5000))
            return false;
        // Running once it owns the screen's manager selection; xprop shows
        // its check window on the root.
        return WaitUntil(
            [] {
                QProcess xprop;
                xprop.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
                return xprop.waitForFinished(5000) &&
                       xprop.readAllStandardOutput().contains("window id");
            },
            5000);
    }
    ~WindowManager()
    {
        if (m_wm.state() != QProcess::NotRunning) {
            m_wm.terminate();
            if (!m_wm.waitForFinished(5000)) {
                m_wm.kill();
                m_wm.waitForFinished();
            }
        }
    }

private:
    QProcess m_wm;
};

} // namespace brantel::test::journey

// Several documents in the real window, as a user works with them: the
// program started on a copy of plate.plb, membrane.mem opened with Ctrl+O
// and the file dialog, a new plate through File > New, the documents
// switched by a tab click, Ctrl+Tab, Ctrl+F6, the recent-file list and the
// Window menu, then the plate meshed, calculated and shown in results mode, US units chosen,
// the element type changed (the results view's no-results state) and a light turned off.
// After each step the screen is grabbed (journey-<pass>-<step>.png in the
// artifacts folder) and its view area checked: not black, changed where the
// step changes the picture, and showing the picture of the document that
// the window's title names (the one taken when that document first came).
// One pass with the openbox window manager, one without any.
#include <memory>

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"

namespace
{

using namespace brantel::test;
using namespace brantel::test::journey;

// A picture of the same document shows the same (the clock in the status
// bar lies outside the view); two documents differ in their model.
constexpr double kSame = 0.004;
constexpr double kOther = 0.01;

class DocumentsJourney : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AFXUI_QT_NEED_DISPLAY();
        afxui::qt::testing::TestApplication();
        CopySamples(m_dir, {"plate.plb", "membrane.mem"});
    }

    // The screen once the view has settled, saved as journey-<pass>-<name>.
    QImage Shot(const QString& name)
    {
        FocusWindow(m_window, m_rest);
        const QImage shot = Settled(m_view);
        EXPECT_TRUE(SaveShot(shot, "journey-" + m_pass + "-" + name + ".png"));
        EXPECT_LT(BlackShare(shot, m_view), 0.5) << name.toStdString() << ": the view is black";
        return shot;
    }

    // Waits for a dialog of that title to show and take the keyboard.
    static bool WaitForDialog(const QString& title)
    {
        const bool shown = WaitUntil([&] { return FindShownWindow(title) != 0; });
        QTest::qWait(300);
        return shown;
    }

    void Run(const QString& pass, bool withWindowManager);

    QTemporaryDir m_dir;
    QString m_pass;
    WId m_window = 0;
    QRect m_view;  // the view area on the screen
    QPoint m_rest; // where the pointer rests between steps: the status bar
};

void DocumentsJourney::Run(const QString& pass, bool withWindowManager)
{
    m_pass = pass;
    WindowManager wm;
    if (withWindowManager) {
        ASSERT_TRUE(wm.Start()) << "openbox did not start";
    }
    ProgramRun run(BRANTEL_PROGRAM, m_dir.filePath("config-" + pass));
    ShownProgram shown;
    StartOnDocument(run, m_dir.filePath("plate.plb"), withWindowManager, shown);
    SaveShot(shown.first, "journey-" + pass + "-0-start.png");
    if (HasFatalFailure())
        return;
    m_window = shown.window;
    m_rest = shown.rest;
    const QRect white = shown.view;
    m_view = white.adjusted(2, 2, -2, -2);
    // The tabs lie along the bottom edge of the documents' area, each as
    // wide as the area's width over the number of tabs.
    const auto tab = [&](int index, int count) {
        return QPoint(white.left() + white.width() * (2 * index + 1) / (2 * count), white.bottom() + 13);
    };

    const QImage plate = Shot("1-plate");

    // Ctrl+O, the file's path typed into the dialog, Enter.
    ASSERT_TRUE(Key({"ctrl+o"}));
    ASSERT_TRUE(WaitForDialog("Open")) << "no file dialog after Ctrl+O";
    ASSERT_TRUE(Type(m_dir.filePath("membrane.mem")));
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitForTitle(m_window, "^Brantel - membrane\\.mem$"));
    const QImage membrane = Shot("2-membrane");
    EXPECT_GT(DifferingShare(membrane, plate, m_view), kOther) << "the membrane shows the plate";

    ASSERT_TRUE(NewPlateByWizard(m_window, "Brantel - Plate1")) << "File > New did not make Plate1";
    const QImage plate1 = Shot("3-new-plate");
    EXPECT_GT(DifferingShare(plate1, plate, m_view), kOther) << "the new plate shows plate.plb";
    EXPECT_GT(DifferingShare(plate1, membrane, m_view), kOther) << "the new plate shows the membrane";

    // Every way of switching: each shows the active document's own picture.
    struct Switch {
        const char* name;
        std::function<bool()> act;
        const char* title;
        const QImage* picture;
    };
    const Switch switches[] = {
        {"4-tab-click", [&] { return Click(tab(0, 3)); }, "Brantel - plate.plb", &plate},
        {"5-ctrl-tab", [&] { return Key({"ctrl+Tab"}); }, "Brantel - membrane.mem", &membrane},
        {"6-ctrl-f6", [&] { return Key({"ctrl+F6"}); }, "Brantel - Plate1", &plate1},
        // The most recent file, already open, in the File menu's list.
        {"7-recent-file", [&] { return MenuItem("alt+f", "1"); }, "Brantel - membrane.mem", &membrane},
        {"8-window-menu", [&] { return MenuItem("alt+w", "1"); }, "Brantel - plate.plb", &plate},
    };
    for (const Switch& s : switches) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(s.act());
        ASSERT_TRUE(WaitForTitle(m_window, QString("^") + QRegularExpression::escape(s.title) + "$"))
            << "now " << WindowName(m_window).toStdString();
        const QImage now = Shot(s.name);
        EXPECT_LT(DifferingShare(now, *s.picture, m_view), kSame) << "not the picture of " << s.title;
    }

    // Model > Generate mesh: the mesh shows at once.
    ASSERT_TRUE(MenuItem("alt+m", "g"));
    const QImage meshed = Shot("9-mesh");
    EXPECT_GT(DifferingShare(meshed, plate, m_view), 0.002) << "the mesh does not show";

    // Calculate > Calculate, then results mode (R). Keys other than Stop
    // wait while the run goes on: R is pressed again, as a user would, until
    // the plot shows (or 20 s pass).
    ASSERT_TRUE(MenuItem("alt+c", "c"));
    QTest::qWait(1000);
    Shot("10-calculated");
    WaitUntil(
        [&] {
            Key({"r"});
            FocusWindow(m_window, m_rest);
            return DifferingShare(Settled(m_view), meshed, m_view) > kOther;
        },
        20000);
    const QImage results = Shot("11-results");
    EXPECT_GT(DifferingShare(results, meshed, m_view), kOther) << "results mode shows no plot";

    // Options > Units & formats: US/Imperial, OK. The legend's units change.
    ASSERT_TRUE(MenuItem("alt+p", "u"));
    ASSERT_TRUE(WaitForDialog("Units")) << "no units dialog";
    // The radio button takes its mnemonic's click a moment later, as a
    // mouse click shows its press.
    ASSERT_TRUE(Key({"alt+u"}));
    QTest::qWait(400);
    EXPECT_TRUE(SaveShot(Screen(), "journey-" + pass + "-12-units-dialog.png"));
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("Units") == 0; }));
    const QImage us = Shot("13-us-units");
    EXPECT_GT(DifferingShare(us, results, m_view), 0.0003) << "the legend keeps its units";

    // Calculate > Element & mesh control: T15 in place of T18, OK. The
    // results are gone with the old element type: the view shows at once,
    // without the focus moving, the plate without a plot, no legend and
    // the hint in the legend's place.
    ASSERT_TRUE(MenuItem("alt+c", "e"));
    ASSERT_TRUE(WaitForDialog("Element and mesh control")) << "no element and mesh control";
    const QPoint sheet = ClientTopLeft(FindShownWindow("Element and mesh control"));
    // The element radio buttons have no mnemonics: T15, the fourth, is clicked.
    ASSERT_TRUE(Click(sheet + QPoint(38, 120)));
    QTest::qWait(300);
    EXPECT_TRUE(SaveShot(Screen(), "journey-" + pass + "-14-element-sheet.png"));
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("Element and mesh control") == 0; }));
    MoveMouse(m_rest);
    const QImage none = Settled(m_view);
    EXPECT_TRUE(SaveShot(none, "journey-" + pass + "-15-no-results.png"));
    // The legend's strip runs down the view's left edge; the hint's words
    // lie along its top, right of the strip and its labels.
    const QRect strip(m_view.left(), m_view.top(), m_view.width() / 40, m_view.height());
    const QRect hint(m_view.left() + m_view.width() * 8 / 100, m_view.top() + 2, m_view.width() / 4,
                     m_view.height() * 6 / 100);
    const QRgb background = none.pixel(m_view.right() - 5, m_view.top() + 5);
    QImage plain(none.size(), QImage::Format_RGB32);
    plain.fill(background);
    EXPECT_GT(DifferingShare(us, plain, strip), 0.5) << "no legend strip before";
    EXPECT_LT(DifferingShare(none, plain, strip), 0.01) << "the legend stays without results";
    EXPECT_GT(DarkShare(none, hint) - DarkShare(us, hint), 0.01) << "no hint in the view";
    // The plate without a plot: no colour of the plot's scale on it.
    EXPECT_GT(DifferingShare(none, us, m_view), kOther) << "the plot stays without results";

    // Options > Color options, the Light options page (its tab clicked),
    // light 1 off by its mnemonic, OK: the lit plate darkens at once.
    ASSERT_TRUE(MenuItem("alt+p", "c"));
    ASSERT_TRUE(WaitForDialog("View Options")) << "no view options";
    ASSERT_TRUE(Click(ClientTopLeft(FindShownWindow("View Options")) + QPoint(152, 24)));
    QTest::qWait(400);
    ASSERT_TRUE(Key({"alt+1"}));
    QTest::qWait(300);
    EXPECT_TRUE(SaveShot(Screen(), "journey-" + pass + "-16-light-page.png"));
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("View Options") == 0; }));
    MoveMouse(m_rest);
    const QImage unlit = Settled(m_view);
    EXPECT_TRUE(SaveShot(unlit, "journey-" + pass + "-17-light-off.png"));
    EXPECT_GT(DifferingShare(unlit, none, m_view), 0.05) << "the light's change does not show";
}

TEST_F(DocumentsJourney, EveryViewShowsItsOwnCurrentPictureWithAWindowManager)
{
    Run("wm", true);
}

TEST_F(DocumentsJourney, EveryViewShowsItsOwnCurrentPictureWithoutAWindowManager)
{
    Run("nowm", false);
}

// The program started on a copy of plate.plb, without a window manager.
class PlateInTheWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AFXUI_QT_NEED_DISPLAY();
        afxui::qt::testing::TestApplication();
        CopySamples(m_dir, {"plate.plb"});
        m_run = std::make_unique<ProgramRun>(BRANTEL_PROGRAM, m_dir.filePath("config"));
        ASSERT_TRUE(m_run->Start({m_dir.filePath("plate.plb")}));
        m_window = m_run->WaitForWindow("^Brantel - plate\\.plb$");
        ASSERT_NE(m_window, 0u);
    }

    // The window's frame, a point on the status bar for the pointer to rest
    // on, and the modelling view once it shows (empty when it does not).
    QRect ShownView(QRect& frame, QPoint& rest)
    {
        frame = WindowRect(m_window);
        rest = QPoint(frame.left() + frame.width() / 2, frame.bottom() - 5);
        FocusWindow(m_window, rest);
        QRect view;
        const bool shown = WaitUntil([&] {
            view = FindWhiteView(Settled(frame), frame);
            return view.width() > frame.width() / 2 && view.height() > frame.height() / 3;
        });
        return shown ? view : QRect();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ProgramRun> m_run;
    WId m_window = 0;
};

// Calculate on a new, empty plate: the run fails ("No mesh detected") with
// its message, the program brings the log window's Error tab to the front,
// and its text
// shows at once, as it shows after the user clicks the tab (Log, then Error
// again).
TEST_F(PlateInTheWindow, TheErrorTabShowsItsTextTheMomentTheProgramBringsItToTheFront)
{
    const WId window = m_window;
    QRect frame;
    QPoint rest;
    const QRect view = ShownView(frame, rest);
    ASSERT_FALSE(view.isEmpty()) << "no modelling view";
    // The log window's text: under the document tabs and the log window's
    // title, at the left; its tabs run along its bottom, above the status bar.
    const QRect text(view.left() + 6, view.bottom() + 56, 360, 36);
    const QPoint logTab(frame.left() + 20, frame.bottom() - 30);
    const QPoint errorTab(frame.left() + 66, frame.bottom() - 30);

    // A new plate, then Calculate > Calculate on it.
    ASSERT_TRUE(NewPlateByWizard(window, "Brantel - Plate1")) << "File > New did not make Plate1";
    FocusWindow(window, rest);
    ASSERT_TRUE(MenuItem("alt+c", "c"));
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("Brantel") != 0; })) << "no failure message";
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("Brantel") == 0; }));
    FocusWindow(window, rest);
    const QImage shown = Settled(text);
    EXPECT_TRUE(SaveShot(shown, "journey-error-tab.png"));
    EXPECT_GT(DarkShare(shown, text), 0.005) << "the Error tab shows no text";

    // The user's way: the Log tab, then the Error tab again.
    ASSERT_TRUE(Click(logTab));
    const QImage log = Settled(text);
    EXPECT_TRUE(SaveShot(log, "journey-error-tab-log.png"));
    EXPECT_GT(DifferingShare(log, shown, text), 0.003) << "the Log tab was in front, not Error";
    ASSERT_TRUE(Click(errorTab));
    const QImage clicked = Settled(text);
    EXPECT_LT(DifferingShare(clicked, shown, text), 0.001) << "the text showed only after a click";
}

// Commands that change the picture repaint the view at once, each checked
// on the screen right after it: a triangle typed point by point into the
// coordinate dialog (the edges so far show before the shape is complete),
// undo and redo, the mesh refined, the results smoothed, and the view
// options' colours and lights.
TEST_F(PlateInTheWindow, EachCommandRepaintsTheViewAtOnce)
{
    const WId window = m_window;
    QRect frame;
    QPoint rest;
    const QRect found = ShownView(frame, rest);
    ASSERT_FALSE(found.isEmpty()) << "no modelling view";
    const QRect view = found.adjusted(2, 2, -2, -2);
    // The screen once the view has settled, saved as repaint-<name>.png;
    // the pointer rests on the status bar, the keyboard stays where it is.
    // A command's picture is waited for as a change from the picture before
    // it (or, with like, as that picture back), not for a fixed time.
    const auto shot = [&](const QString& name, const QImage* before = nullptr, double share = 0,
                          bool like = false) {
        MoveMouse(rest);
        const QImage image = before ? SettledFrom(view, *before, share, like) : Settled(view);
        EXPECT_TRUE(SaveShot(image, "repaint-" + name + ".png"));
        EXPECT_LT(BlackShare(image, view), 0.5) << name.toStdString() << ": the view is black";
        return image;
    };
    const QImage start = shot("0-start");

    // Draw > Triangle, Draw > Enter coordinates; the dialog moved below the
    // view, over the log window.
    ASSERT_TRUE(MenuItem("alt+d", "t"));
    QTest::qWait(300);
    ASSERT_TRUE(MenuItem("alt+d", "e"));
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("Coordinate input") != 0; })) << "no coordinate dialog";
    const WId input = FindShownWindow("Coordinate input");
    ASSERT_TRUE(Xdo({"windowmove", QString::number(input), QString::number(view.left() + view.width() / 2),
                     QString::number(view.bottom() + 30)}));
    QTest::qWait(300);
    // Each point: X, Tab, Y, Enter (the dialog's default button enters the
    // absolute point), Shift+Tab back to X. Left of the plate, in mm.
    const auto typePoint = [&](const QString& x, const QString& y) {
        FocusWindow(input, rest);
        QTest::qWait(200);
        return Key({"ctrl+a"}) && Type(x) && Key({"Tab", "ctrl+a"}) && Type(y) && Key({"Return"}) &&
               Key({"shift+Tab"});
    };
    ASSERT_TRUE(typePoint("-700", "0"));
    const QImage first = shot("1-first-point");
    ASSERT_TRUE(typePoint("-100", "0"));
    const QImage second = shot("2-second-point", &first, 0.0002);
    // The edge from the first point to the second: some hundred pixels.
    EXPECT_GT(DifferingShare(second, first, view), 0.0002) << "the first edge does not show";
    // The pointer in the view, above the plate: the rubber band runs from
    // the last typed point to it.
    ASSERT_TRUE(MoveMouse(QPoint(view.left() + view.width() / 3, view.top() + view.height() / 6)));
    const QImage band = SettledFrom(view, second, 0.0002);
    EXPECT_TRUE(SaveShot(band, "repaint-2-rubber-band.png"));
    EXPECT_GT(DifferingShare(band, second, view), 0.0002) << "the rubber band does not follow the pointer";
    ASSERT_TRUE(typePoint("-100", "800"));
    const QImage triangle = shot("3-triangle", &second, 0.002);
    EXPECT_GT(DifferingShare(triangle, second, view), 0.002) << "the triangle does not show";
    ASSERT_TRUE(Key({"Escape"}));
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("Coordinate input") == 0; }));

    // Edit > Undo and Redo by their keys.
    FocusWindow(window, rest);
    ASSERT_TRUE(Key({"ctrl+z"}));
    const QImage undone = shot("4-undo", &start, kSame, true);
    EXPECT_LT(DifferingShare(undone, start, view), kSame) << "undo left the triangle";
    ASSERT_TRUE(Key({"ctrl+y"}));
    const QImage redone = shot("5-redo", &triangle, kSame, true);
    EXPECT_LT(DifferingShare(redone, triangle, view), kSame) << "redo did not bring the triangle back";

    // Model > Generate mesh, then Model > Uniformly refine: more lines.
    ASSERT_TRUE(MenuItem("alt+m", "g"));
    const QImage meshed = shot("6-mesh", &redone, 0.002);
    EXPECT_GT(DifferingShare(meshed, redone, view), 0.002) << "the mesh does not show";
    ASSERT_TRUE(MenuItem("alt+m", "u"));
    const QImage refined = shot("7-refined", &meshed, 0.002);
    EXPECT_GT(DifferingShare(refined, meshed, view), 0.002) << "the refined mesh does not show";
}

// The toolbars wrap into more rows when the window narrows and take them
// back when it widens again: the view's top edge moves down and returns.
TEST_F(PlateInTheWindow, ToolbarsReflowTheirRowsOnEveryResize)
{
    const WId window = m_window;
    const QRect wide = WindowRect(window);
    // The top edge of the modelling view, once drawn at the window's size.
    const auto viewTop = [&](const QString& name) {
        QRect view;
        WaitUntil([&] {
            const QRect frame = WindowRect(window);
            const QImage shot = Settled(frame);
            view = FindWhiteView(shot, frame);
            const bool found = view.width() > frame.width() / 2 && view.height() > frame.height() / 4;
            if (found)
                SaveShot(shot, "toolbars-" + name + ".png");
            return found;
        });
        return view.top() - WindowRect(window).top();
    };
    const int first = viewTop("wide");
    ASSERT_TRUE(Xdo({"windowsize", QString::number(window), "700", QString::number(wide.height())}));
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).width() == 700; }));
    const int narrow = viewTop("narrow");
    EXPECT_GT(narrow, first) << "the toolbars did not wrap into more rows";
    ASSERT_TRUE(Xdo({"windowsize", QString::number(window), QString::number(wide.width()),
                     QString::number(wide.height())}));
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).width() == wide.width(); }));
    EXPECT_EQ(viewTop("wide-again"), first) << "the toolbars kept their wrapped rows";
}

} // namespace

// A modal dialog and the tool bar's thickness box, checked from outside on
// the sample plate, once with the openbox window manager and once without
// one. A double click on the region opens its "Region" dialog again and
// again (closed with OK, then with Esc): each time the dialog lies above
// the main window in the X server's stacking order and holds the keyboard
// focus, or the program would look frozen behind a dialog nobody sees.
// With the window manager, the grid after a band selection of the
// square's edges and a zoom in and out is the grid of the untouched view;
// "10" typed into the "Active thickness" box and
// Enter leave "10" in it (no completion to the list's "100"), a rectangle
// drawn then gets t0 = 10 in its Region dialog, and a number typed into the
// box without Enter gives way to the value in force once File > New has
// made a new plate. The texts are read as a user copies them (Ctrl+A,
// Ctrl+C); the screens go into the artifacts folder.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"

namespace
{

using namespace brantel::test;
using namespace brantel::test::journey;

WId FocusedWindow()
{
    QByteArray id;
    return Xdo({"getwindowfocus"}, &id) ? id.toULongLong() : 0;
}

// What Ctrl+A, Ctrl+C in the focused field put on the clipboard ("" when
// nothing arrives within 5 s; the clipboard is emptied first).
std::string CopiedField()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    QTest::qWait(100);
    KeysEach({"ctrl+a", "ctrl+c"}, 150, true);
    QString text;
    const QDeadlineTimer deadline(5000);
    while ((text = clipboard->text()).isEmpty() && !deadline.hasExpired())
        QTest::qWait(100);
    return text.trimmed().toStdString();
}

// The centre of the region's grey fill in the view, or a null point.
QPoint RegionCentre(const QImage& shot, QRect view)
{
    long long sx = 0, sy = 0, n = 0;
    for (int y = view.top(); y <= view.bottom(); y += 2)
        for (int x = view.left(); x <= view.right(); x += 2) {
            const QRgb p = shot.pixel(x, y);
            if (qAbs(qRed(p) - 128) < 12 && qAbs(qGreen(p) - 128) < 12 && qAbs(qBlue(p) - 128) < 12) {
                sx += x;
                sy += y;
                ++n;
            }
        }
    return n > 50 ? QPoint(static_cast<int>(sx / n), static_cast<int>(sy / n)) : QPoint();
}

class OwnerJourney : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AFXUI_QT_NEED_DISPLAY();
        afxui::qt::testing::TestApplication();
        CopySamples(m_dir, {"plate.plb"});
    }

    void Run(const QString& pass, bool withWindowManager);
    // True once no Region dialog shows.
    static bool RegionGone()
    {
        return WaitUntil([] { return FindShownWindow("Region") == 0; }, 5000 * kWaitScale);
    }
    // A window-relative point on the screen.
    QPoint At(int x, int y) const { return m_client + QPoint(x, y); }

    QTemporaryDir m_dir;
    WId m_window = 0;
    QPoint m_client; // the main window's client area on the screen
};

void OwnerJourney::Run(const QString& pass, bool withWindowManager)
{
    WindowManager wm;
    if (withWindowManager) {
        ASSERT_TRUE(wm.Start()) << "openbox did not start";
    }
    ProgramRun run(BRANTEL_PROGRAM, m_dir.filePath("config-" + pass));
    ShownProgram shown;
    StartOnDocument(run, m_dir.filePath("plate.plb"), withWindowManager, shown);
    if (HasFatalFailure())
        return;
    m_window = shown.window;
    const QRect window = shown.frame;
    m_client = ClientTopLeft(m_window);
    const QPoint rest = shown.rest;
    const QImage& first = shown.first;
    const QRect view = shown.view;
    const QPoint region = RegionCentre(first, view);
    ASSERT_FALSE(region.isNull()) << "the sample's region is not in the view";

    // The Region dialog, opened four times, closed with OK and with Esc.
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE((pass + " opening " + QString::number(i + 1)).toStdString());
        const WId dialog = DoubleClickRegion(region);
        ASSERT_NE(dialog, 0u) << "no Region dialog after a double click on the region";
        EXPECT_TRUE(WaitUntil([&] { return StackedAbove(dialog, m_window); }, 3000))
            << "the Region dialog lies under the main window";
        EXPECT_TRUE(WaitUntil([&] { return FocusedWindow() == dialog; }, 3000))
            << "the Region dialog has not the keyboard focus";
        if (i == 0)
            SaveShot(Screen(), "owner-" + pass + "-region-dialog.png");
        // What the user presses goes to the dialog, without any help here.
        Key({i % 2 == 0 ? "Return" : "Escape"});
        ASSERT_TRUE(RegionGone()) << "the dialog did not close";
        FocusWindow(m_window, rest);
    }
    if (!withWindowManager)
        return;

    // The thickness box (the second row's box after the material box) shows
    // the value in force; "10" typed and Enter stay "10".
    const QPoint thickness = At(520, 63);
    Click(thickness);
    QTest::qWait(300);
    ASSERT_EQ(CopiedField(), "100") << "not the thickness box at its place";
    Key({"ctrl+a"});
    Type("10");
    Key({"Return"});
    QTest::qWait(500);
    EXPECT_EQ(CopiedField(), "10") << "the box completed the typed number";
    SaveShot(Screen(), "owner-" + pass + "-thickness-10.png");

    // A rectangle in the empty part of the view gets the thickness 10.
    const QPoint a(view.left() + 80, view.top() + 80), b(view.left() + 220, view.top() + 200);
    // A click on the empty view takes the keys away from the box.
    Click(QPoint(view.left() + 40, view.top() + 40));
    QTest::qWait(300);
    Key({"shift+r"});
    QTest::qWait(300);
    Click(a);
    QTest::qWait(300);
    Click(b);
    QTest::qWait(500);
    const WId dialog = DoubleClickRegion((a + b) / 2);
    if (!dialog)
        SaveShot(Screen(), "owner-" + pass + "-no-new-region.png");
    ASSERT_NE(dialog, 0u) << "no Region dialog for the new rectangle";
    const QPoint corner = ClientTopLeft(dialog);
    Click(corner + QPoint(111, 23)); // the "Thickness" tab
    QTest::qWait(500);
    Click(corner + QPoint(96, 130)); // t0
    QTest::qWait(300);
    EXPECT_EQ(CopiedField(), "10") << "the new region's thickness t0";
    SaveShot(Screen(), "owner-" + pass + "-new-region-thickness.png");
    Key({"Escape"});
    ASSERT_TRUE(RegionGone());
    FocusWindow(m_window, rest);

    // The grid after the square's edges were selected by a band (the
    // selection filter set to "Edges") and the grid was made again by a
    // zoom in and out with the wheel: as the untouched view showed it.
    const QPoint filter = At(613, 32);
    const QRect empty(view.right() - 400, view.top() + 20, 360, 180);
    const QImage before = Settled(window);
    Click(filter);
    QTest::qWait(500);
    Key({"Down", "Return"});
    QTest::qWait(500);
    Xdo({"mousemove", QString::number(region.x() - 120), QString::number(region.y() - 120), "mousedown", "1",
         "mousemove", QString::number(region.x() - 40), QString::number(region.y() - 40), "sleep", "0.2",
         "mousemove", QString::number(region.x() + 120), QString::number(region.y() + 120), "sleep", "0.3",
         "mouseup", "1"});
    QTest::qWait(700);
    const QPoint wheel(empty.left() - 100, empty.bottom() + 50);
    MoveMouse(wheel);
    Xdo({"click", "4"});
    QTest::qWait(700);
    Xdo({"click", "5"});
    const QImage selected = Settled(window);
    SaveShot(selected, "owner-" + pass + "-grid-after-edge-selection.png");
    EXPECT_EQ(DifferingShare(selected, before, empty), 0.0) << "the grid changed after the edge selection";

    // A number typed without Enter is not in force: after File > New the
    // box shows the thickness that a region drawn there gets.
    Click(thickness);
    QTest::qWait(300);
    Key({"ctrl+a"});
    Type("25");
    QTest::qWait(300);
    ASSERT_TRUE(NewPlateByWizard(m_window, "Brantel - Plate1")) << "File > New did not make Plate1";
    QTest::qWait(500);
    Click(thickness);
    QTest::qWait(300);
    EXPECT_EQ(CopiedField(), "10") << "the new document's box";
    SaveShot(Screen(), "owner-" + pass + "-new-document.png");
}

TEST_F(OwnerJourney, ModalDialogsAboveTheirOwnerAndTheThicknessBoxAsTyped)
{
    Run("openbox", true);
    if (HasFatalFailure())
        return;
    Run("bare", false);
}

} // namespace

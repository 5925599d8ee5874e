// A modal dialog, the tool bar's boxes and the grid, checked from outside
// on the sample plate, once with the openbox window manager and once
// without one. A double click on the region opens its "Region" dialog
// again and again (closed with OK, then with Esc): each time the dialog
// lies above the main window in the X server's stacking order and holds
// the keyboard focus, or the program would look frozen behind a dialog
// nobody sees. With the window manager: "10" typed into the "Active
// thickness" box and Enter leave "10" in it (no completion to the list's
// "100"), a rectangle drawn then gets t0 = 10 in its Region dialog, and a
// number typed into the box without Enter gives way to the value in force
// once File > New has made a new plate; the grid, on a part of the view
// without model, is the grid of the untouched view after a band selection
// of the square's edges and a zoom in and out (which makes the grid
// again), after a click between the items of the edges' context menu and
// after the edges were made fixed in their dialog and a zoom, and a new
// document's grid after all that is the grid of the new document made
// first.
// The texts are read as a user copies them (Ctrl+A, Ctrl+C); the screens
// go into the artifacts folder.
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

// The box of the regions' grey fill in the view, or a null rectangle.
QRect RegionBox(const QImage& shot, QRect view)
{
    QRect box;
    int n = 0;
    for (int y = view.top(); y <= view.bottom(); y += 2)
        for (int x = view.left(); x <= view.right(); x += 2) {
            const QRgb p = shot.pixel(x, y);
            if (qAbs(qRed(p) - 128) < 12 && qAbs(qGreen(p) - 128) < 12 && qAbs(qBlue(p) - 128) < 12) {
                box |= QRect(x, y, 1, 1);
                ++n;
            }
        }
    return n > 50 ? box : QRect();
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
    const QRect plate = RegionBox(first, view);
    ASSERT_FALSE(plate.isNull()) << "the sample's region is not in the view";
    const QPoint region = plate.center();

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

    // A new document's grid as an untouched program draws it (Plate1, made
    // before anything else is done), on a part of the view without model;
    // plate.plb's tab then brings the sample back.
    const QRect empty(view.right() - 400, view.top() + 20, 360, 180);
    ASSERT_TRUE(NewPlateByWizard(m_window, "Brantel - Plate1")) << "File > New did not make Plate1";
    const QImage untouchedNew = Settled(window);
    Click(QPoint(view.left() + view.width() / 4, view.bottom() + 12));
    ASSERT_TRUE(WaitForTitle(m_window, "^Brantel - plate\\.plb$")) << "plate.plb's tab did not bring it back";
    FocusWindow(m_window, rest);

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
    // A zoom in and out with the wheel makes the grid again; it is then
    // compared with the untouched view's.
    const auto gridAfterZoom = [&](const QString& after) {
        MoveMouse(QPoint(empty.left() - 100, empty.bottom() + 50));
        Xdo({"click", "4"});
        QTest::qWait(700);
        Xdo({"click", "5"});
        const QImage shot = Settled(window);
        SaveShot(shot, "owner-" + pass + "-grid-after-" + after + ".png");
        EXPECT_EQ(DifferingShare(shot, before, empty), 0.0) << "the grid changed after the " << after.toStdString();
    };
    gridAfterZoom("edge-selection");

    // The edge context menu (the square's edges selected) closed by a
    // click on the line between "Pointer" and "Delete": the grid stays.
    // The menu opens 30 pixels left of and 10 above the click; its first
    // item ("Edit") is 20 pixels high, the line lies 41 pixels down.
    const QPoint edge(plate.left(), region.y());
    const QRect menuArea(edge + QPoint(-25, -5), QSize(140, 90));
    const auto edgeMenu = [&] {
        const QImage closed = Screen();
        MoveMouse(edge);
        Xdo({"click", "3"});
        if (WaitUntil([&] { return DifferingShare(Screen(), closed, menuArea) > 0.3; }, 5000 * kWaitScale))
            return closed;
        SaveShot(Screen(), "owner-" + pass + "-no-edge-menu.png");
        return QImage();
    };
    QImage closed = edgeMenu();
    ASSERT_FALSE(closed.isNull()) << "no context menu on the selected edge";
    Click(edge + QPoint(18, 31));
    EXPECT_TRUE(WaitUntil([&] { return DifferingShare(Screen(), closed, menuArea) < 0.1; }, 5000 * kWaitScale))
        << "the menu stayed open";
    const QImage afterMenu = Settled(window);
    SaveShot(afterMenu, "owner-" + pass + "-grid-after-edge-menu.png");
    EXPECT_EQ(DifferingShare(afterMenu, before, empty), 0.0) << "the grid changed after the context menu";

    // The edges made fixed in their "Edge information" dialog ("Edit" of
    // the menu): the model now draws them wide and stippled, and the grid
    // made again by a zoom in and out is the grid it was.
    ASSERT_FALSE(edgeMenu().isNull()) << "no context menu on the selected edge";
    Click(edge + QPoint(18, 1));
    WId edgeDialog = 0;
    ASSERT_TRUE(WaitUntil([&] { return (edgeDialog = FindShownWindow("Edge information")) != 0; },
                          5000 * kWaitScale))
        << "Edit did not open the edges' dialog";
    const QPoint edgeCorner = ClientTopLeft(edgeDialog);
    Click(edgeCorner + QPoint(312, 140)); // "Change"
    QTest::qWait(300);
    Click(edgeCorner + QPoint(39, 101)); // "Fixed"
    QTest::qWait(300);
    SaveShot(Screen(), "owner-" + pass + "-edges-fixed.png");
    Key({"Return"});
    ASSERT_TRUE(WaitUntil([] { return FindShownWindow("Edge information") == 0; }, 5000 * kWaitScale));
    gridAfterZoom("edge-edit");

    // A number typed without Enter is not in force: after File > New the
    // box shows the thickness that a region drawn there gets.
    Click(thickness);
    QTest::qWait(300);
    Key({"ctrl+a"});
    Type("25");
    QTest::qWait(300);
    ASSERT_TRUE(NewPlateByWizard(m_window, "Brantel - Plate2")) << "File > New did not make Plate2";
    // Its grid, after all the drawing before, is the untouched new one's.
    const QImage newGrid = Settled(window);
    SaveShot(newGrid, "owner-" + pass + "-new-document-grid.png");
    EXPECT_EQ(DifferingShare(newGrid, untouchedNew, empty), 0.0) << "the new document's grid";
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

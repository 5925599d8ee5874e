// Inputs and settings as a user meets them in the built program, on the
// sample plate.plb opened from the command line, with a configuration folder
// of the test's own: a row typed into Calculate > Node && Element output and
// ended with Enter is there when the dialog opens again; the contour plot of
// the plan cuts the plate into "Number of contours" coloured bands with the
// background between them; "Large buttons" of Options > Toolbars is kept
// when the program starts again. Screenshots go to the artifacts folder.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"

// The unity build: a namespace of this file's own.
namespace inputsjourney
{

using namespace brantel::test;
using namespace brantel::test::journey;

// A menu's key, then the keys of the item once the menu has opened.
void Menu(WId window, const QString& menu, const QStringList& keys)
{
    FocusSync(window);
    if (keys.isEmpty()) { // a key of the window itself, not a menu
        Xdo({"key", menu});
        QTest::qWait(800);
        return;
    }
    OpenMenu(menu);
    KeysEach(keys, 250);
}

// Calculate > Node && Element output (the item before the last of the menu,
// which has no letter of its own); the dialog focused once it shows.
WId OpenOutputDialog(WId window)
{
    Menu(window, "alt+c", {"Up", "Up", "Return"});
    return FocusedDialog("Logfile print options");
}

// The start of the first row of the list editor in the dialog's picture,
// under the caption row with its New button: where a short number shows.
QRect FirstRow(const QImage& dialog, QPoint newButton)
{
    return QRect(QPoint(24, newButton.y() + 12), QPoint(70, newButton.y() + 26)).intersected(dialog.rect());
}

// The New button of the list editor, 159 and 52 pixels from the client
// area's top left (the template's place at the dialog font).
QPoint NewButton()
{
    return QPoint(159, 52);
}

// The row of the view's centre, from the plate's left outline to the
// plate's centre: the colours met in order, as runs of pixels alike.
struct ColourRun {
    QRgb colour;
    int length;
};
std::vector<ColourRun> RunsToCentre(const QImage& image, QRect plate)
{
    std::vector<ColourRun> runs;
    const int y = plate.center().y();
    for (int x = plate.left() + 3; x <= plate.center().x(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (!runs.empty() && std::abs(qRed(p) - qRed(runs.back().colour)) < 12 &&
            std::abs(qGreen(p) - qGreen(runs.back().colour)) < 12 &&
            std::abs(qBlue(p) - qBlue(runs.back().colour)) < 12)
            ++runs.back().length;
        else
            runs.push_back({p, 1});
    }
    return runs;
}

// The plate in the plan: the box of the pixels that are neither the view's
// background (its top right corner) nor grey, below the tool bars and left
// of the drawing tool bar, right of the legend.
QRect PlateBox(const QImage& image, QRgb background)
{
    QRect box;
    for (int y = 110; y < image.height() - 220; ++y)
        for (int x = 160; x < image.width() - 60; ++x) {
            const QRgb p = image.pixel(x, y);
            const int chroma = std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
            if (p != background && chroma >= 40)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

// The first row below the menu bar, at the window's middle column, where
// the view's background starts: the tool bars end there.
int ViewTop(const QImage& image, QRgb background)
{
    for (int y = 30; y < image.height() / 2; ++y)
        if (image.pixel(image.width() / 2, y) == background && image.pixel(image.width() / 2 + 40, y) == background)
            return y;
    return -1;
}

TEST(InputsJourney, ListRowsContourBandsAndLargeButtonsAcrossARestart)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    WindowManager wm;
    ASSERT_TRUE(wm.Start());
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString pattern = "^Brantel - plate\\.plb( - \\[.*\\])?$";
    WId window = 0;
    {
        ProgramRun run(BRANTEL_PROGRAM, config.path());
        ASSERT_TRUE(run.Start({SampleFile("plate.plb")}));
        window = run.WaitForWindow(pattern);
        ASSERT_NE(window, 0u);
        GrabWhenStill(window);

        // A new row typed and ended with Enter stays in the dialog; Enter
        // again is OK, and the row is there when the dialog opens again.
        WId dialog = OpenOutputDialog(window);
        ASSERT_NE(dialog, 0u);
        QTest::qWait(500);
        const QPoint client = ClientTopLeft(dialog);
        const QImage empty = GrabWindow(dialog);
        const QRect row = FirstRow(empty, NewButton());
        EXPECT_EQ(DarkShare(empty, row), 0.0) << "the list starts empty";
        Click(client + NewButton());
        QTest::qWait(500);
        Xdo({"type", "--delay", "80", "145"});
        QTest::qWait(300);
        Key({"Return"});
        QTest::qWait(800);
        const QImage typed = GrabWindow(dialog);
        SaveShot(typed, "inputs-output-row-typed.png");
        EXPECT_TRUE(FindDialogWindow("Logfile print options")) << "Enter ended the row, not the dialog";
        Key({"Return"});
        ASSERT_TRUE(WaitDialogGone("Logfile print options", 5000));
        dialog = OpenOutputDialog(window);
        ASSERT_NE(dialog, 0u);
        QTest::qWait(500);
        const QImage reopened = GrabWindow(dialog);
        SaveShot(reopened, "inputs-output-row-reopened.png");
        EXPECT_GT(DarkShare(reopened, row), 0.04) << "the row is kept";
        Key({"Escape"});
        ASSERT_TRUE(WaitDialogGone("Logfile print options", 5000));

        // Five contours of the plan: five coloured bands from the plate's
        // edge to its centre, the view's background between two of them.
        // Calculate needs the mesh made first.
        Menu(window, "alt+m", {"g"});
        GrabWhenStill(window);
        Menu(window, "alt+c", {"c"});
        GrabWhenStill(window);
        Menu(window, "r", {});
        Menu(window, "alt+p", {"c"});
        const WId options = FocusedDialog("View Options");
        ASSERT_NE(options, 0u);
        QTest::qWait(500);
        // "Number of contours": its field, 184 and 192 pixels from the
        // client area's top left (the template's place at the dialog font).
        Xdo({"mousemove", QString::number(ClientTopLeft(options).x() + 184),
             QString::number(ClientTopLeft(options).y() + 192), "click", "--repeat", "3", "1"});
        QTest::qWait(300);
        Xdo({"type", "5"});
        Key({"Return"});
        ASSERT_TRUE(WaitDialogGone("View Options", 5000));
        Menu(window, "alt+v", {"e", "c"});
        Menu(window, "alt+v", {"3", "d"});
        const QImage plan = GrabWhenStill(window);
        SaveShot(plan, "inputs-contour-five-bands.png");
        const QRgb background = plan.pixel(plan.width() - 80, 120);
        const QRect plate = PlateBox(plan, background);
        ASSERT_GT(plate.width(), 100);
        std::vector<ColourRun> runs = RunsToCentre(plan, plate);
        // Anti-aliased seams of a pixel or two belong to neither.
        runs.erase(std::remove_if(runs.begin(), runs.end(), [](const ColourRun& r) { return r.length < 4; }),
                   runs.end());
        int bands = 0, gaps = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const bool gap = runs[i].colour == background;
            if (gap)
                ++gaps;
            else if (i == 0 || runs[i - 1].colour == background)
                ++bands;
        }
        EXPECT_EQ(bands, 5) << "coloured bands from the edge to the centre";
        EXPECT_EQ(gaps, 4) << "background between the bands";

        // Options > Toolbars: Large buttons; the tool bars grow.
        const int smallTop = ViewTop(plan, background);
        Menu(window, "alt+p", {"t"});
        const WId customize = FocusedDialog("Customize");
        ASSERT_NE(customize, 0u);
        QTest::qWait(500);
        Key({"alt+l"});
        QTest::qWait(300);
        Key({"Return"});
        ASSERT_TRUE(WaitDialogGone("Customize", 5000));
        const QImage large = GrabWhenStill(window);
        SaveShot(large, "inputs-large-buttons.png");
        const int largeTop = ViewTop(large, background);
        EXPECT_GT(largeTop, smallTop + 10) << "large buttons make the tool bars taller";
        // The output list changed the document: its question is answered No.
        SendCloseRequest(window);
        if (const WId box = WaitForDialogWhileRunning(run, "Brantel", 10000)) {
            FocusSync(box, 300);
            Key({"alt+n"});
        }
        if (!run.Process().waitForFinished(15000))
            SaveShot(Screen(), "inputs-not-closed.png");
        ASSERT_EQ(run.Process().state(), QProcess::NotRunning);

        // The same configuration folder: the large buttons are back.
        ProgramRun again(BRANTEL_PROGRAM, config.path());
        ASSERT_TRUE(again.Start({SampleFile("plate.plb")}));
        window = again.WaitForWindow(pattern);
        ASSERT_NE(window, 0u);
        Menu(window, "alt+m", {"g"});
        GrabWhenStill(window);
        Menu(window, "alt+c", {"c"});
        GrabWhenStill(window);
        Menu(window, "r", {});
        const QImage restarted = GrabWhenStill(window);
        SaveShot(restarted, "inputs-large-buttons-restarted.png");
        EXPECT_GT(ViewTop(restarted, background), smallTop + 10) << "large buttons after the restart";
        EXPECT_TRUE(again.Close(window));
    }
}

} // namespace inputsjourney

// The extremes and the input ranges as a user meets them in the real
// window: the buckling sample is opened, its buckling analysis run for six
// modes from the Calculate menu, and "Max && min results" lists the
// pre-buckling stresses (sigma x = -1 everywhere) and every mode with its
// load factor (75.92 to 356.4); then the volume-force dialog refuses an
// exponent slip with a message and keeps the field to be mended; Cancel
// in the modes dialog runs nothing; after the thickness went from 10 to
// 20 mm on the region sheet the next buckling analysis runs the membrane
// analysis again and gives 607.36; last (at 10 mm again), Steel's modulus
// is halved in the materials dialog and the next run buckles at half the
// stress (37.96).
// Everything is driven by keys (xdotool) and read as a user can read it:
// the rows of the list, the text of the field and the log are copied with
// Ctrl+C and taken from the clipboard; the dialogs are grabbed into the
// artifacts folder.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"

// A named namespace: the test program is built in unity batches with the
// other journeys' files.
namespace extremesjourney
{

using namespace brantel::test;
using namespace brantel::test::journey;

// True once the dialog window of that title is gone (within 10 s).
bool WaitGone(WId window, const QByteArray& name)
{
    const QDeadlineTimer deadline(10000);
    while (FindDialogWindow(name) == window && !deadline.hasExpired())
        QTest::qWait(100);
    return FindDialogWindow(name) != window;
}

// The window, once drawn, saved into the artifacts folder.
void SaveDrawn(WId window, const char* file)
{
    std::size_t colours = 0;
    const QImage image = GrabWhenDrawn(window, colours);
    EXPECT_TRUE(SaveShot(image, file)) << file;
}

// One row of the extremes list: name, maximum, minimum, unit.
struct Row {
    QString name, max, min, unit;
};

Row SplitRow(const QString& text)
{
    const QStringList parts = text.split('\t');
    Row row;
    if (parts.size() > 0)
        row.name = parts[0];
    if (parts.size() > 1)
        row.max = parts[1];
    if (parts.size() > 2)
        row.min = parts[2];
    if (parts.size() > 3)
        row.unit = parts[3];
    return row;
}

// Calculate > Buckling Analysis, the modes dialog answered with the key
// (Return for OK, Escape for Cancel; the number typed first when modes is
// given).
void RunBuckling(WId window, const char* modes, const char* answer = "Return")
{
    FocusSync(window, 200);
    KeysEach({"alt+c", "b"}, 150, true);
    const WId dialog = WaitForDialogWindow("Number of buckling modes", 10000);
    ASSERT_NE(dialog, 0u) << "no \"Number of buckling modes\" dialog";
    FocusSync(dialog, 200);
    if (modes) {
        KeysEach({"ctrl+a"}, 150, true);
        Xdo({"type", "--delay", "50", modes}, nullptr, 5000);
    }
    KeysEach({answer}, 150, true);
    ASSERT_TRUE(WaitGone(dialog, "Number of buckling modes"));
}

// Calculate > Max && min results (the last item of the menu) once the run
// has delivered its results; before that the command tells that there are
// none, and the box is closed and the command tried again. 0 when the list
// does not come within 60 s.
WId OpenExtremes(WId window)
{
    const QDeadlineTimer finished(60000);
    while (!finished.hasExpired()) {
        FocusSync(window, 200);
        KeysEach({"alt+c", "Up", "Return"}, 150, true);
        if (const WId table = WaitForDialogWindow("Maximum and minimum values", 2000))
            return table;
        if (const WId box = FindDialogWindow("Brantel")) {
            FocusSync(box, 200);
            KeysEach({"Escape"}, 150, true);
        }
        QTest::qWait(500);
    }
    return 0;
}

// The rows of the focused extremes list, read one by one from the top.
QList<Row> ReadRows()
{
    KeysEach({"Home"}, 150, true);
    QList<Row> rows;
    for (int i = 0; i < 30; ++i) {
        const QString text = CopiedText();
        if (!rows.isEmpty() && rows.back().name == SplitRow(text).name)
            break; // the last row: Down moved no further
        rows.push_back(SplitRow(text));
        KeysEach({"Down"}, 150, true);
    }
    return rows;
}

TEST(ExtremesJourney, BucklingModesWithTheirLoadFactorsAndANamedFieldRange)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    ProgramRun run(BRANTEL_PROGRAM, config.path());
    ASSERT_TRUE(run.Start({SampleFile("buckling.shl")}));
    const WId window = run.WaitForWindow("^Brantel - buckling\\.shl( - \\[.*\\])?$");
    ASSERT_NE(window, 0u) << "no window titled \"Brantel - buckling.shl\" within 10 s";
    std::size_t colours = 0;
    GrabWhenDrawn(window, colours);

    // Calculate > Buckling Analysis, six modes.
    RunBuckling(window, "6");
    const WId table = OpenExtremes(window);
    ASSERT_NE(table, 0u) << "no \"Maximum and minimum values\" within 60 s";
    FocusSync(table, 200);
    SaveDrawn(table, "brantel-buckling-extremes.png");
    const QList<Row> rows = ReadRows();
    QStringList names;
    for (const Row& row : rows)
        names << row.name;
    const QStringList expected = {" ",
                                  "Sigma x",
                                  "Sigma y",
                                  "Tau xy",
                                  "u",
                                  "v",
                                  "Buckling mode 1",
                                  "Buckling mode 2",
                                  "Buckling mode 3",
                                  "Buckling mode 4",
                                  "Buckling mode 5",
                                  "Buckling mode 6",
                                  "Sigma_1",
                                  "Sigma_2",
                                  "Eff. stress",
                                  "Distorted model"};
    ASSERT_EQ(names, expected) << names.join(" | ").toStdString();
    // The plate is compressed by 1 N/mm² along x throughout.
    EXPECT_EQ(rows[1].max.toDouble(), -1.0) << rows[1].max.toStdString();
    EXPECT_EQ(rows[1].min.toDouble(), -1.0) << rows[1].min.toStdString();
    EXPECT_TRUE(rows[1].unit.startsWith("N/mm")) << rows[1].unit.toStdString();
    // The pre-buckling principal stresses: 0 and -1.
    EXPECT_NEAR(rows[12].max.toDouble(), 0.0, 1e-9) << rows[12].max.toStdString();
    EXPECT_EQ(rows[13].min.toDouble(), -1.0) << rows[13].min.toStdString();
    // Each mode's maximum is its load factor: the first is the critical
    // stress of the sample, the sixth the largest asked for.
    EXPECT_EQ(rows[6].max, "75.92");
    EXPECT_EQ(rows[11].max, "356.4");
    for (int m = 7; m <= 11; ++m)
        EXPECT_GT(rows[m].max.toDouble(), rows[m - 1].max.toDouble()) << m;
    KeysEach({"Escape"}, 150, true);
    ASSERT_TRUE(WaitGone(table, "Maximum and minimum values"));

    // The results view (R) with the second mode chosen in the result box of
    // the tool bar (its place in the window of the default layout): the
    // legend's title names the mode and its load factor. Only the picture
    // tells it; the test keeps it for a look.
    FocusSync(window, 200);
    KeysEach({"r"}, 150, true);
    QTest::qWait(500);
    Xdo({"mousemove", "--window", QString::number(window), "787", "63"}, nullptr, 5000);
    Xdo({"click", "1"}, nullptr, 5000);
    QTest::qWait(500);
    Xdo({"type", "--delay", "40", "Buckling mode 2"}, nullptr, 5000);
    KeysEach({"Return"}, 150, true);
    QTest::qWait(1500);
    SaveDrawn(window, "brantel-buckling-mode-2.png");

    // Model > Volume forces: an exponent slip in "Value x".
    FocusSync(window, 200);
    KeysEach({"alt+m", "v"}, 150, true);
    const WId forces = WaitForDialogWindow("Volume forces", 10000);
    ASSERT_NE(forces, 0u) << "no \"Volume forces\" dialog";
    FocusSync(forces, 200);
    KeysEach({"ctrl+a"}, 150, true);
    Xdo({"type", "--delay", "50", "1e300"}, nullptr, 5000);
    KeysEach({"Return"}, 150, true);
    // The refusal ("Value x = 1e+300 kN/m^3 is out of range. Enter a value
    // between -1e+15 kN/m^3 and 1e+15 kN/m^3."; its text is checked by the
    // dialog's own tests and seen in the picture) is a message box titled
    // with the program's name.
    const WId box = WaitForDialogWindow("Brantel", 10000);
    ASSERT_NE(box, 0u) << "no message for 1e300";
    FocusSync(box, 200);
    SaveDrawn(box, "brantel-volume-force-range.png");
    KeysEach({"Return"}, 150, true);
    ASSERT_TRUE(WaitGone(box, "Brantel"));
    // The dialog stays open with the refused text in its field, ready to be
    // mended; Esc leaves it.
    EXPECT_EQ(FindDialogWindow("Volume forces"), forces);
    FocusSync(forces, 200);
    EXPECT_EQ(CopiedText(), "1e300");
    KeysEach({"Escape"}, 150, true);
    EXPECT_TRUE(WaitGone(forces, "Volume forces"));

    // Back in the modelling mode (M). Buckling Analysis, Cancel in the
    // modes dialog: nothing runs, the log stays as it was.
    FocusSync(window, 200);
    KeysEach({"m"}, 150, true);
    QTest::qWait(500);
    const QString before = LogText(window);
    ASSERT_TRUE(before.contains("Eigenvalues:")) << before.right(300).toStdString();
    RunBuckling(window, nullptr, "Escape");
    EXPECT_EQ(LogText(window), before) << "Cancel in the modes dialog ran something";
    SaveDrawn(window, "brantel-buckling-cancelled.png");

    // The region's thickness 10 -> 20 mm on its sheet (a double click on
    // the plate, the "Thickness" page, t0), then Buckling Analysis again:
    // the membrane analysis runs again (half the stress) and the first
    // load factor is eight times 75.92.
    const auto thickness = [window](const char* t0) {
        const QRect plate = PlateBox(window);
        ASSERT_GT(plate.width(), 20) << "the plate is not in the view";
        // Beside the load's line through the middle.
        Xdo({"mousemove", "--window", QString::number(window),
             QString::number(plate.center().x() + plate.width() / 4), QString::number(plate.center().y())},
            nullptr, 5000);
        Xdo({"click", "--repeat", "2", "--delay", "80", "1"}, nullptr, 5000);
        const WId region = WaitForDialogWindow("Region", 10000);
        ASSERT_NE(region, 0u) << "no region sheet";
        const auto clickAt = [region](int x, int y) {
            Xdo({"mousemove", "--window", QString::number(region), QString::number(x), QString::number(y)},
                nullptr, 5000);
            Xdo({"click", "1"}, nullptr, 5000);
            QTest::qWait(300);
        };
        clickAt(112, 23); // "Thickness"
        clickAt(95, 131); // t0
        KeysEach({"ctrl+a"}, 150, true);
        Xdo({"type", "--delay", "50", t0}, nullptr, 5000);
        SaveDrawn(region, "brantel-buckling-thickness.png");
        KeysEach({"Return"}, 150, true);
        ASSERT_TRUE(WaitGone(region, "Region"));
    };
    thickness("20");
    RunBuckling(window, "2");
    QString after;
    const QDeadlineTimer solved(90000);
    while (!solved.hasExpired() &&
           (after = LogText(window)).count("Eigenvalues:") <= before.count("Eigenvalues:"))
        QTest::qWait(1000);
    SaveDrawn(window, "brantel-buckling-thicker.png");
    EXPECT_EQ(after.count("Perfoming membrane analysis"), before.count("Perfoming membrane analysis") + 1)
        << after.right(600).toStdString();
    const QString block = after.mid(after.lastIndexOf("Eigenvalues:"));
    const QRegularExpression first("\\n\\s*1\\s+(\\S+)");
    const QRegularExpressionMatch match = first.match(block);
    ASSERT_TRUE(match.hasMatch()) << block.toStdString();
    EXPECT_NEAR(match.captured(1).toDouble(), 607.36, 607.36 * 1e-4) << block.toStdString();
    // Back to 10 mm for the material edit below.
    thickness("10");

    // Model > Materials: Steel's Young's modulus halved, 210000 -> 105000
    // N/mm² (its shear modulus left as shown); the next buckling run gives
    // half the critical stress, 37.96, as the plate's stiffness follows the
    // modulus.
    FocusSync(window, 200);
    KeysEach({"alt+m", "r"}, 150, true);
    const WId materials = WaitForDialogWindow("Edit materials", 10000);
    ASSERT_NE(materials, 0u) << "no \"Edit materials\" dialog";
    FocusSync(materials, 200);
    // The list holds Default, Steel, VOID: Steel, then its name and modulus.
    KeysEach({"Down", "Tab", "Tab"}, 150, true);
    EXPECT_EQ(CopiedText(), "210000");
    KeysEach({"ctrl+a"}, 150, true);
    Xdo({"type", "--delay", "50", "105000"}, nullptr, 5000);
    SaveDrawn(materials, "brantel-materials-steel-modulus.png");
    KeysEach({"Return"}, 150, true);
    ASSERT_TRUE(WaitGone(materials, "Edit materials"));
    RunBuckling(window, nullptr);
    const WId again = OpenExtremes(window);
    ASSERT_NE(again, 0u) << "no \"Maximum and minimum values\" after the modulus edit";
    FocusSync(again, 200);
    SaveDrawn(again, "brantel-buckling-extremes-half-modulus.png");
    const QList<Row> halved = ReadRows();
    ASSERT_GT(halved.size(), 6);
    EXPECT_EQ(halved[6].name, "Buckling mode 1");
    EXPECT_EQ(halved[6].max, "37.96");
    KeysEach({"Escape"}, 150, true);
    ASSERT_TRUE(WaitGone(again, "Maximum and minimum values"));
    EXPECT_TRUE(CloseDiscardingChanges(run, window));
}

} // namespace extremesjourney

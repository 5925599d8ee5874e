// The built program on the test display, driven only by input events as a
// user drives it: results that follow the model after every edit. The
// sample membrane (a strip pulled along x on rollers along its left edge)
// is meshed and calculated, the top edge is put on "Roller 1" through the
// edge page, which deletes the mesh: Calculate fails with "No mesh
// detected"; Generate mesh and Calculate show other extremes.
// Then the tension patch with two roller edges: the top edge free again,
// the held corner made free on its node page and the bottom edge put on
// "Roller 1"; the corner holds what both edges hold and the strip is in its
// uniform state again. And the same patch on a constrained membrane made
// through the new-document wizard. The extremes are read from the
// "Max && min results" dialog: the dialog's pictures are compared, which
// compares the texts it shows. The first journey ends with elements deleted
// in the mesh mode, which stay deleted through Calculate (its log counts).
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"

namespace
{

using namespace brantel::test;
using namespace brantel::test::journey;

QString Id(WId window)
{
    return QString::number(window);
}

// Keys to the window as real (XTEST) key presses, after focusing it.
void KeysToWindow(WId window, const QStringList& keys)
{
    KeysTo(window, keys);
}

// A click of the button at x, y of the window's client area.
void ClickInWindow(WId window, int x, int y, int button = 1)
{
    ClickAt(window, QPoint(x, y), button);
}

// The first line of a mesh generation in the log.
const char* const kMeshLine = "************** Mesh *****************";

// The journey's program: the sample membrane opened from its file, the
// main window set to a known size so that the tool bars keep their places.
class ResultsRun
{
public:
    explicit ResultsRun(const QString& config) : m_run(BRANTEL_PROGRAM, config) {}

    bool Open(const QString& file, const QString& title)
    {
        return m_run.Start({file}) && Found(title);
    }
    bool Start() { return m_run.Start({}); }
    // The main window once its title matches, set to the known size.
    bool Found(const QString& title)
    {
        m_main = m_run.WaitForWindow(title);
        if (!m_main)
            return false;
        Xdo({"windowmove", Id(m_main), "0", "19"}, nullptr, 5000);
        Xdo({"windowsize", Id(m_main), "1280", "1005"}, nullptr, 5000);
        QTest::qWait(1500);
        return true;
    }

    // Calculate > Calculate.
    void Calculate() { KeysToWindow(m_main, {"alt+c", "c"}); }
    // Model > Generate mesh.
    void GenerateMesh() { KeysToWindow(m_main, {"alt+m", "g"}); }
    // Model > Generate mesh, then Calculate > Calculate: a Calculate refused
    // while the mesh is still being made (its message box) is closed and
    // asked for again.
    void MeshAndCalculate()
    {
        GenerateMesh();
        const QDeadlineTimer deadline(60000 * kWaitScale);
        while (!deadline.hasExpired()) {
            Calculate();
            const WId refused = WaitForDialogWindow("Brantel", 1500, 450);
            if (!refused)
                return;
            KeysToWindow(refused, {"Return"});
            WaitDialogGone("Brantel", 5000, 450);
        }
    }

    // Calculate > Max && min results (the menu's last item): the dialog's
    // picture, saved as name, then the dialog closed with Enter. The command
    // waits while a run works, so the picture shows the last run's values.
    QImage MaxMin(const char* name)
    {
        const QDeadlineTimer deadline(90000);
        while (!deadline.hasExpired()) {
            KeysToWindow(m_main, {"alt+c", "Up", "Return"});
            const WId dialog = WaitForDialogWindow("Maximum and minimum values", 5000);
            if (!dialog) {
                KeysToWindow(m_main, {"Escape"});
                continue;
            }
            QTest::qWait(500);
            const QImage image = GrabWindow(dialog);
            SaveShot(image, name);
            KeysToWindow(dialog, {"Return"});
            WaitDialogGone("Maximum and minimum values", 5000);
            return image;
        }
        return {};
    }

    // The model's region in the modelling view: the box of its fill colour.
    QRect Plate() { return PlateBox(m_main); }

    // The object at x, y picked with the tool bar's pick filter on the
    // given entry (0 "Nodes", 1 "Edges"), its context menu's "Edit" chosen:
    // the sheet of that name.
    WId Edit(int filter, int x, int y, const QByteArray& sheet) { return EditPicked(m_main, filter, QPoint(x, y), sheet); }
    WId EditEdge(int x, int y) { return Edit(1, x, y, "Edge information"); }
    WId EditNode(int x, int y) { return Edit(0, x, y, "Node information"); }

    WId Main() const { return m_main; }
    ProgramRun& Run() { return m_run; }

private:
    ProgramRun m_run;
    WId m_main = 0;
};

// The text lines of the Max && min dialog's list: the bands of rows that
// hold dark pixels, top down (the header first, then one per result).
std::vector<QRect> Lines(const QImage& dialog)
{
    std::vector<QRect> lines;
    bool inside = false;
    for (int y = 0; y < dialog.height() - 40; ++y) {
        bool dark = false;
        for (int x = 10; x < 300 && !dark; ++x)
            dark = qGray(dialog.pixel(x, y)) < 100;
        if (dark && !inside)
            lines.push_back(QRect(100, y, 200, 1));
        else if (dark)
            lines.back().setBottom(y);
        inside = dark;
    }
    return lines;
}

// The Max and Min texts of a result's line (1 the first result), as shown:
// the lines follow at the pitch of the first two, which have no
// descenders.
QImage Values(const QImage& dialog, int line)
{
    const std::vector<QRect> lines = Lines(dialog);
    if (lines.size() < 3)
        return {};
    const int pitch = lines[2].top() - lines[1].top();
    return dialog.copy(QRect(100, lines[1].top() - 1 + (line - 1) * pitch, 200, pitch - 1));
}

// The Max text and the Min text of a result's line, as shown: each from
// its first dark column in its half of the line (Max from x = 100 of the
// dialog, Min from x = 200).
std::pair<QImage, QImage> MaxAndMin(const QImage& dialog, int line)
{
    const QImage values = Values(dialog, line);
    if (values.isNull())
        return {};
    const auto text = [&values](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 0; y < values.height(); ++y)
                if (qGray(values.pixel(x, y)) < 100)
                    return values.copy(x, 0, 70, values.height());
        return QImage();
    };
    return {text(0, 100), text(100, 200)};
}

// The new-document wizard's page on show: the viewable window named
// "Brantel" (as the main window is) whose type is a dialog; 0 after 10 s.
WId WizardPage()
{
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QProcess search;
        search.start("xdotool", {"search", "--name", "^Brantel$"});
        search.waitForFinished(5000);
        for (const QByteArray& raw : search.readAllStandardOutput().split('\n')) {
            const QByteArray id = raw.trimmed();
            if (id.isEmpty())
                continue;
            QProcess info;
            info.start("xwininfo", {"-id", QString(id)});
            if (!info.waitForFinished(5000) || !info.readAllStandardOutput().contains("IsViewable"))
                continue;
            QProcess type;
            type.start("xprop", {"-id", QString(id), "_NET_WM_WINDOW_TYPE"});
            if (type.waitForFinished(5000) &&
                type.readAllStandardOutput().contains("_NET_WM_WINDOW_TYPE_DIALOG"))
                return id.toULongLong();
        }
        QTest::qWait(100);
    }
    return 0;
}

TEST(ResultsJourney, ASupportEditedAfterARunChangesTheNextCalculateToTheFreshMeshResult)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    ResultsRun j(config.path());
    ASSERT_TRUE(j.Open(SampleFile("membrane.mem"), "^Brantel - membrane\\.mem( - \\[.*\\])?$"));

    // The sample as read has no mesh: Generate mesh, then Calculate.
    j.MeshAndCalculate();
    const QImage first = j.MaxMin("brantel-journey-maxmin-sample.png");
    ASSERT_FALSE(first.isNull()) << "no Max && min dialog";
    const QRect plate = j.Plate();
    ASSERT_GT(plate.width(), 50) << "the membrane is not in the view";
    SaveShot(GrabWindow(j.Main()), "brantel-journey-calculated.png");

    // The top edge on "Roller 1" through its page, OK.
    const WId sheet = j.EditEdge(plate.center().x(), plate.top() - 1);
    ASSERT_NE(sheet, 0u) << "no edge sheet";
    SaveShot(GrabWindow(sheet), "brantel-journey-edge-page.png");
    ClickInWindow(sheet, 39, 84); // "Roller 1"
    SaveShot(GrabWindow(sheet), "brantel-journey-edge-roller.png");
    KeysToWindow(sheet, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Edge information", 5000));

    // The edit took the mesh with its stale copy of the support: Calculate
    // fails with its message and "No mesh detected" on the Error tab.
    j.Calculate();
    const WId failed = WaitForDialogWindow("Brantel", 30000, 450);
    ASSERT_NE(failed, 0u) << "Calculate ran on the mesh made before the edit";
    SaveShot(Screen(), "brantel-journey-no-mesh.png");
    KeysToWindow(failed, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Brantel", 5000, 450));
    SaveShot(GrabWindow(j.Main()), "brantel-journey-no-mesh-error-tab.png");

    // A fresh mesh: other extremes (the top edge holds the contraction).
    j.MeshAndCalculate();
    const QImage edited = j.MaxMin("brantel-journey-maxmin-edited.png");
    ASSERT_FALSE(edited.isNull());
    EXPECT_NE(edited, first) << "Calculate after the edit shows the old extremes";

    // The tension patch with two roller edges: the top edge free again, the
    // corner at the origin made "Free" on its node page (the sample holds it
    // both ways), the bottom edge on "Roller 1". Nothing holds the corner
    // but the two edges meeting there; Sigma x is the sample's uniform 2
    // N/mm^2 again (Max and Min alike), and so are the displacements.
    const WId top = j.EditEdge(plate.center().x(), plate.top() - 1);
    ASSERT_NE(top, 0u);
    ClickInWindow(top, 39, 66); // "Free"
    KeysToWindow(top, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Edge information", 5000));
    const WId corner = j.EditNode(plate.left(), plate.bottom());
    ASSERT_NE(corner, 0u) << "no node sheet";
    ClickInWindow(corner, 146, 22); // "Boundary conditions"
    ClickInWindow(corner, 39, 66);  // "Free"
    SaveShot(GrabWindow(corner), "brantel-journey-node-free.png");
    KeysToWindow(corner, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Node information", 5000));
    const WId bottom = j.EditEdge(plate.center().x(), plate.bottom());
    ASSERT_NE(bottom, 0u);
    ClickInWindow(bottom, 39, 84); // "Roller 1"
    KeysToWindow(bottom, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Edge information", 5000));
    j.MeshAndCalculate();
    const QImage patch = j.MaxMin("brantel-journey-maxmin-patch.png");
    ASSERT_FALSE(patch.isNull());
    // Sigma x (line 1), v (5), Sigma_1 (8) and the distorted model (11).
    for (int line : {1, 5, 8, 11}) {
        const QImage shown = Values(patch, line);
        ASSERT_FALSE(shown.isNull()) << line;
        EXPECT_EQ(shown, Values(first, line))
            << "line " << line << " differs from the sample's uniform state";
    }
    SaveShot(GrabWindow(j.Main()), "brantel-journey-end.png");

    // The mesh mode (the mode box's third entry), zoomed to the mesh: a band
    // around the nodes at the view's middle, Delete: the elements around
    // them go. Calculate runs on the mesh as it is now: the log counts
    // fewer elements and no mesh was made.
    const QString before = LogText(j.Main());
    const QRegularExpression counted("number of elements: (\\d+)");
    const auto lastCount = [&counted](const QString& text) {
        int count = -1;
        for (auto it = counted.globalMatch(text); it.hasNext();)
            count = it.next().captured(1).toInt();
        return count;
    };
    const int elements = lastCount(before);
    ASSERT_GT(elements, 0) << before.right(400).toStdString();
    const QImage model = GrabWindow(j.Main());
    ClickInWindow(j.Main(), 55, 62);
    Xdo({"key", "Down", "Down", "Return"}, nullptr, 5000);
    ASSERT_TRUE(WaitUntil([&] { return GrabWindow(j.Main()) != model; })) << "no mesh mode";
    QTest::qWait(500);
    const QRect view = WindowRect(j.Main());
    const int cx = view.width() / 2, cy = view.height() * 2 / 5;
    Xdo({"mousemove", "--window", Id(j.Main()), QString::number(cx - 20), QString::number(cy - 15)}, nullptr, 5000);
    Xdo({"mousedown", "1"}, nullptr, 5000);
    for (int step = 1; step <= 4; ++step) {
        Xdo({"mousemove", "--window", Id(j.Main()), QString::number(cx - 20 + 10 * step),
             QString::number(cy - 15 + 8 * step)},
            nullptr, 5000);
        QTest::qWait(100);
    }
    Xdo({"mouseup", "1"}, nullptr, 5000);
    QTest::qWait(300);
    KeysToWindow(j.Main(), {"Delete"});
    QTest::qWait(500);
    SaveShot(GrabWindow(j.Main()), "brantel-journey-elements-deleted.png");
    j.Calculate();
    QString after;
    const QDeadlineTimer solved(60000 * kWaitScale);
    while (!solved.hasExpired() &&
           (after = LogText(j.Main())).count("Setting stresses") <= before.count("Setting stresses"))
        QTest::qWait(1000);
    SaveShot(GrabWindow(j.Main()), "brantel-journey-elements-calculated.png");
    EXPECT_GT(lastCount(after), 0) << after.right(400).toStdString();
    EXPECT_LT(lastCount(after), elements) << "the deleted elements came back";
    EXPECT_EQ(after.count(kMeshLine), before.count(kMeshLine)) << "Calculate made a mesh";
}

// The constrained membrane made as a new user makes it: File > New (the
// wizard at the start) for a membrane on a constrained mesh of Q4
// elements, the default 1000 x 1000 mm square 10 mm thick, the default
// 10 x 10 mesh; the left and bottom edges on "Roller 1" and 10 kN/m along
// x on the right edge, each through its edge sheet (a double click on the
// edge), nothing set on the corners. Generate mesh and Calculate give
// Sigma x = 1 N/mm^2 everywhere: Max and Min read alike.
TEST(ResultsJourney, TheConstrainedTensionPatchWithTwoRollerEdgesIsUniform)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    ResultsRun j(config.path());
    ASSERT_TRUE(j.Start());

    WId page = WizardPage();
    ASSERT_NE(page, 0u) << "no new-document wizard";
    KeysToWindow(page, {"alt+m", "alt+o"}); // "Membrane", "Open"
    QTest::qWait(1000);
    page = WizardPage();
    ASSERT_NE(page, 0u);
    ClickInWindow(page, 28, 62);   // "Constrained mesh"
    ClickInWindow(page, 28, 171);  // "Q4"
    ClickInWindow(page, 423, 279); // "Next >>"
    QTest::qWait(1000);
    page = WizardPage();
    ASSERT_NE(page, 0u);
    KeysToWindow(page, {"alt+f"}); // "Finish"
    const WId quad = WaitForDialogWindow("Quadrilateral region", 10000);
    ASSERT_NE(quad, 0u) << "no quadrilateral dialog";
    ClickInWindow(quad, 62, 156); // the thickness
    KeysToWindow(quad, {"ctrl+a"});
    Xdo({"type", "10"}, nullptr, 5000);
    SaveShot(GrabWindow(quad), "brantel-journey-constrained-quad.png");
    KeysToWindow(quad, {"Return"});
    const WId mesh = WaitForDialogWindow("Constrained mesh", 10000);
    ASSERT_NE(mesh, 0u) << "no mesh settings";
    KeysToWindow(mesh, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Constrained mesh", 5000));
    ASSERT_TRUE(j.Found("^Brantel - Membrane1( - \\[.*\\])?$"));

    // The square is found once the view has drawn its mesh and stopped
    // changing: on a loaded machine the new document's view may still zoom
    // to the region after the title shows it, and edges found before lie
    // elsewhere then.
    GrabWhenStill(j.Main());
    const QRect plate = j.Plate();
    ASSERT_GT(plate.width(), 200) << "the square is not in the view";
    // A double click on the edge opens its sheet; on a loaded machine the
    // two clicks can reach the program as two single ones (the edge only
    // selected), and a person then double-clicks again.
    const auto sheetOf = [&](int x, int y) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            ClickInWindow(j.Main(), 200, 90); // nothing: no selection
            Xdo({"mousemove", "--window", Id(j.Main()), QString::number(x), QString::number(y)}, nullptr, 5000);
            Xdo({"click", "--repeat", "2", "--delay", "80", "1"}, nullptr, 5000);
            if (const WId sheet = WaitForDialogWindow("Edge information", 10000))
                return sheet;
        }
        return WId(0);
    };
    for (const QPoint at :
         {QPoint(plate.left(), plate.center().y()), QPoint(plate.center().x(), plate.bottom())}) {
        const WId sheet = sheetOf(at.x(), at.y());
        if (!sheet)
            SaveShot(GrabWindow(j.Main()), "brantel-journey-patch-no-edge-sheet.png");
        ASSERT_NE(sheet, 0u) << "no edge sheet at " << at.x() << ", " << at.y() << " of the square at "
                             << plate.left() << ", " << plate.top() << " to " << plate.right() << ", "
                             << plate.bottom();
        ClickInWindow(sheet, 39, 84); // "Roller 1"
        KeysToWindow(sheet, {"Return"});
        ASSERT_TRUE(WaitDialogGone("Edge information", 5000));
    }
    const WId right = sheetOf(plate.right(), plate.center().y());
    ASSERT_NE(right, 0u);
    ClickInWindow(right, 159, 22);        // "Load"
    ClickInWindow(right, 28, 129);        // "Global axes"
    for (int y : {56, 80, 104}) { // T1, T2, T3: along x
        ClickInWindow(right, 88, y);
        KeysToWindow(right, {"ctrl+a"});
        Xdo({"type", "10"}, nullptr, 5000);
    }
    SaveShot(GrabWindow(right), "brantel-journey-constrained-load.png");
    KeysToWindow(right, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Edge information", 5000));

    j.MeshAndCalculate();
    const QImage extremes = j.MaxMin("brantel-journey-maxmin-constrained.png");
    ASSERT_FALSE(extremes.isNull());
    SaveShot(GrabWindow(j.Main()), "brantel-journey-constrained.png");
    // Sigma x (line 1), Sigma_1 (8) and the effective stress's maximum (10).
    for (int line : {1, 8}) {
        const auto [max, min] = MaxAndMin(extremes, line);
        ASSERT_FALSE(max.isNull()) << line;
        EXPECT_EQ(max, min) << "line " << line << ": Max and Min differ";
    }
    EXPECT_EQ(MaxAndMin(extremes, 10).first, MaxAndMin(extremes, 1).first)
        << "Eff. stress and Sigma x differ";
}

} // namespace

// The result plots of a membrane as a user reaches them in the built
// program: the sample membrane.mem (a rectangle held along x = 0 and pulled
// along x at x = 200) opened from the command line, meshed through Model >
// Generate mesh, calculated through Calculate > Calculate, shown through
// View > View Results mode; the result component picked in the tool bar's
// result box. The distorted model is a plate whose colours follow the
// displacement (a gradient along x, not one flat colour), and R_x shows
// arrows at the held edge. Node and edge loads typed into their sheets
// show as arrows in their sense at their nodes and beside their edges, in
// the modelling and mesh modes and after saving and reopening. The samples
// are opened from copies in the test's own folder; screenshots go to the
// artifacts folder.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The helpers and tests have a namespace of their own: the test programs
// are unity builds.
namespace resultjourney
{

using namespace brantel::test;
using namespace brantel::test::journey;

// A copy of the sample in the folder: an edit is never saved over the
// repository's sample.
QString SampleCopy(const char* file, const QString& folder)
{
    const QString copy = folder + "/" + file;
    QFile::remove(copy);
    if (!QFile::copy(SampleFile(file), copy))
        return QString();
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

// A user's menu command: Alt and the menu's letter, then the item's letter.
void Menu(WId window, const char* menu, const char* item)
{
    FocusSync(window);
    MenuItem(QString("alt+") + menu, item);
}

struct Field {
    int x = 0, y = 0, width = 0; // y: the middle row
};

// The widest combo box of the tool bars (the top 100 rows), found by its
// frame: two horizontal runs of the frame's grey (each channel 150 to 190,
// equal), 150 to 300 pixels long, of the same start and length, 15 to 30
// rows apart. The program gives the result box the largest width of its
// tool-bar boxes.
Field WidestToolbarBox(const QImage& image)
{
    struct Run {
        int x, y, width;
    };
    std::vector<Run> runs;
    for (int y = 0; y < std::min(100, image.height()); ++y) {
        int start = -1;
        for (int x = 0; x <= image.width(); ++x) {
            const QRgb p = x < image.width() ? image.pixel(x, y) : 0;
            const bool frame = x < image.width() && qRed(p) >= 150 && qRed(p) <= 190 && qRed(p) == qGreen(p) &&
                               qGreen(p) == qBlue(p);
            if (frame && start < 0)
                start = x;
            if (!frame && start >= 0) {
                if (x - start >= 150 && x - start <= 300)
                    runs.push_back({start, y, x - start});
                start = -1;
            }
        }
    }
    Field best;
    for (const Run& top : runs)
        for (const Run& bottom : runs)
            if (std::abs(top.x - bottom.x) <= 2 && std::abs(top.width - bottom.width) <= 2 &&
                bottom.y - top.y >= 15 && bottom.y - top.y <= 30 && top.width > best.width)
                best = {top.x, (top.y + bottom.y) / 2, top.width};
    return best;
}

// Picks the entry of the result box by typing its text into the box's open
// list, as a user does.
void ChooseResult(WId window, const Field& box, const QString& entry)
{
    Xdo({"mousemove", "--window", QString::number(window), QString::number(box.x + box.width / 2),
         QString::number(box.y), "click", "1"});
    QTest::qWait(500);
    Xdo({"type", "--delay", "50", entry});
    Xdo({"key", "Return"});
}

// The plot area: right of the legend (its 130 columns) and above the log
// window, whose top is the first row below the tool bars that is white
// across the middle of the window.
QRect PlotArea(const QImage& image)
{
    int bottom = image.height();
    for (int y = 100; y < image.height(); ++y)
        if (image.pixel(image.width() / 2, y) == qRgb(255, 255, 255) &&
            image.pixel(image.width() / 4, y) == qRgb(255, 255, 255)) {
            bottom = y;
            break;
        }
    return QRect(QPoint(130, 100), QPoint(image.width() - 60, bottom - 40));
}

// The colours of the plot area that cover 300 pixels or more and are
// neither greyish (the plate's outline) nor its background (the colour of
// its top right corner): the plot's fill, not the axes glyph's lines and
// letters.
int PlotColours(const QImage& image)
{
    const QRect area = PlotArea(image);
    const QRgb background = image.pixel(area.right(), area.top());
    std::map<QRgb, int> pixels;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int chroma = std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
            if (p != background && chroma >= 30)
                ++pixels[p];
        }
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](const auto& c) { return c.second >= 300; }));
}

// Pixels of the plot area in the dark reds of the legend's negative end
// (the reactions of the held edge pull against the load): red well above
// green and blue, not the pure red of the axes glyph.
int DarkRedPixels(const QImage& image)
{
    const QRect area = PlotArea(image);
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qRed(p) >= 60 && qRed(p) <= 230 && qGreen(p) < qRed(p) / 3 && qBlue(p) < qRed(p) / 3;
        }
    return count;
}

// The picture saved into the artifacts folder, expected to be written.
void SaveExpected(const QImage& image, const char* name)
{
    EXPECT_TRUE(SaveShot(image, name)) << name;
}

// The bounding box of the pixels of the colour in the view: below the tool
// bars (row 100), left of the drawing tool bar (60 columns) and above the
// log window (180 rows).
QRect BoxOf(const QImage& image, QRgb colour)
{
    QRect box;
    for (int y = 100; y < image.height() - 180; ++y)
        for (int x = 0; x < image.width() - 60; ++x)
            if (image.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The lowest white text field of a dialog: the lowest row with a white run
// of 80 to 200 pixels (a group box's white etched line is longer); its
// middle, 5 rows up.
QPoint LowestField(const QImage& dialog)
{
    for (int y = dialog.height() - 1; y >= 0; --y) {
        int run = 0;
        for (int x = 0; x <= dialog.width(); ++x) {
            if (x < dialog.width() && dialog.pixel(x, y) == qRgb(255, 255, 255)) {
                ++run;
                continue;
            }
            if (run >= 80 && run <= 200)
                return QPoint(x - run / 2, y - 5);
            run = 0;
        }
    }
    return QPoint();
}

// Pixels of the rectangle with one strong primary (0 red, 2 blue) and the
// other two weak: the load arrows' colours. Smoothed, the pixels at a
// line's sides count too: the primary strong, the other two well below it.
int PrimaryPixels(const QImage& image, const QRect& rect, int primary, bool smoothed = false)
{
    int count = 0;
    for (int y = std::max(rect.top(), 0); y <= std::min(rect.bottom(), image.height() - 1); ++y)
        for (int x = std::max(rect.left(), 0); x <= std::min(rect.right(), image.width() - 1); ++x) {
            const QRgb p = image.pixel(x, y);
            const int c[3] = {qRed(p), qGreen(p), qBlue(p)};
            bool hit = c[primary] >= (smoothed ? 200 : 180);
            for (int i = 0; i < 3; ++i)
                hit = hit && (i == primary || (smoothed ? c[i] <= c[primary] - 90 : c[i] < 80));
            count += hit;
        }
    return count;
}

// Blue pixels (the node load's y arrow) in the rectangle.
int BluePixels(const QImage& image, const QRect& rect)
{
    return PrimaryPixels(image, rect, 2);
}

TEST(ResultPlotsJourney, DistortedMembraneAndItsReactionArrows)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString sample = SampleCopy("membrane.mem", config.path());
    ASSERT_FALSE(sample.isEmpty());
    ProgramRun run(BRANTEL_PROGRAM, config.path());
    ASSERT_TRUE(run.Start({sample}));
    const WId window = run.WaitForWindow("^Brantel - membrane\\.mem( - \\[.*\\])?$");
    ASSERT_NE(window, 0u) << "no window titled \"Brantel - membrane.mem\" within 10 s";
    std::size_t colours = 0;
    GrabWhenDrawn(window, colours);

    Menu(window, "m", "g"); // Model > Generate mesh
    SaveExpected(GrabWhenStill(window), "result-plots-mesh.png");
    Menu(window, "c", "c"); // Calculate > Calculate
    SaveExpected(GrabWhenStill(window), "result-plots-calculated.png");
    Menu(window, "v", "r"); // View > View Results mode
    const QImage first = GrabWhenStill(window);
    SaveExpected(first, "result-plots-sigma-x.png");
    // Sigma x of the uniform tension: one plate colour (with its edges).
    const int uniform = PlotColours(first);

    const Field box = WidestToolbarBox(first);
    ASSERT_GE(box.width, 150) << "no result box in the tool bars";

    ChooseResult(window, box, "Distorted model");
    const QImage distorted = GrabWhenStill(window);
    SaveExpected(distorted, "result-plots-distorted.png");
    // The displacement grows along x from the held edge: the plate's
    // colours run through a gradient, far more than the uniform plot's.
    const int gradient = PlotColours(distorted);
    EXPECT_GE(gradient, 20) << "the distorted model is one flat colour";
    EXPECT_GT(gradient, 4 * uniform) << "uniform Sigma x: " << uniform << " colours";
    EXPECT_LT(DarkRedPixels(distorted), 50) << "no reaction arrows in the distorted model";

    ChooseResult(window, box, "R_x");
    const QImage reactions = GrabWhenStill(window);
    SaveExpected(reactions, "result-plots-rx.png");
    EXPECT_GE(DarkRedPixels(reactions), 500) << "no reaction arrows at the held edge";

    EXPECT_TRUE(CloseDiscardingChanges(run, window));
}

// Red pixels (an x load component) in the rectangle.
int RedPixels(const QImage& image, const QRect& rect)
{
    return PrimaryPixels(image, rect, 0);
}

// The edge's load typed into the Load page of its sheet: the second
// component's three values (N1 .. N3), in global axes when asked (a
// membrane's page starts in local axes; a plate's has local axes only);
// then OK.
void TypeEdgeLoad(WId sheet, const QString& value, bool global)
{
    ClickAt(sheet, QPoint(159, 22)); // "Load"
    if (global)
        ClickAt(sheet, QPoint(28, 129)); // "Global axes"
    for (int y : {56, 80, 104}) {
        ClickAt(sheet, QPoint(288, y));
        KeysTo(sheet, {"ctrl+a"});
        Xdo({"type", "--", value});
    }
    SaveExpected(GrabWindow(sheet), qPrintable("load-arrows-edge-page-" + value + ".png"));
    KeysTo(sheet, {"Return"}); // OK
    EXPECT_TRUE(WaitDialogGone("Edge information", 5000));
}

// The load arrows of the view: in the bands beside the loaded edges, at
// least half the edge's length of pixels in the load's colour (the
// outline running along the edge); inside the plate (whose supported
// edges are drawn red) none of either colour.
struct LoadBand {
    QRect band;
    int minimum;
    bool red;
    const char* where;
};

// Pixels of the rectangle in a load colour (0 red, 2 blue), smoothed lines
// included.
int LoadPixels(const QImage& image, const QRect& rect, int primary)
{
    return PrimaryPixels(image, rect, primary, true);
}

// The inside leaves out a margin at the right edge, where a node load at a
// right corner may run along the edge with its head's barbs on the plate.
void ExpectLoadsBeside(const QImage& shot, const QRect& plate, const std::vector<LoadBand>& bands,
                       bool nodeLoadOnTheRight = false)
{
    const QRect inside = plate.adjusted(6, 6, nodeLoadOnTheRight ? -6 - plate.width() / 10 : -6, -6);
    EXPECT_EQ(LoadPixels(shot, inside, 0), 0) << "red drawn across the plate";
    EXPECT_EQ(LoadPixels(shot, inside, 2), 0) << "blue drawn across the plate";
    for (const LoadBand& b : bands) {
        const int pixels = LoadPixels(shot, b.band, b.red ? 0 : 2);
        EXPECT_GE(pixels, b.minimum) << "no load arrows " << b.where;
    }
}

// The picture of the window in the mesh mode (the mode box's third entry)
// once a mesh is made, then back in the modelling mode.
QImage MeshModePicture(WId window)
{
    Menu(window, "m", "g"); // Model > Generate mesh
    GrabWhenStill(window);
    ClickAt(window, QPoint(55, 62));
    KeysTo(window, {"Down", "Down", "Return"});
    const QImage mesh = GrabWhenStill(window);
    Menu(window, "v", "m"); // View > View Modelling mode
    GrabWhenStill(window);
    return mesh;
}

// File > Save, File > Close, and the file opened again from the File menu's
// list of recent files (its first entry): the window's picture then.
QImage SavedAndReopened(WId window, const QString& file, const QString& title)
{
    const qint64 size = QFileInfo(file).size();
    const QDateTime written = QFileInfo(file).lastModified();
    Menu(window, "f", "s"); // File > Save
    EXPECT_TRUE(WaitUntil([&] {
        const QFileInfo now(file);
        return now.size() != size || now.lastModified() != written;
    })) << "not saved";
    Menu(window, "f", "c"); // File > Close
    EXPECT_TRUE(WaitUntil([&] { return !WindowName(window).contains(QFileInfo(file).fileName()); }))
        << "not closed";
    Menu(window, "f", "1"); // the recent file
    EXPECT_TRUE(WaitForTitle(window, title)) << "not reopened";
    return GrabWhenStill(window);
}

// Node and edge loads typed into their sheets, as a user gives them,
// stand at their nodes and beside their edges in their sense, outside the
// plate, in the modelling and mesh modes, and again after File > Save and
// the file reopened. The sample membrane (200 x 100 mm, held along x = 0,
// pulled along +x at x = 200: red arrows beside the right edge): a node
// load of -2 kN along y at its top right corner (a double click there)
// shows as a blue arrow from the corner downwards, its length a third of
// the model's diagonal (the largest node load's scale); 5 kN/m along the
// top edge's local normal (pulling the edge up, out of the membrane) and
// 5 kN/m along global y on the bottom edge (pushing it up, into the
// membrane) stand above and below the membrane. Then the sample plate,
// opened by File > Open: a lateral load of 10 kN/m on its right edge
// stands beside that edge, outside the plate, and a lateral node load at
// the top left corner as an arrow upwards from it. None is drawn across
// the plates.
TEST(ResultPlotsJourney, NodeAndEdgeLoadsStandAtTheirNodesAndEdgesThroughSaveAndReopen)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString sample = SampleCopy("membrane.mem", config.path());
    ASSERT_FALSE(sample.isEmpty());
    const QString platePath = SampleCopy("plate.plb", config.path());
    ASSERT_FALSE(platePath.isEmpty());
    ProgramRun run(BRANTEL_PROGRAM, config.path());
    ASSERT_TRUE(run.Start({sample}));
    const WId window = run.WaitForWindow("^Brantel - membrane\\.mem( - \\[.*\\])?$");
    ASSERT_NE(window, 0u) << "no window titled \"Brantel - membrane.mem\" within 10 s";
    // The window at a known size: the tool bars keep their places (the pick
    // filter's box, the mode box).
    Xdo({"windowmove", QString::number(window), "0", "19"});
    Xdo({"windowsize", QString::number(window), "1280", "1005"});
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).width() == 1280; })) << "the window keeps its size";
    std::size_t colours = 0;
    GrabWhenDrawn(window, colours);
    const QImage before = GrabWhenStill(window);

    // The plate is drawn solid in the modelling view's grey.
    const QRect plate = BoxOf(before, qRgb(128, 128, 128));
    ASSERT_GE(plate.width(), 50) << "no plate in the modelling view";
    const QPoint corner(plate.right() + 1, plate.top() - 1);
    Xdo({"windowfocus", "--sync", QString::number(window)});
    Xdo({"mousemove", "--window", QString::number(window), QString::number(corner.x()),
         QString::number(corner.y()), "click", "--repeat", "2", "1"});
    WId sheet = 0;
    const QDeadlineTimer shown(10000);
    while (!sheet && !shown.hasExpired()) {
        sheet = FindDialogWindow("Node information");
        if (!sheet)
            QTest::qWait(100);
    }
    ASSERT_NE(sheet, 0u) << "no \"Node information\" sheet on a double click at the corner " << corner.x() << "," << corner.y();
    const QImage page = GrabWhenStill(sheet);
    SaveExpected(page, "result-plots-node-sheet.png");
    // The node load's Y field, the page's lowest text field.
    const QPoint field = LowestField(page);
    ASSERT_FALSE(field.isNull());
    // Keys go to the focused window (without a window manager a click
    // does not move the focus).
    Xdo({"windowfocus", "--sync", QString::number(sheet)});
    QTest::qWait(300);
    Xdo({"mousemove", "--window", QString::number(sheet), QString::number(field.x()), QString::number(field.y()),
         "click", "1"});
    QTest::qWait(300);
    Xdo({"key", "ctrl+a"});
    Xdo({"type", "--", "-2"}); // "--": the text is no option of xdotool's
    Xdo({"key", "Return"});    // OK
    const QImage after = GrabWhenStill(window);
    SaveExpected(after, "result-plots-node-load.png");

    // The arrow runs from the corner down (the load's sense), about a third
    // of the diagonal (224 mm) long: the plate is 200 mm wide on screen.
    const double perMillimetre = (plate.width() + 1) / 200.0;
    const int length = static_cast<int>(224.0 / 3.0 * perMillimetre);
    const QRect below(corner.x() - 8, corner.y() + 2, 17, length + 10);
    const QRect above(corner.x() - 8, corner.y() - length - 10, 17, length + 8);
    EXPECT_EQ(BluePixels(before, below), 0);
    EXPECT_GE(BluePixels(after, below), length / 2) << "no arrow below the loaded corner";
    EXPECT_EQ(BluePixels(after, above), 0) << "an arrow against the load's sense";
    EXPECT_LT(BluePixels(after, QRect(corner.x() - 8, corner.y() + length + 15, 17, 100)), 5)
        << "the arrow is longer than the load's scale";

    // The edge loads, each through its edge's sheet.
    const WId top = EditPicked(window, 1, QPoint(plate.center().x(), plate.top() - 1), "Edge information");
    ASSERT_NE(top, 0u) << "no edge sheet for the top edge";
    TypeEdgeLoad(top, "5", false);
    const WId bottom = EditPicked(window, 1, QPoint(plate.center().x(), plate.bottom() + 1), "Edge information");
    ASSERT_NE(bottom, 0u) << "no edge sheet for the bottom edge";
    TypeEdgeLoad(bottom, "5", true);
    ClickAt(window, QPoint(200, 200)); // nothing selected: no highlight
    const auto membraneBands = [](const QRect& box) {
        const int w = box.width(), h = box.height();
        return std::vector<LoadBand>{
            {QRect(box.left() + 4, box.top() - h - 2, w - 8, h), w / 2, false, "above the top edge"},
            {QRect(box.left() + 4, box.bottom() + 3, w - 8, h), w / 2, false, "below the bottom edge"},
            {QRect(box.right() + 3, box.top() + 4, w, h - 8), h / 2, true, "beside the right edge"},
        };
    };
    const QImage membrane = GrabWhenStill(window);
    SaveExpected(membrane, "load-arrows-membrane.png");
    {
        SCOPED_TRACE("membrane, modelling mode");
        ExpectLoadsBeside(membrane, plate, membraneBands(plate), true);
    }
    const QImage membraneMesh = MeshModePicture(window);
    SaveExpected(membraneMesh, "load-arrows-membrane-mesh.png");
    {
        SCOPED_TRACE("membrane, mesh mode");
        const QRect box = BoxOf(membraneMesh, qRgb(128, 128, 128));
        ExpectLoadsBeside(membraneMesh, box, membraneBands(box), true);
    }
    const QImage membraneAgain =
        SavedAndReopened(window, sample, "^Brantel - membrane\\.mem( - \\[.*\\])?$");
    SaveExpected(membraneAgain, "load-arrows-membrane-reopened.png");
    {
        SCOPED_TRACE("membrane, reopened");
        const QRect box = BoxOf(membraneAgain, qRgb(128, 128, 128));
        ASSERT_GE(box.width(), 50) << "no membrane after reopening";
        ExpectLoadsBeside(membraneAgain, box, membraneBands(box), true);
        EXPECT_GE(LoadPixels(membraneAgain, QRect(box.right() - 7, box.top() + 2, 17, length + 10), 2), length / 2)
            << "no node load arrow after reopening";
    }

    // The sample plate (1000 x 1000 mm, held on all edges), opened beside.
    FocusSync(window);
    ASSERT_TRUE(Key({"ctrl+o"}));
    ASSERT_TRUE(AnswerFileDialog("Open", platePath)) << "no file dialog for Ctrl+O";
    ASSERT_TRUE(WaitForTitle(window, "^Brantel - plate\\.plb( - \\[.*\\])?$"));
    const QRect square = BoxOf(GrabWhenStill(window), qRgb(128, 128, 128));
    ASSERT_GE(square.width(), 50) << "no plate in the modelling view";
    const WId right = EditPicked(window, 1, QPoint(square.right() + 1, square.center().y()), "Edge information");
    ASSERT_NE(right, 0u) << "no edge sheet for the plate's right edge";
    TypeEdgeLoad(right, "10", false);
    const WId node = EditPicked(window, 0, QPoint(square.left() - 1, square.top() - 1), "Node information");
    ASSERT_NE(node, 0u) << "no node sheet for the plate's top left corner";
    const QPoint loadField = LowestField(GrabWhenStill(node));
    ASSERT_FALSE(loadField.isNull());
    ClickAt(node, loadField);
    KeysTo(node, {"ctrl+a"});
    Xdo({"type", "--", "5"});
    KeysTo(node, {"Return"});
    ASSERT_TRUE(WaitDialogGone("Node information", 5000));
    ClickAt(window, QPoint(200, 200));
    // The arrows are a third of the diagonal long: half the plate's width.
    const auto plateBands = [](const QRect& box) {
        const int w = box.width(), h = box.height();
        return std::vector<LoadBand>{
            {QRect(box.right() + 3, box.top() + 4, w / 2 + 8, h - 8), h / 2, false, "beside the right edge"},
            {QRect(box.left() - 8, box.top() - w / 2 - 8, 17, w / 2 + 4), w / 4, false, "above the loaded corner"},
        };
    };
    const QImage plated = GrabWhenStill(window);
    SaveExpected(plated, "load-arrows-plate.png");
    {
        SCOPED_TRACE("plate, modelling mode");
        ExpectLoadsBeside(plated, square, plateBands(square));
    }
    const QImage plateMesh = MeshModePicture(window);
    SaveExpected(plateMesh, "load-arrows-plate-mesh.png");
    {
        SCOPED_TRACE("plate, mesh mode");
        const QRect box = BoxOf(plateMesh, qRgb(128, 128, 128));
        ExpectLoadsBeside(plateMesh, box, {plateBands(box)[0]});
    }
    const QImage plateAgain = SavedAndReopened(window, platePath, "^Brantel - plate\\.plb( - \\[.*\\])?$");
    SaveExpected(plateAgain, "load-arrows-plate-reopened.png");
    {
        SCOPED_TRACE("plate, reopened");
        const QRect box = BoxOf(plateAgain, qRgb(128, 128, 128));
        ASSERT_GE(box.width(), 50) << "no plate after reopening";
        ExpectLoadsBeside(plateAgain, box, plateBands(box));
    }

    EXPECT_TRUE(CloseDiscardingChanges(run, window));
}

// The sample buckling.shl pushes its right edge (x = 1000) inwards along
// x: the red compression arrows stand in a band beside that edge, outside
// the plate, pushing at it, in the modelling view and once meshed alike;
// inside the plate (whose edges are drawn red by their supports) there is
// no red: no arrows along the top and bottom edges, no line through it.
TEST(ResultPlotsJourney, EdgeCompressionShowsAtTheLoadedEdge)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString sample = SampleCopy("buckling.shl", config.path());
    ASSERT_FALSE(sample.isEmpty());
    ProgramRun run(BRANTEL_PROGRAM, config.path());
    ASSERT_TRUE(run.Start({sample}));
    const WId window = run.WaitForWindow("^Brantel - buckling\\.shl( - \\[.*\\])?$");
    ASSERT_NE(window, 0u) << "no window titled \"Brantel - buckling.shl\" within 10 s";
    std::size_t colours = 0;
    GrabWhenDrawn(window, colours);
    const QImage model = GrabWhenStill(window);
    SaveExpected(model, "edge-load-buckling-model.png");
    const QRect plate = BoxOf(model, qRgb(128, 128, 128));
    ASSERT_GE(plate.width(), 50) << "no plate in the modelling view";

    Menu(window, "m", "g"); // Model > Generate mesh
    const QImage meshed = GrabWhenStill(window);
    SaveExpected(meshed, "edge-load-buckling-mesh.png");

    for (const QImage* shot : {&model, &meshed}) {
        SCOPED_TRACE(shot == &model ? "modelling view" : "meshed");
        // The arrows are a third of the diagonal long: half the plate's width.
        const QRect beside(plate.right() + 4, plate.top() + 4, plate.width() / 2 + 8, plate.height() - 8);
        const QRect inside = plate.adjusted(6, 6, -6, -6);
        EXPECT_GE(RedPixels(*shot, beside), plate.height() / 2) << "no arrows beside the right edge";
        EXPECT_EQ(RedPixels(*shot, inside), 0) << "load drawn across the plate";
    }
    EXPECT_TRUE(CloseDiscardingChanges(run, window));
}

} // namespace resultjourney

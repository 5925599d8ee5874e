// The modelling tools in the real program, as a user works: the built
// program started on the test display in its own process and driven only
// by X input (xdotool), checked on grabs of its window and on the texts a
// person reads there (the status bar and the log, read back with the OCR
// program tesseract). A new plate document shows its grid at once; two
// rectangles drawn with the mouse are united and divided again; a VOID
// circle goes inside one half; the model is meshed; its regions are
// exported as text and imported into a new plate. The screenshots are
// saved in the artifacts folder. The program runs in a folder of its own,
// where its file dialogs open, so that only bare file names are typed (a
// typed path loses keys to the dialog's completion list).
#include <algorithm>
#include <vector>
#include <cctype>
#include <string>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"

namespace
{

using namespace brantel::test;
using namespace brantel::test::journey;

// Waits for the program to take a step; the sanitizer build of the program
// is slower by about three times.
void Pause(int milliseconds)
{
#ifdef BRANTEL_SANITIZED
    milliseconds *= 3;
#endif
    QTest::qWait(milliseconds);
}

// Letters and digits only, in lower case: what an OCR reading and the text
// shown have in common.
std::string Letters(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

// The main window of one program run, driven by X input.
class Journey
{
public:
    explicit Journey(WId window) : m_window(window) {}

    QImage Grab() { return QGuiApplication::primaryScreen()->grabWindow(m_window).toImage(); }
    // The grab saved as brantel-modelling-<name>.png.
    QImage Shot(const char* name)
    {
        Pause(700);
        const QImage image = Grab();
        image.save(QDir(afxui::qt::testing::ArtifactsFolder()).filePath(QString("brantel-modelling-") + name + ".png"));
        return image;
    }
    void Keys(const QStringList& keys)
    {
        for (const QString& key : keys) {
            Xdo({"key", "--clearmodifiers", key});
            Pause(250);
        }
    }
    void Type(const QString& text)
    {
        Xdo({"type", "--delay", "5", text});
        Pause(250);
    }
    // A click at the window's pixel, with the modifier key held when given.
    void Click(QPoint at, const QString& modifier = QString())
    {
        Xdo({"mousemove", "--window", QString::number(m_window), QString::number(at.x()),
                 QString::number(at.y())});
        Pause(150);
        if (!modifier.isEmpty())
            Xdo({"keydown", modifier});
        Xdo({"click", "1"});
        if (!modifier.isEmpty())
            Xdo({"keyup", modifier});
        Pause(400);
    }
    // The keyboard focus back to the main window: without a window manager
    // it stays with a dialog that has closed.
    void Focus()
    {
        Xdo({"windowfocus", "--sync", QString::number(m_window)});
        Pause(200);
    }
    // Waits (10 s at most) until the keyboard focus is on a window other
    // than the main window, whose title starts with "Brantel - ": a dialog
    // that opened, so that what is typed next goes to it.
    bool WaitForDialog(int milliseconds = 10000)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired()) {
            QProcess tool;
            tool.start("xdotool", {"getwindowfocus", "getwindowname"});
            const bool ok = tool.waitForFinished(5000) && tool.exitCode() == 0;
            if (ok && !tool.readAllStandardOutput().startsWith("Brantel - ")) {
                Pause(300);
                return true;
            }
            QTest::qWait(100);
        }
        return false;
    }
    // A menu item that opens a dialog, by its menu's and its own mnemonic,
    // given time to open; tried again when no dialog came (a key typed
    // before the menu was up is lost).
    void MenuDialog(const QString& menu, const QString& item)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Keys({menu});
            Pause(700);
            Keys({item});
            if (WaitForDialog(5000))
                return;
            Keys({"Escape"});
            Focus();
        }
    }
    void Move(QPoint at)
    {
        Xdo({"mousemove", "--window", QString::number(m_window), QString::number(at.x()),
                 QString::number(at.y())});
        Pause(200);
    }

    // The text of a part of the window, read by tesseract from a grab
    // enlarged three times; lines joins the lines of the part.
    std::string Read(QRect part, bool lines = false) { return ReadText(Grab().copy(part), lines); }

    WId m_window;
};

// The box of the white pixels (the modelling view's background) of a grab.
QRect WhiteArea(const QImage& image)
{
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixel(x, y) == qRgb(255, 255, 255)) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

// The most frequent colour of the 9 x 9 pixels around a point: the colour
// there without the grid's dots drawn over it.
QRgb Mostly(const QImage& image, QPoint at)
{
    std::vector<QRgb> seen;
    for (int y = at.y() - 4; y <= at.y() + 4; ++y)
        for (int x = at.x() - 4; x <= at.x() + 4; ++x)
            seen.push_back(image.pixel(x, y));
    std::sort(seen.begin(), seen.end());
    QRgb best = seen.front();
    std::size_t bestRun = 0;
    for (std::size_t i = 0; i < seen.size();) {
        std::size_t j = i;
        while (j < seen.size() && seen[j] == seen[i])
            ++j;
        if (j - i > bestRun) {
            bestRun = j - i;
            best = seen[i];
        }
        i = j;
    }
    return best;
}

// Pixels of the part that are neither white nor red (the axes).
int GridPixels(const QImage& image, QRect part)
{
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool white = c.red() > 245 && c.green() > 245 && c.blue() > 245;
            const bool red = c.red() > 150 && c.green() < 100 && c.blue() < 100;
            count += !white && !red ? 1 : 0;
        }
    return count;
}

// Answers the start wizard for a plate document: the type, then Next and
// Finish.
void NewPlate(Journey& journey)
{
    journey.Keys({"alt+p"});
    Pause(800);
    journey.Keys({"Return"});
    Pause(800);
    journey.Keys({"Return"});
    Pause(1000);
}

TEST(BrantelModelling, DrawUniteDivideHoleAndMesh)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    if (QStandardPaths::findExecutable("tesseract").isEmpty()) {
        if (qEnvironmentVariableIsSet("BRANTEL_REQUIRE_GUI"))
            FAIL() << "tesseract is not installed (scripts/deps.sh installs it)";
        GTEST_SKIP() << "tesseract is not installed";
    }
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    QDir(work.path()).mkpath("config");
    ProgramRun run(BRANTEL_PROGRAM, work.filePath("config"));
    run.Process().setWorkingDirectory(work.path());
    ASSERT_TRUE(run.Start({}));
    // The start wizard's first page, then the new plate's window.
    Pause(3000);
    WId window = 0;
    const QDeadlineTimer wizard(15000);
    while (!window && !wizard.hasExpired()) {
        window = FindDialogWindow("Brantel", 1000);
        if (!window)
            Pause(200);
    }
    ASSERT_NE(window, 0u) << "no start wizard within 15 s";
    Xdo({"windowfocus", "--sync", QString::number(window)});
    Journey journey(0);
    NewPlate(journey);
    window = run.WaitForWindow("^Brantel - Plate1( - \\[.*\\])?$");
    ASSERT_NE(window, 0u) << "no window \"Brantel - Plate1\"";
    journey.m_window = window;
    Xdo({"windowfocus", "--sync", QString::number(window)});

    // The new document's view shows its grid, without any zoom.
    const QImage fresh = journey.Shot("1-new");
    const QRect view = WhiteArea(fresh);
    ASSERT_GT(view.width(), 400) << "no white modelling view";
    ASSERT_GT(view.height(), 300);
    const QPoint c = view.center();
    // Away from the axes through the origin (the middle) and the triad.
    const QRect quarter(view.left() + view.width() / 2 + 20, view.top() + 10, view.width() / 2 - 40,
                        view.height() / 2 - 30);
    EXPECT_GT(GridPixels(fresh, quarter), 200) << "no grid in a new document";
    const QRect messagePane(0, fresh.height() - 22, 700, 22);

    // A rectangle, and a second one on its right side: the first click of
    // the second snaps to the first's corner, its computed corner to the
    // other corner.
    const int s = 60;
    const QPoint a(c.x() - 2 * s, c.y() - s), b(c.x(), c.y() + s), e(c.x() + 2 * s, c.y() + s);
    journey.Keys({"shift+r"});
    journey.Click(a);
    journey.Click(b);
    journey.Keys({"shift+r"});
    journey.Click(QPoint(b.x(), a.y()));
    journey.Click(e);
    const QImage two = journey.Shot("2-two-rectangles");
    const QPoint onLine(b.x(), c.y());
    EXPECT_NE(two.pixel(onLine), Mostly(two, QPoint(c.x() - s, c.y()))) << "the common side is drawn";

    // Both selected (a click and a Shift click), then Union: the common side
    // goes.
    journey.Click(QPoint(c.x() - s, c.y() + s / 2));
    journey.Click(QPoint(c.x() + s, c.y() + s / 2), "shift");
    journey.Keys({"ctrl+u"});
    journey.Click(QPoint(view.right() - 30, view.bottom() - 30)); // clears the selection
    const QImage united = journey.Shot("3-united");
    EXPECT_EQ(Mostly(united, onLine), Mostly(united, QPoint(c.x() - s, c.y()))) << "no line left across the union";

    // Divide: its prompt in the status bar; the two nodes the union left;
    // two rectangles again, the line between them drawn.
    journey.Keys({"ctrl+d"});
    journey.Move(QPoint(c.x(), c.y() + 2 * s));
    EXPECT_NE(Letters(journey.Read(messagePane)).find(Letters("Please select two nodes")), std::string::npos)
        << journey.Read(messagePane);
    journey.Shot("4-divide-prompt");
    journey.Click(QPoint(b.x(), a.y()));
    journey.Click(b);
    const QImage divided = journey.Shot("5-divided");
    EXPECT_NE(divided.pixel(onLine), Mostly(divided, QPoint(c.x() - s, c.y()))) << "the division line is drawn";

    // A circle whose radius point is its centre (a corner) is refused with
    // the reason in the status bar; then a circle inside the left half.
    journey.Keys({"shift+c"});
    journey.Click(a);
    journey.Click(a);
    const std::string refusal = journey.Read(messagePane);
    EXPECT_NE(Letters(refusal).find(Letters("The radius point lies on the centre")), std::string::npos) << refusal;
    journey.Shot("6-circle-refused");
    journey.Keys({"shift+c"});

    // Shapes without area, drawn above the model, are refused with the
    // reason in the status bar; the model keeps no trace of them (the mesh
    // below would fail on a region of no size). The rectangle and the
    // circle keep their first point, so their tools are ended by their keys.
    const int above = c.y() - s - 40;
    const QImage beforeShapes = journey.Shot("6a-before-shapes");
    // The reason's words up to its colon: the OCR reads "corners" as
    // "comers" at times.
    const auto refused = [&](const std::string& text) {
        const std::string read = journey.Read(messagePane);
        EXPECT_NE(Letters(read).find(Letters(text.substr(0, text.find(':')))), std::string::npos) << read;
    };
    journey.Keys({"shift+r"});
    journey.Click(QPoint(c.x() - 100, above));
    journey.Click(QPoint(c.x() - 100, above));
    refused("The rectangle cannot be built: its corners lie on one line");
    journey.Shot("6b-rectangle-refused");
    journey.Keys({"shift+r", "shift+t"});
    journey.Click(QPoint(c.x() - 60, above));
    journey.Click(QPoint(c.x() + 20, above));
    journey.Click(QPoint(c.x() - 20, above));
    refused("The triangle cannot be built: its corners lie on one line");
    journey.Keys({"shift+t", "shift+q"});
    for (int dx : {-60, 60, 20, -20})
        journey.Click(QPoint(c.x() + dx, above));
    refused("The quadrilateral cannot be built: it has no area");
    journey.Keys({"shift+q", "shift+c"});
    journey.Click(QPoint(c.x() + 100, above));
    journey.Click(QPoint(c.x() + 100, above));
    // The centre and the radius point coincide: the program asks whether
    // to keep the centre; Cancel.
    ASSERT_NE(WaitForDialogWindow("Brantel", 10000), 0u) << "no question about the centre";
    journey.Keys({"Escape"});
    journey.Focus();
    refused("The circle cannot be built: its radius is 0");
    journey.Keys({"shift+c"});
    const QImage afterShapes = journey.Shot("6c-shapes-refused");
    // The view alone: the log below it holds the reasons.
    EXPECT_LT(DifferingShare(beforeShapes, afterShapes, FindWhiteView(beforeShapes, beforeShapes.rect())), 0.001)
        << "a refused shape left a trace";
    // The active material: VOID, chosen in the tool bar's material box
    // ("Default", then "VOID").
    journey.Click(QPoint(487, 62));
    journey.Keys({"Down", "Return"});
    journey.Keys({"shift+c"});
    journey.Click(QPoint(c.x() - s, c.y()));
    journey.Click(QPoint(c.x() - s + 25, c.y()));
    journey.WaitForDialog();
    journey.Keys({"Return"}); // the circle's segments and shape as offered
    Pause(800);
    journey.Focus();
    const QImage circle = journey.Shot("7-circle");
    EXPECT_EQ(Mostly(circle, QPoint(c.x() - s + 5, c.y() + 5)), qRgb(255, 255, 255)) << "a VOID circle is a hole";
    EXPECT_NE(Mostly(circle, QPoint(c.x() - s - 40, c.y() + 20)), qRgb(255, 255, 255)) << "the half around it is filled";

    // Mesh: the view shows the elements at once.
    journey.Keys({"alt+m"});
    Pause(700);
    journey.Keys({"g"});
    Pause(4000);
    const QImage meshed = journey.Shot("8-meshed");
    EXPECT_GT(DifferingShare(circle, meshed, view), 0.002) << "the mesh is not drawn";
    const std::string meshLog = journey.Read(QRect(0, meshed.height() - 115, meshed.width() - 40, 75), true);
    EXPECT_NE(Letters(meshLog).find(Letters("number of elements")), std::string::npos) << meshLog;

    // Model > Export region: a bare name in the file dialog (it opens in
    // the program's folder), then OK in the scale dialog. The text holds
    // the three regions.
    journey.Focus();
    journey.Keys({"alt+m", "e"});
    ASSERT_TRUE(AnswerFileDialog("Save As", "regions")) << "no file dialog for Export region, or it stayed";
    ASSERT_NE(FocusedDialog("Import/Export section modules"), 0u) << "no scale dialog";
    journey.Keys({"Return"});
    const QString exported = QDir(work.path()).filePath("regions.txt");
    ASSERT_TRUE(WaitForFile(exported)) << "regions.txt was not written";
    QFile text(exported);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll().count("Section"), 3) << "not three regions in the text";

    // File > New, then Model > Import region of that file: the regions come
    // back, zoomed to fit, and the log says what the text does not carry.
    journey.Focus();
    ASSERT_TRUE(NewPlateByWizard(window, "Brantel - Plate2")) << "File > New did not make Plate2";
    journey.Focus();
    journey.Keys({"alt+m", "i"});
    ASSERT_TRUE(AnswerFileDialog("Open", "regions.txt")) << "no file dialog for Import region, or it stayed";
    ASSERT_NE(FocusedDialog("Import/Export section modules"), 0u) << "no scale dialog";
    journey.Keys({"Return"});
    journey.Focus();
    const QImage imported = journey.Shot("9-imported");
    const std::string importLog = journey.Read(QRect(0, imported.height() - 115, imported.width() - 40, 75), true);
    EXPECT_NE(Letters(importLog).find(Letters("The region text carries no materials, supports or loads")),
              std::string::npos)
        << importLog;
    // The regions fill the view as the plate did: twice as wide as high,
    // the division line across the middle and the circle in the left half,
    // drawn over the region's grey.
    // (The white box of the first grab also holds the log's white pane; the
    // view alone ends at the grey of the bars around it.)
    const QRgb grey = Mostly(two, QPoint(c.x() - s, c.y()));
    const QRect viewOnly = FindWhiteView(fresh, fresh.rect());
    int x0 = imported.width(), y0 = imported.height(), x1 = -1, y1 = -1;
    for (int y = viewOnly.top(); y <= viewOnly.bottom(); ++y)
        for (int x = viewOnly.left(); x <= viewOnly.right(); ++x)
            if (imported.pixel(x, y) == grey) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    ASSERT_GT(x1 - x0, viewOnly.width() / 2) << "the imported regions do not fill the view";
    EXPECT_NEAR(double(x1 - x0) / double(y1 - y0), 2.0, 0.1);
    const QRect plate(QPoint(x0, y0), QPoint(x1, y1));
    // The share of the rows from..to in which a pixel within 3 of column x
    // is not the region's grey: about 1 on a solid line, about half on the
    // grid's dotted lines.
    const auto lineShare = [&](int x, int from, int to) {
        int crossed = 0;
        for (int y = from; y <= to; ++y) {
            bool line = false;
            for (int dx = -3; dx <= 3 && !line; ++dx)
                line = imported.pixel(x + dx, y) != grey;
            crossed += line;
        }
        return double(crossed) / double(to - from + 1);
    };
    EXPECT_GT(lineShare(plate.center().x(), plate.top() + plate.height() / 8, plate.top() + plate.height() * 3 / 8),
              0.9)
        << "no division line";
    // The circle: its centre a quarter across, its radius 25 of the 240
    // pixels the plate was wide when drawn.
    const int leftmost = plate.left() + plate.width() / 4 - plate.width() * 25 / 240;
    EXPECT_GT(lineShare(leftmost, plate.center().y() - 3, plate.center().y() + 3), 0.85)
        << "no circle in the left half";
}

} // namespace

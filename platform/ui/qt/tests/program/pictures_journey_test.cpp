// Pictures and pages of the plate's results as a user makes them in the
// real window: the sample plate meshed, calculated and shown as Mx in plan
// through the menus; File > Save image in each type by the file dialog with
// a name typed without an extension; File > Print preview; File > Print
// direct, which without a printer writes the page as a PDF beside the
// document. The written files are checked as a user would: their names and
// types, the pictures the right way up, the printed page rasterised
// (pdftoppm) with the picture filling the printable area at the view's
// proportions and the legend's numbers readable.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
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

// The program's output when it ran and ended with status 0, else empty.
QByteArray ToolOutput(const QString& program, const QStringList& args)
{
    QProcess tool;
    tool.start(program, args);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return {};
    return tool.readAllStandardOutput().trimmed();
}

// How many colours a grab of the window shows on a 4-pixel grid: the flat
// grey plate of an uncalculated document has few, a colour plot many.
std::size_t Colours(const QImage& image)
{
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            seen.insert(image.pixel(x, y));
    return seen.size();
}

// The window once drawn.
QImage GrabDrawn(WId window)
{
    std::size_t colours = 0;
    return GrabWhenDrawn(window, colours);
}

bool GreenDominant(QRgb c)
{
    return qGreen(c) > qRed(c) + 40;
}
bool RedDominant(QRgb c)
{
    return qRed(c) > qGreen(c) + 40;
}

// The legend of Mx lies along the picture's left edge, its largest value
// (green) at the top and its smallest (red) at the bottom.
void ExpectUpright(const QImage& picture, const char* what)
{
    ASSERT_FALSE(picture.isNull()) << what;
    const int x = std::max(2, picture.width() / 100);
    const QRgb top = picture.pixel(x, picture.height() * 4 / 100);
    const QRgb bottom = picture.pixel(x, picture.height() * 96 / 100);
    EXPECT_TRUE(GreenDominant(top)) << what << ": the top of the legend is not green";
    EXPECT_TRUE(RedDominant(bottom)) << what << ": the bottom of the legend is not red";
    // Not mirrored either: the right edge is the view's background.
    const QRgb right = picture.pixel(picture.width() - 1 - x, picture.height() * 4 / 100);
    EXPECT_FALSE(GreenDominant(right) || RedDominant(right)) << what << ": the legend is on the right";
}

struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

// The part of the page that is not paper white.
Box InkBox(const QImage& page)
{
    Box box{page.width(), page.height(), -1, -1};
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            if (qRed(c) < 245 || qGreen(c) < 245 || qBlue(c) < 245) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    return box;
}

// The heights in pixels of the text lines of the legend's labels: rows of
// the label column (right of the colour strip) holding pixels far from the
// picture's background, grouped into runs of neighbouring rows.
std::vector<int> LabelHeights(const QImage& page, const Box& picture)
{
    const QRgb background = page.pixel(picture.right - 3, picture.top + 3);
    const auto differs = [background](QRgb c) {
        return std::abs(qRed(c) - qRed(background)) + std::abs(qGreen(c) - qGreen(background)) +
                   std::abs(qBlue(c) - qBlue(background)) >
               120;
    };
    // The colour strip: the columns from the left edge that differ in most rows.
    int strip = picture.left;
    while (strip < picture.right && differs(page.pixel(strip, (picture.top + picture.bottom) / 2)))
        ++strip;
    const int from = strip + 2, to = picture.left + picture.Width() / 4;
    std::vector<int> heights;
    int run = 0;
    for (int y = picture.top; y <= picture.bottom + 1; ++y) {
        bool ink = false;
        for (int x = from; y <= picture.bottom && x < to && !ink; ++x)
            ink = differs(page.pixel(x, y));
        if (ink) {
            ++run;
        } else if (run > 0) {
            heights.push_back(run);
            run = 0;
        }
    }
    return heights;
}

TEST(PicturesJourney, SavesEachImageTypeAndPrintsTheMxPlotReadably)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    for (const char* tool : {"identify", "convert", "pdftoppm"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed (ImageMagick, poppler-utils)";

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString source = QString::fromLocal8Bit(qgetenv("BRANTEL_SOURCE_DIR")) + "/examples/plate.plb";
    const QString plate = work.filePath("plate.plb");
    ASSERT_TRUE(QFile::copy(source, plate)) << source.toStdString();
    QDir(work.path()).mkpath("config");
    QDir(work.path()).mkpath("data");

    ProgramRun run(BRANTEL_PROGRAM, work.filePath("config"));
    QProcessEnvironment env = run.Process().processEnvironment();
    env.insert("XDG_DATA_HOME", work.filePath("data"));
    run.Process().setProcessEnvironment(env);
    run.Process().setWorkingDirectory(work.path());
    ASSERT_TRUE(run.Start({plate}));
    const WId window = run.WaitForWindow("^Brantel - plate\\.plb( - \\[.*\\])?$");
    ASSERT_NE(window, 0u) << "no window titled \"Brantel - plate.plb\" within 10 s";
    const QString id = QString::number(window);
    Xdo({"windowfocus", "--sync", id});
    QTest::qWait(500);

    // Model > Generate mesh, Calculate > Calculate, the results mode (R) and
    // View > 3D view > Two-dimensional: the plan of Mx, the first result.
    KeysEach({"alt+m", "g"}, 300);
    QTest::qWait(2000);
    // A calculation asked for while the mesh is still being made is refused
    // with a message; the user closes it and asks again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        Xdo({"windowfocus", "--sync", id});
        KeysEach({"alt+c", "c"}, 300);
        QTest::qWait(1500);
        if (!FindDialogWindow("Brantel"))
            break;
        FocusedDialog("Brantel");
        KeysEach({"Return"}, 300);
        QTest::qWait(1500);
    }
    QTest::qWait(1500);
    KeysEach({"r"}, 300);
    QTest::qWait(1000);
    KeysEach({"alt+v", "3", "d"}, 300);
    QImage shown;
    const QDeadlineTimer plotted(20000);
    do {
        QTest::qWait(500);
        shown = GrabDrawn(window);
    } while (Colours(shown) < 200 && !plotted.hasExpired());
    EXPECT_TRUE(shown.save(ArtifactPath("pictures-journey-window.png")));
    ASSERT_GE(Colours(shown), 200u) << "no colour plot of the results";

    // File > Save image: a bare name, the type chosen in "Files of type" (the
    // field after the name: Tab, then Down as often as the type is below the
    // first), Save, then OK in "Image size".
    struct Type {
        const char* name;
        int downs;
        const char* file;
        QStringList formats; // ImageMagick's names of the format
    };
    const Type types[] = {
        {"img_bmp", 0, "img_bmp.bmp", {"BMP", "BMP3"}},
        {"img2_jpg", 1, "img2_jpg.jpg", {"JPEG"}},
        {"img_tga", 2, "img_tga.tga", {"TGA"}},
        {"img_tif", 3, "img_tif.tif", {"TIFF"}},
    };
    QSize pictureSize;
    for (const Type& type : types) {
        SCOPED_TRACE(type.name);
        Xdo({"windowfocus", "--sync", id});
        KeysEach({"alt+f", "i"}, 300);
        ASSERT_NE(FocusedDialog("Save As"), 0u) << "no file dialog";
        KeysEach({"ctrl+a"}, 300);
        Xdo({"type", "--delay", "30", type.name});
        KeysEach({"Tab"}, 300);
        for (int i = 0; i < type.downs; ++i)
            KeysEach({"Down"}, 300);
        KeysEach({"Return"}, 300);
        ASSERT_TRUE(WaitDialogGone("Save As", 15000));
        ASSERT_NE(FocusedDialog("Image size"), 0u) << "no \"Image size\" dialog";
        KeysEach({"Return"}, 300);
        const QString path = work.filePath(type.file);
        ASSERT_TRUE(WaitForFile(path)) << path.toStdString() << " was not written";
        // Nothing else: the name got the chosen type's extension only.
        EXPECT_FALSE(QFileInfo::exists(work.filePath(QString(type.name) + ".bmp")) && type.downs > 0);
        const QByteArray format = ToolOutput("identify", {"-format", "%m", path});
        EXPECT_TRUE(type.formats.contains(QString(format))) << "type " << format.toStdString();
        // As a viewer shows it (the file's own orientation applied).
        const QString png = ArtifactPath(QString("pictures-journey-%1.png").arg(type.name));
        ToolOutput("convert", {path, "-auto-orient", png});
        const QImage picture(png);
        ExpectUpright(picture, type.file);
        if (pictureSize.isEmpty())
            pictureSize = picture.size();
    }
    ASSERT_FALSE(pictureSize.isEmpty());

    // File > Print preview shows the page; Esc closes it.
    Xdo({"windowfocus", "--sync", id});
    KeysEach({"alt+f", "v"}, 300);
    const WId preview = FocusedDialog("Print Preview", 1300);
    ASSERT_NE(preview, 0u) << "no print preview";
    QTest::qWait(1500);
    const QImage previewImage = GrabDrawn(preview);
    EXPECT_TRUE(previewImage.save(ArtifactPath("pictures-journey-preview.png")));
    KeysEach({"Escape"}, 300);
    ASSERT_TRUE(WaitDialogGone("Print Preview", 15000, 1300));

    // File > Print direct: without a printer the page goes to plate.pdf
    // beside the document, and a message says so.
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        GTEST_SKIP() << "a printer is installed: Print direct would print on paper";
    }
    Xdo({"windowfocus", "--sync", id});
    KeysEach({"alt+f", "d"}, 300);
    ASSERT_NE(FocusedDialog("Brantel"), 0u) << "no message about the PDF";
    KeysEach({"Return"}, 300);
    const QString pdf = work.filePath("plate.pdf");
    ASSERT_TRUE(WaitForFile(pdf));
    QFile::remove(ArtifactPath("pictures-journey-page.pdf"));
    QFile::copy(pdf, ArtifactPath("pictures-journey-page.pdf"));

    constexpr int kDpi = 150;
    const QString pageStem = ArtifactPath("pictures-journey-page");
    ToolOutput("pdftoppm", {"-r", QString::number(kDpi), "-png", "-singlefile", pdf, pageStem});
    const QImage page(pageStem + ".png");
    ASSERT_FALSE(page.isNull()) << "the PDF could not be rasterised";
    const Box picture = InkBox(page);
    ASSERT_GT(picture.Width(), 0);
    // The picture fills the printable area across (the page's margins are
    // each below 10 % of it) at the view's proportions.
    const double across = std::max(static_cast<double>(picture.Width()) / page.width(),
                                   static_cast<double>(picture.Height()) / page.height());
    EXPECT_GT(across, 0.9) << "the picture is " << picture.Width() << " x " << picture.Height()
                           << " on a page of " << page.width() << " x " << page.height();
    const double aspect = static_cast<double>(picture.Width()) / picture.Height();
    const double viewAspect = static_cast<double>(pictureSize.width()) / pictureSize.height();
    EXPECT_NEAR(aspect / viewAspect, 1.0, 0.03);
    // The legend's nine numbers, each line at least 5.5 points high (the
    // digits of text of 8 points and more).
    const std::vector<int> heights = LabelHeights(page, picture);
    ASSERT_GE(heights.size(), 9u) << "the legend's labels were not found";
    std::vector<int> sorted = heights;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2] * 72.0 / kDpi;
    EXPECT_GE(median, 5.5) << "the legend's text is " << median << " points high";
    std::printf("printed page: the picture spans %.0f %% of the page across, the legend's lines are "
                "%.1f points high\n",
                across * 100.0, median);

    // Ends as a desktop ends it; a question about saving is answered No.
    ASSERT_TRUE(SendCloseRequest(window));
    const QDeadlineTimer closing(15000);
    bool answered = false;
    while (run.Process().state() != QProcess::NotRunning && !closing.hasExpired()) {
        if (!answered && FindDialogWindow("Brantel")) {
            FocusedDialog("Brantel");
            KeysEach({"alt+n"}, 300);
            answered = true;
        }
        run.Process().waitForFinished(200);
    }
    const bool ended = run.Process().state() == QProcess::NotRunning;
    ASSERT_TRUE(ended) << "the program did not end on the close request";
    EXPECT_EQ(run.Process().exitCode(), 0);
    EXPECT_EQ(run.Process().exitStatus(), QProcess::NormalExit);
}

} // namespace

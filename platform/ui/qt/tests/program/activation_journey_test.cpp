// The document in front is the one shown and edited, as a user switches
// between several in the real window under openbox: a refused File > Open
// (a file that is no document) keeps the documents, their tabs and the
// active one; regions exported from plate.plb and imported into a new plate
// leave plate.plb whole (its picture, and its own material "Steel" in the
// region dialog a double click opens, stacked above the main window); a
// new plate made while two documents show results leaves the membrane's
// results in front when its tab is clicked; a shell (buckling.shl) opens beside them. Then a random walk
// over the documents (tab clicks, Ctrl+Tab, Ctrl+F6, the Window list, the
// modelling and results modes by M and R), its seeds fixed
// (BRANTEL_ACTIVATION_SEEDS="1 2 3" runs more by hand), and "Documents as
// tabs" off, Cascade and on again. After each step: the title, and the view
// against the picture of that document in its mode taken when it first
// showed so.
#include <map>
#include <random>

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"

namespace activation_journey
{

using namespace brantel::test;
using namespace brantel::test::journey;

// A picture of the same document shows the same; the model of another one
// changes more of the view.
constexpr double kSame = 0.004;

class ActivationJourney : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AFXUI_QT_NEED_DISPLAY();
        afxui::qt::testing::TestApplication();
        ASSERT_TRUE(m_dir.isValid());
        for (const char* file : {"plate.plb", "membrane.mem", "buckling.shl"})
            ASSERT_TRUE(QFile::copy(SampleFile(file), m_dir.filePath(file))) << file;
        QFile garbage(m_dir.filePath("garbage.plb"));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write("this is no plate document, only text that a user named .plb\n");
    }

    // The screen once the view has settled, saved as activation-<name>.png.
    QImage Shot(const QString& name)
    {
        FocusWindow(m_window, m_rest);
        const QImage shot = Settled(m_view);
        EXPECT_TRUE(SaveShot(shot, "activation-" + name + ".png"));
        return shot;
    }

    // The key of a document's picture in the mode it is in: "M" modelling,
    // "R" results.
    QString PictureKey(const QString& document)
    {
        return document + '/' + m_modes.try_emplace(document, 'M').first->second;
    }

    // The document in front: the title names it and the view shows its
    // picture in its mode (the one taken when it first showed so, or now if
    // it has none).
    void ExpectInFront(const QString& document, const QString& step)
    {
        SCOPED_TRACE(step.toStdString());
        ASSERT_TRUE(WaitForTitle(m_window, "^Brantel - " + QRegularExpression::escape(document) + "$"))
            << "now " << WindowName(m_window).toStdString() << ", not " << document.toStdString();
        const QImage now = Shot(step);
        const auto known = m_pictures.find(PictureKey(document));
        if (known == m_pictures.end()) {
            m_pictures[PictureKey(document)] = now;
            return;
        }
        EXPECT_LT(DifferingShare(now, known->second, m_view), kSame)
            << "the view does not show " << PictureKey(document).toStdString();
    }

    // A tab's centre: the tabs lie along the bottom edge of the documents'
    // area, each as wide as the area over the number of tabs.
    QPoint Tab(int index, int count) const
    {
        return QPoint(m_view.left() + m_view.width() * (2 * index + 1) / (2 * count), m_view.bottom() + 15);
    }

    // The material a double click on the point opens the region dialog with,
    // read from the dialog's material box; "" when no dialog opens. The
    // dialog lies above the main window, where a person sees it.
    QString RegionMaterial(QPoint at)
    {
        Xdo({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "--repeat", "2", "1"});
        const WId dialog = WaitForDialogWindow("Region", 8000);
        if (!dialog)
            return {};
        EXPECT_TRUE(WaitUntil([&] { return StackedAbove(dialog, m_window); }, 3000))
            << "the Region dialog lies under the main window";
        QTest::qWait(500);
        const std::string text = ReadText(Screen().copy(QRect(ClientTopLeft(dialog) + QPoint(36, 104), QSize(300, 24))));
        FocusSync(dialog, 200);
        Key({"Escape"});
        WaitDialogGone("Region", 5000);
        return QString::fromStdString(text).trimmed();
    }

    // Model > Generate mesh, Calculate > Calculate on the document in
    // front, then the results mode (R, pressed again while the run goes on)
    // until the view shows the plot. Its modelling picture, which the mesh
    // changes, is taken anew when it next shows.
    void CalculateAndShowResults(const QString& document)
    {
        const QImage model = m_pictures[PictureKey(document)];
        m_pictures.erase(PictureKey(document));
        m_modes[document] = 'R';
        ASSERT_TRUE(MenuItem("alt+m", "g"));
        Settled(m_view);
        ASSERT_TRUE(MenuItem("alt+c", "c"));
        QTest::qWait(1000);
        WaitUntil(
            [&] {
                Key({"r"});
                FocusWindow(m_window, m_rest);
                return DifferingShare(Settled(m_view), model, m_view) > 0.05;
            },
            30000);
    }

    QTemporaryDir m_dir;
    WId m_window = 0;
    QRect m_view;  // the view area on the screen
    QPoint m_rest; // where the pointer rests between steps: the status bar
    std::map<QString, QImage> m_pictures; // by PictureKey(document)
    std::map<QString, char> m_modes;      // each document's mode, 'M' or 'R'
};

TEST_F(ActivationJourney, TheDocumentInFrontIsTheOneShownAndEdited)
{
    if (QStandardPaths::findExecutable("tesseract").isEmpty()) {
        if (qEnvironmentVariableIsSet("BRANTEL_REQUIRE_GUI"))
            FAIL() << "tesseract is not installed (scripts/deps.sh installs it)";
        GTEST_SKIP() << "tesseract is not installed";
    }
    WindowManager wm;
    ASSERT_TRUE(wm.Start()) << "openbox did not start";
    ProgramRun run(BRANTEL_PROGRAM, m_dir.filePath("config"));
    ASSERT_TRUE(run.Start({m_dir.filePath("plate.plb")}));
    m_window = run.WaitForWindow("^Brantel - plate\\.plb$");
    ASSERT_NE(m_window, 0u) << "no window titled \"Brantel - plate.plb\"";
    const QRect window = WaitForPlace(m_window, true);
    m_rest = QPoint(window.left() + window.width() / 2, window.bottom() - 5);
    FocusWindow(m_window, m_rest);
    QImage first;
    QRect white;
    ASSERT_TRUE(WaitForModellingView(window, first, white)) << "no modelling view found";
    m_view = white.adjusted(2, 2, -2, -2);
    // The plate's region: the middle of its grey fill.
    QRect grey;
    for (int y = m_view.top(); y <= m_view.bottom(); y += 2)
        for (int x = m_view.left(); x <= m_view.right(); x += 2)
            if ((first.pixel(x, y) & 0xffffff) == 0x808080)
                grey |= QRect(x, y, 1, 1);
    ASSERT_GT(grey.width(), 20) << "no grey plate in the view";
    const QPoint region = grey.center();

    ExpectInFront("plate.plb", "1-plate");
    // A click on the region and Escape, as a user looking at it would: the
    // plate's node list and counters are the ones in force.
    ASSERT_TRUE(Click(region));
    QTest::qWait(300);
    ASSERT_TRUE(Key({"Escape"}));
    ASSERT_EQ(RegionMaterial(region).toStdString(), "Steel") << "plate.plb's region dialog";

    // Model > Export region, into "regions.txt".
    ASSERT_TRUE(MenuItem("alt+m", "e"));
    ASSERT_TRUE(AnswerFileDialog("Save As", "regions")) << "no file dialog for Export region";
    ASSERT_NE(FocusedDialog("Import/Export section modules"), 0u) << "no scale dialog";
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitForFile(m_dir.filePath("regions.txt")));

    // File > New, a membrane.
    WId wizard = 0;
    ASSERT_TRUE(MenuItem("alt+f", "n"));
    ASSERT_TRUE(WaitUntil([&] { return (wizard = FindShownWindow("Brantel")) != 0; }));
    FocusSync(wizard, 300);
    ASSERT_TRUE(Key({"alt+m"}));
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (WindowName(m_window) == "Brantel - Membrane1")
                return true;
            Key({"Return"});
            QTest::qWait(700);
            return false;
        },
        15000));
    ExpectInFront("Membrane1", "2-membrane1");
    const QRect tabs(m_view.left(), m_view.bottom() + 4, m_view.width(), 22);
    const QImage twoTabs = Shot("2-two-tabs");

    // A refused File > Open: no tab while the message shows, and after OK
    // the same documents, tabs and active one.
    ASSERT_TRUE(Key({"ctrl+o"}));
    ASSERT_TRUE(AnswerFileDialog("Open", m_dir.filePath("garbage.plb"))) << "no file dialog for Ctrl+O";
    const WId refusal = WaitForDialogWindow("Brantel", 10000, 600);
    ASSERT_NE(refusal, 0u) << "no message for a file that is no document";
    const QImage asked = Screen();
    SaveShot(asked, "activation-3-refused.png");
    EXPECT_LT(DifferingShare(asked, twoTabs, tabs), kSame) << "a tab shows while the file is refused";
    FocusSync(refusal, 200);
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitUntil([&] { return !FindDialogWindow("Brantel", 600); }, 5000));
    ExpectInFront("Membrane1", "3-after-refusal");
    EXPECT_LT(DifferingShare(Screen(), twoTabs, tabs), kSame) << "the tabs changed after a refused open";

    // File > New plate, Model > Import region of the exported file; then
    // plate.plb in front again is whole and keeps its material.
    ASSERT_TRUE(NewPlateByWizard(m_window, "Brantel - Plate1"));
    ASSERT_TRUE(MenuItem("alt+m", "i"));
    ASSERT_TRUE(AnswerFileDialog("Open", m_dir.filePath("regions.txt"))) << "no file dialog for Import region";
    ASSERT_NE(FocusedDialog("Import/Export section modules"), 0u) << "no scale dialog";
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitDialogGone("Import/Export section modules", 5000));
    ExpectInFront("Plate1", "4-imported");
    ASSERT_TRUE(Click(Tab(0, 3)));
    ExpectInFront("plate.plb", "5-plate-again");
    EXPECT_EQ(RegionMaterial(region).toStdString(), "Steel") << "the double click did not reach plate.plb's region";

    // plate.plb and membrane.mem in results mode; a new plate; the
    // membrane's tab.
    CalculateAndShowResults("plate.plb");
    ExpectInFront("plate.plb", "6-plate-results");
    ASSERT_TRUE(Key({"ctrl+o"}));
    ASSERT_TRUE(AnswerFileDialog("Open", m_dir.filePath("membrane.mem"))) << "no file dialog for Ctrl+O";
    ExpectInFront("membrane.mem", "7-membrane");
    CalculateAndShowResults("membrane.mem");
    ExpectInFront("membrane.mem", "8-membrane-results");
    ASSERT_TRUE(NewPlateByWizard(m_window, "Brantel - Plate2"));
    ExpectInFront("Plate2", "9-plate2");
    ASSERT_TRUE(Click(Tab(3, 5)));
    ExpectInFront("membrane.mem", "10-membrane-tab");
    // A shell beside them, opened by Ctrl+O.
    ASSERT_TRUE(Key({"ctrl+o"}));
    ASSERT_TRUE(AnswerFileDialog("Open", m_dir.filePath("buckling.shl"))) << "no file dialog for Ctrl+O";
    ExpectInFront("buckling.shl", "10-buckling");

    // The random walk. The documents in the order they came, which is the
    // tabs', the Window list's and the order Ctrl+Tab and Ctrl+F6 go in.
    const QStringList documents = {"plate.plb", "Membrane1", "Plate1", "membrane.mem", "Plate2", "buckling.shl"};
    int active = 5;
    const QStringList calculated = {"plate.plb", "membrane.mem"};
    QList<unsigned> seeds = {7};
    for (const QString& seed : qEnvironmentVariable("BRANTEL_ACTIVATION_SEEDS").split(' ', Qt::SkipEmptyParts))
        seeds.append(seed.toUInt());
    for (const unsigned seed : seeds) {
        std::mt19937 random(seed);
        for (int step = 0; step < 10 && !HasFatalFailure(); ++step) {
            const int pick = std::uniform_int_distribution<int>(0, 4)(random);
            const int target = std::uniform_int_distribution<int>(0, int(documents.size()) - 1)(random);
            QString name;
            if (pick == 0) {
                name = "tab";
                active = target;
                ASSERT_TRUE(Click(Tab(target, int(documents.size()))));
            } else if (pick == 1) {
                name = "ctrl-tab";
                active = (active + 1) % int(documents.size());
                ASSERT_TRUE(Key({"ctrl+Tab"}));
            } else if (pick == 2) {
                name = "ctrl-f6";
                active = (active + 1) % int(documents.size());
                ASSERT_TRUE(Key({"ctrl+F6"}));
            } else if (pick == 3) {
                name = "window-list";
                active = target;
                ASSERT_TRUE(MenuItem("alt+w", QString::number(target + 1)));
            } else {
                // The other mode (M, R) of a calculated document: of the
                // one in front, or else of one the Window list brings there.
                if (!calculated.contains(documents[active])) {
                    active = int(documents.indexOf(calculated[target % calculated.size()]));
                    ASSERT_TRUE(MenuItem("alt+w", QString::number(active + 1)));
                    ExpectInFront(documents[active],
                                  QString("11-seed%1-step%2-window-list-calculated").arg(seed).arg(step));
                }
                char& mode = m_modes[documents[active]];
                mode = mode == 'M' ? 'R' : 'M';
                name = mode == 'R' ? "results" : "modelling";
                ASSERT_TRUE(Key({mode == 'R' ? "r" : "m"}));
            }
            ExpectInFront(documents[active],
                          QString("11-seed%1-step%2-%3").arg(seed).arg(step).arg(name));
        }
    }

    // Window > "Documents as tabs" off, Cascade, and on again: the tabs
    // come back with the document in front maximised over the others. The
    // item is clicked (its mnemonic is Tile's too): the Window menu's title
    // and the item stand where they do in the window, while no document
    // window is maximised into the menu bar.
    const QImage withTabs = Screen();
    const QPoint client = ClientTopLeft(m_window);
    const auto toggleTabs = [&] {
        return Click(client + QPoint(327, 7)) && (QTest::qWait(700), Click(client + QPoint(375, 89)));
    };
    ASSERT_TRUE(toggleTabs());
    // A maximised window's title joins the main window's.
    ASSERT_TRUE(WaitUntil([&] { return WindowName(m_window).contains('['); }))
        << "no maximised document window: " << WindowName(m_window).toStdString();
    // The view, taller now by the tabs' height, is still the document's: of
    // the picture it had with tabs, little changes (a grid moves by a few
    // pixels), where another document's would change most of it.
    const QImage& before = m_pictures[PictureKey(documents[active])];
    QImage windows;
    const bool own = WaitUntil([&] {
        windows = Shot("12-windows");
        return DifferingShare(windows, before, m_view) < 0.15;
    });
    EXPECT_TRUE(own) << "another document's view shows in front of " << documents[active].toStdString();
    ASSERT_TRUE(MenuItem("alt+w", "c"));
    Shot("12-cascaded");
    ASSERT_TRUE(toggleTabs());
    ExpectInFront(documents[active], "12-tabs-again");
    EXPECT_LT(DifferingShare(Screen(), withTabs, tabs), kSame) << "the tabs did not come back as they were";
}

} // namespace activation_journey

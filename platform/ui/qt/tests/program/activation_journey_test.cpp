// The document in front is the one shown and edited, as a user switches
// between several in the real window under openbox. The journey keeps a
// model of the open documents (their names, modes, regions and materials)
// and after every step checks from outside what a person checks: the
// window's title names the document the model has in front; the view shows
// that document's picture in its mode (the one taken when it last came
// into that mode); where the document has a region, a double click on it opens a Region
// dialog above the main window that shows the document's own material; the
// tool bar's "Active thickness" box shows the value in force and the mode
// box the document's mode (read from their pixels, so that the keyboard
// stays where the walk left it).
//
// First the sequences users reported: a refused File > Open (a file that is
// no document) keeps the documents, their tabs and the active one; regions
// exported from plate.plb and imported into a new plate leave plate.plb
// whole; two documents calculated and shown in results mode through the
// menus by the mouse, a new plate through the wizard by the mouse, then the
// membrane's tab; plate.plb closed, a new constrained plate, plate.plb
// opened again and the constrained plate's tab clicked. Then a random walk,
// its seeds fixed (BRANTEL_ACTIVATION_SEEDS="1 2 3" runs others in their
// place, BRANTEL_ACTIVATION_STEPS sets the steps per seed; see
// scripts/activation-walk.sh), drawn from: File > New of each type the
// wizard makes (free and constrained plates and membranes, shells), File >
// Open of a sample, Model > Import region, File > Close (its save question
// answered No), tab clicks, Ctrl+Tab, Ctrl+F6, the Window list, "Documents
// as tabs" off with Cascade or Tile and on again, Generate mesh (tool bar
// or menu) and Calculate, and the modelling, results and mesh modes.
#include <array>
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

// What File > New makes: the wizard's analysis and mesh.
enum Kind { kPlate, kPlateConstrained, kMembrane, kMembraneConstrained, kShell, kKinds };

// The walk's model of an open document.
struct Document {
    QString name;            // as the title and the tab show it
    int serial = 0;          // tells documents of the same name apart
    bool constrained = false; // its menus have no Draw menu
    bool region = false;      // it has a region that a double click opens
    QString material;         // that region's material
    bool calculable = false;  // a sample whose analysis runs (supports, loads)
    bool meshed = false;
    char mode = 'M';          // 'M' modelling, 'R' results, 'E' element mesh
};

// Where the menu bar's titles stand (the x of their middle in the window's
// client area), with and without the Draw menu.
constexpr std::array<const char*, 9> kMenus = {"File", "Edit", "Draw", "Model", "Calculate",
                                               "View", "Options", "Window", "Help"};
constexpr std::array<int, 9> kMenuX = {19, 50, 88, 130, 181, 230, 275, 328, 373};
constexpr std::array<int, 9> kMenuXNoDraw = {19, 50, 0, 89, 141, 190, 235, 288, 333};
// The first items of a drop-down menu, before its first separator, and the
// Window menu's "Documents as tabs" below it.
constexpr int kFirstItemY = 28, kItemHeight = 20, kTabsItemY = 89;

class ActivationJourney : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AFXUI_QT_NEED_DISPLAY();
        afxui::qt::testing::TestApplication();
        CopySamples(m_dir, {"plate.plb", "membrane.mem", "buckling.shl"});
        QFile garbage(m_dir.filePath("garbage.plb"));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write("this is no plate document, only text that a user named .plb\n");
    }

    Document& Active() { return m_docs[m_active]; }

    // A window-relative point on the screen.
    QPoint At(int x, int y) const { return m_client + QPoint(x, y); }

    // The screen once the view has settled, saved as activation-<name>.png.
    QImage Shot(const QString& name)
    {
        FocusWindow(m_window, m_rest);
        const QImage shot = Settled(m_view);
        EXPECT_TRUE(SaveShot(shot, "activation-" + name + ".png"));
        return shot;
    }

    static QString PictureKey(const Document& doc)
    {
        return QString("%1/%2").arg(doc.serial).arg(doc.mode);
    }

    // The document's content changed: its pictures are taken anew.
    void ForgetPictures(const Document& doc)
    {
        for (const char mode : {'M', 'R', 'E'}) {
            Document probe = doc;
            probe.mode = mode;
            m_pictures.erase(PictureKey(probe));
        }
    }

    // The middle of the region's grey fill in the view, or a null point.
    QPoint RegionIn(const QImage& shot) const
    {
        QRect grey;
        for (int y = m_view.top(); y <= m_view.bottom(); y += 2)
            for (int x = m_view.left(); x <= m_view.right(); x += 2)
                if ((shot.pixel(x, y) & 0xffffff) == 0x808080)
                    grey |= QRect(x, y, 1, 1);
        return grey.width() > 20 && grey.height() > 20 ? grey.center() : QPoint();
    }

    // The text of a tool bar box, read from the screen: a person looks at
    // it, and the keyboard stays where it is. Read again while the box may
    // still be repainting after a switch, until it shows the text expected
    // or the wait ends; the last reading is the answer.
    QString BoxShown(QRect box, const std::string& expected, const QString& shot) const
    {
        QString text;
        QImage plain;
        WaitUntil([&] { return (text = BoxRead(box, plain)).toStdString() == expected; }, 3000);
        if (text.toStdString() != expected)
            SaveShot(plain, "activation-" + shot + ".png");
        return text;
    }
    // One reading of a box; `plain` is the picture read. The text is read
    // black on white, also when the box shows it selected (white on the
    // highlight's blue); a white margin keeps it off the picture's edge.
    QString BoxRead(QRect area, QImage& plain) const
    {
        const QImage box = Screen().copy(QRect(At(area.left(), area.top()), area.size()));
        const auto highlight = [](QRgb p) { return qBlue(p) - qRed(p) > 60; };
        QRect selected;
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x)
                if (highlight(box.pixel(x, y)))
                    selected |= QRect(x, y, 1, 1);
        plain = QImage(box.size() + QSize(20, 20), QImage::Format_RGB32);
        plain.fill(Qt::white);
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x) {
                // Dark (or, selected, light) pixels are the text's.
                const int grey = qGray(box.pixel(x, y));
                const bool ink = selected.contains(x, y) ? grey > 175 : grey < 180;
                plain.setPixel(x + 10, y + 10, ink ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            }
        return QString::fromStdString(ReadText(plain)).trimmed();
    }
    // The "Active thickness" box and the mode box, in the window's client
    // area, without their arrows.
    static QRect ThicknessBox() { return QRect(492, 55, 64, 17); }
    static QRect ModeBox() { return QRect(16, 55, 70, 17); }
    static std::string ModeName(char mode) { return mode == 'R' ? "Results" : mode == 'E' ? "Mesh" : "Model"; }

    // The document in front is the model's: the title names it, the view
    // shows its picture in its mode (the one taken when it last came into it,
    // or now if it has none), its region's dialog shows its material, the
    // thickness box the value in force and the mode box its mode.
    void ExpectInFront(const QString& step)
    {
        const Document& doc = Active();
        SCOPED_TRACE((step + ": " + doc.name + " #" + QString::number(doc.serial)).toStdString());
        ASSERT_TRUE(WaitForTitle(m_window, "^Brantel - " + QRegularExpression::escape(doc.name) + "$"))
            << "now " << WindowName(m_window).toStdString() << ", not " << doc.name.toStdString();
        const QImage now = Shot(step);
        const auto known = m_pictures.find(PictureKey(doc));
        if (known == m_pictures.end())
            m_pictures[PictureKey(doc)] = now;
        else
            EXPECT_LT(DifferingShare(now, known->second, m_view), kSame)
                << "the view does not show " << doc.name.toStdString() << " in mode " << doc.mode;
        EXPECT_EQ(BoxShown(ThicknessBox(), m_thickness, step + "-thickness").toStdString(), m_thickness)
            << "the Active thickness box";
        EXPECT_EQ(BoxShown(ModeBox(), ModeName(doc.mode), step + "-mode").toStdString(), ModeName(doc.mode))
            << "the mode box";
        if (doc.mode == 'M' && doc.region) {
            const QPoint region = RegionIn(now);
            EXPECT_FALSE(region.isNull()) << "no region in the view";
            if (!region.isNull()) {
                EXPECT_EQ(RegionMaterial(region, doc.material).toStdString(), doc.material.toStdString())
                    << "the region's dialog is not " << doc.name.toStdString() << "'s";
            }
        }
    }

    // A tab's centre: the tabs lie along the bottom edge of the documents'
    // area, each as wide as the area over the number of tabs.
    QPoint Tab(int index) const
    {
        const int count = int(m_docs.size());
        return QPoint(m_view.left() + m_view.width() * (2 * index + 1) / (2 * count), m_view.bottom() + 15);
    }

    // A click on the document's tab.
    void ActivateByTab(int index)
    {
        m_active = index;
        EXPECT_TRUE(Click(Tab(index)));
    }

    // The material a double click on the point opens the region dialog with,
    // read from the dialog's material box; "" when no dialog opens. The
    // dialog lies above the main window, where a person sees it; Esc closes
    // it. On a loaded machine the box may be read while it is still being
    // painted: it is read again until it shows the material expected or the
    // wait ends, and the last reading is the answer.
    QString RegionMaterial(QPoint at, const QString& expected)
    {
        const WId dialog = DoubleClickRegion(at);
        if (!dialog)
            return {};
        EXPECT_TRUE(WaitUntil([&] { return StackedAbove(dialog, m_window); }, 3000))
            << "the Region dialog lies under the main window";
        const QRect box(ClientTopLeft(dialog) + QPoint(36, 104), QSize(300, 24));
        QString text;
        WaitUntil(
            [&] {
                text = QString::fromStdString(ReadText(Screen().copy(box))).trimmed();
                return text == expected;
            },
            5000);
        FocusSync(dialog, 200);
        Key({"Escape"});
        WaitDialogGone("Region", 5000);
        return text;
    }

    // A menu item chosen with the mouse: the title in the menu bar (where
    // the active document's menus put it), then the item at that height.
    bool MenuByMouse(const char* title, int itemY)
    {
        const auto at = std::find_if(kMenus.begin(), kMenus.end(), [&](const char* t) { return !qstrcmp(t, title); });
        const int x = (Active().constrained ? kMenuXNoDraw : kMenuX)[at - kMenus.begin()] + MenuShift();
        // The menu shows under its title, over the tool bars' buttons (its
        // window's type is not always known to the display while document
        // windows show as windows).
        const QRect under(At(x - 5, 22), QSize(80, 40));
        const QImage before = Screen();
        const auto shown = [&] { return DifferingShare(Screen(), before, under) > 0.05 || MenuShown(); };
        if (!Click(At(x, 8)) || !WaitUntil(shown, 5000)) {
            SaveShot(Screen(), QString("activation-menu-%1-not-shown.png").arg(title));
            return false;
        }
        QTest::qWait(150);
        return Click(At(x + 40, itemY));
    }
    // How far a maximised document window's icon (green) at the menu bar's
    // left moves the menus' titles.
    int MenuShift() const
    {
        const QImage corner = Screen().copy(QRect(At(0, 0), QSize(16, 16)));
        int green = 0;
        for (int y = 0; y < corner.height(); ++y)
            for (int x = 0; x < corner.width(); ++x)
                green += qGreen(corner.pixel(x, y)) > qRed(corner.pixel(x, y)) + 60;
        return green > 64 ? 17 : 0;
    }
    static int Item(int index) { return kFirstItemY + kItemHeight * index; }

    // The wizard's page that follows the one shown (a new window of the
    // program titled "Brantel"), or 0.
    static WId NextPage(WId shown)
    {
        WId page = 0;
        WaitUntil([&] { return (page = FindShownWindow("Brantel")) != 0 && page != shown; });
        return page;
    }

    // File > New by the mouse, the wizard's pages filled as a user fills
    // them: the analysis, free or constrained mesh, an element of the
    // page's list, Next, Finish; a constrained document's quadrilateral and
    // mesh settings as proposed, OK. The new document is the model's active
    // one once the title names it.
    void NewByWizard(Kind kind, int element)
    {
        static const std::array<QString, kKinds> prefixes = {"Plate", "Plate", "Membrane", "Membrane", "Shell"};
        const bool constrained = kind == kPlateConstrained || kind == kMembraneConstrained;
        ASSERT_TRUE(MenuByMouse("File", Item(0)));
        WId page = NextPage(0);
        ASSERT_NE(page, 0u) << "no wizard";
        // The analysis: its button moves on to the mesh page.
        const int analysis = kind == kShell ? 2 : kind == kMembrane || kind == kMembraneConstrained ? 1 : 0;
        ASSERT_TRUE(Click(ClientTopLeft(page) + QPoint(73 + 114 * analysis, 79)));
        // The mesh page (twice for a shell: its plate, then its membrane).
        for (int pass = 0; pass < (kind == kShell ? 2 : 1); ++pass) {
            page = NextPage(page);
            ASSERT_NE(page, 0u) << "no mesh page";
            const QPoint corner = ClientTopLeft(page);
            if (pass == 0) {
                ASSERT_TRUE(Click(corner + QPoint(28, constrained ? 62 : 36)));
            }
            ASSERT_TRUE(Click(corner + QPoint(28, 114 + 19 * element)));
            ASSERT_TRUE(Click(corner + QPoint(423, 279))); // Next
        }
        page = NextPage(page);
        ASSERT_NE(page, 0u) << "no final page";
        ASSERT_TRUE(Click(ClientTopLeft(page) + QPoint(423, 279))); // Finish
        if (constrained) {
            for (const char* title : {"Quadrilateral region", "Constrained mesh"}) {
                ASSERT_NE(FocusedDialog(title), 0u) << "no dialog " << title;
                ASSERT_TRUE(Key({"Return"}));
                ASSERT_TRUE(WaitDialogGone(title, 5000));
            }
        }
        Document doc;
        doc.name = prefixes[kind] + QString::number(++m_untitled[kind]);
        doc.serial = ++m_serial;
        doc.constrained = constrained;
        doc.region = constrained;
        doc.material = "Default";
        m_docs.append(doc);
        m_active = int(m_docs.size()) - 1;
    }

    // File > Open by the mouse: the file's path into the dialog. An open
    // document comes to the front; another one opens beside the others.
    void OpenByMouse(const QString& file)
    {
        ASSERT_TRUE(MenuByMouse("File", Item(1)));
        ASSERT_TRUE(AnswerFileDialog("Open", m_dir.filePath(file))) << "no file dialog for File > Open";
        for (int i = 0; i < m_docs.size(); ++i)
            if (m_docs[i].name == file) {
                m_active = i;
                return;
            }
        Document doc;
        doc.name = file;
        doc.serial = ++m_serial;
        doc.region = true;
        doc.material = "Steel"; // every sample's region
        doc.calculable = file != "buckling.shl";
        m_docs.append(doc);
        m_active = int(m_docs.size()) - 1;
    }

    // The document the title names after the one in front went; of two of
    // that name, the one whose picture the view shows.
    void FindActiveByTitle(const QString& step)
    {
        const QString title = WindowName(m_window);
        const QImage now = Shot(step + "-which");
        double best = 2.0;
        m_active = -1;
        for (int i = 0; i < m_docs.size(); ++i) {
            if (title != "Brantel - " + m_docs[i].name)
                continue;
            const auto known = m_pictures.find(PictureKey(m_docs[i]));
            const double share = known == m_pictures.end() ? 1.0 : DifferingShare(now, known->second, m_view);
            if (share < best) {
                best = share;
                m_active = i;
            }
        }
        ASSERT_GE(m_active, 0) << "the title names no open document: " << title.toStdString();
    }

    // File > Close by the mouse on the document in front; a question
    // whether to save it is answered No. Another document comes to the
    // front.
    void CloseByMouse(const QString& step)
    {
        const QString before = WindowName(m_window);
        ASSERT_TRUE(MenuByMouse("File", Item(2)));
        WId box = 0;
        WaitUntil([&] { return WindowName(m_window) != before || (box = FindDialogWindow("Brantel", 600)) != 0; });
        if (box) {
            FocusSync(box, 200);
            ASSERT_TRUE(Key({"alt+n"}));
            WaitUntil([&] { return !FindDialogWindow("Brantel", 600); }, 5000);
        }
        m_docs.removeAt(m_active);
        const int tabs = int(m_docs.size());
        // The tab bar has one tab less once the document is gone.
        WaitUntil([&] { return WindowName(m_window) != before; }, tabs > 0 ? 5000 : 100);
        FindActiveByTitle(step);
    }

    // Generate mesh, by the tool bar's Mesh button or Model > Generate mesh:
    // the mesh shows in the modelling view, and the other modes change too.
    void GenerateMesh(bool byButton)
    {
        const QImage before = Settled(m_view);
        ForgetPictures(Active());
        ASSERT_TRUE(byButton ? Click(At(180, 62)) : MenuByMouse("Model", Item(0)));
        MoveMouse(m_rest);
        SettledFrom(m_view, before, 0.002);
        Active().meshed = true;
    }

    // Generate mesh, Calculate > Calculate by the mouse on the document in
    // front, then the results mode (R, pressed again while the run goes on)
    // until the view shows the plot.
    void CalculateAndShowResults(bool byButton)
    {
        Document& doc = Active();
        if (doc.mode != 'M')
            SwitchMode('M');
        if (!doc.meshed)
            GenerateMesh(byButton);
        ForgetPictures(doc);
        const QImage meshed = Settled(m_view);
        doc.mode = 'R';
        ASSERT_TRUE(MenuByMouse("Calculate", Item(0)));
        WaitUntil(
            [&] {
                Key({"r"});
                FocusWindow(m_window, m_rest);
                return DifferingShare(Settled(m_view), meshed, m_view) > 0.05;
            },
            30000);
    }

    // The document's mode by its key (M, R), or the mesh mode by the tool
    // bar's mode box (its last entry); the box gives the keyboard back to
    // the view by a click on the document's tab.
    // A mode's view starts from the view state the frame hands it (the
    // zoom and position of the 2D view left, the plan or 3D state) and
    // zooms to fit when the automatic zoom is on, so its picture depends on
    // the modes before: it is taken anew after the switch, and checked on
    // every later step that brings the document back. On a loaded machine
    // the key may reach the view after the picture would be taken: the new
    // picture is taken once the view has changed from the old mode's.
    void SwitchMode(char mode)
    {
        Active().mode = mode;
        m_pictures.erase(PictureKey(Active()));
        const QImage before = Settled(m_view);
        if (mode != 'E') {
            ASSERT_TRUE(Key({mode == 'R' ? "r" : "m"}));
        } else {
            ASSERT_TRUE(Click(At(55, 62)));
            ASSERT_TRUE(WaitUntil([&] { return ListShown(); }, 5000)) << "the mode box's list does not show";
            ASSERT_TRUE(Key({"End", "Return"}));
            WaitUntil([&] { return !ListShown(); }, 5000);
            ASSERT_TRUE(Click(Tab(m_active)));
        }
        SettledFrom(m_view, before, 0.002, false, 8000);
    }

    // Whether a combo box's list shows: a shown window of the program
    // besides the main window.
    bool ListShown() const
    {
        QByteArray ids;
        Xdo({"search", "--onlyvisible", "--classname", "^brantel$"}, &ids);
        for (const QByteArray& id : ids.split('\n'))
            if (!id.trimmed().isEmpty() && id.trimmed().toULongLong() != m_window)
                return true;
        return false;
    }

    // Model > Import region of the exported file into the document in
    // front: it has the region then, in the material in force.
    void ImportRegion()
    {
        ForgetPictures(Active());
        ASSERT_TRUE(MenuItem("alt+m", "i"));
        ASSERT_TRUE(AnswerFileDialog("Open", m_dir.filePath("regions.txt"))) << "no file dialog for Import region";
        ASSERT_NE(FocusedDialog("Import/Export section modules"), 0u) << "no scale dialog";
        ASSERT_TRUE(Key({"Return"}));
        ASSERT_TRUE(WaitDialogGone("Import/Export section modules", 5000));
        Active().region = true;
        Active().material = "Default";
    }

    // Window > "Documents as tabs" off (the document in front shows
    // maximised, its view its own), Cascade or Tile, and on again: the tabs
    // come back with the document in front maximised over the others.
    void WindowsAndBack(bool cascade, const QString& step)
    {
        const QRect tabs(m_view.left(), m_view.bottom() + 4, m_view.width(), 22);
        const QImage withTabs = Screen();
        ASSERT_TRUE(MenuByMouse("Window", kTabsItemY));
        // A maximised window's title joins the main window's.
        ASSERT_TRUE(WaitUntil([&] { return WindowName(m_window).contains('['); }))
            << "no maximised document window: " << WindowName(m_window).toStdString();
        // The view, taller now by the tabs' height, is still the document's:
        // of the picture it had with tabs, little changes (a grid moves by a
        // few pixels), where another document's would change most of it.
        const auto before = m_pictures.find(PictureKey(Active()));
        if (before != m_pictures.end()) {
            QImage windows;
            const bool own = WaitUntil([&] {
                windows = Shot(step + "-windows");
                return DifferingShare(windows, before->second, m_view) < 0.15;
            });
            EXPECT_TRUE(own) << "another document's view shows in front of " << Active().name.toStdString();
        }
        const QImage maximised = Settled(m_view);
        ASSERT_TRUE(MenuByMouse("Window", Item(cascade ? 0 : 1)));
        MoveMouse(m_rest);
        SettledFrom(m_view, maximised, 0.01);
        Shot(step + (cascade ? "-cascaded" : "-tiled"));
        EXPECT_TRUE(WindowName(m_window).startsWith("Brantel - " + Active().name))
            << "the title after " << (cascade ? "Cascade" : "Tile") << ": " << WindowName(m_window).toStdString();
        ASSERT_TRUE(MenuByMouse("Window", kTabsItemY));
        // On a loaded machine the menu may still show with its item
        // highlighted while the click waits: the view is looked at once the
        // tab bar is back.
        EXPECT_TRUE(WaitUntil([&] { return DifferingShare(Screen(), withTabs, tabs) < kSame; }, 10000))
            << "the tabs did not come back as they were";
        ExpectInFront(step + "-tabs-again");
    }

    // One step of the random walk, drawn by the generator; its name.
    QString RandomStep(std::mt19937& random, const QString& step);

    QTemporaryDir m_dir;
    WId m_window = 0;
    QPoint m_client; // the main window's client area on the screen
    QRect m_view;    // the view area on the screen
    QPoint m_rest;   // where the pointer rests between steps: the status bar
    QList<Document> m_docs; // in the order of their tabs
    int m_active = 0;
    int m_serial = 0;
    std::array<int, kKinds> m_untitled{};
    std::map<QString, QImage> m_pictures; // by PictureKey
    std::string m_thickness = "100";      // the value in force
};

QString ActivationJourney::RandomStep(std::mt19937& random, const QString& step)
{
    const auto draw = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const int count = int(m_docs.size());
    const int target = draw(count);
    switch (draw(14)) {
    case 0:
    case 1:
        ActivateByTab(target);
        return "tab";
    case 2:
        m_active = (m_active + 1) % count;
        EXPECT_TRUE(Key({"ctrl+Tab"}));
        return "ctrl-tab";
    case 3:
        m_active = (m_active + 1) % count;
        EXPECT_TRUE(Key({"ctrl+F6"}));
        return "ctrl-f6";
    case 4:
        if (target < 9) {
            m_active = target;
            EXPECT_TRUE(MenuItem("alt+w", QString::number(target + 1)));
            return "window-list";
        }
        ActivateByTab(target);
        return "tab";
    case 5:
    case 6: {
        const char modes[] = {'M', 'R', 'E'};
        char mode = modes[draw(3)];
        if (mode == Active().mode)
            mode = mode == 'M' ? 'R' : 'M';
        SwitchMode(mode);
        return mode == 'M' ? "modelling" : mode == 'R' ? "results" : "mesh-mode";
    }
    case 7:
        if (count < 8) {
            const Kind kind = Kind(draw(kKinds));
            NewByWizard(kind, draw(6));
            return QString("new-%1").arg(int(kind));
        }
        [[fallthrough]];
    case 8: {
        static const char* samples[] = {"plate.plb", "membrane.mem", "buckling.shl"};
        const QString file = samples[draw(3)];
        OpenByMouse(file);
        return "open-" + QString(file).section('.', 0, 0);
    }
    case 9:
        if (count > 3) {
            CloseByMouse(step + "-close");
            return "close";
        }
        ActivateByTab(target);
        return "tab";
    case 10:
        WindowsAndBack(draw(2) == 0, step + "-windows");
        return "windows";
    case 11:
        if (Active().calculable) {
            CalculateAndShowResults(draw(2) == 0);
            return "calculate";
        }
        [[fallthrough]];
    case 12:
        if (Active().region && !Active().meshed && Active().mode == 'M') {
            GenerateMesh(draw(2) == 0);
            return "mesh";
        }
        [[fallthrough]];
    default:
        if (!Active().region && !Active().constrained && Active().mode == 'M' &&
            !Active().name.startsWith("Shell")) {
            ImportRegion();
            return "import";
        }
        ActivateByTab(target);
        return "tab";
    }
}

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
    ShownProgram shown;
    StartOnDocument(run, m_dir.filePath("plate.plb"), true, shown);
    if (HasFatalFailure())
        return;
    m_window = shown.window;
    m_rest = shown.rest;
    m_view = shown.view.adjusted(2, 2, -2, -2);
    m_client = ClientTopLeft(m_window);
    m_docs.append(Document{"plate.plb", ++m_serial, false, true, "Steel", true, false, 'M'});
    SaveShot(Screen().copy(QRect(At(ThicknessBox().left(), ThicknessBox().top()), ThicknessBox().size())),
             "activation-thickness-box.png");

    ExpectInFront("1-plate");

    // Model > Export region, into "regions.txt".
    ASSERT_TRUE(MenuItem("alt+m", "e"));
    ASSERT_TRUE(AnswerFileDialog("Save As", "regions")) << "no file dialog for Export region";
    ASSERT_NE(FocusedDialog("Import/Export section modules"), 0u) << "no scale dialog";
    ASSERT_TRUE(Key({"Return"}));
    ASSERT_TRUE(WaitForFile(m_dir.filePath("regions.txt")));

    // File > New, a membrane.
    NewByWizard(kMembrane, 1);
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("2-membrane1");
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
    ExpectInFront("3-after-refusal");
    EXPECT_LT(DifferingShare(Screen(), twoTabs, tabs), kSame) << "the tabs changed after a refused open";

    // File > New plate, Model > Import region of the exported file; then
    // plate.plb in front again is whole and keeps its material.
    NewByWizard(kPlate, 4);
    ASSERT_FALSE(HasFatalFailure());
    ImportRegion();
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("4-imported");
    ActivateByTab(0);
    ExpectInFront("5-plate-again");

    // As a user reported it, the menus by the mouse: plate.plb and
    // membrane.mem calculated and in results mode; a new DKT plate by the
    // wizard; the membrane's tab.
    CalculateAndShowResults(true);
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("6-plate-results");
    OpenByMouse("membrane.mem");
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("7-membrane");
    CalculateAndShowResults(false);
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("8-membrane-results");
    NewByWizard(kPlate, 1);
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("9-plate2");
    ActivateByTab(3);
    ExpectInFront("10-membrane-tab");
    // A shell beside them.
    OpenByMouse("buckling.shl");
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("10-buckling");

    // As another user reported it: six documents, plate.plb closed, a new
    // constrained DKT plate (Plate1, as the free Plate1 is), plate.plb
    // opened again; the constrained plate's tab, then its entry in the
    // Window list: its own view and region, not plate.plb's.
    ActivateByTab(0);
    ExpectInFront("11-plate");
    CloseByMouse("11-close-plate");
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("11-after-close");
    NewByWizard(kPlateConstrained, 1);
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("11-constrained-plate1");
    const int constrained = m_active;
    OpenByMouse("plate.plb");
    ASSERT_FALSE(HasFatalFailure());
    ExpectInFront("11-plate-opened");
    ActivateByTab(constrained);
    ExpectInFront("11-constrained-tab");
    ActivateByTab(int(m_docs.size()) - 1);
    ExpectInFront("11-plate-tab");
    m_active = constrained;
    ASSERT_TRUE(MenuItem("alt+w", QString::number(constrained + 1)));
    ExpectInFront("11-constrained-window-list");

    // The random walk.
    QList<unsigned> seeds = {7};
    int steps = 10;
    if (qEnvironmentVariableIsSet("BRANTEL_ACTIVATION_SEEDS")) {
        seeds.clear();
        for (const QString& seed : qEnvironmentVariable("BRANTEL_ACTIVATION_SEEDS").split(' ', Qt::SkipEmptyParts))
            seeds.append(seed.toUInt());
    }
    if (qEnvironmentVariableIsSet("BRANTEL_ACTIVATION_STEPS"))
        steps = qEnvironmentVariableIntValue("BRANTEL_ACTIVATION_STEPS");
    for (const unsigned seed : seeds) {
        std::mt19937 random(seed);
        for (int step = 0; step < steps && !HasFatalFailure(); ++step) {
            const QString prefix = QString("12-seed%1-step%2").arg(seed).arg(step);
            const QString name = RandomStep(random, prefix);
            if (!HasFatalFailure())
                ExpectInFront(prefix + "-" + name);
        }
    }

    // Window > "Documents as tabs" off, Cascade, and on again.
    if (!HasFatalFailure())
        WindowsAndBack(true, "13");
}

} // namespace activation_journey

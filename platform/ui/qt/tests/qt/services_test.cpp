// The Qt services: message boxes, file, font and colour dialogs, popup
// menus, clipboard, opener, wait cursor and the profile file.
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

using afxui::qt::testing::ModalHookScope;
using afxui::qt::testing::TestApplication;

class QtServices : public ::testing::Test
{
protected:
    void SetUp() override { TestApplication(); }
};

// ---- Message boxes ----------------------------------------------------------

TEST_F(QtServices, MessageBoxTypesMapToButtonsDefaultsAndEscapeAnswers)
{
    struct Case {
        UINT nType;
        std::vector<QMessageBox::StandardButton> buttons; // as they show
        int nEnter;                                       // the default button's answer
        int nEscape;                                      // Escape's answer
    } cases[] = {
        {MB_OK, {QMessageBox::Ok}, IDOK, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION, {QMessageBox::Ok, QMessageBox::Cancel}, IDOK, IDCANCEL},
        {MB_YESNO, {QMessageBox::Yes, QMessageBox::No}, IDYES, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, {QMessageBox::Yes, QMessageBox::No}, IDNO, IDNO},
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION,
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
         IDYES,
         IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON3,
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
         IDCANCEL,
         IDCANCEL},
        {MB_RETRYCANCEL, {QMessageBox::Retry, QMessageBox::Cancel}, IDRETRY, IDCANCEL},
    };
    CQtMessageService service;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nType);
        for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
            QString title;
            std::vector<QMessageBox::StandardButton> shown;
            ModalHookScope hook([&](QDialog& dialog) {
                auto& box = dynamic_cast<QMessageBox&>(dialog);
                title = box.windowTitle();
                for (QAbstractButton* b : box.buttons())
                    shown.push_back(box.standardButton(b));
                QTest::keyClick(&box, key);
            });
            const int answer = service.MessageBox("Save changes to Plate1?", nullptr, c.nType);
            EXPECT_EQ(answer, key == Qt::Key_Return ? c.nEnter : c.nEscape);
            EXPECT_EQ(title, "Brantel"); // a null caption
            std::sort(shown.begin(), shown.end());
            std::vector<QMessageBox::StandardButton> expected = c.buttons;
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(shown, expected);
        }
    }
}

TEST_F(QtServices, MessageBoxKeepsItsTextAndCaptionAndLiftsTheWaitCursor)
{
    CQtMessageService service;
    CQtCursor cursor;
    CCursorService* oldCursor = AfxSetCursorService(&cursor);
    AfxBeginWaitCursor();
    AfxBeginWaitCursor();
    bool cursorDuringBox = true;
    QString text, title;
    {
        ModalHookScope hook([&](QDialog& dialog) {
            auto& box = dynamic_cast<QMessageBox&>(dialog);
            cursorDuringBox = QGuiApplication::overrideCursor() != nullptr;
            text = box.text();
            title = box.windowTitle();
            box.button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(service.MessageBox("Load 2 kN/m\xB2", "Loads", MB_OK), IDOK);
    }
    EXPECT_FALSE(cursorDuringBox);
    EXPECT_EQ(text, QString::fromUtf16(u"Load 2 kN/m\u00B2"));
    EXPECT_EQ(title, "Loads");
    // Shown again, as deep as before.
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    AfxEndWaitCursor();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    AfxEndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    AfxSetCursorService(oldCursor);
}

// ---- File dialogs -----------------------------------------------------------

TEST_F(QtServices, FileFiltersShowWhatTheyFilter)
{
    struct Case {
        const char* filter;
        QStringList expected;
    } cases[] = {
        // The pattern field decides what shows.
        {"Shell analysis File (*.csh)|*.chl||", {"Shell analysis File (*.chl)"}},
        {"Brantel files (*.plb;*.pbc;*.mem;*.plc;*.shl)|*.plb;*.pbc;*.mem;*.plc;*.shl|"
         "Plate bending files (*.plb)|*.plb|Membrane  files (*.mem)|*.mem|"
         "Constrained mesh plate bending files (*.pbc)|*.pbc|"
         "Constrained mesh membrane files (*.plc)|*.plc|Plane shell files (*.shl)|*.shl||",
         {"Brantel files (*.plb *.pbc *.mem *.plc *.shl)", "Plate bending files (*.plb)",
          "Membrane files (*.mem)", "Constrained mesh plate bending files (*.pbc)",
          "Constrained mesh membrane files (*.plc)", "Plane shell files (*.shl)"}},
        {"Windows Bitmap (*.bmp)|*.bmp|Targa (*.tga )|*.tga|"
         "Tagged Image File Format(*.tif)|*.tif||",
         {"Windows Bitmap (*.bmp)", "Targa (*.tga)", "Tagged Image File Format (*.tif)"}},
        {"Text file ( *.txt )|*.txt||", {"Text file (*.txt)"}},
        {"ASCII text files (*.*)|*.*||", {"ASCII text files (*)"}},
        {"Palettes|*.pal", {"Palettes (*.pal)"}}, // no closing "||"
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(AfxQtFileFilters(c.filter), c.expected);
    }
}

TEST_F(QtServices, FileDialogGivesThePathsAndTheOneBasedFilterIndex)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"a.plb", "b.mem"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    CQtFileDialogs service;
    AfxFileDialogRequest request;
    request.dwFlags = OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_EXPLORER;
    request.strFilter = "Plate bending files (*.plb)|*.plb|Membrane  files (*.mem)|*.mem||";
    request.nFilterIndex = 2;
    request.strInitialDir = CString(QFile::encodeName(dir.path()).constData());

    QStringList filters;
    QString selected;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    {
        ModalHookScope hook([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            filters = files.nameFilters();
            selected = files.selectedNameFilter();
            mode = files.fileMode();
            EXPECT_TRUE(files.testOption(QFileDialog::DontUseNativeDialog));
            files.selectNameFilter(filters[0]);
            files.selectFile("\"a.plb\" \"b.mem\"");
            dialog.accept(); // QFileDialog::accept, through QDialog
        });
        const AfxFileDialogResult result = service.ShowFileDialog(request, nullptr);
        ASSERT_TRUE(result.bOK);
        EXPECT_EQ(result.nFilterIndex, 1);
        ASSERT_EQ(result.paths.size(), 2u);
        EXPECT_EQ(std::string(result.paths[0]), dir.filePath("a.plb").toStdString());
        EXPECT_EQ(std::string(result.paths[1]), dir.filePath("b.mem").toStdString());
    }
    EXPECT_EQ(filters, QStringList({"Plate bending files (*.plb)", "Membrane files (*.mem)"}));
    EXPECT_EQ(selected, "Membrane files (*.mem)"); // the request's index 2
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);

    ModalHookScope cancel([](QDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(service.ShowFileDialog(request, nullptr).bOK);
}

// A save dialog gives a bare name the extension of the type chosen in it
// (the default extension only where the type has no single one); a name
// with an extension keeps it.
TEST_F(QtServices, SaveDialogGivesABareNameTheChosenTypesExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CQtFileDialogs service;
    AfxFileDialogRequest request;
    request.bOpenFileDialog = FALSE;
    request.dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.strDefExt = "bmp";
    request.strFilter = "Windows Bitmap (*.bmp)|*.bmp|JPEG Filter (*.jpg)|*.jpg|Targa (*.tga )|*.tga|"
                        "Any file (*.*)|*.*||";
    request.strInitialDir = CString(QFile::encodeName(dir.path()).constData());
    struct Case {
        int nStartIndex; // the request's type
        int nPicked;     // the type the user picks in the dialog (0-based), -1 none
        const char* name;
        const char* file;
        int nIndex;
    } cases[] = {
        {1, 1, "img2_jpg", "img2_jpg.jpg", 2},
        {1, 2, "pic", "pic.tga", 3},
        {2, -1, "start", "start.jpg", 2},
        {1, 1, "kept.png", "kept.png", 2},
        {1, 3, "any", "any.bmp", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        request.nFilterIndex = c.nStartIndex;
        ModalHookScope hook([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            if (c.nPicked >= 0) {
                // As a user picks it: the arrow key in the dialog's type box.
                auto* types = files.findChild<QComboBox*>("fileTypeCombo");
                ASSERT_NE(types, nullptr);
                for (int i = types->currentIndex(); i < c.nPicked; ++i)
                    QTest::keyClick(types, Qt::Key_Down);
                EXPECT_EQ(types->currentIndex(), c.nPicked);
            }
            files.selectFile(c.name);
            dialog.accept();
        });
        const AfxFileDialogResult result = service.ShowFileDialog(request, nullptr);
        ASSERT_TRUE(result.bOK);
        ASSERT_EQ(result.paths.size(), 1u);
        EXPECT_EQ(std::string(result.paths[0]), dir.filePath(c.file).toStdString());
        EXPECT_EQ(result.nFilterIndex, c.nIndex);
    }
    EXPECT_EQ(AfxQtFilterSuffix("Targa (*.tga)"), "tga");
    EXPECT_EQ(AfxQtFilterSuffix("Images (*.jpg *.tif)"), "");
    EXPECT_EQ(AfxQtFilterSuffix("All (*)"), "");
}

// ---- Fonts and colours ------------------------------------------------------

TEST_F(QtServices, LogFontsAndColoursMapBothWays)
{
    struct Case {
        const char* face;
        LONG height;
        LONG weight;
        BYTE italic, underline, strikeOut;
    } cases[] = {
        {"DejaVu Sans", -13, 400, 0, 0, 0},
        {"Liberation Serif", -20, 700, 1, 0, 0},
        {"DejaVu Sans Mono", -9, 400, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        LOGFONT lf;
        std::memset(&lf, 0, sizeof lf);
        std::strcpy(lf.lfFaceName, c.face);
        lf.lfHeight = c.height;
        lf.lfWeight = c.weight;
        lf.lfItalic = c.italic;
        lf.lfUnderline = c.underline;
        lf.lfStrikeOut = c.strikeOut;
        const QFont font = AfxQtFontFromLogFont(lf);
        EXPECT_EQ(font.family(), c.face);
        EXPECT_EQ(font.pixelSize(), -c.height);
        EXPECT_EQ(font.weight(), c.weight);
        EXPECT_EQ(font.italic(), c.italic != 0);
        EXPECT_EQ(AfxQtLogFontFromFont(font), lf);
    }
    for (COLORREF clr : {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 128, 255), RGB(12, 34, 56)}) {
        const QColor color = AfxQtColor(clr);
        EXPECT_EQ(color.red(), GetRValue(clr));
        EXPECT_EQ(color.green(), GetGValue(clr));
        EXPECT_EQ(color.blue(), GetBValue(clr));
        EXPECT_EQ(AfxQtColorRef(color), clr);
    }
}

TEST_F(QtServices, ColourAndFontDialogsGiveTheChoiceOnOkAndNothingOnCancel)
{
    CQtColorDialogs colours;
    COLORREF clr = RGB(10, 20, 30);
    {
        ModalHookScope hook([](QDialog& dialog) {
            auto& chooser = dynamic_cast<QColorDialog&>(dialog);
            EXPECT_EQ(chooser.currentColor(), QColor(10, 20, 30));
            chooser.setCurrentColor(QColor(200, 100, 50));
            chooser.accept();
        });
        EXPECT_TRUE(colours.ChooseColor(clr, nullptr));
    }
    EXPECT_EQ(clr, RGB(200, 100, 50));
    {
        ModalHookScope hook([](QDialog& dialog) { dialog.reject(); });
        EXPECT_FALSE(colours.ChooseColor(clr, nullptr));
    }
    EXPECT_EQ(clr, RGB(200, 100, 50));

    CQtFontDialogs fonts;
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    std::strcpy(lf.lfFaceName, "DejaVu Sans");
    lf.lfHeight = -12;
    lf.lfWeight = 400;
    {
        ModalHookScope hook([](QDialog& dialog) {
            auto& chooser = dynamic_cast<QFontDialog&>(dialog);
            EXPECT_EQ(chooser.currentFont().family(), "DejaVu Sans");
            chooser.setCurrentFont(QFont("DejaVu Serif", 12));
            chooser.accept();
        });
        EXPECT_TRUE(fonts.ChooseFont(lf, nullptr));
    }
    EXPECT_STREQ(lf.lfFaceName, "DejaVu Serif");
    EXPECT_LT(lf.lfHeight, 0); // a character height
    const LOGFONT before = lf;
    {
        ModalHookScope hook([](QDialog& dialog) { dialog.reject(); });
        EXPECT_FALSE(fonts.ChooseFont(lf, nullptr));
    }
    EXPECT_EQ(lf, before);
}

// ---- Popup menus, clipboard, opener -----------------------------------------

TEST_F(QtServices, PopupMenusShowTextsCurrentIdsAndStates)
{
    AfxMenu menu = {AfxMenuItem(34080, "&Repeat\tR"), AfxMenuSeparator(),
                    AfxMenuPopup("&View", {AfxMenuItem(50001, "&Log window")}),
                    AfxMenuItem(57634, "&Copy")};
    menu[0].item.nCurrentID = 32773; // re-targeted
    menu[2].popup[0].item.nCheck = 1;
    menu[3].item.bEnabled = FALSE;
    QMenu qmenu;
    AfxQtFillMenu(qmenu, menu);
    const QList<QAction*> actions = qmenu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "&Repeat\tR");
    EXPECT_EQ(actions[0]->data().toUInt(), 32773u); // what choosing dispatches
    EXPECT_TRUE(actions[1]->isSeparator());
    ASSERT_NE(actions[2]->menu(), nullptr);
    const QAction* log = actions[2]->menu()->actions().value(0);
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isChecked());
    EXPECT_EQ(log->data().toUInt(), 50001u);
    EXPECT_FALSE(actions[3]->isEnabled());
}

TEST_F(QtServices, ClipboardTakesABottomUpDib)
{
    // 3 x 2 pixels, 24 bits: rows of 9 bytes padded to 12, bottom row first.
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 3;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const unsigned char bits[24] = {
        0,   0,   255, 0, 255, 0, 255, 0,   0,   9, 9, 9, // bottom: red, green, blue
        255, 255, 255, 0, 0,   0, 0,   255, 255, 9, 9, 9, // top: white, black, yellow
    };
    const QImage image = AfxQtImageFromDib(header, bits, sizeof bits);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 255, 0));
    EXPECT_TRUE(AfxQtImageFromDib(header, bits, sizeof bits - 1).isNull()); // too short

    CQtClipboard clipboard;
    ASSERT_TRUE(clipboard.SetDib(header, bits, sizeof bits));
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              image.convertToFormat(QImage::Format_RGB32));
}

TEST_F(QtServices, OpenerRefusesAMissingFile)
{
    CQtOpener opener;
    EXPECT_FALSE(opener.OpenFile("/nonexistent/Brantel_U_man.pdf"));
    EXPECT_FALSE(opener.OpenFile(""));
}

// ---- Profile ----------------------------------------------------------------

TEST_F(QtServices, ProfileLivesInTheConfigFolderAndRoundTrips)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    const bool hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    const QString path = AfxQtProfilePath();
    EXPECT_EQ(path, home.path() + "/Vornetic Applications/brantel.ini");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(AfxQtProfilePath(), QDir::homePath() + "/.config/Vornetic Applications/brantel.ini");
    if (hadXdg)
        qputenv("XDG_CONFIG_HOME", oldXdg);

    const BYTE blob[] = {0, 1, 2, 255, '=', '\n'};
    {
        CQtProfile profile(path);
        EXPECT_TRUE(profile.WriteInt("Properties", "OGLAccel", 1));
        EXPECT_TRUE(profile.WriteString("Recent File List", "File1", "/data/Platte \xB2.plb"));
        EXPECT_TRUE(profile.WriteBinary("brantel", "BarState", blob, sizeof blob));
        // Nothing reaches the disk before the flush at the program's end,
        // even when the event loop runs; reads see the writes at once.
        QCoreApplication::processEvents();
        EXPECT_FALSE(QFile::exists(path));
        int accel = 0;
        EXPECT_TRUE(profile.GetInt("Properties", "OGLAccel", accel));
        EXPECT_EQ(accel, 1);
        profile.Flush();
    }
    EXPECT_TRUE(QFile::exists(path));
    CQtProfile profile(path);
    int n = 0;
    EXPECT_TRUE(profile.GetInt("Properties", "OGLAccel", n));
    EXPECT_EQ(n, 1);
    CString text;
    EXPECT_TRUE(profile.GetString("Recent File List", "File1", text));
    EXPECT_EQ(std::string(text), "/data/Platte \xB2.plb");
    std::vector<BYTE> data;
    EXPECT_TRUE(profile.GetBinary("brantel", "BarState", data));
    EXPECT_EQ(data, std::vector<BYTE>(blob, blob + sizeof blob));
    EXPECT_FALSE(profile.GetInt("Properties", "Selection buffer", n));
    EXPECT_FALSE(profile.GetString("brantel", "VizBarState", text));
    // Through the application's calls, with their defaults.
    CProfileService* old = AfxSetProfileService(&profile);
    EXPECT_EQ(AfxGetProfileInt("Properties", "OGLAccel", 0), 1u);
    EXPECT_EQ(AfxGetProfileInt("Properties", "Selection buffer", 4096), 4096u);
    AfxSetProfileService(old);
}

} // namespace

namespace
{

TEST(QtEnvironment, InstallsTheQtBackendAndServicesWhileItLives)
{
    TestApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Vornetic Applications/brantel.ini");
    CWndBackend* backendBefore = AfxGetWndBackend();
    CMessageService* boxesBefore = AfxGetMessageService();
    {
        CQtEnvironment env(path);
        EXPECT_EQ(AfxGetWndBackend(), &env.Backend());
        EXPECT_NE(dynamic_cast<CQtMessageService*>(AfxGetMessageService()), nullptr);
        EXPECT_NE(dynamic_cast<CQtFileDialogs*>(AfxGetFileDialogService()), nullptr);
        EXPECT_NE(dynamic_cast<CQtColorDialogs*>(AfxGetColorDialogService()), nullptr);
        EXPECT_NE(dynamic_cast<CQtCursor*>(AfxGetCursorService()), nullptr);
        EXPECT_TRUE(AfxWriteProfileInt("Window", "Maximized", 1));
    }
    EXPECT_EQ(AfxGetWndBackend(), backendBefore);
    EXPECT_EQ(AfxGetMessageService(), boxesBefore);
    CQtProfile written(path); // flushed when the environment ended
    int n = 0;
    EXPECT_TRUE(written.GetInt("Window", "Maximized", n));
    EXPECT_EQ(n, 1);
}

// Records the boxes shown.
class CRecordedBoxes : public CMessageService
{
public:
    std::vector<std::string> texts;
    int MessageBox(LPCTSTR lpszText, LPCTSTR, UINT) override
    {
        texts.emplace_back(lpszText);
        return IDOK;
    }
};

// A window whose handler of its button throws.
class CThrowingWindow : public CWnd
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
            throw std::runtime_error("the mesh is gone");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(QtEnvironment, AnExceptionFromAHandlerStopsAtTheQtBoundaryAndIsReported)
{
    TestApplication();
    CQtBackend backend;
    CRecordedBoxes boxes;
    CWndBackend* oldBackend = AfxSetWndBackend(&backend);
    CMessageService* oldBoxes = AfxSetMessageService(&boxes);
    {
        CThrowingWindow window;
        ASSERT_TRUE(window.Create(nullptr, "Throws", WS_VISIBLE, CRect(0, 0, 100, 60), nullptr, 0));
        CButton button;
        ASSERT_TRUE(button.Create(nullptr, "Mesh", WS_VISIBLE | BS_PUSHBUTTON,
                                  CRect(10, 10, 60, 30), &window, 1));
        auto* widget = qobject_cast<QAbstractButton*>(AfxQtWidgetOf(&button));
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton); // must not throw into Qt
        EXPECT_EQ(boxes.texts,
                  std::vector<std::string>{"An unexpected error occurred: the mesh is gone"});
    }
    AfxSetMessageService(oldBoxes);
    AfxSetWndBackend(oldBackend);
}

} // namespace

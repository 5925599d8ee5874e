// The framework's pages and dialogs on Qt peers on a real display: a
// picture of each, the colour-scale page's own painting and a click on it,
// the page's colour button through the real QColorDialog, and what each
// window shows first (enabled, hidden) as the widgets show it; the log window docked in a main window.
#include <cmath>

#include <functional>
#include <memory>
#include <vector>

#include <QColorDialog>
#include <QDockWidget>
#include <QImage>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

#include "framework/framira.h"
#include "platform/ui/qt/tests/framework_qt/log_frame.h"
#include "platform/ui/qt/tests/pages_gui/pages_gui.h"
#include "tests/framira/page_runner.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using pages_gui::PagesOnQt;
using pages_gui::ShowDialogs;
using pages_gui::ShownEnabled;
using pages_gui::ShownVisible;
using pages_gui::Picture;

TEST_F(PagesOnQt, ColourScaleTakesItsColourFromTheQtColourDialog)
{
    framira_test::SetTwoRamps();
    // The program's colour dialog in place of the scripted one; the user
    // picks a colour in it and presses OK.
    CQtColorDialogs qtColours;
    CColorDialogService* scripted = AfxSetColorDialogService(&qtColours);
    afxui::qt::testing::ModalHookScope hook([](QDialog& dialog) {
        auto* colours = qobject_cast<QColorDialog*>(&dialog);
        ASSERT_NE(colours, nullptr);
        EXPECT_TRUE(dialog.isVisible());
        colours->setCurrentColor(QColor(255, 0, 51));
        dialog.accept();
    });
    KorPPColorScale page;
    framira_test::RunPage(page, [&](DialogDriver& d, ModalScript&) {
        Picture(*page.GetParent(), "pages-colour-scale.png");
        framira_test::ClickEntry(page, 40);
        d.Click(KorPPColorScale::IDC_MODIFY);
        EXPECT_EQ(page.GetTable().colour[40][0], 1.0f);
        EXPECT_EQ(page.GetTable().colour[40][2], 0.2f);
        EXPECT_EQ(d.Text(KorPPColorScale::IDC_RED), "100");
        EXPECT_EQ(d.Text(KorPPColorScale::IDC_BLUE), "20");
        d.PressCancel();
    });
    AfxSetColorDialogService(scripted);
}

// The page's picture as the screen shows it: pixel (x, y) of the picture.
QColor PictureOnScreen(KorPPColorScale& page, int x, int y)
{
    const QImage shown = AfxQtWidgetOf(&page)->grab().toImage();
    return shown.pixelColor(x + KorPPColorScale::kPictureLeft, y + KorPPColorScale::kPictureTop);
}

QColor Q(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TEST_F(PagesOnQt, ColourScalePictureOnScreenFollowsAUsersClick)
{
    framira_test::SetTwoRamps();
    KorPPColorScale page;
    framira_test::RunPage(page, [&](DialogDriver& d, ModalScript&) {
        QWidget* widget = AfxQtWidgetOf(&page);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
        // The picture (its cells and the strip 30 pixels below them) lies
        // in the page, clear of every control.
        const int side = static_cast<int>(std::sqrt(double(framira::kPaletteEntries)));
        const CRect last = page.CellRect(side - 1, side - 1);
        const QRect picture(KorPPColorScale::kPictureLeft, KorPPColorScale::kPictureTop, last.right,
                            last.bottom + 30);
        EXPECT_TRUE(widget->rect().contains(picture));
        for (const QWidget* control : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (control->isVisible()) {
                EXPECT_FALSE(picture.intersects(control->geometry()))
                    << control->metaObject()->className();
            }
        const CRect node = page.CellRect(0, 8); // entry 128, a node
        const CPoint mid((node.left + node.right) / 2, (node.top + node.bottom) / 2);
        EXPECT_EQ(PictureOnScreen(page, node.left, mid.y), QColor(255, 0, 0));
        EXPECT_EQ(PictureOnScreen(page, mid.x, mid.y), Q(page.EntryColour(128)));
        // The strip: one column an entry, black at 128.
        EXPECT_EQ(PictureOnScreen(page, 64, 346 + 10), Q(page.EntryColour(64)));
        EXPECT_EQ(PictureOnScreen(page, 128, 346 + 10), QColor(0, 0, 0));

        const CRect cell = page.CellRect(8, 2); // entry 40
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                          QPoint((cell.left + cell.right) / 2 + KorPPColorScale::kPictureLeft,
                                 (cell.top + cell.bottom) / 2 + KorPPColorScale::kPictureTop));
        EXPECT_EQ(page.GetSelection(), 40);
        EXPECT_EQ(AfxQtWidgetOf(page.GetDlgItem(KorPPColorScale::IDC_RED))->toolTip(),
                  QString("Red (%%)"));
        EXPECT_EQ(d.Text(KorPPColorScale::IDC_SELECTION), "40");
        EXPECT_EQ(PictureOnScreen(page, cell.left + 1, (cell.top + cell.bottom) / 2),
                  QColor(255, 255, 255));
        const CRect first = page.CellRect(0, 0); // the selection before
        EXPECT_EQ(PictureOnScreen(page, first.left + 1, (first.top + first.bottom) / 2),
                  QColor(240, 240, 240));
        Picture(*page.GetParent(), "pages-colour-scale-selected.png");
        d.PressCancel();
    });
}

TEST_F(PagesOnQt, TwoValueDialogTakesBothValues)
{
    KorDlgDblValTwo dlg("Image size", "Width", "Height", "pixel", "pixel", "", nullptr);
    ModalScript script;
    script.Dialog(KorDlgDblValTwo::IDD, [](DialogDriver& d, CDialog& shown) {
        Picture(shown, "dialog-two-values.png");
        d.Type(50058, "640");
        d.Type(50057, "480");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_dVal1, 640.0);
    EXPECT_EQ(dlg.m_dVal2, 480.0);
}

TEST_F(PagesOnQt, TheLogWindowKeepsItsLastLineInViewAfterALongRun)
{
    KorLogWnd log;
    CMDIFrameWnd* frame = framework_qt::MakeFrameWithLog(log);
    ASSERT_NE(frame, nullptr);
    frame->ShowWindow(SW_SHOW);
    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(frame));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* dock = window->findChild<QDockWidget*>();
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(window->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(dock->isVisible());

    // 40,000 characters in lines of 50, past the default limit of 30,000.
    for (int i = 0; i < 800; ++i) {
        CStringArray lines;
        lines.Add(AfxFormat("Step %05d of the long run ......................\r\n", i));
        log.WriteLogEntry(&lines);
    }
    QCoreApplication::processEvents();
    auto* edit = qobject_cast<QPlainTextEdit*>(AfxQtWidgetOf(&log.GetLogEdit()));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_LE(edit->toPlainText().size(), 30000);
    // The last written line is on screen: its block lies in the viewport.
    QTextBlock last = edit->document()->lastBlock();
    if (last.text().isEmpty())
        last = last.previous();
    EXPECT_EQ(last.text().toStdString().substr(0, 15), "Step 00799 of t");
    const QRect shown = edit->cursorRect(QTextCursor(last));
    EXPECT_TRUE(edit->viewport()->rect().intersects(shown))
        << shown.y() << " outside 0.." << edit->viewport()->height();
    Picture(*frame, "log-window.png");
    log.DestroyWindow();
    frame->DestroyWindow();
}

TEST_F(PagesOnQt, SettingsAndListPagesShowAsTheirTemplatesSay)
{
    double values[4] = {1.5, 2, 3, 0};
    struct Case {
        const char* file;
        std::function<std::unique_ptr<CPropertyPage>()> make;
        std::function<void(DialogDriver&, CPropertyPage&)> check;
    };
    const Case cases[] = {
        {"pages-light.png", [] { return std::make_unique<KorPPLight>(); },
         [](DialogDriver& d, CPropertyPage& page) {
             // A light's colour buttons follow its check box.
             const bool on = d.Check(KorPPLight::IDC_LIGHT2) == 1;
             EXPECT_EQ(ShownEnabled(page, KorPPLight::kButtons[3]), on);
             d.Click(KorPPLight::IDC_LIGHT2);
             EXPECT_EQ(ShownEnabled(page, KorPPLight::kButtons[3]), !on);
             d.Click(KorPPLight::IDC_LIGHT2);
         }},
        {"pages-screen-colours.png", [] { return std::make_unique<KorPPScreenClr>(); },
         [](DialogDriver&, CPropertyPage& page) {
             for (int nID : KorPPScreenClr::kButtons)
                 EXPECT_TRUE(ShownVisible(page, nID)) << nID;
         }},
        {"pages-opengl-settings.png", [] { return std::make_unique<KorPPOGLSett>(nullptr); },
         [](DialogDriver&, CPropertyPage& page) {
             for (int nID : KorPPOGLSett::kSizeEdits)
                 EXPECT_TRUE(ShownVisible(page, nID)) << nID;
         }},
        // Without a view's renderer (the glviews gui test shows it with one).
        {"pages-opengl-information-without-view.png",
         [] { return std::make_unique<KorPPOGLInfo>(nullptr); },
         [](DialogDriver&, CPropertyPage& page) {
             EXPECT_TRUE(ShownVisible(page, KorPPOGLInfo::IDC_EXTENSIONS));
         }},
        {"pages-number-list-edit.png",
         [&] { return std::make_unique<KorPPNumListEdit>("Thicknesses", values, 3, 4, 10.0, 1); },
         [](DialogDriver& d, CPropertyPage&) {
             EXPECT_EQ(d.Items(KorPPNumListEdit::IDC_ITEMS),
                       (std::vector<CString>{"15", "20", "30"}));
         }},
        {"pages-select-by-id.png",
         [] { return std::make_unique<KorPPSelectID>("Nodes", "", "Regions"); },
         [](DialogDriver&, CPropertyPage& page) {
             EXPECT_TRUE(ShownVisible(page, 16144));
             EXPECT_FALSE(ShownVisible(page, 16145));
         }},
        {"pages-two-choices.png",
         [] {
             auto page = std::make_unique<KorPPTwoRad>();
             page->m_strRadio1 = "Linear";
             page->m_strRadio2 = "Quadratic";
             page->m_strGroup = "Interpolation";
             page->m_strText = "Applies to new meshes";
             return page;
         },
         [](DialogDriver&, CPropertyPage& page) { EXPECT_TRUE(ShownVisible(page, 16145)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::unique_ptr<CPropertyPage> page = c.make();
        framira_test::RunPage(*page, [&](DialogDriver& d, ModalScript&) {
            Picture(*page->GetParent(), c.file);
            c.check(d, *page);
            d.PressCancel();
        });
    }
}

TEST_F(PagesOnQt, InputDialogsShowAsTheirTemplatesSay)
{
    ShowDialogs({
        {"dialog-circle.png", KorDlgCircle::IDD,
         [] { return std::make_unique<KorDlgCircle>(2, nullptr); },
         [](DialogDriver&, CDialog& shown) {
             EXPECT_FALSE(ShownEnabled(shown, 50077)); // "Approximate area"
             EXPECT_TRUE(ShownEnabled(shown, 50078));
         }},
        {"dialog-one-value.png", KorDlgDblVal::IDD_UNIT,
         [] { return std::make_unique<KorDlgDblVal>("Set Zoom Factor", 2.5, "%", nullptr); },
         [](DialogDriver& d, CDialog& shown) {
             EXPECT_EQ(d.Text(16231), "%");
             EXPECT_FALSE(ShownEnabled(shown, 50080)); // "&Apply"
         }},
        {"dialog-three-values.png", KorDlgDblValThree::IDD,
         [] {
             return std::make_unique<KorDlgDblValThree>("Move Absolute", "X", "Y", "Z", "mm", "mm",
                                                        "mm", "Coordinates", nullptr);
         },
         [](DialogDriver&, CDialog&) {}},
        {"dialog-fillet.png", KorDlgFillet::IDD,
         [] { return std::make_unique<KorDlgFillet>(4, nullptr); },
         [](DialogDriver&, CDialog& shown) { EXPECT_FALSE(ShownVisible(shown, 50079)); }},
        {"dialog-import-scale.png", KorDlgImpExpScl::IDD,
         [] { return std::make_unique<KorDlgImpExpScl>(0, nullptr); },
         [](DialogDriver& d, CDialog& shown) {
             EXPECT_FALSE(ShownVisible(shown, 16236));
             EXPECT_FALSE(ShownVisible(shown, 50102));
             d.Click(16145); // "Inches"
             EXPECT_EQ(AfxQtWidgetOf(shown.GetDlgItem(50099))->property("text").toString(),
                       QString("in"));
         }},
        {"dialog-rotate-all.png", KorDlgRotate::IDD,
         [] { return std::make_unique<KorDlgRotate>(nullptr); },
         [](DialogDriver&, CDialog&) {}},
    });
}

TEST_F(PagesOnQt, CoordinateDialogsShowTheirPlaneAndUnits)
{
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, "frame", 0, CRect(0, 0, 10, 10), nullptr, 0));
    struct Case {
        const char* file;
        std::function<std::unique_ptr<KorDlgCoordInput>()> make;
        int nLabel;
        const char* label;
    };
    const Case cases[] = {
        {"dialog-coordinates.png",
         [&] { return std::make_unique<KorDlgCoordInput>("mm", 1, &parent); }, 50011, "Z' coord"},
        {"dialog-coordinates-offset.png",
         [&] { return std::make_unique<KorDlgCoordInputEx>("mm", 0, &parent); }, 50012,
         "X' coord offset"},
        {"dialog-coordinates-3d.png",
         [&] { return std::make_unique<KorDlgCoordInputEx3D>("m", &parent); }, 50022,
         "Z' coord offset"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::unique_ptr<KorDlgCoordInput> dlg = c.make();
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(SW_SHOW);
        DialogDriver d(*dlg);
        EXPECT_EQ(d.Text(c.nLabel), c.label);
        Picture(*dlg, c.file);
        dlg->DestroyWindow();
    }
    parent.DestroyWindow();
}

} // namespace

// The framework's colour-scale page and two-value dialog on Qt peers on a
// real display: pictures of both, and the page's colour button through the
// real QColorDialog; the log window docked in a main window.
#include <QColorDialog>
#include <QDockWidget>
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

} // namespace

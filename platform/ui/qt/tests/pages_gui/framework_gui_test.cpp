// The framework's colour-scale page and two-value dialog on Qt peers on a
// real display: pictures of both, and the page's colour button through the
// real QColorDialog.
#include <QColorDialog>

#include "framework/framira.h"
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

} // namespace

// File New on the display: the user clicks through the real wizard pages
// with the mouse and gets the document they chose; pictures of the first
// wizard page and of the "Units" dialog are saved.
#include <algorithm>

#include <QTest>
#include <QWidget>

#include "app/shell/unitsdlg.h"
#include "app/shell/wizardpages.h"
#include "dialogs/doctypedlg.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

// A mouse click on the dialog's control nID, near its left end: on a radio
// button that is the indicator, whatever the width of the text.
void MouseClick(CDialog& dlg, int nID)
{
    CWnd* control = dlg.GetDlgItem(nID);
    ASSERT_NE(control, nullptr) << nID;
    QWidget* widget = AfxQtWidgetOf(control);
    ASSERT_NE(widget, nullptr) << nID;
    ASSERT_TRUE(widget->isVisible()) << nID;
    const QPoint centre = widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(std::min(centre.x(), 8), centre.y()));
}

void Save(CDialog& dlg, const char* file)
{
    QWidget* window = AfxQtWidgetOf(&dlg);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->window()));
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(window, file, &why)) << why.toStdString();
}

TEST_F(ShellOnQt, FileNewClickedThroughTheWizardMakesAMembraneDocument)
{
    auto app = std::make_unique<CBrantelApp>();
    app->SetCommandLine({Example("plate.plb").c_str()});
    ASSERT_TRUE(app->InitInstance());
    {
        ModalScript script;
        script.Dialog(VokDlgFPDocType::IDD,
                      [](DialogDriver&, CDialog& dlg) { MouseClick(dlg, 16001); });
        script.Dialog(CDlgMeshType::IDD, [](DialogDriver& d, CDialog& dlg) {
            Save(dlg, "wizard_element_page.png");
            MouseClick(dlg, 447); // Q8
            EXPECT_EQ(d.Check(447), 1);
            MouseClick(dlg, 1066);
        });
        script.Dialog(CDlgFinal::IDD, [](DialogDriver& d, CDialog& dlg) {
            EXPECT_EQ(d.Check(1145), 1);
            MouseClick(dlg, 1066);
        });
        app->OnFileNew();
    }
    const auto docs = app->m_pTemplates[2]->GetDocuments();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs.front()->GetTitle(), "Membrane1");
    EXPECT_EQ(iNewDocElemType, 44);
    EndApp(app);
}

TEST_F(ShellOnQt, TheUnitsDialogIsSavedAsAPicture)
{
    CPPSettings2 dlg;
    for (int s = 0; s < 2; ++s)
        for (int row = 0; row < 19; ++row)
            dlg.m_iConv[s][row][2] = 2;
    ModalScript script;
    script.Dialog(CPPSettings::IDD, [](DialogDriver& d, CDialog& w) {
        EXPECT_EQ(d.Caption(), "Units");
        EXPECT_EQ(d.Items(514).size(), 7u);
        Save(w, "units_dialog.png");
        d.PressCancel();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

} // namespace

// The program's small dialogs on the display: every field has a label that
// fits, the unit labels show whole, and a dialog without a caption of its
// own is titled "Brantel"; a picture of each is saved.
#include <QLabel>
#include <QWidget>

#include "app/shell/brantelshell.h"
#include "dialogs/doctypedlg.h"
#include "framework/framira.h"
#include "platform/ui/qt/tests/pages_gui/pages_gui.h"

namespace
{

using afxui::headless::DialogDriver;
using pages_gui::ShowDialogs;

using SmallDialogsOnQt = pages_gui::PagesOnQt;

// The label's text fits its widget across; text, when given, is what it
// says.
void ExpectWholeText(CDialog& shown, int nID, const QString& text = {})
{
    auto* label = qobject_cast<QLabel*>(AfxQtWidgetOf(shown.GetDlgItem(nID)));
    ASSERT_NE(label, nullptr) << nID;
    EXPECT_FALSE(label->text().isEmpty()) << nID;
    if (!text.isEmpty()) {
        EXPECT_EQ(label->text(), text) << nID;
    }
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
        << nID << " " << label->text().toStdString();
}

TEST_F(SmallDialogsOnQt, LabelsUnitsAndTitlesShowWhole)
{
    static double modes = 4.0;
    ShowDialogs({
        {"dialog-volume-forces.png", CDlgVolForce::IDD,
         [] { return std::make_unique<CDlgVolForce>(); },
         [](DialogDriver&, CDialog& shown) {
             for (int unit : {1187, 1188, 1189, 1190, 1191, 1192})
                 ExpectWholeText(shown, unit);
         }},
        {"dialog-buckling-modes.png", KorDlgDblVal::IDD_PLAIN,
         [] {
             return std::make_unique<KorDlgDblVal>("Number of buckling modes", &modes,
                                                   static_cast<CView*>(nullptr));
         },
         [](DialogDriver& d, CDialog& shown) {
             ExpectWholeText(shown, KorDlgDblVal::IDC_LABEL, "Number of buckling modes");
             EXPECT_EQ(d.Text(KorDlgDblVal::IDC_VALUE), "4");
         }},
        {"dialog-document-type-titled.png", VokDlgFPDocType::IDD,
         [] { return std::make_unique<VokDlgFPDocType>(nullptr); },
         [](DialogDriver&, CDialog& shown) {
             EXPECT_EQ(AfxQtWidgetOf(&shown)->windowTitle(), QString("Brantel"));
         }},
    });
}

} // namespace

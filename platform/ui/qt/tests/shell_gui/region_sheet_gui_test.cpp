// The region sheet of a plate example in the program's real window: each
// page shows its formula picture whole and the units of its values (no
// placeholder text), and a picture of each page is saved.
#include <QLabel>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "dialogs/pavesta.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;
using afxui::headless::DialogDriver;

TEST_F(ShellOnQt, RegionSheetShowsItsFormulasAndTheUnitsOfItsValues)
{
    auto app = std::make_unique<CBrantelApp>();
    const ShownExample example = ShowExample(*app, "plate.plb");
    ASSERT_NE(example.view, nullptr);
    CBrantelDoc* doc = example.view->GetBrantelDoc();
    ASSERT_GT(doc->GetPlateComp()->GetCount(), 0);
    CObject* region = doc->GetPlateComp()->GetHead();

    // The thickness and load pages: the base value, its two slopes and the
    // reference point each have a unit.
    const int units[] = {IDC_BILIN_BASE_UNIT, 16139, 16140, 16141, 16142};
    afxui::headless::ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& shown) {
        const char* files[] = {"sheet-region-material.png", "sheet-region-thickness.png",
                               "sheet-region-load.png"};
        for (int page = 0; page < 3; ++page) {
            SCOPED_TRACE(files[page]);
            d.ActivatePage(page);
            QString why;
            EXPECT_TRUE(
                afxui::qt::testing::SaveScreenshot(AfxQtWidgetOf(&shown), files[page], &why))
                << why.toStdString();
            if (page == 0)
                continue;
            CWnd* current = static_cast<CPropertySheet&>(shown).GetActivePage();
            ASSERT_NE(current, nullptr);
            for (int nID : units) {
                auto* label = qobject_cast<QLabel*>(AfxQtWidgetOf(current->GetDlgItem(nID)));
                ASSERT_NE(label, nullptr) << nID;
                EXPECT_FALSE(label->text().isEmpty()) << nID;
                EXPECT_NE(label->text(), "Static") << nID;
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << nID << " " << label->text().toStdString();
            }
        }
        d.PressCancel();
    });
    doc->EditRegionProperties(region);
    script.Verify();
    EndApp(app);
}

} // namespace

// The program's "Edit materials" dialog on the display: an orthotropic
// material selected shows its second modulus and expansions enabled; a
// picture of it is saved.
#include "app/shell/brantelshell.h"
#include "platform/ferrand/ferrand.h"
#include "platform/ui/qt/tests/pages_gui/pages_gui.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using pages_gui::Picture;

using EditMaterialsOnQt = pages_gui::PagesOnQt;

TEST_F(EditMaterialsOnQt, OrthotropicMaterialSelected)
{
    CObList materials;
    materials.AddTail(new CMaterial("Default", 7.85e-06, 210000.0, 80000.0, 0.3, 1.2e-05));
    auto* ply = new COrthoMat("Plywood", 5e-07, 9000.0, 3000.0, 500.0, 0.3, 0.3, 4e-06);
    ply->SetLambda90(6e-06);
    materials.AddTail(ply);
    materials.AddTail(new COrthoMat("VOID", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0));
    CDlgOrthoMaterial dlg;
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [](DialogDriver& d, CDialog& shown) {
        d.SelectString(364, "Plywood");
        EXPECT_TRUE(d.Enabled(553));
        EXPECT_TRUE(d.Enabled(555));
        Picture(shown, "dialog-edit-materials-orthotropic.png");
        d.PressCancel();
    });
    dlg.DoModal(&materials, 0);
    script.Verify();
    while (!materials.IsEmpty())
        delete materials.RemoveHead();
}

} // namespace

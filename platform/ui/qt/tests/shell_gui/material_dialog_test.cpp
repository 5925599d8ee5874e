// The program's "Edit materials" dialog on the display: an orthotropic
// material selected shows its second modulus and expansions enabled; a
// picture of it is saved.
#include "app/shell/brantelshell.h"
#include "platform/ferrand/ferrand.h"
#include "platform/ui/qt/tests/pages_gui/pages_gui.h"

#include <vector>

#include <QLineEdit>

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

// What the refusals of the real window may change: every value of the
// three materials.
std::vector<double> ValuesOf(CObList& materials)
{
    std::vector<double> out;
    for (POSITION pos = materials.GetHeadPosition(); pos;) {
        auto* m = static_cast<CMaterial*>(materials.GetNext(pos));
        for (int i : {1, 2, 3, 4, 5, 11, 12})
            out.push_back(m->dGetParam(i));
        out.push_back(m->GetNu());
        out.push_back(m->GetRho());
        out.push_back(m->GetSat());
    }
    return out;
}

class EditMaterialsRefusals : public EditMaterialsOnQt
{
protected:
    void SetUp() override
    {
        EditMaterialsOnQt::SetUp();
        if (IsSkipped())
            return;
        materials.AddTail(new CMaterial("Default", 7.85e-06, 210000.0000001, 0.0, 0.3, 1.2e-05));
        auto* ply = new COrthoMat("Plywood", 5e-07, 9000.0, 3000.0, 500.0, 1.0 / 3.0, 1.0 / 3.0,
                                  4e-06);
        ply->SetLambda90(6e-06);
        materials.AddTail(ply);
        materials.AddTail(new COrthoMat("VOID", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0));
    }
    void TearDown() override
    {
        while (!materials.IsEmpty())
            delete materials.RemoveHead();
        EditMaterialsOnQt::TearDown();
    }
    CObList materials;
};

TEST_F(EditMaterialsRefusals, LettersAndBadValuesAreToldOnOkOnlyAndCancelAlwaysCloses)
{
    const std::vector<double> before = ValuesOf(materials);
    CDlgOrthoMaterial dlg;
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [this](DialogDriver& d, CDialog& shown) {
        auto& boxes = m_env->Boxes();
        d.Type(366, "abc");
        boxes.Expect("Please enter a number for Young's modulus X.");
        d.PressOK();
        d.Focus(366);
        d.Focus(376);
        d.Type(376, "0.7");
        d.Focus(366);
        d.Type(366, "-5");
        boxes.Expect("Young's modulus X = -5 N/mm\xB2 is out of range.\nEnter a value > 0 N/mm\xB2 and <= 1e+15 N/mm\xB2.");
        d.PressOK();
        EXPECT_FALSE(shown.IsEnded());
        EXPECT_EQ(CWnd::GetFocus(), shown.GetDlgItem(366)) << "the field has the focus";
        Picture(shown, "dialog-edit-materials-refused-modulus.png");
        d.Type(366, "200000");
        boxes.Expect("Poisson's ratio = 0.7 is out of range.\nEnter a value >= 0 and < 0.5.");
        d.PressOK();
        EXPECT_FALSE(shown.IsEnded());
        d.Type(376, "xyz");
        d.PressCancel();
    });
    EXPECT_EQ(dlg.DoModal(&materials, 0), IDCANCEL);
    script.Verify();
    EXPECT_EQ(ValuesOf(materials), before);

    // Esc and the title bar's close button after letters close as Cancel.
    for (int way = 0; way < 2; ++way) {
        CDlgOrthoMaterial again;
        ModalScript closing;
        closing.Dialog(CDlgOrthoMaterial::IDD, [way](DialogDriver& d, CDialog&) {
            d.Type(366, "abc");
            d.Type(371, "-1");
            if (way == 0)
                d.PressEscape();
            else
                d.Close();
        });
        EXPECT_EQ(again.DoModal(&materials, 0), IDCANCEL) << way;
        closing.Verify();
        EXPECT_EQ(ValuesOf(materials), before) << way;
    }
}

TEST_F(EditMaterialsRefusals, OkWithoutTypingKeepsEveryValueBitForBit)
{
    const std::vector<double> before = ValuesOf(materials);
    CDlgOrthoMaterial dlg;
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [](DialogDriver& d, CDialog& shown) {
        d.SelectString(364, "Plywood");
        // A value longer than its field shows its first digits.
        auto* poisson = qobject_cast<QLineEdit*>(AfxQtWidgetOf(shown.GetDlgItem(376)));
        ASSERT_NE(poisson, nullptr);
        EXPECT_EQ(poisson->text(), "0.3333333333333333");
        EXPECT_EQ(poisson->cursorPosition(), 0);
        Picture(shown, "dialog-edit-materials-exact.png");
        d.SelectString(364, "Default");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(&materials, 0), IDOK);
    script.Verify();
    EXPECT_EQ(ValuesOf(materials), before);
}

} // namespace

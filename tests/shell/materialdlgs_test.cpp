// The program's material dialogs: orthotropic values, "&Apply", and new
// materials from a preset through the "New material" dialog.
#include <cmath>

#include "platform/dimvor/units.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

using MaterialDialogs = ShellTest;

constexpr int kList = 364, kNew = 548, kDelete = 547, kApply = 1061;
constexpr int kModulusX = 366, kModulusY = 553, kLambdaX = 554, kLambdaY = 555;
constexpr int kPresetSteel = 16006, kPresetTimber = 16155, kOrthotropic = 16010;

const char kWoodQuestion[] =
    "You have chosen to define the material as isotropic.\nWood is highly orthotropic and "
    "should be modeled as such.\nDo you wish to define the material as orthotropic?";

// "Default" (isotropic steel) and "VOID", as a new document has them.
struct Materials {
    CObList list;
    Materials()
    {
        list.AddTail(new CMaterial("Default", 7.85e-06, 210000.0, 80000.0, 0.3, 1.2e-05));
        list.AddTail(new COrthoMat("VOID", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0));
    }
    ~Materials()
    {
        while (!list.IsEmpty())
            delete list.RemoveHead();
    }
    CMaterial* Named(const char* name)
    {
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            auto* m = static_cast<CMaterial*>(list.GetNext(pos));
            if (m->GetName() == name)
                return m;
        }
        return nullptr;
    }
};

double Number(DialogDriver& d, int id)
{
    return std::stod(d.Text(id).str());
}

// Runs "Edit materials" on the list with the script's steps.
INT_PTR RunEditor(CObList& list, ModalScript& script, CDlgOrthoMaterial& dlg)
{
    const INT_PTR result = dlg.DoModal(&list, 0);
    script.Verify();
    return result;
}

// Picks a preset (and the orthotropic kind) in the material-type dialog.
void PickPreset(ModalScript& script, int preset, bool ortho = false)
{
    script.Dialog(VokDlgMatType::IDD, [=](DialogDriver& d, CDialog&) {
        EXPECT_TRUE(d.Enabled(kOrthotropic));
        d.Click(preset);
        if (ortho)
            d.Click(kOrthotropic);
        d.PressOK();
    });
}

TEST_F(MaterialDialogs, WoodAsIsotropicAnsweredNoStaysIsotropic)
{
    Materials m;
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Edit materials");
        d.Click(kNew);
        d.PressOK();
    });
    PickPreset(script, kPresetTimber);
    script.MessageBox(kWoodQuestion, IDNO);
    script.Dialog(CNewMaterialDlg::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "New material");
        EXPECT_EQ(d.Text(388), "Wood");
        EXPECT_FALSE(d.Enabled(370));
        d.PressOK();
    });
    CDlgOrthoMaterial dlg;
    EXPECT_EQ(RunEditor(m.list, script, dlg), IDOK);
    CMaterial* wood = m.Named("Wood");
    ASSERT_NE(wood, nullptr);
    EXPECT_FALSE(wood->IsKindOf(RUNTIME_CLASS(COrthoMat)));
    EXPECT_NEAR(wood->GetModOfElast(), 12000.0, 1e-3);
    EXPECT_NEAR(wood->GetLambda(), 5e-06, 1e-12);
}

TEST_F(MaterialDialogs, SteelInUsUnitsIsShownConvertedAndStoredBack)
{
    const int system = iStandard;
    iStandard = 1;
    const double modulus = MetricToX(1, kUnitStress, iConv[1][4][0]);
    Materials m;
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [](DialogDriver& d, CDialog&) {
        d.Click(kNew);
        d.PressOK();
    });
    PickPreset(script, kPresetSteel, true);
    script.Dialog(CNewMaterialDlg::IDD, [&](DialogDriver& d, CDialog&) {
        EXPECT_TRUE(d.Enabled(370));
        EXPECT_NEAR(Number(d, 369), 210000.0 * modulus, 210000.0 * modulus * 1e-6);
        EXPECT_NEAR(Number(d, 386), 210000.0 / 2.6 * modulus, 1e-5 * 80769.0 * modulus);
        const double density = 7.85e-06 * MetricToX(1, kUnitPerVolume, 1) * MetricToX(1, kUnitMass, 1);
        EXPECT_NEAR(Number(d, 374), density, density * 1e-5);
        EXPECT_NE(density, 7.85e-06);
        d.PressOK();
    });
    CDlgOrthoMaterial dlg;
    RunEditor(m.list, script, dlg);
    iStandard = system;
    auto* steel = dynamic_cast<COrthoMat*>(m.Named("Steel"));
    ASSERT_NE(steel, nullptr);
    // Single precision, as the fields show floats (six digits).
    EXPECT_NEAR(steel->GetModOfElast(), 210000.0, 210000.0 * 1e-5);
    EXPECT_NEAR(steel->GetModOfElast90(), 210000.0, 210000.0 * 1e-5);
    EXPECT_NEAR(steel->GetRho(), 7.85e-06, 7.85e-06 * 1e-5);
    EXPECT_NEAR(steel->GetLambda90(), 1.2e-05, 1e-12);
}

TEST_F(MaterialDialogs, RefusedNamesBringTheDialogBackWithTheEnteredValues)
{
    const struct {
        const char* name;
        const char* message;
    } cases[] = {{"dEFAULT", "A material by that name is already defined"},
                 {"", "The material must have a name"},
                 {"Void", "The material name is illegal"},
                 {"VOID", "The material name is illegal"}};
    for (const auto& c : cases) {
        Materials m;
        ModalScript script;
        script.Dialog(CDlgOrthoMaterial::IDD, [](DialogDriver& d, CDialog&) {
            d.Click(kNew);
            d.PressCancel();
        });
        PickPreset(script, kPresetSteel);
        script.Dialog(CNewMaterialDlg::IDD, [&](DialogDriver& d, CDialog&) {
            d.Type(388, c.name);
            d.Type(369, "123");
            d.PressOK();
        });
        script.MessageBox(c.message);
        script.Dialog(CNewMaterialDlg::IDD, [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Text(388), c.name);
            EXPECT_EQ(Number(d, 369), 123.0);
            d.PressCancel();
        });
        CDlgOrthoMaterial dlg;
        RunEditor(m.list, script, dlg);
        EXPECT_EQ(m.list.GetCount(), 2) << c.message;
    }
}

TEST_F(MaterialDialogs, NewMaterialNamedDeletedSurvivesOk)
{
    Materials m;
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [](DialogDriver& d, CDialog&) {
        d.SelectString(kList, "Default");
        d.Click(kDelete);
        d.Click(kNew);
        d.PressOK();
    });
    PickPreset(script, kPresetSteel);
    script.Dialog(CNewMaterialDlg::IDD, [](DialogDriver& d, CDialog&) {
        d.Type(388, "DELETED");
        d.PressOK();
    });
    CDlgOrthoMaterial dlg;
    EXPECT_EQ(RunEditor(m.list, script, dlg), IDOK);
    EXPECT_EQ(m.Named("Default"), nullptr);
    ASSERT_NE(m.Named("DELETED"), nullptr);
    EXPECT_EQ(m.list.GetCount(), 2);
}

// Counts the updates the dialog sends to its owner.
class CountingView : public CView
{
public:
    int updates = 0;
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
};

TEST_F(MaterialDialogs, ApplyMergesRepaintsTheOwnerAndCancelKeepsIt)
{
    Materials m;
    CountingView view;
    CDlgOrthoMaterial dlg;
    dlg.m_pOwner = &view;
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [&](DialogDriver& d, CDialog&) {
        d.SelectString(kList, "Default");
        d.Type(kModulusX, "1000");
        d.Click(kApply);
        EXPECT_EQ(m.Named("Default")->GetModOfElast(), 1000.0);
        EXPECT_EQ(view.updates, 1);
        EXPECT_TRUE(d.Visible(kList)); // still open
        d.Type(kModulusX, "2000");
        d.PressCancel();
    });
    EXPECT_EQ(RunEditor(m.list, script, dlg), IDCANCEL);
    EXPECT_TRUE(dlg.m_bApplied);
    EXPECT_EQ(m.Named("Default")->GetModOfElast(), 1000.0);
    EXPECT_EQ(m.list.GetCount(), 2);
}

TEST_F(MaterialDialogs, OrthotropicFieldsFollowTheMaterialKind)
{
    Materials m;
    auto* ply = new COrthoMat("Ply", 5e-07, 9000.0, 3000.0, 500.0, 0.3, 0.3, 4e-06);
    ply->SetLambda90(6e-06);
    m.list.AddTail(ply);
    const double fT = MetricToX(iStandard, kUnitTemperature, 0);
    ModalScript script;
    script.Dialog(CDlgOrthoMaterial::IDD, [&](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(16233), "1/" + UnitString(iStandard, kUnitTemperature, 0));
        EXPECT_EQ(d.Text(16235), d.Text(16233));
        EXPECT_FALSE(d.Visible(436));
        const struct {
            const char* name;
            bool modulusY, lambdaX, lambdaY;
        } cases[] = {{"VOID", false, false, false},
                     {"Default", false, true, false},
                     {"Ply", true, true, true}};
        for (const auto& c : cases) {
            d.SelectString(kList, c.name);
            EXPECT_EQ(d.Enabled(kModulusY), c.modulusY) << c.name;
            EXPECT_EQ(d.Enabled(kLambdaX), c.lambdaX) << c.name;
            EXPECT_EQ(d.Enabled(kLambdaY), c.lambdaY) << c.name;
        }
        EXPECT_NEAR(Number(d, kLambdaY), 6e-06 / fT, 1e-12);
        d.Type(kModulusY, "3500");
        d.Type(kLambdaY, "7e-06");
        d.PressOK();
    });
    CDlgOrthoMaterial dlg;
    EXPECT_EQ(RunEditor(m.list, script, dlg), IDOK);
    const double modulus = MetricToX(iStandard, kUnitStress, iConv[iStandard][4][0]);
    EXPECT_NEAR(ply->GetModOfElast90(), 3500.0 / modulus, 1e-9);
    EXPECT_NEAR(ply->GetLambda90(), 7e-06 * fT, 1e-15);
    EXPECT_NEAR(ply->GetLambda(), 4e-06, 1e-12);
}

} // namespace

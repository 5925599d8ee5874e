// The materials dialog over a caller's list, the material-type dialog it
// opens, the document-type dialog, and the element texts and pictures.
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/pavesta.h"
#include "platform/afx/numconv.h"
#include "platform/dimvor/units.h"
#include "platform/ui/headless/afxui_headless.h"
#include "tests/pavesta/layout_check.h"
#include "tests/pavesta/units_scope.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;

// The dialog with its working state open to the test.
class TestMatsEdit : public VokDlgIsoMatsEdit
{
public:
    CMaterial* Current() const { return m_pCurMat; }
    // Ticks 436 as a keyboard or a program would, also where it is disabled.
    void ClickBase()
    {
        SendMessage(WM_COMMAND, MAKEWPARAM(436, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(436)->GetSafeHwnd()));
    }
};

// Everything of a material the dialog may change, use count included.
struct Values {
    CString name;
    double rho, modulus, shear, nu, red, green, blue, sat;
    DWORD flag;
    int users;
    bool operator==(const Values&) const = default;
};
Values Of(const CMaterial* m)
{
    return {m->GetName(), m->GetRho(),  m->GetModOfElast(), m->GetModOfShear(),
            m->GetNu(),   m->GetRed(),  m->GetGreen(),      m->GetBlue(),
            m->GetSat(),  m->GetFlag(), m->GetElemCount()};
}
void PrintTo(const Values& v, std::ostream* os)
{
    *os << v.name.GetString() << " E " << v.modulus << " flag " << v.flag << " users " << v.users;
}

constexpr int kList = 364;

class MaterialsTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        // The caller's order: Steel (two users, base material), VOID (one
        // user), aluminium (none).
        Add("Steel", 7.85e-06, 210000.0, 80769.2, 0.3, 2)->SetColor(0.75, 0.86, 0.75);
        Material(0)->AddFlagBit(CMaterial::kBaseMaterialBit);
        Add("VOID", 0.0, 0.0, 0.0, 0.0, 1);
        Add("aluminium", 2.7e-06, 70000.0, 26315.8, 0.33, 0);
    }
    void TearDown() override
    {
        while (!materials.IsEmpty())
            delete materials.RemoveHead();
        HeadlessApp::TearDown();
    }

    CMaterial* Add(const char* name, double rho, double e, double g, double nu, int users)
    {
        auto* m = new CMaterial(name, rho, e, g, nu, 0.0);
        for (int i = 0; i < users; ++i)
            m->AddElem();
        materials.AddTail(m);
        return m;
    }
    CMaterial* Material(int i)
    {
        return static_cast<CMaterial*>(materials.GetAt(materials.FindIndex(i)));
    }
    std::vector<CMaterial*> Pointers()
    {
        std::vector<CMaterial*> out;
        for (POSITION pos = materials.GetHeadPosition(); pos;)
            out.push_back(static_cast<CMaterial*>(materials.GetNext(pos)));
        return out;
    }
    std::vector<Values> Snapshot()
    {
        std::vector<Values> out;
        for (CMaterial* m : Pointers())
            out.push_back(Of(m));
        return out;
    }

    // Runs the dialog over the list from list-box entry start; script may
    // add steps for the dialogs it opens.
    INT_PTR Run(std::function<void(DialogDriver&, TestMatsEdit&)> step, int start = 1,
                std::function<void(ModalScript&)> more = {})
    {
        TestMatsEdit dlg;
        ModalScript script;
        script.Dialog<TestMatsEdit>(VokDlgIsoMatsEdit::IDD, step);
        if (more)
            more(script);
        return dlg.DoModal(&materials, start);
    }

    CObList materials;

private:
    pavesta_test::MetricUnitsScope m_units;
};

// The edits of one session: a rename, a deletion, a new material, a colour
// and a base-material change.
void EditEverything(DialogDriver& d)
{
    d.Type(16200, "Iron"); // Steel
    d.Focus(kList);
    d.SelectString(kList, "aluminium");
    d.Click(547);
    d.Click(548); // VokDlgMatType: Timber
    d.ChooseColor(414, RGB(0, 0, 255));
    d.SelectString(kList, "Iron");
    d.Click(436); // Iron was the base material: unticked
}
void ChooseTimber(ModalScript& script)
{
    script.Dialog(VokDlgMatType::IDD, [](DialogDriver& d, CDialog&) {
        d.Click(16155);
        d.PressOK();
    });
}

TEST_F(MaterialsTest, CancelLeavesTheCallersListAsItWas)
{
    const std::vector<CMaterial*> pointers = Pointers();
    const std::vector<Values> before = Snapshot();
    EXPECT_EQ(
        Run(
            [](DialogDriver& d, TestMatsEdit&) {
                EXPECT_EQ(d.Caption(), "Materials");
                EXPECT_EQ(d.Items(kList), (std::vector<CString>{"aluminium", "Steel", "VOID"}));
                EXPECT_EQ(d.CurSel(kList), 1);
                EXPECT_EQ(d.Text(16200), "Steel");
                EXPECT_EQ(d.Text(385), "2");
                EditEverything(d);
                EXPECT_EQ(d.Items(kList), (std::vector<CString>{"Iron", "Timber", "VOID"}));
                d.PressCancel();
            },
            1, ChooseTimber),
        IDCANCEL);
    EXPECT_EQ(Pointers(), pointers);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MaterialsTest, OkMergesTheCopiesIntoTheCallersList)
{
    CMaterial* steel = Material(0);
    CMaterial* voidMaterial = Material(1);
    EXPECT_EQ(Run([](DialogDriver& d, TestMatsEdit&) { EditEverything(d), d.PressOK(); }, 1,
                  ChooseTimber),
              IDOK);
    ASSERT_EQ(materials.GetCount(), 3);
    EXPECT_EQ(Material(0), steel);
    EXPECT_EQ(steel->GetName(), "Iron");
    EXPECT_EQ(steel->GetFlag(), 0u);
    EXPECT_EQ(steel->GetElemCount(), 2); // the use count is the caller's
    EXPECT_EQ(Material(1), voidMaterial);
    EXPECT_EQ(voidMaterial->GetElemCount(), 1);
    CMaterial* timber = Material(2);
    EXPECT_EQ(timber->GetName(), "Timber");
    EXPECT_EQ(timber->GetBlue(), 1.0);
    EXPECT_EQ(timber->GetRed(), 0.0);
    EXPECT_EQ(timber->GetModOfElast(), 12000.0);
    EXPECT_EQ(timber->GetElemCount(), 0);
}

TEST_F(MaterialsTest, ValuesAreShownInTheUnitsInForce)
{
    Run([](DialogDriver& d, TestMatsEdit&) {
        EXPECT_EQ(d.Text(16230), "N/mm\xB2");
        EXPECT_EQ(d.Text(16231), "N/mm\xB2");
        EXPECT_EQ(d.Text(16232), "kg/m\xB3");
        EXPECT_EQ(d.Text(366), "210000");
        EXPECT_EQ(d.Text(381), "80769.2");
        EXPECT_EQ(d.Text(376), "0.3");
        // Converted values show without the conversion's last-bit noise.
        EXPECT_EQ(d.Text(371), "7850");
        d.Type(371, "7800");
        d.PressOK();
    });
    EXPECT_FLOAT_EQ(static_cast<float>(Material(0)->GetRho()), 7.8e-06f);

    iStandard = 1; // psi
    const double modulus = MetricToX(1, kUnitStress, 0);
    const double density = MetricToX(1, kUnitPerVolume, 1) * MetricToX(1, kUnitMass, 1);
    Run([&, this](DialogDriver& d, TestMatsEdit&) {
        EXPECT_EQ(d.Text(16230), "psi");
        EXPECT_EQ(d.Text(16232), "lb/ft\xB3");
        EXPECT_EQ(d.Text(366), AfxFormat("%.15g", 210000.0 * modulus).c_str());
        EXPECT_EQ(d.Text(371), AfxFormat("%.15g", Material(0)->GetRho() * density).c_str());
        d.Type(366, "30000000");
        d.PressOK();
    });
    EXPECT_FLOAT_EQ(static_cast<float>(Material(0)->GetModOfElast()),
                    static_cast<float>(30000000.0 / modulus));
    EXPECT_FLOAT_EQ(static_cast<float>(Material(0)->GetRho()), 7.8e-06f);
}

TEST_F(MaterialsTest, VoidIsNeverEditedRenamedDeletedOrMadeBase)
{
    Run([this](DialogDriver& d, TestMatsEdit& dlg) {
        d.SelectString(kList, "VOID");
        for (int nID : {16200, 366, 376, 371, 381, 436})
            EXPECT_FALSE(d.Enabled(nID)) << nID;
        Boxes().Expect("The material VOID can not be a base-material");
        dlg.ClickBase();
        EXPECT_EQ(d.Check(436), 0);
        Boxes().Expect("Cannot delete VOID");
        d.Click(547);
        EXPECT_EQ(d.Items(kList), (std::vector<CString>{"aluminium", "Steel", "VOID"}));
        d.SelectString(kList, "aluminium");
        EXPECT_TRUE(d.Enabled(16200));
        d.Type(16200, "void");
        Boxes().Expect("The name VOID is reserved");
        d.Focus(kList);
        EXPECT_EQ(d.Text(16200), "aluminium");
        EXPECT_EQ(d.Items(kList), (std::vector<CString>{"aluminium", "Steel", "VOID"}));
        d.PressOK();
    });
    EXPECT_EQ(Material(2)->GetName(), "aluminium");
    EXPECT_FALSE(Material(1)->IsFlagBit(CMaterial::kBaseMaterialBit));

    // An entry spelt otherwise is still VOID: it keeps its name.
    Material(1)->SetName("Void");
    Run([this](DialogDriver& d, TestMatsEdit&) {
        d.SelectString(kList, "Void");
        d.Type(16200, "Glass");
        Boxes().Expect("Can not change the material VOID");
        d.Focus(kList);
        EXPECT_EQ(d.Text(16200), "Void");
        Boxes().Expect("Cannot delete VOID");
        d.Click(547);
        d.PressOK();
    });
    EXPECT_EQ(Material(1)->GetName(), "Void");
}

TEST_F(MaterialsTest, RenamesTakeTheirSortedPlaceAndDuplicatesShareTheBaseFlag)
{
    CMaterial* aluminium = Material(2);
    Run([](DialogDriver& d, TestMatsEdit& dlg) {
        d.SelectString(kList, "aluminium");
        d.Type(16200, "Zinc");
        d.Focus(kList);
        EXPECT_EQ(d.Items(kList), (std::vector<CString>{"Steel", "VOID", "Zinc"}));
        EXPECT_EQ(d.CurSel(kList), 2);
        EXPECT_EQ(dlg.Current()->GetName(), "Zinc");
        d.Select(kList, 0);
        EXPECT_EQ(d.Text(16200), "Steel");
        d.Select(kList, 2);
        EXPECT_EQ(d.Text(385), "0"); // the item data moved with the entry
        d.Type(16200, "Steel");
        d.Focus(kList);
        // Two materials named "Steel": unticking the base clears both...
        d.Select(kList, 0);
        EXPECT_EQ(d.Check(436), 1);
        d.Click(436);
        EXPECT_EQ(d.Check(436), 0);
        // ...and ticking sets both.
        d.Click(436);
        d.Select(kList, 1);
        EXPECT_EQ(d.Check(436), 1);
        d.PressOK();
    });
    EXPECT_EQ(aluminium->GetName(), "Steel");
    EXPECT_TRUE(aluminium->IsFlagBit(CMaterial::kBaseMaterialBit));
    EXPECT_TRUE(Material(0)->IsFlagBit(CMaterial::kBaseMaterialBit));
}

TEST_F(MaterialsTest, MovingTheBaseMaterialAsksFirst)
{
    const char* question =
        "The material Steel is base-material.\nDo you want to set aluminium as base-material "
        "instead?";
    Run([&](DialogDriver& d, TestMatsEdit&) {
        d.SelectString(kList, "aluminium");
        Boxes().Expect(question, IDCANCEL);
        d.Click(436);
        EXPECT_EQ(d.Check(436), 0);
        d.SelectString(kList, "Steel");
        EXPECT_EQ(d.Check(436), 1);
        d.SelectString(kList, "aluminium");
        Boxes().Expect(question, IDOK);
        d.Click(436);
        EXPECT_EQ(d.Check(436), 1);
        d.PressOK();
    });
    EXPECT_EQ(Boxes().Shown().at(0).type & 0xF, UINT(MB_OKCANCEL));
    EXPECT_FALSE(Material(0)->IsFlagBit(CMaterial::kBaseMaterialBit));
    EXPECT_TRUE(Material(2)->IsFlagBit(CMaterial::kBaseMaterialBit));
}

TEST_F(MaterialsTest, DeleteRefusesTheLastUsedOrVoidMaterial)
{
    // Only live copies count: of two unused materials one must stay.
    Material(0)->RemoveElem();
    Material(0)->RemoveElem();
    delete Material(1);
    materials.RemoveAt(materials.FindIndex(1));
    EXPECT_EQ(Run([this](DialogDriver& d, TestMatsEdit&) {
                  EXPECT_EQ(d.Items(kList), (std::vector<CString>{"aluminium", "Steel"}));
                  d.Click(547); // Steel
                  EXPECT_EQ(d.Items(kList), (std::vector<CString>{"aluminium"}));
                  EXPECT_EQ(d.CurSel(kList), 0);
                  EXPECT_EQ(d.Text(16200), "aluminium");
                  Boxes().Expect("Cannot delete last material");
                  d.Click(547);
                  d.PressOK();
              }),
              IDOK);
    ASSERT_EQ(materials.GetCount(), 1);
    EXPECT_EQ(Material(0)->GetName(), "aluminium");

    Material(0)->AddElem();
    Add("Glass", 2.5e-06, 70000.0, 28000.0, 0.22, 0);
    Run(
        [this](DialogDriver& d, TestMatsEdit&) {
            Boxes().Expect("Cannot delete material belonging to one or more elements");
            d.Click(547);
            d.PressCancel();
        },
        0);
}

TEST_F(MaterialsTest, ALiveMaterialNamedDeletedMergesLikeAnyOther)
{
    CMaterial* aluminium = Material(2);
    Run(
        [](DialogDriver& d, TestMatsEdit&) {
            d.Type(16200, "DELETED"); // aluminium
            d.Focus(kList);
            d.Click(548);
            d.Type(16200, "DELETED");
            d.PressOK();
        },
        0,
        [](ModalScript& script) {
            script.Dialog(VokDlgMatType::IDD, [](DialogDriver& d, CDialog&) { d.PressOK(); });
        });
    ASSERT_EQ(materials.GetCount(), 4);
    EXPECT_EQ(Material(2), aluminium);
    EXPECT_EQ(aluminium->GetName(), "DELETED");
    EXPECT_EQ(aluminium->GetModOfElast(), 70000.0);
    EXPECT_EQ(Material(3)->GetName(), "DELETED");
    EXPECT_EQ(Material(3)->GetModOfElast(), 1.0);
}

TEST_F(MaterialsTest, ColoursArePickedAndShownInPercent)
{
    Run([](DialogDriver& d, TestMatsEdit& dlg) {
        auto* button = static_cast<CColorButton*>(dlg.GetDlgItem(414));
        EXPECT_EQ(button->GetColor(), RGB(191, 219, 191));
        EXPECT_EQ(d.Text(391), "75");
        d.ChooseColor(414, RGB(255, 128, 0));
        EXPECT_EQ(d.Text(391), "100");
        EXPECT_EQ(d.Text(394), "50");
        EXPECT_EQ(d.Text(396), "0");
        EXPECT_EQ(dlg.Current()->GetRed(), 1.0);
        EXPECT_EQ(dlg.Current()->GetGreen(), 128 / 255.0);
        EXPECT_EQ(dlg.Current()->GetBlue(), 0.0);
        d.Click(436); // Steel stops being the base material
        EXPECT_EQ(d.Text(391), "100");
        EXPECT_EQ(d.Text(394), "50");
        d.SelectString(kList, "aluminium");
        EXPECT_EQ(button->GetColor(), RGB(127, 127, 127)); // the library's 0.5 grey
        d.PressCancel();
    });
}

TEST_F(MaterialsTest, OkTakesTypedValuesAndRefusesABadOpacity)
{
    Run([this](DialogDriver& d, TestMatsEdit& dlg) {
        d.Type(16200, "Iron");
        d.Focus(kList);
        d.Type(445, "150");
        Boxes().Expect("Please enter a number between 0 and 100.");
        d.PressOK();
        EXPECT_FALSE(dlg.IsEnded());
        d.PressCancel();
    });
    EXPECT_EQ(Material(0)->GetName(), "Steel");

    // The modulus reaches the caller: its kill focus runs before OK.
    Run([](DialogDriver& d, TestMatsEdit&) {
        d.Type(366, "200000");
        d.PressOK();
    });
    EXPECT_EQ(Material(0)->GetModOfElast(), 200000.0);
}

TEST_F(MaterialsTest, LettersAndBadValuesAreToldOnlyOnOkAndNeverTwice)
{
    // Letters, OK, then clicks between fields: nothing is said until OK, and
    // each OK tells the first refused field once.
    const std::vector<Values> before = Snapshot();
    Run([this](DialogDriver& d, TestMatsEdit& dlg) {
        d.Type(366, "abc");
        Boxes().Expect("Please enter a number for Young's modulus.");
        d.PressOK();
        EXPECT_FALSE(dlg.IsEnded());
        d.Focus(366);
        d.Focus(376);
        d.Type(376, "0.7");
        d.Focus(366);
        d.Type(366, "-5");
        Boxes().Expect("Young's modulus = -5 N/mm\xB2 is out of range.\nEnter a value > 0 N/mm\xB2 and <= 1e+15 N/mm\xB2.");
        d.PressOK();
        EXPECT_FALSE(dlg.IsEnded());
        EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(366));
        d.Type(366, "200000");
        Boxes().Expect("Poisson's ratio = 0.7 is out of range.\nEnter a value >= 0 and < 0.5.");
        d.PressOK();
        EXPECT_FALSE(dlg.IsEnded());
        EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(376));
        // Leaving the material is a change of page: told, and it stays.
        Boxes().Expect("Poisson's ratio = 0.7 is out of range.\nEnter a value >= 0 and < 0.5.");
        d.SelectString(kList, "aluminium");
        EXPECT_EQ(d.CurSel(kList), 1);
        EXPECT_EQ(d.Text(16200), "Steel");
        d.PressCancel();
    });
    EXPECT_EQ(Snapshot(), before);

    // Cancel, Esc and the close button after letters: closed, nothing said,
    // nothing changed.
    const std::function<void(DialogDriver&)> closes[] = {
        [](DialogDriver& d) { d.PressCancel(); }, [](DialogDriver& d) { d.PressEscape(); },
        [](DialogDriver& d) { d.Close(); }};
    for (const auto& close : closes) {
        EXPECT_EQ(Run([&](DialogDriver& d, TestMatsEdit&) {
                      d.Type(366, "abc");
                      d.Type(376, "0.9");
                      d.Type(371, "xyz");
                      close(d);
                  }),
                  IDCANCEL);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(MaterialsTest, EveryPropertyHasItsPhysicalRange)
{
    // Out of range: the field's message, the dialog stays on the field and
    // the caller's list is unchanged. Inside: stored.
    struct Case {
        int field;
        const char* text;
        const char* box; // null: stored
    };
    const Case cases[] = {
        {366, "0", "Young's modulus = 0 N/mm\xB2 is out of range.\nEnter a value > 0 N/mm\xB2 and <= 1e+15 N/mm\xB2."},
        {366, "1e999", "Please enter a number for Young's modulus."},
        {366, "1e5", nullptr},
        {381, "-1", "Shear modulus = -1 N/mm\xB2 is out of range.\nEnter a value between 0 N/mm\xB2 and 1e+15 N/mm\xB2."},
        {381, "0", nullptr},
        {376, "-0.1", "Poisson's ratio = -0.1 is out of range.\nEnter a value >= 0 and < 0.5."},
        {376, "0.5", "Poisson's ratio = 0.5 is out of range.\nEnter a value >= 0 and < 0.5."},
        {376, "0", nullptr},
        {376, "0.49", nullptr},
        {371, "0", "Mass density = 0 kg/m\xB3 is out of range.\nEnter a value > 0 kg/m\xB3 and <= 1e+15 kg/m\xB3."},
        {371, "-7850", "Mass density = -7850 kg/m\xB3 is out of range.\nEnter a value > 0 kg/m\xB3 and <= 1e+15 kg/m\xB3."},
        {371, "1", nullptr},
        {445, "101", "Please enter a number between 0 and 100."},
        {445, "-1", "Please enter a number between 0 and 100."},
        {445, "40", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.text);
        const std::vector<Values> before = Snapshot();
        const INT_PTR result = Run([&](DialogDriver& d, TestMatsEdit& dlg) {
            d.Type(c.field, c.text);
            if (!c.box) {
                d.PressOK();
                return;
            }
            Boxes().Expect(c.box);
            d.PressOK();
            EXPECT_FALSE(dlg.IsEnded());
            EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(c.field));
            d.PressCancel();
        });
        if (c.box) {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(Snapshot(), before);
            continue;
        }
        EXPECT_EQ(result, IDOK);
        const double typed = AfxAtoF(c.text);
        const CMaterial* steel = Material(0);
        const double stored = c.field == 366   ? steel->GetModOfElast()
                              : c.field == 381 ? steel->GetModOfShear()
                              : c.field == 376 ? steel->GetNu()
                              : c.field == 371 ? steel->GetRho() * 1e9
                                               : steel->GetSat() * 100.0;
        EXPECT_DOUBLE_EQ(stored, typed);
    }
}

TEST_F(MaterialsTest, OkWithoutTypingKeepsEveryValueBitForBit)
{
    // Values no float holds and that unit factors do not give back: OK on
    // the untouched dialog, in SI and in US units, after visiting each
    // material, changes none of them.
    CMaterial* steel = Material(0);
    steel->SetModOfElast(210000.0000001);
    steel->SetModOfShear(210000.0 / 2.6);
    steel->SetRho(7.85e-06);
    steel->SetSat(1.0 / 3.0);
    Material(2)->SetNu(1.0 / 3.0);
    Material(2)->SetRho(2.7e-06 / 3.0);
    const std::vector<Values> before = Snapshot();
    for (int system : {0, 1}) {
        SCOPED_TRACE(system);
        iStandard = system;
        EXPECT_EQ(Run([](DialogDriver& d, TestMatsEdit&) {
                      d.SelectString(kList, "aluminium");
                      d.SelectString(kList, "Steel");
                      d.PressOK();
                  }),
                  IDOK);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(MaterialsTest, NewMaterialsStartFromSinglePrecisionPresets)
{
    const int count = materials.GetCount();
    Run(
        [](DialogDriver& d, TestMatsEdit& dlg) {
            d.Click(548); // cancelled
            EXPECT_EQ(d.Items(kList).size(), 3u);
            d.Click(548);
            EXPECT_EQ(d.Items(kList),
                      (std::vector<CString>{"aluminium", "Steel", "Steel", "VOID"}));
            CMaterial* steel = dlg.Current();
            EXPECT_EQ(d.CurSel(kList), 2); // the new entry, after the one of the same name
            EXPECT_EQ(steel->GetModOfShear(), 80769.234375);
            EXPECT_EQ(steel->GetNu(), double(0.3f));
            EXPECT_EQ(steel->GetRho(), double(7.85e-06f));
            EXPECT_EQ(steel->GetModOfElast(), 210000.0);
            EXPECT_EQ(steel->GetLambda(), 0.0);
            EXPECT_EQ(steel->GetGreen(), 86.0f * 0.01);
            EXPECT_EQ(steel->GetElemCount(), 0);
            d.PressCancel();
        },
        0,
        [](ModalScript& script) {
            script.Dialog(VokDlgMatType::IDD, [](DialogDriver& d, CDialog&) {
                EXPECT_FALSE(d.Enabled(16009));
                EXPECT_FALSE(d.Enabled(16010));
                EXPECT_EQ(d.Check(16005), 1);
                d.Click(16008);
                d.PressCancel();
            });
            script.Dialog(VokDlgMatType::IDD, [](DialogDriver& d, CDialog&) {
                d.Click(16006);
                d.PressOK();
            });
        });
    EXPECT_EQ(materials.GetCount(), count);
}

TEST_F(MaterialsTest, DocumentTypeButtonsEndTheDialogWithTheirCode)
{
    struct Case {
        int button;
        INT_PTR result;
        int type;
    };
    const Case cases[] = {
        {16000, IDOK, 1}, {16001, IDOK, 2},        {16002, IDOK, 3},
        {IDOK, IDOK, 0},  {IDCANCEL, IDCANCEL, 0},
    };
    for (const Case& c : cases) {
        VokDlgFPDocType dlg;
        ModalScript script;
        script.Dialog(VokDlgFPDocType::IDD, [&](DialogDriver& d, CDialog& shown) {
            EXPECT_EQ(d.Text(16000), "&Plate bending");
            EXPECT_EQ(d.Text(16001), "&Membrane");
            EXPECT_EQ(d.Text(16002), "Plate &Buckling");
            EXPECT_EQ(d.Text(IDOK), "&Open");
            EXPECT_EQ(static_cast<CPictureButton*>(shown.GetDlgItem(16000))->GetBitmapID(), 16002u);
            EXPECT_EQ(static_cast<CPictureButton*>(shown.GetDlgItem(16001))->GetBitmapID(), 16001u);
            d.Click(c.button);
        });
        EXPECT_EQ(dlg.DoModal(), c.result) << c.button;
        EXPECT_EQ(dlg.m_iDocType, c.type) << c.button;
    }
}

TEST_F(MaterialsTest, ElementTextsAndPicturesAreFoundThroughTheChain)
{
    const std::pair<UINT, const char*> texts[] = {
        {16005,
         "6 degrees of freedom.\nBased on a complete linear displacement function.\nConstant "
         "thickness."},
        {16015, "9 degrees of freedom.\nThin plate (Kirchhoff) theory.\nHybrid model due to "
                "Allman.\nLinearly varying thickness."},
        {16068, "9 degrees of freedom.\nBased on Mindlin theory\nThin plate (Kirchhoff) theory "
                "enforced at nodal points.\nLinearly varying thickness."},
    };
    for (const auto& [nID, text] : texts) {
        CString loaded;
        EXPECT_TRUE(AfxLoadString(nID, loaded));
        EXPECT_EQ(loaded, text);
    }
    for (UINT nID = 16005; nID <= 16015; ++nID) {
        CString loaded;
        EXPECT_TRUE(AfxLoadString(nID, loaded)) << nID;
    }
    for (UINT nID : {16001u, 16002u, 16005u, 16010u, 16015u, 16067u, 16068u})
        EXPECT_NE(AfxFindResource<AfxBitmapResource>(nID), nullptr) << nID;
    for (UINT nID : {16234u, 16016u, 16000u})
        EXPECT_EQ(pavesta_test::LayoutFaults(nID), std::vector<std::string>{}) << nID;
}

} // namespace

// The buckling settings page and the small model dialogs: ranges, radio
// orders, unit conversion and what each shows on opening.
#include "tests/shell/shell_fixture.h"

#include "platform/dimvor/units.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

using SmallDialogs = ShellTest;

TEST_F(SmallDialogs, BucklingPageRefusesModesOutsideOneToHundred)
{
    CPropertySheet sheet("Element and mesh control");
    CPPBucklSett page;
    page.m_nModes = 2;
    page.m_iSolver = 1;
    page.m_iStressPoints = 0;
    sheet.AddPage(&page);
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Check(CPPBucklSett::IDC_LANCZOS), 1);
        EXPECT_EQ(d.Check(CPPBucklSett::IDC_CORNERS), 1);
        EXPECT_EQ(d.Text(CPPBucklSett::IDC_MODES), "2");
        for (const char* refused : {"0", "101"}) {
            d.Type(CPPBucklSett::IDC_MODES, refused);
            d.PressOK(); // refused: the sheet stays open
        }
        d.Type(CPPBucklSett::IDC_MODES, "100");
        d.Click(CPPBucklSett::IDC_SUBSPACE);
        d.Click(CPPBucklSett::IDC_CENTROID);
        d.PressOK();
    });
    script.MessageBox("Please enter an integer between 1 and 100.")
        .MessageBox("Please enter an integer between 1 and 100.");
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(page.m_nModes, 100);
    EXPECT_EQ(page.m_iSolver, 0);
    EXPECT_EQ(page.m_iStressPoints, 1);
    script.Verify();
}

TEST_F(SmallDialogs, QuadrilateralOpensOnTheDefaultSquareWithoutSpecialSides)
{
    CDlgQuadCreate dlg;
    dlg.m_iBCCD = 3; // a side that has "Special" keeps it offered
    ModalScript script;
    script.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) {
        const struct {
            int nID;
            const char* text;
        } shown[] = {{1006, "-500"}, {1010, "-500"}, {1008, "500"}, {1012, "-500"},
                     {1007, "-500"}, {1011, "500"},  {1009, "500"}, {1013, "500"},
                     {1014, "100"}};
        for (const auto& s : shown)
            EXPECT_EQ(d.Text(s.nID), s.text) << s.nID;
        for (int special : {1088, 1089, 446})
            EXPECT_FALSE(d.Enabled(special)) << special;
        EXPECT_TRUE(d.Enabled(1090));
        EXPECT_FALSE(d.Visible(1036));
        EXPECT_EQ(d.Text(CDlgQuadCreate::IDC_UNITS),
                  "[" + UnitString(iStandard, kUnitLength, iConv[iStandard][0][0]) + "]");
        d.Type(1009, "250");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_dDx, 250.0);
    EXPECT_EQ(dlg.m_iBCCD, 3);
    EXPECT_EQ(dlg.m_iBCAB, 0);
    script.Verify();
}

TEST_F(SmallDialogs, QuadrilateralThicknessMustBePositive)
{
    const CString unit = UnitString(iStandard, kUnitLength, iConv[iStandard][0][0]);
    struct Case {
        const char* text;
        const char* shown; // as the message gives the value
        bool ok;
    };
    for (const Case& c : {Case{"-10", "-10", false}, Case{"0", "0", false}, Case{"1e300", "1e+300", false},
                          Case{"0.5", "0.5", true}}) {
        SCOPED_TRACE(c.text);
        CDlgQuadCreate dlg;
        ModalScript script;
        script.Dialog(CDlgQuadCreate::IDD, [&](DialogDriver& d, CDialog& shown) {
            d.Type(1014, c.text);
            if (!c.ok)
                Boxes().Expect(AfxFormat("Thickness = %s %s is out of range.\nEnter a value > 0 %s and <= 1e+15 %s.",
                                         c.shown, unit.GetString(), unit.GetString(), unit.GetString()));
            d.PressOK();
            if (!c.ok) {
                EXPECT_FALSE(shown.IsEnded());
                d.PressCancel();
            }
        });
        EXPECT_EQ(dlg.DoModal(), c.ok ? IDOK : IDCANCEL);
        if (c.ok) {
            EXPECT_EQ(dlg.m_dThickness, 0.5);
        }
        script.Verify();
    }
}

// Fixed factors instead of the unit settings.
class FixedFactorsVolForce : public CDlgVolForce
{
public:
    void UpdateFactors() override
    {
        CDlgVolForce::UpdateFactors();
        m_dVolFactor = 2.0;
        m_dLenFactor = 10.0;
    }
};

TEST_F(SmallDialogs, VolumeForcesConvertBetweenShownAndStoredValues)
{
    FixedFactorsVolForce dlg;
    dlg.m_dValue2 = 1.0;  // shown 2
    dlg.m_dGrad2 = 1.0;   // shown 0.2
    dlg.m_dRef2 = 1.0;    // shown 10
    ModalScript script;
    script.Dialog(CDlgVolForce::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(CDlgVolForce::IDC_VALUE2), "2");
        EXPECT_EQ(d.Text(CDlgVolForce::IDC_GRAD2), "0.2");
        EXPECT_EQ(d.Text(CDlgVolForce::IDC_REF2), "10");
        EXPECT_EQ(d.Text(CDlgVolForce::IDC_ANGLE), "-90");
        EXPECT_FALSE(d.Enabled(CDlgVolForce::IDC_ANGLE));
        d.Click(CDlgVolForce::IDC_OWN_WEIGHT);
        EXPECT_TRUE(d.Enabled(CDlgVolForce::IDC_ANGLE));
        EXPECT_TRUE(d.Enabled(CDlgVolForce::IDC_GRAVITY));
        d.Type(CDlgVolForce::IDC_VALUE1, "4");
        d.Type(CDlgVolForce::IDC_GRAD1, "4");
        d.Type(CDlgVolForce::IDC_REF1, "30");
        for (const char* refused : {"-360.5", "400"}) {
            d.Type(CDlgVolForce::IDC_ANGLE, refused);
            d.PressOK();
        }
        d.Type(CDlgVolForce::IDC_ANGLE, "-360");
        d.PressOK();
    });
    script.MessageBox("Please enter a number between -360 and 360.")
        .MessageBox("Please enter a number between -360 and 360.");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_dValue1, 2.0);
    EXPECT_DOUBLE_EQ(dlg.m_dGrad1, 20.0);
    EXPECT_DOUBLE_EQ(dlg.m_dRef1, 3.0);
    EXPECT_DOUBLE_EQ(dlg.m_dValue2, 1.0);
    EXPECT_DOUBLE_EQ(dlg.m_dGrad2, 1.0);
    EXPECT_DOUBLE_EQ(dlg.m_dRef2, 1.0);
    EXPECT_EQ(dlg.m_dGravAngle, -360.0);
    EXPECT_TRUE(dlg.m_bOwnWeight);
    script.Verify();
}

// Every field has a finite range: a refusal names the field, the value and
// the range in the unit its label shows, and a text that is no number names
// its field. The dialog stays open.
TEST_F(SmallDialogs, VolumeForcesRefuseOutOfRangeValuesNamingTheField)
{
    struct Case {
        int nID, unitID;
        const char* field;
        const char* text;
        const char* shown; // null: not a number
    } cases[] = {
        {CDlgVolForce::IDC_VALUE1, 1187, "Value x", "1e300", "1e+300"},
        {CDlgVolForce::IDC_GRAD2, 1190, "Gradient y", "-2e15", "-2e+15"},
        {CDlgVolForce::IDC_REF1, 1192, "Ref. length x", "1e16", "1e+16"},
        {CDlgVolForce::IDC_VALUE2, 1188, "Value y", "1,5", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        FixedFactorsVolForce dlg;
        dlg.m_dValue1 = 0.5;
        bool stayed = false;
        ModalScript script;
        script.Dialog(CDlgVolForce::IDD, [&](DialogDriver& d, CDialog& shown) {
            const CString unit = d.Text(c.unitID);
            EXPECT_FALSE(unit.IsEmpty());
            d.Type(c.nID, c.text);
            if (c.shown)
                Boxes().Expect(AfxFormat("%s = %s %s is out of range.\nEnter a value between -1e+15 %s and 1e+15 %s.",
                                         c.field, c.shown, unit.GetString(), unit.GetString(), unit.GetString()));
            else
                Boxes().Expect(AfxFormat("Please enter a number for %s.", c.field));
            d.PressOK();
            stayed = !shown.IsEnded();
            d.PressCancel();
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(stayed);
        script.Verify();
    }
}

// Factors no value survives a multiply-and-divide of.
class AwkwardFactorsVolForce : public CDlgVolForce
{
public:
    void UpdateFactors() override
    {
        CDlgVolForce::UpdateFactors();
        m_dVolFactor = 1.0 / 3.0;
        m_dLenFactor = 1.0 / 25.4;
    }
};

TEST_F(SmallDialogs, VolumeForcesOkWithoutTypingKeepsTheValuesBitForBit)
{
    AwkwardFactorsVolForce dlg;
    const double values[6] = {0.1, 1.0 / 3.0, 210000.0000001, 7.85e-05, 100.0, 0.3};
    double* const members[6] = {&dlg.m_dValue1, &dlg.m_dValue2, &dlg.m_dGrad1,
                                &dlg.m_dGrad2,  &dlg.m_dRef1,   &dlg.m_dRef2};
    for (int i = 0; i < 6; ++i)
        *members[i] = values[i];
    ModalScript script;
    script.Dialog(CDlgVolForce::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(CDlgVolForce::IDC_REF1), "3.93700787401575");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(*members[i], values[i]) << i;
    script.Verify();
}

TEST_F(SmallDialogs, ElementPropertiesShowTheCallersStrings)
{
    CDlgElemProp dlg;
    dlg.m_nElemID = 17;
    dlg.m_strMaterial = "Steel";
    dlg.m_strElemType = "T18/CST";
    dlg.m_strArea = "12.5 mm^2";
    ModalScript script;
    script.Dialog(CDlgElemProp::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Element properties");
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_ID), "17");
        EXPECT_TRUE(d.ReadOnly(CDlgElemProp::IDC_ID));
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_MATERIAL), "Steel");
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_TYPE), "T18/CST");
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_AREA), "12.5 mm^2");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    script.Verify();
}

} // namespace

namespace
{

TEST_F(SmallDialogs, VolumeForcesCommandPresetsWritesAndMarksTheRecord)
{
    CBrantelDoc doc;
    CMatrix& record = doc.GetPlateComp()->m_VolumeForce;
    record.Allocate(1, 9, true, 0.0);
    const double stored[9] = {1.0, 0.0, 0.5, 0.0, 2.0, 0.0, -45.0, 1.0, 1.0};
    for (int i = 0; i < 9; ++i)
        record[0][i] = stored[i];
    const struct {
        const char* value; // typed into the first value, null: OK as shown
        bool modified;
        double flag;
    } cases[] = {{nullptr, false, 1.0}, {"7", true, 1.0}};
    for (const auto& c : cases) {
        doc.SetModifiedFlag(FALSE);
        ModalScript script;
        script.Dialog(CDlgVolForce::IDD, [&](DialogDriver& d, CDialog& dlg) {
            const auto& v = dynamic_cast<CDlgVolForce&>(dlg);
            EXPECT_EQ(d.Check(CDlgVolForce::IDC_OWN_WEIGHT), 1);
            EXPECT_EQ(d.Text(CDlgVolForce::IDC_ANGLE), "-45");
            EXPECT_TRUE(d.Enabled(CDlgVolForce::IDC_ANGLE));
            EXPECT_DOUBLE_EQ(v.m_dRef1 / v.m_dLenFactor, 2.0);
            if (c.value)
                d.Type(CDlgVolForce::IDC_VALUE1, c.value);
            d.PressOK();
        });
        ASSERT_TRUE(doc.OnCmdMsg(ID_VOLUME_FORCES, CN_COMMAND, nullptr, nullptr));
        script.Verify();
        EXPECT_EQ(doc.IsModified() != FALSE, c.modified);
        EXPECT_EQ(record[0][8], c.flag);
        EXPECT_DOUBLE_EQ(record[0][6], -45.0);
    }
    // Clearing the check writes 0.0; cancelling writes nothing.
    ModalScript script;
    script.Dialog(CDlgVolForce::IDD, [](DialogDriver& d, CDialog&) {
        d.Click(CDlgVolForce::IDC_OWN_WEIGHT);
        d.PressOK();
    });
    script.Dialog(CDlgVolForce::IDD, [](DialogDriver& d, CDialog&) {
        d.Click(CDlgVolForce::IDC_OWN_WEIGHT);
        d.PressCancel();
    });
    doc.OnCmdMsg(ID_VOLUME_FORCES, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(record[0][8], 0.0);
    doc.OnCmdMsg(ID_VOLUME_FORCES, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(record[0][8], 0.0);
    script.Verify();
}

} // namespace

namespace
{

TEST_F(SmallDialogs, AreaFollowsTheAreaRowsUnitFormatAndDigits)
{
    const int saved[3] = {iConv[0][9][0], iConv[0][9][1], iConv[0][9][2]};
    const int system = iStandard;
    iStandard = 0;
    const struct {
        int unit, format, digits;
        const char* text;
    } cases[] = {{1, 0, 3, "2.500e-03 m^2"}, {0, 1, 1, "2500.0 mm^2"}, {0, 2, 3, "2.5e+03 mm^2"}};
    for (const auto& c : cases) {
        iConv[0][9][0] = c.unit;
        iConv[0][9][1] = c.format;
        iConv[0][9][2] = c.digits;
        EXPECT_EQ(FormatAreaValue(2500.0), c.text);
    }
    for (int i = 0; i < 3; ++i)
        iConv[0][9][i] = saved[i];
    iStandard = system;
}

TEST_F(SmallDialogs, ElementPropertiesOfAMeshedRegion)
{
    CBrantelDoc doc;
    doc.UpdateStatics(true);
    CSectPlate* region = AddSquare(doc, 0.0, 0.0, 100.0);
    CStringArray log, errors;
    ASSERT_TRUE(doc.GetPlateComp()->PreCalc(&log, &errors, 0));
    ASSERT_NE(region->GetMesh(), nullptr);
    auto* element = dynamic_cast<CElement*>(region->GetMesh()->GetHead());
    ASSERT_NE(element, nullptr);
    CDlgElemProp dlg;
    FillElementProperties(dlg, doc, *element);
    EXPECT_EQ(static_cast<unsigned long>(dlg.m_nElemID) + 4000000000UL, element->GetID());
    EXPECT_EQ(dlg.m_strMaterial, "Default");
    EXPECT_EQ(dlg.m_strElemType, doc.GetElementTypeName());
    EXPECT_FALSE(dlg.m_strElemType.IsEmpty());
    EXPECT_EQ(dlg.m_strArea, FormatAreaValue(element->PhysicalSize()));
    EXPECT_GT(element->PhysicalSize(), 0.0);
    EXPECT_LT(element->PhysicalSize(), 10000.0);
    doc.UpdateStatics(false);
}

} // namespace

// The plate document's region sheet: name checks, material, material axes,
// thickness and loads in display units, one region and several.
#include "dialogs/pavesta.h"
#include "platform/dimvor/units.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

using RegionSheet = ShellTest;

// Puts the unit system and one row's unit back when it goes.
class UnitsScope
{
public:
    UnitsScope(int system, int row, int unit)
        : m_system(iStandard), m_row(row), m_unit(iConv[system][row][0]), m_rowSystem(system)
    {
        iStandard = system;
        iConv[system][row][0] = unit;
    }
    ~UnitsScope()
    {
        iStandard = m_system;
        iConv[m_rowSystem][m_row][0] = m_unit;
    }

private:
    int m_system, m_row, m_unit, m_rowSystem;
};

CMaterial* MaterialNamed(CBrantelDoc& doc, const char* name)
{
    CObList& list = doc.GetPlateComp()->GetMaterialList();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* m = static_cast<CMaterial*>(list.GetNext(pos));
        if (m->GetName() == name)
            return m;
    }
    return nullptr;
}

void Store(CVector& v, const std::vector<double>& values)
{
    v.Allocate(static_cast<int>(values.size()), true, 0.0);
    for (std::size_t i = 0; i < values.size(); ++i)
        v[static_cast<int>(i)] = values[i];
}

std::vector<double> Values(const CVector& v)
{
    return std::vector<double>(v.GetVector(), v.GetVector() + v.GetSize());
}

// Runs the sheet on object with one scripted pass.
void RunSheet(CBrantelDoc& doc, CObject* object, std::function<void(DialogDriver&)> pass)
{
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog&) { pass(d); });
    doc.EditRegionProperties(object);
    script.Verify();
}

TEST_F(RegionSheet, NameIsCheckedAndTheSheetComesBackUntilCancel)
{
    const struct {
        const char* name;
        const char* message;
    } cases[] = {{"", "The section must have a name"}, {"Other", "The name is already in use"}};
    for (const auto& c : cases) {
        CBrantelDoc doc;
        CSectPlate* region = AddSquare(doc, 0, 0, 100);
        AddSquare(doc, 200, 0, 100)->SetName("Other");
        region->SetName("Mine");
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Caption(), "Region");
            d.Type(IDC_MAT_NAME, c.name);
            d.PressOK();
        });
        script.MessageBox(c.message);
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Text(IDC_MAT_NAME), c.name); // what was typed
            d.PressCancel();
        });
        doc.EditRegionProperties(region);
        script.Verify();
        EXPECT_EQ(region->GetName(), "Mine") << c.message;
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST_F(RegionSheet, RenameMarksModifiedButConfirmingUnchangedDoesNot)
{
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0, 0, 100);
    region->SetName("Mine");
    doc.m_bMeshValid = true;
    RunSheet(doc, region, [](DialogDriver& d) {
        d.ActivatePage(1);
        d.ActivatePage(2);
        d.PressOK();
    });
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.m_bMeshValid);
    EXPECT_EQ(region->GetThickness(), 10.0);

    RunSheet(doc, region, [](DialogDriver& d) {
        d.Type(IDC_MAT_NAME, "Renamed");
        d.PressOK();
    });
    EXPECT_EQ(region->GetName(), "Renamed");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.m_bMeshValid);
}

TEST_F(RegionSheet, UntouchedValuesComeBackBitForBitInInches)
{
    // Millimetre values no inch text gives back: OK after visiting every
    // page changes none of them and marks nothing.
    UnitsScope inches(1, 0, 0);
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0, 0, 100);
    region->SetThickness(100.0 / 3.0);
    Store(region->GetThicknessVector(), {1.0 / 3.0, 210000.0000001, 0.3, 1e-3 / 3.0});
    region->SetLoad(1.0 / 3.0);
    Store(region->GetLoadVector(), {10.0 / 3.0, 0.3, 1.0 / 7.0, 2.0 / 7.0});
    region->SetPolar(true);
    Store(region->GetMatAxes(), {100.0 / 3.0, 0.3});
    const double t0 = region->GetThickness(), p0 = region->GetLoad();
    const std::vector<double> thickness = Values(region->GetThicknessVector());
    const std::vector<double> load = Values(region->GetLoadVector());
    const std::vector<double> axes = Values(region->GetMatAxes());
    doc.m_bMeshValid = true;
    RunSheet(doc, region, [](DialogDriver& d) {
        d.ActivatePage(1);
        d.ActivatePage(2);
        d.PressOK();
    });
    EXPECT_EQ(region->GetThickness(), t0);
    EXPECT_EQ(region->GetLoad(), p0);
    EXPECT_EQ(Values(region->GetThicknessVector()), thickness);
    EXPECT_EQ(Values(region->GetLoadVector()), load);
    EXPECT_EQ(Values(region->GetMatAxes()), axes);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.m_bMeshValid);
}

TEST_F(RegionSheet, ThicknessMustBePositive)
{
    // Refused on OK with the field's message in the display unit; the
    // region keeps its thickness. Inside the range it is stored.
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0, 0, 100);
    const CString unit = UnitString(iStandard, kUnitLength, iConv[iStandard][0][0]);
    const double fL = MetricToX(iStandard, kUnitLength, iConv[iStandard][0][0]);
    for (const char* text : {"-10", "0"}) {
        SCOPED_TRACE(text);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& sheet) {
            d.ActivatePage(1);
            d.Type(IDC_BILIN_BASE, text);
            Boxes().Expect(AfxFormat("Thickness t0 = %s %s is out of range.\nEnter a value > 0 %s and <= 1e+15 %s.",
                                     text, unit.GetString(), unit.GetString(), unit.GetString()));
            d.PressOK();
            EXPECT_FALSE(sheet.IsEnded());
            d.PressCancel();
        });
        doc.EditRegionProperties(region);
        script.Verify();
        EXPECT_EQ(region->GetThickness(), 10.0);
        EXPECT_FALSE(doc.IsModified());
    }
    RunSheet(doc, region, [](DialogDriver& d) {
        d.ActivatePage(1);
        d.Type(IDC_BILIN_BASE, "5");
        d.PressOK();
    });
    EXPECT_DOUBLE_EQ(region->GetThickness(), 5.0 / fL);
}

TEST_F(RegionSheet, VoidDeletesOnlyThatRegionsMeshAndCountsStayRight)
{
    CBrantelDoc doc;
    CPlateComp* comp = doc.GetPlateComp();
    comp->SetElementType(31);
    comp->m_iSubdivisions = 2;
    CSectPlate* a = AddSquare(doc, 0, 0, 100);
    CSectPlate* b = AddSquare(doc, 200, 0, 100);
    CStringArray log, errors;
    ASSERT_TRUE(comp->PreCalc(&log, &errors, 0));
    ASSERT_NE(a->GetMesh(), nullptr);
    ASSERT_NE(b->GetMesh(), nullptr);
    CMaterial* steel = MaterialNamed(doc, "Default");
    CMaterial* voidMat = MaterialNamed(doc, "VOID");
    const int steelUses = steel->GetElemCount(), voidUses = voidMat->GetElemCount();

    RunSheet(doc, a, [](DialogDriver& d) {
        d.SelectString(IDC_MAT_COMBO, "VOID");
        d.PressOK();
    });
    EXPECT_EQ(a->GetMaterial(), voidMat);
    EXPECT_EQ(a->GetMesh(), nullptr);
    EXPECT_NE(b->GetMesh(), nullptr);
    EXPECT_EQ(steel->GetElemCount(), steelUses - 1);
    EXPECT_EQ(voidMat->GetElemCount(), voidUses + 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(RegionSheet, ThicknessInInchesAndZeroCoefficientsEmptyTheVector)
{
    UnitsScope inches(1, 0, 0);
    const double fL = MetricToX(1, kUnitLength, 0);
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0, 0, 100);
    CVector& coeffs = region->GetThicknessVector();
    coeffs.Allocate(4, true, 0.0);
    coeffs[0] = 25.4;
    coeffs[2] = 0.01;
    RunSheet(doc, region, [&](DialogDriver& d) {
        d.ActivatePage(1);
        EXPECT_EQ(d.Text(16138), "in");
        EXPECT_EQ(d.Text(16141), "in/in");
        EXPECT_EQ(std::stod(d.Text(IDC_BILIN_X0).str()), 1.0);
        EXPECT_EQ(std::stod(d.Text(IDC_BILIN_SLOPE_X).str()), 0.01);
        d.Type(IDC_BILIN_BASE, "0.5");
        d.Type(IDC_BILIN_X0, "0");
        d.Type(IDC_BILIN_SLOPE_X, "0");
        d.PressOK();
    });
    EXPECT_DOUBLE_EQ(region->GetThickness(), 0.5 / fL);
    EXPECT_EQ(region->GetThicknessVector().GetSize(), 0);
}

TEST_F(RegionSheet, PlateLoadShowsItsUnitsAndStoresItsPlane)
{
    CBrantelDoc doc; // element type 81: a plate code
    CSectPlate* region = AddSquare(doc, 0, 0, 100);
    const int s = iStandard;
    const double fq = MetricToX(s, kUnitStress, iConv[s][6][0]);
    const double fL = MetricToX(s, kUnitLength, iConv[s][0][0]);
    CString loadUnit = UnitString(s, kUnitStress, iConv[s][6][0]);
    CString squared = loadUnit;
    ReplaceSqrd(squared);
    RunSheet(doc, region, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL).back(), "Distributed load");
        d.ActivatePage(2);
        EXPECT_EQ(d.Text(16138), squared);
        EXPECT_EQ(d.Text(16141), loadUnit + "/" + UnitString(s, kUnitLength, iConv[s][0][0]));
        d.Type(IDC_BILIN_BASE, "2");
        d.Type(IDC_BILIN_X0, "3");
        d.Type(IDC_BILIN_SLOPE_Y, "4");
        d.PressOK();
    });
    EXPECT_DOUBLE_EQ(region->GetLoad(), 2 / fq);
    const std::vector<double> v = Values(region->GetLoadVector());
    ASSERT_EQ(v.size(), 4u);
    EXPECT_DOUBLE_EQ(v[0], 3 / fL);
    EXPECT_DOUBLE_EQ(v[3], 4 * fL / fq);
}

TEST_F(RegionSheet, MembraneOpensOnTemperatureOnlyForFourEntries)
{
    const struct {
        int entries, kind;
    } cases[] = {{4, 1}, {0, 0}, {7, 0}, {3, 0}};
    for (const auto& c : cases) {
        CBrantelDoc doc;
        doc.GetPlateComp()->SetElementType(31);
        CSectPlate* region = AddSquare(doc, 0, 0, 100);
        region->GetLoadVector().Allocate(c.entries, true, 0.0);
        RunSheet(doc, region, [&](DialogDriver& d) {
            const std::vector<CString> tabs = d.Items(AFX_IDC_TAB_CONTROL);
            ASSERT_EQ(tabs.size(), 3u);
            EXPECT_EQ(tabs[1], "Thickness");
            EXPECT_EQ(tabs[2], "Temp. && Initial strain");
            d.ActivatePage(2);
            EXPECT_EQ(d.Check(IDC_BILIN_KIND1), c.kind) << c.entries;
            d.PressCancel();
        });
    }
}

TEST_F(RegionSheet, StrainWritesSevenEntriesOrNoneAndTemperatureExactlyFour)
{
    const double fL = MetricToX(iStandard, kUnitLength, iConv[iStandard][0][0]);
    CBrantelDoc doc;
    doc.GetPlateComp()->SetElementType(31);
    CSectPlate* region = AddSquare(doc, 0, 0, 100);
    RunSheet(doc, region, [](DialogDriver& d) {
        d.ActivatePage(2);
        EXPECT_EQ(d.Text(16146), "");
        d.Type(IDC_BILIN_BASE, "0.001");
        d.Type(IDC_BILIN_SLOPE_Y2, "2");
        d.PressOK();
    });
    EXPECT_EQ(region->GetLoad(), 0.001);
    std::vector<double> v = Values(region->GetLoadVector());
    ASSERT_EQ(v.size(), 7u);
    EXPECT_DOUBLE_EQ(v[6], 2 * fL);

    RunSheet(doc, region, [](DialogDriver& d) {
        d.ActivatePage(2);
        d.Type(IDC_BILIN_SLOPE_Y2, "0");
        d.PressOK();
    });
    EXPECT_EQ(region->GetLoadVector().GetSize(), 0);

    // All-zero temperature still writes its four entries: they mark the kind.
    RunSheet(doc, region, [](DialogDriver& d) {
        d.ActivatePage(2);
        d.Click(IDC_BILIN_KIND1);
        EXPECT_EQ(d.Text(16138), UnitString(iStandard, kUnitTemperature, 0));
        d.Type(IDC_BILIN_BASE, "20");
        d.PressOK();
    });
    EXPECT_DOUBLE_EQ(region->GetLoad(), 20 / MetricToX(iStandard, kUnitTemperature, 0));
    EXPECT_EQ(Values(region->GetLoadVector()), std::vector<double>(4, 0.0));
}

TEST_F(RegionSheet, MaterialAxes)
{
    UnitsScope inches(1, 0, 0);
    const double fL = MetricToX(1, kUnitLength, 0);
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0, 0, 100);
    RunSheet(doc, region, [](DialogDriver& d) {
        d.Click(IDC_MAT_POLAR);
        d.Type(IDC_MAT_X0, "1");
        d.Type(IDC_MAT_Y0, "2");
        d.PressOK();
    });
    EXPECT_TRUE(region->IsPolar());
    EXPECT_EQ(Values(region->GetMatAxes()), (std::vector<double>{1 / fL, 2 / fL}));

    region->SetPolar(false);
    region->GetMatAxes()[0] = 0.5;
    region->GetMatAxes()[1] = 3.0;
    RunSheet(doc, region, [&](DialogDriver& d) {
        EXPECT_EQ(std::stod(d.Text(IDC_MAT_B).str()), 3.0 / fL); // shown = stored / fL
        d.Type(IDC_MAT_B, "2");
        d.PressOK();
    });
    EXPECT_FALSE(region->IsPolar());
    EXPECT_EQ(Values(region->GetMatAxes()), (std::vector<double>{0.5, 2 * fL}));

    RunSheet(doc, region, [](DialogDriver& d) {
        d.Type(IDC_MAT_A, "0");
        d.Type(IDC_MAT_B, "0");
        d.PressOK();
    });
    EXPECT_EQ(region->GetMatAxes().GetSize(), 0);
}

TEST_F(RegionSheet, SeveralRegionsApplyOnlyTheTickedPages)
{
    CBrantelDoc doc;
    CSectPlate* a = AddSquare(doc, 0, 0, 100);
    CSectPlate* b = AddSquare(doc, 200, 0, 100);
    a->SetName("A");
    CObList list;
    // A region is a list of its nodes: added as one object each.
    list.AddTail(static_cast<CObject*>(a));
    list.AddTail(static_cast<CObject*>(b));
    CSNode stray(0, 0, 0, nullptr, 0);
    list.AddTail(&stray); // skipped
    const double fL = MetricToX(iStandard, kUnitLength, iConv[iStandard][0][0]);

    // Nothing ticked: nothing changes, and the document stays unmodified.
    RunSheet(doc, &list, [](DialogDriver& d) {
        EXPECT_FALSE(d.Enabled(IDC_MAT_NAME));
        const std::vector<CString> items = d.Items(IDC_MAT_COMBO);
        EXPECT_EQ(items.back(), " No change");
        d.ActivatePage(1);
        EXPECT_EQ(d.Text(IDC_BILIN_BASE).Left(1), "0");
        EXPECT_FALSE(d.Enabled(IDC_BILIN_BASE));
        d.PressOK();
    });
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(a->GetThickness(), 10.0);

    // The thickness page ticked, the material page ticked with " No change".
    RunSheet(doc, &list, [](DialogDriver& d) {
        d.Click(IDC_MAT_CHANGE);
        d.ActivatePage(1);
        d.Click(IDC_BILIN_CHANGE);
        EXPECT_EQ(d.Check(IDC_BILIN_CHANGE), 1);
        EXPECT_TRUE(d.Enabled(IDC_BILIN_BASE));
        d.Type(IDC_BILIN_BASE, "7");
        d.PressOK();
    });
    for (CSectPlate* r : {a, b}) {
        EXPECT_DOUBLE_EQ(r->GetThickness(), 7 / fL);
        EXPECT_EQ(r->GetMaterial(), MaterialNamed(doc, "Default"));
        EXPECT_EQ(r->GetLoad(), 0.0);
    }
    EXPECT_EQ(a->GetName(), "A");
    EXPECT_TRUE(doc.IsModified());
}

} // namespace

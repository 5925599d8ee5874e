// The "Units" dialog and the main frame's command that runs it: the table
// lines, the defaults of one system, digits kept across tabs and clamped,
// the unit lists of the special quantities, and what OK and Cancel leave in
// the settings in force.
#include <algorithm>
#include <cstring>

#include "app/shell/unitsdlg.h"
#include "platform/dimvor/units.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/ui_lists.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

constexpr int kFormat = 512, kDigits = 513, kTable = 514, kUnit = 515, kTab = 516,
              kQuantity = 517, kDefaults = 521, kUS = 16153;

using Table = int[2][30][3];

void Fill(Table& table, int value)
{
    std::fill(&table[0][0][0], &table[0][0][0] + 2 * 30 * 3, value);
}

bool Same(const Table& a, const Table& b)
{
    return std::memcmp(a, b, sizeof(Table)) == 0;
}

class UnitsDialog : public ShellTest
{
protected:
    void SetUp() override
    {
        std::memcpy(m_saved, iConv, sizeof m_saved);
        m_standard = iStandard;
    }
    void TearDown() override
    {
        std::memcpy(iConv, m_saved, sizeof m_saved);
        iStandard = m_standard;
        ShellTest::TearDown();
    }
    // Runs the dialog on the table with step driving it; its result.
    int Run(CPPSettings2& dlg, std::function<void(DialogDriver&, CDialog&)> step)
    {
        ModalScript script;
        script.Dialog(CPPSettings::IDD, std::move(step));
        return static_cast<int>(dlg.DoModal());
    }
    static CString Line(DialogDriver& d, int index)
    {
        const std::vector<CString> lines = d.Items(kTable);
        return index < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(index)]
                                                     : CString("<none>");
    }

    Table m_saved;
    int m_standard = 0;
};

TEST_F(UnitsDialog, RestoringDefaultsRewritesOnlyRowsUpToEighteenOfTheSystemShown)
{
    for (int system : {0, 1}) {
        CPPSettings2 dlg;
        Fill(dlg.m_iConv, 1);
        dlg.m_iConv[system][25][2] = 9;
        dlg.m_iSystem = system;
        CString line;
        ASSERT_EQ(Run(dlg,
                      [&](DialogDriver& d, CDialog&) {
                          d.Click(kDefaults);
                          line = Line(d, 0);
                          d.PressOK();
                      }),
                  IDOK);
        CString unit = UnitString(system, kUnitLength, 0);
        ReplaceSqrAndCube(unit);
        EXPECT_EQ(line, "Length\t" + unit + "\tf-format\t" + (system ? "3" : "0")) << system;
        Table expected;
        Fill(expected, 1);
        expected[system][25][2] = 9;
        SetDefaultUnitRows(expected, system);
        EXPECT_TRUE(Same(dlg.m_iConv, expected)) << system;
        EXPECT_EQ(dlg.m_iSystem, system);
    }
}

TEST_F(UnitsDialog, DigitsStayWithTheirRowAcrossTabsAndAreClampedOnLeavingTheField)
{
    CPPSettings2 dlg;
    Fill(dlg.m_iConv, 1);
    CString clamped, back, outputMoment;
    ASSERT_EQ(Run(dlg,
                  [&](DialogDriver& d, CDialog&) {
                      d.Select(kQuantity, 2); // "Surface load", row 6
                      d.Focus(kDigits);
                      d.Type(kDigits, "15");
                      d.Focus(kQuantity);
                      clamped = d.Text(kDigits);
                      d.Focus(kDigits);
                      d.Type(kDigits, "7");
                      d.Focus(kQuantity);
                      d.Tab(kTab, 1);
                      outputMoment = Line(d, 2);
                      d.Tab(kTab, 0);
                      d.Select(kQuantity, 2);
                      back = d.Text(kDigits);
                      d.PressOK();
                  }),
              IDOK);
    EXPECT_EQ(clamped, "10");
    EXPECT_EQ(back, "7");
    EXPECT_TRUE(outputMoment.Right(2) == "\t1") << outputMoment.GetString();
    EXPECT_EQ(dlg.m_iConv[0][6][2], 7);
    EXPECT_EQ(dlg.m_iConv[0][2][2], 1);
}

TEST_F(UnitsDialog, TooManyDigitsOnOkAreRefusedAndTheDialogStaysOpen)
{
    CPPSettings2 dlg;
    Fill(dlg.m_iConv, 1);
    ModalScript script;
    bool stayed = false;
    script.Dialog(CPPSettings::IDD, [&](DialogDriver& d, CDialog& w) {
        d.Type(kDigits, "11");
        d.PressEnter();
        stayed = w.GetSafeHwnd() != nullptr;
        d.PressCancel();
    });
    script.MessageBox("Please enter an integer between 0 and 10.");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stayed);
}

TEST_F(UnitsDialog, SpecialQuantitiesShowTheirOwnUnitTexts)
{
    struct Case {
        int tab, entry, row, unit;
        int offered;        // entries of the unit combo
        CString lineUnit;   // the unit text of the table line
    };
    CString density = UnitString(0, kUnitMass, 1) + UnitString(0, kUnitPerVolume, 1);
    ReplaceSqrAndCube(density);
    const Case cases[] = {
        {0, 5, 5, 0, 1, density},  // mass density: one text, whatever the unit
        {0, 5, 5, 2, 1, density},
        {0, 6, 7, 0, 2, "deg"},
        {0, 6, 7, 1, 2, "rad"},
        {0, 6, 7, 4, 2, "rad"},
        {0, 3, 3, 3, 3, ""},      // edge load beyond the force-per-length texts
        {1, 3, 10, 5, 3, ""},     // output force likewise
        {1, 2, 2, 3, 4, UnitString(0, kUnitMoment, 3)},
    };
    for (const Case& c : cases) {
        CPPSettings2 dlg;
        Fill(dlg.m_iConv, 1);
        dlg.m_iConv[0][c.row][0] = c.unit;
        CString line;
        int offered = -1, unitSel = -2, formatSel = -2;
        ASSERT_EQ(Run(dlg,
                      [&](DialogDriver& d, CDialog&) {
                          if (c.tab)
                              d.Tab(kTab, c.tab);
                          d.Select(kQuantity, c.entry);
                          line = Line(d, c.entry);
                          offered = static_cast<int>(d.Items(kUnit).size());
                          unitSel = d.CurSel(kUnit);
                          formatSel = d.CurSel(kFormat);
                          d.PressOK();
                      }),
                  IDOK);
        const int tab = line.Find('\t');
        EXPECT_EQ(line.Mid(tab + 1, line.Find('\t', tab + 1) - tab - 1), c.lineUnit)
            << c.row << " " << c.unit << " " << line.GetString();
        EXPECT_EQ(offered, c.offered) << c.row;
        EXPECT_EQ(unitSel, c.unit < c.offered ? c.unit : -1) << c.row << " " << c.unit;
        EXPECT_EQ(formatSel, 1);
        EXPECT_EQ(dlg.m_iConv[0][c.row][0], c.unit) << "an index out of the list is kept";
    }
}

TEST_F(UnitsDialog, ChoosingAUnitRewritesItsRowAndLineInTheSystemShown)
{
    CPPSettings2 dlg;
    Fill(dlg.m_iConv, 0);
    CString line;
    ASSERT_EQ(Run(dlg,
                  [&](DialogDriver& d, CDialog&) {
                      d.Click(kUS);
                      d.Select(kQuantity, 1); // "Force"
                      d.Select(kUnit, 1);
                      d.Select(kFormat, 2);
                      line = Line(d, 1);
                      d.PressOK();
                  }),
              IDOK);
    EXPECT_EQ(line, "Force\t" + UnitString(1, kUnitForce, 1) + "\tg-format\t0");
    EXPECT_EQ(dlg.m_iSystem, 1);
    EXPECT_EQ(dlg.m_iConv[1][1][0], 1);
    EXPECT_EQ(dlg.m_iConv[1][1][1], 2);
    EXPECT_EQ(dlg.m_iConv[0][1][0], 0);
    EXPECT_EQ(dlg.m_iConv[0][1][1], 0);
}

// ---- The main frame's command -----------------------------------------------------

class UnitsCommand : public UnitsDialog
{
protected:
    void SetUp() override
    {
        UnitsDialog::SetUp();
        iStandard = 0;
        SetDefaultUnitRows(0);
        SetDefaultUnitRows(1);
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    }
    void TearDown() override
    {
        if (frame && frame->GetSafeHwnd())
            frame->DestroyWindow();
        UnitsDialog::TearDown();
    }
    std::vector<CString> Thicknesses()
    {
        return brantel::test::ComboTexts(frame->GetToolbarCombo(ID_ACTIVE_THICKNESS));
    }
    CMainFrame* frame = nullptr; // deletes itself
};

TEST_F(UnitsCommand, CancelAfterSwitchingTheSystemChangesNothing)
{
    Table before;
    std::memcpy(before, iConv, sizeof before);
    const std::vector<CString> thicknesses = Thicknesses();
    ModalScript script;
    script.Dialog(CPPSettings::IDD, [](DialogDriver& d, CDialog&) {
        d.Click(kUS);
        d.Click(kDefaults);
        d.PressCancel();
    });
    frame->SendMessage(WM_COMMAND, ID_UNITS_FORMATS);
    EXPECT_EQ(iStandard, 0);
    EXPECT_TRUE(Same(iConv, before));
    EXPECT_EQ(Thicknesses(), thicknesses);
}

TEST_F(UnitsCommand, OkPutsTheSystemInForceAndRelabelsLengths)
{
    iConv[1][0][0] = 1; // feet
    iConv[1][27][1] = 2;
    frame->m_dThickness[0] = 100.0;
    frame->m_dThickness[1] = 304.8;
    frame->m_dActThickness = 304.8;
    frame->UpdateThicknessList();
    ModalScript script;
    script.Dialog(CPPSettings::IDD, [](DialogDriver& d, CDialog&) {
        d.Click(kUS);
        d.PressOK();
    });
    frame->SendMessage(WM_COMMAND, ID_UNITS_FORMATS);
    EXPECT_EQ(iStandard, 1);
    EXPECT_EQ(iConv[1][0][0], 1);
    EXPECT_EQ(iConv[1][27][1], 2);
    CComboBox* combo = frame->GetToolbarCombo(ID_ACTIVE_THICKNESS);
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetCurSel(), 1);
    CString text;
    combo->GetLBText(1, text);
    EXPECT_NEAR(std::atof(text), 304.8 * MetricToX(1, kUnitLength, 1), 1e-6) << text.GetString();
    EXPECT_EQ(frame->m_pCoordDlg->m_strUnit, UnitString(1, kUnitLength, 1));
}

} // namespace

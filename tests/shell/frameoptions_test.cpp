// The main frame's option dialogs. The "Units" dialog and its command: the
// table lines, the defaults of one system, digits kept across tabs and
// clamped, the unit lists of the special quantities, and what OK and Cancel
// leave in the settings in force. The "View Options" sheet: its pages, and
// what the screen options write to the drawing settings.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/coloroptpage.h"
#include "app/shell/unitsdlg.h"
#include "glstyle/drawing_settings.h"
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
        {1, 3, 10, 5, 2, ""},     // output force likewise (two force units)
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

// The output "Force" (section forces) is named as the results show it: the
// force unit of its row per the length unit of the "Length" row, the text
// of a thick plate's shear force in its legend and extremes.
TEST_F(UnitsDialog, OutputForceNamesTheUnitOfTheShownSectionForces)
{
    struct Case {
        int system, forceUnit, lengthUnit;
        const char* text;
    } cases[] = {
        {0, 0, 0, "N/mm"}, {0, 1, 0, "kN/mm"}, {0, 0, 1, "N/m"}, {0, 1, 1, "kN/m"}, {1, 1, 1, "kip/ft"},
    };
    for (const Case& c : cases) {
        CPPSettings2 dlg;
        Fill(dlg.m_iConv, 1);
        dlg.m_iSystem = c.system;
        dlg.m_iConv[c.system][10][0] = c.forceUnit;
        dlg.m_iConv[c.system][0][0] = c.lengthUnit;
        CString line;
        std::vector<CString> offered;
        ASSERT_EQ(Run(dlg,
                      [&](DialogDriver& d, CDialog&) {
                          d.Tab(kTab, 1);
                          d.Select(kQuantity, 3);
                          line = Line(d, 3);
                          offered = d.Items(kUnit);
                          d.PressOK();
                      }),
                  IDOK);
        const int tab = line.Find('\t');
        EXPECT_EQ(line.Mid(tab + 1, line.Find('\t', tab + 1) - tab - 1), c.text) << line.GetString();
        ASSERT_EQ(offered.size(), 2u);
        EXPECT_EQ(offered[static_cast<std::size_t>(c.forceUnit)], c.text);

        // The results' own label under the same settings.
        std::memcpy(iConv, dlg.m_iConv, sizeof iConv);
        iStandard = c.system;
        CPlateComp comp;
        comp.SetElementType(81);
        CString legend;
        comp.ResultDisplayFactor(comp.GetResultUnit(3), 10, &legend);
        EXPECT_EQ(legend, c.text);
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

// The units command in the running program: an open clip-plane dialog is
// bound again to the active plate document's frame and reads its planes in
// the new units.
class UnitsInProgram : public AppTest
{
protected:
    void SetUp() override
    {
        std::memcpy(m_saved, iConv, sizeof m_saved);
        m_standard = iStandard;
        AppTest::SetUp();
    }
    void TearDown() override
    {
        AppTest::TearDown();
        std::memcpy(iConv, m_saved, sizeof m_saved);
        iStandard = m_standard;
    }
    Table m_saved;
    int m_standard = 0;
};

TEST_F(UnitsInProgram, OkRebindsAnOpenClipPlaneDialogToTheActiveDocument)
{
    iStandard = 0;
    SetDefaultUnitRows(0);
    SetDefaultUnitRows(1);
    iConv[1][0][0] = 1; // lengths in the second system: a unit other than the first
    ASSERT_TRUE(Start());
    auto* main = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    auto* child = dynamic_cast<KorChildFrm*>(main->MDIGetActive());
    ASSERT_NE(child, nullptr);
    auto* doc = dynamic_cast<CBrantelDoc*>(child->GetActiveView()->GetDocument());
    ASSERT_NE(doc, nullptr);
    doc->GetPlateComp()->SetFactor(2.5);
    child->m_dClipPlanes[2][3] = 1000.0; // the first vertical plane, in millimetres
    // Opened earlier on no frame, with another scale and quantities.
    auto* clip = new KorDlgClipPlane(1.0, 1, 1, 1, 1, nullptr);
    KorChildFrm::m_pClpPlnDlg = clip;

    ModalScript script;
    script.Dialog(CPPSettings::IDD, [](DialogDriver& d, CDialog&) {
        d.Click(kUS);
        d.PressOK();
    });
    main->SendMessage(WM_COMMAND, ID_UNITS_FORMATS);

    EXPECT_EQ(clip->m_pFrame, child);
    EXPECT_DOUBLE_EQ(clip->m_dScale, 2.5);
    EXPECT_EQ(clip->m_iQuantH, 13);
    EXPECT_EQ(clip->m_iConvH, 8);
    EXPECT_EQ(clip->m_iQuantV, 3);
    EXPECT_EQ(clip->m_iConvV, 0);
    EXPECT_NEAR(clip->m_dDist3, 1000.0 * MetricToX(1, kUnitLength, 1), 1e-9);
    CString level = UnitString(1, 13, iConv[1][8][0]);
    ReplaceSqrd(level);
    EXPECT_EQ(clip->m_strUnitBelow, level);
}

// ---- The "View Options" sheet ----------------------------------------------------

// The drawing settings the screen options write, to compare and put back.
struct DrawingSettings {
    float rs[4], md[4], text[3];
    double material[4], grid[4], axis[4];
    std::uint32_t fringes;
    int drawSelNum;

    static DrawingSettings Now()
    {
        DrawingSettings s;
        std::memcpy(s.rs, fBckClrRsView, sizeof s.rs);
        std::memcpy(s.md, fBckClrMdView, sizeof s.md);
        std::memcpy(s.text, glcTextClr, sizeof s.text);
        std::memcpy(s.material, dMaterialColor, sizeof s.material);
        std::memcpy(s.grid, dGridColor, sizeof s.grid);
        std::memcpy(s.axis, dAxisColor, sizeof s.axis);
        s.fringes = uiFringeNum;
        s.drawSelNum = Kor3DView::m_iDrawSelNum;
        return s;
    }
    void Restore() const
    {
        std::memcpy(fBckClrRsView, rs, sizeof rs);
        std::memcpy(fBckClrMdView, md, sizeof md);
        std::memcpy(glcTextClr, text, sizeof text);
        std::memcpy(dMaterialColor, material, sizeof material);
        std::memcpy(dGridColor, grid, sizeof grid);
        std::memcpy(dAxisColor, axis, sizeof axis);
        uiFringeNum = fringes;
        Kor3DView::m_iDrawSelNum = drawSelNum;
    }
    bool operator==(const DrawingSettings& o) const
    {
        return std::memcmp(rs, o.rs, sizeof rs) == 0 && std::memcmp(md, o.md, sizeof md) == 0 &&
               std::memcmp(text, o.text, sizeof text) == 0 &&
               std::memcmp(material, o.material, sizeof material) == 0 &&
               std::memcmp(grid, o.grid, sizeof grid) == 0 &&
               std::memcmp(axis, o.axis, sizeof axis) == 0 && fringes == o.fringes &&
               drawSelNum == o.drawSelNum;
    }
};

class ViewOptions : public UnitsCommand
{
protected:
    void SetUp() override
    {
        m_drawing = DrawingSettings::Now();
        // The user's palette folder lies in a folder of the test's own.
        std::string pattern = ::testing::TempDir() + "viewoptions_XXXXXX";
        m_data = mkdtemp(pattern.data()) ? pattern : std::string();
        const char* saved = std::getenv("XDG_DATA_HOME");
        m_savedData = saved ? std::optional<std::string>(saved) : std::nullopt;
        setenv("XDG_DATA_HOME", m_data.c_str(), 1);
        UnitsCommand::SetUp();
    }
    void TearDown() override
    {
        m_drawing.Restore();
        UnitsCommand::TearDown();
        if (m_savedData)
            setenv("XDG_DATA_HOME", m_savedData->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_data, ignored);
    }
    // Runs the sheet with step driving it.
    void Run(std::function<void(DialogDriver&, CPropertySheet&)> step)
    {
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& dlg) {
            step(d, static_cast<CPropertySheet&>(dlg));
        });
        frame->SendMessage(WM_COMMAND, ID_COLOR_OPTIONS);
    }
    DrawingSettings m_drawing{};
    std::string m_data;
    std::optional<std::string> m_savedData;
};

TEST_F(ViewOptions, ShowsScreenLightAndColourScalePagesWithThePaletteFolder)
{
    Run([&](DialogDriver& d, CPropertySheet& sheet) {
        EXPECT_EQ(sheet.GetTitle(), "View Options");
        ASSERT_EQ(sheet.GetPageCount(), 3);
        EXPECT_EQ(sheet.GetPage(0)->GetTitle(), "Screen-options");
        EXPECT_NE(dynamic_cast<KorPPLight*>(sheet.GetPage(1)), nullptr);
        auto* scale = dynamic_cast<KorPPColorScale*>(sheet.GetPage(2));
        ASSERT_NE(scale, nullptr);
        const CString folder = dynamic_cast<KorApp*>(AfxGetApp()) &&
                                       !static_cast<KorApp*>(AfxGetApp())->m_strAppDir.IsEmpty()
                                   ? static_cast<KorApp*>(AfxGetApp())->m_strAppDir
                                   : CString("./");
        // The dialogs start in the program's palette folder while it can be
        // written, else in the user's; both are offered.
        const CString user = CString(m_data.c_str()) + "/Vornetic/Ext/Palettes/";
        const bool programWritable = access(folder + "Ext/Palettes", W_OK) == 0;
        EXPECT_EQ(scale->m_strDirectory, programWritable ? folder + "Ext/Palettes/" : user);
        EXPECT_EQ(scale->m_places, (std::vector<CString>{folder + "Ext/Palettes/", user}));
        d.PressCancel();
    });
}

TEST_F(ViewOptions, RestoringDefaultsThenCancelLeavesTheDrawingSettings)
{
    const DrawingSettings before = DrawingSettings::Now();
    Run([](DialogDriver& d, CPropertySheet&) {
        d.Click(CDlgColorOpt::IDC_RESTORE);
        EXPECT_EQ(d.Text(CDlgColorOpt::IDC_CONTOURS), "20");
        d.PressCancel();
    });
    EXPECT_TRUE(DrawingSettings::Now() == before);
}

TEST_F(ViewOptions, OutOfRangeNumbersAreRefusedAndWriteNothing)
{
    struct Case {
        int nID;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {CDlgColorOpt::IDC_OPACITY, "101", "Please enter a number between 0 and 100."},
        {CDlgColorOpt::IDC_CONTOURS, "0", "Please enter an integer between 1 and 256."},
        {CDlgColorOpt::IDC_CONTOURS, "300", "Please enter an integer between 1 and 256."},
    };
    for (const Case& c : cases) {
        const DrawingSettings before = DrawingSettings::Now();
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog&) {
            d.Type(c.nID, c.typed);
            d.PressOK();
            d.PressCancel();
        });
        script.MessageBox(c.message);
        frame->SendMessage(WM_COMMAND, ID_COLOR_OPTIONS);
        EXPECT_TRUE(DrawingSettings::Now() == before) << c.typed;
    }
}

// An opacity stored from a float shows in float precision, and OK on an
// untouched field keeps the stored value bit for bit; a typed one is taken.
TEST_F(ViewOptions, OpacityShowsInItsStoredPrecisionAndKeepsItUntouched)
{
    struct Case {
        double stored;
        const char* shown;
        const char* typed; // null: untouched
        double written;
    };
    const Case cases[] = {
        {static_cast<double>(0.7f), "70", nullptr, static_cast<double>(0.7f)},
        {0.57, "57", nullptr, 0.57},
        {static_cast<double>(0.3f), "30", "70", 0.7},
        {0.123456789, "12.3456789", nullptr, 0.123456789},
    };
    for (const Case& c : cases) {
        dMaterialColor[3] = c.stored;
        Run([&](DialogDriver& d, CPropertySheet&) {
            EXPECT_EQ(d.Text(CDlgColorOpt::IDC_OPACITY), c.shown) << c.stored;
            if (c.typed)
                d.Type(CDlgColorOpt::IDC_OPACITY, c.typed);
            d.PressOK();
        });
        if (c.typed) {
            EXPECT_DOUBLE_EQ(dMaterialColor[3], c.written) << c.stored;
        } else {
            EXPECT_EQ(dMaterialColor[3], c.written) << c.stored; // bit for bit
        }
    }
}

TEST_F(ViewOptions, ApplyWritesColoursOpacityContoursAndTheSwitch)
{
    struct Case {
        int drawSelNum;
        int ticked;   // the check as the page opens
        bool untick;  // the user clicks the check
        int written;  // the switch after Apply
    };
    for (const Case c : {Case{2, 0, false, 2}, Case{0, 1, false, 0}, Case{0, 1, true, 2},
                         Case{5, 0, true, 0}}) {
        Kor3DView::m_iDrawSelNum = c.drawSelNum;
        Run([&](DialogDriver& d, CPropertySheet&) {
            EXPECT_EQ(d.Check(CDlgColorOpt::IDC_STRESS_OUTPUT), c.ticked) << c.drawSelNum;
            if (c.untick)
                d.Click(CDlgColorOpt::IDC_STRESS_OUTPUT);
            d.ChooseColor(CDlgColorOpt::IDC_RESULT_BACK, RGB(255, 0, 51));
            d.ChooseColor(CDlgColorOpt::IDC_SURFACE, RGB(0, 255, 0));
            d.ChooseColor(CDlgColorOpt::IDC_AXIS, RGB(0, 0, 255));
            d.ChooseColor(CDlgColorOpt::IDC_TEXT, RGB(255, 255, 0));
            d.Type(CDlgColorOpt::IDC_OPACITY, "30");
            d.Type(CDlgColorOpt::IDC_CONTOURS, "12");
            d.PressOK();
        });
        EXPECT_EQ(Kor3DView::m_iDrawSelNum, c.written) << c.drawSelNum;
        EXPECT_FLOAT_EQ(fBckClrRsView[0], 1.0f);
        EXPECT_FLOAT_EQ(fBckClrRsView[2], 0.2f);
        EXPECT_FLOAT_EQ(fBckClrRsView[3], 0.0f);
        EXPECT_FLOAT_EQ(fBckClrMdView[3], 0.0f);
        EXPECT_DOUBLE_EQ(dMaterialColor[1], 1.0);
        EXPECT_DOUBLE_EQ(dMaterialColor[3], 0.3);
        EXPECT_DOUBLE_EQ(dAxisColor[2], 1.0);
        EXPECT_DOUBLE_EQ(dAxisColor[3], 1.0);
        EXPECT_DOUBLE_EQ(dGridColor[3], 1.0);
        EXPECT_FLOAT_EQ(glcTextClr[0], 1.0f);
        EXPECT_FLOAT_EQ(glcTextClr[2], 0.0f);
        EXPECT_EQ(uiFringeNum, 12u);
    }
}

} // namespace

// The program's main frame: its toolbars and groups, the combos, the
// thickness list (typed, selected, in the settings archive), the grid and
// thickness sheet, the view-mode switch, the child-frame switches, the user
// manual, and the refresh a plate document gives it when it becomes active.
#include <cstring>
#include <string>
#include <vector>

#include "platform/dimvor/units.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/ui_lists.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using afxui::headless::ToolbarCombo;

constexpr int kItems = KorPPNumListEdit::IDC_ITEMS;

// The values' bytes, one after the other.
template <class T> Bytes Values(std::initializer_list<T> values)
{
    Bytes bytes;
    for (T value : values) {
        const auto* p = reinterpret_cast<const BYTE*>(&value);
        bytes.insert(bytes.end(), p, p + sizeof value);
    }
    return bytes;
}

Bytes Doubles(std::initializer_list<double> values)
{
    return Values(values);
}

Bytes Dwords(std::initializer_list<DWORD> values)
{
    return Values(values);
}

std::vector<CString> Names(const CStringArray& list)
{
    std::vector<CString> names;
    for (int i = 0; i < list.GetSize(); ++i)
        names.push_back(list.GetAt(i));
    return names;
}

// Replaces the lines of a number-list page, as a user would.
void TypeLines(DialogDriver& d, CWnd& page, const std::vector<CString>& lines)
{
    brantel::test::TypeEditorLines(d, page, kItems, lines);
}

class MainFrame : public ShellTest
{
protected:
    void SetUp() override
    {
        m_standard = iStandard;
        m_inchUnit = iConv[1][0][0];
        m_settings = KorChildFrm::m_uiStChldFrmSett;
        iStandard = 0;
        MakeFrame();
    }
    void TearDown() override
    {
        DestroyFrame();
        iStandard = m_standard;
        iConv[1][0][0] = m_inchUnit;
        KorChildFrm::m_uiStChldFrmSett = m_settings;
        ShellTest::TearDown();
    }
    void MakeFrame()
    {
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    }
    void DestroyFrame()
    {
        if (frame && frame->GetSafeHwnd())
            frame->DestroyWindow();
        frame = nullptr;
    }
    CComboBox& Combo(UINT id)
    {
        CComboBox* combo = frame->GetToolbarCombo(id);
        EXPECT_NE(combo, nullptr) << id;
        return *combo;
    }
    std::vector<CString> Entries(UINT id) { return brantel::test::ComboTexts(&Combo(id)); }
    CString Selected(UINT id)
    {
        CComboBox& combo = Combo(id);
        CString text;
        if (combo.GetCurSel() >= 0)
            combo.GetLBText(combo.GetCurSel(), text);
        return text;
    }
    void TypeThickness(const CString& text)
    {
        ToolbarCombo(*frame->GetToolBarManager(), ID_ACTIVE_THICKNESS).UserEnter(text);
    }
    void SetThicknesses(std::initializer_list<double> values, double current)
    {
        std::fill(std::begin(frame->m_dThickness), std::end(frame->m_dThickness), -1.0);
        std::copy(values.begin(), values.end(), frame->m_dThickness);
        frame->m_dActThickness = current;
    }
    Bytes StoreSettings()
    {
        return brantel::test::storeBytes<Bytes>([&](CArchive& ar) { frame->InitFrame(ar); });
    }
    void LoadSettings(const Bytes& bytes)
    {
        brantel::test::loadBytes(bytes, [&](CArchive& ar) { frame->InitFrame(ar); });
    }
    // The framework's part: word 0, workbook mode, one grid spacing 100.
    static Bytes FrameworkPart() { return Dwords({0, 1}) + Doubles({100.0, 0.0}); }

    CMainFrame* frame = nullptr; // deletes itself
    int m_standard = 0;
    int m_inchUnit = 0;
    UINT m_settings = 0;
};

// ---- Construction, toolbars, groups and combos -----------------------------------

TEST_F(MainFrame, StartsWithTheThicknessOfTheUnitSystemAndItsFilterNames)
{
    struct Case {
        int standard;
        double first;
    };
    for (const Case c : {Case{0, 100.0}, Case{1, 5.08}}) {
        iStandard = c.standard;
        CMainFrame made;
        EXPECT_EQ(made.m_dThickness[0], c.first) << c.standard;
        for (int i = 1; i < CMainFrame::kMaxListValues; ++i)
            EXPECT_EQ(made.m_dThickness[i], -1.0) << c.standard << " " << i;
        EXPECT_EQ(made.m_dActThickness, c.first);
        EXPECT_EQ(made.m_pCoordDlg->m_strUnit, UnitString(c.standard, kUnitLength, iConv[c.standard][0][0]));
        ASSERT_NE(made.m_pFilterNames, nullptr);
        EXPECT_EQ(Names(*made.m_pFilterNames),
                  (std::vector<CString>{"Nodes", "Edges", "Regions", "All"}));
    }
}

TEST_F(MainFrame, DefinesEightToolbarsAfterTheFrameworksOnes)
{
    struct Row {
        const char* title;
        UINT resource;
        DWORD align;
        UINT dockBar;
        UINT nextTo;
        BOOL shown;
        std::vector<UINT> buttons;
    };
    const UINT b = 59401;
    const Row rows[] = {
        {"Calculations", 27002, 0xA000, 0xE81B, 0, TRUE,
         {32853, 0, 50068, 50069, 0, 34032, 50072, 0, 50070, 50071, 0, 34034}},
        {"Geometric objects", 600, 0xF000, 0xE81D, b, TRUE,
         {32785, 0, 32773, 32775, 32777, 32813, 32772, 34076}},
        {"Active material", 609, 0xA000, 0xE81B, b - 1, TRUE, {32797}},
        {"Active thickness", 613, 0xA000, 0xE81B, b + 2, TRUE, {32799}},
        {"Result view tools", 611, 0xA000, 0xE81B, 59397, TRUE,
         {50114, 0, 32844, 0, 32806, 32807, 32820}},
        {"Object modification-tools", 620, 0xF000, 0xE81D, b + 1, TRUE, {33013, 33012, 32920}},
        {"Clip-plane tools", 27016, 0xF000, 0xE81B, 0, FALSE,
         {50056, 50057, 50058, 50059, 0, 50060, 50061, 50062, 50063}},
        {"Extrude-tools", 27018, 0xF000, 0xE81B, 0, FALSE, {34033, 0, 34073, 34074, 0, 32845}},
    };
    // The fixture's frame is the profile's first start.
    const auto& bars = frame->GetToolBarManager()->GetToolBars();
    ASSERT_EQ(bars.size(), 6u + std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const AfxToolBarDef& bar = bars[6 + i];
        EXPECT_EQ(bar.nBarID, b + i) << row.title;
        EXPECT_EQ(bar.strTitle, row.title);
        EXPECT_EQ(bar.nIDResource, row.resource) << row.title;
        EXPECT_EQ(bar.dwAlignStyle, row.align) << row.title;
        EXPECT_EQ(bar.nDockBarID, row.dockBar) << row.title;
        EXPECT_EQ(bar.nNextTo, row.nextTo) << row.title;
        EXPECT_EQ(bar.bDocked, row.shown) << row.title;
        EXPECT_EQ(bar.bVisible, row.shown) << row.title;
        EXPECT_TRUE(bar.bFirstRun) << row.title;
        EXPECT_EQ(bar.buttons, row.buttons) << row.title;
        EXPECT_EQ(frame->m_pBtnIDs[i], row.buttons) << row.title;
        EXPECT_EQ(frame->m_nBtnCount[i], row.buttons.size()) << row.title;
    }
    EXPECT_EQ(frame->m_nThicknessBarID, b + 3);

    // A later start: every bar loose and hidden, "Calculations" anywhere on
    // the right, for the saved bar state to place.
    CToolBarManager later(frame);
    EXPECT_EQ(frame->DefineToolbars(&later, false), int(b + 8));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const AfxToolBarDef& bar = later.GetToolBars()[6 + i];
        EXPECT_EQ(bar.nNextTo, 0u) << rows[i].title;
        EXPECT_FALSE(bar.bDocked) << rows[i].title;
        EXPECT_FALSE(bar.bVisible) << rows[i].title;
        EXPECT_EQ(bar.dwAlignStyle, i == 0 ? 0xF000u : rows[i].align) << rows[i].title;
        EXPECT_EQ(bar.nDockBarID, i == 0 ? 0xE81Du : rows[i].dockBar) << rows[i].title;
    }
    EXPECT_EQ(frame->m_nThicknessBarID, b + 3);
}

TEST_F(MainFrame, ButtonGroupsFollowTheFrameworksWithoutTheComboBars)
{
    KorToolBarCmdPage page;
    frame->DefineBtnGroup(page);
    std::vector<CString> names;
    for (const auto& group : page.GetGroups())
        names.push_back(group.strName);
    EXPECT_EQ(names, (std::vector<CString>{"File", "Zoom and positioning", "Color and light", "Edit",
                                           "Draw tools", "Imaging-tools", "Calculations",
                                           "Geometric objects", "Object modification-tools",
                                           "Clip-plane tools", "Extrude-tools",
                                           "Result view tools", "Menu"}));
    EXPECT_EQ(page.GetGroups()[11].buttons, frame->m_pBtnIDs[4]);
    EXPECT_EQ(page.GetGroups()[8].buttons, (std::vector<UINT>{33013, 33012, 32920}));
}

TEST_F(MainFrame, CustomizeListsEveryToolbarAndTheProgramsGroups)
{
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& sheet) {
        auto& custom = dynamic_cast<KorCustomizeSheet&>(sheet);
        // All fourteen bars can be chosen, the two hidden ones unchecked.
        for (int i = 0; i < 14; ++i)
            EXPECT_TRUE(d.Visible(KorToolBarsPage::IDC_FIRST_BAR + i)) << i;
        EXPECT_EQ(d.Text(KorToolBarsPage::IDC_FIRST_BAR + 13), "Extrude-tools");
        EXPECT_EQ(d.Check(KorToolBarsPage::IDC_FIRST_BAR + 12), 0);
        EXPECT_EQ(d.Check(KorToolBarsPage::IDC_FIRST_BAR + 11), 1);
        EXPECT_FALSE(d.Visible(KorToolBarsPage::IDC_FIRST_BAR + 14));
        const auto& groups = custom.m_commandsPage.GetGroups();
        ASSERT_EQ(groups.size(), 13u);
        EXPECT_EQ(groups[6].strName, "Calculations");
        d.PressCancel();
    });
    frame->SendCommand(ID_KOR_CUSTOMIZE);
    EXPECT_EQ(script.Taken(), 1);
}

// Whether the toolbar of that id shows.
bool Shows(CMainFrame& frame, UINT barID)
{
    const CToolBar* bar = frame.GetToolBarManager()->GetToolBar(barID);
    return bar && bar->GetSafeHwnd() && (bar->GetStyle() & WS_VISIBLE) != 0;
}

TEST_F(MainFrame, CustomizeShowsAndHidesTheChosenToolbars)
{
    constexpr UINT calculations = 59401, extrude = 59408;
    ASSERT_TRUE(Shows(*frame, calculations));
    ASSERT_FALSE(Shows(*frame, extrude));
    for (int answer : {IDCANCEL, IDOK}) {
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog&) {
            d.Click(KorToolBarsPage::IDC_FIRST_BAR + 6);
            d.Click(KorToolBarsPage::IDC_FIRST_BAR + 13);
            d.Click(answer);
        });
        frame->SendCommand(ID_KOR_CUSTOMIZE);
        EXPECT_EQ(Shows(*frame, calculations), answer == IDCANCEL) << answer;
        EXPECT_EQ(Shows(*frame, extrude), answer == IDOK) << answer;
    }
}

TEST_F(MainFrame, TheToolbarStateReturnsAtTheNextStart)
{
    constexpr UINT geometric = 59402, extrude = 59408;
    CToolBarManager* manager = frame->GetToolBarManager();
    frame->ShowControlBar(manager->GetToolBar(geometric), FALSE, FALSE);
    frame->ShowControlBar(manager->GetToolBar(extrude), TRUE, FALSE);
    DestroyFrame();
    const CString visible = AfxGetProfileString("brantel", "Visible", "");
    EXPECT_NE(visible.Find("59402=0"), -1) << visible.GetString();
    EXPECT_NE(visible.Find("59408=1"), -1) << visible.GetString();

    // A later start defines the bars hidden; the saved state shows them.
    MakeFrame();
    EXPECT_FALSE(frame->GetToolBarManager()->GetToolBars().back().bFirstRun);
    for (UINT id = 59401; id <= extrude; ++id)
        EXPECT_EQ(Shows(*frame, id), id != geometric && id != 59407) << id;
}

TEST_F(MainFrame, CombosHaveTheirStyleWidthAndFirstContents)
{
    struct Row {
        UINT id;
        DWORD style;
        int width;
    };
    const Row rows[] = {
        {32853, CBS_DROPDOWNLIST, 90},  {50008, CBS_DROPDOWNLIST, 150},
        {32797, CBS_DROPDOWNLIST, 150}, {50114, CBS_DROPDOWNLIST, 180},
        {32799, CBS_DROPDOWN, 100},     {50002, CBS_DROPDOWN, 100},
    };
    for (const Row& row : rows) {
        CComboBox& combo = Combo(row.id);
        EXPECT_EQ(combo.GetStyle() & 3u, row.style) << row.id;
        CRect rect;
        combo.GetWindowRect(rect);
        EXPECT_EQ(rect.Width(), row.width) << row.id;
    }
    // Made: the thickness combo shows the current thickness.
    EXPECT_EQ(Entries(ID_ACTIVE_THICKNESS), (std::vector<CString>{"100"}));
    EXPECT_EQ(Combo(ID_ACTIVE_THICKNESS).GetCurSel(), 0);

    // Started without settings: the lists and combos are filled.
    frame->InitFrame();
    EXPECT_EQ(Entries(ID_VIEW_MODE), (std::vector<CString>{"Model", "Results", "Mesh"}));
    EXPECT_EQ(Combo(ID_VIEW_MODE).GetCurSel(), 0);
    EXPECT_EQ(Entries(ID_KOR_SELFILTER), (std::vector<CString>{"Nodes", "Edges", "Regions", "All"}));
    EXPECT_EQ(Entries(ID_ACTIVE_MATERIAL), (std::vector<CString>{"NONE"}));
    EXPECT_EQ(Entries(ID_RESULT_COMPONENT), (std::vector<CString>{"NONE"}));
    EXPECT_EQ(Entries(ID_ACTIVE_THICKNESS), (std::vector<CString>{"100"}));
    EXPECT_EQ(Selected(ID_ACTIVE_THICKNESS), "100");
    EXPECT_EQ(Names(g_arThickPlateResults),
              (std::vector<CString>{"Mx", "My", "Mxy", "Vx", "Vy", "w", "w,x", "w,y", "Rz", "M_1",
                                    "M_2"}));
    EXPECT_EQ(Names(g_arThinPlateResults),
              (std::vector<CString>{"Mx", "My", "Mxy", "w", "w,x", "w,y", "Rz", "M_1", "M_2"}));
    EXPECT_EQ(Names(g_arMembraneResults),
              (std::vector<CString>{"Sigma x", "Sigma y", "Tau xy", "u", "v", "R_x", "R_y",
                                    "Sigma_1", "Sigma_2", "Eff. stress", "Distorted model"}));
    // Filled once: a second start adds nothing.
    frame->InitFrame();
    EXPECT_EQ(g_arThickPlateResults.GetSize(), 11);
}

TEST_F(MainFrame, MaterialAndResultRefillsShowNoneForNothingAndFallBackToTheFirstEntry)
{
    CMaterial steel("Steel", 7.85e-06, 210000.0, 0.0, 0.3, 1.2e-05);
    CMaterial wood("Wood", 5e-07, 11000.0, 0.0, 0.3, 5e-06);
    CMaterial other("Other", 1.0, 1.0, 0.0, 0.3, 0.0);
    CObList materials;
    materials.AddTail(&steel);
    materials.AddTail(&wood);
    CObList empty;

    struct Case {
        CObList* list;
        CMaterial* active;
        std::vector<CString> entries;
        int sel;
    };
    const Case cases[] = {
        {&materials, &wood, {"Steel", "Wood"}, 1},
        {&materials, &other, {"Steel", "Wood"}, 0},
        {&materials, nullptr, {"Steel", "Wood"}, 0},
        {&empty, &wood, {"NONE"}, 0},
        {nullptr, nullptr, {"NONE"}, 0},
    };
    for (const Case& c : cases) {
        frame->UpdateMaterialList(c.list, c.active);
        EXPECT_EQ(Entries(ID_ACTIVE_MATERIAL), c.entries);
        EXPECT_EQ(Combo(ID_ACTIVE_MATERIAL).GetCurSel(), c.sel);
    }

    frame->InitFrame();
    CStringArray none;
    for (CStringArray* names : {static_cast<CStringArray*>(nullptr), &none}) {
        frame->m_pListNames = names;
        frame->UpdateResultList(3);
        EXPECT_EQ(Entries(ID_RESULT_COMPONENT), (std::vector<CString>{"NONE"}));
        EXPECT_EQ(Combo(ID_RESULT_COMPONENT).GetCurSel(), 0);
    }
    frame->m_pListNames = &g_arThinPlateResults;
    frame->UpdateResultList(3);
    EXPECT_EQ(Entries(ID_RESULT_COMPONENT).size(), 9u);
    EXPECT_EQ(Selected(ID_RESULT_COMPONENT), "w");
}

// ---- The thickness combo -----------------------------------------------------------

TEST_F(MainFrame, TypedThicknessesAreCheckedSelectedOrAppended)
{
    frame->InitFrame();
    SetThicknesses({100.0, 50.0}, 100.0);
    frame->UpdateThicknessList();

    struct Case {
        const char* typed;
        const char* box; // expected message, or null
        std::vector<CString> entries;
        const char* selected;
        double current;
    };
    const Case cases[] = {
        {"0", "You must enter a positive number", {"100", "50"}, "100", 100.0},
        {"abc", "You must enter a positive number", {"100", "50"}, "100", 100.0},
        {"-3", "You must enter a positive number", {"100", "50"}, "100", 100.0},
        {"", nullptr, {"100", "50"}, "100", 100.0},
        {"50", nullptr, {"100", "50"}, "50", 50.0},
        {"12.5", nullptr, {"100", "50", "12.5"}, "12.5", 12.5},
    };
    for (const Case& c : cases) {
        if (c.box)
            Boxes().Expect(c.box);
        TypeThickness(c.typed);
        EXPECT_EQ(Entries(ID_ACTIVE_THICKNESS), c.entries) << c.typed;
        EXPECT_EQ(Selected(ID_ACTIVE_THICKNESS), c.selected) << c.typed;
        EXPECT_EQ(frame->m_dActThickness, c.current) << c.typed;
    }
    EXPECT_EQ(frame->m_dThickness[2], 12.5);
    EXPECT_EQ(frame->m_dThickness[3], -1.0);
}

TEST_F(MainFrame, AnEleventhThicknessDropsTheOldest)
{
    frame->InitFrame();
    SetThicknesses({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1.0);
    frame->UpdateThicknessList();
    TypeThickness("11");
    const std::vector<CString> entries = Entries(ID_ACTIVE_THICKNESS);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.front(), "2");
    EXPECT_EQ(entries.back(), "11");
    EXPECT_EQ(Combo(ID_ACTIVE_THICKNESS).GetCurSel(), 9);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(frame->m_dThickness[i], i + 2.0) << i;
    EXPECT_EQ(frame->m_dActThickness, 11.0);
}

TEST_F(MainFrame, ThicknessesAreShownAndTypedInInchesUnderUsImperial)
{
    iStandard = 1;
    iConv[1][0][0] = 0; // inches, shown with three decimals
    frame->InitFrame();
    SetThicknesses({25.4}, 25.4);
    frame->UpdateThicknessList();
    EXPECT_EQ(Entries(ID_ACTIVE_THICKNESS), (std::vector<CString>{"1.000"}));
    TypeThickness("2");
    EXPECT_EQ(Entries(ID_ACTIVE_THICKNESS), (std::vector<CString>{"1.000", "2.000"}));
    EXPECT_DOUBLE_EQ(frame->m_dThickness[1], 50.8);
    EXPECT_DOUBLE_EQ(frame->m_dActThickness, 50.8);
    TypeThickness("1");
    EXPECT_EQ(Selected(ID_ACTIVE_THICKNESS), "1.000");
    EXPECT_DOUBLE_EQ(frame->m_dActThickness, 25.4);
}

TEST_F(MainFrame, SelectingAThicknessMakesItCurrent)
{
    frame->InitFrame();
    SetThicknesses({100.0, 50.0, 20.0}, 100.0);
    frame->UpdateThicknessList();
    ToolbarCombo(*frame->GetToolBarManager(), ID_ACTIVE_THICKNESS).UserSelect(2);
    EXPECT_EQ(frame->m_dActThickness, 20.0);
    // No selection keeps the current thickness.
    Combo(ID_ACTIVE_THICKNESS).SetCurSel(-1);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_ACTIVE_THICKNESS, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Combo(ID_ACTIVE_THICKNESS).GetSafeHwnd()));
    EXPECT_EQ(frame->m_dActThickness, 20.0);
}

// ---- Settings archive --------------------------------------------------------------

TEST_F(MainFrame, TheThicknessListFollowsTheFrameworksPartOfTheSettings)
{
    SetThicknesses({50.0, 120.0}, 120.0);
    const Bytes stored = StoreSettings();
    const Bytes own = Doubles({50.0, 120.0, -1.0});
    ASSERT_GT(stored.size(), own.size());
    EXPECT_EQ(Bytes(stored.end() - long(own.size()), stored.end()), own);
    EXPECT_EQ(Bytes(stored.begin(), stored.end() - long(own.size())), FrameworkPart());

    // Read back by a fresh frame.
    DestroyFrame();
    MakeFrame();
    LoadSettings(stored);
    EXPECT_EQ(frame->m_dActThickness, 120.0);
    EXPECT_EQ(Entries(ID_ACTIVE_THICKNESS), (std::vector<CString>{"50", "120"}));
    EXPECT_EQ(Selected(ID_ACTIVE_THICKNESS), "120");
    EXPECT_EQ(Entries(ID_VIEW_MODE), (std::vector<CString>{"Model", "Results", "Mesh"}));
    EXPECT_EQ(Entries(ID_ACTIVE_MATERIAL), (std::vector<CString>{"NONE"}));
    EXPECT_EQ(g_arMembraneResults.GetSize(), 11);

    // A current thickness that is none of the list: 0.0, and entry 0 next time.
    SetThicknesses({50.0, 120.0}, 75.0);
    const Bytes unlisted = StoreSettings();
    EXPECT_EQ(Bytes(unlisted.end() - 24, unlisted.end()), Doubles({50.0, 120.0, 0.0}));
    LoadSettings(unlisted);
    EXPECT_EQ(frame->m_dActThickness, 50.0);
    EXPECT_EQ(Selected(ID_ACTIVE_THICKNESS), "50");
}

TEST_F(MainFrame, ADamagedThicknessListStaysWithinItsTenEntries)
{
    struct Case {
        const char* name;
        std::vector<double> values; // the positive run and its terminator
        std::vector<double> kept;
        double current;
    };
    std::vector<double> twelve;
    for (int i = 1; i <= 12; ++i)
        twelve.push_back(i);
    twelve.push_back(-11.0);
    const Case cases[] = {
        {"twelve values", twelve, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1.0},
        {"terminator past those read", {7.0, 8.0, -5.0}, {7.0, 8.0}, 7.0},
        {"positive-index terminator", {7.0, 8.0, -1e300}, {7.0, 8.0}, 7.0},
        {"fractional terminator", {7.0, 8.0, 9.0, -1.5}, {7.0, 8.0, 9.0}, 8.0},
    };
    for (const Case& c : cases) {
        Bytes bytes = FrameworkPart();
        for (double value : c.values)
            bytes = bytes + Doubles({value});
        // What follows in the archive is read in step.
        bytes = bytes + Dwords({0xCAFE});
        DWORD after = 0;
        brantel::test::loadBytes(bytes, [&](CArchive& ar) {
            frame->InitFrame(ar);
            ar >> after;
        });
        EXPECT_EQ(after, 0xCAFEu) << c.name;
        for (std::size_t i = 0; i < c.kept.size(); ++i)
            EXPECT_EQ(frame->m_dThickness[i], c.kept[i]) << c.name << " " << i;
        EXPECT_EQ(frame->m_dActThickness, c.current) << c.name;
    }
}

TEST_F(MainFrame, AShortThicknessListThrowsAndChangesNothing)
{
    SetThicknesses({100.0}, 100.0);
    const Bytes bytes = FrameworkPart() + Doubles({30.0, 40.0});
    EXPECT_ANY_THROW(LoadSettings(bytes));
    EXPECT_EQ(frame->m_dThickness[0], 100.0);
    EXPECT_EQ(frame->m_dThickness[1], -1.0);
    EXPECT_EQ(frame->m_dActThickness, 100.0);
}

// ---- Commands ---------------------------------------------------------------------

TEST_F(MainFrame, TheGridAndThicknessSheetTakesOverWhatItsPagesApplied)
{
    frame->InitFrame();
    SetThicknesses({100.0, 50.0, 20.0}, 50.0);
    struct Case {
        const char* name;
        std::vector<CString> grid, thickness;
        bool ok;
        std::vector<double> gridAfter, thicknessAfter;
    };
    const Case cases[] = {
        // Cancel writes nothing and nothing changes.
        {"cancel", {"7"}, {"3"}, false, {100.0, -1.0}, {100.0, 50.0, 20.0, -1.0}},
        {"ok", {"10", "20", "30"}, {"15", "25"}, true, {10.0, 20.0, 30.0, -1.0},
         {15.0, 25.0, -1.0}},
    };
    for (const Case& c : cases) {
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& dlg) {
            auto& sheet = static_cast<CPropertySheet&>(dlg);
            CString caption;
            sheet.GetWindowText(caption);
            EXPECT_EQ(caption, "Grid & Active thickness");
            ASSERT_EQ(sheet.GetPageCount(), 2);
            EXPECT_EQ(sheet.GetPage(0)->GetTitle(), "Grid Spacing");
            EXPECT_EQ(sheet.GetPage(1)->GetTitle(), "Section Thickness");
            TypeLines(d, *sheet.GetPage(0), c.grid);
            d.ActivatePage(1);
            TypeLines(d, *sheet.GetPage(1), c.thickness);
            if (c.ok)
                d.PressOK();
            else
                d.PressCancel();
        });
        frame->SendCommand(ID_GRID_THICKNESS);
        EXPECT_EQ(script.Taken(), 1) << c.name;
        for (std::size_t i = 0; i < c.gridAfter.size(); ++i)
            EXPECT_EQ(frame->m_dGridSpacing[i], c.gridAfter[i]) << c.name << " " << i;
        for (std::size_t i = 0; i < c.thicknessAfter.size(); ++i)
            EXPECT_EQ(frame->m_dThickness[i], c.thicknessAfter[i]) << c.name << " " << i;
        for (int i = int(c.gridAfter.size()); i < 10; ++i)
            EXPECT_EQ(frame->m_dGridSpacing[i], -1.0) << c.name << " " << i;
        for (int i = int(c.thicknessAfter.size()); i < 10; ++i)
            EXPECT_EQ(frame->m_dThickness[i], -1.0) << c.name << " " << i;
        EXPECT_EQ(frame->m_dCurGridSpacing, c.gridAfter[0]) << c.name;
        EXPECT_EQ(frame->m_dActThickness, c.ok ? c.thicknessAfter[0] : 50.0) << c.name;
    }
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE), (std::vector<CString>{"10", "20", "30"}));
    EXPECT_EQ(Selected(ID_ACTIVE_THICKNESS), "15");
}

TEST_F(MainFrame, SwitchViewModeSelectsTheModeEntry)
{
    frame->InitFrame();
    const std::pair<UINT, int> cases[] = {
        {ID_MODE_RESULTS, 1}, {ID_MODE_ELEMENTS, 2}, {ID_MODE_MODELLING, 0}, {ID_MODE_ELEMENTS, 2},
        {12345, 0},
    };
    // No child frame is active: only the combo follows.
    for (const auto& [id, index] : cases) {
        frame->SwitchViewMode(id);
        EXPECT_EQ(Combo(ID_VIEW_MODE).GetCurSel(), index) << id;
    }
}

TEST_F(MainFrame, AutoZoomAndAutoScaleToggleTheChildFrameBits)
{
    KorChildFrm::m_uiStChldFrmSett = 0x10;
    struct Step {
        UINT id;
        UINT bits;
    };
    const Step steps[] = {
        {ID_AUTO_ZOOM, 0x11}, {ID_AUTO_SCALE_RESULTS, 0x13}, {ID_AUTO_ZOOM, 0x12},
        {ID_AUTO_SCALE_RESULTS, 0x10},
    };
    for (const Step& step : steps) {
        frame->SendCommand(step.id);
        EXPECT_EQ(KorChildFrm::m_uiStChldFrmSett, step.bits) << step.id;
        EXPECT_EQ(AfxQueryCommandUI(frame, ID_AUTO_ZOOM).nCheck, (step.bits & 1) ? 1 : 0);
        EXPECT_EQ(AfxQueryCommandUI(frame, ID_AUTO_SCALE_RESULTS).nCheck, (step.bits & 2) ? 1 : 0);
    }
}

} // namespace

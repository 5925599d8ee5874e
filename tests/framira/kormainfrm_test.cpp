// The main frame: button groups, toolbars and their texts, the status bar,
// the filter and grid combos, the frame's part of the settings archive, the
// window keys and the frame's commands.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "framework/framira.h"
#include "tests/framira/file_bytes.h"
#include "tests/support/ui_lists.h"
#include "glview/oglcolorinfo.h"
#include "glview/oglrenderer.h"
#include "glview/oglview.h"
#include "platform/afx/numconv.h"
#include "platform/dimvor/units.h"
#include "platform/ui/headless/afxui_headless.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;
using afxui::headless::ToolbarCombo;
using framira_test::At;
using framira_test::Bytes;
using framira_test::ReadAll;
using framira_test::WriteAll;

constexpr UINT kFrameRes = 7128;
constexpr DWORD kMaximize = 0x01000000;

template <class T> void Append(Bytes& bytes, T value)
{
    const auto* p = reinterpret_cast<const unsigned char*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof value);
}

// A temporary file, removed at the end.
struct TempPath {
    TempPath() : path(::testing::TempDir() + "kormainfrm_" + std::to_string(getpid()) + ".bin") {}
    ~TempPath() { std::remove(path.c_str()); }
    std::string path;
};

// The main frame with a 2D view stand-in: it records the spacings it is
// given and enters typed points by adding the offset to its cursor.
class TestMainFrm : public KorMainFrm
{
public:
    std::vector<std::pair<double, bool>> snaps;
    std::vector<std::tuple<double, double, bool>> entered;
    bool hasView = true;
    double cursorX = 10.0, cursorY = 20.0;
    int workbookApplied = 0;

protected:
    void ApplyWorkbookMode() override
    {
        ++workbookApplied;
        KorMainFrm::ApplyWorkbookMode();
    }
    void ApplySnapSpace(double spacing, bool redraw) override
    {
        if (hasView)
            snaps.emplace_back(spacing, redraw);
    }
    bool EnterCoord2D(double& x, double& y, bool relative) override
    {
        if (!hasView)
            return false;
        entered.emplace_back(x, y, relative);
        if (relative) {
            x += cursorX;
            y += cursorY;
        }
        cursorX = x;
        cursorY = y;
        return true;
    }
};

class MainFrameTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        savedStandard = iStandard;
        savedUnit = iConv[1][0][0];
        savedAccel = COGLRenderer::bUseAccel;
        iStandard = 0;
        // Lengths shown as fixed-point numbers with three decimals.
        for (int system = 0; system < 2; ++system) {
            savedLengthFormat[system][0] = iConv[system][0][1];
            savedLengthFormat[system][1] = iConv[system][0][2];
            iConv[system][0][1] = 1;
            iConv[system][0][2] = 3;
        }
        MakeFrame();
    }
    void TearDown() override
    {
        if (frame && frame->GetSafeHwnd())
            frame->DestroyWindow();
        iStandard = savedStandard;
        iConv[1][0][0] = savedUnit;
        for (int system = 0; system < 2; ++system) {
            iConv[system][0][1] = savedLengthFormat[system][0];
            iConv[system][0][2] = savedLengthFormat[system][1];
        }
        COGLRenderer::bUseAccel = savedAccel;
        HeadlessApp::TearDown();
    }
    void MakeFrame()
    {
        frame = new TestMainFrm;
        ASSERT_TRUE(frame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW));
    }
    CComboBox& Combo(UINT id)
    {
        CComboBox* combo = frame->GetToolbarCombo(id);
        EXPECT_NE(combo, nullptr);
        return *combo;
    }
    std::vector<CString> Entries(UINT id) { return brantel::test::ComboTexts(&Combo(id)); }
    void TypeSpacing(const CString& text)
    {
        ToolbarCombo(*frame->GetToolBarManager(), ID_KOR_GRIDSPACE).UserEnter(text);
    }
    // The frame's part written to a file and read back as bytes.
    Bytes StoreFramePart()
    {
        {
            CFile file(temp.path.c_str(), CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store);
            frame->InitFrame(ar);
        }
        return ReadAll(temp.path);
    }
    void LoadFramePart(const Bytes& bytes)
    {
        WriteAll(temp.path, bytes);
        CFile file(temp.path.c_str(), CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        frame->InitFrame(ar);
    }

    TestMainFrm* frame = nullptr; // deletes itself
    TempPath temp;
    int savedStandard = 0;
    int savedUnit = 0;
    int savedLengthFormat[2][2] = {};
    bool savedAccel = true;
};

// ---- Button groups ------------------------------------------------------------------

TEST(KorButtonGroup, ReservedBarIdsBecomeTheFirstFreeOne)
{
    const std::pair<UINT, UINT> cases[] = {
        {0xE800, 0xE800}, {0xE801, 0xE804}, {0xE802, 0xE804},
        {0xE803, 0xE804}, {0xE804, 0xE804}, {0xE810, 0xE810},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(KorButtonGroup("g", 1, 0, 0, 0, given).GetID(), expected) << given;
}

TEST(KorButtonGroup, NewAppendsUpdatesByNameAndResolvesNextTo)
{
    KorButtonGroup head("A", 100, 0, 0xF000, AFX_IDW_DOCKBAR_TOP, 0xE800);
    // A new group follows the last id (past the reserved ones) and docks
    // next to the last group when asked for the previous one.
    EXPECT_TRUE(head.New("B", 200, KOR_NEXT_TO_PREVIOUS, 0xA000, AFX_IDW_DOCKBAR_TOP));
    KorButtonGroup* b = head.Find(200);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetID(), 0xE804u);
    EXPECT_EQ(b->m_nNextTo, 0xE800u);
    // A next-to naming a group's resource id becomes that group's bar id.
    EXPECT_TRUE(head.New("C", 300, 100, 0xF000, AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(head.Find(300)->GetID(), 0xE805u);
    EXPECT_EQ(head.Find(300)->m_nNextTo, 0xE800u);
    EXPECT_TRUE(head.New("D", 400, 0, 0xF000, AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(head.Find(400)->m_nNextTo, 0u);

    // The same name updates the group and adds nothing.
    EXPECT_FALSE(head.New("B", 250, KOR_NEXT_TO_PREVIOUS, 0x1000, AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(head.Find(200), nullptr);
    ASSERT_EQ(head.Find(250), b);
    EXPECT_EQ(b->m_nNextTo, 0xE800u); // the previous-group marker does not overwrite
    EXPECT_EQ(b->m_dwStyle, 0x1000u);
    EXPECT_EQ(b->m_nDockBarID, AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_EQ(b->GetID(), 0xE804u);
    EXPECT_FALSE(head.New("C", 300, 250, 0xF000, AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(head.Find(300)->m_nNextTo, 0xE804u); // B, resolved on the way
    EXPECT_EQ(head.Find(999), nullptr);
}

TEST_F(MainFrameTest, DefaultGroupsBecomeSixToolbarsAtTheTop)
{
    // The buttons are the library's toolbar resources, in the groups' order.
    struct Row {
        const char* name;
        UINT res, barID, nextTo;
        DWORD style;
    };
    const Row rows[] = {
        {"File", 128, 0xE800, 0, 0xF000},
        {"Zoom and positioning", 27008, 0xE804, 0xE800, 0xF000},
        {"Color and light", 27012, 0xE805, 0xE804, 0xF000},
        {"Edit", 27006, 0xE806, 0, 0xA000},
        {"Draw tools", 27004, 0xE807, 0xE806, 0xA000},
        {"Imaging-tools", 27010, 0xE808, 0xE807, 0xF000},
    };
    // The first start of this profile: marked, and the bars placed side by side.
    EXPECT_EQ(AfxGetProfileInt("Info", "I1.1", 0), 1u);
    const auto& bars = frame->GetToolBarManager()->GetToolBars();
    ASSERT_EQ(bars.size(), std::size(rows));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Row& row = rows[i];
        const AfxToolBarDef& bar = bars[i];
        EXPECT_EQ(bar.strTitle, row.name);
        EXPECT_EQ(bar.nIDResource, row.res) << row.name;
        EXPECT_EQ(bar.nBarID, row.barID) << row.name;
        EXPECT_EQ(bar.nNextTo, row.nextTo) << row.name;
        EXPECT_EQ(bar.dwAlignStyle, row.style) << row.name;
        EXPECT_EQ(bar.nDockBarID, AFX_IDW_DOCKBAR_TOP) << row.name;
        EXPECT_TRUE(bar.bFirstRun) << row.name;
        const AfxToolBar* resource = AfxFindResource<AfxToolBar>(row.res);
        ASSERT_NE(resource, nullptr) << row.name;
        ASSERT_FALSE(resource->buttons.empty()) << row.name;
        EXPECT_EQ(bar.buttons, resource->buttons) << row.name;
        const KorButtonGroup* group = frame->m_BtnGroups.Find(row.res);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->m_nCount, resource->buttons.size());
        EXPECT_EQ(group->m_pBtnIDs, resource->buttons);
    }
    EXPECT_EQ(frame->m_nDrawToolsBarID, 0xE807u);
    CToolBarManager other(frame);
    EXPECT_EQ(frame->DefineToolbars(&other, false), 59401);

    // A later start passes no next-to ids.
    frame->DestroyWindow();
    MakeFrame();
    for (const AfxToolBarDef& bar : frame->GetToolBarManager()->GetToolBars()) {
        EXPECT_EQ(bar.nNextTo, 0u) << bar.strTitle;
        EXPECT_FALSE(bar.bFirstRun);
    }
}

TEST_F(MainFrameTest, CommandTextsArePromptAndTooltip)
{
    // Every framework command on the toolbars has a one-line prompt and a
    // tooltip; the file group's 50015 is the programs' to name.
    int named = 0;
    for (const AfxToolBarDef& bar : frame->GetToolBarManager()->GetToolBars())
        for (UINT id : bar.buttons) {
            if (id < 50000 || id == 50015)
                continue;
            SCOPED_TRACE(id);
            CString prompt, tip;
            EXPECT_TRUE(AfxLoadCommandStrings(id, &prompt, &tip));
            EXPECT_FALSE(prompt.IsEmpty());
            EXPECT_FALSE(tip.IsEmpty());
            EXPECT_EQ(prompt.Find('\n'), -1);
            ++named;
        }
    EXPECT_GE(named, 26); // the six default groups at least
    CString prompt, tip;
    ASSERT_TRUE(AfxLoadCommandStrings(50022, &prompt, &tip));
    EXPECT_EQ(prompt, "Zoom dynamic");
    EXPECT_EQ(tip, "Zoom dynamic");
    // The prompt goes to the message pane while the button is pointed at.
    frame->ShowCommandPrompt(50002);
    EXPECT_EQ(frame->GetStatusBar()->GetPaneText(0), "Sets spacing of grid point");
    frame->ShowCommandPrompt(0);
    EXPECT_EQ(frame->GetStatusBar()->GetPaneText(0), "Ready");
}

TEST_F(MainFrameTest, StatusBarHasSevenPanesAndTheDrawingTime)
{
    CStatusBar* bar = frame->GetStatusBar();
    ASSERT_EQ(bar, &frame->GetStatusBarWnd());
    const UINT ids[] = {ID_SEPARATOR, 50033, 50035, 50035, 50034, ID_INDICATOR_CAPS,
                        ID_INDICATOR_NUM};
    ASSERT_EQ(bar->GetCount(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(bar->GetItemID(i), ids[i]) << i;
    EXPECT_EQ(bar->GetPaneText(4), "Drawing time:      0 ms (    0.0 fps)     ");
    EXPECT_EQ(bar->GetPaneText(5), "");
    EXPECT_EQ(bar->GetPaneText(6), "");
    // The log window is made and docked at the bottom, 100 high.
    EXPECT_TRUE(frame->GetLogWindow()->GetSafeHwnd());
    EXPECT_EQ(frame->GetLogWindow()->m_nDockBarID, AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(frame->GetLogWindow()->m_size.cy, 100);
}

// ---- Combos -------------------------------------------------------------------------

TEST_F(MainFrameTest, CombosHaveTheirStylesAndFilterFallsBackToNone)
{
    EXPECT_EQ(Combo(ID_KOR_SELFILTER).GetStyle() & 3u, UINT(CBS_DROPDOWNLIST));
    CRect rect;
    Combo(ID_KOR_SELFILTER).GetWindowRect(rect);
    EXPECT_EQ(rect.Width(), 150);
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetStyle() & 3u, UINT(CBS_DROPDOWN));
    Combo(ID_KOR_GRIDSPACE).GetWindowRect(rect);
    EXPECT_EQ(rect.Width(), 100);

    frame->UpdateSelFilter(); // no list
    EXPECT_EQ(Entries(ID_KOR_SELFILTER), std::vector<CString>{"NONE"});
    frame->m_pFilterNames = new CStringArray; // empty
    frame->UpdateSelFilter();
    EXPECT_EQ(Entries(ID_KOR_SELFILTER), std::vector<CString>{"NONE"});
    frame->m_pFilterNames->Add("Nodes");
    frame->m_pFilterNames->Add("Edges");
    frame->SetCurSelSelectFilter(1);
    frame->UpdateSelFilter();
    EXPECT_EQ(Entries(ID_KOR_SELFILTER), (std::vector<CString>{"Nodes", "Edges"}));
    EXPECT_EQ(Combo(ID_KOR_SELFILTER).GetCurSel(), 0);
    frame->SetCurSelSelectFilter(1);
    EXPECT_EQ(Combo(ID_KOR_SELFILTER).GetCurSel(), 1);
}

TEST_F(MainFrameTest, UpdateListButtonFillsOrShowsNone)
{
    CStringArray two;
    two.Add("a");
    two.Add("b");
    CStringArray none;
    struct Case {
        CStringArray* items;
        int sel;
        std::vector<CString> entries;
        int selected;
    };
    const Case cases[] = {
        {&two, 1, {"a", "b"}, 1},      {&two, -1, {"a", "b"}, -1}, {nullptr, -1, {"NONE"}, 0},
        {&none, -5, {"NONE"}, 0},      {&none, 0, {}, -1},
    };
    for (const Case& c : cases) {
        frame->UpdateListButton(ID_KOR_SELFILTER, c.items, c.sel);
        EXPECT_EQ(Entries(ID_KOR_SELFILTER), c.entries) << c.sel;
        EXPECT_EQ(Combo(ID_KOR_SELFILTER).GetCurSel(), c.selected) << c.sel;
    }
}

TEST_F(MainFrameTest, GridBoxShowsSpacingsInTheLengthUnit)
{
    // The combo's creation notice put in the current spacing.
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE), std::vector<CString>{"100.000"});
    const double spacings[] = {5.0, 10.0, 5.0, 20.0};
    for (int i = 0; i < 4; ++i)
        frame->m_dGridSpacing[i] = spacings[i];
    frame->m_dCurGridSpacing = 5.0;
    frame->UpdateGridList();
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE),
              (std::vector<CString>{"5.000", "10.000", "5.000", "20.000"}));
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCurSel(), 2); // the last equal one
    frame->m_dCurGridSpacing = 7.0;
    frame->UpdateGridList();
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCurSel(), 0); // none equal

    // Imperial inches: the texts are the spacings times the factor.
    iStandard = 1;
    iConv[1][0][0] = 0;
    frame->UpdateGridList();
    const double f = MetricToX(1, kUnitLength, 0);
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE)[1], AfxFormat("%.6f", 10.0 * f).c_str());
}

TEST_F(MainFrameTest, TypedSpacingsAreCheckedAddedAndApplied)
{
    frame->InitFrame();
    ASSERT_EQ(Entries(ID_KOR_GRIDSPACE), std::vector<CString>{"100.000"});
    frame->snaps.clear();

    for (const char* bad : {"0", "-3", "abc", "1e999", "inf"}) {
        Boxes().Expect("You must enter a positive number");
        TypeSpacing(bad);
        EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCurSel(), 0) << bad;
    }
    EXPECT_EQ(frame->m_dCurGridSpacing, 100.0);
    EXPECT_TRUE(frame->snaps.empty());

    TypeSpacing("25");
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE), (std::vector<CString>{"100.000", "25.000"}));
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCurSel(), 1);
    EXPECT_EQ(frame->m_dGridSpacing[1], 25.0);
    EXPECT_EQ(frame->m_dCurGridSpacing, 25.0);
    EXPECT_EQ(frame->snaps, (std::vector<std::pair<double, bool>>{{25.0, true}}));

    // Text already in the box selects it and adds nothing.
    TypeSpacing("100.000000");
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCount(), 2);
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCurSel(), 0);
    EXPECT_EQ(frame->m_dCurGridSpacing, 100.0);

    // Choosing an entry applies its spacing with redraw.
    ToolbarCombo(*frame->GetToolBarManager(), ID_KOR_GRIDSPACE).UserSelect(1);
    EXPECT_EQ(frame->m_dCurGridSpacing, 25.0);
    EXPECT_EQ(frame->snaps.back(), std::make_pair(25.0, true));

    // Without a 2D view only the box and the current spacing change.
    frame->hasView = false;
    frame->snaps.clear();
    TypeSpacing("30");
    EXPECT_EQ(frame->m_dCurGridSpacing, 30.0);
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCount(), 3);
    EXPECT_TRUE(frame->snaps.empty());
}

TEST_F(MainFrameTest, TheBoxKeepsTenSpacingsDroppingTheOldest)
{
    frame->InitFrame();
    for (int i = 1; i <= 10; ++i)
        TypeSpacing(AfxFormat("%d", i).c_str());
    // 100 and 1 .. 9 filled the box; 10 dropped 100.
    const std::vector<CString> entries = Entries(ID_KOR_GRIDSPACE);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.front(), "1.000");
    EXPECT_EQ(entries.back(), "10.000");
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(frame->m_dGridSpacing[i], i + 1.0) << i;
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCurSel(), 9);
    TypeSpacing("11");
    EXPECT_EQ(Combo(ID_KOR_GRIDSPACE).GetCount(), 10);
    EXPECT_EQ(frame->m_dGridSpacing[0], 2.0);
    EXPECT_EQ(frame->m_dGridSpacing[9], 11.0);
}

TEST_F(MainFrameTest, TypedSpacingInInchesIsStoredInMillimetres)
{
    iStandard = 1;
    iConv[1][0][0] = 0;
    const double f = MetricToX(1, kUnitLength, 0);
    frame->InitFrame();
    TypeSpacing("25");
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE).back(), "25.000");
    EXPECT_DOUBLE_EQ(frame->m_dCurGridSpacing, 25.0 / f);
    frame->UpdateGridList();
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE).back(), "25.000");
}

// ---- Settings archive ---------------------------------------------------------------

TEST_F(MainFrameTest, FramePartIsWorkbookFlagSpacingsAndTerminator)
{
    CWinApp app;
    frame->m_bWorkbookMode = 0;
    frame->m_dGridSpacing[0] = 100.0;
    frame->m_dGridSpacing[1] = 50.0;
    frame->m_dGridSpacing[2] = 25.0;
    frame->m_dGridSpacing[3] = 10.0;
    frame->m_dGridSpacing[4] = -1.0;
    frame->m_dGridSpacing[5] = 7.0; // after the end of the list: never written
    const std::pair<double, double> cases[] = {{100.0, 0.0}, {10.0, -3.0}, {33.0, 0.0}};
    for (const auto& [current, terminator] : cases) {
        frame->m_dCurGridSpacing = current;
        const Bytes bytes = StoreFramePart();
        ASSERT_EQ(bytes.size(), 8u + 5 * 8) << current;
        EXPECT_EQ(At<DWORD>(bytes, 0), 0u);
        EXPECT_EQ(At<DWORD>(bytes, 4), 0u);
        EXPECT_EQ(At<double>(bytes, 8 + 8), 50.0);
        EXPECT_EQ(At<double>(bytes, 8 + 32), terminator) << current;
    }
    EXPECT_EQ(app.m_nCmdShow, SW_SHOWNORMAL);
    frame->ModifyStyle(0, kMaximize);
    StoreFramePart();
    EXPECT_EQ(app.m_nCmdShow, SW_SHOWMAXIMIZED);

    // Reading applies the workbook mode first and picks the current spacing.
    frame->m_bWorkbookMode = 1;
    frame->m_dCurGridSpacing = 100.0;
    frame->workbookApplied = 0;
    frame->snaps.clear();
    Bytes bytes;
    Append<DWORD>(bytes, 0);
    Append<DWORD>(bytes, 0);
    Append(bytes, 40.0);
    Append(bytes, 30.0);
    Append(bytes, -1.0);
    LoadFramePart(bytes);
    EXPECT_EQ(frame->m_bWorkbookMode, 0);
    EXPECT_EQ(frame->workbookApplied, 1);
    EXPECT_EQ(frame->m_dCurGridSpacing, 30.0);
    EXPECT_EQ(frame->m_dGridSpacing[2], 25.0); // beyond the ones read: kept
    EXPECT_EQ(Entries(ID_KOR_SELFILTER), std::vector<CString>{"NONE"});
    EXPECT_EQ(Entries(ID_KOR_GRIDSPACE),
              (std::vector<CString>{"40.000", "30.000", "25.000", "10.000"}));
    EXPECT_EQ(frame->snaps, (std::vector<std::pair<double, bool>>{{30.0, false}}));
}

TEST_F(MainFrameTest, BarStateGoesWithTheFramePart)
{
    CWinApp app;
    CToolBar* zoom = frame->GetToolBarManager()->GetToolBar(0xE804);
    ASSERT_NE(zoom, nullptr);
    frame->ShowControlBar(zoom, FALSE, FALSE);
    const Bytes bytes = StoreFramePart();
    frame->ShowControlBar(zoom, TRUE, FALSE);
    LoadFramePart(bytes);
    EXPECT_FALSE(zoom->IsWindowVisible());
}

TEST_F(MainFrameTest, DamagedSpacingListsStayInsideTheList)
{
    struct Case {
        const char* what;
        int positives;
        double terminator;
        double current;
    };
    // Spacings written are 1, 2, 3 ...; the list has room for ten.
    const Case cases[] = {
        {"twelve spacings", 12, -2.0, 3.0},
        {"index past the list", 3, -7.0, 1.0},
        {"huge index", 2, -1e300, 1.0},
        {"not a number", 2, std::nan(""), 1.0},
        {"fraction", 3, -2.9, 3.0},
    };
    for (const Case& c : cases) {
        for (double& s : frame->m_dGridSpacing)
            s = -1.0;
        Bytes bytes;
        Append<DWORD>(bytes, 0);
        Append<DWORD>(bytes, 1);
        for (int i = 1; i <= c.positives; ++i)
            Append(bytes, static_cast<double>(i));
        Append(bytes, c.terminator);
        Append<DWORD>(bytes, 0xBEEF); // what follows stays in step
        WriteAll(temp.path, bytes);
        CFile file(temp.path.c_str(), CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        frame->InitFrame(ar);
        DWORD next = 0;
        ar >> next;
        EXPECT_EQ(next, 0xBEEFu) << c.what;
        EXPECT_EQ(frame->m_dCurGridSpacing, c.current) << c.what;
        EXPECT_LE(Combo(ID_KOR_GRIDSPACE).GetCount(), 10) << c.what;
        EXPECT_EQ(frame->m_dGridSpacing[9], c.positives >= 10 ? 10.0 : -1.0) << c.what;
    }
}

TEST_F(MainFrameTest, TheResultNamesListIsNotTheFramesToDelete)
{
    // The derived frame points it at the active document's names.
    CStringArray names;
    names.Add("Sigma x");
    frame->m_pListNames = &names;
    frame->m_pFilterNames = new CStringArray; // the frame's own
    frame->DestroyWindow();
    frame = nullptr;
    EXPECT_EQ(names.GetSize(), 1);
}

TEST_F(MainFrameTest, AShortFramePartLeavesTheSpacingsAsTheyWere)
{
    frame->m_dGridSpacing[1] = 50.0;
    frame->m_dCurGridSpacing = 50.0;
    Bytes bytes;
    Append<DWORD>(bytes, 0);
    Append<DWORD>(bytes, 1);
    Append(bytes, 7.0);
    Append(bytes, 8.0); // the terminator is missing
    WriteAll(temp.path, bytes);
    CFile file(temp.path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(frame->InitFrame(ar), CArchiveException);
    EXPECT_EQ(frame->m_dGridSpacing[0], 100.0);
    EXPECT_EQ(frame->m_dGridSpacing[1], 50.0);
    EXPECT_EQ(frame->m_dCurGridSpacing, 50.0);
}

// The program's application over a temporary folder.
class FrameApp : public KorApp
{
public:
    CString GetSettingsFolder() override { return folder; }
    CString folder;
};

TEST_F(MainFrameTest, SettingsRoundTripAndWindowKeys)
{
    COGLColorInfo savedGlobals;
    savedGlobals.ReadFromGlobal();
    FrameApp app;
    char pattern[] = "/tmp/kormainfrm_XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    app.folder = (std::string(pattern) + "/").c_str();
    app.m_pMainWnd = frame;
    frame->m_dGridSpacing[1] = 12.5;
    frame->m_dCurGridSpacing = 12.5;
    frame->m_bWorkbookMode = 0;
    const std::string path(app.GetSettingsPath());
    // As after a start with a normal window.
    Profile().WriteInt("Window", "ShowCmd", SW_SHOWNORMAL);
    app.m_nCmdShow = SW_SHOWNORMAL;

    app.CloseApp();
    const Bytes first = ReadAll(path);
    frame->m_dCurGridSpacing = 100.0;
    frame->m_bWorkbookMode = 1;
    app.InitApp();
    EXPECT_EQ(frame->m_dCurGridSpacing, 12.5);
    EXPECT_EQ(frame->m_bWorkbookMode, 0);
    app.CloseApp();
    EXPECT_EQ(ReadAll(path), first);
    // The frame's part closes the archive: 0, the flag, 100, 12.5, -1.
    ASSERT_GE(first.size(), 32u);
    EXPECT_EQ(At<double>(first, first.size() - 8), -1.0);
    EXPECT_EQ(At<double>(first, first.size() - 16), 12.5);
    EXPECT_EQ(At<DWORD>(first, first.size() - 28), 0u);

    // Destroying the frame writes the archive, then the window keys.
    std::filesystem::remove(path);
    frame->MoveWindow(CRect(30, 40, 530, 440));
    frame->DestroyWindow();
    frame = nullptr;
    EXPECT_TRUE(std::filesystem::exists(path));
    const std::pair<const char*, int> keys[] = {{"Left", 30},  {"Top", 40},    {"Width", 500},
                                                {"Height", 400}, {"Zoomed", 0}, {"ShowCmd", 1}};
    for (const auto& [key, value] : keys)
        EXPECT_EQ(static_cast<int>(AfxGetProfileInt("Window", key, -99)), value) << key;
    app.InitApp();
    EXPECT_EQ(app.m_placement.rcNormalPosition, CRect(30, 40, 530, 440));
    app.LoadCursors(false);
    std::filesystem::remove_all(pattern);
    savedGlobals.WriteToGlobal();
}

// ---- Commands -----------------------------------------------------------------------

TEST_F(MainFrameTest, WorkbookAndLogWindowCommandsToggleAndCheck)
{
    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_WORKBOOK).nCheck, 1);
    frame->SendCommand(ID_KOR_WORKBOOK);
    EXPECT_EQ(frame->m_bWorkbookMode, 0);
    EXPECT_EQ(frame->workbookApplied, 1);
    EXPECT_FALSE(frame->IsWorkbookMode());
    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_WORKBOOK).nCheck, 0);
    frame->SendCommand(ID_KOR_WORKBOOK);
    EXPECT_EQ(frame->m_bWorkbookMode, 1);
    EXPECT_TRUE(frame->IsWorkbookMode());

    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_LOGWINDOW).nCheck, 1);
    frame->SendCommand(ID_KOR_LOGWINDOW);
    EXPECT_FALSE(frame->GetLogWindow()->IsWindowVisible());
    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_LOGWINDOW).nCheck, 0);
    frame->GetLogWindow()->Dock(AFX_IDW_DOCKBAR_LEFT, CSize(50, 300));
    frame->SendCommand(ID_KOR_LOGWINDOW);
    EXPECT_TRUE(frame->GetLogWindow()->IsWindowVisible());
    EXPECT_EQ(frame->GetLogWindow()->m_nDockBarID, AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(frame->GetLogWindow()->m_size.cy, 100);
}

TEST_F(MainFrameTest, CoordinateDialogOpensClosesAndEntersPoints)
{
    // Without a dialog object the command does nothing.
    frame->SendCommand(ID_KOR_ENTERCOORD);
    auto* dlg = new KorDlgCoordInputEx("", 0, frame);
    frame->m_pCoordDlg = dlg;
    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_ENTERCOORD).nCheck, 0);
    frame->SendCommand(ID_KOR_ENTERCOORD);
    ASSERT_TRUE(dlg->GetSafeHwnd());
    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_ENTERCOORD).nCheck, 1);
    EXPECT_EQ(dlg->m_strUnit, UnitString(0, kUnitLength, iConv[0][0][0]));

    // Offset: the view adds it to its cursor and the dialog shows the point,
    // before the message returns.
    DialogDriver d(*dlg);
    d.Type(50116, "1.5");
    d.Type(50003, "2.5");
    d.Click(KorDlgCoordInput::IDC_OFFSET);
    ASSERT_EQ(frame->entered.size(), 1u);
    EXPECT_EQ(frame->entered[0], std::make_tuple(1.5, 2.5, true));
    EXPECT_EQ(dlg->m_dX, 11.5);
    EXPECT_EQ(dlg->m_dY, 22.5);
    EXPECT_EQ(d.Text(KorDlgCoordInput::IDC_X), "11.5");
    // Absolute point.
    d.Type(KorDlgCoordInput::IDC_X, "4");
    d.Type(KorDlgCoordInput::IDC_Y, "6");
    d.Click(KorDlgCoordInput::IDC_ENTER);
    PumpPosted();
    EXPECT_EQ(frame->entered.back(), std::make_tuple(4.0, 6.0, false));
    // Cancel closes it.
    frame->SendMessage(WM_KOR_ENTER_COORD, IDCANCEL);
    EXPECT_FALSE(dlg->GetSafeHwnd());
    frame->ShowEnterCoord(1);
    EXPECT_TRUE(dlg->GetSafeHwnd());
    frame->ShowEnterCoord(1);
    EXPECT_TRUE(dlg->GetSafeHwnd());
    frame->SendCommand(ID_KOR_ENTERCOORD);
    EXPECT_FALSE(dlg->GetSafeHwnd());
}

// Windowless OpenGL views that record their font and context resets.
class FontView : public COGLView
{
public:
    void ZoomToFit() override {}
    float* GetBckGrdClr() override { return bg; }
    void OnDrawOGL(CRect) override {}
    void OptionsFont(LOGFONT lf) override { m_Font.m_logFont = lf; }
    bool ResetOGL() override
    {
        ++resets;
        return true;
    }
    float bg[4] = {};
    int resets = 0;
};

class PlainDoc : public CDocument
{
    DECLARE_DYNCREATE(PlainDoc)
};
IMPLEMENT_DYNCREATE(PlainDoc, CDocument)

class PlainView : public CView
{
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PlainView, CView)

// Two documents with an OpenGL view each.
struct TwoViews {
    TwoViews()
    {
        auto* tmpl = new CMultiDocTemplate(1, RUNTIME_CLASS(PlainDoc), RUNTIME_CLASS(CFrameWnd),
                                           RUNTIME_CLASS(PlainView));
        app.AddDocTemplate(tmpl);
        for (FontView& view : views) {
            auto* doc = new PlainDoc;
            doc->m_bAutoDelete = FALSE;
            tmpl->AddDocument(doc);
            doc->AddView(&view);
            std::strcpy(view.m_Font.m_logFont.lfFaceName, "Old");
        }
    }
    ~TwoViews()
    {
        for (FontView& view : views)
            view.GetDocument()->RemoveView(&view);
    }
    CWinApp app;
    FontView views[2];
};

LOGFONT Face(const char* name)
{
    LOGFONT lf{};
    std::strcpy(lf.lfFaceName, name);
    return lf;
}

TEST_F(MainFrameTest, FontsGoToOneViewOrToAll)
{
    const LOGFONT savedStatic = COGLView::m_statLogFont;
    TwoViews views;
    std::strcpy(views.views[1].m_Font.m_logFont.lfFaceName, "Second");
    // No active view: the first view's font; No keeps the choice to it.
    FontDialogs().Choose(Face("Mono"));
    Boxes().Expect("Apply to all windows?", IDNO);
    frame->SendCommand(ID_KOR_FONTS);
    ASSERT_EQ(FontDialogs().Shown().size(), 1u);
    EXPECT_STREQ(FontDialogs().Shown()[0].lfFaceName, "Old");
    EXPECT_STREQ(views.views[0].m_Font.m_logFont.lfFaceName, "Mono");
    EXPECT_STREQ(views.views[1].m_Font.m_logFont.lfFaceName, "Second");
    EXPECT_STREQ(COGLView::m_statLogFont.lfFaceName, savedStatic.lfFaceName);
    // Yes: the static and every view.
    FontDialogs().Choose(Face("Serif"));
    Boxes().Expect("Apply to all windows?", IDYES);
    frame->SendCommand(ID_KOR_FONTS);
    for (FontView& view : views.views)
        EXPECT_STREQ(view.m_Font.m_logFont.lfFaceName, "Serif");
    EXPECT_STREQ(COGLView::m_statLogFont.lfFaceName, "Serif");
    // Cancel changes nothing.
    FontDialogs().Cancel();
    frame->SendCommand(ID_KOR_FONTS);
    EXPECT_STREQ(COGLView::m_statLogFont.lfFaceName, "Serif");
    COGLView::m_statLogFont = savedStatic;
}

TEST_F(MainFrameTest, FontWithoutViewsSetsTheStaticWithoutAsking)
{
    const LOGFONT savedStatic = COGLView::m_statLogFont;
    FontDialogs().Choose(Face("Alone"));
    frame->SendCommand(ID_KOR_FONTS);
    EXPECT_STREQ(FontDialogs().Shown().at(0).lfFaceName, savedStatic.lfFaceName);
    EXPECT_STREQ(COGLView::m_statLogFont.lfFaceName, "Alone");
    COGLView::m_statLogFont = savedStatic;
}

TEST_F(MainFrameTest, TurningAccelerationOffAsksAndResetsEveryView)
{
    const std::string question =
        "It is not reccomended to turn off hardware acceleration unless you are experiencing "
        "difficulties\r\nwith the graphic display.\r\nThis action will only affect how this "
        "application, and not any other programs, will handle OpenGL\r\n\r\n\t\tDo you wish to "
        "continue?";
    TwoViews views;
    COGLRenderer::bUseAccel = true;
    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_DISABLEOPENGL).nCheck, 0);
    Boxes().Expect(question, IDNO);
    frame->SendCommand(ID_KOR_DISABLEOPENGL);
    EXPECT_TRUE(COGLRenderer::bUseAccel);
    EXPECT_EQ(views.views[0].resets, 0);

    Boxes().Expect(question, IDYES);
    frame->SendCommand(ID_KOR_DISABLEOPENGL);
    EXPECT_FALSE(COGLRenderer::bUseAccel);
    EXPECT_EQ(frame->QueryCommandUI(ID_KOR_DISABLEOPENGL).nCheck, 1);
    for (FontView& view : views.views)
        EXPECT_EQ(view.resets, 1);
    // Back on: no question.
    frame->SendCommand(ID_KOR_DISABLEOPENGL);
    EXPECT_TRUE(COGLRenderer::bUseAccel);
    EXPECT_EQ(views.views[1].resets, 2);
}

TEST_F(MainFrameTest, CustomizeShowsToolbarsAndCommandGroups)
{
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& sheet) {
        CString caption;
        sheet.GetWindowText(caption);
        EXPECT_EQ(caption, "Customize");
        auto& custom = dynamic_cast<KorCustomizeSheet&>(sheet);
        EXPECT_EQ(custom.GetPage(0)->GetTitle(), "Toolbars");
        EXPECT_EQ(custom.GetPage(1)->GetTitle(), "Commands");
        EXPECT_EQ(d.Text(KorToolBarsPage::IDC_FIRST_BAR + 1), "Zoom and positioning");
        EXPECT_EQ(d.Check(KorToolBarsPage::IDC_FIRST_BAR + 5), 1);
        EXPECT_FALSE(d.Visible(KorToolBarsPage::IDC_FIRST_BAR + 6));
        const auto& groups = custom.m_commandsPage.GetGroups();
        ASSERT_EQ(groups.size(), 7u);
        EXPECT_EQ(groups[4].strName, "Draw tools");
        EXPECT_EQ(groups[4].buttons, AfxFindResource<AfxToolBar>(27004)->buttons);
        EXPECT_EQ(groups[6].strName, "Menu");
        d.Click(KorToolBarsPage::IDC_FIRST_BAR + 2); // "Color and light" off
        d.Click(KorToolBarsPage::IDC_LARGE);
        d.Click(KorToolBarsPage::IDC_TOOLTIPS);
        d.PressOK();
    });
    frame->SendCommand(ID_KOR_CUSTOMIZE);
    EXPECT_EQ(script.Taken(), 1);
    CToolBarManager& manager = *frame->GetToolBarManager();
    EXPECT_FALSE(manager.GetToolBar(0xE805)->IsWindowVisible());
    EXPECT_TRUE(manager.GetToolBar(0xE804)->IsWindowVisible());
    EXPECT_TRUE(manager.IsLargeButtons());
    EXPECT_FALSE(manager.ToolTipsEnabled());
}

} // namespace

// The number-list, select-by-identifier and two-choice pages in a sheet,
// driven as a user would.
#include <functional>
#include <vector>

#include "framework/framira.h"
#include "platform/afx/numconv.h"
#include "tests/framira/page_runner.h"
#include "tests/support/ui_lists.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;
using framira_test::RunPage;

constexpr int kItems = KorPPNumListEdit::IDC_ITEMS;

// Replaces the list editor's lines by lines, as a user would.
void TypeLines(DialogDriver& d, CPropertyPage& page, const std::vector<CString>& lines)
{
    brantel::test::TypeEditorLines(d, page, kItems, lines);
}

using ListPages = HeadlessApp;

TEST_F(ListPages, TheNumberListShowsScaledValuesAndStartsModified)
{
    double values[4] = {0.5, 2.0, 0.125, 99.0};
    KorPPNumListEdit page("Thicknesses", values, 3, 4, 10.0, 1);
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL), (std::vector<CString>{"Thicknesses"}));
        EXPECT_EQ(d.Text(kItems), "&Items:");
        EXPECT_EQ(d.Items(kItems), (std::vector<CString>{"5", "20", "1.25"}));
        EXPECT_TRUE(page.IsModified());
        TypeLines(d, page, {"30", "10", "20", "10"});
        d.PressOK();
    });
    // Written in list order, divided by the factor; the repeat is dropped.
    EXPECT_EQ(page.GetEntries(), 3);
    EXPECT_EQ(values[0], 3.0);
    EXPECT_EQ(values[1], 1.0);
    EXPECT_EQ(values[2], 2.0);
    EXPECT_EQ(values[3], 99.0);
}

TEST_F(ListPages, TheNumberListGivesUntouchedValuesBackBitForBit)
{
    // Millimetres shown in inches: untouched lines store what they showed,
    // a retyped line goes through the factor.
    const double inch = 1.0 / 25.4;
    double values[4] = {100.0, 1.0 / 3.0, 210000.0000001, 0.3};
    const double before[4] = {values[0], values[1], values[2], values[3]};
    KorPPNumListEdit untouched("Thicknesses", values, 4, 4, inch, 1);
    RunPage(untouched, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Items(kItems)[0], "3.93700787401575");
        d.PressOK();
    });
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(values[i], before[i]) << i;

    KorPPNumListEdit edited("Thicknesses", values, 4, 4, inch, 1);
    RunPage(edited, [&](DialogDriver& d, ModalScript&) {
        std::vector<CString> lines = d.Items(kItems);
        lines[1] = "2";
        TypeLines(d, edited, lines);
        d.PressOK();
    });
    EXPECT_EQ(values[0], before[0]);
    EXPECT_EQ(values[1], 2.0 / inch);
    EXPECT_EQ(values[2], before[2]);
    EXPECT_EQ(values[3], before[3]);
}

TEST_F(ListPages, TheNumberListKeepsRepeatsOutAndStopsAtItsMaximum)
{
    struct Case {
        const char* name;
        std::vector<CString> lines;
        int max, min;
        std::vector<double> written;
    };
    std::vector<CString> twelve;
    for (int i = 12; i >= 1; --i)
        twelve.push_back(CString(std::to_string(i).c_str()));
    const Case cases[] = {
        {"repeat", {"2", "2", "3"}, 10, 2, {2, 3}},
        {"twelve", twelve, 10, 1, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3}},
    };
    for (const Case& c : cases) {
        std::vector<double> values(12, -1.0);
        KorPPNumListEdit page("Values", values.data(), 0, c.max, 1.0, c.min);
        RunPage(page, [&](DialogDriver& d, ModalScript&) {
            TypeLines(d, page, c.lines);
            d.PressOK();
        });
        EXPECT_EQ(page.GetEntries(), int(c.written.size())) << c.name;
        for (std::size_t i = 0; i < c.written.size(); ++i)
            EXPECT_EQ(values[i], c.written[i]) << c.name << " " << i;
        EXPECT_EQ(values[c.written.size()], -1.0) << c.name;
    }
}

TEST_F(ListPages, BadLinesAskWhetherToRemoveThem)
{
    for (const CString bad : {"-1", "0", "abc"}) {
        const CString message = "All entries must be numeric.\n\nPress OK to remove the entry: '" +
                                bad + "'.\n\nPress Cancel to return to edit mode";
        double values[3] = {7.0, 7.0, 7.0};
        KorPPNumListEdit page("Values", values, 0, 3, 1.0, 1);
        // Cancel: the page stays open with its lines, nothing is written.
        RunPage(page, [&](DialogDriver& d, ModalScript& script) {
            TypeLines(d, page, {"4", bad, "5"});
            script.MessageBox(message.GetString(), IDCANCEL);
            d.PressOK();
            EXPECT_EQ(d.Items(kItems), (std::vector<CString>{"4", bad, "5"}));
            EXPECT_EQ(values[0], 7.0);
            // OK: the line goes and the rest is written.
            script.MessageBox(message.GetString(), IDOK);
            d.PressOK();
        });
        EXPECT_EQ(page.GetEntries(), 2) << bad;
        EXPECT_EQ(values[0], 4.0) << bad;
        EXPECT_EQ(values[1], 5.0) << bad;
    }
}

TEST_F(ListPages, TooFewLinesAreRefused)
{
    double values[3] = {7.0, 7.0, 7.0};
    KorPPNumListEdit page("Values", values, 0, 3, 1.0, 3);
    RunPage(page, [&](DialogDriver& d, ModalScript& script) {
        TypeLines(d, page, {"1", "2", "2"});
        script.MessageBox("You need to enter at least 3 items");
        d.PressOK();
        EXPECT_EQ(values[0], 7.0);
        d.PressCancel();
    });
}

struct Selected {
    static inline std::vector<LONG> ids;
    static inline int kind = -99;
    static void Take(CLongMatrix& m, int k)
    {
        ids.clear();
        for (int r = 0; r < m.GetRows(); ++r)
            ids.push_back(m[r][0]);
        kind = k;
    }
};

TEST_F(ListPages, SelectByIdReadsTruncatedIdsAndMapsTheKind)
{
    struct Case {
        int radio;
        int kind;
    };
    // The table maps radio 0 to 2; radios beyond it pass their index.
    for (const Case c : {Case{0, 2}, Case{1, 1}, Case{2, 2}}) {
        KorPPSelectID page("Nodes", "Edges", "Elements");
        page.m_kindCodes.Allocate(1, 1, true, 2);
        page.m_pfnSelect = &Selected::Take;
        Selected::kind = -99;
        RunPage(page, [&](DialogDriver& d, ModalScript&) {
            d.Click(std::vector<int>{16144, 16145, 16153}[std::size_t(c.radio)]);
            d.Type(16230, "12 15 7.9");
            EXPECT_TRUE(page.IsModified());
            d.PressOK();
        });
        EXPECT_EQ(Selected::ids, (std::vector<LONG>{12, 15, 7})) << c.radio;
        EXPECT_EQ(Selected::kind, c.kind) << c.radio;
    }
}

TEST_F(ListPages, SelectByIdHidesRadiosWithoutText)
{
    KorPPSelectID page("Nodes", "", "Regions");
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_TRUE(d.Visible(16144));
        EXPECT_FALSE(d.Visible(16145));
        EXPECT_EQ(d.Text(16153), "Regions");
        d.PressCancel();
    });
}

struct Chosen {
    static inline int choice = -1;
    static void Take(int c) { choice = c; }
};

TEST_F(ListPages, TheTwoChoicePageHandsTheChoiceOnAtApply)
{
    KorPPTwoRad page;
    page.m_strRadio1 = "Linear";
    page.m_strRadio2 = "Quadratic";
    page.m_strGroup = "Interpolation";
    page.m_strText = "Applies to new meshes";
    page.m_pfnApply = &Chosen::Take;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(16145), "Quadratic");
        EXPECT_EQ(d.Text(50102), "Interpolation");
        EXPECT_EQ(d.Text(50101), "Applies to new meshes");
        EXPECT_EQ(d.Check(16144), 1);
        d.Click(16145);
        EXPECT_TRUE(page.IsModified());
        EXPECT_EQ(Chosen::choice, -1);
        d.PressOK();
    });
    EXPECT_EQ(Chosen::choice, 1);
}

} // namespace

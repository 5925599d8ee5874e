// The number-list pages: vectors edited as lines through the list editor,
// read back on Apply; the named lists with their combo, "&Add" and
// "&Rename"; the one-line text dialog.
#include <cmath>
#include <memory>
#include <vector>

#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

class NumberListTest : public HeadlessApp
{
};

std::vector<double> Values(const CVector& v)
{
    return std::vector<double>(v.GetVector(), v.GetVector() + v.GetSize());
}

std::vector<LONG> Values(const CLongVector& v)
{
    std::vector<LONG> out;
    for (int i = 0; i < v.GetSize(); ++i)
        out.push_back(v[i]);
    return out;
}

TEST_F(NumberListTest, WritesOneLineAnElementAndReadsEveryNumberBackOnOK)
{
    CVector values(3);
    values[0] = 1.5;
    values[1] = 2.0;
    values[2] = 1e-7;
    VokLGNumberList page("Nodes", IDD_NUMBER_LIST);
    page.m_pVector = &values;
    const INT_PTR result = RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL), (std::vector<CString>{"Nodes"}));
        EXPECT_EQ(d.Text(IDC_NUMBER_ITEMS), "&Items:");
        EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS), (std::vector<CString>{"1.5", "2", "1e-07"}));
        TypeLines(d, ListOf(page), {"1 2.5 3", "4"});
        d.PressOK();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Values(values), (std::vector<double>{1, 2.5, 3, 4}));
}

TEST_F(NumberListTest, UntouchedComputedValuesSurviveOK)
{
    // "%g" alone would cut these to six digits when the list is read back.
    CVector values(3);
    values[0] = 0.1 + 0.2;
    values[1] = 1.0 / 3.0;
    values[2] = 250.0;
    const CVector before = values;
    VokLGNumberList page("Nodes", IDD_NUMBER_LIST);
    page.m_pVector = &values;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS),
                  (std::vector<CString>{"0.30000000000000004", "0.3333333333333333", "250"}));
        d.PressOK();
    });
    EXPECT_EQ(Values(values), Values(before));
}

TEST_F(NumberListTest, ReadBackTakesTheSharedNumberSyntax)
{
    struct Case {
        std::vector<CString> lines;
        std::vector<double> reals;
        std::vector<LONG> integers;
    };
    const std::vector<Case> cases = {
        {{"2,5"}, {2.5}, {2}}, {{"pi"}, {M_PI}, {3}},
        {{}, {}, {}},          {{"", "x 1.5 y", "-7"}, {1.5, -7}, {1, -7}},
        {{"abc"}, {}, {}},     {{"1e3 99999999999"}, {1000, 99999999999.0}, {1, 2147483647}},
    };
    VokLGNumberList page;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL), (std::vector<CString>{"Numbers"}));
        for (const Case& c : cases) {
            TypeLines(d, ListOf(page), c.lines);
            CVector reals(2, true, 9.0);
            CLongVector integers;
            integers.Allocate(2, true, 9);
            page.ReadBack(&reals);
            page.ReadBack(&integers);
            EXPECT_EQ(Values(reals), c.reals) << c.lines.size() << " lines";
            EXPECT_EQ(Values(integers), c.integers) << c.lines.size() << " lines";
        }
        d.PressCancel();
    });
}

TEST_F(NumberListTest, OutputListsOfTheLogfileSheetAreReadBackOnlyWhenShown)
{
    CLongVector nodes, elements;
    nodes.Allocate(2, true, 0);
    nodes[0] = 3;
    nodes[1] = 8;
    elements.Allocate(1, true, 5);
    VokLGNumberList nodePage("Nodes", IDD_NUMBER_LIST), elementPage("Elements", IDD_NUMBER_LIST);
    nodePage.m_pLongVector = &nodes;
    elementPage.m_pLongVector = &elements;
    RunSheet(
        {&nodePage, &elementPage},
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Caption(), "Logfile print options");
            EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS), (std::vector<CString>{"3", "8"}));
            TypeLines(d, ListOf(nodePage), {"1.5 2", "12"});
            d.PressOK();
        },
        "Logfile print options");
    EXPECT_EQ(Values(nodes), (std::vector<LONG>{1, 2, 12}));
    EXPECT_EQ(Values(elements), (std::vector<LONG>{5})); // never shown, never applied
}

// The logfile sheet's node list as a user fills it: New, a number typed
// (typing again on the row replaces its text), Enter. The row is kept: in
// the layer Enter presses OK, which reads the row back.
TEST_F(NumberListTest, ARowTypedOnNewAndEnteredIsKept)
{
    CLongVector nodes;
    nodes.Allocate(1, true, 3);
    VokLGNumberList page("Nodes", IDD_NUMBER_LIST);
    page.m_pLongVector = &nodes;
    RunSheet(
        {&page},
        [&](DialogDriver& d) {
            ListOf(page).NewItem();
            d.Type(IDC_NUMBER_ITEMS, "14");
            d.Type(IDC_NUMBER_ITEMS, "145");
            EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS), (std::vector<CString>{"3", "145"}));
            d.PressEnter();
        },
        "Logfile print options");
    EXPECT_EQ(Values(nodes), (std::vector<LONG>{3, 145}));
}

class NamedListsTest : public HeadlessApp
{
protected:
    void TearDown() override
    {
        for (POSITION pos = vectors.GetHeadPosition(); pos;)
            delete vectors.GetNext(pos);
        HeadlessApp::TearDown();
    }
    CVector* AddReal(std::initializer_list<double> values)
    {
        auto* v = new CVector(static_cast<int>(values.size()));
        int i = 0;
        for (double value : values)
            (*v)[i++] = value;
        vectors.AddTail(v);
        return v;
    }
    CLongVector* AddInteger(LONG value)
    {
        auto* v = new CLongVector;
        v->Allocate(1, true, value);
        vectors.AddTail(v);
        return v;
    }
    VokPPNamedNumListsEdit& MakePage(CStringArray* names)
    {
        page.m_pVectors = &vectors;
        page.m_pNames = names;
        page.m_pVectClass = RUNTIME_CLASS(CVector);
        return page;
    }

    CObList vectors;
    VokPPNamedNumListsEdit page{"Lists"};
};

TEST_F(NamedListsTest, EntriesNameTheVectorsAndChangingThemKeepsTheEdits)
{
    CVector* first = AddReal({1, 2});
    CLongVector* second = AddInteger(7);
    MakePage(nullptr);
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(IDC_LIST_VECTOR), (std::vector<CString>{"Vector 1", "Vector 2"}));
        EXPECT_EQ(d.CurSel(IDC_LIST_VECTOR), 0);
        EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS), (std::vector<CString>{"1", "2"}));
        TypeLines(d, ListOf(page), {"5 6"});
        d.Select(IDC_LIST_VECTOR, 1);
        EXPECT_EQ(Values(*first), (std::vector<double>{5, 6}));
        EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS), (std::vector<CString>{"7"}));
        TypeLines(d, ListOf(page), {"8 9.5"});
        page.UpdateComboBox(9); // beyond the end: the last entry
        EXPECT_EQ(d.CurSel(IDC_LIST_VECTOR), 1);
        d.PressOK();
    });
    EXPECT_EQ(Values(*second), (std::vector<LONG>{8, 9}));
}

TEST_F(NamedListsTest, NamesBeyondTheVectorsAreLeftOut)
{
    CVector* first = AddReal({1});
    CStringArray names;
    names.Add("Loads");
    names.Add("Spare");
    MakePage(&names);
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(IDC_LIST_VECTOR), (std::vector<CString>{"Loads"}));
        CComboBox& combo = *static_cast<CComboBox*>(page.GetDlgItem(IDC_LIST_VECTOR));
        EXPECT_EQ(combo.GetItemData(0), reinterpret_cast<DWORD_PTR>(first));
        page.UpdateComboBox(1);
        EXPECT_EQ(d.CurSel(IDC_LIST_VECTOR), 0);
        d.PressCancel();
    });
}

TEST_F(NamedListsTest, AddProposesTheNextFreeNameAndCancelAddsNothing)
{
    AddReal({1});
    AddReal({2});
    CStringArray names;
    names.Add("Vector 1");
    names.Add("vector 2");
    MakePage(&names);
    RunSheet({&page}, [&](DialogDriver& d, ModalScript& script) {
        EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
        script.Dialog(IDD_STRING, [](DialogDriver& s, CDialog&) {
            EXPECT_EQ(s.Caption(), "");
            EXPECT_EQ(s.Text(IDC_STRING_EDIT), "Vector 3");
            s.PressCancel();
        });
        d.Click(IDC_LIST_ADD);
        EXPECT_EQ(vectors.GetCount(), 2);
        EXPECT_EQ(names.GetSize(), 2);
        EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));

        script.Dialog(IDD_STRING, [](DialogDriver& s, CDialog&) {
            s.Type(IDC_STRING_EDIT, "Extra");
            s.PressOK();
        });
        d.Click(IDC_LIST_ADD);
        EXPECT_EQ(d.Items(IDC_LIST_VECTOR),
                  (std::vector<CString>{"Vector 1", "vector 2", "Extra"}));
        EXPECT_EQ(d.CurSel(IDC_LIST_VECTOR), 2);
        EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
        EXPECT_TRUE(d.Items(IDC_NUMBER_ITEMS).empty());
        d.PressCancel();
    });
    ASSERT_EQ(vectors.GetCount(), 3);
    EXPECT_TRUE(vectors.GetTail()->IsKindOf(RUNTIME_CLASS(CVector)));
    EXPECT_EQ(names[2], "Extra");
}

TEST_F(NamedListsTest, BaseNameAndRenameKeepTheSelectionAndDeleteDoesNothing)
{
    AddReal({1});
    AddReal({2});
    CStringArray names;
    names.Add("Load 1");
    names.Add("Other");
    MakePage(&names);
    page.m_strBaseName = "Load";
    RunSheet({&page}, [&](DialogDriver& d, ModalScript& script) {
        d.Select(IDC_LIST_VECTOR, 1);
        script.Dialog(IDD_STRING, [](DialogDriver& s, CDialog&) {
            EXPECT_EQ(s.Text(IDC_STRING_EDIT), "Other");
            s.Type(IDC_STRING_EDIT, "Wind");
            s.PressOK();
        });
        d.Click(IDC_LIST_RENAME);
        EXPECT_EQ(d.Items(IDC_LIST_VECTOR), (std::vector<CString>{"Load 1", "Wind"}));
        EXPECT_EQ(d.CurSel(IDC_LIST_VECTOR), 1);
        EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS), (std::vector<CString>{"2"}));

        d.Click(IDC_LIST_DELETE);
        EXPECT_EQ(d.Items(IDC_LIST_VECTOR).size(), 2u);

        script.Dialog(IDD_STRING, [](DialogDriver& s, CDialog&) {
            EXPECT_EQ(s.Text(IDC_STRING_EDIT), "Load 2");
            s.PressCancel();
        });
        d.Click(IDC_LIST_ADD);
        d.PressCancel();
    });
    EXPECT_EQ(vectors.GetCount(), 2);
}

TEST_F(NamedListsTest, AddIsDisabledWithoutAClass)
{
    AddReal({1});
    MakePage(nullptr);
    page.m_pVectClass = nullptr;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Enabled(IDC_LIST_ADD));
        d.PressCancel();
    });
}

} // namespace
} // namespace pavesta_test

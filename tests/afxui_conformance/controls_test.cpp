// Buttons, lists and combos, edits and the spin: the control rules.
#include "tests/afxui_conformance/conformance.h"

namespace conformance
{
namespace
{

class ControlsTest : public ConformanceTest
{
};

TEST_P(ControlsTest, ThreeStateChecksCycleAndRadiosClearOnlyTheirGroup)
{
    // 0 -> 1 -> 2 -> 0, and BN_CLICKED sees the new state.
    std::vector<int> seen;
    window->onCommand = [&](UINT nID, UINT) {
        seen.push_back(driver->Check(static_cast<int>(nID)));
    };
    for (int i = 0; i < 4; ++i)
        driver->Click(kThreeState);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1}));
    window->onCommand = nullptr;
    driver->Click(kCheck);
    driver->Click(kCheck);
    EXPECT_EQ(driver->Check(kCheck), 0);

    // Groups: A1-A3 and B1-B2. Nothing is checked at first.
    const int radios[] = {kRadioA1, kRadioA2, kRadioA3, kRadioB1, kRadioB2};
    auto checks = [&] {
        std::vector<int> out;
        for (int id : radios)
            out.push_back(driver->Check(id));
        return out;
    };
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 0, 0, 0}));
    driver->Click(kRadioA2);
    driver->Click(kRadioB1);
    EXPECT_EQ(checks(), (std::vector<int>{0, 1, 0, 1, 0}));
    driver->Click(kRadioA3);
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 1, 1, 0}));
    // SetCheck touches only its own radio, so a group may hold none.
    Control<CButton>(kRadioA3).SetCheck(0);
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 0, 1, 0}));
}

TEST_P(ControlsTest, SortedListsAndCombosKeepItemDataAndFindIgnoringCase)
{
    // The template's "e-format", "F-format", "g-format", "a-format" sorted.
    EXPECT_EQ(driver->Items(kComboList),
              (std::vector<CString>{"a-format", "e-format", "F-format", "g-format"}));

    CListBox& list = Control<CListBox>(kList);
    struct Add {
        const char* text;
        DWORD_PTR data;
    };
    for (const Add& a : {Add{"steel", 1}, Add{"Concrete", 2}, Add{"\xB2nd", 3}, Add{"Aluminium", 4},
                         Add{"concrete", 5}, Add{"Zinc", 6}})
        list.SetItemData(list.AddString(a.text), a.data);
    EXPECT_EQ(driver->Items(kList), (std::vector<CString>{"Aluminium", "Concrete", "concrete",
                                                          "steel", "Zinc", "\xB2nd"}));
    std::vector<DWORD_PTR> data;
    for (int i = 0; i < list.GetCount(); ++i)
        data.push_back(list.GetItemData(i));
    EXPECT_EQ(data, (std::vector<DWORD_PTR>{4, 2, 5, 1, 6, 3}));

    // Insert at an index ignores the order; deleting moves data with items.
    EXPECT_EQ(list.InsertString(0, "zz"), 0);
    EXPECT_EQ(list.DeleteString(1), 6);
    EXPECT_EQ(list.GetItemData(0), 0u);
    EXPECT_EQ(list.GetItemData(1), 2u);

    struct Find {
        const char* text;
        int startAfter;
        int exact;
        int prefix;
    };
    for (const Find& f :
         {Find{"CONCRETE", -1, 1, 1}, Find{"concrete", 1, 2, 2}, Find{"con", -1, -1, 1},
          Find{"STEEL", 3, 3, 3}, Find{"iron", -1, -1, -1}}) {
        EXPECT_EQ(list.FindStringExact(f.startAfter, f.text), f.exact) << f.text;
        EXPECT_EQ(list.FindString(f.startAfter, f.text), f.prefix) << f.text;
    }
    EXPECT_EQ(list.SelectString(-1, "st"), 3);
    EXPECT_EQ(list.GetCurSel(), 3);
    EXPECT_EQ(list.SelectString(-1, "iron"), LB_ERR);
    EXPECT_TRUE(window->Take().empty()); // none of this notifies
}

TEST_P(ControlsTest, TabStopsNeedTheTabStopStyle)
{
    CListBox& list = Control<CListBox>(kList);
    EXPECT_FALSE(list.SetTabStops(64)); // created without LBS_USETABSTOPS
    EXPECT_TRUE(list.GetTabStops().empty());
    list.ModifyStyle(0, LBS_USETABSTOPS);
    EXPECT_TRUE(list.SetTabStops(64));
    EXPECT_EQ(list.GetTabStops(), (std::vector<int>{64}));
    int stops[] = {20, 50, 90};
    EXPECT_TRUE(list.SetTabStops(3, stops));
    EXPECT_EQ(list.GetTabStops(), (std::vector<int>{20, 50, 90}));
    list.SetTabStops();
    EXPECT_TRUE(list.GetTabStops().empty());
}

TEST_P(ControlsTest, RawComboMessagesAnswerAsTheMethodsDo)
{
    CWnd& combo = *Item(kComboEdit);
    char buffer[32] = {};
    combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("0.5"));
    combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1"));
    EXPECT_EQ(combo.SendMessage(CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("0.25")), 0);
    EXPECT_EQ(combo.SendMessage(CB_GETCOUNT), 3);
    EXPECT_EQ(combo.SendMessage(CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("1")), 2);
    EXPECT_EQ(combo.SendMessage(CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("0.5")), 1);
    EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 1);
    EXPECT_EQ(combo.SendMessage(CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 1);
    EXPECT_STREQ(buffer, "1");
    EXPECT_EQ(combo.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_STREQ(buffer, "0.5");
    EXPECT_EQ(combo.SendMessage(CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(combo.SendMessage(CB_DELETESTRING, 0), 2);
    CComboBox& typed = Control<CComboBox>(kComboEdit);
    EXPECT_EQ(typed.GetCount(), 2);
    EXPECT_EQ(typed.FindStringExact(-1, "1"), 1);
    combo.SendMessage(CB_RESETCONTENT);
    EXPECT_EQ(typed.GetCount(), 0);
    EXPECT_EQ(typed.GetCurSel(), CB_ERR);
    EXPECT_THROW(combo.SendMessage(0x0141 /* CB_LIMITTEXT */, 5), std::logic_error);

    // Typing into an editable combo never adds an item.
    driver->Type(kComboEdit, "0.75");
    EXPECT_EQ(driver->Text(kComboEdit), "0.75");
    EXPECT_TRUE(driver->Items(kComboEdit).empty());
}

TEST_P(ControlsTest, MultiLineEditsCountCrLfAsTwoAndCutAtTheLimit)
{
    CEdit& edit = Control<CEdit>(kMultiEdit);
    EXPECT_EQ(edit.GetLimitText(), 30000u);
    edit.SetWindowText("Log\r\nline 2\r\nend");
    EXPECT_EQ(edit.GetWindowTextLength(), 16);
    EXPECT_EQ(edit.GetLineCount(), 3);
    struct Line {
        int line;
        int index;
    };
    for (const Line& l : {Line{0, 0}, Line{1, 5}, Line{2, 13}, Line{3, -1}})
        EXPECT_EQ(edit.LineIndex(l.line), l.index) << l.line;
    EXPECT_EQ(edit.LineFromChar(12), 1);

    // Append at the end, as the log does.
    edit.SetSel(edit.GetWindowTextLength(), -1);
    edit.ReplaceSel("\r\nmore");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "Log\r\nline 2\r\nend\r\nmore");
    int start, end;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 22);
    EXPECT_EQ(end, 22);
    EXPECT_EQ(edit.GetLineCount(), 4);

    // Replace the middle line; the caret follows the new text.
    edit.SetSel(5, 11);
    edit.ReplaceSel("L2");
    edit.GetWindowText(text);
    EXPECT_EQ(text, "Log\r\nL2\r\nend\r\nmore");
    edit.GetSel(start, end);
    EXPECT_EQ(start, 7);

    // The limit cuts what is replaced or typed, not SetWindowText.
    edit.LimitText(20);
    EXPECT_EQ(edit.GetLimitText(), 20u);
    edit.SetSel(18, 18);
    edit.ReplaceSel("abcdef");
    edit.GetWindowText(text);
    EXPECT_EQ(text, "Log\r\nL2\r\nend\r\nmoreab");
    driver->Type(kMultiEdit, "0123456789012345678901234");
    EXPECT_EQ(driver->Text(kMultiEdit), "01234567890123456789");
    edit.SetWindowText("0123456789012345678901234");
    EXPECT_EQ(edit.GetWindowTextLength(), 25);
}

TEST_P(ControlsTest, ReadOnlyAndNumberEditsRefuseWhatAUserCannotType)
{
    // Read-only: the program still writes it; the driver refuses to type.
    Control<CEdit>(kReadOnly).SetWindowText("set by the page");
    EXPECT_EQ(driver->Text(kReadOnly), "set by the page");
    EXPECT_TRUE(driver->ReadOnly(kReadOnly));
    EXPECT_NONFATAL_FAILURE(driver->Type(kReadOnly, "x"), "control 1062 is read-only");
    EXPECT_EQ(driver->Text(kReadOnly), "set by the page");
    // Its peer refuses typing too.
    Item(kReadOnly)->GetPeer()->UserType("x");
    EXPECT_EQ(driver->Text(kReadOnly), "set by the page");

    driver->Type(kNumber, "123");
    Item(kNumber)->GetPeer()->UserType("4a"); // typed or pasted non-digits
    Item(kNumber)->GetPeer()->UserType("-");
    EXPECT_EQ(driver->Text(kNumber), "123");
    Control<CEdit>(kReadOnly).SetReadOnly(FALSE);
    driver->Type(kReadOnly, "free");
    EXPECT_EQ(driver->Text(kReadOnly), "free");
}

TEST_P(ControlsTest, SpinMovesWithinItsRangeAndWritesItsBuddy)
{
    CSpinButtonCtrl& spin = Control<CSpinButtonCtrl>(kSpin);
    EXPECT_EQ(spin.GetBuddy(), Item(kBuddy)); // the control before it
    spin.SetRange32(1, 5);
    spin.SetPos(4);
    EXPECT_EQ(driver->Text(kBuddy), "4");
    driver->Spin(kSpin, 1);
    driver->Spin(kSpin, 1); // stops at the top
    EXPECT_EQ(driver->Text(kBuddy), "5");
    driver->Type(kBuddy, "2"); // the user's number is the position
    EXPECT_EQ(spin.GetPos(), 2);
    driver->Spin(kSpin, -3);
    EXPECT_EQ(driver->Text(kBuddy), "1");
    spin.SetRange32(10, 0); // an upside-down range: up goes down
    spin.SetPos(5);
    driver->Spin(kSpin, 1);
    EXPECT_EQ(spin.GetPos(), 4);
}

TEST_P(ControlsTest, StyleFlagsAndFocusFollowTheWindowState)
{
    // Hiding or disabling through the style changes the state, and back.
    Item(kEdit)->ModifyStyle(WS_VISIBLE, 0);
    EXPECT_FALSE(driver->Visible(kEdit));
    Item(kEdit)->ModifyStyle(0, WS_VISIBLE | WS_DISABLED);
    EXPECT_TRUE(driver->Visible(kEdit));
    EXPECT_FALSE(driver->Enabled(kEdit));
    Item(kEdit)->EnableWindow(TRUE);
    EXPECT_EQ(Item(kEdit)->GetStyle() & WS_DISABLED, 0u);
    EXPECT_FALSE(Item(kHidden)->ShowWindow(SW_SHOW)); // it was hidden
    EXPECT_TRUE(driver->Visible(kHidden));
    EXPECT_EQ(Item(kHidden)->GetStyle() & WS_VISIBLE, WS_VISIBLE);
    Item(kHidden)->ShowWindow(SW_HIDE);
    EXPECT_FALSE(driver->Visible(kHidden));

    // The focus goes with a destroyed window; nothing is told of it later.
    driver->Focus(kRadius);
    EXPECT_EQ(CWnd::GetFocus(), Item(kRadius));
    window->Take();
    window->DestroyWindow();
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
    Rebuild();
    driver->Focus(kEdit);
    EXPECT_EQ(window->Take(), std::vector<std::string>{"1001:EN_SETFOCUS"});
}

TEST_P(ControlsTest, ClientPointsMapToTheScreenThroughTheParentsPlace)
{
    // A control's client point lies on the screen where its parent's client
    // point at the control's place plus that point lies.
    for (int id : {kEdit, kList, kTab}) {
        CRect placed;
        Item(id)->GetWindowRect(&placed);
        CPoint inControl(3, 4);
        Item(id)->ClientToScreen(&inControl);
        CPoint inWindow(placed.left + 3, placed.top + 4);
        window->ClientToScreen(&inWindow);
        EXPECT_EQ(inControl, inWindow) << id;
        CRect rect(1, 2, 11, 22);
        Item(id)->ClientToScreen(&rect);
        EXPECT_EQ(rect.Size(), CSize(10, 20)) << id;
        EXPECT_EQ(rect.TopLeft(), inControl - CSize(2, 2)) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Peers, ControlsTest, ::testing::ValuesIn(PeerFamilies()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace conformance

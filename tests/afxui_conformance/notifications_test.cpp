// Which notifications user actions and programmatic changes send, in order.
#include "tests/afxui_conformance/conformance.h"

namespace conformance
{
namespace
{

using Strings = std::vector<std::string>;

struct Row;

class NotificationTest : public ConformanceTest
{
public:
    void Run(const Row& row);
    template <class T> T& Get(int nID) { return Control<T>(nID); }
    using ConformanceTest::env;
    using ConformanceTest::Item;
};

struct Row {
    const char* what;
    std::function<void(NotificationTest&, DialogDriver&, CWnd&)> act;
    Strings expected;
};

void NotificationTest::Run(const Row& row)
{
    SCOPED_TRACE(row.what);
    Rebuild();
    row.act(*this, *driver, *window);
    EXPECT_EQ(window->Take(), row.expected);
}

TEST_P(NotificationTest, UserActionsNotifyAndProgrammaticChangesOnlyWhereTheSystemDoes)
{
    const Row rows[] = {
        {"edit: typing",
         [](auto&, DialogDriver& d, CWnd&) { d.Type(kEdit, "12"); },
         {"1001:EN_SETFOCUS", "1001:EN_CHANGE"}},
        {"edit: SetWindowText",
         [](auto&, DialogDriver&, CWnd& w) { w.GetDlgItem(kEdit)->SetWindowText("3.5"); },
         {"1001:EN_CHANGE"}},
        {"edit: ReplaceSel",
         [](NotificationTest& t, DialogDriver&, CWnd&) {
             t.Get<CEdit>(kMultiEdit).ReplaceSel("x\r\n");
         },
         {"1002:EN_CHANGE"}},
        {"check: click",
         [](auto&, DialogDriver& d, CWnd&) { d.Click(kCheck); },
         {"1003:BN_CLICKED"}},
        {"check: SetCheck",
         [](NotificationTest& t, DialogDriver&, CWnd&) { t.Get<CButton>(kCheck).SetCheck(1); },
         {}},
        {"radio: click",
         [](auto&, DialogDriver& d, CWnd&) { d.Click(kRadioA2); },
         {"1011:BN_CLICKED"}},
        {"combo: user selection",
         [](auto&, DialogDriver& d, CWnd&) { d.Select(kComboList, 2); },
         {"1020:CBN_SETFOCUS", "1020:CBN_SELCHANGE"}},
        {"combo: SetCurSel",
         [](NotificationTest& t, DialogDriver&, CWnd&) {
             t.Get<CComboBox>(kComboList).SetCurSel(1);
         },
         {}},
        {"editable combo: typing",
         [](auto&, DialogDriver& d, CWnd&) { d.Type(kComboEdit, "0.5"); },
         {"1021:CBN_SETFOCUS", "1021:CBN_EDITCHANGE"}},
        {"list: user selection",
         [](NotificationTest& t, DialogDriver& d, CWnd&) {
             t.Get<CListBox>(kList).AddString("Steel");
             d.Select(kList, 0);
         },
         {"1022:LBN_SETFOCUS", "1022:LBN_SELCHANGE"}},
        {"list: SetCurSel",
         [](NotificationTest& t, DialogDriver&, CWnd&) {
             t.Get<CListBox>(kList).AddString("Steel");
             t.Get<CListBox>(kList).SetCurSel(0);
         },
         {}},
        {"spin: user step",
         [](auto&, DialogDriver& d, CWnd&) { d.Spin(kSpin, 1); },
         {"1030:EN_CHANGE"}},
        {"spin: SetPos",
         [](NotificationTest& t, DialogDriver&, CWnd&) { t.Get<CSpinButtonCtrl>(kSpin).SetPos(7); },
         {"1030:EN_CHANGE"}},
        {"tab: user selection",
         [](auto&, DialogDriver& d, CWnd&) { d.Tab(kTab, 1); },
         {"1040:TCN_SELCHANGE"}},
        {"tab: the selected tab again", [](auto&, DialogDriver& d, CWnd&) { d.Tab(kTab, 0); }, {}},
        {"tab: SetCurSel",
         [](NotificationTest& t, DialogDriver&, CWnd&) { t.Get<CTabCtrl>(kTab).SetCurSel(1); },
         {}},
        {"colour button: OK",
         [](auto&, DialogDriver& d, CWnd&) { d.ChooseColor(kColor, RGB(255, 0, 0)); },
         {"0x465 1050 0x0000FF"}},
        {"colour button: Cancel",
         [](NotificationTest& t, DialogDriver& d, CWnd&) {
             t.env->ColorDialogs().Cancel();
             d.Click(kColor);
         },
         {}},
        {"colour button: SetColor",
         [](NotificationTest& t, DialogDriver&, CWnd&) {
             t.Get<CColorButton>(kColor).SetColor(RGB(1, 2, 3));
         },
         {}},
        {"picture button: click",
         [](auto&, DialogDriver& d, CWnd&) { d.Click(kPictureButton); },
         {"1091:BN_CLICKED"}},
        {"scroll bar: user drag",
         [](NotificationTest& t, DialogDriver&, CWnd&) {
             t.Item(kScroll)->GetPeer()->UserScroll(SB_THUMBTRACK, 40);
         },
         {"vscroll 5 40 1095"}},
        {"scroll bar: SetScrollPos",
         [](NotificationTest& t, DialogDriver&, CWnd&) {
             t.Get<CScrollBar>(kScroll).SetScrollPos(40);
         },
         {}},
        {"focus: typing, then clicking OK",
         [](auto&, DialogDriver& d, CWnd&) {
             d.Type(kEdit, "5");
             d.Click(IDOK);
         },
         {"1001:EN_SETFOCUS", "1001:EN_CHANGE", "1001:EN_KILLFOCUS", "1:BN_CLICKED"}},
        {"focus: from one edit to the next",
         [](auto&, DialogDriver& d, CWnd&) {
             d.Focus(kEdit);
             d.Focus(kRadius);
         },
         {"1001:EN_SETFOCUS", "1001:EN_KILLFOCUS", "1070:EN_SETFOCUS"}},
    };
    for (const Row& row : rows)
        Run(row);
    EXPECT_EQ(Control<CColorButton>(kColor).GetColor(), 0u); // a fresh window after the rows
}

INSTANTIATE_TEST_SUITE_P(Peers, NotificationTest, ::testing::ValuesIn(PeerFamilies()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace conformance

// Dialogs: data exchange both ways and its failures, the dialog keys, modal
// results, modeless life and the modal script.
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "tests/afxui_conformance/conformance.h"

namespace conformance
{
namespace
{

using afxui::headless::ModalScript;

constexpr UINT kDataTemplate = 9101;
constexpr UINT kInnerTemplate = 9102;

enum : int {
    kInt = 2001,
    kUInt = 2002,
    kLong = 2003,
    kFloat = 2004,
    kDouble = 2005,
    kString = 2006,
    kCheck3 = 2010,
    kRadio1 = 2020,
    kRadio2 = 2021,
    kRadio3 = 2022,
    kAfterRadios = 2023,
    kComboList = 2030,
    kComboDrop = 2031,
    kListBox = 2032,
    kWantReturn = 2040,
    kOpenInner = 2050,
};

DialogTemplate DataTemplate()
{
    DialogTemplate t;
    t.nID = kDataTemplate;
    t.strCaption = "Data";
    t.size = CSize(260, 200);
    auto edit = [](int id, int row) {
        return AfxDialogControl(id, AfxCtl::edit, "", CRect(10, 10 + 14 * row, 80, 22 + 14 * row),
                                WS_VISIBLE | WS_TABSTOP);
    };
    DialogControl comboList = AfxDialogControl(kComboList, AfxCtl::comboList, "",
                                               CRect(100, 10, 170, 60), WS_VISIBLE | WS_TABSTOP);
    comboList.items = {"e-format", "f-format", "g-format"};
    DialogControl comboDrop = AfxDialogControl(kComboDrop, AfxCtl::comboDrop, "",
                                               CRect(100, 30, 170, 80), WS_VISIBLE | WS_TABSTOP);
    comboDrop.items = {"Steel", "Concrete"};
    DialogControl list = AfxDialogControl(kListBox, AfxCtl::listBox, "", CRect(100, 50, 170, 90),
                                          WS_VISIBLE | WS_TABSTOP);
    list.items = {"one", "two", "three"};
    t.Add(edit(kInt, 0))
        .Add(edit(kUInt, 1))
        .Add(edit(kLong, 2))
        .Add(edit(kFloat, 3))
        .Add(edit(kDouble, 4))
        .Add(edit(kString, 5))
        .Add(AfxDialogControl(kCheck3, AfxCtl::auto3State, "Loads", CRect(10, 100, 80, 110)))
        .Add(AfxRadioColumn(CPoint(10, 115), 60,
                            {{kRadio1, "T15"}, {kRadio2, "T18"}, {kRadio3, "T21"}}))
        .Add(AfxDialogControl(kAfterRadios, AfxCtl::radio, "Other", CRect(10, 155, 80, 165),
                              WS_VISIBLE | WS_GROUP))
        .Add(comboList)
        .Add(comboDrop)
        .Add(list)
        .Add(AfxDialogControl(kWantReturn, AfxCtl::multiEdit, "", CRect(100, 100, 170, 140),
                              WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN))
        .Add(AfxDialogControl(kOpenInner, AfxCtl::push, "&More", CRect(180, 100, 230, 114)))
        .Add(AfxButtonRow(250, 180, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

DialogTemplate InnerTemplate()
{
    DialogTemplate t;
    t.nID = kInnerTemplate;
    t.strCaption = "Inner";
    t.size = CSize(120, 60);
    t.Add(AfxDialogControl(kInt, AfxCtl::edit, "", CRect(10, 10, 60, 22)))
        .Add(AfxButtonRow(110, 40, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

const CResourceModule s_resources("conformance_dialogs", CResourceModule::program,
                                  [](CResourceModule& m) {
                                      m.Add(kDataTemplate, DataTemplate());
                                      m.Add(kInnerTemplate, InnerTemplate());
                                  });

// Which fields take part in the exchange, in the order given.
enum Field { fInt, fUInt, fLong, fFloat, fDouble, fString, fCheck, fRadio, fCombo, fDrop, fList };

class CDataDialog : public CDialog
{
public:
    CDataDialog() : CDialog(kDataTemplate) {}

    std::vector<Field> fields{fInt,   fUInt,  fLong,  fFloat, fDouble, fString,
                              fCheck, fRadio, fCombo, fDrop,  fList};
    bool rangeInt = false; // 0 to 100 on the int
    int m_int = 7;
    UINT m_uint = 8;
    long m_long = 9;
    float m_float = 0.25f;
    double m_double = 2.5;
    CString m_str = "text";
    int m_check = 0, m_radio = 0, m_combo = 0, m_list = 0;
    CString m_drop = "Steel";
    CListBox m_listCtrl;
    int changes = 0;                  // EN_CHANGE of kInt
    bool sawFailure = false;          // DoDataExchange saw the flag
    std::vector<std::string> showLog; // WM_SHOWWINDOW
    std::function<void()> onMore;     // the "More" button
    std::function<void()> onKillInt;  // EN_KILLFOCUS of kInt
    bool rangeDouble = false;         // DDV_Range (> 0, "Thickness", "mm") on the double
    bool namedDouble = false;         // the same through DDX_Number

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        for (Field f : fields) {
            switch (f) {
            case fInt:
                DDX_Text(pDX, kInt, m_int);
                if (rangeInt)
                    DDV_MinMaxInt(pDX, m_int, 0, 100);
                break;
            case fUInt:
                DDX_Text(pDX, kUInt, m_uint);
                break;
            case fLong:
                DDX_Text(pDX, kLong, m_long);
                break;
            case fFloat:
                DDX_Text(pDX, kFloat, m_float);
                break;
            case fDouble:
                if (namedDouble) {
                    DDX_Number(pDX, kDouble, m_double, AfxRange::Positive(), "Thickness", "mm");
                    break;
                }
                DDX_Text(pDX, kDouble, m_double);
                if (rangeDouble)
                    DDV_Range(pDX, m_double, AfxRange::Positive(), "Thickness", "mm");
                break;
            case fString:
                DDX_Text(pDX, kString, m_str);
                break;
            case fCheck:
                DDX_Check(pDX, kCheck3, m_check);
                break;
            case fRadio:
                DDX_Radio(pDX, kRadio1, m_radio);
                break;
            case fCombo:
                DDX_CBIndex(pDX, kComboList, m_combo);
                break;
            case fDrop:
                DDX_CBString(pDX, kComboDrop, m_drop);
                break;
            case fList:
                DDX_Control(pDX, kListBox, m_listCtrl);
                DDX_LBIndex(pDX, kListBox, m_list);
                break;
            }
        }
        sawFailure = pDX->HasFailed();
    }
    void OnChangeInt() { ++changes; }
    void OnKillInt()
    {
        if (onKillInt)
            onKillInt();
    }
    void OnMore()
    {
        if (onMore)
            onMore();
    }
    void OnShowWindow(BOOL bShow, UINT) { showLog.push_back(bShow ? "show" : "hide"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDataDialog, CDialog)
ON_EN_CHANGE(kInt, OnChangeInt)
ON_EN_KILLFOCUS(kInt, OnKillInt)
ON_BN_CLICKED(kOpenInner, OnMore)
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

class DialogsTest : public ConformanceTest
{
protected:
    // A modeless data dialog with only the given fields in its exchange.
    std::unique_ptr<CDataDialog> Open(std::vector<Field> fields)
    {
        auto dlg = std::make_unique<CDataDialog>();
        dlg->fields = std::move(fields);
        EXPECT_TRUE(dlg->Create(kDataTemplate, window.get()));
        return dlg;
    }
    CString TextOf(CDialog& dlg, int nID)
    {
        CString text;
        dlg.GetDlgItemText(nID, text);
        return text;
    }
};

// The process's numeric locale for the scope, if one of the names exists.
class CommaLocale
{
public:
    CommaLocale()
    {
        m_old = std::setlocale(LC_NUMERIC, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
            if (std::setlocale(LC_NUMERIC, name)) {
                m_active = true;
                return;
            }
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, m_old.c_str()); }
    bool Active() const { return m_active; }

private:
    std::string m_old;
    bool m_active = false;
};

TEST_P(DialogsTest, TextExchangeWritesEachTypeInItsFormat)
{
    auto check = [&](const char* where) {
        auto dlg = Open({fInt, fUInt, fLong, fFloat, fDouble, fString});
        dlg->m_int = -5;
        dlg->m_uint = 4000000000u;
        dlg->m_long = -2147483647L - 1;
        dlg->m_float = 0.498f;
        dlg->m_double = 1e-7;
        dlg->m_str = "a & b";
        ASSERT_TRUE(dlg->UpdateData(FALSE));
        EXPECT_EQ(TextOf(*dlg, kInt), "-5") << where;
        EXPECT_EQ(TextOf(*dlg, kUInt), "4000000000") << where;
        EXPECT_EQ(TextOf(*dlg, kLong), "-2147483648") << where;
        EXPECT_EQ(TextOf(*dlg, kFloat), "0.498") << where;
        EXPECT_EQ(TextOf(*dlg, kDouble), "1e-07") << where;
        EXPECT_EQ(TextOf(*dlg, kString), "a & b") << where;
        dlg->m_double = 0.1;
        dlg->m_float = 1.0f / 3.0f;
        dlg->UpdateData(FALSE);
        EXPECT_EQ(TextOf(*dlg, kDouble), "0.1") << where;
        EXPECT_EQ(TextOf(*dlg, kFloat), "0.33333334") << where;
        // Read back, the written float text gives the same float.
        ASSERT_TRUE(dlg->UpdateData(TRUE));
        EXPECT_EQ(dlg->m_float, 1.0f / 3.0f);
        EXPECT_EQ(dlg->m_uint, 4000000000u);
        // Doubles come back bit for bit too, in the shortest text that does.
        for (double value : {1.0 / 3.0, 210000.0000001, 0.3, 100.0 / 25.4, -1e-300}) {
            dlg->m_double = value;
            dlg->UpdateData(FALSE);
            dlg->m_double = 0.0;
            ASSERT_TRUE(dlg->UpdateData(TRUE));
            EXPECT_EQ(dlg->m_double, value) << where << " " << TextOf(*dlg, kDouble).GetString();
        }
        dlg->m_double = 0.3;
        dlg->UpdateData(FALSE);
        EXPECT_EQ(TextOf(*dlg, kDouble), "0.3") << where;
    };
    check("C locale");
    CommaLocale comma;
    if (comma.Active())
        check("comma locale");
}

struct ReadCase {
    Field field;
    int nID;
    const char* text;
    bool accepted;
    double value; // when accepted
};

TEST_P(DialogsTest, TextExchangeReadsNumbersWithoutTheLocaleAndRefusesTheRest)
{
    const ReadCase cases[] = {
        {fInt, kInt, " 42 ", true, 42},
        {fInt, kInt, "\t-2147483648", true, -2147483648.0},
        {fInt, kInt, "2147483648", false, 0},
        {fInt, kInt, "12abc", false, 0},
        {fInt, kInt, "", false, 0},
        {fInt, kInt, "1.5", false, 0},
        {fUInt, kUInt, "4294967295", true, 4294967295.0},
        {fUInt, kUInt, "-1", false, 0},
        {fUInt, kUInt, "4294967296", false, 0},
        {fLong, kLong, "-7", true, -7},
        {fLong, kLong, "3000000000", false, 0},
        {fDouble, kDouble, "1.5", true, 1.5},
        {fDouble, kDouble, " 2e3\t", true, 2000},
        {fDouble, kDouble, "-.25", true, -0.25},
        {fDouble, kDouble, "1,5", false, 0},
        {fDouble, kDouble, "nan", false, 0},
        {fDouble, kDouble, "0x10", false, 0},
        {fDouble, kDouble, "1e400", false, 0},
        {fDouble, kDouble, "   ", false, 0},
        {fFloat, kFloat, "0.5", true, 0.5},
        {fFloat, kFloat, "1e39", false, 0},
    };
    auto run = [&](const char* where) {
        for (const ReadCase& c : cases) {
            SCOPED_TRACE(std::string(where) + ": \"" + c.text + "\"");
            auto dlg = Open({c.field});
            DialogDriver(*dlg).Type(c.nID, c.text);
            if (!c.accepted)
                env->Boxes().Expect(c.field == fFloat || c.field == fDouble
                                        ? "Please enter a number."
                                        : "Please enter an integer.");
            EXPECT_EQ(dlg->UpdateData(TRUE) != FALSE, c.accepted);
            if (!c.accepted) {
                EXPECT_EQ(dlg->m_int, 7); // untouched
                continue;
            }
            const double got = c.field == fInt     ? dlg->m_int
                               : c.field == fUInt  ? dlg->m_uint
                               : c.field == fLong  ? dlg->m_long
                               : c.field == fFloat ? dlg->m_float
                                                   : dlg->m_double;
            EXPECT_EQ(got, c.value);
        }
    };
    run("C locale");
    CommaLocale comma;
    if (comma.Active())
        run("comma locale");
}

TEST_P(DialogsTest, AFailureShowsOneBoxSelectsTheControlAndStopsTheExchange)
{
    auto dlg = Open({fString, fInt, fDouble});
    dlg->rangeInt = true;
    DialogDriver d(*dlg);
    d.Type(kString, "new");
    d.Type(kInt, "150");
    d.Type(kDouble, "not a number"); // would fail as well: no second box
    d.Focus(kString);
    env->Boxes().Expect("Please enter an integer between 0 and 100.");
    EXPECT_FALSE(dlg->UpdateData(TRUE));
    EXPECT_TRUE(dlg->sawFailure);
    EXPECT_EQ(dlg->m_str, "new");  // before the failing control: written
    EXPECT_EQ(dlg->m_double, 2.5); // after it: not
    EXPECT_EQ(CWnd::GetFocus(), dlg->GetDlgItem(kInt));
    int start = -1, end = -1;
    static_cast<CEdit*>(dlg->GetDlgItem(kInt))->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);
    ASSERT_EQ(env->Boxes().Shown().size(), 1u);
    EXPECT_EQ(env->Boxes().Shown()[0].type & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
}

TEST_P(DialogsTest, AnExchangeNeverStartsAnotherFromItsOwnFocusMove)
{
    // A refused control takes the focus from one whose kill-focus handler
    // exchanges: that move is the exchange's, not the user's, and notifies
    // nothing, so no exchange runs inside another.
    auto dlg = Open({fInt, fDouble});
    DialogDriver d(*dlg);
    d.Type(kDouble, "abc");
    d.Focus(kInt);
    int kills = 0;
    dlg->onKillInt = [&] {
        ++kills;
        dlg->UpdateData(TRUE);
    };
    env->Boxes().Expect("Please enter a number.");
    EXPECT_NO_THROW(EXPECT_FALSE(dlg->UpdateData(TRUE)));
    EXPECT_EQ(kills, 0);
    EXPECT_EQ(CWnd::GetFocus(), dlg->GetDlgItem(kDouble));
    ASSERT_EQ(env->Boxes().Shown().size(), 1u);
    // The user's own move still notifies.
    d.Focus(kInt);
    env->Boxes().Expect("Please enter a number.");
    d.Focus(kString);
    EXPECT_EQ(kills, 1);
}

TEST_P(DialogsTest, AQuietExchangeTakesEveryValidValueAndTellsNothing)
{
    auto dlg = Open({fInt, fDouble, fString, fFloat});
    dlg->rangeInt = true;
    DialogDriver d(*dlg);
    d.Type(kInt, "150");      // out of its range: the member keeps 7
    d.Type(kDouble, "abc");   // no number: the member keeps 2.5
    d.Type(kFloat, "0.5");    // valid after the refusals: taken
    d.Type(kString, "new");   // valid: taken
    EXPECT_FALSE(dlg->TakeQuietly());
    EXPECT_TRUE(env->Boxes().Shown().empty());
    EXPECT_EQ(dlg->m_int, 7);
    EXPECT_EQ(dlg->m_double, 2.5);
    EXPECT_EQ(dlg->m_float, 0.5f);
    EXPECT_EQ(dlg->m_str, "new");
    EXPECT_EQ(CWnd::GetFocus(), dlg->GetDlgItem(kString)) << "the focus stays";
    // The loud exchange afterwards tells the first refusal as ever.
    env->Boxes().Expect("Please enter an integer between 0 and 100.");
    EXPECT_FALSE(dlg->UpdateData(TRUE));
    EXPECT_EQ(CWnd::GetFocus(), dlg->GetDlgItem(kInt));
}

TEST_P(DialogsTest, PhysicalRangesNameTheFieldTheValueAndTheRange)
{
    struct Case {
        const char* text;
        const char* box; // null: accepted
    };
    const Case cases[] = {
        {"0.5", nullptr},
        {"0", "Thickness = 0 mm is out of range.\nEnter a value > 0 mm and <= 1e+15 mm."},
        {"-10", "Thickness = -10 mm is out of range.\nEnter a value > 0 mm and <= 1e+15 mm."},
        // Every range is finite: a slip of the exponent is refused.
        {"1e300", "Thickness = 1e+300 mm is out of range.\nEnter a value > 0 mm and <= 1e+15 mm."},
        {"1e15", nullptr}};
    // Through DDX_Text and DDV_Range, and through DDX_Number.
    for (const bool named : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.text << (named ? " named" : ""));
            auto dlg = Open({fDouble});
            dlg->rangeDouble = !named;
            dlg->namedDouble = named;
            DialogDriver(*dlg).Type(kDouble, c.text);
            if (c.box)
                env->Boxes().Expect(c.box);
            EXPECT_EQ(dlg->UpdateData(TRUE) != FALSE, c.box == nullptr);
            if (c.box) {
                EXPECT_EQ(CWnd::GetFocus(), dlg->GetDlgItem(kDouble));
            }
            // A refused value never reaches the member.
            EXPECT_EQ(dlg->m_double, c.box ? 2.5 : std::strtod(c.text, nullptr));
        }
    }
    // A text that is no number: the standard text, or with DDX_Number the
    // field's name; the member keeps its value either way.
    for (const bool named : {false, true}) {
        auto dlg = Open({fDouble});
        dlg->namedDouble = named;
        DialogDriver(*dlg).Type(kDouble, "1,5");
        env->Boxes().Expect(named ? "Please enter a number for Thickness." : "Please enter a number.");
        EXPECT_FALSE(dlg->UpdateData(TRUE));
        EXPECT_EQ(CWnd::GetFocus(), dlg->GetDlgItem(kDouble));
        EXPECT_EQ(dlg->m_double, 2.5);
    }
    // The range texts of the other bound kinds.
    EXPECT_EQ(AfxRange::UpTo(0.0, 0.5).Text(""), ">= 0 and < 0.5");
    EXPECT_EQ(AfxRange::Between(1.0, 100.0).Text(""), "between 1 and 100");
    EXPECT_EQ(AfxRange::AtLeast(1.0).Text(""), "between 1 and 1e+15");
    EXPECT_EQ(AfxRange::Positive().Text("mm"), "> 0 mm and <= 1e+15 mm");
    EXPECT_EQ(AfxRange::Signed().Text("kN/m"), "between -1e+15 kN/m and 1e+15 kN/m");
    EXPECT_EQ(AfxRangeMessage(0.7, AfxRange::UpTo(0.0, 0.5), "Poisson's ratio", ""),
              "Poisson's ratio = 0.7 is out of range.\nEnter a value >= 0 and < 0.5.");
}

TEST_P(DialogsTest, RangeChecksRunOnlyWhenSavingWithInclusiveBounds)
{
    struct Case {
        const char* text;
        const char* box; // null: accepted
    };
    const Case cases[] = {{"0", nullptr},
                          {"100", nullptr},
                          {"-1", "Please enter an integer between 0 and 100."},
                          {"101", "Please enter an integer between 0 and 100."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto dlg = Open({fInt});
        dlg->rangeInt = true;
        const int before = dlg->m_int;
        DialogDriver(*dlg).Type(kInt, c.text);
        if (c.box)
            env->Boxes().Expect(c.box);
        EXPECT_EQ(dlg->UpdateData(TRUE) != FALSE, c.box == nullptr);
        EXPECT_EQ(dlg->m_int, c.box ? before : std::atoi(c.text));
    }
    // Loading an out-of-range member checks nothing.
    auto dlg = Open({fInt});
    dlg->rangeInt = true;
    dlg->m_int = 500;
    EXPECT_TRUE(dlg->UpdateData(FALSE));
    EXPECT_EQ(TextOf(*dlg, kInt), "500");
}

TEST_P(DialogsTest, RangeChecksOfEachTypeShowTheirBounds)
{
    auto dlg = Open({});
    struct Case {
        std::function<void(CDataExchange*)> check;
        const char* box; // null: accepted
    };
    const Case cases[] = {
        {[](CDataExchange* dx) { DDV_MinMaxUInt(dx, 11u, 0u, 10u); },
         "Please enter an integer between 0 and 10."},
        {[](CDataExchange* dx) { DDV_MinMaxUInt(dx, 3000000000u, 0u, 4000000000u); }, nullptr},
        {[](CDataExchange* dx) { DDV_MinMaxUInt(dx, 1u, 2u, 4000000000u); },
         "Please enter an integer between 2 and 4000000000."},
        {[](CDataExchange* dx) { DDV_MinMaxDouble(dx, 10.5, 0.0, 10.0); },
         "Please enter a number between 0 and 10."},
        {[](CDataExchange* dx) { DDV_MinMaxDouble(dx, 10.0, 0.0, 10.0); }, nullptr},
        {[](CDataExchange* dx) { DDV_MinMaxFloat(dx, -0.5f, 0.25f, 1.5f); },
         "Please enter a number between 0.25 and 1.5."},
        {[](CDataExchange* dx) { DDV_MaxChars(dx, "abcd", 3); },
         "Please enter no more than 3 characters."},
        {[](CDataExchange* dx) { DDV_MaxChars(dx, "abc", 3); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box ? c.box : "accepted");
        CDataExchange save(dlg.get(), TRUE);
        save.PrepareEditCtrl(kString);
        if (c.box)
            env->Boxes().Expect(c.box);
        c.check(&save);
        EXPECT_EQ(save.HasFailed(), c.box != nullptr);
        // After a failure, and when loading, the check does nothing.
        c.check(&save);
        CDataExchange load(dlg.get(), FALSE);
        c.check(&load);
        EXPECT_FALSE(load.HasFailed());
    }
}

TEST_P(DialogsTest, ChecksRadiosListsAndCombosExchangeBothWays)
{
    auto dlg = Open({fCheck, fRadio, fCombo, fDrop, fList});
    DialogDriver d(*dlg);
    // Writing.
    dlg->m_check = 2;
    dlg->m_radio = 2;
    dlg->m_combo = 1;
    dlg->m_drop = "conc"; // the first item with that prefix
    dlg->m_list = 2;
    ASSERT_TRUE(dlg->UpdateData(FALSE));
    EXPECT_EQ(d.Check(kCheck3), 2);
    EXPECT_EQ(d.Check(kRadio1) + d.Check(kRadio2), 0);
    EXPECT_EQ(d.Check(kRadio3), 1);
    EXPECT_EQ(d.CurSel(kComboList), 1);
    EXPECT_EQ(d.CurSel(kComboDrop), 1);
    EXPECT_EQ(d.Text(kComboDrop), "Concrete");
    EXPECT_EQ(d.CurSel(kListBox), 2);
    EXPECT_EQ(dlg->m_listCtrl.GetSafeHwnd(), dlg->GetDlgItem(kListBox)->GetSafeHwnd());
    // An editable combo takes a text no item starts with; -1 clears the radios.
    dlg->m_drop = "Timber";
    dlg->m_radio = -1;
    ASSERT_TRUE(dlg->UpdateData(FALSE));
    EXPECT_EQ(d.Text(kComboDrop), "Timber");
    EXPECT_EQ(d.Check(kRadio1) + d.Check(kRadio2) + d.Check(kRadio3), 0);
    EXPECT_EQ(d.Check(kAfterRadios), 0); // the next group is not touched

    // Reading what the user did.
    ASSERT_TRUE(dlg->UpdateData(TRUE));
    EXPECT_EQ(dlg->m_radio, -1);
    d.Click(kCheck3); // 2 -> 0
    d.Click(kRadio2);
    d.Select(kComboList, 2);
    d.Type(kComboDrop, "Glass");
    d.Select(kListBox, 0);
    ASSERT_TRUE(dlg->UpdateData(TRUE));
    EXPECT_EQ(dlg->m_check, 0);
    EXPECT_EQ(dlg->m_radio, 1);
    EXPECT_EQ(dlg->m_combo, 2);
    EXPECT_EQ(dlg->m_drop, "Glass");
    EXPECT_EQ(dlg->m_list, 0);
}

TEST_P(DialogsTest, InitDialogFillsTheControlsAndEditsNotifyIt)
{
    CDataDialog dlg;
    dlg.m_int = 12;
    ModalScript script;
    script.Dialog(kDataTemplate, [&](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(kInt), "12");
        EXPECT_EQ(dlg.changes, 1); // UpdateData(FALSE) fired EN_CHANGE
        d.Type(kInt, "13");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_int, 13);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST_P(DialogsTest, OkWithABadValueKeepsTheDialogOpen)
{
    CDataDialog dlg;
    dlg.rangeInt = true;
    ModalScript script;
    script.Dialog(kDataTemplate, [&](DialogDriver& d, CDialog& self) {
        d.Type(kInt, "101");
        env->Boxes().Expect("Please enter an integer between 0 and 100.");
        d.PressOK();
        EXPECT_FALSE(self.IsEnded());
        d.Type(kInt, "100");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_int, 100);
}

TEST_P(DialogsTest, ModalResultsAndDialogKeys)
{
    struct Case {
        const char* what;
        std::function<void(DialogDriver&, CDialog&)> act;
        INT_PTR result;
    };
    const Case cases[] = {
        {"EndDialog(-1)", [](DialogDriver&, CDialog& dlg) { dlg.EndDialog(-1); }, -1},
        {"EndDialog(7)", [](DialogDriver&, CDialog& dlg) { dlg.EndDialog(7); }, 7},
        {"Enter in an edit",
         [](DialogDriver& d, CDialog&) {
             d.Focus(kString);
             d.PressEnter();
         },
         IDOK},
        {"Esc", [](DialogDriver& d, CDialog&) { d.PressEscape(); }, IDCANCEL},
        {"Cancel", [](DialogDriver& d, CDialog&) { d.PressCancel(); }, IDCANCEL},
        {"close box", [](DialogDriver& d, CDialog&) { d.Close(); }, IDCANCEL},
        {"Enter in a want-return edit",
         [](DialogDriver& d, CDialog& dlg) {
             d.Type(kWantReturn, "a");
             d.PressEnter();
             EXPECT_FALSE(dlg.IsEnded());
             EXPECT_EQ(d.Text(kWantReturn), "a\r\n");
             d.PressEscape();
         },
         IDCANCEL},
        {"Enter with OK disabled",
         [](DialogDriver& d, CDialog& dlg) {
             dlg.GetDlgItem(IDOK)->EnableWindow(FALSE);
             d.PressEnter();
             EXPECT_FALSE(dlg.IsEnded());
             dlg.EndDialog(3);
         },
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDataDialog dlg;
        ModalScript script;
        script.Dialog(kDataTemplate, c.act);
        EXPECT_EQ(dlg.DoModal(), c.result);
    }
}

TEST_P(DialogsTest, ModelessDialogsOutliveTheirWindowAndCanComeBack)
{
    CWnd main;
    main.Create(nullptr, "Main", WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
    AfxSetMainWnd(&main);
    CDataDialog dlg;
    dlg.m_int = 3;
    ASSERT_TRUE(dlg.Create(kDataTemplate, nullptr));
    EXPECT_EQ(dlg.GetParent(), &main); // null means the main window
    EXPECT_EQ(dlg.showLog, std::vector<std::string>{"show"});
    EXPECT_EQ(DialogDriver(dlg).Text(kInt), "3");
    dlg.ShowWindow(SW_HIDE);
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(dlg.showLog, (std::vector<std::string>{"show", "hide", "show"}));
    DialogDriver(dlg).Type(kInt, "4");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.m_int, 4);
    ASSERT_TRUE(dlg.Create(kDataTemplate, nullptr));
    EXPECT_EQ(DialogDriver(dlg).Text(kInt), "4");
    dlg.DestroyWindow();
    AfxSetMainWnd(nullptr);
}

class CInnerDialog : public CDialog
{
public:
    CInnerDialog() : CDialog(kInnerTemplate) {}
    int m_value = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kInt, m_value); }
};

TEST_P(DialogsTest, ScriptStepsRunInOrderAndNestedModalsTakeTheNextStep)
{
    CDataDialog outer;
    CInnerDialog inner;
    std::vector<std::string> order;
    outer.onMore = [&] {
        order.push_back("inner returns " + std::to_string(inner.DoModal()));
        order.push_back(AfxMessageBox("Apply to all?", MB_YESNO) == IDYES ? "yes" : "no");
    };
    ModalScript script;
    script
        .Dialog(kDataTemplate,
                [&](DialogDriver& d, CDialog&) {
                    order.push_back("outer");
                    d.Click(kOpenInner);
                    d.PressCancel();
                })
        .Dialog<CInnerDialog>(kInnerTemplate,
                              [&](DialogDriver& d, CInnerDialog& dlg) {
                                  order.push_back("inner");
                                  d.Type(kInt, "5");
                                  d.PressOK();
                                  EXPECT_EQ(dlg.m_value, 5);
                              })
        .MessageBox("Apply to all?", IDYES);
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(order, (std::vector<std::string>{"outer", "inner", "inner returns 1", "yes"}));
    EXPECT_EQ(script.Taken(), 3);
}

TEST_P(DialogsTest, UnscriptedModalsAndUnusedStepsFailTheTest)
{
    // Without a script, a backend with a real modal loop would wait for a user.
    if (!GetParam().runsModalLoops) {
        CInnerDialog dlg;
        INT_PTR result = 0;
        EXPECT_NONFATAL_FAILURE(result = dlg.DoModal(), "unexpected modal dialog 9102 'Inner'");
        EXPECT_EQ(result, IDCANCEL);
    }
    {
        ModalScript script;
        script.Dialog(kDataTemplate, [](DialogDriver& d, CDialog&) { d.PressOK(); });
        CInnerDialog dlg;
        EXPECT_NONFATAL_FAILURE(dlg.DoModal(), "unexpected modal dialog 9102 'Inner'");
        EXPECT_NONFATAL_FAILURE(script.Verify(), "1 modal step(s) were never used: dialog 9101");
    }
    {
        ModalScript script;
        script.Dialog(kInnerTemplate, [](DialogDriver&, CDialog&) {});
        CInnerDialog dlg;
        EXPECT_NONFATAL_FAILURE(dlg.DoModal(), "was left open by its step");
    }
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Peers, DialogsTest, ::testing::ValuesIn(PeerFamilies()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace conformance

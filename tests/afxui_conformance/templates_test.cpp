// Windows built from templates: first states, builders, dialog units,
// controls by id and binding, texts and mnemonics, pictures, the list
// editor, and what the driver refuses to do.
#include "tests/afxui_conformance/conformance.h"

namespace conformance
{
namespace
{

class TemplatesTest : public ConformanceTest
{
};

TEST_P(TemplatesTest, ControlsStartAsTheTemplateSaysInDialogUnits)
{
    EXPECT_EQ(driver->Caption(), "Conformance");
    EXPECT_FALSE(driver->Visible(kHidden));
    EXPECT_EQ(driver->Text(kHidden), "Same name");
    EXPECT_TRUE(driver->Visible(kEdit));
    EXPECT_FALSE(driver->Enabled(kDisabled));
    EXPECT_TRUE(driver->Enabled(kEdit));

    // A dialog unit is a quarter of the average letter width across and an
    // eighth of the font height down, from the backend's dialog font
    // (headless: 6 and 13 pixels; Qt: the real font's metrics).
    int letters = 0, height = 0;
    backend->GetDialogFontMetrics(letters, height);
    const CSize base = AfxGetDialogBaseUnits();
    EXPECT_EQ(base, CSize(AfxMulDiv(letters, 1, 52), height));
    const auto x = [&](int units) { return AfxMulDiv(units, base.cx, 4); };
    const auto y = [&](int units) { return AfxMulDiv(units, base.cy, 8); };
    CRect rect;
    Item(kEdit)->GetWindowRect(rect);
    EXPECT_EQ(rect, CRect(x(10), y(10), x(60), y(22))); // (10, 10, 60, 22) units
    CRect client;
    window->GetClientRect(client);
    EXPECT_EQ(client, CRect(0, 0, x(300), y(240)));
    if (CString(backend->GetName()) == "headless") {
        EXPECT_EQ(base, CSize(6, 13));
        EXPECT_EQ(rect, CRect(15, 16, 90, 36));
        EXPECT_EQ(client, CRect(0, 0, 450, 390));
    }
    auto* peer = dynamic_cast<afxui::headless::HeadlessPeer*>(Item(kEdit)->GetPeer());
    if (peer) {
        EXPECT_EQ(peer->m_rect, CRect(15, 16, 90, 36));
        EXPECT_TRUE(peer->m_bVisible);
        auto* hidden = dynamic_cast<afxui::headless::HeadlessPeer*>(Item(kHidden)->GetPeer());
        EXPECT_FALSE(hidden->m_bVisible);
    }
}

TEST_P(TemplatesTest, BuildersGiveTheSamePlainTableAsWrittenByHand)
{
    DialogTemplate built;
    built
        .Add(AfxEditRows(CRect(5, 5, 150, 45), "Mesh", {{"Min:", 16123, "mm"}, {"Max:", 16124}},
                         AfxRowLayout{30, 40, 20, 16}))
        .Add(AfxRadioColumn(CPoint(160, 5), 60, {{442, "3 points"}, {1063, "7 points"}}))
        .Add(AfxButtonRow(220, 60, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}))
        .Add(AfxPictureBeside(CRect(5, 80, 45, 110), 16012, 1201, "T15", 60));

    const auto control = AfxDialogControl;
    const DWORD edit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    DialogControl picture =
        control(IDC_STATIC, AfxCtl::picture, "", CRect(5, 80, 45, 110), WS_VISIBLE);
    picture.nBitmapID = 16012;
    const std::vector<DialogControl> byHand = {
        control(IDC_STATIC, AfxCtl::groupBox, "Mesh", CRect(5, 5, 150, 45), WS_VISIBLE),
        control(IDC_STATIC, AfxCtl::staticText, "Min:", CRect(12, 19, 42, 27), WS_VISIBLE),
        control(16123, AfxCtl::edit, "", CRect(46, 17, 86, 29), edit),
        control(IDC_STATIC, AfxCtl::staticText, "mm", CRect(90, 19, 110, 27), WS_VISIBLE),
        control(IDC_STATIC, AfxCtl::staticText, "Max:", CRect(12, 35, 42, 43), WS_VISIBLE),
        control(16124, AfxCtl::edit, "", CRect(46, 33, 86, 45), edit),
        control(442, AfxCtl::radio, "3 points", CRect(160, 5, 220, 15),
                WS_VISIBLE | WS_GROUP | WS_TABSTOP),
        control(1063, AfxCtl::radio, "7 points", CRect(160, 17, 220, 27), WS_VISIBLE),
        control(IDOK, AfxCtl::defPush, "OK", CRect(116, 60, 166, 74), WS_VISIBLE | WS_TABSTOP),
        control(IDCANCEL, AfxCtl::push, "Cancel", CRect(170, 60, 220, 74), WS_VISIBLE | WS_TABSTOP),
        picture,
        control(1201, AfxCtl::staticText, "T15", CRect(49, 80, 109, 110), WS_VISIBLE),
    };
    EXPECT_TRUE(built.controls == byHand);

    // A module holds one template per id.
    EXPECT_THROW(CResourceModule("twice", CResourceModule::library,
                                 [](CResourceModule& m) {
                                     m.Add(9002, DialogTemplate{});
                                     m.Add(9002, DialogTemplate{});
                                 }),
                 std::logic_error);
    EXPECT_THROW(AfxCreateFromTemplate(*window, 9003, nullptr), std::logic_error);
}

TEST_P(TemplatesTest, ControlsByIdStayTheSameObjectAndBindOnce)
{
    CWnd* list = window->GetDlgItem(kList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(window->GetDlgItem(IDC_STATIC), nullptr);
    EXPECT_EQ(window->GetDlgItem(4711), nullptr);

    // Binding a member, as DDX_Control does: both see one control.
    CListBox member;
    EXPECT_TRUE(member.SubclassDlgItem(kList, window.get()));
    EXPECT_EQ(window->GetDlgItem(kList), list);
    member.AddString("Steel");
    EXPECT_EQ(dynamic_cast<CListBox&>(*list).GetCount(), 1);
    EXPECT_TRUE(member.SubclassDlgItem(kList, window.get())); // again: no change

    CListBox second;
    EXPECT_THROW(second.SubclassDlgItem(kList, window.get()), std::logic_error);
    CSpinButtonCtrl wrongKind;
    EXPECT_THROW(wrongKind.SubclassDlgItem(kEdit, window.get()), std::logic_error);

    CStatic picture;
    picture.SubclassDlgItem(kPicture, window.get());
    CSpinButtonCtrl spin;
    spin.SubclassDlgItem(kSpin, window.get());
    spin.SetPos(3);
    EXPECT_EQ(driver->Text(kBuddy), "3");

    // Destroying the window leaves the bound members without it.
    window->DestroyWindow();
    EXPECT_EQ(member.GetSafeHwnd(), nullptr);
    EXPECT_EQ(member.GetCount(), 0);
    EXPECT_EQ(window->GetDlgItem(kList), nullptr);
}

// An edit of the program's own class, bound to a template's edit.
class CCheckedEdit : public CEdit
{
public:
    int m_nKillFocus = 0;

protected:
    void OnKillFocus(CWnd*)
    {
        ++m_nKillFocus;
        Default(); // the edit still tells its parent
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCheckedEdit, CEdit)
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

TEST_P(TemplatesTest, ABoundObjectReceivesTheControlsMessages)
{
    CCheckedEdit edit;
    edit.SubclassDlgItem(kEdit, window.get());
    EXPECT_NE(window->GetDlgItem(kEdit), &edit); // still the template's object
    EXPECT_EQ(CWnd::FromHandle(edit.GetSafeHwnd()), &edit);
    driver->Type(kEdit, "7");
    driver->Click(IDOK);
    EXPECT_EQ(edit.m_nKillFocus, 1);
    EXPECT_EQ(window->Take(), (std::vector<std::string>{"1001:EN_SETFOCUS", "1001:EN_CHANGE",
                                                        "1001:EN_KILLFOCUS", "1:BN_CLICKED"}));
}

TEST_P(TemplatesTest, TextsKeepAmpersandsAndBreakLinesAndMnemonicsFocus)
{
    EXPECT_EQ(driver->Text(kMeshText), "Constrained mesh\r(single quadrilateral region)");
    if (auto* peer = dynamic_cast<afxui::headless::HeadlessPeer*>(Item(kMeshText)->GetPeer())) {
        EXPECT_EQ(peer->m_strDisplayText, "Constrained mesh\n(single quadrilateral region)");
    }
    Item(kMeshText)->SetWindowText("a\r\nb\nc");
    if (auto* peer = dynamic_cast<afxui::headless::HeadlessPeer*>(Item(kMeshText)->GetPeer())) {
        EXPECT_EQ(peer->m_strDisplayText, "a\nb\nc");
    }
    EXPECT_EQ(driver->Text(kCheck), "&Nodes");

    // "&Radius (R)" focuses the edit after it (skipping the "a && b" label).
    driver->Mnemonic('r');
    EXPECT_EQ(CWnd::GetFocus(), Item(kRadius));
    EXPECT_EQ(window->Take(), std::vector<std::string>{"1070:EN_SETFOCUS"});
    // A check box's mnemonic clicks it.
    driver->Mnemonic('N');
    EXPECT_EQ(driver->Check(kCheck), 1);
}

TEST_P(TemplatesTest, PicturesKeepTheirIdsAndAreNeverDeletedByTheControl)
{
    CStatic& picture = Control<CStatic>(kPicture);
    if (auto* peer = dynamic_cast<afxui::headless::HeadlessPeer*>(picture.GetPeer())) {
        EXPECT_EQ(peer->m_nBitmapID, 16070u); // no artwork: a frame with the id
    }
    CBitmap type3, type1;
    type3.LoadBitmap(16181);
    type1.LoadBitmap(16070);
    EXPECT_EQ(type3.GetResourceID(), 16181u);
    EXPECT_EQ(picture.SetBitmap(&type3), nullptr);
    EXPECT_EQ(picture.SetBitmap(&type1), &type3); // the page still owns type3
    EXPECT_EQ(picture.GetBitmap()->GetResourceID(), 16070u);
    if (auto* peer = dynamic_cast<afxui::headless::HeadlessPeer*>(picture.GetPeer())) {
        EXPECT_EQ(peer->m_nBitmapID, 16070u);
    }
    EXPECT_EQ(Control<CPictureButton>(kPictureButton).GetBitmapID(), 551u);
    EXPECT_EQ(driver->Text(kPictureButton), "Plate");
}

TEST_P(TemplatesTest, ListEditorAddsDeletesMovesAndEditsItems)
{
    CListEditCtrl& list = Control<CListEditCtrl>(kListEdit);
    EXPECT_EQ(driver->Text(kListEdit), "&Items:");
    list.InsertItem(-1, "1");
    list.InsertItem(-1, "2");
    driver->Select(kListEdit, 0);
    list.NewItem();                              // after the selection, selected
    Item(kListEdit)->GetPeer()->UserType("1.5"); // edited in place
    EXPECT_EQ(driver->Items(kListEdit), (std::vector<CString>{"1", "1.5", "2"}));
    list.MoveDown();
    EXPECT_EQ(driver->Items(kListEdit), (std::vector<CString>{"1", "2", "1.5"}));
    EXPECT_EQ(list.GetCurSel(), 2);
    list.MoveUp();
    list.MoveUp();
    list.MoveUp(); // already at the top
    EXPECT_EQ(driver->Items(kListEdit), (std::vector<CString>{"1.5", "1", "2"}));
    list.DeleteItem();
    EXPECT_EQ(driver->Items(kListEdit), (std::vector<CString>{"1", "2"}));
    EXPECT_EQ(list.GetCurSel(), 0);
}

TEST_P(TemplatesTest, TheDriverRefusesWhatAUserCannotDo)
{
    struct Case {
        std::function<void(DialogDriver&)> act;
        const char* failure;
    };
    const Case cases[] = {
        {[](DialogDriver& d) { d.Type(kHidden, "x"); }, "control 1060 is hidden"},
        {[](DialogDriver& d) { d.Click(kDisabled); }, "control 1061 is disabled"},
        {[](DialogDriver& d) { d.Type(kReadOnly, "x"); }, "control 1062 is read-only"},
        {[](DialogDriver& d) { d.Click(4711); }, "no control 4711"},
        {[](DialogDriver& d) { d.Type(kComboList, "x"); }, "control 1020 takes no typed text"},
        {[](DialogDriver& d) { d.Select(kComboList, 9); }, "control 1020 has no item 9"},
        {[](DialogDriver& d) { d.SelectString(kComboList, "x-format"); }, "no item \"x-format\""},
    };
    for (const Case& c : cases)
        EXPECT_NONFATAL_FAILURE(c.act(*driver), c.failure);
    EXPECT_EQ(driver->Text(kHidden), "Same name");
    EXPECT_TRUE(window->Take().empty());

    driver->SelectString(kComboList, "G-FORMAT");
    EXPECT_EQ(driver->CurSel(kComboList), 3);
    EXPECT_EQ(driver->Text(kComboList), "g-format");
}

INSTANTIATE_TEST_SUITE_P(Peers, TemplatesTest, ::testing::ValuesIn(PeerFamilies()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace conformance

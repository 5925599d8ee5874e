// Property sheets and pages, and the file, font and colour dialogs.
#include "tests/afxui_conformance/conformance.h"

namespace conformance
{
namespace
{

using afxui::headless::ModalScript;

constexpr UINT kPageA = 9110, kPageB = 9111, kPageC = 9112;
constexpr UINT kCaptionString = 9113;
constexpr int kDigits = 3001;

DialogTemplate PageTemplate(UINT nID, LPCTSTR caption, int height)
{
    DialogTemplate t;
    t.nID = nID;
    t.strCaption = caption;
    t.size = CSize(180, height);
    t.Add(AfxDialogControl(kDigits, AfxCtl::edit, "", CRect(10, 10, 60, 22)));
    return t;
}

const CResourceModule s_resources("conformance_sheets", CResourceModule::program,
                                  [](CResourceModule& m) {
                                      m.Add(kPageA, PageTemplate(kPageA, "Mesh", 80));
                                      m.Add(kPageB, PageTemplate(kPageB, "Storage", 120));
                                      m.Add(kPageC, PageTemplate(kPageC, "Solver", 60));
                                      m.AddStrings({{kCaptionString, "Storage options"}});
                                  });

// A page with one number (0 to 10), logging what the sheet does to it.
class CLogPage : public CPropertyPage
{
public:
    CLogPage(UINT nID, std::vector<std::string>& log, UINT nIDCaption = 0)
        : CPropertyPage(nID, nIDCaption), m_log(log)
    {
    }
    int m_nDigits = 4;
    bool applyResult = true;

    BOOL OnInitDialog() override
    {
        Log("init");
        // Filling the controls fires EN_CHANGE: that is no change by the user.
        m_bInit = true;
        const BOOL result = CPropertyPage::OnInitDialog();
        m_bInit = false;
        return result;
    }
    BOOL OnSetActive() override
    {
        Log("active");
        return CPropertyPage::OnSetActive();
    }
    BOOL OnApply() override
    {
        Log("apply");
        return applyResult ? CPropertyPage::OnApply() : FALSE;
    }
    void OnCancel() override { Log("cancel"); }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kDigits, m_nDigits);
        DDV_MinMaxInt(pDX, m_nDigits, 0, 10);
    }
    void OnChangeDigits()
    {
        if (!m_bInit)
            SetModified(TRUE);
    }
    bool m_bInit = false;
    DECLARE_MESSAGE_MAP()

private:
    void Log(const char* what) { m_log.push_back(std::to_string(GetTemplateID()) + " " + what); }
    std::vector<std::string>& m_log;
};

BEGIN_MESSAGE_MAP(CLogPage, CPropertyPage)
ON_EN_CHANGE(kDigits, OnChangeDigits)
END_MESSAGE_MAP()

class SheetsTest : public ConformanceTest
{
protected:
    std::vector<std::string> log;
    CLogPage a{kPageA, log}, b{kPageB, log, kCaptionString}, c{kPageC, log};

    // A sheet with the three pages; each step acts on it.
    INT_PTR Run(std::function<void(DialogDriver&, CPropertySheet&)> step, int startPage = 0)
    {
        CPropertySheet sheet("Element and mesh control", window.get());
        sheet.AddPage(&a);
        sheet.AddPage(&b);
        sheet.AddPage(&c);
        sheet.SetActivePage(startPage);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet),
                      [&](DialogDriver& d, CDialog&) { step(d, sheet); });
        return sheet.DoModal();
    }
};

TEST_P(SheetsTest, PagesAreMadeWhenFirstShownAndOnlyThoseApply)
{
    c.m_nDigits = 9; // the caller's data behind a page never opened
    const INT_PTR result = Run([&](DialogDriver& d, CPropertySheet& sheet) {
        EXPECT_EQ(d.Caption(), "Element and mesh control");
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL),
                  (std::vector<CString>{"Mesh", "Storage options", "Solver"}));
        d.Type(kDigits, "6");
        d.ActivatePage(1);
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_EQ(d.Text(kDigits), "4"); // the control of the page shown
        d.PressOK();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(log, (std::vector<std::string>{"9110 init", "9110 active", "9111 init", "9111 active",
                                             "9110 apply", "9111 apply"}));
    EXPECT_EQ(a.m_nDigits, 6);
    EXPECT_EQ(c.m_nDigits, 9);
    EXPECT_EQ(a.GetSafeHwnd(), nullptr); // windows gone, pages kept
}

TEST_P(SheetsTest, AFailingPageKeepsTheTabAndARefusedApplyKeepsTheSheet)
{
    b.applyResult = false;
    const INT_PTR result = Run([&](DialogDriver& d, CPropertySheet& sheet) {
        d.ActivatePage(1);
        d.ActivatePage(0);
        d.Type(kDigits, "11");
        env->Boxes().Expect("Please enter an integer between 0 and 10.");
        d.ActivatePage(1);
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        EXPECT_EQ(d.CurSel(AFX_IDC_TAB_CONTROL), 0);
        d.Type(kDigits, "2");
        d.PressOK(); // b refuses: the sheet stays, on b
        EXPECT_FALSE(sheet.IsEnded());
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        b.applyResult = true;
        d.PressEnter();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(a.m_nDigits, 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "9110 apply"), 2);
}

TEST_P(SheetsTest, ApplyFollowsTheModifiedMarkAndCancelAppliesNothing)
{
    const INT_PTR result = Run(
        [&](DialogDriver& d, CPropertySheet&) {
            EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
            d.Type(kDigits, "8"); // EN_CHANGE: SetModified
            EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
            d.PressApply();
            EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
            EXPECT_EQ(b.m_nDigits, 8);
            d.Type(kDigits, "1");
            d.PressCancel();
        },
        1);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(log,
              (std::vector<std::string>{"9111 init", "9111 active", "9111 apply", "9111 cancel"}));
    EXPECT_EQ(b.m_nDigits, 8);
}

TEST_P(SheetsTest, PagesOutliveTheSheetAndServeAnother)
{
    a.m_psp.dwFlags |= PSP_USETITLE;
    a.m_psp.pszTitle = "Digits";
    for (int run = 0; run < 2; ++run)
        EXPECT_EQ(Run([&](DialogDriver& d, CPropertySheet&) {
                      EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL)[0], "Digits");
                      d.PressOK();
                  }),
                  IDOK);
    EXPECT_EQ(std::count(log.begin(), log.end(), "9110 init"), 2);
}

TEST_P(SheetsTest, FileDialogsCompleteTheAnswerOfTheServiceOrTheScript)
{
    const char* filter = "Plate files (*.plb)|*.plb|All files (*)|*||";
    // Through the scripted service: three files, the second filter.
    env->FileDialogs().Choose({"/data/a.plb", "/data/b", "/data/c.x.plb"}, 2);
    CFileDialog open(TRUE, "plb", nullptr,
                     OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT, filter);
    open.m_ofn.lpstrInitialDir = "/data";
    ASSERT_EQ(open.DoModal(), IDOK);
    const AfxFileDialogRequest& shown = env->FileDialogs().Shown().at(0);
    EXPECT_TRUE(shown.bOpenFileDialog);
    EXPECT_EQ(shown.strDefExt, "plb");
    EXPECT_EQ(shown.dwFlags, DWORD(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT));
    EXPECT_EQ(shown.strFilter, filter);
    EXPECT_EQ(shown.strInitialDir, "/data");
    std::vector<CString> paths;
    for (POSITION pos = open.GetStartPosition(); pos;)
        paths.push_back(open.GetNextPathName(pos));
    EXPECT_EQ(paths, (std::vector<CString>{"/data/a.plb", "/data/b.plb", "/data/c.x.plb"}));
    EXPECT_EQ(open.m_ofn.nFilterIndex, 2u);
    EXPECT_EQ(open.GetFileTitle(), "a");
    EXPECT_EQ(open.GetFileExt(), "plb");

    // Through the script, in line with other steps; cancelled.
    ModalScript script;
    script.FileDialog([](const AfxFileDialogRequest& request) {
        EXPECT_FALSE(request.bOpenFileDialog);
        EXPECT_EQ(request.strFileName, "Plate1");
        EXPECT_EQ(request.dwFlags & OFN_OVERWRITEPROMPT, OFN_OVERWRITEPROMPT);
        return AfxFileDialogResult{TRUE, {"/out/Plate1"}, 1};
    });
    CFileDialog save(FALSE, "plb", "Plate1", OFN_OVERWRITEPROMPT, filter);
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), "/out/Plate1.plb");
    env->FileDialogs().Cancel();
    CFileDialog cancelled(FALSE, "plb");
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetPathName(), "");
}

TEST_P(SheetsTest, FontAndColourDialogsCarryTheirValuesInAndOut)
{
    LOGFONT in{};
    in.lfHeight = -13;
    in.lfWeight = 400;
    std::strcpy(in.lfFaceName, "DejaVu Sans");
    LOGFONT chosen{};
    chosen.lfHeight = -20;
    chosen.lfWeight = 700;
    chosen.lfItalic = chosen.lfUnderline = chosen.lfStrikeOut = 1;
    std::memset(chosen.lfFaceName, 'F', LF_FACESIZE); // 32 letters, no end
    env->FontDialogs().Choose(chosen);
    CFontDialog font(&in);
    ASSERT_EQ(font.DoModal(), IDOK);
    EXPECT_EQ(env->FontDialogs().Shown().at(0), in);
    LOGFONT out{};
    font.GetCurrentFont(&out);
    EXPECT_EQ(out.lfHeight, -20);
    EXPECT_EQ(font.GetWeight(), 700);
    EXPECT_TRUE(font.IsItalic() && font.IsUnderline() && font.IsStrikeOut());
    EXPECT_EQ(font.GetFaceName(), CString(std::string(31, 'F').c_str()));
    env->FontDialogs().Cancel();
    CFontDialog cancelled(&in);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_lf, in);

    env->ColorDialogs().Choose(RGB(1, 2, 3));
    CColorDialog colour(RGB(200, 100, 50));
    ASSERT_EQ(colour.DoModal(), IDOK);
    EXPECT_EQ(env->ColorDialogs().Shown().at(0), RGB(200, 100, 50));
    EXPECT_EQ(colour.GetColor(), RGB(1, 2, 3));
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Peers, SheetsTest, ::testing::ValuesIn(PeerFamilies()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace conformance

// The services (message boxes, profile, dialogs, menus, desktop) with their
// scripted implementations, the refusing defaults, and the resource registry.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"

using afxui::headless::HeadlessApp;
using afxui::headless::StrictMessageService;

namespace
{

class ServicesTest : public HeadlessApp
{
};

TEST_F(ServicesTest, MessageBoxesMatchTheirExpectationsByteForByte)
{
    CWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "frame", 0, CRect(), nullptr, 0));
    Boxes().Expect("You must enter a positive number", IDOK);
    Boxes().Expect("Save changes to Plate1?", IDCANCEL);
    EXPECT_EQ(AfxMessageBox("You must enter a positive number"), IDOK);
    EXPECT_EQ(frame.MessageBox("Save changes to Plate1?", "Brantel", MB_YESNOCANCEL), IDCANCEL);

    const auto& shown = Boxes().Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(shown[0].caption.has_value()); // AfxMessageBox passes no caption
    EXPECT_EQ(shown[0].type, MB_OK);
    EXPECT_EQ(shown[1].caption, "Brantel");
    EXPECT_EQ(shown[1].type, MB_YESNOCANCEL);
    EXPECT_EQ(shown[1].answer, IDCANCEL);
}

TEST_F(ServicesTest, UnexpectedBoxesAndUnusedExpectationsFailTheTest)
{
    const char* text = "The file \"a.plb\" was not found in\n\"/tmp\".";
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(
        answer = AfxMessageBox(text, MB_YESNO),
        "unexpected message box \"The file \"a.plb\" was not found in\n\"/tmp\".\"");
    EXPECT_EQ(answer, IDYES); // the default button, and the test goes on
    EXPECT_EQ(Boxes().Texts(), std::vector<std::string>{text});

    Boxes().Expect("Unexpected file format.", IDOK);
    EXPECT_NONFATAL_FAILURE(
        AfxMessageBox("Unexpected file format"),
        "\"Unexpected file format\" where \"Unexpected file format.\" was expected");
    EXPECT_NONFATAL_FAILURE(Boxes().Verify(),
                            "expected message box \"Unexpected file format.\" was never shown");

    FileDialogs().Cancel();
    EXPECT_NONFATAL_FAILURE(FileDialogs().Verify(),
                            "1 scripted file dialog answer(s) were never used");
}

TEST_F(ServicesTest, ProfileRoundTripsIntsStringsAndBlobsUnderTheirNames)
{
    const BYTE blob[] = {0x00, 0xFF, 0x10, 0x00, 0x7F};
    EXPECT_TRUE(AfxWriteProfileString("Recent File List", "File1", "/home/u/plate.plb"));
    EXPECT_TRUE(AfxWriteProfileString("OpenGL text font", "FaceName", "Times New Roman"));
    EXPECT_TRUE(AfxWriteProfileInt("Info", "I1.1", 1));
    EXPECT_TRUE(AfxWriteProfileInt("Window", "x", -20));
    EXPECT_TRUE(AfxWriteProfileBinary("brantel", "BarState", blob, sizeof blob));

    EXPECT_EQ(AfxGetProfileString("Recent File List", "File1"), "/home/u/plate.plb");
    EXPECT_EQ(AfxGetProfileString("OpenGL text font", "FaceName", "Arial"), "Times New Roman");
    EXPECT_EQ(AfxGetProfileInt("Info", "I1.1", 0), 1u);
    EXPECT_EQ(static_cast<int>(AfxGetProfileInt("Window", "x", 0)), -20);
    BYTE* data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(AfxGetProfileBinary("brantel", "BarState", &data, &bytes));
    std::unique_ptr<BYTE[]> owned(data);
    ASSERT_EQ(bytes, sizeof blob);
    EXPECT_EQ(std::memcmp(data, blob, sizeof blob), 0);

    // Missing entries, other spellings and other kinds give the default.
    EXPECT_EQ(AfxGetProfileInt("Info", "I1.2", 7), 7u);
    EXPECT_EQ(AfxGetProfileInt("info", "I1.1", 0), 0u);
    EXPECT_EQ(AfxGetProfileString("Recent File List", "File2", "none"), "none");
    EXPECT_EQ(AfxGetProfileString("brantel", "BarState", "none"), "none");
    EXPECT_FALSE(AfxGetProfileBinary("Info", "I1.1", &data, &bytes));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(bytes, 0u);

    // As in an INI file, an int reads as its text and a numeric string as an int.
    EXPECT_EQ(AfxGetProfileString("Info", "I1.1"), "1");
    AfxWriteProfileString("Properties", "Selection buffer", "4096");
    EXPECT_EQ(AfxGetProfileInt("Properties", "Selection buffer", 0), 4096u);
    EXPECT_EQ(Profile().GetEntries().size(), 6u);
}

TEST_F(ServicesTest, DialogsAndMenusAnswerFromTheScriptAndRecordWhatWasShown)
{
    AfxFileDialogRequest request;
    request.bOpenFileDialog = FALSE;
    request.strDefExt = "bmp";
    request.strFilter = "Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg||";
    FileDialogs().Choose({"/tmp/view.jpg"}, 2);
    const AfxFileDialogResult result = AfxGetFileDialogService()->ShowFileDialog(request, nullptr);
    EXPECT_TRUE(result.bOK);
    EXPECT_EQ(result.paths, std::vector<CString>{"/tmp/view.jpg"});
    EXPECT_EQ(result.nFilterIndex, 2);
    ASSERT_EQ(FileDialogs().Shown().size(), 1u);
    EXPECT_EQ(FileDialogs().Shown()[0].strFilter, request.strFilter);
    EXPECT_NONFATAL_FAILURE(
        EXPECT_FALSE(AfxGetFileDialogService()->ShowFileDialog(request, nullptr).bOK),
        "unexpected file dialog");

    LOGFONT lf{};
    std::strcpy(lf.lfFaceName, "Courier New");
    lf.lfHeight = -12;
    LOGFONT chosen = lf;
    chosen.lfWeight = FW_BOLD;
    FontDialogs().Choose(chosen);
    FontDialogs().Cancel();
    LOGFONT font = lf;
    EXPECT_TRUE(AfxGetFontDialogService()->ChooseFont(font, nullptr));
    EXPECT_TRUE(font == chosen);
    EXPECT_FALSE(AfxGetFontDialogService()->ChooseFont(font, nullptr));
    EXPECT_TRUE(font == chosen); // a cancelled dialog leaves the font alone
    EXPECT_TRUE(FontDialogs().Shown()[0] == lf);

    ColorDialogs().Choose(RGB(255, 128, 0));
    COLORREF clr = RGB(0, 0, 255);
    EXPECT_TRUE(AfxGetColorDialogService()->ChooseColor(clr, nullptr));
    EXPECT_EQ(clr, 0x000080FFu);
    EXPECT_EQ(ColorDialogs().Shown(), std::vector<COLORREF>{RGB(0, 0, 255)});

    AfxMenu menu = {
        AfxMenuItem(34080, "Repeat/Quit"), AfxMenuSeparator(), AfxMenuItem(32773, "Rectangle"),
        AfxMenuPopup("More", {AfxMenuItem(32772, "Circle"), AfxMenuItem(57637, "Paste")})};
    menu[3].popup[1].item.bEnabled = FALSE;
    menu[0].item.nCurrentID = 32775; // re-targeted by its update handler
    PopupMenus().Pick(32772);
    PopupMenus().Pick(32775);
    PopupMenus().Dismiss();
    PopupMenus().Pick(57637);
    CPopupMenuService* popups = AfxGetPopupMenuService();
    EXPECT_EQ(popups->TrackPopupMenu(menu, CPoint(10, 20), nullptr), 32772u);
    EXPECT_EQ(popups->TrackPopupMenu(menu, CPoint(10, 20), nullptr), 32775u);
    EXPECT_EQ(popups->TrackPopupMenu(menu, CPoint(10, 20), nullptr), 0u);
    UINT picked = 1;
    EXPECT_NONFATAL_FAILURE(picked = popups->TrackPopupMenu(menu, CPoint(), nullptr),
                            "no enabled item 57637");
    EXPECT_EQ(picked, 0u);
    ASSERT_EQ(PopupMenus().Menus().size(), 4u);
    EXPECT_EQ(PopupMenus().Menus()[0].point, CPoint(10, 20));
    EXPECT_EQ(PopupMenus().Menus()[0].menu[3].popup[0].item.strText, "Circle");

    PrintDialogs().Accept([](AfxPrintRequest& r) { r.nToPage = 2; });
    PrintDialogs().Cancel();
    AfxPrintRequest print;
    EXPECT_TRUE(AfxGetPrintService()->ShowPrintDialog(print, nullptr));
    EXPECT_EQ(print.nToPage, 2);
    EXPECT_FALSE(AfxGetPrintService()->ShowPrintDialog(print, nullptr));
}

TEST_F(ServicesTest, DesktopServicesRecordAndTheWaitCursorNests)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 1;
    header.biHeight = 1;
    header.biBitCount = 24;
    const BYTE pixel[4] = {1, 2, 3, 0};
    EXPECT_TRUE(AfxGetClipboardService()->SetDib(header, pixel, sizeof pixel));
    ASSERT_EQ(Clipboard().Images().size(), 1u);
    EXPECT_EQ(Clipboard().Images()[0].bits, std::vector<BYTE>(pixel, pixel + 4));

    EXPECT_TRUE(AfxGetOpenerService()->OpenFile("/opt/brantel/doc/index.html"));
    Opener().SetResult(FALSE);
    EXPECT_FALSE(AfxGetOpenerService()->OpenFile("/missing.pdf"));
    EXPECT_EQ(Opener().Opened().size(), 2u);

    AfxGetBeepService()->Beep(100, 175);
    EXPECT_EQ(Beeper().Beeps(), (std::vector<std::pair<DWORD, DWORD>>{{100, 175}}));

    AfxEndWaitCursor(); // an End without a Begin does nothing
    {
        CWaitCursor outer;
        CCmdTarget target;
        target.BeginWaitCursor();
        EXPECT_EQ(AfxGetWaitCursorDepth(), 2);
        target.EndWaitCursor();
        EXPECT_TRUE(Cursor().IsWaitShown());
    }
    EXPECT_EQ(AfxGetWaitCursorDepth(), 0);
    EXPECT_EQ(Cursor().Changes(), (std::vector<bool>{true, false}));
}

TEST(ServiceDefaultsTest, WithoutServicesDialogsCancelAndTheProfileGivesDefaults)
{
    AfxFileDialogRequest request;
    request.nFilterIndex = 3;
    const AfxFileDialogResult result = AfxGetFileDialogService()->ShowFileDialog(request, nullptr);
    EXPECT_FALSE(result.bOK);
    EXPECT_EQ(result.nFilterIndex, 3);
    LOGFONT lf{};
    COLORREF clr = 0;
    AfxPrintRequest print;
    EXPECT_FALSE(AfxGetFontDialogService()->ChooseFont(lf, nullptr));
    EXPECT_FALSE(AfxGetColorDialogService()->ChooseColor(clr, nullptr));
    EXPECT_FALSE(AfxGetPrintService()->ShowPrintDialog(print, nullptr));
    EXPECT_EQ(AfxGetPopupMenuService()->TrackPopupMenu({AfxMenuItem(1, "a")}, CPoint(), nullptr),
              0u);
    EXPECT_FALSE(AfxGetOpenerService()->OpenFile("/tmp/x"));

    EXPECT_FALSE(AfxWriteProfileInt("Info", "I1.1", 1));
    EXPECT_EQ(AfxGetProfileInt("Info", "I1.1", 0), 0u);
    EXPECT_EQ(AfxGetProfileString("Window", "Placement", "none"), "none");
    BYTE* data = reinterpret_cast<BYTE*>(&clr);
    UINT bytes = 5;
    EXPECT_FALSE(AfxGetProfileBinary("brantel", "BarState", &data, &bytes));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(bytes, 0u);
}

TEST(ResourceRegistryTest, LookupRunsTheProgramFirstThenLibrariesInLinkOrder)
{
    // Registration order as at load time: a library, one linking it, then
    // the program.
    auto base = std::make_unique<CResourceModule>(
        "testbase", CResourceModule::library, [](CResourceModule& m) {
            m.AddStrings({{40001, "base"}, {40002, "base"}});
            m.Add(128, AfxMenu{AfxMenuItem(57600, "&New")});
        });
    auto upper = std::make_unique<CResourceModule>(
        "testupper", CResourceModule::library, [](CResourceModule& m) {
            m.AddStrings({{40001, "upper"}, {40003, "upper"}});
        });
    auto program = std::make_unique<CResourceModule>(
        "testprogram", CResourceModule::program, [](CResourceModule& m) {
            m.AddStrings({{40001, "program"}, {128, "a string 128"}});
        });

    struct Case {
        UINT id;
        const char* text;
    };
    CString s;
    for (const Case& c : {Case{40001, "program"}, Case{40002, "base"}, Case{40003, "upper"},
                          Case{128, "a string 128"}}) {
        EXPECT_TRUE(AfxLoadString(c.id, s));
        EXPECT_EQ(s, c.text);
    }
    // The same id as another kind.
    const AfxMenu* menu = AfxFindResource<AfxMenu>(128);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ((*menu)[0].item.strText, "&New");
    EXPECT_EQ(AfxFindResource<AfxToolBar>(128), nullptr);

    const auto chain = AfxGetResourceChain();
    ASSERT_GE(chain.size(), 4u);
    EXPECT_EQ(chain[0]->GetName(), "testprogram");
    EXPECT_EQ(chain[1]->GetName(), "testupper");
    EXPECT_EQ(chain[2]->GetName(), "testbase");
    EXPECT_EQ(chain.back()->GetName(), "afxui"); // the layer's own table last

    program.reset(); // a module that unloads takes its resources along
    AfxLoadString(40001, s);
    EXPECT_EQ(s, "upper");
    upper.reset();
    AfxLoadString(40001, s);
    EXPECT_EQ(s, "base");
    base.reset();
    EXPECT_FALSE(AfxLoadString(40001, s));
    EXPECT_EQ(s, "");
}

// A dialog whose library shares a template id with another library.
class CNamedModuleDialog : public CDialog
{
public:
    CNamedModuleDialog(LPCTSTR lpszModule) : CDialog(9301) { m_lpszTemplateModule = lpszModule; }
};

class SharedTemplateIds : public HeadlessApp
{
};

TEST_F(SharedTemplateIds, ADialogTakesItsOwnLibrarysTemplate)
{
    auto templateOf = [](LPCTSTR caption, int nEdit) {
        DialogTemplate t;
        t.nID = 9301;
        t.strCaption = caption;
        t.size = CSize(100, 40);
        t.Add(AfxDialogControl(nEdit, AfxCtl::edit, "", CRect(5, 5, 60, 17), WS_VISIBLE));
        return t;
    };
    CResourceModule first("firstlib", CResourceModule::library,
                          [&](CResourceModule& m) { m.Add(9301, templateOf("Rotate model", 50073)); });
    CResourceModule second("secondlib", CResourceModule::library,
                           [&](CResourceModule& m) { m.Add(9301, templateOf("Rotate", 16250)); });
    struct Case {
        LPCTSTR module;
        const char* caption;
        int nEdit;
    };
    // A named module comes first; without one (or an unknown one) the
    // chain's first wins, whichever library that is.
    const DialogTemplate* chainFirst = AfxFindResource<DialogTemplate>(9301);
    ASSERT_NE(chainFirst, nullptr);
    const int chainEdit = chainFirst->strCaption == "Rotate" ? 16250 : 50073;
    for (const Case c : {Case{"firstlib", "Rotate model", 50073}, Case{"secondlib", "Rotate", 16250},
                         Case{nullptr, chainFirst->strCaption, chainEdit},
                         Case{"nolib", chainFirst->strCaption, chainEdit}}) {
        CNamedModuleDialog dlg(c.module);
        ASSERT_TRUE(dlg.Create(9301));
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ(caption, c.caption) << (c.module ? c.module : "chain");
        EXPECT_NE(dlg.GetDlgItem(c.nEdit), nullptr) << caption;
        dlg.DestroyWindow();
    }
}

TEST(ResourceRegistryTest, CommandStringsSplitIntoPromptAndTip)
{
    CResourceModule module("testcommands", CResourceModule::program, [](CResourceModule& m) {
        m.AddStrings({{50002, "Sets spacing of grid point\nGrid space"},
                      {50000, "Workbook mode"},
                      {50003, "\nTip only"},
                      {ID_FILE_OPEN, "Opens a plate model\nOpen model"}});
    });
    struct Case {
        UINT id;
        BOOL found;
        const char* prompt;
        const char* tip;
    };
    const Case cases[] = {
        {50002, TRUE, "Sets spacing of grid point", "Grid space"},
        {50000, TRUE, "Workbook mode", ""},
        {50003, TRUE, "", "Tip only"},
        {50004, FALSE, "", ""},
        {ID_FILE_OPEN, TRUE, "Opens a plate model", "Open model"}, // the program's own wins
        {ID_FILE_SAVE, TRUE, "Saves the active document", "Save"}, // the layer's table
        {ID_FILE_MRU_FILE1 + 3, TRUE, "Opens this document", ""},
    };
    for (const Case& c : cases) {
        CString prompt = "x", tip = "x";
        EXPECT_EQ(AfxLoadCommandStrings(c.id, &prompt, &tip), c.found) << c.id;
        EXPECT_EQ(prompt, c.prompt) << c.id;
        EXPECT_EQ(tip, c.tip) << c.id;
    }

    CString part;
    EXPECT_TRUE(AfxExtractSubString(part, "Plate\nPlate\nPlate1\nPlate files (*.plb)\n.plb", 4));
    EXPECT_EQ(part, ".plb");
    EXPECT_FALSE(AfxExtractSubString(part, "a\nb", 2));
    EXPECT_EQ(part, "");

    CString text;
    AfxLoadString(AFX_IDP_PARSE_INT_RANGE, text);
    EXPECT_EQ(text, "Please enter an integer between %d and %d.");
}

} // namespace

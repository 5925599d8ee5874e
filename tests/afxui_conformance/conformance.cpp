#include "tests/afxui_conformance/conformance.h"

#include "platform/afx/numconv.h"

namespace conformance
{

namespace
{

DialogControl Ctl(int nID, AfxCtl kind, LPCTSTR text, CRect rect,
                  DWORD style = WS_VISIBLE | WS_TABSTOP)
{
    return AfxDialogControl(nID, kind, text, rect, style);
}

DialogTemplate TestTemplate()
{
    DialogTemplate t;
    t.nID = kTestTemplate;
    t.strCaption = "Conformance";
    t.size = CSize(300, 240);
    DialogControl sortedCombo = Ctl(kComboList, AfxCtl::comboList, "", CRect(10, 80, 90, 140),
                                    WS_VISIBLE | WS_TABSTOP | CBS_SORT);
    sortedCombo.items = {"e-format", "F-format", "g-format", "a-format"};
    DialogControl list = Ctl(kList, AfxCtl::listBox, "", CRect(100, 80, 160, 130),
                             WS_VISIBLE | WS_TABSTOP | LBS_SORT);
    DialogControl tab = Ctl(kTab, AfxCtl::tab, "", CRect(170, 80, 290, 100));
    tab.items = {"Log", "Error"};
    DialogControl picture =
        Ctl(IDC_STATIC, AfxCtl::picture, "", CRect(10, 200, 40, 230), WS_VISIBLE);
    picture.nID = kPicture;
    picture.nBitmapID = 16070;
    DialogControl pictureButton =
        Ctl(kPictureButton, AfxCtl::pictureButton, "Plate", CRect(50, 200, 100, 230));
    pictureButton.nBitmapID = 551;
    t.Add(Ctl(kEdit, AfxCtl::edit, "", CRect(10, 10, 60, 22), WS_VISIBLE | WS_TABSTOP | WS_GROUP))
        .Add(Ctl(kMultiEdit, AfxCtl::multiEdit, "", CRect(70, 10, 190, 50)))
        .Add(Ctl(kCheck, AfxCtl::check, "&Nodes", CRect(200, 10, 260, 20)))
        .Add(Ctl(kThreeState, AfxCtl::auto3State, "Loads", CRect(200, 22, 260, 32)))
        .Add(AfxRadioColumn(CPoint(10, 30), 50,
                            {{kRadioA1, "T15"}, {kRadioA2, "T18"}, {kRadioA3, "T21"}}))
        .Add(AfxRadioColumn(CPoint(70, 55), 50, {{kRadioB1, "Type 1"}, {kRadioB2, "Type 2"}}))
        .Add(sortedCombo)
        .Add(Ctl(kComboEdit, AfxCtl::comboDrop, "", CRect(10, 145, 90, 200)))
        .Add(list)
        .Add(Ctl(kBuddy, AfxCtl::edit, "", CRect(100, 140, 130, 152)))
        .Add(Ctl(kSpin, AfxCtl::spin, "", CRect(130, 140, 140, 152),
                 WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT))
        .Add(tab)
        .Add(Ctl(kColor, AfxCtl::colorButton, "", CRect(170, 110, 200, 124)))
        .Add(Ctl(kHidden, AfxCtl::edit, "Same name", CRect(170, 130, 230, 142), WS_TABSTOP))
        .Add(Ctl(kDisabled, AfxCtl::edit, "", CRect(170, 145, 230, 157), WS_VISIBLE | WS_DISABLED))
        .Add(Ctl(kReadOnly, AfxCtl::edit, "fixed", CRect(170, 160, 230, 172),
                 WS_VISIBLE | ES_READONLY))
        .Add(Ctl(kNumber, AfxCtl::edit, "", CRect(170, 175, 230, 187), WS_VISIBLE | ES_NUMBER))
        .Add(Ctl(IDC_STATIC, AfxCtl::staticText, "&Radius (R)", CRect(240, 130, 290, 140),
                 WS_VISIBLE))
        .Add(Ctl(IDC_STATIC, AfxCtl::staticText, "a && b", CRect(240, 142, 290, 152), WS_VISIBLE))
        .Add(Ctl(kRadius, AfxCtl::edit, "", CRect(240, 155, 290, 167)))
        .Add(Ctl(kMeshText, AfxCtl::staticText, "Constrained mesh\r(single quadrilateral region)",
                 CRect(240, 170, 290, 190), WS_VISIBLE))
        .Add(picture)
        .Add(pictureButton)
        .Add(Ctl(kListEdit, AfxCtl::listEdit, "&Items:", CRect(110, 195, 170, 235)))
        .Add(Ctl(kScroll, AfxCtl::scrollBar, "", CRect(290, 10, 298, 60), WS_VISIBLE | SBS_VERT))
        .Add(AfxButtonRow(290, 220, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

const CResourceModule s_resources("conformance", CResourceModule::program,
                                  [](CResourceModule& m) { m.Add(kTestTemplate, TestTemplate()); });

const char* CodeName(AfxWndKind kind, UINT code)
{
    switch (kind) {
    case AfxWndKind::edit:
        return code == EN_CHANGE      ? "EN_CHANGE"
               : code == EN_SETFOCUS  ? "EN_SETFOCUS"
               : code == EN_KILLFOCUS ? "EN_KILLFOCUS"
                                      : "EN_?";
    case AfxWndKind::button:
    case AfxWndKind::pictureButton:
        return code == BN_CLICKED ? "BN_CLICKED" : "BN_?";
    case AfxWndKind::comboBox:
        return code == CBN_SELCHANGE    ? "CBN_SELCHANGE"
               : code == CBN_EDITCHANGE ? "CBN_EDITCHANGE"
               : code == CBN_SETFOCUS   ? "CBN_SETFOCUS"
               : code == CBN_KILLFOCUS  ? "CBN_KILLFOCUS"
                                        : "CBN_?";
    case AfxWndKind::listBox:
        return code == LBN_SELCHANGE   ? "LBN_SELCHANGE"
               : code == LBN_SETFOCUS  ? "LBN_SETFOCUS"
               : code == LBN_KILLFOCUS ? "LBN_KILLFOCUS"
                                       : "LBN_?";
    default:
        return "?";
    }
}

} // namespace

std::vector<std::string> CLogWindow::Take()
{
    std::vector<std::string> out;
    out.swap(log);
    return out;
}

LRESULT CLogWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam) {
        const CWndState* sender = AfxGetWndState(reinterpret_cast<HWND>(lParam));
        log.push_back(std::to_string(LOWORD(wParam)) + ":" +
                      CodeName(sender ? sender->kind : AfxWndKind::window, HIWORD(wParam)));
        if (onCommand)
            onCommand(LOWORD(wParam), HIWORD(wParam));
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        log.push_back(std::to_string(header->idFrom) +
                      (header->code == TCN_SELCHANGE ? ":TCN_SELCHANGE" : ":NM_?"));
    } else if (message == WM_COLORBUTTON_CHANGED) {
        log.push_back(
            AfxFormat("0x465 %u 0x%06lX", unsigned(wParam), static_cast<unsigned long>(lParam)));
    } else if (message == WM_VSCROLL) {
        CScrollBar* bar = AfxScrollBarFromHandle(reinterpret_cast<HWND>(lParam));
        log.push_back(AfxFormat("vscroll %u %u %d", LOWORD(wParam), HIWORD(wParam),
                                bar ? bar->GetDlgCtrlID() : 0));
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void ConformanceTest::SetUp()
{
    backend = GetParam().makeBackend();
    env = std::make_unique<ScriptedEnvironment>(*backend);
    Rebuild();
}

void ConformanceTest::Rebuild()
{
    driver.reset();
    window = std::make_unique<CLogWindow>();
    ASSERT_TRUE(AfxCreateFromTemplate(*window, kTestTemplate, nullptr));
    window->Take();
    driver = std::make_unique<DialogDriver>(*window);
}

void ConformanceTest::TearDown()
{
    env->Verify();
    driver.reset();
    window.reset();
    env.reset();
    backend.reset();
}

} // namespace conformance

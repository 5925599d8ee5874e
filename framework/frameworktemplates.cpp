// Templates of the framework's pages and dialogs.
#include "framework/colorscalepage.h"
#include "framework/listpages.h"

namespace
{

constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kReadOnly = kEdit | ES_READONLY;

DialogControl Ctl(int nID, AfxCtl kind, LPCTSTR text, const CRect& rect, DWORD style = WS_VISIBLE)
{
    return AfxDialogControl(nID, kind, text, rect, style);
}

DialogControl Label(LPCTSTR text, const CRect& rect)
{
    return Ctl(IDC_STATIC, AfxCtl::staticText, text, rect);
}

// The picture of grid and strip takes the left of the page (drawn, not a
// control); the controls stand to its right.
DialogTemplate ColorScaleTemplate()
{
    DialogTemplate t;
    t.nID = KorPPColorScale::IDD;
    t.strCaption = "Color scale";
    t.size = CSize(330, 240);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "File", CRect(240, 7, 322, 42)),
        Ctl(50024, AfxCtl::push, "&Load", CRect(246, 20, 280, 34), kButton | WS_GROUP),
        Ctl(50025, AfxCtl::push, "&Save", CRect(284, 20, 318, 34), kButton),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Node", CRect(240, 48, 322, 132)),
        Ctl(50026, AfxCtl::colorButton, "&Modify", CRect(246, 60, 318, 74), kButton | WS_GROUP),
        Ctl(50021, AfxCtl::push, "&Add", CRect(246, 78, 318, 92), kButton),
        Ctl(50022, AfxCtl::push, "&Delete", CRect(246, 96, 318, 110), kButton),
        Ctl(50023, AfxCtl::push, "Dele&te all", CRect(246, 114, 318, 128), kButton),
        Label("Opacity", CRect(240, 142, 284, 150)),
        Ctl(50016, AfxCtl::edit, "", CRect(286, 140, 322, 152), kEdit | WS_GROUP),
        Label("Selection", CRect(240, 160, 284, 168)),
        Ctl(50017, AfxCtl::edit, "", CRect(286, 158, 322, 170), kReadOnly),
        Label("R", CRect(240, 178, 284, 186)),
        Ctl(50018, AfxCtl::edit, "", CRect(286, 176, 322, 188), kReadOnly),
        Label("G", CRect(240, 196, 284, 204)),
        Ctl(50019, AfxCtl::edit, "", CRect(286, 194, 322, 206), kReadOnly),
        Label("B", CRect(240, 214, 284, 222)),
        Ctl(50020, AfxCtl::edit, "", CRect(286, 212, 322, 224), kReadOnly),
    });
    return t;
}

DialogTemplate NumListTemplate()
{
    DialogTemplate t;
    t.nID = KorPPNumListEdit::IDD;
    t.strCaption = "Values";
    t.size = CSize(200, 180);
    t.Add(Ctl(50111, AfxCtl::listEdit, "&Items:", CRect(7, 7, 193, 173), kButton));
    return t;
}

DialogTemplate TwoChoiceTemplate()
{
    DialogTemplate t;
    t.nID = KorPPTwoRad::IDD;
    t.strCaption = "Choice";
    t.size = CSize(200, 110);
    t.Add({
        Ctl(50102, AfxCtl::groupBox, "", CRect(7, 7, 193, 60)),
        Ctl(16144, AfxCtl::radio, "", CRect(14, 20, 186, 30), kButton | WS_GROUP),
        Ctl(16145, AfxCtl::radio, "", CRect(14, 38, 186, 48), kButton),
        Ctl(50101, AfxCtl::staticText, "", CRect(7, 66, 193, 100)),
    });
    return t;
}

DialogTemplate SelectByIdTemplate()
{
    DialogTemplate t;
    t.nID = KorPPSelectID::IDD;
    t.strCaption = "Select";
    t.size = CSize(220, 160);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Select objects based on ID-numbers",
            CRect(7, 7, 213, 153)),
        Ctl(16144, AfxCtl::radio, "Nodes", CRect(14, 20, 70, 30), kButton | WS_GROUP),
        Ctl(16145, AfxCtl::radio, "Edges", CRect(76, 20, 132, 30), kButton),
        Ctl(16153, AfxCtl::radio, "Elements", CRect(138, 20, 206, 30), kButton),
        Ctl(16230, AfxCtl::multiEdit, "", CRect(14, 36, 206, 146),
            WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_GROUP | ES_MULTILINE | ES_AUTOVSCROLL |
                ES_WANTRETURN),
    });
    return t;
}

const CResourceModule s_resources("framira", CResourceModule::library, [](CResourceModule& m) {
    m.Add(KorPPColorScale::IDD, ColorScaleTemplate());
    m.Add(KorPPNumListEdit::IDD, NumListTemplate());
    m.Add(KorPPTwoRad::IDD, TwoChoiceTemplate());
    m.Add(KorPPSelectID::IDD, SelectByIdTemplate());
});

} // namespace

// Templates of the framework's pages and dialogs.
#include "framework/colorscalepage.h"
#include "framework/listpages.h"
#include "framework/settingspages.h"

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

DialogTemplate LightTemplate()
{
    DialogTemplate t;
    t.nID = KorPPLight::IDD;
    t.strCaption = "Light options";
    t.size = CSize(270, 180);
    t.Add({
        Label("Ambient", CRect(40, 7, 90, 15)),
        Label("Diffuse", CRect(96, 7, 146, 15)),
        Label("Specular", CRect(152, 7, 202, 15)),
        Ctl(50046, AfxCtl::check, "&1", CRect(7, 20, 35, 30), kButton | WS_GROUP),
        Ctl(50032, AfxCtl::colorButton, "", CRect(40, 19, 90, 31), kButton),
        Ctl(50036, AfxCtl::colorButton, "", CRect(96, 19, 146, 31), kButton),
        Ctl(50112, AfxCtl::colorButton, "", CRect(152, 19, 202, 31), kButton),
        Ctl(50047, AfxCtl::check, "&2", CRect(7, 38, 35, 48), kButton),
        Ctl(50037, AfxCtl::colorButton, "", CRect(40, 37, 90, 49), kButton),
        Ctl(50039, AfxCtl::colorButton, "", CRect(96, 37, 146, 49), kButton),
        Ctl(50038, AfxCtl::colorButton, "", CRect(152, 37, 202, 49), kButton),
        Ctl(50048, AfxCtl::check, "&3", CRect(7, 56, 35, 66), kButton),
        Ctl(50040, AfxCtl::colorButton, "", CRect(40, 55, 90, 67), kButton),
        Ctl(50042, AfxCtl::colorButton, "", CRect(96, 55, 146, 67), kButton),
        Ctl(50041, AfxCtl::colorButton, "", CRect(152, 55, 202, 67), kButton),
        Label("Global ambient", CRect(7, 80, 90, 88)),
        Ctl(50043, AfxCtl::colorButton, "", CRect(96, 78, 146, 90), kButton),
        Label("Material specular", CRect(7, 98, 90, 106)),
        Ctl(50044, AfxCtl::colorButton, "", CRect(96, 96, 146, 108), kButton),
        Label("Emission", CRect(7, 116, 90, 124)),
        Ctl(50045, AfxCtl::colorButton, "", CRect(96, 114, 146, 126), kButton),
        Label("Shininess", CRect(7, 134, 90, 142)),
        Ctl(50051, AfxCtl::edit, "", CRect(96, 132, 134, 144), kEdit),
        Ctl(50052, AfxCtl::spin, "", CRect(134, 132, 146, 144),
            WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS),
        Ctl(50049, AfxCtl::check, "&Local viewer", CRect(160, 80, 262, 90), kButton),
        Ctl(50050, AfxCtl::check, "&Two-side", CRect(160, 98, 262, 108), kButton),
        Ctl(50031, AfxCtl::push, "&Restore defaults", CRect(160, 130, 262, 144), kButton),
        // The position of light 3, kept but not shown.
        Ctl(50027, AfxCtl::edit, "", CRect(7, 156, 37, 168), WS_TABSTOP | WS_BORDER),
        Ctl(50028, AfxCtl::edit, "", CRect(41, 156, 71, 168), WS_TABSTOP | WS_BORDER),
        Ctl(50029, AfxCtl::edit, "", CRect(75, 156, 105, 168), WS_TABSTOP | WS_BORDER),
        Ctl(50030, AfxCtl::edit, "", CRect(109, 156, 139, 168), WS_TABSTOP | WS_BORDER),
    });
    return t;
}

DialogTemplate ScreenColourTemplate()
{
    DialogTemplate t;
    t.nID = KorPPScreenClr::IDD;
    t.strCaption = "Color-options";
    t.size = CSize(200, 112);
    const struct {
        int nID;
        LPCTSTR button;
        LPCTSTR label;
    } rows[] = {{50118, "&r", "Results view background"},
                {50117, "&m", "Modelling view background"},
                {50120, "&g", "Grid"},
                {50119, "&a", "Axis"},
                {50121, "&t", "Text"}};
    int y = 7;
    for (const auto& row : rows) {
        t.Add(Label(row.label, CRect(7, y + 2, 120, y + 10)));
        t.Add(Ctl(row.nID, AfxCtl::colorButton, row.button, CRect(126, y, 193, y + 12), kButton));
        y += 20;
    }
    return t;
}

const CResourceModule s_resources("framira", CResourceModule::library, [](CResourceModule& m) {
    m.Add(KorPPColorScale::IDD, ColorScaleTemplate());
    m.Add(KorPPNumListEdit::IDD, NumListTemplate());
    m.Add(KorPPLight::IDD, LightTemplate());
    m.Add(KorPPScreenClr::IDD, ScreenColourTemplate());
    m.Add(KorPPTwoRad::IDD, TwoChoiceTemplate());
    m.Add(KorPPSelectID::IDD, SelectByIdTemplate());
});

} // namespace

// Templates of the framework's pages and dialogs.
#include "framework/colorscalepage.h"
#include "framework/customizesheet.h"
#include "framework/inputdialogs.h"
#include "framework/kordlgclipplane.h"
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
// control); the controls stand to its right. The page is tall enough for
// the whole picture, strip included (10 + 366 pixels, about 250 units).
DialogTemplate ColorScaleTemplate()
{
    DialogTemplate t;
    t.nID = KorPPColorScale::IDD;
    t.strCaption = "Color scale";
    t.size = CSize(330, 262);
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

DialogControl Push(int nID, LPCTSTR text, int x, int y, int width = 50)
{
    return Ctl(nID, nID == IDOK ? AfxCtl::defPush : AfxCtl::push, text,
               CRect(x, y, x + width, y + 14), kButton);
}

// OK and Cancel side by side at the bottom left.
void AddOkCancel(DialogTemplate& t, int y)
{
    t.Add({Push(IDOK, "OK", 7, y), Push(IDCANCEL, "Cancel", 63, y)});
}

// A label, a value edit and a unit static on one line.
void AddValueRow(DialogTemplate& t, int nLabel, LPCTSTR label, int nEdit, int nUnit, int x, int y)
{
    t.Add({
        Ctl(nLabel, AfxCtl::staticText, label, CRect(x, y + 2, x + 63, y + 10)),
        Ctl(nEdit, AfxCtl::edit, "", CRect(x + 65, y, x + 119, y + 12), kEdit),
        Ctl(nUnit, AfxCtl::staticText, "", CRect(x + 121, y + 2, x + 149, y + 10)),
    });
}

DialogTemplate CircleTemplate()
{
    DialogTemplate t;
    t.nID = KorDlgCircle::IDD;
    t.strCaption = "Circle";
    t.size = CSize(200, 122);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Enter number of line-segments on the boundary",
            CRect(7, 7, 193, 42)),
        Ctl(16230, AfxCtl::edit, "", CRect(14, 20, 50, 32), kEdit | WS_GROUP),
        Label("(should be between 8 and 192)", CRect(56, 22, 186, 30)),
        Ctl(50076, AfxCtl::radio, "Follow arc of circle (no approximation)",
            CRect(7, 50, 193, 60), kButton | WS_GROUP),
        Ctl(50077, AfxCtl::radio, "Approximate area", CRect(7, 64, 193, 74), kButton),
        Ctl(50078, AfxCtl::radio, "Approximate length of arc", CRect(7, 78, 193, 88), kButton),
    });
    AddOkCancel(t, 100);
    return t;
}

DialogTemplate CoordTemplate(UINT nID, int nValues, bool bOffsets)
{
    DialogTemplate t;
    t.nID = nID;
    t.strCaption = "Coordinate input";
    const int groupHeight = 16 * nValues + 14;
    const struct {
        int nLabel;
        LPCTSTR label;
        int nEdit, nUnit;
    } absolute[] = {{50010, "X' coord", 50004, 50009},
                    {50011, "Y' coord", 50005, 50013},
                    {50020, "Z' coord", 50016, 50018}},
      offsets[] = {{50012, "X' coord offset", 50116, 50014},
                   {50017, "Y' coord offset", 50003, 50015},
                   {50022, "Z' coord offset", 50019, 50021}};
    int y = 7;
    if (bOffsets)
        t.Add(Ctl(IDC_STATIC, AfxCtl::groupBox, "Absolute coordinates",
                  CRect(7, y, 170, y + groupHeight)));
    for (int i = 0; i < nValues; ++i)
        AddValueRow(t, absolute[i].nLabel, absolute[i].label, absolute[i].nEdit,
                    absolute[i].nUnit, 12, y + 12 + 16 * i);
    y += groupHeight + 6;
    if (bOffsets) {
        t.Add(Ctl(IDC_STATIC, AfxCtl::groupBox, "Offset from last point",
                  CRect(7, y, 170, y + groupHeight)));
        for (int i = 0; i < nValues; ++i)
            AddValueRow(t, offsets[i].nLabel, offsets[i].label, offsets[i].nEdit,
                        offsets[i].nUnit, 12, y + 12 + 16 * i);
        y += groupHeight + 6;
        t.Add({Ctl(50007, AfxCtl::defPush, "&Enter Absolute", CRect(7, y, 80, y + 14), kButton),
               Push(50006, "Enter &Offset", 86, y, 73), Push(IDCANCEL, "Cancel", 7, y + 18)});
        y += 32;
    } else {
        t.Add({Ctl(50007, AfxCtl::defPush, "&Enter", CRect(7, y, 57, y + 14), kButton),
               Push(IDCANCEL, "Cancel", 63, y)});
        y += 14;
    }
    t.size = CSize(177, y + 7);
    return t;
}

DialogTemplate OneValueTemplate(UINT nID, bool bUnit)
{
    DialogTemplate t;
    t.nID = nID;
    t.strCaption = "Value";
    t.size = CSize(180, 72);
    // The field's label: the caller's title, which the caption may not show
    // whole.
    t.Add(Ctl(KorDlgDblVal::IDC_LABEL, AfxCtl::staticText, "Value", CRect(7, 7, 173, 15),
              WS_VISIBLE));
    t.Add(Ctl(16230, AfxCtl::edit, "", CRect(7, 19, 100, 31), kEdit));
    if (bUnit)
        t.Add(Ctl(16231, AfxCtl::edit, "", CRect(104, 19, 173, 31), kReadOnly));
    AddOkCancel(t, 50);
    t.Add(Push(50080, "&Apply", 119, 50));
    return t;
}

DialogTemplate ValuesTemplate(UINT nID, int nValues)
{
    DialogTemplate t;
    t.nID = nID;
    t.strCaption = "Values";
    const int groupBottom = 18 + 18 * nValues;
    const int rows[3][3] = {{16281, 50058, 50109}, {16280, 50057, 50110}, {50111, 50059, 50112}};
    t.Add(Ctl(50106, AfxCtl::groupBox, "", CRect(7, 7, 193, groupBottom)));
    for (int i = 0; i < nValues; ++i)
        AddValueRow(t, rows[i][0], "", rows[i][1], rows[i][2], 14, 20 + 18 * i);
    AddOkCancel(t, groupBottom + 8);
    t.size = CSize(200, groupBottom + 29);
    return t;
}

DialogTemplate FilletTemplate()
{
    DialogTemplate t;
    t.nID = KorDlgFillet::IDD;
    t.strCaption = "Fillet";
    t.size = CSize(200, 130);
    t.Add({
        Ctl(50079, AfxCtl::check, "Taper", CRect(7, 7, 80, 17), kButton | WS_GROUP),
        Label("Number of edges", CRect(7, 25, 80, 33)),
        Ctl(50074, AfxCtl::edit, "", CRect(84, 23, 130, 35), kEdit),
        Label("Radius", CRect(7, 41, 80, 49)),
        Ctl(50075, AfxCtl::edit, "", CRect(84, 39, 130, 51), kEdit),
        Ctl(16230, AfxCtl::edit, "", CRect(134, 39, 193, 51), kReadOnly),
        Ctl(50076, AfxCtl::radio, "Follow Circular Line (none)", CRect(7, 58, 193, 68),
            kButton | WS_GROUP),
        Ctl(50077, AfxCtl::radio, "Approximate Area", CRect(7, 72, 193, 82), kButton),
        Ctl(50078, AfxCtl::radio, "Approximate Length", CRect(7, 86, 193, 96), kButton),
    });
    AddOkCancel(t, 108);
    return t;
}

DialogTemplate ImportScaleTemplate()
{
    DialogTemplate t;
    t.nID = KorDlgImpExpScl::IDD;
    t.strCaption = "Import/Export section modules";
    t.size = CSize(230, 122);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Scale", CRect(7, 7, 110, 70)),
        Ctl(16176, AfxCtl::staticText, "X", CRect(14, 20, 30, 28)),
        Ctl(16230, AfxCtl::edit, "", CRect(34, 18, 100, 30), kEdit | WS_GROUP),
        Ctl(16177, AfxCtl::staticText, "Y", CRect(14, 36, 30, 44)),
        Ctl(16231, AfxCtl::edit, "", CRect(34, 34, 100, 46), kEdit),
        Ctl(50096, AfxCtl::staticText, "Z", CRect(14, 52, 30, 60)),
        Ctl(16232, AfxCtl::edit, "", CRect(34, 50, 100, 62), kEdit),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Offset", CRect(116, 7, 223, 70)),
        Ctl(50097, AfxCtl::staticText, "X", CRect(123, 20, 135, 28)),
        Ctl(16233, AfxCtl::edit, "", CRect(137, 18, 190, 30), kEdit),
        Ctl(50099, AfxCtl::staticText, "", CRect(194, 20, 218, 28)),
        Ctl(50098, AfxCtl::staticText, "Y", CRect(123, 36, 135, 44)),
        Ctl(16235, AfxCtl::edit, "", CRect(137, 34, 190, 46), kEdit),
        Ctl(50100, AfxCtl::staticText, "", CRect(194, 36, 218, 44)),
        Ctl(50101, AfxCtl::staticText, "", CRect(123, 52, 135, 60)),
        Ctl(16236, AfxCtl::edit, "", CRect(137, 50, 190, 62), kEdit),
        Ctl(50102, AfxCtl::staticText, "", CRect(194, 52, 218, 60)),
        Ctl(16144, AfxCtl::radio, "Millimeters", CRect(7, 78, 80, 88), kButton | WS_GROUP),
        Ctl(16145, AfxCtl::radio, "Inches", CRect(86, 78, 150, 88), kButton),
    });
    AddOkCancel(t, 100);
    return t;
}

DialogTemplate RotateTemplate()
{
    DialogTemplate t;
    t.nID = KorDlgRotate::IDD;
    t.strCaption = "Rotate model";
    t.size = CSize(200, 100);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Center of rotation", CRect(7, 7, 193, 50)),
        Ctl(50069, AfxCtl::staticText, "", CRect(14, 20, 30, 28)),
        Ctl(50073, AfxCtl::edit, "", CRect(34, 18, 100, 30), kEdit | WS_GROUP),
        Ctl(16176, AfxCtl::staticText, "", CRect(104, 20, 150, 28)),
        Ctl(50070, AfxCtl::staticText, "", CRect(14, 36, 30, 44)),
        Ctl(50071, AfxCtl::edit, "", CRect(34, 34, 100, 46), kEdit),
        Ctl(16177, AfxCtl::staticText, "", CRect(104, 36, 150, 44)),
        Label("Angle", CRect(7, 58, 30, 66)),
        Ctl(50072, AfxCtl::edit, "", CRect(34, 56, 100, 68), kEdit),
        Label("degrees", CRect(104, 58, 150, 66)),
    });
    AddOkCancel(t, 78);
    return t;
}

DialogTemplate OpenGLSettingsTemplate()
{
    DialogTemplate t;
    t.nID = KorPPOGLSett::IDD;
    t.strCaption = "Settings";
    t.size = CSize(260, 196);
    const struct {
        int nID;
        LPCTSTR label;
    } sizes[] = {{16230, "Thin edges"},     {16231, "Medium edges"}, {16232, "Wide edges"},
                 {16237, "Axes"},           {16233, "Small points"}, {16235, "Medium small points"},
                 {16236, "Medium large points"}, {16238, "Large points"}};
    t.Add(Ctl(IDC_STATIC, AfxCtl::groupBox, "Line widths and point sizes", CRect(7, 7, 253, 98)));
    for (int i = 0; i < 8; ++i) {
        const int x = i < 4 ? 14 : 134, y = 20 + 18 * (i % 4);
        t.Add({Label(sizes[i].label, CRect(x, y + 2, x + 78, y + 10)),
               Ctl(sizes[i].nID, AfxCtl::edit, "", CRect(x + 80, y, x + 112, y + 12), kEdit)});
    }
    t.Add({
        Ctl(16234, AfxCtl::check, "Enable line antialiasing", CRect(7, 104, 160, 114),
            kButton | WS_GROUP),
        Ctl(16159, AfxCtl::check, "Enable point antialiasing", CRect(7, 118, 160, 128), kButton),
        Ctl(16160, AfxCtl::check, "Disable hardware acceleration", CRect(7, 132, 160, 142),
            kButton),
        Label("Selection buffer size", CRect(7, 150, 100, 158)),
        Ctl(50113, AfxCtl::edit, "", CRect(104, 148, 144, 160), kEdit | ES_NUMBER),
        Label("(Max. # of simultaneously selected objects)", CRect(7, 164, 200, 172)),
        Push(16068, "&Restore default", 170, 104, 76),
    });
    return t;
}

DialogTemplate OpenGLInfoTemplate()
{
    DialogTemplate t;
    t.nID = KorPPOGLInfo::IDD;
    t.strCaption = "Information";
    t.size = CSize(260, 196);
    const struct {
        int nID;
        LPCTSTR label;
    } fields[] = {
        {50053, "Company:"}, {50054, "Renderer:"}, {50055, "Version:"}, {50056, "Acceleration:"}};
    int y = 7;
    for (const auto& field : fields) {
        t.Add({Label(field.label, CRect(7, y, 60, y + 8)),
               Ctl(field.nID, AfxCtl::staticText, "", CRect(64, y, 253, y + 8))});
        y += 12;
    }
    t.Add({Label("Extensions:", CRect(7, y + 2, 60, y + 10)),
           Ctl(KorPPOGLInfo::IDC_EXTENSIONS, AfxCtl::multiEdit, "", CRect(7, y + 12, 253, 189),
               WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL |
                   WS_VSCROLL)});
    return t;
}

// One check per toolbar (the unused ones are hidden), then the button size
// and the tooltips.
DialogTemplate ToolBarsTemplate()
{
    DialogTemplate t;
    t.nID = KorToolBarsPage::IDD;
    t.strCaption = "Toolbars";
    t.size = CSize(200, 216);
    t.Add(Label("&Toolbars:", CRect(7, 7, 193, 15)));
    for (int i = 0; i < KorToolBarsPage::MAX_BARS; ++i) {
        const int y = 18 + 11 * i;
        t.Add(Ctl(KorToolBarsPage::IDC_FIRST_BAR + i, AfxCtl::check, "", CRect(14, y, 193, y + 10),
                  kButton));
    }
    t.Add({Ctl(KorToolBarsPage::IDC_LARGE, AfxCtl::check, "&Large buttons", CRect(7, 199, 100, 209),
               kButton),
           Ctl(KorToolBarsPage::IDC_TOOLTIPS, AfxCtl::check, "Show &tooltips",
               CRect(104, 199, 193, 209), kButton)});
    return t;
}

// The groups on the left, the commands of the chosen one on the right.
DialogTemplate ToolBarCmdTemplate()
{
    DialogTemplate t;
    t.nID = KorToolBarCmdPage::IDD;
    t.strCaption = "Commands";
    t.size = CSize(200, 180);
    t.Add({Label("&Groups:", CRect(7, 7, 90, 15)),
           Ctl(KorToolBarCmdPage::IDC_GROUPS, AfxCtl::listBox, "", CRect(7, 17, 90, 170),
               kButton | WS_BORDER | WS_VSCROLL | LBS_NOTIFY),
           Label("Commands:", CRect(96, 7, 193, 15)),
           Ctl(KorToolBarCmdPage::IDC_COMMANDS, AfxCtl::listBox, "", CRect(96, 17, 193, 170),
               kButton | WS_BORDER | WS_VSCROLL)});
    return t;
}

// Two horizontal planes at value levels, four vertical planes by angle and
// distance; the spins sit right of their angle edits.
DialogTemplate ClipPlaneTemplate()
{
    DialogTemplate t;
    t.nID = KorDlgClipPlane::IDD;
    t.strCaption = "Clip-planes";
    t.size = CSize(250, 206);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Horizontal clip-planes", CRect(7, 7, 243, 50)),
        Ctl(16234, AfxCtl::check, "Cut everything &below ", CRect(13, 19, 110, 29), kButton),
        Ctl(16230, AfxCtl::edit, "", CRect(114, 18, 184, 30), kEdit),
        Ctl(50089, AfxCtl::edit, "", CRect(188, 18, 237, 30), kReadOnly),
        Ctl(16159, AfxCtl::check, "Cut everything &above", CRect(13, 35, 110, 45), kButton),
        Ctl(16231, AfxCtl::edit, "", CRect(114, 34, 184, 46), kEdit),
        Ctl(50090, AfxCtl::edit, "", CRect(188, 34, 237, 46), kReadOnly),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Vertical clip-planes", CRect(7, 56, 243, 146)),
        Label("Angle", CRect(70, 67, 110, 75)),
        Label("Distance", CRect(124, 67, 184, 75)),
    });
    const struct {
        int nCheck;
        LPCTSTR text;
        int nAngle, nSpin, nDist;
    } rows[] = {{16160, "Plane &3", 16232, 50052, 16233},
                {50081, "Plane &4", 16235, 50086, 16236},
                {50082, "Plane &5", 16237, 50087, 16238},
                {50083, "Plane &6", 16239, 50088, 50085}};
    int y = 78;
    for (const auto& row : rows) {
        t.Add({Ctl(row.nCheck, AfxCtl::check, row.text, CRect(13, y + 1, 66, y + 11), kButton),
               Ctl(row.nAngle, AfxCtl::edit, "", CRect(70, y, 104, y + 12), kEdit),
               Ctl(row.nSpin, AfxCtl::spin, "", CRect(105, y, 115, y + 12)),
               Ctl(row.nDist, AfxCtl::edit, "", CRect(124, y, 184, y + 12), kEdit)});
        y += 16;
    }
    t.Add({Ctl(IDC_STATIC, AfxCtl::staticText,
               "Angles are related to the plane-normal and global y'-axis.\r\nDistances are "
               "calculated from global origin.",
               CRect(7, 150, 243, 168), 0),
           Ctl(KorDlgClipPlane::IDC_DYNAMIC, AfxCtl::check, "Dynamically apply changes",
               CRect(7, 170, 150, 180), kButton),
           Push(IDOK, "OK", 7, 186), Push(IDCANCEL, "Cancel", 63, 186),
           Push(KorDlgClipPlane::IDC_APPLY, "&Apply", 119, 186)});
    return t;
}

// The main frame's toolbars, and each command's prompt and tooltip.
void AddMainFrameResources(CResourceModule& m)
{
    // No context-help button: there is no mode that explains the item clicked
    // next; Shift+F1 opens the manual as Help Topics does.
    m.Add(128u, AfxToolBar{16, 15, {57600, 57601, 57603, 0, 50015, 0, 57643, 57644}});
    m.Add(27008u, AfxToolBar{16, 15, {50016, 50017, 0, 50029, 0, 50018, 50019, 50020, 50021, 50022}});
    m.Add(27012u, AfxToolBar{16, 15, {50026, 50027, 50028, 50030}});
    m.Add(27006u, AfxToolBar{16, 15, {50008, 50009, 50010, 57635, 57634, 57637, 50011, 50012}});
    m.Add(27004u, AfxToolBar{16, 15, {50002, 50003, 50004, 50005, 50006, 50007}});
    m.Add(27010u, AfxToolBar{16, 15, {50023, 50024, 50025}});
    m.Add(KorToolBarsPage::IDD, ToolBarsTemplate());
    m.Add(KorToolBarCmdPage::IDD, ToolBarCmdTemplate());
    m.AddStrings({
        {KorCustomizeSheet::IDS_CAPTION, "Customize"},
        {KorToolBarCmdPage::IDS_CAPTION, "Commands"},
        {50002, "Sets spacing of grid point\nGrid space"},
        {50003, "Draw the grid in your view\nDraw grid"},
        {50004, "Snap the cursor to nearest grid point\nSnap to grid"},
        {50005, "Draw the global axes in your view\nGlobal axes"},
        {50006, "Draw your model with surfaces (on) or as outlines (off)\nDraw filled"},
        {50007, "Enter coordinates through a dialog box\nEnter coordinates"},
        {50008, "Active filter for selection\nSelect-filter"},
        {50009, "Pointer tool\nPointer"},
        {50010, "Delete selected objects\nDelete"},
        {50011, "Move selected objects\nMove"},
        {50012, "Rotate all objects\nRotate"},
        {50016, "Panning tool\nPan"},
        {50017, "Activate Rotation-tool\nRotation-tool"},
        {50018, "Zoom in\nZoom in"},
        {50019, "Zoom out\nZoom out"},
        {50020, "Zoom to model\nZoom to model"},
        {50021, "Zoom to selected rectangle\nZoom rectangle"},
        {50022, "Zoom dynamic\nZoom dynamic"},
        {50023, "Copy contents of window to clipboard as bitmap\nScreen-shot"},
        {50024, "Save image to file in selected format\nSave image"},
        {50025, "Print current image\nPrint image"},
        {50026, "Color plot\nColor plot"},
        {50027, "Turn on or off lighting\nLight"},
        {50028, "Wireframe\nWireframe"},
        {50029, "Plot 2D\nPlot 2D"},
        {50030, "Plot transparent\nPlot transparent"},
        // The 3D view's projection, field of view and clip planes, and the
        // frame's commands that only a menu reaches.
        {34033, "Switch between orthographic projection and perspective view\nPerspective"},
        {34073, "Increase field of view\nWider view"},
        {34074, "Decrease field of view\nNarrower view"},
        {50054, "Show or hide the clip-planes dialog\nClip-planes"},
        {50056, "Rotate vertical clip-planes counter-clockwise\nRotate clip-planes left"},
        {50057, "Rotate vertical clip-planes clockwise\nRotate clip-planes right"},
        {50058, "Increase horizontal distance of vertical clip-planes\nWiden clip-planes"},
        {50059, "Decrease horizontal distance of vertical clip-planes\nNarrow clip-planes"},
        {50060, "Move horizontal clip-planes up\nClip-planes up"},
        {50061, "Move horizontal clip-planes down\nClip-planes down"},
        {50062, "Separate horizontal clip-planes\nSeparate clip-planes"},
        {50063, "Move horizontal clip-planes closer\nClip-planes closer"},
        {50000, "Show the documents as tabs (on) or as windows (off)\nWorkbook mode"},
        {50001, "Show or hide the log window\nLog window"},
        {50013, "Switch hardware acceleration of OpenGL off or on\nOpenGL acceleration"},
        {50031, "Move the view to absolute coordinates\nMove absolute"},
        {50032, "Choose the toolbars and their buttons\nCustomize"},
        {50046, "OpenGL settings and information\nOpenGL options"},
        {50047, "Choose the font of the texts in the views\nText font"},
        {50064, "Set the zoom step in percent\nZoom factor"},
    });
}

const CResourceModule s_resources("framira", CResourceModule::library, [](CResourceModule& m) {
    m.Add(KorPPColorScale::IDD, ColorScaleTemplate());
    m.Add(KorPPNumListEdit::IDD, NumListTemplate());
    m.Add(KorDlgCircle::IDD, CircleTemplate());
    m.Add(KorDlgCoordInput::IDD, CoordTemplate(KorDlgCoordInput::IDD, 2, false));
    m.Add(KorDlgCoordInputEx::IDD, CoordTemplate(KorDlgCoordInputEx::IDD, 2, true));
    m.Add(KorDlgCoordInputEx3D::IDD, CoordTemplate(KorDlgCoordInputEx3D::IDD, 3, true));
    m.Add(KorDlgDblVal::IDD_UNIT, OneValueTemplate(KorDlgDblVal::IDD_UNIT, true));
    m.Add(KorDlgDblVal::IDD_PLAIN, OneValueTemplate(KorDlgDblVal::IDD_PLAIN, false));
    m.Add(KorDlgDblValTwo::IDD, ValuesTemplate(KorDlgDblValTwo::IDD, 2));
    m.Add(KorDlgDblValThree::IDD, ValuesTemplate(KorDlgDblValThree::IDD, 3));
    m.Add(KorDlgFillet::IDD, FilletTemplate());
    m.Add(KorDlgImpExpScl::IDD, ImportScaleTemplate());
    m.Add(KorDlgRotate::IDD, RotateTemplate());
    m.Add(KorDlgClipPlane::IDD, ClipPlaneTemplate());
    m.AddStrings({{27036, "X"}, {27037, "Y"}, {27038, "Z"}});
    m.Add(KorPPLight::IDD, LightTemplate());
    m.Add(KorPPScreenClr::IDD, ScreenColourTemplate());
    m.Add(KorPPOGLSett::IDD, OpenGLSettingsTemplate());
    m.Add(KorPPOGLInfo::IDD, OpenGLInfoTemplate());
    m.Add(KorPPTwoRad::IDD, TwoChoiceTemplate());
    m.Add(KorPPSelectID::IDD, SelectByIdTemplate());
    AddMainFrameResources(m);
});

} // namespace

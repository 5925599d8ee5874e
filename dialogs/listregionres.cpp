// Templates of the number-list, region-value, region material and
// ring-segment pages and of the extremes dialog, with their pictures by id.
#include "dialogs/bilinfuncpage.h"
#include "dialogs/matnamesel.h"
#include "dialogs/maxminvalsdlg.h"
#include "dialogs/numlistpages.h"
#include "dialogs/resources.h"
#include "dialogs/ringsegpage.h"
#include "dialogs/templaterows.h"

namespace
{

// Pictures of the formulas and of the symbols that label the fields.
enum : UINT {
    IDB_FORMULA_THICKNESS = 16300, // t = t0 + dtx (x - x0) + dty (y - y0)
    IDB_FORMULA_LOAD = 16301,      // p = p0 + dpx (x - x0) + dpy (y - y0)
    IDB_FORMULA_ALPHA = 16302,     // a^i = a0^i + dax^i (x - x0) + day^i (y - y0)
    IDB_ALPHA_STRAIN = 16303,      // a^i = e0^i
    IDB_ALPHA_TEMPERATURE = 16304, // a^1 = dT
    IDB_SYM_T0 = 16310,
    IDB_SYM_DTX = 16311,
    IDB_SYM_DTY = 16312,
    IDB_SYM_P0 = 16313,
    IDB_SYM_DPX = 16314,
    IDB_SYM_DPY = 16315,
    IDB_SYM_ALPHA0_1 = 16316,
    IDB_SYM_DAX_1 = 16317,
    IDB_SYM_DAY_1 = 16318,
    IDB_SYM_ALPHA0_2 = 16319,
    IDB_SYM_DAX_2 = 16320,
    IDB_SYM_DAY_2 = 16321,
    IDB_SYM_X0 = 16322,
    IDB_SYM_Y0 = 16323,
    IDB_FORMULA_PARABOLA = 16324, // dy/dx = a + b x
};

constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

using pavesta::Picture;

DialogControl Static(int nID, LPCTSTR text, const CRect& rect, DWORD dwStyle = WS_VISIBLE)
{
    return AfxDialogControl(nID, AfxCtl::staticText, text, rect, dwStyle);
}

DialogControl Edit(int nID, const CRect& rect, DWORD dwStyle = kEdit)
{
    return AfxDialogControl(nID, AfxCtl::edit, "", rect, dwStyle);
}

DialogControl Overlapping(DialogControl c)
{
    c.bOverlaps = true;
    return c;
}

DialogTemplate NumberListTemplate()
{
    DialogTemplate t;
    t.nID = IDD_NUMBER_LIST;
    t.strCaption = "Numbers";
    t.size = CSize(200, 160);
    t.Add(AfxDialogControl(IDC_NUMBER_ITEMS, AfxCtl::listEdit, "&Items:", CRect(7, 7, 193, 153),
                           WS_VISIBLE | WS_TABSTOP));
    return t;
}

DialogTemplate NamedNumberListsTemplate()
{
    DialogTemplate t;
    t.nID = IDD_NAMED_NUMBER_LISTS;
    t.strCaption = "Number lists";
    t.size = CSize(200, 180);
    t.Add(AfxDialogControl(IDC_LIST_VECTOR, AfxCtl::comboList, "", CRect(7, 7, 193, 19),
                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL))
        .Add(AfxButtonRow(
            193, 24,
            {{IDC_LIST_ADD, "&Add"}, {IDC_LIST_DELETE, "&Delete"}, {IDC_LIST_RENAME, "&Rename"}}))
        .Add(AfxDialogControl(IDC_NUMBER_ITEMS, AfxCtl::listEdit, "&Items:", CRect(7, 44, 193, 173),
                              WS_VISIBLE | WS_TABSTOP));
    return t;
}

DialogTemplate StringTemplate()
{
    DialogTemplate t;
    t.nID = IDD_STRING;
    t.size = CSize(170, 48);
    t.Add(Edit(IDC_STRING_EDIT, CRect(7, 7, 163, 19)))
        .Add(AfxButtonRow(163, 27, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

// One row of a region-value page: the symbol picture, the edit and the
// unit static, at column x and row top y.
std::vector<DialogControl> ValueRow(int x, int y, UINT nSymbol, int nEditID, int nUnitID,
                                    LPCTSTR lpszUnit, DWORD dwVisible)
{
    return {Picture(IDC_STATIC, nSymbol, CRect(x, y, x + 24, y + 12), dwVisible),
            Edit(nEditID, CRect(x + 27, y, x + 72, y + 12), (kEdit & ~WS_VISIBLE) | dwVisible),
            Static(nUnitID, lpszUnit, CRect(x + 75, y + 2, x + 117, y + 10), dwVisible)};
}

// The three region-value templates share one layout: the formula, the
// kind radios, the first component's rows (left), the second component's
// rows (right, shown only for the strain and temperature page), the
// centre's rows and "&Change".
struct ValuePageKind {
    UINT nID;
    LPCTSTR lpszCaption;
    UINT nFormula;
    UINT nSymbols[3]; // base, slope x, slope y
    LPCTSTR lpszUnits[3];
    LPCTSTR lpszCentreUnit;
    bool bAlpha; // second component and kind radios shown
};

DialogTemplate ValuePageTemplate(const ValuePageKind& k)
{
    const DWORD alpha = k.bAlpha ? WS_VISIBLE : 0;
    DialogTemplate t;
    t.nID = k.nID;
    t.strCaption = k.lpszCaption;
    t.size = CSize(252, 164);
    t.Add(Picture(IDC_STATIC, k.nFormula, CRect(7, 7, 245, 35)));
    DialogControl kind0 =
        AfxDialogControl(IDC_BILIN_KIND0, AfxCtl::radio, k.bAlpha ? "&Strain:" : "Cartesian",
                         CRect(7, 42, 62, 52), alpha | WS_GROUP | WS_TABSTOP);
    DialogControl kind1 =
        AfxDialogControl(IDC_BILIN_KIND1, AfxCtl::radio, k.bAlpha ? "&Temperature:" : "Radial",
                         CRect(128, 42, 190, 52), alpha);
    t.Add(kind0)
        .Add(Picture(IDC_STATIC, IDB_ALPHA_STRAIN, CRect(64, 40, 120, 54), alpha))
        .Add(kind1)
        .Add(Picture(IDC_STATIC, IDB_ALPHA_TEMPERATURE, CRect(192, 40, 245, 54), alpha));
    const int ids[3][3] = {{IDC_BILIN_BASE, 16138, IDC_BILIN_BASE2},
                           {IDC_BILIN_SLOPE_X, 16141, IDC_BILIN_SLOPE_X2},
                           {IDC_BILIN_SLOPE_Y, 16142, IDC_BILIN_SLOPE_Y2}};
    const UINT symbols2[3] = {IDB_SYM_ALPHA0_2, IDB_SYM_DAX_2, IDB_SYM_DAY_2};
    const int units2[3] = {16146, 16151, 16152};
    for (int row = 0; row < 3; ++row) {
        const int y = 60 + 16 * row;
        t.Add(ValueRow(7, y, k.nSymbols[row], ids[row][0], ids[row][1], k.lpszUnits[row],
                       WS_VISIBLE));
        t.Add(ValueRow(128, y, symbols2[row], ids[row][2], units2[row], "", alpha));
    }
    t.Add(ValueRow(7, 108, IDB_SYM_X0, IDC_BILIN_X0, 16139, k.lpszCentreUnit, WS_VISIBLE));
    t.Add(ValueRow(7, 124, IDB_SYM_Y0, IDC_BILIN_Y0, 16140, k.lpszCentreUnit, WS_VISIBLE));
    t.Add(AfxDialogControl(IDC_BILIN_CHANGE, AfxCtl::check, "&Change", CRect(7, 146, 80, 156),
                           WS_VISIBLE | WS_TABSTOP));
    return t;
}

DialogTemplate MaterialTemplate()
{
    DialogTemplate t;
    t.nID = IDD_MATERIAL_SELECT;
    t.strCaption = "Material";
    t.size = CSize(280, 208);
    // A labelled value row of the axes group: label (text or picture), the
    // edit and its unit static.
    auto row = [](DialogControl label, int nEditID, int nUnitID, int y) {
        return std::vector<DialogControl>{label, Edit(nEditID, CRect(84, y, 129, y + 12)),
                                          Static(nUnitID, "", CRect(132, y + 2, 195, y + 10))};
    };
    t.Add(AfxDialogControl(IDC_STATIC, AfxCtl::groupBox, "Name", CRect(7, 4, 273, 34), WS_VISIBLE))
        .Add(Edit(IDC_MAT_NAME, CRect(14, 16, 266, 28)))
        .Add(AfxDialogControl(IDC_STATIC, AfxCtl::groupBox, "Material", CRect(7, 38, 273, 68),
                              WS_VISIBLE))
        .Add(AfxDialogControl(IDC_MAT_COMBO, AfxCtl::comboList, "", CRect(14, 50, 266, 62),
                              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL))
        .Add(AfxDialogControl(IDC_STATIC, AfxCtl::groupBox, "Material axis 1 follows",
                              CRect(7, 72, 273, 184), WS_VISIBLE))
        .Add(AfxDialogControl(IDC_MAT_PARABOLIC, AfxCtl::radio, "Parabolic", CRect(14, 84, 64, 94),
                              WS_VISIBLE | WS_GROUP | WS_TABSTOP))
        .Add(Static(IDC_STATIC, "1) Parabolas: The tangent to the curve is defined by:",
                    CRect(68, 85, 266, 93)))
        .Add(row(Static(IDC_STATIC, "a", CRect(68, 102, 80, 110)), IDC_MAT_A, IDC_MAT_UNIT_A, 100))
        .Add(row(Static(IDC_STATIC, "b", CRect(68, 118, 80, 126)), IDC_MAT_B, IDC_MAT_UNIT_B, 116))
        .Add(Picture(IDC_STATIC, IDB_FORMULA_PARABOLA, CRect(200, 98, 266, 128)))
        .Add(AfxDialogControl(IDC_MAT_POLAR, AfxCtl::radio, "Polar", CRect(14, 134, 64, 144),
                              WS_VISIBLE))
        .Add(Static(IDC_STATIC, "2) Concentric circles with center at ", CRect(68, 135, 200, 143)))
        .Add(Picture(IDC_STATIC, IDB_SYM_X0, CRect(202, 133, 222, 145)))
        .Add(Static(IDC_STATIC, ",", CRect(224, 135, 228, 143)))
        .Add(Picture(IDC_STATIC, IDB_SYM_Y0, CRect(230, 133, 250, 145)))
        .Add(row(Picture(IDC_STATIC, IDB_SYM_X0, CRect(68, 150, 80, 162)), IDC_MAT_X0,
                 IDC_MAT_UNIT_X0, 150))
        .Add(row(Picture(IDC_STATIC, IDB_SYM_Y0, CRect(68, 166, 80, 178)), IDC_MAT_Y0,
                 IDC_MAT_UNIT_Y0, 166))
        .Add(AfxDialogControl(IDC_MAT_CHANGE, AfxCtl::check, "&Change", CRect(7, 190, 80, 200),
                              WS_VISIBLE | WS_TABSTOP));
    return t;
}

DialogTemplate RingSegmentTemplate()
{
    DialogTemplate t;
    t.nID = IDD_RING_SEGMENT;
    t.size = CSize(250, 200);
    const DWORD label = WS_VISIBLE;
    auto row = [&](int nLabelID, LPCTSTR text, int nEditID, int y, DWORD dwVisible = WS_VISIBLE) {
        return std::vector<DialogControl>{
            Static(nLabelID, text, CRect(7, y + 2, 190, y + 10), dwVisible & label),
            Edit(nEditID, CRect(195, y, 243, y + 12), (kEdit & ~WS_VISIBLE) | dwVisible)};
    };
    t.Add(Picture(IDC_RING_PICTURE, IDB_RING_TYPE1, CRect(7, 7, 107, 107)))
        .Add(AfxRadioColumn(
            CPoint(115, 7), 60,
            {{IDC_RING_TYPE1, "Type 1"}, {IDC_RING_TYPE2, "Type 2"}, {IDC_RING_TYPE3, "Type 3"}}))
        .Add(row(IDC_STATIC, "Segment height (H)", IDC_RING_HEIGHT, 114));
    // Radius and angle share one place; the page shows one pair.
    for (DialogControl c : row(IDC_RING_RADIUS_LABEL, "Radius (R)", IDC_RING_RADIUS, 130))
        t.Add(Overlapping(c));
    for (DialogControl c : row(IDC_RING_ANGLE_LABEL, "Angle (theta)", IDC_RING_ANGLE, 130, 0))
        t.Add(Overlapping(c));
    t.Add(row(IDC_STATIC, "Number of line segments on curved boundaries (n)", IDC_RING_SEGMENTS,
              146))
        .Add(row(IDC_STATIC, "Number of sub-regions tangentially (p)", IDC_RING_TANGENTIAL, 162))
        .Add(row(IDC_STATIC, "Number of sub-regions radially (q)", IDC_RING_RADIAL, 178));
    return t;
}

DialogTemplate MaxMinTemplate()
{
    DialogTemplate t;
    t.nID = IDD_MAX_MIN_VALUES;
    t.strCaption = "Maximum and minimum values";
    // Four columns 64 dialog units apart: the last one needs room for a value.
    t.size = CSize(264, 150);
    t.Add(AfxDialogControl(IDC_MAX_MIN_LIST, AfxCtl::listBox, "", CRect(7, 7, 257, 122),
                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_USETABSTOPS))
        .Add(AfxButtonRow(257, 128, {{IDOK, "OK"}}));
    return t;
}

} // namespace

void pavesta::AddListRegionResources(CResourceModule& m)
{
    m.Add(IDD_NUMBER_LIST, NumberListTemplate());
    m.Add(IDD_NAMED_NUMBER_LISTS, NamedNumberListsTemplate());
    m.Add(IDD_STRING, StringTemplate());
    m.Add(IDD_BILIN_THICKNESS, ValuePageTemplate({IDD_BILIN_THICKNESS,
                                                  "Thickness",
                                                  IDB_FORMULA_THICKNESS,
                                                  {IDB_SYM_T0, IDB_SYM_DTX, IDB_SYM_DTY},
                                                  {"Static", "Static", "Static"},
                                                  "Static",
                                                  false}));
    m.Add(IDD_BILIN_LOAD, ValuePageTemplate({IDD_BILIN_LOAD,
                                             "Distributed load",
                                             IDB_FORMULA_LOAD,
                                             {IDB_SYM_P0, IDB_SYM_DPX, IDB_SYM_DPY},
                                             {"kN/m^2", "kN/m^2/mm", "kN/m^2/mm"},
                                             "mm",
                                             false}));
    m.Add(IDD_BILIN_ALPHA, ValuePageTemplate({IDD_BILIN_ALPHA,
                                              "Property Page",
                                              IDB_FORMULA_ALPHA,
                                              {IDB_SYM_ALPHA0_1, IDB_SYM_DAX_1, IDB_SYM_DAY_1},
                                              {"", "", ""},
                                              "",
                                              true}));
    m.Add(IDD_MATERIAL_SELECT, MaterialTemplate());
    m.Add(IDD_RING_SEGMENT, RingSegmentTemplate());
    m.Add(IDD_MAX_MIN_VALUES, MaxMinTemplate());
}

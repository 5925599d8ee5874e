// Templates of the materials, material-type and document-type dialogs, and
// the element descriptions the new-document pages show (their pictures are
// drawn from resources/art/elements/).
#include "dialogs/doctypedlg.h"
#include "dialogs/matsedit.h"
#include "dialogs/mattypedlg.h"
#include "dialogs/resources.h"
#include "dialogs/templaterows.h"

namespace
{

using namespace pavesta;

constexpr DWORD kEdit = kEditStyle;
constexpr DWORD kLabel = WS_VISIBLE | ES_READONLY; // an edit showing a unit
constexpr DWORD kFirst = kGroupStyle;
constexpr DWORD kButton = kButtonStyle;

} // namespace

DialogTemplate VokDlgIsoMatsEdit::BuildTemplate()
{
    DialogTemplate t;
    t.nID = VokDlgIsoMatsEdit::IDD;
    t.strCaption = "Materials";
    t.size = CSize(300, 211);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Material list", CRect(7, 7, 110, 182)),
        Ctl(364, AfxCtl::listBox, "", CRect(14, 19, 103, 175),
            kFirst | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOTIFY),
        Label("Name", CRect(117, 10, 178, 18)),
        Ctl(16200, AfxCtl::edit, "", CRect(180, 8, 293, 20), kEdit),
        Label("Young's modulus", CRect(117, 28, 178, 36)),
        Ctl(366, AfxCtl::edit, "", CRect(180, 26, 230, 38), kEdit),
        Ctl(16230, AfxCtl::edit, "", CRect(234, 26, 293, 38), kLabel),
        Label("Shear modulus", CRect(117, 44, 178, 52)),
        Ctl(381, AfxCtl::edit, "", CRect(180, 42, 230, 54), kEdit),
        Ctl(16231, AfxCtl::edit, "", CRect(234, 42, 293, 54), kLabel),
        Label("Poisson's ratio", CRect(117, 60, 178, 68)),
        Ctl(376, AfxCtl::edit, "", CRect(180, 58, 230, 70), kEdit),
        Label("Mass density", CRect(117, 76, 178, 84)),
        Ctl(371, AfxCtl::edit, "", CRect(180, 74, 230, 86), kEdit),
        Ctl(16232, AfxCtl::edit, "", CRect(234, 74, 293, 86), kLabel),
        Ctl(436, AfxCtl::check, "Base-material", CRect(117, 92, 200, 102), kFirst),
        Label("Applies to ", CRect(117, 108, 161, 116)),
        Ctl(385, AfxCtl::edit, "", CRect(163, 106, 190, 118), kLabel | WS_BORDER),
        Label("segments/sections", CRect(194, 108, 270, 116)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Material color", CRect(117, 122, 293, 182)),
        Ctl(414, AfxCtl::colorButton, "color", CRect(124, 134, 164, 148), kFirst),
        Label("opacity (%)", CRect(124, 154, 170, 162)),
        Ctl(445, AfxCtl::edit, "", CRect(124, 165, 164, 177), kEdit),
        Label("red (%)", CRect(176, 136, 216, 144)),
        Ctl(391, AfxCtl::edit, "", CRect(220, 134, 256, 146), kEdit | WS_DISABLED),
        Label("green (%)", CRect(176, 150, 216, 158)),
        Ctl(394, AfxCtl::edit, "", CRect(220, 148, 256, 160), kEdit | WS_DISABLED),
        Label("blue (%)", CRect(176, 164, 216, 172)),
        Ctl(396, AfxCtl::edit, "", CRect(220, 162, 256, 174), kEdit | WS_DISABLED),
        Ctl(548, AfxCtl::push, "&New material", CRect(7, 190, 67, 204), kFirst),
        Ctl(547, AfxCtl::push, "&Delete material", CRect(71, 190, 141, 204), kButton),
        Ctl(IDOK, AfxCtl::defPush, "&OK", CRect(147, 190, 181, 204), kButton),
        Ctl(IDCANCEL, AfxCtl::push, "&Cancel", CRect(185, 190, 225, 204), kButton),
        Ctl(1061, AfxCtl::push, "&Apply", CRect(229, 190, 269, 204), kButton),
    });
    return t;
}

namespace
{

DialogTemplate MaterialTypeTemplate()
{
    DialogTemplate t;
    t.nID = VokDlgMatType::IDD;
    t.size = CSize(180, 110);
    t.Add({
        Label("Base new material on \ntypical properties for:", CRect(7, 7, 113, 25)),
        Ctl(16005, AfxCtl::radio, "&User defined", CRect(14, 28, 100, 38), kFirst),
        Ctl(16006, AfxCtl::radio, "&Steel", CRect(14, 40, 100, 50)),
        Ctl(16007, AfxCtl::radio, "&Aluminium", CRect(14, 52, 100, 62)),
        Ctl(16008, AfxCtl::radio, "&Concrete", CRect(14, 64, 100, 74)),
        Ctl(16155, AfxCtl::radio, "&Timber", CRect(14, 76, 100, 86)),
        Ctl(16009, AfxCtl::radio, "&Isotropic", CRect(14, 92, 80, 102), kFirst),
        Ctl(16010, AfxCtl::radio, "&Orthotropic", CRect(84, 92, 160, 102)),
        Ctl(IDOK, AfxCtl::defPush, "OK", CRect(123, 7, 173, 21), kFirst),
        Ctl(IDCANCEL, AfxCtl::push, "Cancel", CRect(123, 25, 173, 39), kButton),
    });
    return t;
}

DialogTemplate DocumentTypeTemplate()
{
    DialogTemplate t;
    t.nID = VokDlgFPDocType::IDD;
    t.size = CSize(250, 120);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "", CRect(7, 7, 243, 92)),
        Ctl(16000, AfxCtl::pictureButton, "&Plate bending", CRect(14, 19, 84, 85), kFirst),
        Ctl(16001, AfxCtl::pictureButton, "&Membrane", CRect(90, 19, 160, 85), kButton),
        Ctl(16002, AfxCtl::push, "Plate &Buckling", CRect(166, 19, 236, 85), kButton),
        Ctl(IDOK, AfxCtl::defPush, "&Open", CRect(137, 99, 187, 113), kFirst),
        Ctl(IDCANCEL, AfxCtl::push, "&Cancel", CRect(193, 99, 243, 113), kButton),
    });
    return t;
}

} // namespace

void pavesta::AddMaterialResources(CResourceModule& m)
{
    m.Add(VokDlgIsoMatsEdit::IDD, VokDlgIsoMatsEdit::BuildTemplate());
    m.Add(VokDlgMatType::IDD, MaterialTypeTemplate());
    m.Add(VokDlgFPDocType::IDD, DocumentTypeTemplate());
    // The element descriptions of the new-document pages.
    m.AddStrings({
        {16005, "6 degrees of freedom.\nBased on a complete linear displacement "
                "function.\nConstant thickness."},
        {16006, "12 degrees of freedom.\nBased on a complete quadratic displacement "
                "function.\nLinearly varying thickness."},
        {16007, "18 degrees of freedom (+ 2 internal dofs eliminated at the element "
                "level).\nBased on a complete cubic displacement function.\nLinearly varying "
                "thickness."},
        {16008, "8 degrees of freedom.\nIsoparametric formulation with 1, 4 or 9 point "
                "numerical integration.\nLinearly varying thickness."},
        {16009, "8 degrees of freedom (+ 2 nodeless dofs automatically "
                "condensed).\nIsoparametric formulation (due to Wilson) - forced to satisfy "
                "'patch test'. 1, 4 or 9 point numerical integration.\nLinearly varying "
                "thickness."},
        {16010, "16 degrees of freedom.\nIsoparametric formulation with 1, 4 or 9 point "
                "numerical integration.\nLinearly varying thickness."},
        {16011, "16 degrees of freedom + 2 internal dofs automatically condensed "
                "out.\nIsoparametric formulation with 1, 4 or 9 point numerical "
                "integration.\nLinearly varying thickness."},
        {16012, "15 degrees of freedom.\nThin plate (Kirchhoff) theory.\nBased on a complete "
                "quartic displacement function.\nLinearly varying thickness."},
        {16013, "18 degrees of freedom.\nThin plate (Kirchhoff) theory.\nBased on a complete "
                "but constrained quintic displacement function.\nLinearly varying thickness."},
        {16014, "21 degrees of freedom.\nThin plate (Kirchhoff) theory.\nBased on a complete "
                "quintic displacement function.\nLinearly varying thickness."},
        {16015, "9 degrees of freedom.\nThin plate (Kirchhoff) theory.\nHybrid model due to "
                "Allman.\nLinearly varying thickness."},
        {16067, "6 degrees of freedom.\nThin plate (Kirchhoff) theory.\nBased on a complete "
                "quadratic displacement function.\nLinearly varying thickness."},
        {16068, "9 degrees of freedom.\nBased on Mindlin theory\nThin plate (Kirchhoff) theory "
                "enforced at nodal points.\nLinearly varying thickness."},
    });
}

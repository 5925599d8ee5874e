#include "app/shell/pagetemplates.h"

#include "app/shell/bcpage.h"
#include "app/shell/bucklingdlgs.h"
#include "app/shell/coloroptpage.h"
#include "app/shell/edgeloadpage.h"
#include "app/shell/elemctrl.h"
#include "app/shell/loadgroup.h"
#include "app/shell/nodegeompage.h"
#include "app/shell/unitsdlg.h"
#include "app/shell/wizardpages.h"
#include "dialogs/templaterows.h"

namespace
{

using namespace pavesta;

constexpr DWORD kFirst = kGroupStyle;
constexpr DWORD kReadOnly = kEditStyle | ES_READONLY;

DialogTemplate ElementSettingsTemplate()
{
    DialogTemplate t;
    t.nID = CDlgElemCtrl::IDD;
    t.strCaption = "Element settings";
    t.size = CSize(270, 196);
    t.Add({Ctl(IDC_STATIC, AfxCtl::groupBox, "Element type", CRect(7, 7, 120, 106))});
    const char* const names[] = {"TEBA - triangle", "DKT - triangle", "T6 - triangle",
                                 "T15 - triangle",  "T18 - triangle", "T21 - triangle", "Q9"};
    const int ids[] = {7123, 7124, 7125, 7126, 7127, 7128, 1073};
    for (int i = 0; i < 7; ++i)
        t.Add({Ctl(ids[i], AfxCtl::radio, names[i], CRect(14, 19 + 12 * i, 114, 29 + 12 * i),
                   i == 0 ? kFirst : kButtonStyle)});
    t.Add({
        Picture(1072, 16015, CRect(126, 7, 263, 66)),
        Ctl(1144, AfxCtl::staticText, "Short description", CRect(126, 70, 263, 106)),
        Ctl(16176, AfxCtl::groupBox, "Stress evaluation", CRect(7, 110, 263, 146)),
        Ctl(442, AfxCtl::radio, "Numerical", CRect(14, 121, 256, 131), kFirst),
        Ctl(1063, AfxCtl::radio, "Analytical", CRect(14, 133, 256, 143), kButtonStyle),
        Ctl(16177, AfxCtl::groupBox, "Number of integration points", CRect(7, 150, 150, 174)),
        Ctl(1032, AfxCtl::radio, "1x1", CRect(12, 160, 40, 170), kFirst),
        Ctl(1146, AfxCtl::radio, "2x2", CRect(44, 160, 96, 170), kButtonStyle),
        Ctl(1145, AfxCtl::radio, "3x3", CRect(98, 160, 148, 170), kButtonStyle),
        Ctl(50096, AfxCtl::groupBox, "", CRect(156, 150, 263, 186)),
        Ctl(1147, AfxCtl::radio, "Plane stress", CRect(162, 160, 256, 170), kFirst),
        Ctl(1148, AfxCtl::radio, "Plane strain", CRect(162, 172, 256, 182), kButtonStyle),
        // The solver print setting is exchanged but not shown.
        Ctl(344, AfxCtl::edit, "", CRect(7, 178, 60, 190),
            (kNumberStyle & ~WS_VISIBLE) | WS_GROUP),
    });
    return t;
}

DialogTemplate ConstrainedMeshTemplate()
{
    DialogTemplate t;
    t.nID = CDlgConstrMesh::IDD;
    t.strCaption = "Constrained mesh";
    t.size = CSize(390, 248);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Number of elements along", CRect(7, 7, 150, 48)),
        Ctl(IDC_STATIC, AfxCtl::staticText, "A-edges (m = )", CRect(14, 20, 80, 28)),
        Ctl(1002, AfxCtl::edit, "", CRect(84, 18, 144, 30), kNumberStyle | WS_GROUP),
        Ctl(IDC_STATIC, AfxCtl::staticText, "B-edges (n = )", CRect(14, 34, 80, 42)),
        Ctl(1003, AfxCtl::edit, "", CRect(84, 32, 144, 44), kNumberStyle),
        Picture(728, 728, CRect(160, 7, 260, 48)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Relative side lengths (ratio: last/first)",
            CRect(7, 52, 383, 112)),
    });
    // One line per ratio: two progression radios, the ratio edit.
    struct Ratio {
        const char* label;
        int linear, geometric, edit;
    };
    const Ratio ratios[] = {{"rm/r1", 1077, 1076, 1005},
                            {"sm/s1", 1079, 1080, 16207},
                            {"tn/t1", 1081, 1082, 1078},
                            {"un/u1", 1083, 1084, 347}};
    for (int i = 0; i < 4; ++i) {
        const int y = 63 + 12 * i;
        t.Add({Ctl(ratios[i].linear, AfxCtl::radio, "Linear progression", CRect(14, y, 110, y + 10),
                   kFirst),
               Ctl(ratios[i].geometric, AfxCtl::radio, "Geometric progression",
                   CRect(114, y, 210, y + 10), kButtonStyle),
               Ctl(IDC_STATIC, AfxCtl::staticText, ratios[i].label, CRect(220, y + 1, 250, y + 9)),
               Ctl(ratios[i].edit, AfxCtl::edit, "", CRect(254, y - 1, 330, y + 10),
                   kEditStyle | WS_GROUP)});
    }
    t.Add({Ctl(IDC_STATIC, AfxCtl::groupBox,
               "Arbitrary element side lengths - give each element separated by ; in % of total "
               "length",
               CRect(7, 116, 383, 176))});
    struct List {
        const char* label;
        int check, edit;
    };
    const List lists[] = {{"r1/A;...; r(m-1)/A", 535, 16230},
                          {"s1/A';...; s(m-1)/A'", 1086, 16239},
                          {"t1/B;...; t(n-1)/B", 536, 50085},
                          {"u1/B';...; u(n-1)/B'", 1087, 50089}};
    for (int i = 0; i < 4; ++i) {
        const int y = 128 + 12 * i;
        t.Add({Ctl(lists[i].check, AfxCtl::check, lists[i].label, CRect(14, y, 110, y + 10), kFirst),
               Ctl(lists[i].edit, AfxCtl::edit, "", CRect(114, y - 1, 376, y + 10),
                   kEditStyle | WS_GROUP)});
    }
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Triangular element pattern", CRect(7, 180, 383, 222)),
        Ctl(IDC_STATIC, AfxCtl::staticText, "Odd rows", CRect(14, 192, 54, 200)),
        Ctl(352, AfxCtl::edit, "", CRect(58, 190, 88, 202), kNumberStyle | WS_GROUP),
        Ctl(IDC_STATIC, AfxCtl::staticText, "Even rows", CRect(14, 206, 54, 214)),
        Ctl(1085, AfxCtl::edit, "", CRect(58, 204, 88, 216), kNumberStyle),
    });
    for (int i = 0; i < 4; ++i)
        t.Add({Picture(IDC_STATIC, UINT(16170 + i), CRect(96 + 70 * i, 190, 160 + 70 * i, 218))});
    t.Add({Ctl(IDOK, AfxCtl::defPush, "OK", CRect(270, 228, 320, 242), kFirst),
           Ctl(IDCANCEL, AfxCtl::push, "Cancel", CRect(326, 228, 383, 242), kButtonStyle)});
    return t;
}

DialogTemplate BoundaryConditionTemplate()
{
    DialogTemplate t;
    t.nID = CPrPageBC::IDD;
    t.strCaption = "Boundary conditions";
    t.size = CSize(330, 184);
    t.Add({Ctl(IDC_STATIC, AfxCtl::groupBox, "Support", CRect(7, 7, 190, 82))});
    const char* const choices[] = {"Free", "Simply supported", "Fixed", "Line of symmetry",
                                   "User defined"};
    const int choiceIds[] = {1100, 1101, 1102, 1140, 1032};
    for (int i = 0; i < 5; ++i)
        t.Add({Ctl(choiceIds[i], AfxCtl::radio, choices[i], CRect(14, 18 + 12 * i, 110, 28 + 12 * i),
                   i == 0 ? kFirst : kButtonStyle)});
    // The pictures beside choices 0 to 3.
    const UINT pictures[] = {729, 730, 732, 734};
    for (int i = 0; i < 4; ++i)
        t.Add({Picture(1193 + i, pictures[i], CRect(120, 18 + 12 * i, 180, 28 + 12 * i))});
    t.Add({Ctl(IDC_STATIC, AfxCtl::groupBox, "Degrees of freedom", CRect(7, 86, 190, 177))});
    for (int row = 0; row < 6; ++row) {
        const CPrPageBC::RowControls& c = CPrPageBC::kRows[row];
        const int y = 97 + 13 * row;
        t.Add({Ctl(c.label, AfxCtl::staticText, "", CRect(12, y + 1, 34, y + 9)),
               Ctl(c.check, AfxCtl::auto3State, "", CRect(36, y, 49, y + 10), kFirst),
               Ctl(c.edit, AfxCtl::edit, "", CRect(50, y - 1, 110, y + 10), kEditStyle | WS_GROUP),
               Ctl(c.unit, AfxCtl::staticText, "", CRect(113, y + 1, 163, y + 9)),
               Picture(c.spring, 788, CRect(166, y, 186, y + 10))});
    }
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::staticText, "L =", CRect(196, 10, 210, 18)),
        Ctl(16239, AfxCtl::edit, "", CRect(212, 8, 262, 20), kReadOnly | WS_GROUP),
        Ctl(CPrPageBC::kLengthUnit, AfxCtl::staticText, "", CRect(265, 10, 323, 18)),
        Ctl(IDC_STATIC, AfxCtl::staticText, "Angle", CRect(196, 26, 220, 34)),
        Ctl(16238, AfxCtl::edit, "", CRect(222, 24, 262, 36), kEditStyle | WS_GROUP),
        Ctl(CPrPageBC::kAngleUnit, AfxCtl::staticText, "", CRect(265, 26, 323, 34)),
        Ctl(1197, AfxCtl::check, "Apply to node i", CRect(196, 42, 323, 52), kFirst),
        Ctl(1198, AfxCtl::check, "Apply to node j", CRect(196, 55, 323, 65), kButtonStyle),
        Ctl(16143, AfxCtl::check, "&Change", CRect(196, 68, 260, 78), kButtonStyle),
        Ctl(7129, AfxCtl::check, "Change &Angle", CRect(196, 81, 280, 91), kButtonStyle),
        Picture(1202, 746, CRect(196, 96, 256, 156)), // the edge's local axes
        Picture(1203, 766, CRect(260, 96, 320, 156)), // the node's local axes
    });
    return t;
}

DialogTemplate EdgeLoadTemplate()
{
    DialogTemplate t;
    t.nID = CPPEdgeLoad::IDD;
    t.strCaption = "Load";
    t.size = CSize(280, 172);
    const int tIds[] = {1151, 1152, 1153}, nIds[] = {1154, 1155, 1156};
    const int tUnits[] = {1172, 1173, 1174}, nUnits[] = {1175, 16111, 1177};
    for (int i = 0; i < 3; ++i) {
        const int y = 10 + 16 * i;
        CString tName, nName;
        tName.Format("T%d", i + 1);
        nName.Format("N%d", i + 1);
        t.Add({Label(tName, CRect(7, y + 2, 20, y + 10)),
               Ctl(tIds[i], AfxCtl::edit, "", CRect(22, y, 82, y + 12), kEditStyle | WS_GROUP),
               Ctl(tUnits[i], AfxCtl::staticText, "", CRect(85, y + 2, 135, y + 10)),
               Label(nName, CRect(140, y + 2, 153, y + 10)),
               Ctl(nIds[i], AfxCtl::edit, "", CRect(155, y, 215, y + 12), kEditStyle | WS_GROUP),
               Ctl(nUnits[i], AfxCtl::staticText, "", CRect(218, y + 2, 273, y + 10))});
    }
    t.Add({
        Ctl(1149, AfxCtl::radio, "Global axes", CRect(7, 60, 80, 70), kFirst),
        Ctl(1150, AfxCtl::radio, "Local axes", CRect(85, 60, 160, 70), kButtonStyle),
        Ctl(16143, AfxCtl::check, "&Change", CRect(170, 60, 240, 70), kFirst),
        Picture(1159, 733, CRect(7, 76, 160, 156)),
        Label("Loads will be linearly distributed over element-edges", CRect(7, 160, 273, 168)),
    });
    return t;
}

DialogTemplate NodeGeometryTemplate()
{
    DialogTemplate t;
    t.nID = CPrPageBNodeGeom::IDD;
    t.strCaption = "Geometry";
    t.size = CSize(270, 172);
    t.Add({
        Label("Node ID", CRect(7, 9, 60, 17)),
        Ctl(16003, AfxCtl::edit, "", CRect(64, 7, 124, 19), kReadOnly | WS_GROUP),
        Label("Regions", CRect(134, 9, 180, 17)),
        Ctl(16035, AfxCtl::edit, "", CRect(184, 7, 244, 19), kReadOnly | WS_GROUP),
        Ctl(16176, AfxCtl::groupBox, "Coordinates", CRect(7, 24, 263, 64)),
        Ctl(1141, AfxCtl::staticText, "X-coord", CRect(14, 36, 50, 44)),
        Ctl(379, AfxCtl::edit, "", CRect(54, 34, 134, 46), kEditStyle | WS_GROUP),
        Ctl(508, AfxCtl::staticText, "", CRect(138, 36, 190, 44)),
        Ctl(1142, AfxCtl::staticText, "Y-coord", CRect(14, 50, 50, 58)),
        Ctl(350, AfxCtl::edit, "", CRect(54, 48, 134, 60), kEditStyle | WS_GROUP),
        Ctl(509, AfxCtl::staticText, "", CRect(138, 50, 190, 58)),
        Label("Node-spacing (Mesh-control)", CRect(7, 70, 120, 78)),
        Ctl(367, AfxCtl::edit, "", CRect(124, 68, 184, 80), kEditStyle | WS_GROUP),
        Ctl(510, AfxCtl::staticText, "", CRect(188, 70, 240, 78)),
        Label("0 indicates no change", CRect(124, 82, 220, 90)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Node load", CRect(7, 94, 263, 136)),
        Ctl(513, AfxCtl::staticText, "", CRect(14, 106, 24, 114)),
        Ctl(549, AfxCtl::edit, "", CRect(28, 104, 108, 116), kEditStyle | WS_GROUP),
        Ctl(511, AfxCtl::staticText, "", CRect(112, 106, 164, 114)),
        Ctl(514, AfxCtl::staticText, "", CRect(14, 120, 24, 128)),
        Ctl(550, AfxCtl::edit, "", CRect(28, 118, 108, 130), kEditStyle | WS_GROUP),
        Ctl(512, AfxCtl::staticText, "", CRect(112, 120, 164, 128)),
        Ctl(1149, AfxCtl::radio, "Global axes", CRect(170, 104, 256, 114), kFirst),
        Ctl(1150, AfxCtl::radio, "Local axes", CRect(170, 118, 256, 128), kButtonStyle),
        Ctl(529, AfxCtl::check, "Disconnect node", CRect(7, 144, 100, 154), kFirst),
    });
    return t;
}

// A control at (x, y) of size (cx, cy) in dialog units.
DialogControl At(int nID, AfxCtl kind, LPCTSTR text, int x, int y, int cx, int cy,
                 DWORD style = kButtonStyle)
{
    return Ctl(nID, kind, text, CRect(x, y, x + cx, y + cy), style);
}

DialogTemplate UnitsTemplate()
{
    DialogTemplate t;
    t.nID = CPPSettings::IDD;
    t.strCaption = "Units";
    t.size = CSize(305, 256);
    DialogControl formats = At(512, AfxCtl::comboDrop, "", 167, 90, 54, 92, kButtonStyle | WS_VSCROLL);
    formats.items = {"e-format", "f-format", "g-format"};
    const DWORD list = kButtonStyle | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS;
    // The forces tab's controls share the places of the rows' controls.
    DialogControl force = At(519, AfxCtl::edit, "", 107, 90, 58, 12, kButtonStyle | WS_BORDER);
    DialogControl forces = At(518, AfxCtl::listBox, "", 43, 104, 150, 97, list);
    DialogControl forceUnit = At(520, AfxCtl::edit, "", 168, 90, 30, 12, kButtonStyle | ES_READONLY);
    force.bOverlaps = forces.bOverlaps = forceUnit.bOverlaps = true;
    t.Add({
        At(16144, AfxCtl::radio, "&SI (metric)", 22, 26, 47, 10, kFirst),
        At(16153, AfxCtl::radio, "&US/Imperial", 22, 38, 53, 10),
        At(IDC_STATIC, AfxCtl::groupBox, "Set", 13, 16, 83, 36, WS_VISIBLE),
        At(IDC_STATIC, AfxCtl::groupBox, "Restore current set to default", 103, 16, 189, 36,
           WS_VISIBLE),
        At(521, AfxCtl::push, "U&nits && Formats", 131, 32, 60, 14),
        At(522, AfxCtl::push, "&Forces", 209, 32, 50, 14),
        At(IDC_STATIC, AfxCtl::groupBox, "", 13, 52, 279, 168, WS_VISIBLE),
        At(516, AfxCtl::tab, "Tab1", 26, 66, 252, 148),
        At(517, AfxCtl::comboList, "", 43, 90, 64, 113, kButtonStyle | WS_VSCROLL),
        At(515, AfxCtl::comboList, "", 107, 90, 60, 63, kButtonStyle | WS_VSCROLL),
        formats,
        At(513, AfxCtl::edit, "", 223, 90, 37, 12, kEditStyle),
        At(514, AfxCtl::listBox, "", 43, 104, 217, 97, list),
        force,
        forces,
        forceUnit,
        At(IDOK, AfxCtl::defPush, "&OK", 85, 230, 50, 14),
        At(IDCANCEL, AfxCtl::push, "&Cancel", 167, 230, 50, 14),
        At(IDC_STATIC, AfxCtl::groupBox, "", 0, 0, 305, 256, WS_VISIBLE),
    });
    return t;
}

DialogTemplate ScreenOptionsTemplate()
{
    DialogTemplate t;
    t.nID = CDlgColorOpt::IDD;
    t.strCaption = "Screen-options";
    t.size = CSize(300, 124);
    const auto colour = [](int nID, LPCTSTR text, int x, int y) {
        return At(nID, AfxCtl::colorButton, text, x, y, 40, 12);
    };
    t.Add({
        At(IDC_STATIC, AfxCtl::groupBox, "Background-color", 7, 7, 136, 44, WS_VISIBLE),
        Label("Modelling-view", CRect(14, 20, 90, 28)),
        colour(CDlgColorOpt::IDC_MODEL_BACK, "&m", 96, 18),
        Label("Results-view", CRect(14, 35, 90, 43)),
        colour(CDlgColorOpt::IDC_RESULT_BACK, "&r", 96, 33),
        At(IDC_STATIC, AfxCtl::groupBox, "Surface/wireframe", 150, 7, 143, 44, WS_VISIBLE),
        Label("color", CRect(157, 20, 210, 28)),
        colour(CDlgColorOpt::IDC_SURFACE, "&c", 216, 18),
        Label("Opacity", CRect(157, 35, 210, 43)),
        At(CDlgColorOpt::IDC_OPACITY, AfxCtl::edit, "", 216, 33, 40, 12, kEditStyle),
        Label("%", CRect(260, 35, 272, 43)),
        At(IDC_STATIC, AfxCtl::groupBox, "Axis", 7, 55, 64, 30, WS_VISIBLE),
        colour(CDlgColorOpt::IDC_AXIS, "&x", 18, 67),
        At(IDC_STATIC, AfxCtl::groupBox, "Grid", 79, 55, 64, 30, WS_VISIBLE),
        colour(CDlgColorOpt::IDC_GRID, "&g", 90, 67),
        At(IDC_STATIC, AfxCtl::groupBox, "&Stress-output", 150, 55, 143, 30, WS_VISIBLE),
        At(CDlgColorOpt::IDC_STRESS_OUTPUT, AfxCtl::check, "", 157, 68, 12, 10),
        colour(CDlgColorOpt::IDC_TEXT, "&s", 216, 67),
        At(IDC_STATIC, AfxCtl::groupBox, "Contour-plot", 7, 89, 136, 30, WS_VISIBLE),
        Label("Number of contours", CRect(14, 103, 90, 111)),
        At(CDlgColorOpt::IDC_CONTOURS, AfxCtl::edit, "", 96, 101, 40, 12, kNumberStyle),
        At(CDlgColorOpt::IDC_RESTORE, AfxCtl::push, "&Restore defaults", 216, 101, 77, 14),
    });
    return t;
}

// "<< Back", "Cancel" and the default forward button along the bottom.
void AddWizardButtons(DialogTemplate& t, LPCTSTR forward)
{
    const int y = t.size.cy - 21;
    t.Add({
        At(1065, AfxCtl::push, "<< &Back", t.size.cx - 179, y, 50, 14),
        At(IDCANCEL, AfxCtl::push, "&Cancel", t.size.cx - 121, y, 50, 14),
        At(1066, AfxCtl::defPush, forward, t.size.cx - 63, y, 50, 14),
    });
}

DialogTemplate MeshTypeTemplate()
{
    DialogTemplate t;
    t.nID = CDlgMeshType::IDD;
    t.size = CSize(320, 200);
    t.Add({
        At(IDC_STATIC, AfxCtl::groupBox, "Mesh generation", 7, 7, 140, 48, WS_VISIBLE),
        At(1067, AfxCtl::radio, "Free mesh (arbitrary geometry)", 14, 19, 128, 10, kFirst),
        At(448, AfxCtl::radio, "Constrained mesh\r(single quadrilateral region)", 14, 32, 128, 20),
        At(IDC_STATIC, AfxCtl::groupBox, "Element", 7, 59, 140, 112, WS_VISIBLE),
    });
    const char* const membrane[] = {"CST", "LST", "QST", "Q4", "Q6", "Q8", "Q9"};
    const int membraneIds[] = {1068, 1069, 1074, 1075, 446, 447, 1073};
    for (int i = 0; i < 7; ++i)
        t.Add(At(membraneIds[i], AfxCtl::radio, membrane[i], 14, 71 + 13 * i, 60, 10,
                 i == 0 ? kFirst : kButtonStyle));
    // The plate radios share the places of the membrane radios: one family
    // is hidden.
    const char* const plate[] = {"TEBA", "DKT", "T6", "T15", "T18", "T21"};
    const int plateIds[] = {1070, 7121, 7122, 1204, 507, 541};
    for (int i = 0; i < 6; ++i) {
        DialogControl radio = At(plateIds[i], AfxCtl::radio, plate[i], 14, 71 + 13 * i, 60, 10,
                                 i == 0 ? kFirst : kButtonStyle);
        radio.bOverlaps = true;
        t.Add(radio);
    }
    t.Add({
        Picture(1072, 16015, CRect(154, 7, 313, 90)),
        At(IDC_STATIC, AfxCtl::groupBox, "Short description", 154, 94, 159, 77, WS_VISIBLE),
        Ctl(1144, AfxCtl::staticText, "", CRect(160, 105, 307, 167)),
    });
    AddWizardButtons(t, "&Next >>");
    return t;
}

DialogTemplate FinalTemplate()
{
    DialogTemplate t;
    t.nID = CDlgFinal::IDD;
    t.size = CSize(320, 200);
    t.Add({
        Ctl(16177, AfxCtl::groupBox, "Integration points", CRect(7, 7, 150, 33)),
        At(1032, AfxCtl::radio, "1x1", 12, 18, 30, 10, kFirst),
        At(1146, AfxCtl::radio, "2x2 (full)", 44, 18, 50, 10),
        At(1145, AfxCtl::radio, "3x3 (full)", 96, 18, 50, 10),
        Ctl(16176, AfxCtl::groupBox, "Integration rule", CRect(7, 37, 313, 75)),
        At(442, AfxCtl::radio, "Numerical", 14, 48, 290, 10, kFirst),
        At(1063, AfxCtl::radio, "Analytical", 14, 60, 290, 10),
        Ctl(50096, AfxCtl::groupBox, "", CRect(156, 7, 313, 33)),
        At(1147, AfxCtl::radio, "Plane stress", 162, 18, 70, 10, kFirst),
        At(1148, AfxCtl::radio, "Plane strain", 236, 18, 70, 10),
        Picture(1072, 16015, CRect(7, 80, 160, 170)),
        // The solver print switch is exchanged but not shown.
        Ctl(IDC_STATIC, AfxCtl::staticText, "Printswitch:", CRect(170, 150, 220, 158), 0),
        Ctl(344, AfxCtl::edit, "", CRect(224, 148, 270, 160), (kNumberStyle & ~WS_VISIBLE) | WS_GROUP),
    });
    AddWizardButtons(t, "&Finish");
    return t;
}

DialogTemplate BucklingSettingsTemplate()
{
    DialogTemplate t;
    t.nID = CPPBucklSett::IDD;
    t.strCaption = "Buckling analysis settings";
    t.size = CSize(250, 140);
    t.Add({
        Label("Number of buckling modes", CRect(7, 9, 110, 17)),
        Ctl(CPPBucklSett::IDC_MODES, AfxCtl::edit, "", CRect(114, 7, 160, 19), kEditStyle | WS_GROUP),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Eigenvalue solver", CRect(7, 26, 243, 64)),
        Ctl(CPPBucklSett::IDC_SUBSPACE, AfxCtl::radio, "Subspace iteration", CRect(14, 38, 236, 48), kFirst),
        Ctl(CPPBucklSett::IDC_LANCZOS, AfxCtl::radio, "Lanczos iteration", CRect(14, 50, 236, 60), kButtonStyle),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Stress evaluation points", CRect(7, 70, 243, 108)),
        Ctl(CPPBucklSett::IDC_CORNERS, AfxCtl::radio, "At corner nodes (linear variation)",
            CRect(14, 82, 236, 92), kFirst),
        Ctl(CPPBucklSett::IDC_CENTROID, AfxCtl::radio, "Element centroid (constant variation)",
            CRect(14, 94, 236, 104), kButtonStyle),
    });
    return t;
}

DialogTemplate LoadGroupTemplate()
{
    DialogTemplate t;
    t.nID = CPPLoadGrp::IDD;
    t.strCaption = "Load group";
    t.size = CSize(260, 176);
    const struct {
        int nID;
        const char* label;
        int x, y;
    } edits[] = {{CPPLoadGrp::IDC_COLS, "n", 7, 9},        {CPPLoadGrp::IDC_ROWS, "m", 7, 25},
                 {CPPLoadGrp::IDC_SPACING, "Delta x", 7, 41}, {CPPLoadGrp::IDC_ANGLE, "angle", 7, 57},
                 {CPPLoadGrp::IDC_X0, "x0", 7, 73},       {CPPLoadGrp::IDC_Y0, "y0", 7, 89},
                 {CPPLoadGrp::IDC_LOAD1, "load", 7, 105}, {CPPLoadGrp::IDC_LOAD2, "load 2", 7, 121},
                 {CPPLoadGrp::IDC_RADIUS, "R", 134, 105}, {CPPLoadGrp::IDC_SECTIONS, "Sections", 134, 121}};
    for (const auto& e : edits)
        t.Add({Label(e.label, CRect(e.x, e.y + 2, e.x + 40, e.y + 10)),
               Ctl(e.nID, AfxCtl::edit, "", CRect(e.x + 44, e.y, e.x + 110, e.y + 12),
                   kEditStyle | WS_GROUP)});
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Pattern", CRect(134, 7, 253, 44)),
        Ctl(CPPLoadGrp::IDC_TYPE1, AfxCtl::radio, "Type 1", CRect(141, 18, 246, 28), kFirst),
        Ctl(CPPLoadGrp::IDC_TYPE2, AfxCtl::radio, "Type 2", CRect(141, 30, 246, 40), kButtonStyle),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Shape", CRect(134, 48, 253, 98)),
        Ctl(CPPLoadGrp::IDC_POINTS, AfxCtl::radio, "Points", CRect(141, 59, 246, 69), kFirst),
        Ctl(CPPLoadGrp::IDC_CIRCLES, AfxCtl::radio, "Circles", CRect(141, 71, 246, 81), kButtonStyle),
        Ctl(CPPLoadGrp::IDC_SQUARES, AfxCtl::radio, "Squares", CRect(141, 83, 246, 93), kButtonStyle),
    });
    return t;
}

DialogTemplate ElementPropertiesTemplate()
{
    DialogTemplate t;
    t.nID = CDlgElemProp::IDD;
    t.strCaption = "Element properties";
    t.size = CSize(200, 150);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Element ID", CRect(7, 7, 193, 32)),
        Ctl(CDlgElemProp::IDC_ID, AfxCtl::edit, "", CRect(14, 17, 120, 29), kReadOnly | WS_GROUP),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Associated material", CRect(7, 36, 193, 58)),
        Ctl(CDlgElemProp::IDC_MATERIAL, AfxCtl::staticText, "", CRect(14, 46, 186, 54)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Element Type", CRect(7, 62, 193, 84)),
        Ctl(CDlgElemProp::IDC_TYPE, AfxCtl::staticText, "", CRect(14, 72, 186, 80)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Area", CRect(7, 88, 193, 110)),
        Ctl(CDlgElemProp::IDC_AREA, AfxCtl::staticText, "", CRect(14, 98, 186, 106)),
        Ctl(IDOK, AfxCtl::defPush, "&OK", CRect(73, 124, 127, 138), kFirst),
    });
    return t;
}

DialogTemplate QuadrilateralTemplate()
{
    DialogTemplate t;
    t.nID = CDlgQuadCreate::IDD;
    t.strCaption = "Quadrilateral region";
    t.size = CSize(352, 170);
    t.Add({Label("x", CRect(30, 7, 80, 15)), Label("y", CRect(84, 7, 134, 15))});
    const char* const corners[] = {"A", "B", "C", "D"};
    const int xs[] = {1006, 1008, 1007, 1009}, ys[] = {1010, 1012, 1011, 1013};
    for (int i = 0; i < 4; ++i) {
        const int top = 19 + 16 * i;
        t.Add({Label(corners[i], CRect(7, top + 2, 24, top + 10)),
               Ctl(xs[i], AfxCtl::edit, "", CRect(30, top, 80, top + 12), kEditStyle | WS_GROUP),
               Ctl(ys[i], AfxCtl::edit, "", CRect(84, top, 134, top + 12), kEditStyle | WS_GROUP)});
    }
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Thickness", CRect(7, 86, 134, 150)),
        Ctl(1014, AfxCtl::edit, "", CRect(14, 98, 70, 110), kEditStyle | WS_GROUP),
        Ctl(1142, AfxCtl::edit, "", CRect(14, 114, 70, 126), (kEditStyle & ~WS_VISIBLE) | WS_GROUP),
        Ctl(1143, AfxCtl::edit, "", CRect(74, 114, 130, 126), (kEditStyle & ~WS_VISIBLE) | WS_GROUP),
        Ctl(16234, AfxCtl::edit, "", CRect(14, 130, 70, 142), (kEditStyle & ~WS_VISIBLE) | WS_GROUP),
        Ctl(16236, AfxCtl::edit, "", CRect(74, 130, 130, 142), (kEditStyle & ~WS_VISIBLE) | WS_GROUP),
        Label("All values are in", CRect(140, 9, 200, 17)),
        Ctl(CDlgQuadCreate::IDC_UNITS, AfxCtl::staticText, "", CRect(204, 9, 260, 17)),
        Ctl(IDOK, AfxCtl::defPush, "OK", CRect(180, 150, 230, 164), kFirst),
        Ctl(IDCANCEL, AfxCtl::push, "Cancel", CRect(240, 150, 290, 164), kFirst),
    });
    // The side conditions: part of the form, never shown.
    const struct {
        const char* name;
        int first, special;
    } sides[] = {{"AB", 1036, 1088}, {"AC", 1032, 1089}, {"BD", 1035, 446}, {"CD", 1029, 1090}};
    const DWORD hidden = ~static_cast<DWORD>(WS_VISIBLE);
    t.Add({Ctl(IDC_STATIC, AfxCtl::groupBox, "Boundary-conditions", CRect(140, 24, 345, 144),
               kGroupStyle & hidden)});
    const struct {
        const char* text;
        int left, width;
    } choices[] = {{"None", 150, 34}, {"Simply supp", 186, 58}, {"Fix", 246, 26}};
    for (int s = 0; s < 4; ++s) {
        const int top = 34 + 27 * s;
        t.Add({Ctl(IDC_STATIC, AfxCtl::groupBox, sides[s].name, CRect(146, top, 340, top + 24),
                   kGroupStyle & hidden)});
        for (int c = 0; c < 3; ++c)
            t.Add({Ctl(c == 0 ? sides[s].first : 29100 + 10 * s + c, AfxCtl::radio, choices[c].text,
                       CRect(choices[c].left, top + 10, choices[c].left + choices[c].width, top + 20),
                       (c == 0 ? kFirst : kButtonStyle) & hidden)});
        t.Add({Ctl(sides[s].special, AfxCtl::radio, "Special", CRect(272, top + 10, 316, top + 20),
                   kButtonStyle & hidden)});
    }
    return t;
}

DialogTemplate VolumeForcesTemplate()
{
    DialogTemplate t;
    t.nID = CDlgVolForce::IDD;
    t.strCaption = "Volume forces";
    t.size = CSize(320, 190);
    t.Add({Ctl(IDC_STATIC, AfxCtl::groupBox, "Volume force", CRect(7, 7, 313, 100))});
    // Two columns, x and y; each unit label has room for a force per volume
    // per length ("kN/m^3/mm").
    const struct {
        int value, valueUnit, grad, gradUnit, ref, refUnit, left;
        const char *valueLabel, *gradLabel, *refLabel;
    } columns[] = {{CDlgVolForce::IDC_VALUE1, 1187, CDlgVolForce::IDC_GRAD1, 1189,
                    CDlgVolForce::IDC_REF1, 1192, 14, "Value x", "Gradient x", "Ref. length x"},
                   {CDlgVolForce::IDC_VALUE2, 1188, CDlgVolForce::IDC_GRAD2, 1190,
                    CDlgVolForce::IDC_REF2, 1191, 164, "Value y", "Gradient y", "Ref. length y"}};
    for (const auto& c : columns) {
        const int l = c.left;
        t.Add({
            Label(c.valueLabel, CRect(l, 20, l + 50, 28)),
            Ctl(c.value, AfxCtl::edit, "", CRect(l + 52, 18, l + 98, 30), kEditStyle | WS_GROUP),
            Ctl(c.valueUnit, AfxCtl::staticText, "", CRect(l + 100, 20, l + 144, 28)),
            Label(c.gradLabel, CRect(l, 42, l + 50, 50)),
            Ctl(c.grad, AfxCtl::edit, "", CRect(l + 52, 40, l + 98, 52), kEditStyle | WS_GROUP),
            Ctl(c.gradUnit, AfxCtl::staticText, "", CRect(l + 100, 42, l + 144, 50)),
            Label(c.refLabel, CRect(l, 64, l + 50, 72)),
            Ctl(c.ref, AfxCtl::edit, "", CRect(l + 52, 62, l + 98, 74), kEditStyle | WS_GROUP),
            Ctl(c.refUnit, AfxCtl::staticText, "", CRect(l + 100, 64, l + 144, 72)),
        });
    }
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Weight of structure", CRect(7, 104, 313, 160)),
        Ctl(CDlgVolForce::IDC_OWN_WEIGHT, AfxCtl::check,
            "Include own weight of structure based on mass density and volume for:",
            CRect(14, 116, 276, 126), kFirst),
        Label("angle", CRect(14, 134, 44, 142)),
        Ctl(CDlgVolForce::IDC_ANGLE, AfxCtl::edit, "", CRect(48, 132, 98, 144), kEditStyle | WS_GROUP),
        Label("deg", CRect(102, 134, 130, 142)),
        Ctl(CDlgVolForce::IDC_GRAVITY, AfxCtl::edit, "", CRect(140, 132, 190, 144),
            (kEditStyle & ~WS_VISIBLE) | WS_GROUP),
        Ctl(IDOK, AfxCtl::defPush, "OK", CRect(200, 168, 250, 182), kFirst),
        Ctl(IDCANCEL, AfxCtl::push, "Cancel", CRect(260, 168, 310, 182), kFirst),
    });
    return t;
}


} // namespace

void brantel::AddPageTemplates(CResourceModule& m)
{
    m.Add(CDlgElemCtrl::IDD, ElementSettingsTemplate());
    m.Add(CDlgConstrMesh::IDD, ConstrainedMeshTemplate());
    m.Add(CPrPageBC::IDD, BoundaryConditionTemplate());
    m.Add(CPPEdgeLoad::IDD, EdgeLoadTemplate());
    m.Add(CPrPageBNodeGeom::IDD, NodeGeometryTemplate());
    m.Add(CPPSettings::IDD, UnitsTemplate());
    m.Add(CDlgColorOpt::IDD, ScreenOptionsTemplate());
    m.Add(CDlgMeshType::IDD, MeshTypeTemplate());
    m.Add(CDlgFinal::IDD, FinalTemplate());
    m.Add(CPPBucklSett::IDD, BucklingSettingsTemplate());
    m.Add(CDlgElemProp::IDD, ElementPropertiesTemplate());
    m.Add(CPPLoadGrp::IDD, LoadGroupTemplate());
    m.Add(CDlgQuadCreate::IDD, QuadrilateralTemplate());
    m.Add(CDlgVolForce::IDD, VolumeForcesTemplate());
}

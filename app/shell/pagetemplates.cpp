#include "app/shell/pagetemplates.h"

#include "app/shell/bcpage.h"
#include "app/shell/edgeloadpage.h"
#include "app/shell/elemctrl.h"
#include "app/shell/nodegeompage.h"
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
    t.size = CSize(280, 152);
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
        Picture(1159, 733, CRect(7, 76, 120, 134)),
        Label("Loads will be linearly distibuted over element-edges", CRect(7, 138, 273, 146)),
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

} // namespace

void brantel::AddPageTemplates(CResourceModule& m)
{
    m.Add(CDlgElemCtrl::IDD, ElementSettingsTemplate());
    m.Add(CDlgConstrMesh::IDD, ConstrainedMeshTemplate());
    m.Add(CPrPageBC::IDD, BoundaryConditionTemplate());
    m.Add(CPPEdgeLoad::IDD, EdgeLoadTemplate());
    m.Add(CPrPageBNodeGeom::IDD, NodeGeometryTemplate());
}

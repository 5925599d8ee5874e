// Templates of the mesh-control, smoothing and storage pages.
#include "dialogs/meshgenpage.h"
#include "dialogs/resources.h"
#include "dialogs/smoothpage.h"
#include "dialogs/storagepage.h"
#include "dialogs/templaterows.h"

namespace
{

using namespace pavesta;

constexpr DWORD kNumber = kNumberStyle;
constexpr DWORD kFirst = kGroupStyle;

DialogTemplate MeshControlTemplate()
{
    DialogTemplate t;
    t.nID = VokPPMeshGenSett::IDD;
    t.strCaption = "Mesh control";
    t.size = CSize(260, 206);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::staticText, "Minimum number of elements:", CRect(7, 10, 150, 18)),
        Ctl(16123, AfxCtl::edit, "", CRect(200, 8, 250, 20), kNumber | WS_GROUP),
        Ctl(IDC_STATIC, AfxCtl::staticText,
            "Number of 'trial-nodes' while generating mesh:", CRect(7, 28, 195, 36)),
        Ctl(16124, AfxCtl::edit, "", CRect(200, 26, 250, 38), kNumber),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Nodal positions", CRect(7, 44, 128, 100)),
        Ctl(16120, AfxCtl::radio, "Linear", CRect(14, 57, 120, 67), kFirst),
        Ctl(16121, AfxCtl::radio, "Geometric", CRect(14, 71, 120, 81)),
        Ctl(16122, AfxCtl::radio, "Constant", CRect(14, 85, 120, 95)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Triangle pattern", CRect(134, 44, 250, 100)),
        Ctl(IDC_STATIC, AfxCtl::staticText, "Even rows", CRect(141, 59, 190, 67)),
        Ctl(16125, AfxCtl::edit, "", CRect(200, 57, 230, 69), kNumber | WS_GROUP),
        Ctl(IDC_STATIC, AfxCtl::staticText, "Odd rows", CRect(141, 79, 190, 87)),
        Ctl(16126, AfxCtl::edit, "", CRect(200, 77, 230, 89), kNumber),
        Ctl(503, AfxCtl::check, "Suppress &warnings", CRect(7, 106, 120, 116), kFirst),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Element size control", CRect(7, 122, 250, 180)),
        Ctl(446, AfxCtl::radio, "Use &default control", CRect(14, 135, 140, 145), kFirst),
        Ctl(447, AfxCtl::radio, "&User-defined", CRect(14, 149, 140, 159)),
        Ctl(448, AfxCtl::radio, "&Subdivide longest edge by", CRect(14, 163, 140, 173)),
        Ctl(367, AfxCtl::edit, "", CRect(145, 161, 200, 173), kNumber | WS_GROUP),
        Ctl(16068, AfxCtl::push, "&Restore default", CRect(180, 186, 250, 200), kFirst),
    });
    return t;
}

DialogTemplate SmoothingTemplate()
{
    DialogTemplate t;
    t.nID = VokPPSmoothinSett::IDD;
    t.strCaption = "Smoothing";
    t.size = CSize(270, 122);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::staticText,
            "Smoothed values will be calculated by simple nodal averaging\naccording to the "
            "following rules:",
            CRect(7, 7, 263, 27)),
        Ctl(16156, AfxCtl::radio, "Within &individual regions only", CRect(7, 34, 160, 44), kFirst),
        Ctl(16157, AfxCtl::radio, "&Across boundaries if", CRect(7, 48, 160, 58)),
        // "Same name" exists for the word's bit but is not shown.
        Ctl(16158, AfxCtl::check, "Same name", CRect(20, 90, 160, 100), WS_GROUP | WS_TABSTOP),
        Ctl(16159, AfxCtl::check, "Same material", CRect(20, 62, 160, 72), WS_VISIBLE | WS_TABSTOP),
        Ctl(16160, AfxCtl::check, "Same definition of thickness", CRect(20, 76, 160, 86),
            WS_VISIBLE | WS_TABSTOP),
        Ctl(IDC_STATIC, AfxCtl::staticText, "(Changes require remeshing)", CRect(7, 106, 150, 114)),
    });
    return t;
}

DialogTemplate StorageTemplate()
{
    DialogTemplate t;
    t.nID = CPPStiffStorage::IDD;
    t.strCaption = "Storage && renumbering"; // the tab shows one "&"
    t.size = CSize(270, 146);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Storage format", CRect(7, 7, 263, 35)),
        Ctl(16054, AfxCtl::radio, "Skyline", CRect(14, 20, 84, 30), kFirst),
        Ctl(16055, AfxCtl::radio, "Sparse", CRect(90, 20, 160, 30)),
        Ctl(16176, AfxCtl::groupBox, "Renumbering", CRect(7, 40, 263, 106)),
        Ctl(16051, AfxCtl::radio, "by SWS-algorithm (Sloan)", CRect(14, 53, 256, 63), kFirst),
        Ctl(16052, AfxCtl::radio, "by PFM-algorithm (Profile Front Minimization)",
            CRect(14, 67, 256, 77)),
        Ctl(16053, AfxCtl::radio, "by ELW-algorithm (Wilson)", CRect(14, 81, 256, 91)),
        Ctl(16050, AfxCtl::radio, "No renumbering (not recommended)", CRect(14, 94, 256, 104)),
        Ctl(16177, AfxCtl::groupBox, "Reordering", CRect(7, 111, 263, 139)),
        Ctl(16049, AfxCtl::radio, "On", CRect(14, 124, 84, 134), kFirst),
        Ctl(16056, AfxCtl::radio, "Off", CRect(90, 124, 160, 134)),
    });
    return t;
}

} // namespace

void pavesta::AddMeshPageResources(CResourceModule& m)
{
    m.Add(VokPPMeshGenSett::IDD, MeshControlTemplate());
    m.Add(VokPPSmoothinSett::IDD, SmoothingTemplate());
    m.Add(CPPStiffStorage::IDD, StorageTemplate());
}

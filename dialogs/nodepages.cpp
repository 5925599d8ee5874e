#include "dialogs/nodepages.h"

#include <cmath>

#include "dialogs/resources.h"
#include "dialogs/templaterows.h"
#include "matrix/realvector.h"
#include "platform/afx/numconv.h"

namespace
{

constexpr int kGravityEdits[] = {16230, 16231, 16232, 16233, 16235};
constexpr int kSelfWeight = 16234;
constexpr int kNodeID = 16003;
constexpr int kNodeXYZ[3] = {16020, 16021, 16022};

constexpr int kRotEdits[3] = {16214, 16215, 16216};
constexpr int kDisplEdits[3] = {16217, 16218, 16219};
constexpr int kCoordEdits[3] = {16220, 16221, 16222};
constexpr int kCoordGroup = 16004, kDisplGroup = 16227, kRotGroup = 16228;
constexpr int kCoordNorm = 16223, kDisplNorm = 16208, kRotNorm = 16211;

double Norm(const float (&v)[3])
{
    return std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
}

} // namespace

// ---- VokLGPPGravity3D ----------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokLGPPGravity3D, CPropertyPage)

VokLGPPGravity3D::VokLGPPGravity3D() : CPropertyPage(IDD) {}

void VokLGPPGravity3D::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 16092, m_iOwnWeight);
    DDX_Text(pDX, 16093, m_dMagnitude);
    DDX_Text(pDX, 16089, m_dDirector[0]);
    DDX_Text(pDX, 16090, m_dDirector[1]);
    DDX_Text(pDX, 16091, m_dDirector[2]);
}

// ---- VokPP3DGravity -------------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPP3DGravity, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPP3DGravity, CPropertyPage)
ON_EN_CHANGE(16230, OnModified)
ON_EN_CHANGE(16231, OnModified)
ON_EN_CHANGE(16232, OnModified)
ON_EN_CHANGE(16233, OnModified)
ON_EN_CHANGE(16235, OnModified)
ON_BN_CLICKED(kSelfWeight, OnModified)
END_MESSAGE_MAP()

VokPP3DGravity::VokPP3DGravity() : CPropertyPage(IDD) {}

void VokPP3DGravity::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, kSelfWeight, m_iSelfWeight);
    for (int i = 0; i < 3; ++i)
        DDX_Text(pDX, kGravityEdits[i], m_dDirector[i]);
    DDX_Text(pDX, 16233, m_dIntensity);
    DDX_Text(pDX, 16235, m_dMassScaling);
}

BOOL VokPP3DGravity::OnInitDialog()
{
    if (m_pGravity) {
        const CVector& g = *m_pGravity;
        m_dIntensity = g.Length();
        for (int i = 0; i < 3; ++i)
            m_dDirector[i] = (m_dIntensity != 0.0 && i < g.GetSize()) ? g[i] / m_dIntensity : 0.0;
    }
    if (m_pbSelfWeight)
        m_iSelfWeight = *m_pbSelfWeight ? 1 : 0;
    if (m_pdMassScaling)
        m_dMassScaling = *m_pdMassScaling;
    m_bFilling = true;
    const BOOL result = CPropertyPage::OnInitDialog();
    m_bFilling = false;
    return result;
}

BOOL VokPP3DGravity::OnApply()
{
    const bool bWindow = GetSafeHwnd() != nullptr;
    if (bWindow && !UpdateData(TRUE))
        return FALSE;
    if (m_pGravity) {
        CVector& g = *m_pGravity;
        if (g.GetSize() != 3)
            g.Allocate(3, false, 0.0);
        for (int i = 0; i < 3; ++i)
            g[i] = m_dDirector[i];
        g.Normalize();
        for (int i = 0; i < 3; ++i)
            m_dDirector[i] = g[i];
        g *= m_dIntensity;
    }
    if (m_pbSelfWeight)
        *m_pbSelfWeight = m_iSelfWeight != 0;
    if (m_pdMassScaling)
        *m_pdMassScaling = m_dMassScaling;
    if (bWindow) {
        m_bFilling = true;
        UpdateData(FALSE);
        m_bFilling = false;
    }
    return CPropertyPage::OnApply();
}

void VokPP3DGravity::OnModified()
{
    if (!m_bFilling)
        SetModified(TRUE);
}

// ---- VokPP3DOrient ---------------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPP3DOrient, CPropertyPage)

VokPP3DOrient::VokPP3DOrient() : CPropertyPage(IDD) {}

void VokPP3DOrient::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, 16028, m_dPhi);
    DDX_Text(pDX, 16027, m_dTheta);
    DDX_Text(pDX, 16207, m_dAlpha);
}

// ---- VokPPNode3D -----------------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPNode3D, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPNode3D, CPropertyPage)
ON_EN_CHANGE(kNodeID, OnModified)
ON_EN_CHANGE(16020, OnModified)
ON_EN_CHANGE(16021, OnModified)
ON_EN_CHANGE(16022, OnModified)
END_MESSAGE_MAP()

VokPPNode3D::VokPPNode3D() : CPropertyPage(IDD) {}

VokPPNode3D::VokPPNode3D(double* pdCoords, int* piID)
    : CPropertyPage(IDD), m_pdCoords(pdCoords), m_piID(piID)
{
}

void VokPPNode3D::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, kNodeID, m_iID);
    for (int i = 0; i < 3; ++i)
        DDX_Text(pDX, kNodeXYZ[i], m_dXYZ[i]);
}

BOOL VokPPNode3D::OnInitDialog()
{
    if (m_pdCoords)
        for (int i = 0; i < 3; ++i)
            m_dXYZ[i] = m_pdCoords[i];
    m_bFilling = true;
    const BOOL result = CPropertyPage::OnInitDialog();
    m_bFilling = false;
    if (!m_piID)
        static_cast<CEdit*>(GetDlgItem(kNodeID))->SetReadOnly(TRUE);
    return result;
}

BOOL VokPPNode3D::OnApply()
{
    if (GetSafeHwnd() && !UpdateData(TRUE))
        return FALSE;
    if (m_pdCoords)
        for (int i = 0; i < 3; ++i)
            m_pdCoords[i] = m_dXYZ[i];
    if (m_piID)
        *m_piID = m_iID;
    return CPropertyPage::OnApply();
}

void VokPPNode3D::OnModified()
{
    if (!m_bFilling)
        SetModified(TRUE);
}

// ---- VokPPNodeDispl3D ------------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPNodeDispl3D, CPropertyPage)

VokPPNodeDispl3D::VokPPNodeDispl3D() : CPropertyPage(IDD) {}

void VokPPNodeDispl3D::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (int i = 0; i < 3; ++i) {
        DDX_Text(pDX, kRotEdits[i], m_fRot[i]);
        DDX_Text(pDX, kDisplEdits[i], m_fDispl[i]);
        DDX_Text(pDX, kCoordEdits[i], m_fCoord[i]);
    }
}

BOOL VokPPNodeDispl3D::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    CString text;
    if (!m_strLengthUnit.IsEmpty()) {
        text.Format("Coordinates  [%s]:", m_strLengthUnit.GetString());
        SetDlgItemText(kCoordGroup, text);
        text.Format("Displacements  [%s]:", m_strLengthUnit.GetString());
        SetDlgItemText(kDisplGroup, text);
    }
    if (!m_strRotationUnit.IsEmpty()) {
        text.Format("Rotations   [%s]:", m_strRotationUnit.GetString());
        SetDlgItemText(kRotGroup, text);
    }
    const std::pair<int, const float(*)[3]> norms[] = {
        {kCoordNorm, &m_fCoord}, {kDisplNorm, &m_fDispl}, {kRotNorm, &m_fRot}};
    for (const auto& [nID, pValues] : norms) {
        text.Format("%f", Norm(*pValues));
        SetDlgItemText(nID, text);
    }
    return result;
}

// ---- VokPPNode2DEdit -------------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPNode2DEdit, CPropertyPage)

VokPPNode2DEdit::VokPPNode2DEdit() : CPropertyPage(IDD) {}

// ---- Templates -------------------------------------------------------------------------

namespace
{

using namespace pavesta;

// Three edits X, Y, Z in a group box at (x, y), 16 units apart.
void AddXYZGroup(DialogTemplate& t, int nGroupID, LPCTSTR caption, int x, int y, int width,
                 const int (&ids)[3], DWORD editStyle)
{
    t.Add(Ctl(nGroupID, AfxCtl::groupBox, caption, CRect(x, y, x + width, y + 62)));
    const LPCTSTR axes[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        const int row = y + 14 + i * 16;
        t.Add(Label(axes[i], CRect(x + 7, row + 2, x + 15, row + 10)));
        t.Add(Ctl(ids[i], AfxCtl::edit, "", CRect(x + 20, row, x + width - 7, row + 12),
                  editStyle | (i == 0 ? WS_GROUP : 0)));
    }
}

// The pictures of the orientation page: the global and local axes with the
// angles, and the symbols that label the three fields.
enum : UINT {
    kAxesPicture = 16340,
    kPhiPicture = 16341,
    kThetaPicture = 16342,
    kAlphaPicture = 16343
};

AfxBitmapResource AxesPicture()
{
    return SvgBitmap(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"180\" height=\"150\" "
        "font-size=\"12\" stroke-width=\"1.5\">"
        "<g stroke=\"black\"><line x1=\"80\" y1=\"100\" x2=\"80\" y2=\"10\"/>"
        "<line x1=\"80\" y1=\"100\" x2=\"170\" y2=\"100\"/>"
        "<line x1=\"80\" y1=\"100\" x2=\"20\" y2=\"140\"/></g>"
        "<g stroke=\"blue\"><line x1=\"80\" y1=\"100\" x2=\"130\" y2=\"25\"/>"
        "<line x1=\"80\" y1=\"100\" x2=\"160\" y2=\"130\"/>"
        "<line x1=\"80\" y1=\"100\" x2=\"35\" y2=\"40\"/></g>"
        "<text x=\"84\" y=\"14\">Z</text><text x=\"160\" y=\"96\">Y</text>"
        "<text x=\"12\" y=\"140\">X</text><text x=\"132\" y=\"25\" fill=\"blue\">Z'</text>"
        "<text x=\"150\" y=\"144\" fill=\"blue\">Y'</text>"
        "<text x=\"25\" y=\"38\" fill=\"blue\">X'</text>"
        "<text x=\"96\" y=\"50\">&#952;</text><text x=\"70\" y=\"128\">&#966;</text></svg>");
}

AfxBitmapResource SymbolPicture(const char* entity)
{
    return SvgBitmap(AfxFormat("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" "
                               "height=\"16\"><text x=\"3\" y=\"13\" font-size=\"13\">%s"
                               "</text></svg>",
                               entity));
}

DialogTemplate Gravity3DTemplate()
{
    DialogTemplate t;
    t.nID = VokLGPPGravity3D::IDD;
    t.strCaption = "Gravity";
    t.size = CSize(220, 150);
    t.Add(Ctl(16092, AfxCtl::check, "Include own weight of structure", CRect(7, 7, 160, 17),
              kGroupStyle));
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Magnitude", CRect(7, 22, 213, 52)),
        Ctl(16093, AfxCtl::edit, "", CRect(14, 36, 100, 48), kEditStyle | WS_GROUP),
        Label("m/s^2", CRect(106, 38, 140, 46)),
    });
    AddXYZGroup(t, IDC_STATIC, "Director", 7, 58, 120, {16089, 16090, 16091}, kEditStyle);
    return t;
}

DialogTemplate GravityTemplate()
{
    DialogTemplate t;
    t.nID = VokPP3DGravity::IDD;
    t.strCaption = "Gravity";
    t.size = CSize(240, 150);
    t.Add(Ctl(kSelfWeight, AfxCtl::check, "Include self weight of structure", CRect(7, 7, 160, 17),
              kGroupStyle));
    AddXYZGroup(t, IDC_STATIC, "Director", 7, 22, 110, {16230, 16231, 16232}, kEditStyle);
    t.Add({
        Label("Intensity", CRect(124, 36, 170, 44)),
        Ctl(16233, AfxCtl::edit, "", CRect(124, 46, 190, 58), kEditStyle | WS_GROUP),
        Label("m/s^2", CRect(194, 48, 230, 56)),
        Label("Mass scaling factor", CRect(7, 92, 100, 100)),
        Ctl(16235, AfxCtl::edit, "", CRect(110, 90, 176, 102), kEditStyle),
    });
    return t;
}

DialogTemplate OrientTemplate()
{
    DialogTemplate t;
    t.nID = VokPP3DOrient::IDD;
    t.strCaption = "Orientation";
    t.size = CSize(220, 180);
    t.Add(Picture(IDC_STATIC, kAxesPicture, CRect(7, 7, 127, 107)));
    const std::pair<UINT, int> rows[] = {
        {kPhiPicture, 16028}, {kThetaPicture, 16027}, {kAlphaPicture, 16207}};
    int y = 114;
    for (const auto& [nBitmap, nEdit] : rows) {
        t.Add(Picture(IDC_STATIC, nBitmap, CRect(7, y, 19, y + 12)));
        t.Add(Ctl(nEdit, AfxCtl::edit, "", CRect(24, y, 90, y + 12),
                  kEditStyle | (nEdit == 16028 ? WS_GROUP : 0)));
        y += 16;
    }
    t.Add(Label("(units in degrees)", CRect(100, 132, 190, 140)));
    return t;
}

DialogTemplate Node3DTemplate()
{
    DialogTemplate t;
    t.nID = VokPPNode3D::IDD;
    t.strCaption = "Geometry";
    t.size = CSize(200, 110);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Node ID", CRect(7, 7, 193, 37)),
        Ctl(kNodeID, AfxCtl::edit, "", CRect(14, 21, 80, 33), kNumberStyle | WS_GROUP),
    });
    AddXYZGroup(t, IDC_STATIC, "Coordinates", 7, 42, 186, kNodeXYZ, kEditStyle);
    return t;
}

DialogTemplate NodeDisplTemplate()
{
    DialogTemplate t;
    t.nID = VokPPNodeDispl3D::IDD;
    t.strCaption = "Node displacement";
    t.size = CSize(300, 100);
    const DWORD readOnly = kEditStyle | ES_READONLY;
    const std::tuple<int, LPCTSTR, const int(*)[3], int> groups[] = {
        {kCoordGroup, "Coordinates", &kCoordEdits, kCoordNorm},
        {kDisplGroup, "Displacement", &kDisplEdits, kDisplNorm},
        {kRotGroup, "Rotations", &kRotEdits, kRotNorm}};
    int x = 7;
    for (const auto& [nGroup, caption, pIDs, nNorm] : groups) {
        AddXYZGroup(t, nGroup, caption, x, 7, 92, *pIDs, readOnly);
        t.Add(Label("||x|| = ", CRect(x, 74, x + 32, 82)));
        t.Add(Ctl(nNorm, AfxCtl::staticText, "", CRect(x + 34, 74, x + 92, 82)));
        x += 96;
    }
    return t;
}

DialogTemplate Node2DTemplate()
{
    DialogTemplate t;
    t.nID = VokPPNode2DEdit::IDD;
    t.strCaption = "Geometry";
    t.size = CSize(200, 110);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Node ID", CRect(7, 7, 193, 37)),
        Ctl(kNodeID, AfxCtl::edit, "", CRect(14, 21, 80, 33), kEditStyle | ES_READONLY),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Coordinates", CRect(7, 42, 193, 104)),
    });
    return t;
}

} // namespace

void pavesta::AddNodePageResources(CResourceModule& m)
{
    m.Add(VokLGPPGravity3D::IDD, Gravity3DTemplate());
    m.Add(VokPP3DGravity::IDD, GravityTemplate());
    m.Add(VokPP3DOrient::IDD, OrientTemplate());
    m.Add(kAxesPicture, AxesPicture());
    m.Add(kPhiPicture, SymbolPicture("&#966;"));
    m.Add(kThetaPicture, SymbolPicture("&#952;"));
    m.Add(kAlphaPicture, SymbolPicture("&#945;"));
    m.Add(VokPPNode3D::IDD, Node3DTemplate());
    m.Add(VokPPNodeDispl3D::IDD, NodeDisplTemplate());
    m.Add(VokPPNode2DEdit::IDD, Node2DTemplate());
}

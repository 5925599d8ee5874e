#include "dialogs/smalldlgs.h"

#include "dialogs/resources.h"
#include "dialogs/templaterows.h"
#include "platform/afx/numconv.h"

namespace
{

constexpr int kRotateAngle = 16265;
constexpr int kRotations[3] = {16264, 16259, 16260};
constexpr int kDirector[3] = {16261, 16262, 16263};
constexpr int kCenter[3] = {16234, 16236, 16237};
constexpr int kPseudovector = 16144, kEuler = 16145;
constexpr int kPreapply = 16072, kMode = 16074, kAmplitude = 16075, kSequential = 16076;

} // namespace

// ---- VokDlg3x3Matrix ----------------------------------------------------------

IMPLEMENT_DYNAMIC(VokDlg3x3Matrix, CDialog)

VokDlg3x3Matrix::VokDlg3x3Matrix(CWnd* pParent) : CDialog(IDD, pParent) {}

void VokDlg3x3Matrix::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // The entries have no labels: each is named by its row and column.
    for (int i = 0; i < 9; ++i) {
        const CString name(AfxFormat("Matrix entry (%d, %d)", i / 3 + 1, i % 3 + 1).c_str());
        DDX_Number(pDX, kEditIDs[i], m_dA[i], AfxRange::Signed(), name);
    }
}

// ---- VokDLGDivideSegment ------------------------------------------------------

IMPLEMENT_DYNAMIC(VokDLGDivideSegment, CDialog)

VokDLGDivideSegment::VokDLGDivideSegment(CWnd* pParent) : CDialog(IDD, pParent) {}

void VokDLGDivideSegment::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 16230, m_nMembers);
    DDV_MinMaxInt(pDX, m_nMembers, 2, 1000000);
    DDX_Radio(pDX, 16144, m_iDivision);
}

// ---- VokDLGRotate --------------------------------------------------------------

IMPLEMENT_DYNAMIC(VokDLGRotate, CDialog)

BEGIN_MESSAGE_MAP(VokDLGRotate, CDialog)
ON_BN_CLICKED(kPseudovector, OnKind)
ON_BN_CLICKED(kEuler, OnKind)
END_MESSAGE_MAP()

VokDLGRotate::VokDLGRotate(CWnd* pParent) : CDialog(IDD, pParent)
{
    m_lpszTemplateModule = "pavesta"; // the framework's "Rotate model" has this id too
}

void VokDLGRotate::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kRotateAngle, m_dAngle);
    for (int i = 0; i < 3; ++i) {
        DDX_Text(pDX, kRotations[i], m_dRot[i]);
        DDX_Text(pDX, kDirector[i], m_dDirector[i]);
        DDX_Text(pDX, kCenter[i], m_dCenter[i]);
    }
    DDX_Radio(pDX, kPseudovector, m_iKind);
}

BOOL VokDLGRotate::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    EnableByKind();
    return result;
}

void VokDLGRotate::OnKind()
{
    TakeQuietly();
    EnableByKind();
}

void VokDLGRotate::EnableByKind()
{
    // The radio decides, also when another field was refused above.
    const BOOL bPseudo = IsDlgButtonChecked(kPseudovector) ? TRUE : FALSE;
    GetDlgItem(kRotateAngle)->EnableWindow(bPseudo);
    for (int i = 0; i < 3; ++i) {
        GetDlgItem(kDirector[i])->EnableWindow(bPseudo);
        GetDlgItem(kRotations[i])->EnableWindow(!bPseudo);
        GetDlgItem(kCenter[i])->EnableWindow(TRUE);
    }
}

// ---- VokDlgCalcSett1 ------------------------------------------------------------

IMPLEMENT_DYNAMIC(VokDlgCalcSett1, CDialog)

BEGIN_MESSAGE_MAP(VokDlgCalcSett1, CDialog)
ON_BN_CLICKED(kPreapply, OnPreapply)
END_MESSAGE_MAP()

VokDlgCalcSett1::VokDlgCalcSett1(CWnd* pParent) : CDialog(IDD, pParent) {}

void VokDlgCalcSett1::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, kPreapply, m_iPreapply);
    DDX_Text(pDX, kMode, m_uMode);
    DDX_Text(pDX, kAmplitude, m_dAmplitude);
    DDX_Check(pDX, kSequential, m_iSequentialImages);
}

BOOL VokDlgCalcSett1::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    EnableImperfection();
    return result;
}

void VokDlgCalcSett1::OnPreapply()
{
    TakeQuietly();
    EnableImperfection();
}

void VokDlgCalcSett1::EnableImperfection()
{
    const BOOL bOn = IsDlgButtonChecked(kPreapply) ? TRUE : FALSE;
    GetDlgItem(kMode)->EnableWindow(bOn);
    GetDlgItem(kAmplitude)->EnableWindow(bOn);
}

// ---- Templates ------------------------------------------------------------------

namespace
{

using namespace pavesta;

const auto kOkCancel = {std::pair<int, LPCTSTR>{IDOK, "OK"}, {IDCANCEL, "Cancel"}};

DialogTemplate MatrixTemplate()
{
    DialogTemplate t;
    t.nID = VokDlg3x3Matrix::IDD;
    t.strCaption = "Matrix";
    t.size = CSize(200, 90);
    t.Add(Label("A =", CRect(7, 28, 27, 36)));
    for (int i = 0; i < 9; ++i) {
        const int x = 32 + (i % 3) * 52, y = 8 + (i / 3) * 18;
        t.Add(Ctl(VokDlg3x3Matrix::kEditIDs[i], AfxCtl::edit, "", CRect(x, y, x + 48, y + 12),
                  kEditStyle));
    }
    t.Add(AfxButtonRow(193, 68, kOkCancel));
    return t;
}

DialogTemplate DivideTemplate()
{
    DialogTemplate t;
    t.nID = VokDLGDivideSegment::IDD;
    t.strCaption = "Divide member(s)";
    t.size = CSize(200, 80);
    t.Add({
        Label("Number of members", CRect(7, 10, 90, 18)),
        Ctl(16230, AfxCtl::edit, "", CRect(100, 8, 150, 20), kNumberStyle | WS_GROUP),
        Ctl(16144, AfxCtl::radio, "Equidistant", CRect(7, 30, 90, 40), kGroupStyle),
        Ctl(16145, AfxCtl::radio, "Projected", CRect(100, 30, 180, 40)),
    });
    t.Add(AfxButtonRow(193, 58, kOkCancel));
    return t;
}

DialogTemplate RotateTemplate()
{
    DialogTemplate t;
    t.nID = VokDLGRotate::IDD;
    t.strCaption = "Rotate";
    t.size = CSize(250, 150);
    t.Add({
        Ctl(kPseudovector, AfxCtl::radio, "Pseudovector", CRect(7, 8, 80, 18), kGroupStyle),
        Ctl(kEuler, AfxCtl::radio, "Euler angles", CRect(90, 8, 170, 18)),
        Label("Angle", CRect(7, 26, 40, 34)),
        Ctl(kRotateAngle, AfxCtl::edit, "", CRect(45, 24, 95, 36), kEditStyle | WS_GROUP),
    });
    const LPCTSTR axes[3] = {"X", "Y", "Z"};
    const std::pair<LPCTSTR, const int*> groups[3] = {
        {"Rotations", kRotations}, {"Director", kDirector}, {"Center of rotation", kCenter}};
    for (int g = 0; g < 3; ++g) {
        const int x = 7 + g * 80;
        t.Add(Label(groups[g].first, CRect(x, 44, x + 76, 52)));
        for (int i = 0; i < 3; ++i) {
            const int y = 56 + i * 16;
            t.Add(Label(axes[i], CRect(x, y + 2, x + 8, y + 10)));
            t.Add(Ctl(groups[g].second[i], AfxCtl::edit, "", CRect(x + 12, y, x + 72, y + 12),
                      kEditStyle));
        }
    }
    t.Add(AfxButtonRow(243, 128, kOkCancel));
    return t;
}

DialogTemplate OptionsTemplate()
{
    DialogTemplate t;
    t.nID = VokDlgCalcSett1::IDD;
    t.strCaption = "Options";
    t.size = CSize(220, 120);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Shape imperfection", CRect(7, 7, 213, 70)),
        Ctl(kPreapply, AfxCtl::check, "Preapply", CRect(14, 19, 100, 29), kGroupStyle),
        Label("Based on buckling mode", CRect(14, 36, 110, 44)),
        Ctl(kMode, AfxCtl::edit, "", CRect(140, 34, 200, 46), kNumberStyle | WS_GROUP),
        Label("Amplitude", CRect(14, 52, 110, 60)),
        Ctl(kAmplitude, AfxCtl::edit, "", CRect(140, 50, 200, 62), kEditStyle),
        Ctl(kSequential, AfxCtl::check, "Produce Sequential images", CRect(7, 76, 150, 86),
            kGroupStyle),
    });
    t.Add(AfxButtonRow(213, 98, kOkCancel));
    return t;
}

} // namespace

void pavesta::AddSmallDialogResources(CResourceModule& m)
{
    m.Add(VokDlg3x3Matrix::IDD, MatrixTemplate());
    m.Add(VokDLGDivideSegment::IDD, DivideTemplate());
    m.Add(VokDLGRotate::IDD, RotateTemplate());
    m.Add(VokDlgCalcSett1::IDD, OptionsTemplate());
}

#include "framework/inputdialogs.h"

#include "framework/dlghelpers.h"
#include "platform/dimvor/units.h"

namespace
{

using framira::ShowText;

// Labels of the coordinate dialogs' values.
constexpr int kLabelX = 50010, kLabelY = 50011, kLabelOffX = 50012, kLabelOffY = 50017,
              kLabelZ = 50020, kLabelOffZ = 50022;

} // namespace

// ---- KorDlgCircle -------------------------------------------------------------------

KorDlgCircle::KorDlgCircle(int mode, CWnd* parent)
    : CDialog(IDD, parent), m_iMode(mode), m_iApprox(mode)
{
}

void KorDlgCircle::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 16230, m_nSegments);
    // The circle builder takes 8 to 192 segments.
    DDV_MinMaxUInt(pDX, m_nSegments, 8, 192);
    DDX_Radio(pDX, 50076, m_iApprox);
}

BOOL KorDlgCircle::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    if (m_iMode == 1)
        framira::EnableControl(*this, 50078, false);
    else if (m_iMode == 2)
        framira::EnableControl(*this, 50077, false);
    return result;
}

// ---- Coordinate dialogs -------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorDlgCoordInput, CDialog)
ON_BN_CLICKED(50007, OnEnter)
END_MESSAGE_MAP()

KorDlgCoordInput::KorDlgCoordInput(CString unit, int plane, CWnd* parent)
    : KorDlgCoordInput(IDD, unit, plane, parent)
{
}

KorDlgCoordInput::KorDlgCoordInput(UINT nIDTemplate, CString unit, int plane, CWnd* parent)
    : CDialog(nIDTemplate, parent), m_strUnit(unit), m_iPlane(plane), m_pParent(parent),
      m_nIDTemplate(nIDTemplate)
{
}

BOOL KorDlgCoordInput::Create()
{
    return CDialog::Create(m_nIDTemplate, m_pParent);
}

void KorDlgCoordInput::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_X, m_dX);
    DDX_Text(pDX, IDC_Y, m_dY);
}

void KorDlgCoordInput::SetFormat(CString unit)
{
    m_strUnit = unit;
    if (GetSafeHwnd()) {
        SetDlgItemText(50009, m_strUnit);
        SetDlgItemText(50013, m_strUnit);
    }
}

bool KorDlgCoordInput::PlaneAxes(CString& first, CString& second) const
{
    static const char* const axes[3][2] = {{"X'", "Y'"}, {"Y'", "Z'"}, {"X'", "Z'"}};
    if (m_iPlane < 0 || m_iPlane > 2)
        return false;
    first = axes[m_iPlane][0];
    second = axes[m_iPlane][1];
    return true;
}

BOOL KorDlgCoordInput::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    SetFormat(m_strUnit);
    CString first, second;
    if (PlaneAxes(first, second)) {
        SetDlgItemText(kLabelX, first + " coord");
        SetDlgItemText(kLabelY, second + " coord");
    }
    return result;
}

void KorDlgCoordInput::OnEnter()
{
    if (!UpdateData(TRUE))
        return;
    if (m_pParent)
        m_pParent->PostMessage(EnterMessage(), IDC_ENTER, 0);
    else
        CDialog::OnOK();
}

void KorDlgCoordInput::OnCancel()
{
    UpdateData(TRUE);
    // The parent destroys the dialog; the 3D one's cancel goes the same way.
    if (m_pParent)
        m_pParent->PostMessage(WM_KOR_ENTER_COORD, IDCANCEL, 0);
    else
        CDialog::OnCancel();
}

BEGIN_MESSAGE_MAP(KorDlgCoordInputEx, KorDlgCoordInput)
ON_BN_CLICKED(50006, OnEnterOffset)
END_MESSAGE_MAP()

KorDlgCoordInputEx::KorDlgCoordInputEx(CString unit, int plane, CWnd* parent)
    : KorDlgCoordInputEx(IDD, unit, plane, parent)
{
}

KorDlgCoordInputEx::KorDlgCoordInputEx(UINT nIDTemplate, CString unit, int plane, CWnd* parent)
    : KorDlgCoordInput(nIDTemplate, unit, plane, parent)
{
}

void KorDlgCoordInputEx::DoDataExchange(CDataExchange* pDX)
{
    KorDlgCoordInput::DoDataExchange(pDX);
    DDX_Text(pDX, 50116, m_dOffX);
    DDX_Text(pDX, 50003, m_dOffY);
}

void KorDlgCoordInputEx::SetFormat(CString unit)
{
    KorDlgCoordInput::SetFormat(unit);
    if (GetSafeHwnd()) {
        SetDlgItemText(50014, m_strUnit);
        SetDlgItemText(50015, m_strUnit);
    }
}

BOOL KorDlgCoordInputEx::OnInitDialog()
{
    const BOOL result = KorDlgCoordInput::OnInitDialog();
    CString first, second;
    if (PlaneAxes(first, second)) {
        SetDlgItemText(kLabelOffX, first + " coord offset");
        SetDlgItemText(kLabelOffY, second + " coord offset");
    }
    return result;
}

void KorDlgCoordInputEx::OnEnterOffset()
{
    if (!UpdateData(TRUE))
        return;
    if (m_pParent)
        m_pParent->SendMessage(EnterMessage(), IDC_OFFSET, 0);
}

KorDlgCoordInputEx3D::KorDlgCoordInputEx3D(CString unit, CWnd* parent)
    : KorDlgCoordInputEx(IDD, unit, 0, parent)
{
}

void KorDlgCoordInputEx3D::DoDataExchange(CDataExchange* pDX)
{
    KorDlgCoordInputEx::DoDataExchange(pDX);
    DDX_Text(pDX, 50016, m_dZ);
    DDX_Text(pDX, 50019, m_dOffZ);
}

void KorDlgCoordInputEx3D::SetFormat(CString unit)
{
    KorDlgCoordInputEx::SetFormat(unit);
    if (GetSafeHwnd()) {
        SetDlgItemText(50018, m_strUnit);
        SetDlgItemText(50021, m_strUnit);
    }
}

BOOL KorDlgCoordInputEx3D::OnInitDialog()
{
    const BOOL result = KorDlgCoordInputEx::OnInitDialog();
    SetDlgItemText(kLabelZ, "Z' coord");
    SetDlgItemText(kLabelOffZ, "Z' coord offset");
    return result;
}

// ---- KorDlgDblVal -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorDlgDblVal, CDialog)
ON_BN_CLICKED(50080, OnApply)
END_MESSAGE_MAP()

KorDlgDblVal::KorDlgDblVal(CString title, double value, CString unit, CView* view)
    : CDialog(IDD_UNIT, view), m_pView(view), m_strTitle(title), m_dValue(value), m_strUnit(unit)
{
}

KorDlgDblVal::KorDlgDblVal(CString title, double* pValue, CString unit, CView* view)
    : CDialog(IDD_UNIT, view), m_pView(view), m_strTitle(title), m_pdValue(pValue),
      m_dValue(*pValue), m_strUnit(unit)
{
}

KorDlgDblVal::KorDlgDblVal(CString title, double value, CView* view)
    : CDialog(IDD_PLAIN), m_pView(view), m_strTitle(title), m_dValue(value)
{
}

KorDlgDblVal::KorDlgDblVal(CDocument* doc, CString title, double* pValue)
    : CDialog(IDD_PLAIN), m_pDoc(doc), m_strTitle(title), m_pdValue(pValue), m_dValue(*pValue)
{
}

KorDlgDblVal::KorDlgDblVal(CString title, double* pValue, CView* view)
    : CDialog(IDD_PLAIN), m_pView(view), m_strTitle(title), m_pdValue(pValue), m_dValue(*pValue)
{
}

void KorDlgDblVal::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_VALUE, m_dValue);
    // The plain template has no unit.
    if (GetDlgItem(IDC_UNIT))
        DDX_Text(pDX, IDC_UNIT, m_strUnit);
}

BOOL KorDlgDblVal::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    SetDlgItemText(IDC_LABEL, m_strTitle);
    framira::EnableControl(*this, IDC_APPLY, m_pdValue != nullptr);
    return result;
}

bool KorDlgDblVal::Apply()
{
    if (!UpdateData(TRUE))
        return false;
    if (m_pdValue)
        *m_pdValue = m_dValue;
    if (m_pView && m_pView->GetDocument())
        m_pView->GetDocument()->UpdateAllViews(nullptr, 0, nullptr);
    if (m_pDoc)
        m_pDoc->UpdateAllViews(nullptr, 0, nullptr);
    return true;
}

void KorDlgDblVal::OnApply()
{
    Apply();
}

void KorDlgDblVal::OnOK()
{
    if (Apply())
        EndDialog(IDOK);
}

// ---- KorDlgDblValTwo and KorDlgDblValThree ------------------------------------------

KorDlgDblValTwo::KorDlgDblValTwo(CString title, CString label1, CString label2, CString unit1,
                                 CString unit2, CString group, CWnd* parent, UINT templateId)
    : CDialog(templateId, parent), m_strLabel1(label1), m_strLabel2(label2), m_strUnit1(unit1),
      m_strUnit2(unit2), m_strGroup(group), m_strTitle(title)
{
}

void KorDlgDblValTwo::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 50058, m_dVal1);
    DDX_Text(pDX, 50057, m_dVal2);
}

BOOL KorDlgDblValTwo::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    ShowText(*this, 50106, m_strGroup);
    ShowText(*this, 50109, m_strUnit1);
    ShowText(*this, 50110, m_strUnit2);
    ShowText(*this, 16281, m_strLabel1);
    ShowText(*this, 16280, m_strLabel2);
    // At least one edit stays: the first when both have no texts.
    if (m_strLabel2.IsEmpty() && m_strUnit2.IsEmpty())
        framira::ShowControl(*this, 50057, false);
    else if (m_strLabel1.IsEmpty() && m_strUnit1.IsEmpty())
        framira::ShowControl(*this, 50058, false);
    return result;
}

KorDlgDblValThree::KorDlgDblValThree(CString title, CString label1, CString label2,
                                     CString label3, CString unit1, CString unit2, CString unit3,
                                     CString group, CWnd* parent)
    : KorDlgDblValTwo(title, label1, label2, unit1, unit2, group, parent, IDD),
      m_strLabel3(label3), m_strUnit3(unit3)
{
}

void KorDlgDblValThree::DoDataExchange(CDataExchange* pDX)
{
    KorDlgDblValTwo::DoDataExchange(pDX);
    DDX_Text(pDX, 50059, m_dVal3);
}

BOOL KorDlgDblValThree::OnInitDialog()
{
    const BOOL result = KorDlgDblValTwo::OnInitDialog();
    ShowText(*this, 50111, m_strLabel3);
    ShowText(*this, 50112, m_strUnit3);
    if (m_strLabel3.IsEmpty() && m_strUnit3.IsEmpty())
        framira::ShowControl(*this, 50059, false);
    return result;
}

// ---- KorDlgFillet -------------------------------------------------------------------

int KorDlgFillet::m_dStatNumEdes = 4;
double KorDlgFillet::m_dStatFilletRad = 0.0;

KorDlgFillet::KorDlgFillet(int flags, CWnd* parent)
    : CDialog(IDD, parent), m_iFlags(flags), m_nEdges(static_cast<UINT>(m_dStatNumEdes)),
      m_dRadius(m_dStatFilletRad)
{
}

void KorDlgFillet::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, 50079, m_bTaper);
    DDX_Text(pDX, 50074, m_nEdges);
    DDX_Text(pDX, 50075, m_dRadius);
    DDX_Text(pDX, 16230, m_strUnit);
    DDX_Radio(pDX, 50076, m_iApprox);
}

BOOL KorDlgFillet::OnInitDialog()
{
    const bool bTaper = m_bTaper != FALSE;
    const BOOL result = CDialog::OnInitDialog();
    if (m_iFlags & 1)
        framira::EnableControl(*this, 50078, false);
    if (m_iFlags & 2)
        framira::EnableControl(*this, 50077, false);
    if (m_iFlags & 4)
        framira::ShowControl(*this, 50079, false);
    if (!bTaper)
        framira::EnableControl(*this, 50079, false);
    return result;
}

// ---- KorDlgImpExpScl ----------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorDlgImpExpScl, CDialog)
ON_BN_CLICKED(16144, OnUnits)
ON_BN_CLICKED(16145, OnUnits)
END_MESSAGE_MAP()

KorDlgImpExpScl::KorDlgImpExpScl(int units, CWnd* parent) : CDialog(IDD, parent), m_iUnits(units)
{
}

void KorDlgImpExpScl::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 16230, m_dScaleX);
    DDX_Text(pDX, 16231, m_dScaleY);
    DDX_Text(pDX, 16232, m_dScaleZ);
    DDX_Text(pDX, 16233, m_dOffX);
    DDX_Text(pDX, 16235, m_dOffY);
    DDX_Radio(pDX, 16144, m_iUnits);
    DDX_Text(pDX, 16236, m_dOffZ);
}

BOOL KorDlgImpExpScl::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    const struct {
        int nLabel, nEdit;
        const CString& text;
    } rows[] = {{16176, 16230, m_strScaleXLabel}, {16177, 16231, m_strScaleYLabel},
                {50097, 16233, m_strOffXLabel},   {50098, 16235, m_strOffYLabel},
                {50096, 16232, m_strScaleZLabel}, {50101, 16236, m_strOffZLabel}};
    for (const auto& row : rows) {
        SetDlgItemText(row.nLabel, row.text);
        if (row.text.IsEmpty()) {
            framira::EnableControl(*this, row.nEdit, false);
            framira::ShowControl(*this, row.nEdit, false);
        }
    }
    if (m_strOffZLabel.IsEmpty())
        framira::ShowControl(*this, 50102, false);
    ShowUnits();
    return result;
}

void KorDlgImpExpScl::ShowUnits()
{
    const char* unit = m_iUnits == 1 ? "in" : "mm";
    for (int nID : {50099, 50100, 50102})
        SetDlgItemText(nID, unit);
}

void KorDlgImpExpScl::OnUnits()
{
    UpdateData(TRUE);
    ShowUnits();
}

// ---- KorDlgRotate -------------------------------------------------------------------

double KorDlgRotate::m_dGlob[3] = {0.0, 0.0, 45.0};

KorDlgRotate::KorDlgRotate(CWnd* parent)
    : CDialog(IDD, parent), m_dCentreX(m_dGlob[0]), m_dCentreY(m_dGlob[1]), m_dAngle(m_dGlob[2])
{
    m_lpszTemplateModule = "framira"; // the dialogs library's "Rotate" has this id too
}

void KorDlgRotate::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 50073, m_dCentreX);
    DDX_Text(pDX, 50071, m_dCentreY);
    DDX_Text(pDX, 50072, m_dAngle);
    m_dGlob[0] = m_dCentreX;
    m_dGlob[1] = m_dCentreY;
    m_dGlob[2] = m_dAngle;
}

BOOL KorDlgRotate::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    const CString unit = UnitString(iStandard, 3, iConv[iStandard][0][0]);
    SetDlgItemText(16176, unit);
    SetDlgItemText(16177, unit);
    CString label;
    if (AfxLoadString(27036, label))
        SetDlgItemText(50069, label);
    if (AfxLoadString(27037, label))
        SetDlgItemText(50070, label);
    return result;
}

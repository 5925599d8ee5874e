#include "app/shell/bucklingdlgs.h"

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
#include "platform/dimvor/units.h"
#include "platform/ferrand/ferrand.h"

namespace
{

// The unit index the settings give a quantity row.
int UnitIndex(int row)
{
    return iConv[iStandard][row][0];
}

void SetText(CWnd& parent, int nID, const CString& text)
{
    if (CWnd* item = parent.GetDlgItem(nID))
        item->SetWindowText(text);
}

void Enable(CWnd& parent, int nID, bool enable)
{
    if (CWnd* item = parent.GetDlgItem(nID))
        item->EnableWindow(enable);
}

} // namespace

// ---- CPPBucklSett -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPPBucklSett, CPropertyPage)

CPPBucklSett::CPPBucklSett() : CPropertyPage(IDD) {}

void CPPBucklSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MODES, m_nModes);
    DDV_MinMaxInt(pDX, m_nModes, 1, 100);
    DDX_Radio(pDX, IDC_SUBSPACE, m_iSolver);
    DDX_Radio(pDX, IDC_CORNERS, m_iStressPoints);
}

// ---- CDlgElemProp -----------------------------------------------------------------

CDlgElemProp::CDlgElemProp(CWnd* pParent) : CDialog(IDD, pParent) {}

void CDlgElemProp::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ID, m_nElemID);
}

BOOL CDlgElemProp::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetText(*this, IDC_MATERIAL, m_strMaterial);
    SetText(*this, IDC_TYPE, m_strElemType);
    SetText(*this, IDC_AREA, m_strArea);
    return TRUE;
}

// ---- CDlgQuadCreate ---------------------------------------------------------------

CDlgQuadCreate::CDlgQuadCreate(CWnd* pParent) : CDialog(IDD, pParent) {}

void CDlgQuadCreate::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // The corners' coordinates and the thickness, all in the length unit.
    const CString unit = UnitString(iStandard, kUnitLength, UnitIndex(0));
    const AfxRange any = AfxRange::Signed();
    DDX_Number(pDX, 1006, m_dAx, any, "A x", unit);
    DDX_Number(pDX, 1008, m_dBx, any, "B x", unit);
    DDX_Number(pDX, 1007, m_dCx, any, "C x", unit);
    DDX_Number(pDX, 1009, m_dDx, any, "D x", unit);
    DDX_Number(pDX, 1010, m_dAy, any, "A y", unit);
    DDX_Number(pDX, 1012, m_dBy, any, "B y", unit);
    DDX_Number(pDX, 1011, m_dCy, any, "C y", unit);
    DDX_Number(pDX, 1013, m_dDy, any, "D y", unit);
    DDX_Number(pDX, 1014, m_dThickness, AfxRange::Positive(), "Thickness", unit);
    DDX_Radio(pDX, 1036, m_iBCAB);
    DDX_Radio(pDX, 1032, m_iBCAC);
    DDX_Radio(pDX, 1035, m_iBCBD);
    DDX_Radio(pDX, 1029, m_iBCCD);
    DDX_Text(pDX, 1142, m_dThick1);
    DDX_Text(pDX, 1143, m_dThick2);
    DDX_Text(pDX, 16234, m_dThick3);
    DDX_Text(pDX, 16236, m_dThick4);
}

BOOL CDlgQuadCreate::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A side offers "Special" only when it already has it.
    const struct {
        int choice, special;
    } sides[] = {{m_iBCAB, 1088}, {m_iBCAC, 1089}, {m_iBCBD, 446}, {m_iBCCD, 1090}};
    for (const auto& side : sides)
        if (side.choice != 3)
            Enable(*this, side.special, false);
    SetText(*this, IDC_UNITS, "[" + UnitString(iStandard, kUnitLength, UnitIndex(0)) + "]");
    return TRUE;
}

// ---- CDlgVolForce -----------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDlgVolForce, CDialog)
ON_BN_CLICKED(CDlgVolForce::IDC_OWN_WEIGHT, OnOwnWeight)
END_MESSAGE_MAP()

CDlgVolForce::CDlgVolForce(CWnd* pParent) : CDialog(IDD, pParent) {}

void CDlgVolForce::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    const CString gradient = m_strVolUnit + "/" + m_strLenUnit;
    const AfxRange any = AfxRange::Signed();
    DDX_Number(pDX, IDC_GRAD1, m_dGrad1, any, "Gradient x", gradient);
    DDX_Number(pDX, IDC_GRAD2, m_dGrad2, any, "Gradient y", gradient);
    DDX_Number(pDX, IDC_VALUE1, m_dValue1, any, "Value x", m_strVolUnit);
    DDX_Number(pDX, IDC_VALUE2, m_dValue2, any, "Value y", m_strVolUnit);
    DDX_Number(pDX, IDC_REF1, m_dRef1, any, "Ref. length x", m_strLenUnit);
    DDX_Number(pDX, IDC_REF2, m_dRef2, any, "Ref. length y", m_strLenUnit);
    DDX_Text(pDX, IDC_ANGLE, m_dGravAngle);
    DDV_MinMaxDouble(pDX, m_dGravAngle, -360.0, 360.0);
    DDX_Number(pDX, IDC_GRAVITY, m_dGravFactor, any, "Gravity factor");
    int own = m_bOwnWeight ? 1 : 0;
    DDX_Check(pDX, IDC_OWN_WEIGHT, own);
    m_bOwnWeight = own != 0;
}

void CDlgVolForce::UpdateFactors()
{
    // Force per volume: force unit 0 or 1 (row 6 decides) over the cubed
    // length unit of the second kind.
    const int force = UnitIndex(6) == 0 ? 0 : 1;
    m_dVolFactor = MetricToX(iStandard, kUnitForce, force) / MetricToX(iStandard, kUnitVolume, 1);
    m_strVolUnit = UnitString(iStandard, kUnitForce, force) + UnitString(iStandard, kUnitPerVolume, 1);
    m_strLenUnit = UnitString(iStandard, kUnitLength, UnitIndex(0));
    m_dLenFactor = MetricToX(iStandard, kUnitLength, UnitIndex(0));
}

void CDlgVolForce::Convert(bool toDisplay)
{
    const double gradient = m_dVolFactor / m_dLenFactor;
    double* const values[6] = {&m_dGrad1, &m_dGrad2, &m_dValue1, &m_dValue2, &m_dRef1, &m_dRef2};
    const double factors[6] = {gradient,      gradient,      m_dVolFactor,
                               m_dVolFactor, m_dLenFactor, m_dLenFactor};
    for (int i = 0; i < 6; ++i) {
        double& value = *values[i];
        if (toDisplay) {
            m_dStored[i] = value;
            value = m_dShown[i] = AfxDisplayValue(value, factors[i]);
        } else {
            // An untouched field gives its stored value back bit for bit.
            value = value == m_dShown[i] ? m_dStored[i] : value / factors[i];
        }
    }
}

BOOL CDlgVolForce::OnInitDialog()
{
    UpdateFactors();
    for (int nID : {1187, 1188})
        SetText(*this, nID, m_strVolUnit);
    for (int nID : {1192, 1191})
        SetText(*this, nID, m_strLenUnit);
    for (int nID : {1189, 1190})
        SetText(*this, nID, m_strVolUnit + "/" + m_strLenUnit);
    Enable(*this, IDC_ANGLE, m_bOwnWeight);
    Enable(*this, IDC_GRAVITY, m_bOwnWeight);
    Convert(true);
    return CDialog::OnInitDialog();
}

void CDlgVolForce::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
    Convert(false);
}

void CDlgVolForce::OnOwnWeight()
{
    TakeQuietly();
    Enable(*this, IDC_ANGLE, m_bOwnWeight);
    Enable(*this, IDC_GRAVITY, m_bOwnWeight);
}

// ---- The volume-force record ------------------------------------------------------

std::array<double, 9> VolumeForceEntries(const CDlgVolForce& dlg)
{
    return {dlg.m_dValue1, dlg.m_dValue2, dlg.m_dGrad1,      dlg.m_dGrad2,
            dlg.m_dRef1,   dlg.m_dRef2,   dlg.m_dGravAngle, dlg.m_dGravFactor,
            dlg.m_bOwnWeight ? 1.0 : 0.0};
}

void PresetVolumeForce(const CMatrix& record, CDlgVolForce& dlg)
{
    if (record.GetRows() < 1 || record.GetColumns() != 9)
        return;
    double* const targets[] = {&dlg.m_dValue1, &dlg.m_dValue2, &dlg.m_dGrad1,      &dlg.m_dGrad2,
                               &dlg.m_dRef1,   &dlg.m_dRef2,   &dlg.m_dGravAngle, &dlg.m_dGravFactor};
    for (int i = 0; i < 8; ++i)
        *targets[i] = record[0][i];
    dlg.m_bOwnWeight = record[0][8] == 1.0;
}

void StoreVolumeForce(const CDlgVolForce& dlg, CMatrix& record)
{
    if (record.GetRows() < 1 || record.GetColumns() != 9)
        record.Allocate(1, 9, true, 0.0);
    const std::array<double, 9> entries = VolumeForceEntries(dlg);
    for (int i = 0; i < 9; ++i)
        record[0][i] = entries[i];
}

// ---- Element properties -----------------------------------------------------------

CString FormatAreaValue(double area)
{
    const int unit = UnitIndex(9);
    const int format = iConv[iStandard][9][1];
    const int digits = iConv[iStandard][9][2];
    const char* pattern = format == 0 ? "%.*e" : format == 1 ? "%.*f" : "%.*g";
    CString text;
    text.Format(pattern, digits, area * MetricToX(iStandard, kUnitArea, unit));
    return text + " " + UnitString(iStandard, kUnitArea, unit);
}

void FillElementProperties(CDlgElemProp& dlg, CBrantelDoc& doc, CElement& element)
{
    dlg.m_nElemID = static_cast<int>(element.GetID() - 4000000000UL);
    CPlateComp* comp = doc.GetPlateComp();
    CSectMeshArea* region = comp ? comp->IsElemInThis(&element) : nullptr;
    auto* area = dynamic_cast<CSectArea*>(region);
    if (area && area->GetMaterial())
        dlg.m_strMaterial = area->GetMaterial()->GetName();
    dlg.m_strElemType = doc.GetElementTypeName();
    dlg.m_strArea = FormatAreaValue(element.PhysicalSize());
}

#include "app/shell/materialdlgs.h"

#include <iterator>

#include "dialogs/templaterows.h"
#include "platform/afx/numconv.h"
#include "platform/dimvor/units.h"
#include "platform/ferrand/ferrand.h"

namespace
{

const char* const kVoid = "VOID";

// Shown expansion = stored expansion / factor (per degree).
double TemperatureFactor()
{
    return MetricToX(iStandard, kUnitTemperature, 0);
}

CString ExpansionUnit()
{
    return "1/" + UnitString(iStandard, kUnitTemperature, 0);
}

} // namespace

// ---- CMaterialDialog ------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMaterialDialog, VokDlgIsoMatsEdit)

BEGIN_MESSAGE_MAP(CMaterialDialog, VokDlgIsoMatsEdit)
ON_BN_CLICKED(548, OnNewMaterialFlow)
ON_BN_CLICKED(1061, OnApply)
ON_EN_KILLFOCUS(445, OnKillfocusValue)
END_MESSAGE_MAP()

const CMaterialDialog::Preset CMaterialDialog::kPresets[5] = {
    {"User-defined", {1, 0.5, 0, 1e-09, 0, 100, 60, 60, 1, 0}},
    {"Steel", {210000, 210000 / 2.6, 0.3, 7.85e-06, 1.2e-05, 75, 86, 75, 210000, 1.2e-05}},
    {"Aluminium", {70000, 70000 / 2.66, 0.33, 2.7e-06, 2.3e-05, 65, 79, 94, 70000, 2.3e-05}},
    {"Concrete", {30000, 11314.2857, 0.225, 2.5e-06, 1e-05, 89, 84, 65, 30000, 1e-05}},
    {"Wood", {12000, 750, 0.37, 4.6e-07, 5e-06, 91, 60, 36, 400, 5e-06}},
};

CMaterialDialog::CMaterialDialog(CWnd* pParent, UINT nIDTemplate)
    : VokDlgIsoMatsEdit(pParent, nIDTemplate)
{
}

void CMaterialDialog::OnKillfocusValue()
{
    KillfocusEditQuietly();
}

void CMaterialDialog::OnApply()
{
    if (!KillfocusEdit())
        return;
    UpdateMaterialList();
    m_bApplied = true;
    if (!m_pOwner)
        return;
    if (auto* view = dynamic_cast<CView*>(m_pOwner))
        view->OnUpdate(nullptr, 0, nullptr);
    m_pOwner->Invalidate(TRUE);
}

void CMaterialDialog::OnNewMaterialFlow()
{
    VokDlgMatType type(this);
    type.m_iMatKind = 0;
    type.m_iPreset = VokDlgMatType::presetUser;
    if (type.DoModal() != IDOK || type.m_iPreset < 0 ||
        type.m_iPreset >= static_cast<int>(std::size(kPresets)))
        return;
    const Preset& preset = kPresets[type.m_iPreset];
    double values[10];
    std::copy(std::begin(preset.values), std::end(preset.values), values);
    bool ortho = type.m_iMatKind == 1;
    if (type.m_iPreset == VokDlgMatType::presetTimber && !ortho &&
        AfxMessageBox("You have chosen to define the material as isotropic.\nWood is highly "
                      "orthotropic and should be modeled as such.\nDo you wish to define the "
                      "material as orthotropic?",
                      MB_YESNO) == IDYES)
        ortho = true;
    const double modulus = ModulusFactor();
    values[0] *= modulus;
    values[1] *= modulus;
    values[8] *= modulus;
    values[3] *= DensityFactor();
    CreateMaterial(ortho, values, preset.name);
}

const char* CMaterialDialog::NameRefusal(const CString& name) const
{
    if (name.IsEmpty())
        return "The material must have a name";
    if (name.CompareNoCase(kVoid) == 0)
        return "The material name is illegal";
    // Deleted working copies carry a placeholder name until OK: only the
    // live ones hold names.
    for (POSITION pos = m_WorkList.GetHeadPosition(); pos;) {
        const auto* material = static_cast<const CMaterial*>(m_WorkList.GetNext(pos));
        if (!IsDeleted(material) && material->GetName().CompareNoCase(name) == 0)
            return "A material by that name is already defined";
    }
    return nullptr;
}

void CMaterialDialog::CreateMaterial(bool bOrtho, double (&values)[10], CString name)
{
    const int unit = iConv[iStandard][4][0];
    CString modulusUnit = UnitString(iStandard, kUnitStress, unit);
    ReplaceSqrAndCube(modulusUnit);
    CString densityUnit = UnitString(iStandard, kUnitMass, 1) + UnitString(iStandard, kUnitPerVolume, 1);
    ReplaceSqrAndCube(densityUnit);
    double opacity = 50.0;
    for (;;) {
        CNewMaterialDlg dlg(this);
        dlg.m_iOrtho = bOrtho ? 1 : 0;
        dlg.m_sName = name;
        dlg.m_dModulusX = values[0];
        dlg.m_dShear = values[1];
        dlg.m_dPoisson = values[2];
        dlg.m_dDensity = values[3];
        dlg.m_fRed = static_cast<float>(values[5]);
        dlg.m_fGreen = static_cast<float>(values[6]);
        dlg.m_fBlue = static_cast<float>(values[7]);
        dlg.m_dModulusY = values[8];
        dlg.m_dOpacity = opacity;
        dlg.m_sModulusXUnit = dlg.m_sModulusYUnit = dlg.m_sShearUnit = modulusUnit;
        dlg.m_sDensityUnit = densityUnit;
        if (dlg.DoModal() != IDOK)
            return;
        name = dlg.m_sName;
        values[0] = dlg.m_dModulusX;
        values[1] = dlg.m_dShear;
        values[2] = dlg.m_dPoisson;
        values[3] = dlg.m_dDensity;
        values[5] = dlg.m_fRed;
        values[6] = dlg.m_fGreen;
        values[7] = dlg.m_fBlue;
        values[8] = dlg.m_dModulusY;
        opacity = dlg.m_dOpacity;
        if (const char* refusal = NameRefusal(name)) {
            AfxMessageBox(refusal);
            continue;
        }
        break;
    }
    const double modulus = ModulusFactor(), density = DensityFactor();
    const double modulusX = values[0] / modulus, shear = values[1] / modulus;
    CMaterial* material = nullptr;
    if (bOrtho) {
        auto* ortho = new COrthoMat(name, values[3] / density, modulusX, values[8] / modulus, shear,
                                    values[2], values[2], values[4]);
        ortho->SetLambda90(values[9]);
        material = ortho;
    } else {
        material = new CMaterial(name, values[3] / density, modulusX, shear, values[2], values[4]);
    }
    material->SetColor(values[5] * 0.01, values[6] * 0.01, values[7] * 0.01);
    material->SetSat(opacity * 0.01);
    m_WorkList.AddTail(material);
    const int index = m_lbMaterials.AddString(name);
    m_lbMaterials.SetItemData(index, reinterpret_cast<DWORD_PTR>(material));
    m_lbMaterials.SetCurSel(index);
    SelchangeMatName();
}

// ---- CDlgOrthoMaterial ----------------------------------------------------------

IMPLEMENT_DYNAMIC(CDlgOrthoMaterial, CMaterialDialog)

BEGIN_MESSAGE_MAP(CDlgOrthoMaterial, CMaterialDialog)
ON_EN_KILLFOCUS(554, OnKillfocusValue)
ON_EN_KILLFOCUS(555, OnKillfocusValue)
ON_EN_KILLFOCUS(553, OnKillfocusValue)
END_MESSAGE_MAP()

CDlgOrthoMaterial::CDlgOrthoMaterial(CWnd* pParent) : CMaterialDialog(pParent, IDD) {}

DialogTemplate CDlgOrthoMaterial::BuildTemplate()
{
    using namespace pavesta;
    DialogTemplate t = VokDlgIsoMatsEdit::BuildTemplate();
    t.nID = IDD;
    t.strCaption = "Edit materials";
    // Three rows more below the density: the controls from the base
    // material's row on move down.
    constexpr int kRows = 3 * 16, kTop = 90;
    t.size.cy += kRows;
    for (DialogControl& c : t.controls) {
        if (c.strText == "Young's modulus") {
            c.strText = "Young's modulus X";
            c.rect.left = 113; // room for the axis letter
        }
        else if (c.strText == "segments/sections")
            c.strText = "regions";
        if (c.nID == 436)
            c.dwStyle &= ~WS_VISIBLE;
        if (c.rect.top >= kTop)
            c.rect.OffsetRect(0, kRows);
    }
    constexpr DWORD kUnit = WS_VISIBLE | ES_READONLY;
    t.Add({
        Label("Young's modulus Y", CRect(113, 92, 178, 100)),
        Ctl(553, AfxCtl::edit, "", CRect(180, 90, 230, 102), kEditStyle),
        Ctl(16236, AfxCtl::edit, "", CRect(234, 90, 293, 102), kUnit),
        Label("Coeff. of lin. thermal exp. X", CRect(117, 108, 228, 116)),
        Ctl(554, AfxCtl::edit, "", CRect(230, 106, 262, 118), kEditStyle),
        Ctl(16233, AfxCtl::edit, "", CRect(264, 106, 293, 118), kUnit),
        Label("Coeff. of lin. thermal exp. Y", CRect(117, 124, 228, 132)),
        Ctl(555, AfxCtl::edit, "", CRect(230, 122, 262, 134), kEditStyle),
        Ctl(16235, AfxCtl::edit, "", CRect(264, 122, 293, 134), kUnit),
    });
    return t;
}

void CDlgOrthoMaterial::DoDataExchange(CDataExchange* pDX)
{
    CMaterialDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 554, m_dLambdaX);
    DDV_Range(pDX, m_dLambdaX, AfxRange::Signed(), "Coeff. of lin. thermal exp. X", m_sLambdaXUnit);
    DDX_Text(pDX, 555, m_dLambdaY);
    DDV_Range(pDX, m_dLambdaY, AfxRange::Signed(), "Coeff. of lin. thermal exp. Y", m_sLambdaYUnit);
    DDX_Text(pDX, 553, m_dModulusY);
    if (GetDlgItem(553)->IsWindowEnabled())
        DDV_Range(pDX, m_dModulusY, AfxRange::Positive(), "Young's modulus Y", m_sModulusUnit);
    DDX_Text(pDX, 16233, m_sLambdaXUnit);
    DDX_Text(pDX, 16235, m_sLambdaYUnit);
    DDX_Text(pDX, 16236, m_sModulusYUnit);
}

BOOL CDlgOrthoMaterial::OnInitDialog()
{
    const BOOL result = CMaterialDialog::OnInitDialog();
    m_sModulusYUnit = m_sModulusUnit;
    m_sLambdaXUnit = m_sLambdaYUnit = ExpansionUnit();
    UpdateData(FALSE);
    return result;
}

void CDlgOrthoMaterial::SelchangeMatName()
{
    CMaterialDialog::SelchangeMatName();
    const bool ortho = m_pCurMat && m_pCurMat->IsKindOf(RUNTIME_CLASS(COrthoMat));
    const bool isVoid = !m_pCurMat || m_pCurMat->GetName() == kVoid;
    if (m_pCurMat) {
        m_dModulusY = AfxDisplayValue(m_pCurMat->dGetParam(2), ModulusFactor());
        m_dLambdaX = AfxDisplayValue(m_pCurMat->dGetParam(11), 1.0 / TemperatureFactor());
        m_dLambdaY = AfxDisplayValue(m_pCurMat->dGetParam(12), 1.0 / TemperatureFactor());
    } else {
        m_dModulusY = m_dLambdaX = m_dLambdaY = 0.0;
    }
    GetDlgItem(553)->EnableWindow(ortho && !isVoid);
    GetDlgItem(555)->EnableWindow(ortho && !isVoid);
    GetDlgItem(554)->EnableWindow(!isVoid);
    EnableEdits(!isVoid);
    UpdateData(FALSE);
}

BOOL CDlgOrthoMaterial::KillfocusEdit()
{
    if (!CMaterialDialog::KillfocusEdit())
        return FALSE;
    // As in the base class, only values that differ from the shown ones
    // are written back.
    if (m_pCurMat) {
        const double temperature = TemperatureFactor();
        if (m_dLambdaX != AfxDisplayValue(m_pCurMat->dGetParam(11), 1.0 / temperature))
            m_pCurMat->SetLambda(m_dLambdaX * temperature);
        if (auto* ortho = dynamic_cast<COrthoMat*>(m_pCurMat)) {
            if (m_dLambdaY != AfxDisplayValue(ortho->dGetParam(12), 1.0 / temperature))
                ortho->SetLambda90(m_dLambdaY * temperature);
            if (m_dModulusY != AfxDisplayValue(ortho->dGetParam(2), ModulusFactor()))
                ortho->SetModOfElast90(m_dModulusY / ModulusFactor());
        }
    }
    return TRUE;
}

AfxRange CDlgOrthoMaterial::PoissonRange() const
{
    // The program's orthotropic material has one ratio for both directions
    // (nu12 = nu21): its stiffness stays positive for nu * nu < 1.
    if (m_pCurMat && m_pCurMat->IsKindOf(RUNTIME_CLASS(COrthoMat)))
        return AfxRange::UpTo(0.0, 1.0);
    return CMaterialDialog::PoissonRange();
}

CString CDlgOrthoMaterial::ModulusLabel() const
{
    return "Young's modulus X";
}

void CDlgOrthoMaterial::SetProperties(CMaterial* pTarget, CMaterial* pSource)
{
    CMaterialDialog::SetProperties(pTarget, pSource);
    auto* target = dynamic_cast<COrthoMat*>(pTarget);
    auto* source = dynamic_cast<COrthoMat*>(pSource);
    if (target && source) {
        target->SetLambda90(source->GetLambda90());
        target->SetModOfElast90(source->GetModOfElast90());
    }
}

// ---- CNewMaterialDlg ------------------------------------------------------------

IMPLEMENT_DYNAMIC(CNewMaterialDlg, CDialog)

BEGIN_MESSAGE_MAP(CNewMaterialDlg, CDialog)
ON_MESSAGE(WM_COLORBUTTON_CHANGED, OnColorChanged)
END_MESSAGE_MAP()

CNewMaterialDlg::CNewMaterialDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

DialogTemplate CNewMaterialDlg::BuildTemplate()
{
    using namespace pavesta;
    constexpr DWORD kUnit = WS_VISIBLE | ES_READONLY;
    DialogTemplate t;
    t.nID = IDD;
    t.strCaption = "New material";
    t.size = CSize(220, 196);
    auto row = [&t](int y, LPCTSTR label, int edit, int unit) {
        t.Add(Label(label, CRect(7, y + 2, 80, y + 10)));
        t.Add(Ctl(edit, AfxCtl::edit, "", CRect(84, y, 140, y + 12), kEditStyle));
        if (unit)
            t.Add(Ctl(unit, AfxCtl::edit, "", CRect(144, y, 213, y + 12), kUnit));
    };
    row(7, "Name", 388, 0);
    row(23, "Young's modulus X", 369, 16230);
    row(39, "Young's modulus Y", 370, 16239);
    row(55, "Poisson's ratio", 382, 0);
    row(71, "Shear modulus", 386, 16231);
    row(87, "Mass density", 374, 16232);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Material color", CRect(7, 104, 213, 168)),
        Ctl(415, AfxCtl::colorButton, "color", CRect(14, 116, 54, 130), kGroupStyle),
        Label("opacity (%)", CRect(14, 136, 60, 144)),
        Ctl(426, AfxCtl::edit, "", CRect(14, 148, 54, 160), kEditStyle),
        Label("red (%)", CRect(84, 118, 130, 126)),
        Ctl(391, AfxCtl::edit, "", CRect(134, 116, 170, 128), kEditStyle | WS_DISABLED),
        Label("green (%)", CRect(84, 134, 130, 142)),
        Ctl(394, AfxCtl::edit, "", CRect(134, 132, 170, 144), kEditStyle | WS_DISABLED),
        Label("blue (%)", CRect(84, 150, 130, 158)),
        Ctl(396, AfxCtl::edit, "", CRect(134, 148, 170, 160), kEditStyle | WS_DISABLED),
        Ctl(IDOK, AfxCtl::defPush, "OK", CRect(109, 175, 159, 189), kGroupStyle),
        Ctl(IDCANCEL, AfxCtl::push, "Cancel", CRect(163, 175, 213, 189), kButtonStyle),
    });
    return t;
}

void CNewMaterialDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 388, m_sName);
    DDX_Text(pDX, 369, m_dModulusX);
    DDV_Range(pDX, m_dModulusX, AfxRange::Positive(), "Young's modulus X", m_sModulusXUnit);
    DDX_Text(pDX, 370, m_dModulusY);
    if (m_iOrtho)
        DDV_Range(pDX, m_dModulusY, AfxRange::Positive(), "Young's modulus Y", m_sModulusYUnit);
    DDX_Text(pDX, 382, m_dPoisson);
    // One ratio for both directions of an orthotropic material: positive
    // stiffness needs nu * nu < 1; an isotropic one needs nu < 0.5.
    DDV_Range(pDX, m_dPoisson, AfxRange::UpTo(0.0, m_iOrtho ? 1.0 : 0.5), "Poisson's ratio");
    DDX_Text(pDX, 386, m_dShear);
    DDV_MinMaxDouble(pDX, m_dShear, 0.0, 1e14);
    DDX_Text(pDX, 374, m_dDensity);
    DDV_Range(pDX, m_dDensity, AfxRange::Positive(), "Mass density", m_sDensityUnit);
    DDX_Text(pDX, 391, m_fRed);
    DDV_MinMaxFloat(pDX, m_fRed, 0.0f, 100.0f);
    DDX_Text(pDX, 394, m_fGreen);
    DDV_MinMaxFloat(pDX, m_fGreen, 0.0f, 100.0f);
    DDX_Text(pDX, 396, m_fBlue);
    DDV_MinMaxFloat(pDX, m_fBlue, 0.0f, 100.0f);
    DDX_Text(pDX, 426, m_dOpacity);
    DDV_MinMaxDouble(pDX, m_dOpacity, 0.0, 100.0);
    DDX_Text(pDX, 16230, m_sModulusXUnit);
    DDX_Text(pDX, 16239, m_sModulusYUnit);
    DDX_Text(pDX, 16231, m_sShearUnit);
    DDX_Text(pDX, 16232, m_sDensityUnit);
}

BOOL CNewMaterialDlg::OnInitDialog()
{
    GetDlgItem(370)->EnableWindow(m_iOrtho != 0);
    const BOOL result = CDialog::OnInitDialog();
    m_btnColor.SubclassDlgItem(415, this);
    auto byte = [](float percent) { return static_cast<BYTE>(percent * 2.55f); };
    m_btnColor.SetColor(RGB(byte(m_fRed), byte(m_fGreen), byte(m_fBlue)));
    return result;
}

LRESULT CNewMaterialDlg::OnColorChanged(WPARAM wParam, LPARAM lParam)
{
    if (wParam != 415)
        return 0;
    VokDlgIsoMatsEdit::ShowColorPercent(*this, static_cast<COLORREF>(lParam), m_fRed, m_fGreen,
                                        m_fBlue);
    Invalidate(TRUE);
    return 0;
}

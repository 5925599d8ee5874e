#include "dialogs/matsedit.h"

#include <cmath>

#include "dialogs/mattypedlg.h"
#include "platform/afx/numconv.h"
#include "platform/dimvor/units.h"

IMPLEMENT_DYNAMIC(VokDlgIsoMatsEdit, CDialog)

BEGIN_MESSAGE_MAP(VokDlgIsoMatsEdit, CDialog)
ON_MESSAGE(WM_COLORBUTTON_CHANGED, OnColorChanged)
ON_LBN_SELCHANGE(364, OnSelchangeMatName)
ON_EN_KILLFOCUS(16200, OnKillfocusName)
ON_EN_KILLFOCUS(366, OnKillfocusEdit)
ON_EN_KILLFOCUS(376, OnKillfocusEdit)
ON_EN_KILLFOCUS(371, OnKillfocusEdit)
ON_EN_KILLFOCUS(381, OnKillfocusEdit)
ON_BN_CLICKED(436, OnBaseMaterial)
ON_BN_CLICKED(547, OnDeleteMaterial)
ON_BN_CLICKED(548, OnNewMaterial)
END_MESSAGE_MAP()

namespace
{

const char* const kVoid = "VOID";
const char* const kDeleted = "DELETED";

// The presets of new materials, in the materials library's units (N, mm,
// kg/mm^3), kept in single precision; colours in percent.
struct Preset {
    const char* name;
    float modulus, shear, poisson, density;
    float red, green, blue;
};
const Preset kPresets[] = {
    {"User-defined", 1.0f, 0.5f, 0.0f, 1e-09f, 100, 60, 60},
    {"Steel", 210000.0f, 80769.234f, 0.3f, 7.85e-06f, 75, 86, 75},
    {"Aluminium", 70000.0f, 26315.789f, 0.33f, 2.7e-06f, 65, 79, 94},
    {"Concrete", 30000.0f, 11314.286f, 0.225f, 2.7e-06f, 89, 84, 65},
    {"Timber", 12000.0f, 750.0f, 0.37f, 4.6e-07f, 91, 60, 36},
};

CMaterial* Material(CObject* pObject)
{
    return static_cast<CMaterial*>(pObject);
}

// A colour part in percent as the byte the colour button takes.
BYTE PercentToByte(float percent)
{
    return static_cast<BYTE>(percent * 2.55f);
}

} // namespace

VokDlgIsoMatsEdit::VokDlgIsoMatsEdit(CWnd* pParent, UINT nIDTemplate)
    : CDialog(nIDTemplate, pParent)
{
}

VokDlgIsoMatsEdit::~VokDlgIsoMatsEdit()
{
    ClearWorkList();
}

void VokDlgIsoMatsEdit::ClearWorkList()
{
    while (!m_WorkList.IsEmpty())
        delete m_WorkList.RemoveHead();
    m_deleted.clear();
    m_pCurMat = nullptr;
}

double VokDlgIsoMatsEdit::ModulusFactor()
{
    return MetricToX(iStandard, kUnitStress, iConv[iStandard][4][0]);
}

double VokDlgIsoMatsEdit::DensityFactor()
{
    return MetricToX(iStandard, kUnitPerVolume, 1) * MetricToX(iStandard, kUnitMass, 1);
}

bool VokDlgIsoMatsEdit::IsDeleted(const CMaterial* pMaterial) const
{
    return m_deleted.count(pMaterial) != 0;
}

int VokDlgIsoMatsEdit::LiveCount() const
{
    return m_WorkList.GetCount() - static_cast<int>(m_deleted.size());
}

INT_PTR VokDlgIsoMatsEdit::DoModal(CObList* pMaterials, int iStartIndex)
{
    m_pMatList = pMaterials;
    m_iStartIndex = iStartIndex;
    return CDialog::DoModal();
}

void VokDlgIsoMatsEdit::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 364, m_lbMaterials);
    DDX_Text(pDX, 385, m_iUseCount);
    // VOID and an empty list show zeros in disabled fields: no range then.
    const bool check = PropertiesEditable();
    DDX_Text(pDX, 366, m_dModulus);
    if (check)
        DDV_Range(pDX, m_dModulus, AfxRange::Positive(), ModulusLabel(), m_sModulusUnit);
    DDX_Text(pDX, 376, m_dPoisson);
    if (check)
        DDV_Range(pDX, m_dPoisson, PoissonRange(), "Poisson's ratio");
    DDX_Text(pDX, 371, m_dDensity);
    if (check)
        DDV_Range(pDX, m_dDensity, AfxRange::Positive(), "Mass density", m_sDensityUnit);
    DDX_Text(pDX, 381, m_dShear);
    if (check)
        // 0 stands for "not given" (the documents' default material): the
        // plate elements take the shear modulus from E and nu.
        DDV_Range(pDX, m_dShear, AfxRange::AtLeast(0.0), "Shear modulus", m_sShearUnit);
    DDX_Text(pDX, 16200, m_sName);
    DDX_Text(pDX, 396, m_fBlue);
    DDV_MinMaxFloat(pDX, m_fBlue, 0.0f, 100.0f);
    DDX_Text(pDX, 394, m_fGreen);
    DDV_MinMaxFloat(pDX, m_fGreen, 0.0f, 100.0f);
    DDX_Text(pDX, 391, m_fRed);
    DDV_MinMaxFloat(pDX, m_fRed, 0.0f, 100.0f);
    DDX_Text(pDX, 445, m_fOpacity);
    DDV_MinMaxFloat(pDX, m_fOpacity, 0.0f, 100.0f);
    DDX_Check(pDX, 436, m_iBase);
    DDX_Text(pDX, 16230, m_sModulusUnit);
    DDX_Text(pDX, 16231, m_sShearUnit);
    DDX_Text(pDX, 16232, m_sDensityUnit);
}

BOOL VokDlgIsoMatsEdit::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    m_btnColor.SubclassDlgItem(414, this);

    const int unit = iConv[iStandard][4][0];
    m_sModulusUnit = UnitString(iStandard, kUnitStress, unit);
    ReplaceSqrAndCube(m_sModulusUnit);
    m_sShearUnit = m_sModulusUnit;
    m_sDensityUnit = UnitString(iStandard, kUnitMass, 1) + UnitString(iStandard, kUnitPerVolume, 1);
    ReplaceSqrAndCube(m_sDensityUnit);

    // The working copies keep the caller's order and its use counts.
    ClearWorkList();
    if (m_pMatList) {
        for (POSITION pos = m_pMatList->GetTailPosition(); pos;) {
            CMaterial* pOriginal = Material(m_pMatList->GetPrev(pos));
            CMaterial* pCopy = pOriginal->Copy();
            for (int i = 0; i < pOriginal->GetElemCount(); ++i)
                pCopy->AddElem();
            m_WorkList.AddHead(pCopy);
        }
    }
    for (POSITION pos = m_WorkList.GetHeadPosition(); pos;) {
        CMaterial* pMaterial = Material(m_WorkList.GetNext(pos));
        const int index = m_lbMaterials.AddString(pMaterial->GetName());
        m_lbMaterials.SetItemData(index, reinterpret_cast<DWORD_PTR>(pMaterial));
    }
    if (!m_WorkList.IsEmpty())
        m_lbMaterials.SetCurSel(m_iStartIndex);

    SelchangeMatName();
    if (!m_bShowBaseCheck)
        GetDlgItem(436)->ShowWindow(SW_HIDE);
    return result;
}

void VokDlgIsoMatsEdit::EnableEdits(bool bEnable)
{
    for (int nID : {16200, 366, 376, 371, 381, 436})
        GetDlgItem(nID)->EnableWindow(bEnable);
}

void VokDlgIsoMatsEdit::SelchangeMatName()
{
    const int index = m_lbMaterials.GetCurSel();
    if (!m_WorkList.IsEmpty() && index >= 0) {
        CString entry;
        m_lbMaterials.GetText(index, entry);
        EnableEdits(entry != kVoid);
        m_pCurMat = reinterpret_cast<CMaterial*>(m_lbMaterials.GetItemData(index));
        const double modulus = ModulusFactor();
        m_sName = m_pCurMat->GetName();
        m_dPoisson = m_pCurMat->GetNu();
        m_dModulus = AfxDisplayValue(m_pCurMat->GetModOfElast(), modulus);
        m_dShear = AfxDisplayValue(m_pCurMat->GetModOfShear(), modulus);
        m_dDensity = AfxDisplayValue(m_pCurMat->GetRho(), DensityFactor());
        m_iUseCount = m_pCurMat->GetElemCount();
        m_fBlue = static_cast<float>(m_pCurMat->GetBlue() * 100.0);
        m_fGreen = static_cast<float>(m_pCurMat->GetGreen() * 100.0);
        m_fRed = static_cast<float>(m_pCurMat->GetRed() * 100.0);
        m_fOpacity = static_cast<float>(m_pCurMat->GetSat() * 100.0);
        m_btnColor.SetColor(
            RGB(PercentToByte(m_fRed), PercentToByte(m_fGreen), PercentToByte(m_fBlue)));
        m_iBase = m_pCurMat->IsFlagBit(CMaterial::kBaseMaterialBit) ? 1 : 0;
    } else {
        m_pCurMat = nullptr;
        m_sName.Empty();
        m_dPoisson = m_dModulus = m_dShear = m_dDensity = 0.0;
        m_iUseCount = 0;
        m_fRed = m_fGreen = m_fBlue = 100.0f;
        m_fOpacity = 0.0f;
        m_btnColor.SetColor(RGB(255, 255, 255));
        m_iBase = 0;
    }
    UpdateData(FALSE);
}

void VokDlgIsoMatsEdit::OnSelchangeMatName()
{
    // Leaving a material is like leaving a page: its values are checked
    // first, and a refused one keeps it selected.
    if (m_pCurMat && !KillfocusEdit()) {
        for (int i = 0; i < m_lbMaterials.GetCount(); ++i)
            if (m_lbMaterials.GetItemData(i) == reinterpret_cast<DWORD_PTR>(m_pCurMat))
                m_lbMaterials.SetCurSel(i);
        return;
    }
    SelchangeMatName();
}

AfxRange VokDlgIsoMatsEdit::PoissonRange() const
{
    return AfxRange::UpTo(0.0, 0.5);
}

bool VokDlgIsoMatsEdit::PropertiesEditable() const
{
    const CWnd* modulus = GetDlgItem(366);
    return m_pCurMat && modulus && modulus->IsWindowEnabled() &&
           m_pCurMat->GetName().CompareNoCase(kVoid) != 0;
}

CString VokDlgIsoMatsEdit::ModulusLabel() const
{
    return "Young's modulus";
}

BOOL VokDlgIsoMatsEdit::KillfocusEdit()
{
    if (!UpdateData(TRUE))
        return FALSE;
    if (m_pCurMat) {
        const double modulus = ModulusFactor();
        // Only what differs from the shown value is written back.
        auto take = [](double entered, double stored, double factor, auto set) {
            if (entered != AfxDisplayValue(stored, factor))
                set(entered / factor);
        };
        CMaterial* m = m_pCurMat;
        take(m_dPoisson, m->GetNu(), 1.0, [m](double v) { m->SetNu(v); });
        take(m_dDensity, m->GetRho(), DensityFactor(), [m](double v) { m->SetRho(v); });
        take(m_dModulus, m->GetModOfElast(), modulus, [m](double v) { m->SetModOfElast(v); });
        take(m_dShear, m->GetModOfShear(), modulus, [m](double v) { m->SetModOfShear(v); });
        auto shown = [](double part) { return static_cast<float>(part * 100.0); };
        if (m_fRed != shown(m->GetRed()) || m_fGreen != shown(m->GetGreen()) ||
            m_fBlue != shown(m->GetBlue()))
            m->SetColor(m_fRed * 0.01, m_fGreen * 0.01, m_fBlue * 0.01);
        if (m_fOpacity != shown(m->GetSat()))
            m->SetSat(m_fOpacity * 0.01);
    }
    return TRUE;
}

void VokDlgIsoMatsEdit::KillfocusEditQuietly()
{
    CQuietExchange quiet(*this);
    KillfocusEdit();
}

void VokDlgIsoMatsEdit::OnKillfocusEdit()
{
    KillfocusEditQuietly();
}

void VokDlgIsoMatsEdit::OnKillfocusName()
{
    // The rename reads the name alone: the other fields are checked on OK.
    if (!m_pCurMat)
        return;
    GetDlgItemText(16200, m_sName);
    int index = m_lbMaterials.GetCurSel();
    if (index < 0)
        return;
    CString entry;
    m_lbMaterials.GetText(index, entry);
    if (entry.CompareNoCase(kVoid) == 0 || m_sName.CompareNoCase(kVoid) == 0) {
        AfxMessageBox(entry.CompareNoCase(kVoid) == 0 ? "Can not change the material VOID"
                                                      : "The name VOID is reserved");
        m_sName = entry;
        SetDlgItemText(16200, entry);
    } else {
        m_lbMaterials.DeleteString(index);
        index = m_lbMaterials.AddString(m_sName);
        m_lbMaterials.SetItemData(index, reinterpret_cast<DWORD_PTR>(m_pCurMat));
        m_pCurMat->SetName(m_sName);
    }
    m_lbMaterials.SetCurSel(index);
}

LRESULT VokDlgIsoMatsEdit::OnColorChanged(WPARAM wParam, LPARAM lParam)
{
    if (wParam != 414)
        return 0;
    const COLORREF clr = static_cast<COLORREF>(lParam);
    ShowColorPercent(*this, clr, m_fRed, m_fGreen, m_fBlue);
    const double red = GetRValue(clr) / 255.0;
    const double green = GetGValue(clr) / 255.0;
    const double blue = GetBValue(clr) / 255.0;
    if (m_pCurMat)
        m_pCurMat->SetColor(red, green, blue);
    return 0;
}

void VokDlgIsoMatsEdit::ShowColorPercent(CWnd& wnd, COLORREF clr, float& red, float& green,
                                         float& blue)
{
    // The colour values stay in percent; the edits show them whole.
    red = static_cast<float>(std::lround(GetRValue(clr) * 100.0 / 255.0));
    green = static_cast<float>(std::lround(GetGValue(clr) * 100.0 / 255.0));
    blue = static_cast<float>(std::lround(GetBValue(clr) * 100.0 / 255.0));
    wnd.SetDlgItemText(391, CString(AfxFormat("%g", red).c_str()));
    wnd.SetDlgItemText(394, CString(AfxFormat("%g", green).c_str()));
    wnd.SetDlgItemText(396, CString(AfxFormat("%g", blue).c_str()));
}

void VokDlgIsoMatsEdit::ShowBaseFlag()
{
    m_iBase = m_pCurMat && m_pCurMat->IsFlagBit(CMaterial::kBaseMaterialBit) ? 1 : 0;
    CheckDlgButton(436, m_iBase);
}

void VokDlgIsoMatsEdit::OnBaseMaterial()
{
    if (m_WorkList.IsEmpty() || !m_pCurMat)
        return;
    const int index = m_lbMaterials.GetCurSel();
    CString entry;
    if (index >= 0)
        m_lbMaterials.GetText(index, entry);
    if (entry == kVoid) {
        AfxMessageBox("The material VOID can not be a base-material");
        ShowBaseFlag();
        return;
    }
    const CString name = m_pCurMat->GetName();
    const bool bWasBase = m_pCurMat->IsFlagBit(CMaterial::kBaseMaterialBit);
    for (POSITION pos = m_WorkList.GetHeadPosition(); pos;) {
        CMaterial* pMaterial = Material(m_WorkList.GetNext(pos));
        if (IsDeleted(pMaterial))
            continue;
        if (bWasBase) {
            if (pMaterial->GetName() == name)
                pMaterial->SetFlag(pMaterial->GetFlag() & ~CMaterial::kBaseMaterialBit);
        } else if (pMaterial->IsFlagBit(CMaterial::kBaseMaterialBit)) {
            const std::string question = AfxFormat(
                "The material %s is base-material.\nDo you want to set %s as base-material "
                "instead?",
                pMaterial->GetName().GetString(), name.GetString());
            if (AfxMessageBox(question.c_str(), MB_OKCANCEL) != IDOK) {
                ShowBaseFlag();
                return;
            }
            pMaterial->SetFlag(pMaterial->GetFlag() & ~CMaterial::kBaseMaterialBit);
        }
    }
    if (!bWasBase) {
        for (POSITION pos = m_WorkList.GetHeadPosition(); pos;) {
            CMaterial* pMaterial = Material(m_WorkList.GetNext(pos));
            if (!IsDeleted(pMaterial) && pMaterial->GetName() == name)
                pMaterial->AddFlagBit(CMaterial::kBaseMaterialBit);
        }
    }
    ShowBaseFlag();
}

void VokDlgIsoMatsEdit::OnDeleteMaterial()
{
    if (!m_pCurMat)
        return;
    if (LiveCount() < 2) {
        AfxMessageBox("Cannot delete last material");
        return;
    }
    if (m_pCurMat->GetName().CompareNoCase(kVoid) == 0) {
        AfxMessageBox("Cannot delete VOID");
        return;
    }
    if (m_pCurMat->GetElemCount() != 0) {
        AfxMessageBox("Cannot delete material belonging to one or more elements");
        return;
    }
    m_deleted.insert(m_pCurMat);
    m_pCurMat->SetName(kDeleted);
    for (int i = 0; i < m_lbMaterials.GetCount(); ++i) {
        if (m_lbMaterials.GetItemData(i) == reinterpret_cast<DWORD_PTR>(m_pCurMat)) {
            m_lbMaterials.DeleteString(i);
            break;
        }
    }
    m_lbMaterials.SetCurSel(0);
    SelchangeMatName();
}

CMaterial* VokDlgIsoMatsEdit::NewMat()
{
    VokDlgMatType dlg(this);
    dlg.m_iMatKind = -1;
    if (dlg.DoModal() != IDOK || dlg.m_iPreset < 0 ||
        dlg.m_iPreset >= static_cast<int>(std::size(kPresets)))
        return nullptr;
    const Preset& p = kPresets[dlg.m_iPreset];
    CMaterial* pMaterial = new CMaterial(p.name, p.density, p.modulus, p.shear, p.poisson, 0.0);
    pMaterial->SetColor(p.red * 0.01, p.green * 0.01, p.blue * 0.01);
    return pMaterial;
}

void VokDlgIsoMatsEdit::OnNewMaterial()
{
    CMaterial* pMaterial = NewMat();
    if (!pMaterial)
        return;
    m_WorkList.AddTail(pMaterial);
    const int index = m_lbMaterials.AddString(pMaterial->GetName());
    m_iStartIndex = index;
    m_lbMaterials.SetItemData(index, reinterpret_cast<DWORD_PTR>(pMaterial));
    m_lbMaterials.SetCurSel(index);
    SelchangeMatName();
}

void VokDlgIsoMatsEdit::SetProperties(CMaterial* pTarget, CMaterial* pSource)
{
    pTarget->SetColor(pSource->GetRed(), pSource->GetGreen(), pSource->GetBlue());
    pTarget->SetFlag(pSource->GetFlag());
    pTarget->SetModOfElast(pSource->GetModOfElast());
    pTarget->SetModOfShear(pSource->GetModOfShear());
    pTarget->SetName(pSource->GetName());
    pTarget->SetNu(pSource->GetNu());
    pTarget->SetRho(pSource->GetRho());
    pTarget->SetSat(pSource->GetSat());
    pTarget->SetLambda(pSource->GetLambda());
}

void VokDlgIsoMatsEdit::UpdateMaterialList()
{
    if (!m_pMatList)
        return;
    POSITION posCaller = m_pMatList->GetHeadPosition();
    POSITION posWork = m_WorkList.GetHeadPosition();
    while (posWork) {
        const POSITION atWork = posWork;
        CMaterial* pWork = Material(m_WorkList.GetNext(posWork));
        if (posCaller) {
            const POSITION atCaller = posCaller;
            CMaterial* pCaller = Material(m_pMatList->GetNext(posCaller));
            if (!IsDeleted(pWork)) {
                SetProperties(pCaller, pWork);
                continue;
            }
            m_pMatList->RemoveAt(atCaller);
            delete pCaller;
        } else if (!IsDeleted(pWork)) {
            m_pMatList->AddTail(pWork->Copy()); // made in this dialog
            continue;
        }
        m_WorkList.RemoveAt(atWork);
        m_deleted.erase(pWork);
        if (pWork == m_pCurMat)
            m_pCurMat = nullptr;
        delete pWork;
    }
}

void VokDlgIsoMatsEdit::OnOK()
{
    if (!KillfocusEdit())
        return;
    UpdateMaterialList();
    CDialog::OnOK();
}

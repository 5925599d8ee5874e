#include "dialogs/matnamesel.h"

#include "dialogs/pagehelpers.h"

IMPLEMENT_DYNCREATE(VokPPMatNameSel, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPMatNameSel, CPropertyPage)
ON_BN_CLICKED(IDC_MAT_CHANGE, OnChoice)
ON_BN_CLICKED(IDC_MAT_PARABOLIC, OnChoice)
ON_BN_CLICKED(IDC_MAT_POLAR, OnChoice)
END_MESSAGE_MAP()

VokPPMatNameSel::VokPPMatNameSel() : CPropertyPage(IDD_MATERIAL_SELECT) {}

void VokPPMatNameSel::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MAT_COMBO, m_cbMaterial);
    DDX_Text(pDX, IDC_MAT_NAME, m_strName);
    DDX_Check(pDX, IDC_MAT_CHANGE, m_iChange);
    DDX_Text(pDX, IDC_MAT_A, m_dA);
    DDX_Text(pDX, IDC_MAT_B, m_dB);
    DDX_Text(pDX, IDC_MAT_X0, m_dX0);
    DDX_Text(pDX, IDC_MAT_Y0, m_dY0);
    DDX_Radio(pDX, IDC_MAT_PARABOLIC, m_iAxisKind);
    // The combo is the material's one source: its selection's item data.
    const int sel = m_cbMaterial.GetCurSel();
    m_pSelMaterial =
        sel < 0 ? nullptr : reinterpret_cast<CMaterial*>(m_cbMaterial.GetItemData(sel));
}

BOOL VokPPMatNameSel::OnInitDialog()
{
    // The first exchange reads the still empty combo: keep the preset.
    CMaterial* const pPreset = m_pSelMaterial;
    CPropertyPage::OnInitDialog();
    m_pSelMaterial = pPreset;

    CString unitA, unitB;
    if (!m_strUnit.IsEmpty()) {
        unitA = m_strUnit + "/" + m_strUnit;
        unitB = unitA + "\xB2";
    }
    SetDlgItemText(IDC_MAT_UNIT_X0, m_strUnit);
    SetDlgItemText(IDC_MAT_UNIT_Y0, m_strUnit);
    SetDlgItemText(IDC_MAT_UNIT_A, unitA);
    SetDlgItemText(IDC_MAT_UNIT_B, unitB);

    if (m_pMaterials) {
        for (POSITION pos = m_pMaterials->GetHeadPosition(); pos;) {
            CMaterial* pMaterial = static_cast<CMaterial*>(m_pMaterials->GetNext(pos));
            const int index = m_cbMaterial.AddString(pMaterial->GetName());
            m_cbMaterial.SetItemData(index, reinterpret_cast<DWORD_PTR>(pMaterial));
        }
        if (m_bSeveralRegions) {
            const int index = m_cbMaterial.AddString(" No change");
            m_cbMaterial.SetItemData(index, 0);
            m_cbMaterial.SetCurSel(index);
        }
        if (!m_pMaterials->IsEmpty() && m_pSelMaterial) {
            for (int i = 0; i < m_cbMaterial.GetCount(); ++i)
                if (reinterpret_cast<CMaterial*>(m_cbMaterial.GetItemData(i)) == m_pSelMaterial)
                    m_cbMaterial.SetCurSel(i);
        }
    }

    if (m_bSeveralRegions) {
        GetDlgItem(IDC_MAT_NAME)->EnableWindow(FALSE);
    } else {
        m_iChange = 1;
        GetDlgItem(IDC_MAT_CHANGE)->ShowWindow(SW_HIDE);
    }
    UpdateData(FALSE);
    OnChoice();
    return TRUE;
}

void VokPPMatNameSel::OnChoice()
{
    // Only the box and the radios are read: a half-typed number elsewhere is
    // left for the page's validation when it is left or applied.
    m_iChange = IsDlgButtonChecked(IDC_MAT_CHANGE) ? 1 : 0;
    m_iAxisKind = pavesta::checkedRadio(*this, {IDC_MAT_PARABOLIC, IDC_MAT_POLAR});
    EnableControls();
}

void VokPPMatNameSel::EnableControls()
{
    const bool change = m_iChange != 0;
    for (int id : {IDC_MAT_PARABOLIC, IDC_MAT_POLAR, IDC_MAT_COMBO})
        GetDlgItem(id)->EnableWindow(change);
    GetDlgItem(IDC_MAT_NAME)->EnableWindow(change && !m_bSeveralRegions);
    GetDlgItem(IDC_MAT_A)->EnableWindow(change && m_iAxisKind != 1);
    GetDlgItem(IDC_MAT_B)->EnableWindow(change && m_iAxisKind != 1);
    GetDlgItem(IDC_MAT_X0)->EnableWindow(change && m_iAxisKind == 1);
    GetDlgItem(IDC_MAT_Y0)->EnableWindow(change && m_iAxisKind == 1);
}

#include "dialogs/bilinfuncpage.h"

#include "dialogs/pagehelpers.h"

IMPLEMENT_DYNCREATE(VokPPBiLinFunc, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPBiLinFunc, CPropertyPage)
ON_BN_CLICKED(IDC_BILIN_CHANGE, OnChoice)
ON_BN_CLICKED(IDC_BILIN_KIND0, OnChoice)
ON_BN_CLICKED(IDC_BILIN_KIND1, OnChoice)
END_MESSAGE_MAP()

VokPPBiLinFunc::VokPPBiLinFunc(LPCTSTR lpszCaption, UINT nIDTemplate, bool bShowChange)
    : CPropertyPage(nIDTemplate), m_bShowChange(bShowChange)
{
    pavesta::useTabTitle(*this, m_strCaption, lpszCaption);
}

void VokPPBiLinFunc::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    // Every field is exchanged on every template, shown or not, so that a
    // caller reads back what it put in.
    DDX_Text(pDX, IDC_BILIN_SLOPE_X, m_dSlopeX);
    DDX_Text(pDX, IDC_BILIN_SLOPE_Y, m_dSlopeY);
    DDX_Text(pDX, IDC_BILIN_BASE, m_dBase);
    if (GetTemplateID() == IDD_BILIN_THICKNESS && m_iChange != 0) {
        CString unit;
        GetDlgItemText(IDC_BILIN_BASE_UNIT, unit);
        DDV_Range(pDX, m_dBase, AfxRange::Positive(), "Thickness t0", unit);
    }
    DDX_Text(pDX, IDC_BILIN_X0, m_dX0);
    DDX_Text(pDX, IDC_BILIN_Y0, m_dY0);
    DDX_Text(pDX, IDC_BILIN_SLOPE_X2, m_dSlopeX2);
    DDX_Text(pDX, IDC_BILIN_SLOPE_Y2, m_dSlopeY2);
    DDX_Text(pDX, IDC_BILIN_BASE2, m_dBase2);
    DDX_Check(pDX, IDC_BILIN_CHANGE, m_iChange);
    DDX_Radio(pDX, IDC_BILIN_KIND0, m_iKind);
}

BOOL VokPPBiLinFunc::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (!m_bShowChange) {
        m_iChange = 1;
        GetDlgItem(IDC_BILIN_CHANGE)->ShowWindow(SW_HIDE);
    }
    EnableEdits();
    UpdateData(FALSE);
    return TRUE;
}

void VokPPBiLinFunc::OnChoice()
{
    // Only the box and the radios are read: a half-typed number elsewhere is
    // left for the page's validation when it is left or applied.
    m_iChange = IsDlgButtonChecked(IDC_BILIN_CHANGE) ? 1 : 0;
    m_iKind = pavesta::checkedRadio(*this, {IDC_BILIN_KIND0, IDC_BILIN_KIND1});
    EnableEdits();
}

void VokPPBiLinFunc::EnableEdits()
{
    if (m_pCallback)
        m_pCallback(this);
    const bool change = m_iChange != 0;
    for (int id :
         {IDC_BILIN_SLOPE_X, IDC_BILIN_SLOPE_Y, IDC_BILIN_BASE, IDC_BILIN_X0, IDC_BILIN_Y0})
        GetDlgItem(id)->EnableWindow(change);
    for (int id : {IDC_BILIN_SLOPE_X2, IDC_BILIN_SLOPE_Y2, IDC_BILIN_BASE2})
        GetDlgItem(id)->EnableWindow(change && m_iKind != 1);
}

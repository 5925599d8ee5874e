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
    // caller reads back what it put in. Each is named by the symbol its
    // picture shows and carries the unit its label shows.
    const UINT id = GetTemplateID();
    const bool thickness = id == IDD_BILIN_THICKNESS, load = id == IDD_BILIN_LOAD;
    const char* const base = thickness ? "Thickness t0" : load ? "Load p0" : "Value";
    const char* const slopeX = thickness ? "dt/dx" : load ? "dp/dx" : "Slope x";
    const char* const slopeY = thickness ? "dt/dy" : load ? "dp/dy" : "Slope y";
    const auto unit = [this](int nID) {
        CString text;
        if (CWnd* item = GetDlgItem(nID))
            item->GetWindowText(text);
        return text;
    };
    const AfxRange any = AfxRange::Signed();
    DDX_Number(pDX, IDC_BILIN_SLOPE_X, m_dSlopeX, any, slopeX, unit(16141));
    DDX_Number(pDX, IDC_BILIN_SLOPE_Y, m_dSlopeY, any, slopeY, unit(16142));
    // A thickness is positive when it is to be changed.
    const bool positive = thickness && m_iChange != 0;
    DDX_Number(pDX, IDC_BILIN_BASE, m_dBase, positive ? AfxRange::Positive() : any, base,
               unit(IDC_BILIN_BASE_UNIT));
    DDX_Number(pDX, IDC_BILIN_X0, m_dX0, any, "x0", unit(16139));
    DDX_Number(pDX, IDC_BILIN_Y0, m_dY0, any, "y0", unit(16140));
    DDX_Number(pDX, IDC_BILIN_SLOPE_X2, m_dSlopeX2, any, "Slope x 2");
    DDX_Number(pDX, IDC_BILIN_SLOPE_Y2, m_dSlopeY2, any, "Slope y 2");
    DDX_Number(pDX, IDC_BILIN_BASE2, m_dBase2, any, "Value 2");
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

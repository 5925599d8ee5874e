#include "dialogs/smoothpage.h"

IMPLEMENT_DYNCREATE(VokPPSmoothinSett, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPSmoothinSett, CPropertyPage)
ON_BN_CLICKED(16156, OnRadio)
ON_BN_CLICKED(16157, OnRadio)
END_MESSAGE_MAP()

VokPPSmoothinSett::VokPPSmoothinSett() : CPropertyPage(IDD) {}

VokPPSmoothinSett::VokPPSmoothinSett(int* piSmoothing)
    : CPropertyPage(IDD), m_piSmoothing(piSmoothing)
{
}

void VokPPSmoothinSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, 16156, m_iRadio);
    DDX_Check(pDX, 16158, m_iSameName);
    DDX_Check(pDX, 16159, m_iSameMaterial);
    DDX_Check(pDX, 16160, m_iSameThickness);
}

BOOL VokPPSmoothinSett::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    if (m_piSmoothing) {
        const int word = *m_piSmoothing;
        if (word & withinRegions) {
            m_iRadio = 0;
        } else {
            m_iRadio = 1;
            m_iSameThickness = (word & sameThickness) ? 1 : 0;
            m_iSameMaterial = (word & sameMaterial) ? 1 : 0;
            m_iSameName = (word & sameName) ? 1 : 0;
        }
        UpdateData(FALSE);
        OnRadio();
    }
    return result;
}

void VokPPSmoothinSett::OnRadio()
{
    TakeQuietly();
    const BOOL bAcross = m_iRadio != 0;
    for (int nID : {16158, 16159, 16160})
        GetDlgItem(nID)->EnableWindow(bAcross);
}

BOOL VokPPSmoothinSett::OnApply()
{
    if (m_piSmoothing) {
        int word = 0;
        if (m_iRadio == 0) {
            word = withinRegions;
        } else {
            if (m_iSameThickness)
                word |= sameThickness;
            if (m_iSameMaterial)
                word |= sameMaterial;
            if (m_iSameName)
                word |= sameName;
        }
        *m_piSmoothing = word;
    }
    return CPropertyPage::OnApply();
}

#include "dialogs/doctypedlg.h"

IMPLEMENT_DYNAMIC(VokDlgFPDocType, CDialog)

BEGIN_MESSAGE_MAP(VokDlgFPDocType, CDialog)
ON_BN_CLICKED(16000, OnPlate)
ON_BN_CLICKED(16001, OnMembrane)
ON_BN_CLICKED(16002, OnBuckling)
END_MESSAGE_MAP()

VokDlgFPDocType::VokDlgFPDocType(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL VokDlgFPDocType::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    m_btnPlate.SubclassDlgItem(16000, this);
    m_btnPlate.SetBitmapID(16002);
    m_btnMembrane.SubclassDlgItem(16001, this);
    m_btnMembrane.SetBitmapID(16001);
    return result;
}

void VokDlgFPDocType::Choose(int iDocType)
{
    m_iDocType = iDocType;
    OnOK();
}

void VokDlgFPDocType::OnPlate()
{
    Choose(typePlate);
}

void VokDlgFPDocType::OnMembrane()
{
    Choose(typeMembrane);
}

void VokDlgFPDocType::OnBuckling()
{
    Choose(typeBuckling);
}

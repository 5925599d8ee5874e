#include "dialogs/mattypedlg.h"

IMPLEMENT_DYNAMIC(VokDlgMatType, CDialog)

VokDlgMatType::VokDlgMatType(CWnd* pParent) : CDialog(IDD, pParent) {}

void VokDlgMatType::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, 16005, m_iPreset);
    if (m_iMatKind >= 0)
        DDX_Radio(pDX, 16009, m_iMatKind);
}

BOOL VokDlgMatType::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    if (m_iMatKind < 0) {
        GetDlgItem(16009)->EnableWindow(FALSE);
        GetDlgItem(16010)->EnableWindow(FALSE);
    }
    return result;
}

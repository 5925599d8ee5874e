#include "dialogs/storagepage.h"

IMPLEMENT_DYNCREATE(CPPStiffStorage, CPropertyPage)

int CPPStiffStorage::m_iStStorage = 0;
int CPPStiffStorage::m_iStReorder = 0;
int CPPStiffStorage::m_iStRenum = 0;

BEGIN_MESSAGE_MAP(CPPStiffStorage, CPropertyPage)
ON_BN_CLICKED(16054, OnStorage)
ON_BN_CLICKED(16055, OnStorage)
END_MESSAGE_MAP()

CPPStiffStorage::CPPStiffStorage()
    : CPropertyPage(IDD), m_iReorder(m_iStReorder), m_iStorage(m_iStStorage), m_iRenum(m_iStRenum)
{
}

void CPPStiffStorage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, 16054, m_iStorage);
    DDX_Radio(pDX, 16051, m_iRenum);
    DDX_Radio(pDX, 16049, m_iReorder);
}

BOOL CPPStiffStorage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    EnableGroups();
    return result;
}

void CPPStiffStorage::EnableGroups()
{
    const BOOL bSparse = m_iStorage == storageSparse;
    for (int nID : {16177, 16049, 16056})
        GetDlgItem(nID)->EnableWindow(bSparse);
    for (int nID : {16176, 16051, 16052, 16053, 16050})
        GetDlgItem(nID)->EnableWindow(!bSparse);
}

void CPPStiffStorage::OnStorage()
{
    TakeQuietly();
    EnableGroups();
}

BOOL CPPStiffStorage::OnApply()
{
    UpdateData(TRUE);
    m_iStReorder = m_iReorder;
    m_iStStorage = m_iStorage;
    m_iStRenum = m_iRenum;
    return CPropertyPage::OnApply();
}

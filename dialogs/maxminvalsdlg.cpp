#include "dialogs/maxminvalsdlg.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(VokDlgMaxMinVals, CDialog)

VokDlgMaxMinVals::VokDlgMaxMinVals(CWnd* pParent) : CDialog(IDD_MAX_MIN_VALUES, pParent) {}

void VokDlgMaxMinVals::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MAX_MIN_LIST, m_lbValues);
}

BOOL VokDlgMaxMinVals::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_lbValues.SetTabStops(64);
    m_lbValues.AddString(" \tMax\tMin");
    // A row needs an entry in every column: rows stop at the shortest one.
    const CStringArray* columns[] = {m_pColumn1, m_pColumn2, m_pColumn3, m_pColumn4};
    int rows = INT_MAX;
    for (const CStringArray* column : columns)
        rows = std::min(rows, column ? column->GetSize() : 0);
    for (int i = 0; i < rows; ++i)
        m_lbValues.AddString(m_pColumn1->GetAt(i) + "\t" + m_pColumn2->GetAt(i) + "\t" +
                             m_pColumn3->GetAt(i) + "\t" + m_pColumn4->GetAt(i));
    return TRUE;
}

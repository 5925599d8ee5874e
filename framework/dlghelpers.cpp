#include "framework/dlghelpers.h"

namespace framira
{

void ShowText(CWnd& dialog, int nID, const CString& text)
{
    if (CWnd* pControl = dialog.GetDlgItem(nID)) {
        pControl->SetWindowText(text);
        pControl->ShowWindow(text.IsEmpty() ? SW_HIDE : SW_SHOW);
    }
}

void ShowControl(CWnd& dialog, int nID, bool bShow)
{
    if (CWnd* pControl = dialog.GetDlgItem(nID))
        pControl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void EnableControl(CWnd& dialog, int nID, bool bEnable)
{
    if (CWnd* pControl = dialog.GetDlgItem(nID))
        pControl->EnableWindow(bEnable);
}

} // namespace framira

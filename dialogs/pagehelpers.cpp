#include "dialogs/pagehelpers.h"

namespace pavesta
{

int checkedRadio(const CDialog& dialog, std::initializer_list<int> ids)
{
    int index = 0;
    for (int id : ids) {
        if (dialog.IsDlgButtonChecked(id))
            return index;
        ++index;
    }
    return -1;
}

void useTabTitle(CPropertyPage& page, CString& title, LPCTSTR caption)
{
    if (!caption || !*caption)
        return;
    title = caption;
    page.m_psp.dwFlags |= PSP_USETITLE;
    page.m_psp.pszTitle = title.GetString();
}

} // namespace pavesta

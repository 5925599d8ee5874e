// Small helpers shared by the pages of this library.
#pragma once

#include <initializer_list>

#include "platform/ui/core/afxui.h"

namespace pavesta
{

// The index in ids of the checked radio of the window, or -1 when none is
// checked: a radio group's value read without exchanging the other fields.
int checkedRadio(const CDialog& dialog, std::initializer_list<int> ids);

// Makes caption the page's tab title when it is neither null nor empty;
// title keeps the text alive for the page's m_psp.
void useTabTitle(CPropertyPage& page, CString& title, LPCTSTR caption);

} // namespace pavesta

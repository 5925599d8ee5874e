// Small helpers shared by the framework's dialogs and pages.
#pragma once

#include "platform/ui/core/afxui.h"

namespace framira
{

// Gives the control its text, or hides it when the text is empty.
void ShowText(CWnd& dialog, int nID, const CString& text);
void ShowControl(CWnd& dialog, int nID, bool bShow);
void EnableControl(CWnd& dialog, int nID, bool bEnable);

} // namespace framira

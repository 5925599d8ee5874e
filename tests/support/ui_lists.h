// Test helpers for the lists of the window layer's controls: the texts of a
// combo box, and the lines of a list editor typed as a user would.
#pragma once

#include <vector>

#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"

namespace brantel::test
{

// The texts of the combo's entries, in order (none without a combo).
inline std::vector<CString> ComboTexts(const CComboBox* combo)
{
    std::vector<CString> texts;
    for (int i = 0; combo && i < combo->GetCount(); ++i) {
        CString text;
        combo->GetLBText(i, text);
        texts.push_back(text);
    }
    return texts;
}

// Replaces the lines of the list editor nID of window, as a user would:
// every line deleted, then each new one typed.
inline void TypeEditorLines(afxui::headless::DialogDriver& d, CWnd& window, int nID,
                            const std::vector<CString>& lines)
{
    auto& list = *static_cast<CListEditCtrl*>(window.GetDlgItem(nID));
    while (list.GetItemCount() > 0) {
        d.Select(nID, 0);
        list.DeleteItem();
    }
    for (const CString& line : lines) {
        list.NewItem();
        d.Type(nID, line);
    }
}

} // namespace brantel::test

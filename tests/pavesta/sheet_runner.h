// Shows pages in a modal sheet as the program does and lets a test act on
// it as a user would.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/pavesta.h"
#include "platform/ui/headless/afxui_headless.h"

namespace pavesta_test
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;

// Runs a sheet titled caption with the pages; step drives it and ends it.
// Dialogs that step opens take the steps it adds to the script meanwhile.
inline INT_PTR RunSheet(std::initializer_list<CPropertyPage*> pages,
                        std::function<void(DialogDriver&, ModalScript&)> step,
                        LPCTSTR caption = "Region")
{
    CPropertySheet sheet(caption);
    for (CPropertyPage* page : pages)
        sheet.AddPage(page);
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet),
                  [&](DialogDriver& d, CDialog&) { step(d, script); });
    return sheet.DoModal();
}

// The same for a step that opens no further dialog.
inline INT_PTR RunSheet(std::initializer_list<CPropertyPage*> pages,
                        std::function<void(DialogDriver&)> step, LPCTSTR caption = "Region")
{
    return RunSheet(
        pages, [&](DialogDriver& d, ModalScript&) { step(d); }, caption);
}

// Replaces the list editor's lines by lines, as a user would.
inline void TypeLines(DialogDriver& d, CListEditCtrl& list, const std::vector<CString>& lines)
{
    while (list.GetItemCount() > 0) {
        d.Select(IDC_NUMBER_ITEMS, 0);
        list.DeleteItem();
    }
    for (const CString& line : lines) {
        list.NewItem();
        d.Type(IDC_NUMBER_ITEMS, line);
    }
}

// The page's list editor, found through the page's window.
inline CListEditCtrl& ListOf(CPropertyPage& page)
{
    return *static_cast<CListEditCtrl*>(page.GetDlgItem(IDC_NUMBER_ITEMS));
}

} // namespace pavesta_test

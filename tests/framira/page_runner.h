// Shows a page in a modal sheet as the program does and lets a test act on
// it as a user would.
#pragma once

#include <functional>

#include <gtest/gtest.h>

#include "platform/ui/headless/afxui_headless.h"

namespace framira_test
{

// Runs a sheet holding page; step drives it and ends it. Message boxes and
// file dialogs that step expects go into the script it is given.
inline INT_PTR RunPage(
    CPropertyPage& page,
    std::function<void(afxui::headless::DialogDriver&, afxui::headless::ModalScript&)> step)
{
    CPropertySheet sheet("Options");
    sheet.AddPage(&page);
    afxui::headless::ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet),
                  [&](afxui::headless::DialogDriver& d, CDialog&) { step(d, script); });
    return sheet.DoModal();
}

} // namespace framira_test

// Shows a page in a modal sheet as the program does and lets a test act on
// it as a user would.
#pragma once

#include <functional>

#include <gtest/gtest.h>

#include "framework/framira.h"
#include "platform/ui/headless/afxui_headless.h"

namespace framira_test
{

// Runs a sheet holding page; step drives it and ends it. Message boxes and
// file dialogs that step expects go into the script it is given.
inline INT_PTR
RunPage(CPropertyPage& page,
        std::function<void(afxui::headless::DialogDriver&, afxui::headless::ModalScript&)> step)
{
    CPropertySheet sheet("Options");
    sheet.AddPage(&page);
    afxui::headless::ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet),
                  [&](afxui::headless::DialogDriver& d, CDialog&) { step(d, script); });
    return sheet.DoModal();
}

// A user's click at the centre of entry i's cell of the colour-scale page.
inline void ClickEntry(KorPPColorScale& page, int i)
{
    const CRect cell = page.CellRect(i % 16, i / 16);
    const CPoint centre((cell.left + cell.right) / 2 + KorPPColorScale::kPictureLeft,
                        (cell.top + cell.bottom) / 2 + KorPPColorScale::kPictureTop);
    page.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
}

} // namespace framira_test

// Shows a page in a modal sheet as the program does and lets a test act on
// it as a user would.
#pragma once

#include <functional>

#include <gtest/gtest.h>

#include "framework/framira.h"
#include "glstyle/tincora.h"
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

// The shared colour table as two ramps (nodes 0, 128, 255) at alpha 0.8.
inline void SetTwoRamps()
{
    for (int i = 0; i < 257; ++i) {
        dColorIndex[i][0] = i / 256.0;
        dColorIndex[i][1] = 0.3;
        dColorIndex[i][2] = 1.0 - i / 256.0;
        dColorIndex[i][3] = 0.8;
    }
    for (bool& node : IsNode)
        node = false;
    IsNode[0] = IsNode[128] = IsNode[255] = true;
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

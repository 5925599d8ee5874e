// A layout check of registered templates by the headless font metrics
// (every character 4 dialog units wide, 8 high): each control lies inside
// its dialog, visible controls do not overlap (a group box may hold
// controls that lie wholly inside it), and texts fit their rectangles.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/core/afxui.h"

namespace pavesta_test
{

// The faults found in template nID, one line each (empty: none). A
// template that is not registered is a fault.
std::vector<std::string> LayoutFaults(UINT nID);

} // namespace pavesta_test

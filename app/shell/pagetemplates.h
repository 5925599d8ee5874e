// The templates of the program's own input pages and dialogs: element
// settings, constrained-mesh settings, boundary conditions, edge load and
// node geometry.
#pragma once

#include "platform/ui/core/afxui.h"

namespace brantel
{
void AddPageTemplates(CResourceModule& m);
} // namespace brantel

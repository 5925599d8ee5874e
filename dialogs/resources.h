// The library's one resource module "pavesta": each file of templates adds
// its resources through one of these functions, which the module calls at
// static initialisation.
#pragma once

#include "platform/ui/core/afxui.h"

namespace pavesta
{

void AddMaterialResources(CResourceModule& m);
void AddMeshPageResources(CResourceModule& m);
void AddListRegionResources(CResourceModule& m);
void AddSmallDialogResources(CResourceModule& m);
void AddEigenPageResources(CResourceModule& m);
void AddNodePageResources(CResourceModule& m);
void AddBeamPageResources(CResourceModule& m);
void AddCrossSectionResources(CResourceModule& m);
// The element pictures, drawn from resources/art/elements/ at build time.
void AddElementPictures(CResourceModule& m);

} // namespace pavesta

// Anchors the library so that it exists before its classes do, and
// registers its one resource module.
#include "dialogs/pavesta.h"

#include "dialogs/resources.h"

namespace
{

const CResourceModule s_resources("pavesta", CResourceModule::library, [](CResourceModule& m) {
    pavesta::AddMaterialResources(m);
    pavesta::AddMeshPageResources(m);
    pavesta::AddListRegionResources(m);
    pavesta::AddSmallDialogResources(m);
    pavesta::AddEigenPageResources(m);
    pavesta::AddNodePageResources(m);
    pavesta::AddBeamPageResources(m);
    pavesta::AddCrossSectionResources(m);
    pavesta::AddElementPictures(m);
});

} // namespace

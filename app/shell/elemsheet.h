// CElementSheet: the "Element and mesh control" sheet of a plate document:
// the element page, the storage page, the mesh page and the smoothing page,
// filled from the document's plate component. The sheet owns its pages.
#pragma once

#include <memory>

#include "app/shell/elemctrl.h"
#include "dialogs/pavesta.h"

class CBrantelDoc;
class CPlateComp;

class CElementSheet : public CPropertySheet
{
public:
    CElementSheet(CBrantelDoc& doc, CPlateComp& comp);

    std::unique_ptr<CDlgElemCtrl> m_pElement;
    std::unique_ptr<CPPStiffStorage> m_pStorage;
    std::unique_ptr<VokPPMeshGenSett> m_pMesh;
    std::unique_ptr<VokPPSmoothinSett> m_pSmoothing;

    // What the mesh page was given.
    int m_iDefaultSubdivisions = 0;
    int m_iOpenedControlType = 0;
    int m_iOpenedSubdivisions = 0;
    // The mesh page's "suppress warnings" box: the negation of the
    // region model's warning switch.
    bool m_bSuppressWarnings = false;
};

// The element-type code of an element-page mode and choice.
int ElementCodeOfChoice(int mode, int choice);
// The element page's choice of a code (0 for an unknown code).
int ElementChoiceOfCode(int code);
